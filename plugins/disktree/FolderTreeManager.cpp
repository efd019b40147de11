#include "FolderTreeManager.h"

#include <Kitlib2/Profile.h>
#include <RecordGate.h>
#include <VxResourceIds.h>
#include <shellapi.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "DiskTreeModule.h"
#include "DiskTreeRules.h"
#include "FolderOps.h"
#include "ShellItems.h"

namespace disktree {

namespace {

std::unique_ptr<CFolderTreeManager> g_manager;
const char kFolderInfo[] = "VazODA\\FolderInfo";
// How long a level's sub-folder probes may take together.
const DWORD kProbeBoundMs = 5000;
// A batch of a level's children built on the interface thread, and the pause between two.
const DWORD kFillBatchMs = 10;
const UINT kFillTickMs = 10;

char* CopyText(const std::string& s) {
  char* p = static_cast<char*>(malloc(s.size() + 1));
  if (p) memcpy(p, s.c_str(), s.size() + 1);
  return p;
}

bool IsRemovableDrive(const std::string& path) {
  if (path.size() < 3 || path[1] != ':') return false;
  UINT type = GetDriveTypeA(path.substr(0, 3).c_str());
  return type == DRIVE_REMOVABLE || type == DRIVE_REMOTE || type == DRIVE_CDROM;
}

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM folder) {
  auto* ra = reinterpret_cast<TreeItemRecord*>(a);
  auto* rb = reinterpret_cast<TreeItemRecord*>(b);
  if (!ra || !rb || !folder) return 0;
  HRESULT hr = reinterpret_cast<IShellFolder*>(folder)->CompareIDs(0, ra->shell->relative, rb->shell->relative);
  return static_cast<short>(HRESULT_CODE(hr));
}

}  // namespace

void CreateManager() { g_manager.reset(new CFolderTreeManager); }
void DestroyManager() { g_manager.reset(); }
CFolderTreeManager* Manager() { return g_manager.get(); }

CFolderTreeManager::CFolderTreeManager() {
  m_desktopDirectory = GetDesktopPath();
  m_desktopName = textkit::FileNameOf(m_desktopDirectory);
}

CFolderTreeManager::~CFolderTreeManager() { DropFills(); }

TreeItemRecord* CFolderTreeManager::Record(CTreeCtrl* tree, HTREEITEM item) {
  return item ? reinterpret_cast<TreeItemRecord*>(tree->GetItemData(item)) : nullptr;
}

std::string CFolderTreeManager::ItemPath(CTreeCtrl* tree, HTREEITEM item) {
  TreeItemRecord* r = Record(tree, item);
  return r && r->path ? r->path : std::string();
}

std::string CFolderTreeManager::PathOf(IShellFolder* parent, LPCITEMIDLIST relative, LPCITEMIDLIST absolute) {
  std::string path;
  char buffer[MAX_PATH * 2] = {};
  if (absolute && SHGetPathFromIDListA(absolute, buffer)) path = buffer;
  if (path.empty()) GetDisplayNameText(parent, relative, SHGDN_FORPARSING, &path);
  const std::string clsid = ClassIdOfParsingPath(path);
  if (!clsid.empty()) {
    char value[512] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, ("CLSID\\" + clsid).c_str(), value, &size) == ERROR_SUCCESS && value[0])
      path = value;
    else
      GetDisplayNameText(parent, relative, SHGDN_INFOLDER, &path);
  }
  return path;
}

int CFolderTreeManager::TreeImage(CTreeCtrl* tree, int systemIndex) {
  auto it = m_images.find(systemIndex);
  if (it != m_images.end()) return it->second;
  SHFILEINFOA info = {};
  HIMAGELIST system =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  HIMAGELIST mine = TreeView_GetImageList(tree->m_hWnd, TVSIL_NORMAL);
  if (!mine) {
    mine =
        ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 16, 16);
    TreeView_SetImageList(tree->m_hWnd, mine, TVSIL_NORMAL);
  }
  int index = -1;
  if (HICON icon = system ? ImageList_GetIcon(system, systemIndex, ILD_NORMAL) : nullptr) {
    index = ImageList_AddIcon(mine, icon);
    DestroyIcon(icon);
  }
  m_images[systemIndex] = index;
  return index;
}

