// The one screen capture of the tests: a 32-bit top-down copy of what a window shows (or
// the whole screen), read back pixel by pixel and saved as PNG for a look by eye.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

class Picture {
 public:
  enum Area {
    kWindow,  // the whole window, frame included, from its own surface
    kClient,  // its client area (client coordinates)
  };
  // The whole screen as it is now.
  Picture();
  // The window repainted and copied until two copies in a row agree (painting may still
  // be under way on a busy machine); its own surface, so other windows over it can't get in.
  explicit Picture(HWND hWnd, Area area = kWindow);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  int Width() const { return m_cx; }
  int Height() const { return m_cy; }
  COLORREF At(int x, int y) const;  // CLR_INVALID outside
  COLORREF At(POINT pt) const { return At(pt.x, pt.y); }
  // How many pixels of a rectangle have exactly this colour.
  int Count(const RECT& rc, COLORREF color) const;
  // How many pixels of a rectangle are dark (text), their r + g + b at most maxSum.
  int CountDark(const RECT& rc, int maxSum = 300) const;
  // How many pixels of a rectangle lie within tolerance of a colour on every channel.
  int CountNear(const RECT& rc, COLORREF color, int tolerance) const;
  // Saved as PNG under <program folder>\screenshots; returns the Windows path, empty when
  // it could not be written.
  std::string Save(const std::string& name) const;

 private:
  void Allocate(int cx, int cy);
  void CopyFrom(HDC hdc);

  int m_cx = 0, m_cy = 0;
  HBITMAP m_hBitmap = nullptr;
  DWORD* m_pBits = nullptr;  // BGRA
};

}  // namespace testsupport
