// Window-free decisions of the icon view: item rectangles and their hit test, the grouped
// grid layout and its key, scroll sizes, automatic-scroll steps, grid navigation and the
// selection rules (click, Ctrl, Shift ranges, rubber band, keys, type-ahead). The view
// classes call these; the tests call them without windows.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>


namespace iconview {

const DWORD kNoItem = 0xFFFFFFFFu;

// Hit-test parts of an item. -1 and 7 both count as "no item here" for the callers.
enum Part { kPartNone = -1, kPartPicture = 1, kPartLabel = 2, kPartCheck = 4, kPartItem = 7 };

// ---- Items -------------------------------------------------------------------------------
// Size class of a thumbnail cell width (30, 80, 160, 223, 303 → 2..6; others 3) and the
// frame an icon item draws around its picture in that class.
int SizeClass(int cellWidth);
int FrameMargin(int sizeClass);

struct ItemGeometry {
  int x = 0, y = 0;            // top-left corner of the item's cell
  int cellW = 0, cellH = 0;    // thumbnail cell size
  int labelHeight = 0;         // height of one label line
  SIZE text = {0, 0};          // measured extent of the label text as drawn
  bool iconItem = true;        // the icon view's item (framed picture, bitmap check box)
  bool hasCheck = false;       // a thumbnail that is not the parent-folder entry
  SIZE check = {0, 0};         // size of the check-box bitmap (icon item)
};

struct ItemRects {
  RECT picture;
  RECT label;
  RECT check;   // empty (right < left) when the item has none
  RECT bounds;  // union of the three
};

ItemRects ComputeItemRects(const ItemGeometry& g);
// The part under pt (same coordinates as the geometry): -1 outside, 4 check box,
// 1 picture, 2 label text, 7 elsewhere inside the item.
int HitTest(const ItemGeometry& g, POINT pt);

// ---- Layout ------------------------------------------------------------------------------
struct LayoutKey {
  int clientWidth = 0, clientHeight = 0, itemCount = 0, groupCount = 0;
};
// The plain view's keys differ when the width or the item count differ; the grouped
// view's also when the group count differs, so a new group alone lays out again.
bool BaseKeysDiffer(const LayoutKey& a, const LayoutKey& b);
bool GroupedKeysDiffer(const LayoutKey& a, const LayoutKey& b);

struct LayoutInput {
  int clientWidth = 0, clientHeight = 0;
  bool hasVScroll = false;   // the window already shows a vertical bar
  int vscrollWidth = 16;     // SM_CXVSCROLL
  int left = 15, top = 0, hgap = 30, vgap = 15;
  int itemW = 0, itemH = 0;  // whole-item width and height of the measuring item
  int groupCount = 0;
  bool headers = true;       // each group starts with a header bar
  // Per item in display order: the index of its group (-1 when it belongs to none shown).
  std::vector<int> itemGroups;
};

struct CellPos {
  int x, y, column, row;
};

struct LayoutResult {
  std::vector<CellPos> items;       // per item of the input, in the same order
  std::vector<RECT> headers;        // per group
  RECT next = {0, 0, 0, 0};         // where one more item would go
  int columns = 0, rows = 0;        // highest indexes used + 1
  int totalHeight = 0;              // document height for the scroll sizes
  int decodeCount = 0;              // pictures to decode first after an arrangement
};

LayoutResult LayOutGroups(const LayoutInput& in);
const int kGroupHeaderHeight = 50;

struct ScrollSizes {
  int total, page, line;
  double scale;  // > 0: document y = bar position × scale
};
// decodeHeight: the document's decode-image height; viewMode 1 pages 2.5 of it, others
// 1.5. versionCode below 5 (the 16-bit scroll-bar family) scales tall documents.
ScrollSizes ComputeScrollSizes(int total, int clientHeight, int decodeHeight, int viewMode,
                                              int versionCode);

// Whether the back buffer of size buffer still serves a client of size client: it covers it
// and is larger by at most a scroll bar's width each way (a bar that comes or goes), so that
// a bar's coming does not make and fill a new one; a window made much smaller gets a new one.
bool BackBufferServes(SIZE buffer, SIZE client, int barWidth);

// The process's system family code: 0..4 the 16-bit scroll family, 5 NT 4, 6 2000, 7 XP,
// 8 Server 2003, 9 anything later.
int VersionCodeOf(const OSVERSIONINFOEXA& vi);
int VersionCode();

// ---- Automatic scrolling ----------------------------------------------------------------
// One step for the cursor at pos on an axis of extent pixels (client coordinates): above
// or left of the client (pos < 0) and not at the start: (pos / 10) lines, from one line to
// one page up; past its end and not at the end likewise down; else 0.
int AutoScrollStep(int pos, int extent, int line, int page, bool atStart, bool atEnd);

// ---- Rubber band -------------------------------------------------------------------------
// Whether the band reaches into the middle half of the picture in both directions.
bool BandCovers(const RECT& band, const RECT& picture);

// ---- Items, grid and selection ----------------------------------------------------------
// What the model tells its view: selection changes (to be passed on to the document and
// repainted), the end of a run of changes, focus moves and scrolling requests.
class ISelectionSink {
 public:
  virtual void OnSelect(DWORD id, bool select, bool redraw) = 0;
  virtual void OnUnselectAll(bool redraw) = 0;
  virtual void OnSelectRunEnd() = 0;
  virtual void OnFocus(DWORD oldId, DWORD newId) = 0;
  virtual void OnEnsureVisible(DWORD id) = 0;
  virtual std::string NameOf(DWORD id) = 0;

