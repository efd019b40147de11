// Reading Exif: fixture values, camera settings, GPS, maker note, broken data.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include <fuzz.h>

#include "fixtures.h"
#include "imaging/exif.h"

using namespace imaging;
using imgtest::Fixture;

namespace {

struct ExifCase {
  const char* file;
  const char* model;
  int orientation;
  const char* original;  // DateTimeOriginal
  bool bigEndian;
  bool thumbnail;
  bool gps;
  double lat, lon;
};

const ExifCase kCases[] = {
    {"exif_full.jpg", "NV-D500", 6, "2026:03:14 09:12:05", true, true, true, 35.6586, 139.7454},
    {"exif_nothumb.jpg", "NV-S20", 1, "2025:12:31 23:59:58", true, false, false, 0, 0},
    {"exif_south_west.jpg", "NV-S20", 8, "2024:02:29 12:00:00", true, true, true, -33.8568, -151.2153},
    {"exif_le.jpg", "NV-X1", 3, "2023:07:01 18:30:15", false, true, true, 51.5007, -0.1246},
    {"exif.tif", "NV-T3", 8, "2021:11:11 11:11:11", false, false, false, 0, 0},
    {"exif_noorient.jpg", "NV-X1", 0, "2023:07:01 18:30:15", false, true, true, 51.5007, -0.1246},
};

}  // namespace

TEST(ExifRead, FixtureValues) {
  for (const ExifCase& c : kCases) {
    SCOPED_TRACE(c.file);
    Exif exif;
    ASSERT_TRUE(exif.Load(Fixture(c.file).c_str()));
    EXPECT_EQ(exif.Make(), "Norvane");
    EXPECT_EQ(exif.Model(), c.model);
    EXPECT_EQ(exif.Orientation(), c.orientation);
    EXPECT_EQ(exif.BigEndian(), c.bigEndian);
    auto when = exif.DateTimeOriginal();
    ASSERT_TRUE(when.has_value());
    EXPECT_EQ(when->ToString(), c.original);
    EXPECT_EQ(exif.HasThumbnail(), c.thumbnail);
    auto gps = exif.Gps();
    ASSERT_EQ(gps.has_value(), c.gps);
    if (c.gps) {
      ASSERT_TRUE(gps->latitude && gps->longitude);
      EXPECT_NEAR(gps->latitude->decimal, c.lat, 1e-4);
      EXPECT_NEAR(gps->longitude->decimal, c.lon, 1e-4);
      EXPECT_EQ(gps->latitude->ref, c.lat < 0 ? 'S' : 'N');
      EXPECT_EQ(gps->longitude->ref, c.lon < 0 ? 'W' : 'E');
    }
  }
}

TEST(ExifRead, CameraSettingsAndGpsDetails) {
  Exif exif;
  ASSERT_TRUE(exif.Load(Fixture("exif_le.jpg").c_str()));
  auto rat = [](std::optional<Rational> r) { return r && r->Valid() ? r->Value() : -1.0; };
  EXPECT_DOUBLE_EQ(rat(exif.ExposureTime()), 1.0 / 250);
  EXPECT_DOUBLE_EQ(rat(exif.FNumber()), 5.6);
  EXPECT_DOUBLE_EQ(rat(exif.FocalLength()), 35.0);
  EXPECT_EQ(exif.Iso().value_or(0), 400u);
  EXPECT_EQ(exif.Flash().value_or(99), 16u);
  EXPECT_EQ(exif.WhiteBalance().value_or(99), 1u);
  EXPECT_EQ(exif.ExposureProgram().value_or(99), 2u);
  EXPECT_EQ(exif.SceneCaptureType().value_or(99), 3u);
  auto px = exif.PixelDimensions();
  ASSERT_TRUE(px);
  EXPECT_EQ(px->cx, 360);
  EXPECT_EQ(px->cy, 240);

  auto original = exif.DateTimeOriginal();
  ASSERT_TRUE(original);
  EXPECT_EQ(original->millisecond, 250);  // SubSecTimeOriginal "25"
  SYSTEMTIME st = original->ToSystemTime();
  EXPECT_EQ(st.wYear, 2023);
  EXPECT_EQ(st.wDayOfWeek, 6);  // 1 July 2023 was a Saturday
  EXPECT_EQ(exif.DateTimeDigitized().value_or(ExifDateTime()).ToString(), "2023:07:01 18:30:16");
  EXPECT_EQ(exif.DateTime().value_or(ExifDateTime()).ToString(), "2023:07:02 08:00:00");

  auto gps = exif.Gps();
  ASSERT_TRUE(gps && gps->latitude && gps->longitude);
  // 51.5007 = 51 deg 30 min 2.52 s, as rationals.
  EXPECT_DOUBLE_EQ(gps->latitude->degrees.Value(), 51);
  EXPECT_DOUBLE_EQ(gps->latitude->minutes.Value(), 30);
  EXPECT_NEAR(gps->latitude->seconds.Value(), 2.52, 1e-6);
  ASSERT_TRUE(gps->altitudeMetres);
  EXPECT_EQ(gps->altitudeRef, 1);
  EXPECT_DOUBLE_EQ(*gps->altitudeMetres, -35.5);
  EXPECT_EQ(gps->dateStamp, "2023:07:01");
  ASSERT_TRUE(gps->timeStamp);
  EXPECT_DOUBLE_EQ((*gps->timeStamp)[0].Value(), 17);
  EXPECT_DOUBLE_EQ((*gps->timeStamp)[2].Value(), 15);
}

