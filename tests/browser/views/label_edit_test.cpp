// The day calendar's name box in a window: Escape cancels, Enter hands the text over,
// refused characters and the limit.
#include <gtest/gtest.h>

#include <LabelEdit.h>

#include <string>
#include <vector>

#include "uikit.h"

namespace {

class CNameHost : public CWnd {
 public:
  std::vector<std::string> results;  // "<cancelled>" for wParam 0
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_LABEL_EDIT_END) results.push_back(wParam ? (const char*)wParam : "<cancelled>");
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

struct NameFixture {
  CNameHost host;
  CLabelEdit box;
  NameFixture() {
    host.CreateEx(0, AfxRegisterWndClass(0), "name host", WS_POPUP | WS_VISIBLE, 80, 80, 300, 200, nullptr, nullptr);
  }
  ~NameFixture() {
    if (box.GetSafeHwnd()) box.DestroyWindow();
    host.DestroyWindow();
  }
  void Open(const char* text, int limit = 64) {
    ASSERT_TRUE(box.Create(&host, text, limit, CRect(20, 20, 220, 60)));
    EXPECT_EQ(box.GetDlgCtrlID(), 12288);
  }
  void Type(const char* chars) {
    for (const char* p = chars; *p; p++) box.SendMessage(WM_CHAR, (BYTE)*p, 1);
  }
  std::string Text() {
    CString s;
    box.GetWindowText(s);
    return (LPCSTR)s;
  }
};

TEST(LabelEdit, EscapeCancelsAndEnterHandsTheTextOver) {
  NameFixture f;
  f.Open("IMG_0001");
  f.Type("\x1b");
  EXPECT_FALSE(::IsWindow(f.box.m_hWnd));
  f.Open("IMG_0001");
  f.box.SendMessage(EM_SETSEL, 8, 8);
  f.Type("a:b\r");
  EXPECT_EQ(f.host.results, (std::vector<std::string>{"<cancelled>", "IMG_0001ab"}));
}

TEST(LabelEdit, DotsAndTheLimit) {
  NameFixture f;
  f.Open("", 5);
  f.Type(".");  // a "." into an empty box
  EXPECT_EQ(f.Text(), "");
  f.Type("abcdefg");
  EXPECT_EQ(f.Text(), "abcde");
  f.box.SendMessage(EM_SETSEL, 0, 0);
  f.Type(".");  // a name starting with "."
  EXPECT_EQ(f.Text(), "abcde");
}

}  // namespace
