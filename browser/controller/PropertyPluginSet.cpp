#include "PropertyPluginSet.h"

#include <vector>

#include "PropertyPluginRules.h"
#include "TransInternal.h"

typedef int(WINAPI* PFNGETPRIORITY)();
typedef BOOL(WINAPI* PFNISSUPPORTED)();
typedef void*(WINAPI* PFNCREATENEWPAGE)();
typedef void(WINAPI* PFNSETINFO)(void* pPage, DWORD_PTR dwValue);
typedef void(WINAPI* PFNSETTHUMINFO)(void* pPage, int a, int b, int c);

CPropertyPlugin::CPropertyPlugin(HMODULE hModule, LPCSTR pszPath)
    : m_hModule(hModule), m_strPath(pszPath), m_nPriority(0), m_pPage(NULL) {
  if (PFNGETPRIORITY pfn = reinterpret_cast<PFNGETPRIORITY>(Export("GetPriority"))) m_nPriority = pfn();
}

CPropertyPlugin::~CPropertyPlugin() {
  if (m_hModule) ::FreeLibrary(m_hModule);
}

void* CPropertyPlugin::CreatePage() {
  if (PFNCREATENEWPAGE pfn = reinterpret_cast<PFNCREATENEWPAGE>(Export("CreateNewPage"))) m_pPage = pfn();
  return m_hModule ? m_pPage : NULL;
}

void CPropertyPlugin::SetInfo(DWORD_PTR dwValue) {
  if (PFNSETINFO pfn = reinterpret_cast<PFNSETINFO>(Export("SetInfo"))) pfn(m_pPage, dwValue);
}

void CPropertyPlugin::SetThumInfo(int a, int b, int c) {
  if (PFNSETTHUMINFO pfn = reinterpret_cast<PFNSETTHUMINFO>(Export("SetThumInfo"))) pfn(m_pPage, a, b, c);
}

BOOL CPropertyPlugin::IsSupported() {
  PFNISSUPPORTED pfn = reinterpret_cast<PFNISSUPPORTED>(Export("IsSupported"));
  return pfn ? pfn() : FALSE;
}

LRESULT CPropertyPlugin::SendPageMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_hModule || !m_pPage) return -1;
  CWnd* pPage = static_cast<CWnd*>(m_pPage);
  if (pPage->GetSafeHwnd()) ::SendMessageA(pPage->GetSafeHwnd(), message, wParam, lParam);
  return 0;
}

CPropertyPluginSet::CPropertyPluginSet(LPCSTR pszFolder) {
  CString folder = pszFolder ? CString(pszFolder) : TransProgramFolder();
  std::vector<CPropertyPlugin*> found;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(folder + "\\*.prp", &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      // Loaded by full path only: never from the search path.
      CString path = folder + "\\" + fd.cFileName;
      HMODULE hModule = ::LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
      if (!hModule) continue;
      // A library with none of the page exports is no property page.
      BOOL bAny = FALSE;
      for (LPCSTR name : {"GetPriority", "IsSupported", "CreateNewPage", "SetInfo", "SetThumInfo"})
        bAny = bAny || ::GetProcAddress(hModule, name) != NULL;
      if (bAny)
        found.push_back(new CPropertyPlugin(hModule, path));
      else
        ::FreeLibrary(hModule);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  std::vector<int> priorities;
  for (CPropertyPlugin* p : found) priorities.push_back(p->m_nPriority);
  for (size_t i : PluginOrder(priorities)) m_plugins.AddTail(found[i]);
}

CPropertyPluginSet::~CPropertyPluginSet() {
  while (!m_plugins.IsEmpty()) delete m_plugins.RemoveHead();
}

CPropertyPlugin* CPropertyPluginSet::GetAt(int n) const {
  POSITION pos = n >= 0 ? m_plugins.FindIndex(n) : NULL;
  return pos ? m_plugins.GetAt(pos) : NULL;
}

CPropertyPlugin* CPropertyPluginSet::Find(CPropertyPlugin* pRecord) const {
  if (!pRecord) return m_plugins.IsEmpty() ? NULL : m_plugins.GetHead();
  return m_plugins.Find(pRecord) ? pRecord : NULL;
}

BOOL CPluginResourceScope::Save(HMODULE hModule) {
  if (!hModule) return FALSE;
  m_hKept = AfxGetResourceHandle();
  m_bKept = TRUE;
  return TRUE;
}

BOOL CPluginResourceScope::Restore() {
  if (!m_bKept) return FALSE;
  AfxSetResourceHandle(m_hKept);
  m_bKept = FALSE;
  return TRUE;
}
