// The folder pane's part in the plug-in tests: a frame with the host's multi-selection
// tree, and DiskTree.psp loaded by name and taken down as the pane takes it down.
#pragma once
#include <FolderTreePlugin.h>
#include <dialogwatch.h>
#include <dropop/DropRules.h>
#include <textkit/text.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace disktreetest {

// A drop block of the paths, as the host hands it to Drop.
inline HGLOBAL DropBlock(const std::vector<std::string>& paths) {
  std::string bytes = dropop::MakeDropBlock(paths);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  memcpy(GlobalLock(h), bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

// Runs what comes while any visible dialog box that it shows is answered with the button;
// true when one was.
inline bool Answering(WPARAM button, const std::function<void()>& run) {
  testsupport::DialogWatch box(
      nullptr, [](HWND w) { return IsWindowVisible(w) != FALSE; },
      [button](HWND w) { PostMessageA(w, WM_COMMAND, button, 0); });
  run();
  box.Stop();
  return box.Acted();
}

inline void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

class CHostTree : public CCheckTreeCtrl {};

struct Host {
  HMODULE plugin = LoadLibraryA("DiskTree.psp");
  CWnd frame;
  CHostTree tree;
  Host() {
    frame.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 600), nullptr, 0);
    tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS, CRect(0, 0, 380, 560),
                &frame, 100);
  }
  ~Host() {
    if (plugin) {
      auto stop = Get<PFN_PLUGIN_Predicate>("StopFolderThread");
      if (stop) stop();
      auto del = Get<PFN_PLUGIN_TreeItem>("DeleteTree");
      for (HTREEITEM r = tree.GetRootItem(); r; r = tree.GetRootItem()) del(&tree, r);
    }
    tree.DestroyWindow();
    frame.DestroyWindow();
    if (plugin) FreeLibrary(plugin);
  }
  template <class F>
  F Get(const char* name) {
    return reinterpret_cast<F>(GetProcAddress(plugin, name));
  }
  // Makes the tree and walks to each folder in turn; the last one is the caret.
  bool Open(std::initializer_list<std::string> folders) {
    if (!plugin || Get<PFN_PLUGIN_CreateTree>("CreateTree")(&tree, nullptr, TVI_ROOT) != S_OK) return false;
    for (const std::string& folder : folders)
      if (!SelectOnly(folder)) return false;
    return true;
  }
  // The folder's item made the caret and the only one selected.
  bool SelectOnly(const std::string& path) {
    if (Get<PFN_PLUGIN_SelectText>("SelectFolderNotMulitiSelect")(&tree, CString(path.c_str())) != S_OK) return false;
    tree.SelectAllExcept(FALSE, tree.GetSelectedItem());
    return true;
  }
  HTREEITEM Item(const std::string& path) { return Find(tree.GetRootItem(), path); }
  std::string CaretPath() { return PathOf(tree.GetSelectedItem()); }
  std::string PathOf(HTREEITEM item) {
    auto* r = item ? reinterpret_cast<PluginItemRecord*>(tree.GetItemData(item)) : nullptr;
    return r && r->path ? r->path : "";
  }
  HTREEITEM Find(HTREEITEM from, const std::string& path) {
    for (HTREEITEM i = from; i; i = tree.GetNextSiblingItem(i)) {
      auto* r = reinterpret_cast<PluginItemRecord*>(tree.GetItemData(i));
      if (r && r->path && textkit::EqualNoCase(r->path, path)) return i;
      if (HTREEITEM c = tree.GetChildItem(i))
        if (HTREEITEM f = Find(c, path)) return f;
    }
    return nullptr;
  }
};

}  // namespace disktreetest