 protected:
  ~ISelectionSink() {}
};

// Key moves the model handles (the view maps virtual keys to them).
enum KeyMove { kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyHome, kKeyEnd, kKeyPageUp, kKeyPageDown };

// Grid navigation filters and directions (GetNextItem).
enum { kNextSkipFocus = 1, kNextSelected = 2, kNextCut = 4, kNextUp = 0x100, kNextDown = 0x200, kNextLeft = 0x400,
       kNextRight = 0x800 };

class CIconItemModel {
 public:
  explicit CIconItemModel(ISelectionSink* sink);

  // ---- Items ----
  void Append(DWORD id);
  void Remove(DWORD id);
  void Clear();
  bool Contains(DWORD id) const { return m_index.count(id) != 0; }
  int Count() const { return int(m_order.size()); }
  const std::vector<DWORD>& Order() const { return m_order; }
  void SetOrder(const std::vector<DWORD>& order);  // the same ids in a new order

  // ---- Cells (filled by every arrangement) ----
  void ClearCells();
  void SetCell(int column, int row, DWORD id);
  DWORD ItemAtCell(int column, int row) const;
  bool CellOf(DWORD id, int* column, int* row) const;
  int Columns() const { return m_columns; }
  int Rows() const { return m_rows; }

  // ---- Selection ----
  const std::vector<DWORD>& Selection() const { return m_selection; }
  bool IsSelected(DWORD id) const { return m_selected.count(id) != 0; }
  DWORD Anchor() const { return m_anchor; }
  DWORD Focus() const { return m_focus; }
  void SetAnchor(DWORD id) { m_anchor = id; }
  void SetSingleMode(bool single);
  bool SingleMode() const { return m_single; }
  void SetVersionCode(int code) { m_version = code; }

  // A change of one item's state; nothing when it already is so.
  void Select(DWORD id, bool select, bool redraw);
  void UnSelectAll(bool redraw);
  // The selection call of the controller and of plain clicks: E_INVALIDARG for an id not
  // in the view; the item gets the focus and becomes the anchor.
  HRESULT SelectItem(DWORD id, bool select);
  // Shift ranges: E_PENDING without Shift.
  HRESULT SelectRange(DWORD target, bool ctrl, bool shift);
  void SetFocusItem(DWORD id);
  // Makes sure a focus item exists (the item at cell 0,0 when the focus is not in the view).
  void EnsureFocus();

  // ---- Mouse ----
  // Left (or right) press at an item (kNoItem and part for empty space); steps of the press
  // after the check-box case. Answers whether a rubber band starts.
  bool Press(DWORD id, int part, bool ctrl, bool shift);
  // The release at the item under the point (id, part); pressPart is the part the press hit.
  // Answers the item whose label edit should start, or kNoItem.
  DWORD Release(DWORD id, int part, int pressPart, bool ctrl, bool shift, bool bandWasActive);
  bool CollapseOnRelease() const { return m_collapse; }
  void CancelCollapse() { m_collapse = false; }

  // Rubber band: the start snapshot, then for each move the items inside.
  void BandStart(bool ctrl);
  void BandUpdate(const std::unordered_set<DWORD>& inside, bool ctrl, bool shift);

  // ---- Keys ----
  // rowsPerPage: rows from row 0 whose column-0 item starts within the client height.
  // Answers the target (kNoItem when the key moves nothing).
  DWORD Key(KeyMove key, bool ctrl, bool shift, int rowsPerPage);
  void ToggleFocusSelection();  // Ctrl+Space
  // The next item after the focus whose name starts with ch, wrapping, never the focus.
  DWORD TypeAhead(char ch);

  DWORD NextItem(DWORD id, int flags, const std::unordered_set<DWORD>& cut = {}) const;

 private:
  DWORD StepFrom(DWORD id, int direction) const;
  DWORD KeyTarget(KeyMove key, int rowsPerPage) const;
  DWORD NearestLeft(int column, int row) const;
  static unsigned long long CellKey(int column, int row) {
    return (unsigned long long)(unsigned)column << 32 | (unsigned)row;
  }

  ISelectionSink* m_sink;
  std::vector<DWORD> m_order;
  std::unordered_map<DWORD, size_t> m_index;  // id → position in m_order
  std::unordered_map<unsigned long long, DWORD> m_cells;
  std::unordered_map<DWORD, POINT> m_cellOf;
  int m_columns = 0, m_rows = 0;
  std::vector<DWORD> m_selection;
  std::unordered_set<DWORD> m_selected;
  std::vector<DWORD> m_snapshot;
  std::unordered_map<DWORD, bool> m_bandStart;
  DWORD m_anchor = kNoItem, m_focus = kNoItem;
  bool m_single = false, m_collapse = false;
  int m_version = 9;
};

}  // namespace iconview
