// The movie position slider: bitmaps, painting, mouse, wheel and keys.
#include "MovieCtrlBar.h"

#include <algorithm>

#include "SkinCtrlWnd.h"

IMPLEMENT_DYNAMIC(CMovieCtrlBar, CSliderCtrl)

BEGIN_MESSAGE_MAP(CMovieCtrlBar, CSliderCtrl)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEHOVER()
  ON_WM_MOUSELEAVE()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_WM_TIMER()
  ON_WM_ENABLE()
  ON_WM_SIZE()
  ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace {
enum { kDisabledBmp = 0, kPressedBmp, kHotBmp, kNormalBmp };
enum { kRightBmp = 0, kLeftBmp, kMiddleBmp };

CBitmap* Load(UINT id, bool* ok) {
  if (!id) return nullptr;
  CBitmap* p = new CBitmap;
  if (!p->LoadBitmap(id)) {
    delete p;
    *ok = false;
    return nullptr;
  }
  return p;
}

CSize SizeOf(CBitmap* p) {
  BITMAP bm = {};
  if (p) p->GetBitmap(&bm);
  return CSize(bm.bmWidth, bm.bmHeight);
}
}  // namespace

CMovieCtrlBar::CMovieCtrlBar()
    : m_bTracking(FALSE),
      m_bHovering(FALSE),
      m_nTicFreq(1),
      m_nThumbState(kNormal),
      m_ptDrag(0, 0),
      m_szThumb(0, 0),
      m_cxDrawing(0),
      m_cyChannel(0),
      m_rcChannel(0, 0, 0, 0),
      m_yThumbBand(0) {
  for (auto& p : m_pThumb) p = nullptr;
  for (auto& p : m_pChannel) p = nullptr;
}

CMovieCtrlBar::~CMovieCtrlBar() {
  FreeBitmaps(m_pThumb, 4);
  FreeBitmaps(m_pChannel, 3);
}

void CMovieCtrlBar::FreeBitmaps(CBitmap** pp, int n) {
  for (int i = 0; i < n; i++) {
    delete pp[i];
    pp[i] = nullptr;
  }
}

BOOL CMovieCtrlBar::SetChannelBitmaps(UINT middle, UINT left, UINT right) {
  FreeBitmaps(m_pChannel, 3);
  if (!middle) return FALSE;
  bool ok = true;
  m_pChannel[kMiddleBmp] = Load(middle, &ok);
  if (!left && !right) {
    CSize s = SizeOf(m_pChannel[kMiddleBmp]);
    m_cxDrawing = s.cx;
    m_cyChannel = s.cy;
    if (m_rcChannel.IsRectEmpty()) m_rcChannel = CRect(0, 0, s.cx, s.cy);
  } else {
    m_pChannel[kLeftBmp] = Load(left, &ok);
    m_pChannel[kRightBmp] = Load(right, &ok);
    m_cxDrawing = 0;
    m_cyChannel = 0;
    for (CBitmap* p : m_pChannel) {
      CSize s = SizeOf(p);
      m_cxDrawing += s.cx;
      m_cyChannel = std::max(m_cyChannel, (int)s.cy);
    }
    if (m_rcChannel.Width() <= 0 || m_rcChannel.Height() <= 0) m_rcChannel = CRect(0, 0, m_cxDrawing, m_cyChannel);
  }
  if (GetSafeHwnd()) SetWindowPos(nullptr, 0, 0, m_cxDrawing, m_cyChannel, SWP_NOMOVE | SWP_NOZORDER);
  return ok;
}

BOOL CMovieCtrlBar::SetThumbBitmaps(UINT normal, UINT pressed, UINT hot, UINT disabled) {
  FreeBitmaps(m_pThumb, 4);
  bool ok = true;
  m_pThumb[kNormalBmp] = Load(normal, &ok);
  m_pThumb[kPressedBmp] = Load(pressed, &ok);
  m_pThumb[kHotBmp] = Load(hot, &ok);
  m_pThumb[kDisabledBmp] = Load(disabled, &ok);
  m_szThumb = SizeOf(m_pThumb[kNormalBmp]);
  if (m_szThumb.cy <= m_cyChannel) m_yThumbBand = (m_cyChannel - m_szThumb.cy) / 2;
  return ok && normal;
}

