#include "IconViewRules.h"

#include <algorithm>

namespace iconview {

// ---- Items -------------------------------------------------------------------------------
int SizeClass(int cellWidth) {
  switch (cellWidth) {
    case 30: return 2;
    case 80: return 3;
    case 160: return 4;
    case 223: return 5;
    case 303: return 6;
    default: return 3;
  }
}

int FrameMargin(int sizeClass) { return sizeClass >= 4 ? 8 : 5; }

namespace {
RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }
bool Inside(const RECT& rc, POINT pt) { return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom; }
bool Empty(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }
RECT Union(const RECT& a, const RECT& b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  return Rect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom));
}
}  // namespace

ItemRects ComputeItemRects(const ItemGeometry& g) {
  ItemRects r;
  int margin = g.iconItem ? FrameMargin(SizeClass(g.cellW)) : 0;
  r.picture = Rect(g.x - margin, g.y - margin, g.x + g.cellW + margin, g.y + g.cellH + margin);
  int offset = g.iconItem ? 5 : 3;
  r.label = Rect(r.picture.left, r.picture.bottom + offset, r.picture.right, r.picture.bottom + offset + g.labelHeight);
  if (g.iconItem && g.hasCheck)
    r.check = Rect(r.picture.left + 3, r.picture.top + 3, r.picture.left + 3 + g.check.cx, r.picture.top + 3 + g.check.cy);
  else
    r.check = Rect(r.picture.left, r.picture.top, r.picture.left - 1, r.picture.top - 1);
  r.bounds = Union(Union(r.label, r.picture), r.check);
  return r;
}

int HitTest(const ItemGeometry& g, POINT pt) {
  ItemRects r = ComputeItemRects(g);
  if (!Inside(r.bounds, pt)) return kPartNone;
  if (g.hasCheck && Inside(r.check, pt)) return kPartCheck;
  if (Inside(r.picture, pt)) return kPartPicture;
  RECT text = r.label;
  int dx = ((r.label.right - r.label.left) - g.text.cx) / 2;
  int dy = ((r.label.bottom - r.label.top) - g.text.cy) / 2;
  if (dx > 0) text.left += dx, text.right -= dx;
  if (dy > 0) text.top += dy, text.bottom -= dy;
  if (Inside(text, pt)) return kPartLabel;
  return kPartItem;
}

// ---- Layout ------------------------------------------------------------------------------
bool BaseKeysDiffer(const LayoutKey& a, const LayoutKey& b) {
  return a.clientWidth != b.clientWidth || a.itemCount != b.itemCount;
}

bool GroupedKeysDiffer(const LayoutKey& a, const LayoutKey& b) {
  return BaseKeysDiffer(a, b) || a.groupCount != b.groupCount;
}

LayoutResult LayOutGroups(const LayoutInput& in) {
  LayoutResult out;
  const int n = int(in.itemGroups.size());
  out.items.resize(n);
  int right = in.clientWidth - (in.hasVScroll ? 0 : in.vscrollWidth + 1) - in.left;
  RECT cell = Rect(in.left, in.top, in.left + in.itemW, in.top + in.itemH);
  int column = 0, row = 0, maxColumn = -1, maxRow = -1;
  bool rowHasItems = false;
  auto newRow = [&] {
    cell.left = in.left;
    cell.right = in.left + in.itemW;
    cell.top += in.itemH + in.vgap;
    cell.bottom = cell.top + in.itemH;
    column = 0;
    ++row;
    rowHasItems = false;
  };
  int next = 0;
  for (int g = 0; g < in.groupCount; ++g) {
    if (in.headers) {
      out.headers.push_back(Rect(in.left, cell.top, right, cell.top + kGroupHeaderHeight));
      cell.top += kGroupHeaderHeight;
      cell.bottom += kGroupHeaderHeight;
    }
    // Items of this group follow; those of no shown group (or of an earlier one, when the
    // display list is out of group order) stay with the group being laid out.
    const bool last = g == in.groupCount - 1;
    while (next < n && (last || in.itemGroups[next] <= g)) {
      out.items[next] = CellPos{cell.left, cell.top, column, row};
      maxColumn = std::max(maxColumn, column);
      maxRow = std::max(maxRow, row);
      rowHasItems = true;
      ++next;
      cell.left += in.itemW + in.hgap;
      cell.right += in.itemW + in.hgap;
      ++column;
      bool more = next < n && (last || in.itemGroups[next] <= g);
      if (more && right < cell.right - in.left - 4) newRow();
    }
    if (rowHasItems) newRow();
  }
  out.columns = maxColumn + 1;
  out.rows = maxRow + 1;
  out.next = cell;

  int total;
  if (n > 0) {
    total = 0;
    if (in.groupCount > 0 && in.itemGroups[n - 1] == in.groupCount - 1) total = in.top + out.items[n - 1].y + in.itemH;
    if (total == 0) total = cell.bottom - in.itemH + in.vgap;
  } else {
    total = cell.bottom > in.clientHeight ? cell.bottom - in.itemH + in.vgap : 0;
  }
  out.totalHeight = total;
  out.decodeCount = in.itemW > 0 && in.itemH > 0 ? (in.clientWidth / in.itemW) * (in.clientHeight / in.itemH + 2) : 0;
  return out;
}

