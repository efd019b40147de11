// The browsing state: view modes and their codes, folder types, sort and filter, and the
// reading of a folder-change text.
#include <VxDocument/BrowserStatus.h>
#include <VxDocument/CopyData.h>

#include <Kitlib2/Profile.h>

#include <cstring>

// ---- View mode ----------------------------------------------------------------------

namespace {

struct CodeFlag {
  UINT code;
  BROWSE_VIEW_MODE flag;
};

// View codes and browse flags; the first code of a flag is the one ToCgViewID gives.
const CodeFlag kCodes[] = {
    {CGVIEW_SMALLICON, BROWSE_VIEW_SMALLICON}, {CGVIEW_LARGEICON, BROWSE_VIEW_LARGEICON},
    {CGVIEW_FILEINFO, BROWSE_VIEW_FILEINFO},   {CGVIEW_CAMERAINFO, BROWSE_VIEW_CAMERAINFO},
    {CGVIEW_FOCUS, BROWSE_VIEW_FOCUS},         {CGVIEW_ZOOM, BROWSE_VIEW_ZOOM},
    {CGVIEW_AUDIOINFO, BROWSE_VIEW_AUDIOINFO}, {CGVIEW_AUDIOLIST, BROWSE_VIEW_AUDIOLIST},
    {CGVIEW_FOCUSINFO, BROWSE_VIEW_FOCUS},     {CGVIEW_MONTH, BROWSE_VIEW_MONTH},
    {CGVIEW_DAY, BROWSE_VIEW_DAY},             {CGVIEW_MUSIC, BROWSE_VIEW_MUSIC},
    {CGVIEW_SLIDESHOW, BROWSE_VIEW_SLIDESHOW}, {CGVIEW_SLIDESHOW_ALL, BROWSE_VIEW_SLIDESHOW},
};

const int kThumbSizes[] = {30, 80, 160, 223, 303};

}  // namespace

CBrowserViewMode::CBrowserViewMode()
    : m_mode(BROWSE_VIEW_LARGEICON), m_lastThumb(BROWSE_VIEW_LARGEICON), m_nThumbMode(2) {}

void CBrowserViewMode::SetMode(BROWSE_VIEW_MODE mode) {
  m_mode = mode;
  if (IsThumbnailSideFlag(mode)) m_lastThumb = mode;
}

BOOL CBrowserViewMode::SetThumbMode(int nIndex) {
  if (nIndex < 0 || nIndex > 4) return FALSE;
  m_nThumbMode = nIndex;
  return TRUE;
}

int CBrowserViewMode::GetThumbnailSize() const { return ThumbnailSizeOf(m_mode, m_nThumbMode); }

int CBrowserViewMode::ThumbnailSizeOf(BROWSE_VIEW_MODE mode, int nThumbMode) {
  if (mode == BROWSE_VIEW_MONTH || mode == BROWSE_VIEW_DAY) return 160;
  if (mode == BROWSE_VIEW_LARGEICON) return nThumbMode >= 0 && nThumbMode <= 4 ? kThumbSizes[nThumbMode] : 160;
  return 80;
}

BROWSE_VIEW_MODE CBrowserViewMode::ToBrowseID(UINT nViewCode) {
  for (const CodeFlag& c : kCodes)
    if (c.code == nViewCode) return c.flag;
  return BROWSE_VIEW_NONE;
}

UINT CBrowserViewMode::ToCgViewID(UINT nBrowseFlag) {
  for (const CodeFlag& c : kCodes)
    if (c.flag == nBrowseFlag) return c.code;
  return 0;
}

BOOL CBrowserViewMode::IsDetailFlag(UINT f) {
  return f == BROWSE_VIEW_FILEINFO || f == BROWSE_VIEW_CAMERAINFO || f == BROWSE_VIEW_AUDIOINFO ||
         f == BROWSE_VIEW_AUDIOLIST;
}

