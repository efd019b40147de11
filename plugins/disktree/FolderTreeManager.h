// The disk tree's one manager: fills the host's tree with the shell's folders from the
// desktop down, keeps each item bound to its shell folder and identifier lists, refreshes
// and removes items, and runs the folder thread that re-selects saved folders.
//
// Sources by concern:
//   FolderTreeManager.cpp        records, root and item building, sort, removal
//   FolderTreeManagerFill.cpp    a level's fill: listed and made ready on a worker, inserted
//                                on the tree's thread in batches
//   FolderTreeManagerSync.cpp    refresh and children sync, the folder thread's tree view
#pragma once
#include <FolderTreePlugin.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>
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
  // Fills the item's children once. In batches (the host's expansion on the tree's own
  // thread), a level that takes longer than one batch goes on from a timer, each batch
  // bounded and drawn at once; every other caller gets the whole level before it returns.
  HRESULT Expand(CTreeCtrl* tree, HTREEITEM item, bool excludeRemovable, bool inBatches = false);
  // Completes a fill still going on from the timer (everything that needs the whole child
  // list calls it first); false when none was pending.
  bool FinishFill(CTreeCtrl* tree, HTREEITEM item);
  // Drops every pending fill and its timer, and tells their workers to stop.
  void DropFills();
  // Whether the item's level is still being filled (tests).
  bool IsFilling(HTREEITEM item);
  HRESULT Refresh(CTreeCtrl* tree, HTREEITEM item);
  // An item opened before gets its children in step with the disk; one never opened gets
  // its button from the disk.
  void SyncChildren(CTreeCtrl* tree, HTREEITEM item);
  HRESULT RemoveItem(CTreeCtrl* tree, HTREEITEM item, bool deleteData);
  // The item's children in the order of its shell folder.
  void SortChildren(CTreeCtrl* tree, HTREEITEM item);
  // Binds an item in place to its new relative id list (taken over) in parent, after its
  // folder got a new name: its records, path and label, then its children's, by their
  // names. The item stays what it was in the tree: selected, open, where it was.
  bool Rebind(CTreeCtrl* tree, HTREEITEM item, IShellFolder* parent, LPITEMIDLIST relative);
  // Re-applies stored colours below and at item.
  void ApplyColours(CTreeCtrl* tree, HTREEITEM item);
  HRESULT SetColour(CTreeCtrl* tree, HTREEITEM item, COLORREF colour, bool remove);

  bool StartFolderThread(CTreeCtrl* tree, const std::string& selection);
  bool StopFolderThread() { return m_thread.Stop(); }
  // Before the host frees the library: the workers are told to stop and not waited for.
  // Each holds the library until it ends, so none runs in an unloaded library; the last
  // one's end unloads it. The fill timer goes now, on the thread that set it.
  void StopWorkers() {
    DropFills();
    m_probe.Stop();
  }
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
  // How long one sub-folder probe may be held up (its time queued behind moving probes not
  // counted) before its folder keeps the button undecided.
  static const DWORD kProbeBoundMs = 5000;
  // An item whose sub-folder probe is still out.
  struct PendingProbe {
    HTREEITEM item;
    unsigned ticket;
  };
  // A child made ready for its item off the tree's thread: everything the item shows.
  struct ReadyChild {
    LPITEMIDLIST relative = nullptr;  // owned until the item takes it
    LPITEMIDLIST absolute = nullptr;  // likewise
    std::string label, path;
    SFGAOF attributes = 0;
    DWORD fileAttributes = INVALID_FILE_ATTRIBUTES;
    int image = -1, openImage = -1;  // the system list's
    LONG colour = -1;
    unsigned ticket = 0;  // its sub-folder probe, 0 once used or none
    bool skip = true;
  };
  // What making a child ready needs of its parent, copied so that a worker can do it.
  struct ChildContext {
    IShellFolder* folder = nullptr;
    LPCITEMIDLIST parentAbsolute = nullptr;
    std::string parentBase;  // the parent's path where a file-system child's path is joined to it
    bool excludeRemovable = false;
    // When given: the paths with a stored colour (ASCII letters lowered); others are not read.
    const std::set<std::string>* coloured = nullptr;
    // The plain folders' icons once asked (the same for every one).
    mutable int plainImage = -2, plainOpenImage = -2;
  };
  // Names, tests and paths one child; false when it stays out of the tree.
  bool PrepareChild(const ChildContext& context, LPCITEMIDLIST child, ReadyChild* out) const;
  // Inserts a ready child after insertAfter; its probe is queued in pending, or answered at
  // once without it; with knownChildren 0 or 1 the probe's answer is known and none is made.
  HTREEITEM InsertChild(CTreeCtrl* tree, HTREEITEM parentItem, IShellFolder* parentFolder, HTREEITEM insertAfter,
                        ReadyChild& child, std::vector<PendingProbe>* pending, int knownChildren);
  // Builds one item; see InsertChild.
  HTREEITEM BuildItem(CTreeCtrl* tree, LPCITEMIDLIST parentAbsolute, LPCITEMIDLIST child, IShellFolder* parentFolder,
                      HTREEITEM parentItem, HTREEITEM insertAfter, bool excludeRemovable,
                      std::vector<PendingProbe>* pending = nullptr, int knownChildren = -1);
  // Takes the buttons away where the probes found no sub-folders; a probe held up past its
  // bound keeps its button, and a late answer changes nothing.
  void SettleProbes(CTreeCtrl* tree, const std::vector<PendingProbe>& pending);
  // A level's children listed, made ready and sorted by a worker (or the caller), shared
  // with the tree's thread, which inserts them in order.
  struct FillJob;
  static void PrepareLevel(CFolderTreeManager* manager, FillJob* job);
  static DWORD WINAPI FillWorker(LPVOID param);
  // A level being filled on the tree's thread: children inserted up to next.
  struct Fill {
    CTreeCtrl* tree = nullptr;
    HTREEITEM item = nullptr;
    IShellFolder* folder = nullptr;  // the item's own, one reference held
    std::shared_ptr<FillJob> job;
    size_t next = 0;
    HTREEITEM last = nullptr;
    bool any = false;
    // The host's expansion found no child yet (it came before the first batch's), so the
    // tree left the item closed: it is opened when its first children go in.
    bool openWithFirst = false;
  };
  // Inserts ready children until budgetMs has passed (INFINITE: all, waiting for the
  // worker and the probes); true when the whole level is in.
  // A batch (budgetMs not INFINITE) waits for the worker and the probes only with wait.
  bool RunFill(Fill& fill, DWORD budgetMs, bool wait);
  void EndFill(Fill& fill);
  // Whether an item's row is on screen or above it, its level being open.
  static bool RowShown(CTreeCtrl* tree, HTREEITEM item);
  void FreeFill(Fill& fill);
  static void CALLBACK FillTimer(HWND, UINT, UINT_PTR, DWORD);
  void OnFillTimer();
  std::map<HTREEITEM, Fill> m_fills;
  // The folder thread finishes a level under this lock, inserting through messages sent to
  // the tree's thread; HoldFills answers them while it waits, so neither waits for the other.
  std::recursive_mutex m_fillLock;
  std::unique_lock<std::recursive_mutex> HoldFills();
  UINT_PTR m_fillTimer = 0;
  DWORD m_fillThread = 0;
  static std::string PathOf(IShellFolder* parent, LPCITEMIDLIST relative, LPCITEMIDLIST absolute);
  // The path children of a file-system item are joined to; "" where their own is asked.
  static std::string ChildPathBase(CTreeCtrl* tree, HTREEITEM parentItem);
  // The system list's icons of a folder: plain ones by attributes, others by id list.
  void SystemImages(const std::string& path, SFGAOF attributes, DWORD fileAttributes, LPCITEMIDLIST absolute,
                    const ChildContext& context, int* normal, int* open) const;
  int TreeImage(CTreeCtrl* tree, int systemIndex);
  // The shared-folder mark in the tree's image list as overlay 1, which the items of shared
  // folders carry; done once the root is built, before any shared folder shows.
  static void RegisterShareOverlay(CTreeCtrl* tree);
  // A drive's label from the shell again; an optical drive whose label changed holds
  // another disc and is emptied (true). Drives without an icon get the system's.
  bool Relabel(CTreeCtrl* tree, HTREEITEM item, const std::string& root, UINT type);
  void SetDriveImages(CTreeCtrl* tree, HTREEITEM item, const std::string& root);
  // Closed, without children, with a button: opened again, it is filled afresh.
  void Empty(CTreeCtrl* tree, HTREEITEM item);
  // The expand button of a file-system folder never opened: shown when it holds a folder.
  void SetButtonFromDisk(CTreeCtrl* tree, HTREEITEM item);
  void FreeRecord(TreeItemRecord* record);

  std::string m_desktopDirectory, m_desktopName;
  std::map<int, int> m_images;  // system index -> the tree's image
  FolderThread m_thread;
  SubfolderProbe m_probe;
};

// The manager of the loaded plug-in (null when it could not be made).
CFolderTreeManager* Manager();

}  // namespace disktree
