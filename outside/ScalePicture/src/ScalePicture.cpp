// ScalePicture.dll: the resize tool the toolbar loads from the program folder. The first
// call of a run shows the settings; every call writes one scaled copy.
#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <picturetool/ToolRun.h>
#include <pluginkit/ResourceLibraryApp.h>
#include <ui/ResourceDialog.h>

#include <commctrl.h>

#include "ScaleRules.h"

using scalepicture::Settings;

namespace {

class CScaleDialog : public CResourceDialog {
 public:
  explicit CScaleDialog(const Settings& s)
      : CResourceDialog(IDD_SCALE_PICTURE, CWnd::FromHandle(picturetool::OwnerWindow())), m_settings(s) {}
  const Settings& Chosen() const { return m_settings; }

 protected:
  BOOL OnInitDialog() override {
    CResourceDialog::OnInitDialog();
    CheckRadioButton(IDC_SCALE_BY_SIDE, IDC_SCALE_BY_PERCENT,
                     m_settings.byPercent ? IDC_SCALE_BY_PERCENT : IDC_SCALE_BY_SIDE);
    SetDlgItemInt(IDC_SCALE_SIDE, m_settings.longSide, FALSE);
    SetDlgItemInt(IDC_SCALE_PERCENT, m_settings.percent, FALSE);
    HWND hQuality = GetDlgItem(IDC_SCALE_QUALITY)->GetSafeHwnd();
    ::SendMessageA(hQuality, TBM_SETRANGE, FALSE, MAKELPARAM(scalepicture::kMinQuality, 100));
    ::SendMessageA(hQuality, TBM_SETTICFREQ, 10, 0);
    ::SendMessageA(hQuality, TBM_SETPOS, TRUE, m_settings.quality);
    SetDlgItemInt(IDC_SCALE_QUALITY_TEXT, m_settings.quality, FALSE);
    // The quality matters only when a JPEG is among the files.
    BOOL bJpeg = CMGetProfileInt(scalepicture::kSection, "Slider", 1) != 0;
    for (int id : {IDC_SCALE_QUALITY, IDC_SCALE_QUALITY_TEXT, IDC_SCALE_QUALITY_LABEL})
      GetDlgItem(id)->EnableWindow(bJpeg);
    return TRUE;
  }
  void OnOK() override {
    Settings s = m_settings;
    s.byPercent = IsDlgButtonChecked(IDC_SCALE_BY_PERCENT) == BST_CHECKED;
    BOOL bSide = FALSE, bPercent = FALSE;
    int nSide = (int)GetDlgItemInt(IDC_SCALE_SIDE, &bSide, FALSE);
    int nPercent = (int)GetDlgItemInt(IDC_SCALE_PERCENT, &bPercent, FALSE);
    if (!s.byPercent && (!bSide || nSide < scalepicture::kMinSide || nSide > scalepicture::kMaxSide))
      return Refuse(IDS_SCALE_SIDE_RANGE, IDC_SCALE_SIDE);
    if (s.byPercent && (!bPercent || nPercent < 1 || nPercent > 100))
      return Refuse(IDS_SCALE_PERCENT_RANGE, IDC_SCALE_PERCENT);
    // The other field keeps its stored value unless it holds a sound one.
    if (bSide && nSide >= scalepicture::kMinSide && nSide <= scalepicture::kMaxSide) s.longSide = nSide;
    if (bPercent && nPercent >= 1 && nPercent <= 100) s.percent = nPercent;
    s.quality = (int)::SendMessageA(GetDlgItem(IDC_SCALE_QUALITY)->GetSafeHwnd(), TBM_GETPOS, 0, 0);
    m_settings = s;
    CResourceDialog::OnOK();
  }
  afx_msg void OnHScroll(UINT, UINT, CScrollBar*) {
    SetDlgItemInt(IDC_SCALE_QUALITY_TEXT,
                  (UINT)::SendMessageA(GetDlgItem(IDC_SCALE_QUALITY)->GetSafeHwnd(), TBM_GETPOS, 0, 0), FALSE);
  }
  DECLARE_MESSAGE_MAP()

 private:
  void Refuse(UINT nTextId, int nField) {
    CString strText, strTitle;
    strText.LoadString(nTextId);
    strTitle.LoadString(IDS_TB_TOOL_SCALE);
    MessageBox(strText, strTitle, MB_ICONEXCLAMATION);
    GotoDlgCtrl(GetDlgItem(nField));
  }

  Settings m_settings;
};

BEGIN_MESSAGE_MAP(CScaleDialog, CResourceDialog)
  ON_WM_HSCROLL()
END_MESSAGE_MAP()

Settings g_run;

}  // namespace

class CScalePictureApp : public CResourceLibraryApp {
 public:
  CScalePictureApp() : CResourceLibraryApp("ScalePicture") {}
  BOOL InitInstance() override {
    if (!CResourceLibraryApp::InitInstance()) return FALSE;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return TRUE;
  }
};

CScalePictureApp theScalePictureApp;

FW_DLL_APP_MAIN()

// lpszPath: the picture; lpszOutput: 520 bytes for the copy written; nFirst 1 on a run's
// first call, which shows the settings first. 1: go on (also after a failure the user
// passed over), 2: cancelled.
extern "C" __declspec(dllexport) int WINAPI ScalePicture(LPCSTR lpszPath, LPSTR lpszOutput, int nFirst) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  auto settings = [] {
    CScaleDialog dlg(scalepicture::ReadSettings());
    if (dlg.DoModal() != IDOK) return false;
    g_run = dlg.Chosen();
    scalepicture::WriteSettings(g_run);
    return true;
  };
  auto work = [](const std::string& path, std::string* output) { return scalepicture::ScaleFile(path, g_run, output); };
  return picturetool::RunCall(lpszPath, lpszOutput, nFirst, IDS_TB_TOOL_SCALE, settings, work);
}
