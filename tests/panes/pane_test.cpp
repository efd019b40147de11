// The folder pane with real test plug-ins: sections and their layout, hiding the last open
// tree refused, the folder changes sent to the main window (once per folder), malformed
// texts from other windows ignored, the state kept in the profile; a screenshot; the
// frame's power notices and message 1834.
#include <VxDocument/CommandObject.h>
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>

#include <string>
#include <vector>

#include "FView_Folder.h"
#include "ImageCheckButton.h"
#include "PluginTreeCtrl.h"
#include "panefixture.h"
#include "picture.h"
#include "plugintest.h"
#include "profileroot.h"
#include "pump.h"
#include "tempfolder.h"
#include "ui/ResourceDialog.h"

namespace {

TEST(FolderPane, SectionsChangesAndState) {
  testsupport::ScopedProfileRoot root("folderpane");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");      // priority 3: the first section
  f.Put("tp_second.psp", "second.psp");  // 11
  f.Put("tp_bare.psp", "bare.psp");      // no tree: dropped
  // The items' folders exist: a user's click onto a missing one is refused.
  ItemFolders items("panedata");
  const std::string& data = items.dir;
  PaneOver fx(f.dir);
  CMainStandIn& main = fx.main;
  CFView_Folder* pane = fx.pane;
  ASSERT_TRUE(pane);
  ASSERT_EQ(pane->GetButtonCount(), 2);
  CTreePluginManager& m = pane->GetManager();
  ASSERT_EQ(m.GetEntryCount(), 2);
  // Defaults: the first tree open and shown, the second shown and closed.
  EXPECT_TRUE(m.IsActive(m.GetEntry(0)));
  EXPECT_FALSE(m.IsActive(m.GetEntry(1)));
  EXPECT_TRUE(m.IsShown(m.GetEntry(1)));

  pane->SendMessage(WM_REFRESH_TREES, 0, 0);  // the first refresh: the current tree is made
  EXPECT_TRUE(pane->IsInitialised());
  EXPECT_TRUE(m.IsTreeCreated(m.GetEntry(0)));
  EXPECT_FALSE(m.IsTreeCreated(m.GetEntry(1)));
  // Its request went out; focusing the tree may select its first item (the control's
  // own doing), which is a change of its own.
  ASSERT_GE(main.m_changes.size(), 1u);
  EXPECT_EQ(main.m_changes[0], "1|Full Tree 2|1|||");
  main.m_changes.clear();
  CPluginTreeCtrl* tree = m.GetEntry(0)->m_pTreeWnd;
  tree->SelectItem(NULL);

  // Layout: 500 usable pixels, two title rows; the open tree takes the rest.
  CRect rcTree;
  m.GetEntry(0)->m_pTreeWnd->GetWindowRect(&rcTree);
  pane->ScreenToClient(&rcTree);
  EXPECT_EQ(rcTree.top, 1 + 18);
  EXPECT_EQ(rcTree.Height(), 500 - 38);
  EXPECT_FALSE(m.GetEntry(1)->m_pTreeWnd->IsWindowVisible());

  // A selection goes to the main window framed and padded; the same folder again does not.
  main.m_changes.clear();
  tree->ClickItem(tree->GetRootItem(), 0);  // the user's choice is announced
  ASSERT_EQ(main.m_changes.size(), 1u);
  EXPECT_EQ(main.m_changes[0], "1|Full Tree 2|1|" + data + "\\item0\\||");
  tree->SendFolderChange();
  EXPECT_EQ(main.m_changes.size(), 1u);

  // A text that is no folder change, from another window: ignored, answered TRUE.
  for (auto block : {std::string("1|Full Tree 2|1|C:\\X\\||", 22), std::string("1|", 3), std::string()}) {
    COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)block.size(), block.empty() ? nullptr : (void*)block.data()};
    EXPECT_EQ(pane->SendMessage(WM_COPYDATA, (WPARAM)main.m_hWnd, (LPARAM)&cds), TRUE);
  }
  EXPECT_EQ(std::string(m.GetCurrentFolder()), data + "\\item0\\");  // the paths of the last change

  // Two sections, the second closed: its title row under the open tree.
  testsupport::PumpPending();
  testsupport::Picture pic(pane->m_hWnd, testsupport::Picture::kClient);
  pic.Save("folder-pane-sections");
  EXPECT_GT(pic.CountDark(CRect(0, 1, 200, 18)), 0);     // the first title's text
  EXPECT_GT(pic.CountDark(CRect(0, 482, 200, 499)), 0);  // the second's, at the bottom

  // History: back and forward re-select by path and kind, also after the plug-in built
  // its items again and their handles changed.
  auto selectNamed = [&](const char* name) {
    for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h))
      if (tree->GetItemText(h) == name) tree->ClickItem(h, 0);
  };
  selectNamed("item6");  // a dated disc node
  selectNamed("item0");
  EXPECT_TRUE(pane->CanGoBack());
  main.m_changes.clear();
  EXPECT_TRUE(pane->GoBack());
  ASSERT_EQ(main.m_changes.size(), 1u);
  EXPECT_EQ(main.m_changes[0], "1|Full Tree 2|3|" + data + "\\item6||");
  m.RenewalTree(m.GetEntry(0), NULL);
  EXPECT_TRUE(pane->GoForward());
  EXPECT_EQ(main.m_changes.back(), "1|Full Tree 2|1|" + data + "\\item0\\||");
  EXPECT_EQ(tree->GetItemText(tree->GetSelectedItem()), "item0");
  EXPECT_FALSE(pane->GoForward());

  // The folder-type question: a block of this process's own send, else a failure.
  FOLDERTYPEQUERY ab = {4, 4}, differ = {4, 5};
  EXPECT_EQ(CMTLSendOwnMessage(pane->m_hWnd, WM_FOLDER_TYPE_QUERY, 0, (LPARAM)&ab), 0);
  EXPECT_EQ(CMTLSendOwnMessage(pane->m_hWnd, WM_FOLDER_TYPE_QUERY, 0, (LPARAM)&differ), E_FAIL);
  EXPECT_EQ(pane->SendMessage(WM_FOLDER_TYPE_QUERY, 0, (LPARAM)&ab), E_FAIL);
  EXPECT_EQ(pane->SendMessage(WM_FOLDER_TYPE_QUERY, 0, (LPARAM)0x10), E_FAIL);
  EXPECT_EQ(pane->SendMessage(WM_FOLDER_TYPE_QUERY, 0, 0), E_FAIL);

  // A drop: the plug-in gets a copy of the block, which is freed after the call.
  HGLOBAL hDrop = ::GlobalAlloc(GMEM_MOVEABLE, 64);
  main.m_changes.clear();
  EXPECT_EQ(tree->HandDrop(hDrop, DROPEFFECT_COPY, CPoint(5, 5)), S_OK);
  HGLOBAL hCopy = ((HGLOBAL(*)())::GetProcAddress(m.GetEntry(0)->m_hModule, "TestPluginLastDrop"))();
  EXPECT_NE(hCopy, hDrop);
  EXPECT_EQ(::GlobalSize(hCopy), 0u) << "the copy is freed";
  EXPECT_NE(::GlobalSize(hDrop), 0u) << "the caller's block is the caller's";
  ::GlobalFree(hDrop);

  // Menu states follow the plug-in's folder menu; the trees sub-menu lists both trees.
  CMenu file;
  file.CreatePopupMenu();
  for (UINT id : {ID_FILE_NEW_FOLDER, ID_FILE_RENAME, ID_FILE_DELETE, ID_FILE_PROPERTIES})
    file.AppendMenu(MF_STRING, id, "x");
  pane->OnInitMenuPopup(&file, 0, FALSE);
  EXPECT_EQ(file.GetMenuState(ID_FILE_RENAME, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(file.GetMenuState(ID_FILE_DELETE, MF_BYCOMMAND) & MF_GRAYED, (UINT)MF_GRAYED);
  file.DestroyMenu();
  CMenu view, trees;
  view.CreatePopupMenu();
  trees.CreatePopupMenu();
  view.AppendMenu(MF_STRING, 1, "a");
  view.AppendMenu(MF_STRING, 2, "b");
  view.AppendMenu(MF_POPUP, (UINT_PTR)trees.Detach(), "trees");
  pane->OnInitMenuPopup(&view, 2, FALSE);
  CMenu* pTrees = view.GetSubMenu(2);
  ASSERT_TRUE(pTrees);
  EXPECT_EQ(pTrees->GetMenuItemCount(), 2);
  EXPECT_EQ(pTrees->GetMenuState(ID_VIEW_TREE_FIRST + 1, MF_BYCOMMAND) & MF_CHECKED, (UINT)MF_CHECKED);
  view.DestroyMenu();
  // Rename through the File menu: the plug-in's folder command 1 asks for label editing.
  tree->SetFocus();
  pane->SendMessage(WM_COMMAND, ID_FILE_RENAME, 0);
  EXPECT_NE(tree->GetEditControl(), nullptr);
  tree->EndEditLabelNow(TRUE);

  // Hiding: the only open tree stays; the closed one goes.
  EXPECT_FALSE(pane->ToggleTree(0, TRUE));
  pane->SendMessage(WM_COMMAND, ID_VIEW_TREE_FIRST + 1, 0);  // View > trees > 2
  EXPECT_FALSE(pane->GetButton(1)->IsWindowVisible());

  fx.DestroyPane();
  EXPECT_EQ(CMGetProfileString("VxFolder\\FolderInfo", "CurrentTree"), "Full Tree 2");
  EXPECT_EQ(CMGetProfileInt("VxFolder\\FolderInfo", "Full Tree 2", -1), 3);
  EXPECT_EQ(CMGetProfileInt("VxFolder\\FolderInfo", "Second Tree 2", -1), 0);
}

// A plug-in whose real CreateTree fails loses its entry and its title button; a failing
// drop changes nothing.
TEST(FolderPane, FailingPlugins) {
  testsupport::ScopedProfileRoot root("folderpane");
  PluginFolder f;
  f.Put("tp_createfails.psp", "refusing.psp");  // priority 1: first, open, current
  f.Put("tp_deletefails.psp", "sticky.psp");
  PaneOver fx(f.dir);
  CMainStandIn& main = fx.main;
  CFView_Folder* pane = fx.pane;
  ASSERT_TRUE(pane);
  CTreePluginManager& m = pane->GetManager();
  ASSERT_EQ(pane->GetButtonCount(), 2);
  m.SetActive(m.GetEntry(1), TRUE);
  pane->SendMessage(WM_REFRESH_TREES, 0, 0);
  ASSERT_EQ(m.GetEntryCount(), 1);
  ASSERT_EQ(pane->GetButtonCount(), 1);
  EXPECT_EQ(pane->GetButton(0)->GetEntry(), m.GetEntry(0));
  CRect rc;
  pane->GetButton(0)->GetWindowRect(&rc);
  pane->ScreenToClient(&rc);
  EXPECT_EQ(rc.top, 1) << "laid out again";

  CPluginTreeCtrl* tree = m.GetEntry(0)->m_pTreeWnd;
  m.SetCurrent(m.GetEntry(0), pane);
  main.m_changes.clear();
  HGLOBAL hDrop = ::GlobalAlloc(GMEM_MOVEABLE, 64);
  EXPECT_EQ(tree->HandDrop(hDrop, DROPEFFECT_COPY, CPoint(5, 5)), E_FAIL);
  HGLOBAL hCopy = ((HGLOBAL(*)())::GetProcAddress(m.GetEntry(0)->m_hModule, "TestPluginLastDrop"))();
  EXPECT_EQ(::GlobalSize(hCopy), 0u) << "freed after a failing drop too";
  EXPECT_TRUE(main.m_changes.empty());
  ::GlobalFree(hDrop);
}

// A request from the third tree after another has the main window refresh its folders
// (posted, wParam the main window); moving between the others, or staying, posts nothing.
TEST(FolderPane, EnteringTheCardTreeRefreshes) {
  testsupport::ScopedProfileRoot root("folderpane");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");
  f.Put("tp_second.psp", "second.psp");
  f.Put("tp_deletefails.psp", "sticky.psp");
  ::SetEnvironmentVariableA("TESTPLUGIN_ROOT", "C:\\Root");
  PaneOver fx(f.dir);
  CFView_Folder* pane = fx.pane;
  ASSERT_TRUE(pane);
  CTreePluginManager& m = pane->GetManager();
  ASSERT_EQ(m.GetEntryCount(), 3);
  pane->SendMessage(WM_REFRESH_TREES, 0, 0);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(m.GetEntry(i)->m_pTreeWnd && m.GetEntry(i)->m_pTreeWnd->GetSafeHwnd()) << i;
  auto refreshes = [&] {
    int n = 0;
    MSG msg;
    while (::PeekMessageA(&msg, fx.main.m_hWnd, WM_REFRESH_FOLDERS, WM_REFRESH_FOLDERS, PM_REMOVE))
      n += msg.wParam == (WPARAM)fx.main.m_hWnd ? 1 : 100;
    return n;
  };
  auto requestFrom = [&](int entry, const char* folder) {
    std::string block(folder, strlen(folder) + 1);
    COPYDATASTRUCT cds = {0, (DWORD)block.size(), (void*)block.data()};
    pane->SendMessage(WM_COPYDATA, (WPARAM)m.GetEntry(entry)->m_pTreeWnd->m_hWnd, (LPARAM)&cds);
  };
  requestFrom(0, "|1|C:\\A\\||");
  refreshes();
  struct {
    int entry;
    int posted;
  } steps[] = {{1, 0}, {2, 1}, {2, 0}, {0, 0}, {2, 1}, {1, 0}};
  int n = 0;
  for (auto& s : steps) {
    std::string folder = "|1|C:\\F" + std::to_string(n++) + "\\||";
    requestFrom(s.entry, folder.c_str());
    EXPECT_EQ(refreshes(), s.posted) << "step " << n;
  }
}

// Navigation: the disk tree (the resource library's title) opens a typed folder; the
// browser's own change selects its tree by title and, on a database tree, comes back to
// the browser once 250 ms have passed; the classification tree's first group opens on
// message 1541; the history's counts; refreshes by mode.
TEST(FolderPane, NavigationAndBrowserChanges) {
  testsupport::ScopedProfileRoot root("folderpane");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");          // 3
  f.Put("tp_disk.psp", "disk.psp");          // 4
  f.Put("tp_classify.psp", "classify.psp");  // 6
  ItemFolders items("navdata");
  const std::string& data = items.dir;
  PaneOver fx(f.dir);
  CFView_Folder* pane = fx.pane;
  ASSERT_TRUE(pane);
  CTreePluginManager& m = pane->GetManager();
  ASSERT_EQ(m.GetEntryCount(), 3);
  const std::string disk = (LPCSTR)LoadResourceText(IDS_TREE_TITLE_DISK);
  const std::string classify = (LPCSTR)LoadResourceText(IDS_TREE_TITLE_CLASSIFY);
  ASSERT_EQ(std::string(m.GetTitle(m.GetEntry(1), m.GetKind(m.GetEntry(1)))), disk);
  pane->SendMessage(WM_REFRESH_TREES, 0, 0);
  std::vector<std::string>& changes = fx.main.m_changes;
  CPluginTreeCtrl* full = m.GetEntry(0)->m_pTreeWnd;
  auto named = [&](CPluginTreeCtrl* tree, const char* name) {
    for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h))
      if (tree->GetItemText(h) == name) return h;
    return (HTREEITEM)NULL;
  };
  auto counts = [&] {
    pane->SendMessage(WM_STORE_HISTORY_BACK, 0, 0);
    pane->SendMessage(WM_STORE_HISTORY_FORWARD, 0, 0);
    return std::to_string(CMGetProfileInt("VxFolder\\FolderInfo", "HistoryFolderBack", -1)) + "/" +
           std::to_string(CMGetProfileInt("VxFolder\\FolderInfo", "HistoryFolderForward", -1));
  };
  full->ClickItem(named(full, "item0"), 0);
  full->ClickItem(named(full, "item2"), 0);
  full->ClickItem(named(full, "item4"), 0);
  EXPECT_EQ(counts(), "3/0") << "the first refresh's empty selection, then three folders";
  EXPECT_TRUE(pane->GoBack());
  EXPECT_EQ(counts(), "2/1");
  // In a calendar the history and up stand still.
  for (int code : {10, 11}) {
    CMWriteProfileInt("DepthViewer", "Mode", code);
    EXPECT_FALSE(pane->CanGoBack() || pane->CanGoForward() || pane->CanGoUp()) << code;
  }
  CMWriteProfileInt("DepthViewer", "Mode", 1);
  EXPECT_TRUE(pane->CanGoBack() && pane->CanGoForward());

  // Go to a typed folder: the disk tree opens it, the text goes out as the disk tree's.
  CMenu go;
  go.CreatePopupMenu();
  go.AppendMenu(MF_STRING, ID_GO_OPEN_PATH, "x");
  pane->OnInitMenuPopup(&go, 13, FALSE);
  EXPECT_EQ(go.GetMenuState(ID_GO_OPEN_PATH, MF_BYCOMMAND) & MF_GRAYED, (UINT)MF_GRAYED) << "the disk tree is closed";
  changes.clear();
  EXPECT_TRUE(pane->OpenFolderPath((data + "\\item5\\\\").c_str()));
  ASSERT_GE(changes.size(), 1u);  // then the disk tree, focused, says what it shows
  EXPECT_EQ(changes[0], "2|" + disk + "|1|" + data + "\\item5\\||");
  EXPECT_TRUE(m.IsActive(m.GetEntry(1)));
  EXPECT_EQ(std::string(pane->GetCurrentTitle()), disk);
  pane->OnInitMenuPopup(&go, 13, FALSE);
  EXPECT_EQ(go.GetMenuState(ID_GO_OPEN_PATH, MF_BYCOMMAND) & MF_GRAYED, 0u);
  go.DestroyMenu();

  // The browser moved by itself: its tree becomes current; its text does not come back.
  CWnd browser;
  browser.CreateEx(0, "STATIC", "browser", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
  CFView_Folder::SetBrowserView(browser.m_hWnd);
  auto fromBrowser = [&](const std::string& text) {
    std::vector<char> block(text.begin(), text.end());
    block.push_back(0);
    COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)block.size(), block.data()};
    return pane->SendMessage(WM_COPYDATA, (WPARAM)browser.m_hWnd, (LPARAM)&cds);
  };
  changes.clear();
  const std::string moved = "1|Full Tree 2|1|" + data + "\\item1\\||";
  EXPECT_EQ(fromBrowser(moved), TRUE);
  EXPECT_EQ(std::string(pane->GetCurrentTitle()), "Full Tree 2");
  EXPECT_TRUE(pane->GetPendingText().empty());
  // A database tree answers with a list of its own: the browser's text goes back later.
  CMWriteProfileString("ImportPlugin\\Category", "Display", "Full Tree 2");
  EXPECT_EQ(fromBrowser(moved), TRUE);
  EXPECT_EQ(pane->GetPendingText(), moved);
  EXPECT_TRUE(changes.empty()) << "not at once";
  testsupport::WaitUntil([&] { return !changes.empty(); }, 2000);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], moved);
  EXPECT_TRUE(pane->GetPendingText().empty());
  // The number wins over a title that does not match it.
  EXPECT_EQ(fromBrowser("2|Wrong|1|" + data + "\\item3\\||"), TRUE);
  EXPECT_EQ(std::string(pane->GetCurrentTitle()), disk);
  CFView_Folder::SetBrowserView(NULL);
  browser.DestroyWindow();

  // Refresh by a mode other than -1 and 0: only the database trees are built again, and
  // the current one's selection is sent again.
  auto calls = [&](int entry) { return TakePluginCalls(m.GetEntry(entry)); };
  full->ClickItem(named(full, "item2"), 0);
  calls(0);
  calls(1);
  changes.clear();
  pane->SendMessage(WM_REFRESH_TREES, 0, 7);
  EXPECT_NE(calls(0).find("RenewalTree;"), std::string::npos);
  EXPECT_EQ(calls(1).find("RenewalTree;"), std::string::npos);
  ASSERT_EQ(changes.size(), 1u) << "the current tree was built again";
  pane->SendMessage(WM_REFRESH_TREES, 0, -1);
  EXPECT_NE(calls(1).find("RenewalTree;"), std::string::npos) << "-1: every tree";
  EXPECT_EQ(CMGetProfileInt("VxFolder\\FolderInfo", "Renewaling", -1), 0);

  // The document's settings hint reaches the plug-ins; the current tree's selection goes
  // out again only when it is the music tree. Other hints are not the pane's.
  CSendCommandObject settings(ID_MUSIC_DISPLAY_CHANGED), sort(ID_SORT_FIRST);
  calls(0);
  changes.clear();
  pane->OnUpdate(nullptr, 0, &sort);
  EXPECT_EQ(calls(0).find("ChangeSetting;"), std::string::npos);
  pane->OnUpdate(nullptr, 0, &settings);
  EXPECT_NE(calls(0).find("ChangeSetting;"), std::string::npos);
  EXPECT_TRUE(changes.empty());
  CMWriteProfileString("ImportPlugin\\Music", "Display", pane->GetCurrentTitle());
  pane->OnUpdate(nullptr, 0, &settings);
  EXPECT_EQ(changes.size(), 1u) << "the music tree says again what it shows";
  CMWriteProfileString("ImportPlugin\\Music", "Display", "");

  // A tree's walk has ended (1835): its selection is opened unless it is what the plug-in
  // stored as opened; the stored text is used up.
  full->ClickItem(named(full, "item2"), 0);
  changes.clear();
  m.SetCurrentFolder(" ");  // what the browser shows plays no part here
  CMWriteProfileString("VxFolder\\FolderInfo", "OpenFolder", ("Full|" + data + "\\ITEM2").c_str());
  pane->SendMessage(WM_OPEN_FOLDER, (WPARAM)full->m_hWnd, 0);
  EXPECT_TRUE(changes.empty()) << "the browser shows it already";
  EXPECT_EQ(CMGetProfileString("VxFolder\\FolderInfo", "OpenFolder", "unset"), "");
  pane->SendMessage(WM_OPEN_FOLDER, (WPARAM)full->m_hWnd, 0);
  ASSERT_EQ(changes.size(), 1u) << "nothing stored: the selection goes out";
  EXPECT_EQ(changes[0].substr(0, 19), "1|Full Tree 2,item2");

  // 1541: the classification tree's roots named by string 40020 open.
  CTreePluginEntry* pClassify = m.GetEntry(2);
  ASSERT_EQ(std::string(m.GetTitle(pClassify, m.GetKind(pClassify))), classify);
  pane->SelectTreeByTitle(classify.c_str(), "", FALSE);  // opened and made
  CPluginTreeCtrl* tree = pClassify->m_pTreeWnd;
  static const std::string dates = data + "\\dates";
  static PluginItemRecord record = {dates.c_str(), PLUGIN_ITEM_FOLDER, 0};
  HTREEITEM hDates = tree->InsertItem(LoadResourceText(IDS_CLASSIFY_GROUP_FIRST), TVI_ROOT);
  tree->SetItemData(hDates, (DWORD_PTR)&record);
  changes.clear();
  pane->SendMessage(WM_SELECT_CLASSIFY_ROOTS, 0, 0);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], "3|" + classify + "|1|" + dates + "\\||");
  EXPECT_EQ(tree->GetSelectedItem(), hDates);
  EXPECT_EQ(CMGetProfileInt("VxFolder\\FolderInfo", "Classify", -2), 3) << "the plug-in's folder type";
  fx.DestroyPane();
}

