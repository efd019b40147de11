// The image object on the generated fixtures: loading, sizes, metadata, filters, saving.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>

#include <cstring>
#include <ctime>
#include <string>

#include "test_folder.h"

namespace {

const char kFull[] = "testdata\\exif_full.jpg";          // 640 x 480, orientation 6, GPS N/E, thumbnail
const char kLe[] = "testdata\\exif_le.jpg";              // 360 x 240, orientation 3, maker note, altitude
const char kQuadrants[] = "testdata\\quadrants.jpg";     // red lime / blue white, orientation 6
const char kPlain[] = "testdata\\plain.jpg";             // no Exif
const char kComment[] = "testdata\\exif_comment.jpg";    // only ModifyDate and a Unicode comment

// Pixel (x, y) from the top of a bottom-up 24/32-bit picture, as 0xRRGGBB.
DWORD Pixel(CCMDIB& d, int x, int y) {
  int bpp = d.GetBitCount() / 8;
  int stride = (d.GetWidth() * bpp + 3) & ~3;
  const BYTE* p = d.GetBitsAddress() + (d.GetHeight() - 1 - y) * stride + x * bpp;
  return (p[2] << 16) | (p[1] << 8) | p[0];
}

// Colour classes that survive JPEG: 'R', 'G', 'B', 'W', 'K' or '?'.
char ColourOf(DWORD rgb) {
  int r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
  if (r > 200 && g > 200 && b > 200) return 'W';
  if (r < 50 && g < 50 && b < 50) return 'K';
  if (r > 180 && g < 80 && b < 80) return 'R';
  if (g > 180 && r < 80 && b < 80) return 'G';
  if (b > 180 && r < 80 && g < 80) return 'B';
  return '?';
}

TEST(CMDIB, LoadsAsStoredOrUpright) {
  CCMDIB d;
  EXPECT_TRUE(d.IsEmpty());
  EXPECT_EQ(d.GetBitsAddress(), nullptr);
  ASSERT_EQ(d.Load(kFull, 0), 0);
  EXPECT_EQ(d.GetWidth(), 640);
  EXPECT_EQ(d.GetHeight(), 480);
  EXPECT_EQ(d.GetBitCount(), 24);
  EXPECT_EQ(d.GetBitmapInfoAddress()->bmiHeader.biHeight, 480);  // bottom-up
  EXPECT_EQ(d.GetBitsSize(), 640u * 3 * 480);
  EXPECT_EQ(CCMDIB::GetOrientationInfo(kFull, nullptr, 0), 6);
  ASSERT_EQ(d.RotationFilter2(6, nullptr), 0);
  EXPECT_EQ(d.GetDimensions().cx, 480);
  EXPECT_EQ(d.GetDimensions().cy, 640);

  CCMDIB up;
  ASSERT_EQ(up.Load(kFull, CMDIB_LOAD_UPRIGHT), 0);
  EXPECT_EQ(up.GetWidth(), 480);
  CCMDIB thumb;
  ASSERT_EQ(thumb.Load(kFull, CMDIB_LOAD_THUMBNAIL), 0);
  EXPECT_LE(thumb.GetWidth(), 160);

  for (const char* f : {"testdata\\image.png", "testdata\\image.bmp", "testdata\\image.gif", "testdata\\exif.tif"}) {
    CCMDIB o;
    EXPECT_EQ(o.Load(f, 0), 0) << f;
    EXPECT_FALSE(o.IsEmpty()) << f;
  }
  d.Empty();
  EXPECT_TRUE(d.IsEmpty());
}

TEST(CMDIB, OrientationTurnsThePixels) {
  CCMDIB d;
  ASSERT_EQ(d.Load(kQuadrants, 0), 0);
  ASSERT_EQ(d.GetWidth(), 320);
  EXPECT_EQ(ColourOf(Pixel(d, 40, 30)), 'R');
  EXPECT_EQ(ColourOf(Pixel(d, 280, 30)), 'G');
  EXPECT_EQ(ColourOf(Pixel(d, 40, 210)), 'B');
  ASSERT_EQ(d.RotationFilter2(CCMDIB::GetOrientationInfo(kQuadrants), nullptr), 0);
  ASSERT_EQ(d.GetWidth(), 240);
  // Orientation 6 is shown turned a quarter clockwise: blue comes to the top left.
  EXPECT_EQ(ColourOf(Pixel(d, 30, 40)), 'B');
  EXPECT_EQ(ColourOf(Pixel(d, 210, 40)), 'R');
  EXPECT_EQ(ColourOf(Pixel(d, 210, 280)), 'G');
  CCMDIB r;
  ASSERT_EQ(d.RotationFilter(180, &r), 0);
  EXPECT_EQ(ColourOf(Pixel(r, 210, 280)), 'B');
  EXPECT_EQ(d.RotationFilter(45, nullptr), E_INVALIDARG);
  EXPECT_EQ(d.RotationFilter2(9, nullptr), E_INVALIDARG);
  CCMDIB f;
  ASSERT_EQ(d.FlipFilter(TRUE, FALSE, &f), 0);
  EXPECT_EQ(ColourOf(Pixel(f, 210, 40)), 'B');
  CCMDIB t;
  RECT topLeft = {0, 0, 120, 160};
  ASSERT_EQ(d.TrimFilter(topLeft, &t), 0);
  EXPECT_EQ(t.GetWidth(), 120);
  EXPECT_EQ(ColourOf(Pixel(t, 60, 80)), 'B');
}

TEST(CMDIB, ResizeModesOfTheCallers) {
  CCMDIB up;
  ASSERT_EQ(up.Load(kFull, CMDIB_LOAD_UPRIGHT), 0);  // 480 x 640
  CCMDIB cell;
  ASSERT_EQ(up.ResizeFilter(SIZE{80, 60}, &cell, 17), 0);  // list thumbnail cell
  EXPECT_EQ(cell.GetWidth(), 80);
  EXPECT_EQ(cell.GetHeight(), 60);
  EXPECT_EQ(ColourOf(Pixel(cell, 2, 30)), 'W');
  EXPECT_NE(ColourOf(Pixel(cell, 40, 30)), 'W');
  CCMDIB view;
  ASSERT_EQ(up.ResizeFilter(SIZE{300, 300}, &view, 33), 0);  // fitted into a view
  EXPECT_EQ(view.GetWidth(), 225);
  EXPECT_EQ(view.GetHeight(), 300);
  CCMDIB exact;
  ASSERT_EQ(up.ResizeFilter(SIZE{100, 50}, &exact, 32), 0);
  EXPECT_EQ(exact.GetDimensions().cx, 100);
  EXPECT_EQ(exact.GetDimensions().cy, 50);
  EXPECT_EQ(up.ResizeFilter(SIZE{0, 50}, &exact, 32), E_INVALIDARG);

  // A small icon stays small in its white cell.
  CCMDIB icon;
  ASSERT_EQ(icon.GetIconFromFile("C:\\x\\readme.txt", 32, 32), 0);
  EXPECT_EQ(icon.GetWidth(), 32);
  EXPECT_EQ(icon.GetBitCount(), 24);
  ASSERT_EQ(icon.ResizeFilter(SIZE{80, 60}, nullptr, 17), 0);
  EXPECT_EQ(icon.GetWidth(), 80);
  EXPECT_EQ(ColourOf(Pixel(icon, 2, 2)), 'W');

  // Face images: exactly 640 x 480, upright, fitted on black.
  CCMDIB face;
  ASSERT_EQ(face.ResizeAndRotate(kFull, SIZE{640, 480}, 4), 0);
  EXPECT_EQ(face.GetWidth(), 640);
  EXPECT_EQ(face.GetHeight(), 480);
  EXPECT_EQ(ColourOf(Pixel(face, 10, 240)), 'K');
  EXPECT_NE(ColourOf(Pixel(face, 320, 240)), 'K');
  EXPECT_LT(face.ResizeAndRotate("testdata\\missing.jpg", SIZE{640, 480}, 4), 0);
  CCMDIB empty;
  EXPECT_LT(empty.ResizeFilter(SIZE{10, 10}, nullptr, 17), 0);
}

TEST(CMDIB, RecolourCopyAndBitmaps) {
  CCMDIB d;
  ASSERT_EQ(d.Load("testdata\\image.bmp", 0), 0);
  CCMDIB d32;
  ASSERT_EQ(d.RecolorFilter(32, &d32), 0);
  EXPECT_EQ(d32.GetBitCount(), 32);
  ASSERT_EQ(d32.RecolorFilter(24, nullptr), 0);
  EXPECT_EQ(d32.GetBitCount(), 24);
  EXPECT_EQ(d.RecolorFilter(16, nullptr), E_INVALIDARG);

  CCMDIB copy(d);
  d.Empty();
  EXPECT_EQ(copy.GetWidth(), 64);  // a deep copy

  HDC screen = GetDC(nullptr);
  HBITMAP bmp = copy.CreateBitmap(screen);
  ASSERT_TRUE(bmp);
  BITMAP bm = {};
  GetObjectA(bmp, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 64);
  EXPECT_EQ(bm.bmHeight, 40);
  CCMDIB back;
  EXPECT_TRUE(back.SetBitmap(bmp));
  EXPECT_EQ(back.GetHeight(), 40);
  DeleteObject(bmp);
  ReleaseDC(nullptr, screen);

  // A palette DIB comes in as 24 bits.
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD pal[2];
    DWORD bits[2];
  } mono = {{sizeof(BITMAPINFOHEADER), 2, 2, 1, 1, BI_RGB}, {{0, 0, 0, 0}, {255, 255, 255, 0}}, {0x80000000, 0x40000000}};
  CCMDIB m;
  ASSERT_TRUE(m.SetDIB(reinterpret_cast<BITMAPINFO*>(&mono)));
  EXPECT_EQ(m.GetBitCount(), 24);
  EXPECT_EQ(m.GetWidth(), 2);
}

