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

void CFolderTreeManager::SystemImages(const std::string& path, SFGAOF attributes, DWORD attr, LPCITEMIDLIST absolute,
                                      const ChildContext& context, int* normalOut, int* openOut) const {
  SHFILEINFOA info = {};
  int normal = -1, open = -1;
  // A plain folder has no icon of its own: the folder icons by attributes are the same
  // indexes and cost no shell lookup (about 10 ms each under Wine).
  const bool plain = (attributes & SFGAO_FILESYSTEM) && attr != INVALID_FILE_ATTRIBUTES &&
                     (attr & FILE_ATTRIBUTE_DIRECTORY) && !(attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) &&
                     !IsDriveRoot(path) && !textkit::EqualNoCase(path, m_desktopDirectory);
  if (plain && context.plainImage != -2) {
    *normalOut = context.plainImage;
    *openOut = context.plainOpenImage;
    return;
  }
  for (int k = 0; k < 2; ++k) {
    const UINT openFlag = k ? SHGFI_OPENICON : 0;
    BOOL ok = plain ? SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                                     SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | openFlag) != 0
                    : SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info,
                                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | openFlag) != 0;
    if (ok) (k ? open : normal) = info.iIcon;
  }
  *normalOut = normal;
  *openOut = open < 0 ? normal : open;
  if (plain) {
    context.plainImage = *normalOut;
    context.plainOpenImage = *openOut;
  }
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

bool CFolderTreeManager::PrepareChild(const ChildContext& context, LPCITEMIDLIST child, ReadyChild* out) const {
  IShellFolder* parentFolder = context.folder;
  const LPCITEMIDLIST parentAbsolute = context.parentAbsolute;
  ItemIdList absolute(JoinItemIdLists(parentAbsolute, child));
  if (!absolute.Get()) return false;
  // The network sits at the desktop's level only: deeper levels skip the profile read.
  const bool desktopLevel = parentAbsolute && parentAbsolute->mkid.cb == 0;
  if (desktopLevel && CMGetProfileInt(kFolderInfo, "Network Disable", 0) == 1) {
    ItemIdList network;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, network.Out())) &&
        HRESULT_CODE(parentFolder->CompareIDs(0, child, network.Get())) == 0)
      return false;
  }
  SFGAOF attributes = 0x723B8177;
  if (FAILED(parentFolder->GetAttributesOf(1, &child, &attributes))) attributes = 0;
  attributes |= SFGAO_HASSUBFOLDER;

  ChildFacts facts;
  facts.attributes = attributes;
  // Below the desktop's own level a file-system child's path is its parent's path and its
  // parsing name in the folder; the desktop's level mixes folders of several places.
  std::string name;
  if ((attributes & SFGAO_FILESYSTEM) && !context.parentBase.empty() &&
      GetDisplayNameText(parentFolder, child, SHGDN_INFOLDER | SHGDN_FORPARSING, &name) && !name.empty() &&
      name.find('\\') == std::string::npos && name.find(':') == std::string::npos)
    facts.path = textkit::Join(context.parentBase, name);
  if (facts.path.empty()) facts.path = PathOf(parentFolder, child, absolute.Get());
  facts.desktopDirectory = !m_desktopDirectory.empty() && textkit::EqualNoCase(facts.path, m_desktopDirectory);
  facts.fileAttributes = GetFileAttributesA(facts.path.c_str());
  // Only a drive's own item can be left out as removable (asking the drive's type costs
  // about a millisecond under Wine; below an excluded drive nothing is built).
  facts.removableDrive = IsDriveRoot(facts.path) && IsRemovableDrive(facts.path);
  if (parentAbsolute && SkipChild(facts, context.excludeRemovable)) return false;
  if (IsVetoedPath(facts.path)) return false;  // never cut to name another folder
  if (!GetDisplayNameText(parentFolder, child, SHGDN_INFOLDER, &out->label)) return false;
  if (!m_desktopName.empty() && facts.path == m_desktopName) facts.path = m_desktopDirectory;
  out->path = facts.path;
  out->attributes = attributes;
  out->fileAttributes = facts.fileAttributes;
  SystemImages(out->path, attributes, facts.fileAttributes, absolute.Get(), context, &out->image, &out->openImage);
  if (!context.coloured || context.coloured->count(textkit::LowerAscii(out->path))) out->colour = ReadFolderColour(out->path);
  out->relative = JoinItemIdLists(nullptr, child);
  out->absolute = absolute.Release();
  out->skip = !out->relative;
  return !out->skip;
}