// Screenshots in the test's own process: a multi-selection shows both items marked and
// the one between plain; dragging the gap between two open trees draws the inverted band
// where the mouse is, and releasing it gives the upper tree what the band took.
TEST(FolderPane, ScreenshotsOfASelectionAndTheBand) {
  testsupport::ScopedProfileRoot root("folderpane");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");
  f.Put("tp_second.psp", "second.psp");
  ItemFolders items("shotdata");
  const std::string& data = items.dir;
  PaneOver fx(f.dir);
  CFView_Folder* pane = fx.pane;
  ASSERT_TRUE(pane);
  CTreePluginManager& m = pane->GetManager();
  pane->SendMessage(WM_REFRESH_TREES, 0, 0);
  CPluginTreeCtrl* upper = m.GetEntry(0)->m_pTreeWnd;
  auto named = [&](const char* name) {
    for (HTREEITEM h = upper->GetRootItem(); h; h = upper->GetNextSiblingItem(h))
      if (upper->GetItemText(h) == name) return h;
    return (HTREEITEM)NULL;
  };
  upper->ClickItem(named("item0"), 0);
  upper->ClickItem(named("item2"), MK_CONTROL);
  testsupport::PumpPending();
  {
    testsupport::Picture pic(upper->m_hWnd, testsupport::Picture::kClient);
    COLORREF marked = ::GetSysColor(COLOR_HIGHLIGHT);
    for (auto c : {std::make_pair("item0", true), std::make_pair("item1", false), std::make_pair("item2", true)}) {
      CRect rc;
      upper->GetItemRect(named(c.first), &rc, TRUE);
      EXPECT_EQ(pic.CountNear(rc, marked, 8) > 0, c.second) << c.first;
    }
  }

  // Both trees open: the band between them.
  m.SetActive(m.GetEntry(1), TRUE);
  m.SetCurrent(m.GetEntry(1), pane);
  m.SetTreeHeight(m.GetEntry(0), 200);
  m.SetTreeHeight(m.GetEntry(1), -1);
  pane->Relayout();
  testsupport::PumpPending();
  CRect rcUpper;
  upper->GetWindowRect(&rcUpper);
  pane->ScreenToClient(&rcUpper);
  int gap = rcUpper.bottom + 1;
  pane->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, gap));
  ASSERT_EQ(::GetCapture(), pane->m_hWnd) << "the drag started at " << gap;
  pane->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, gap - 60));
  // Read from the pane's own surface as it is: a repaint would take the band away.
  auto inverted = [&](int y) {
    CClientDC dc(pane);
    int n = 0;
    for (int dy = 0; dy < 4; ++dy)
      for (int x = 0; x < 2; ++x) n += dc.GetPixel(x, y + dy) != RGB(59, 79, 92);
    return n;
  };
  EXPECT_GT(inverted(gap - 60), 0) << "the band is drawn at the mouse";
  EXPECT_EQ(inverted(gap - 30), 0) << "and nowhere else";
  auto calls = [&](int entry) { return TakePluginCalls(m.GetEntry(entry)); };
  calls(0);
  pane->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(50, gap - 60));
  EXPECT_NE(calls(0).find("SetTreeHeight;"), std::string::npos) << "the upper tree's new height goes to its plug-in";
  fx.DestroyPane();
}

}  // namespace

