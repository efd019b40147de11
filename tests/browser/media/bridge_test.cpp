// The movie bridge over the real MovBridge.dll and two test builds of it (one without the
// video-size export, one whose finalisation fails), and a missing library: the guards, the
// states the wrapper keeps, a movie played to its end in a window with the end notice.
#include <gtest/gtest.h>

#include <program.h>
#include <pump.h>

#include <string>

#include "MovBridgeApi.h"
#include "MovieCtrl.h"
#include "QuickTimeState.h"
#include <MovBridge.h>

namespace {

std::string Bin(const char* name) { return testsupport::ProgramFolder() + "\\" + name; }

// The movie's window: counts the bridge's notices as they arrive.
struct TargetWnd : CWnd {
  int ends = 0;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == CMovieCtrl::kBridgeNotifyMessage) ++ends;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};
struct Target {
  TargetWnd wnd;
  Target() { wnd.CreateEx(0, AfxRegisterWndClass(0), "target", WS_POPUP | WS_VISIBLE, CRect(0, 0, 320, 240), nullptr, 0); }
  ~Target() { wnd.DestroyWindow(); }
};

}  // namespace

TEST(MovBridge, WithoutTheLibraryEveryCallFails) {
  CMovBridgeApi bridge((Bin("no-such-bridge.dll")).c_str());
  Target t;
  EXPECT_FALSE(bridge.IsLoaded());
  EXPECT_FALSE(bridge.Initialize());
  EXPECT_FALSE(bridge.IsUsable());
  EXPECT_EQ(bridge.GetState(), CMovBridgeApi::kDisabled);
  bridge.SetNotifyMessage(t.wnd.GetSafeHwnd(), 1865, 0, 0);
  EXPECT_EQ(bridge.GetNotifyWnd(), nullptr);  // disabled: nothing stored
  EXPECT_FALSE(bridge.Open((Bin("testdata\\movie.mov")).c_str(), 0, 0, 320, 240, &t.wnd));
  EXPECT_EQ(bridge.GetQuickTimeVersion(), 0u);
  EXPECT_FALSE(bridge.Finalize());
}

TEST(MovBridge, AMoviePlaysToItsEndAndTheStateFollows) {
  CMovBridgeApi bridge;  // the one beside the program
  Target t;
  ASSERT_TRUE(bridge.IsLoaded());
  bridge.SetNotifyMessage(t.wnd.GetSafeHwnd(), 1865, 0, 0);
  EXPECT_EQ(bridge.GetNotifyWnd(), nullptr);  // not initialised yet
  ASSERT_TRUE(bridge.Initialize());
  EXPECT_EQ(bridge.GetState(), CMovBridgeApi::kIdle);
  EXPECT_NE(bridge.GetQuickTimeVersion(), 0u);
  EXPECT_TRUE(bridge.IsBmpExporter());
  bridge.SetNotifyMessage(t.wnd.GetSafeHwnd(), CMovieCtrl::kBridgeNotifyMessage, 0, 0);
  bridge.SetLoop(FALSE);
  // Not a movie: refused, nothing held.
  EXPECT_FALSE(bridge.Open((Bin("testdata\\garbage.mts")).c_str(), 0, 0, 320, 240, &t.wnd));
  EXPECT_FALSE(bridge.IsOpen());
  ASSERT_TRUE(bridge.Open((Bin("testdata\\movie.mov")).c_str(), 0, 0, 320, 240, &t.wnd));
  EXPECT_EQ(bridge.GetState(), CMovBridgeApi::kPlaying);  // a new movie plays
  HWND hMovie = bridge.GetMovieWnd();
  EXPECT_TRUE(IsWindow(hMovie));
  EXPECT_EQ(GetParent(hMovie), t.wnd.GetSafeHwnd());
  int w = 0, h = 0;
  bridge.GetVideoSize(&w, &h);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 240);
  EXPECT_EQ(bridge.GetDuration(), 1000);
  bridge.Pause();
  EXPECT_EQ(bridge.GetState(), CMovBridgeApi::kStopped);  // the library tells only playing or not
  bridge.SetCurrent(500);
  EXPECT_NEAR(bridge.GetCurrent(), 500, 40);
  bridge.Play();
  // At its end the movie stops by itself: the state says stopped, the target hears of it.
  EXPECT_TRUE(testsupport::WaitUntil([&] { return t.wnd.ends > 0; }, 5000));
  EXPECT_EQ(bridge.GetState(), CMovBridgeApi::kStopped);
  bridge.Close();
  EXPECT_FALSE(bridge.IsOpen());
  EXPECT_EQ(bridge.GetMovieWnd(), nullptr);
  EXPECT_FALSE(IsWindow(hMovie));
  EXPECT_EQ(bridge.GetState(), CMovBridgeApi::kIdle);
  EXPECT_TRUE(bridge.Finalize());
  EXPECT_EQ(bridge.GetState(), CMovBridgeApi::kDisabled);
  EXPECT_FALSE(bridge.Finalize());  // once
}