BOOL CBrowserViewMode::IsThumbnailSideFlag(UINT f) {
  return f == BROWSE_VIEW_SMALLICON || f == BROWSE_VIEW_LARGEICON || f == BROWSE_VIEW_FILEINFO ||
         f == BROWSE_VIEW_CAMERAINFO;
}

// ---- Folder type --------------------------------------------------------------------

CBrowserFolderType::CBrowserFolderType() : m_code(FOLDER_TYPE_NONE), m_nFolderType(0) {}

int CBrowserFolderType::CClassifyType::GetRegistryValue() {
  return CMGetProfileInt("VxFolder\\FolderInfo", "Classify", -1);
}

namespace {

enum SourceKind { kUnknown, kExplorer, kMemoryCard, kCategory, kSearch, kMusic, kFavorite };

// The last path component (trailing backslashes ignored).
CString LastComponent(LPCSTR pszPath) {
  CString s = pszPath ? pszPath : "";
  s.TrimRight('\\');
  int slash = s.ReverseFind('\\');
  return slash >= 0 ? s.Mid(slash + 1) : s;
}

SourceKind KindOfSource(const VXFOLDERSOURCE& src, const VXFOLDERPROFILE& prof) {
  LPCSTR name = src.pszSourceName ? src.pszSourceName : "";
  if (lstrcmpiA(name, "Explorer") == 0) return kExplorer;  // the browser's and tools' own texts
  struct Section {
    LPCSTR display;
    int id;
    SourceKind kind;
  } sections[] = {
      {prof.szMemoryCard, prof.nMemoryCardID, kMemoryCard}, {prof.szCategory, prof.nCategoryID, kCategory},
      {prof.szSearch, prof.nSearchID, kSearch},             {prof.szMusic, prof.nMusicID, kMusic},
      {prof.szFavorite, prof.nFavoriteID, kFavorite},       {prof.szExplorer, prof.nExplorerID, kExplorer},
  };
  // A title names its tree; the number is asked only when no title matches.
  for (const Section& s : sections)
    if (s.display[0] && lstrcmpiA(name, s.display) == 0) return s.kind;
  for (const Section& s : sections)
    if (s.id > 0 && src.nSourceNumber == s.id) return s.kind;
  return kUnknown;
}

}  // namespace

FOLDER_TYPE CBrowserFolderType::Decide(const VXFOLDERSOURCE& src, const VXFOLDERPROFILE& prof) {
  switch (KindOfSource(src, prof)) {
    case kExplorer: return FOLDER_TYPE_EXPLORER;
    case kCategory: return FOLDER_TYPE_CLASSIFY;
    case kFavorite: return FOLDER_TYPE_FAVORITE;
    case kMusic: return FOLDER_TYPE_MUSIC;
    case kSearch:
      if (prof.nSearchResult == 1) return FOLDER_TYPE_FINDRESULT_MARK;
      if (prof.nSearchResult == 2) return FOLDER_TYPE_FINDRESULT_SIMILAR;
      return FOLDER_TYPE_FINDRESULT;
    case kMemoryCard: {
      // A card's scenes can be deleted; a disc's cannot.
      if (src.nFolderType == 3)
        return src.nDriveType == DRIVE_REMOVABLE ? FOLDER_TYPE_SDCARD_AVCHD : FOLDER_TYPE_SDCARD_DISC;
      // The areas' folder names are certain; the tree's number counts only under the
      // first card drive.
      CString last = LastComponent(src.pszFirstPath);
      if (last.CompareNoCase("SD_AUDIO") == 0) return FOLDER_TYPE_SDCARD_AUDIO;
      if (last.CompareNoCase("SD_VOICE") == 0) return FOLDER_TYPE_SDCARD_VOICE;
      int n = prof.nMemoryCardNumber;
      return static_cast<FOLDER_TYPE>(FOLDER_TYPE_SDCARD | (n > 0 && n < 0xFF ? n : 0));
    }
    case kUnknown: break;
  }
  return FOLDER_TYPE_NONE;
}

