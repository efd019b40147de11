#include "TreePluginManager.h"

#include <Kitlib2/Kitlib2.h>
#include <VxBDCore.h>
#include <VxResourceIds.h>
#include <textkit/text.h>

#include "PluginTreeCtrl.h"
#include "ui/ChoiceDialogs.h"
#include "ui/ResourceDialog.h"

namespace treeplugin {

CString ProgramFolder() {
  char sz[MAX_PATH] = "";
  ::GetModuleFileNameA(NULL, sz, MAX_PATH);
  char* p = strrchr(sz, '\\');
  if (p) *p = 0;
  return sz;
}

void SortIndexesByPriority(const int* pPriorities, int nCount, int* pOrder) {
  for (int i = 0; i < nCount; ++i) pOrder[i] = i;
  for (int i = 0; i < nCount; ++i)
    for (int j = i + 1; j < nCount; ++j)
      if (pPriorities[pOrder[j]] < pPriorities[pOrder[i]]) std::swap(pOrder[i], pOrder[j]);
}

HMODULE LoadQuietly(LPCSTR lpszPath) {
  UINT uOld = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE hModule = ::LoadLibraryA(lpszPath);
  ::SetErrorMode(uOld);
  return hModule;
}

CString TakeTitle(const char* buffer, int size) {
  if (!buffer || size <= 0) return CString();
  size_t n = 0;
  while ((int)n < size && buffer[n]) ++n;
  n = textkit::WholeCharPrefix(buffer, n, PLUGIN_TEXT_SIZE - 1);
  return CString(buffer, (int)n);
}

}  // namespace treeplugin

namespace {

// Set when the last export called threw.
bool g_bThrew = false;

// Calls a bound export; an exception escaping the plug-in is a failure.
template <class Fn, class... Args>
HRESULT Invoke(FARPROC pfn, Args... args) {
  return treeplugin::CallExport<Fn>(pfn, &g_bThrew, args...);
}

const char kImportPlugin[] = "ImportPlugin";

}  // namespace

// ---- Loading ---------------------------------------------------------------------------------

CTreePluginManager::CTreePluginManager(LPCSTR lpszFolder)
    : m_strFolder(lpszFolder && *lpszFolder ? CString(lpszFolder) : treeplugin::ProgramFolder()) {
  LoadFolder(m_strFolder);
  // Sub-folders of "srplugins": each is the current directory while its plug-ins load,
  // so that libraries beside them resolve.
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA(m_strFolder + "\\srplugins\\*", &fd);
  if (hFind != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
      if (!strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, "..")) continue;
      char szSaved[MAX_PATH] = "";
      DWORD n = ::GetCurrentDirectoryA(MAX_PATH, szSaved);
      CString strSub = m_strFolder + "\\srplugins\\" + fd.cFileName;
      if (::SetCurrentDirectoryA(strSub)) {
        LoadFolder(strSub);
        if (n > 0 && n < MAX_PATH) ::SetCurrentDirectoryA(szSaved);
      }
    } while (::FindNextFileA(hFind, &fd));
    ::FindClose(hFind);
  }
  SortByPriority();
  FilterWindowOnly();
  WriteRegistryKeys();
}

CTreePluginManager::~CTreePluginManager() {
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) FreeEntry(m_entries[i]);
  m_entries.RemoveAll();
  if (m_pBDCore) m_pBDCore->Release();
}

void CTreePluginManager::LoadFolder(const CString& strFolder) {
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA(strFolder + "\\*.psp", &fd);
  if (hFind == INVALID_HANDLE_VALUE) return;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    LoadOne(strFolder + "\\" + fd.cFileName);
  } while (::FindNextFileA(hFind, &fd));
  ::FindClose(hFind);
}

void CTreePluginManager::LoadOne(const CString& strPath) {
  HMODULE hModule = treeplugin::LoadQuietly(strPath);
  if (!hModule) return;
  CTreePluginEntry* pEntry = new CTreePluginEntry;
  pEntry->m_hModule = hModule;
  pEntry->m_strPath = strPath;
  m_entries.Add(pEntry);
  pEntry->m_strTitle = GetPluginTitle(pEntry);
  pEntry->m_nPriority = GetPriority(pEntry);
  // The card plug-in gets the disc-movie core's integrator (the name test is case-sensitive).
  if (strPath.Find("CardTree.psp") >= 0 && HasExport(pEntry, "SetBDCoreIntegrator")) {
    if (!m_pBDCore) m_pBDCore = GetVxBDCoreObject();
    if (m_pBDCore) SetBDCoreIntegrator(pEntry, m_pBDCore->GetIntegrator());
  }
}

