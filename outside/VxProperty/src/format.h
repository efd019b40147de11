// How property values read as texts: plain functions, no files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "imaging/exif.h"

namespace vxprop {

// "1,234,567".
std::string GroupDigits(uint64_t n);
// "YYYY/MM/DD HH:MM:SS".
std::string FormatDateTime(const SYSTEMTIME& t);
// Long date and time in the system's formats, "%s %s".
std::string FormatLongDateTime(const SYSTEMTIME& t);
std::string FormatFileSize(uint64_t bytes);
std::string FormatExposure(const imaging::Rational& r);  // "1/250 秒"
std::string FormatAperture(const imaging::Rational& r);  // "F5.6"
std::string FormatFocalLength(const imaging::Rational& r);  // "35 mm"
std::string FormatFlash(uint32_t flash);                // Exif Flash bits
std::string WhiteBalanceName(uint32_t value);
std::string ExposureProgramName(uint32_t value);
// Scene from SceneCaptureType, else from a scene-like exposure program; "" for none.
std::string SceneName(std::optional<uint32_t> captureType, std::optional<uint32_t> program);
const char* CameraSceneModeName(int code);  // null when unknown
std::string FormatDuration(double seconds);  // "H:MM:SS", rounded down
std::string FormatBitRate(uint64_t bitsPerSecond);  // "17.0 Mbps", "850 kbps"
std::string FormatSize(int width, int height);  // "640 × 480"
// Signed decimal degrees as "%d/%d/%d" with the sign on the first non-zero part.
std::string GpsDmsText(double decimalDegrees);

}  // namespace vxprop
