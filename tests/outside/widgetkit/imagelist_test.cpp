// The image list: its items and their limit, selection by mouse and keys with the notices
// the parent gets, moves inside the list and drops into another list.
#include <gtest/gtest.h>

#include <Widgetkit/ImageListCtrl.h>

#include <pump.h>

#include <string>
#include <vector>

namespace {

// A parent that writes down the notices of its lists.
class NoticeParent : public CWnd {
 public:
  struct Notice {
    HWND from;
    int code, item;
  };
  std::vector<Notice> notices;
  std::vector<int> Codes(HWND from) const {
    std::vector<int> out;
    for (const Notice& n : notices)
      if (n.from == from) out.push_back(n.code);
    return out;
  }

 protected:
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override {
    const NMIMAGELIST* nm = reinterpret_cast<const NMIMAGELIST*>(lParam);
    notices.push_back(Notice{nm->hdr.hwndFrom, (int)nm->hdr.code, nm->iItem});
    *pResult = 0;
    return TRUE;
  }
};

class ImageList : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        parent.CreateEx(0, AfxRegisterWndClass(0), "imagelist", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 400), NULL, 0));
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 300), &parent, 1074));
    list.Init(TRUE, TRUE);
  }
  void TearDown() override { parent.DestroyWindow(); }
  void Fill(CImageListCtrl& l, std::initializer_list<const char*> names) {
    for (const char* n : names) l.AddItem(n, SIZE{640, 480});
  }
  std::vector<std::string> Texts(CImageListCtrl& l) {
    std::vector<std::string> out;
    for (int i = 0; i < l.GetItemCount(); ++i) out.push_back((LPCSTR)l.GetItemText(i));
    return out;
  }
  void Click(int item, UINT keys = 0) {
    CPoint pt = list.GetItemRect(item).CenterPoint();
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(pt.x, pt.y));
  }
  std::vector<int> Selected() {
    std::vector<int> out;
    for (int i = 0; i < list.GetItemCount(); ++i)
      if (list.IsSelected(i)) out.push_back(i);
    return out;
  }
  NoticeParent parent;
  CImageListCtrl list;
};

}  // namespace

TEST_F(ImageList, ItemsTheirLimitAndLookUp) {
  EXPECT_EQ(list.AddItem("", SIZE{1, 1}), -1);
  EXPECT_EQ(list.AddItem(NULL, SIZE{1, 1}), -1);
  Fill(list, {"C:\\p\\A.jpg", "C:\\p\\b.jpg"});
  EXPECT_EQ(list.InsertItem(99, "C:\\p\\c.jpg", SIZE{3, 4}), 2);  // past the end: appended
  EXPECT_EQ(list.InsertItem(-5, "C:\\p\\first.jpg", SIZE{5, 6}), 0);
  EXPECT_EQ(Texts(list),
            (std::vector<std::string>{"C:\\p\\first.jpg", "C:\\p\\A.jpg", "C:\\p\\b.jpg", "C:\\p\\c.jpg"}));
  EXPECT_EQ(list.GetItemSize(3).cx, 3);
  EXPECT_EQ(list.GetItemSize(9).cx, 0);
  EXPECT_EQ(list.FindItem("c:\\P\\a.JPG"), 1);
  EXPECT_EQ(list.FindItem("C:\\p\\none.jpg"), -1);
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_FALSE(list.DeleteItem(3));
  list.DeleteAllItems();
  for (int i = 0; i < CImageListCtrl::kMaxItems; ++i) list.AddItem("C:\\x.jpg", SIZE{1, 1});
  EXPECT_EQ(list.AddItem("C:\\one-too-many.jpg", SIZE{1, 1}), -1);
  EXPECT_EQ(list.GetItemCount(), CImageListCtrl::kMaxItems);
  // The last row can be reached and hit.
  list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
  CRect last = list.GetItemRect(CImageListCtrl::kMaxItems - 1);
  EXPECT_EQ(list.HitTest(last.CenterPoint()), CImageListCtrl::kMaxItems - 1);
}