void CTreePluginManager::SortByPriority() { treeplugin::SortEntriesByPriority(m_entries); }

void CTreePluginManager::FilterWindowOnly() {
  for (INT_PTR i = m_entries.GetSize() - 1; i >= 0; --i) {
    CTreePluginEntry* p = m_entries[i];
    if (HasExport(p, "OpenWindow") && !HasExport(p, "CreateTree")) RemoveEntry(p);
  }
}

void CTreePluginManager::WriteRegistryKeys() {
  CString strKey = CMGetKeyPosition() + "\\" + kImportPlugin;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, strKey);
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    CTreePluginEntry* p = m_entries[i];
    CString strSection = CString(kImportPlugin) + "\\" + p->m_strTitle;
    CMWriteProfileString(strSection, "Display", GetTitle(p, GetKind(p)));
    CMWriteProfileInt(strSection, "ID", (int)i + 1);
  }
}

void CTreePluginManager::FreeEntry(CTreePluginEntry* pEntry) {
  if (pEntry->m_pTreeWnd) {
    if (pEntry->m_pTreeWnd->GetSafeHwnd()) pEntry->m_pTreeWnd->DestroyWindow();
    delete pEntry->m_pTreeWnd;
    pEntry->m_pTreeWnd = NULL;
  }
  if (pEntry->m_hModule && !pEntry->m_bKeepLoaded) ::FreeLibrary(pEntry->m_hModule);
  delete pEntry;
}

void CTreePluginManager::RemoveEntry(CTreePluginEntry* pEntry) {
  int i = IndexOf(pEntry);
  if (i < 0) return;
  m_entries.RemoveAt(i);
  FreeEntry(pEntry);
}

// ---- Entries ------------------------------------------------------------------------------

int CTreePluginManager::IndexOf(const CTreePluginEntry* pEntry) const {
  if (!pEntry) return -1;
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
    if (m_entries[i] == pEntry) return (int)i;
  return -1;
}

HRESULT CTreePluginManager::GetNextEntry(CTreePluginEntry** ppEntry) const {
  if (!ppEntry) return E_INVALIDARG;
  if (!*ppEntry) {
    *ppEntry = m_entries.GetSize() ? m_entries[0] : NULL;
    return S_OK;
  }
  int i = IndexOf(*ppEntry);
  *ppEntry = i >= 0 && i + 1 < m_entries.GetSize() ? m_entries[i + 1] : NULL;
  return S_OK;
}

HRESULT CTreePluginManager::GetTreeWnd(const CTreePluginEntry* pEntry, CWnd** ppTreeWnd) const {
  if (ppTreeWnd) *ppTreeWnd = NULL;
  if (!Contains(pEntry) || !pEntry->m_hModule) return E_PLUGIN_NO_MODULE;
  if (ppTreeWnd) *ppTreeWnd = pEntry->m_pTreeWnd;
  return S_OK;
}

BOOL CTreePluginManager::HasFlag(const CTreePluginEntry* pEntry, DWORD dwFlag) const {
  return Contains(pEntry) && pEntry->m_hModule && (pEntry->m_dwFlags & dwFlag) != 0;
}

BOOL CTreePluginManager::SetFlag(CTreePluginEntry* pEntry, DWORD dwFlag, BOOL bOn) {
  if (!Contains(pEntry) || !pEntry->m_hModule) return FALSE;
  BOOL bOld = (pEntry->m_dwFlags & dwFlag) != 0;
  pEntry->m_dwFlags = bOn ? (pEntry->m_dwFlags | dwFlag) : (pEntry->m_dwFlags & ~dwFlag);
  return bOld;
}

BOOL CTreePluginManager::IsTreeCreated(const CTreePluginEntry* pEntry) const {
  return Contains(pEntry) && pEntry->m_hModule && pEntry->m_bCreated;
}

