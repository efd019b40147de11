// What the code under test writes to the debugger (OutputDebugString), caught in the test's
// own process: the text travels as the exception DBG_PRINTEXCEPTION_C, which a vectored
// handler sees (under Wine as on Windows) before it goes on to a debugger or nowhere.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class DebugOutputCatcher {
 public:
  DebugOutputCatcher();  // catches from now on; one at a time
  ~DebugOutputCatcher();
  DebugOutputCatcher(const DebugOutputCatcher&) = delete;
  DebugOutputCatcher& operator=(const DebugOutputCatcher&) = delete;
  // Each text as written (ANSI), in order, and what has come since the last Take.
  std::vector<std::string> Take();

 private:
  void* handler_;
};

}  // namespace testsupport
