// The folder pane's sections: one title button and tree per plug-in, their layout, the
// splitter between two open trees, hiding and showing, and the state kept in the profile.
#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>

#include <vector>

#include "FView_Folder.h"
#include "FolderLayoutRules.h"
#include "ImageCheckButton.h"
#include "PluginTreeCtrl.h"
#include "ui/ResourceDialog.h"

namespace {

const char kFolderInfo[] = "VxFolder\\FolderInfo";
const UINT kFirstButtonId = 3000;
const UINT kResetHeights = 1855;

// Entries with a tree window, in the manager's order.
std::vector<CTreePluginEntry*> TreeEntries(CTreePluginManager& m, bool enabledOnly) {
  std::vector<CTreePluginEntry*> v;
  for (int i = 0; i < m.GetEntryCount(); ++i) {
    CTreePluginEntry* p = m.GetEntry(i);
    if (!p->m_pTreeWnd || !p->m_pTreeWnd->GetSafeHwnd()) continue;
    if (enabledOnly && !p->m_pTreeWnd->IsWindowEnabled()) continue;
    v.push_back(p);
  }
  return v;
}

}  // namespace

void CFView_Folder::CreateSections() {
  CResourceSwitcher res;
  CString strFace = LoadResourceText(IDS_UI_FONT_FACE);
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lf.lfCharSet = lf.lfCharSet == 0 || lf.lfCharSet == 128 ? lf.lfCharSet : 0;
  lf.lfHeight = 12;
  lf.lfWidth = 0;
  lf.lfWeight = FW_BOLD;
  lstrcpynA(lf.lfFaceName, strFace, LF_FACESIZE);
  m_titleFont.CreateFontIndirect(&lf);

  m_manager.CreateTreeWindows(this);
  ReadTreeState();
  int k = 0;
  for (CTreePluginEntry* p : TreeEntries(m_manager, false)) {
    int nKind = m_manager.GetKind(p);
    CImageCheckButton* pButton = new CImageCheckButton;
    CString strTitle = m_manager.GetTitle(p, nKind);
    if (!pButton->Create(strTitle, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_LEFT | BS_NOTIFY | BS_FLAT,
                         CRect(0, 0, 0, 0), this, kFirstButtonId + k)) {
      delete pButton;
      continue;
    }
    pButton->SetPluginEntry(&m_manager, p, k);
    pButton->SetFont(&m_titleFont);
    UINT nBase = m_manager.IsActive(p) ? IDB_TITLE_ACTIVE : IDB_TITLE_INACTIVE;
    pButton->LoadBitmaps(nBase, nBase + 1, nBase - 1, nBase - 2);
    CString strTip = m_manager.GetToolTips(p, nKind);
    if (!strTip.IsEmpty()) pButton->SetToolTipText(strTip);
    if (!m_manager.IsShown(p)) {
      pButton->EnableWindow(FALSE);
      pButton->ShowWindow(SW_HIDE);
      p->m_pTreeWnd->EnableWindow(FALSE);
      p->m_pTreeWnd->ShowWindow(SW_HIDE);
    }
    m_buttons.Add(pButton);
    ++k;
  }
  SetButtonImages();
}

void CFView_Folder::ReadTreeState() {
  std::vector<CTreePluginEntry*> trees = TreeEntries(m_manager, true);
  m_strCurrentTitle = CMGetProfileString(kFolderInfo, "CurrentTree");
  if (m_strCurrentTitle.IsEmpty() && !trees.empty())
    m_strCurrentTitle = m_manager.GetTitle(trees[0], m_manager.GetKind(trees[0]));
  bool anyActive = false;
  m_nCurrentTree = 0;
  for (size_t i = 0; i < trees.size(); ++i) {
    CTreePluginEntry* p = trees[i];
    CString strTitle = m_manager.GetTitle(p, m_manager.GetKind(p));
    int nValue = CMGetProfileInt(kFolderInfo, strTitle, i == 0 ? 3 : 2);
    m_manager.SetActive(p, (nValue & 1) && !anyActive);
    anyActive = anyActive || (nValue & 1);
    m_manager.SetShown(p, (nValue & 2) != 0);
    if (strTitle == m_strCurrentTitle) m_nCurrentTree = (int)i + 1;
  }
  if (!anyActive && !trees.empty()) {
    m_manager.SetActive(trees[0], TRUE);
    m_manager.SetShown(trees[0], TRUE);
  }
}

