// The date stamp: reading the date, drawing it, writing the copy.
#include "StampDay/StampDay.h"

#include <Kitlib2/Kitlib2.h>
#include <imaging/decode.h>
#include <imaging/output.h>
#include <imaging/transform.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace stampday {

Settings LoadSettings() {
  Settings s, defaults;
  s.format = CMGetProfileInt("Tool1\\StampDay", "Format", defaults.format);
  if (s.format < 0 || s.format > 2) s.format = defaults.format;
  int color = CMGetProfileInt("Tool1\\StampDay", "Color", int(defaults.color));
  s.color = color >= 0 && color <= 0xFFFFFF ? COLORREF(color) : defaults.color;
  s.quality = CMGetProfileInt("Tool1\\StampDay", "Quality", defaults.quality);
  if (s.quality < 1 || s.quality > 100) s.quality = defaults.quality;
  return s;
}

std::optional<imaging::ExifDateTime> ShotDateOf(const char* path) {
  imaging::Exif exif;
  if (!path || !exif.Load(path)) return std::nullopt;
  return exif.ShotDate();
}

std::string DateText(const imaging::ExifDateTime& d, int format) {
  char text[64];
  if (format == 1)
    snprintf(text, sizeof text, "'%02d %d %d", d.year % 100, d.month, d.day);
  else if (format == 2)
    snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", d.year, d.month, d.day, d.hour, d.minute);
  else
    snprintf(text, sizeof text, "%04d/%02d/%02d", d.year, d.month, d.day);
  return text;
}

RECT StampRect(int width, int height, SIZE text, int corner) {
  int margin = text.cy / 2;
  bool right = corner == kLowerRight || corner == kUpperRight;
  bool lower = corner == kLowerRight || corner == kLowerLeft;
  int x = right ? width - margin - text.cx : margin;
  int y = lower ? height - margin - text.cy : margin;
  return RECT{x, y, x + text.cx, y + text.cy};
}

bool DrawStamp(imaging::Dib* picture, const std::string& text, int corner, COLORREF color) {
  if (!picture || picture->Empty()) return false;
  const int w = picture->Width(), h = picture->Height();
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
  if (!section) return false;
  const int stride = (w * 3 + 3) & ~3;
  imaging::Dib source;
  if (picture->BitCount() != 24 && !imaging::ConvertBitCount(*picture, 24, &source)) source.Clear();
  const imaging::Dib& from = picture->BitCount() == 24 ? *picture : source;
  if (from.Empty()) {
    DeleteObject(section);
    return false;
  }
  for (int y = 0; y < h; ++y) memcpy(static_cast<uint8_t*>(bits) + size_t(y) * stride, from.Row(y), size_t(w) * 3);

  HDC dc = CreateCompatibleDC(NULL);
  HGDIOBJ oldBitmap = SelectObject(dc, section);
  // About a twentieth of the shorter side: readable on a print, not covering the picture.
  int size = (w < h ? w : h) / 20;
  if (size < 10) size = 10;
  HFONT font = CreateFontA(-size, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE extent = {};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
  RECT at = StampRect(w, h, extent, corner);
  SetBkMode(dc, TRANSPARENT);
  int edge = size / 16 < 1 ? 1 : size / 16;
  SetTextColor(dc, RGB(20, 20, 20));
  for (int dx = -edge; dx <= edge; dx += edge)
    for (int dy = -edge; dy <= edge; dy += edge)
      if (dx || dy) TextOutA(dc, at.left + dx, at.top + dy, text.c_str(), int(text.size()));
  SetTextColor(dc, color);
  BOOL drawn = TextOutA(dc, at.left, at.top, text.c_str(), int(text.size()));
  GdiFlush();
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteDC(dc);

  imaging::Dib out;
  bool ok = drawn && out.Create(w, h, 24, picture->TopDown());
  if (ok) {
    for (int y = 0; y < h; ++y) memcpy(out.Row(y), static_cast<uint8_t*>(bits) + size_t(y) * stride, size_t(w) * 3);
    *picture = std::move(out);
  }
  DeleteObject(section);
  return ok;
}

unsigned long ResultOfWrite(HRESULT hr) {
  if (SUCCEEDED(hr)) return kDone;
  switch (static_cast<unsigned long>(hr)) {
    case 0x8007000EUL:  // E_OUTOFMEMORY
    case 0x80070008UL: return kNoMemory;
    case 0x80070013UL: return kWriteProtected;
    case 0x80070005UL: return kTargetReadOnly;  // access denied: a protected folder
    case 0x80070070UL:
    case 0x80070027UL: return kDiskFull;  // ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL
    case 0x80070050UL: return kExists;    // ERROR_FILE_EXISTS
    default: return kNotWritten;
  }
}

unsigned long StampFile(const char* source, const char* output, int corner, const Settings& settings) {
  if (!source || !output || !*source || !*output) return kNotWritten;
  if (corner < kLowerRight || corner > kUpperLeft) corner = kLowerRight;
  if (GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES) return kNotWritten;
  if (textkit::EqualNoCase(source, output)) return kSameFile;
  if (imaging::DetectFileFormat(source) == imaging::ImageFormat::Unknown) return kUnsupported;
  imaging::ImageFormat format = imaging::FormatFromExtension(output);
  if (!*imaging::OutputExtension(format) || format == imaging::ImageFormat::Gif) return kUnsupported;

  auto when = ShotDateOf(source);
  if (!when) return kUndated;
  imaging::Dib picture;
  imaging::OutputPicture how;
  HRESULT hr = imaging::LoadForOutput(source, &picture, &how);
  if (hr == E_OUTOFMEMORY) return kNoMemory;
  if (FAILED(hr)) return kUnsupported;
  if (!DrawStamp(&picture, DateText(*when, settings.format), corner, settings.color)) return kNoMemory;
  // A JPEG copy keeps the source's Exif, turned upright with its pixels.
  how.format = format;
  how.quality = settings.quality;
  // A copy never takes the place of another file.
  return ResultOfWrite(imaging::SaveOutputPicture(picture, how, output, false));
}

}  // namespace stampday
