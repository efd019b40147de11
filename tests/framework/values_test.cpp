// Value types: rectangles, points and sizes; CTime and COleDateTime with valid and
// impossible dates, formatting and arithmetic.
#include <gtest/gtest.h>
#include <fw/fw.h>

#include <string>

namespace {

::testing::AssertionResult RectIs(const CRect& r, int l, int t, int rt, int b) {
  if (r.left == l && r.top == t && r.right == rt && r.bottom == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

TEST(Geometry, LayoutMatchesWin32) {
  static_assert(sizeof(CRect) == sizeof(RECT) && sizeof(CPoint) == sizeof(POINT) && sizeof(CSize) == sizeof(SIZE),
                "no data of their own");
  CRect r(10, 20, 110, 70);
  RECT* raw = r;
  EXPECT_EQ(raw->right, 110);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_TRUE(r.Size() == CSize(100, 50));
  EXPECT_TRUE(r.TopLeft() == CPoint(10, 20));
  r.BottomRight() = CPoint(30, 40);
  EXPECT_TRUE(RectIs(r, 10, 20, 30, 40));
  EXPECT_TRUE(r.CenterPoint() == CPoint(20, 30));
  EXPECT_TRUE(CPoint(MAKELPARAM(-5, 7)) == CPoint(-5, 7)) << "lParam words are signed";
  EXPECT_TRUE(CSize(MAKELONG(3, -4)) == CSize(3, -4));
}

struct RectCase {
  const char* name;
  void (*op)(CRect&);
  int l, t, r, b;
};

TEST(Geometry, RectOperations) {
  const RectCase cases[] = {
      {"InflateRect", [](CRect& r) { r.InflateRect(2, 3); }, 8, 17, 32, 43},
      {"InflateRect 4", [](CRect& r) { r.InflateRect(1, 2, 3, 4); }, 9, 18, 33, 44},
      {"DeflateRect", [](CRect& r) { r.DeflateRect(2, 3); }, 12, 23, 28, 37},
      {"DeflateRect rect", [](CRect& r) { RECT d = {1, 2, 3, 4}; r.DeflateRect(&d); }, 11, 22, 27, 36},
      {"OffsetRect", [](CRect& r) { r.OffsetRect(-10, 5); }, 0, 25, 20, 45},
      {"OffsetRect size", [](CRect& r) { r.OffsetRect(CSize(1, 1)); }, 11, 21, 31, 41},
      {"NormalizeRect", [](CRect& r) { r.SetRect(30, 40, 10, 20); r.NormalizeRect(); }, 10, 20, 30, 40},
      {"IntersectRect", [](CRect& r) { r.IntersectRect(CRect(0, 0, 25, 25), r); }, 10, 20, 25, 25},
      {"IntersectRect none", [](CRect& r) { EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 5, 5), r)); }, 0, 0, 0, 0},
      {"UnionRect", [](CRect& r) { r.UnionRect(r, CRect(0, 0, 5, 5)); }, 0, 0, 30, 40},
      {"UnionRect empty", [](CRect& r) { r.UnionRect(r, CRect(50, 50, 50, 60)); }, 10, 20, 30, 40},
      {"SubtractRect", [](CRect& r) { r.SubtractRect(CRect(r), CRect(20, 0, 40, 50)); }, 10, 20, 20, 40},
      {"SubtractRect middle", [](CRect& r) { r.SubtractRect(CRect(r), CRect(15, 25, 16, 26)); }, 10, 20, 30, 40},
      {"operators", [](CRect& r) { r = (r + CPoint(1, 1)) - CSize(2, 2); r += CPoint(1, 1); }, 10, 20, 30, 40},
      {"& and |", [](CRect& r) { r = (r & CRect(0, 0, 20, 30)) | CRect(0, 0, 1, 1); }, 0, 0, 20, 30},
      {"MoveToXY", [](CRect& r) { r.MoveToXY(0, 0); }, 0, 0, 20, 20},
      {"short forms", [](CRect& r) { r.Inflate(1, 1); r.Deflate(1, 1); r.Offset(1, 0); }, 11, 20, 31, 40},
      {"SetRectEmpty", [](CRect& r) { r.SetRectEmpty(); }, 0, 0, 0, 0},
      {"MulDiv", [](CRect& r) { r = r.MulDiv(3, 2); }, 15, 30, 45, 60},
  };
  for (const auto& c : cases) {
    CRect r(10, 20, 30, 40);
    c.op(r);
    EXPECT_TRUE(RectIs(r, c.l, c.t, c.r, c.b)) << c.name;
  }
}

