// The close watchdog: a quit that a nested loop dropped is posted again; a quit that never
// arrives, or an exit that hangs, ends the process.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CloseWatchdog.h"

namespace {

std::atomic<int> g_ended(0);
void RecordEnd(UINT nExitCode) { g_ended = static_cast<int>(nExitCode); }

// A thread whose first quit is swallowed by a nested loop, as Wine's move loop does; it
// reports when its own loop ended.
struct LoopThread {
  std::atomic<DWORD> id{0};
  std::atomic<bool> ended{false};
  std::thread t;
  LoopThread()
      : t([this] {
          MSG m;
          PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here
          id = GetCurrentThreadId();
          while (GetMessageA(&m, nullptr, 0, 0) > 0) {
          }  // the nested loop: ends, quit gone
          while (GetMessageA(&m, nullptr, 0, 0) > 0) {
          }  // the program's loop
          ended = true;
        }) {
    while (!id) Sleep(1);
  }
  ~LoopThread() {
    if (!ended) PostThreadMessageA(id, WM_QUIT, 0, 0);
    t.join();
  }
};

}  // namespace

TEST(CloseWatchdog, RepostsADroppedQuitAndEndsWhatHangs) {
  struct Case {
    const char* what;
    bool exitBegins;  // the program's exit starts once the loop ended
    bool exitFinishes;
    int ended;  // what the watchdog ended the process with (0: nothing)
  };
  const Case cases[] = {
      {"the quit comes back and the exit finishes", true, true, 0},
      {"the exit hangs", true, false, 4},
      {"the quit never arrives", false, false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_ended = 0;
    LoopThread loop;
    PostThreadMessageA(loop.id, WM_QUIT, 0, 0);  // posted by the frame's destruction, dropped
    CCloseWatchdog watchdog(50, 10, 300, RecordEnd);
    watchdog.Start(c.exitBegins ? loop.id.load() : 0);
    DWORD start = GetTickCount();
    if (c.exitBegins) {
      while (!loop.ended && GetTickCount() - start < 3000) Sleep(5);
      EXPECT_TRUE(loop.ended);
      EXPECT_GE(watchdog.GetRepostCount(), 1);
      watchdog.ExitBegan();
    }
    if (c.exitFinishes) {
      watchdog.Stop();
    } else {
      start = GetTickCount();
      while (!g_ended && GetTickCount() - start < 3000) Sleep(5);
    }
    EXPECT_EQ(g_ended.load(), c.ended);
  }
}
