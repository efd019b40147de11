// A device-independent bitmap of 24 or 32 bits per pixel, kept as one packed
// block: BITMAPINFOHEADER followed by the pixel rows (BI_RGB, no colour table),
// so Info() and Bits() go straight to StretchDIBits, SetDIBitsToDevice or a
// clipboard CF_DIB. Rows are DWORD-aligned; the block may be bottom-up (the
// usual DIB order, positive biHeight) or top-down (negative biHeight).
//
// 32-bit pixels are B, G, R, A in memory. HasAlpha() says whether the alpha
// byte carries straight (not premultiplied) transparency; otherwise it is
// ignored and the picture is opaque.
//
// A Dib is a plain value (copyable, movable) and is not synchronised: use one
// object from one thread at a time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace imaging {

// Bytes a packed DIB with this header takes (header, bit-field masks, colour
// table, rows; RLE: the compressed size the header states); 0 when the header is
// unusable or the block of blockSize bytes holds less than that.
size_t PackedDibSize(const BITMAPINFOHEADER* header, size_t blockSize);
// Where a packed DIB's rows begin (header, masks and colour table before them).
size_t PackedDibBitsOffset(const BITMAPINFOHEADER& header);

namespace detail {
// Pages of their own for pixel blocks of thumbnail size and up (blocks kept for long among
// short-lived ones of other sizes would leave the heap in pieces that never go back), cut
// from regions that are mapped and unmapped whole (paged_blocks.cpp). Freed blocks are kept
// a while for the next picture of their size. Thread-safe; any module may free a block
// another took.
void* TakePagedBlock(size_t bytes);
void GivePagedBlock(void* block, size_t bytes);
// What the blocks hold now: bytes reserved, bytes kept for no picture (bounded),
// regions.
struct PagedBlockFigures {
  size_t reserved, idle, regions;
};
PagedBlockFigures PagedBlocksNow();

template <class T>
struct PixelAllocator {
  typedef T value_type;
  static constexpr size_t kPagedBytes = 32 * 1024;
  PixelAllocator() = default;
  template <class U>
  PixelAllocator(const PixelAllocator<U>&) {}
  T* allocate(size_t n) {
    if (n * sizeof(T) < kPagedBytes) return static_cast<T*>(::operator new(n * sizeof(T)));
    void* p = TakePagedBlock(n * sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kPagedBytes)
      ::operator delete(p);
    else
      GivePagedBlock(p, n * sizeof(T));
  }
  // Growing leaves the new bytes as they are (one by one they cost more than the whole
  // picture's decode): whoever grows the block fills it.
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... A>
  void construct(U* p, A&&... a) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
  }
  template <class U>
  bool operator==(const PixelAllocator<U>&) const { return true; }
  template <class U>
  bool operator!=(const PixelAllocator<U>&) const { return false; }
};
}  // namespace detail

class Dib {
 public:
  Dib() = default;

  // A new picture of width x height (both 1..32767) at 24 or 32 bits, pixels
  // zeroed. False (and empty) on bad arguments or when memory runs out.
  bool Create(int width, int height, int bitCount, bool topDown = false);
  // The bytes of pixels Create(width, height, bitCount) makes (BitsSize afterwards).
  static size_t BitsSizeOf(int width, int height, int bitCount);
  // Copies any DIB GDI understands (1 to 32 bits, palettes, bit fields, RLE)
  // into a 24- or 32-bit picture. bits null: they follow the header and its
  // colour table (a packed DIB whose size the caller vouches for).
  bool Assign(const BITMAPINFO* info, const void* bits = nullptr, int bitCount = 24);
  // The same for a packed DIB block of size bytes: false, reading nothing past
  // the block, when its header claims more than the block holds.
  bool Assign(const void* packed, size_t size, int bitCount = 24);
  // The pixels of a GDI bitmap (device-dependent or DIB section).
  bool FromBitmap(HBITMAP bitmap, int bitCount = 24);
  void Clear();

  bool Empty() const { return block_.empty(); }
  int Width() const;
  int Height() const;  // always positive
  int BitCount() const;
  bool TopDown() const;
  int Stride() const;  // bytes per row
  int BytesPerPixel() const { return BitCount() / 8; }
  bool HasAlpha() const { return alpha_; }
  void SetHasAlpha(bool alpha) { alpha_ = alpha && BitCount() == 32; }

  const BITMAPINFO* Info() const;
  BITMAPINFO* Info();
  const BITMAPINFOHEADER* Header() const;
  const uint8_t* Bits() const;
  uint8_t* Bits();
  size_t BitsSize() const;
  // The whole packed DIB (header followed by bits).
  const uint8_t* Packed() const { return block_.data(); }
  size_t PackedSize() const { return block_.size(); }

  // Row y counted from the top of the picture, whatever the storage order.
  uint8_t* Row(int y);
  const uint8_t* Row(int y) const;
  // Pixel as 0xAARRGGBB (alpha 0xFF for 24-bit pictures); out of range: 0.
  uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t argb);
  void Fill(uint32_t argb);
  // Reorders the rows in place to the other storage order.
  void SetTopDown(bool topDown);

  // A device-dependent bitmap compatible with dc (the screen when null).
  HBITMAP CreateBitmap(HDC dc = nullptr) const;
  // Stretches the picture into dst (HALFTONE when shrinking). Transparent
  // pixels of a picture with alpha are blended over what dc already holds.
  bool Draw(HDC dc, const RECT& dst) const;

 private:
  BITMAPINFOHEADER* MutableHeader();

  std::vector<uint8_t, detail::PixelAllocator<uint8_t>> block_;
  bool alpha_ = false;
};

}  // namespace imaging
