// The preview-quality table: defaults, ini values with and without digits, huge numbers,
// and the players' flags of each level.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "PreviewQualityRules.h"

namespace {

std::wstring WriteIni(const char* name, const std::string& text) {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + name;
  std::ofstream(path, std::ios::binary) << text;
  return std::wstring(path.begin(), path.end());
}

TEST(PreviewQuality, MissingIniGivesTheDefaults) {
  VXQUALITYPAIR pairs[5];
  UINT n = 0;
  ASSERT_EQ(CPreviewQualityTable::Read(L"C:\\no\\such\\quality.ini", 5, pairs, &n), S_OK);
  ASSERT_EQ(n, 5u);
  const UINT rates[] = {24000000, 18000000, 14000000, 10000000, 7000000};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(pairs[i].nBitRate, rates[i]) << i;
    EXPECT_EQ(pairs[i].nValue, 4u) << i;
  }
  EXPECT_EQ(CPreviewQualityTable::Read(L"x.ini", 4, pairs, &n), E_INVALIDARG);
}

TEST(PreviewQuality, IniValuesOverrideAndBadOnesFallBack) {
  std::string names[5];
  for (int i = 0; i < 5; ++i) {
    std::wstring w = CPreviewQualityTable::EntryName(i);
    names[i] = std::string(w.begin(), w.end());
  }
  std::wstring ini =
      WriteIni("glimora-quality.ini", "[PreviewQualityOrg]\r\n" + names[0] + "=2\r\n" + names[1] + "=abc\r\n" +
                                          names[2] + "=9\r\n[MaxAvgBitrate]\r\n" + names[3] + "=99999999999999\r\n" +
                                          names[4] + "=fast\r\n" + names[0] + "= 12000000 bps\r\n");
  VXQUALITYPAIR pairs[5];
  UINT n = 0;
  ASSERT_EQ(CPreviewQualityTable::Read(ini.c_str(), 5, pairs, &n), S_OK);
  EXPECT_EQ(pairs[0].nValue, 2u);
  EXPECT_EQ(pairs[0].nBitRate, 12000000u);
  EXPECT_EQ(pairs[1].nValue, 0u);             // no digits: level 0
  EXPECT_EQ(pairs[2].nValue, 9u);             // kept; the mapping reports it
  EXPECT_EQ(pairs[3].nBitRate, 0xFFFFFFFFu);  // too large: the largest, not wrapped
  EXPECT_EQ(pairs[4].nBitRate, 24000000u);    // no digits: 24000000 whatever the entry
  EXPECT_EQ(pairs[4].nValue, 4u);
  std::string path(ini.begin(), ini.end());
  ::DeleteFileA(path.c_str());
}

TEST(PreviewQuality, LevelsMapToFlagsForTheLastThreeEntries) {
  for (UINT level = 0; level <= 5; ++level) {
    HRESULT hr = 0;
    const UINT want[] = {0x10010, 0x10040, 0x20040, 0x40040, 0x80040, 0x80040};
    EXPECT_EQ(CPreviewQualityTable::FlagsOf(level, &hr), want[level]) << level;
    EXPECT_EQ(hr, level <= 4 ? 0 : 1) << level;
  }
  VXQUALITYPAIR in[5] = {{1, 4}, {2, 4}, {3, 0}, {4, 7}, {5, 2}}, out[3] = {};
  EXPECT_EQ(CPreviewQualityTable::MapQuality(5, in, 3, out), 0);  // the last level decides
  EXPECT_EQ(out[0].nBitRate, 3u);
  EXPECT_EQ(out[0].nValue, 0x10010u);
  EXPECT_EQ(out[1].nValue, 0x80040u);
  EXPECT_EQ(out[2].nValue, 0x20040u);
  in[4].nValue = 8;
  EXPECT_EQ(CPreviewQualityTable::MapQuality(5, in, 3, out), 1);
  EXPECT_EQ(CPreviewQualityTable::MapQuality(4, in, 3, out), E_INVALIDARG);
  EXPECT_EQ(CPreviewQualityTable::MapQuality(5, in, 2, out), E_INVALIDARG);
  EXPECT_EQ(CPreviewQualityTable::MapQuality(5, nullptr, 3, out), E_POINTER);
}

}  // namespace
