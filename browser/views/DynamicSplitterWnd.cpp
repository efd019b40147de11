// The browser area's splitter (see the header for the parking rule).
#include "DynamicSplitterWnd.h"

IMPLEMENT_DYNAMIC(CDynamicSplitterWnd, CSplitterWnd)

BEGIN_MESSAGE_MAP(CDynamicSplitterWnd, CSplitterWnd)
  ON_WM_NCHITTEST()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CDynamicSplitterWnd::CDynamicSplitterWnd(int level)
    : m_nSavedRowHeight(0),
      m_nHiddenCol(-1),
      m_nHiddenRow(-1),
      m_bSideBySide(false),
      m_nLevel(level),
      m_bResizeEnable(true),
      m_nTopLimit(0),
      m_nBottomLimit(0),
      m_hiddenRowInfo{0, 0, 0},
      m_hiddenColInfo{0, 0, 0} {
  for (int i = 0; i < kSides; i++) {
    m_pSubDivisions[i] = nullptr;
    m_nLastView[i] = -1;
  }
  // No border and a one-pixel gap until SetSplitterBarSize says otherwise.
  m_cxSplitter = m_cySplitter = 0;
  m_cxBorderShare = m_cyBorderShare = 0;
  m_cxSplitterGap = m_cySplitterGap = 1;
  m_cxBorder = m_cyBorder = 0;
}

CDynamicSplitterWnd::~CDynamicSplitterWnd() {
  // The nested windows went with ours; their objects are ours to delete.
  for (INT_PTR i = 0; i < m_ownedSubDivisions.GetSize(); i++)
    delete static_cast<CDynamicSplitterWnd*>(m_ownedSubDivisions[i]);
}

// ----- creation -----

bool CDynamicSplitterWnd::Create(CWnd* parent, CRuntimeClass* view1, CSize* size1, CRuntimeClass* view2,
                                 CSize* size2, CCreateContext* context, bool sideBySide, int id) {
  m_bSideBySide = sideBySide;
  if (!parent || !CreateStatic(parent, sideBySide ? 1 : 2, sideBySide ? 2 : 1, WS_CHILD | WS_VISIBLE, (UINT)id))
    return false;
  const CSize defaultSize(100, 100);
  bool ok = true;
  if (view1) ok = CreateView(0, 0, view1, size1 ? *size1 : defaultSize, context) != FALSE;
  if (ok && view2)
    ok = CreateView(sideBySide ? 0 : 1, sideBySide ? 1 : 0, view2, size2 ? *size2 : defaultSize, context) != FALSE;
  if (!ok) {
    DestroyWindow();
    return false;
  }
  return true;
}

CDynamicSplitterWnd* CDynamicSplitterWnd::MakeSubDivision(int slot, int row, int col, CRuntimeClass* view1,
                                                          CSize* size1, CRuntimeClass* view2, CSize* size2,
                                                          CCreateContext* context, bool sideBySide) {
  if (!m_hWnd || row < 0 || col < 0 || row >= m_nMaxRows || col >= m_nMaxCols) return nullptr;
  CDynamicSplitterWnd* pSub = new CDynamicSplitterWnd(m_nLevel + 1);
  if (!pSub->Create(this, view1, size1, view2, size2, context, sideBySide, IdFromRowCol(row, col))) {
    delete pSub;
    return nullptr;
  }
  if (slot >= 0 && slot < kSides) m_pSubDivisions[slot] = pSub;
  m_ownedSubDivisions.Add(pSub);
  return pSub;
}

CDynamicSplitterWnd* CDynamicSplitterWnd::AddSubDivision(int side, CRuntimeClass* view1, CSize* size1,
                                                         CRuntimeClass* view2, CSize* size2,
                                                         CCreateContext* context, bool sideBySide) {
  int row, col;
  SideToRowCol(side, &row, &col);
  return MakeSubDivision(side, row, col, view1, size1, view2, size2, context, sideBySide);
}

CDynamicSplitterWnd* CDynamicSplitterWnd::AddSubDivision(int row, int col, CRuntimeClass* view1, CSize* size1,
                                                         CRuntimeClass* view2, CSize* size2,
                                                         CCreateContext* context, bool sideBySide) {
  return MakeSubDivision(col, row, col, view1, size1, view2, size2, context, sideBySide);
}

CDynamicSplitterWnd* CDynamicSplitterWnd::GetSubDivision(int slot) const {
  return slot >= 0 && slot < kSides ? m_pSubDivisions[slot] : nullptr;
}

// ----- views by side -----

void CDynamicSplitterWnd::SideToRowCol(int side, int* row, int* col) {
  *row = m_bSideBySide ? 0 : side;
  *col = m_bSideBySide ? side : 0;
}

