#include "dialogwatch.h"

#include <string>

namespace testsupport {

namespace {

struct Search {
  const char* caption;
  HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char text[256] = "";
  if (pid != GetCurrentProcessId() || !GetClassNameA(hwnd, text, sizeof(text)) || lstrcmpA(text, "#32770") != 0)
    return TRUE;
  if (s->caption) {
    GetWindowTextA(hwnd, text, sizeof(text));
    if (lstrcmpA(text, s->caption) != 0) return TRUE;
  }
  s->found = hwnd;
  return FALSE;
}

}  // namespace

DialogWatch::DialogWatch(const char* caption, std::function<bool(HWND)> ready, std::function<void(HWND)> act,
                         DWORD timeoutMs) {
  std::string wanted = caption ? caption : "";
  bool any = caption == nullptr;
  thread_ = std::thread([this, wanted, any, ready, act, timeoutMs] {
    DWORD start = GetTickCount();
    while (!stop_ && GetTickCount() - start <= timeoutMs) {
      Search s = {any ? nullptr : wanted.c_str(), nullptr};
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
      if (s.found && ready(s.found)) {
        // Marked first: the act ends the test thread's wait, which may look at once.
        acted_ = true;
        act(s.found);
        return;
      }
      Sleep(10);
    }
  });
}

void DialogWatch::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

}  // namespace testsupport
