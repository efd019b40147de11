// The enlarged view's decisions: the control strip and video rectangles, fitting, free
// child ids, the caption width, slider ticks, and which movies show which message.
#include <gtest/gtest.h>

#include <EnlargedImageRules.h>
#include <VxResourceIds.h>

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Text(const RECT& r) {
  char s[64];
  wsprintfA(s, "%d,%d,%d,%d", (int)r.left, (int)r.top, (int)r.right, (int)r.bottom);
  return s;
}

TEST(EnlargedRects, StripAtTheBottomOrAtTheTopOfALowClient) {
  struct {
    RECT client, video, play, full, slider;
  } cases[] = {
      // 400 x 300: strip at 275.
      {{0, 0, 400, 300}, {0, 0, 400, 271}, {4, 275, 47, 296}, {353, 275, 396, 296}, {51, 275, 349, 296}},
      // Under 30 high: strip at top + 4, no video.
      {{0, 0, 400, 29}, {0, 0, 400, 0}, {4, 4, 47, 25}, {353, 4, 396, 25}, {51, 4, 349, 25}},
      // Narrower than 192: the full-view button stays at 145..188, the slider at 90 wide.
      {{0, 0, 150, 100}, {0, 0, 150, 71}, {4, 75, 47, 96}, {145, 75, 188, 96}, {51, 75, 141, 96}},
      {{0, 0, 192, 100}, {0, 0, 192, 71}, {4, 75, 47, 96}, {145, 75, 188, 96}, {51, 75, 141, 96}},
      {{0, 0, 193, 100}, {0, 0, 193, 71}, {4, 75, 47, 96}, {146, 75, 189, 96}, {51, 75, 142, 96}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(Text(c.client));
    EXPECT_TRUE(Same(EnlargedVideoRect(c.client), c.video)) << Text(EnlargedVideoRect(c.client));
    EXPECT_TRUE(Same(EnlargedPlayBtnRect(c.client), c.play)) << Text(EnlargedPlayBtnRect(c.client));
    EXPECT_TRUE(Same(EnlargedFullBtnRect(c.client), c.full)) << Text(EnlargedFullBtnRect(c.client));
    EXPECT_TRUE(Same(EnlargedSliderRect(c.client), c.slider)) << Text(EnlargedSliderRect(c.client));
  }
}

TEST(EnlargedDrawRect, FitsAndCentres) {
  struct {
    int w, h;
    RECT box, want;
  } cases[] = {
      {400, 200, {0, 0, 200, 200}, {0, 50, 200, 150}},  // wide: full width
      {200, 400, {0, 0, 200, 200}, {50, 0, 150, 200}},  // tall: full height
      {100, 100, {10, 10, 110, 60}, {35, 10, 85, 60}},
      {6000, 4000, {0, 0, 1280, 1024}, {0, 85, 1280, 938}},
      {0, 100, {0, 0, 200, 200}, {0, 0, 0, 0}},  // no size: empty
      {100, -1, {0, 0, 200, 200}, {0, 0, 0, 0}},
      {100, 100, {5, 5, 5, 50}, {5, 5, 5, 50}},  // an empty box stays
      // The largest picture a header can claim into a box of 40,000: the products pass
      // 2^31 (40,000 x 65,535), so 32-bit arithmetic would take the wrong side.
      {65535, 65535, {0, 0, 40000, 40000}, {0, 0, 40000, 40000}},
      {65535, 32768, {0, 0, 40000, 40000}, {0, 10000, 40000, 30000}},
      {32768, 65535, {0, 0, 40000, 40000}, {10000, 0, 30000, 40000}},
      {65535, 1, {0, 0, 40000, 40000}, {0, 20000, 40000, 20000}},
  };
  for (auto& c : cases) {
    RECT got = EnlargedDrawRect(c.w, c.h, c.box);
    EXPECT_TRUE(Same(got, c.want)) << c.w << "x" << c.h << " in " << Text(c.box) << " gave " << Text(got);
  }
}

TEST(EnlargedRules, IdsCaptionTicksAndRoads) {
  EXPECT_EQ(EnlargedNewWndID({}), 12288u);
  EXPECT_EQ(EnlargedNewWndID({12288, 12289, 12291}), 12290u);
  EXPECT_EQ(EnlargedNewWndID({12289, 12288}), 12290u);  // order of the children does not matter
  EXPECT_EQ(EnlargedCaptionWidth(4000, 3000, 400, 300), 400);
  EXPECT_EQ(EnlargedCaptionWidth(4000, 3000, 800, 300), 400);  // the smaller ratio rules
  EXPECT_EQ(EnlargedCaptionWidth(0, 3000, 800, 300), 0);
  EXPECT_EQ(EnlargedTicks(0.0), 0);
  EXPECT_EQ(EnlargedTicks(-3.0), 0);
  EXPECT_EQ(EnlargedTicks(12.34), 123);
  EXPECT_EQ(EnlargedTicks(12.35), 124);
  EXPECT_EQ(EnlargedMovieRoad(0x1000, FALSE), VXMOVIE_NONE);
  EXPECT_EQ(EnlargedMovieRoad(0x1008, FALSE), VXMOVIE_API);
  EXPECT_EQ(EnlargedMovieRoad(0x1030, FALSE), VXMOVIE_API);
  EXPECT_EQ(EnlargedMovieRoad(0x1040, FALSE), VXMOVIE_AVCHD);
  EXPECT_EQ(EnlargedMovieRoad(0x1010, FALSE), VXMOVIE_DSHOW);
  EXPECT_EQ(EnlargedMovieRoad(0x1040, TRUE), VXMOVIE_DISC);
  EXPECT_EQ(EnlargedApiOpenFailure(E_FAIL, 64, 10), (HRESULT)0x800700CE);
  EXPECT_EQ(EnlargedApiOpenFailure(E_FAIL, 63, 249), (HRESULT)0x800700A1);
  EXPECT_EQ(EnlargedApiOpenFailure(E_FAIL, 63, 248), E_FAIL);
}

TEST(EnlargedMovieMessage, OnlyApiMoviesShowOne) {
  struct {
    BOOL api, unusable;
    HRESULT hr;
    UINT first, append;
  } cases[] = {
      {TRUE, TRUE, E_FAIL, IDS_MOVIE_NEEDS_PLAYER, IDS_MOVIE_NEEDS_PLAYER_HINT},
      {TRUE, FALSE, (HRESULT)0x800700CE, IDS_MOVIE_NAME_TOO_LONG, 0},
      {TRUE, FALSE, (HRESULT)0x800700A1, IDS_MOVIE_PATH_TOO_LONG, 0},
      {TRUE, FALSE, E_FAIL, IDS_BROWSER_MOVIE_FAILED, 0},
      {TRUE, TRUE, (HRESULT)0x8007065E, 0, 0},  // unsupported type: nothing
      {TRUE, TRUE, S_OK, 0, 0},
      {FALSE, TRUE, E_FAIL, 0, 0},  // other movies: nothing
  };
  for (auto& c : cases) {
    VXMOVIEMESSAGE m = EnlargedMovieMessage(c.api, c.unusable, c.hr);
    EXPECT_EQ(m.nFirst, c.first) << std::hex << c.hr;
    EXPECT_EQ(m.nAppend, c.append) << std::hex << c.hr;
  }
}

}  // namespace

