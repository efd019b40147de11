// The notice, info-text and yes/no dialogs.
#include <GuiFont.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <textpaint/PaintedText.h>

#include "ChoiceDialogs.h"

BEGIN_MESSAGE_MAP(CPaintedTextDlg, CResourceDialog)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CPaintedTextDlg::CPaintedTextDlg(UINT nIDTemplate, CWnd* pParent) : CResourceDialog(nIDTemplate, pParent) {}

void CPaintedTextDlg::SetText(LPCSTR lpszText) {
  m_strText = lpszText ? lpszText : "";
  if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

BOOL CPaintedTextDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  return TRUE;
}

// One line, centred.
void CPaintedTextDlg::OnPaint() { textpaint::PaintCentredLine(this, m_strText); }

CNoticeDlg::CNoticeDlg(CWnd* pParent) : CPaintedTextDlg(IDD_NOTICE, pParent) {}
BOOL CNoticeDlg::Create(CWnd* pParent) { return CDialog::Create(IDD_NOTICE, pParent); }

CInfoTextDlg::CInfoTextDlg(CWnd* pParent) : CPaintedTextDlg(IDD_INFO_TEXT, pParent) {}

BEGIN_MESSAGE_MAP(CYesNoDlg, CResourceDialog)
  ON_BN_CLICKED(IDYES, &CYesNoDlg::OnYes)
  ON_BN_CLICKED(IDNO, &CYesNoDlg::OnNo)
END_MESSAGE_MAP()

CYesNoDlg::CYesNoDlg(CWnd* pParent) : CResourceDialog(IDD_YES_NO, pParent), m_bDontAsk(FALSE) {}

BOOL CYesNoDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  SetWindowText(CResourceLoader().LoadStringA(AFX_IDS_APP_TITLE));
  SetDlgItemText(IDC_YESNO_TEXT, m_strText);
  return TRUE;
}

void CYesNoDlg::OnYes() {
  m_bDontAsk = IsDlgButtonChecked(IDC_YESNO_DONT_ASK) == BST_CHECKED;
  EndDialog(IDYES);
}

void CYesNoDlg::OnNo() { EndDialog(IDNO); }
