// Fuzz driver of the music facts: mutated sound files of every kind the music list reads
// (seeded, bounded) through the movie kit's demuxers into the list's texts. Nothing may
// crash or hang; figures stay in range and texts within their fields.
#include <gtest/gtest.h>

#include <files.h>
#include <fuzz.h>
#include <program.h>
#include <tempfolder.h>

#include <string>

#include <moviekit/moviekit.h>

#include "internal.h"

using namespace vxg;

TEST(Fuzz, MusicFactsOfDamagedSoundFiles) {
  const char* kSamples[] = {"tagged.mp3",     "music_vbr.mp3", "music_latin1.mp3", "music_v1.mp3", "music.wav",
                            "music_sjis.wav", "music.m4a",     "music.aac",        "music.wma"};
  std::vector<std::string> samples;
  for (const char* name : kSamples) {
    samples.push_back(testsupport::ReadWholeFile(testsupport::Fixture(name)));
    ASSERT_FALSE(samples.back().empty()) << name;
  }
  const std::string folder = testsupport::NewTempFolder("music-fuzz");
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(300); round < n; ++round) {
    const size_t k = m.Next(uint32_t(samples.size()));
    const std::string ext = textkit::ExtensionOf(kSamples[k]);
    const std::string path = folder + "\\fuzz" + ext;
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round << " " << kSamples[k]);
    ASSERT_TRUE(testsupport::WriteWholeFile(path, m.Mutate(samples[k])));
    const ULONGLONG start = GetTickCount64();
    MusicFacts f;
    ReadMusicFile(path, ext, &f);
    // The kit's deadline, and what closing the file may add.
    EXPECT_LT(GetTickCount64() - start, ULONGLONG(moviekit::kMusicFactsMillis) + 1000);
    EXPECT_GE(f.bitrateKbps, 0);
    EXPECT_GE(f.sampleRate, 0);
    EXPECT_GE(f.channels, 0);
    EXPECT_GE(f.bitsPerSample, 0);
    for (const std::string* text : {&f.title, &f.artist, &f.album, &f.genre, &f.year, &f.track})
      EXPECT_LT(text->size(), size_t(moviekit::kMaxTagText));
    CAudioTrackInfo info;
    FillAudioTrackInfo(f, "fuzz", &info);
    EXPECT_LT(strlen(info.GetFormatText()), 64u);
  }
}
