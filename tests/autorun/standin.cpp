// A stand-in for the main program or the card viewer in the launcher's tests. It appends
// "<its own path>|<its command line>" to the file AUTORUN_STANDIN_LOG; with
// AUTORUN_STANDIN_PROPERTY set it stays with a hidden window carrying that window
// property (and the mutex AUTORUN_STANDIN_MUTEX, when set), records each card event
// as "event:<wParam>" and ends on WM_CLOSE, or after a minute at the latest.
#include <windows.h>

#include <string>

namespace {

std::string Env(const char* name) {
  char buf[1024];
  DWORD n = GetEnvironmentVariableA(name, buf, sizeof(buf));
  return n && n < sizeof(buf) ? std::string(buf, n) : std::string();
}

void Record(const std::string& line) {
  std::string log = Env("AUTORUN_STANDIN_LOG");
  if (log.empty()) return;
  HANDLE h = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\n";
  DWORD written;
  WriteFile(h, text.data(), (DWORD)text.size(), &written, nullptr);
  CloseHandle(h);
}

LRESULT CALLBACK StandInProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == 2071) Record("event:" + std::to_string(w));
  if (msg == WM_CLOSE) {
    DestroyWindow(h);
    return 0;
  }
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  Record(std::string(self) + "|" + GetCommandLineA());

  std::string prop = Env("AUTORUN_STANDIN_PROPERTY");
  if (prop.empty()) return 0;
  std::string mutexName = Env("AUTORUN_STANDIN_MUTEX");
  HANDLE hMutex = mutexName.empty() ? nullptr : CreateMutexA(nullptr, FALSE, mutexName.c_str());

  WNDCLASSA wc = {};
  wc.lpfnWndProc = StandInProc;
  wc.hInstance = hInstance;
  wc.lpszClassName = "GlimoraAutoRunStandIn";
  RegisterClassA(&wc);
  HWND h = CreateWindowA(wc.lpszClassName, "stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         hInstance, nullptr);
  SetPropA(h, prop.c_str(), (HANDLE)1);
  SetTimer(h, 1, 60000, nullptr);  // never outlive a failed test for long
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_TIMER) DestroyWindow(h);
    DispatchMessageA(&m);
  }
  if (hMutex) CloseHandle(hMutex);
  return 0;
}
