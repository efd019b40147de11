// Scrolling views.
#include <fw/fw.h>

#include <climits>

AFX_SCROLLBARSTATE AFXAPI AfxScrollBarState(SIZE sizeTotal, SIZE sizeClient, SIZE sizeSb, POINT ptCurrent,
                                            BOOL bInsideClient) {
  AFX_SCROLLBARSTATE s;
  s.sizeRange.cx = sizeTotal.cx - sizeClient.cx;
  s.sizeRange.cy = sizeTotal.cy - sizeClient.cy;
  s.ptMove = ptCurrent;
  s.bNeedH = s.sizeRange.cx > 0;
  if (!s.bNeedH)
    s.ptMove.x = 0;
  else if (bInsideClient)
    s.sizeRange.cy += sizeSb.cy;  // the horizontal bar takes room from the height
  s.bNeedV = s.sizeRange.cy > 0;
  if (!s.bNeedV)
    s.ptMove.y = 0;
  else if (bInsideClient)
    s.sizeRange.cx += sizeSb.cx;
  if (s.bNeedV && !s.bNeedH && s.sizeRange.cx > 0) {
    // The vertical bar made the width too small after all.
    s.bNeedH = TRUE;
    s.sizeRange.cy += sizeSb.cy;
  }
  if (s.sizeRange.cx > 0 && s.ptMove.x >= s.sizeRange.cx) s.ptMove.x = s.sizeRange.cx;
  if (s.sizeRange.cy > 0 && s.ptMove.y >= s.sizeRange.cy) s.ptMove.y = s.sizeRange.cy;
  return s;
}

int AFXAPI AfxWheelScrollAmount(short zDelta, UINT nLinesPerNotch, int nLine, int nPage) {
  if (nLinesPerNotch == WHEEL_PAGESCROLL) return zDelta > 0 ? -nPage : nPage;
  // Lines per notch, never more than a page either way.
  int nDisplacement = ::MulDiv(-zDelta, (int)nLinesPerNotch, WHEEL_DELTA) * nLine;
  return std::max(-nPage, std::min(nDisplacement, nPage));
}

IMPLEMENT_DYNAMIC(CScrollView, CView)

const SIZE CScrollView::sizeDefault = {0, 0};

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CScrollView::CScrollView() : m_nMapMode(0), m_bCenter(TRUE), m_bInsideUpdate(FALSE) {}

CScrollView::~CScrollView() {}

// Logical to device units of a mapping mode (sizes come out positive).
static SIZE LogicalToDevice(int nMapMode, SIZE size) {
  if (nMapMode == MM_TEXT || nMapMode == 0) return size;
  HDC hdc = ::GetDC(nullptr);
  ::SetMapMode(hdc, nMapMode);
  POINT pt = {size.cx, size.cy};
  ::LPtoDP(hdc, &pt, 1);
  POINT org = {0, 0};
  ::LPtoDP(hdc, &org, 1);
  ::ReleaseDC(nullptr, hdc);
  SIZE out = {std::abs(pt.x - org.x), std::abs(pt.y - org.y)};
  return out;
}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
  int nOldMapMode = m_nMapMode;
  m_nMapMode = nMapMode;
  m_totalLog = sizeTotal;
  m_totalDev = LogicalToDevice(nMapMode, sizeTotal);
  m_pageDev = LogicalToDevice(nMapMode, sizePage);
  m_lineDev = LogicalToDevice(nMapMode, sizeLine);
  if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
  if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
  if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
  if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
  if (m_hWnd) {
    UpdateBars();
    if (nOldMapMode != m_nMapMode) Invalidate(TRUE);
  }
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const {
  nMapMode = m_nMapMode;
  sizeTotal = m_totalDev;
  sizePage = m_pageDev;
  sizeLine = m_lineDev;
}