ScrollSizes ComputeScrollSizes(int total, int clientHeight, int decodeHeight, int viewMode, int versionCode) {
  ScrollSizes s;
  s.page = int(decodeHeight * (viewMode == 1 ? 2.5 : 1.5));
  s.line = s.page / 5;
  s.total = total;
  s.scale = 0;
  if (versionCode < 5 && total - clientHeight >= 32768) {
    s.total = 32767 - clientHeight;
    s.scale = double(total - clientHeight) / double(32767 - 2 * clientHeight);
  }
  return s;
}

bool BackBufferServes(SIZE buffer, SIZE client, int barWidth) {
  if (client.cx <= 0 || client.cy <= 0) return false;
  const int dx = buffer.cx - client.cx, dy = buffer.cy - client.cy;
  return dx >= 0 && dy >= 0 && dx <= barWidth && dy <= barWidth;
}

int VersionCodeOf(const OSVERSIONINFOEXA& vi) {
  if (vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    if (vi.dwMajorVersion == 4 && vi.dwMinorVersion == 0) return vi.szCSDVersion[1] == 'C' ? 1 : 0;
    if (vi.dwMajorVersion == 4 && vi.dwMinorVersion == 10) return LOWORD(vi.dwBuildNumber) < 2222 ? 2 : 3;
    if (vi.dwMajorVersion == 4 && vi.dwMinorVersion == 90) return 4;
    return 9;
  }
  if (vi.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    if (vi.dwMajorVersion <= 4) return 5;
    if (vi.dwMajorVersion == 5) return vi.dwMinorVersion == 0 ? 6 : vi.dwMinorVersion == 1 ? 7 : 8;
  }
  return 9;
}

int VersionCode() {
  static int code = 9;
  if (code == 9) {
    OSVERSIONINFOEXA vi = {};
    vi.dwOSVersionInfoSize = sizeof(vi);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&vi))) code = VersionCodeOf(vi);
  }
  return code;
}

// ---- Automatic scrolling ----------------------------------------------------------------
int AutoScrollStep(int pos, int extent, int line, int page, bool atStart, bool atEnd) {
  if (pos < 0 && !atStart) return std::max(-page, std::min(-line, (pos / 10) * line));
  if (pos >= extent && !atEnd) return std::min(page, std::max(line, ((pos - extent) / 10) * line));
  return 0;
}

bool BandCovers(const RECT& band, const RECT& pic) {
  int w = pic.right - pic.left, h = pic.bottom - pic.top;
  int x0 = pic.left + w / 4, x1 = pic.left + w * 3 / 4;
  int y0 = pic.top + h / 4, y1 = pic.top + h * 3 / 4;
  return band.left <= x1 && band.right >= x0 && band.top <= y1 && band.bottom >= y0;
}

// ---- Items, grid and selection ----------------------------------------------------------
CIconItemModel::CIconItemModel(ISelectionSink* sink) : m_sink(sink) {
  m_index.reserve(10000);
  m_cells.reserve(10000);
  m_cellOf.reserve(10000);
}

void CIconItemModel::Append(DWORD id) {
  if (id == kNoItem || m_index.count(id)) return;
  m_index[id] = m_order.size();
  m_order.push_back(id);
}

void CIconItemModel::Remove(DWORD id) {
  auto it = m_index.find(id);
  if (it == m_index.end()) return;
  size_t pos = it->second;
  m_order.erase(m_order.begin() + pos);
  m_index.erase(it);
  for (size_t i = pos; i < m_order.size(); ++i) m_index[m_order[i]] = i;
  if (m_selected.erase(id)) m_selection.erase(std::find(m_selection.begin(), m_selection.end(), id));
  auto c = m_cellOf.find(id);
  if (c != m_cellOf.end()) {
    m_cells.erase(CellKey(c->second.x, c->second.y));
    m_cellOf.erase(c);
  }
  m_snapshot.erase(std::remove(m_snapshot.begin(), m_snapshot.end(), id), m_snapshot.end());
  m_anchor = kNoItem;
  if (m_focus == id) m_focus = kNoItem;
}

