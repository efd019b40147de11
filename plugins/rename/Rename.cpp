// Rename.dll: the rename tool the toolbar loads by name. Its application object makes
// the resource library its own resource handle; the one export shows the dialog.
#include <VxResourceIds.h>
#include <fw/fw.h>

#include <commctrl.h>

#include <ICGBrowser.h>

#include "RenameDialog.h"

class CRenameApp : public CWinApp {
 public:
  CRenameApp() : CWinApp("Rename") {}

  BOOL InitInstance() override {
    m_hResources = AfxLoadLibrary("VxResource.dll");
    if (!m_hResources) {
      AfxMessageBox("There is no VxResource.dll.", MB_ICONHAND);
      return FALSE;
    }
    AfxSetResourceHandle(m_hResources);
    // The dialog's list and spins, whoever loaded the library.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    return TRUE;
  }

  int ExitInstance() override {
    if (m_hResources) AfxFreeLibrary(m_hResources);
    m_hResources = NULL;
    return CWinApp::ExitInstance();
  }

 private:
  HINSTANCE m_hResources = NULL;
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
