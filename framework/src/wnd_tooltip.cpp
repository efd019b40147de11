// CWnd tooltips: the thread's one tooltip control, driven from the message pump for the
// window that enabled tooltips, with tools from OnToolHitTest.
#include <fw/fw.h>
#include <fw/threadtip.h>

#include <cstdlib>

#include "threadstate.h"

static HWND EnsureThreadToolTip(HWND hOwner) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pState->m_hToolTip && ::IsWindow(pState->m_hToolTip)) return pState->m_hToolTip;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  pState->m_hToolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hOwner, nullptr,
                                         ::GetModuleHandleA(nullptr), nullptr);
  pState->m_nLastHit = -1;
  pState->m_hLastHitWnd = nullptr;
  if (pState->m_hToolTip) {
    ::SendMessageA(pState->m_hToolTip, TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);
    ::SendMessageA(pState->m_hToolTip, TTM_ACTIVATE, TRUE, 0);
  }
  return pState->m_hToolTip;
}

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  if (bEnable) {
    m_nFlags |= WF_TOOLTIPS;
  } else {
    m_nFlags &= ~WF_TOOLTIPS;
    if (AfxGetThreadState()->m_hToolOwner == m_hWnd) CancelToolTips();
  }
  return TRUE;
}

void PASCAL CWnd::CancelToolTips(BOOL) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (!pState->m_hToolTip || !::IsWindow(pState->m_hToolTip)) return;
  ::SendMessageA(pState->m_hToolTip, TTM_POP, 0, 0);
  if (pState->m_nLastHit != -1) ::SendMessageA(pState->m_hToolTip, TTM_DELTOOLA, 0, (LPARAM)&pState->m_lastInfo);
  pState->m_nLastHit = -1;
  pState->m_hLastHitWnd = nullptr;
  pState->m_hToolOwner = nullptr;
}

HWND AFXAPI AfxGetThreadToolTip() {
  HWND h = AfxGetThreadState()->m_hToolTip;
  return h && ::IsWindow(h) ? h : nullptr;
}

static HWND ChildWindowAt(HWND hWnd, POINT pt) {
  // The visible child under pt; static texts without an id don't count as tools.
  for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    if (::GetDlgCtrlID(hChild) == 0xFFFF || !::IsWindowVisible(hChild)) continue;
    RECT rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, hWnd, (LPPOINT)&rc, 2);
    if (::PtInRect(&rc, pt)) return hChild;
  }
  return nullptr;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  HWND hWndChild = ChildWindowAt(m_hWnd, point);
  if (!hWndChild) return -1;
  INT_PTR nHit = AfxGetDlgCtrlID(hWndChild);
  if (pTI) {
    pTI->hwnd = m_hWnd;
    pTI->uId = (UINT_PTR)hWndChild;
    pTI->uFlags |= TTF_IDISHWND | TTF_CENTERTIP;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
  }
  return nHit;
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
  if (!(m_nFlags & WF_TOOLTIPS)) return;
  UINT message = pMsg->message;
  BOOL bKey = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  BOOL bMouse = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_NCMOUSEMOVE;
  if (!bKey && !bMouse) return;
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (bKey) {
    CancelToolTips(TRUE);
    return;
  }
  HWND hTip = EnsureThreadToolTip(GetTopLevelParent()->GetSafeHwnd());
  if (!hTip) return;
  CPoint point = pMsg->pt;
  ::ScreenToClient(m_hWnd, &point);
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  INT_PTR nHit = OnToolHitTest(point, &ti);
  if (nHit == -1) ti.hwnd = nullptr;
  if (nHit != pState->m_nLastHit || ti.hwnd != pState->m_hLastHitWnd || ti.uId != pState->m_lastInfo.uId) {
    if (pState->m_nLastHit != -1) {
      ::SendMessageA(hTip, TTM_POP, 0, 0);
      ::SendMessageA(hTip, TTM_DELTOOLA, 0, (LPARAM)&pState->m_lastInfo);
    }
    pState->m_nLastHit = nHit;
    pState->m_hLastHitWnd = ti.hwnd;
    pState->m_hToolOwner = m_hWnd;
    pState->m_lastInfo = ti;
    if (nHit != -1) {
      if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect)) ::GetClientRect(ti.hwnd, &ti.rect);
      ::SendMessageA(hTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
      pState->m_lastInfo = ti;
      pState->m_lastInfo.lpszText = LPSTR_TEXTCALLBACKA;
    }
  }
  // A text given by the hit test was allocated with malloc, on every call; the control
  // keeps its own copy.
  if (ti.lpszText != LPSTR_TEXTCALLBACKA) free(ti.lpszText);
  if (nHit == -1) return;
  // Rectangle tools are matched against the tool window's client coordinates.
  MSG relay = *pMsg;
  if (!(pState->m_lastInfo.uFlags & TTF_IDISHWND) && relay.hwnd != pState->m_lastInfo.hwnd) {
    POINT pt = pMsg->pt;
    ::ScreenToClient(pState->m_lastInfo.hwnd, &pt);
    relay.hwnd = pState->m_lastInfo.hwnd;
    relay.lParam = MAKELPARAM(pt.x, pt.y);
  }
  ::SendMessageA(hTip, TTM_RELAYEVENT, 0, (LPARAM)&relay);
}

// The nearest window from pMsg's window up that has tooltips enabled runs the tooltip.
void AFXAPI AfxRelayToolTipMessage(MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd && (pWnd->m_nFlags & WF_TOOLTIPS)) {
      pWnd->FilterToolTipMessage(pMsg);
      return;
    }
    if (!(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) return;
  }
}
