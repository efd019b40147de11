// The export pane's decisions: tile plan, finished exports, the checks of a file list,
// the movie limit and the saved printer set-up.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "ExportRules.h"
#include "ICGBrowser.h"

namespace {
using namespace exportpane;

TEST(ExportRules, TilePlan) {
  struct {
    std::vector<int> orders;
    std::vector<bool> have;
    std::vector<int> tiles;
  } cases[] = {
      {{30, 10}, {true, true}, {1, 0}},
      {{5, 5, 1}, {true, true, true}, {2, 0, 1}},          // ties keep entry order
      {{10000, 20000, 3}, {true, true, true}, {2, 0, 1}},  // large orders are placed too
      {{INT_MAX, INT_MIN, 0}, {true, true, true}, {1, 2, 0}},
      {{1, 2, 3}, {true, false, true}, {0, 2}},  // no information, no tile
  };
  for (auto& c : cases) EXPECT_EQ(c.tiles, PlanTiles(c.orders, c.have));
  // 31 entries: only the 30 whose commands the pane handles.
  std::vector<int> orders(31);
  for (int i = 0; i < 31; ++i) orders[i] = 100 - i;
  std::vector<int> tiles = PlanTiles(orders, std::vector<bool>(31, true));
  ASSERT_EQ(30u, tiles.size());
  EXPECT_EQ(29, tiles.front());
  for (int t : tiles) EXPECT_LT(kFirstTileCommand + t, kFirstTileCommand + kMaxTiles);
  EXPECT_EQ(36 + 71 * 2, TileOrigin(2).y);
}

TEST(ExportRules, FinishedExport) {
  EXPECT_TRUE(DecodeExportFinished(EncodeExportFinished(3, true)).succeeded);
  EXPECT_EQ(3, DecodeExportFinished(EncodeExportFinished(3, true)).entry);
  EXPECT_EQ(3, DecodeExportFinished(EncodeExportFinished(3, false)).entry);
  // The entry index is read without bit 31 whatever the width of lParam.
  EXPECT_EQ(7, DecodeExportFinished((LPARAM)(DWORD)0x80000007u).entry);
  EXPECT_FALSE(ShouldEnableOnFinished(EncodeExportFinished(0, true)));
  EXPECT_TRUE(ShouldEnableOnFinished(EncodeExportFinished(0, false)));
}

TEST(ExportRules, CopyDataSizeHoldsTextAndTerminator) {
  for (size_t n = 0; n <= 8; ++n) {
    size_t cb = CopyDataSize(n);
    EXPECT_EQ(0u, cb % 4) << n;
    EXPECT_GE(cb, n + 1) << n;
  }
}

// The scope dialog's answers and what each asks of the browser.
TEST(ExportRules, ScopeFlags) {
  struct Case {
    int choice;
    bool asks;
    long flags;
  } cases[] = {
      {0, true, 0},  // the files of the view
      {1, true, (long)CGFILE_SELECTED},
      {3, true, (long)CGFILE_SELECTED},
      {6, true, (long)CGFILE_SELECTED},  // the files of the view, the selected ones only
      {2, true, (long)CGFILE_ALL_SHOWN},
      {5, true, (long)(CGFILE_MARKED | CGFILE_ALL)},
      {-1, false, 0},
      {4, false, 0},
  };
  for (const Case& c : cases) {
    long flags = 12345;
    EXPECT_EQ(exportpane::ScopeFlags(c.choice, &flags), c.asks) << c.choice;
    if (c.asks) { EXPECT_EQ(flags, c.flags) << c.choice; }
  }
}

TEST(ExportRules, CheckCodes) {
  struct {
    size_t remaining, removed;
    int filter;
    bool tooLong;
    CheckCode code;
  } cases[] = {
      {0, 0, 10, false, CHECK_EMPTY},
      {0, 3, 14, true, CHECK_EMPTY},
      {4, 1, 10, false, CHECK_SOME_REMOVED},
      {4, 0, 10, false, CHECK_GO},
      {4, 1, 14, false, CHECK_UPLOAD_REFUSED},
      {4, 0, 14, true, CHECK_UPLOAD_REFUSED},
      {10, 0, 14, false, CHECK_GO},
      {11, 0, 14, false, CHECK_UPLOAD_TOO_MANY},
      {11, 0, 10, false, CHECK_GO},
  };
  for (auto& c : cases) EXPECT_EQ(c.code, ChooseCheckCode(c.remaining, c.removed, c.filter, c.tooLong));
  EXPECT_TRUE(IsIgnoredDropFile("C:\\a\\b.TMB"));
  EXPECT_TRUE(IsIgnoredDropFile("C:\\a\\b.m2ts"));
  EXPECT_FALSE(IsIgnoredDropFile("C:\\a.tmb\\b"));
  EXPECT_FALSE(IsIgnoredDropFile("C:\\a\\b.jpg"));
}

TEST(ExportRules, MovieLimit) {
  struct {
    uint32_t numerator, denominator, flag;
    uint64_t size;
    bool tooLong;
  } cases[] = {
      {900, 30, 300, 1000, false},  // 10 s
      {30, 30, 600, 1000, false},   // exactly 600 s
      {30, 30, 601, 1000, true},
      {30u * 90000u, 90000, 108000, 1000, true},  // one hour at 90,000: no overflow
      {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0, true},
      {0, 30, 600000, 1000, false},  // no rate: judged by size only
      {30, 30, 1, 2097152001ull, true},
      {30, 30, 1, 2097152000ull, false},
  };
  for (auto& c : cases) EXPECT_EQ(c.tooLong, MovieTooLong(c.numerator, c.denominator, c.flag, c.size)) << c.flag;
}

std::vector<char> DevModeBytes(WORD dmSize, WORD extra, size_t fileSize, bool terminated = true) {
  std::vector<char> b(fileSize, 0);
  DEVMODEA dm;
  memset(&dm, 0, sizeof(dm));
  strcpy((char*)dm.dmDeviceName, "PDF");
  if (!terminated) memset(dm.dmDeviceName, 'P', sizeof(dm.dmDeviceName));
  dm.dmSize = dmSize;
  dm.dmDriverExtra = extra;
  memcpy(b.data(), &dm, fileSize < sizeof(dm) ? fileSize : sizeof(dm));
  return b;
}

TEST(ExportRules, SavedDevMode) {
  const WORD full = sizeof(DEVMODEA);
  struct {
    std::vector<char> bytes;
    bool usable;
  } cases[] = {
      {DevModeBytes(full, 0, full), true},
      {DevModeBytes(full, 16, full + 16), true},
      {DevModeBytes(full, 16, full), false},         // short of its extra
      {DevModeBytes(full, 0, 0), false},             // empty
      {DevModeBytes(full, 0, 10), false},            // short
      {DevModeBytes(full + 8, 0, full + 8), false},  // unknown size
      {DevModeBytes(full, 60000, full), false},      // huge extra
      {DevModeBytes(full, 0, 10 * 1024 * 1024), false},
      {DevModeBytes(full, 0, full, false), false},  // device name not terminated
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
    EXPECT_EQ(cases[i].usable, IsUsableDevModeFile(cases[i].bytes.data(), cases[i].bytes.size())) << i;
  EXPECT_FALSE(IsUsableDevModeFile(NULL, 0));
}

}  // namespace
