// Helpers of the user-interface tests: message pumping with timeouts, window pictures
// saved into the build tree, and closing modal dialogs from outside their loop.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <string>

namespace uikit {

void PumpPending();
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);

// A 32-bit top-down copy of a window as it paints itself (PrintWindow, then the screen).
class Picture {
 public:
  explicit Picture(HWND hWnd);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  int Width() const { return m_cx; }
  int Height() const { return m_cy; }
  COLORREF At(int x, int y) const;
  // Saved as PNG under <program folder>\screenshots; returns the Windows path.
  std::string Save(const std::string& name) const;
  // How many pixels of a rectangle have exactly this colour.
  int Count(const RECT& rc, COLORREF color) const;

 private:
  int m_cx = 0, m_cy = 0;
  HBITMAP m_hBitmap = nullptr;
  DWORD* m_pBits = nullptr;
};

// Runs onShown with the first dialog of this thread whose title or class matches once
// its controls exist (a CBT hook sees it created; a timer drives it inside the modal loop).
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(HWND)> onShown, DWORD timeoutMs = 5000);
  ~DialogDriver();
  bool Ran() const { return m_bRan; }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  std::function<void(HWND)> m_onShown;
  HHOOK m_hHook = nullptr;
  UINT_PTR m_timer = 0;
  HWND m_hDialog = nullptr;
  DWORD m_start = 0, m_timeout = 0;
  bool m_bRan = false;
};

// The program folder (where the test runs) as a Windows path without trailing "\".
std::string ProgramFolder();

}  // namespace uikit
