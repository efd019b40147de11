// The plug-in tree control's own decisions and its dialogue with the plug-in: which
// selections are refused (and which folders are never probed), what a refusal to rename
// shows, label editing started again after a failure, the right button's context menu
// and its action flags, under a real pane with the test plug-in.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <VxDocument/Clipboard.h>
#include <VxResourceIds.h>

#include <shellapi.h>
#include <shlobj.h>

#include <set>
#include <string>
#include <vector>

#include "PluginTreeCtrl.h"
#include "PluginTreeRules.h"
#include "TreePluginManager.h"
#include "dialogwatch.h"
#include "panefixture.h"
#include "plugintest.h"
#include "profileroot.h"
#include "pump.h"
#include "testmain.h"
#include "ui/ResourceDialog.h"

// OLE as the program starts it: the trees register their drop targets.
static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

namespace {

using treerules::Selection;

// A file system of two tables that records what it was asked.
struct TableProbe {
  std::set<std::string> folders, unreadable;
  std::vector<std::string> asked;
  treerules::FolderProbe Probe() {
    return {[this](const std::string& p) {
              asked.push_back(p);
              return folders.count(p) > 0;
            },
            [this](const std::string& p) { return unreadable.count(p) == 0; }};
  }
};

TEST(PluginTreeRules, SelectionVeto) {
  const std::string longPath = "C:\\" + std::string(257, 'a');  // 260 characters
  const std::string table = "C:\\\x95\x5C";                    // ends in a trail byte 0x5C
  struct Case {
    bool byProgram, altArrow;
    int kind;
    std::string path;
    Selection expected;
    const char* probed;  // the folder asked about; nullptr: none
  } cases[] = {
      {true, false, 0, "C:\\Gone", Selection::Allow, nullptr},
      {false, true, 0, "C:\\Here", Selection::Veto, nullptr},
      {false, false, 1, "C:\\Gone", Selection::Allow, nullptr},
      {false, false, 2, "C:\\Gone", Selection::Allow, nullptr},
      {false, false, 6, "C:\\Gone", Selection::Allow, nullptr},
      {false, false, 0, "E:", Selection::Allow, nullptr},
      {false, false, 0, "E:\\", Selection::Allow, nullptr},
      {false, false, 0, "\\\\server\\share", Selection::Allow, nullptr},
      {false, false, 0, "", Selection::Allow, nullptr},
      {false, false, 0, "C:\\Here\\", Selection::Allow, "C:\\Here"},
      {false, false, 3, "C:\\Gone\\", Selection::Missing, "C:\\Gone"},
      {false, false, 9, "C:\\Gone", Selection::Missing, "C:\\Gone"},
      {false, false, 0, "C:\\Locked", Selection::Unreadable, "C:\\Locked"},
      {false, false, 0, longPath, Selection::TooLong, nullptr},
      {false, false, 0, longPath.substr(0, 259), Selection::Missing, nullptr},
      {false, false, 0, table + "\\", Selection::Allow, "C:\\\x95\x5C"},
  };
  for (const Case& c : cases) {
    TableProbe t;
    t.folders = {"C:\\Here", "C:\\Locked", table};
    t.unreadable = {"C:\\Locked"};
    EXPECT_EQ(treerules::JudgeSelection(c.byProgram, c.altArrow, c.kind, c.path, t.Probe()), c.expected) << c.path;
    if (c.probed) {
      ASSERT_FALSE(t.asked.empty()) << c.path;
      EXPECT_EQ(t.asked[0], c.probed);
    } else if (c.expected != Selection::Missing) {
      EXPECT_TRUE(t.asked.empty()) << c.path;
    }
  }
  EXPECT_EQ(treerules::SelectionText(Selection::Missing), (UINT)IDS_TREE_FOLDER_GONE);
  EXPECT_EQ(treerules::SelectionText(Selection::Veto), 0u);
  // One text serves the too long and the unreadable folder (and the music folder's drive).
  EXPECT_EQ(treerules::SelectionText(Selection::TooLong), (UINT)IDS_FOLDER_UNUSABLE);
  EXPECT_EQ(treerules::SelectionText(Selection::Unreadable), (UINT)IDS_FOLDER_UNUSABLE);
}

// How long a new label may be: names under the person group 32, else by the tree.
TEST(PluginTreeRules, LabelLimits) {
  treerules::LabelTitles titles{"Person", "Disk", "Classify"};
  struct {
    const char* parent;
    const char* tree;
    int limit;
  } cases[] = {{"Person", "Classify", 32}, {"Persons of 2010", "Disk", 32}, {"", "Disk", 255},
               {"Other", "Classify", 64},  {"Other", "Favourites", 0},      {"Per", "Other", 0}};
  for (auto& c : cases) EXPECT_EQ(treerules::LabelLimit(c.parent, c.tree, titles), c.limit) << c.parent << c.tree;
}

TEST(PluginTreeRules, RenameAnswersAndBlankLabels) {
  struct Case {
    HRESULT hr;
    bool allow;
    std::vector<UINT> texts;
  } cases[] = {
      {S_OK, true, {}},
      {E_FAIL, false, {IDS_TREE_RENAME_REFUSED}},
      {E_ABORT, false, {IDS_TREE_RENAME_REFUSED, IDS_TREE_RENAME_BUSY}},
      {E_ACCESSDENIED, false, {IDS_TREE_RENAME_DENIED}},
      {S_FALSE, false, {}},
      {E_PLUGIN_NOT_SUPPORTED, false, {}},
  };
  for (const Case& c : cases) {
    treerules::RenameAnswer a = treerules::JudgeRenameAnswer(c.hr);
    EXPECT_EQ(a.allow, c.allow) << std::hex << c.hr;
    EXPECT_EQ(a.texts, c.texts) << std::hex << c.hr;
  }
  EXPECT_TRUE(treerules::IsBlankLabel(""));
  EXPECT_TRUE(treerules::IsBlankLabel("   "));
  EXPECT_TRUE(treerules::IsBlankLabel(nullptr));
  EXPECT_FALSE(treerules::IsBlankLabel(" a "));
}

CString Text(UINT nID) {
  CResourceSwitcher res;
  CString s;
  s.LoadString(nID);
  return s;
}

// Answers the next message box of the program: keeps its text, presses the button.
struct BoxAnswer {
  std::string text;
  testsupport::DialogWatch watch;
  explicit BoxAnswer(int button)
      : watch(
            nullptr,
            [](HWND box) {  // shown and filled in
              HWND text = ::GetDlgItem(box, 0xFFFF);
              return ::IsWindowVisible(box) && text && ::GetWindowTextLengthA(text) > 0;
            },
            [this, button](HWND box) {
              char sz[1024] = "";
              ::GetDlgItemTextA(box, 0xFFFF, sz, sizeof sz);
              text = sz;
              ::PostMessageA(box, WM_COMMAND, button, 0);
            }) {}
};

// The full test plug-in's tree over a real folder holding all but item3 (and the kinds that are never probed).
struct TreeOver {
  testsupport::ScopedProfileRoot root{"treectrl"};
  PluginFolder f;
  std::string data = testsupport::NewTempFolder("treedata");
  std::unique_ptr<PaneOver> fx;
  CTreePluginManager* m = nullptr;
  CPluginTreeCtrl* tree = nullptr;
  TreeOver() {
    f.Put("tp_full.psp", "full.psp");
    for (const char* name : {"item0", "item2", "item4", "item5"}) ::CreateDirectoryA((data + "\\" + name).c_str(), NULL);
    ::SetEnvironmentVariableA("TESTPLUGIN_ROOT", data.c_str());
    fx.reset(new PaneOver(f.dir));
    if (!fx->pane) {
      ADD_FAILURE() << "no pane";
      return;
    }
    fx->pane->SendMessage(WM_REFRESH_TREES, 0, 0);
    m = &fx->pane->GetManager();
    tree = m->GetEntry(0)->m_pTreeWnd;
    Clear();
  }
  ~TreeOver() {
    fx.reset();
    testsupport::RemoveTree(data);
  }
  HTREEITEM Named(const char* name) {
    for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h))
      if (tree->GetItemText(h) == name) return h;
    return NULL;
  }
  FARPROC Export(const char* name) { return ::GetProcAddress(m->GetEntry(0)->m_hModule, name); }
  void SetAnswer(const char* name, long value) {
    ((void (*)(const char*, long))Export("TestPluginSetAnswer"))(name, value);
  }
  std::string Calls() {
    char sz[4096] = "";
    ((int (*)(char*, int))Export("TestPluginCalls"))(sz, sizeof sz);
    return sz;
  }
  void Clear() {
    ((void (*)())Export("TestPluginClearCalls"))();
    fx->main.m_changes.clear();
  }
};

