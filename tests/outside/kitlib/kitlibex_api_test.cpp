// KitlibEx's interface as the callers use it, on real files and real windows.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>

#include <shlobj.h>

#include <atomic>
#include <cstdlib>

#include <dialogwatch.h>
#include <files.h>
#include <tempfolder.h>

#include "test_folder.h"
#include "test_profile_root.h"

namespace {

std::string S(const CString& s) { return std::string(static_cast<LPCSTR>(s), s.GetLength()); }

std::vector<std::string> Multi(const char* p) {
  std::vector<std::string> v;
  for (; p && *p; p += strlen(p) + 1) v.push_back(p);
  return v;
}

TEST(Support, RealFilesWithTheirAttributes) {
  TestFolder dir("kx-support");
  dir.Write("a.JPG", "x");
  dir.Write("b.mts", "x");
  SetFileAttributesA((dir / "a.JPG").c_str(), FILE_ATTRIBUTE_READONLY);
  DWORD info = 0;
  EXPECT_TRUE(CMTLxIsSupport((dir / "a.JPG").c_str(), &info, 5));
  EXPECT_EQ(info, CMTLX_INFO_PICTURE | CMTLX_INFO_READONLY);
  EXPECT_FALSE(CMTLxIsSupport((dir / "missing.jpg").c_str(), &info, 5));
  EXPECT_TRUE(CMTLxIsSupport0((dir / "missing.jpg").c_str(), &info, 5));
  EXPECT_FALSE(CMTLxIsSupport((dir / "b.mts").c_str(), &info, 11));
  EXPECT_TRUE(info & CMTLX_INFO_MOVIE);
  EXPECT_TRUE(IsMoveSupport((dir / "b.mts").c_str(), &info));
  EXPECT_FALSE(CMTLxIsSupport(dir.path().c_str(), &info, 0));  // a folder is no file
  EXPECT_EQ(CMTLxGetFileKind("x.Png"), CMTLX_KIND_PNG);
  EXPECT_EQ(S(CMTLxGetSupportString(6)), "JPEG, DVF");
}

TEST(CardFolders, TheCallersQuestions) {
  EXPECT_EQ(CMTLxIsCardFolder("E:\\DCIM\\100ABCDE"), 0);
  EXPECT_EQ(CMTLxIsCardFolder("E:\\IM010001"), 0);
  EXPECT_NE(CMTLxIsCardFolder("E:\\DCIM\\MISC"), 0);
  EXPECT_NE(CMTLxIsCardFolder(nullptr), 0);
  EXPECT_EQ(CMTLxIsSDVideoFolder("E:\\SD_VIDEO\\PRG001"), 0);
  EXPECT_NE(CMTLxIsSDVideoFolder("E:\\SD_VIDEO\\PRG000"), 0);
}

const char kMrk[] =
    "[HDR]\r\nGEN REV = 01.10\r\n\r\n"
    "[JOB]\r\nPRT PID = 001\r\nPRT TYP = STD\r\n<IMG SRC = \"../DCIM/100ABCDE/ABCD0001.JPG\">\r\n\r\n"
    "[JOB]\r\nPRT PID = 002\r\nPRT TYP = STD\r\n<IMG SRC = \"../DCIM/100ABCDE/ABCD0002.JPG\">\r\n";

TEST(Dpof, ListAndDeleteOnAGeneratedCard) {
  TestFolder card("kx-card");
  card.Write("MISC\\AUTPLAY3.MRK", kMrk);
  card.Write("MISC\\AUTPRINT.MRK", kMrk);
  CStringList list;
  list.AddTail("kept");
  EXPECT_EQ(CMTLxGetDPOFFileList(card.path().c_str(), "AUTPLAY3", list), 2);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(S(list.GetAt(list.FindIndex(1))), card / "DCIM\\100ABCDE\\ABCD0001.JPG");
  EXPECT_EQ(CMTLxGetDPOFFileList(card.path().c_str(), "AUTPLAY9", list), 0);

  std::string victim = card / "DCIM\\100ABCDE\\ABCD0001.JPG";
  EXPECT_EQ(CMTLxDeleteDPOFFileJob(card.path().c_str(), "AUTPRINT", victim.c_str()), 1);
  EXPECT_EQ(CMTLxDeleteDPOFFileJob(card.path().c_str(), "AUTPRINT", victim.c_str()), 0);
  EXPECT_EQ(card.Read("MISC\\AUTPLAY3.MRK"), kMrk);  // the other job file is untouched
  std::string rewritten = card.Read("MISC\\AUTPRINT.MRK");
  EXPECT_EQ(rewritten.find("ABCD0001"), std::string::npos);
  EXPECT_NE(rewritten.find("ABCD0002"), std::string::npos);
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((card / "MISC\\*").c_str(), &fd);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  int files = 0;
  do {
    files += !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  EXPECT_EQ(files, 2);  // no temporary file is left beside the job files
  EXPECT_EQ(CMTLxDeleteDPOFFileJob(card.path().c_str(), "NOSUCH", victim.c_str()), 0);
}

// Runs the operation and returns the written paths; the mapping is freed as callers do.
int Operate(UINT func, const std::vector<std::string>& from, const std::string& to, FILEOP_FLAGS flags,
            std::vector<std::string>* written) {
  std::string f;
  for (const std::string& s : from) f += s + '\0';
  f += '\0';
  char target[522] = {};
  lstrcpynA(target, to.c_str(), sizeof(target) - 1);
  SHFILEOPSTRUCTA op = {};
  op.wFunc = func;
  op.pFrom = f.c_str();
  op.pTo = target;
  op.fFlags = flags;
  op.lpszProgressTitle = "copy";
  int r = CMTLxFileOperation(&op);
  written->clear();
  if (op.hNameMappings) {
    auto* map = static_cast<CMTLX_NAMEMAPPING*>(op.hNameMappings);
    *written = Multi(map->pszWritten);
    EXPECT_EQ(map->nCount, static_cast<INT_PTR>(written->size()));
    EXPECT_EQ(Multi(map->pszSources).size(), written->size());
    free(map->pszSources);  // the callers free the two lists and the record
    free(map->pszWritten);
    free(map);
  }
  return r;
}

TEST(FileOperation, CopyWithCollisionsReportsTheWrittenPaths) {
  TestFolder src("kx-src"), other("kx-other"), dst("kx-dst");
  src.Write("A.JPG", "a");
  src.Write("B.JPG", "b");
  other.Write("A.JPG", "other a");
  dst.Write("B.JPG", "old b");
  std::vector<std::string> written;
  ASSERT_EQ(Operate(FO_COPY, {src / "A.JPG", src / "B.JPG", other / "A.JPG"}, dst.path() + "\\", 0x61, &written), 0);
  EXPECT_EQ(written, (std::vector<std::string>{dst / "A.JPG", dst / "B (2).JPG", dst / "A (2).JPG"}));
  EXPECT_EQ(dst.Read("B.JPG"), "old b");  // nothing is overwritten
  EXPECT_EQ(dst.Read("B (2).JPG"), "b");
  EXPECT_EQ(dst.Read("A (2).JPG"), "other a");
  EXPECT_TRUE(src.Exists("A.JPG"));
}

TEST(FileOperation, PasteIntoTheSameFolderAndMoves) {
  TestFolder dir("kx-same"), dst("kx-moved");
  dir.Write("00001.cont", "c");
  dir.Write("00001.MTS", "m");
  std::vector<std::string> written;
  ASSERT_EQ(Operate(FO_COPY, {dir / "00001.cont"}, dir.path() + "\\", 0x60, &written), 0);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0], dir / "00001 - コピー.cont");
  EXPECT_EQ(dir.Read("00001 - コピー.cont"), "c");

