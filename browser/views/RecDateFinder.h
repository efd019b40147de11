// The calendar views' finder over thumbnails sorted by recording time: the thumbnails of
// a day, a month (one per recording day) or a year, their count, and the neighbouring
// recording days. The decisions are recdate's; this holds the thumbnails.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "RecDateFinderRules.h"
#include "VxGUITransApi.h"

class CThumbnail;

class VXGUITRANS_API CRecDateFinder {
 public:
  typedef std::vector<CThumbnail*> ThumbList;

  CRecDateFinder();
  virtual ~CRecDateFinder();

  // The thumbnails of [first, end) for a day (day > 0), a month (month > 0) or a year
  // (month < 1) into *pOut (may be null); returns how many belong to it.
  int Find(ThumbList::const_iterator first, ThumbList::const_iterator end, ThumbList* pOut, int year, int month,
           int day);
  int Count(const ThumbList& list, int year, int month, int day);
  static int FindPrevDay(const ThumbList& list, int* year, int* month, int* day);
  static int FindNextDay(const ThumbList& list, int* year, int* month, int* day);

  ULONGLONG GetStartTime() const { return m_start; }
  ULONGLONG GetEndTime() const { return m_end; }

 private:
  static std::vector<ULONGLONG> Times(ThumbList::const_iterator first, ThumbList::const_iterator end);

  ULONGLONG m_start, m_end;
};
