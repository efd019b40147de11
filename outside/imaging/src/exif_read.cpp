// The TIFF/Exif reader: IFDs read through a bounds-checked byte source.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

#include "imaging/exif.h"
#include "internal.h"

namespace imaging {

using detail::Get16;
using detail::Get32;

namespace {

constexpr uint32_t kMaxEntries = 1024;        // more in one IFD means a corrupt file
constexpr uint32_t kMaxValueBytes = 1 << 20;  // larger values are not kept
constexpr uint32_t kMaxThumbnail = 1 << 20;

// Reads the IFD at pos into entries. False when the IFD itself is unreadable;
// entries whose values point outside the data are left out.
bool ReadIfd(const ByteSource& src, uint32_t pos, bool be, std::vector<ExifEntry>* entries, uint32_t* next) {
  uint8_t head[2];
  if (pos < 8 || !src.Read(pos, head, 2)) return false;
  uint32_t count = Get16(head, be);
  if (count == 0 || count > kMaxEntries) return false;
  std::vector<uint8_t> raw(size_t(count) * 12);
  if (!src.Read(uint64_t(pos) + 2, raw.data(), raw.size())) return false;
  if (next) {
    uint8_t n[4];
    *next = src.Read(uint64_t(pos) + 2 + raw.size(), n, 4) ? Get32(n, be) : 0;
  }
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = raw.data() + size_t(i) * 12;
    ExifEntry entry;
    entry.tag = Get16(e, be);
    entry.type = Get16(e + 2, be);
    entry.count = Get32(e + 4, be);
    entry.entryPos = pos + 2 + i * 12;
    entry.bigEndian = be;
    size_t unit = ExifTypeSize(entry.type);
    if (unit == 0) continue;
    uint64_t bytes = uint64_t(unit) * entry.count;
    if (bytes > kMaxValueBytes) continue;
    if (bytes <= 4) {
      entry.valuePos = entry.entryPos + 8;
      entry.data.assign(e + 8, e + 8 + bytes);
    } else {
      entry.valuePos = Get32(e + 8, be);
      entry.data.resize(size_t(bytes));
      if (!src.Read(entry.valuePos, entry.data.data(), entry.data.size())) continue;
    }
    entries->push_back(std::move(entry));
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DaysInMonth(int y, int m) {
  static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
  return d[m - 1];
}

// A GPS rational as its magnitude and sign. Rationals (type 5) are the rule, but
// phones write signed rationals (type 10) too.
struct GpsRational {
  Rational magnitude;
  bool negative = false;
};

std::optional<GpsRational> GpsValue(const ExifEntry& e, size_t i) {
  if (auto r = e.Rat(i)) return GpsRational{*r, false};
  auto r = e.SRat(i);
  if (!r) return std::nullopt;
  int64_t num = r->num, den = r->den;
  GpsRational g;
  g.negative = (num < 0) != (den < 0) && num != 0;
  g.magnitude.num = uint32_t(num < 0 ? -num : num);
  g.magnitude.den = uint32_t(den < 0 ? -den : den);
  return g;
}

std::optional<GpsCoordinate> ReadCoordinate(const Exif& exif, uint16_t valueTag, uint16_t refTag, char negative,
                                            double limit) {
  const ExifEntry* v = exif.Find(ExifIfd::Gps, valueTag);
  if (!v || v->ValueCount() < 3) return std::nullopt;
  GpsCoordinate c;
  auto d = GpsValue(*v, 0), m = GpsValue(*v, 1), s = GpsValue(*v, 2);
  if (!d || !m || !s || !d->magnitude.Valid()) return std::nullopt;
  // Signed parts are all of one sign, the sign the whole coordinate's.
  bool minus = d->negative || m->negative || s->negative;
  if (minus && ((d->magnitude.num && !d->negative) || (m->magnitude.num && !m->negative) ||
                (s->magnitude.num && !s->negative)))
    return std::nullopt;
  c.degrees = d->magnitude;
  c.minutes = m->magnitude;
  c.seconds = s->magnitude;
  // A zero denominator in minutes or seconds means "not given" in some writers.
  double value = c.degrees.Value() + c.minutes.Value() / 60.0 + c.seconds.Value() / 3600.0;
  if (!std::isfinite(value) || value > limit) return std::nullopt;
  std::string ref = exif.Text(ExifIfd::Gps, refTag).value_or("");
  c.ref = ref.empty() ? 0 : char(toupper(static_cast<unsigned char>(ref[0])));
  // The reference names the hemisphere; a negative value without one lies in the
  // southern or western half.
  if (!c.ref && minus) c.ref = negative;
  c.decimal = c.ref == negative ? -value : value;
  return c;
}

}  // namespace

size_t ExifTypeSize(uint16_t type) {
  switch (type) {
    case kTypeByte: case kTypeAscii: case kTypeSByte: case kTypeUndefined: return 1;
    case kTypeShort: case kTypeSShort: return 2;
    case kTypeLong: case kTypeSLong: case kTypeFloat: return 4;
    case kTypeRational: case kTypeSRational: case kTypeDouble: return 8;
    default: return 0;
  }
}

// ---- ExifEntry --------------------------------------------------------------

size_t ExifEntry::ValueCount() const {
  size_t unit = ExifTypeSize(type);
  return unit ? data.size() / unit : 0;
}

std::optional<uint32_t> ExifEntry::UInt(size_t i) const {
  if (i >= ValueCount()) return std::nullopt;
  switch (type) {
    case kTypeByte: return data[i];
    case kTypeShort: return Get16(&data[i * 2], bigEndian);
    case kTypeLong: return Get32(&data[i * 4], bigEndian);
    default: return std::nullopt;
  }
}

std::optional<int64_t> ExifEntry::Int(size_t i) const {
  if (i >= ValueCount()) return std::nullopt;
  switch (type) {
    case kTypeSByte: return int8_t(data[i]);
    case kTypeSShort: return int16_t(Get16(&data[i * 2], bigEndian));
    case kTypeSLong: return int32_t(Get32(&data[i * 4], bigEndian));
    default: {
      auto u = UInt(i);
      if (!u) return std::nullopt;
      return int64_t(*u);
    }
  }
}

std::optional<Rational> ExifEntry::Rat(size_t i) const {
  if (type != kTypeRational || i >= ValueCount()) return std::nullopt;
  return Rational{Get32(&data[i * 8], bigEndian), Get32(&data[i * 8 + 4], bigEndian)};
}

std::optional<SRational> ExifEntry::SRat(size_t i) const {
  if (type != kTypeSRational || i >= ValueCount()) return std::nullopt;
  return SRational{int32_t(Get32(&data[i * 8], bigEndian)), int32_t(Get32(&data[i * 8 + 4], bigEndian))};
}

std::optional<double> ExifEntry::Real(size_t i) const {
  if (i >= ValueCount()) return std::nullopt;
  switch (type) {
    case kTypeRational: {
      Rational r = *Rat(i);
      if (!r.Valid()) return std::nullopt;
      return r.Value();
    }
    case kTypeSRational: {
      SRational r = *SRat(i);
      if (!r.Valid()) return std::nullopt;
      return r.Value();
    }
    case kTypeFloat: {
      uint32_t b = Get32(&data[i * 4], bigEndian);
      float f;
      memcpy(&f, &b, 4);
      return double(f);
    }
    case kTypeDouble: {
      uint64_t b = uint64_t(Get32(&data[i * 8], bigEndian));
      uint64_t c = uint64_t(Get32(&data[i * 8 + 4], bigEndian));
      uint64_t bits = bigEndian ? (b << 32 | c) : (c << 32 | b);
      double d;
      memcpy(&d, &bits, 8);
      return d;
    }
    default: {
      auto v = Int(i);
      if (!v) return std::nullopt;
      return double(*v);
    }
  }
}

std::string ExifEntry::Text() const {
  if (type != kTypeAscii && type != kTypeUndefined && type != kTypeByte) return std::string();
  size_t n = 0;
  while (n < data.size() && data[n]) ++n;
  while (n > 0 && (data[n - 1] == ' ')) --n;
  return std::string(reinterpret_cast<const char*>(data.data()), n);
}

// ---- ExifDateTime -----------------------------------------------------------

std::optional<ExifDateTime> ExifDateTime::Parse(const std::string& text) {
  // YYYY?MM?DD[ HH:MM[:SS]]
  const char* s = text.c_str();
  while (*s == ' ') ++s;
  auto num = [](const char*& p, int digits, int* v) {
    int r = 0;
    for (int i = 0; i < digits; ++i, ++p) {
      if (!IsDigit(*p)) return false;
      r = r * 10 + (*p - '0');
    }
    *v = r;
    return true;
  };
  auto sep = [](const char*& p, const char* allowed) {
    if (!*p || !strchr(allowed, *p)) return false;
    ++p;
    return true;
  };
  ExifDateTime t;
  if (!num(s, 4, &t.year) || !sep(s, ":-/") || !num(s, 2, &t.month) || !sep(s, ":-/") || !num(s, 2, &t.day))
    return std::nullopt;
  if (*s == ' ' || *s == 'T') {
    ++s;
    if (!num(s, 2, &t.hour) || !sep(s, ":") || !num(s, 2, &t.minute)) return std::nullopt;
    if (*s == ':' && (++s, !num(s, 2, &t.second))) return std::nullopt;
  }
  // What follows is not read: a zone some phones add ("Z", "+09:00") leaves the clock
  // time as written, the time the camera showed.
  if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month) ||
      t.hour > 23 || t.minute > 59 || t.second > 59)
    return std::nullopt;
  return t;
}

