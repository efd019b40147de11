// The slide runner's show over time: plain slides at their intervals, effects at the start
// of each slide, the end without repeat and the new round with it; fitted and zoomed areas.
#include <gtest/gtest.h>

#include "schedule.h"

using namespace sliderunner;

TEST(SlideSchedule, PlainSlidesCutAtTheirIntervals) {
  const std::vector<int> intervals = {500, 0, 200};  // 0: the default
  struct {
    long long t;
    int slide;
    bool ended;
  } cases[] = {
      {-5, 0, false}, {0, 0, false}, {499, 0, false}, {500, 1, false},
      {500 + kDefaultIntervalMs - 1, 1, false}, {500 + kDefaultIntervalMs, 2, false},
      {700 + kDefaultIntervalMs, 2, true}, {1000000, 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.t);
    const ShowPoint p = ShowAt(0, intervals, false, c.t);
    EXPECT_EQ(p.slide, c.slide);
    EXPECT_EQ(p.ended, c.ended);
    EXPECT_EQ(p.previous, -1);  // plain slides cut
    EXPECT_EQ(p.progress, 1.0);
  }
  // With repeat the show goes round and never ends.
  const long long total = 700 + kDefaultIntervalMs;
  const ShowPoint again = ShowAt(0, intervals, true, total + 10);
  EXPECT_EQ(again.slide, 0);
  EXPECT_FALSE(again.ended);
  EXPECT_EQ(ShowAt(0, intervals, true, 3 * total + 600).slide, 1);
  EXPECT_TRUE(ShowAt(0, {}, true, 0).ended);
}

TEST(SlideSchedule, EffectsRunAtTheStartOfEachSlide) {
  const std::vector<int> two(2, 123);  // intervals count for plain shows only
  for (int kind = 1; kind <= 4; ++kind) {
    SCOPED_TRACE(kind);
    ShowPoint p = ShowAt(kind, two, true, kEffectTransitionMs / 2);
    EXPECT_EQ(p.slide, 0);
    EXPECT_EQ(p.previous, -1);  // the first comes out of black
    EXPECT_DOUBLE_EQ(p.progress, 0.5);
    p = ShowAt(kind, two, true, kEffectSlideMs + kEffectTransitionMs / 4);
    EXPECT_EQ(p.slide, 1);
    EXPECT_EQ(p.previous, 0);
    EXPECT_DOUBLE_EQ(p.progress, 0.25);
    p = ShowAt(kind, two, true, kEffectSlideMs + kEffectTransitionMs);
    EXPECT_EQ(p.previous, -1);
    EXPECT_EQ(p.progress, 1.0);
    EXPECT_DOUBLE_EQ(p.along, double(kEffectTransitionMs) / kEffectSlideMs);
    // The second round comes from the last slide.
    p = ShowAt(kind, two, true, 2 * kEffectSlideMs + 1);
    EXPECT_EQ(p.slide, 0);
    EXPECT_EQ(p.previous, 1);
    EXPECT_TRUE(ShowAt(kind, two, false, 2 * kEffectSlideMs).ended);
  }
}

TEST(SlideSchedule, FitAndZoomAreas) {
  struct {
    int w, h, cx, cy;
    RECT fit;
  } fits[] = {
      {4000, 3000, 1280, 1024, {0, 32, 1280, 992}},   // wide: bars above and below
      {3000, 4000, 1280, 1024, {256, 0, 1024, 1024}},  // tall: bars at the sides
      {64, 48, 1280, 960, {0, 0, 1280, 960}},          // small pictures fill the screen
      {0, 48, 1280, 960, {0, 0, 0, 0}},
      {64, 48, 0, 960, {0, 0, 0, 0}},
  };
  for (const auto& f : fits) {
    SCOPED_TRACE(std::to_string(f.w) + "x" + std::to_string(f.h));
    const RECT r = FitRect(f.w, f.h, f.cx, f.cy);
    EXPECT_TRUE(EqualRect(&r, &f.fit)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  const RECT crop = {100, 50, 300, 150};
  RECT r = ZoomSource(400, 200, crop, 0);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 400);
  r = ZoomSource(400, 200, crop, 1);
  EXPECT_TRUE(EqualRect(&r, &crop));
  r = ZoomSource(400, 200, crop, 0.5);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.bottom, 175);
  // A crop outside the picture, or empty, zooms nowhere.
  for (RECT bad : {RECT{500, 500, 600, 600}, RECT{0, 0, 0, 0}}) {
    r = ZoomSource(400, 200, bad, 1);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 200);
  }
}