// A plug-in's refusal to rename shows its text and no edit opens.
TEST(PluginTree, RenameRefusals) {
  TreeOver t;
  ASSERT_TRUE(t.tree);
  struct Case {
    HRESULT hr;
    CString text;  // empty: no box
  } cases[] = {
      {E_FAIL, Text(IDS_TREE_RENAME_REFUSED)},
      {E_ABORT, Text(IDS_TREE_RENAME_REFUSED) + "\n" + Text(IDS_TREE_RENAME_BUSY)},
      {E_ACCESSDENIED, Text(IDS_TREE_RENAME_DENIED)},
      {S_FALSE, CString()},
  };
  t.tree->SetFocus();
  for (const Case& c : cases) {
    t.SetAnswer("IsRenameTreeItem", c.hr);
    BoxAnswer box(IDOK);
    EXPECT_EQ(t.tree->EditLabel(t.Named("item0")), nullptr) << std::hex << c.hr;
    box.watch.Stop();
    EXPECT_EQ(box.text, std::string(c.text)) << std::hex << c.hr;
  }
}

// An accepted rename refreshes the other trees and re-announces the caret; a failed one,
// or an empty name (after its notice), opens the edit again; blanks are no name.
TEST(PluginTree, RenameResults) {
  TreeOver t;
  ASSERT_TRUE(t.tree);
  t.tree->SetFocus();
  t.tree->ClickItem(t.Named("item0"), 0);
  auto rename = [&](const char* to) {
    CEdit* edit = t.tree->EditLabel(t.Named("item0"));
    if (!edit) return false;
    edit->SetWindowText(to);
    t.tree->SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
    testsupport::PumpPending();
    return true;
  };
  t.Clear();
  ASSERT_TRUE(rename("Renamed"));
  EXPECT_EQ(std::string(((const char* (*)())t.Export("TestPluginLastRename"))()), "Renamed");
  EXPECT_EQ(t.tree->GetEditControl(), nullptr);
  EXPECT_EQ(t.fx->main.m_changes.size(), 0u) << "the same folder is not sent twice";
  EXPECT_EQ(t.Calls().find(";RenameTreeItem;"), t.Calls().rfind(";RenameTreeItem;")) << "once: " << t.Calls();

  t.SetAnswer("RenameTreeItem", E_FAIL);
  ASSERT_TRUE(rename("Refused"));
  ASSERT_NE(t.tree->GetEditControl(), nullptr) << "editing again";
  t.tree->SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);

  t.SetAnswer("RenameTreeItem", S_OK);
  t.Clear();
  ASSERT_TRUE(rename("   "));
  EXPECT_EQ(t.Calls().find(";RenameTreeItem;"), std::string::npos) << t.Calls();
}

