// Perceptual hashes, movie frames and shell icons.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "program.h"
#include "imaging/decode.h"
#include "imaging/encode.h"
#include "imaging/movie.h"
#include "imaging/phash.h"
#include "imaging/shellicon.h"
#include "imaging/transform.h"

using namespace imaging;
using imgtest::Fixture;

TEST(PerceptualHash, ResizedCopyIsCloserThanAnotherPicture) {
  const char* pictures[] = {"wizard.jpg", "exif_full.jpg", "rose.jpg", "image.png"};
  for (const char* name : pictures) {
    SCOPED_TRACE(name);
    // The copy: shrunk to 60 %, recompressed hard, written and hashed from the file.
    Dib full;
    DecodeOptions opt;
    ASSERT_EQ(DecodeFile(Fixture(name).c_str(), opt, &full), S_OK);
    Dib small;
    ASSERT_TRUE(Resize(full, full.Width() * 3 / 5, full.Height() * 3 / 5, &small));
    std::string copy = imgtest::ScratchDir() + "\\copy_" + name + ".jpg";
    ASSERT_EQ(SaveJpeg(small, copy.c_str(), 40), S_OK);
    uint64_t original = 0, copied = 0;
    ASSERT_EQ(PerceptualHashFile(Fixture(name).c_str(), &original), S_OK);
    ASSERT_EQ(PerceptualHashFile(copy.c_str(), &copied), S_OK);
    int copyDistance = HashDistance(original, copied);
    EXPECT_LE(copyDistance, 8);
    for (const char* other : pictures) {
      if (other == name) continue;
      uint64_t h = 0;
      ASSERT_EQ(PerceptualHashFile(Fixture(other).c_str(), &h), S_OK);
      EXPECT_LT(copyDistance, HashDistance(original, h)) << other;
    }
  }
  EXPECT_EQ(HashDistance(0, ~uint64_t(0)), 64);
  EXPECT_EQ(HashDistance(0x5, 0x6), 2);
  uint64_t h;
  EXPECT_FAILED(PerceptualHashFile(Fixture("not_image.jpg").c_str(), &h));
}

TEST(MovieFrame, Mp4GivesAFrame) {
  Dib frame;
  MovieInfo info;
  ASSERT_EQ(GrabMovieFrame(Fixture("movie.mp4").c_str(), 160, 160, &frame, &info, 15000), S_OK);
  EXPECT_EQ(info.width, 640);
  EXPECT_EQ(info.height, 360);
  EXPECT_NEAR(info.durationSeconds, 2.0, 0.2);
  EXPECT_EQ(frame.Width(), 160);
  EXPECT_EQ(frame.Height(), 90);
  // The test pattern is colourful: not a black or empty frame.
  int bright = 0;
  for (int y = 0; y < frame.Height(); y += 8)
    for (int x = 0; x < frame.Width(); x += 8) bright += (frame.Pixel(x, y) & 0xFFFFFF) > 0x202020;
  EXPECT_GT(bright, 20);
}

// MPEG-TS in both packet sizes comes from the movie kit (Wine's DirectShow fails on it); the
// frame a third in (0.67 s) is still the red second.
TEST(MovieFrame, TransportStreamsGiveTheirFrame) {
  for (const char* name : {"colours.mts", "colours.m2ts"}) {
    SCOPED_TRACE(name);
    Dib frame;
    MovieInfo info;
    ASSERT_EQ(GrabMovieFrame(Fixture(name).c_str(), 160, 160, &frame, &info, 15000), S_OK);
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 240);
    EXPECT_NEAR(info.durationSeconds, 2.0, 0.1);
    ASSERT_EQ(frame.Width(), 160);
    ASSERT_EQ(frame.Height(), 120);
    uint32_t c = frame.Pixel(80, 60);  // 0xAARRGGBB
    EXPECT_GT((c >> 16) & 0xFF, 200u);
    EXPECT_LT(c & 0xFF, 60u);
    // At 1.5 s: blue.
    ASSERT_EQ(GrabMovieFrame(Fixture(name).c_str(), 0, 0, &frame, nullptr, 15000, 1.5), S_OK);
    c = frame.Pixel(160, 120);
    EXPECT_GT(c & 0xFF, 200u);
    EXPECT_LT((c >> 16) & 0xFF, 60u);
  }
  Dib frame;
  EXPECT_FAILED(GrabMovieFrame(Fixture("garbage.mts").c_str(), 0, 0, &frame, nullptr, 15000));
  EXPECT_FAILED(GrabMovieFrame(Fixture("cut.mts").c_str(), 0, 0, &frame, nullptr, 15000));
}

// Wine's DirectShow keeps about 1.5 MB of every graph that decoded: grabs of the movies
// the kit reads leave nothing behind.
TEST(MovieFrame, RepeatedGrabsKeepNoMemory) {
  Dib frame;
  ASSERT_EQ(GrabMovieFrame(Fixture("movie.mp4").c_str(), 160, 160, &frame, nullptr, 15000), S_OK);
  SIZE_T before = testsupport::PrivateBytes();
  for (int i = 0; i < 12; ++i)
    ASSERT_EQ(GrabMovieFrame(Fixture("movie.mp4").c_str(), 160, 160, &frame, nullptr, 15000), S_OK);
  EXPECT_LT(double(testsupport::PrivateBytes()) - double(before), 4.0 * 1024 * 1024);
}

TEST(MovieFrame, FailuresAreQuickAndClear) {
  Dib frame;
  EXPECT_FAILED(GrabMovieFrame(Fixture("no_such_movie.mp4").c_str(), 0, 0, &frame));
  EXPECT_FAILED(GrabMovieFrame(Fixture("not_image.jpg").c_str(), 0, 0, &frame, nullptr, 15000));
  EXPECT_EQ(GrabMovieFrame(nullptr, 0, 0, &frame), E_INVALIDARG);
  // The caller waits no longer than it asked; the abandoned worker ends by itself.
  DWORD start = GetTickCount();
  EXPECT_EQ(GrabMovieFrame(Fixture("movie.mp4").c_str(), 0, 0, &frame, nullptr, 1),
            HRESULT_FROM_WIN32(ERROR_TIMEOUT));
  EXPECT_LT(GetTickCount() - start, 500u);
}

TEST(ShellIconPicture, ExistingAndMissingFiles) {
  for (std::string path : {Fixture("exif_full.jpg"), imgtest::ScratchDir() + "\\nothing.txt"}) {
    SCOPED_TRACE(path);
    Dib icon;
    ASSERT_EQ(ShellIcon(path.c_str(), 32, 32, &icon), S_OK);
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
    EXPECT_EQ(icon.BitCount(), 24);
    Dib alpha;
    ASSERT_EQ(ShellIcon(path.c_str(), 32, 32, &alpha, 32), S_OK);
    EXPECT_TRUE(alpha.HasAlpha());
    int opaque = 0, clear = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        uint32_t a = alpha.Pixel(x, y) >> 24;
        opaque += a == 255;
        clear += a == 0;
      }
    EXPECT_GT(opaque, 0);  // something is drawn ...
    EXPECT_GT(clear, 0);   // ... and the corners of an icon are see-through
  }
  Dib icon;
  EXPECT_EQ(ShellIcon("x.txt", 0, 32, &icon), E_INVALIDARG);
}
