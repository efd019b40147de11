// The test resource library (fw_gdi_res.dll) for a scope: as the current resource handle
// (ResourceScope) or as an extension library in the resource chain (ChainScope).
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

class ChainScope {
 public:
  ChainScope() : m_hRes(::LoadLibraryA("fw_gdi_res.dll")) {
    if (m_hRes) m_pLink = new CDynLinkLibrary(m_hRes, m_hRes);
  }
  ~ChainScope() {
    delete m_pLink;
    if (m_hRes) ::FreeLibrary(m_hRes);
  }
  HINSTANCE Handle() const { return m_hRes; }

 private:
  HINSTANCE m_hRes;
  CDynLinkLibrary* m_pLink = nullptr;
};