CPoint CScrollView::GetDeviceScrollPosition() const {
  CPoint pt(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
  if (m_bCenter) {
    // A document smaller than the window sits in its middle: the origin is left of and
    // above the client's corner.
    CRect rect;
    GetClientRect(&rect);
    if (m_totalDev.cx < rect.Width()) pt.x = -((rect.Width() - m_totalDev.cx) / 2);
    if (m_totalDev.cy < rect.Height()) pt.y = -((rect.Height() - m_totalDev.cy) / 2);
  }
  return pt;
}

CPoint CScrollView::GetScrollPosition() const {
  CPoint pt = GetDeviceScrollPosition();
  if (m_nMapMode != MM_TEXT && m_nMapMode != 0) {
    HDC hdc = ::GetDC(nullptr);
    ::SetMapMode(hdc, m_nMapMode);
    ::DPtoLP(hdc, &pt, 1);
    ::ReleaseDC(nullptr, hdc);
  }
  return pt;
}

void CScrollView::ScrollToPosition(POINT pt) {
  if (m_nMapMode != MM_TEXT && m_nMapMode != 0) {
    HDC hdc = ::GetDC(nullptr);
    ::SetMapMode(hdc, m_nMapMode);
    ::LPtoDP(hdc, &pt, 1);
    ::ReleaseDC(nullptr, hdc);
  }
  int xMax = GetScrollLimit(SB_HORZ);
  int yMax = GetScrollLimit(SB_VERT);
  pt.x = std::max(0L, std::min(pt.x, (LONG)xMax));
  pt.y = std::max(0L, std::min(pt.y, (LONG)yMax));
  ScrollToDevicePosition(pt);
}

void CScrollView::ScrollToDevicePosition(POINT ptDev) {
  // A bar told its own position again still repaints under Wine.
  int xOrig = GetScrollPos(SB_HORZ);
  if (xOrig != ptDev.x) SetScrollPos(SB_HORZ, ptDev.x);
  int yOrig = GetScrollPos(SB_VERT);
  if (yOrig != ptDev.y) SetScrollPos(SB_VERT, ptDev.y);
  if (xOrig != ptDev.x || yOrig != ptDev.y) ScrollWindow(xOrig - ptDev.x, yOrig - ptDev.y);
}

void CScrollView::CheckScrollBars(BOOL& bHasHorzBar, BOOL& bHasVertBar) const {
  DWORD dwStyle = GetStyle();
  CWnd* pBar = reinterpret_cast<CWnd*>(GetScrollBarCtrl(SB_VERT));
  bHasVertBar = (pBar && pBar->IsWindowEnabled()) || (dwStyle & WS_VSCROLL);
  pBar = reinterpret_cast<CWnd*>(GetScrollBarCtrl(SB_HORZ));
  bHasHorzBar = (pBar && pBar->IsWindowEnabled()) || (dwStyle & WS_HSCROLL);
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  if (m_nMapMode != 0) pDC->SetMapMode(m_nMapMode);
  CPoint ptVpOrg = -GetDeviceScrollPosition();
  pDC->SetViewportOrg(ptVpOrg);
  CView::OnPrepareDC(pDC, pInfo);
}

void CScrollView::FillOutsideRect(CDC* pDC, CBrush* pBrush) {
  CRect rect;
  GetClientRect(&rect);
  CPoint ptOrg = -GetDeviceScrollPosition();
  CRect rectDoc(ptOrg, CSize(m_totalDev));
  // The parts of the client right of and below the document.
  CRect right(std::max(rectDoc.right, rect.left), rect.top, rect.right, rect.bottom);
  CRect below(rect.left, std::max(rectDoc.bottom, rect.top), std::min(rectDoc.right, rect.right), rect.bottom);
  int nSaved = ::SaveDC(pDC->GetSafeHdc());
  ::SetViewportOrgEx(pDC->GetSafeHdc(), 0, 0, nullptr);
  ::SetMapMode(pDC->GetSafeHdc(), MM_TEXT);
  if (!right.IsRectEmpty()) ::FillRect(pDC->GetSafeHdc(), &right, (HBRUSH)pBrush->GetSafeHandle());
  if (!below.IsRectEmpty()) ::FillRect(pDC->GetSafeHdc(), &below, (HBRUSH)pBrush->GetSafeHandle());
  ::RestoreDC(pDC->GetSafeHdc(), nSaved);
}

void CScrollView::ResizeParentToFit(BOOL bShrinkOnly) {
  CFrameWnd* pFrame = GetParentFrame();
  if (!pFrame) return;
  CRect rectClient;
  GetWindowRect(&rectClient);
  CRect rect = rectClient;
  CalcWindowRect(&rect);
  rectClient.left += rectClient.left - rect.left;
  rectClient.top += rectClient.top - rect.top;
  rectClient.right = rectClient.left + m_totalDev.cx;
  rectClient.bottom = rectClient.top + m_totalDev.cy;
  pFrame->ScreenToClient(&rectClient);
  pFrame->CalcWindowRect(&rectClient);
  CSize size = rectClient.Size();
  if (bShrinkOnly) {
    CRect rectFrame;
    pFrame->GetWindowRect(&rectFrame);
    size.cx = std::min(size.cx, (LONG)rectFrame.Width());
    size.cy = std::min(size.cy, (LONG)rectFrame.Height());
  }
  pFrame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CScrollView::GetScrollBarSizes(CSize& sizeSb) {
  sizeSb.cx = sizeSb.cy = 0;
  DWORD dwStyle = GetStyle();
  if (!GetScrollBarCtrl(SB_VERT)) {
    sizeSb.cx = ::GetSystemMetrics(SM_CXVSCROLL);
    if (dwStyle & WS_BORDER) sizeSb.cx -= 1;
  }
  if (!GetScrollBarCtrl(SB_HORZ)) {
    sizeSb.cy = ::GetSystemMetrics(SM_CYHSCROLL);
    if (dwStyle & WS_BORDER) sizeSb.cy -= 1;
  }
}

BOOL CScrollView::GetTrueClientSize(CSize& size, CSize& sizeSb) {
  CRect rect;
  GetClientRect(&rect);
  size.cx = rect.right;
  size.cy = rect.bottom;
  DWORD dwStyle = GetStyle();
  GetScrollBarSizes(sizeSb);
  // The client as it would be without the bars that are on now.
  if (sizeSb.cx != 0 && (dwStyle & WS_VSCROLL)) size.cx += sizeSb.cx;
  if (sizeSb.cy != 0 && (dwStyle & WS_HSCROLL)) size.cy += sizeSb.cy;
  return size.cx > sizeSb.cx && size.cy > sizeSb.cy;
}

void CScrollView::UpdateBars() {
  // Showing or hiding a bar resizes the window, which comes back here.
  if (m_bInsideUpdate) return;
  m_bInsideUpdate = TRUE;
  CSize sizeClient, sizeSb;
  if (!GetTrueClientSize(sizeClient, sizeSb)) {
    CRect rect;
    GetClientRect(&rect);
    if (rect.right > 0 && rect.bottom > 0) EnableScrollBarCtrl(SB_BOTH, FALSE);
    m_bInsideUpdate = FALSE;
    return;
  }
  CPoint ptCurrent(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
  AFX_SCROLLBARSTATE s = AfxScrollBarState(m_totalDev, sizeClient, sizeSb, ptCurrent, TRUE);
  if (s.bNeedH) sizeClient.cy -= sizeSb.cy;
  if (s.bNeedV) sizeClient.cx -= sizeSb.cx;
  ScrollToDevicePosition(s.ptMove);
  EnableScrollBarCtrl(SB_HORZ, s.bNeedH);
  if (s.bNeedH) SetScrollPageAndRange(SB_HORZ, sizeClient.cx, m_totalDev.cx - 1);
  EnableScrollBarCtrl(SB_VERT, s.bNeedV);
  if (s.bNeedV) SetScrollPageAndRange(SB_VERT, sizeClient.cy, m_totalDev.cy - 1);
  m_bInsideUpdate = FALSE;
}

void CScrollView::SetScrollPageAndRange(int nBar, int nPage, int nMax) {
  // Under Wine every redrawing SetScrollInfo repaints the bar, changed or not: a layout
  // that runs often would pay for it each time.
  SCROLLINFO info = {};
  if (GetScrollInfo(nBar, &info, SIF_PAGE | SIF_RANGE) && info.nMin == 0 && info.nMax == nMax &&
      info.nPage == (UINT)nPage)
    return;
  info.fMask = SIF_PAGE | SIF_RANGE;
  info.nMin = 0;
  info.nPage = (UINT)nPage;
  info.nMax = nMax;
  SetScrollInfo(nBar, &info, TRUE);
}

void CScrollView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  UpdateBars();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  HWND hWndBar = reinterpret_cast<CWnd*>(pScrollBar)->GetSafeHwnd();
  if (hWndBar && ReflectLastMsg(hWndBar)) return;  // a control of ours that scrolls itself
  if (hWndBar != reinterpret_cast<CWnd*>(GetScrollBarCtrl(SB_HORZ))->GetSafeHwnd()) return;
  OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  HWND hWndBar = reinterpret_cast<CWnd*>(pScrollBar)->GetSafeHwnd();
  if (hWndBar && ReflectLastMsg(hWndBar)) return;
  if (hWndBar != reinterpret_cast<CWnd*>(GetScrollBarCtrl(SB_VERT))->GetSafeHwnd()) return;
  OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

// The position a scroll-bar code leads to (INT_MAX: the end; OnScrollBy clamps).
static int ScrolledPos(int nPos, BYTE nCode, UINT nThumb, int nLine, int nPage) {
  switch (nCode) {
    case SB_TOP: return 0;
    case SB_BOTTOM: return INT_MAX;
    case SB_LINEUP: return nPos - nLine;
    case SB_LINEDOWN: return nPos + nLine;
    case SB_PAGEUP: return nPos - nPage;
    case SB_PAGEDOWN: return nPos + nPage;
    case SB_THUMBTRACK: return (int)nThumb;
    default: return nPos;
  }
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll) {
  // Low byte: horizontal code, high byte: vertical code (0xFF: none).
  int xOrig = GetScrollPos(SB_HORZ);
  int x = ScrolledPos(xOrig, LOBYTE(nScrollCode), nPos, m_lineDev.cx, m_pageDev.cx);
  int yOrig = GetScrollPos(SB_VERT);
  int y = ScrolledPos(yOrig, HIBYTE(nScrollCode), nPos, m_lineDev.cy, m_pageDev.cy);
  // INT_MAX - xOrig cannot overflow: positions are never negative.
  BOOL bResult = OnScrollBy(CSize(x - xOrig, y - yOrig), bDoScroll);
  if (bResult && bDoScroll) UpdateWindow();
  return bResult;
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll) {
  BOOL bHasH, bHasV;
  CheckScrollBars(bHasH, bHasV);
  if (!bHasV) sizeScroll.cy = 0;
  if (!bHasH) sizeScroll.cx = 0;
  int xOrig = GetScrollPos(SB_HORZ);
  int x = (int)std::max(0LL, std::min((long long)xOrig + sizeScroll.cx, (long long)GetScrollLimit(SB_HORZ)));
  int yOrig = GetScrollPos(SB_VERT);
  int y = (int)std::max(0LL, std::min((long long)yOrig + sizeScroll.cy, (long long)GetScrollLimit(SB_VERT)));
  if (x == xOrig && y == yOrig) return FALSE;
  if (bDoScroll) {
    ScrollWindow(-(x - xOrig), -(y - yOrig));
    if (x != xOrig) SetScrollPos(SB_HORZ, x);
    if (y != yOrig) SetScrollPos(SB_VERT, y);
  }
  return TRUE;
}

BOOL CScrollView::OnMouseWheel(UINT fFlags, short zDelta, CPoint point) {
  if (fFlags & (MK_SHIFT | MK_CONTROL)) return FALSE;  // zoom and the like are the program's
  return DoMouseWheel(fFlags, zDelta, point);
}

BOOL CScrollView::DoMouseWheel(UINT, short zDelta, CPoint) {
  BOOL bHasH, bHasV;
  CheckScrollBars(bHasH, bHasV);
  if (!bHasH && !bHasV) return FALSE;
  UINT nLines = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
  BOOL bResult;
  if (bHasV)
    bResult = OnScrollBy(CSize(0, AfxWheelScrollAmount(zDelta, nLines, m_lineDev.cy, m_pageDev.cy)), TRUE);
  else
    bResult = OnScrollBy(CSize(AfxWheelScrollAmount(zDelta, nLines, m_lineDev.cx, m_pageDev.cx), 0), TRUE);
  if (bResult) UpdateWindow();
  return bResult;
}

// ----- CFormView -----

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
  ON_WM_CREATE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_INITDIALOG, &CFormView::HandleInitDialog)
END_MESSAGE_MAP()

CFormView::CFormView(LPCSTR lpszTemplateName)
    : m_lpszTemplateName(lpszTemplateName), m_pCreateContext(nullptr), m_hWndFocus(nullptr) {}

CFormView::CFormView(UINT nIDTemplate)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pCreateContext(nullptr), m_hWndFocus(nullptr) {}

CFormView::~CFormView() {}

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD dwRequestedStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext) {
  m_pCreateContext = pContext;
  CREATESTRUCT cs = {};
  if (dwRequestedStyle == 0) dwRequestedStyle = AFX_WS_DEFAULT_VIEW;
  cs.style = dwRequestedStyle;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();  // like any view that failed to be made
    return FALSE;
  }
  if (!CreateDlg(m_lpszTemplateName, pParentWnd)) return FALSE;
  m_pCreateContext = nullptr;
  // The template's style, with the border the caller asked for.
  ModifyStyle(WS_BORDER | WS_CAPTION, cs.style & (WS_BORDER | WS_CAPTION));
  ModifyStyleEx(WS_EX_CLIENTEDGE, cs.dwExStyle & WS_EX_CLIENTEDGE);
  SetDlgCtrlID((int)nID);
  // The form's size is the template's: callers read it right away (GetTotalSize).
  CRect rectTemplate;
  GetWindowRect(&rectTemplate);
  SetScrollSizes(MM_TEXT, rectTemplate.Size());
  SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (dwRequestedStyle & WS_VISIBLE) ShowWindow(SW_NORMAL);
  return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpcs) {
  // A dialog's creation parameters are not a context: use the one Create kept.
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (m_pCreateContext && m_pCreateContext->m_pCurrentDoc) m_pCreateContext->m_pCurrentDoc->AddView(this);
  return 0;
}

