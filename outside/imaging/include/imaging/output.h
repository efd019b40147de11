// What the picture tools write (turned, scaled, converted, stamped pictures): the
// picture upright with its source's metadata carried over, a free name for a copy, and the
// one safe way onto the disk: a hidden temporary file in the target's folder, read
// back and checked, then moved into place. A failure leaves no temporary file and the
// target (and the source) as they were.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/decode.h"
#include "imaging/dib.h"
#include "imaging/metadata.h"

namespace imaging {

// A free name for a copy beside path: "<name><tag><ext>", then "<name><tag>(2)<ext>",
// "<name><tag>(3)<ext>" ... ext (with its dot) replaces the source's extension; empty
// keeps it. Empty when 9999 names are taken or the name would not fit MAX_PATH.
std::string FreeCopyName(const std::string& path, const std::string& tag, const std::string& ext = std::string());

// The extension a format's files get: ".jpg", ".png", ".bmp", ".tif", ".gif"; "" otherwise.
const char* OutputExtension(ImageFormat format);

// A whole picture file into memory (at most 1 GB).
HRESULT ReadPictureFile(const char* path, std::vector<uint8_t>* bytes);

// What a written file must read back as (Unknown / 0: not checked).
struct OutputCheck {
  ImageFormat format = ImageFormat::Unknown;
  int width = 0;  // stored size
  int height = 0;
};

// Writes data to target through a hidden temporary file in target's folder: written,
// flushed, read back and compared, probed against check, then moved to target.
// replace false: an existing target is never touched (HRESULT_FROM_WIN32(ERROR_FILE_EXISTS),
// also when another writer takes the name meanwhile); a read-only target is never
// replaced (HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)). The target is left with normal
// attributes.
HRESULT PlaceOutputFile(const char* target, const void* data, size_t size, bool replace,
                        const OutputCheck& check = OutputCheck());

// How an upright picture is written.
struct OutputPicture {
  ImageFormat format = ImageFormat::Jpeg;  // Jpeg, Png, Bmp or Tiff
  int quality = 95;                        // JPEG, 1..100
  // The source's metadata, and the orientation its pixels were turned upright from.
  PictureMetadata tags;
  int exifOrientation = 0;
};

// The file's bytes for the picture (bottom-up or top-down, 24 or 32 bits), carrying every
// block of the source's metadata the format holds (metadata.h): the Exif with orientation
// 1, the picture's own size and the thumbnail turned too; the XMP with orientation 1; the
// IPTC as it is.
HRESULT EncodeOutputPicture(const Dib& upright, const OutputPicture& how, std::vector<uint8_t>* out);
// Encodes and places it (PlaceOutputFile with the format and size checked).
HRESULT SaveOutputPicture(const Dib& upright, const OutputPicture& how, const char* target, bool replace);

// A picture read for a tool: its pixels upright (24 bits, 32 with alpha for PNG, GIF
// and the like), and in keep the source's format and the metadata to carry over.
HRESULT LoadForOutput(const char* path, Dib* upright, OutputPicture* keep);

}  // namespace imaging
