// The multi-selection tree base: visible items only, Ctrl and Shift clicks, the limit of
// 128 (its message box answered), vetoes by the parent.
#include <gtest/gtest.h>

#include <FolderTreePlugin.h>

#include <string>
#include <vector>

#include "dialogwatch.h"

namespace {

class CTestTree : public CCheckTreeCtrl {
 public:
  BOOL Make(CWnd* pParent) {
    m_bMultiSelect = 1;
    return Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_SHOWSELALWAYS, CRect(0, 0, 300, 400), pParent, 100);
  }
};

// The parent: counts the changes and vetoes when asked.
class CTreeParent : public CWnd {
 public:
  int m_changed = 0;
  bool m_veto = false;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY) {
      NMHDR* nm = reinterpret_cast<NMHDR*>(lParam);
      if (nm->code == TVN_SELCHANGINGA) return m_veto;
      if (nm->code == TVN_SELCHANGEDA) ++m_changed;
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

struct Fixture {
  CTreeParent parent;
  CTestTree tree;
  std::vector<HTREEITEM> items;
  Fixture(int n) {
    parent.CreateEx(0, "STATIC", "tree", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 300, 400, nullptr, nullptr);
    tree.Make(&parent);
    for (int i = 0; i < n; ++i) items.push_back(tree.InsertItem(("item" + std::to_string(i)).c_str(), TVI_ROOT));
  }
  ~Fixture() { parent.DestroyWindow(); }
};

// Answers the limit's message box, once.
struct LimitBox {
  testsupport::DialogWatch watch{nullptr, [](HWND) { return true; },
                                 [](HWND box) { ::PostMessageA(box, WM_COMMAND, IDOK, 0); }};
};

TEST(CheckTree, VisibleItemsOnly) {
  Fixture f(2);
  HTREEITEM child = f.tree.InsertItem("child", f.items[0]);
  f.tree.SetItemState(child, TVIS_SELECTED, TVIS_SELECTED);
  f.tree.SetItemState(f.items[1], TVIS_SELECTED, TVIS_SELECTED);
  EXPECT_EQ(f.tree.GetSelectedCount(), 1u);  // the child's parent is collapsed
  f.tree.Expand(f.items[0], TVE_EXPAND);
  EXPECT_EQ(f.tree.GetSelectedCount(), 2u);
  EXPECT_EQ(f.tree.GetFirstSelectedItem(), child);
  EXPECT_EQ(f.tree.GetPrevSelectedItem(f.items[1]), child);
}

TEST(CheckTree, ClicksWithKeys) {
  Fixture f(5);
  f.tree.ClickItem(f.items[1], 0);
  EXPECT_EQ(f.tree.GetSelectedItem(), f.items[1]);
  f.tree.ClickItem(f.items[1], MK_CONTROL);  // the only selection stays
  EXPECT_EQ(f.tree.GetSelectedCount(), 1u);
  f.tree.ClickItem(f.items[3], MK_CONTROL);  // added, the caret moves
  EXPECT_EQ(f.tree.GetSelectedCount(), 2u);
  EXPECT_EQ(f.tree.GetSelectedItem(), f.items[3]);
  f.tree.ClickItem(f.items[3], MK_CONTROL);  // removed: the caret goes to the one before
  EXPECT_EQ(f.tree.GetSelectedCount(), 1u);
  EXPECT_EQ(f.tree.GetSelectedItem(), f.items[1]);
  f.tree.ClickItem(f.items[4], MK_SHIFT);  // the range 1..4
  EXPECT_EQ(f.tree.GetSelectedCount(), 4u);
  EXPECT_EQ(f.tree.GetSelectedItem(), f.items[4]);
  f.tree.ClickItem(f.items[0], 0);  // a plain click keeps only its item
  EXPECT_EQ(f.tree.GetSelectedCount(), 1u);
  // A veto keeps everything as it was.
  f.parent.m_veto = true;
  f.tree.ClickItem(f.items[2], 0);
  f.tree.ClickItem(f.items[3], MK_CONTROL);
  f.tree.ClickItem(f.items[4], MK_SHIFT);
  EXPECT_EQ(f.tree.GetSelectedCount(), 1u);
  EXPECT_EQ(f.tree.GetSelectedItem(), f.items[0]);
}

// An arrow key marks its target before the control moves the caret; when the parent
// refuses the move, the selection is what it was, without a mark on the target.
TEST(CheckTree, VetoedArrowKeyLeavesTheSelection) {
  Fixture f(3);
  f.tree.ClickItem(f.items[0], 0);
  f.parent.m_veto = true;
  f.tree.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(f.tree.GetSelectedItem(), f.items[0]);
  EXPECT_TRUE(f.tree.IsSelected(f.items[0]));
  EXPECT_FALSE(f.tree.IsSelected(f.items[1])) << "no mark where the caret never went";
  f.parent.m_veto = false;
  f.tree.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(f.tree.GetSelectedItem(), f.items[1]);
  EXPECT_EQ(f.tree.GetSelectedCount(), 1u);
  EXPECT_EQ(f.tree.GetFirstSelectedItem(), f.items[1]);
}

TEST(CheckTree, SelectionLimit) {
  Fixture f(200);
  f.tree.ClickItem(f.items[0], 0);
  f.tree.ClickItem(f.items[127], MK_SHIFT);  // 128 items: accepted
  EXPECT_EQ(f.tree.GetSelectedCount(), 128u);
  f.tree.ClickItem(f.items[0], 0);
  {
    LimitBox box;
    f.tree.ClickItem(f.items[128], MK_SHIFT);  // 129: refused
    EXPECT_TRUE(box.watch.Acted());
  }
  EXPECT_EQ(f.tree.GetSelectedCount(), 1u);
  f.tree.ClickItem(f.items[127], MK_SHIFT);
  {
    LimitBox box;
    f.tree.ClickItem(f.items[150], MK_CONTROL);  // a 129th by Ctrl: refused
    EXPECT_TRUE(box.watch.Acted());
  }
  EXPECT_EQ(f.tree.GetSelectedCount(), 128u);
}

}  // namespace
