#include "textkit/text.h"

#include <windows.h>

#include <cstring>

namespace textkit {

size_t WholeCharPrefix(const char* text, size_t length, size_t maxBytes) {
  size_t n = 0;
  if (!text) return 0;
  while (n < length) {
    size_t step = CharLength(text + n, length - n);
    if (n + step > maxBytes) break;
    n += step;
  }
  return n;
}

int WholeCharPrefix(const char* psz, int maxBytes) {
  if (!psz || maxBytes <= 0) return 0;
  int n = 0;
  while (psz[n]) {
    int step = CharLength(psz + n);
    if (n + step > maxBytes) break;
    n += step;
  }
  return n;
}

std::string CutToBytes(const std::string& s, size_t maxBytes) {
  return s.substr(0, WholeCharPrefix(s.data(), s.size(), maxBytes));
}

size_t CharStartAt(const char* text, size_t pos) {
  size_t run = 0;
  while (run < pos && IsLeadByte(static_cast<unsigned char>(text[pos - run - 1]))) ++run;
  return run % 2 ? pos - 1 : pos;
}

size_t Find(const std::string& s, char c, size_t from) {
  if (from > s.size()) return std::string::npos;
  for (size_t i = CharStartAt(s.data(), from); i < s.size();) {
    size_t n = CharLength(s.data() + i, s.size() - i);
    if (i >= from && n == 1 && s[i] == c) return i;
    i += n;
  }
  return std::string::npos;
}

size_t FindLast(const std::string& s, char c) {
  size_t found = std::string::npos;
  ForEachChar(s, [&](size_t i, size_t n) {
    if (n == 1 && s[i] == c) found = i;
  });
  return found;
}

bool HasCharOf(const std::string& s, const char* set) {
  bool found = false;
  ForEachChar(s, [&](size_t i, size_t n) { found = found || (n == 1 && s[i] && strchr(set, s[i])); });
  return found;
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  // Counted first: a text of many parts is not copied again each time the list grows.
  size_t parts = 1;
  ForEachChar(s, [&](size_t i, size_t n) { parts += n == 1 && s[i] == sep; });
  out.reserve(parts);
  size_t start = 0;
  ForEachChar(s, [&](size_t i, size_t n) {
    if (n == 1 && s[i] == sep) {
      out.emplace_back(s, start, i - start);
      start = i + 1;
    }
  });
  out.emplace_back(s, start);
  return out;
}

bool SetHasChar(const char* set, const char* p, int len) {
  if (!set) return false;
  for (; *set; set += CharLength(set)) {
    if (CharLength(set) == len && memcmp(set, p, size_t(len)) == 0) return true;
  }
  return false;
}

int SpanLength(const char* s, const char* set, bool including) {
  const char* p = s;
  while (*p && SetHasChar(set, p, CharLength(p)) == including) p += CharLength(p);
  return int(p - s);
}

bool IsWellFormed(const std::string& s) {
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (IsLeadByte(c)) {
      if (i + 1 >= s.size()) return false;
      unsigned char t = static_cast<unsigned char>(s[++i]);
      if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
    } else if (c == 0x80 || c == 0xA0 || c >= 0xFD) {
      return false;
    }
  }
  return true;
}

std::string WellFormedOnly(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (IsLeadByte(c)) {
      unsigned char t = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
      if (t >= 0x40 && t != 0x7F && t <= 0xFC) out.append(s, i++, 2);
    } else if (c != 0x80 && c != 0xA0 && c < 0xFD) {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool IsAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r\n";
  size_t b = s.find_first_not_of(blanks);
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

// ---- case -------------------------------------------------------------------------------

std::string UpperAscii(const std::string& s) {
  std::string out = s;
  ForEachChar(out, [&](size_t i, size_t n) {
    if (n == 1 && out[i] >= 'a' && out[i] <= 'z') out[i] = char(out[i] - 'a' + 'A');
  });
  return out;
}

std::string LowerAscii(const std::string& s) {
  std::string out = s;
  ForEachChar(out, [&](size_t i, size_t n) {
    if (n == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = char(out[i] - 'A' + 'a');
  });
  return out;
}

namespace {

// Lead bytes of the only double-byte characters with an upper-case form: full-width Latin
// (82), Greek (83), Cyrillic (84) and the small Roman numerals of the vendor rows (EE, FA).
bool MayHaveCase(unsigned char lead) {
  return lead == 0x82 || lead == 0x83 || lead == 0x84 || lead == 0xEE || lead == 0xFA;
}

// The upper-case form of one double-byte character, when the code page has one.
bool UpperDoubleByte(const char* p, char out[2]) {
  if (!MayHaveCase(static_cast<unsigned char>(p[0]))) return false;
  WCHAR w = 0;
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, p, 2, &w, 1) != 1) return false;
  WCHAR up = 0;
  if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, &w, 1, &up, 1) != 1 || up == w) return false;
  char mb[4] = {};
  BOOL lossy = FALSE;
  int len = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &up, 1, mb, sizeof mb, nullptr, &lossy);
  if (len != 2 || lossy) return false;
  out[0] = mb[0];
  out[1] = mb[1];
  return true;
}

}  // namespace

std::wstring FoldCaseWide(const std::wstring& w) {
  if (w.empty()) return w;
  std::wstring u(w.size(), L'\0');
  int n = LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, w.data(), int(w.size()), &u[0], int(u.size()));
  if (n <= 0) {
    // Without the table, at least the ASCII letters fold.
    u = w;
    for (wchar_t& c : u)
      if (c >= L'a' && c <= L'z') c = wchar_t(c - 32);
    return u;
  }
  u.resize(size_t(n));
  return u;
}

