// A profile root of the test's own below HKCU\Software\GlimoraTest, removed afterwards:
// the profile functions never touch the user's real settings while it is set.
#pragma once
#include <windows.h>

#include <string>

class TestProfileRoot {
 public:
  TestProfileRoot();
  ~TestProfileRoot();
  TestProfileRoot(const TestProfileRoot&) = delete;
  TestProfileRoot& operator=(const TestProfileRoot&) = delete;

  // The value of GLIMORA_PROFILE_ROOT ("Software\GlimoraTest\kitlib-<pid>-<n>").
  const std::string& vendor() const { return vendor_; }
  std::string program() const { return vendor_ + "\\Marlo5"; }
  std::string common() const { return vendor_ + "\\VxCommon"; }

 private:
  std::string vendor_;
};
