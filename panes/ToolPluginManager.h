// CToolPluginManager: the host of the tool plug-ins (".psy") of the program folder, which
// the toolbar pane opens. Exports are bound by name at every call, as for the tree
// plug-ins.
#pragma once
#include <fw/fw.h>

#include <FolderTreePlugin.h>

class CToolPluginEntry {
 public:
  CToolPluginEntry() : m_hModule(NULL), m_nPriority(1000) {}
  HMODULE m_hModule;
  CString m_strPath;
  CString m_strTitle;  // never filled
  int m_nPriority;
};

class CToolPluginManager {
 public:
  // Loads the ".psy" files of lpszFolder (default: the program folder; no sub-folders).
  explicit CToolPluginManager(LPCSTR lpszFolder = NULL);
  ~CToolPluginManager();

  int GetEntryCount() const { return (int)m_entries.GetSize(); }
  CToolPluginEntry* GetEntry(int nIndex) const {
    return nIndex >= 0 && nIndex < m_entries.GetSize() ? m_entries[nIndex] : NULL;
  }

  CString GetTitle(CToolPluginEntry* pEntry, int nKind, HRESULT* phr = NULL);
  BOOL HasOpenWindow(CToolPluginEntry* pEntry, HRESULT* phr = NULL);
  HRESULT OpenWindow(CToolPluginEntry* pEntry, int nMode, CWnd* pToolbar);
  HRESULT OpenDropWindow(CToolPluginEntry* pEntry, int nMode, CWnd* pToolbar, void* pFiles);

 private:
  FARPROC Bind(const CToolPluginEntry* pEntry, LPCSTR lpszName, HRESULT* phr) const;
  CTypedPtrArray<CPtrArray, CToolPluginEntry*> m_entries;
};
