// Mutated inputs for the readers' fuzz drivers, and small damaged fixtures.
// Every run is seeded: a failure names the seed and round that reproduce it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace testsupport {

// Bytes put at an offset of a sample (past the end: the sample grows with zeros).
struct ByteChange {
  size_t at;
  std::vector<uint8_t> bytes;
};
std::vector<uint8_t> WithChanges(std::vector<uint8_t> data, std::initializer_list<ByteChange> changes);
// A 16- or 32-bit value as little- or big-endian bytes, for ByteChange.
std::vector<uint8_t> Le16(uint16_t v);
std::vector<uint8_t> Le32(uint32_t v);
std::vector<uint8_t> Be16(uint16_t v);
std::vector<uint8_t> Be32(uint32_t v);

// The seed of a fuzz run (GLIMORA_FUZZ_SEED, else fixed so that CI runs are
// repeatable) and its number of rounds (GLIMORA_FUZZ_ROUNDS scales a longer run
// by hand; CI keeps the default).
uint32_t FuzzSeed();
int FuzzRounds(int rounds);

class Mutator {
 public:
  explicit Mutator(uint32_t seed) : rng_(seed) {}
  // A copy of sample with one to four mutations: bit flips, a cut, or a 16- or
  // 32-bit field (either byte order) set to 0, all ones, the top bit alone or a
  // small negative number.
  std::vector<uint8_t> Mutate(const std::vector<uint8_t>& sample);
  std::string Mutate(const std::string& sample);
  uint32_t Next(uint32_t below) { return below ? uint32_t(rng_() % below) : 0; }

 private:
  std::mt19937 rng_;
};

}  // namespace testsupport
