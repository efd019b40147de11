// The folder menu and its commands on the folder pane's tree: the greying, cut, copy and
// paste through the real clipboard (read by another program once the plug-in is gone),
// deletion into Wine's trash with its confirmation, and the properties sheet's place.
#include <FolderTreePlugin.h>
#include <Kitlib2/Profile.h>
#include <MainWndMessages.h>
#include <VxContFile.h>
#include <VxResourceIds.h>
#include <dialogwatch.h>
#include <otherwindows.h>
#include <dropop/DropRules.h>
#include <files.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <program.h>
#include <prsht.h>
#include <tempfolder.h>
#include <testmain.h>

#include <cstdlib>
#include <functional>
#include <thread>

#include "host.h"

using disktreetest::Answering;
using disktreetest::EmptyTheClipboard;
using disktreetest::Host;

static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> ClipboardFiles() {
  std::vector<std::string> paths;
  if (!OpenClipboard(nullptr)) return paths;
  if (HANDLE h = GetClipboardData(CF_HDROP)) {
    dropop::ReadDropBlock(GlobalLock(h), GlobalSize(h), &paths);
    GlobalUnlock(h);
  }
  CloseClipboard();
  return paths;
}

// The folder menu's grey state by position, as the pane reads it.
std::string GreyPositions(Host& host) {
  CMenu menu;
  EXPECT_EQ(host.Get<PFN_PLUGIN_GetFolderMenu>("GetFolderMenu")(&host.tree, &menu), S_OK);
  CMenu* popup = menu.GetSubMenu(0);
  std::string grey;
  for (int pos = 0; popup && pos < static_cast<int>(popup->GetMenuItemCount()); ++pos) {
    const UINT state = popup->GetMenuState(pos, MF_BYPOSITION);
    grey += (state & MF_SEPARATOR) ? '-' : (state & MF_GRAYED) ? 'x' : '.';
  }
  return grey;
}

struct Fixture {
  testsupport::ScopedProfileRoot profile{"disktree-menu"};
  std::string root = testsupport::NewTempFolder("dtmenu");
  Host host;
  Fixture() {
    for (const char* f : {"\\a\\inner", "\\b", "\\target"}) testsupport::MakeFolders(root + f);
    testsupport::WriteWholeFile(root + "\\a\\inner\\p.jpg", "jpg");
    testsupport::WriteWholeFile(root + "\\b\\q.jpg", "jpg");
  }
  ~Fixture() { testsupport::RemoveTree(root); }
  bool Start() { return host.Open({root + "\\target", root + "\\b", root + "\\a"}); }
  bool Select(const std::string& path) { return host.SelectOnly(path); }
  HTREEITEM Item(const std::string& path) { return host.Item(path); }
  int Command(int index) { return host.Get<PFN_PLUGIN_FolderMenu>("FolderMenu")(&host.tree, index); }
};

}  // namespace

