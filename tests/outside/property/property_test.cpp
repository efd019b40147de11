// Property sets of the fixtures: texts, times, GPS, persons, focus areas, handles.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "VxProperty.h"
#include "facts.h"
#include "fixtures.h"
#include "format.h"
#include <textkit/text.h>

#include "format.h"

using imgtest::Fixture;
using imgtest::ScratchCopy;

namespace {

// A property set that closes itself.
class Props {
 public:
  explicit Props(const std::string& path, DWORD flags = PR_INIT_DEFAULT)
      : h_(PrInitGetPropertyString(path.c_str(), flags)) {}
  ~Props() {
    if (h_) PrExitGetPropertyString(h_);
  }
  HPRPROPERTY get() const { return h_; }
  std::string operator[](DWORD id) const { return PrGetPropertyString(h_, id); }

 private:
  HPRPROPERTY h_;
};

std::string Stamp(const SYSTEMTIME& t) { return vxprop::FormatDateTime(t); }

uint64_t SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA fa;
  EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &fa));
  return (uint64_t(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow;
}

}  // namespace

TEST(PropertyReader, FixtureTable) {
  struct Case {
    const char* file;
    const char* maker;
    const char* model;
    const char* shot;  // id 2
    const char* size;  // id 48, as shown
    const char* kind;  // id 16
  };
  const Case cases[] = {
      // Orientation 6 and 8 show the picture turned: width and height exchange.
      {"exif_full.jpg", "Norvane", "NV-D500", "2026/03/14 09:12:05", "480 × 640", "JPEG 画像"},
      {"exif_nothumb.jpg", "Norvane", "NV-S20", "2025/12/31 23:59:58", "640 × 480", "JPEG 画像"},
      {"exif_south_west.jpg", "Norvane", "NV-S20", "2024/02/29 12:00:00", "240 × 320", "JPEG 画像"},
      {"exif_le.jpg", "Norvane", "NV-X1", "2023/07/01 18:30:15", "360 × 240", "JPEG 画像"},
      {"exif.tif", "Norvane", "NV-T3", "2021/11/11 11:11:11", "64 × 96", "TIFF 画像"},
      {"image.png", "", "", nullptr, "200 × 150", "PNG 画像"},
      {"movie.mp4", "", "", nullptr, "640 × 360", "MP4 動画"},
      {"colours.mts", "", "", nullptr, "320 × 240", "AVCHD 動画"},
      {"colours.m2ts", "", "", nullptr, "320 × 240", "AVCHD 動画"},
      {"garbage.mts", "", "", nullptr, "", "AVCHD 動画"},
      {"tone.mp3", "", "", nullptr, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::string path = Fixture(c.file);
    Props p(path);
    ASSERT_TRUE(p.get());
    EXPECT_EQ(p[PRID_MAKER], c.maker);
    EXPECT_EQ(p[PRID_MODEL], c.model);
    if (c.shot) {
      EXPECT_EQ(p[PRID_SHOT_DATE], c.shot);
    }
    EXPECT_EQ(p[PRID_IMAGE_SIZE], c.size);
    EXPECT_EQ(p[PRID_FILE_KIND], c.kind);
    EXPECT_EQ(p[PRID_FILE_SIZE], vxprop::FormatFileSize(SizeOf(path)));
    EXPECT_EQ(p[PRID_MEMBERS], "");
    EXPECT_FALSE(p[PRID_WRITE_TIME].empty());
  }
}

TEST(PropertyReader, CameraSettingsAndScenes) {
  Props le(Fixture("exif_le.jpg"), PR_INIT_CAMERA);
  EXPECT_EQ(le[PRID_EXPOSURE], "1/250 秒");
  EXPECT_EQ(le[PRID_APERTURE], "F5.6");
  EXPECT_EQ(le[PRID_ISO], "400");
  EXPECT_EQ(le[PRID_FOCAL_LENGTH], "35 mm");
  EXPECT_EQ(le[PRID_FLASH], "発光禁止");
  EXPECT_EQ(le[PRID_WHITE_BALANCE], "マニュアル");
  EXPECT_EQ(le[PRID_SHOT_MODE], "プログラム");
  EXPECT_EQ(le[PRID_SCENE], "夜景");
  EXPECT_EQ(le[PRID_LIGHTING], "");
  EXPECT_EQ(le[PRID_FACES], "");  // a maker note without the face tag

  Props people(Fixture("people.jpg"), PR_INIT_CAMERA);
  EXPECT_EQ(people[PRID_SCENE], "ポートレート");
  EXPECT_EQ(people[PRID_SCENE_MODE], "スポーツ");
  EXPECT_EQ(people[PRID_SCENE_OTHER], "");
  EXPECT_EQ(people[PRID_LIGHTING], "フラッシュ");
  EXPECT_EQ(people[PRID_CAPTION], "Sports day");
  EXPECT_EQ(people[PRID_FACES], "2");
  EXPECT_STREQ(PrSceneModeName(1), "スポーツ");
  EXPECT_EQ(PrSceneModeName(999), nullptr);
}

TEST(PropertyReader, PersonsAndFocusFromTheMakerNote) {
  Props people(Fixture("people.jpg"), PR_INIT_CAMERA);
  PRPERSONS persons;
  memset(&persons, 0x55, sizeof persons);
  ASSERT_TRUE(PrGetPersonsStruct(people.get(), &persons));
  ASSERT_EQ(persons.nCount, 2);
  EXPECT_EQ(std::string(persons.persons[0].szName, 6), "\xE8\x8A\xB1\xE5\xAD\x90");  // 花子 in UTF-8
  EXPECT_STREQ(persons.persons[1].szName, "Taro");
  EXPECT_EQ(persons.persons[2].szName[0], 0);  // the rest zeroed
  int col = -1, cols = -1, row = -1, rows = -1;
  EXPECT_EQ(PrGetFocusPoints(people.get(), &col, &cols, &row, &rows), S_OK);
  EXPECT_EQ(col, 2);
  EXPECT_EQ(cols, 4);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(rows, 3);

  // Files that carry none say so honestly, and never hand out a zero count.
  for (const char* file : {"exif_full.jpg", "image.png", "movie.mp4"}) {
    SCOPED_TRACE(file);
    Props p(Fixture(file), PR_INIT_CAMERA);
    EXPECT_FALSE(PrGetPersonsStruct(p.get(), &persons));
    EXPECT_EQ(persons.nCount, 0);
    EXPECT_EQ(PrGetFocusPoints(p.get(), &col, &cols, &row, &rows), S_FALSE);
    EXPECT_EQ(col, 0);
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(rows, 1);
  }
}

TEST(PropertyReader, GpsPositions) {
  struct Case {
    const char* file;
    HRESULT hr;
    const char* lat;
    const char* lon;
    const char* alt;
  };
  const Case cases[] = {
      {"exif_full.jpg", S_OK, "35/39/31", "139/44/43", ""},
      {"exif_south_west.jpg", S_OK, "-33/51/24", "-151/12/55", ""},
      {"exif_le.jpg", S_OK, "51/30/3", "0/-7/29", "-35.5"},  // below sea level
      {"exif_nothumb.jpg", PR_E_NODATA, "", "", ""},
      {"image.png", PR_E_NODATA, "", "", ""},
      {"no_such_file.jpg", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    char lat[PR_GPS_TEXT_MAX] = "x", lon[PR_GPS_TEXT_MAX] = "x", alt[PR_GPS_TEXT_MAX] = "x";
    EXPECT_EQ(PrGetGpsData(Fixture(c.file).c_str(), lat, lon, alt), c.hr);
    EXPECT_STREQ(lat, c.lat);
    EXPECT_STREQ(lon, c.lon);
    EXPECT_STREQ(alt, c.alt);
    // The same from a set opened once for everything.
    HPRPROPERTY set = PrInitGetPropertyString(Fixture(c.file).c_str(), PR_INIT_CAMERA);
    if (set) {
      char lat2[PR_GPS_TEXT_MAX] = "x", lon2[PR_GPS_TEXT_MAX] = "x", alt2[PR_GPS_TEXT_MAX] = "x";
      EXPECT_EQ(PrGetGpsDataOf(set, lat2, lon2, alt2), c.hr);
      EXPECT_STREQ(lat2, c.lat);
      EXPECT_STREQ(lon2, c.lon);
      EXPECT_STREQ(alt2, c.alt);
      PrExitGetPropertyString(set);
      EXPECT_EQ(PrGetGpsDataOf(set, lat2, lon2, alt2), E_HANDLE);
    }
    int d, m, s;
    if (c.hr == S_OK) {
      EXPECT_EQ(sscanf(lat, "%d/%d/%d", &d, &m, &s), 3);
    }
  }
  EXPECT_EQ(PrGetGpsData(Fixture("exif_full.jpg").c_str(), nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(PrGetGpsData(nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
}

TEST(PropertyReader, RecordingTimeFallbacks) {
  using vxprop::TimeSource;
  // A file time we choose: 2020-01-02 03:04:05 UTC.
  SYSTEMTIME utc = {2020, 1, 4, 2, 3, 4, 5, 0};
  FILETIME ft;
  SystemTimeToFileTime(&utc, &ft);
  SYSTEMTIME localFileTime;
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &localFileTime);
  auto stamped = [&](const char* fixture, const char* name) {
    std::string p = ScratchCopy(fixture, name);
    HANDLE h = CreateFileA(p.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    return p;
  };
  SYSTEMTIME movieUtc = {2024, 5, 1, 6, 7, 8, 9, 0}, movieLocal;
  SystemTimeToTzSpecificLocalTime(nullptr, &movieUtc, &movieLocal);

  struct Case {
    std::string path;
    TimeSource source;
    std::string when;
  };
  const Case cases[] = {
      {stamped("exif_full.jpg", "t_exif.jpg"), TimeSource::ExifOriginal, "2026/03/14 09:12:05"},
      {stamped("exif_digitized.jpg", "t_digitized.jpg"), TimeSource::ExifDigitized, "2025/01/02 03:04:05"},
      {stamped("exif_edited.jpg", "t_edited.jpg"), TimeSource::FileWritten, Stamp(localFileTime)},  // an edit time is no recording time
      {stamped("plain.jpg", "t_plain.jpg"), TimeSource::FileWritten, Stamp(localFileTime)},
      {stamped("image.png", "t_image.png"), TimeSource::FileWritten, Stamp(localFileTime)},
      {stamped("movie.mov", "t_dated.mov"), TimeSource::MovieHeader, Stamp(movieLocal)},
      {stamped("movie.mp4", "t_undated.mp4"), TimeSource::FileWritten, Stamp(localFileTime)},  // header time 0
      {stamped("cut_exif.jpg", "t_cut.jpg"), TimeSource::FileWritten, Stamp(localFileTime)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    vxprop::FileFacts facts;
    ASSERT_TRUE(vxprop::GatherFacts(c.path.c_str(), &facts));
    TimeSource source;
    EXPECT_EQ(Stamp(vxprop::RecordingTime(facts, &source)), c.when);
    EXPECT_EQ(source, c.source);

    Props p(c.path);
    SYSTEMTIME t{}, r{};
    EXPECT_EQ(PrGetPropertySysTime(p.get(), PRID_SHOT_DATE, &t), S_OK);
    EXPECT_EQ(PrGetAVCHDRecTime(p.get(), &r), S_OK);
    EXPECT_EQ(Stamp(t), c.when);
    EXPECT_EQ(Stamp(r), c.when);
    EXPECT_EQ(PrGetPropertySysTime(p.get(), PRID_WRITE_TIME, &t), S_OK);
    EXPECT_EQ(Stamp(t), Stamp(localFileTime));
    EXPECT_EQ(PrGetPropertySysTime(p.get(), PRID_MAKER, &t), PR_E_NODATA);
    EXPECT_EQ(PrGetPropertySysTime(p.get(), PRID_SHOT_DATE, nullptr), E_INVALIDARG);
    // The capture time is the recording time the camera wrote, never the file's own.
    SYSTEMTIME shot{};
    const bool captured = c.source != TimeSource::FileWritten;
    EXPECT_EQ(PrGetCaptureTime(p.get(), &shot), captured ? S_OK : PR_E_NODATA);
    if (captured) { EXPECT_EQ(Stamp(shot), c.when); }
  }
  SYSTEMTIME shot{};
  EXPECT_EQ(PrGetCaptureTime(nullptr, &shot), E_HANDLE);
}

TEST(PropertyReader, MovieHeader) {
  for (const char* file : {"movie.mp4", "colours.mts"}) {
    Props p(Fixture(file));
    EXPECT_EQ(p[PRID_DURATION], "0:00:02") << file;
    EXPECT_FALSE(p[PRID_BIT_RATE].empty()) << file;
  }
  // A broken or truncated header gives no values rather than a crash.
  std::vector<uint8_t> bytes = imgtest::ReadAll(Fixture("movie.mov"));
  ASSERT_GT(bytes.size(), 4096u);
  for (size_t cut : {size_t(7), size_t(40), size_t(200), bytes.size() / 2}) {
    std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
    imgtest::WriteAll(imgtest::ScratchDir() + "\\cut.mov", part);
    Props c(imgtest::ScratchDir() + "\\cut.mov");
    ASSERT_TRUE(c.get());
    EXPECT_EQ(c[PRID_DURATION], "") << cut;
  }
}

TEST(PropertyReader, HandlesAreCheckedAndTextsStay) {
  EXPECT_EQ(PrInitGetPropertyString(nullptr, 0), nullptr);
  EXPECT_EQ(PrInitGetPropertyString("", 0), nullptr);
  EXPECT_EQ(PrInitGetPropertyString(Fixture("no_such_file.jpg").c_str(), 0), nullptr);
  EXPECT_EQ(PrInitGetPropertyString(imgtest::ScratchDir().c_str(), 0), nullptr);  // a folder

  HPRPROPERTY h = PrInitGetPropertyString(Fixture("exif_full.jpg").c_str(), 0);
  ASSERT_TRUE(h);
  LPCSTR maker = PrGetPropertyString(h, PRID_MAKER);
  for (DWORD id = 0; id < 300; ++id) PrGetPropertyString(h, id);
  EXPECT_STREQ(maker, "Norvane");  // still valid after many other texts
  EXPECT_STREQ(PrGetPropertyString(h, 12345), "");
  EXPECT_EQ(PrExitGetPropertyString(h), S_OK);
  EXPECT_EQ(PrExitGetPropertyString(h), E_HANDLE);

  int dummy = 0;
  HPRPROPERTY bogus = &dummy;
  SYSTEMTIME t;
  PRPERSONS persons;
  int a, b, c, d;
  EXPECT_STREQ(PrGetPropertyString(bogus, PRID_MAKER), "");
  EXPECT_EQ(PrGetPropertySysTime(bogus, PRID_SHOT_DATE, &t), E_HANDLE);
  EXPECT_EQ(PrGetAVCHDRecTime(bogus, &t), E_HANDLE);
  EXPECT_EQ(PrGetAVCHDEdit(bogus, &a), E_HANDLE);
  EXPECT_FALSE(PrGetPersonsStruct(bogus, &persons));
  EXPECT_EQ(PrGetFocusPoints(bogus, &a, &b, &c, &d), E_HANDLE);
  EXPECT_EQ(PrGetFocusPoints(bogus, nullptr, &b, &c, &d), E_INVALIDARG);
}
