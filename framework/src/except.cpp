// Exceptions and their texts.
#include <fw/except.h>
#include <fw/module.h>

#include <cstring>

namespace {

BOOL CopyMessage(LPCSTR text, LPSTR lpszError, UINT nMaxError) {
  if (!lpszError || nMaxError == 0) return FALSE;
  lstrcpynA(lpszError, text, (int)nMaxError);
  return TRUE;
}

// The system's text for a Win32 error code, without its trailing line break.
CString SystemMessage(LONG lOsError) {
  CString text;
  LPSTR pBuf = nullptr;
  if (::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, (DWORD)lOsError, 0, reinterpret_cast<LPSTR>(&pBuf), 0, nullptr) && pBuf) {
    text = pBuf;
    ::LocalFree(pBuf);
    text.TrimRight();
  }
  return text;
}

}  // namespace

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete), m_pLink(nullptr) {}

CException::~CException() {}

void CException::Delete() {
  if (m_pLink || !m_bAutoDelete) return;
  delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError) *lpszError = '\0';
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) {
  char text[512];
  if (GetErrorMessage(text, sizeof text)) return AfxMessageBox(text, nType);
  if (nMessageID) return AfxMessageBox(nMessageID, nType);
  return AfxMessageBox("予期しないエラーが発生しました。", nType);
}

BOOL CSimpleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  return CopyMessage(m_pszMessage, lpszError, nMaxError);
}

CMemoryException::CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete, "メモリが不足しています。") {}
CResourceException::CResourceException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, "必要なリソースを利用できません。") {}
CInvalidArgException::CInvalidArgException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, "無効な引数が指定されました。") {}
CNotSupportedException::CNotSupportedException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, "サポートされていない操作です。") {}

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

CFileException::~CFileException() {}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
  }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName) {
  if (lOsError != 0) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  CString reason;
  if (m_lOsError > 0) reason = SystemMessage(m_lOsError);
  if (reason.IsEmpty()) {
    static const char* const kCauses[] = {
        "エラーはありません。", "ファイルのエラーです。", "ファイルが見つかりません。", "パスが正しくありません。",
        "開いているファイルが多すぎます。", "アクセスが拒否されました。", "ファイルが正しくありません。",
        "現在のフォルダは削除できません。", "フォルダがいっぱいです。", "シークできません。", "入出力エラーです。",
        "共有違反です。", "ロック違反です。", "ディスクがいっぱいです。", "ファイルの終わりを越えました。"};
    reason = (m_cause >= 0 && m_cause < (int)_countof(kCauses)) ? kCauses[m_cause] : kCauses[genericException];
  }
  CString text = m_strFileName.IsEmpty() ? reason : m_strFileName + "\r\n" + reason;
  return CopyMessage(text, lpszError, nMaxError);
}

void AFXAPI AfxThrowMemoryException() {
  static CMemoryException s_exception(FALSE);
  throw &s_exception;
}

void AFXAPI AfxThrowResourceException() { throw new CResourceException; }
void AFXAPI AfxThrowUserException() { throw new CUserException; }
void AFXAPI AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK() {
  if (CException* e = m_pException) {
    m_pException = nullptr;
    e->m_pLink = nullptr;
    e->Delete();
  }
}

void AFX_EXCEPTION_LINK::Catch(CException* e) {
  m_pException = e;
  if (e && e->m_bAutoDelete) e->m_pLink = this;
}

void AFX_EXCEPTION_LINK::Release() {
  if (m_pException) m_pException->m_pLink = nullptr;
  m_pException = nullptr;
}

void PASCAL AFX_EXCEPTION_LINK::Detach(CException* e) {
  if (e && e->m_pLink) e->m_pLink->Release();
}