TEST(DiskTreeFolderMenu, GreyingFollowsTheSelectionAndTheClipboard) {
  Fixture f;
  ASSERT_TRUE(f.Start());
  EmptyTheClipboard();
  // Positions: new, rename, -, cut, copy, delete, paste, properties, favourites.
  struct Case {
    const char* what;
    std::vector<std::string> select;  // the first selected first, the others added
    const char* grey;
  } cases[] = {
      {"one plain folder, empty clipboard: no paste, no favourites key", {f.root + "\\a"}, "..-...x.x"},
      {"a drive root is neither cut, copied, deleted nor renamed", {"C:\\"}, ".x-xxxx.x"},
      {"two folders: no new folder, rename or paste", {f.root + "\\a", f.root + "\\b"}, "xx-...x.x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HTREEITEM first = f.Item(c.select[0]);
    ASSERT_TRUE(first);
    f.host.tree.SelectItem(first);
    f.host.tree.SelectAllExcept(FALSE, first);
    for (size_t i = 1; i < c.select.size(); ++i) f.host.tree.ClickItem(f.Item(c.select[i]), MK_CONTROL);
    ASSERT_EQ(f.host.tree.GetSelectedCount(), c.select.size());
    EXPECT_EQ(GreyPositions(f.host), c.grey);
  }
  // Folders on the clipboard make paste possible.
  f.host.tree.SelectItem(f.Item(f.root + "\\b"));
  f.host.tree.SelectAllExcept(FALSE, f.host.tree.GetSelectedItem());
  ASSERT_EQ(f.Command(4), 0);
  f.host.tree.SelectItem(f.Item(f.root + "\\a"));
  EXPECT_EQ(GreyPositions(f.host), "..-.....x");
  EmptyTheClipboard();
}

TEST(DiskTreeFolderMenu, CommandsAndTheirFollowUps) {
  Fixture f;
  ASSERT_TRUE(f.Start());
  auto menu = f.host.Get<PFN_PLUGIN_FolderMenu>("FolderMenu");
  // No command at 2 and past 8; rename only asks the host to edit the label.
  EXPECT_EQ(f.Command(2), 0);
  EXPECT_EQ(f.Command(9), 0);
  EXPECT_EQ(f.Command(1), 8);
  EXPECT_EQ(menu(nullptr, 1), 0);
  EXPECT_EQ(menu(nullptr, 6), 0);

  // Copy, then paste into the target: a copy, the source stays; paste asks for 1 + 2.
  HTREEITEM b = f.Item(f.root + "\\b");
  f.host.tree.SelectItem(b);
  ASSERT_EQ(f.Command(4), 0);
  EXPECT_EQ(ClipboardFiles(), std::vector<std::string>{f.root + "\\b"});
  EXPECT_EQ(f.host.tree.GetItemState(b, TVIS_CUT) & TVIS_CUT, 0u);
  f.host.tree.SelectItem(f.Item(f.root + "\\target"));
  EXPECT_EQ(f.Command(6), 3);
  EXPECT_TRUE(Exists(f.root + "\\target\\b\\q.jpg"));
  EXPECT_TRUE(Exists(f.root + "\\b\\q.jpg"));
  EXPECT_EQ(std::string(CMGetProfileString("VazODA\\FolderName", "0001")), f.root + "\\target");

  // Cut marks the item; the paste then moves.
  HTREEITEM a = f.Item(f.root + "\\a");
  f.host.tree.SelectItem(a);
  ASSERT_EQ(f.Command(3), 0);
  EXPECT_EQ(f.host.tree.GetItemState(a, TVIS_CUT) & TVIS_CUT, (UINT)TVIS_CUT);
  f.host.tree.SelectItem(f.Item(f.root + "\\target"));
  EXPECT_EQ(f.Command(6), 3);
  EXPECT_TRUE(Exists(f.root + "\\target\\a\\inner\\p.jpg"));
  EXPECT_FALSE(Exists(f.root + "\\a"));

  // A paste whose copy fails is no success: no follow-up.
  f.host.tree.SelectItem(f.Item(f.root + "\\b"));
  ASSERT_EQ(f.Command(4), 0);
  testsupport::RemoveTree(f.root + "\\b");
  f.host.tree.SelectItem(f.Item(f.root + "\\target"));
  EXPECT_EQ(f.Command(6), 0);
  EmptyTheClipboard();
}

TEST(DiskTreeFolderMenu, DeleteChecksEveryFolderThenGoesToTheTrash) {
  Fixture f;
  ASSERT_TRUE(f.Start());
  vxcont::ContentInfo info;
  info.members = {"00001.MTS"};
  info.maker = "Otherco";
  info.model = "X1";
  auto deleted = [&] {
    MSG msg;
    return PeekMessageA(&msg, f.host.frame.GetSafeHwnd(), WM_TREE_FOLDER_DELETED, WM_TREE_FOLDER_DELETED, PM_REMOVE) !=
               FALSE &&
           msg.wParam == 1;
  };
  // The second selected folder holds another maker's content: nothing goes, the message
  // says why, and the pane is still told to reopen.
  HTREEITEM a = f.Item(f.root + "\\a");
  f.host.tree.SelectItem(a);
  f.host.tree.SelectAllExcept(FALSE, a);
  f.host.tree.ClickItem(f.Item(f.root + "\\b"), MK_CONTROL);
  ASSERT_EQ(f.host.tree.GetSelectedCount(), 2u);
  const std::string second = f.host.PathOf(f.host.tree.GetNextSelectedItem(f.host.tree.GetFirstSelectedItem()));
  ASSERT_FALSE(second.empty());
  ASSERT_EQ(vxcont::WriteContentFile((second + "\\00001.cont").c_str(), info), S_OK);
  // Yes: a trash confirmation would let the delete go on.
  EXPECT_TRUE(Answering(IDYES, [&] { EXPECT_EQ(f.Command(5), 0); }));
  EXPECT_TRUE(Exists(f.root + "\\a") && Exists(f.root + "\\b"));
  EXPECT_TRUE(deleted());

  // One plain folder: the trash's confirmation is answered, the folder and its item go.
  f.host.tree.SelectItem(a);
  f.host.tree.SelectAllExcept(FALSE, a);
  Answering(IDYES, [&] { EXPECT_EQ(f.Command(5), 5); });
  EXPECT_FALSE(Exists(f.root + "\\a"));
  EXPECT_FALSE(f.Item(f.root + "\\a"));
  EXPECT_TRUE(deleted());

  // A folder selected with its own sub-folder: both go, each item removed once.
  testsupport::MakeFolders(f.root + "\\target\\sub");
  ASSERT_TRUE(f.Select(f.root + "\\target\\sub"));
  HTREEITEM target = f.Item(f.root + "\\target");
  f.host.tree.SelectItem(target);
  f.host.tree.SelectAllExcept(FALSE, target);
  f.host.tree.ClickItem(f.Item(f.root + "\\target\\sub"), MK_CONTROL);
  ASSERT_EQ(f.host.tree.GetSelectedCount(), 2u);
  Answering(IDYES, [&] { EXPECT_EQ(f.Command(5), 5); });
  EXPECT_FALSE(Exists(f.root + "\\target"));
  EXPECT_FALSE(f.Item(f.root + "\\target"));
  EXPECT_TRUE(deleted());
}

TEST(DiskTreeFolderMenu, FavouritesAndTheContextMenusItems) {
  Fixture f;
  ASSERT_TRUE(f.Start());
  EmptyTheClipboard();
  f.host.tree.SelectItem(f.Item(f.root + "\\b"));
  // What the context menu offers, read while it is up, then closed without a choice.
  // choice: the accelerator key to pick with, 0 to close the menu without a choice.
  auto offered = [&](char choice, int expectedFlags) {
    std::string items;
    std::thread reader([&] {
      HWND popup = nullptr;
      for (int i = 0; i < 500 && !popup; ++i, Sleep(10)) {
        popup = testsupport::VisibleWindowOf(GetCurrentProcessId(), "#32768");
      }
      if (!popup) return;
      HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
      for (int pos = 0; pos < GetMenuItemCount(menu); ++pos) {
        const UINT id = GetMenuItemID(menu, pos);
        items += id == 0 ? "-" : std::to_string(id) + ((GetMenuState(menu, pos, MF_BYPOSITION) & MF_GRAYED) ? "x" : "");
        items += ' ';
      }
      if (choice)
        PostMessageA(popup, WM_CHAR, choice, 0);
      else
        EndMenu();
    });
    int flags = -1;
    EXPECT_EQ(f.host.Get<PFN_PLUGIN_ContextMenu>("ContextMenu")(&f.host.tree, 10, 10, &flags), S_OK);
    EXPECT_EQ(flags, expectedFlags);
    reader.join();
    return items;
  };
  // Without the favourites key neither the item nor its separator; 2107 never.
  EXPECT_EQ(offered(0, 0), "2100 2101 - 2102 2103 2104 2105x - 2106 2109 ");
  // The folder colour, its dialog cancelled: no colour stored, the other trees refresh.
  EXPECT_TRUE(Answering(IDCANCEL, [&] { offered('L', 1); }));
  EXPECT_EQ(CMGetProfileInt("VazODA\\FolderIconColor", (f.root + "\\b").c_str(), -1), -1);
  // Taken with OK: the folder keeps the dialog's colour (black).
  EXPECT_TRUE(Answering(IDOK, [&] { offered('L', 1); }));
  EXPECT_EQ(CMGetProfileInt("VazODA\\FolderIconColor", (f.root + "\\b").c_str(), -1), 0);

  const std::string key = std::string(CMGetKeyPosition()) + "\\FavoPIN\\FolderName";
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), 0);
  RegCloseKey(k);
  EXPECT_EQ(offered(0, 0), "2100 2101 - 2102 2103 2104 2105x - 2106 2108 - 2109 ");
  EXPECT_EQ(f.Command(8), 1);
  EXPECT_EQ(std::string(CMGetProfileString("FavoPIN\\FolderName", "0001")), f.root + "\\b");
  // The same folder again is refused with its message and no follow-up.
  EXPECT_TRUE(Answering(IDOK, [&] { EXPECT_EQ(f.Command(8), 0); }));
}

