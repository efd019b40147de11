// The toolbar's item list driven by messages: rows, states, check marks, what a click and
// a drop report to the parent.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <MainWndMessages.h>
#include <VxResourceIds.h>

#include <string>
#include <vector>

#include "ToolItemListWnd.h"
#include "filedrop.h"
#include "picture.h"

namespace {

struct Got {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class CParent : public CWnd {
 public:
  std::vector<Got> m_got;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND || message == WM_TOOL_LIST_SELECT || message == WM_DROPFILES) {
      m_got.push_back({message, wParam, lParam});
      if (message == WM_DROPFILES) ::DragFinish((HDROP)wParam);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

HDROP OneFileDrop() { return (HDROP)testsupport::MakeFileDrop({"C:\\pics\\a.jpg"}); }

class ItemList : public testing::Test {
 protected:
  void SetUp() override {
    m_parent.CreateEx(0, "STATIC", "parent", WS_POPUP, 50, 50, 400, 100, nullptr, nullptr);
    for (int key : {101, 102, 103}) m_list.AddItem(IDB_TB_ITEM, IDB_TB_ITEM_PRESSED, IDB_TB_ITEM_HOT, IDB_TB_ITEM, key);
    ASSERT_TRUE(m_list.Create(CPoint(20, 30), CSize(118, 29), &m_parent, 1, 100));
    m_list.SetItemLabel(101, "one");
    m_list.SetItemLabel(102, "two", 1);
    m_list.SetItemLabel(103, "three");
    m_list.SetItemState(103, TOOLLIST_ITEM_DISABLED);
    m_list.ShowAt(m_list.GetPosition());
  }
  void TearDown() override {
    m_list.DestroyWindow();
    m_parent.DestroyWindow();
  }
  CParent m_parent;
  CToolItemListWnd m_list;
};

TEST_F(ItemList, StatesAndChecks) {
  CRect rc;
  m_list.GetWindowRect(&rc);
  EXPECT_EQ(rc, CRect(70, 80, 70 + 120, 80 + 3 * 29 + 2));
  EXPECT_FALSE(m_list.GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_EQ(m_list.IsItemEnabled(101), 1);
  EXPECT_EQ(m_list.IsItemEnabled(103), 2);
  EXPECT_EQ(m_list.GetRow(2).current, (UINT)IDB_TB_ITEM);
  // 11 and 12 change the state alone; other codes nothing.
  struct {
    int code;
    int enabled;
  } codes[] = {{TOOLLIST_ITEM_DISABLE_ONLY, 2}, {7, 2}, {TOOLLIST_ITEM_ENABLE_ONLY, 1}, {TOOLLIST_ITEM_DISABLED, 2},
               {TOOLLIST_ITEM_NORMAL, 1}};
  for (auto& c : codes) {
    m_list.SetItemState(101, c.code);
    EXPECT_EQ(m_list.IsItemEnabled(101), c.enabled) << c.code;
  }
  EXPECT_EQ(m_list.IsItemEnabled(999), 2);
  EXPECT_TRUE(m_list.GetRow(1).checkable);
  m_list.CheckOnly(102);
  EXPECT_TRUE(m_list.GetRow(1).checked);
  EXPECT_FALSE(m_list.GetRow(0).checked);
  m_list.CheckOnly(555);  // no such row: every mark goes
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(m_list.GetRow(i).checked);
  m_list.CheckOnly(102);
  m_list.UpdateWindow();  // the check mark, the disabled row, the labels: painted without a fault
}

TEST_F(ItemList, HoverAndClicksReportTheRow) {
  m_list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 35));
  EXPECT_EQ(m_list.GetRow(1).current, (UINT)IDB_TB_ITEM_HOT);
  m_list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 65));  // disabled: no hover
  EXPECT_EQ(m_list.GetRow(2).current, (UINT)IDB_TB_ITEM);
  EXPECT_EQ(m_list.GetRow(1).current, (UINT)IDB_TB_ITEM);
  m_list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 65));
  EXPECT_TRUE(m_list.IsWindowVisible());
  EXPECT_TRUE(m_parent.m_got.empty());

  // A checkable row toggles; the parent hears the command, then 4357 with the owner code.
  m_list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 35));
  EXPECT_FALSE(m_list.IsWindowVisible());
  EXPECT_TRUE(m_list.GetRow(1).checked);
  EXPECT_EQ(m_list.GetRow(1).current, (UINT)IDB_TB_ITEM);
  ASSERT_EQ(m_parent.m_got.size(), 2u);
  EXPECT_EQ(m_parent.m_got[0].message, (UINT)WM_COMMAND);
  EXPECT_EQ(m_parent.m_got[0].wParam, 102u);
  EXPECT_EQ(m_parent.m_got[0].lParam, (LPARAM)m_list.m_hWnd);
  EXPECT_EQ(m_parent.m_got[1].message, (UINT)WM_TOOL_LIST_SELECT);
  EXPECT_EQ(m_parent.m_got[1].wParam, 100u);
  EXPECT_EQ(m_parent.m_got[1].lParam, 102);
  m_list.ShowAt(m_list.GetPosition());
  m_list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 35));
  EXPECT_FALSE(m_list.GetRow(1).checked);
}

