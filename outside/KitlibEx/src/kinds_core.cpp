#include "kinds_core.h"

#include <KitlibEx/Kinds.h>

#include <textkit/textkit.h>

namespace kitlibex {

namespace {

struct KindRow {
  DWORD kind;
  const char* name;
  const char* extensions;  // ";"-separated, lower case, with the dot
};

const KindRow kKinds[] = {
    {CMTLX_KIND_JPEG, "JPEG", ".jpg;.jpeg;.jpe"},
    {CMTLX_KIND_TIFF, "TIFF", ".tif;.tiff"},
    {CMTLX_KIND_RAW, "RAW", ".raw;.dng"},
    {CMTLX_KIND_MOV, "QuickTime", ".mov;.qt"},
    {CMTLX_KIND_AVI, "AVI", ".avi"},
    {CMTLX_KIND_MP4, "MP4", ".mp4;.m4v"},
    {CMTLX_KIND_MPEG, "MPEG", ".mpg;.mpeg;.mod"},
    {CMTLX_KIND_GIF, "GIF", ".gif"},
    {CMTLX_KIND_PED, "PED", ".ped"},
    {CMTLX_KIND_BMP, "BMP", ".bmp;.dib"},
    {CMTLX_KIND_DVF, "DVF", ".dvf"},
    {CMTLX_KIND_TTL, "TTL", ".ttl"},
    {CMTLX_KIND_WMV, "WMV", ".wmv"},
    {CMTLX_KIND_SOUND, "MP3/M4A/WAV/WMA", ".mp3;.m4a;.wav;.wma"},
    {CMTLX_KIND_ASF, "SD-Video (ASF)", ".asf"},
    {CMTLX_KIND_COMPANION, "", ".thm;.tmb;.iis;.moi"},
    {CMTLX_KIND_CONT, "AVCHD", ".cont"},
    {CMTLX_KIND_MTS, "AVCHD (MTS)", ".mts;.m2ts"},
    {CMTLX_KIND_MPO, "MPO", ".mpo"},
    {CMTLX_KIND_PNG, "PNG", ".png"},
};

const DWORD kStill = CMTLX_KIND_JPEG | CMTLX_KIND_TIFF | CMTLX_KIND_RAW | CMTLX_KIND_GIF | CMTLX_KIND_BMP |
                     CMTLX_KIND_PNG | CMTLX_KIND_MPO;
const DWORD kMovies = CMTLX_KIND_MOV | CMTLX_KIND_AVI | CMTLX_KIND_MP4 | CMTLX_KIND_MPEG | CMTLX_KIND_WMV |
                      CMTLX_KIND_ASF | CMTLX_KIND_MTS | CMTLX_KIND_CONT;
const DWORD kSpecial = CMTLX_KIND_DVF | CMTLX_KIND_TTL | CMTLX_KIND_PED;
const DWORD kEditable = CMTLX_KIND_JPEG | CMTLX_KIND_TIFF | CMTLX_KIND_BMP | CMTLX_KIND_PNG;
const DWORD kSplittable = CMTLX_KIND_MOV | CMTLX_KIND_AVI | CMTLX_KIND_MP4 | CMTLX_KIND_MPEG;

// Filter numbers 0 to 16.
const DWORD kFilters[] = {
    0,                                                             // 0 any file
    kEditable | CMTLX_KIND_MPO,                                    // 1 picture tools' output kinds
    kStill,                                                        // 2 still pictures
    kMovies,                                                       // 3 movies
    kEditable | kSpecial,                                          // 4 image editor
    kEditable | CMTLX_KIND_GIF | kSpecial,                         // 5 picture tools
    CMTLX_KIND_JPEG | CMTLX_KIND_DVF,                              // 6 date and GPS tools
    kEditable | CMTLX_KIND_GIF | CMTLX_KIND_MPO,                   // 7 slide show
    CMTLX_KIND_SOUND,                                              // 8 sound
    CMTLX_KIND_JPEG,                                               // 9 settable shooting date
    kStill | kMovies | CMTLX_KIND_SOUND,                           // 10 every media file
    kSplittable,                                                   // 11 splittable movies
    kMovies,                                                       // 12 movies for discs and export
    CMTLX_KIND_RAW,                                                // 13 RAW
    kSplittable | CMTLX_KIND_WMV | CMTLX_KIND_CONT,                // 14 upload clips
    CMTLX_MASK_CARD_IMPORT,                                        // 15 card import
    kMovies,                                                       // 16 outside movie programs
};

bool HasExtension(const char* list, const std::string& ext) {
  std::string item;
  for (const char* p = list;; ++p) {
    if (*p == ';' || *p == '\0') {
      if (!item.empty() && item == ext) return true;
      item.clear();
      if (*p == '\0') return false;
    } else {
      item += *p;
    }
  }
}

}  // namespace

DWORD KindOfPath(const std::string& path) {
  // Extensions are plain ASCII: a double-byte name part never matches.
  std::string ext = textkit::LowerAscii(textkit::ExtensionOf(path));
  if (ext.size() < 2) return 0;
  for (const KindRow& k : kKinds)
    if (HasExtension(k.extensions, ext)) return k.kind;
  return 0;
}

DWORD MaskOfFilter(DWORD filter, bool* any) {
  if (any) *any = filter == 0;
  if (filter >= 0x100) return filter;
  if (filter < sizeof(kFilters) / sizeof(kFilters[0])) return kFilters[filter];
  return 0;
}

DWORD InfoOfKind(DWORD kind) {
  DWORD info = 0;
  if (kind & (kStill | CMTLX_KIND_DVF)) info |= CMTLX_INFO_PICTURE;
  if (kind & CMTLX_KIND_RAW) info |= CMTLX_INFO_RAW;
  if (kind & CMTLX_KIND_SOUND) info |= CMTLX_INFO_SOUND;
  if (kind & CMTLX_KIND_COMPANION) info |= CMTLX_INFO_COMPANION;
  if (kind & kSpecial) info |= CMTLX_INFO_SPECIAL;
  if (kind & kMovies) info |= CMTLX_INFO_MOVIE;
  return info;
}

bool IsSupported(const std::string& path, DWORD filter, DWORD attributes, bool mustExist, DWORD* info) {
  DWORD kind = KindOfPath(path);
  DWORD flags = InfoOfKind(kind);
  bool ok = !path.empty();
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_READONLY) flags |= CMTLX_INFO_READONLY;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      flags = CMTLX_INFO_FOLDER;
      ok = false;
    }
  } else if (mustExist) {
    ok = false;
  }
  if (info) *info = flags;
  if (!ok) return false;
  bool any = false;
  DWORD mask = MaskOfFilter(filter, &any);
  return any || (kind & mask) != 0;
}

bool IsMovableKind(DWORD kind) { return kind != 0 && !(kind & CMTLX_KIND_COMPANION); }

std::string SupportText(DWORD filter) {
  bool any = false;
  DWORD mask = MaskOfFilter(filter, &any);
  std::string text;
  if (any) return text;
  for (const KindRow& k : kKinds) {
    if (!(mask & k.kind) || !*k.name) continue;
    if (!text.empty()) text += ", ";
    text += k.name;
  }
  return text;
}

}  // namespace kitlibex
