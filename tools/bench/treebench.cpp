// The disk tree's expansion of a folder with 5,000 sub-folders (500 with a sub-folder of
// their own, every 50th hidden, every 10th with a Japanese name) in a temporary C: folder.
// R: the same folders listed through the shell (both names) and inserted as plain items
// into a bare tree with redrawing off. Then DiskTree.psp expands the folder in a shown
// CPluginTreeCtrl (the folder pane's tree) until every child is shown, sorted, iconed and
// probed, while another thread sends WM_NULL every 5 ms and times each answer.
//   tools/wine-run build/bin/treebench.exe [--folders N] [--plugin FILE]   (with a display)
// --plugin loads another build of the plug-in (another file name beside it), for a before
// and after in the same conditions.
#include <fw/fw.h>

#include <FolderTreePlugin.h>
#include <profileroot.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <commctrl.h>
#include <tempfolder.h>
#include <textkit/text.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "PluginTreeCtrl.h"
#include "benchcommon.h"

namespace {

class CBenchApp : public CWinApp {
 public:
  CBenchApp() : CWinApp("treebench") {}
};
CBenchApp theApp;

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::string Name(int i) {
  char name[64];
  if (i % 10 == 3)
    snprintf(name, sizeof name, "写真フォルダ%04d", i);
  else
    snprintf(name, sizeof name, "d%04d", i);
  return name;
}

// Lists the folder through the shell and inserts plain items; seconds.
double Reference(const std::string& folder, int* listed) {
  IShellFolder* desktop = nullptr;
  SHGetDesktopFolder(&desktop);
  std::wstring wide;
  textkit::TryAnsiToWide(folder, &wide);
  LPITEMIDLIST pidl = nullptr;
  desktop->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(wide.c_str()), nullptr, &pidl, nullptr);
  CWnd frame;
  frame.CreateEx(0, AfxRegisterWndClass(0), "reference", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 600), nullptr, 0);
  CTreeCtrl tree;
  tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, CRect(0, 0, 300, 600), &frame, 1);
  const double start = bench::Now();
  IShellFolder* shell = nullptr;
  desktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&shell));
  tree.SendMessage(WM_SETREDRAW, FALSE);
  IEnumIDList* list = nullptr;
  *listed = 0;
  if (shell && SUCCEEDED(shell->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &list)) && list) {
    LPITEMIDLIST child = nullptr;
    while (list->Next(1, &child, nullptr) == S_OK) {
      STRRET shown = {}, parsing = {};
      char name[MAX_PATH * 2] = {}, path[MAX_PATH * 2] = {};
      shell->GetDisplayNameOf(child, SHGDN_INFOLDER, &shown);
      shell->GetDisplayNameOf(child, SHGDN_FORPARSING, &parsing);
      StrRetToBufA(&shown, child, name, sizeof name);
      StrRetToBufA(&parsing, child, path, sizeof path);
      if (tree.InsertItem(name)) ++*listed;
      CoTaskMemFree(child);
    }
    list->Release();
  }
  tree.SendMessage(WM_SETREDRAW, TRUE);
  tree.UpdateWindow();
  const double took = bench::Now() - start;
  if (shell) shell->Release();
  CoTaskMemFree(pidl);
  desktop->Release();
  tree.DestroyWindow();
  frame.DestroyWindow();
  return took;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  int folders = 5000;
  const char* pluginFile = "DiskTree.psp";
  for (int i = 1; i < argc; ++i)
    if (!strcmp(argv[i], "--folders") && i + 1 < argc)
      folders = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--plugin") && i + 1 < argc)
      pluginFile = argv[++i];
  if (folders < 10) {
    fprintf(stderr, "usage: treebench [--folders N (10 or more)] [--plugin FILE]\n");
    return 2;
  }
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  AfxOleInit();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  testsupport::ScopedProfileRoot profile("treebench");
  const std::string root = testsupport::NewTempFolder("treebench");
  const std::string folder = root + "\\many";
  CreateDirectoryA(folder.c_str(), nullptr);
  int visible = 0;
  for (int i = 0; i < folders; ++i) {
    const std::string dir = folder + "\\" + Name(i);
    CreateDirectoryA(dir.c_str(), nullptr);
    if (i % 10 == 0) CreateDirectoryA((dir + "\\sub").c_str(), nullptr);
    if (i % 50 == 7)
      SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_HIDDEN);
    else
      ++visible;
  }
  printf("%d sub-folders (%d shown) in %s\n", folders, visible, folder.c_str());

  int listed = 0;
  Reference(folder, &listed);  // warm-up
  if (listed == 0) {
    fprintf(stderr, "no tree could be made: the benchmark needs a display (DISPLAY)\n");
    testsupport::RemoveTree(root);
    return 1;
  }
  double r = 1e9;
  for (int k = 0; k < 3; ++k) r = std::min(r, Reference(folder, &listed));
  printf("R (list, both names, plain inserts with redrawing off): %.3f s for %d folders\n", r, listed);

  HMODULE plugin = LoadLibraryA(pluginFile);
  if (!plugin) {
    fprintf(stderr, "no %s\n", pluginFile);
    return 1;
  }
  auto get = [plugin](const char* name) { return GetProcAddress(plugin, name); };
  auto create = reinterpret_cast<PFN_PLUGIN_CreateTree>(get("CreateTree"));
  auto walk = reinterpret_cast<PFN_PLUGIN_SelectText>(get("SelectFolderNotMulitiSelect"));
  auto expand = reinterpret_cast<PFN_PLUGIN_TreeItem>(get("ExpandTree"));
  auto remove = reinterpret_cast<PFN_PLUGIN_TreeItem>(get("DeleteTree"));
  CWnd frame;
  frame.CreateEx(0, AfxRegisterWndClass(0), "treebench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 700),
                 nullptr, 0);
  // The folder pane's own tree control, without its host: the benchmark calls the exports.
  CPluginTreeCtrl tree;
  tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS, CRect(0, 0, 380, 660), &frame,
              100, TRUE, FALSE);
  // The plug-in's items, windows and library go before the program ends, also after a
  // failure (a tree left with the plug-in's items holds the process at its exit).
  auto takeDown = [&] {
    for (HTREEITEM rootItem = tree.GetRootItem(); rootItem; rootItem = tree.GetRootItem()) remove(&tree, rootItem);
    tree.DestroyWindow();
    frame.DestroyWindow();
    FreeLibrary(plugin);
    testsupport::RemoveTree(root);
  };
  const HRESULT made = create(&tree, nullptr, TVI_ROOT);
  if (made != S_OK || !tree.GetRootItem()) {
    fprintf(stderr, "CreateTree: %08lx, %u items\n", (unsigned long)made, tree.GetCount());
    takeDown();
    return 1;
  }
  // The walk lists every level on its way before it returns (the host's batched expansion
  // would leave the folder's own row to a later timer tick); the folder itself stays closed.
  if (walk(&tree, CString(folder.c_str())) != S_OK) {
    int top = 0;
    for (HTREEITEM c = tree.GetChildItem(tree.GetRootItem()); c; c = tree.GetNextSiblingItem(c)) ++top;
    fprintf(stderr, "the tree (%d items under its root) does not reach %s\n", top, folder.c_str());
    takeDown();
    return 1;
  }
  const HTREEITEM item = tree.GetSelectedItem();
  auto* record = item ? reinterpret_cast<PluginItemRecord*>(tree.GetItemData(item)) : nullptr;
  if (!record || !record->path || !textkit::EqualNoCase(record->path, folder) || tree.GetChildItem(item)) {
    fprintf(stderr, "the walk did not stop at %s, closed\n", folder.c_str());
    takeDown();
    return 1;
  }
  tree.EnsureVisible(item);
  Pump();

  // The pinger: WM_NULL every 5 ms, each answer timed.
  std::atomic<bool> stop{false};
  std::mutex lock;
  std::vector<double> waits;
  const HWND target = tree.m_hWnd;
  std::thread pinger([&] {
    while (!stop) {
      const double t0 = bench::Now();
      DWORD_PTR result = 0;
      SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
      const double waited = bench::Now() - t0;
      {
        std::lock_guard<std::mutex> hold(lock);
        waits.push_back(waited);
      }
      Sleep(5);
    }
  });
  // The pinger's first answers, the window served (a plain sleep would hold them).
  for (const double t = bench::Now(); bench::Now() - t < 0.05;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Pump();
  }
  int shown = 0, buttons = 0, iconed = 0;
  bool sorted = true, open = false;
  auto look = [&] {
    shown = buttons = iconed = 0;
    sorted = true;
    open = (tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    std::string previous;
    for (HTREEITEM c = tree.GetChildItem(item); c; c = tree.GetNextSiblingItem(c)) {
      ++shown;
      TVITEMA tv = {};
      tv.mask = TVIF_CHILDREN | TVIF_IMAGE;
      tv.hItem = c;
      tree.GetItem(&tv);
      if (tv.cChildren) ++buttons;
      if (tv.iImage >= 0) ++iconed;
      const std::string text(tree.GetItemText(c));
      if (!previous.empty() && lstrcmpiA(previous.c_str(), text.c_str()) > 0) sorted = false;
      previous = text;
    }
  };
  // Done: the level open, every shown child there, iconed, and only the folders with a
  // sub-folder keep their button (the probes have answered).
  const int withSub = (folders + 9) / 10;
  const int countBefore = static_cast<int>(tree.GetCount());
  const double start = bench::Now();
  expand(&tree, item);
  const double firstCall = bench::Now() - start;
  tree.Expand(item, TVE_EXPAND);
  tree.UpdateWindow();
  const double shownAfter = bench::Now() - start;
  double lastLook = 0, expansion = 0, inserted = 0;
  for (;;) {
    Pump();
    const double now = bench::Now();
    // The whole level is looked at once every child is there; the pinger stops first, as a
    // look at thousands of items holds the window itself. The expansion ends at the first
    // look that finds every probe answered, not when the last child went in.
    if (now - lastLook >= 0.02 && static_cast<int>(tree.GetCount()) >= countBefore + visible) {
      if (!stop) {
        inserted = now - start;
        stop = true;
        pinger.join();
      }
      look();
      lastLook = bench::Now();
      if (open && shown == visible && iconed == visible && buttons == withSub) {
        expansion = now - start;
        break;
      }
    }
    if (now - start > 120) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  if (!stop) {
    stop = true;
    pinger.join();
  }
  if (!expansion) expansion = bench::Now() - start;
  Pump();
  look();
  std::sort(waits.begin(), waits.end());
  const double longest = waits.empty() ? 0 : waits.back();
  const double p99 = waits.empty() ? 0 : waits[std::min(waits.size() - 1, waits.size() * 99 / 100)];
  const bool complete = open && sorted && shown == visible && iconed == visible && buttons == withSub;
  printf("expansion: %.3f s = %.1f x R (target 10 x R: %s); %d children shown (%d with a button, %d iconed), %s, %s\n",
         expansion, expansion / r, complete && expansion <= 10 * r ? "met" : "NOT met", shown, buttons, iconed,
         sorted ? "sorted" : "NOT sorted", open ? "the level open" : "the level NOT open");
  printf("the host's expansion call returned after %.3f s, the level was shown after %.3f s, every child was in after %.3f s\n",
         firstCall, shownAfter, inserted);
  printf("WM_NULL answers: %zu, longest %.3f s = %.1f x R (target 1 x R: %s), 99th percentile %.3f s\n", waits.size(),
         longest, longest / r, longest <= r ? "met" : "NOT met", p99);

  takeDown();
  return 0;
}
