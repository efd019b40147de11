// CFile, CStdioFile, CFileFind.
#include <fw/file.h>

#include <fcntl.h>
#include <io.h>

#include <textkit/path.h>
#include <textkit/text.h>

namespace {

CString FullPathOf(LPCSTR path) {
  CString full;
  DWORD n = ::GetFullPathNameA(path, MAX_PATH, full.GetBuffer(MAX_PATH), nullptr);
  if (n >= MAX_PATH) n = ::GetFullPathNameA(path, n, full.GetBuffer((int)n), nullptr);
  full.ReleaseBuffer(n > 0 ? (int)n : 0);
  return n > 0 ? full : CString(path);
}

bool EndsWithSeparator(const CString& s) {
  size_t last = textkit::FindLast((LPCSTR)s, '\\');
  return last != std::string::npos && last + 1 == size_t(s.GetLength());
}

CTime TimeOf(const FILETIME& ft) {
  return (ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0) ? CTime(0) : CTime(ft);
}

void FillStatusTimes(CFileStatus& rStatus, const FILETIME& ctime, const FILETIME& atime, const FILETIME& mtime) {
  rStatus.m_ctime = TimeOf(ctime);
  rStatus.m_atime = TimeOf(atime);
  rStatus.m_mtime = TimeOf(mtime);
}

ULONGLONG Join(DWORD high, DWORD low) { return ((ULONGLONG)high << 32) | low; }

}  // namespace

// ---- CFile ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) {
    ::CloseHandle(m_hFile);
    m_hFile = hFileNull;
  }
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != hFileNull) Abort();
  m_strFileName = FullPathOf(lpszFileName ? lpszFileName : "");

  static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, GENERIC_READ};
  DWORD access = kAccess[nOpenFlags & 3];
  DWORD share = 0;
  switch (nOpenFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = 0; break;  // compatibility and exclusive
  }
  DWORD creation = OPEN_EXISTING;
  if (nOpenFlags & modeCreate) creation = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  DWORD flags = FILE_ATTRIBUTE_NORMAL;
  if (nOpenFlags & osNoBuffer) flags |= FILE_FLAG_NO_BUFFERING;
  if (nOpenFlags & osWriteThrough) flags |= FILE_FLAG_WRITE_THROUGH;
  if (nOpenFlags & osRandomAccess) flags |= FILE_FLAG_RANDOM_ACCESS;
  if (nOpenFlags & osSequentialScan) flags |= FILE_FLAG_SEQUENTIAL_SCAN;
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};

  HANDLE h = ::CreateFileA(lpszFileName ? lpszFileName : "", access, share, &sa, creation, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD err = ::GetLastError();
    if (pError) {
      pError->m_lOsError = (LONG)err;
      pError->m_cause = CFileException::OsErrorToException((LONG)err);
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_hFile = h;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

void CFile::CheckOpen() const {
  if (m_hFile == hFileNull) AfxThrowFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE, m_strFileName);
}

void CFile::ThrowLastError() const {
  LONG err = (LONG)::GetLastError();
  AfxThrowFileException(CFileException::OsErrorToException(err), err, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  CheckOpen();
  if (nCount == 0) return 0;
  DWORD nRead = 0;
  if (!::ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr)) ThrowLastError();
  return nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  CheckOpen();
  if (nCount == 0) return;
  DWORD nWritten = 0;
  if (!::WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr)) ThrowLastError();
  if (nWritten != nCount) AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  CheckOpen();
  static const DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  if (nFrom > end) AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
  LARGE_INTEGER distance, position;
  distance.QuadPart = lOff;
  if (!::SetFilePointerEx(m_hFile, distance, &position, kMethod[nFrom])) ThrowLastError();
  return (ULONGLONG)position.QuadPart;
}

ULONGLONG CFile::GetPosition() const {
  CheckOpen();
  LARGE_INTEGER zero = {}, position;
  if (!::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT)) ThrowLastError();
  return (ULONGLONG)position.QuadPart;
}

ULONGLONG CFile::GetLength() const {
  CheckOpen();
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(m_hFile, &size)) ThrowLastError();
  return (ULONGLONG)size.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  Seek((LONGLONG)dwNewLen, begin);
  if (!::SetEndOfFile(m_hFile)) ThrowLastError();
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  CheckOpen();
  if (!::LockFile(m_hFile, (DWORD)dwPos, (DWORD)(dwPos >> 32), (DWORD)dwCount, (DWORD)(dwCount >> 32)))
    ThrowLastError();
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  CheckOpen();
  if (!::UnlockFile(m_hFile, (DWORD)dwPos, (DWORD)(dwPos >> 32), (DWORD)dwCount, (DWORD)(dwCount >> 32)))
    ThrowLastError();
}

void CFile::Flush() {
  if (m_hFile != hFileNull && !::FlushFileBuffers(m_hFile)) ThrowLastError();
}

