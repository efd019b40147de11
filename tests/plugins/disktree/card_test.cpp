// DiskTree with the prefix's removable card on E:: the drive in the tree, a copy onto it, a
// count on it, and the card pulled out (a drop fails, an expansion says the drive is empty,
// a refresh takes the drive away, and it comes back with the card); a card that refuses new
// folders; and a disc drive whose disc changes.
#include "host.h"

#include <FolderCount.h>
#include <FolderTreePlugin.h>
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <card.h>
#include <dialogwatch.h>
#include <dropop/DropRules.h>
#include <files.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <pump.h>
#include <tempfolder.h>
#include <testmain.h>
#include <textkit/text.h>

using disktreetest::DropBlock;
using disktreetest::Host;

static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

namespace {

std::string LoadText(UINT id) {
  char text[512] = {};
  HMODULE res = GetModuleHandleA("VxResource.dll");
  LoadStringA(res, id, text, sizeof text);
  return text;
}

// The box shows a static text that starts with what the string says before its "%s".
bool ShowsText(HWND box, const std::string& start) {
  struct Look {
    std::string start;
    bool found;
  } look{start, false};
  EnumChildWindows(
      box,
      [](HWND child, LPARAM p) -> BOOL {
        auto* l = reinterpret_cast<Look*>(p);
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        if (!l->start.empty() && std::string(text).compare(0, l->start.size(), l->start) == 0) l->found = true;
        return !l->found;
      },
      reinterpret_cast<LPARAM>(&look));
  return look.found;
}

struct Card {
  std::string dir = testsupport::DefaultCardDir();
  ~Card() {
    if (!dir.empty()) testsupport::InsertCard('e', dir);
  }
};

}  // namespace

TEST(DiskTreeCard, CopiesOntoTheCardAndLetsItGo) {
  Card card;
  ASSERT_FALSE(card.dir.empty()) << "no card drive in this prefix";
  testsupport::ScopedProfileRoot profile("disktree-card");
  ASSERT_EQ(testsupport::InsertCard('e', card.dir), 0u);
  const std::string source = testsupport::NewTempFolder("dcard");
  testsupport::MakeFolders(source + "\\album\\sub");
  ASSERT_TRUE(testsupport::WriteWholeFile(source + "\\album\\sub\\a.jpg", std::string(1536, 'j')));
  char name[64];
  snprintf(name, sizeof name, "DTCARD%lu", GetCurrentProcessId());
  const std::string onCard = std::string("E:\\") + name;
  ASSERT_TRUE(CreateDirectoryA(onCard.c_str(), nullptr));

  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  auto selectNow = host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect");
  ASSERT_EQ(selectNow(&host.tree, CString(onCard.c_str())), S_OK);
  HTREEITEM target = host.tree.GetSelectedItem();
  HTREEITEM drive = host.tree.GetParentItem(target);
  ASSERT_TRUE(textkit::EqualNoCase(host.PathOf(drive), "E:\\")) << host.PathOf(drive);
  EXPECT_NE(std::string(host.tree.GetItemText(drive)).find("(E:)"), std::string::npos);

  // A copy from C: onto the card.
  host.tree.EnsureVisible(target);
  CRect rc;
  host.tree.GetItemRect(target, &rc, TRUE);
  auto drop = host.Get<PFN_PLUGIN_Drop>("Drop");
  HGLOBAL block = DropBlock({source + "\\album"});
  EXPECT_EQ(drop(&host.tree, block, DROPEFFECT_COPY, rc.CenterPoint().x, rc.CenterPoint().y), S_OK);
  GlobalFree(block);
  EXPECT_EQ(testsupport::ReadWholeFile(onCard + "\\album\\sub\\a.jpg"), std::string(1536, 'j'));

  // The count on the card: whole clusters of the removable drive.
  disktree::FolderCount count;
  ASSERT_TRUE(disktree::CountFolder(onCard, &count, nullptr, nullptr));
  EXPECT_EQ(count.files, 1);
  EXPECT_EQ(count.folders, 2);
  EXPECT_EQ(count.size, 1536);
  DWORD spc = 0, bps = 0, fc = 0, tc = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("E:\\", &spc, &bps, &fc, &tc));
  EXPECT_GE(count.onDisk, 1536);
  EXPECT_EQ(count.onDisk % (static_cast<LONGLONG>(spc) * bps), 0);

  // The card is pulled out: a drop onto it fails without touching C:.
  ASSERT_EQ(testsupport::RemoveCard('e'), 0u);
  block = DropBlock({source + "\\album"});
  EXPECT_EQ(drop(&host.tree, block, DROPEFFECT_MOVE, rc.CenterPoint().x, rc.CenterPoint().y), E_FAIL);
  GlobalFree(block);
  EXPECT_NE(GetFileAttributesA((source + "\\album\\sub\\a.jpg").c_str()), INVALID_FILE_ATTRIBUTES);

  // An unopened folder of the gone card: expanding it says the drive has no medium.
  auto expand = host.Get<PFN_PLUGIN_TreeItem>("ExpandTree");
  HTREEITEM computer = host.tree.GetParentItem(drive);
  ASSERT_TRUE(computer);
  const std::string emptyText = LoadText(IDS_DISKTREE_EMPTY_DRIVE);
  const std::string emptyStart = emptyText.substr(0, emptyText.find('%'));
  // The drive's item is made again from the computer's children, not opened yet.
  host.Get<PFN_PLUGIN_TreeItem>("RenewalTree")(&host.tree, nullptr);
  bool shown = false;
  for (HTREEITEM c = host.tree.GetChildItem(computer); c; c = host.tree.GetNextSiblingItem(c))
    shown = shown || textkit::EqualNoCase(host.PathOf(c), "E:\\");
  EXPECT_FALSE(shown) << "a refresh takes the empty drive away";

  // The card comes back: a refresh shows the drive again.
  ASSERT_EQ(testsupport::InsertCard('e', card.dir), 0u);
  host.Get<PFN_PLUGIN_TreeItem>("RenewalTree")(&host.tree, nullptr);
  HTREEITEM back = nullptr;
  for (HTREEITEM c = host.tree.GetChildItem(computer); c; c = host.tree.GetNextSiblingItem(c))
    if (textkit::EqualNoCase(host.PathOf(c), "E:\\")) back = c;
  ASSERT_TRUE(back);

  // The medium goes before the drive is opened: the expansion says so and fails.
  ASSERT_EQ(testsupport::RemoveCard('e'), 0u);
  testsupport::DialogWatch watch(nullptr, [&](HWND box) { return ShowsText(box, emptyStart); },
                                 [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }, 10000);
  EXPECT_EQ(expand(&host.tree, back), E_FAIL);
  watch.Stop();
  EXPECT_TRUE(watch.Acted()) << "no message with string 10173";
  EXPECT_FALSE(host.tree.GetChildItem(back));

  ASSERT_EQ(testsupport::InsertCard('e', card.dir), 0u);
  testsupport::RemoveTree(onCard);
  testsupport::RemoveTree(source);
}

