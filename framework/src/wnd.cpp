// CWnd core: handle maps, the window procedure, creation and destruction, dispatch of
// messages, commands and notifications, reflection to controls.
#include <fw/fw.h>

#include <mutex>
#include <set>
#include <string>

#include "handlemap.h"
#include "threadstate.h"

// ----- handle maps -----

// Temporary wrappers: the handle is set without entering the permanent map.
void FwTempAttach(CWnd* p, void* h) {
  p->m_hWnd = static_cast<HWND>(h);
  p->m_nFlags |= WF_TEMPOBJECT;
}
void FwTempDetach(CWnd* p) { p->m_hWnd = nullptr; }

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) { return fwmap::FromHandle<CWnd>(fwmap::kWnd, hWnd); }

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
  if (!hWnd) return nullptr;
  return static_cast<CWnd*>(fwmap::LookupPermanent(fwmap::kWnd, hWnd, RUNTIME_CLASS(CWnd)));
}

void PASCAL CWnd::DeleteTempMap() { fwmap::DeleteTemporaries(fwmap::kWnd); }

HWND AFXAPI _AfxHwndOf(const CWnd* pWnd) { return pWnd->GetSafeHwnd(); }

BOOL CWnd::Attach(HWND hWndNew) { return fwmap::AttachOwner(fwmap::kWnd, m_hWnd, hWndNew, this); }

HWND CWnd::Detach() { return fwmap::DetachOwner(fwmap::kWnd, m_hWnd, this); }

void AfxUnsubclass(CWnd* pWnd) {
  if (!pWnd->m_hWnd) return;
  WNDPROC* ppfnSuper = pWnd->GetSuperWndProcAddr();
  if (*ppfnSuper && (WNDPROC)::GetWindowLongPtrA(pWnd->m_hWnd, GWLP_WNDPROC) == AfxWndProc)
    ::SetWindowLongPtrA(pWnd->m_hWnd, GWLP_WNDPROC, (LONG_PTR)*ppfnSuper);
  *ppfnSuper = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  WNDPROC oldProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
  if (oldProc != AfxWndProc) *GetSuperWndProcAddr() = oldProc;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
  return hWndControl && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
  AfxUnsubclass(this);
  return Detach();
}

WNDPROC* CWnd::GetSuperWndProcAddr() { return &m_pfnSuper; }

// ----- construction -----

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() : m_hWnd(nullptr), m_hWndOwner(nullptr), m_nFlags(0), m_pfnSuper(nullptr), m_nModalResult(0) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd), m_hWndOwner(nullptr), m_nFlags(0), m_pfnSuper(nullptr), m_nModalResult(0) {}

CWnd::~CWnd() {
  if (m_hWnd && !(m_nFlags & WF_TEMPOBJECT) && this != &wndTop && this != &wndBottom && this != &wndTopMost &&
      this != &wndNoTopMost) {
    if (FromHandlePermanent(m_hWnd) == this) {
      // An object destroyed with its window still alive takes the window along.
      DestroyWindow();
    }
    Detach();
  }
}

// ----- window classes -----

namespace {

std::mutex g_classLock;

// Names returned by AfxRegisterWndClass live as long as the process.
std::set<std::string>& RegisteredNames() {
  static std::set<std::string> names;
  return names;
}

HINSTANCE FrameworkInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The framework's classes are global: any module may create windows of them.
BOOL RegisterGlobal(LPCSTR name, UINT style, HCURSOR hCursor, HBRUSH hbr, HICON hIcon) {
  WNDCLASSA wc = {};
  if (::GetClassInfoA(FrameworkInstance(), name, &wc)) return TRUE;
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = FrameworkInstance();
  wc.hCursor = hCursor;
  wc.hbrBackground = hbr;
  wc.hIcon = hIcon;
  wc.lpszClassName = name;
  return ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void EnsureStandardClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    HCURSOR hArrow = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    RegisterGlobal(AFX_WND, CS_DBLCLKS, hArrow, nullptr, nullptr);
    RegisterGlobal(AFX_WNDFRAMEORVIEW, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, hArrow, (HBRUSH)(COLOR_WINDOW + 1),
                   ::LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION));
    RegisterGlobal(AFX_WNDCONTROLBAR, CS_DBLCLKS, hArrow, (HBRUSH)(COLOR_BTNFACE + 1), nullptr);
    RegisterGlobal(AFX_WNDMDIFRAME, CS_DBLCLKS, hArrow, nullptr, ::LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION));
  });
}

}  // namespace

LPCSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  char name[96];
  wsprintfA(name, "Afx:%x:%p:%p:%p", nClassStyle, (void*)hCursor, (void*)hbrBackground, (void*)hIcon);
  std::lock_guard<std::mutex> lock(g_classLock);
  auto& names = RegisteredNames();
  auto it = names.find(name);
  if (it != names.end()) return it->c_str();
  if (!RegisterGlobal(name, nClassStyle, hCursor, hbrBackground, hIcon)) return nullptr;
  return names.insert(name).first->c_str();
}

BOOL AFXAPI AfxRegisterClass(WNDCLASSA* lpWndClass) {
  WNDCLASSA wc;
  if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wc)) return TRUE;
  return ::RegisterClassA(lpWndClass) != 0;
}

// ----- creation hook -----

static LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (code == HCBT_CREATEWND && pState->m_pWndInit) {
    HWND hWnd = (HWND)wParam;
    // The input-method window some systems make on the way is not ours.
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (lstrcmpiA(cls, "ime") != 0) {
      CWnd* pWndInit = pState->m_pWndInit;
      pState->m_pWndInit = nullptr;
      pWndInit->Attach(hWnd);
      pWndInit->PreSubclassWindow();
      WNDPROC oldProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
      if (oldProc != AfxWndProc) *pWndInit->GetSuperWndProcAddr() = oldProc;
    }
  }
  return ::CallNextHookEx(pState->m_hHookCbt, code, wParam, lParam);
}

void AFXAPI AfxHookWindowCreate(CWnd* pWnd) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (!pState->m_hHookCbt)
    pState->m_hHookCbt = ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
  pState->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate() {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pState->m_pWndInit) {
    pState->m_pWndInit = nullptr;
    return FALSE;
  }
  return TRUE;
}

WNDPROC AFXAPI AfxGetAfxWndProc() { return AfxWndProc; }

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AFX_WND;
  return TRUE;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  EnsureStandardClasses();
  CREATESTRUCTA cs;
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // No window was ever made: nothing ran OnNcDestroy, so clean up here. (When WM_CREATE
  // failed, the window's destruction already did; the object may be gone.)
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, (LPVOID)pContext);
}

BOOL CWnd::DestroyWindow() {
  HWND hWnd = m_hWnd;
  if (!hWnd) return FALSE;
  BOOL bPermanent = FromHandlePermanent(hWnd) == this;
  BOOL bResult = ::DestroyWindow(hWnd);
  // A permanent object was detached (and may be deleted) by OnNcDestroy; others only
  // forget the handle.
  if (!bPermanent) Detach();
  return bResult;
}

void CWnd::PostNcDestroy() {}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  DWORD dwExStyle = GetExStyle();
  if (nAdjustType == 0) dwExStyle &= ~WS_EX_CLIENTEDGE;
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

BOOL CWnd::IsFrameWnd() const { return FALSE; }

// ----- the window procedure -----

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_QUERYAFXWNDPROC) return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (!pWnd) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

// The object of a destroyed window leaves the framework even when its own handler of
// WM_NCDESTROY did not call the base.
static void FinishNcDestroy(CWnd* pWnd) {
  AfxUnsubclass(pWnd);
  pWnd->Detach();
  pWnd->PostNcDestroy();
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  MSG oldState = pState->m_lastSentMsg;
  pState->m_lastSentMsg.hwnd = hWnd;
  pState->m_lastSentMsg.message = nMsg;
  pState->m_lastSentMsg.wParam = wParam;
  pState->m_lastSentMsg.lParam = lParam;
  LRESULT lResult = 0;
  try {
    CWinApp* pApp = AfxGetApp();
    if (nMsg == WM_SETCURSOR && pApp && pApp->m_nWaitCursorCount > 0 && LOWORD(lParam) == HTCLIENT) {
      // Keep the wait cursor while a CWaitCursor lives.
      ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
      lResult = TRUE;
    } else {
      lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    }
  } catch (CException* e) {
    CWinThread* pThread = AfxGetThread();
    lResult = pThread ? pThread->ProcessWndProcException(e, &pState->m_lastSentMsg)
                      : AfxProcessWndProcException(e, &pState->m_lastSentMsg);
    e->Delete();
  } catch (...) {
    lResult = AfxProcessWndProcException(nullptr, &pState->m_lastSentMsg);
  }
  if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) FinishNcDestroy(pWnd);
  pState->m_lastSentMsg = oldState;
  return lResult;
}

LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* pMsg) {
  ::OutputDebugStringA("GlimFW: exception in a window procedure\n");
  if (pMsg->message == WM_CREATE) return -1;  // the creation fails
  if (pMsg->message == WM_NCCREATE) return FALSE;
  if (pMsg->message == WM_PAINT) ::ValidateRect(pMsg->hwnd, nullptr);  // or it repaints forever
  if (e && !e->IsKindOf(RUNTIME_CLASS(CUserException))) e->ReportError(MB_ICONEXCLAMATION);
  return 0;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage() {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  pState->m_lastSentMsg.time = ::GetMessageTime();
  DWORD pos = ::GetMessagePos();
  pState->m_lastSentMsg.pt.x = GET_X_LPARAM(pos);
  pState->m_lastSentMsg.pt.y = GET_Y_LPARAM(pos);
  return &pState->m_lastSentMsg;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    lResult = 1;
  } else if (message == WM_NOTIFY) {
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (!pNMHDR || !OnNotify(wParam, lParam, &lResult)) return FALSE;
  } else {
    // All colour messages meet in the one WM_CTLCOLOR entry.
    // (their handlers see the real message, reflected or not).
    UINT nKey = message;
    UINT nCallMsg = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
      nKey = WM_CTLCOLOR;
    } else if (message >= WM_REFLECT_BASE + WM_CTLCOLORMSGBOX && message <= WM_REFLECT_BASE + WM_CTLCOLORSTATIC) {
      nKey = WM_REFLECT_BASE + WM_CTLCOLOR;
      nCallMsg = message - WM_REFLECT_BASE;
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), nKey, 0, 0);
    if (!pEntry) return FALSE;
    AFX_MSGCALL call = {nCallMsg, wParam, lParam, 0, nullptr, 0};
    if (!pEntry->pfn(this, call)) return FALSE;
    lResult = call.lResult;
  }
  if (pResult) *pResult = lResult;
  return TRUE;
}

// ----- commands and notifications -----

