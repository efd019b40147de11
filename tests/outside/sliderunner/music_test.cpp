// The slide player's music, through the component as the browser loads it: each file in
// turn, the next at the end of one, a file that is no music passed over. The music's hidden
// window names the file that plays.
#include <gtest/gtest.h>

#include <SlidePlayer.h>
#include <files.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>

#include <string>
#include <vector>

using testsupport::Fixture;
using testsupport::WaitUntil;

namespace {

BOOL CALLBACK FindMusic(HWND hwnd, LPARAM lParam) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpA(cls, "MovieKitVideo") != 0) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = hwnd;
  return FALSE;
}

class SlideMusic : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = testsupport::NewTempFolder("slidemusic");
    module_ = LoadLibraryA("SlideRunnerWrapper.dll");
    ASSERT_NE(module_, nullptr);
    auto create = reinterpret_cast<DllCreateInstanceFn>(GetProcAddress(module_, "DllCreateInstance"));
    ASSERT_NE(create, nullptr);
    ASSERT_EQ(create(CLSID_SlidePlayer, IID_ISlidePlayer, reinterpret_cast<void**>(&player_)), S_OK);
    target_ = CreateWindowExA(0, "STATIC", "slides", WS_POPUP | WS_VISIBLE, 20, 20, 320, 240, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(target_, nullptr);
  }
  void TearDown() override {
    if (player_) player_->Release();
    if (target_) DestroyWindow(target_);
    testsupport::PumpPending();
    if (module_) FreeLibrary(module_);
    testsupport::RemoveTree(dir_);
  }
  std::string Copy(const char* fixture, const char* name) {
    std::string to = dir_ + "\\" + name;
    EXPECT_TRUE(CopyFileA(Fixture(fixture).c_str(), to.c_str(), FALSE));
    return to;
  }
  // One slide that stays a minute: the show outlasts the music.
  HRESULT Load(const std::vector<std::string>& music) {
    SlidePlayerRecord slide = {};
    MultiByteToWideChar(CP_ACP, 0, Fixture("plain.jpg").c_str(), -1, slide.szPath, MAX_PATH);
    slide.nWidth = 320;
    slide.nHeight = 240;
    slide.nInterval = 60000;
    std::vector<SlidePlayerMusic> list(music.size());
    for (size_t i = 0; i < music.size(); ++i)
      MultiByteToWideChar(CP_ACP, 0, music[i].c_str(), -1, list[i].szPath, MAX_PATH);
    return player_->Load(target_, 1, 0, &slide, 1, list.data(), int(list.size()), 0);
  }
  // The file the music window names; "" when none plays.
  std::string Playing() {
    HWND music = nullptr;
    EnumChildWindows(target_, FindMusic, reinterpret_cast<LPARAM>(&music));
    if (!music) return "";
    char text[MAX_PATH * 2] = {};
    GetWindowTextA(music, text, sizeof text);
    return text;
  }

  std::string dir_;
  HMODULE module_ = nullptr;
  ISlidePlayer* player_ = nullptr;
  HWND target_ = nullptr;
};

}  // namespace

TEST_F(SlideMusic, PlaysEachInTurnPassingOverWhatIsNoMusic) {
  std::string wav = Copy("tone.wav", "a.wav");  // 1 s
  std::string words = dir_ + "\\b.mp3";
  ASSERT_TRUE(testsupport::WriteWholeFile(words, "not music at all, just some words\r\n"));
  std::string mp3 = Copy("tone.mp3", "c.mp3");  // 2 s
  ASSERT_EQ(Load({wav, words, mp3}), S_OK);
  DWORD start = GetTickCount();
  ASSERT_EQ(player_->Play(), S_OK);
  EXPECT_EQ(Playing(), wav);
  // At the WAV's end, past the words, the MP3; at its end, round to the first again.
  ASSERT_TRUE(WaitUntil([&] { return Playing() == mp3; }, 5000)) << Playing();
  EXPECT_GE(GetTickCount() - start, 900u);
  start = GetTickCount();
  ASSERT_TRUE(WaitUntil([&] { return Playing() == wav; }, 6000)) << Playing();
  EXPECT_GE(GetTickCount() - start, 1900u);
  int state = -1;
  ASSERT_EQ(player_->GetState(&state), S_OK);
  EXPECT_EQ(state, kSlideStatePlaying);
  // Stopped, the music stops with the show.
  ASSERT_EQ(player_->Stop(), S_OK);
  EXPECT_EQ(Playing(), "");
}

TEST_F(SlideMusic, NoMusicAtAllLeavesTheShowPlaying) {
  std::string words = dir_ + "\\b.mp3", missing = dir_ + "\\gone.mp3";
  ASSERT_TRUE(testsupport::WriteWholeFile(words, "not music\r\n"));
  ASSERT_EQ(Load({words, missing}), S_OK);
  ASSERT_EQ(player_->Play(), S_OK);
  EXPECT_EQ(Playing(), "");
  int state = -1;
  ASSERT_EQ(player_->GetState(&state), S_OK);
  EXPECT_EQ(state, kSlideStatePlaying);
  ASSERT_EQ(player_->Stop(), S_OK);
}
