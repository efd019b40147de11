// The fading panel button: background capture, opacity blend, posted message.
#include "HoverBitmapButton.h"

#include <Kitlib2/OwnMessage.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CHoverBitmapButton, CHoverButtonBase)

BEGIN_MESSAGE_MAP(CHoverBitmapButton, CHoverButtonBase)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_ENABLE()
END_MESSAGE_MAP()

CHoverBitmapButton::CHoverBitmapButton()
    : m_pBackground(nullptr),
      m_nAlpha(0),
      m_pCaptured(nullptr),
      m_lParam(0),
      m_wParam(0),
      m_nMessage(0),
      m_pTarget(nullptr) {}

CHoverBitmapButton::~CHoverBitmapButton() { delete m_pCaptured; }

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

void CHoverBitmapButton::ActivateToolTip(BOOL bActivate) {
  if (m_tip.GetSafeHwnd() && m_tip.GetToolCount() > 0) m_tip.Activate(bActivate);
}

HCURSOR CHoverBitmapButton::SetCursor(HCURSOR hCursor) {
  HCURSOR previous = m_hCursor;
  m_hCursor = hCursor;
  if (previous) return previous;
  return GetSafeHwnd() ? (HCURSOR)SendMessage(BM_GETIMAGE, IMAGE_CURSOR) : nullptr;
}

int CHoverBitmapButton::OnCreate(LPCREATESTRUCT lpcs) {
  if (CHoverButtonBase::OnCreate(lpcs) == -1) return -1;
  CreateTip(0);
  if (m_tip.GetSafeHwnd()) m_tip.Activate(FALSE);
  return 0;
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
    CMTLSendOwnMessage(m_pTarget->GetSafeHwnd(), imgbutton::kTipRectMessage, 0, (LPARAM)&rc);
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
    CHoverButtonBase::DrawItem(&dis);
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
        ::GetDIBits(pDC->m_hDC, (HBITMAP)m_pCaptured->GetSafeHandle(), 0, rc.Height(), bg.data(), &bi, DIB_RGB_COLORS);
        for (size_t i = 0; i < img.size(); i++) img[i] = imgbutton::Blend(img[i], bg[i], m_nAlpha);
        ::SetDIBits(pDC->m_hDC, (HBITMAP)image.GetSafeHandle(), 0, rc.Height(), img.data(), &bi, DIB_RGB_COLORS);
        mem.SelectObject(&image);
      }
    }
  }
  pDC->BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
  mem.SelectObject(pOld);
}
