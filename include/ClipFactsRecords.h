// The records the upload plug-in hands to the content-information writer of ClipFacts.
// Both sides compile this one declaration: the path pointers are pointer-sized, so the
// thumbnail record is 20 bytes on x64 (packed to 4, as the 32-bit layout was).
#pragma once
#include <windows.h>

#include <cstddef>

#pragma pack(push, 4)
struct CLIPFACTS_CLIPINFO {
  SYSTEMTIME stRecordTime;  // local time; all zero when unknown
  BYTE reserved1[48];
  LONGLONG llFileSize;  // bytes
  LONGLONG llDuration;  // 100-nanosecond units, 0 when unknown
  BYTE reserved2[584];
};
struct CLIPFACTS_ITEM {
  BYTE reserved[24];
  LPCWSTR pszPath;
};
struct CLIPFACTS_THUMBNAIL {
  DWORD dwReserved;  // 0
  FILETIME ftRecordTime;
  LPCWSTR pszPath;  // the ".tmb" file
};
#pragma pack(pop)
static_assert(sizeof(CLIPFACTS_CLIPINFO) == 664, "clip information layout");
static_assert(offsetof(CLIPFACTS_CLIPINFO, llFileSize) == 64, "clip information layout");
static_assert(offsetof(CLIPFACTS_CLIPINFO, llDuration) == 72, "clip information layout");
static_assert(sizeof(CLIPFACTS_ITEM) == 32 && offsetof(CLIPFACTS_ITEM, pszPath) == 24, "item layout");
static_assert(offsetof(CLIPFACTS_THUMBNAIL, ftRecordTime) == 4 && offsetof(CLIPFACTS_THUMBNAIL, pszPath) == 12,
              "thumbnail layout");

// The option the upload sets on every file it writes: the file names full paths (items,
// thumbnails) instead of members beside it.
#define CLIPFACTS_OPTION_UPLOAD 0x1000000