  ASSERT_EQ(Operate(FO_MOVE, {dir / "00001.cont", dir / "00001.MTS"}, dst.path(), 0x61, &written), 0);
  EXPECT_EQ(written, (std::vector<std::string>{dst / "00001.cont", dst / "00001.MTS"}));
  EXPECT_FALSE(dir.Exists("00001.cont"));
  EXPECT_EQ(dst.Read("00001.MTS"), "m");

  // A move onto itself does nothing and reports the file where it is.
  ASSERT_EQ(Operate(FO_MOVE, {dst / "00001.MTS"}, dst.path(), 0x60, &written), 0);
  EXPECT_EQ(written, (std::vector<std::string>{dst / "00001.MTS"}));
  EXPECT_EQ(dst.Read("00001.MTS"), "m");
}

TEST(FileOperation, FoldersAndFailures) {
  TestFolder src("kx-fsrc"), dst("kx-fdst");
  src.Write("Album\\x.jpg", "x");
  dst.Write("Album\\y.jpg", "y");
  std::vector<std::string> written;
  ASSERT_EQ(Operate(FO_COPY, {src / "Album"}, dst.path(), 0x60, &written), 0);
  EXPECT_EQ(written, (std::vector<std::string>{dst / "Album (2)"}));
  EXPECT_EQ(dst.Read("Album (2)\\x.jpg"), "x");
  EXPECT_LT(Operate(FO_COPY, {src / "nothing.jpg"}, dst.path(), 0x60, &written), 0);
  EXPECT_TRUE(written.empty());
  EXPECT_LT(Operate(FO_MOVE, {src / "Album"}, src / "Album", 0x60, &written), 0);
  EXPECT_TRUE(src.Exists("Album\\x.jpg"));
  EXPECT_EQ(CMTLxFileOperation(nullptr), E_INVALIDARG);
  // Without FOF_WANTMAPPINGHANDLE there is no mapping to free.
  ASSERT_EQ(Operate(FO_COPY, {src / "Album\\x.jpg"}, dst.path(), 0, &written), 0);
  EXPECT_TRUE(written.empty());
  EXPECT_TRUE(dst.Exists("x.jpg"));
  // Deleting goes to the shell as asked; no mapping comes back.
  ASSERT_EQ(Operate(FO_DELETE, {dst / "x.jpg"}, "", FOF_NOCONFIRMATION | FOF_SILENT | FOF_WANTMAPPINGHANDLE, &written), 0);
  EXPECT_FALSE(dst.Exists("x.jpg"));
  EXPECT_TRUE(written.empty());
}

