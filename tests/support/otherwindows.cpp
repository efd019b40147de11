#include "otherwindows.h"

#include <tlhelp32.h>

#include "pump.h"

namespace testsupport {

namespace {
const char kKeeperClass[] = "GlimoraTestMessageKeeper";
}

MessageKeeper::MessageKeeper() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kKeeperClass;
  RegisterClassA(&wc);  // fails harmlessly from the second keeper on
  window_ = CreateWindowExA(0, kKeeperClass, "keeper", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageKeeper::~MessageKeeper() { DestroyWindow(window_); }

LRESULT CALLBACK MessageKeeper::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<MessageKeeper*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && msg >= WM_USER) {
    self->got.push_back(msg);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool MessageKeeper::WaitFor(UINT message, DWORD timeoutMs) {
  return WaitUntil(
      [&] {
        for (UINT m : got)
          if (m == message) return true;
        return false;
      },
      timeoutMs);
}

std::vector<HWND> WindowsOf(DWORD pid, const char* className, bool allOfThem) {
  struct Search {
    DWORD pid;
    const char* cls;
    bool all;
    std::vector<HWND> found;
    static BOOL CALLBACK Each(HWND h, LPARAM lp) {
      auto* s = reinterpret_cast<Search*>(lp);
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      if (pid != s->pid || (!s->all && !IsWindowVisible(h))) return TRUE;
      char cls[64] = {};
      GetClassNameA(h, cls, sizeof cls);
      if (!s->cls || lstrcmpA(cls, s->cls) == 0) s->found.push_back(h);
      return TRUE;
    }
  } search = {pid, className, allOfThem, {}};
  EnumWindows(Search::Each, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> WindowsOfChildren(const char* className) {
  std::vector<HWND> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID != GetCurrentProcessId()) continue;
    std::vector<HWND> windows = WindowsOf(entry.th32ProcessID, className, true);
    found.insert(found.end(), windows.begin(), windows.end());
  }
  CloseHandle(snapshot);
  return found;
}

HWND VisibleWindowOf(DWORD pid, const char* className) {
  std::vector<HWND> found = WindowsOf(pid, className);
  return found.empty() ? nullptr : found.front();
}

HWND WaitForWindowOf(HANDLE process, const char* className, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = VisibleWindowOf(GetProcessId(process), className)) != nullptr; }, timeoutMs);
  return found;
}

bool SendToOther(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD timeoutMs) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer)) return false;
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}

std::string StaticTexts(HWND dialog) {
  std::string texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[16] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) continue;
    // A message box's text may be long (a list of files): read it whole.
    std::string text(GetWindowTextLengthA(child) + 1, '\0');
    text.resize(GetWindowTextA(child, &text[0], (int)text.size()));
    if (text.empty()) continue;
    if (!texts.empty()) texts += "|";
    texts += text;
  }
  return texts;
}

}  // namespace testsupport
