// A profile root of the test's own: the profile functions never touch the user's real
// settings while it lives.
#pragma once
#include <string>

namespace testsupport {

// Sets GLIMORA_PROFILE_ROOT to "Software\GlimoraTest\<tag>-<pid>-<n>" (programs the test
// starts inherit it); at the end unsets it and removes that key from HKCU and HKLM.
class ScopedProfileRoot {
 public:
  explicit ScopedProfileRoot(const std::string& tag);
  ~ScopedProfileRoot();
  ScopedProfileRoot(const ScopedProfileRoot&) = delete;
  ScopedProfileRoot& operator=(const ScopedProfileRoot&) = delete;

  // The root key below HKCU / HKLM (the variable's value).
  const std::string& key() const { return key_; }

 private:
  std::string key_;
};

}  // namespace testsupport
