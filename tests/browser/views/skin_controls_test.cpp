// The skinned controls in windows: the skin control's notifications, the image buttons'
// radio groups, holds, repeats and fading, the bitmap scroll bar's positions and held
// arrows, the movie slider's clicks, wheel and keys, the header strip's images, and the
// scroll panel's pool of item windows, selection and keys; with pictures of each.
#include <gtest/gtest.h>

#include <BitmapScrollBar.h>
#include <HoverBitmapButton.h>
#include <ImgButton.h>
#include <MovieCtrlBar.h>
#include <MusicListHeader.h>
#include <ScrollPanelWnd.h>
#include <SkinCtrlWnd.h>
#include <VxResourceIds.h>

#include <algorithm>
#include <vector>

#include "uikit.h"
#include <otherwindows.h>

namespace {

struct Record {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A top-level window that keeps what its children tell it.
class CHost : public CWnd {
 public:
  std::vector<Record> got;
  std::vector<UINT> watched;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (std::find(watched.begin(), watched.end(), message) != watched.end()) got.push_back({message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<Record> Take() {
    uikit::PumpPending();
    std::vector<Record> out;
    out.swap(got);
    return out;
  }
};

struct HostFixture {
  CHost host;
  explicit HostFixture(int cx = 420, int cy = 300, std::vector<UINT> watched = {}) {
    host.watched = watched;
    host.CreateEx(WS_EX_TOPMOST,
                  AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)::GetStockObject(BLACK_BRUSH)),
                  "skin host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, cx, cy, nullptr, nullptr);
    ::SetCursorPos(2, 2);  // away from the host, so no hover starts by itself
    uikit::PumpPending();
  }
  ~HostFixture() { host.DestroyWindow(); }
};

LPARAM Pt(int x, int y) { return MAKELPARAM(x, y); }

// ----- Skin control base -----

struct SkinFixture : HostFixture {
  CSkinCtrlWnd ctrl;
  SkinFixture()
      : HostFixture(
            420, 300,
            {WM_COMMAND, UWM_SKIN_STARTDRAG, UWM_SKIN_RCLICK, UWM_SKIN_MOUSEMOVE, UWM_SKIN_MOUSEOUT, WM_MOUSEMOVE}) {
    ctrl.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_CHILD | WS_VISIBLE, CRect(20, 30, 120, 60), &host, 77);
    ctrl.SetNotifyWnd(host.m_hWnd);
    ctrl.SetTopWindowCheck(FALSE);  // the cursor is not where the test's messages say
    host.got.clear();
  }
  // The codes of the WM_COMMANDs, and the other messages' ids as negative numbers.
  std::vector<int> Codes() {
    std::vector<int> out;
    for (auto& r : host.Take()) {
      if (r.message == WM_COMMAND) {
        EXPECT_EQ(LOWORD(r.wParam), 77);
        EXPECT_EQ((HWND)r.lParam, ctrl.m_hWnd);
        out.push_back(HIWORD(r.wParam));
      } else {
        out.push_back(-(int)r.message);
      }
    }
    return out;
  }
};

TEST(SkinCtrlWnd, StatesOutsideTheRangeChangeNothing) {
  SkinFixture f;
  EXPECT_EQ(f.ctrl.SetState(4), 1);
  EXPECT_EQ(f.ctrl.SetState(0), 4);
  EXPECT_EQ(f.ctrl.SetState(16), 4);
  EXPECT_EQ(f.ctrl.GetState(), 4);
  f.ctrl.EnableWindow(FALSE);
  EXPECT_EQ(f.ctrl.GetState(), 8);
  f.ctrl.EnableWindow(TRUE);
  EXPECT_EQ(f.ctrl.GetState(), 1);
  CSkinCtrlWnd* p = nullptr;
  EXPECT_EQ(CSkinCtrlWnd::CreateInstance(0, nullptr), (HRESULT)0x80000002);
  EXPECT_EQ(CSkinCtrlWnd::CreateInstance(0, &p), 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetState(), 1);
  EXPECT_EQ(p->CopyProperty(1, &f.ctrl), -1);
  EXPECT_EQ(p->CopyProperty(2, nullptr), 1);
  delete p;
}

TEST(SkinCtrlWnd, PressSlopDragAndDoubleClick) {
  SkinFixture f;
  const int mouseMove = -(int)WM_MOUSEMOVE;
  // A move within 3 pixels is no drag, even with drags on.
  f.ctrl.SetDragEnable(TRUE);
  f.ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
  EXPECT_EQ(f.ctrl.GetState(), 2);
  f.ctrl.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(13, 12));
  f.ctrl.SendMessage(WM_LBUTTONUP, 0, Pt(13, 12));
  EXPECT_EQ(f.Codes(), (std::vector<int>{BN_HILITE, mouseMove, BN_CLICKED}));
  EXPECT_EQ(f.ctrl.GetState(), 4);
  // Beyond the slop: a drag notice with the press point instead of the forwarded move.
  f.ctrl.SetState(1);
  f.ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
  f.ctrl.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(15, 10));
  auto got = f.host.Take();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].message, (UINT)UWM_SKIN_STARTDRAG);
  EXPECT_EQ(CPoint(*(POINT*)got[1].wParam), CPoint(10, 10));
  f.ctrl.SendMessage(WM_LBUTTONUP, 0, Pt(15, 10));
  f.host.Take();
  // A double click is reported by the button-up that follows it.
  f.ctrl.SetDragEnable(FALSE);
  f.ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
  f.ctrl.SendMessage(WM_LBUTTONUP, 0, Pt(10, 10));
  f.ctrl.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(10, 10));
  f.ctrl.SendMessage(WM_LBUTTONUP, 0, Pt(10, 10));
  EXPECT_EQ(f.Codes(), (std::vector<int>{BN_HILITE, BN_CLICKED, BN_DOUBLECLICKED}));
  // Released outside.
  f.ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
  f.ctrl.SendMessage(WM_LBUTTONUP, 0, Pt(300, 10));
  EXPECT_EQ(f.Codes(), (std::vector<int>{BN_HILITE, BN_UNHILITE}));
  f.ctrl.SendMessage(WM_RBUTTONUP, 0, Pt(10, 10));
  EXPECT_EQ(f.Codes(), (std::vector<int>{-(int)UWM_SKIN_RCLICK}));
  // A disabled control takes no press.
  f.ctrl.EnableWindow(FALSE);
  f.ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
  f.ctrl.SendMessage(WM_LBUTTONUP, 0, Pt(10, 10));
  EXPECT_TRUE(f.Codes().empty());
}

