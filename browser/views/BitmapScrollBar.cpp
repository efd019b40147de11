// The bitmap scroll bar: parts, scroll information, painting and the mouse.
#include "BitmapScrollBar.h"

#include <algorithm>
#include <new>

#include "SkinCtrlWnd.h"

IMPLEMENT_DYNAMIC(CBitmapScrollBar, CWnd)

BEGIN_MESSAGE_MAP(CBitmapScrollBar, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_ENABLE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CBitmapScrollBar::CBitmapScrollBar()
    : m_bClicked(FALSE),
      m_nActive(skinbar::kNone),
      m_nHover(kHoverNone),
      m_bSecondEnabled(TRUE),
      m_bFirstEnabled(TRUE),
      m_ptDragStart(-1, -1),
      m_rcDragThumb(0, 0, 0, 0),
      m_nDragStartPos(0),
      m_nDragAt(-1) {
  for (int p = 0; p < skinbar::kParts; p++) {
    m_nPartSize[p] = 0;
    for (int s = 0; s < kStates; s++) m_pImages[p][s] = nullptr;
  }
  m_si = {};
  m_si.cbSize = sizeof(SCROLLINFO);
  m_si.fMask = SIF_ALL;
  m_si.nPage = 1;
}

CBitmapScrollBar::~CBitmapScrollBar() {
  for (UINT p = 0; p < skinbar::kParts; p++) FreePart(p);
}

HRESULT CBitmapScrollBar::CreateInstance(CBitmapScrollBar** ppOut) {
  if (!ppOut) return 0x80000002;
  try {
    *ppOut = new CBitmapScrollBar;
  } catch (...) {
    *ppOut = nullptr;
  }
  return *ppOut ? 0 : 0x80000002;
}

BOOL CBitmapScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID) {
  return CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), "", dwStyle | WS_CHILD, rect, pParent,
                  nID);
}

int CBitmapScrollBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  int arrow = ::GetSystemMetrics(IsVertical() ? SM_CYVSCROLL : SM_CXHSCROLL);
  for (int p : {skinbar::kFirstArrow, skinbar::kSecondArrow})
    if (m_nPartSize[p] == 0) m_nPartSize[p] = arrow;
  return 0;
}

bool CBitmapScrollBar::IsVertical() const { return GetSafeHwnd() && (GetStyle() & SBS_VERT); }

int CBitmapScrollBar::Length() const {
  if (!GetSafeHwnd()) return 0;
  CRect rc;
  GetClientRect(&rc);
  return IsVertical() ? rc.Height() : rc.Width();
}

void CBitmapScrollBar::FreePart(UINT part) {
  for (int s = 0; s < kStates; s++) {
    FreeDIB(m_pImages[part][s]);
    m_pImages[part][s] = nullptr;
  }
}

void CBitmapScrollBar::SetPartSize(UINT part) {
  const BITMAPINFO* pbi = m_pImages[part][kNormal];
  if (!pbi) return;
  m_nPartSize[part] = IsVertical() ? std::abs(pbi->bmiHeader.biHeight) : pbi->bmiHeader.biWidth;
}

void CBitmapScrollBar::SetPartBitmaps(UINT part, UINT normal, UINT pressed, UINT hot, UINT disabled) {
  if (part >= skinbar::kParts) return;
  FreePart(part);
  UINT ids[kStates] = {normal, pressed, hot, disabled};
  for (int s = 0; s < kStates; s++)
    if (ids[s]) m_pImages[part][s] = LoadDIB(MAKEINTRESOURCEA(ids[s]));
  SetPartSize(part);
}

void CBitmapScrollBar::SetPartBitmaps(UINT part, LPCSTR normal, LPCSTR pressed, LPCSTR hot, LPCSTR disabled) {
  if (part >= skinbar::kParts || !normal) return;
  FreePart(part);
  LPCSTR names[kStates] = {normal, pressed, hot, disabled};
  for (int s = 0; s < kStates; s++) m_pImages[part][s] = LoadDIB(names[s]);
  SetPartSize(part);
}

void CBitmapScrollBar::SetPartDIBs(UINT part, const BITMAPINFO* normal, const BITMAPINFO* pressed,
                                   const BITMAPINFO* hot, const BITMAPINFO* disabled) {
  if (part >= skinbar::kParts) return;
  FreePart(part);
  const BITMAPINFO* dibs[kStates] = {normal, pressed, hot, disabled};
  for (int s = 0; s < kStates; s++) m_pImages[part][s] = CopyDIB(dibs[s]);
  SetPartSize(part);
}

void CBitmapScrollBar::SetBackgroundBitmap(UINT id) {
  FreePart(skinbar::kTrack);
  if (id) m_pImages[skinbar::kTrack][kNormal] = LoadDIB(MAKEINTRESOURCEA(id));
  SetPartSize(skinbar::kTrack);
}

