// CThumbnail: the item, its file facts, browser state and the registry of live items.
#include "internal.h"

#include <unordered_map>

// ---- Registry of live items ------------------------------------------------------------
namespace vxg {
namespace {
std::unordered_map<const CThumbnail*, uint64_t>& Registry() {
  static std::unordered_map<const CThumbnail*, uint64_t> map;
  return map;
}
uint64_t g_nextSerial = 1;
volatile LONG g_nextId = 0;
}  // namespace

void RegisterItem(ThumbImpl* p) {
  Guard lock;
  p->serial = g_nextSerial++;
  Registry()[p->self] = p->serial;
}

void UnregisterItem(ThumbImpl* p) {
  Lock();
  Registry().erase(p->self);
  // A decoder that holds the item (storing its picture, calling back) lets go soon.
  while (p->pins > 0) {
    Unlock();
    FwWaitAnsweringSent(NULL, 1);
    Lock();
  }
  Unlock();
}

bool IsAliveLocked(const CThumbnail* item, uint64_t serial) {
  auto it = Registry().find(item);
  return it != Registry().end() && (serial == 0 || it->second == serial);
}
}  // namespace vxg

using namespace vxg;

// ---- CAudioTrackInfo -------------------------------------------------------------------
CAudioTrackInfo::CAudioTrackInfo() : m_dwKind(VXFILE_SOUND), m_dwDurationMs(0) {}

// ---- ThumbImpl -------------------------------------------------------------------------
void ThumbImpl::SetKindFromPath() {
  if (folder) {
    kind = VXTYPE_FOLDER;
  } else {
    kind = KindFromExtension(textkit::ExtensionOf(path.substr(nameOffset)));
    if (kind == VXTYPE_SHORTCUT) {
      std::string target;
      if (ResolveShortcut(path, &target)) {
        if (IsFolderPath(target))
          kind = VXTYPE_FOLDER_SHORTCUT;
        else
          kind = VXTYPE_FILE_SHORTCUT | KindFromExtension(textkit::ExtensionOf(target));
      }
    }
  }
  fileKind = FileKindOf(kind);
}

