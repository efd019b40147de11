#include "ExportPluginManager.h"

#include <Kitlib2/Kitlib2.h>

#include <vector>

#include "ExportRules.h"
#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"

namespace {
const char kSaveFileSection[] = "VxExport\\SaveFile";
const char kUpdateFileKey[] = "UpdateFile";
}  // namespace

CExportPluginManager::CExportPluginManager() {}
CExportPluginManager::~CExportPluginManager() { Unload(); }

const CExportPluginEntry* CExportPluginManager::GetEntry(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_entries.GetSize()) return NULL;
  return m_entries[nIndex];
}

FARPROC CExportPluginManager::Bind(int nIndex, LPCSTR lpszExport) const {
  const CExportPluginEntry* pEntry = GetEntry(nIndex);
  if (!pEntry || !pEntry->m_hModule) return NULL;
  return ::GetProcAddress(pEntry->m_hModule, lpszExport);
}

void CExportPluginManager::LoadLibraryEntries(const CString& strPath, CPtrArray* pFound) {
  HMODULE hModule = ::LoadLibraryExA(strPath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!hModule) return;
  PFN_EXPORT_GETINFO pfnInfo = (PFN_EXPORT_GETINFO)::GetProcAddress(hModule, "GetInfo");
  PFN_EXPORT_GETNUMOFTYPE pfnCount = (PFN_EXPORT_GETNUMOFTYPE)::GetProcAddress(hModule, "GetNumOfType");
  int nCount = 0;
  bool bCounted = false;
  if (pfnInfo && pfnCount) {
    try {
      bCounted = pfnCount(&nCount) >= 0;
    } catch (...) {
      bCounted = false;
    }
  }
  if (!bCounted || nCount <= 0) {
    ::FreeLibrary(hModule);
    return;
  }
  if (nCount > EXPORTPLUGIN_MAX_TYPES) nCount = EXPORTPLUGIN_MAX_TYPES;
  CExportPluginInfo info;
  memset(&info, 0, sizeof(info));
  CExportPluginEntry* pOwner = NULL;  // the first type that stayed frees the module
  for (int i = 0; i < nCount; ++i) {
    long lResult = E_FAIL;
    try {
      lResult = pfnInfo(i, &info);
    } catch (...) {
      lResult = E_FAIL;
    }
    if (lResult < 0) continue;
    CExportPluginEntry* pEntry = new CExportPluginEntry;
    pEntry->m_hModule = hModule;
    pEntry->m_strPath = strPath;
    pEntry->m_nType = i;
    pEntry->m_bFreesModule = pOwner == NULL;
    pEntry->m_nOrder = info.nOrder;
    if (!pOwner) pOwner = pEntry;
    pFound->Add(pEntry);
  }
  if (!pOwner) ::FreeLibrary(hModule);
}

long CExportPluginManager::Load(LPCSTR lpszFolder) {
  Unload();
  CString strFolder = lpszFolder ? CString(lpszFolder) : CMTLGetExeDir();
  if (strFolder.IsEmpty()) return E_FAIL;
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA(strFolder + "\\*.peu", &fd);
  if (hFind == INVALID_HANDLE_VALUE) return E_FAIL;
  CPtrArray found;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    LoadLibraryEntries(strFolder + "\\" + fd.cFileName, &found);
  } while (::FindNextFileA(hFind, &fd));
  ::FindClose(hFind);
  // All libraries' types together, ascending by order, the earlier one first on ties.
  std::vector<CExportPluginEntry*> sorted;
  for (int i = 0; i < found.GetSize(); ++i) {
    CExportPluginEntry* p = (CExportPluginEntry*)found[i];
    size_t at = sorted.size();
    while (at > 0 && sorted[at - 1]->m_nOrder > p->m_nOrder) --at;
    sorted.insert(sorted.begin() + at, p);
  }
  for (CExportPluginEntry* p : sorted) m_entries.Add(p);
  return 0;
}

long CExportPluginManager::Unload() {
  for (int i = 0; i < m_entries.GetSize(); ++i)
    if (m_entries[i]->m_bFreesModule && m_entries[i]->m_hModule) ::FreeLibrary(m_entries[i]->m_hModule);
  for (int i = 0; i < m_entries.GetSize(); ++i) delete m_entries[i];
  m_entries.RemoveAll();
  return 0;
}

long CExportPluginManager::GetCount(int* pnCount) const {
  if (!pnCount) return E_INVALIDARG;
  *pnCount = (int)m_entries.GetSize();
  return 0;
}

long CExportPluginManager::GetInfo(int nIndex, CExportPluginInfo* pInfo) const {
  if (!GetEntry(nIndex)) return E_FAIL;
  if (!pInfo) return E_INVALIDARG;
  PFN_EXPORT_GETINFO pfn = (PFN_EXPORT_GETINFO)Bind(nIndex, "GetInfo");
  if (!pfn) return EXPORTPLUGIN_E_NOT_SUPPORTED;
  memset(pInfo, 0, sizeof(*pInfo));
  long lResult;
  try {
    lResult = pfn(GetEntry(nIndex)->m_nType, pInfo);
  } catch (...) {
    lResult = E_FAIL;
  }
  // The texts are the plug-in's: keep them terminated whatever it wrote.
  pInfo->szName[EXPORTPLUGIN_TEXT_MAX - 1] = 0;
  pInfo->szDescription[EXPORTPLUGIN_TEXT_MAX - 1] = 0;
  return lResult;
}