TEST(DiskTreeCard, InitializeTreeCanLeaveRemovableDrivesOut) {
  Card card;
  ASSERT_FALSE(card.dir.empty()) << "no card drive in this prefix";
  testsupport::ScopedProfileRoot profile("disktree-card-init");
  ASSERT_EQ(testsupport::InsertCard('e', card.dir), 0u);
  using Init = HRESULT(__cdecl*)(CTreeCtrl*, INT_PTR, HTREEITEM, BOOL, BOOL);
  for (BOOL exclude : {FALSE, TRUE}) {
    Host host;
    ASSERT_TRUE(host.plugin);
    auto init = host.Get<Init>("InitializeTree");
    ASSERT_TRUE(init);
    EXPECT_EQ(init(nullptr, 0, TVI_ROOT, TRUE, exclude), E_INVALIDARG);
    ASSERT_EQ(init(&host.tree, 0, TVI_ROOT, TRUE, exclude), S_OK);
    EXPECT_EQ(reinterpret_cast<HFONT>(host.tree.SendMessage(WM_GETFONT)), GetStockObject(DEFAULT_GUI_FONT));
    // The first child outside the file system (the computer) is opened.
    HTREEITEM opened = nullptr;
    for (HTREEITEM c = host.tree.GetChildItem(host.tree.GetRootItem()); c && !opened; c = host.tree.GetNextSiblingItem(c))
      if (host.tree.GetItemState(c, TVIS_EXPANDED) & TVIS_EXPANDED) opened = c;
    ASSERT_TRUE(opened);
    bool hasC = false, hasE = false;
    for (HTREEITEM c = host.tree.GetChildItem(opened); c; c = host.tree.GetNextSiblingItem(c)) {
      hasC = hasC || textkit::EqualNoCase(host.PathOf(c), "C:\\");
      hasE = hasE || textkit::EqualNoCase(host.PathOf(c), "E:\\");
    }
    EXPECT_TRUE(hasC);
    EXPECT_EQ(hasE, !exclude) << "exclude " << exclude;
  }
}

namespace {

// The item of a drive among the computer's children, or null.
HTREEITEM DriveItem(Host& host, HTREEITEM computer, const std::string& root) {
  for (HTREEITEM c = host.tree.GetChildItem(computer); c; c = host.tree.GetNextSiblingItem(c))
    if (textkit::EqualNoCase(host.PathOf(c), root)) return c;
  return nullptr;
}

bool HasButton(CTreeCtrl& tree, HTREEITEM item) {
  TVITEMA tv = {};
  tv.mask = TVIF_CHILDREN;
  tv.hItem = item;
  return tree.GetItem(&tv) && tv.cChildren != 0;
}

}  // namespace

