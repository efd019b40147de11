#include "ScaleRules.h"

#include <Kitlib2/Kitlib2.h>
#include <imaging/imaging.h>
#include <imaging/output.h>
#include <imaging/transform.h>

#include <algorithm>
#include <vector>

namespace scalepicture {

const char kSection[] = "Tool1\\ScalePicture";

namespace {

int InRange(int v, int lo, int hi, int fallback) { return v >= lo && v <= hi ? v : fallback; }

bool KeepsFormat(imaging::ImageFormat f) {
  return f == imaging::ImageFormat::Jpeg || f == imaging::ImageFormat::Png || f == imaging::ImageFormat::Bmp ||
         f == imaging::ImageFormat::Tiff;
}

}  // namespace

Settings ReadSettings() {
  Settings d, s;
  s.byPercent = CMGetProfileInt(kSection, "ByPercent", 0) != 0;
  s.longSide = InRange(CMGetProfileInt(kSection, "LongSide", d.longSide), kMinSide, kMaxSide, d.longSide);
  s.percent = InRange(CMGetProfileInt(kSection, "Percent", d.percent), 1, 100, d.percent);
  s.quality = InRange(CMGetProfileInt(kSection, "Quality", d.quality), kMinQuality, 100, d.quality);
  return s;
}

void WriteSettings(const Settings& s) {
  CMWriteProfileInt(kSection, "ByPercent", s.byPercent ? 1 : 0);
  CMWriteProfileInt(kSection, "LongSide", s.longSide);
  CMWriteProfileInt(kSection, "Percent", s.percent);
  CMWriteProfileInt(kSection, "Quality", s.quality);
}

SIZE ScaledSize(int width, int height, const Settings& s) {
  SIZE size = {width, height};
  if (width <= 0 || height <= 0) return SIZE{0, 0};
  if (s.byPercent) {
    int p = std::min(std::max(s.percent, 1), 100);
    size.cx = std::max(1, int((long long)width * p / 100));
    size.cy = std::max(1, int((long long)height * p / 100));
    return size;
  }
  int side = std::max(s.longSide, 1);
  return imaging::FitSize(width, height, side, side, false);
}

HRESULT ScaleFile(const std::string& path, const Settings& s, std::string* output) {
  if (output) output->clear();
  imaging::ComScope com;
  imaging::Dib upright;
  imaging::OutputPicture how;
  HRESULT hr = imaging::LoadForOutput(path.c_str(), &upright, &how);
  if (FAILED(hr)) return hr;
  SIZE size = ScaledSize(upright.Width(), upright.Height(), s);
  const bool keep = KeepsFormat(how.format);
  std::string target =
      imaging::FreeCopyName(path, "_s", keep ? std::string() : imaging::OutputExtension(imaging::ImageFormat::Png));
  if (target.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
  if (keep && size.cx == upright.Width() && size.cy == upright.Height()) {
    // Nothing to shrink: the file as it is, nothing lost to a new encoding.
    std::vector<uint8_t> bytes;
    hr = imaging::ReadPictureFile(path.c_str(), &bytes);
    imaging::OutputCheck check;
    check.format = how.format;
    if (SUCCEEDED(hr)) hr = imaging::PlaceOutputFile(target.c_str(), bytes.data(), bytes.size(), false, check);
  } else {
    imaging::Dib scaled;
    if (!imaging::Resize(upright, size.cx, size.cy, &scaled)) return E_OUTOFMEMORY;
    scaled.SetHasAlpha(upright.HasAlpha());
    if (!keep) how.format = imaging::ImageFormat::Png;
    how.quality = s.quality;
    hr = imaging::SaveOutputPicture(scaled, how, target.c_str(), false);
  }
  if (SUCCEEDED(hr) && output) *output = target;
  return hr;
}

}  // namespace scalepicture
