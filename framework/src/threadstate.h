// Per-thread state of the windowing half (internal to GlimFW.dll).
#pragma once
#include <fw/fw.h>

class CView;
class CFrameWnd;

struct AFX_THREAD_STATE {
  CWinThread* m_pCurrentWinThread = nullptr;

  // Window creation: the object the next created window is attached to.
  CWnd* m_pWndInit = nullptr;
  HHOOK m_hHookCbt = nullptr;

  // The message the innermost window procedure of this thread is handling (Default()).
  MSG m_lastSentMsg = {};

  // The thread's message pump (threads that are not CWinThreads use this one).
  MSG m_msgCur = {};
  // Whose closes the pumps hold now: a holding modal loop's (MLF_HOLDCLOSES) or a running
  // CCloseHolder::Pump's; null for none.
  CCloseHolder* m_pCloseHolder = nullptr;
  // The framework's modal loops running now (dialogs from their creation on, message boxes).
  int m_nModalLoops = 0;
  POINT m_ptCursorLast = {-1, -1};
  UINT m_nMsgLast = 0;

  // Command routing in progress (frames set it while they route).
  CView* m_pRoutingView = nullptr;
  CFrameWnd* m_pRoutingFrame = nullptr;

  // The thread's tooltip control and the tool it shows.
  HWND m_hToolTip = nullptr;
  HWND m_hToolOwner = nullptr;   // the window whose FilterToolTipMessage added the tool
  HWND m_hLastHitWnd = nullptr;  // the window the tool belongs to
  INT_PTR m_nLastHit = -1;
  TOOLINFOA m_lastInfo = {};
  char m_szTipText[256] = "";
  WCHAR m_wszTipText[256] = L"";

  // Notifications of this window are ignored (set while a control is filled).
  HWND m_hLockoutNotifyWindow = nullptr;
};

// The calling thread's state, made on first use and freed when the thread ends.
AFX_THREAD_STATE* AfxGetThreadState();

// Makes a holder (or none) the thread's close holder for a scope.
class AfxCloseHolderScope {
 public:
  explicit AfxCloseHolderScope(CCloseHolder* pHolder)
      : m_pState(AfxGetThreadState()), m_pOuter(m_pState->m_pCloseHolder) {
    m_pState->m_pCloseHolder = pHolder;
  }
  ~AfxCloseHolderScope() { m_pState->m_pCloseHolder = m_pOuter; }
  AfxCloseHolderScope(const AfxCloseHolderScope&) = delete;
  AfxCloseHolderScope& operator=(const AfxCloseHolderScope&) = delete;

 private:
  AFX_THREAD_STATE* m_pState;
  CCloseHolder* m_pOuter;
};

// Restores the window procedure of a window that leaves the framework.
void AfxUnsubclass(CWnd* pWnd);

// Counts a modal loop of the thread for a scope (AfxGetModalLoopDepth).
class AfxModalLoopScope {
 public:
  AfxModalLoopScope() : m_pState(AfxGetThreadState()) { ++m_pState->m_nModalLoops; }
  ~AfxModalLoopScope() { --m_pState->m_nModalLoops; }
  AfxModalLoopScope(const AfxModalLoopScope&) = delete;
  AfxModalLoopScope& operator=(const AfxModalLoopScope&) = delete;

 private:
  AFX_THREAD_STATE* m_pState;
};
