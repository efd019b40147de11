// The full-screen zoom window on its own (owner: a window of the test): its panel's buttons
// blend over what lies under them and take the fade's steps, its cursors are the resource
// library's, a movie's end goes on by the profile's "Continue", and its opening waits at
// most two seconds for a first paint.
#include <gtest/gtest.h>

#include <VxGUIDB.h>
#include <VxResourceIds.h>
#include <picture.h>
#include <program.h>
#include <pump.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <Kitlib2/Profile.h>
#include <profileroot.h>

#include "HoverBitmapButton.h"
#include "MovieCtrl.h"
#include "VxZoomWnd.h"
#include "ZoomWndController.h"
#include "ZoomWndRules.h"

using testsupport::Fixture;
using testsupport::WaitUntil;

namespace {

const char kZoomTitle[] = "6D1F3A27-94C0-4B58-A1E6-3C7B20F95D84";  // the zoom window's

// The zoom window's owner: notes the codes it is sent and says there is a next item.
struct OwnerWnd : CWnd {
  const UINT message = RegisterWindowMessageA("VX3D_ZOOMMODE_WND");
  std::vector<int> codes;
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
    if (m != message) return CWnd::WindowProc(m, w, l);
    codes.push_back(int(w));
    return w == ZOWN_HAS_NEXT_ITEM;
  }
};

// A zoom controller opened on one picture of the fixtures.
struct OpenZoom {
  CThumbnailPage* page = new CThumbnailPage(VXPAGE_VIRTUAL, 1);
  CZoomWndController zoom;
  CMovieCtrl movie;
  OwnerWnd owner;
  DWORD openMs = 0;
  int opened = 0;
  explicit OpenZoom(const char* picture) {
    owner.CreateEx(0, AfxRegisterWndClass(0), "zoom owner", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0);
    page->Add(Fixture(picture).c_str(), 1);
    CList<CThumbnail*, CThumbnail*> group;
    group.AddTail(page->GetAt(0));
    zoom.AddItem(group);
    const DWORD start = GetTickCount();
    opened = zoom.Open(page->GetAt(0), &owner, NULL, &movie);
    openMs = GetTickCount() - start;
    testsupport::PumpPending();
  }
  ~OpenZoom() {
    zoom.Close();
    zoom.Destroy();
    testsupport::PumpPending();
    owner.DestroyWindow();
    delete page;
  }
  CVxZoomWnd* Wnd() const { return zoom.GetZoomWnd(); }
  CHoverBitmapButton* Button(int n) const { return DYNAMIC_DOWNCAST(CHoverBitmapButton, Wnd()->GetButton(n)); }
};

HCURSOR ResourceCursor(UINT id) {
  CResourceChanger change;
  return (HCURSOR)LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_CURSOR, 0, 0,
                             LR_DEFAULTSIZE | LR_SHARED);
}

// The channel of a and c that differ most, and whether b lies well between them on it.
int Spread(COLORREF a, COLORREF c) {
  return std::max(
      {abs(GetRValue(a) - GetRValue(c)), abs(GetGValue(a) - GetGValue(c)), abs(GetBValue(a) - GetBValue(c))});
}
bool Between(COLORREF a, COLORREF b, COLORREF c) {
  const int ch[3][3] = {{GetRValue(a), GetRValue(b), GetRValue(c)},
                        {GetGValue(a), GetGValue(b), GetGValue(c)},
                        {GetBValue(a), GetBValue(b), GetBValue(c)}};
  for (const auto& k : ch)
    if (abs(k[0] - k[2]) == Spread(a, c)) return k[1] > std::min(k[0], k[2]) + 5 && k[1] < std::max(k[0], k[2]) - 5;
  return false;
}

}  // namespace

