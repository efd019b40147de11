// The scroll panel: creation, skin, layout, the pool of item windows and scrolling.
#include "ScrollPanelWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CScrollPanelWnd, CWnd)

BEGIN_MESSAGE_MAP(CScrollPanelWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_ENABLE()
  ON_WM_VSCROLL()
  ON_WM_HSCROLL()
  ON_WM_MOUSEWHEEL()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_TIMER()
  ON_MESSAGE(UWM_SKIN_KEYACTION, &CScrollPanelWnd::OnKeyAction)
  ON_MESSAGE(UWM_SKIN_STARTDRAG, &CScrollPanelWnd::OnItemStartDrag)
  ON_MESSAGE(UWM_SKIN_RCLICK, &CScrollPanelWnd::OnItemRClick)
END_MESSAGE_MAP()

using namespace scrollpanel;

CScrollPanelWnd::CScrollPanelWnd()
    : m_hOwner(nullptr),
      m_pCanvas(nullptr),
      m_bVertShown(TRUE),
      m_bHorzShown(TRUE),
      m_nFirst(-1),
      m_nLast(-1),
      m_nAnchor(-1),
      m_cxVBar(0),
      m_cyHBar(0),
      m_bVBarSized(FALSE),
      m_bHBarSized(FALSE),
      m_nTop(0),
      m_nBottom(0),
      m_nLeft(0),
      m_nRight(0),
      m_nBorder(0),
      m_pTemplate(nullptr),
      m_pfnItem(nullptr),
      m_pItemContext(nullptr),
      m_nRefreshFirst(-1),
      m_nRefreshLast(-1),
      m_bOwnStates(FALSE),
      m_bFollowScroll(FALSE),
      m_crBack(0x080000),
      m_nNextId(kFirstItemId),
      m_nContentWidth(-1),
      m_nHorzOffset(0),
      m_bClickConsumed(FALSE),
      m_bToggle(FALSE),
      m_bSingle(FALSE),
      m_rcBand(0, 0, 0, 0),
      m_ptBandStart(0, 0),
      m_nBandStartFirst(0),
      m_ptBandNow(0, 0),
      m_nBandNowFirst(0),
      m_nBandFrom(-1),
      m_nBandTo(-1),
      m_bBanding(FALSE),
      m_nReqRows(-1),
      m_nReqColumns(-1),
      m_nReqVGap(-1),
      m_nReqHGap(-1),
      m_nRows(0),
      m_nColumns(0),
      m_nVGap(0),
      m_nHGap(0),
      m_nFitMargin(0),
      m_szCell(0, 0),
      m_bMultiSelect(FALSE),
      m_bSelectable(TRUE),
      m_pfnPaint(nullptr),
      m_pPaintContext(nullptr) {
  for (int i = 0; i < kDragEvents; i++) m_pfnDrag[i] = nullptr, m_pDragContext[i] = nullptr;
}

CScrollPanelWnd::~CScrollPanelWnd() {
  if (GetSafeHwnd()) DestroyWindow();
  DeleteAllItemWindows();
  delete m_pTemplate;
  delete m_pCanvas;
}

HRESULT CScrollPanelWnd::CreateInstance(UINT, CScrollPanelWnd** ppOut) {
  if (!ppOut) return 0x80000002;
  try {
    *ppOut = new CScrollPanelWnd;
  } catch (...) {
    *ppOut = nullptr;
  }
  return *ppOut ? 0 : 0x80000002;
}

BOOL CScrollPanelWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID) {
  return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), "", dwStyle | WS_CHILD, rect,
                  pParent, nID);
}

int CScrollPanelWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  CRect rc;
  GetClientRect(&rc);
  m_pCanvas = new CScrollPanelCanvas;
  m_pCanvas->SetBkColor(m_crBack);
  if (!m_pCanvas->Create(this, rc, kCanvasId)) return -1;
  m_vbar.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SBS_VERT, CRect(0, 0, 0, 0), this, kVertBarId);
  m_hbar.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), this, kHorzBarId);
  m_vbar.SetScrollRange(-1, -1, FALSE);
  m_hbar.SetScrollRange(-1, -1, FALSE);
  return 0;
}

