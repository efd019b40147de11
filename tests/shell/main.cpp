// The main program's tests run on the program's main thread under the framework's start-up,
// with a plain application object.
#include <gtest/gtest.h>

#include "shelltest.h"

class CShellTestApp : public CWinApp {
 public:
  CShellTestApp() : CWinApp("shelltest") {}
};
CShellTestApp theApp;

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  AfxWinInit(::GetModuleHandleA(NULL), NULL, ::GetCommandLineA(), SW_SHOW);
  int result = RUN_ALL_TESTS();
  AfxWinTerm();
  return result;
}
