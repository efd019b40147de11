// The image list.
#include <Kitlib2/CMDIB.h>
#include <Widgetkit/ImageListCtrl.h>

#include <algorithm>
#include <cstdio>

namespace {

const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kSelected = RGB(204, 226, 250);
const COLORREF kFrame = RGB(160, 160, 160);
const int kTextTop = 8 + CImageListCtrl::kThumbHeight + 4;

bool SameNoCase(const std::string& a, LPCSTR b) {
  return ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b, -1) == CSTR_EQUAL;
}

const char* NameOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

}  // namespace

IMPLEMENT_DYNAMIC(CImageListCtrl, CWnd)

BEGIN_MESSAGE_MAP(CImageListCtrl, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_VSCROLL()
  ON_WM_MOUSEWHEEL()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_WM_KEYDOWN()
  ON_WM_GETDLGCODE()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CImageListCtrl::CImageListCtrl()
    : m_bMultiSelect(TRUE),
      m_bDragDrop(TRUE),
      m_nScroll(0),
      m_nFocus(-1),
      m_nAnchor(-1),
      m_bPressed(FALSE),
      m_bDragging(FALSE),
      m_bLayoutPending(FALSE) {}

CImageListCtrl::~CImageListCtrl() {
  for (Item& item : m_items)
    if (item.thumb) ::DeleteObject(item.thumb);
}

BOOL CImageListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID) {
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), NULL, NULL);
  return CreateEx(WS_EX_CLIENTEDGE, cls, "", dwStyle | WS_VSCROLL | WS_CLIPCHILDREN, rect, pParent, nID);
}

void CImageListCtrl::Init(BOOL bMultiSelect, BOOL bDragDrop) {
  m_bMultiSelect = bMultiSelect;
  m_bDragDrop = bDragDrop;
  UpdateScrollRange();
}

int CImageListCtrl::AddItem(LPCSTR lpszPath, SIZE size) { return InsertItem(GetItemCount(), lpszPath, size); }

int CImageListCtrl::InsertItem(int nIndex, LPCSTR lpszPath, SIZE size) {
  if (!lpszPath || !*lpszPath || GetItemCount() >= kMaxItems) return -1;
  nIndex = std::max(0, std::min(nIndex, GetItemCount()));
  m_items.insert(m_items.begin() + nIndex, Item{lpszPath, size, FALSE, NULL, FALSE});
  if (m_nFocus >= nIndex) ++m_nFocus;
  LayoutChanged();
  return nIndex;
}

BOOL CImageListCtrl::DeleteItem(int nIndex) {
  if (nIndex < 0 || nIndex >= GetItemCount()) return FALSE;
  if (m_items[nIndex].thumb) ::DeleteObject(m_items[nIndex].thumb);
  m_items.erase(m_items.begin() + nIndex);
  if (m_nFocus >= GetItemCount()) m_nFocus = GetItemCount() - 1;
  if (m_nAnchor >= GetItemCount()) m_nAnchor = -1;
  LayoutChanged();
  return TRUE;
}

void CImageListCtrl::DeleteAllItems() {
  for (Item& item : m_items)
    if (item.thumb) ::DeleteObject(item.thumb);
  m_items.clear();
  m_nFocus = m_nAnchor = -1;
  m_nScroll = 0;
  LayoutChanged();
}

CString CImageListCtrl::GetItemText(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetItemCount()) return CString();
  return CString(m_items[nIndex].path.c_str());
}

SIZE CImageListCtrl::GetItemSize(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetItemCount()) return SIZE{0, 0};
  return m_items[nIndex].size;
}

int CImageListCtrl::FindItem(LPCSTR lpszText) const {
  if (!lpszText) return -1;
  for (int i = 0; i < GetItemCount(); ++i)
    if (SameNoCase(m_items[i].path, lpszText)) return i;
  return -1;
}