void CScrollPanelWnd::OnDestroy() {
  if (m_pTemplate) {
    if (m_pTemplate->GetSafeHwnd()) m_pTemplate->DestroyWindow();
    delete m_pTemplate;
    m_pTemplate = nullptr;
  }
  DeleteAllItemWindows();
  if (m_vbar.GetSafeHwnd()) m_vbar.DestroyWindow();
  if (m_hbar.GetSafeHwnd()) m_hbar.DestroyWindow();
  if (m_pCanvas && m_pCanvas->GetSafeHwnd()) m_pCanvas->DestroyWindow();
  CWnd::OnDestroy();
}

// ----- Skin -----

// The bar's thickness is the first bitmap's (0 when it cannot be loaded).
void CScrollPanelWnd::SetBarBitmaps(CBitmapScrollBar& bar, bool vertical, UINT part, UINT normal, UINT pressed,
                                    UINT hot, UINT disabled) {
  bar.SetPartBitmaps(part, normal, pressed, hot, disabled);
  BOOL& sized = vertical ? m_bVBarSized : m_bHBarSized;
  if (!sized) {
    BITMAP bm = {};
    CBitmap b;
    bool loaded = normal && b.LoadBitmap(normal) && b.GetBitmap(&bm);
    (vertical ? m_cxVBar : m_cyHBar) = loaded ? (vertical ? bm.bmWidth : bm.bmHeight) : 0;
    sized = TRUE;
  }
  RecalcLayout(TRUE, FALSE);
}

void CScrollPanelWnd::SetVertScrollBarBitmaps(UINT part, UINT normal, UINT pressed, UINT hot, UINT disabled) {
  SetBarBitmaps(m_vbar, true, part, normal, pressed, hot, disabled);
}

void CScrollPanelWnd::SetHorzScrollBarBitmaps(UINT part, UINT normal, UINT pressed, UINT hot, UINT disabled) {
  SetBarBitmaps(m_hbar, false, part, normal, pressed, hot, disabled);
}

void CScrollPanelWnd::SetVertScrollBarBackground(UINT id) {
  m_vbar.SetBackgroundBitmap(id);
  RecalcLayout(TRUE, FALSE);
}

void CScrollPanelWnd::SetHorzScrollBarBackground(UINT id) {
  m_hbar.SetBackgroundBitmap(id);
  RecalcLayout(TRUE, FALSE);
}

void CScrollPanelWnd::SetBackgroundBitmaps(const std::vector<HBITMAP>& bitmaps) {
  if (bitmaps.empty()) return;
  m_bmBack.DeleteObject();
  if (bitmaps[0]) m_bmBack.Attach((HBITMAP)::CopyImage(bitmaps[0], IMAGE_BITMAP, 0, 0, 0));
  if (m_pCanvas) m_pCanvas->SetBackground(bitmaps[0]);
}

void CScrollPanelWnd::SetBkColor(COLORREF color) {
  m_crBack = color;
  if (m_pCanvas) m_pCanvas->SetBkColor(color);
  for (CWnd* p : {(CWnd*)m_pCanvas, (CWnd*)this})
    if (p && p->GetSafeHwnd()) {
      p->Invalidate(FALSE);
      p->UpdateWindow();
    }
}

void CScrollPanelWnd::SetPaintCallback(ScrollPanelPaintFn fn, void* pContext) {
  m_pfnPaint = fn;
  m_pPaintContext = pContext;
  if (m_pCanvas) m_pCanvas->SetPaintCallback(fn, pContext);
}

void CScrollPanelWnd::SetHeaderMetrics(int left, int top, int right, int bottom) {
  m_nLeft = left, m_nTop = top, m_nRight = right, m_nBottom = bottom;
}

void CScrollPanelWnd::SetItemCallback(ScrollPanelItemFn fn, void* pContext) {
  m_pfnItem = fn;
  m_pItemContext = pContext;
}

