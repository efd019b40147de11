#include "RenameDialog.h"

#include <GuiFont.h>
#include <GuiFontRules.h>
#include <Kitlib2/Profile.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <textkit/path.h>

using namespace renamerules;

namespace {

const char kSection[] = "Tool1\\Rename";
const UINT_PTR kPreviewTimer = 1131;
const UINT kSettleMs = 800;
const int kColumnWidth = 183;

// The number fields and their spins: made at WM_CREATE, placed beside their labels.
struct NumberField {
  UINT edit, spin, label;
  int top, limit, lower, upper;
};
const NumberField kFields[] = {
    {IDC_RENAME_START, IDC_RENAME_START_SPIN, IDC_RENAME_START_LABEL, 215, 4, 0, 1000},
    {IDC_RENAME_LENGTH, IDC_RENAME_LENGTH_SPIN, IDC_RENAME_LENGTH_LABEL, 240, 1, 1, 9},
    {IDC_RENAME_STEP, IDC_RENAME_STEP_SPIN, IDC_RENAME_STEP_LABEL, 265, 4, 1, 1000},
};

// Shown only while the number settings are.
const UINT kDetailControls[] = {IDC_RENAME_START_LABEL,  IDC_RENAME_LENGTH_LABEL,   IDC_RENAME_STEP_LABEL,
                                IDC_RENAME_DECORATION_LABEL, IDC_RENAME_NOTE,      IDC_RENAME_POSITION_LABEL,
                                IDC_RENAME_NUMBER_AFTER, IDC_RENAME_NUMBER_BEFORE, IDC_RENAME_DECORATION,
                                IDC_RENAME_START,        IDC_RENAME_LENGTH,        IDC_RENAME_STEP,
                                IDC_RENAME_START_SPIN,   IDC_RENAME_LENGTH_SPIN,   IDC_RENAME_STEP_SPIN};

CString LoadText(UINT nID) { return CResourceLoader(AfxGetResourceHandle()).LoadStringA(nID); }

}  // namespace

BEGIN_MESSAGE_MAP(CRenameDialog, CResourceDialog)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_BN_CLICKED(IDC_RENAME_BY_NAME, &CRenameDialog::OnByName)
  ON_BN_CLICKED(IDC_RENAME_OWN_NAME, &CRenameDialog::OnOwnName)
  ON_EN_CHANGE(IDC_RENAME_BASE_NAME, &CRenameDialog::OnBaseNameChange)
  ON_EN_KILLFOCUS(IDC_RENAME_BASE_NAME, &CRenameDialog::OnBaseNameKillFocus)
  ON_BN_CLICKED(IDC_RENAME_NUMBER_AFTER, &CRenameDialog::OnNumberAfter)
  ON_BN_CLICKED(IDC_RENAME_NUMBER_BEFORE, &CRenameDialog::OnNumberBefore)
  ON_EN_CHANGE(IDC_RENAME_START, &CRenameDialog::OnStartChange)
  ON_EN_CHANGE(IDC_RENAME_LENGTH, &CRenameDialog::OnLengthChange)
  ON_EN_CHANGE(IDC_RENAME_STEP, &CRenameDialog::OnStepChange)
  ON_CBN_SELCHANGE(IDC_RENAME_DECORATION, &CRenameDialog::OnDecorationChange)
  ON_BN_CLICKED(IDC_RENAME_DETAILS, &CRenameDialog::OnDetails)
END_MESSAGE_MAP()

CRenameDialog::CRenameDialog()
    : CResourceDialog(IDD_RENAME, NULL),
      m_nFiles(0),
      m_pFiles(NULL),
      m_bDetails(FALSE),
      m_nNameLimit(kNameLimit),
      m_bSetting(FALSE) {}

int CRenameDialog::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  return CResourceDialog::OnCreate(lpCreateStruct);
}

// The number edits and their spins, hidden until the details show. Made once the dialog
// exists: the framework is still attaching the dialog during its WM_CREATE.
void CRenameDialog::CreateNumberFields() {
  CEdit* edits[] = {&m_wndStart, &m_wndLength, &m_wndStep};
  CSpinButtonCtrl* spins[] = {&m_wndStartSpin, &m_wndLengthSpin, &m_wndStepSpin};
  for (int i = 0; i < 3; ++i) {
    const NumberField& f = kFields[i];
    CRect rc(150, f.top, 222, f.top + 20);
    edits[i]->CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL | ES_RIGHT, rc,
                       this, f.edit);
    edits[i]->SetLimitText(f.limit);
    spins[i]->Create(WS_CHILD | UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                     CRect(0, 0, 0, 0), this, f.spin);
  }
}