BOOL CImageListCtrl::IsSelected(int nIndex) const {
  return nIndex >= 0 && nIndex < GetItemCount() && m_items[nIndex].selected;
}

BOOL CImageListCtrl::SetSelected(int nIndex, BOOL bSelected) {
  if (nIndex < 0 || nIndex >= GetItemCount()) return FALSE;
  if (!bSelected != !m_items[nIndex].selected) {
    m_items[nIndex].selected = bSelected ? TRUE : FALSE;
    if (m_hWnd) InvalidateRect(GetItemRect(nIndex), FALSE);
  }
  return TRUE;
}

int CImageListCtrl::GetSelectedCount() const {
  return (int)std::count_if(m_items.begin(), m_items.end(), [](const Item& i) { return i.selected != FALSE; });
}

int CImageListCtrl::Columns() const {
  if (!m_hWnd) return 1;
  CRect rc;
  GetClientRect(&rc);
  return std::max(1, rc.Width() / kCellWidth);
}

int CImageListCtrl::ContentHeight() const {
  int rows = (GetItemCount() + Columns() - 1) / Columns();
  return rows * kCellHeight;
}

CRect CImageListCtrl::GetItemRect(int nIndex) const {
  int columns = Columns();
  int x = (nIndex % columns) * kCellWidth, y = (nIndex / columns) * kCellHeight - m_nScroll;
  return CRect(x, y, x + kCellWidth, y + kCellHeight);
}

int CImageListCtrl::HitTest(CPoint pt) const {
  if (pt.x < 0 || pt.y < 0) return -1;
  int column = pt.x / kCellWidth;
  if (column >= Columns()) return -1;
  int index = ((pt.y + m_nScroll) / kCellHeight) * Columns() + column;
  return index < GetItemCount() ? index : -1;
}

int CImageListCtrl::InsertionIndex(CPoint pt) const {
  if (pt.y + m_nScroll < 0) return 0;
  int column = std::min(std::max<int>(pt.x, 0) / kCellWidth, Columns() - 1);
  // The right half of a cell drops after its item.
  if (pt.x % kCellWidth > kCellWidth / 2) ++column;
  int index = ((pt.y + m_nScroll) / kCellHeight) * Columns() + column;
  return std::min(index, GetItemCount());
}

BOOL CImageListCtrl::MoveSelected(int nBefore) {
  nBefore = std::max(0, std::min(nBefore, GetItemCount()));
  std::vector<Item> moved, rest;
  int restBefore = 0;
  for (int i = 0; i < GetItemCount(); ++i) {
    if (m_items[i].selected) {
      moved.push_back(m_items[i]);
    } else {
      if (i < nBefore) ++restBefore;
      rest.push_back(m_items[i]);
    }
  }
  if (moved.empty()) return FALSE;
  std::vector<Item> order(rest.begin(), rest.begin() + restBefore);
  order.insert(order.end(), moved.begin(), moved.end());
  order.insert(order.end(), rest.begin() + restBefore, rest.end());
  bool changed = false;
  for (size_t i = 0; i < order.size(); ++i) changed = changed || order[i].path != m_items[i].path;
  m_items.swap(order);
  m_nFocus = restBefore;
  if (m_hWnd) Invalidate();
  return changed ? TRUE : FALSE;
}

// Many items arrive one by one: the scroll range follows once, when the list next paints.
void CImageListCtrl::LayoutChanged() {
  if (!m_hWnd || m_bLayoutPending) return;
  m_bLayoutPending = TRUE;
  Invalidate();
}

void CImageListCtrl::UpdateScrollRange() {
  m_bLayoutPending = FALSE;
  if (!m_hWnd) return;
  CRect rc;
  GetClientRect(&rc);
  int height = ContentHeight();
  m_nScroll = std::max(0, std::min(m_nScroll, height - rc.Height()));
  SCROLLINFO si = {sizeof(si),
                   SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                   0,
                   std::max(0, height - 1),
                   (UINT)rc.Height(),
                   m_nScroll,
                   0};
  SetScrollInfo(SB_VERT, &si, TRUE);
}

