// Helpers of the window tests.
#include "testwin.h"

namespace fwtest {

std::vector<std::string> g_log;

void Log(const std::string& s) { g_log.push_back(s); }

std::string Joined() {
  std::string out;
  for (size_t i = 0; i < g_log.size(); ++i) out += (i ? "|" : "") + g_log[i];
  g_log.clear();
  return out;
}

void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage((int)msg.wParam);  // leave it for whoever waits for it
      return;
    }
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    PumpPending();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void DropQuit() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

HINSTANCE ResourceDll() {
  static HINSTANCE h = ::LoadLibraryA("fw_win_res.dll");
  return h;
}

ResourceScope::ResourceScope() : m_hOld(AfxGetResourceHandle()) { AfxSetResourceHandle(ResourceDll()); }
ResourceScope::~ResourceScope() { AfxSetResourceHandle(m_hOld); }

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
