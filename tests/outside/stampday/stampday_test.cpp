// StampDay.dll: the date drawn into the chosen corner of a copy, the source untouched, the
// Exif carried over, and each failure answered with its code.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <StampDay/StampDay.h>
#include <imaging/com.h>
#include <imaging/decode.h>
#include <library.h>
#include <profileroot.h>

#include <array>
#include <cstdlib>

#include "fixtures.h"
#include "keptags.h"

using imgtest::ReadAll;
using imgtest::ScratchCopy;
using imgtest::ScratchDir;

namespace {

typedef int(WINAPI* PFN_IS_DATE_TIME)(LPCSTR lpszPath);
typedef int(WINAPI* PFN_STAMP_DAY)(LPCSTR lpszSource, LPCSTR lpszOutput, int nOption);

struct Library {
  testsupport::LoadedLibrary dll{"StampDay.dll"};
  PFN_IS_DATE_TIME isDateTime = dll.Export<PFN_IS_DATE_TIME>("IsDateTime");
  PFN_STAMP_DAY stamp = dll.Export<PFN_STAMP_DAY>("StampDayTimeImage");
};

imaging::Dib Upright(const std::string& path) {
  imaging::DecodeOptions options;
  options.topDown = true;
  imaging::Dib d;
  EXPECT_EQ(imaging::DecodeFile(path.c_str(), options, &d), S_OK) << path;
  return d;
}

// Pixels that differ clearly between two pictures of one size, counted per quarter
// (0 upper left, 1 upper right, 2 lower left, 3 lower right).
std::array<int, 4> ChangedPerQuarter(const imaging::Dib& a, const imaging::Dib& b) {
  std::array<int, 4> n = {};
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      uint32_t p = a.Pixel(x, y), q = b.Pixel(x, y);
      int d = 0;
      for (int s = 0; s < 24; s += 8) d += std::abs(int((p >> s) & 255) - int((q >> s) & 255));
      if (d > 120) ++n[(y >= a.Height() / 2 ? 2 : 0) + (x >= a.Width() / 2 ? 1 : 0)];
    }
  return n;
}

}  // namespace

TEST(StampDay, DateDrawnIntoTheChosenCornerOfACopy) {
  testsupport::ScopedProfileRoot profile("stampday");
  CMWriteProfileInt("Tool1\\StampDay", "Quality", 500);  // out of range: the default serves
  Library lib;
  ASSERT_TRUE(lib.stamp);
  // Corner (the option) -> the quarter it lands in.
  const struct {
    const char* fixture;
    const char* output;
    int corner;
    int quarter;
  } cases[] = {
      {"exif_full.jpg", "full_lr.jpg", stampday::kLowerRight, 3},  // stored turned (orientation 6)
      {"exif_full.jpg", "full_ul.jpg", stampday::kUpperLeft, 0},
      {"exif_nothumb.jpg", "nothumb_ll.bmp", stampday::kLowerLeft, 2},
      {"exif_nothumb.jpg", "nothumb_ur.png", stampday::kUpperRight, 1},
      {"exif_nothumb.jpg", "nothumb_ll.tif", stampday::kLowerLeft, 2},
      {"exif_nothumb.jpg", "nothumb_bad.jpg", 17, 3},  // an unknown corner: lower right
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    std::string source = ScratchCopy(c.fixture, ("src_" + std::to_string(++n) + ".jpg").c_str());
    const std::vector<uint8_t> before = ReadAll(source);
    std::string output = ScratchDir() + "\\" + c.output;
    ASSERT_EQ(lib.stamp(source.c_str(), output.c_str(), c.corner), 0);
    EXPECT_EQ(ReadAll(source), before);
    imaging::Dib original = Upright(source), stamped = Upright(output);
    ASSERT_EQ(stamped.Width(), original.Width());
    ASSERT_EQ(stamped.Height(), original.Height());
    std::array<int, 4> changed = ChangedPerQuarter(original, stamped);
    for (int q = 0; q < 4; ++q) {
      if (q == c.quarter)
        EXPECT_GT(changed[q], 200) << "quarter " << q;
      else
        EXPECT_LT(changed[q], 20) << "quarter " << q;
    }
    if (imaging::FormatFromExtension(output.c_str()) == imaging::ImageFormat::Jpeg) {
      imaging::Exif in, out;
      ASSERT_TRUE(in.Load(source.c_str()));
      ASSERT_TRUE(out.Load(output.c_str()));
      EXPECT_EQ(out.DateTimeOriginal()->ToString(), in.DateTimeOriginal()->ToString());
      EXPECT_EQ(out.Model(), in.Model());
      EXPECT_EQ(out.Gps().has_value(), in.Gps().has_value());
      EXPECT_TRUE(out.Orientation() == 0 || out.Orientation() == 1);  // the pixels stand upright now
    }
  }
}

