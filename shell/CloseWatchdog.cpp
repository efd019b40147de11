#include "CloseWatchdog.h"

CCloseWatchdog::CCloseWatchdog(DWORD dwRepostMs, int nReposts, DWORD dwExitMs, EndFn pfnEnd)
    : m_dwRepostMs(dwRepostMs),
      m_nReposts(nReposts),
      m_dwExitMs(dwExitMs),
      m_pfnEnd(pfnEnd),
      m_dwThreadId(0),
      m_hThread(NULL),
      m_hExitBegan(::CreateEventA(NULL, TRUE, FALSE, NULL)),
      m_hStop(::CreateEventA(NULL, TRUE, FALSE, NULL)),
      m_nReposted(0) {}

CCloseWatchdog::~CCloseWatchdog() {
  Stop();
  ::CloseHandle(m_hExitBegan);
  ::CloseHandle(m_hStop);
}

void CCloseWatchdog::Start(DWORD dwThreadId) {
  if (m_hThread) return;
  m_dwThreadId = dwThreadId;
  m_hThread = ::CreateThread(NULL, 0, Watch, this, 0, NULL);
}

void CCloseWatchdog::ExitBegan() { ::SetEvent(m_hExitBegan); }

void CCloseWatchdog::Stop() {
  if (!m_hThread) return;
  ::SetEvent(m_hStop);
  ::WaitForSingleObject(m_hThread, INFINITE);
  ::CloseHandle(m_hThread);
  m_hThread = NULL;
}

void CCloseWatchdog::EndProcess(UINT nExitCode) {
  // Nothing else can end it now; the database's log keeps what was committed.
  ::TerminateProcess(::GetCurrentProcess(), nExitCode);
}

DWORD WINAPI CCloseWatchdog::Watch(LPVOID pParam) {
  CCloseWatchdog* p = static_cast<CCloseWatchdog*>(pParam);
  HANDLE waits[2] = {p->m_hStop, p->m_hExitBegan};
  DWORD r = WAIT_TIMEOUT;
  for (int n = 0; n < p->m_nReposts; ++n) {
    r = ::WaitForMultipleObjects(2, waits, FALSE, p->m_dwRepostMs);
    if (r != WAIT_TIMEOUT) break;
    ::InterlockedIncrement(&p->m_nReposted);  // counted first: the quit may end the loop at once
    ::PostThreadMessageA(p->m_dwThreadId, WM_QUIT, 0, 0);
  }
  if (r == WAIT_OBJECT_0) return 0;
  if (r == WAIT_TIMEOUT) {
    p->m_pfnEnd(3);  // the quit never arrived
    return 0;
  }
  if (::WaitForSingleObject(p->m_hStop, p->m_dwExitMs) == WAIT_TIMEOUT) p->m_pfnEnd(4);  // the exit hangs
  return 0;
}