// Moving by keyboard onto an item whose folder is gone asks; No leaves everything,
// Yes builds the tree again once the refused change is over.
TEST(PluginTree, SelectionOfAMissingFolder) {
  TreeOver t;
  ASSERT_TRUE(t.tree);
  t.tree->SetFocus();
  t.tree->SelectItem(t.Named("item2"));
  HTREEITEM item3 = t.Named("item3");
  ASSERT_EQ(t.tree->GetNextSiblingItem(t.Named("item2")), item3);
  for (int button : {IDNO, IDYES}) {
    t.Clear();
    BoxAnswer box(button);
    t.tree->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    box.watch.Stop();
    testsupport::PumpPending();  // the refresh runs after the refused change
    CString expected;
    expected.Format(Text(IDS_TREE_FOLDER_GONE), (t.data + "\\item3").c_str());
    EXPECT_EQ(box.text, std::string(expected));
    EXPECT_EQ(t.tree->GetItemText(t.tree->GetSelectedItem()), button == IDYES ? "" : "item2");
    EXPECT_EQ(t.Calls().find("RenewalTree") != std::string::npos, button == IDYES) << t.Calls();
    EXPECT_TRUE(t.fx->main.m_changes.empty());
  }
  // A folder that is there opens (the refresh built the items again, item6 first).
  t.Clear();
  t.tree->SelectItem(t.Named("item5"));
  t.tree->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(t.tree->GetItemText(t.tree->GetSelectedItem()), "item4");
}

