// The stream-copy cut: parts cut at a key frame open, decode and together hold every picture
// of the movie once; refusals leave nothing behind; the cut's rules as tables.
#include <gtest/gtest.h>

#include <files.h>
#include <program.h>
#include <tempfolder.h>

#include <cmath>
#include <string>
#include <vector>

#include "cutrules.h"
#include "moviekit/moviekit.h"

using testsupport::Fixture;

namespace {

std::vector<double> KeyFrames(const std::string& path) {
  int count = 0;
  if (FAILED(moviekit::ReadKeyFrames(path.c_str(), nullptr, 0, &count)) || count <= 0) return {};
  std::vector<double> keys(count);
  moviekit::ReadKeyFrames(path.c_str(), keys.data(), count, &count);
  return keys;
}

// Every picture decoded, in order: -1 when the movie does not open or a picture fails.
int CountPictures(const std::string& path) {
  moviekit::Reader* reader = nullptr;
  if (FAILED(moviekit::OpenReader(path.c_str(), &reader))) return -1;
  int n = 0;
  for (;;) {
    moviekit::Frame f;
    HRESULT hr = reader->NextFrame(16, 16, &f);
    moviekit::FreeFrame(&f);
    if (hr == S_FALSE) break;
    if (FAILED(hr)) {
      n = -1;
      break;
    }
    ++n;
  }
  reader->Release();
  return n;
}

}  // namespace

