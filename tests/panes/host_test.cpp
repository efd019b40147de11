// The tree and tool plug-in hosts with real plug-in libraries: discovery, order,
// registry keys, the contract's fallbacks and the calling order seen by a plug-in.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <VxBDCore.h>

#include <string>
#include <vector>

#include "PluginTreeCtrl.h"
#include "ToolPluginManager.h"
#include "TreePluginManager.h"
#include "files.h"
#include "plugintest.h"
#include "profileroot.h"

namespace {

std::string Titles(CTreePluginManager& m) {
  std::string s;
  for (int i = 0; i < m.GetEntryCount(); ++i) s += std::string(m.GetEntry(i)->m_strTitle) + ";";
  return s;
}

std::string Calls(CTreePluginEntry* p) {
  char sz[4096] = "";
  auto fn = (int (*)(char*, int))::GetProcAddress(p->m_hModule, "TestPluginCalls");
  if (fn) fn(sz, sizeof sz);
  return sz;
}

TEST(TreeHost, DiscoveryOrderFilterAndKeys) {
  testsupport::ScopedProfileRoot root("treehost");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");                             // 3
  f.Put("tp_second.psp", "second.psp");                         // 0 counts as 11
  f.Put("tp_window.psp", "window.psp");                         // OpenWindow only: dropped
  f.Put("tp_failmain.psp", "failmain.psp");                     // fails DllMain: skipped
  f.Put("testplugdep.dll", "srplugins\\dep\\testplugdep.dll");  // beside its plug-in
  f.Put("tp_dependent.psp", "srplugins\\dep\\dependent.psp");   // 2
  f.Put("tp_negative.psp", "srplugins\\日本語\\negative.psp");  // -4
  {
    std::string bad = f.dir + "\\notadll.psp";
    FILE* fp = fopen(bad.c_str(), "wb");
    fputs("MZ but nothing else", fp);
    fclose(fp);
  }
  char szBefore[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, szBefore);
  CMWriteProfileString("ImportPlugin\\Stale", "Display", "x");
  CTreePluginManager m(f.dir.c_str());
  char szAfter[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, szAfter);
  EXPECT_STREQ(szBefore, szAfter);
  ASSERT_EQ(Titles(m), "Negative;Dependent;Full;Second;");
  EXPECT_EQ(m.GetEntry(3)->m_nPriority, 11);
  // The keys: the old section is gone, each entry numbered from 1 with its title text.
  EXPECT_EQ(CMGetProfileString("ImportPlugin\\Stale", "Display", "none"), "none");
  EXPECT_EQ(CMGetProfileString("ImportPlugin\\Full", "Display"), "Full Tree 2");  // OpenWindow: kind 2
  EXPECT_EQ(CMGetProfileInt("ImportPlugin\\Full", "ID", 0), 3);
  EXPECT_EQ(CMGetProfileInt("ImportPlugin\\Negative", "ID", 0), 1);
  // Loading asks the title and the priority, and for the keys OpenWindow's kind and the title.
  EXPECT_EQ(Calls(m.GetEntry(2)), "GetPluginTitle;GetPriority;GetNumOfType;GetTitle;");
}

// Only a library whose path holds "CardTree.psp" (case-sensitive) and that exports the
// hand-over gets the integrator; all such libraries share the one core object the host keeps.
TEST(TreeHost, CardTreeGetsTheIntegrator) {
  testsupport::ScopedProfileRoot root("treehost");
  PluginFolder f;
  f.Put("tp_full.psp", "CardTree.psp");
  f.Put("tp_negative.psp", "srplugins\\card\\CardTree.psp");
  f.Put("tp_second.psp", "srplugins\\other\\cardtree.psp");
  CTreePluginManager m(f.dir.c_str());
  ASSERT_EQ(Titles(m), "Negative;Full;Second;");
  ASSERT_NE(m.GetBDCore(), nullptr);
  void* pIntegrator = m.GetBDCore()->GetIntegrator();
  ASSERT_NE(pIntegrator, nullptr);
  typedef void* (*IntegratorFn)();
  for (int i = 0; i < 3; ++i) {
    CTreePluginEntry* p = m.GetEntry(i);
    bool card = i < 2;
    auto fn = (IntegratorFn)::GetProcAddress(p->m_hModule, "TestPluginIntegrator");
    ASSERT_TRUE(fn);
    EXPECT_EQ(fn(), card ? pIntegrator : nullptr) << p->m_strPath;
    // Handed at load, right after the title and the priority.
    EXPECT_EQ(Calls(p).rfind(card ? "GetPluginTitle;GetPriority;SetBDCoreIntegrator;" : "GetPluginTitle;GetPriority;GetNumOfType", 0), 0u)
        << Calls(p);
  }
}

TEST(TreeHost, NoCardTreeNoCore) {
  testsupport::ScopedProfileRoot root("treehost");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");
  CTreePluginManager m(f.dir.c_str());
  EXPECT_EQ(m.GetBDCore(), nullptr);
  EXPECT_EQ(Calls(m.GetEntry(0)).find("SetBDCoreIntegrator"), std::string::npos);
}

TEST(TreeHost, FallbacksPerExport) {
  testsupport::ScopedProfileRoot root("treehost");
  PluginFolder f;
  f.Put("tp_bare.psp", "bare.psp");
  f.Put("tp_full.psp", "full.psp");
  CTreePluginManager m(f.dir.c_str());
  ASSERT_EQ(m.GetEntryCount(), 2);
  CTreePluginEntry* full = m.GetEntry(0);
  CTreePluginEntry* bare = m.GetEntry(1);
  CTreePluginEntry none;  // an entry of no manager: no module
  HRESULT hr = 0;
  // missing export / no module
  EXPECT_EQ(m.GetPriority(bare), 11);
  EXPECT_EQ(m.GetTreeHeight(bare), -1);
  EXPECT_EQ(m.GetTreeHeight(&none), -1);
  EXPECT_EQ(m.SetTreeHeight(bare, 5), 0);
  EXPECT_EQ(m.GetFolderTypeNum(bare), -1);
  int n = 0;
  EXPECT_EQ(m.GetNumOfType(bare, &n), E_PLUGIN_NOT_SUPPORTED);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(m.GetKind(bare), 0);
  EXPECT_EQ(m.GetTitle(bare, 0, &hr), "");
  EXPECT_EQ(hr, E_PLUGIN_NOT_SUPPORTED);
  EXPECT_EQ(m.GetTitle(&none, 0, &hr), "");
  EXPECT_EQ(hr, E_PLUGIN_NO_MODULE);
  for (CTreePluginEntry* p : {bare, &none}) {
    HRESULT want = p == bare ? E_PLUGIN_NOT_SUPPORTED : E_PLUGIN_NO_MODULE;
    EXPECT_FALSE(m.IsDoThread(p));
    EXPECT_FALSE(m.IsMultiSelectTreeItem(p));
    EXPECT_FALSE(m.IsNotifyTree(p));
    EXPECT_FALSE(m.IsDragAndDrop(p));
    EXPECT_EQ(m.ExpandTree(p, NULL), want);
    EXPECT_EQ(m.IsFolderType(p, 1, 1), want);
    EXPECT_EQ(m.OpenWindow(p, 0, NULL), want);
    EXPECT_EQ(m.Drop(p, NULL, 0, 0, 0), want);
    EXPECT_EQ(m.FolderMenu(p, 0, &hr), 0u);
    EXPECT_EQ(hr, want);
  }
  // present
  EXPECT_TRUE(m.IsMultiSelectTreeItem(full));
  EXPECT_FALSE(m.IsNotifyTree(full));  // answers 1: no
  EXPECT_EQ(m.GetTreeHeight(full), 120);
  EXPECT_EQ(m.GetFolderTypeNum(full), 3);
  EXPECT_EQ(m.IsFolderType(full, 2, 2), S_OK);
  EXPECT_EQ(m.GetKind(full), 2);
  EXPECT_EQ(m.GetToolTips(full, 2), "Full tip");
  EXPECT_EQ(m.FolderMenu(full, 1), (DWORD)PLUGIN_ACTION_EDIT_LABEL);
  EXPECT_EQ(m.ContextMenu(full, 1, 1), (DWORD)PLUGIN_ACTION_RELOAD);  // unknown bits dropped
  DWORD effect = DROPEFFECT_COPY;                                     // what the drag allows
  EXPECT_EQ(m.DragOver(full, NULL, 0, 1, 1, &effect, NULL), S_OK);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_COPY);  // the plug-in asked for more
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(m.DragOver(bare, NULL, 0, 1, 1, &effect, NULL), E_PLUGIN_NOT_SUPPORTED);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_NONE);
  EXPECT_EQ(m.OpenWindow(full, 2, NULL), S_OK);
  EXPECT_EQ(m.GetCurrentFolder(), "C:\\Opened");
  // Not created yet: the text only becomes the current folder.
  EXPECT_EQ(m.SelectFolder(full, "D:\\X"), S_OK);
  EXPECT_EQ(m.GetCurrentFolder(), "D:\\X");
  EXPECT_EQ(Calls(full).find("SelectFolder"), std::string::npos);
}