TEST_F(ImageList, SelectionByMouseAndKeysWithItsNotices) {
  Fill(list, {"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg", "C:\\d.jpg"});
  Click(1);
  EXPECT_EQ(Selected(), std::vector<int>{1});
  EXPECT_EQ(parent.Codes(list.m_hWnd), (std::vector<int>{(int)NM_CLICK, IMLN_SELCHANGED}));
  parent.notices.clear();
  Click(1);  // the same again: a click, no change
  EXPECT_EQ(parent.Codes(list.m_hWnd), std::vector<int>{(int)NM_CLICK});
  Click(3, MK_SHIFT);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
  Click(2, MK_CONTROL);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 3}));
  Click(3);  // a plain click inside a selection of several selects that one alone
  EXPECT_EQ(Selected(), std::vector<int>{3});
  parent.notices.clear();
  list.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(Selected(), std::vector<int>{2});
  EXPECT_EQ(parent.Codes(list.m_hWnd), std::vector<int>{IMLN_SELCHANGED});
  list.SendMessage(WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(Selected(), std::vector<int>{0});
  // Below every item: nothing is selected.
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 290));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 290));
  EXPECT_TRUE(Selected().empty());
  EXPECT_EQ(::SendMessageA(list.m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, (LRESULT)DLGC_WANTARROWS);
}

TEST_F(ImageList, MovesInsideAndDropsIntoAnotherList) {
  Fill(list, {"a", "b", "c", "d", "e"});
  struct Case {
    std::vector<int> selected;
    int before;
    std::vector<std::string> order;
    bool changed;
  } cases[] = {
      {{0}, 5, {"b", "c", "d", "e", "a"}, true},    {{1, 3}, 0, {"b", "d", "a", "c", "e"}, true},
      {{2}, 2, {"a", "b", "c", "d", "e"}, false},  // in place
      {{2}, 3, {"a", "b", "c", "d", "e"}, false},  // just after itself
      {{0, 4}, 2, {"b", "a", "e", "c", "d"}, true}, {{}, 1, {"a", "b", "c", "d", "e"}, false},
  };
  for (const Case& c : cases) {
    list.DeleteAllItems();
    Fill(list, {"a", "b", "c", "d", "e"});
    for (int i : c.selected) list.SetSelected(i, TRUE);
    EXPECT_EQ(list.MoveSelected(c.before) != FALSE, c.changed) << c.before;
    EXPECT_EQ(Texts(list), c.order) << c.before;
  }
  // Where a drop at a point goes: the left half of a cell before its item, the right half
  // after it, below the items at the end.
  int w = CImageListCtrl::kCellWidth, h = CImageListCtrl::kCellHeight;
  EXPECT_EQ(list.InsertionIndex(CPoint(10, 10)), 0);
  EXPECT_EQ(list.InsertionIndex(CPoint(w - 10, 10)), 1);
  EXPECT_EQ(list.InsertionIndex(CPoint(10, h + 10)), 3);  // three to a row
  EXPECT_EQ(list.InsertionIndex(CPoint(10, 5 * h)), 5);

  CImageListCtrl other;
  ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE, CRect(390, 0, 590, 300), &parent, 1075));
  other.Init(TRUE, TRUE);
  other.AddItem("x", SIZE{1, 1});
  list.DeleteAllItems();
  Fill(list, {"a", "b", "c"});
  list.SetSelected(0, TRUE);
  list.SetSelected(2, TRUE);
  parent.notices.clear();
  list.DropSelectedInto(&other, 0);
  EXPECT_EQ(Texts(other), (std::vector<std::string>{"a", "c", "x"}));
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c"}));  // the source keeps its items
  EXPECT_EQ(parent.Codes(other.m_hWnd),
            (std::vector<int>{IMLN_DROPBEGIN, IMLN_ITEMDROPPED, IMLN_ITEMDROPPED, IMLN_DROPEND}));
  ASSERT_EQ(parent.notices.size(), 4u);
  EXPECT_EQ(parent.notices[1].item, 0);
  EXPECT_EQ(parent.notices[2].item, 1);
  EXPECT_EQ(other.GetItemSize(1).cx, 640);
}