TEST(Geometry, EmptinessAndHitTesting) {
  EXPECT_TRUE(CRect().IsRectNull());
  EXPECT_TRUE(CRect().IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 1, 10).IsRectEmpty()) << "inverted counts as empty";
  EXPECT_FALSE(CRect(5, 5, 5, 10).IsRectNull());
  CRect r(0, 0, 10, 10);
  EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
  EXPECT_TRUE(r.PtInRect(CPoint(9, 9)));
  EXPECT_FALSE(r.PtInRect(CPoint(10, 5))) << "right edge is outside";
  EXPECT_TRUE(r.EqualRect(CRect(0, 0, 10, 10)));
  EXPECT_TRUE(r == CRect(0, 0, 10, 10) && r != CRect(0, 0, 10, 11));
  CPoint p(1, 2);
  p += CSize(2, 2);
  p -= CPoint(1, 1);
  EXPECT_TRUE(p == CPoint(2, 3));
  EXPECT_TRUE(p - CPoint(1, 1) == CSize(1, 2));
  EXPECT_TRUE(-p == CPoint(-2, -3));
}

// ---- CTime ------------------------------------------------------------------------------

TEST(CTimeValues, PartsFormatAndArithmetic) {
  CTime t(2024, 2, 29, 13, 5, 9);
  ASSERT_NE(t.GetTime(), -1);
  EXPECT_EQ(t.GetYear(), 2024);
  EXPECT_EQ(t.GetMonth(), 2);
  EXPECT_EQ(t.GetDay(), 29);
  EXPECT_EQ(t.GetHour(), 13);
  EXPECT_EQ(t.GetMinute(), 5);
  EXPECT_EQ(t.GetSecond(), 9);
  EXPECT_EQ(t.GetDayOfWeek(), 5) << "a Thursday";
  EXPECT_STREQ(t.Format("%Y/%m/%d %H:%M:%S"), "2024/02/29 13:05:09");
  EXPECT_STREQ(t.Format("%#d.%#m %a %B %j %p %y %%"), "29.2 Thu February 060 PM 24 %");
  EXPECT_STREQ(t.Format("%c|%x|%X"), "02/29/24 13:05:09|02/29/24|13:05:09");
  EXPECT_STREQ(t.Format("%Q%"), "%Q%") << "unknown forms stay as written";
  CTime later = t + CTimeSpan(1, 2, 3, 4);
  EXPECT_STREQ(later.Format("%Y-%m-%d %H:%M:%S"), "2024-03-01 15:08:13");
  CTimeSpan span = later - t;
  EXPECT_EQ(span.GetTotalSeconds(), 93784);
  EXPECT_EQ(span.GetDays(), 1);
  EXPECT_EQ(span.GetHours(), 2);
  EXPECT_STREQ(span.Format("%D days %H:%M:%S"), "1 days 02:03:04");
  EXPECT_TRUE(t < later && later > t && t != later);
  SYSTEMTIME st;
  ASSERT_TRUE(t.GetAsSystemTime(st));
  EXPECT_EQ(st.wDay, 29);
  EXPECT_TRUE(CTime(st) == t);
}

