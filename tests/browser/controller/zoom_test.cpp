// The zoom window and the slide show reached from the view-mode switch. A picture opens the
// full-screen zoom window, which Esc closes again; every other request ends in its refusal,
// leaving no zoom controller, the browse mode as it was, and no slide show believed to run.
#include <gtest/gtest.h>

#include <VxResourceIds.h>
#include <picture.h>
#include <pump.h>
#include <shlwapi.h>

#include "MovieCtrl.h"
#include "SlideShowController.h"
#include "VxSlideShowWnd.h"
#include "VxZoomWnd.h"
#include "ZoomWndController.h"
#include "ctl_fixture.h"

namespace {
std::string ResString(UINT id) {
  CString s;
  CResourceLoader().LoadStringA(id, s);
  return (LPCSTR)s;
}

void SelectByName(BrowserHost& h, const char* name) {
  h.pView->UnSelectAll(FALSE);
  for (CThumbnail* p : h.pView->m_items)
    if (lstrcmpiA(PathFindFileNameA(p->GetFilePath()), name) == 0) h.pView->SelectItem(p->GetUniqueID(VXID_SLOT_VIEW), TRUE);
}

// The hints the test view got, by counting the document's view-mode broadcasts.
struct HintCounter : CView {
  int n = 0;
  void OnDraw(CDC*) override {}
  void OnUpdate(CView*, LPARAM hint, CObject*) override {
    if (hint == VXHINT_VIEWMODE) ++n;
  }
};
}  // namespace

TEST(ZoomEntry, APictureOpensTheFullScreenWindowAndEscLeavesIt) {
  BrowserHost h;
  std::string d = ctltest::Scratch("zoomopen");
  ctltest::Copy("plain.jpg", d + "\\p.jpg");
  ctltest::Copy("plain.jpg", d + "\\q.jpg");
  h.ShowFolder(d);
  h.trans()->OnModeChange(CGVIEW_SMALLICON);
  const UINT mode = h.trans()->GetViewModeFlag();
  SelectByName(h, "q.jpg");
  h.trans()->OnModeChange(CGVIEW_ZOOM);
  ASSERT_TRUE(h.trans()->IsZoomMode());
  CZoomWndController* zoom = h.trans()->GetZoomController();
  ASSERT_NE(nullptr, zoom);
  CVxZoomWnd* wnd = zoom->GetZoomWnd();
  ASSERT_NE(nullptr, wnd);
  CRect rc;
  wnd->GetWindowRect(&rc);
  EXPECT_LE(rc.left, 0);
  EXPECT_GE(rc.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(0, lstrcmpiA(PathFindFileNameA(zoom->GetCurrentPath()), "q.jpg"));
  EXPECT_GE(wnd->GetZoom(), 25);  // fitted
  {
    // The picture on black, the panel along the bottom.
    testsupport::Picture shot(wnd->GetSafeHwnd(), testsupport::Picture::kClient);
    EXPECT_NE(shot.At(shot.Width() / 2, shot.Height() / 2), RGB(0, 0, 0));
    const RECT& img = wnd->GetImageRect();
    if (img.left > 0) { EXPECT_EQ(shot.At(img.left / 2, shot.Height() / 2), RGB(0, 0, 0)); }
    else EXPECT_EQ(shot.At(shot.Width() / 2, img.top / 2), RGB(0, 0, 0));
    EXPECT_TRUE(wnd->GetButton(kZbClose)->IsWindowVisible());
    EXPECT_FALSE(wnd->GetButton(kZbPlay)->IsWindowVisible());  // not a movie
  }
  {
    // Zoom steps from the fit, actual size and back to the fit, by key and by command.
    const int fit = wnd->GetZoom();
    zoom->SendKey(VK_ADD);
    const int in = wnd->GetZoom();
    EXPECT_GT(in, fit);
    zoom->SendKey(VK_SUBTRACT);
    EXPECT_LT(wnd->GetZoom(), in);
    wnd->SendMessage(ZWM_ACTUAL);
    EXPECT_EQ(wnd->GetZoom(), 100);
    wnd->SendMessage(ZWM_FIT);
    EXPECT_EQ(wnd->GetZoom(), fit);
    EXPECT_FALSE(wnd->GetButton(kZbFit)->IsWindowEnabled());  // already at the fit
  }
  // The window asks the browser for its neighbours: p.jpg lies before q.jpg.
  EXPECT_TRUE(zoom->HasPrevItem());
  zoom->ShowPrevItem();
  EXPECT_EQ(0, lstrcmpiA(PathFindFileNameA(zoom->GetCurrentPath()), "p.jpg"));
  zoom->SendKey(VK_ESCAPE);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !h.trans()->IsZoomMode(); }, 5000));
  EXPECT_EQ(nullptr, h.trans()->GetZoomController());
  EXPECT_EQ(mode, h.trans()->GetViewModeFlag());
}

