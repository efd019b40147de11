// The icon view tests run on the program's main thread under the framework's start-up,
// with the resource library as the current resource module and a profile and database
// of their own (marks are kept there).
#include <gtest/gtest.h>
#include <fw/fw.h>

#include <VxGUIDB/Utility.h>
#include <profileroot.h>
#include <tempfolder.h>

class CIconViewTestApp : public CWinApp {
 public:
  CIconViewTestApp() : CWinApp("iconviewtest") {}
};
CIconViewTestApp theApp;

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testsupport::ScopedProfileRoot profile("iconview");
  std::string db = testsupport::NewTempFolder("iconview-db");
  ::SetEnvironmentVariableA("GLIMORA_DB_DIR", db.c_str());
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  if (HINSTANCE hRes = VxGetResourceLibrary()) AfxSetResourceHandle(hRes);
  int result = RUN_ALL_TESTS();
  AfxWinTerm();
  ::SetEnvironmentVariableA("GLIMORA_DB_DIR", nullptr);
  testsupport::RemoveTree(db);
  return result;
}