void CFolderTreeManager::ItemImages(CTreeCtrl* tree, TreeItemRecord* record, int* normalOut, int* openOut) {
  SHFILEINFOA info = {};
  int normal = -1, open = -1;
  const std::string path = record->path ? record->path : "";
  const DWORD attr = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  // A plain folder has no icon of its own: the folder icons by attributes are the same
  // indexes and cost no shell lookup (about 10 ms each under Wine).
  const bool plain = (record->shell->attributes & SFGAO_FILESYSTEM) && attr != INVALID_FILE_ATTRIBUTES &&
                     (attr & FILE_ATTRIBUTE_DIRECTORY) && !(attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) &&
                     !IsDriveRoot(path) && !textkit::EqualNoCase(path, m_desktopDirectory);
  for (int k = 0; k < 2; ++k) {
    const UINT openFlag = k ? SHGFI_OPENICON : 0;
    BOOL ok = plain ? SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                                     SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | openFlag) != 0
                    : SHGetFileInfoA(reinterpret_cast<LPCSTR>(record->shell->absolute), 0, &info, sizeof info,
                                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | openFlag) != 0;
    if (ok) (k ? open : normal) = TreeImage(tree, info.iIcon);
  }
  *normalOut = normal;
  *openOut = open < 0 ? normal : open;
}

HRESULT CFolderTreeManager::SetColour(CTreeCtrl* tree, HTREEITEM item, COLORREF colour, bool remove) {
  TreeItemRecord* record = Record(tree, item);
  HIMAGELIST list = tree ? TreeView_GetImageList(tree->m_hWnd, TVSIL_NORMAL) : nullptr;
  if (!record || !list) return E_FAIL;
  int images[2] = {-1, -1};
  for (int k = 0; k < 2; ++k) {
    SHFILEINFOA info = {};
    UINT flags = SHGFI_PIDL | SHGFI_ICON | SHGFI_SMALLICON | SHGFI_SYSICONINDEX | (k ? SHGFI_OPENICON : 0);
    if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(record->shell->absolute), 0, &info, sizeof info, flags)) continue;
    if (remove) {
      images[k] = TreeImage(tree, info.iIcon);
    } else {
      ICONINFO ii = {};
      if (GetIconInfo(info.hIcon, &ii)) {
        BITMAP bm = {};
        GetObject(ii.hbmColor, sizeof bm, &bm);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = bm.bmWidth;
        bi.bmiHeader.biHeight = bm.bmHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        std::vector<uint8_t> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight * 4);
        HDC dc = GetDC(nullptr);
        if (GetDIBits(dc, ii.hbmColor, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS)) {
          TintPixels(pixels.data(), pixels.size() / 4, colour);
          SetDIBits(dc, ii.hbmColor, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
          HICON tinted = CreateIconIndirect(&ii);
          if (tinted) {
            int current = -1, currentOpen = -1;
            tree->GetItemImage(item, current, currentOpen);
            int slot = TintSlot(k ? currentOpen : current, ImageList_GetImageCount(list));
            while (ImageList_GetImageCount(list) <= slot) ImageList_AddIcon(list, tinted);
            ImageList_ReplaceIcon(list, slot, tinted);
            images[k] = slot;
            DestroyIcon(tinted);
          }
        }
        ReleaseDC(nullptr, dc);
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        if (ii.hbmMask) DeleteObject(ii.hbmMask);
      }
    }
    DestroyIcon(info.hIcon);
  }
  if (images[0] >= 0) tree->SetItemImage(item, images[0], images[1] >= 0 ? images[1] : images[0]);
  StoreFolderColour(record->path ? record->path : "", colour, remove);
  return S_OK;
}

void CFolderTreeManager::ApplyColours(CTreeCtrl* tree, HTREEITEM item) {
  for (HTREEITEM c = tree->GetChildItem(item); c; c = tree->GetNextSiblingItem(c)) ApplyColours(tree, c);
  TreeItemRecord* record = Record(tree, item);
  if (!record) return;
  LONG colour = ReadFolderColour(record->path ? record->path : "");
  if (colour >= 0) SetColour(tree, item, static_cast<COLORREF>(colour), false);
}

