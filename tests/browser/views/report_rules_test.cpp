// The details list's decisions: columns by mode, where texts are cached, the row lookup,
// the worker's order, the check toggle, the faded picture of cut entries and the tip text.
#include <gtest/gtest.h>

#include <ReportRules.h>

#include <vector>

namespace {

TEST(ReportColumns, EachModeItsKindsAndWidths) {
  struct {
    int mode;
    std::vector<int> kinds;
    int firstWidth;
  } cases[] = {
      {3, {0, 1, 2, 3, 4, 5, 6, 7}, 170},
      {4, {0, 3, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}, 170},
      {7, {27, 36, 28, 29, 30, 31, 32, 33, 34, 35}, 170},
      {8, {}, 0},
      {1, {}, 0},
  };
  for (auto& c : cases) {
    const VXREPORTCOLUMN* p = nullptr;
    int n = ReportColumns(c.mode, &p);
    ASSERT_EQ(n, (int)c.kinds.size()) << c.mode;
    for (int i = 0; i < n; ++i) EXPECT_EQ(p[i].nKind, c.kinds[(size_t)i]) << c.mode << " column " << i;
    if (n) { EXPECT_EQ(p[0].nWidth, c.firstWidth); }
  }
  const VXREPORTCOLUMN* p = nullptr;
  ReportColumns(4, &p);
  EXPECT_EQ(p[10].nWidth, 50);  // kind 19 is the narrow one
}

TEST(ReportStringID, OnlyTheTwoInformationModesCacheTexts) {
  EXPECT_EQ(ReportStringID(3, 1), 0x10000001u);
  EXPECT_EQ(ReportStringID(3, 7), 0x10000007u);
  EXPECT_EQ(ReportStringID(4, 12), 0x2000000Cu);
  EXPECT_EQ(ReportStringID(3, 0), 0u);  // column 0 is the display name
  EXPECT_EQ(ReportStringID(7, 1), 0u);  // audio information shows no texts
  EXPECT_TRUE(ReportShowsTexts(3));
  EXPECT_TRUE(ReportShowsTexts(4));
  EXPECT_FALSE(ReportShowsTexts(7));
  EXPECT_FALSE(ReportShowsTexts(8));
}

TEST(ReportRowID, RowsOutsideTheArrayHaveNoID) {
  std::vector<DWORD> ids = {40, 41, 42};
  EXPECT_EQ(ReportRowID(ids, -1), 0xFFFFFFFFu);
  EXPECT_EQ(ReportRowID(ids, 3), 0xFFFFFFFFu);
  EXPECT_EQ(ReportRowID(ids, 0), 40u);
  EXPECT_EQ(ReportRowID(ids, 2), 42u);
  EXPECT_EQ(ReportRowID({}, 0), 0xFFFFFFFFu);
}

TEST(ReportWorkOrder, FromTheStartThenAfterThenBefore) {
  std::vector<DWORD> ids = {10, 11, 12, 13, 14};
  EXPECT_EQ(ReportWorkOrder(ids, 12), (std::vector<size_t>{2, 3, 4, 0, 1}));
  EXPECT_EQ(ReportWorkOrder(ids, 10), (std::vector<size_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(ReportWorkOrder(ids, 14), (std::vector<size_t>{4, 0, 1, 2, 3}));
  EXPECT_EQ(ReportWorkOrder(ids, 0xFFFFFFFFu), (std::vector<size_t>{0, 1, 2, 3, 4}));  // no start yet
  EXPECT_EQ(ReportWorkOrder(ids, 99), (std::vector<size_t>{0, 1, 2, 3, 4}));           // start not needing work
  EXPECT_TRUE(ReportWorkOrder({}, 3).empty());
}

TEST(ReportRules, CheckToggleAndFade) {
  EXPECT_EQ(ReportToggledCheck(2), 1);
  EXPECT_EQ(ReportToggledCheck(1), 2);
  EXPECT_EQ(ReportToggledCheck(0), 2);
  // Halfway to the background, rounded down (also below it).
  EXPECT_EQ(ReportFadeByte(255, 122), 188);
  EXPECT_EQ(ReportFadeByte(0, 122), 61);
  EXPECT_EQ(ReportFadeByte(121, 122), 121);
  EXPECT_EQ(ReportFadeByte(122, 122), 122);
  BYTE px[6] = {0, 0, 0, 255, 255, 255};  // two pixels, blue green red
  ReportFadeBits(px, sizeof(px), RGB(122, 142, 156));
  const BYTE want[6] = {61, 71, 78, 188, 198, 205};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(px[i], want[i]) << i;
}

TEST(ReportTipText, LinesOfNameAndValue) {
  CString names[] = {"Name", "Type"}, values[] = {"a.jpg", "JPEG"};
  EXPECT_STREQ(ReportTipText(names, values, 2), "Name: a.jpg\nType: JPEG");
  EXPECT_STREQ(ReportTipText(names, values, 0), "");
  EXPECT_EQ(kReportTipKinds[0], 0);
  EXPECT_EQ(kReportTipKinds[4], 4);
}

}  // namespace

namespace {

TEST(ReportTipValue, ContNamesLoseTheirExtensionAndMoviesTheirTime) {
  EXPECT_STREQ(ReportTipValue(0, "MOV001.cont", FALSE, FALSE), "MOV001");
  EXPECT_STREQ(ReportTipValue(0, "MOV001.CONT", FALSE, FALSE), "MOV001");
  EXPECT_STREQ(ReportTipValue(0, "MOV001.cont", TRUE, FALSE), "MOV001.cont");  // a scene keeps it
  EXPECT_STREQ(ReportTipValue(0, ".cont", FALSE, FALSE), "");
  EXPECT_STREQ(ReportTipValue(0, "a.jpg", FALSE, FALSE), "a.jpg");
  EXPECT_STREQ(ReportTipValue(6, "2026/08/08 10:00", FALSE, TRUE), "-");
  EXPECT_STREQ(ReportTipValue(6, "2026/08/08 10:00", TRUE, FALSE), "-");
  EXPECT_STREQ(ReportTipValue(6, "2026/08/08 10:00", FALSE, FALSE), "2026/08/08 10:00");
  EXPECT_STREQ(ReportTipValue(4, "1.00 KB", TRUE, TRUE), "1.00 KB");
}

}  // namespace
