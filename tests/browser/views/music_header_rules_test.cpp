// The music list header's decisions: the grab zones of its dividers and of zero-width
// columns, the column under a point, and where a header cell's text and arrow go.
#include <gtest/gtest.h>

#include <MusicListHeaderRules.h>

namespace {

using namespace listheader;

TEST(MusicHeaderRules, GrabZonesResizeTheColumnLeftOfTheDivider) {
  // A wide column, a narrow one (no zone on its side), a hidden one and a small one.
  const std::vector<int> widths = {100, 10, 0, 20};
  struct Case {
    int origin, x;
    int kind, column;
  } cases[] = {
      {0, 50, kHoverNone, -1},
      {0, 93, kHoverDivider, 0},   // 8 pixels left of the divider of a wide column
      {0, 91, kHoverNone, -1},
      {0, 105, kHoverNone, -1},    // a column narrower than 12 gives no zone on its side
      {0, 112, kHoverHidden, 2},   // the hidden column's zone wins over the divider's
      {0, 117, kHoverHidden, 2},
      {0, 127, kHoverDivider, 3},  // 4 pixels before the end of a small last column
      {0, 125, kHoverNone, -1},
      {0, 137, kHoverDivider, 3},  // 8 pixels after the last column
      {0, 138, kHoverNone, -1},
      {20, 73, kHoverDivider, 0},  // scrolled by 20
  };
  for (const Case& c : cases) {
    std::vector<Zone> dividers, hidden;
    GrabZones(widths, c.origin, 16, &dividers, &hidden);
    int column;
    EXPECT_EQ(HoverAt(dividers, hidden, {c.x, 5}, &column), c.kind) << c.x;
    EXPECT_EQ(column, c.column) << c.x;
  }
  std::vector<Zone> dividers, hidden;
  GrabZones({}, 0, 16, &dividers, &hidden);
  EXPECT_TRUE(dividers.empty() && hidden.empty());
}

TEST(MusicHeaderRules, ColumnUnderAPointAndInsertPositions) {
  const std::vector<int> widths = {100, 50};
  struct Case {
    int origin, layout, x, column;
  } cases[] = {{0, 300, 0, 0}, {0, 300, 99, 0}, {0, 300, 100, 1}, {0, 300, 149, 1}, {0, 300, 150, -1},
               {0, 120, 130, -1},  // beyond the layout width
               {20, 300, 85, 1}};
  for (const Case& c : cases) EXPECT_EQ(ColumnAt(widths, c.origin, c.layout, 16, {c.x, 3}), c.column) << c.x;
  EXPECT_EQ(InsertPosition(0, 3), 0);
  EXPECT_EQ(InsertPosition(2, 3), 2);
  EXPECT_EQ(InsertPosition(7, 3), 3);
  EXPECT_EQ(InsertPosition(2, 0), 0);
}

TEST(MusicHeaderRules, TextAndArrowPlaces) {
  // 100 wide, 20 high, edges 2 wide, a 12-pixel arrow, a 30 x 12 text.
  struct Case {
    int width, textW;
    UINT format;
    bool hasText;
    int room, textLeft, textRight, arrowX;
  } cases[] = {
      {100, 30, DT_LEFT, true, 79, 7, 86, 45},    // the arrow 5 pixels after the text's room
      {100, 30, DT_RIGHT, true, 79, 7, 81, 86},   // right-aligned: the arrow at the right edge
      {100, 200, DT_LEFT, true, 79, 7, 86, 86},   // a long text is cut; the arrow stays inside
      {100, 0, DT_LEFT, false, 0, 0, 0, 7},       // no title: the arrow 5 right of the left edge
      {20, 30, DT_LEFT, true, 0, 0, 0, 6},        // no room for text
  };
  for (const Case& c : cases) {
    CellLayout l = LayoutCell(c.width, 20, 2, 20, 2, 12, c.textW, 12, c.format, c.hasText);
    EXPECT_EQ(std::max(l.room, 0), c.room) << c.width << "," << c.textW;
    if (c.room > 0) {
      EXPECT_EQ(l.text.left, c.textLeft);
      EXPECT_EQ(l.text.right, c.textRight);
      EXPECT_EQ(l.text.top, 4);
    }
    EXPECT_EQ(l.arrowX, c.arrowX) << c.width << "," << c.textW;
  }
}

}  // namespace
