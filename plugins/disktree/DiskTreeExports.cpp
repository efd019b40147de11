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

#include "DiskTreeModule.h"
#include "DiskTreeRules.h"
#include "FolderOps.h"
#include "FolderTreeManager.h"

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
  m->BuildRoot(tree, parent, false);
  CString open = CMGetProfileString(kFolderInfo, "OpenFolder", "");
  if (!open.IsEmpty()) SelectFolder(tree, open);
  m->m_bTreeCreated = true;
  return S_OK;
}

PLUGIN_EXPORT HRESULT DeleteTree(CTreeCtrl* tree, HTREEITEM item) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!m->StopFolderThread()) return E_FAIL;
  m->StopWorkers();
  return m->RemoveItem(tree, item, false);
}

PLUGIN_EXPORT HRESULT ExpandTree(CTreeCtrl* tree, HTREEITEM item) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  return m->Expand(tree, item, false);
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
  for (HTREEITEM i = tree->GetFirstVisibleItem(); i; i = tree->GetNextVisibleItem(i))
    tree->SetItemState(i, 0, TVIS_CUT);
  return S_OK;
}

PLUGIN_EXPORT HRESULT DragOver(CTreeCtrl* tree, COleDataObject* data, DWORD keyState, int x, int y, DWORD* effect,
                               int*) {
  CFolderTreeManager* m = Manager();
  if (!m) return E_PLUGIN_NOT_SUPPORTED;
  if (!tree) return E_INVALIDARG;
  if (effect) *effect = DROPEFFECT_NONE;
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