int CDynamicSplitterWnd::AddView(int side, CRuntimeClass* viewClass, CCreateContext* context) {
  if (side < 0 || side >= kSides) return -1;
  int row, col;
  SideToRowCol(side, &row, &col);
  if (row >= m_nMaxRows || col >= m_nMaxCols) return -1;
  CWnd* pOld = GetPane(row, col);
  if (pOld) HideView(row, col);
  // The new view takes the pane's place, not its size: keep the row and column as they are.
  CRowColInfo rowInfo = m_pRowInfo[row], colInfo = m_pColInfo[col];
  BOOL bMade = CreateView(row, col, viewClass, CSize(10, 10), context);
  m_pRowInfo[row] = rowInfo;
  m_pColInfo[col] = colInfo;
  if (!bMade) {
    if (pOld) ShowView(row, col, pOld);  // the pane is not left empty
    return -1;
  }
  CWnd* pNew = GetPane(row, col);
  int index = (int)m_views[side].Add(pNew);
  m_nLastView[side] = index;
  ShowView(row, col, pNew);
  RecalcLayout();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return index;
}

bool CDynamicSplitterWnd::HideView(int row, int col) {
  CWnd* pPane = GetPane(row, col);
  if (!pPane) return false;
  pPane->SetDlgCtrlID(0);
  pPane->ShowWindow(SW_HIDE);
  return true;
}

bool CDynamicSplitterWnd::ShowView(int row, int col, CWnd* view) {
  if (!view || !view->GetSafeHwnd()) return false;
  view->SetDlgCtrlID(IdFromRowCol(row, col));
  view->ShowWindow(SW_SHOW);
  return true;
}

int CDynamicSplitterWnd::GetViewCount(int side) const {
  return side >= 0 && side < kSides ? (int)m_views[side].GetSize() : 0;
}

CWnd* CDynamicSplitterWnd::GetView(int side, int index) const {
  if (index < 0 || index >= GetViewCount(side)) return nullptr;
  return static_cast<CWnd*>(m_views[side][index]);
}

int CDynamicSplitterWnd::GetLastViewIndex(int side) const {
  return side >= 0 && side < kSides ? m_nLastView[side] : -1;
}

// ----- active pane -----

CWnd* CDynamicSplitterWnd::GetActivePane(int* pRow, int* pCol) {
  CWnd* pView = nullptr;
  if (CFrameWnd* pFrame = GetParentFrame()) pView = pFrame->GetActiveView();
  if (!pView) pView = GetFocus();
  int row = -1, col = -1;
  if (pView && m_hWnd && ::IsChild(m_hWnd, pView->m_hWnd)) {
    // The pane of ours that holds the window: itself, or the nested splitter around it.
    HWND hPane = pView->m_hWnd;
    while (::GetParent(hPane) != m_hWnd) hPane = ::GetParent(hPane);
    UINT id = (UINT)::GetDlgCtrlID(hPane);
    if (id >= AFX_IDW_PANE_FIRST && id <= AFX_IDW_PANE_LAST) {
      row = (int)(id - AFX_IDW_PANE_FIRST) / 16;
      col = (int)(id - AFX_IDW_PANE_FIRST) % 16;
    }
    if (row >= m_nRows || col >= m_nCols) row = col = -1;  // parked: not in the grid
  }
  if (row < 0) pView = nullptr;
  if (pRow) *pRow = row;
  if (pCol) *pCol = col;
  return pView;
}

CWnd* CDynamicSplitterWnd::SuccessorOfActive(int row, int col, bool byRow) {
  int ar, ac;
  if (!GetActivePane(&ar, &ac)) return nullptr;
  if (byRow ? ar != row : ac != col) return nullptr;
  if (byRow) return GetPane(row + 1 < m_nRows ? row + 1 : 0, ac);
  return GetPane(ar, col + 1 < m_nCols ? col + 1 : 0);
}

// ----- hiding and showing -----

void CDynamicSplitterWnd::HideColumn(int col) {
  // One hidden column at a time: a second one would park on the first one's id. The last
  // column stays: the splitter would have nothing to lay out.
  if (col < 0 || col >= m_nCols || m_nCols < 2 || m_nHiddenCol != -1) return;
  m_nHiddenCol = col;
  CWnd* pSuccessor = SuccessorOfActive(-1, col, false);
  for (int r = 0; r < m_nRows; r++) {
    if (CWnd* pPane = GetPane(r, col)) {
      pPane->ShowWindow(SW_HIDE);
      pPane->SetDlgCtrlID(IdFromRowCol(r, m_nCols));
    }
    for (int c = col + 1; c < m_nCols; c++)
      if (CWnd* pPane = GetPane(r, c)) pPane->SetDlgCtrlID(IdFromRowCol(r, c - 1));
  }
  m_hiddenColInfo = m_pColInfo[col];
  for (int c = col; c + 1 < m_nCols; c++) m_pColInfo[c] = m_pColInfo[c + 1];
  m_nCols--;
  if (pSuccessor) SetActivePane(-1, -1, pSuccessor);
  RecalcLayout();
}