HTREEITEM CFolderTreeManager::BuildItem(CTreeCtrl* tree, LPCITEMIDLIST parentAbsolute, LPCITEMIDLIST child,
                                        IShellFolder* parentFolder, HTREEITEM parentItem, HTREEITEM insertAfter,
                                        bool excludeRemovable, std::vector<PendingProbe>* pending, int knownChildren) {
  ItemIdList absolute(JoinItemIdLists(parentAbsolute, child));
  if (!absolute.Get()) return insertAfter;
  // The network sits at the desktop's level only: deeper levels skip the profile read.
  const bool desktopLevel = parentAbsolute && parentAbsolute->mkid.cb == 0;
  if (desktopLevel && CMGetProfileInt(kFolderInfo, "Network Disable", 0) == 1) {
    ItemIdList network;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, network.Out())) &&
        HRESULT_CODE(parentFolder->CompareIDs(0, child, network.Get())) == 0)
      return insertAfter;
  }
  SFGAOF attributes = 0x723B8177;
  if (FAILED(parentFolder->GetAttributesOf(1, &child, &attributes))) attributes = 0;
  attributes |= SFGAO_HASSUBFOLDER;

  ChildFacts facts;
  facts.attributes = attributes;
  facts.path = FastChildPath(tree, parentItem, parentFolder, child, attributes);
  if (facts.path.empty()) facts.path = PathOf(parentFolder, child, absolute.Get());
  facts.desktopDirectory = !m_desktopDirectory.empty() && textkit::EqualNoCase(facts.path, m_desktopDirectory);
  facts.fileAttributes = GetFileAttributesA(facts.path.c_str());
  // Only a drive's own item can be left out as removable (asking the drive's type costs
  // about a millisecond under Wine; below an excluded drive nothing is built).
  facts.removableDrive = IsDriveRoot(facts.path) && IsRemovableDrive(facts.path);
  if (parentAbsolute && SkipChild(facts, excludeRemovable)) return insertAfter;
  if (IsVetoedPath(facts.path)) return insertAfter;  // never cut to name another folder

  std::string label;
  if (!GetDisplayNameText(parentFolder, child, SHGDN_INFOLDER, &label)) return insertAfter;
  // A child's own folder is bound when it is first opened (binding thousands of children
  // costs about half a millisecond each under Wine).
  IShellFolder* folder = nullptr;
  if (!parentAbsolute) {
    folder = parentFolder;
    folder->AddRef();
  }
  auto* shell = static_cast<ShellItemRecord*>(CoTaskMemAlloc(sizeof(ShellItemRecord)));
  auto* record = new TreeItemRecord;
  shell->parent = parentFolder;
  shell->folder = folder;
  shell->relative = JoinItemIdLists(nullptr, child);
  shell->absolute = absolute.Release();
  shell->attributes = attributes;
  shell->seen = 0;
  if (!m_desktopName.empty() && facts.path == m_desktopName) facts.path = m_desktopDirectory;
  record->path = CopyText(facts.path);
  record->kind = -1;
  record->shell = shell;

  TVINSERTSTRUCTA ins = {};
  ins.hParent = parentItem;
  ins.hInsertAfter = insertAfter;
  // Everything the item shows goes in with it: a later change of an item of a shown level
  // costs milliseconds under Wine.
  int normal = -1, open = -1;
  ItemImages(tree, record, &normal, &open);
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  ins.item.pszText = const_cast<char*>(label.c_str());
  ins.item.lParam = reinterpret_cast<LPARAM>(record);
  ins.item.cChildren = knownChildren == 0 ? 0 : 1;
  ins.item.iImage = normal;
  ins.item.iSelectedImage = open;
  ins.item.state = (attributes & SFGAO_SHARE) ? INDEXTOOVERLAYMASK(1) : 0;
  ins.item.stateMask = TVIS_OVERLAYMASK;
  HTREEITEM item = tree->InsertItem(&ins);
  if (!item) {
    FreeRecord(record);
    return insertAfter;
  }
  const LONG colour = ReadFolderColour(record->path ? record->path : "");
  if (colour >= 0) SetColour(tree, item, static_cast<COLORREF>(colour), false);
  if (knownChildren >= 0) return item;
  // The shell claims sub-folders for every folder; the probe takes the button away where
  // there are none, within its bound.
  if (unsigned ticket = m_probe.Submit(parentFolder, child)) {
    if (pending)
      pending->push_back({item, ticket});
    else
      SettleProbes(tree, {{item, ticket}});
  }
  return item;
}

