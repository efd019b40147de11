// The test programs' main under the framework's start-up.
#include "testmain.h"

#include <fw/fw.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "pump.h"

namespace testmain {
namespace {
struct Step {
  StartUp::BringUp bringUp;
  StartUp::TearDown tearDown;
};
// Filled while the program's globals are constructed, before main.
std::vector<Step>& Steps() {
  static std::vector<Step> steps;
  return steps;
}
}  // namespace

StartUp::StartUp(BringUp bringUp, TearDown tearDown) { Steps().push_back({bringUp, tearDown}); }

}  // namespace testmain

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The program's own application object, when it has one, was made before main.
  CWinApp* pPlainApp = AfxGetApp() ? nullptr : new CWinApp();
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  // The tests' pump treats messages as the program's loop does.
  testsupport::SetPreTranslate(&AfxPreTranslateMessage);
  std::vector<testmain::Step>& steps = testmain::Steps();
  size_t up = 0;
  for (; up < steps.size(); up++)
    if (!steps[up].bringUp()) break;
  // A step that fails ends the program before any test: said, or the run shows nothing.
  if (up < steps.size())
    fprintf(stderr, "testmain: start-up step %u of %u failed\n", (unsigned)up + 1, (unsigned)steps.size());
  int result = up == steps.size() ? RUN_ALL_TESTS() : 2;
  while (up-- > 0)
    if (steps[up].tearDown) steps[up].tearDown();
  AfxWinTerm();
  delete pPlainApp;
  return result;
}