void ExifDateTime::SetSubSeconds(const std::string& digits) {
  int ms = 0, n = 0;
  for (char c : digits) {
    if (c == ' ') continue;
    if (!IsDigit(c)) break;
    if (n < 3) ms = ms * 10 + (c - '0');
    ++n;
  }
  for (int i = n; i < 3 && n > 0; ++i) ms *= 10;
  millisecond = n > 0 ? ms : 0;
}

std::optional<int64_t> ExifDateTime::Seconds() const {
  SYSTEMTIME st = ToSystemTime();
  st.wMilliseconds = 0;
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft)) return std::nullopt;
  return int64_t((uint64_t(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000000);
}

std::optional<ExifDateTime> ExifDateTime::Shifted(int64_t seconds) const {
  auto from = Seconds();
  if (!from) return std::nullopt;
  int64_t to = *from + seconds;
  if (to < 0) return std::nullopt;
  uint64_t ticks = uint64_t(to) * 10000000;
  FILETIME ft = {DWORD(ticks), DWORD(ticks >> 32)};
  SYSTEMTIME st;
  if (!FileTimeToSystemTime(&ft, &st) || st.wYear > 9999) return std::nullopt;
  ExifDateTime d;
  d.year = st.wYear, d.month = st.wMonth, d.day = st.wDay;
  d.hour = st.wHour, d.minute = st.wMinute, d.second = st.wSecond;
  d.millisecond = millisecond;
  return d;
}

SYSTEMTIME ExifDateTime::ToSystemTime() const {
  SYSTEMTIME st = {};
  st.wYear = WORD(year);
  st.wMonth = WORD(month);
  st.wDay = WORD(day);
  st.wHour = WORD(hour);
  st.wMinute = WORD(minute);
  st.wSecond = WORD(second);
  st.wMilliseconds = WORD(millisecond);
  // Day of week by Zeller's rule (0 = Sunday), as FILETIME conversions give it.
  int y = year, m = month;
  if (m < 3) {
    m += 12;
    --y;
  }
  int h = (day + 13 * (m + 1) / 5 + y + y / 4 - y / 100 + y / 400) % 7;  // 0 = Saturday
  st.wDayOfWeek = WORD((h + 6) % 7);
  return st;
}

std::string ExifDateTime::ToString() const {
  char buf[32];
  snprintf(buf, sizeof buf, "%04d:%02d:%02d %02d:%02d:%02d", year % 10000, month % 100, day % 100, hour % 100,
           minute % 100, second % 100);
  return buf;
}

// ---- Exif -------------------------------------------------------------------

void Exif::Clear() { *this = Exif(); }

bool Exif::ParseTiff(const void* data, size_t size, uint64_t filePos) {
  Clear();
  if (!data) return false;
  block_.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  MemorySource src(block_.data(), block_.size());
  fromJpeg_ = true;
  tiffPos_ = filePos;
  if (!ParseSource(src)) {
    Clear();
    return false;
  }
  return true;
}

bool Exif::LoadFrom(const ByteSource& src) {
  Clear();
  uint8_t head[4];
  if (!src.Read(0, head, 4)) return false;
  if (head[0] == 0xFF && head[1] == 0xD8) {
    detail::JpegLayout layout;
    if (!detail::ScanJpeg(src, &layout) || !layout.hasExif) return false;
    std::vector<uint8_t> block(layout.tiffSize);
    if (!src.Read(layout.tiffPos, block.data(), block.size())) return false;
    return ParseTiff(block.data(), block.size(), layout.tiffPos);
  }
  if (!ParseSource(src)) {
    Clear();
    return false;
  }
  return true;
}

bool Exif::LoadMemory(const void* data, size_t size) {
  Clear();
  if (!data) return false;
  return LoadFrom(MemorySource(data, size));
}

bool Exif::Load(const char* path) {
  Clear();
  detail::FileReader file;
  if (FAILED(file.Open(path))) return false;
  return LoadFrom(file);
}

bool Exif::ParseSource(const ByteSource& src) {
  uint8_t h[8];
  if (!src.Read(0, h, 8)) return false;
  if (h[0] == 'I' && h[1] == 'I')
    bigEndian_ = false;
  else if (h[0] == 'M' && h[1] == 'M')
    bigEndian_ = true;
  else
    return false;
  if (Get16(h + 2, bigEndian_) != 42) return false;
  uint32_t next = 0;
  std::set<uint32_t> seen;
  auto read = [&](ExifIfd which, uint32_t pos, uint32_t* nextOut) {
    if (pos == 0 || !seen.insert(pos).second) return false;
    if (!ReadIfd(src, pos, bigEndian_, &ifds_[size_t(which)], nextOut)) return false;
    ifdPos_[size_t(which)] = pos;
    return true;
  };
  if (!read(ExifIfd::Ifd0, Get32(h + 4, bigEndian_), &next)) return false;
  valid_ = true;
  if (auto p = UInt(ExifIfd::Ifd0, tag::kExifIfd)) read(ExifIfd::Exif, *p, nullptr);
  if (auto p = UInt(ExifIfd::Ifd0, tag::kGpsIfd)) read(ExifIfd::Gps, *p, nullptr);
  if (auto p = UInt(ExifIfd::Exif, tag::kInteropIfd)) read(ExifIfd::Interop, *p, nullptr);
  if (next) read(ExifIfd::Ifd1, next, nullptr);
  ReadThumbnail(src);
  ReadMakerNote();
  return true;
}

void Exif::ReadThumbnail(const ByteSource& src) {
  auto pos = UInt(ExifIfd::Ifd1, tag::kThumbnailOffset);
  auto len = UInt(ExifIfd::Ifd1, tag::kThumbnailLength);
  if (!pos || !len || *len < 4 || *len > kMaxThumbnail) return;
  std::vector<uint8_t> bytes(*len);
  if (!src.Read(*pos, bytes.data(), bytes.size())) return;
  if (bytes[0] != 0xFF || bytes[1] != 0xD8) return;
  thumbnail_ = std::move(bytes);
  thumbPos_ = *pos;
}

void Exif::ReadMakerNote() {
  const ExifEntry* e = Find(ExifIfd::Exif, tag::kMakerNote);
  if (!e) return;
  makerNote_ = e->data;
  static const char kSig[8] = {'N', 'o', 'r', 'v', 'a', 'n', 'e', '\0'};
  if (makerNote_.size() < 16 || memcmp(makerNote_.data(), kSig, 8) != 0) return;
  MemorySource inner(makerNote_.data() + 8, makerNote_.size() - 8);
  uint8_t h[8];
  if (!inner.Read(0, h, 8)) return;
  bool be;
  if (h[0] == 'I' && h[1] == 'I')
    be = false;
  else if (h[0] == 'M' && h[1] == 'M')
    be = true;
  else
    return;
  if (Get16(h + 2, be) != 42) return;
  makerValid_ = ReadIfd(inner, Get32(h + 4, be), be, &makerEntries_, nullptr);
  if (!makerValid_) makerEntries_.clear();
}

const std::vector<ExifEntry>& Exif::Entries(ExifIfd ifd) const {
  static const std::vector<ExifEntry> kNone;
  size_t i = size_t(ifd);
  return i < size_t(ExifIfd::Count) ? ifds_[i] : kNone;
}

const ExifEntry* Exif::Find(ExifIfd ifd, uint16_t t) const {
  for (const ExifEntry& e : Entries(ifd))
    if (e.tag == t) return &e;
  return nullptr;
}

const ExifEntry* Exif::FindMakerNote(uint16_t t) const {
  for (const ExifEntry& e : makerEntries_)
    if (e.tag == t) return &e;
  return nullptr;
}

std::optional<std::vector<int64_t>> Exif::MakerNoteValues(uint16_t t) const {
  const ExifEntry* e = FindMakerNote(t);
  if (!e || e->type == kTypeAscii || e->type == kTypeUndefined) return std::nullopt;
  std::vector<int64_t> values;
  for (size_t i = 0; i < e->ValueCount(); ++i) {
    auto v = e->Real(i);
    if (!v) return std::nullopt;
    values.push_back(int64_t(*v));
  }
  if (values.empty()) return std::nullopt;
  return values;
}

std::optional<std::string> Exif::Text(ExifIfd ifd, uint16_t t) const {
  const ExifEntry* e = Find(ifd, t);
  if (!e || e->type != kTypeAscii) return std::nullopt;
  return e->Text();
}

std::optional<Exif::Comment> Exif::UserComment() const {
  const ExifEntry* e = Find(ExifIfd::Exif, tag::kUserComment);
  if (!e || e->data.size() <= 8) return std::nullopt;
  const char* code = reinterpret_cast<const char*>(e->data.data());
  const uint8_t* p = e->data.data() + 8;
  size_t n = e->data.size() - 8;
  Comment c;
  if (memcmp(code, "UNICODE\0", 8) == 0) {
    std::wstring w;
    for (size_t i = 0; i + 1 < n; i += 2) {
      wchar_t ch = e->bigEndian ? wchar_t((p[i] << 8) | p[i + 1]) : wchar_t(p[i] | (p[i + 1] << 8));
      if (!ch) break;
      w += ch;
    }
    c.text = textkit::WideToUtf8(w);
    c.utf8 = true;
  } else if (memcmp(code, "ASCII\0\0\0", 8) == 0 || std::all_of(code, code + 8, [](char ch) { return ch == 0; })) {
    c.text.assign(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), n));
  } else {
    return std::nullopt;
  }
  while (!c.text.empty() && c.text.back() == ' ') c.text.pop_back();
  if (c.text.empty()) return std::nullopt;
  return c;
}

