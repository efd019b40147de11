// What the framework's window tests share.
#include "testkit.h"

namespace fwtest {

std::vector<std::string> g_log;

void Log(const std::string& s) { g_log.push_back(s); }

std::string Joined() {
  std::string out;
  for (size_t i = 0; i < g_log.size(); ++i) out += (i ? "|" : "") + g_log[i];
  g_log.clear();
  return out;
}

void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage((int)msg.wParam);  // leave it for whoever waits for it
      return;
    }
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    PumpPending();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void DropQuit() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace fwtest
