// The folder menu and the context menu: their greying, their dispatch by command and the
// short command bodies (cut, copy, paste, delete) over the clipboard, the shared drop
// operation and the shell's recycle bin.
#include <FolderTreePlugin.h>
#include <Kitlib2/Profile.h>
#include <KitlibEx/KitlibEx.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>
#include <dropop/CardFileOperation.h>
#include <fw/ole.h>
#include <shlobj.h>
#include <textkit/text.h>

#include <set>
#include <vector>

#include "DiskTreeCommands.h"
#include "DiskTreeModule.h"
#include "DiskTreeRules.h"
#include "FolderClipboard.h"
#include "FolderOps.h"
#include "FolderPropertiesPage.h"
#include "FolderTreeManager.h"
#include "IconColorDialog.h"

using namespace disktree;

extern "C" PLUGIN_EXPORT HRESULT IsRenameTreeItem(CTreeCtrl* tree, HTREEITEM item);

namespace {

CCheckTreeCtrl* Check(CTreeCtrl* tree) { return static_cast<CCheckTreeCtrl*>(tree); }

std::vector<HTREEITEM> Selection(CTreeCtrl* tree) {
  std::vector<HTREEITEM> items;
  for (HTREEITEM i = Check(tree)->GetFirstSelectedItem(); i; i = Check(tree)->GetNextSelectedItem(i))
    items.push_back(i);
  return items;
}

ULONG ShellAttributes(CTreeCtrl* tree, HTREEITEM item) {
  TreeItemRecord* r = CFolderTreeManager::Record(tree, item);
  return r && r->shell ? static_cast<ULONG>(r->shell->attributes) : 0;
}

MenuItemFacts FactsOf(CTreeCtrl* tree, HTREEITEM item) {
  MenuItemFacts f;
  f.shellAttributes = ShellAttributes(tree, item);
  const std::string path = CFolderTreeManager::ItemPath(tree, item);
  const DWORD attr = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  f.systemOrUnreadable = attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_SYSTEM);
  f.driveRoot = IsDriveRoot(path);
  return f;
}

bool HasFavouritesKey() {
  const std::string name = std::string(CMGetKeyPosition()) + "\\FavoPIN\\FolderName";
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// What the menus' greying reads; the context menu judges the caret alone, the folder menu
// every selected item.
FolderMenuState MenuState(CTreeCtrl* tree, bool caretOnly) {
  FolderMenuState s;
  HTREEITEM caret = tree->GetSelectedItem();
  s.selectedCount = Check(tree)->GetSelectedCount();
  s.caretAttributes = ShellAttributes(tree, caret);
  s.caretRenamable = caret && IsRenameTreeItem(tree, caret) == S_OK;
  if (caretOnly) {
    if (caret) s.selected.push_back(FactsOf(tree, caret));
  } else {
    for (HTREEITEM i : Selection(tree)) s.selected.push_back(FactsOf(tree, i));
  }
  s.clipboardHasFiles = IsClipboardFormatAvailable(CF_HDROP) != FALSE;
  s.editOpen = tree->GetEditControl() != nullptr;
  s.clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  s.favouritesKey = HasFavouritesKey();
  const std::string path = CFolderTreeManager::ItemPath(tree, caret);
  s.caretDriveRoot = IsDriveRoot(path);
  s.caretAttributesReadable = !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  s.caretVetoed = IsVetoedPath(path);
  return s;
}

// The commands of the folder menu's positions and of the context menu, in index order.
const UINT kFolderMenuIds[9] = {ID_DISKTREE_NEW_FOLDER, ID_DISKTREE_RENAME,     0,
                                ID_DISKTREE_CUT,        ID_DISKTREE_COPY,       ID_DISKTREE_DELETE,
                                ID_DISKTREE_PASTE,      ID_DISKTREE_PROPERTIES, ID_DISKTREE_FAVORITE};

void GreyMenu(HMENU menu, const FolderMenuGrey& grey, bool contextIds) {
  for (int index = 0; index < 9; ++index) {
    const UINT id = contextIds ? ContextCommandOfIndex(index) : kFolderMenuIds[index];
    if (id && grey.grey[index]) EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
  }
}

std::string MenuText(HMENU menu, UINT id) {
  char text[256] = {};
  GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

// The folder pane closes the slide-show collection dialog before any folder command.
void RouteBeforeCommand(CTreeCtrl* tree) {
  if (CWnd* parent = tree->GetParent()) parent->OnCmdMsg(ID_SLIDE_COLLECT_CLOSE, 0, nullptr, nullptr);
}

// Waits, bounded, for the browser to finish with its folder; painting and timers are served
// meanwhile so that the program does not freeze.
void WaitForBrowser() {
  const DWORD start = GetTickCount();
  while (CMGetProfileInt("DepthViewer", "Busy", 0) != 0 && GetTickCount() - start < kBrowserBusyWaitMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_PAINT | QS_TIMER);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE) ||
           PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
      DispatchMessageA(&msg);
  }
}