void CIconItemModel::Clear() {
  m_order.clear();
  m_index.clear();
  ClearCells();
  m_selection.clear();
  m_selected.clear();
  m_snapshot.clear();
  m_bandStart.clear();
  m_anchor = m_focus = kNoItem;
  m_collapse = false;
}

void CIconItemModel::SetOrder(const std::vector<DWORD>& order) {
  m_order.clear();
  m_index.clear();
  for (DWORD id : order) Append(id);
}

void CIconItemModel::ClearCells() {
  m_cells.clear();
  m_cellOf.clear();
  m_columns = m_rows = 0;
}

void CIconItemModel::SetCell(int column, int row, DWORD id) {
  m_cells[CellKey(column, row)] = id;
  m_cellOf[id] = POINT{column, row};
  m_columns = std::max(m_columns, column + 1);
  m_rows = std::max(m_rows, row + 1);
}

DWORD CIconItemModel::ItemAtCell(int column, int row) const {
  if (m_order.empty() || column < 0 || row < 0 || column >= m_columns || row >= m_rows) return kNoItem;
  auto it = m_cells.find(CellKey(column, row));
  return it == m_cells.end() ? kNoItem : it->second;
}

bool CIconItemModel::CellOf(DWORD id, int* column, int* row) const {
  auto it = m_cellOf.find(id);
  if (it == m_cellOf.end()) return false;
  if (column) *column = it->second.x;
  if (row) *row = it->second.y;
  return true;
}

void CIconItemModel::SetSingleMode(bool single) {
  if (single) UnSelectAll(true);
  m_single = single;
}

void CIconItemModel::Select(DWORD id, bool select, bool redraw) {
  if (!Contains(id) || IsSelected(id) == select) return;
  if (select) {
    m_selection.push_back(id);
    m_selected.insert(id);
  } else {
    m_selected.erase(id);
    m_selection.erase(std::find(m_selection.begin(), m_selection.end(), id));
  }
  if (m_sink) m_sink->OnSelect(id, select, redraw);
}

void CIconItemModel::UnSelectAll(bool redraw) {
  m_selection.clear();
  m_selected.clear();
  if (m_sink) m_sink->OnUnselectAll(redraw);
}

HRESULT CIconItemModel::SelectItem(DWORD id, bool select) {
  if (!Contains(id)) return E_INVALIDARG;
  if (m_single && select) UnSelectAll(true);
  Select(id, select, true);
  if (select) SetFocusItem(id);
  m_anchor = id;
  return S_OK;
}

HRESULT CIconItemModel::SelectRange(DWORD target, bool ctrl, bool shift) {
  if (!shift) return E_PENDING;
  if (!Contains(target)) return E_INVALIDARG;
  if (m_single) return SelectItem(target, true);
  if (!ctrl) UnSelectAll(false);
  DWORD anchor = Contains(m_anchor) ? m_anchor : ItemAtCell(0, 0);
  if (anchor == kNoItem) anchor = target;
  if (m_version == 7) {
    size_t t = m_index.at(target), a = m_index.at(anchor);
    if (a < t)
      for (size_t i = t + 1; i-- > a;) Select(m_order[i], true, false);
    else
      for (size_t i = t; i <= a; ++i) Select(m_order[i], true, false);
  } else {
    int tc = 0, tr = 0, ac = 0, ar = 0;
    if (CellOf(target, &tc, &tr) && CellOf(anchor, &ac, &ar)) {
      int c0 = std::min(tc, ac), c1 = std::max(tc, ac);
      int step = ar >= tr ? 1 : -1;
      for (int r = tr;; r += step) {
        for (int c = c0; c <= c1; ++c) {
          DWORD id = ItemAtCell(c, r);
          if (id != kNoItem) Select(id, true, false);
        }
        if (r == ar) break;
      }
    } else {
      Select(target, true, false);
    }
  }
  if (m_sink) m_sink->OnSelectRunEnd();
  return S_OK;
}

void CIconItemModel::SetFocusItem(DWORD id) {
  if (id == m_focus || !Contains(id)) return;
  DWORD old = m_focus;
  m_focus = id;
  if (m_sink) m_sink->OnFocus(old, id);
}