std::optional<uint32_t> Exif::UInt(ExifIfd ifd, uint16_t t, size_t i) const {
  const ExifEntry* e = Find(ifd, t);
  return e ? e->UInt(i) : std::nullopt;
}

std::optional<Rational> Exif::Rat(ExifIfd ifd, uint16_t t, size_t i) const {
  const ExifEntry* e = Find(ifd, t);
  return e ? e->Rat(i) : std::nullopt;
}

std::string Exif::Make() const { return Text(ExifIfd::Ifd0, tag::kMake).value_or(""); }
std::string Exif::Model() const { return Text(ExifIfd::Ifd0, tag::kModel).value_or(""); }

int Exif::Orientation() const {
  auto o = UInt(ExifIfd::Ifd0, tag::kOrientation);
  return o && *o >= 1 && *o <= 8 ? int(*o) : 0;
}

namespace {
std::optional<ExifDateTime> DateOf(const Exif& e, ExifIfd ifd, uint16_t t, uint16_t subTag) {
  auto text = e.Text(ifd, t);
  if (!text) return std::nullopt;
  auto d = ExifDateTime::Parse(*text);
  if (d) {
    if (auto sub = e.Text(ExifIfd::Exif, subTag)) d->SetSubSeconds(*sub);
  }
  return d;
}
}  // namespace

