// The dynamic splitter: creation and its failures, bar sizes, hiding and showing a
// column and a row (ids, parking, layout, activation), sub-divisions, swapped views,
// inert bars and drag limits.
#include <gtest/gtest.h>

#include <DynamicSplitterWnd.h>

#include "uikit.h"

namespace {

class CPaneView : public CView {
  DECLARE_DYNCREATE(CPaneView)
 protected:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(0, 0, 160));
  }
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

// A view whose window refuses to be made.
class CRefusingView : public CView {
  DECLARE_DYNCREATE(CRefusingView)
 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRefusingView, CView)
BEGIN_MESSAGE_MAP(CRefusingView, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

// A frame whose client is one dynamic splitter; the test says how it is made.
class CHostFrame : public CFrameWnd {
 public:
  CDynamicSplitterWnd m_split;
  std::function<bool(CHostFrame*)> m_build;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override { return m_build(this) ? TRUE : FALSE; }
};

CHostFrame* MakeFrame(std::function<bool(CHostFrame*)> build, int cx = 600, int cy = 400) {
  CHostFrame* pFrame = new CHostFrame;
  pFrame->m_build = std::move(build);
  if (!pFrame->Create(nullptr, "dynsplit", WS_POPUP | WS_VISIBLE, CRect(20, 20, 20 + cx, 20 + cy))) return nullptr;
  uikit::PumpPending();
  return pFrame;
}

CRect PaneRect(CSplitterWnd& s, CWnd* pPane) {
  CRect rc;
  pPane->GetWindowRect(&rc);
  s.ScreenToClient(&rc);
  return rc;
}

// The browser area as the main frame makes it: strip (36 high) over the base view.
bool BuildRows(CHostFrame* f) {
  CSize strip(545, 36), base(545, 300);
  if (!f->m_split.Create(f, RUNTIME_CLASS(CPaneView), &strip, RUNTIME_CLASS(CPaneView), &base, nullptr, false,
                         AFX_IDW_PANE_FIRST))
    return false;
  f->m_split.SetSplitterBarSize(0, 0);
  return true;
}

bool BuildColumns(CHostFrame* f) {
  CSize left(200, 100), right(200, 100);
  return f->m_split.Create(f, RUNTIME_CLASS(CPaneView), &left, RUNTIME_CLASS(CPaneView), &right, nullptr, true,
                           AFX_IDW_PANE_FIRST);
}

TEST(DynamicSplitter, ConstructionAndBarSizes) {
  CDynamicSplitterWnd s;
  EXPECT_EQ(s.m_cxSplitter, 0);
  EXPECT_EQ(s.m_cxSplitterGap, 1);
  EXPECT_EQ(s.m_cyBorder, 0);
  EXPECT_EQ(s.GetHiddenColumn(), -1);
  EXPECT_EQ(s.GetHiddenRow(), -1);
  EXPECT_FALSE(s.IsSideBySide());
  EXPECT_TRUE(s.IsResizeEnable());
  struct {
    int cx, cy;
    int cxBar, cyBar;
  } cases[] = {
      {0, 0, 1, 1},   // 0 counts as 1
      {-1, 5, 1, 5},  // negative: that axis stays
      {7, -3, 7, 5},
      {4, 0, 4, 1},
  };
  for (auto& c : cases) {
    s.SetSplitterBarSize(c.cx, c.cy);
    EXPECT_EQ(s.m_cxSplitter, c.cxBar);
    EXPECT_EQ(s.m_cxSplitterGap, c.cxBar);
    EXPECT_EQ(s.m_cySplitter, c.cyBar);
    EXPECT_EQ(s.m_cySplitterGap, c.cyBar);
  }
}

TEST(DynamicSplitter, CreateMakesTwoPanesAndReportsFailures) {
  CHostFrame* pFrame = MakeFrame(BuildColumns);
  ASSERT_NE(pFrame, nullptr);
  CDynamicSplitterWnd& s = pFrame->m_split;
  EXPECT_TRUE(s.IsSideBySide());
  EXPECT_EQ(s.GetRowCount(), 1);
  EXPECT_EQ(s.GetColumnCount(), 2);
  EXPECT_EQ(s.GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  ASSERT_NE(s.GetPane(0, 0), nullptr);
  ASSERT_NE(s.GetPane(0, 1), nullptr);
  EXPECT_EQ(s.GetPane(0, 1)->GetDlgCtrlID(), 0xE901);
  EXPECT_EQ(PaneRect(s, s.GetPane(0, 0)), CRect(0, 0, 200, 400));  // no border
  EXPECT_EQ(PaneRect(s, s.GetPane(0, 1)).left, 201);              // one-pixel gap
  pFrame->DestroyWindow();

  // Without a parent, or with a view that cannot be made, Create says so and leaves no window.
  CDynamicSplitterWnd orphan;
  EXPECT_FALSE(orphan.Create(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false, AFX_IDW_PANE_FIRST));
  CDynamicSplitterWnd* pLeft = nullptr;
  struct {
    CRuntimeClass* v1;
    CRuntimeClass* v2;
  } failing[] = {{RUNTIME_CLASS(CRefusingView), RUNTIME_CLASS(CPaneView)},
                 {RUNTIME_CLASS(CPaneView), RUNTIME_CLASS(CRefusingView)}};
  for (auto& c : failing) {
    bool result = true;
    CHostFrame* pHost = MakeFrame([&](CHostFrame* f) {
      result = f->m_split.Create(f, c.v1, nullptr, c.v2, nullptr, nullptr, false, AFX_IDW_PANE_FIRST);
      pLeft = &f->m_split;
      return true;
    });
    ASSERT_NE(pHost, nullptr);
    EXPECT_FALSE(result);
    EXPECT_EQ(pLeft->GetSafeHwnd(), nullptr);
    pHost->DestroyWindow();
  }
}

TEST(DynamicSplitter, HiddenColumnParksItsPaneAndComesBack) {
  CHostFrame* pFrame = MakeFrame(BuildColumns);
  ASSERT_NE(pFrame, nullptr);
  CDynamicSplitterWnd& s = pFrame->m_split;
  CWnd* pLeft = s.GetPane(0, 0);
  CWnd* pRight = s.GetPane(0, 1);
  // The hidden pane is the active one: activation goes to the visible pane.
  pFrame->SetActiveView(static_cast<CView*>(pRight));
  s.HideColumn(1);
  EXPECT_EQ(s.GetColumnCount(), 1);
  EXPECT_EQ(s.GetHiddenColumn(), 1);
  EXPECT_EQ(pRight->GetDlgCtrlID(), 0xE902);  // parked at (0, column count before the hide)
  EXPECT_FALSE(pRight->IsWindowVisible());
  EXPECT_EQ(PaneRect(s, pLeft), CRect(0, 0, 600, 400));  // the rest fills the splitter
  EXPECT_EQ(pFrame->GetActiveView(), pLeft);
  int row, col;
  EXPECT_EQ(s.GetActivePane(&row, &col), pLeft);
  // The parked pane is never the active pane.
  pRight->SetFocus();
  pFrame->SetActiveView(nullptr);
  EXPECT_EQ(s.GetActivePane(&row, &col), nullptr);
  EXPECT_EQ(row, -1);
  EXPECT_EQ(col, -1);
  // A second hide changes nothing; so does hiding a column past the grid.
  s.HideColumn(1);
  s.HideColumn(0);
  EXPECT_EQ(s.GetColumnCount(), 1);
  EXPECT_EQ(pLeft->GetDlgCtrlID(), 0xE900);
  s.ShowColumn();
  EXPECT_EQ(s.GetColumnCount(), 2);
  EXPECT_EQ(s.GetHiddenColumn(), -1);
  EXPECT_EQ(s.GetPane(0, 1), pRight);
  EXPECT_TRUE(pRight->IsWindowVisible());
  EXPECT_EQ(PaneRect(s, pLeft).Width(), 200);  // its size came back with it
  s.ShowColumn();                               // nothing hidden: nothing happens
  EXPECT_EQ(s.GetColumnCount(), 2);
  // Hiding the first column: the second moves to id 0xE900, and back afterwards.
  pFrame->SetActiveView(static_cast<CView*>(pLeft));
  s.HideColumn(0);
  EXPECT_EQ(s.GetPane(0, 0), pRight);
  EXPECT_EQ(pLeft->GetDlgCtrlID(), 0xE902);
  EXPECT_EQ(pFrame->GetActiveView(), pRight);
  s.ShowColumn();
  EXPECT_EQ(s.GetPane(0, 0), pLeft);
  EXPECT_EQ(s.GetPane(0, 1), pRight);
  pFrame->DestroyWindow();
}

TEST(DynamicSplitter, HiddenStripRowLetsTheBaseViewFillAndComesBackAt36) {
  CHostFrame* pFrame = MakeFrame(BuildRows);
  ASSERT_NE(pFrame, nullptr);
  CDynamicSplitterWnd& s = pFrame->m_split;
  CWnd* pStrip = s.GetPane(0, 0);
  CWnd* pBase = s.GetPane(1, 0);
  EXPECT_EQ(PaneRect(s, pStrip), CRect(0, 0, 600, 36));
  EXPECT_EQ(PaneRect(s, pBase), CRect(0, 37, 600, 400));

  s.ShowRow();           // nothing hidden
  s.HideRow(pFrame);     // not a pane of column 0
  EXPECT_EQ(s.GetRowCount(), 2);
  EXPECT_EQ(s.GetHiddenRow(), -1);

  pFrame->SetActiveView(static_cast<CView*>(pStrip));
  s.HideRow(pStrip);
  EXPECT_EQ(s.GetRowCount(), 1);
  EXPECT_EQ(s.GetHiddenRow(), 0);
  EXPECT_EQ(pStrip->GetDlgCtrlID(), 0xE920);  // parked at (row count before the hide, 0)
  EXPECT_EQ(s.GetPane(0, 0), pBase);
  EXPECT_EQ(PaneRect(s, pBase), CRect(0, 0, 600, 400));
  EXPECT_EQ(pFrame->GetActiveView(), pBase);
  s.HideRow(pBase);  // a row is hidden already
  EXPECT_EQ(s.GetRowCount(), 1);
  s.ShowRow();
  EXPECT_EQ(s.GetRowCount(), 2);
  EXPECT_EQ(s.GetPane(0, 0), pStrip);
  EXPECT_EQ(s.GetPane(1, 0), pBase);
  EXPECT_TRUE(pStrip->IsWindowVisible());
  EXPECT_EQ(PaneRect(s, pStrip), CRect(0, 0, 600, 36));
  EXPECT_EQ(PaneRect(s, pBase), CRect(0, 37, 600, 400));
  pFrame->DestroyWindow();
}

TEST(DynamicSplitter, HiddenRowOfAGridKeepsEveryColumnsPane) {
  CHostFrame* pFrame = MakeFrame([](CHostFrame* f) {
    CDynamicSplitterWnd& s = f->m_split;
    if (!s.CreateStatic(f, 3, 2)) return false;
    for (int r = 0; r < 3; r++)
      for (int c = 0; c < 2; c++)
        if (!s.CreateView(r, c, RUNTIME_CLASS(CPaneView), CSize(150, 60 + 10 * r), nullptr)) return false;
    return true;
  });
  ASSERT_NE(pFrame, nullptr);
  CDynamicSplitterWnd& s = pFrame->m_split;
  CWnd* panes[3][2];
  for (int r = 0; r < 3; r++)
    for (int c = 0; c < 2; c++) panes[r][c] = s.GetPane(r, c);
  s.HideRow(5);  // outside the rows
  EXPECT_EQ(s.GetHiddenRow(), -1);
  s.HideRow(1);
  EXPECT_EQ(s.GetRowCount(), 2);
  for (int c = 0; c < 2; c++) {
    EXPECT_EQ(s.GetPane(0, c), panes[0][c]);
    EXPECT_EQ(s.GetPane(1, c), panes[2][c]);
    EXPECT_EQ(panes[1][c]->GetDlgCtrlID(), s.IdFromRowCol(3, c));
    EXPECT_FALSE(panes[1][c]->IsWindowVisible());
  }
  EXPECT_EQ(PaneRect(s, panes[0][0]).Height(), 60);
  s.ShowRow();
  for (int r = 0; r < 3; r++)
    for (int c = 0; c < 2; c++) {
      EXPECT_EQ(s.GetPane(r, c), panes[r][c]) << r << "," << c;
      EXPECT_TRUE(panes[r][c]->IsWindowVisible());
    }
  EXPECT_EQ(PaneRect(s, panes[1][1]).Height(), 70);
  pFrame->DestroyWindow();
}

// The view splitter of the browser: icon view beside enlarged view over focus view.
TEST(DynamicSplitter, SubDivisionInAColumnAndActivationOutOfIt) {
  CDynamicSplitterWnd* pSub = nullptr;
  CHostFrame* pFrame = MakeFrame([&](CHostFrame* f) {
    CSize icons(300, 400), right(300, 400), enlarged(300, 270), focus(300, 130);
    if (!f->m_split.Create(f, RUNTIME_CLASS(CPaneView), &icons, nullptr, &right, nullptr, true, AFX_IDW_PANE_FIRST))
      return false;
    f->m_split.SetColumnInfo(1, 300, 0);
    pSub = f->m_split.AddSubDivision(0, 1, RUNTIME_CLASS(CPaneView), &enlarged, RUNTIME_CLASS(CPaneView), &focus,
                                     nullptr, false);
    return pSub != nullptr;
  });
  ASSERT_NE(pFrame, nullptr);
  CDynamicSplitterWnd& s = pFrame->m_split;
  ASSERT_NE(pSub, nullptr);
  EXPECT_EQ(s.GetSubDivision(1), pSub);
  EXPECT_EQ(s.GetSubDivision(0), nullptr);
  EXPECT_EQ(pSub->GetLevel(), 1);
  EXPECT_FALSE(pSub->IsSideBySide());
  EXPECT_EQ(pSub->GetDlgCtrlID(), 0xE901);
  EXPECT_EQ(s.GetPane(0, 1), pSub);
  s.RecalcLayout();
  EXPECT_EQ(PaneRect(s, pSub), CRect(301, 0, 600, 400));
  pSub->SplitterWndSize(270, 200);

  // The enlarged view inside the sub-division is active; hiding the column moves
  // activation to the icon view.
  CView* pEnlarged = static_cast<CView*>(pSub->GetPane(0, 0));
  pFrame->SetActiveView(pEnlarged);
  int row, col;
  EXPECT_EQ(s.GetActivePane(&row, &col), pEnlarged);
  EXPECT_EQ(col, 1);
  s.HideColumn(1);
  EXPECT_EQ(pFrame->GetActiveView(), s.GetPane(0, 0));
  s.ShowColumn();
  EXPECT_EQ(s.GetPane(0, 1), pSub);

  // A sub-division of a view that fails: nothing is added.
  CDynamicSplitterWnd* pBad = s.AddSubDivision(0, RUNTIME_CLASS(CRefusingView), nullptr, nullptr, nullptr, nullptr, true);
  EXPECT_EQ(pBad, nullptr);
  EXPECT_EQ(s.GetSubDivision(0), nullptr);
  pFrame->DestroyWindow();
}

TEST(DynamicSplitter, AddViewSwapsThePaneAndKeepsTheOldOneHidden) {
  CHostFrame* pFrame = MakeFrame(BuildRows);
  ASSERT_NE(pFrame, nullptr);
  CDynamicSplitterWnd& s = pFrame->m_split;
  CWnd* pOld = s.GetPane(1, 0);
  EXPECT_EQ(s.AddView(1, RUNTIME_CLASS(CPaneView), nullptr), 0);
  CWnd* pFirst = s.GetPane(1, 0);
  ASSERT_NE(pFirst, nullptr);
  EXPECT_NE(pFirst, pOld);
  EXPECT_EQ(pOld->GetDlgCtrlID(), 0);
  EXPECT_FALSE(pOld->IsWindowVisible());
  EXPECT_EQ(s.GetView(1, 0), pFirst);
  EXPECT_EQ(PaneRect(s, pFirst), CRect(0, 37, 600, 400));  // laid out, not left at 10 x 10
  EXPECT_EQ(PaneRect(s, s.GetPane(0, 0)).Height(), 36);    // the strip keeps its size
  EXPECT_EQ(s.AddView(1, RUNTIME_CLASS(CPaneView), nullptr), 1);
  EXPECT_EQ(s.GetLastViewIndex(1), 1);
  EXPECT_EQ(pFirst->GetDlgCtrlID(), 0);
  // A view that cannot be made: -1, and the pane that was there shows again.
  CWnd* pSecond = s.GetPane(1, 0);
  EXPECT_EQ(s.AddView(1, RUNTIME_CLASS(CRefusingView), nullptr), -1);
  EXPECT_EQ(s.GetPane(1, 0), pSecond);
  EXPECT_TRUE(pSecond->IsWindowVisible());
  EXPECT_EQ(s.GetViewCount(1), 2);
  EXPECT_FALSE(s.HideView(3, 0));
  EXPECT_TRUE(s.HideView(1, 0));
  EXPECT_EQ(s.GetPane(1, 0), nullptr);
  EXPECT_TRUE(s.ShowView(1, 0, pSecond));
  EXPECT_EQ(s.GetPane(1, 0), pSecond);
  pFrame->DestroyWindow();
}

TEST(DynamicSplitter, DragLimitsAndInertBars) {
  CHostFrame* pFrame = MakeFrame(
      [](CHostFrame* f) {
        CSize top(400, 300), bottom(400, 200);
        if (!f->m_split.Create(f, RUNTIME_CLASS(CPaneView), &top, RUNTIME_CLASS(CPaneView), &bottom, nullptr, false,
                               AFX_IDW_PANE_FIRST))
          return false;
        f->m_split.SetSplitterBarSize(-1, 6);
        return true;
      },
      400, 600);
  ASSERT_NE(pFrame, nullptr);
  CDynamicSplitterWnd& s = pFrame->m_split;
  s.SplitterWndSize(270, 200);
  struct {
    int toY;
    int cy0;
  } cases[] = {
      {0, 270},    // stops 270 below the top
      {330, 330},  // free in between
      {590, 400},  // stops 200 above the bottom
  };
  for (auto& c : cases) {
    int cy, cyMin;
    s.GetRowInfo(0, cy, cyMin);
    fwtest::DragMouse(s, CPoint(200, cy), CPoint(200, c.toY));  // the bar's first line: no offset
    s.GetRowInfo(0, cy, cyMin);
    EXPECT_EQ(cy, c.cy0) << c.toY;
  }
  // Inert bars: the splitter is "nowhere" for the mouse, so no cursor and no drag.
  CPoint bar(200, 402);
  s.ClientToScreen(&bar);
  EXPECT_EQ(s.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(bar.x, bar.y)), HTCLIENT);
  s.SetResizeEnable(false);
  EXPECT_FALSE(s.IsResizeEnable());
  EXPECT_EQ(s.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(bar.x, bar.y)), HTNOWHERE);
  s.SetResizeEnable(true);
  pFrame->DestroyWindow();
}

}  // namespace
