// CWnd: relatives, placement, scrolling, bar layout, pre-translation, modal loops.
#include <fw/fw.h>

#include "threadstate.h"

// ----- relatives -----

// The parent of a child, the owner of a popup: the window a popup's position refers to.
static HWND ParentOrOwner(HWND hWnd) {
  if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd)) return pWnd->GetOwner()->GetSafeHwnd();
  return (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
}

CWnd* CWnd::GetTopLevelParent() const {
  HWND hWndTop = m_hWnd;
  for (HWND h; (h = ParentOrOwner(hWndTop)) != nullptr;) hWndTop = h;
  return FromHandle(hWndTop);
}

CWnd* CWnd::GetTopLevelOwner() const {
  HWND hWndOwner = m_hWnd;
  for (HWND h; (h = ::GetWindow(hWndOwner, GW_OWNER)) != nullptr || (h = ::GetParent(hWndOwner)) != nullptr;)
    hWndOwner = h;
  return FromHandle(hWndOwner);
}

CWnd* CWnd::GetParentOwner() const {
  HWND hWndParent = m_hWnd;
  for (HWND h; (::GetWindowLongPtrA(hWndParent, GWL_STYLE) & WS_CHILD) && (h = ::GetParent(hWndParent)) != nullptr;)
    hWndParent = h;
  return FromHandle(hWndParent);
}

CFrameWnd* CWnd::GetParentFrame() const {
  if (!m_hWnd) return nullptr;
  for (CWnd* pParent = GetParent(); pParent; pParent = pParent->GetParent()) {
    if (pParent->IsFrameWnd()) return static_cast<CFrameWnd*>(pParent);
  }
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  if (!m_hWnd) return nullptr;
  CFrameWnd* pFrame = IsFrameWnd() ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
  while (pFrame) {
    CFrameWnd* pUp = pFrame->GetParentFrame();
    if (!pUp) break;
    pFrame = pUp;
  }
  return pFrame;
}

