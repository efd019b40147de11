// CString: buffers owned by this DLL, one per string (no sharing, so two threads working
// on two strings never touch the same memory), double-byte aware for code page 932.
#include <fw/string.h>
#include <fw/except.h>
#include <fw/module.h>

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <textkit/path.h>
#include <textkit/text.h>

namespace {

// Header in front of the characters; the characters always end in a NUL.
struct StringData {
  int nDataLength;
  int nAllocLength;  // characters the buffer holds, not counting the NUL
  char* data() { return reinterpret_cast<char*>(this + 1); }
};

// The empty string every empty CString points to; never written, never freed.
struct {
  StringData header;
  char chars[8];
} g_emptyData = {{0, 0}, {0}};

inline LPSTR EmptyChars() { return g_emptyData.chars; }
inline StringData* Header(LPSTR p) { return reinterpret_cast<StringData*>(p) - 1; }
inline int SafeLength(LPCSTR p) { return p ? (int)strlen(p) : 0; }

StringData* AllocData(int nAlloc) {
  if (nAlloc < 0) AfxThrowMemoryException();
  void* p = malloc(sizeof(StringData) + (size_t)nAlloc + 1);
  if (!p) AfxThrowMemoryException();
  StringData* d = static_cast<StringData*>(p);
  d->nDataLength = 0;
  d->nAllocLength = nAlloc;
  d->data()[0] = '\0';
  return d;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

}  // namespace

// ---- construction and storage ----------------------------------------------------------

CString::CString() : m_pchData(EmptyChars()) {}

CString::CString(const CString& s) : m_pchData(EmptyChars()) { *this = s; }

CString::CString(CString&& s) noexcept : m_pchData(s.m_pchData) { s.m_pchData = EmptyChars(); }

CString::CString(LPCSTR psz) : m_pchData(EmptyChars()) {
  if (psz && IS_INTRESOURCE(psz)) {
    LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(psz)));
  } else {
    *this = psz;
  }
}

CString::CString(LPCSTR pch, int nLength) : m_pchData(EmptyChars()) {
  if (pch && nLength > 0) {
    StringData* d = AllocData(nLength);
    memcpy(d->data(), pch, (size_t)nLength);
    d->data()[nLength] = '\0';
    d->nDataLength = nLength;
    m_pchData = d->data();
  }
}

CString::CString(const unsigned char* psz) : CString(reinterpret_cast<LPCSTR>(psz)) {}

CString::CString(LPCWSTR pwsz) : m_pchData(EmptyChars()) { *this = pwsz; }

CString::CString(char ch, int nRepeat) : m_pchData(EmptyChars()) {
  if (nRepeat > 0) {
    memset(GetBufferSetLength(nRepeat), ch, (size_t)nRepeat);
  }
}

CString::~CString() {
  if (m_pchData != EmptyChars()) free(Header(m_pchData));
}

int CString::GetLength() const { return Header(m_pchData)->nDataLength; }
BOOL CString::IsEmpty() const { return GetLength() == 0; }

void CString::Empty() {
  if (m_pchData != EmptyChars()) free(Header(m_pchData));
  m_pchData = EmptyChars();
}

// Makes room for nMin characters, keeping the present ones; the buffer is always our own.
LPSTR CString::GetBuffer(int nMinBufLength) {
  StringData* d = Header(m_pchData);
  if (m_pchData == EmptyChars() || nMinBufLength > d->nAllocLength) {
    int nLength = d->nDataLength;
    int nAlloc = std::max(nMinBufLength, nLength);
    StringData* n = AllocData(nAlloc);
    memcpy(n->data(), m_pchData, (size_t)nLength + 1);
    n->nDataLength = nLength;
    Empty();
    m_pchData = n->data();
  }
  return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
  if (m_pchData == EmptyChars()) return;
  StringData* d = Header(m_pchData);
  if (nNewLength < 0) {
    const void* nul = memchr(m_pchData, 0, (size_t)d->nAllocLength);
    nNewLength = nul ? (int)(static_cast<const char*>(nul) - m_pchData) : d->nAllocLength;
  }
  nNewLength = std::min(nNewLength, d->nAllocLength);
  d->nDataLength = nNewLength;
  m_pchData[nNewLength] = '\0';
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
  if (nNewLength < 0) nNewLength = 0;
  GetBuffer(nNewLength);
  ReleaseBuffer(nNewLength);
  return m_pchData;
}

