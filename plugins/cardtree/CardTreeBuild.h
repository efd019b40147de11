// The card folder tree in the host's tree control: one node per card drive with its
// families of folders, built at once, renewed by mark and sweep, searched and answered.
#pragma once
#include <FolderTreePlugin.h>

#include <string>

namespace cardtree {

// Every node's item data. The host reads the first three words as a PluginItemRecord.
struct CardItemRecord {
  char* path;    // owned; "" for drive, group and device nodes
  INT_PTR kind;  // CardItemKind
  INT_PTR extra;
  int seen;      // 1 while a renewal has confirmed the node
};
static_assert(offsetof(CardItemRecord, path) == offsetof(PluginItemRecord, path), "path first");
static_assert(offsetof(CardItemRecord, kind) == offsetof(PluginItemRecord, kind), "kind second");
static_assert(offsetof(CardItemRecord, extra) == offsetof(PluginItemRecord, extra), "extra third");

enum CardItemKind {
  kKindDrive = 0,  // also the DCIM node outside group mode, and disc device nodes
  kKindGroup = 2,
  kKindFolder = -1,
  kKindAutoPlay = 3,
  kKindDiscDate = 6,
};

CardItemRecord* NewRecord(const std::string& path, int kind);
void FreeRecord(CardItemRecord* record);
CardItemRecord* RecordOf(CTreeCtrl* tree, HTREEITEM item);

// The item with its subtree and records.
void DeleteItemTree(CTreeCtrl* tree, HTREEITEM item);
void DeleteAllItems(CTreeCtrl* tree);

// Gives the node the drive icon (slot 0) or the disc icon (slot 1) of a two-image list,
// the tree's own or, when it has none, one made for it.
void SetItemIconSlot(CTreeCtrl* tree, HTREEITEM item, int slot);
// The image lists made for trees without one (at unload, once the trees are gone).
void DestroyOwnImageLists();

// The first child of parent (top level for TVI_ROOT) whose label is exactly label.
HTREEITEM FindChildByLabel(CTreeCtrl* tree, HTREEITEM parent, const std::string& label);

HRESULT CreateCardTree(CTreeCtrl* tree, HTREEITEM parent);
HRESULT RenewCardTree(CTreeCtrl* tree);
// Selects the node whose path is the given one; FALSE when there is none.
BOOL SelectCardFolder(CTreeCtrl* tree, const std::string& path);
HRESULT CardFolderTypeNum(CTreeCtrl* tree, int* value);

// While a pass runs: whether it renews (looks nodes up and marks them) or creates.
struct TreePass {
  CTreeCtrl* tree;
  bool renew;
  std::string openFolder;  // creation selects the folder node of this path
  // A node under parent: looked up by label when renewing (marked seen), else inserted
  // after `after` with a new record. *inserted tells which.
  HTREEITEM Node(HTREEITEM parent, const std::string& label, const std::string& path, int kind, HTREEITEM after,
                 bool* inserted = nullptr);
};

}  // namespace cardtree