void CImageListCtrl::ScrollTo(int y) {
  CRect rc;
  GetClientRect(&rc);
  y = std::max(0, std::min(y, ContentHeight() - rc.Height()));
  if (y == m_nScroll) return;
  m_nScroll = y;
  UpdateScrollRange();
  Invalidate();
}

void CImageListCtrl::EnsureVisible(int nIndex) {
  if (nIndex < 0 || nIndex >= GetItemCount()) return;
  CRect rc, item = GetItemRect(nIndex);
  GetClientRect(&rc);
  if (item.top < 0)
    ScrollTo(m_nScroll + item.top);
  else if (item.bottom > rc.bottom)
    ScrollTo(m_nScroll + item.bottom - rc.bottom);
}

HBITMAP CImageListCtrl::Thumbnail(Item& item, HDC hdc) {
  if (item.tried) return item.thumb;
  item.tried = TRUE;
  CCMDIB image;
  if (image.LoadFit(item.path.c_str(), SIZE{kThumbWidth, kThumbHeight}, CMDIB_LOAD_UPRIGHT | CMDIB_LOAD_THUMBNAIL) < 0)
    return NULL;
  CCMDIB fitted;
  if (image.ResizeFilter(SIZE{kThumbWidth, kThumbHeight}, &fitted, CMDIB_RESIZE_FIT | CMDIB_RESIZE_WHITE) < 0)
    return NULL;
  item.thumb = fitted.CreateBitmap(hdc);
  return item.thumb;
}

