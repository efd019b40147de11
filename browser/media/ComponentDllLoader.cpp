#include "ComponentDllLoader.h"

#include <SlidePlayer.h>

#include "SlideShowWndRules.h"

CComponentDllLoader::CComponentDllLoader(LPCSTR pszLibrary, LPCSTR pszHostModule)
    : m_hModule(NULL), m_pfnCreate(NULL) {
  HMODULE hHost = ::GetModuleHandleA(pszHostModule);
  char szHost[MAX_PATH] = {};
  if (!hHost || !pszLibrary) return;
  const DWORD n = ::GetModuleFileNameA(hHost, szHost, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  const std::string path = ComponentLibraryPath(szHost, pszLibrary);
  if (path.empty()) return;
  m_hModule = ::LoadLibraryExA(path.c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (m_hModule) m_pfnCreate = ::GetProcAddress(m_hModule, "DllCreateInstance");
}

CComponentDllLoader::~CComponentDllLoader() { Unload(); }

HRESULT CComponentDllLoader::CreateInstance(REFCLSID clsid, REFIID iid, void** ppv) {
  if (!m_pfnCreate) return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
  return reinterpret_cast<DllCreateInstanceFn>(m_pfnCreate)(clsid, iid, ppv);
}

HRESULT CComponentDllLoader::GetProc(FARPROC* ppProc, LPCSTR pszName) {
  if (!ppProc || !pszName) return E_POINTER;
  *ppProc = NULL;
  if (!m_hModule) return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
  *ppProc = ::GetProcAddress(m_hModule, pszName);
  if (*ppProc) return S_OK;
  const DWORD dw = ::GetLastError();
  return dw ? HRESULT_FROM_WIN32(dw) : E_FAIL;
}

void CComponentDllLoader::Unload() {
  if (m_hModule) ::FreeLibrary(m_hModule);
  m_hModule = NULL;
  m_pfnCreate = NULL;
}
