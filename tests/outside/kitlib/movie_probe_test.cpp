// The movie header probe of the imaging engine on generated movies of each container.
#include <gtest/gtest.h>

#include <imaging/movieprobe.h>

#include <cstring>
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
  HANDLE f = CreateFileA("testdata\\movie.mov", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  std::vector<char> data(GetFileSize(f, nullptr));
  DWORD got = 0;
  ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
  CloseHandle(f);
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  std::string cut = std::string(tmp) + "probe-cut-" + std::to_string(GetCurrentProcessId()) + ".mov";
  for (size_t n : {size_t(3), size_t(8), size_t(40), data.size() / 3, data.size() - 7}) {
    HANDLE w = CreateFileA(cut.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wr = 0;
    WriteFile(w, data.data(), static_cast<DWORD>(n), &wr, nullptr);
    CloseHandle(w);
    imaging::ProbeMovie(cut.c_str(), &h);  // any answer, no crash
  }
  DeleteFileA(cut.c_str());
}

}  // namespace
