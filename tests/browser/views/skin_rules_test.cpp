// The skinned controls' decisions without windows: placement of unscaled pictures, scroll
// bar thumbs and drags, the movie slider's hit-testing and steps, the scroll panel's fit,
// scrolling, pool reordering and selection, the header strip's colour key.
#include <gtest/gtest.h>

#include <BitmapScrollBarRules.h>
#include <ImgButtonRules.h>
#include <MovieCtrlBarRules.h>
#include <MusicListHeaderRules.h>
#include <ScrollPanelRules.h>
#include <SkinCtrlRules.h>

#include <vector>

namespace {

TEST(SkinCtrlRules, StatesAndUnscaledPlacement) {
  EXPECT_FALSE(skinctrl::ValidState(0));
  EXPECT_FALSE(skinctrl::ValidState(16));
  EXPECT_TRUE(skinctrl::ValidState(1));
  EXPECT_TRUE(skinctrl::ValidState(15));
  struct {
    int cx, cy;
    RECT box;
    bool centre;
    int x, srcX, copyCx, copyCy;
  } cases[] = {
      {10, 10, {0, 0, 30, 20}, false, 0, 0, 10, 10},  // smaller, not centred
      {10, 10, {0, 0, 30, 20}, true, 10, 0, 10, 10},  // narrower: moved right by half the difference
      {40, 10, {5, 0, 25, 20}, true, 5, 10, 20, 10},  // wider: cut by half the difference on its left
      {40, 30, {5, 0, 25, 20}, false, 5, 0, 20, 20},  // cut to the box
      {0, 10, {0, 0, 30, 20}, true, 0, 0, 0, 0},      // nothing to draw
  };
  for (auto& c : cases) {
    skinctrl::Placement p = skinctrl::PlaceUnscaled(c.cx, c.cy, c.box, c.centre);
    EXPECT_EQ(p.x, c.x) << c.cx << " in " << c.box.right;
    EXPECT_EQ(p.srcX, c.srcX) << c.cx;
    EXPECT_EQ(p.cx, c.copyCx) << c.cx;
    EXPECT_EQ(p.cy, c.copyCy) << c.cx;
  }
  EXPECT_EQ(skinctrl::ColorTableBytes(8, BI_RGB, 0), 1024);
  EXPECT_EQ(skinctrl::ColorTableBytes(4, BI_RGB, 5), 20);
  EXPECT_EQ(skinctrl::ColorTableBytes(16, BI_BITFIELDS, 0), 12);
  EXPECT_EQ(skinctrl::ColorTableBytes(24, BI_RGB, 0), 0);
}

TEST(BitmapScrollBarRules, ThumbSizesAndPlaces) {
  using skinbar::Range;
  struct {
    Range r;
    bool caps;
    int grip, start, length;
  } cases[] = {
      {{0, 0, 1, 0}, true, 8, 14, 0},       // range 0..0: no thumb
      {{0, 999, 10, 0}, true, 8, 14, 14},   // 1000 with page 10 on 100 px: the minimum with caps
      {{0, 999, 10, 0}, false, 4, 14, 10},  // without caps: grip + 6
      {{0, 9, 5, 0}, true, 8, 14, 50},      // half the range is half the track
      {{0, 9, 5, 5}, true, 8, 64, 50},      // at the limit: flush with the track's end
      {{0, 9, 5, 3}, true, 8, 44, 50},     {{0, 999, 10, 990}, true, 8, 100, 14},  // the end of a long range
  };
  for (auto& c : cases) {
    skinbar::Thumb t = skinbar::ThumbOf(14, 114, c.r, c.caps, c.grip);
    EXPECT_EQ(t.length, c.length) << c.r.max << "/" << c.r.pos;
    if (t.Exists()) { EXPECT_EQ(t.start, c.start) << c.r.max << "/" << c.r.pos; }
  }
}

TEST(BitmapScrollBarRules, ClampedPositionsPartsAndDrags) {
  skinbar::Range r = {0, 99, 10, 0};
  EXPECT_EQ(skinbar::ClampPos(95, r), 90);  // max - page + 1
  EXPECT_EQ(skinbar::ClampPos(-5, r), 0);
  EXPECT_EQ(skinbar::ClampPos(40, r), 40);
  EXPECT_EQ(skinbar::ScrollLimit(r), 90);
  skinbar::Range neg = {-10, 5, 20, 0};
  EXPECT_EQ(skinbar::ClampPos(-8, neg), 0);  // a negative result becomes 0

  skinbar::Thumb t = {40, 20};
  EXPECT_EQ(skinbar::PartAt(5, 128, 14, 14, t), skinbar::kHoldFirst);
  EXPECT_EQ(skinbar::PartAt(120, 128, 14, 14, t), skinbar::kHoldSecond);
  EXPECT_EQ(skinbar::PartAt(20, 128, 14, 14, t), skinbar::kPageBefore);
  EXPECT_EQ(skinbar::PartAt(45, 128, 14, 14, t), skinbar::kDragThumb);
  EXPECT_EQ(skinbar::PartAt(80, 128, 14, 14, t), skinbar::kPageAfter);
  EXPECT_EQ(skinbar::PartAt(80, 128, 14, 14, skinbar::Thumb{14, 0}), skinbar::kNone);

  struct {
    int cursor, pos;
    bool sent;
  } drags[] = {
      {50, 0, true},    // no travel
      {10, 0, true},    // before the track
      {120, 90, true},  // after the track: max - page + 1
      {59, 50, true},   // 9 px of 90: 10 positions of 100
      {200, 90, true},
  };
  for (auto& d : drags) {
    int pos = -1;
    EXPECT_EQ(skinbar::DragPosition(d.cursor, 50, 0, 14, 114, 10, r, &pos), d.sent) << d.cursor;
    if (d.sent) { EXPECT_EQ(pos, d.cursor == 59 ? 10 : d.pos) << d.cursor; }
  }
  int pos = -1;
  EXPECT_FALSE(skinbar::DragPosition(60, 50, 0, 14, 114, 10, skinbar::Range{0, 0, 1, 0}, &pos));  // min >= max
  EXPECT_FALSE(skinbar::DragPosition(60, 50, 0, 14, 114, 100, r, &pos));                          // no room
}

TEST(MovieCtrlBarRules, OffsetsCentresAndHits) {
  moviebar::Track t = {{0, 0, 111, 21}, 11, 0, 10};
  // (111 - 10 - 0 - 1) = 100 px over 10 steps.
  EXPECT_DOUBLE_EQ(moviebar::PosToOffset(t, 0), 0);
  EXPECT_DOUBLE_EQ(moviebar::PosToOffset(t, 5), 50);
  EXPECT_DOUBLE_EQ(moviebar::PosToOffset(t, 11), -1);
  EXPECT_EQ(moviebar::PosToCenter(t, 5), 55);
  EXPECT_EQ(moviebar::PosToCenter(t, -1), -1);
  EXPECT_EQ(moviebar::StepWidth(t), 10);
  struct {
    int x;
    bool clamp;
    int pos;
  } hits[] = {{55, false, 5}, {50, false, 5},  {49, false, 4},   {-1, false, -1}, {0, true, 0},
              {3, true, 0},   {200, true, 10}, {200, false, -1}, {105, true, 10}};
  for (auto& h : hits) EXPECT_EQ(moviebar::HitTestPos(t, h.x, h.clamp), h.pos) << h.x << " " << h.clamp;

  // An empty range divides by nothing: everything sits at min.
  moviebar::Track empty = {{0, 0, 111, 21}, 11, 3, 3};
  EXPECT_DOUBLE_EQ(moviebar::PosToOffset(empty, 3), 0);
  EXPECT_EQ(moviebar::HitTestPos(empty, 70, false), 3);
  EXPECT_EQ(moviebar::StepWidth(empty), 0);
  // A range of 0..1 (a movie without duration) still hit-tests.
  moviebar::Track one = {{0, 0, 111, 21}, 11, 0, 1};
  EXPECT_EQ(moviebar::HitTestPos(one, 102, false), 1);
  EXPECT_EQ(moviebar::HitTestPos(one, 3, false), 0);
}

TEST(MovieCtrlBarRules, WheelAndKeys) {
  EXPECT_EQ(moviebar::WheelPos(5, 120, 0, 10), 4);  // forward: toward the start
  EXPECT_EQ(moviebar::WheelPos(5, -120, 0, 10), 6);
  EXPECT_EQ(moviebar::WheelPos(5, 60, 0, 10), 5);  // less than a notch
  EXPECT_EQ(moviebar::WheelPos(0, 360, 0, 10), 0);
  struct {
    UINT vk;
    int pos, newPos, code;
    bool moves;
  } keys[] = {{VK_PRIOR, 5, 2, SB_PAGELEFT, true},
              {VK_PRIOR, 0, 0, 0, false},
              {VK_NEXT, 9, 10, SB_PAGERIGHT, true},
              {VK_NEXT, 10, 0, 0, false},
              {VK_END, 3, 10, SB_RIGHT, true},
              {VK_HOME, 3, 0, SB_LEFT, true},
              {VK_HOME, 0, 0, 0, false},
              {VK_LEFT, 3, 2, SB_LINELEFT, true},
              {VK_DOWN, 3, 4, SB_LINERIGHT, true},
              {VK_RIGHT, 10, 0, 0, false},
              {'A', 3, 0, 0, false}};
  for (auto& k : keys) {
    moviebar::KeyStep s = {-1, -1};
    EXPECT_EQ(moviebar::KeyStepOf(k.vk, k.pos, 0, 10, 3, 1, &s), k.moves) << k.vk << "@" << k.pos;
    if (k.moves) {
      EXPECT_EQ(s.pos, k.newPos) << k.vk;
      EXPECT_EQ(s.code, k.code) << k.vk;
    }
  }
}

TEST(ScrollPanelRules, RowsColumnsAndCells) {
  using scrollpanel::Fit;
  struct {
    int requested, gap, content, item, count, gapOut;
  } cases[] = {
      {-1, -1, 100, 20, 5, 0},                           // five fit exactly
      {-1, -1, 110, 20, 5, 2},                           // the spare 10 px spread over 4 gaps
      {-1, -1, 30, 20, 1, 0},                            // one row: no gap
      {-1, 4, 100, 20, 4, 4},                            // (100 - 4) / 24 = 4
      {-1, 4, 110, 20, 5, 4},                            // (110 - 4) / 24 = 4, a remainder: one more
      {-1, 0, 100, 20, 5, 0},  {3, -1, 100, 20, 3, 10},  // fixed count, gap -1 becomes 10
      {1, 5, 100, 20, 1, 0},                             // a single row has no gap
      {-1, -1, 100, 0, -1, 0},                           // template of no height
  };
  for (auto& c : cases) {
    Fit f = scrollpanel::FitCount(c.requested, c.gap, c.content, c.item);
    EXPECT_EQ(f.count, c.count) << c.requested << "/" << c.gap << "/" << c.content;
    EXPECT_EQ(f.gap, c.gapOut) << c.requested << "/" << c.gap << "/" << c.content;
  }
  EXPECT_EQ(scrollpanel::CellSize(-1, 100, 0, 5, 0, 20), 20);
  EXPECT_EQ(scrollpanel::CellSize(-1, 15, 0, 1, 0, 20), 15);
  EXPECT_EQ(scrollpanel::CellSize(3, 100, 10, 3, 0, 20), 26);
  EXPECT_EQ(scrollpanel::CellSize(3, 10, 10, 3, 0, 20), 0);
}

TEST(ScrollPanelRules, ScrollingFirstIndex) {
  EXPECT_EQ(scrollpanel::PaddedTotal(10, 3), 12);
  EXPECT_EQ(scrollpanel::PaddedTotal(0, 3), 0);
  int first = -1;
  // 3 columns, 10 items: thumb tracking to 4 gives 6.
  ASSERT_TRUE(scrollpanel::ScrollFirst(SB_THUMBTRACK, 4, 0, 3, 6, 12, &first));
  EXPECT_EQ(first, 6);
  ASSERT_TRUE(scrollpanel::ScrollFirst(SB_THUMBTRACK, 6, 0, 3, 6, 12, &first));
  EXPECT_EQ(first, 6);
  struct {
    UINT code;
    int first, out;
    bool scrolls;
  } cases[] = {{SB_LINEDOWN, 0, 3, true},  {SB_LINEUP, 3, 0, true},    {SB_LINEUP, 0, 0, true},
               {SB_PAGEDOWN, 3, 15, true}, {SB_PAGEUP, 15, 3, true},   {SB_PAGEUP, 6, 0, true},
               {SB_PAGEUP, 0, 0, false},   {SB_ENDSCROLL, 3, 0, false}};
  for (auto& c : cases) {
    first = -1;
    EXPECT_EQ(scrollpanel::ScrollFirst(c.code, 0, c.first, 3, 12, 30, &first), c.scrolls) << c.code;
    if (c.scrolls) { EXPECT_EQ(first, c.out) << c.code; }
  }
  EXPECT_FALSE(scrollpanel::ScrollFirst(SB_LINEDOWN, 0, 0, 3, 12, 9, &first));  // all on one page
  // Layout: everything fits -> 0; else at most one row past the last full page, a row start.
  EXPECT_EQ(scrollpanel::LayoutFirst(6, 9, 12, 3), 0);
  EXPECT_EQ(scrollpanel::LayoutFirst(100, 30, 12, 3), 21);
  EXPECT_EQ(scrollpanel::LayoutFirst(7, 30, 12, 3), 6);
  EXPECT_TRUE(scrollpanel::FirstRefused(-3, 30, 3, 12));
  EXPECT_TRUE(scrollpanel::FirstRefused(3, 9, 3, 12));
  EXPECT_TRUE(scrollpanel::FirstRefused(24, 30, 3, 12));
  EXPECT_FALSE(scrollpanel::FirstRefused(21, 30, 3, 12));
}

std::vector<int> Pool(int n) {
  std::vector<int> v;
  for (int i = 0; i < n; i++) v.push_back(100 + i);  // window names: 100 + their first cell
  return v;
}

TEST(ScrollPanelRules, PoolFollowsItemsWhenThePageMoves) {
  // 3 columns, 4 rows, 15 items, page at 0: a line down moves the windows of items 3..11
  // three cells back, and only cells 9..11 are filled again.
  std::vector<int> pool = Pool(12);
  scrollpanel::Reorder r = scrollpanel::ShiftPool(0, 3, 11, 12, 12);
  scrollpanel::Apply(r, pool);
  for (int cell = 0; cell < 9; cell++) EXPECT_EQ(pool[cell], 100 + cell + 3) << cell;
  EXPECT_EQ(r.refreshFirst, 9);
  EXPECT_EQ(r.refreshLast, 11);
  // And back up: the windows return to their items.
  r = scrollpanel::ShiftPool(3, 0, 14, 12, 12);
  scrollpanel::Apply(r, pool);
  for (int cell = 3; cell < 12; cell++) EXPECT_EQ(pool[cell], 100 + cell) << cell;
  EXPECT_EQ(r.refreshFirst, 0);
  EXPECT_EQ(r.refreshLast, 2);
  // A jump beyond the page refills everything and moves nothing.
  r = scrollpanel::ShiftPool(0, 30, 11, 12, 12);
  EXPECT_TRUE(r.swaps.empty());
  EXPECT_EQ(r.refreshFirst, 0);
  EXPECT_EQ(r.refreshLast, 11);
  r = scrollpanel::ShiftPool(30, 0, 41, 12, 12);
  EXPECT_TRUE(r.swaps.empty());
  EXPECT_EQ(r.refreshLast, 11);
  EXPECT_TRUE(scrollpanel::ShiftPool(6, 6, 17, 12, 12).swaps.empty());
}

TEST(ScrollPanelRules, PoolWhenAnItemGoes) {
  // The item in the second cell of a full page: the following windows move one cell back,
  // the freed one goes to the last cell, which alone is filled again.
  std::vector<int> pool = Pool(12);
  scrollpanel::Reorder r = scrollpanel::DeleteFromPool(1, 0, 11, 12, 12);
  scrollpanel::Apply(r, pool);
  EXPECT_EQ(pool[0], 100);
  for (int cell = 1; cell < 11; cell++) EXPECT_EQ(pool[cell], 100 + cell + 1) << cell;
  EXPECT_EQ(pool[11], 101);
  EXPECT_EQ(r.refreshFirst, 11);
  EXPECT_EQ(r.refreshLast, 11);
  // Below the page: no window moves.
  r = scrollpanel::DeleteFromPool(20, 0, 11, 12, 12);
  EXPECT_TRUE(r.swaps.empty());
  EXPECT_EQ(r.refreshFirst, -1);
  // Above the page: every window moves one cell back.
  pool = Pool(12);
  scrollpanel::Apply(scrollpanel::DeleteFromPool(1, 6, 17, 12, 12), pool);
  EXPECT_EQ(pool[0], 101);
  EXPECT_EQ(pool[11], 100);
  // 3 columns, 4 rows, 13 items, page at 3: deleting item 12 leaves 12 items, page at 0.
  EXPECT_EQ(scrollpanel::FirstAfterDelete(3, 12, 12, 3), 0);
  EXPECT_EQ(scrollpanel::FirstAfterDelete(0, 12, 12, 3), -1);
  EXPECT_EQ(scrollpanel::FirstAfterDelete(3, 14, 12, 3), -1);
}

TEST(ScrollPanelRules, ShiftCtrlBandAndKeys) {
  using V = std::vector<int>;
  EXPECT_EQ(scrollpanel::SelectRange({7}, 2, 5, false), (V{2, 3, 4, 5}));
  EXPECT_EQ(scrollpanel::SelectRange({}, 5, 2, false), (V{2, 3, 4, 5}));
  EXPECT_EQ(scrollpanel::SelectRange({3, 9}, 2, 4, true), (V{9, 2, 4}));  // 3 toggled off
  // Band from item 1 to item 8 on 3 columns: columns 1..2 of rows 0..2.
  EXPECT_EQ(scrollpanel::BandBlock(1, 8, 3, 20), (V{1, 2, 4, 5, 7, 8}));
  EXPECT_EQ(scrollpanel::BandBlock(8, 1, 3, 7), (V{1, 2, 4, 5, 7}));
  EXPECT_EQ(scrollpanel::BandAnchor(10, 3, 8), 7);
  EXPECT_EQ(scrollpanel::ApplyBand({1, 20}, {1, 2}, false), (V{1, 20, 2}));
  EXPECT_EQ(scrollpanel::ApplyBand({1, 20}, {1, 2}, true), (V{20, 2}));
  int anchor = 4;
  EXPECT_EQ(scrollpanel::ShiftSelection({4, 5, 11}, 3, 3, 14, &anchor), (V{7, 8, 14}));
  EXPECT_EQ(anchor, 7);
  anchor = 4;
  EXPECT_EQ(scrollpanel::ShiftSelection({4, 5}, -3, 0, 11, &anchor), (V{1, 2}));
  EXPECT_EQ(scrollpanel::ShiftSelection({13, 14}, 0, 3, 13, nullptr), (V{13}));  // duplicates dropped
  EXPECT_EQ(scrollpanel::CellAt(-5, 0, 20, 4, 3), 0);
  EXPECT_EQ(scrollpanel::CellAt(50, 0, 20, 4, 3), 2);
  EXPECT_EQ(scrollpanel::CellAt(500, 0, 20, 4, 3), 2);

  using scrollpanel::MoveAnchor;
  struct {
    int action, anchor, lastVisible, out;
    bool moves;
  } keys[] = {{scrollpanel::kUp, 0, 11, 0, false},       {scrollpanel::kUp, 2, 11, 0, false},
              {scrollpanel::kUp, 5, 11, 2, true},        {scrollpanel::kDown, 14, 14, 0, false},
              {scrollpanel::kDown, 13, 14, 0, false},    {scrollpanel::kDown, 13, 11, 14, true},
              {scrollpanel::kDown, -1, 11, 3, true},     {scrollpanel::kDown, 4, 11, 7, true},
              {scrollpanel::kNext, 14, 14, 0, false},    {scrollpanel::kNext, -1, 11, 0, true},
              {scrollpanel::kPrevious, 0, 11, 0, false}, {scrollpanel::kPrevious, 4, 11, 3, true}};
  for (auto& k : keys) {
    int out = -1;
    EXPECT_EQ(MoveAnchor(k.action, k.anchor, 3, 14, k.lastVisible, &out), k.moves) << k.action << "@" << k.anchor;
    if (k.moves) { EXPECT_EQ(out, k.out) << k.action << "@" << k.anchor; }
  }
  EXPECT_EQ(scrollpanel::FirstShowing(4, 3, 6, 3), -1);
  EXPECT_EQ(scrollpanel::FirstShowing(1, 3, 6, 3), 0);
  EXPECT_EQ(scrollpanel::FirstShowing(10, 3, 6, 3), 6);  // one row further at the bottom
}

// A 24-bit packed DIB of 3 x 2 pixels, bottom-up, each row padded to 12 bytes.
struct Dib24 {
  BITMAPINFOHEADER h = {sizeof(BITMAPINFOHEADER), 3, 2, 1, 24, BI_RGB};
  BYTE bits[24] = {};
  BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(this); }
  // Top-down (x, y).
  BYTE* At(int x, int y) { return bits + (1 - y) * 12 + x * 3; }
  void Set(int x, int y, COLORREF c) {
    At(x, y)[0] = GetBValue(c), At(x, y)[1] = GetGValue(c), At(x, y)[2] = GetRValue(c);
  }
  COLORREF Get(int x, int y) { return RGB(At(x, y)[2], At(x, y)[1], At(x, y)[0]); }
};

