// Helpers of the user-interface tests: closing modal dialogs from outside their loop, and
// the shared pump and pictures (tests/support) under this kit's names.
#pragma once
#include <fw/fw.h>
#include <otherwindows.h>
#include <picture.h>
#include <program.h>
#include <pump.h>
#include <testkit.h>

#include <functional>
#include <string>
#include <vector>

namespace uikit {

using testsupport::Picture;
using testsupport::PumpPending;
using testsupport::WaitUntil;
// Drops the WM_QUIT that a destroyed main window leaves in the queue.
inline void DropQuitLater() { testsupport::DropQuit(); }

// Drives the dialogs this thread opens, in the order they open: step i runs with the
// i-th dialog (or message box) once its controls exist and it shows. A CBT hook sees them
// created; a thread timer runs the steps inside their modal loops. A dialog still open
// after the time-out is cancelled, so a test never hangs. The time-out counts from the
// first tick of the dialog's own loop: how long the dialog took to fill itself before
// (slow on a busy machine) does not count.
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
  HWND m_hAwaited = nullptr;  // the dialog the next step waits for, since m_start
  int m_nRan = 0;
  int m_nGone = 0;  // dialogs destroyed before their step could run
};

using testsupport::StaticTexts;
// Clicks a dialog's button as a user would (an auto radio or check box changes too).
void Press(HWND hDlg, int id);

// The program folder (where the test runs) as a Windows path without trailing "\".
using testsupport::ProgramFolder;

}  // namespace uikit
