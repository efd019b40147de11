// The ".cont" format (VxContFile.h).
#include "VxContFile.h"

#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <set>

#include <textkit/path.h>
#include <textkit/text.h>

#include "imaging/encode.h"
#include "imaging/exif.h"
#include "format.h"

using textkit::EqualNoCase;

namespace vxcont {

namespace {

const char kBom[] = "\xEF\xBB\xBF";

// Parses an unsigned decimal; false for anything else.
bool ParseU64(const std::string& s, uint64_t* out) {
  if (s.empty() || s.size() > 20) return false;
  uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    uint64_t next = v * 10 + static_cast<uint64_t>(c - '0');
    if (next / 10 != v) return false;
    v = next;
  }
  *out = v;
  return true;
}

bool ParseSeconds(const std::string& s, double* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  double v = strtod(s.c_str(), &end);
  if (!end || *end || !(v >= 0) || v > 1e9) return false;
  *out = v;
  return true;
}

bool ParseHex64(const std::string& s, uint64_t* out) {
  if (s.empty() || s.size() > 16) return false;
  uint64_t v = 0;
  for (char c : s) {
    int d = isdigit((unsigned char)c) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
    if (d < 0) return false;
    v = (v << 4) | static_cast<uint64_t>(d);
  }
  *out = v;
  return true;
}

// "TTTTTTTT:HEX..."; anything else, or more than kMaxMakerData bytes, leaves no data.
void ParseMakerData(const std::string& s, uint32_t* tag, std::string* data) {
  size_t colon = s.find(':');
  uint64_t t = 0;
  if (colon == std::string::npos || colon > 8 || !ParseHex64(s.substr(0, colon), &t)) return;
  std::string hex = s.substr(colon + 1), bytes;
  // No bytes, no data: a tag alone is never written.
  if (hex.empty() || hex.size() % 2 || hex.size() / 2 > kMaxMakerData) return;
  for (size_t i = 0; i < hex.size(); i += 2) {
    uint64_t b = 0;
    if (!ParseHex64(hex.substr(i, 2), &b)) return;
    bytes.push_back(static_cast<char>(b));
  }
  *tag = static_cast<uint32_t>(t);
  *data = bytes;
}

std::string FormatSeconds(double v) {
  char buf[40];
  snprintf(buf, sizeof buf, "%.3f", v);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

// A value as one line: a line break would start a new key.
std::string OneLine(const std::string& value) {
  std::string one = value;
  for (char& c : one)
    if (c == '\r' || c == '\n') c = ' ';
  return one;
}

// What the file holds of a text: one line in UTF-8, bytes that form no character left out.
std::string Encoded(const std::string& value) { return textkit::AnsiToUtf8(textkit::WellFormedOnly(OneLine(value))); }

// A text as read: what a rewrite writes back, so that a file rewritten reads as it did (a
// lone CR reads as a blank, a code of no character as the "・" it becomes).
std::string AsRead(const std::string& value) { return textkit::Trim(textkit::Utf8ToAnsi(Encoded(value))); }

// A name or path that the file gives back byte for byte: one with a code of no character
// (which would come back as "・", naming another file) is refused; one of the code page's
// second codes of a character is taken as its first, the code it comes back as.
bool Kept(const std::string& text, std::string* kept) {
  std::wstring wide;
  if (!textkit::TryAnsiToWide(text, &wide)) return false;
  std::string back;
  if (!textkit::TryWideToAnsi(wide, &back) || textkit::AnsiToWide(back) != wide) return false;
  *kept = back;
  return true;
}

// A "|"-separated list of the file, each part in ANSI; a part UTF-8 can't give in the code
// page comes as a control character, which no name or path may hold.
std::vector<std::string> Parts(const std::string& value, bool utf8) {
  if (!utf8) return textkit::Split(value, '|');  // "ポ" ends in the byte of "|"
  std::vector<std::string> parts;
  size_t pos = 0;
  for (;;) {
    size_t bar = value.find('|', pos);  // never inside a UTF-8 character
    std::string part = value.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos), ansi;
    parts.push_back(textkit::TryUtf8ToAnsi(part, &ansi) ? ansi : std::string("\x01"));
    if (bar == std::string::npos) return parts;
    pos = bar + 1;
  }
}

std::vector<std::string> MembersOf(const std::vector<std::string>& parts) {
  std::vector<std::string> out;
  std::set<std::string> seen;  // as Windows compares names: a file of many is no slower
  for (const std::string& part : parts) {
    std::string name;
    if (!Kept(textkit::Trim(part), &name) || !textkit::IsValidFileName(name)) continue;
    if (seen.insert(textkit::FoldCase(name)).second) out.push_back(name);
  }
  return out;
}

std::vector<std::string> PathsOf(const std::vector<std::string>& parts) {
  std::vector<std::string> out;
  for (const std::string& part : parts) {
    std::string p;
    if (!Kept(textkit::Trim(part), &p)) continue;
    bool full = (p.size() >= 3 && isalpha((unsigned char)p[0]) && p[1] == ':' && p[2] == '\\') ||
                (p.size() >= 3 && p[0] == '\\' && p[1] == '\\');
    bool control = false;
    for (char c : p) control = control || (unsigned char)c < 0x20;
    if (full && !control && p.size() < MAX_PATH) out.push_back(p);
  }
  return out;
}

}  // namespace

