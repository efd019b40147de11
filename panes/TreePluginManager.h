// CTreePluginManager: the host of the folder-tree plug-ins (".psp") of the folder pane and
// the toolbar pane. It finds and loads the plug-ins, orders them by priority, keeps one
// entry per plug-in with its tree control and the pane's state of it, and wraps every
// export: each call looks the export up by name, answers the contract's value for a
// missing export or module, and turns an exception escaping the plug-in into a failure.
#pragma once
#include <fw/fw.h>

#include <FolderTreePlugin.h>

class CPluginTreeCtrl;
class IVxBDCoreObject;

// Entry flags.
#define TREEPLUGIN_ACTIVE 0x1  // its tree section is open
#define TREEPLUGIN_LOADED 0x2  // set at load, never cleared
#define TREEPLUGIN_SHOWN 0x4   // tree and title button visible

// One loaded plug-in.
class CTreePluginEntry {
 public:
  CTreePluginEntry()
      : m_hModule(NULL),
        m_pTreeWnd(NULL),
        m_bCreated(FALSE),
        m_bNotCurrent(FALSE),
        m_dwFlags(TREEPLUGIN_LOADED),
        m_nPriority(11),
        m_bKeepLoaded(FALSE) {}
  HMODULE m_hModule;
  CString m_strPath;
  CString m_strTitle;  // GetPluginTitle: the registry title
  CPluginTreeCtrl* m_pTreeWnd;
  BOOL m_bCreated;
  BOOL m_bNotCurrent;
  CRect m_rcSection;
  DWORD m_dwFlags;
  int m_nPriority;
  // DeleteTree failed: the plug-in may still run code (a worker thread), so its library
  // stays mapped for the rest of the run.
  BOOL m_bKeepLoaded;
  CString m_strImage;  // the plug-in's icon picture file; empty when it has none
};

class CTreePluginManager {
 public:
  // Loads the plug-ins of lpszFolder (default: the program folder) and its "srplugins"
  // sub-folders, sorts and filters them and writes the "ImportPlugin" keys.
  explicit CTreePluginManager(LPCSTR lpszFolder = NULL);
  ~CTreePluginManager();

  // ---- Entries
  HRESULT GetNextEntry(CTreePluginEntry** ppEntry) const;
  int GetEntryCount() const { return (int)m_entries.GetSize(); }
  CTreePluginEntry* GetEntry(int nIndex) const {
    return nIndex >= 0 && nIndex < m_entries.GetSize() ? m_entries[nIndex] : NULL;
  }
  int IndexOf(const CTreePluginEntry* pEntry) const;
  HRESULT GetTreeWnd(const CTreePluginEntry* pEntry, CWnd** ppTreeWnd) const;
  BOOL IsActive(const CTreePluginEntry* pEntry) const { return HasFlag(pEntry, TREEPLUGIN_ACTIVE); }
  BOOL SetActive(CTreePluginEntry* pEntry, BOOL bActive) { return SetFlag(pEntry, TREEPLUGIN_ACTIVE, bActive); }
  BOOL IsShown(const CTreePluginEntry* pEntry) const { return HasFlag(pEntry, TREEPLUGIN_SHOWN); }
  BOOL SetShown(CTreePluginEntry* pEntry, BOOL bShown) { return SetFlag(pEntry, TREEPLUGIN_SHOWN, bShown); }
  BOOL IsLoadedFlag(const CTreePluginEntry* pEntry) const { return HasFlag(pEntry, TREEPLUGIN_LOADED); }
  BOOL IsTreeCreated(const CTreePluginEntry* pEntry) const;
  // Entries whose tree window exists and is enabled, and how many of them are active.
  void CountEntries(int* pnTrees, int* pnActive) const;
  CRect SetSectionRect(CTreePluginEntry* pEntry, int left, int top, int right, int bottom);
  const CString& GetCurrentFolder() const { return m_strCurrentFolder; }
  void SetCurrentFolder(LPCSTR lpszFolder) { m_strCurrentFolder = lpszFolder; }
  const CString& GetQueryText() const { return m_strQueryText; }
  void SetQueryText(LPCSTR lpszText) { m_strQueryText = lpszText; }
  void MarkTreesReady();

