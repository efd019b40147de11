#include "picture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>
using std::max;
using std::min;
#include <gdiplus.h>

#include "program.h"
#include "pump.h"

namespace testsupport {

void Picture::Allocate(int cx, int cy) {
  m_cx = cx;
  m_cy = cy;
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = m_cx;
  bmi.bmiHeader.biHeight = -m_cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  HDC hScreen = ::GetDC(nullptr);
  void* pBits = nullptr;
  m_hBitmap = ::CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
  m_pBits = static_cast<DWORD*>(pBits);
  ::ReleaseDC(nullptr, hScreen);
}

void Picture::CopyFrom(HDC hdc) {
  HDC hMem = ::CreateCompatibleDC(hdc);
  HGDIOBJ hOld = ::SelectObject(hMem, m_hBitmap);
  ::BitBlt(hMem, 0, 0, m_cx, m_cy, hdc, 0, 0, SRCCOPY);
  ::SelectObject(hMem, hOld);
  ::DeleteDC(hMem);
  ::GdiFlush();
}

Picture::Picture() {
  Allocate(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  if (!m_pBits) return;
  HDC hScreen = ::GetDC(nullptr);
  CopyFrom(hScreen);
  ::ReleaseDC(nullptr, hScreen);
}

Picture::Picture(HWND hWnd, Area area) {
  RECT rc = {};
  if (area == kClient) {
    ::GetClientRect(hWnd, &rc);
  } else {
    ::GetWindowRect(hWnd, &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
  }
  Allocate(rc.right, rc.bottom);
  if (!m_pBits) return;
  std::vector<DWORD> previous;
  size_t pixels = (size_t)m_cx * (size_t)m_cy;
  ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  for (int attempt = 0; attempt < 80; attempt++) {
    ::GdiFlush();
    for (int i = 0; i < 2; i++) {
      PumpPending();
      ::Sleep(25);
    }
    HDC hdc = area == kClient ? ::GetDC(hWnd) : ::GetWindowDC(hWnd);
    CopyFrom(hdc);
    ::ReleaseDC(hWnd, hdc);
    std::vector<DWORD> current(m_pBits, m_pBits + pixels);
    if (!previous.empty() && current == previous) break;
    previous.swap(current);
  }
}

Picture::~Picture() {
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
}

COLORREF Picture::At(int x, int y) const {
  if (!m_pBits || x < 0 || y < 0 || x >= m_cx || y >= m_cy) return CLR_INVALID;
  DWORD p = m_pBits[(size_t)y * m_cx + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Picture::Count(const RECT& rc, COLORREF color) const {
  int n = 0;
  for (int y = rc.top; y < rc.bottom; y++)
    for (int x = rc.left; x < rc.right; x++)
      if (At(x, y) == color) n++;
  return n;
}

int Picture::CountDark(const RECT& rc, int maxSum) const {
  int n = 0;
  for (int y = rc.top; y < rc.bottom; y++)
    for (int x = rc.left; x < rc.right; x++) {
      COLORREF c = At(x, y);
      if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) <= maxSum) n++;
    }
  return n;
}

int Picture::CountNear(const RECT& rc, COLORREF color, int tolerance) const {
  int n = 0;
  for (int y = rc.top; y < rc.bottom; y++)
    for (int x = rc.left; x < rc.right; x++) {
      COLORREF c = At(x, y);
      if (c != CLR_INVALID && abs(GetRValue(c) - GetRValue(color)) <= tolerance &&
          abs(GetGValue(c) - GetGValue(color)) <= tolerance && abs(GetBValue(c) - GetBValue(color)) <= tolerance)
        n++;
    }
  return n;
}

std::string Picture::Save(const std::string& name) const {
  if (!m_hBitmap) return std::string();
  std::string folder = ProgramFolder() + "\\screenshots";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "\\" + name + ".png";
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return std::string();
  {
    Gdiplus::Bitmap bitmap(m_hBitmap, nullptr);
    // image/png
    CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    wchar_t wpath[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wpath, MAX_PATH);
    if (bitmap.Save(wpath, &png, nullptr) != Gdiplus::Ok) path.clear();
  }
  Gdiplus::GdiplusShutdown(token);
  return path;
}

}  // namespace testsupport
