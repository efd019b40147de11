#include "text.h"

#include <shlwapi.h>

#include <cstdio>
#include <vector>

namespace vxprop {

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

bool IsAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

namespace {

std::wstring ToWide(UINT codePage, const std::string& s) {
  if (s.empty()) return std::wstring();
  int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

std::string FromWide(UINT codePage, const std::wstring& w) {
  if (w.empty()) return std::string();
  int n = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace

std::string WideToAnsi(const std::wstring& w) { return FromWide(CP_ACP, w); }
std::string Utf8ToAnsi(const std::string& s) { return FromWide(CP_ACP, ToWide(CP_UTF8, s)); }
std::string AnsiToUtf8(const std::string& s) { return FromWide(CP_UTF8, ToWide(CP_ACP, s)); }

std::string GuessToAnsi(const std::string& s) {
  if (IsAscii(s) || !IsValidUtf8(s)) return s;
  return Utf8ToAnsi(s);
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
  return s.substr(b, e - b);
}

std::string FileNameOf(const std::string& path) { return PathFindFileNameA(path.c_str()); }

std::string FolderOf(const std::string& path) {
  const char* name = PathFindFileNameA(path.c_str());
  if (name == path.c_str()) return std::string();
  return path.substr(0, static_cast<size_t>(name - path.c_str()));
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool EndsWithNoCase(const std::string& s, const char* suffix) {
  std::string suf = suffix;
  if (s.size() < suf.size()) return false;
  for (size_t i = 0; i < suf.size(); ++i) {
    char a = s[s.size() - suf.size() + i], b = suf[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

std::string GroupDigits(uint64_t n) {
  std::string digits = std::to_string(n), out;
  int lead = static_cast<int>(digits.size() % 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i && (static_cast<int>(i) - lead) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string FormatDateTime(const SYSTEMTIME& t) {
  char buf[32];
  snprintf(buf, sizeof buf, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
           t.wSecond);
  return buf;
}

std::string FormatLongDateTime(const SYSTEMTIME& t) {
  char date[128] = "", time[64] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, sizeof time);
  return std::string(date) + " " + time;
}

}  // namespace vxprop