TEST_F(ItemList, DropsGoToTheRowUnderTheCursor) {
  CRect rc;
  m_list.GetWindowRect(&rc);
  // Outside every row: the list only hides.
  ::SetCursorPos(rc.right + 100, rc.bottom + 100);
  m_list.SendMessage(WM_DROPFILES, (WPARAM)OneFileDrop(), 0);
  EXPECT_FALSE(m_list.IsWindowVisible());
  EXPECT_TRUE(m_parent.m_got.empty());
  // On the first row: the files, then the row's command and 4357.
  m_list.ShowAt(m_list.GetPosition());
  ::SetCursorPos(rc.left + 10, rc.top + 10);
  m_list.SendMessage(WM_DROPFILES, (WPARAM)OneFileDrop(), 0);
  EXPECT_FALSE(m_list.IsWindowVisible());
  std::vector<UINT> messages;
  for (const Got& g : m_parent.m_got) messages.push_back(g.message);
  EXPECT_EQ(messages, (std::vector<UINT>{WM_DROPFILES, WM_COMMAND, WM_TOOL_LIST_SELECT}));
  EXPECT_EQ(m_parent.m_got[1].wParam, 101u);
}

}  // namespace

namespace {

// A screenshot in the test's own process: the row under the mouse in its hover face and
// dark label, the check mark of a checked row, the pale label of the disabled row.
TEST_F(ItemList, Screenshot) {
  const COLORREF check = RGB(0x2D, 0x7C, 0x9C);
  m_list.SetTextColor(RGB(255, 255, 255));
  m_list.SetCheckColor(check);
  m_list.SetAlignment(20);
  m_list.CheckOnly(102);
  // Shown without the focus: the picture waits for paints, and meanwhile neither another
  // program taking the focus (which hides the list) nor the leave timer (which takes the
  // hover away when the cursor is elsewhere) may change what it shows.
  ::SetFocus(NULL);
  m_list.ShowAt(m_list.GetPosition(), FALSE);
  m_list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(60, 10));
  testsupport::Picture pic(m_list.m_hWnd, testsupport::Picture::kClient);
  pic.Save("toolbar-item-list");
  CRect row0(0, 0, 118, 29), row1(0, 29, 118, 58), row2(0, 58, 118, 87);
  EXPECT_GT(pic.CountDark(row0, 450), 10) << "the hovered row's label, dark";
  CRect mark(5, 29 + 10, 17, 29 + 19);
  EXPECT_GT(pic.CountNear(mark, check, 40), 6) << "the check mark";
  EXPECT_EQ(pic.CountNear(CRect(0, 29, 5, 58), check, 40), 0) << "left of the mark";
  CRect label2(4, 60, 114, 84);  // inside the separators
  EXPECT_GT(pic.CountDark(label2, 640), 3) << "the disabled row's label";
  EXPECT_EQ(pic.CountDark(label2, 400), 0) << "pale";
  EXPECT_GT(pic.CountNear(CRect(119, 4, 120, 80), RGB(79, 109, 146), 10), 20) << "the shadow";
}

}  // namespace
