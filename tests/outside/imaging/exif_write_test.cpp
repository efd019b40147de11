// Writing Exif: orientation in place or added, dates, lossless rotation,
// upright copies of the block.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <fuzz.h>

#include "fixtures.h"
#include "imaging/decode.h"
#include "imaging/exif.h"

using namespace imaging;
using imgtest::Fixture;
using imgtest::ReadAll;
using imgtest::ScratchCopy;

namespace {

// What must survive a metadata write untouched.
struct Snapshot {
  std::string make, model, original;
  std::optional<GpsInfo> gps;
  std::vector<uint8_t> thumbnail, makerNote;
  static Snapshot Of(const Exif& e) {
    Snapshot s;
    s.make = e.Make();
    s.model = e.Model();
    s.original = e.DateTimeOriginal().value_or(ExifDateTime()).ToString();
    s.gps = e.Gps();
    s.thumbnail = e.Thumbnail();
    s.makerNote = e.MakerNote();
    return s;
  }
  void ExpectSame(const Snapshot& o) const {
    EXPECT_EQ(make, o.make);
    EXPECT_EQ(model, o.model);
    EXPECT_EQ(original, o.original);
    ASSERT_EQ(gps.has_value(), o.gps.has_value());
    if (gps && gps->latitude) {
      EXPECT_DOUBLE_EQ(gps->latitude->decimal, o.gps->latitude->decimal);
    }
    EXPECT_EQ(thumbnail, o.thumbnail);
    EXPECT_EQ(makerNote, o.makerNote);
  }
};

bool Decodes(const std::string& path, int* w, int* h) {
  DecodeOptions opt;
  opt.applyOrientation = true;
  Dib d;
  if (FAILED(DecodeFile(path.c_str(), opt, &d))) return false;
  *w = d.Width();
  *h = d.Height();
  return true;
}

}  // namespace

TEST(ExifWrite, OrientationInPlaceKeepsEverythingElse) {
  for (const char* fixture : {"exif_full.jpg", "exif_le.jpg", "exif.tif"}) {
    SCOPED_TRACE(fixture);
    std::string path = ScratchCopy(fixture, (std::string("inplace_") + fixture).c_str());
    Exif before;
    ASSERT_TRUE(before.Load(path.c_str()));
    std::vector<uint8_t> bytesBefore = ReadAll(path);
    ASSERT_EQ(WriteOrientation(path.c_str(), 5), S_OK);
    std::vector<uint8_t> bytesAfter = ReadAll(path);
    ASSERT_EQ(bytesAfter.size(), bytesBefore.size());
    size_t changed = 0;
    for (size_t i = 0; i < bytesAfter.size(); ++i) changed += bytesAfter[i] != bytesBefore[i];
    EXPECT_EQ(changed, 1u);  // one byte of the two-byte value
    Exif after;
    ASSERT_TRUE(after.Load(path.c_str()));
    EXPECT_EQ(after.Orientation(), 5);
    Snapshot::Of(after).ExpectSame(Snapshot::Of(before));
  }
}

TEST(ExifWrite, OrientationAddedWhereMissing) {
  // Exif without the tag: IFD0 is rewritten with it.
  std::string path = ScratchCopy("exif_noorient.jpg", "noorient.jpg");
  Exif before;
  ASSERT_TRUE(before.Load(path.c_str()));
  ASSERT_EQ(before.Orientation(), 0);
  ASSERT_EQ(WriteOrientation(path.c_str(), 6), S_OK);
  Exif after;
  ASSERT_TRUE(after.Load(path.c_str()));
  EXPECT_EQ(after.Orientation(), 6);
  Snapshot::Of(after).ExpectSame(Snapshot::Of(before));
  EXPECT_EQ(after.MakerNoteValues(62).value_or(std::vector<int64_t>{}), std::vector<int64_t>{7});
  int w = 0, h = 0;
  ASSERT_TRUE(Decodes(path, &w, &h));
  EXPECT_EQ(w, 240);  // 360 x 240 shown turned
  EXPECT_EQ(h, 360);

  // No Exif at all: a new APP1 segment.
  std::string plain = ScratchCopy("plain.jpg", "plain_oriented.jpg");
  ASSERT_EQ(WriteOrientation(plain.c_str(), 8), S_OK);
  Exif fresh;
  ASSERT_TRUE(fresh.Load(plain.c_str()));
  EXPECT_EQ(fresh.Orientation(), 8);
  ASSERT_TRUE(Decodes(plain, &w, &h));
  EXPECT_EQ(w, 240);
  EXPECT_EQ(h, 320);
}