TEST(SkinCtrlWnd, WithoutHoverVisualsMovesAreReportedAndTheStateStays) {
  SkinFixture f;
  f.ctrl.SetHoverEnable(FALSE);
  f.ctrl.SendMessage(WM_MOUSEMOVE, 0, Pt(10, 10));
  f.ctrl.SendMessage(WM_MOUSEMOVE, 0, Pt(500, 10));
  EXPECT_EQ(f.Codes(), (std::vector<int>{-(int)UWM_SKIN_MOUSEMOVE, -(int)UWM_SKIN_MOUSEOUT}));
  f.ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
  EXPECT_EQ(f.ctrl.GetState(), 1);
  f.ctrl.SendMessage(WM_LBUTTONUP, 0, Pt(10, 10));
  EXPECT_EQ(f.ctrl.GetState(), 1);
  EXPECT_EQ(f.ctrl.SendMessage(UWM_SKIN_KEYACTION, 1), 1);
  EXPECT_EQ(f.ctrl.GetState(), 4);
  EXPECT_EQ(f.ctrl.SendMessage(UWM_SKIN_KEYACTION, 9), 1);
}

TEST(SkinCtrlWnd, CloneToCopiesTheSettingsAndMakesTheWindow) {
  SkinFixture f;
  f.ctrl.SetState(4);
  f.ctrl.SetDragEnable(TRUE);
  f.ctrl.SetOrigin(7, 0);
  CSkinCtrlWnd target;
  f.ctrl.CloneTo(&target, nullptr, 78);
  ASSERT_TRUE(target.GetSafeHwnd());
  EXPECT_EQ(target.GetDlgCtrlID(), 78);
  EXPECT_EQ(target.GetParent(), &f.host);
  EXPECT_EQ(target.GetNotifyWnd(), f.host.m_hWnd);
  EXPECT_EQ(target.GetState(), 4);
  POINT origin;
  target.GetOrigin(&origin);
  EXPECT_EQ(origin.x, 7);
  SIZE size;
  target.GetClientSize(&size);
  EXPECT_EQ(size.cx, 100);
  EXPECT_EQ(size.cy, 30);
  target.DestroyWindow();
  f.ctrl.CloneTo(nullptr, nullptr, 79);  // nothing
}

// ----- Image buttons -----

enum { kClicked = WM_APP + 5, kRepeat = WM_APP + 6, kFaded = WM_APP + 7 };

struct ButtonFixture : HostFixture {
  CImgButton buttons[3];
  ButtonFixture() : HostFixture(420, 300, {kClicked, kFaded}) {
    for (int i = 0; i < 3; i++) {
      DWORD group = i == 0 ? WS_GROUP : 0;
      buttons[i].Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | group, CRect(20 + 60 * i, 20, 70 + 60 * i, 44),
                        &host, 300 + i);
      buttons[i].LoadBitmaps(IDB_CAL_BUTTON, IDB_CAL_BUTTON_PRESSED, IDB_CAL_BUTTON_HOT, IDB_CAL_BUTTON_DISABLED);
    }
    uikit::PumpPending();
  }
  void Click(CWnd& w, CPoint down, CPoint up) {
    w.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(down.x, down.y));
    w.SendMessage(WM_LBUTTONUP, 0, Pt(up.x, up.y));
    uikit::PumpPending();
  }
  int Count(UINT message) {
    int n = 0;
    for (auto& r : host.Take()) n += r.message == message;
    return n;
  }
};

