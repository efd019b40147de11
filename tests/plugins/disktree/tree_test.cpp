// DiskTree.psp on a live tree: the desktop's folders, the synchronous and threaded walks
// to a temporary folder of C:, drops that work and drops that fail, the folders that keep
// their names, new folders and the shared-folder mark.
#include "host.h"

#include <FolderTreePlugin.h>
#include <Kitlib2/Profile.h>
#include <dropop/DropRules.h>
#include <files.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <pump.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tempfolder.h>
#include <testmain.h>
#include <textkit/text.h>

#include <functional>
#include <vector>

using disktreetest::DropBlock;
using disktreetest::Host;

static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

TEST(DiskTreeOnATree, FillsWalksAndDrops) {
  testsupport::ScopedProfileRoot profile("disktree-tree");
  std::string root = testsupport::NewTempFolder("dtree");
  testsupport::MakeFolders(root + "\\photos\\2024");
  testsupport::MakeFolders(root + "\\target");
  testsupport::WriteWholeFile(root + "\\photos\\2024\\a.jpg", "jpg");

  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  HTREEITEM desktop = host.tree.GetRootItem();
  ASSERT_TRUE(desktop);
  auto* rootRecord = reinterpret_cast<PluginItemRecord*>(host.tree.GetItemData(desktop));
  ASSERT_TRUE(rootRecord);
  EXPECT_EQ(rootRecord->kind, -1);
  EXPECT_TRUE(host.tree.GetChildItem(desktop));

  // The walk in the calling thread finds the folder and makes it the caret.
  auto selectNow = host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect");
  ASSERT_EQ(selectNow(&host.tree, CString((root + "\\photos\\2024").c_str())), S_OK);
  EXPECT_TRUE(textkit::EqualNoCase(host.CaretPath(), root + "\\photos\\2024")) << host.CaretPath();
  EXPECT_EQ(selectNow(&host.tree, CString((root + "\\nothing").c_str())), E_INVALIDARG);

  // The folder thread walks to the target while this thread serves the tree.
  auto select = host.Get<PFN_PLUGIN_SelectText>("SelectFolder");
  auto running = host.Get<PFN_PLUGIN_Predicate>("IsDoThread");
  ASSERT_EQ(select(&host.tree, CString((root + "\\target").c_str())), S_OK);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return running() != S_OK; }, 20000));
  EXPECT_TRUE(textkit::EqualNoCase(host.CaretPath(), root + "\\target")) << host.CaretPath();
  EXPECT_EQ(std::string(CMGetProfileString("VazODA\\FolderInfo", "OpenFolder")), root + "\\target");

  // A drop onto the target copies; a drop of a missing file fails and says so.
  HTREEITEM target = host.Find(desktop, root + "\\target");
  ASSERT_TRUE(target);
  host.tree.EnsureVisible(target);
  CRect rc;
  host.tree.GetItemRect(target, &rc, TRUE);
  auto drop = host.Get<PFN_PLUGIN_Drop>("Drop");
  HGLOBAL good = DropBlock({root + "\\photos"});
  EXPECT_EQ(drop(&host.tree, good, DROPEFFECT_COPY, rc.CenterPoint().x, rc.CenterPoint().y), S_OK);
  GlobalFree(good);
  EXPECT_NE(GetFileAttributesA((root + "\\target\\photos\\2024\\a.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  HGLOBAL bad = DropBlock({root + "\\missing"});
  EXPECT_EQ(drop(&host.tree, bad, DROPEFFECT_COPY, rc.CenterPoint().x, rc.CenterPoint().y), E_FAIL);
  GlobalFree(bad);
  // Onto its own sub-folder: refused, nothing touched.
  HGLOBAL self = DropBlock({root + "\\target"});
  EXPECT_EQ(drop(&host.tree, self, DROPEFFECT_MOVE, rc.CenterPoint().x, rc.CenterPoint().y), E_FAIL);
  GlobalFree(self);
  EXPECT_NE(GetFileAttributesA((root + "\\target").c_str()), INVALID_FILE_ATTRIBUTES);

  // Two new folders under the caret: the name, then its " (2)" form, each made the caret.
  host.tree.SelectItem(target);
  auto newFolder = host.Get<PFN_PLUGIN_TreeOnly>("NewTreeNotMulitiSelect");
  ASSERT_EQ(newFolder(&host.tree), S_OK);
  const std::string first = host.CaretPath();
  host.tree.SelectItem(target);
  ASSERT_EQ(newFolder(&host.tree), S_OK);
  EXPECT_EQ(host.CaretPath(), first + " (2)");
  EXPECT_NE(GetFileAttributesA((first + " (2)").c_str()), INVALID_FILE_ATTRIBUTES);

  // A rename takes the colours of the folder and its sub-folders along; the root never
  // gets a new name.
  auto canRename = host.Get<PFN_PLUGIN_TreeItem>("IsRenameTreeItem");
  EXPECT_EQ(canRename(&host.tree, desktop), E_ACCESSDENIED);
  HTREEITEM photos = host.Find(desktop, root + "\\target\\photos");
  ASSERT_TRUE(photos);
  EXPECT_EQ(canRename(&host.tree, photos), S_OK);
  CMWriteProfileInt("VazODA\\FolderIconColor", (root + "\\target\\photos").c_str(), RGB(1, 2, 3));
  CMWriteProfileInt("VazODA\\FolderIconColor", (root + "\\target\\photos\\2024").c_str(), RGB(4, 5, 6));
  auto rename = host.Get<PFN_PLUGIN_RenameTreeItem>("RenameTreeItem");
  char name[] = "\x95\x5C\x83\x7C.";  // a trail byte 0x5C and 0x7C; the dot is cut
  ASSERT_EQ(rename(&host.tree, photos, name), S_OK);
  const std::string renamed = root + "\\target\\\x95\x5C\x83\x7C";
  EXPECT_NE(GetFileAttributesA((renamed + "\\2024\\a.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(CMGetProfileInt("VazODA\\FolderIconColor", renamed.c_str(), -1), (int)RGB(1, 2, 3));
  EXPECT_EQ(CMGetProfileInt("VazODA\\FolderIconColor", (renamed + "\\2024").c_str(), -1), (int)RGB(4, 5, 6));
  EXPECT_TRUE(host.Find(desktop, renamed));
  testsupport::RemoveTree(root);
}

namespace {

// A folder with n sub-folders, every tenth with a sub-folder of its own; the shown names in
// the tree's order.
std::string ManyFolders(const std::string& root, int n) {
  const std::string folder = root + "\\many";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (int i = 0; i < n; ++i) {
    char name[32];
    snprintf(name, sizeof name, "\\f%04d", i);
    CreateDirectoryA((folder + name).c_str(), nullptr);
    if (i % 10 == 0) CreateDirectoryA((folder + name + "\\sub").c_str(), nullptr);
  }
  return folder;
}

struct LevelFacts {
  int children = 0, buttons = 0;
  bool sorted = true;
};

LevelFacts Level(CTreeCtrl& tree, HTREEITEM item) {
  LevelFacts f;
  std::string previous;
  for (HTREEITEM c = tree.GetChildItem(item); c; c = tree.GetNextSiblingItem(c)) {
    ++f.children;
    TVITEMA tv = {};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = c;
    tree.GetItem(&tv);
    if (tv.cChildren) ++f.buttons;
    const std::string text(tree.GetItemText(c));
    if (!previous.empty() && previous > text) f.sorted = false;
    previous = text;
  }
  return f;
}

// Makes the tree, walks to root and opens its item until the folder's item shows (the
// level comes from the fill's worker: on a loaded machine after the first batch). The
// root's item, or null.
HTREEITEM ShowFolderItem(Host& host, const std::string& root, const std::string& folder, HTREEITEM* item) {
  if (host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT) != S_OK) return nullptr;
  auto selectNow = host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect");
  if (selectNow(&host.tree, CString(root.c_str())) != S_OK) return nullptr;
  HTREEITEM parent = host.tree.GetSelectedItem();
  if (host.Get<PFN_PLUGIN_TreeItem>("ExpandTree")(&host.tree, parent) != S_OK) return nullptr;
  host.tree.Expand(parent, TVE_EXPAND);
  if (!testsupport::WaitUntil([&] { return (*item = host.Find(parent, folder)) != nullptr; }, 10000)) return nullptr;
  return parent;
}

// A folder of n sub-folders in a temporary folder, its item shown in a tree opened down to
// it, under a profile of its own.
struct ManyLevel {
  ManyLevel(const char* profileName, const char* tag, int n)
      : profile(profileName), root(testsupport::NewTempFolder(tag)), folder(ManyFolders(root, n)) {
    if (host.plugin) parent = ShowFolderItem(host, root, folder, &many);
  }
  testsupport::ScopedProfileRoot profile;
  const std::string root, folder;
  Host host;
  HTREEITEM parent = nullptr, many = nullptr;
};

}  // namespace

// A long level fills from a timer while the window is served; the walks, a refresh and the
// level's removal finish or drop what is pending.
TEST(DiskTreeOnATree, LongLevelsFillInBatches) {
  const int kFolders = 1500;
  ManyLevel level("disktree-batches", "dbatch", kFolders);
  Host& host = level.host;
  const std::string &root = level.root, &folder = level.folder;
  HTREEITEM parent = level.parent;
  ASSERT_TRUE(host.plugin);
  ASSERT_TRUE(parent);
  auto selectNow = host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect");
  auto expand = host.Get<PFN_PLUGIN_TreeItem>("ExpandTree");
  auto renew = host.Get<PFN_PLUGIN_TreeItem>("RenewalTree");
  auto remove = host.Get<PFN_PLUGIN_TreeItem>("DeleteTree");

  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    // The parent's level comes from the fill's worker: on a loaded machine after the first
    // batch's 10 ms.
    HTREEITEM many = nullptr;
    ASSERT_TRUE(testsupport::WaitUntil([&] { return (many = host.Find(parent, folder)) != nullptr; }, 10000));
    ASSERT_EQ(expand(&host.tree, many), S_OK);
    host.tree.Expand(many, TVE_EXPAND);
    if (round == 0) {
      // The first time, listing the level takes longer than the first batch's 10 ms (later
      // rounds may find it ready at once).
      EXPECT_LT(Level(host.tree, many).children, kFolders) << "the host's expansion returns before the whole level";
      // Served meanwhile: the level grows from the timer, in order, each child with its
      // final button.
      ASSERT_TRUE(testsupport::WaitUntil([&] { return Level(host.tree, many).children == kFolders; }, 60000));
      LevelFacts f = Level(host.tree, many);
      EXPECT_TRUE(f.sorted);
      EXPECT_EQ(f.buttons, kFolders / 10);
    } else if (round == 1) {
      // A walk into the level finishes it first.
      ASSERT_EQ(selectNow(&host.tree, CString((folder + "\\f1499").c_str())), S_OK);
      EXPECT_EQ(host.CaretPath(), folder + "\\f1499");
      EXPECT_EQ(Level(host.tree, many).children, kFolders);
      // A refresh too.
      renew(&host.tree, parent);
      EXPECT_EQ(Level(host.tree, many).children, kFolders);
    } else {
      // The level's item goes while it is being filled: nothing is left to run.
      host.tree.SelectItem(parent);
      ASSERT_EQ(remove(&host.tree, many), S_OK);
      testsupport::PumpPending();
      Sleep(100);
      testsupport::PumpPending();
      EXPECT_FALSE(host.Find(parent, folder));
      break;
    }
    // The next round starts from a level never opened: its item is made again.
    host.tree.SelectItem(parent);
    ASSERT_EQ(remove(&host.tree, many), S_OK);
    ASSERT_EQ(expand(&host.tree, parent), S_OK);
    host.tree.Expand(parent, TVE_EXPAND);
  }
  testsupport::RemoveTree(root);
}

// A level listed on the worker goes in in its final order: whatever part of it is shown at
// any moment is the start of the sorted level, each child with its final button. Its
// item's removal while it is filled drops the fill: nothing more arrives, anywhere, and the
// level made again fills whole.
TEST(DiskTreeOnATree, WorkerFillKeepsOrderAndIsDroppedWithItsItem) {
  testsupport::ScopedProfileRoot profile("disktree-fillorder");
  const std::string root = testsupport::NewTempFolder("dorder");
  const int kFolders = 1200;
  const std::string folder = root + "\\many";
  CreateDirectoryA(folder.c_str(), nullptr);
  // Made backwards, so that the disk's order is not the tree's.
  for (int i = kFolders - 1; i >= 0; --i) {
    char name[32];
    snprintf(name, sizeof name, "\\f%04d", i);
    CreateDirectoryA((folder + name).c_str(), nullptr);
    if (i % 10 == 0) CreateDirectoryA((folder + name + "\\sub").c_str(), nullptr);
  }
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  auto expand = host.Get<PFN_PLUGIN_TreeItem>("ExpandTree");
  auto remove = host.Get<PFN_PLUGIN_TreeItem>("DeleteTree");
  ASSERT_EQ(host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect")(&host.tree, CString(root.c_str())), S_OK);
  HTREEITEM parent = host.tree.GetSelectedItem();
  ASSERT_EQ(expand(&host.tree, parent), S_OK);
  host.tree.Expand(parent, TVE_EXPAND);

  // A coloured child, its key stored in other letter cases: the level's one read of the
  // colours still finds it.
  CMWriteProfileInt("VazODA\\FolderIconColor", textkit::UpperAscii(folder + "\\f0005").c_str(), RGB(200, 0, 0));
  HTREEITEM many = nullptr;  // the parent's level comes from the fill's worker
  ASSERT_TRUE(testsupport::WaitUntil([&] { return (many = host.Find(parent, folder)) != nullptr; }, 10000));
  ASSERT_EQ(expand(&host.tree, many), S_OK);
  host.tree.Expand(many, TVE_EXPAND);
  int looks = 0;
  bool inOrder = true, buttonsRight = true;
  ASSERT_TRUE(testsupport::WaitUntil(
      [&] {
        ++looks;
        int index = 0;
        for (HTREEITEM c = host.tree.GetChildItem(many); c; c = host.tree.GetNextSiblingItem(c), ++index) {
          char expected[32];
          snprintf(expected, sizeof expected, "f%04d", index);
          if (std::string(host.tree.GetItemText(c)) != expected) inOrder = false;
          TVITEMA tv = {};
          tv.mask = TVIF_CHILDREN;
          tv.hItem = c;
          host.tree.GetItem(&tv);
          if ((tv.cChildren != 0) != (index % 10 == 0)) buttonsRight = false;
        }
        return index == kFolders;
      },
      60000));
  EXPECT_TRUE(inOrder) << "after " << looks << " looks";
  EXPECT_TRUE(buttonsRight);
  // Opened by the host before its first children came: open once they are in.
  EXPECT_TRUE(host.tree.GetItemState(many, TVIS_EXPANDED) & TVIS_EXPANDED);
  std::vector<int> images;
  for (HTREEITEM c = host.tree.GetChildItem(many); c && images.size() < 7; c = host.tree.GetNextSiblingItem(c)) {
    int image = -1, open = -1;
    host.tree.GetItemImage(c, image, open);
    images.push_back(image);
  }
  ASSERT_EQ(images.size(), 7u);
  EXPECT_EQ(images[4], images[6]);
  EXPECT_NE(images[5], images[4]) << "the coloured folder has its tinted icon";

  // Removed while its fill is pending: nothing more comes, the tree stays as it is.
  host.tree.SelectItem(parent);
  ASSERT_EQ(remove(&host.tree, many), S_OK);
  ASSERT_EQ(expand(&host.tree, parent), S_OK);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return (many = host.Find(parent, folder)) != nullptr; }, 10000));
  const UINT before = host.tree.GetCount();
  ASSERT_EQ(expand(&host.tree, many), S_OK);
  host.tree.Expand(many, TVE_EXPAND);
  const int firstBatch = Level(host.tree, many).children;
  EXPECT_LT(firstBatch, kFolders) << "the host's expansion returns before the whole level";
  host.tree.SelectItem(parent);
  ASSERT_EQ(remove(&host.tree, many), S_OK);
  const UINT afterRemoval = host.tree.GetCount();
  EXPECT_EQ(afterRemoval, before - 1);
  for (int k = 0; k < 30; ++k) {
    testsupport::PumpPending();
    Sleep(10);
  }
  EXPECT_EQ(host.tree.GetCount(), afterRemoval) << "a dropped fill inserted items";

  // Made again, the level fills whole and once.
  ASSERT_EQ(expand(&host.tree, parent), S_OK);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return (many = host.Find(parent, folder)) != nullptr; }, 10000));
  ASSERT_EQ(expand(&host.tree, many), S_OK);
  host.tree.Expand(many, TVE_EXPAND);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Level(host.tree, many).children >= kFolders; }, 60000));
  testsupport::PumpPending();
  EXPECT_EQ(Level(host.tree, many).children, kFolders);
  EXPECT_TRUE(Level(host.tree, many).sorted);
  EXPECT_TRUE(host.tree.GetItemState(many, TVIS_EXPANDED) & TVIS_EXPANDED);
  testsupport::RemoveTree(root);
}

