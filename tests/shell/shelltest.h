// Helpers of the main program's tests: the resource library as the current resource
// handle, a profile root of the test's own (pumping and dialogs: uikit).
#pragma once
#include <fw/fw.h>

#include <string>

#include <profileroot.h>
#include <testkit.h>

namespace shelltest {

// VxResource.dll of the program folder, loaded once.
HINSTANCE ResourceDll();

// Makes the resource library the current resource handle for a scope.
class ResourceScope : public fwtest::ResourceHandleScope {
 public:
  ResourceScope() : fwtest::ResourceHandleScope(ResourceDll()) {}
};

// A profile root of the test's own (GLIMORA_PROFILE_ROOT), removed afterwards; programs
// started meanwhile inherit it.
class ProfileRoot : public testsupport::ScopedProfileRoot {
 public:
  ProfileRoot() : testsupport::ScopedProfileRoot("shell") {}
  const std::string& vendor() const { return key(); }
};

}  // namespace shelltest