void CTreePluginManager::CountEntries(int* pnTrees, int* pnActive) const {
  int nTrees = 0, nActive = 0;
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    const CTreePluginEntry* p = m_entries[i];
    if (!p->m_pTreeWnd || !::IsWindow(p->m_pTreeWnd->m_hWnd) || !::IsWindowEnabled(p->m_pTreeWnd->m_hWnd)) continue;
    ++nTrees;
    if (p->m_dwFlags & TREEPLUGIN_ACTIVE) ++nActive;
  }
  if (pnTrees) *pnTrees = nTrees;
  if (pnActive) *pnActive = nActive;
}

CRect CTreePluginManager::SetSectionRect(CTreePluginEntry* pEntry, int left, int top, int right, int bottom) {
  if (!Contains(pEntry) || !pEntry->m_hModule) return CRect(0, 0, 0, 0);
  CRect rcOld = pEntry->m_rcSection;
  pEntry->m_rcSection.SetRect(left, top, right, bottom);
  return rcOld;
}

void CTreePluginManager::MarkTreesReady() {
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
    if (m_entries[i]->m_pTreeWnd) m_entries[i]->m_pTreeWnd->SetReady(TRUE);
}

// ---- Tree windows ---------------------------------------------------------------------------

HRESULT CTreePluginManager::CreateTreeWindows(CWnd* pPane) {
  int nIndex = 0;
  for (INT_PTR i = 0; i < m_entries.GetSize();) {
    CTreePluginEntry* p = m_entries[i];
    if (FAILED(CreateTreeWindow(p, pPane, nIndex))) {
      RemoveEntry(p);
      continue;
    }
    ++nIndex;
    ++i;
  }
  return S_OK;
}

HRESULT CTreePluginManager::CreateTreeWindow(CTreePluginEntry* pEntry, CWnd* pPane, int nIndex) {
  if (!Contains(pEntry) || !pEntry->m_hModule) return E_PLUGIN_NO_MODULE;
  if (!HasExport(pEntry, "CreateTree")) return E_PLUGIN_NOT_SUPPORTED;
  BOOL bMulti = IsMultiSelectTreeItem(pEntry);
  BOOL bNotify = IsNotifyTree(pEntry);
  CPluginTreeCtrl* pTree = new CPluginTreeCtrl;
  if (!pTree->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pPane, 1000 + nIndex, bMulti, bNotify)) {
    delete pTree;
    return E_FAIL;
  }
  pEntry->m_pTreeWnd = pTree;
  pTree->SetPlugin(this, pEntry, nIndex);
  pTree->SetTextColor(RGB(255, 255, 255));
  pTree->SetBkColor(RGB(59, 79, 92));
  pTree->ModifyStyle(0, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS);
  HRESULT hr = CreateTree(pEntry, NULL, NULL, NULL);
  if (hr == E_PLUGIN_NOT_SUPPORTED) {
    pTree->DestroyWindow();
    delete pTree;
    pEntry->m_pTreeWnd = NULL;
    return E_PLUGIN_NOT_SUPPORTED;
  }
  return S_OK;
}

HRESULT CTreePluginManager::SetCurrent(CTreePluginEntry* pEntry, CWnd*) {
  if (!Contains(pEntry) || !pEntry->m_hModule) return E_PLUGIN_NO_MODULE;
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
    if (m_entries[i]->m_pTreeWnd) m_entries[i]->m_bNotCurrent = m_entries[i] != pEntry;
  pEntry->m_bNotCurrent = FALSE;
  if (pEntry->m_bCreated) return S_OK;
  CPluginTreeCtrl* pTree = pEntry->m_pTreeWnd;
  if (!pTree) return E_FAIL;
  HRESULT hr = CreateTree(pEntry, pTree, pTree->GetImageList(TVSIL_NORMAL), TVI_ROOT);
  if (hr == S_OK || hr == E_FAIL) {
    pEntry->m_bCreated = TRUE;
    return S_OK;
  }
  pTree->DestroyWindow();
  delete pTree;
  pEntry->m_pTreeWnd = NULL;
  return hr;
}

