// The card plug-in's windows as a user meets them: the notice popup per button set (Esc
// and the system close ignored), the two small dialogs, the hover button's faces, the
// parts of a title, the wait window; each saved as a screenshot for a look by eye.
#include <CardDialogs.h>
#include <CardItemDlg.h>
#include <CardRules.h>
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <dialogwatch.h>
#include <dropop/WaitDlg.h>
#include <gtest/gtest.h>
#include <picture.h>
#include <profileroot.h>
#include <pump.h>
#include <testmain.h>

#include "cardresources.h"

using namespace cardtree;

namespace {

using cardtest::Resources;

int VisibleButtons(HWND box) {
  int n = 0;
  for (int id = IDC_NOTICE_BUTTON1; id <= IDC_NOTICE_BUTTON5; ++id) n += IsWindowVisible(GetDlgItem(box, id)) ? 1 : 0;
  return n;
}

// The button of the box that has its thread's focus; -1 for none. The notice gives its
// default button the focus; while another program's window is the active one (a busy
// machine runs many beside this one), the platform keeps no focus for this thread at all:
// the box is made the active window again, and it gives the focus back where it was.
int FocusedButton(HWND box) {
  const DWORD thread = GetWindowThreadProcessId(box, nullptr);
  int focus = -1;
  testsupport::WaitUntil(
      [&] {
        GUITHREADINFO gti = {sizeof gti};
        GetGUIThreadInfo(thread, &gti);
        for (int i = 0; i < 5; ++i)
          if (gti.hwndFocus == GetDlgItem(box, IDC_NOTICE_BUTTON1 + i)) focus = i;
        if (focus < 0 && gti.hwndActive != box) SetForegroundWindow(box);
        return focus >= 0;
      },
      10000);
  return focus;
}

struct Headless {
  Headless() { SetHeadless(1); }
  ~Headless() { SetHeadless(0); }
};

}  // namespace

TEST(CardNotice, EveryButtonSetAnswersItsResultAndIgnoresEscAndClose) {
  Resources res;
  Headless headless;
  struct Case {
    UINT style;
    int buttons;
    int press;  // 0-based
    int want;
    int focused;
  } cases[] = {
      {0, 1, 0, IDOK, 0},         {0x124, 2, 1, IDNO, 1},      {1, 2, 1, IDCANCEL, 0},  {3, 3, 0, IDYES, 0},
      {6, 5, 3, 11, 0},           {7, 4, 1, 10, 0},            {0x309, 1, 0, IDOK, 0},  {0x402, 1, 0, IDOK, 0},
  };
  for (const Case& c : cases) {
    int shown = -1, focus = -1;
    bool stayed = false;
    testsupport::DialogWatch watch(
        "card notice", [](HWND box) { return IsWindowVisible(box) != FALSE; },
        [&](HWND box) {
          shown = VisibleButtons(box);
          focus = FocusedButton(box);
          SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
          SendMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
          stayed = IsWindow(box) && IsWindowVisible(box);
          if (c.style == 0x124) testsupport::Picture(box).Save("card_notice_0x124");
          if (c.style == 0) testsupport::Picture(box).Save("card_notice_0");
          PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_NOTICE_BUTTON1 + c.press, BN_CLICKED),
                       (LPARAM)GetDlgItem(box, IDC_NOTICE_BUTTON1 + c.press));
        });
    EXPECT_EQ(CardMessageBox(nullptr, "A notice for the test.", "card notice", c.style), c.want) << c.style;
    EXPECT_TRUE(watch.Acted());
    EXPECT_EQ(shown, c.buttons) << c.style;
    EXPECT_TRUE(stayed) << c.style;
    EXPECT_EQ(focus, c.focused) << c.style;
  }
}

