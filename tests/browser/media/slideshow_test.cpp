// The slide show in its full-screen window with the real slide player beside the program:
// what shows (by pixels), the panel, pause and the settings reload, the end of a show, Esc,
// the owner's notices, a player library that is missing, and the screen saver given back.
// Everything is driven by messages and waited for by state, never by focus or fixed delays.
#include <gtest/gtest.h>

#include <picture.h>
#include <pump.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "HoverBitmapButton.h"
#include "SlideShowController.h"
#include "VxSlideShowWnd.h"

namespace {

std::string Scratch(const char* name) {
  char sz[MAX_PATH];
  GetTempPathA(MAX_PATH, sz);
  std::string d = std::string(sz) + "slideshow_" + name;
  CreateDirectoryA(d.c_str(), nullptr);
  return d;
}

// A solid 24-bit picture.
std::string WriteBmp(const std::string& path, int w, int h, COLORREF c) {
  const int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh = {};
  BITMAPINFOHEADER ih = {sizeof(ih), w, h, 1, 24, BI_RGB};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + stride * h;
  std::vector<BYTE> rows((size_t)stride * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      BYTE* p = &rows[(size_t)y * stride + x * 3];
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
    }
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n;
  WriteFile(f, &fh, sizeof(fh), &n, nullptr);
  WriteFile(f, &ih, sizeof(ih), &n, nullptr);
  WriteFile(f, rows.data(), (DWORD)rows.size(), &n, nullptr);
  CloseHandle(f);
  return path;
}

tagSLD_V_TYPE Slide(const std::string& path, LONG intervalMs) {
  tagSLD_V_TYPE s = {};
  lstrcpynA(s.szPath, path.c_str(), MAX_PATH);
  memcpy(s.tail, &intervalMs, sizeof(intervalMs));
  return s;
}

// The browser's view stands in as owner: it records the slide-show window's notices.
struct OwnerView : CView {
  std::vector<int> codes;
  UINT uMsg = RegisterWindowMessageA("VX3D_SLIDESHOW_WND");
  void OnDraw(CDC*) override {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == uMsg) codes.push_back((int)wParam);
    return CView::WindowProc(message, wParam, lParam);
  }
};

struct Owner {
  CWnd frame;
  OwnerView* view = new OwnerView;  // a view deletes itself with its window
  Owner() {
    frame.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0);
    view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &frame, 1, nullptr);
  }
  ~Owner() { frame.DestroyWindow(); }
};

BOOL SaverActive() {
  BOOL b = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &b, 0);
  return b;
}

// The player library lies beside this test program.
struct SlideShowTest : ::testing::Test {
  BOOL saverBefore = SaverActive();
  void SetUp() override {
    char sz[MAX_PATH];
    GetModuleFileNameA(nullptr, sz, MAX_PATH);
    CVxSlideShowWnd::SetHostModule(PathFindFileNameA(sz));
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
  }
  void TearDown() override {
    CVxSlideShowWnd::SetHostModule(nullptr);
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, saverBefore, nullptr, 0);
  }
  // Starts the show and waits until its first paint has loaded and started the player.
  CVxSlideShowWnd* StartAndWait(CSlideShowController& show) {
    if (FAILED(show.Start())) return nullptr;
    CVxSlideShowWnd* wnd = show.GetWindow();
    if (!wnd) return nullptr;
    wnd->UpdateWindow();
    testsupport::WaitUntil([&] { return !show.GetWindow() || (wnd->IsOpened() && wnd->IsPlaying()); }, 5000);
    return show.GetWindow();
  }
  static void CloseAndWait(CSlideShowController& show) {
    show.SendKey(VK_ESCAPE);
    testsupport::WaitUntil([&] { return show.GetWindow() == nullptr; }, 5000);
  }
};

bool Near(COLORREF a, COLORREF b) {
  return abs(GetRValue(a) - GetRValue(b)) < 40 && abs(GetGValue(a) - GetGValue(b)) < 40 &&
         abs(GetBValue(a) - GetBValue(b)) < 40;
}

}  // namespace

