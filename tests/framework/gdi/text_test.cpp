// Text on a CDC: DrawText shortening and measuring, extents of Japanese text, fonts.
#include <gtest/gtest.h>

#include "canvas.h"

namespace {

// A canvas with the Japanese UI font selected.
struct TextCanvas : Canvas {
  CFont font;
  CFont* pOldFont;
  TextCanvas() : Canvas(400, 100) {
    font.CreatePointFont(90, "MS UI Gothic");
    pOldFont = dc.SelectObject(&font);
  }
  ~TextCanvas() { dc.SelectObject(pOldFont); }
};

TEST(DrawText, EllipsesShortenTheStringToFitTheRectangle) {
  struct Case {
    const char* text;
    UINT format;
    const char* mustEndWith;
  } cases[] = {
      {"とても長いファイル名の写真をここに表示します.jpg", DT_END_ELLIPSIS, "..."},
      {"C:\\写真\\表示\\2026年の旅行で撮った写真のフォルダ\\ファイル.jpg", DT_PATH_ELLIPSIS, "\\ファイル.jpg"},
      {"C:\\Pictures\\A very long folder name for the trip\\IMG_0001.JPG", DT_PATH_ELLIPSIS, "\\IMG_0001.JPG"},
  };
  TextCanvas c;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    CString full(k.text);
    int fullWidth = c.dc.GetTextExtent(full).cx;
    const int width = fullWidth / 2;
    CString s(k.text);
    CRect rect(0, 0, width, 50);
    int height = c.dc.DrawText(s, &rect, k.format | DT_MODIFYSTRING | DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(height, 0);
    EXPECT_LT(s.GetLength(), full.GetLength());
    EXPECT_NE(s.Find("..."), -1) << (LPCSTR)s;
    CString tail(k.mustEndWith);
    EXPECT_EQ(s.Right(tail.GetLength()), tail) << (LPCSTR)s;
    EXPECT_LE(c.dc.GetTextExtent(s).cx, width) << (LPCSTR)s;
    EXPECT_LE(rect.Width(), width);

    // The same call on a const string draws but leaves the string alone.
    const CString constant(k.text);
    CRect rect2(0, 0, width, 50);
    c.dc.DrawText(constant, &rect2, k.format | DT_MODIFYSTRING | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(constant, full);
  }
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing) {
  TextCanvas c;
  CString text("写真とムービーを整理する");
  CSize extent = c.dc.GetTextExtent(text);
  CRect single(10, 10, 10, 10);
  int h = c.dc.DrawText(text, &single, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(single.Width(), extent.cx);
  EXPECT_EQ(single.Height(), h);
  EXPECT_EQ(single.left, 10);

  // Word-wrapped into a third of the width: several lines, never wider than asked.
  const int narrow = extent.cx / 3;
  CRect wrapped(0, 0, narrow, 0);
  int hw = c.dc.DrawText(text, &wrapped,
                         DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX | DT_EDITCONTROL | DT_NOFULLWIDTHCHARBREAK);
  EXPECT_GE(hw, 3 * h);
  EXPECT_LE(wrapped.Width(), narrow);
  EXPECT_EQ(c.Count(RGB(255, 255, 255)), 400 * 100);  // nothing drawn
}

TEST(DrawText, DrawsInsideTheRectangleOnly) {
  TextCanvas c;
  c.dc.SetBkMode(TRANSPARENT);
  c.dc.SetTextColor(RGB(0, 0, 0));
  CRect rect(10, 10, 60, 40);
  c.dc.DrawText("表示表示表示表示表示表示", -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  EXPECT_GT(c.Count(rect, RGB(0, 0, 0)), 0);
  EXPECT_EQ(c.Count(RECT{60, 0, 400, 100}, RGB(255, 255, 255)), 340 * 100);
  // TextOut and ExtTextOut too.
  c.dc.TextOut(100, 10, CString("日本語"));
  EXPECT_GT(c.Count(RECT{100, 10, 200, 40}, RGB(0, 0, 0)), 0);
  CRect opaque(200, 50, 260, 80);
  c.dc.SetBkColor(RGB(255, 0, 0));
  c.dc.ExtTextOut(200, 50, ETO_OPAQUE | ETO_CLIPPED, &opaque, CString("テスト"), nullptr);
  EXPECT_EQ(c.At(259, 79), RGB(255, 0, 0));
}

TEST(TextMetrics, JapaneseExtentsAndFontMetrics) {
  TextCanvas c;
  CSize one = c.dc.GetTextExtent("表", 2);
  CSize two = c.dc.GetTextExtent(CString("表示"));
  EXPECT_GT(one.cx, 0);
  EXPECT_GT(one.cy, 0);
  EXPECT_GT(two.cx, one.cx);
  EXPECT_EQ(two, c.dc.GetTextExtent("表示", 4));
  EXPECT_EQ(c.dc.GetOutputTextExtent(CString("表示")), two);
  TEXTMETRICA tm = {};
  ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
  EXPECT_EQ(tm.tmHeight, one.cy);
  EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
  CString face;
  EXPECT_GT(c.dc.GetTextFace(face), 0);
  EXPECT_FALSE(face.IsEmpty());
}

TEST(Fonts, PointSizesBecomeLogicalHeights) {
  HDC hScreen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(hScreen, LOGPIXELSY);
  ::ReleaseDC(nullptr, hScreen);
  for (int tenths : {90, 120, 200}) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(tenths, "MS UI Gothic"));
    LOGFONTA lf = {};
    ASSERT_GT(font.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, -MulDiv(dpi, tenths, 720)) << tenths;
    EXPECT_STREQ(lf.lfFaceName, "MS UI Gothic");
  }
  // In a DC with its own mapping the height is in that DC's units (0.1 mm here).
  Canvas c(4, 4);
  c.dc.SetMapMode(MM_LOMETRIC);
  CFont big;
  big.CreatePointFont(720, "MS UI Gothic", &c.dc);
  LOGFONTA lf = {};
  big.GetLogFont(&lf);
  EXPECT_NEAR(lf.lfHeight, -254, 3);  // 72 pt = 1 inch

  CFont made;
  ASSERT_TRUE(made.CreateFont(-20, 0, 0, 0, FW_BOLD, TRUE, FALSE, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "ＭＳ ゴシック"));
  made.GetLogFont(&lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, TRUE);
  EXPECT_STREQ(lf.lfFaceName, "ＭＳ ゴシック");
  CFont copy;
  ASSERT_TRUE(copy.CreateFontIndirect(&lf));
  LOGFONTA lf2 = {};
  copy.GetLogFont(&lf2);
  EXPECT_EQ(memcmp(&lf, &lf2, sizeof(lf)), 0);
}

}  // namespace
