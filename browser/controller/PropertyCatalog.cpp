#include "PropertyCatalog.h"

#include <Kitlib2/CMDIB.h>
#include <RecordGate.h>
#include <metastore.h>
#include <VxGUIDB.h>
#include <VxResourceIds.h>
#include <shellapi.h>

#include "PropertyRules.h"

IMPLEMENT_DYNAMIC(CPrProperty, CObject)

// ---- CPrProperty ------------------------------------------------------------------------

CPrProperty::CPrProperty() : m_hProp(0), m_anScene{-1, -1, -1} {}
CPrProperty::CPrProperty(LPCSTR pszPath) : CPrProperty() { Open(pszPath); }
CPrProperty::~CPrProperty() { Close(); }

HRESULT CPrProperty::Open(LPCSTR pszPath) {
  if (m_hProp && PropertySamePath(m_strPath, pszPath)) return 1;
  Close();
  m_hProp = ::PrInitGetPropertyString(pszPath, 0);
  if (!m_hProp) return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
  m_strPath = pszPath;
  return 0;
}

HRESULT CPrProperty::OpenAvchd(int a, int b, int c) {
  if (m_hProp && m_anScene[0] == a && m_anScene[1] == b && m_anScene[2] == c) return 1;
  Close();
  m_hProp = ::PrInitGetAVCHDPropertyString(a, b, c);
  if (!m_hProp) return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
  m_anScene[0] = a, m_anScene[1] = b, m_anScene[2] = c;
  return 0;
}

CString CPrProperty::GetString(DWORD dwID) const {
  if (!m_hProp) return CString();
  LPCSTR p = ::PrGetPropertyString(m_hProp, dwID);
  return p ? CString(p) : CString();
}

HRESULT CPrProperty::GetSysTime(DWORD dwID, SYSTEMTIME* pTime) const {
  if (!pTime) return E_INVALIDARG;
  if (!m_hProp) return E_PENDING;  // 0x8000000A: nothing open
  return ::PrGetPropertySysTime(m_hProp, dwID, pTime);
}

void CPrProperty::Close() {
  if (m_hProp) ::PrExitGetPropertyString(m_hProp);
  m_hProp = 0;
  m_strPath.Empty();
  m_anScene[0] = m_anScene[1] = m_anScene[2] = -1;
}

// ---- CFileSizeText ----------------------------------------------------------------------

CString CFileSizeText::Format() const {
  ULONGLONG n = ((ULONGLONG)m_dwHigh << 32) | m_dwLow;
  VXSIZEVALUE v = FileSizeValue(n);
  CString grouped = FileSizeGrouped(n), out;
  CResourceLoader res;
  switch (v.unit) {
    case VXSIZE_BYTES: res.LoadFormatString(out, IDS_SIZE_BYTES, (LPCSTR)grouped, (LPCSTR)grouped); break;
    case VXSIZE_KB: res.LoadFormatString(out, IDS_SIZE_KB, v.dValue, (LPCSTR)grouped); break;
    case VXSIZE_MB: res.LoadFormatString(out, IDS_SIZE_MB, v.dValue, (LPCSTR)grouped); break;
    case VXSIZE_GB: res.LoadFormatString(out, IDS_SIZE_GB, v.dValue, (LPCSTR)grouped); break;
    case VXSIZE_GB_LARGE: out.Format("%.2f GB (%s バイト)", v.dValue, (LPCSTR)grouped); break;
  }
  return out;
}

void CFileSizeText::Format(char* pszBuffer, size_t cb) const {
  if (!pszBuffer || !cb) return;
  lstrcpynA(pszBuffer, Format(), (int)cb);
}

// ---- The catalogue ----------------------------------------------------------------------

