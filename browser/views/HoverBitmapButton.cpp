// The fading panel button: background capture, opacity blend, posted message.
#include "HoverBitmapButton.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CHoverBitmapButton, CBitmapButton)

BEGIN_MESSAGE_MAP(CHoverBitmapButton, CBitmapButton)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEHOVER()
  ON_WM_MOUSELEAVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_SETCURSOR()
  ON_WM_ENABLE()
END_MESSAGE_MAP()

CHoverBitmapButton::CHoverBitmapButton()
    : m_hPrevCursor(nullptr),
      m_hCursor(nullptr),
      m_pBackground(nullptr),
      m_nAlpha(0),
      m_pCaptured(nullptr),
      m_bPressed(FALSE),
      m_lParam(0),
      m_wParam(0),
      m_nMessage(0),
      m_pTarget(nullptr),
      m_bTracking(FALSE),
      m_bHovering(FALSE) {}

CHoverBitmapButton::~CHoverBitmapButton() {
  delete m_pCaptured;
  if (m_tip.GetSafeHwnd()) m_tip.DestroyWindow();
}

void CHoverBitmapButton::SetCommandMessage(CWnd* pTarget, UINT message, WPARAM wParam, LPARAM lParam) {
  m_pTarget = pTarget;
  m_nMessage = message;
  m_wParam = wParam;
  m_lParam = lParam;
}

void CHoverBitmapButton::SetAlpha(BYTE opacity) {
  m_nAlpha = opacity;
  if (GetSafeHwnd()) Invalidate(FALSE);
}

void CHoverBitmapButton::SetToolTipText(CString text, BOOL bActivate) {
  m_strTip = text;
  if (!m_tip.GetSafeHwnd()) return;
  m_tip.UpdateTipText(m_strTip, this, imgbutton::kToolId);
  m_tip.Activate(bActivate);
}

void CHoverBitmapButton::ActivateToolTip(BOOL bActivate) {
  if (m_tip.GetSafeHwnd() && m_tip.GetToolCount() > 0) m_tip.Activate(bActivate);
}

HCURSOR CHoverBitmapButton::SetCursor(HCURSOR hCursor) {
  HCURSOR previous = m_hCursor;
  m_hCursor = hCursor;
  if (previous) return previous;
  return GetSafeHwnd() ? (HCURSOR)SendMessage(BM_GETIMAGE, IMAGE_CURSOR) : nullptr;
}

BOOL CHoverBitmapButton::PreTranslateMessage(MSG* pMsg) {
  if (m_tip.GetSafeHwnd()) m_tip.RelayEvent(pMsg);
  return CBitmapButton::PreTranslateMessage(pMsg);
}

int CHoverBitmapButton::OnCreate(LPCREATESTRUCT lpcs) {
  if (CBitmapButton::OnCreate(lpcs) == -1) return -1;
  if (m_tip.Create(this, 0)) {
    CRect rc;
    GetClientRect(&rc);
    CString text = m_strTip;
    if (text.IsEmpty()) GetWindowText(text);
    m_tip.AddTool(this, text, &rc, imgbutton::kToolId);
    m_tip.Activate(FALSE);
  }
  return 0;
}

bool CHoverBitmapButton::PointInButton(CPoint pt) const {
  CRect rc;
  GetClientRect(&rc);
  return rc.PtInRect(pt) != FALSE;
}

// The panel repaints where the tip was (message 1124 with its rectangle in the target's
// client coordinates).
void CHoverBitmapButton::CloseTip() {
  if (!m_tip.GetSafeHwnd()) return;
  CRect rc;
  m_tip.GetWindowRect(&rc);
  m_tip.Pop();
  if (m_pTarget && m_pTarget->GetSafeHwnd()) {
    m_pTarget->ScreenToClient(&rc);
    m_pTarget->SendMessage(imgbutton::kTipRectMessage, 0, (LPARAM)&rc);
  }
}

void CHoverBitmapButton::CaptureBackground() {
  if (!m_pBackground || !m_pBackground->GetSafeHwnd() || !GetSafeHwnd()) return;
  delete m_pCaptured;
  m_pCaptured = nullptr;
  CRect rc;
  GetWindowRect(&rc);
  CClientDC screen(this);
  CBitmap* pBmp = new CBitmap;
  if (!pBmp->CreateCompatibleBitmap(&screen, rc.Width(), rc.Height())) {
    delete pBmp;
    return;
  }
  CDC mem;
  mem.CreateCompatibleDC(&screen);
  CBitmap* pOld = mem.SelectObject(pBmp);
  mem.FillSolidRect(0, 0, rc.Width(), rc.Height(), RGB(0, 0, 0));
  CRect under = rc;
  m_pBackground->ScreenToClient(&under);
  CRect client;
  m_pBackground->GetClientRect(&client);
  CRect part;
  if (part.IntersectRect(under, client)) {
    CClientDC bg(m_pBackground);
    mem.BitBlt(part.left - under.left, part.top - under.top, part.Width(), part.Height(), &bg, part.left, part.top,
               SRCCOPY);
  }
  mem.SelectObject(pOld);
  m_pCaptured = pBmp;
}

void CHoverBitmapButton::ResetBackground() {
  delete m_pCaptured;
  m_pCaptured = nullptr;
  CloseTip();
}

