// Tool bars: buttons and images from a strip, the fixed size, idle updates from command
// handlers, tooltips from command strings and fly-by prompts to the owner.
#include <gtest/gtest.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

const UINT kButtons[] = {ID_TB_FIRST, ID_TB_SECOND, ID_SEPARATOR, ID_TB_THIRD, ID_TB_FOURTH};

// A frame that handles two of the commands: one always, one checked by its update handler.
class CToolFrame : public CFrameWnd {
 protected:
  afx_msg void OnFirst() { Log("first"); }
  afx_msg void OnSecond() {}
  afx_msg void OnUpdateSecond(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
  afx_msg void OnUpdateFourth(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CToolFrame, CFrameWnd)
  ON_COMMAND(ID_TB_FIRST, &CToolFrame::OnFirst)
  ON_COMMAND(ID_TB_SECOND, &CToolFrame::OnSecond)
  ON_UPDATE_COMMAND_UI(ID_TB_SECOND, &CToolFrame::OnUpdateSecond)
  ON_UPDATE_COMMAND_UI(ID_TB_FOURTH, &CToolFrame::OnUpdateFourth)
END_MESSAGE_MAP()

// The browser strip's tool bar: flat, transparent, tooltips and fly-by prompts.
BOOL MakeStripToolBar(CToolBar& bar, CWnd* pParent, bool bBitmapFirst) {
  if (!bar.CreateEx(pParent, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT,
                    WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_FLYBY))
    return FALSE;
  if (bBitmapFirst && !bar.LoadBitmap(IDB_STRIP)) return FALSE;
  if (!bar.SetButtons(kButtons, _countof(kButtons))) return FALSE;
  bar.SetSizes(CSize(33, 32), CSize(26, 26));
  if (!bBitmapFirst && !bar.LoadBitmap(IDB_STRIP)) return FALSE;
  CSize size = bar.CalcFixedLayout(FALSE, TRUE);
  bar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

}  // namespace

TEST(ToolBar, ButtonsImagesAndFixedSize) {
  ResourceScope scope;
  for (bool bBitmapFirst : {true, false}) {
    CHostWnd host;
    ASSERT_TRUE(host.Make(300, 80));
    CToolBar bar;
    ASSERT_TRUE(MakeStripToolBar(bar, &host, bBitmapFirst));
    EXPECT_EQ(5, bar.GetCount());
    EXPECT_EQ(3, bar.CommandToIndex(ID_TB_THIRD));
    EXPECT_EQ((UINT)ID_TB_FOURTH, bar.GetItemID(4));
    EXPECT_EQ((UINT)ID_SEPARATOR, bar.GetItemID(2));
    EXPECT_EQ((UINT)TBBS_SEPARATOR, bar.GetButtonStyle(2) & 0xFFFF);
    CImageList* pImages = bar.GetToolBarCtrl().GetImageList();
    ASSERT_NE(nullptr, pImages);
    EXPECT_EQ(4, pImages->GetImageCount());
    int cx = 0, cy = 0;
    pImages->GetIconSize(&cx, &cy);
    EXPECT_EQ(26, cx);
    EXPECT_EQ(26, cy);

    // The fixed size covers the buttons; a stretched bar takes the whole width.
    CRect rcLast;
    bar.GetItemRect(4, &rcLast);
    CSize size = bar.CalcFixedLayout(FALSE, TRUE);
    EXPECT_EQ(rcLast.right, size.cx);
    EXPECT_GE(size.cy, 32);
    EXPECT_EQ(32767, bar.CalcFixedLayout(TRUE, TRUE).cx);

    // Each button shows its image: the colour of its strip cell at its centre.
    Shot shot(&bar);
    shot.Keep(bBitmapFirst ? "toolbar_bitmap_first" : "toolbar_sizes_first");
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), 0, RGB(0, 0, 255), RGB(255, 255, 0)};
    for (int i : {0, 1, 3, 4}) {
      CRect rc;
      bar.GetItemRect(i, &rc);
      CPoint c = rc.CenterPoint();
      EXPECT_GT(shot.Count(CRect(c.x - 5, c.y - 5, c.x + 5, c.y + 5), colours[i]), 60) << "button " << i;
    }
  }
}

