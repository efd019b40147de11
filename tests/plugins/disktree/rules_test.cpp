#include <DiskTreeRules.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>
#include <shlobj.h>

using namespace disktree;

TEST(RenameName, RefusalsAndTheNameGiven) {
  const std::string parent = "C:\\" + std::string(16, 'p') + "\\";  // 20 characters
  struct Case {
    std::string name;
    NameRefusal refusal;
    std::string given;
  } cases[] = {
      {"", NameRefusal::Empty, ""},
      {"...", NameRefusal::NothingLeft, ""},
      {"  .. ", NameRefusal::NothingLeft, ""},
      {"new.", NameRefusal::None, "new"},
      {" blank ", NameRefusal::None, "blank"},
      {"a\\b", NameRefusal::BadCharacter, ""},
      {"a/b", NameRefusal::BadCharacter, ""},
      {"a:b", NameRefusal::BadCharacter, ""},
      {"a*b", NameRefusal::BadCharacter, ""},
      {"a?b", NameRefusal::BadCharacter, ""},
      {"a\"b", NameRefusal::BadCharacter, ""},
      {"a<b", NameRefusal::BadCharacter, ""},
      {"a>b", NameRefusal::BadCharacter, ""},
      {"a|b", NameRefusal::BadCharacter, ""},
      {"\x95\x5C", NameRefusal::None, "\x95\x5C"},  // a trail byte 0x5C is no separator
      {"\x83\x7C", NameRefusal::None, "\x83\x7C"},  // nor 0x7C a bar
      {"CON", NameRefusal::Reserved, ""},
      {"nul.txt", NameRefusal::Reserved, ""},
      {std::string(240, 'n'), NameRefusal::TooLong, ""},
      {std::string(235, 'n'), NameRefusal::None, std::string(235, 'n')},
      // Characters, not bytes: 235 double-byte characters fit.
      {[] {
         std::string s;
         for (int i = 0; i < 235; ++i) s += "\x95\x5C";
         return s;
       }(),
       NameRefusal::None, ""},
  };
  for (const Case& c : cases) {
    std::string name = c.name;
    EXPECT_EQ(CheckNewName(parent + "old", &name), c.refusal) << c.name;
    if (c.refusal == NameRefusal::None && !c.given.empty()) {
      EXPECT_EQ(name, c.given);
    }
  }
  EXPECT_EQ(RefusalString(NameRefusal::NothingLeft), (UINT)IDS_DISKTREE_NAME_EMPTY);
  EXPECT_EQ(RefusalString(NameRefusal::BadCharacter), (UINT)IDS_DISKTREE_NAME_BAD_CHARS);
  EXPECT_EQ(RefusalString(NameRefusal::TooLong), (UINT)IDS_DISKTREE_NAME_TOO_LONG);
}

