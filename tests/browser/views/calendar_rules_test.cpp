// The calendars' recording-date finder: recording times against day, month and year
// searches with the midnight boundary, the undated pseudo-dates, and the neighbouring
// recording days.
#include <gtest/gtest.h>

#include <CalendarDayRules.h>
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
    if (found) { EXPECT_EQ(d, c.to) << c.from.day; }
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

TEST(CalendarMonth, MonthsThePageSpans) {
  using calmonth::DatedItem;
  using calmonth::Month;
  const UINT still = 0x200, movie = 0x1000, companion = 0x100 | 0x200, sound = 0x4;
  struct Case {
    const char* what;
    std::vector<DatedItem> items;
    Month shown, earliest, latest;
  } cases[] = {
      {"nothing", {}, {0, 0}, {-1, -1}, {2038, 1}},
      {"only music", {{sound, 2005, 3}}, {0, 0}, {-1, -1}, {2038, 1}},
      {"dated pictures and movies",
       {{still, 2005, 3}, {movie, 2006, 7}, {still, 2007, 11}},
       {2007, 11},
       {2005, 3},
       {2007, 11}},
      {"companions do not count", {{companion, 2001, 1}, {still, 2005, 3}, {companion, 2009, 9}}, {2005, 3}, {2005, 3}, {2005, 3}},
      {"undated before the first dated", {{still, 0, 0}, {still, 2005, 3}}, {2038, 1}, {2005, 3}, {2038, 1}},
      {"undated last", {{still, 2005, 3}, {movie, 2040, 1}}, {2038, 1}, {2005, 3}, {2038, 1}},
      {"only undated", {{still, 1601, 1}, {movie, 0, 0}}, {2038, 1}, {-1, -1}, {2038, 1}},
  };
  for (const Case& c : cases) {
    Month shown = {9, 9}, earliest = {9, 9}, latest = {9, 9};
    calmonth::FindMonths(c.items, &shown, &earliest, &latest);
    EXPECT_EQ(shown, c.shown) << c.what;
    EXPECT_EQ(earliest, c.earliest) << c.what;
    EXPECT_EQ(latest, c.latest) << c.what;
  }
}

TEST(CalendarMonth, DateTextsOfModeHints) {
  struct Case {
    const char* text;
    bool ok;
    int year, month, day;
  } cases[] = {
      {"2005/03/07", true, 2005, 3, 7},     {"2038/01/01", true, 2038, 1, 1}, {"2005/03/00", true, 2005, 3, 1},
      {"2005/02/29", false},                {"2004/02/29", true, 2004, 2, 29},
      {"2005/13/01", false},                {"2005/03", false},               {"garbage", false},
      {"", false},                          {"2005/03/07x", false},           {"0000/01/01", false},
      {"99999/01/01", false},
  };
  for (const Case& c : cases) {
    int y = -1, m = -1, d = -1;
    EXPECT_EQ(calmonth::ParseDateText(c.text, &y, &m, &d), c.ok) << c.text;
    if (c.ok) { EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{c.year, c.month, c.day})) << c.text; }
    else EXPECT_EQ(y, -1) << c.text;
  }
  int y = -1, m = -1, d = -1;
  EXPECT_FALSE(calmonth::ParseDateText(nullptr, &y, &m, &d));
}

TEST(CalendarDay, GridRowsAndScrolling) {
  struct {
    int w, h, rows, columns;
    bool partial;
  } grids[] = {{800, 440, 2, 4, false}, {800, 441, 3, 4, true}, {199, 500, 3, 0, true}, {0, 0, 0, 0, false}};
  for (auto& g : grids) {
    calday::Grid got = calday::GridOf(g.w, g.h);
    EXPECT_EQ((std::vector<int>{got.rows, got.columns, got.partialRow}),
              (std::vector<int>{g.rows, g.columns, g.partial}))
        << g.w << "x" << g.h;
  }
  EXPECT_EQ(calday::VirtualRows(9, 4), 3);
  EXPECT_EQ(calday::VirtualRows(8, 4), 2);
  EXPECT_EQ(calday::VirtualRows(8, 0), 0);

  // 10 rows, 3 full rows shown: the first row runs 0..7.
  struct {
    int code, thumb, first, to;
  } steps[] = {{SB_LINEDOWN, 0, 0, 1},      {SB_LINEUP, 0, 0, 0},       {SB_PAGEDOWN, 0, 6, 7},
               {SB_PAGEUP, 0, 2, 0},        {SB_THUMBPOSITION, 5, 0, 5}, {SB_THUMBPOSITION, 99, 0, 7},
               {SB_THUMBTRACK, 5, 2, -1},   {SB_ENDSCROLL, 0, 2, -1}};
  for (auto& s : steps) EXPECT_EQ(calday::ScrollTo(s.code, s.thumb, s.first, 3, 10), s.to) << s.code;
  EXPECT_EQ(calday::ScrollTo(SB_LINEDOWN, 0, 0, 3, 2), 0);  // everything fits

  // 4 columns, first row 2, 3 full rows (rows 2..4 shown).
  EXPECT_EQ(calday::FirstRowShowing(3, 4, 2, 3), 0);
  EXPECT_EQ(calday::FirstRowShowing(12, 4, 2, 3), 2);
  EXPECT_EQ(calday::FirstRowShowing(20, 4, 2, 3), 3);
}

