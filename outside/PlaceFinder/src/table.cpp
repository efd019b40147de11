// The city table and the nearest-city search (PlaceFinder.h).
#include <PlaceFinder.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>

namespace placefinder {

struct PlaceTable::Row {
  int32_t lat, lng;
  uint32_t city, region;
  char country[2];
  char pad[2];
};
static_assert(sizeof(int32_t) * 2 + sizeof(uint32_t) * 2 + 4 == 20, "20-byte rows");

namespace {
const size_t kHeader = 16;
const size_t kRow = 20;
const double kEarthKm = 6371.0;
const double kPi = 3.14159265358979323846;

uint32_t U32(const char* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}

constexpr int kLatCells = 181, kLngCells = 360;  // -90..90; -180..179 (180 is -180)

int LatCell(double degrees) { return std::min(90, std::max(-90, static_cast<int>(floor(degrees)))) + 90; }
int LngCell(double degrees) { return ((static_cast<int>(floor(degrees)) + 180) % kLngCells + kLngCells) % kLngCells; }

double Km(double lat1, double lng1, double lat2, double lng2) {
  const double r = kPi / 180;
  const double dlat = (lat2 - lat1) * r, dlng = (lng2 - lng1) * r;
  const double a = sin(dlat / 2) * sin(dlat / 2) + cos(lat1 * r) * cos(lat2 * r) * sin(dlng / 2) * sin(dlng / 2);
  return 2 * kEarthKm * asin(std::min(1.0, sqrt(a)));
}
}  // namespace

bool PlaceTable::Load(std::vector<char> bytes) {
  count_ = textSize_ = 0;
  bytes_.clear();
  cellStart_.clear();
  cellRows_.clear();
  if (bytes.size() < kHeader || memcmp(bytes.data(), "PLCS", 4) != 0 || U32(&bytes[4]) != 1) return false;
  const uint64_t count = U32(&bytes[8]), text = U32(&bytes[12]);
  if (count == 0 || kHeader + count * kRow + text != bytes.size() || text == 0 || bytes.back() != '\0') return false;
  // Every name must start inside the text area and every row must be in latitude order.
  const char* rows = bytes.data() + kHeader;
  int32_t last = INT32_MIN;
  for (uint64_t i = 0; i < count; ++i) {
    Row r;
    memcpy(&r, rows + i * kRow, kRow);
    if (r.city >= text || r.region >= text || r.lat < last || r.lat < -9000000 || r.lat > 9000000 ||
        r.lng < -18000000 || r.lng > 18000000)
      return false;
    last = r.lat;
  }
  bytes_ = std::move(bytes);
  count_ = static_cast<size_t>(count);
  textSize_ = static_cast<size_t>(text);
  IndexCells();
  return true;
}

void PlaceTable::IndexCells() {
  std::vector<uint32_t> cellOf(count_);
  cellStart_.assign(kLatCells * kLngCells + 1, 0);
  for (size_t i = 0; i < count_; ++i) {
    Row r;
    memcpy(&r, RowAt(i), kRow);
    cellOf[i] = LatCell(r.lat / 100000.0) * kLngCells + LngCell(r.lng / 100000.0);
    ++cellStart_[cellOf[i] + 1];
  }
  for (size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  cellRows_.resize(count_);
  std::vector<uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
  for (size_t i = 0; i < count_; ++i) cellRows_[next[cellOf[i]]++] = static_cast<uint32_t>(i);
}

const PlaceTable::Row* PlaceTable::RowAt(size_t i) const {
  return reinterpret_cast<const Row*>(bytes_.data() + kHeader + i * kRow);
}

const char* PlaceTable::TextAt(unsigned offset) const { return bytes_.data() + kHeader + count_ * kRow + offset; }

bool PlaceTable::Nearest(double latitude, double longitude, Place* place) const {
  if (Empty()) return false;
  // Only rows within the distance's band of latitude can be near.
  const double band = kMaxPlaceKm / 111.0 + 0.01;
  // Of the band, only the cells within reach in longitude. Two points at most edge degrees
  // from the equator and dlng apart lie at least 2R asin(cos(edge) sin(dlng / 2)) apart.
  const double cosEdge = cos(std::min(90.0, fabs(latitude) + band) * kPi / 180);
  auto reachOf = [cosEdge](double km) {
    const double s = cosEdge > 1e-9 ? sin(km / (2 * kEarthKm)) / cosEdge : 2;
    return s >= 1 ? 360.0 : 2 * asin(s) * 180 / kPi;
  };
  double best = kMaxPlaceKm, reach = reachOf(best);
  const int firstLng = static_cast<int>(floor(longitude - reach));
  const int lngCells = std::min(kLngCells, static_cast<int>(floor(longitude + reach)) - firstLng + 1);
  // A degree of latitude is this long everywhere. A cell's rows keep the table's latitude
  // order: each cell is walked from the position's latitude outwards, north and south, up
  // to the best distance so far; rows beyond reach in longitude are passed over unmeasured.
  const double kmPerDegree = kEarthKm * kPi / 180;
  // The nearest; of equally near ones the last in the table's order.
  size_t found = count_;
  // False once a row lies farther north or south than the best so far.
  auto measure = [&](size_t i) {
    Row r;
    memcpy(&r, RowAt(i), kRow);
    if (fabs(r.lat / 100000.0 - latitude) * kmPerDegree > best * (1 + 1e-9)) return false;
    double dlng = fabs(r.lng / 100000.0 - longitude);
    if (dlng > 180) dlng = 360 - dlng;
    if (dlng > reach) return true;
    const double km = Km(latitude, longitude, r.lat / 100000.0, r.lng / 100000.0);
    if (km < best || (km == best && (found == count_ || i > found))) {
      best = km;
      found = i;
      reach = reachOf(best);
    }
    return true;
  };
  const int32_t at = static_cast<int32_t>(floor(latitude * 100000));
  for (int lat = LatCell(latitude - band); lat <= LatCell(latitude + band); ++lat)
    for (int k = 0; k < lngCells; ++k) {
      const int cell = lat * kLngCells + LngCell(firstLng + k + 0.5);
      const uint32_t* first = cellRows_.data() + cellStart_[cell];
      const uint32_t* last = cellRows_.data() + cellStart_[cell + 1];
      const uint32_t* middle = std::lower_bound(first, last, at, [this](uint32_t i, int32_t v) {
        Row r;
        memcpy(&r, RowAt(i), kRow);
        return r.lat < v;
      });
      for (const uint32_t* p = middle; p < last && measure(*p); ++p) {
      }
      for (const uint32_t* p = middle; p > first && measure(p[-1]); --p) {
      }
    }
  if (found == count_) return false;
  Row r;
  memcpy(&r, RowAt(found), kRow);
  place->country.assign(r.country, 2);
  place->region = TextAt(r.region);
  place->city = TextAt(r.city);
  place->km = best;
  return true;
}

bool ParseCoordinate(const std::string& text, double limit, double* degrees) {
  // One number, or three between slashes; the first that is not zero may carry a "-".
  std::vector<std::string> fields;
  size_t at = 0;
  for (;;) {
    size_t slash = text.find('/', at);
    fields.push_back(text.substr(at, slash == std::string::npos ? std::string::npos : slash - at));
    if (slash == std::string::npos) break;
    at = slash + 1;
  }
  if (fields.size() != 1 && fields.size() != 3) return false;
  double parts[3] = {0, 0, 0};
  bool negative = false, nonZeroSeen = false;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string f = fields[i];
    const bool minus = !f.empty() && f[0] == '-';
    if (!f.empty() && (f[0] == '-' || f[0] == '+')) f = f.substr(1);
    if (f.empty() || f.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    parts[i] = strtod(f.c_str(), &end);
    if (!end || *end) return false;
    if (minus && (nonZeroSeen || parts[i] == 0)) return false;
    negative = negative || minus;
    nonZeroSeen = nonZeroSeen || parts[i] != 0;
  }
  if (fields.size() == 3 && (parts[1] >= 60 || parts[2] >= 60)) return false;
  const double v = parts[0] + parts[1] / 60 + parts[2] / 3600;
  if (!(v <= limit)) return false;
  *degrees = negative ? -v : v;
  return true;
}

std::vector<char> MakeTable(std::vector<TableRow> rows) {
  std::sort(rows.begin(), rows.end(), [](const TableRow& a, const TableRow& b) { return a.latitude < b.latitude; });
  std::string text;
  std::map<std::string, uint32_t> at;
  auto put = [&](const std::string& s) {
    auto it = at.find(s);
    if (it != at.end()) return it->second;
    uint32_t o = static_cast<uint32_t>(text.size());
    text += s;
    text += '\0';
    at[s] = o;
    return o;
  };
  std::vector<char> out(kHeader);
  memcpy(out.data(), "PLCS", 4);
  uint32_t head[3] = {1, static_cast<uint32_t>(rows.size()), 0};
  for (const TableRow& r : rows) {
    char row[kRow] = {};
    int32_t lat = static_cast<int32_t>(lround(r.latitude * 100000)), lng = static_cast<int32_t>(lround(r.longitude * 100000));
    uint32_t city = put(r.city), region = put(r.region);
    memcpy(row, &lat, 4);
    memcpy(row + 4, &lng, 4);
    memcpy(row + 8, &city, 4);
    memcpy(row + 12, &region, 4);
    memcpy(row + 16, r.country.c_str(), std::min<size_t>(2, r.country.size()));
    out.insert(out.end(), row, row + kRow);
  }
  head[2] = static_cast<uint32_t>(text.size());
  memcpy(out.data() + 4, head, sizeof head);
  out.insert(out.end(), text.begin(), text.end());
  return out;
}

}  // namespace placefinder
