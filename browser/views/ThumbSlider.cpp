// The thumbnail-size slider.
#include "ThumbSlider.h"

#include <VxResourceIds.h>

IMPLEMENT_DYNAMIC(CThumbSlider, CWnd)

BEGIN_MESSAGE_MAP(CThumbSlider, CWnd)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  // mouse
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_MOUSELEAVE, &CThumbSlider::OnMouseLeave)
END_MESSAGE_MAP()

CThumbSlider::CThumbSlider()
    : m_nPosition(0), m_bCaptured(FALSE), m_bDragging(FALSE), m_nThumbState(kNormal), m_bTracking(FALSE) {
  m_rcThumb = thumbslider::ThumbRect(0);
}

CThumbSlider::~CThumbSlider() {}

BOOL CThumbSlider::Create(CWnd* pParent, const POINT& pt, UINT nID) {
  CRect rc(pt, CSize(thumbslider::kWidth, thumbslider::kHeight));
  return CWnd::Create(AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), nullptr,
                      WS_CHILD | WS_VISIBLE, rc, pParent, nID);
}

int CThumbSlider::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  static const UINT thumbs[4] = {IDB_SLIDER_THUMB_DISABLED, IDB_SLIDER_THUMB_HOT, IDB_SLIDER_THUMB,
                                 IDB_SLIDER_THUMB_PRESSED};
  CBitmap bmp;
  if (bmp.LoadBitmap(IDB_SLIDER_TRACK)) m_brTrack.CreatePatternBrush(&bmp);
  for (int i = 0; i < 4; i++) {
    CBitmap thumb;
    if (thumb.LoadBitmap(thumbs[i])) m_brThumb[i].CreatePatternBrush(&thumb);
  }
  SetWindowPos(nullptr, 0, 0, thumbslider::kWidth, thumbslider::kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_rcThumb = thumbslider::ThumbRect(m_nPosition);
  return 0;
}

BOOL CThumbSlider::SetPosition(int position) {
  // A position from elsewhere (profile, document) is checked both ways.
  if (position < 0 || position >= thumbslider::kPositions) return FALSE;
  MoveTo(position, false);
  return TRUE;
}

void CThumbSlider::MoveTo(int position, bool notify) {
  m_nPosition = position;
  m_rcThumb = thumbslider::ThumbRect(position);
  Repaint();
  if (notify) {
    if (CWnd* pParent = GetParent()) pParent->PostMessage(WM_THUMBSLIDER_POSITION, (WPARAM)position, 0);
  }
}

void CThumbSlider::SetThumbState(int state) {
  if (m_nThumbState == state) return;
  m_nThumbState = state;
  Repaint();
}

void CThumbSlider::Repaint() {
  if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ----- drawing -----

BOOL CThumbSlider::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(216, 216, 216));
  return TRUE;
}

void CThumbSlider::OnPaint() {
  CPaintDC dc(this);
  if (m_brTrack.GetSafeHandle()) dc.FillRect(CRect(0, 0, thumbslider::kWidth, thumbslider::kHeight), &m_brTrack);
  int face = m_nThumbState == kHot ? 1 : m_nThumbState == kPressed ? 3 : 2;
  if (m_brThumb[face].GetSafeHandle()) {
    dc.SetBrushOrg(m_rcThumb.left, m_rcThumb.top);
    dc.FillRect(m_rcThumb, &m_brThumb[face]);
  }
}

// ----- mouse -----

void CThumbSlider::OnLButtonDown(UINT, CPoint pt) {
  SetCapture();
  m_bCaptured = TRUE;
  if (InThumbColumn(pt.x)) {
    m_bDragging = TRUE;
    m_nThumbState = kPressed;
  } else if (thumbslider::OnTrack(pt.x)) {
    int position = thumbslider::PositionAt(pt.x);
    if (position != m_nPosition) MoveTo(position, true);
  }
  Repaint();
}

void CThumbSlider::OnMouseMove(UINT, CPoint pt) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    m_bTracking = ::TrackMouseEvent(&tme);
    Repaint();
  }
  if (m_bDragging) {
    int position = thumbslider::PositionAt(pt.x);
    if (position != m_nPosition) MoveTo(position, true);
    return;
  }
  SetThumbState(InThumbColumn(pt.x) ? kHot : kNormal);
}

void CThumbSlider::OnLButtonUp(UINT, CPoint pt) {
  if (m_bCaptured) ::ReleaseCapture();
  m_bCaptured = FALSE;
  m_bDragging = FALSE;
  m_nThumbState = -1;  // force the repaint below
  SetThumbState(InThumbColumn(pt.x) ? kHot : kNormal);
}

LRESULT CThumbSlider::OnMouseLeave(WPARAM, LPARAM) {
  m_bTracking = FALSE;
  if (!(::GetKeyState(VK_LBUTTON) & 0x8000)) m_nThumbState = kNormal;
  Repaint();
  return 0;
}
