// The folder pane's part in the plug-in tests: a frame with the host's multi-selection
// tree, and DiskTree.psp loaded by name and taken down as the pane takes it down.
#pragma once
#include <FolderTreePlugin.h>
#include <dropop/DropRules.h>
#include <textkit/text.h>

#include <cstring>
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
