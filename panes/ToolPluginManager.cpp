#include "ToolPluginManager.h"

#include "TreePluginManager.h"

namespace {
template <class Fn, class... Args>
HRESULT Invoke(FARPROC pfn, Args... args) {
  return treeplugin::CallExport<Fn>(pfn, nullptr, args...);
}
}  // namespace

CToolPluginManager::CToolPluginManager(LPCSTR lpszFolder) {
  CString strFolder = lpszFolder && *lpszFolder ? CString(lpszFolder) : treeplugin::ProgramFolder();
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA(strFolder + "\\*.psy", &fd);
  if (hFind != INVALID_HANDLE_VALUE) {
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      HMODULE hModule = treeplugin::LoadQuietly(strFolder + "\\" + fd.cFileName);
      if (!hModule) continue;
      CToolPluginEntry* p = new CToolPluginEntry;
      p->m_hModule = hModule;
      p->m_strPath = strFolder + "\\" + fd.cFileName;
      int n = 0;
      if (FARPROC pfn = ::GetProcAddress(hModule, "GetPriority")) Invoke<PFN_PLUGIN_GetPriority>(pfn, &n);
      p->m_nPriority = treeplugin::EffectivePriority(n, 1000);
      m_entries.Add(p);
    } while (::FindNextFileA(hFind, &fd));
    ::FindClose(hFind);
  }
  treeplugin::SortEntriesByPriority(m_entries);
}

CToolPluginManager::~CToolPluginManager() {
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    if (m_entries[i]->m_hModule) ::FreeLibrary(m_entries[i]->m_hModule);
    delete m_entries[i];
  }
}

FARPROC CToolPluginManager::Bind(const CToolPluginEntry* pEntry, LPCSTR lpszName, HRESULT* phr) const {
  if (!pEntry || !pEntry->m_hModule) {
    *phr = E_PLUGIN_NO_MODULE;
    return NULL;
  }
  FARPROC pfn = ::GetProcAddress(pEntry->m_hModule, lpszName);
  *phr = pfn ? S_OK : E_PLUGIN_NOT_SUPPORTED;
  return pfn;
}

CString CToolPluginManager::GetTitle(CToolPluginEntry* pEntry, int nKind, HRESULT* phr) {
  HRESULT hr;
  char sz[PLUGIN_TEXT_SIZE] = {};
  void* pExtra = NULL;
  if (FARPROC pfn = Bind(pEntry, "GetTitle", &hr))
    hr = Invoke<PFN_PLUGIN_GetTitle>(pfn, nKind, sz, (int)sizeof sz, &pExtra);
  if (phr) *phr = hr;
  return treeplugin::TakeTitle(sz, sizeof sz);
}

BOOL CToolPluginManager::HasOpenWindow(CToolPluginEntry* pEntry, HRESULT* phr) {
  HRESULT hr;
  BOOL b = Bind(pEntry, "OpenWindow", &hr) != NULL;
  if (phr) *phr = hr == E_PLUGIN_NO_MODULE ? hr : S_OK;
  return b;
}

HRESULT CToolPluginManager::OpenWindow(CToolPluginEntry* pEntry, int nMode, CWnd* pToolbar) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "OpenWindow", &hr))
    hr = Invoke<PFN_TOOL_OpenWindow>(pfn, nMode, pToolbar, (void*)NULL);
  return hr;
}

HRESULT CToolPluginManager::OpenDropWindow(CToolPluginEntry* pEntry, int nMode, CWnd* pToolbar, void* pFiles) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "OpenDropWindow", &hr))
    hr = Invoke<PFN_TOOL_OpenDropWindow>(pfn, nMode, pToolbar, pFiles);
  return hr;
}
