// The folder pane with real test plug-ins: sections and their layout, hiding the last open
// tree refused, the folder changes sent to the main window (once per folder), malformed
// texts from other windows ignored, the state kept in the profile; a screenshot.
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

namespace {

TEST(FolderPane, SectionsChangesAndState) {
  testsupport::ScopedProfileRoot root("folderpane");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");      // priority 3: the first section
  f.Put("tp_second.psp", "second.psp");  // 11
  f.Put("tp_bare.psp", "bare.psp");      // no tree: dropped
  // The items' folders exist: a user's click onto a missing one is refused.
  std::string data = testsupport::NewTempFolder("panedata");
  for (int k = 0; k <= 6; ++k) ::CreateDirectoryA((data + "\\item" + std::to_string(k)).c_str(), NULL);
  ::SetEnvironmentVariableA("TESTPLUGIN_ROOT", data.c_str());
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

  // The folder-type question: two ints of ours, else a failure.
  int ab[2] = {4, 4}, differ[2] = {4, 5};
  EXPECT_EQ(pane->SendMessage(WM_FOLDER_TYPE_QUERY, 0, (LPARAM)ab), 0);
  EXPECT_EQ(pane->SendMessage(WM_FOLDER_TYPE_QUERY, 0, (LPARAM)differ), E_FAIL);
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
  testsupport::RemoveTree(data);
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

}  // namespace