void CFile::Close() {
  BOOL ok = TRUE;
  if (m_hFile != hFileNull) ok = ::CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (!ok) ThrowLastError();
}

void CFile::Abort() {
  if (m_hFile != hFileNull) ::CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus();
  lstrcpynA(rStatus.m_szFullName, m_strFileName, MAX_PATH);
  BY_HANDLE_FILE_INFORMATION info;
  if (m_hFile == hFileNull || !::GetFileInformationByHandle(m_hFile, &info)) return FALSE;
  FillStatusTimes(rStatus, info.ftCreationTime, info.ftLastAccessTime, info.ftLastWriteTime);
  rStatus.m_size = Join(info.nFileSizeHigh, info.nFileSizeLow);
  rStatus.m_attribute = (BYTE)info.dwFileAttributes;
  return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus) {
  rStatus = CFileStatus();
  if (!lpszFileName || !*lpszFileName) return FALSE;
  lstrcpynA(rStatus.m_szFullName, FullPathOf(lpszFileName), MAX_PATH);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data)) return FALSE;
  FillStatusTimes(rStatus, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime);
  rStatus.m_size = Join(data.nFileSizeHigh, data.nFileSizeLow);
  rStatus.m_attribute = (BYTE)data.dwFileAttributes;
  return TRUE;
}

CString CFile::GetFileName() const { return textkit::FileNameOf((LPCSTR)m_strFileName).c_str(); }
CString CFile::GetFileTitle() const { return textkit::TitleOf((LPCSTR)m_strFileName).c_str(); }
CString CFile::GetFilePath() const { return m_strFileName; }
void CFile::SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

void PASCAL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) {
  if (!::MoveFileA(lpszOldName, lpszNewName)) CFileException::ThrowOsError((LONG)::GetLastError(), lpszOldName);
}

void PASCAL CFile::Remove(LPCSTR lpszFileName) {
  if (!::DeleteFileA(lpszFileName)) CFileException::ThrowOsError((LONG)::GetLastError(), lpszFileName);
}

