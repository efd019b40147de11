// Fuzz driver of the scenario reader (seeded, bounded; GLIMORA_FUZZ_SEED and _ROUNDS for
// longer runs): mutated files sealed again with their checksum, so that the mutations reach
// the fields behind it. A file reads whole or is refused, and what reads writes back as it was.
#include <SignalKit/SnrFormat.h>
#include <fuzz.h>
#include <gtest/gtest.h>
#include <xxhash.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

snr::Element Element(LONG kind, const wchar_t* path, LONGLONG start) {
  snr::Element e = {};
  e.lKind = kind;
  e.data.llStart = start;
  e.data.llEnd = start + 3000;
  wcsncpy(e.data.szPath, path, SNR_PATH_UNITS - 1);
  return e;
}

std::vector<std::string> Samples() {
  snr::Scenario empty;
  empty.info.wOne = 1;
  snr::Scenario pictures = empty;
  pictures.info.lEffect = 3;
  snr::DataArray& p = pictures.Get(SNR_DATA_PICTURES);
  for (int i = 0; i < 3; ++i) p.elements.push_back(Element(SNR_KIND_PICTURE, L"C:\\写真\\a.jpg", i * 3000));
  snr::Scenario both = pictures;
  both.Get(SNR_DATA_AUDIO).elements.push_back(Element(SNR_KIND_AUDIO, L"C:\\music.mp3", 0));
  return {snr::Serialize(empty), snr::Serialize(pictures), snr::Serialize(both)};
}

// The checksum of the bytes before it, written over the last eight.
void Reseal(std::string* bytes) {
  if (bytes->size() < 8) return;
  const size_t body = bytes->size() - 8;
  const uint64_t sum = XXH64(bytes->data(), body, 0);
  memcpy(&(*bytes)[body], &sum, 8);
}

}  // namespace

TEST(Fuzz, ScenariosBehindTheirChecksum) {
  const std::vector<std::string> samples = Samples();
  const HRESULT kBad = HRESULT_FROM_WIN32(ERROR_INVALID_DATA), kVersion = HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE);
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  int read = 0;
  for (int round = 0, n = testsupport::FuzzRounds(5000); round < n; ++round) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    std::string bytes = m.Mutate(samples[m.Next(uint32_t(samples.size()))]);
    if (m.Next(8) != 0) Reseal(&bytes);  // now and then the checksum itself is what is damaged
    snr::Scenario s;
    HRESULT hr = snr::Parse(bytes.data(), bytes.size(), &s);
    if (hr != S_OK) {
      EXPECT_TRUE(hr == kBad || hr == kVersion) << std::hex << hr;
      continue;
    }
    ++read;
    EXPECT_LE(s.arrays.size(), 2u);
    for (const snr::DataArray& a : s.arrays) {
      EXPECT_TRUE(snr::IsDataKind(a.wDataKind));
      EXPECT_EQ(std::count_if(s.arrays.begin(), s.arrays.end(),
                              [&](const snr::DataArray& b) { return b.wDataKind == a.wDataKind; }),
                1);
      for (const snr::Element& e : a.elements)
        EXPECT_NE(std::find(e.data.szPath, e.data.szPath + SNR_PATH_UNITS, L'\0'), e.data.szPath + SNR_PATH_UNITS);
    }
    EXPECT_EQ(snr::Serialize(s), bytes);
  }
  EXPECT_GT(read, 0);  // the mutations reached the fields behind the checksum
}
