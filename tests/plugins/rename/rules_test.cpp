// The rename tool's naming rules, field rules and name choices, as tables.
#include <RenameRules.h>
#include <gtest/gtest.h>

#include <set>

using namespace renamerules;

TEST(RenameNaming, PatternsGiveTheNames) {
  struct Case {
    const char* base;
    int start, length, step;
    const char* before;
    const char* after;
    int position, k;
    const char* expected;
  } cases[] = {
      {"IMGA", 1, 4, 1, "", "", 1, 0, "IMGA0001"},
      {"IMGA", 1, 4, 1, "", "", 1, 1, "IMGA0002"},
      {"IMGA", 1, 4, 1, "", "", 0, 0, "0001IMGA"},
      {"x", 1000, 2, 1000, "", "", 1, 0, "x1000"},
      {"x", 1000, 2, 1000, "", "", 1, 1, "x2000"},
      {"x", 1, 9, 1, "", "", 1, 0, "x000000001"},
      {"x", 0, 1, 1, "", "", 1, 0, "x0"},
      // Decorations around the number, in both positions.
      {"IMGA", 1, 3, 1, "(", ")", 1, 0, "IMGA(001)"},
      {"IMGA", 1, 3, 1, "(", ")", 0, 0, "(001)IMGA"},
      // An item without a blank follows the number in both positions.
      {"IMGA", 5, 2, 5, "", "-", 1, 1, "IMGA10-"},
      {"IMGA", 5, 2, 5, "", "-", 0, 1, "10-IMGA"},
      // Number in front with only a decoration before: it follows the number.
      {"IMGA", 1, 2, 1, "_", "", 0, 0, "01_IMGA"},
      {"", 7, 3, 1, "", "", 1, 0, "007"},
  };
  for (const Case& c : cases) {
    NumberPattern p;
    p.start = c.start, p.length = c.length, p.step = c.step, p.before = c.before, p.after = c.after,
    p.position = c.position;
    EXPECT_EQ(NewName(c.base, p, c.k), c.expected) << c.expected;
  }
}

TEST(RenameNaming, DecorationItemsAndTheirSides) {
  std::vector<std::string> items = DecorationItems("none", "-\\( )\\[ \\ ]");
  ASSERT_EQ(items.size(), 5u);
  struct Case {
    int index;
    const char* before;
    const char* after;
  } cases[] = {{0, "", ""}, {1, "", "-"}, {2, "(", ")"}, {3, "[", ""}, {4, "", "]"}};
  for (const Case& c : cases) {
    std::string before = "?", after = "?";
    SplitDecoration(items[c.index], c.index, &before, &after);
    EXPECT_EQ(before, c.before) << c.index;
    EXPECT_EQ(after, c.after) << c.index;
  }
}

TEST(RenameFields, PathPartsAndRoom) {
  PathParts p = SplitPath("C:\\a.b\\IMG_1.JPG");
  EXPECT_EQ(p.folder, "C:\\a.b\\");
  EXPECT_EQ(p.title, "IMG_1");
  EXPECT_EQ(p.extension, ".JPG");
  p = SplitPath("C:\\a\\noext");
  EXPECT_EQ(p.title, "noext");
  EXPECT_EQ(p.extension, "");
  // A double-byte character whose trail byte is 0x5C is no separator.
  p = SplitPath("C:\\\x95\x5C\\\x83\x5C.jpg");
  EXPECT_EQ(p.folder, "C:\\\x95\x5C\\");
  EXPECT_EQ(p.title, "\x83\x5C");
  EXPECT_EQ(NameRoom("C:\\a\\b.jpg"), 250 - 5 - 4);
  std::string deep = "C:\\" + std::string(240, 'f') + "\\x.jpeg";
  EXPECT_LT(NameRoom(deep), kMinimumRoom);
}

TEST(RenameFields, BaseNameCutKeepsDoubleByteCharactersWhole) {
  std::string plain(70, 'a');
  EXPECT_TRUE(CutBaseName(&plain));
  EXPECT_EQ(plain.size(), 64u);
  // 63 single bytes, then a double-byte character across the 64th byte: kept whole (65).
  std::string split = std::string(63, 'a') + "\x82\xA0" + "bbbbb";
  EXPECT_TRUE(CutBaseName(&split));
  EXPECT_EQ(split, std::string(63, 'a') + "\x82\xA0");
  std::string fits(64, 'a');
  EXPECT_FALSE(CutBaseName(&fits));
  std::string exact = std::string(63, 'a') + "\x82\xA0";
  EXPECT_FALSE(CutBaseName(&exact));
}

