// Shell icons drawn into Dibs.
#include "imaging/shellicon.h"

#include <shellapi.h>

#include <cstring>

#include "imaging/com.h"
#include "internal.h"

namespace imaging {

namespace {

// The icon drawn over a solid colour into a top-down 24-bit picture.
bool DrawOver(HICON icon, int w, int h, COLORREF colour, Dib* out) {
  detail::DibSection section;
  if (!section.Create(w, h, 24)) return false;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  HGDIOBJ old = SelectObject(dc, section.bitmap);
  RECT r = {0, 0, w, h};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  BOOL ok = DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);
  bool done = ok && out->Create(w, h, 24, true);
  if (done) memcpy(out->Bits(), section.bits, out->BitsSize());
  return done;
}

}  // namespace

HRESULT ShellIcon(const char* path, int width, int height, Dib* out, int bitCount, COLORREF background) {
  if (!path || !*path || !out || width <= 0 || height <= 0 || width > 256 || height > 256 ||
      (bitCount != 24 && bitCount != 32))
    return E_INVALIDARG;
  ComScope com;
  SHFILEINFOA info = {};
  UINT flags = SHGFI_ICON | (width > 16 || height > 16 ? SHGFI_LARGEICON : SHGFI_SMALLICON);
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) flags |= SHGFI_USEFILEATTRIBUTES;
  if (!SHGetFileInfoA(path, attributes, &info, sizeof info, flags) || !info.hIcon) return E_FAIL;
  HRESULT hr = E_FAIL;
  if (bitCount == 24) {
    if (DrawOver(info.hIcon, width, height, background, out)) hr = S_OK;
  } else {
    // Drawn over black and over white: the difference gives each pixel's alpha.
    Dib black, white, result;
    if (DrawOver(info.hIcon, width, height, RGB(0, 0, 0), &black) &&
        DrawOver(info.hIcon, width, height, RGB(255, 255, 255), &white) && result.Create(width, height, 32, true)) {
      for (int y = 0; y < height; ++y) {
        const uint8_t *b = black.Row(y), *w = white.Row(y);
        uint8_t* d = result.Row(y);
        for (int x = 0; x < width; ++x, b += 3, w += 3, d += 4) {
          int diff = ((w[0] - b[0]) + (w[1] - b[1]) + (w[2] - b[2])) / 3;
          int a = 255 - (diff < 0 ? 0 : diff > 255 ? 255 : diff);
          for (int c = 0; c < 3; ++c) {
            int v = a ? (b[c] * 255 + a / 2) / a : 0;  // un-premultiplied colour
            d[c] = uint8_t(v > 255 ? 255 : v);
          }
          d[3] = uint8_t(a);
        }
      }
      result.SetHasAlpha(true);
      *out = std::move(result);
      hr = S_OK;
    }
  }
  DestroyIcon(info.hIcon);
  return hr;
}

}  // namespace imaging
