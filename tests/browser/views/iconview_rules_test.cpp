// The icon view's window-free rules: item rectangles and hit parts, the grouped layout and
// its key, scroll sizes, automatic-scroll steps, the rubber band's reach, and selection
// sequences (clicks, Ctrl, Shift ranges, band, keys, type-ahead) with the calls they make.
#include <gtest/gtest.h>

#include <IconViewRules.h>

#include <map>
#include <sstream>

using namespace iconview;

namespace {

// ---- Items ---------------------------------------------------------------------------------
ItemGeometry IconItem(int cell = 160) {
  ItemGeometry g;
  g.x = 100;
  g.y = 50;
  g.cellW = cell;
  g.cellH = cell * 3 / 4;
  g.labelHeight = 14;
  g.text = SIZE{60, 12};
  g.iconItem = true;
  g.hasCheck = true;
  g.check = SIZE{13, 13};
  return g;
}

TEST(IconItemRects, FrameMarginFollowsTheSizeClass) {
  struct {
    int cell, sizeClass, margin;
  } table[] = {{30, 2, 5}, {80, 3, 5}, {160, 4, 8}, {223, 5, 8}, {303, 6, 8}, {100, 3, 5}};
  for (auto& t : table) {
    EXPECT_EQ(SizeClass(t.cell), t.sizeClass) << t.cell;
    EXPECT_EQ(FrameMargin(SizeClass(t.cell)), t.margin) << t.cell;
  }
  ItemRects r = ComputeItemRects(IconItem());
  EXPECT_EQ(r.picture.left, 92);
  EXPECT_EQ(r.picture.top, 42);
  EXPECT_EQ(r.picture.right, 268);
  EXPECT_EQ(r.label.top, r.picture.bottom + 5);
  EXPECT_EQ(r.check.left, 95);
  EXPECT_EQ(r.check.bottom, 42 + 3 + 13);
  EXPECT_EQ(r.bounds.bottom, r.label.bottom);
}

TEST(IconItemRects, HitTestByParts) {
  ItemGeometry g = IconItem();
  ItemRects r = ComputeItemRects(g);
  int labelMid = (r.label.top + r.label.bottom) / 2;
  struct {
    const char* what;
    POINT pt;
    int part;
  } table[] = {
      {"outside", {r.bounds.right + 1, r.bounds.top}, kPartNone},
      {"check box", {r.check.left + 2, r.check.top + 2}, kPartCheck},
      {"picture", {(r.picture.left + r.picture.right) / 2, r.picture.top + 40}, kPartPicture},
      {"label text", {(r.label.left + r.label.right) / 2, labelMid}, kPartLabel},
      // The label's ends beside the text, and the gap between picture and label.
      {"beside the text", {r.label.left + 2, labelMid}, kPartItem},
      {"between picture and label", {r.picture.left + 10, r.picture.bottom + 2}, kPartItem},
  };
  for (auto& t : table) EXPECT_EQ(HitTest(g, t.pt), t.part) << t.what;
  // The parent-folder entry has no check box: the same point is the picture.
  g.hasCheck = false;
  EXPECT_EQ(HitTest(g, POINT{r.check.left + 2, r.check.top + 2}), kPartPicture);
}

// ---- Layout ---------------------------------------------------------------------------------
LayoutInput Grid(int width, std::vector<int> groups, int groupCount) {
  LayoutInput in;
  in.clientWidth = width;
  in.clientHeight = 600;
  in.hasVScroll = false;
  in.vscrollWidth = 16;
  in.left = 15;
  in.top = 0;
  in.hgap = 30;
  in.vgap = 15;
  in.itemW = 170;
  in.itemH = 160;
  in.groupCount = groupCount;
  in.itemGroups = std::move(groups);
  return in;
}

TEST(IconLayout, WrapsAt800Pixels) {
  // Usable right edge: 800 - (16 + 1) - 15 = 768. After n cells the next cell's right edge
  // is 15 + n*200 + 170; a row ends when that edge minus 19 passes 768: 4 cells fit.
  LayoutResult r = LayOutGroups(Grid(800, std::vector<int>(9, 0), 1));
  ASSERT_EQ(r.items.size(), 9u);
  EXPECT_EQ(r.columns, 4);
  EXPECT_EQ(r.rows, 3);
  EXPECT_EQ(r.items[0].x, 15);
  EXPECT_EQ(r.items[0].y, 50);  // below the group header
  EXPECT_EQ(r.items[3].x, 15 + 3 * 200);
  EXPECT_EQ(r.items[4].column, 0);
  EXPECT_EQ(r.items[4].row, 1);
  EXPECT_EQ(r.items[4].y, 50 + 160 + 15);
  // A window that already shows its bar keeps the bar's width: one column more would need
  // 15 + 4*200 + 170 - 19 = 966 <= usable; not at 800, so the count stays.
  LayoutInput withBar = Grid(800, std::vector<int>(9, 0), 1);
  withBar.hasVScroll = true;
  EXPECT_EQ(LayOutGroups(withBar).columns, 4);
  EXPECT_EQ(LayOutGroups(Grid(1000, std::vector<int>(9, 0), 1)).columns, 5);
  EXPECT_EQ(r.decodeCount, (800 / 170) * (600 / 160 + 2));
}

TEST(IconLayout, GroupsStartOnTheirOwnRowAndAnEmptyGroupShowsOnlyItsHeader) {
  // Groups 0 (2 items), 1 (none), 2 (1 item).
  LayoutResult r = LayOutGroups(Grid(800, {0, 0, 2}, 3));
  ASSERT_EQ(r.headers.size(), 3u);
  EXPECT_EQ(r.headers[0].top, 0);
  EXPECT_EQ(r.headers[0].right, 800 - 17 - 15);
  int afterFirst = 50 + 160 + 15;  // one row of group 0
  EXPECT_EQ(r.headers[1].top, afterFirst);
  EXPECT_EQ(r.headers[2].top, afterFirst + 50);  // group 1: header and no row
  EXPECT_EQ(r.items[2].y, afterFirst + 100);
  EXPECT_EQ(r.items[2].column, 0);
  EXPECT_EQ(r.items[2].row, 1);
  EXPECT_EQ(r.rows, 2);
  // Last item belongs to the last group: the height ends at that item.
  EXPECT_EQ(r.totalHeight, r.items[2].y + 160);
}

TEST(IconLayout, EmptyDisplayListAndItemsOfNoGroup) {
  LayoutResult none = LayOutGroups(Grid(800, {}, 2));
  EXPECT_EQ(none.totalHeight, 0);  // two headers fit in the window
  LayoutResult many = LayOutGroups(Grid(800, {}, 20));
  EXPECT_EQ(many.totalHeight, many.next.bottom - 160 + 15);
  // An item of no shown group stays with the group being laid out: it is never lost.
  LayoutResult r = LayOutGroups(Grid(800, {0, -1, 1}, 2));
  EXPECT_EQ(r.items[1].row, 0);
  EXPECT_EQ(r.items[1].column, 1);
  EXPECT_EQ(r.items[2].row, 1);
}

TEST(IconLayout, KeysDifferOnWidthCountOrGroupCount) {
  LayoutKey a{800, 600, 10, 2};
  struct {
    const char* what;
    LayoutKey b;
    bool base, grouped;
  } table[] = {
      {"same", {800, 600, 10, 2}, false, false},
      {"height only", {800, 300, 10, 2}, false, false},
      {"width", {640, 600, 10, 2}, true, true},
      {"item count", {800, 600, 11, 2}, true, true},
      {"group count alone", {800, 600, 10, 3}, false, true},
  };
  for (auto& t : table) {
    EXPECT_EQ(BaseKeysDiffer(a, t.b), t.base) << t.what;
    EXPECT_EQ(GroupedKeysDiffer(a, t.b), t.grouped) << t.what;
  }
}

TEST(IconLayout, ScrollSizes) {
  ScrollSizes s = ComputeScrollSizes(5000, 600, 120, 1, 9);
  EXPECT_EQ(s.page, 300);
  EXPECT_EQ(s.line, 60);
  EXPECT_EQ(s.total, 5000);
  EXPECT_EQ(s.scale, 0);
  EXPECT_EQ(ComputeScrollSizes(5000, 600, 120, 2, 9).page, 180);
  // The 16-bit scroll family scales a tall document.
  ScrollSizes tall = ComputeScrollSizes(100000, 600, 120, 1, 3);
  EXPECT_EQ(tall.total, 32767 - 600);
  EXPECT_NEAR(tall.scale, (100000.0 - 600) / (32767 - 1200), 1e-9);
  EXPECT_EQ(ComputeScrollSizes(100000, 600, 120, 1, 7).scale, 0);
}

// The back buffer outlives a bar's coming or going (the client a bar's width smaller), not
// a window made much smaller, nor one that grew past it.
TEST(IconLayout, BackBufferServesAClientABarSmaller) {
  const struct {
    SIZE buffer, client;
    bool serves;
  } cases[] = {
      {{1000, 740}, {1000, 740}, true},  // the same size
      {{1000, 740}, {983, 740}, true},   // a vertical bar came
      {{1000, 740}, {1000, 723}, true},  // a horizontal one
      {{1000, 740}, {982, 740}, false},  // more than a bar narrower: a new, smaller one
      {{983, 740}, {1000, 740}, false},  // the bar went: the buffer no longer covers it
      {{1000, 740}, {1000, 741}, false},
      {{1000, 740}, {0, 740}, false},    // no client
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.serves, BackBufferServes(c.buffer, c.client, 17))
        << c.buffer.cx << "x" << c.buffer.cy << " for " << c.client.cx << "x" << c.client.cy;
}

TEST(IconLayout, VersionCodes) {
  auto code = [](DWORD platform, DWORD major, DWORD minor, DWORD build, const char* csd) {
    OSVERSIONINFOEXA vi = {};
    vi.dwPlatformId = platform;
    vi.dwMajorVersion = major;
    vi.dwMinorVersion = minor;
    vi.dwBuildNumber = build;
    lstrcpyA(vi.szCSDVersion, csd);
    return VersionCodeOf(vi);
  };
  EXPECT_EQ(code(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950, ""), 0);
  EXPECT_EQ(code(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1111, " C"), 1);
  EXPECT_EQ(code(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1998, ""), 2);
  EXPECT_EQ(code(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222, ""), 3);
  EXPECT_EQ(code(VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000, ""), 4);
  EXPECT_EQ(code(VER_PLATFORM_WIN32_NT, 4, 0, 1381, ""), 5);
  EXPECT_EQ(code(VER_PLATFORM_WIN32_NT, 5, 1, 2600, ""), 7);
  EXPECT_EQ(code(VER_PLATFORM_WIN32_NT, 10, 0, 19045, ""), 9);
}

// ---- Automatic scrolling ---------------------------------------------------------------------
TEST(AutoScroll, StepsByDistance) {
  const int extent = 400, line = 10, page = 300;
  struct {
    int pos;
    bool atStart, atEnd;
    int step;
  } table[] = {
      {400 + 25, false, false, 20},    // 25 below: two lines
      {400 + 5, false, false, 10},     // close below: one line
      {400 + 10000, false, false, 300},  // far below: one page
      {-25, false, false, -20},
      {-5, false, false, -10},
      {-10000, false, false, -300},
      {200, false, false, 0},          // inside
      {-25, true, false, 0},           // at the top already
      {425, false, true, 0},           // at the bottom already
  };
  for (auto& t : table)
    EXPECT_EQ(AutoScrollStep(t.pos, extent, line, page, t.atStart, t.atEnd), t.step) << t.pos;
}

TEST(RubberBand, ReachesTheMiddleHalf) {
  RECT pic = {100, 100, 200, 180};  // middle half: x 125..175, y 120..160
  struct {
    RECT band;
    bool covers;
  } table[] = {{{0, 0, 124, 300}, false}, {{0, 0, 125, 300}, true}, {{176, 0, 300, 300}, false},
               {{150, 161, 160, 170}, false}, {{150, 150, 151, 151}, true}};
  for (auto& t : table) EXPECT_EQ(BandCovers(t.band, pic), t.covers) << t.band.left << "," << t.band.top;
}

// ---- Selection -----------------------------------------------------------------------------------
// Records the calls the model makes, as the view would pass them to the document.
struct Recorder : ISelectionSink {
  std::ostringstream log;
  std::map<DWORD, std::string> names;
  void OnSelect(DWORD id, bool select, bool redraw) override { log << (select ? "+" : "-") << id << " "; }
  void OnUnselectAll(bool) override { log << "none "; }
  void OnSelectRunEnd() override { log << "end "; }
  void OnFocus(DWORD, DWORD) override {}
  void OnEnsureVisible(DWORD) override {}
  std::string NameOf(DWORD id) override { return names[id]; }
  std::string Take() {
    std::string s = log.str();
    log.str("");
    return s;
  }
};

// A grid of `count` items 0.. in `columns` columns (ids start at 0: 0 is a valid id).
struct GridModel {
  Recorder rec;
  CIconItemModel m{&rec};
  GridModel(int count, int columns) {
    for (int i = 0; i < count; ++i) {
      m.Append(DWORD(i));
      m.SetCell(i % columns, i / columns, DWORD(i));
    }
  }
  std::string Selected() const {
    std::ostringstream s;
    std::vector<DWORD> v = m.Selection();
    std::sort(v.begin(), v.end());
    for (DWORD id : v) s << id << " ";
    return s.str();
  }
};

TEST(IconSelection, ClickCtrlShiftSequences) {
  GridModel g(12, 4);  // rows: 0-3, 4-7, 8-11
  // Plain click on 5.
  g.m.Press(5, kPartPicture, false, false);
  EXPECT_EQ(g.Selected(), "5 ");
  EXPECT_EQ(g.m.Anchor(), 5u);
  EXPECT_EQ(g.m.Focus(), 5u);
  EXPECT_EQ(g.rec.Take(), "none +5 ");
  // Ctrl: nothing on press, the toggle on release.
  EXPECT_FALSE(g.m.Press(10, kPartPicture, true, false));
  EXPECT_EQ(g.rec.Take(), "");
  g.m.Release(10, kPartPicture, kPartPicture, true, false, false);
  EXPECT_EQ(g.Selected(), "5 10 ");
  g.m.Release(10, kPartPicture, kPartPicture, true, false, false);
  EXPECT_EQ(g.Selected(), "5 ");
  EXPECT_EQ(g.rec.Take(), "+10 -10 ");
  // Shift from the anchor (5: column 1, row 1) to 11 (column 3, row 2): a rectangle.
  g.m.SetAnchor(5);
  g.m.Press(11, kPartPicture, false, true);
  EXPECT_EQ(g.Selected(), "5 6 7 9 10 11 ");
  EXPECT_EQ(g.m.Anchor(), 5u);  // ranges leave the anchor
  std::string calls = g.rec.Take();
  EXPECT_EQ(calls.substr(0, 5), "none ");
  EXPECT_EQ(calls.substr(calls.size() - 4), "end ");
  // Ctrl+Shift adds a range to what is selected.
  g.m.SetAnchor(0);
  g.m.Press(0, kPartPicture, true, true);
  EXPECT_EQ(g.Selected(), "0 5 6 7 9 10 11 ");
  // A click beside the items clears the selection (and starts a band).
  EXPECT_TRUE(g.m.Press(kNoItem, 0, false, false));
  EXPECT_EQ(g.Selected(), "");
}

TEST(IconSelection, ShiftWithoutAnchorStartsAtTheFirstCell) {
  GridModel g(12, 4);
  EXPECT_EQ(g.m.SelectRange(6, false, true), S_OK);
  EXPECT_EQ(g.Selected(), "0 1 2 4 5 6 ");
  EXPECT_EQ(g.m.SelectRange(6, false, false), E_PENDING);
  EXPECT_EQ(g.m.SelectRange(99, false, true), E_INVALIDARG);
  EXPECT_EQ(g.m.SelectItem(99, true), E_INVALIDARG);
}

TEST(IconSelection, XpRangesFollowTheDisplayOrder) {
  GridModel g(12, 4);
  g.m.SetVersionCode(7);
  g.m.SetAnchor(5);
  g.m.SelectRange(10, false, true);
  EXPECT_EQ(g.Selected(), "5 6 7 8 9 10 ");
  EXPECT_EQ(g.rec.Take(), "none +10 +9 +8 +7 +6 +5 end ");  // from the target toward the anchor
}

TEST(IconSelection, PressOnOneOfSeveralSelectedCollapsesOnRelease) {
  GridModel g(12, 4);
  g.m.SelectItem(1, true);
  g.m.Release(2, kPartPicture, kPartPicture, true, false, false);  // Ctrl-click adds 2
  ASSERT_EQ(g.Selected(), "1 2 ");
  g.m.Press(2, kPartPicture, false, false);
  EXPECT_EQ(g.Selected(), "1 2 ");  // kept for a drag
  EXPECT_TRUE(g.m.CollapseOnRelease());
  g.m.Release(2, kPartPicture, kPartPicture, false, false, false);
  EXPECT_EQ(g.Selected(), "2 ");
  // A second slow click on the label of the only selected item asks for renaming.
  g.m.Press(2, kPartLabel, false, false);
  EXPECT_EQ(g.m.Release(2, kPartLabel, kPartLabel, false, false, false), 2u);
  // A press on a check box never changes the selection on release.
  EXPECT_EQ(g.m.Release(3, kPartPicture, kPartCheck, false, false, false), kNoItem);
  EXPECT_EQ(g.Selected(), "2 ");
}

TEST(IconSelection, RubberBandWithAndWithoutModifiers) {
  GridModel g(8, 4);
  g.m.SelectItem(7, true);
  // Plain band: inside selected, outside unselected.
  g.m.BandStart(false);
  g.m.BandUpdate({0, 1}, false, false);
  EXPECT_EQ(g.Selected(), "0 1 ");
  // The band shrinks: 1 leaves.
  g.m.BandUpdate({0}, false, false);
  EXPECT_EQ(g.Selected(), "0 ");
  // Shift keeps what is outside.
  g.m.SelectItem(6, true);
  g.m.BandStart(false);
  g.m.BandUpdate({2}, false, true);
  EXPECT_EQ(g.Selected(), "0 2 6 ");
  // Ctrl: inside flips against the start, outside returns to the start.
  g.m.BandStart(true);
  g.m.BandUpdate({2, 3}, true, false);
  EXPECT_EQ(g.Selected(), "0 3 6 ");
  g.m.BandUpdate({}, true, false);
  EXPECT_EQ(g.Selected(), "0 2 6 ");
}

TEST(IconSelection, KeyMoves) {
  GridModel g(10, 4);  // rows: 0-3, 4-7, 8-9 (partly filled)
  struct Step {
    KeyMove key;
    bool ctrl, shift;
    DWORD focus;
    const char* selected;
  } steps[] = {
      {kKeyRight, false, false, 1, "1 "},
      {kKeyDown, false, false, 5, "5 "},
      {kKeyDown, false, false, 9, "9 "},
      {kKeyRight, false, false, 9, "9 "},       // no cell to the right: nothing moves
      {kKeyUp, false, false, 5, "5 "},
      {kKeyRight, false, false, 6, "6 "},
      {kKeyDown, false, false, 8, "8 "},        // empty cell below: column 0 of that row
      {kKeyHome, false, false, 0, "0 "},
      {kKeyRight, true, false, 1, "0 "},        // Ctrl: only the focus moves
      {kKeyRight, false, true, 2, "0 1 2 "},    // Shift: range from the anchor
      {kKeyEnd, false, false, 9, "9 "},
      {kKeyPageUp, false, false, 1, "1 "},     // three rows a page: two rows up
      {kKeyRight, false, false, 2, "2 "},
      {kKeyRight, false, false, 3, "3 "},
      {kKeyPageDown, false, false, 9, "9 "},   // last row partly filled: nearest on the left
  };
  g.m.SelectItem(0, true);
  for (auto& s : steps) {
    g.m.Key(s.key, s.ctrl, s.shift, 3);
    EXPECT_EQ(g.m.Focus(), s.focus) << int(s.key);
    EXPECT_EQ(g.Selected(), s.selected) << int(s.key);
  }
}

TEST(IconSelection, TypeAheadWrapsAndSkipsTheFocus) {
  GridModel g(5, 5);
  const char* names[] = {"apple.jpg", "Bee.jpg", "_a.jpg", "avocado.jpg", "banana.jpg"};
  for (int i = 0; i < 5; ++i) g.rec.names[DWORD(i)] = names[i];
  g.m.SelectItem(0, true);
  EXPECT_EQ(g.m.TypeAhead('a'), 3u);  // the next "a" after the focus; "_a" does not count
  EXPECT_EQ(g.m.TypeAhead('A'), 0u);  // wraps
  EXPECT_EQ(g.Selected(), "0 ");
  g.m.SelectItem(1, true);
  g.m.SetFocusItem(1);
  EXPECT_EQ(g.m.TypeAhead('b'), 4u);
  EXPECT_EQ(g.m.TypeAhead('b'), 1u);
  EXPECT_EQ(g.m.TypeAhead('z'), kNoItem);
  g.rec.names.clear();
  g.rec.names[1] = "b";
  EXPECT_EQ(g.m.TypeAhead('b'), kNoItem);  // only the focus item matches: nothing
}

TEST(IconSelection, GridNavigationAndRemoval) {
  GridModel g(10, 4);
  EXPECT_EQ(g.m.NextItem(kNoItem, 0), 1u);          // from cell (0,0) to the next cell
  EXPECT_EQ(g.m.NextItem(3, 0), 4u);                // end of row: column 0 of the next
  EXPECT_EQ(g.m.NextItem(9, 0), kNoItem);
  EXPECT_EQ(g.m.NextItem(6, kNextDown), kNoItem);   // empty cell below
  EXPECT_EQ(g.m.NextItem(5, kNextUp), 1u);
  EXPECT_EQ(g.m.NextItem(4, kNextLeft), kNoItem);
  g.m.SelectItem(7, true);
  EXPECT_EQ(g.m.NextItem(kNoItem, kNextSelected), 7u);
  EXPECT_EQ(g.m.NextItem(0, kNextCut, {8}), 8u);
  // Removing an item clears the anchor, its cell and, when it had it, the focus.
  g.m.Remove(7);
  EXPECT_EQ(g.m.Anchor(), kNoItem);
  EXPECT_EQ(g.m.Focus(), kNoItem);
  EXPECT_EQ(g.m.ItemAtCell(3, 1), kNoItem);
  EXPECT_EQ(g.Selected(), "");
  EXPECT_FALSE(g.m.Contains(7));
}

}  // namespace