// What the shell reports as done is checked on disk: Wine's shell answers 0 for a move
// it could not make and for a target it could not write.
TEST(FileOperation, OnlyWhatHappenedIsReportedAndFollowed) {
  const FILEOP_FLAGS kQuiet = FOF_WANTMAPPINGHANDLE | FOF_SILENT | FOF_NOERRORUI;
  TestFolder src("kx-vsrc"), dst("kx-vdst");
  src.Write("held.jpg", "held");
  src.Write("free.jpg", "free");
  // Another program holds the first source without sharing delete: it cannot move.
  HANDLE held = CreateFileA((src / "held.jpg").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::vector<std::string> written;
  EXPECT_LT(Operate(FO_MOVE, {src / "held.jpg", src / "free.jpg"}, dst.path(), kQuiet, &written), 0);
  CloseHandle(held);
  EXPECT_EQ(written, (std::vector<std::string>{dst / "free.jpg"}));  // the mapping: what moved
  EXPECT_EQ(src.Read("held.jpg"), "held");                           // no duplicate either way
  EXPECT_FALSE(dst.Exists("held.jpg"));
  EXPECT_EQ(dst.Read("free.jpg"), "free");
  EXPECT_FALSE(src.Exists("free.jpg"));

  // A target name of MAX_PATH bytes or more is never written: failure, nothing left.
  std::string deep = dst.path();
  while (deep.size() < 200) deep += "\\folder-of-some-length";
  SHCreateDirectoryExA(nullptr, deep.c_str(), nullptr);
  ASSERT_NE(GetFileAttributesA(deep.c_str()), INVALID_FILE_ATTRIBUTES);
  std::string longName(MAX_PATH - deep.size() + 4, 'n');
  longName += ".jpg";
  src.Write(longName.substr(0, 40) + ".jpg", "long");
  EXPECT_LT(Operate(FO_COPY, {src / (longName.substr(0, 40) + ".jpg")}, deep + "\\" + longName,
                    FOF_MULTIDESTFILES | kQuiet, &written),
            0);
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(GetFileAttributesA((deep + "\\" + longName).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_LT(Operate(FO_MOVE, {src / (longName.substr(0, 40) + ".jpg")}, deep + "\\" + longName,
                    FOF_MULTIDESTFILES | kQuiet, &written),
            0);
  EXPECT_EQ(src.Read(longName.substr(0, 40) + ".jpg"), "long");

  // A source nobody may read: the copy fails and leaves no empty target under its name.
  src.Write("locked.jpg", std::string(100000, 'L'));
  HANDLE locked = CreateFileA((src / "locked.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_LT(Operate(FO_COPY, {src / "locked.jpg"}, dst.path(), kQuiet, &written), 0);
  CloseHandle(locked);
  EXPECT_TRUE(written.empty());
  EXPECT_FALSE(dst.Exists("locked.jpg"));

  // Deleting a file that is held: the shell's 0 is not taken for done.
  src.Write("keep.jpg", "k");
  held = CreateFileA((src / "keep.jpg").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_LT(Operate(FO_DELETE, {src / "keep.jpg"}, "", FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI, &written), 0);
  CloseHandle(held);
  EXPECT_TRUE(src.Exists("keep.jpg"));
}

// One target folder given with a single NUL, where readable memory ends right after it.
TEST(FileOperation, ASingleTargetIsReadUpToItsOwnNul) {
  TestFolder src("kx-nul"), dst("kx-nul-dst");
  src.Write("a.jpg", "a");
  const std::string from = src / "a.jpg" + std::string(2, '\0');
  SYSTEM_INFO si;
  GetSystemInfo(&si);
  char* block = static_cast<char*>(VirtualAlloc(nullptr, 2 * si.dwPageSize, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_TRUE(block);
  DWORD was = 0;
  ASSERT_TRUE(VirtualProtect(block + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &was));
  char* to = block + si.dwPageSize - (dst.path().size() + 1);
  memcpy(to, dst.path().c_str(), dst.path().size() + 1);
  SHFILEOPSTRUCTA op = {};
  op.wFunc = FO_COPY;
  op.pFrom = from.c_str();
  op.pTo = to;
  op.fFlags = FOF_SILENT;
  EXPECT_EQ(CMTLxFileOperation(&op), 0);
  EXPECT_EQ(dst.Read("a.jpg"), "a");
  VirtualFree(block, 0, MEM_RELEASE);
}

// Closes the next box of this process whose caption matches: ticks the check box when
// asked, then presses the button.
struct CloseBox : testsupport::DialogWatch {
  CloseBox(const char* caption, int button, bool tick, std::atomic<bool>* seen)
      : DialogWatch(
            caption, [](HWND box) { return GetDlgItem(box, 1001) != nullptr; },  // its text is there: the box is complete
            [=](HWND box) {
              if (tick) SendMessageA(GetDlgItem(box, 1000), BM_SETCHECK, BST_CHECKED, 0);
              *seen = true;
              PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            }) {}
};

TEST(InHouseBox, AnswerSetsAndTheDontShowAgainKey) {
  TestProfileRoot root;
  std::atomic<bool> seen(false);
  {
    CloseBox user("Yes to all", 10, false, &seen);
    EXPECT_EQ(CMTLxMessageBox(nullptr, "Rename the read-only file?", "Yes to all", 0x127), 10);
  }
  EXPECT_TRUE(seen);

  seen = false;
  {
    CloseBox user("No", IDNO, false, &seen);
    EXPECT_EQ(CMTLxMessageBox(nullptr, "\x95\x5C\x8E\xA6?", "No", MB_YESNO | MB_DEFBUTTON2), IDNO);
  }

  // Esc on a lone OK answers OK; the check box remembers it under the key.
  seen = false;
  {
    CloseBox user("Favourite", IDCANCEL, true, &seen);
    EXPECT_EQ(CMTLxMessageBox(nullptr, "Text", "Favourite", MB_ICONQUESTION | MB_CMTLX_DONTSHOWAGAIN, "FavoriteFolder"),
              IDOK);
  }
  EXPECT_TRUE(seen);
  EXPECT_EQ(CMGetProfileInt("MessageBox", "FavoriteFolder", 0), IDOK);
  // Now it answers at once, without a box.
  EXPECT_EQ(CMTLxMessageBox(nullptr, "Text", "Favourite", MB_ICONQUESTION | MB_CMTLX_DONTSHOWAGAIN, "FavoriteFolder"),
            IDOK);
  // Without the flag the key is not consulted.
  seen = false;
  {
    CloseBox user("Favourite", IDOK, false, &seen);
    EXPECT_EQ(CMTLxMessageBox(nullptr, "Text", "Favourite", MB_OK, "FavoriteFolder"), IDOK);
  }
  EXPECT_TRUE(seen);
}

TEST(Favorites, AddRefuseDuplicateAndFull) {
  TestProfileRoot root;
  TestFolder dir("kx-fav");
  dir.Write("one\\f", "");
  EXPECT_EQ(CMTLxAddFavorite((dir / "one").c_str()), S_OK);
  EXPECT_EQ(CMTLxAddFavorite((dir / "ONE\\").c_str()), CMTLX_E_FAVORITE_EXISTS);
  EXPECT_EQ(CMGetProfileInt("FavoPIN\\FolderName", "NumOfFolder", 0), 1);
  EXPECT_EQ(S(CMGetProfileString("FavoPIN\\FolderName", "0001")), dir / "one");
  EXPECT_EQ(CMTLxAddFavorite("C:\\"), E_INVALIDARG);
  EXPECT_EQ(CMTLxAddFavorite((dir / "one\\f").c_str()), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  CMWriteProfileInt("FavoPIN\\FolderName", "NumOfFolder", CMTLX_FAVORITE_MAX);
  EXPECT_EQ(CMTLxAddFavorite(dir.path().c_str()), CMTLX_E_FAVORITE_FULL);
}

// The text of the browser's selected tree item (empty until the tree has one).
std::string SelectedFolderName(HWND box) {
  HWND tree = FindWindowExA(box, nullptr, "SysTreeView32", nullptr);
  if (!tree) return "";
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return "";
  char text[MAX_PATH] = {};
  TVITEMA tvi = {};
  tvi.mask = TVIF_TEXT;
  tvi.hItem = item;
  tvi.pszText = text;
  tvi.cchTextMax = sizeof(text);
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
  return text;
}

// Wine's folder browser finds the start folder by comparing each level's items with the
// parsed path byte for byte, timestamps included: a write into a folder on the way (the
// shared temporary folder) while it searches stops it early. The start folder's parent is
// a folder of this test's own at the drive's root, which nothing else writes into.
TEST(BrowseForFolder, OpensOnTheStartFolderAndReturnsTheChoice) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string parent = std::string(temp, 3) + "kx-browse-" + std::to_string(GetCurrentProcessId());
  // "日" = 93 FA: its trail byte looks like a lead byte, and a backslash follows.
  const std::string leaf = "撮影日";
  const std::string folder = parent + "\\" + leaf, given = folder + "\\";
  ASSERT_TRUE(testsupport::WriteWholeFile(folder + "\\f", ""));
  char out[MAX_PATH] = {};
  CMTLXBROWSEINFO bi = {nullptr, given.c_str(), out, "Choose", CMTLX_BIF_NEWFOLDER};
  // OK once the browser has selected the start folder (it does so after it opens); when
  // it has not after 9 s, Cancel, and the test fails naming what it had selected.
  DWORD start = GetTickCount();
  std::atomic<bool> gaveUp(false);
  std::string shown;
  testsupport::DialogWatch user(
      nullptr,
      [&](HWND box) {
        if (!IsWindowVisible(box)) return false;
        std::string selected = SelectedFolderName(box);
        if (selected == leaf) return true;
        if (GetTickCount() - start < 9000) return false;
        shown = selected;
        gaveUp = true;
        return true;
      },
      [&](HWND box) { PostMessageA(box, WM_COMMAND, gaveUp ? IDCANCEL : IDOK, 0); }, 10000);
  int answer = CMTLxBrowseForFolder(&bi);
  user.Stop();
  testsupport::RemoveTree(parent);
  ASSERT_FALSE(gaveUp) << "the browser did not select the start folder; it showed \"" << shown << "\"";
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, out, -1, folder.c_str(), -1), CSTR_EQUAL)
      << out << " vs " << folder;
  EXPECT_EQ(CMTLxBrowseForFolder(nullptr), 0);
}

TEST(SearchProfile, RoundTripAndTheExitReset) {
  TestProfileRoot root;
  int type = -1, value = -1;
  CString name, query;
  EXPECT_EQ(CMTLxGetSearchProfile(&type, &name, &query, &value), 0);
  EXPECT_TRUE(CMTLxWriteSearchProfile(2, "Similar", "C:\\a.jpg", 5));
  EXPECT_EQ(CMTLxGetSearchProfile(&type, &name, &query, &value), 2);
  EXPECT_EQ(S(name), "Similar");
  EXPECT_EQ(S(query), "C:\\a.jpg");
  EXPECT_EQ(value, 5);
  EXPECT_TRUE(CMTLxWriteSearchProfile(0, "", "", 0));  // what the main program does at exit
  EXPECT_EQ(CMTLxGetSearchProfile(nullptr, nullptr, nullptr, nullptr), 0);
}

TEST(MapComponent, AbsentFromTheTestProgramFolder) { EXPECT_EQ(CMTLxIsUsedOrbisMap(), 0); }

}  // namespace
