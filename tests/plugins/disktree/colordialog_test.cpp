// The folder-colour dialog driven as a user would: the standard-colour button, OK, Cancel.
#include <DiskTreeModule.h>
#include <IconColorDialog.h>
#include <VxResourceIds.h>
#include <dialogwatch.h>
#include <gtest/gtest.h>
#include <testmain.h>

namespace {

struct Resources {
  HMODULE module = LoadLibraryA("VxResource.dll");
  Resources() { disktree::SetResourceModule(module); }
  ~Resources() {
    disktree::SetResourceModule(nullptr);
    FreeLibrary(module);
  }
};

bool HasButton(HWND box) { return GetDlgItem(box, IDC_DISKTREE_COLOR_STANDARD) != nullptr; }

}  // namespace

TEST(IconColorDialog, TheStandardButtonEndsWithOkAndTheFlag) {
  Resources res;
  std::string caption;
  testsupport::DialogWatch watch(nullptr, HasButton, [&](HWND box) {
    HWND button = GetDlgItem(box, IDC_DISKTREE_COLOR_STANDARD);
    char text[64] = {};
    GetWindowTextA(button, text, sizeof text);
    caption = text;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_DISKTREE_COLOR_STANDARD, BN_CLICKED), (LPARAM)button);
  });
  CIconColorDialog dlg(0, 0, nullptr);
  dlg.m_cc.Flags |= CC_RGBINIT;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(watch.Acted());
  EXPECT_TRUE(dlg.m_bDefaultColor);
  EXPECT_EQ(caption, disktree::ResourceString(IDS_DISKTREE_COLOR_STANDARD));
}

TEST(IconColorDialog, OkKeepsTheColourAndCancelCancels) {
  Resources res;
  {
    testsupport::DialogWatch watch(nullptr, HasButton, [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    CIconColorDialog dlg(RGB(200, 10, 10), 0, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(dlg.m_bDefaultColor);
    EXPECT_EQ(dlg.GetColor(), RGB(200, 10, 10));
  }
  {
    testsupport::DialogWatch watch(nullptr, HasButton, [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    CIconColorDialog dlg(0, 0, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(dlg.m_bDefaultColor);
  }
}
