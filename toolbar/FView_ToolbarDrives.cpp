// CFView_Toolbar: the disc-drive list and the switch to the card viewer.
#include <MainWndMessages.h>
#include <TickCache.h>
#include <VxBDCore.h>
#include <VxResourceIds.h>
#include <cardwatch/Programs.h>

#include <vector>

#include "FView_Toolbar.h"
#include "MainApp.h"
#include "MainFrame.h"
#include "ToolItemListWnd.h"
#include "ToolRunRules.h"

void CFView_Toolbar::OnDiscDriveButton() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  CToolButtonInfo* pInfo = FindToolButton(ID_TB_DISC_DRIVES, TRUE);
  if (!pInfo) return;
  HideButtonToolTip(pInfo);
  // Drives come and go: the list is built anew at every press.
  if (pInfo->pList) {
    pInfo->pList->DestroyWindow();
    delete pInfo->pList;
    pInfo->pList = NULL;
  }
  std::vector<int> drives;
  if (IVxBDCoreObject* pCore = GetVxBDCoreObject()) {
    VXBDDRIVEENTRY entries[26] = {};
    int nCount = 0;
    if (pCore->GetDriveList(entries, 26, &nCount) == 0)
      for (int i = 0; i < nCount && i < 26; ++i) drives.push_back(entries[i].nDrive);
    pCore->Release();
  }
  CString strSuffix;
  strSuffix.LoadString(IDS_TB_DISC_DRIVE);
  std::vector<toolbarrules::ListItem> items = toolrunrules::DiscDriveItems(drives, (LPCSTR)strSuffix);
  if (items.empty()) return;
  pInfo->pList = MakeItemList(ID_TB_DISC_LIST, items);
  pInfo->pList->ShowAt(toolbarrules::ListOrigin(pInfo->rcWide));
}

// An item of the list: the core takes the drive (A: first), then the folders are read again.
void CFView_Toolbar::OnDiscDriveItem() {
  if (IVxBDCoreObject* pCore = GetVxBDCoreObject()) {
    pCore->SelectDrive((int)m_nCurrentCommand - (ID_TB_DISC_LIST + 1));
    pCore->Release();
  }
  if (CWnd* pMain = AfxGetMainWnd())
    if (pMain->GetSafeHwnd()) pMain->PostMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 0);
}

void CFView_Toolbar::OnSwitchToCardViewer() {
  // Nothing is given up unless there is a viewer to hand over to.
  CString strViewer = cardwatch::FindCardViewerPath();
  if (!toolrunrules::CanSwitchToCardViewer((LPCSTR)strViewer,
                                           ::GetFileAttributesA(strViewer) != INVALID_FILE_ATTRIBUTES))
    return;
  CMainFrame* pFrame = GetMainFrame();
  if (!pFrame || pFrame->ShowCloseWarning() != IDYES) return;
  CMainApp* pApp = dynamic_cast<CMainApp*>(AfxGetApp());
  // The marks go before the viewer starts; a viewer that does not start gives them back.
  STRINGLIST* pMarked = NULL;
  if (FAILED(Mark_GetAllCheck(&pMarked))) pMarked = NULL;
  Mark_DeleteAll();
  if (pApp) pApp->ReleaseInstanceMutex();
  HINSTANCE hResult = ::ShellExecuteA(pFrame->GetSafeHwnd(), "open", strViewer, NULL, NULL, SW_SHOWNORMAL);
  if ((INT_PTR)hResult > 32) {
    FreeStringList(pMarked);
    pFrame->PostMessage(WM_CLOSE);
    return;
  }
  // The viewer did not start: this program stays the one instance, with its marks.
  for (STRINGLIST* p = pMarked; p; p = p->pNext) Mark_SetCheck(p->pszText, p->nData ? (int)p->nData : 1);
  FreeStringList(pMarked);
  if (pApp) pApp->RetakeInstanceMutex();
}
