#include <Kitlib2/Profile.h>
#include <MainWndMessages.h>
#include <textkit/text.h>

#include "DiskTreeRules.h"
#include "FolderTreeManager.h"
#include "FolderWalk.h"
#include "ShellItems.h"

namespace disktree {

namespace {

const char kFolderInfo[] = "VazODA\\FolderInfo";

// The host's tree as the walks see it; from the folder thread every call reaches the tree
// through its messages, which the tree's own thread carries out.
class HostTree : public WalkTree {
 public:
  HostTree(CFolderTreeManager* manager, CTreeCtrl* tree) : m_manager(manager), m_tree(tree) {}
  HTREEITEM Root() override { return m_tree->GetRootItem(); }
  HTREEITEM Caret() override { return m_tree->GetSelectedItem(); }
  HTREEITEM Parent(HTREEITEM item) override { return m_tree->GetParentItem(item); }
  HTREEITEM FirstChild(HTREEITEM item) override { return m_tree->GetChildItem(item); }
  HTREEITEM NextSibling(HTREEITEM item) override { return m_tree->GetNextSiblingItem(item); }
  void Expand(HTREEITEM item) override {
    m_manager->Expand(m_tree, item, false);
    m_tree->Expand(item, TVE_EXPAND);
  }
  std::string Text(HTREEITEM item) override { return std::string(m_tree->GetItemText(item)); }
  ULONG Attributes(HTREEITEM item) override {
    TreeItemRecord* r = CFolderTreeManager::Record(m_tree, item);
    return r && r->shell ? static_cast<ULONG>(r->shell->attributes) : 0;
  }
  std::string ParsingPath(HTREEITEM item) override {
    TreeItemRecord* r = CFolderTreeManager::Record(m_tree, item);
    std::string path;
    if (r && r->shell) GetDisplayNameText(r->shell->parent, r->shell->relative, SHGDN_FORPARSING, &path);
    return path;
  }
  void SelectAlone(HTREEITEM item) override {
    static_cast<CCheckTreeCtrl*>(m_tree)->SelectAllExcept(FALSE, item);
    m_tree->Select(item, TVGN_CARET);
  }
  void AddToSelection(HTREEITEM item) override { static_cast<CCheckTreeCtrl*>(m_tree)->SelectOnly(item); }
  void MakeCaret(HTREEITEM item) override { m_tree->Select(item, TVGN_CARET); }

 private:
  CFolderTreeManager* m_manager;
  CTreeCtrl* m_tree;
};

std::string NetworkName() {
  IShellFolder* desktop = nullptr;
  std::string name;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
    ItemIdList network;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, network.Out())))
      GetDisplayNameText(desktop, network.Get(), SHGDN_NORMAL, &name);
    desktop->Release();
  }
  return name;
}

}  // namespace

HRESULT CFolderTreeManager::Refresh(CTreeCtrl* tree, HTREEITEM item) {
  if (!tree || !item) return E_INVALIDARG;
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const bool flush = CMGetProfileInt(kFolderInfo, "OptDiscFlush", 0) != 0;
  for (HTREEITEM cur = item; cur;) {
    HTREEITEM next = tree->GetNextSiblingItem(cur);
    const std::string root = DriveRootOfLabel(std::string(tree->GetItemText(cur)));
    if (!root.empty()) {
      const UINT type = GetDriveTypeA(root.c_str());
      if (type == DRIVE_NO_ROOT_DIR || (type == DRIVE_CDROM && flush)) {
        RemoveItem(tree, cur, false);  // the parent's sync inserts it afresh when it is back
        cur = next;
        continue;
      }
      if ((type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_CDROM) && Relabel(tree, cur, root, type)) {
        cur = next;
        continue;
      }
      if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM || type == DRIVE_REMOTE) {
        UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
        BOOL ready = GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
        SetErrorMode(mode);
        if (!ready) {
          if (type == DRIVE_REMOTE) SetDriveImages(tree, cur, root);
          Empty(tree, cur);
          cur = next;
          continue;
        }
      }
    }
    if (HTREEITEM child = tree->GetChildItem(cur)) Refresh(tree, child);
    SyncChildren(tree, cur);
    cur = next;
  }
  if (flush) CMWriteProfileInt(kFolderInfo, "OptDiscFlush", 0);
  SetCursor(old);
  return S_OK;
}

bool CFolderTreeManager::Relabel(CTreeCtrl* tree, HTREEITEM item, const std::string& root, UINT type) {
  TreeItemRecord* record = Record(tree, item);
  std::string label;
  if (!record || !record->shell ||
      !GetDisplayNameText(record->shell->parent, record->shell->relative, SHGDN_NORMAL, &label))
    return false;
  const bool changed = label != std::string(tree->GetItemText(item));
  if (changed) tree->SetItemText(item, label.c_str());
  if (type == DRIVE_CDROM) {
    // Another disc: what was listed of the old one is gone, and so is its icon.
    SetDriveImages(tree, item, root);
    if (changed) {
      Empty(tree, item);
      return true;
    }
  } else {
    int image = -1, open = -1;
    if (!tree->GetItemImage(item, image, open) || image < 0) SetDriveImages(tree, item, root);
  }
  return false;
}