TEST(ZoomEntry, MoviesPlayInTheWindow) {
  BrowserHost h;
  std::string d = ctltest::Scratch("zoommovie");
  ctltest::Copy("movie.avi", d + "\\a.avi");
  ctltest::Copy("colours.mts", d + "\\b.mts");
  ctltest::Copy("movie.mov", d + "\\c.mov");  // through the movie bridge
  h.ShowFolder(d);
  h.trans()->OnModeChange(CGVIEW_SMALLICON);
  CMovieCtrl* movie = h.trans()->GetMovieCtrl();
  ASSERT_NE(nullptr, movie);
  for (const char* name : {"a.avi", "b.mts", "c.mov"}) {
    SCOPED_TRACE(name);
    SelectByName(h, name);
    h.trans()->OnModeChange(CGVIEW_ZOOM);
    ASSERT_TRUE(h.trans()->IsZoomMode());
    CVxZoomWnd* wnd = h.trans()->GetZoomController()->GetZoomWnd();
    EXPECT_TRUE(movie->IsOpen());
    EXPECT_EQ(movie->GetTarget(), wnd);
    EXPECT_TRUE(wnd->GetButton(kZbPlay)->IsWindowVisible());
    double pos = 0;
    EXPECT_TRUE(testsupport::WaitUntil([&] { return movie->GetPosition(pos) && pos > 0.1; }, 5000)) << pos;
    if (lstrcmpA(name, "b.mts") == 0) {  // the movie kit draws the scene itself: its picture shows
      movie->Pause();
      testsupport::Picture shot(wnd->GetSafeHwnd(), testsupport::Picture::kClient);
      const COLORREF c = shot.At(shot.Width() / 2, shot.Height() / 2);  // red for a second, then blue
      EXPECT_TRUE((GetRValue(c) > 200 && GetBValue(c) < 60) || (GetBValue(c) > 200 && GetRValue(c) < 60)) << std::hex << c;
    }
    h.trans()->GetZoomController()->SendKey(VK_ESCAPE);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !h.trans()->IsZoomMode(); }, 5000));
    EXPECT_FALSE(movie->IsOpen());
  }
}

TEST(ZoomEntry, EveryOtherRequestEndsInItsRefusal) {
  CMovieCtrl::SetBridgeLibrary("C:\\no-such-folder\\MovBridge.dll");  // a prefix without the bridge
  BrowserHost h;
  std::string d = ctltest::Scratch("zoom");
  ctltest::Copy("plain.jpg", d + "\\p.jpg");
  ctltest::Copy("movie.mov", d + "\\m.mov");
  CreateDirectoryA((d + "\\sub").c_str(), nullptr);
  h.ShowFolder(d);
  h.trans()->OnModeChange(CGVIEW_SMALLICON);
  const UINT mode = h.trans()->GetViewModeFlag();
  HintCounter* counter = new HintCounter;
  h.pDoc->AddView(counter);

  struct {
    const char* select;  // null: nothing selected, the first picture shown is used
    std::string message;
    int viewModeHints;   // the open failure also tells the views
  } cases[] = {
      {"m.mov", ResString(IDS_MOVIE_NEEDS_PLAYER), 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.select ? c.select : "(none)");
    if (c.select) SelectByName(h, c.select);
    else h.pView->UnSelectAll(FALSE), h.browser()->SelectAll(0);
    counter->n = 0;
    BoxAnswers answers({IDOK});
    h.trans()->OnModeChange(CGVIEW_ZOOM);
    std::vector<std::string> seen = answers.Seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_NE(std::string::npos, seen[0].find(c.message)) << seen[0];
    EXPECT_EQ(nullptr, h.trans()->GetZoomController());
    EXPECT_FALSE(h.trans()->IsZoomMode());
    EXPECT_EQ(mode, h.trans()->GetViewModeFlag());
    EXPECT_EQ(c.viewModeHints, counter->n);
  }
  // No item at all, and a folder entry.
  {
    BoxAnswers answers({IDOK, IDOK});
    EXPECT_FALSE(h.trans()->GotoZoomMode(nullptr));
    CThumbnail* folder = nullptr;
    for (CThumbnail* p : h.pView->m_items)
      if (p->IsFolder()) folder = p;
    ASSERT_NE(nullptr, folder);
    EXPECT_FALSE(h.trans()->GotoZoomMode(folder));
    std::vector<std::string> seen = answers.Seen();
    ASSERT_EQ(2u, seen.size());
    EXPECT_NE(std::string::npos, seen[0].find(ResString(IDS_BROWSER_ZOOM_NO_ITEM))) << seen[0];
    EXPECT_NE(std::string::npos, seen[1].find(ResString(IDS_BROWSER_ZOOM_FAILED))) << seen[1];
    EXPECT_EQ(nullptr, h.trans()->GetZoomController());
  }
  h.pDoc->RemoveView(counter);
  delete counter;
  CMovieCtrl::SetBridgeLibrary(nullptr);
}