void CRenameDialog::OnDestroy() {
  CEdit* edits[] = {&m_wndStart, &m_wndLength, &m_wndStep};
  CSpinButtonCtrl* spins[] = {&m_wndStartSpin, &m_wndLengthSpin, &m_wndStepSpin};
  for (int i = 0; i < 3; ++i) {
    if (edits[i]->GetSafeHwnd()) edits[i]->DestroyWindow();
    if (spins[i]->GetSafeHwnd()) spins[i]->DestroyWindow();
  }
  CResourceDialog::OnDestroy();
}

BOOL CRenameDialog::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  CWaitCursor wait;
  m_bSetting = TRUE;
  CreateNumberFields();
  m_wndDecoration.SubclassDlgItem(IDC_RENAME_DECORATION, this);
  m_wndBaseName.SubclassDlgItem(IDC_RENAME_BASE_NAME, this);
  m_wndDetails.SubclassDlgItem(IDC_RENAME_DETAILS, this);
  m_wndPreview.SubclassDlgItem(IDC_RENAME_PREVIEW, this);
  m_wndPreview.SetFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  if (VxIsKnownCharset(lf.lfCharSet)) {
    CEdit* edits[] = {&m_wndStart, &m_wndLength, &m_wndStep};
    for (CEdit* e : edits) e->SetFont(GetFont());
  } else {
    VxApplyGuiFontRule(this);
  }

  // The number edits 2 pixels right of their labels, centred on them.
  CEdit* edits[] = {&m_wndStart, &m_wndLength, &m_wndStep};
  CSpinButtonCtrl* spins[] = {&m_wndStartSpin, &m_wndLengthSpin, &m_wndStepSpin};
  for (int i = 0; i < 3; ++i) {
    CRect rcLabel, rcEdit;
    GetDlgItem(kFields[i].label)->GetWindowRect(&rcLabel);
    ScreenToClient(&rcLabel);
    edits[i]->GetWindowRect(&rcEdit);
    int top = rcLabel.top + (rcLabel.Height() - rcEdit.Height()) / 2;
    edits[i]->SetWindowPos(NULL, rcLabel.right + 2, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    spins[i]->SetBuddy(edits[i]);
    spins[i]->SetRange32(kFields[i].lower, kFields[i].upper);
  }

  std::vector<std::string> items =
      DecorationItems((LPCSTR)LoadText(IDS_RENAME_NO_DECORATION), (LPCSTR)LoadText(IDS_RENAME_DECORATIONS));
  for (const std::string& item : items) m_wndDecoration.AddString(item.c_str());

  m_wndPreview.SetExtendedStyle(m_wndPreview.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  m_wndPreview.InsertColumn(0, LoadText(IDS_RENAME_OLD_COLUMN), LVCFMT_LEFT, kColumnWidth);
  m_wndPreview.InsertColumn(1, LoadText(IDS_RENAME_NEW_COLUMN), LVCFMT_LEFT, kColumnWidth);

  m_nFiles = 0;
  m_nNameLimit = kNameLimit;
  if (m_pFiles) {
    for (POSITION pos = m_pFiles->GetHeadPosition(); pos;) {
      const CGFILEINFO& info = m_pFiles->GetNext(pos);
      std::string path = (LPCSTR)info.path;
      int room = NameRoom(path);
      if (room < kMinimumRoom) {
        Message(IDS_RENAME_PATH_TOO_LONG, MB_ICONEXCLAMATION);
        EndDialog(IDCANCEL);
        return TRUE;
      }
      m_nNameLimit = std::min(m_nNameLimit, room);
      m_wndPreview.InsertItem(m_nFiles++, SplitPath(path).title.c_str());
    }
  }
  if (m_nFiles == 0) {
    Message(IDS_RENAME_NO_FILE, MB_ICONEXCLAMATION);
    EndDialog(IDCANCEL);
    return TRUE;
  }

  GetDlgItem(IDOK)->EnableWindow(FALSE);
  CheckNameMode(0);
  m_wndBaseName.SetWindowText("");
  m_pattern = NumberPattern();
  m_wndDecoration.SetCurSel(0);
  m_wndBaseName.SetLimitText(m_nNameLimit);
  LoadSettings();
  ShowDetails(FALSE);
  m_bSetting = FALSE;
  SetTimer(kPreviewTimer, kSettleMs, NULL);
  return TRUE;
}

void CRenameDialog::LoadSettings() {
  int mode = CMGetProfileInt(kSection, "NameMode", 0);
  CString name = CMGetProfileString(kSection, "Name", "IMGA");
  // Values from the profile are clamped as if typed, so a damaged entry cannot break names.
  m_pattern.start = ClampStart(std::to_string(CMGetProfileInt(kSection, "Start", 1))).value;
  m_pattern.length = ClampLength(std::to_string(CMGetProfileInt(kSection, "Length", 4))).value;
  m_pattern.step = ClampStep(std::to_string(CMGetProfileInt(kSection, "Augment", 1))).value;
  int option = CMGetProfileInt(kSection, "Option", 0);
  if (option < 0 || option >= m_wndDecoration.GetCount()) option = 0;
  m_wndDecoration.SetCurSel(option);
  OnDecorationChange();
  m_pattern.position = CMGetProfileInt(kSection, "Position", 1) == 0 ? 0 : 1;
  CheckRadioButton(IDC_RENAME_NUMBER_AFTER, IDC_RENAME_NUMBER_BEFORE,
                   m_pattern.position == 1 ? IDC_RENAME_NUMBER_AFTER : IDC_RENAME_NUMBER_BEFORE);
  std::string base = (LPCSTR)name;
  RemoveForbidden(&base);
  CutBaseName(&base, m_nNameLimit);
  m_wndBaseName.SetWindowText(base.c_str());
  if (mode == 1) {
    CheckNameMode(1);
    m_wndBaseName.EnableWindow(FALSE);
  }
  SetNumberField(IDC_RENAME_START, m_pattern.start);
  SetNumberField(IDC_RENAME_LENGTH, m_pattern.length);
  SetNumberField(IDC_RENAME_STEP, m_pattern.step);
}

// The two name radios: their ids are not in order, so each is set by itself.
void CRenameDialog::CheckNameMode(int mode) {
  CheckDlgButton(IDC_RENAME_BY_NAME, mode == 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_RENAME_OWN_NAME, mode == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void CRenameDialog::SaveSettings() {
  BOOL own = IsDlgButtonChecked(IDC_RENAME_OWN_NAME) == BST_CHECKED;
  CString name;
  if (!own) m_wndBaseName.GetWindowText(name);
  CMWriteProfileInt(kSection, "NameMode", own ? 1 : 0);
  CMWriteProfileString(kSection, "Name", name);
  CMWriteProfileInt(kSection, "Start", m_pattern.start);
  CMWriteProfileInt(kSection, "Length", m_pattern.length);
  CMWriteProfileInt(kSection, "Augment", m_pattern.step);
  CMWriteProfileInt(kSection, "Option", std::max(0, m_wndDecoration.GetCurSel()));
  CMWriteProfileInt(kSection, "Position", m_pattern.position);
}

void CRenameDialog::Message(UINT nID, UINT nIcon) {
  ::MessageBoxA(m_hWnd, LoadText(nID), LoadText(IDS_RENAME_CAPTION), MB_OK | nIcon);
}

void CRenameDialog::Settle() {
  if (m_bSetting) return;
  KillTimer(kPreviewTimer);
  GetDlgItem(IDOK)->EnableWindow(FALSE);
  SetTimer(kPreviewTimer, kSettleMs, NULL);
}

void CRenameDialog::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kPreviewTimer) {
    CResourceDialog::OnTimer(nIDEvent);
    return;
  }
  PreviewNow();
}

void CRenameDialog::PreviewNow() {
  KillTimer(kPreviewTimer);
  if (!UpdatePreview() && m_wndBaseName.GetWindowTextLength() > 0) m_wndBaseName.SetWindowText("");
}

void CRenameDialog::OnByName() {
  if (IsDlgButtonChecked(IDC_RENAME_BY_NAME) != BST_CHECKED) return;
  m_wndBaseName.EnableWindow(TRUE);
  GetDlgItem(IDOK)->EnableWindow(FALSE);
  UpdatePreview();
}

void CRenameDialog::OnOwnName() {
  if (IsDlgButtonChecked(IDC_RENAME_OWN_NAME) != BST_CHECKED) return;
  KillTimer(kPreviewTimer);
  GetDlgItem(IDOK)->EnableWindow(FALSE);
  m_wndBaseName.EnableWindow(FALSE);
  UpdatePreview();
}

void CRenameDialog::OnBaseNameChange() {
  CString text;
  m_wndBaseName.GetWindowText(text);
  std::string s = (LPCSTR)text;
  if (CutBaseName(&s, kNameLimit)) {
    m_wndBaseName.SetWindowText(s.c_str());
    m_wndBaseName.SetSel((int)s.size(), (int)s.size());
  }
  Settle();
}

void CRenameDialog::OnBaseNameKillFocus() { CleanBaseName(); }

BOOL CRenameDialog::CleanBaseName() {
  if (IsDlgButtonChecked(IDC_RENAME_OWN_NAME) == BST_CHECKED) return FALSE;
  CString text;
  m_wndBaseName.GetWindowText(text);
  std::string s = (LPCSTR)text;
  if (!RemoveForbidden(&s)) return FALSE;
  // Cleaned before the message: the box takes the focus, and a second look finds nothing.
  m_wndBaseName.SetWindowText(s.c_str());
  Message(IDS_RENAME_BAD_CHARACTERS, MB_ICONWARNING);
  return TRUE;
}

void CRenameDialog::OnNumberAfter() {
  if (IsDlgButtonChecked(IDC_RENAME_NUMBER_AFTER) != BST_CHECKED) return;
  m_pattern.position = 1;
  Settle();
}

void CRenameDialog::OnNumberBefore() {
  if (IsDlgButtonChecked(IDC_RENAME_NUMBER_BEFORE) != BST_CHECKED) return;
  m_pattern.position = 0;
  Settle();
}

void CRenameDialog::SetNumberField(UINT nID, int nValue) {
  BOOL bWas = m_bSetting;
  m_bSetting = TRUE;
  SetDlgItemInt(nID, nValue, TRUE);
  m_bSetting = bWas;
}

void CRenameDialog::TakeField(UINT nID, FieldValue (*clamp)(const std::string&), int* pValue) {
  if (m_bSetting) return;
  CString text;
  GetDlgItemText(nID, text);
  FieldValue v = clamp((LPCSTR)text);
  *pValue = v.value;
  if (v.rewrite) SetNumberField(nID, v.value);
  Settle();
}

void CRenameDialog::OnStartChange() { TakeField(IDC_RENAME_START, ClampStart, &m_pattern.start); }
void CRenameDialog::OnLengthChange() { TakeField(IDC_RENAME_LENGTH, ClampLength, &m_pattern.length); }
void CRenameDialog::OnStepChange() { TakeField(IDC_RENAME_STEP, ClampStep, &m_pattern.step); }

void CRenameDialog::OnDecorationChange() {
  int index = m_wndDecoration.GetCurSel();
  CString item;
  if (index >= 0) m_wndDecoration.GetLBText(index, item);
  SplitDecoration((LPCSTR)item, index, &m_pattern.before, &m_pattern.after);
  Settle();
}

void CRenameDialog::OnDetails() {
  ShowDetails(!m_bDetails);
  if (m_bDetails) {
    SetNumberField(IDC_RENAME_START, m_pattern.start);
    SetNumberField(IDC_RENAME_LENGTH, m_pattern.length);
    SetNumberField(IDC_RENAME_STEP, m_pattern.step);
    CheckRadioButton(IDC_RENAME_NUMBER_AFTER, IDC_RENAME_NUMBER_BEFORE,
                     m_pattern.position == 1 ? IDC_RENAME_NUMBER_AFTER : IDC_RENAME_NUMBER_BEFORE);
    KillTimer(kPreviewTimer);
    GetDlgItem(IDOK)->EnableWindow(TRUE);
  }
}

void CRenameDialog::ShowDetails(BOOL bShow) {
  m_bDetails = bShow;
  m_wndDetails.SetWindowText(LoadText(bShow ? IDS_RENAME_DETAILS_HIDE : IDS_RENAME_DETAILS_SHOW));
  for (UINT id : kDetailControls)
    if (CWnd* p = GetDlgItem(id)) p->ShowWindow(bShow ? SW_SHOW : SW_HIDE);

  CRect rcWidth, rcBottom, rcGroup;
  GetDlgItem(IDC_RENAME_WIDTH)->GetWindowRect(&rcWidth);
  ScreenToClient(&rcWidth);
  GetDlgItem(bShow ? IDC_RENAME_NOTE : IDC_RENAME_BASE_NAME)->GetWindowRect(&rcBottom);
  ScreenToClient(&rcBottom);
  rcGroup = CRect(rcWidth.left, rcWidth.top, rcWidth.right, rcBottom.bottom + 19);
  GetDlgItem(IDC_RENAME_GROUP)->MoveWindow(&rcGroup);

  // OK and Cancel 13 pixels below the group box; the dialog ends 18 pixels below OK.
  CRect rcOk, rcCancel;
  GetDlgItem(IDOK)->GetWindowRect(&rcOk);
  ScreenToClient(&rcOk);
  GetDlgItem(IDCANCEL)->GetWindowRect(&rcCancel);
  ScreenToClient(&rcCancel);
  int top = rcGroup.bottom + 13;
  GetDlgItem(IDOK)->SetWindowPos(NULL, rcOk.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetDlgItem(IDCANCEL)->SetWindowPos(NULL, rcCancel.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect rcWindow, rcClient;
  GetWindowRect(&rcWindow);
  GetClientRect(&rcClient);
  int frame = rcWindow.Height() - rcClient.Height();
  SetWindowPos(NULL, 0, 0, rcWindow.Width(), top + rcOk.Height() + 18 + frame,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

std::string CRenameDialog::FileBase(int j) {
  POSITION pos = m_pFiles ? m_pFiles->FindIndex(j) : NULL;
  if (!pos) return std::string();
  return SplitPath((LPCSTR)m_pFiles->GetAt(pos).path).title;
}

CString CRenameDialog::GetPreviewName(int j) { return m_wndPreview.GetItemText(j, 1); }
