// The metadata the picture tools carry (Exif with GPS, XMP, IPTC): read from JPEG, TIFF and
// PNG, written by the one output rule into every format that holds it, and the edges of
// each block's place in a file.
#include <gtest/gtest.h>

#include <files.h>
#include <tempfolder.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "fixtures.h"
#include "imaging/com.h"
#include "imaging/decode.h"
#include "imaging/encode.h"
#include "imaging/exif.h"
#include "imaging/metadata.h"
#include "imaging/output.h"
#include "keptags.h"

using namespace imaging;
using imgtest::Fixture;

namespace {

// "運動会" in UTF-8, as the XMP holds it.
const char kTitleUtf8[] = "\xE9\x81\x8B\xE5\x8B\x95\xE4\xBC\x9A";

bool Holds(const std::vector<uint8_t>& block, const std::string& text) {
  const std::vector<uint8_t> bytes(text.begin(), text.end());
  return std::search(block.begin(), block.end(), bytes.begin(), bytes.end()) != block.end();
}

std::vector<std::string> Keywords(const std::vector<uint8_t>& iptc) {
  std::vector<std::string> out;
  for (const IptcDataset& d : ReadIptcDatasets(iptc))
    if (d.record == 2 && d.dataset == 25) out.emplace_back(d.data.begin(), d.data.end());
  return out;
}

class Metadata : public testing::Test {
 protected:
  void SetUp() override { dir_ = testsupport::NewTempFolder("metadata"); }
  void TearDown() override { testsupport::RemoveTree(dir_); }
  std::string dir_;
  ComScope com_;
};

}  // namespace

TEST(PictureMetadata, ReadFromEachKindThatHoldsIt) {
  struct {
    const char* file;
    int orientation;  // of the Exif; 0: none
    bool iptc;
  } cases[] = {{"all_tags.jpg", 6, true}, {"all_tags.tif", 8, true}, {"all_tags.png", 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    PictureMetadata m = ReadPictureMetadataFile(Fixture(c.file).c_str());
    Exif exif;
    ASSERT_TRUE(exif.ParseTiff(m.exif.data(), m.exif.size()));
    EXPECT_EQ(exif.Make(), "Norvane");
    EXPECT_EQ(exif.Orientation(), c.orientation);
    ASSERT_TRUE(exif.DateTimeOriginal());
    EXPECT_EQ(exif.DateTimeOriginal()->ToString(), "2026:04:01 10:11:12");
    ASSERT_TRUE(exif.Gps() && exif.Gps()->latitude);
    EXPECT_NEAR(exif.Gps()->latitude->decimal, 35.6586, 1e-4);
    EXPECT_TRUE(Holds(m.xmp, kTitleUtf8));
    EXPECT_EQ(Keywords(m.iptc), c.iptc ? std::vector<std::string>({"run", "family"}) : std::vector<std::string>());
  }
  EXPECT_TRUE(ReadPictureMetadataFile(Fixture("plain.jpg").c_str()).Empty());
  EXPECT_TRUE(ReadPictureMetadataFile(Fixture("image.bmp").c_str()).Empty());
  EXPECT_TRUE(ReadPictureMetadataFile(Fixture("not_image.jpg").c_str()).Empty());
}

// Every source kind into every format: what the format holds comes through, upright; the
// picture reads back at its size.
TEST_F(Metadata, EveryFormatKeepsWhatItHolds) {
  for (const char* source : {"all_tags.jpg", "all_tags.tif", "all_tags.png"}) {
    Dib upright;
    OutputPicture keep;
    ASSERT_EQ(LoadForOutput(Fixture(source).c_str(), &upright, &keep), S_OK) << source;
    for (ImageFormat f : {ImageFormat::Jpeg, ImageFormat::Png, ImageFormat::Bmp, ImageFormat::Tiff}) {
      SCOPED_TRACE(std::string(source) + " to " + FormatName(f));
      OutputPicture how = keep;
      how.format = f;
      std::string target = dir_ + "\\" + std::string(source).replace(8, 1, "_") + OutputExtension(f);
      ASSERT_EQ(SaveOutputPicture(upright, how, target.c_str(), false), S_OK);
      EXPECT_EQ(imgtest::LostTags(Fixture(source), target), "");
      Dib back;
      DecodeOptions opt;
      ASSERT_EQ(DecodeFile(target.c_str(), opt, &back), S_OK);
      EXPECT_EQ(back.Width(), upright.Width());
      EXPECT_EQ(back.Height(), upright.Height());
    }
  }
}

// Our TIFF: the pixels of 24-bit and translucent 32-bit pictures, in either byte order.
TEST_F(Metadata, TiffsReadBackWithTheirPixels) {
  Dib rgb, rgba;
  ASSERT_TRUE(rgb.Create(7, 5, 24));
  ASSERT_TRUE(rgba.Create(7, 5, 32));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      rgb.SetPixel(x, y, uint32_t(x * 30) << 16 | uint32_t(y * 50) << 8 | 0x40);
      rgba.SetPixel(x, y, (x < 3 ? 0x80u : 0xFFu) << 24 | uint32_t(x * 30) << 16 | uint32_t(y * 50) << 8);
    }
  rgba.SetHasAlpha(true);
  PictureMetadata bigEndian = ReadPictureMetadataFile(Fixture("all_tags.jpg").c_str());
  ASSERT_EQ(bigEndian.exif[0], 'M');
  for (const PictureMetadata* m : std::initializer_list<const PictureMetadata*>{nullptr, &bigEndian})
    for (const Dib* d : {&rgb, &rgba}) {
      SCOPED_TRACE(std::string(m ? "MM" : "II") + (d == &rgba ? " alpha" : ""));
      std::vector<uint8_t> tiff;
      ASSERT_EQ(EncodeTiff(*d, &tiff, m), S_OK);
      EXPECT_EQ(tiff[0], m ? 'M' : 'I');
      Dib back;
      DecodeOptions opt;
      opt.bitCount = 32;
      ASSERT_EQ(DecodeMemory(tiff.data(), tiff.size(), opt, &back), S_OK);
      ASSERT_EQ(back.Width(), 7);
      ASSERT_EQ(back.Height(), 5);
      EXPECT_EQ(back.HasAlpha(), d == &rgba);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
          const uint32_t want = d == &rgba ? d->Pixel(x, y) : (d->Pixel(x, y) | 0xFF000000u);
          EXPECT_EQ(back.Pixel(x, y), want) << x << "," << y;
        }
    }
}

