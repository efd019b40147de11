// The picture tools' output: free copy names, the checked move into place, lossless JPEG
// turns, and pictures saved in every format with their Exif.
#include <gtest/gtest.h>

#include <cstdlib>

#include <files.h>
#include <tempfolder.h>

#include "fixtures.h"
#include "imaging/decode.h"
#include "imaging/encode.h"
#include "imaging/exif.h"
#include "imaging/output.h"

using namespace imaging;
using imgtest::Fixture;
using imgtest::ReadAll;

namespace {

bool Near(uint32_t a, uint32_t b, int tolerance = 40) {
  for (int s = 0; s < 24; s += 8)
    if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tolerance) return false;
  return true;
}

Dib Upright(const std::vector<uint8_t>& jpeg) {
  Dib d;
  DecodeOptions opt;
  EXPECT_EQ(DecodeMemory(jpeg.data(), jpeg.size(), opt, &d), S_OK);
  return d;
}

class Output : public testing::Test {
 protected:
  void SetUp() override { dir_ = testsupport::NewTempFolder("output"); }
  void TearDown() override { testsupport::RemoveTree(dir_); }
  std::string dir_;
};

}  // namespace

TEST_F(Output, FreeCopyNames) {
  std::string src = dir_ + "\\pic.JPG";
  ASSERT_TRUE(imgtest::WriteAll(src, {1}));
  EXPECT_EQ(FreeCopyName(src, "_r"), dir_ + "\\pic_r.JPG");
  EXPECT_EQ(FreeCopyName(src, "", ".png"), dir_ + "\\pic.png");
  EXPECT_EQ(FreeCopyName(src, ""), dir_ + "\\pic(2).JPG");  // the source itself is taken
  ASSERT_TRUE(imgtest::WriteAll(dir_ + "\\pic_r.JPG", {1}));
  ASSERT_TRUE(imgtest::WriteAll(dir_ + "\\pic_r(2).JPG", {1}));
  EXPECT_EQ(FreeCopyName(src, "_r"), dir_ + "\\pic_r(3).JPG");
  // A dot in a folder name is no extension.
  EXPECT_EQ(FreeCopyName("C:\\a.b\\noext", "_s"), "C:\\a.b\\noext_s");
  EXPECT_EQ(FreeCopyName("C:\\" + std::string(MAX_PATH, 'x') + ".jpg", "_r"), "");
}

TEST_F(Output, PlaceOutputFileNeverLeavesATemporaryFile) {
  std::vector<uint8_t> png;
  Dib pic;
  ASSERT_TRUE(pic.Create(20, 10, 24));
  ASSERT_EQ(EncodePng(pic, &png), S_OK);
  std::string target = dir_ + "\\out.png";
  OutputCheck check;
  check.format = ImageFormat::Png;
  check.width = 20;
  check.height = 10;

  ASSERT_EQ(PlaceOutputFile(target.c_str(), png.data(), png.size(), false, check), S_OK);
  EXPECT_EQ(ReadAll(target), png);
  EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

  const std::vector<uint8_t> other = {'o', 't', 'h', 'e', 'r'};
  struct Case {
    const char* what;
    std::vector<uint8_t> data;
    bool replace;
    ImageFormat format;
    int width;
    HRESULT expected;
  } cases[] = {
      {"a copy never replaces", png, false, ImageFormat::Png, 20, HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)},
      {"the wrong kind", png, true, ImageFormat::Jpeg, 20, WINCODEC_ERR_BADIMAGE},
      {"the wrong size", png, true, ImageFormat::Png, 21, WINCODEC_ERR_BADIMAGE},
      {"no picture at all", other, true, ImageFormat::Png, 0, E_FAIL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string existing = dir_ + "\\existing.png";
    ASSERT_TRUE(imgtest::WriteAll(existing, other));
    OutputCheck k;
    k.format = c.format;
    k.width = c.width;
    HRESULT hr = PlaceOutputFile(existing.c_str(), c.data.data(), c.data.size(), c.replace, k);
    if (c.expected == E_FAIL)
      EXPECT_TRUE(FAILED(hr));
    else
      EXPECT_EQ(hr, c.expected);
    EXPECT_EQ(ReadAll(existing), other);
    EXPECT_EQ(testsupport::FileNamesIn(dir_), (std::vector<std::string>{"existing.png", "out.png"}));
  }
  // Replacing, when asked.
  ASSERT_EQ(PlaceOutputFile(target.c_str(), other.data(), other.size(), true), S_OK);
  EXPECT_EQ(ReadAll(target), other);
  // A write-protected file is never replaced (Wine's replacing move would).
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(PlaceOutputFile(target.c_str(), png.data(), png.size(), true), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadAll(target), other);
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  // A folder that is not there.
  EXPECT_TRUE(FAILED(PlaceOutputFile((dir_ + "\\gone\\x.png").c_str(), png.data(), png.size(), false, check)));
}

