// CThumbnailPage: filling a page from a folder, a card's audio area or single files;
// removing, finding, counting and sorting its items.
#include "internal.h"

#include <algorithm>
#include <set>

using namespace vxg;

struct PageImpl {
  int type = 0;
  int number = 0;
  std::vector<CThumbnail*> items;
  std::string name;
  CThumbnailGroupInfo group;
  bool virtualMember = false;
  volatile LONG stop = 0;

  bool Owns() const { return type != VXPAGE_CALENDAR; }
  void Append(CThumbnail* item) {
    items.push_back(item);
    Impl(item)->page = owner;
  }
  // Takes an item out; deletes it when the page owns it.
  void Release(size_t i) {
    CThumbnail* item = items[i];
    items.erase(items.begin() + i);
    Impl(item)->page = nullptr;
    if (Owns()) delete item;
  }
  CThumbnailPage* owner = nullptr;
};

namespace vxg {
void PageDetach(CThumbnailPage* page, CThumbnail* item) {
  auto& v = Impl(page)->items;
  auto it = std::find(v.begin(), v.end(), item);
  if (it != v.end()) v.erase(it);
}
}  // namespace vxg

namespace {
// Directory entries of a folder that a scan lists, in name order.
bool ListEntries(const std::string& folder, bool subFolders, std::vector<WIN32_FIND_DATAA>* out) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((textkit::WithTrailingSeparator(folder) + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!subFolders || strcmp(fd.cFileName, ".") == 0 || strcmp(fd.cFileName, "..") == 0) continue;
    }
    out->push_back(fd);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::stable_sort(out->begin(), out->end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    return textkit::FoldCase(a.cFileName) < textkit::FoldCase(b.cFileName);
  });
  return true;
}

std::string BaseName(const std::string& name) {
  return name.substr(0, name.size() - textkit::ExtensionOf(name).size());
}

bool FindEntry(const std::string& path, WIN32_FIND_DATAA* fd) {
  std::string p = textkit::WithoutTrailingSeparator(path);
  if (p.find_first_of("*?") != std::string::npos) return false;
  HANDLE h = FindFirstFileA(p.c_str(), fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return true;
}

// Area of a card's audio folder: 1 "SD_Audio", 0 "SD_Voice" (and anything else).
DWORD AreaOf(const std::string& folder) {
  std::string f = textkit::WithoutTrailingSeparator(folder);
  std::string name = textkit::FoldCase(f.substr(textkit::NameOffset(f)));
  return name == "SD_AUDIO" ? 1 : 0;
}

void MakeTrack(CThumbnail* item, DWORD area, DWORD track) {
  ThumbImpl* p = Impl(item);
  p->kind = VXKIND_CARDTRACK | (area ? VXKIND_SUB_1 : 0);
  p->fileKind = VXFILE_CARDTRACK;
  p->track.reset(new VXAUDIOTRACK{sizeof(VXAUDIOTRACK), track & 0xFF, area, 0});
  if (p->attributes & FILE_ATTRIBUTE_READONLY) p->track->dwFlags |= 1;
  item->SetOriginalSortSource("");
}
}  // namespace

// ---- CThumbnailGroupInfo -------------------------------------------------------------------
void CThumbnailGroupInfo::Set(int nGroup, LPCSTR pszText) {
  m_nGroup = nGroup;
  m_strText = pszText ? pszText : "";
}

void CThumbnailGroupInfo::Clear() { Set(0, ""); }

BOOL CThumbnailGroupInfo::IsFolder() const { return !m_strText.IsEmpty() && IsFolderPath((LPCSTR)m_strText); }

bool CThumbnailGroupInfo::operator==(const CThumbnailGroupInfo& other) const {
  return m_nGroup == other.m_nGroup && textkit::EqualNoCase((LPCSTR)m_strText, (LPCSTR)other.m_strText);
}

// ---- CThumbnailPage ------------------------------------------------------------------------
CThumbnailPage::CThumbnailPage(int nType, int nNumber) : m_p(new PageImpl) {
  m_p->type = nType;
  m_p->number = nNumber;
  m_p->owner = this;
  DecoderPageOpened();
}

CThumbnailPage::~CThumbnailPage() {
  RemoveAll();
  delete m_p;
  DecoderPageClosed();
}

