// The dialog base takes its templates from the current resource module only; the
// resource switcher makes the resource library current for a scope, and nested
// switchers restore the outer handle once, when the one that switched ends.
#include <gtest/gtest.h>

#include <VxResourceIds.h>

#include <ui/ResourceDialog.h>
#include "shelltest.h"
#include "uikit.h"

namespace {

class CCountingDialog : public CResourceDialog {
 public:
  explicit CCountingDialog(UINT nID) : CResourceDialog(nID) {}
  int m_nInit = 0;
  BOOL OnInitDialog() override {
    ++m_nInit;
    return CResourceDialog::OnInitDialog();
  }
};

TEST(ResourceDialog, TemplateMissingFromTheResourceLibraryGivesMinusOneAndShowsNothing) {
  shelltest::ResourceScope res;
  CCountingDialog dlg(59999);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.m_nInit, 0);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ResourceDialog, TemplateIsTakenFromTheCurrentModuleNotTheChain) {
  // The program itself carries no templates: without the switch the dialog does not open.
  HINSTANCE hOld = AfxGetResourceHandle();
  AfxSetResourceHandle(::GetModuleHandleA(NULL));
  CCountingDialog dlg(IDD_PROGRESS_MESSAGE);
  EXPECT_EQ(dlg.DoModal(), -1);
  AfxSetResourceHandle(hOld);
}

TEST(ResourceDialog, RunsModallyFromTheResourceLibraryAndGivesTheEndCode) {
  CResourceSwitcher sw;
  CCountingDialog dlg(IDD_PROGRESS_MESSAGE);
  uikit::DialogDriver driver([](HWND hDlg) { ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_nInit, 1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ResourceSwitcher, NestedSwitchersRestoreTheOuterHandleOnceWhenTheSwitchingOneEnds) {
  HINSTANCE hProgram = ::GetModuleHandleA(NULL);
  HINSTANCE hOld = AfxGetResourceHandle();
  AfxSetResourceHandle(hProgram);
  {
    CResourceSwitcher outer;
    ASSERT_NE(CResourceSwitcher::GetLibrary(), nullptr);
    EXPECT_TRUE(outer.HasSwitched());
    EXPECT_EQ(AfxGetResourceHandle(), CResourceSwitcher::GetLibrary());
    {
      CResourceSwitcher inner;
      EXPECT_FALSE(inner.HasSwitched());
      EXPECT_EQ(AfxGetResourceHandle(), CResourceSwitcher::GetLibrary());
    }
    // The inner end must not undo the outer switch.
    EXPECT_EQ(AfxGetResourceHandle(), CResourceSwitcher::GetLibrary());
  }
  EXPECT_EQ(AfxGetResourceHandle(), hProgram);
  AfxSetResourceHandle(hOld);
}

TEST(ResourceSwitcher, LibraryAlreadyCurrentIsLeftAsItIs) {
  shelltest::ResourceScope res;  // the same library, loaded by name beside the program
  {
    CResourceSwitcher sw;
    EXPECT_FALSE(sw.HasSwitched());
    EXPECT_EQ(AfxGetResourceHandle(), shelltest::ResourceDll());
  }
  EXPECT_EQ(AfxGetResourceHandle(), shelltest::ResourceDll());
}

}  // namespace
