// Fuzz driver of the movie kit's facts (seeded, bounded; GLIMORA_FUZZ_SEED and _ROUNDS for
// longer runs): mutated AVCHD streams, MP4 movies and AAC music (in MP4 and ADTS) are read
// for their facts, now and then for a first picture. Nothing may crash or hang; the facts
// answered are in range, and a picture is no larger than the box asked for.
#include <gtest/gtest.h>

#include <files.h>
#include <fuzz.h>
#include <program.h>
#include <tempfolder.h>

#include <cmath>
#include <cstring>
#include <string>

#include "moviekit/moviekit.h"

using testsupport::Fixture;

namespace {

// Whether a figure is a number at or above 0 (and below the limit).
bool InRange(double v, double limit = 1e12) { return std::isfinite(v) && v >= 0 && v < limit; }

void ExpectInRange(const moviekit::MovieFacts& f) {
  EXPECT_NE(memchr(f.container, 0, sizeof f.container), nullptr);
  EXPECT_TRUE(InRange(f.durationSeconds)) << f.durationSeconds;
  EXPECT_TRUE(std::isfinite(f.startSeconds)) << f.startSeconds;
  EXPECT_TRUE(InRange(f.frameRate, 1e6)) << f.frameRate;
  EXPECT_GE(f.streamCount, 0);
  if (f.hasVideo) {
    EXPECT_GT(f.width, 0);
    EXPECT_GT(f.height, 0);
    EXPECT_LE(f.width, moviekit::kMaxFrameSide);
    EXPECT_LE(f.height, moviekit::kMaxFrameSide);
  }
  for (int i = 0; i < f.streamCount && i < moviekit::kMaxStreams; ++i) {
    const moviekit::StreamFacts& s = f.streams[i];
    EXPECT_NE(memchr(s.codec, 0, sizeof s.codec), nullptr);
    EXPECT_GE(s.width, 0);
    EXPECT_GE(s.height, 0);
    EXPECT_TRUE(InRange(s.frameRate, 1e6)) << s.frameRate;
    EXPECT_GE(s.sampleRate, 0);
    EXPECT_GE(s.channels, 0);
  }
}

}  // namespace

TEST(Fuzz, MovieFactsOfDamagedFiles) {
  struct Sample {
    const char* ext;
    std::string bytes;
  };
  std::vector<Sample> samples;
  for (const char* f : {"colours.mts", "keys.mp4", "tone.m4a", "tone.aac"}) {
    std::string bytes = testsupport::ReadWholeFile(Fixture(f));
    ASSERT_FALSE(bytes.empty()) << f;
    samples.push_back({strrchr(f, '.'), bytes});
  }
  const std::string dir = testsupport::NewTempFolder("glimora-moviefuzz");
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  int read = 0;
  for (int round = 0, n = testsupport::FuzzRounds(300); round < n; ++round) {
    const Sample& s = samples[m.Next(uint32_t(samples.size()))];
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round << " " << s.ext);
    const std::string path = dir + "\\fuzz" + s.ext;
    ASSERT_TRUE(testsupport::WriteWholeFile(path, m.Mutate(s.bytes)));
    moviekit::MovieFacts facts;
    if (moviekit::ReadFacts(path.c_str(), &facts) != S_OK) continue;
    ++read;
    ExpectInRange(facts);
    if (facts.hasVideo && m.Next(4) == 0) {
      moviekit::Frame frame;
      if (moviekit::ReadFrame(path.c_str(), 0.5, 160, 120, &frame) == S_OK) {
        EXPECT_LE(frame.header.biWidth, 160);
        EXPECT_LE(std::abs(frame.header.biHeight), 120);
        moviekit::FreeFrame(&frame);
      }
    }
  }
  EXPECT_GT(read, 0);
  testsupport::RemoveTree(dir);
}
