#include "ZoomWndRules.h"

#include <initializer_list>

int ZoomStepIn(int z) {
  if (z < kZoomMin || z >= kZoomMax) return z;
  for (int s : {50, 75, 100, 150, 200})
    if (s > z) return s;
  return kZoomMax;
}

int ZoomStepOut(int z) {
  if (z < kZoomMin + 1 || z >= kZoomMax + 1) return z;
  if (z <= 50) return 25;
  if (z <= 75) return 50;
  if (z <= 100) return 75;
  if (z <= 150) return 100;
  if (z <= 200) return 150;
  return 200;
}

int ZoomFitPercent(int nImageW, int nImageH, int cx, int h) {
  if (nImageW <= 0 || nImageH <= 0) return 0;
  const int a = cx * 100 / nImageW, b = h * 100 / nImageH;
  return a < b ? a : b;
}

int ZoomUsableHeight(bool bMovieOpen, int nFittedVideoH, int cy) {
  return bMovieOpen && cy - nFittedVideoH < 120 ? cy - 120 : cy;
}

static int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// One direction of the placement: the scaled size s in the area n.
static int PlaceAxis(int s, int n, int nOldStart, int nZoom, int nOldZoom, int* pnScroll) {
  if (s <= n) {
    *pnScroll = 0;
    return (n - s) / 2;
  }
  const int half = n / 2;
  int start = half - int((LONGLONG(half - nOldStart) * nZoom) / (nOldZoom > 0 ? nOldZoom : nZoom));
  start = Clamp(start, n - s, 0);
  *pnScroll = -start;
  return start;
}

ZoomPlacement ZoomPlace(int nImageW, int nImageH, int nZoom, int nOldZoom, const RECT& rcOld, int cx, int h) {
  ZoomPlacement p = {};
  int w = int(LONGLONG(nImageW) * nZoom / 100), hh = int(LONGLONG(nImageH) * nZoom / 100);
  if (w < 1) w = 1;
  if (hh < 1) hh = 1;
  const int left = PlaceAxis(w, cx, rcOld.left, nZoom, nOldZoom, &p.nScrollX);
  const int top = PlaceAxis(hh, h, rcOld.top, nZoom, nOldZoom, &p.nScrollY);
  SetRect(&p.rcImage, left, top, left + w, top + hh);
  return p;
}

int ZoomPan(int nScroll, int nMove, int nScaled, int nArea, int* pnMoved) {
  *pnMoved = 0;
  if (nScaled <= nArea) return nScroll;
  const int next = Clamp(nScroll - nMove, 0, nScaled - nArea);
  *pnMoved = nScroll - next;
  return next;
}

void ZoomPanelLayout(const SIZE aSize[kZbCount], int cx, int cy, int nEdgeX, int nEdgeY, RECT aOut[kZbCount]) {
  // Gaps to the button on the right, in creation order along the bottom row.
  static const int kGap[kZbCount] = {0, 20, 10, 10, 10, 20, 10, 20, 10, 0, 0};
  int right = cx + nEdgeX - 21;  // the close button's right edge
  for (int i = kZbClose; i <= kZbPlay; ++i) {
    int gap = kGap[i];
    if (i == kZbPlay) gap = 20 + aSize[kZbActual].cx + 20;
    right -= gap;
    const int bottom = cy + nEdgeY - 21;
    SetRect(&aOut[i], right - aSize[i].cx, bottom - aSize[i].cy, right, bottom);
    right -= aSize[i].cx;
  }
  const int markRight = cx + nEdgeX - 21;
  SetRect(&aOut[kZbMark], markRight - aSize[kZbMark].cx, 19, markRight, 19 + aSize[kZbMark].cy);
}

void ZoomButtonsEnabled(const ZoomEnableInput& in, bool aOut[kZbCount]) {
  const bool free = !in.bBusy;
  aOut[kZbClose] = free;
  aOut[kZbPrevGroup] = free && in.bPrevGroup;
  aOut[kZbPrevItem] = free && in.bPrevItem;
  aOut[kZbNextItem] = free && in.bNextItem;
  aOut[kZbNextGroup] = free && in.bNextGroup;
  if (!in.bDisplayable) {
    aOut[kZbZoomIn] = aOut[kZbZoomOut] = aOut[kZbActual] = aOut[kZbFit] = aOut[kZbMark] = aOut[kZbPlay] = false;
    return;
  }
  const int z = in.nZoom, t = ZoomStepIn(z);
  const bool decodes =
      t <= 100 || double(in.dwMaxDecode) >= double(LONGLONG(in.nImageH) * t / 100) * double(LONGLONG(in.nImageW) * t / 100);
  const int cap = in.bMovie ? in.nFit : kZoomMax;
  aOut[kZbZoomIn] = free && decodes && z < cap;
  aOut[kZbZoomOut] = free && z > kZoomMin;
  aOut[kZbActual] = free && z != 100 && (!in.bMovie || (in.nImageW <= in.cx && in.nImageH <= in.nUsableH));
  aOut[kZbFit] = free && z != in.nFit && z < kZoomMax;
  aOut[kZbMark] = free && in.bMarkable;
  aOut[kZbPlay] = in.bMovie;
}

int ZoomFadeIn(int nAlpha) { return nAlpha - 17 < 0 ? 0 : nAlpha - 17; }
int ZoomFadeOut(int nAlpha) { return nAlpha + 17 > 255 ? 255 : nAlpha + 17; }

ZoomCursor ZoomCursorFor(bool bDisplayable, int nZoom, int nFit, bool bLeftDown) {
  if (!bDisplayable || nZoom <= nFit) return kZcArrow;
  return bLeftDown ? kZcClosedHand : kZcOpenHand;
}
