// Helpers of the user-interface tests.
#include "uikit.h"

#include <algorithm>
using std::max;
using std::min;
#include <gdiplus.h>

namespace uikit {

std::string StaticTexts(HWND hDlg) {
  std::string out;
  for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    char cls[16] = {};
    ::GetClassNameA(h, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") != 0) continue;
    char text[512] = {};
    ::GetWindowTextA(h, text, sizeof(text));
    if (!text[0]) continue;
    if (!out.empty()) out += "|";
    out += text;
  }
  return out;
}

void Press(HWND hDlg, int id) {
  // A user cannot click a disabled control (and Wine's BM_CLICK would wait on it).
  HWND hItem = ::GetDlgItem(hDlg, id);
  if (hItem && ::IsWindowEnabled(hItem)) ::SendMessageA(hItem, BM_CLICK, 0, 0);
}

Picture::Picture(HWND hWnd) {
  RECT rc;
  ::GetWindowRect(hWnd, &rc);
  m_cx = rc.right - rc.left;
  m_cy = rc.bottom - rc.top;
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
  HDC hMem = ::CreateCompatibleDC(hScreen);
  HGDIOBJ hOld = ::SelectObject(hMem, m_hBitmap);
  // Painting may still be under way (more so on a busy machine): copy until two copies
  // in a row agree.
  std::vector<DWORD> previous;
  size_t pixels = (size_t)m_cx * (size_t)m_cy;
  ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  for (int attempt = 0; attempt < 80; attempt++) {
    ::GdiFlush();
    for (int i = 0; i < 2; i++) {
      PumpPending();
      ::Sleep(25);
    }
    // The window's own surface, not the screen: what other programs show over it can't
    // get into the copy.
    HDC hWindowDC = ::GetWindowDC(hWnd);
    ::BitBlt(hMem, 0, 0, m_cx, m_cy, hWindowDC, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hWindowDC);
    ::GdiFlush();
    if (!m_pBits) break;
    std::vector<DWORD> current(m_pBits, m_pBits + pixels);
    if (!previous.empty() && current == previous) break;
    previous.swap(current);
  }
  ::SelectObject(hMem, hOld);
  ::DeleteDC(hMem);
  ::ReleaseDC(nullptr, hScreen);
  ::GdiFlush();
}

Picture::~Picture() {
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
}

COLORREF Picture::At(int x, int y) const {
  if (!m_pBits || x < 0 || y < 0 || x >= m_cx || y >= m_cy) return CLR_INVALID;
  DWORD p = m_pBits[y * m_cx + x];
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

// ----- dialogs -----

static DialogDriver* s_pDriver = nullptr;

DialogDriver::DialogDriver(std::vector<Step> steps, DWORD timeoutMs)
    : m_steps(std::move(steps)), m_start(::GetTickCount()), m_timeout(timeoutMs) {
  s_pDriver = this;
  m_hHook = ::SetWindowsHookExA(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
  m_timer = ::SetTimer(nullptr, 0, 20, TimerProc);
}

DialogDriver::~DialogDriver() {
  if (m_hHook) ::UnhookWindowsHookEx(m_hHook);
  if (m_timer) ::KillTimer(nullptr, m_timer);
  s_pDriver = nullptr;
}

LRESULT CALLBACK DialogDriver::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && s_pDriver) {
    char cls[16] = {};
    if (::GetClassNameA((HWND)wParam, cls, sizeof(cls)) && lstrcmpA(cls, "#32770") == 0 &&
        !(::GetWindowLongA((HWND)wParam, GWL_STYLE) & WS_CHILD))
      s_pDriver->m_dialogs.push_back((HWND)wParam);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogDriver::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
  DialogDriver* d = s_pDriver;
  if (!d) return;
  if (d->m_nRan < (int)d->m_steps.size() && d->m_nRan < (int)d->m_dialogs.size()) {
    HWND hDlg = d->m_dialogs[(size_t)d->m_nRan];
    if (::IsWindow(hDlg) && ::IsWindowVisible(hDlg) && ::GetWindow(hDlg, GW_CHILD)) {
      Step step = d->m_steps[(size_t)d->m_nRan];
      d->m_nRan++;
      step(hDlg);
      return;
    }
  }
  if (::GetTickCount() - d->m_start > d->m_timeout) {
    for (HWND h : d->m_dialogs)
      if (::IsWindow(h)) ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
  }
}

}  // namespace uikit
