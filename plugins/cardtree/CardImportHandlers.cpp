// The import dialog's option boxes, duplicate rule, list commands and clean-up.
#include <Kitlib2/Profile.h>
#include <VxProperty.h>
#include <VxResourceIds.h>

#include "CardImportDlg.h"
#include "CardRules.h"
#include "DiscNodes.h"
#include "ImportDialogRules.h"

using namespace cardtree;

void CCardImportDlg::OnTodayFolder() { ApplyFolderBoxes(kTodayBox, IsDlgButtonChecked(IDC_IMPORT_TODAY) != 0); }
void CCardImportDlg::OnNamedFolder() { ApplyFolderBoxes(kNamedBox, IsDlgButtonChecked(IDC_IMPORT_NAMED) != 0); }

void CCardImportDlg::OnCopyRule() {
  UpdateData(TRUE);
  if (m_nCopyMode == 0 || m_nCopyAll) {
    m_nCopyAll = 0;
    m_ruleList.EnableWindow(TRUE);
  }
  m_nCopyMode = CopyModeFromRulePosition(m_ruleList.GetCurSel(), m_nCopyMode == 0 ? 3 : m_nCopyMode);
  UpdateData(FALSE);
}

void CCardImportDlg::OnCopyAll() {
  UpdateData(TRUE);
  m_nCopyAll = 1;
  m_nCopyMode = 0;
  m_ruleList.EnableWindow(FALSE);
  UpdateData(FALSE);
}

void CCardImportDlg::OnRuleChange() {
  UpdateData(TRUE);
  if (!m_nCopyAll) m_nCopyMode = CopyModeFromRulePosition(m_ruleList.GetCurSel(), m_nCopyMode);
}

void CCardImportDlg::OnCheckAll() { m_list.SetAllChecks(TRUE); }
void CCardImportDlg::OnUncheckAll() { m_list.SetAllChecks(FALSE); }

void CCardImportDlg::OnContextMenu(CWnd*, CPoint point) {
  const int item = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (item < 0 || m_list.GetItemData(item) == 1) return;
  CRect rc;
  m_list.GetWindowRect(&rc);
  if (!rc.PtInRect(point)) return;
  HINSTANCE res = ResourceModule() ? ResourceModule() : GetModuleHandleA("VxResource.dll");
  HMENU menu = res ? LoadMenuA(res, MAKEINTRESOURCEA(IDR_IMPORT_ITEM_MENU)) : NULL;
  if (!menu) return;
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, point.x, point.y, 0, GetSafeHwnd(), NULL);
  DestroyMenu(menu);
}

void CCardImportDlg::OnItemProperty() {
  const int item = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (item < 0) return;
  std::string path = std::string(m_list.GetItemText(item, 1));
  if (path.empty() && item < static_cast<int>(m_listed.size())) path = m_listed[item];
  if (!path.empty()) PrOpenProperty(path.c_str(), GetSafeHwnd(), 0, -1, -1, -1, 0);
}

void CCardImportDlg::OnDestroy() {
  KillTimer(3);
  if (m_hScanThread) {
    m_nStop = 1;
    StopScan();
  }
  CDialog::OnDestroy();
  CMWriteProfileInt("CardTree", "Show", 0);
  {
    CWaitCursor wait;
    if (m_list.GetSafeHwnd()) m_list.DestroyWindow();
    CloseDiscSession(&m_disc);
    StopPlaceFinder();
    if (m_pFaces) {
      m_pFaces->FreeBuffers();
      delete m_pFaces;
      m_pFaces = nullptr;
    }
    if (m_pRegister) {
      m_pRegister->DestroyWindow();
      delete m_pRegister;
      m_pRegister = nullptr;
    }
  }
  if (m_bInSection) {
    DiscCoreSection().Unlock();
    m_bInSection = false;
  }
}
