// CardTree.psp on the folder pane's tree: cards made in scratch folders and put into the
// prefix's removable drives, the families by TreeType, renewal after a removal and an
// insertion, the selection, the exports' answers, drops; disc titles through a core double.
#include "host.h"

#include <FolderTreePlugin.h>
#include <MainWndMessages.h>
#include <Kitlib2/Profile.h>
#include <VxBDCore.h>
#include <VxResourceIds.h>
#include <card.h>
#include <dropop/DropRules.h>
#include <files.h>
#include <gtest/gtest.h>
#include <picture.h>
#include <profileroot.h>
#include <tempfolder.h>
#include <testmain.h>
#include <textkit/text.h>

#include <map>
#include <string>
#include <vector>

using cardtreetest::Host;
using cardtreetest::Res;

static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

namespace {

std::string Line(int depth, const std::string& label, int kind, const std::string& path) {
  return std::string(depth * 2, ' ') + label + " | " + std::to_string(kind) + " | " + path;
}

// A card in a scratch folder with every family the tree knows, and things it must leave out.
std::string MakeCard(const std::string& tag) {
  std::string root = testsupport::NewTempFolder(tag);
  for (const char* f : {"DCIM\\101NORVA", "DCIM\\100NORVA", "DCIM\\MISC", "DCIM\\.trash", "DCIM\\102HIDDN",
                        "IM01ABCD", "IMXX", "SD_VIDEO\\PRL001", "SD_VIDEO\\PRL000", "SD_VIDEO\\PRG00A",
                        "SD_VOICE\\DCVC0001", "SD_AUDIO\\SDAUDIO", "PRIVATE\\VTF\\TITLE", "PRIVATE\\VTF\\OTHER",
                        "PRIVATE\\AU\\DF\\D_PA\\x", "PRIVATE\\AU\\DF\\D_MA\\x", "MOBILE\\AU_INOUT\\x",
                        "PRIVATE\\AVCHD\\BDMV\\STREAM"})
    testsupport::MakeFolders(root + "\\" + f);
  for (const char* f : {"MISC\\AUTPLAY0.MRK", "MISC\\AUTPLAY1.MRK", "MISC\\AUTPLAY5.MRK", "DCIM\\100NORVA\\a.jpg"})
    testsupport::WriteWholeFile(root + "\\" + f, "x");
  SetFileAttributesA((root + "\\DCIM\\102HIDDN").c_str(), FILE_ATTRIBUTE_HIDDEN);
  return root;
}

struct Card {
  char letter;
  std::string folder;
  Card(char l, const std::string& tag) : letter(l), folder(MakeCard(tag)) {
    inserted = testsupport::InsertCard(l, testsupport::UnixPathOf(folder)) == 0;
  }
  ~Card() {
    testsupport::RemoveCard(letter);
    if (letter == 'E' && !testsupport::DefaultCardDir().empty())
      testsupport::InsertCard('E', testsupport::DefaultCardDir());
    testsupport::RemoveTree(folder);
  }
  bool inserted = false;
};

std::string DriveLabel(char l) { return Res(IDS_CARD_DRIVE_PREFIX) + l + Res(IDS_CARD_DRIVE_SUFFIX); }

}  // namespace

