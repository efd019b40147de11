// Tab, slider, progress, spin, animation and tooltip controls.
#include <gtest/gtest.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

// A spin button that sees its own UDN_DELTAPOS (reflected) and may refuse a step.
class CLoggingSpin : public CSpinButtonCtrl {
 public:
  BOOL m_bRefuse = FALSE;

 protected:
  afx_msg void OnDeltaPos(NMHDR* pNMHDR, LRESULT* pResult) {
    NMUPDOWN* p = (NMUPDOWN*)pNMHDR;
    Log("delta:" + std::to_string(p->iPos) + std::string(p->iDelta > 0 ? "+" : "-"));
    *pResult = m_bRefuse;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLoggingSpin, CSpinButtonCtrl)
  ON_NOTIFY_REFLECT(UDN_DELTAPOS, &CLoggingSpin::OnDeltaPos)
END_MESSAGE_MAP()

// A tooltip whose window runs through its object: it swallows timer 3.
class CTimerTip : public CToolTipCtrl {
 public:
  int m_nSwallowed = 0;

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == 3) {
      m_nSwallowed++;
      return;
    }
    CToolTipCtrl::OnTimer(nIDEvent);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTimerTip, CToolTipCtrl)
  ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST(TabCtrl, TabsRectanglesAndSelection) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(400, 300));
  CTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 280), &host, 0x1111));
  EXPECT_EQ(0, tabs.InsertItem(0, "撮影情報"));
  EXPECT_EQ(1, tabs.InsertItem(1, "場所"));
  EXPECT_EQ(1, tabs.InsertItem(TCIF_TEXT | TCIF_PARAM, 1, "顔", 0, 77));
  EXPECT_EQ(3, tabs.GetItemCount());
  char text[32] = "";
  TCITEMA item = {};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  ASSERT_TRUE(tabs.GetItem(1, &item));
  EXPECT_STREQ("顔", text);
  EXPECT_EQ(77, item.lParam);
  CRect rc0, rc1;
  ASSERT_TRUE(tabs.GetItemRect(0, &rc0));
  ASSERT_TRUE(tabs.GetItemRect(1, &rc1));
  EXPECT_LE(rc0.right, rc1.left + 2);
  EXPECT_EQ(0, tabs.GetCurSel());
  EXPECT_EQ(0, tabs.SetCurSel(2));
  EXPECT_EQ(2, tabs.GetCurSel());
  // The display area lies inside the window, below the tabs.
  CRect rcPage(0, 0, 380, 280);
  tabs.AdjustRect(FALSE, &rcPage);
  EXPECT_GE(rcPage.top, rc0.bottom - 2);
  EXPECT_LT(rcPage.Width(), 380);
  CRect rcBack = rcPage;
  tabs.AdjustRect(TRUE, &rcBack);
  EXPECT_EQ(CRect(0, 0, 380, 280), rcBack);
  TCHITTESTINFO hit = {rc1.CenterPoint(), 0};
  EXPECT_EQ(1, tabs.HitTest(&hit));
  EXPECT_TRUE(tabs.DeleteItem(0));
  EXPECT_EQ(2, tabs.GetItemCount());
}

TEST(SliderAndProgress, RangesPositionsAndSteps) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(300, 120));
  CSliderCtrl slider;
  ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_BOTH | TBS_AUTOTICKS, CRect(5, 5, 280, 45), &host, 90));
  slider.SetRange(0, 1000, TRUE);
  int nMin = -1, nMax = -1;
  slider.GetRange(nMin, nMax);
  EXPECT_EQ(0, nMin);
  EXPECT_EQ(1000, nMax);
  slider.SetPageSize(100);
  slider.SetLineSize(5);
  EXPECT_EQ(100, slider.GetPageSize());
  EXPECT_EQ(5, slider.GetLineSize());
  slider.SetTicFreq(250);
  EXPECT_EQ(5u, slider.GetNumTics());  // the ends and three between
  slider.SetPos(1200);
  EXPECT_EQ(1000, slider.GetPos());  // kept in the range
  slider.SetPos(-4);
  EXPECT_EQ(0, slider.GetPos());
  slider.SetPos(420);
  EXPECT_EQ(420, slider.GetPos());
  CRect rcChannel, rcThumb;
  slider.GetChannelRect(&rcChannel);
  slider.GetThumbRect(&rcThumb);
  EXPECT_GT(rcChannel.Width(), 0);
  EXPECT_GT(rcThumb.Width(), 0);

  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(5, 60, 280, 80), &host, 91));
  progress.SetRange32(0, 30);
  int lo = -1, hi = -1;
  progress.GetRange(lo, hi);
  EXPECT_EQ(0, lo);
  EXPECT_EQ(30, hi);
  EXPECT_EQ(0, progress.SetPos(10));
  progress.SetStep(15);
  EXPECT_EQ(10, progress.StepIt());
  EXPECT_EQ(25, progress.GetPos());
  progress.OffsetPos(3);
  EXPECT_EQ(28, progress.GetPos());
}

