// CPpcPluginManager: the host of the conversion plug-ins (".ppc") of the program folder,
// one entry per library in ascending priority. The toolbar lists their names and opens
// one on a file list; the plug-in hands back two result texts.
#pragma once
#include <fw/fw.h>

#include "ExportPluginApi.h"

class CPpcPluginEntry {
 public:
  CPpcPluginEntry() : m_hModule(NULL), m_nKind(0), m_nPriority(0), m_pWindow(NULL), m_pInfo(NULL) {}
  HMODULE m_hModule;
  CString m_strPath;
  CString m_strName;  // at most 260 bytes
  int m_nKind;
  int m_nPriority;
  CPpcWindowRecord* m_pWindow;
  CPpcInfoBlock* m_pInfo;  // owned
};

class CPpcPluginManager {
 public:
  // Loads the program folder's plug-ins at once (or those of lpszFolder).
  explicit CPpcPluginManager(LPCSTR lpszFolder = NULL);
  ~CPpcPluginManager();

  void Load(LPCSTR lpszFolder = NULL);
  void Unload();
  int GetCount() const { return (int)m_entries.GetSize(); }
  HMODULE GetModule(int i) const;
  CString GetName(int i) const;
  int GetKind(int i) const;
  // 0 for an index out of range; -1 without a window record, without OpenWindow or when
  // it fails; else the record's result (1: the result texts were taken).
  int OpenPpcPluginWindow(int i, void* pParam, void* pList);
  // TRUE only when both texts of the last run are non-empty.
  BOOL GetResultStrings(CString* pstr1, CString* pstr2) const;

 private:
  CTypedPtrArray<CPtrArray, CPpcPluginEntry*> m_entries;
  CString m_strResult1, m_strResult2;
};