TEST(CardTreeOnATree, FamiliesByTreeType) {
  testsupport::ScopedProfileRoot profile("cardtree-families");
  Card card('E', "card-fam");
  ASSERT_TRUE(card.inserted);
  struct Case {
    int type;
    std::vector<std::string> want;
  } cases[] = {
      {0,
       {Line(0, DriveLabel('E'), 0, ""), Line(1, Res(IDS_CARD_DCIM), 0, ""),
        Line(2, "100NORVA", -1, "E:\\DCIM\\100NORVA"), Line(2, "101NORVA", -1, "E:\\DCIM\\101NORVA")}},
      {0x110,
       {Line(0, DriveLabel('E'), 0, ""), Line(1, Res(IDS_CARD_GROUP_PICTURES), 2, ""),
        Line(2, "100NORVA", -1, "E:\\DCIM\\100NORVA"), Line(2, "101NORVA", -1, "E:\\DCIM\\101NORVA"),
        Line(1, Res(IDS_CARD_GROUP_VIDEO), 2, ""), Line(2, "PRG00A", -1, "E:\\SD_VIDEO\\PRG00A"),
        Line(2, "PRL001", -1, "E:\\SD_VIDEO\\PRL001")}},
      {0x13130111,
       {Line(0, DriveLabel('E'), 0, ""), Line(1, Res(IDS_CARD_GROUP_PICTURES), 2, ""),
        Line(2, "100NORVA", -1, "E:\\DCIM\\100NORVA"), Line(2, "101NORVA", -1, "E:\\DCIM\\101NORVA"),
        Line(2, "D_PA", -1, "E:\\PRIVATE\\AU\\DF\\D_PA"), Line(2, "IM01ABCD", -1, "E:\\IM01ABCD"),
        Line(1, Res(IDS_CARD_GROUP_VIDEO), 2, ""), Line(2, "D_MA", -1, "E:\\PRIVATE\\AU\\DF\\D_MA"),
        Line(2, "PRG00A", -1, "E:\\SD_VIDEO\\PRG00A"), Line(2, "PRL001", -1, "E:\\SD_VIDEO\\PRL001"),
        Line(1, Res(IDS_BROWSER_CARD_VOICE), -1, "E:\\SD_VOICE"), Line(1, Res(IDS_BROWSER_CARD_AUDIO), -1, "E:\\SD_AUDIO"),
        Line(1, Res(IDS_CARD_GROUP_TITLES), 2, ""), Line(2, "TITLE", -1, "E:\\PRIVATE\\VTF\\TITLE"),
        Line(1, Res(IDS_CARD_AUTOPLAY), 3, ""), Line(2, Res(IDS_CARD_AUTOPLAY), 3, "E:\\MISC\\AUTPLAY0.MRK"),
        Line(2, Res(IDS_CARD_AUTOPLAY_1), 3, "E:\\MISC\\AUTPLAY1.MRK"),
        Line(2, Res(IDS_CARD_AUTOPLAY) + "5", 3, "E:\\MISC\\AUTPLAY5.MRK"), Line(1, Res(IDS_CARD_GROUP_MOBILE), 2, ""),
        Line(2, "AU_INOUT", -1, "E:\\MOBILE\\AU_INOUT")}},
  };
  for (const Case& c : cases) {
    CMWriteProfileInt("CardTree\\Settings", "TreeType", c.type);
    Host host;
    ASSERT_TRUE(host.plugin);
    ASSERT_EQ(host.Create(), S_OK);
    std::vector<std::string> got = host.Dump();
    // Other removable drives of the machine are not this test's.
    std::vector<std::string> mine;
    bool inE = false;
    for (const std::string& l : got) {
      if (l[0] != ' ') inE = l == Line(0, DriveLabel('E'), 0, "");
      if (inE) mine.push_back(l);
    }
    EXPECT_EQ(mine, c.want) << "TreeType " << std::hex << c.type;
    if (c.type == 0 || c.type == 0x13130111) {
      for (HTREEITEM i = host.tree.GetRootItem(); i; i = host.tree.GetNextItem(i, TVGN_NEXTVISIBLE))
        host.tree.Expand(i, TVE_EXPAND);
      host.frame.ShowWindow(SW_SHOWNA);
      host.frame.UpdateWindow();
      testsupport::Picture(host.tree.GetSafeHwnd()).Save(c.type == 0 ? "cardtree_type_0" : "cardtree_type_all");
      host.frame.ShowWindow(SW_HIDE);
    }
    // A renewal of an unchanged card changes nothing and leaves every mark clear.
    ASSERT_EQ(host.Renew(), S_OK);
    EXPECT_EQ(host.Dump(), got) << "TreeType " << std::hex << c.type;
    EXPECT_TRUE(host.AllMarksClear(host.tree.GetRootItem()));
  }
}