HRESULT CTreePluginManager::SetCurrentOne(CTreePluginEntry* pEntry, CWnd* pPane) {
  if (IsActive(pEntry) && FAILED(SetCurrent(pEntry, pPane))) {
    RemoveEntry(pEntry);
  } else if (Contains(pEntry) && !IsShown(pEntry) && pEntry->m_pTreeWnd && pEntry->m_pTreeWnd->GetSafeHwnd()) {
    pEntry->m_pTreeWnd->EnableWindow(FALSE);
    pEntry->m_pTreeWnd->ShowWindow(SW_HIDE);
  }
  return S_OK;
}

// ---- Refreshing -----------------------------------------------------------------------------

void CTreePluginManager::RenewalAll(CTreePluginEntry* pExcept) {
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    CTreePluginEntry* p = m_entries[i];
    if (!p->m_bCreated || p == pExcept) continue;
    if (p->m_bNotCurrent) {
      std::string name = (LPCSTR)p->m_strPath;
      name = name.substr(name.find_last_of('\\') == std::string::npos ? 0 : name.find_last_of('\\') + 1);
      if (textkit::EqualNoCase(name, "CardTree.psp")) continue;
    }
    RenewalTree(p, NULL);
  }
}

void CTreePluginManager::RefreshAllExcept(CTreePluginEntry* pExcept, BOOL bNotice) {
  CNoticeDlg* pNotice = NULL;
  if (bNotice) {
    CResourceSwitcher res;
    pNotice = new CNoticeDlg(AfxGetMainWnd());
    if (pNotice->Create(AfxGetMainWnd())) {
      CString strText;
      strText.LoadString(IDS_PANES_REFRESHING);
      pNotice->SetText(strText);
      pNotice->CenterWindow();
      pNotice->ShowWindow(SW_SHOWNA);
      pNotice->UpdateWindow();
    }
  }
  RenewalAll(pExcept);
  if (pNotice) {
    if (pNotice->m_hWnd) pNotice->DestroyWindow();
    delete pNotice;
  }
}

// ---- Export wrappers ------------------------------------------------------------------------

BOOL CTreePluginManager::HasExport(const CTreePluginEntry* pEntry, LPCSTR lpszName) const {
  return Contains(pEntry) && pEntry->m_hModule && ::GetProcAddress(pEntry->m_hModule, lpszName) != NULL;
}

FARPROC CTreePluginManager::Bind(const CTreePluginEntry* pEntry, LPCSTR lpszName, HRESULT* phr) const {
  g_bThrew = false;
  if (!Contains(pEntry) || !pEntry->m_hModule) {
    *phr = E_PLUGIN_NO_MODULE;
    return NULL;
  }
  FARPROC pfn = ::GetProcAddress(pEntry->m_hModule, lpszName);
  *phr = pfn ? S_OK : E_PLUGIN_NOT_SUPPORTED;
  return pfn;
}

CString CTreePluginManager::GetPluginTitle(CTreePluginEntry* pEntry, HRESULT* phr) {
  HRESULT hr;
  char sz[PLUGIN_TEXT_SIZE] = {};
  if (FARPROC pfn = Bind(pEntry, "GetPluginTitle", &hr))
    hr = Invoke<PFN_PLUGIN_GetPluginTitle>(pfn, sz, (int)sizeof sz);
  if (phr) *phr = hr;
  return g_bThrew ? CString() : treeplugin::TakeTitle(sz, sizeof sz);
}

int CTreePluginManager::GetPriority(CTreePluginEntry* pEntry) {
  HRESULT hr;
  int n = 0;
  if (FARPROC pfn = Bind(pEntry, "GetPriority", &hr))
    if (Invoke<PFN_PLUGIN_GetPriority>(pfn, &n) == E_FAIL && g_bThrew) n = 0;
  return treeplugin::EffectivePriority(n, 11);
}

HRESULT CTreePluginManager::SetBDCoreIntegrator(CTreePluginEntry* pEntry, void* pIntegrator) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "SetBDCoreIntegrator", &hr))
    hr = Invoke<PFN_PLUGIN_SetBDCoreIntegrator>(pfn, pIntegrator);
  return hr;
}

HRESULT CTreePluginManager::CreateTree(CTreePluginEntry* pEntry, CTreeCtrl* pTree, CImageList* pImages,
                                       HTREEITEM hParent) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "CreateTree", &hr)) {
    hr = Invoke<PFN_PLUGIN_CreateTree>(pfn, pTree, pImages, hParent);
    // A probe that throws is a plug-in that is not ready.
    if (g_bThrew && !pTree) hr = E_PLUGIN_NOT_SUPPORTED;
  }
  return hr;
}