std::vector<std::string> SplitMembers(const std::string& text) { return MembersOf(textkit::Split(text, '|')); }

std::string JoinMembers(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) {
    // Only a name the reader takes back as it stands.
    if (MembersOf({n}) != std::vector<std::string>{n}) continue;
    if (!out.empty()) out += '|';
    out += n;
  }
  return out;
}

bool IsContentPath(const char* path) { return path && textkit::EndsWithNoCase(path, ".cont"); }

std::vector<std::string> SplitPaths(const std::string& text) { return PathsOf(textkit::Split(text, '|')); }

bool ParseContent(const std::string& raw, ContentInfo* out) {
  if (!out || raw.size() > kMaxContentBytes || raw.find('\0') != std::string::npos) return false;
  const std::string text = raw.compare(0, 3, kBom) == 0 ? raw.substr(3) : raw;
  // Lines, keys and separators are ASCII in either encoding; values are taken to ANSI each.
  const bool utf8 = textkit::IsValidUtf8(text);

  ContentInfo info;
  bool known = false;
  size_t rawMembers = 0;
  std::vector<std::string> sizes, times;
  std::set<std::string> seen;  // keys as folded
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::string line = textkit::Trim(text.substr(pos, eol - pos));
    pos = eol + 1;
    if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[') continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = textkit::Trim(line.substr(0, eq)), field = textkit::Trim(line.substr(eq + 1));
    if (!seen.insert(textkit::FoldCase(key)).second) continue;
    const std::string value = AsRead(utf8 ? textkit::Utf8ToAnsi(field) : field);

    uint64_t n = 0;
    if (EqualNoCase(key, "Format")) {
      known = true;
      if (ParseU64(value, &n) && n < 1000) info.format = static_cast<int>(n);
    } else if (EqualNoCase(key, "Members")) {
      known = true;
      std::vector<std::string> parts = Parts(field, utf8);
      info.members = MembersOf(parts);
      rawMembers = field.empty() ? 0 : parts.size();
    } else if (EqualNoCase(key, "Title")) {
      info.title = value;
    } else if (EqualNoCase(key, "Maker")) {
      info.maker = value;
    } else if (EqualNoCase(key, "Model")) {
      info.model = value;
    } else if (EqualNoCase(key, "MakerCode")) {
      info.makerCode = value;
    } else if (EqualNoCase(key, "ModelCode")) {
      info.modelCode = value;
    } else if (EqualNoCase(key, "RecordTime")) {
      if (auto when = imaging::ExifDateTime::Parse(value)) info.recordTime = when->ToSystemTime();
    } else if (EqualNoCase(key, "Duration")) {
      ParseSeconds(value, &info.durationSeconds);
    } else if (EqualNoCase(key, "BitRate")) {
      if (ParseU64(value, &n)) info.bitRate = n;
    } else if (EqualNoCase(key, "TotalSize")) {
      if (ParseU64(value, &n)) info.totalSize = n;
    } else if (EqualNoCase(key, "RecMode")) {
      info.recMode = value;
    } else if (EqualNoCase(key, "Exposure")) {
      info.exposure = value;
    } else if (EqualNoCase(key, "Edited")) {
      info.edited = value == "1";
    } else if (EqualNoCase(key, "BaseFolder")) {
      std::vector<std::string> one = PathsOf(Parts(field, utf8));
      if (one.size() == 1) info.baseFolder = one[0];
    } else if (EqualNoCase(key, "Items")) {
      info.items = PathsOf(Parts(field, utf8));
    } else if (EqualNoCase(key, "Thumbnails")) {
      info.thumbnails = PathsOf(Parts(field, utf8));
    } else if (EqualNoCase(key, "Options")) {
      char* end = nullptr;
      unsigned long v = strtoul(value.c_str(), &end, 16);
      if (!value.empty() && end && !*end) info.options = (uint32_t)v;
    } else if (EqualNoCase(key, "Streams")) {
      if (ParseU64(value, &n) && n <= 10000) info.streams = static_cast<int>(n);
    } else if (EqualNoCase(key, "MemberSizes")) {
      sizes = textkit::Split(value, '|');
    } else if (EqualNoCase(key, "MemberTimes")) {
      times = textkit::Split(value, '|');
    } else if (EqualNoCase(key, "MakerData")) {
      ParseMakerData(value, &info.makerDataTag, &info.makerData);
    }
  }
  if (!known) return false;
  if (info.streams > static_cast<int>(info.members.size())) info.streams = static_cast<int>(info.members.size());
  // Facts only when they still go with the members one for one.
  if (rawMembers == info.members.size() && sizes.size() == info.members.size() && times.size() == sizes.size()) {
    for (size_t i = 0; i < sizes.size(); ++i) {
      ContentInfo::MemberFacts f;
      uint64_t t = 0;
      if (!ParseU64(textkit::Trim(sizes[i]), &f.size) || !ParseHex64(textkit::Trim(times[i]), &t)) {
        info.memberFacts.clear();
        break;
      }
      f.lastWrite.dwLowDateTime = static_cast<DWORD>(t);
      f.lastWrite.dwHighDateTime = static_cast<DWORD>(t >> 32);
      info.memberFacts.push_back(f);
    }
  }
  *out = std::move(info);
  return true;
}

