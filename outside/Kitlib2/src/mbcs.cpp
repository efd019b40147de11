#include "mbcs.h"

#include <windows.h>

namespace kitlib {

bool IsLeadByte(unsigned char c) { return c >= 0x80 && IsDBCSLeadByte(c); }

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Start offsets of the characters of s.
template <class F>
void ForEachChar(const std::string& s, F f) {
  for (size_t i = 0; i < s.size();) {
    size_t n = (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    f(i, n);
    i += n;
  }
}

}  // namespace

size_t LastSeparator(const std::string& s) {
  size_t last = std::string::npos;
  ForEachChar(s, [&](size_t i, size_t n) {
    if (n == 1 && IsSeparator(s[i])) last = i;
  });
  return last;
}

void TrimTrailingSeparators(std::string& s) {
  // The last single-byte non-separator character ends the kept text.
  size_t keep = 0;
  ForEachChar(s, [&](size_t i, size_t n) {
    if (n == 2 || !IsSeparator(s[i])) keep = i + n;
  });
  s.resize(keep);
}

void TrimLeadingSeparators(std::string& s) {
  size_t i = 0;
  while (i < s.size() && IsSeparator(s[i])) ++i;
  s.erase(0, i);
}

std::string UpperAscii(const std::string& s) {
  std::string out = s;
  ForEachChar(out, [&](size_t i, size_t n) {
    if (n == 1 && out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
  });
  return out;
}

std::string NormalisePathText(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  ForEachChar(s, [&](size_t i, size_t n) {
    if (n == 1) {
      char c = s[i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (c == '/') c = '\\';
      out += c;
      return;
    }
    // A double-byte character is folded as a wide character and kept when it has no
    // upper-case form in the code page (or is no valid character at all).
    WCHAR w[2] = {};
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, s.data() + i, 2, w, 2) == 1) {
      WCHAR up = w[0];
      CharUpperBuffW(&up, 1);
      char mb[4] = {};
      BOOL lossy = FALSE;
      int len = WideCharToMultiByte(CP_ACP, 0, &up, 1, mb, sizeof(mb), nullptr, &lossy);
      if (up != w[0] && len == 2 && !lossy) {
        out.append(mb, 2);
        return;
      }
    }
    out.append(s, i, 2);
  });
  return out;
}

std::string DirectoryOf(const std::string& path) {
  size_t sep = LastSeparator(path);
  if (sep == std::string::npos) {
    // "C:name" keeps its drive.
    if (path.size() >= 2 && path[1] == ':' && !IsLeadByte(static_cast<unsigned char>(path[0]))) return path.substr(0, 2);
    return std::string();
  }
  std::string dir = path.substr(0, sep);
  // Roots keep their backslash: "C:\\" and "\\".
  if (dir.empty() || (dir.size() == 2 && dir[1] == ':')) return path.substr(0, sep + 1);
  return dir;
}

std::string FileNameOf(const std::string& path) {
  size_t sep = LastSeparator(path);
  if (sep != std::string::npos) return path.substr(sep + 1);
  if (path.size() >= 2 && path[1] == ':' && !IsLeadByte(static_cast<unsigned char>(path[0]))) return path.substr(2);
  return path;
}

std::string ExtensionOf(const std::string& path) {
  std::string name = FileNameOf(path);
  size_t dot = std::string::npos;
  ForEachChar(name, [&](size_t i, size_t n) {
    if (n == 1 && name[i] == '.') dot = i;
  });
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool EqualNoCase(const std::string& a, const std::string& b) { return NormalisePathText(a) == NormalisePathText(b); }

}  // namespace kitlib