TEST(CMDIB, DrawingIntoADeviceContext) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 200, 100);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT all = {0, 0, 200, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(CCMDIB::DrawFile(dc, all, kQuadrants), 0);
  // Upright and fitted: a 75 x 100 picture in the middle, white at the sides.
  EXPECT_EQ(GetPixel(dc, 5, 50), RGB(255, 255, 255));
  COLORREF c = GetPixel(dc, 85, 20);
  EXPECT_EQ(ColourOf((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)), 'B');
  EXPECT_LT(CCMDIB::DrawFile(dc, all, "testdata\\not_image.jpg"), 0);

  CCMDIB d;
  ASSERT_EQ(d.Load("testdata\\image.bmp", 0), 0);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_TRUE(d.DrawFit(dc, all, FALSE));
  RECT r = CCMDIB::FitRect(SIZE{64, 40}, all, FALSE);
  EXPECT_EQ(r.left, 68);
  EXPECT_EQ(r.top, 30);
  EXPECT_NE(GetPixel(dc, 100, 50), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 10, 50), RGB(255, 255, 255));
  EXPECT_TRUE(d.Draw(dc, 0, 0));
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST(CMDIB, SaveAndReload) {
  TestFolder dir("cmdib-save");
  CCMDIB d;
  ASSERT_EQ(d.Load(kFull, CMDIB_LOAD_UPRIGHT), 0);
  ASSERT_EQ(d.SaveJPEG((dir / "a.jpg").c_str(), 90), 0);
  ASSERT_EQ(d.SaveBMP((dir / "a.bmp").c_str()), 0);
  ASSERT_EQ(d.Save((dir / "a.png").c_str(), CMDIB_SAVE_PNG), 0);
  ASSERT_EQ(d.Save((dir / "exif.jpg").c_str(), CMDIB_SAVE_JPEG_KEEPEXIF, 80), 0);
  EXPECT_EQ(d.Save((dir / "x.xyz").c_str(), 99), E_INVALIDARG);
  for (const char* f : {"a.jpg", "a.bmp", "a.png", "exif.jpg"}) {
    CCMDIB r;
    ASSERT_EQ(r.Load((dir / f).c_str(), 0), 0) << f;
    EXPECT_EQ(r.GetWidth(), 480) << f;
    EXPECT_EQ(r.GetHeight(), 640) << f;
  }
  // The kept Exif still dates the picture and no longer turns it.
  SYSTEMTIME st;
  EXPECT_EQ(CCMDIB::GetDateTimeOriginal((dir / "exif.jpg").c_str(), &st), 0);
  EXPECT_EQ(st.wYear, 2026);
  EXPECT_EQ(CCMDIB::GetOrientationInfo((dir / "exif.jpg").c_str()), 1);
  EXPECT_LT(CCMDIB::GetDateTimeOriginal((dir / "a.jpg").c_str(), &st), 0);
  CCMDIB empty;
  EXPECT_LT(empty.SaveJPEG((dir / "none.jpg").c_str()), 0);
  EXPECT_FALSE(dir.Exists("none.jpg"));
}