HTREEITEM CFolderTreeManager::InsertChild(CTreeCtrl* tree, HTREEITEM parentItem, IShellFolder* parentFolder,
                                          HTREEITEM insertAfter, ReadyChild& child,
                                          std::vector<PendingProbe>* pending, int knownChildren) {
  // A child's own folder is bound when it is first opened (binding thousands of children
  // costs about half a millisecond each under Wine).
  IShellFolder* folder = nullptr;
  auto* shell = static_cast<ShellItemRecord*>(CoTaskMemAlloc(sizeof(ShellItemRecord)));
  auto* record = new TreeItemRecord;
  shell->parent = parentFolder;
  shell->folder = folder;
  shell->relative = child.relative;
  shell->absolute = child.absolute;
  child.relative = child.absolute = nullptr;
  shell->attributes = child.attributes;
  shell->seen = 0;
  record->path = CopyText(child.path);
  record->kind = -1;
  record->shell = shell;

  TVINSERTSTRUCTA ins = {};
  ins.hParent = parentItem;
  ins.hInsertAfter = insertAfter;
  // Everything the item shows goes in with it: a later change of an item of a shown level
  // costs milliseconds under Wine.
  const int normal = child.image >= 0 ? TreeImage(tree, child.image) : -1;
  const int open = child.openImage >= 0 ? TreeImage(tree, child.openImage) : normal;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  ins.item.pszText = const_cast<char*>(child.label.c_str());
  ins.item.lParam = reinterpret_cast<LPARAM>(record);
  ins.item.cChildren = knownChildren == 0 ? 0 : 1;
  ins.item.iImage = normal;
  ins.item.iSelectedImage = open;
  ins.item.state = (child.attributes & SFGAO_SHARE) ? INDEXTOOVERLAYMASK(1) : 0;
  ins.item.stateMask = TVIS_OVERLAYMASK;
  HTREEITEM item = tree->InsertItem(&ins);
  if (!item) {
    FreeRecord(record);
    return insertAfter;
  }
  if (child.colour >= 0) SetColour(tree, item, static_cast<COLORREF>(child.colour), false);
  if (knownChildren >= 0) return item;
  // The shell claims sub-folders for every folder; the probe takes the button away where
  // there are none, within its bound.
  if (unsigned ticket = m_probe.Submit(parentFolder, shell->relative)) {
    if (pending)
      pending->push_back({item, ticket});
    else
      SettleProbes(tree, {{item, ticket}});
  }
  return item;
}

HTREEITEM CFolderTreeManager::BuildItem(CTreeCtrl* tree, LPCITEMIDLIST parentAbsolute, LPCITEMIDLIST child,
                                        IShellFolder* parentFolder, HTREEITEM parentItem, HTREEITEM insertAfter,
                                        bool excludeRemovable, std::vector<PendingProbe>* pending, int knownChildren) {
  ChildContext context;
  context.folder = parentFolder;
  context.parentAbsolute = parentAbsolute;
  context.parentBase = ChildPathBase(tree, parentItem);
  context.excludeRemovable = excludeRemovable;
  ReadyChild ready;
  if (!PrepareChild(context, child, &ready)) {
    CoTaskMemFree(ready.relative);
    CoTaskMemFree(ready.absolute);
    return insertAfter;
  }
  HTREEITEM item = InsertChild(tree, parentItem, parentFolder, insertAfter, ready, pending, knownChildren);
  // The desktop's own item holds the desktop folder it was built from.
  if (!parentAbsolute && item != insertAfter)
    if (TreeItemRecord* r = Record(tree, item)) {
      r->shell->folder = parentFolder;
      parentFolder->AddRef();
    }
  return item;
}

