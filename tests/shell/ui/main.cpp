// The shell's user-interface tests run on the program's main thread under the
// framework's start-up, with the resource library as the current resource module.
#include <gtest/gtest.h>
#include <fw/fw.h>

#include <VxGUIDB/Utility.h>

class CShellUiTestApp : public CWinApp {
 public:
  CShellUiTestApp() : CWinApp("shelluitest") {}
};
CShellUiTestApp theApp;

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  // As the program does at start-up.
  if (HINSTANCE hRes = VxGetResourceLibrary()) AfxSetResourceHandle(hRes);
  int result = RUN_ALL_TESTS();
  AfxWinTerm();
  return result;
}
