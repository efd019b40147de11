// Folder changes through the folder pane: a tree's request goes out to the main window
// framed with the tree's number and title; a change the browser reports selects its tree.
// Texts from other processes arrive here through the frame's relay: every read is
// bounded by the block's length, and a text that is no folder change is ignored.
#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>

#include <vector>

#include "FView_Folder.h"
#include "FolderTextRules.h"
#include "PluginTreeCtrl.h"

void CFView_Folder::ForwardChange(const std::string& text) {
  CWnd* pMain = AfxGetMainWnd();
  if (!pMain || !pMain->GetSafeHwnd() || pMain == this) return;
  std::vector<char> block = foldertext::PaddedBlock(text);
  COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)block.size(), block.data()};
  pMain->SendMessage(WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
}

BOOL CFView_Folder::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyData) {
  if (!pCopyData) return TRUE;
  if (CMGetProfileInt("VxExport", "ShowPreview", 0) == 1) return TRUE;
  HWND hSender = pWnd ? pWnd->GetSafeHwnd() : NULL;
  CTreePluginEntry* pEntry = NULL;
  int nTree = hSender == m_hWnd ? 1 : TreeNumberOf(hSender, &pEntry);
  if (hSender == m_hWnd && m_manager.GetEntryCount()) pEntry = m_manager.GetEntry(0);
  const char* data = static_cast<const char*>(pCopyData->lpData);
  size_t cb = pCopyData->lpData ? pCopyData->cbData : 0;
  if (nTree > 0 && pEntry) {
    // From one of our trees: the request, bounded by its block.
    m_nCurrentTree = nTree;
    m_strCurrentTitle = m_manager.GetTitle(pEntry, m_manager.GetKind(pEntry));
    if (pEntry->m_pTreeWnd) m_hCurrentTree = pEntry->m_pTreeWnd->m_hWnd;
    if (!cb || !memchr(data, 0, cb)) {
      m_manager.SetCurrentFolder("");
      return TRUE;
    }
    std::string request(data);
    if (request == (LPCSTR)m_manager.GetCurrentFolder()) return TRUE;  // the same folder again
    int nNumber = m_manager.IndexOf(pEntry) + 1;
    std::string text = foldertext::FrameChange(nNumber, (LPCSTR)m_strCurrentTitle, request);
    ForwardChange(text);
    m_manager.SetCurrentFolder(request.c_str());
    SetButtonImages();
    return TRUE;
  }
  if (pCopyData->dwData == CDID_CHANGE_FOLDER) {
    foldertext::ReceivedChange r = foldertext::ReadChange(data, cb);
    if (!r.ok) return TRUE;  // no folder change: ignored
    CTreePluginEntry* p = EntryByTitle(r.title.c_str());
    if (p) {
      m_manager.SelectFolder(p, r.payload.c_str());
      m_strCurrentTitle = r.title.c_str();
      if (p->m_pTreeWnd) m_hCurrentTree = p->m_pTreeWnd->m_hWnd;
    }
    SetButtonImages();
  }
  return TRUE;
}