TEST(TreeHost, GarbageAndThrowingPlugins) {
  testsupport::ScopedProfileRoot root("treehost");
  PluginFolder f;
  f.Put("tp_garbage.psp", "garbage.psp");
  f.Put("tp_throwing.psp", "throwing.psp");
  CTreePluginManager m(f.dir.c_str());
  ASSERT_EQ(m.GetEntryCount(), 2);
  CTreePluginEntry* garbage = m.GetEntry(0)->m_strTitle == "Throwing" ? m.GetEntry(1) : m.GetEntry(0);
  CTreePluginEntry* throwing = garbage == m.GetEntry(0) ? m.GetEntry(1) : m.GetEntry(0);
  EXPECT_EQ(garbage->m_strTitle.GetLength(), 259);  // no NUL written: cut
  EXPECT_EQ(garbage->m_nPriority, 11);              // unwritten
  EXPECT_EQ(m.GetTitle(garbage, 0).GetLength(), 259);
  EXPECT_EQ(m.GetTreeHeight(garbage), -1);      // -7 stored
  EXPECT_EQ(m.ContextMenu(garbage, 0, 0), 0u);  // wrote nothing
  EXPECT_EQ(m.FolderMenu(garbage, 0), 0x5u);    // unknown bits dropped
  // Every export of the throwing plug-in throws: answered as failures.
  EXPECT_EQ(throwing->m_strTitle, "");
  EXPECT_EQ(throwing->m_nPriority, 11);
  EXPECT_FALSE(m.IsMultiSelectTreeItem(throwing));
  EXPECT_EQ(m.ExpandTree(throwing, NULL), E_FAIL);
  EXPECT_EQ(m.FolderMenu(throwing, 0), 0u);
  EXPECT_EQ(m.GetTitle(throwing, 0), "");
}

