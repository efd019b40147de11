// CString: an 8-bit string in the ANSI code page (932), aware of double-byte characters.
// Its only member is the character pointer, so sizeof(CString) is one pointer and a
// CString can sit inside binary records; the buffer always belongs to the framework DLL,
// so a CString made in one module may be changed or destroyed in any other.
#pragma once
#include <fw/fwdefs.h>

class FW_API CString {
 public:
  CString();
  CString(const CString& s);
  CString(CString&& s) noexcept;
  CString(LPCSTR psz);                      // also MAKEINTRESOURCE(id): loads string id
  CString(LPCSTR pch, int nLength);
  CString(const unsigned char* psz);
  CString(LPCWSTR pwsz);                    // converted to the ANSI code page
  CString(char ch, int nRepeat = 1);
  ~CString();

  int GetLength() const;
  BOOL IsEmpty() const;
  void Empty();

  char GetAt(int nIndex) const;
  char operator[](int nIndex) const;
  void SetAt(int nIndex, char ch);
  operator LPCSTR() const;

  const CString& operator=(const CString& s);
  const CString& operator=(CString&& s) noexcept;
  const CString& operator=(LPCSTR psz);
  const CString& operator=(const unsigned char* psz);
  const CString& operator=(LPCWSTR pwsz);
  const CString& operator=(char ch);

  const CString& operator+=(const CString& s);
  const CString& operator+=(LPCSTR psz);
  const CString& operator+=(char ch);

  friend FW_API CString AFXAPI operator+(const CString& a, const CString& b);
  friend FW_API CString AFXAPI operator+(const CString& a, LPCSTR b);
  friend FW_API CString AFXAPI operator+(LPCSTR a, const CString& b);
  friend FW_API CString AFXAPI operator+(const CString& a, char b);
  friend FW_API CString AFXAPI operator+(char a, const CString& b);

  // Comparison: Compare is byte order (strcmp), NoCase folds ASCII letters only,
  // Collate uses the locale's order (lstrcmp).
  int Compare(LPCSTR psz) const;
  int CompareNoCase(LPCSTR psz) const;
  int Collate(LPCSTR psz) const;
  int CollateNoCase(LPCSTR psz) const;

  // Extraction; counts and positions are clamped to the string (negative counts give "").
  CString Mid(int nFirst, int nCount) const;
  CString Mid(int nFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCSTR lpszCharSet) const;
  CString SpanExcluding(LPCSTR lpszCharSet) const;

  // Upper/lower case change single-byte letters only; double-byte characters stay as they are.
  void MakeUpper();
  void MakeLower();
  void MakeReverse();

  int Replace(char chOld, char chNew);
  int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
  int Remove(char chRemove);
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCSTR pstr);
  int Delete(int nIndex, int nCount = 1);

  void TrimRight();
  void TrimRight(char chTarget);
  void TrimRight(LPCSTR lpszTargets);
  void TrimLeft();
  void TrimLeft(char chTarget);
  void TrimLeft(LPCSTR lpszTargets);

  // Searches step over double-byte characters: a trail byte never matches.
  int Find(char ch) const;
  int Find(char ch, int nStart) const;
  int Find(LPCSTR lpszSub) const;
  int Find(LPCSTR lpszSub, int nStart) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR lpszCharSet) const;

  void AFX_CDECL Format(LPCSTR lpszFormat, ...);
  void AFX_CDECL Format(UINT nFormatID, ...);
  void FormatV(LPCSTR lpszFormat, va_list argList);
  void AFX_CDECL FormatMessage(LPCSTR lpszFormat, ...);
  void AFX_CDECL FormatMessage(UINT nFormatID, ...);

  // From the current resource handle (AfxGetResourceHandle), then the extension-DLL chain.
  BOOL LoadString(UINT nID);
  BOOL LoadString(HINSTANCE hInstance, UINT nID);

  BSTR AllocSysString() const;

  // Direct buffer access: GetBuffer grows to at least nMinBufLength characters;
  // ReleaseBuffer(-1) takes the length from the terminating NUL.
  LPSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);
  LPSTR GetBufferSetLength(int nNewLength);
  void FreeExtra();
  LPSTR LockBuffer();
  void UnlockBuffer();

 private:
  LPSTR m_pchData;
};

FW_API bool AFXAPI operator==(const CString& a, const CString& b);
FW_API bool AFXAPI operator==(const CString& a, LPCSTR b);
FW_API bool AFXAPI operator==(LPCSTR a, const CString& b);
FW_API bool AFXAPI operator!=(const CString& a, const CString& b);
FW_API bool AFXAPI operator!=(const CString& a, LPCSTR b);
FW_API bool AFXAPI operator!=(LPCSTR a, const CString& b);
FW_API bool AFXAPI operator<(const CString& a, const CString& b);
FW_API bool AFXAPI operator<(const CString& a, LPCSTR b);
FW_API bool AFXAPI operator<(LPCSTR a, const CString& b);
FW_API bool AFXAPI operator>(const CString& a, const CString& b);
FW_API bool AFXAPI operator>(const CString& a, LPCSTR b);
FW_API bool AFXAPI operator>(LPCSTR a, const CString& b);
FW_API bool AFXAPI operator<=(const CString& a, const CString& b);
FW_API bool AFXAPI operator<=(const CString& a, LPCSTR b);
FW_API bool AFXAPI operator<=(LPCSTR a, const CString& b);
FW_API bool AFXAPI operator>=(const CString& a, const CString& b);
FW_API bool AFXAPI operator>=(const CString& a, LPCSTR b);
FW_API bool AFXAPI operator>=(LPCSTR a, const CString& b);

// The empty string, shared by everyone.
FW_API const CString& AFXAPI AfxGetEmptyString();
#define afxEmptyString AfxGetEmptyString()
