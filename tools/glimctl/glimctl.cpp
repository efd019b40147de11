// Small command-line helper for scripts and manual checks under Wine:
//   glimctl card insert <letter> <linux folder> [<label> <serial, hexadecimal>]
//                                                 put a card into the removable drive (a
//                                                 volume of its own with label and serial)
//   glimctl card remove <letter>                  take it out
//   glimctl disc insert <letter> [linux folder]   put a disc into a CD-ROM drive (the
//                                                 sample disc without a folder)
//   glimctl disc remove <letter>                  take it out
//   glimctl close-main [seconds]                  close the running main program
//   glimctl show-folder <folder>                  show a folder in the browser, as the
//                                                 folder pane does
//   glimctl open-window card                      open the card section's window (the
//                                                 import dialog), as its title's command
//                                                 does; answers at once
//   glimctl dismiss                               Cancel on the main program's dialogs
//   glimctl show-music [folder]                   show a folder's sound files (My Music
//                                                 without one) as the browser's music list
//   glimctl sample-profile [card|disk]            the browsing state the sample run starts
//                                                 from: the browser's view, sort and filter
//                                                 back to their defaults, no first-start
//                                                 classification question, the folder
//                                                 pane on the card's tree (or the disk
//                                                 tree, walked to the sample library's
//                                                 first folder, also its folder when it
//                                                 has none saved)
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>

#include "TransRules.h"
#include "card.h"

