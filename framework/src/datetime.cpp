// CTime, CTimeSpan, COleDateTime, COleDateTimeSpan.
#include <fw/datetime.h>

#include <oleauto.h>

#include <cmath>

namespace {

// ---- calendar arithmetic on the proleptic Gregorian calendar ----

// Days from 1970-01-01 to the given date (negative before it).
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  d = (int)(doy - (153 * mp + 2) / 5 + 1);
  m = (int)(mp < 10 ? mp + 3 : mp - 9);
  y = (int)(yoe + era * 400 + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeap(y)) ? 29 : kDays[m - 1];
}

int DayOfYear(int y, int m, int d) { return (int)(DaysFromCivil(y, m, d) - DaysFromCivil(y, 1, 1)) + 1; }

// 0 Sunday .. 6 Saturday; 1970-01-01 was a Thursday.
int WeekDay(long long daysSince1970) { return (int)(((daysSince1970 + 4) % 7 + 7) % 7); }

bool ValidParts(int y, int mo, int d, int h, int mi, int s, int minYear, int maxYear) {
  return y >= minYear && y <= maxYear && mo >= 1 && mo <= 12 && d >= 1 && d <= DaysInMonth(y, mo) && h >= 0 &&
         h <= 23 && mi >= 0 && mi <= 59 && s >= 0 && s <= 59;
}

// ---- OLE DATE ----
// A DATE counts days from 1899-12-30; before that day the fraction is still the time of
// day, counted forwards (-1.25 is 1899-12-29 06:00). Arithmetic runs on a continuous
// day count instead.
const long long kOleEpoch = -25569;  // 1899-12-30 in days from 1970-01-01
const double kMinDate = -657434.0;   // 0100-01-01
const double kMaxDate = 2958466.0;   // 10000-01-01 (exclusive)

double ContinuousFromDate(DATE dt) {
  if (dt >= 0) return dt;
  double whole = std::trunc(dt);
  return whole + (whole - dt);
}

DATE DateFromContinuous(double c) {
  if (c >= 0) return c;
  double day = std::floor(c);
  return day - (c - day);
}

bool InOleRange(double c) { return c >= kMinDate && c < kMaxDate && !std::isnan(c); }

// ---- strftime forms ----

