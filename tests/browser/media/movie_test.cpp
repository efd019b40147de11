// The movie controller on real back ends in a window of the test's own: DirectShow for an
// ordinary movie, the movie kit for an AVCHD scene (both checked by pixels too).
#include <gtest/gtest.h>

#include <files.h>
#include <picture.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>

#include <textkit/text.h>

#include "MovieCtrl.h"
// After the framework: dshow.h brings strsafe.h, which must follow tchar.h.
#include "DShowRenderRules.h"

using testsupport::Fixture;
using testsupport::WaitUntil;

namespace {

const char kDShowMovie[] = "movie.mp4";  // with sound, on the prefix's sound device
const double kDShowSeconds = 2.0;

class MovieCtrlTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)GetStockObject(GRAY_BRUSH)), "movie",
                               WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(40, 40, 680, 400), NULL, 0));
    movie_.SetTarget(&host_, FALSE);
  }
  void TearDown() override {
    movie_.Close();
    host_.DestroyWindow();
  }
  CWnd host_;
  CMovieCtrl movie_;
};

TEST_F(MovieCtrlTest, DirectShowOpensPausedPlaysSeeksAndCloses) {
  RECT area = {0, 0, 640, 360};
  const HRESULT hr = movie_.OpenDirectShow(Fixture(kDShowMovie).c_str(), area);
  ASSERT_EQ(hr, S_OK) << std::hex << hr;
  EXPECT_TRUE(movie_.IsOpen());
  EXPECT_NEAR(movie_.GetDuration(), kDShowSeconds, 0.1);
  EXPECT_FALSE(movie_.IsVideoRectEmpty());
  EXPECT_FALSE(movie_.IsPlaying());  // opened paused on its first picture
  movie_.TogglePlay(FALSE);
  EXPECT_TRUE(movie_.IsPlaying());
  double pos = 0;
  EXPECT_TRUE(WaitUntil([&] { return movie_.GetPosition(pos) && pos > 0.2; }, 5000)) << pos;
  movie_.TogglePlay(TRUE);  // pause, remembering where
  EXPECT_FALSE(movie_.IsPlaying());
  EXPECT_TRUE(movie_.Seek(0.5, TRUE));
  EXPECT_TRUE(movie_.GetPosition(pos));
  EXPECT_NEAR(pos, 0.5, 0.05);
  // Seeks while paused and while playing leave a graph that stops at once (Wine's
  // splitter hung in Stop after a seek of a graph with sound).
  movie_.TogglePlay(FALSE);
  EXPECT_TRUE(movie_.Seek(1.0, FALSE));
  EXPECT_TRUE(movie_.IsPlaying());
  EXPECT_TRUE(WaitUntil([&] { return movie_.GetPosition(pos) && pos > 1.1; }, 5000)) << pos;
  const DWORD t0 = GetTickCount();
  EXPECT_TRUE(movie_.Stop());  // stop rewinds
  EXPECT_LT(GetTickCount() - t0, 1500u);
  EXPECT_TRUE(movie_.GetPosition(pos));
  EXPECT_EQ(pos, 0.0);
  movie_.Close();
  EXPECT_FALSE(movie_.IsOpen());
  EXPECT_TRUE(movie_.IsVideoRectEmpty());
  EXPECT_EQ(movie_.GetDuration(), 0.0);
}

// The movie's picture is in the window: opened paused on its first picture, the test
// pattern's colour bars show (red at the left, blue in the middle). The VMR-9's pictures
// never reached the window here.
TEST_F(MovieCtrlTest, DirectShowShowsThePicture) {
  RECT area = {0, 0, 640, 360};
  ASSERT_EQ(S_OK, movie_.OpenDirectShow(Fixture(kDShowMovie).c_str(), area));
  const RECT red = {10, 20, 80, 200}, blue = {330, 20, 400, 200};
  const int pixels = 70 * 180;
  int reds = 0, blues = 0;
  WaitUntil(
      [&] {
        testsupport::Picture shot(host_.GetSafeHwnd(), testsupport::Picture::kClient);
        reds = shot.CountNear(red, RGB(255, 0, 0), 60);
        blues = shot.CountNear(blue, RGB(0, 0, 255), 60);
        return reds > pixels / 2 && blues > pixels / 2;
      },
      5000);
  EXPECT_GT(reds, pixels / 2);
  EXPECT_GT(blues, pixels / 2);
}

// The DirectShow player's render: a first attempt that fails is followed by a second on the
// graph emptied of what the first left (here the file's source, added and then failed), so
// the movie plays from one source; a first attempt that renders, even in part, stands.
TEST(DShowRender, ASecondAttemptStartsOnAnEmptiedGraph) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED)));
  const std::wstring path = textkit::AnsiToWide(Fixture(kDShowMovie));
  const struct {
    HRESULT first;
    bool second;  // whether the second attempt runs
  } cases[] = {{VFW_E_CANNOT_CONNECT, true}, {S_OK, false}, {VFW_S_AUDIO_NOT_RENDERED, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.first);
    IGraphBuilder* graph = NULL;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                     reinterpret_cast<void**>(&graph)));
    int filtersAtSecond = -1;
    const HRESULT hr = RenderWithFallback(
        graph,
        [&](IGraphBuilder* g) {
          IBaseFilter* source = NULL;
          if (SUCCEEDED(g->AddSourceFilter(path.c_str(), L"left behind", &source))) source->Release();
          return c.first;
        },
        [&](IGraphBuilder* g) {
          filtersAtSecond = 0;
          IEnumFilters* e = NULL;
          IBaseFilter* f = NULL;
          if (SUCCEEDED(g->EnumFilters(&e))) {
            while (e->Next(1, &f, NULL) == S_OK) ++filtersAtSecond, f->Release();
            e->Release();
          }
          return g->RenderFile(path.c_str(), NULL);
        });
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(c.second ? 0 : -1, filtersAtSecond);
    IBaseFilter* left = NULL;
    EXPECT_EQ(c.second, FAILED(graph->FindFilterByName(L"left behind", &left)));
    if (left) left->Release();
    graph->Release();
  }
  CoUninitialize();
}

