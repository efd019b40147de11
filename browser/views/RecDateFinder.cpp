// The calendar views' finder over thumbnails.
#include "RecDateFinder.h"

#include <VxGUIDB/Thumbnail.h>

CRecDateFinder::CRecDateFinder() : m_start(0), m_end(0) {}

CRecDateFinder::~CRecDateFinder() {}

std::vector<ULONGLONG> CRecDateFinder::Times(ThumbList::const_iterator first, ThumbList::const_iterator end) {
  std::vector<ULONGLONG> times;
  for (auto it = first; it != end; ++it) times.push_back(*it ? (*it)->GetRecTime() : 0);
  return times;
}

int CRecDateFinder::Find(ThumbList::const_iterator first, ThumbList::const_iterator end, ThumbList* pOut, int year,
                         int month, int day) {
  if (pOut) pOut->clear();
  m_start = recdate::MakeFileTime(year, month, day);
  m_end = month < 1 ? recdate::NextYear(m_start) : day > 0 ? recdate::NextDay(m_start) : recdate::NextMonth(m_start);
  std::vector<ULONGLONG> times = Times(first, end);
  int count = 0;
  std::vector<size_t> found = recdate::Find(times, 0, times.size(), year, month, day, &count);
  if (pOut)
    for (size_t i : found) pOut->push_back(*(first + i));
  return count;
}

int CRecDateFinder::Count(const ThumbList& list, int year, int month, int day) {
  return Find(list.begin(), list.end(), nullptr, year, month, day);
}

int CRecDateFinder::FindPrevDay(const ThumbList& list, int* year, int* month, int* day) {
  recdate::Date d = {*year, *month, *day};
  if (!recdate::FindPrevDay(Times(list.begin(), list.end()), &d)) return 0;
  *year = d.year, *month = d.month, *day = d.day;
  return 1;
}

int CRecDateFinder::FindNextDay(const ThumbList& list, int* year, int* month, int* day) {
  recdate::Date d = {*year, *month, *day};
  if (!recdate::FindNextDay(Times(list.begin(), list.end()), &d)) return 0;
  *year = d.year, *month = d.month, *day = d.day;
  return 1;
}