void CImageListCtrl::DrawItem(CDC* pDC, int nIndex, const CRect& rc) {
  Item& item = m_items[nIndex];
  HDC hdc = pDC->GetSafeHdc();
  CRect cell = rc;
  cell.DeflateRect(3, 3);
  if (item.selected) {
    HBRUSH brush = ::CreateSolidBrush(kSelected);
    ::FillRect(hdc, &cell, brush);
    ::DeleteObject(brush);
  }
  CRect thumb(rc.left + (kCellWidth - kThumbWidth) / 2, rc.top + 8, 0, 0);
  thumb.right = thumb.left + kThumbWidth;
  thumb.bottom = thumb.top + kThumbHeight;
  if (HBITMAP bmp = Thumbnail(item, hdc)) {
    BITMAP bm = {};
    ::GetObject(bmp, sizeof(bm), &bm);
    HDC mem = ::CreateCompatibleDC(hdc);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(hdc, thumb.left + (kThumbWidth - bm.bmWidth) / 2, thumb.top + (kThumbHeight - bm.bmHeight) / 2, bm.bmWidth,
             bm.bmHeight, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
  } else {
    HBRUSH frame = ::CreateSolidBrush(kFrame);
    ::FrameRect(hdc, &thumb, frame);
    ::DeleteObject(frame);
  }
  ::SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, ::GetSysColor(COLOR_WINDOWTEXT));
  CRect text(rc.left + 4, rc.top + kTextTop, rc.right - 4, rc.top + kTextTop + 14);
  ::DrawTextA(hdc, NameOf(item.path), -1, &text, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (item.size.cx > 0 && item.size.cy > 0) {
    char size[32];
    snprintf(size, sizeof(size), "%ld x %ld", (long)item.size.cx, (long)item.size.cy);
    text.OffsetRect(0, 14);
    ::DrawTextA(hdc, size, -1, &text, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (nIndex == m_nFocus && ::GetFocus() == m_hWnd) ::DrawFocusRect(hdc, &cell);
}

void CImageListCtrl::OnPaint() {
  if (m_bLayoutPending) UpdateScrollRange();
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  HDC hdc = dc.GetSafeHdc();
  HBRUSH back = ::CreateSolidBrush(kBackground);
  ::FillRect(hdc, &rc, back);
  ::DeleteObject(back);
  HGDIOBJ oldFont = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
  int columns = Columns();
  int first = (m_nScroll / kCellHeight) * columns;
  for (int i = first; i < GetItemCount(); ++i) {
    CRect item = GetItemRect(i);
    if (item.top >= rc.bottom) break;
    CRect clip;
    if (clip.IntersectRect(&item, &dc.m_ps.rcPaint)) DrawItem(&dc, i, item);
  }
  ::SelectObject(hdc, oldFont);
}

BOOL CImageListCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CImageListCtrl::OnSize(UINT, int, int) {
  UpdateScrollRange();
  Invalidate();
}

void CImageListCtrl::OnVScroll(UINT nSBCode, UINT, CScrollBar*) {
  CRect rc;
  GetClientRect(&rc);
  SCROLLINFO si = {sizeof(si), SIF_TRACKPOS};
  GetScrollInfo(SB_VERT, &si, SIF_TRACKPOS);
  switch (nSBCode) {
    case SB_LINEUP: ScrollTo(m_nScroll - kCellHeight / 4); break;
    case SB_LINEDOWN: ScrollTo(m_nScroll + kCellHeight / 4); break;
    case SB_PAGEUP: ScrollTo(m_nScroll - rc.Height()); break;
    case SB_PAGEDOWN: ScrollTo(m_nScroll + rc.Height()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(si.nTrackPos); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(ContentHeight()); break;
  }
}

BOOL CImageListCtrl::OnMouseWheel(UINT, short zDelta, CPoint) {
  ScrollTo(m_nScroll - zDelta * kCellHeight / (2 * WHEEL_DELTA));
  return TRUE;
}

void CImageListCtrl::Notify(int nCode, int iItem) {
  CWnd* pParent = GetParent();
  if (!pParent) return;
  NMIMAGELIST nm = {{m_hWnd, (UINT_PTR)GetDlgCtrlID(), (UINT)nCode}, iItem};
  pParent->SendMessage(WM_NOTIFY, (WPARAM)GetDlgCtrlID(), (LPARAM)&nm);
}

void CImageListCtrl::SelectOnly(int nIndex) {
  for (int i = 0; i < GetItemCount(); ++i) SetSelected(i, i == nIndex);
}

void CImageListCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  SetFocus();
  int hit = HitTest(point);
  bool changed = false;
  std::vector<BOOL> before;
  for (const Item& item : m_items) before.push_back(item.selected);
  if (hit < 0) {
    if (!(nFlags & MK_CONTROL)) SelectOnly(-1);
  } else if (m_bMultiSelect && (nFlags & MK_SHIFT) && m_nAnchor >= 0) {
    int lo = std::min(m_nAnchor, hit), hi = std::max(m_nAnchor, hit);
    for (int i = 0; i < GetItemCount(); ++i)
      SetSelected(i, (i >= lo && i <= hi) || ((nFlags & MK_CONTROL) && before[i]));
  } else if (m_bMultiSelect && (nFlags & MK_CONTROL)) {
    SetSelected(hit, !IsSelected(hit));
    m_nAnchor = hit;
  } else {
    // A press on a selected item keeps the selection: it may start a drag of all of them.
    if (!IsSelected(hit)) SelectOnly(hit);
    m_nAnchor = hit;
    m_bPressed = m_bDragDrop;
    m_ptPress = point;
    if (m_bPressed) SetCapture();
  }
  if (hit >= 0) m_nFocus = hit;
  for (int i = 0; i < GetItemCount(); ++i) changed = changed || before[i] != m_items[i].selected;
  Invalidate(FALSE);
  Notify(NM_CLICK);
  if (changed) Notify(IMLN_SELCHANGED);
}

void CImageListCtrl::OnMouseMove(UINT, CPoint point) {
  if (!m_bPressed || m_bDragging) return;
  if (abs(point.x - m_ptPress.x) > ::GetSystemMetrics(SM_CXDRAG) ||
      abs(point.y - m_ptPress.y) > ::GetSystemMetrics(SM_CYDRAG)) {
    m_bDragging = TRUE;
    ::SetCursor(::LoadCursor(NULL, IDC_SIZEALL));
  }
}

void CImageListCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  BOOL bDragging = m_bDragging;
  BOOL bPressed = m_bPressed;
  m_bPressed = m_bDragging = FALSE;
  if (GetCapture() == this) ::ReleaseCapture();
  if (!bPressed) return;
  if (!bDragging) {
    // A plain click on an item of a several-item selection selects that item alone.
    int hit = HitTest(point);
    if (hit >= 0 && GetSelectedCount() > 1 && !(nFlags & (MK_CONTROL | MK_SHIFT))) {
      SelectOnly(hit);
      Notify(IMLN_SELCHANGED);
    }
    return;
  }
  CPoint screen = point;
  ClientToScreen(&screen);
  HWND hUnder = ::WindowFromPoint(screen);
  if (hUnder == m_hWnd) {
    if (MoveSelected(InsertionIndex(point))) Notify(IMLN_ITEMSMOVED);
    return;
  }
  CImageListCtrl* pTarget = hUnder ? dynamic_cast<CImageListCtrl*>(CWnd::FromHandlePermanent(hUnder)) : NULL;
  if (pTarget) {
    pTarget->ScreenToClient(&screen);
    DropSelectedInto(pTarget, pTarget->InsertionIndex(screen));
  }
}

void CImageListCtrl::DropSelectedInto(CImageListCtrl* pTarget, int nAt) {
  if (!pTarget || pTarget == this) return;
  int at = nAt;
  std::vector<Item> moving;
  for (const Item& item : m_items)
    if (item.selected) moving.push_back(item);
  if (moving.empty()) return;
  pTarget->Notify(IMLN_DROPBEGIN);
  for (const Item& item : moving) {
    int index = pTarget->InsertItem(at, item.path.c_str(), item.size);
    if (index < 0) break;
    pTarget->Notify(IMLN_ITEMDROPPED, index);
    at = index + 1;
  }
  pTarget->Notify(IMLN_DROPEND);
}

void CImageListCtrl::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this) m_bPressed = m_bDragging = FALSE;
}

