#include "FolderCount.h"

#include <VxResourceIds.h>
#include <setupapi.h>
#include <textkit/path.h>

#include <cstdio>

#include "DiskTreeModule.h"
#include "DiskTreeRules.h"

namespace disktree {

namespace {

// The locale's grouping as the number format's field: "3;0" and "3" both group by threes
// all the way (Wine's Japanese locale answers "3"), "3;2;0" is 32.
UINT GroupingOf(const char* text) {
  std::string digits;
  for (const char* p = text; *p; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  if (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return digits.empty() ? 0 : static_cast<UINT>(atoi(digits.c_str()));
}

}  // namespace

std::string NumberText(LONGLONG value) {
  char raw[32];
  snprintf(raw, sizeof raw, "%lld", static_cast<long long>(value));
  char grouping[16] = {}, digits[8] = {}, decimal[8] = {}, thousand[8] = {}, negative[4] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping, sizeof grouping);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDIGITS, digits, sizeof digits);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, sizeof thousand);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_INEGNUMBER, negative, sizeof negative);
  // The user's format, its grouping read as Windows means it.
  NUMBERFMTA format = {};
  format.NumDigits = static_cast<UINT>(atoi(digits));
  format.LeadingZero = 1;
  format.Grouping = GroupingOf(grouping);
  format.lpDecimalSep = decimal;
  format.lpThousandSep = thousand;
  format.NegativeOrder = static_cast<UINT>(atoi(negative));
  char out[64] = {};
  if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, raw, &format, out, sizeof out) <= 0) return raw;
  return CutLocaleFraction(out, atoi(digits), decimal);
}

std::string SizeText(LONGLONG bytes) {
  int unit = 0;
  const std::string shortText = ShortSize(bytes, &unit);
  const std::string format = ResourceString(IDS_DISKTREE_SIZE_BYTES + unit);
  char out[512] = {};
  snprintf(out, sizeof out, format.c_str(), shortText.c_str(), NumberText(bytes).c_str());
  return out;
}

std::string ContentsText(LONGLONG files, LONGLONG folders) {
  char out[512] = {};
  snprintf(out, sizeof out, ResourceString(IDS_DISKTREE_CONTENTS).c_str(), NumberText(files).c_str(),
           NumberText(folders).c_str());
  return out;
}

namespace {

LONGLONG ClusterRounded(const std::string& drive, LONGLONG size) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  const std::string root = drive + "\\";
  const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
  const BOOL ok = GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters);
  SetErrorMode(old);
  const LONGLONG cluster = static_cast<LONGLONG>(sectorsPerCluster) * bytesPerSector;
  if (!ok || cluster <= 0) return size;
  return (size + cluster - 1) / cluster * cluster;
}

}  // namespace

LONGLONG SizeOnDisk(const std::string& path, LONGLONG size) {
  if (path.size() < 2 || path[1] != ':' || !isalpha(static_cast<unsigned char>(path[0]))) return 0;
  const std::string drive = path.substr(0, 2);
  LONGLONG required = 0;
  if (HDSKSPC list = SetupCreateDiskSpaceListA(nullptr, 0, SPDSL_IGNORE_DISK)) {
    LONGLONG answer = 0;
    if (SetupAddToDiskSpaceListA(list, path.c_str(), size, FILEOP_COPY, nullptr, 0) &&
        SetupQuerySpaceRequiredOnDriveA(list, drive.c_str(), &answer, nullptr, 0))
      required = answer;
    SetupDestroyDiskSpaceList(list);
  }
  if (required <= 0 && size > 0) required = ClusterRounded(drive, size);
  return required;
}

std::string PropertiesPath(const std::string& path) {
  std::string p = path;
  textkit::TrimTrailingSeparators(p);
  return p;
}

std::string LocationOf(const std::string& path) {
  const std::string p = PropertiesPath(path);
  const size_t slash = textkit::LastSeparator(p);
  std::string location = slash == std::string::npos ? std::string() : p.substr(0, slash);
  if (!location.empty() && location.back() == ':') location += '\\';
  return location;
}

std::string CreatedText(const std::string& path) {
  WIN32_FIND_DATAA found = {};
  HANDLE h = FindFirstFileA(PropertiesPath(path).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  FindClose(h);
  if (!found.ftCreationTime.dwLowDateTime && !found.ftCreationTime.dwHighDateTime) return std::string();
  FILETIME local = {};
  SYSTEMTIME st = {};
  if (!FileTimeToLocalFileTime(&found.ftCreationTime, &local) || !FileTimeToSystemTime(&local, &st))
    return std::string();
  char date[128] = {}, time[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time);
  return std::string(date) + "   " + time;
}

bool CountFolder(const std::string& folder, FolderCount* count, const std::function<bool()>& afterEntry,
                 const std::function<void()>& folderDone) {
  std::string base = PropertiesPath(folder) + '\\';
  WIN32_FIND_DATAA found = {};
  HANDLE h = FindFirstFileA((base + "*.*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, "..")) continue;
      const std::string path = base + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        ++count->folders;
        if (!CountFolder(path, count, afterEntry, folderDone)) {
          FindClose(h);
          return false;
        }
      } else {
        const LONGLONG size = (static_cast<LONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        ++count->files;
        count->size += size;
        count->onDisk += SizeOnDisk(path, size);
      }
      if (afterEntry && !afterEntry()) {
        FindClose(h);
        return false;
      }
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  if (folderDone) folderDone();
  return true;
}

}  // namespace disktree