void CString::FreeExtra() {
  StringData* d = Header(m_pchData);
  if (m_pchData == EmptyChars() || d->nDataLength == d->nAllocLength) return;
  CString copy(m_pchData, d->nDataLength);
  *this = std::move(copy);
}

LPSTR CString::LockBuffer() { return GetBuffer(0); }
void CString::UnlockBuffer() {}

// ---- assignment and concatenation ------------------------------------------------------

// Replaces the contents by n bytes at p; p may point into this string.
static void AssignBytes(CString& s, LPCSTR p, int n) {
  if (n <= 0) {
    s.Empty();
    return;
  }
  CString fresh(p, n);
  s = std::move(fresh);
}

const CString& CString::operator=(const CString& s) {
  if (this != &s) AssignBytes(*this, s.m_pchData, s.GetLength());
  return *this;
}

const CString& CString::operator=(CString&& s) noexcept {
  if (this != &s) {
    if (m_pchData != EmptyChars()) free(Header(m_pchData));
    m_pchData = s.m_pchData;
    s.m_pchData = EmptyChars();
  }
  return *this;
}

const CString& CString::operator=(LPCSTR psz) {
  AssignBytes(*this, psz, SafeLength(psz));
  return *this;
}

const CString& CString::operator=(const unsigned char* psz) { return *this = reinterpret_cast<LPCSTR>(psz); }

const CString& CString::operator=(LPCWSTR pwsz) {
  int n = pwsz ? ::WideCharToMultiByte(CP_ACP, 0, pwsz, -1, nullptr, 0, nullptr, nullptr) : 0;
  if (n <= 1) {
    Empty();
  } else {
    CString fresh;
    ::WideCharToMultiByte(CP_ACP, 0, pwsz, -1, fresh.GetBuffer(n - 1), n, nullptr, nullptr);
    fresh.ReleaseBuffer(n - 1);
    *this = std::move(fresh);
  }
  return *this;
}

const CString& CString::operator=(char ch) {
  AssignBytes(*this, &ch, 1);
  return *this;
}

// Appends n bytes at p; p may point into this string.
static void AppendBytes(CString& s, LPCSTR p, int n) {
  if (n <= 0) return;
  int nOld = s.GetLength();
  if ((long long)nOld + n > 0x7FFFFFF0) AfxThrowMemoryException();
  LPCSTR pOld = s;
  if (p >= pOld && p <= pOld + nOld) {
    // Appending (part of) itself: copy first, the buffer may move.
    CString part(p, n);
    AppendBytes(s, part, n);
    return;
  }
  // Grow geometrically so that repeated appends stay linear.
  int nWant = nOld + n;
  LPSTR buf = s.GetBuffer(nWant > 64 ? std::max(nWant, nOld + nOld / 2) : nWant);
  memcpy(buf + nOld, p, (size_t)n);
  s.ReleaseBuffer(nWant);
}

const CString& CString::operator+=(const CString& s) {
  AppendBytes(*this, s.m_pchData, s.GetLength());
  return *this;
}

const CString& CString::operator+=(LPCSTR psz) {
  AppendBytes(*this, psz, SafeLength(psz));
  return *this;
}

const CString& CString::operator+=(char ch) {
  AppendBytes(*this, &ch, 1);
  return *this;
}

static CString Concat(LPCSTR a, int na, LPCSTR b, int nb) {
  CString r;
  if (na + nb > 0) {
    LPSTR p = r.GetBufferSetLength(na + nb);
    if (na) memcpy(p, a, (size_t)na);
    if (nb) memcpy(p + na, b, (size_t)nb);
  }
  return r;
}

