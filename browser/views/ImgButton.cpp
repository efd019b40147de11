// The image button: hover, check and radio, caption, tooltip, cursor and posted messages.
#include "ImgButton.h"

IMPLEMENT_DYNAMIC(CImgButton, CHoverButtonBase)

BEGIN_MESSAGE_MAP(CImgButton, CHoverButtonBase)
  ON_WM_CREATE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_TIMER()
  ON_WM_ENABLE()
  ON_MESSAGE(BM_SETCHECK, &CImgButton::OnBmSetCheck)
  ON_MESSAGE(BM_GETCHECK, &CImgButton::OnBmGetCheck)
END_MESSAGE_MAP()

CImgButton::~CImgButton() {}

CImgButton::CImgButton()
    : m_bAutoRepeat(FALSE),
      m_lParam(0),
      m_wParam(0),
      m_nMessage(0),
      m_hTarget(nullptr),
      m_bChecked(FALSE),
      m_bRadio(FALSE),
      m_bCheck(FALSE),
      m_szHoverOffset(0, 0),
      m_szPressedOffset(1, 1),
      m_rcText(0, 0, 0, 0),
      m_szMargins(0, 0),
      m_bDrawText(FALSE),
      m_crCaption(RGB(0, 0, 0)) {}

void CImgButton::SetDrawText(BOOL bDraw, CSize margins, CSize pressedOffset, CSize hoverOffset) {
  m_bDrawText = bDraw;
  m_szMargins = margins;
  m_rcText.SetRectEmpty();
  m_szPressedOffset = pressedOffset;
  m_szHoverOffset = hoverOffset;
}

void CImgButton::SetDrawText(BOOL bDraw, CRect rect, CSize pressedOffset, CSize hoverOffset) {
  m_bDrawText = bDraw;
  m_rcText = rect;
  m_szMargins = CSize(0, 0);
  m_szPressedOffset = pressedOffset;
  m_szHoverOffset = hoverOffset;
}

void CImgButton::SetCheckButton(BOOL bCheck) {
  m_bCheck = bCheck;
  m_bRadio = FALSE;
  m_bChecked = FALSE;
}

void CImgButton::SetRadioButton(BOOL bRadio) {
  m_bRadio = bRadio;
  if (bRadio) m_bCheck = TRUE;
  m_bChecked = FALSE;
}

BOOL CImgButton::GetCheck() {
  if (m_bCheck || m_bRadio) return m_bChecked;
  return (BOOL)DefWindowProc(BM_GETCHECK, 0, 0);
}

void CImgButton::SetBtnMessage(HWND hTarget, UINT message, WPARAM wParam, LPARAM lParam) {
  m_hTarget = hTarget;
  m_nMessage = message;
  m_wParam = wParam;
  m_lParam = lParam;
}

void CImgButton::SetTimerPostMessage(BOOL bRepeat) {
  m_bAutoRepeat = bRepeat;
  if (!bRepeat) StopRepeat();
}

void CImgButton::StopRepeat() {
  if (GetSafeHwnd()) KillTimer(imgbutton::kRepeatTimer);
}

void CImgButton::ActivateTooltip(BOOL bActivate) {
  if (!m_tip.GetSafeHwnd()) return;
  CRect rc;
  GetClientRect(&rc);
  m_tip.SetToolRect(this, imgbutton::kToolId, &rc);
  m_tip.Activate(bActivate);
}

HICON CImgButton::SetCursor(HICON hCursor) {
  HCURSOR previous = m_hCursor;
  m_hCursor = (HCURSOR)hCursor;
  if (previous) return (HICON)previous;
  return GetSafeHwnd() ? (HICON)SendMessage(BM_GETIMAGE, IMAGE_CURSOR) : nullptr;
}

