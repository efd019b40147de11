// The music-folder page.
#include <GuiFont.h>
#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <KitlibEx/KitlibEx.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <shlobj.h>

#include "SettingsDialogs.h"
#include "SettingsRules.h"

namespace {
bool FolderExists(const CString& path) {
  DWORD attr = ::GetFileAttributesA(path);
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

BEGIN_MESSAGE_MAP(CMusicFolderDlg, CResourceDialog)
  ON_BN_CLICKED(IDC_MUSIC_BROWSE, &CMusicFolderDlg::OnBrowse)
END_MESSAGE_MAP()

CMusicFolderDlg::CMusicFolderDlg(CWnd* pParent) : CResourceDialog(IDD_MUSIC_FOLDER, pParent) {}

BOOL CMusicFolderDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  char music[MAX_PATH] = {};
  ::SHGetFolderPathA(nullptr, CSIDL_MYMUSIC, nullptr, SHGFP_TYPE_CURRENT, music);
  m_strFolder = settings::ChooseMusicFolder(CMGetProfileString("TuneTree\\FolderInfo", "OpenFolder", ""), music,
                                            CMTLGetExeDir(), FolderExists);
  SetDlgItemText(IDC_MUSIC_FOLDER, m_strFolder);
  return TRUE;
}

void CMusicFolderDlg::OnBrowse() {
  CResourceLoader strings;
  CString title = strings.LoadStringA(IDS_MUSIC_FOLDER_BROWSE_TITLE);
  CString start = m_strFolder;
  for (;;) {
    char chosen[MAX_PATH] = {};
    CMTLXBROWSEINFO info = {m_hWnd, start, chosen, title, 0};
    if (CMTLxBrowseForFolder(&info) != 1) return;
    if (!settings::IsDriveRoot(chosen)) {
      m_strFolder = chosen;
      SetDlgItemText(IDC_MUSIC_FOLDER, m_strFolder);
      return;
    }
    // A whole drive is no music folder: say so and ask again.
    CString caption;
    GetWindowText(caption);
    MessageBox(strings.LoadStringA(IDS_FOLDER_IS_DRIVE), caption, MB_OK | MB_ICONEXCLAMATION);
    start = chosen;
  }
}
