// The static splitter: layout, drawing, hit testing and tracking of its bars.
#include <fw/fw.h>

#include <climits>

void AFXAPI AfxSplitterLayout(CSplitterWnd::CRowColInfo* pInfo, int nCount, int nSize, int nGap) {
  if (nCount <= 0) return;
  if (nSize < 0) nSize = 0;
  for (int i = 0; i < nCount - 1; i++) {
    if (pInfo[i].nIdealSize < pInfo[i].nMinSize) pInfo[i].nIdealSize = 0;  // folded
    pInfo[i].nCurSize = pInfo[i].nIdealSize;
  }
  pInfo[nCount - 1].nCurSize = INT_MAX;  // the last one takes the rest
  int nLeft = nSize;
  for (int i = 0; i < nCount; i++) {
    CSplitterWnd::CRowColInfo& info = pInfo[i];
    if (nLeft == 0) {
      info.nCurSize = 0;
      continue;
    }
    if (i != 0 && nLeft < info.nMinSize) {
      // Too little for this pane: the one before gets its room.
      info.nCurSize = 0;
      pInfo[i - 1].nCurSize += nLeft;
      nLeft = 0;
      continue;
    }
    if (info.nCurSize > nLeft) {
      info.nCurSize = nLeft;
      nLeft = 0;
    } else {
      nLeft -= info.nCurSize;
    }
    if (i != nCount - 1) {
      // The bar after this pane always stays in view, if need be at the pane's cost.
      if (nLeft >= nGap) {
        nLeft -= nGap;
      } else {
        info.nCurSize = std::max(0, info.nCurSize - (nGap - nLeft));
        nLeft = 0;
      }
    }
  }
}

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  // layout and drawing
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  // tracking
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_SETCURSOR()
  ON_WM_KEYDOWN()
  ON_WM_CANCELMODE()
  ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CSplitterWnd::CSplitterWnd()
    : m_cxSplitter(7), m_cySplitter(7), m_cxBorderShare(0), m_cyBorderShare(0), m_cxSplitterGap(7),
      m_cySplitterGap(7), m_cxBorder(2), m_cyBorder(2), m_nRows(0), m_nCols(0), m_nMaxRows(0), m_nMaxCols(0),
      m_pRowInfo(nullptr), m_pColInfo(nullptr), m_bTracking(FALSE), m_bTracking2(FALSE), m_htTrack(noHit),
      m_bKeyboardTracking(FALSE), m_dwSplitterStyle(0) {}

CSplitterWnd::~CSplitterWnd() {
  delete[] m_pRowInfo;
  delete[] m_pColInfo;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
  if (nRows < 1 || nRows > 16 || nCols < 1 || nCols > 16 || m_pRowInfo) return FALSE;
  m_nRows = m_nMaxRows = nRows;
  m_nCols = m_nMaxCols = nCols;
  m_pRowInfo = new CRowColInfo[nRows];
  m_pColInfo = new CRowColInfo[nCols];
  for (int i = 0; i < nRows; i++) m_pRowInfo[i] = CRowColInfo{0, 0, 0};
  for (int i = 0; i < nCols; i++) m_pColInfo[i] = CRowColInfo{0, 0, 0};
  m_dwSplitterStyle = dwStyle & (SPLS_DYNAMIC_SPLIT | SPLS_INVERT_TRACKER);
  DWORD dwCreateStyle = dwStyle & ~(WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT | SPLS_INVERT_TRACKER);
  return CreateEx(0, AFX_WNDMDIFRAME, nullptr, dwCreateStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                  (HMENU)(UINT_PTR)nID, nullptr);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext) {
  if (row < 0 || row >= m_nMaxRows || col < 0 || col >= m_nMaxCols || !pViewClass) return FALSE;
  m_pColInfo[col].nIdealSize = sizeInit.cx;
  m_pRowInfo[row].nIdealSize = sizeInit.cy;
  BOOL bSendInitialUpdate = FALSE;
  CCreateContext contextT;
  if (!pContext) {
    // The active pane's document, and an initial update of our own.
    CView* pOldView = DYNAMIC_DOWNCAST(CView, GetActivePane());
    if (pOldView) {
      contextT.m_pLastView = pOldView;
      contextT.m_pCurrentDoc = pOldView->GetDocument();
      if (contextT.m_pCurrentDoc) contextT.m_pNewDocTemplate = contextT.m_pCurrentDoc->GetDocTemplate();
    }
    pContext = &contextT;
    bSendInitialUpdate = TRUE;
  }
  CWnd* pWnd = DYNAMIC_DOWNCAST(CWnd, pViewClass->CreateObject());
  if (!pWnd) return FALSE;
  DWORD dwStyle = AFX_WS_DEFAULT_VIEW & ~WS_BORDER;
  CRect rect(CPoint(0, 0), sizeInit);
  // A failed view deletes itself (PostNcDestroy).
  if (!pWnd->Create(nullptr, nullptr, dwStyle, rect, this, (UINT)IdFromRowCol(row, col), pContext)) return FALSE;
  if (bSendInitialUpdate) pWnd->SendMessage(WM_INITIALUPDATE);
  return TRUE;
}