void CFolderTreeManager::SettleProbes(CTreeCtrl* tree, const std::vector<PendingProbe>& pending) {
  const DWORD start = GetTickCount();
  for (const PendingProbe& p : pending) {
    const DWORD spent = GetTickCount() - start;
    SubfolderProbe::Answer a = m_probe.Wait(p.ticket, spent < kProbeBoundMs ? kProbeBoundMs - spent : 0);
    if (a == SubfolderProbe::kNoSubfolders) {
      TVITEMA tv = {};
      tv.mask = TVIF_CHILDREN;
      tv.hItem = p.item;
      tv.cChildren = 0;
      tree->SetItem(&tv);
    } else if (a == SubfolderProbe::kPending) {
      m_probe.Cancel(p.ticket);
    }
  }
}

IShellFolder* CFolderTreeManager::BoundFolder(TreeItemRecord* record) {
  ShellItemRecord* s = record ? record->shell : nullptr;
  if (!s) return nullptr;
  if (!s->folder && s->parent && s->relative &&
      FAILED(s->parent->BindToObject(s->relative, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&s->folder))))
    s->folder = nullptr;
  return s->folder;
}

std::string CFolderTreeManager::FastChildPath(CTreeCtrl* tree, HTREEITEM parentItem, IShellFolder* parentFolder,
                                              LPCITEMIDLIST child, ULONG attributes) {
  // Below the desktop's own level a file-system child's path is its parent's path and its
  // parsing name in the folder; the desktop's level mixes folders of several places.
  if (!(attributes & SFGAO_FILESYSTEM) || !parentItem || parentItem == TVI_ROOT || !tree->GetParentItem(parentItem))
    return std::string();
  TreeItemRecord* parent = Record(tree, parentItem);
  if (!parent || !parent->shell || !(parent->shell->attributes & SFGAO_FILESYSTEM) || !parent->path) return std::string();
  const std::string base = parent->path;
  if (base.size() < 3 || base[1] != ':' || base[2] != '\\') return std::string();
  std::string name;
  if (!GetDisplayNameText(parentFolder, child, SHGDN_INFOLDER | SHGDN_FORPARSING, &name) || name.empty() ||
      name.find('\\') != std::string::npos || name.find(':') != std::string::npos)
    return std::string();
  return textkit::Join(base, name);
}

void CFolderTreeManager::FreeRecord(TreeItemRecord* record) {
  if (!record) return;
  free(record->path);
  if (ShellItemRecord* s = record->shell) {
    if (s->folder) s->folder->Release();
    CoTaskMemFree(s->relative);
    CoTaskMemFree(s->absolute);
    CoTaskMemFree(s);
  }
  delete record;
}

HRESULT CFolderTreeManager::BuildRoot(CTreeCtrl* tree, HTREEITEM parent, bool excludeRemovable) {
  if (!tree) return E_INVALIDARG;
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return E_FAIL;
  ItemIdList pidl;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, pidl.Out());
  HTREEITEM root =
      BuildItem(tree, nullptr, pidl.Get(), desktop, parent ? parent : TVI_ROOT, TVI_LAST, excludeRemovable);
  if (root && root != TVI_LAST) {
    Expand(tree, root, excludeRemovable);
    tree->Expand(root, TVE_EXPAND);
    tree->SelectItem(root);
  }
  desktop->Release();
  return S_OK;
}

