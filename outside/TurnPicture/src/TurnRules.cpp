#include "TurnRules.h"

#include <Kitlib2/Kitlib2.h>
#include <imaging/imaging.h>
#include <imaging/output.h>
#include <imaging/transform.h>

#include <vector>

namespace turnpicture {

const char kSection[] = "Tool1\\TurnPicture";

namespace {

// The orientation tag rewritten: the pixels stay as they are.
HRESULT TurnTag(std::vector<uint8_t>* bytes, imaging::ImageFormat format, int degrees) {
  imaging::Exif exif;
  int current = exif.LoadMemory(bytes->data(), bytes->size()) ? exif.Orientation() : 0;
  int turned = imaging::RotateOrientation(current, degrees);
  bool ok = format == imaging::ImageFormat::Jpeg ? imaging::SetJpegOrientation(bytes, turned)
                                                 : imaging::SetTiffOrientation(bytes, turned);
  return ok ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
}

// A JPEG's pixels: the blocks moved when they can be, else decoded and encoded again.
HRESULT TurnJpeg(const std::vector<uint8_t>& bytes, int degrees, std::vector<uint8_t>* out) {
  imaging::Exif exif;
  int current = exif.LoadMemory(bytes.data(), bytes.size()) ? exif.Orientation() : 0;
  int turned = imaging::RotateOrientation(current, degrees);
  HRESULT hr = imaging::TurnJpegLossless(bytes, turned, out);
  if (hr != HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED)) return hr;
  imaging::DecodeOptions opt;
  imaging::DecodeReport report;
  imaging::Dib upright, result;
  hr = imaging::DecodeMemory(bytes.data(), bytes.size(), opt, &upright, &report);
  if (FAILED(hr)) return hr;
  if (!imaging::Rotate(upright, degrees, &result)) return E_OUTOFMEMORY;
  imaging::OutputPicture how;
  how.format = imaging::ImageFormat::Jpeg;
  how.quality = 95;
  how.tags = imaging::ReadPictureMetadata(bytes.data(), bytes.size());
  how.exifOrientation = turned;
  return imaging::EncodeOutputPicture(result, how, out);
}

// Other kinds: decoded, turned, encoded again in their own format.
HRESULT TurnDecoded(const std::string& path, int degrees, std::vector<uint8_t>* out) {
  imaging::Dib upright, result;
  imaging::OutputPicture how;
  HRESULT hr = imaging::LoadForOutput(path.c_str(), &upright, &how);
  if (FAILED(hr)) return hr;
  if (!imaging::Rotate(upright, degrees, &result)) return E_OUTOFMEMORY;
  result.SetHasAlpha(upright.HasAlpha());
  return imaging::EncodeOutputPicture(result, how, out);
}

}  // namespace

Settings ReadSettings() {
  Settings s;
  int rotation = CMGetProfileInt(kSection, "Rotation", 90);
  s.rotation = rotation == 180 || rotation == 270 ? rotation : 90;
  s.tagOnly = CMGetProfileInt(kSection, "Exif", 0) != 0;
  int save = CMGetProfileInt(kSection, "SaveMode", 1);
  s.saveMode = save >= 0 && save <= 2 ? save : 0;
  return s;
}

void WriteSettings(const Settings& s) {
  CMWriteProfileInt(kSection, "Rotation", s.rotation);
  CMWriteProfileInt(kSection, "Exif", s.tagOnly ? 1 : 0);
  CMWriteProfileInt(kSection, "SaveMode", s.saveMode);
}

HRESULT TurnFile(const std::string& path, int degrees, bool tagOnly, bool inPlace, std::string* output) {
  if (output) output->clear();
  degrees = ((degrees % 360) + 360) % 360;
  if (degrees % 90 != 0) return E_INVALIDARG;
  imaging::ComScope com;
  std::vector<uint8_t> bytes;
  HRESULT hr = imaging::ReadPictureFile(path.c_str(), &bytes);
  if (FAILED(hr)) return hr;
  imaging::ImageFormat format = imaging::DetectFormat(bytes.data(), bytes.size());
  const bool hasTag = format == imaging::ImageFormat::Jpeg || format == imaging::ImageFormat::Tiff;
  const bool encodable = format == imaging::ImageFormat::Png || format == imaging::ImageFormat::Bmp ||
                         format == imaging::ImageFormat::Tiff;
  std::vector<uint8_t> out;
  if (tagOnly && hasTag) {
    out = bytes;
    hr = TurnTag(&out, format, degrees);
  } else if (format == imaging::ImageFormat::Jpeg) {
    hr = TurnJpeg(bytes, degrees, &out);
  } else if (encodable) {
    hr = TurnDecoded(path, degrees, &out);
  } else {
    hr = HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
  }
  if (FAILED(hr)) return hr;

  std::string target = inPlace ? path : imaging::FreeCopyName(path, "_r");
  if (target.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
  imaging::OutputCheck check;
  check.format = format;
  hr = imaging::PlaceOutputFile(target.c_str(), out.data(), out.size(), inPlace, check);
  if (SUCCEEDED(hr) && output) *output = target;
  return hr;
}

}  // namespace turnpicture