static HWND FindMainWindow() {
  HWND found = nullptr;
  EnumWindows([](HWND h, LPARAM lp) -> BOOL {
    if (GetPropA(h, MAINWND_PROPERTY)) { *reinterpret_cast<HWND*>(lp) = h; return FALSE; }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The first sub-folder by name of the sample library ("" when there is none).
static std::string FirstSampleFolder() {
  char pictures[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, 0, pictures))) return std::string();
  const std::string library = std::string(pictures) + "\\Glimora Samples";
  std::set<std::string> names;
  WIN32_FIND_DATAA found = {};
  HANDLE h = FindFirstFileA((library + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.') names.insert(found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return names.empty() ? std::string() : library + "\\" + *names.begin();
}

// The browser's settings that earlier runs leave behind (a filter showing only movies, ...).
static int SampleProfile(bool onDisk) {
  static const char* const kBrowsing[] = {"Mode", "BrowseMode", "ThumbSize", "SortType", "FilterType", "FolderVisible"};
  CString key = CMGetKeyPosition() + "\\DepthViewer";
  for (const char* name : kBrowsing) {
    LSTATUS e = RegDeleteKeyValueA(HKEY_CURRENT_USER, key, name);
    if (e != ERROR_SUCCESS && e != ERROR_FILE_NOT_FOUND && e != ERROR_PATH_NOT_FOUND) {
      fprintf(stderr, "sample-profile: %s: error %ld\n", name, (long)e);
      return 1;
    }
  }
  // The folder pane's disk tree walks to its saved folder at start; a profile without one
  // starts in the sample library.
  if (onDisk || CMGetProfileString("VazODA\\FolderInfo", "OpenFolder", "").IsEmpty()) {
    const std::string first = FirstSampleFolder();
    if (!first.empty() && !CMWriteProfileString("VazODA\\FolderInfo", "OpenFolder", first.c_str())) return 1;
  }
  // The folder pane opens on the memory card's tree, its picture folder chosen.
  if (HMODULE res = LoadLibraryA("VxResource.dll")) {
    char card[256] = {}, disk[256] = {};
    LoadStringA(res, IDS_CARDTREE_TITLE, card, sizeof card);
    LoadStringA(res, IDS_TREE_TITLE_DISK, disk, sizeof disk);
    FreeLibrary(res);
    if (card[0] && disk[0]) {
      CMWriteProfileString("VxFolder\\FolderInfo", "CurrentTree", onDisk ? disk : card);
      CMWriteProfileInt("VxFolder\\FolderInfo", card, onDisk ? 2 : 3);
      CMWriteProfileInt("VxFolder\\FolderInfo", disk, onDisk ? 3 : 2);
      CMWriteProfileString("CardTree\\FolderInfo", "OpenFolder", "E:\\DCIM\\100NORVA");
    }
  }
  // The first start asks where photos to classify are; the sample run has its library.
  return CMWriteProfileInt("VxClassify", "FirstClassify", 1) ? 0 : 1;
}

int main(int argc, char** argv) {
  if (argc >= 2 && !strcmp(argv[1], "sample-profile")) return SampleProfile(argc >= 3 && !strcmp(argv[2], "disk"));
  if (argc >= 5 && !strcmp(argv[1], "card") && !strcmp(argv[2], "insert")) {
    // A label and serial number of its own make another card of the same files.
    unsigned long e = testsupport::InsertCard(argv[3][0], argv[4], argc >= 7 ? argv[5] : "MEMCARD",
                                              argc >= 7 ? strtoul(argv[6], nullptr, 16) : 0);
    if (e) fprintf(stderr, "insert failed: %lu\n", e);
    return e ? 1 : 0;
  }
  if (argc >= 4 && !strcmp(argv[1], "card") && !strcmp(argv[2], "remove")) {
    unsigned long e = testsupport::RemoveCard(argv[3][0]);
    if (e) fprintf(stderr, "remove failed: %lu\n", e);
    return e ? 1 : 0;
  }
  if (argc >= 4 && !strcmp(argv[1], "disc") && !strcmp(argv[2], "insert")) {
    const char* folder = argc >= 5 ? argv[4] : getenv("GLIMORA_DISC_DIR");
    if (!folder || !*folder) {
      fprintf(stderr, "insert failed: no disc folder\n");
      return 1;
    }
    unsigned long e = testsupport::InsertDisc(argv[3][0], folder);
    if (e) fprintf(stderr, "insert failed: %lu\n", e);
    return e ? 1 : 0;
  }
  if (argc >= 4 && !strcmp(argv[1], "disc") && !strcmp(argv[2], "remove")) {
    unsigned long e = testsupport::RemoveDisc(argv[3][0]);
    if (e) fprintf(stderr, "remove failed: %lu\n", e);
    return e ? 1 : 0;
  }
  if (argc >= 3 && !strcmp(argv[1], "show-folder")) {
    HWND h = FindMainWindow();
    if (!h) {
      fprintf(stderr, "show-folder: the main program is not running\n");
      return 1;
    }
    CString text = TransChangeFolderText(0, "Explorer", 1, argv[2]);
    COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)text.GetLength() + 1, (void*)(LPCSTR)text};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(h, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_ABORTIFHUNG, 30000, &result)) {
      fprintf(stderr, "show-folder: no answer\n");
      return 1;
    }
    return 0;
  }
  if (argc >= 2 && !strcmp(argv[1], "show-music")) {
    HWND h = FindMainWindow();
    if (!h) {
      fprintf(stderr, "show-music: the main program is not running\n");
      return 1;
    }
    char music[MAX_PATH] = {};
    if (argc >= 3)
      lstrcpynA(music, argv[2], MAX_PATH);
    else if (FAILED(SHGetFolderPathA(nullptr, CSIDL_MYMUSIC, nullptr, 0, music)))
      return 1;
    // The music tree's change: source 4, one group, a virtual folder of the files.
    std::set<std::string> files;
    WIN32_FIND_DATAA found = {};
    HANDLE hFind = FindFirstFileA((std::string(music) + "\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
      do {
        const char* ext = strrchr(found.cFileName, '.');
        if (ext && (!_stricmp(ext, ".mp3") || !_stricmp(ext, ".wav") || !_stricmp(ext, ".m4a") ||
                    !_stricmp(ext, ".wma")))
          files.insert(std::string(music) + "\\" + found.cFileName);
      } while (FindNextFileA(hFind, &found));
      FindClose(hFind);
    }
    std::string text = "4|Music,\"1\",1|2|";
    for (const std::string& f : files) text += f + "|1||";
    COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)text.size() + 1, (void*)text.c_str()};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(h, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_ABORTIFHUNG, 30000, &result)) {
      fprintf(stderr, "show-music: no answer\n");
      return 1;
    }
    return 0;
  }
  // A menu command of the main window by its id, as the menu sends it.
  if (argc >= 3 && !strcmp(argv[1], "command")) {
    HWND h = FindMainWindow();
    if (!h) {
      fprintf(stderr, "command: the main program is not running\n");
      return 1;
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(h, WM_COMMAND, (WPARAM)atoi(argv[2]), 0, SMTO_ABORTIFHUNG, 30000, &result) ? 0 : 1;
  }
  // A folder-pane section's window: the pane's open-window command for the section whose
  // title button reads the tree's title (the buttons' ids count the sections from 3000).
  if (argc >= 3 && !strcmp(argv[1], "open-window") && !strcmp(argv[2], "card")) {
    HWND h = FindMainWindow();
    char title[256] = {};
    if (HMODULE res = LoadLibraryA("VxResource.dll")) {
      LoadStringA(res, IDS_CARDTREE_TITLE, title, sizeof title);
      FreeLibrary(res);
    }
    struct Find {
      const char* title;
      HWND button;
    } find = {title, nullptr};
    if (h && title[0])
      EnumChildWindows(h, [](HWND child, LPARAM lp) -> BOOL {
        Find* f = reinterpret_cast<Find*>(lp);
        char cls[32] = {}, text[256] = {};
        GetClassNameA(child, cls, sizeof cls);
        GetWindowTextA(child, text, sizeof text);
        if (lstrcmpiA(cls, "Button") || strcmp(text, f->title)) return TRUE;
        f->button = child;
        return FALSE;
      }, reinterpret_cast<LPARAM>(&find));
    if (!find.button) {
      fprintf(stderr, "open-window: no card section\n");
      return 1;
    }
    const int section = GetDlgCtrlID(find.button) - 3000;
    return PostMessageA(GetParent(find.button), WM_COMMAND, ID_FOLDER_COMMAND_FIRST + 20 + section, 0) ? 0 : 1;
  }
  if (argc >= 2 && !strcmp(argv[1], "dismiss")) {
    HWND h = FindMainWindow();
    DWORD pid = 0;
    if (!h || !GetWindowThreadProcessId(h, &pid)) return 1;
    EnumWindows([](HWND w, LPARAM lp) -> BOOL {
      DWORD owner = 0;
      char cls[32] = {};
      GetWindowThreadProcessId(w, &owner);
      GetClassNameA(w, cls, sizeof cls);
      if (owner == static_cast<DWORD>(lp) && IsWindowVisible(w) && !strcmp(cls, "#32770"))
        PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    }, static_cast<LPARAM>(pid));
    return 0;
  }
  // Puts the mouse pointer at a screen point (tooltips, hover states in screenshots).
  if (argc >= 4 && !strcmp(argv[1], "cursor")) return SetCursorPos(atoi(argv[2]), atoi(argv[3])) ? 0 : 1;
  if (argc >= 2 && !strcmp(argv[1], "close-main")) {
    int secs = argc >= 3 ? atoi(argv[2]) : 10;
    HWND h = FindMainWindow();
    if (!h) return 0;
    PostMessageA(h, WM_CLOSE, 0, 0);
    for (int i = 0; i < secs * 10 && IsWindow(h); ++i) Sleep(100);
    return IsWindow(h) ? 1 : 0;
  }
  fprintf(stderr,
          "usage: glimctl card insert <letter> <folder> [label serial] | card remove <letter> | disc insert <letter> "
          "[folder] | disc "
          "remove <letter> | close-main [seconds] | show-folder <folder> | command <id> | cursor <x> <y> | "
          "open-window card | dismiss | sample-profile\n");
  return 2;
}