void CIconItemModel::EnsureFocus() {
  if (Contains(m_focus)) return;
  DWORD first = ItemAtCell(0, 0);
  if (first == kNoItem && !m_order.empty()) first = m_order.front();
  if (first != kNoItem) SetFocusItem(first);
}

bool CIconItemModel::Press(DWORD id, int part, bool ctrl, bool shift) {
  bool onItem = id != kNoItem && part != kPartNone && part != kPartItem;
  if (ctrl && !shift) {
    // The toggle follows on release; a press beside the items starts a band.
    return !(onItem || m_single);
  }
  bool inSnapshot = std::find(m_snapshot.begin(), m_snapshot.end(), id) != m_snapshot.end();
  std::vector<DWORD> before;
  if (!inSnapshot) before = m_selection;
  if (!onItem) {
    if (!m_selection.empty() && !shift) UnSelectAll(true);
  } else if (shift) {
    SelectRange(id, ctrl, shift);
  } else {
    if (!IsSelected(id)) UnSelectAll(true);
    SelectItem(id, true);
    if (m_sink) m_sink->OnEnsureVisible(id);
    if (!ctrl && m_selection.size() >= 2) m_collapse = true;
  }
  if (!inSnapshot) {
    m_snapshot.clear();
    for (DWORD s : before)
      if (IsSelected(s)) m_snapshot.push_back(s);
  }
  if (onItem) SetFocusItem(id);
  return !m_single;
}

DWORD CIconItemModel::Release(DWORD id, int part, int pressPart, bool ctrl, bool shift, bool bandWasActive) {
  if (bandWasActive && (ctrl || shift)) return kNoItem;
  if (pressPart == kPartCheck) return kNoItem;
  bool onItem = id != kNoItem && part != kPartNone && Contains(id);
  if (ctrl && !shift) {
    if (onItem) {
      // The anchor stays: a following Shift range starts where the last plain click was.
      Select(id, !IsSelected(id), true);
      if (m_sink) m_sink->OnEnsureVisible(id);
      SetFocusItem(id);
    }
    return kNoItem;
  }
  if (shift) return kNoItem;
  if (m_collapse) {
    m_collapse = false;
    UnSelectAll(true);
    if (onItem && part != kPartItem) SelectItem(id, true);
  }
  if (onItem && part == kPartLabel &&
      std::find(m_snapshot.begin(), m_snapshot.end(), id) != m_snapshot.end()) {
    m_snapshot.assign(1, id);
    return id;
  }
  m_snapshot.clear();
  return kNoItem;
}

void CIconItemModel::BandStart(bool ctrl) {
  m_bandStart.clear();
  if (ctrl)
    for (DWORD id : m_order) m_bandStart[id] = IsSelected(id);
}

void CIconItemModel::BandUpdate(const std::unordered_set<DWORD>& inside, bool ctrl, bool shift) {
  for (DWORD id : m_order) {
    bool in = inside.count(id) != 0;
    if (ctrl) {
      auto it = m_bandStart.find(id);
      bool was = it != m_bandStart.end() && it->second;
      Select(id, in ? !was : was, true);
    } else if (in) {
      Select(id, true, true);
    } else if (!shift && IsSelected(id)) {
      Select(id, false, true);
    }
  }
}

DWORD CIconItemModel::NearestLeft(int column, int row) const {
  for (int c = column; c >= 0; --c) {
    DWORD id = ItemAtCell(c, row);
    if (id != kNoItem) return id;
  }
  return kNoItem;
}

DWORD CIconItemModel::KeyTarget(KeyMove key, int rowsPerPage) const {
  if (key == kKeyHome) return m_order.empty() ? kNoItem : m_order.front();
  if (key == kKeyEnd) return m_order.empty() ? kNoItem : m_order.back();
  int c = 0, r = 0;
  if (!CellOf(m_focus, &c, &r)) return kNoItem;
  int pageRows = std::max(1, rowsPerPage - 1);
  switch (key) {
    case kKeyLeft: return c > 0 ? ItemAtCell(c - 1, r) : kNoItem;
    case kKeyRight: return c + 1 < m_columns ? ItemAtCell(c + 1, r) : kNoItem;
    case kKeyUp: {
      if (r == 0) return kNoItem;
      DWORD id = ItemAtCell(c, r - 1);
      return id != kNoItem ? id : ItemAtCell(0, r - 1);
    }
    case kKeyDown: {
      if (r + 1 >= m_rows) return kNoItem;
      DWORD id = ItemAtCell(c, r + 1);
      return id != kNoItem ? id : ItemAtCell(0, r + 1);
    }
    case kKeyPageUp:
      if (r == 0) return kNoItem;
      for (int t = std::max(0, r - pageRows); t < r; ++t) {
        DWORD id = NearestLeft(c, t);
        if (id != kNoItem) return id;
      }
      return kNoItem;
    case kKeyPageDown:
      if (r + 1 >= m_rows) return kNoItem;
      for (int t = std::min(m_rows - 1, r + pageRows); t > r; --t) {
        DWORD id = NearestLeft(c, t);
        if (id != kNoItem) return id;
      }
      return kNoItem;
    default: return kNoItem;
  }
}