TEST(RenameFields, ForbiddenCharactersGoButTrailBytesStay) {
  struct Case {
    const char* in;
    const char* out;
    bool removed;
  } cases[] = {
      {"a/b", "ab", true},
      {"..\\x", "..x", true},
      {"a:b*c?d\"e<f>g|h", "abcdefgh", true},
      {"\x83\x5C\x95\x5C", "\x83\x5C\x95\x5C", false},  // trail bytes 0x5C
      {"plain", "plain", false},
  };
  for (const Case& c : cases) {
    std::string s = c.in;
    EXPECT_EQ(RemoveForbidden(&s), c.removed) << c.in;
    EXPECT_EQ(s, c.out) << c.in;
  }
}

TEST(RenameFields, NumberFieldsClamp) {
  struct Case {
    FieldValue (*clamp)(const std::string&);
    const char* typed;
    int value;
    bool rewrite;
  } cases[] = {
      {ClampStart, "12", 12, false}, {ClampStart, "0", 0, false},     {ClampStart, "1001", 1000, true},
      {ClampStart, "99999", 1000, true}, {ClampStart, "-5", 1000, true}, {ClampStart, "", 0, false},
      {ClampLength, "0", 1, true},   {ClampLength, "", 1, true},      {ClampLength, "9", 9, false},
      {ClampLength, "12", 9, true},  {ClampStep, "0", 1, true},       {ClampStep, "1000", 1000, false},
      {ClampStep, "99999", 1000, true}, {ClampStep, "abc", 1, true},
  };
  for (const Case& c : cases) {
    FieldValue v = c.clamp(c.typed);
    EXPECT_EQ(v.value, c.value) << c.typed;
    EXPECT_EQ(v.rewrite, c.rewrite) << c.typed;
  }
}

TEST(RenameFields, PreviewRows) {
  std::string same = "IMGA0001.JPG", other = "imga0001.jpg", shortName = "IMGA00~1.JPG";
  EXPECT_EQ(ClassifyPreview("IMGA0001.JPG", nullptr, false), PreviewRow::NewName);
  EXPECT_EQ(ClassifyPreview("IMGA0001.JPG", &same, true), PreviewRow::NewName);
  EXPECT_EQ(ClassifyPreview("IMGA0001.JPG", &same, false), PreviewRow::Foreign);
  EXPECT_EQ(ClassifyPreview("IMGA0001.JPG", &other, true), PreviewRow::Clash);
  EXPECT_EQ(ClassifyPreview("IMGA00~1.JPG", &shortName, false), PreviewRow::Foreign);
  std::string longName = "IMGA0001-long.JPG";
  EXPECT_EQ(ClassifyPreview("IMGA00~1.JPG", &longName, false), PreviewRow::Clash);
}

TEST(RenameEngineRules, RunNumberIsFreeInEveryFolder) {
  std::set<std::string> taken = {"C:\\a\\renameerror00001-*", "C:\\b\\renameerror00002-*"};
  auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
  EXPECT_EQ(ChooseRunNumber({"C:\\a\\"}, exists), 2);
  EXPECT_EQ(ChooseRunNumber({"C:\\a\\", "C:\\b\\"}, exists), 3);
  EXPECT_EQ(ChooseRunNumber({"C:\\c\\"}, exists), 1);
  EXPECT_EQ(ChooseRunNumber({"C:\\c\\"}, [](const std::string&) { return true; }), 100000);
  EXPECT_EQ(TemporaryPath("C:\\a\\x.jpg", 3, 12), "C:\\a\\renameerror00003-12.jpg");
}

TEST(RenameEngineRules, NewNamesOutsideTheFolderAreRefused) {
  const char* refused[] = {"..\\x", "a:b", ".", "..", "a/b", "CON", "", "x*"};
  for (const char* name : refused) EXPECT_FALSE(IsAcceptableNewName(name, ".jpg")) << name;
  EXPECT_FALSE(IsAcceptableNewName("x.", ""));
  EXPECT_TRUE(IsAcceptableNewName("IMGA0001", ".JPG"));
  EXPECT_TRUE(IsAcceptableNewName("\x83\x5C\x83\x5C", ".jpg"));
  EXPECT_TRUE(IsAcceptableNewName("0001", ""));
}

TEST(RenameEngineRules, ContNameSettingAndReadOnlyAnswers) {
  EXPECT_EQ(ContActionFor(0), ContAction::Rename);
  EXPECT_EQ(ContActionFor(1), ContAction::RenameAndTitle);
  EXPECT_EQ(ContActionFor(4096), ContAction::KeepNameSetTitle);
  EXPECT_EQ(ContActionFor(7), ContAction::Rename);  // unknown values act as 0
  EXPECT_TRUE(ReadOnlyNeedsQuestion(ReadOnlyAnswer::None));
  EXPECT_TRUE(ReadOnlyNeedsQuestion(ReadOnlyAnswer::Yes));
  EXPECT_FALSE(ReadOnlyNeedsQuestion(ReadOnlyAnswer::NoToAll));
  EXPECT_TRUE(ReadOnlyGoesOn(ReadOnlyAnswer::YesToAll));
  EXPECT_FALSE(ReadOnlyGoesOn(ReadOnlyAnswer::No));
}