TEST(CTimeValues, FromFileTimeAndImpossibleDates) {
  SYSTEMTIME local = {2023, 7, 0, 14, 8, 30, 15, 0};
  FILETIME lft, ft;
  ASSERT_TRUE(SystemTimeToFileTime(&local, &lft));
  ASSERT_TRUE(LocalFileTimeToFileTime(&lft, &ft));
  CTime t(ft);
  EXPECT_STREQ(t.Format("%Y-%m-%d %H:%M:%S"), "2023-07-14 08:30:15") << "a FILETIME is UTC, read locally";
  EXPECT_EQ(CTime(2023, 2, 30, 0, 0, 0).GetTime(), -1);
  EXPECT_EQ(CTime(2023, 13, 1, 0, 0, 0).GetTime(), -1);
  EXPECT_EQ(CTime(2023, 1, 1, 24, 0, 0).GetTime(), -1);
  CTime bad(2023, 2, 30, 0, 0, 0);
  EXPECT_EQ(bad.GetYear(), 0);
  EXPECT_STREQ(bad.Format("%Y"), "");
  SYSTEMTIME old = {1601, 1, 1, 1, 0, 0, 0, 0};
  EXPECT_EQ(CTime(old).GetTime(), 0) << "before 1900: the zero time";
  CTime now = CTime::GetCurrentTime();
  EXPECT_GE(now.GetYear(), 2023);
}

// ---- COleDateTime -----------------------------------------------------------------------

struct OleCase {
  int y, mo, d, h, mi, s;
  bool valid;
  double dt;  // expected DATE when valid
};

TEST(COleDateTimeValues, FromPartsValidAndInvalid) {
  const OleCase cases[] = {
      {1899, 12, 30, 0, 0, 0, true, 0.0},
      {1900, 1, 1, 0, 0, 0, true, 2.0},
      {1899, 12, 29, 6, 0, 0, true, -1.25},  // before the epoch the time counts forwards
      {2000, 2, 29, 12, 0, 0, true, 36585.5},
      {2038, 1, 1, 0, 0, 0, true, 50406.0},
      {100, 1, 1, 0, 0, 0, true, -657434.0},
      {9999, 12, 31, 0, 0, 0, true, 2958465.0},
      {2023, 2, 29, 0, 0, 0, false, 0},
      {1900, 2, 29, 0, 0, 0, false, 0},
      {2024, 4, 31, 0, 0, 0, false, 0},
      {2024, 0, 1, 0, 0, 0, false, 0},
      {2024, 13, 1, 0, 0, 0, false, 0},
      {2024, 1, 1, 24, 0, 0, false, 0},
      {2024, 1, 1, 0, 60, 0, false, 0},
      {2024, 1, 1, 0, 0, -1, false, 0},
      {99, 12, 31, 0, 0, 0, false, 0},
      {10000, 1, 1, 0, 0, 0, false, 0},
  };
  for (const auto& c : cases) {
    COleDateTime t(c.y, c.mo, c.d, c.h, c.mi, c.s);
    SCOPED_TRACE(::testing::Message() << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s);
    EXPECT_EQ(t.GetStatus(), c.valid ? COleDateTime::valid : COleDateTime::invalid);
    COleDateTime u;
    EXPECT_EQ(u.SetDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s), c.valid ? 0 : 1);
    if (c.valid) {
      EXPECT_DOUBLE_EQ(t.m_dt, c.dt);
      EXPECT_EQ(t.GetYear(), c.y);
      EXPECT_EQ(t.GetMonth(), c.mo);
      EXPECT_EQ(t.GetDay(), c.d);
      EXPECT_EQ(t.GetHour(), c.h);
      EXPECT_EQ(t.GetMinute(), c.mi);
      EXPECT_EQ(t.GetSecond(), c.s);
    } else {
      EXPECT_EQ(t.GetYear(), AFX_OLE_DATETIME_ERROR);
      EXPECT_EQ(t.GetDayOfWeek(), AFX_OLE_DATETIME_ERROR);
      EXPECT_STREQ(t.Format("%Y"), "");
      EXPECT_STREQ(t.Format(), "");
    }
  }
  EXPECT_EQ(COleDateTime(3e7).GetStatus(), COleDateTime::invalid) << "a DATE past 9999";
  COleDateTime n;
  n.SetStatus(COleDateTime::null);
  EXPECT_STREQ(n.Format(), "");
}

