// Facts and pictures of the generated movies: red for a second then blue (MPEG-TS in
// 188- and 192-byte packets), four coloured quarters (Motion-JPEG QuickTime), an MP4.
#include <gtest/gtest.h>

#include <files.h>
#include <program.h>
#include <tempfolder.h>

#include <cstring>
#include <string>

#include "moviekit/moviekit.h"

using testsupport::Fixture;

namespace {

// The colour of a frame's pixel (x, y from the top) as RGB.
COLORREF At(const moviekit::Frame& f, int x, int y) {
  int stride = (f.header.biWidth * 3 + 3) & ~3;
  const BYTE* p = f.bits + size_t(stride) * (f.header.biHeight - 1 - y) + 3 * x;
  return RGB(p[2], p[1], p[0]);
}

// Within 40 on every channel: the codecs round colours a little.
bool Near(COLORREF a, COLORREF b) {
  return abs(GetRValue(a) - GetRValue(b)) <= 40 && abs(GetGValue(a) - GetGValue(b)) <= 40 &&
         abs(GetBValue(a) - GetBValue(b)) <= 40;
}

struct FrameHolder {
  moviekit::Frame f;
  ~FrameHolder() { moviekit::FreeFrame(&f); }
};

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kLime = RGB(0, 255, 0), kWhite = RGB(255, 255, 255);

}  // namespace