TEST(ImgButton, RadioGroupCheckHoldAndReleaseOutside) {
  ButtonFixture f;
  for (auto& b : f.buttons) b.SetRadioButton(TRUE);
  f.buttons[0].SendMessage(BM_SETCHECK, BST_CHECKED);
  f.buttons[2].SendMessage(BM_SETCHECK, BST_CHECKED);
  f.Click(f.buttons[1], CPoint(5, 5), CPoint(5, 5));
  EXPECT_FALSE(f.buttons[0].GetCheck());
  EXPECT_TRUE(f.buttons[1].GetCheck());
  EXPECT_FALSE(f.buttons[2].GetCheck());

  // Check mode: the press toggles; unchecking while held does nothing.
  CImgButton& b = f.buttons[0];
  b.SetCheckButton(TRUE);
  b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(5, 5));
  EXPECT_TRUE(b.GetCheck());
  EXPECT_EQ(b.SendMessage(BM_SETCHECK, BST_UNCHECKED), 1);
  EXPECT_TRUE(b.GetCheck());
  b.SendMessage(WM_LBUTTONUP, 0, Pt(5, 5));
  EXPECT_EQ(b.SendMessage(BM_SETCHECK, BST_UNCHECKED), 0);
  EXPECT_EQ(b.SendMessage(BM_GETCHECK), 0);

  // The message goes only for a release inside; Return posts it too.
  b.SetCheckButton(FALSE);
  b.SetBtnMessage(f.host.m_hWnd, kClicked, 1, 2);
  f.Click(b, CPoint(5, 5), CPoint(-20, 5));
  EXPECT_EQ(f.Count(kClicked), 0);
  f.Click(b, CPoint(5, 5), CPoint(6, 6));
  EXPECT_EQ(f.Count(kClicked), 1);
  b.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(f.Count(kClicked), 1);
}

TEST(ImgButton, HeldRepeatKeepsAtMostOneWaiting) {
  ButtonFixture f;
  CImgButton& b = f.buttons[0];
  b.SetTimerPostMessage(TRUE);
  b.SetBtnMessage(f.host.m_hWnd, kRepeat, 0, 0);
  CRect rc;
  b.GetWindowRect(&rc);
  ::SetCursorPos(rc.CenterPoint().x, rc.CenterPoint().y);  // repeats only over the button
  uikit::PumpPending();
  b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(5, 5));
  // Only the button's messages run: the repeats pile up in the host's queue, or would.
  DWORD start = ::GetTickCount();
  int ticks = 0;
  MSG msg;
  while (::GetTickCount() - start < 2100) {
    while (::PeekMessage(&msg, b.m_hWnd, 0, 0, PM_REMOVE)) {
      ticks += msg.message == WM_TIMER;
      ::DispatchMessage(&msg);
    }
    ::Sleep(20);
  }
  int waiting = 0;
  while (::PeekMessage(&msg, f.host.m_hWnd, kRepeat, kRepeat, PM_REMOVE)) waiting++;
  EXPECT_GE(ticks, 3);  // at 500 ms intervals over two seconds
  EXPECT_LE(ticks, 5);
  EXPECT_EQ(waiting, 1);
  b.SendMessage(WM_LBUTTONUP, 0, Pt(5, 5));
  waiting = 0;
  while (::PeekMessage(&msg, f.host.m_hWnd, kRepeat, kRepeat, PM_REMOVE)) waiting++;
  EXPECT_EQ(waiting, 1);  // once more on the release inside
  ::SetCursorPos(2, 2);
}

TEST(HoverBitmapButton, FadedOutButtonIgnoresClicks) {
  ButtonFixture f;
  CHoverBitmapButton b;
  b.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(20, 80, 59, 101), &f.host, 310);
  b.LoadBitmaps(IDB_MOVIE_PLAY, IDB_MOVIE_PLAY_SELECTED, IDB_MOVIE_PLAY_FOCUS, IDB_MOVIE_PLAY_DISABLED);
  b.SetCommandMessage(&f.host, kFaded, 0, 0);
  b.SetBackgroundWnd(&f.host);
  b.CaptureBackground();
  b.SetAlpha(255);
  f.Click(b, CPoint(5, 5), CPoint(5, 5));
  EXPECT_EQ(f.Count(kFaded), 0);
  b.SetAlpha(128);
  f.Click(b, CPoint(5, 5), CPoint(5, 5));
  EXPECT_EQ(f.Count(kFaded), 1);
  f.Click(b, CPoint(5, 5), CPoint(80, 5));
  EXPECT_EQ(f.Count(kFaded), 0);
  b.DestroyWindow();
}

// ----- Bitmap scroll bar -----

struct BarFixture : HostFixture {
  CBitmapScrollBar bar;
  BarFixture() : HostFixture(420, 300, {WM_VSCROLL}) {
    bar.SetPartBitmaps(skinbar::kFirstArrow, IDB_SKIN_VSCROLL_UP, IDB_SKIN_VSCROLL_UP_PRESSED, IDB_SKIN_VSCROLL_UP_HOT,
                       IDB_SKIN_VSCROLL_UP_DISABLED);
    bar.SetPartBitmaps(skinbar::kSecondArrow, IDB_SKIN_VSCROLL_DOWN, IDB_SKIN_VSCROLL_DOWN_PRESSED,
                       IDB_SKIN_VSCROLL_DOWN_HOT, IDB_SKIN_VSCROLL_DOWN_DISABLED);
    bar.SetPartBitmaps(skinbar::kGrip, IDB_SKIN_VSCROLL_GRIP, IDB_SKIN_VSCROLL_GRIP_PRESSED, IDB_SKIN_VSCROLL_GRIP_HOT,
                       0);
    bar.SetPartBitmaps(skinbar::kBody, IDB_SKIN_VSCROLL_BODY, IDB_SKIN_VSCROLL_BODY_PRESSED, IDB_SKIN_VSCROLL_BODY_HOT,
                       0);
    bar.SetPartBitmaps(skinbar::kStartCap, IDB_SKIN_VSCROLL_CAP_TOP, 0, 0, 0);
    bar.SetPartBitmaps(skinbar::kEndCap, IDB_SKIN_VSCROLL_CAP_BOTTOM, 0, 0, 0);
    bar.SetBackgroundBitmap(IDB_SKIN_VSCROLL_TRACK);
    bar.Create(WS_VISIBLE | SBS_VERT, CRect(300, 10, 314, 138), &host, 900);
    uikit::PumpPending();
  }
  std::vector<int> Codes() {
    std::vector<int> out;
    for (auto& r : host.Take()) out.push_back(LOWORD(r.wParam));
    return out;
  }
};

