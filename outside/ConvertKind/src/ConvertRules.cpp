#include "ConvertRules.h"

#include <Kitlib2/Kitlib2.h>
#include <imaging/imaging.h>
#include <imaging/output.h>

namespace convertkind {

const char kSection[] = "Tool1\\ConvertKind";

int ReadKind() {
  int kind = CMGetProfileInt(kSection, "Kind", KIND_JPEG);
  return kind >= KIND_JPEG && kind <= KIND_TIFF ? kind : KIND_JPEG;
}

void WriteKind(int kind) { CMWriteProfileInt(kSection, "Kind", kind); }

imaging::ImageFormat FormatOfKind(int kind) {
  switch (kind) {
    case KIND_JPEG: return imaging::ImageFormat::Jpeg;
    case KIND_BMP: return imaging::ImageFormat::Bmp;
    case KIND_PNG: return imaging::ImageFormat::Png;
    case KIND_TIFF: return imaging::ImageFormat::Tiff;
    default: return imaging::ImageFormat::Unknown;
  }
}

HRESULT ConvertFile(const std::string& path, int kind, std::string* output) {
  if (output) output->clear();
  imaging::ImageFormat format = FormatOfKind(kind);
  if (format == imaging::ImageFormat::Unknown) return E_INVALIDARG;
  imaging::ComScope com;
  imaging::Dib upright;
  imaging::OutputPicture how;
  HRESULT hr = imaging::LoadForOutput(path.c_str(), &upright, &how);
  if (FAILED(hr)) return hr;
  if (how.format == format) return S_FALSE;
  std::string target = imaging::FreeCopyName(path, "", imaging::OutputExtension(format));
  if (target.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
  how.format = format;
  how.quality = 95;
  hr = imaging::SaveOutputPicture(upright, how, target.c_str(), false);
  if (SUCCEEDED(hr) && output) *output = target;
  return hr;
}

}  // namespace convertkind
