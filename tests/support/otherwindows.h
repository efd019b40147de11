// The windows of programs the tests start: a window of the test's own that keeps what they
// post to it, and finding and answering theirs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// A hidden top-level window (EnumWindows finds it, as programs looking for a window by its
// property do) that keeps every message from WM_USER on posted or sent to it.
class MessageKeeper {
 public:
  MessageKeeper();
  ~MessageKeeper();
  MessageKeeper(const MessageKeeper&) = delete;
  MessageKeeper& operator=(const MessageKeeper&) = delete;
  HWND Window() const { return window_; }
  // Pumps until the message came, at most timeoutMs.
  bool WaitFor(UINT message, DWORD timeoutMs);
  std::vector<UINT> got;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_ = nullptr;
};

// The top-level windows of the process with the class (nullptr: any class), topmost first,
// only the visible ones unless allOfThem. FindWindow alone is not enough: another program's
// window of the class, even a hidden one, may lie above and hide it for ever; and a
// FindWindowEx walk from one window to the next breaks off when another program closes the
// window it stands on. EnumWindows takes a snapshot.
std::vector<HWND> WindowsOf(DWORD pid, const char* className, bool allOfThem = false);
// The top-level windows of the class (the hidden ones too), topmost first, of the programs
// this one started: the window of a program that the code under test starts, whose process
// the test does not know.
std::vector<HWND> WindowsOfChildren(const char* className);
// The first visible top-level window (in z-order) of the process with the class; nullptr
// when none.
HWND VisibleWindowOf(DWORD pid, const char* className);
// The first top-level window of the process with the class ("#32770": a message box), waited
// for at most timeoutMs; nullptr when none came.
HWND WaitForWindowOf(HANDLE process, const char* className, DWORD timeoutMs);
// Sends to a window of another program, waiting at most timeoutMs for the answer (in
// result): a program that hangs fails the test instead of holding it until the runner's
// limit. False when the window is gone or did not answer in time.
bool SendToOther(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT* result = nullptr,
                 DWORD timeoutMs = 60000);
// The texts of a dialog's static children, joined with "|" (a message box's message).
std::string StaticTexts(HWND dialog);

}  // namespace testsupport