namespace {

// Only asks whether an update handler enables the command.
class CTestCmdUI : public CCmdUI {
 public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCSTR) override {}
};

}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  HWND hWndCtrl = (HWND)lParam;
  int nCode = HIWORD(wParam);
  if (!hWndCtrl) {
    if (nID == 0) return FALSE;
    // A menu item or accelerator runs only while its update handler leaves it enabled.
    CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    nCode = CN_COMMAND;
  } else {
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
    if (ReflectLastMsg(hWndCtrl)) return TRUE;  // the control took its own notification
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

// The tip text of a control or command: the part after "\n" of the string with its id.
static BOOL AnswerToolTipText(NMHDR* pNMHDR, LRESULT* pResult) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  UINT_PTR nID = pNMHDR->idFrom;
  UINT uFlags = pNMHDR->code == TTN_NEEDTEXTA ? ((NMTTDISPINFOA*)pNMHDR)->uFlags : ((NMTTDISPINFOW*)pNMHDR)->uFlags;
  if (uFlags & TTF_IDISHWND) nID = (UINT_PTR)::GetDlgCtrlID((HWND)nID);
  if (nID == 0) return FALSE;
  CString full, tip;
  if (!full.LoadString((UINT)nID)) return FALSE;
  AfxExtractSubString(tip, full, 1);
  lstrcpynA(pState->m_szTipText, tip, sizeof(pState->m_szTipText));
  if (pNMHDR->code == TTN_NEEDTEXTA) {
    NMTTDISPINFOA* p = (NMTTDISPINFOA*)pNMHDR;
    p->lpszText = pState->m_szTipText;
    p->hinst = nullptr;
  } else {
    NMTTDISPINFOW* p = (NMTTDISPINFOW*)pNMHDR;
    ::MultiByteToWideChar(CP_ACP, 0, pState->m_szTipText, -1, pState->m_wszTipText, _countof(pState->m_wszTipText));
    p->lpszText = pState->m_wszTipText;
    p->hinst = nullptr;
  }
  if (pResult) *pResult = 0;
  // Tips of child controls show above the frame's other popups.
  ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
  return TRUE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = (NMHDR*)lParam;
  HWND hWndCtrl = pNMHDR->hwndFrom;
  UINT nID = (UINT)pNMHDR->idFrom;
  int nCode = (int)pNMHDR->code;
  if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
  if (ReflectLastMsg(hWndCtrl, pResult)) return TRUE;
  AFX_NOTIFY notify = {pResult, pNMHDR};
  if (OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, nullptr)) return TRUE;
  if (pNMHDR->code == TTN_NEEDTEXTA || pNMHDR->code == TTN_NEEDTEXTW) return AnswerToolTipText(pNMHDR, pResult);
  return FALSE;
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  return pWnd && pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
      int nCode = HIWORD(wParam);
      if (CCmdTarget::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
        if (pResult) *pResult = 1;
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      NMHDR* pNMHDR = (NMHDR*)lParam;
      AFX_NOTIFY notify = {pResult, pNMHDR};
      return CCmdTarget::OnCmdMsg(0, MAKELONG((int)pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
      return FALSE;
  }
}

// ----- the framework's own handlers -----

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
  ON_WM_CTLCOLOR()
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_COMPAREITEM()
  ON_WM_DELETEITEM()
  ON_WM_CHARTOITEM()
  ON_WM_VKEYTOITEM()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

void CWnd::OnNcDestroy() {
  CWinThread* pThread = AfxGetThread();
  if (pThread) {
    if (pThread->m_pMainWnd == this) {
      // The thread's main window is gone: its message loop ends.
      ::PostQuitMessage(0);
      pThread->m_pMainWnd = nullptr;
    }
    if (pThread->m_pActiveWnd == this) pThread->m_pActiveWnd = nullptr;
  }
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pState->m_hLastHitWnd == m_hWnd || pState->m_hToolOwner == m_hWnd) CancelToolTips();
  Default();
  FinishNcDestroy(this);
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT lResult = 0;
  if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult)) return (HBRUSH)lResult;
  return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType != ODT_MENU) {
    // The message names the control only by id.
    CWnd* pChild = GetDescendantWindow((int)lpMeasureItemStruct->CtlID, TRUE);
    if (pChild && pChild->SendChildNotifyLastMsg()) return;
  }
  Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  LRESULT lResult = 0;
  if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult)) return (int)lResult;
  return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT) {
  LRESULT lResult = 0;
  if (ReflectLastMsg(reinterpret_cast<CWnd*>(pListBox)->GetSafeHwnd(), &lResult)) return (int)lResult;
  return (int)Default();
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT) {
  LRESULT lResult = 0;
  if (ReflectLastMsg(reinterpret_cast<CWnd*>(pListBox)->GetSafeHwnd(), &lResult)) return (int)lResult;
  return (int)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
  HWND hWndBar = reinterpret_cast<CWnd*>(pScrollBar)->GetSafeHwnd();
  if (hWndBar && ReflectLastMsg(hWndBar)) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
  HWND hWndBar = reinterpret_cast<CWnd*>(pScrollBar)->GetSafeHwnd();
  if (hWndBar && ReflectLastMsg(hWndBar)) return;
  Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
  if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) && ReflectLastMsg((HWND)lParam)) return;
  Default();
}

// ----- text helpers -----

void AFXAPI AfxGetWindowText(HWND hWnd, CString& rString) {
  int nLen = ::GetWindowTextLengthA(hWnd);
  ::GetWindowTextA(hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
  rString.ReleaseBuffer();
}

void CWnd::GetWindowText(CString& rString) const { AfxGetWindowText(m_hWnd, rString); }

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND hWnd = ::GetDlgItem(m_hWnd, nID);
  if (hWnd) AfxGetWindowText(hWnd, rString);
  return rString.GetLength();
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
  if (!lpszCaption) lpszCaption = AfxGetAppName();
  return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  CWinApp* pApp = AfxGetApp();
  ::WinHelpA(m_hWnd, pApp ? pApp->m_pszHelpFilePath : nullptr, nCmd, dwData);
}