namespace {

// Ends this program when a call has not come back in time: a deadlock would otherwise hang
// the test until the runner's limit.
class DeadlockWatch {
 public:
  DeadlockWatch(const char* what, DWORD ms) : m_what(what), m_ms(ms) {
    m_done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, &DeadlockWatch::Proc, this, 0, nullptr);
  }
  ~DeadlockWatch() {
    SetEvent(m_done);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_done);
  }

 private:
  static DWORD WINAPI Proc(LPVOID p) {
    auto* w = static_cast<DeadlockWatch*>(p);
    if (WaitForSingleObject(w->m_done, w->m_ms) == WAIT_TIMEOUT) {
      fprintf(stderr, "deadlock: %s did not come back in %lu ms\n", w->m_what, w->m_ms);
      fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
  }
  const char* m_what;
  DWORD m_ms;
  HANDLE m_done;
  HANDLE m_thread;
};

// Answers what other threads send to this one, and nothing else (no timers, no input).
void AnswerSent(DWORD ms) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE);
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// Once the folder thread has inserted some items through the tree's thread, the tree's
// thread answers it and, before it returns to its loop, makes a call that needs the fills:
// the moment a user's click can come while the folder thread is in the middle of a level.
struct MidFill {
  HWND tree = nullptr;
  std::function<void()> call;
  int inserts = 0;
  bool called = false;
  static MidFill* current;
  static LRESULT CALLBACK AfterSent(int code, WPARAM wParam, LPARAM lParam) {
    auto* r = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    MidFill* m = current;
    if (code == HC_ACTION && m && !m->called && r->hwnd == m->tree &&
        (r->message == TVM_INSERTITEMA || r->message == TVM_INSERTITEMW) && InSendMessage() && ++m->inserts == 50) {
      m->called = true;
      ReplyMessage(r->lResult);  // the folder thread goes on with the level
      m->call();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
};
MidFill* MidFill::current = nullptr;

}  // namespace

// The folder thread finishes a pending level by inserting through the tree's thread; a
// call on the tree's thread that needs the fills meanwhile waits its turn, answering the
// folder thread, instead of both waiting for each other.
TEST(DiskTreeOnATree, TheFolderThreadFinishingALevelAndTheTreesThreadNeverWaitForEachOther) {
  const int kFolders = 1500;
  ManyLevel level("disktree-filllock", "dlock", kFolders);
  ASSERT_TRUE(level.parent && level.many);
  Host& host = level.host;
  HTREEITEM parent = level.parent, many = level.many;
  auto expand = host.Get<PFN_PLUGIN_TreeItem>("ExpandTree");
  auto running = host.Get<PFN_PLUGIN_Predicate>("IsDoThread");
  // The level is left pending: from here on this thread answers sent messages only, so the
  // fill's timer never runs and the folder thread is the one to finish the level.
  ASSERT_EQ(expand(&host.tree, many), S_OK);
  const int firstBatch = Level(host.tree, many).children;
  ASSERT_LT(firstBatch, kFolders);
  int during = -1;
  HRESULT result = E_PENDING;
  MidFill mid;
  mid.tree = host.tree.m_hWnd;
  mid.call = [&] {
    during = Level(host.tree, many).children;
    DeadlockWatch watch("the tree thread's expansion during the folder thread's fill", 60000);
    result = expand(&host.tree, parent);
  };
  MidFill::current = &mid;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &MidFill::AfterSent, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  auto select = host.Get<PFN_PLUGIN_SelectText>("SelectFolder");
  ASSERT_EQ(select(&host.tree, CString((level.folder + "\\f1499").c_str())), S_OK);
  const DWORD start = GetTickCount();
  while (running() == S_OK && GetTickCount() - start < 60000) AnswerSent(5);
  UnhookWindowsHookEx(hook);
  MidFill::current = nullptr;
  ASSERT_TRUE(mid.called) << "the folder thread never filled the level: " << mid.inserts << " inserts, "
                          << Level(host.tree, many).children << " shown, the caret at " << host.CaretPath();
  EXPECT_EQ(result, S_OK);
  EXPECT_GT(during, firstBatch);
  EXPECT_LT(during, kFolders) << "the call came after the level was whole";
  ASSERT_TRUE(testsupport::WaitUntil([&] { return running() != S_OK; }, 30000));
  EXPECT_EQ(host.CaretPath(), level.folder + "\\f1499");
  EXPECT_EQ(Level(host.tree, many).children, kFolders);
  testsupport::RemoveTree(level.root);
}

namespace {

// The desktop level's item of a special folder, found by its name there.
HTREEITEM DesktopChildOf(Host& host, int csidl) {
  IShellFolder* desktop = nullptr;
  std::string name;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
    LPITEMIDLIST pidl = nullptr;
    STRRET ret = {};
    char text[MAX_PATH * 2] = {};
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) &&
        SUCCEEDED(desktop->GetDisplayNameOf(pidl, SHGDN_INFOLDER, &ret)) &&
        SUCCEEDED(StrRetToBufA(&ret, pidl, text, sizeof text)))
      name = text;
    CoTaskMemFree(pidl);
    desktop->Release();
  }
  for (HTREEITEM c = host.tree.GetChildItem(host.tree.GetRootItem()); c && !name.empty();
       c = host.tree.GetNextSiblingItem(c))
    if (std::string(host.tree.GetItemText(c)) == name) return c;
  return nullptr;
}

