// ConvertKind.dll: the conversion tool the toolbar loads from the program folder. The
// first call of a run shows the choice of kind; every call writes one converted copy.
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <picturetool/ToolRun.h>
#include <pluginkit/ResourceLibraryApp.h>

#include "ConvertDialog.h"
#include "ConvertRules.h"

namespace {
// What the run's first call chose.
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