  // ---- Tree windows
  HRESULT CreateTreeWindows(CWnd* pPane);
  HRESULT CreateTreeWindow(CTreePluginEntry* pEntry, CWnd* pPane, int nIndex);
  HRESULT SetCurrent(CTreePluginEntry* pEntry, CWnd* pPane);
  HRESULT SetCurrentOne(CTreePluginEntry* pEntry, CWnd* pPane);
  // Frees the entry's library (unless it must stay loaded), its tree and the entry.
  void RemoveEntry(CTreePluginEntry* pEntry);

  // ---- Refreshing
  void RenewalAll(CTreePluginEntry* pExcept);
  void Refresh(BOOL bNotice) { RefreshAllExcept(NULL, bNotice); }
  void RefreshAllExcept(CTreePluginEntry* pExcept, BOOL bNotice);

  // ---- Export wrappers (Part of the contract; the entry first)
  CString GetPluginTitle(CTreePluginEntry* pEntry, HRESULT* phr = NULL);
  int GetPriority(CTreePluginEntry* pEntry);
  HRESULT SetBDCoreIntegrator(CTreePluginEntry* pEntry, void* pIntegrator);
  HRESULT CreateTree(CTreePluginEntry* pEntry, CTreeCtrl* pTree, CImageList* pImages, HTREEITEM hParent);
  HRESULT DeleteTree(CTreePluginEntry* pEntry, HTREEITEM hItem);
  HRESULT RenewalTree(CTreePluginEntry* pEntry, HTREEITEM hItem);
  HRESULT ExpandTree(CTreePluginEntry* pEntry, HTREEITEM hItem);
  HRESULT SelectTreeItem(CTreePluginEntry* pEntry, HTREEITEM hItem);
  HRESULT SelectFolder(CTreePluginEntry* pEntry, LPCSTR lpszPath);
  HRESULT SelectQuery(CTreePluginEntry* pEntry, LPCSTR lpszQuery);
  HRESULT SearchTreeItem(CTreePluginEntry* pEntry, LPCSTR lpszName, void* pContext);
  BOOL IsDoThread(CTreePluginEntry* pEntry);
  BOOL IsMultiSelectTreeItem(CTreePluginEntry* pEntry);
  BOOL IsNotifyTree(CTreePluginEntry* pEntry);
  BOOL IsDragAndDrop(CTreePluginEntry* pEntry);
  HRESULT IsRenameTreeItem(CTreePluginEntry* pEntry, HTREEITEM hItem);
  HRESULT RenameTreeItem(CTreePluginEntry* pEntry, HTREEITEM hItem, LPCSTR lpszText);
  int GetTreeHeight(CTreePluginEntry* pEntry);
  HRESULT SetTreeHeight(CTreePluginEntry* pEntry, int nHeight);
  // The plug-in's type count: GetNumOfType for a plug-in with OpenWindow (1 without the
  // export), 0 for any other.
  int GetKind(CTreePluginEntry* pEntry);
  HRESULT GetNumOfType(CTreePluginEntry* pEntry, int* pnCount);
  BOOL HasOpenWindow(CTreePluginEntry* pEntry, HRESULT* phr = NULL);
  BOOL HasExport(const CTreePluginEntry* pEntry, LPCSTR lpszName) const;
  CString GetTitle(CTreePluginEntry* pEntry, int nKind, HRESULT* phr = NULL);
  CString GetToolTips(CTreePluginEntry* pEntry, int nKind, HRESULT* phr = NULL);
  int GetFolderTypeNum(CTreePluginEntry* pEntry);
  HRESULT IsFolderType(CTreePluginEntry* pEntry, int a, INT_PTR b);
  HRESULT OpenWindow(CTreePluginEntry* pEntry, int nKind, CWnd* pCaller);
  HRESULT OpenSettingPanel(CTreePluginEntry* pEntry, CView* pPane);
  HRESULT GetFolderMenu(CTreePluginEntry* pEntry, CMenu* pMenu);
  // The action flags; 0 when the call failed.
  DWORD FolderMenu(CTreePluginEntry* pEntry, int nCommand, HRESULT* phr = NULL);
  // The action flags the plug-in wrote (0 when it wrote none), unknown bits dropped.
  DWORD ContextMenu(CTreePluginEntry* pEntry, int x, int y, HRESULT* phr = NULL);
  HRESULT DragOver(CTreePluginEntry* pEntry, COleDataObject* pData, DWORD dwKeyState, int x, int y, DWORD* pdwEffect,
                   int* pnDragImage);
  HRESULT Drop(CTreePluginEntry* pEntry, HGLOBAL hFiles, DWORD dwEffect, int x, int y);
  HRESULT DrawClipboard(CTreePluginEntry* pEntry);
  void ChangeSetting();

