// The disc player over the disc-movie core's player: a card's scene addressed by its disc
// reference plays in the target window; the watcher sees the end once a second, records it
// without looping and plays the scene again with looping; closing ends the watcher at once.
// The card is a scratch folder put into drive E: (the "card" lock). A disc's title plays
// through its play items from a scratch disc in drive D:.
#include <string>
#include <gtest/gtest.h>

#include <VxBDDisc.h>
#include <VxBDEdit.h>
#include <moviekit/moviekit.h>
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

// A disc of one title: play item 0 is the blue second of a stream (in and out times on the
// stream's clock, as a camera writes them), item 1 the whole of another (2 s); playlist 1
// does not read, playlist 2 names a stream that is not there, and stream 00003 is garbage.
struct TitleDisc {
  std::string folder = testsupport::NewTempFolder("disc-title");
  bool inserted = false;
  TitleDisc() {
    const std::string bdmv = folder + "\\BDMV", stream = bdmv + "\\STREAM\\";
    if (!VxBDWriteTree(bdmv, {{{"00000", "00001"}, 0x0103, 0xAB12}}, true, true)) return;
    const std::string colours = testsupport::ProgramFolder() + "\\testdata\\colours.m2ts";
    CopyFileA(colours.c_str(), (stream + "00000.m2ts").c_str(), FALSE);
    CopyFileA(colours.c_str(), (stream + "00001.m2ts").c_str(), FALSE);
    testsupport::WriteWholeFile(stream + "00003.m2ts", std::string(4000, 'G'));
    moviekit::MovieFacts facts;
    if (FAILED(moviekit::ReadFacts(colours.c_str(), &facts))) return;
    const uint32_t start = uint32_t(facts.startSeconds * 45000 + 0.5);
    testsupport::WriteWholeFile(bdmv + "\\PLAYLIST\\00000.mpls",
                                Text(VxBDMakePlayItems({{"00000", start + 45000, start + 90000}, {"00001", 0, 0}}, 1, 2)));
    testsupport::WriteWholeFile(bdmv + "\\PLAYLIST\\00001.mpls", "MPLS0200 and no more");
    testsupport::WriteWholeFile(bdmv + "\\PLAYLIST\\00002.mpls", Text(VxBDMakePlayItems({{"00002", 0, 0}}, 1, 2)));
    testsupport::WriteWholeFile(bdmv + "\\PLAYLIST\\00003.mpls", Text(VxBDMakePlayItems({{"00003", 0, 0}}, 1, 2)));
    inserted = testsupport::InsertDisc('D', testsupport::UnixPathOf(folder)) == 0;
  }
  ~TitleDisc() {
    testsupport::RemoveDisc('D');
    testsupport::RemoveTree(folder);
  }
  static std::string Text(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }
  // Words 2 to 4 of the reference of a title's part: drive D:'s disc, playlist, play item.
  static std::vector<DWORD> Ref(DWORD playlist, DWORD item) {
    return {VxBDMakeGroup('D' - 'A', VXBD_TREE_DISC), playlist, item};
  }
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

TEST(DiscPlayer, ADiscTitlePlaysThroughItsPlayItemsToItsEnd) {
  TitleDisc disc;
  ASSERT_TRUE(disc.inserted);
  Target t;
  CMovieCtrl movie;
  movie.SetTarget(&t.wnd, FALSE);
  const std::vector<DWORD> ref = TitleDisc::Ref(0, 0);
  ASSERT_EQ(movie.OpenDiscPlayer(CRect(0, 0, 640, 360), ref.data(), TRUE), S_OK);
  EXPECT_EQ(movie.GetDiscPlayerKind(), 2);
  EXPECT_NEAR(movie.GetDuration(), 3.0, 0.1);  // one second of the first item, two of the second
  EXPECT_TRUE(movie.Seek(1.5, TRUE));  // into the second item
  double pos = 0;
  EXPECT_TRUE(movie.GetPosition(pos));
  EXPECT_NEAR(pos, 1.5, 0.05);
  EXPECT_TRUE(movie.Seek(0.0, TRUE));
  movie.Close();

  // Without looping: the position runs on across the items and the watcher records the end.
  CBDPlayCtrl player;
  ASSERT_EQ(player.Initialize(), S_OK);
  player.SetLoop(FALSE);
  player.SetOwner(&t.wnd, CRect(0, 0, 640, 360), TRUE);
  ASSERT_EQ(player.OpenItem(ref[0], ref[1], ref[2]), S_OK);
  EXPECT_NEAR(player.GetDuration(), 3.0, 0.1);
  ASSERT_EQ(player.Play(), S_OK);
  double last = 0, highest = 0;
  std::string backwards;
  EXPECT_TRUE(testsupport::WaitUntil([&] {
    const double at = player.GetCurrentPosition();
    // The clock may run a few milliseconds past the end before the player stands it at the
    // end's own time; anything more is the position starting over within the title.
    if (at < last - 0.05) backwards += std::to_string(last) + " -> " + std::to_string(at) + "; ";
    last = at;
    highest = std::max(highest, at);
    return player.GetPlayState() == CBDPlayCtrl::kStateEnded;
  }, 8000)) << highest;
  EXPECT_EQ(backwards, "");
  EXPECT_GT(highest, 1.5);  // well into the second item
  EXPECT_NEAR(player.GetCurrentPosition(), 3.0, 0.1);
  // Paused and stopped: the position stands, and stop goes back to the title's start.
  ASSERT_EQ(player.Play(), S_OK);
  ASSERT_EQ(player.Pause(), S_OK);
  const double paused = player.GetCurrentPosition();
  Sleep(300);
  EXPECT_EQ(player.GetCurrentPosition(), paused);
  ASSERT_EQ(player.Stop(), S_OK);
  EXPECT_NEAR(player.GetCurrentPosition(), 0.0, 0.05);
  EXPECT_EQ(player.Close(), S_OK);

  // A part of the title plays the title from there: the second item alone is left.
  ASSERT_EQ(player.Initialize(), S_OK);
  player.SetOwner(&t.wnd, CRect(0, 0, 640, 360), TRUE);
  const std::vector<DWORD> second = TitleDisc::Ref(0, 1);
  ASSERT_EQ(player.OpenItem(second[0], second[1], second[2]), S_OK);
  EXPECT_NEAR(player.GetDuration(), 2.0, 0.1);
  player.Close();
}

// Titles that cannot play fail the open and leave no player behind: a playlist that is not
// there or does not read, an item past the title's end, a missing stream, a garbage one, a
// drive without a disc.
TEST(DiscPlayer, DiscTitlesThatCannotPlayFailCleanly) {
  TitleDisc disc;
  ASSERT_TRUE(disc.inserted);
  Target t;
  struct {
    const char* what;
    std::vector<DWORD> ref;
  } cases[] = {
      {"no such playlist", TitleDisc::Ref(9, 0)},
      {"a playlist that does not read", TitleDisc::Ref(1, 0)},
      {"past the title's items", TitleDisc::Ref(0, 2)},
      {"a missing stream", TitleDisc::Ref(2, 0)},
      {"a garbage stream", TitleDisc::Ref(3, 0)},
      {"no disc drive", {VxBDMakeGroup('C' - 'A', VXBD_TREE_DISC), 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CMovieCtrl movie;
    movie.SetTarget(&t.wnd, FALSE);
    EXPECT_LT(movie.OpenDiscPlayer(CRect(0, 0, 640, 360), c.ref.data(), TRUE), 0);
    EXPECT_FALSE(movie.IsOpen());
    EXPECT_EQ(::GetWindow(t.wnd.GetSafeHwnd(), GW_CHILD), (HWND)NULL);  // no video window left
    movie.Close();
  }
}
