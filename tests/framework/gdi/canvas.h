// A memory DC drawing into a 32-bit top-down DIB section, so tests can read pixels back.
#pragma once
#include <fw/fw.h>

class Canvas {
 public:
  Canvas(int cx, int cy, COLORREF fill = RGB(255, 255, 255)) : m_cx(cx), m_cy(cy) {
    void* bits = nullptr;
    m_bitmap.CreateDIBSection(cx, cy, 32, &bits);
    m_bits = static_cast<DWORD*>(bits);
    dc.CreateCompatibleDC(nullptr);
    m_pOldBitmap = dc.SelectObject(&m_bitmap);
    dc.FillSolidRect(0, 0, cx, cy, fill);
  }
  ~Canvas() { dc.SelectObject(m_pOldBitmap); }

  COLORREF At(int x, int y) const {
    ::GdiFlush();
    DWORD v = m_bits[y * m_cx + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  // How many pixels of the rectangle have the colour.
  int Count(const RECT& r, COLORREF clr) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; y++)
      for (int x = r.left; x < r.right; x++) n += At(x, y) == clr;
    return n;
  }
  int Count(COLORREF clr) const { return Count(RECT{0, 0, m_cx, m_cy}, clr); }
  bool SameAs(const Canvas& other) const {
    ::GdiFlush();
    for (int i = 0; i < m_cx * m_cy; i++)
      if ((m_bits[i] & 0xFFFFFF) != (other.m_bits[i] & 0xFFFFFF)) return false;
    return true;
  }
  int Width() const { return m_cx; }
  int Height() const { return m_cy; }

  CDC dc;
  CBitmap m_bitmap;

 private:
  int m_cx, m_cy;
  DWORD* m_bits = nullptr;
  CBitmap* m_pOldBitmap = nullptr;
};
