// The exports that work on the host's tree: building, expanding, refreshing, selecting,
// the folder thread, drops and the clipboard notice.
#include <FolderTreePlugin.h>
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <dropop/CardFileOperation.h>
#include <dropop/DropRules.h>
#include <shlobj.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include "DiskTreeCommands.h"
#include "DiskTreeModule.h"
#include "DiskTreeRules.h"
#include "FolderOps.h"
#include "FolderTreeManager.h"
#include "ShellItems.h"

using namespace disktree;

namespace {

const char kFolderInfo[] = "VazODA\\FolderInfo";

CCheckTreeCtrl* Check(CTreeCtrl* tree) { return static_cast<CCheckTreeCtrl*>(tree); }

HTREEITEM HitItem(CTreeCtrl* tree, int x, int y) {
  CPoint pt(x, y);
  return tree->HitTest(pt);
}

bool IsFileSystemItem(CTreeCtrl* tree, HTREEITEM item) {
  TreeItemRecord* r = CFolderTreeManager::Record(tree, item);
  return r && r->shell && (r->shell->attributes & SFGAO_FILESYSTEM) && r->path && !IsVetoedPath(r->path);
}

}  // namespace

extern "C" {

PLUGIN_EXPORT HRESULT SelectFolder(CTreeCtrl* tree, CString path);

PLUGIN_EXPORT HRESULT CreateTree(CTreeCtrl* tree, CImageList*, HTREEITEM parent) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!tree) return E_INVALIDARG;
  // Read first: selecting the new root tells the host, which saves that selection over it.
  CString open = CMGetProfileString(kFolderInfo, "OpenFolder", "");
  m->BuildRoot(tree, parent, false);
  if (!open.IsEmpty()) SelectFolder(tree, open);
  m->m_bTreeCreated = true;
  return S_OK;
}

// No deliverable calls it: a tree of its own in the default GUI font, optionally without
// removable drives, with the first folder outside the file system opened.
PLUGIN_EXPORT HRESULT InitializeTree(CTreeCtrl* tree, INT_PTR, HTREEITEM parent, BOOL expandFirst,
                                     BOOL excludeRemovable) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!tree) return E_INVALIDARG;
  tree->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  m->BuildRoot(tree, parent, excludeRemovable != FALSE);
  if (expandFirst) {
    HTREEITEM root = tree->GetRootItem();
    for (HTREEITEM c = root ? tree->GetChildItem(root) : nullptr; c; c = tree->GetNextSiblingItem(c)) {
      TreeItemRecord* r = CFolderTreeManager::Record(tree, c);
      if (r && r->shell && !(r->shell->attributes & SFGAO_FILESYSTEM)) {
        m->Expand(tree, c, excludeRemovable != FALSE);
        tree->Expand(c, TVE_EXPAND);
        break;
      }
    }
  }
  return S_OK;
}

PLUGIN_EXPORT HRESULT DeleteTree(CTreeCtrl* tree, HTREEITEM item) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!m->StopFolderThread()) return E_FAIL;
  m->StopWorkers();
  // The caret moves up while items go; that is no choice of the user's to save.
  m->m_bTakingDown = true;
  const HRESULT hr = m->RemoveItem(tree, item, false);
  m->m_bTakingDown = false;
  return hr;
}

PLUGIN_EXPORT HRESULT ExpandTree(CTreeCtrl* tree, HTREEITEM item) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  // The host's own expansion: a long level is filled in batches, the window served between.
  return m->Expand(tree, item, false, true);
}

PLUGIN_EXPORT HRESULT RenewalTree(CTreeCtrl* tree, HTREEITEM item) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!tree) return E_INVALIDARG;
  if (item) return m->Refresh(tree, item);
  HRESULT hr = S_OK;
  for (HTREEITEM root = tree->GetRootItem(); root; root = tree->GetNextSiblingItem(root)) hr = m->Refresh(tree, root);
  return hr;
}

