// The skinned control base: states, mouse notifications, tooltip, cloning; and the
// drawing functions of packed DIBs and bitmaps.
#include "SkinCtrlWnd.h"

#include <algorithm>
#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CSkinCtrlWnd, CWnd)

BEGIN_MESSAGE_MAP(CSkinCtrlWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_ENABLE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CAPTURECHANGED()
  ON_WM_SIZE()
  ON_MESSAGE(UWM_SKIN_KEYACTION, &CSkinCtrlWnd::OnKeyAction)
  ON_NOTIFY_EX(TTN_NEEDTEXTA, skinctrl::kToolId, &CSkinCtrlWnd::OnToolTipText)
END_MESSAGE_MAP()

CSkinCtrlWnd::CSkinCtrlWnd()
    : m_hNotify(nullptr),
      m_nState(skinctrl::kNormal),
      m_bDblClick(FALSE),
      m_bHoverVisuals(TRUE),
      m_bDragEnabled(FALSE),
      m_rcSlop(0, 0, 0, 0),
      m_ptPress(0, 0),
      m_ptOrigin(0, 0),
      m_bHoverActive(FALSE),
      m_bTopWindowCheck(TRUE),
      m_bCaptureHover(FALSE) {}

CSkinCtrlWnd::~CSkinCtrlWnd() {
  if (m_tip.GetSafeHwnd()) m_tip.DestroyWindow();
}

HRESULT CSkinCtrlWnd::CreateInstance(UINT, CSkinCtrlWnd** ppOut) {
  if (!ppOut) return 0x80000002;
  try {
    *ppOut = new CSkinCtrlWnd;
  } catch (...) {
    *ppOut = nullptr;
  }
  return *ppOut ? 0 : 0x80000002;
}

int CSkinCtrlWnd::SetState(int state) {
  int previous = m_nState;
  if (!skinctrl::ValidState(state)) return previous;
  m_nState = state;
  if (m_tip.GetSafeHwnd()) m_tip.Activate(state != skinctrl::kDisabled);
  RepaintNow();
  return previous;
}

void CSkinCtrlWnd::RepaintNow() {
  if (!GetSafeHwnd()) return;
  Invalidate(FALSE);
  UpdateWindow();
}

void CSkinCtrlWnd::SetToolTipText(LPCSTR lpszText) {
  m_strTip = lpszText ? lpszText : "";
  if (!GetSafeHwnd()) return;
  if (m_tip.GetSafeHwnd())
    m_tip.DelTool(this, skinctrl::kToolId);
  else if (!m_tip.Create(this, TTS_ALWAYSTIP))
    return;
  CRect rc;
  GetClientRect(&rc);
  m_tip.AddTool(this, LPSTR_TEXTCALLBACKA, &rc, skinctrl::kToolId);
  m_tip.Activate(m_nState != skinctrl::kDisabled);
}

void CSkinCtrlWnd::ActivateToolTip(BOOL bActivate) {
  if (m_tip.GetSafeHwnd()) m_tip.Activate(bActivate);
}

void CSkinCtrlWnd::SetOrigin(int x, int y) {
  CPoint pt(x, y);
  if (pt == m_ptOrigin) return;
  m_ptOrigin = pt;
  RepaintNow();
}

void CSkinCtrlWnd::GetClientSize(SIZE* size) const {
  CRect rc(0, 0, 0, 0);
  if (GetSafeHwnd()) GetClientRect(&rc);
  size->cx = rc.Width();
  size->cy = rc.Height();
}

int CSkinCtrlWnd::CopyProperty(int kind, CSkinCtrlWnd* pSource) {
  if (kind != 2) return -1;
  if (!pSource) return 1;
  if (GetSafeHwnd() && pSource->GetSafeHwnd()) ModifyStyleEx(0xFFFFFFFF, pSource->GetExStyle());
  return 0;
}

void CSkinCtrlWnd::CloneTo(CSkinCtrlWnd* pTarget, CWnd* pParent, UINT nID) {
  if (!pTarget) return;
  if (!pParent) pParent = GetParent();
  pTarget->SetNotifyWnd(m_hNotify);
  pTarget->SetState(m_nState);
  pTarget->SetDragEnable(m_bDragEnabled);
  pTarget->SetOrigin(m_ptOrigin.x, m_ptOrigin.y);
  pTarget->SetCaptureHover(m_bCaptureHover);
  pTarget->SetHoverEnable(m_bHoverVisuals);
  if (!pTarget->GetSafeHwnd()) {
    CRect rc(0, 0, 0, 0);
    if (GetSafeHwnd()) GetClientRect(&rc);
    DWORD style = GetSafeHwnd() ? GetStyle() : WS_CHILD;
    if (!pTarget->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), "", style | WS_CHILD,
                           rc, pParent, nID))
      return;
  }
  if (GetSafeHwnd()) pTarget->ModifyStyleEx(0xFFFFFFFF, GetExStyle());
}

