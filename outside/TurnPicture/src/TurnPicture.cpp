// TurnPicture.dll: the rotation tool the toolbar loads from the program folder. The
// first call of a run shows the settings; every call turns one picture.
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <picturetool/ToolRun.h>
#include <pluginkit/ResourceLibraryApp.h>

#include "TurnDialog.h"
#include "TurnRules.h"

namespace {
// What the run's first call chose.
turnpicture::Settings g_run;
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