// The right button: down arms and makes the item the caret, up runs the context menu
// and the host carries out the flags it wrote (unknown bits ignored, nothing written
// asks for nothing).
TEST(PluginTree, ContextMenuFlags) {
  TreeOver t;
  ASSERT_TRUE(t.tree);
  HTREEITEM item4 = t.Named("item4");
  CRect rc;
  t.tree->GetItemRect(item4, &rc, TRUE);
  LPARAM at = MAKELPARAM(rc.left + 2, rc.CenterPoint().y);
  struct Case {
    long flags;
    bool reopen, edit;
  } cases[] = {
      {0x30, false, false},
      {PLUGIN_ACTION_REOPEN | 0x100, true, false},
      {PLUGIN_ACTION_EDIT_LABEL, false, true},
      {PLUGIN_ACTION_REFRESH_OTHERS | PLUGIN_ACTION_REOPEN | PLUGIN_ACTION_EDIT_LABEL, true, true},
  };
  for (const Case& c : cases) {
    t.tree->SelectItem(t.Named("item0"));
    t.SetAnswer("ContextMenu", c.flags);
    t.Clear();
    t.tree->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at);
    EXPECT_EQ(t.tree->GetSelectedItem(), item4);
    t.fx->main.m_changes.clear();
    t.tree->SendMessage(WM_RBUTTONUP, 0, at);
    std::string calls = t.Calls();
    EXPECT_NE(calls.find("ContextMenu;"), std::string::npos) << calls;
    // The focus the tree gives itself after the menu announces the caret once; the
    // reopen flag once more.
    int announced = 0;
    for (size_t at = calls.find("ContextMenu;"); (at = calls.find("SelectTreeItem;", at)) != std::string::npos; ++at)
      ++announced;
    EXPECT_EQ(announced, c.reopen ? 2 : 1) << c.flags << " " << calls;
    EXPECT_EQ(t.tree->GetEditControl() != nullptr, c.edit) << c.flags;
    if (t.tree->GetEditControl()) t.tree->SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
    // Up without a down first does nothing.
    t.Clear();
    t.tree->SendMessage(WM_RBUTTONUP, 0, at);
    EXPECT_EQ(t.Calls().find("ContextMenu"), std::string::npos);
  }
}

