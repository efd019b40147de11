#include "dialogwatch.h"

#include <cstdio>
#include <string>

#include "otherwindows.h"

namespace testsupport {

namespace {

// The dialog boxes of this process with the caption (any when it is nullptr), topmost
// first, the hidden ones too unless visibleOnly.
std::vector<HWND> Boxes(const char* caption, bool visibleOnly) {
  std::vector<HWND> boxes;
  for (HWND box : WindowsOf(GetCurrentProcessId(), "#32770", !visibleOnly)) {
    char text[256] = "";
    GetWindowTextA(box, text, sizeof(text));
    if (!caption || lstrcmpA(text, caption) == 0) boxes.push_back(box);
  }
  return boxes;
}

}  // namespace

DialogWatch::DialogWatch(const char* caption, std::function<bool(HWND)> ready, std::function<void(HWND)> act,
                         DWORD timeoutMs) {
  std::string wanted = caption ? caption : "";
  bool any = caption == nullptr;
  thread_ = std::thread([this, wanted, any, ready, act, timeoutMs] {
    const char* caption = any ? nullptr : wanted.c_str();
    DWORD start = GetTickCount();
    while (!stop_ && GetTickCount() - start <= timeoutMs) {
      std::vector<HWND> boxes = Boxes(caption, false);
      if (!boxes.empty() && ready(boxes.front())) {
        // Marked first: the act ends the test thread's wait, which may look at once.
        acted_ = true;
        act(boxes.front());
        return;
      }
      Sleep(10);
    }
    if (stop_) return;
    fprintf(stderr, "DialogWatch: no box \"%s\" was ready within %lu ms\n", any ? "(any)" : wanted.c_str(),
            (unsigned long)timeoutMs);
    fflush(stderr);
    for (HWND box : Boxes(caption, true)) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  });
}

void DialogWatch::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

}  // namespace testsupport