  // The folder the plug-ins were looked for in.
  const CString& GetFolder() const { return m_strFolder; }
  // The disc-movie core object kept for the card plug-in; NULL until one was loaded.
  IVxBDCoreObject* GetBDCore() const { return m_pBDCore; }

 private:
  BOOL HasFlag(const CTreePluginEntry* pEntry, DWORD dwFlag) const;
  BOOL SetFlag(CTreePluginEntry* pEntry, DWORD dwFlag, BOOL bOn);
  BOOL Contains(const CTreePluginEntry* pEntry) const { return IndexOf(pEntry) >= 0; }
  FARPROC Bind(const CTreePluginEntry* pEntry, LPCSTR lpszName, HRESULT* phr) const;
  HRESULT SelectText(CTreePluginEntry* pEntry, LPCSTR lpszExport, LPCSTR lpszText);
  HRESULT CallTreeItem(CTreePluginEntry* pEntry, LPCSTR lpszExport, HTREEITEM hItem);
  void LoadFolder(const CString& strFolder);
  void LoadOne(const CString& strPath);
  void SortByPriority();
  void FilterWindowOnly();
  void WriteRegistryKeys();
  void FreeEntry(CTreePluginEntry* pEntry);

  CTypedPtrArray<CPtrArray, CTreePluginEntry*> m_entries;
  CString m_strCurrentFolder;
  CString m_strQueryText;
  CString m_strFolder;
  IVxBDCoreObject* m_pBDCore = NULL;  // released after the plug-ins that hold its integrator
};

namespace treeplugin {
// The program folder: the folder of the running executable.
CString ProgramFolder();
// Lower priority first; the exchange sort the hosts share, on any array of priorities.
void SortIndexesByPriority(const int* pPriorities, int nCount, int* pOrder);
// The entries (anything with m_nPriority) put in that order.
template <class Entry>
void SortEntriesByPriority(CTypedPtrArray<CPtrArray, Entry*>& entries) {
  int n = (int)entries.GetSize();
  CArray<int, int> priorities, order;
  priorities.SetSize(n);
  order.SetSize(n);
  for (int i = 0; i < n; ++i) priorities[i] = entries[i]->m_nPriority;
  if (n) SortIndexesByPriority(priorities.GetData(), n, order.GetData());
  CTypedPtrArray<CPtrArray, Entry*> sorted;
  for (int i = 0; i < n; ++i) sorted.Add(entries[order[i]]);
  entries.RemoveAll();
  entries.Append(sorted);
}
// Loads a plug-in library without any error box: a file that is no library, of another
// machine, failing its start or missing a dependency gives null.
HMODULE LoadQuietly(LPCSTR lpszPath);
// A title buffer's text: at most 259 bytes, never a cut double-byte character.
CString TakeTitle(const char* buffer, int size);
// A priority as the contract counts it: 0 (or unwritten) is nDefault.
inline int EffectivePriority(int nWritten, int nDefault) { return nWritten == 0 ? nDefault : nWritten; }
// Holds a reference on the library of a code address while it lives.
class ModulePin {
 public:
  explicit ModulePin(FARPROC pfn) {
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCSTR>(reinterpret_cast<ULONG_PTR>(pfn)), &m_hModule))
      m_hModule = NULL;
  }
  ~ModulePin() {
    if (m_hModule) ::FreeLibrary(m_hModule);
  }
  ModulePin(const ModulePin&) = delete;
  ModulePin& operator=(const ModulePin&) = delete;

 private:
  HMODULE m_hModule;
};
// Calls a bound export; an exception escaping the plug-in is answered E_FAIL and noted in
// *pbThrew when asked. The library stays loaded until the export has returned, even when
// what runs inside it (a dialog's loop) takes its entry away.
template <class Fn, class... Args>
HRESULT CallExport(FARPROC pfn, bool* pbThrew, Args... args) {
  if (pbThrew) *pbThrew = false;
  ModulePin pin(pfn);
  try {
    return reinterpret_cast<Fn>(pfn)(args...);
  } catch (...) {
    if (pbThrew) *pbThrew = true;
    return E_FAIL;
  }
}
}  // namespace treeplugin