TEST_F(Output, LosslessTurnMovesBlocksAndResetsTheOrientation) {
  // Quarters stored turned (orientation 6), 320 x 240: whole blocks both ways.
  std::vector<uint8_t> src = ReadAll(Fixture("quadrants.jpg"));
  ASSERT_FALSE(src.empty());
  Dib shown = Upright(src);
  std::vector<uint8_t> turned;
  ASSERT_EQ(TurnJpegLossless(src, 6, &turned), S_OK);
  Exif exif;
  ASSERT_TRUE(exif.LoadMemory(turned.data(), turned.size()));
  EXPECT_EQ(exif.Orientation(), 1);
  ASSERT_TRUE(exif.DateTimeOriginal());
  EXPECT_EQ(exif.DateTimeOriginal()->ToString(), "2022:05:05 05:05:05");
  EXPECT_TRUE(exif.HasThumbnail());
  Dib now = Upright(turned);
  ASSERT_EQ(now.Width(), 240);
  ASSERT_EQ(now.Height(), 320);
  ASSERT_EQ(shown.Width(), 240);
  // Looks as before, corner by corner.
  for (POINT p : {POINT{5, 5}, POINT{234, 5}, POINT{5, 314}, POINT{234, 314}})
    EXPECT_TRUE(Near(now.Pixel(p.x, p.y), shown.Pixel(p.x, p.y))) << p.x << "," << p.y;

  // A size that is no whole number of blocks: refused, for the caller to re-encode.
  Dib odd;
  ASSERT_TRUE(odd.Create(101, 67, 24));
  std::vector<uint8_t> oddJpeg, out;
  ASSERT_EQ(EncodeJpeg(odd, 90, &oddJpeg), S_OK);
  EXPECT_EQ(TurnJpegLossless(oddJpeg, 6, &out), HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(TurnJpegLossless(oddJpeg, 1, &out), S_OK);  // nothing to move
  std::vector<uint8_t> cut = ReadAll(Fixture("cut_scan.jpg"));
  EXPECT_EQ(TurnJpegLossless(cut, 6, &out), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
  std::vector<uint8_t> broken(src.begin(), src.begin() + 300);
  EXPECT_TRUE(FAILED(TurnJpegLossless(broken, 6, &out)));
  EXPECT_EQ(TurnJpegLossless(src, 9, &out), E_INVALIDARG);
}

TEST_F(Output, SavedInEveryFormatWithTheExifOfJpegs) {
  Dib upright;
  OutputPicture keep;
  ASSERT_EQ(LoadForOutput(Fixture("quadrants.jpg").c_str(), &upright, &keep), S_OK);
  EXPECT_EQ(keep.format, ImageFormat::Jpeg);
  EXPECT_EQ(keep.exifOrientation, 6);
  ASSERT_FALSE(keep.tags.exif.empty());
  ASSERT_EQ(upright.Width(), 240);
  for (ImageFormat f : {ImageFormat::Jpeg, ImageFormat::Png, ImageFormat::Bmp, ImageFormat::Tiff}) {
    SCOPED_TRACE(FormatName(f));
    OutputPicture how = keep;
    how.format = f;
    std::string target = dir_ + "\\out" + OutputExtension(f);
    ASSERT_EQ(SaveOutputPicture(upright, how, target.c_str(), false), S_OK);
    Dib back;
    DecodeOptions opt;
    DecodeReport report;
    ASSERT_EQ(DecodeFile(target.c_str(), opt, &back, &report), S_OK);
    EXPECT_EQ(report.info.format, f);
    EXPECT_EQ(back.Width(), 240);
    EXPECT_EQ(back.Height(), 320);
    EXPECT_TRUE(Near(back.Pixel(5, 5), upright.Pixel(5, 5)));
    if (f == ImageFormat::Jpeg) {
      EXPECT_EQ(report.exif.Orientation(), 1);
      ASSERT_TRUE(report.exif.DateTimeOriginal());
      EXPECT_EQ(report.exif.DateTimeOriginal()->ToString(), "2022:05:05 05:05:05");
    }
  }
  EXPECT_EQ(testsupport::FileNamesIn(dir_).size(), 4u);
  OutputPicture gif = keep;
  gif.format = ImageFormat::Gif;
  EXPECT_TRUE(FAILED(SaveOutputPicture(upright, gif, (dir_ + "\\x.gif").c_str(), false)));
  EXPECT_EQ(testsupport::FileNamesIn(dir_).size(), 4u);
}
