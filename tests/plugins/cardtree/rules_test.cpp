// The card tree's plain decisions: drive lists, the SD-Video programme test, dates, the
// order by shooting time, the folder-name list, the part fit, the maker file.
#include <CardRules.h>
#include <DiscNodes.h>
#include <Kitlib2/Profile.h>
#include <files.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <tempfolder.h>

using namespace cardtree;

TEST(CardRules, DriveLettersStandAtEvenPositions) {
  struct Case {
    const char* text;
    std::string letters;
  } cases[] = {{"", ""}, {"E,", "E"}, {"E,F,", "EF"}, {"E,F", "EF"}, {"E", "E"}, {nullptr, ""}};
  for (const Case& c : cases) {
    std::vector<char> got = CardDriveLetters(c.text);
    EXPECT_EQ(std::string(got.begin(), got.end()), c.letters) << (c.text ? c.text : "(null)");
  }
}

TEST(CardRules, SdVideoProgrammeFolders) {
  struct Case {
    const char* path;
    int want;
  } cases[] = {
      {"E:\\SD_VIDEO\\PRL001", 1}, {"e:\\sd_video\\prg00a", 1}, {"E:\\SD_VIDEO\\PRL000", 0},
      {"E:\\SD_VIDEO\\PRX001", 0}, {"E:\\SD_VIDEO\\PRL01", 0},  {"E:\\SD_VIDEO\\PRL0G1", 0},
      {"E:\\SD_VIDEX\\PRL001", 0}, {"E:\\SD_VIDEO\\PRG100\\MOL001.ASF", 1}, {"", 0}, {nullptr, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSdVideoProgramFolder(c.path), c.want) << (c.path ? c.path : "(null)");
}

TEST(CardRules, DatesFollowTheLocaleOrder) {
  SYSTEMTIME d = {};
  d.wYear = 2008;
  d.wMonth = 1;
  d.wDay = 2;
  EXPECT_EQ(FormatDateForOrder(d, "0"), " 1- 2-2008");
  EXPECT_EQ(FormatDateForOrder(d, "1"), " 2- 1-2008");
  EXPECT_EQ(FormatDateForOrder(d, "2"), "2008-01-02");
  EXPECT_EQ(FormatDateForOrder(d, ""), "2008-01-02");
  EXPECT_EQ(FormatTodayDate().size(), 10u);
}

TEST(CardRules, ShootingTimeOrderKeepsEqualTimes) {
  auto at = [](int day) {
    SYSTEMTIME t = {};
    t.wYear = 2026;
    t.wMonth = 11;
    t.wDay = static_cast<WORD>(day);
    return t;
  };
  for (int order : {1, 0}) {
    std::vector<std::string> paths = {"a", "b", "c", "d"};
    std::vector<SYSTEMTIME> times = {at(3), at(5), at(3), at(1)};
    SortByTimes(paths, times, order);
    if (order == 1)
      EXPECT_EQ(paths, (std::vector<std::string>{"b", "a", "c", "d"}));
    else
      EXPECT_EQ(paths, (std::vector<std::string>{"d", "a", "c", "b"}));
  }
}

TEST(CardRules, ShootingTimeFallsBackToTheUpdateTime) {
  testsupport::ScopedProfileRoot profile("cardtree-sort");
  std::string dir = testsupport::NewTempFolder("cardsort");
  const char* names[] = {"old.txt", "new.txt"};
  for (int i = 0; i < 2; ++i) {
    std::string path = dir + "\\" + names[i];
    ASSERT_TRUE(testsupport::WriteWholeFile(path, "x"));
    ASSERT_TRUE(testsupport::SetLocalWriteTime(path, static_cast<WORD>(2020 + i), 6, 1));
  }
  CStringList files;
  files.AddTail((dir + "\\old.txt").c_str());
  files.AddTail((dir + "\\new.txt").c_str());
  EXPECT_EQ(SortFilesByShootingTime(files, 0), 1);  // newest first whatever the profile
  EXPECT_EQ(std::string(files.GetHead()), dir + "\\new.txt");
  CMWriteProfileInt("MarloLE", "Order", 0);
  EXPECT_EQ(SortFilesByShootingTime(files, 1), 1);  // the profile's order: oldest first
  EXPECT_EQ(std::string(files.GetHead()), dir + "\\old.txt");
  testsupport::RemoveTree(dir);
}

TEST(CardRules, FolderNameListHoldsExactlyTheDropTarget) {
  testsupport::ScopedProfileRoot profile("cardtree-names");
  EXPECT_EQ(AppendFolderNameList("E:\\DCIM\\100NORVA"), 1);
  EXPECT_EQ(std::string(CMGetProfileString(kFolderNameSection, "0001", "")), "E:\\DCIM\\100NORVA");
  EXPECT_EQ(AppendFolderNameList("E:\\DCIM\\101NORVA"), 2);
  EXPECT_EQ(ClearFolderNameList(), 1);
  EXPECT_EQ(CMGetProfileInt(kFolderNameSection, "NumOfFolder", -7), -7);
  EXPECT_EQ(std::string(CMGetProfileString(kFolderNameSection, "0002", "gone")), "gone");

  // Counts the profile may hold: huge and negative ones end at once.
  for (int count : {2000000000, -5}) {
    CMWriteProfileInt(kFolderNameSection, "NumOfFolder", count);
    CMWriteProfileString(kFolderNameSection, "0001", "E:\\x");
    DWORD start = GetTickCount();
    EXPECT_EQ(ClearFolderNameList(), 1);
    EXPECT_LT(GetTickCount() - start, 60000u);
    EXPECT_EQ(CMGetProfileInt(kFolderNameSection, "NumOfFolder", -7), -7);
    EXPECT_EQ(AppendFolderNameList("E:\\y"), 1);
    ClearFolderNameList();
  }
}

TEST(CardRules, PartFitKeepsTheShape) {
  struct Case {
    int w, h, fw, fh;
    BOOL ok;
  } cases[] = {
      {1920, 1080, 80, 45, TRUE}, {720, 576, 75, 60, TRUE}, {1080, 1920, 33, 60, TRUE}, {640, 480, 80, 60, TRUE},
      {60, 60, 60, 60, TRUE},     {1, 1000, 1, 60, TRUE},     {0, 0, 0, 0, FALSE},
      {0, 480, 0, 0, FALSE},      {640, 0, 0, 0, FALSE},      {-5, 10, 0, 0, FALSE},
  };
  for (const Case& c : cases) {
    int fw = -1, fh = -1;
    EXPECT_EQ(FitPart(c.w, c.h, &fw, &fh), c.ok) << c.w << "x" << c.h;
    EXPECT_EQ(fw, c.fw) << c.w << "x" << c.h;
    EXPECT_EQ(fh, c.fh) << c.w << "x" << c.h;
  }
}

TEST(CardRules, MakerFileListsSupportedMakers) {
  std::string dir = testsupport::NewTempFolder("gmr");
  std::string ini = dir + "\\gmr.ini";
  EXPECT_EQ(IsSupportedMakerIn(ini, 0x01030000), 0);  // no file
  ASSERT_TRUE(testsupport::WriteWholeFile(ini, "[SupportMaker]\r\nMakerCode001=01030000\r\nMakerCode002=zz\r\n"
                                               "MakerCode003=NV0103AB12\r\nMakerCode004=0108ABCD\r\nMakerCode006=0200\r\n"));
  EXPECT_EQ(IsSupportedMakerIn(ini, 0x01030000), 1);
  EXPECT_EQ(IsSupportedMakerIn(ini, 0x0108ABCD), 1);
  EXPECT_EQ(IsSupportedMakerIn(ini, 0x0103AB12), 1);  // the maker's mark before the code
  EXPECT_EQ(IsSupportedMakerIn(ini, 0x0200), 0);  // after the first empty key
  EXPECT_EQ(IsSupportedMakerIn(ini, 0), 0);       // a garbage value is no code
  testsupport::RemoveTree(dir);
}

TEST(CardRules, DateNodePathsCarryTheHandles) {
  SYSTEMTIME t = {};
  t.wYear = 2008;
  t.wMonth = 1;
  t.wDay = 2;
  EXPECT_EQ(DateLabel(t), "2008/01/02");
  EXPECT_EQ(DateNodePath('E', 12, 34, 0, 5, DateLabel(t)), "E:\\12\\34\\0\\5\\2008/01/02");
}