PLUGIN_EXPORT HRESULT SelectTreeItem(CTreeCtrl* tree, HTREEITEM) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!tree) return E_INVALIDARG;
  if (m->m_bTakingDown) return S_OK;
  std::vector<SelectedItem> items;
  const HTREEITEM root = tree->GetRootItem();
  for (HTREEITEM i = Check(tree)->GetFirstSelectedItem(); i; i = Check(tree)->GetNextSelectedItem(i)) {
    SelectedItem s;
    s.root = i == root;
    if (TreeItemRecord* r = CFolderTreeManager::Record(tree, i)) s.path = std::string(r->path ? r->path : "");
    items.push_back(s);
  }
  CMWriteProfileString(kFolderInfo, "OpenFolder", SelectionText(items).c_str());
  return S_OK;
}

PLUGIN_EXPORT HRESULT SelectFolder(CTreeCtrl* tree, CString path) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!tree) return E_INVALIDARG;
  std::string text(path);
  if (!m->StartFolderThread(tree, text)) return E_FAIL;
  CMWriteProfileString(kFolderInfo, "OpenFolder", text.c_str());
  if (text == kDesktopEntry) text = CFolderTreeManager::ItemPath(tree, tree->GetRootItem());
  const std::string pane = ResourceString(IDS_TREE_TITLE_DISK) + "|" + text;
  CMWriteProfileString("VxFolder\\FolderInfo", "OpenFolder", pane.c_str());
  return S_OK;
}

PLUGIN_EXPORT HRESULT SelectFolderNotMulitiSelect(CTreeCtrl* tree, CString path) {
  CFolderTreeManager* m = Manager();
  if (!tree) return E_INVALIDARG;
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  return m->SelectPathNow(tree, std::string(path)) ? S_OK : E_INVALIDARG;
}

PLUGIN_EXPORT HRESULT IsDoThread() {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  return m->IsFolderThreadRunning() ? S_OK : E_FAIL;
}

PLUGIN_EXPORT HRESULT StopFolderThread() {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  return m->StopFolderThread() ? S_OK : E_FAIL;
}

PLUGIN_EXPORT HRESULT DrawClipboard(CTreeCtrl* tree) {
  CFolderTreeManager* m = Manager();
  if (!m || !tree) return E_PLUGIN_NOT_SUPPORTED;
  if (m->m_bClipboardBusy) return S_OK;
  ClearCutMarks(tree);
  return S_OK;
}

PLUGIN_EXPORT HRESULT DragOver(CTreeCtrl* tree, COleDataObject* data, DWORD keyState, int x, int y, DWORD* effect,
                               int* imageShown) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!tree) return E_INVALIDARG;
  if (effect) *effect = DROPEFFECT_NONE;
  // Held near an edge, the drag scrolls the rows out of sight into reach, one step in
  // each interval (the host asks again while the mouse rests).
  static DWORD lastScroll = 0;
  if (GetTickCount() - lastScroll >= kDragScrollIntervalMs && tree->DragScroll(CPoint(x, y), imageShown && *imageShown))
    lastScroll = GetTickCount();
  HTREEITEM item = HitItem(tree, x, y);
  if (!item) return S_OK;
  tree->SelectDropTarget(item);
  if (!data || !IsFileSystemItem(tree, item) || !data->IsDataAvailable(CF_HDROP)) return S_OK;
  std::vector<std::string> sources;
  if (HGLOBAL h = data->GetGlobalData(CF_HDROP)) {
    dropop::ReadDropBlock(GlobalLock(h), GlobalSize(h), &sources);
    GlobalUnlock(h);
    GlobalFree(h);
  }
  if (effect) *effect = DragEffect(CFolderTreeManager::ItemPath(tree, item), sources, keyState);
  return S_OK;
}

