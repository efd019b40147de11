#include "shelltest.h"

namespace shelltest {

HINSTANCE ResourceDll() {
  static HINSTANCE h = ::LoadLibraryA("VxResource.dll");
  return h;
}

ResourceScope::ResourceScope() : m_hOld(AfxGetResourceHandle()) { AfxSetResourceHandle(ResourceDll()); }
ResourceScope::~ResourceScope() { AfxSetResourceHandle(m_hOld); }

ProfileRoot::ProfileRoot() {
  static int counter = 0;
  m_vendor = "Software\\GlimoraTest\\shell-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
  ::SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", m_vendor.c_str());
}

ProfileRoot::~ProfileRoot() {
  ::SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", NULL);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, m_vendor.c_str());
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_vendor.c_str());
}

}  // namespace shelltest