long CExportPluginManager::GetFileMode(int nIndex, int* pnMode) const {
  if (!GetEntry(nIndex)) return E_FAIL;
  if (!pnMode) return E_INVALIDARG;
  PFN_EXPORT_GETFILEMODE pfn = (PFN_EXPORT_GETFILEMODE)Bind(nIndex, "GetFileMode");
  if (!pfn) return EXPORTPLUGIN_E_NOT_SUPPORTED;
  try {
    return pfn(GetEntry(nIndex)->m_nType, pnMode);
  } catch (...) {
    return E_FAIL;
  }
}

int CExportPluginManager::GetFilterType(int nIndex) const {
  PFN_EXPORT_GETFILTERTYPE pfn = (PFN_EXPORT_GETFILTERTYPE)Bind(nIndex, "GetFilterType");
  if (!pfn) return 1;
  try {
    return pfn(GetEntry(nIndex)->m_nType);
  } catch (...) {
    return 1;
  }
}

long CExportPluginManager::SetPrintMode(int nIndex, CPrintDialog* pSettings) const {
  if (!GetEntry(nIndex)) return E_FAIL;
  if (!pSettings) return E_INVALIDARG;
  PFN_EXPORT_SETPRINTMODE pfn = (PFN_EXPORT_SETPRINTMODE)Bind(nIndex, "SetPrintMode");
  if (!pfn) return EXPORTPLUGIN_E_NOT_SUPPORTED;
  try {
    return pfn(GetEntry(nIndex)->m_nType, pSettings);
  } catch (...) {
    return E_FAIL;
  }
}

long CExportPluginManager::SetCGBrowser(int nIndex, ICGBrowser* pBrowser) const {
  if (!GetEntry(nIndex)) return E_FAIL;
  PFN_EXPORT_SETCGBROWSER pfn = (PFN_EXPORT_SETCGBROWSER)Bind(nIndex, "SetCGBrowser");
  if (!pfn) return EXPORTPLUGIN_E_NOT_SUPPORTED;
  try {
    return pfn(GetEntry(nIndex)->m_nType, pBrowser);
  } catch (...) {
    return E_FAIL;
  }
}

long CExportPluginManager::OpenWindow(int nIndex, HWND hPane, HWND hMain, CGFileInfoList* pFiles, int nScope) const {
  if (!GetEntry(nIndex)) return E_FAIL;
  if (!hPane || !hMain) return E_INVALIDARG;
  PFN_EXPORT_OPENWINDOW pfn = (PFN_EXPORT_OPENWINDOW)Bind(nIndex, "OpenWindow");
  if (!pfn) return EXPORTPLUGIN_E_NOT_SUPPORTED;
  CMRemoveProfileKey(kSaveFileSection, kUpdateFileKey);
  long lResult;
  try {
    lResult = pfn(GetEntry(nIndex)->m_nType, hPane, hMain, pFiles, nScope);
  } catch (...) {
    lResult = E_FAIL;
  }
  ::PostMessageA(hMain, WM_EXPORT_FINISHED, (WPARAM)hPane, exportpane::EncodeExportFinished(nIndex, lResult >= 0));
  if (lResult >= 0) {
    CString strUpdated = CMGetProfileString(kSaveFileSection, kUpdateFileKey, "");
    if (!strUpdated.IsEmpty()) {
      CString strText;
      strText.Format("0|A|2|%s||", (LPCSTR)strUpdated);
      SendCopyDataText(hPane, hMain, CDID_UPDATE_FILES, strText);
    }
  }
  CMRemoveProfileKey(kSaveFileSection, kUpdateFileKey);
  CMRemoveProfileKey("VxExport", "MailModal");
  return lResult;
}

BOOL CExportPluginManager::SendCopyDataText(HWND hSender, HWND hTarget, DWORD dwCode, LPCSTR lpszText) {
  if (!hSender || !hTarget || !lpszText || !*lpszText) return FALSE;
  size_t nLength = strlen(lpszText);
  std::vector<char> buffer(exportpane::CopyDataSize(nLength), 0);
  memcpy(buffer.data(), lpszText, nLength);
  COPYDATASTRUCT cds;
  cds.dwData = dwCode;
  cds.cbData = (DWORD)buffer.size();
  cds.lpData = buffer.data();
  // The target may be another program's window: it gets the usual wait, no more.
  ::SendMessageTimeoutA(hTarget, WM_COPYDATA, (WPARAM)hSender, (LPARAM)&cds, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                        CMTL_COPYDATA_TIMEOUT, NULL);
  return TRUE;
}