void CFView_Folder::SaveTreeState() {
  CString strCard = LoadResourceText(IDS_TREE_TITLE_CARD), strDisk = LoadResourceText(IDS_TREE_TITLE_DISK);
  // A memory card may be gone at the next start: the disk tree stands in for its tree.
  bool cardCurrent = !strCard.IsEmpty() && m_strCurrentTitle == strCard;
  CMWriteProfileString(kFolderInfo, "CurrentTree", cardCurrent ? strDisk : m_strCurrentTitle);
  for (CTreePluginEntry* p : TreeEntries(m_manager, false)) {
    CString strTitle = m_manager.GetTitle(p, m_manager.GetKind(p));
    if (strTitle.IsEmpty()) continue;
    int nValue = (m_manager.IsActive(p) ? 1 : 0) | (m_manager.IsShown(p) ? 2 : 0);
    if (cardCurrent && strTitle == strCard) nValue = 2;
    if (cardCurrent && strTitle == strDisk) nValue = 3;
    CMWriteProfileInt(kFolderInfo, strTitle, nValue);
  }
}

void CFView_Folder::DestroySections() {
  for (int i = 0; i < m_manager.GetEntryCount(); ++i) m_manager.DeleteTree(m_manager.GetEntry(i), NULL);
  SaveTreeState();
  for (INT_PTR i = 0; i < m_buttons.GetSize(); ++i) {
    if (m_buttons[i]->GetSafeHwnd()) m_buttons[i]->DestroyWindow();
    delete m_buttons[i];
  }
  m_buttons.RemoveAll();
}

void CFView_Folder::DropButtonOf(CTreePluginEntry* pEntry) {
  for (INT_PTR i = 0; i < m_buttons.GetSize(); ++i) {
    if (m_buttons[i]->GetEntry() != pEntry) continue;
    if (m_buttons[i]->GetSafeHwnd()) m_buttons[i]->DestroyWindow();
    delete m_buttons[i];
    m_buttons.RemoveAt(i);
    break;
  }
  if (m_bInitialised) Relayout();
}

void CFView_Folder::SetButtonImages() {
  for (INT_PTR i = 0; i < m_buttons.GetSize(); ++i) {
    CImageCheckButton* b = m_buttons[i];
    CTreePluginEntry* p = b->GetEntry();
    bool active = m_manager.IsActive(p) != FALSE;
    bool current = p && p->m_pTreeWnd && p->m_pTreeWnd->m_hWnd == m_hCurrentTree && m_hCurrentTree;
    if (!current && m_strCurrentTitle.GetLength())
      current = m_manager.GetTitle(p, m_manager.GetKind(p)) == m_strCurrentTitle;
    UINT nBase = active ? IDB_TITLE_ACTIVE : IDB_TITLE_INACTIVE;
    b->SetStateBitmap(current ? nBase + 1 : nBase, current);
  }
}

void CFView_Folder::Relayout() {
  CRect rc;
  GetClientRect(&rc);
  std::vector<CTreePluginEntry*> trees = TreeEntries(m_manager, true);
  std::vector<folderlayout::Section> sections;
  for (CTreePluginEntry* p : trees) sections.push_back({m_manager.IsActive(p) != FALSE, m_manager.GetTreeHeight(p)});
  std::vector<folderlayout::Placed> placed = folderlayout::Layout(rc.Height(), sections);
  int width = rc.Width();
  for (size_t i = 0; i < trees.size(); ++i) {
    CTreePluginEntry* p = trees[i];
    const folderlayout::Placed& s = placed[i];
    for (INT_PTR b = 0; b < m_buttons.GetSize(); ++b)
      if (m_buttons[b]->GetEntry() == p) m_buttons[b]->MoveWindow(1, s.top, std::max(0, width - 2), 17);
    if (s.treeHeight > 0) {
      p->m_pTreeWnd->MoveWindow(1, s.top + 18, std::max(0, width - 2), std::max(0, s.treeHeight));
      p->m_pTreeWnd->ShowWindow(SW_SHOWNA);
    } else {
      p->m_pTreeWnd->ShowWindow(SW_HIDE);
    }
    m_manager.SetSectionRect(p, 1, s.top, width - 1, s.bottom);
  }
  Invalidate(FALSE);
}