// A stamped copy keeps what its source says of the picture (Exif with GPS, XMP, IPTC) in
// every kind it may be written as.
TEST(StampDay, EveryTagGoesAlong) {
  testsupport::ScopedProfileRoot profile("stampday");
  imaging::ComScope com;
  const std::string dir = ScratchDir();
  for (const char* fixture : {"all_tags.jpg", "all_tags.tif"})
    for (const char* ext : {".jpg", ".tif", ".png", ".bmp"}) {
      SCOPED_TRACE(std::string(fixture) + " to " + ext);
      const std::string out = dir + "\\stamped_" + std::string(fixture).replace(8, 1, "_") + ext;
      ASSERT_EQ(stampday::StampFile(testsupport::Fixture(fixture).c_str(), out.c_str(), stampday::kLowerRight,
                                    stampday::Settings()),
                stampday::kDone);
      EXPECT_EQ(imgtest::LostTags(testsupport::Fixture(fixture), out), "");
    }
}

TEST(StampDay, FirstOutputReported) {
  testsupport::ScopedProfileRoot profile("stampday");
  Library lib;
  ASSERT_TRUE(lib.stamp);
  CMWriteProfileString("Tool1", "FirstPath", "");
  std::string source = ScratchCopy("exif_nothumb.jpg", "first_src.jpg");
  std::string one = ScratchDir() + "\\first_1.jpg", two = ScratchDir() + "\\first_2.jpg";
  ASSERT_EQ(lib.stamp(source.c_str(), one.c_str(), 0), 0);
  ASSERT_EQ(lib.stamp(source.c_str(), two.c_str(), 0), 0);
  EXPECT_EQ(std::string(CMGetProfileString("Tool1", "FirstPath", "")), one);
}

TEST(StampDay, WhichPicturesHaveADate) {
  Library lib;
  ASSERT_TRUE(lib.isDateTime);
  std::string text = ScratchDir() + "\\notes.jpg";
  ASSERT_TRUE(imgtest::WriteAll(text, std::vector<uint8_t>(100, 'x')));
  const struct {
    std::string path;
    int dated;
  } cases[] = {
      {testsupport::Fixture("exif_full.jpg"), 1},   {testsupport::Fixture("exif_digitized.jpg"), 1},  // only the
                                                                                                      // digitized date
      {testsupport::Fixture("exif_edited.jpg"), 1},  // only the modified date
      {testsupport::Fixture("plain.jpg"), 0},       {testsupport::Fixture("image.png"), 0},          {text, 0},
      {ScratchDir() + "\\missing.jpg", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(lib.isDateTime(c.path.c_str()) != 0, c.dated != 0) << c.path;
  EXPECT_EQ(lib.isDateTime(nullptr), 0);
}

TEST(StampDay, FailuresAnsweredWithTheirCodes) {
  testsupport::ScopedProfileRoot profile("stampday");
  Library lib;
  ASSERT_TRUE(lib.stamp);
  std::string dir = ScratchDir();
  std::string dated = ScratchCopy("exif_nothumb.jpg", "err_dated.jpg");
  std::string text = dir + "\\err_text.jpg";
  ASSERT_TRUE(imgtest::WriteAll(text, std::vector<uint8_t>(100, 'x')));
  std::string locked = dir + "\\err_locked.jpg";
  ASSERT_TRUE(imgtest::WriteAll(locked, std::vector<uint8_t>(10, 'y')));
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  const struct {
    std::string source, output;
    unsigned long result;
  } cases[] = {
      {testsupport::Fixture("plain.jpg"), dir + "\\err_1.jpg", stampday::kUndated},
      {testsupport::Fixture("image.png"), dir + "\\err_2.png", stampday::kUndated},
      {text, dir + "\\err_3.jpg", stampday::kUnsupported},
      {dated, dir + "\\err_4.gif", stampday::kUnsupported},
      {dir + "\\missing.jpg", dir + "\\err_5.jpg", stampday::kNotWritten},
      {dated, dated, stampday::kSameFile},
      {dated, locked, stampday::kExists},  // read-only or not, another file is never replaced
      {dated, testsupport::Fixture("plain.jpg"), stampday::kExists},
      {dated, dir + "\\no such folder\\err_6.jpg", stampday::kNotWritten},
  };
  const std::vector<uint8_t> datedBytes = ReadAll(dated), lockedBytes = ReadAll(locked);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source + " -> " + c.output);
    EXPECT_EQ(static_cast<unsigned long>(lib.stamp(c.source.c_str(), c.output.c_str(), 0)), c.result);
    if (c.output != dated && c.output != locked && c.output != testsupport::Fixture("plain.jpg")) {
      EXPECT_EQ(GetFileAttributesA(c.output.c_str()), INVALID_FILE_ATTRIBUTES);
    }
  }
  EXPECT_EQ(ReadAll(dated), datedBytes);
  EXPECT_EQ(ReadAll(locked), lockedBytes);
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}