HRESULT CTreePluginManager::DeleteTree(CTreePluginEntry* pEntry, HTREEITEM hItem) {
  HRESULT hr;
  FARPROC pfn = Bind(pEntry, "DeleteTree", &hr);
  if (!pfn) return hr;
  CTreeCtrl* pTree = pEntry->m_pTreeWnd;
  if (hItem) {
    hr = Invoke<PFN_PLUGIN_TreeItem>(pfn, pTree, hItem);
  } else if (pTree && pTree->GetSafeHwnd()) {
    hr = S_OK;
    for (HTREEITEM h = pTree->GetRootItem(); h;) {
      HTREEITEM hNext = pTree->GetNextSiblingItem(h);
      hr = Invoke<PFN_PLUGIN_TreeItem>(pfn, pTree, h);
      if (FAILED(hr)) pEntry->m_bKeepLoaded = TRUE;
      h = hNext;
    }
  }
  if (FAILED(hr)) pEntry->m_bKeepLoaded = TRUE;
  return hr;
}

HRESULT CTreePluginManager::RenewalTree(CTreePluginEntry* pEntry, HTREEITEM hItem) {
  if (!IsTreeCreated(pEntry)) return Contains(pEntry) && pEntry->m_hModule ? E_FAIL : E_PLUGIN_NO_MODULE;
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "RenewalTree", &hr)) hr = Invoke<PFN_PLUGIN_TreeItem>(pfn, pEntry->m_pTreeWnd, hItem);
  if (pEntry->m_pTreeWnd && pEntry->m_pTreeWnd->GetSafeHwnd()) pEntry->m_pTreeWnd->AfterRenewal();
  return hr;
}

HRESULT CTreePluginManager::CallTreeItem(CTreePluginEntry* pEntry, LPCSTR lpszExport, HTREEITEM hItem) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, lpszExport, &hr)) hr = Invoke<PFN_PLUGIN_TreeItem>(pfn, pEntry->m_pTreeWnd, hItem);
  return hr;
}

HRESULT CTreePluginManager::ExpandTree(CTreePluginEntry* pEntry, HTREEITEM hItem) {
  return CallTreeItem(pEntry, "ExpandTree", hItem);
}

HRESULT CTreePluginManager::SelectTreeItem(CTreePluginEntry* pEntry, HTREEITEM hItem) {
  return CallTreeItem(pEntry, "SelectTreeItem", hItem);
}

HRESULT CTreePluginManager::SelectText(CTreePluginEntry* pEntry, LPCSTR lpszExport, LPCSTR lpszText) {
  if (!Contains(pEntry) || !pEntry->m_hModule) return E_PLUGIN_NO_MODULE;
  if (!pEntry->m_bCreated) {
    m_strCurrentFolder = lpszText;
    return S_OK;
  }
  HRESULT hr;
  FARPROC pfn = Bind(pEntry, lpszExport, &hr);
  if (pfn) hr = Invoke<PFN_PLUGIN_SelectText>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd), CString(lpszText));
  if (!pfn || hr == 0) m_strCurrentFolder = lpszText;
  return hr;
}

HRESULT CTreePluginManager::SelectFolder(CTreePluginEntry* pEntry, LPCSTR lpszPath) {
  return SelectText(pEntry, "SelectFolder", lpszPath);
}

HRESULT CTreePluginManager::SelectQuery(CTreePluginEntry* pEntry, LPCSTR lpszQuery) {
  return SelectText(pEntry, "SelectQuery", lpszQuery);
}

HRESULT CTreePluginManager::SearchTreeItem(CTreePluginEntry* pEntry, LPCSTR lpszName, void* pContext) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "SearchTreeItem", &hr))
    hr = Invoke<PFN_PLUGIN_SearchTreeItem>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd), CString(lpszName),
                                           pContext);
  return hr;
}