void CDynamicSplitterWnd::ShowColumn() {
  if (m_nHiddenCol == -1) return;
  int hidden = m_nHiddenCol;
  m_nHiddenCol = -1;
  m_nCols++;
  for (int r = 0; r < m_nRows; r++) {
    CWnd* pParked = GetPane(r, m_nCols);
    for (int c = m_nCols - 2; c >= hidden; c--)
      if (CWnd* pPane = GetPane(r, c)) pPane->SetDlgCtrlID(IdFromRowCol(r, c + 1));
    if (pParked) {
      pParked->SetDlgCtrlID(IdFromRowCol(r, hidden));
      pParked->ShowWindow(SW_SHOWNA);
    }
  }
  for (int c = m_nCols - 1; c > hidden; c--) m_pColInfo[c] = m_pColInfo[c - 1];
  m_pColInfo[hidden] = m_hiddenColInfo;
  RecalcLayout();
}

void CDynamicSplitterWnd::HideRow(CWnd* pane) {
  if (m_nHiddenRow != -1 || !pane) return;
  for (int r = 0; r < m_nRows; r++) {
    if (GetPane(r, 0) == pane) {
      HideRowAt(r, true);
      return;
    }
  }
}

void CDynamicSplitterWnd::HideRow(int row) {
  if (m_nHiddenRow != -1) return;
  HideRowAt(row, false);
}

void CDynamicSplitterWnd::HideRowAt(int row, bool saveHeight) {
  if (row < 0 || row >= m_nRows || m_nRows < 2) return;
  m_nHiddenRow = row;
  if (saveHeight) m_nSavedRowHeight = m_pRowInfo[row].nCurSize;
  CWnd* pSuccessor = SuccessorOfActive(row, -1, true);
  // Every column's pane of the row is parked under its own column, so all come back.
  for (int c = 0; c < m_nCols; c++) {
    if (CWnd* pPane = GetPane(row, c)) {
      pPane->ShowWindow(SW_HIDE);
      pPane->SetDlgCtrlID(IdFromRowCol(m_nRows, c));
    }
    for (int r = row + 1; r < m_nRows; r++)
      if (CWnd* pPane = GetPane(r, c)) pPane->SetDlgCtrlID(IdFromRowCol(r - 1, c));
  }
  m_hiddenRowInfo = m_pRowInfo[row];
  if (!saveHeight) m_nSavedRowHeight = m_hiddenRowInfo.nIdealSize;
  for (int r = row; r + 1 < m_nRows; r++) m_pRowInfo[r] = m_pRowInfo[r + 1];
  m_nRows--;
  if (pSuccessor) SetActivePane(-1, -1, pSuccessor);
  RecalcLayout();
}

void CDynamicSplitterWnd::ShowRow() {
  if (m_nHiddenRow == -1) return;
  int hidden = m_nHiddenRow;
  m_nHiddenRow = -1;
  m_nRows++;
  for (int c = 0; c < m_nCols; c++) {
    CWnd* pParked = GetPane(m_nRows, c);
    for (int r = m_nRows - 2; r >= hidden; r--)
      if (CWnd* pPane = GetPane(r, c)) pPane->SetDlgCtrlID(IdFromRowCol(r + 1, c));
    if (pParked) {
      pParked->SetDlgCtrlID(IdFromRowCol(hidden, c));
      pParked->ShowWindow(SW_SHOWNA);
    }
  }
  for (int r = m_nRows - 1; r > hidden; r--) m_pRowInfo[r] = m_pRowInfo[r - 1];
  m_pRowInfo[hidden] = m_hiddenRowInfo;
  // The row comes back at the height it had; a row hidden before it was ever laid out
  // keeps the size it was meant to have.
  if (m_nSavedRowHeight > 0) m_pRowInfo[hidden].nIdealSize = m_nSavedRowHeight;
  RecalcLayout();
}

// ----- bars -----

void CDynamicSplitterWnd::SplitterWndSize(int top, int bottom) {
  m_nTopLimit = top;
  m_nBottomLimit = bottom;
}

void CDynamicSplitterWnd::SetSplitterBarSize(int cx, int cy) {
  if (cx >= 0) m_cxSplitter = m_cxSplitterGap = cx ? cx : 1;
  if (cy >= 0) m_cySplitter = m_cySplitterGap = cy ? cy : 1;
}

void CDynamicSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) {
  CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
}

LRESULT CDynamicSplitterWnd::OnNcHitTest(CPoint point) {
  if (!m_bResizeEnable) return HTNOWHERE;  // no split cursor, no drag
  return CSplitterWnd::OnNcHitTest(point);
}

void CDynamicSplitterWnd::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bTracking) {
    CRect rc;
    GetClientRect(&rc);
    if (m_nTopLimit) point.y = std::max<LONG>(point.y, rc.top + m_nTopLimit);
    if (m_nBottomLimit) point.y = std::min<LONG>(point.y, rc.bottom - m_nBottomLimit);
  }
  CSplitterWnd::OnMouseMove(nFlags, point);
}