TEST(MovieFacts, OfEachKind) {
  struct Case {
    const char* file;
    const char* container;
    int width, height;
    double fps, duration;
    const char* video;
    const char* audio;
  } cases[] = {
      {"colours.mts", "mpegts", 320, 240, 25, 2.0, "h264", "ac3"},
      {"colours.m2ts", "mpegts", 320, 240, 25, 2.0, "h264", "ac3"},
      {"quarters.mov", "mov,mp4,m4a,3gp,3g2,mj2", 160, 120, 15, 1.0, "mjpeg", "pcm_s16le"},
      {"movie.mp4", "mov,mp4,m4a,3gp,3g2,mj2", 640, 360, 30, 2.0, "h264", "aac"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    moviekit::MovieFacts facts;
    ASSERT_EQ(moviekit::ReadFacts(Fixture(c.file).c_str(), &facts), S_OK);
    EXPECT_STREQ(facts.container, c.container);
    EXPECT_EQ(facts.width, c.width);
    EXPECT_EQ(facts.height, c.height);
    EXPECT_NEAR(facts.frameRate, c.fps, 0.01);
    EXPECT_NEAR(facts.durationSeconds, c.duration, 0.1);
    EXPECT_TRUE(facts.hasVideo);
    EXPECT_TRUE(facts.hasAudio);
    ASSERT_EQ(facts.streamCount, 2);
    std::string codecs[2] = {facts.streams[0].codec, facts.streams[1].codec};
    int video = facts.streams[0].kind == moviekit::StreamKind::Video ? 0 : 1;
    EXPECT_EQ(codecs[video], c.video);
    EXPECT_EQ(codecs[1 - video], c.audio);
    EXPECT_EQ(facts.streams[1 - video].kind, moviekit::StreamKind::Audio);
    EXPECT_GT(facts.streams[1 - video].sampleRate, 0);
  }
}

// Music files: their facts read, but the reader (pictures) refuses them.
TEST(MovieFacts, SoundAloneHasFactsButNoPictures) {
  struct Case {
    const char* file;
    const char* container;
    double duration;
    const char* codec;
  } cases[] = {
      {"tone.mp3", "mp3", 2.0, "mp3"},
      {"tone.wav", "wav", 1.0, "pcm_s16le"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    moviekit::MovieFacts facts;
    ASSERT_EQ(moviekit::ReadFacts(Fixture(c.file).c_str(), &facts), S_OK);
    EXPECT_STREQ(facts.container, c.container);
    EXPECT_NEAR(facts.durationSeconds, c.duration, 0.1);
    EXPECT_FALSE(facts.hasVideo);
    EXPECT_TRUE(facts.hasAudio);
    ASSERT_EQ(facts.streamCount, 1);
    EXPECT_STREQ(facts.streams[0].codec, c.codec);
    moviekit::Reader* reader = nullptr;
    EXPECT_EQ(moviekit::OpenReader(Fixture(c.file).c_str(), &reader), moviekit::kErrorNoVideo);
    EXPECT_EQ(reader, nullptr);
  }
  // The slide show's effect music beside the program is of this kind.
  for (const char* tune : {"NATURAL", "SLOW", "SWING", "URBAN"}) {
    SCOPED_TRACE(tune);
    moviekit::MovieFacts facts;
    ASSERT_EQ(moviekit::ReadFacts((std::string("Music\\") + tune + ".mp3").c_str(), &facts), S_OK);
    EXPECT_STREQ(facts.container, "mp3");
    EXPECT_TRUE(facts.hasAudio);
    EXPECT_GT(facts.durationSeconds, 1.0);
  }
}

TEST(MovieFrames, FirstPicturesHaveTheirColours) {
  for (const char* file : {"colours.mts", "colours.m2ts"}) {
    SCOPED_TRACE(file);
    FrameHolder h;
    ASSERT_EQ(moviekit::ReadFrame(Fixture(file).c_str(), 0, 0, 0, &h.f), S_OK);
    EXPECT_EQ(h.f.header.biWidth, 320);
    EXPECT_EQ(h.f.header.biHeight, 240);
    EXPECT_EQ(h.f.header.biBitCount, 24);
    EXPECT_NEAR(h.f.seconds, 0, 1e-3);
    for (POINT p : {POINT{0, 0}, POINT{319, 239}, POINT{160, 120}}) EXPECT_TRUE(Near(At(h.f, p.x, p.y), kRed));
  }
  // Red, lime / blue, white: the picture is the right way up and the right way round.
  FrameHolder h;
  ASSERT_EQ(moviekit::ReadFrame(Fixture("quarters.mov").c_str(), 0, 0, 0, &h.f), S_OK);
  ASSERT_EQ(h.f.header.biWidth, 160);
  EXPECT_TRUE(Near(At(h.f, 40, 30), kRed));
  EXPECT_TRUE(Near(At(h.f, 120, 30), kLime));
  EXPECT_TRUE(Near(At(h.f, 40, 90), kBlue));
  EXPECT_TRUE(Near(At(h.f, 120, 90), kWhite));
}

TEST(MovieFrames, FittedKeepingTheShape) {
  struct Case {
    int maxW, maxH, w, h;
  } cases[] = {{0, 0, 320, 240}, {1000, 1000, 320, 240}, {100, 100, 100, 75}, {320, 60, 80, 60}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.maxW << "x" << c.maxH);
    FrameHolder h;
    ASSERT_EQ(moviekit::ReadFrame(Fixture("colours.mts").c_str(), 0, c.maxW, c.maxH, &h.f), S_OK);
    EXPECT_EQ(h.f.header.biWidth, c.w);
    EXPECT_EQ(h.f.header.biHeight, c.h);
    EXPECT_TRUE(Near(At(h.f, c.w / 2, c.h / 2), kRed));
  }
}

// The only key picture is the first: a picture at 1.0 s takes decoding up from there.
TEST(MovieFrames, SeeksAreExact) {
  struct Case {
    double at;
    double shows;
    COLORREF colour;
  } cases[] = {{0.96, 0.96, kRed}, {1.0, 1.0, kBlue}, {0.97, 1.0, kBlue}, {1.96, 1.96, kBlue}, {0.5, 0.52, kRed}};
  for (const char* file : {"colours.mts", "colours.m2ts"}) {
    moviekit::Reader* reader = nullptr;
    ASSERT_EQ(moviekit::OpenReader(Fixture(file).c_str(), &reader), S_OK);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << file << " at " << c.at);
      ASSERT_EQ(reader->Seek(c.at), S_OK);
      FrameHolder h;
      ASSERT_EQ(reader->NextFrame(0, 0, &h.f), S_OK);
      EXPECT_NEAR(h.f.seconds, c.shows, 1e-3);
      EXPECT_TRUE(Near(At(h.f, 160, 120), c.colour));
    }
    reader->Release();
  }
}

