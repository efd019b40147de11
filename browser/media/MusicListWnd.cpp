// The music list: creation, header, columns, image lists, row filling and layout.
#include "MusicListWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMusicListWnd, CScrollPanelWnd)

BEGIN_MESSAGE_MAP(CMusicListWnd, CScrollPanelWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_SIZING()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_ENABLE()
END_MESSAGE_MAP()

CMusicListWnd::CMusicListWnd()
    : m_pHeader(nullptr),
      m_pIconList(nullptr),
      m_pCheckList(nullptr),
      m_pStatusList(nullptr),
      m_nCheckCell(-1),
      m_nStatusCell(-1),
      m_nHeaderWidth(0),
      m_pfnOwnerItem(nullptr),
      m_pOwnerContext(nullptr),
      m_hListOwner(nullptr),
      m_nFocusRow(-1),
      m_nCurrentRow(-1),
      m_nAnchorRow(-1),
      m_bCellHitTest(TRUE) {}

CMusicListWnd::~CMusicListWnd() {
  if (GetSafeHwnd()) DestroyWindow();
  for (CImageList* p : {m_pIconList, m_pCheckList, m_pStatusList}) {
    if (p && p->GetSafeHandle()) p->DeleteImageList();
    delete p;
  }
  delete m_pHeader;
}

BOOL CMusicListWnd::RegisterWindowClass(HINSTANCE hInstance) {
  if (!hInstance) hInstance = AfxGetResourceHandle();
  WNDCLASSA wc = {};
  if (::GetClassInfoA(hInstance, "ListWndClass", &wc)) return TRUE;
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = hInstance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "ListWndClass";
  return ::RegisterClassA(&wc) != 0;
}

int CMusicListWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CScrollPanelWnd::OnCreate(lpcs) == -1) return -1;
  // The panel's notices come here first; the list passes them on to its owner.
  CScrollPanelWnd::SetOwnerWnd(m_hWnd);
  CScrollPanelWnd::SetItemCallback(&CMusicListWnd::FillRow, this);
  return 0;
}

void CMusicListWnd::OnDestroy() {
  CScrollPanelWnd::OnDestroy();
  if (m_pHeader) {
    if (m_pHeader->GetSafeHwnd()) m_pHeader->DestroyWindow();
    delete m_pHeader;
    m_pHeader = nullptr;
  }
}

void CMusicListWnd::SetItemCallback(MusicListItemFn fn, void* pContext) {
  m_pfnOwnerItem = fn;
  m_pOwnerContext = pContext;
}

// ----- Header and columns -----

std::vector<int> CMusicListWnd::ColumnOrder() const {
  std::vector<int> order;
  if (m_pHeader)
    for (int i = 0; i < m_pHeader->GetColumnCount(); i++) order.push_back(m_pHeader->GetColumnId(i));
  return order;
}

void CMusicListWnd::LayoutHeader() {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) return;
  CRect content;
  GetContentRect(&content);
  m_pHeader->SetLayoutWidth(content.Width());
  m_pHeader->SetMinimumWidth(content.Width());
  m_pHeader->Relayout();
  m_pHeader->RecalcLayout();
}

BOOL CMusicListWnd::CreateHeader(const RECT& rect) {
  if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->DestroyWindow();
  if (!m_pHeader) m_pHeader = new CMusicListHeader;
  if (!m_pHeader->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), "",
                           WS_CHILD | WS_VISIBLE, rect, this, kHeaderId))
    return FALSE;
  m_pHeader->SetNotifyWnd(m_hWnd);
  m_pHeader->SetColumnHeaderLook(TRUE);
  m_pHeader->SetTopWindowCheck(FALSE);
  m_pHeader->Relayout();
  m_pHeader->SetHoverEnable(TRUE);
  m_pHeader->SetCaptureHover(TRUE);
  SetHeaderMetrics(0, rect.bottom - rect.top, 0, 0);
  LayoutHeader();
  return TRUE;
}