void CBitmapScrollBar::SetBackgroundBitmap(LPCSTR name) {
  FreePart(skinbar::kTrack);
  m_pImages[skinbar::kTrack][kNormal] = LoadDIB(name);
  SetPartSize(skinbar::kTrack);
}

void CBitmapScrollBar::SetBackgroundDIB(const BITMAPINFO* pbi) {
  FreePart(skinbar::kTrack);
  m_pImages[skinbar::kTrack][kNormal] = CopyDIB(pbi);
  SetPartSize(skinbar::kTrack);
}

skinbar::Thumb CBitmapScrollBar::Thumb() const {
  bool caps = m_pImages[skinbar::kStartCap][kNormal] && m_pImages[skinbar::kEndCap][kNormal];
  skinbar::Thumb t = skinbar::ThumbOf(TrackStart(), TrackEnd(), Range(), caps, m_nPartSize[skinbar::kGrip]);
  if (t.Exists() && m_nActive == skinbar::kDragThumb && m_nDragAt >= 0) {
    // The dragged thumb follows the cursor within the track.
    int start = (IsVertical() ? m_rcDragThumb.top : m_rcDragThumb.left) + (m_nDragAt - Along(m_ptDragStart));
    t.start = std::max(TrackStart(), std::min(start, TrackEnd() - t.length));
  }
  return t;
}

CRect CBitmapScrollBar::AlongRect(int start, int end) const {
  CRect rc;
  GetClientRect(&rc);
  if (IsVertical()) return CRect(rc.left, start, rc.right, end);
  return CRect(start, rc.top, end, rc.bottom);
}

CRect CBitmapScrollBar::ThumbRect() const {
  if (!GetSafeHwnd()) return CRect(0, 0, 0, 0);
  skinbar::Thumb t = Thumb();
  if (!t.Exists()) return CRect(0, 0, 0, 0);
  return AlongRect(t.start, t.start + t.length);
}

void CBitmapScrollBar::SetScrollRange(int nMin, int nMax, BOOL bRedraw) {
  if (nMin == m_si.nMin && nMax == m_si.nMax) return;
  m_si.nMin = nMin;
  m_si.nMax = nMax;
  if (bRedraw) Repaint();
}

void CBitmapScrollBar::GetScrollRange(int* pMin, int* pMax) const {
  if (pMin) *pMin = m_si.nMin;
  if (pMax) *pMax = m_si.nMax;
}

int CBitmapScrollBar::GetScrollLimit() const { return skinbar::ScrollLimit(Range()); }

void CBitmapScrollBar::Tell(UINT code, int pos) {
  CWnd* pParent = GetSafeHwnd() ? GetParent() : nullptr;
  if (pParent)
    pParent->SendMessage(IsVertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, (WORD)pos), (LPARAM)m_hWnd);
}

int CBitmapScrollBar::SetScrollPos(int nPos, BOOL bRedraw) {
  int previous = m_si.nPos;
  if (m_si.nMax < m_si.nMin || nPos == m_si.nPos) return previous;
  Tell(SB_ENDSCROLL);
  CRect before = ThumbRect();
  m_si.nPos = skinbar::ClampPos(nPos, Range());
  if (bRedraw) RepaintThumbChange(before);
  return previous;
}

BOOL CBitmapScrollBar::SetScrollInfo(const SCROLLINFO* psi, BOOL bRedraw) {
  if (!psi) return FALSE;
  SCROLLINFO old = m_si;
  CRect before = ThumbRect();
  if (psi->fMask & SIF_DISABLENOSCROLL) ShowScrollBar(TRUE);
  if (psi->fMask & SIF_PAGE) m_si.nPage = psi->nPage;
  if (psi->fMask & SIF_RANGE) SetScrollRange(psi->nMin, psi->nMax, FALSE);
  if (psi->fMask & SIF_TRACKPOS) m_si.nTrackPos = psi->nTrackPos;
  if (psi->fMask & SIF_POS) SetScrollPos(psi->nPos, FALSE);
  if (bRedraw && (old.nPos != m_si.nPos || old.nMax != m_si.nMax || old.nMin != m_si.nMin || old.nPage != m_si.nPage))
    RepaintThumbChange(before);
  return TRUE;
}

BOOL CBitmapScrollBar::GetScrollInfo(SCROLLINFO* psi) const {
  if (!psi) return FALSE;
  if (psi->fMask & SIF_PAGE) psi->nPage = m_si.nPage;
  if (psi->fMask & SIF_POS) psi->nPos = m_si.nPos;
  if (psi->fMask & SIF_RANGE) psi->nMin = m_si.nMin, psi->nMax = m_si.nMax;
  if (psi->fMask & SIF_TRACKPOS) psi->nTrackPos = m_si.nTrackPos;
  return TRUE;
}