namespace {
enum Rule {
  R_NAME,
  R_FOLDER,
  R_ATTR,
  R_DIMS,
  R_SIZE,
  R_TYPE,
  R_MODIFIED,
  R_BPP,
  R_KEYWORDS,
  R_COMMENT,
  R_DATEINFO,
  R_IMAGEPROP,
  R_EXPOSURE,
  R_QUALITY,
  R_AVCHDPROP,
  R_TITLE,
  R_DISPLAY,
  R_TRACK,
};
struct KindDef {
  UINT nNameID;
  const char* pszName;  // a fixed name where no string names it
  Rule rule;
  DWORD dwProp;
};
const KindDef kKinds[VXPROPERTY_KINDS] = {
    {IDS_PROP_NAME, NULL, R_NAME, 0},
    {IDS_PROP_FOLDER, NULL, R_FOLDER, 0},
    {IDS_PROP_ATTRIBUTES, NULL, R_ATTR, 0},
    {IDS_PROP_IMAGE_SIZE, NULL, R_DIMS, 48},
    {IDS_COL_SIZE, NULL, R_SIZE, 80},
    {IDS_PROP_TYPE, NULL, R_TYPE, 16},
    {IDS_COL_MODIFIED, NULL, R_MODIFIED, 128},
    {IDS_PROP_COLORS, NULL, R_BPP, 0},
    {IDS_PROP_KEYWORDS, NULL, R_KEYWORDS, 0},
    {IDS_PROP_COMMENT, NULL, R_COMMENT, 0},
    {0, "日時", R_DATEINFO, 0},
    {IDS_PROP_MAKER, NULL, R_IMAGEPROP, 0},
    {IDS_PROP_MODEL, NULL, R_IMAGEPROP, 1},
    {IDS_PROP_SHOT_DATE, NULL, R_IMAGEPROP, 2},
    {IDS_PROP_EXPOSURE, NULL, R_EXPOSURE, 3},
    {IDS_PROP_APERTURE, NULL, R_IMAGEPROP, 4},
    {IDS_PROP_ISO, NULL, R_IMAGEPROP, 5},
    {IDS_PROP_FOCAL_LENGTH, NULL, R_IMAGEPROP, 6},
    {IDS_PROP_FLASH, NULL, R_IMAGEPROP, 7},
    {IDS_PROP_WHITE_BALANCE, NULL, R_IMAGEPROP, 8},
    {IDS_PROP_SHOT_MODE, NULL, R_IMAGEPROP, 64},
    {IDS_PROP_QUALITY, NULL, R_QUALITY, 0},
    {IDS_PROP_REC_TIME, NULL, R_AVCHDPROP, 8192},
    {IDS_PROP_BIT_RATE, NULL, R_AVCHDPROP, 16384},
    {IDS_PROP_REC_MODE, NULL, R_AVCHDPROP, 12288},
    {IDS_PROP_TITLE, NULL, R_TITLE, 0},
    {IDS_PROP_DISPLAY_NAME, NULL, R_DISPLAY, 0},
    {IDS_PROP_TRACK_TITLE, NULL, R_TRACK, 0},
    {IDS_PROP_TRACK_ARTIST, NULL, R_TRACK, 1},
    {IDS_PROP_TRACK_ALBUM, NULL, R_TRACK, 2},
    {IDS_PROP_TRACK_GENRE, NULL, R_TRACK, 3},
    {IDS_PROP_TRACK_NUMBER, NULL, R_TRACK, 4},
    {IDS_PROP_TRACK_LENGTH, NULL, R_TRACK, 5},
    {IDS_PROP_TRACK_DATE, NULL, R_TRACK, 6},
    {IDS_PROP_TRACK_FORMAT, NULL, R_TRACK, 7},
    {IDS_PROP_TRACK_LOCK, NULL, R_TRACK, 8},
    {IDS_PROP_TRACK_BIT_RATE, NULL, R_TRACK, 9},
};

BOOL IsImageKind(UINT kind) { return (kind & 0x210) == 0x210 || (kind & 0x240) == 0x240; }

// The file-name case of kind 0: a movie of the AVCHD family not listed as content.
BOOL ShowsFileName(CThumbnail* p) { return p->HasKind(0x1000 | 0x40) && !(p->GetListFlags() & VXLIST_CONTENT); }

CString TrackField(const CAudioTrackInfo* p, DWORD n) {
  switch (n) {
    case 0: return p->GetTitle();
    case 1: return p->GetArtist();
    case 2: return p->GetAlbum();
    case 3: return p->GetGenre();
    case 4: return p->GetTrack();
    case 5: return p->GetTimeText();
    case 6: return p->GetYear();
    case 7: return p->GetFormatText();
    case 8: return p->GetLock();
    default: return p->GetBitRate();
  }
}

CString ModifiedText(CThumbnail* p) {
  p->IsValidPath();  // refreshes what the item knows of the file
  FILETIME ft, local;
  SYSTEMTIME st;
  if (!p->GetLastWriteTime(&ft) || !::FileTimeToLocalFileTime(&ft, &local) || !::FileTimeToSystemTime(&local, &st))
    return CString();
  char date[128] = "", time[64] = "";
  DWORD flags = DATE_LONGDATE;
  LANGID lang = PRIMARYLANGID(::GetSystemDefaultLangID());
  if (lang == 1 || lang == 13) flags |= DATE_RTLREADING;
  ::GetDateFormatA(LOCALE_SYSTEM_DEFAULT, flags, &st, NULL, date, sizeof(date));
  ::GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, 0, &st, NULL, time, sizeof(time));
  CString s;
  s.Format("%s %s", date, time);
  return s;
}

class CCatalogItem : public CPropertyItem {
 public:
  explicit CCatalogItem(int nKind) : m_def(kKinds[nKind]) {}
  void GetName(CString& name) override {
    if (m_def.pszName)
      name = m_def.pszName;
    else
      name = CResourceLoader().LoadStringA(m_def.nNameID);
  }
  void GetValue(CThumbnail* p, CString& text, CObject* pContext) override {
    text.Empty();
    if (p) text = Value(p, dynamic_cast<CPrProperty*>(pContext));
    if (text.IsEmpty()) text = "-";
  }

