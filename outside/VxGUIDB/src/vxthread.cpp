// CVxThread: the worker-thread base.
#include "internal.h"

using namespace vxg;

CVxThread::CVxThread(CVxGUITrans* pOwner)
    : m_pOwner(pOwner), m_hThread(NULL), m_dwThreadId(0), m_lAbort(0), m_lActive(0), m_dwExitCode(0) {}

CVxThread::~CVxThread() {
  // The body must not outlive the object it runs on.
  EndThread(INFINITE);
}

DWORD WINAPI CVxThread::ThreadEntry(LPVOID pParam) {
  CVxThread* self = static_cast<CVxThread*>(pParam);
  DWORD rc = self->Run();
  self->m_dwExitCode = rc;
  InterlockedExchange(&self->m_lActive, 0);
  return rc;
}

BOOL CVxThread::BeginThread(int nPriority) {
  if (IsActive()) return FALSE;
  if (m_hThread) {
    CloseHandle(m_hThread);
    m_hThread = NULL;
  }
  InterlockedExchange(&m_lAbort, 0);
  InterlockedExchange(&m_lActive, 1);
  m_dwExitCode = 0;
  m_hThread = CreateThread(NULL, 0, ThreadEntry, this, CREATE_SUSPENDED, &m_dwThreadId);
  if (!m_hThread) {
    InterlockedExchange(&m_lActive, 0);
    return FALSE;
  }
  SetThreadPriority(m_hThread, nPriority);
  ResumeThread(m_hThread);
  return TRUE;
}

BOOL CVxThread::EndThread(DWORD dwTimeout) {
  if (!m_hThread) return TRUE;
  InterlockedExchange(&m_lAbort, 1);
  if (GetCurrentThreadId() == m_dwThreadId) return FALSE;  // the body asks to end itself
  if (FwWaitAnsweringSent(m_hThread, dwTimeout) != WAIT_OBJECT_0) return FALSE;
  CloseHandle(m_hThread);
  m_hThread = NULL;
  m_dwThreadId = 0;
  return TRUE;
}

void CVxThread::Abort() { InterlockedExchange(&m_lAbort, 1); }
BOOL CVxThread::IsAbort() const { return m_lAbort != 0; }
BOOL CVxThread::IsActive() const { return m_lActive != 0; }
BOOL CVxThread::SetPriority(int nPriority) { return m_hThread ? SetThreadPriority(m_hThread, nPriority) : FALSE; }
DWORD CVxThread::GetExitCode() const { return m_dwExitCode; }
