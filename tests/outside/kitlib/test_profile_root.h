// A profile root of the test's own below HKCU\Software\GlimoraTest, removed afterwards:
// the profile functions never touch the user's real settings while it is set.
#pragma once
#include <profileroot.h>

#include <string>

class TestProfileRoot : public testsupport::ScopedProfileRoot {
 public:
  TestProfileRoot() : ScopedProfileRoot("kitlib") {}

  // The value of GLIMORA_PROFILE_ROOT ("Software\GlimoraTest\kitlib-<pid>-<n>").
  const std::string& vendor() const { return key(); }
  std::string program() const { return vendor() + "\\Marlo5"; }
  std::string common() const { return vendor() + "\\VxCommon"; }
};
