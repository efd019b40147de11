// ConvertKind.dll: the conversion tool the toolbar loads from the program folder. The
// first call of a run shows the choice of kind; every call writes one converted copy.
#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <picturetool/ToolRun.h>
#include <pluginkit/ResourceLibraryApp.h>
#include <ui/ResourceDialog.h>

#include "ConvertRules.h"

namespace {

// The radio of each kind, in kind order from KIND_JPEG.
const int kKindRadios[] = {IDC_CONVERT_JPEG, IDC_CONVERT_BMP, IDC_CONVERT_PNG, IDC_CONVERT_TIFF};

class CConvertDialog : public CResourceDialog {
 public:
  explicit CConvertDialog(int nKind)
      : CResourceDialog(IDD_CONVERT_KIND, CWnd::FromHandle(picturetool::OwnerWindow())), m_nKind(nKind) {}
  int Chosen() const { return m_nKind; }

 protected:
  BOOL OnInitDialog() override {
    CResourceDialog::OnInitDialog();
    // The kind every chosen file has already is no choice.
    int nSingle = CMGetProfileInt(convertkind::kSection, "Single", 0);
    if (nSingle >= convertkind::KIND_JPEG && nSingle <= convertkind::KIND_TIFF) {
      GetDlgItem(kKindRadios[nSingle - 1])->EnableWindow(FALSE);
      if (m_nKind == nSingle) m_nKind = nSingle == convertkind::KIND_JPEG ? convertkind::KIND_PNG : convertkind::KIND_JPEG;
    }
    CheckRadioButton(IDC_CONVERT_JPEG, IDC_CONVERT_TIFF, kKindRadios[m_nKind - 1]);
    return TRUE;
  }
  void OnOK() override {
    for (int k = convertkind::KIND_JPEG; k <= convertkind::KIND_TIFF; ++k)
      if (IsDlgButtonChecked(kKindRadios[k - 1]) == BST_CHECKED) m_nKind = k;
    CResourceDialog::OnOK();
  }

 private:
  int m_nKind;
};

int g_nRunKind = convertkind::KIND_JPEG;

}  // namespace

class CConvertKindApp : public CResourceLibraryApp {
 public:
  CConvertKindApp() : CResourceLibraryApp("ConvertKind") {}
};

CConvertKindApp theConvertKindApp;

FW_DLL_APP_MAIN()

// lpszPath: the picture; lpszOutput: 520 bytes for the copy written (empty when the file
// has the kind already); nFirst 1 on a run's first call, which shows the choice first.
// 1: go on (also after a failure the user passed over), 2: cancelled.
extern "C" __declspec(dllexport) int WINAPI ConvertKind(LPCSTR lpszPath, LPSTR lpszOutput, int nFirst) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  auto settings = [] {
    CConvertDialog dlg(convertkind::ReadKind());
    if (dlg.DoModal() != IDOK) return false;
    g_nRunKind = dlg.Chosen();
    convertkind::WriteKind(g_nRunKind);
    return true;
  };
  auto work = [](const std::string& path, std::string* output) {
    return convertkind::ConvertFile(path, g_nRunKind, output);
  };
  return picturetool::RunCall(lpszPath, lpszOutput, nFirst, IDS_TB_TOOL_CONVERT, settings, work);
}