// Files dropped through the tree's registered OLE target, from a real data source: the
// plug-in gets them once the drop is over; success refreshes the trees and reloads the
// browser, a failure changes nothing.
TEST(PluginTree, DropsThroughTheRegisteredTarget) {
  TreeOver t;
  ASSERT_TRUE(t.tree);
  const char files[] = "C:\\dropped.jpg\0";
  COleDataSource source;
  HGLOBAL hDrop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof files);
  DROPFILES* df = (DROPFILES*)::GlobalLock(hDrop);
  df->pFiles = sizeof(DROPFILES);
  memcpy((char*)df + sizeof(DROPFILES), files, sizeof files);
  ::GlobalUnlock(hDrop);
  source.CacheGlobalData(CF_HDROP, hDrop);
  IDropTarget* pTarget = &t.tree->GetDropTarget().m_xDropTarget;
  CRect rc;
  t.tree->GetWindowRect(&rc);
  POINTL pt = {rc.left + 10, rc.top + 10};
  auto reloads = [&] {
    int n = 0;
    MSG msg;
    while (::PeekMessageA(&msg, t.fx->main.m_hWnd, WM_BROWSER_RELOAD, WM_BROWSER_RELOAD, PM_REMOVE)) ++n;
    return n;
  };
  for (HRESULT answer : {S_OK, E_FAIL}) {
    t.SetAnswer("Drop", answer);
    t.Clear();
    reloads();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, pTarget->DragEnter(source.GetIDataObject(FALSE), MK_LBUTTON, pt, &effect));
    EXPECT_NE(effect, (DWORD)DROPEFFECT_NONE);
    ASSERT_EQ(S_OK, pTarget->Drop(source.GetIDataObject(FALSE), 0, pt, &effect));
    EXPECT_EQ(t.Calls().find("Drop;"), std::string::npos) << "handed over after OLE's drop";
    // The hand-over, then the pane passing the reload on to the main window.
    MSG msg;
    while (::PeekMessageA(&msg, t.tree->m_hWnd, WM_REFRESH_TREES, WM_REFRESH_TREES, PM_REMOVE))
      ::DispatchMessageA(&msg);
    while (::PeekMessageA(&msg, t.fx->pane->m_hWnd, WM_BROWSER_RELOAD, WM_BROWSER_RELOAD, PM_REMOVE))
      ::DispatchMessageA(&msg);
    std::string calls = t.Calls();
    EXPECT_NE(calls.find("DragOver;"), std::string::npos) << calls;
    EXPECT_NE(calls.find("Drop;"), std::string::npos) << calls;
    EXPECT_EQ(calls.find("RenewalTree;") != std::string::npos, answer == S_OK) << calls;
    EXPECT_EQ(reloads(), answer == S_OK ? 1 : 0);
  }
  // Data without files is no drop for a tree.
  COleDataSource text;
  HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 2);
  text.CacheGlobalData(CF_TEXT, hText);
  DWORD effect = DROPEFFECT_COPY;
  pTarget->DragEnter(text.GetIDataObject(FALSE), MK_LBUTTON, pt, &effect);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_NONE);
  pTarget->DragLeave();
}

// A window elsewhere on the screen that takes a drag of files and reads both formats.
class CFolderDrop : public COleDropTarget {
 public:
  std::string files, folders;
  DROPEFFECT OnDragEnter(CWnd*, COleDataObject* p, DWORD, CPoint) override { return DROPEFFECT_COPY; }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject* p, DWORD, CPoint) override { return DROPEFFECT_COPY; }
  BOOL OnDrop(CWnd*, COleDataObject* p, DROPEFFECT, CPoint) override {
    if (HGLOBAL h = p->GetGlobalData(CF_HDROP)) {
      HDROP hd = (HDROP)h;
      char sz[MAX_PATH];
      for (UINT i = 0, n = ::DragQueryFileA(hd, 0xFFFFFFFF, NULL, 0); i < n; ++i) {
        ::DragQueryFileA(hd, i, sz, MAX_PATH);
        files += std::string("[") + sz + "]";
      }
      ::GlobalFree(h);
    }
    if (HGLOBAL h = p->GetGlobalData((CLIPFORMAT)::RegisterClipboardFormatA("CFSTR_BROWSER_FOLDERPATH"))) {
      for (const char* q = (const char*)::GlobalLock(h); *q; q += strlen(q) + 1) folders += std::string("[") + q + "]";
      ::GlobalUnlock(h);
      ::GlobalFree(h);
    }
    return TRUE;
  }
};

