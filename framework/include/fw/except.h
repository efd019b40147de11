// Exceptions: CException and its family, thrown as heap pointers and caught by pointer.
// The TRY/CATCH macros are plain C++ try/catch; a caught exception belongs to its
// TRY block, which deletes it when the block ends unless it was thrown on.
#pragma once
#include <fw/object.h>
#include <fw/string.h>

struct AFX_EXCEPTION_LINK;

class FW_API CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  explicit CException(BOOL bAutoDelete = TRUE);
  ~CException() override;

  // Frees a heap exception; a no-op for the static ones and inside a CATCH block
  // (the block frees it on leaving, so an extra Delete there is harmless).
  void Delete();

  // A readable text for the user; FALSE when there is none.
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
  // Shows that text (or string nMessageID when there is none) in a message box.
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

  BOOL m_bAutoDelete;  // FALSE for exceptions that are not on the heap

 private:
  friend struct AFX_EXCEPTION_LINK;
  AFX_EXCEPTION_LINK* m_pLink;  // the CATCH block that owns it, if any
};

// An exception with a fixed text of its own.
class FW_API CSimpleException : public CException {
  DECLARE_DYNAMIC(CSimpleException)
 public:
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;

 protected:
  CSimpleException(BOOL bAutoDelete, LPCSTR pszMessage) : CException(bAutoDelete), m_pszMessage(pszMessage) {}
  LPCSTR m_pszMessage;  // static text
};

class FW_API CMemoryException : public CSimpleException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  explicit CMemoryException(BOOL bAutoDelete = TRUE);
};

class FW_API CResourceException : public CSimpleException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  explicit CResourceException(BOOL bAutoDelete = TRUE);
};

class FW_API CInvalidArgException : public CSimpleException {
  DECLARE_DYNAMIC(CInvalidArgException)
 public:
  explicit CInvalidArgException(BOOL bAutoDelete = TRUE);
};

class FW_API CNotSupportedException : public CSimpleException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  explicit CNotSupportedException(BOOL bAutoDelete = TRUE);
};

// Thrown after the user has been told already: it carries no message.
class FW_API CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
 public:
  explicit CUserException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

class FW_API CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszArchiveName = NULL);
  ~CFileException() override;

  // Maps a Win32 error code to a cause.
  static int PASCAL OsErrorToException(LONG lOsError);
  static void PASCAL ThrowOsError(LONG lOsError, LPCSTR lpszFileName = NULL);

  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;

  int m_cause;
  LONG m_lOsError;          // Win32 error code, -1 when none
  CString m_strFileName;    // the file concerned (may be empty)
};

// Throwing helpers. The memory exception is a static object: there may be no heap left.
[[noreturn]] FW_API void AFXAPI AfxThrowMemoryException();
[[noreturn]] FW_API void AFXAPI AfxThrowResourceException();
[[noreturn]] FW_API void AFXAPI AfxThrowUserException();
[[noreturn]] FW_API void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] FW_API void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] FW_API void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = NULL);

// Ownership of a caught exception by its TRY block.
struct FW_API AFX_EXCEPTION_LINK {
  AFX_EXCEPTION_LINK() : m_pException(nullptr) {}
  ~AFX_EXCEPTION_LINK();                 // deletes the caught exception
  void Catch(CException* e);             // a CATCH took e
  void Release();                        // THROW_LAST: e travels on
  static void PASCAL Detach(CException* e);  // THROW(e) of a caught e: it travels on
  CException* m_pException;

  AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
  void operator=(const AFX_EXCEPTION_LINK&) = delete;
};

template <class T>
inline T* _FwThrowable(T* e) {
  AFX_EXCEPTION_LINK::Detach(e);
  return e;
}

#define TRY                           \
  {                                   \
    AFX_EXCEPTION_LINK _afxExceptionLink; \
    try {
#define CATCH(class_name, e)   \
  }                            \
  catch (class_name * e) {     \
    _afxExceptionLink.Catch(e);
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH \
  }               \
  }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define THROW(e) throw _FwThrowable(e)
#define THROW_LAST()              \
  do {                            \
    _afxExceptionLink.Release();  \
    throw;                        \
  } while (0)
