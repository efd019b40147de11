// DiskTree in the folder pane, driven as a user drives it: a folder dropped and a cut
// folder pasted into folders never opened, F5 after another program made a folder, a
// label edited, the selection seen while the tree has no focus, and a drag held at the
// tree's lower edge until a folder out of sight can take the drop.
#include <FolderTreePlugin.h>
#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>
#include <filedrop.h>
#include <files.h>
#include <gtest/gtest.h>
#include <picture.h>
#include <profileroot.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>
#include <testmain.h>
#include <textkit/text.h>

#include <memory>
#include <string>

#include "FView_Folder.h"
#include "PluginTreeCtrl.h"
#include "TreePluginManager.h"
#include "panefixture.h"

static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A program folder of its own holding DiskTree and its resources, the folder pane over it
// with the disk tree made by the pane's first refresh, and a scratch folder of folders.
struct DiskPane {
  testsupport::ScopedProfileRoot profile;
  const std::string plugins = testsupport::NewTempFolder("dpane-plugins");
  const std::string root = testsupport::NewTempFolder("dpane");
  std::unique_ptr<PaneOver> fx;
  CTreePluginEntry* entry = nullptr;
  CPluginTreeCtrl* tree = nullptr;

  explicit DiskPane(const char* name) : profile(name) {
    for (const char* file : {"DiskTree.psp", "VxResource.dll"})
      CopyFileA((testsupport::ProgramFolder() + "\\" + file).c_str(), (plugins + "\\" + file).c_str(), FALSE);
    fx.reset(new PaneOver(plugins));
    if (!fx->pane || fx->pane->GetManager().GetEntryCount() != 1) return;
    // Wide enough for the labels of the deep temporary folders.
    fx->main.SetWindowPos(nullptr, 0, 0, 560, 502, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    fx->pane->MoveWindow(0, 0, 560, 502);
    fx->pane->SendMessage(WM_REFRESH_TREES, 0, 0);  // the first refresh makes the tree
    entry = fx->pane->GetManager().GetEntry(0);
    tree = entry->m_pTreeWnd;
  }
  ~DiskPane() {
    fx.reset();  // the plug-in goes with the pane
    testsupport::RemoveTree(root);
    testsupport::RemoveTree(plugins);
  }
  template <class F>
  F Export(const char* name) {
    return reinterpret_cast<F>(GetProcAddress(entry->m_hModule, name));
  }
  std::string PathOf(HTREEITEM item) {
    auto* r = item ? reinterpret_cast<PluginItemRecord*>(tree->GetItemData(item)) : nullptr;
    return r && r->path ? r->path : "";
  }
  HTREEITEM Find(HTREEITEM from, const std::string& path) {
    for (HTREEITEM i = from; i; i = tree->GetNextSiblingItem(i)) {
      if (textkit::EqualNoCase(PathOf(i), path)) return i;
      if (HTREEITEM c = tree->GetChildItem(i))
        if (HTREEITEM f = Find(c, path)) return f;
    }
    return nullptr;
  }
  // The item of a folder below parent once it is there: a level comes in batches.
  HTREEITEM Child(HTREEITEM parent, const std::string& path) {
    HTREEITEM found = nullptr;
    testsupport::WaitUntil([&] { return (found = Find(tree->GetChildItem(parent), path)) != nullptr; }, 10000);
    return found;
  }
  // Walks the tree down to the folder (as opening it by its path does), opens its item as
  // a click on its button does, and scrolls it to the top; the item once its children are
  // in, or null.
  HTREEITEM OpenFolder(const std::string& path) {
    if (Export<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect")(tree, CString(path.c_str())) != S_OK)
      return nullptr;
    HTREEITEM item = tree->GetSelectedItem();
    if (!Open(item)) return nullptr;
    ScrollToTop(item);
    return item;
  }
  // Scrolls line by line, as the scroll bar's arrows do, until the item is the first row.
  void ScrollToTop(HTREEITEM item) {
    CRect row;
    for (int step = 0; step < 500 && tree->GetFirstVisibleItem() != item && tree->GetItemRect(item, &row, FALSE);
         ++step)
      tree->SendMessage(WM_VSCROLL, MAKEWPARAM(row.top < 0 ? SB_LINEUP : SB_LINEDOWN, 0), 0);
  }
  // A click on the item's button: the host fills the level, in batches from a timer.
  bool Open(HTREEITEM item) {
    tree->Expand(item, TVE_EXPAND);
    return testsupport::WaitUntil(
        [&] { return (tree->GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) && tree->GetChildItem(item); }, 10000);
  }
  bool HasButton(HTREEITEM item) {
    TVITEMA tv = {};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = item;
    return tree->GetItem(&tv) && tv.cChildren != 0;
  }
  // The screen point at the middle of an item's label.
  POINTL LabelPoint(HTREEITEM item) {
    CRect rc;
    tree->GetItemRect(item, &rc, TRUE);
    CPoint pt = rc.CenterPoint();
    tree->ClientToScreen(&pt);
    return POINTL{pt.x, pt.y};
  }
};

// Files on their way through OLE's drop target of the pane's tree.
struct FileDrag {
  COleDataSource source;
  explicit FileDrag(const std::vector<std::string>& paths) {
    source.CacheGlobalData(CF_HDROP, testsupport::MakeFileDrop(paths));
  }
  IDataObject* Data() { return source.GetIDataObject(FALSE); }
};

// The drop's hand-over to the plug-in is posted to the tree once OLE's drop is over.
void AfterTheDrop() { testsupport::PumpPending(); }

}  // namespace

// A folder dropped onto a folder never opened gets there and can be reached: the target
// shows its button, and opening it shows the dropped folder.
TEST(DiskTreeInThePane, ADroppedFolderCanBeReachedInAFolderNeverOpened) {
  DiskPane p("dpane-drop");
  ASSERT_TRUE(p.tree);
  testsupport::MakeFolders(p.root + "\\leaf");
  testsupport::MakeFolders(p.root + "\\album\\2024");
  HTREEITEM top = p.OpenFolder(p.root);
  ASSERT_TRUE(top);
  HTREEITEM leaf = p.Child(top, p.root + "\\leaf");
  ASSERT_TRUE(leaf);
  EXPECT_FALSE(p.HasButton(leaf)) << "an empty folder has nothing to open";

  FileDrag drag({p.root + "\\album"});
  IDropTarget* target = &p.tree->GetDropTarget().m_xDropTarget;
  const POINTL pt = p.LabelPoint(leaf);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  ASSERT_EQ(target->DragEnter(drag.Data(), MK_LBUTTON, pt, &effect), S_OK);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_MOVE) << "a folder of the same drive is moved";
  ASSERT_EQ(target->Drop(drag.Data(), 0, pt, &effect), S_OK);
  AfterTheDrop();
  ASSERT_TRUE(Exists(p.root + "\\leaf\\album\\2024"));

