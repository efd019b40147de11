// Place names of GPS positions: the nearest city of a table within the distance, the
// positions as the property reader gives them, tables of another shape refused; then the
// library over GeoNames' table made at set-up.
#include <PlaceFinder.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

using namespace placefinder;

TEST(PlaceFinder, PositionTexts) {
  struct Case {
    const char* text;
    double limit;
    bool ok;
    double degrees;
  } cases[] = {
      {"35/39/31.5", 90, true, 35 + 39 / 60.0 + 31.5 / 3600},
      {"-33/52/4", 90, true, -(33 + 52 / 60.0 + 4 / 3600.0)},
      {"0/-7/28", 180, true, -(7 / 60.0 + 28 / 3600.0)},  // as the property reader writes west
      {"0/0/-5", 180, true, -5 / 3600.0},
      {"-0/7/28", 180, false, 0},                         // the sign on a zero part
      {"-33/-52/4", 90, false, 0},
      {"139.7454", 180, true, 139.7454},
      {"0/0/0", 90, true, 0},
      {"91/0/0", 90, false, 0},
      {"35/60/0", 90, false, 0},
      {"35/39", 90, false, 0},
      {"35/39/31/2", 90, false, 0},
      {"35//31", 90, false, 0},
      {"", 90, false, 0},
      {"N35/39/31", 90, false, 0},
      {"1e3", 180, false, 0},
  };
  for (const Case& c : cases) {
    double d = 1234;
    EXPECT_EQ(ParseCoordinate(c.text, c.limit, &d), c.ok) << c.text;
    if (c.ok) { EXPECT_NEAR(d, c.degrees, 1e-9) << c.text; }
  }
}

TEST(PlaceFinder, NearestCityWithinTheDistance) {
  PlaceTable table;
  ASSERT_TRUE(table.Load(MakeTable({{35.6895, 139.69171, "JP", "Tokyo", "Tokyo"},
                                    {35.44778, 139.6425, "JP", "Kanagawa", "Yokohama"},
                                    {-33.86785, 151.20732, "AU", "New South Wales", "Sydney"},
                                    {64.13548, -21.89541, "IS", "Capital Region", "Reykjavik"},
                                    {-17.0, 179.98, "FJ", "Northern", "Antimeridian"},
                                    {89.8, 0.0, "XX", "Arctic", "Pole"}})));
  struct Case {
    double lat, lng;
    const char* city;
  } cases[] = {
      {35.6586, 139.7454, "Tokyo"},     // the tower: Tokyo nearer than Yokohama
      {35.4437, 139.6380, "Yokohama"},
      {-33.8568, 151.2153, "Sydney"},
      {64.1, -21.9, "Reykjavik"},       // west of Greenwich
      {64.1, -21.2, "Reykjavik"},       // 34 km east: far in longitude, near in the north
      {-17.0, -179.9, "Antimeridian"},  // 12 km across the date line
      {89.8, 90.0, "Pole"},             // a quarter turn around the pole, 31 km
      {64.1, -20.6, nullptr},           // 63 km east
      {35.0, 139.7, nullptr},           // the sea, 70 km from both
      {0, 0, nullptr},
  };
  for (const Case& c : cases) {
    Place p;
    EXPECT_EQ(table.Nearest(c.lat, c.lng, &p), c.city != nullptr) << c.lat << "," << c.lng;
    if (c.city) { EXPECT_EQ(p.city, c.city); }
  }
  Place p;
  ASSERT_TRUE(table.Nearest(-33.8568, 151.2153, &p));
  EXPECT_EQ(p.country, "AU");
  EXPECT_EQ(p.region, "New South Wales");
}

