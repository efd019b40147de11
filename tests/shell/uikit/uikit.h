// Helpers of the user-interface tests: message pumping with timeouts, window pictures
// saved into the build tree, and closing modal dialogs from outside their loop.
#pragma once
#include <fw/fw.h>
#include <program.h>
#include <testkit.h>

#include <functional>
#include <string>
#include <vector>

namespace uikit {

// Message pumping is the framework tests' own.
using fwtest::PumpPending;
using fwtest::PumpUntil;
// Drops the WM_QUIT that a destroyed main window leaves in the queue.
inline void DropQuitLater() { fwtest::DropQuit(); }

// A 32-bit top-down copy of a window as it painted itself, read from its own surface.
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
  // How many pixels of a rectangle are dark (text), their r + g + b at most maxSum.
  int CountDark(const RECT& rc, int maxSum = 300) const;
  // How many pixels of a rectangle lie within tolerance of a colour on every channel.
  int CountNear(const RECT& rc, COLORREF color, int tolerance) const;

 private:
  int m_cx = 0, m_cy = 0;
  HBITMAP m_hBitmap = nullptr;
  DWORD* m_pBits = nullptr;
};

// Drives the dialogs this thread opens, in the order they open: step i runs with the
// i-th dialog (or message box) once its controls exist and it shows. A CBT hook sees them
// created; a thread timer runs the steps inside their modal loops. A dialog still open
// after the time-out is cancelled, so a test never hangs.
class DialogDriver {
 public:
  typedef std::function<void(HWND)> Step;
  explicit DialogDriver(std::vector<Step> steps, DWORD timeoutMs = 8000);
  explicit DialogDriver(Step step, DWORD timeoutMs = 8000) : DialogDriver(std::vector<Step>{step}, timeoutMs) {}
  ~DialogDriver();
  int Ran() const { return m_nRan; }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  std::vector<Step> m_steps;
  std::vector<HWND> m_dialogs;
  HHOOK m_hHook = nullptr;
  UINT_PTR m_timer = 0;
  DWORD m_start = 0, m_timeout = 0;
  int m_nRan = 0;
};

// The texts of a dialog's static children, joined with "|" (a message box's message).
std::string StaticTexts(HWND hDlg);
// Clicks a dialog's button as a user would (an auto radio or check box changes too).
void Press(HWND hDlg, int id);

// The program folder (where the test runs) as a Windows path without trailing "\".
using testsupport::ProgramFolder;

}  // namespace uikit
