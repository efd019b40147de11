// The view-mode decisions: which of the base view's windows a code shows and what follows,
// what the controller's pipeline does for each code, when a code is the mode in force, the
// focus splitter's rows, the calendar page's entries, and the property catalogue's sizes.
#include <gtest/gtest.h>

#include <VxDocument/VxDocDefs.h>
#include <VxResourceIds.h>

#include "PropertyRules.h"
#include "ViewModeRules.h"

namespace {

TEST(ViewChangePlan, EachCodeShowsOneWindowAndRecordsItself) {
  struct {
    int current, code;
    BOOL act;
    VXBASEWINDOW show;
    BOOL deletePage, clearFolder, browseMode;
    int after;
  } cases[] = {
      {-1, 2, TRUE, VXBASE_THUMBS, FALSE, FALSE, FALSE, 2},
      {2, 2, FALSE, VXBASE_KEEP, FALSE, FALSE, FALSE, 2},  // already current: nothing at all
      {2, 3, TRUE, VXBASE_KEEP, FALSE, FALSE, FALSE, 2},   // details: notice only, code stays
      {2, 6, TRUE, VXBASE_KEEP, FALSE, FALSE, FALSE, 2},   // zoom window: no window here
      {2, 13, TRUE, VXBASE_KEEP, FALSE, FALSE, FALSE, 2},
      {2, 5, TRUE, VXBASE_THUMBS, FALSE, FALSE, FALSE, 5},
      {2, 10, TRUE, VXBASE_MONTH, FALSE, TRUE, TRUE, 10},  // into the month: a fresh calendar
      {10, 11, TRUE, VXBASE_DAY, FALSE, FALSE, TRUE, 11},
      {11, 10, TRUE, VXBASE_MONTH, FALSE, FALSE, TRUE, 10},  // back from a day keeps the calendar
      {12, 10, TRUE, VXBASE_MONTH, FALSE, TRUE, TRUE, 10},
      {10, 1, TRUE, VXBASE_THUMBS, TRUE, FALSE, FALSE, 1},  // leaving a calendar drops its page
      {11, 5, TRUE, VXBASE_THUMBS, TRUE, FALSE, FALSE, 5},
      {12, 2, TRUE, VXBASE_THUMBS, FALSE, FALSE, FALSE, 2},
      {2, 12, TRUE, VXBASE_MUSIC, FALSE, FALSE, TRUE, 12},
      {2, 0, TRUE, VXBASE_KEEP, FALSE, FALSE, FALSE, 2},
      {2, 99, TRUE, VXBASE_KEEP, FALSE, FALSE, FALSE, 2},
  };
  for (auto& c : cases) {
    VXVIEWCHANGE p = ViewChangePlan(c.current, c.code);
    SCOPED_TRACE(testing::Message() << c.current << " -> " << c.code);
    EXPECT_EQ(p.bAct, c.act);
    EXPECT_EQ(p.show, c.show);
    EXPECT_EQ(p.bDeleteCalendarPage, c.deletePage);
    EXPECT_EQ(p.bClearCalendarFolder, c.clearFolder);
    EXPECT_EQ(p.bSetBrowseMode, c.browseMode);
    EXPECT_EQ(p.nNewCurrent, c.after);
  }
}

TEST(ModeModifyPlan, CodesMapToTheirStepAndTail) {
  struct {
    UINT code;
    VXMODESTEP step;
    float ratio;
    BOOL tail, hideFocus;
  } cases[] = {
      {1, VXSTEP_SMALLICON, 0, TRUE, TRUE},    {2, VXSTEP_LARGEICON, 0, TRUE, TRUE},
      {3, VXSTEP_DETAIL, 0, TRUE, TRUE},       {4, VXSTEP_DETAIL, 0, TRUE, TRUE},
      {7, VXSTEP_DETAIL, 0, TRUE, TRUE},       {8, VXSTEP_DETAIL, 0, TRUE, TRUE},
      {5, VXSTEP_FOCUS, 0.6f, TRUE, FALSE},    {9, VXSTEP_FOCUS, 0.0f, TRUE, FALSE},
      {6, VXSTEP_ZOOM, 0, FALSE, FALSE},       {10, VXSTEP_HIDEFOCUS, 0, FALSE, FALSE},
      {11, VXSTEP_HIDEFOCUS, 0, FALSE, FALSE}, {12, VXSTEP_NONE, 0, TRUE, TRUE},
      {13, VXSTEP_SLIDESHOW, 0, FALSE, FALSE}, {14, VXSTEP_SLIDESHOW, 0, FALSE, FALSE},
      {0, VXSTEP_REFUSE, 0, FALSE, FALSE},     {15, VXSTEP_REFUSE, 0, FALSE, FALSE},
  };
  for (auto& c : cases) {
    VXMODEPLAN p = ModeModifyPlan(c.code);
    SCOPED_TRACE(c.code);
    EXPECT_EQ(p.step, c.step);
    if (c.step == VXSTEP_FOCUS) { EXPECT_FLOAT_EQ(p.fRatio, c.ratio); }
    EXPECT_EQ(p.bTail, c.tail);
    EXPECT_EQ(p.bHideFocus, c.hideFocus);
  }
}

TEST(ModeSameCheck, OnlyATrueRepeatStopsAndFocusRepeatsResetTheSplitter) {
  struct {
    UINT current;
    BOOL focus;
    UINT code;
    BOOL goOn;
    float ratio;
  } cases[] = {
      {1, FALSE, 1, FALSE, -1},  // small icons again
      {2, FALSE, 2, TRUE, -1},   // large icons again re-applies the size class
      {1, FALSE, 2, TRUE, -1},   {3, FALSE, 3, FALSE, -1},
      {3, FALSE, 4, TRUE, -1},   {5, TRUE, 5, FALSE, 0.6f},  // focus again: back to the enlarged layout only
      {5, TRUE, 9, FALSE, 0.0f},                             // information only while in focus: collapse, no pipeline
      {2, FALSE, 9, TRUE, -1},   {2, FALSE, 5, TRUE, -1},
  };
  for (auto& c : cases) {
    VXSAMEMODE s = ModeSameCheck(c.current, c.focus, c.code);
    SCOPED_TRACE(testing::Message() << c.current << " " << c.code);
    EXPECT_EQ(s.bGoOn, c.goOn);
    EXPECT_FLOAT_EQ(s.fRatio, c.ratio);
  }
}

TEST(ModeRules, FileCheckAndDecodingRestart) {
  for (UINT code = 0; code <= 15; ++code)
    EXPECT_EQ(ModeNeedsFileCheck(code), code == 5 || code == 6 || code == 9 || code == 13) << code;
  EXPECT_FALSE(ModeRestartsDecoding(13, BROWSE_VIEW_DAY));
  EXPECT_TRUE(ModeRestartsDecoding(13, BROWSE_VIEW_MONTH));
  EXPECT_TRUE(ModeRestartsDecoding(2, BROWSE_VIEW_DAY));
}

TEST(FocusRowHeight, EnlargedKeepsTheInformationStripOtherRatiosShare) {
  struct {
    int cy;
    float ratio;
    int row;
  } cases[] = {
      {600, 0.6f, 408}, {292, 0.6f, 100}, {200, 0.6f, 100}, {0, 0.6f, 100},
      {600, 0.0f, 10},  {600, 0.5f, 300}, {15, 0.5f, 10},   {601, 0.25f, 150},
  };
  for (auto& c : cases) EXPECT_EQ(FocusRowHeight(c.cy, c.ratio), c.row) << c.cy << " " << c.ratio;
}

TEST(CalendarCollectRule, PicturesAndMoviesOncePerPath) {
  CCalendarCollectRule rule;
  EXPECT_TRUE(rule.Take(0x210, FALSE, "C:\\a\\1.jpg"));
  EXPECT_FALSE(rule.Take(0x210, FALSE, "C:\\a\\1.jpg"));  // the same file in another page
  EXPECT_TRUE(rule.Take(0x210, FALSE, "C:\\a\\1.JPG"));   // bytes compared: another spelling counts
  EXPECT_TRUE(rule.Take(0x1010, FALSE, "C:\\a\\2.mp4"));
  EXPECT_FALSE(rule.Take(0x0004, FALSE, "C:\\a\\3.mp3"));  // sound
  EXPECT_FALSE(rule.Take(0x0800, TRUE, "C:\\a\\sub"));     // folder entry
  EXPECT_FALSE(rule.Take(0x0210, TRUE, "C:\\a\\odd"));     // a folder whatever its kind
  EXPECT_FALSE(rule.Take(0x210, FALSE, NULL));
}

// Sizes are cut to two decimals, never rounded up: 1024 bytes read 1.00 KB, and a size just
// short of a unit stays in the unit below.
TEST(FileSizeValue, TruncatesToTwoDecimals) {
  struct {
    ULONGLONG bytes;
    VXSIZEUNIT unit;
    double value;
  } cases[] = {
      {0, VXSIZE_BYTES, 0},
      {1023, VXSIZE_BYTES, 1023},
      {1024, VXSIZE_KB, 1.00},
      {1535, VXSIZE_KB, 1.49},
      {1048575, VXSIZE_KB, 1023.99},
      {1048576, VXSIZE_MB, 1.00},
      {1073741824ull, VXSIZE_GB, 1.00},
      {4294967295ull, VXSIZE_GB, 3.99},
      {4294967297ull, VXSIZE_GB_LARGE, 4.00},
      {(5ull << 30) + (1ull << 29), VXSIZE_GB_LARGE, 5.50},
  };
  for (auto& c : cases) {
    VXSIZEVALUE v = FileSizeValue(c.bytes);
    EXPECT_EQ(v.unit, c.unit) << c.bytes;
    EXPECT_NEAR(v.dValue, c.value, 1e-9) << c.bytes;
  }
}

TEST(FileSizeGrouped, GroupsOfThree) {
  EXPECT_STREQ(FileSizeGrouped(0), "0");
  EXPECT_STREQ(FileSizeGrouped(999), "999");
  EXPECT_STREQ(FileSizeGrouped(1024), "1,024");
  EXPECT_STREQ(FileSizeGrouped(1048576), "1,048,576");
  EXPECT_STREQ(FileSizeGrouped(4294967297ull), "4,294,967,297");
}

TEST(QualityStringID, SevenFlagsNamedOthersNone) {
  const UINT ids[] = {IDS_QUALITY_1, IDS_QUALITY_2, IDS_QUALITY_3, IDS_QUALITY_4,
                      IDS_QUALITY_5, IDS_QUALITY_6, IDS_QUALITY_7};
  for (int f = 1; f <= 7; ++f) EXPECT_EQ(QualityStringID(f), ids[f - 1]) << f;
  EXPECT_EQ(QualityStringID(0), 0u);
  EXPECT_EQ(QualityStringID(8), 0u);
  EXPECT_EQ(QualityStringID(-1), 0u);
}

}  // namespace

