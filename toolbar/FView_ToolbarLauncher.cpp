// CFView_Toolbar: the launcher button, the drop targets on the buttons and the lists a
// drag opens.
#include <VxResourceIds.h>
#include <Widgetkit.h>

#include "FView_Toolbar.h"
#include "LauncherListWnd.h"
#include "MainWndMessages.h"
#include "ToolButtonDropTarget.h"
#include "ToolItemListWnd.h"

namespace {
const UINT kListHideDelay = 400;
}

void CFView_Toolbar::OnLauncherButton() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  StopMusic();
  CToolButtonInfo* pInfo = FindToolButton(ID_TB_LAUNCHER, TRUE);
  if (!pInfo || !pInfo->pLauncher) return;
  CLauncherListWnd* pLauncher = pInfo->pLauncher;
  CGFileInfoList* pFiles = TakePendingFiles();
  if (!pFiles) {
    HideButtonToolTip(pInfo);
    pLauncher->ShowWindow(SW_SHOW);
    pLauncher->SetFocus();
    return;
  }
  // Dropped on the button: each program becomes the first entry, the others moving down;
  // what is no program is passed over, and a program no slot can take ends the walk.
  for (POSITION pos = pFiles->GetHeadPosition(); pos;) {
    CString strPath = pFiles->GetNext(pos).path;
    if (strPath.GetLength() >= MAX_PATH || !CLauncherListWnd::IsAcceptableProgram(strPath)) continue;
    pLauncher->ShiftLauncherEntries(strPath);
    if (!pLauncher->SetLauncherEntry(0, strPath)) break;
  }
  delete pFiles;
  pLauncher->ShowWindow(SW_HIDE);
}

CWnd* CFView_Toolbar::GetAttachedWindow(CToolButtonInfo* pInfo) {
  if (!pInfo) return NULL;
  if (pInfo->pList) return pInfo->pList;
  return pInfo->pLauncher;
}

LRESULT CFView_Toolbar::OnItemListDragEnter(WPARAM wParam, LPARAM) {
  CToolButtonInfo* pInfo = FindToolButton((int)wParam, TRUE);
  if (!pInfo) return -1;
  pInfo->pButton->SetFocus();
  ShowListForAWhile(pInfo);
  return 0;
}

void CFView_Toolbar::OnShowLauncherList() {
  if (CToolButtonInfo* pInfo = FindToolButton(ID_TB_LAUNCHER, TRUE)) ShowListForAWhile(pInfo);
}

void CFView_Toolbar::ShowListForAWhile(CToolButtonInfo* pInfo) {
  HideButtonToolTip(pInfo);
  if (CWnd* pList = GetAttachedWindow(pInfo)) {
    KillTimer(IDT_TB_LIST_AUTOHIDE);
    m_nDragListButton = pInfo->nCommand;
    SetTimer(IDT_TB_LIST_AUTOHIDE, kListHideDelay, NULL);
    if (pInfo->pList)
      pInfo->pList->ShowAt(pInfo->pList->GetPosition(), FALSE);
    else
      pList->ShowWindow(SW_SHOWNA);
  }
}

void CFView_Toolbar::OnListHideTimer() {
  CToolButtonInfo* pInfo = m_nDragListButton ? FindToolButton(m_nDragListButton, TRUE) : NULL;
  if (!pInfo) {
    KillTimer(IDT_TB_LIST_AUTOHIDE);
    m_nDragListButton = 0;
    return;
  }
  CPoint pt;
  ::GetCursorPos(&pt);
  CRect rc;
  pInfo->pButton->GetWindowRect(&rc);
  int nButton = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  BOOL bHeld = (::GetAsyncKeyState(nButton) & 0x8000) != 0;
  BOOL bApps = (::GetAsyncKeyState(VK_APPS) & 0x8000) != 0;
  if ((!rc.PtInRect(pt) && !bHeld) || bApps) {
    KillTimer(IDT_TB_LIST_AUTOHIDE);
    if (CWnd* pList = GetAttachedWindow(pInfo)) pList->ShowWindow(SW_HIDE);
    m_nDragListButton = 0;
  }
}

void CFView_Toolbar::RegisterDropTargets() {
  static const int kTargets[] = {ID_TB_LAUNCHER,   ID_TB_TOOL_PLUGIN, ID_TB_IMAGE_TOOLS,
                                 ID_TB_EDIT_IMAGE, ID_TB_PPC_PLUGIN,  ID_TB_ROTATE};
  for (int nCommand : kTargets) {
    CToolButtonInfo* pInfo = FindToolButton(nCommand, TRUE);
    if (!pInfo) continue;
    CToolButtonDropTarget* pTarget = new CToolButtonDropTarget(this, nCommand);
    if (pTarget->Register(pInfo->pButton))
      m_dropTargets.push_back(pTarget);
    else
      delete pTarget;
  }
}

void CFView_Toolbar::RevokeDropTargets() {
  for (CToolButtonDropTarget* p : m_dropTargets) {
    p->Revoke();
    delete p;
  }
  m_dropTargets.clear();
}

// ---- The drop target ------------------------------------------------------------------

DROPEFFECT CToolButtonDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                              CPoint point) {
  if (m_pOwner && m_pOwner->m_hWnd) m_pOwner->SendMessage(WM_TOOLBAR_DRAG_ENTER, (WPARAM)m_nCommand, 0);
  return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CToolButtonDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD, CPoint) {
  return pDataObject && pDataObject->IsDataAvailable(CF_HDROP) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

BOOL CToolButtonDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT, CPoint) {
  HGLOBAL hFiles = pDataObject ? pDataObject->GetGlobalData(CF_HDROP) : NULL;
  if (!hFiles) return FALSE;
  // Handed over after OLE's drop is over: the command may show dialogs. A button with a
  // command of its own runs it on the files; on another the pane keeps them for its list.
  CBitmapButtonEX3* pButton = dynamic_cast<CBitmapButtonEX3*>(pWnd);
  HWND hTo = pButton && pButton->GetOwnerCommand() ? pButton->m_hWnd : m_pOwner ? m_pOwner->m_hWnd : NULL;
  if (!hTo || !::PostMessageA(hTo, WM_DROPFILES, (WPARAM)hFiles, 0)) {
    ::GlobalFree(hFiles);
    return FALSE;
  }
  return TRUE;
}
