// Makes the test resource library (fw_gdi_res.dll) the current resource handle for a scope.
#pragma once
#include <fw/fw.h>
#include <fw/module.h>

class ResourceScope {
 public:
  ResourceScope() : m_hRes(::LoadLibraryA("fw_gdi_res.dll")), m_hOld(AfxGetResourceHandle()) {
    if (m_hRes) AfxSetResourceHandle(m_hRes);
  }
  ~ResourceScope() {
    AfxSetResourceHandle(m_hOld);
    if (m_hRes) ::FreeLibrary(m_hRes);
  }
  HINSTANCE Handle() const { return m_hRes; }

 private:
  HINSTANCE m_hRes;
  HINSTANCE m_hOld;
};