void CImgButton::PreSubclassWindow() {
  CHoverButtonBase::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

int CImgButton::OnCreate(LPCREATESTRUCT lpcs) {
  if (CHoverButtonBase::OnCreate(lpcs) == -1) return -1;
  CreateTip(TTS_ALWAYSTIP);
  return 0;
}

void CImgButton::OnLButtonDown(UINT nFlags, CPoint pt) {
  m_bPressed = TRUE;
  if (m_hCursor) m_hPrevCursor = ::SetCursor(m_hCursor);
  if (m_bRadio) {
    m_bChecked = TRUE;
    // The rest of the dialog group: the following group items until this button comes round.
    CWnd* pParent = GetParent();
    for (HWND h = pParent ? ::GetNextDlgGroupItem(pParent->m_hWnd, m_hWnd, FALSE) : nullptr; h && h != m_hWnd;
         h = ::GetNextDlgGroupItem(pParent->m_hWnd, h, FALSE))
      ::PostMessage(h, BM_SETCHECK, BST_UNCHECKED, 0);
  } else if (m_bCheck) {
    m_bChecked = !m_bChecked;
  } else if (m_bAutoRepeat) {
    SetTimer(imgbutton::kRepeatTimer, imgbutton::kRepeatMs, nullptr);
  }
  CHoverButtonBase::OnLButtonDown(nFlags, pt);
  Invalidate(FALSE);
}

void CImgButton::OnLButtonUp(UINT nFlags, CPoint pt) {
  if (m_hCursor) m_hPrevCursor = nullptr;
  StopRepeat();
  m_bPressed = FALSE;
  CHoverButtonBase::OnLButtonUp(nFlags, pt);
  Invalidate(FALSE);
  if (PointInButton(pt)) PostBtnMessage();
}

void CImgButton::PostBtnMessage() {
  if (m_hTarget && m_nMessage) ::PostMessage(m_hTarget, m_nMessage, m_wParam, m_lParam);
}

void CImgButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN) PostBtnMessage();
  CHoverButtonBase::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CImgButton::OnTimer(UINT_PTR id) {
  if (id != imgbutton::kRepeatTimer) {
    CHoverButtonBase::OnTimer(id);
    return;
  }
  if (!m_hTarget || !m_nMessage) return;
  CPoint pt;
  ::GetCursorPos(&pt);
  if (::WindowFromPoint(pt) != m_hWnd) return;
  // At most one repeat waits: none waiting posts one, more than one are cut to one.
  MSG msg;
  int waiting = 0;
  while (::PeekMessage(&msg, m_hTarget, m_nMessage, m_nMessage, PM_REMOVE)) waiting++;
  ::PostMessage(m_hTarget, m_nMessage, m_wParam, m_lParam);
  (void)waiting;
}

void CImgButton::OnEnable(BOOL bEnable) {
  if (!bEnable) StopRepeat();
  Default();
}

LRESULT CImgButton::OnBmSetCheck(WPARAM wParam, LPARAM) {
  bool before = m_bChecked != FALSE;
  m_bChecked = imgbutton::CheckAfter(wParam, before, m_bPressed != FALSE);
  if (before != (m_bChecked != FALSE) && GetSafeHwnd()) Invalidate(FALSE);
  return m_bChecked;
}

LRESULT CImgButton::OnBmGetCheck(WPARAM, LPARAM) { return m_bChecked; }

void CImgButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  bool enabled = IsWindowEnabled() != FALSE;
  DRAWITEMSTRUCT dis = *lpDIS;
  dis.itemState = imgbutton::DrawState(lpDIS->itemState, m_bTracking != FALSE, enabled, m_bPressed || m_bChecked);
  CHoverButtonBase::DrawItem(&dis);
  CString text;
  GetWindowText(text);
  if (!m_bDrawText || text.IsEmpty()) return;
  CRect rc = m_rcText;
  if (rc.IsRectEmpty()) {
    GetClientRect(&rc);
    rc.DeflateRect(m_szMargins.cx, m_szMargins.cy);
  }
  if (dis.itemState & ODS_SELECTED)
    rc.OffsetRect(m_szPressedOffset.cx, m_szPressedOffset.cy);
  else if (m_bTracking)
    rc.OffsetRect(m_szHoverOffset.cx, m_szHoverOffset.cy);
  HDC hdc = dis.hDC;
  HFONT hMade = nullptr, hOld = nullptr;
  if (HFONT hFont = (HFONT)SendMessage(WM_GETFONT)) {
    LOGFONTA lf = {};
    ::GetObjectA(hFont, sizeof(lf), &lf);
    LOGFONTA made = {};
    made.lfHeight = rc.Height();
    made.lfCharSet = lf.lfCharSet;
    lstrcpynA(made.lfFaceName, lf.lfFaceName, LF_FACESIZE);
    hMade = ::CreateFontIndirectA(&made);
    if (hMade) hOld = (HFONT)::SelectObject(hdc, hMade);
  }
  int oldMode = ::SetBkMode(hdc, TRANSPARENT);
  COLORREF oldColor = ::SetTextColor(hdc, m_crCaption);
  ::DrawTextA(hdc, text, -1, &rc, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SetTextColor(hdc, oldColor);
  ::SetBkMode(hdc, oldMode);
  if (hMade) {
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hMade);
  }
}
