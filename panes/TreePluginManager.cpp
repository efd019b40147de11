#include "TreePluginManager.h"

CTreePluginManager::CTreePluginManager() {}

CTreePluginManager::~CTreePluginManager() {
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    if (m_entries[i]->m_hModule) ::FreeLibrary(m_entries[i]->m_hModule);
    delete m_entries[i];
  }
  m_entries.RemoveAll();
}

BOOL CTreePluginManager::Contains(const CTreePluginEntry* pEntry) const {
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
    if (m_entries[i] == pEntry) return TRUE;
  return FALSE;
}

void CTreePluginManager::CountEntries(int* pnVisible, int* pnActive) const {
  int nVisible = 0, nActive = 0;
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    const CTreePluginEntry* p = m_entries[i];
    if (!p->m_pTreeWnd || !::IsWindow(p->m_pTreeWnd->m_hWnd) || !::IsWindowEnabled(p->m_pTreeWnd->m_hWnd)) continue;
    ++nVisible;
    if (p->m_bActive) ++nActive;
  }
  if (pnVisible) *pnVisible = nVisible;
  if (pnActive) *pnActive = nActive;
}

BOOL CTreePluginManager::IsActive(const CTreePluginEntry* pEntry) const {
  return Contains(pEntry) && pEntry->m_hModule && pEntry->m_bActive;
}

BOOL CTreePluginManager::SetActive(CTreePluginEntry* pEntry, BOOL bActive) {
  if (!Contains(pEntry)) return FALSE;
  BOOL bOld = pEntry->m_bActive;
  pEntry->m_bActive = bActive;
  return bOld;
}

BOOL CTreePluginManager::IsTreeCreated(const CTreePluginEntry* pEntry) const {
  return Contains(pEntry) && pEntry->m_bCreated;
}

HRESULT CTreePluginManager::SetCurrent(CTreePluginEntry* pEntry, CWnd*) {
  if (!Contains(pEntry)) return E_INVALIDARG;
  if (!pEntry->m_hModule) return TREEPLUGIN_E_NO_MODULE;
  return TREEPLUGIN_E_NOT_READY;
}

HRESULT CTreePluginManager::GetNextEntry(CTreePluginEntry** ppEntry) const {
  if (!ppEntry) return E_INVALIDARG;
  if (!*ppEntry) {
    *ppEntry = m_entries.GetSize() ? m_entries[0] : NULL;
    return S_OK;
  }
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    if (m_entries[i] != *ppEntry) continue;
    *ppEntry = i + 1 < m_entries.GetSize() ? m_entries[i + 1] : NULL;
    return S_OK;
  }
  *ppEntry = NULL;
  return S_OK;
}

BOOL CTreePluginManager::IsFlag4(const CTreePluginEntry* pEntry) const {
  return Contains(pEntry) && pEntry->m_bEnabled;
}

HRESULT CTreePluginManager::GetTreeWnd(const CTreePluginEntry* pEntry, CWnd** ppTreeWnd) const {
  if (ppTreeWnd) *ppTreeWnd = NULL;
  if (!Contains(pEntry) || !pEntry->m_hModule) return TREEPLUGIN_E_NO_MODULE;
  if (ppTreeWnd) *ppTreeWnd = pEntry->m_pTreeWnd;
  return S_OK;
}