CString AFXAPI operator+(const CString& a, const CString& b) { return Concat(a, a.GetLength(), b, b.GetLength()); }
CString AFXAPI operator+(const CString& a, LPCSTR b) { return Concat(a, a.GetLength(), b, SafeLength(b)); }
CString AFXAPI operator+(LPCSTR a, const CString& b) { return Concat(a, SafeLength(a), b, b.GetLength()); }
CString AFXAPI operator+(const CString& a, char b) { return Concat(a, a.GetLength(), &b, 1); }
CString AFXAPI operator+(char a, const CString& b) { return Concat(&a, 1, b, b.GetLength()); }

// ---- element access --------------------------------------------------------------------

char CString::GetAt(int nIndex) const { return (nIndex >= 0 && nIndex < GetLength()) ? m_pchData[nIndex] : '\0'; }
char CString::operator[](int nIndex) const { return GetAt(nIndex); }

void CString::SetAt(int nIndex, char ch) {
  if (nIndex >= 0 && nIndex < GetLength()) m_pchData[nIndex] = ch;
}

// ---- comparison ------------------------------------------------------------------------

static int Sign(int v) { return (v > 0) - (v < 0); }

int CString::Compare(LPCSTR psz) const { return Sign(strcmp(m_pchData, psz ? psz : "")); }

int CString::CompareNoCase(LPCSTR psz) const {
  // Character by character, so that a trail byte is never folded as a letter.
  const BYTE* a = reinterpret_cast<const BYTE*>(m_pchData);
  const BYTE* b = reinterpret_cast<const BYTE*>(psz ? psz : "");
  for (;;) {
    int na = textkit::CharLength(reinterpret_cast<LPCSTR>(a));
    int nb = textkit::CharLength(reinterpret_cast<LPCSTR>(b));
    int ca = na == 1 ? (BYTE)LowerAscii((char)a[0]) : a[0];
    int cb = nb == 1 ? (BYTE)LowerAscii((char)b[0]) : b[0];
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
    if (na == 2 || nb == 2) {
      if (na != nb) return na < nb ? -1 : 1;
      if (a[1] != b[1]) return a[1] < b[1] ? -1 : 1;
    }
    a += na;
    b += nb;
  }
}

int CString::Collate(LPCSTR psz) const {
  return ::CompareStringA(LOCALE_USER_DEFAULT, 0, m_pchData, -1, psz ? psz : "", -1) - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCSTR psz) const {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_pchData, -1, psz ? psz : "", -1) - CSTR_EQUAL;
}

bool AFXAPI operator==(const CString& a, const CString& b) {
  return a.GetLength() == b.GetLength() && memcmp((LPCSTR)a, (LPCSTR)b, (size_t)a.GetLength()) == 0;
}
bool AFXAPI operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool AFXAPI operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool AFXAPI operator!=(const CString& a, const CString& b) { return !(a == b); }
bool AFXAPI operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
bool AFXAPI operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
bool AFXAPI operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool AFXAPI operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
bool AFXAPI operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
bool AFXAPI operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool AFXAPI operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
bool AFXAPI operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
bool AFXAPI operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool AFXAPI operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
bool AFXAPI operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool AFXAPI operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool AFXAPI operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
bool AFXAPI operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }

// ---- extraction ------------------------------------------------------------------------

CString CString::Mid(int nFirst, int nCount) const {
  int nLength = GetLength();
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0 || nFirst >= nLength) return CString();
  if ((long long)nFirst + nCount > nLength) nCount = nLength - nFirst;
  return CString(m_pchData + nFirst, nCount);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }
CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  int nLength = GetLength();
  if (nCount <= 0) return CString();
  if (nCount > nLength) nCount = nLength;
  return CString(m_pchData + nLength - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const {
  return Left(textkit::SpanLength(m_pchData, lpszCharSet, true));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const {
  return Left(textkit::SpanLength(m_pchData, lpszCharSet, false));
}

// ---- changes in place ------------------------------------------------------------------

void CString::MakeUpper() {
  for (LPSTR p = m_pchData; *p; p += textkit::CharLength(p)) *p = textkit::CharLength(p) == 1 ? UpperAscii(*p) : *p;
}

void CString::MakeLower() {
  for (LPSTR p = m_pchData; *p; p += textkit::CharLength(p)) *p = textkit::CharLength(p) == 1 ? LowerAscii(*p) : *p;
}

void CString::MakeReverse() {
  int n = GetLength();
  if (n < 2) return;
  CString r;
  LPSTR out = r.GetBufferSetLength(n) + n;
  for (LPCSTR p = m_pchData; *p;) {
    int len = textkit::CharLength(p);
    out -= len;
    memcpy(out, p, (size_t)len);
    p += len;
  }
  *this = std::move(r);
}

int CString::Replace(char chOld, char chNew) {
  int nCount = 0;
  if (chOld == chNew || chOld == '\0') return 0;
  for (LPSTR p = m_pchData; *p; p += textkit::CharLength(p)) {
    if (textkit::CharLength(p) == 1 && *p == chOld) {
      *p = chNew;
      ++nCount;
    }
  }
  // A NUL put in cuts the string there.
  if (chNew == '\0' && nCount) ReleaseBuffer(-1);
  return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
  int nOld = SafeLength(lpszOld);
  if (nOld == 0) return 0;
  int nNew = SafeLength(lpszNew);
  CString result;
  int nCount = 0;
  LPCSTR p = m_pchData;
  LPCSTR copied = p;
  while (*p) {
    if (strncmp(p, lpszOld, (size_t)nOld) == 0) {
      AppendBytes(result, copied, (int)(p - copied));
      AppendBytes(result, lpszNew, nNew);
      p += nOld;
      copied = p;
      ++nCount;
    } else {
      p += textkit::CharLength(p);
    }
  }
  if (nCount) {
    AppendBytes(result, copied, (int)(m_pchData + GetLength() - copied));
    *this = std::move(result);
  }
  return nCount;
}

int CString::Remove(char chRemove) {
  int nLength = GetLength();
  if (nLength == 0) return 0;
  LPSTR out = m_pchData;
  for (LPCSTR p = m_pchData; *p;) {
    int len = textkit::CharLength(p);
    if (!(len == 1 && *p == chRemove)) {
      memmove(out, p, (size_t)len);
      out += len;
    }
    p += len;
  }
  int nRemoved = nLength - (int)(out - m_pchData);
  if (nRemoved) ReleaseBuffer((int)(out - m_pchData));
  return nRemoved;
}

int CString::Insert(int nIndex, LPCSTR pstr) {
  int nLength = GetLength();
  int n = SafeLength(pstr);
  if (n == 0) return nLength;
  nIndex = std::max(0, std::min(nIndex, nLength));
  CString r = Left(nIndex);
  AppendBytes(r, pstr, n);
  AppendBytes(r, m_pchData + nIndex, nLength - nIndex);
  *this = std::move(r);
  return GetLength();
}

int CString::Insert(int nIndex, char ch) {
  char text[2] = {ch, '\0'};
  return ch ? Insert(nIndex, text) : GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  int nLength = GetLength();
  if (nIndex < 0) nIndex = 0;
  if (nCount <= 0 || nIndex >= nLength) return nLength;
  if ((long long)nIndex + nCount > nLength) nCount = nLength - nIndex;
  memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, (size_t)(nLength - nIndex - nCount));
  ReleaseBuffer(nLength - nCount);
  return GetLength();
}

// ---- trimming --------------------------------------------------------------------------

// Trims the characters for which drop(char pointer, length) holds.
template <class Drop>
static void TrimRightWhere(CString& s, Drop drop) {
  LPCSTR begin = s;
  LPCSTR keepEnd = begin;  // end of the last character that stays
  for (LPCSTR p = begin; *p;) {
    int len = textkit::CharLength(p);
    if (!drop(p, len)) keepEnd = p + len;
    p += len;
  }
  int n = (int)(keepEnd - begin);
  if (n != s.GetLength()) s.ReleaseBuffer(n);
}

template <class Drop>
static void TrimLeftWhere(CString& s, Drop drop) {
  LPCSTR begin = s;
  LPCSTR p = begin;
  while (*p && drop(p, textkit::CharLength(p))) p += textkit::CharLength(p);
  if (p != begin) s.Delete(0, (int)(p - begin));
}

void CString::TrimRight() {
  TrimRightWhere(*this, [](LPCSTR p, int len) { return len == 1 && IsSpace(*p); });
}
void CString::TrimRight(char chTarget) {
  TrimRightWhere(*this, [=](LPCSTR p, int len) { return len == 1 && *p == chTarget; });
}
void CString::TrimRight(LPCSTR lpszTargets) {
  TrimRightWhere(*this, [=](LPCSTR p, int len) { return textkit::SetHasChar(lpszTargets, p, len); });
}
void CString::TrimLeft() {
  TrimLeftWhere(*this, [](LPCSTR p, int len) { return len == 1 && IsSpace(*p); });
}
void CString::TrimLeft(char chTarget) {
  TrimLeftWhere(*this, [=](LPCSTR p, int len) { return len == 1 && *p == chTarget; });
}
void CString::TrimLeft(LPCSTR lpszTargets) {
  TrimLeftWhere(*this, [=](LPCSTR p, int len) { return textkit::SetHasChar(lpszTargets, p, len); });
}
void CString::Trim() {
  TrimRight();
  TrimLeft();
}
void CString::Trim(char chTarget) {
  TrimRight(chTarget);
  TrimLeft(chTarget);
}
void CString::Trim(LPCSTR lpszTargets) {
  TrimRight(lpszTargets);
  TrimLeft(lpszTargets);
}

// ---- searching -------------------------------------------------------------------------

int CString::Find(char ch) const { return Find(ch, 0); }

int CString::Find(char ch, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  for (LPCSTR p = m_pchData + textkit::CharStartAt(m_pchData, size_t(nStart)); *p; p += textkit::CharLength(p)) {
    if (p - m_pchData >= nStart && textkit::CharLength(p) == 1 && *p == ch) return (int)(p - m_pchData);
  }
  return -1;
}

int CString::Find(LPCSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCSTR lpszSub, int nStart) const {
  int nSub = SafeLength(lpszSub);
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  LPCSTR p = m_pchData + textkit::CharStartAt(m_pchData, size_t(nStart));
  for (;;) {
    if (p - m_pchData >= nStart && strncmp(p, lpszSub ? lpszSub : "", (size_t)nSub) == 0) return (int)(p - m_pchData);
    if (!*p) return -1;
    p += textkit::CharLength(p);
  }
}

int CString::ReverseFind(char ch) const {
  size_t at = textkit::FindLast(std::string(m_pchData, (size_t)GetLength()), ch);
  return at == std::string::npos ? -1 : (int)at;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const {
  int n = textkit::SpanLength(m_pchData, lpszCharSet, false);
  return m_pchData[n] ? n : -1;
}

CString CString::Tokenize(LPCSTR lpszTokens, int& iStart) const {
  if (iStart < 0 || iStart >= GetLength()) {
    iStart = -1;
    return CString();
  }
  LPCSTR p = m_pchData + iStart;
  if (lpszTokens && *lpszTokens) p += textkit::SpanLength(p, lpszTokens, true);
  int nToken = textkit::SpanLength(p, lpszTokens ? lpszTokens : "", false);
  if (*p == '\0') {
    iStart = -1;
    return CString();
  }
  CString token(p, nToken);
  iStart = (int)(p - m_pchData) + nToken + (p[nToken] ? textkit::CharLength(p + nToken) : 0);
  return token;
}

// ---- formatting ------------------------------------------------------------------------

void CString::FormatV(LPCSTR lpszFormat, va_list argList) {
  CString r;
  r.AppendFormatV(lpszFormat, argList);
  *this = std::move(r);
}

void CString::AppendFormatV(LPCSTR lpszFormat, va_list argList) {
  if (!lpszFormat) return;
  va_list measure;
  va_copy(measure, argList);
  int n = vsnprintf(nullptr, 0, lpszFormat, measure);
  va_end(measure);
  if (n <= 0) return;
  // Formatted into a new buffer: an argument may be this very string.
  CString r;
  vsnprintf(r.GetBuffer(n), (size_t)n + 1, lpszFormat, argList);
  r.ReleaseBuffer(n);
  *this += r;
}

void AFX_CDECL CString::FormatArgs(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void AFX_CDECL CString::FormatArgsId(UINT nFormatID, ...) {
  CString format;
  format.LoadString(nFormatID);
  va_list args;
  va_start(args, nFormatID);
  FormatV(format, args);
  va_end(args);
}

void AFX_CDECL CString::AppendFormatArgs(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  AppendFormatV(lpszFormat, args);
  va_end(args);
}

void CString::FormatMessageV(LPCSTR lpszFormat, va_list* pArgList) {
  LPSTR pBuf = nullptr;
  DWORD n = lpszFormat ? ::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, lpszFormat, 0, 0,
                                          reinterpret_cast<LPSTR>(&pBuf), 0, pArgList)
                       : 0;
  if (n && pBuf) {
    *this = pBuf;
  } else {
    Empty();
  }
  if (pBuf) ::LocalFree(pBuf);
}

void AFX_CDECL CString::FormatMessageArgs(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatMessageV(lpszFormat, &args);
  va_end(args);
}

void AFX_CDECL CString::FormatMessageArgsId(UINT nFormatID, ...) {
  CString format;
  format.LoadString(nFormatID);
  va_list args;
  va_start(args, nFormatID);
  FormatMessageV(format, &args);
  va_end(args);
}

// ---- resources and BSTR ----------------------------------------------------------------

BOOL CString::LoadString(UINT nID) {
  HINSTANCE h = AfxFindStringResourceHandle(nID);
  if (!h) {
    Empty();
    return FALSE;
  }
  return LoadString(h, nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID) {
  LPCWSTR p = nullptr;
  int n = hInstance ? ::LoadStringW(hInstance, nID, reinterpret_cast<LPWSTR>(&p), 0) : 0;
  if (n <= 0 || !p) {
    Empty();
    return FALSE;
  }
  // The resource is UTF-16 without a NUL; convert it to the ANSI code page.
  int nBytes = ::WideCharToMultiByte(CP_ACP, 0, p, n, nullptr, 0, nullptr, nullptr);
  CString r;
  ::WideCharToMultiByte(CP_ACP, 0, p, n, r.GetBufferSetLength(nBytes), nBytes, nullptr, nullptr);
  *this = std::move(r);
  return TRUE;
}

BSTR CString::AllocSysString() const {
  int n = ::MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), nullptr, 0);
  BSTR b = ::SysAllocStringLen(nullptr, (UINT)n);
  if (!b) AfxThrowMemoryException();
  if (n) ::MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), b, n);
  b[n] = L'\0';
  return b;
}