// Over many cities (dense places, the poles, the date line) the search finds the city that
// measuring every one finds.
TEST(PlaceFinder, NearestIsTheNearestOfAll) {
  std::mt19937 random(19);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  std::vector<TableRow> rows;
  for (int i = 0; i < 4000; ++i) {
    const int kind = i % 4;
    const double lat = kind == 0 ? uniform(-90, 90) : kind == 1 ? uniform(50, 52) : kind == 2 ? uniform(88, 90) : uniform(-20, -15);
    const double lng = kind == 0 ? uniform(-180, 180) : kind == 1 ? uniform(-1, 1) : kind == 2 ? uniform(-180, 180)
                                                                                  : (i % 8 < 4 ? uniform(179, 180) : uniform(-180, -179));
    rows.push_back({std::round(lat * 100000) / 100000, std::round(lng * 100000) / 100000, "XX", "R", std::to_string(i)});
  }
  PlaceTable table;
  ASSERT_TRUE(table.Load(MakeTable(rows)));
  auto km = [](double lat1, double lng1, double lat2, double lng2) {
    const double r = 3.14159265358979323846 / 180;
    const double a = std::pow(std::sin((lat2 - lat1) * r / 2), 2) +
                     std::cos(lat1 * r) * std::cos(lat2 * r) * std::pow(std::sin((lng2 - lng1) * r / 2), 2);
    return 2 * 6371.0 * std::asin(std::min(1.0, std::sqrt(a)));
  };
  int found = 0;
  for (int q = 0; q < 3000; ++q) {
    const TableRow& city = rows[random() % rows.size()];
    const double lat = std::max(-90.0, std::min(90.0, city.latitude + uniform(-0.6, 0.6)));
    double lng = city.longitude + uniform(-1.5, 1.5);
    if (lng >= 180) lng -= 360;
    if (lng < -180) lng += 360;
    double best = kMaxPlaceKm + 1e-9;
    for (const TableRow& r : rows) best = std::min(best, km(lat, lng, r.latitude, r.longitude));
    Place p;
    const bool any = table.Nearest(lat, lng, &p);
    SCOPED_TRACE(std::to_string(lat) + "," + std::to_string(lng));
    ASSERT_EQ(any, best <= kMaxPlaceKm);
    if (!any) continue;
    ++found;
    EXPECT_NEAR(p.km, best, 1e-6);
  }
  EXPECT_GT(found, 1000);
}

TEST(PlaceFinder, TablesOfAnotherShapeAreRefused) {
  const std::vector<char> good = MakeTable({{1, 1, "JP", "R", "C"}, {2, 2, "JP", "R", "D"}});
  auto with = [&](size_t at, char v) {
    std::vector<char> b = good;
    b[at] = v;
    return b;
  };
  std::vector<char> truncated(good.begin(), good.end() - 1), longer = good;
  longer.push_back('\0');
  std::vector<char> unordered = good;
  std::swap_ranges(unordered.begin() + 16, unordered.begin() + 36, unordered.begin() + 36);
  const std::vector<std::vector<char>> bad = {
      {},        truncated,  longer, with(0, 'X'), with(4, 2),
      with(16 + 8, 100),  // a name outside the text area
      with(16 + 3, 0x7F),  // a latitude beyond the pole
      unordered,
  };
  PlaceTable table;
  EXPECT_TRUE(table.Load(good));
  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_FALSE(table.Load(bad[i])) << i;
    EXPECT_TRUE(table.Empty());
    Place p;
    EXPECT_FALSE(table.Nearest(1, 1, &p));
  }
}

// The library over the table set-up made from GeoNames' cities (which holds quarters too);
// names folded for the code page ("Shibakōen", "Zürich").
TEST(PlaceFinder, GeoNamesCitiesThroughTheLibrary) {
  char a1[VXGPS_TEXT_CHARS], a2[VXGPS_TEXT_CHARS], a3[VXGPS_TEXT_CHARS];
  EXPECT_EQ(VxGPSGetAddress(NULL, "35/39/31", "139/44/43", a1, a2, a3), E_HANDLE);
  HANDLE finder = VxGPSInit();
  ASSERT_NE(finder, nullptr) << "PlaceFinder.dat is not beside the library (tools/setup.sh makes it)";
  struct Case {
    const char *lat, *lng, *country, *region, *city;
  } cases[] = {
      {"51/30/3", "0/-7/29", "GB", "England", "City of Westminster"},  // the Exif fixture
      {"35/39/31", "139/44/43", "JP", "Tokyo", "Shibakoen"},
      {"47/22/0", "8/32/30", "CH", "Zurich", "Zurich (Kreis 1)"},
      {"-33/51/24", "151/12/55", "AU", "New South Wales", "The Rocks"},
      {"40.71278", "-74.00583", "US", "New York", "New York City"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(VxGPSGetAddress(finder, c.lat, c.lng, a1, a2, a3), 0) << c.city;
    EXPECT_STREQ(a1, c.region);
    EXPECT_STREQ(a2, c.city);
    EXPECT_STREQ(a3, c.country);
  }
  EXPECT_EQ(VxGPSGetAddress(finder, "0/0/0", "-30/0/0", a1, a2, a3), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
  EXPECT_STREQ(a2, "");
  EXPECT_EQ(VxGPSGetAddress(finder, "95/0/0", "0", a1, a2, a3), E_INVALIDARG);
  VxGPSTerm(finder);
}
