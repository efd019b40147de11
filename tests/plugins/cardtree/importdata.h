// Content for the import tests: bytes that differ for every seed, so that a copy put in
// the wrong place or cut short shows.
#pragma once
#include <windows.h>

#include <string>

namespace importtest {

inline std::string Pattern(size_t size, int seed) {
  std::string s(size, '\0');
  unsigned v = 2166136261u ^ static_cast<unsigned>(seed);
  for (char& c : s) {
    v = v * 16777619u + 0x9E3779B9u;
    c = static_cast<char>(v >> 24);
  }
  return s;
}

// A destination CTest mounted small (smalldisks.sh); empty when it is an ordinary folder.
inline std::string SmallDisk(const char* folder, ULONGLONG limit) {
  ULARGE_INTEGER avail, total, free;
  if (!GetDiskFreeSpaceExA(folder, &avail, &total, &free) || total.QuadPart > limit) return "";
  return folder;
}

}  // namespace importtest
