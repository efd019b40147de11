#include "progress_core.h"

#include <commctrl.h>
#include <dlgkit/memdialog.h>

#include <cstring>
#include <string>

#include "ownmessage_core.h"
#include "system_core.h"

namespace kitlib {

namespace {

const char kClassName[] = "KitlibProgressBar";
const int kTextId = 100, kBarId = 101;

struct Run {
  volatile LONG* cancel = nullptr;
  HWND text = nullptr, bar = nullptr, button = nullptr;
};

void FreeText(void* text) { delete[] static_cast<char*>(text); }

void RequestCancel(HWND hwnd, Run* run) {
  if (!run) return;
  InterlockedExchange(run->cancel, 1);
  if (run->button) EnableWindow(run->button, FALSE);
}

LRESULT CALLBACK ProgressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Run* run = reinterpret_cast<Run*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
      break;
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL) RequestCancel(hwnd, run);
      return 0;
    case WM_CLOSE:
      RequestCancel(hwnd, run);  // the window goes when the worker has finished
      return 0;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_NCDESTROY: DropRecords(hwnd); break;
    default:
      if (msg == kProgressMessage && run) {
        // Only a text that PostProgress handed out is read; any other value is not touched.
        if (char* text = static_cast<char*>(TakeRecord(hwnd, msg, wp))) {
          SetWindowTextA(run->text, text);
          FreeText(text);
        }
        if (static_cast<LONG_PTR>(lp) >= 0) {
          int pct = static_cast<int>(lp > 100 ? 100 : lp);
          SendMessageA(run->bar, PBM_SETPOS, pct, 0);
        }
        return 0;
      }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterOnce(HINSTANCE inst) {
  static const bool registered = [inst] {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ProgressProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}

HWND CreateProgressWindow(Run* run, HWND owner, const char* caption, bool withCancel) {
  HINSTANCE inst = kitlib::ThisModule();
  RegisterOnce(inst);
  const int w = 420, h = withCancel ? 150 : 115;
  POINT at = dlgkit::CenteredPosition(owner, w, h);
  HWND hwnd = CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, caption ? caption : "",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU, at.x, at.y, w, h, owner, nullptr, inst, run);
  if (!hwnd) return nullptr;
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  RECT rc;
  GetClientRect(hwnd, &rc);
  int cw = rc.right - 24;
  run->text = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS, 12, 10,
                              cw, 18, hwnd, reinterpret_cast<HMENU>(kTextId), inst, nullptr);
  run->bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 12, 34, cw, 18, hwnd,
                             reinterpret_cast<HMENU>(kBarId), inst, nullptr);
  SendMessageA(run->bar, PBM_SETRANGE32, 0, 100);
  if (withCancel) {
    run->button = CreateWindowExA(0, "BUTTON", "キャンセル", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                  rc.right / 2 - 45, 64, 90, 24, hwnd, reinterpret_cast<HMENU>(IDCANCEL), inst, nullptr);
  }
  for (HWND c : {run->text, run->button})
    if (c) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  return hwnd;
}

struct ThreadArgs {
  const std::function<int()>* work;
  int result;
};

DWORD WINAPI WorkerThread(void* p) {
  auto* a = static_cast<ThreadArgs*>(p);
  a->result = (*a->work)();
  return 0;
}

}  // namespace

bool PostProgress(HWND window, const char* text, int percent) {
  if (!text) return PostMessageA(window, kProgressMessage, 0, percent) != FALSE;
  size_t n = strnlen(text, kProgressTextMax);
  char* copy = new char[n + 1];
  memcpy(copy, text, n);
  copy[n] = 0;
  if (PostRecord(window, kProgressMessage, copy, percent, FreeText)) return true;
  FreeText(copy);
  return false;
}

int RunProgressBar(const std::function<int()>& work, volatile LONG* cancel, HWND* window, const char* caption,
                   int flags) {
  static volatile LONG unused = 0;
  Run run;
  run.cancel = cancel ? cancel : &unused;

  HWND owner = GetActiveWindow();
  if (window && *window && IsWindow(*window)) owner = *window;
  HWND previous = window ? *window : nullptr;
  HWND hwnd = CreateProgressWindow(&run, owner, caption, (flags & 1) != 0);
  if (window) *window = hwnd;

  // The owner is disabled before the worker can look at anything.
  bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ThreadArgs args = {&work, -1};
  HANDLE thread = CreateThread(nullptr, 0, WorkerThread, &args, 0, nullptr);
  if (!thread) {
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (hwnd) DestroyWindow(hwnd);
    if (window) *window = previous;
    return -1;
  }

  bool quit = false;
  WPARAM quitCode = 0;
  for (;;) {
    DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) break;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) {
        quit = true;  // handed on after the run
        quitCode = m.wParam;
        continue;
      }
      if (hwnd && m.hwnd && (m.hwnd == hwnd || IsChild(hwnd, m.hwnd)) && m.message == WM_KEYDOWN &&
          m.wParam == VK_ESCAPE) {
        RequestCancel(hwnd, &run);
        continue;
      }
      if (hwnd && IsDialogMessageA(hwnd, &m)) continue;
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  CloseHandle(thread);

  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  if (hwnd) {
    if (owner && GetActiveWindow() == hwnd) SetActiveWindow(owner);
    DestroyWindow(hwnd);
  }
  if (window) *window = previous;
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return args.result;
}

}  // namespace kitlib