// A slide show that does not start leaves no slide-show state behind (a drag out of the
// browser waits for that state to end) and the browse mode as it was; without settings
// there is nothing to start.
TEST(ZoomEntry, SlideShowThatDoesNotStart) {
  BrowserHost h;
  std::string d = ctltest::Scratch("slides");
  ctltest::Copy("plain.jpg", d + "\\p.jpg");
  h.ShowFolder(d);
  h.trans()->OnModeChange(CGVIEW_LARGEICON);
  const UINT mode = h.trans()->GetViewModeFlag();
  for (UINT code : {CGVIEW_SLIDESHOW, CGVIEW_SLIDESHOW_ALL}) {
    h.trans()->OnModeChange(code);
    EXPECT_FALSE(h.browser()->IsSlideShowMode());
    EXPECT_EQ(mode, h.trans()->GetViewModeFlag());
  }
  // Settings whose only slide is gone: nothing to show.
  std::vector<tagSLD_V_TYPE> slides(1);
  lstrcpynA(slides[0].szPath, (d + "\\gone.jpg").c_str(), MAX_PATH);
  std::vector<tagSLD_A_TYPE> sounds;
  ASSERT_EQ(S_OK, h.trans()->SetSlideShow(SLD_TYPE(), &slides, &sounds, SLD_QUALITY(), 0, 0));
  ASSERT_NE(nullptr, h.trans()->GetSlideShowController());
  EXPECT_FALSE(h.trans()->GotoSlideShowMode());
  EXPECT_FALSE(h.browser()->IsSlideShowMode());
  EXPECT_EQ(mode, h.trans()->GetViewModeFlag());
}

// The browser's slide show: full screen over the browser with the player beside the
// program, the picture on black; Esc ends it, and the browser lets its controller go and
// leaves the slide-show state.
TEST(ZoomEntry, SlideShowRunsFullScreenAndEscReturns) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  CVxSlideShowWnd::SetHostModule(PathFindFileNameA(self));
  BrowserHost h;
  std::string d = ctltest::Scratch("slideshow");
  ctltest::Copy("plain.jpg", d + "\\p.jpg");
  h.ShowFolder(d);
  h.trans()->OnModeChange(CGVIEW_LARGEICON);
  std::vector<tagSLD_V_TYPE> slides(1);
  lstrcpynA(slides[0].szPath, (d + "\\p.jpg").c_str(), MAX_PATH);
  std::vector<tagSLD_A_TYPE> sounds;
  ASSERT_EQ(S_OK, h.trans()->SetSlideShow(SLD_TYPE(), &slides, &sounds, SLD_QUALITY(), 1, 0));
  ASSERT_TRUE(h.trans()->GotoSlideShowMode());
  EXPECT_TRUE(h.browser()->IsSlideShowMode());
  CSlideShowController* show = h.trans()->GetSlideShowController();
  ASSERT_NE(nullptr, show);
  CVxSlideShowWnd* wnd = show->GetWindow();
  ASSERT_NE(nullptr, wnd);
  wnd->UpdateWindow();
  EXPECT_TRUE(testsupport::WaitUntil([&] { return wnd->IsOpened() && wnd->IsPlaying(); }, 5000));
  {
    testsupport::Picture shot(wnd->GetSafeHwnd(), testsupport::Picture::kClient);
    EXPECT_NE(shot.At(shot.Width() / 2, shot.Height() / 2), RGB(0, 0, 0));
    EXPECT_EQ(shot.At(2, 2), RGB(0, 0, 0));  // a 4:3 picture on a 5:4 screen: bars above and below
  }
  show->SendKey(VK_ESCAPE);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return h.trans()->GetSlideShowController() == nullptr; }, 5000));
  EXPECT_FALSE(h.browser()->IsSlideShowMode());
  CVxSlideShowWnd::SetHostModule(nullptr);
}