TEST(SpinButton, BuddyRangeAndReflectedDelta) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(300, 120));
  CEdit buddy;
  ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER, CRect(5, 5, 100, 30), &host, 95));
  CLoggingSpin spin;
  ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                          CRect(0, 0, 0, 0), &host, 96));
  spin.SetBuddy(&buddy);
  EXPECT_EQ(buddy.m_hWnd, spin.GetBuddy()->m_hWnd);
  spin.SetRange32(1, 2000);
  int lo = 0, hi = 0;
  spin.GetRange32(lo, hi);
  EXPECT_EQ(1, lo);
  EXPECT_EQ(2000, hi);
  spin.SetPos(1500);
  CString text;
  buddy.GetWindowText(text);
  EXPECT_STREQ("1500", text);  // no thousands separator
  EXPECT_EQ(1500, spin.GetPos());
  // The up arrow: the control asks itself (reflected UDN_DELTAPOS) before it steps.
  g_log.clear();
  CRect rc;
  spin.GetClientRect(&rc);
  CPoint up(rc.CenterPoint().x, rc.top + 2);
  spin.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
  spin.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  EXPECT_EQ("delta:1500+", Joined());
  EXPECT_EQ(1501, spin.GetPos());
  spin.m_bRefuse = TRUE;
  spin.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
  spin.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  EXPECT_EQ("delta:1501+", Joined());
  EXPECT_EQ(1501, spin.GetPos());
}

TEST(AnimateCtrl, PlaysAnUncompressedClipFromTheResourceLibrary) {
  ResourceScope scope;
  CHostWnd host;
  ASSERT_TRUE(host.Make(100, 100));
  CAnimateCtrl anim;
  ASSERT_TRUE(anim.Create(WS_CHILD | WS_VISIBLE | ACS_CENTER, CRect(10, 10, 60, 60), &host, 97));
  EXPECT_FALSE(anim.Open(IDB_MISSING));
  ASSERT_TRUE(anim.Open(IDR_CLIP));
  // Frame 1 shows green.
  EXPECT_TRUE(anim.Seek(1));
  Shot shot(&host);
  shot.Keep("animate_frame1");
  EXPECT_GT(shot.Count(CRect(10, 10, 60, 60), RGB(0, 255, 0)), 200);
  EXPECT_TRUE(anim.Play(0, (UINT)-1, (UINT)-1));
  EXPECT_TRUE(anim.Stop());
  EXPECT_TRUE(anim.Close());
}

TEST(ToolTipCtrl, ToolsTextsAndItsOwnMessageMap) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(300, 200));
  CButton button;
  ASSERT_TRUE(button.Create("ボタン", WS_CHILD | WS_VISIBLE, CRect(10, 100, 100, 130), &host, 98));
  CTimerTip tip;
  ASSERT_TRUE(tip.Create(&host, TTS_ALWAYSTIP));
  EXPECT_EQ(&tip, CWnd::FromHandlePermanent(tip.m_hWnd));
  // One tool over a rectangle of the host (id 1), one for the button window itself.
  CRect rcTool(0, 0, 120, 60);
  ASSERT_TRUE(tip.AddTool(&host, "領域のヒント", &rcTool, 1));
  ASSERT_TRUE(tip.AddTool(&button, "ボタンのヒント"));
  EXPECT_EQ(2, tip.GetToolCount());
  CString text;
  tip.GetText(text, &host, 1);
  EXPECT_STREQ("領域のヒント", text);
  tip.GetText(text, &button);
  EXPECT_STREQ("ボタンのヒント", text);
  tip.UpdateTipText("新しいヒント", &host, 1);
  tip.GetText(text, &host, 1);
  EXPECT_STREQ("新しいヒント", text);

  CRect rcMoved(10, 10, 50, 50);
  tip.SetToolRect(&host, 1, &rcMoved);
  CToolInfo info;
  ASSERT_TRUE(tip.GetToolInfo(info, &host, 1));
  EXPECT_EQ(rcMoved, CRect(info.rect));
  EXPECT_STREQ("新しいヒント", info.szText);
  TOOLINFOA hit = {};
  EXPECT_TRUE(tip.HitTest(&host, CPoint(20, 20), &hit));
  EXPECT_EQ(1u, hit.uId);
  EXPECT_FALSE(tip.HitTest(&host, CPoint(200, 20), &hit));

  tip.SetMaxTipWidth(80);
  EXPECT_EQ(80, tip.GetMaxTipWidth());
  CRect zero(0, 0, 0, 0), margin(1, 1, 1, 1);
  tip.SetMargin(&zero);
  tip.GetMargin(&margin);
  EXPECT_EQ(zero, margin);
  tip.SetDelayTime(TTDT_INITIAL, 1);
  EXPECT_EQ(1, tip.GetDelayTime(TTDT_INITIAL));
  tip.Activate(FALSE);
  tip.Activate(TRUE);
  MSG msg = {host.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20), ::GetTickCount(), {60, 60}};
  tip.RelayEvent(&msg);
  tip.Pop();

  // The window's messages reach the object's map.
  tip.SendMessage(WM_TIMER, 3);
  EXPECT_EQ(1, tip.m_nSwallowed);

  tip.DelTool(&host, 1);
  EXPECT_EQ(1, tip.GetToolCount());
  tip.DelTool(&button);
  EXPECT_EQ(0, tip.GetToolCount());
}
