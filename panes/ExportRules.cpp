#include "ExportRules.h"

#include <ICGBrowser.h>
#include <shlwapi.h>

#include <cstring>

namespace exportpane {

bool ScopeFlags(int choice, long* flags) {
  switch (choice) {
    case 0: *flags = 0; return true;
    case 1:
    case 3:
    case 6: *flags = CGFILE_SELECTED; return true;
    case 2: *flags = CGFILE_ALL_SHOWN; return true;
    case 5: *flags = CGFILE_MARKED | CGFILE_ALL; return true;
    default: return false;
  }
}

std::vector<int> PlanTiles(const std::vector<int>& orders, const std::vector<bool>& haveInfo) {
  std::vector<int> tiles;
  for (int i = 0; i < (int)orders.size() && i < kMaxTiles; ++i)
    if (i < (int)haveInfo.size() && haveInfo[i]) tiles.push_back(i);
  // Insertion keeps the earlier entry first among equal orders.
  for (size_t a = 1; a < tiles.size(); ++a) {
    int v = tiles[a];
    size_t b = a;
    while (b > 0 && orders[tiles[b - 1]] > orders[v]) {
      tiles[b] = tiles[b - 1];
      --b;
    }
    tiles[b] = v;
  }
  return tiles;
}

POINT TileOrigin(int position) {
  POINT pt = {1, kTileTop + kTileStep * position};
  return pt;
}

FinishedExport DecodeExportFinished(LPARAM lParam) {
  FinishedExport f;
  DWORD v = (DWORD)lParam;
  f.entry = (int)(v & 0x7FFFFFFFu);
  f.succeeded = (v & 0x80000000u) != 0;
  return f;
}

LPARAM EncodeExportFinished(int entry, bool succeeded) {
  DWORD v = (DWORD)entry & 0x7FFFFFFFu;
  if (succeeded) v |= 0x80000000u;
  return (LPARAM)v;
}

size_t CopyDataSize(size_t textLength) { return (textLength + 4) & ~(size_t)3; }

CheckCode ChooseCheckCode(size_t remaining, size_t removed, int filter, bool movieTooLong) {
  if (remaining == 0) return CHECK_EMPTY;
  if (filter == kUploadFilter) {
    if (removed > 0 || movieTooLong) return CHECK_UPLOAD_REFUSED;
    if (remaining > (size_t)kUploadMaxFiles) return CHECK_UPLOAD_TOO_MANY;
    return CHECK_GO;
  }
  if (removed > 0) return CHECK_SOME_REMOVED;
  return CHECK_GO;
}

bool IsIgnoredDropFile(const char* path) {
  if (!path) return true;
  const char* dot = ::PathFindExtensionA(path);
  return _stricmp(dot, ".tmb") == 0 || _stricmp(dot, ".m2ts") == 0 || _stricmp(dot, ".iis") == 0;
}

bool MovieTooLong(uint32_t numerator, uint32_t denominator, uint32_t flag, uint64_t fileSize) {
  if (fileSize > kMovieMaxBytes) return true;
  if (numerator == 0) return false;
  // Both products fit in 64 bits: two 32-bit factors, and 600 times a 32-bit value.
  return (uint64_t)denominator * flag > (uint64_t)kMovieMaxSeconds * numerator;
}

bool IsUsableDevModeFile(const void* data, size_t size) {
  if (!data || size < offsetof(DEVMODEA, dmSpecVersion) + 4) return false;
  DEVMODEA dm;
  memset(&dm, 0, sizeof(dm));
  memcpy(&dm, data, size < sizeof(dm) ? size : sizeof(dm));
  // The sizes the ANSI structure has had: before and after the display fields.
  bool knownSize = dm.dmSize == offsetof(DEVMODEA, dmICMMethod) || dm.dmSize == offsetof(DEVMODEA, dmPanningWidth) ||
                   dm.dmSize == sizeof(DEVMODEA);
  if (!knownSize) return false;
  if ((size_t)dm.dmSize + dm.dmDriverExtra != size) return false;
  return memchr(dm.dmDeviceName, 0, sizeof(dm.dmDeviceName)) != NULL;
}

}  // namespace exportpane
