// The splitter tests run on the program's main thread under the framework's start-up.
#include <gtest/gtest.h>
#include <fw/fw.h>

class CSplitterTestApp : public CWinApp {
 public:
  CSplitterTestApp() : CWinApp("splittertest") {}
};
CSplitterTestApp theApp;

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  int result = RUN_ALL_TESTS();
  AfxWinTerm();
  return result;
}