TEST(ExifWrite, RefusalsLeaveTheFileAlone) {
  std::string junk = ScratchCopy("not_image.jpg", "junk.jpg");
  std::vector<uint8_t> before = ReadAll(junk);
  EXPECT_FAILED(WriteOrientation(junk.c_str(), 3));
  EXPECT_EQ(ReadAll(junk), before);
  std::string good = ScratchCopy("exif_full.jpg", "refuse.jpg");
  EXPECT_EQ(WriteOrientation(good.c_str(), 0), E_INVALIDARG);
  EXPECT_EQ(WriteOrientation(good.c_str(), 9), E_INVALIDARG);
  EXPECT_FAILED(WriteOrientation((imgtest::ScratchDir() + "\\missing.jpg").c_str(), 3));
  std::string png = ScratchCopy("image.png", "refuse.png");
  EXPECT_FAILED(WriteOrientation(png.c_str(), 3));
}

TEST(ExifWrite, RotationComposesWithTheTag) {
  const struct {
    int from, degrees, to;
  } cases[] = {
      {1, 90, 6},  {6, 90, 3},  {3, 90, 8},  {8, 90, 1},  {1, -90, 8}, {1, 270, 8}, {6, 180, 8},
      {0, 90, 6},  {2, 90, 7},  {4, 90, 5},  {5, 90, 2},  {7, 90, 4},  {1, 360, 1}, {2, 180, 4},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RotateOrientation(c.from, c.degrees), c.to) << c.from << " + " << c.degrees;

  std::string path = ScratchCopy("exif_full.jpg", "rotate.jpg");  // orientation 6
  ASSERT_EQ(RotateByOrientation(path.c_str(), 90), S_OK);
  Exif e;
  ASSERT_TRUE(e.Load(path.c_str()));
  EXPECT_EQ(e.Orientation(), 3);
  ASSERT_EQ(RotateByOrientation(path.c_str(), -180), S_OK);
  ASSERT_TRUE(e.Load(path.c_str()));
  EXPECT_EQ(e.Orientation(), 1);
}