// The drag lets a few rounds of the loop pass, then drops where the cursor is.
class CDropSoon : public COleDropSource {
 public:
  int m_nAsked = 0;
  SCODE QueryContinueDrag(BOOL bEscape, DWORD) override {
    if (bEscape) return DRAGDROP_S_CANCEL;
    return ++m_nAsked < 3 ? S_OK : DRAGDROP_S_DROP;
  }
};

// Dragging out through a real DoDragDrop: the items' folders as files and as the
// browser's format; an item that may be neither copied nor moved refuses the drag.
TEST(PluginTree, DragOutThroughOle) {
  TreeOver t;
  ASSERT_TRUE(t.tree);
  CWnd host;
  // A window of its own class: a static control is transparent to the hit test.
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
  ASSERT_TRUE(
      host.CreateEx(WS_EX_TOPMOST, cls, "drop here", WS_POPUP | WS_VISIBLE, 400, 300, 200, 150, nullptr, nullptr));
  host.UpdateWindow();
  CFolderDrop target;
  ASSERT_TRUE(target.Register(&host));
  ::SetCursorPos(450, 350);
  static PluginDragRecord copyable = {{0, 0, 0, 0}, PLUGIN_DRAG_CAN_COPY};
  static std::string folder = t.data + "\\item2\\";
  static PluginItemRecord record = {folder.c_str(), PLUGIN_ITEM_FOLDER, (INT_PTR)&copyable};
  HTREEITEM hOut = t.tree->InsertItem("out", TVI_ROOT);
  t.tree->SetItemData(hOut, (DWORD_PTR)&record);
  // Not while the browser is in focus mode.
  CMWriteProfileInt("DepthViewer", "Mode", 5);
  CDropSoon never;
  EXPECT_EQ(t.tree->DragOut(hOut, &never), (DROPEFFECT)DROPEFFECT_NONE);
  EXPECT_EQ(never.m_nAsked, 0);
  CMWriteProfileInt("DepthViewer", "Mode", 1);
  CDropSoon soon;
  EXPECT_EQ(t.tree->DragOut(hOut, &soon), (DROPEFFECT)DROPEFFECT_COPY);
  EXPECT_EQ(soon.m_nAsked, 3) << "the drag ran";
  EXPECT_EQ(target.files, "[" + t.data + "\\item2]");
  EXPECT_EQ(target.folders, "[" + t.data + "\\item2]");
  EXPECT_EQ(t.tree->GetSelectedItem(), hOut) << "the dragged item became the caret";
  // The test plug-in's own items carry no drag record: no drag.
  target.files.clear();
  CDropSoon again;
  HTREEITEM item0 = t.Named("item0");
  EXPECT_EQ(t.tree->DragOut(item0, &again), (DROPEFFECT)DROPEFFECT_NONE);
  EXPECT_EQ(again.m_nAsked, 0);
  EXPECT_EQ(t.tree->GetSelectedItem(), hOut) << "the old caret back";
  target.Revoke();
  host.DestroyWindow();
}

