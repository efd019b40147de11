#include "PpcPluginManager.h"

#include <Kitlib2/Kitlib2.h>

#include <vector>

namespace {
const int kTextMax = 260;
CString CutText(const CString& s) { return s.GetLength() < kTextMax ? s : s.Left(kTextMax - 1); }
}  // namespace

CPpcPluginManager::CPpcPluginManager(LPCSTR lpszFolder) { Load(lpszFolder); }
CPpcPluginManager::~CPpcPluginManager() { Unload(); }

void CPpcPluginManager::Load(LPCSTR lpszFolder) {
  Unload();
  CString strFolder = lpszFolder ? CString(lpszFolder) : CMTLGetExeDir();
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA(strFolder + "\\*.ppc", &fd);
  if (hFind == INVALID_HANDLE_VALUE) return;
  std::vector<CPpcPluginEntry*> found;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    CString strPath = strFolder + "\\" + fd.cFileName;
    HMODULE hModule = ::LoadLibraryExA(strPath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!hModule) continue;
    PFN_PPC_GETINFO pfn = (PFN_PPC_GETINFO)::GetProcAddress(hModule, "GetInfo");
    CPpcInfoBlock* pInfo = new CPpcInfoBlock;
    long lResult = -1;
    if (pfn) {
      try {
        lResult = pfn(pInfo);
      } catch (...) {
        lResult = -1;
      }
    }
    if (lResult != 0) {
      delete pInfo;
      ::FreeLibrary(hModule);
      continue;
    }
    CPpcPluginEntry* pEntry = new CPpcPluginEntry;
    pEntry->m_hModule = hModule;
    pEntry->m_strPath = CutText(strPath);
    pEntry->m_strName = CutText(pInfo->strName);
    pEntry->m_nKind = pInfo->nKind;
    pEntry->m_nPriority = pInfo->nPriority;
    pEntry->m_pWindow = pInfo->pWindow;
    pEntry->m_pInfo = pInfo;
    found.push_back(pEntry);
  } while (::FindNextFileA(hFind, &fd));
  ::FindClose(hFind);
  // Repeated choice of the smallest priority, the first found winning ties.
  while (!found.empty()) {
    size_t best = 0;
    for (size_t i = 1; i < found.size(); ++i)
      if (found[i]->m_nPriority < found[best]->m_nPriority) best = i;
    m_entries.Add(found[best]);
    found.erase(found.begin() + best);
  }
}

void CPpcPluginManager::Unload() {
  for (int i = 0; i < m_entries.GetSize(); ++i) {
    CPpcPluginEntry* p = m_entries[i];
    // The block's name text was set inside the plug-in: drop it while the library lives.
    delete p->m_pInfo;
    if (p->m_hModule) ::FreeLibrary(p->m_hModule);
    delete p;
  }
  m_entries.RemoveAll();
}

HMODULE CPpcPluginManager::GetModule(int i) const { return i >= 0 && i < GetCount() ? m_entries[i]->m_hModule : NULL; }
CString CPpcPluginManager::GetName(int i) const {
  return i >= 0 && i < GetCount() ? m_entries[i]->m_strName : CString();
}
int CPpcPluginManager::GetKind(int i) const { return i >= 0 && i < GetCount() ? m_entries[i]->m_nKind : 0; }

int CPpcPluginManager::OpenPpcPluginWindow(int i, void* pParam, void* pList) {
  if (i < 0 || i >= GetCount()) return 0;
  CPpcPluginEntry* p = m_entries[i];
  if (!p->m_pWindow) return -1;
  p->m_pWindow->pParam = pList;
  m_strResult1.Empty();
  m_strResult2.Empty();
  PFN_PPC_OPENWINDOW pfn = (PFN_PPC_OPENWINDOW)::GetProcAddress(p->m_hModule, "OpenWindow");
  if (!pfn) return -1;
  long lResult;
  try {
    lResult = pfn(pParam, p->m_pWindow);
  } catch (...) {
    lResult = -1;
  }
  if (lResult != 0) return -1;
  if (p->m_pWindow->nResult == 1) {
    m_strResult1 = p->m_pWindow->strResult1;
    m_strResult2 = p->m_pWindow->strResult2;
  }
  return p->m_pWindow->nResult;
}

BOOL CPpcPluginManager::GetResultStrings(CString* pstr1, CString* pstr2) const {
  if (pstr1) *pstr1 = m_strResult1;
  if (pstr2) *pstr2 = m_strResult2;
  return !m_strResult1.IsEmpty() && !m_strResult2.IsEmpty();
}