TEST(ExifWrite, DateTimeInPlace) {
  std::string path = ScratchCopy("exif_le.jpg", "date.jpg");
  auto when = ExifDateTime::Parse("2020:01:02 03:04:05");
  ASSERT_TRUE(when);
  size_t size = ReadAll(path).size();
  ASSERT_EQ(WriteDateTime(path.c_str(), *when), S_OK);
  EXPECT_EQ(ReadAll(path).size(), size);
  Exif e;
  ASSERT_TRUE(e.Load(path.c_str()));
  EXPECT_EQ(e.DateTimeOriginal()->ToString(), "2020:01:02 03:04:05");
  EXPECT_EQ(e.DateTimeDigitized()->ToString(), "2023:07:01 18:30:16");  // not asked for
  ASSERT_EQ(WriteDateTime(path.c_str(), *when, kDateDigitized | kDateModified), S_OK);
  ASSERT_TRUE(e.Load(path.c_str()));
  EXPECT_EQ(e.DateTimeDigitized()->ToString(), "2020:01:02 03:04:05");
  EXPECT_EQ(e.DateTime()->ToString(), "2020:01:02 03:04:05");

  std::string plain = ScratchCopy("plain.jpg", "date_plain.jpg");
  EXPECT_EQ(WriteDateTime(plain.c_str(), *when), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
  ExifDateTime bad;
  EXPECT_EQ(WriteDateTime(path.c_str(), bad), E_INVALIDARG);
}

TEST(ExifWrite, UprightBlockTurnsTheThumbnail) {
  Exif src;
  ASSERT_TRUE(src.Load(Fixture("quadrants.jpg").c_str()));  // 320 x 240, orientation 6
  ASSERT_TRUE(src.HasThumbnail());
  std::vector<uint8_t> block = MakeUprightExif(src.Block(), 6, 240, 320);
  ASSERT_FALSE(block.empty());
  Exif up;
  ASSERT_TRUE(up.ParseTiff(block.data(), block.size()));
  EXPECT_EQ(up.Orientation(), 1);
  EXPECT_EQ(up.DateTimeOriginal()->ToString(), "2022:05:05 05:05:05");
  ASSERT_TRUE(up.HasThumbnail());
  DecodeOptions opt;
  Dib thumb;
  ASSERT_EQ(DecodeMemory(up.Thumbnail().data(), up.Thumbnail().size(), opt, &thumb), S_OK);
  EXPECT_EQ(thumb.Width(), 60);
  EXPECT_EQ(thumb.Height(), 80);
  uint32_t tl = thumb.Pixel(2, 2);  // blue: the stored bottom-left quarter
  EXPECT_LT((tl >> 16) & 0xFF, 60u);
  EXPECT_GT(tl & 0xFF, 180u);

  EXPECT_TRUE(MakeUprightExif(std::vector<uint8_t>(10, 0), 6, 1, 1).empty());
}

// A value offset that points at the TIFF header, an IFD table, the thumbnail or
// another value turned a date or orientation write into damage reported as
// success. Such writes fail with the file as it was.
TEST(ExifWrite, DamagedValueOffsetsAreNeverWrittenThrough) {
  using testsupport::ByteChange;
  Exif src;
  ASSERT_TRUE(src.Load(Fixture("exif_full.jpg").c_str()));
  auto field = [be = src.BigEndian()](uint32_t v) { return be ? testsupport::Be32(v) : testsupport::Le32(v); };
  const ExifEntry* date = src.Find(ExifIfd::Exif, tag::kDateTimeOriginal);
  const ExifEntry* make = src.Find(ExifIfd::Ifd0, tag::kMake);
  const ExifEntry* orient = src.Find(ExifIfd::Ifd0, tag::kOrientation);
  ASSERT_TRUE(date && make && orient && src.HasThumbnail());
  // The value offset of the date entry; the count and offset of the orientation
  // entry (three values no longer fit in the entry).
  const size_t dateOffset = size_t(src.TiffPosition()) + date->entryPos + 8;
  const size_t orientCount = size_t(src.TiffPosition()) + orient->entryPos + 4;
  const struct {
    const char* what;
    bool orientation;
    std::initializer_list<ByteChange> changes;
  } kCases[] = {
      {"date over the header", false, {{dateOffset, field(0)}}},
      {"date over IFD0", false, {{dateOffset, field(src.IfdPosition(ExifIfd::Ifd0))}}},
      {"date over the Exif IFD", false, {{dateOffset, field(src.IfdPosition(ExifIfd::Exif) + 4)}}},
      {"date over the thumbnail", false, {{dateOffset, field(src.ThumbnailPosition())}}},
      {"date over the maker's name", false, {{dateOffset, field(make->valuePos)}}},
      {"orientation over the header", true, {{orientCount, field(3)}, {orientCount + 4, field(0)}}},
      {"orientation over IFD0",
       true,
       {{orientCount, field(3)}, {orientCount + 4, field(src.IfdPosition(ExifIfd::Ifd0) + 2)}}},
  };
  const std::vector<uint8_t> original = ReadAll(Fixture("exif_full.jpg"));
  const std::string path = imgtest::ScratchDir() + "\\damaged_offsets.jpg";
  auto when = ExifDateTime::Parse("2001:02:03 04:05:06");
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> bad = testsupport::WithChanges(original, c.changes);
    ASSERT_TRUE(imgtest::WriteAll(path, bad));
    if (c.orientation) {
      EXPECT_FAILED(WriteOrientation(path.c_str(), 3));
      EXPECT_FAILED(RotateByOrientation(path.c_str(), 90));
      Exif damaged;
      ASSERT_TRUE(damaged.LoadMemory(bad.data(), bad.size()));
      EXPECT_TRUE(MakeUprightExif(damaged.Block(), 6, 240, 320).empty());
    } else {
      EXPECT_FAILED(WriteDateTime(path.c_str(), *when, kDateOriginal | kDateDigitized | kDateModified));
    }
    EXPECT_EQ(ReadAll(path), bad);
  }
}