// The clipboard-viewer chain: a clipboard change reaches the plug-in and the viewer
// after the tree; the chain is mended when the next viewer leaves, and other leavers are
// passed on. The tree's copy of the system's small icons, the context-menu key.
TEST(PluginTree, ClipboardChainIconsAndTheMenuKey) {
  struct CViewer : CWnd {
    HWND next = NULL;
    int drawn = 0, changed = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_DRAWCLIPBOARD) {
        ++drawn;
        VxPassClipboardNotice(next, message, wParam, lParam);
        return 0;
      }
      if (message == WM_CHANGECBCHAIN) {
        ++changed;
        if ((HWND)wParam == next) next = (HWND)lParam;
        return 0;
      }
      return CWnd::WindowProc(message, wParam, lParam);
    }
  } viewer;
  viewer.CreateEx(0, "STATIC", "viewer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
  viewer.next = ::SetClipboardViewer(viewer.m_hWnd);
  {
    TreeOver t;
    ASSERT_TRUE(t.tree);
    ASSERT_EQ(t.tree->GetNextViewer(), viewer.m_hWnd);
    t.Clear();
    int drawnBefore = viewer.drawn;
    ASSERT_TRUE(::OpenClipboard(viewer.m_hWnd));
    ::EmptyClipboard();
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8);
    strcpy((char*)::GlobalLock(h), "clip");
    ::GlobalUnlock(h);
    ::SetClipboardData(CF_TEXT, h);
    ::CloseClipboard();
    testsupport::WaitUntil([&] { return t.Calls().find("DrawClipboard;") != std::string::npos; }, 2000);
    EXPECT_NE(t.Calls().find("DrawClipboard;"), std::string::npos);
    EXPECT_GT(viewer.drawn, drawnBefore) << "passed on down the chain";
    // Another window leaves the chain: passed on; the next viewer leaves: mended.
    HWND other = (HWND)0x1234;
    t.tree->SendMessage(WM_CHANGECBCHAIN, (WPARAM)other, (LPARAM)NULL);
    EXPECT_EQ(viewer.changed, 1);
    t.tree->SendMessage(WM_CHANGECBCHAIN, (WPARAM)viewer.m_hWnd, (LPARAM)viewer.next);
    EXPECT_EQ(t.tree->GetNextViewer(), viewer.next);
    EXPECT_EQ(viewer.changed, 1);

    // A copy of the system's small icons, with no background of its own.
    CImageList* icons = t.tree->GetImageList(TVSIL_NORMAL);
    ASSERT_TRUE(icons);
    SHFILEINFOA sfi = {};
    HIMAGELIST system = (HIMAGELIST)::SHGetFileInfoA("C:\\", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    EXPECT_NE(icons->GetSafeHandle(), system);
    EXPECT_GT(icons->GetImageCount(), 0);
    EXPECT_EQ(ImageList_GetBkColor(icons->GetSafeHandle()), CLR_NONE);

    // The context-menu key: the plug-in's menu for the caret.
    t.tree->SelectItem(t.Named("item2"));
    t.SetAnswer("ContextMenu", 0);
    t.Clear();
    t.tree->SendMessage(WM_CONTEXTMENU, (WPARAM)t.tree->m_hWnd, MAKELPARAM(-1, -1));
    EXPECT_NE(t.Calls().find("ContextMenu;"), std::string::npos) << t.Calls();
  }
  // Told that the viewer left, the tree passed the chain on past it: the viewer is out
  // already unless it is still the first. Leaving again from further down would send the
  // first viewer, another program's window as a rule, a message and wait for it.
  if (::GetClipboardViewer() == viewer.m_hWnd) ::ChangeClipboardChain(viewer.m_hWnd, viewer.next);
  viewer.DestroyWindow();
}

// A label being edited keeps within its limit however its text comes: 32 under the
// person group, none on a tree that names no limit.
TEST(PluginTree, LabelEditKeepsWithinItsLimit) {
  TreeOver t;
  ASSERT_TRUE(t.tree);
  static PluginItemRecord group = {"", PLUGIN_ITEM_FOLDER, 0}, person = {"", PLUGIN_ITEM_FOLDER, 0};
  HTREEITEM hGroup = t.tree->InsertItem(LoadResourceText(IDS_TREE_PERSON_GROUP) + " 2010", TVI_ROOT);
  t.tree->SetItemData(hGroup, (DWORD_PTR)&group);
  HTREEITEM hPerson = t.tree->InsertItem("Taro", hGroup);
  t.tree->SetItemData(hPerson, (DWORD_PTR)&person);
  t.tree->Expand(hGroup, TVE_EXPAND);
  const CString longName(std::string(40, 'a').c_str());
  for (auto c : {std::make_pair(hPerson, 32), std::make_pair(t.Named("item0"), 40)}) {
    t.tree->SetFocus();
    CEdit* edit = t.tree->EditLabel(c.first);
    ASSERT_TRUE(edit);
    ::SetWindowTextA(edit->m_hWnd, longName);
    char sz[128] = "";
    ::GetWindowTextA(edit->m_hWnd, sz, sizeof sz);
    EXPECT_EQ((int)strlen(sz), c.second);
    t.tree->SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
    EXPECT_EQ(t.tree->GetEditControl(), nullptr);
  }
}