// The pane as the trees see it: it keeps the texts they send.
class CTestPane : public CWnd {
 public:
  std::vector<std::string> m_texts;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COPYDATA) {
      const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      m_texts.push_back(std::string((const char*)cds->lpData, cds->cbData));
      return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// The pane's side: tree windows, the probe, the real CreateTree and the end of the trees.
TEST(TreeHost, TreeWindowsProbeAndCreation) {
  testsupport::ScopedProfileRoot root("treehost");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");
  f.Put("tp_bare.psp", "bare.psp");
  f.Put("tp_notready.psp", "notready.psp");
  f.Put("tp_throwing.psp", "throwing.psp");
  f.Put("tp_deletefails.psp", "sticky.psp");
  CTestPane pane;
  ASSERT_TRUE(pane.CreateEx(0, "STATIC", "pane", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 200, 400, nullptr, nullptr))
      << ::GetLastError();
  HMODULE hSticky = NULL;
  ::SetEnvironmentVariableA("TESTPLUGIN_ROOT", "C:\\Root");
  {
    CTreePluginManager m(f.dir.c_str());
    ASSERT_EQ(m.GetEntryCount(), 5);
    // Only the plug-ins whose probe passed keep a tree: no CreateTree, not ready, a
    // throwing probe lose it; the window ids count the kept ones.
    m.CreateTreeWindows(&pane);
    EXPECT_EQ(Titles(m), "Full;Sticky;");
    CTreePluginEntry* full = m.GetEntry(0);
    ASSERT_TRUE(full->m_pTreeWnd);
    EXPECT_EQ(full->m_pTreeWnd->GetDlgCtrlID(), 1000);
    EXPECT_EQ(m.GetEntry(1)->m_pTreeWnd->GetDlgCtrlID(), 1001);
    EXPECT_TRUE(full->m_pTreeWnd->IsMultiSelect());
    EXPECT_FALSE(m.IsTreeCreated(full));
    // SelectFolder reaches the plug-in once the tree is created.
    m.SetActive(full, TRUE);
    EXPECT_EQ(m.SetCurrent(full, &pane), S_OK);
    EXPECT_TRUE(m.IsTreeCreated(full));
    EXPECT_TRUE(m.GetEntry(1)->m_bNotCurrent);
    EXPECT_EQ(Calls(full),
              "GetPluginTitle;GetPriority;GetNumOfType;GetTitle;IsMultiSelectTreeItem;IsNotifyTree;CreateTree;"
              "CreateTree;");
    EXPECT_EQ(full->m_pTreeWnd->GetCount(), 7u);
    EXPECT_EQ(m.SelectFolder(full, "C:\\Y"), 1);
    EXPECT_EQ(m.RenewalTree(full, NULL), S_OK);
    // The tree base's operations through the host's object, from the plug-in's side.
    CPluginTreeCtrl* tree = full->m_pTreeWnd;
    HTREEITEM h0 = tree->GetRootItem();  // a folder item (kind 0)
    while (h0 && tree->GetItemText(h0) != "item0") h0 = tree->GetNextSiblingItem(h0);
    tree->SelectAll(TRUE);
    EXPECT_EQ(tree->GetSelectedCount(), 7u);
    auto use = (int (*)(CTreeCtrl*, HTREEITEM))::GetProcAddress(full->m_hModule, "TestPluginUseTree");
    ASSERT_TRUE(use);
    EXPECT_EQ(use(tree, h0), 1);
    EXPECT_EQ(tree->GetSelectedItem(), h0);
    // The selection goes to the pane as its request, padded, then to the plug-in.
    pane.m_texts.clear();
    using ClearFn = void (*)();
    ((ClearFn)::GetProcAddress(full->m_hModule, "TestPluginClearCalls"))();
    tree->SendFolderChange();
    ASSERT_EQ(pane.m_texts.size(), 1u);
    EXPECT_EQ(pane.m_texts.back(), std::string("|1|C:\\Root\\item0\\||\0\0\0\0\0", 24));
    EXPECT_EQ(Calls(full), "IsDoThread;SelectTreeItem;");
    // While the plug-in's folder thread walks, the folder it walks to stands for the items.
    auto setAnswer = (void (*)(const char*, long))::GetProcAddress(full->m_hModule, "TestPluginSetAnswer");
    ASSERT_TRUE(setAnswer);
    setAnswer("IsDoThread", 0);
    CMWriteProfileString("VxFolder\\FolderInfo", "OpenFolder", "Disk|C:\\Walked");
    pane.m_texts.clear();
    tree->SendFolderChange();
    ASSERT_EQ(pane.m_texts.size(), 1u);
    EXPECT_EQ(pane.m_texts.back().substr(0, 15), "|1|C:\\Walked\\||");
    setAnswer("IsDoThread", 1);
    // DeleteTree per root item; the sticky plug-in's failure keeps its library mapped.
    CTreePluginEntry* sticky = m.GetEntry(1);
    EXPECT_EQ(m.SetCurrent(sticky, &pane), S_OK);
    EXPECT_EQ(m.DeleteTree(sticky, NULL), E_FAIL);
    EXPECT_TRUE(sticky->m_bKeepLoaded);
    EXPECT_EQ(m.DeleteTree(full, NULL), S_OK);
    EXPECT_FALSE(full->m_bKeepLoaded);
    hSticky = sticky->m_hModule;
  }
  char sz[MAX_PATH];
  EXPECT_GT(::GetModuleFileNameA(hSticky, sz, MAX_PATH), 0u) << "still loaded";
  pane.DestroyWindow();
}

// The texts of a folder group and a music folder over real folders.
TEST(TreeHost, KindTextsOverFolders) {
  testsupport::ScopedProfileRoot root("treehost");
  PluginFolder f;
  f.Put("tp_full.psp", "full.psp");
  std::string data = testsupport::NewTempFolder("kinds");
  for (const char* file : {"item2\\a.jpg", "item2\\title.txt", "item5\\x.mp3", "item5\\sub\\y.WAV", "item5\\z.txt"}) {
    std::string path = data + "\\" + file;
    testsupport::MakeFolders(path.substr(0, path.find_last_of('\\')));
    ASSERT_TRUE(testsupport::WriteWholeFile(path, "x"));
  }
  ::SetEnvironmentVariableA("TESTPLUGIN_ROOT", data.c_str());
  CTestPane pane;
  ASSERT_TRUE(pane.CreateEx(0, "STATIC", "pane", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 200, 400, nullptr, nullptr));
  {
    CTreePluginManager m(f.dir.c_str());
    m.CreateTreeWindows(&pane);
    ASSERT_EQ(m.SetCurrent(m.GetEntry(0), &pane), S_OK);
    CPluginTreeCtrl* tree = m.GetEntry(0)->m_pTreeWnd;
    auto textOf = [&](const char* name) {
      for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h))
        if (tree->GetItemText(h) == name) tree->SelectOnly(h);
      tree->SelectAllExcept(FALSE, tree->GetSelectedItem());
      pane.m_texts.clear();
      tree->SendFolderChange();
      return pane.m_texts.empty() ? std::string("none") : std::string(pane.m_texts.back().c_str());
    };
    EXPECT_EQ(textOf("item2"), ",item2|2|" + data + "\\item2\\a.jpg|1||");  // title.txt left out
    EXPECT_EQ(textOf("item5"), ",\"42\",1|,2|" + data + "\\item5\\sub\\y.WAV|1||" + data + "\\item5\\x.mp3|1||");
  }
  pane.DestroyWindow();
  testsupport::RemoveTree(data);
}

