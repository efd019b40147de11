// The picture tools' output: encoding with the Exif carried over, free copy names, and
// the checked move of a hidden temporary file into place.
#include <cstring>

#include <textkit/path.h>

#include "imaging/encode.h"
#include "imaging/exif.h"
#include "imaging/output.h"
#include "internal.h"

namespace imaging {

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Writes, flushes and reads back: the bytes on the disk are the bytes meant.
HRESULT WriteAndCompare(const char* path, const void* data, size_t size) {
  HRESULT hr = detail::WriteAndFlush(path, data, size, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY);
  if (FAILED(hr)) return hr;
  std::vector<uint8_t> back;
  hr = detail::ReadWholeFile(path, &back, uint64_t(size) + 1);
  if (FAILED(hr)) return hr;
  if (back.size() != size || (size && memcmp(back.data(), data, size) != 0)) return HRESULT_FROM_WIN32(ERROR_CRC);
  return S_OK;
}

HRESULT CheckPicture(const char* path, const OutputCheck& check) {
  if (check.format == ImageFormat::Unknown && !check.width && !check.height) return S_OK;
  ImageInfo info;
  HRESULT hr = ProbeImage(path, &info);
  if (FAILED(hr)) return hr;
  if (check.format != ImageFormat::Unknown && info.format != check.format) return WINCODEC_ERR_BADIMAGE;
  if ((check.width && info.width != check.width) || (check.height && info.height != check.height))
    return WINCODEC_ERR_BADIMAGE;
  return S_OK;
}

}  // namespace

std::string FreeCopyName(const std::string& path, const std::string& tag, const std::string& ext) {
  size_t nameOff = textkit::NameOffset(path);
  std::string oldExt = textkit::ExtensionOf(path.substr(nameOff));
  std::string base = path.substr(0, path.size() - oldExt.size()) + tag;
  const std::string& newExt = ext.empty() ? oldExt : ext;
  for (int i = 1; i < 10000; ++i) {
    std::string candidate = base + (i == 1 ? std::string() : "(" + std::to_string(i) + ")") + newExt;
    if (candidate.size() >= MAX_PATH) return std::string();
    if (!Exists(candidate)) return candidate;
  }
  return std::string();
}

HRESULT ReadPictureFile(const char* path, std::vector<uint8_t>* bytes) {
  if (!path || !bytes) return E_INVALIDARG;
  return detail::ReadWholeFile(path, bytes, uint64_t(1) << 30);
}

const char* OutputExtension(ImageFormat format) {
  switch (format) {
    case ImageFormat::Jpeg: return ".jpg";
    case ImageFormat::Png: return ".png";
    case ImageFormat::Bmp: return ".bmp";
    case ImageFormat::Tiff: return ".tif";
    case ImageFormat::Gif: return ".gif";
    default: return "";
  }
}

HRESULT PlaceOutputFile(const char* target, const void* data, size_t size, bool replace, const OutputCheck& check) {
  if (!target || !*target || (!data && size)) return E_INVALIDARG;
  DWORD attributes = GetFileAttributesA(target);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (!replace) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
    // A write-protected file stays as it is (a replacing move would not ask everywhere).
    if (attributes & FILE_ATTRIBUTE_READONLY) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  }
  std::string dir = textkit::FolderPartOf(target);
  if (dir.empty()) dir = ".";
  char temp[MAX_PATH];
  if (!GetTempFileNameA(dir.c_str(), "gim", 0, temp)) return detail::HrFromLastError();
  HRESULT hr = WriteAndCompare(temp, data, size);
  if (SUCCEEDED(hr)) hr = CheckPicture(temp, check);
  // Shown as an ordinary file from the moment it has its name.
  if (SUCCEEDED(hr) && !SetFileAttributesA(temp, FILE_ATTRIBUTE_NORMAL)) hr = detail::HrFromLastError();
  if (SUCCEEDED(hr)) {
    DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExA(temp, target, flags)) {
      DWORD err = GetLastError();
      hr = err == ERROR_ALREADY_EXISTS ? HRESULT_FROM_WIN32(ERROR_FILE_EXISTS) : HRESULT_FROM_WIN32(err);
    }
  }
  if (FAILED(hr)) {
    SetFileAttributesA(temp, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(temp);
  }
  return hr;
}

HRESULT EncodeOutputPicture(const Dib& upright, const OutputPicture& how, std::vector<uint8_t>* out) {
  if (upright.Empty() || !out) return E_INVALIDARG;
  // The one rule for every tool: what the source says of the picture goes along, upright.
  PictureMetadata m;
  if (!how.tags.exif.empty())
    m.exif = MakeUprightExif(how.tags.exif, how.exifOrientation, upright.Width(), upright.Height());
  m.xmp = UprightXmp(how.tags.xmp);
  m.iptc = how.tags.iptc;
  HRESULT hr;
  switch (how.format) {
    case ImageFormat::Jpeg:
      hr = EncodeJpeg(upright, how.quality, out);
      return SUCCEEDED(hr) && !PutJpegMetadata(out, m) ? E_FAIL : hr;
    case ImageFormat::Png:
      m.iptc.clear();  // no place for it
      hr = EncodePng(upright, out);
      return SUCCEEDED(hr) && !PutPngMetadata(out, m) ? E_FAIL : hr;
    case ImageFormat::Bmp: return EncodeBmp(upright, out);
    case ImageFormat::Tiff: {
      // TIFF's own directories: the source's block, its orientation and size set there.
      m.exif = how.tags.exif;
      return EncodeTiff(upright, out, &m);
    }
    default: return WINCODEC_ERR_COMPONENTNOTFOUND;
  }
}

HRESULT SaveOutputPicture(const Dib& upright, const OutputPicture& how, const char* target, bool replace) {
  std::vector<uint8_t> bytes;
  HRESULT hr = EncodeOutputPicture(upright, how, &bytes);
  if (FAILED(hr)) return hr;
  OutputCheck check;
  check.format = how.format;
  check.width = upright.Width();
  check.height = upright.Height();
  return PlaceOutputFile(target, bytes.data(), bytes.size(), replace, check);
}

HRESULT LoadForOutput(const char* path, Dib* upright, OutputPicture* keep) {
  if (!path || !upright || !keep) return E_INVALIDARG;
  ImageFormat format = DetectFileFormat(path);
  DecodeOptions opt;
  opt.bitCount = format == ImageFormat::Jpeg || format == ImageFormat::Bmp ? 24 : 32;
  DecodeReport report;
  HRESULT hr = DecodeFile(path, opt, upright, &report);
  if (FAILED(hr)) return hr;
  keep->format = report.info.format;
  keep->tags = ReadPictureMetadataFile(path);
  keep->exifOrientation = report.orientationApplied ? report.info.orientation : 1;
  return S_OK;
}

}  // namespace imaging