const char* const kDayAbbr[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kDayFull[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonAbbr[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kMonFull[] = {"January", "February", "March",     "April",   "May",      "June",
                                "July",    "August",   "September", "October", "November", "December"};

void AppendNumber(CString& out, long long v, int width, bool noZeros) {
  if (noZeros) {
    out.AppendFormat("%I64d", v);
  } else {
    out.AppendFormat("%0*I64d", width, v);
  }
}

CString TimeZoneName(bool gmt, bool dst) {
  if (gmt) return CString("UTC");
  TIME_ZONE_INFORMATION tzi = {};
  ::GetTimeZoneInformation(&tzi);
  return CString(dst ? tzi.DaylightName : tzi.StandardName);
}

// Formats the parts in t (tm_year from 1900, tm_mon from 0) with strftime's forms.
CString FormatTm(LPCSTR format, const struct tm& t, bool gmt) {
  CString out;
  if (!format) return out;
  for (LPCSTR p = format; *p; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    bool alt = p[1] == '#';
    char c = alt ? p[2] : p[1];
    if (c == '\0') {
      out += '%';
      break;
    }
    p += alt ? 2 : 1;
    int wday = ((t.tm_wday % 7) + 7) % 7, mon = std::min(std::max(t.tm_mon, 0), 11);
    switch (c) {
      case 'a': out += kDayAbbr[wday]; break;
      case 'A': out += kDayFull[wday]; break;
      case 'b': out += kMonAbbr[mon]; break;
      case 'B': out += kMonFull[mon]; break;
      case 'c': out += FormatTm(alt ? "%A, %B %#d, %Y %H:%M:%S" : "%m/%d/%y %H:%M:%S", t, gmt); break;
      case 'x': out += FormatTm(alt ? "%A, %B %#d, %Y" : "%m/%d/%y", t, gmt); break;
      case 'X': out += FormatTm("%H:%M:%S", t, gmt); break;
      case 'd': AppendNumber(out, t.tm_mday, 2, alt); break;
      case 'H': AppendNumber(out, t.tm_hour, 2, alt); break;
      case 'I': AppendNumber(out, t.tm_hour % 12 ? t.tm_hour % 12 : 12, 2, alt); break;
      case 'j': AppendNumber(out, t.tm_yday + 1, 3, alt); break;
      case 'm': AppendNumber(out, t.tm_mon + 1, 2, alt); break;
      case 'M': AppendNumber(out, t.tm_min, 2, alt); break;
      case 'p': out += t.tm_hour < 12 ? "AM" : "PM"; break;
      case 'S': AppendNumber(out, t.tm_sec, 2, alt); break;
      case 'U': AppendNumber(out, (t.tm_yday + 7 - wday) / 7, 2, alt); break;
      case 'w': AppendNumber(out, wday, 1, alt); break;
      case 'W': AppendNumber(out, (t.tm_yday + 7 - (wday + 6) % 7) / 7, 2, alt); break;
      case 'y': AppendNumber(out, (t.tm_year + 1900) % 100, 2, alt); break;
      case 'Y': AppendNumber(out, t.tm_year + 1900, 4, alt); break;
      case 'z':
      case 'Z': out += TimeZoneName(gmt, t.tm_isdst > 0); break;
      case '%': out += '%'; break;
      default:  // not a form: kept as written
        out += '%';
        if (alt) out += '#';
        out += c;
    }
  }
  return out;
}

struct tm TmFromParts(int y, int mo, int d, int h, int mi, int s) {
  struct tm t = {};
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  t.tm_wday = WeekDay(DaysFromCivil(y, mo, d));
  t.tm_yday = DayOfYear(y, mo, d) - 1;
  t.tm_isdst = -1;
  return t;
}

// %D days, %H hours, %M minutes, %S seconds, %% percent.
CString FormatSpan(LPCSTR format, long long days, long h, long m, long s) {
  CString out;
  if (!format) return out;
  for (LPCSTR p = format; *p; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    char c = *++p;
    switch (c) {
      case 'D': out.AppendFormat("%I64d", days); break;
      case 'H': out.AppendFormat("%02ld", h); break;
      case 'M': out.AppendFormat("%02ld", m); break;
      case 'S': out.AppendFormat("%02ld", s); break;
      case '%': out += '%'; break;
      default:
        out += '%';
        out += c;
    }
  }
  return out;
}

CString LoadFormat(UINT nFormatID) {
  CString format;
  format.LoadString(nFormatID);
  return format;
}

bool LocalSystemTimeFromFileTime(const FILETIME& ft, SYSTEMTIME& st) {
  FILETIME local;
  return ::FileTimeToLocalFileTime(&ft, &local) && ::FileTimeToSystemTime(&local, &st);
}

bool SystemTimeFromDos(WORD wDosDate, WORD wDosTime, SYSTEMTIME& st) {
  FILETIME ft;
  return ::DosDateTimeToFileTime(wDosDate, wDosTime, &ft) && ::FileTimeToSystemTime(&ft, &st);
}

}  // namespace

// ---- CTimeSpan --------------------------------------------------------------------------

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + 24 * (__time64_t)lDays))) {}

CString CTimeSpan::Format(LPCSTR pFormat) const {
  return FormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

CString CTimeSpan::Format(UINT nFormatID) const { return Format(LoadFormat(nFormatID)); }

// ---- CTime ------------------------------------------------------------------------------

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) : m_time(-1) {
  if (!ValidParts(nYear, nMonth, nDay, nHour, nMin, nSec, 1900, 3000)) return;
  struct tm t = TmFromParts(nYear, nMonth, nDay, nHour, nMin, nSec);
  t.tm_isdst = nDST;
  m_time = _mktime64(&t);
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST) : m_time(-1) {
  SYSTEMTIME st;
  if (SystemTimeFromDos(wDosDate, wDosTime, st)) *this = CTime(st, nDST);
}

CTime::CTime(const SYSTEMTIME& st, int nDST) : m_time(0) {
  if (st.wYear >= 1900) *this = CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST);
}

CTime::CTime(const FILETIME& fileTime, int nDST) : m_time(-1) {
  SYSTEMTIME st;
  if (LocalSystemTimeFromFileTime(fileTime, st)) *this = CTime(st, nDST);
}

CTime PASCAL CTime::GetCurrentTime() { return CTime(_time64(nullptr)); }