#define TREEPLUGIN_PREDICATE(Name)                           \
  BOOL CTreePluginManager::Name(CTreePluginEntry* pEntry) {  \
    HRESULT hr;                                              \
    FARPROC pfn = Bind(pEntry, #Name, &hr);                  \
    return pfn && Invoke<PFN_PLUGIN_Predicate>(pfn) == S_OK; \
  }
TREEPLUGIN_PREDICATE(IsDoThread)
TREEPLUGIN_PREDICATE(IsMultiSelectTreeItem)
TREEPLUGIN_PREDICATE(IsNotifyTree)
TREEPLUGIN_PREDICATE(IsDragAndDrop)
#undef TREEPLUGIN_PREDICATE

HRESULT CTreePluginManager::IsRenameTreeItem(CTreePluginEntry* pEntry, HTREEITEM hItem) {
  return CallTreeItem(pEntry, "IsRenameTreeItem", hItem);
}

HRESULT CTreePluginManager::RenameTreeItem(CTreePluginEntry* pEntry, HTREEITEM hItem, LPCSTR lpszText) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "RenameTreeItem", &hr)) {
    CString strText = lpszText;  // the plug-in gets a buffer of its own
    hr = Invoke<PFN_PLUGIN_RenameTreeItem>(pfn, pEntry->m_pTreeWnd, hItem, strText.GetBuffer(0));
    strText.ReleaseBuffer();
  }
  return hr;
}

int CTreePluginManager::GetTreeHeight(CTreePluginEntry* pEntry) {
  HRESULT hr;
  int n = -1;
  if (FARPROC pfn = Bind(pEntry, "GetTreeHeight", &hr)) {
    if (FAILED(Invoke<PFN_PLUGIN_GetTreeHeight>(pfn, &n)) && n == -1) return -1;
  }
  return n < -1 ? -1 : n;  // a stored height below -1 means none
}

HRESULT CTreePluginManager::SetTreeHeight(CTreePluginEntry* pEntry, int nHeight) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "SetTreeHeight", &hr)) return Invoke<PFN_PLUGIN_SetTreeHeight>(pfn, nHeight);
  return 0;
}

BOOL CTreePluginManager::HasOpenWindow(CTreePluginEntry* pEntry, HRESULT* phr) {
  BOOL b = HasExport(pEntry, "OpenWindow");
  if (phr) *phr = Contains(pEntry) && pEntry->m_hModule ? S_OK : E_PLUGIN_NO_MODULE;
  return b;
}

HRESULT CTreePluginManager::GetNumOfType(CTreePluginEntry* pEntry, int* pnCount) {
  *pnCount = 1;
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "GetNumOfType", &hr)) hr = Invoke<PFN_PLUGIN_GetNumOfType>(pfn, pnCount);
  return hr;
}

int CTreePluginManager::GetKind(CTreePluginEntry* pEntry) {
  if (!HasOpenWindow(pEntry)) return 0;
  int n = 1;
  GetNumOfType(pEntry, &n);
  return n;
}

CString CTreePluginManager::GetTitle(CTreePluginEntry* pEntry, int nKind, HRESULT* phr) {
  HRESULT hr;
  char sz[PLUGIN_TEXT_SIZE] = {};
  void* pExtra = NULL;  // the plug-in may leave a pointer here (an icon); not ours to use
  if (FARPROC pfn = Bind(pEntry, "GetTitle", &hr))
    hr = Invoke<PFN_PLUGIN_GetTitle>(pfn, nKind, sz, (int)sizeof sz, &pExtra);
  if (phr) *phr = hr;
  return g_bThrew ? CString() : treeplugin::TakeTitle(sz, sizeof sz);
}

CString CTreePluginManager::GetToolTips(CTreePluginEntry* pEntry, int nKind, HRESULT* phr) {
  HRESULT hr;
  char sz[PLUGIN_TEXT_SIZE] = {};
  if (FARPROC pfn = Bind(pEntry, "GetToolTips", &hr))
    hr = Invoke<PFN_PLUGIN_GetToolTips>(pfn, nKind, sz, (int)sizeof sz);
  if (phr) *phr = hr;
  return g_bThrew ? CString() : treeplugin::TakeTitle(sz, sizeof sz);
}

int CTreePluginManager::GetFolderTypeNum(CTreePluginEntry* pEntry) {
  HRESULT hr;
  int n = -1;
  if (FARPROC pfn = Bind(pEntry, "GetFolderTypeNum", &hr))
    if (FAILED(Invoke<PFN_PLUGIN_GetFolderTypeNum>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd), &n)) && n == -1)
      return -1;
  return n;
}