void CScrollPanelWnd::SetHeaderCtrl(CSkinCtrlWnd* pTemplate) {
  if (!pTemplate) {
    m_pTemplate = nullptr;  // forgotten, as asked
    return;
  }
  if (!GetSafeHwnd() || !m_pCanvas) return;
  if (m_pTemplate) {
    if (m_pTemplate->GetSafeHwnd()) m_pTemplate->DestroyWindow();
    delete m_pTemplate;
  }
  m_pTemplate = pTemplate->Clone(m_pCanvas, kTemplateId);
  if (!m_pTemplate) return;
  m_pTemplate->SetHoverEnable(FALSE);
  m_pTemplate->ModifyStyle(0, WS_CLIPCHILDREN);
  m_pTemplate->SetNotifyWnd(m_hWnd);
  m_pTemplate->ShowWindow(SW_HIDE);
  CalcCellSize(nullptr);
  LayoutItems(std::max(m_nFirst, 0), TRUE, TRUE);
}

CSkinCtrlWnd* CScrollPanelWnd::CreateItemWindow() {
  if (!m_pTemplate || !m_pCanvas) return nullptr;
  return m_pTemplate->Clone(m_pCanvas, m_nNextId++);
}

int CScrollPanelWnd::CalcPanelHeight(BOOL bAll) {
  if (!m_pTemplate) return -1;
  int rows = bAll ? GetTotalCount() : (CalcCellSize(nullptr), m_nRows);
  SIZE s;
  m_pTemplate->GetClientSize(&s);
  return rows * s.cy + (rows - 1) * m_nVGap + 2 * m_nBorder + m_nTop + m_nBottom;
}

void CScrollPanelWnd::ShowScrollBars(BOOL bVert, BOOL bHorz) {
  auto shown = [](CBitmapScrollBar& b) { return b.GetSafeHwnd() && b.IsWindowVisible(); };
  if ((bVert != FALSE) != shown(m_vbar) && m_vbar.GetSafeHwnd()) m_vbar.ShowWindow(bVert ? SW_SHOW : SW_HIDE);
  if ((bHorz != FALSE) != shown(m_hbar) && m_hbar.GetSafeHwnd()) {
    m_hbar.ShowWindow(bHorz ? SW_SHOW : SW_HIDE);
    if (!bHorz) SetHorzOffset(0);
  }
  m_bVertShown = bVert;
  m_bHorzShown = bHorz;
  RecalcLayout(TRUE, FALSE);
}

// ----- Geometry -----

bool CScrollPanelWnd::HorzBarInUse() const { return m_hbar.GetSafeHwnd() && m_bHorzShown && m_nContentWidth >= 1; }

void CScrollPanelWnd::GetContentRect(RECT* prc) const {
  CRect rc(0, 0, 0, 0);
  if (GetSafeHwnd()) GetClientRect(&rc);
  rc.left += m_nLeft + m_nBorder;
  rc.top += m_nTop + m_nBorder;
  rc.right -= m_nRight + m_nBorder;
  rc.bottom -= m_nBottom + m_nBorder;
  if (m_vbar.GetSafeHwnd() && m_bVertShown) rc.right -= m_cxVBar;
  if (m_hbar.GetSafeHwnd() && m_bHorzShown && m_nContentWidth > 0) rc.bottom -= m_cyHBar;
  *prc = rc;
}

void CScrollPanelWnd::CalcRows() {
  if (!m_pTemplate) {
    m_nRows = 0, m_nVGap = 0;
    return;
  }
  CRect rc;
  GetContentRect(&rc);
  SIZE s;
  m_pTemplate->GetClientSize(&s);
  Fit f = FitCount(m_nReqRows, m_nReqVGap, rc.Height(), s.cy);
  m_nRows = f.count, m_nVGap = f.gap;
}

void CScrollPanelWnd::CalcColumns() {
  if (!m_pTemplate) {
    m_nColumns = 0, m_nHGap = 0;
    return;
  }
  CRect rc;
  GetContentRect(&rc);
  SIZE s;
  m_pTemplate->GetClientSize(&s);
  Fit f = FitCount(m_nReqColumns, m_nReqHGap, rc.Width(), s.cx);
  m_nColumns = f.count, m_nHGap = f.gap;
  m_nFitMargin = 0;
}

