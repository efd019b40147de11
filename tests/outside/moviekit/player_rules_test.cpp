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

// Parts of a movie of several files: a disc playlist's in and out times are on the stream's
// own clock, which starts anywhere and wraps after 2^33 ticks of 90 kHz.
TEST(PlayerRules, PartsInTheirFiles) {
  const double wrap = 8589934592.0 / 90000.0;
  struct Case {
    const char* what;
    double from, to;
    bool fileClock;
    double start, duration;
    bool valid;
    double wantFrom, wantTo, wantLength;
  } cases[] = {
      {"movie time", 1, 3, false, 0, 10, true, 1, 3, 2},
      {"movie time to the end", 4, 0, false, 0, 10, true, 4, 0, 6},
      {"file clock", 601.4, 603.4, true, 600.4, 10, true, 1, 3, 2},
      {"file clock, whole file", 0, 0, true, 600.4, 10, true, 0, 0, 10},
      {"in before the first picture", 600.0, 605.4, true, 600.4, 10, true, 0, 5, 5},
      {"out past the end", 605.4, 700, true, 600.4, 10, true, 5, 0, 5},
      {"across the wrap", 1.0, 3.0, true, wrap - 1.0, 10, true, 2, 4, 2},
      {"out before in", 605, 601, true, 600.4, 10, false, 0, 0, 0},
      {"in past the end", 620, 630, true, 600.4, 10, false, 0, 0, 0},
      {"movie time past the end", 12, 0, false, 0, 10, false, 0, 0, 0},
      {"not a number", NAN, 3, true, 0, 10, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    moviekit::PartPlace p = moviekit::PlacePart(c.from, c.to, c.fileClock, c.start, c.duration);
    EXPECT_EQ(p.valid, c.valid);
    if (!c.valid) continue;
    EXPECT_NEAR(p.from, c.wantFrom, 1e-6);
    EXPECT_NEAR(p.to, c.wantTo, 1e-6);
    EXPECT_NEAR(p.length, c.wantLength, 1e-6);
  }
}

TEST(PlayerRules, TheTimeOfAMovieOfPartsFindsItsPart) {
  const double lengths[] = {2.0, 1.5, 3.0};
  struct Case {
    double seconds;
    int part;
    double within;
  } cases[] = {{-1, 0, 0}, {0, 0, 0}, {1.99, 0, 1.99}, {2.0, 1, 0}, {3.4, 1, 1.4}, {3.5, 2, 0}, {6.5, 2, 3.0},
               {9, 2, 3.0}, {NAN, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    moviekit::PartAt at = moviekit::FindPart(lengths, 3, c.seconds);
    EXPECT_EQ(at.part, c.part);
    EXPECT_NEAR(at.within, c.within, 1e-9);
  }
  EXPECT_EQ(moviekit::FindPart(nullptr, 0, 1.0).part, 0);
}