 private:
  static CString Prop(CPrProperty* pCtx, DWORD id) {
    if (!pCtx) return CString();
    CString s = pCtx->GetString(id);
    return s == "-" ? CString() : s;
  }
  CString Value(CThumbnail* p, CPrProperty* pCtx) const {
    CResourceLoader res;
    UINT kind = p->GetKindFlags();
    CString s;
    switch (m_def.rule) {
      case R_NAME: return ShowsFileName(p) ? p->GetFileName() : p->GetDisplayName();
      case R_FOLDER: {
        CString folder = p->GetFolderPath();  // drive and directory, with a final "\"
        if (folder.GetLength() > 3 && folder.Right(1) == "\\") folder = folder.Left(folder.GetLength() - 1);
        return folder;
      }
      case R_ATTR: {
        DWORD a = ::GetFileAttributesA(p->GetFilePath());
        if (a == INVALID_FILE_ATTRIBUTES) return "-";
        if (a & FILE_ATTRIBUTE_READONLY) s += res.LoadStringA(IDS_PROP_ATTR_READONLY) + " ";
        if (a & FILE_ATTRIBUTE_HIDDEN) s += res.LoadStringA(IDS_PROP_ATTR_HIDDEN) + " ";
        if (a & FILE_ATTRIBUTE_ARCHIVE) s += res.LoadStringA(IDS_PROP_ATTR_ARCHIVE) + " ";
        if (a & FILE_ATTRIBUTE_SYSTEM) s += res.LoadStringA(IDS_PROP_ATTR_SYSTEM);
        return s;
      }
      case R_DIMS: {
        s = Prop(pCtx, m_def.dwProp);
        if (!s.IsEmpty() || pCtx) return s;
        int cx = 0, cy = 0;
        if ((kind & (VXKIND_STILL | VXKIND_MOVIE)) && p->GetDecodeImageType() == 1 && p->GetPropertySize(&cx, &cy))
          res.LoadFormatString(s, IDS_PROP_IMAGE_SIZE_FORMAT, cx, cy);
        return s;
      }
      case R_SIZE: {
        if (p->IsFolder()) return "-";
        s = Prop(pCtx, m_def.dwProp);
        if (!s.IsEmpty()) return s;
        DWORD high = 0, low = p->GetFileSize(&high);
        CFileSizeText size;
        size.Set(low, high);
        return size.Format();
      }
      case R_TYPE: {
        s = Prop(pCtx, m_def.dwProp);
        if (!s.IsEmpty()) return s;
        SHFILEINFOA info = {};
        HRESULT hr = ::CoInitialize(NULL);
        if (::SHGetFileInfoA(p->GetFilePath(), 0, &info, sizeof(info), SHGFI_TYPENAME)) s = info.szTypeName;
        if (SUCCEEDED(hr)) ::CoUninitialize();
        return s;
      }
      case R_MODIFIED:
        if (!p->IsFolder()) s = Prop(pCtx, m_def.dwProp);
        return s.IsEmpty() ? ModifiedText(p) : s;
      case R_BPP:
        if (kind & VXKIND_STILL) res.LoadFormatString(s, IDS_PROP_COLORS_FORMAT, p->GetBpp());
        return s;
      case R_KEYWORDS:
      case R_COMMENT: {
        char buf[512] = "";
        BOOL ok = m_def.rule == R_KEYWORDS ? p->GetKeywords(buf, sizeof(buf)) : p->GetComment(buf, sizeof(buf));
        return ok ? CString(buf) : CString();
      }
      case R_DATEINFO: {
        // Whether the photo database keeps the file's dates.
        METADATA* pList = NULL;
        BOOL bDates = SUCCEEDED(::VxDBWReadFile(p->GetFilePath(), &pList)) && ::MetaFindRecord(pList, "DateTimeInfo");
        ::FreeMetaDataList(pList);
        return bDates ? "あり" : "なし";
      }
      case R_IMAGEPROP: return IsImageKind(kind) ? Prop(pCtx, m_def.dwProp) : CString();
      case R_EXPOSURE:
        if (kind == 129) return Prop(pCtx, 24576);
        return IsImageKind(kind) ? Prop(pCtx, m_def.dwProp) : CString();
      case R_QUALITY: {
        if ((kind & 0x210) != 0x210 && !(kind & VXKIND_MOVIE)) return CString();
        UINT id = QualityStringID(p->GetQualityFlag());
        return id ? res.LoadStringA(id) : CString();
      }
      case R_AVCHDPROP: return kind == 129 ? Prop(pCtx, m_def.dwProp) : CString();
      case R_TITLE: {
        if (ShowsFileName(p)) return p->GetDisplayName();
        const VXEXIFDATA* pExif = p->GetExifData();
        if (!pExif || !pExif->szTitle[0]) return CString();
        char out[512];
        if (CCMDIB::UTF8toSJIS(pExif->szTitle, out, sizeof(out)) < 0) return "-";
        return out;
      }
      case R_DISPLAY: return p->GetDisplayName();
      case R_TRACK: {
        const CAudioTrackInfo* pTrack = p->GetMusicInfo();
        return pTrack ? TrackField(pTrack, m_def.dwProp) : CString();
      }
    }
    return s;
  }
  const KindDef& m_def;
};
}  // namespace

CPropertyItem* CreatePropertyItem(int nKind) {
  if (nKind < 0 || nKind >= VXPROPERTY_KINDS) return NULL;
  return new (std::nothrow) CCatalogItem(nKind);
}
