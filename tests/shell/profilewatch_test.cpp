// The watch that tells the frame when its panes write their start-up flags.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <profileroot.h>
#include <pump.h>

#include "ProfileWatch.h"

namespace {

const UINT kNotice = WM_APP + 7;

// A message-only window counting the watch's notices.
struct Listener {
  static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kNotice && wParam == 53) ++count;
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
  }
  Listener() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "ProfileWatchTest";
    ::RegisterClassA(&wc);
    hWnd = ::CreateWindowExA(0, "ProfileWatchTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    count = 0;
  }
  ~Listener() { ::DestroyWindow(hWnd); }
  bool WaitFor(int n) {
    return testsupport::WaitUntil([n] { return count >= n; }, 10000);
  }
  HWND hWnd;
  static int count;
};
int Listener::count = 0;

}  // namespace

TEST(ProfileWatch, EachArmedWriteIsHeard) {
  testsupport::ScopedProfileRoot root("profilewatch");
  Listener listener;
  ASSERT_TRUE(listener.hWnd != NULL);
  CProfileWatch watch;
  CString strKey = CMGetKeyPosition() + "\\ExeState";
  ASSERT_TRUE(watch.Start(listener.hWnd, strKey, kNotice, 53));  // the key is made when missing
  EXPECT_TRUE(watch.IsWatching());

  CMWriteProfileInt("ExeState", "VxFolder_Created", 1);
  ASSERT_TRUE(listener.WaitFor(1));
  // Armed again, the next write is heard too.
  ASSERT_TRUE(watch.Arm());
  CMWriteProfileInt("ExeState", "VxExport_Created", 1);
  ASSERT_TRUE(listener.WaitFor(2));

  watch.Stop();
  EXPECT_FALSE(watch.IsWatching());
  EXPECT_FALSE(watch.Arm());  // nothing left to arm
}
