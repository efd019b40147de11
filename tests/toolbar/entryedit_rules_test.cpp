// The person entry editor's and the face registration dialog's decisions by tables: names
// cut for the records' 32-byte field, birthdays, what OK refuses, which files the dialog
// takes and which face a click picks.
#include <VxResourceIds.h>
#include <gtest/gtest.h>

#include "EntryEditRules.h"
#include "FaceClassifyRunner.h"

using namespace entryedit;

namespace {
const std::string kDouble = "\x88\x9F";  // one double-byte character of code page 932
}

TEST(EntryEditRules, NamesCutForTheirTerminator) {
  struct Case {
    std::string name, cut;
  } cases[] = {
      {std::string(31, 'a'), std::string(31, 'a')},
      {std::string(32, 'a'), std::string(31, 'a')},
      // 33 bytes, the last character on bytes 32 and 33: 31 bytes stay.
      {std::string(31, 'a') + kDouble, std::string(31, 'a')},
      // The cut at 31 would split the character on bytes 31 and 32: 30 stay.
      {std::string(30, 'a') + kDouble + "b", std::string(30, 'a')},
      {std::string(29, 'a') + kDouble + "bc", std::string(29, 'a') + kDouble},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutName(c.name), c.cut) << c.name.size();
    EXPECT_LE(CutName(c.name).size(), kNameBytes);
  }
}

