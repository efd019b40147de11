// Stepping over code page 932 text one character (one or two bytes) at a time.
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

}  // namespace fwdbcs