HRESULT CTreePluginManager::IsFolderType(CTreePluginEntry* pEntry, int a, INT_PTR b) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "IsFolderType", &hr)) hr = Invoke<PFN_PLUGIN_IsFolderType>(pfn, a, b);
  return hr;
}

HRESULT CTreePluginManager::OpenWindow(CTreePluginEntry* pEntry, int nKind, CWnd* pCaller) {
  HRESULT hr;
  FARPROC pfn = Bind(pEntry, "OpenWindow", &hr);
  if (!pfn) return hr;
  char sz[PLUGIN_TEXT_SIZE] = {};
  lstrcpynA(sz, m_strCurrentFolder, sizeof sz);
  hr = Invoke<PFN_PLUGIN_OpenWindow>(pfn, nKind, pCaller, sz);
  m_strCurrentFolder = treeplugin::TakeTitle(sz, sizeof sz);
  return hr;
}

HRESULT CTreePluginManager::OpenSettingPanel(CTreePluginEntry* pEntry, CView* pPane) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "OpenSettingPanel", &hr)) hr = Invoke<PFN_PLUGIN_OpenSettingPanel>(pfn, 0, 0, pPane);
  return hr;
}

HRESULT CTreePluginManager::GetFolderMenu(CTreePluginEntry* pEntry, CMenu* pMenu) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "GetFolderMenu", &hr))
    hr = Invoke<PFN_PLUGIN_GetFolderMenu>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd), pMenu);
  return hr;
}

DWORD CTreePluginManager::FolderMenu(CTreePluginEntry* pEntry, int nCommand, HRESULT* phr) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "FolderMenu", &hr))
    hr = Invoke<PFN_PLUGIN_FolderMenu>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd), nCommand);
  if (phr) *phr = hr;
  // A missing export or module gives its code, not flags.
  return FAILED(hr) ? 0 : (DWORD)hr & PLUGIN_ACTION_ALL;
}

DWORD CTreePluginManager::ContextMenu(CTreePluginEntry* pEntry, int x, int y, HRESULT* phr) {
  HRESULT hr;
  int nFlags = 0;  // a plug-in that writes nothing asks for nothing
  if (FARPROC pfn = Bind(pEntry, "ContextMenu", &hr))
    hr = Invoke<PFN_PLUGIN_ContextMenu>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd), x, y, &nFlags);
  if (phr) *phr = hr;
  return (DWORD)nFlags & PLUGIN_ACTION_ALL;
}

HRESULT CTreePluginManager::DragOver(CTreePluginEntry* pEntry, COleDataObject* pData, DWORD dwKeyState, int x, int y,
                                     DWORD* pdwEffect, int* pnDragImage) {
  HRESULT hr;
  // *pdwEffect comes in as what the drag allows; the plug-in's answer stays within it.
  DWORD dwAllowed = pdwEffect ? *pdwEffect : 0;
  if (FARPROC pfn = Bind(pEntry, "DragOver", &hr))
    hr = Invoke<PFN_PLUGIN_DragOver>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd), pData, dwKeyState, x, y,
                                     pdwEffect, pnDragImage);
  if (pdwEffect) *pdwEffect = hr == S_OK ? (*pdwEffect & dwAllowed) : DROPEFFECT_NONE;
  return hr;
}

HRESULT CTreePluginManager::Drop(CTreePluginEntry* pEntry, HGLOBAL hFiles, DWORD dwEffect, int x, int y) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "Drop", &hr))
    hr = Invoke<PFN_PLUGIN_Drop>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd), hFiles, dwEffect, x, y);
  return hr;
}

HRESULT CTreePluginManager::DrawClipboard(CTreePluginEntry* pEntry) {
  HRESULT hr;
  if (FARPROC pfn = Bind(pEntry, "DrawClipboard", &hr))
    hr = Invoke<PFN_PLUGIN_TreeOnly>(pfn, static_cast<CTreeCtrl*>(pEntry->m_pTreeWnd));
  return hr;
}

void CTreePluginManager::ChangeSetting() {
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    HRESULT hr;
    if (FARPROC pfn = Bind(m_entries[i], "ChangeSetting", &hr))
      Invoke<PFN_PLUGIN_TreeOnly>(pfn, static_cast<CTreeCtrl*>(m_entries[i]->m_pTreeWnd));
  }
}