int AFXAPI AfxGetDlgCtrlID(HWND hWnd) {
  return (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetDlgCtrlID(hWnd) : 0;
}

static HWND FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm) {
  // Direct children first, then each child's descendants.
  for (HWND h = ::GetTopWindow(hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (AfxGetDlgCtrlID(h) == nID && (!bOnlyPerm || CWnd::FromHandlePermanent(h))) return h;
  }
  for (HWND h = ::GetTopWindow(hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (HWND hFound = FindDescendant(h, nID, bOnlyPerm)) return hFound;
  }
  return nullptr;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
  return FromHandle(FindDescendant(m_hWnd, nID, bOnlyPerm));
}

static void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    if (bOnlyPerm) {
      // Straight into the object: framework messages need no trip through the system.
      if (CWnd* pWnd = CWnd::FromHandlePermanent(hChild)) AfxCallWndProc(pWnd, hChild, message, wParam, lParam);
    } else {
      ::SendMessageA(hChild, message, wParam, lParam);
    }
    if (bDeep && ::IsWindow(hChild) && ::GetTopWindow(hChild))
      SendToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
  }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

HWND PASCAL CWnd::GetSafeOwner_(HWND hParent, HWND* pWndTop) {
  HWND hWnd = hParent;
  if (!hWnd) hWnd = AfxGetMainWnd()->GetSafeHwnd();
  // A popup can't be owned by a child window.
  while (hWnd && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  HWND hWndTop = hWnd;
  for (HWND h = hWnd; h; h = ::GetParent(h)) hWndTop = h;
  if (!hParent && hWnd) hWnd = ::GetLastActivePopup(hWnd);
  if (pWndTop) {
    if (hWndTop && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
      *pWndTop = hWndTop;
      ::EnableWindow(hWndTop, FALSE);
    } else {
      *pWndTop = nullptr;
    }
  }
  return hWnd;
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
  return FromHandle(GetSafeOwner_(pParent->GetSafeHwnd(), pWndTop));
}

// ----- styles and items -----

static BOOL ModifyLong(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, nIndex);
  DWORD dwNew = (dwStyle & ~dwRemove) | dwAdd;
  if (dwStyle == dwNew) return FALSE;
  ::SetWindowLongPtrA(hWnd, nIndex, (LONG_PTR)dwNew);
  if (nFlags)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyLong(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyLong(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const {
  for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++) {
    if (::IsDlgButtonChecked(m_hWnd, nID)) return nID;
  }
  return 0;
}

// ----- placement -----

POINT AFXAPI AfxCenterRectPos(const RECT& rcWnd, const RECT& rcCenter, const RECT& rcArea) {
  int cx = rcWnd.right - rcWnd.left;
  int cy = rcWnd.bottom - rcWnd.top;
  POINT pt;
  pt.x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
  pt.y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
  if (pt.x + cx > rcArea.right) pt.x = rcArea.right - cx;
  if (pt.x < rcArea.left) pt.x = rcArea.left;
  if (pt.y + cy > rcArea.bottom) pt.y = rcArea.bottom - cy;
  if (pt.y < rcArea.top) pt.y = rcArea.top;
  return pt;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  DWORD dwStyle = GetStyle();
  HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
  if (!hWndCenter) {
    hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndCenter) {
      // The owner may name a better window to centre on (a frame its active view, say).
      HWND hWndTemp = (HWND)::SendMessageA(hWndCenter, WM_QUERYCENTERWND, 0, 0);
      if (hWndTemp) hWndCenter = hWndTemp;
    }
  }
  RECT rcDlg, rcArea, rcCenter;
  ::GetWindowRect(m_hWnd, &rcDlg);
  if (!(dwStyle & WS_CHILD)) {
    // Not on a hidden or minimised owner: on the work area instead.
    if (hWndCenter) {
      DWORD dwCenterStyle = (DWORD)::GetWindowLongPtrA(hWndCenter, GWL_STYLE);
      if (!(dwCenterStyle & WS_VISIBLE) || (dwCenterStyle & WS_MINIMIZE)) hWndCenter = nullptr;
    }
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    HMONITOR hMonitor = ::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
    if (::GetMonitorInfoA(hMonitor, &mi))
      rcArea = mi.rcWork;
    else
      ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
    if (hWndCenter)
      ::GetWindowRect(hWndCenter, &rcCenter);
    else
      rcCenter = rcArea;
  } else {
    HWND hWndParent = ::GetParent(m_hWnd);
    ::GetClientRect(hWndParent, &rcArea);
    ::GetClientRect(hWndCenter, &rcCenter);
    ::MapWindowPoints(hWndCenter, hWndParent, (LPPOINT)&rcCenter, 2);
  }
  POINT pt = AfxCenterRectPos(rcDlg, rcCenter, rcArea);
  ::SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ----- scrolling -----

static HWND ScrollBarOf(const CWnd* pWnd, int nBar, int* pnCtlBar) {
  *pnCtlBar = nBar;
  HWND hWndBar = reinterpret_cast<CWnd*>(pWnd->GetScrollBarCtrl(nBar))->GetSafeHwnd();
  if (hWndBar) *pnCtlBar = SB_CTL;
  return hWndBar ? hWndBar : pWnd->m_hWnd;
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  int nCtlBar;
  HWND hWnd = ScrollBarOf(this, nBar, &nCtlBar);
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(hWnd, nCtlBar, lpScrollInfo, bRedraw);
  return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const {
  int nCtlBar;
  HWND hWnd = ScrollBarOf(this, nBar, &nCtlBar);
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(hWnd, nCtlBar, lpScrollInfo);
}

int CWnd::GetScrollLimit(int nBar) const {
  SCROLLINFO info = {};
  if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE)) return 0;
  int nMax = info.nMax;
  if (info.nPage > 1) nMax -= (int)info.nPage - 1;
  return std::max(nMax, info.nMin);
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
  if (nBar == SB_BOTH) {
    EnableScrollBarCtrl(SB_HORZ, bEnable);
    EnableScrollBarCtrl(SB_VERT, bEnable);
    return;
  }
  if (CWnd* pBar = reinterpret_cast<CWnd*>(GetScrollBarCtrl(nBar))) {
    pBar->EnableWindow(bEnable);
    return;
  }
  // Under Wine showing a bar that is already shown still costs a frame change and a
  // repaint of the bar.
  const DWORD bit = nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
  if (!(GetStyle() & bit) == !bEnable) return;
  ::ShowScrollBar(m_hWnd, nBar, bEnable);
}

// ----- bar layout -----

void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  if (lpLayout && !lpLayout->hDWP) return;
  HWND hWndParent = ::GetParent(hWnd);
  RECT rectOld;
  ::GetWindowRect(hWnd, &rectOld);
  ::MapWindowPoints(nullptr, hWndParent, (LPPOINT)&rectOld, 2);
  if (::EqualRect(&rectOld, lpRect)) return;
  if (lpLayout)
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                      lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
  else
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout = {};
  layout.bStretch = bStretch;
  if (lpRectClient)
    layout.rect = *lpRectClient;
  else
    ::GetClientRect(m_hWnd, &layout.rect);
  layout.hDWP = nFlags != reposQuery ? ::BeginDeferWindowPos(8) : nullptr;
  HWND hWndLeftOver = nullptr;
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    UINT nIDC = (UINT)AfxGetDlgCtrlID(hWndChild);
    if (nIDC == nIDLeftOver)
      hWndLeftOver = hWndChild;
    else if (nIDC >= nIDFirst && nIDC <= nIDLast && FromHandlePermanent(hWndChild))
      ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
  }
  if (nFlags == reposQuery) {
    if (bStretch) {
      *lpRectParam = layout.rect;
    } else {
      lpRectParam->left = lpRectParam->top = 0;
      lpRectParam->right = layout.sizeTotal.cx;
      lpRectParam->bottom = layout.sizeTotal.cy;
    }
    return;
  }
  if (nIDLeftOver != 0 && hWndLeftOver) {
    if (nFlags == reposExtra && lpRectParam) {
      layout.rect.left += lpRectParam->left;
      layout.rect.top += lpRectParam->top;
      layout.rect.right -= lpRectParam->right;
      layout.rect.bottom -= lpRectParam->bottom;
    }
    FromHandle(hWndLeftOver)->CalcWindowRect(&layout.rect);
    AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

// ----- pre-translation -----

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg) {
  if ((lpMsg->message < WM_KEYFIRST || lpMsg->message > WM_KEYLAST) &&
      (lpMsg->message < WM_MOUSEFIRST || lpMsg->message > WM_MOUSELAST))
    return FALSE;
  return IsDialogMessage(lpMsg);
}

// ----- modal loops -----

BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    // A mouse that did not move is no reason for another idle pass.
    if (pState->m_ptCursorLast.x == pMsg->pt.x && pState->m_ptCursorLast.y == pMsg->pt.y &&
        pMsg->message == pState->m_nMsgLast)
      return FALSE;
    pState->m_ptCursorLast = pMsg->pt;
    pState->m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;  // 0x118: caret blink timer
}

int AFXAPI AfxGetModalLoopDepth() { return AfxGetThreadState()->m_nModalLoops; }

int CWnd::RunModalLoop(DWORD dwFlags) {
  AfxModalLoopScope modal;
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND hWndParent = ::GetParent(m_hWnd);
  m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  MSG* pMsg = &pState->m_msgCur;
  // What the loop held is posted again when it returns.
  CCloseHolder holder(m_hWnd);
  const BOOL bHold = (dwFlags & MLF_HOLDCLOSES) || pState->m_pCloseHolder;
  AfxCloseHolderScope scope(bHold ? &holder : nullptr);
  for (;;) {
    while (bIdle && !::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (bShowIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent && lIdleCount == 0)
        ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
      if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++)) bIdle = FALSE;
    }
    do {
      if (!ContinueModal()) goto ExitModal;  // ended from an idle handler
      if (!AfxPumpMessage()) {
        ::PostQuitMessage((int)pMsg->wParam);  // the outer loop must see the quit too
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
        return -1;
      }
      if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN)) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!ContinueModal()) goto ExitModal;
      if (AfxIsIdleMessage(pMsg)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE));
  }
ExitModal:
  m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
  return m_nModalResult;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    PostMessage(WM_NULL);  // wakes the loop
  }
}