namespace {
int g_ticks = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }
}  // namespace

TEST(DiskTreeFolderMenu, ABusyBrowserIsWaitedForBoundedWithTimersServed) {
  Fixture f;
  ASSERT_TRUE(f.Start());
  EmptyTheClipboard();
  CMWriteProfileInt("DepthViewer", "Busy", 1);  // a browser that never finishes
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, Tick);
  g_ticks = 0;
  const DWORD start = GetTickCount();
  EXPECT_EQ(f.Command(6), 3);  // then the paste goes on, with nothing to paste
  const DWORD waited = GetTickCount() - start;
  KillTimer(nullptr, timer);
  CMWriteProfileInt("DepthViewer", "Busy", 0);
  EXPECT_GE(waited, 9000u);
  EXPECT_LT(waited, 60000u);
  EXPECT_GT(g_ticks, 0);
}

// Folders copied from the tree stay on the clipboard for other programs after the plug-in
// is gone: another process pastes the file list.
TEST(DiskTreeFolderMenu, CopiedFoldersOutliveThePlugIn) {
  const std::string listed = testsupport::NewTempFolder("dtclip") + "\\listed.txt";
  std::string copied;
  {
    Fixture f;
    ASSERT_TRUE(f.Start());
    EmptyTheClipboard();
    f.host.tree.SelectItem(f.Item(f.root + "\\b"));
    f.host.tree.SelectAllExcept(FALSE, f.host.tree.GetSelectedItem());
    ASSERT_EQ(f.Command(4), 0);
    copied = f.root + "\\b";
  }  // the tree taken down and the library freed, as the pane does
  ASSERT_EQ(GetModuleHandleA("DiskTree.psp"), nullptr);
  HANDLE reader =
      testsupport::StartProgram("\"" + testsupport::ProgramFolder() + "\\clipreader.exe\" \"" + listed + "\"");
  ASSERT_TRUE(reader);
  EXPECT_EQ(testsupport::WaitForExit(reader, 20000), 0u) << "no file list on the clipboard";
  EXPECT_EQ(testsupport::ReadWholeFile(listed), copied + "\n");
  EmptyTheClipboard();
  testsupport::RemoveTree(listed.substr(0, listed.rfind('\\')));
}