// Two plug-ins of one title share their section, the later one's values standing; equal
// priorities both load. A second manager over the same folder (the toolbar's) keeps its
// libraries when the first one goes.
TEST(TreeHost, EqualTitlesAndTwoManagers) {
  testsupport::ScopedProfileRoot root("treehost");
  PluginFolder f;
  f.Put("tp_full.psp", "a.psp");  // "Full", 3
  f.Put("tp_full.psp", "b.psp");  // the same plug-in under another name
  f.Put("tp_second.psp", "c.psp");
  auto* first = new CTreePluginManager(f.dir.c_str());
  ASSERT_EQ(Titles(*first), "Full;Full;Second;");
  EXPECT_EQ(CMGetProfileInt("ImportPlugin\\Full", "ID", 0), 2) << "the later entry's number";
  EXPECT_EQ(CMGetProfileString("ImportPlugin\\Full", "Display"), "Full Tree 2");
  CTreePluginManager second(f.dir.c_str());
  ASSERT_EQ(second.GetEntryCount(), 3);
  delete first;
  EXPECT_EQ(second.GetTitle(second.GetEntry(0), 2), "Full Tree 2") << "still loaded";
  EXPECT_EQ(second.GetPriority(second.GetEntry(1)), 3);
}

TEST(ToolHost, PrioritiesAndFallbacks) {
  PluginFolder f;
  f.Put("tt_first.psy", "first.psy");
  f.Put("tt_default.psy", "default.psy");
  f.Put("tp_full.psp", "notatool.psp");
  CToolPluginManager m(f.dir.c_str());
  ASSERT_EQ(m.GetEntryCount(), 2);
  EXPECT_EQ(m.GetEntry(0)->m_nPriority, 7);
  EXPECT_EQ(m.GetEntry(1)->m_nPriority, 1000);
  EXPECT_TRUE(m.HasOpenWindow(m.GetEntry(0)));
  EXPECT_EQ(m.OpenWindow(m.GetEntry(0), 3, NULL), 3);
  EXPECT_EQ(m.OpenDropWindow(m.GetEntry(0), 3, NULL, NULL), E_PLUGIN_NOT_SUPPORTED);
  HRESULT hr;
  EXPECT_EQ(m.GetTitle(m.GetEntry(0), 0, &hr), "");
  EXPECT_EQ(hr, E_PLUGIN_NOT_SUPPORTED);
  EXPECT_EQ(m.OpenWindow(NULL, 0, NULL), E_PLUGIN_NO_MODULE);
}

}  // namespace
