// The calendars' recording-date finder: recording times against day, month and year
// searches with the midnight boundary, the undated pseudo-dates, and the neighbouring
// recording days.
#include <gtest/gtest.h>

#include <RecDateFinderRules.h>

#include <vector>

namespace {

using recdate::Date;

ULONGLONG T(int y, int mo, int d, int h = 0, int mi = 0) {
  return recdate::MakeFileTime(y, mo, d) + ((ULONGLONG)h * 60 + mi) * 60 * 10000000ULL;
}

struct Search {
  int year, month, day;
  int count;
  std::vector<size_t> out;
};

TEST(RecDateFinder, SearchesAreHalfOpenAtMidnight) {
  // Sorted: undated 1969, a month of May 2009, the next midnight, 2010, undated 2040.
  std::vector<ULONGLONG> times = {
      T(1969, 7, 20, 20, 17),  // 0 undated (before 1971)
      T(2009, 5, 3, 9, 0),     // 1
      T(2009, 5, 3, 18, 30),   // 2
      T(2009, 5, 10, 8, 0),    // 3
      T(2009, 5, 10, 23, 59),  // 4
      T(2009, 5, 11, 0, 0),    // 5 exactly midnight: the 11th's, not the 10th's
      T(2009, 5, 20, 12, 0),   // 6
      T(2009, 6, 1, 0, 0),     // 7 the 1st's midnight: June's, not May's
      T(2010, 1, 1, 0, 0),     // 8
      T(2040, 2, 2, 2, 2),     // 9 undated (from 2038 on)
  };
  Search cases[] = {
      {2009, 5, 10, 2, {3, 4}},      {2009, 5, 11, 1, {5}},
      {2009, 5, 12, 0, {}},          {2009, 6, 1, 1, {7}},
      {2009, 5, 0, 6, {6, 5, 4, 2}},  // one per day, the last of each, latest day first
      {2009, 6, 0, 1, {7}},          {2009, 0, 0, 7, {1, 2, 3, 4, 5, 6, 7}},
      {2010, 0, 0, 1, {8}},     // the year's first midnight belongs to it alone
      {2038, 1, 1, 2, {0, 9}},  // the pseudo-day: every undated recording
      {2038, 1, 0, 2, {0, 9}},       {1970, 12, 0, 2, {0, 9}},
      {1970, 12, 31, 2, {0, 9}},     {0, 0, 0, 2, {0, 9}},  // garbage dates land there too
  };
  for (auto& c : cases) {
    int count = -1;
    std::vector<size_t> out = recdate::Find(times, 0, times.size(), c.year, c.month, c.day, &count);
    EXPECT_EQ(count, c.count) << c.year << "/" << c.month << "/" << c.day;
    EXPECT_EQ(out, c.out) << c.year << "/" << c.month << "/" << c.day;
  }
  // Within a sub-range only.
  int count = -1;
  EXPECT_EQ(recdate::Find(times, 4, 6, 2009, 5, 10, &count), (std::vector<size_t>{4}));
  EXPECT_EQ(count, 1);
  EXPECT_TRUE(recdate::Find(times, 6, 3, 2009, 5, 10, &count).empty());
  EXPECT_EQ(count, 0);
}

TEST(RecDateFinder, MonthsAndLeapYears) {
  EXPECT_EQ(recdate::NextMonth(T(2009, 12, 1)), T(2010, 1, 1));
  EXPECT_EQ(recdate::NextDay(T(2000, 2, 28)), T(2000, 2, 29));
  EXPECT_EQ(recdate::NextDay(T(2100, 2, 28)), T(2100, 3, 1));
  EXPECT_EQ(recdate::NextYear(T(2009, 5, 10)), T(2010, 5, 10));
  EXPECT_EQ(recdate::MakeFileTime(2009, 0, 0), T(2009, 1, 1));
  EXPECT_EQ(recdate::DateOf(T(2037, 12, 31, 23, 59)), (Date{2037, 12, 31}));
  EXPECT_EQ(recdate::DateOf(T(2038, 1, 1)), recdate::kUndated);
  EXPECT_EQ(recdate::DateOf(T(1970, 12, 31)), recdate::kUndated);
  std::vector<ULONGLONG> leap = {T(2000, 2, 29, 10), T(2000, 3, 1)};
  int count = -1;
  EXPECT_EQ(recdate::Find(leap, 0, 2, 2000, 2, 0, &count), (std::vector<size_t>{0}));
  EXPECT_EQ(count, 1);
}

TEST(RecDateFinder, NeighbouringRecordingDays) {
  std::vector<ULONGLONG> dated = {T(2009, 5, 3, 9), T(2009, 5, 3, 18), T(2009, 5, 10, 8), T(2009, 5, 11)};
  std::vector<ULONGLONG> withEarly = dated, withLate = dated;
  withEarly.insert(withEarly.begin(), T(1969, 7, 20));
  withLate.push_back(T(2040, 1, 1));
  struct {
    const std::vector<ULONGLONG>* times;
    bool next;
    Date from;
    bool found;
    Date to;
  } cases[] = {
      {&dated, true, {2009, 5, 3}, true, {2009, 5, 10}},
      {&dated, true, {2009, 5, 10}, true, {2009, 5, 11}},
      {&dated, true, {2009, 5, 11}, false, {}},  // the latest day, nothing undated
      {&withEarly, true, {2009, 5, 11}, true, recdate::kUndated},
      {&withLate, true, {2009, 5, 11}, true, recdate::kUndated},
      {&dated, true, {2009, 5, 5}, true, {2009, 5, 10}},  // from a day without recordings
      {&dated, false, {2009, 5, 10}, true, {2009, 5, 3}},
      {&dated, false, {2009, 5, 3}, false, {}},  // the earliest day
      {&withEarly, false, {2009, 5, 3}, true, recdate::kUndated},
      {&withLate, false, {2009, 5, 3}, false, {}},  // only late undated ones: none before
      {&withLate, false, recdate::kUndated, true, {2009, 5, 11}},
      {&withEarly, false, recdate::kUndated, true, {2009, 5, 11}},
  };
  for (auto& c : cases) {
    Date d = c.from;
    bool found = c.next ? recdate::FindNextDay(*c.times, &d) : recdate::FindPrevDay(*c.times, &d);
    EXPECT_EQ(found, c.found) << (c.next ? "next " : "prev ") << c.from.year << "/" << c.from.month << "/" << c.from.day
                              << " of " << c.times->size();
    if (found) EXPECT_EQ(d, c.to) << c.from.day;
  }
  Date d = {2009, 5, 3};
  std::vector<ULONGLONG> none;
  EXPECT_FALSE(recdate::FindNextDay(none, &d));
  EXPECT_FALSE(recdate::FindPrevDay(none, &d));
}

}  // namespace
