// CWinThread, AfxBeginThread and the message pump.
#include <fw/fw.h>

#include <process.h>

#include "handlemap.h"
#include "threadstate.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

void CWinThread::CommonConstruct() {
  m_pMainWnd = nullptr;
  m_pActiveWnd = nullptr;
  m_bAutoDelete = TRUE;
  m_hThread = nullptr;
  m_nThreadID = 0;
  m_pStartModuleState = nullptr;
}

CWinThread::CWinThread() : m_pThreadParams(nullptr), m_pfnThreadProc(nullptr) { CommonConstruct(); }

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pThreadParams(pParam), m_pfnThreadProc(pfnThreadProc) {
  CommonConstruct();
}

CWinThread::~CWinThread() {
  if (m_hThread) ::CloseHandle(m_hThread);
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pState->m_pCurrentWinThread == this) pState->m_pCurrentWinThread = nullptr;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pParam) {
  CWinThread* pThread = static_cast<CWinThread*>(pParam);
  AfxGetThreadState()->m_pCurrentWinThread = pThread;
  if (pThread->m_pStartModuleState) AfxSetModuleState(pThread->m_pStartModuleState);
  UINT nResult = 0;
  try {
    if (pThread->m_pfnThreadProc) {
      nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    } else if (!pThread->InitInstance()) {
      nResult = (UINT)pThread->ExitInstance();
    } else {
      nResult = (UINT)pThread->Run();
    }
  } catch (CException* e) {
    e->Delete();
    nResult = (UINT)-1;
  } catch (...) {
    nResult = (UINT)-1;
  }
  AfxEndThread(nResult, TRUE);
  return nResult;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  unsigned nThreadID = 0;
  AFX_MODULE_STATE* pState = AfxGetModuleState();
  m_pStartModuleState = pState != AfxGetAppModuleState() ? pState : nullptr;
  m_hThread = (HANDLE)_beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this, CREATE_SUSPENDED,
                                     &nThreadID);
  if (!m_hThread) return FALSE;
  m_nThreadID = nThreadID;
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
  return TRUE;
}

// Starts a thread object: suspended first, so that the priority is set before it runs.
static CWinThread* StartThread(CWinThread* pThread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                               LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (!pThread) return nullptr;
  if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    pThread->Delete();
    return nullptr;
  }
  pThread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) pThread->ResumeThread();
  return pThread;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  return StartThread(new CWinThread(pfnThreadProc, pParam), nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  return StartThread(DYNAMIC_DOWNCAST(CWinThread, pThreadClass->CreateObject()), nPriority, nStackSize,
                     dwCreateFlags, lpSecurityAttrs);
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  CWinThread* pThread = pState->m_pCurrentWinThread;
  pState->m_pCurrentWinThread = nullptr;
  AfxDeleteTempMaps();
  if (pThread && bDelete) pThread->Delete();
  _endthreadex(nExitCode);
}

CWinThread* AFXAPI AfxGetThread() {
  CWinThread* pThread = AfxGetThreadState()->m_pCurrentWinThread;
  return pThread;
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

CWnd* CWinThread::GetMainWnd() { return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd; }

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() {
  return (int)AfxGetThreadState()->m_msgCur.wParam;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) { return AfxIsIdleMessage(pMsg); }

int CWinThread::Run() {
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  for (;;) {
    while (bIdle && !::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdleCount++)) bIdle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(pMsg)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

// The next message of the thread's pump into pMsg: 1 to dispatch, 0 for WM_QUIT, -1 when
// the running modal loop holds it (it is gone from the queue, nothing is to be done).
static int NextPumpMessage(MSG* pMsg) {
  const BOOL bGot = ::GetMessageA(pMsg, nullptr, 0, 0);
  CCloseHolder* pHolder = AfxGetThreadState()->m_pCloseHolder;
  if (pHolder && pHolder->Hold(*pMsg)) return -1;
  return bGot ? 1 : 0;
}

BOOL CWinThread::PumpMessage() {
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  const int next = NextPumpMessage(pMsg);
  if (next <= 0) return next < 0;
  if (pMsg->message != WM_KICKIDLE && !PreTranslateMessage(pMsg)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
  }
  return TRUE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
  const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), pMsg->message, 0, 0);
  if (!pEntry) return FALSE;
  AFX_MSGCALL call = {pMsg->message, pMsg->wParam, pMsg->lParam, 0, nullptr, 0};
  return pEntry->pfn(this, call);
}

// Pre-translation shared by every thread's pump: thread messages, tooltips, then the
// windows from the message's window up to the main window.
static BOOL PreTranslateForThread(CWinThread* pThread, MSG* pMsg) {
  if (!pMsg->hwnd && pThread && pThread->DispatchThreadMessageEx(pMsg)) return TRUE;
  AfxRelayToolTipMessage(pMsg);
  CWnd* pMainWnd = AfxGetMainWnd();
  if (CWnd::WalkPreTranslateTree(pMainWnd->GetSafeHwnd(), pMsg)) return TRUE;
  // A window outside the main window's tree (a modeless popup) still gets the main
  // window's accelerators.
  if (pMainWnd && pMainWnd->m_hWnd && pMsg->hwnd) {
    CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
    if (pWnd->GetTopLevelParent()->GetSafeHwnd() != pMainWnd->m_hWnd) return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) { return PreTranslateForThread(this, pMsg); }

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg) {
  CWinThread* pThread = AfxGetThread();
  return pThread ? pThread->PreTranslateMessage(pMsg) : PreTranslateForThread(nullptr, pMsg);
}

BOOL AFXAPI AfxPumpMessage() {
  if (CWinThread* pThread = AfxGetThread()) return pThread->PumpMessage();
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  const int next = NextPumpMessage(pMsg);
  if (next <= 0) return next < 0;
  if (pMsg->message != WM_KICKIDLE && !AfxPreTranslateMessage(pMsg)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
  }
  return TRUE;
}

void AFXAPI AfxDeleteTempMaps() {
  for (int kind = 0; kind < fwmap::kKindCount; ++kind) fwmap::DeleteTemporaries(static_cast<fwmap::Kind>(kind));
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    // Menus, bars and buttons of the visible main window follow their commands' state.
    CWnd* pMainWnd = m_pMainWnd;
    if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
      AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
      pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    return TRUE;
  }
  AfxDeleteTempMaps();
  return FALSE;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
  return AfxProcessWndProcException(e, pMsg);
}

CWnd* AFXAPI AfxGetMainWnd() {
  CWinThread* pThread = AfxGetThread();
  CWnd* pWnd = pThread ? pThread->GetMainWnd() : nullptr;
  if (!pWnd) {
    // Threads the framework did not start see the application's main window.
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp != pThread) pWnd = pApp->GetMainWnd();
  }
  return pWnd;
}