void CFolderTreeManager::SetDriveImages(CTreeCtrl* tree, HTREEITEM item, const std::string& root) {
  int images[2] = {-1, -1};
  for (int k = 0; k < 2; ++k) {
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(root.c_str(), 0, &info, sizeof info,
                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (k ? SHGFI_OPENICON : 0)))
      images[k] = TreeImage(tree, info.iIcon);
  }
  if (images[0] >= 0) tree->SetItemImage(item, images[0], images[1] >= 0 ? images[1] : images[0]);
}

void CFolderTreeManager::Empty(CTreeCtrl* tree, HTREEITEM item) {
  tree->Expand(item, TVE_COLLAPSE | TVE_COLLAPSERESET);
  for (HTREEITEM c = tree->GetChildItem(item); c;) {
    HTREEITEM n = tree->GetNextSiblingItem(c);
    RemoveItem(tree, c, false);
    c = n;
  }
  TVITEMA tv = {};
  tv.mask = TVIF_CHILDREN | TVIF_STATE;
  tv.hItem = item;
  tv.cChildren = 1;
  tv.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  tree->SetItem(&tv);
}

void CFolderTreeManager::SyncChildren(CTreeCtrl* tree, HTREEITEM item) {
  FinishFill(tree, item);
  TreeItemRecord* record = Record(tree, item);
  if (!record || !record->shell) return;
  if (!(tree->GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE)) {
    // Never opened, so it has no children to sync; but a folder dropped or pasted into it,
    // or made there by another program, must be reachable: its button follows the disk.
    SetButtonFromDisk(tree, item);
    return;
  }
  IShellFolder* folder = BoundFolder(record);
  if (!folder) return;
  IEnumIDList* list = nullptr;
  if (FAILED(folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &list)) || !list)
    return;
  bool inserted = false;
  std::vector<PendingProbe> probes;
  LPITEMIDLIST child = nullptr;
  while (list->Next(1, &child, nullptr) == S_OK) {
    std::string name;
    GetDisplayNameText(folder, child, SHGDN_INFOLDER, &name);
    bool found = false;
    for (HTREEITEM c = tree->GetChildItem(item); c && !found; c = tree->GetNextSiblingItem(c)) {
      if (textkit::EqualNoCase(std::string(tree->GetItemText(c)), name)) {
        if (TreeItemRecord* r = Record(tree, c)) r->shell->seen = 1;
        found = true;
      }
    }
    if (!found) {
      HTREEITEM made = BuildItem(tree, record->shell->absolute, child, folder, item, TVI_LAST, false, &probes);
      if (made && made != TVI_LAST) {
        if (TreeItemRecord* r = Record(tree, made)) r->shell->seen = 1;
        inserted = true;
      }
    }
    CoTaskMemFree(child);
  }
  list->Release();
  SettleProbes(tree, probes);
  bool any = false;
  for (HTREEITEM c = tree->GetChildItem(item); c;) {
    HTREEITEM next = tree->GetNextSiblingItem(c);
    TreeItemRecord* r = Record(tree, c);
    if (r && !r->shell->seen) {
      RemoveItem(tree, c, false);
    } else {
      if (r) r->shell->seen = 0;
      ApplyColours(tree, c);
      any = true;
    }
    c = next;
  }
  if (inserted) SortChildren(tree, item);
  TVITEMA tv = {};
  tv.mask = TVIF_CHILDREN;
  tv.hItem = item;
  tv.cChildren = any ? 1 : 0;
  tree->SetItem(&tv);
}

void CFolderTreeManager::SetButtonFromDisk(CTreeCtrl* tree, HTREEITEM item) {
  TreeItemRecord* record = Record(tree, item);
  // Drives are left alone: asking one that holds no medium may take long, and their
  // expansion says what they hold.
  if (!record || !record->shell || !(record->shell->attributes & SFGAO_FILESYSTEM) || !record->path ||
      IsDriveRoot(record->path))
    return;
  const DWORD attr = GetFileAttributesA(record->path);
  if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) return;
  TVITEMA tv = {};
  tv.mask = TVIF_CHILDREN;
  tv.hItem = item;
  tv.cChildren = HasSubdirectory(record->path) ? 1 : 0;
  tree->SetItem(&tv);
}

bool CFolderTreeManager::StartFolderThread(CTreeCtrl* tree, const std::string& selection) {
  if (!tree) return false;
  HWND window = tree->m_hWnd;
  const std::string network = NetworkName();
  return m_thread.Start([this, tree, window, selection, network](const volatile LONG* stop) -> unsigned {
    HostTree view(this, tree);
    SelectionRun run = RunSelection(view, selection, stop, network);
    if (run.postOpenFolder) ::PostMessageA(window, WM_OPEN_FOLDER, 0, 0);
    if (run.writeBack) CMWriteProfileString(kFolderInfo, "OpenFolder", selection.c_str());
    return static_cast<unsigned>(run.outcome);
  });
}

bool CFolderTreeManager::SelectPathNow(CTreeCtrl* tree, const std::string& path) {
  if (!tree) return false;
  HostTree view(this, tree);
  return disktree::SelectPathNow(view, path) == 1;
}

}  // namespace disktree
