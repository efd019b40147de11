#include "textkit/path.h"

#include <cstring>

#include "textkit/text.h"

namespace textkit {

namespace {

// "C:" at the start: a drive letter (a character of its own) and its colon.
bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && !IsLeadByte(static_cast<unsigned char>(path[0]));
}

}  // namespace

size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  ForEachChar(path, [&](size_t i, size_t n) {
    if (n == 1 && IsSeparator(path[i])) last = i;
  });
  return last;
}

size_t NameOffset(const std::string& path) {
  size_t sep = LastSeparator(path);
  if (sep != std::string::npos) return sep + 1;
  return HasDrive(path) ? 2 : 0;
}

std::string FolderOf(const std::string& path) {
  size_t sep = LastSeparator(path);
  if (sep == std::string::npos) return HasDrive(path) ? path.substr(0, 2) : std::string();
  // Roots keep their separator: "C:\" and "\".
  if (sep == 0 || (sep == 2 && HasDrive(path))) return path.substr(0, sep + 1);
  return path.substr(0, sep);
}

std::string FolderPartOf(const std::string& path) { return path.substr(0, NameOffset(path)); }

std::string FileNameOf(const std::string& path) { return path.substr(NameOffset(path)); }

std::string ExtensionOf(const std::string& path) {
  std::string name = FileNameOf(path);
  size_t dot = FindLast(name, '.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string TitleOf(const std::string& path) {
  std::string name = FileNameOf(path);
  size_t dot = FindLast(name, '.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Join(const std::string& folder, const std::string& name) {
  std::string tail = name;
  TrimLeadingSeparators(tail);
  if (folder.empty()) return tail;
  if (tail.empty()) return folder;
  std::string head = folder;
  TrimTrailingSeparators(head);
  return head + "\\" + tail;
}

bool EndsWithSeparator(const std::string& path) {
  bool last = false;
  ForEachChar(path, [&](size_t i, size_t n) { last = n == 1 && IsSeparator(path[i]); });
  return last;
}

std::string WithTrailingSeparator(const std::string& path) { return EndsWithSeparator(path) ? path : path + "\\"; }

std::string WithoutTrailingSeparator(const std::string& path) {
  std::string out = path;
  TrimTrailingSeparators(out);
  if (out.size() < path.size() && (out.empty() || (out.size() == 2 && HasDrive(out))))
    out = path.substr(0, out.size() + 1);
  return out;
}

void TrimTrailingSeparators(std::string& path) {
  size_t keep = 0;  // end of the last character that is no separator
  ForEachChar(path, [&](size_t i, size_t n) {
    if (n == 2 || !IsSeparator(path[i])) keep = i + n;
  });
  path.resize(keep);
}

void TrimLeadingSeparators(std::string& path) {
  size_t i = 0;
  while (i < path.size() && IsSeparator(path[i])) ++i;
  path.erase(0, i);
}

// ---- names Windows refuses ----------------------------------------------------------------

NameFault CheckFileName(const std::string& name) {
  if (name.empty()) return NameFault::Empty;
  if (name.find_first_not_of(". ") == std::string::npos) return NameFault::DotsAndBlanks;
  if (!IsWellFormed(name)) return NameFault::BadText;
  NameFault fault = NameFault::None;
  ForEachChar(name, [&](size_t i, size_t n) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (fault != NameFault::None || n != 1) return;
    if (c < 0x20)
      fault = NameFault::ControlCharacter;
    else if (strchr("\\/:*?\"<>|", c))
      fault = NameFault::ForbiddenCharacter;
  });
  if (fault != NameFault::None) return fault;
  // A device name stays one with any extension ("con.txt", "LPT1.jpg") and trailing blanks.
  std::string base = UpperAscii(name.substr(0, Find(name, '.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  for (const char* d : kDevices)
    if (base == d) return NameFault::ReservedDevice;
  if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
      base[3] <= '9')
    return NameFault::ReservedDevice;
  // Well-formed text: "." and " " are never trail bytes.
  if (name.back() == '.' || name.back() == ' ') return NameFault::TrailingDotOrBlank;
  return NameFault::None;
}

}  // namespace textkit
