// The length-limited edit: where a text is cut, and the edit keeping its text within
// its limit however the text arrives.
#include <gtest/gtest.h>

#include <ui/LimitEdit.h>
#include "uikit.h"

namespace {

TEST(LimitEditCut, NeverHalfADoubleByteCharacter) {
  struct {
    const char* text;
    int limit;
    int kept;
  } cases[] = {
      {"abcdef", 4, 4},
      {"abc", 4, 3},
      {"abcd", 4, 4},
      {"日本語", 4, 4},   // two whole characters
      {"日本語", 5, 4},   // the third would be cut in half
      {"a日本", 2, 1},    // a lead byte at the limit's last place
      {"a日本", 3, 3},
      {"ｱｲｳ", 2, 2},      // half-width katakana are single bytes
      {"", 5, 0},
      {"abc", 0, 0},
      {"abc", -3, 0},
  };
  for (auto& c : cases) EXPECT_EQ(LimitEditKeepLength(c.text, c.limit), c.kept) << c.text << " " << c.limit;
  EXPECT_EQ(LimitEditKeepLength(nullptr, 5), 0);
  // A lone lead byte at the very end counts as one byte.
  const char loneLead[] = {'a', (char)0x93, 0};
  EXPECT_EQ(LimitEditKeepLength(loneLead, 5), 2);
}

struct EditHost {
  CWnd host;
  CLimitEdit edit;
  EditHost() {
    host.CreateEx(0, AfxRegisterWndClass(0), "edit host", WS_POPUP | WS_VISIBLE, 50, 50, 300, 60, nullptr, nullptr);
    edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(5, 5, 290, 30), &host, 100);
  }
  ~EditHost() { host.DestroyWindow(); }
  CString Text() {
    CString s;
    edit.GetWindowText(s);
    return s;
  }
};

TEST(LimitEdit, TextPastTheLimitIsCutWithTheCaretAtTheEnd) {
  EditHost h;
  ASSERT_NE(h.edit.GetSafeHwnd(), nullptr);
  h.edit.SetLimitText(10);
  struct {
    const char* text;
    const char* kept;
  } cases[] = {
      {"0123456789ABC", "0123456789"},
      {"写真と動画の取り込み", "写真と動画"},  // ten bytes, five characters
      {"abc写真と動画の", "abc写真と"},         // the fourth character would be cut in half
  };
  for (auto& c : cases) {
    h.edit.SetWindowText(c.text);  // as a paste or a program would put it in
    EXPECT_EQ(h.Text(), CString(c.kept)) << c.text;
    int start = -1, end = -1;
    h.edit.GetSel(start, end);
    EXPECT_EQ(start, end);
    int endStart = -1, endEnd = -1;  // where the caret goes when sent to the end
    h.edit.SetSel(0x7FFF, 0x7FFF);
    h.edit.GetSel(endStart, endEnd);
    EXPECT_EQ(end, endEnd);
  }
  // Within the limit: text and caret stay as they are.
  h.edit.SetWindowText("short");
  h.edit.SetSel(1, 3);
  h.edit.ReplaceSel("OR");
  EXPECT_EQ(h.Text(), CString("sORrt"));
  int start = -1, end = -1;
  h.edit.GetSel(start, end);
  EXPECT_EQ(start, 3);
  EXPECT_EQ(end, 3);
}

}  // namespace
