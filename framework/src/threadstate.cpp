// Per-thread state: made on first use, freed by a fiber-local-storage callback when the
// thread ends, whoever started the thread.
#include "threadstate.h"

namespace {

thread_local AFX_THREAD_STATE* t_pState = nullptr;

void WINAPI FreeThreadState(void* data) {
  AFX_THREAD_STATE* p = static_cast<AFX_THREAD_STATE*>(data);
  if (!p) return;
  if (t_pState == p) t_pState = nullptr;
  if (p->m_hHookCbt) ::UnhookWindowsHookEx(p->m_hHookCbt);
  if (p->m_hToolTip && ::IsWindow(p->m_hToolTip)) ::DestroyWindow(p->m_hToolTip);
  delete p;
}

DWORD StateSlot() {
  static DWORD index = ::FlsAlloc(&FreeThreadState);
  return index;
}

}  // namespace

AFX_THREAD_STATE* AfxGetThreadState() {
  if (!t_pState) {
    t_pState = new AFX_THREAD_STATE;
    DWORD index = StateSlot();
    if (index != FLS_OUT_OF_INDEXES) ::FlsSetValue(index, t_pState);
  }
  return t_pState;
}
