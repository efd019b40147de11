#include "CardTreeBuild.h"

#include <KitlibEx/KitlibEx.h>
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <cstdlib>
#include <vector>
#include <cstring>

#include "CardRules.h"
#include "DiscNodes.h"

namespace cardtree {

CardItemRecord* NewRecord(const std::string& path, int kind) {
  auto* r = static_cast<CardItemRecord*>(calloc(1, sizeof(CardItemRecord)));
  if (!r) return nullptr;
  r->path = _strdup(path.c_str());
  r->kind = kind;
  return r;
}

void FreeRecord(CardItemRecord* record) {
  if (!record) return;
  free(record->path);
  free(record);
}

CardItemRecord* RecordOf(CTreeCtrl* tree, HTREEITEM item) {
  return item ? reinterpret_cast<CardItemRecord*>(tree->GetItemData(item)) : nullptr;
}

void DeleteItemTree(CTreeCtrl* tree, HTREEITEM item) {
  for (HTREEITEM child = tree->GetChildItem(item); child && tree->GetParentItem(child) == item;) {
    HTREEITEM next = tree->GetNextSiblingItem(child);
    DeleteItemTree(tree, child);
    child = next;
  }
  ForgetDateNode(item);
  if (CardItemRecord* r = RecordOf(tree, item)) {
    tree->SetItemData(item, 0);
    FreeRecord(r);
  }
  tree->DeleteItem(item);
}

void DeleteAllItems(CTreeCtrl* tree) {
  for (HTREEITEM item = tree->GetRootItem(); item;) {
    HTREEITEM next = tree->GetNextSiblingItem(item);
    DeleteItemTree(tree, item);
    item = next;
  }
}

namespace {
// The lists made for trees, with their trees: a tree still alive at unload is let go of
// its list first, so that it never paints from a destroyed one.
std::vector<std::pair<HWND, HIMAGELIST>> g_ownLists;
}

void DestroyOwnImageLists() {
  for (const auto& own : g_ownLists) {
    if (::IsWindow(own.first) &&
        reinterpret_cast<HIMAGELIST>(::SendMessageA(own.first, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) == own.second)
      ::SendMessageA(own.first, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    ImageList_Destroy(own.second);
  }
  g_ownLists.clear();
}

void SetItemIconSlot(CTreeCtrl* tree, HTREEITEM item, int slot) {
  HIMAGELIST h = reinterpret_cast<HIMAGELIST>(tree->SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
  if (!h && (h = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2)) != nullptr) {
    g_ownLists.push_back({tree->GetSafeHwnd(), h});
    tree->SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(h));
  }
  if (h) {
    HICON icon = static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(slot ? IDI_DISC_DRIVE : IDI_CARD_DRIVE),
                                               IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    // Exactly two images: the card drive's and the disc's.
    while (ImageList_GetImageCount(h) > 2) ImageList_Remove(h, ImageList_GetImageCount(h) - 1);
    while (ImageList_GetImageCount(h) < 2 && icon) ImageList_ReplaceIcon(h, -1, icon);
    if (icon) {
      ImageList_ReplaceIcon(h, slot, icon);
      DestroyIcon(icon);
    }
  }
  tree->SetItemImage(item, slot, slot);
}

HTREEITEM FindChildByLabel(CTreeCtrl* tree, HTREEITEM parent, const std::string& label) {
  HTREEITEM first = parent == TVI_ROOT || !parent ? tree->GetRootItem() : tree->GetChildItem(parent);
  for (HTREEITEM i = first; i; i = tree->GetNextSiblingItem(i))
    if (std::string(tree->GetItemText(i)) == label) return i;
  return nullptr;
}

namespace {
// Every trailing separator dropped, a root's too ("E:\\DCIM\\\\" -> "E:\\DCIM").
std::string Trimmed(std::string path) {
  textkit::TrimTrailingSeparators(path);
  return path;
}
}  // namespace

HTREEITEM TreePass::Node(HTREEITEM parent, const std::string& label, const std::string& path, int kind, HTREEITEM after,
                         bool* inserted) {
  if (inserted) *inserted = false;
  if (renew) {
    if (HTREEITEM found = FindChildByLabel(tree, parent, label)) {
      if (CardItemRecord* r = RecordOf(tree, found)) r->seen = 1;
      return found;
    }
  }
  CardItemRecord* r = NewRecord(path, kind);
  if (!r) return nullptr;
  HTREEITEM item = tree->InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE, label.c_str(), 0, 0, 0,
                                    0, reinterpret_cast<LPARAM>(r), parent, after);
  if (!item) {
    FreeRecord(r);
    return nullptr;
  }
  r->seen = renew ? 1 : 0;
  if (inserted) *inserted = true;
  if (!renew && kind == kKindFolder && !path.empty() && !openFolder.empty() &&
      textkit::EqualNoCase(Trimmed(path), Trimmed(openFolder)))
    tree->Select(item, TVGN_CARET);
  return item;
}

namespace {

// One drive's families, in the order the drive node shows them.
class DrivePass {
 public:
  DrivePass(TreePass& pass, HTREEITEM drive, char letter, unsigned treeType)
      : p_(pass), t_(pass.tree), drive_(drive), root_(DriveRoot(letter)), type_(treeType), letter_(letter) {}

