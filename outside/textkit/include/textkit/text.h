// Walking 8-bit text of the ANSI code page (932) one character at a time, case folding,
// and conversions between ANSI, UTF-8 and UTF-16.
//
// One lead-byte rule for the whole program: a byte 0x81-0x9F or 0xE0-0xFC followed by any
// other byte (not the end, not a NUL) makes one double-byte character. The trail byte
// may look like "\" (0x5C), "|" (0x7C) or a letter, and is never taken for one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace textkit {

// The first byte of a double-byte character in code page 932.
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Bytes of the character at p with `left` bytes available: 2 for a lead byte with a
// byte after it, else 1 (0 when nothing is left).
inline size_t CharLength(const char* p, size_t left) {
  if (left == 0) return 0;
  return (left >= 2 && IsLeadByte(static_cast<unsigned char>(p[0]))) ? 2 : 1;
}

// The same in NUL-terminated text: a lead byte just before the NUL is a character of its own.
inline int CharLength(const char* p) { return (IsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0') ? 2 : 1; }

// The character after the one at p (p itself at the NUL).
inline const char* Next(const char* p) { return *p ? p + CharLength(p) : p; }
inline char* Next(char* p) { return *p ? p + CharLength(p) : p; }

// Calls f(offset, length) for each character of s, double-byte characters whole.
template <class F>
void ForEachChar(const std::string& s, F f) {
  for (size_t i = 0; i < s.size();) {
    size_t n = CharLength(s.data() + i, s.size() - i);
    f(i, n);
    i += n;
  }
}

// Bytes of the longest start of the text that fits maxBytes without splitting a character.
size_t WholeCharPrefix(const char* text, size_t length, size_t maxBytes);
// NUL-terminated form (null text: 0; a negative limit counts as 0).
int WholeCharPrefix(const char* psz, int maxBytes);
// The text cut to at most maxBytes, never inside a double-byte character.
std::string CutToBytes(const std::string& s, size_t maxBytes);

// Where a walk over the characters may resume at byte pos: pos, or pos - 1 when the byte
// before it leads a double-byte character that would take byte pos as its trail. Found
// from the nearest byte before pos that can lead no character (the bytes after it pair
// up), not by a walk from the start, so a search that resumes costs no more the further
// it has come.
size_t CharStartAt(const char* text, size_t pos);

// Offset of the first (last) single-byte character c at or after `from`, or npos; a trail
// byte equal to c is no match. Find starts at the character holding `from`.
size_t Find(const std::string& s, char c, size_t from = 0);
size_t FindLast(const std::string& s, char c);
// Whether the text holds one of the single-byte characters of set.
bool HasCharOf(const std::string& s, const char* set);

// Splits at every sep that is a character of its own; n separators give n + 1 parts.
std::vector<std::string> Split(const std::string& s, char sep);

// Character sets of NUL-terminated text: whether the character (p, len) is one of set's
// characters, and the bytes of the leading characters of s that are (including) or are
// not in set.
bool SetHasChar(const char* set, const char* p, int len);
int SpanLength(const char* s, const char* set, bool including);

// Whether every lead byte has a valid trail byte (0x40-0x7E, 0x80-0xFC) and no byte stands
// where no character of the code page starts (0x80, 0xA0, 0xFD-0xFF): a text cut inside a
// double-byte character is not.
bool IsWellFormed(const std::string& s);
// The text without the bytes IsWellFormed refuses (a lead byte cut from its trail byte,
// say): converted, each would come back as another character ("・").
std::string WellFormedOnly(const std::string& s);
bool IsAscii(const std::string& s);

// Without the blanks, tabs and line ends at either end (never a trail byte: they are >= 0x40).
std::string Trim(const std::string& s);

// ---- case -------------------------------------------------------------------------------

// Upper-cases the single-byte ASCII letters only.
std::string UpperAscii(const std::string& s);
std::string LowerAscii(const std::string& s);

// The key by which Windows tells file names apart: every character upper-cased as the file
// system does (ASCII letters, and double-byte letters such as full-width or Greek ones),
// "/" made "\". Bytes that form no character stay as they are.
std::string FoldCase(const std::string& s);

// The same rule for UTF-16 text (no "/" change): every character upper-cased.
std::wstring FoldCaseWide(const std::wstring& w);
// And for UTF-8 text (no "/" change).
std::string FoldCaseUtf8(const std::string& s);

// Path comparison without case (by FoldCase): equal, and an order (<0, 0, >0).
bool EqualNoCase(const std::string& a, const std::string& b);
int CompareNoCase(const std::string& a, const std::string& b);
bool EndsWithNoCase(const std::string& s, const std::string& suffix);

// ---- conversions ------------------------------------------------------------------------
// The lenient forms never fail: a character the target lacks becomes a stand-in (the
// system's best fit or "?" in ANSI, U+FFFD from bad input). The Try forms refuse input that is not valid in its
// encoding and output that would lose a character, and leave *out empty then.

std::wstring AnsiToWide(const std::string& s);
std::string WideToAnsi(const std::wstring& w);
std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& w);
std::string AnsiToUtf8(const std::string& s);
std::string Utf8ToAnsi(const std::string& s);

bool TryAnsiToWide(const std::string& s, std::wstring* out);
bool TryWideToAnsi(const std::wstring& w, std::string* out);
bool TryUtf8ToWide(const std::string& s, std::wstring* out);
bool TryWideToUtf8(const std::wstring& w, std::string* out);
bool TryAnsiToUtf8(const std::string& s, std::string* out);
bool TryUtf8ToAnsi(const std::string& s, std::string* out);

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF, nothing cut.
bool IsValidUtf8(const std::string& s);

// Text of unknown origin (Exif fields, content files): converted from UTF-8 when it is
// valid UTF-8 with non-ASCII characters, else taken as ANSI already.
std::string GuessToAnsi(const std::string& s);

}  // namespace textkit