BOOL CMovieCtrlBar::SetChannelRect(RECT rc) {
  if (rc.top < 0 || rc.bottom < m_cyChannel) return FALSE;
  bool allThree = m_pChannel[0] && m_pChannel[1] && m_pChannel[2];
  if (!allThree && (rc.left < 0 || rc.right > m_cxDrawing)) return FALSE;
  m_rcChannel = rc;
  if (m_tip.GetSafeHwnd()) m_tip.SetToolRect(this, 1, &m_rcChannel);
  return TRUE;
}

moviebar::Track CMovieCtrlBar::Track() const {
  moviebar::Track t = {m_rcChannel, (int)m_szThumb.cx, 0, 0};
  if (GetSafeHwnd()) GetRange(t.min, t.max);
  return t;
}

CRect CMovieCtrlBar::ThumbRect() const {
  CRect rc(0, 0, 0, 0);
  if (!GetSafeHwnd()) return rc;
  GetClientRect(&rc);
  int left = moviebar::ThumbLeft(Track(), GetPos(), rc.Width());
  int top = rc.Height() < m_szThumb.cy ? 0 : m_yThumbBand;
  return CRect(left, top, left + m_szThumb.cx, top + m_szThumb.cy);
}

void CMovieCtrlBar::GetThumbRect(RECT* prc) const { *prc = ThumbRect(); }

int CMovieCtrlBar::GetStepWidth() const { return moviebar::StepWidth(Track()); }
double CMovieCtrlBar::PosToOffset(int pos) const { return moviebar::PosToOffset(Track(), pos); }
int CMovieCtrlBar::PosToCenter(int pos) const { return moviebar::PosToCenter(Track(), pos); }

int CMovieCtrlBar::HitTestPos(int x, int, BOOL bClamp) const {
  return moviebar::HitTestPos(Track(), x, bClamp != FALSE);
}

bool CMovieCtrlBar::CursorOnThumb() const {
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  return ThumbRect().PtInRect(pt) != FALSE;
}

void CMovieCtrlBar::SetThumbState(int state) {
  if (state == m_nThumbState) return;
  m_nThumbState = state;
  CRect rc = ThumbRect();
  InvalidateRect(&rc, FALSE);
}

void CMovieCtrlBar::SetPos(int pos) {
  CSliderCtrl::SetPos(pos);
  m_nThumbState = CursorOnThumb() ? kHot : kNormal;
  Invalidate(FALSE);
  UpdateWindow();
}

void CMovieCtrlBar::SetTicFreq(int freq) {
  m_nTicFreq = freq;
  CSliderCtrl::SetTicFreq(freq);
}

void CMovieCtrlBar::ActivateToolTip(BOOL bActivate) {
  if (m_tip.GetSafeHwnd()) m_tip.Activate(bActivate);
}

void CMovieCtrlBar::SetWindowText(LPCSTR lpszText) {
  if (m_tip.GetSafeHwnd()) m_tip.UpdateTipText(lpszText, this, 1);
  CSliderCtrl::SetWindowText(lpszText);
}

void CMovieCtrlBar::DrawTic(CDC* pDC, int pos, int length) {
  int x = PosToCenter(pos);
  if (x < 0) return;
  COLORREF color = IsWindowEnabled() ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT);
  DWORD style = GetStyle();
  int top = m_yThumbBand, bottom = m_yThumbBand + m_szThumb.cy;
  if (style & TBS_BOTH) {
    pDC->FillSolidRect(x, top - 1 - length, 1, length, color);
    pDC->FillSolidRect(x, bottom + 1, 1, length, color);
  } else if (style & TBS_TOP) {
    pDC->FillSolidRect(x, top - 1 - length, 1, length, color);
  } else {
    pDC->FillSolidRect(x, bottom + 1, 1, length, color);
  }
}

BOOL CMovieCtrlBar::PreCreateWindow(CREATESTRUCT& cs) {
  if (m_cxDrawing && m_cyChannel) cs.cx = m_cxDrawing, cs.cy = m_cyChannel;
  return CSliderCtrl::PreCreateWindow(cs);
}

