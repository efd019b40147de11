// CExportPluginManager: the host of the export plug-ins (".peu") of the export pane. One
// entry per export type, sorted by the types' orders; every call of a plug-in goes
// through here, bound by name at the call, with a fixed answer for a missing export.
#pragma once
#include <fw/fw.h>

#include "ExportPluginApi.h"

// A missing export, or a plug-in that is not ready.
#define EXPORTPLUGIN_E_NOT_SUPPORTED ((long)0x80070032L)

// At most this many types of one library are asked for their information.
#define EXPORTPLUGIN_MAX_TYPES 30

class CExportPluginEntry {
 public:
  CExportPluginEntry() : m_hModule(NULL), m_nType(0), m_nReserved(0), m_bFreesModule(FALSE), m_nOrder(0) {}
  HMODULE m_hModule;
  CString m_strPath;
  int m_nType;  // type index within the module
  int m_nReserved;
  BOOL m_bFreesModule;  // the one entry of its module that frees it
  int m_nOrder;
};

class CExportPluginManager {
 public:
  CExportPluginManager();
  ~CExportPluginManager();

  // Loads every "*.peu" of the folder (the program folder when null). 0, or E_FAIL when
  // nothing matches.
  long Load(LPCSTR lpszFolder = NULL);
  long Unload();
  long GetCount(int* pnCount) const;
  int GetEntryCount() const { return (int)m_entries.GetSize(); }
  const CExportPluginEntry* GetEntry(int nIndex) const;

  long GetInfo(int nIndex, CExportPluginInfo* pInfo) const;
  long GetFileMode(int nIndex, int* pnMode) const;
  // The export's filter; 1 when the entry or the export is missing.
  int GetFilterType(int nIndex) const;
  long SetPrintMode(int nIndex, CPrintDialog* pSettings) const;
  long SetCGBrowser(int nIndex, ICGBrowser* pBrowser) const;
  // Runs the export; posts WM_EXPORT_FINISHED to the main window (bit 31 of lParam on
  // success) and asks the browser to re-read a file the plug-in stored as updated.
  // An exception out of the plug-in counts as its failure.
  long OpenWindow(int nIndex, HWND hPane, HWND hMain, CGFileInfoList* pFiles, int nScope) const;

  // Sends text as WM_COPYDATA with the code; FALSE when a window is null or the text empty.
  static BOOL SendCopyDataText(HWND hSender, HWND hTarget, DWORD dwCode, LPCSTR lpszText);

 private:
  FARPROC Bind(int nIndex, LPCSTR lpszExport) const;
  void LoadLibraryEntries(const CString& strPath, CPtrArray* pFound);
  CTypedPtrArray<CPtrArray, CExportPluginEntry*> m_entries;
};
