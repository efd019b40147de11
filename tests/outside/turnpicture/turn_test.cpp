// Turning one file: pixels (lossless JPEG, re-encoded JPEG, PNG, BMP, TIFF) and the Exif
// orientation alone, in place or as a copy, and failures that change nothing.
#include <Kitlib2/Profile.h>
#include <gtest/gtest.h>

#include <files.h>
#include <imaging/imaging.h>
#include <imaging/output.h>
#include <picturetool.h>
#include <profileroot.h>
#include <program.h>
#include <tempfolder.h>

#include <cstdlib>
#include <cstring>

#include "TurnRules.h"
#include "keptags.h"

using namespace imaging;

namespace {

Dib Decoded(const std::string& path, bool upright = true) {
  Dib d;
  DecodeOptions opt;
  opt.applyOrientation = upright;
  EXPECT_EQ(DecodeFile(path.c_str(), opt, &d), S_OK) << path;
  return d;
}

int OrientationOf(const std::string& path) {
  Exif exif;
  return exif.Load(path.c_str()) ? exif.Orientation() : -1;
}

bool Near(uint32_t a, uint32_t b) {
  for (int s = 0; s < 24; s += 8)
    if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > 48) return false;
  return true;
}

// The four corners (3 pixels in) agree.
void ExpectSameCorners(const Dib& got, const Dib& want) {
  ASSERT_EQ(got.Width(), want.Width());
  ASSERT_EQ(got.Height(), want.Height());
  int w = got.Width(), h = got.Height();
  for (POINT p : {POINT{3, 3}, POINT{w - 4, 3}, POINT{3, h - 4}, POINT{w - 4, h - 4}})
    EXPECT_TRUE(Near(got.Pixel(p.x, p.y), want.Pixel(p.x, p.y)))
        << "at " << p.x << "," << p.y << std::hex << ": " << got.Pixel(p.x, p.y) << " vs " << want.Pixel(p.x, p.y);
}

class Turn : public testsupport::ToolFilesTest {
 protected:
  // A JPEG whose size is no whole number of blocks, stored turned (orientation 6).
  std::string OddJpeg() {
    Dib d;
    d.Create(101, 67, 24);
    for (int y = 0; y < 67; ++y)
      for (int x = 0; x < 101; ++x)
        d.SetPixel(x, y, x < 50 ? (y < 33 ? 0xFF0000 : 0x0000FF) : (y < 33 ? 0x00FF00 : 0xFFFFFF));
    Exif exif;
    EXPECT_TRUE(exif.Load(testsupport::Fixture("quadrants.jpg").c_str()));
    std::vector<uint8_t> block = exif.Block(), bytes;
    EXPECT_EQ(EncodeJpeg(d, 95, &bytes, &block), S_OK);
    std::string path = dir_ + "\\odd.jpg";
    EXPECT_EQ(PlaceOutputFile(path.c_str(), bytes.data(), bytes.size(), true), S_OK);
    return path;
  }
};

}  // namespace

TEST(TurnSettings, StoredValuesOutOfRangeReadAsDefaults) {
  testsupport::ScopedProfileRoot root("turnsettings");
  struct Case {
    int rotation, exif, save;
    turnpicture::Settings want;
  } cases[] = {
      {90, 0, 1, {90, false, 1}}, {180, 1, 0, {180, true, 0}},  {270, 7, 2, {270, true, 2}},
      {45, 0, 3, {90, false, 0}}, {-90, 0, -1, {90, false, 0}},
  };
  for (const Case& c : cases) {
    CMWriteProfileInt(turnpicture::kSection, "Rotation", c.rotation);
    CMWriteProfileInt(turnpicture::kSection, "Exif", c.exif);
    CMWriteProfileInt(turnpicture::kSection, "SaveMode", c.save);
    turnpicture::Settings s = turnpicture::ReadSettings();
    EXPECT_EQ(s.rotation, c.want.rotation) << c.rotation;
    EXPECT_EQ(s.tagOnly, c.want.tagOnly) << c.exif;
    EXPECT_EQ(s.saveMode, c.want.saveMode) << c.save;
  }
}

TEST_F(Turn, PixelsTurnAndTheOrientationIsReset) {
  struct Case {
    const char* fixture;
    const char* name;
    int degrees;
    int orientationAfter;  // -1: no Exif to look at
  } cases[] = {
      // clang-format off
      {"quadrants.jpg", "q90.jpg", 90, 1},    // whole blocks: moved losslessly
      {"quadrants.jpg", "q180.jpg", 180, 1},
      {"quadrants.jpg", "q270.jpg", 270, 1},
      {nullptr, "odd.jpg", 90, 1},            // re-encoded
      {"image.bmp", "b.bmp", 90, -1},
      {"alpha.png", "a.png", 270, -1},
      {"exif.tif", "t.tif", 180, -1},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string src = c.fixture ? Copy(c.fixture, c.name) : OddJpeg();
    std::string before = testsupport::ReadWholeFile(src);
    Dib want;
    ASSERT_TRUE(Rotate(Decoded(src), c.degrees, &want));
    std::string out;
    ASSERT_EQ(turnpicture::TurnFile(src, c.degrees, false, false, &out), S_OK);
    EXPECT_EQ(out, src.substr(0, src.rfind('.')) + "_r" + src.substr(src.rfind('.')));
    EXPECT_TRUE(testsupport::ReadWholeFile(src) == before);  // a copy: the source as it was
    ExpectSameCorners(Decoded(out), want);
    if (c.orientationAfter >= 0) { EXPECT_EQ(OrientationOf(out), c.orientationAfter); }
  }
  // The Exif stays with the turned picture.
  Exif exif;
  ASSERT_TRUE(exif.Load((dir_ + "\\q90_r.jpg").c_str()));
  ASSERT_TRUE(exif.DateTimeOriginal());
  EXPECT_EQ(exif.DateTimeOriginal()->ToString(), "2022:05:05 05:05:05");
  EXPECT_TRUE(exif.HasThumbnail());
}

