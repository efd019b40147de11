// ScalePicture.dll: the resize tool the toolbar loads from the program folder. The first
// call of a run shows the settings; every call writes one scaled copy.
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <picturetool/ToolRun.h>
#include <pluginkit/ResourceLibraryApp.h>

#include <commctrl.h>

#include "ScaleDialog.h"
#include "ScaleRules.h"

namespace {
// What the run's first call chose.
scalepicture::Settings g_run;
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