TEST(BitmapScrollBar, PositionsClampAndEmptyRangeHasNoThumb) {
  BarFixture f;
  EXPECT_EQ(f.bar.PartSize(skinbar::kFirstArrow), 14);
  f.bar.SetScrollRange(0, 99, TRUE);
  SCROLLINFO si = {sizeof(si), SIF_PAGE, 0, 0, 10};
  f.bar.SetScrollInfo(&si, TRUE);
  f.host.Take();
  EXPECT_EQ(f.bar.SetScrollPos(95, TRUE), 0);
  EXPECT_EQ(f.bar.GetScrollPos(), 90);
  EXPECT_EQ(f.Codes(), (std::vector<int>{SB_ENDSCROLL}));
  f.bar.SetScrollPos(-5, TRUE);
  EXPECT_EQ(f.bar.GetScrollPos(), 0);
  EXPECT_EQ(f.bar.GetScrollLimit(), 90);
  // 100 px of track, a tenth of the range: the 14 px minimum with caps.
  EXPECT_EQ(f.bar.ThumbRect().Height(), 14);

  f.bar.SetScrollRange(0, 0, TRUE);
  f.host.Take();
  EXPECT_TRUE(f.bar.ThumbRect().IsRectEmpty());
  f.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(7, 60));
  f.bar.SendMessage(WM_LBUTTONUP, 0, Pt(7, 60));
  EXPECT_TRUE(f.Codes().empty());
}

TEST(BitmapScrollBar, HeldArrowStepsByPagesAfterFiveIntervals) {
  BarFixture f;
  f.bar.SetScrollRange(0, 99, FALSE);
  SCROLLINFO si = {sizeof(si), SIF_PAGE | SIF_POS, 0, 0, 10, 50};
  f.bar.SetScrollInfo(&si, TRUE);
  f.host.Take();
  // The release comes from a timer while the press runs its loop.
  static HWND s_bar;
  s_bar = f.bar.m_hWnd;
  MOUSEKEYS mk = {sizeof(mk)};
  ::SystemParametersInfo(SPI_GETMOUSEKEYS, sizeof(mk), &mk, 0);
  const int interval = mk.iMaxSpeed ? (int)mk.iMaxSpeed : 30;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 10 * interval + 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::PostMessage(s_bar, WM_LBUTTONUP, 0, Pt(7, 5));
  });
  DWORD start = ::GetTickCount();
  f.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(7, 5));
  DWORD held = ::GetTickCount() - start;
  ::KillTimer(nullptr, timer);
  std::vector<int> codes = f.Codes();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes[0], SB_LINEUP);
  int pages = (int)std::count(codes.begin(), codes.end(), SB_PAGEUP);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), SB_LINEUP), 1);
  EXPECT_GE(pages, 1);
  EXPECT_LE(pages, (int)held / interval - 4);  // none during the first five intervals
  EXPECT_EQ(f.bar.GetActivePart(), 0);
  // A press on the track after the thumb pages down once at once (the release waits in
  // the queue, so the press's loop ends at its first look).
  f.bar.PostMessage(WM_LBUTTONUP, 0, Pt(7, 100));
  f.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(7, 100));
  std::vector<int> after = f.Codes();
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after[0], SB_PAGEDOWN);
}

TEST(BitmapScrollBar, Picture) {
  BarFixture f;
  f.bar.SetScrollRange(0, 9, FALSE);
  SCROLLINFO si = {sizeof(si), SIF_PAGE | SIF_POS, 0, 0, 5, 0};
  f.bar.SetScrollInfo(&si, TRUE);
  uikit::Picture pic(f.bar.m_hWnd, uikit::Picture::kClient);
  pic.Save("bitmap_scroll_bar");
  // Arrows and thumb drawn from the pictures: neither black nor the system's grey.
  EXPECT_GT(pic.CountNear(CRect(0, 0, 14, 14), RGB(236, 240, 244), 30), 4);  // arrow glyph
  CRect thumb = f.bar.ThumbRect();
  EXPECT_EQ(thumb.Height(), 50);
  EXPECT_GT(pic.CountNear(CRect(0, thumb.top + 6, 14, thumb.bottom - 6), RGB(70, 80, 92), 30), 100);
}

// ----- Movie slider -----

