#include "test_profile_root.h"

#include "profile_core.h"

TestProfileRoot::TestProfileRoot() {
  static int counter = 0;
  vendor_ = "Software\\GlimoraTest\\kitlib-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", vendor_.c_str());
}

TestProfileRoot::~TestProfileRoot() {
  SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", nullptr);
  kitlib::RegDeleteKeyTree(HKEY_CURRENT_USER, vendor_);
  kitlib::RegDeleteKeyTree(HKEY_LOCAL_MACHINE, vendor_);
}
