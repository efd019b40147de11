// The calendars' recording-date questions over recording times sorted ascending (64-bit
// local file times): which belong to a day, a month or a year, one per day of a month,
// and the recording days before and after a day. Days, months and years are half-open
// ranges [start, end), so a recording at midnight belongs to the day it starts. Times
// before 1971 or from 2038 on are undated: they all stand under the pseudo-day 2038-01-01.
#pragma once
#include <windows.h>

#include <vector>

namespace recdate {

struct Date {
  int year, month, day;
  bool operator==(const Date& o) const { return year == o.year && month == o.month && day == o.day; }
  bool operator!=(const Date& o) const { return !(*this == o); }
};
const Date kUndated = {2038, 1, 1};

// Midnight of a date (a month or day below 1 counts as 1); 0 for a date that cannot be one.
ULONGLONG MakeFileTime(int year, int month, int day);
ULONGLONG NextDay(ULONGLONG t);
ULONGLONG NextMonth(ULONGLONG t);
ULONGLONG NextYear(ULONGLONG t);
ULONGLONG LowerBound();  // 1971-01-01
ULONGLONG UpperBound();  // 2038-01-01
// The recording date of a time; kUndated outside 1971..2037.
Date DateOf(ULONGLONG t);

// The positions in times[first, end) that a search answers with: a day or a year, every
// one in order; a month, the last of each recording day, the latest day first; the
// undated pseudo-dates (2038/01, 1970/12 and anything reaching past the bounds), every
// undated one in order. *count is the number of matching times (for a month, all of them).
std::vector<size_t> Find(const std::vector<ULONGLONG>& times, size_t first, size_t end, int year, int month, int day,
                         int* count);
// The recording day before (or after) a day; false when there is none.
bool FindPrevDay(const std::vector<ULONGLONG>& times, Date* date);
bool FindNextDay(const std::vector<ULONGLONG>& times, Date* date);

}  // namespace recdate