HWND MainWindow(CTreeCtrl* tree) { return ::GetAncestor(tree->GetSafeHwnd(), GA_ROOT); }

void RefreshWholeTree(CTreeCtrl* tree) {
  if (HTREEITEM root = tree->GetRootItem()) Manager()->Refresh(tree, root);
}

HRESULT CutOrCopy(CTreeCtrl* tree, bool cut) {
  if (!tree) return E_INVALIDARG;
  if (!Manager()) return E_PLUGIN_NOT_SUPPORTED;
  if (CEdit* edit = tree->GetEditControl()) {
    edit->SendMessage(cut ? WM_CUT : WM_COPY);
    return S_OK;
  }
  std::vector<std::string> paths;
  const std::vector<HTREEITEM> items = Selection(tree);
  for (HTREEITEM i : items) {
    const std::string path = CFolderTreeManager::ItemPath(tree, i);
    if (path.empty() || IsVetoedPath(path)) return E_FAIL;
    paths.push_back(path);
  }
  if (!PutFoldersOnClipboard(paths, cut ? DROPEFFECT_MOVE : DROPEFFECT_COPY, &Manager()->m_bClipboardBusy))
    return E_FAIL;
  ClearCutMarks(tree);
  if (cut)
    for (HTREEITEM i : items) tree->SetItemState(i, TVIS_CUT, TVIS_CUT);
  return S_OK;
}

// Creating a file in the drive's root tells a write-protected medium before the shell asks.
bool DriveWritable(const std::string& path) {
  char temp[MAX_PATH] = {};
  const std::string root = path.substr(0, 1) + ":\\";
  if (GetTempFileNameA(root.c_str(), "SDG", 0, temp)) {
    DeleteFileA(temp);
    return true;
  }
  return GetLastError() != ERROR_WRITE_PROTECT;
}

// The selected items without those below another selected one: a folder goes with its
// parent, and its item with the parent's (removing it again would use a freed item).
std::vector<HTREEITEM> TopmostSelection(CTreeCtrl* tree) {
  const std::vector<HTREEITEM> all = Selection(tree);
  const std::set<HTREEITEM> chosen(all.begin(), all.end());
  std::vector<HTREEITEM> top;
  for (HTREEITEM i : all) {
    bool below = false;
    for (HTREEITEM p = tree->GetParentItem(i); p && !below; p = tree->GetParentItem(p)) below = chosen.count(p) != 0;
    if (!below) top.push_back(i);
  }
  return top;
}

HRESULT DeleteSelectedFolders(CTreeCtrl* tree) {
  CFolderTreeManager* m = Manager();
  const std::vector<HTREEITEM> items = TopmostSelection(tree);
  std::vector<std::string> paths;
  std::set<char> drives;
  for (HTREEITEM i : items) {
    const std::string path = CFolderTreeManager::ItemPath(tree, i);
    if (path.empty() || IsVetoedPath(path)) return E_FAIL;
    paths.push_back(path);
  }
  if (paths.empty()) return E_FAIL;
  for (const std::string& path : paths) {
    if (!drives.insert(static_cast<char>(toupper(static_cast<unsigned char>(path[0])))).second) continue;
    if (!DriveWritable(path)) {
      char text[512] = {};
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_WRITE_PROTECT, 0, text,
                     sizeof text, nullptr);
      ::MessageBoxA(::GetActiveWindow(), text, ResourceString(IDS_DISKTREE_DELETE_CAPTION).c_str(),
                    MB_OK | MB_ICONERROR);
      return E_FAIL;
    }
  }
  // Every selected folder is checked, not only the first.
  if (FirstForeignFolder(paths) >= 0) {
    AfxMessageBox(ResourceString(IDS_BROWSER_CONT_UNSUPPORTED).c_str(), MB_OK | MB_ICONINFORMATION);
    return 1;
  }
  std::string from;
  for (const std::string& path : paths) from += path + '\0';
  from += '\0';
  SHFILEOPSTRUCTA op = {};
  op.hwnd = ::GetActiveWindow();
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO;
  if (SHFileOperationA(&op) != 0 || op.fAnyOperationsAborted) {
    // Stopped part-way: the folders that did go take their entries along all the same.
    for (const std::string& path : paths)
      if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) ForgetFolderEntries(path);
    return E_FAIL;
  }
  for (HTREEITEM i : items) m->RemoveItem(tree, i, true);
  HTREEITEM caret = tree->GetSelectedItem();
  if (caret) Check(tree)->SelectAllExcept(FALSE, caret);
  RefreshWholeTree(tree);
  ResetChangedFolders(CFolderTreeManager::ItemPath(tree, tree->GetSelectedItem()));
  return S_OK;
}

