// Threads: CWinThread (a worker function or a user-interface thread with its own message
// loop), AfxBeginThread, and the message pump every loop of the framework shares.
#pragma once
#include <fw/wnd.h>

class CException;

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

class FW_API CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread();
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;

  // Starts the thread; it always starts suspended inside and runs at once unless
  // dwCreateFlags has CREATE_SUSPENDED. The creator's module state (AFX_MANAGE_STATE) is
  // the thread's too.
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

  CWnd* m_pMainWnd;     // the thread's main window (its destruction ends the loop)
  CWnd* m_pActiveWnd;
  BOOL m_bAutoDelete;   // the object deletes itself when the thread ends
  HANDLE m_hThread;
  DWORD m_nThreadID;
  operator HANDLE() const { return m_hThread; }

  int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
  BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
  DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
  }

  // User-interface threads.
  virtual BOOL InitInstance();
  virtual int Run();              // the message loop with idle processing
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();     // one message; FALSE on WM_QUIT
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
  virtual CWnd* GetMainWnd();
  virtual void Delete();          // deletes the object when m_bAutoDelete
  // Runs a thread message (a message without window) through ON_THREAD_MESSAGE entries.
  BOOL DispatchThreadMessageEx(MSG* pMsg);

  // Worker threads.
  LPVOID m_pThreadParams;
  AFX_THREADPROC m_pfnThreadProc;

  DECLARE_MESSAGE_MAP()

 private:
  static unsigned __stdcall ThreadEntry(void* pParam);
  void CommonConstruct();
  struct AFX_MODULE_STATE* m_pStartModuleState;  // the creator's module state, current in the thread
};

FW_API CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                         int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                         DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
FW_API CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                                         UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                         LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// Ends the calling thread (a CWinThread) with nExitCode.
FW_API void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// The calling thread's CWinThread; the application object on the main thread.
FW_API CWinThread* AFXAPI AfxGetThread();

// One message through the thread's pre-translation and dispatch; FALSE on WM_QUIT.
FW_API BOOL AFXAPI AfxPumpMessage();
FW_API BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);
// FALSE for messages that are no reason for idle processing (paint, caret, still mouse).
FW_API BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg);
// Offers a mouse or key message to the tooltip of the nearest window that has them.
FW_API void AFXAPI AfxRelayToolTipMessage(MSG* pMsg);
// What a window procedure returns after an exception (creation fails, paint is validated;
// the user is told unless it is a CUserException).
FW_API LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* pMsg);
// Deletes this thread's temporary wrappers of windows, DCs, GDI objects and menus.
FW_API void AFXAPI AfxDeleteTempMaps();