  void Run() {
    HTREEITEM current = Dcim();
    if (type_ & kTreeIm) current = Im(current);
    if (type_ & kTreeMobile) MobilePictures(current);
    HTREEITEM video = drive_;
    if (type_ & kTreeSdVideo) video = SdVideo();
    if (type_ & kTreeMobile) MobileMovies(video);
    if (type_ & kTreeSdVoice) SdArea("SD_VOICE", IDS_BROWSER_CARD_VOICE);
    if (type_ & kTreeSdAudio) SdArea("SD_AUDIO", IDS_BROWSER_CARD_AUDIO);
    if (type_ & kTreeVideoTitles) VideoTitles();
    if (type_ & kTreeAutoPlay) AutoPlay();
    if (type_ & kTreeMobile) MobileTransfer();
    DiscCoreNodes(p_, drive_, letter_ - 'A', true);
  }

 private:
  // A group or leaf node of the drive node, after the previous family's.
  HTREEITEM Top(const std::string& label, const std::string& path, int kind, bool* inserted = nullptr) {
    HTREEITEM item = p_.Node(drive_, label, path, kind, p_.renew ? after_ : TVI_LAST, inserted);
    if (item) after_ = item;
    return item;
  }
  HTREEITEM Group(HTREEITEM& group, UINT labelId, HTREEITEM parent = nullptr) {
    if (!group) {
      if (!parent || parent == drive_)
        group = Top(ResourceString(labelId), "", kKindGroup);
      else
        group = p_.Node(parent, ResourceString(labelId), "", kKindGroup, TVI_LAST);
    }
    return group;
  }
  void Sort(HTREEITEM parent, bool any) {
    if (any && parent) t_->SortChildren(parent);
  }

  // The sub-folders of folder accepted by the filter, appended under parent (made by the
  // first one when it is a group to come).
  template <class Accept, class Parent>
  bool Folders(const std::string& folder, Accept accept, Parent parent) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool any = false, inserted = false;
    HTREEITEM under = nullptr;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || fd.cFileName[0] == '.') continue;
      std::string path = folder + fd.cFileName;
      if (path.size() >= MAX_PATH || !accept(fd.cFileName, path) || !IsVisiblePath(path)) continue;
      under = parent();
      if (!under) break;
      bool added = false;
      p_.Node(under, fd.cFileName, path, kKindFolder, TVI_LAST, &added);
      inserted |= added;
      any = true;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    if (under) Sort(under, inserted || !p_.renew);
    return any;
  }

  HTREEITEM Dcim() {
    if (!FindsEntry(root_ + "DCIM\\*.*")) return nullptr;
    bool group = IsDcimGroup(type_);
    HTREEITEM dcim = Top(ResourceString(group ? IDS_CARD_GROUP_PICTURES : IDS_CARD_DCIM), "",
                         group ? kKindGroup : kKindDrive);
    if (!dcim) return nullptr;
    if (group) pictures_ = dcim;
    Folders(root_ + "DCIM\\", [](const char*, const std::string& path) { return CMTLxIsCardFolder(path.c_str()) == 0; },
            [&] { return dcim; });
    return dcim;
  }

  HTREEITEM Im(HTREEITEM dcim) {
    HTREEITEM parent = dcim ? dcim : drive_;
    HTREEITEM target = nullptr;
    bool found = Folders(
        root_,
        [](const char* name, const std::string& path) {
          return _strnicmp(name, "IM", 2) == 0 && CMTLxIsCardFolder(path.c_str()) == 0;
        },
        [&]() -> HTREEITEM {
          if (!target) target = IsGroupMode(type_) && parent == drive_ ? Group(pictures_, IDS_CARD_GROUP_PICTURES) : parent;
          return target;
        });
    return found ? target : parent;
  }

