// Dates and times: CTime/CTimeSpan (seconds since 1970, local time) and
// COleDateTime/COleDateTimeSpan (OLE DATE: days since 1899-12-30, with a status).
#pragma once
#include <fw/string.h>

#include <ctime>

// ---- CTimeSpan, CTime -------------------------------------------------------------------

class FW_API CTimeSpan {
 public:
  CTimeSpan() : m_timeSpan(0) {}
  CTimeSpan(__time64_t time) : m_timeSpan(time) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  LONGLONG GetDays() const { return m_timeSpan / 86400; }
  LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
  LONG GetHours() const { return (LONG)(GetTotalHours() - GetDays() * 24); }
  LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
  LONG GetMinutes() const { return (LONG)(GetTotalMinutes() - GetTotalHours() * 60); }
  LONGLONG GetTotalSeconds() const { return m_timeSpan; }
  LONG GetSeconds() const { return (LONG)(GetTotalSeconds() - GetTotalMinutes() * 60); }
  __time64_t GetTimeSpan() const { return m_timeSpan; }

  CTimeSpan operator+(CTimeSpan span) const { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
  CTimeSpan operator-(CTimeSpan span) const { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
  CTimeSpan& operator+=(CTimeSpan span) { m_timeSpan += span.m_timeSpan; return *this; }
  CTimeSpan& operator-=(CTimeSpan span) { m_timeSpan -= span.m_timeSpan; return *this; }
  bool operator==(CTimeSpan span) const { return m_timeSpan == span.m_timeSpan; }
  bool operator!=(CTimeSpan span) const { return m_timeSpan != span.m_timeSpan; }
  bool operator<(CTimeSpan span) const { return m_timeSpan < span.m_timeSpan; }
  bool operator>(CTimeSpan span) const { return m_timeSpan > span.m_timeSpan; }
  bool operator<=(CTimeSpan span) const { return m_timeSpan <= span.m_timeSpan; }
  bool operator>=(CTimeSpan span) const { return m_timeSpan >= span.m_timeSpan; }

  // %D days, %H hours, %M minutes, %S seconds (two digits each but days), %% a percent.
  CString Format(LPCSTR pFormat) const;
  CString Format(UINT nFormatID) const;

 private:
  __time64_t m_timeSpan;
};

// A point in time as seconds since 1970-01-01 UTC, read in local time. A date it cannot
// hold (or parts out of range) gives the time -1, whose parts read as 0.
class FW_API CTime {
 public:
  CTime() : m_time(0) {}
  CTime(__time64_t time) : m_time(time) {}
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
  CTime(const SYSTEMTIME& sysTime, int nDST = -1);  // local time; a year before 1900 gives 0
  CTime(const FILETIME& fileTime, int nDST = -1);    // UTC, converted to local time

  static CTime PASCAL GetCurrentTime();
  static BOOL PASCAL IsValidFILETIME(const FILETIME& fileTime);

  __time64_t GetTime() const { return m_time; }
  struct tm* GetLocalTm(struct tm* ptm) const;  // NULL when the time can't be read
  struct tm* GetGmtTm(struct tm* ptm) const;
  BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;

  int GetYear() const;
  int GetMonth() const;      // 1-12
  int GetDay() const;        // 1-31
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 Sunday .. 7 Saturday

  // strftime forms (%Y %m %d %H %M %S %a %A %b %B %c %x %X %j %p %y %w %U %W %Z %%,
  // "#" drops leading zeros), on the local or the UTC time.
  CString Format(LPCSTR pFormat) const;
  CString Format(UINT nFormatID) const;
  CString FormatGmt(LPCSTR pFormat) const;
  CString FormatGmt(UINT nFormatID) const;

  CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
  CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
  CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
  CTime& operator+=(CTimeSpan span) { m_time += span.GetTimeSpan(); return *this; }
  CTime& operator-=(CTimeSpan span) { m_time -= span.GetTimeSpan(); return *this; }
  bool operator==(CTime time) const { return m_time == time.m_time; }
  bool operator!=(CTime time) const { return m_time != time.m_time; }
  bool operator<(CTime time) const { return m_time < time.m_time; }
  bool operator>(CTime time) const { return m_time > time.m_time; }
  bool operator<=(CTime time) const { return m_time <= time.m_time; }
  bool operator>=(CTime time) const { return m_time >= time.m_time; }

 private:
  __time64_t m_time;
};

// ---- COleDateTimeSpan, COleDateTime -----------------------------------------------------

#define AFX_OLE_DATETIME_ERROR (-1)

class FW_API COleDateTimeSpan {
 public:
  enum DateTimeSpanStatus { error = -1, valid = 0, invalid = 1, null = 2 };

  COleDateTimeSpan() : m_span(0), m_status(valid) {}
  COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc), m_status(valid) {}
  COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) { SetDateTimeSpan(lDays, nHours, nMins, nSecs); }

  DateTimeSpanStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeSpanStatus status) { m_status = status; }
  void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  double GetTotalDays() const { return m_span; }
  double GetTotalHours() const { return m_span * 24; }
  double GetTotalMinutes() const { return m_span * 24 * 60; }
  double GetTotalSeconds() const { return m_span * 24 * 60 * 60; }
  // Whole parts of the span rounded to the second (negative for a negative span).
  LONG GetDays() const;
  LONG GetHours() const;
  LONG GetMinutes() const;
  LONG GetSeconds() const;

  operator double() const { return m_span; }
  COleDateTimeSpan operator+(const COleDateTimeSpan& s) const { return Combine(m_span + s.m_span, s); }
  COleDateTimeSpan operator-(const COleDateTimeSpan& s) const { return Combine(m_span - s.m_span, s); }
  COleDateTimeSpan& operator+=(const COleDateTimeSpan& s) { return *this = *this + s; }
  COleDateTimeSpan& operator-=(const COleDateTimeSpan& s) { return *this = *this - s; }
  COleDateTimeSpan operator-() const { return Combine(-m_span, *this); }
  bool operator==(const COleDateTimeSpan& s) const { return m_status == s.m_status && m_span == s.m_span; }
  bool operator!=(const COleDateTimeSpan& s) const { return !(*this == s); }
  bool operator<(const COleDateTimeSpan& s) const { return m_span < s.m_span; }
  bool operator>(const COleDateTimeSpan& s) const { return m_span > s.m_span; }
  bool operator<=(const COleDateTimeSpan& s) const { return m_span <= s.m_span; }
  bool operator>=(const COleDateTimeSpan& s) const { return m_span >= s.m_span; }

  // The same forms as CTimeSpan::Format; empty unless valid.
  CString Format(LPCSTR pFormat) const;
  CString Format(UINT nFormatID) const;

  double m_span;
  DateTimeSpanStatus m_status;

 private:
  COleDateTimeSpan Combine(double span, const COleDateTimeSpan& other) const {
    COleDateTimeSpan r(span);
    if (m_status != valid || other.m_status != valid) r.m_status = (m_status == null || other.m_status == null) ? null : invalid;
    return r;
  }
};

// Valid from 100-01-01 to 9999-12-31. Anything else, including impossible parts such as
// February 30, gives status invalid and never a crash; the parts of a date that is not
// valid read as AFX_OLE_DATETIME_ERROR.
class FW_API COleDateTime {
 public:
  enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

  COleDateTime() : m_dt(0), m_status(valid) {}
  COleDateTime(DATE dtSrc);
  COleDateTime(const VARIANT& varSrc);
  COleDateTime(__time64_t timeSrc);                // local time
  COleDateTime(const SYSTEMTIME& systimeSrc);
  COleDateTime(const FILETIME& filetimeSrc);       // UTC, converted to local time
  COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  COleDateTime(WORD wDosDate, WORD wDosTime);

  static COleDateTime PASCAL GetCurrentTime();

  DateTimeStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeStatus status) { m_status = status; }

  // 0 on success, 1 when the parts are not a valid date (status invalid).
  int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
  int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

  BOOL GetAsSystemTime(SYSTEMTIME& sysTime) const;
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 Sunday .. 7 Saturday
  int GetDayOfYear() const;  // 1 for January 1

  // The locale's short date (and the time when it is not midnight), as the system's
  // variant conversion writes it; dwFlags e.g. VAR_DATEVALUEONLY. Empty unless valid.
  CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
  // strftime forms, as CTime::Format; empty unless valid.
  CString Format(LPCSTR lpszFormat) const;
  CString Format(UINT nFormatID) const;
  // Reads a date and/or time in the locale's forms; FALSE (status invalid) when it can't.
  BOOL ParseDateTime(LPCSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

  const COleDateTime& operator=(DATE dtSrc) { return *this = COleDateTime(dtSrc); }
  const COleDateTime& operator=(__time64_t timeSrc) { return *this = COleDateTime(timeSrc); }
  const COleDateTime& operator=(const SYSTEMTIME& systimeSrc) { return *this = COleDateTime(systimeSrc); }
  const COleDateTime& operator=(const FILETIME& filetimeSrc) { return *this = COleDateTime(filetimeSrc); }

  bool operator==(const COleDateTime& date) const { return m_status == date.m_status && m_dt == date.m_dt; }
  bool operator!=(const COleDateTime& date) const { return !(*this == date); }
  bool operator<(const COleDateTime& date) const;
  bool operator>(const COleDateTime& date) const { return date < *this; }
  bool operator<=(const COleDateTime& date) const { return !(date < *this); }
  bool operator>=(const COleDateTime& date) const { return !(*this < date); }

  COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
  COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
  COleDateTime& operator+=(const COleDateTimeSpan& dateSpan) { return *this = *this + dateSpan; }
  COleDateTime& operator-=(const COleDateTimeSpan& dateSpan) { return *this = *this - dateSpan; }
  COleDateTimeSpan operator-(const COleDateTime& date) const;
  operator DATE() const { return m_dt; }

  DATE m_dt;
  DateTimeStatus m_status;

 private:
  bool GetParts(SYSTEMTIME& st) const;
};