TEST(MusicListHeaderRules, ColourKeyTakesTheBackground) {
  static_assert(sizeof(Dib24) == 40 + 24, "packed");
  Dib24 image, background;
  const COLORREF key = RGB(255, 0, 255), ink = RGB(10, 20, 30), back = RGB(1, 2, 3);
  for (int y = 0; y < 2; y++)
    for (int x = 0; x < 3; x++) {
      image.Set(x, y, (x + y) % 2 ? key : ink);
      background.Set(x, y, back);
    }
  ASSERT_TRUE(listheader::CombineColourKey(image.Info(), background.Info(), CRect(0, 0, 2, 2), key));
  EXPECT_EQ(image.Get(0, 0), ink);
  EXPECT_EQ(image.Get(1, 0), back);  // keyed
  EXPECT_EQ(image.Get(0, 1), back);
  EXPECT_EQ(image.Get(2, 1), key);  // outside the rectangle: untouched
  background.h.biBitCount = 32;
  EXPECT_FALSE(listheader::CombineColourKey(image.Info(), background.Info(), CRect(0, 0, 3, 2), key));
  EXPECT_EQ(listheader::StripWidth(120, 300, 200), 200);
  EXPECT_EQ(listheader::StripWidth(320, 300, 200), 320);
  EXPECT_EQ(listheader::StripWidth(0, 300, 200), 200);
}