BSTR CString::SetSysString(BSTR* pbstr) const {
  BSTR b = AllocSysString();
  if (pbstr) {
    ::SysFreeString(*pbstr);
    *pbstr = b;
  }
  return b;
}

const CString& AFXAPI AfxGetEmptyString() {
  static const CString s_empty;
  return s_empty;
}

// ---- helpers ---------------------------------------------------------------------------

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1) { AfxFormatString2(rString, nIDS, lpsz1, nullptr); }

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2) {
  CString format;
  format.LoadString(nIDS);
  CString r;
  LPCSTR inserts[2] = {lpsz1, lpsz2};
  for (LPCSTR p = format; *p;) {
    if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
      r += inserts[p[1] - '1'];
      p += 2;
    } else {
      int len = textkit::CharLength(p);
      AppendBytes(r, p, len);
      p += len;
    }
  }
  rString = std::move(r);
}

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep) {
  rString.Empty();
  if (!lpszFullString || iSubString < 0) return FALSE;
  CString full(lpszFullString);
  int start = 0;
  for (; iSubString > 0; --iSubString) {
    int sep = full.Find(chSep, start);
    if (sep < 0) return FALSE;
    start = sep + 1;
  }
  int end = full.Find(chSep, start);
  rString = full.Mid(start, end < 0 ? full.GetLength() - start : end - start);
  return TRUE;
}
