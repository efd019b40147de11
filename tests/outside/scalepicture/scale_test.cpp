// The resize tool: the new size, scaled copies in each kind with the Exif kept, a picture
// already small copied as it is, failures that write nothing; the library's settings
// dialog (Cancel answers 2, refused values, the quality only for JPEG files).
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>

#include <files.h>
#include <imaging/imaging.h>
#include <picturetool.h>
#include <profileroot.h>
#include <tempfolder.h>

#include <commctrl.h>

#include "ScaleRules.h"
#include "keptags.h"
#include "uikit.h"

using scalepicture::Settings;

namespace {

Settings BySide(int side) {
  Settings s;
  s.longSide = side;
  return s;
}
Settings ByPercent(int p) {
  Settings s;
  s.byPercent = true;
  s.percent = p;
  return s;
}

imaging::DecodeReport Probe(const std::string& path) {
  imaging::Dib d;
  imaging::DecodeOptions opt;
  imaging::DecodeReport report;
  EXPECT_EQ(imaging::DecodeFile(path.c_str(), opt, &d, &report), S_OK) << path;
  return report;
}

class Scale : public testsupport::ToolFilesTest {};

}  // namespace

TEST(ScaleSize, LongSideOrPercentNeverEnlarged) {
  struct Case {
    int w, h;
    Settings s;
    LONG cx, cy;
  } cases[] = {
      {4000, 3000, BySide(1600), 1600, 1200},
      {3000, 4000, BySide(1600), 1200, 1600},
      {640, 480, BySide(1600), 640, 480},
      {1000, 3, BySide(100), 100, 1},
      {640, 480, ByPercent(50), 320, 240},
      {640, 480, ByPercent(100), 640, 480},
      {3, 3, ByPercent(1), 1, 1},
      {0, 480, ByPercent(50), 0, 0},
  };
  for (const Case& c : cases) {
    SIZE got = scalepicture::ScaledSize(c.w, c.h, c.s);
    EXPECT_EQ(got.cx, c.cx) << c.w << "x" << c.h;
    EXPECT_EQ(got.cy, c.cy) << c.w << "x" << c.h;
  }
}

TEST(ScaleSettings, StoredValuesOutOfRangeReadAsDefaults) {
  testsupport::ScopedProfileRoot root("scalesettings");
  CMWriteProfileInt(scalepicture::kSection, "LongSide", 5);
  CMWriteProfileInt(scalepicture::kSection, "Percent", 0);
  CMWriteProfileInt(scalepicture::kSection, "Quality", 101);
  CMWriteProfileInt(scalepicture::kSection, "ByPercent", 3);
  Settings s = scalepicture::ReadSettings();
  EXPECT_EQ(s.longSide, 1600);
  EXPECT_EQ(s.percent, 50);
  EXPECT_EQ(s.quality, 90);
  EXPECT_TRUE(s.byPercent);
  s.longSide = 800;
  scalepicture::WriteSettings(s);
  EXPECT_EQ(scalepicture::ReadSettings().longSide, 800);
}

