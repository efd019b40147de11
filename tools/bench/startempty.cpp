// startbench's reference: the framework's empty frame window, started and closed as the
// main program is (the framework's WinMain, its DLL, one frame shown and marked alike).
#include <fw/fw.h>

#include <MainWndMessages.h>

namespace {

class CEmptyApp : public CWinApp {
 public:
  CEmptyApp() : CWinApp("startempty") {}
  BOOL InitInstance() override {
    CFrameWnd* pFrame = new CFrameWnd;
    if (!pFrame->Create(NULL, "startbench empty window")) return FALSE;
    m_pMainWnd = pFrame;
    pFrame->ShowWindow(SW_SHOW);
    pFrame->UpdateWindow();
    ::SetPropA(pFrame->m_hWnd, MAINWND_PROPERTY, reinterpret_cast<HANDLE>(1));
    return TRUE;
  }
};
CEmptyApp theApp;

}  // namespace
