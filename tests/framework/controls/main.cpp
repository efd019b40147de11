// The control tests run on the program's main thread, with OLE initialised on it as the
// application does.
#include <gtest/gtest.h>

#include "ctltest.h"

class CCtlTestApp : public CWinApp {
 public:
  CCtlTestApp() : CWinApp("fwctltest") {}
};
CCtlTestApp theApp;

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  if (!AfxOleInit()) return 2;
  int result = RUN_ALL_TESTS();
  AfxOleTerm();
  AfxWinTerm();
  return result;
}
