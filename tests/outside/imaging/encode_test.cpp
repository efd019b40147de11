// Encoding: JPEG/PNG/BMP round trips, Exif carried into re-encoded pictures.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fixtures.h"
#include "imaging/decode.h"
#include "imaging/encode.h"
#include "imaging/exif.h"

using namespace imaging;
using imgtest::Fixture;
using imgtest::ScratchDir;

namespace {

Dib Gradient(int w, int h, int bits) {
  Dib d;
  d.Create(w, h, bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      d.SetPixel(x, y, 0xFF000000u | uint32_t(x * 255 / w) << 16 | uint32_t(y * 255 / h) << 8 | 0x40);
  return d;
}

double MeanError(const Dib& a, const Dib& b) {
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      uint32_t p = a.Pixel(x, y), q = b.Pixel(x, y);
      for (int s = 0; s < 24; s += 8) sum += std::abs(int((p >> s) & 0xFF) - int((q >> s) & 0xFF));
    }
  return sum / (3.0 * a.Width() * a.Height());
}

}  // namespace

TEST(Encode, JpegRoundTripAndQuality) {
  for (bool topDown : {false, true}) {
    Dib src = Gradient(120, 80, 24);
    src.SetTopDown(topDown);
    std::vector<uint8_t> best, worst;
    ASSERT_EQ(EncodeJpeg(src, 95, &best), S_OK);
    ASSERT_EQ(EncodeJpeg(src, 5, &worst), S_OK);
    EXPECT_LE(worst.size(), best.size());  // Wine 8's encoders ignore the quality: equal there
    Dib back;
    DecodeOptions opt;
    ASSERT_EQ(DecodeMemory(best.data(), best.size(), opt, &back), S_OK);
    ASSERT_EQ(back.Width(), 120);
    ASSERT_EQ(back.Height(), 80);
    EXPECT_LT(MeanError(src, back), 3.0);  // rows kept in order, colours close
  }
  std::vector<uint8_t> out;
  Dib src = Gradient(8, 8, 24);
  EXPECT_EQ(EncodeJpeg(src, 0, &out), E_INVALIDARG);
  EXPECT_EQ(EncodeJpeg(src, 101, &out), E_INVALIDARG);
  EXPECT_EQ(EncodeJpeg(Dib(), 80, &out), E_INVALIDARG);
}

TEST(Encode, LosslessFilesRoundTrip) {
  Dib src = Gradient(33, 17, 24);  // odd width: padded rows
  std::string bmp = ScratchDir() + "\\round.bmp", png = ScratchDir() + "\\round.png";
  ASSERT_EQ(SaveBmp(src, bmp.c_str()), S_OK);
  ASSERT_EQ(SavePng(src, png.c_str()), S_OK);
  for (const std::string& path : {bmp, png}) {
    Dib back;
    DecodeOptions opt;
    ASSERT_EQ(DecodeFile(path.c_str(), opt, &back), S_OK) << path;
    EXPECT_EQ(MeanError(src, back), 0.0) << path;
  }
  // PNG keeps transparency.
  Dib alpha = Gradient(16, 16, 32);
  alpha.SetHasAlpha(true);
  alpha.SetPixel(0, 0, 0x00000000);
  ASSERT_EQ(SavePng(alpha, png.c_str()), S_OK);
  Dib back;
  DecodeOptions opt;
  opt.bitCount = 32;
  ASSERT_EQ(DecodeFile(png.c_str(), opt, &back), S_OK);
  EXPECT_TRUE(back.HasAlpha());
  EXPECT_EQ(back.Pixel(0, 0) >> 24, 0u);
  EXPECT_EQ(back.Pixel(5, 5), alpha.Pixel(5, 5));
}

TEST(Encode, ExifTravelsWithTheJpeg) {
  Exif src;
  ASSERT_TRUE(src.Load(Fixture("exif_le.jpg").c_str()));
  std::string path = ScratchDir() + "\\with_exif.jpg";
  ASSERT_EQ(SaveJpeg(Gradient(40, 30, 24), path.c_str(), 80, &src.Block()), S_OK);
  Exif back;
  ASSERT_TRUE(back.Load(path.c_str()));
  EXPECT_EQ(back.Model(), "NV-X1");
  EXPECT_EQ(back.MakerNoteValues(59).value_or(std::vector<int64_t>{}), std::vector<int64_t>{2});
  Dib d;
  DecodeOptions opt;
  opt.applyOrientation = false;
  ASSERT_EQ(DecodeFile(path.c_str(), opt, &d), S_OK);
  EXPECT_EQ(d.Width(), 40);
  // A block too large for a segment is refused.
  std::vector<uint8_t> huge(70000, 0);
  std::vector<uint8_t> out;
  EXPECT_FAILED(EncodeJpeg(d, 80, &out, &huge));
}

TEST(Encode, ReencodeUprightBakesTheOrientation) {
  std::string src = imgtest::ScratchCopy("quadrants.jpg", "upright_src.jpg");
  std::string dst = ScratchDir() + "\\upright.jpg";
  ASSERT_EQ(ReencodeUpright(src.c_str(), dst.c_str(), 90), S_OK);
  Exif e;
  ASSERT_TRUE(e.Load(dst.c_str()));
  EXPECT_EQ(e.Orientation(), 1);
  EXPECT_EQ(e.DateTimeOriginal()->ToString(), "2022:05:05 05:05:05");
  EXPECT_TRUE(e.HasThumbnail());
  Dib d;
  DecodeOptions opt;
  ASSERT_EQ(DecodeFile(dst.c_str(), opt, &d), S_OK);
  EXPECT_EQ(d.Width(), 240);
  EXPECT_EQ(d.Height(), 320);
  uint32_t tl = d.Pixel(5, 5);  // blue, as the turned picture shows it
  EXPECT_GT(tl & 0xFF, 180u);
  EXPECT_LT((tl >> 16) & 0xFF, 75u);
  // In place, and a file that is no JPEG.
  ASSERT_EQ(ReencodeUpright(src.c_str(), src.c_str(), 90), S_OK);
  ASSERT_TRUE(e.Load(src.c_str()));
  EXPECT_EQ(e.Orientation(), 1);
  EXPECT_FAILED(ReencodeUpright(Fixture("image.png").c_str(), dst.c_str(), 90));
}