int CThumbnailPage::GetType() const { return m_p->type; }
int CThumbnailPage::GetNumber() const { return m_p->number; }
BOOL CThumbnailPage::OwnsItems() const { return m_p->Owns(); }

long CThumbnailPage::ListFolder(LPCSTR pszFolder, BOOL bSubFolders, std::vector<WIN32_FIND_DATAA>* pEntries) {
  if (!pszFolder || !*pszFolder || !pEntries) return E_INVALIDARG;
  std::string folder = textkit::WithoutTrailingSeparator(pszFolder);
  if (!IsFolderPath(folder)) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  if (!ListEntries(folder, bSubFolders != FALSE, pEntries)) return HRESULT_FROM_WIN32(GetLastError());
  return 0;
}

long CThumbnailPage::Add(LPCSTR pszFolder, BOOL bSubFolders, IThumbnailPage_AddFolderCallback* pCallback, DWORD) {
  std::vector<WIN32_FIND_DATAA> entries;
  long r = ListFolder(pszFolder, bSubFolders, &entries);
  return r ? r : AddListed(pszFolder, entries, pCallback);
}

long CThumbnailPage::AddListed(LPCSTR pszFolder, const std::vector<WIN32_FIND_DATAA>& entries,
                               IThumbnailPage_AddFolderCallback* pCallback) {
  if (!pszFolder || !*pszFolder) return E_INVALIDARG;
  InterlockedExchange(&m_p->stop, 0);
  std::string folder = textkit::WithoutTrailingSeparator(pszFolder);

  // Content groups: the base names of the folder's ".cont" files.
  std::set<std::string> contents;
  for (const WIN32_FIND_DATAA& fd : entries)
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        textkit::FoldCase(textkit::ExtensionOf(fd.cFileName)) == ".CONT")
      contents.insert(textkit::FoldCase(BaseName(fd.cFileName)));

  const std::string prefix = textkit::WithTrailingSeparator(folder);
  m_p->items.reserve(m_p->items.size() + entries.size());
  for (const WIN32_FIND_DATAA& fd : entries) {
    if (m_p->stop) return ERROR_CANCELLED;
    CThumbnail* item = new CThumbnail;
    item->m_p->InitFromFind(prefix, fd);
    if (!contents.empty() && !item->m_p->folder && contents.count(textkit::FoldCase(BaseName(fd.cFileName)))) {
      bool head = textkit::FoldCase(textkit::ExtensionOf(fd.cFileName)) == ".CONT";
      item->m_p->listFlags = VXLIST_COMPANION | (head ? VXLIST_CONTENT : 0);
      if (!head) item->m_p->kind |= VXKIND_COMPANION;
    }
    m_p->Append(item);
    if (pCallback) {
      long r = pCallback->OnAddThumbnail(item);
      if (r != 0) return r;
    }
  }
  return m_p->stop ? ERROR_CANCELLED : 0;
}

long CThumbnailPage::Add(LPCSTR pszFile, int nFlags, CThumbnail** ppAdded) {
  if (ppAdded) *ppAdded = nullptr;
  if (!pszFile || !*pszFile) return E_INVALIDARG;
  CThumbnail* item = new CThumbnail;
  HRESULT hr = item->SetPath(pszFile);
  if (FAILED(hr)) {
    delete item;
    return hr;
  }
  if (nFlags & 1) m_p->virtualMember = true;
  m_p->Append(item);
  if (ppAdded) *ppAdded = item;
  return 0;
}

long CThumbnailPage::Add(CThumbnail* pThumbnail) {
  if (!pThumbnail) return E_POINTER;
  if (pThumbnail->m_p->page) return E_INVALIDARG;
  m_p->Append(pThumbnail);
  return 0;
}

