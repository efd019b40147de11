// The sample program (fw_sample.exe, WinMain from the framework) on the screen: a frame
// with a static splitter, a form view from the resource library, a view of a second
// module and a status bar. The test captures the screen and checks the parts' pixels.
#include <gtest/gtest.h>
#include <otherwindows.h>
#include <picture.h>

#include <memory>

#include "testwin.h"

namespace {

struct ChildFind {
  const char* cls;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChildren(HWND hWnd, LPARAM lParam) {
  ChildFind* p = reinterpret_cast<ChildFind*>(lParam);
  char cls[64] = "";
  ::GetClassNameA(hWnd, cls, sizeof(cls));
  if (lstrcmpA(cls, p->cls) == 0 && ::IsWindowVisible(hWnd)) p->found.push_back(hWnd);
  return TRUE;
}

std::vector<HWND> Children(HWND hParent, const char* cls) {
  ChildFind find = {cls, {}};
  ::EnumChildWindows(hParent, CollectChildren, (LPARAM)&find);
  return find.found;
}

POINT Centre(HWND hWnd) {
  RECT rc;
  ::GetWindowRect(hWnd, &rc);
  return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST(SampleProgram, FrameSplitterFormViewSecondModulesViewAndStatusBarOnTheScreen) {
  STARTUPINFOA si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  char cmd[] = "fw_sample.exe";
  ASSERT_TRUE(::CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  HWND hFrame = testsupport::WaitForWindowOf(pi.hProcess, AFX_WNDFRAMEORVIEW, 15000);
  ASSERT_NE(hFrame, nullptr) << "the sample's frame never showed";
  // Visible comes before laid out: wait until the program waits for input.
  ::WaitForInputIdle(pi.hProcess, 10000);

  char title[64] = "";
  ::GetWindowTextA(hFrame, title, sizeof(title));
  EXPECT_STREQ(title, "サンプル");  // no active view yet: no document name

  std::vector<HWND> bars = Children(hFrame, STATUSCLASSNAMEA);
  std::vector<HWND> forms = Children(hFrame, "#32770");
  std::vector<HWND> views = Children(hFrame, AFX_WNDFRAMEORVIEW);
  std::vector<HWND> splitters = Children(hFrame, AFX_WNDMDIFRAME);
  ASSERT_EQ(bars.size(), 1u);
  ASSERT_EQ(forms.size(), 1u);
  ASSERT_EQ(views.size(), 2u);
  ASSERT_EQ(splitters.size(), 2u);

  // Geometry: the status bar along the bottom, the outer splitter over the rest.
  RECT rcClient, rcBar, rcSplit, rcForm;
  ::GetClientRect(hFrame, &rcClient);
  ::MapWindowPoints(hFrame, nullptr, (LPPOINT)&rcClient, 2);
  ::GetWindowRect(bars[0], &rcBar);
  ::GetWindowRect(::GetDlgItem(hFrame, AFX_IDW_PANE_FIRST), &rcSplit);
  ::GetWindowRect(forms[0], &rcForm);
  EXPECT_EQ(rcBar.bottom, rcClient.bottom);
  EXPECT_EQ(rcBar.left, rcClient.left);
  EXPECT_EQ(rcBar.right, rcClient.right);
  EXPECT_GT(rcBar.bottom - rcBar.top, 10);
  EXPECT_EQ(rcSplit.bottom, rcBar.top);
  EXPECT_EQ(::GetDlgCtrlID(forms[0]), AFX_IDW_PANE_FIRST);
  EXPECT_LT(rcForm.right, rcSplit.right - 100);

  // Pixels: red and blue views, the form's dialog face, the bar between the columns.
  std::unique_ptr<testsupport::Picture> shot;
  HWND hRed = nullptr, hBlue = nullptr;
  bool ok = false;
  DWORD start = ::GetTickCount();
  while (!ok && ::GetTickCount() - start < 5000) {
    ::Sleep(100);
    shot.reset(new testsupport::Picture());  // the whole screen
    hRed = hBlue = nullptr;
    for (HWND h : views) {
      if (shot->At(Centre(h)) == RGB(200, 0, 0)) hRed = h;
      if (shot->At(Centre(h)) == RGB(0, 0, 200)) hBlue = h;
    }
    POINT ptFace = {rcForm.right - 4, rcForm.bottom - 4};
    POINT ptBar = {rcForm.right + 4, (rcForm.top + rcForm.bottom) / 2};
    ok = hRed && hBlue && shot->At(ptFace) == ::GetSysColor(COLOR_BTNFACE) &&
         shot->At(ptBar) == ::GetSysColor(COLOR_BTNFACE);
  }
  EXPECT_FALSE(shot->Save("fw_sample_screenshot").empty());
  LRESULT prompt = 0;
  EXPECT_TRUE(testsupport::SendToOther(bars[0], SB_GETTEXTLENGTHA, 0, 0, &prompt));
  EXPECT_GT(prompt & 0xFFFF, 0);  // the idle prompt
  ASSERT_TRUE(ok) << "the screenshot screenshots\\fw_sample_screenshot.png does not show the expected parts";
  RECT rcRed, rcBlue;
  ::GetWindowRect(hRed, &rcRed);
  ::GetWindowRect(hBlue, &rcBlue);
  EXPECT_LT(rcRed.bottom, rcBlue.top);        // red over blue in the right column
  EXPECT_GT(rcRed.left, rcForm.right);        // right of the form
  // The edit of the form shows the document's data on white.
  HWND hEdit = ::GetDlgItem(forms[0], 6001);
  char text[64] = "";
  // GetWindowText stops at processes.
  EXPECT_TRUE(testsupport::SendToOther(hEdit, WM_GETTEXT, sizeof(text), (LPARAM)text));
  EXPECT_STREQ(text, "C:\\写真");

  // The framework's close ends the program normally.
  ::PostMessageA(hFrame, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD dwExit = 1;
  ::GetExitCodeProcess(pi.hProcess, &dwExit);
  EXPECT_EQ(dwExit, 0u);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
}

}  // namespace