int CMusicListWnd::InsertColumn(int index, const CMusicListColumn* pColumn, BOOL bApply) {
  if (!pColumn) return -1;
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) CreateHeader(CRect(0, 0, pColumn->width, kHeaderHeight));
  if (!m_pHeader) return -1;
  int position = m_pHeader->InsertColumn(index, pColumn);
  if (bApply) {
    std::vector<int> order = ColumnOrder();
    if (CListRowCtrl* t = Template()) t->SetColumnOrder(order);
    ForEachRow([&](CListRowCtrl* p) { p->SetColumnOrder(order); });
  }
  return position;
}

// The header band is as high as the first part image.
BOOL CMusicListWnd::HeaderImagesSet() {
  const BITMAPINFO* first = m_pHeader->GetImage(0);
  SetHeaderMetrics(0, first ? std::abs(first->bmiHeader.biHeight) : kHeaderHeight, 0, 0);
  LayoutHeader();
  return TRUE;
}

BOOL CMusicListWnd::SetHeaderImages(const std::vector<BITMAPINFO*>& images, const CSize* pCell, COLORREF key) {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) CreateHeader(CRect(0, 0, 0, kHeaderHeight));
  if (!m_pHeader || !m_pHeader->SetImages(images, pCell, key)) return FALSE;
  return HeaderImagesSet();
}

BOOL CMusicListWnd::SetHeaderImages(const std::vector<HBITMAP>& bitmaps, HBITMAP hBackground, COLORREF key) {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) CreateHeader(CRect(0, 0, 0, kHeaderHeight));
  if (!m_pHeader || !m_pHeader->SetImagesFromBitmaps(bitmaps, hBackground ? &hBackground : nullptr, key)) return FALSE;
  return HeaderImagesSet();
}

BOOL CMusicListWnd::SetHeaderImages(const UINT ids[listheader::kPartImages], const UINT* pBackground, COLORREF key) {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) CreateHeader(CRect(0, 0, 0, kHeaderHeight));
  if (!m_pHeader || !m_pHeader->LoadImages(ids, pBackground, key)) return FALSE;
  return HeaderImagesSet();
}

BOOL CMusicListWnd::SetHeaderImages(const LPCSTR names[listheader::kPartImages], LPCSTR background, COLORREF key) {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) CreateHeader(CRect(0, 0, 0, kHeaderHeight));
  if (!m_pHeader || !m_pHeader->LoadImagesByName(names, background, key)) return FALSE;
  return HeaderImagesSet();
}

void CMusicListWnd::SetHeaderCursors(HCURSOR hArrow, HCURSOR hDivider, HCURSOR hHidden) {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) CreateHeader(CRect(0, 0, 0, kHeaderHeight));
  if (m_pHeader) m_pHeader->SetCursors(hArrow, hDivider, hHidden);
}

void CMusicListWnd::SetHeaderResizable(BOOL b) {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) CreateHeader(CRect(0, 0, 0, kHeaderHeight));
  if (m_pHeader) m_pHeader->SetResizable(b);
}

BOOL CMusicListWnd::IsPointInHeader(int x, int y) const {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) return FALSE;
  CRect rc;
  m_pHeader->GetWindowRect(&rc);
  ScreenToClient(&rc);
  return rc.PtInRect(CPoint(x, y));
}

int CMusicListWnd::ColumnFromPoint(int x) const {
  if (!m_pHeader || !m_pHeader->GetSafeHwnd()) return -1;
  return m_pHeader->ColumnFromPoint(x, 0);
}

void CMusicListWnd::SetHeaderCtrl(CSkinCtrlWnd* pTemplate) {
  CScrollPanelWnd::SetHeaderCtrl(pTemplate);
  CListRowCtrl* t = Template();
  if (!t) return;
  t->SetIconImageList(m_pIconList);
  t->SetStatusImageList(m_nStatusCell, m_pStatusList);
  t->SetCheckImageList(m_nCheckCell, m_pCheckList);
  t->SetColumnOrder(ColumnOrder());
  t->SetCellHitTest(m_bCellHitTest);
}