// ----- panes and sizes -----

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
  cyCur = m_pRowInfo[row].nCurSize;
  cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
  m_pRowInfo[row].nIdealSize = cyIdeal;
  m_pRowInfo[row].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
  cxCur = m_pColInfo[col].nCurSize;
  cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
  m_pColInfo[col].nIdealSize = cxIdeal;
  m_pColInfo[col].nMinSize = cxMin;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
  HWND hWnd = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
  return hWnd ? CWnd::FromHandle(hWnd) : nullptr;
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) {
  if (pWnd && ::IsChild(m_hWnd, pWnd->m_hWnd)) {
    UINT nID = (UINT)AfxGetDlgCtrlID(pWnd->m_hWnd);
    if (nID >= AFX_IDW_PANE_FIRST && nID <= AFX_IDW_PANE_LAST) {
      if (pRow) *pRow = (int)(nID - AFX_IDW_PANE_FIRST) / 16;
      if (pCol) *pCol = (int)(nID - AFX_IDW_PANE_FIRST) % 16;
      return TRUE;
    }
  }
  if (pRow) *pRow = -1;
  if (pCol) *pCol = -1;
  return FALSE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
  CWnd* pView = nullptr;
  if (CFrameWnd* pFrame = GetParentFrame()) pView = pFrame->GetActiveView();
  if (!pView) pView = GetFocus();
  if (pView && !IsChildPane(pView, pRow, pCol)) pView = nullptr;
  if (!pView) {
    if (pRow) *pRow = -1;
    if (pCol) *pCol = -1;
  }
  return pView;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
  CWnd* pPane = pWnd ? pWnd : GetPane(row, col);
  if (!pPane) return;
  CView* pView = DYNAMIC_DOWNCAST(CView, pPane);
  CFrameWnd* pFrame = GetParentFrame();
  if (pView && pFrame)
    pFrame->SetActiveView(pView);
  else
    pPane->SetFocus();
}

// ----- layout -----

void CSplitterWnd::GetInsideRect(CRect& rect) const {
  GetClientRect(&rect);
  rect.InflateRect(-m_cxBorder, -m_cyBorder);
}

int CSplitterWnd::PanePos(const CRowColInfo* pInfo, int i, int nBorder, int nGap) const {
  int pos = nBorder;
  for (int j = 0; j < i; j++) pos += pInfo[j].nCurSize + nGap;
  return pos;
}

