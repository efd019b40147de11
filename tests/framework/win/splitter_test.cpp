// The static splitter: layout rule, pane ids and positions, hidden panes, hit tests,
// dragging with limits, drawing hooks.
#include <gtest/gtest.h>

#include <climits>

#include "testwin.h"

namespace {

typedef CSplitterWnd::CRowColInfo Info;

TEST(SplitterLayout, IdealSizesFoldedPanesAndTheRest) {
  struct Case {
    std::vector<Info> in;  // {min, ideal, -}
    int nSize, nGap;
    std::vector<int> expected;
  } cases[] = {
      {{{0, 100, 0}, {0, 0, 0}}, 500, 7, {100, 393}},
      {{{150, 100, 0}, {0, 0, 0}}, 500, 7, {0, 493}},                // ideal below minimum: folded
      {{{0, 100, 0}, {0, 100, 0}, {0, 0, 0}}, 250, 10, {100, 100, 30}},
      {{{0, 100, 0}, {0, 100, 0}, {50, 0, 0}}, 250, 10, {100, 130, 0}},  // last below its minimum
      {{{0, 600, 0}, {0, 0, 0}}, 500, 7, {493, 0}},                  // wider than all: the bar stays
      {{{0, 493, 0}, {0, 0, 0}}, 500, 7, {493, 0}},                  // no room left after the gap
      {{{0, 700, 0}, {INT_MAX, 0, 0}}, 800, 15, {785, 0}},           // a pane that may never show
      {{{0, 0, 0}, {0, 0, 0}}, 800, 15, {0, 785}},                   // first folded, the bar stays
      {{{0, 100, 0}, {0, 0, 0}}, -5, 7, {0, 0}},
      {{{0, 0, 0}}, 300, 7, {300}},
  };
  for (auto& c : cases) {
    std::vector<Info> info = c.in;
    AfxSplitterLayout(info.data(), (int)info.size(), c.nSize, c.nGap);
    std::vector<int> cur;
    for (auto& i : info) cur.push_back(i.nCurSize);
    EXPECT_EQ(cur, c.expected) << "size " << c.nSize;
  }
}

// Views that fill themselves with one colour.
class CColorView : public CView {
  DECLARE_DYNCREATE(CColorView)
 public:
  COLORREF m_color = RGB(200, 0, 0);

 protected:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, m_color);
  }
};
IMPLEMENT_DYNCREATE(CColorView, CView)

// Records how the splitter is drawn and narrows drags like a program's splitter does.
class CProbeSplitter : public CSplitterWnd {
 public:
  struct Draw {
    BOOL bDC;
    ESplitType type;
    CRect rect;
  };
  std::vector<Draw> m_draws;
  int m_nRightLimit = 0;

  void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override {
    m_draws.push_back({pDC != nullptr, nType, rect});
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
  }
  void StartTracking(int ht) override {
    CSplitterWnd::StartTracking(ht);
    m_rectLimit.right -= m_nRightLimit;
  }
  // What a derived class does to hide a column: park its panes outside the grid.
  void HideColumn(int col) {
    for (int row = 0; row < m_nRows; row++) {
      CWnd* pPane = GetPane(row, col);
      pPane->ShowWindow(SW_HIDE);
      pPane->SetDlgCtrlID(IdFromRowCol(row, m_nCols));
      for (int c = col + 1; c < m_nCols; c++) GetPane(row, c)->SetDlgCtrlID(IdFromRowCol(row, c - 1));
    }
    m_nCols--;
    RecalcLayout();
  }
};

class CSplitFrame : public CFrameWnd {
 public:
  CProbeSplitter m_wndSplitter;
  int m_nRows = 2, m_nCols = 2;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
    if (!m_wndSplitter.CreateStatic(this, m_nRows, m_nCols)) return FALSE;
    for (int r = 0; r < m_nRows; r++)
      for (int c = 0; c < m_nCols; c++)
        if (!m_wndSplitter.CreateView(r, c, RUNTIME_CLASS(CColorView), CSize(100, 80), nullptr)) return FALSE;
    return TRUE;
  }
};

CSplitFrame* MakeFrame(int nRows, int nCols, int cxClient, int cyClient) {
  CSplitFrame* pFrame = new CSplitFrame;
  pFrame->m_nRows = nRows;
  pFrame->m_nCols = nCols;
  CRect rc(0, 0, cxClient, cyClient);
  ::AdjustWindowRectEx(&rc, WS_POPUP | WS_VISIBLE, FALSE, 0);
  if (!pFrame->Create(nullptr, "splitter", WS_POPUP | WS_VISIBLE, CRect(10, 10, 10 + rc.Width(), 10 + rc.Height())))
    return nullptr;
  fwtest::PumpPending();
  return pFrame;
}

