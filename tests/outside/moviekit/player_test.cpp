// The player in a window of the test's own: pictures by pixels, exact seeks, the end notice,
// ranges, loops and full screen. Without a sound device (this Wine has none) the player
// shows the picture alone and says so.
#include <gtest/gtest.h>

#include <files.h>
#include <picture.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>

#include "moviekit/moviekit.h"

using testsupport::Fixture;
using testsupport::WaitUntil;

namespace {

const UINT kEndMessage = WM_APP + 20;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kEndMessage) {
    SetPropA(hwnd, "ends", reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(GetPropA(hwnd, "ends")) + 1));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MovieKitTestHost";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    RegisterClassA(&wc);
    host_ = CreateWindowExA(0, wc.lpszClassName, "moviekit", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 420, 320,
                            nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(host_, nullptr);
    ASSERT_EQ(moviekit::CreatePlayer(&player_), S_OK);
  }
  void TearDown() override {
    if (player_) player_->Release();
    if (host_) {
      RemovePropA(host_, "ends");
      DestroyWindow(host_);
    }
  }
  HRESULT Open(const char* file) {
    RECT r = {10, 10, 410, 310};  // 400 x 300: a 4:3 picture fills it
    HRESULT hr = player_->Open(Fixture(file).c_str(), host_, r);
    if (SUCCEEDED(hr)) player_->SetNotify(host_, kEndMessage);
    return hr;
  }
  int Ends() const { return int(reinterpret_cast<INT_PTR>(GetPropA(host_, "ends"))); }
  // The colour in the middle of the video window, as it paints itself.
  COLORREF Middle() {
    testsupport::Picture picture(player_->Window(), testsupport::Picture::kClient);
    return picture.At(picture.Width() / 2, picture.Height() / 2);
  }
  static bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetBValue(c) < 60; }
  static bool IsBlue(COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 60; }
  bool WaitForEnd(DWORD ms) {
    return WaitUntil([&] { return Ends() > 0; }, ms);
  }

  HWND host_ = nullptr;
  moviekit::Player* player_ = nullptr;
};

}  // namespace

TEST_F(PlayerTest, PlaysToItsEndNotice) {
  ASSERT_EQ(Open("colours.mts"), S_OK);
  ASSERT_NE(player_->Window(), nullptr);
  EXPECT_EQ(GetParent(player_->Window()), host_);
  moviekit::PlayerStatus s = player_->Status();
  EXPECT_EQ(s.state, moviekit::PlayerState::Stopped);
  // The sound is off exactly when no device takes it.
  WAVEFORMATEX format = {WAVE_FORMAT_PCM, 2, 48000, 192000, 4, 16, 0};
  HWAVEOUT probe = nullptr;
  bool device = waveOutOpen(&probe, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR;
  if (probe) waveOutClose(probe);
  EXPECT_EQ(s.soundOff, !device);
  EXPECT_TRUE(IsRed(Middle()));

  DWORD start = GetTickCount();
  ASSERT_EQ(player_->Play(), S_OK);
  EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Playing);
  ASSERT_TRUE(WaitForEnd(8000));
  DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 1900u);  // timed by the clock, not as fast as it decodes
  s = player_->Status();
  EXPECT_EQ(s.state, moviekit::PlayerState::Ended);
  EXPECT_NEAR(s.positionSeconds, 2.0, 1e-3);  // the end of the last picture
  EXPECT_EQ(s.framesShown + s.framesDropped, 50);  // each picture once, the first at opening
  EXPECT_TRUE(IsBlue(Middle()));
  testsupport::PumpPending();
  EXPECT_EQ(Ends(), 1);
  // Play after the end starts again.
  ASSERT_EQ(player_->Play(), S_OK);
  EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Playing);
  ASSERT_EQ(player_->Stop(), S_OK);
  EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Stopped);
  EXPECT_NEAR(player_->Status().positionSeconds, 0, 1e-3);
  EXPECT_TRUE(IsRed(Middle()));
}