struct MovieFixture : HostFixture {
  CMovieCtrlBar bar;
  MovieFixture() : HostFixture(420, 300, {WM_HSCROLL, WM_MOUSEWHEEL}) {
    bar.SetChannelBitmaps(IDB_MOVIE_CHANNEL, IDB_MOVIE_CHANNEL_LEFT, IDB_MOVIE_CHANNEL_RIGHT);
    bar.SetThumbBitmaps(IDB_MOVIE_THUMB, IDB_MOVIE_THUMB_PRESSED, IDB_MOVIE_THUMB_HOT, IDB_MOVIE_THUMB_DISABLED);
    bar.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(20, 20, 196, 41), &host, 910);
    bar.SetRange(0, 10, TRUE);
    bar.SetPos(0);
    host.Take();
  }
  std::vector<std::pair<int, int>> Scrolls() {
    std::vector<std::pair<int, int>> out;
    for (auto& r : host.Take())
      if (r.message == WM_HSCROLL) out.push_back({LOWORD(r.wParam), HIWORD(r.wParam)});
    return out;
  }
};

TEST(MovieCtrlBar, ClicksJumpOrTrackWheelAndKeysStep) {
  MovieFixture f;
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(f.bar.GetStepWidth(), 6);  // (76 - 10 - 1) / 10
  int x = f.bar.PosToCenter(7);
  f.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, 10));
  f.bar.SendMessage(WM_LBUTTONUP, 0, Pt(x, 10));
  EXPECT_EQ(f.bar.GetPos(), 7);  // one jump, no paging
  EXPECT_EQ(f.Scrolls(), (P{{SB_THUMBPOSITION, 7}, {SB_ENDSCROLL, 0}}));
  // On the thumb: tracking at once, and the position with the end on release.
  f.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, 10));
  EXPECT_EQ(f.bar.GetThumbState(), CMovieCtrlBar::kPressed);
  f.bar.SendMessage(WM_LBUTTONUP, 0, Pt(x, 10));
  EXPECT_EQ(f.Scrolls(), (P{{SB_THUMBTRACK, 7}, {SB_THUMBPOSITION, 7}, {SB_ENDSCROLL, 0}}));
  // A forward notch moves one toward the start and goes on to the parent.
  f.bar.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), Pt(100, 30));
  EXPECT_EQ(f.bar.GetPos(), 6);
  auto got = f.host.Take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, (UINT)WM_MOUSEWHEEL);
  f.bar.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), Pt(100, 30));
  EXPECT_EQ(f.bar.GetPos(), 7);
  f.host.Take();
  f.bar.SendMessage(WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(f.bar.GetPos(), 10);
  f.bar.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(f.Scrolls(), (P{{SB_RIGHT, 0}}));
  // Disabled: nothing moves.
  f.bar.EnableWindow(FALSE);
  EXPECT_EQ(f.bar.GetThumbState(), CMovieCtrlBar::kDisabled);
  f.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(f.bar.PosToCenter(2), 10));
  f.bar.SendMessage(WM_KEYDOWN, VK_HOME, 0);
  f.bar.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), Pt(100, 30));
  EXPECT_EQ(f.bar.GetPos(), 10);
  EXPECT_TRUE(f.host.Take().empty());
}

// The tooltip of a bar made with a text: tool 1 over the channel; the pointer leaving the
// channel (the tooltip's timer 3) does not take it down, its other timers do.
TEST(MovieCtrlBar, TooltipOutlivesTheLeaveTimer) {
  HostFixture f(420, 300);
  CMovieCtrlBar bar;
  bar.SetChannelBitmaps(IDB_MOVIE_CHANNEL, IDB_MOVIE_CHANNEL_LEFT, IDB_MOVIE_CHANNEL_RIGHT);
  bar.SetThumbBitmaps(IDB_MOVIE_THUMB, IDB_MOVIE_THUMB_PRESSED, IDB_MOVIE_THUMB_HOT, IDB_MOVIE_THUMB_DISABLED);
  ASSERT_TRUE(bar.CreateEx(0, TRACKBAR_CLASSA, "Position", WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(20, 20, 196, 41),
                           &f.host, 911));
  // The bar's tooltip: the one of ours whose tool 1 is the bar (asking another program's
  // tooltips would hand them a pointer into this one, and wait on them).
  HWND tip = nullptr;
  for (HWND w : testsupport::WindowsOf(::GetCurrentProcessId(), TOOLTIPS_CLASSA, true)) {
    TTTOOLINFOA ti = {sizeof(ti)};
    ti.hwnd = bar.m_hWnd;
    ti.uId = 1;
    if (!tip && ::SendMessageA(w, TTM_GETTOOLINFOA, 0, (LPARAM)&ti)) tip = w;
  }
  ASSERT_TRUE(tip);
  RECT channel;
  bar.GetChannelRect(&channel);
  POINT client = {(channel.left + channel.right) / 2, (channel.top + channel.bottom) / 2}, on = client;
  bar.ClientToScreen(&on);
  // The pointer rests on the channel and the show timer fires.
  ::SetCursorPos(on.x, on.y);
  MSG move = {bar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y)};
  ::SendMessageA(tip, TTM_RELAYEVENT, 0, (LPARAM)&move);
  ::SendMessageA(tip, WM_TIMER, 1, 0);
  ASSERT_TRUE(::IsWindowVisible(tip));
  ::SetCursorPos(2, 2);
  ::SendMessageA(tip, WM_TIMER, 3, 0);
  EXPECT_TRUE(::IsWindowVisible(tip));
  ::SendMessageA(tip, WM_TIMER, 2, 0);  // the pop timer goes to the tooltip's own handling
  EXPECT_FALSE(::IsWindowVisible(tip));
  bar.DestroyWindow();
}