TEST(MovieCut, PartsAtAKeyFrameHoldEveryPictureOnce) {
  std::string folder = testsupport::NewTempFolder("moviecut");
  struct Case {
    const char* fixture;
    int keys;  // at least
  } cases[] = {
      {"keys.mp4", 3}, {"keys.m2ts", 3}, {"keys.mpg", 3}, {"quarters.mov", 15}, {"movie.avi", 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    std::string source = Fixture(c.fixture);
    std::vector<double> keys = KeyFrames(source);
    ASSERT_GE((int)keys.size(), c.keys);
    EXPECT_NEAR(keys[0], 0, 0.01);
    double at = keys[keys.size() / 2];
    std::string ext = source.substr(source.rfind('.'));
    std::string first = folder + "\\" + "前半" + ext, second = folder + "\\" + "後半" + ext;
    ASSERT_EQ(moviekit::CutMovie(source.c_str(), first.c_str(), 0, at), S_OK);
    ASSERT_EQ(moviekit::CutMovie(source.c_str(), second.c_str(), at, 0), S_OK);

    moviekit::MovieFacts whole, a, b;
    ASSERT_EQ(moviekit::ReadFacts(source.c_str(), &whole), S_OK);
    ASSERT_EQ(moviekit::ReadFacts(first.c_str(), &a), S_OK);
    ASSERT_EQ(moviekit::ReadFacts(second.c_str(), &b), S_OK);
    EXPECT_NEAR(a.durationSeconds, at, 0.12);
    EXPECT_NEAR(a.durationSeconds + b.durationSeconds, whole.durationSeconds, 0.15);
    EXPECT_EQ(a.hasAudio, whole.hasAudio);
    EXPECT_EQ(b.hasAudio, whole.hasAudio);
    EXPECT_EQ(b.width, whole.width);
    int all = CountPictures(source), na = CountPictures(first), nb = CountPictures(second);
    EXPECT_GT(na, 0);
    EXPECT_GT(nb, 0);
    EXPECT_EQ(na + nb, all);
    // The second part starts with the key frame's picture, at its own time 0.
    moviekit::Frame f;
    EXPECT_EQ(moviekit::ReadFrame(second.c_str(), 0, 0, 0, &f), S_OK);
    EXPECT_LT(f.seconds, 0.1);
    moviekit::FreeFrame(&f);
  }
  // AVCHD's 192-byte packets stay 192 bytes.
  std::string head = testsupport::ReadWholeFile(folder + "\\後半.m2ts").substr(0, 200);
  ASSERT_EQ(head.size(), 200u);
  EXPECT_EQ(head[4], 0x47);
  EXPECT_EQ(head[196], 0x47);
  testsupport::RemoveTree(folder);
}

TEST(MovieCut, AMarkedPartSnapsToKeyFrames) {
  std::string folder = testsupport::NewTempFolder("moviecut");
  std::string source = Fixture("keys.mp4"), part = folder + "\\part.mp4";
  // 0.6 to 2.4 keeps the second from the key frame at 1 s to the one at 2 s.
  ASSERT_EQ(moviekit::CutMovie(source.c_str(), part.c_str(), 1.6, 2.4), S_OK);
  moviekit::MovieFacts facts;
  ASSERT_EQ(moviekit::ReadFacts(part.c_str(), &facts), S_OK);
  EXPECT_NEAR(facts.durationSeconds, 1.0, 0.1);
  EXPECT_EQ(CountPictures(part), 25);
  testsupport::RemoveTree(folder);
}

TEST(MovieCut, RefusalsLeaveNothingBehind) {
  std::string folder = testsupport::NewTempFolder("moviecut");
  std::string taken = folder + "\\taken.mp4";
  testsupport::WriteWholeFile(taken, "mine");
  struct Case {
    std::string source, target;
    double from, to;
    HRESULT expected;  // S_OK: any failure
  } cases[] = {
      {folder + "\\missing.mp4", folder + "\\a.mp4", 0, 1, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {Fixture("garbage.mts"), folder + "\\b.mts", 0, 1, S_OK},
      {Fixture("tone.mp3"), folder + "\\c.mp3", 0, 1, S_OK},
      {Fixture("keys.mp4"), taken, 0, 1, HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)},
      // Both ends on the same key frame: nothing between them.
      {Fixture("keys.mp4"), folder + "\\d.mp4", 1.2, 1.8, E_INVALIDARG},
      {Fixture("keys.mp4"), folder + "\\e.mp4", 3.5, 0, E_INVALIDARG},
      {Fixture("colours.mts"), folder + "\\f.mts", 0, 1.0, E_INVALIDARG},
      {Fixture("keys.mp4"), folder + "\\no such folder\\g.mp4", 0, 1, S_OK},
      {"", folder + "\\i.mp4", 0, 1, E_INVALIDARG},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source + " -> " + c.target);
    HRESULT hr = moviekit::CutMovie(c.source.c_str(), c.target.c_str(), c.from, c.to);
    if (c.expected == S_OK)
      EXPECT_TRUE(FAILED(hr));
    else
      EXPECT_EQ(hr, c.expected);
  }
  EXPECT_EQ(testsupport::FileNamesIn(folder), std::vector<std::string>{"taken.mp4"});
  EXPECT_EQ(testsupport::ReadWholeFile(taken), "mine");
  int count = 7;
  EXPECT_EQ(moviekit::ReadKeyFrames((folder + "\\missing.mp4").c_str(), nullptr, 0, &count),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(count, 0);
  testsupport::RemoveTree(folder);
}

TEST(MovieCutRules, PlansEndOnKeyFrames) {
  const std::vector<double> keys = {0, 1, 2};
  struct Case {
    double from, to;
    bool valid;
    double fromKey, toKey;
  } cases[] = {
      {0, 0, true, 0, -1},    {1, 0, true, 1, -1},    {1.5, 0, true, 1, -1}, {0.9995, 0, true, 1, -1},
      {0, 1, true, 0, 1},     {0.5, 2.7, true, 0, 2}, {1, 3, true, 1, -1},   {1, 5, true, 1, -1},
      {-2, 1, true, 0, 1},    {1, 1.5, false, 1, 1},  {2, 1, false, 2, 1},   {3, 0, false, 2, -1},
      {NAN, 0, false, 0, -1}, {0, NAN, false, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " " + std::to_string(c.to));
    moviekit::CutPlan plan = moviekit::PlanCut(keys, 3.0, c.from, c.to);
    EXPECT_EQ(plan.valid, c.valid);
    if (!c.valid) continue;
    EXPECT_DOUBLE_EQ(plan.fromKey, c.fromKey);
    EXPECT_DOUBLE_EQ(plan.toKey, c.toKey);
  }
  EXPECT_FALSE(moviekit::PlanCut({}, 3.0, 0, 0).valid);
}

TEST(MovieCutRules, MuxersAndPacketSizes) {
  struct Case {
    const char* demuxer;
    const char* ext;
    const char* muxer;
  } cases[] = {
      {"mpegts", ".MTS", "mpegts"},
      {"mpegts", ".m2ts", "mpegts"},
      {"mov,mp4,m4a,3gp,3g2,mj2", ".mp4", "mp4"},
      {"mov,mp4,m4a,3gp,3g2,mj2", ".MOV", "mov"},
      {"mov,mp4,m4a,3gp,3g2,mj2", ".tmp", "mov"},
      {"avi", ".avi", "avi"},
      {"mpeg", ".mpg", "vob"},
      {"mpeg", ".MOD", "vob"},
      {"asf", ".wmv", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    const char* m = moviekit::MuxerFor(c.demuxer, c.ext);
    EXPECT_EQ(std::string(m ? m : "(none)"), std::string(c.muxer ? c.muxer : "(none)"));
  }
  std::string ts(188 * 3, '\0'), m2ts(192 * 3, '\0');
  for (int i = 0; i < 3; ++i) ts[188 * i] = m2ts[192 * i + 4] = 0x47;
  EXPECT_EQ(moviekit::TsPacketSize((const unsigned char*)ts.data(), ts.size()), 188);
  EXPECT_EQ(moviekit::TsPacketSize((const unsigned char*)m2ts.data(), m2ts.size()), 192);
  EXPECT_EQ(moviekit::TsPacketSize((const unsigned char*)ts.data(), 300), 0);
  EXPECT_EQ(moviekit::TsPacketSize((const unsigned char*)"abc", 3), 0);
}