TEST_F(Turn, TagOnlyComposesTheOrientationAndKeepsThePixels) {
  struct Case {
    const char* fixture;
    const char* name;
    int degrees;
    int want;
  } cases[] = {
      {"quadrants.jpg", "q.jpg", 90, 3},  // 6 then a quarter turn: upside down
      {"quadrants.jpg", "q2.jpg", 270, 1},
      {"exif_noorient.jpg", "n.jpg", 90, 6},
      {"exif.tif", "t.tif", 90, 1},  // 8 then a quarter turn: upright
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string src = Copy(c.fixture, c.name);
    Dib stored = Decoded(src, false), shown = Decoded(src);
    std::string out;
    ASSERT_EQ(turnpicture::TurnFile(src, c.degrees, true, true, &out), S_OK);
    EXPECT_EQ(out, src);
    EXPECT_EQ(OrientationOf(src), c.want);
    Dib now = Decoded(src, false);
    ASSERT_EQ(now.BitsSize(), stored.BitsSize());
    EXPECT_EQ(memcmp(now.Bits(), stored.Bits(), now.BitsSize()), 0);
    Dib want;
    ASSERT_TRUE(Rotate(shown, c.degrees, &want));
    ExpectSameCorners(Decoded(src), want);
  }
  // A kind without the tag turns its pixels instead.
  std::string png = Copy("alpha.png", "p.png");
  std::string out;
  ASSERT_EQ(turnpicture::TurnFile(png, 90, true, false, &out), S_OK);
  EXPECT_EQ(Decoded(out).Width(), Decoded(png).Height());
}

// A turned copy keeps what its source says of the picture (Exif with GPS, XMP, IPTC): the
// JPEG's pixels encoded again (its size is no whole number of blocks), the TIFF and PNG
// decoded and written in their own kind, and the orientation tag turned alone.
TEST_F(Turn, EveryTagGoesAlong) {
  for (const char* fixture : {"all_tags.jpg", "all_tags.tif", "all_tags.png"})
    for (bool tagOnly : {false, true}) {
      SCOPED_TRACE(std::string(fixture) + (tagOnly ? " tag" : " pixels"));
      const std::string path = Copy(fixture, fixture);
      std::string out;
      ASSERT_EQ(turnpicture::TurnFile(path, 90, tagOnly, false, &out), S_OK);
      if (tagOnly && std::string(fixture) != "all_tags.png") {
        // The orientation alone changed.
        PictureMetadata before = ReadPictureMetadataFile(path.c_str()), after = ReadPictureMetadataFile(out.c_str());
        EXPECT_EQ(after.xmp, before.xmp);
        EXPECT_EQ(after.iptc, before.iptc);
        EXPECT_NE(OrientationOf(out), OrientationOf(path));
      } else {
        EXPECT_EQ(imgtest::LostTags(path, out), "");
      }
    }
}

TEST_F(Turn, InPlaceReplacesTheFileAndCopiesTakeFreeNames) {
  std::string src = Copy("quadrants.jpg", "pic.jpg");
  std::string out;
  ASSERT_EQ(turnpicture::TurnFile(src, 90, false, false, &out), S_OK);
  EXPECT_EQ(out, dir_ + "\\pic_r.jpg");
  ASSERT_EQ(turnpicture::TurnFile(src, 90, false, false, &out), S_OK);
  EXPECT_EQ(out, dir_ + "\\pic_r(2).jpg");
  Dib want;
  ASSERT_TRUE(Rotate(Decoded(src), 90, &want));
  ASSERT_EQ(turnpicture::TurnFile(src, 90, false, true, &out), S_OK);
  EXPECT_EQ(out, src);
  ExpectSameCorners(Decoded(src), want);
  EXPECT_EQ(OrientationOf(src), 1);
  EXPECT_EQ(testsupport::FileNamesIn(dir_), (std::vector<std::string>{"pic.jpg", "pic_r(2).jpg", "pic_r.jpg"}));
}

TEST_F(Turn, AFailureChangesNothingAndLeavesNoTemporaryFile) {
  std::string bad = Copy("not_image.jpg", "bad.jpg");
  std::string cut = Copy("cut_scan.jpg", "cut.jpg");
  std::string gif = Copy("image.gif", "g.gif");
  std::string locked = Copy("quadrants.jpg", "locked.jpg");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::vector<std::string> before = testsupport::FileNamesIn(dir_);
  struct Case {
    std::string path;
    bool tagOnly, inPlace;
  } cases[] = {
      {bad, false, true},
      {bad, true, false},
      {cut, false, true},
      {gif, false, false},
      {locked, false, true},
      {locked, true, true},
      {dir_ + "\\gone.jpg", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + (c.tagOnly ? " tag" : " pixels") + (c.inPlace ? " in place" : " copy"));
    std::string content = testsupport::ReadWholeFile(c.path), out = "?";
    EXPECT_TRUE(FAILED(turnpicture::TurnFile(c.path, 90, c.tagOnly, c.inPlace, &out)));
    EXPECT_EQ(out, "");
    EXPECT_TRUE(testsupport::ReadWholeFile(c.path) == content) << "the file changed";
    EXPECT_EQ(testsupport::FileNamesIn(dir_), before);
  }
  EXPECT_EQ(turnpicture::TurnFile(bad, 45, false, false, nullptr), E_INVALIDARG);
}