void CMusicListWnd::SetCellFitMode(int rows, int columns) {
  m_bCellHitTest = columns == 1;
  if (CListRowCtrl* t = Template()) t->SetCellHitTest(m_bCellHitTest);
  ForEachRow([&](CListRowCtrl* p) { p->SetCellHitTest(m_bCellHitTest); });
  CScrollPanelWnd::SetCellFitMode(rows, columns);
}

void CMusicListWnd::RecalcLayout() {
  if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->Invalidate(FALSE);
  LayoutItems(std::max(m_nFirst, 0), TRUE, TRUE);
}

// ----- Image lists and rows -----

namespace {
// A copy of a list holding at least one image; null otherwise.
CImageList* CopyList(CImageList* pSource) {
  if (!pSource || !pSource->GetSafeHandle() || pSource->GetImageCount() < 1) return nullptr;
  CImageList* p = new CImageList;
  if (!p->Create(pSource)) {
    delete p;
    return nullptr;
  }
  return p;
}
void Replace(CImageList*& pOwn, CImageList* pCopy) {
  if (pOwn && pOwn->GetSafeHandle()) pOwn->DeleteImageList();
  delete pOwn;
  pOwn = pCopy;
}
}  // namespace

void CMusicListWnd::SetIconImageList(CImageList* pList) {
  if (!pList) return;
  Replace(m_pIconList, CopyList(pList));
  if (CListRowCtrl* t = Template()) t->SetIconImageList(m_pIconList);
}

void CMusicListWnd::SetStatusImageList(CImageList* pList) {
  if (!pList) return;
  Replace(m_pStatusList, CopyList(pList));
  if (CListRowCtrl* t = Template()) t->SetStatusImageList(m_nStatusCell, m_pStatusList);
}

void CMusicListWnd::SetCheckImageList(int cell, CImageList* pList) {
  if (!pList) return;
  Replace(m_pCheckList, CopyList(pList));
  if (m_pCheckList) m_nCheckCell = cell;
  if (CListRowCtrl* t = Template()) t->SetCheckImageList(m_nCheckCell, m_pCheckList);
  ForEachRow([&](CListRowCtrl* p) {
    p->SetCheckImageList(m_nCheckCell, m_pCheckList);
    p->Paint();
  });
}

void CMusicListWnd::SetStatusColumn(int cell) {
  m_nStatusCell = cell;
  ForEachRow([&](CListRowCtrl* p) {
    p->SetStatusCell(cell);
    p->Paint();
  });
  if (CListRowCtrl* t = Template()) t->SetStatusCell(cell);
}

void CMusicListWnd::SetRowCheck(int position, BOOL bCheck) {
  if (CListRowCtrl* p = GetRow(position)) {
    p->SetChecked(bCheck);
    p->InvalidateCheck();
  }
}

void CMusicListWnd::EnableCheckBoxes(BOOL b) {
  ForEachRow([&](CListRowCtrl* p) { p->EnableCheckBox(b); });
  if (CListRowCtrl* t = Template()) t->EnableCheckBox(b);
}

void CMusicListWnd::EnableRowMouse(BOOL b) {
  ForEachRow([&](CListRowCtrl* p) { p->EnableMouse(b); });
  if (CListRowCtrl* t = Template()) t->EnableMouse(b);
}

void CMusicListWnd::SetCurrentRow(int row) {
  m_nCurrentRow = row;
  for (int i = 0; i < GetVisibleCount(); i++)
    if (CListRowCtrl* p = GetRow(i)) {
      if (m_nFirst + i == row)
        p->SetCurrentLook();
      else
        p->ClearCurrentLook();
      p->Paint();
    }
}

int CMusicListWnd::GetCurrentRow() const {
  for (int i = 0; i < GetVisibleCount(); i++)
    if (CListRowCtrl* p = GetRow(i))
      if (p->HasCurrentLook()) return m_nFirst + i;
  return m_nCurrentRow;
}

int CMusicListWnd::GetRowWindowState(int position) const {
  CListRowCtrl* p = GetRow(position);
  return p ? p->GetState() : -1;
}