PLUGIN_EXPORT HRESULT Drop(CTreeCtrl* tree, HGLOBAL files, DWORD effect, int x, int y) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!tree || !files) return S_OK;
  HTREEITEM item = HitItem(tree, x, y);
  if (!item || !IsFileSystemItem(tree, item)) return S_OK;
  Check(tree)->ClearFocus();
  tree->SelectItem(item);
  const std::string target = CFolderTreeManager::ItemPath(tree, item);
  CCardFileOperation op;
  if (!op.Drop(target.c_str(), static_cast<HDROP>(files), effect)) {
    if (op.LastFault() == dropop::DropListFault::NotRepresentable)
      AfxMessageBox(ResourceString(IDS_TREE_DROP_NOT_REPRESENTABLE).c_str(), MB_OK | MB_ICONERROR);
    else if (op.LastFault() == dropop::DropListFault::PathTooLong)
      AfxMessageBox(ResourceString(IDS_TREE_PATH_TOO_LONG).c_str(), MB_OK | MB_ICONERROR);
    return E_FAIL;  // the host must not reload as after a drop that worked
  }
  m->SyncChildren(tree, item);
  ResetChangedFolders(target);
  return S_OK;
}

}  // extern "C"

// ---- names: new folders and renames -------------------------------------------------------

namespace {

void ShowRefusal(UINT id, DWORD systemError) {
  std::string text = id ? ResourceString(id) : std::string();
  if (text.empty()) {
    char buffer[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, systemError, 0, buffer,
                   sizeof buffer, nullptr);
    text = buffer;
  }
  AfxMessageBox(text.c_str(), MB_OK | MB_ICONERROR);
}

bool IsProtectedPath(const std::string& path) {
  char dir[MAX_PATH * 2] = {};
  if (GetWindowsDirectoryA(dir, sizeof dir) && SameFolder(path, dir)) return true;
  if (GetSystemDirectoryA(dir, sizeof dir) && SameFolder(path, dir)) return true;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
      continue;
    bool found = false;
    for (DWORD i = 0; !found; ++i) {
      char name[520], data[1040];
      DWORD nameLen = sizeof name, dataLen = sizeof data - 1, type = 0;
      if (RegEnumValueA(key, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLen) !=
          ERROR_SUCCESS)
        break;
      data[dataLen] = '\0';
      if ((type == REG_SZ || type == REG_EXPAND_SZ) && SameFolder(path, data)) found = true;
    }
    RegCloseKey(key);
    if (found) return true;
  }
  return false;
}

}  // namespace

extern "C" {

PLUGIN_EXPORT HRESULT IsRenameTreeItem(CTreeCtrl* tree, HTREEITEM item) {
  if (!tree) return E_INVALIDARG;
  TreeItemRecord* r = CFolderTreeManager::Record(tree, item);
  if (!r || !r->shell || !tree->GetParentItem(item)) return E_ACCESSDENIED;
  std::string path;
  if (!GetDisplayNameText(r->shell->parent, r->shell->relative, SHGDN_FORPARSING, &path)) return E_ACCESSDENIED;
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_SYSTEM)) return E_ACCESSDENIED;
  if (!(r->shell->attributes & SFGAO_CANRENAME) || IsDriveRoot(path) || IsVetoedPath(path) || IsProtectedPath(path))
    return E_ACCESSDENIED;
  return S_OK;
}