std::optional<ExifDateTime> Exif::DateTimeOriginal() const {
  return DateOf(*this, ExifIfd::Exif, tag::kDateTimeOriginal, tag::kSubSecTimeOriginal);
}
std::optional<ExifDateTime> Exif::DateTimeDigitized() const {
  return DateOf(*this, ExifIfd::Exif, tag::kDateTimeDigitized, tag::kSubSecTimeDigitized);
}
std::optional<ExifDateTime> Exif::DateTime() const {
  return DateOf(*this, ExifIfd::Ifd0, tag::kDateTime, tag::kSubSecTime);
}

std::optional<ExifDateTime> Exif::ShotDate() const {
  if (auto d = DateTimeOriginal()) return d;
  if (auto d = DateTimeDigitized()) return d;
  return DateTime();
}

std::optional<Rational> Exif::ExposureTime() const { return Rat(ExifIfd::Exif, tag::kExposureTime); }
std::optional<Rational> Exif::FNumber() const { return Rat(ExifIfd::Exif, tag::kFNumber); }
std::optional<Rational> Exif::FocalLength() const { return Rat(ExifIfd::Exif, tag::kFocalLength); }
std::optional<uint32_t> Exif::Iso() const { return UInt(ExifIfd::Exif, tag::kIsoSpeed); }
std::optional<uint32_t> Exif::Flash() const { return UInt(ExifIfd::Exif, tag::kFlash); }
std::optional<uint32_t> Exif::WhiteBalance() const { return UInt(ExifIfd::Exif, tag::kWhiteBalance); }
std::optional<uint32_t> Exif::ExposureProgram() const { return UInt(ExifIfd::Exif, tag::kExposureProgram); }
std::optional<uint32_t> Exif::SceneCaptureType() const { return UInt(ExifIfd::Exif, tag::kSceneCaptureType); }