TEST(EntryEditRules, NamesAndYears) {
  struct NameCase {
    std::string name;
    bool valid;
  } names[] = {{"Hana", true},   {"a\\b:c", true}, {"  a/b", false}, {"x*", false}, {"?", false},
               {"\"q\"", false}, {"a|b", false},   {"<a>", false},   {"", true},    {kDouble + "b", true}};
  for (const NameCase& c : names) EXPECT_EQ(IsValidName(c.name), c.valid) << c.name;

  struct YearCase {
    std::string text;
    int year;
  } years[] = {{"1899", 0}, {"1900", 1900}, {"2037", 2037}, {"2038", 0},
               {"", 0},     {"19a0", 0},    {"01999", 0},   {"-1900", 0}};
  for (const YearCase& c : years) EXPECT_EQ(YearOf(c.text), c.year) << c.text;

  struct DayCase {
    int year, month, days;
  } days[] = {{1900, 2, 28}, {2000, 2, 29},  {2004, 2, 29}, {2100, 2, 28}, {2001, 2, 28},
              {2001, 4, 30}, {2001, 12, 31}, {2001, 0, 31}, {2001, 13, 31}};
  for (const DayCase& c : days) EXPECT_EQ(DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;

  struct DigitCase {
    std::string text, kept;
    bool bad;
  } digits[] = {
      {"1987", "1987", false}, {"19x7", "19", true}, {"a", "", true}, {"20" + kDouble, "20", true}, {"", "", false}};
  for (const DigitCase& c : digits) {
    bool bad = false;
    EXPECT_EQ(DigitsOnly(c.text, &bad), c.kept) << c.text;
    EXPECT_EQ(bad, c.bad) << c.text;
  }
}

TEST(EntryEditRules, ThumbnailStaysInThePicture) {
  struct Case {
    RECT face, source;
  } cases[] = {
      {{100, 100, 200, 200}, {70, 70, 230, 230}},
      {{10, 5, 60, 50}, {0, 0, 90, 80}},
      {{600, 450, 640, 480}, {570, 420, 639, 479}},
      {{0, 0, 0, 0}, {0, 0, 30, 30}},  // no face found: the corner
  };
  for (const Case& c : cases) {
    const RECT r = ThumbnailSource(c.face);
    EXPECT_TRUE(EqualRect(&r, &c.source)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST(EntryEditRules, WhatOkRefuses) {
  const std::string first = "(choose)";
  auto base = [&] {
    SaveCheck c;
    c.birthday = false;
    c.name = "Hana";
    c.firstEntry = first;
    c.nameListed = true;
    c.listedNames = 3;
    return c;
  };
  auto paths = [](int from, int n) {
    std::vector<std::string> v;
    for (int i = from; i < from + n; ++i) v.push_back("C:\\p\\" + std::to_string(i) + ".jpg");
    return v;
  };
  struct Case {
    const char* what;
    SaveCheck check;
    UINT message;
    int newCount;
  };
  std::vector<Case> cases;
  {
    SaveCheck c = base();
    c.stored = paths(0, 2);
    c.shown = paths(0, 5);  // two stored, three new
    cases.push_back({"two stored and three new", c, 0, 3});
    c.shown = paths(0, 6);
    cases.push_back({"a sixth face", c, IDS_ENTRY_TOO_MANY, 4});
    c.stored = paths(0, 5);
    c.shown = paths(0, 5);
    cases.push_back({"five stored, none new", c, 0, 0});
  }
  {
    SaveCheck c = base();
    c.stored = {"C:\\P\\0.JPG"};
    c.shown = paths(0, 1);
    cases.push_back({"stored paths compare without case", c, 0, 0});
  }
  {
    SaveCheck c = base();
    c.shown = paths(0, 1);
    c.nameListed = false;
    c.listedNames = 21;
    cases.push_back({"a 22nd name", c, IDS_ENTRY_TOO_MANY, 0});
    c.listedNames = 20;
    cases.push_back({"a 21st name", c, 0, 1});
    c.name = "";
    cases.push_back({"empty name", c, IDS_ENTRY_NAME_EMPTY, 0});
    c.name = "(CHOOSE)";
    cases.push_back({"the first entry", c, IDS_ENTRY_NAME_EMPTY, 0});
    c.name = "a<b";
    cases.push_back({"a bad character", c, IDS_ENTRY_NAME_INVALID, 0});
  }
  {
    SaveCheck c = base();
    c.shown = paths(0, 1);
    c.birthday = true;
    c.year = "1987";
    c.month = "2";
    c.day = "28";
    cases.push_back({"a whole birthday", c, 0, 1});
    c.year = "1899";
    cases.push_back({"1899", c, IDS_ENTRY_BIRTHDAY_INCOMPLETE, 0});
    c.year = "2038";
    cases.push_back({"2038", c, IDS_ENTRY_BIRTHDAY_INCOMPLETE, 0});
    c.year = "1987";
    c.day = "";
    cases.push_back({"no day", c, IDS_ENTRY_BIRTHDAY_INCOMPLETE, 0});
    c.shown.clear();
    cases.push_back({"no faces: straight to the close", c, 0, 0});
  }
  for (const Case& c : cases) {
    const SaveDecision d = CheckSave(c.check);
    EXPECT_EQ(d.message, c.message) << c.what;
    if (!d.message) { EXPECT_EQ(d.newCount, c.newCount) << c.what; }
  }

  const std::vector<std::string> names = {first, "Hana", "Ken"};
  EXPECT_EQ(CheckAddName("Mio", names), 0u);
  EXPECT_EQ(CheckAddName("Ken", names), (UINT)IDS_ENTRY_NAME_EXISTS);
  EXPECT_EQ(CheckAddName("", names), (UINT)IDS_ENTRY_NAME_EMPTY);
  EXPECT_EQ(CheckAddName("K/n", names), (UINT)IDS_ENTRY_NAME_INVALID);
  EXPECT_EQ(CheckDeleteName("Ken", first), 0u);
  EXPECT_EQ(CheckDeleteName("(Choose)", first), (UINT)IDS_ENTRY_NAME_EMPTY);
}

TEST(EntryEditRules, PicturesTakenAndFacesHit) {
  struct Case {
    const char* path;
    bool engineReads, taken;
  } cases[] = {
      {"C:\\a.jpg", true, true},  {"C:\\a.jpg", false, false}, {"C:\\a.RAW", false, true},
      {"C:\\a.dng", false, true}, {"C:\\a.png", true, false},  {"C:\\a.GIF", true, false},
      {"C:\\a.mov", true, false}, {"C:\\a.ped", true, false},  {"C:\\x.png\\a.jpg", true, true},
  };
  for (const Case& c : cases) EXPECT_EQ(AcceptsPicture(c.path, c.engineReads), c.taken) << c.path;

  // Faces of the 640 x 480 picture; on screen at (15, 50) plus half.
  const std::vector<RECT> faces = {{100, 100, 200, 200}, {180, 100, 280, 200}};
  struct Hit {
    POINT pt;
    int face;
  } hits[] = {
      {{15 + 75, 50 + 75}, 0},   {{15 + 95, 50 + 75}, 0},   // where both overlap: the first
      {{15 + 120, 50 + 75}, 1},  {{15 + 50, 50 + 75}, -1},  // on the frame: not strictly inside
      {{15 + 140, 50 + 75}, -1}, {{10, 10}, -1},
  };
  for (const Hit& h : hits) EXPECT_EQ(FaceAt(faces, h.pt), h.face) << h.pt.x << "," << h.pt.y;
}

TEST(FaceClassifyRules, DrivesFilesAndProgressText) {
  struct Case {
    DWORD flags;
    bool fixed;
    faceclassify::DriveStep first, second;
  } cases[] = {
      {0, true, faceclassify::kClassify, faceclassify::kClassify},
      {0, false, faceclassify::kStop, faceclassify::kStop},
      {1, false, faceclassify::kStop, faceclassify::kStop},
      // The first file off a fixed disk is skipped and told; the later ones are classified.
      {0x20000001, false, faceclassify::kSkipOnce, faceclassify::kClassify},
      {0x80000000, false, faceclassify::kClassify, faceclassify::kClassify},
      {0x40000000, false, faceclassify::kClassify, faceclassify::kClassify},
  };
  for (const Case& c : cases) {
    bool test = true;
    EXPECT_EQ(faceclassify::TestDrive(c.flags, c.fixed, &test), c.first) << c.flags;
    EXPECT_EQ(faceclassify::TestDrive(c.flags, c.fixed, &test), c.second) << c.flags;
  }

  struct File {
    const char* path;
    bool engineReads, taken;
  } files[] = {{"C:\\a.jpg", true, true},   {"C:\\a.gif", true, false}, {"C:\\a.PNG", true, false},
               {"C:\\a.ped", true, false},  {"C:\\a.dng", false, true}, {"C:\\a.mov", true, true},
               {"C:\\a.mov", false, false}, {"C:\\a.txt", false, false}};
  for (const File& f : files) EXPECT_EQ(faceclassify::Classifiable(f.path, f.engineReads), f.taken) << f.path;

  // One buffer for the program's life, whatever the name's length; always ended.
  LPCSTR first = faceclassify::ProgressText("%s (%d/%d)", "a.jpg", 1, 3);
  EXPECT_STREQ(first, "a.jpg (1/3)");
  const std::string longName(5000, 'n');
  LPCSTR second = faceclassify::ProgressText("%s (%d/%d)", longName.c_str(), 2, 3);
  EXPECT_EQ(second, first);
  EXPECT_EQ(strlen(second), faceclassify::kProgressTextBytes - 1);
}