// Music: no picture, played by the times of its sound, device or not; seeks, ranges and
// stop work on the clock alone.
TEST_F(PlayerTest, SoundAlonePlaysByTheClockToItsEnd) {
  struct Case {
    const char* file;
    double duration;
  } cases[] = {{"tone.mp3", 2.0}, {"tone.wav", 1.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    RemovePropA(host_, "ends");
    ASSERT_EQ(Open(c.file), S_OK);
    EXPECT_FALSE(player_->Facts().hasVideo);
    EXPECT_NEAR(player_->Facts().durationSeconds, c.duration, 0.1);
    moviekit::PlayerStatus s = player_->Status();
    EXPECT_EQ(s.state, moviekit::PlayerState::Stopped);
    EXPECT_NEAR(s.positionSeconds, 0, 1e-3);
    EXPECT_EQ(s.framesShown, 0);

    DWORD start = GetTickCount();
    ASSERT_EQ(player_->Play(), S_OK);
    Sleep(300);
    double at = player_->Status().positionSeconds;
    EXPECT_GT(at, 0.1);
    EXPECT_LT(at, c.duration);
    EXPECT_EQ(Ends(), 0);
    ASSERT_TRUE(WaitForEnd(DWORD(c.duration * 1000) + 4000));
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, DWORD(c.duration * 1000) - 100);  // by the clock, not as fast as it decodes
    s = player_->Status();
    EXPECT_EQ(s.state, moviekit::PlayerState::Ended);
    EXPECT_NEAR(s.positionSeconds, c.duration, 0.1);
    testsupport::PumpPending();
    EXPECT_EQ(Ends(), 1);

    // Stop goes back to the start; a range ends early; a seek stands where it was asked.
    ASSERT_EQ(player_->Stop(), S_OK);
    EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Stopped);
    EXPECT_NEAR(player_->Status().positionSeconds, 0, 1e-3);
    ASSERT_EQ(player_->SetRange(0.2, 0.6), S_OK);
    EXPECT_NEAR(player_->Status().positionSeconds, 0.2, 1e-3);
    start = GetTickCount();
    ASSERT_EQ(player_->Play(), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return Ends() > 1; }, 4000));
    EXPECT_GE(GetTickCount() - start, 300u);
    EXPECT_NEAR(player_->Status().positionSeconds, 0.6, 1e-3);
    // Looped, the range starts again at its end, without a notice.
    player_->SetLoop(true);
    ASSERT_EQ(player_->SetRange(0, 0.3), S_OK);
    ASSERT_EQ(player_->Play(), S_OK);
    Sleep(900);
    testsupport::PumpPending();
    EXPECT_EQ(Ends(), 2);
    s = player_->Status();
    EXPECT_EQ(s.state, moviekit::PlayerState::Playing);
    EXPECT_LT(s.positionSeconds, 0.35);
    player_->SetLoop(false);
    ASSERT_EQ(player_->Stop(), S_OK);
    ASSERT_EQ(player_->SetRange(0, 0), S_OK);
    ASSERT_EQ(player_->Seek(0.5), S_OK);
    EXPECT_NEAR(player_->Status().positionSeconds, 0.5, 1e-3);
    player_->Close();
    EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Closed);
  }
}

TEST_F(PlayerTest, SeekPauseAndRepaint) {
  ASSERT_EQ(Open("colours.m2ts"), S_OK);
  ASSERT_EQ(player_->Seek(1.0), S_OK);
  EXPECT_NEAR(player_->Status().positionSeconds, 1.0, 1e-3);
  EXPECT_TRUE(IsBlue(Middle()));
  ASSERT_EQ(player_->Seek(0.96), S_OK);
  EXPECT_TRUE(IsRed(Middle()));
  // Paused, the clock stands.
  ASSERT_EQ(player_->Play(), S_OK);
  Sleep(200);
  ASSERT_EQ(player_->Pause(), S_OK);
  double at = player_->Status().positionSeconds;
  EXPECT_GT(at, 1.0);
  Sleep(200);
  EXPECT_EQ(player_->Status().positionSeconds, at);
  EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Paused);
  player_->Repaint();
  EXPECT_TRUE(IsBlue(Middle()));
  EXPECT_EQ(player_->Pause(), S_FALSE);
}