// The prefix's desktop lists no network folder, a Windows desktop does: the shell's own
// entry for it, with the attributes Windows gives it, while the object lives.
class NetworkOnTheDesktop {
 public:
  NetworkOnTheDesktop() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kEntry, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS)
      RegCloseKey(key);
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kFolder, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      const DWORD attributes = 0xB0000100;  // folder, has sub-folders, file-system ancestor, drop target
      RegSetValueExA(key, "Attributes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&attributes), sizeof attributes);
      RegCloseKey(key);
    }
  }
  ~NetworkOnTheDesktop() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kEntry);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kFolder);
  }

 private:
  static constexpr const char* kEntry =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
      "{208D2C60-3AEA-1069-A2D7-08002B30309D}";
  static constexpr const char* kFolder = "CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\ShellFolder";
};

}  // namespace

// "Network Disable" in the profile leaves the desktop's network folder out of the tree.
TEST(DiskTreeOnATree, NetworkDisableLeavesTheNetworkOut) {
  NetworkOnTheDesktop network;
  for (int disable : {0, 1}) {
    SCOPED_TRACE(disable);
    testsupport::ScopedProfileRoot profile("disktree-network");
    CMWriteProfileInt("VazODA\\FolderInfo", "Network Disable", disable);
    Host host;
    ASSERT_TRUE(host.plugin);
    ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
    ASSERT_TRUE(DesktopChildOf(host, CSIDL_DRIVES)) << "the computer is always there";
    EXPECT_EQ(DesktopChildOf(host, CSIDL_NETWORK) != nullptr, disable == 0);
  }
}

