// The background audio player on real files through DirectShow.
#include <gtest/gtest.h>

#include <program.h>
#include <pump.h>

#include "AudioPlayer.h"

using testsupport::Fixture;

namespace {

TEST(AudioPlayer, OpensStopsAndClosesWithoutPlaying) {
  CAudioPlayer player;
  EXPECT_EQ(player.Play(), E_NOINTERFACE);  // nothing open
  EXPECT_EQ(player.Stop(), E_NOINTERFACE);
  EXPECT_EQ(player.SetVolume(0), E_FAIL);
  // Two opens in a row: the first graph goes before the second is built.
  for (const char* file : {"tone.wav", "tone.mp3"}) EXPECT_EQ(player.Open(Fixture(file).c_str(), 2), S_OK) << file;
  EXPECT_EQ(player.GetPath(), Fixture("tone.mp3").c_str());
  // Stop without Play returns at once.
  const DWORD t0 = GetTickCount();
  player.Stop();
  EXPECT_LT(GetTickCount() - t0, 500u);
  EXPECT_EQ(player.GetState(), kAudioStopped);
  EXPECT_EQ(player.Close(), S_OK);
}

// Rendered by file, through the AAC chain (the filters the set-up registers), and a
// Windows Media file: each plays on the prefix's sound device to its end, seen within a
// second, and Stop then gives "stopped".
TEST(AudioPlayer, PlaysToTheEnd) {
  struct Case {
    const char* file;
    int mode;
    DWORD ms;  // of sound
  };
  for (const Case& c : {Case{"tone.wav", 2, 1000}, Case{"tone.m4a", 1, 1500}, Case{"tone.wma", 2, 1000}}) {
    CAudioPlayer player;
    ASSERT_EQ(player.Open(Fixture(c.file).c_str(), c.mode), S_OK) << c.file;
    const DWORD t0 = GetTickCount();
    ASSERT_TRUE(SUCCEEDED(player.Play())) << c.file;  // S_FALSE while the graph gets going
    EXPECT_EQ(player.GetState(), kAudioRunning);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return player.GetState() == kAudioFinished; }, c.ms + 4000)) << c.file;
    const DWORD took = GetTickCount() - t0;
    EXPECT_GT(took, c.ms - 300) << c.file;  // played in time
    EXPECT_LT(took, c.ms + 1500) << c.file;
    const DWORD s0 = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(player.Stop())) << c.file;  // S_FALSE while a filter is still stopping
    EXPECT_LT(GetTickCount() - s0, 1500u) << c.file;
    EXPECT_EQ(player.GetState(), kAudioStopped);
  }
}

// A seek while playing goes on from there through the AAC chain (which seeks in its
// splitter): what is left plays in time to the end; a finished player seeks back and plays
// again.
TEST(AudioPlayer, SeeksWhilePlayingAndAfterTheEnd) {
  struct Case {
    const char* file;
    int mode;
    double seconds;  // of sound
  };
  for (const Case& c : {Case{"tone_long.m4a", 1, 4.0}}) {
    CAudioPlayer player;
    double duration = 0, at = 0;
    EXPECT_EQ(player.GetDuration(&duration), E_NOINTERFACE);  // nothing open
    EXPECT_EQ(player.SetPosition(0.5), E_NOINTERFACE);
    ASSERT_EQ(player.Open(Fixture(c.file).c_str(), c.mode), S_OK) << c.file;
    EXPECT_EQ(player.GetDuration(&duration), S_OK) << c.file;
    EXPECT_NEAR(duration, c.seconds, 0.1) << c.file;
    for (int round = 0; round < 2; ++round) {
      const double target = c.seconds - 0.8;
      DWORD t0 = GetTickCount();
      if (round == 0) {
        ASSERT_TRUE(SUCCEEDED(player.Play())) << c.file;
        Sleep(200);
        t0 = GetTickCount();
        EXPECT_EQ(player.SetPosition(target), S_OK) << c.file;
        EXPECT_EQ(player.GetState(), kAudioRunning) << c.file;
      } else {
        EXPECT_EQ(player.SetPosition(target), S_OK) << c.file;  // after the end
        ASSERT_TRUE(SUCCEEDED(player.Play())) << c.file;
      }
      EXPECT_EQ(player.GetPosition(&at), S_OK) << c.file;
      EXPECT_NEAR(at, target, 0.2) << c.file << " " << round;
      EXPECT_TRUE(testsupport::WaitUntil([&] { return player.GetState() == kAudioFinished; }, 4000)) << c.file;
      const DWORD took = GetTickCount() - t0;
      EXPECT_GT(took, 500u) << c.file << " " << round;  // the 0.8 s left, in time
      EXPECT_LT(took, 2500u) << c.file << " " << round;
      EXPECT_EQ(player.GetPosition(&at), S_OK) << c.file;
      EXPECT_NEAR(at, c.seconds, 0.2) << c.file << " " << round;
    }
    const DWORD s0 = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(player.Stop())) << c.file;
    EXPECT_LT(GetTickCount() - s0, 1500u) << c.file;
  }
}

// The AAC chain is never a fallback nor has one: a file its splitter refuses fails,
// though the graph would have rendered it by file.
TEST(AudioPlayer, TheAacChainTakesAacFilesOnly) {
  CAudioPlayer player;
  const HRESULT hr = player.Open(Fixture("tone.wav").c_str(), 1);
  EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
  EXPECT_LT(player.Open("C:\\no such folder\\a.mp3", 2), 0);
}

}  // namespace
