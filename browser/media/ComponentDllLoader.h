// CComponentDllLoader: loads a component library that lies relative to the folder of a
// host module (by full path, never through the search path) and makes its objects with the
// library's export DllCreateInstance.
#pragma once
#include <windows.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CComponentDllLoader {
 public:
  // Unbound when the host module is not loaded or the name climbs above its folder's root.
  CComponentDllLoader(LPCSTR pszLibrary, LPCSTR pszHostModule);
  ~CComponentDllLoader();
  CComponentDllLoader(const CComponentDllLoader&) = delete;
  CComponentDllLoader& operator=(const CComponentDllLoader&) = delete;

  // 0x80070006 (invalid handle) when unbound.
  HRESULT CreateInstance(REFCLSID clsid, REFIID iid, void** ppv);
  HRESULT GetProc(FARPROC* ppProc, LPCSTR pszName);
  void Unload();
  HMODULE GetModule() const { return m_hModule; }

 private:
  HMODULE m_hModule;
  FARPROC m_pfnCreate;
};
