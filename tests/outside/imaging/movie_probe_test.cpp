// The movie header probe of the imaging engine on generated movies of each container and
// on headers made here.
#include <gtest/gtest.h>

#include <files.h>
#include <fuzz.h>
#include <imaging/movieprobe.h>
#include <tempfolder.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace {

struct Case {
  const char* file;
  const char* container;
  const char* codec;
  int width, height;
  double seconds;
};

TEST(MovieProbe, ContainersOfTheFixtures) {
  const Case cases[] = {
      {"testdata\\movie.mp4", "MP4", "avc1", 640, 360, 2.0},
      {"testdata\\movie.mov", "QuickTime", "avc1", 320, 240, 1.0},
      {"testdata\\movie.avi", "AVI", "MJPG", 320, 240, 1.0},
      {"testdata\\movie.asf", "ASF", "WMV2", 640, 360, 1.0},
      {"testdata\\movie.mpg", "MPEG", "MPEG-2", 640, 360, 0.0},
  };
  for (const Case& c : cases) {
    imaging::MovieHeader h;
    ASSERT_EQ(imaging::ProbeMovie(c.file, &h), S_OK) << c.file;
    EXPECT_EQ(h.container, c.container) << c.file;
    EXPECT_EQ(h.codec, c.codec) << c.file;
    EXPECT_EQ(h.width, c.width) << c.file;
    EXPECT_EQ(h.height, c.height) << c.file;
    if (c.seconds > 0) {
      EXPECT_NEAR(h.durationSeconds, c.seconds, 0.2) << c.file;
    }
  }
}

TEST(MovieProbe, RecordingTimeFromTheMovieHeader) {
  imaging::MovieHeader h;
  ASSERT_EQ(imaging::ProbeMovie("testdata\\movie.mov", &h), S_OK);
  ASSERT_TRUE(h.created.has_value());
  EXPECT_EQ(h.created->wYear, 2024);
  EXPECT_EQ(h.created->wMonth, 5);
  EXPECT_EQ(h.created->wDay, 6);
  EXPECT_EQ(h.created->wHour, 7);
  EXPECT_EQ(h.created->wMinute, 8);
  EXPECT_EQ(h.created->wSecond, 9);
}