TEST(CMDIB, CaptureDatesAndFileTimes) {
  int y = 0, m = 0, d = 0;
  SYSTEMTIME st;
  EXPECT_EQ(CCMDIB::GetTime(kFull, &y, &m, &d, &st), 0);
  EXPECT_EQ(y, 2026);
  EXPECT_EQ(m, 3);
  EXPECT_EQ(d, 14);
  EXPECT_EQ(st.wHour, 9);
  EXPECT_EQ(st.wMinute, 12);
  EXPECT_EQ(CCMDIB::GetTime(kPlain, &y, &m, &d), 1);
  EXPECT_EQ(y, -1);
  EXPECT_LT(CCMDIB::GetTime("testdata\\missing.jpg", &y, &m, &d), 0);
  EXPECT_EQ(y, -1);
  // A movie's recording time (UTC in the file) as local time.
  EXPECT_EQ(CCMDIB::GetTime("testdata\\movie.mov", &y, &m, &d), 0);
  EXPECT_EQ(y, 2024);
  EXPECT_EQ(m, 5);

  long t1 = 0, t2 = 0, t3 = 0;
  EXPECT_EQ(CCMDIB::GetTime(kFull, &t1, &t2, &t3, nullptr), 0);
  struct tm want = {5, 12, 9, 14, 2, 2026 - 1900};
  want.tm_isdst = -1;
  EXPECT_EQ(t1, static_cast<long>(mktime(&want)));
  EXPECT_NE(t2, -1);
  EXPECT_NE(t3, -1);
  EXPECT_EQ(CCMDIB::GetTime(kPlain, &t1, &t2, &t3, nullptr), 1);
  EXPECT_EQ(t1, -1);
  EXPECT_NE(t2, -1);

  EXPECT_EQ(CCMDIB::GetDateTimeOriginal(kLe, &st), 0);
  EXPECT_EQ(st.wHour, 18);
  EXPECT_EQ(st.wMilliseconds, 250);
  EXPECT_EQ(CCMDIB::GetDateTimeOriginal(kComment, &st), 1);  // only the modification date
  EXPECT_EQ(st.wYear, 2020);
  EXPECT_LT(CCMDIB::GetDateTimeOriginal(kPlain, &st), 0);

  SYSTEMTIME u = CCMDIB::GetUpdateTime(kFull);  // the fixture's time stamp is its capture time
  EXPECT_EQ(u.wYear, 2026);
  EXPECT_EQ(u.wMonth, 3);
  EXPECT_EQ(CCMDIB::GetUpdateTime("testdata\\missing.jpg").wYear, 0);
}