// Blocks bigger than one JPEG segment: IPTC goes on in the next APP13 and reads back whole;
// an XMP packet or an Exif block too big for theirs is left out, and the file still reads.
TEST_F(Metadata, BlocksBiggerThanASegment) {
  Dib d;
  ASSERT_TRUE(d.Create(16, 16, 24));
  std::vector<uint8_t> jpeg;
  ASSERT_EQ(EncodeJpeg(d, 90, &jpeg), S_OK);
  PictureMetadata big;
  for (int i = 0; i < 5; ++i) {  // five captions of 30000 bytes: 150 KB
    std::vector<uint8_t> ds = {0x1C, 2, 120, uint8_t(30000 >> 8), uint8_t(30000 & 0xFF)};
    ds.resize(5 + 30000, uint8_t('a' + i));
    big.iptc.insert(big.iptc.end(), ds.begin(), ds.end());
  }
  big.xmp.assign(70000, ' ');
  big.exif = ReadPictureMetadataFile(Fixture("all_tags.jpg").c_str()).exif;
  big.exif.resize(70000, 0);
  ASSERT_TRUE(PutJpegMetadata(&jpeg, big));
  PictureMetadata back = ReadPictureMetadata(jpeg.data(), jpeg.size());
  EXPECT_EQ(back.iptc, big.iptc);
  EXPECT_TRUE(back.xmp.empty());
  EXPECT_TRUE(back.exif.empty());
  Dib pixels;
  DecodeOptions opt;
  EXPECT_EQ(DecodeMemory(jpeg.data(), jpeg.size(), opt, &pixels), S_OK);

  // Put again: what the file had is replaced, not added to.
  PictureMetadata small;
  small.xmp = {'<', 'x', '/', '>'};
  ASSERT_TRUE(PutJpegMetadata(&jpeg, small));
  back = ReadPictureMetadata(jpeg.data(), jpeg.size());
  EXPECT_EQ(back.xmp, small.xmp);
  EXPECT_TRUE(back.iptc.empty());
  std::vector<uint8_t> png;
  ASSERT_EQ(EncodePng(d, &png), S_OK);
  ASSERT_TRUE(PutPngMetadata(&png, small));
  ASSERT_TRUE(PutPngMetadata(&png, small));
  EXPECT_EQ(ReadPictureMetadata(png.data(), png.size()).xmp, small.xmp);
  EXPECT_EQ(DecodeMemory(png.data(), png.size(), opt, &pixels), S_OK);  // the chunks' sums hold
  EXPECT_FALSE(PutJpegMetadata(&png, small));
  EXPECT_FALSE(PutPngMetadata(&jpeg, small));
}

TEST(PictureMetadata, XmpOrientationMadeUpright) {
  struct {
    std::string in, out;
  } cases[] = {
      {"<rdf:Description tiff:Orientation=\"6\"/>", "<rdf:Description tiff:Orientation=\"1\"/>"},
      {"<tiff:Orientation>8</tiff:Orientation>", "<tiff:Orientation>1</tiff:Orientation>"},
      {"a tiff:Orientation='3' b tiff:Orientation=\"5\"", "a tiff:Orientation='1' b tiff:Orientation=\"1\""},
      {"<tiff:Orientation>12345</tiff:Orientation>", "<tiff:Orientation>12345</tiff:Orientation>"},  // no orientation
      {"<dc:title>tiff:Orientation</dc:title>", "<dc:title>tiff:Orientation</dc:title>"},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> out = UprightXmp(std::vector<uint8_t>(c.in.begin(), c.in.end()));
    EXPECT_EQ(std::string(out.begin(), out.end()), c.out) << c.in;
  }
}