void CFolderTreeManager::SettleProbes(CTreeCtrl* tree, const std::vector<PendingProbe>& pending) {
  for (const PendingProbe& p : pending) {
    if (AwaitButton(m_probe, p.ticket, kProbeBoundMs, INFINITE) == kButtonHidden) {
      TVITEMA tv = {};
      tv.mask = TVIF_CHILDREN;
      tv.hItem = p.item;
      tv.cChildren = 0;
      tree->SetItem(&tv);
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

std::string CFolderTreeManager::ChildPathBase(CTreeCtrl* tree, HTREEITEM parentItem) {
  if (!parentItem || parentItem == TVI_ROOT || !tree->GetParentItem(parentItem)) return std::string();
  TreeItemRecord* parent = Record(tree, parentItem);
  if (!parent || !parent->shell || !(parent->shell->attributes & SFGAO_FILESYSTEM) || !parent->path) return std::string();
  const std::string base = parent->path;
  if (base.size() < 3 || base[1] != ':' || base[2] != '\\') return std::string();
  return base;
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
  RegisterShareOverlay(tree);
  if (root && root != TVI_LAST) {
    Expand(tree, root, excludeRemovable);
    tree->Expand(root, TVE_EXPAND);
    tree->SelectItem(root);
  }
  desktop->Release();
  return S_OK;
}

bool CFolderTreeManager::Rebind(CTreeCtrl* tree, HTREEITEM item, IShellFolder* parent, LPITEMIDLIST relative) {
  TreeItemRecord* record = Record(tree, item);
  if (!record || !record->shell || !relative) {
    CoTaskMemFree(relative);
    return false;
  }
  // A level still being filled is finished under its old binding first.
  FinishFill(tree, item);
  ShellItemRecord* s = record->shell;
  TreeItemRecord* above = Record(tree, tree->GetParentItem(item));
  LPITEMIDLIST absolute = JoinItemIdLists(above && above->shell ? above->shell->absolute : nullptr, relative);
  if (!absolute) {
    CoTaskMemFree(relative);
    return false;
  }
  CoTaskMemFree(s->relative);
  CoTaskMemFree(s->absolute);
  s->parent = parent;
  s->relative = relative;
  s->absolute = absolute;
  if (s->folder) s->folder->Release();
  s->folder = nullptr;  // bound again when first needed
  std::string path = PathOf(parent, relative, absolute);
  if (!m_desktopName.empty() && path == m_desktopName) path = m_desktopDirectory;
  free(record->path);
  record->path = CopyText(path);
  std::string label;
  if (GetDisplayNameText(parent, relative, SHGDN_INFOLDER, &label)) tree->SetItemText(item, label.c_str());
  // The children follow by their names in the folder's new place; one that cannot be found
  // there goes (a refresh brings it back if it is still on the disk).
  IShellFolder* folder = BoundFolder(record);
  for (HTREEITEM c = tree->GetChildItem(item); c;) {
    HTREEITEM next = tree->GetNextSiblingItem(c);
    TreeItemRecord* child = Record(tree, c);
    const std::string name = child && child->path ? textkit::FileNameOf(child->path) : std::string();
    std::wstring wide;
    LPITEMIDLIST fresh = nullptr;
    if (!folder || name.empty() || !textkit::TryAnsiToWide(name, &wide) ||
        FAILED(folder->ParseDisplayName(nullptr, nullptr, &wide[0], nullptr, &fresh, nullptr)) ||
        !Rebind(tree, c, folder, fresh))
      RemoveItem(tree, c, false);
    c = next;
  }
  return true;
}

void CFolderTreeManager::RegisterShareOverlay(CTreeCtrl* tree) {
  HIMAGELIST list = TreeView_GetImageList(tree->m_hWnd, TVSIL_NORMAL);
  if (!list) return;
  HICON mark = LoadSharedOverlayIcon();
  if (!mark) return;
  // Added where the list ends, not at a fixed slot: the list's images below 1000 are the
  // system's icons the items share, and those from 1000 on the tinted ones.
  const int slot = ImageList_AddIcon(list, mark);
  if (slot >= 0) ImageList_SetOverlayImage(list, slot, 1);
  DestroyIcon(mark);
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
    // A level being filled goes with its item: its worker is told to stop.
    auto hold = HoldFills();
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
  if (deleteData && !path.empty()) ForgetFolderEntries(path);
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
