// Helpers shared by the engine's sources (not part of the interface).
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/decode.h"
#include "imaging/dib.h"
#include "imaging/exif.h"
#include "imaging/metadata.h"
#include "textkit/path.h"
#include "textkit/text.h"

namespace imaging {

// Random-access bytes with every read bounds-checked.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Exactly n bytes at pos, or false (nothing past the end is ever read).
  virtual bool Read(uint64_t pos, void* dst, size_t n) const = 0;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t pos, void* dst, size_t n) const override;

 private:
  const uint8_t* data_;
  size_t size_;
};

namespace detail {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  // Takes over a reference the caller owns.
  void Attach(T* p) {
    Reset();
    p_ = p;
  }

 private:
  T* p_ = nullptr;
};

HRESULT HrFromLastError();

// A file opened for reading (shared with readers, writers and deleters). Its head is
// read at once with one plain read and served from memory: under Wine every read is a
// round trip to the server, a positioned one (an OVERLAPPED offset) a slow one, and a
// header walk makes dozens of small reads. Beyond the head it seeks and reads.
class FileReader : public ByteSource {
 public:
  static constexpr size_t kHeadBytes = 64 * 1024;

  FileReader() = default;
  ~FileReader() override;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  // headBytes 0: nothing is read ahead (a caller that reads the whole file).
  HRESULT Open(const char* path, size_t headBytes = kHeadBytes);
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t pos, void* dst, size_t n) const override;
  // The open handle, given up to the caller (NULL when none); reads fail from then on.
  HANDLE Release() {
    HANDLE h = file_ == INVALID_HANDLE_VALUE ? NULL : file_;
    file_ = INVALID_HANDLE_VALUE;
    return h;
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  uint64_t size_ = 0;
  std::vector<uint8_t> head_;
  mutable uint64_t filePos_ = 0;  // the handle's file pointer
};

// A window [base, base + size) of another source.
class SubSource : public ByteSource {
 public:
  SubSource(const ByteSource& parent, uint64_t base, uint64_t size) : parent_(parent), base_(base), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t pos, void* dst, size_t n) const override;

 private:
  const ByteSource& parent_;
  uint64_t base_;
  uint64_t size_;
};

// Writes a whole file (replacing it) and flushes it to the medium.
HRESULT WriteAndFlush(const char* path, const void* data, size_t size, DWORD attributes);
HRESULT ReadWholeFile(const char* path, std::vector<uint8_t>* out, uint64_t maxSize = uint64_t(1) << 31);

inline uint16_t Get16(const uint8_t* p, bool bigEndian) {
  return bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}
inline uint32_t Get32(const uint8_t* p, bool bigEndian) {
  return bigEndian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                   : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
inline void Put16(uint8_t* p, uint16_t v, bool bigEndian) {
  if (bigEndian) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
  } else {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
  }
}
inline void Put32(uint8_t* p, uint32_t v, bool bigEndian) {
  for (int i = 0; i < 4; ++i) p[bigEndian ? 3 - i : i] = uint8_t(v >> (8 * i));
}

// The layout of a JPEG file up to its first scan.
struct JpegLayout {
  int width = 0, height = 0, components = 0;
  bool hasExif = false;
  uint64_t app1Pos = 0;    // the Exif APP1 marker (FF E1)
  uint64_t app1End = 0;    // just past that segment
  uint64_t tiffPos = 0;    // the TIFF block inside it (after "Exif\0\0")
  uint32_t tiffSize = 0;
  uint64_t insertPos = 2;  // where a new APP1 goes: after SOI and a JFIF APP0
};
// False when the data does not start as a JPEG. What is found before the data
// breaks off is reported (width 0: no frame header was read).
bool ScanJpeg(const ByteSource& src, JpegLayout* layout);
// Calls segment(marker, pos, end) for each marker segment with a length up to the first
// scan ([pos, end) from its FF to just past it, inside the data); false from it stops the
// walk. False when the data does not start as a JPEG.
bool WalkJpegSegments(const ByteSource& src, const std::function<bool(uint8_t, uint64_t, uint64_t)>& segment);
// A JPEG with its Exif APP1 replaced by (or, when it has none, given) one
// holding tiff. False when the block is too big for a segment.
bool ReplaceJpegExif(const ByteSource& jpeg, const JpegLayout& layout, const std::vector<uint8_t>& tiff,
                     std::vector<uint8_t>* out);
