#include "CardButtons.h"

#include <Kitlib2/CMDIB.h>

#include "CardRules.h"

// ---- CThumbButton -----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CThumbButton, CBitmapButton)
  ON_WM_KEYDOWN()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CThumbButton::CThumbButton() : m_bDrawFile(0), m_nSpaceKey(0) {}

int CThumbButton::SetSpaceKey(int on) {
  int previous = m_nSpaceKey;
  m_nSpaceKey = on;
  return previous;
}

void CThumbButton::SetDrawFile(LPCSTR lpszPath, BOOL bDraw) {
  m_strFile = lpszPath ? lpszPath : "";
  m_bDrawFile = bDraw ? 1 : 0;
  if (m_hWnd) Invalidate();
}

void CThumbButton::SetToolTipText(LPCSTR lpszText) {
  if (!m_hWnd) return;
  if (!m_tooltip.GetSafeHwnd()) m_tooltip.Create(this);
  CRect rc;
  GetClientRect(&rc);
  m_tooltip.AddTool(this, lpszText, &rc, 1);
}

void CThumbButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE && m_nSpaceKey == 0) return;  // the button is not pressed by the space key
  CBitmapButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CThumbButton::OnMouseMove(UINT nFlags, CPoint point) {
  if (CWnd* parent = GetParent())
    parent->PostMessage(WM_THUMBBUTTON_MOUSEMOVE, reinterpret_cast<WPARAM>(this), MAKELPARAM(point.x, point.y));
  CBitmapButton::OnMouseMove(nFlags, point);
}

BOOL CThumbButton::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOUSEMOVE && m_tooltip.GetSafeHwnd()) {
    POINT pt = pMsg->pt;
    HWND under = ::WindowFromPoint(pt);
    if (under) ::ScreenToClient(under, &pt);
    m_tooltip.Activate(TRUE);
    MSG relay = *pMsg;
    relay.hwnd = under ? under : pMsg->hwnd;
    relay.lParam = MAKELPARAM(pt.x, pt.y);
    m_tooltip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
  }
  return CBitmapButton::PreTranslateMessage(pMsg);
}

void CThumbButton::DrawFile(HDC hdc, const RECT& rc) {
  if (m_bDrawFile && !m_strFile.IsEmpty()) CCMDIB::DrawFile(hdc, rc, m_strFile);
}

void CThumbButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CBitmapButton::DrawItem(lpDrawItemStruct);
  DrawFile(lpDrawItemStruct->hDC, lpDrawItemStruct->rcItem);
}

// ---- CCardHoverButton -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCardHoverButton, CThumbButton)
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_MOUSEHOVER, &CCardHoverButton::OnMouseHover)
  ON_MESSAGE(WM_MOUSELEAVE, &CCardHoverButton::OnMouseLeave)
  ON_WM_KILLFOCUS()
  ON_WM_SETFOCUS()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CCardHoverButton::CCardHoverButton()
    : m_nHover(0),
      m_nStyle(0),
      m_nHoverPressed(0),
      m_bFocusImages(0),
      m_nNormalId(0),
      m_nFocusId(0),
      m_dOffset(0),
      m_nSizeStep(2),
      m_nFormat(1),
      m_cxSource(0),
      m_cySource(0) {
  m_nSpaceKey = 1;
}

void CCardHoverButton::SetStyle(int nStyle) { m_nStyle = nStyle; }
void CCardHoverButton::SetHoverPressed(int nFlag) { m_nHoverPressed = nFlag; }
int CCardHoverButton::IsHoverPressed() { return (m_nStyle & 1) ? m_nHoverPressed : 0; }
int CCardHoverButton::GetHoverState() { return m_nHover; }

BOOL CCardHoverButton::LoadSizedBitmaps(int cx, int cy, UINT nNormal, UINT nSelected, UINT nFocus, UINT nDisabled) {
  m_cxSource = cx;
  m_cySource = cy;
  return LoadBitmaps(nNormal, nSelected, nFocus, nDisabled);
}

void CCardHoverButton::SetCaptionStyle(double dStep, double dOffset, int nFormat) {
  m_nSizeStep = static_cast<int>(dStep);
  m_dOffset = dOffset;
  if (nFormat) m_nFormat = nFormat;
}

void CCardHoverButton::SetFocusImages(UINT nNormal, UINT nFocus) {
  m_nNormalId = static_cast<WORD>(nNormal);
  m_nFocusId = static_cast<WORD>(nFocus);
  m_bFocusImages = 1;
}

void CCardHoverButton::CaptionColours(int nState, COLORREF* pShadow, COLORREF* pFace) {
  static const COLORREF kShadow[] = {RGB(129, 187, 202), RGB(196, 147, 84), RGB(183, 218, 229), RGB(46, 203, 217)};
  static const COLORREF kFace[] = {RGB(31, 96, 122), RGB(79, 30, 7), RGB(118, 167, 183), RGB(9, 45, 81)};
  if (nState < 0 || nState > 3) nState = 0;
  *pShadow = kShadow[nState];
  *pFace = kFace[nState];
}

void CCardHoverButton::OnMouseMove(UINT nFlags, CPoint point) {
  CThumbButton::OnMouseMove(nFlags, point);
  if (m_nHover == 0) {
    m_nHover = 1;
    TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    ::TrackMouseEvent(&tme);
    SendMessage(WM_MOUSEHOVER, 0, 0);
  }
}