BOOL PASCAL CTime::IsValidFILETIME(const FILETIME& fileTime) {
  SYSTEMTIME st;
  return LocalSystemTimeFromFileTime(fileTime, st) && CTime(st).GetTime() != -1;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
  struct tm* p = m_time >= 0 ? _localtime64(&m_time) : nullptr;
  if (!p || !ptm) return nullptr;
  *ptm = *p;
  return ptm;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const {
  struct tm* p = m_time >= 0 ? _gmtime64(&m_time) : nullptr;
  if (!p || !ptm) return nullptr;
  *ptm = *p;
  return ptm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const {
  struct tm t;
  if (!GetLocalTm(&t)) return FALSE;
  st.wYear = (WORD)(t.tm_year + 1900);
  st.wMonth = (WORD)(t.tm_mon + 1);
  st.wDayOfWeek = (WORD)t.tm_wday;
  st.wDay = (WORD)t.tm_mday;
  st.wHour = (WORD)t.tm_hour;
  st.wMinute = (WORD)t.tm_min;
  st.wSecond = (WORD)t.tm_sec;
  st.wMilliseconds = 0;
  return TRUE;
}

#define FW_CTIME_PART(name, expr)          \
  int CTime::name() const {                \
    struct tm t;                           \
    return GetLocalTm(&t) ? (expr) : 0;    \
  }
FW_CTIME_PART(GetYear, t.tm_year + 1900)
FW_CTIME_PART(GetMonth, t.tm_mon + 1)
FW_CTIME_PART(GetDay, t.tm_mday)
FW_CTIME_PART(GetHour, t.tm_hour)
FW_CTIME_PART(GetMinute, t.tm_min)
FW_CTIME_PART(GetSecond, t.tm_sec)
FW_CTIME_PART(GetDayOfWeek, t.tm_wday + 1)
#undef FW_CTIME_PART

CString CTime::Format(LPCSTR pFormat) const {
  struct tm t;
  return GetLocalTm(&t) ? FormatTm(pFormat, t, false) : CString();
}

CString CTime::FormatGmt(LPCSTR pFormat) const {
  struct tm t;
  return GetGmtTm(&t) ? FormatTm(pFormat, t, true) : CString();
}

CString CTime::Format(UINT nFormatID) const { return Format(LoadFormat(nFormatID)); }
CString CTime::FormatGmt(UINT nFormatID) const { return FormatGmt(LoadFormat(nFormatID)); }

// ---- COleDateTimeSpan -------------------------------------------------------------------

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
  m_span = lDays + ((double)nHours + ((double)nMins + (double)nSecs / 60.0) / 60.0) / 24.0;
  m_status = valid;
}

// Whole seconds of the span, rounded; parts keep the span's sign.
static long long SpanSeconds(double span) { return std::llround(span * 86400.0); }

LONG COleDateTimeSpan::GetDays() const { return (LONG)(SpanSeconds(m_span) / 86400); }
LONG COleDateTimeSpan::GetHours() const { return (LONG)(SpanSeconds(m_span) / 3600 % 24); }
LONG COleDateTimeSpan::GetMinutes() const { return (LONG)(SpanSeconds(m_span) / 60 % 60); }
LONG COleDateTimeSpan::GetSeconds() const { return (LONG)(SpanSeconds(m_span) % 60); }

CString COleDateTimeSpan::Format(LPCSTR pFormat) const {
  if (m_status != valid) return CString();
  return FormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

CString COleDateTimeSpan::Format(UINT nFormatID) const { return Format(LoadFormat(nFormatID)); }

// ---- COleDateTime -----------------------------------------------------------------------

COleDateTime::COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(valid) {
  if (!InOleRange(ContinuousFromDate(dtSrc))) m_status = invalid;
}

COleDateTime::COleDateTime(const VARIANT& varSrc) : m_dt(0), m_status(valid) {
  if (varSrc.vt == VT_NULL) {
    m_status = null;
    return;
  }
  VARIANT v;
  ::VariantInit(&v);
  if (SUCCEEDED(::VariantChangeType(&v, const_cast<VARIANT*>(&varSrc), 0, VT_DATE))) {
    *this = COleDateTime(v.date);
  } else {
    m_status = invalid;
  }
  ::VariantClear(&v);
}

COleDateTime::COleDateTime(__time64_t timeSrc) : m_dt(0), m_status(invalid) {
  struct tm t;
  if (CTime(timeSrc).GetLocalTm(&t))
    SetDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& st) : m_dt(0), m_status(invalid) {
  SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

COleDateTime::COleDateTime(const FILETIME& filetimeSrc) : m_dt(0), m_status(invalid) {
  SYSTEMTIME st;
  if (LocalSystemTimeFromFileTime(filetimeSrc, st)) *this = COleDateTime(st);
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) : m_dt(0), m_status(invalid) {
  SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(WORD wDosDate, WORD wDosTime) : m_dt(0), m_status(invalid) {
  SYSTEMTIME st;
  if (SystemTimeFromDos(wDosDate, wDosTime, st)) *this = COleDateTime(st);
}

COleDateTime PASCAL COleDateTime::GetCurrentTime() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return COleDateTime(st);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  if (!ValidParts(nYear, nMonth, nDay, nHour, nMin, nSec, 100, 9999)) {
    m_dt = 0;
    m_status = invalid;
    return 1;
  }
  double days = (double)(DaysFromCivil(nYear, nMonth, nDay) - kOleEpoch);
  double time = (nHour * 3600 + nMin * 60 + nSec) / 86400.0;
  m_dt = DateFromContinuous(days + time);
  m_status = valid;
  return 0;
}

// The parts of a valid date, rounded to the second.
bool COleDateTime::GetParts(SYSTEMTIME& st) const {
  double c = ContinuousFromDate(m_dt);
  if (m_status != valid || !InOleRange(c)) return false;
  long long days = (long long)std::floor(c);
  long long secs = std::llround((c - (double)days) * 86400.0);
  if (secs >= 86400) {
    ++days;
    secs -= 86400;
  }
  long long since1970 = days + kOleEpoch;
  int y, m, d;
  CivilFromDays(since1970, y, m, d);
  if (y > 9999) return false;
  st.wYear = (WORD)y;
  st.wMonth = (WORD)m;
  st.wDay = (WORD)d;
  st.wDayOfWeek = (WORD)WeekDay(since1970);
  st.wHour = (WORD)(secs / 3600);
  st.wMinute = (WORD)(secs / 60 % 60);
  st.wSecond = (WORD)(secs % 60);
  st.wMilliseconds = 0;
  return true;
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const { return GetParts(sysTime); }

#define FW_OLEDATE_PART(name, expr)                         \
  int COleDateTime::name() const {                          \
    SYSTEMTIME st;                                          \
    return GetParts(st) ? (expr) : AFX_OLE_DATETIME_ERROR;  \
  }
FW_OLEDATE_PART(GetYear, st.wYear)
FW_OLEDATE_PART(GetMonth, st.wMonth)
FW_OLEDATE_PART(GetDay, st.wDay)
FW_OLEDATE_PART(GetHour, st.wHour)
FW_OLEDATE_PART(GetMinute, st.wMinute)
FW_OLEDATE_PART(GetSecond, st.wSecond)
FW_OLEDATE_PART(GetDayOfWeek, st.wDayOfWeek + 1)
FW_OLEDATE_PART(GetDayOfYear, DayOfYear(st.wYear, st.wMonth, st.wDay))
#undef FW_OLEDATE_PART

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const {
  CString text;
  BSTR b = nullptr;
  if (m_status == valid && SUCCEEDED(::VarBstrFromDate(m_dt, lcid, dwFlags, &b)) && b) text = b;
  ::SysFreeString(b);
  return text;
}

CString COleDateTime::Format(LPCSTR lpszFormat) const {
  SYSTEMTIME st;
  if (!GetParts(st)) return CString();
  return FormatTm(lpszFormat, TmFromParts(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond), false);
}

CString COleDateTime::Format(UINT nFormatID) const { return Format((LPCSTR)LoadFormat(nFormatID)); }

BOOL COleDateTime::ParseDateTime(LPCSTR lpszDate, DWORD dwFlags, LCID lcid) {
  BSTR b = CString(lpszDate).AllocSysString();
  DATE dt = 0;
  HRESULT hr = ::VarDateFromStr(b, lcid, dwFlags, &dt);
  ::SysFreeString(b);
  if (FAILED(hr)) {
    m_dt = 0;
    m_status = invalid;
    return FALSE;
  }
  *this = COleDateTime(dt);
  return m_status == valid;
}

bool COleDateTime::operator<(const COleDateTime& date) const {
  return ContinuousFromDate(m_dt) < ContinuousFromDate(date.m_dt);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const {
  COleDateTime r;
  if (m_status != valid || span.m_status != COleDateTimeSpan::valid) {
    r.m_status = (m_status == null || span.m_status == COleDateTimeSpan::null) ? null : invalid;
    return r;
  }
  return COleDateTime(DateFromContinuous(ContinuousFromDate(m_dt) + span.m_span));
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const { return *this + -span; }

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const {
  COleDateTimeSpan r(ContinuousFromDate(m_dt) - ContinuousFromDate(date.m_dt));
  if (m_status != valid || date.m_status != valid)
    r.m_status = (m_status == null || date.m_status == null) ? COleDateTimeSpan::null : COleDateTimeSpan::invalid;
  return r;
}