// The Windows directory, the system directory and the user's shell folders never get a
// new name from the tree; a plain folder beside them does.
TEST(DiskTreeOnATree, TheWindowsSystemAndShellFoldersKeepTheirNames) {
  testsupport::ScopedProfileRoot profile("disktree-protected");
  const std::string plain = testsupport::NewTempFolder("dprotect");
  char windows[MAX_PATH] = {}, system[MAX_PATH] = {}, documents[MAX_PATH] = {};
  ASSERT_TRUE(GetWindowsDirectoryA(windows, MAX_PATH));
  ASSERT_TRUE(GetSystemDirectoryA(system, MAX_PATH));
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents), S_OK);
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  auto selectNow = host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect");
  auto canRename = host.Get<PFN_PLUGIN_TreeItem>("IsRenameTreeItem");
  struct Case {
    std::string path;
    HRESULT answer;
  } cases[] = {{windows, E_ACCESSDENIED}, {system, E_ACCESSDENIED}, {documents, E_ACCESSDENIED}, {plain, S_OK}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ASSERT_EQ(selectNow(&host.tree, CString(c.path.c_str())), S_OK);
    ASSERT_TRUE(textkit::EqualNoCase(host.CaretPath(), c.path)) << host.CaretPath();
    EXPECT_EQ(canRename(&host.tree, host.tree.GetSelectedItem()), c.answer);
  }
  testsupport::RemoveTree(plain);
}

