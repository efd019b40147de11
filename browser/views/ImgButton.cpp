// The image button: hover, check and radio, caption, tooltip, cursor and posted messages.
#include "ImgButton.h"

IMPLEMENT_DYNAMIC(CImgButton, CBitmapButton)

BEGIN_MESSAGE_MAP(CImgButton, CBitmapButton)
  ON_WM_CREATE()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEHOVER()
  ON_WM_MOUSELEAVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_SETCURSOR()
  ON_WM_TIMER()
  ON_WM_ENABLE()
  ON_MESSAGE(BM_SETCHECK, &CImgButton::OnBmSetCheck)
  ON_MESSAGE(BM_GETCHECK, &CImgButton::OnBmGetCheck)
END_MESSAGE_MAP()

CImgButton::CImgButton()
    : m_bAutoRepeat(FALSE),
      m_hPrevCursor(nullptr),
      m_hCursor(nullptr),
      m_lParam(0),
      m_wParam(0),
      m_nMessage(0),
      m_hTarget(nullptr),
      m_bPressed(FALSE),
      m_bChecked(FALSE),
      m_bRadio(FALSE),
      m_bCheck(FALSE),
      m_szHoverOffset(0, 0),
      m_szPressedOffset(1, 1),
      m_rcText(0, 0, 0, 0),
      m_szMargins(0, 0),
      m_bDrawText(FALSE),
      m_bTracking(FALSE),
      m_bHovering(FALSE) {}

CImgButton::~CImgButton() {
  if (m_tip.GetSafeHwnd()) m_tip.DestroyWindow();
}

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

void CImgButton::SetToolTipText(CString text, BOOL bActivate) {
  m_strTip = text;
  if (!m_tip.GetSafeHwnd()) return;
  m_tip.UpdateTipText(m_strTip, this, imgbutton::kToolId);
  m_tip.Activate(bActivate);
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
  CBitmapButton::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

BOOL CImgButton::PreTranslateMessage(MSG* pMsg) {
  if (m_tip.GetSafeHwnd()) m_tip.RelayEvent(pMsg);
  return CBitmapButton::PreTranslateMessage(pMsg);
}

int CImgButton::OnCreate(LPCREATESTRUCT lpcs) {
  if (CBitmapButton::OnCreate(lpcs) == -1) return -1;
  if (m_tip.Create(this, TTS_ALWAYSTIP)) {
    CRect rc;
    GetClientRect(&rc);
    CString text = m_strTip;
    if (text.IsEmpty()) GetWindowText(text);
    m_tip.AddTool(this, text, &rc, imgbutton::kToolId);
  }
  return 0;
}

bool CImgButton::PointInButton(CPoint pt) const {
  CRect rc;
  GetClientRect(&rc);
  return rc.PtInRect(pt) != FALSE;
}

void CImgButton::OnMouseMove(UINT nFlags, CPoint pt) {
  CBitmapButton::OnMouseMove(nFlags, pt);
  if (!PointInButton(pt)) {
    OnMouseLeave();
    return;
  }
  if (m_bTracking) return;
  TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE | TME_HOVER, m_hWnd, 1};
  ::TrackMouseEvent(&tme);
  m_bTracking = TRUE;
  Invalidate(FALSE);
}

void CImgButton::OnMouseHover(UINT, CPoint) {
  m_bHovering = TRUE;
  if (m_tip.GetSafeHwnd()) m_tip.Update();
  if ((::GetKeyState(VK_LBUTTON) & 0x8000) && !m_bPressed) {
    m_bPressed = TRUE;
    Invalidate(FALSE);
  }
}

void CImgButton::OnMouseLeave() {
  if (m_tip.GetSafeHwnd()) m_tip.Pop();
  if (m_hCursor && m_hPrevCursor) ::SetCursor(m_hPrevCursor);
  StopRepeat();
  if (m_bTracking) {
    m_bTracking = FALSE;
    m_bHovering = FALSE;
    m_bPressed = FALSE;
    Invalidate(FALSE);
  }
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
  CBitmapButton::OnLButtonDown(nFlags, pt);
  Invalidate(FALSE);
}

void CImgButton::OnLButtonUp(UINT nFlags, CPoint pt) {
  if (m_hCursor) m_hPrevCursor = nullptr;
  StopRepeat();
  m_bPressed = FALSE;
  CBitmapButton::OnLButtonUp(nFlags, pt);
  Invalidate(FALSE);
  if (PointInButton(pt)) PostBtnMessage();
}

void CImgButton::PostBtnMessage() {
  if (m_hTarget && m_nMessage) ::PostMessage(m_hTarget, m_nMessage, m_wParam, m_lParam);
}

void CImgButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN) PostBtnMessage();
  CBitmapButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CImgButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (!m_hCursor) return CBitmapButton::OnSetCursor(pWnd, nHitTest, message);
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  if (PointInButton(pt))
    ::SetCursor(m_hCursor);
  else if (m_hPrevCursor)
    ::SetCursor(m_hPrevCursor);
  return TRUE;
}

void CImgButton::OnTimer(UINT_PTR id) {
  if (id != imgbutton::kRepeatTimer) {
    CBitmapButton::OnTimer(id);
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
  CBitmapButton::DrawItem(&dis);
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
  ::DrawTextA(hdc, text, -1, &rc, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SetBkMode(hdc, oldMode);
  if (hMade) {
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hMade);
  }
}
