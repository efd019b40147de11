// The calendars' recording-date questions.
#include "RecDateFinderRules.h"

#include <algorithm>

namespace recdate {

namespace {
ULONGLONG ToULL(const FILETIME& ft) { return ((ULONGLONG)ft.dwHighDateTime << 32) | ft.dwLowDateTime; }

bool ToSystem(ULONGLONG t, SYSTEMTIME* st) {
  FILETIME ft = {(DWORD)t, (DWORD)(t >> 32)};
  return ::FileTimeToSystemTime(&ft, st) != FALSE;
}

ULONGLONG FromSystem(SYSTEMTIME st) {
  st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
  st.wDayOfWeek = 0;
  FILETIME ft;
  if (!::SystemTimeToFileTime(&st, &ft)) return 0;
  return ToULL(ft);
}

int DaysIn(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

// Index of the first time not below t (lower) or above t (upper) in [first, end).
size_t NotBelow(const std::vector<ULONGLONG>& v, size_t first, size_t end, ULONGLONG t) {
  return std::lower_bound(v.begin() + first, v.begin() + end, t) - v.begin();
}
size_t Above(const std::vector<ULONGLONG>& v, size_t first, size_t end, ULONGLONG t) {
  return std::upper_bound(v.begin() + first, v.begin() + end, t) - v.begin();
}
}  // namespace

ULONGLONG MakeFileTime(int year, int month, int day) {
  SYSTEMTIME st = {};
  st.wYear = (WORD)std::max(1601, std::min(year, 30827));
  st.wMonth = (WORD)std::max(1, std::min(month, 12));
  st.wDay = (WORD)std::max(1, std::min(day, DaysIn(st.wYear, st.wMonth)));
  return FromSystem(st);
}

ULONGLONG NextDay(ULONGLONG t) { return t + 24ULL * 3600 * 10000000ULL; }

ULONGLONG NextMonth(ULONGLONG t) {
  SYSTEMTIME st;
  if (!ToSystem(t, &st)) return t;
  int year = st.wYear + (st.wMonth == 12), month = st.wMonth % 12 + 1;
  return MakeFileTime(year, month, st.wDay);
}

ULONGLONG NextYear(ULONGLONG t) {
  SYSTEMTIME st;
  if (!ToSystem(t, &st)) return t;
  return MakeFileTime(st.wYear + 1, st.wMonth, st.wDay);
}

ULONGLONG LowerBound() { return MakeFileTime(1971, 1, 1); }
ULONGLONG UpperBound() { return MakeFileTime(2038, 1, 1); }

Date DateOf(ULONGLONG t) {
  SYSTEMTIME st;
  if (!ToSystem(t, &st) || st.wYear < 1971 || st.wYear > 2037) return kUndated;
  return {st.wYear, st.wMonth, st.wDay};
}

std::vector<size_t> Find(const std::vector<ULONGLONG>& times, size_t first, size_t end, int year, int month, int day,
                         int* count) {
  std::vector<size_t> out;
  *count = 0;
  end = std::min(end, times.size());
  if (first >= end) return out;
  ULONGLONG start = MakeFileTime(year, month, day);
  bool isYear = month < 1, isDay = !isYear && day > 0;
  ULONGLONG stop = isYear ? NextYear(start) : isDay ? NextDay(start) : NextMonth(start);
  if (start < LowerBound() || stop > UpperBound()) {
    size_t dated = NotBelow(times, first, end, LowerBound());
    size_t late = NotBelow(times, dated, end, UpperBound());
    for (size_t i = first; i < dated; i++) out.push_back(i);
    for (size_t i = late; i < end; i++) out.push_back(i);
    *count = (int)out.size();
    return out;
  }
  size_t from = NotBelow(times, first, end, start);
  if (from == end || times[from] >= stop) return out;
  // Half-open: a time exactly at the end belongs to the next day (or month, or year).
  size_t to = NotBelow(times, from, end, stop);
  *count = (int)(to - from);
  if (!isYear && !isDay) {
    // One per recording day, the last of the day, latest day first.
    for (size_t i = from; i < to;) {
      Date d = DateOf(times[i]);
      size_t next = NotBelow(times, i, to, NextDay(MakeFileTime(d.year, d.month, d.day)));
      out.insert(out.begin(), next - 1);
      i = next;
    }
    return out;
  }
  for (size_t i = from; i < to; i++) out.push_back(i);
  return out;
}

bool FindPrevDay(const std::vector<ULONGLONG>& times, Date* date) {
  if (times.empty()) return false;
  ULONGLONG start = MakeFileTime(date->year, date->month, date->day);
  size_t at = NotBelow(times, 0, times.size(), start);
  if (at == times.size()) at = times.size() - 1;
  for (size_t i = at + 1; i-- > 0;) {
    Date d = DateOf(times[i]);
    if (d != *date) {
      *date = d;
      return true;
    }
  }
  return false;
}

bool FindNextDay(const std::vector<ULONGLONG>& times, Date* date) {
  if (times.empty()) return false;
  ULONGLONG start = MakeFileTime(date->year, date->month, date->day);
  bool earlyUndated = DateOf(times.front()) == kUndated && times.front() < LowerBound();
  size_t at = Above(times, 0, times.size(), start);
  if (at == times.size()) {
    if (DateOf(times.back()) == kUndated && times.back() >= UpperBound()) return false;
    if (!earlyUndated) return false;
    *date = kUndated;
    return true;
  }
  Date last = *date;
  for (size_t i = at; i < times.size(); i++) {
    last = DateOf(times[i]);
    if (last != *date) {
      *date = last;
      return true;
    }
  }
  if (last == kUndated || !earlyUndated) return false;
  *date = kUndated;
  return true;
}

}  // namespace recdate