LRESULT CCardHoverButton::OnMouseHover(WPARAM, LPARAM) {
  Invalidate(TRUE);
  if (m_tooltip.GetSafeHwnd()) {
    CString text;
    m_tooltip.GetText(text, this, 1);
    CRect rc;
    GetClientRect(&rc);
    m_tooltip.DelTool(this, 1);
    m_tooltip.AddTool(this, text, &rc, 1);
  }
  return 0;
}

LRESULT CCardHoverButton::OnMouseLeave(WPARAM, LPARAM) {
  m_nHover = !m_nHover;
  Invalidate(TRUE);
  return 0;
}

void CCardHoverButton::SwapNormalImage(UINT nId) {
  if (!m_bFocusImages || !nId) return;
  m_bitmap.DeleteObject();
  m_bitmap.LoadBitmap(nId);
  Invalidate(TRUE);
  UpdateWindow();
}

void CCardHoverButton::OnKillFocus(CWnd* pNewWnd) {
  CThumbButton::OnKillFocus(pNewWnd);
  SwapNormalImage(m_nNormalId);
}

void CCardHoverButton::OnSetFocus(CWnd* pOldWnd) {
  CThumbButton::OnSetFocus(pOldWnd);
  SwapNormalImage(m_nFocusId);
}

BOOL CCardHoverButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CCardHoverButton::DrawItem(LPDRAWITEMSTRUCT dis) {
  UINT state = dis->itemState;
  if ((m_nStyle & 1) && m_nHoverPressed && !(state & ODS_DISABLED)) state |= ODS_SELECTED;
  CBitmap* face = &m_bitmap;
  int captionState = 0;
  if ((state & ODS_SELECTED) && m_bitmapSel.GetSafeHandle()) {
    face = &m_bitmapSel;
    captionState = 1;
  } else if ((state & ODS_DISABLED) && m_bitmapDisabled.GetSafeHandle()) {
    face = &m_bitmapDisabled;
    captionState = 2;
  } else if (m_nHover && m_bitmapFocus.GetSafeHandle()) {
    face = &m_bitmapFocus;
    captionState = 3;
  }
  HDC hdc = dis->hDC;
  const RECT& rc = dis->rcItem;
  if (face->GetSafeHandle()) {
    HDC mem = ::CreateCompatibleDC(hdc);
    HGDIOBJ old = ::SelectObject(mem, face->GetSafeHandle());
    BITMAP bm = {};
    ::GetObject(face->GetSafeHandle(), sizeof bm, &bm);
    const int cx = m_cxSource > 0 ? m_cxSource : bm.bmWidth, cy = m_cySource > 0 ? m_cySource : bm.bmHeight;
    ::SetStretchBltMode(hdc, HALFTONE);
    ::SetBrushOrgEx(hdc, 0, 0, nullptr);
    ::StretchBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem, 0, 0, cx, cy, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
  }
  DrawFile(hdc, rc);

  CString caption;
  GetWindowText(caption);
  if (caption.IsEmpty()) return;
  CRect text(rc);
  const int width = text.Width(), height = text.Height();
  if (m_dOffset > 0) {
    text.left += static_cast<int>(width * m_dOffset);
  } else if (m_dOffset < 0) {
    text.left += width / 10;
    text.right -= width / 10;
    text.top += static_cast<int>(height * -m_dOffset);
  }
  LOGFONTA lf = {};
  HFONT gui = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ::GetObjectA(gui, sizeof lf, &lf);
  if (lf.lfCharSet != ANSI_CHARSET && lf.lfCharSet != SHIFTJIS_CHARSET) {
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    lf.lfCharSet = ANSI_CHARSET;
  } else {
    CWnd* parent = GetParent();
    HFONT parentFont = parent ? reinterpret_cast<HFONT>(parent->SendMessage(WM_GETFONT)) : nullptr;
    ::GetObjectA(parentFont ? parentFont : gui, sizeof lf, &lf);
  }
  int fontHeight = 0, weight = 0;
  cardtree::HoverCaptionFont(m_nSizeStep, height, lf.lfCharSet, &fontHeight, &weight);
  lf.lfHeight = -fontHeight;
  lf.lfWidth = 0;
  lf.lfWeight = weight;
  HFONT font = ::CreateFontIndirectA(&lf);
  HGDIOBJ oldFont = ::SelectObject(hdc, font);
  const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
  const COLORREF oldColour = ::GetTextColor(hdc);
  CRect measure(text);
  ::DrawTextA(hdc, caption, -1, &measure, DT_WORDBREAK | DT_CALCRECT);
  CRect place(text);
  place.top = text.top + (text.Height() - measure.Height()) / 2;
  place.bottom = place.top + measure.Height();
  UINT align = DT_LEFT;
  if (m_nFormat & 1)
    align = DT_CENTER;
  else if (m_nFormat & 2) {
    align = DT_RIGHT;
    place.right -= width / 10;
  }
  COLORREF shadow, faceColour;
  CaptionColours(captionState, &shadow, &faceColour);
  ::SetTextColor(hdc, shadow);
  ::DrawTextA(hdc, caption, -1, &place, DT_WORDBREAK | DT_NOCLIP | align);
  const int s = lf.lfHeight / 10;  // negative: the face sits up and to the left
  place.OffsetRect(s, s);
  ::SetTextColor(hdc, faceColour);
  ::DrawTextA(hdc, caption, -1, &place, DT_WORDBREAK | DT_NOCLIP | align);
  ::SetTextColor(hdc, oldColour);
  ::SetBkMode(hdc, oldMode);
  ::SelectObject(hdc, oldFont);
  ::DeleteObject(font);
}
