// The upload plug-in as the export pane loads it: its exports bound by name.
#include <ExportPluginApi.h>
#include <MainWndMessages.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

class Plugin : public testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryA("ExpVideoPostUI.peu");
    ASSERT_TRUE(module);
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  template <typename T>
  T Bind(const char* name) {
    T p = (T)GetProcAddress(module, name);
    EXPECT_TRUE(p) << name;
    return p;
  }
  HMODULE module = NULL;
};

TEST_F(Plugin, DescribesItsOneTile) {
  int count = 0;
  ASSERT_EQ(0, Bind<PFN_EXPORT_GETNUMOFTYPE>("GetNumOfType")(&count));
  EXPECT_EQ(1, count);

  auto getInfo = Bind<PFN_EXPORT_GETINFO>("GetInfo");
  EXPECT_EQ(E_INVALIDARG, getInfo(0, nullptr));
  CExportPluginInfo info;
  memset(&info, 0x5A, sizeof info);
  CExportPluginInfo untouched = info;
  EXPECT_EQ(0, getInfo(1, &info));
  EXPECT_EQ(0, memcmp(&info, &untouched, sizeof info));
  ASSERT_EQ(0, getInfo(0, &info));
  EXPECT_GT(strlen(info.szName), 0u);
  EXPECT_LT(strlen(info.szName), 260u);
  EXPECT_GT(strlen(info.szDescription), 0u);
  for (HBITMAP h : {info.hbmNormal, info.hbmPressed, info.hbmHover, info.hbmDisabled}) {
    BITMAP bm = {};
    ASSERT_TRUE(GetObjectA(h, sizeof bm, &bm));
    EXPECT_EQ(66, bm.bmWidth);
  }
  EXPECT_EQ(12, info.nOrder);

  int mode = 7;
  EXPECT_EQ(0, Bind<PFN_EXPORT_GETFILEMODE>("GetFileMode")(0, &mode));
  EXPECT_EQ(0, mode);
  EXPECT_EQ(14, Bind<PFN_EXPORT_GETFILTERTYPE>("GetFilterType")(0));

  typedef long(__cdecl * PFN_GETERRORSTRING)(int, int, CString*);
  CString text("left over");
  EXPECT_EQ(E_FAIL, Bind<PFN_GETERRORSTRING>("GetErrorString")(0, 0, &text));
  EXPECT_TRUE(text.IsEmpty());
}

// A type the plug-in does not have is refused without a message, and the pane is told.
TEST_F(Plugin, AnotherTypeIsRefusedAndThePaneToldItIsFree) {
  HWND pane = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  CGFileInfoList files;
  auto open = Bind<PFN_EXPORT_OPENWINDOW>("OpenWindow");
  EXPECT_EQ(E_FAIL, open(1, pane, NULL, &files, 4));
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, pane, WM_EXPORT_BUSY, WM_EXPORT_BUSY, PM_REMOVE));
  DestroyWindow(pane);
}

}  // namespace