// ---- CStdioFile -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile() : m_pStream(nullptr) {}

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_pStream(nullptr) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile() {
  if (m_pStream && m_bCloseOnDelete) Abort();
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_pStream) Abort();
  if (!CFile::Open(lpszFileName, nOpenFlags & ~(UINT)(typeText | typeBinary), pError)) return FALSE;
  // The stream takes over the handle: closing the stream closes it.
  bool binary = (nOpenFlags & typeBinary) != 0;
  int fdFlags = binary ? _O_BINARY : _O_TEXT;
  const char* mode;
  if (nOpenFlags & modeReadWrite) {
    mode = binary ? "r+b" : "r+t";
  } else if (nOpenFlags & modeWrite) {
    mode = binary ? "wb" : "wt";
    fdFlags |= _O_WRONLY;
  } else {
    mode = binary ? "rb" : "rt";
    fdFlags |= _O_RDONLY;
  }
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(m_hFile), fdFlags);
  FILE* stream = fd >= 0 ? _fdopen(fd, mode) : nullptr;
  if (!stream) {
    if (fd >= 0) {
      _close(fd);
    } else {
      ::CloseHandle(m_hFile);
    }
    m_hFile = hFileNull;
    if (pError) {
      pError->m_cause = CFileException::tooManyOpenFiles;
      pError->m_lOsError = ERROR_TOO_MANY_OPEN_FILES;
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_pStream = stream;
  return TRUE;
}

BOOL CStdioFile::ReadString(CString& rString) {
  CheckOpen();
  rString.Empty();
  char chunk[512];
  bool any = false;
  while (fgets(chunk, sizeof chunk, m_pStream)) {
    any = true;
    rString += chunk;
    int n = rString.GetLength();
    if (n > 0 && rString[n - 1] == '\n') {
      rString.Delete(n - 1);
      if (n > 1 && rString[n - 2] == '\r') rString.Delete(n - 2);
      return TRUE;
    }
  }
  if (ferror(m_pStream)) {
    clearerr(m_pStream);
    AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
  }
  return any;
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax) {
  CheckOpen();
  if (!lpsz || nMax == 0) return nullptr;
  LPSTR p = fgets(lpsz, (int)nMax, m_pStream);
  if (!p && ferror(m_pStream)) {
    clearerr(m_pStream);
    AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
  }
  return p;
}

void CStdioFile::WriteString(LPCSTR lpsz) {
  CheckOpen();
  if (lpsz && fputs(lpsz, m_pStream) == EOF) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  CheckOpen();
  size_t n = fread(lpBuf, 1, nCount, m_pStream);
  if (n == 0 && ferror(m_pStream)) {
    clearerr(m_pStream);
    AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
  }
  return (UINT)n;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  CheckOpen();
  if (fwrite(lpBuf, 1, nCount, m_pStream) != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom) {
  CheckOpen();
  static const int kOrigin[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (nFrom > end || _fseeki64(m_pStream, lOff, kOrigin[nFrom]) != 0)
    AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  return GetPosition();
}

ULONGLONG CStdioFile::GetPosition() const {
  CheckOpen();
  long long pos = _ftelli64(m_pStream);
  if (pos < 0) AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  return (ULONGLONG)pos;
}

ULONGLONG CStdioFile::GetLength() const {
  CheckOpen();
  fflush(m_pStream);
  return CFile::GetLength();
}

void CStdioFile::Flush() {
  if (m_pStream && fflush(m_pStream) != 0) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CStdioFile::Close() {
  int result = m_pStream ? fclose(m_pStream) : 0;
  m_pStream = nullptr;
  m_hFile = hFileNull;  // closed with the stream
  m_bCloseOnDelete = FALSE;
  CString name = m_strFileName;
  m_strFileName.Empty();
  if (result != 0) AfxThrowFileException(CFileException::diskFull, -1, name);
}

void CStdioFile::Abort() {
  if (m_pStream) fclose(m_pStream);
  m_pStream = nullptr;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

// ---- CFileFind --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind() : m_pFoundInfo(nullptr), m_pNextInfo(nullptr), m_hContext(nullptr) {}

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close() {
  delete m_pFoundInfo;
  delete m_pNextInfo;
  m_pFoundInfo = m_pNextInfo = nullptr;
  if (m_hContext && m_hContext != INVALID_HANDLE_VALUE) ::FindClose(m_hContext);
  m_hContext = nullptr;
  m_strRoot.Empty();
}

BOOL CFileFind::FindFile(LPCSTR pstrName, DWORD) {
  Close();
  if (!pstrName || !*pstrName) pstrName = "*.*";
  m_pNextInfo = new WIN32_FIND_DATAA;
  m_hContext = ::FindFirstFileA(pstrName, m_pNextInfo);
  if (m_hContext == INVALID_HANDLE_VALUE) {
    DWORD err = ::GetLastError();
    Close();
    ::SetLastError(err);
    return FALSE;
  }
  CString full = FullPathOf(pstrName);
  int start = (int)textkit::NameOffset((LPCSTR)full);
  // "C:\*.*" keeps its root's backslash; "C:\dir\*.*" gives "C:\dir".
  m_strRoot = full.Left(start > 0 && start == 3 && full[1] == ':' ? start : std::max(start - 1, 0));
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (!m_hContext || !m_pNextInfo) return FALSE;
  if (!m_pFoundInfo) m_pFoundInfo = new WIN32_FIND_DATAA;
  std::swap(m_pFoundInfo, m_pNextInfo);
  if (::FindNextFileA(m_hContext, m_pNextInfo)) return TRUE;
  // The last entry is current now: end the search, so that a further call keeps it
  // instead of swapping in a buffer the failed call never filled.
  DWORD err = ::GetLastError();
  ::FindClose(m_hContext);
  m_hContext = nullptr;
  ::SetLastError(err);
  return FALSE;
}

ULONGLONG CFileFind::GetLength() const {
  return m_pFoundInfo ? Join(m_pFoundInfo->nFileSizeHigh, m_pFoundInfo->nFileSizeLow) : 0;
}

CString CFileFind::GetFileName() const { return m_pFoundInfo ? CString(m_pFoundInfo->cFileName) : CString(); }

CString CFileFind::GetFilePath() const {
  if (!m_pFoundInfo) return CString();
  return EndsWithSeparator(m_strRoot) ? m_strRoot + m_pFoundInfo->cFileName : m_strRoot + "\\" + m_pFoundInfo->cFileName;
}

CString CFileFind::GetFileTitle() const {
  return m_pFoundInfo ? CString(textkit::TitleOf(m_pFoundInfo->cFileName).c_str()) : CString();
}

CString CFileFind::GetRoot() const { return m_strRoot; }

#define FW_FILEFIND_TIME(name, field)                          \
  BOOL CFileFind::name(FILETIME* pTimeStamp) const {           \
    if (!m_pFoundInfo || !pTimeStamp) return FALSE;            \
    *pTimeStamp = m_pFoundInfo->field;                         \
    return TRUE;                                               \
  }                                                            \
  BOOL CFileFind::name(CTime& refTime) const {                 \
    if (!m_pFoundInfo) return FALSE;                           \
    refTime = TimeOf(m_pFoundInfo->field);                     \
    return TRUE;                                               \
  }
FW_FILEFIND_TIME(GetLastWriteTime, ftLastWriteTime)
FW_FILEFIND_TIME(GetLastAccessTime, ftLastAccessTime)
FW_FILEFIND_TIME(GetCreationTime, ftCreationTime)
#undef FW_FILEFIND_TIME

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
  return m_pFoundInfo && (m_pFoundInfo->dwFileAttributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const {
  if (!IsDirectory()) return FALSE;
  LPCSTR n = m_pFoundInfo->cFileName;
  return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'));
}