TEST(MovieFrames, ReadToTheEndFrameByFrame) {
  moviekit::Reader* reader = nullptr;
  ASSERT_EQ(moviekit::OpenReader(Fixture("colours.m2ts").c_str(), &reader), S_OK);
  int frames = 0;
  double last = -1;
  for (;;) {
    FrameHolder h;
    HRESULT hr = reader->NextFrame(32, 32, &h.f);
    if (hr == S_FALSE) break;
    ASSERT_EQ(hr, S_OK);
    EXPECT_GT(h.f.seconds, last);
    last = h.f.seconds;
    ++frames;
  }
  EXPECT_EQ(frames, 50);
  moviekit::Frame after;
  EXPECT_EQ(reader->NextFrame(0, 0, &after), S_FALSE);
  EXPECT_EQ(after.bits, nullptr);
  // Back to the start after the end.
  ASSERT_EQ(reader->Seek(0), S_OK);
  FrameHolder h;
  ASSERT_EQ(reader->NextFrame(0, 0, &h.f), S_OK);
  EXPECT_NEAR(h.f.seconds, 0, 1e-3);
  reader->Release();
}

// Broken, empty, misnamed and missing files fail with an HRESULT and no picture; a time
// past the end has no picture either.
TEST(MovieFrames, BrokenFilesFailCleanly) {
  std::string dir = testsupport::NewTempFolder("glimora-moviekit");
  std::string empty = dir + "\\empty.mts", text = dir + "\\text.mp4", halfMov = dir + "\\half.mov";
  ASSERT_TRUE(testsupport::WriteWholeFile(empty, ""));
  ASSERT_TRUE(testsupport::WriteWholeFile(text, "not a movie at all, just some words\r\n"));
  std::string mov = testsupport::ReadWholeFile(Fixture("quarters.mov"));
  ASSERT_TRUE(testsupport::WriteWholeFile(halfMov, mov.substr(0, mov.size() / 8)));
  struct Case {
    std::string path;
    HRESULT expected;  // S_OK: any failure
  } cases[] = {
      {Fixture("garbage.mts"), S_OK},
      {Fixture("cut.mts"), S_OK},
      {empty, S_OK},
      {text, S_OK},
      {halfMov, S_OK},
      {dir, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)},
      {dir + "\\missing.mts", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    moviekit::Frame f;
    HRESULT hr = moviekit::ReadFrame(c.path.c_str(), 0, 0, 0, &f);
    EXPECT_LT(hr, 0);
    EXPECT_EQ(f.bits, nullptr);
    if (c.expected != S_OK) {
      EXPECT_EQ(hr, c.expected);
    }
    moviekit::Reader* reader = reinterpret_cast<moviekit::Reader*>(1);
    hr = moviekit::OpenReader(c.path.c_str(), &reader);
    if (SUCCEEDED(hr)) {
      // Opened on what looked like a header: the pictures still fail or end.
      moviekit::Frame next;
      EXPECT_NE(reader->NextFrame(0, 0, &next), S_OK);
      moviekit::FreeFrame(&next);
      reader->Release();
    } else {
      EXPECT_EQ(reader, nullptr);
    }
  }
  moviekit::Frame f;
  EXPECT_LT(moviekit::ReadFrame(Fixture("colours.mts").c_str(), 5.0, 0, 0, &f), 0);
  EXPECT_EQ(moviekit::ReadFrame(nullptr, 0, 0, 0, &f), E_INVALIDARG);
  testsupport::RemoveTree(dir);
}
