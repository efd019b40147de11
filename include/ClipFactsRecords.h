// The records callers hand to the content-information object of ClipFacts (the upload
// plug-in, the card import's companion-file writer, the drop's content-file repair).
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
  WCHAR szMaker[128];   // empty: keep what the object holds
  // The model record: grade code, NUL, model name, NUL, "0", NUL, "0", NUL and four NULs;
  // an empty model name keeps what the object holds.
  WCHAR szModelRecord[128];
  SYSTEMTIME stCreated;  // local times of the writing, all zero when not given
  SYSTEMTIME stUpdated;
  BYTE reserved2[40];
};
// A file of the clip beside the content file: a stream (kind 0), or a companion record
// (kind 0 the thumbnail ".tmb", kind 1 the still information ".iis").
struct CLIPFACTS_ENTRY {
  DWORD dwKind;
  DWORD dwReserved;
  ULONGLONG ullSize;
  FILETIME ftLastWrite;
  WCHAR szName[MAX_PATH];  // name with extension, no folder
};
// The maker's own data of a clip: at most 1024 bytes.
struct CLIPFACTS_PRIVATE {
  DWORD dwTag;
  DWORD cbData;
  BYTE data[1024];
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
static_assert(offsetof(CLIPFACTS_CLIPINFO, szMaker) == 80 && offsetof(CLIPFACTS_CLIPINFO, szModelRecord) == 336 &&
                  offsetof(CLIPFACTS_CLIPINFO, stCreated) == 592,
              "clip information layout");
static_assert(sizeof(CLIPFACTS_ENTRY) == 544, "entry layout");
static_assert(sizeof(CLIPFACTS_PRIVATE) == 1032, "private data layout");
static_assert(sizeof(CLIPFACTS_ITEM) == 32 && offsetof(CLIPFACTS_ITEM, pszPath) == 24, "item layout");
static_assert(offsetof(CLIPFACTS_THUMBNAIL, ftRecordTime) == 4 && offsetof(CLIPFACTS_THUMBNAIL, pszPath) == 12,
              "thumbnail layout");

// The option the upload sets on every file it writes: the file names full paths (items,
// thumbnails) instead of members beside it.
#define CLIPFACTS_OPTION_UPLOAD 0x1000000
// The companion records' kinds.
#define CLIPFACTS_RECORD_THUMBNAIL 0
#define CLIPFACTS_RECORD_STILL 1