HRESULT CFolderTreeManager::Expand(CTreeCtrl* tree, HTREEITEM item, bool excludeRemovable, bool inBatches) {
  if (!tree || !item) return E_INVALIDARG;
  if (FinishFill(tree, item)) return S_OK;
  if (tree->GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) return S_OK;
  TreeItemRecord* record = Record(tree, item);
  if (!record || !record->shell || !BoundFolder(record)) return E_FAIL;
  const std::string root = DriveRootOfLabel(std::string(tree->GetItemText(item)));
  if (!root.empty()) {
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
    char name[MAX_PATH] = {};
    BOOL ok = GetVolumeInformationA(root.c_str(), name, sizeof name, nullptr, nullptr, nullptr, nullptr, 0);
    SetErrorMode(old);
    if (!ok) {
      // Any volume failure of a drive that comes and goes is a drive without media.
      if (m_bTreeCreated) {
        CString text;
        text.Format(ResourceString(IDS_DISKTREE_EMPTY_DRIVE).c_str(), root.c_str());
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
      }
      TVITEMA tv = {};
      tv.mask = TVIF_CHILDREN;
      tv.hItem = item;
      tree->SetItem(&tv);
      return E_FAIL;
    }
  }
  tree->SetItemState(item, TVIS_EXPANDEDONCE, TVIS_EXPANDEDONCE);
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  Fill fill;
  fill.tree = tree;
  fill.item = item;
  fill.folder = BoundFolder(record);
  fill.folder->AddRef();
  fill.absolute = JoinItemIdLists(nullptr, record->shell->absolute);
  fill.last = TVI_FIRST;
  fill.excludeRemovable = excludeRemovable;
  fill.started = GetTickCount();
  // Listing is quick; the children are built in their final order.
  IEnumIDList* list = nullptr;
  if (SUCCEEDED(fill.folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &list)) && list) {
    LPITEMIDLIST child = nullptr;
    while (list->Next(1, &child, nullptr) == S_OK) fill.children.push_back(child);
    list->Release();
  }
  IShellFolder* folder = fill.folder;
  std::stable_sort(fill.children.begin(), fill.children.end(), [folder](LPITEMIDLIST a, LPITEMIDLIST b) {
    return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a, b))) < 0;
  });
  // The probe worker starts on the children in their order while they are being built.
  fill.tickets.reserve(fill.children.size());
  for (LPITEMIDLIST child : fill.children) fill.tickets.push_back(m_probe.Submit(fill.folder, child));
  const bool batches = inBatches && GetWindowThreadProcessId(tree->m_hWnd, nullptr) == GetCurrentThreadId();
  if (RunFill(fill, batches ? kFillBatchMs : INFINITE)) {
    EndFill(fill);
    FreeFill(fill);
  } else {
    std::lock_guard<std::recursive_mutex> hold(m_fillLock);
    m_fills[item] = fill;
    if (!m_fillTimer) {
      m_fillTimer = SetTimer(nullptr, 0, kFillTickMs, &CFolderTreeManager::FillTimer);
      m_fillThread = GetCurrentThreadId();
    }
  }
  SetCursor(old);
  return S_OK;
}

bool CFolderTreeManager::RunFill(Fill& fill, DWORD budgetMs) {
  CTreeCtrl* tree = fill.tree;
  const DWORD start = GetTickCount();
  const bool batch = budgetMs != INFINITE;
  if (batch) tree->SetRedraw(FALSE);
  while (fill.next < fill.children.size()) {
    // A child goes in once its probe has answered or the level's bound has passed, so its
    // button is right from the start (a late answer changes nothing).
    int known = 1;
    if (unsigned ticket = fill.tickets[fill.next]) {
      const DWORD now = GetTickCount();
      const DWORD spent = now - fill.started;
      const DWORD boundLeft = spent < kProbeBoundMs ? kProbeBoundMs - spent : 0;
      DWORD waitMs = boundLeft;
      if (batch) {
        const DWORD used = now - start;
        waitMs = std::min(boundLeft, used < budgetMs ? budgetMs - used : 0);
      }
      SubfolderProbe::Answer a = waitMs ? m_probe.Wait(ticket, waitMs) : m_probe.Poll(ticket);
      if (a == SubfolderProbe::kPending) {
        if (batch && GetTickCount() - fill.started < kProbeBoundMs) break;  // the next batch waits on
        m_probe.Cancel(ticket);
      }
      fill.tickets[fill.next] = 0;
      known = a == SubfolderProbe::kNoSubfolders ? 0 : 1;
    }
    LPITEMIDLIST child = fill.children[fill.next];
    fill.children[fill.next++] = nullptr;
    HTREEITEM made =
        BuildItem(tree, fill.absolute, child, fill.folder, fill.item, fill.last, fill.excludeRemovable, nullptr, known);
    CoTaskMemFree(child);
    if (made != fill.last) {
      fill.last = made;
      fill.any = true;
    }
    if (batch && GetTickCount() - start >= budgetMs) break;
  }
  if (batch) {
    tree->SetRedraw(TRUE);
    tree->Invalidate(FALSE);
  }
  return fill.next >= fill.children.size();
}

void CFolderTreeManager::EndFill(Fill& fill) {
  if (!fill.any) {
    TVITEMA tv = {};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = fill.item;
    fill.tree->SetItem(&tv);
  }
  // The children went in sorted by the folder's own order: no second sort is needed.
}

