// The resize tool without windows: its settings, the new size and the scaled copy of one
// file.
#pragma once
#include <windows.h>

#include <string>

namespace scalepicture {

// "Tool1\ScalePicture".
extern const char kSection[];

struct Settings {
  bool byPercent = false;  // "ByPercent": 1 a percentage, 0 a long side
  int longSide = 1600;     // "LongSide": pixels, kMinSide..kMaxSide
  int percent = 50;        // "Percent": 1..100
  int quality = 90;        // "Quality": JPEG quality, kMinQuality..100
};
const int kMinSide = 16, kMaxSide = 10000, kMinQuality = 10;
// The stored values; out of range, each reads as its default.
Settings ReadSettings();
void WriteSettings(const Settings& s);

// The size of a width x height picture after the resize: its long side at most
// longSide, or percent of each side; never enlarged, at least 1 x 1.
SIZE ScaledSize(int width, int height, const Settings& s);

// Writes the picture at its new size into a free copy "<name>_s<ext>" beside it, in its
// own format (JPEG with its Exif and s.quality, PNG, BMP, TIFF; other kinds as PNG). A
// picture that keeps its size is copied as it is. output: the file written.
HRESULT ScaleFile(const std::string& path, const Settings& s, std::string* output);

}  // namespace scalepicture