std::optional<SIZE> Exif::PixelDimensions() const {
  auto w = UInt(ExifIfd::Exif, tag::kPixelXDimension), h = UInt(ExifIfd::Exif, tag::kPixelYDimension);
  if (!w || !h || *w == 0 || *h == 0 || *w > 0x7FFFFFFF || *h > 0x7FFFFFFF) return std::nullopt;
  return SIZE{LONG(*w), LONG(*h)};
}

std::optional<SIZE> Exif::ImageDimensions() const {
  auto w = UInt(ExifIfd::Ifd0, tag::kImageWidth), h = UInt(ExifIfd::Ifd0, tag::kImageLength);
  if (!w || !h || *w == 0 || *h == 0 || *w > 0x7FFFFFFF || *h > 0x7FFFFFFF) return std::nullopt;
  return SIZE{LONG(*w), LONG(*h)};
}

std::optional<GpsInfo> Exif::Gps() const {
  if (Entries(ExifIfd::Gps).empty()) return std::nullopt;
  GpsInfo g;
  g.latitude = ReadCoordinate(*this, tag::kGpsLatitude, tag::kGpsLatitudeRef, 'S', 90.0);
  g.longitude = ReadCoordinate(*this, tag::kGpsLongitude, tag::kGpsLongitudeRef, 'W', 180.0);
  const ExifEntry* altitude = Find(ExifIfd::Gps, tag::kGpsAltitude);
  if (auto alt = altitude ? GpsValue(*altitude, 0) : std::nullopt; alt && alt->magnitude.Valid()) {
    g.altitude = alt->magnitude;
    // Below sea level by the reference, or by a negative signed value.
    bool below = UInt(ExifIfd::Gps, tag::kGpsAltitudeRef).value_or(0) == 1;
    if (alt->negative) below = true;
    g.altitudeRef = below ? 1 : 0;
    g.altitudeMetres = below ? -alt->magnitude.Value() : alt->magnitude.Value();
  }
  g.dateStamp = Text(ExifIfd::Gps, tag::kGpsDateStamp).value_or("");
  if (const ExifEntry* t = Find(ExifIfd::Gps, tag::kGpsTimeStamp); t && t->ValueCount() >= 3) {
    std::array<Rational, 3> ts;
    bool ok = true;
    for (size_t i = 0; i < 3; ++i) {
      auto r = t->Rat(i);
      if (!r || !r->Valid()) ok = false;
      if (r) ts[i] = *r;
    }
    if (ok) g.timeStamp = ts;
  }
  g.mapDatum = Text(ExifIfd::Gps, tag::kGpsMapDatum).value_or("");
  if (!g.latitude && !g.longitude && !g.altitude) return std::nullopt;
  return g;
}

}  // namespace imaging