// Bytes [pos, pos + n) of src appended to out.
bool AppendRange(const ByteSource& src, uint64_t pos, uint64_t n, std::vector<uint8_t>* out);

// A read-only IStream that owns the bytes; a read never goes past their end, wherever a
// seek has put it (stream.cpp).
HRESULT MakeByteStream(std::vector<uint8_t> bytes, IStream** out);

// ---- TIFF directories (tiff_write.cpp) ----

// One field of a TIFF directory, its value bytes in the byte order of the file it goes into.
struct TiffField {
  uint16_t tag = 0, type = 0;
  uint32_t count = 0;
  std::vector<uint8_t> value;
};
// What a TIFF file or an Exif block holds: IFD0 and the Exif, GPS and interoperability
// directories it points to (the pointers are added as they are laid out), and IFD0's one
// strip of pixels (StripOffsets and StripByteCounts are added for it).
struct TiffLayout {
  bool bigEndian = false;
  std::vector<TiffField> ifd0, exif, gps, interop;
  std::vector<uint8_t> strip;
};
// The bytes, each directory's fields in tag order (the first of a tag kept); empty when
// IFD0 would be empty or the whole would not fit 4 GB.
std::vector<uint8_t> WriteTiff(TiffLayout layout);
// The fields of entries read by Exif whose tag keep takes.
std::vector<TiffField> FieldsOf(const std::vector<ExifEntry>& entries, bool (*keep)(uint16_t tag));
// An IFD0 tag that says something of the picture (maker, date, description, colour profile
// ...), not one of its layout on disk (size, samples, strips, orientation, resolution), of
// the metadata blocks kept apart (XMP, IPTC, Photoshop's) or a pointer to a directory.
bool DescribesPicture(uint16_t tag);

// The metadata of a JPEG, TIFF or PNG behind a byte source (metadata.cpp).
PictureMetadata ReadMetadata(const ByteSource& src);

// A WIC factory (COM must be initialised on the thread). Inside a ComScope the thread
// keeps one factory until its outermost ComScope ends; outside one, a new factory.
HRESULT CreateWicFactory(ComPtr<IWICImagingFactory>* factory);
// Copies a WIC source into out at 24 or 32 bits; alpha formats go through
// 32-bit BGRA (HasAlpha set when any pixel is not opaque) and are blended over
// background for 24 bits.
HRESULT WicSourceToDib(IWICImagingFactory* factory, IWICBitmapSource* source, int bitCount, COLORREF background,
                       bool topDown, Dib* out);

// A top-down 24- or 32-bit DIB section for GDI to draw into or from.
class DibSection {
 public:
  DibSection() = default;
  ~DibSection() {
    if (bitmap) DeleteObject(bitmap);
  }
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;
  bool Create(int width, int height, int bitCount) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = WORD(bitCount);
    bi.bmiHeader.biCompression = BI_RGB;
    bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    return bitmap != nullptr;
  }
  HBITMAP bitmap = nullptr;
  void* bits = nullptr;
};

// libjpeg-turbo: a JPEG stream decoded at the smallest DCT scale that still covers the
// box, as a top-down 24-bit Dib; never more than the scaled output is allocated, and
// headers that claim far more than the box are refused.
int JpegScaleFor(int width, int height, int boxW, int boxH, bool halvingsOnly = false);
HRESULT DecodeJpegScaled(const uint8_t* data, size_t size, int boxW, int boxH, Dib* out, bool halvingsOnly = false);

}  // namespace detail
}  // namespace imaging
