// What the framework's window tests share.
#include "testkit.h"

#include <pump.h>

#include <cstdio>

namespace fwtest {

std::vector<std::string> g_log;

void Log(const std::string& s) { g_log.push_back(s); }

std::string Joined() {
  std::string out;
  for (size_t i = 0; i < g_log.size(); ++i) out += (i ? "|" : "") + g_log[i];
  g_log.clear();
  return out;
}

void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage((int)msg.wParam);  // leave it for whoever waits for it
      return;
    }
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  return testsupport::WaitUntil(done, timeoutMs, PumpPending);
}

void DropQuit() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

ResourceHandleScope::ResourceHandleScope(HINSTANCE hResource) : m_hOld(AfxGetResourceHandle()) {
  AfxSetResourceHandle(hResource);
}

ResourceHandleScope::~ResourceHandleScope() { AfxSetResourceHandle(m_hOld); }

void Pixels::Capture(HWND hWnd) {
  RECT rc = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (hWnd) ::GetClientRect(hWnd, &rc);
  m_cx = rc.right;
  m_cy = rc.bottom;
  HDC hdcFrom = ::GetDC(hWnd);
  HDC hdcMem = ::CreateCompatibleDC(hdcFrom);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = m_cx;
  bmi.bmiHeader.biHeight = -m_cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* pBits = nullptr;
  HBITMAP hBmp = ::CreateDIBSection(hdcFrom, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
  HGDIOBJ hOld = ::SelectObject(hdcMem, hBmp);
  ::BitBlt(hdcMem, 0, 0, m_cx, m_cy, hdcFrom, 0, 0, SRCCOPY);
  ::GdiFlush();
  m_bits.assign(static_cast<DWORD*>(pBits), static_cast<DWORD*>(pBits) + (size_t)m_cx * m_cy);
  ::SelectObject(hdcMem, hOld);
  ::DeleteObject(hBmp);
  ::DeleteDC(hdcMem);
  ::ReleaseDC(hWnd, hdcFrom);
}

COLORREF Pixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_cx || y >= m_cy) return CLR_INVALID;
  DWORD p = m_bits[(size_t)y * m_cx + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Pixels::Count(const RECT& r, COLORREF clr) const {
  int n = 0;
  for (int y = r.top; y < r.bottom; y++)
    for (int x = r.left; x < r.right; x++) n += At(x, y) == clr;
  return n;
}

bool Pixels::SaveBmp(const char* path) const {
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  BITMAPFILEHEADER fh = {};
  BITMAPINFOHEADER ih = {};
  ih.biSize = sizeof(ih);
  ih.biWidth = m_cx;
  ih.biHeight = -m_cy;
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + (DWORD)(m_bits.size() * 4);
  fwrite(&fh, sizeof(fh), 1, f);
  fwrite(&ih, sizeof(ih), 1, f);
  // Opaque: viewers read the fourth byte as alpha.
  std::vector<DWORD> opaque(m_bits);
  for (DWORD& p : opaque) p |= 0xFF000000;
  bool ok = fwrite(opaque.data(), 4, opaque.size(), f) == opaque.size();
  fclose(f);
  return ok;
}

void DragMouse(CWnd& wnd, CPoint from, CPoint to) {
  CPoint screen = from;
  wnd.ClientToScreen(&screen);
  ::SetCursorPos(screen.x, screen.y);
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

}  // namespace fwtest
