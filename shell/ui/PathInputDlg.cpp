// The path-input dialog with folder completion.
#include <GuiFont.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>

#include "ChoiceDialogs.h"
#include "LimitEdit.h"

namespace {
const int kMaxPath = 255;

bool FolderHasEntry(CString path) {
  path.TrimRight('\\');
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(path + "\\*.*", &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::FindClose(h);
  return true;
}
}  // namespace

BEGIN_MESSAGE_MAP(CPathInputDlg, CResourceDialog)
  ON_CBN_EDITCHANGE(IDC_PATH_COMBO, &CPathInputDlg::OnEditChange)
  ON_CBN_EDITUPDATE(IDC_PATH_COMBO, &CPathInputDlg::OnEditUpdate)
  ON_CBN_DROPDOWN(IDC_PATH_COMBO, &CPathInputDlg::OnDropDown)
  ON_CBN_CLOSEUP(IDC_PATH_COMBO, &CPathInputDlg::OnCloseUp)
END_MESSAGE_MAP()

CPathInputDlg::CPathInputDlg(CWnd* pParent) : CResourceDialog(IDD_PATH_INPUT, pParent), m_fs(choice::RealFileSystem()) {}

BOOL CPathInputDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  Combo()->LimitText(kMaxPath);
  return TRUE;
}

void CPathInputDlg::CaretToEnd() {
  int end = Combo()->GetWindowTextLength();
  Combo()->SetEditSel(end, end);
}

void CPathInputDlg::OnEditChange() {
  ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
  CComboBox* pCombo = Combo();
  CString text;
  pCombo->GetWindowText(text);
  if (pCombo->GetDroppedState()) {
    pCombo->ResetContent();
    pCombo->SetCurSel(pCombo->AddString(text));
    pCombo->ShowDropDown(FALSE);
  }
  pCombo->ShowDropDown(TRUE);
  pCombo->SetWindowText(text);
  CaretToEnd();
}

void CPathInputDlg::OnEditUpdate() {
  CString text;
  Combo()->GetWindowText(text);
  if (text.GetLength() <= kMaxPath) return;
  Combo()->SetWindowText(text.Left(LimitEditKeepLength(text, kMaxPath)));
  CaretToEnd();
}

void CPathInputDlg::OnDropDown() {
  CComboBox* pCombo = Combo();
  pCombo->GetWindowText(m_strLast);
  pCombo->ResetContent();
  CString invalid = CResourceLoader().LoadStringA(IDS_PATH_INVALID_CHARS);
  std::vector<CString> items = choice::Completions(m_strLast, invalid, m_fs);
  for (const CString& item : items) pCombo->AddString(item);
  if (!m_strLast.IsEmpty() && !items.empty()) pCombo->SetCurSel(0);
  pCombo->SetWindowText(m_strLast);
}

void CPathInputDlg::OnCloseUp() { CaretToEnd(); }

void CPathInputDlg::OnOK() {
  CString path;
  Combo()->GetWindowText(path);
  CString invalid = CResourceLoader().LoadStringA(IDS_PATH_INVALID_CHARS);
  if (!choice::IsAcceptablePath(path, invalid) || !FolderHasEntry(path)) {
    CString caption = CResourceLoader().LoadStringA(AFX_IDS_APP_TITLE);
    MessageBox(CResourceLoader().LoadStringA(IDS_FOLDER_NOT_FOUND), caption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  m_strPath = path;
  CResourceDialog::OnOK();
}
