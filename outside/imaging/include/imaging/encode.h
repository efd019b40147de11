// Writing Dibs: JPEG through WIC (quality 1..100 as its ImageQuality property),
// BMP and PNG. Files are written to a temporary file beside the target and
// then moved over it, so a failure never leaves a half-written picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "imaging/dib.h"

namespace imaging {

// exifTiff (optional): a TIFF block stored as the JPEG's APP1 "Exif" segment
// (at most 65526 bytes), e.g. from MakeUprightExif.
HRESULT EncodeJpeg(const Dib& src, int quality, std::vector<uint8_t>* out,
                   const std::vector<uint8_t>* exifTiff = nullptr);
HRESULT SaveJpeg(const Dib& src, const char* path, int quality, const std::vector<uint8_t>* exifTiff = nullptr);
HRESULT EncodePng(const Dib& src, std::vector<uint8_t>* out);
HRESULT SavePng(const Dib& src, const char* path);
struct PictureMetadata;
// An uncompressed single-page TIFF (alpha kept), orientation 1. With metadata: the Exif
// block's descriptive tags in IFD0 (maker, dates, ...) and its Exif, GPS and
// interoperability directories (the Exif's pixel size set to the picture's), the XMP packet
// (tag 700) and the IPTC records (tag 33723), in the Exif block's byte order.
HRESULT EncodeTiff(const Dib& src, std::vector<uint8_t>* out, const PictureMetadata* metadata = nullptr);
// A BMP file of the picture as it is (24 or 32 bits, bottom-up).
HRESULT EncodeBmp(const Dib& src, std::vector<uint8_t>* out);
HRESULT SaveBmp(const Dib& src, const char* path);

// Re-encodes a JPEG with its pixels turned upright by its Exif orientation and
// the Exif block carried over (orientation 1, new size, thumbnail turned too).
// dst may be src. Useful where a viewer ignores the Orientation tag.
HRESULT ReencodeUpright(const char* src, const char* dst, int quality);

// Turns a JPEG's stored picture upright by its orientation (1..8) without decoding it:
// the DCT blocks are moved (jpegtran's transforms) and every marker is kept, the Exif with
// orientation 1, the new size and its thumbnail turned too. HRESULT_FROM_WIN32(
// ERROR_NOT_SUPPORTED) when the size is no whole number of blocks along the edges the
// turn moves (the caller re-encodes then); HRESULT_FROM_WIN32(ERROR_INVALID_DATA) for a
// stream with missing or damaged data, which a turn would make permanent.
HRESULT TurnJpegLossless(const std::vector<uint8_t>& jpeg, int orientation, std::vector<uint8_t>* out);

// Writes bytes to path through a temporary file and a replacing move.
HRESULT WriteFileReplacing(const char* path, const void* data, size_t size);

}  // namespace imaging
