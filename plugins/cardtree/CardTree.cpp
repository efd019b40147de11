// CardTree.psp's entry and exports: the resource library, the framework's extension
// record, the card tree behind the contract's calls.
#include <FolderTreePlugin.h>
#include <Kitlib2/Profile.h>
#include <MainWndMessages.h>
#include <VxDocument/Document.h>
#include <VxResourceIds.h>
#include <dropop/CardFileOperation.h>
#include <foreground/Foreground.h>
#include <pluginkit/PluginKit.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include "CardImportDlg.h"
#include "CardRules.h"
#include "CardTreeBuild.h"
#include "DiscNodes.h"

using namespace cardtree;

namespace {

AFX_EXTENSION_MODULE g_extension = {};
HINSTANCE g_resources = nullptr;

void CopyString(UINT id, char* buffer, int size) { pluginkit::CopyText(ResourceString(id), buffer, size); }

class HeadlessScope {
 public:
  HeadlessScope() : previous_(IsHeadless()) { SetHeadless(1); }
  ~HeadlessScope() { SetHeadless(previous_); }

 private:
  int previous_;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    g_resources = pluginkit::LoadResourceBeside(hInstance);
    if (!g_resources) {
      AfxMessageBox("There is no VxResource.dll.", MB_OK, 16);
      return FALSE;
    }
    if (!AfxInitExtensionModule(g_extension, hInstance)) {
      FreeLibrary(g_resources);
      g_resources = nullptr;
      return FALSE;
    }
    g_extension.hResource = g_resources;
    SetResourceModule(g_resources);
    new CDynLinkLibrary(g_extension);
  } else if (dwReason == DLL_PROCESS_DETACH) {
    if (lpReserved) return TRUE;
    ClearPartNames();
    DestroyOwnImageLists();
    AfxTermExtensionModule(g_extension);
    SetResourceModule(nullptr);
    if (g_resources) FreeLibrary(g_resources);
    g_resources = nullptr;
  }
  return TRUE;
}

PLUGIN_EXPORT HRESULT GetPluginTitle(char* buffer, int size) {
  CopyString(IDS_CARDTREE_PLUGIN_TITLE, buffer, size);
  return S_OK;
}

// extra: a pointer-sized slot for the section's icon.
PLUGIN_EXPORT HRESULT GetTitle(int kind, char* buffer, int size, void* extra) {
  if (kind == 0) CopyString(IDS_CARDTREE_TITLE, buffer, size);
  if (kind == 1) CopyString(IDS_TREE_TITLE_CARD, buffer, size);
  if (extra) *static_cast<HICON*>(extra) = LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_CARD_TREE));
  return S_OK;
}

PLUGIN_EXPORT HRESULT GetToolTips(int kind, char* buffer, int size) {
  if (kind == 0) CopyString(IDS_CARDTREE_TOOLTIP_CARD, buffer, size);
  if (kind == 1) CopyString(IDS_CARDTREE_TOOLTIP_DISC, buffer, size);
  return S_OK;
}

PLUGIN_EXPORT HRESULT GetPriority(int* priority) {
  if (priority) *priority = 3;
  return S_OK;
}

PLUGIN_EXPORT HRESULT GetTreeHeight(int* height) {
  if (height) *height = CMGetProfileInt(kFolderInfo, "TreeHight", -1);
  return S_OK;
}

PLUGIN_EXPORT HRESULT SetTreeHeight(int height) {
  CMWriteProfileInt(kFolderInfo, "TreeHight", height);
  return S_OK;
}

// The icons go to the tree's own normal image list (made when the host gave it none), so
// a host without an image list still gets the tree.
PLUGIN_EXPORT HRESULT CreateTree(CTreeCtrl* tree, CImageList*, HTREEITEM parent) {
  if (!tree || !parent) return E_INVALIDARG;
  return CreateCardTree(tree, parent);
}

PLUGIN_EXPORT HRESULT RenewalTree(CTreeCtrl* tree, HTREEITEM item) {
  if (!tree) return E_INVALIDARG;
  if (!item && !tree->GetRootItem()) return CreateTree(tree, tree->GetImageList(TVSIL_NORMAL), TVI_ROOT);
  return RenewCardTree(tree);
}

PLUGIN_EXPORT HRESULT DeleteTree(CTreeCtrl* tree, HTREEITEM item) {
  if (!tree) return E_INVALIDARG;
  if (item && item != TVI_ROOT)
    DeleteItemTree(tree, item);
  else
    DeleteAllItems(tree);
  return S_OK;
}

PLUGIN_EXPORT HRESULT SelectTreeItem(CTreeCtrl* tree, HTREEITEM item) {
  if (!tree || !item) return E_INVALIDARG;
  CardItemRecord* r = RecordOf(tree, item);
  return CMWriteProfileString(kFolderInfo, "OpenFolder", r && r->path ? r->path : "") == 1 ? S_OK : E_FAIL;
}

PLUGIN_EXPORT HRESULT SelectFolder(CTreeCtrl* tree, CString path) {
  if (!tree) return E_INVALIDARG;
  if (path.GetLength() >= MAX_PATH || !SelectCardFolder(tree, static_cast<LPCSTR>(path))) return E_FAIL;
  CMWriteProfileString(kFolderInfo, "OpenFolder", path);
  return S_OK;
}