TEST(CardNotice, PleaseWaitHasAnIconAndNoButtons) {
  Resources res;
  CCardNoticeDlg dlg(nullptr, "Please wait while the card is read.", nullptr);
  dlg.SetStyle(0x4F);
  ASSERT_TRUE(dlg.Create(nullptr));
  dlg.ShowWindow(SW_SHOW);
  dlg.UpdateWindow();
  testsupport::PumpPending();
  EXPECT_EQ(dlg.ButtonCount(), 0);
  EXPECT_TRUE(dlg.HasIcon());
  CString caption;
  dlg.GetWindowText(caption);
  EXPECT_EQ(std::string(caption), ResourceString(IDS_NOTICE_CAPTION));  // no caption, no parent
  // A one-line text with an icon is centred on it.
  const int icon = GetSystemMetrics(SM_CYICON);
  EXPECT_EQ(dlg.TextRect().top, (icon - dlg.TextRect().Height()) / 2 + 19);
  testsupport::Picture(dlg.GetSafeHwnd()).Save("card_notice_0x4F");
  dlg.DestroyWindow();
}

TEST(CardNotice, LayoutWidths) {
  const SIZE button = {98, 30}, none = {0, 0}, icon = {32, 32}, initial = {0, 0};
  struct Case {
    SIZE text, icon;
    int buttons, width, textLeft;
  } cases[] = {
      {{100, 16}, none, 1, 136, 18},  // text 100 + 36
      {{100, 16}, icon, 1, 192, 74},  // icon 32 + text 100 + 60
      {{40, 16}, none, 5, 558, 18},   // five buttons: (98 + 8) x 5 + 28
      {{40, 16}, none, 0, 76, 18},
  };
  for (const Case& c : cases) {
    NoticeLayout l = LayOutNotice(c.text, c.icon, c.buttons, button, initial);
    EXPECT_EQ(l.width, c.width);
    EXPECT_EQ(l.textLeft, c.textLeft);
    if (c.buttons) {
      EXPECT_EQ(l.buttonX[0], (l.width - c.buttons * 106 + 8) / 2);
    }
  }
  EXPECT_EQ(NoticeButtonSet(0x9).count, 1);
  EXPECT_EQ(NoticeButtonSet(15).count, 0);
  EXPECT_EQ(NoticeDefaultButton(0x124, 2), 1);
  EXPECT_EQ(NoticeDefaultButton(0x400, 2), 0);  // past the buttons shown: the first
  EXPECT_EQ(NoticeIcon(0x20), IDI_QUESTION);
  EXPECT_EQ(NoticeIcon(0x50), nullptr);
}

TEST(CardDialogs, DriveChangeAndImportInfo) {
  Resources res;
  testsupport::ScopedProfileRoot profile("cardtree-dialogs");
  {
    testsupport::DialogWatch watch(nullptr, [](HWND box) {
                                     // Shown: its initialisation, which sets the check box, is over.
                                     return GetDlgItem(box, IDC_DRIVE_CHANGE_TEXT) && IsWindowVisible(box);
                                   },
                                   [](HWND box) {
                                     CheckDlgButton(box, IDC_DRIVE_CHANGE_NO_MORE, BST_CHECKED);
                                     testsupport::Picture(box).Save("card_drive_change");
                                     PostMessageA(box, WM_COMMAND, IDC_DRIVE_CHANGE_YES, 0);
                                   });
    CDriveChangeDlg dlg;
    dlg.m_strMessage = "Switch to drive F:?";
    EXPECT_EQ(dlg.DoModal(), IDC_DRIVE_CHANGE_YES);
    EXPECT_EQ(dlg.m_nNoMore, 1);
  }
  {
    testsupport::DialogWatch watch(nullptr, [](HWND box) {
                                     // Shown: its initialisation, which sets the check box, is over.
                                     return GetDlgItem(box, IDC_DRIVE_CHANGE_TEXT) && IsWindowVisible(box);
                                   },
                                   [](HWND box) {
                                     CheckDlgButton(box, IDC_DRIVE_CHANGE_NO_MORE, BST_CHECKED);
                                     PostMessageA(box, WM_COMMAND, IDC_DRIVE_CHANGE_NO, 0);
                                   });
    CDriveChangeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDC_DRIVE_CHANGE_NO);
    EXPECT_EQ(dlg.m_nNoMore, 0);  // not read
  }
  {
    testsupport::DialogWatch watch(nullptr,
                                   [](HWND box) { return GetDlgItem(box, IDC_IMPORT_INFO_NO_MORE) && IsWindowVisible(box); },
                                   [](HWND box) {
                                     CheckDlgButton(box, IDC_IMPORT_INFO_NO_MORE, BST_CHECKED);
                                     testsupport::Picture(box).Save("card_import_info");
                                     PostMessageA(box, WM_COMMAND, IDOK, 0);
                                   });
    CImportInfoDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(CMGetProfileInt("CardTree", "InitDlg", 0), 1);
  }
}