TEST(MovieCtrlBar, EmptyRangeStillPaintsAndNarrowControlKeepsBothEnds) {
  MovieFixture f;
  f.bar.SetRange(0, 0, TRUE);
  EXPECT_EQ(f.bar.PosToOffset(0), 0);
  EXPECT_EQ(f.bar.HitTestPos(50, 10, FALSE), 0);
  f.bar.SetWindowPos(nullptr, 0, 0, 8, 21, SWP_NOMOVE | SWP_NOZORDER);
  f.bar.SetRange(0, 1, TRUE);
  uikit::Picture narrow(f.bar.m_hWnd, uikit::Picture::kClient);
  CRect narrowThumb;
  f.bar.GetThumbRect(&narrowThumb);
  EXPECT_EQ(narrowThumb.left, 0);  // an offset past the control falls back to position 0's
  EXPECT_GT(narrow.CountNear(CRect(0, 0, 8, 21), RGB(220, 226, 232), 30), 10);
  f.bar.SetWindowPos(nullptr, 0, 0, 176, 21, SWP_NOMOVE | SWP_NOZORDER);
  f.bar.SetRange(0, 10, TRUE);
  f.bar.SetPos(5);
  uikit::Picture pic(f.bar.m_hWnd, uikit::Picture::kClient);
  pic.Save("movie_ctrl_bar");
  CRect thumb;
  f.bar.GetThumbRect(&thumb);
  EXPECT_GT(pic.CountNear(thumb, RGB(220, 226, 232), 30), 20);
}

// ----- Header strip and scroll panel -----

const UINT kHeaderImages[listheader::kPartImages] = {IDB_SKIN_HEADER_FACE,
                                                     IDB_SKIN_HEADER_FACE_PRESSED,
                                                     IDB_SKIN_HEADER_FACE_SORT,
                                                     IDB_SKIN_HEADER_SEPARATOR,
                                                     IDB_SKIN_HEADER_FILLER,
                                                     0,
                                                     0,
                                                     0,
                                                     0,
                                                     0};

TEST(MusicListHeader, ImagesAndWidth) {
  HostFixture f;
  CMusicListHeader header;
  ASSERT_TRUE(header.LoadImages(kHeaderImages, nullptr, RGB(255, 0, 255)));  // zero ids stay empty
  const BITMAPINFO* face = header.GetImage(0);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(header.GetImage(5), nullptr);
  std::vector<BITMAPINFO*> nine(9, nullptr);
  EXPECT_FALSE(header.SetImages(nine, nullptr, 0));
  EXPECT_EQ(header.GetImage(0), face);  // the old images kept
  EXPECT_EQ(header.GetItemList().size(), 6u);
  header.SetMinimumWidth(150);
  header.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 20), &f.host, 920);
  header.Relayout();
  CRect rc;
  header.GetClientRect(&rc);
  EXPECT_EQ(rc.Width(), 150);  // no columns: the minimum width, which fits
  EXPECT_EQ(rc.Height(), 22);  // the first image's height
  header.Columns() = {{1, "Title", 400, {}}};
  header.Relayout();
  header.GetClientRect(&rc);
  EXPECT_EQ(rc.Width(), 400);
  CMusicListHeader* pOut = nullptr;
  EXPECT_EQ(CMusicListHeader::CreateInstance(0, nullptr), (HRESULT)0x80000002);
  ASSERT_EQ(CMusicListHeader::CreateInstance(0, &pOut), 0);
  EXPECT_EQ(pOut->GetSortColumn(), -1);
  delete pOut;
  header.DestroyWindow();
}

// Fills record which item each window was given.
struct Fills {
  std::vector<std::pair<int, CSkinCtrlWnd*>> calls;
  static void Fill(int index, int, int, CSkinCtrlWnd* pItem, void* pContext) {
    static_cast<Fills*>(pContext)->calls.push_back({index, pItem});
    if (auto* h = dynamic_cast<CMusicListHeader*>(pItem)) {
      CString title;
      title.Format("Row %d", index);
      if (!h->Columns().empty()) h->Columns()[0].title = title;
    }
  }
  std::vector<int> Indices() {
    std::vector<int> out;
    for (auto& c : calls) out.push_back(c.first);
    calls.clear();
    return out;
  }
};

