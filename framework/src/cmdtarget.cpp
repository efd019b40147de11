// Command targets, message-map look-up and user-interface updates.
#include <fw/fw.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() {}
CCmdTarget::~CCmdTarget() {}

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* PASCAL CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID) {
  for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p && p->pfn; ++p) {
      UINT nEntryMsg = p->pnMessage ? *p->pnMessage : p->nMessage;
      if (nEntryMsg == nMsg && p->nCode == nCode && nID >= p->nID && nID <= p->nLastID) return p;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The high word of the code names the message (0: WM_COMMAND), the low word the code.
  UINT nMsg = 0;
  UINT nCodeKey = (UINT)nCode;
  if ((UINT)nCode != CN_UPDATE_COMMAND_UI) {
    nMsg = HIWORD((UINT)nCode);
    nCodeKey = LOWORD((UINT)nCode);
  }
  if (nMsg == 0) nMsg = WM_COMMAND;
  const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), nMsg, nCodeKey, nID);
  if (!pEntry) return FALSE;
  if (pHandlerInfo) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pEntry = pEntry;
    return TRUE;
  }
  AFX_MSGCALL call = {nMsg, 0, 0, nID, pExtra, 0};
  return pEntry->pfn(this, call);
}

void CCmdTarget::BeginWaitCursor() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(0);
}

CWaitCursor::CWaitCursor() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(1);
}

CWaitCursor::~CWaitCursor() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(-1);
}

void CWaitCursor::Restore() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(0);
}

// ----- CCmdUI -----

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(nullptr), m_pSubMenu(nullptr), m_pParentMenu(nullptr), m_pOther(nullptr),
      m_bEnableChanged(FALSE), m_bContinueRouting(FALSE), m_nIndexMax(0) {}

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu) {
    if (!m_pSubMenu)
      ::EnableMenuItem(m_pMenu->GetSafeHmenu(), m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    // Move the focus on before the focused control goes grey.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      HWND hParent = ::GetParent(m_pOther->m_hWnd);
      if (hParent) ::SendMessageA(hParent, WM_NEXTDLGCTL, 0, FALSE);
    }
    ::EnableWindow(m_pOther->m_hWnd, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu) {
    if (!m_pSubMenu)
      ::CheckMenuItem(m_pMenu->GetSafeHmenu(), m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther) {
    if (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
      ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, (WPARAM)nCheck, 0);
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  if (m_pMenu && !m_pSubMenu) {
    HMENU hMenu = m_pMenu->GetSafeHmenu();
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    if (::GetMenuItemInfoA(hMenu, m_nIndex, TRUE, &mii)) {
      if (bOn) {
        mii.fType |= MFT_RADIOCHECK;
        mii.fState |= MFS_CHECKED;
      } else {
        mii.fState &= ~MFS_CHECKED;
      }
      mii.fMask = MIIM_FTYPE | MIIM_STATE;
      ::SetMenuItemInfoA(hMenu, m_nIndex, TRUE, &mii);
    }
    return;
  }
  SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR lpszText) {
  if (!lpszText) lpszText = "";
  if (m_pMenu) {
    if (m_pSubMenu) return;
    HMENU hMenu = m_pMenu->GetSafeHmenu();
    UINT nState = ::GetMenuState(hMenu, m_nIndex, MF_BYPOSITION) & ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR);
    ::ModifyMenuA(hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
  } else if (m_pOther) {
    char old[512];
    ::GetWindowTextA(m_pOther->m_hWnd, old, sizeof(old));
    if (lstrcmpA(old, lpszText) != 0) ::SetWindowTextA(m_pOther->m_hWnd, lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF || !pTarget) return FALSE;
  m_bEnableChanged = FALSE;
  BOOL bHandled = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
  // An update handler that took the request decides the state; otherwise the item is
  // usable exactly when someone would carry the command out.
  if (!bHandled && bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return bHandled;
}