// Pictures are loaded at the monitor's size; only a picture cut down to that box is loaded
// again, and only when the view outgrows the box.
TEST(EnlargedRules, LoadBoxAndReload) {
  const RECT monitor = {1280, 0, 1280 + 1920, 1080};
  EXPECT_EQ(EnlargedLoadBox(monitor, SIZE{800, 600}).cx, 1920);
  EXPECT_EQ(EnlargedLoadBox(monitor, SIZE{800, 600}).cy, 1080);
  EXPECT_EQ(EnlargedLoadBox(monitor, SIZE{2400, 900}).cx, 2400);  // across two monitors
  EXPECT_EQ(EnlargedLoadBox(RECT{0, 0, 0, 0}, SIZE{0, 0}).cx, 1);
  struct {
    SIZE picture, box, view;
    BOOL reload;
  } cases[] = {
      {{1440, 1080}, {1920, 1080}, {2560, 1440}, TRUE},   // cut to the box's height, view larger
      {{1440, 1080}, {1920, 1080}, {1900, 1000}, FALSE},  // the view still fits the box
      {{640, 480}, {1920, 1080}, {2560, 1440}, FALSE},    // a small picture is whole already
      {{0, 0}, {1920, 1080}, {2560, 1440}, FALSE},
      {{1440, 1080}, {0, 0}, {2560, 1440}, FALSE},        // nothing loaded yet
  };
  for (auto& c : cases)
    EXPECT_EQ(c.reload, EnlargedNeedsReload(c.picture, c.box, c.view)) << c.picture.cx << " " << c.view.cx;
}

// A movie that ended goes on to the next entry only on the same page.
TEST(EnlargedRules, NextEntryAfterAMovie) {
  int a = 0, b = 0;
  const void* A = &a;
  const void* B = &b;
  struct {
    std::vector<const void*> pages;
    int selected, next;
  } cases[] = {
      {{A, A, A}, 0, 1}, {{A, A, A}, 1, 2},
      {{A, A, A}, 2, -1},      // the last entry
      {{A, B}, 0, -1},         // the next one on another page
      {{A, nullptr}, 0, -1},   // the next entry has no thumbnail
      {{A, A}, -1, -1},        // the selected item is not in the list
      {{}, 0, -1},
  };
  for (auto& c : cases) EXPECT_EQ(c.next, EnlargedNextEntry(c.pages, c.selected)) << c.selected;
}