// A new folder made through the single-selection export: the tree is brought in step
// afterwards (a folder another program made meanwhile shows), and the changed-folder list,
// the folder menu's business, is left alone.
TEST(DiskTreeOnATree, ANewFolderRefreshesTheTreeAndLeavesTheChangedList) {
  testsupport::ScopedProfileRoot profile("disktree-newfolder");
  const std::string root = testsupport::NewTempFolder("dnew");
  testsupport::MakeFolders(root + "\\here");
  testsupport::MakeFolders(root + "\\there");
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  auto selectNow = host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect");
  ASSERT_EQ(selectNow(&host.tree, CString((root + "\\here").c_str())), S_OK);
  HTREEITEM here = host.tree.GetSelectedItem();
  ASSERT_EQ(host.Get<PFN_PLUGIN_TreeItem>("ExpandTree")(&host.tree, host.tree.GetParentItem(here)), S_OK);
  CMWriteProfileInt("VazODA\\FolderName", "NumOfFolder", 1);
  CMWriteProfileString("VazODA\\FolderName", "0001", "C:\\kept");
  testsupport::MakeFolders(root + "\\elsewhere");
  ASSERT_FALSE(host.Find(host.tree.GetRootItem(), root + "\\elsewhere"));

  ASSERT_EQ(host.Get<PFN_PLUGIN_TreeOnly>("NewTreeNotMulitiSelect")(&host.tree), S_OK);
  EXPECT_EQ(host.tree.GetParentItem(host.tree.GetSelectedItem()), here);
  EXPECT_TRUE(host.Find(host.tree.GetRootItem(), root + "\\elsewhere"));
  EXPECT_EQ(std::string(CMGetProfileString("VazODA\\FolderName", "0001")), "C:\\kept");
  testsupport::RemoveTree(root);
}