TEST(CardTreeOnATree, RenewalFollowsRemovalInsertionAndNewFolders) {
  testsupport::ScopedProfileRoot profile("cardtree-renew");
  Card card('E', "card-renew");
  ASSERT_TRUE(card.inserted);
  Host host;
  ASSERT_TRUE(host.plugin);
  // On an empty tree a renewal is the creation.
  ASSERT_EQ(host.Renew(), S_OK);
  HTREEITEM drive = host.FindLabel(host.tree.GetRootItem(), DriveLabel('E'));
  ASSERT_TRUE(drive);
  int image = -1, selected = -1;
  host.tree.GetItemImage(drive, image, selected);
  EXPECT_EQ(image, 0);
  EXPECT_EQ(host.images.GetImageCount(), 2);

  testsupport::MakeFolders(card.folder + "\\DCIM\\103NORVA");
  ASSERT_EQ(host.Renew(), S_OK);
  EXPECT_TRUE(host.FindLabel(host.tree.GetRootItem(), "103NORVA"));
  EXPECT_TRUE(host.AllMarksClear(host.tree.GetRootItem()));

  ASSERT_EQ(testsupport::RemoveCard('E'), 0u);
  ASSERT_EQ(host.Renew(), S_OK);
  EXPECT_FALSE(host.FindLabel(host.tree.GetRootItem(), DriveLabel('E')));
  EXPECT_FALSE(host.FindLabel(host.tree.GetRootItem(), "100NORVA"));

  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(card.folder)), 0u);
  ASSERT_EQ(host.Renew(), S_OK);
  EXPECT_TRUE(host.FindLabel(host.tree.GetRootItem(), DriveLabel('E')));
  EXPECT_TRUE(host.FindLabel(host.tree.GetRootItem(), "103NORVA"));

  // A second card drive comes after the first.
  Card second('F', "card-second");
  ASSERT_TRUE(second.inserted);
  ASSERT_EQ(host.Renew(), S_OK);
  HTREEITEM e = host.FindLabel(host.tree.GetRootItem(), DriveLabel('E'));
  HTREEITEM f = host.FindLabel(host.tree.GetRootItem(), DriveLabel('F'));
  ASSERT_TRUE(e && f);
  EXPECT_EQ(host.tree.GetNextSiblingItem(e), f);
  // A group under the second drive: its folder type is 1.
  HTREEITEM dcimF = host.tree.GetChildItem(f);
  ASSERT_TRUE(dcimF);
  host.tree.SelectItem(dcimF);
  int number = -1;
  EXPECT_EQ(host.Get<PFN_PLUGIN_GetFolderTypeNum>("GetFolderTypeNum")(&host.tree, &number), S_OK);
  EXPECT_EQ(number, 1);
}

TEST(CardTreeOnATree, AHostWithoutAnImageListGetsTheIconsAnyway) {
  testsupport::ScopedProfileRoot profile("cardtree-noimages");
  Card card('E', "card-noimages");
  ASSERT_TRUE(card.inserted);
  Host host;
  ASSERT_TRUE(host.plugin);
  host.tree.SetImageList(nullptr, TVSIL_NORMAL);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, nullptr, TVI_ROOT), S_OK);
  CImageList* list = host.tree.GetImageList(TVSIL_NORMAL);
  ASSERT_TRUE(list && list->GetSafeHandle());
  EXPECT_EQ(list->GetImageCount(), 2);
  EXPECT_TRUE(host.FindLabel(host.tree.GetRootItem(), "100NORVA"));
  // Unloaded while the tree lives on: the tree is let go of the plug-in's list.
  host.Get<PFN_PLUGIN_TreeItem>("DeleteTree")(&host.tree, nullptr);
  FreeLibrary(host.plugin);
  host.plugin = nullptr;
  EXPECT_EQ(host.tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL), 0);
}

