// Decoding files into Dibs: header probes, WIC decoding, the Exif-thumbnail path.
#include <algorithm>
#include <climits>
#include <cstring>

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
    std::wstring w = textkit::AnsiToWide(in.path);
    if (w.empty()) return E_INVALIDARG;
    return factory->CreateDecoderFromFilename(w.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                              decoder->Put());
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

// GDI+ for what WIC can't read (files only).
HRESULT DecodeWithGdiPlus(const char* path, Dib* out) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return E_FAIL;
  HRESULT hr = E_FAIL;
  {
    std::wstring w = textkit::AnsiToWide(path ? path : "");
    Gdiplus::Bitmap bitmap(w.c_str());
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
        if (src.Read(layout.tiffPos, block.data(), block.size()) && exif->ParseTiff(block.data(), block.size())) {
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
      if (hs == 12) {
        info->width = detail::Get16(h + 18, false);
        info->height = detail::Get16(h + 20, false);
        info->bitCount = detail::Get16(h + 24, false);
      } else if (got >= 30) {
        info->width = int32_t(detail::Get32(h + 18, false));
        int32_t ht = int32_t(detail::Get32(h + 22, false));
        info->height = ht < 0 ? -ht : ht;
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
      uint32_t n = detail::Get16(h + 4, false);
      for (uint32_t i = 0; i < n && i < 256; ++i) {
        uint8_t e[16];
        if (!src.Read(6 + 16 * uint64_t(i), e, 16)) break;
        int w = e[0] ? e[0] : 256, ht = e[1] ? e[1] : 256;
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
  return info->width > 0 && info->height > 0 ? S_OK : E_FAIL;
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
    if (SUCCEEDED(DecodeWithGdiPlus(in.path, &gdip)) &&
        ConvertBitCount(gdip, opt.bitCount, &gdip, opt.background)) {
      if (opt.bitCount == 32) gdip.SetHasAlpha(true);
      *out = std::move(gdip);
      hr = S_OK;
    }
  }
  return hr;
}

HRESULT DecodeImpl(const Input& in, const DecodeOptions& opt, Dib* out, DecodeReport* report) {
  if (!out || (opt.bitCount != 24 && opt.bitCount != 32) || opt.maxWidth < 0 || opt.maxHeight < 0)
    return E_INVALIDARG;
  DecodeReport rep;
  Exif exif;
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
    hr = ReadHeaders(*src, &rep.info, &exif);
  }
  // A known format with broken headers is not handed to the decoders (TIFF
  // headers are only a hint: WIC reads more of them than we do).
  if (FAILED(hr) && hr != WINCODEC_ERR_COMPONENTNOTFOUND && rep.info.format != ImageFormat::Tiff) return hr;
  ComScope com;
  if (!com.Ok()) return CO_E_NOTINITIALIZED;
  ComPtr<IWICImagingFactory> factory;
  hr = detail::CreateWicFactory(&factory);
  if (FAILED(hr)) return hr;

  const int orientation = opt.applyOrientation ? rep.info.orientation : 0;
  // A box side of 0 leaves that side free; 0 x 0 is no box at all.
  const bool box = opt.maxWidth > 0 || opt.maxHeight > 0;
  const int boxW = opt.maxWidth > 0 ? opt.maxWidth : INT_MAX, boxH = opt.maxHeight > 0 ? opt.maxHeight : INT_MAX;
  Dib pixels;
  if (opt.source != DecodeOptions::Source::Full && exif.HasThumbnail()) {
    Input thumbIn;
    thumbIn.data = exif.Thumbnail().data();
    thumbIn.size = exif.Thumbnail().size();
    DecodeOptions topt = opt;
    topt.maxWidth = topt.maxHeight = 0;
    if (SUCCEEDED(DecodePixels(factory.Get(), thumbIn, ImageFormat::Jpeg, topt, &pixels))) {
      CutPaddingBars(rep.info.width, rep.info.height, &pixels);
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
  if (pixels.Empty()) {
    hr = DecodePixels(factory.Get(), in, rep.info.format, opt, &pixels);
    if (FAILED(hr)) return hr;
    if (rep.info.width <= 0) {  // a format only WIC or GDI+ knows
      rep.info.width = pixels.Width();
      rep.info.height = pixels.Height();
      rep.info.bitCount = pixels.BitCount();
    }
  }
  if (box) {
    bool swap = OrientationSwapsAxes(orientation);
    SIZE fit = FitSize(swap ? pixels.Height() : pixels.Width(), swap ? pixels.Width() : pixels.Height(), boxW, boxH);
    int w = swap ? fit.cy : fit.cx, h = swap ? fit.cx : fit.cy;
    if ((w != pixels.Width() || h != pixels.Height()) && !Resize(pixels, w, h, &pixels)) return E_OUTOFMEMORY;
  }
  if (orientation > 1) {
    if (!ApplyOrientation(pixels, orientation, &pixels)) return E_OUTOFMEMORY;
    rep.orientationApplied = true;
  }
  if (!ConvertBitCount(pixels, opt.bitCount, &pixels, opt.background)) return E_OUTOFMEMORY;
  pixels.SetTopDown(opt.topDown);
  *out = std::move(pixels);
  if (report) *report = rep;
  return S_OK;
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

HRESULT ProbeImage(const char* path, ImageInfo* info) {
  if (!path || !info) return E_INVALIDARG;
  detail::FileReader file;
  HRESULT hr = file.Open(path);
  if (FAILED(hr)) return hr;
  Exif exif;
  hr = ReadHeaders(file, info, &exif);
  if (hr != WINCODEC_ERR_COMPONENTNOTFOUND && !(info->format == ImageFormat::Tiff && FAILED(hr))) return hr;
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

HRESULT DecodeFile(const char* path, const DecodeOptions& options, Dib* out, DecodeReport* report) {
  if (!path || !*path) return E_INVALIDARG;
  Input in;
  in.path = path;
  return DecodeImpl(in, options, out, report);
}

HRESULT DecodeMemory(const void* data, size_t size, const DecodeOptions& options, Dib* out, DecodeReport* report) {
  if (!data || !size) return E_INVALIDARG;
  Input in;
  in.data = static_cast<const uint8_t*>(data);
  in.size = size;
  return DecodeImpl(in, options, out, report);
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
  if (!path || FAILED(file.Open(path))) return ImageFormat::Unknown;
  uint8_t head[16];
  size_t got = size_t(std::min<uint64_t>(file.Size(), sizeof head));
  return file.Read(0, head, got) ? DetectFormat(head, got) : ImageFormat::Unknown;
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