// The frame passes the system's power notices on: back from a suspension the screen may
// hold anything, and the pane draws itself and its trees again at once. Message 1834 is
// answered 0 and changes nothing.
TEST(FolderPane, PowerNoticesRepaintAnd1834IsAccepted) {
  testsupport::ScopedProfileRoot root("folderpane-power");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");
  ItemFolders items("panepower");
  PaneOver fx(f.dir);
  CFView_Folder* pane = fx.pane;
  ASSERT_TRUE(pane);
  pane->SendMessage(WM_REFRESH_TREES, 0, 0);
  testsupport::PumpPending();
  fx.main.m_changes.clear();
  EXPECT_EQ(pane->SendMessage(WM_FOLDER_ACCEPTED, 1, 2), 0);
  EXPECT_TRUE(fx.main.m_changes.empty());

  // Something drew over the pane and its tree, and nothing told them.
  CRect rc;
  pane->GetWindowRect(&rc);
  const COLORREF scribble = RGB(250, 0, 250);
  HDC dc = ::GetDCEx(pane->m_hWnd, NULL, DCX_WINDOW | DCX_CACHE);
  HBRUSH brush = ::CreateSolidBrush(scribble);
  CRect whole(0, 0, rc.Width(), rc.Height());
  ::FillRect(dc, &whole, brush);
  ::DeleteObject(brush);
  ::ReleaseDC(pane->m_hWnd, dc);
  // What the pane's surface holds now, without asking it to paint.
  auto scribbled = [&] {
    HDC window = ::GetDCEx(pane->m_hWnd, NULL, DCX_WINDOW | DCX_CACHE);
    HDC copy = ::CreateCompatibleDC(window);
    HBITMAP bitmap = ::CreateCompatibleBitmap(window, rc.Width(), rc.Height());
    HGDIOBJ old = ::SelectObject(copy, bitmap);
    ::BitBlt(copy, 0, 0, rc.Width(), rc.Height(), window, 0, 0, SRCCOPY);
    int n = 0;
    for (int y = 0; y < rc.Height(); ++y)
      for (int x = 0; x < rc.Width(); ++x) n += ::GetPixel(copy, x, y) == scribble;
    ::SelectObject(copy, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(copy);
    ::ReleaseDC(pane->m_hWnd, window);
    return n;
  };
  ASSERT_GT(scribbled(), rc.Width() * rc.Height() / 2);
  pane->SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_EQ(scribbled(), 0);
}