  leaf = p.Child(top, p.root + "\\leaf");
  ASSERT_TRUE(leaf);
  EXPECT_TRUE(p.HasButton(leaf));
  ASSERT_TRUE(p.Open(leaf));
  EXPECT_TRUE(p.Child(leaf, p.root + "\\leaf\\album"));
}

// A cut folder pasted into a folder never opened, by the pane's Edit commands: the same.
TEST(DiskTreeInThePane, APastedFolderCanBeReachedInAFolderNeverOpened) {
  DiskPane p("dpane-paste");
  ASSERT_TRUE(p.tree);
  testsupport::MakeFolders(p.root + "\\leaf");
  testsupport::MakeFolders(p.root + "\\album\\2024");
  HTREEITEM top = p.OpenFolder(p.root);
  ASSERT_TRUE(top);
  HTREEITEM album = p.Child(top, p.root + "\\album");
  ASSERT_TRUE(album);
  p.tree->ClickItem(album, 0);
  p.fx->pane->SendMessage(WM_COMMAND, ID_EDIT_CUT, 0);
  HTREEITEM leaf = p.Child(top, p.root + "\\leaf");
  ASSERT_TRUE(leaf);
  EXPECT_FALSE(p.HasButton(leaf));
  p.tree->ClickItem(leaf, 0);
  p.fx->pane->SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0);
  testsupport::PumpPending();
  ASSERT_TRUE(Exists(p.root + "\\leaf\\album\\2024"));
  EXPECT_FALSE(Exists(p.root + "\\album"));

  leaf = p.Child(top, p.root + "\\leaf");
  ASSERT_TRUE(leaf);
  EXPECT_TRUE(p.HasButton(leaf));
  ASSERT_TRUE(p.Open(leaf));
  EXPECT_TRUE(p.Child(leaf, p.root + "\\leaf\\album"));
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