CRect PaneRect(CSplitterWnd& s, int row, int col) {
  CRect rc;
  s.GetPane(row, col)->GetWindowRect(&rc);
  s.ScreenToClient(&rc);
  return rc;
}

TEST(Splitter, PaneIdsPositionsAndSizes) {
  CSplitFrame* pFrame = MakeFrame(2, 3, 600, 400);
  ASSERT_NE(pFrame, nullptr);
  CProbeSplitter& s = pFrame->m_wndSplitter;
  for (int r = 0; r < 2; r++) {
    for (int c = 0; c < 3; c++) {
      CWnd* pPane = s.GetPane(r, c);
      ASSERT_NE(pPane, nullptr);
      EXPECT_EQ(pPane->GetDlgCtrlID(), 0xE900 + 16 * r + c);
      EXPECT_EQ(s.IdFromRowCol(r, c), 0xE900 + 16 * r + c);
      int row = -1, col = -1;
      EXPECT_TRUE(s.IsChildPane(pPane, &row, &col));
      EXPECT_EQ(row, r);
      EXPECT_EQ(col, c);
    }
  }
  struct {
    int ideal0, min0, ideal1, min1;
    int cx0, cx1, cx2;
  } cases[] = {
      // inside width 600 - 2 * 2 = 596; two gaps of 7
      {100, 0, 100, 0, 100, 100, 382},
      {50, 60, 200, 0, 0, 200, 382},   // column 0 folded: below its minimum
      {400, 0, 300, 0, 400, 182, 0},   // no room left for the last one; its bar stays
  };
  for (auto& c : cases) {
    s.SetColumnInfo(0, c.ideal0, c.min0);
    s.SetColumnInfo(1, c.ideal1, c.min1);
    s.RecalcLayout();
    int cur, min;
    s.GetColumnInfo(0, cur, min);
    EXPECT_EQ(cur, c.cx0);
    EXPECT_EQ(min, c.min0);
    s.GetColumnInfo(1, cur, min);
    EXPECT_EQ(cur, c.cx1);
    s.GetColumnInfo(2, cur, min);
    EXPECT_EQ(cur, c.cx2);
    // Panes sit at border + the columns before them + gaps.
    EXPECT_EQ(PaneRect(s, 1, 1).left, 2 + c.cx0 + 7);
    EXPECT_EQ(PaneRect(s, 1, 1).Width(), c.cx1);
  }
  s.SetRowInfo(0, 150, 20);
  s.RecalcLayout();
  int cy, cyMin;
  s.GetRowInfo(1, cy, cyMin);
  EXPECT_EQ(cy, 396 - 150 - 7);
  EXPECT_EQ(PaneRect(s, 1, 0).top, 2 + 150 + 7);
  pFrame->DestroyWindow();
}

TEST(Splitter, HiddenColumnLeavesTheGridAndTheRestFillsIt) {
  CSplitFrame* pFrame = MakeFrame(1, 2, 500, 300);
  ASSERT_NE(pFrame, nullptr);
  CProbeSplitter& s = pFrame->m_wndSplitter;
  s.SetColumnInfo(0, 200, 0);
  s.RecalcLayout();
  CWnd* pSecond = s.GetPane(0, 1);
  CWnd* pFirst = s.GetPane(0, 0);
  CRect rcParked = PaneRect(s, 0, 1);
  s.HideColumn(0);
  EXPECT_EQ(s.GetColumnCount(), 1);
  EXPECT_EQ(s.GetPane(0, 0), pSecond);
  EXPECT_EQ(pFirst->GetDlgCtrlID(), s.IdFromRowCol(0, 2));  // parked past the grid
  EXPECT_EQ(PaneRect(s, 0, 0), CRect(2, 2, 498, 298));  // the remaining column fills the splitter
  EXPECT_FALSE(pFirst->IsWindowVisible());
  (void)rcParked;
  pFrame->DestroyWindow();
}

TEST(Splitter, HitTestCodes) {
  CSplitFrame* pFrame = MakeFrame(2, 2, 400, 300);
  ASSERT_NE(pFrame, nullptr);
  CProbeSplitter& s = pFrame->m_wndSplitter;
  s.SetColumnInfo(0, 100, 0);
  s.SetRowInfo(0, 80, 0);
  s.RecalcLayout();
  // Column bar: x 102..108, row bar: y 82..88.
  struct {
    CPoint pt;
    int ht;
  } cases[] = {
      {{102, 200}, 201}, {{108, 200}, 201}, {{101, 200}, 0}, {{109, 200}, 0},
      {{300, 82}, 101},  {{300, 88}, 101},  {{105, 85}, 301}, {{50, 50}, 0},
      {{-1, -1}, 0},     {{500, 85}, 0},
  };
  for (auto& c : cases) EXPECT_EQ(s.HitTest(c.pt), c.ht) << c.pt.x << "," << c.pt.y;
  pFrame->DestroyWindow();
}