TEST_F(SlideShowTest, AShowFillsTheScreenKeepsTheSaverAwayAndEscEndsIt) {
  const std::string d = Scratch("run");
  // Square pictures on a wider screen: black bars at the sides.
  const std::string red = WriteBmp(d + "\\red.bmp", 64, 64, RGB(220, 0, 0));
  Owner owner;
  CSlideShowController show;
  std::vector<tagSLD_V_TYPE> slides = {Slide(d + "\\gone.bmp", 0), Slide(red, 60000)};
  std::vector<tagSLD_A_TYPE> music(1);
  lstrcpyA(music[0].szPath, (d + "\\gone.mp3").c_str());
  ASSERT_EQ(show.SetParams(owner.view, SLD_QUALITY_0, SLD_TYPE_0, &slides, &music, 0, 0), S_OK);
  CVxSlideShowWnd* wnd = StartAndWait(show);
  ASSERT_NE(wnd, nullptr);
  EXPECT_TRUE(wnd->IsPlaying());
  EXPECT_EQ(show.GetShowSlides().size(), 1u);  // the missing picture is dropped
  EXPECT_TRUE(show.GetShowMusic().empty());
  CRect rc;
  wnd->GetWindowRect(&rc);
  EXPECT_LE(rc.left, 0);
  EXPECT_LE(rc.top, 0);
  EXPECT_GE(rc.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(rc.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_FALSE(SaverActive());
  {
    testsupport::Picture shot(wnd->GetSafeHwnd(), testsupport::Picture::kClient);
    EXPECT_TRUE(Near(shot.At(shot.Width() / 2, shot.Height() / 2), RGB(220, 0, 0)))
        << std::hex << shot.At(shot.Width() / 2, shot.Height() / 2);
    EXPECT_EQ(shot.At(3, shot.Height() / 2), RGB(0, 0, 0));
    shot.Save("slideshow-slide");
  }
  // A click on the window brings the panel (the pointer may have brought it already).
  wnd->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(10, 10));
  for (int i = 0; i < kSbCount; ++i) EXPECT_TRUE(wnd->GetButton(i)->IsWindowVisible()) << i;
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !owner.view->codes.empty(); }, 2000));
  EXPECT_EQ(owner.view->codes.front(), SSOWN_CREATED);

  CloseAndWait(show);
  EXPECT_EQ(show.GetWindow(), nullptr);
  ASSERT_FALSE(owner.view->codes.empty());
  EXPECT_EQ(owner.view->codes.back(), SSOWN_CLOSING);
  EXPECT_TRUE(SaverActive());  // given back
}

TEST_F(SlideShowTest, AShowWithoutRepeatStopsOnItsLastSlideWithThePanel) {
  const std::string d = Scratch("end");
  const std::string red = WriteBmp(d + "\\red.bmp", 64, 64, RGB(220, 0, 0));
  const std::string blue = WriteBmp(d + "\\blue.bmp", 64, 64, RGB(0, 0, 220));
  Owner owner;
  CSlideShowController show;
  std::vector<tagSLD_V_TYPE> slides = {Slide(red, 100), Slide(blue, 100)};
  ASSERT_EQ(show.SetParams(owner.view, SLD_QUALITY_0, SLD_TYPE_0, &slides, nullptr, 0, 0), S_OK);
  CVxSlideShowWnd* wnd = StartAndWait(show);
  ASSERT_NE(wnd, nullptr);
  // The window asks the player once a second; the end stops the show and shows the panel.
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !wnd->IsPlaying(); }, 5000));
  EXPECT_TRUE(wnd->GetButton(kSbPlay)->IsWindowVisible());
  testsupport::Picture shot(wnd->GetSafeHwnd(), testsupport::Picture::kClient);
  EXPECT_TRUE(Near(shot.At(shot.Width() / 2, shot.Height() / 2), RGB(0, 0, 220)))
      << std::hex << shot.At(shot.Width() / 2, shot.Height() / 2);
  // Play starts it again from the first slide.
  wnd->SendMessage(SSWM_PLAY_PAUSE);
  EXPECT_TRUE(wnd->IsPlaying());
  CloseAndWait(show);
}

