// Stepping over code page 932 text one character (one or two bytes) at a time, and the
// names in paths found that way (a trail byte 0x5C is never a separator).
#pragma once
#include <fw/string.h>

#include <cstring>

namespace fwdbcs {

// Bytes of the character at p: 2 for a lead byte followed by a trail byte, else 1.
inline int CharLength(LPCSTR p) { return (FwIsLeadByte((BYTE)p[0]) && p[1] != '\0') ? 2 : 1; }

// Whether the character (p, len) is one of the characters of the set.
inline bool SetHasChar(LPCSTR set, LPCSTR p, int len) {
  if (!set) return false;
  for (; *set; set += CharLength(set)) {
    if (CharLength(set) == len && memcmp(set, p, (size_t)len) == 0) return true;
  }
  return false;
}

// Bytes of the leading characters of s that are (including) or are not in the set.
inline int SpanLength(LPCSTR s, LPCSTR set, bool including) {
  LPCSTR p = s;
  while (*p && SetHasChar(set, p, CharLength(p)) == including) p += CharLength(p);
  return (int)(p - s);
}

// Position of the last single-byte character ch, or -1.
inline int ReverseFind(LPCSTR s, char ch) {
  int found = -1;
  for (LPCSTR p = s; *p; p += CharLength(p)) {
    if (CharLength(p) == 1 && *p == ch) found = (int)(p - s);
  }
  return found;
}

// Position just after the last path separator ("\", "/" or a drive's ":").
inline int NameStart(LPCSTR path) {
  int start = 0;
  for (LPCSTR p = path; *p; p += CharLength(p)) {
    if (CharLength(p) == 1 && (*p == '\\' || *p == '/' || *p == ':')) start = (int)(p - path) + 1;
  }
  return start;
}

// "name.ext" of a path, and "name" without its extension.
inline CString FileName(LPCSTR path) { return CString(path + NameStart(path)); }
inline CString FileTitle(LPCSTR path) {
  CString name = FileName(path);
  int dot = ReverseFind(name, '.');
  return dot > 0 ? name.Left(dot) : name;
}

// The file title of a module ("Marlo5" for ...\Marlo5.exe; NULL: the program).
inline CString ModuleTitle(HINSTANCE hModule) {
  char path[MAX_PATH] = "";
  ::GetModuleFileNameA(hModule, path, MAX_PATH);
  return FileTitle(path);
}

}  // namespace fwdbcs
