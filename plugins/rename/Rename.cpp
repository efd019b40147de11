// Rename.dll: the rename tool the toolbar loads by name. Its application object makes
// the resource library its own resource handle; the one export shows the dialog.
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <pluginkit/ResourceLibraryApp.h>

#include <commctrl.h>

#include <ICGBrowser.h>

#include "RenameDialog.h"

class CRenameApp : public CResourceLibraryApp {
 public:
  CRenameApp() : CResourceLibraryApp("Rename") {}

  BOOL InitInstance() override {
    if (!CResourceLibraryApp::InitInstance()) return FALSE;
    // The dialog's list and spins, whoever loaded the library.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    return TRUE;
  }
};

CRenameApp theRenameApp;

FW_DLL_APP_MAIN()

// 1 after a rename run (files got new names), 2 when cancelled, -1 without a template.
extern "C" __declspec(dllexport) int WINAPI Rename(CGFileInfoList* pList) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CRenameDialog dlg;
  dlg.SetFileList(pList);
  return (int)dlg.DoModal();
}