// A disc drive follows the disc in it: a refresh relabels its item, and another disc
// closes it and forgets what was listed of the old one; with OptDiscFlush (set when the
// card tree is opened by its button) the drive's item is built again, and the key goes
// back to 0.
TEST(DiskTreeCard, DiscDrivesFollowTheirDiscs) {
  testsupport::ScopedProfileRoot profile("disktree-disc");
  const std::string first = testsupport::NewTempFolder("ddisc-one"), second = testsupport::NewTempFolder("ddisc-two");
  testsupport::MakeFolders(first + "\\BDMV");
  testsupport::MakeFolders(second + "\\PRIVATE");
  testsupport::WriteWholeFile(first + "\\.windows-label", "FIRSTDISC");
  testsupport::WriteWholeFile(second + "\\.windows-label", "SECONDDISC");
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(first), "FIRSTDISC"), 0u);
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  ASSERT_EQ(host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect")(&host.tree, CString("D:\\BDMV")), S_OK);
  HTREEITEM drive = host.tree.GetParentItem(host.tree.GetSelectedItem());
  ASSERT_TRUE(textkit::EqualNoCase(host.PathOf(drive), "D:\\")) << host.PathOf(drive);
  const HTREEITEM computer = host.tree.GetParentItem(drive);
  EXPECT_NE(std::string(host.tree.GetItemText(drive)).find("FIRSTDISC"), std::string::npos);
  auto renew = host.Get<PFN_PLUGIN_TreeItem>("RenewalTree");

  // Another disc (its label in the file Wine reads it from): the item takes its label,
  // closed and empty, with its button.
  host.tree.SelectItem(computer);
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(second), "SECONDDISC"), 0u);
  renew(&host.tree, nullptr);
  drive = DriveItem(host, computer, "D:\\");
  ASSERT_TRUE(drive);
  EXPECT_NE(std::string(host.tree.GetItemText(drive)).find("SECONDDISC"), std::string::npos)
      << host.tree.GetItemText(drive);
  EXPECT_FALSE(host.tree.GetChildItem(drive)) << "the first disc's folders are still listed";
  EXPECT_FALSE(host.tree.GetItemState(drive, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_TRUE(HasButton(host.tree, drive));
  // Opened, it lists the second disc (its level comes in batches).
  ASSERT_EQ(host.Get<PFN_PLUGIN_TreeItem>("ExpandTree")(&host.tree, drive), S_OK);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return host.Find(drive, "D:\\PRIVATE") != nullptr; }, 10000));
  // The same disc again leaves what was listed.
  renew(&host.tree, nullptr);
  EXPECT_TRUE(host.Find(DriveItem(host, computer, "D:\\"), "D:\\PRIVATE"));

  // OptDiscFlush: the drive's item is made anew, closed, and the key is reset.
  CMWriteProfileInt("VazODA\\FolderInfo", "OptDiscFlush", 1);
  renew(&host.tree, nullptr);
  drive = DriveItem(host, computer, "D:\\");
  ASSERT_TRUE(drive);
  EXPECT_FALSE(host.tree.GetChildItem(drive));
  EXPECT_TRUE(HasButton(host.tree, drive));
  EXPECT_EQ(CMGetProfileInt("VazODA\\FolderInfo", "OptDiscFlush", -1), 0);

  EXPECT_EQ(testsupport::RemoveDisc('D'), 0u);
  testsupport::RemoveTree(first);
  testsupport::RemoveTree(second);
}

// A new folder on a card whose folders refuse new ones (access denied; here the kernel's
// own file system, where not even the administrator may make a folder): the message of
// string 303, and no folder.
TEST(DiskTreeCard, ANewFolderWhereTheCardRefusesOneSaysSo) {
  Card card;
  testsupport::ScopedProfileRoot profile("disktree-locked");
  ASSERT_EQ(testsupport::InsertCard('e', "/sys", "LOCKED"), 0u);
  ASSERT_FALSE(CreateDirectoryA("E:\\kernel\\glimora", nullptr));
  ASSERT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  ASSERT_EQ(host.Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect")(&host.tree, CString("E:\\kernel")), S_OK);
  const std::string denied = LoadText(IDS_DISKTREE_ACCESS_DENIED);
  ASSERT_FALSE(denied.empty());
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return ShowsText(box, denied); },
      [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }, 10000);
  EXPECT_EQ(host.Get<PFN_PLUGIN_TreeOnly>("NewTreeNotMulitiSelect")(&host.tree), E_FAIL);
  watch.Stop();
  EXPECT_TRUE(watch.Acted()) << "no message with string 303";
  EXPECT_EQ(GetFileAttributesA(("E:\\kernel\\" + LoadText(IDS_DISKTREE_NEW_FOLDER)).c_str()), INVALID_FILE_ATTRIBUTES);
}
