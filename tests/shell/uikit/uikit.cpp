// Helpers of the user-interface tests.
#include "uikit.h"

namespace uikit {

void Press(HWND hDlg, int id) {
  // A user cannot click a disabled control (and Wine's BM_CLICK would wait on it).
  HWND hItem = ::GetDlgItem(hDlg, id);
  if (hItem && ::IsWindowEnabled(hItem)) ::SendMessageA(hItem, BM_CLICK, 0, 0);
}

// ----- dialogs -----

static DialogDriver* s_pDriver = nullptr;

DialogDriver::DialogDriver(std::vector<Step> steps, DWORD timeoutMs)
    : m_steps(std::move(steps)), m_start(::GetTickCount()), m_timeout(timeoutMs) {
  s_pDriver = this;
  m_hHook = ::SetWindowsHookExA(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
  m_timer = ::SetTimer(nullptr, 0, 20, TimerProc);
}

DialogDriver::~DialogDriver() {
  if (m_hHook) ::UnhookWindowsHookEx(m_hHook);
  if (m_timer) ::KillTimer(nullptr, m_timer);
  s_pDriver = nullptr;
}

LRESULT CALLBACK DialogDriver::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && s_pDriver) {
    char cls[16] = {};
    if (::GetClassNameA((HWND)wParam, cls, sizeof(cls)) && lstrcmpA(cls, "#32770") == 0 &&
        !(::GetWindowLongA((HWND)wParam, GWL_STYLE) & WS_CHILD))
      s_pDriver->m_dialogs.push_back((HWND)wParam);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogDriver::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
  DialogDriver* d = s_pDriver;
  if (!d) return;
  // A modeless window that came and went between two ticks (a progress window) takes
  // no step.
  while (d->m_nRan < (int)d->m_steps.size() && d->m_nRan + d->m_nGone < (int)d->m_dialogs.size() &&
         !::IsWindow(d->m_dialogs[(size_t)(d->m_nRan + d->m_nGone)]))
    d->m_nGone++;
  if (d->m_nRan < (int)d->m_steps.size() && d->m_nRan + d->m_nGone < (int)d->m_dialogs.size()) {
    HWND hDlg = d->m_dialogs[(size_t)(d->m_nRan + d->m_nGone)];
    if (hDlg != d->m_hAwaited) {
      d->m_hAwaited = hDlg;
      d->m_start = ::GetTickCount();
    }
    if (::IsWindow(hDlg) && ::IsWindowVisible(hDlg) && ::GetWindow(hDlg, GW_CHILD)) {
      Step step = d->m_steps[(size_t)d->m_nRan];
      d->m_nRan++;
      step(hDlg);
      return;
    }
  }
  if (::GetTickCount() - d->m_start > d->m_timeout) {
    for (HWND h : d->m_dialogs)
      if (::IsWindow(h)) ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
  }
}

}  // namespace uikit