TEST(ImgButtonRules, DrawStateCheckAndBlend) {
  EXPECT_EQ(imgbutton::DrawState(ODS_FOCUS, false, true, false), 0u);  // keyboard focus never shows
  EXPECT_EQ(imgbutton::DrawState(0, true, true, false), (UINT)ODS_FOCUS);
  EXPECT_EQ(imgbutton::DrawState(0, true, false, true), 0u);
  EXPECT_EQ(imgbutton::DrawState(0, false, true, true), (UINT)ODS_SELECTED);
  EXPECT_TRUE(imgbutton::CheckAfter(BST_CHECKED, false, false));
  EXPECT_FALSE(imgbutton::CheckAfter(BST_UNCHECKED, true, false));
  EXPECT_TRUE(imgbutton::CheckAfter(BST_UNCHECKED, true, true));  // held: stays checked
  EXPECT_TRUE(imgbutton::CheckAfter(2, true, false));
  EXPECT_EQ(imgbutton::Blend(200, 100, 0), 200);
  EXPECT_EQ(imgbutton::Blend(200, 100, 255), 100);
  EXPECT_EQ(imgbutton::Blend(0, 100, 10), 100);
  EXPECT_EQ(imgbutton::Blend(255, 0, 51), 204);
}

}  // namespace