BOOL CSkinCtrlWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_tip.GetSafeHwnd()) m_tip.RelayEvent(pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}

void CSkinCtrlWnd::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_hNotify) ::SendMessage(m_hNotify, message, wParam, lParam);
}

void CSkinCtrlWnd::Notify(UINT code) { Send(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), (LPARAM)m_hWnd); }

bool CSkinCtrlWnd::OtherWindowUnderCursor() const {
  POINT pt;
  ::GetCursorPos(&pt);
  return ::WindowFromPoint(pt) != m_hWnd;
}

bool CSkinCtrlWnd::InClient(CPoint pt) const {
  CRect rc;
  GetClientRect(&rc);
  return rc.PtInRect(pt) != FALSE;
}

void CSkinCtrlWnd::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

void CSkinCtrlWnd::OnEnable(BOOL bEnable) { SetState(bEnable ? skinctrl::kNormal : skinctrl::kDisabled); }

void CSkinCtrlWnd::OnLButtonDown(UINT, CPoint pt) {
  if (m_nState == skinctrl::kDisabled) return;
  if (m_bTopWindowCheck && OtherWindowUnderCursor()) return;
  m_ptPress = pt;
  m_bDblClick = FALSE;
  m_rcSlop = skinctrl::SlopRect(pt);
  if (m_nState != skinctrl::kPressed && m_bHoverVisuals && InClient(pt)) SetState(skinctrl::kPressed);
  Notify(BN_HILITE);
  SetCapture();
}

void CSkinCtrlWnd::OnLButtonDblClk(UINT, CPoint) {
  if (m_nState == skinctrl::kDisabled) return;
  if (m_bTopWindowCheck && OtherWindowUnderCursor()) return;
  SetCapture();
  m_bDblClick = TRUE;
}

void CSkinCtrlWnd::OnLButtonUp(UINT, CPoint pt) {
  bool enabled = IsWindowEnabled() != FALSE;
  if (m_bTopWindowCheck && OtherWindowUnderCursor() && (!enabled || !m_bHoverActive || !m_bHoverVisuals)) {
    if (Captured()) ::ReleaseCapture();
    return;
  }
  if (!Captured()) return;
  bool hoverWasActive = false;
  ::ReleaseCapture();
  if (enabled && m_bHoverActive && m_bHoverVisuals) {
    SetState(skinctrl::kNormal);
    m_bHoverActive = FALSE;
    hoverWasActive = true;
  }
  if (m_nState != skinctrl::kDisabled && m_hNotify) {
    if (InClient(pt)) {
      if (m_nState != skinctrl::kHover && m_bHoverVisuals && enabled) SetState(skinctrl::kHover);
      Notify(m_bDblClick ? BN_DOUBLECLICKED : BN_CLICKED);
      if (m_bCaptureHover && IsWindowVisible() && ::IsWindow(m_hWnd)) {
        SetCapture();
        if (hoverWasActive) m_bHoverActive = TRUE;
      }
    } else {
      Notify(BN_UNHILITE);
    }
  }
  if (::IsWindow(m_hWnd) && !IsWindowEnabled()) SetState(skinctrl::kDisabled);
}

