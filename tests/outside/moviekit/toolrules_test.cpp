// The rules the movie tools share: their command lines as the toolbar writes them, the
// names of the parts, the listed times, where a movie can be split.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "toolrules.h"

using movietools::ToolArgs;

TEST(MovieToolRules, CommandLines) {
  struct Case {
    std::vector<std::string> args;
    std::string clip, folder;
    unsigned long long window;
    bool hasNumber;
    unsigned long number;
  } cases[] = {
      // The scene cut, the scene edit and the content player as the toolbar starts them.
      {{"-i", "-p", "-t", "-c", "C:\\My Movies\\a.mts", "-d", "-w", "1234", "-m", "1147", "-f", "C:\\My Movies"},
       "C:\\My Movies\\a.mts",
       "C:\\My Movies",
       1234,
       true,
       1147},
      {{"-i", "-p", "-t", "-c", "D:\\a.mts", "-d", "-w", "1234", "-m", "1147", "-f", "D:\\\\"},
       "D:\\a.mts",
       "D:\\",
       1234,
       true,
       1147},
      {{"-c", "C:\\b.mts", "-r", "-w", "0x4D2"}, "C:\\b.mts", "", 0x4D2, false, 0},
      {{"-c", "C:\\b c\\d.mts", "-m", "0x40000300"}, "C:\\b c\\d.mts", "", 0, true, 0x40000300},
      // Junk numbers are none; a switch at the end without its value is left.
      {{"-w", "12ab", "-m", "-5", "-c"}, "", "", 0, true, 0},
      {{"-w", "0x", "-m", " 7"}, "", "", 0, true, 0},
      {{}, "", "", 0, false, 0},
  };
  for (const Case& c : cases) {
    ToolArgs a = movietools::ParseToolArgs(c.args);
    SCOPED_TRACE(c.clip + "|" + c.folder);
    EXPECT_EQ(a.clip, c.clip);
    EXPECT_EQ(a.folder, c.folder);
    EXPECT_EQ(a.window, c.window);
    EXPECT_EQ(a.hasNumber, c.hasNumber);
    EXPECT_EQ(a.number, c.number);
  }
  EXPECT_EQ(movietools::ParseNumber("18446744073709551615"), ~0ULL);
  EXPECT_EQ(movietools::ParseNumber("18446744073709551616"), 0u);
  EXPECT_EQ(movietools::ParseNumber("0XfF"), 255u);
}

TEST(MovieToolRules, TimeLabels) {
  struct Case {
    double seconds;
    const char* label;
  } cases[] = {{0, "0:00.00"},       {1, "0:01.00"},          {65.5, "1:05.50"}, {59.999, "1:00.00"},
               {3600, "1:00:00.00"}, {3725.25, "1:02:05.25"}, {-3, "0:00.00"},   {NAN, "0:00.00"}};
  for (const Case& c : cases) EXPECT_EQ(movietools::TimeLabel(c.seconds), c.label) << c.seconds;
}

TEST(MovieToolRules, PartNamesAreTheFirstFree) {
  std::set<std::string> taken;
  auto isTaken = [&](const std::string& p) { return taken.count(p) != 0; };
  EXPECT_EQ(movietools::PartName("C:\\m\\動画.mp4", "", 3), "C:\\m\\動画_3.mp4");
  EXPECT_EQ(movietools::PartName("C:\\m\\clip.MTS", "D:\\", 1), "D:\\clip_1.MTS");
  EXPECT_EQ(movietools::PartName("C:\\clip", "", 1), "C:\\clip_1");
  EXPECT_EQ(movietools::FreePartName("C:\\m\\a.mp4", "", isTaken), "C:\\m\\a_1.mp4");
  taken = {"C:\\m\\a_1.mp4", "C:\\m\\a_2.mp4", "C:\\out\\a_1.mp4"};
  EXPECT_EQ(movietools::FreePartName("C:\\m\\a.mp4", "", isTaken), "C:\\m\\a_3.mp4");
  EXPECT_EQ(movietools::FreePartName("C:\\m\\a.mp4", "C:\\out", isTaken), "C:\\out\\a_2.mp4");
  // A split wants two neighbours free.
  taken = {"C:\\m\\a_2.mp4"};
  auto names = movietools::SplitNames("C:\\m\\a.mp4", isTaken);
  EXPECT_EQ(names.first, "C:\\m\\a_3.mp4");
  EXPECT_EQ(names.second, "C:\\m\\a_4.mp4");
  EXPECT_EQ(movietools::FreePartName("C:\\m\\a.mp4", "", [](const std::string&) { return true; }), "");
}

TEST(MovieToolRules, SplitPointsLeaveAPictureOnEachSide) {
  struct Case {
    std::vector<double> keys;
    double duration;
    std::vector<double> points;
    int middle;
  } cases[] = {
      {{0, 1, 2}, 3, {1, 2}, 0},
      {{0, 1, 2, 3}, 3.0004, {1, 2}, 1},
      {{0.5, 1, 2, 2.5}, 3, {1, 2, 2.5}, 0},
      {{0, 0.5, 1, 1.6, 2}, 3, {0.5, 1, 1.6, 2}, 2},
      {{0}, 3, {}, -1},
      {{0, 1}, 0, {1}, 0},
      {{}, 3, {}, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(movietools::SplitPoints(c.keys, c.duration), c.points) << c.keys.size();
    EXPECT_EQ(movietools::MiddlePoint(c.points, c.duration), c.middle) << c.keys.size();
  }
}
