// The background audio player's decisions: when the completion thread ends, which files
// take the AAC filters.
#include <gtest/gtest.h>

#include <vfwmsgs.h>

#include "AudioPlayerRules.h"

namespace {

TEST(AudioRules, CompletionThreadEndsOnceAStopIsRequested) {
  struct Case {
    HRESULT hr;
    bool stop;
    AudioWaitStep step;
  } cases[] = {
      {S_OK, false, kAudioWaitFinished},          {E_ABORT, false, kAudioWaitAgain},
      {VFW_E_WRONG_STATE, false, kAudioWaitAgain}, {E_FAIL, false, kAudioWaitAgain},
      {E_ABORT, true, kAudioWaitEnd},              {VFW_E_WRONG_STATE, true, kAudioWaitEnd},
      {E_FAIL, true, kAudioWaitEnd},  // other failures too: Stop must return
      {E_UNEXPECTED, true, kAudioWaitEnd},
  };
  for (const Case& c : cases) EXPECT_EQ(AudioCompletionStep(c.hr, c.stop), c.step) << std::hex << c.hr << c.stop;
  EXPECT_EQ(AudioOpenMode("C:\\m\\a.M4A"), 1);
  EXPECT_EQ(AudioOpenMode("C:\\m\\a.mp3"), 2);
  EXPECT_EQ(AudioOpenMode("C:\\m.m4a\\a"), 2);
  EXPECT_EQ(AudioOpenMode(nullptr), 2);
}

}  // namespace
