// The music list's decisions: cells in header order, the cell under a point, the row each
// navigation key goes to (an empty list included), and the music view's widths, sort
// order, row colours and playing mark.
#include <gtest/gtest.h>

#include "MusicListRules.h"

namespace {

CListRowCell Cell(int id, const char* text) { return {id, text, 0, DT_LEFT, 0, 0, -1}; }

std::string Texts(const std::vector<CListRowCell>& cells) {
  std::string out;
  for (const auto& c : cells) out += std::string(c.text) + "/" + std::to_string(c.width) + " ";
  return out;
}

TEST(MusicListRules, CellsFollowTheHeaderOrderWithItsWidthsAndFormats) {
  std::vector<CListRowCell> supplied = {Cell(2, "time"), Cell(1, "a"), Cell(3, "fmt"), Cell(1, "b")};
  // Every cell of a column's id, in column order; a cell without a column goes.
  auto arranged = musiclist::ArrangeCells(supplied, {{1, 300, DT_LEFT}, {2, 50, DT_RIGHT}, {4, 150, DT_RIGHT}});
  EXPECT_EQ(Texts(arranged), "a/300 b/300 time/50 ");
  EXPECT_EQ(arranged[2].format, (UINT)DT_RIGHT);
  // By an order of ids: the first cell of each, ids without a cell skipped.
  EXPECT_EQ(Texts(musiclist::CellsInOrder(supplied, {2, 1, 9})), "time/0 a/0 ");
  EXPECT_TRUE(musiclist::ArrangeCells({}, {{1, 300, DT_LEFT}}).empty());
}

TEST(MusicListRules, CellUnderAPoint) {
  const std::vector<int> widths = {50, 30};
  struct Case {
    int origin, x, y;
    bool perCell;
    int cell;
  } cases[] = {
      {0, 0, 5, true, 0},   {0, 49, 5, true, 0},  {0, 50, 5, true, 1},    {0, 80, 5, true, -1},
      {10, 45, 5, true, 1}, {0, 10, 25, true, -1},  // below the row's height
      {0, 200, 5, false, 0},                         // without per-cell hits every point is cell 0
  };
  for (const Case& c : cases)
    EXPECT_EQ(musiclist::HitTestCell(widths, c.origin, 20, {c.x, c.y}, c.perCell), c.cell) << c.origin << "," << c.x;
  EXPECT_EQ(musiclist::HitTestCell({}, 0, 20, {0, 0}, true), -1);  // a row without cells
  EXPECT_EQ(musiclist::AbsoluteRow(-1, 12), -1);  // a window that is no visible row
  EXPECT_EQ(musiclist::AbsoluteRow(3, 12), 15);
}

TEST(MusicListRules, NavigationKeys) {
  // 20 rows, rows 0..9 visible, 10 slots; focus and selection on row 5.
  const musiclist::KeyState base = {20, 5, 5, -1, 0, 9, 10};
  struct Case {
    UINT vk;
    int focus, selected, current, first, last;
    int row;
  } cases[] = {
      {VK_HOME, 5, 5, -1, 0, 9, 0},      {VK_END, 5, 5, -1, 0, 9, 19},
      {VK_PRIOR, 5, 5, -1, 0, 9, 0},     // inside the page: its top
      {VK_PRIOR, 12, 12, -1, 12, 21, 4},  // at the top: a page further up
      {VK_PRIOR, 3, 3, -1, 2, 11, 2},
      {VK_NEXT, 5, 5, -1, 0, 9, 8},      // above the page's end: its end
      {VK_NEXT, 9, 9, -1, 0, 9, 17},     // at the end: a page further down
      {VK_NEXT, 18, 18, -1, 10, 19, 19},  // never past the last row
      {VK_DOWN, 5, 5, -1, 0, 9, 6},      {VK_DOWN, 19, 19, -1, 10, 19, 19},  // the last row stays
      {VK_DOWN, -1, 3, -1, 0, 9, 4},     {VK_DOWN, -1, -1, 7, 0, 9, 8},  {VK_DOWN, -1, -1, -1, 0, 9, 0},
      {VK_UP, 5, 5, -1, 0, 9, 4},        {VK_UP, 0, 0, -1, 0, 9, 0},
      {VK_UP, -1, 3, -1, 0, 9, 2},       {VK_UP, -1, -1, 7, 0, 9, 6},   {VK_UP, -1, -1, -1, 0, 9, 0},
      {VK_LEFT, 5, 5, -1, 0, 9, -1},     {'A', 5, 5, -1, 0, 9, -1},
  };
  for (const Case& c : cases) {
    musiclist::KeyState s = base;
    s.focus = c.focus, s.firstSelected = c.selected, s.current = c.current, s.first = c.first, s.last = c.last;
    EXPECT_EQ(musiclist::KeyTargetRow(c.vk, s), c.row) << "key " << c.vk << " focus " << c.focus;
  }
  // An empty list has no row for any key (not 0, not -1 passed on as a row).
  musiclist::KeyState empty = {0, -1, -1, -1, -1, -1, 10};
  for (UINT vk : {VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})
    EXPECT_EQ(musiclist::KeyTargetRow(vk, empty), -1) << vk;
}

TEST(MusicViewRules, WidthsSortOrderColoursAndMark) {
  struct WidthCase {
    int column, stored, width;
  } widths[] = {{0, 0, 300}, {1, -5, 50}, {2, 80, 80}, {3, 0, 150}, {4, 70, 0}};
  for (const WidthCase& c : widths) EXPECT_EQ(musicview::ColumnWidth(c.column, c.stored), c.width) << c.column;
  // The column showing 1 sorts descending; any other ascending.
  EXPECT_EQ(musicview::OrderForClick(0), 1);
  EXPECT_EQ(musicview::OrderForClick(1), 2);
  EXPECT_EQ(musicview::OrderForClick(2), 1);
  EXPECT_STREQ(musicview::SortKey(musicview::kSizeColumnId), "z");
  for (int id : {1, 2, 3}) EXPECT_STREQ(musicview::SortKey(id), "o");
  EXPECT_EQ(musicview::RowBackground(0), RGB(241, 240, 236));
  EXPECT_EQ(musicview::RowBackground(1), RGB(255, 255, 255));
  EXPECT_EQ(musicview::RowBackground(2), RGB(241, 240, 236));
  struct MarkCase {
    const char *row, *player;
    bool playing, stop;
  } marks[] = {
      {"C:\\M\\a.mp3", "c:\\m\\A.MP3", true, true}, {"C:\\M\\a.mp3", "C:\\M\\a.mp3", false, false},
      {"C:\\M\\a.mp3", "C:\\M\\b.mp3", true, false}, {"", "", true, false}, {nullptr, "C:\\a", true, false},
  };
  for (const MarkCase& c : marks) EXPECT_EQ(musicview::ShowsStop(c.row, c.player, c.playing), c.stop);
  EXPECT_TRUE(musicview::RowHasItem(4, 5));
  EXPECT_FALSE(musicview::RowHasItem(5, 5));  // the list counts more rows than the page holds
  EXPECT_FALSE(musicview::RowHasItem(-1, 5));
}

}  // namespace
