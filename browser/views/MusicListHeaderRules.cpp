// The multi-image header strip's decisions.
#include "MusicListHeaderRules.h"

#include <algorithm>

#include "SkinCtrlRules.h"

namespace listheader {

int BitsOffset(const BITMAPINFOHEADER* bih) {
  return (int)bih->biSize + skinctrl::ColorTableBytes(bih->biBitCount, bih->biCompression, bih->biClrUsed);
}

namespace {

// 16-bit pixels compare in 5-6-5 form only when the masks say so.
bool Is565(const BITMAPINFO* bi) {
  if (bi->bmiHeader.biCompression != BI_BITFIELDS) return false;
  const DWORD* masks = reinterpret_cast<const DWORD*>(bi->bmiColors);
  return masks[1] == 0x07E0;
}

DWORD KeyPixel(COLORREF key, int bytes, bool is565) {
  BYTE r = GetRValue(key), g = GetGValue(key), b = GetBValue(key);
  if (bytes == 2)
    return is565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
  return (DWORD)b | ((DWORD)g << 8) | ((DWORD)r << 16);
}

}  // namespace

bool CombineColourKey(BITMAPINFO* image, const BITMAPINFO* background, const RECT& rc, COLORREF key) {
  if (!image || !background) return false;
  const BITMAPINFOHEADER& ih = image->bmiHeader;
  const BITMAPINFOHEADER& bh = background->bmiHeader;
  int bytes = ih.biBitCount / 8;
  if (ih.biBitCount != bh.biBitCount || bytes < 2 || bytes > 4) return false;
  bool is565 = bytes == 2 && Is565(image);
  DWORD keyPixel = KeyPixel(key, bytes, is565);
  DWORD mask = bytes == 2 ? 0x7FFF : 0xFFFFFF;
  if (is565) mask = 0xFFFF;
  BYTE* ibits = reinterpret_cast<BYTE*>(image) + BitsOffset(&ih);
  const BYTE* bbits = reinterpret_cast<const BYTE*>(background) + BitsOffset(&bh);
  int iw = ih.biWidth, ihh = std::abs(ih.biHeight), bw = bh.biWidth, bhh = std::abs(bh.biHeight);
  int istride = (iw * bytes + 3) & ~3, bstride = (bw * bytes + 3) & ~3;
  int x1 = std::min<int>({rc.right, iw, bw}), y1 = std::min<int>({rc.bottom, ihh, bhh});
  for (int y = std::max<int>(rc.top, 0); y < y1; y++) {
    // Bottom-up rows.
    BYTE* irow = ibits + (size_t)(ihh - 1 - y) * istride;
    const BYTE* brow = bbits + (size_t)(bhh - 1 - y) * bstride;
    for (int x = std::max<int>(rc.left, 0); x < x1; x++) {
      DWORD px = 0;
      for (int k = 0; k < bytes; k++) px |= (DWORD)irow[x * bytes + k] << (8 * k);
      if ((px & mask) == keyPixel) std::copy(brow + x * bytes, brow + (x + 1) * bytes, irow + x * bytes);
    }
  }
  return true;
}

int StripWidth(int columnsSum, int currentWidth, int minimumWidth) {
  if (columnsSum <= currentWidth) return std::max(columnsSum, minimumWidth);
  return columnsSum;
}

namespace {
void AddZone(std::vector<Zone>* zones, int column, int left, int right, int height) {
  zones->push_back({column, {left, 0, right, height}});
}
}  // namespace

void GrabZones(const std::vector<int>& widths, int originX, int height, std::vector<Zone>* dividers,
               std::vector<Zone>* hidden) {
  dividers->clear();
  hidden->clear();
  int x = -originX;
  int n = (int)widths.size();
  for (int i = 0; i < n; i++) {
    int h = widths[i] / 2;
    if (widths[i] < 1) AddZone(hidden, i, x, x + 8, height);
    if (i > 0) {
      int p = i - 1, hp = widths[p] / 2;
      if (hp >= 11)
        AddZone(dividers, p, x - 8, x, height);
      else if (hp >= 6)
        AddZone(dividers, p, x - 4, x, height);
      if (h >= 11)
        AddZone(dividers, p, x, x + 10, height);
      else if (h >= 6)
        AddZone(dividers, p, x, x + 4, height);
    }
    x += widths[i];
  }
  if (n > 0) {
    int h = widths[n - 1] / 2;
    if (h >= 6) AddZone(dividers, n - 1, h < 11 ? x - 4 : x - 8, x, height);
    AddZone(dividers, n - 1, x, x + 8, height);
  }
}

int HoverAt(const std::vector<Zone>& dividers, const std::vector<Zone>& hidden, POINT pt, int* column) {
  int kind = kHoverNone;
  *column = -1;
  for (const Zone& z : dividers)
    if (::PtInRect(&z.rc, pt)) {
      kind = kHoverDivider, *column = z.column;
      break;
    }
  for (const Zone& z : hidden)
    if (::PtInRect(&z.rc, pt)) kind = kHoverHidden, *column = z.column;
  return kind;
}

int ColumnAt(const std::vector<int>& widths, int originX, int layoutWidth, int height, POINT pt) {
  return pt.x > layoutWidth ? -1 : IndexAt(widths, originX, height, pt);
}

int IndexAt(const std::vector<int>& widths, int originX, int height, POINT pt) {
  int left = -originX;
  for (int i = 0; i < (int)widths.size(); i++) {
    RECT rc = {left, 0, left + widths[i], height};
    if (::PtInRect(&rc, pt)) return i;
    left += widths[i];
  }
  return -1;
}

CellLayout LayoutCell(int width, int height, int leftW, int leftH, int rightW, int arrowW, int textW, int textH,
                      UINT format, bool hasText) {
  CellLayout out = {};
  bool right = (format & DT_RIGHT) != 0;
  out.room = width - leftW - rightW - 5 - arrowW;
  int used = 0;
  if (out.room > 0 && hasText) {
    out.text = {leftW + 5, height / 2 - textH / 2, leftW + out.room + (right ? 0 : 5), leftH};
    used = std::min(textW + 8, out.room);
  } else {
    out.room = std::min(out.room, 0);
  }
  if (right)
    out.arrowX = width - std::min(arrowW + rightW, width - rightW - leftW);
  else
    out.arrowX = std::min(leftW + used + 5, width - rightW - arrowW);
  return out;
}

}  // namespace listheader