void CImageListCtrl::OnKeyDown(UINT nChar, UINT, UINT) {
  int count = GetItemCount();
  if (count == 0) return;
  int step = 0;
  switch (nChar) {
    case VK_LEFT: step = -1; break;
    case VK_RIGHT: step = 1; break;
    case VK_UP: step = -Columns(); break;
    case VK_DOWN: step = Columns(); break;
    case VK_HOME: step = -count; break;
    case VK_END: step = count; break;
    case 'A':
      if (m_bMultiSelect && (::GetKeyState(VK_CONTROL) & 0x8000)) {
        for (int i = 0; i < count; ++i) SetSelected(i, TRUE);
        Notify(IMLN_SELCHANGED);
      }
      return;
    default: return;
  }
  int next = std::max(0, std::min(count - 1, (m_nFocus < 0 ? 0 : m_nFocus + step)));
  m_nFocus = next;
  if (m_bMultiSelect && (::GetKeyState(VK_SHIFT) & 0x8000) && m_nAnchor >= 0) {
    int lo = std::min(m_nAnchor, next), hi = std::max(m_nAnchor, next);
    for (int i = 0; i < count; ++i) SetSelected(i, i >= lo && i <= hi);
  } else {
    SelectOnly(next);
    m_nAnchor = next;
  }
  EnsureVisible(next);
  Invalidate(FALSE);
  Notify(IMLN_SELCHANGED);
}

UINT CImageListCtrl::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

void CImageListCtrl::OnSetFocus(CWnd*) { Invalidate(FALSE); }
void CImageListCtrl::OnKillFocus(CWnd*) { Invalidate(FALSE); }
