// The dialog-library loader and the list-tool runner on small libraries beside the tests.
#include <gtest/gtest.h>

#include "DialogDllLoader.h"
#include "ToolLibraries.h"

namespace {

typedef int (*PFN_COUNT)(int);

TEST(DialogDllLoader, BindsCallsAndFrees) {
  HMODULE hHeld = NULL;
  {
    CDialogDllLoader loader;
    ASSERT_EQ(loader.Bind("toolbar_dlgprobe.dll", NULL), 0);
    ASSERT_TRUE(loader.m_pfnInitialize && loader.m_pfnUninitialize && loader.m_pfnDoModal);
    loader.m_pfnInitialize(NULL);
    EXPECT_EQ(loader.m_pfnDoModal(NULL, 397, 0, 0), 1);
    loader.m_pfnUninitialize();
    hHeld = loader.GetModule();
    PFN_COUNT pfnCalls = (PFN_COUNT)::GetProcAddress(hHeld, "ProbeCalls");
    EXPECT_EQ(pfnCalls(0) + pfnCalls(1) + pfnCalls(2), 3);
    // Bound again: the held module serves, nothing is loaded twice.
    EXPECT_EQ(loader.Load("toolbar_dlgprobe.dll"), 1);
    EXPECT_EQ(loader.Bind("toolbar_dlgprobe.dll", NULL), 0);
    EXPECT_EQ(loader.GetModule(), hHeld);
  }
  EXPECT_EQ(::GetModuleHandleA("toolbar_dlgprobe.dll"), (HMODULE)NULL);  // freed with the loader
}

TEST(DialogDllLoader, FailuresLeaveItUnbound) {
  CDialogDllLoader loader;
  EXPECT_EQ(loader.Bind("toolbar_dlgprobe_nodomodal.dll", NULL), (HRESULT)0x8007007F);
  EXPECT_EQ(loader.GetModule(), (HMODULE)NULL);
  EXPECT_FALSE(loader.m_pfnInitialize || loader.m_pfnUninitialize || loader.m_pfnDoModal);
  EXPECT_EQ(::GetModuleHandleA("toolbar_dlgprobe_nodomodal.dll"), (HMODULE)NULL);

  EXPECT_EQ(loader.Bind("no-such-settings.dll", NULL), (HRESULT)0x8007007E);
  EXPECT_EQ(loader.Bind(std::string(520, 'x').c_str(), NULL), (HRESULT)0x8007006F);
  EXPECT_EQ(loader.GetModule(), (HMODULE)NULL);
  EXPECT_EQ(loader.Free(), FALSE);
  EXPECT_EQ(HResultFromError(5), (HRESULT)0x80070005);
  EXPECT_EQ(HResultFromError((DWORD)0x80004005), (HRESULT)0x80004005);
}

std::string BesideTests(const char* name) {
  char sz[MAX_PATH];
  ::GetModuleFileNameA(NULL, sz, MAX_PATH);
  std::string path = sz;
  return path.substr(0, path.rfind('\\') + 1) + name;
}

TEST(ListTool, CallsTheExportOnTheListAndFreesTheLibrary) {
  CGFileInfoList files(10);
  for (const char* p : {"C:\\a.jpg", "C:\\b.jpg"}) {
    CGFILEINFO info;
    info.path = p;
    files.AddTail(info);
  }
  std::string probe = BesideTests("toolbar_listprobe.dll");
  DWORD dwError = 99;
  EXPECT_EQ(CallListTool(probe.c_str(), "Rename", &files, &dwError), 1);
  EXPECT_EQ(dwError, 0u);
  EXPECT_EQ(::GetModuleHandleA("toolbar_listprobe.dll"), (HMODULE)NULL);

  CGFileInfoList empty(10);
  EXPECT_EQ(CallListTool(probe.c_str(), "Rename", &empty, &dwError), 2);

  // A library without the export, and no library: -1 with the system's error.
  EXPECT_EQ(CallListTool(BesideTests("toolbar_dlgprobe.dll").c_str(), "Rename", &files, &dwError), -1);
  EXPECT_EQ(dwError, (DWORD)ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(::GetModuleHandleA("toolbar_dlgprobe.dll"), (HMODULE)NULL);
  EXPECT_EQ(CallListTool(BesideTests("no-such-tool.dll").c_str(), "Rename", &files, &dwError), -1);
  EXPECT_EQ(dwError, (DWORD)ERROR_MOD_NOT_FOUND);
}

}  // namespace