void CFolderTreeManager::FreeFill(Fill& fill) {
  for (unsigned ticket : fill.tickets)
    if (ticket) m_probe.Cancel(ticket);
  fill.tickets.clear();
  for (size_t i = fill.next; i < fill.children.size(); ++i) CoTaskMemFree(fill.children[i]);
  fill.children.clear();
  if (fill.folder) fill.folder->Release();
  fill.folder = nullptr;
  CoTaskMemFree(fill.absolute);
  fill.absolute = nullptr;
}

bool CFolderTreeManager::FinishFill(CTreeCtrl* tree, HTREEITEM item) {
  std::lock_guard<std::recursive_mutex> hold(m_fillLock);
  auto it = m_fills.find(item);
  if (it == m_fills.end() || it->second.tree != tree) return false;
  Fill fill = it->second;
  m_fills.erase(it);
  RunFill(fill, INFINITE);
  EndFill(fill);
  FreeFill(fill);
  return true;
}

void CFolderTreeManager::DropFills() {
  std::lock_guard<std::recursive_mutex> hold(m_fillLock);
  for (auto& f : m_fills) FreeFill(f.second);
  m_fills.clear();
  if (m_fillTimer && m_fillThread == GetCurrentThreadId()) KillTimer(nullptr, m_fillTimer);
  m_fillTimer = 0;
}

void CALLBACK CFolderTreeManager::FillTimer(HWND, UINT, UINT_PTR id, DWORD) {
  CFolderTreeManager* m = Manager();
  if (!m || id != m->m_fillTimer) {
    KillTimer(nullptr, id);
    return;
  }
  m->OnFillTimer();
}

void CFolderTreeManager::OnFillTimer() {
  // The folder thread may be finishing a level through the tree's messages: try again on
  // the next tick rather than wait for it here.
  std::unique_lock<std::recursive_mutex> hold(m_fillLock, std::try_to_lock);
  if (!hold.owns_lock()) return;
  for (auto it = m_fills.begin(); it != m_fills.end();) {
    Fill& fill = it->second;
    if (RunFill(fill, kFillBatchMs)) {
      Fill ended = fill;
      it = m_fills.erase(it);
      EndFill(ended);
      FreeFill(ended);
    } else {
      ++it;
    }
  }
  if (m_fills.empty() && m_fillTimer) {
    KillTimer(nullptr, m_fillTimer);
    m_fillTimer = 0;
  }
}

void CFolderTreeManager::SortChildren(CTreeCtrl* tree, HTREEITEM item) {
  TreeItemRecord* record = Record(tree, item);
  if (!record || !record->shell) return;
  TVSORTCB sort = {};
  sort.hParent = item;
  sort.lpfnCompare = CompareItems;
  sort.lParam = reinterpret_cast<LPARAM>(BoundFolder(record));
  tree->SortChildrenCB(&sort);
}

HRESULT CFolderTreeManager::RemoveItem(CTreeCtrl* tree, HTREEITEM item, bool deleteData) {
  if (!tree || !item) return E_INVALIDARG;
  {
    // A level being filled goes with its item.
    std::lock_guard<std::recursive_mutex> hold(m_fillLock);
    auto it = m_fills.find(item);
    if (it != m_fills.end()) {
      FreeFill(it->second);
      m_fills.erase(it);
    }
  }
  HTREEITEM parent = tree->GetParentItem(item);
  for (HTREEITEM c = tree->GetChildItem(item); c;) {
    HTREEITEM next = tree->GetNextSiblingItem(c);
    RemoveItem(tree, c, deleteData);
    c = next;
  }
  TreeItemRecord* record = Record(tree, item);
  std::string path = record && record->path ? record->path : "";
  if (deleteData && !path.empty()) VxDBWDeleteFolderEx(path.c_str());
  tree->SetItemData(item, 0);
  FreeRecord(record);
  tree->DeleteItem(item);
  if (deleteData && !path.empty() && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    StoreFolderColour(path, 0, true);
  if (parent && !tree->GetChildItem(parent)) {
    TVITEMA tv = {};
    tv.mask = TVIF_CHILDREN | TVIF_STATE;
    tv.hItem = parent;
    tv.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    tree->SetItem(&tv);
  }
  return S_OK;
}

}  // namespace disktree
