// Reading pictures into Dibs through WIC (GDI+ when WIC can't): JPEG, PNG, BMP,
// GIF (first frame), TIFF (first page), ICO (the best-sized image).
//
// Paths are ANSI (code page 932) and converted to UTF-16 for WIC. Results are
// HRESULTs: S_OK; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND)
// for a missing file; WINCODEC_ERR_COMPONENTNOTFOUND for a format nobody
// decodes; E_INVALIDARG; E_OUTOFMEMORY; another failure code for a corrupt file.
//
// Under Wine, WIC decodes a JPEG's whole frame whatever size is asked for; the
// fast way to a small picture is the embedded Exif thumbnail (Source below).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/dib.h"
#include "imaging/exif.h"

namespace imaging {

enum class ImageFormat { Unknown, Jpeg, Png, Bmp, Gif, Tiff, Ico };

// "JPEG", "PNG", "BMP", "GIF", "TIFF", "ICO"; "" for Unknown.
const char* FormatName(ImageFormat format);
// From the first bytes of a file (16 are enough for every format).
ImageFormat DetectFormat(const void* head, size_t size);
// From the first bytes of the file at path; Unknown when it can't be read.
ImageFormat DetectFileFormat(const char* path);
// From the extension, case-insensitively (".jpg", ".jpeg", ".jpe", ".png", ...).
ImageFormat FormatFromExtension(const char* path);

// What a file holds, read from its headers without decoding pixels.
struct ImageInfo {
  ImageFormat format = ImageFormat::Unknown;
  int width = 0;        // stored size, before the orientation is applied
  int height = 0;
  int bitCount = 0;     // bits per pixel of the stored picture (JPEG: 8 x components)
  int orientation = 0;  // Exif orientation 1..8; 0 when none
  bool hasThumbnail = false;  // an embedded Exif JPEG thumbnail is present
  // Size as shown, with the orientation applied.
  int DisplayWidth() const { return orientation >= 5 ? height : width; }
  int DisplayHeight() const { return orientation >= 5 ? width : height; }
};

// Headers only: JPEG (SOF and Exif), PNG, BMP, GIF, ICO by hand; TIFF through
// its IFD0 (WIC when that lacks the size). exif (optional) receives the metadata
// the headers carry (JPEG and TIFF; invalid for the others), read in the same pass.
// keepOpen (optional) receives the file's handle, still open, for the caller to close (NULL
// when the file did not open).
HRESULT ProbeImage(const char* path, ImageInfo* info, Exif* exif = nullptr, HANDLE* keepOpen = nullptr);

// What DetectFileFormat, ProbeImage and Exif::Load tell of a file, from one opening of it
// (under Wine every opening costs round trips to the server, which serves one at a time).
struct FileProbe {
  ImageFormat format = ImageFormat::Unknown;  // Unknown: nothing below was read
  HRESULT probe = E_FAIL;                     // ProbeImage's answer; info as it gives it
  ImageInfo info;
  bool hasExif = false;  // Exif::Load's answer (JPEG and TIFF only)
  Exif exif;
};
void ProbeImageFile(const char* path, FileProbe* out);
// The same from the first size bytes of a file fileSize long (as a copy reads them), without
// opening it. False (out empty) when the answer would need more of the file, or a decoder
// that reads the file itself: the caller probes the file then.
bool ProbeImageHead(const void* head, size_t size, uint64_t fileSize, FileProbe* out);

struct DecodeOptions {
  // Where the pixels come from.
  enum class Source {
    Full,            // always the full picture
    Thumbnail,       // the embedded Exif thumbnail when present, else the full picture
    ThumbnailIfLarge // the thumbnail only when it already covers the box at 1:1
  };
  // The box the picture is fitted into (aspect kept, never enlarged), as it
  // is shown (after the orientation is applied). A side of 0 is free; 0 x 0
  // is the full size.
  int maxWidth = 0;
  int maxHeight = 0;
  bool applyOrientation = true;  // turn the picture upright by its Exif orientation
  int bitCount = 24;             // 24 or 32
  bool topDown = false;          // row order of the result
  // Drawn behind transparent pixels when the result has 24 bits.
  COLORREF background = RGB(255, 255, 255);
  Source source = Source::Full;
};

// What the decode did. On a failure, info and exif still hold what the headers
// gave (so a caller need not open the file again for its metadata).
struct DecodeReport {
  ImageInfo info;                 // the file's full picture
  bool fromThumbnail = false;     // the embedded Exif thumbnail was used
  bool orientationApplied = false;
  Exif exif;                      // the file's metadata as the decode read it (JPEG, TIFF)
};

HRESULT DecodeFile(const char* path, const DecodeOptions& options, Dib* out, DecodeReport* report = nullptr);
// A whole file in memory (JPEG, PNG, ...).
HRESULT DecodeMemory(const void* data, size_t size, const DecodeOptions& options, Dib* out,
                     DecodeReport* report = nullptr);

// A thumbnail fitted into maxWidth x maxHeight, upright: the embedded Exif
// thumbnail when the file has one (black bars some cameras pad it with are cut
// away), else the full picture decoded and scaled down with an area filter.
HRESULT DecodeThumbnail(const char* path, int maxWidth, int maxHeight, Dib* out, DecodeReport* report = nullptr,
                        int bitCount = 24);

// The same from what ProbeImage gave (info, and the bytes of exif's Thumbnail()), without
// opening the file again. Fails when those bytes are no sound JPEG: the caller decodes the
// file then.
HRESULT DecodeProbedThumbnail(const ImageInfo& info, const std::vector<uint8_t>& thumbnail, int maxWidth,
                              int maxHeight, Dib* out, int bitCount = 24);

// Draws a picture file upright into box, fitted and centred (enlarged only
// when asked); the embedded thumbnail serves when it is large enough.
// Transparent parts leave what dc holds.
HRESULT DrawPictureFile(HDC dc, const RECT& box, const char* path, bool enlarge = false);

}  // namespace imaging