void CSkinCtrlWnd::OnRButtonUp(UINT, CPoint) { Send(UWM_SKIN_RCLICK, 0, (LPARAM)m_hWnd); }

void CSkinCtrlWnd::OnMouseMove(UINT nFlags, CPoint pt) {
  bool captured = Captured();
  if (m_nState == skinctrl::kDisabled) {
    if (captured) ::ReleaseCapture();
  } else if (!captured && m_nState != skinctrl::kNormal) {
    // only forwarded
  } else if (m_bDragEnabled && captured && !m_rcSlop.PtInRect(pt)) {
    Send(UWM_SKIN_STARTDRAG, (WPARAM)&m_ptPress, (LPARAM)m_hWnd);
    return;
  } else if (InClient(pt)) {
    if (m_nState != skinctrl::kPressed && (nFlags & MK_LBUTTON) && captured && m_bHoverVisuals) {
      SetState(skinctrl::kPressed);
    } else if (m_bCaptureHover && !captured && m_nState == skinctrl::kNormal) {
      if (!m_bHoverVisuals) {
        Send(UWM_SKIN_MOUSEMOVE, nFlags, (LPARAM)m_hWnd);
        return;
      }
      m_bHoverActive = TRUE;
      SetState(skinctrl::kHover);
      SetCapture();
      Notify(BN_SETFOCUS);
    } else if (!m_bHoverVisuals) {
      Send(UWM_SKIN_MOUSEMOVE, nFlags, (LPARAM)m_hWnd);
      return;
    } else if (m_bTopWindowCheck && OtherWindowUnderCursor()) {
      m_bHoverActive = FALSE;
      SetState(skinctrl::kHover);
      if (captured) ::ReleaseCapture();
    }
  } else {
    if ((nFlags & MK_LBUTTON) && captured && m_bHoverVisuals) {
      if (m_nState != skinctrl::kHover) {
        if (m_bHoverActive || m_nState == skinctrl::kPressed) SetState(skinctrl::kHover);
        Notify(BN_SETFOCUS);
      }
    } else if (m_bCaptureHover && captured) {
      if (!m_bHoverVisuals) {
        Send(UWM_SKIN_MOUSEOUT, nFlags, (LPARAM)m_hWnd);
        return;
      }
      bool keep = m_nState == skinctrl::kPressed && !m_bHoverActive;
      ::ReleaseCapture();
      Notify(BN_KILLFOCUS);
      if (!keep) {
        SetState(skinctrl::kNormal);
        m_bHoverActive = FALSE;
      }
    } else if (!m_bHoverVisuals) {
      Send(UWM_SKIN_MOUSEOUT, nFlags, (LPARAM)m_hWnd);
      return;
    }
  }
  if (::IsWindow(m_hWnd) && GetParent()) {
    CPoint inParent = pt;
    ClientToScreen(&inParent);
    GetParent()->ScreenToClient(&inParent);
    Send(WM_MOUSEMOVE, nFlags, MAKELPARAM(inParent.x, inParent.y));
  }
}

void CSkinCtrlWnd::OnCaptureChanged(CWnd*) {
  POINT pt;
  ::GetCursorPos(&pt);
  CRect rc;
  GetWindowRect(&rc);
  if (rc.PtInRect(pt) && m_bHoverVisuals && m_nState == skinctrl::kHover) {
    m_nState = skinctrl::kNormal;
    RepaintNow();
  }
}

void CSkinCtrlWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (m_tip.GetSafeHwnd()) {
    CRect rc;
    GetClientRect(&rc);
    m_tip.SetToolRect(this, skinctrl::kToolId, &rc);
  }
}

LRESULT CSkinCtrlWnd::OnKeyAction(WPARAM action, LPARAM) {
  if (action == 1) {
    SetState(skinctrl::kPressed);
    ::Sleep(60);
    SetState(skinctrl::kHover);
  }
  return 1;
}