TEST_F(MovieCtrlTest, DirectShowRefusesWhatIsNoMovie) {
  RECT area = {0, 0, 640, 360};
  EXPECT_LT(movie_.OpenDirectShow(Fixture("garbage.mts").c_str(), area), 0);
  EXPECT_NE(movie_.OpenDirectShow("C:\\no such\\movie.mp4", area), S_OK);
  EXPECT_FALSE(movie_.IsOpen());
  EXPECT_FALSE(movie_.Seek(1.0, TRUE));
}

TEST_F(MovieCtrlTest, AvchdPlaysThroughTheKitToItsEnd) {
  RECT area = {0, 0, 640, 360};
  ASSERT_EQ(movie_.OpenAvchd(Fixture("colours.mts").c_str(), area, TRUE), S_OK);
  EXPECT_EQ(movie_.GetDiscPlayerKind(), 1);
  EXPECT_NEAR(movie_.GetDuration(), 2.0, 0.1);
  int w = 0, h = 0;
  EXPECT_TRUE(movie_.GetVideoSize(&w, &h));
  EXPECT_EQ(w * 9, h * 16);  // fitted 16:9
  RECT fitted = {};
  movie_.FitVideoRect(100, 100, 740, 580, &fitted);
  EXPECT_EQ(fitted.top, 60);
  EXPECT_EQ(fitted.right, 640);

  // Locked, toggling neither plays nor pauses.
  movie_.SetDiscControlLock(TRUE);
  movie_.TogglePlay(FALSE);
  EXPECT_FALSE(movie_.IsPlaying());
  movie_.SetDiscControlLock(FALSE);

  EXPECT_EQ(movie_.Seek(1.0, TRUE), TRUE);
  double pos = 0;
  EXPECT_TRUE(movie_.GetPosition(pos));
  EXPECT_NEAR(pos, 1.0, 0.05);
  movie_.TogglePlay(FALSE);
  EXPECT_TRUE(movie_.IsPlaying());
  movie_.m_bGoNext = FALSE;
  EXPECT_TRUE(WaitUntil([&] { return !movie_.IsPlaying(); }, 8000));
  EXPECT_TRUE(movie_.m_bGoNext);  // the end was seen
  movie_.Close();
  EXPECT_FALSE(movie_.IsOpen());
  EXPECT_EQ(movie_.GetDiscPlayerKind(), 1);  // the control stays made
}

TEST_F(MovieCtrlTest, AvchdRefusesBrokenScenesAndSwitchingTargetCloses) {
  RECT area = {0, 0, 640, 360};
  EXPECT_LT(movie_.OpenAvchd(Fixture("garbage.mts").c_str(), area, TRUE), 0);
  EXPECT_FALSE(movie_.IsOpen());
  ASSERT_EQ(movie_.OpenAvchd(Fixture("colours.m2ts").c_str(), area, TRUE), S_OK);
  movie_.SetTarget(&host_, TRUE);  // the same target keeps the movie
  EXPECT_TRUE(movie_.IsOpen());
  CWnd other;
  movie_.SetTarget(&other, FALSE);
  EXPECT_FALSE(movie_.IsOpen());
}

// A content file plays the scene stream it names, from its own folder; one that names no
// stream that exists is refused.
TEST_F(MovieCtrlTest, AContentFilePlaysItsSceneStream) {
  const std::string dir = testsupport::NewTempFolder("cont-scene");
  ASSERT_TRUE(CopyFileA(Fixture("colours.mts").c_str(), (dir + "\\00001.MTS").c_str(), FALSE));
  const char* kHead = "[Content]\r\nFormat=1\r\nTitle=Scene\r\n";
  ASSERT_TRUE(testsupport::WriteWholeFile(dir + "\\00001.cont", std::string(kHead) + "Members=00001.tmb|00001.MTS\r\n"));
  ASSERT_TRUE(testsupport::WriteWholeFile(dir + "\\00002.cont", std::string(kHead) + "Members=00002.tmb|00002.MTS\r\n"));
  RECT area = {0, 0, 640, 360};
  ASSERT_EQ(movie_.OpenAvchd((dir + "\\00001.cont").c_str(), area, TRUE), S_OK);
  EXPECT_NEAR(movie_.GetDuration(), 2.0, 0.1);
  movie_.Close();
  EXPECT_EQ(movie_.OpenAvchd((dir + "\\00002.cont").c_str(), area, TRUE), E_FAIL);
  EXPECT_FALSE(movie_.IsOpen());
}

}  // namespace
