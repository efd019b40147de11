#include "shelltest.h"

namespace shelltest {

HINSTANCE ResourceDll() {
  static HINSTANCE h = ::LoadLibraryA("VxResource.dll");
  return h;
}

ResourceScope::ResourceScope() : m_hOld(AfxGetResourceHandle()) { AfxSetResourceHandle(ResourceDll()); }
ResourceScope::~ResourceScope() { AfxSetResourceHandle(m_hOld); }

}  // namespace shelltest