TEST(CardTreeOnATree, SelectionRestoreSelectFolderAndFolderTypes) {
  testsupport::ScopedProfileRoot profile("cardtree-select");
  Card card('E', "card-select");
  ASSERT_TRUE(card.inserted);
  CMWriteProfileString("CardTree\\FolderInfo", "OpenFolder", "e:\\dcim\\101norva");
  CMWriteProfileInt("CardTree\\Settings", "TreeType", 0x110);
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Create(), S_OK);
  HTREEITEM caret = host.tree.GetSelectedItem();
  ASSERT_TRUE(caret);
  EXPECT_EQ(std::string(host.tree.GetItemText(caret)), "101NORVA");

  auto getType = host.Get<PFN_PLUGIN_GetFolderTypeNum>("GetFolderTypeNum");
  int number = -1;
  EXPECT_EQ(getType(&host.tree, &number), S_OK);
  EXPECT_EQ(number, 2);
  auto select = host.Get<PFN_PLUGIN_SelectText>("SelectFolder");
  EXPECT_EQ(select(&host.tree, CString("E:\\SD_VIDEO\\PRL001\\\\")), S_OK);
  EXPECT_EQ(std::string(host.tree.GetItemText(host.tree.GetSelectedItem())), "PRL001");
  EXPECT_EQ(std::string(CMGetProfileString("CardTree\\FolderInfo", "OpenFolder", "")), "E:\\SD_VIDEO\\PRL001\\\\");
  EXPECT_EQ(getType(&host.tree, &number), S_OK);
  EXPECT_EQ(number, 3);  // the video group
  EXPECT_EQ(select(&host.tree, CString("")), E_FAIL);
  EXPECT_EQ(select(&host.tree, CString(std::string(300, 'a').c_str())), E_FAIL);
  EXPECT_EQ(select(&host.tree, CString("E:\\DCIM\\999NONE")), E_FAIL);
  EXPECT_EQ(select(nullptr, CString("E:\\DCIM")), E_INVALIDARG);

  auto selectItem = host.Get<PFN_PLUGIN_TreeItem>("SelectTreeItem");
  HTREEITEM folder = host.FindLabel(host.tree.GetRootItem(), "100NORVA");
  EXPECT_EQ(selectItem(&host.tree, folder), S_OK);
  EXPECT_EQ(std::string(CMGetProfileString("CardTree\\FolderInfo", "OpenFolder", "")), "E:\\DCIM\\100NORVA");
  EXPECT_EQ(selectItem(&host.tree, nullptr), E_INVALIDARG);

  // Without a selection the number is 0 and the answer a refusal.
  host.tree.Select(nullptr, TVGN_CARET);
  number = -1;
  EXPECT_EQ(getType(&host.tree, &number), E_INVALIDARG);
  EXPECT_EQ(number, 0);

  // DeleteTree: one item with its subtree, then everything with TVI_ROOT, then nothing.
  auto del = host.Get<PFN_PLUGIN_TreeItem>("DeleteTree");
  EXPECT_EQ(del(&host.tree, host.FindLabel(host.tree.GetRootItem(), Res(IDS_CARD_GROUP_VIDEO))), S_OK);
  EXPECT_FALSE(host.FindLabel(host.tree.GetRootItem(), "PRL001"));
  EXPECT_TRUE(host.FindLabel(host.tree.GetRootItem(), "100NORVA"));
  EXPECT_EQ(del(&host.tree, TVI_ROOT), S_OK);
  EXPECT_EQ(host.tree.GetCount(), 0u);
  EXPECT_EQ(del(&host.tree, nullptr), S_OK);
  EXPECT_EQ(del(nullptr, nullptr), E_INVALIDARG);
}