TEST(MovieProbe, PicturesBrokenAndTruncatedFilesFailCleanly) {
  imaging::MovieHeader h;
  EXPECT_NE(imaging::ProbeMovie("testdata\\plain.jpg", &h), S_OK);
  EXPECT_NE(imaging::ProbeMovie("testdata\\not_image.jpg", &h), S_OK);
  EXPECT_EQ(imaging::ProbeMovie("testdata\\missing.mp4", &h), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(imaging::ProbeMovie(nullptr, &h), E_INVALIDARG);

  // Every cut of the movie's start either probes or fails, never reads past the end.
  std::string data = testsupport::ReadWholeFile("testdata\\movie.mov");
  ASSERT_FALSE(data.empty());
  std::string dir = testsupport::NewTempFolder("probe-cut");
  std::string cut = dir + "\\cut.mov";
  for (size_t n : {size_t(3), size_t(8), size_t(40), data.size() / 3, data.size() - 7}) {
    ASSERT_TRUE(testsupport::WriteWholeFile(cut, data.substr(0, n)));
    imaging::ProbeMovie(cut.c_str(), &h);  // any answer, no crash
  }
  testsupport::RemoveTree(dir);
}

// ---- Crafted headers in memory ------------------------------------------------------

void Put32BE(std::vector<uint8_t>& v, uint32_t x) {
  for (int shift = 24; shift >= 0; shift -= 8) v.push_back(uint8_t(x >> shift));
}

std::vector<uint8_t> Box(const char* type, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> b;
  Put32BE(b, uint32_t(8 + body.size()));
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

// The header's recording time as seconds since 1904-01-01 UTC (the boxes' own count).
std::optional<uint64_t> CreatedSeconds(const std::vector<uint8_t>& bytes) {
  imaging::MovieHeader h;
  FILETIME ft;
  if (FAILED(imaging::ProbeMovieBytes(bytes.data(), bytes.size(), &h)) || !h.created ||
      !SystemTimeToFileTime(&*h.created, &ft))
    return std::nullopt;
  return ((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000000 - 9561628800ull;
}

TEST(MovieProbe, CreationTimeOfTheMovieHeader) {
  std::vector<uint8_t> mvhd0 = {0, 0, 0, 0};
  Put32BE(mvhd0, 3000000000u);
  mvhd0.resize(100, 0);
  std::vector<uint8_t> ftyp = Box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0});
  std::vector<uint8_t> file = ftyp;
  auto moov = Box("moov", Box("mvhd", mvhd0));
  file.insert(file.end(), moov.begin(), moov.end());
  ASSERT_TRUE(CreatedSeconds(file));
  EXPECT_EQ(3000000000u, *CreatedSeconds(file));

  std::vector<uint8_t> mvhd1 = {1, 0, 0, 0};
  Put32BE(mvhd1, 1);
  Put32BE(mvhd1, 2);
  mvhd1.resize(112, 0);
  auto v1 = Box("moov", Box("mvhd", mvhd1));
  ASSERT_TRUE(CreatedSeconds(v1));
  EXPECT_EQ((uint64_t(1) << 32) | 2, *CreatedSeconds(v1));

  // No moov, a zero time, a box claiming more than there is.
  EXPECT_FALSE(CreatedSeconds(ftyp));
  std::vector<uint8_t> zero(mvhd0);
  std::fill(zero.begin() + 4, zero.begin() + 8, 0);
  EXPECT_FALSE(CreatedSeconds(Box("moov", Box("mvhd", zero))));
  std::vector<uint8_t> cut(moov.begin(), moov.begin() + 20);
  EXPECT_FALSE(CreatedSeconds(cut));
}

TEST(MovieProbe, JunkInsideTheMovieBoxIsHandled) {
  uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> junk(64 + round * 3);
    for (uint8_t& b : junk) b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 24);
    junk[4] = 'm', junk[5] = 'v', junk[6] = 'h', junk[7] = 'd';
    std::vector<uint8_t> moov = Box("moov", junk);
    imaging::MovieHeader h;
    imaging::ProbeMovieBytes(moov.data(), moov.size(), &h);  // any answer, no crash
  }
}

}  // namespace

// AVI and ASF keep frame sizes in 32 bits: 2^31 and more came back negative with
// S_OK. Such a header fails.
TEST(MovieProbe, FrameSizesBeyondAnyFrameFail) {
  auto read = [](const char* file) {
    std::string bytes = testsupport::ReadWholeFile(std::string("testdata\\") + file);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  };
  auto find = [](const std::vector<uint8_t>& d, const std::vector<uint8_t>& what) {
    return size_t(std::search(d.begin(), d.end(), what.begin(), what.end()) - d.begin());
  };
  const std::vector<uint8_t> avi = read("movie.avi"), asf = read("movie.asf");
  // avih: width and height after eight fields; the ASF video stream's type-specific data
  // (width, height) follows the 54 bytes of stream properties after its 24-byte object head.
  const size_t avih = find(avi, {'a', 'v', 'i', 'h'}) + 8;
  const std::vector<uint8_t> kStreamProps = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11};
  const size_t props = find(asf, kStreamProps) + 24 + 54;
  ASSERT_LT(avih, avi.size());
  ASSERT_LT(props, asf.size());
  const struct {
    const char* what;
    const std::vector<uint8_t>& movie;
    testsupport::ByteChange change;
  } kCases[] = {
      {"AVI width 2^31", avi, {avih + 32, testsupport::Le32(0x80000000u)}},
      {"AVI height all ones", avi, {avih + 36, testsupport::Le32(0xFFFFFFFFu)}},
      {"AVI width 2^31 - 1", avi, {avih + 32, testsupport::Le32(0x7FFFFFFFu)}},
      {"ASF width 2^31", asf, {props, testsupport::Le32(0x80000000u)}},
      {"ASF height all ones", asf, {props + 4, testsupport::Le32(0xFFFFFFFFu)}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bad = testsupport::WithChanges(c.movie, {c.change});
    imaging::MovieHeader h;
    EXPECT_EQ(imaging::ProbeMovieBytes(bad.data(), bad.size(), &h), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_EQ(h.width, 0);
    EXPECT_EQ(h.height, 0);
  }
}
