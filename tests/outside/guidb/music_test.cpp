// Music facts of the generated sound files through the movie kit's demuxers: each kind the
// music list reads, with and without tags, tag texts in every encoding the files use, and
// damaged files that give no facts.
#include <gtest/gtest.h>

#include <program.h>

#include <string>

#include "internal.h"

using namespace vxg;

namespace {

struct MusicCase {
  const char* file;
  bool readable;
  const char* format;
  DWORD ms;  // the playing time within kSlackMs; 0: none
  int sampleRate;
  int channels;
  std::string title, artist, album, genre, year, track;
};
const DWORD kSlackMs = 80;  // MP3 frames and AAC blocks round the sound's length up

TEST(MusicFiles, EachKindGivesItsTimeFiguresAndTags) {
  const std::string evening = "夕べの歌";
  const std::string sjis = textkit::WideToAnsi(L"\u591C\u660E\u3051");  // "夜明け"
  const MusicCase cases[] = {
      // MP3: no tags; ID3v2.3 in UTF-16; v2.4 in UTF-8 on variable bit rate; Latin-1 fields
      // (one holding Shift-JIS bytes); ID3v1 alone.
      {"music_plain.mp3", true, "MP3", 2000, 44100, 2},
      {"tagged.mp3", true, "MP3", 3000, 44100, 1, "夜明けの歌", "Norvane", "テスト", "", "", "3"},
      {"music_vbr.mp3", true, "MP3", 3000, 44100, 2, "朝の歌", "Norvane", "Album", "Pop", "2019", "2/9"},
      {"music_latin1.mp3", true, "MP3", 2000, 44100, 2, textkit::WideToAnsi(L"Caf\u00E9 au lait"), sjis,
       textkit::WideToAnsi(L"\u00C4rger")},
      {"music_v1.mp3", true, "MP3", 2000, 44100, 2, "Old title", "Old artist", "", "", "1999", "7"},
      // WAV: an INFO list in UTF-8, one in Shift-JIS.
      {"music.wav", true, "WAV", 1000, 44100, 2, "Wave title", "Norvane", "", "Ambient", "2021"},
      {"music_sjis.wav", true, "WAV", 1000, 8000, 1, sjis},
      // MP4 sound, ADTS AAC (tagged by ID3v2, and bare), WMA.
      {"music.m4a", true, "M4A", 2500, 44100, 2, evening, "Norvane", "Album", "Pop", "2020", "4"},
      {"tone.m4a", true, "M4A", 1500, 44100, 2},
      {"music.m4b", true, "M4B", 2000, 32000, 1, evening, "Norvane", "Album", "Pop", "2020", "4"},
      {"music.aac", true, "AAC", 2000, 48000, 2, evening, "Norvane", "Album", "Pop", "2020", "4"},
      {"tone.aac", true, "AAC", 1000, 48000, 1},
      {"music.wma", true, "WMA", 1200, 44100, 2, evening, "Norvane", "Album", "Pop", "2020", "4"},
      {"tone.wma", true, "WMA", 1000, 44100, 1},
      // Damaged: a sample rate of 2^31 (once read as negative), random bytes, nothing.
      {"music_badrate.wav", false, "WAV"},
      {"music_garbage.mp3", false, "MP3"},
      {"music_empty.mp3", false, "MP3"},
      {"garbage.m4a", false, "M4A"},
  };
  for (const MusicCase& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = testsupport::Fixture(c.file);
    ASSERT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    MusicFacts f;
    EXPECT_EQ(c.readable, ReadMusicFile(path, textkit::ExtensionOf(path), &f));
    EXPECT_EQ(c.format, f.format);
    EXPECT_NEAR(double(c.ms), double(f.durationMs), c.ms ? kSlackMs : 0);
    EXPECT_EQ(c.sampleRate, f.sampleRate);
    EXPECT_EQ(c.channels, f.channels);
    EXPECT_EQ(c.readable, f.bitrateKbps > 0) << f.bitrateKbps;
    EXPECT_EQ(c.title, f.title);
    EXPECT_EQ(c.artist, f.artist);
    EXPECT_EQ(c.album, f.album);
    EXPECT_EQ(c.genre, f.genre);
    EXPECT_EQ(c.year, f.year);
    EXPECT_EQ(c.track, f.track);
  }
}

// The list's texts of a file without a title: its name, its time, its format with the rate.
TEST(MusicFiles, TheListsTextsOfAnUntaggedFile) {
  MusicFacts f;
  ASSERT_TRUE(ReadMusicFile(testsupport::Fixture("music_plain.mp3"), ".mp3", &f));
  CAudioTrackInfo info;
  FillAudioTrackInfo(f, "music_plain", &info);
  EXPECT_STREQ("music_plain", info.GetTitle());
  EXPECT_STREQ("0:02", info.GetTimeText());
  EXPECT_STREQ("MP3 128kbps", info.GetFormatText());
}

}  // namespace