TEST(ExifWrite, GpsPositionAddedKeepsEverythingElse) {
  const struct {
    const char* fixture;
    double latitude, longitude;
  } cases[] = {
      {"exif_nothumb.jpg", 35.681236, 139.767125},  // big-endian Exif without GPS
      {"quadrants.jpg", -33.8568, -151.2153},       // with a thumbnail behind IFD1
      {"plain.jpg", 0.000125, -0.5},                // no Exif at all: a new segment
      {"exif_digitized.jpg", 89.999999, 179.999999},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    std::string path = ScratchCopy(c.fixture, (std::string("gps_") + c.fixture).c_str());
    Exif before;
    before.Load(path.c_str());
    int w0 = 0, h0 = 0, w1 = 0, h1 = 0;
    ASSERT_TRUE(Decodes(path, &w0, &h0));
    ASSERT_EQ(WriteGpsPosition(path.c_str(), c.latitude, c.longitude), S_OK);
    Exif after;
    ASSERT_TRUE(after.Load(path.c_str()));
    auto gps = after.Gps();
    ASSERT_TRUE(gps && gps->latitude && gps->longitude);
    EXPECT_NEAR(gps->latitude->decimal, c.latitude, 1e-7);
    EXPECT_NEAR(gps->longitude->decimal, c.longitude, 1e-7);
    EXPECT_EQ(gps->latitude->ref, c.latitude < 0 ? 'S' : 'N');
    EXPECT_EQ(gps->longitude->ref, c.longitude < 0 ? 'W' : 'E');
    EXPECT_LT(gps->latitude->seconds.Value(), 60.0);
    Snapshot a = Snapshot::Of(before), b = Snapshot::Of(after);
    a.gps.reset();
    b.gps.reset();
    a.ExpectSame(b);
    EXPECT_EQ(after.Orientation(), before.Orientation());
    ASSERT_TRUE(Decodes(path, &w1, &h1));
    EXPECT_EQ(w1, w0);
    EXPECT_EQ(h1, h0);
    // A position is never overwritten.
    const std::vector<uint8_t> written = ReadAll(path);
    EXPECT_EQ(WriteGpsPosition(path.c_str(), 1, 1), HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadAll(path), written);
  }
  const struct {
    const char* fixture;
    double latitude, longitude;
    HRESULT hr;
  } refused[] = {
      {"exif_le.jpg", 1, 1, HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)},
      {"image.png", 1, 1, WINCODEC_ERR_COMPONENTNOTFOUND},
      {"exif_nothumb.jpg", 90.5, 1, E_INVALIDARG},
      {"exif_nothumb.jpg", 1, -180.5, E_INVALIDARG},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.fixture);
    std::string path = ScratchCopy(c.fixture, (std::string("gps_refused_") + c.fixture).c_str());
    const std::vector<uint8_t> bytes = ReadAll(path);
    EXPECT_EQ(WriteGpsPosition(path.c_str(), c.latitude, c.longitude), c.hr);
    EXPECT_EQ(ReadAll(path), bytes);
  }
  // A read-only picture is refused, as Windows refuses to replace it (Wine's move would).
  std::string locked = ScratchCopy("exif_nothumb.jpg", "gps_readonly.jpg");
  const std::vector<uint8_t> lockedBytes = ReadAll(locked);
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(WriteGpsPosition(locked.c_str(), 1, 1), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_EQ(WriteDateTime(locked.c_str(), *ExifDateTime::Parse("2020:01:02 03:04:05")),
            HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadAll(locked), lockedBytes);
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}