TEST(CardButtons, HoverButtonFaces) {
  Resources res;
  CWnd frame;
  frame.CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)GetStockObject(WHITE_BRUSH)), "buttons",
                 WS_POPUP | WS_VISIBLE, CRect(0, 0, 460, 60), nullptr, 0);
  CCardHoverButton buttons[4];
  const char* names[] = {"normal", "hovered", "pressed", "disabled"};
  for (int i = 0; i < 4; ++i) {
    buttons[i].Create(names[i], WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10 + i * 110, 10, 108 + i * 110, 40),
                      &frame, 100 + i);
    ASSERT_TRUE(buttons[i].LoadSizedBitmaps(98, 30, IDB_NOTICE_BUTTON, IDB_NOTICE_BUTTON_PRESSED,
                                            IDB_NOTICE_BUTTON_HOVER, IDB_NOTICE_BUTTON_DISABLED));
  }
  buttons[1].SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(buttons[1].GetHoverState(), 1);
  buttons[2].SetStyle(1);
  buttons[2].SetHoverPressed(1);
  EXPECT_EQ(buttons[2].IsHoverPressed(), 1);
  buttons[3].EnableWindow(FALSE);
  frame.UpdateWindow();
  testsupport::Picture shot(frame.GetSafeHwnd(), testsupport::Picture::kClient);
  shot.Save("card_hover_buttons");
  // Each face differs from the normal one at the button's middle.
  const COLORREF normal = shot.At(59, 15);
  for (int i = 1; i < 4; ++i) EXPECT_NE(shot.At(59 + i * 110, 15), normal) << names[i];
  // Leaving returns to the normal face.
  buttons[1].SendMessage(WM_MOUSELEAVE);
  EXPECT_EQ(buttons[1].GetHoverState(), 0);
  int height = 0, weight = 0;
  HoverCaptionFont(2, 30, SHIFTJIS_CHARSET, &height, &weight);
  EXPECT_EQ(height, 12);
  EXPECT_EQ(weight, 600);
  HoverCaptionFont(0, 30, ANSI_CHARSET, &height, &weight);
  EXPECT_EQ(height, 6);  // 6 - 1 = 5, below 9: one more
  EXPECT_EQ(weight, 500);
  frame.DestroyWindow();
}

TEST(CardDialogs, WaitWindow) {
  Resources res;
  CWaitDlg wait;
  ASSERT_TRUE(wait.Create(nullptr));
  wait.ShowWindow(SW_SHOW);
  wait.SetText(ResourceString(IDS_TREE_DROP_COLLECTING).c_str());
  testsupport::PumpPending();
  testsupport::Picture(wait.GetSafeHwnd()).Save("card_wait");
  wait.DestroyWindow();
}

TEST(CardButtons, ThumbButtonTellsItsParentAndSwallowsSpace) {
  Resources res;
  CWnd frame;
  frame.CreateEx(0, AfxRegisterWndClass(0), "thumb", WS_POPUP, CRect(0, 0, 200, 60), nullptr, 0);
  CThumbButton button;
  button.Create("thumb", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 98, 30), &frame, 1);
  EXPECT_EQ(button.SetSpaceKey(1), 0);  // swallowed after construction
  EXPECT_EQ(button.SetSpaceKey(0), 1);
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(7, 9));
  MSG msg = {};
  ASSERT_TRUE(PeekMessageA(&msg, frame.GetSafeHwnd(), WM_THUMBBUTTON_MOUSEMOVE, WM_THUMBBUTTON_MOUSEMOVE, PM_REMOVE));
  EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(&button));
  EXPECT_EQ(msg.lParam, MAKELPARAM(7, 9));
  frame.DestroyWindow();
}