TEST_F(Scale, CopiesAtTheNewSizeInTheirOwnKind) {
  struct Case {
    const char* fixture;
    Settings s;
    const char* name;  // of the copy
    imaging::ImageFormat format;
    int w, h;  // shown
  } cases[] = {
      {"quadrants.jpg", BySide(160), "quadrants_s.jpg", imaging::ImageFormat::Jpeg, 120, 160},
      {"big_nothumb.jpg", ByPercent(10), "big_nothumb_s.jpg", imaging::ImageFormat::Jpeg, 400, 300},
      {"image.bmp", ByPercent(50), "image_s.bmp", imaging::ImageFormat::Bmp, 32, 20},
      {"alpha.png", BySide(24), "alpha_s.png", imaging::ImageFormat::Png, 24, 16},
      {"exif.tif", BySide(48), "exif_s.tif", imaging::ImageFormat::Tiff, 32, 48},
      {"image.gif", ByPercent(50), "image_s.png", imaging::ImageFormat::Png, 24, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    std::string src = Copy(c.fixture, c.fixture), out;
    ASSERT_EQ(scalepicture::ScaleFile(src, c.s, &out), S_OK);
    EXPECT_EQ(out, dir_ + "\\" + c.name);
    imaging::DecodeReport r = Probe(out);
    EXPECT_EQ(r.info.format, c.format);
    EXPECT_EQ(r.info.DisplayWidth(), c.w);
    EXPECT_EQ(r.info.DisplayHeight(), c.h);
  }
  // The Exif goes along, upright.
  imaging::DecodeReport r = Probe(dir_ + "\\quadrants_s.jpg");
  EXPECT_EQ(r.exif.Orientation(), 1);
  ASSERT_TRUE(r.exif.DateTimeOriginal());
  EXPECT_EQ(r.exif.DateTimeOriginal()->ToString(), "2022:05:05 05:05:05");
  // The upper left quarter as shown (blue) stays upper left.
  imaging::Dib d;
  imaging::DecodeOptions opt;
  ASSERT_EQ(imaging::DecodeFile((dir_ + "\\quadrants_s.jpg").c_str(), opt, &d), S_OK);
  EXPECT_LT(d.Pixel(5, 5) & 0xFFFF00, 0x404000u);
  EXPECT_GT(d.Pixel(5, 5) & 0xFF, 0xC0u);
}

// A scaled copy keeps what its source says of the picture (Exif with GPS, XMP, IPTC).
TEST_F(Scale, EveryTagGoesAlong) {
  for (const char* fixture : {"all_tags.jpg", "all_tags.tif", "all_tags.png"}) {
    SCOPED_TRACE(fixture);
    const std::string path = Copy(fixture, fixture);
    std::string out;
    ASSERT_EQ(scalepicture::ScaleFile(path, BySide(40), &out), S_OK);
    EXPECT_EQ(imgtest::LostTags(path, out), "");
  }
}

TEST_F(Scale, APictureAlreadySmallIsCopiedAsItIs) {
  std::string src = Copy("exif_le.jpg", "le.jpg"), out;
  ASSERT_EQ(scalepicture::ScaleFile(src, BySide(4000), &out), S_OK);
  EXPECT_TRUE(testsupport::ReadWholeFile(out) == testsupport::ReadWholeFile(src));
  ASSERT_EQ(scalepicture::ScaleFile(src, BySide(4000), &out), S_OK);
  EXPECT_EQ(out, dir_ + "\\le_s(2).jpg");
}

TEST_F(Scale, AFailureWritesNothing) {
  std::string bad = Copy("not_image.jpg", "bad.jpg");
  std::vector<std::string> before = testsupport::FileNamesIn(dir_);
  std::string out = "?";
  EXPECT_TRUE(FAILED(scalepicture::ScaleFile(bad, BySide(100), &out)));
  EXPECT_TRUE(FAILED(scalepicture::ScaleFile(dir_ + "\\gone.jpg", BySide(100), &out)));
  EXPECT_EQ(out, "");
  EXPECT_EQ(testsupport::FileNamesIn(dir_), before);
}

TEST_F(Scale, LibrarySettingsCancelAndRefusedValues) {
  testsupport::PictureToolLibrary tool("ScalePicture.dll", "ScalePicture");
  ASSERT_TRUE(tool.Bound());
  std::string a = Copy("quadrants.jpg", "a.jpg"), b = Copy("image.bmp", "b.bmp");
  {
    uikit::DialogDriver driver([](HWND h) { uikit::Press(h, IDCANCEL); });
    EXPECT_EQ(tool.Call(a, 1), 2);
  }
  EXPECT_EQ(testsupport::FileNamesIn(dir_), (std::vector<std::string>{"a.jpg", "b.bmp"}));

  // Without a JPEG file the quality is no choice; a long side of 5 is refused (the box
  // opens inside the OK press), then 100 taken.
  CMWriteProfileInt(scalepicture::kSection, "Slider", 0);
  bool qualityEnabled = true, stillOpen = false;
  std::string refusal;
  uikit::DialogDriver driver({[&](HWND h) {
                                qualityEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDC_SCALE_QUALITY)) != FALSE;
                                uikit::Picture(h).Save("scalepicture_settings");
                                uikit::Press(h, IDC_SCALE_BY_SIDE);
                                ::SetDlgItemTextA(h, IDC_SCALE_SIDE, "5");
                                uikit::Press(h, IDOK);
                                stillOpen = ::IsWindowVisible(h) != FALSE;
                                ::SetDlgItemTextA(h, IDC_SCALE_SIDE, "100");
                                uikit::Press(h, IDOK);
                              },
                              [&](HWND h) {
                                refusal = uikit::StaticTexts(h);
                                uikit::Press(h, IDOK);
                              }});
  std::string out1, out2;
  EXPECT_EQ(tool.Call(b, 1, &out1), 1);
  EXPECT_EQ(tool.Call(a, 0, &out2), 1);
  EXPECT_EQ(driver.Ran(), 2);
  EXPECT_FALSE(qualityEnabled);
  EXPECT_TRUE(stillOpen);
  EXPECT_NE(refusal.find("10000"), std::string::npos) << refusal;
  EXPECT_EQ(out1, dir_ + "\\b_s.bmp");
  EXPECT_EQ(out2, dir_ + "\\a_s.jpg");
  EXPECT_EQ(Probe(out2).info.DisplayHeight(), 100);
  EXPECT_EQ(CMGetProfileInt(scalepicture::kSection, "LongSide", 0), 100);
  EXPECT_EQ(std::string(CMGetProfileString("Tool1", "FirstPath", "")), out1);
}