  void MobileFolders(const char* const* folders, size_t count, HTREEITEM& group, UINT groupLabel, HTREEITEM parent) {
    bool inserted = false;
    HTREEITEM under = nullptr;
    for (size_t i = 0; i < count; ++i) {
      std::string path = root_ + folders[i];
      if (!FindsEntry(path + "\\*.*") || !IsVisiblePath(path)) continue;
      if (!under) under = parent ? parent : Group(group, groupLabel);
      if (!under) return;
      bool added = false;
      p_.Node(under, textkit::FileNameOf(path), path, kKindFolder, TVI_LAST, &added);
      inserted |= added;
    }
    if (under) Sort(under, inserted || !p_.renew);
  }

  void MobilePictures(HTREEITEM current) {
    static const char* const kFolders[] = {"PRIVATE\\AU\\DF\\D_PA", "PRIVATE\\AU\\DF\\D_GR", "MOBILE\\AU\\DF\\D_PA",
                                           "MOBILE\\AU\\DF\\D_GR"};
    HTREEITEM parent = current ? current : drive_;
    // A top-level parent gets a pictures group first.
    if (parent == drive_ || !t_->GetParentItem(parent)) parent = nullptr;
    MobileFolders(kFolders, 4, pictures_, IDS_CARD_GROUP_PICTURES, parent ? parent : nullptr);
  }

  HTREEITEM SdVideo() {
    Folders(root_ + "SD_VIDEO\\",
            [](const char*, const std::string& path) { return CMTLxIsSDVideoFolder(path.c_str()) == 0; },
            [&] { return Group(video_, IDS_CARD_GROUP_VIDEO); });
    return video_ ? video_ : drive_;
  }

  void MobileMovies(HTREEITEM video) {
    static const char* const kFolders[] = {"PRIVATE\\AU\\DF\\D_MA", "MOBILE\\AU\\DF\\D_MA"};
    MobileFolders(kFolders, 2, video_, IDS_CARD_GROUP_VIDEO, video != drive_ ? video : nullptr);
  }

  void SdArea(const char* folder, UINT label) {
    std::string path = root_ + folder;
    if (!FindsEntry(path + "\\*.*") || !IsVisiblePath(path + "\\")) return;
    // Both areas without their trailing separator, so that the browser's path finds them.
    Top(ResourceString(label), path, kKindFolder);
  }

  void VideoTitles() {
    HTREEITEM group = nullptr;
    Folders(root_ + "PRIVATE\\VTF\\", [](const char* name, const std::string&) { return _stricmp(name, "TITLE") == 0; },
            [&] { return Group(group, IDS_CARD_GROUP_TITLES); });
  }

  void AutoPlay() {
    HTREEITEM group = nullptr;
    for (int n = 0; n <= 9; ++n) {
      std::string path = root_ + "MISC\\AUTPLAY" + std::to_string(n) + ".MRK";
      if (!IsVisiblePath(path)) continue;
      if (!group) group = Top(ResourceString(IDS_CARD_AUTOPLAY), "", kKindAutoPlay);
      if (!group) return;
      std::string label = AutoPlayLabel(n);
      if (p_.renew && FindChildByLabel(t_, group, label)) {
        p_.Node(group, label, path, kKindAutoPlay, TVI_LAST);
        continue;
      }
      // In file-number order: after the last entry whose path sorts below this one.
      HTREEITEM after = TVI_FIRST;
      for (HTREEITEM i = t_->GetChildItem(group); i; i = t_->GetNextSiblingItem(i)) {
        CardItemRecord* r = RecordOf(t_, i);
        if (r && r->path && textkit::CompareNoCase(r->path, path) < 0) after = i;
      }
      p_.Node(group, label, path, kKindAutoPlay, p_.renew ? after : TVI_LAST);
    }
  }

  void MobileTransfer() {
    static const char* const kFolders[] = {"PRIVATE\\AU_INOUT", "MOBILE\\AU_INOUT", "PRIVATE\\AU\\DF\\D_US",
                                           "MOBILE\\AU\\DF\\D_US"};
    HTREEITEM group = nullptr;
    MobileFolders(kFolders, 4, group, IDS_CARD_GROUP_MOBILE, nullptr);
  }

