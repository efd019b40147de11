// Fuzz driver of the place table (seeded, bounded; GLIMORA_FUZZ_SEED and _ROUNDS for longer
// runs): mutated tables are refused whole or searched without a read outside them, and
// what is found lies within the distance with names that end inside the table.
#include <PlaceFinder.h>
#include <fuzz.h>
#include <gtest/gtest.h>

#include <string>

using namespace placefinder;

TEST(Fuzz, PlaceTables) {
  const std::vector<TableRow> rows = {
      {35.6895, 139.6917, "JP", "Tokyo", "Tokyo"},
      {35.0116, 135.7681, "JP", "Kyoto", "京都"},
      {-33.8679, 151.2073, "AU", "New South Wales", "Sydney"},
      {51.5085, -0.1257, "GB", "England", "London"},
      {64.1355, -21.8954, "IS", "", "Reykjavik"},
      {-89.9, 0.0, "AQ", "", "Pole"},
      {0.0, 179.99, "KI", "", "East"},
      {0.0, -179.99, "KI", "", "West"},
  };
  const std::vector<char> table = MakeTable(rows);
  const std::vector<uint8_t> sample(table.begin(), table.end());
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  int loaded = 0;
  for (int round = 0, n = testsupport::FuzzRounds(3000); round < n; ++round) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    std::vector<uint8_t> bytes = m.Mutate(sample);
    PlaceTable t;
    if (!t.Load(std::vector<char>(bytes.begin(), bytes.end()))) {
      EXPECT_TRUE(t.Empty());
      continue;
    }
    ++loaded;
    // Near every row (where a mutated row may now lie elsewhere) and at the edges of the map.
    std::vector<std::pair<double, double>> at = {{90, 180}, {-90, -180}, {0, 0}, {45.5, -180}};
    for (const TableRow& r : rows) at.push_back({r.latitude + 0.1, r.longitude - 0.1});
    for (const auto& p : at) {
      Place place;
      if (!t.Nearest(p.first, p.second, &place)) continue;
      EXPECT_LE(place.km, kMaxPlaceKm);
      EXPECT_LT(place.city.size() + place.region.size(), bytes.size());
      EXPECT_EQ(place.country.size(), 2u);
    }
  }
  EXPECT_GT(loaded, 0);  // mutations of the rows reached the search
}