TEST_F(PlayerTest, RangeAndLoop) {
  ASSERT_EQ(Open("colours.mts"), S_OK);
  EXPECT_EQ(player_->SetRange(1.5, 1.0), E_INVALIDARG);
  ASSERT_EQ(player_->SetRange(0.5, 1.0), S_OK);
  EXPECT_NEAR(player_->Status().positionSeconds, 0.5, 1e-3);
  DWORD start = GetTickCount();
  ASSERT_EQ(player_->Play(), S_OK);
  ASSERT_TRUE(WaitForEnd(5000));
  EXPECT_GE(GetTickCount() - start, 450u);
  EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Ended);
  EXPECT_NEAR(player_->Status().positionSeconds, 1.0, 1e-3);
  EXPECT_TRUE(IsRed(Middle()));  // the last picture of the range, before the blue second

  // Looping, the range plays on with no end notice.
  ASSERT_EQ(player_->SetRange(0, 0.4), S_OK);
  player_->SetLoop(true);
  ASSERT_EQ(player_->Play(), S_OK);
  testsupport::PumpPending();
  int ends = Ends();
  WaitUntil([] { return false; }, 1200);
  moviekit::PlayerStatus s = player_->Status();
  EXPECT_EQ(s.state, moviekit::PlayerState::Playing);
  EXPECT_LT(s.positionSeconds, 0.6);
  EXPECT_EQ(Ends(), ends);
  player_->Stop();
}

TEST_F(PlayerTest, FullScreenAndBack) {
  ASSERT_EQ(Open("quarters.mov"), S_OK);
  ASSERT_EQ(player_->SetFullScreen(true), S_OK);
  RECT r;
  GetWindowRect(player_->Window(), &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(player_->SetFullScreen(true), S_FALSE);
  ASSERT_EQ(player_->SetFullScreen(false), S_OK);
  EXPECT_EQ(GetParent(player_->Window()), host_);
  GetWindowRect(player_->Window(), &r);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 300);
  // Quarters: the top left is red, the bottom right white.
  testsupport::Picture picture(player_->Window(), testsupport::Picture::kClient);
  EXPECT_TRUE(IsRed(picture.At(100, 75)));
  COLORREF white = picture.At(300, 225);
  EXPECT_GT(GetRValue(white) + GetGValue(white) + GetBValue(white), 700);
}

TEST_F(PlayerTest, BrokenFilesAndCallsWithoutAMovie) {
  RECT r = {0, 0, 100, 100};
  // Words under a music file's name, and an MP3 cut off inside its tag, are no music.
  std::string dir = testsupport::NewTempFolder("glimora-moviekit");
  std::string words = dir + "\\words.mp3", cutTag = dir + "\\tag.mp3";
  ASSERT_TRUE(testsupport::WriteWholeFile(words, "not music at all, just some words\r\n"));
  ASSERT_TRUE(testsupport::WriteWholeFile(cutTag, testsupport::ReadWholeFile(Fixture("tone.mp3")).substr(0, 20)));
  for (std::string file : {Fixture("garbage.mts"), Fixture("cut.mts"), Fixture("no_such.mts"), words, cutTag}) {
    SCOPED_TRACE(file);
    EXPECT_LT(player_->Open(file.c_str(), host_, r), 0);
    EXPECT_EQ(player_->Window(), nullptr);
    EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Closed);
  }
  EXPECT_EQ(player_->Play(), VFW_E_WRONG_STATE);
  EXPECT_EQ(player_->Seek(1), VFW_E_WRONG_STATE);
  EXPECT_EQ(player_->SetFullScreen(true), VFW_E_WRONG_STATE);
  EXPECT_EQ(player_->Open(Fixture("colours.mts").c_str(), nullptr, r), E_INVALIDARG);
  testsupport::RemoveTree(dir);
}