TEST(CardTreeExports, TitlesMenusAndRefusals) {
  testsupport::ScopedProfileRoot profile("cardtree-exports");
  Host host;
  ASSERT_TRUE(host.plugin);
  char buffer[260] = "untouched";
  HICON icon = nullptr;
  auto title = host.Get<PFN_PLUGIN_GetTitle>("GetTitle");
  EXPECT_EQ(title(2, buffer, sizeof buffer, &icon), S_OK);
  EXPECT_EQ(std::string(buffer), "untouched");
  EXPECT_TRUE(icon);
  EXPECT_EQ(title(0, buffer, sizeof buffer, &icon), S_OK);
  EXPECT_EQ(std::string(buffer), Res(IDS_CARDTREE_TITLE));
  EXPECT_EQ(title(1, buffer, sizeof buffer, nullptr), S_OK);
  EXPECT_EQ(std::string(buffer), Res(IDS_TREE_TITLE_CARD));
  auto tips = host.Get<PFN_PLUGIN_GetToolTips>("GetToolTips");
  EXPECT_EQ(tips(1, buffer, sizeof buffer), S_OK);
  EXPECT_EQ(std::string(buffer), Res(IDS_CARDTREE_TOOLTIP_DISC));
  int value = 0;
  EXPECT_EQ(host.Get<PFN_PLUGIN_GetPriority>("GetPriority")(&value), S_OK);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(host.Get<PFN_PLUGIN_GetTreeHeight>("GetTreeHeight")(&value), S_OK);
  EXPECT_EQ(value, -1);

  auto isType = host.Get<PFN_PLUGIN_IsFolderTypeName>("IsFolderType");
  EXPECT_EQ(isType(1, Res(IDS_CARD_GROUP_PICTURES).c_str()), S_OK);
  EXPECT_EQ(isType(2, Res(IDS_CARD_GROUP_PICTURES).c_str()), E_FAIL);
  EXPECT_EQ(isType(0, Res(IDS_CARD_DRIVE_SUFFIX).c_str()), E_FAIL);
  EXPECT_EQ(isType(-3, ""), E_FAIL);
  EXPECT_EQ(isType(1, nullptr), E_FAIL);

  CMenu menu;
  EXPECT_EQ(host.Get<PFN_PLUGIN_GetFolderMenu>("GetFolderMenu")(&host.tree, &menu), S_OK);
  HMENU popup = GetSubMenu(menu.GetSafeHmenu(), 0);
  ASSERT_TRUE(popup);
  for (UINT id : {2000u, 2001u, 2003u, 2004u, 2005u, 2006u})
    EXPECT_TRUE(GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) << id;
  HMENU loaded = LoadMenuA(GetModuleHandleA("VxResource.dll"), MAKEINTRESOURCEA(IDR_DISKTREE_FOLDER_MENU));
  EXPECT_EQ(GetMenuState(popup, 2002, MF_BYCOMMAND), GetMenuState(GetSubMenu(loaded, 0), 2002, MF_BYCOMMAND));
  DestroyMenu(loaded);
  EXPECT_EQ(host.Get<PFN_PLUGIN_GetFolderMenu>("GetFolderMenu")(nullptr, &menu), E_INVALIDARG);
  EXPECT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(nullptr, &host.images, TVI_ROOT), E_INVALIDARG);
  EXPECT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, &host.images, nullptr), E_INVALIDARG);
  EXPECT_EQ(host.Get<PFN_PLUGIN_TreeItem>("RenewalTree")(nullptr, nullptr), E_INVALIDARG);
  DWORD effect = 5;
  EXPECT_EQ(host.Get<PFN_PLUGIN_DragOver>("DragOver")(&host.tree, nullptr, 0, 0, 0, &effect, nullptr), S_OK);
  EXPECT_EQ(effect, 0u);

  // The import dialog ends at once: nothing written, nothing posted; a backup without a
  // destination is refused (the backup itself: backup_test.cpp).
  char result[260] = "keep";
  EXPECT_EQ(host.Get<PFN_PLUGIN_OpenWindow>("OpenWindow")(0, &host.frame, result), S_OK);
  EXPECT_EQ(std::string(result), "keep");
  typedef HRESULT (*Backup)(const char*, const char*, CStringList*);
  typedef HRESULT (*Files)(CStringList*);
  CStringList list;
  EXPECT_EQ(host.Get<Backup>("CardBackup")("", "", &list), E_FAIL);
  EXPECT_EQ(host.Get<Backup>("CardBackup")("", nullptr, &list), E_FAIL);
  EXPECT_EQ(host.Get<Files>("GetCardFiles")(nullptr), E_FAIL);
  EXPECT_TRUE(list.IsEmpty());
}