void CScrollPanelWnd::CalcCellSize(SIZE* pSize) {
  m_szCell = CSize(0, 0);
  if (m_pTemplate) {
    CalcRows();
    CalcColumns();
    CRect rc;
    GetContentRect(&rc);
    SIZE s;
    m_pTemplate->GetClientSize(&s);
    m_szCell.cy = CellSize(m_nReqRows, rc.Height(), m_nVGap, m_nRows, m_nReqRows != 1 ? m_nFitMargin : 0, s.cy);
    m_szCell.cx = CellSize(m_nReqColumns, rc.Width(), m_nHGap, m_nColumns, m_nFitMargin, s.cx);
  }
  if (pSize) *pSize = m_szCell;
}

void CScrollPanelWnd::SetCellFitMode(int rows, int columns) {
  if (rows < -1 || columns < -1) return;
  m_nReqRows = rows, m_nReqColumns = columns;
  Relayout(std::max(m_nFirst, 0), TRUE);
}

BOOL CScrollPanelWnd::SetCellGaps(int vertical, int horizontal) {
  if (vertical < -1 || horizontal < -1) return FALSE;
  m_nReqVGap = vertical, m_nReqHGap = horizontal;
  LayoutItems(std::max(m_nFirst, 0), TRUE, FALSE);
  return TRUE;
}

int CScrollPanelWnd::GetTotalCount() const {
  int min, max;
  m_vbar.GetScrollRange(&min, &max);
  return max + 1;
}

int CScrollPanelWnd::GetVisibleCount() const {
  if (GetTotalCount() <= 0 || m_nFirst < 0 || m_nLast < m_nFirst) return 0;
  return m_nLast - m_nFirst + 1;
}

void CScrollPanelWnd::GetVisibleRange(int* pFirst, int* pLast) const {
  if (pFirst) *pFirst = m_nFirst;
  if (pLast) *pLast = m_nLast;
}

CSkinCtrlWnd* CScrollPanelWnd::GetRowWnd(int pool) const {
  if (pool < 0 || pool >= GetVisibleCount() || pool >= (int)m_items.size()) return nullptr;
  return m_items[pool];
}

int CScrollPanelWnd::FindItemIndex(HWND hItem) const {
  if (!hItem) return -1;
  for (size_t i = 0; i < m_items.size(); i++)
    if (m_items[i]->GetSafeHwnd() == hItem) return (int)i;
  return -1;
}

int CScrollPanelWnd::GetRowState(int index) const {
  if (index < 0 || index > GetTotalCount() - 1) return skinctrl::kNormal;
  if (GetSafeHwnd() && !IsWindowEnabled()) return skinctrl::kDisabled;
  return Contains(m_selection, index) ? skinctrl::kHover : skinctrl::kNormal;
}

CPoint CScrollPanelWnd::CellOrigin() const {
  CRect rc;
  GetContentRect(&rc);
  return CPoint(rc.left + (m_nReqColumns != 1 ? m_nFitMargin : 0), rc.top);
}

// ----- Content and layout -----

void CScrollPanelWnd::SetItemCount(int count, BOOL bRedraw) {
  if (count < 0) return;
  m_vbar.SetScrollRange(count ? 0 : -1, count - 1, bRedraw);
  int first = m_nFirst;
  if (count <= first || (first < 0 && count >= 1)) first = 0;
  if (m_pTemplate) LayoutItems(first, TRUE, FALSE);
}

void CScrollPanelWnd::LayoutItems(int first, BOOL bRedraw, BOOL bRefill) {
  if (!m_nColumns) CalcCellSize(nullptr);
  if (!m_nColumns) return;
  int min, max;
  m_vbar.GetScrollRange(&min, &max);
  if (min < 0) {
    AssignItems(0, -1);
    RecalcLayout(TRUE, FALSE);
    return;
  }
  if (first < 0 || !m_pTemplate) return;
  first = LayoutFirst(first, PaddedTotal(max + 1, m_nColumns), GetCapacity(), m_nColumns);
  if (m_nFirst < 0) m_nFirst = 0;
  AssignItems(first, -1);
  RecalcLayout(bRedraw, bRefill);
}

