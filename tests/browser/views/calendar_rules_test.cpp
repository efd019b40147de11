// The calendars' recording-date finder: recording times against day, month and year
// searches with the midnight boundary, the undated pseudo-dates, and the neighbouring
// recording days.
#include <gtest/gtest.h>

#include <CalendarMonthRules.h>
#include <RecDateFinderRules.h>

#include <map>

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

TEST(CalendarMonth, DaysWeekdaysAndCells) {
  EXPECT_EQ(calmonth::MaxDay(2, 2000), 29);
  EXPECT_EQ(calmonth::MaxDay(2, 1900), 28);
  EXPECT_EQ(calmonth::MaxDay(2, 2100), 28);
  EXPECT_EQ(calmonth::MaxDay(2, 2008), 29);
  EXPECT_EQ(calmonth::MaxDay(12, 2009), 31);
  EXPECT_EQ(calmonth::WeekdayOf(2009, 8, 1), 6);  // a Saturday
  EXPECT_EQ(calmonth::WeekdayOf(2000, 1, 1), 6);
  EXPECT_EQ(calmonth::WeekdayOf(2009, 2, 30), -1);
  // August 2009 starts on a Saturday: 31 days fill cells 6 to 36.
  int first = -1;
  calmonth::Cells cells = calmonth::FillCells(2009, 8, {1, 9, 31}, &first);
  EXPECT_EQ(first, 6);
  EXPECT_EQ(cells[5].day, 0);
  EXPECT_EQ(cells[6].day, 1);
  EXPECT_EQ(cells[36].day, 31);
  EXPECT_TRUE(cells[6].hasData);
  EXPECT_TRUE(cells[14].hasData);
  EXPECT_EQ(cells[36].item, 2);
  EXPECT_FALSE(cells[7].hasData);
  // The undated pseudo-month: only cell 17, no day numbers.
  cells = calmonth::FillCells(2038, 1, {1}, &first);
  EXPECT_TRUE(cells[17].hasData);
  EXPECT_EQ(std::count_if(cells.begin(), cells.end(), [](const calmonth::Cell& c) { return c.day || c.hasData; }), 1);
  EXPECT_FALSE(calmonth::FillCells(2009, 8, {}, &first)[6].hasData);
}

TEST(CalendarMonth, GeometryAndHits) {
  calmonth::Geometry g = calmonth::LayOut(1024, 700);
  EXPECT_EQ(g.cx * 3, g.cy * 4);  // 4 : 3
  EXPECT_EQ(g.cx, 116);           // (1024 - 188) / 7 = 119, less its remainder mod 4
  RECT c0 = calmonth::CellRect(g, 0), c8 = calmonth::CellRect(g, 8);
  EXPECT_EQ(c0.left, g.grid.left);
  EXPECT_EQ(c8.left, g.grid.left + g.cx + 13);
  EXPECT_EQ(c8.top, g.grid.top + g.cy + 7);
  EXPECT_EQ(calmonth::HitIndex(g, {c8.left + 3, c8.top + 3}), 8);
  EXPECT_EQ(calmonth::HitIndex(g, {c0.right + 2, c0.top + 3}), -1);    // the gap right of a column
  EXPECT_EQ(calmonth::HitIndex(g, {c0.left + 2, c0.bottom + 2}), -1);  // below a row
  RECT c36 = calmonth::CellRect(g, 36);
  EXPECT_EQ(calmonth::HitIndex(g, {c36.right + 20, c36.top + 2}), -1);  // cell 37 does not exist
  EXPECT_EQ(calmonth::HitIndex(g, {g.grid.left - 1, g.grid.top}), -1);
}

TEST(CalendarMonth, SelectionStepsAndButtons) {
  int first;
  calmonth::Cells cells = calmonth::FillCells(2009, 8, {3, 9}, &first);  // cells 8 and 14
  EXPECT_EQ(calmonth::CorrectSelect(14, 2009, cells), 14);
  EXPECT_EQ(calmonth::CorrectSelect(20, 2009, cells), 14);  // the last with data
  EXPECT_EQ(calmonth::CorrectSelect(99, 2009, cells), 14);
  EXPECT_EQ(calmonth::CorrectSelect(5, 0, cells), -1);
  EXPECT_EQ(calmonth::CorrectSelect(5, 2038, calmonth::FillCells(2038, 1, {1}, &first)), 17);
  EXPECT_EQ(calmonth::CorrectSelect(5, 2009, calmonth::FillCells(2009, 8, {}, &first)), 0);
  EXPECT_EQ(calmonth::StepSelect(8, 1, cells), 14);
  EXPECT_EQ(calmonth::StepSelect(14, -7, cells), -1);  // cell 7 has nothing, cell 0 neither
  EXPECT_EQ(calmonth::StepSelect(14, -1, cells), 8);
  EXPECT_EQ(calmonth::StepSelect(14, 7, cells), -1);

  using calmonth::Month;
  calmonth::Buttons b = calmonth::ButtonStates({2005, 3}, {2005, 3}, {2007, 11}, cells);
  EXPECT_FALSE(b.previous);  // at the earliest month
  EXPECT_TRUE(b.next);
  EXPECT_TRUE(b.day);
  b = calmonth::ButtonStates({2007, 11}, {2005, 3}, {2007, 11}, calmonth::Cells{});
  EXPECT_TRUE(b.previous);
  EXPECT_FALSE(b.next);
  EXPECT_FALSE(b.day);
  b = calmonth::ButtonStates({0, 0}, {-1, -1}, {2038, 1}, cells);
  EXPECT_FALSE(b.previous);
  EXPECT_FALSE(b.next);
}

TEST(CalendarMonth, StepsSkipEmptyMonthsAndHintsShowOnce) {
  // Recordings only in 2005/03 (2 files) and 2007/11 (1 file).
  std::map<std::pair<int, int>, int> months = {{{2005, 3}, 2}, {{2007, 11}, 1}};
  int asked = 0;
  auto count = [&](int y, int m) {
    asked++;
    int n = 0;
    for (auto& e : months)
      if (e.first.first == y && (m < 0 || e.first.second == m)) n += e.second;
    return n;
  };
  int last = -1;
  using calmonth::Month;
  EXPECT_EQ(calmonth::StepMonth({2005, 3}, true, count, &last), (Month{2007, 11}));
  EXPECT_EQ(last, 1);
  EXPECT_LT(asked, 9 + 2 + 11 + 2);  // 2006 is asked for as a whole year only
  EXPECT_EQ(calmonth::StepMonth({2007, 11}, false, count, &last), (Month{2005, 3}));
  EXPECT_EQ(last, 2);
  EXPECT_EQ(calmonth::StepMonth({2007, 11}, true, count, &last), (Month{2038, 1}));
  EXPECT_EQ(calmonth::StepMonth({2005, 3}, false, count, &last), (Month{1970, 12}));
  EXPECT_EQ(last, 0);

  int seen = -1;
  EXPECT_TRUE(calmonth::ModeHintShows(10, &seen));
  EXPECT_FALSE(calmonth::ModeHintShows(10, &seen));  // the same value twice: no reload
  EXPECT_FALSE(calmonth::ModeHintShows(5, &seen));
  EXPECT_TRUE(calmonth::ModeHintShows(10, &seen));
}

}  // namespace