// After the import dialog: while the browser shows a card folder the destination goes
// into the buffer (empty after Close) and the main window is told to refresh its trees and
// reload the browser; on any other folder a closed dialog writes and posts nothing.
TEST(CardTreeExports, OpenWindowTellsTheMainWindowOnACardFolder) {
  testsupport::ScopedProfileRoot profile("cardtree-openwindow");
  Host host;
  ASSERT_TRUE(host.plugin);
  struct {
    FOLDER_TYPE code;
    const char* buffer;
    std::vector<std::string> posted;
  } cases[] = {
      {FOLDER_TYPE_SDCARD_AVCHD, "", {"1540 main", "1656 main"}},
      {(FOLDER_TYPE)(FOLDER_TYPE_SDCARD | 2), "", {"1540 main", "1656 main"}},
      {FOLDER_TYPE_EXPLORER, "keep", {}},
      {FOLDER_TYPE_NONE, "keep", {}},
  };
  for (const auto& c : cases) {
    cardtreetest::BrowserMainFrame main(c.code);
    ASSERT_TRUE(main.frame);
    char result[260] = "keep";
    EXPECT_EQ(host.Get<PFN_PLUGIN_OpenWindow>("OpenWindow")(0, &host.frame, result), S_OK);
    EXPECT_EQ(std::string(result), c.buffer) << c.code;
    EXPECT_EQ(main.TakePosted({WM_REFRESH_FOLDERS, WM_BROWSER_RELOAD}), c.posted) << c.code;
  }
}