void CScrollPanelWnd::AssignItems(int first, int deleted) {
  CalcCellSize(nullptr);
  if (!m_nColumns) return;
  if (m_nFirst < 0 || !m_pTemplate) {
    if (m_vbar.GetSafeHwnd()) m_vbar.EnableWindow(FALSE);
    return;
  }
  int total = GetTotalCount();
  int capacity = GetCapacity();
  if (FirstRefused(first, total, m_nColumns, capacity) || deleted > total - 1) {
    m_nRefreshFirst = m_nRefreshLast = -1;
    return;
  }
  if (deleted >= 0 && !m_items.empty()) {
    if (deleted <= m_nLast) {
      if (m_nRefreshFirst != -1 && m_nRefreshLast != -1) RecalcLayout(FALSE, FALSE);
      Reorder r = DeleteFromPool(deleted, m_nFirst, m_nLast, capacity, (int)m_items.size());
      Apply(r, m_items);
      m_nRefreshFirst = r.refreshFirst, m_nRefreshLast = r.refreshLast;
    }
    int count = std::max(total - 1, 0);
    SetItemCount(count, FALSE);
    int back = FirstAfterDelete(m_nFirst, count, capacity, m_nColumns);
    if (back >= 0) Relayout(back, FALSE);
    return;
  }
  if (first != m_nFirst && !m_items.empty()) ShiftItemWindows(first);
  UpdateVertBar(first);
}

void CScrollPanelWnd::ShiftItemWindows(int first) {
  if (FirstRefused(first, GetTotalCount(), m_nColumns, GetCapacity())) {
    m_nRefreshFirst = m_nRefreshLast = -1;
    return;
  }
  if (m_nRefreshFirst != -1 && m_nRefreshLast != -1) RecalcLayout(FALSE, FALSE);
  Reorder r = ShiftPool(m_nFirst, first, m_nLast, GetCapacity(), (int)m_items.size());
  Apply(r, m_items);
  if (r.refreshFirst != -1) m_nRefreshFirst = r.refreshFirst, m_nRefreshLast = r.refreshLast;
}

void CScrollPanelWnd::UpdateVertBar(int first) {
  int oldFirst = m_nFirst;
  int capacity = GetCapacity();
  int total = GetTotalCount();
  int padded = PaddedTotal(total, m_nColumns);
  m_nFirst = first;
  m_nLast = std::min(first + capacity - 1, total - 1);
  SCROLLINFO si = {sizeof(si), SIF_PAGE | SIF_POS};
  si.nPage = capacity <= padded ? capacity - m_nColumns : padded;
  si.nPos = first;
  m_vbar.SetScrollInfo(&si, TRUE);
  if (m_vbar.GetSafeHwnd()) m_vbar.EnableWindow(capacity < padded);
  if (m_bFollowScroll && oldFirst >= 0 && oldFirst != first) {
    std::vector<int> moved = ShiftSelection(m_selection, first - oldFirst, m_nFirst, m_nLast, &m_nAnchor);
    ReplaceSelection(moved, TRUE);
  }
}

void CScrollPanelWnd::Fill(int pool, int index) {
  if (m_pfnItem) m_pfnItem(index, m_nFirst, m_nLast, m_items[pool], m_pItemContext);
}

void CScrollPanelWnd::PlaceBarsAndCanvas() {
  CRect client;
  GetClientRect(&client);
  bool horz = HorzBarInUse();
  bool vert = m_vbar.GetSafeHwnd() && m_bVertShown;
  auto place = [](CBitmapScrollBar& bar, const CRect& rc) {
    CRect now;
    bar.GetWindowRect(&now);
    bar.GetParent()->ScreenToClient(&now);
    if (now != rc) bar.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOREDRAW);
    bar.Invalidate(FALSE);
    bar.UpdateWindow();
  };
  if (vert)
    place(m_vbar, CRect(client.right - m_nBorder - m_cxVBar, client.top + m_nBorder, client.right - m_nBorder,
                        client.bottom - m_nBorder - (horz ? m_cyHBar : 0)));
  if (m_hbar.GetSafeHwnd()) {
    if (horz) {
      place(m_hbar, CRect(client.left + m_nBorder, client.bottom - m_nBorder - m_cyHBar,
                          client.right - m_nBorder - (vert ? m_cxVBar : 0), client.bottom - m_nBorder));
      m_hbar.ShowWindow(SW_SHOWNA);
    } else {
      m_hbar.ShowWindow(SW_HIDE);
    }
  }
  if (m_pCanvas && m_pCanvas->GetSafeHwnd()) {
    CRect rc;
    GetContentRect(&rc);
    m_pCanvas->MoveWindow(&rc, FALSE);
    m_pCanvas->Invalidate(FALSE);
  }
}