void CHoverBitmapButton::OnMouseMove(UINT nFlags, CPoint pt) {
  if (!PointInButton(pt)) {
    OnMouseLeave();
    return;
  }
  if (m_bTracking) return;
  TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE | TME_HOVER, m_hWnd, 1};
  ::TrackMouseEvent(&tme);
  m_bTracking = TRUE;
  Invalidate(FALSE);
  (void)nFlags;
}

void CHoverBitmapButton::OnMouseHover(UINT, CPoint) {
  m_bHovering = TRUE;
  if (m_tip.GetSafeHwnd()) m_tip.Update();
  if ((::GetKeyState(VK_LBUTTON) & 0x8000) && !m_bPressed) {
    m_bPressed = TRUE;
    Invalidate(FALSE);
  }
}

void CHoverBitmapButton::OnMouseLeave() {
  CloseTip();
  if (m_hCursor && m_hPrevCursor) ::SetCursor(m_hPrevCursor);
  if (m_bTracking) {
    m_bTracking = FALSE;
    m_bHovering = FALSE;
    m_bPressed = FALSE;
    Invalidate(FALSE);
  }
}

void CHoverBitmapButton::OnLButtonDown(UINT, CPoint) {
  SetCapture();
  m_bPressed = TRUE;
  CloseTip();
  if (m_nAlpha == 255) return;  // faded out: not there to click
  if (m_hCursor) m_hPrevCursor = ::SetCursor(m_hCursor);
  Invalidate(FALSE);
  UpdateWindow();
}

void CHoverBitmapButton::OnLButtonUp(UINT, CPoint pt) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  CloseTip();
  if (m_nAlpha == 255 || !m_bPressed) return;
  if (m_pTarget && m_pTarget->GetSafeHwnd() && m_nMessage && PointInButton(pt))
    m_pTarget->PostMessage(m_nMessage, m_wParam, m_lParam);
  m_bPressed = FALSE;
  Invalidate(FALSE);
  UpdateWindow();
}

BOOL CHoverBitmapButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
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

void CHoverBitmapButton::OnEnable(BOOL) {
  CloseTip();
  Default();
}

void CHoverBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CRect rc = lpDIS->rcItem;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap image;
  image.CreateCompatibleBitmap(pDC, rc.Width(), rc.Height());
  CBitmap* pOld = mem.SelectObject(&image);
  bool enabled = IsWindowEnabled() != FALSE;
  auto copyCaptured = [&](CDC* pTo) {
    if (!m_pCaptured) return;
    CDC cap;
    cap.CreateCompatibleDC(pDC);
    CBitmap* p = cap.SelectObject(m_pCaptured);
    pTo->BitBlt(0, 0, rc.Width(), rc.Height(), &cap, 0, 0, SRCCOPY);
    cap.SelectObject(p);
  };
  if (!enabled && !m_bitmapDisabled.GetSafeHandle()) {
    mem.FillSolidRect(0, 0, rc.Width(), rc.Height(), RGB(0, 0, 0));
    copyCaptured(&mem);
  } else {
    DRAWITEMSTRUCT dis = *lpDIS;
    dis.hDC = mem.m_hDC;
    dis.rcItem = CRect(0, 0, rc.Width(), rc.Height());
    dis.itemState = imgbutton::DrawState(lpDIS->itemState, m_bTracking != FALSE, enabled, m_bPressed != FALSE);
    CBitmapButton::DrawItem(&dis);
    if (m_pBackground && m_pCaptured) {
      if (m_nAlpha == 0) {
        CDC out;
        out.CreateCompatibleDC(pDC);
        CBitmap result;
        result.CreateCompatibleBitmap(pDC, rc.Width(), rc.Height());
        CBitmap* pPrev = out.SelectObject(&result);
        copyCaptured(&out);
        ::TransparentBlt(out.m_hDC, 0, 0, rc.Width(), rc.Height(), mem.m_hDC, 0, 0, rc.Width(), rc.Height(),
                         RGB(255, 255, 255));
        mem.BitBlt(0, 0, rc.Width(), rc.Height(), &out, 0, 0, SRCCOPY);
        out.SelectObject(pPrev);
      } else if (m_nAlpha == 255) {
        copyCaptured(&mem);
      } else {
        // Byte by byte over the background; bytes of 0 keep the background.
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), rc.Width(), -rc.Height(), 1, 32, BI_RGB};
        std::vector<BYTE> img((size_t)rc.Width() * rc.Height() * 4), bg(img.size());
        mem.SelectObject(pOld);
        ::GetDIBits(pDC->m_hDC, (HBITMAP)image.GetSafeHandle(), 0, rc.Height(), img.data(), &bi, DIB_RGB_COLORS);
        ::GetDIBits(pDC->m_hDC, (HBITMAP)m_pCaptured->GetSafeHandle(), 0, rc.Height(), bg.data(), &bi,
                    DIB_RGB_COLORS);
        for (size_t i = 0; i < img.size(); i++) img[i] = imgbutton::Blend(img[i], bg[i], m_nAlpha);
        ::SetDIBits(pDC->m_hDC, (HBITMAP)image.GetSafeHandle(), 0, rc.Height(), img.data(), &bi, DIB_RGB_COLORS);
        mem.SelectObject(&image);
      }
    }
  }
  pDC->BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
  mem.SelectObject(pOld);
}