// The properties command opens the sheet over the program's window, wherever that is.
TEST(DiskTreeFolderMenu, PropertiesOpenOverTheProgram) {
  Fixture f;
  ASSERT_TRUE(f.Start());
  const CRect work = [] {
    RECT rc;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return CRect(rc);
  }();
  // Away from every corner of the screen.
  const CRect frame(work.left + work.Width() / 2 - 150, work.top + work.Height() / 2 - 200,
                    work.left + work.Width() / 2 + 350, work.top + work.Height() / 2 + 250);
  f.host.frame.SetWindowPos(nullptr, frame.left, frame.top, frame.Width(), frame.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  f.host.tree.SelectItem(f.Item(f.root + "\\b"));
  f.host.tree.SelectAllExcept(FALSE, f.host.tree.GetSelectedItem());
  CRect sheet;
  testsupport::DialogWatch watch(
      nullptr, [](HWND w) { return IsWindowVisible(w) && PropSheet_GetCurrentPageHwnd(w) != nullptr; },
      [&](HWND w) {
        GetWindowRect(w, &sheet);
        PostMessageA(w, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      },
      15000);
  EXPECT_EQ(f.Command(7), 0);
  watch.Stop();
  ASSERT_TRUE(watch.Acted());
  EXPECT_LE(std::abs(sheet.CenterPoint().x - frame.CenterPoint().x), 1) << sheet.left << "," << sheet.top;
  EXPECT_LE(std::abs(sheet.CenterPoint().y - frame.CenterPoint().y), 1) << sheet.left << "," << sheet.top;
}
