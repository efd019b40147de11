#include "fuzz.h"

#include <cstdlib>

namespace testsupport {

std::vector<uint8_t> WithChanges(std::vector<uint8_t> data, std::initializer_list<ByteChange> changes) {
  for (const ByteChange& c : changes) {
    if (data.size() < c.at + c.bytes.size()) data.resize(c.at + c.bytes.size());
    std::copy(c.bytes.begin(), c.bytes.end(), data.begin() + long(c.at));
  }
  return data;
}

std::vector<uint8_t> Le16(uint16_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
std::vector<uint8_t> Le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }
std::vector<uint8_t> Be16(uint16_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
std::vector<uint8_t> Be32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }

uint32_t FuzzSeed() {
  const char* s = getenv("GLIMORA_FUZZ_SEED");
  return s && *s ? uint32_t(strtoul(s, nullptr, 0)) : 20111u;
}

int FuzzRounds(int rounds) {
  const char* s = getenv("GLIMORA_FUZZ_ROUNDS");
  int n = s && *s ? atoi(s) : 0;
  return n > 0 ? n : rounds;
}

std::vector<uint8_t> Mutator::Mutate(const std::vector<uint8_t>& sample) {
  std::vector<uint8_t> d = sample;
  if (d.empty()) return d;
  int rounds = 1 + int(Next(4));
  for (int r = 0; r < rounds && !d.empty(); ++r) {
    switch (Next(4)) {
      case 0:  // bit flips
        for (uint32_t n = 1 + Next(8); n > 0; --n) d[Next(uint32_t(d.size()))] ^= uint8_t(1u << Next(8));
        break;
      case 1:  // cut short
        d.resize(Next(uint32_t(d.size())));
        break;
      default: {  // a length or offset field set to an edge value
        static const uint32_t kValues[] = {0, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0xFFFFFFFEu, 0xFFFFFF00u,
                                           1, 0x8000u,     0xFFFFu,     0x10000u,    0x40000000u};
        uint32_t v = kValues[Next(sizeof kValues / sizeof kValues[0])];
        bool wide = Next(2) != 0, big = Next(2) != 0;
        size_t n = wide ? 4 : 2;
        if (d.size() < n) break;
        size_t at = Next(uint32_t(d.size() - n + 1));
        std::vector<uint8_t> bytes = wide ? (big ? Be32(v) : Le32(v)) : (big ? Be16(uint16_t(v)) : Le16(uint16_t(v)));
        std::copy(bytes.begin(), bytes.end(), d.begin() + long(at));
        break;
      }
    }
  }
  return d;
}

std::string Mutator::Mutate(const std::string& sample) {
  std::vector<uint8_t> d = Mutate(std::vector<uint8_t>(sample.begin(), sample.end()));
  return std::string(d.begin(), d.end());
}

}  // namespace testsupport
