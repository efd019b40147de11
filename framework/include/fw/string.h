// CString: an 8-bit string in the ANSI code page (932), aware of double-byte characters.
// Its only member is the character pointer, so sizeof(CString) is one pointer and a
// CString can sit inside binary records; the buffer always belongs to the framework DLL,
// so a CString made in one module may be changed or destroyed in any other.
#pragma once
#include <fw/fwdefs.h>

class CString;
template <class T>
inline const T& _FwVarArg(const T& v) { return v; }
inline LPCSTR _FwVarArg(const CString& s);

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
  void SetAt(int nIndex, char ch);  // ignored outside the string
  operator LPCSTR() const { return m_pchData; }
  LPCSTR GetString() const { return m_pchData; }

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
  void Trim();
  void Trim(char chTarget);
  void Trim(LPCSTR lpszTargets);

  // Searches step over double-byte characters: a trail byte never matches.
  int Find(char ch) const;
  int Find(char ch, int nStart) const;
  int Find(LPCSTR lpszSub) const;
  int Find(LPCSTR lpszSub, int nStart) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR lpszCharSet) const;
  // The next token after iStart delimited by any of the characters in lpszTokens
  // (leading delimiters skipped); iStart becomes -1 and the result empty at the end.
  CString Tokenize(LPCSTR lpszTokens, int& iStart) const;

  // printf forms. A CString argument is passed on as its characters: GCC would pass a
  // class object through "..." by hidden reference, so these front ends convert it first
  // (and the build rejects a CString given to any other "..." function).
  template <class... A>
  void Format(LPCSTR lpszFormat, const A&... args) { FormatArgs(lpszFormat, _FwVarArg(args)...); }
  template <class... A>
  void Format(UINT nFormatID, const A&... args) { FormatArgsId(nFormatID, _FwVarArg(args)...); }
  template <class... A>
  void AppendFormat(LPCSTR lpszFormat, const A&... args) { AppendFormatArgs(lpszFormat, _FwVarArg(args)...); }
  void FormatV(LPCSTR lpszFormat, va_list argList);
  void AppendFormatV(LPCSTR lpszFormat, va_list argList);
  // FormatMessage forms ("%1", "%2!d!"), with the same argument rule.
  template <class... A>
  void FormatMessage(LPCSTR lpszFormat, const A&... args) { FormatMessageArgs(lpszFormat, _FwVarArg(args)...); }
  template <class... A>
  void FormatMessage(UINT nFormatID, const A&... args) { FormatMessageArgsId(nFormatID, _FwVarArg(args)...); }
  void FormatMessageV(LPCSTR lpszFormat, va_list* pArgList);

  // The exported "..." functions behind the front ends.
  void AFX_CDECL FormatArgs(LPCSTR lpszFormat, ...);
  void AFX_CDECL FormatArgsId(UINT nFormatID, ...);
  void AFX_CDECL AppendFormatArgs(LPCSTR lpszFormat, ...);
  void AFX_CDECL FormatMessageArgs(LPCSTR lpszFormat, ...);
  void AFX_CDECL FormatMessageArgsId(UINT nFormatID, ...);

  // From the current resource handle (AfxGetResourceHandle), then the extension-DLL chain.
  BOOL LoadString(UINT nID);
  BOOL LoadString(HINSTANCE hInstance, UINT nID);

  BSTR AllocSysString() const;
  BSTR SetSysString(BSTR* pbstr) const;

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

inline LPCSTR _FwVarArg(const CString& s) { return s; }

// The empty string, shared by everyone.
FW_API const CString& AFXAPI AfxGetEmptyString();
#define afxEmptyString AfxGetEmptyString()

// String id nIDS with "%1" (and "%2") replaced by the given texts.
FW_API void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);
FW_API void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2);
// Field iSubString of lpszFullString split at chSep; FALSE when there are fewer fields.
FW_API BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep = '\n');
