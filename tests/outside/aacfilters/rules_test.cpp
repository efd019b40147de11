// The AAC filters' media-type rules.
#include <gtest/gtest.h>

#include "AacFilters.h"
#include "AacRules.h"
#include "filterkit.h"

using namespace aacfilters;

namespace {

const BYTE kConfig[] = {0x12, 0x10};  // AAC-LC, 44.1 kHz, stereo

TEST(AacRules, TheSplittersTypeIsWhatTheDecoderReadsBack) {
  for (WORD tag : {kWaveFormatRawAac, kWaveFormatAdtsAac}) {
    AM_MEDIA_TYPE mt = {};
    const int configSize = tag == kWaveFormatRawAac ? 2 : 0;
    ASSERT_EQ(MakeAacType(tag, 44100, 2, kConfig, configSize, &mt), S_OK);
    int rate = 0, channels = 0, size = -1;
    const BYTE* config = nullptr;
    EXPECT_TRUE(ReadAacType(mt, &rate, &channels, &config, &size)) << tag;
    EXPECT_EQ(rate, 44100);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(size, configSize);
    if (configSize) {
      EXPECT_EQ(memcmp(config, kConfig, 2), 0);
    }
    FreeMediaType(&mt);
  }
}

// Each case spoils one thing of a good raw-AAC type; the decoder refuses all of them.
TEST(AacRules, TheDecoderRefusesTypesThatDoNotHoldWhatTheySay) {
  struct Case {
    const char* what;
    void (*spoil)(AM_MEDIA_TYPE&, WAVEFORMATEX&);
  };
  const Case cases[] = {
      {"video", [](AM_MEDIA_TYPE& mt, WAVEFORMATEX&) { mt.majortype = MEDIATYPE_Video; }},
      {"format block not a wave format", [](AM_MEDIA_TYPE& mt, WAVEFORMATEX&) { mt.formattype = FORMAT_VideoInfo; }},
      {"subtype of another tag", [](AM_MEDIA_TYPE& mt, WAVEFORMATEX&) { mt.subtype = MEDIASUBTYPE_PCM; }},
      {"PCM tag", [](AM_MEDIA_TYPE& mt, WAVEFORMATEX& wf) {
         wf.wFormatTag = WAVE_FORMAT_PCM;
         mt.subtype = MEDIASUBTYPE_PCM;
       }},
      {"config beyond the block", [](AM_MEDIA_TYPE&, WAVEFORMATEX& wf) { wf.cbSize = 200; }},
      {"block shorter than a wave format", [](AM_MEDIA_TYPE& mt, WAVEFORMATEX&) { mt.cbFormat = 10; }},
      {"no channels", [](AM_MEDIA_TYPE&, WAVEFORMATEX& wf) { wf.nChannels = 0; }},
      {"nine channels", [](AM_MEDIA_TYPE&, WAVEFORMATEX& wf) { wf.nChannels = 9; }},
      {"rate 0", [](AM_MEDIA_TYPE&, WAVEFORMATEX& wf) { wf.nSamplesPerSec = 0; }},
      {"rate of a radio", [](AM_MEDIA_TYPE&, WAVEFORMATEX& wf) { wf.nSamplesPerSec = 1000000; }},
      {"raw frames without their config", [](AM_MEDIA_TYPE& mt, WAVEFORMATEX& wf) { wf.cbSize = 0; }},
  };
  for (const Case& c : cases) {
    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(MakeAacType(kWaveFormatRawAac, 44100, 2, kConfig, 2, &mt), S_OK);
    c.spoil(mt, *reinterpret_cast<WAVEFORMATEX*>(mt.pbFormat));
    EXPECT_FALSE(ReadAacType(mt, nullptr, nullptr, nullptr, nullptr)) << c.what;
    mt.cbFormat = sizeof(WAVEFORMATEX) + 2;
    FreeMediaType(&mt);
  }
  AM_MEDIA_TYPE empty = {};
  empty.majortype = MEDIATYPE_Audio;
  empty.formattype = FORMAT_WaveFormatEx;
  empty.cbFormat = sizeof(WAVEFORMATEX);  // and no block
  EXPECT_FALSE(ReadAacType(empty, nullptr, nullptr, nullptr, nullptr));
}

TEST(AacRules, PcmTypeAndItsCheck) {
  AM_MEDIA_TYPE mt = {};
  ASSERT_EQ(MakePcmType(48000, 1, &mt), S_OK);
  EXPECT_TRUE(IsPcmType(mt, 48000, 1));
  EXPECT_FALSE(IsPcmType(mt, 44100, 1));
  EXPECT_FALSE(IsPcmType(mt, 48000, 2));
  EXPECT_EQ(reinterpret_cast<WAVEFORMATEX*>(mt.pbFormat)->nAvgBytesPerSec, 96000u);
  FreeMediaType(&mt);
  EXPECT_EQ(MakePcmType(48000, 6, &mt), E_INVALIDARG);  // the decoder mixes down to two
  EXPECT_EQ(MakeAacType(kWaveFormatRawAac, 44100, 2, kConfig, 65, &mt), E_INVALIDARG);
}

TEST(AacRules, SampleTimesStayExactOverHours) {
  EXPECT_EQ(FramesToTime(0, 44100, 44100), 10000000);
  EXPECT_EQ(FramesToTime(5, 1024, 48000), 5 + 213333);
  // Ten hours at 48 kHz: no overflow, no drift from adding up rounded blocks.
  EXPECT_EQ(FramesToTime(0, 48000LL * 36000, 48000), 36000LL * 10000000);
  EXPECT_EQ(FramesToTime(7, 100, 0), 7);
}

}  // namespace