long CThumbnailPage::Add_SDAudio(LPCSTR pszPath, IThumbnailPage_AddFolderCallback* pCallback, CThumbnail** ppAdded) {
  if (ppAdded) *ppAdded = nullptr;
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  InterlockedExchange(&m_p->stop, 0);
  std::string path = textkit::WithoutTrailingSeparator(pszPath);
  DWORD tracks = 0;
  for (CThumbnail* t : m_p->items)
    if (t->m_p->track) tracks = std::max<DWORD>(tracks, t->m_p->track->dwTrack & 0xFF);

  if (!IsFolderPath(path)) {
    WIN32_FIND_DATAA fd;
    if (!FindEntry(path, &fd)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    CThumbnail* item = new CThumbnail;
    size_t off = textkit::NameOffset(path);
    item->m_p->InitFromFind(path.substr(0, off), fd);
    MakeTrack(item, AreaOf(path.substr(0, off)), tracks + 1);
    m_p->Append(item);
    if (ppAdded) *ppAdded = item;
    if (pCallback) return pCallback->OnAddThumbnail(item);
    return 0;
  }

  std::vector<WIN32_FIND_DATAA> entries;
  if (!ListEntries(path, false, &entries)) return HRESULT_FROM_WIN32(GetLastError());
  DWORD area = AreaOf(path);
  const std::string prefix = textkit::WithTrailingSeparator(path);
  for (const WIN32_FIND_DATAA& fd : entries) {
    if (m_p->stop) return ERROR_CANCELLED;
    if (!(KindFromExtension(textkit::ExtensionOf(fd.cFileName)) & VXKIND_SOUND)) continue;
    CThumbnail* item = new CThumbnail;
    item->m_p->InitFromFind(prefix, fd);
    MakeTrack(item, area, ++tracks);
    m_p->Append(item);
    if (pCallback) {
      long r = pCallback->OnAddThumbnail(item);
      if (r != 0) return r;
    }
  }
  return 0;
}

long CThumbnailPage::AddAVCHD(LPCSTR pszPath, BOOL bSubFolders, IThumbnailPage_AddFolderCallback* pCallback,
                              DWORD dwFlags, int nFirst, int nSecond, int nImage) {
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  std::string path = textkit::WithoutTrailingSeparator(pszPath);
  size_t before = m_p->items.size();
  if (IsFolderPath(path)) {
    long r = Add(path.c_str(), bSubFolders, nullptr, dwFlags);
    if (r != 0) return r;
  } else {
    long r = Add(path.c_str(), 0, nullptr);
    if (r != 0) return r;
  }
  for (size_t i = before; i < m_p->items.size(); ++i) {
    CThumbnail* item = m_p->items[i];
    if (!item->m_p->folder) {
      item->SetAVCHDInfo(nFirst, nSecond, nImage);
      item->m_p->kind = VXTYPE_AVCHD;
      item->m_p->fileKind = VXFILE_MOVIE;
    }
    if (pCallback) {
      long r = pCallback->OnAddThumbnail(item);
      if (r != 0) return r;
    }
  }
  return 0;
}

long CThumbnailPage::Stop() {
  InterlockedExchange(&m_p->stop, 1);
  DecoderForgetPage(this);
  return 0;
}

// ---- Removing ------------------------------------------------------------------------------
long CThumbnailPage::Remove(CThumbnail* pThumbnail) {
  auto& v = m_p->items;
  auto it = std::find(v.begin(), v.end(), pThumbnail);
  if (it == v.end()) return E_INVALIDARG;
  m_p->Release(size_t(it - v.begin()));
  return 0;
}

long CThumbnailPage::Remove(LPCSTR pszPath) {
  CThumbnail* item = Find(pszPath);
  return item ? Remove(item) : E_INVALIDARG;
}

void CThumbnailPage::RemoveAll() {
  std::vector<CThumbnail*> items;
  items.swap(m_p->items);
  for (CThumbnail* item : items) {
    item->m_p->page = nullptr;
    if (m_p->Owns()) delete item;
  }
}

int CThumbnailPage::RemoveAllInvalidThumbnail() {
  int removed = 0;
  for (size_t i = m_p->items.size(); i-- > 0;) {
    CThumbnail* item = m_p->items[i];
    if (item->IsDiscContent()) continue;
    if (!item->IsValidPath()) {
      m_p->Release(i);
      ++removed;
    }
  }
  return removed;
}

// ---- Reading -------------------------------------------------------------------------------
int CThumbnailPage::GetCount() const { return int(m_p->items.size()); }

CThumbnail* CThumbnailPage::GetAt(int nIndex) const {
  return (nIndex >= 0 && size_t(nIndex) < m_p->items.size()) ? m_p->items[nIndex] : nullptr;
}

int CThumbnailPage::IndexOf(const CThumbnail* pThumbnail) const {
  auto& v = m_p->items;
  auto it = std::find(v.begin(), v.end(), pThumbnail);
  return it == v.end() ? -1 : int(it - v.begin());
}

CThumbnail* CThumbnailPage::Find(LPCSTR pszPath, UINT nKindMask) const {
  if (!pszPath || !*pszPath) return nullptr;
  std::string want = textkit::FoldCase(textkit::WithoutTrailingSeparator(pszPath));
  for (CThumbnail* item : m_p->items)
    if (KindHas(item->m_p->kind, nKindMask) && textkit::FoldCase(item->m_p->path) == want) return item;
  return nullptr;
}

int CThumbnailPage::Size(UINT nMask) const {
  int n = 0;
  for (CThumbnail* item : m_p->items)
    if (!item->m_p->folder && KindHas(item->m_p->kind, nMask)) ++n;
  return n;
}

CString CThumbnailPage::GetName() const { return CString(m_p->name.c_str()); }
void CThumbnailPage::SetName(LPCSTR pszName) { m_p->name = pszName ? pszName : ""; }
const CThumbnailGroupInfo& CThumbnailPage::GetGroupInfo() const { return m_p->group; }
void CThumbnailPage::SetGroupInfo(const CThumbnailGroupInfo& info) { m_p->group = info; }

BOOL CThumbnailPage::IsVirtualFolder() const {
  if (m_p->virtualMember) return TRUE;
  return m_p->type != VXPAGE_CALENDAR && m_p->group.IsValid() && m_p->group.GetText().IsEmpty();
}

BOOL CThumbnailPage::IsValid_AudioInfo(const CThumbnail* p) {
  if (!p || !CThumbnail::CheckThumbnailPointer(p)) return FALSE;
  const VXAUDIOTRACK* t = p->GetAudioTrackRecord();
  if (!t || t->dwSize != sizeof(VXAUDIOTRACK) || (t->dwTrack & 0xFF) == 0) return FALSE;
  return PathExists(p->m_p->path);
}

// ---- Sorting -------------------------------------------------------------------------------
void CThumbnailPage::CreateSortString(LPCSTR pszKeys, bool bAscending) {
  std::string keys = pszKeys ? pszKeys : "";
  auto has = [&](char c) { return keys.find(c) != std::string::npos; };
  for (CThumbnail* item : m_p->items) {
    ThumbImpl* p = item->m_p;
    SortFacts f;
    f.folder = p->folder;
    if (has('t')) f.recTime = item->GetRecTime();
    if (has('d')) f.writeTime = FtToU64(p->ftWrite);
    if (has('z')) f.size = p->size;
    if (has('e')) f.ext = p->folder ? std::string(".") : textkit::ExtensionOf(p->path.substr(p->nameOffset));
    if (has('f')) f.name = (LPCSTR)item->GetDisplayName();
    if (has('a')) {
      const VXEXIFDATA* ex = (p->kind & VXKIND_STILL) ? item->GetExifData() : nullptr;
      f.model = ex ? ex->szModel : "";
    }
    if (has('b')) {
      int w = 0, h = 0;
      if (p->kind & (VXKIND_STILL | VXKIND_MOVIE)) item->GetOriginalImageSize(&w, &h);
      f.pixels = ULONGLONG(w) * ULONGLONG(h);
    }
    if (has('c')) {
      f.marked = item->GetMarkStatus(0) != 0;
      f.favourite = p->favDB;
    }
    if (has('m')) f.track = p->track ? (p->track->dwTrack & 0xFF) | ((p->track->dwTrack >> 16) << 8) : 0;
    if (has('o')) f.original = p->originalSort;
    p->sortString = BuildSortString(keys.c_str(), bAscending, f);
  }
}

long CThumbnailPage::Sort(LPCSTR pszKeys, bool bAscending) {
  if (!pszKeys || !*pszKeys) return E_INVALIDARG;
  CreateSortString(pszKeys, bAscending);
  std::stable_sort(m_p->items.begin(), m_p->items.end(), [bAscending](CThumbnail* a, CThumbnail* b) {
    const char* sa = a->m_p->sortString.c_str();
    const char* sb = b->m_p->sortString.c_str();
    return bAscending ? lstrcmpA(sa, sb) < 0 : lstrcmpA(sb, sa) < 0;
  });
  return 0;
}