struct PanelFixture : HostFixture {
  CMusicListHeader header;
  CScrollPanelWnd panel;
  Fills fills;
  // A grid of 20 x 20 cells, 3 columns and 4 rows, or a list of header strips.
  explicit PanelFixture(bool grid)
      : HostFixture(420, 300,
                    {UWM_LIST_ITEMCHANGE, UWM_LIST_CURSEL, UWM_LIST_BLANKCLICK, UWM_LIST_DBLCLK, UWM_LIST_ACTIVATE}) {
    header.LoadImages(kHeaderImages, nullptr, RGB(255, 0, 255));
    header.Columns() = {{1, "Title", 160, {}}, {2, "Artist", 120, {}}, {3, "Time", 60, {}}};
    header.SetSortColumn(1);
    CRect cell = grid ? CRect(0, 0, 20, 20) : CRect(0, 0, 340, 22);
    header.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, cell, &host, 921);
    panel.Create(WS_VISIBLE, grid ? CRect(10, 10, 100, 110) : CRect(10, 10, 370, 250), &host, 930);
    panel.SetVertScrollBarBitmaps(skinbar::kFirstArrow, IDB_SKIN_VSCROLL_UP, IDB_SKIN_VSCROLL_UP_PRESSED,
                                  IDB_SKIN_VSCROLL_UP_HOT, IDB_SKIN_VSCROLL_UP_DISABLED);
    panel.SetVertScrollBarBitmaps(skinbar::kSecondArrow, IDB_SKIN_VSCROLL_DOWN, IDB_SKIN_VSCROLL_DOWN_PRESSED,
                                  IDB_SKIN_VSCROLL_DOWN_HOT, IDB_SKIN_VSCROLL_DOWN_DISABLED);
    panel.SetVertScrollBarBitmaps(skinbar::kBody, IDB_SKIN_VSCROLL_BODY, IDB_SKIN_VSCROLL_BODY_PRESSED,
                                  IDB_SKIN_VSCROLL_BODY_HOT, 0);
    panel.SetVertScrollBarBitmaps(skinbar::kGrip, IDB_SKIN_VSCROLL_GRIP, IDB_SKIN_VSCROLL_GRIP_PRESSED,
                                  IDB_SKIN_VSCROLL_GRIP_HOT, 0);
    panel.SetVertScrollBarBackground(IDB_SKIN_VSCROLL_TRACK);
    panel.SetOwnerWnd(host.m_hWnd);
    panel.SetItemCallback(&Fills::Fill, &fills);
    if (grid)
      panel.SetCellFitMode(4, 3);
    else
      panel.SetCellFitMode(-1, 1);
    panel.SetCellGaps(grid ? 2 : 0, grid ? 2 : 0);
    panel.SetHeaderCtrl(&header);
    uikit::PumpPending();
  }
  CSkinCtrlWnd* Cell(int i) { return panel.GetRowWnd(i); }
  std::vector<CSkinCtrlWnd*> Page() {
    std::vector<CSkinCtrlWnd*> out;
    for (int i = 0; i < panel.GetVisibleCount(); i++) out.push_back(Cell(i));
    return out;
  }
};

TEST(ScrollPanelWnd, CountsAndStates) {
  PanelFixture f(true);
  f.panel.SetItemCount(0, TRUE);
  int min = 5, max = 5;
  f.panel.VertBar().GetScrollRange(&min, &max);
  EXPECT_EQ(min, -1);
  EXPECT_EQ(max, -1);
  EXPECT_EQ(f.panel.GetTotalCount(), 0);
  EXPECT_EQ(f.panel.GetVisibleCount(), 0);
  f.panel.SetItemCount(-3, TRUE);  // refused
  EXPECT_EQ(f.panel.GetTotalCount(), 0);
  // A million items: only the visible pool exists.
  f.panel.SetItemCount(1000000, TRUE);
  EXPECT_EQ(f.panel.GetTotalCount(), 1000000);
  EXPECT_EQ(f.panel.GetCapacity(), 12);
  EXPECT_EQ(f.panel.GetPoolSize(), 12);
  EXPECT_EQ(f.panel.GetVisibleCount(), 12);
  EXPECT_EQ(f.panel.GetRowWnd(12), nullptr);
  EXPECT_EQ(f.panel.GetRowWnd(-1), nullptr);
  EXPECT_EQ(f.panel.GetRowState(1000000), 1);
  EXPECT_EQ(f.panel.GetRowState(-1), 1);
  f.panel.OnDeleteItem(-1);
  f.panel.OnDeleteItem(1000000);
  EXPECT_EQ(f.panel.GetTotalCount(), 1000000);
  f.panel.SetSelection({4});
  EXPECT_EQ(f.panel.GetRowState(4), 4);
  f.panel.EnableWindow(FALSE);
  EXPECT_EQ(f.panel.GetRowState(4), 8);
  EXPECT_EQ(f.panel.GetRowState(5), 8);
  f.panel.EnableWindow(TRUE);
  // 3 columns, 10 items: thumb tracking to 4 starts the page at 6... when a page is smaller.
  f.panel.SetItemCount(10, TRUE);
  f.panel.SetCellFitMode(2, 3);
  f.panel.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 4), 0);
  int first, last;
  f.panel.GetVisibleRange(&first, &last);
  EXPECT_EQ(first, 6);
  EXPECT_EQ(last, 9);
}

TEST(ScrollPanelWnd, LineDownReusesTheWindowsAndFillsOnlyTheNewCells) {
  PanelFixture f(true);
  f.panel.SetItemCount(15, TRUE);
  f.fills.Indices();
  std::vector<CSkinCtrlWnd*> before = f.Page();
  ASSERT_EQ(before.size(), 12u);
  f.panel.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  std::vector<CSkinCtrlWnd*> after = f.Page();
  ASSERT_EQ(after.size(), 12u);
  for (int cell = 0; cell < 9; cell++) EXPECT_EQ(after[cell], before[cell + 3]) << cell;
  EXPECT_EQ(f.fills.Indices(), (std::vector<int>{12, 13, 14}));
  EXPECT_EQ(f.panel.GetPoolSize(), 12);
  // The wheel: one line up whatever the delta.
  f.panel.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 360), 0);
  int first, last;
  f.panel.GetVisibleRange(&first, &last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(f.Page(), before);
  EXPECT_EQ(f.fills.Indices(), (std::vector<int>{0, 1, 2}));
}