void CSplitterWnd::DeferClientPos(AFX_SIZEPARENTPARAMS* lpLayout, CWnd* pWnd, int x, int y, int cx, int cy) {
  CRect rect(x, y, x + cx, y + cy);
  if ((pWnd->GetExStyle() & WS_EX_CLIENTEDGE) || pWnd->IsKindOf(RUNTIME_CLASS(CSplitterWnd)))
    rect.InflateRect(m_cxBorder, m_cyBorder);
  AfxRepositionWindow(lpLayout, pWnd->m_hWnd, &rect);
}

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd || !m_pRowInfo || !m_pColInfo || m_nRows <= 0 || m_nCols <= 0) return;
  CRect rectInside;
  GetInsideRect(rectInside);
  AfxSplitterLayout(m_pColInfo, m_nCols, rectInside.Width(), m_cxSplitterGap);
  AfxSplitterLayout(m_pRowInfo, m_nRows, rectInside.Height(), m_cySplitterGap);
  AFX_SIZEPARENTPARAMS layout = {};
  layout.hDWP = ::BeginDeferWindowPos((m_nCols + 1) * (m_nRows + 1) + 1);
  int x = rectInside.left;
  for (int col = 0; col < m_nCols; col++) {
    int cx = m_pColInfo[col].nCurSize;
    int y = rectInside.top;
    for (int row = 0; row < m_nRows; row++) {
      int cy = m_pRowInfo[row].nCurSize;
      if (CWnd* pWnd = GetPane(row, col)) DeferClientPos(&layout, pWnd, x, y, cx, cy);
      y += cy + m_cySplitterGap;
    }
    x += cx + m_cxSplitterGap;
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
  DrawAllSplitBars(nullptr, rectInside.right, rectInside.bottom);
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) RecalcLayout();
  CWnd::OnSize(nType, cx, cy);
}

// ----- drawing -----

void CSplitterWnd::DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside) {
  CRect rectClient;
  GetClientRect(&rectClient);
  // Bars between columns run the whole height, bars between rows the whole width.
  CRect rect = rectClient;
  int x = m_cxBorder;
  for (int col = 0; col < m_nCols - 1; col++) {
    x += m_pColInfo[col].nCurSize;
    rect.left = x + m_cxBorderShare;
    rect.right = rect.left + m_cxSplitter;
    if (rect.left > cxInside) break;
    if (m_cxSplitter > 0) OnDrawSplitter(pDC, splitBar, rect);
    x += m_cxSplitterGap;
  }
  rect = rectClient;
  int y = m_cyBorder;
  for (int row = 0; row < m_nRows - 1; row++) {
    y += m_pRowInfo[row].nCurSize;
    rect.top = y + m_cyBorderShare;
    rect.bottom = rect.top + m_cySplitter;
    if (rect.top > cyInside) break;
    if (m_cySplitter > 0) OnDrawSplitter(pDC, splitBar, rect);
    y += m_cySplitterGap;
  }
  if (m_cxBorder <= 0 && m_cyBorder <= 0) return;
  // The frame around each pane, in the client border.
  for (int col = 0; col < m_nCols; col++) {
    int px = PanePos(m_pColInfo, col, m_cxBorder, m_cxSplitterGap);
    for (int row = 0; row < m_nRows; row++) {
      int py = PanePos(m_pRowInfo, row, m_cyBorder, m_cySplitterGap);
      CRect rectPane(px, py, px + m_pColInfo[col].nCurSize, py + m_pRowInfo[row].nCurSize);
      rectPane.InflateRect(m_cxBorder, m_cyBorder);
      OnDrawSplitter(pDC, splitBorder, rectPane);
    }
  }
}

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rectArg) {
  if (!pDC) {
    RedrawWindow(&rectArg, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    return;
  }
  CRect rect = rectArg;
  if (nType == splitBorder) {
    pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    rect.InflateRect(-1, -1);
    pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_WINDOWFRAME), ::GetSysColor(COLOR_BTNFACE));
    return;
  }
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
}

BOOL CSplitterWnd::OnEraseBkgnd(CDC*) { return TRUE; }  // OnPaint covers everything

