#include "RenameEdit.h"

#include <VxGUIDB.h>
#include <VxResourceIds.h>

#include <string>

#include <textkit/text.h>

#include "RenameEditRules.h"
#include "ThumbnailItem.h"
#include "VxGUIIconView.h"

BEGIN_MESSAGE_MAP(CRenameEdit, CEdit)
  ON_WM_CREATE()
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CRenameEdit::CRenameEdit()
    : m_dwTarget(DWORD(-1)), m_bCancelled(FALSE), m_prevByte(0), m_scroll(0, 0), m_pView(NULL), m_bClosing(FALSE), m_bLeadPending(FALSE), m_bEnded(FALSE) {
  LOGFONTA lf = {};
  if (::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf)) m_font.CreateFontIndirect(&lf);
}

CRenameEdit::~CRenameEdit() {
  // The view is going: nothing is committed.
  m_bCancelled = TRUE;
  Close();
}

BOOL CRenameEdit::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= WS_CHILD | WS_BORDER | ES_CENTER | ES_MULTILINE | ES_AUTOVSCROLL;
  return CEdit::PreCreateWindow(cs);
}

BOOL CRenameEdit::Begin(CThumbnailItem* pItem, CVxGUIIconView* pView) {
  CThumbnail* pThumb = pItem ? pItem->GetThumbnail() : NULL;
  if (!pThumb || !pView || !pView->GetSafeHwnd()) return FALSE;
  if (GetSafeHwnd()) {
    m_bCancelled = TRUE;
    Close();
  }
  const std::string path = (LPCSTR)pThumb->GetFilePath();
  m_strExt = pThumb->GetFileExt();
  std::string text = renameedit::InitialText((LPCSTR)pItem->GetDisplayName(), (LPCSTR)m_strExt);
  const std::string bare = renameedit::InitialText((LPCSTR)pThumb->GetFileName(), (LPCSTR)m_strExt);
  const int limit = renameedit::TextLimit(int(path.size()), int(bare.size()));
  if (limit <= 0) return FALSE;

  pItem->GetLabelRect(m_rcLabel);
  m_scroll = pView->GetScrollPositionRaw();
  m_pView = pView;
  if (!Create(WS_CHILD, CRect(0, 0, 10, 10), pView, IDC_RENAME_EDIT)) return FALSE;
  SetWindowText(text.c_str());
  SetSel(0, 65535);
  SendMessage(EM_SCROLLCARET);
  Resize();
  LimitText(limit);
  m_dwTarget = pItem->GetUniqueID(pView->GetItemIdSlot());
  m_bCancelled = FALSE;
  m_bEnded = FALSE;
  m_prevByte = 0;
  m_bLeadPending = FALSE;
  ShowWindow(SW_SHOW);
  return TRUE;
}

int CRenameEdit::OnCreate(LPCREATESTRUCT lpcs) {
  int r = CEdit::OnCreate(lpcs);
  if (r == -1) return r;
  if (m_font.GetSafeHandle()) SetFont(&m_font);
  SetFocus();
  return r;
}

void CRenameEdit::Resize() {
  if (!GetSafeHwnd() || !m_pView) return;
  CString text;
  GetWindowText(text);
  if (text.GetLength() < 2) text = "aa";
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(m_font.GetSafeHandle() ? &m_font : GetFont());
  CRect rc(0, 0, int(m_rcLabel.Width() * 0.9), 0);
  dc.DrawText(text, &rc, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  if (pOld) dc.SelectObject(pOld);
  rc.InflateRect(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
  const int left = m_rcLabel.left + (m_rcLabel.Width() - rc.Width()) / 2 - m_scroll.x;
  const int top = m_rcLabel.top - m_scroll.y;
  m_rcLast = CRect(left, top, left + rc.Width(), top + rc.Height());
  MoveWindow(&m_rcLast);
}

BOOL CRenameEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    const WPARAM k = pMsg->wParam;
    if (k == VK_RETURN || k == VK_BACK || k == VK_SPACE || k == VK_DELETE || k == VK_ESCAPE ||
        (::GetKeyState(VK_CONTROL) & 0x8000)) {
      // Dispatched here, so that the frame's accelerators do not take the key.
      ::TranslateMessage(pMsg);
      ::DispatchMessageA(pMsg);
      return TRUE;
    }
  }
  return CEdit::PreTranslateMessage(pMsg);
}