TEST(ScrollPanelWnd, DeletionMovesTheFollowingWindowsBack) {
  PanelFixture f(true);
  f.panel.SetItemCount(15, TRUE);
  std::vector<CSkinCtrlWnd*> before = f.Page();
  f.panel.SetSelection({5, 0});
  f.fills.Indices();
  f.panel.OnDeleteItem(1);
  std::vector<CSkinCtrlWnd*> after = f.Page();
  EXPECT_EQ(after[0], before[0]);
  for (int cell = 1; cell < 11; cell++) EXPECT_EQ(after[cell], before[cell + 1]) << cell;
  EXPECT_EQ(after[11], before[1]);
  EXPECT_EQ(f.fills.Indices(), (std::vector<int>{11}));
  EXPECT_EQ(f.panel.GetTotalCount(), 14);
  std::vector<int> sel;
  f.panel.GetSelection(sel);
  EXPECT_EQ(sel, (std::vector<int>{4, 0}));
  // Below the page: no window moves.
  before = f.Page();
  f.panel.OnDeleteItem(13);
  EXPECT_EQ(f.Page(), before);
  EXPECT_TRUE(f.fills.Indices().empty());
  // 13 items, page at 3: deleting item 12 leaves 12 items and the page at 0.
  f.panel.SetItemCount(13, TRUE);
  f.panel.Relayout(3, TRUE);
  int first, last;
  f.panel.GetVisibleRange(&first, &last);
  ASSERT_EQ(first, 3);
  f.panel.OnDeleteItem(12);
  f.panel.GetVisibleRange(&first, &last);
  EXPECT_EQ(f.panel.GetTotalCount(), 12);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 11);
}

void SetShift(bool down) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

TEST(ScrollPanelWnd, ClicksShiftAndKeys) {
  PanelFixture f(true);
  f.panel.SetMultiSelect(TRUE);
  f.panel.SetItemCount(15, TRUE);
  auto notify = [&](int cell, UINT code) {
    f.panel.SendMessage(WM_COMMAND, MAKEWPARAM(f.Cell(cell)->GetDlgCtrlID(), code), (LPARAM)f.Cell(cell)->m_hWnd);
  };
  std::vector<int> sel;
  notify(2, BN_HILITE);
  notify(2, BN_CLICKED);
  f.panel.GetSelection(sel);
  EXPECT_EQ(sel, (std::vector<int>{2}));
  EXPECT_EQ(f.Cell(2)->GetState(), 4);
  // A Shift-press selects the range; the click after it leaves it alone.
  SetShift(true);
  notify(5, BN_HILITE);
  notify(5, BN_CLICKED);
  SetShift(false);
  f.panel.GetSelection(sel);
  EXPECT_EQ(sel, (std::vector<int>{2, 3, 4, 5}));
  f.host.Take();
  // Key down: the anchor (2) moves a row on, selected alone.
  EXPECT_EQ(f.panel.SendMessage(UWM_SKIN_KEYACTION, scrollpanel::kDown), 1);
  f.panel.GetSelection(sel);
  EXPECT_EQ(sel, (std::vector<int>{5}));
  EXPECT_EQ(f.panel.GetAnchor(), 5);
  // Down past the page scrolls a row.
  for (int i = 0; i < 3; i++) f.panel.SendMessage(UWM_SKIN_KEYACTION, scrollpanel::kDown);
  int first, last;
  f.panel.GetVisibleRange(&first, &last);
  EXPECT_EQ(f.panel.GetAnchor(), 14);
  EXPECT_EQ(first, 3);
  auto got = f.host.Take();
  EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const Record& r) { return r.message == UWM_LIST_ITEMCHANGE; }), 4);
  f.panel.SendMessage(UWM_SKIN_KEYACTION, scrollpanel::kActivate);
  got = f.host.Take();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back().message, (UINT)UWM_LIST_ACTIVATE);
  // Selection disabled: a click only reports the item.
  f.panel.SetSelectionEnabled(FALSE);
  notify(1, BN_CLICKED);
  got = f.host.Take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, (UINT)UWM_LIST_CURSEL);
  EXPECT_EQ(got[0].wParam, (WPARAM)(first + 1));
}

TEST(ScrollPanelWnd, HarnessOfAThousandHeaderStrips) {
  PanelFixture f(false);
  f.panel.SetItemCount(1000, TRUE);
  int rows = f.panel.GetRows();
  EXPECT_EQ(rows, 11);  // ten whole rows and a part one
  EXPECT_EQ(f.panel.GetPoolSize(), rows);
  f.panel.SetSelection({1, 3});
  f.panel.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  f.panel.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(f.panel.GetPoolSize(), rows);  // the windows are reused, never more
  uikit::Picture pic(f.panel.m_hWnd, uikit::Picture::kClient);
  pic.Save("scroll_panel_harness");
  // The strips' faces, the sort column's look, the bar's arrow glyph.
  EXPECT_GT(pic.CountNear(CRect(0, 0, 150, 22), RGB(50, 58, 70), 24), 300);
  EXPECT_GT(pic.CountNear(CRect(170, 0, 270, 22), RGB(57, 97, 127), 24), 300);
  EXPECT_GT(pic.CountNear(CRect(346, 0, 360, 14), RGB(236, 240, 244), 30), 4);
  EXPECT_GT(pic.CountDark(CRect(0, 0, 150, 22), 760), 0);
}

}  // namespace
