// The disk tree's one manager: fills the host's tree with the shell's folders from the
// desktop down, keeps each item bound to its shell folder and identifier lists, refreshes
// and removes items, and runs the folder thread that re-selects saved folders.
//
// Sources by concern:
//   FolderTreeManager.cpp        records, root and item building, expansion, sort, removal
//   FolderTreeManagerSync.cpp    refresh and children sync, the folder thread's tree view
#pragma once
#include <FolderTreePlugin.h>

#include <map>
#include <string>
#include <vector>

#include "FolderThread.h"

namespace disktree {

// The item data of every tree item; the host reads the first two words (its folder and
// kind), and the third points to the shell record whose fifth word holds the attributes.
struct ShellItemRecord {
  IShellFolder* parent;  // not referenced by the record
  IShellFolder* folder;  // one reference held; bound when first needed (BoundFolder)
  LPITEMIDLIST relative;
  LPITEMIDLIST absolute;
  DWORD_PTR attributes;
  INT_PTR seen;
};
struct TreeItemRecord {
  char* path;  // whole, never cut
  INT_PTR kind;
  ShellItemRecord* shell;
};
static_assert(offsetof(TreeItemRecord, kind) == offsetof(PluginItemRecord, kind), "the host reads the kind");
static_assert(offsetof(ShellItemRecord, attributes) == offsetof(PluginDragRecord, attributes), "fifth word");

class CFolderTreeManager {
 public:
  CFolderTreeManager();
  virtual ~CFolderTreeManager();

  HRESULT BuildRoot(CTreeCtrl* tree, HTREEITEM parent, bool excludeRemovable);
  HRESULT Expand(CTreeCtrl* tree, HTREEITEM item, bool excludeRemovable);
  HRESULT Refresh(CTreeCtrl* tree, HTREEITEM item);
  void SyncChildren(CTreeCtrl* tree, HTREEITEM item);
  HRESULT RemoveItem(CTreeCtrl* tree, HTREEITEM item, bool deleteData);
  // Re-applies stored colours below and at item.
  void ApplyColours(CTreeCtrl* tree, HTREEITEM item);
  HRESULT SetColour(CTreeCtrl* tree, HTREEITEM item, COLORREF colour, bool remove);

  bool StartFolderThread(CTreeCtrl* tree, const std::string& selection);
  bool StopFolderThread() { return m_thread.Stop(); }
  // Before the host frees the library: no worker may be left holding it.
  void StopWorkers() { m_probe.Stop(); }
  bool IsFolderThreadRunning() const { return m_thread.IsRunning(); }
  // The synchronous walk: true when found.
  bool SelectPathNow(CTreeCtrl* tree, const std::string& path);

  static TreeItemRecord* Record(CTreeCtrl* tree, HTREEITEM item);
  // The item's own shell folder, bound on first use; null when it cannot be bound.
  static IShellFolder* BoundFolder(TreeItemRecord* record);
  static std::string ItemPath(CTreeCtrl* tree, HTREEITEM item);
  const std::string& DesktopDirectory() const { return m_desktopDirectory; }

  volatile bool m_bClipboardBusy = false;
  bool m_bTreeCreated = false;
  // Set while DeleteTree removes items: selection changes are not saved.
  bool m_bTakingDown = false;

 private:
  // An item whose sub-folder probe is still out.
  struct PendingProbe {
    HTREEITEM item;
    unsigned ticket;
  };
  // Builds one item; its probe is queued in pending, or answered at once without it.
  HTREEITEM BuildItem(CTreeCtrl* tree, LPCITEMIDLIST parentAbsolute, LPCITEMIDLIST child, IShellFolder* parentFolder,
                      HTREEITEM parentItem, HTREEITEM insertAfter, bool excludeRemovable,
                      std::vector<PendingProbe>* pending = nullptr);
  // Takes the buttons away where the probes found no sub-folders; all of them share one
  // bound, after which a late answer changes nothing.
  void SettleProbes(CTreeCtrl* tree, const std::vector<PendingProbe>& pending);
  std::string PathOf(IShellFolder* parent, LPCITEMIDLIST relative, LPCITEMIDLIST absolute);
  // The path of a file-system child from its parent item's path; "" where that does not hold.
  std::string FastChildPath(CTreeCtrl* tree, HTREEITEM parentItem, IShellFolder* parentFolder, LPCITEMIDLIST child,
                            ULONG attributes);
  void SetIcons(CTreeCtrl* tree, HTREEITEM item, TreeItemRecord* record);
  int TreeImage(CTreeCtrl* tree, int systemIndex);
  void SortChildren(CTreeCtrl* tree, HTREEITEM item);
  void FreeRecord(TreeItemRecord* record);

  std::string m_desktopDirectory, m_desktopName;
  std::map<int, int> m_images;  // system index -> the tree's image
  FolderThread m_thread;
  SubfolderProbe m_probe;
};

// The manager of the loaded plug-in (null when it could not be made).
CFolderTreeManager* Manager();

}  // namespace disktree