TEST(CMDIB, ExifValuesGpsAndComments) {
  CMEXIFINFO e;
  ASSERT_EQ(CCMDIB::GetExif(kFull, &e), 0);
  EXPECT_STREQ(e.szMake, "Norvane");
  EXPECT_STREQ(e.szModel, "NV-D500");
  EXPECT_EQ(e.nOrientation, 6);
  EXPECT_TRUE(e.bHasDateTimeOriginal);
  EXPECT_TRUE(e.bHasGps);
  EXPECT_NEAR(e.dLatitude, 35.6586, 1e-4);
  EXPECT_NEAR(e.dLongitude, 139.7454, 1e-4);
  EXPECT_TRUE(e.bHasThumbnail);

  ASSERT_EQ(CCMDIB::GetExif("testdata\\exif_south_west.jpg", &e), 0);
  EXPECT_NEAR(e.dLatitude, -33.8568, 1e-4);
  EXPECT_NEAR(e.dLongitude, -151.2153, 1e-4);

  ASSERT_EQ(CCMDIB::GetExif(kLe, &e), 0);
  EXPECT_EQ(e.nIsoSpeed, 400);
  EXPECT_EQ(e.nFlash, 16);
  EXPECT_NEAR(e.dFNumber, 5.6, 1e-6);
  EXPECT_NEAR(e.dExposureTime, 1.0 / 250, 1e-9);
  EXPECT_TRUE(e.bHasAltitude);
  EXPECT_NEAR(e.dAltitude, -35.5, 1e-6);
  EXPECT_EQ(e.nPixelWidth, 360);

  ASSERT_EQ(CCMDIB::GetExif(kComment, &e), 0);
  EXPECT_STREQ(e.szTextUtf8, u8"日本語コメント");
  char sjis[128];
  ASSERT_EQ(CCMDIB::UTF8toSJIS(e.szTextUtf8, sjis, sizeof(sjis)), 0);
  EXPECT_STREQ(sjis, "日本語コメント");  // this literal is compiled to Shift-JIS

  EXPECT_LT(CCMDIB::GetExif(kPlain, &e), 0);
  EXPECT_EQ(e.nFlash, -1);
  BOOL has = TRUE;
  EXPECT_EQ(CCMDIB::IsExif(kPlain, &has), 0);
  EXPECT_FALSE(has);
  EXPECT_EQ(CCMDIB::IsExif(kFull, &has), 0);
  EXPECT_TRUE(has);
  EXPECT_EQ(CCMDIB::GetPimInfo(kFull), CMDIB_PIM_EXIF | CMDIB_PIM_THUMBNAIL);
  EXPECT_EQ(CCMDIB::GetPimInfo(kPlain), 0);
  EXPECT_EQ(CCMDIB::GetOrientationInfo(kPlain), 0);
  EXPECT_LT(CCMDIB::GetOrientationInfo("testdata\\missing.jpg"), 0);
}

