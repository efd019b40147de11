// The movie controller's decisions: fitting, back-end choice and order, media time, the
// seek near the end of a DirectShow movie, the AVCHD player's states and seeks.
#include <gtest/gtest.h>

#include <vfwmsgs.h>

#include "MovieCtrlRules.h"

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MovieRules, FitAspect) {
  struct Case {
    int w, h;
    RECT in, out;
  } cases[] = {
      {1920, 1080, {0, 0, 400, 300}, {0, 37, 400, 262}},   // wide into 4:3: bands above and below
      {640, 480, {10, 10, 410, 310}, {10, 10, 410, 310}},  // the same shape fills
      {480, 640, {0, 0, 400, 300}, {87, 0, 312, 300}},     // tall: bands left and right
      {0, 480, {0, 0, 400, 300}, {0, 0, 0, 0}},            // no picture size: nothing shown
      {640, 480, {5, 5, 5, 50}, {5, 5, 5, 50}},            // an empty area stays as it is
  };
  for (const Case& c : cases) {
    RECT r = c.in;
    MovieFitAspect(c.w, c.h, r);
    EXPECT_TRUE(Same(r, c.out)) << c.w << "x" << c.h << " -> " << r.left << "," << r.top << "," << r.right << ","
                                << r.bottom;
  }
}

TEST(MovieRules, FitShapesAndVideoRect) {
  EXPECT_TRUE(Same(MovieFit16by9({100, 100, 740, 580}), {100, 160, 740, 520}));
  EXPECT_TRUE(Same(MovieFit16by9({0, 0, 1600, 600}), {267, 0, 1333, 600}));
  EXPECT_TRUE(Same(MovieFit4by3({0, 0, 640, 640}), {0, 80, 640, 560}));
  const RECT wide = {0, 0, 1600, 900}, fourThree = {0, 0, 400, 300}, odd = {0, 0, 100, 77}, none = {};
  struct Case {
    bool open;
    RECT video, out;
  } cases[] = {
      {true, wide, {0, 60, 640, 420}},  // relative to (0, 0), not to the area's corner
      {true, fourThree, {0, 0, 640, 480}},
      {true, odd, {100, 100, 740, 580}},  // other shapes leave the area
      {false, wide, {100, 100, 740, 580}},
      {true, none, {100, 100, 740, 580}},
  };
  for (const Case& c : cases) {
    RECT r = MovieFitVideoRect(c.open, c.video, 100, 100, 740, 580);
    EXPECT_TRUE(Same(r, c.out)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST(MovieRules, RouteByKindAndDiscReference) {
  struct Case {
    DWORD flags, ref0;
    MovieRoute route;
  } cases[] = {
      {0x1008, 0, kMovieRouteQuickTime},  {0x1030, 7, kMovieRouteQuickTime}, {0x1010, 0, kMovieRouteDirectShow},
      {0x1040, 0, kMovieRouteAvchd},      {0x1040, 3, kMovieRouteDisc},      {0x1000, 0, kMovieRouteDirectShow},
      {0x0040, 0, kMovieRouteDirectShow}, {0x1002, 9, kMovieRouteDisc},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseMovieRoute(c.flags, c.ref0), c.route) << std::hex << c.flags;
}

TEST(MovieRules, ActiveBackEndOrder) {
  EXPECT_EQ(ActiveMovieBackEnd(true, true, true, true), kMovieBridge);
  EXPECT_EQ(ActiveMovieBackEnd(false, true, true, true), kMovieDirectShow);
  EXPECT_EQ(ActiveMovieBackEnd(false, false, true, true), kMovieAvchd);
  EXPECT_EQ(ActiveMovieBackEnd(false, false, false, true), kMovieDisc);
  EXPECT_EQ(ActiveMovieBackEnd(false, false, false, false), kMovieNone);
}

TEST(MovieRules, DirectShowTimeAndEndApproach) {
  EXPECT_DOUBLE_EQ(MediaTimeToSeconds(0), 0.0);
  EXPECT_DOUBLE_EQ(MediaTimeToSeconds(25000000), 2.5);
  EXPECT_DOUBLE_EQ(MediaTimeToSeconds(30000000), 3.0);
  const LONGLONG s = 10000000, d = 10 * s;
  struct Case {
    LONGLONG target, current;
    bool approach;
  } cases[] = {
      {s / 2, 0, false},          // half a second: never
      {s, 0, false},              // one second exactly is not past it
      {95 * s / 10, 0, true},     // into the last second from far before
      {95 * s / 10, 85 * s / 10, true},
      {95 * s / 10, 86 * s / 10, false},  // less than a second earlier
      {85 * s / 10, 0, false},    // before the last second
  };
  for (const Case& c : cases) EXPECT_EQ(DShowSeekNeedsEndApproach(c.target, d, c.current), c.approach) << c.target;
}

TEST(MovieRules, RenderResultsAndAsf) {
  EXPECT_EQ(DShowRenderResult(VFW_S_AUDIO_NOT_RENDERED), S_OK);
  EXPECT_EQ(DShowRenderResult(VFW_S_VIDEO_NOT_RENDERED), S_OK);
  EXPECT_EQ(DShowRenderResult(VFW_S_PARTIAL_RENDER), VFW_S_PARTIAL_RENDER);  // the controller refuses it
  EXPECT_EQ(DShowRenderResult(E_FAIL), E_FAIL);
  struct Case {
    const char* path;
    bool asf;
  } cases[] = {{"C:\\a\\MOL001.ASF", true}, {"C:\\a\\b.asf", true},     {"C:\\a\\b.asf2", false},
               {"C:\\a.asf\\b", false},     {"C:\\a\\b.mp4", false},     {nullptr, false}};
  for (const Case& c : cases) EXPECT_EQ(IsAsfPath(c.path), c.asf) << (c.path ? c.path : "null");
}

TEST(MovieRules, AvchdStatesAndSeeks) {
  const int states[][2] = {{0, kWrapNoState}, {1, kWrapStopped}, {2, kWrapPlaying}, {3, kWrapStopped},
                           {4, kWrapEnded},   {5, kWrapNoState}, {-1, kWrapNoState}, {99, kWrapNoState}};
  for (const auto& s : states) EXPECT_EQ(AvchdPlayState(s[0]), s[1]) << s[0];
  EXPECT_EQ(AvchdSeekTarget(1.5, 20000000), 15000000);
  EXPECT_EQ(AvchdSeekTarget(9.0, 20000000), 20000000);  // clamped to the end
  EXPECT_EQ(AvchdSeekTarget(-1.0, 20000000), 0);        // and to the start
  // Only a seek to the very position is skipped: one back to the start of the current
  // second (at 0.6 s to 0, at 5.7 s to 5) seeks.
  const struct {
    LONGLONG now, target;
    bool skipped;
  } seeks[] = {{6000000, 0, false},
               {57000000, 50000000, false},
               {57000000, 55000000, false},
               {49000000, 50000000, false},
               {50000000, 50000000, true},
               {0, 0, true},
               {-5, 0, true}};
  for (const auto& k : seeks) EXPECT_EQ(AvchdSeekIsNoMove(k.now, k.target), k.skipped) << k.now << " to " << k.target;
}

}  // namespace
