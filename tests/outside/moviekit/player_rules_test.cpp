// The player's decisions: play ranges, late pictures, the picture's place in the window.
#include <gtest/gtest.h>

#include <cmath>

#include "playerrules.h"

using moviekit::CheckRange;
using moviekit::LetterBox;

TEST(PlayerRules, Ranges) {
  struct Case {
    double from, to, duration;
    bool valid;
    double wantFrom, wantTo;
  } cases[] = {
      {0, 0, 10, true, 0, 0},       {2, 5, 10, true, 2, 5},      {2, 12, 10, true, 2, 0},
      {2, -1, 10, true, 2, 0},      {5, 5, 10, false, 0, 0},     {6, 5, 10, false, 0, 0},
      {-1, 5, 10, false, 0, 0},     {10, 0, 10, false, 0, 0},    {3, 4, 0, true, 3, 4},
      {NAN, 4, 10, false, 0, 0},    {1, INFINITY, 10, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << ".." << c.to << " of " << c.duration);
    moviekit::RangeCheck r = CheckRange(c.from, c.to, c.duration);
    EXPECT_EQ(r.valid, c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(r.from, c.wantFrom);
    EXPECT_EQ(r.to, c.wantTo);
  }
}

TEST(PlayerRules, LatePicturesAreDropped) {
  EXPECT_FALSE(moviekit::ShouldDrop(1.0, 1.05, 0.1));
  EXPECT_FALSE(moviekit::ShouldDrop(1.0, 0.5, 0.1));  // early: waited for
  EXPECT_TRUE(moviekit::ShouldDrop(1.0, 1.2, 0.1));
}

TEST(PlayerRules, LetterBox) {
  struct Case {
    RECT client;
    int w, h;
    RECT want;
  } cases[] = {
      {{0, 0, 400, 300}, 320, 240, {0, 0, 400, 300}},     // same shape: all of it
      {{0, 0, 400, 200}, 320, 240, {67, 0, 333, 200}},    // wider window: bands left and right
      {{0, 0, 320, 480}, 320, 240, {0, 120, 320, 360}},   // taller window: bands above and below
      {{10, 20, 170, 140}, 16, 12, {10, 20, 170, 140}},   // offset client, enlarged
      {{0, 0, 0, 0}, 320, 240, {0, 0, 0, 0}},             // no room
      {{0, 0, 100, 100}, 0, 240, {0, 0, 0, 0}},           // no picture
  };
  for (const Case& c : cases) {
    RECT r = LetterBox(c.client, c.w, c.h);
    SCOPED_TRACE(testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom);
    EXPECT_TRUE(EqualRect(&r, &c.want));
  }
}