std::string SerializeContent(const ContentInfo& info) {
  std::string s = "[Content]\r\n";
  auto put = [&s](const char* key, const std::string& value) {
    if (value.empty()) return;
    s += key;
    s += '=';
    s += Encoded(value);
    s += "\r\n";
  };
  put("Format", std::to_string(info.format));
  s += "Members=" + Encoded(JoinMembers(info.members)) + "\r\n";
  put("Title", info.title);
  put("Maker", info.maker);
  put("Model", info.model);
  put("MakerCode", info.makerCode);
  put("ModelCode", info.modelCode);
  if (info.recordTime) {
    const SYSTEMTIME& t = *info.recordTime;
    char buf[32];
    snprintf(buf, sizeof buf, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    put("RecordTime", buf);
  }
  if (info.durationSeconds > 0) put("Duration", FormatSeconds(info.durationSeconds));
  if (info.bitRate) put("BitRate", std::to_string(info.bitRate));
  put("RecMode", info.recMode);
  put("Exposure", info.exposure);
  put("Edited", info.edited ? "1" : "0");
  if (info.totalSize) put("TotalSize", std::to_string(*info.totalSize));
  auto paths = [](const std::vector<std::string>& list) {
    std::string joined;
    for (const std::string& p : list) joined += (joined.empty() ? "" : "|") + p;
    // What the reader would drop is left out.
    std::vector<std::string> kept = SplitPaths(joined);
    joined.clear();
    for (const std::string& p : kept) joined += (joined.empty() ? "" : "|") + p;
    return joined;
  };
  put("BaseFolder", paths({info.baseFolder}));
  put("Items", paths(info.items));
  put("Thumbnails", paths(info.thumbnails));
  if (info.options) {
    char buf[16];
    snprintf(buf, sizeof buf, "%08X", (unsigned)info.options);
    put("Options", buf);
  }
  if (info.streams >= 0) put("Streams", std::to_string(info.streams));
  // Facts go with the members as written: only when every member is written.
  if (!info.memberFacts.empty() && info.memberFacts.size() == info.members.size() &&
      SplitMembers(JoinMembers(info.members)).size() == info.members.size()) {
    std::string sizes, times;
    for (const ContentInfo::MemberFacts& f : info.memberFacts) {
      char buf[24];
      snprintf(buf, sizeof buf, "%016llX",
               (unsigned long long)(((uint64_t)f.lastWrite.dwHighDateTime << 32) | f.lastWrite.dwLowDateTime));
      sizes += (sizes.empty() ? "" : "|") + std::to_string(f.size);
      times += (times.empty() ? "" : "|") + std::string(buf);
    }
    put("MemberSizes", sizes);
    put("MemberTimes", times);
  }
  if (!info.makerData.empty() && info.makerData.size() <= kMaxMakerData) {
    char buf[16];
    snprintf(buf, sizeof buf, "%08X:", (unsigned)info.makerDataTag);
    std::string v = buf;
    for (unsigned char c : info.makerData) {
      snprintf(buf, sizeof buf, "%02X", c);
      v += buf;
    }
    put("MakerData", v);
  }
  return s;
}

bool ReadContentFile(const char* path, ContentInfo* out) {
  if (!path || !*path) return false;
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  std::string bytes;
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart <= static_cast<LONGLONG>(kMaxContentBytes);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                           got == bytes.size());
  }
  CloseHandle(h);
  return ok && ParseContent(bytes, out);
}

HRESULT WriteContentFile(const char* path, const ContentInfo& info) {
  if (!path || !*path) return E_INVALIDARG;
  std::string text = SerializeContent(info);
  return imaging::WriteFileReplacing(path, text.data(), text.size());
}

}  // namespace vxcont
