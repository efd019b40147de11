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
  return true;
}

const PlaceTable::Row* PlaceTable::RowAt(size_t i) const {
  return reinterpret_cast<const Row*>(bytes_.data() + kHeader + i * kRow);
}

const char* PlaceTable::TextAt(unsigned offset) const { return bytes_.data() + kHeader + count_ * kRow + offset; }

bool PlaceTable::Nearest(double latitude, double longitude, Place* place) const {
  if (Empty()) return false;
  // Only rows within the distance's band of latitude can be near.
  const double band = kMaxPlaceKm / 111.0 + 0.01;
  const int32_t from = static_cast<int32_t>(floor((latitude - band) * 100000));
  const int32_t to = static_cast<int32_t>(ceil((latitude + band) * 100000));
  size_t lo = 0, hi = count_;
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    Row r;
    memcpy(&r, RowAt(mid), kRow);
    if (r.lat < from)
      lo = mid + 1;
    else
      hi = mid;
  }
  // The band spans the globe; of its rows only those within reach in longitude are
  // measured. Two points at most edge degrees from the equator and dlng apart lie at least
  // 2R asin(cos(edge) sin(dlng / 2)) apart.
  const double cosEdge = cos(std::min(90.0, fabs(latitude) + band) * kPi / 180);
  auto reachOf = [cosEdge](double km) {
    const double s = cosEdge > 1e-9 ? sin(km / (2 * kEarthKm)) / cosEdge : 2;
    return s >= 1 ? 360.0 : 2 * asin(s) * 180 / kPi;
  };
  double best = kMaxPlaceKm, reach = reachOf(best);
  size_t found = count_;
  for (size_t i = lo; i < count_; ++i) {
    Row r;
    memcpy(&r, RowAt(i), kRow);
    if (r.lat > to) break;
    double dlng = fabs(r.lng / 100000.0 - longitude);
    if (dlng > 180) dlng = 360 - dlng;
    if (dlng > reach) continue;
    const double km = Km(latitude, longitude, r.lat / 100000.0, r.lng / 100000.0);
    if (km <= best) {
      best = km;
      found = i;
      reach = reachOf(best);
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