void CScrollPanelWnd::RecalcLayout(BOOL bRedraw, BOOL bRefill) {
  bool refresh = m_nRefreshFirst != -1 && m_nRefreshLast != -1;
  if (!(refresh || bRedraw) || !GetSafeHwnd() || !m_pTemplate) return;
  Invalidate(FALSE);
  PlaceBarsAndCanvas();
  CalcCellSize(nullptr);
  int capacity = GetCapacity();
  int walk = std::max((int)m_items.size(), capacity);
  int last = GetTotalCount() - 1;
  int x0 = m_nReqColumns != 1 ? m_nFitMargin : 0;  // canvas coordinates
  CPoint at(x0, 0);
  for (int i = 0; i < walk; i++) {
    int index = m_nFirst + i;
    if (m_nFirst < 0 || index > last) {
      if (i < (int)m_items.size()) {
        m_items[i]->ShowWindow(SW_HIDE);
        if (m_pCanvas) m_pCanvas->Invalidate(FALSE);
      } else {
        break;
      }
    } else if (i < capacity) {
      bool made = false;
      if (i >= (int)m_items.size()) {
        CSkinCtrlWnd* p = m_pTemplate->Clone(m_pCanvas, m_nNextId++);
        if (!p) break;
        p->SetNotifyWnd(m_hWnd);
        m_items.push_back(p);
        Fill(i, index);
        made = true;
      }
      CSkinCtrlWnd* p = m_items[i];
      CRect cell(at, m_szCell);
      CRect now;
      p->GetWindowRect(&now);
      m_pCanvas->ScreenToClient(&now);
      if (now != cell)
        p->SetWindowPos(nullptr, cell.left, cell.top, cell.Width(), cell.Height(),
                        SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
      bool hidden = !p->IsWindowVisible();
      bool inRefresh = m_nRefreshFirst != -1 && i >= m_nRefreshFirst && i <= m_nRefreshLast;
      if (!made && (bRefill || inRefresh || hidden)) Fill(i, index);
      if (!m_bOwnStates) {
        p->SetState(GetRowState(index));
      } else {
        p->Invalidate(FALSE);
        p->UpdateWindow();
      }
      p->ShowWindow(SW_SHOWNA);
    }
    if ((i + 1) % std::max(m_nColumns, 1) == 0) {
      at.x = x0;
      at.y += m_szCell.cy + m_nVGap;
    } else {
      at.x += m_szCell.cx + m_nHGap;
    }
  }
  for (int i = capacity; i < (int)m_items.size(); i++) m_items[i]->ShowWindow(SW_HIDE);
  m_nRefreshFirst = m_nRefreshLast = -1;
  UpdateWindow();
}

void CScrollPanelWnd::SetHorzExtent(int cx, BOOL bRedraw) {
  CRect rc;
  GetContentRect(&rc);
  if (rc.Width() < cx) {
    m_nContentWidth = cx;
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE};
    si.nMin = 0, si.nMax = cx;
    GetContentRect(&rc);
    si.nPage = rc.Width();
    m_hbar.SetScrollInfo(&si, bRedraw);
    SetHorzOffset(m_nHorzOffset);
  } else {
    m_nContentWidth = -cx;
    SetHorzOffset(0);
  }
  LayoutItems(std::max(m_nFirst, 0), bRedraw, FALSE);
}

void CScrollPanelWnd::SetHorzOffset(int offset) {
  CRect rc;
  GetContentRect(&rc);
  int limit = std::max(0, m_nContentWidth - rc.Width());
  if (m_nContentWidth < 0 || offset < 0) offset = 0;
  offset = std::min(offset, limit);
  if (offset == m_nHorzOffset) return;
  m_nHorzOffset = offset;
  m_hbar.SetScrollPos(offset, TRUE);
  if (m_pTemplate) m_pTemplate->SetOrigin(offset, 0);
  for (CSkinCtrlWnd* p : m_items) p->SetOrigin(offset, 0);
  Tell(UWM_LIST_HSCROLL, offset);
}