TEST(FolderMenu, GreyingBySelectionAttributesAndClipboard) {
  const ULONG all = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANDELETE | SFGAO_FILESYSTEM | SFGAO_HASPROPSHEET;
  MenuItemFacts plain{all, false, false}, system{all, true, false}, root{all, false, true},
      noMove{all & ~SFGAO_CANMOVE, false, false};
  auto state = [&](std::vector<MenuItemFacts> items) {
    FolderMenuState s;
    s.selectedCount = items.size();
    s.caretAttributes = all;
    s.caretRenamable = true;
    s.selected = items;
    s.clipboardHasFiles = true;
    s.favouritesKey = true;
    return s;
  };
  struct Case {
    const char* what;
    FolderMenuState s;
    std::vector<int> grey;
  } cases[] = {
      {"one plain folder", state({plain}), {}},
      {"a system folder", state({system}), {3, 4, 5}},
      {"a drive root among the selection", state({plain, root}), {0, 1, 3, 4, 5, 6}},
      {"two folders, one not movable", state({plain, noMove}), {0, 1, 3, 6}},
      {"nothing to paste",
       [&] {
         auto s = state({plain});
         s.clipboardHasFiles = false;
         return s;
       }(),
       {6}},
      {"text to paste into an open label",
       [&] {
         auto s = state({plain});
         s.clipboardHasFiles = false;
         s.editOpen = s.clipboardHasText = true;
         return s;
       }(),
       {}},
      {"a virtual caret",
       [&] {
         auto s = state({plain});
         s.caretAttributes = SFGAO_HASPROPSHEET;
         return s;
       }(),
       {0, 6}},
      {"no favourites key",
       [&] {
         auto s = state({plain});
         s.favouritesKey = false;
         return s;
       }(),
       {8}},
      {"a drive root caret",
       [&] {
         auto s = state({plain});
         s.caretDriveRoot = true;
         return s;
       }(),
       {8}},
      {"a too long path",
       [&] {
         auto s = state({plain});
         s.caretVetoed = true;
         return s;
       }(),
       {0, 1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const Case& c : cases) {
    FolderMenuGrey g = GreyFolderMenu(c.s);
    std::vector<int> grey;
    for (int i = 0; i < 9; ++i)
      if (g.grey[i]) grey.push_back(i);
    EXPECT_EQ(grey, c.grey) << c.what;
  }
}

TEST(Selection, TextsAndWalkComponents) {
  EXPECT_EQ(SelectionText({{true, std::nullopt}, {false, "C:\\a"}, {false, std::nullopt}, {false, "D:\\b"}}),
            "**Desktop**|C:\\a|D:\\b");
  EXPECT_EQ(SelectionText({}), "");

  using V = std::vector<std::string>;
  EXPECT_EQ(DriveWalkComponents("c:\\Photos\\2024\\"), (V{" (C:)", "PHOTOS", "2024"}));
  EXPECT_EQ(DriveWalkComponents("C:"), (V{" (C:)"}));
  EXPECT_EQ(DriveWalkComponents("C:\\\\a\\\\"), (V{" (C:)", "A"}));
  EXPECT_EQ(DriveWalkComponents("C:\\\x95\x5C\\b"), (V{" (C:)", "\x95\x5C", "B"}));
  EXPECT_EQ(DriveWalkComponents("\\\\server\\share"), V{});
  EXPECT_EQ(ShellPathComponents("Network\\server\\share\\"), (V{"Network", "server", "share"}));
  EXPECT_EQ(ShellPathComponents("Network\\\x95\x5C\\tail"), (V{"Network", "\x95\x5C"}));

  EXPECT_TRUE(DriveItemMatches(" (c:)", " (C:)"));
  EXPECT_TRUE(DriveItemMatches("Card (E:)", " (E:)"));
  EXPECT_FALSE(DriveItemMatches("Card (F:)", " (E:)"));
}

TEST(NewFolder, NamesAndFailureTexts) {
  EXPECT_EQ(NewFolderName("New", 1), "New");
  EXPECT_EQ(NewFolderName("New", 2), "New (2)");
  EXPECT_EQ(NewFolderName("New", kMaxNewFolderNumber), "New (9999)");
  EXPECT_EQ(NewFolderErrorString(ERROR_ACCESS_DENIED), (UINT)IDS_DISKTREE_ACCESS_DENIED);
  EXPECT_EQ(NewFolderErrorString(ERROR_WRITE_PROTECT), (UINT)IDS_DISKTREE_WRITE_PROTECTED);
  EXPECT_EQ(NewFolderErrorString(ERROR_NOT_READY), (UINT)IDS_DISKTREE_NOT_READY);
  EXPECT_EQ(NewFolderErrorString(ERROR_DISK_FULL), (UINT)IDS_DISKTREE_DISK_FULL);
  EXPECT_EQ(NewFolderErrorString(ERROR_INVALID_NAME), 0u);
}

TEST(DragOver, EffectsBySourcesTargetAndKeys) {
  struct Case {
    const char* what;
    std::string target;
    std::vector<std::string> sources;
    DWORD keys, effect;
  } cases[] = {
      {"onto itself", "C:\\a\\", {"c:\\A"}, 0, DROPEFFECT_NONE},
      {"onto its own sub-folder", "C:\\a\\b", {"C:\\a"}, MK_CONTROL, DROPEFFECT_NONE},
      {"same drive", "C:\\b", {"C:\\a"}, 0, DROPEFFECT_MOVE},
      {"a prefix that is no parent", "C:\\ab", {"C:\\a"}, 0, DROPEFFECT_MOVE},
      {"other drive", "E:\\DCIM", {"C:\\a"}, 0, DROPEFFECT_COPY},
      {"one of several from another drive", "C:\\b", {"C:\\a", "E:\\x"}, 0, DROPEFFECT_COPY},
      {"Ctrl", "C:\\b", {"C:\\a"}, MK_CONTROL, DROPEFFECT_COPY},
      {"Shift", "E:\\b", {"C:\\a"}, MK_SHIFT, DROPEFFECT_MOVE},
      {"Ctrl and Shift", "C:\\b", {"C:\\a"}, MK_CONTROL | MK_SHIFT, DROPEFFECT_MOVE},
      {"nothing dragged", "C:\\b", {}, 0, DROPEFFECT_NONE},
  };
  for (const Case& c : cases) EXPECT_EQ(DragEffect(c.target, c.sources, c.keys), c.effect) << c.what;
}

TEST(Colours, TintSlotsAndMovedKeys) {
  uint8_t px[] = {0, 0, 0, 7, 255, 255, 255, 9, 10, 200, 30, 11};
  TintPixels(px, 3, RGB(200, 100, 50));
  // Black stays black; white takes the colour; the fourth byte never changes.
  EXPECT_EQ(std::vector<uint8_t>(px, px + 12), (std::vector<uint8_t>{0, 0, 0, 7, 50, 100, 200, 9, 25, 50, 100, 11}));
  uint8_t grey[] = {90, 90, 90, 1};
  TintPixels(grey, 1, RGB(0, 0, 0));
  EXPECT_EQ(std::vector<uint8_t>(grey, grey + 4), (std::vector<uint8_t>{0, 0, 0, 1}));

  EXPECT_EQ(TintSlot(3, 40), 1000);
  EXPECT_EQ(TintSlot(3, 1001), 1001);
  EXPECT_EQ(TintSlot(1004, 1010), 1004);

  EXPECT_EQ(MovedColourKey("C:\\old\\", "C:\\OLD", "C:\\new"), std::optional<std::string>("C:\\new"));
  EXPECT_EQ(MovedColourKey("C:\\old\\sub\\deep", "C:\\old", "C:\\\x95\x5C"),
            std::optional<std::string>("C:\\\x95\x5C\\sub\\deep"));
  EXPECT_EQ(MovedColourKey("C:\\older", "C:\\old", "C:\\new"), std::nullopt);
  EXPECT_EQ(MovedColourKey("C:\\other", "C:\\old", "C:\\new"), std::nullopt);
}

TEST(ItemBuilding, WhichChildFoldersShow) {
  const ULONG folder = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASPROPSHEET;
  const DWORD dir = FILE_ATTRIBUTE_DIRECTORY;
  struct Case {
    const char* what;
    ChildFacts c;
    bool excludeRemovable, skipped;
  } cases[] = {
      {"a plain folder", {folder, "C:\\a", false, dir, false}, false, false},
      {"a hidden folder", {folder, "C:\\a", false, dir | FILE_ATTRIBUTE_HIDDEN, false}, false, true},
      {"a system folder", {folder, "C:\\a", false, dir | FILE_ATTRIBUTE_SYSTEM, false}, false, true},
      {"the hidden desktop directory", {folder, "C:\\d", true, dir | FILE_ATTRIBUTE_HIDDEN, false}, false, false},
      {"a drive root with the system bit", {folder, "C:\\", false, dir | FILE_ATTRIBUTE_SYSTEM, false}, false, false},
      {"an unreadable path", {folder, "C:\\x", false, INVALID_FILE_ATTRIBUTES, false}, false, false},
      {"a shell-hidden item", {folder | SFGAO_HIDDEN, "C:\\a", false, dir, false}, false, true},
      {"a link", {folder | SFGAO_LINK, "C:\\a", false, dir, false}, false, true},
      {"a file", {SFGAO_FILESYSTEM, "C:\\a.txt", false, FILE_ATTRIBUTE_ARCHIVE, false}, false, true},
      {"a virtual folder above the file system",
       {SFGAO_FOLDER | SFGAO_FILESYSANCESTOR, "", false, INVALID_FILE_ATTRIBUTES, false},
       false,
       false},
      {"neither file system nor its ancestor", {SFGAO_FOLDER, "", false, INVALID_FILE_ATTRIBUTES, false}, false, true},
      {"the excluded attribute set", {0xB0000104, "", false, INVALID_FILE_ATTRIBUTES, false}, false, true},
      {"a card drive, kept", {folder, "E:\\", false, dir, true}, false, false},
      {"a card drive, excluded", {folder, "E:\\", false, dir, true}, true, true},
  };
  for (const Case& c : cases) EXPECT_EQ(SkipChild(c.c, c.excludeRemovable), c.skipped) << c.what;

  EXPECT_EQ(DriveRootOfLabel("Local Disk (C:)"), "C:\\");
  EXPECT_EQ(DriveRootOfLabel(" (E:)"), "E:\\");
  EXPECT_EQ(DriveRootOfLabel("Photos"), "");
  EXPECT_EQ(DriveRootOfLabel(":)"), "");
  EXPECT_EQ(ClassIdOfParsingPath("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), "{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
  EXPECT_EQ(ClassIdOfParsingPath("C:\\a"), "");
}

TEST(Commands, FollowUpsOnlyAfterSuccess) {
  struct Case {
    int index;
    UINT id;
    DWORD flags;
  } cases[] = {
      {0, ID_DISKTREE_CTX_NEW_FOLDER, 13}, {1, ID_DISKTREE_CTX_RENAME, 8},   {3, ID_DISKTREE_CTX_CUT, 0},
      {4, ID_DISKTREE_CTX_COPY, 0},        {5, ID_DISKTREE_CTX_DELETE, 5},   {6, ID_DISKTREE_CTX_PASTE, 3},
      {7, ID_DISKTREE_CTX_PROPERTIES, 0},  {8, ID_DISKTREE_CTX_FAVORITE, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderMenuFollowUp(c.index, S_OK), c.flags) << c.index;
    EXPECT_EQ(ContextMenuFollowUp(c.id, S_OK), c.flags) << c.id;
    EXPECT_EQ(FolderMenuFollowUp(c.index, E_FAIL), 0u) << c.index;
    EXPECT_EQ(ContextMenuFollowUp(c.id, E_INVALIDARG), 0u) << c.id;
    EXPECT_EQ(ContextCommandOfIndex(c.index), c.id);
  }
  EXPECT_EQ(ContextMenuFollowUp(ID_DISKTREE_CTX_COLOR, S_OK), 1u);
  for (int index : {2, 9, -1}) {
    EXPECT_EQ(FolderMenuFollowUp(index, S_OK), 0u);
    EXPECT_EQ(ContextCommandOfIndex(index), 0u);
  }
  EXPECT_EQ(ContextMenuFollowUp(ID_DISKTREE_CTX_UNUSED, S_OK), 0u);

  EXPECT_TRUE(SameFolder("C:\\windows\\", "C:\\WINDOWS"));
  EXPECT_FALSE(SameFolder("C:\\windows\\system32", "C:\\windows"));
  EXPECT_FALSE(SameFolder("", ""));
  EXPECT_FALSE(SameFolder("C:\\\x95\x5C", "C:\\\x95"));  // a trail byte 0x5C is not cut
}

TEST(Properties, ShortSizesAndLocaleNumbers) {
  struct Case {
    long long bytes;
    const char* text;
    int unit;
  } cases[] = {
      {0, "0", 0},
      {5, "5", 0},
      {100, "100", 0},
      {1023, "1023", 0},
      {1024, "1.00", 1},
      {1536, "1.50", 1},
      {102400, "100", 1},
      {1048575, "1023", 1},
      {1LL << 30, "1.00", 3},
      {5LL << 40, "5.00", 4},
      {2000LL << 40, "2000", 4},
  };
  for (const Case& c : cases) {
    int unit = -1;
    EXPECT_EQ(ShortSize(c.bytes, &unit), c.text) << c.bytes;
    EXPECT_EQ(unit, c.unit) << c.bytes;
  }
  EXPECT_EQ(CutLocaleFraction("1,536.00", 2, "."), "1,536");
  EXPECT_EQ(CutLocaleFraction("1536", 0, "."), "1536");
  EXPECT_EQ(CutLocaleFraction(".00", 2, "."), "0");
  EXPECT_EQ(CutLocaleFraction("", 0, "."), "0");
}

TEST(ColourDialog, StandardButtonPlaceAndFont) {
  RECT ok{10, 200, 80, 223}, cancel{90, 200, 160, 223}, custom{0, 170, 220, 193};
  RECT r = StandardColourButtonRect(ok, cancel, custom);
  EXPECT_EQ(r.left, 170);
  EXPECT_EQ(r.top, 200);
  EXPECT_EQ(r.right, 220);
  EXPECT_EQ(r.bottom, 223);
  EXPECT_EQ(StandardColourButtonFont("shiftjis_charset").charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(StandardColourButtonFont("SHIFTJIS_CHARSET").height, -12);
  EXPECT_EQ(StandardColourButtonFont("ANSI_CHARSET").charset, ANSI_CHARSET);
  EXPECT_EQ(StandardColourButtonFont("").height, -10);
}
