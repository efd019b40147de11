// The classify-destination dialog.
#include <GuiFont.h>
#include <Kitlib2/Profile.h>
#include <KitlibEx/KitlibEx.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <shlobj.h>

#include "SettingsDialogs.h"
#include "SettingsRules.h"

namespace {
CString SpecialFolder(int csidl) {
  char path[MAX_PATH] = {};
  ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}
}  // namespace

BEGIN_MESSAGE_MAP(CClassifyFolderDlg, CResourceDialog)
  ON_BN_CLICKED(IDC_CLASSIFY_BROWSE, &CClassifyFolderDlg::OnBrowse)
END_MESSAGE_MAP()

CClassifyFolderDlg::CClassifyFolderDlg(CWnd* pParent)
    : CResourceDialog(IDD_CLASSIFY_FOLDER, pParent), m_nSubFolder(-1), m_nDesktop(-1), m_nFound(0) {}

BOOL CClassifyFolderDlg::OnInitDialog() {
  m_strFolder = CMGetProfileString("VxClassify", "DefaultFolder", "");
  if (m_strFolder.IsEmpty()) m_strFolder = SpecialFolder(CSIDL_PERSONAL);
  m_nSubFolder = CMGetProfileInt("VxClassify", "SubFolder", 0);
  m_nDesktop = CMGetProfileInt("VxClassify", "DesktopFolder", 0);
  CResourceDialog::OnInitDialog();  // data to the controls
  VxApplyGuiFontRule(this);
  if (CWnd* pEdit = GetDlgItem(IDC_CLASSIFY_FOLDER))
    pEdit->SendMessage(WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), TRUE);
  return TRUE;
}

void CClassifyFolderDlg::DoDataExchange(CDataExchange* pDX) {
  CResourceDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_CLASSIFY_FOLDER, m_strFolder);
  DDX_Radio(pDX, IDC_CLASSIFY_SUBFOLDERS, m_nSubFolder);
  DDX_Radio(pDX, IDC_CLASSIFY_DESKTOP, m_nDesktop);
}

void CClassifyFolderDlg::OnBrowse() {
  UpdateData(TRUE);
  CString title;
  GetDlgItemText(IDC_CLASSIFY_TITLE, title);
  char chosen[MAX_PATH] = {};
  CMTLXBROWSEINFO info = {m_hWnd, m_strFolder, chosen, title, 0};
  if (CMTLxBrowseForFolder(&info) == 1) SetDlgItemText(IDC_CLASSIFY_FOLDER, chosen);
}

void CClassifyFolderDlg::Refuse(UINT nStringID) {
  CString caption;
  GetWindowText(caption);
  MessageBox(CResourceLoader().LoadStringA(nStringID), caption, MB_OK | MB_ICONEXCLAMATION);
}

void CClassifyFolderDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  m_strFolder = settings::TrimFolder(m_strFolder);
  // The folder is checked before anything is stored: a refused folder never becomes
  // the profile's destination.
  UINT refusal = settings::CheckClassifyFolder(m_strFolder, settings::FolderFactsOf(m_strFolder),
                                               SpecialFolder(CSIDL_WINDOWS), SpecialFolder(CSIDL_PROGRAM_FILES));
  if (refusal) {
    Refuse(refusal);
    return;
  }
  CMWriteProfileString("VxClassify", "DefaultFolder", m_strFolder);
  CMWriteProfileInt("VxClassify", "SubFolder", m_nSubFolder);
  CMWriteProfileInt("VxClassify", "DesktopFolder", m_nDesktop);
  m_nFound = ScanAndRegister(m_strFolder, m_nSubFolder == 0, m_nDesktop == 0);
  if (m_nFound == 0) {
    Refuse(IDS_CLASSIFY_NO_PICTURES);
    return;
  }
  EndDialog(IDOK);
}