TEST(ToolBar, IdleUpdateFollowsTheCommands) {
  ResourceScope scope;
  CToolFrame* pFrame = new CToolFrame;
  ASSERT_TRUE(pFrame->Create(nullptr, "tools", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 420, 220)));
  CToolBar bar;
  ASSERT_TRUE(MakeStripToolBar(bar, pFrame, true));
  CToolBarCtrl& ctrl = bar.GetToolBarCtrl();
  // Without greying of unhandled commands a button nobody handles stays as it is.
  bar.OnUpdateCmdUI(pFrame, FALSE);
  EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TB_THIRD));
  EXPECT_FALSE(ctrl.IsButtonEnabled(ID_TB_FOURTH));
  bar.OnUpdateCmdUI(pFrame, TRUE);
  EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TB_FIRST));    // has a handler
  EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TB_SECOND));
  EXPECT_TRUE(ctrl.IsButtonChecked(ID_TB_SECOND));   // its update handler checks it
  EXPECT_FALSE(ctrl.IsButtonEnabled(ID_TB_THIRD));   // nobody handles it
  EXPECT_FALSE(ctrl.IsButtonEnabled(ID_TB_FOURTH));  // its update handler disables it
  EXPECT_TRUE(bar.GetButtonStyle(3) & TBBS_DISABLED);
  EXPECT_TRUE(bar.GetButtonStyle(1) & TBBS_CHECKED);
  // A click is an ordinary command to the owner.
  g_log.clear();
  pFrame->SendMessage(WM_COMMAND, ID_TB_FIRST, (LPARAM)bar.m_hWnd);
  EXPECT_EQ("first", Joined());
  bar.DestroyWindow();
  pFrame->DestroyWindow();
}

TEST(ToolBar, TooltipTextsAndFlyByPrompts) {
  ResourceScope scope;
  CHostWnd host;
  ASSERT_TRUE(host.Make(300, 80));
  CToolBar bar;
  ASSERT_TRUE(MakeStripToolBar(bar, &host, true));
  CToolTipCtrl* pTip = bar.GetToolBarCtrl().GetToolTips();
  ASSERT_NE(nullptr, pTip);
  pTip->SetMaxTipWidth(80);
  CRect zero(0, 0, 0, 0);
  pTip->SetMargin(&zero);
  EXPECT_EQ(80, pTip->GetMaxTipWidth());

  // The tip of a button is its command string after "\n" (none without one), as the
  // tool bar's tooltip asks the bar's parent.
  struct {
    UINT id;
    const char* tip;
  } tips[] = {{ID_TB_FIRST, "一番目"}, {ID_TB_FOURTH, "四番目"}, {ID_TB_THIRD, ""}};
  for (const auto& t : tips) {
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = pTip->m_hWnd;
    info.hdr.idFrom = t.id;
    info.hdr.code = TTN_NEEDTEXTA;
    host.SendMessage(WM_NOTIFY, t.id, (LPARAM)&info);
    EXPECT_STREQ(t.tip, info.lpszText ? info.lpszText : info.szText) << t.id;
  }

  // Moving over the buttons sends each one's prompt once; leaving ends the prompt.
  g_log.clear();
  CRect rc0, rc1, rcSep;
  bar.GetItemRect(0, &rc0);
  bar.GetItemRect(1, &rc1);
  bar.GetItemRect(2, &rcSep);
  for (CPoint pt : {rc0.CenterPoint(), rc0.CenterPoint() + CSize(2, 0), rc1.CenterPoint(), rcSep.CenterPoint()})
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rc1.CenterPoint().x, rc1.CenterPoint().y));
  bar.SendMessage(WM_MOUSELEAVE);
  std::string idle = std::to_string(AFX_IDS_IDLEMESSAGE);
  EXPECT_EQ("prompt:" + std::to_string(ID_TB_FIRST) + "|prompt:" + std::to_string(ID_TB_SECOND) + "|pop:" + idle +
                "|prompt:" + std::to_string(ID_TB_SECOND) + "|pop:" + idle,
            Joined());
}

TEST(ToolBar, PromptsReachTheFrameStatusLine) {
  ResourceScope scope;
  CFrameWnd* pFrame = new CFrameWnd;
  ASSERT_TRUE(pFrame->Create(nullptr, "status", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 420, 220)));
  CStatusBar status;
  ASSERT_TRUE(status.Create(pFrame));
  UINT indicators[] = {ID_SEPARATOR};
  status.SetIndicators(indicators, 1);
  CToolBar bar;
  ASSERT_TRUE(MakeStripToolBar(bar, pFrame, true));
  CRect rc;
  bar.GetItemRect(0, &rc);
  bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
  EXPECT_STREQ("一番目の説明", status.GetPaneText(0));
  bar.SendMessage(WM_MOUSELEAVE);
  EXPECT_STRNE("一番目の説明", status.GetPaneText(0));
  bar.DestroyWindow();
  status.DestroyWindow();
  pFrame->DestroyWindow();
}