void CScrollPanelWnd::DeleteAllItemWindows() {
  for (CSkinCtrlWnd* p : m_items) {
    if (p->GetSafeHwnd()) p->DestroyWindow();
    delete p;
  }
  m_items.clear();
  m_nNextId = kFirstItemId;
}

void CScrollPanelWnd::DeleteItemWindow(HWND hItem) {
  int pool = FindItemIndex(hItem);
  if (pool < 0) return;
  CSkinCtrlWnd* p = m_items[pool];
  p->ShowWindow(SW_HIDE);
  p->DestroyWindow();
  delete p;
  m_items.erase(m_items.begin() + pool);
}

void CScrollPanelWnd::ResetContent() {
  m_selection.clear();
  if (m_vbar.GetSafeHwnd()) SetItemCount(0, TRUE);
  m_nFirst = m_nLast = 0;
  m_nRefreshFirst = m_nRefreshLast = 0;
  ClearSelection(TRUE, TRUE, FALSE);
  RecalcLayout(TRUE, FALSE);
}

// ----- Messages -----

void CScrollPanelWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  if (m_pfnPaint && m_pfnPaint(&rc, &dc, m_pPaintContext)) return;
  if (m_bmBack.GetSafeHandle()) {
    DrawBitmap(&dc, &m_bmBack, 0, 0, rc.right, rc.bottom, FALSE, FALSE);
  } else {
    dc.FillSolidRect(&rc, m_crBack);
  }
}

void CScrollPanelWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  CalcRows();
  CalcColumns();
  SetHorzExtent(std::abs(m_nContentWidth), TRUE);
}

void CScrollPanelWnd::OnEnable(BOOL bEnable) {
  for (CSkinCtrlWnd* p : m_items) p->EnableWindow(bEnable);
  if (m_pCanvas && m_pCanvas->GetSafeHwnd()) m_pCanvas->EnableWindow(bEnable);
  if (m_vbar.GetSafeHwnd()) m_vbar.EnableWindow(bEnable);
  if (m_hbar.GetSafeHwnd()) m_hbar.EnableWindow(bEnable);
}

void CScrollPanelWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  int first;
  if (!ScrollFirst(nSBCode, (int)nPos, m_nFirst, m_nColumns, GetCapacity(), PaddedTotal(GetTotalCount(), m_nColumns),
                   &first))
    return;
  Relayout(first, FALSE);
}

void CScrollPanelWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  SetFocus();
  switch (nSBCode) {
    case SB_LINELEFT: SetHorzOffset(m_nHorzOffset - 10); break;
    case SB_LINERIGHT: SetHorzOffset(m_nHorzOffset + 10); break;
    case SB_PAGELEFT: SetHorzOffset(m_nHorzOffset - std::abs(m_nContentWidth) / 2); break;
    case SB_PAGERIGHT: SetHorzOffset(m_nHorzOffset + std::abs(m_nContentWidth) / 2); break;
    case SB_THUMBTRACK: SetHorzOffset((int)nPos); break;
  }
}

BOOL CScrollPanelWnd::OnMouseWheel(UINT, short delta, CPoint) {
  OnVScroll(delta >= 0 ? SB_LINEUP : SB_LINEDOWN, 0, nullptr);
  return TRUE;
}

void CScrollPanelWnd::Tell(UINT message, WPARAM wParam) {
  if (m_hOwner) ::SendNotifyMessage(m_hOwner, message, wParam, (LPARAM)this);
}

LRESULT CScrollPanelWnd::OnItemStartDrag(WPARAM wParam, LPARAM lParam) {
  if (m_hOwner) ::SendNotifyMessage(m_hOwner, UWM_SKIN_STARTDRAG, wParam, lParam);
  return 0;
}

LRESULT CScrollPanelWnd::OnItemRClick(WPARAM, LPARAM lParam) {
  if ((HWND)lParam == m_hWnd) return 0;  // our own, relayed already
  if (m_hOwner) ::SendMessage(m_hOwner, UWM_SKIN_RCLICK, (WPARAM)CWnd::FromHandle((HWND)lParam), (LPARAM)m_hWnd);
  return 0;
}
