// Frame windows: creation, client, layout, routing, activation, closing.
#include <fw/fw.h>

#include "threadstate.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  // life
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  // layout and focus
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_RECALCPARENT, &CFrameWnd::OnRecalcParent)
  ON_MESSAGE(WM_QUERYCENTERWND, &CFrameWnd::OnQueryCenterWnd)
  // menus and the status line
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_ENTERIDLE()
  ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
  ON_MESSAGE(WM_POPMESSAGESTRING, &CFrameWnd::OnPopMessageString)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
  // bars
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheck)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_nIDHelp(0), m_hMenuDefault(nullptr), m_hAccelTable(nullptr),
      m_nIDTracking(0), m_nIDLastMessage(0), m_bHelpMode(FALSE), m_pViewActive(nullptr), m_bInRecalcLayout(FALSE),
      m_bTitleDirty(FALSE) {
  m_nFlags |= WF_ISFRAMEWND;
}

CFrameWnd::~CFrameWnd() {
  if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
}

BOOL CFrameWnd::IsFrameWnd() const { return TRUE; }

void CFrameWnd::PostNcDestroy() { delete this; }

// ----- creation -----

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AFX_WNDFRAMEORVIEW;
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU hMenu = nullptr;
  if (lpszMenuName) {
    HINSTANCE hInst = AfxFindResourceHandle(lpszMenuName, RT_MENU);
    hMenu = ::LoadMenuA(hInst, lpszMenuName);
  }
  m_strTitle = lpszWindowName;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), hMenu, (LPVOID)pContext)) {
    if (hMenu) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName) {
  if (m_hAccelTable) return FALSE;
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR);
  m_hAccelTable = ::LoadAcceleratorsA(hInst, lpszResourceName);
  return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString strFull;
  if (strFull.LoadString(nIDResource)) AfxExtractSubString(m_strTitle, strFull, 0);
  LPCSTR lpszMenu = MAKEINTRESOURCEA(nIDResource);
  HINSTANCE hInst = AfxFindResourceHandle(lpszMenu, RT_MENU);
  if (!::FindResourceA(hInst, lpszMenu, RT_MENU)) lpszMenu = nullptr;
  CString strTitle = m_strTitle;
  if (!Create(nullptr, strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0, pContext)) return FALSE;
  m_hMenuDefault = ::GetMenu(m_hWnd);
  LoadAccelTable(MAKEINTRESOURCEA(nIDResource));
  if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (!OnCreateClient(lpcs, pContext)) return -1;
  // The status line starts with the idle prompt.
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  CWnd* pView = DYNAMIC_DOWNCAST(CWnd, pContext->m_pNewViewClass->CreateObject());
  if (!pView) return nullptr;
  // A failed view deletes itself (PostNcDestroy).
  if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext)) return nullptr;
  return pView;
}

void CFrameWnd::OnDestroy() {
  if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault) ::SetMenu(m_hWnd, m_hMenuDefault);
  CWnd::OnDestroy();
}

// ----- the active view -----

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* pViewOld = m_pViewActive;
  if (pViewNew == pViewOld) return;
  m_pViewActive = nullptr;
  if (pViewOld) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
  // The old view may have made another one active meanwhile; that one stays.
  if (m_pViewActive) return;
  m_pViewActive = pViewNew;
  if (pViewNew && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() {
  CView* pView = GetActiveView();
  return pView ? pView->GetDocument() : nullptr;
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive && m_pViewActive->m_hWnd)
    m_pViewActive->SetFocus();
  else
    CWnd::OnSetFocus(pOldWnd);
}

LRESULT CFrameWnd::OnQueryCenterWnd(WPARAM, LPARAM) {
  // Dialogs centre on the frame itself.
  return (LRESULT)m_hWnd;
}

// ----- layout -----

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout) return;
  m_bInRecalcLayout = TRUE;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  m_bInRecalcLayout = FALSE;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

