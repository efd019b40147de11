// The progress bar: the worker runs on its own thread while the window shows its posts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>

#include "ownmessage_core.h"
#include "progress_core.h"

namespace {

using kitlib::kProgressMessage;
using kitlib::RunProgressBar;

std::string TextOfFirstStatic(HWND w) {
  HWND s = FindWindowExA(w, nullptr, "STATIC", nullptr);
  char buf[256] = {};
  if (s) SendMessageA(s, WM_GETTEXT, sizeof(buf), reinterpret_cast<LPARAM>(buf));
  return buf;
}

// Polls from the worker thread until the window shows what was posted.
template <class F>
bool WaitFor(F f) {
  for (int i = 0; i < 300; ++i) {
    if (f()) return true;
    Sleep(10);
  }
  return false;
}

TEST(ProgressBar, WorkerRunsElsewhereAndItsPostsShow) {
  volatile LONG cancel = 0;
  HWND window = nullptr;
  DWORD uiThread = GetCurrentThreadId();
  DWORD workerThread = 0;
  bool sawWindow = false, sawText = false, sawPercent = false;
  static const char kText[] = "IMG_0001.JPG (1/2)";
  int result = RunProgressBar(
      [&] {
        workerThread = GetCurrentThreadId();
        sawWindow = IsWindow(window) && IsWindowVisible(window);
        kitlib::PostProgress(window, kText, 50);
        sawText = WaitFor([&] { return TextOfFirstStatic(window) == kText; });
        HWND bar = FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr);
        sawPercent = WaitFor([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) == 50; });
        return 7;
      },
      &cancel, &window, "Test caption", 1);
  EXPECT_EQ(result, 7);
  EXPECT_NE(workerThread, uiThread);
  EXPECT_TRUE(sawWindow);
  EXPECT_TRUE(sawText);
  EXPECT_TRUE(sawPercent);
  EXPECT_EQ(window, nullptr);  // the caller's value is back
  EXPECT_EQ(cancel, 0);
}

// Another program can post the step with any value: the window reads only the copies it
// was handed; the copies it never took go with it.
TEST(ProgressBar, TheWindowReadsOnlyTheTextsItWasHanded) {
  volatile LONG cancel = 0;
  HWND window = nullptr;
  std::string before, afterForeign;
  char stack[32] = "not from the program";
  RunProgressBar(
      [&] {
        kitlib::PostProgress(window, "first.jpg", 10);
        WaitFor([&] { return TextOfFirstStatic(window) == "first.jpg"; });
        before = TextOfFirstStatic(window);
        // Values that are no copy of ours: an address far off, one of this thread's stack.
        PostMessageA(window, kProgressMessage, static_cast<WPARAM>(0x343AF0F48ull), 20);
        PostMessageA(window, kProgressMessage, reinterpret_cast<WPARAM>(stack), 30);
        SendMessageA(window, kProgressMessage, reinterpret_cast<WPARAM>(stack), 40);
        HWND bar = FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr);
        WaitFor([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) == 40; });
        afterForeign = TextOfFirstStatic(window);
        // Copies posted last are freed with the window when it goes before reading them.
        for (int i = 0; i < 5; ++i) kitlib::PostProgress(window, "late.jpg", 90);
        return 0;
      },
      &cancel, &window, "Foreign posts", 0);
  EXPECT_EQ(before, "first.jpg");
  EXPECT_EQ(afterForeign, "first.jpg");
  EXPECT_EQ(kitlib::WaitingRecords(nullptr), 0u);
}

TEST(ProgressBar, CancelSetsTheFlagFirstAndTheOwnerIsDisabledMeanwhile) {
  HWND owner = CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  volatile LONG cancel = 0;
  HWND window = owner;  // a caller's window becomes the owner
  bool ownerDisabled = false, cancelSeen = false;
  RunProgressBar(
      [&] {
        ownerDisabled = !IsWindowEnabled(owner);
        HWND button = FindWindowExA(window, nullptr, "BUTTON", nullptr);
        PostMessageA(window, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(button));
        cancelSeen = WaitFor([&] { return cancel != 0; });
        return 0;
      },
      &cancel, &window, "Cancel test", 1);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(cancelSeen);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(window, owner);
  DestroyWindow(owner);
}

TEST(ProgressBar, QuitDuringTheRunIsHandedOn) {
  volatile LONG cancel = 0;
  HWND window = nullptr;
  DWORD ui = GetCurrentThreadId();
  RunProgressBar(
      [&] {
        PostThreadMessageA(ui, WM_QUIT, 3, 0);
        Sleep(50);
        return 0;
      },
      &cancel, &window, "", 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

}  // namespace