  TreePass& p_;
  CTreeCtrl* t_;
  HTREEITEM drive_;
  std::string root_;
  unsigned type_;
  char letter_;
  HTREEITEM after_ = TVI_FIRST;
  HTREEITEM pictures_ = nullptr;
  HTREEITEM video_ = nullptr;
};

unsigned TreeType() { return static_cast<unsigned>(CMGetProfileInt(kSettings, "TreeType", 0)); }

// Depth first, children before their parent: marks cleared, unmarked nodes gone.
void Sweep(CTreeCtrl* tree, HTREEITEM first) {
  for (HTREEITEM item = first; item;) {
    HTREEITEM next = tree->GetNextSiblingItem(item);
    if (HTREEITEM child = tree->GetChildItem(item)) Sweep(tree, child);
    CardItemRecord* r = RecordOf(tree, item);
    if (r && r->seen)
      r->seen = 0;
    else
      DeleteItemTree(tree, item);
    item = next;
  }
}

}  // namespace

HRESULT CreateCardTree(CTreeCtrl* tree, HTREEITEM parent) {
  TreePass pass{tree, false, std::string(CMGetProfileString(kFolderInfo, "OpenFolder", ""))};
  const unsigned type = TreeType();
  for (char letter : CardDrives()) {
    HTREEITEM drive = pass.Node(parent, DriveLabel(letter), "", kKindDrive, TVI_LAST);
    if (!drive) continue;
    SetItemIconSlot(tree, drive, 0);
    DrivePass(pass, drive, letter, type).Run();
  }
  DiscCoreNodes(pass, parent, -1, false);
  return S_OK;
}

HRESULT RenewCardTree(CTreeCtrl* tree) {
  TreePass pass{tree, true, std::string()};
  const unsigned type = TreeType();
  HTREEITEM previous = TVI_FIRST;
  for (char letter : CardDrives()) {
    bool inserted = false;
    HTREEITEM drive = pass.Node(TVI_ROOT, DriveLabel(letter), "", kKindDrive, previous, &inserted);
    if (!drive) continue;
    if (inserted) SetItemIconSlot(tree, drive, 0);
    previous = drive;
    DrivePass(pass, drive, letter, type).Run();
  }
  DiscCoreNodes(pass, TVI_ROOT, -1, false);
  Sweep(tree, tree->GetRootItem());
  return S_OK;
}

namespace {
HTREEITEM FindByPath(CTreeCtrl* tree, HTREEITEM first, const std::string& path) {
  for (HTREEITEM item = first; item; item = tree->GetNextSiblingItem(item)) {
    if (HTREEITEM hit = FindByPath(tree, tree->GetChildItem(item), path)) return hit;
    CardItemRecord* r = RecordOf(tree, item);
    if (r && r->path && *r->path && textkit::EqualNoCase(Trimmed(r->path), path)) return item;
  }
  return nullptr;
}
}  // namespace

BOOL SelectCardFolder(CTreeCtrl* tree, const std::string& path) {
  std::string wanted = Trimmed(path + "\\");
  if (wanted.empty()) return FALSE;
  HTREEITEM item = FindByPath(tree, tree->GetRootItem(), wanted);
  if (!item) return FALSE;
  tree->Select(item, TVGN_CARET);
  return TRUE;
}

HRESULT CardFolderTypeNum(CTreeCtrl* tree, int* value) {
  if (!value) return E_INVALIDARG;
  *value = 0;
  if (!tree) return E_INVALIDARG;
  const unsigned type = TreeType();
  HTREEITEM top = tree->GetRootItem();
  HTREEITEM sel = tree->GetSelectedItem();
  if (!sel) return E_INVALIDARG;
  HTREEITEM a = sel;
  for (HTREEITEM up = tree->GetParentItem(a); up && up != top; up = tree->GetParentItem(a)) a = up;
  if (!tree->GetParentItem(a)) {
    *value = 1;
    return S_OK;
  }
  int number = 2;
  if (IsGroupMode(type)) {
    const std::string text(tree->GetItemText(a));
    for (UINT id = IDS_CARD_GROUP_PICTURES;; ++id, ++number) {
      std::string s = ResourceString(id);
      if (s.empty()) {
        number = 0;
        break;
      }
      if (s == text) break;
    }
  }
  *value = number;
  return S_OK;
}

}  // namespace cardtree
