// The clipboard and drag decisions of the controller: refused folders, where a paste goes,
// the free-space boundary, and the lists a drag offers.
#include <gtest/gtest.h>

#include <VxDocument/VxDocDefs.h>

#include "ClipboardRules.h"

TEST(ClipboardRules, RefusedFolders) {
  struct {
    UINT code;
    BOOL report;
    BOOL refused;
  } cases[] = {
      {FOLDER_TYPE_SDCARD_PRINTORDER, TRUE, TRUE}, {FOLDER_TYPE_SDCARD_DISC, TRUE, TRUE},
      {FOLDER_TYPE_SDCARD_AUDIO, FALSE, TRUE},     {FOLDER_TYPE_SDCARD_AUDIO, TRUE, FALSE},
      {FOLDER_TYPE_SDCARD_VOICE, FALSE, TRUE},     {FOLDER_TYPE_SDCARD, FALSE, FALSE},
      {FOLDER_TYPE_EXPLORER, FALSE, FALSE},        {FOLDER_TYPE_SDCARD_AVCHD, TRUE, TRUE},
  };
  for (const auto& c : cases) EXPECT_EQ(ClipIsRefusedFolder(c.code, c.report), c.refused) << c.code << " " << c.report;
}

TEST(ClipboardRules, WhereAPasteLooks) {
  struct {
    BOOL keyboard;
    POINT menu;
    int folders;
    VXPASTELOOK look;
  } cases[] = {
      {TRUE, {10, 10}, 1, VXPASTE_AT_ORIGIN},   // keyboard, one folder: the first group
      {TRUE, {10, 10}, 2, VXPASTE_NOWHERE},     // keyboard, two folders: no guess
      {FALSE, {-1, -1}, 1, VXPASTE_AT_ORIGIN},  // the menu point was emptied
      {FALSE, {-1, 40}, 2, VXPASTE_NOWHERE},
      {FALSE, {0, 0}, 2, VXPASTE_AT_MENU},      // the menu opened at the screen's corner
      {FALSE, {300, 200}, 2, VXPASTE_AT_MENU},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClipPasteLook(c.keyboard, c.menu, c.folders), c.look)
        << c.keyboard << " " << c.menu.x << "," << c.menu.y << " " << c.folders;
}

TEST(ClipboardRules, FreeSpaceOnlyOnFixedDrives) {
  const ULONGLONG mib100 = 100ull * 1024 * 1024;
  struct {
    UINT type;
    BOOL read;
    ULONGLONG free;
    VXPASTESPACE verdict;
  } cases[] = {
      {DRIVE_FIXED, TRUE, mib100, VXSPACE_OK},
      {DRIVE_FIXED, TRUE, mib100 - 1, VXSPACE_LOW},
      {DRIVE_FIXED, TRUE, 0, VXSPACE_LOW},
      {DRIVE_FIXED, FALSE, 0, VXSPACE_UNREADABLE},
      {DRIVE_REMOVABLE, TRUE, 0, VXSPACE_OK},
      {DRIVE_REMOTE, FALSE, 0, VXSPACE_OK},
  };
  for (const auto& c : cases) EXPECT_EQ(ClipPasteSpace(c.type, c.read, c.free), c.verdict) << c.type << " " << c.free;
}

TEST(ClipboardRules, DragListsFollowFoldersAndCompanions) {
  std::vector<VXDRAGENTRY> entries = {
      {"C:\\a\\1.jpg", false, ""},
      {"C:\\a\\clip.cont", false, "clip.mts|clip.thm||..\\x\\evil.jpg"},
      {"C:\\b\\2.jpg", false, ""},
      {"C:\\b\\sub", true, ""},
      {"C:\\a\\3.jpg", false, ""},
  };
  std::vector<std::string> files, folders;
  ClipDragLists(entries, &files, &folders);
  EXPECT_EQ(files, (std::vector<std::string>{"C:\\a\\1.jpg", "C:\\a\\clip.cont", "C:\\a\\clip.mts", "C:\\a\\clip.thm",
                                             "C:\\b\\2.jpg", "C:\\b\\sub", "C:\\a\\3.jpg"}));
  // A new folder each time the folder changes; a folder entry lies in its parent.
  EXPECT_EQ(folders, (std::vector<std::string>{"C:\\a\\", "C:\\b\\", "C:\\a\\"}));
  // A movie whose content file lists two files drags three paths.
  ClipDragLists({{"E:\\m\\00001.cont", false, "00001.mts|00001.thm"}}, &files, &folders);
  EXPECT_EQ(files.size(), 3u);
}
