// The packed 24/32-bit DIB.
#include "imaging/dib.h"

#include <cstring>
#include <new>
#include <vector>

#include "internal.h"

namespace imaging {

namespace {

constexpr size_t kHeader = sizeof(BITMAPINFOHEADER);

int StrideOf(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

}  // namespace

size_t Dib::BitsSizeOf(int width, int height, int bitCount) {
  if (width <= 0 || height <= 0) return 0;
  return size_t(StrideOf(width, bitCount)) * size_t(height);
}

bool Dib::Create(int width, int height, int bitCount, bool topDown) {
  Clear();
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767 || (bitCount != 24 && bitCount != 32))
    return false;
  size_t bits = BitsSizeOf(width, height, bitCount);
  try {
    block_.resize(kHeader + bits);
    memset(block_.data(), 0, block_.size());
  } catch (const std::bad_alloc&) {
    block_.clear();
    return false;
  }
  BITMAPINFOHEADER* h = MutableHeader();
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = topDown ? -height : height;
  h->biPlanes = 1;
  h->biBitCount = WORD(bitCount);
  h->biCompression = BI_RGB;
  h->biSizeImage = DWORD(bits);
  return true;
}

void Dib::Clear() {
  decltype(block_)().swap(block_);
  alpha_ = false;
}

BITMAPINFOHEADER* Dib::MutableHeader() { return reinterpret_cast<BITMAPINFOHEADER*>(block_.data()); }
const BITMAPINFOHEADER* Dib::Header() const {
  return block_.empty() ? nullptr : reinterpret_cast<const BITMAPINFOHEADER*>(block_.data());
}
const BITMAPINFO* Dib::Info() const { return reinterpret_cast<const BITMAPINFO*>(Header()); }
BITMAPINFO* Dib::Info() { return block_.empty() ? nullptr : reinterpret_cast<BITMAPINFO*>(block_.data()); }
int Dib::Width() const { return block_.empty() ? 0 : Header()->biWidth; }
int Dib::Height() const {
  if (block_.empty()) return 0;
  LONG h = Header()->biHeight;
  return h < 0 ? -h : h;
}
int Dib::BitCount() const { return block_.empty() ? 0 : Header()->biBitCount; }
bool Dib::TopDown() const { return !block_.empty() && Header()->biHeight < 0; }
int Dib::Stride() const { return block_.empty() ? 0 : StrideOf(Width(), BitCount()); }
const uint8_t* Dib::Bits() const { return block_.empty() ? nullptr : block_.data() + kHeader; }
uint8_t* Dib::Bits() { return block_.empty() ? nullptr : block_.data() + kHeader; }
size_t Dib::BitsSize() const { return block_.empty() ? 0 : block_.size() - kHeader; }

uint8_t* Dib::Row(int y) {
  if (block_.empty() || y < 0 || y >= Height()) return nullptr;
  int stored = TopDown() ? y : Height() - 1 - y;
  return Bits() + size_t(stored) * size_t(Stride());
}

const uint8_t* Dib::Row(int y) const { return const_cast<Dib*>(this)->Row(y); }

uint32_t Dib::Pixel(int x, int y) const {
  if (x < 0 || x >= Width()) return 0;
  const uint8_t* row = Row(y);
  if (!row) return 0;
  const uint8_t* p = row + size_t(x) * BytesPerPixel();
  uint32_t a = BitCount() == 32 && alpha_ ? p[3] : 0xFF;
  return a << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

void Dib::SetPixel(int x, int y, uint32_t argb) {
  if (x < 0 || x >= Width()) return;
  uint8_t* row = Row(y);
  if (!row) return;
  uint8_t* p = row + size_t(x) * BytesPerPixel();
  p[0] = uint8_t(argb);
  p[1] = uint8_t(argb >> 8);
  p[2] = uint8_t(argb >> 16);
  if (BitCount() == 32) p[3] = uint8_t(argb >> 24);
}

void Dib::Fill(uint32_t argb) {
  int w = Width(), h = Height(), bpp = BytesPerPixel();
  for (int y = 0; y < h; ++y) {
    uint8_t* p = Row(y);
    for (int x = 0; x < w; ++x, p += bpp) {
      p[0] = uint8_t(argb);
      p[1] = uint8_t(argb >> 8);
      p[2] = uint8_t(argb >> 16);
      if (bpp == 4) p[3] = uint8_t(argb >> 24);
    }
  }
}

void Dib::SetTopDown(bool topDown) {
  if (block_.empty() || topDown == TopDown()) return;
  int h = Height();
  size_t stride = size_t(Stride());
  std::vector<uint8_t> tmp(stride);
  uint8_t* bits = Bits();
  for (int a = 0, b = h - 1; a < b; ++a, --b) {
    memcpy(tmp.data(), bits + a * stride, stride);
    memcpy(bits + a * stride, bits + b * stride, stride);
    memcpy(bits + b * stride, tmp.data(), stride);
  }
  MutableHeader()->biHeight = topDown ? -h : h;
}

size_t PackedDibBitsOffset(const BITMAPINFOHEADER& h) {
  // Header, then masks (BI_BITFIELDS with a 40-byte header), then the colour table.
  size_t colours = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? (size_t(1) << h.biBitCount) : 0);
  size_t masks = (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) ? 12 : 0;
  return size_t(h.biSize) + masks + colours * sizeof(RGBQUAD);
}

size_t PackedDibSize(const BITMAPINFOHEADER* h, size_t blockSize) {
  if (!h || blockSize < sizeof(BITMAPINFOHEADER) || h->biSize < sizeof(BITMAPINFOHEADER) || h->biSize > blockSize)
    return 0;
  int64_t w = h->biWidth, ht = h->biHeight < 0 ? -int64_t(h->biHeight) : h->biHeight;
  WORD bpp = h->biBitCount;
  if (w <= 0 || ht <= 0 || w > 32767 || ht > 32767 || h->biPlanes != 1) return 0;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
  if (h->biClrUsed > 256) return 0;
  uint64_t rows;
  switch (h->biCompression) {
    case BI_RGB:
    case BI_BITFIELDS: rows = uint64_t((w * bpp + 31) / 32) * 4 * uint64_t(ht); break;
    case BI_RLE8:
    case BI_RLE4:
      if (bpp != (h->biCompression == BI_RLE8 ? 8 : 4) || !h->biSizeImage) return 0;
      rows = h->biSizeImage;
      break;
    default: return 0;
  }
  uint64_t need = PackedDibBitsOffset(*h) + rows;
  return need <= blockSize ? size_t(need) : 0;
}

bool Dib::Assign(const void* packed, size_t size, int bitCount) {
  const auto* info = static_cast<const BITMAPINFO*>(packed);
  if (!info || !PackedDibSize(&info->bmiHeader, size)) return false;
  return Assign(info, static_cast<const uint8_t*>(packed) + PackedDibBitsOffset(info->bmiHeader), bitCount);
}

bool Dib::Assign(const BITMAPINFO* info, const void* bits, int bitCount) {
  if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return false;
  const BITMAPINFOHEADER& src = info->bmiHeader;
  int w = src.biWidth, h = src.biHeight < 0 ? -src.biHeight : src.biHeight;
  if (w <= 0 || h <= 0) return false;
  if (!bits) bits = reinterpret_cast<const uint8_t*>(info) + PackedDibBitsOffset(src);
  Dib out;
  if (!out.Create(w, h, bitCount, src.biHeight < 0)) return false;
  // Straight 24/32-bit rows copy as they are; everything else goes through GDI.
  if (src.biCompression == BI_RGB && src.biBitCount == bitCount) {
    memcpy(out.Bits(), bits, out.BitsSize());
  } else {
    detail::DibSection section;
    if (!section.Create(w, h, bitCount)) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    HGDIOBJ old = SelectObject(dc, section.bitmap);
    int lines = SetDIBitsToDevice(dc, 0, 0, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), bits, info, DIB_RGB_COLORS);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    if (lines <= 0) return false;
    out.SetTopDown(true);
    memcpy(out.Bits(), section.bits, out.BitsSize());
    if (bitCount == 32)
      for (int y = 0; y < h; ++y) {
        uint8_t* p = out.Row(y);
        for (int x = 0; x < w; ++x) p[4 * x + 3] = 0xFF;
      }
  }
  *this = std::move(out);
  return true;
}