LRESULT CFormView::HandleInitDialog(WPARAM, LPARAM) {
  Default();
  return FALSE;  // the view decides where the focus goes
}

void CFormView::OnInitialUpdate() {
  UpdateData(FALSE);
  CScrollView::OnInitialUpdate();
}

void CFormView::OnDraw(CDC*) {}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
  if (CScrollView::PreTranslateMessage(pMsg)) return TRUE;
  // Dialog keys only for the form and its controls, not for nested views.
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  for (HWND h = pMsg->hwnd; h && h != m_hWnd; h = ::GetParent(h)) {
    if (DYNAMIC_DOWNCAST(CView, CWnd::FromHandlePermanent(h))) return FALSE;
  }
  return PreTranslateInput(pMsg);
}

BOOL CFormView::SaveFocusControl() {
  HWND hWndFocus = ::GetFocus();
  if (hWndFocus && ::IsChild(m_hWnd, hWndFocus)) {
    m_hWndFocus = hWndFocus;
    return TRUE;
  }
  return FALSE;
}

void CFormView::OnActivateFrame(UINT nState, CFrameWnd*) {
  if (nState == WA_INACTIVE) SaveFocusControl();
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (SaveFocusControl()) return;  // a control of the form has the focus already
  CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnSetFocus(CWnd*) {
  // The focus goes back to the control that had it, else to the first tab stop.
  if (!::IsWindow(m_hWndFocus) || !::IsChild(m_hWnd, m_hWndFocus)) {
    m_hWndFocus = nullptr;
    HWND hFirst = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (hFirst && ::IsChild(m_hWnd, hFirst)) m_hWndFocus = hFirst;
  }
  if (m_hWndFocus) ::SetFocus(m_hWndFocus);
}