// A button of the panel is drawn over the background taken from the window's paint (here
// the picture under the zoom-out button): fully faded out it is that background, half way
// the two mixed.
TEST(ZoomWindow, PanelButtonsBlendOverWhatLiesUnderThem) {
  OpenZoom z("exif_full.jpg");
  ASSERT_EQ(1, z.opened);
  CHoverBitmapButton* close = z.Button(kZbZoomOut);
  ASSERT_NE(close, nullptr);
  ASSERT_TRUE(close->IsWindowVisible());
  EXPECT_EQ(0, z.Wnd()->GetPanelAlpha());
  auto shot = [&](BYTE alpha, std::vector<COLORREF>* out) {
    close->SetAlpha(alpha);
    close->UpdateWindow();
    testsupport::Picture p(close->GetSafeHwnd(), testsupport::Picture::kClient);
    out->clear();
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) out->push_back(p.At(x, y));
  };
  std::vector<COLORREF> face, gone, half;
  shot(0, &face);
  shot(255, &gone);
  shot(128, &half);
  close->SetAlpha(0);
  ASSERT_EQ(face.size(), gone.size());
  int differing = 0, mixed = 0;
  for (size_t i = 0; i < face.size(); ++i) {
    if (Spread(face[i], gone[i]) < 40) continue;
    ++differing;
    if (Between(face[i], half[i], gone[i])) ++mixed;
  }
  EXPECT_GT(differing, int(face.size()) / 4);  // the face is not the background
  EXPECT_GT(mixed, differing * 3 / 4) << mixed << " of " << differing;
}

// What the panel shows after each of the zoom window's timer steps, recorded in its window
// procedure: a poll between pump drains misses the steps when one drain runs them all.
struct PanelStep {
  int panel;
  int button;
  bool buttonShown;
};
struct PanelSteps {
  static PanelSteps* s_on;
  CVxZoomWnd* wnd;
  CHoverBitmapButton* button;
  WNDPROC proc;
  std::vector<PanelStep> steps;
  PanelSteps(CVxZoomWnd* w, CHoverBitmapButton* b) : wnd(w), button(b) {
    s_on = this;
    proc = (WNDPROC)SetWindowLongPtrA(w->GetSafeHwnd(), GWLP_WNDPROC, (LONG_PTR)&Proc);
  }
  ~PanelSteps() {
    SetWindowLongPtrA(wnd->GetSafeHwnd(), GWLP_WNDPROC, (LONG_PTR)proc);
    s_on = nullptr;
  }
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    PanelSteps* self = s_on;
    const LRESULT r = CallWindowProcA(self->proc, h, m, w, l);
    if (m == WM_TIMER)
      self->steps.push_back({self->wnd->GetPanelAlpha(), self->button->GetAlpha(), !!self->button->IsWindowVisible()});
    return r;
  }
};
PanelSteps* PanelSteps::s_on = nullptr;

// Without input the panel fades out in steps that reach its buttons, and comes back on a
// mouse move.
TEST(ZoomWindow, ThePanelFadesOutInStepsAndBack) {
  OpenZoom z("plain.jpg");
  ASSERT_EQ(1, z.opened);
  CVxZoomWnd* wnd = z.Wnd();
  CHoverBitmapButton* close = z.Button(kZbClose);
  ASSERT_NE(close, nullptr);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);  // over no button
  {
    PanelSteps record(wnd, close);
    wnd->SendMessage(WM_KEYDOWN, VK_SHIFT, 0);  // input: the idle wait starts
    EXPECT_TRUE(WaitUntil([&] { return wnd->GetPanelAlpha() == 255; }, 8000));
    // The panel took every step of the fade, in order, and each reached the button while it
    // still showed.
    std::vector<int> taken, expected;
    for (int a = 0; a < 255;) expected.push_back(a = ZoomFadeOut(a));
    for (const PanelStep& s : record.steps) {
      if (s.panel == 0 || (!taken.empty() && taken.back() == s.panel)) continue;
      taken.push_back(s.panel);
      if (s.panel == 255) continue;
      EXPECT_EQ(s.button, s.panel);
      EXPECT_TRUE(s.buttonShown) << s.panel;
    }
    EXPECT_EQ(taken, expected);
  }
  EXPECT_FALSE(close->IsWindowVisible());  // faded out: nothing left to click
  wnd->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
  EXPECT_TRUE(WaitUntil([&] { return wnd->GetPanelAlpha() == 0; }, 5000));
  EXPECT_TRUE(close->IsWindowVisible());
  EXPECT_EQ(0, close->GetAlpha());
}