TEST(CMDIB, UnicodeTextsIntoTheCodePage) {
  char out[8];
  EXPECT_EQ(CCMDIB::UTF8toSJIS("", out, sizeof(out)), 0);
  EXPECT_STREQ(out, "");
  EXPECT_LT(CCMDIB::UTF8toSJIS("\xC3\x28", out, sizeof(out)), 0);        // broken UTF-8
  EXPECT_LT(CCMDIB::UTF8toSJIS("\xF0\x9F\x98\x80", out, sizeof(out)), 0);  // an emoji code page 932 lacks
  EXPECT_LT(CCMDIB::UTF8toSJIS(u8"日本語テキスト", out, sizeof(out)), 0);   // does not fit 8 bytes
  EXPECT_EQ(CCMDIB::UTF8toSJIS("abc", out, sizeof(out)), 0);
  EXPECT_STREQ(out, "abc");
}

TEST(CMDIB, MakerNoteOfTheCamera) {
  BYTE value[20] = {};
  UINT read = 0;
  ASSERT_EQ(CCMDIB::GetExifMakerValue(kLe, "Norvane", 59, value, sizeof(value), &read), 0);
  EXPECT_EQ(read, 4u);
  EXPECT_EQ(*reinterpret_cast<int*>(value), 2);
  ASSERT_EQ(CCMDIB::GetExifMakerValue(kLe, "norvane", 62, value, sizeof(value), &read), 0);
  EXPECT_EQ(*reinterpret_cast<int*>(value), 7);
  EXPECT_LT(CCMDIB::GetExifMakerValue(kLe, "Norvane", 99, value, sizeof(value), &read), 0);
  EXPECT_LT(CCMDIB::GetExifMakerValue(kLe, "Other", 59, value, sizeof(value), &read), 0);
  EXPECT_LT(CCMDIB::GetExifMakerValue(kFull, "Norvane", 59, value, sizeof(value), &read), 0);
  EXPECT_EQ(read, 0u);

  CWordArray tags;
  CDWordArray values;
  tags.Add(59);
  tags.Add(62);
  EXPECT_EQ(CCMDIB::GetMakerNoteValue(kLe, "Norvane", tags, values), 2);
  ASSERT_EQ(values.GetSize(), 2);
  EXPECT_EQ(values[0], 2u);
  EXPECT_EQ(values[1], 7u);
  tags.InsertAt(1, static_cast<WORD>(31));  // a missing tag ends the values
  EXPECT_EQ(CCMDIB::GetMakerNoteValue(kLe, "Norvane", tags, values), 1);
  EXPECT_LT(CCMDIB::GetMakerNoteValue(kPlain, "Norvane", tags, values), 0);
  EXPECT_EQ(values.GetSize(), 0);
}

