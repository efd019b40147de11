// Encoding Dibs: JPEG and PNG through WIC into memory, BMP by hand.
#include <cstring>

#include "imaging/com.h"
#include "imaging/decode.h"
#include "imaging/encode.h"
#include "imaging/exif.h"
#include "imaging/metadata.h"
#include "imaging/output.h"
#include "imaging/transform.h"
#include "internal.h"

namespace imaging {

using detail::ComPtr;

namespace {

HRESULT StreamBytes(IStream* stream, std::vector<uint8_t>* out) {
  STATSTG st = {};
  HRESULT hr = stream->Stat(&st, STATFLAG_NONAME);
  if (FAILED(hr)) return hr;
  HGLOBAL mem = nullptr;
  hr = GetHGlobalFromStream(stream, &mem);
  if (FAILED(hr)) return hr;
  size_t size = size_t(st.cbSize.QuadPart);
  if (size > GlobalSize(mem)) return E_FAIL;
  const void* p = GlobalLock(mem);
  if (!p) return E_OUTOFMEMORY;
  out->assign(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + size);
  GlobalUnlock(mem);
  return S_OK;
}

// Encodes src with a WIC encoder of the given container into memory.
HRESULT EncodeWic(const GUID& container, const Dib& src, float quality, std::vector<uint8_t>* out) {
  if (src.Empty() || !out) return E_INVALIDARG;
  ComScope com;
  if (!com.Ok()) return CO_E_NOTINITIALIZED;
  // JPEG has no alpha: translucent pictures are blended over white first.
  const bool alpha = container != GUID_ContainerFormatJpeg && src.HasAlpha();
  Dib rgb;
  const Dib* pixels = &src;
  if (!alpha && src.BitCount() != 24) {
    if (!ConvertBitCount(src, 24, &rgb)) return E_OUTOFMEMORY;
    pixels = &rgb;
  }
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> props;
  HRESULT hr = detail::CreateWicFactory(&factory);
  if (SUCCEEDED(hr)) hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(container, nullptr, encoder.Put());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.Put(), props.Put());
  if (SUCCEEDED(hr) && quality >= 0 && props) {
    PROPBAG2 option = {};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = quality;
    hr = props->Write(1, &option, &value);
  }
  if (SUCCEEDED(hr)) hr = frame->Initialize(props.Get());
  if (SUCCEEDED(hr)) hr = frame->SetSize(UINT(pixels->Width()), UINT(pixels->Height()));
  const GUID wanted = alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
  WICPixelFormatGUID format = wanted;
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr) && memcmp(&format, &wanted, sizeof format) != 0) hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
  if (SUCCEEDED(hr)) {
    const UINT stride = UINT(pixels->Stride());
    if (pixels->TopDown()) {
      hr = frame->WritePixels(UINT(pixels->Height()), stride, UINT(pixels->BitsSize()),
                              const_cast<BYTE*>(pixels->Bits()));
    } else {
      for (int y = 0; SUCCEEDED(hr) && y < pixels->Height(); ++y)
        hr = frame->WritePixels(1, stride, stride, const_cast<BYTE*>(pixels->Row(y)));
    }
  }
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  if (SUCCEEDED(hr)) hr = StreamBytes(stream.Get(), out);
  return hr;
}

}  // namespace

HRESULT EncodeJpeg(const Dib& src, int quality, std::vector<uint8_t>* out, const std::vector<uint8_t>* exifTiff) {
  if (quality < 1 || quality > 100) return E_INVALIDARG;
  // A block too big for its segment is refused, not left out.
  if (exifTiff && exifTiff->size() > 0xFFFF - 2 - 6) return E_INVALIDARG;
  HRESULT hr = EncodeWic(GUID_ContainerFormatJpeg, src, float(quality) / 100.0f, out);
  if (FAILED(hr) || !exifTiff || exifTiff->empty()) return hr;
  PictureMetadata m;
  m.exif = *exifTiff;
  return PutJpegMetadata(out, m) ? S_OK : E_INVALIDARG;
}

HRESULT SaveJpeg(const Dib& src, const char* path, int quality, const std::vector<uint8_t>* exifTiff) {
  std::vector<uint8_t> bytes;
  HRESULT hr = EncodeJpeg(src, quality, &bytes, exifTiff);
  return SUCCEEDED(hr) ? WriteFileReplacing(path, bytes.data(), bytes.size()) : hr;
}

HRESULT EncodePng(const Dib& src, std::vector<uint8_t>* out) {
  return EncodeWic(GUID_ContainerFormatPng, src, -1.0f, out);
}

HRESULT SavePng(const Dib& src, const char* path) {
  std::vector<uint8_t> bytes;
  HRESULT hr = EncodePng(src, &bytes);
  return SUCCEEDED(hr) ? WriteFileReplacing(path, bytes.data(), bytes.size()) : hr;
}

HRESULT EncodeBmp(const Dib& src, std::vector<uint8_t>* out) {
  if (src.Empty() || !out) return E_INVALIDARG;
  Dib bottomUp;
  const Dib* d = &src;
  if (src.TopDown()) {  // many readers take only bottom-up BMP files
    bottomUp = src;
    bottomUp.SetTopDown(false);
    d = &bottomUp;
  }
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = DWORD(sizeof fh + sizeof(BITMAPINFOHEADER));
  fh.bfSize = DWORD(fh.bfOffBits + d->BitsSize());
  out->resize(sizeof fh);
  memcpy(out->data(), &fh, sizeof fh);
  out->insert(out->end(), d->Packed(), d->Packed() + d->PackedSize());
  return S_OK;
}

HRESULT SaveBmp(const Dib& src, const char* path) {
  std::vector<uint8_t> bytes;
  HRESULT hr = EncodeBmp(src, &bytes);
  return SUCCEEDED(hr) ? WriteFileReplacing(path, bytes.data(), bytes.size()) : hr;
}

HRESULT ReencodeUpright(const char* src, const char* dst, int quality) {
  if (!src || !dst || quality < 1 || quality > 100) return E_INVALIDARG;
  std::vector<uint8_t> file;
  HRESULT hr = detail::ReadWholeFile(src, &file);
  if (FAILED(hr)) return hr;
  if (DetectFormat(file.data(), file.size()) != ImageFormat::Jpeg) return WINCODEC_ERR_COMPONENTNOTFOUND;
  DecodeOptions opt;
  Dib pixels;
  DecodeReport report;
  hr = DecodeMemory(file.data(), file.size(), opt, &pixels, &report);
  if (FAILED(hr)) return hr;
  OutputPicture how;
  how.quality = quality;
  how.tags = ReadPictureMetadata(file.data(), file.size());
  how.exifOrientation = report.orientationApplied ? report.info.orientation : 1;
  std::vector<uint8_t> bytes;
  hr = EncodeOutputPicture(pixels, how, &bytes);
  return SUCCEEDED(hr) ? WriteFileReplacing(dst, bytes.data(), bytes.size()) : hr;
}

}  // namespace imaging