void CBrowserFolderType::ReadProfile(VXFOLDERPROFILE* p) {
  std::memset(p, 0, sizeof(*p));
  struct Section {
    LPCSTR key;
    char* display;
    int* id;
  } sections[] = {
      {"ImportPlugin\\Explorer", p->szExplorer, &p->nExplorerID},
      {"ImportPlugin\\MemoryCard", p->szMemoryCard, &p->nMemoryCardID},
      {"ImportPlugin\\Category", p->szCategory, &p->nCategoryID},
      {"ImportPlugin\\Search", p->szSearch, &p->nSearchID},
      {"ImportPlugin\\Music", p->szMusic, &p->nMusicID},
      {"ImportPlugin\\Favorite", p->szFavorite, &p->nFavoriteID},
  };
  for (const Section& s : sections) {
    CString display = CMGetProfileString(s.key, "Display", "");
    lstrcpynA(s.display, display, sizeof(p->szExplorer));
    *s.id = CMGetProfileInt(s.key, "ID", -1);
  }
  p->nMemoryCardNumber = CMGetProfileInt("VxFolder\\FolderInfo", "MemoryCard", 0);
  p->nClassify = CMGetProfileInt("VxFolder\\FolderInfo", "Classify", -1);
  p->nSearchResult = CMGetProfileInt("VxFolder\\FolderInfo", "SearchResult", -1);
}

// ---- The whole state ----------------------------------------------------------------

namespace {

const UINT kFilterMasks[] = {0x210, 0x220, 0x240, 0x200, 0x1000, 0 /* 5: none */, 0};

}  // namespace

CBrowserStatus::CBrowserStatus() : m_nSortID(11), m_nFilterMask(0), m_nSourceNumber(-1) {}
CBrowserStatus::~CBrowserStatus() {}

int CBrowserStatus::FilterIDOfMask(UINT nMask) {
  for (int id = 0; id <= 6; ++id)
    if (id != 5 && kFilterMasks[id] == nMask) return id;
  return -1;
}

BOOL CBrowserStatus::MaskOfFilterID(int nFilterID, UINT* pnMask) {
  if (nFilterID < 0 || nFilterID > 6 || nFilterID == 5) return FALSE;
  if (pnMask) *pnMask = kFilterMasks[nFilterID];
  return TRUE;
}

CString CBrowserStatus::GetFolderPath() const { return m_paths.IsEmpty() ? CString() : m_paths.GetHead(); }

HRESULT CBrowserStatus::InterpretDispatcher(CCopyDataDispatcher* pDispatcher, CVxDocument*, CView*) {
  // A refused text changes nothing: the folder shown stays.
  if (!pDispatcher) return E_POINTER;
  if (!pDispatcher->IsValid()) return pDispatcher->GetResult();
  m_paths.RemoveAll();
  m_strSourceName.Empty();
  m_nSourceNumber = -1;
  SetCode(FOLDER_TYPE_NONE);
  SetFolderTypeNumber(0);
  GetClassifyType().SetKind(-1);

  m_nSourceNumber = pDispatcher->GetSourceNumber();
  m_strSourceName = pDispatcher->GetSourceName();
  pDispatcher->GetPathList(&m_paths);
  SetFolderTypeNumber(pDispatcher->GetFolderType());

  VXFOLDERPROFILE profile;
  ReadProfile(&profile);
  VXFOLDERSOURCE source = {m_nSourceNumber, m_strSourceName, pDispatcher->GetFolderType(), pDispatcher->GetPath(0), 0};
  if (source.nFolderType == 3 && source.pszFirstPath && source.pszFirstPath[0] && source.pszFirstPath[1] == ':') {
    const char root[] = {source.pszFirstPath[0], ':', '\\', 0};
    source.nDriveType = ::GetDriveTypeA(root);
  }
  SetCode(Decide(source, profile));
  if (IsClassifyFolder()) GetClassifyType().SetKind(profile.nClassify);
  return S_OK;
}