BOOL CSkinCtrlWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
  bool byHandle = (pInfo->uFlags & TTF_IDISHWND) != 0;
  UINT_PTR id = pNMHDR->idFrom;
  if (byHandle ? (HWND)id != m_hWnd : id != skinctrl::kToolId) return FALSE;
  pInfo->lpszText = const_cast<LPSTR>((LPCSTR)m_strTip);
  *pResult = 0;
  return TRUE;
}

// ----- Drawing functions -----

CBufferedPaint::CBufferedPaint(CWnd* pWnd, CDC* pTarget) : m_pTarget(pTarget), m_pOld(nullptr) {
  pWnd->GetClientRect(&m_rc);
  m_mem.CreateCompatibleDC(pTarget);
  m_bmp.CreateCompatibleBitmap(pTarget, std::max(m_rc.Width(), 1), std::max(m_rc.Height(), 1));
  m_pOld = m_mem.SelectObject(&m_bmp);
}

CBufferedPaint::~CBufferedPaint() {
  m_pTarget->BitBlt(0, 0, m_rc.Width(), m_rc.Height(), &m_mem, 0, 0, SRCCOPY);
  m_mem.SelectObject(m_pOld);
}

namespace {

int DIBHeight(const BITMAPINFO* pbi) { return std::abs(pbi->bmiHeader.biHeight); }

const void* DIBBits(const BITMAPINFO* pbi) {
  const BITMAPINFOHEADER& h = pbi->bmiHeader;
  return reinterpret_cast<const BYTE*>(pbi) + h.biSize +
         skinctrl::ColorTableBytes(h.biBitCount, h.biCompression, h.biClrUsed);
}

size_t DIBBytes(const BITMAPINFO* pbi) {
  const BITMAPINFOHEADER& h = pbi->bmiHeader;
  size_t stride = ((size_t)h.biWidth * h.biBitCount + 31) / 32 * 4;
  return h.biSize + skinctrl::ColorTableBytes(h.biBitCount, h.biCompression, h.biClrUsed) + stride * DIBHeight(pbi);
}

}  // namespace

HBITMAP DIBToBitmap(const BITMAPINFO* pbi) {
  if (!pbi) return nullptr;
  HDC hdc = ::GetDC(nullptr);
  HBITMAP h = ::CreateDIBitmap(hdc, &pbi->bmiHeader, CBM_INIT, DIBBits(pbi), pbi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hdc);
  return h;
}

BOOL BitmapToDIB(HBITMAP hBitmap, BITMAPINFO** ppOut) {
  if (!ppOut) return FALSE;
  *ppOut = nullptr;
  BITMAP bm;
  if (!hBitmap || !::GetObject(hBitmap, sizeof(bm), &bm)) return FALSE;
  BITMAPINFOHEADER bih = {};
  bih.biSize = sizeof(bih);
  bih.biWidth = bm.bmWidth;
  bih.biHeight = bm.bmHeight;
  bih.biPlanes = 1;
  // Palette bitmaps keep their depth; deeper ones become 24-bit so the colour key compares exactly.
  bih.biBitCount = bm.bmBitsPixel <= 8 ? bm.bmBitsPixel : 24;
  bih.biCompression = BI_RGB;
  size_t table = skinctrl::ColorTableBytes(bih.biBitCount, bih.biCompression, 0);
  size_t stride = ((size_t)bih.biWidth * bih.biBitCount + 31) / 32 * 4;
  bih.biSizeImage = (DWORD)(stride * bm.bmHeight);
  BYTE* mem = new (std::nothrow) BYTE[sizeof(bih) + table + bih.biSizeImage];
  if (!mem) return FALSE;
  BITMAPINFO* pbi = reinterpret_cast<BITMAPINFO*>(mem);
  pbi->bmiHeader = bih;
  HDC hdc = ::GetDC(nullptr);
  int lines = ::GetDIBits(hdc, hBitmap, 0, bm.bmHeight, mem + sizeof(bih) + table, pbi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hdc);
  pbi->bmiHeader.biClrUsed = 0;  // GetDIBits may fill it; the table size stays the full one
  if (lines != bm.bmHeight) {
    delete[] mem;
    return FALSE;
  }
  *ppOut = pbi;
  return TRUE;
}