namespace {

HGLOBAL DropBlock(const std::vector<std::string>& paths) {
  std::string bytes = dropop::MakeDropBlock(paths);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  memcpy(GlobalLock(h), bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

}  // namespace

TEST(CardTreeOnATree, DropsCopyIntoTheFolderUnderThePoint) {
  testsupport::ScopedProfileRoot profile("cardtree-drop");
  Card card('E', "card-drop");
  ASSERT_TRUE(card.inserted);
  std::string source = testsupport::NewTempFolder("card-drop-src");
  testsupport::WriteWholeFile(source + "\\p.jpg", "picture");
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Create(), S_OK);
  HTREEITEM folder = host.FindLabel(host.tree.GetRootItem(), "101NORVA");
  ASSERT_TRUE(folder);
  host.tree.EnsureVisible(folder);
  CRect rc;
  ASSERT_TRUE(host.tree.GetItemRect(folder, &rc, TRUE));
  auto drop = host.Get<PFN_PLUGIN_Drop>("Drop");

  CMWriteProfileInt("VazODA\\FolderName", "NumOfFolder", 3);
  HGLOBAL block = DropBlock({source + "\\p.jpg"});
  EXPECT_EQ(drop(&host.tree, block, DROPEFFECT_COPY, rc.CenterPoint().x, rc.CenterPoint().y), S_OK);
  EXPECT_EQ(testsupport::ReadWholeFile(card.folder + "\\DCIM\\101NORVA\\p.jpg"), "picture");
  EXPECT_EQ(CMGetProfileInt("VazODA\\FolderName", "NumOfFolder", 0), 1);
  EXPECT_EQ(std::string(CMGetProfileString("VazODA\\FolderName", "0001", "")), "E:\\DCIM\\101NORVA");
  EXPECT_EQ(host.tree.GetSelectedItem(), folder);

  // No item under the point, or a node without a folder: nothing happens.
  EXPECT_EQ(drop(&host.tree, block, DROPEFFECT_COPY, 5, 590), S_OK);
  HTREEITEM drive = host.FindLabel(host.tree.GetRootItem(), DriveLabel('E'));
  ASSERT_TRUE(host.tree.GetItemRect(drive, &rc, TRUE));
  EXPECT_EQ(drop(&host.tree, block, DROPEFFECT_COPY, rc.CenterPoint().x, rc.CenterPoint().y), S_OK);
  // A failed operation answers E_FAIL and leaves the list alone.
  HTREEITEM other = host.FindLabel(host.tree.GetRootItem(), "100NORVA");
  ASSERT_TRUE(host.tree.GetItemRect(other, &rc, TRUE));
  HGLOBAL missing = DropBlock({source + "\\nothing.jpg"});
  EXPECT_EQ(drop(&host.tree, missing, DROPEFFECT_COPY, rc.CenterPoint().x, rc.CenterPoint().y), E_FAIL);
  EXPECT_EQ(std::string(CMGetProfileString("VazODA\\FolderName", "0001", "")), "E:\\DCIM\\101NORVA");
  EXPECT_EQ(drop(nullptr, block, DROPEFFECT_COPY, 0, 0), E_INVALIDARG);
  GlobalFree(block);
  GlobalFree(missing);
  testsupport::RemoveTree(source);
}

namespace {

// Counts the wait windows this thread creates (the wait window's caption).
int g_waitWindows = 0;
LRESULT CALLBACK CountWaitWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CBT_CREATEWNDA* c = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
    if (c->lpcs->lpszName && !IS_INTRESOURCE(c->lpcs->lpszName) && std::string(c->lpcs->lpszName) == "お待ちください")
      ++g_waitWindows;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(CardTreeOnATree, AHundredFilesAreDroppedUnderTheWaitWindow) {
  testsupport::ScopedProfileRoot profile("cardtree-many");
  Card card('E', "card-many");
  ASSERT_TRUE(card.inserted);
  std::string source = testsupport::NewTempFolder("card-many-src");
  std::vector<std::string> files;
  for (int i = 0; i < 100; ++i) {
    files.push_back(source + "\\p" + std::to_string(i) + ".jpg");
    testsupport::WriteWholeFile(files.back(), "picture");
  }
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Create(), S_OK);
  HTREEITEM folder = host.FindLabel(host.tree.GetRootItem(), "100NORVA");
  ASSERT_TRUE(folder);
  host.tree.EnsureVisible(folder);
  CRect rc;
  ASSERT_TRUE(host.tree.GetItemRect(folder, &rc, TRUE));
  auto drop = host.Get<PFN_PLUGIN_Drop>("Drop");
  HHOOK hook = SetWindowsHookExA(WH_CBT, CountWaitWindows, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  g_waitWindows = 0;
  HGLOBAL ninetyNine = DropBlock(std::vector<std::string>(files.begin(), files.begin() + 99));
  EXPECT_EQ(drop(&host.tree, ninetyNine, DROPEFFECT_COPY, rc.CenterPoint().x, rc.CenterPoint().y), S_OK);
  EXPECT_EQ(g_waitWindows, 0);
  HGLOBAL hundred = DropBlock(files);
  EXPECT_EQ(drop(&host.tree, hundred, DROPEFFECT_MOVE, rc.CenterPoint().x, rc.CenterPoint().y), S_OK);
  EXPECT_EQ(g_waitWindows, 1);
  UnhookWindowsHookEx(hook);
  // Moved: the sources are gone, the folder holds them.
  EXPECT_EQ(GetFileAttributesA(files[0].c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(testsupport::ReadWholeFile(card.folder + "\\DCIM\\100NORVA\\p99.jpg"), "picture");
  GlobalFree(ninetyNine);
  GlobalFree(hundred);
  testsupport::RemoveTree(source);
}

TEST(CardTreeOnATree, AutoPlayEntriesKeepFileOrderAndHiddenAreasStayOut) {
  testsupport::ScopedProfileRoot profile("cardtree-autoplay");
  Card card('E', "card-autoplay");
  ASSERT_TRUE(card.inserted);
  SetFileAttributesA((card.folder + "\\SD_VOICE").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CMWriteProfileInt("CardTree\\Settings", "TreeType", 0x10030000);
  Host host;
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Create(), S_OK);
  EXPECT_FALSE(host.FindLabel(host.tree.GetRootItem(), Res(IDS_BROWSER_CARD_VOICE)));
  EXPECT_TRUE(host.FindLabel(host.tree.GetRootItem(), Res(IDS_BROWSER_CARD_AUDIO)));
  testsupport::WriteWholeFile(card.folder + "\\MISC\\AUTPLAY3.MRK", "x");
  DeleteFileA((card.folder + "\\MISC\\AUTPLAY1.MRK").c_str());
  ASSERT_EQ(host.Renew(), S_OK);
  HTREEITEM group = host.Child(host.Top(DriveLabel('E')), Res(IDS_CARD_AUTOPLAY));
  ASSERT_TRUE(group);
  std::vector<std::string> labels;
  for (HTREEITEM i = host.tree.GetChildItem(group); i; i = host.tree.GetNextSiblingItem(i))
    labels.push_back(std::string(host.tree.GetItemText(i)));
  EXPECT_EQ(labels, (std::vector<std::string>{Res(IDS_CARD_AUTOPLAY), Res(IDS_CARD_AUTOPLAY) + "3",
                                              Res(IDS_CARD_AUTOPLAY) + "5"}));
}