DWORD CIconItemModel::Key(KeyMove key, bool ctrl, bool shift, int rowsPerPage) {
  EnsureFocus();
  DWORD target = KeyTarget(key, rowsPerPage);
  if (target == kNoItem) return kNoItem;
  SetFocusItem(target);
  if (ctrl && IsSelected(target)) return target;
  if (shift) {
    SelectRange(target, ctrl, true);
  } else if (!ctrl) {
    UnSelectAll(false);
    Select(target, true, false);
    m_anchor = target;
    if (m_sink) m_sink->OnSelectRunEnd();
  }
  if (m_sink) m_sink->OnEnsureVisible(target);
  return target;
}

void CIconItemModel::ToggleFocusSelection() {
  EnsureFocus();
  if (!Contains(m_focus)) return;
  Select(m_focus, !IsSelected(m_focus), true);
  m_anchor = m_focus;
}

DWORD CIconItemModel::TypeAhead(char ch) {
  if (!isalnum((unsigned char)ch) || m_order.empty() || !m_sink) return kNoItem;
  char want = char(toupper((unsigned char)ch));
  auto matches = [&](DWORD id) {
    std::string name = m_sink->NameOf(id);
    return !name.empty() && isalnum((unsigned char)name[0]) && toupper((unsigned char)name[0]) == want;
  };
  auto it = m_index.find(m_focus);
  size_t start = it == m_index.end() ? 0 : it->second + 1;
  size_t stop = it == m_index.end() ? m_order.size() : it->second;
  DWORD found = kNoItem;
  for (size_t i = start; i < m_order.size() && found == kNoItem; ++i)
    if (matches(m_order[i])) found = m_order[i];
  for (size_t i = 0; i < stop && found == kNoItem && it != m_index.end(); ++i)
    if (matches(m_order[i])) found = m_order[i];
  if (found == kNoItem) return kNoItem;
  UnSelectAll(true);
  SelectItem(found, true);
  if (m_sink) m_sink->OnEnsureVisible(found);
  return found;
}

DWORD CIconItemModel::StepFrom(DWORD id, int direction) const {
  int c = 0, r = 0;
  if (!CellOf(id, &c, &r)) return kNoItem;
  switch (direction) {
    case kNextUp: return r > 0 ? ItemAtCell(c, r - 1) : kNoItem;
    case kNextDown: return ItemAtCell(c, r + 1);
    case kNextLeft: return c > 0 ? ItemAtCell(c - 1, r) : kNoItem;
    case kNextRight: return ItemAtCell(c + 1, r);
    default: {
      DWORD next = c + 1 < m_columns ? ItemAtCell(c + 1, r) : kNoItem;
      return next != kNoItem ? next : ItemAtCell(0, r + 1);
    }
  }
}

DWORD CIconItemModel::NextItem(DWORD id, int flags, const std::unordered_set<DWORD>& cut) const {
  DWORD cur = id == kNoItem ? ItemAtCell(0, 0) : id;
  if (cur == kNoItem || !CellOf(cur, nullptr, nullptr)) return kNoItem;
  int direction = flags & 0xF00, filter = flags & 0xF;
  // Bounded by the item count so that a grid can never make the search go round.
  for (size_t guard = 0; guard <= m_order.size(); ++guard) {
    cur = StepFrom(cur, direction);
    if (cur == kNoItem) return kNoItem;
    if ((filter & kNextSkipFocus) && cur == m_focus) continue;
    if ((filter & kNextSelected) && !IsSelected(cur)) continue;
    if ((filter & kNextCut) && !cut.count(cur)) continue;
    return cur;
  }
  return kNoItem;
}

}  // namespace iconview