BOOL CMovieCtrlBar::PreTranslateMessage(MSG* pMsg) {
  if (m_tip.GetSafeHwnd()) m_tip.RelayEvent(pMsg);
  if (!IsWindowEnabled()) {
    switch (pMsg->message) {
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_MOUSEMOVE:
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_LBUTTONDBLCLK:
      case WM_MOUSEWHEEL:
      case WM_MOUSEHOVER:
      case WM_MOUSELEAVE: return TRUE;
    }
  }
  return CSliderCtrl::PreTranslateMessage(pMsg);
}

int CMovieCtrlBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CSliderCtrl::OnCreate(lpcs) == -1) return -1;
  CString text;
  GetWindowText(text);
  if (!text.IsEmpty() && m_tip.Create(this, TTS_ALWAYSTIP)) m_tip.AddTool(this, text, &m_rcChannel, 1);
  return 0;
}

void CMovieCtrlBar::Post(UINT code, int pos) {
  if (CWnd* pParent = GetParent()) pParent->PostMessage(WM_HSCROLL, MAKEWPARAM(code, (WORD)pos), (LPARAM)m_hWnd);
}

void CMovieCtrlBar::RepaintThumb(const CRect& before) {
  CRect all;
  all.UnionRect(before, ThumbRect());
  InvalidateRect(&all, FALSE);
}

void CMovieCtrlBar::OnPaint() {
  CPaintDC dc(this);
  CBufferedPaint buffer(this, &dc);
  CDC& mem = *buffer.DC();
  mem.FillSolidRect(&buffer.Rect(), RGB(0, 0, 0));
  if (m_pChannel[kMiddleBmp] && !m_pChannel[kLeftBmp] && !m_pChannel[kRightBmp]) {
    DrawBitmap(&mem, m_pChannel[kMiddleBmp], 0, 0, m_cxDrawing, m_cyChannel, TRUE, FALSE);
  } else if (m_pChannel[kMiddleBmp]) {
    CSize left = SizeOf(m_pChannel[kLeftBmp]), right = SizeOf(m_pChannel[kRightBmp]);
    CSize middle = SizeOf(m_pChannel[kMiddleBmp]);
    int rightX = m_cxDrawing - right.cx;
    if (rightX < left.cx) rightX = left.cx;  // narrower than the pieces: the right end after the left
    DrawBitmap(&mem, m_pChannel[kLeftBmp], 0, 0, left.cx, left.cy, FALSE, FALSE);
    for (int x = left.cx; middle.cx > 0 && x < rightX; x += middle.cx)
      DrawBitmap(&mem, m_pChannel[kMiddleBmp], x, 0, std::min(x + (int)middle.cx, rightX), middle.cy, FALSE, FALSE);
    DrawBitmap(&mem, m_pChannel[kRightBmp], rightX, 0, rightX + right.cx, right.cy, FALSE, FALSE);
  }
  OnDrawChannel(&mem);
  if (m_pThumb[kNormalBmp]) {
    static const int bitmapOfState[] = {kDisabledBmp, kNormalBmp, kHotBmp, kPressedBmp};
    CBitmap* p = m_pThumb[bitmapOfState[m_nThumbState & 3]];
    if (!p) p = m_pThumb[kNormalBmp];
    CRect t = ThumbRect();
    DrawBitmap(&mem, p, t.left, t.top, t.right, t.bottom, FALSE, FALSE);
  }
}

