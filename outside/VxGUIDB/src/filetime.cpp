// IsValidPath and CFileTime: whether a file is there, and which file it is.
#include "internal.h"

using namespace vxg;

BOOL IsValidPath(LPCSTR pszPath, WIN32_FIND_DATAA* pFindData) {
  if (!pszPath || !*pszPath) return FALSE;
  std::string p(pszPath);
  if (p.size() >= MAX_PATH || textkit::HasCharOf(p, "*?\"<>|")) return FALSE;
  p = textkit::WithoutTrailingSeparator(p);
  if (p.size() <= 3 && p.size() >= 2 && p[1] == ':') {  // a drive root
    if (p.size() == 2) p += '\\';
    DWORD attr = GetFileAttributesA(p.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return FALSE;
    if (pFindData) {
      memset(pFindData, 0, sizeof(*pFindData));
      pFindData->dwFileAttributes = attr;
      lstrcpynA(pFindData->cFileName, p.c_str(), MAX_PATH);
    }
    return TRUE;
  }
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(p.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  FindClose(h);
  if (pFindData) *pFindData = fd;
  return TRUE;
}

CFileTime::CFileTime() { Clear(); }

void CFileTime::Clear() {
  m_strPath.Empty();
  m_ftCreate = FILETIME{0, 0};
  m_ftWrite = FILETIME{0, 0};
  m_qwSize = 0;
  m_dwAttributes = 0;
}

HRESULT CFileTime::Extract(LPCSTR pszPath) {
  Clear();
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  WIN32_FILE_ATTRIBUTE_DATA fa;
  if (!GetFileAttributesExA(pszPath, GetFileExInfoStandard, &fa)) return HRESULT_FROM_WIN32(GetLastError());
  m_strPath = pszPath;
  m_ftCreate = fa.ftCreationTime;
  m_ftWrite = fa.ftLastWriteTime;
  m_qwSize = (ULONGLONG(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow;
  m_dwAttributes = fa.dwFileAttributes;
  return S_OK;
}

HRESULT CFileTime::Extract(const CThumbnail* pThumbnail) {
  if (!pThumbnail || !CThumbnail::CheckThumbnailPointer(pThumbnail)) {
    Clear();
    return E_INVALIDARG;
  }
  return Extract(pThumbnail->GetFilePath());
}

BOOL CFileTime::IsEmpty() const { return m_strPath.IsEmpty(); }

bool CFileTime::operator==(const CFileTime& o) const {
  if (IsEmpty() || o.IsEmpty()) return IsEmpty() && o.IsEmpty();
  return textkit::EqualNoCase((LPCSTR)m_strPath, (LPCSTR)o.m_strPath) && m_qwSize == o.m_qwSize &&
         FtToU64(m_ftWrite) == FtToU64(o.m_ftWrite) && FtToU64(m_ftCreate) == FtToU64(o.m_ftCreate);
}
