// The document tests run on the program's main thread under the framework's start-up.
#include <fw/fw.h>
#include <gtest/gtest.h>

namespace {
class CDocTestApp : public CWinApp {};
CDocTestApp theApp;
}  // namespace

CWinApp& DocTestApp() { return theApp; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  int result = RUN_ALL_TESTS();
  AfxWinTerm();
  return result;
}
