// The tool runs' decisions: the picture tools' counters and profile values, the date
// imprint's errors and names, the movie split's selection, the photo database after a
// tool, the disk check and the disc-drive list.
#include <gtest/gtest.h>

#include <VxResourceIds.h>

#include <string>
#include <vector>

#include "ToolRunRules.h"

using namespace toolrunrules;

TEST(ToolRunRules, CountersFollowTheExtensionWithoutCase) {
  struct {
    const char* path;
    Counter counter;
  } cases[] = {
      {"C:\\a\\b.JPG", COUNT_JPEG},  {"b.jpeg", COUNT_JPEG},      {"b.Jpe", COUNT_JPEG}, {"b.bmp", COUNT_BMP},
      {"b.png", COUNT_PNG},          {"b.TIF", COUNT_TIFF},       {"b.tiff", COUNT_TIFF}, {"b.dvf", COUNT_DVF},
      {"b.TTL", COUNT_TTL},          {"b.ped", COUNT_PED},        {"b.gif", COUNT_GIF},   {"b.raw", COUNT_OTHER},
      {"C:\\x.jpg\\noext", COUNT_OTHER},  // the folder's dot is not the file's
      {"b.jpg.txt", COUNT_OTHER},
  };
  for (auto& c : cases) EXPECT_EQ(CounterOf(c.path), c.counter) << c.path;
}

TEST(ToolRunRules, PictureToolsWriteWhatTheirDialogsRead) {
  auto counts = [](std::vector<std::pair<Counter, int>> set) {
    std::vector<int> c(COUNT_KINDS, 0);
    for (auto& p : set) c[p.first] = p.second;
    return c;
  };
  struct {
    int command;
    int accepted, flagged;
    std::vector<int> counts;
    std::vector<std::pair<std::string, int>> values;
  } cases[] = {
      {ID_TB_ROTATE, 1, 1, counts({{COUNT_JPEG, 1}}), {{"Single", 1}, {"ReadOnly", 3}}},
      // Two read-only files are not "the one read-only file".
      {ID_TB_ROTATE_ITEM, 3, 2, counts({{COUNT_JPEG, 3}}), {{"Single", 0}, {"ReadOnly", 1}}},
      {ID_TB_SCALE, 2, 0, counts({{COUNT_PNG, 2}}), {{"Single", 0}, {"ReadOnly", 1}, {"Slider", 0}}},
      {ID_TB_SCALE, 2, 0, counts({{COUNT_PNG, 1}, {COUNT_JPEG, 1}}), {{"Single", 0}, {"ReadOnly", 1}, {"Slider", 1}}},
      // The conversion names the kind every file has.
      {ID_TB_CONVERT, 2, 0, counts({{COUNT_JPEG, 2}}), {{"Single", 1}, {"ReadOnly", 1}}},
      {ID_TB_CONVERT, 1, 0, counts({{COUNT_BMP, 1}}), {{"Single", 2}, {"ReadOnly", 1}}},
      {ID_TB_CONVERT, 3, 1, counts({{COUNT_PNG, 3}}), {{"Single", 3}, {"ReadOnly", 3}}},
      {ID_TB_CONVERT, 2, 0, counts({{COUNT_TIFF, 2}}), {{"Single", 4}, {"ReadOnly", 1}}},
      {ID_TB_CONVERT, 2, 0, counts({{COUNT_GIF, 2}}), {{"Single", 5}, {"ReadOnly", 1}}},
      {ID_TB_CONVERT, 2, 0, counts({{COUNT_GIF, 1}, {COUNT_PNG, 1}}), {{"Single", 0}, {"ReadOnly", 1}}},
      // A ".dvf" counted but accepted too: the JPEG count no longer covers every file.
      {ID_TB_CONVERT, 3, 0, counts({{COUNT_JPEG, 2}, {COUNT_DVF, 1}}), {{"Single", 0}, {"ReadOnly", 1}}},
  };
  for (auto& c : cases) {
    std::vector<std::pair<std::string, int>> got;
    for (const ProfileValue& v : PictureToolValues(c.command, c.accepted, c.flagged, c.counts.data()))
      got.push_back({v.key, v.value});
    EXPECT_EQ(got, c.values) << c.command << " " << c.accepted;
  }
}

TEST(ToolRunRules, PictureToolTable) {
  struct {
    int command;
    const char* library;
    int title;
    int checkKind;
    bool special;
    int supportKind;
    bool printMarks;
  } cases[] = {
      {ID_TB_ROTATE, "TurnPicture.dll", IDS_BROWSER_ROTATE_CAPTION, 1, false, 1, true},
      {ID_TB_ROTATE_ITEM, "TurnPicture.dll", IDS_BROWSER_ROTATE_CAPTION, 1, false, 1, true},
      {ID_TB_SCALE, "ScalePicture.dll", IDS_TB_TOOL_SCALE, 1, false, 1, true},
      {ID_TB_CONVERT, "ConvertKind.dll", IDS_TB_TOOL_CONVERT, 5, true, 5, false},
  };
  for (auto& c : cases) {
    const PictureTool* t = FindPictureTool(c.command);
    ASSERT_NE(t, nullptr) << c.command;
    EXPECT_STREQ(t->library, c.library);
    EXPECT_EQ(t->titleId, c.title);
    EXPECT_EQ(t->checkKind, c.checkKind);
    EXPECT_EQ(t->acceptsSpecial, c.special);
    EXPECT_EQ(SupportKindFor(t->titleId), c.supportKind);
    EXPECT_EQ(LooksForPrintMarks(t->titleId), c.printMarks);
  }
  EXPECT_EQ(FindPictureTool(ID_TB_RENAME), nullptr);
  int counts[COUNT_KINDS] = {};
  counts[COUNT_PED] = 1;
  counts[COUNT_DVF] = 2;
  EXPECT_EQ(SpecialKindTextIds(counts), (std::vector<int>{IDS_TB_KIND_DVF, IDS_TB_KIND_PED}));
}