void CMovieCtrlBar::OnLButtonDown(UINT nFlags, CPoint pt) {
  // Presses already queued count as this one: the latest point wins.
  MSG msg;
  while (::PeekMessage(&msg, m_hWnd, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE)) {
    pt = CPoint((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
    nFlags = (UINT)msg.wParam;
    ::PeekMessage(&msg, m_hWnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE);
  }
  SetFocus();
  if (!IsWindowEnabled()) return;
  CRect thumb = ThumbRect();
  bool onThumb = thumb.PtInRect(pt) != FALSE;
  if (onThumb) {
    m_ptDrag = thumb.CenterPoint();
    Post(SB_THUMBTRACK, GetPos());
  } else if (pt.x >= m_rcChannel.left && pt.x <= m_rcChannel.right) {
    m_ptDrag = CPoint(0, 0);
    int pos = HitTestPos(pt.x, pt.y, FALSE);
    int min, max;
    GetRange(min, max);
    if (pos != GetPos() && pos >= min && pos <= max) {
      CSliderCtrl::SetPos(pos);
      RepaintThumb(thumb);
      Post(SB_THUMBPOSITION, pos);
      Post(SB_ENDSCROLL);
    }
  }
  SetThumbState(onThumb ? kPressed : kNormal);
  if (onThumb) SetCapture();
}

void CMovieCtrlBar::OnMouseMove(UINT nFlags, CPoint pt) {
  if (!IsWindowEnabled()) return;
  if (!m_bTracking) {
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, 1};
    m_bTracking = ::TrackMouseEvent(&tme);
  }
  bool button = (nFlags & MK_LBUTTON) != 0;
  if (button && m_nThumbState == kPressed) {
    int pos = HitTestPos(pt.x, pt.y, TRUE);
    int min, max;
    GetRange(min, max);
    if (pos != GetPos() && pos >= min) {
      CRect before = ThumbRect();
      CSliderCtrl::SetPos(pos);
      RepaintThumb(before);
    }
    m_ptDrag = ThumbRect().CenterPoint();
    Post(SB_THUMBTRACK, GetPos());
    if (m_ptDrag != CPoint(0, 0) && ::GetCapture() != m_hWnd) SetCapture();
  }
  bool dragging = button && m_ptDrag != CPoint(0, 0);
  if (button && m_nThumbState == kPressed)
    SetThumbState(kPressed);
  else if (ThumbRect().PtInRect(pt))
    SetThumbState(kHot);
  else if (!dragging)
    SetThumbState(kNormal);
  if (button && m_ptDrag == CPoint(0, 0) && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  UpdateWindow();
}

void CMovieCtrlBar::OnLButtonUp(UINT, CPoint pt) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_ptDrag != CPoint(0, 0)) {
    Post(SB_THUMBPOSITION, GetPos());
    Post(SB_ENDSCROLL);
  }
  m_ptDrag = CPoint(0, 0);
  SetThumbState(ThumbRect().PtInRect(pt) ? kHot : kNormal);
}

void CMovieCtrlBar::OnMouseHover(UINT, CPoint) { m_bHovering = TRUE; }

void CMovieCtrlBar::OnMouseLeave() {
  m_bTracking = FALSE;
  m_bHovering = FALSE;
  if (m_tip.GetSafeHwnd()) m_tip.Pop();
  if (IsWindowEnabled()) SetThumbState(CursorOnThumb() ? kHot : kNormal);
}

BOOL CMovieCtrlBar::OnMouseWheel(UINT nFlags, short delta, CPoint pt) {
  if (m_tip.GetSafeHwnd()) m_tip.Pop();
  if (!IsWindowEnabled()) return TRUE;
  int min, max;
  GetRange(min, max);
  int pos = moviebar::WheelPos(GetPos(), delta, min, max);
  if (pos != GetPos()) {
    CRect before = ThumbRect();
    CSliderCtrl::SetPos(pos);
    RepaintThumb(before);
    m_ptDrag = ThumbRect().CenterPoint();
    UpdateWindow();
    if (CWnd* pParent = GetParent())
      pParent->PostMessage(WM_MOUSEWHEEL, MAKEWPARAM(nFlags, (WORD)delta), MAKELPARAM(pt.x, pt.y));
  }
  return TRUE;
}

void CMovieCtrlBar::OnKeyDown(UINT nChar, UINT, UINT) {
  if (!IsWindowEnabled()) return;
  int min, max;
  GetRange(min, max);
  moviebar::KeyStep step;
  if (moviebar::KeyStepOf(nChar, GetPos(), min, max, GetPageSize(), GetLineSize(), &step)) {
    CRect before = ThumbRect();
    CSliderCtrl::SetPos(step.pos);
    RepaintThumb(before);
    Post(step.code);
  }
  if (m_ptDrag == CPoint(0, 0)) SetThumbState(CursorOnThumb() ? kHot : kNormal);
}

void CMovieCtrlBar::OnTimer(UINT_PTR id) {
  if (id != 1) return;
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  OnMouseMove(MK_LBUTTON, pt);
}

void CMovieCtrlBar::OnEnable(BOOL bEnable) {
  Default();
  SetThumbState(!bEnable ? kDisabled : CursorOnThumb() ? kHot : kNormal);
}

void CMovieCtrlBar::OnSize(UINT nType, int cx, int cy) {
  CSliderCtrl::OnSize(nType, cx, cy);
  if (cx && cy) m_cxDrawing = cx;
}
