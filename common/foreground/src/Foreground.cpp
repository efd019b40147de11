#include "foreground/Foreground.h"

namespace foreground {

void BringToFront(HWND window, DWORD answerMs) {
  if (!window) return;
  HWND front = ::GetForegroundWindow();
  const DWORD mine = ::GetWindowThreadProcessId(window, nullptr);
  const DWORD theirs = front ? ::GetWindowThreadProcessId(front, nullptr) : 0;
  DWORD_PTR answer = 0;
  const bool answers =
      theirs && theirs != mine && ::SendMessageTimeoutA(front, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, answerMs, &answer);
  const bool joined = answers && ::AttachThreadInput(mine, theirs, TRUE);
  ::SetForegroundWindow(window);
  if (!joined) return;
  ::AttachThreadInput(mine, theirs, FALSE);
  // Some systems leave the input that held the foreground without an active window when
  // the two part again; ours may take it now.
  if (::GetForegroundWindow() != window) ::SetForegroundWindow(window);
}

}  // namespace foreground