// F5 after another program made a folder in one never opened: its button comes, and a
// folder that lost its last sub-folder loses it.
TEST(DiskTreeInThePane, RefreshGivesAFolderNeverOpenedTheButtonOfWhatItHolds) {
  DiskPane p("dpane-refresh");
  ASSERT_TRUE(p.tree);
  testsupport::MakeFolders(p.root + "\\leaf");
  testsupport::MakeFolders(p.root + "\\full\\only");
  HTREEITEM top = p.OpenFolder(p.root);
  ASSERT_TRUE(top);
  ASSERT_FALSE(p.HasButton(p.Child(top, p.root + "\\leaf")));
  ASSERT_TRUE(p.HasButton(p.Child(top, p.root + "\\full")));

  testsupport::MakeFolders(p.root + "\\leaf\\made");
  RemoveDirectoryA((p.root + "\\full\\only").c_str());
  p.fx->pane->SendMessage(WM_REFRESH_FOLDERS, 0, 0);  // what F5 asks of the pane
  testsupport::PumpPending();
  HTREEITEM leaf = p.Child(top, p.root + "\\leaf");
  ASSERT_TRUE(leaf);
  EXPECT_TRUE(p.HasButton(leaf));
  EXPECT_FALSE(p.HasButton(p.Child(top, p.root + "\\full")));
  ASSERT_TRUE(p.Open(leaf));
  EXPECT_TRUE(p.Child(leaf, p.root + "\\leaf\\made"));
}

