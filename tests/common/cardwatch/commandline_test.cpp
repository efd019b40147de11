// Command lines, drive letters and the choice among installed card viewers.
#include <cardwatch/Programs.h>
#include <gtest/gtest.h>

using namespace cardwatch;

TEST(CommandLine, DriveMaskToLetters) {
  struct Row {
    DWORD mask;
    const char* letters;
  };
  const Row rows[] = {
      {0, ""},
      {1u << 4, "e:"},
      {(1u << 4) | (1u << 5), "e:f:"},
      {(1u << 2) | (1u << 25), "c:z:"},
      {1u, "a:"},
      // Bits past 'z' name no drive.
      {0xFC000000u | (1u << 6), "g:"},
      {0xFFFFFFFFu, "a:b:c:d:e:f:g:h:i:j:k:l:m:n:o:p:q:r:s:t:u:v:w:x:y:z:"},
  };
  for (const Row& r : rows) EXPECT_STREQ(r.letters, DriveMaskToLetters(r.mask)) << std::hex << r.mask;
}

TEST(CommandLine, ProgramsAndViewers) {
  struct Row {
    CString (*build)(LPCSTR, DWORD);
    const char* path;
    DWORD mask;
    const char* line;
  };
  const auto toMain = BuildMainProgramCommandLine;
  const auto toViewer = BuildCardViewerCommandLine;
  const Row rows[] = {
      {toMain, "C:\\Program Files\\Norvane\\Marlo5\\Marlo5.exe", 1u << 4,
       "\"C:\\Program Files\\Norvane\\Marlo5\\Marlo5.exe\" -AutoImport"},
      {toMain, "C:\\Program Files\\Norvane\\Marlo5\\Marlo5.exe", 0,
       "\"C:\\Program Files\\Norvane\\Marlo5\\Marlo5.exe\""},
      {toMain, "C:\\M\\Marlo5.exe", (1u << 4) | (1u << 5), "\"C:\\M\\Marlo5.exe\" -AutoImport"},
      {toViewer, "C:\\Program Files\\Norvane\\MarloLE\\MarloLE.exe", 1u << 4,
       "\"C:\\Program Files\\Norvane\\MarloLE\\MarloLE.exe\" -AutoImport/e:"},
      {toViewer, "C:\\V\\MarloLE.exe", (1u << 4) | (1u << 7), "\"C:\\V\\MarloLE.exe\" -AutoImport/e:h:"},
      {toViewer, "C:\\V\\MarloLE.exe", 0, "\"C:\\V\\MarloLE.exe\" -AutoImport/"},
  };
  for (const Row& r : rows) EXPECT_STREQ(r.line, r.build(r.path, r.mask));
  EXPECT_STREQ("C:\\Program Files\\Norvane\\Marlo5\\Marlo5.exe",
               GetMainProgramPath("C:\\Program Files\\Norvane\\Marlo5"));
}

TEST(CardViewerVersion, CompareVersionTexts) {
  struct Row {
    const char* a;
    const char* b;
    int sign;
  };
  const Row rows[] = {
      {"1.2.0.0", "1.2.0.0", 0},
      {"1.2.0.0", "1.3.0.0", -1},
      {"2.0.0.0", "1.9.9.9", 1},
      // Parts are numbers, not digits: 10 is newer than 9, 1.10 newer than 1.9.
      {"10.0.0.0", "9.0.0.0", 1},
      {"1.10.0.0", "1.9.0.0", 1},
      {"1.0.0.12", "1.0.0.9", 1},
      {"1.2", "1.2.0.0", 0},
      {"", "0.0.0.1", -1},
      {"", "", 0},
      {"0.0.0.0", "", 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.a) + " vs " + r.b);
    int c = CompareVersionTexts(r.a, r.b);
    EXPECT_EQ(r.sign, (c > 0) - (c < 0));
    int back = CompareVersionTexts(r.b, r.a);
    EXPECT_EQ(-r.sign, (back > 0) - (back < 0));
  }
}

TEST(CardViewerVersion, ChooseNewestFirstOnTie) {
  EXPECT_STREQ("", ChooseCardViewerPath({}));
  EXPECT_STREQ("B", ChooseCardViewerPath({{"A", "9.0.0.0"}, {"B", "10.0.0.0"}, {"C", "1.0.0.0"}}));
  EXPECT_STREQ("A", ChooseCardViewerPath({{"A", "2.1.0.0"}, {"B", "2.1.0.0"}}));
  EXPECT_STREQ("B", ChooseCardViewerPath({{"A", ""}, {"B", "1.0.0.0"}}));
  EXPECT_STREQ("A", ChooseCardViewerPath({{"A", ""}, {"B", ""}}));
}
