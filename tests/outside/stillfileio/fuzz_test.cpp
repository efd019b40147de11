// Fuzz driver of the still-information reader (seeded, bounded; GLIMORA_FUZZ_SEED and _ROUNDS
// for longer runs): mutated files whose end record is made to agree again (the count and
// the checksum), so that the mutations reach the records. A file reads whole or is refused,
// and what reads writes back byte for byte.
#include <StillFileIo.h>
#include <fuzz.h>
#include <gtest/gtest.h>
#include <xxhash.h>

#include "records.h"

#include <cstring>
#include <string>

namespace {

using stillrecords::Start;
using stillrecords::Time;

// The end record's count and checksum set to what the records before it give.
void Reseal(std::string* bytes) {
  const size_t n = bytes->size() / sizeof(STILLRECORD);
  if (n < 2) return;
  const size_t end = (n - 1) * sizeof(STILLRECORD);
  const DWORD count = DWORD(n - 1);
  const uint64_t sum = XXH3_64bits(bytes->data(), end);
  memcpy(&(*bytes)[end + 4], &count, 4);
  memcpy(&(*bytes)[end + 8], &sum, 8);
}

}  // namespace

TEST(Fuzz, StillInformationBehindItsEndRecord) {
  std::vector<STILLRECORD> many = {Start(7)};
  for (int i = 0; i < 20; ++i) many.push_back(Time(DWORD(i) * 45000));
  const std::string samples[] = {stillfile::Serialize({Start(1)}), stillfile::Serialize({Start(3), Time(900000)}),
                                 stillfile::Serialize(many)};
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  int read = 0;
  for (int round = 0, n = testsupport::FuzzRounds(5000); round < n; ++round) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    std::string bytes = m.Mutate(samples[m.Next(3)]);
    if (m.Next(8) != 0) Reseal(&bytes);  // now and then the end record itself is what is damaged
    std::vector<STILLRECORD> records;
    if (!stillfile::Parse(bytes, &records)) continue;
    ++read;
    ASSERT_GE(records.size(), 1u);
    EXPECT_LE(records.size(), size_t(STILL_MAX_RECORDS));
    EXPECT_TRUE(stillfile::IsStartRecord(records[0]));
    EXPECT_EQ(stillfile::Serialize(records), bytes);
  }
  EXPECT_GT(read, 0);  // the mutations reached the records
}
