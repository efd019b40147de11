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
  // Two opens in a row: the first graph goes before the second is built. Without a sound
  // device (this Wine's) nothing renders; the graph is still there to stop.
  for (const char* file : {"tone.wav", "tone.mp3"}) {
    const HRESULT hr = player.Open(Fixture(file).c_str(), 2);
    EXPECT_TRUE(hr == S_OK || hr == VFW_E_CANNOT_RENDER) << file << " " << std::hex << hr;
  }
  EXPECT_EQ(player.GetPath(), Fixture("tone.mp3").c_str());
  // Stop without Play returns at once.
  const DWORD t0 = GetTickCount();
  player.Stop();
  EXPECT_LT(GetTickCount() - t0, 500u);
  EXPECT_EQ(player.GetState(), kAudioStopped);
  EXPECT_EQ(player.Close(), S_OK);
}

TEST(AudioPlayer, PlaysToTheEndWhenASoundDeviceTakesIt) {
  CAudioPlayer player;
  if (player.Open(Fixture("tone.wav").c_str(), 2) != S_OK) GTEST_SKIP() << "no sound device";
  const DWORD t0 = GetTickCount();
  ASSERT_TRUE(SUCCEEDED(player.Play()));  // S_FALSE while the graph gets going
  EXPECT_EQ(player.GetState(), kAudioRunning);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return player.GetState() == kAudioFinished; }, 5000));
  EXPECT_LT(GetTickCount() - t0, 2500u);  // a 1 s tone, the end seen within a second
  EXPECT_TRUE(SUCCEEDED(player.Stop()));  // S_FALSE while a filter is still stopping
  EXPECT_EQ(player.GetState(), kAudioStopped);
}

TEST(AudioPlayer, M4aWithoutTheAacFiltersFailsWithoutFallback) {
  CAudioPlayer player;
  EXPECT_EQ(player.Open(Fixture("tone.wav").c_str(), 1), REGDB_E_CLASSNOTREG);
  EXPECT_LT(player.Open("C:\\no such folder\\a.mp3", 2), 0);
}

}  // namespace