TEST(ToolRunRules, DateImprintErrorsAndNames) {
  struct {
    unsigned long result;
    int text;
  } errors[] = {
      {0x80070008UL, IDS_TB_IMPRINT_NO_MEMORY},       {0x82000001UL, IDS_TB_IMPRINT_NO_MEMORY},
      {0x82000003UL, IDS_TB_IMPRINT_NO_MEMORY},       {0x80070013UL, IDS_TB_IMPRINT_WRITE_PROTECTED},
      {0x8200000EUL, IDS_TB_IMPRINT_WRITE_PROTECTED}, {0x80070070UL, IDS_BROWSER_DISK_FULL},
      {0x82000005UL, IDS_BROWSER_DISK_FULL},          {0x82000002UL, 0},
      {1, 0},                                         {0xFFFFFFFFUL, 0},
  };
  for (auto& e : errors) EXPECT_EQ(StampErrorTextId(e.result), e.text) << std::hex << e.result;
  struct {
    const char* name;
    const char* output;
  } names[] = {
      {"C:\\p\\a.dvf", "C:\\p\\a.bmp"}, {"C:\\p\\a.DVF", "C:\\p\\a.bmp"}, {"C:\\p\\a.jpg", "C:\\p\\a.jpg"},
      {"C:\\p\\dvf", "C:\\p\\dvf"},     {"C:\\p.dvf\\a", "C:\\p.dvf\\a"},
  };
  for (auto& n : names) EXPECT_EQ(ImprintOutputName(n.name), n.output) << n.name;
  EXPECT_EQ(ImprintNothingTextId(0), IDS_TB_IMPRINT_UNDATED);
  EXPECT_EQ(ImprintNothingTextId(2), IDS_TB_IMPRINT_NOTHING);
}

TEST(ToolRunRules, MovieSelection) {
  struct {
    std::vector<bool> accepted;
    std::vector<DWORD> flags;
    int expected;
  } cases[] = {
      {{}, {}, 0},
      {{false, false}, {0, 0}, 0},
      {{true}, {0}, 1},
      {{true, false}, {0, 0x100}, 1},  // a movie's companion file is not another file
      {{true, false}, {0, 0x80}, 2},
      {{false, true}, {0, 0}, 2},
  };
  for (auto& c : cases) EXPECT_EQ(MovieSelection(c.accepted, c.flags), c.expected) << c.accepted.size();
}

TEST(ToolRunRules, DatabaseFollowsTheOutput) {
  struct {
    const char *source, *output;
    bool fixed, sourceExists;
    DatabaseUpdate expected;
  } cases[] = {
      {"C:\\p\\a.jpg", "C:\\p\\a.jpg", true, true, DB_RENEW},
      {"C:\\p\\a.jpg", "c:\\P\\A.JPG", true, true, DB_RENEW},
      {"C:\\p\\a.jpg", "C:\\p\\a_1.jpg", true, true, DB_COPY},
      {"C:\\p\\a.jpg", "C:\\q\\a.jpg", true, false, DB_MOVE},
      {"C:\\p\\a.jpg", "E:\\p\\a.jpg", false, true, DB_NOTHING},  // the card is not in the database
      {"C:\\p\\a.jpg", "", true, true, DB_NOTHING},
  };
  for (auto& c : cases)
    EXPECT_EQ(DatabaseUpdateFor(c.source, c.output, c.fixed, c.sourceExists), c.expected) << c.output;
}

TEST(ToolRunRules, DiskMustHoldAQuarterOfTheMemory) {
  const unsigned long long kGiB = 1ULL << 30;
  struct {
    unsigned long long freeKB, memory;
    bool tooFull;
  } cases[] = {
      {2 * 1024 * 1024 - 1, 8 * kGiB, true},
      {2 * 1024 * 1024, 8 * kGiB, false},
      {0, 0, false},
  };
  for (auto& c : cases) EXPECT_EQ(DiskTooFull(c.freeKB, c.memory), c.tooFull) << c.freeKB;
}

TEST(ToolRunRules, DiscDriveItems) {
  std::vector<toolbarrules::ListItem> items = DiscDriveItems({3, 25, 26, -1, 4}, "x");
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].command, ID_TB_DISC_LIST + 4);
  EXPECT_EQ(items[0].text, "Dx");
  EXPECT_EQ(items[1].command, ID_TB_DISC_LIST + 26);
  EXPECT_EQ(items[1].text, "Zx");
  EXPECT_EQ(items[2].text, "Ex");
  EXPECT_TRUE(DiscDriveItems({}, "x").empty());
}
