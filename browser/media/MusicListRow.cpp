// The music list's row: the play and stop buttons in the title cell.
#include "MusicListRow.h"

#include <VxResourceIds.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CMusicListRow, CListRowCtrl)

BEGIN_MESSAGE_MAP(CMusicListRow, CListRowCtrl)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_BN_CLICKED(CMusicListRow::kPlayId, &CMusicListRow::OnPlay)
  ON_BN_CLICKED(CMusicListRow::kStopId, &CMusicListRow::OnStop)
END_MESSAGE_MAP()

CMusicListRow::CMusicListRow()
    : m_pOwnerView(nullptr), m_pCurrent(nullptr), m_rcButton({0, 0, 0, 0}), m_nButtonWidth(0), m_bPlaying(FALSE) {}

CMusicListRow::~CMusicListRow() {
  for (CImgButton* p : {&m_play, &m_stop})
    if (p->GetSafeHwnd()) p->DestroyWindow();
}

int CMusicListRow::OnCreate(LPCREATESTRUCT lpcs) {
  if (CListRowCtrl::OnCreate(lpcs) == -1) return -1;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_BITMAP | BS_CENTER | BS_VCENTER;
  struct {
    CImgButton* button;
    UINT id, normal, selected, focus, disabled;
  } buttons[] = {
      {&m_play, kPlayId, IDB_MUSIC_PLAY, IDB_MUSIC_PLAY_SELECTED, IDB_MUSIC_PLAY_FOCUS, IDB_MUSIC_PLAY_DISABLED},
      {&m_stop, kStopId, IDB_MUSIC_STOP, IDB_MUSIC_STOP_SELECTED, IDB_MUSIC_STOP_FOCUS, IDB_MUSIC_STOP_DISABLED},
  };
  for (auto& b : buttons) {
    if (!b.button->Create("", style, CRect(10, 10, 10, 10), this, b.id)) continue;
    b.button->SendMessage(BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    b.button->LoadBitmaps(b.normal, b.selected, b.focus, b.disabled);
    b.button->SizeToContent();
    b.button->ShowWindow(SW_HIDE);
  }
  CRect rc(0, 0, 0, 0);
  if (m_play.GetSafeHwnd()) m_play.GetClientRect(&rc);
  m_nButtonWidth = rc.Width();
  m_pCurrent = &m_play;
  return 0;
}

void CMusicListRow::OnDestroy() {
  for (CImgButton* p : {&m_play, &m_stop})
    if (p->GetSafeHwnd()) p->DestroyWindow();
  m_pCurrent = nullptr;
  CListRowCtrl::OnDestroy();
}

CSkinCtrlWnd* CMusicListRow::Clone(CWnd* pParent, UINT nID) {
  CMusicListRow* p = new CMusicListRow;
  CloneTo(p, pParent, nID);
  if (!p->GetSafeHwnd()) {
    delete p;
    return nullptr;
  }
  p->m_pOwnerView = m_pOwnerView;
  p->SetPlaying(m_bPlaying);
  p->m_nButtonWidth = m_nButtonWidth;
  return p;
}

void CMusicListRow::SetPlaying(BOOL bPlaying) {
  m_bPlaying = bPlaying;
  if (!GetSafeHwnd() || !m_pCurrent) return;
  CImgButton* pNew = bPlaying ? &m_stop : &m_play;
  if (pNew == m_pCurrent) return;
  CImgButton* pOld = m_pCurrent;
  m_pCurrent = pNew;
  // Shown only where a title cell placed it.
  if (pOld->IsWindowVisible()) {
    pNew->ShowWindow(SW_SHOW);
    pOld->ShowWindow(SW_HIDE);
    pNew->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  Invalidate(FALSE);
}

int CMusicListRow::DrawCellExtra(CDC*, int cell, int x, int) {
  if (cell < 0 || cell >= (int)m_cells.size() || m_cells[cell].columnId != 1 || !m_pCurrent) return 0;
  CRect rc;
  m_pCurrent->GetClientRect(&rc);
  m_rcButton = CRect(x - m_ptOrigin.x, 4, x + m_nButtonWidth - m_ptOrigin.x, 4 + rc.Height());
  for (CImgButton* p : {&m_play, &m_stop})
    p->MoveWindow(m_rcButton.left, m_rcButton.top, m_nButtonWidth, rc.Height(), TRUE);
  (m_pCurrent == &m_play ? m_stop : m_play).ShowWindow(SW_HIDE);
  m_pCurrent->ShowWindow(SW_SHOW);
  m_pCurrent->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return m_nButtonWidth + 3;
}

void CMusicListRow::OnPlay() {
  if (m_pOwnerView && m_pOwnerView->GetSafeHwnd())
    ::SendMessage(m_pOwnerView->GetSafeHwnd(), UWM_ROW_PLAY, (WPARAM)this, 0);
}

void CMusicListRow::OnStop() {
  if (m_pOwnerView && m_pOwnerView->GetSafeHwnd())
    ::SendMessage(m_pOwnerView->GetSafeHwnd(), UWM_ROW_STOP, (WPARAM)this, 0);
}