// A movie of parts (a disc title's play items): the blue second of one file, then the red
// second of another, then the blue again on the file's own clock; one position and duration
// over all of them, seeks across parts, one end notice after the last.
TEST_F(PlayerTest, PartsPlayInTurnAsOneMovie) {
  moviekit::MovieFacts facts;
  ASSERT_EQ(moviekit::ReadFacts(Fixture("colours.m2ts").c_str(), &facts), S_OK);
  const std::string mts = Fixture("colours.mts"), m2ts = Fixture("colours.m2ts");
  moviekit::MoviePart parts[3];
  parts[0].path = mts.c_str(), parts[0].fromSeconds = 1.0;
  parts[1].path = m2ts.c_str(), parts[1].fromSeconds = 0, parts[1].toSeconds = 1.0;
  parts[2].path = m2ts.c_str(), parts[2].fileClock = true;
  parts[2].fromSeconds = facts.startSeconds + 1.0, parts[2].toSeconds = facts.startSeconds + 1.5;
  RECT r = {10, 10, 410, 310};
  ASSERT_EQ(player_->OpenParts(parts, 3, host_, r), S_OK);
  player_->SetNotify(host_, kEndMessage);
  EXPECT_NEAR(player_->Facts().durationSeconds, 2.5, 0.05);
  EXPECT_NEAR(player_->Status().positionSeconds, 0, 1e-3);
  EXPECT_TRUE(IsBlue(Middle()));
  EXPECT_EQ(player_->SetRange(0, 1), VFW_E_WRONG_STATE);  // the parts are its range

  ASSERT_EQ(player_->Seek(1.5), S_OK);  // into the second part
  EXPECT_NEAR(player_->Status().positionSeconds, 1.5, 1e-3);
  EXPECT_TRUE(IsRed(Middle()));
  ASSERT_EQ(player_->Seek(0.2), S_OK);  // back into the first
  EXPECT_TRUE(IsBlue(Middle()));

  ASSERT_EQ(player_->Play(), S_OK);
  bool sawRed = false;
  double last = 0;
  bool forward = true;
  ASSERT_TRUE(WaitUntil([&] {
    double at = player_->Status().positionSeconds;
    forward = forward && at >= last - 1e-6;
    last = at;
    if (at > 1.1 && at < 1.8 && IsRed(Middle())) sawRed = true;
    return Ends() > 0;
  }, 8000));
  EXPECT_TRUE(forward);  // the position runs on across the parts
  EXPECT_TRUE(sawRed);
  moviekit::PlayerStatus s = player_->Status();
  EXPECT_EQ(s.state, moviekit::PlayerState::Ended);
  EXPECT_NEAR(s.positionSeconds, 2.5, 0.05);
  EXPECT_TRUE(IsBlue(Middle()));
  testsupport::PumpPending();
  EXPECT_EQ(Ends(), 1);
  // Stop goes back to the first part.
  ASSERT_EQ(player_->Stop(), S_OK);
  EXPECT_NEAR(player_->Status().positionSeconds, 0, 1e-3);
  EXPECT_TRUE(IsBlue(Middle()));

  // A part that does not open, or lies outside its file, fails the whole.
  const std::string garbage = Fixture("garbage.mts"), missing = Fixture("no_such.mts");
  moviekit::MoviePart bad[2] = {parts[0], parts[0]};
  for (const std::string& file : {garbage, missing}) {
    bad[1].path = file.c_str();
    EXPECT_LT(player_->OpenParts(bad, 2, host_, r), 0) << file;
    EXPECT_EQ(player_->Status().state, moviekit::PlayerState::Closed);
  }
  bad[1] = parts[0];
  bad[1].fromSeconds = 5.0;
  EXPECT_EQ(player_->OpenParts(bad, 2, host_, r), E_INVALIDARG);
  EXPECT_EQ(player_->OpenParts(bad, 0, host_, r), E_INVALIDARG);
}