TEST(CMDIB, SupportAndFrameFormats) {
  for (const char* f : {kFull, "testdata\\image.png", "testdata\\image.bmp", "testdata\\exif.tif", "testdata\\movie.mp4"})
    EXPECT_TRUE(CCMDIB::IsSupported(f)) << f;
  for (const char* f : {"testdata\\not_image.jpg", "testdata\\tone.mp3", "testdata\\missing.jpg"})
    EXPECT_FALSE(CCMDIB::IsSupported(f)) << f;

  BITMAPINFOHEADER h;
  CString codec;
  ASSERT_EQ(CCMDIB::GetInfo(kFull, &h, &codec), 0);
  EXPECT_EQ(h.biWidth, 640);
  EXPECT_EQ(h.biHeight, 480);
  EXPECT_EQ(h.biBitCount, 24);
  EXPECT_STREQ(codec, "JPEG");
  ASSERT_EQ(CCMDIB::GetInfo("testdata\\movie.mp4", &h, &codec), 0);
  EXPECT_EQ(h.biWidth, 640);
  EXPECT_EQ(h.biHeight, 360);
  EXPECT_EQ(h.biCompression, static_cast<DWORD>(MAKEFOURCC('a', 'v', 'c', '1')));
  EXPECT_STREQ(codec, "avc1");
  EXPECT_EQ(CCMDIB::GetInfo("testdata\\tone.mp3", &h, &codec), static_cast<long>(0x8007065E));
  BYTE small[8];
  EXPECT_EQ(CCMDIB::GetInfo(kFull, small, sizeof(small), &codec), E_INVALIDARG);
  BYTE buf[64];
  EXPECT_EQ(CCMDIB::GetInfo(kFull, buf, sizeof(buf), nullptr), 0);
}

TEST(CMDIB, BrokenFilesAndMovies) {
  CCMDIB d;
  EXPECT_LT(d.Load("testdata\\not_image.jpg", 0), 0);
  EXPECT_TRUE(d.IsEmpty());
  EXPECT_EQ(d.Load("testdata\\missing.jpg", 0), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(d.Load(nullptr, 0), E_INVALIDARG);
  d.Load("testdata\\cut_scan.jpg", 0);  // whatever it answers, it answers
  d.Load("testdata\\bad_offsets.jpg", 0);
  CMEXIFINFO e;
  CCMDIB::GetExif("testdata\\bad_offsets.jpg", &e);
  CCMDIB::GetExif("testdata\\cut_exif.jpg", &e);
  // A movie loads as one of its frames.
  EXPECT_EQ(d.Load("testdata\\movie.mp4", 0), 1);
  EXPECT_EQ(d.GetWidth(), 640);
  EXPECT_EQ(d.GetHeight(), 360);
}

}  // namespace

// A load for a size: fitted as shown (never enlarged), upright when asked, the same for
// other formats; a negative box or a missing file fails and leaves the object as it was.
TEST(CMDIB, LoadFitForASize) {
  struct {
    const char* file;
    SIZE box;
    int flags, cx, cy;
  } cases[] = {
      {"testdata\\big_nothumb.jpg", {1280, 1024}, 0, 1280, 960},
      {kQuadrants, {120, 160}, CMDIB_LOAD_UPRIGHT, 120, 160},  // shown 240 x 320
      {kQuadrants, {160, 120}, 0, 160, 120},                   // as stored
      {kPlain, {2000, 2000}, 0, 320, 240},
      {"testdata\\image.png", {100, 100}, 0, 100, 75},
      {"testdata\\big_nothumb.jpg", {0, 0}, 0, 4000, 3000},    // no box: the whole picture
  };
  for (auto& c : cases) {
    CCMDIB d;
    ASSERT_EQ(d.LoadFit(c.file, c.box, c.flags), 0) << c.file;
    EXPECT_EQ(d.GetWidth(), c.cx) << c.file << " " << c.box.cx;
    EXPECT_EQ(d.GetHeight(), c.cy) << c.file << " " << c.box.cx;
  }
  CCMDIB up;
  ASSERT_EQ(up.LoadFit(kQuadrants, SIZE{60, 80}, CMDIB_LOAD_UPRIGHT), 0);
  std::string corners = {ColourOf(Pixel(up, 4, 4)), ColourOf(Pixel(up, 55, 4)), ColourOf(Pixel(up, 55, 75)),
                         ColourOf(Pixel(up, 4, 75))};
  EXPECT_EQ(corners, "BRGW");
  EXPECT_LT(up.LoadFit(kPlain, SIZE{-1, 10}, 0), 0);
  EXPECT_LT(up.LoadFit("testdata\\no_such.jpg", SIZE{10, 10}, 0), 0);
  EXPECT_EQ(up.GetWidth(), 60);
}