HRESULT DeleteCommand(CTreeCtrl* tree) {
  if (!tree) return E_INVALIDARG;
  if (!Manager()) return E_PLUGIN_NOT_SUPPORTED;
  if (CEdit* edit = tree->GetEditControl()) {
    edit->SendMessage(WM_CLEAR);
    return S_OK;
  }
  WaitForBrowser();
  const HRESULT hr = DeleteSelectedFolders(tree);
  // Whatever happened, the main frame reopens the pane's selection.
  ::PostMessageA(MainWindow(tree), WM_TREE_FOLDER_DELETED, 1, 0);
  return hr;
}

HRESULT PasteCommand(CTreeCtrl* tree) {
  if (!tree) return E_INVALIDARG;
  if (!Manager()) return E_PLUGIN_NOT_SUPPORTED;
  WaitForBrowser();
  const DWORD effect = ClipboardDropEffect();
  if (CEdit* edit = tree->GetEditControl()) {
    if (IsClipboardFormatAvailable(CF_TEXT)) edit->SendMessage(WM_PASTE);
    return 1;
  }
  COleDataObject data;
  if (!data.AttachClipboard() || !data.IsDataAvailable(CF_HDROP)) return S_OK;
  HGLOBAL block = data.GetGlobalData(CF_HDROP);
  if (!block) return S_OK;
  const std::string target = CFolderTreeManager::ItemPath(tree, tree->GetSelectedItem());
  HRESULT hr = S_OK;
  if (target.empty() || IsVetoedPath(target)) {
    hr = E_FAIL;
  } else {
    CCardFileOperation op;
    // A paste that failed must not be refreshed and reloaded as one that worked.
    if (!op.Drop(target.c_str(), static_cast<HDROP>(block), effect)) hr = E_FAIL;
    ClearCutMarks(tree);
    RefreshWholeTree(tree);
    if (hr == S_OK) ResetChangedFolders(target);
  }
  GlobalFree(block);
  return hr;
}

HRESULT RenameCommand(CTreeCtrl* tree) { return tree ? S_OK : E_INVALIDARG; }

HRESULT FavouriteCommand(CTreeCtrl* tree) {
  if (!tree) return E_INVALIDARG;
  const HRESULT hr = CMTLxAddFavorite(CFolderTreeManager::ItemPath(tree, tree->GetSelectedItem()).c_str());
  if (hr == CMTLX_E_FAVORITE_EXISTS) {
    ::MessageBoxA(::GetActiveWindow(), ResourceString(IDS_DISKTREE_FAVORITE_FAILED).c_str(), "", MB_OK | MB_ICONERROR);
    return E_FAIL;
  }
  if (hr == CMTLX_E_FAVORITE_FULL) {
    AfxMessageBox(ResourceString(IDS_DISKTREE_FAVORITE_FULL).c_str(), MB_OK | MB_ICONERROR);
    return E_FAIL;
  }
  return hr;
}

HRESULT ColourCommand(CTreeCtrl* tree) {
  if (!tree) return E_INVALIDARG;
  CIconColorDialog dialog(0, CC_RGBINIT);
  if (dialog.DoModal() != IDOK) return S_OK;
  HTREEITEM caret = tree->GetSelectedItem();
  if (!caret) return E_FAIL;
  // The standard-colour button removes the folder's entry and its standard icon returns.
  const HRESULT hr = Manager()->SetColour(tree, caret, dialog.GetColor(), dialog.m_bDefaultColor != FALSE);
  if (HTREEITEM root = tree->GetRootItem()) Manager()->ApplyColours(tree, root);
  return hr;
}

HRESULT PropertiesCommand(CTreeCtrl* tree) {
  if (!tree) return E_INVALIDARG;
  TreeItemRecord* r = CFolderTreeManager::Record(tree, tree->GetSelectedItem());
  if (!r || !r->shell || !r->path || IsVetoedPath(r->path)) return E_FAIL;
  return ShowFolderProperties(r->path, r->shell->absolute, MainWindow(tree));
}

