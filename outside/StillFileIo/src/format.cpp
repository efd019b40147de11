// The ".iis" format (StillFileIo.h).
#include <StillFileIo.h>
#include <xxhash.h>

#include <cstring>

namespace stillfile {

namespace {
const DWORD kEndKind = 0xFFFFFFFF;

uint64_t Checksum(const char* p, size_t n) { return XXH3_64bits(p, n); }
}  // namespace

bool IsStartRecord(const STILLRECORD& r) {
  STILLSTART s;
  memcpy(&s, &r, sizeof s);
  return s.dwZero == 0 && memcmp(s.tag, "STIL", 4) == 0 && s.dwZero2 == 0;
}

std::string Serialize(const std::vector<STILLRECORD>& records) {
  std::string out(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(STILLRECORD));
  STILLRECORD end = {};
  end.dwKind = kEndKind;
  const DWORD count = static_cast<DWORD>(records.size());
  const uint64_t sum = Checksum(out.data(), out.size());
  memcpy(end.data, &count, 4);
  memcpy(end.data + 4, &sum, 8);
  out.append(reinterpret_cast<const char*>(&end), sizeof end);
  return out;
}

bool Parse(const std::string& bytes, std::vector<STILLRECORD>* records) {
  const size_t n = bytes.size() / sizeof(STILLRECORD);
  if (bytes.size() % sizeof(STILLRECORD) || n < 2 || n - 1 > STILL_MAX_RECORDS) return false;
  std::vector<STILLRECORD> all(n);
  memcpy(all.data(), bytes.data(), bytes.size());
  const STILLRECORD& end = all.back();
  DWORD count = 0;
  uint64_t sum = 0;
  memcpy(&count, end.data, 4);
  memcpy(&sum, end.data + 4, 8);
  if (end.dwKind != kEndKind || count != n - 1 || sum != Checksum(bytes.data(), (n - 1) * sizeof(STILLRECORD)) ||
      !IsStartRecord(all[0]))
    return false;
  all.pop_back();
  *records = std::move(all);
  return true;
}

}  // namespace stillfile