BITMAPINFO* LoadDIB(LPCSTR lpszResource) {
  if (!lpszResource) return nullptr;
  HBITMAP h = (HBITMAP)::LoadImageA(AfxFindResourceHandle(lpszResource, RT_BITMAP), lpszResource, IMAGE_BITMAP, 0, 0,
                                    LR_CREATEDIBSECTION);
  if (!h) return nullptr;
  BITMAPINFO* pbi = nullptr;
  BitmapToDIB(h, &pbi);
  ::DeleteObject(h);
  return pbi;
}

void FreeDIB(BITMAPINFO* pbi) { delete[] reinterpret_cast<BYTE*>(pbi); }

BITMAPINFO* CopyDIB(const BITMAPINFO* pbi) {
  if (!pbi) return nullptr;
  size_t n = DIBBytes(pbi);
  BYTE* mem = new (std::nothrow) BYTE[n];
  if (mem) std::memcpy(mem, pbi, n);
  return reinterpret_cast<BITMAPINFO*>(mem);
}

void DrawDIB(CDC* pDC, const BITMAPINFO* pbi, int left, int top, int right, int bottom, BOOL bStretch, BOOL bCentre) {
  if (!pDC || !pbi || pbi->bmiHeader.biSize != sizeof(BITMAPINFOHEADER)) return;
  int cx = pbi->bmiHeader.biWidth, cy = DIBHeight(pbi);
  if (bStretch) {
    ::StretchDIBits(pDC->m_hDC, left, top, right - left, bottom - top, 0, 0, cx, cy, DIBBits(pbi), pbi, DIB_RGB_COLORS,
                    SRCCOPY);
    return;
  }
  skinctrl::Placement p = skinctrl::PlaceUnscaled(cx, cy, CRect(left, top, right, bottom), bCentre != FALSE);
  if (p.cx <= 0 || p.cy <= 0) return;
  // StretchDIBits counts source rows from the bottom of a bottom-up DIB.
  int srcY = pbi->bmiHeader.biHeight > 0 ? cy - p.srcY - p.cy : p.srcY;
  ::StretchDIBits(pDC->m_hDC, p.x, p.y, p.cx, p.cy, p.srcX, srcY, p.cx, p.cy, DIBBits(pbi), pbi, DIB_RGB_COLORS,
                  SRCCOPY);
}

void DrawBitmap(CDC* pDC, CBitmap* pBitmap, int left, int top, int right, int bottom, BOOL bStretch, BOOL bCentre) {
  if (!pDC || !pBitmap || !pBitmap->GetSafeHandle()) return;
  BITMAP bm;
  if (!pBitmap->GetBitmap(&bm)) return;
  HDC mem = ::CreateCompatibleDC(pDC->m_hDC);
  HGDIOBJ old = ::SelectObject(mem, pBitmap->GetSafeHandle());
  if (bStretch && (bm.bmWidth != right - left || bm.bmHeight != bottom - top)) {
    int oldMode = ::SetStretchBltMode(pDC->m_hDC, COLORONCOLOR);
    ::StretchBlt(pDC->m_hDC, left, top, right - left, bottom - top, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    ::SetStretchBltMode(pDC->m_hDC, oldMode);
  } else {
    skinctrl::Placement p =
        skinctrl::PlaceUnscaled(bm.bmWidth, bm.bmHeight, CRect(left, top, right, bottom), bCentre != FALSE);
    if (p.cx > 0 && p.cy > 0) ::BitBlt(pDC->m_hDC, p.x, p.y, p.cx, p.cy, mem, p.srcX, p.srcY, SRCCOPY);
  }
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}

CFont* CopyFont(CFont* pFont) {
  LOGFONTA lf;
  if (!pFont || !pFont->GetSafeHandle() || !pFont->GetLogFont(&lf)) return nullptr;
  CFont* p = new CFont;
  p->CreateFontIndirect(&lf);
  return p;
}