bool Dib::FromBitmap(HBITMAP bitmap, int bitCount) {
  BITMAP bm;
  if (!bitmap || !GetObject(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
  Dib out;
  if (!out.Create(bm.bmWidth, bm.bmHeight, bitCount, false)) return false;
  HDC dc = GetDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), out.Bits(), out.Info(), DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (lines <= 0) return false;
  out.MutableHeader()->biSizeImage = DWORD(out.BitsSize());
  *this = std::move(out);
  return true;
}

HBITMAP Dib::CreateBitmap(HDC dc) const {
  if (Empty()) return nullptr;
  HDC screen = dc ? dc : GetDC(nullptr);
  HBITMAP bm = CreateDIBitmap(screen, Header(), CBM_INIT, Bits(), Info(), DIB_RGB_COLORS);
  if (!dc) ReleaseDC(nullptr, screen);
  return bm;
}

bool Dib::Draw(HDC dc, const RECT& dst) const {
  if (Empty() || !dc) return false;
  int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
  if (dw <= 0 || dh <= 0) return false;
  if (alpha_) {
    // Premultiply into a DIB section and let AlphaBlend do the rest.
    detail::DibSection section;
    if (!section.Create(Width(), Height(), 32)) return false;
    for (int y = 0; y < Height(); ++y) {
      const uint8_t* s = Row(y);
      uint8_t* d = static_cast<uint8_t*>(section.bits) + size_t(y) * Width() * 4;
      for (int x = 0; x < Width(); ++x, s += 4, d += 4) {
        unsigned a = s[3];
        d[0] = uint8_t(s[0] * a / 255);
        d[1] = uint8_t(s[1] * a / 255);
        d[2] = uint8_t(s[2] * a / 255);
        d[3] = uint8_t(a);
      }
    }
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, section.bitmap);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL ok = GdiAlphaBlend(dc, dst.left, dst.top, dw, dh, mem, 0, 0, Width(), Height(), bf);
    SelectObject(mem, old);
    DeleteDC(mem);
    return ok != FALSE;
  }
  int oldMode = SetStretchBltMode(dc, (dw < Width() || dh < Height()) ? HALFTONE : COLORONCOLOR);
  POINT org;
  SetBrushOrgEx(dc, 0, 0, &org);
  int lines = StretchDIBits(dc, dst.left, dst.top, dw, dh, 0, 0, Width(), Height(), Bits(), Info(), DIB_RGB_COLORS,
                            SRCCOPY);
  SetBrushOrgEx(dc, org.x, org.y, nullptr);
  SetStretchBltMode(dc, oldMode);
  return lines > 0;
}

}  // namespace imaging
