// The disc player over the disc-movie core's player: a card's scene addressed by its disc
// reference plays in the target window; the watcher sees the end once a second, records it
// without looping and plays the scene again with looping; closing ends the watcher at once.
// The card is a scratch folder put into drive E: (the "card" lock).
#include <gtest/gtest.h>

#include <VxBDEdit.h>
#include <card.h>
#include <files.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>

#include "BDPlayCtrl.h"
#include "MovieCtrl.h"

namespace {

struct SceneCard {
  std::string folder = testsupport::NewTempFolder("disc-card");
  bool inserted = false;
  SceneCard() {
    const std::string stream = folder + "\\PRIVATE\\AVCHD\\BDMV\\STREAM";
    testsupport::MakeFolders(stream);
    CopyFileA((testsupport::ProgramFolder() + "\\testdata\\colours.mts").c_str(), (stream + "\\00007.MTS").c_str(), FALSE);
    inserted = testsupport::InsertCard('E', testsupport::UnixPathOf(folder)) == 0;
  }
  ~SceneCard() {
    testsupport::RemoveCard('E');
    if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
  }
  // The scene's reference words 2 to 4: drive E:, the card's tree, a day, clip 7.
  const DWORD ref[3] = {VxBDMakeGroup('E' - 'A', 0), 20261101, 7};
};

struct Target {
  CWnd wnd;
  Target() { wnd.CreateEx(0, AfxRegisterWndClass(0), "target", WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 360), nullptr, 0); }
  ~Target() { wnd.DestroyWindow(); }
};

}  // namespace

TEST(DiscPlayer, ACardSceneByItsReferencePlaysAndLoops) {
  SceneCard card;
  ASSERT_TRUE(card.inserted);
  Target t;
  CMovieCtrl movie;
  movie.SetTarget(&t.wnd, FALSE);
  ASSERT_EQ(movie.OpenDiscPlayer(CRect(0, 0, 640, 360), card.ref, TRUE), S_OK);
  EXPECT_EQ(movie.GetDiscPlayerKind(), 2);
  EXPECT_NEAR(movie.GetDuration(), 2.0, 0.1);
  EXPECT_TRUE(movie.IsVideoWindow(t.wnd.GetSafeHwnd()));
  EXPECT_FALSE(movie.IsPlaying());
  EXPECT_TRUE(movie.Seek(1.0, TRUE));
  double pos = 0;
  EXPECT_TRUE(movie.GetPosition(pos));
  EXPECT_NEAR(pos, 1.0, 0.05);
  movie.TogglePlay(FALSE);
  EXPECT_TRUE(movie.IsPlaying());
  // "Continue" 0 (the default): at the end the watcher plays the scene again.
  double highest = 0;
  EXPECT_TRUE(testsupport::WaitUntil([&] {
    movie.GetPosition(pos);
    highest = std::max(highest, pos);
    return highest > 1.5 && pos < 1.0 && movie.IsPlaying();
  }, 8000)) << highest << " " << pos;
  movie.Close();
  EXPECT_FALSE(movie.IsOpen());
}

TEST(DiscPlayer, WithoutLoopingTheEndIsRecordedAndCloseEndsTheWatcher) {
  SceneCard card;
  ASSERT_TRUE(card.inserted);
  Target t;
  CBDPlayCtrl disc;
  ASSERT_EQ(disc.Initialize(), S_OK);
  ASSERT_EQ(disc.Initialize(), S_OK);  // again: still one watcher
  EXPECT_TRUE(disc.IsWatching());
  disc.SetLoop(FALSE);
  disc.SetOwner(&t.wnd, CRect(0, 0, 640, 360), TRUE);
  ASSERT_EQ(disc.OpenItem(card.ref[0], card.ref[1], card.ref[2]), S_OK);
  EXPECT_EQ(disc.SetCurrentPosition(0.0), S_FALSE);  // already in that second
  EXPECT_EQ(disc.SetCurrentPosition(1.2), S_OK);
  ASSERT_EQ(disc.Play(), S_OK);
  EXPECT_EQ(disc.GetPlayState(), 2);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return disc.GetPlayState() == CBDPlayCtrl::kStateEnded; }, 5000));
  // Playing again clears the end; closing stops the item and ends the watcher within a pass.
  ASSERT_EQ(disc.Play(), S_OK);
  const DWORD start = GetTickCount();
  EXPECT_EQ(disc.Close(), S_OK);
  EXPECT_LT(GetTickCount() - start, 500u);  // not a whole pass of the watcher
  EXPECT_FALSE(disc.IsWatching());
  EXPECT_EQ(disc.Play(), E_FAIL);  // no player after closing
  EXPECT_EQ(disc.GetPlayState(), E_FAIL);
  EXPECT_EQ(disc.GetCurrentPosition(), -2147467259.0);
}

TEST(DiscPlayer, AReferenceToNoSceneFails) {
  Target t;
  CBDPlayCtrl disc;
  ASSERT_EQ(disc.Initialize(), S_OK);
  disc.SetOwner(&t.wnd, CRect(0, 0, 640, 360), TRUE);
  struct {
    DWORD group, clip;
  } refs[] = {{VxBDMakeGroup(25, 0), 1}, {VxBDMakeGroup(2, 7), 1}, {VxBDMakeGroup(30, 0), 1}, {VxBDMakeGroup(2, 0), 123456}};
  for (const auto& r : refs) EXPECT_EQ(disc.OpenItem(r.group, 0, r.clip), E_FAIL) << r.group << " " << r.clip;
  disc.Close();
}
