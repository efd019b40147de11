// Helpers of the window tests.
#include "testwin.h"

namespace fwtest {

HINSTANCE ResourceDll() {
  static HINSTANCE h = ::LoadLibraryA("fw_win_res.dll");
  return h;
}


}  // namespace fwtest

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_CMD_APP, &CTestApp::OnAppCommand)
  ON_COMMAND(ID_CMD_ALL, &CTestApp::OnSharedCommand)
  ON_COMMAND(ID_CMD_FRAMEAPP, &CTestApp::OnSharedCommand)
  ON_UPDATE_COMMAND_UI(ID_CMD_APP, &CTestApp::OnUpdateApp)
END_MESSAGE_MAP()

CTestApp::CTestApp() : CWinApp("fwtest") {}
void CTestApp::OnAppCommand() { fwtest::Log("app"); }
void CTestApp::OnSharedCommand() { fwtest::Log("app"); }
void CTestApp::OnUpdateApp(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

CTestApp theApp;
