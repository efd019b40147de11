// The movie kit's music facts: what the demuxers say of the generated sound files, the
// deadline that bounds a read, and tag texts cut to their fields on a character boundary.
#include <gtest/gtest.h>

#include <program.h>

#include <string>

#include "music.h"

using testsupport::Fixture;

TEST(MusicFacts, TheDemuxersOfEachKind) {
  const struct {
    const char* file;
    const char* container;
    const char* codec;
  } cases[] = {{"music_vbr.mp3", "mp3", "mp3"},
               {"music.wav", "wav", "pcm_s16le"},
               {"music.m4a", "mov,mp4,m4a,3gp,3g2,mj2", "aac"},
               {"music.aac", "aac", "aac"},
               {"music.wma", "asf", "wmav2"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    moviekit::MusicFacts f;
    ASSERT_EQ(S_OK, moviekit::ReadMusicFacts(Fixture(c.file).c_str(), &f));
    EXPECT_STREQ(c.container, f.container);
    EXPECT_STREQ(c.codec, f.codec);
    EXPECT_GT(f.durationSeconds, 0.9);
    EXPECT_GT(f.bitRate, 0);
  }
  moviekit::MusicFacts f;
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), moviekit::ReadMusicFacts(Fixture("no-such.mp3").c_str(), &f));
  EXPECT_EQ(moviekit::kErrorFormat, moviekit::ReadMusicFacts(Fixture("music_badrate.wav").c_str(), &f));
  EXPECT_EQ(0, f.sampleRate);
  // A movie is read for its sound.
  ASSERT_EQ(S_OK, moviekit::ReadMusicFacts(Fixture("movie.mp4").c_str(), &f));
  EXPECT_STREQ("aac", f.codec);
}

// A read whose time is up gives no facts: the deadline reaches into the demuxer's reads.
TEST(MusicFacts, ADeadlinePassedGivesNoFacts) {
  moviekit::MusicFacts f;
  EXPECT_EQ(moviekit::kErrorFormat, moviekit::ReadMusicFactsWithin(Fixture("music.m4a").c_str(), 0, &f));
  EXPECT_STREQ("", f.title);
  EXPECT_EQ(0, f.durationSeconds);
  EXPECT_EQ(S_OK, moviekit::ReadMusicFactsWithin(Fixture("music.m4a").c_str(), 5000, &f));
}

TEST(MusicFacts, TagTextsAreCutOnACharacterBoundary) {
  const struct {
    std::string text;
    size_t size;
    std::string kept;
  } cases[] = {
      {"Title", 16, "Title"},
      {"Title", 4, "Tit"},
      {"\xE5\xA4\x9C\xE6\x98\x8E", 6, "\xE5\xA4\x9C"},  // UTF-8: not inside the second character
      {"\xE5\xA4\x9C\xE6\x98\x8E", 7, "\xE5\xA4\x9C\xE6\x98\x8E"},
      {"a\x96\xE9\x96\xBE", 5, "a\x96\xE9"},  // code page 932 bytes: whole characters
      {"a\x96\xE9\x96\xBE", 4, "a\x96\xE9"},
      {"a\x96\xE9\x96\xBE", 3, "a"},
      {"", 1, ""},
  };
  for (const auto& c : cases) {
    char out[16];
    memset(out, 'x', sizeof out);
    moviekit::CopyTagText(out, c.size, c.text.c_str());
    EXPECT_EQ(c.kept, out) << c.text << " in " << c.size;
  }
}