TEST_F(SlideShowTest, PauseAndTheSettingsReloadWithNewSlides) {
  const std::string d = Scratch("reload");
  const std::string red = WriteBmp(d + "\\red.bmp", 64, 64, RGB(220, 0, 0));
  const std::string green = WriteBmp(d + "\\green.bmp", 64, 64, RGB(0, 200, 0));
  Owner owner;
  CSlideShowController show;
  std::vector<tagSLD_V_TYPE> slides = {Slide(red, 60000)};
  ASSERT_EQ(show.SetParams(owner.view, SLD_QUALITY_0, SLD_TYPE_0, &slides, nullptr, 1, 0), S_OK);
  CVxSlideShowWnd* wnd = StartAndWait(show);
  ASSERT_NE(wnd, nullptr);
  wnd->SendMessage(SSWM_PLAY_PAUSE);
  EXPECT_FALSE(wnd->IsPlaying());
  EXPECT_TRUE(wnd->IsPanelShown());
  wnd->SendMessage(SSWM_PLAY_PAUSE);
  EXPECT_TRUE(wnd->IsPlaying());
  EXPECT_FALSE(wnd->IsPanelShown());
  // New slides for the open window take effect with the settings reload.
  slides = {Slide(green, 60000)};
  ASSERT_EQ(show.SetParams(owner.view, SLD_QUALITY_0, SLD_TYPE_0, &slides, nullptr, 1, 0), S_OK);
  ASSERT_EQ(show.Start(), S_OK);
  EXPECT_EQ(show.GetWindow(), wnd);
  EXPECT_FALSE(wnd->HasPlayer());  // the old player is let go at once
  wnd->SendMessage(SSWM_SETTINGS);
  EXPECT_TRUE(wnd->HasPlayer());
  EXPECT_FALSE(wnd->IsPlaying());
  testsupport::Picture shot(wnd->GetSafeHwnd(), testsupport::Picture::kClient);
  EXPECT_TRUE(Near(shot.At(shot.Width() / 2, shot.Height() / 2), RGB(0, 200, 0)))
      << std::hex << shot.At(shot.Width() / 2, shot.Height() / 2);
  CloseAndWait(show);
}

TEST_F(SlideShowTest, WithoutThePlayerLibraryTheWindowClosesItselfAndGivesTheSaverBack) {
  CVxSlideShowWnd::SetHostModule("no-such-host.exe");
  const std::string d = Scratch("nolib");
  const std::string red = WriteBmp(d + "\\red.bmp", 64, 64, RGB(220, 0, 0));
  Owner owner;
  CSlideShowController show;
  std::vector<tagSLD_V_TYPE> slides = {Slide(red, 1000)};
  ASSERT_EQ(show.SetParams(owner.view, SLD_QUALITY_0, SLD_TYPE_0, &slides, nullptr, 0, 0), S_OK);
  ASSERT_EQ(show.Start(), S_OK);
  ASSERT_NE(show.GetWindow(), nullptr);
  EXPECT_FALSE(show.GetWindow()->HasPlayer());
  show.GetWindow()->UpdateWindow();
  EXPECT_TRUE(testsupport::WaitUntil([&] { return show.GetWindow() == nullptr; }, 5000));
  ASSERT_FALSE(owner.view->codes.empty());
  EXPECT_EQ(owner.view->codes.back(), SSOWN_CLOSING);
  EXPECT_TRUE(SaverActive());
}

TEST_F(SlideShowTest, NoSlideFileNoWindow) {
  Owner owner;
  CSlideShowController show;
  std::vector<tagSLD_V_TYPE> slides = {Slide("C:\\no\\such.bmp", 0)};
  ASSERT_EQ(show.SetParams(owner.view, SLD_QUALITY_0, SLD_TYPE_0, &slides, nullptr, 0, 0), S_OK);
  EXPECT_EQ(show.Start(), E_FAIL);
  EXPECT_EQ(show.GetWindow(), nullptr);
  EXPECT_TRUE(SaverActive());
}