LRESULT CFrameWnd::OnRecalcParent(WPARAM, LPARAM) {
  RecalcLayout();
  return 0;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  return DYNAMIC_DOWNCAST(CControlBar, GetDescendantWindow((int)nID, TRUE));
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
  if (!pBar) return;
  pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
  RecalcLayout();
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
  if (!pBar) {
    pCmdUI->ContinueRouting();
    return;
  }
  pCmdUI->SetCheck(pBar->IsVisible());
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CControlBar* pBar = GetControlBar(nID);
  if (!pBar) return FALSE;
  ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
  return TRUE;
}

// ----- showing -----

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    if (!IsWindowVisible())
      nCmdShow = SW_SHOWNORMAL;
    else if (IsIconic())
      nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) ShowWindow(nCmdShow);
  if (!::GetParent(m_hWnd)) {
    HWND hWndPopup = ::GetLastActivePopup(m_hWnd);
    if (::IsWindowVisible(hWndPopup)) ::BringWindowToTop(hWndPopup);
  }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* pView = nullptr;
  if (!GetActiveView()) {
    // A view that is the frame's whole client becomes the active view.
    pView = DYNAMIC_DOWNCAST(CView, GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    if (pView) SetActiveView(pView, FALSE);
  }
  if (bMakeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (pView) pView->OnActivateFrame(WA_INACTIVE, this);
    int nCmdShow = -1;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
      nCmdShow = pApp->m_nCmdShow;  // the program's show command, the first time
      pApp->m_nCmdShow = -1;
    }
    ActivateFrame(nCmdShow);
    if (pView) pView->OnActivateView(TRUE, pView, pView);
  }
  if (pDoc) pDoc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(GetStyle() & FWS_ADDTOTITLE)) return;
  CDocument* pDocument = GetActiveDocument();
  UpdateFrameTitleForDocument(bAddToTitle && pDocument ? (LPCSTR)pDocument->GetTitle() : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName) {
  CString title;
  if (lpszDocName && *lpszDocName) {
    if (GetStyle() & FWS_PREFIXTITLE)
      title = CString(lpszDocName) + " - " + m_strTitle;
    else
      title = m_strTitle + " - " + lpszDocName;
  } else {
    title = m_strTitle;
  }
  CString current;
  GetWindowText(current);
  if (current != title) SetWindowText(title);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) { return 0; }

// ----- command routing -----

void CFrameWnd::AddHandRoutedCommands(UINT nFirstID, UINT nLastID) {
  m_handRouted.Add(nFirstID);
  m_handRouted.Add(nLastID);
}

