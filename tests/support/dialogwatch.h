// Driving a modal dialog from a second thread, as a user would, while the test's own
// thread waits inside the call that shows it.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

namespace testsupport {

// Looks every 10 ms, for at most timeoutMs, for a dialog box ("#32770") of this process
// with the caption (any caption when it is nullptr); once ready(box) holds, act(box) runs
// once and the watch ends. A watch whose time ran out says so and cancels the boxes of
// ours with the caption that are still up: the call waiting behind a box that never became
// ready comes back, and the test fails on Acted() instead of hanging until the runner's
// limit. The time is a bound, not a speed: a loaded machine shows boxes late.
class DialogWatch {
 public:
  DialogWatch(const char* caption, std::function<bool(HWND)> ready, std::function<void(HWND)> act,
              DWORD timeoutMs = 30000);
  ~DialogWatch() { Stop(); }
  DialogWatch(const DialogWatch&) = delete;
  DialogWatch& operator=(const DialogWatch&) = delete;

  // Ends the watch (at once if it has not acted yet) and waits for its thread.
  void Stop();
  // True from the moment act(box) starts.
  bool Acted() const { return acted_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> acted_{false};
  std::thread thread_;
};

}  // namespace testsupport
