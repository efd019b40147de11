// The slide-show window's decisions: what the player is handed (codes, packed records,
// music), where the player's library is looked for, and the panel's corner.
#include <gtest/gtest.h>

#include <string.h>

#include "SlideShowWndRules.h"

namespace {
void PutLong(tagSLD_V_TYPE& s, size_t offset, LONG v) { memcpy(s.tail + (offset - 2 * MAX_PATH), &v, sizeof(v)); }
}  // namespace

TEST(SlideShowWndRules, KindAndQualityOutsideTheirRangeAreZero) {
  struct {
    int in, kind, quality;
  } cases[] = {{-1, 0, 0}, {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 0}, {4, 4, 0}, {5, 0, 0}, {0x7fffffff, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(SlideKindCode(c.in), c.kind);
    EXPECT_EQ(SlideQualityCode(c.in), c.quality);
  }
}

TEST(SlideShowWndRules, RecordsCarryTheTailFieldsAndAWidePath) {
  tagSLD_V_TYPE s = {};
  // "写真\a.jpg" in code page 932.
  lstrcpyA(s.szPath, "C:\\\x8e\xca\x90\x5e\\a.jpg");
  lstrcpyA(s.szPath2, "C:\\ignored.bmp");
  PutLong(s, 520, 2500);  // the plain show's interval
  PutLong(s, 524, 4000);
  PutLong(s, 528, 3000);
  const RECT crop = {10, 20, 330, 260};
  memcpy(s.tail + 12, &crop, sizeof(crop));
  PutLong(s, 548, 6);
  for (int kind : {0, 3}) {
    SCOPED_TRACE(kind);
    const std::vector<SlidePlayerRecord> r = SlidePlayerRecords({s}, kind);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].nWidth, 4000);
    EXPECT_EQ(r[0].nHeight, 3000);
    EXPECT_EQ(r[0].nOrientation, 6);
    EXPECT_TRUE(EqualRect(&r[0].rcCrop, &crop));
    EXPECT_EQ(std::wstring(r[0].szPath), std::wstring(L"C:\\\u5199\u771f\\a.jpg"));
    EXPECT_EQ(r[0].nInterval, kind == 0 ? 2500 : 0);
  }
  // The byte layout the player reads.
  SlidePlayerRecord one = SlidePlayerRecords({s}, 0)[0];
  const BYTE* b = reinterpret_cast<const BYTE*>(&one);
  LONG v;
  memcpy(&v, b + 8, 4);
  EXPECT_EQ(v, 6);
  memcpy(&v, b + 548, 4);
  EXPECT_EQ(v, 2500);
  EXPECT_EQ(reinterpret_cast<const WCHAR*>(b + 28)[0], L'C');

  // A path of 260 bytes without its terminator stays within the record.
  tagSLD_V_TYPE full = {};
  memset(full.szPath, 'a', MAX_PATH);
  const SlidePlayerRecord rf = SlidePlayerRecords({full}, 0)[0];
  EXPECT_EQ(rf.szPath[MAX_PATH - 1], 0);

  std::vector<tagSLD_A_TYPE> music(2);
  lstrcpyA(music[0].szPath, "C:\\m\\1.mp3");
  const std::vector<SlidePlayerMusic> m = SlidePlayerMusicList(music);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(std::wstring(m[0].szPath), L"C:\\m\\1.mp3");
  EXPECT_EQ(m[1].szPath[0], 0);
}

TEST(SlideShowWndRules, LibraryPathFollowsTheHostsFolder) {
  struct {
    const char* host;
    const char* name;
    const char* path;  // "" unbound
  } cases[] = {
      {"C:\\Program Files\\N\\Marlo5\\Marlo5.exe", "SlideRunnerWrapper.DLL",
       "C:\\Program Files\\N\\Marlo5\\SlideRunnerWrapper.DLL"},
      {"C:\\Program Files\\N\\Marlo5\\Marlo5.exe", ".\\Core\\x.dll", "C:\\Program Files\\N\\Marlo5\\Core\\x.dll"},
      {"C:\\Program Files\\N\\Marlo5\\Marlo5.exe", "..\\Shared\\x.dll", "C:\\Program Files\\N\\Shared\\x.dll"},
      {"C:\\Program Files\\N\\Marlo5\\Marlo5.exe", "..\\.\\..\\x.dll", "C:\\Program Files\\x.dll"},
      {"C:\\a\\Marlo5.exe", "..\\x.dll", "C:\\x.dll"},
      {"C:\\a\\Marlo5.exe", "..\\..\\x.dll", ""},  // above the drive's root
      {"Marlo5.exe", "x.dll", ""},                  // no folder at all
      {"C:\\a\\Marlo5.exe", "sub\\..\\x.dll", "C:\\a\\sub\\..\\x.dll"},  // only leading parts count
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.host) + " + " + c.name);
    EXPECT_EQ(ComponentLibraryPath(c.host, c.name), c.path);
  }
}

TEST(SlideShowWndRules, PanelSitsInTheBottomRightCorner) {
  const SIZE sizes[kSbCount] = {{32, 26}, {32, 26}, {40, 30}};
  RECT r[kSbCount];
  SlidePanelLayout(sizes, 1280, 1024, 2, 2, r);
  // Window coordinates: the window starts 2 pixels left of and above the screen.
  EXPECT_EQ(r[kSbClose].right, 1280 - 21 + 2);
  EXPECT_EQ(r[kSbClose].bottom, 1024 - 21 + 2);
  EXPECT_EQ(r[kSbPlay].right, r[kSbClose].left - 20);
  EXPECT_EQ(r[kSbSettings].right, r[kSbPlay].left - 10);
  EXPECT_EQ(r[kSbSettings].right - r[kSbSettings].left, 40);
  EXPECT_EQ(r[kSbSettings].bottom - r[kSbSettings].top, 30);
  for (const RECT& b : r) EXPECT_EQ(b.bottom, r[kSbClose].bottom);
}
