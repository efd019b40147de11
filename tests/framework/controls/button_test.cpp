// Buttons: the four faces of a bitmap button by drawing state (table and screenshot),
// loading and sizing, check states and styles.
#include <gtest/gtest.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kGrey = RGB(128, 128, 128);

// A bitmap button that counts its drawing (derived classes add virtuals after the base's).
class CCountingButton : public CBitmapButton {
 public:
  int m_nDrawn = 0;
  UINT m_nLastState = 0;
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
    m_nDrawn++;
    m_nLastState = lpDIS->itemState;
    CBitmapButton::DrawItem(lpDIS);
  }
  virtual int AddedOperation() { return 7; }
};

}  // namespace

TEST(BitmapButton, FaceByItemState) {
  CBitmap normal, sel, focus, disabled;
  struct Case {
    UINT state;
    bool haveSel, haveFocus, haveDisabled;
    CBitmap* expected;
  } cases[] = {
      {0, true, true, true, &normal},
      {ODS_SELECTED, true, true, true, &sel},
      {ODS_FOCUS, true, true, true, &focus},
      {ODS_DISABLED, true, true, true, &disabled},
      {ODS_SELECTED | ODS_FOCUS, true, true, true, &sel},       // pressed wins over hover
      {ODS_FOCUS | ODS_DISABLED, true, true, true, &focus},     // hover is shown before disabled
      {ODS_SELECTED, false, true, true, &normal},               // missing faces fall back to normal
      {ODS_FOCUS, true, false, true, &normal},
      {ODS_DISABLED, true, true, false, &normal},
      {ODS_SELECTED | ODS_FOCUS, false, true, true, &focus},
  };
  for (const Case& c : cases) {
    CBitmap* got = AfxBitmapButtonFace(c.state, &normal, c.haveSel ? &sel : nullptr, c.haveFocus ? &focus : nullptr,
                                       c.haveDisabled ? &disabled : nullptr);
    EXPECT_EQ(c.expected, got) << "state " << c.state;
  }
}

TEST(BitmapButton, FourFacesOnScreen) {
  ResourceScope scope;
  CHostWnd host;
  ASSERT_TRUE(host.Make(220, 60));
  CCountingButton buttons[4];
  for (int i = 0; i < 4; ++i) {
    // The browser's way: a plain button switched to owner-draw, then the bitmaps.
    ASSERT_TRUE(buttons[i].Create("", WS_CHILD | WS_VISIBLE, CRect(10 + 50 * i, 10, 20 + 50 * i, 20), &host, 100 + i));
    buttons[i].SetButtonStyle(BS_OWNERDRAW);
    ASSERT_TRUE(buttons[i].LoadBitmaps(IDB_FACE_NORMAL, IDB_FACE_SEL, IDB_FACE_FOCUS, IDB_FACE_DISABLED));
    buttons[i].SizeToContent();
    CRect rc;
    buttons[i].GetWindowRect(&rc);
    EXPECT_EQ(40, rc.Width());
    EXPECT_EQ(24, rc.Height());
  }
  EXPECT_EQ(7, buttons[0].AddedOperation());
  buttons[1].SetState(TRUE);  // pressed: ODS_SELECTED
  buttons[2].SetFocus();      // ODS_FOCUS
  buttons[3].EnableWindow(FALSE);

  Shot shot(&host);
  shot.Keep("bitmap_button_faces");
  const COLORREF expected[4] = {kRed, kGreen, kBlue, kGrey};
  for (int i = 0; i < 4; ++i) {
    CRect rc(10 + 50 * i, 10, 50 + 50 * i, 34);
    EXPECT_EQ(40 * 24, shot.Count(rc, expected[i])) << "button " << i;
    EXPECT_GT(buttons[i].m_nDrawn, 0);
  }
  EXPECT_TRUE(buttons[1].m_nLastState & ODS_SELECTED);
  EXPECT_TRUE(buttons[2].m_nLastState & ODS_FOCUS);
  EXPECT_TRUE(buttons[3].m_nLastState & ODS_DISABLED);
  // Released and enabled again: the normal face.
  buttons[1].SetState(FALSE);
  buttons[3].EnableWindow(TRUE);
  host.SetFocus();
  Shot after(&host);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(40 * 24, after.Count(CRect(10 + 50 * i, 10, 50 + 50 * i, 34), kRed));
}

TEST(BitmapButton, LoadingReportsMissingBitmaps) {
  ResourceScope scope;
  CBitmapButton button;
  EXPECT_TRUE(button.LoadBitmaps(IDB_FACE_NORMAL));
  EXPECT_NE(nullptr, button.m_bitmap.GetSafeHandle());
  EXPECT_EQ(nullptr, button.m_bitmapSel.GetSafeHandle());
  // A missing face fails the load; the faces that exist are still there.
  EXPECT_FALSE(button.LoadBitmaps(IDB_FACE_NORMAL, IDB_MISSING, IDB_FACE_FOCUS));
  EXPECT_NE(nullptr, button.m_bitmap.GetSafeHandle());
  EXPECT_EQ(nullptr, button.m_bitmapSel.GetSafeHandle());
  EXPECT_NE(nullptr, button.m_bitmapFocus.GetSafeHandle());
  // Loading again replaces the earlier faces.
  EXPECT_TRUE(button.LoadBitmaps(IDB_FACE_SEL));
  EXPECT_EQ(nullptr, button.m_bitmapFocus.GetSafeHandle());
  EXPECT_FALSE(button.LoadBitmaps(IDB_MISSING));
}

TEST(Button, ChecksAndStyles) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(200, 80));
  CButton check;
  ASSERT_TRUE(check.Create("確認", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(5, 5, 120, 25), &host, 10));
  EXPECT_EQ(BST_UNCHECKED, check.GetCheck());
  check.SetCheck(BST_CHECKED);
  EXPECT_EQ(BST_CHECKED, check.GetCheck());
  check.Click();
  EXPECT_EQ(BST_UNCHECKED, check.GetCheck());
  EXPECT_EQ((UINT)BS_AUTOCHECKBOX, check.GetButtonStyle() & 0x0F);
  CString text;
  check.GetWindowText(text);
  EXPECT_STREQ("確認", text);

  CButton push;
  ASSERT_TRUE(push.Create("押す", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 30, 120, 50), &host, 11));
  push.SetButtonStyle(BS_OWNERDRAW);
  EXPECT_EQ((UINT)BS_OWNERDRAW, push.GetButtonStyle() & 0x0F);
  EXPECT_EQ(&push, CWnd::FromHandlePermanent(push.m_hWnd));
}