// The tree's image list carries the shared-folder mark as overlay 1 once the tree is
// made, for the items of shared folders. (Wine never reports a folder shared, and draws
// no overlay over icons with an alpha channel: the list's own record of its overlays, as
// it writes itself to a stream, tells.)
TEST(DiskTreeOnATree, SharedFoldersHaveTheirMark) {
  testsupport::ScopedProfileRoot profile("disktree-overlay");
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  HIMAGELIST list = TreeView_GetImageList(host.tree.m_hWnd, TVSIL_NORMAL);
  ASSERT_TRUE(list);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ASSERT_TRUE(ImageList_Write(list, stream));
  HGLOBAL block = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(stream, &block), S_OK);
  // The stream's header: magic, version, count, room, growth, width, height, background,
  // flags, then the images of overlays 1 to 4.
  const BYTE* head = static_cast<const BYTE*>(GlobalLock(block));
  SHORT overlay = -1;
  memcpy(&overlay, head + 20, sizeof overlay);
  GlobalUnlock(block);
  stream->Release();
  ASSERT_GE(overlay, 0) << "overlay 1 has no image";
  ASSERT_LT(overlay, ImageList_GetImageCount(list));
  // The mark is drawn where the image is.
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list, &cx, &cy);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT rc = {0, 0, cx, cy};
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ImageList_Draw(list, overlay, dc, 0, 0, ILD_NORMAL);
  int drawn = 0;
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) drawn += GetPixel(dc, x, y) != RGB(255, 255, 255);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  EXPECT_GT(drawn, 0);
}
