#include "profileroot.h"

#include <windows.h>

#include <atomic>

namespace testsupport {

ScopedProfileRoot::ScopedProfileRoot(const std::string& tag) {
  static std::atomic<int> counter{0};
  key_ = "Software\\GlimoraTest\\" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(++counter);
  // Process ids come round again: a killed program's root of the same name would otherwise
  // hand its settings on.
  RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, key_.c_str());
  SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", key_.c_str());
}

ScopedProfileRoot::~ScopedProfileRoot() {
  SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", nullptr);
  RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, key_.c_str());
}

}  // namespace testsupport
