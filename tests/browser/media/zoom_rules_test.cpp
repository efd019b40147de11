// The zoom window's decisions: steps, fit, usable height, placement and pan, the panel's
// layout and enabling, fades and cursor.
#include <gtest/gtest.h>

#include "ZoomWndRules.h"

namespace {

TEST(ZoomRules, Steps) {
  const int in[][2] = {{25, 50}, {49, 50}, {50, 75}, {99, 100}, {100, 150}, {150, 200}, {200, 450}, {449, 450},
                       {450, 450}, {24, 24}};
  for (const auto& c : in) EXPECT_EQ(ZoomStepIn(c[0]), c[1]) << c[0];
  const int out[][2] = {{450, 200}, {201, 200}, {200, 150}, {150, 100}, {100, 75}, {75, 50}, {50, 25}, {26, 25},
                        {25, 25}, {451, 451}};
  for (const auto& c : out) EXPECT_EQ(ZoomStepOut(c[0]), c[1]) << c[0];
}

TEST(ZoomRules, FitAndUsableHeight) {
  EXPECT_EQ(ZoomFitPercent(0, 100, 1024, 768), 0);
  EXPECT_EQ(ZoomFitPercent(2048, 1536, 1024, 768), 50);
  EXPECT_EQ(ZoomFitPercent(320, 240, 1024, 768), 320);  // small pictures may fit above 100
  EXPECT_EQ(ZoomFitPercent(1000, 100, 1024, 768), 102);
  EXPECT_EQ(ZoomUsableHeight(false, 768, 768), 768);
  EXPECT_EQ(ZoomUsableHeight(true, 576, 768), 768);  // 192 pixels left: enough
  EXPECT_EQ(ZoomUsableHeight(true, 700, 768), 648);  // less than 120 left: 120 shorter
}

TEST(ZoomRules, PlacementCentresOrKeepsTheScreenCentre) {
  const RECT none = {};
  ZoomPlacement p = ZoomPlace(400, 300, 100, 100, none, 1024, 768);
  EXPECT_EQ(p.rcImage.left, 312);
  EXPECT_EQ(p.rcImage.top, 234);
  EXPECT_EQ(p.nScrollX, 0);
  // 2000 x 1000 at 100 from a centred 50 %: the screen centre stays on the picture's centre.
  RECT old = {12, 134, 1012, 634};
  p = ZoomPlace(2000, 1000, 100, 50, old, 1024, 768);
  EXPECT_EQ(p.rcImage.left, 512 - 1000);
  EXPECT_EQ(p.rcImage.right - p.rcImage.left, 2000);
  EXPECT_EQ(p.nScrollX, 488);
  // Never past the picture's edge.
  RECT farLeft = {5000, 0, 6000, 500};
  p = ZoomPlace(2000, 1000, 100, 50, farLeft, 1024, 768);
  EXPECT_EQ(p.rcImage.left, 0);
  int moved = 0;
  EXPECT_EQ(ZoomPan(100, 30, 2000, 1024, &moved), 70);
  EXPECT_EQ(moved, 30);
  EXPECT_EQ(ZoomPan(10, 30, 2000, 1024, &moved), 0);
  EXPECT_EQ(moved, 10);
  EXPECT_EQ(ZoomPan(970, -30, 2000, 1024, &moved), 976);
  EXPECT_EQ(ZoomPan(0, 30, 500, 1024, &moved), 0);  // fits: no pan
  EXPECT_EQ(moved, 0);
}

TEST(ZoomRules, PanelLayout) {
  SIZE sizes[kZbCount];
  for (SIZE& s : sizes) s = {32, 26};
  sizes[kZbActual].cx = 40;
  RECT r[kZbCount];
  ZoomPanelLayout(sizes, 1024, 768, 2, 2, r);
  EXPECT_EQ(r[kZbClose].right, 1024 + 2 - 21);
  EXPECT_EQ(r[kZbClose].bottom, 768 + 2 - 21);
  EXPECT_EQ(r[kZbNextGroup].right, r[kZbClose].left - 20);
  EXPECT_EQ(r[kZbNextItem].right, r[kZbNextGroup].left - 10);
  EXPECT_EQ(r[kZbZoomIn].right, r[kZbPrevGroup].left - 20);
  EXPECT_EQ(r[kZbActual].right, r[kZbFit].left - 10);
  EXPECT_EQ(r[kZbActual].right - r[kZbActual].left, 40);
  EXPECT_EQ(r[kZbPlay].right, r[kZbActual].left - (20 + 40 + 20));  // a free space as wide as actual size
  EXPECT_EQ(r[kZbMark].top, 19);
  EXPECT_EQ(r[kZbMark].right, 1024 + 2 - 21);
}

TEST(ZoomRules, Enabling) {
  ZoomEnableInput base = {};
  base.bDisplayable = true;
  base.bMarkable = true;
  base.nZoom = 50;
  base.nFit = 50;
  base.nImageW = 2048;
  base.nImageH = 1536;
  base.cx = 1024;
  base.nUsableH = 768;
  base.dwMaxDecode = 100000000;
  base.bNextItem = true;
  bool e[kZbCount];
  ZoomButtonsEnabled(base, e);
  EXPECT_TRUE(e[kZbClose] && e[kZbNextItem] && e[kZbZoomIn] && e[kZbZoomOut] && e[kZbActual] && e[kZbMark]);
  EXPECT_FALSE(e[kZbPrevItem] || e[kZbFit] || e[kZbPlay]);  // at fit; a picture

  ZoomEnableInput c = base;
  c.nZoom = 200;
  c.dwMaxDecode = 4096 * 3072;  // 450 % would exceed it
  ZoomButtonsEnabled(c, e);
  EXPECT_FALSE(e[kZbZoomIn]);
  EXPECT_TRUE(e[kZbFit]);

  c = base;  // a movie: capped at its fit, actual size only when it fits the screen
  c.bMovie = true;
  ZoomButtonsEnabled(c, e);
  EXPECT_FALSE(e[kZbZoomIn]);
  EXPECT_FALSE(e[kZbActual]);
  EXPECT_TRUE(e[kZbPlay]);

  c = base;
  c.bDisplayable = false;
  ZoomButtonsEnabled(c, e);
  EXPECT_TRUE(e[kZbClose] && e[kZbNextItem]);
  EXPECT_FALSE(e[kZbZoomIn] || e[kZbZoomOut] || e[kZbActual] || e[kZbFit] || e[kZbMark] || e[kZbPlay]);

  c = base;
  c.bBusy = true;
  ZoomButtonsEnabled(c, e);
  for (int i = 0; i < kZbCount; ++i)
    if (i != kZbPlay) { EXPECT_FALSE(e[i]) << i; }
}

TEST(ZoomRules, FadesAndCursor) {
  int a = 255, steps = 0;
  while (a > 0) a = ZoomFadeIn(a), ++steps;
  EXPECT_EQ(steps, 15);
  EXPECT_EQ(ZoomFadeOut(250), 255);
  EXPECT_EQ(ZoomCursorFor(true, 100, 50, true), kZcClosedHand);
  EXPECT_EQ(ZoomCursorFor(true, 100, 50, false), kZcOpenHand);
  EXPECT_EQ(ZoomCursorFor(true, 50, 50, true), kZcArrow);
  EXPECT_EQ(ZoomCursorFor(false, 100, 50, true), kZcArrow);
}

}  // namespace
