// One main for the test programs that run under the framework's start-up, on the
// program's main thread: GoogleTest, AfxWinInit, the program's own start-up steps, the
// tests, the steps' undoing in reverse order, AfxWinTerm. A program that defines no
// application object of its own gets a plain one. Link the library testmain
// (glimora_test(... FW_MAIN ...)).
#pragma once

namespace testmain {

// A start-up step of the program, declared at namespace scope in one of its sources:
//   static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });
// bringUp runs after AfxWinInit (false ends the program with exit code 2); tearDown runs
// after the tests.
class StartUp {
 public:
  typedef bool (*BringUp)();
  typedef void (*TearDown)();
  explicit StartUp(BringUp bringUp, TearDown tearDown = nullptr);
};

}  // namespace testmain