PLUGIN_EXPORT HRESULT RenameTreeItem(CTreeCtrl* tree, HTREEITEM item, char* newText) {
  CFolderTreeManager* m = Manager();
  if (!tree || !item || !newText || !*newText) return E_INVALIDARG;
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  TreeItemRecord* r = CFolderTreeManager::Record(tree, item);
  if (!r || !r->shell || !r->path) return E_INVALIDARG;
  std::string name = newText;
  NameRefusal refusal = CheckNewName(r->path, &name);
  if (refusal != NameRefusal::None) {
    ShowRefusal(RefusalString(refusal), ERROR_INVALID_NAME);
    return E_FAIL;
  }
  std::string oldPath;
  GetDisplayNameText(r->shell->parent, r->shell->relative, SHGDN_FORPARSING, &oldPath);
  std::wstring wide;
  if (!textkit::TryAnsiToWide(name, &wide)) return E_FAIL;
  LPITEMIDLIST newId = nullptr;
  IShellFolder* parentFolder = r->shell->parent;
  HRESULT hr = parentFolder->SetNameOf(::GetActiveWindow(), r->shell->relative, wide.c_str(),
                                       SHGDN_INFOLDER | SHGDN_FORPARSING, &newId);
  if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return E_FAIL;
  std::string newPath = textkit::FolderPartOf(oldPath) + name;
  SHChangeNotify(SHCNE_RENAMEFOLDER, SHCNF_PATHA, oldPath.c_str(), newPath.c_str());
  // The item keeps its place, its selection and its open state: it is bound to the new
  // name where it stands, and the browser goes on showing the same folder.
  if (!newId || !m->Rebind(tree, item, parentFolder, newId)) {
    // The shell gave no new id: the item is built again from the disk and made the caret.
    HTREEITEM parent = tree->GetParentItem(item);
    m->RemoveItem(tree, item, false);
    if (parent) {
      m->SyncChildren(tree, parent);
      for (HTREEITEM c = tree->GetChildItem(parent); c; c = tree->GetNextSiblingItem(c))
        if (SameFolder(CFolderTreeManager::ItemPath(tree, c), newPath)) tree->SelectItem(c);
    }
  } else {
    // The shell's spelling where it changed the name; a change of letter case only is kept
    // as typed (the shell may still answer the old case).
    const std::string bound = CFolderTreeManager::ItemPath(tree, item);
    if (!SameFolder(bound, newPath)) newPath = bound;
    if (HTREEITEM parent = tree->GetParentItem(item)) m->SortChildren(tree, parent);
  }
  MoveFolderEntries(oldPath, newPath);
  MoveFolderColours(oldPath, newPath);
  if (HTREEITEM root = tree->GetRootItem()) m->Refresh(tree, root);
  ResetChangedFolders(newPath);
  return S_OK;
}

PLUGIN_EXPORT HRESULT NewTreeNotMulitiSelect(CTreeCtrl* tree) {
  if (!tree) return E_INVALIDARG;
  if (!Manager()) return E_PLUGIN_NOT_SUPPORTED;
  return NewFolderUnderCaret(tree, false);
}

}  // extern "C"

namespace disktree {

HRESULT NewFolderUnderCaret(CTreeCtrl* tree, bool menuVariant) {
  CFolderTreeManager* m = Manager();
  if (!tree) return E_INVALIDARG;
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  HTREEITEM caret = tree->GetSelectedItem();
  const std::string parent = CFolderTreeManager::ItemPath(tree, caret);
  if (parent.empty()) return E_FAIL;
  NewFolderOutcome made = MakeNewFolder(parent, ResourceString(IDS_DISKTREE_NEW_FOLDER));
  if (made.result != S_OK) {
    ShowRefusal(NewFolderErrorString(made.error), made.error);
    return E_FAIL;
  }
  SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA, made.path.c_str(), nullptr);
  m->Expand(tree, caret, false);
  m->SyncChildren(tree, caret);
  tree->Expand(caret, TVE_EXPAND);
  HTREEITEM created = nullptr;
  for (HTREEITEM c = tree->GetChildItem(caret); c && !created; c = tree->GetNextSiblingItem(c))
    if (textkit::EqualNoCase(CFolderTreeManager::ItemPath(tree, c), made.path)) created = c;
  if (created) {
    if (menuVariant) Check(tree)->SelectAllExcept(FALSE, created);
    tree->SelectItem(created);
  }
  // Both variants bring the whole tree in step (other programs may have changed folders
  // meanwhile); only the menu's names the folder it made.
  if (HTREEITEM root = tree->GetRootItem()) m->Refresh(tree, root);
  if (menuVariant) ResetChangedFolders(made.path);
  return S_OK;
}

void ClearCutMarks(CTreeCtrl* tree) {
  for (HTREEITEM i = tree->GetFirstVisibleItem(); i; i = tree->GetNextVisibleItem(i))
    tree->SetItemState(i, 0, TVIS_CUT);
}

}  // namespace disktree
