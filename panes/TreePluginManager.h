// CTreePluginManager: the host of the folder-tree plug-ins (".psp") of the folder pane.
// Its entries are the loaded plug-ins with their tree windows; the manager keeps which
// entry is active (its tree open), which is current and whether a tree was created.
//
// Loading and driving the plug-ins is the folder pane's own work still to come: until
// then the manager holds no entries, and every question about an entry answers as for
// an entry without a module.
#pragma once
#include <fw/fw.h>

// One plug-in of the manager's list.
class CTreePluginEntry {
 public:
  CTreePluginEntry() : m_hModule(NULL), m_pTreeWnd(NULL), m_bActive(FALSE), m_bCreated(FALSE), m_bEnabled(FALSE) {}
  HMODULE m_hModule;
  CWnd* m_pTreeWnd;
  BOOL m_bActive;
  BOOL m_bCreated;
  BOOL m_bEnabled;
  CString m_strImage;  // the plug-in's icon picture file; empty when it has none
};

// Results of the plug-in contract.
#define TREEPLUGIN_E_NOT_READY ((HRESULT)0x80070032L)
#define TREEPLUGIN_E_NO_MODULE ((HRESULT)0x81000003L)

class CTreePluginManager {
 public:
  CTreePluginManager();
  ~CTreePluginManager();

  // Entries whose tree window exists and is enabled (*pnVisible) and how many of them
  // are active (*pnActive).
  void CountEntries(int* pnVisible, int* pnActive) const;
  BOOL IsActive(const CTreePluginEntry* pEntry) const;
  // Sets or clears the active mark; the old value.
  BOOL SetActive(CTreePluginEntry* pEntry, BOOL bActive);
  BOOL IsTreeCreated(const CTreePluginEntry* pEntry) const;
  // Makes the entry current: the others' trees are hidden, its tree created once.
  HRESULT SetCurrent(CTreePluginEntry* pEntry, CWnd* pTitleButton);
  // The next entry after *ppEntry (the first for null); null after the last or for an
  // entry that is not in the list.
  HRESULT GetNextEntry(CTreePluginEntry** ppEntry) const;
  BOOL IsFlag4(const CTreePluginEntry* pEntry) const;
  HRESULT GetTreeWnd(const CTreePluginEntry* pEntry, CWnd** ppTreeWnd) const;
  int GetEntryCount() const { return (int)m_entries.GetSize(); }

 private:
  BOOL Contains(const CTreePluginEntry* pEntry) const;
  CTypedPtrArray<CPtrArray, CTreePluginEntry*> m_entries;
};