// A label edited to a new name: the folder is renamed, its item stays selected and open
// where it was, its sub-folder follows, and the browser is told of the folder under its
// new name.
TEST(DiskTreeInThePane, ARenamedFolderStaysSelected) {
  DiskPane p("dpane-rename");
  ASSERT_TRUE(p.tree);
  for (const char* f : {"\\a", "\\b\\inner", "\\c"}) testsupport::MakeFolders(p.root + f);
  HTREEITEM top = p.OpenFolder(p.root);
  ASSERT_TRUE(top);
  HTREEITEM b = p.Child(top, p.root + "\\b");
  ASSERT_TRUE(b);
  ASSERT_TRUE(p.Open(b));
  p.tree->SetFocus();
  p.tree->ClickItem(b, 0);
  ASSERT_EQ(p.tree->GetSelectedItem(), b);
  p.fx->main.m_changes.clear();

  CEdit* edit = p.tree->EditLabel(b);
  ASSERT_TRUE(edit);
  edit->SetWindowText("bee");
  p.tree->SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
  testsupport::PumpPending();

  ASSERT_TRUE(Exists(p.root + "\\bee\\inner"));
  EXPECT_EQ(p.tree->GetSelectedItem(), b) << "the caret moved to " << p.PathOf(p.tree->GetSelectedItem());
  EXPECT_EQ(p.PathOf(b), p.root + "\\bee");
  EXPECT_EQ(std::string(p.tree->GetItemText(b)), "bee");
  EXPECT_TRUE(p.tree->GetItemState(b, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(p.PathOf(p.tree->GetChildItem(b)), p.root + "\\bee\\inner");
  ASSERT_FALSE(p.fx->main.m_changes.empty());
  EXPECT_NE(p.fx->main.m_changes.back().find("|" + p.root + "\\bee\\|"), std::string::npos)
      << p.fx->main.m_changes.back();
  // The renamed folder's sub-folder is a folder like any other: selected, it is shown.
  p.tree->ClickItem(p.tree->GetChildItem(b), 0);
  EXPECT_NE(p.fx->main.m_changes.back().find("|" + p.root + "\\bee\\inner\\|"), std::string::npos)
      << p.fx->main.m_changes.back();
}

// The selected folder of a tree without the focus: its label is drawn dark on the light
// inactive highlight, not in the tree's white.
TEST(DiskTreeInThePane, TheSelectionWithoutTheFocusIsReadable) {
  DiskPane p("dpane-colours");
  ASSERT_TRUE(p.tree);
  testsupport::MakeFolders(p.root + "\\WWWWWWWW");
  HTREEITEM top = p.OpenFolder(p.root);
  ASSERT_TRUE(top);
  HTREEITEM item = p.Child(top, p.root + "\\WWWWWWWW");
  ASSERT_TRUE(item);
  p.tree->ClickItem(item, 0);
  ASSERT_EQ(p.tree->GetSelectedItem(), item);
  ::SetFocus(p.fx->main.m_hWnd);
  ASSERT_NE(::GetFocus(), p.tree->m_hWnd);
  CRect label;
  ASSERT_TRUE(p.tree->GetItemRect(item, &label, TRUE));
  testsupport::Picture picture(p.tree->m_hWnd, testsupport::Picture::kClient);
  picture.Save("disktree-inactive-selection");
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_GT(picture.Count(label, face), label.Width() * label.Height() / 3) << "no inactive highlight";
  EXPECT_GT(picture.CountDark(label), 10) << "the label's text is not dark on the light highlight";
}

// A drag held at the lower edge scrolls the tree a row at a time until a folder far below
// the shown rows comes into reach; dropped on, it takes the files.
TEST(DiskTreeInThePane, ADragAtTheEdgeScrollsFoldersOutOfSightIntoReach) {
  DiskPane p("dpane-scroll");
  ASSERT_TRUE(p.tree);
  char name[32];
  for (int i = 0; i < 60; ++i) {
    snprintf(name, sizeof name, "\\f%02d", i);
    testsupport::MakeFolders(p.root + name);
  }
  const std::string file = testsupport::NewTempFolder("dpane-file") + "\\a.jpg";
  ASSERT_TRUE(testsupport::WriteWholeFile(file, "jpg"));
  HTREEITEM top = p.OpenFolder(p.root);
  ASSERT_TRUE(top);
  HTREEITEM last = p.Child(top, p.root + "\\f59");
  ASSERT_TRUE(last);
  p.ScrollToTop(top);
  ASSERT_EQ(p.tree->GetFirstVisibleItem(), top);
  CRect row;
  // Shown above the lower band, where the mouse can rest on it without scrolling on.
  auto shown = [&] {
    CRect client;
    p.tree->GetClientRect(&client);
    return p.tree->GetItemRect(last, &row, TRUE) && row.top >= CTreeCtrl::DRAG_SCROLL_BAND &&
           row.bottom < client.bottom - CTreeCtrl::DRAG_SCROLL_BAND;
  };
  ASSERT_FALSE(shown()) << "the tree is tall enough to show every folder";

  FileDrag drag({file});
  IDropTarget* target = &p.tree->GetDropTarget().m_xDropTarget;
  CRect client;
  p.tree->GetClientRect(&client);
  CPoint edge(client.Width() / 2, client.bottom - 5);
  p.tree->ClientToScreen(&edge);
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(target->DragEnter(drag.Data(), MK_LBUTTON | MK_CONTROL, POINTL{edge.x, edge.y}, &effect), S_OK);
  // The mouse rests at the edge; the system asks again and again.
  EXPECT_TRUE(testsupport::WaitUntil(
      [&] {
        effect = DROPEFFECT_COPY;
        target->DragOver(MK_LBUTTON | MK_CONTROL, POINTL{edge.x, edge.y}, &effect);
        return shown();
      },
      30000));
  const POINTL onLast = p.LabelPoint(last);
  effect = DROPEFFECT_COPY;
  target->DragOver(MK_LBUTTON | MK_CONTROL, onLast, &effect);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_COPY);
  ASSERT_EQ(target->Drop(drag.Data(), MK_CONTROL, onLast, &effect), S_OK);
  AfterTheDrop();
  EXPECT_TRUE(Exists(p.root + "\\f59\\a.jpg"));
  testsupport::RemoveTree(file.substr(0, file.rfind('\\')));
}
