// A plug-in with an application object of its own (loaded at run time by the tests).
// Its initialisation fails while GLIMFW_PEER_FAIL is set.
#include <fw/fw.h>

namespace {
BOOL g_bInitialised = FALSE;
}

class CPeerApp : public CWinApp {
 public:
  CPeerApp() : CWinApp("ピアアプリ") {}
  BOOL InitInstance() override {
    char buf[8];
    if (::GetEnvironmentVariableA("GLIMFW_PEER_FAIL", buf, sizeof(buf))) return FALSE;
    // The plug-in's own resource handle, not the program's.
    AfxSetResourceHandle(::LoadLibraryA("fw_win_res.dll"));
    g_bInitialised = TRUE;
    return TRUE;
  }
  int ExitInstance() override {
    if (g_bInitialised) ::FreeLibrary(AfxGetResourceHandle());
    return CWinApp::ExitInstance();
  }
};

CPeerApp thePeerApp;

FW_DLL_APP_MAIN()

extern "C" __declspec(dllexport) CWinApp* PeerGetApp() { return AfxGetApp(); }

extern "C" __declspec(dllexport) CWinApp* PeerGetOwnApp() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetCurrentApp();
}

extern "C" __declspec(dllexport) const char* PeerGetAppName() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetAppName();
}

extern "C" __declspec(dllexport) HINSTANCE PeerGetResourceHandle() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetResourceHandle();
}