int CMusicListWnd::GetColumnTextWidth(int cell) const {
  int widest = 0;
  for (int i = 0; i < GetVisibleCount(); i++)
    if (CListRowCtrl* p = GetRow(i)) widest = std::max(widest, p->GetCellTextWidth(cell));
  return widest;
}

void CMusicListWnd::RedrawRow(int position) {
  if (CListRowCtrl* p = GetRow(position)) p->Paint();
}

int CMusicListWnd::RowFromPoint(int x, int y) const {
  CPoint pt(x, y);
  ClientToScreen(&pt);
  for (int i = 0; i < GetVisibleCount(); i++)
    if (CListRowCtrl* p = GetRow(i)) {
      CRect rc;
      p->GetWindowRect(&rc);
      if (p->IsWindowVisible() && rc.PtInRect(pt)) return i;
    }
  return -1;
}

int CMusicListWnd::PositionOf(HWND hRow) const {
  int p = FindItemIndex(hRow);
  return p >= 0 && p < GetVisibleCount() ? p : -1;
}

BOOL CMusicListWnd::ScrollToRow(int, int row) {
  int last = std::max(GetTotalCount() - GetCapacity(), 0);
  if (row >= 0 && row <= last) Relayout(row, TRUE);
  return TRUE;
}

void CMusicListWnd::EnsureRowVisible(int row, BOOL) {
  int first = m_nFirst, last = m_nLast;
  if (first < 0 || last < 0 || row < 0) return;
  int columns = std::max(GetColumns(), 1);
  if (row < first) {
    Relayout(row - row % columns, FALSE);
  } else if (row > last - columns + 1) {
    int rows = std::max(GetRows(), 1);
    int top = (row / columns - rows + 1) * columns;
    Relayout(std::max(top, 0), FALSE);
  }
}

void CMusicListWnd::FillRow(int index, int first, int last, CSkinCtrlWnd* pItem, void* pContext) {
  CMusicListWnd* self = static_cast<CMusicListWnd*>(pContext);
  if (!self || !self->m_pfnOwnerItem) return;
  self->m_pfnOwnerItem(index, first, last, pItem, self->m_pOwnerContext);
  CListRowCtrl* pRow = dynamic_cast<CListRowCtrl*>(pItem);
  CMusicListHeader* h = self->m_pHeader;
  if (!pRow || !h || !h->GetSafeHwnd()) return;
  std::vector<musiclist::ColumnShape> shapes;
  for (const CMusicListColumn& c : h->Columns()) shapes.push_back({c.id, c.width, c.format});
  pRow->SetCells(musiclist::ArrangeCells(pRow->GetCells(), shapes));
  pRow->SetContentWidth(self->m_nHeaderWidth);
}

// ----- Painting and sizing -----

void CMusicListWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  if (m_pfnPaint && m_pfnPaint(&rc, &dc, m_pPaintContext)) return;
  if (m_pHeader && m_pHeader->GetSafeHwnd()) {
    CRect header;
    m_pHeader->GetWindowRect(&header);
    ScreenToClient(&header);
    dc.ExcludeClipRect(&header);
  }
  if (m_bmBack.GetSafeHandle())
    DrawBitmap(&dc, &m_bmBack, 0, 0, rc.right, rc.bottom, FALSE, FALSE);
  else
    dc.FillSolidRect(&rc, m_crBack);
  ::SelectClipRgn(dc.GetSafeHdc(), nullptr);
}

void CMusicListWnd::OnSizing(UINT nSide, LPRECT lpRect) {
  Default();
  LayoutHeader();
}

void CMusicListWnd::OnSize(UINT nType, int cx, int cy) {
  CScrollPanelWnd::OnSize(nType, cx, cy);
  LayoutHeader();
  RecalcLayout();
}

void CMusicListWnd::OnEnable(BOOL bEnable) {
  CScrollPanelWnd::OnEnable(bEnable);
  ForEachRow([&](CListRowCtrl* p) { p->EnableWindow(bEnable); });
}
