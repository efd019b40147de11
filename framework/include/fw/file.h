// Files: CFile (a Win32 file handle), CStdioFile (lines of text), CFileFind (folder
// listings). Errors of an open file throw CFileException; Open reports them instead.
#pragma once
#include <fw/datetime.h>
#include <fw/except.h>

#include <cstdio>

struct CFileStatus {
  CTime m_ctime;          // creation
  CTime m_mtime;          // last write
  CTime m_atime;          // last access
  ULONGLONG m_size;
  BYTE m_attribute;       // CFile::Attribute bits
  BYTE m_padding;
  char m_szFullName[MAX_PATH];
};

class FW_API CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,  // with modeCreate: open an existing file as it is
    typeText = 0x4000,        // CStdioFile only
    typeBinary = 0x8000,
    osNoBuffer = 0x10000,
    osWriteThrough = 0x20000,
    osRandomAccess = 0x40000,
    osSequentialScan = 0x80000,
  };
  enum Attribute { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10, archive = 0x20 };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
  static const HANDLE hFileNull;

  CFile();
  explicit CFile(HANDLE hFile);                   // attached; not closed by the destructor
  CFile(LPCSTR lpszFileName, UINT nOpenFlags);    // throws CFileException on failure
  ~CFile() override;                              // closes, ignoring errors

  operator HANDLE() const { return m_hFile; }

  // FALSE on failure, with the cause in *pError when given.
  virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
  virtual UINT Read(void* lpBuf, UINT nCount);  // bytes read; 0 at the end
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual ULONGLONG GetPosition() const;
  virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  virtual void Flush();
  virtual void Close();
  virtual void Abort();  // closes without reporting errors

  BOOL GetStatus(CFileStatus& rStatus) const;
  virtual CString GetFileName() const;   // "name.ext"
  virtual CString GetFileTitle() const;  // "name"
  virtual CString GetFilePath() const;   // the full path
  virtual void SetFilePath(LPCSTR lpszNewName);

  static void PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);  // throws
  static void PASCAL Remove(LPCSTR lpszFileName);                     // throws
  static BOOL PASCAL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);

  HANDLE m_hFile;

 protected:
  BOOL m_bCloseOnDelete;
  CString m_strFileName;

  void CheckOpen() const;  // throws for a closed file
  [[noreturn]] void ThrowLastError() const;
};

// Text lines through the C runtime's stream (text mode translates "\r\n" unless
// typeBinary is given).
class FW_API CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile();
  CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);  // throws
  ~CStdioFile() override;

  BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL) override;
  // One line without its line break; FALSE at the end of the file.
  BOOL ReadString(CString& rString);
  // Up to nMax - 1 bytes, line break kept; NULL at the end of the file.
  LPSTR ReadString(LPSTR lpsz, UINT nMax);
  void WriteString(LPCSTR lpsz);

  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override;
  ULONGLONG GetLength() const override;
  void Flush() override;
  void Close() override;
  void Abort() override;

  FILE* m_pStream;
};

// Walks the entries matching a pattern: FindFile, then FindNextFile before each entry
// (it returns FALSE for the last one, which is still valid, and stays on it after that).
class FW_API CFileFind : public CObject {
  DECLARE_DYNAMIC(CFileFind)
 public:
  CFileFind();
  ~CFileFind() override;

  virtual BOOL FindFile(LPCSTR pstrName = NULL, DWORD dwUnused = 0);  // NULL: "*.*"
  virtual BOOL FindNextFile();
  void Close();

  ULONGLONG GetLength() const;
  CString GetFileName() const;
  CString GetFilePath() const;
  CString GetFileTitle() const;
  CString GetRoot() const;  // the folder searched, without a trailing "\" (except "C:\")

  BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
  BOOL GetLastWriteTime(CTime& refTime) const;
  BOOL GetLastAccessTime(FILETIME* pTimeStamp) const;
  BOOL GetLastAccessTime(CTime& refTime) const;
  BOOL GetCreationTime(FILETIME* pTimeStamp) const;
  BOOL GetCreationTime(CTime& refTime) const;

  BOOL MatchesMask(DWORD dwMask) const;  // FILE_ATTRIBUTE_* bits
  BOOL IsDots() const;                   // "." or ".."
  BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
  BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
  BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
  BOOL IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
  BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
  BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }

 protected:
  WIN32_FIND_DATAA* m_pFoundInfo;  // the current entry (after FindNextFile)
  WIN32_FIND_DATAA* m_pNextInfo;   // the one after it
  HANDLE m_hContext;
  CString m_strRoot;
};