LRESULT CRenameEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEACTIVATE) return MA_ACTIVATE;
  return CEdit::WindowProc(message, wParam, lParam);
}

void CRenameEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
  if (nChar == VK_DELETE) Resize();
}

void CRenameEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN) {
    // Committed here rather than by the focus loss the closing brings: a box that never
    // had the focus would lose nothing.
    Commit();
    Close();
    return;
  }
  if (nChar == VK_ESCAPE) {
    m_bCancelled = TRUE;
    Commit();
    Close();
    return;
  }
  const BYTE prev = m_prevByte;
  m_prevByte = BYTE(nChar);
  CString before;
  GetWindowText(before);
  const BOOL bSecondByte = m_bLeadPending;
  m_bLeadPending = FALSE;
  if (!bSecondByte && nChar < 0x100 && textkit::IsLeadByte(BYTE(nChar))) {
    // A double-byte character arrives a byte at a time: the pair goes in whole.
    m_bLeadPending = TRUE;
    return;
  }
  if (renameedit::RefusesChar(prev, BYTE(nChar), before.IsEmpty())) return;
  int selStart = 0, selEnd = 0;
  GetSel(selStart, selEnd);
  if (bSecondByte) {
    const char pair[3] = {char(prev), char(nChar), '\0'};
    ReplaceSel(pair, TRUE);
  } else {
    CEdit::OnChar(nChar, nRepCnt, nFlags);
  }
  CString after;
  GetWindowText(after);
  if (renameedit::RefusesText((LPCSTR)after)) {
    SetWindowText(before);
    SetSel(selStart, selEnd);
    if (after == ".") {
      SetFocus();
      SetSel(0, -1);
      SendMessage(EM_SCROLLCARET);
    }
    return;
  }
  Resize();
}

void CRenameEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  Commit();
  Close();
}

void CRenameEdit::Commit() {
  if (m_bEnded || !m_pView || m_dwTarget == DWORD(-1)) return;
  // Once per edit: whatever follows is no second rename.
  m_bEnded = TRUE;
  CThumbnailItem* pItem = m_pView->FindItem(m_dwTarget);
  if (!pItem || !pItem->GetThumbnail()) return;
  CString text;
  GetWindowText(text);
  const std::string name = renameedit::CommitName((LPCSTR)text, (LPCSTR)m_strExt);
  NMLVDISPINFOA info = {};
  info.hdr.hwndFrom = m_pView->GetSafeHwnd();
  info.hdr.idFrom = VXICONVIEW_CTRL_ID;
  info.hdr.code = LVN_ENDLABELEDITA;
  info.item.mask = LVIF_TEXT | LVIF_PARAM;
  info.item.iItem = int(m_dwTarget);
  // A cancelled edit ends without a name, as a list view's does: the owner's edit state
  // ends, nothing is renamed.
  info.item.pszText = m_bCancelled ? NULL : const_cast<LPSTR>(name.c_str());
  info.item.lParam = reinterpret_cast<LPARAM>(pItem->GetThumbnail());
  m_pView->SendMessage(WM_NOTIFY, VXICONVIEW_CTRL_ID, reinterpret_cast<LPARAM>(&info));
}

void CRenameEdit::Close() {
  if (m_bClosing || !GetSafeHwnd()) return;
  m_bClosing = TRUE;
  DestroyWindow();
}

void CRenameEdit::OnNcDestroy() {
  if (m_pView && m_pView->GetSafeHwnd()) {
    CRect rc;
    rc.UnionRect(CRect(m_rcLabel.left - m_scroll.x, m_rcLabel.top - m_scroll.y, m_rcLabel.right - m_scroll.x,
                       m_rcLabel.bottom - m_scroll.y),
                 m_rcLast);
    rc.InflateRect(1, 1);
    m_pView->InvalidateRect(&rc, FALSE);
  }
  m_dwTarget = DWORD(-1);
  m_bClosing = FALSE;
  CEdit::OnNcDestroy();
}