void ThumbImpl::InitFromFind(const std::string& folderPath, const WIN32_FIND_DATAA& fd) {
  path = folderPath + fd.cFileName;
  nameOffset = folderPath.size();
  folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  attributes = fd.dwFileAttributes;
  size = folder ? 0 : (ULONGLONG(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
  ftWrite = fd.ftLastWriteTime;
  ftCreate = fd.ftCreationTime;
  SetKindFromPath();
  FILETIME local;
  recTime = FileTimeToLocalFileTime(&ftWrite, &local) ? FtToU64(local) : FtToU64(ftWrite);
  recState = 0;
}

bool ThumbImpl::RefreshFileFacts() {
  WIN32_FILE_ATTRIBUTE_DATA fa;
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &fa)) return false;
  EnterCriticalSection(&cs);
  attributes = fa.dwFileAttributes;
  folder = (fa.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size = folder ? 0 : (ULONGLONG(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow;
  ftWrite = fa.ftLastWriteTime;
  ftCreate = fa.ftCreationTime;
  LeaveCriticalSection(&cs);
  return true;
}

// ---- Construction ----------------------------------------------------------------------
CThumbnail::CThumbnail() : m_p(new ThumbImpl) {
  m_p->self = this;
  InitializeCriticalSection(&m_p->cs);
  m_p->ids[VXID_SLOT_VIEW] = IssueUniqueID();
  RegisterItem(m_p);
}

CThumbnail::CThumbnail(LPCSTR pszPath) : CThumbnail() { SetPath(pszPath); }

CThumbnail::CThumbnail(const CThumbnail& src) : CThumbnail() {
  ThumbImpl& s = *src.m_p;
  EnterCriticalSection(&s.cs);
  m_p->path = s.path;
  m_p->nameOffset = s.nameOffset;
  m_p->kind = s.kind;
  m_p->fileKind = s.fileKind;
  m_p->listFlags = s.listFlags;
  m_p->folder = s.folder;
  m_p->size = s.size;
  m_p->ftWrite = s.ftWrite;
  m_p->ftCreate = s.ftCreate;
  m_p->attributes = s.attributes;
  m_p->recTime = s.recTime;
  m_p->recState = s.recState;
  m_p->mark = s.mark;
  m_p->markKnown = s.markKnown;
  m_p->cut = s.cut;
  m_p->decodeSize = s.decodeSize;
  m_p->originalSort = s.originalSort;
  m_p->favDB = s.favDB;
  m_p->favDPOF = s.favDPOF;
  m_p->folderImageType = s.folderImageType;
  m_p->hasAVCHD = s.hasAVCHD;
  memcpy(m_p->avchd, s.avchd, sizeof(m_p->avchd));
  memcpy(m_p->disc, s.disc, sizeof(m_p->disc));
  m_p->hdEdit = s.hdEdit;
  m_p->hdName = s.hdName;
  if (s.track) m_p->track.reset(new VXAUDIOTRACK(*s.track));
  LeaveCriticalSection(&s.cs);
}

CThumbnail::~CThumbnail() {
  UnregisterItem(m_p);
  if (m_p->page) PageDetach(m_p->page, this);
  AddPixelBytes(-m_p->pixelBytes.load());
  DeleteCriticalSection(&m_p->cs);
  delete m_p;
}

// ---- File ------------------------------------------------------------------------------
HRESULT CThumbnail::SetPath(LPCSTR pszPath) {
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  std::string p(pszPath);
  if (p.size() >= MAX_PATH) return E_INVALIDARG;
  // A folder may come with its trailing backslash; a drive root keeps it.
  p = textkit::WithoutTrailingSeparator(p);
  WIN32_FIND_DATAA fd;
  if (!::IsValidPath(p.c_str(), &fd)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  size_t off = textkit::NameOffset(p);
  if (off >= p.size()) {  // a drive root: no name of its own
    lstrcpynA(fd.cFileName, p.c_str(), MAX_PATH);
  }
  m_p->DropImage(true);
  EnterCriticalSection(&m_p->cs);
  if (off >= p.size()) {
    m_p->path = p;
    m_p->nameOffset = 0;
    m_p->folder = true;
    m_p->attributes = fd.dwFileAttributes;
    m_p->size = 0;
    m_p->kind = VXTYPE_FOLDER;
    m_p->fileKind = VXFILE_FOLDER;
  } else {
    m_p->InitFromFind(p.substr(0, off), fd);
  }
  m_p->markKnown = false;
  m_p->sortString.clear();
  m_p->strings.clear();
  LeaveCriticalSection(&m_p->cs);
  return S_OK;
}

HRESULT CThumbnail::SetFileName(LPCSTR pszName) {
  if (!pszName || !textkit::IsValidFileName(pszName) || m_p->path.empty()) return E_INVALIDARG;
  std::string folderPath = m_p->path.substr(0, m_p->nameOffset);
  if (folderPath.size() + strlen(pszName) >= MAX_PATH) return E_INVALIDARG;
  EnterCriticalSection(&m_p->cs);
  m_p->path = folderPath + pszName;
  UINT keepFlags = m_p->kind & VXKIND_COMPANION;
  m_p->SetKindFromPath();
  m_p->kind |= keepFlags;
  m_p->strings.clear();
  LeaveCriticalSection(&m_p->cs);
  m_p->RefreshFileFacts();
  return S_OK;
}

BOOL CThumbnail::GetFilePath(LPSTR pszBuf, UINT nSize) const {
  if (m_p->path.empty()) {
    if (pszBuf && nSize) pszBuf[0] = '\0';
    return FALSE;
  }
  EnterCriticalSection(&m_p->cs);
  BOOL ok = CopyOut(m_p->path, pszBuf, nSize);
  LeaveCriticalSection(&m_p->cs);
  return ok;
}

CString CThumbnail::GetFilePath() const {
  EnterCriticalSection(&m_p->cs);
  CString s(m_p->path.c_str());
  LeaveCriticalSection(&m_p->cs);
  return s;
}

BOOL CThumbnail::GetFileName(LPSTR pszBuf, UINT nSize) const {
  return CopyOut(m_p->path.substr(m_p->nameOffset), pszBuf, nSize);
}

CString CThumbnail::GetFileName() const { return CString(m_p->path.substr(m_p->nameOffset).c_str()); }

BOOL CThumbnail::GetFileExt(LPSTR pszBuf, UINT nSize) const {
  return CopyOut(m_p->folder ? std::string(".") : textkit::ExtensionOf(m_p->path.substr(m_p->nameOffset)), pszBuf,
                 nSize);
}

CString CThumbnail::GetFileExt() const {
  return CString(m_p->folder ? "." : textkit::ExtensionOf(m_p->path.substr(m_p->nameOffset)).c_str());
}

BOOL CThumbnail::GetDisplayName(LPSTR pszBuf, UINT nSize) const { return CopyOut((LPCSTR)GetDisplayName(), pszBuf, nSize); }

CString CThumbnail::GetDisplayName() const { return GetFileName(); }

CString CThumbnail::GetFolderPath() const { return CString(m_p->path.substr(0, m_p->nameOffset).c_str()); }

BOOL CThumbnail::IsValidPath() {
  if (m_p->path.empty()) return FALSE;
  DWORD attr = GetFileAttributesA(m_p->path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return FALSE;
  return ((attr & FILE_ATTRIBUTE_DIRECTORY) != 0) == m_p->folder;
}

BOOL CThumbnail::IsValidPathWithoutBDCore() { return IsDiscContent() ? FALSE : IsValidPath(); }

BOOL CThumbnail::IsFile() const { return !m_p->path.empty() && !m_p->folder && !(m_p->kind & VXKIND_CARDTRACK); }
BOOL CThumbnail::IsFolder() const { return m_p->folder; }

BOOL CThumbnail::IsFile(const WIN32_FIND_DATAA& fd) {
  if (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return FALSE;
  return fd.cFileName[0] != '\0';
}

HRESULT CThumbnail::GetLinkedFilePath(LPSTR pszBuf, UINT nSize, BOOL* pbFolder) const {
  if (pbFolder) *pbFolder = FALSE;
  if (m_p->path.empty()) return E_FAIL;
  std::string target = m_p->path;
  if (m_p->kind & VXKIND_SHORTCUT) {
    if (!ResolveShortcut(m_p->path, &target)) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  }
  DWORD attr = GetFileAttributesA(target.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(GetLastError());
  if (pbFolder) *pbFolder = (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return CopyOut(target, pszBuf, nSize) ? S_OK : HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
}

bool CThumbnail::operator==(const CThumbnail& other) const { return textkit::EqualNoCase(m_p->path, other.m_p->path); }
bool CThumbnail::operator==(LPCSTR pszPath) const { return pszPath && textkit::EqualNoCase(m_p->path, pszPath); }

// ---- Kind --------------------------------------------------------------------------------
UINT CThumbnail::GetKindFlags() const { return m_p->kind; }
int CThumbnail::GetFileKind() const { return m_p->fileKind; }
BOOL CThumbnail::IsCheckable() const { return !m_p->path.empty() && !m_p->folder && !(m_p->kind & VXKIND_CARDTRACK); }
UINT CThumbnail::GetListFlags() const { return m_p->listFlags; }
BOOL CThumbnail::IsListed() const {
  return !((m_p->listFlags & VXLIST_COMPANION) && !(m_p->listFlags & VXLIST_CONTENT));
}

BOOL CThumbnail::IsZoomPicture() const {
  UINT k = m_p->kind;
  if (k & (VXKIND_FOLDER | VXKIND_CARDTRACK)) return FALSE;
  if (k & VXKIND_STILL) return (k & VXKIND_RAW) ? FALSE : TRUE;
  if (k & VXKIND_MOVIE) return (k & ~(VXKIND_MOVIE | VXKIND_COMPANION)) != 0;
  return FALSE;
}

// ---- Sizes and times -----------------------------------------------------------------------
DWORD CThumbnail::GetFileSize(DWORD* pdwHigh) const {
  if (pdwHigh) *pdwHigh = DWORD(m_p->size >> 32);
  return DWORD(m_p->size);
}
ULONGLONG CThumbnail::GetFileSize64() const { return m_p->size; }

BOOL CThumbnail::GetLastWriteTime(FILETIME* pft) const {
  if (!pft || m_p->path.empty()) return FALSE;
  *pft = m_p->ftWrite;
  return TRUE;
}

// ---- Browser state ---------------------------------------------------------------------------
DWORD CThumbnail::GetUniqueID(int nSlot) const { return m_p->ids[nSlot == VXID_SLOT_LIST ? 0 : 1]; }
void CThumbnail::SetUniqueID(DWORD dwID, int nSlot) { m_p->ids[nSlot == VXID_SLOT_LIST ? 0 : 1] = dwID; }

DWORD CThumbnail::IssueUniqueID() {
  for (;;) {
    LONG cur = g_nextId;
    LONG next = DWORD(cur) >= 0xFFFFFFFEu ? 0 : LONG(DWORD(cur) + 1);
    if (InterlockedCompareExchange(&g_nextId, next, cur) == cur) return DWORD(cur);
  }
}

BOOL CThumbnail::IsSelect() const { return m_p->select; }
void CThumbnail::SetSelect(BOOL bSelect) { m_p->select = bSelect != FALSE; }
void CThumbnail::Cut(bool bCut) { m_p->cut = bCut; }
BOOL CThumbnail::IsCut() const { return m_p->cut; }
CThumbnailPage* CThumbnail::GetPage() const { return m_p->page; }

// ---- Cached texts ----------------------------------------------------------------------------
void CThumbnail::SetStringData(UINT nID, LPCSTR pszText) {
  EnterCriticalSection(&m_p->cs);
  if (pszText)
    m_p->strings[nID] = pszText;
  else
    m_p->strings.erase(nID);
  LeaveCriticalSection(&m_p->cs);
}

BOOL CThumbnail::GetStringData(UINT nID, CString& str) const {
  EnterCriticalSection(&m_p->cs);
  auto it = m_p->strings.find(nID);
  BOOL found = it != m_p->strings.end();
  str = found ? it->second.c_str() : "";
  LeaveCriticalSection(&m_p->cs);
  return found;
}

void CThumbnail::ClearStringData() {
  EnterCriticalSection(&m_p->cs);
  m_p->strings.clear();
  LeaveCriticalSection(&m_p->cs);
}

// ---- Sorting ---------------------------------------------------------------------------------
void CThumbnail::SetOriginalSortSource(LPCSTR pszText) { m_p->originalSort = pszText ? pszText : ""; }
CString CThumbnail::GetOriginalSortSource() const { return CString(m_p->originalSort.c_str()); }
LPCSTR CThumbnail::GetSortString() const { return m_p->sortString.c_str(); }

// ---- Folder previews, AVCHD, disc items --------------------------------------------------------
void CThumbnail::SetFolderImageType(UINT nMask) {
  if (m_p->folderImageType == nMask) return;
  m_p->folderImageType = nMask;
  if (m_p->folder) ClearImage(FALSE);
}
UINT CThumbnail::GetFolderImageType() const { return m_p->folderImageType; }

void CThumbnail::SetAVCHDInfo(int nFirst, int nSecond, int nImage) {
  m_p->hasAVCHD = true;
  m_p->avchd[0] = nFirst;
  m_p->avchd[1] = nSecond;
  m_p->avchd[2] = nImage;
}

BOOL CThumbnail::GetAVCHDInfo(int* pnFirst, int* pnSecond, int* pnImage) const {
  if (pnFirst) *pnFirst = m_p->avchd[0];
  if (pnSecond) *pnSecond = m_p->avchd[1];
  if (pnImage) *pnImage = m_p->avchd[2];
  return m_p->hasAVCHD;
}

void CThumbnail::SetDiscRef(const DWORD adw[4]) { memcpy(m_p->disc, adw, sizeof(m_p->disc)); }
void CThumbnail::GetDiscRef(DWORD adw[4]) const { memcpy(adw, m_p->disc, sizeof(m_p->disc)); }
BOOL CThumbnail::IsDiscContent() const { return m_p->disc[0] != 0; }

void CThumbnail::GetPropertyParams(DWORD adw[4]) const {
  adw[0] = m_p->hasAVCHD ? 1 : 0;
  adw[1] = DWORD(m_p->avchd[0]);
  adw[2] = DWORD(m_p->avchd[1]);
  adw[3] = DWORD(m_p->avchd[2]);
}

int CThumbnail::GetHDEditFlag() const { return m_p->hdEdit; }
void CThumbnail::SetHDEditFlag(int nFlag) { m_p->hdEdit = nFlag; }
void CThumbnail::SetHDFileName(LPCSTR pszName) { m_p->hdName = pszName ? pszName : ""; }
CString CThumbnail::GetHDFileName() const { return CString(m_p->hdName.c_str()); }

BOOL CThumbnail::CheckThumbnailPointer(const CThumbnail* p) {
  if (!p) return FALSE;
  Guard lock;
  return IsAliveLocked(p, 0);
}