// The folder commands' keys: each goes to the pane unless the plug-in's folder menu greys
// its position (no menu at all suppresses every key; a short menu lets a key through).
TEST(PluginTree, ShortcutsFollowTheFolderMenu) {
  struct {
    UINT key;
    bool ctrl, editing;
    int command;
  } keys[] = {{VK_DELETE, false, false, PLUGIN_FOLDER_DELETE}, {VK_DELETE, false, true, -1},
              {'C', true, false, PLUGIN_FOLDER_COPY},          {'C', false, false, -1},
              {'X', true, false, PLUGIN_FOLDER_CUT},           {'V', true, true, -1},
              {'V', true, false, PLUGIN_FOLDER_PASTE},         {'N', true, true, PLUGIN_FOLDER_OPEN},
              {VK_F2, false, true, PLUGIN_FOLDER_RENAME}};
  for (auto& k : keys) EXPECT_EQ(treerules::ShortcutCommand(k.key, k.ctrl, k.editing), k.command) << k.key;
  EXPECT_FALSE(treerules::ShortcutAllowed(false, false, false));
  EXPECT_TRUE(treerules::ShortcutAllowed(true, false, false));
  EXPECT_FALSE(treerules::ShortcutAllowed(true, true, true));
  EXPECT_TRUE(treerules::ShortcutAllowed(true, true, false));

  TreeOver t;
  ASSERT_TRUE(t.tree);
  t.tree->ClickItem(t.Named("item0"), 0);
  t.Clear();
  MSG del = {t.tree->m_hWnd, WM_KEYDOWN, VK_DELETE, 0};
  EXPECT_TRUE(t.tree->PreTranslateMessage(&del));
  EXPECT_EQ(t.Calls().find(";FolderMenu;"), std::string::npos) << "delete is greyed: " << t.Calls();
  MSG f2 = {t.tree->m_hWnd, WM_KEYDOWN, VK_F2, 0};
  EXPECT_TRUE(t.tree->PreTranslateMessage(&f2));
  EXPECT_NE(t.Calls().find(";FolderMenu;"), std::string::npos) << t.Calls();
  ASSERT_NE(t.tree->GetEditControl(), nullptr) << "rename: the plug-in asked for the label edit";
  t.tree->SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
}

// A ready tree that gains the focus makes the pane active and says what it shows; losing
// it makes the pane inactive.
TEST(PluginTree, FocusTellsThePane) {
  TreeOver t;
  ASSERT_TRUE(t.tree);
  t.tree->ClickItem(t.Named("item0"), 0);
  t.fx->pane->GetManager().SetCurrentFolder(" ");  // so that the same folder goes out again
  t.Clear();
  t.tree->SendMessage(WM_KILLFOCUS, 0, 0);
  EXPECT_FALSE(t.fx->pane->IsPaneActive());
  t.tree->SendMessage(WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(t.fx->pane->IsPaneActive());
  ASSERT_EQ(t.fx->main.m_changes.size(), 1u);
  EXPECT_EQ(t.fx->main.m_changes[0], "1|Full Tree 2|1|" + t.data + "\\item0\\||");
  // Before the pane's first refresh marks it ready, a tree says nothing.
  t.tree->SetReady(FALSE);
  t.Clear();
  t.fx->pane->GetManager().SetCurrentFolder(" ");
  t.tree->SendMessage(WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(t.fx->main.m_changes.empty());
}

}  // namespace