void CBitmapScrollBar::ShowScrollBar(BOOL bShow) {
  if (GetSafeHwnd()) ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CBitmapScrollBar::EnableArrows(BOOL bFirst, BOOL bSecond) {
  m_bFirstEnabled = bFirst;
  m_bSecondEnabled = bSecond;
  Repaint();
}

void CBitmapScrollBar::Repaint() {
  if (!GetSafeHwnd()) return;
  Invalidate(FALSE);
  UpdateWindow();
}

void CBitmapScrollBar::RepaintThumbChange(const CRect& before) {
  if (!GetSafeHwnd()) return;
  CRect all;
  all.UnionRect(before, ThumbRect());
  if (all.IsRectEmpty()) return;
  InvalidateRect(&all, FALSE);
  UpdateWindow();
}

// ----- Painting -----

void CBitmapScrollBar::DrawPart(CDC* pDC, UINT part, int state, const CRect& rc, bool stretch) {
  const BITMAPINFO* pbi = m_pImages[part][state] ? m_pImages[part][state] : m_pImages[part][kNormal];
  if (!pbi || rc.IsRectEmpty()) return;
  if (stretch) {
    DrawDIB(pDC, pbi, rc.left, rc.top, rc.right, rc.bottom, TRUE, FALSE);
    return;
  }
  // Centred at its natural size.
  int cx = pbi->bmiHeader.biWidth, cy = std::abs(pbi->bmiHeader.biHeight);
  int x = rc.left + (rc.Width() - cx) / 2, y = rc.top + (rc.Height() - cy) / 2;
  CRect box(std::max(x, (int)rc.left), std::max(y, (int)rc.top), std::min(x + cx, (int)rc.right),
            std::min(y + cy, (int)rc.bottom));
  DrawDIB(pDC, pbi, box.left, box.top, box.right, box.bottom, FALSE, TRUE);
}

void CBitmapScrollBar::OnPaint() {
  CPaintDC dc(this);
  CBufferedPaint buffer(this, &dc);
  CDC& mem = *buffer.DC();
  mem.FillSolidRect(&buffer.Rect(), ::GetSysColor(COLOR_SCROLLBAR));
  bool enabled = IsWindowEnabled() != FALSE;
  bool vertical = IsVertical();

  // The background tiled along the bar.
  if (const BITMAPINFO* bg = m_pImages[skinbar::kTrack][kNormal]) {
    int step = vertical ? std::abs(bg->bmiHeader.biHeight) : bg->bmiHeader.biWidth;
    for (int at = 0; step > 0 && at < Length(); at += step) {
      CRect piece = AlongRect(at, at + step);
      DrawDIB(&mem, bg, piece.left, piece.top, piece.right, piece.bottom, TRUE, FALSE);
    }
  }
  skinbar::Thumb t = Thumb();
  if (t.Exists()) {
    int state = !enabled ? kDisabled : (m_bClicked || m_nActive) ? kPressed : m_nHover == kHoverThumb ? kHot : kNormal;
    CRect rcThumb = AlongRect(t.start, t.start + t.length);
    bool caps = m_pImages[skinbar::kStartCap][kNormal] && m_pImages[skinbar::kEndCap][kNormal];
    CRect body = rcThumb;
    if (caps) {
      int a = m_nPartSize[skinbar::kStartCap], b = m_nPartSize[skinbar::kEndCap];
      DrawPart(&mem, skinbar::kStartCap, state, AlongRect(t.start, t.start + a), true);
      DrawPart(&mem, skinbar::kEndCap, state, AlongRect(t.start + t.length - b, t.start + t.length), true);
      body = AlongRect(t.start + a, t.start + t.length - b);
    }
    DrawPart(&mem, skinbar::kBody, state, body, true);
    DrawPart(&mem, skinbar::kGrip, state, rcThumb, false);
  }
  int arrowState[2];
  bool arrowEnabled[2] = {m_bFirstEnabled != FALSE, m_bSecondEnabled != FALSE};
  for (int a = 0; a < 2; a++) {
    bool held = m_nActive == (a == 0 ? skinbar::kHoldFirst : skinbar::kHoldSecond);
    bool hot = m_nHover == (a == 0 ? kHoverFirst : kHoverSecond);
    arrowState[a] = held ? kPressed : hot ? kHot : kNormal;
    if ((!enabled || !arrowEnabled[a]) && m_pImages[a][kDisabled]) arrowState[a] = kDisabled;
  }
  DrawPart(&mem, skinbar::kFirstArrow, arrowState[0], AlongRect(0, TrackStart()), true);
  DrawPart(&mem, skinbar::kSecondArrow, arrowState[1], AlongRect(TrackEnd(), Length()), true);
}

void CBitmapScrollBar::OnEnable(BOOL) { Repaint(); }

// ----- Mouse -----

void CBitmapScrollBar::OnLButtonDown(UINT, CPoint pt) {
  int at = Along(pt);
  skinbar::Thumb t = Thumb();
  skinbar::Active part = skinbar::PartAt(at, Length(), TrackStart(), m_nPartSize[skinbar::kSecondArrow], t);
  if (part == skinbar::kHoldFirst || part == skinbar::kHoldSecond) {
    if (!(part == skinbar::kHoldFirst ? m_bFirstEnabled : m_bSecondEnabled)) return;
    m_nActive = part;
    SetCapture();
    Repaint();
    Tell(part == skinbar::kHoldFirst ? SB_LINEUP : SB_LINEDOWN);
    RepeatLoop();
    return;
  }
  m_bClicked = TRUE;
  if (part == skinbar::kNone) return;
  m_nActive = part;
  SetCapture();
  if (part == skinbar::kDragThumb) {
    m_ptDragStart = pt;
    m_rcDragThumb = AlongRect(t.start, t.start + t.length);
    m_nDragStartPos = m_si.nPos;
    m_nDragAt = at;
    Repaint();
    return;
  }
  Repaint();
  Tell(part == skinbar::kPageBefore ? SB_PAGEUP : SB_PAGEDOWN);
  RepeatLoop();
}

void CBitmapScrollBar::RepeatLoop() {
  auto dispatch = [] {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage((int)msg.wParam);
        return false;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
    return true;
  };
  MOUSEKEYS mk = {sizeof(mk)};
  ::SystemParametersInfo(SPI_GETMOUSEKEYS, sizeof(mk), &mk, 0);
  DWORD interval = mk.iMaxSpeed ? mk.iMaxSpeed : 30;
  // The button counts as held while the press holds a part (the button-up clears it).
  auto held = [this] { return ::IsWindow(m_hWnd) && m_nActive != skinbar::kNone && ::GetCapture() == m_hWnd; };
  bool ok = dispatch();
  for (int i = 0; ok && i < 5 && held(); i++) {
    ::Sleep(interval);
    ok = dispatch();
  }
  while (ok && held()) {
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    if (ThumbRect().PtInRect(cursor)) break;
    ::Sleep(interval);
    if (!held()) break;
    bool back = m_nActive == skinbar::kHoldFirst || m_nActive == skinbar::kPageBefore;
    Tell(back ? SB_PAGEUP : SB_PAGEDOWN);
    ok = dispatch();
  }
  if (!::IsWindow(m_hWnd)) return;
  m_nActive = skinbar::kNone;
  m_bClicked = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  Repaint();
}

void CBitmapScrollBar::OnLButtonUp(UINT, CPoint) {
  m_bClicked = FALSE;
  m_nActive = skinbar::kNone;
  m_ptDragStart = CPoint(-1, -1);
  m_nDragAt = -1;
  Repaint();
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CBitmapScrollBar::OnMouseMove(UINT, CPoint pt) {
  if (!m_bFirstEnabled && !m_bSecondEnabled) return;
  CRect rc;
  GetClientRect(&rc);
  bool dragging = m_nActive == skinbar::kDragThumb && m_ptDragStart.x >= 0;
  if (!rc.PtInRect(pt) && !dragging) {
    if (::GetCapture() == m_hWnd && m_nActive == skinbar::kNone) ::ReleaseCapture();
    if (m_nHover != kHoverNone) {
      m_nHover = kHoverNone;
      Repaint();
    }
    return;
  }
  if (::GetCapture() != m_hWnd) SetCapture();
  int at = Along(pt);
  skinbar::Thumb t = Thumb();
  skinbar::Active part = skinbar::PartAt(at, Length(), TrackStart(), m_nPartSize[skinbar::kSecondArrow], t);
  int hover = part == skinbar::kHoldFirst    ? kHoverFirst
              : part == skinbar::kHoldSecond ? kHoverSecond
              : part == skinbar::kDragThumb  ? kHoverThumb
                                             : kHoverNone;
  bool changed = hover != m_nHover;
  m_nHover = hover;
  if (dragging) {
    int pos;
    skinbar::Thumb still = skinbar::ThumbOf(TrackStart(), TrackEnd(), Range(), false, m_nPartSize[skinbar::kGrip]);
    int length =
        m_rcDragThumb.IsRectEmpty() ? still.length : (IsVertical() ? m_rcDragThumb.Height() : m_rcDragThumb.Width());
    m_nDragAt = at;
    if (skinbar::DragPosition(at, Along(m_ptDragStart), m_nDragStartPos, TrackStart(), TrackEnd(), length, Range(),
                              &pos))
      Tell(SB_THUMBTRACK, pos);
    changed = true;
  }
  if (changed) Repaint();
}