PLUGIN_EXPORT HRESULT GetFolderTypeNum(CTreeCtrl* tree, int* value) { return CardFolderTypeNum(tree, value); }

PLUGIN_EXPORT HRESULT IsFolderType(int number, const char* name) {
  if (number <= 0 || !pluginkit::IsReadableHere(name, 1)) return E_FAIL;
  return ResourceString(IDS_CARD_DRIVE_SUFFIX + number) == name ? S_OK : E_FAIL;
}

PLUGIN_EXPORT HRESULT DragOver(CTreeCtrl* tree, COleDataObject*, DWORD, int, int, DWORD* effect, int*) {
  if (!tree) return E_INVALIDARG;
  if (effect) *effect = DROPEFFECT_NONE;
  return S_OK;
}

PLUGIN_EXPORT HRESULT Drop(CTreeCtrl* tree, HGLOBAL files, DWORD effect, int x, int y) {
  if (!tree) return E_INVALIDARG;
  HRESULT hr = S_OK;
  CPoint pt(x, y);
  HTREEITEM item = tree->HitTest(pt);
  CardItemRecord* r = RecordOf(tree, item);
  if (item && r && r->path && lstrcmpA(r->path, "") > 0 && files) {
    tree->Select(nullptr, TVGN_CARET);
    tree->Select(item, TVGN_CARET);
    const std::string target = r->path;
    CCardFileOperation* op = new CCardFileOperation;
    const int done = op->Drop(target.c_str(), static_cast<HDROP>(files), effect);
    delete op;
    if (done) {
      ClearFolderNameList();
      AppendFolderNameList(target.c_str());
    } else {
      hr = E_FAIL;
    }
  }
  tree->Invalidate(TRUE);
  tree->UpdateWindow();
  return hr;
}

PLUGIN_EXPORT HRESULT GetFolderMenu(CTreeCtrl* tree, CMenu* menu) {
  if (!tree || !menu) return E_INVALIDARG;
  HMENU loaded = LoadMenuA(ResourceModule(), MAKEINTRESOURCEA(IDR_DISKTREE_FOLDER_MENU));
  if (!loaded) return S_OK;
  menu->Attach(loaded);
  if (HMENU popup = GetSubMenu(loaded, 0)) {
    static const UINT kGrey[] = {ID_DISKTREE_NEW_FOLDER, ID_DISKTREE_RENAME, ID_DISKTREE_CUT,
                                 ID_DISKTREE_COPY,       ID_DISKTREE_DELETE, ID_DISKTREE_PASTE};
    for (UINT id : kGrey) EnableMenuItem(popup, id, MF_BYCOMMAND | MF_GRAYED);
  }
  return S_OK;
}

PLUGIN_EXPORT HRESULT FolderMenu(CTreeCtrl*, int) { return S_OK; }

PLUGIN_EXPORT HRESULT OpenWindow(int, CWnd* parent, char* buffer) {
  CWnd* main = AfxGetMainWnd();
  if (main && main->GetSafeHwnd()) foreground::BringToFront(main->GetSafeHwnd());
  CCardImportDlg* dlg = new CCardImportDlg(parent);
  const INT_PTR result = dlg->DoModal();
  auto copyDestination = [&] {
    if (!buffer) return;
    lstrcpynA(buffer, dlg->GetDestination(), MAX_PATH);  // at most 259 and the NUL
  };
  HWND mainHwnd = main ? main->GetSafeHwnd() : nullptr;
  if (IsBrowserOnCardFolder()) {
    copyDestination();
    if (mainHwnd) {
      PostMessageA(mainHwnd, WM_REFRESH_FOLDERS, reinterpret_cast<WPARAM>(mainHwnd), 0);
      PostMessageA(mainHwnd, WM_BROWSER_RELOAD, reinterpret_cast<WPARAM>(mainHwnd), 0);
    }
  } else if (result == IDOK) {
    copyDestination();
    if (mainHwnd) PostMessageA(mainHwnd, WM_REFRESH_FOLDERS, reinterpret_cast<WPARAM>(mainHwnd), 0);
  }
  delete dlg;
  return S_OK;
}

PLUGIN_EXPORT HRESULT CardBackup(const char* drive, const char* destination, CStringList* files) {
  HeadlessScope headless;
  CCardImportDlg* dlg = new CCardImportDlg(nullptr);
  const int result = dlg->BackupCard(drive, destination, files);
  if (files) SortFilesByShootingTime(*files, 0);
  delete dlg;
  return result == -1 ? E_FAIL : S_OK;
}

PLUGIN_EXPORT HRESULT GetCardFiles(CStringList* files) {
  HeadlessScope headless;
  CCardImportDlg* dlg = new CCardImportDlg(nullptr);
  const int listed = files ? dlg->ListCardFiles(files) : 0;
  if (files) SortFilesByShootingTime(*files, 1);
  delete dlg;
  return listed ? S_OK : E_FAIL;
}

PLUGIN_EXPORT HRESULT SetBDCoreIntegrator(void* integrator) {
  SetIntegrator(static_cast<IVxBDIntegrator*>(integrator));
  return S_OK;
}
