// Content for the import tests: bytes that differ for every seed, so that a copy put in
// the wrong place or cut short shows.
#pragma once
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

}  // namespace importtest