void CSplitterWnd::OnPaint() {
  CPaintDC dc(this);
  // Panes paint themselves; the splitter paints around them.
  for (HWND hChild = ::GetTopWindow(m_hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(hChild)) continue;
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    ScreenToClient(&rc);
    dc.ExcludeClipRect(&rc);
  }
  CRect rectClient;
  GetClientRect(&rectClient);
  dc.FillSolidRect(&rectClient, ::GetSysColor(COLOR_BTNFACE));
  CRect rectInside;
  GetInsideRect(rectInside);
  DrawAllSplitBars(&dc, rectInside.right, rectInside.bottom);
}

void CSplitterWnd::OnInvertTracker(const CRect& rect) {
  if (rect.IsRectEmpty()) return;
  // Over the panes too (the splitter has no WS_CLIPCHILDREN).
  HDC hdc = ::GetDCEx(m_hWnd, nullptr, DCX_CACHE | DCX_PARENTCLIP);
  HBRUSH hBrush = (HBRUSH)CDC::GetHalftoneBrush()->GetSafeHandle();
  HGDIOBJ hOld = ::SelectObject(hdc, hBrush);
  ::PatBlt(hdc, rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  ::SelectObject(hdc, hOld);
  ::ReleaseDC(m_hWnd, hdc);
}

// ----- hit testing and tracking -----

int CSplitterWnd::HitTest(CPoint pt) const {
  CRect rectClient;
  GetClientRect(&rectClient);
  if (!rectClient.PtInRect(pt)) return noHit;
  int col = -1;
  for (int c = 0, x = m_cxBorder; c < m_nCols - 1; c++) {
    x += m_pColInfo[c].nCurSize;
    if (pt.x >= x && pt.x < x + m_cxSplitterGap) {
      col = c;
      break;
    }
    x += m_cxSplitterGap;
  }
  int row = -1;
  for (int r = 0, y = m_cyBorder; r < m_nRows - 1; r++) {
    y += m_pRowInfo[r].nCurSize;
    if (pt.y >= y && pt.y < y + m_cySplitterGap) {
      row = r;
      break;
    }
    y += m_cySplitterGap;
  }
  if (col >= 0 && row >= 0) return splitterIntersection1 + row * 15 + col;
  if (col >= 0) return hSplitterBar1 + col;
  if (row >= 0) return vSplitterBar1 + row;
  return noHit;
}

void CSplitterWnd::GetHitRect(int ht, CRect& rectHit) {
  CRect rectInside;
  GetInsideRect(rectInside);
  rectHit = rectInside;
  if (ht >= vSplitterBar1 && ht <= vSplitterBar15) {
    int row = ht - vSplitterBar1;
    int y = PanePos(m_pRowInfo, row, m_cyBorder, m_cySplitterGap);
    // The bar may go from the top of its row to the splitter's bottom.
    m_rectLimit.top = std::max(m_rectLimit.top, (LONG)y);
    m_rectLimit.bottom = std::min(m_rectLimit.bottom, (LONG)(rectInside.bottom - m_cySplitterGap));
    rectHit.top = y + m_pRowInfo[row].nCurSize;
    rectHit.bottom = rectHit.top + std::max(m_cySplitterGap, 1);
  } else if (ht >= hSplitterBar1 && ht <= hSplitterBar15) {
    int col = ht - hSplitterBar1;
    int x = PanePos(m_pColInfo, col, m_cxBorder, m_cxSplitterGap);
    m_rectLimit.left = std::max(m_rectLimit.left, (LONG)x);
    m_rectLimit.right = std::min(m_rectLimit.right, (LONG)(rectInside.right - m_cxSplitterGap));
    rectHit.left = x + m_pColInfo[col].nCurSize;
    rectHit.right = rectHit.left + std::max(m_cxSplitterGap, 1);
  } else {
    rectHit.SetRectEmpty();
  }
}

void CSplitterWnd::StartTracking(int ht) {
  if (ht == noHit || ht == vSplitterBox || ht == hSplitterBox || ht == bothSplitterBox) return;
  GetInsideRect(m_rectLimit);
  m_bTracking2 = FALSE;
  if (ht >= splitterIntersection1 && ht <= splitterIntersection225) {
    int row = (ht - splitterIntersection1) / 15;
    int col = (ht - splitterIntersection1) % 15;
    GetHitRect(vSplitterBar1 + row, m_rectTracker);
    GetHitRect(hSplitterBar1 + col, m_rectTracker2);
    m_bTracking2 = TRUE;
  } else {
    GetHitRect(ht, m_rectTracker);
  }
  // Keep the distance between the mouse and the bar's edge while dragging.
  CPoint ptCursor;
  ::GetCursorPos(&ptCursor);
  ScreenToClient(&ptCursor);
  const CRect& rectH = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
  m_ptTrackOffset.x = (ptCursor.x >= rectH.left && ptCursor.x < rectH.right) ? rectH.left - ptCursor.x
                                                                            : -rectH.Width() / 2;
  m_ptTrackOffset.y = (ptCursor.y >= m_rectTracker.top && ptCursor.y < m_rectTracker.bottom)
                          ? m_rectTracker.top - ptCursor.y
                          : -m_rectTracker.Height() / 2;
  // The active view keeps its focus for later.
  if (CView* pView = DYNAMIC_DOWNCAST(CView, GetActivePane())) {
    if (CFrameWnd* pFrame = GetParentFrame()) pView->OnActivateFrame(WA_INACTIVE, pFrame);
  }
  SetCapture();
  SetFocus();
  RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
  m_bTracking = TRUE;
  m_htTrack = ht;
  OnInvertTracker(m_rectTracker);
  if (m_bTracking2) OnInvertTracker(m_rectTracker2);
  SetSplitCursor(ht);
}

void CSplitterWnd::StopTracking(BOOL bAccept) {
  if (!m_bTracking) return;
  m_bTracking = FALSE;  // before ReleaseCapture, which comes back through OnCaptureChanged
  m_bKeyboardTracking = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  OnInvertTracker(m_rectTracker);
  if (m_bTracking2) OnInvertTracker(m_rectTracker2);
  BOOL bTracking2 = m_bTracking2;
  m_bTracking2 = FALSE;
  CWnd* pOldActivePane = GetActivePane();
  if (bAccept) {
    if (m_htTrack >= vSplitterBar1 && m_htTrack <= vSplitterBar15) {
      TrackRowSize(m_rectTracker.top, m_htTrack - vSplitterBar1);
    } else if (m_htTrack >= hSplitterBar1 && m_htTrack <= hSplitterBar15) {
      TrackColumnSize(m_rectTracker.left, m_htTrack - hSplitterBar1);
    } else if (bTracking2) {
      TrackRowSize(m_rectTracker.top, (m_htTrack - splitterIntersection1) / 15);
      TrackColumnSize(m_rectTracker2.left, (m_htTrack - splitterIntersection1) % 15);
    }
    RecalcLayout();
  }
  if (pOldActivePane && pOldActivePane == GetActivePane()) SetActivePane(-1, -1, pOldActivePane);
}

void CSplitterWnd::TrackRowSize(int y, int row) {
  int nSize = y - PanePos(m_pRowInfo, row, m_cyBorder, m_cySplitterGap);
  m_pRowInfo[row].nIdealSize = nSize < m_pRowInfo[row].nMinSize ? 0 : nSize;
}

void CSplitterWnd::TrackColumnSize(int x, int col) {
  int nSize = x - PanePos(m_pColInfo, col, m_cxBorder, m_cxSplitterGap);
  m_pColInfo[col].nIdealSize = nSize < m_pColInfo[col].nMinSize ? 0 : nSize;
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt) {
  if (m_bTracking && ::GetCapture() != m_hWnd) StopTracking(FALSE);
  if (!m_bTracking) {
    SetSplitCursor(HitTest(pt));
    return;
  }
  // The tracker's edge follows the mouse inside the limit rectangle.
  pt.Offset(m_ptTrackOffset);
  pt.x = std::max(m_rectLimit.left, std::min(pt.x, m_rectLimit.right));
  pt.y = std::max(m_rectLimit.top, std::min(pt.y, m_rectLimit.bottom));
  BOOL bRows = (m_htTrack >= vSplitterBar1 && m_htTrack <= vSplitterBar15) || m_bTracking2;
  BOOL bCols = (m_htTrack >= hSplitterBar1 && m_htTrack <= hSplitterBar15);
  if (bRows && m_rectTracker.top != pt.y) {
    OnInvertTracker(m_rectTracker);
    m_rectTracker.OffsetRect(0, pt.y - m_rectTracker.top);
    OnInvertTracker(m_rectTracker);
  }
  CRect& rectCol = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
  if ((bCols || m_bTracking2) && rectCol.left != pt.x) {
    OnInvertTracker(rectCol);
    rectCol.OffsetRect(pt.x - rectCol.left, 0);
    OnInvertTracker(rectCol);
  }
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint pt) {
  if (m_bTracking) return;
  StartTracking(HitTest(pt));
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) { StopTracking(TRUE); }

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  // Our cursor is set by OnMouseMove.
  if (nHitTest == HTCLIENT && pWnd == this && !m_bTracking) return TRUE;
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::SetSplitCursor(int ht) {
  LPCSTR idc = IDC_ARROW;
  if (ht >= vSplitterBar1 && ht <= vSplitterBar15)
    idc = IDC_SIZENS;
  else if (ht >= hSplitterBar1 && ht <= hSplitterBar15)
    idc = IDC_SIZEWE;
  else if (ht >= splitterIntersection1 && ht <= splitterIntersection225)
    idc = IDC_SIZEALL;
  ::SetCursor(::LoadCursorA(nullptr, idc));
}

void CSplitterWnd::OnCancelMode() {
  StopTracking(FALSE);
  CWnd::OnCancelMode();
}

void CSplitterWnd::OnCaptureChanged(CWnd* pWnd) {
  if (m_bTracking && pWnd->GetSafeHwnd() != m_hWnd) StopTracking(FALSE);
}

BOOL CSplitterWnd::DoKeyboardSplit() {
  int ht;
  if (m_nRows > 1 && m_nCols > 1)
    ht = splitterIntersection1;
  else if (m_nRows > 1)
    ht = vSplitterBar1;
  else if (m_nCols > 1)
    ht = hSplitterBar1;
  else
    return FALSE;
  StartTracking(ht);
  if (!m_bTracking) return FALSE;
  m_bKeyboardTracking = TRUE;
  // The mouse sits on the tracker, so that arrow keys and the mouse agree.
  CPoint pt(m_bTracking2 ? m_rectTracker2.left : m_rectTracker.left, m_rectTracker.top);
  m_ptTrackOffset = CPoint(0, 0);
  ClientToScreen(&pt);
  ::SetCursorPos(pt.x, pt.y);
  return TRUE;
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!m_bTracking) {
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }
  int nStep = ::GetKeyState(VK_CONTROL) < 0 ? 1 : 8;
  CPoint pt(m_bTracking2 ? m_rectTracker2.left : m_rectTracker.left, m_rectTracker.top);
  pt.Offset(-m_ptTrackOffset.x, -m_ptTrackOffset.y);
  switch (nChar) {
    case VK_ESCAPE: StopTracking(FALSE); return;
    case VK_RETURN: StopTracking(TRUE); return;
    case VK_LEFT: pt.x -= nStep; break;
    case VK_RIGHT: pt.x += nStep; break;
    case VK_UP: pt.y -= nStep; break;
    case VK_DOWN: pt.y += nStep; break;
    default: return;
  }
  OnMouseMove(0, pt);
}

// ----- commands from panes' controls go to the frame -----

BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  CFrameWnd* pFrame = GetParentFrame();
  return pFrame && pFrame->SendMessage(WM_COMMAND, wParam, lParam) != 0;
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CWnd::OnNotify(wParam, lParam, pResult)) return TRUE;
  CFrameWnd* pFrame = GetParentFrame();
  if (!pFrame) return FALSE;
  *pResult = pFrame->SendMessage(WM_NOTIFY, wParam, lParam);
  return TRUE;
}