// The hands over a picture larger than the screen and the panel's button cursor are the
// resource library's, not the system's.
TEST(ZoomWindow, CursorsComeFromTheResourceLibrary) {
  OpenZoom z("exif_full.jpg");
  ASSERT_EQ(1, z.opened);
  CVxZoomWnd* wnd = z.Wnd();
  const HCURSOR open = ResourceCursor(IDCUR_ZOOM_OPEN_HAND), button = ResourceCursor(IDCUR_PANEL_BUTTON);
  ASSERT_NE(open, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_NE(open, LoadCursor(NULL, IDC_HAND));
  const int fit = wnd->GetZoom();
  wnd->SendMessage(ZWM_ZOOM_IN);
  ASSERT_GT(wnd->GetZoom(), fit);
  wnd->SendMessage(WM_SETCURSOR, (WPARAM)wnd->GetSafeHwnd(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(open, GetCursor());
  CHoverBitmapButton* close = z.Button(kZbClose);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(button, close->SetCursor(button));  // answers the cursor it had
}

// A movie's end from the movie bridge (message 1865) goes on to the next item when the
// profile's "Continue" says so: the window asks its owner whether there is one, then for it.
// The setting is read through the profile (under the test's own root here).
TEST(ZoomWindow, AMoviesEndGoesOnWhenContinueIsSet) {
  testsupport::ScopedProfileRoot profile("zoom-continue");
  for (int value : {0, 1}) {
    SCOPED_TRACE(value);
    CMWriteProfileInt("Settings\\Device\\GMRPLAY", "Continue", value);
    OpenZoom z("plain.jpg");
    ASSERT_EQ(1, z.opened);
    z.owner.codes.clear();
    MSG end = {z.Wnd()->GetSafeHwnd(), 1865, 0, 0};
    z.Wnd()->PreTranslateMessage(&end);
    const std::vector<int> asked = value ? std::vector<int>{ZOWN_HAS_NEXT_ITEM, ZOWN_NEXT_ITEM} : std::vector<int>{};
    EXPECT_EQ(asked, z.owner.codes);
  }
}

namespace {
// Swallows the zoom window's paints (as a window whose first paint never comes) until told.
HHOOK g_hook = NULL;
WNDPROC g_proc = NULL;
bool g_swallow = false;
LRESULT CALLBACK SwallowPaint(HWND h, UINT msg, WPARAM w, LPARAM l) {
  WNDPROC proc = g_proc;
  if (msg == WM_PAINT && g_swallow) {
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    EndPaint(h, &ps);
    return 0;
  }
  if (msg == WM_NCDESTROY) SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)proc);
  return CallWindowProcA(proc, h, msg, w, l);
}
LRESULT CALLBACK AfterCreate(int code, WPARAM w, LPARAM l) {
  const CWPRETSTRUCT* m = reinterpret_cast<const CWPRETSTRUCT*>(l);
  char title[64] = "";
  if (code == HC_ACTION && m->message == WM_CREATE && !g_proc && GetWindowTextA(m->hwnd, title, sizeof title) &&
      lstrcmpA(title, kZoomTitle) == 0)
    g_proc = (WNDPROC)SetWindowLongPtrA(m->hwnd, GWLP_WNDPROC, (LONG_PTR)SwallowPaint);
  return CallNextHookEx(g_hook, code, w, l);
}
}  // namespace

// A first paint that never comes holds the opening for two seconds, not for ever.
TEST(ZoomWindow, TheOpeningWaitsAtMostTwoSecondsForItsFirstPaint) {
  g_swallow = true;
  g_proc = NULL;
  g_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterCreate, NULL, GetCurrentThreadId());
  ASSERT_NE(g_hook, nullptr);
  {
    OpenZoom z("plain.jpg");
    UnhookWindowsHookEx(g_hook);
    g_swallow = false;
    ASSERT_EQ(1, z.opened);
    EXPECT_NE(g_proc, nullptr);  // the paints were swallowed
    EXPECT_GE(z.openMs, 1900u);
    EXPECT_LT(z.openMs, 10000u);
    EXPECT_TRUE(z.Wnd()->m_bOpened);  // and it goes on as opened
  }
  g_proc = NULL;
}