// Runs one command by its context-menu id.
HRESULT RunCommand(CTreeCtrl* tree, UINT id) {
  switch (id) {
    case ID_DISKTREE_CTX_NEW_FOLDER: return NewFolderUnderCaret(tree, true);
    case ID_DISKTREE_CTX_RENAME: return RenameCommand(tree);
    case ID_DISKTREE_CTX_CUT: return CutOrCopy(tree, true);
    case ID_DISKTREE_CTX_COPY: return CutOrCopy(tree, false);
    case ID_DISKTREE_CTX_DELETE: return DeleteCommand(tree);
    case ID_DISKTREE_CTX_PASTE: return PasteCommand(tree);
    case ID_DISKTREE_CTX_COLOR: return ColourCommand(tree);
    case ID_DISKTREE_CTX_FAVORITE: return FavouriteCommand(tree);
    case ID_DISKTREE_CTX_PROPERTIES: return PropertiesCommand(tree);
    default: return E_NOTIMPL;
  }
}

}  // namespace

extern "C" {

PLUGIN_EXPORT HRESULT GetFolderMenu(CTreeCtrl* tree, CMenu* menu) {
  if (!tree || !menu) return E_INVALIDARG;
  HMENU loaded = LoadMenuA(ResourceModule(), MAKEINTRESOURCEA(IDR_DISKTREE_FOLDER_MENU));
  if (!loaded) return E_FAIL;
  menu->Attach(loaded);
  HMENU popup = GetSubMenu(loaded, 0);
  if (!popup) return E_FAIL;
  if (HMENU context = LoadMenuA(ResourceModule(), MAKEINTRESOURCEA(IDR_DISKTREE_CONTEXT_MENU))) {
    AppendMenuA(popup, MF_STRING, ID_DISKTREE_PROPERTIES, MenuText(context, ID_DISKTREE_CTX_PROPERTIES).c_str());
    AppendMenuA(popup, MF_STRING, ID_DISKTREE_FAVORITE, MenuText(context, ID_DISKTREE_CTX_FAVORITE).c_str());
    DestroyMenu(context);
  }
  GreyMenu(popup, GreyFolderMenu(MenuState(tree, false)), false);
  return S_OK;
}

PLUGIN_EXPORT HRESULT FolderMenu(CTreeCtrl* tree, int index) {
  if (tree) RouteBeforeCommand(tree);
  const UINT id = ContextCommandOfIndex(index);
  if (!id) return 0;
  return static_cast<HRESULT>(FolderMenuFollowUp(index, RunCommand(tree, id)));
}

PLUGIN_EXPORT HRESULT ContextMenu(CTreeCtrl* tree, int x, int y, int* flags) {
  if (flags) *flags = 0;
  if (!tree) return E_INVALIDARG;
  HMENU menu = LoadMenuA(ResourceModule(), MAKEINTRESOURCEA(IDR_DISKTREE_CONTEXT_MENU));
  HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
  if (!popup) {
    if (menu) DestroyMenu(menu);
    return S_OK;
  }
  const FolderMenuState state = MenuState(tree, true);
  GreyMenu(popup, GreyFolderMenu(state), true);
  if (!state.favouritesKey) {
    for (int pos = 0; pos < GetMenuItemCount(popup); ++pos) {
      if (GetMenuItemID(popup, pos) != ID_DISKTREE_CTX_FAVORITE) continue;
      DeleteMenu(popup, pos, MF_BYPOSITION);
      if (pos < GetMenuItemCount(popup) && (GetMenuState(popup, pos, MF_BYPOSITION) & MF_SEPARATOR))
        DeleteMenu(popup, pos, MF_BYPOSITION);
      break;
    }
  }
  DeleteMenu(popup, ID_DISKTREE_CTX_UNUSED, MF_BYCOMMAND);
  const UINT id =
      TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, MainWindow(tree), nullptr);
  DestroyMenu(menu);
  if (!id) return S_OK;
  if ((id >= ID_DISKTREE_CTX_NEW_FOLDER && id <= ID_DISKTREE_CTX_COLOR) || id == ID_DISKTREE_CTX_PROPERTIES)
    RouteBeforeCommand(tree);
  const HRESULT hr = RunCommand(tree, id);
  if (flags) *flags = static_cast<int>(ContextMenuFollowUp(id, hr));
  return hr;
}

}  // extern "C"