TEST(COleDateTimeValues, FormatCompareAndArithmetic) {
  COleDateTime day(2024, 5, 3, 0, 0, 0);
  EXPECT_EQ(day.GetDayOfWeek(), 6) << "a Friday";
  EXPECT_EQ(day.GetDayOfYear(), 124);
  EXPECT_STREQ(day.Format("%Y/%m/%d %A"), "2024/05/03 Friday");
  // The locale's short date, as the system writes it; the time only when not midnight.
  SYSTEMTIME st = {2024, 5, 5, 3, 0, 0, 0, 0};
  char shortDate[64];
  ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, shortDate, sizeof shortDate), 0);
  EXPECT_STREQ(day.Format(0, LANG_USER_DEFAULT), shortDate);
  CString withTime = COleDateTime(2024, 5, 3, 14, 7, 0).Format();
  EXPECT_EQ(withTime.Find(shortDate), 0) << (LPCSTR)withTime;
  EXPECT_NE(withTime.Find("14:07"), -1) << (LPCSTR)withTime;
  EXPECT_STREQ(COleDateTime(2024, 5, 3, 14, 7, 0).Format(VAR_DATEVALUEONLY), shortDate);
  COleDateTime before(1899, 12, 29, 18, 0, 0), after(1899, 12, 30, 6, 0, 0);
  EXPECT_TRUE(before < after) << "ordered across the epoch";
  EXPECT_TRUE(COleDateTime(1899, 12, 29, 6, 0, 0) < before);
  COleDateTimeSpan gap = after - before;
  EXPECT_DOUBLE_EQ(gap.GetTotalHours(), 12.0);
  COleDateTime next = before + COleDateTimeSpan(0, 18, 0, 0);
  EXPECT_EQ(next.GetDay(), 30);
  EXPECT_EQ(next.GetHour(), 12);
  COleDateTimeSpan span(1, 2, 3, 4);
  EXPECT_EQ(span.GetDays(), 1);
  EXPECT_EQ(span.GetHours(), 2);
  EXPECT_EQ(span.GetMinutes(), 3);
  EXPECT_EQ(span.GetSeconds(), 4);
  EXPECT_STREQ(span.Format("%D:%H:%M:%S"), "1:02:03:04");
  COleDateTime bad(2023, 2, 30, 0, 0, 0);
  EXPECT_EQ((bad + span).GetStatus(), COleDateTime::invalid);
  EXPECT_EQ((day - bad).GetStatus(), COleDateTimeSpan::invalid);
}

TEST(COleDateTimeValues, FromSystemSources) {
  SYSTEMTIME st = {2021, 11, 0, 5, 23, 59, 58, 999};
  COleDateTime t(st);
  EXPECT_EQ(t.GetSecond(), 58) << "milliseconds dropped";
  SYSTEMTIME back;
  ASSERT_TRUE(t.GetAsSystemTime(back));
  EXPECT_EQ(back.wYear, 2021);
  EXPECT_EQ(back.wDayOfWeek, 5);
  FILETIME lft, ft;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &lft));
  ASSERT_TRUE(LocalFileTimeToFileTime(&lft, &ft));
  EXPECT_TRUE(COleDateTime(ft) == t);
  EXPECT_TRUE(COleDateTime(CTime(2021, 11, 5, 23, 59, 58).GetTime()) == t);
  COleDateTime now = COleDateTime::GetCurrentTime();
  EXPECT_EQ(now.GetStatus(), COleDateTime::valid);
  EXPECT_GE(now.GetYear(), 2023);
  COleDateTime parsed;
  EXPECT_TRUE(parsed.ParseDateTime("2024/05/03"));
  EXPECT_TRUE(parsed == COleDateTime(2024, 5, 3, 0, 0, 0));
  EXPECT_FALSE(parsed.ParseDateTime("写真"));
  EXPECT_EQ(parsed.GetStatus(), COleDateTime::invalid);
}

}  // namespace