#include "PropertyPluginRules.h"

namespace {

TEST(PluginOrder, AscendingPriorityWithTheSetsExchangeSort) {
  struct {
    std::vector<int> priorities;
    std::vector<size_t> order;
  } cases[] = {
      {{5, 1, 3}, {1, 2, 0}},  // found 5, 1, 3: used 1, 3, 5
      {{0, 2, 1}, {0, 2, 1}},  // no priority export counts 0: first
      {{2, 2, 1}, {2, 1, 0}},  // a smaller one passing equal ones swaps them
      {{1, 1, 1}, {0, 1, 2}}, {{}, {}},
  };
  for (auto& c : cases) EXPECT_EQ(PluginOrder(c.priorities), c.order);
}

}  // namespace

// A property set open for a file serves the same path in another letter case, and no other.
TEST(PropertySamePath, SameFileInAnyLetterCase) {
  struct {
    const char* open;
    const char* asked;
    BOOL same;
  } cases[] = {
      {"C:\\Photos\\Photo.jpg", "c:\\PHOTOS\\photo.JPG", TRUE},
      {"C:\\Photos\\Photo.jpg", "C:\\Photos\\Photo.jpg", TRUE},
      {"C:\\Photos\\Photo.jpg", "C:\\Photos\\Photo2.jpg", FALSE},
      {"C:\\Photos\\\x95\x5C.jpg", "c:\\photos\\\x95\x5C.JPG", TRUE},
      {"", "", FALSE},
      {"C:\\a.jpg", nullptr, FALSE},
  };
  for (auto& c : cases)
    EXPECT_EQ(PropertySamePath(c.open, c.asked), c.same) << c.open << " | " << (c.asked ? c.asked : "(null)");
}
