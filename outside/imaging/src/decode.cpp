// Decoding files into Dibs: header probes, WIC decoding, the Exif-thumbnail path.
#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "imaging/com.h"
#include "imaging/decode.h"
#include "imaging/exif.h"
#include "imaging/transform.h"
#include "internal.h"

#include <gdiplus.h>

namespace imaging {

using detail::ComPtr;

namespace {

// Where the bytes come from: a file path or a block in memory.
struct Input {
  const char* path = nullptr;
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// No format we read stores a side longer than this.
constexpr int kMaxSide = 65535;
// Larger files are not tried with GDI+ (it is given the whole file in memory).
constexpr uint64_t kMaxGdiPlusFile = uint64_t(256) << 20;

bool SameGuid(const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }

// Pixel formats that never carry transparency: decoded straight to 24/32 bits.
bool IsOpaqueFormat(const WICPixelFormatGUID& f) {
  static const GUID* const kOpaque[] = {
      &GUID_WICPixelFormat24bppBGR,    &GUID_WICPixelFormat24bppRGB,    &GUID_WICPixelFormat32bppBGR,
      &GUID_WICPixelFormat8bppGray,    &GUID_WICPixelFormat16bppGray,   &GUID_WICPixelFormat48bppRGB,
      &GUID_WICPixelFormat16bppBGR555, &GUID_WICPixelFormat16bppBGR565, &GUID_WICPixelFormatBlackWhite,
      &GUID_WICPixelFormat2bppGray,    &GUID_WICPixelFormat4bppGray,    &GUID_WICPixelFormat32bppCMYK,
  };
  for (const GUID* g : kOpaque)
    if (SameGuid(f, *g)) return true;
  return false;
}

HRESULT OpenDecoder(IWICImagingFactory* factory, const Input& in, ComPtr<IWICStream>* stream,
                    ComPtr<IWICBitmapDecoder>* decoder) {
  if (in.path) {
    // The file is read through our own handle, which lets others delete or rename it
    // meanwhile; WIC's own open would hold it against deletion while it decodes.
    detail::FileReader file;
    HRESULT hr = file.Open(in.path, 0);
    if (FAILED(hr)) return hr;
    if (file.Size() > kMaxGdiPlusFile) {
      std::wstring w = textkit::AnsiToWide(in.path);
      if (w.empty()) return E_INVALIDARG;
      return factory->CreateDecoderFromFilename(w.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder->Put());
    }
    std::vector<uint8_t> bytes;
    try {
      bytes.resize(size_t(file.Size()));
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    if (!file.Read(0, bytes.data(), bytes.size())) return HRESULT_FROM_WIN32(ERROR_READ_FAULT);
    ComPtr<IStream> memory;
    hr = detail::MakeByteStream(std::move(bytes), memory.Put());
    if (FAILED(hr)) return hr;
    hr = factory->CreateStream(stream->Put());
    if (SUCCEEDED(hr)) hr = (*stream)->InitializeFromIStream(memory.Get());
    if (SUCCEEDED(hr))
      hr = factory->CreateDecoderFromStream(stream->Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder->Put());
    return hr;
  }
  if (in.size > 0xFFFFFFFFu) return E_OUTOFMEMORY;
  HRESULT hr = factory->CreateStream(stream->Put());
  if (SUCCEEDED(hr)) hr = (*stream)->InitializeFromMemory(const_cast<BYTE*>(in.data), DWORD(in.size));
  if (SUCCEEDED(hr))
    hr = factory->CreateDecoderFromStream(stream->Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder->Put());
  return hr;
}

// The frame to show: the first, or for icons the smallest image that covers
// the box (the largest when none does).
HRESULT PickFrame(IWICBitmapDecoder* decoder, ImageFormat format, int boxW, int boxH,
                  ComPtr<IWICBitmapFrameDecode>* frame) {
  UINT count = 0;
  if (format != ImageFormat::Ico || FAILED(decoder->GetFrameCount(&count)) || count <= 1)
    return decoder->GetFrame(0, frame->Put());
  UINT best = 0, bestArea = 0, cover = UINT(-1), coverArea = 0;
  for (UINT i = 0; i < count && i < 64; ++i) {
    ComPtr<IWICBitmapFrameDecode> f;
    UINT w = 0, h = 0;
    if (FAILED(decoder->GetFrame(i, f.Put())) || FAILED(f->GetSize(&w, &h))) continue;
    UINT area = w * h;
    if (area > bestArea) {
      best = i;
      bestArea = area;
    }
    bool covers = boxW > 0 && boxH > 0 && int(w) >= boxW && int(h) >= boxH;
    if (covers && (cover == UINT(-1) || area < coverArea)) {
      cover = i;
      coverArea = area;
    }
  }
  return decoder->GetFrame(cover != UINT(-1) ? cover : best, frame->Put());
}

// GDI+ for what WIC can't read. It is given the bytes, never the path: Wine's
// GDI+ keeps a file whose load failed open (and locked) until the process ends.
HRESULT DecodeWithGdiPlus(std::vector<uint8_t> bytes, Dib* out) {
  if (bytes.empty()) return E_FAIL;
  ComPtr<IStream> stream;
  HRESULT made = detail::MakeByteStream(std::move(bytes), stream.Put());
  if (FAILED(made)) return made;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return E_FAIL;
  HRESULT hr = E_FAIL;
  {
    Gdiplus::Bitmap bitmap(stream.Get());
    UINT width = bitmap.GetWidth(), height = bitmap.GetHeight();
    Gdiplus::Rect rect(0, 0, INT(width), INT(height));
    Gdiplus::BitmapData data;
    Dib dib;
    if (bitmap.GetLastStatus() == Gdiplus::Ok && width && height && dib.Create(int(width), int(height), 32, true) &&
        bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) == Gdiplus::Ok) {
      for (UINT y = 0; y < height; ++y)
        memcpy(dib.Row(int(y)), static_cast<const uint8_t*>(data.Scan0) + ptrdiff_t(y) * data.Stride, width * 4);
      bitmap.UnlockBits(&data);
      dib.SetHasAlpha(true);
      *out = std::move(dib);
      hr = S_OK;
    }
  }
  Gdiplus::GdiplusShutdown(token);
  return hr;
}

// Dark bars a camera padded its thumbnail with, when they are there.
bool BarsAreDark(const Dib& thumb, const RECT& keep) {
  uint64_t sum = 0, n = 0;
  int peak = 0;
  for (int y = 0; y < thumb.Height(); ++y)
    for (int x = 0; x < thumb.Width(); ++x) {
      if (x >= keep.left && x < keep.right && y >= keep.top && y < keep.bottom) continue;
      uint32_t p = thumb.Pixel(x, y);
      int l = int(((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF)) / 10;
      sum += unsigned(l);
      peak = std::max(peak, l);
      ++n;
    }
  return n > 0 && sum / n < 24 && peak < 72;
}

void CutPaddingBars(int fullW, int fullH, Dib* thumb) {
  if (fullW <= 0 || fullH <= 0) return;
  int tw = thumb->Width(), th = thumb->Height();
  // Aspect ratios differing by more than 2 %.
  int64_t a = int64_t(tw) * fullH, b = int64_t(th) * fullW;
  if (a * 100 <= b * 102 && b * 100 <= a * 102) return;
  SIZE s = FitSize(fullW, fullH, tw, th, true);
  RECT keep = {(tw - s.cx) / 2, (th - s.cy) / 2, 0, 0};
  keep.right = keep.left + s.cx;
  keep.bottom = keep.top + s.cy;
  if (BarsAreDark(*thumb, keep)) Crop(*thumb, keep, thumb);
}

// An icon directory entry whose image lies inside the file and whose own
// header (PNG or BITMAPINFOHEADER) agrees with it: the same width, twice the
// height (colour rows and mask rows), and the rows within the entry's bytes.
// Wine's decoder can crash on an icon where they disagree.
bool IconEntryIsSound(const ByteSource& src, const uint8_t* entry, int w, int h) {
  uint32_t bytes = detail::Get32(entry + 8, false), at = detail::Get32(entry + 12, false);
  if (bytes < 40 || at < 6 || uint64_t(at) + bytes > src.Size()) return false;
  uint8_t b[40];
  if (!src.Read(at, b, sizeof b)) return false;
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (memcmp(b, kPng, 8) == 0) {
    if (memcmp(b + 12, "IHDR", 4) != 0) return false;
    uint32_t pw = detail::Get32(b + 16, true), ph = detail::Get32(b + 20, true);
    // A size byte of 0 stands for 256 or more.
    auto agrees = [](uint32_t own, int said) { return said == 256 ? own >= 256 && own <= 65535 : own == uint32_t(said); };
    return agrees(pw, w) && agrees(ph, h);
  }
  uint32_t size = detail::Get32(b, false);
  int32_t bw = int32_t(detail::Get32(b + 4, false)), bh = int32_t(detail::Get32(b + 8, false));
  uint16_t planes = detail::Get16(b + 12, false), bpp = detail::Get16(b + 14, false);
  uint32_t compression = detail::Get32(b + 16, false), used = detail::Get32(b + 32, false);
  if (size < 40 || size > bytes || bw != w || bh != 2 * h || planes != 1 || compression != BI_RGB) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  uint64_t colours = bpp <= 8 ? (used && used < (1u << bpp) ? used : (1u << bpp)) : 0;
  // Writers may leave out the transparency mask of a 32-bit image (its alpha serves).
  uint64_t stride = ((uint64_t(w) * bpp + 31) / 32) * 4, mask = bpp == 32 ? 0 : ((uint64_t(w) + 31) / 32) * 4;
  return uint64_t(size) + colours * 4 + (stride + mask) * uint64_t(h) <= bytes;
}

// The file's headers: format, size, orientation and (JPEG) its Exif.
HRESULT ReadHeaders(const ByteSource& src, ImageInfo* info, Exif* exif) {
  uint8_t h[32] = {};
  size_t got = size_t(std::min<uint64_t>(src.Size(), sizeof h));
  if (!src.Read(0, h, got)) return E_FAIL;
  *info = ImageInfo();
  info->format = DetectFormat(h, got);
  auto be32 = [](const uint8_t* p) { return detail::Get32(p, true); };
  switch (info->format) {
    case ImageFormat::Jpeg: {
      detail::JpegLayout layout;
      detail::ScanJpeg(src, &layout);
      if (layout.hasExif) {
        std::vector<uint8_t> block(layout.tiffSize);
        if (src.Read(layout.tiffPos, block.data(), block.size()) &&
            exif->ParseTiff(block.data(), block.size(), layout.tiffPos)) {
          info->orientation = exif->Orientation();
          info->hasThumbnail = exif->HasThumbnail();
        }
      }
      if (layout.width <= 0) return E_FAIL;
      info->width = layout.width;
      info->height = layout.height;
      info->bitCount = 8 * layout.components;
      return S_OK;
    }
    case ImageFormat::Png: {
      if (got < 26 || memcmp(h + 12, "IHDR", 4) != 0) return E_FAIL;
      info->width = int(be32(h + 16));
      info->height = int(be32(h + 20));
      static const int kChannels[] = {1, 0, 3, 1, 2, 0, 4};
      int type = h[25];
      info->bitCount = h[24] * (type <= 6 ? kChannels[type] : 0);
      break;
    }
    case ImageFormat::Bmp: {
      uint32_t hs = detail::Get32(h + 14, false);
      if (hs < 12 || 14 + uint64_t(hs) > src.Size()) return E_FAIL;
      if (hs == 12) {
        info->width = detail::Get16(h + 18, false);
        info->height = detail::Get16(h + 20, false);
        info->bitCount = detail::Get16(h + 24, false);
      } else if (got >= 30) {
        info->width = int32_t(detail::Get32(h + 18, false));
        int64_t ht = int32_t(detail::Get32(h + 22, false));
        info->height = int(std::min<int64_t>(ht < 0 ? -ht : ht, INT_MAX));  // a top-down DIB's is negative
        info->bitCount = detail::Get16(h + 28, false);
      }
      break;
    }
    case ImageFormat::Gif:
      info->width = detail::Get16(h + 6, false);
      info->height = detail::Get16(h + 8, false);
      info->bitCount = 8;
      break;
    case ImageFormat::Ico: {
      // WIC reads every image of the directory: one whose own header disagrees
      // with its entry is refused before WIC sees it.
      uint32_t n = detail::Get16(h + 4, false);
      if (n == 0) return E_FAIL;
      for (uint32_t i = 0; i < n && i < 256; ++i) {
        uint8_t e[16];
        if (!src.Read(6 + 16 * uint64_t(i), e, 16)) return E_FAIL;
        int w = e[0] ? e[0] : 256, ht = e[1] ? e[1] : 256;
        if (!IconEntryIsSound(src, e, w, ht)) return E_FAIL;
        if (w * ht > info->width * info->height) {
          info->width = w;
          info->height = ht;
          info->bitCount = detail::Get16(e + 6, false);
        }
      }
      break;
    }
    case ImageFormat::Tiff: {
      // A TIFF file is its own Exif block.
      if (!exif->LoadFrom(src)) return E_FAIL;
      info->orientation = exif->Orientation();
      info->hasThumbnail = exif->HasThumbnail();
      if (auto size = exif->ImageDimensions()) {
        info->width = size->cx;
        info->height = size->cy;
      }
      info->bitCount = int(exif->UInt(ExifIfd::Ifd0, 258).value_or(1) * exif->UInt(ExifIfd::Ifd0, 277).value_or(1));
      break;
    }
    case ImageFormat::Unknown:
      return WINCODEC_ERR_COMPONENTNOTFOUND;
  }
  // Sizes WIC is given must be sane first.
  if (info->width > kMaxSide || info->height > kMaxSide) return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
  return info->width > 0 && info->height > 0 ? S_OK : E_FAIL;
}

// The embedded thumbnail goes to WIC only with a frame header of a sane size.
bool ThumbnailHeaderIsSound(const std::vector<uint8_t>& thumb) {
  detail::JpegLayout layout;
  MemorySource src(thumb.data(), thumb.size());
  return detail::ScanJpeg(src, &layout) && layout.width > 0 && layout.height > 0;
}

// After a failed header read: a known format with broken headers is not handed
// to the decoders (TIFF headers are only a hint: WIC reads more of them than we
// do, but sizes we read must still be sane).
bool WicMayTry(HRESULT headers, ImageFormat format) {
  return headers == WINCODEC_ERR_COMPONENTNOTFOUND ||
         (format == ImageFormat::Tiff && headers != WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
}

// Decodes the whole picture (stored orientation, full size) through WIC, or
// GDI+ for a file WIC can't read.
HRESULT DecodePixels(IWICImagingFactory* factory, const Input& in, ImageFormat format, const DecodeOptions& opt,
                     Dib* out) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  HRESULT hr = OpenDecoder(factory, in, &stream, &decoder);
  if (SUCCEEDED(hr)) hr = PickFrame(decoder.Get(), format, opt.maxWidth, opt.maxHeight, &frame);
  if (SUCCEEDED(hr)) hr = detail::WicSourceToDib(factory, frame.Get(), opt.bitCount, opt.background, true, out);
  if (FAILED(hr) && in.path && hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) &&
      hr != HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) && hr != E_OUTOFMEMORY) {
    Dib gdip;
    std::vector<uint8_t> bytes;
    if (SUCCEEDED(detail::ReadWholeFile(in.path, &bytes, kMaxGdiPlusFile)) &&
        SUCCEEDED(DecodeWithGdiPlus(std::move(bytes), &gdip)) &&
        ConvertBitCount(gdip, opt.bitCount, &gdip, opt.background)) {
      if (opt.bitCount == 32) gdip.SetHasAlpha(true);
      *out = std::move(gdip);
      hr = S_OK;
    }
  }
  return hr;
}

// The embedded thumbnail through libjpeg-turbo, scaled on the way to cover the box (both
// sides as the longer one: the thumbnail may still be turned), padding bars cut away.
HRESULT ThumbnailPixels(const ImageInfo& info, const std::vector<uint8_t>& thumb, int boxW, int boxH, Dib* out) {
  const int side = std::max(std::min(boxW, 32767), std::min(boxH, 32767));
  if (side <= 0 || thumb.empty()) return E_FAIL;
  HRESULT hr = detail::DecodeJpegScaled(thumb.data(), thumb.size(), side, side, out);
  if (SUCCEEDED(hr)) CutPaddingBars(info.width, info.height, out);
  return hr;
}

// A JPEG wanted in a box: libjpeg-turbo decodes it at the smallest of 1/1, 1/2, 1/4 and
// 1/8 that still covers the box as stored (the box turned with the picture), instead of
// WIC's full frame. E_FAIL when it can't (WIC takes over); a header claiming far more
// than the box needs is refused outright.
HRESULT JpegPixelsForBox(const Input& in, const ImageInfo& info, int orientation, int boxW, int boxH, Dib* out) {
  if (info.format != ImageFormat::Jpeg || info.width <= 0 || info.height <= 0) return E_FAIL;
  bool swap = OrientationSwapsAxes(orientation);
  // The fitted size as shown, back in stored axes: what the scaled output must cover.
  SIZE fit = FitSize(swap ? info.height : info.width, swap ? info.width : info.height, boxW, boxH);
  int needW = swap ? fit.cy : fit.cx, needH = swap ? fit.cx : fit.cy;
  if (needW <= 0 || needH <= 0) return E_FAIL;
  std::vector<uint8_t> bytes;
  const uint8_t* data = static_cast<const uint8_t*>(in.data);
  size_t size = in.size;
  if (in.path) {
    HRESULT hr = detail::ReadWholeFile(in.path, &bytes, kMaxGdiPlusFile);
    if (FAILED(hr)) return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? hr : E_FAIL;
    data = bytes.data();
    size = bytes.size();
  }
  HRESULT hr = detail::DecodeJpegScaled(data, size, needW, needH, out, true);
  if (hr == WINCODEC_ERR_IMAGESIZEOUTOFRANGE || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return hr;
  return SUCCEEDED(hr) ? S_OK : E_FAIL;
}

// Fits the stored picture into the box as shown, turns it upright and gives it the bit count
// and row order asked for.
HRESULT FinishPicture(Dib pixels, int orientation, bool box, int boxW, int boxH, const DecodeOptions& opt, Dib* out) {
  if (box) {
    bool swap = OrientationSwapsAxes(orientation);
    SIZE fit = FitSize(swap ? pixels.Height() : pixels.Width(), swap ? pixels.Width() : pixels.Height(), boxW, boxH);
    int w = swap ? fit.cy : fit.cx, h = swap ? fit.cx : fit.cy;
    if ((w != pixels.Width() || h != pixels.Height()) && !Resize(pixels, w, h, &pixels)) return E_OUTOFMEMORY;
  }
  if (orientation > 1 && !ApplyOrientation(pixels, orientation, &pixels)) return E_OUTOFMEMORY;
  if (!ConvertBitCount(pixels, opt.bitCount, &pixels, opt.background)) return E_OUTOFMEMORY;
  pixels.SetTopDown(opt.topDown);
  *out = std::move(pixels);
  return S_OK;
}

// rep receives what the headers give even when the decode fails.
HRESULT DecodeImpl(const Input& in, const DecodeOptions& opt, Dib* out, DecodeReport& rep) {
  if (!out || (opt.bitCount != 24 && opt.bitCount != 32) || opt.maxWidth < 0 || opt.maxHeight < 0)
    return E_INVALIDARG;
  const Exif& exif = rep.exif;
  HRESULT hr;
  {
    detail::FileReader file;
    MemorySource memory(in.data, in.size);
    const ByteSource* src = &memory;
    if (in.path) {
      hr = file.Open(in.path);
      if (FAILED(hr)) return hr;
      src = &file;
    }
    hr = ReadHeaders(*src, &rep.info, &rep.exif);
  }
  if (FAILED(hr) && !WicMayTry(hr, rep.info.format)) return hr;
  // WIC is made ready only when the embedded thumbnail does not do.
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  auto wic = [&]() -> HRESULT {
    if (factory) return S_OK;
    if (!com.Ok()) return CO_E_NOTINITIALIZED;
    return detail::CreateWicFactory(&factory);
  };

  const int orientation = opt.applyOrientation ? rep.info.orientation : 0;
  // A box side of 0 leaves that side free; 0 x 0 is no box at all.
  const bool box = opt.maxWidth > 0 || opt.maxHeight > 0;
  const int boxW = opt.maxWidth > 0 ? opt.maxWidth : INT_MAX, boxH = opt.maxHeight > 0 ? opt.maxHeight : INT_MAX;
  Dib pixels;
  if (opt.source != DecodeOptions::Source::Full && exif.HasThumbnail() && ThumbnailHeaderIsSound(exif.Thumbnail())) {
    Input thumbIn;
    thumbIn.data = exif.Thumbnail().data();
    thumbIn.size = exif.Thumbnail().size();
    DecodeOptions topt = opt;
    topt.maxWidth = topt.maxHeight = 0;
    HRESULT thr = box ? ThumbnailPixels(rep.info, exif.Thumbnail(), boxW, boxH, &pixels) : E_FAIL;
    if (FAILED(thr) && SUCCEEDED(wic())) {
      thr = DecodePixels(factory.Get(), thumbIn, ImageFormat::Jpeg, topt, &pixels);
      if (SUCCEEDED(thr)) CutPaddingBars(rep.info.width, rep.info.height, &pixels);
    }
    if (SUCCEEDED(thr)) {
      bool large = true;
      if (opt.source == DecodeOptions::Source::ThumbnailIfLarge) {
        SIZE need = box ? FitSize(rep.info.DisplayWidth(), rep.info.DisplayHeight(), boxW, boxH)
                        : SIZE{rep.info.DisplayWidth(), rep.info.DisplayHeight()};
        bool swap = OrientationSwapsAxes(rep.info.orientation);
        int tw = swap ? pixels.Height() : pixels.Width(), th = swap ? pixels.Width() : pixels.Height();
        large = tw >= need.cx && th >= need.cy;
      }
      if (large)
        rep.fromThumbnail = true;
      else
        pixels.Clear();
    }
  }
  if (pixels.Empty() && opt.maxWidth > 0 && opt.maxHeight > 0) {
    hr = JpegPixelsForBox(in, rep.info, orientation, boxW, boxH, &pixels);
    if (hr == WINCODEC_ERR_IMAGESIZEOUTOFRANGE || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return hr;
  }
  if (pixels.Empty()) {
    hr = wic();
    if (FAILED(hr)) return hr;
    hr = DecodePixels(factory.Get(), in, rep.info.format, opt, &pixels);
    if (FAILED(hr)) return hr;
    if (rep.info.width <= 0) {  // a format only WIC or GDI+ knows
      rep.info.width = pixels.Width();
      rep.info.height = pixels.Height();
      rep.info.bitCount = pixels.BitCount();
    }
  }
  rep.orientationApplied = orientation > 1;
  return FinishPicture(std::move(pixels), orientation, box, boxW, boxH, opt, out);
}

HRESULT DecodeReporting(const Input& in, const DecodeOptions& opt, Dib* out, DecodeReport* report) {
  DecodeReport rep;
  HRESULT hr = DecodeImpl(in, opt, out, rep);
  if (report) *report = std::move(rep);
  return hr;
}

}  // namespace

namespace detail {

HRESULT WicSourceToDib(IWICImagingFactory* factory, IWICBitmapSource* source, int bitCount, COLORREF background,
                       bool topDown, Dib* out) {
  WICPixelFormatGUID format;
  UINT w = 0, h = 0;
  HRESULT hr = source->GetPixelFormat(&format);
  if (SUCCEEDED(hr)) hr = source->GetSize(&w, &h);
  if (FAILED(hr)) return hr;
  if (w == 0 || h == 0 || w > 32767 || h > 32767) return E_FAIL;
  const bool opaque = IsOpaqueFormat(format);
  const GUID& target = !opaque ? GUID_WICPixelFormat32bppBGRA
                               : bitCount == 24 ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat32bppBGR;
  ComPtr<IWICFormatConverter> converter;
  IWICBitmapSource* from = source;
  if (!SameGuid(format, target)) {
    hr = factory->CreateFormatConverter(converter.Put());
    if (SUCCEEDED(hr))
      hr = converter->Initialize(source, target, WICBitmapDitherTypeNone, nullptr, 0, WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) return hr;
    from = converter.Get();
  }
  Dib dib;
  if (!dib.Create(int(w), int(h), opaque ? bitCount : 32, true)) return E_OUTOFMEMORY;
  if (dib.BitsSize() > 0xFFFFFFFFu) return E_OUTOFMEMORY;
  hr = from->CopyPixels(nullptr, UINT(dib.Stride()), UINT(dib.BitsSize()), dib.Bits());
  if (FAILED(hr)) return hr;
  if (dib.BitCount() == 32) {
    bool translucent = false;
    for (int y = 0; y < dib.Height(); ++y) {
      uint8_t* p = dib.Row(y) + 3;
      for (int x = 0; x < dib.Width(); ++x, p += 4) {
        if (opaque)
          *p = 0xFF;
        else if (*p != 0xFF)
          translucent = true;
      }
    }
    dib.SetHasAlpha(translucent);
    if (!ConvertBitCount(dib, bitCount, &dib, background)) return E_OUTOFMEMORY;
  }
  dib.SetTopDown(topDown);
  *out = std::move(dib);
  return S_OK;
}

}  // namespace detail

namespace {

// ProbeImage on a file already open at path.
HRESULT ProbeOpen(const char* path, const ByteSource& file, ImageInfo* info, Exif* exif) {
  HRESULT hr = ReadHeaders(file, info, exif);
  if (SUCCEEDED(hr) || !WicMayTry(hr, info->format)) return hr;
  // Formats without a hand-read header: ask WIC for the frame size.
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  Input in;
  in.path = path;
  UINT w = 0, h = 0;
  hr = detail::CreateWicFactory(&factory);
  if (SUCCEEDED(hr)) hr = OpenDecoder(factory.Get(), in, &stream, &decoder);
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.Put());
  if (SUCCEEDED(hr)) hr = frame->GetSize(&w, &h);
  if (FAILED(hr)) return hr;
  info->width = int(w);
  info->height = int(h);
  return S_OK;
}

// DetectFileFormat on an open file.
ImageFormat FormatOfOpen(const ByteSource& file) {
  uint8_t head[16];
  size_t got = size_t(std::min<uint64_t>(file.Size(), sizeof head));
  return file.Read(0, head, got) ? DetectFormat(head, got) : ImageFormat::Unknown;
}

// The first bytes of a file of a known size. A read the file would serve but the head
// can't is noted: what was probed then is not what the file tells.
class HeadSource : public ByteSource {
 public:
  HeadSource(const void* head, size_t size, uint64_t fileSize)
      : head_(static_cast<const uint8_t*>(head)), size_(std::min<uint64_t>(size, fileSize)), fileSize_(fileSize) {}
  uint64_t Size() const override { return fileSize_; }
  bool Read(uint64_t pos, void* dst, size_t n) const override {
    if (pos > fileSize_ || n > fileSize_ - pos) return false;
    if (pos > size_ || n > size_ - pos) {
      short_ = true;
      return false;
    }
    if (n) memcpy(dst, head_ + pos, n);
    return true;
  }
  bool Short() const { return short_; }

 private:
  const uint8_t* head_;
  uint64_t size_, fileSize_;
  mutable bool short_ = false;
};

// ProbeImageFile's reading of an open source; WIC, which needs the file, only with a path.
void ProbeSource(const char* path, const ByteSource& src, FileProbe* out) {
  if ((out->format = FormatOfOpen(src)) == ImageFormat::Unknown) return;
  Exif headers;
  if (path) {
    out->probe = ProbeOpen(path, src, &out->info, &headers);
  } else {
    // E_PENDING: only a decoder reading the file could tell.
    out->probe = ReadHeaders(src, &out->info, &headers);
    if (FAILED(out->probe) && WicMayTry(out->probe, out->info.format)) out->probe = E_PENDING;
  }
  if (out->format == ImageFormat::Jpeg || out->format == ImageFormat::Tiff) out->hasExif = out->exif.LoadFrom(src);
}

}  // namespace

HRESULT ProbeImage(const char* path, ImageInfo* info, Exif* exifOut, HANDLE* keepOpen) {
  if (keepOpen) *keepOpen = NULL;
  if (!path || !info) return E_INVALIDARG;
  Exif local;
  Exif* exif = exifOut ? exifOut : &local;
  exif->Clear();
  detail::FileReader file;
  HRESULT hr = file.Open(path);
  if (FAILED(hr)) return hr;
  hr = ProbeOpen(path, file, info, exif);
  if (keepOpen) *keepOpen = file.Release();
  return hr;
}

void ProbeImageFile(const char* path, FileProbe* out) {
  *out = FileProbe();
  detail::FileReader file;
  if (path && SUCCEEDED(file.Open(path))) ProbeSource(path, file, out);
}

bool ProbeImageHead(const void* head, size_t size, uint64_t fileSize, FileProbe* out) {
  *out = FileProbe();
  if (!head && size) return false;
  HeadSource src(head, size, fileSize);
  ProbeSource(nullptr, src, out);
  if (!src.Short() && out->probe != E_PENDING) return true;
  *out = FileProbe();
  return false;
}

HRESULT DecodeFile(const char* path, const DecodeOptions& options, Dib* out, DecodeReport* report) {
  if (!path || !*path) return E_INVALIDARG;
  Input in;
  in.path = path;
  return DecodeReporting(in, options, out, report);
}

HRESULT DecodeMemory(const void* data, size_t size, const DecodeOptions& options, Dib* out, DecodeReport* report) {
  if (!data || !size) return E_INVALIDARG;
  Input in;
  in.data = static_cast<const uint8_t*>(data);
  in.size = size;
  return DecodeReporting(in, options, out, report);
}

HRESULT DecodeProbedThumbnail(const ImageInfo& info, const std::vector<uint8_t>& thumbnail, int maxWidth,
                              int maxHeight, Dib* out, int bitCount) {
  if (!out || maxWidth <= 0 || maxHeight <= 0 || (bitCount != 24 && bitCount != 32)) return E_INVALIDARG;
  if (!ThumbnailHeaderIsSound(thumbnail)) return E_FAIL;
  Dib pixels;
  HRESULT hr = ThumbnailPixels(info, thumbnail, maxWidth, maxHeight, &pixels);
  if (FAILED(hr)) return hr;
  DecodeOptions opt;
  opt.bitCount = bitCount;
  return FinishPicture(std::move(pixels), info.orientation, true, maxWidth, maxHeight, opt, out);
}

HRESULT DecodeThumbnail(const char* path, int maxWidth, int maxHeight, Dib* out, DecodeReport* report,
                        int bitCount) {
  if (maxWidth <= 0 || maxHeight <= 0) return E_INVALIDARG;
  DecodeOptions opt;
  opt.maxWidth = maxWidth;
  opt.maxHeight = maxHeight;
  opt.bitCount = bitCount;
  opt.source = DecodeOptions::Source::Thumbnail;
  return DecodeFile(path, opt, out, report);
}

const char* FormatName(ImageFormat format) {
  switch (format) {
    case ImageFormat::Jpeg: return "JPEG";
    case ImageFormat::Png: return "PNG";
    case ImageFormat::Bmp: return "BMP";
    case ImageFormat::Gif: return "GIF";
    case ImageFormat::Tiff: return "TIFF";
    case ImageFormat::Ico: return "ICO";
    default: return "";
  }
}

ImageFormat DetectFormat(const void* head, size_t size) {
  const uint8_t* h = static_cast<const uint8_t*>(head);
  if (!h) return ImageFormat::Unknown;
  if (size >= 3 && h[0] == 0xFF && h[1] == 0xD8 && h[2] == 0xFF) return ImageFormat::Jpeg;
  if (size >= 8 && memcmp(h, "\x89PNG\r\n\x1a\n", 8) == 0) return ImageFormat::Png;
  if (size >= 6 && (memcmp(h, "GIF87a", 6) == 0 || memcmp(h, "GIF89a", 6) == 0)) return ImageFormat::Gif;
  if (size >= 4 && (memcmp(h, "II*\0", 4) == 0 || memcmp(h, "MM\0*", 4) == 0)) return ImageFormat::Tiff;
  if (size >= 14 && h[0] == 'B' && h[1] == 'M') return ImageFormat::Bmp;  // the file header
  if (size >= 6 && h[0] == 0 && h[1] == 0 && h[2] == 1 && h[3] == 0 && (h[4] || h[5])) return ImageFormat::Ico;
  return ImageFormat::Unknown;
}

ImageFormat DetectFileFormat(const char* path) {
  detail::FileReader file;
  if (!path || FAILED(file.Open(path, 16))) return ImageFormat::Unknown;
  return FormatOfOpen(file);
}

ImageFormat FormatFromExtension(const char* path) {
  if (!path) return ImageFormat::Unknown;
  const std::string ext = textkit::ExtensionOf(path);
  static const struct {
    const char* ext;
    ImageFormat format;
  } kExt[] = {{".jpg", ImageFormat::Jpeg}, {".jpeg", ImageFormat::Jpeg}, {".jpe", ImageFormat::Jpeg},
              {".png", ImageFormat::Png},  {".bmp", ImageFormat::Bmp},   {".dib", ImageFormat::Bmp},
              {".gif", ImageFormat::Gif},  {".tif", ImageFormat::Tiff},  {".tiff", ImageFormat::Tiff},
              {".ico", ImageFormat::Ico}};
  for (const auto& e : kExt)
    if (textkit::EqualNoCase(ext, e.ext)) return e.format;
  return ImageFormat::Unknown;
}

HRESULT DrawPictureFile(HDC dc, const RECT& box, const char* path, bool enlarge) {
  if (!dc || !path || box.right <= box.left || box.bottom <= box.top) return E_INVALIDARG;
  DecodeOptions opt;
  opt.maxWidth = box.right - box.left;
  opt.maxHeight = box.bottom - box.top;
  opt.bitCount = 32;
  opt.source = DecodeOptions::Source::ThumbnailIfLarge;
  Dib picture;
  HRESULT hr = DecodeFile(path, opt, &picture);
  if (FAILED(hr)) return hr;
  RECT at = FitRect(picture.Width(), picture.Height(), box, enlarge);
  return picture.Draw(dc, at) ? S_OK : E_FAIL;
}

}  // namespace imaging
