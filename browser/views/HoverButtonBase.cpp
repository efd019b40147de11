// The image buttons' shared hover, cursor and tooltip.
#include "HoverButtonBase.h"

IMPLEMENT_DYNAMIC(CHoverButtonBase, CBitmapButton)

BEGIN_MESSAGE_MAP(CHoverButtonBase, CBitmapButton)
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEHOVER()
  ON_WM_MOUSELEAVE()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CHoverButtonBase::CHoverButtonBase()
    : m_hPrevCursor(nullptr), m_hCursor(nullptr), m_bPressed(FALSE), m_bTracking(FALSE), m_bHovering(FALSE) {}

CHoverButtonBase::~CHoverButtonBase() {
  if (m_tip.GetSafeHwnd()) m_tip.DestroyWindow();
}

void CHoverButtonBase::CreateTip(DWORD dwStyle) {
  if (!m_tip.Create(this, dwStyle)) return;
  CRect rc;
  GetClientRect(&rc);
  CString text = m_strTip;
  if (text.IsEmpty()) GetWindowText(text);
  m_tip.AddTool(this, text, &rc, imgbutton::kToolId);
}

void CHoverButtonBase::SetToolTipText(CString text, BOOL bActivate) {
  m_strTip = text;
  if (!m_tip.GetSafeHwnd()) return;
  m_tip.UpdateTipText(m_strTip, this, imgbutton::kToolId);
  m_tip.Activate(bActivate);
}

BOOL CHoverButtonBase::PreTranslateMessage(MSG* pMsg) {
  if (m_tip.GetSafeHwnd()) m_tip.RelayEvent(pMsg);
  return CBitmapButton::PreTranslateMessage(pMsg);
}

bool CHoverButtonBase::PointInButton(CPoint pt) const {
  CRect rc;
  GetClientRect(&rc);
  return rc.PtInRect(pt) != FALSE;
}

void CHoverButtonBase::CloseTip() {
  if (m_tip.GetSafeHwnd()) m_tip.Pop();
}

void CHoverButtonBase::OnMouseMove(UINT nFlags, CPoint pt) {
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

void CHoverButtonBase::OnMouseHover(UINT, CPoint) {
  m_bHovering = TRUE;
  if (m_tip.GetSafeHwnd()) m_tip.Update();
  if ((::GetKeyState(VK_LBUTTON) & 0x8000) && !m_bPressed) {
    m_bPressed = TRUE;
    Invalidate(FALSE);
  }
}

void CHoverButtonBase::OnMouseLeave() {
  CloseTip();
  if (m_hCursor && m_hPrevCursor) ::SetCursor(m_hPrevCursor);
  OnLeaving();
  if (m_bTracking) {
    m_bTracking = FALSE;
    m_bHovering = FALSE;
    m_bPressed = FALSE;
    Invalidate(FALSE);
  }
}

BOOL CHoverButtonBase::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
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