void CFView_Folder::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  if (m_bInitialised) Relayout();
}

BOOL CFView_Folder::ToggleTree(int nTree, BOOL bQuiet) {
  std::vector<CTreePluginEntry*> trees = TreeEntries(m_manager, false);
  if (nTree < 0 || nTree >= (int)trees.size()) return FALSE;
  CTreePluginEntry* p = trees[nTree];
  CImageCheckButton* pButton = NULL;
  for (INT_PTR b = 0; b < m_buttons.GetSize(); ++b)
    if (m_buttons[b]->GetEntry() == p) pButton = m_buttons[b];
  if (m_manager.IsShown(p)) {
    int nTrees = 0, nActive = 0;
    m_manager.CountEntries(&nTrees, &nActive);
    if (m_manager.IsActive(p) && nActive <= 1) {
      if (!bQuiet)
        ::MessageBoxA(m_hWnd, LoadResourceText(IDS_TREE_HIDE_LAST), CMTLGetAppName(), MB_OK | MB_ICONEXCLAMATION);
      return FALSE;
    }
    m_manager.SetShown(p, FALSE);
    p->m_pTreeWnd->EnableWindow(FALSE);
    p->m_pTreeWnd->ShowWindow(SW_HIDE);
    if (pButton) {
      pButton->EnableWindow(FALSE);
      pButton->ShowWindow(SW_HIDE);
    }
    if (p->m_pTreeWnd->m_hWnd == m_hCurrentTree) {
      for (CTreePluginEntry* q : TreeEntries(m_manager, true))
        if (m_manager.IsShown(q) && m_manager.IsActive(q)) {
          q->m_pTreeWnd->SetFocus();
          break;
        }
    }
  } else {
    m_manager.SetShown(p, TRUE);
    if (m_manager.IsActive(p)) m_manager.SetCurrent(p, this);
    if (p->m_pTreeWnd) {
      p->m_pTreeWnd->EnableWindow(TRUE);
      p->m_pTreeWnd->ShowWindow(SW_SHOWNA);
    }
    if (pButton) {
      pButton->EnableWindow(TRUE);
      pButton->ShowWindow(SW_SHOWNA);
    }
  }
  Relayout();
  return TRUE;
}

void CFView_Folder::OnParentNotify(UINT message, LPARAM lParam) {
  UINT code = LOWORD(message);
  if (code == kResetHeights) {
    for (int i = 0; i < m_manager.GetEntryCount(); ++i) m_manager.SetTreeHeight(m_manager.GetEntry(i), -1);
    Relayout();
    return;
  }
  if (code != TITLEBUTTON_NOTIFY_CHOSEN) {
    CFormView::OnParentNotify(message, lParam);
    return;
  }
  CTreePluginEntry* pEntry = reinterpret_cast<CTreePluginEntry*>(lParam);
  if (m_manager.IndexOf(pEntry) < 0) return;
  if (m_manager.GetTitle(pEntry, m_manager.GetKind(pEntry)) == LoadResourceText(IDS_TREE_TITLE_CARD))
    CMWriteProfileInt("VazODA\\FolderInfo", "OptDiscFlush", 1);
  if (m_manager.IsActive(pEntry)) {
    for (int i = 0; i < m_manager.GetEntryCount(); ++i)
      if (m_manager.GetEntry(i) != pEntry) m_manager.SetActive(m_manager.GetEntry(i), FALSE);
    m_strCurrentTitle = m_manager.GetTitle(pEntry, m_manager.GetKind(pEntry));
    if (pEntry->m_pTreeWnd) m_hCurrentTree = pEntry->m_pTreeWnd->m_hWnd;
  }
  SetButtonImages();
  Relayout();
}

// ---- The splitter between two open trees ------------------------------------------------------