TEST(ExifRead, UserCommentByCharacterCode) {
  imaging::Exif exif;
  ASSERT_TRUE(exif.Load(Fixture("exif_comment.jpg").c_str()));
  auto c = exif.UserComment();
  ASSERT_TRUE(c.has_value());
  EXPECT_TRUE(c->utf8);  // a Japanese comment is stored as "UNICODE"
  EXPECT_EQ(c->text, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x82\xB3\xE3\x83\xA1\xE3\x83\xB3\xE3\x83\x88");  // 日本語コメント
  ASSERT_TRUE(exif.Load(Fixture("exif_nothumb.jpg").c_str()));
  EXPECT_FALSE(exif.UserComment().has_value());
}

TEST(ExifRead, NorvaneMakerNote) {
  Exif exif;
  ASSERT_TRUE(exif.Load(Fixture("exif_le.jpg").c_str()));
  ASSERT_TRUE(exif.HasNorvaneMakerNote());
  EXPECT_EQ(exif.MakerNoteValues(59).value_or(std::vector<int64_t>{}), std::vector<int64_t>{2});
  EXPECT_EQ(exif.MakerNoteValues(62).value_or(std::vector<int64_t>{}), std::vector<int64_t>{7});
  EXPECT_FALSE(exif.MakerNoteValues(60).has_value());

  // Another maker's note: kept raw, not read as ours.
  Exif other;
  ASSERT_TRUE(other.Load(Fixture("exif_full.jpg").c_str()));
  EXPECT_FALSE(other.HasNorvaneMakerNote());
  EXPECT_FALSE(other.MakerNoteValues(59).has_value());
}

TEST(ExifRead, ThumbnailBytesAreAJpeg) {
  Exif exif;
  ASSERT_TRUE(exif.Load(Fixture("exif_full.jpg").c_str()));
  const auto& t = exif.Thumbnail();
  ASSERT_GT(t.size(), 100u);
  EXPECT_EQ(t[0], 0xFF);
  EXPECT_EQ(t[1], 0xD8);
  EXPECT_EQ(t[t.size() - 2], 0xFF);
  EXPECT_EQ(t[t.size() - 1], 0xD9);
}

TEST(ExifRead, BrokenFilesGiveNoValues) {
  Exif exif;
  EXPECT_FALSE(exif.Load(Fixture("cut_exif.jpg").c_str()));    // the Exif block breaks off
  EXPECT_FALSE(exif.Load(Fixture("not_image.jpg").c_str()));
  EXPECT_FALSE(exif.Load(Fixture("plain.jpg").c_str()));        // no Exif at all
  EXPECT_FALSE(exif.Load(Fixture("no_such_file.jpg").c_str()));
  EXPECT_FALSE(exif.Load(nullptr));
  EXPECT_FALSE(exif.Valid());
  EXPECT_EQ(exif.Orientation(), 0);
  EXPECT_FALSE(exif.Gps());

  // Exif, GPS and thumbnail offsets past the end: IFD0 still reads.
  ASSERT_TRUE(exif.Load(Fixture("bad_offsets.jpg").c_str()));
  EXPECT_EQ(exif.Model(), "NV-D500");
  EXPECT_EQ(exif.Orientation(), 6);
  EXPECT_FALSE(exif.DateTimeOriginal());
  EXPECT_FALSE(exif.Gps());
  EXPECT_FALSE(exif.HasThumbnail());

  // A cut inside the scan leaves the metadata whole.
  ASSERT_TRUE(exif.Load(Fixture("cut_scan.jpg").c_str()));
  EXPECT_EQ(exif.Model(), "NV-D500");
  EXPECT_TRUE(exif.HasThumbnail());
}

// Every truncation and single-byte change of a real Exif block parses without a
// fault, and what it reports stays inside the block.
TEST(ExifRead, MutatedBlocksNeverReadOutside) {
  Exif good;
  ASSERT_TRUE(good.Load(Fixture("exif_le.jpg").c_str()));
  const std::vector<uint8_t> block = good.Block();
  ASSERT_GT(block.size(), 500u);
  auto exercise = [](const Exif& e, size_t size) {
    for (int i = 0; i < int(ExifIfd::Count); ++i)
      for (const ExifEntry& entry : e.Entries(ExifIfd(i))) {
        EXPECT_LE(size_t(entry.valuePos) + entry.data.size(), size);
        entry.Real(0);
        entry.Text();
      }
    e.Make();
    e.DateTimeOriginal();
    e.Gps();
    e.PixelDimensions();
    e.MakerNoteValues(59);
    if (e.HasThumbnail()) {
      EXPECT_LE(e.ThumbnailPosition() + e.Thumbnail().size(), size);
    }
  };
  for (size_t n = 0; n <= block.size(); ++n) {
    Exif e;
    if (e.ParseTiff(block.data(), n)) exercise(e, n);
  }
  std::mt19937 rng(7);
  const uint8_t kValues[] = {0x00, 0xFF, 0x7F, 0x80};
  for (size_t pos = 0; pos < block.size(); ++pos) {
    std::vector<uint8_t> bad = block;
    bad[pos] = uint8_t(kValues[pos % 4] ^ (rng() & 1));
    Exif e;
    if (e.ParseTiff(bad.data(), bad.size())) exercise(e, bad.size());
  }
  // IFD chains that loop back on themselves end.
  std::vector<uint8_t> loop = block;
  uint32_t ifd0 = good.IfdPosition(ExifIfd::Ifd0);
  size_t count = loop[ifd0] | loop[ifd0 + 1] << 8;
  size_t next = ifd0 + 2 + count * 12;
  memcpy(&loop[next], &loop[4], 4);  // IFD0's next IFD is IFD0 again
  Exif e;
  EXPECT_TRUE(e.ParseTiff(loop.data(), loop.size()));
  EXPECT_TRUE(e.Entries(ExifIfd::Ifd1).empty());
}

TEST(ExifRead, DateTimeParsing) {
  struct {
    const char* text;
    const char* expect;  // nullptr: rejected
  } cases[] = {
      {"2024:02:29 12:00:00", "2024:02:29 12:00:00"},
      {"2024-02-29 23:59:59", "2024:02:29 23:59:59"},
      {"2023/01/05", "2023:01:05 00:00:00"},
      {"2023:02:29 10:00:00", nullptr},  // not a leap year
      {"0000:00:00 00:00:00", nullptr},
      {"    :  :     :  :  ", nullptr},
      {"2023:13:01 10:00:00", nullptr},
      {"2023:12:01 24:00:00", nullptr},
      {"2023:12:01 10:60:00", nullptr},
      {"2023:12", nullptr},
      {"", nullptr},
      // A phone's zone after the time: the clock time as written.
      {"2013:07:05 03:18:27Z", "2013:07:05 03:18:27"},
      {"2013:07:05 03:18:27+09:00", "2013:07:05 03:18:27"},
      {"2013:07:05T03:18:27-0430", "2013:07:05 03:18:27"},
      {"2013:07:05 03:18Z", "2013:07:05 03:18:00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto t = ExifDateTime::Parse(c.text);
    ASSERT_EQ(t.has_value(), c.expect != nullptr);
    if (t) {
      EXPECT_EQ(t->ToString(), c.expect);
    }
  }
  struct {
    const char* digits;
    int ms;
  } subs[] = {{"5", 500}, {"25", 250}, {"123456", 123}, {"007", 7}, {"", 0}, {"x", 0}};
  for (const auto& s : subs) {
    ExifDateTime t;
    t.SetSubSeconds(s.digits);
    EXPECT_EQ(t.millisecond, s.ms) << s.digits;
  }
}

namespace {

using testsupport::Le16;
using testsupport::Le32;

// One field of a hand-made IFD; values of more than four bytes go after the IFDs.
struct Field {
  uint16_t tag, type;
  uint32_t count;
  std::vector<uint8_t> value;
};

Field Ascii(uint16_t tag, const char* text) {
  std::vector<uint8_t> v(text, text + strlen(text) + 1);
  return {tag, kTypeAscii, uint32_t(v.size()), v};
}

// Three rationals (or signed rationals: type 10) given as numerator, denominator pairs.
Field Rationals(uint16_t tag, uint16_t type, std::vector<int32_t> parts) {
  std::vector<uint8_t> v;
  for (int32_t x : parts) {
    std::vector<uint8_t> b = Le32(uint32_t(x));
    v.insert(v.end(), b.begin(), b.end());
  }
  return {tag, type, uint32_t(parts.size() / 2), v};
}

// A little-endian TIFF block: IFD0 pointing to an Exif IFD and a GPS IFD.
std::vector<uint8_t> TiffBlock(const std::vector<Field>& exifFields, const std::vector<Field>& gpsFields) {
  auto ifdSize = [](size_t n) { return uint32_t(2 + 12 * n + 4); };
  const uint32_t ifd0 = 8, exifAt = ifd0 + ifdSize(2), gpsAt = exifAt + ifdSize(exifFields.size());
  uint32_t data = gpsAt + ifdSize(gpsFields.size());
  std::vector<uint8_t> out = {'I', 'I', 42, 0, 8, 0, 0, 0};
  auto append = [&](const std::vector<uint8_t>& b) { out.insert(out.end(), b.begin(), b.end()); };
  auto put16 = [&](uint16_t v) { append(Le16(v)); };
  auto put32 = [&](uint32_t v) { append(Le32(v)); };
  std::vector<uint8_t> tail;
  auto ifd = [&](const std::vector<Field>& fields) {
    put16(uint16_t(fields.size()));
    for (const Field& f : fields) {
      put16(f.tag), put16(f.type), put32(f.count);
      if (f.value.size() <= 4) {
        std::vector<uint8_t> v = f.value;
        v.resize(4);
        out.insert(out.end(), v.begin(), v.end());
      } else {
        put32(data + uint32_t(tail.size()));
        tail.insert(tail.end(), f.value.begin(), f.value.end());
      }
    }
    put32(0);
  };
  ifd({{tag::kExifIfd, kTypeLong, 1, Le32(exifAt)}, {tag::kGpsIfd, kTypeLong, 1, Le32(gpsAt)}});
  ifd(exifFields);
  ifd(gpsFields);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

}  // namespace

// Phones write the position and altitude as signed rationals (type 10) and the date
// with a zone: both read as a camera's.
TEST(ExifRead, PhoneGpsAndDate) {
  struct Case {
    const char* what;
    uint16_t type;
    std::vector<int32_t> lat, lon;
    const char *latRef, *lonRef;  // nullptr: none written
    bool position;
    double latitude, longitude;
    char latRefRead, lonRefRead;
  } cases[] = {
      {"rationals", kTypeRational, {35, 1, 39, 1, 3108, 100}, {139, 1, 44, 1, 4344, 100}, "N", "E", true,
       35.6586, 139.7454, 'N', 'E'},
      {"signed, north east", kTypeSRational, {35, 1, 39, 1, 3108, 100}, {139, 1, 44, 1, 4344, 100}, "N", "E", true,
       35.6586, 139.7454, 'N', 'E'},
      {"signed, south west", kTypeSRational, {33, 1, 51, 1, 2448, 100}, {151, 1, 12, 1, 5508, 100}, "S", "W", true,
       -33.8568, -151.2153, 'S', 'W'},
      {"negative without reference", kTypeSRational, {-33, 1, -51, 1, -2448, 100}, {-151, 1, -12, 1, -5508, 100},
       nullptr, nullptr, true, -33.8568, -151.2153, 'S', 'W'},
      {"negative denominator", kTypeSRational, {33, -1, 51, -1, 2448, -100}, {151, 1, 12, 1, 5508, 100}, nullptr,
       "E", true, -33.8568, 151.2153, 'S', 'E'},
      {"the reference decides", kTypeSRational, {-33, 1, -51, 1, -2448, 100}, {151, 1, 12, 1, 5508, 100}, "S", "E",
       true, -33.8568, 151.2153, 'S', 'E'},
      {"mixed signs", kTypeSRational, {35, 1, -39, 1, 0, 1}, {139, 1, 44, 1, 0, 1}, "N", "E", false, 0, 0, 0, 0},
      {"over ninety degrees", kTypeSRational, {-91, 1, 0, 1, 0, 1}, {139, 1, 44, 1, 0, 1}, nullptr, "E", false, 0,
       0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Field> gps = {Rationals(tag::kGpsLatitude, c.type, c.lat),
                              Rationals(tag::kGpsLongitude, c.type, c.lon)};
    if (c.latRef) gps.push_back(Ascii(tag::kGpsLatitudeRef, c.latRef));
    if (c.lonRef) gps.push_back(Ascii(tag::kGpsLongitudeRef, c.lonRef));
    std::vector<uint8_t> block = TiffBlock({Ascii(tag::kDateTimeOriginal, "2013:07:05 03:18:27Z")}, gps);
    Exif exif;
    ASSERT_TRUE(exif.ParseTiff(block.data(), block.size()));
    EXPECT_EQ(exif.DateTimeOriginal().value_or(ExifDateTime()).ToString(), "2013:07:05 03:18:27");
    auto g = exif.Gps();
    ASSERT_EQ(g && g->latitude && g->longitude, c.position);
    if (!c.position) continue;
    EXPECT_NEAR(g->latitude->decimal, c.latitude, 1e-4);
    EXPECT_NEAR(g->longitude->decimal, c.longitude, 1e-4);
    EXPECT_EQ(g->latitude->ref, c.latRefRead);
    EXPECT_EQ(g->longitude->ref, c.lonRefRead);
    EXPECT_GT(g->latitude->degrees.Value(), 0);  // parts are magnitudes
  }

  struct Altitude {
    const char* what;
    uint16_t type;
    int32_t num, den;
    int ref;  // -1: none written
    double metres;
    int refRead;
  } altitudes[] = {
      {"rational above", kTypeRational, 355, 10, 0, 35.5, 0},
      {"rational below", kTypeRational, 355, 10, 1, -35.5, 1},
      {"signed above", kTypeSRational, 355, 10, -1, 35.5, 0},
      {"signed negative", kTypeSRational, -12, 1, -1, -12.0, 1},
      {"signed negative, reference below", kTypeSRational, -12, 1, 1, -12.0, 1},
  };
  for (const Altitude& a : altitudes) {
    SCOPED_TRACE(a.what);
    std::vector<Field> gps = {Rationals(tag::kGpsAltitude, a.type, {a.num, a.den})};
    if (a.ref >= 0) gps.push_back({tag::kGpsAltitudeRef, kTypeByte, 1, {uint8_t(a.ref)}});
    std::vector<uint8_t> block = TiffBlock({Ascii(tag::kDateTimeOriginal, "2013:07:05 03:18:27+09:00")}, gps);
    Exif exif;
    ASSERT_TRUE(exif.ParseTiff(block.data(), block.size()));
    EXPECT_EQ(exif.DateTimeOriginal().value_or(ExifDateTime()).ToString(), "2013:07:05 03:18:27");
    auto g = exif.Gps();
    ASSERT_TRUE(g && g->altitudeMetres && g->altitude);
    EXPECT_DOUBLE_EQ(*g->altitudeMetres, a.metres);
    EXPECT_EQ(g->altitudeRef, a.refRead);
    EXPECT_DOUBLE_EQ(g->altitude->Value(), a.metres < 0 ? -a.metres : a.metres);
  }
}
