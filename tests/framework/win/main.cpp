// The window tests run on the program's main thread under the framework's start-up.
#include <gtest/gtest.h>

#include "testwin.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  int result = RUN_ALL_TESTS();
  AfxWinTerm();
  return result;
}