BOOL CFView_Folder::SplitterAt(CPoint point, CTreePluginEntry** ppUpper, CTreePluginEntry** ppLower) const {
  std::vector<CTreePluginEntry*> trees = TreeEntries(const_cast<CTreePluginManager&>(m_manager), true);
  for (size_t i = 0; i < trees.size(); ++i) {
    CTreePluginEntry* p = trees[i];
    if (!m_manager.IsActive(p)) continue;
    CRect rc;
    p->m_pTreeWnd->GetWindowRect(&rc);
    ScreenToClient(&rc);
    CRect zone(rc.left, rc.bottom, rc.right, rc.bottom + 2);
    if (!zone.PtInRect(point)) continue;
    for (size_t j = i + 1; j < trees.size(); ++j) {
      if (!m_manager.IsActive(trees[j])) continue;
      *ppUpper = p;
      *ppLower = trees[j];
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CFView_Folder::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  CTreePluginEntry *pUpper, *pLower;
  if (pWnd == this && SplitterAt(pt, &pUpper, &pLower)) {
    ::SetCursor(::LoadCursor(NULL, IDC_SIZENS));
    return TRUE;
  }
  return CFormView::OnSetCursor(pWnd, nHitTest, message);
}

void CFView_Folder::DrawBand(int y) {
  CRect rc;
  GetClientRect(&rc);
  CClientDC dc(this);
  WORD pattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
  HBITMAP hbm = ::CreateBitmap(8, 8, 1, 1, pattern);
  HBRUSH hbr = ::CreatePatternBrush(hbm);
  HGDIOBJ old = ::SelectObject(dc.m_hDC, hbr);
  ::PatBlt(dc.m_hDC, 0, y, rc.Width(), 4, PATINVERT);
  ::SelectObject(dc.m_hDC, old);
  ::DeleteObject(hbr);
  ::DeleteObject(hbm);
}

void CFView_Folder::OnLButtonDown(UINT nFlags, CPoint point) {
  if (SplitterAt(point, &m_pDragUpper, &m_pDragLower)) {
    SetCapture();
    m_nDragLine = point.y;
    DrawBand(m_nDragLine);
    return;
  }
  CFormView::OnLButtonDown(nFlags, point);
}

BOOL CFView_Folder::DragHeightsAt(int y, int* pnUpper, int* pnLower) const {
  CRect up, low;
  m_pDragUpper->m_pTreeWnd->GetWindowRect(&up);
  m_pDragLower->m_pTreeWnd->GetWindowRect(&low);
  ScreenToClient(&up);
  ScreenToClient(&low);
  return folderlayout::DragHeights(up.top, low.bottom, low.top - up.bottom, y, pnUpper, pnLower);
}

void CFView_Folder::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_nDragLine >= 0 && m_pDragUpper && m_pDragLower) {
    int a, b;
    if (DragHeightsAt(point.y, &a, &b)) {
      DrawBand(m_nDragLine);
      m_nDragLine = point.y;
      DrawBand(m_nDragLine);
    }
    return;
  }
  CFormView::OnMouseMove(nFlags, point);
}

void CFView_Folder::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_nDragLine >= 0 && m_pDragUpper && m_pDragLower) {
    DrawBand(m_nDragLine);
    ReleaseCapture();
    int a, b;
    if (DragHeightsAt(m_nDragLine, &a, &b)) {
      m_manager.SetTreeHeight(m_pDragUpper, a);
      m_manager.SetTreeHeight(m_pDragLower, b);
    }
    m_nDragLine = -1;
    m_pDragUpper = m_pDragLower = NULL;
    Relayout();
    return;
  }
  CFormView::OnLButtonUp(nFlags, point);
}

int CFView_Folder::TreeNumberOf(HWND hTree, CTreePluginEntry** ppEntry) const {
  std::vector<CTreePluginEntry*> trees = TreeEntries(const_cast<CTreePluginManager&>(m_manager), false);
  for (size_t i = 0; i < trees.size(); ++i) {
    if (trees[i]->m_pTreeWnd->m_hWnd != hTree) continue;
    if (ppEntry) *ppEntry = trees[i];
    return (int)i + 1;
  }
  return 0;
}

HWND CFView_Folder::TreeWindowAt(int nTree) const {
  std::vector<CTreePluginEntry*> trees = TreeEntries(const_cast<CTreePluginManager&>(m_manager), false);
  return nTree >= 1 && nTree <= (int)trees.size() ? trees[nTree - 1]->m_pTreeWnd->m_hWnd : NULL;
}

CTreePluginEntry* CFView_Folder::EntryByTitle(LPCSTR lpszTitle) const {
  CTreePluginManager& m = const_cast<CTreePluginManager&>(m_manager);
  for (CTreePluginEntry* p : TreeEntries(m, false))
    if (m.GetTitle(p, m.GetKind(p)).CompareNoCase(lpszTitle) == 0) return p;
  return NULL;
}