TEST(CalendarDay, KeyAndBandSelection) {
  int anchor = 0, current = 0;
  // Without Shift: from the last selected item.
  EXPECT_EQ(calday::KeySelect(1, false, 10, 4, &anchor, &current), (std::vector<int>{5}));
  EXPECT_EQ(anchor, 5);
  EXPECT_EQ(calday::KeySelect(-4, false, 10, -1, &anchor, &current), (std::vector<int>{0}));
  EXPECT_EQ(calday::KeySelect(4, false, 10, 8, &anchor, &current), (std::vector<int>{9}));
  // With Shift: the range from the anchor, in the direction of the step.
  anchor = current = 3;
  EXPECT_EQ(calday::KeySelect(2, true, 10, 3, &anchor, &current), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(calday::KeySelect(-4, true, 10, 5, &anchor, &current), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(anchor, 3);
  EXPECT_EQ(current, 1);
  EXPECT_TRUE(calday::KeySelect(1, false, 0, -1, &anchor, &current).empty());
  EXPECT_EQ(calday::RangeSelect(5, 2), (std::vector<int>{5, 4, 3, 2}));

  struct {
    bool snapshot, meets;
    UINT flags;
    bool state;
  } band[] = {{true, false, 0, false},           {false, true, 0, true},           {true, true, MK_CONTROL, false},
              {false, true, MK_CONTROL, true},    {true, false, MK_CONTROL, true},  {true, false, MK_SHIFT, true},
              {false, true, MK_SHIFT, true},      {false, false, MK_SHIFT, false}};
  for (auto& b : band) EXPECT_EQ(calday::BandState(b.snapshot, b.meets, b.flags), b.state);
}

TEST(CalendarDay, DateBarButtonsHintsAndRenameLimit) {
  EXPECT_EQ(calday::DateBitmaps("2005/03/07", true), (std::vector<int>{11, 9, 9, 14, 19, 9, 12, 19, 9, 16}));
  EXPECT_EQ(calday::DateBitmaps("2038-01.01", false), (std::vector<int>{28, 28, 28, 28, 19, 28, 28, 19, 28, 28}));
  EXPECT_EQ(calday::DateBitmaps("7 x", true), (std::vector<int>{16, 28, 28}));

  calday::Day none = {0, 0, 0}, d1 = {2005, 3, 5}, d2 = {2005, 3, 20}, d3 = {2007, 11, 11};
  struct {
    calday::Day current, earliest, latest;
    bool back, forward;
  } buttons[] = {{d2, d1, d3, true, true}, {d1, d1, d3, false, true}, {d3, d1, d3, true, false},
                 {none, d1, d3, false, false}, {d2, none, d3, false, true}};
  for (auto& b : buttons) {
    calday::Buttons got = calday::ButtonStates(b.current, b.earliest, b.latest);
    EXPECT_EQ(got.back, b.back);
    EXPECT_EQ(got.forward, b.forward);
  }

  using calmonth::DatedItem;
  struct {
    const char* what;
    std::vector<DatedItem> items;
    calday::Day earliest, latest;
  } spans[] = {
      {"nothing", {}, none, none},
      {"dated", {{0x200, 2005, 3, 5}, {0x1000, 2007, 11, 11}, {0x4, 2009, 1, 1}}, d1, d3},
      {"undated first", {{0x200, 1965, 6, 1}, {0x200, 2005, 3, 5}}, d1, {2038, 1, 1}},
      {"only music", {{0x4, 2005, 3, 5}}, none, d1},  // the page's first item stands in
      {"companion counts for the earliest only", {{0x300, 2005, 3, 5}, {0x300, 2007, 11, 11}}, d1, d1},
  };
  for (auto& s : spans) {
    calday::Day earliest, latest;
    calday::FindDays(s.items, &earliest, &latest);
    EXPECT_EQ(earliest, s.earliest) << s.what;
    EXPECT_EQ(latest, s.latest) << s.what;
  }

  EXPECT_EQ(calday::ParseDayText("2005/03/00"), (calday::Day{2005, 3, 1}));
  EXPECT_EQ(calday::ParseDayText("2005/03/20"), (calday::Day{2005, 3, 20}));
  EXPECT_FALSE(calday::ParseDayText("2005/04/31").Valid());
  EXPECT_FALSE(calday::ParseDayText(nullptr).Valid());

  // The box would get no limit at all: renaming is refused instead.
  EXPECT_EQ(calday::RenameTextLimit(30, 8), 234);
  EXPECT_EQ(calday::RenameTextLimit(264, 8), 0);
  EXPECT_EQ(calday::RenameTextLimit(300, 8), 0);
  EXPECT_EQ(calday::RenameTextLimit(263, 8), 1);
  // The box holds the name without its extension: the file keeps its extension.
  EXPECT_EQ(calday::RenamedName("b", "a.jpg"), "b.jpg");
  EXPECT_EQ(calday::RenamedName("b", "a.b.MTS"), "b.MTS");
  EXPECT_EQ(calday::RenamedName("b", "noext"), "b");
  EXPECT_EQ(calday::RenamedName("b", ".hidden"), "b");
  EXPECT_EQ(calday::RenamedName("\x95\x5C", "a.jpg"), "\x95\x5C.jpg");
}

// The date bar sits between the day buttons, clear of both, on their middle line.
TEST(CalendarDay, DateBetweenTheButtons) {
  const SIZE ch = {24, 32};
  struct {
    RECT back, forward;
    int count;
    POINT want;
  } cases[] = {
      // The view's buttons at 1000 x 720: 44 x 36 at x 500 and 870, y 660.
      {{500, 660, 544, 696}, {870, 660, 914, 696}, 10, {573, 662}},
      {{500, 660, 544, 696}, {870, 660, 914, 696}, 8, {600, 662}},
      // Too narrow a gap: from the back button on.
      {{0, 0, 44, 36}, {200, 0, 244, 36}, 10, {44, 2}},
  };
  for (auto& c : cases) {
    POINT at = calday::DateOrigin(c.back, c.forward, c.count, ch, 27);
    EXPECT_EQ(at.x, c.want.x) << c.count;
    EXPECT_EQ(at.y, c.want.y) << c.count;
    int right = at.x + (c.count - 1) * 27 + ch.cx;
    if (c.forward.left - c.back.right > right - at.x) {
      EXPECT_GE(at.x - c.back.right, 10);
      EXPECT_GE(c.forward.left - right, 10);
    }
  }
}

}  // namespace

// A cell's badges from the right: the movie kind first (an AVCHD scene by its edited state,
// with a gap), then RAW, favourite and the Exif text; nothing for a plain picture.
TEST(CalendarDay, CellBadgesInOrder) {
  using B = calday::Badge;
  struct {
    const char* what;
    UINT kind;
    bool edited, favourite, text;
    std::vector<B> badges;
  } cases[] = {
      {"plain picture", 0x210, false, false, false, {}},
      {"movie", 0x1000 | 0x8, false, false, false, {{0, 0}}},
      {"AVCHD scene", 0x1040, false, false, false, {{29, 3}}},
      {"edited AVCHD scene", 0x1040 | 0x8, true, false, false, {{30, 3}}},
      {"edited flag on a movie of another kind", 0x1000, true, false, false, {{0, 0}}},
      {"RAW favourite with a title", 0x288, false, true, true, {{3, 3}, {2, 3}, {1, 3}}},
      {"other RAW", 0x282, false, false, false, {{3, 3}}},
      {"half the RAW bits", 0x208, false, false, false, {}},
      {"everything", 0x1040 | 0x288, true, true, true, {{30, 3}, {3, 3}, {2, 3}, {1, 3}}},
  };
  for (const auto& c : cases) EXPECT_EQ(calday::CellBadges(c.kind, c.edited, c.favourite, c.text), c.badges) << c.what;
}