TEST(MovBridge, TestBuildsLackingAnExportOrFailingToFinalise) {
  Target t;
  {
    CMovBridgeApi bridge((Bin("MovBridgeLacking.dll")).c_str());
    ASSERT_TRUE(bridge.Initialize());
    ASSERT_TRUE(bridge.Open((Bin("testdata\\movie.mov")).c_str(), 0, 0, 320, 240, &t.wnd));
    int w = 7, h = 7;
    bridge.GetVideoSize(&w, &h);  // the export is missing: zeros, nothing else changes
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(bridge.GetDuration(), 1000);
  }
  {
    CMovBridgeApi bridge((Bin("MovBridgeFailingFinalize.dll")).c_str());
    ASSERT_TRUE(bridge.Initialize());
    EXPECT_FALSE(bridge.Finalize());
    EXPECT_FALSE(bridge.IsUsable());  // disabled all the same
    EXPECT_EQ(bridge.GetState(), CMovBridgeApi::kDisabled);
  }
}

// A run that crashed leaves its state; with the marker file the next run trusts it and does
// not initialise the bridge. The bridge still plays: it initialises itself on first use.
TEST(QuickTimeState, AStaleStateWithTheMarkerStillPlays) {
  const std::string marker = Bin("MovDecode.vcp");
  HANDLE h = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  ASSERT_TRUE(HasMovDecodeFile());
  DWORD version = kQtBridgeVersion;
  AccessQuickTimeState(kQtStateWrite, &version, nullptr);
  {
    Target t;
    CMovieCtrl movie;
    movie.SetTarget(&t.wnd, FALSE);
    EXPECT_TRUE(movie.IsQuickTimeUsable());
    EXPECT_EQ(movie.OpenQuickTime(Bin("testdata\\movie.mov").c_str(), CRect(0, 0, 320, 240), FALSE), S_OK);
    EXPECT_TRUE(movie.IsOpen());
    EXPECT_DOUBLE_EQ(movie.GetDuration(), 1.0);
    int w = 0, hgt = 0;
    movie.GetVideoSize(&w, &hgt);
    EXPECT_EQ(w * 3, hgt * 4);  // fitted to the movie's shape
    movie.Close();
  }
  // Not initialised by this run: its state stays for the next.
  EXPECT_EQ(AccessQuickTimeState(kQtStateTest, nullptr, nullptr), ERROR_SUCCESS);
  DeleteFileA(marker.c_str());
  AccessQuickTimeState(kQtStateDelete, nullptr, nullptr);
  EXPECT_FALSE(HasMovDecodeFile());
  // Without the marker the controller initialises the bridge, stores its state while it
  // lives and takes it away at the end.
  {
    CMovieCtrl movie;
    DWORD v = 0;
    EXPECT_EQ(AccessQuickTimeState(kQtStateRead, &v, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(v, kQtBridgeVersion);
  }
  EXPECT_NE(AccessQuickTimeState(kQtStateTest, nullptr, nullptr), ERROR_SUCCESS);
}
