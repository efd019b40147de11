#include "card_core.h"

#include <winioctl.h>

#include <cctype>

#include <textkit/textkit.h>

namespace kitlibex {

namespace {

bool IsNameChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

std::string LastComponent(const std::string& path, std::string* parent) {
  std::string p = path;
  textkit::TrimTrailingSeparators(p);
  size_t sep = textkit::LastSeparator(p);
  if (parent) {
    *parent = sep == std::string::npos ? std::string() : p.substr(0, sep);
    textkit::TrimTrailingSeparators(*parent);
  }
  return sep == std::string::npos ? p : p.substr(sep + 1);
}

// RAII: no "insert a disk" box while a removable drive is probed.
struct QuietErrors {
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  ~QuietErrors() { SetErrorMode(old); }
};

}  // namespace

bool IsDcfFolderName(const std::string& name) {
  if (name.size() != 8) return false;
  for (int i = 0; i < 3; ++i)
    if (!IsDigit(name[i])) return false;
  int number = (name[0] - '0') * 100 + (name[1] - '0') * 10 + (name[2] - '0');
  if (number < 100) return false;
  for (int i = 3; i < 8; ++i)
    if (!IsNameChar(name[i])) return false;
  return true;
}

bool IsImFolderName(const std::string& name) {
  if (name.size() != 8) return false;
  if (toupper(static_cast<unsigned char>(name[0])) != 'I' || toupper(static_cast<unsigned char>(name[1])) != 'M')
    return false;
  if (!IsDigit(name[2]) || !IsDigit(name[3])) return false;
  for (int i = 4; i < 8; ++i)
    if (!IsNameChar(name[i])) return false;
  return true;
}

int CardFolderAnswer(const std::string& path) {
  std::string name = LastComponent(path, nullptr);
  return (IsDcfFolderName(name) || IsImFolderName(name)) ? 0 : 1;
}

bool IsSdVideoProgrammeName(const std::string& name) {
  if (name.size() != 6) return false;
  std::string up = textkit::UpperAscii(name);
  if (up[0] != 'P' || up[1] != 'R' || (up[2] != 'G' && up[2] != 'L')) return false;
  if (!IsHex(up[3]) || !IsHex(up[4]) || !IsHex(up[5])) return false;
  return up.compare(3, 3, "000") != 0;
}

int SdVideoFolderAnswer(const std::string& path) {
  std::string parent;
  std::string name = LastComponent(path, &parent);
  std::string parentName = textkit::UpperAscii(LastComponent(parent, nullptr));
  return (parentName == "SD_VIDEO" && IsSdVideoProgrammeName(name)) ? 0 : 1;
}

std::string CardDriveLetters() {
  QuietErrors quiet;
  std::string out;
  DWORD mask = GetLogicalDrives();
  for (int i = 2; i < 26; ++i) {  // A: and B: are floppy drives, never card readers
    if (!(mask & (1u << i))) continue;
    char root[4] = {static_cast<char>('A' + i), ':', '\\', 0};
    if (GetDriveTypeA(root) != DRIVE_REMOVABLE) continue;
    // A reader without a card has no volume.
    if (!GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) continue;
    out += root[0];
    out += ',';
  }
  return out;
}

int IsSdBusDrive(int driveNumber) {
  if (driveNumber < 1 || driveNumber > 26) return 0;
  char root[4] = {static_cast<char>('A' + driveNumber - 1), ':', '\\', 0};
  if (GetDriveTypeA(root) != DRIVE_REMOVABLE) return 0;
  char device[8] = {'\\', '\\', '.', '\\', root[0], ':', 0};
  QuietErrors quiet;
  HANDLE h = CreateFileA(device, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  STORAGE_PROPERTY_QUERY q = {};
  q.PropertyId = StorageDeviceProperty;
  q.QueryType = PropertyStandardQuery;
  BYTE buf[1024] = {};
  DWORD got = 0;
  BOOL ok = DeviceIoControl(h, IOCTL_STORAGE_QUERY_PROPERTY, &q, sizeof(q), buf, sizeof(buf), &got, nullptr);
  CloseHandle(h);
  if (!ok || got < sizeof(STORAGE_DEVICE_DESCRIPTOR)) return 0;
  const auto* d = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(buf);
  return d->BusType == BusTypeSd ? 1 : 0;
}

}  // namespace kitlibex