BOOL CFrameWnd::IsHandRoutedCommand(UINT nID) const {
  for (INT_PTR i = 0; i + 1 < m_handRouted.GetSize(); i += 2) {
    if (nID >= m_handRouted[i] && nID <= m_handRouted[i + 1]) return TRUE;
  }
  return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  CFrameWnd* pOldFrame = pState->m_pRoutingFrame;
  pState->m_pRoutingFrame = this;
  BOOL bHandled = FALSE;
  CView* pView = GetActiveView();
  if (pView && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    bHandled = TRUE;
  else if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    bHandled = TRUE;
  else if (CWinApp* pApp = AfxGetApp(); pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    bHandled = TRUE;
  else if (pHandlerInfo && nCode == CN_COMMAND && IsHandRoutedCommand(nID)) {
    // Carried out by the derived frame's own OnCmdMsg.
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pEntry = nullptr;
    bHandled = TRUE;
  }
  pState->m_pRoutingFrame = pOldFrame;
  return bHandled;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    HACCEL hAccel = GetDefaultAccelerator();
    return hAccel && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
  }
  return FALSE;
}

// ----- menus and the status line -----

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu) {
  if (bSysMenu || !pMenu) return;
  CCmdUI state;
  state.m_pMenu = pMenu;
  // The menu bar that holds this popup, if any.
  HMENU hBar = ::GetMenu(m_hWnd);
  for (int i = 0, n = hBar ? ::GetMenuItemCount(hBar) : 0; i < n; i++) {
    if (::GetSubMenu(hBar, i) == pMenu->m_hMenu) {
      state.m_pParentMenu = CMenu::FromHandle(hBar);
      break;
    }
  }
  HMENU hMenu = pMenu->m_hMenu;
  state.m_nIndexMax = (UINT)::GetMenuItemCount(hMenu);
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = ::GetMenuItemID(hMenu, (int)state.m_nIndex);
    if (state.m_nID == 0) continue;  // separator
    if (state.m_nID == (UINT)-1) {
      // A popup item follows the state of its first item; it is never greyed for lack of a handler.
      HMENU hSub = ::GetSubMenu(hMenu, (int)state.m_nIndex);
      state.m_pSubMenu = CMenu::FromHandle(hSub);
      state.m_nID = hSub ? ::GetMenuItemID(hSub, 0) : 0;
      if (state.m_nID == 0 || state.m_nID == (UINT)-1) continue;
      state.DoUpdate(this, FALSE);
    } else {
      state.m_pSubMenu = nullptr;
      state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // An update handler may have deleted or added items.
    UINT nCount = (UINT)::GetMenuItemCount(hMenu);
    if (nCount < state.m_nIndexMax) {
      state.m_nIndex -= (state.m_nIndexMax - nCount);
      while (state.m_nIndex < nCount && ::GetMenuItemID(hMenu, (int)state.m_nIndex) == state.m_nID) state.m_nIndex++;
    }
    state.m_nIndexMax = nCount;
  }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  if (nFlags == 0xFFFF && hSysMenu == nullptr) {
    // The menu closed: back to the idle prompt.
    m_nFlags &= ~WF_NOPOPMSG;
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
    if (CWnd* pBar = GetMessageBar()) pBar->UpdateWindow();
    return;
  }
  m_nFlags |= WF_NOPOPMSG;
  if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
    m_nIDTracking = 0;
  else
    m_nIDTracking = nItemID;
  if (m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) {
  CWnd::OnEnterIdle(nWhy, pWho);
  if (nWhy == MSGF_MENU && m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  rMessage.Empty();
  if (nID == 0) return;
  CString full;
  if (full.LoadString(nID)) AfxExtractSubString(rMessage, full, 0);
}

void CFrameWnd::SetMessageText(LPCSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText); }

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT nIDLast = m_nIDLastMessage;
  if (CWnd* pMessageBar = GetMessageBar()) {
    CString strMessage;
    LPCSTR lpsz = nullptr;
    if (lParam) {
      lpsz = (LPCSTR)lParam;
    } else if (wParam) {
      GetMessageString((UINT)wParam, strMessage);
      lpsz = strMessage;
    }
    pMessageBar->SetWindowText(lpsz ? lpsz : "");
  }
  m_nIDLastMessage = (UINT)wParam;
  m_nIDTracking = (UINT)wParam;
  return nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  // A bar's prompt must not overwrite the prompt of an open menu.
  if (m_nFlags & WF_NOPOPMSG) return 0;
  return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

// ----- closing -----

void CFrameWnd::OnClose() {
  CDocument* pDocument = GetActiveDocument();
  if (pDocument && !pDocument->CanCloseFrame(this)) return;
  CWinApp* pApp = AfxGetApp();
  if (pApp && pApp->m_pMainWnd == this) {
    if (!pDocument && !pApp->SaveAllModified()) return;
    // Closing the documents may destroy this frame (its views' frame): look no further then.
    HWND hWnd = m_hWnd;
    pApp->CloseAllDocuments(FALSE);
    if (!::IsWindow(hWnd)) return;
    if (!pApp->m_pMainWnd) {
      ::PostQuitMessage(0);
      return;
    }
    pDocument = GetActiveDocument();
  }
  if (pDocument && pDocument->m_bAutoDelete) {
    // The document's last frame closes the document (which destroys the frame).
    BOOL bOtherFrame = FALSE;
    for (POSITION pos = pDocument->GetFirstViewPosition(); pos;) {
      if (pDocument->GetNextView(pos)->GetParentFrame() != this) {
        bOtherFrame = TRUE;
        break;
      }
    }
    if (!bOtherFrame) {
      pDocument->OnCloseDocument();
      return;
    }
    pDocument->PreCloseFrame(this);
  }
  DestroyWindow();
}