std::string FoldCaseUtf8(const std::string& s) {
  // Most texts need no table: ASCII letters fold in place, and kana and kanji
  // (U+3000-U+9FFF, lead bytes E3-E9) have no case.
  std::string u = s;
  for (size_t i = 0; i < u.size();) {
    const unsigned char c = static_cast<unsigned char>(u[i]);
    if (c < 0x80) {
      if (c >= 'a' && c <= 'z') u[i] = char(c - 32);
      ++i;
    } else if (c >= 0xE3 && c <= 0xE9 && i + 2 < u.size() && (static_cast<unsigned char>(u[i + 1]) & 0xC0) == 0x80 &&
               (static_cast<unsigned char>(u[i + 2]) & 0xC0) == 0x80) {
      i += 3;
    } else {
      return WideToUtf8(FoldCaseWide(Utf8ToWide(s)));
    }
  }
  return u;
}

std::string FoldCase(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  ForEachChar(s, [&](size_t i, size_t n) {
    if (n == 1) {
      char c = s[i];
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
      if (c == '/') c = '\\';
      out += c;
      return;
    }
    char up[2];
    if (UpperDoubleByte(s.data() + i, up))
      out.append(up, 2);
    else
      out.append(s, i, 2);
  });
  return out;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

int CompareNoCase(const std::string& a, const std::string& b) {
  int r = FoldCase(a).compare(FoldCase(b));
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

bool EndsWithNoCase(const std::string& s, const std::string& suffix) {
  if (suffix.size() > s.size()) return false;
  // The suffix must start on a character of s, not on a trail byte.
  size_t at = s.size() - suffix.size();
  bool onChar = false;
  ForEachChar(s, [&](size_t i, size_t) { onChar = onChar || i == at; });
  if (!onChar && !suffix.empty()) return false;
  return EqualNoCase(s.substr(at), suffix);
}

// ---- conversions ------------------------------------------------------------------------

namespace {

bool ToWide(UINT cp, const std::string& s, bool strict, std::wstring* out) {
  out->clear();
  if (s.empty()) return true;
  DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
  int n = MultiByteToWideChar(cp, flags, s.data(), int(s.size()), nullptr, 0);
  if (n <= 0) return false;
  out->resize(size_t(n));
  MultiByteToWideChar(cp, flags, s.data(), int(s.size()), &(*out)[0], n);
  return true;
}

bool FromWide(UINT cp, const std::wstring& w, bool strict, std::string* out) {
  out->clear();
  if (w.empty()) return true;
  DWORD flags = 0;
  BOOL lossy = FALSE;
  BOOL* pLossy = nullptr;
  if (cp == CP_UTF8) {
    flags = strict ? WC_ERR_INVALID_CHARS : 0;
  } else if (strict) {
    flags = WC_NO_BEST_FIT_CHARS;
    pLossy = &lossy;
  }
  int n = WideCharToMultiByte(cp, flags, w.data(), int(w.size()), nullptr, 0, nullptr, pLossy);
  if (n <= 0 || lossy) return false;
  out->resize(size_t(n));
  WideCharToMultiByte(cp, flags, w.data(), int(w.size()), &(*out)[0], n, nullptr, pLossy);
  if (lossy) {
    out->clear();
    return false;
  }
  return true;
}

}  // namespace

std::wstring AnsiToWide(const std::string& s) {
  std::wstring w;
  ToWide(CP_ACP, s, false, &w);
  return w;
}
std::string WideToAnsi(const std::wstring& w) {
  std::string s;
  FromWide(CP_ACP, w, false, &s);
  return s;
}
std::wstring Utf8ToWide(const std::string& s) {
  std::wstring w;
  ToWide(CP_UTF8, s, false, &w);
  return w;
}
std::string WideToUtf8(const std::wstring& w) {
  std::string s;
  FromWide(CP_UTF8, w, false, &s);
  return s;
}
std::string AnsiToUtf8(const std::string& s) { return WideToUtf8(AnsiToWide(s)); }
std::string Utf8ToAnsi(const std::string& s) { return WideToAnsi(Utf8ToWide(s)); }

bool TryAnsiToWide(const std::string& s, std::wstring* out) {
  if (!IsWellFormed(s) || !ToWide(CP_ACP, s, true, out)) {
    out->clear();
    return false;
  }
  return true;
}
bool TryWideToAnsi(const std::wstring& w, std::string* out) { return FromWide(CP_ACP, w, true, out); }
bool TryUtf8ToWide(const std::string& s, std::wstring* out) {
  if (!IsValidUtf8(s) || !ToWide(CP_UTF8, s, true, out)) {
    out->clear();
    return false;
  }
  return true;
}
bool TryWideToUtf8(const std::wstring& w, std::string* out) { return FromWide(CP_UTF8, w, true, out); }

bool TryAnsiToUtf8(const std::string& s, std::string* out) {
  std::wstring w;
  if (TryAnsiToWide(s, &w) && TryWideToUtf8(w, out)) return true;
  out->clear();
  return false;
}
bool TryUtf8ToAnsi(const std::string& s, std::string* out) {
  std::wstring w;
  if (TryUtf8ToWide(s, &w) && TryWideToAnsi(w, out)) return true;
  out->clear();
  return false;
}

bool IsValidUtf8(const std::string& s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  size_t n = s.size(), i = 0;
  while (i < n) {
    unsigned c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= n) return false;
    for (int k = 1; k <= extra; ++k) {
      unsigned d = p[i + k];
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;
    i += extra + 1;
  }
  return true;
}

std::string GuessToAnsi(const std::string& s) {
  if (IsAscii(s) || !IsValidUtf8(s)) return s;
  return Utf8ToAnsi(s);
}

}  // namespace textkit
