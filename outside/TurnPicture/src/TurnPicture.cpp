// TurnPicture.dll: the rotation tool the toolbar loads from the program folder. The
// first call of a run shows the settings; every call turns one picture.
#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <picturetool/ToolRun.h>
#include <pluginkit/ResourceLibraryApp.h>
#include <ui/ResourceDialog.h>

#include "TurnRules.h"

using turnpicture::Settings;

namespace {

class CTurnDialog : public CResourceDialog {
 public:
  explicit CTurnDialog(const Settings& s) : CResourceDialog(IDD_TURN_PICTURE, CWnd::FromHandle(picturetool::OwnerWindow())), m_settings(s) {}
  const Settings& Chosen() const { return m_settings; }

 protected:
  BOOL OnInitDialog() override {
    CResourceDialog::OnInitDialog();
    CheckRadioButton(IDC_TURN_90, IDC_TURN_270,
                     m_settings.rotation == 180 ? IDC_TURN_180 : m_settings.rotation == 270 ? IDC_TURN_270 : IDC_TURN_90);
    CheckRadioButton(IDC_TURN_PIXELS, IDC_TURN_TAG, m_settings.tagOnly ? IDC_TURN_TAG : IDC_TURN_PIXELS);
    // The one chosen file is write-protected: only a copy can be written.
    if (CMGetProfileInt(turnpicture::kSection, "ReadOnly", 1) == 3) {
      m_settings.saveMode = 0;
      GetDlgItem(IDC_TURN_SAVE_OVER)->EnableWindow(FALSE);
      GetDlgItem(IDC_TURN_SAVE_ASK)->EnableWindow(FALSE);
    }
    CheckRadioButton(IDC_TURN_SAVE_COPY, IDC_TURN_SAVE_ASK, IDC_TURN_SAVE_COPY + m_settings.saveMode);
    return TRUE;
  }
  void OnOK() override {
    int rotation = GetCheckedRadioButton(IDC_TURN_90, IDC_TURN_270);
    m_settings.rotation = rotation == IDC_TURN_180 ? 180 : rotation == IDC_TURN_270 ? 270 : 90;
    m_settings.tagOnly = IsDlgButtonChecked(IDC_TURN_TAG) == BST_CHECKED;
    int save = GetCheckedRadioButton(IDC_TURN_SAVE_COPY, IDC_TURN_SAVE_ASK);
    m_settings.saveMode = save ? save - IDC_TURN_SAVE_COPY : 0;
    CResourceDialog::OnOK();
  }

 private:
  Settings m_settings;
};

// What the run's first call chose.
Settings g_run;

}  // namespace

class CTurnPictureApp : public CResourceLibraryApp {
 public:
  CTurnPictureApp() : CResourceLibraryApp("TurnPicture") {}
};

CTurnPictureApp theTurnPictureApp;

FW_DLL_APP_MAIN()

// lpszPath: the picture; lpszOutput: 520 bytes for the file written; nFirst 1 on a run's
// first call, which shows the settings first. 1: go on (also after a failure the user
// passed over), 2: cancelled.
extern "C" __declspec(dllexport) int WINAPI TurnPicture(LPCSTR lpszPath, LPSTR lpszOutput, int nFirst) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  auto settings = [] {
    CTurnDialog dlg(turnpicture::ReadSettings());
    if (dlg.DoModal() != IDOK) return false;
    g_run = dlg.Chosen();
    turnpicture::WriteSettings(g_run);
    return true;
  };
  auto work = [](const std::string& path, std::string* output) {
    bool bInPlace = g_run.saveMode == 1;
    if (g_run.saveMode == 2) {
      int nAnswer = picturetool::AskOverwrite(IDS_BROWSER_ROTATE_CAPTION, path);
      if (nAnswer == IDCANCEL) return E_ABORT;
      bInPlace = nAnswer == IDYES;
    }
    return turnpicture::TurnFile(path, g_run.rotation, g_run.tagOnly, bInPlace, output);
  };
  return picturetool::RunCall(lpszPath, lpszOutput, nFirst, IDS_BROWSER_ROTATE_CAPTION, settings, work);
}