TEST(Splitter, DraggingABarSetsTheIdealSizeWithinTheLimits) {
  CSplitFrame* pFrame = MakeFrame(2, 2, 800, 400);
  ASSERT_NE(pFrame, nullptr);
  CProbeSplitter& s = pFrame->m_wndSplitter;
  s.SetColumnInfo(0, 200, 30);
  s.SetRowInfo(0, 100, 0);
  s.RecalcLayout();
  struct {
    int nRightLimit;
    CPoint from, to;
    int cx0;
  } cases[] = {
      {0, {204, 300}, {254, 300}, 250},   // 50 to the right
      {0, {254, 300}, {154, 10}, 150},    // back 100; y doesn't matter
      {0, {154, 300}, {-50, 300}, 0},     // to the left edge: folded
      {0, {4, 300}, {2000, 300}, 789},    // right: the bar stays inside
      {500, {791, 300}, {700, 300}, 289}, // a derived limit keeps 500 pixels on the right
  };
  for (auto& c : cases) {
    s.m_nRightLimit = c.nRightLimit;
    EXPECT_EQ(s.HitTest(c.from), 201) << c.from.x;
    fwtest::DragMouse(s, c.from, c.to);
    EXPECT_FALSE(s.IsTracking());
    int cur, min;
    s.GetColumnInfo(0, cur, min);
    EXPECT_EQ(cur, c.cx0) << c.to.x;
  }
  // Rows: from the bar at y 102 down 30.
  s.m_nRightLimit = 0;
  fwtest::DragMouse(s, CPoint(400, 104), CPoint(400, 134));
  int cy, cyMin;
  s.GetRowInfo(0, cy, cyMin);
  EXPECT_EQ(cy, 130);
  // A press and release without a move changes nothing.
  fwtest::DragMouse(s, CPoint(400, 134), CPoint(400, 134));
  s.GetRowInfo(0, cy, cyMin);
  EXPECT_EQ(cy, 130);
  // The keyboard: arrows move the bars 8 pixels, Enter takes the place, Esc gives up.
  int cx0, cxMin;
  s.GetColumnInfo(0, cx0, cxMin);
  ASSERT_TRUE(s.DoKeyboardSplit());
  EXPECT_TRUE(s.IsTracking());
  s.SendMessage(WM_KEYDOWN, VK_RIGHT);
  s.SendMessage(WM_KEYDOWN, VK_RIGHT);
  s.SendMessage(WM_KEYDOWN, VK_UP);
  s.SendMessage(WM_KEYDOWN, VK_RETURN);
  EXPECT_FALSE(s.IsTracking());
  int cx1;
  s.GetColumnInfo(0, cx1, cxMin);
  s.GetRowInfo(0, cy, cyMin);
  EXPECT_EQ(cx1, cx0 + 16);
  EXPECT_EQ(cy, 122);
  ASSERT_TRUE(s.DoKeyboardSplit());
  s.SendMessage(WM_KEYDOWN, VK_LEFT);
  s.SendMessage(WM_KEYDOWN, VK_ESCAPE);
  s.GetColumnInfo(0, cx0, cxMin);
  EXPECT_EQ(cx0, cx1);
  pFrame->DestroyWindow();
}

TEST(Splitter, BarsAreDrawnThroughTheVirtualHookNullMeansInvalidate) {
  CSplitFrame* pFrame = MakeFrame(1, 2, 400, 300);
  ASSERT_NE(pFrame, nullptr);
  CProbeSplitter& s = pFrame->m_wndSplitter;
  s.m_cxSplitter = s.m_cxSplitterGap = 15;
  s.SetColumnInfo(0, 100, 0);
  s.m_draws.clear();
  s.RecalcLayout();
  ASSERT_FALSE(s.m_draws.empty());
  EXPECT_FALSE(s.m_draws[0].bDC);
  EXPECT_EQ(s.m_draws[0].type, CSplitterWnd::splitBar);
  EXPECT_EQ(s.m_draws[0].rect, CRect(102, 0, 117, 300));
  s.m_draws.clear();
  s.UpdateWindow();
  bool bBarWithDC = false;
  for (auto& d : s.m_draws) bBarWithDC |= d.bDC && d.type == CSplitterWnd::splitBar;
  EXPECT_TRUE(bBarWithDC);
  pFrame->DestroyWindow();
}

}  // namespace
