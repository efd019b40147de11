// The full-screen zoom window's decisions, without windows: zoom steps and fit, the usable
// height, where the picture lies, the panel's layout, enabling, fades and cursor.
#pragma once
#include <windows.h>

const int kZoomMin = 25, kZoomMax = 450;

// The next zoom in / out step from z; z itself when there is none.
int ZoomStepIn(int z);
int ZoomStepOut(int z);
// The percentage that fits the picture into cx x h; 0 when nothing is loaded.
int ZoomFitPercent(int nImageW, int nImageH, int cx, int h);
// A movie whose fitted video leaves less than 120 pixels is laid out 120 pixels shorter.
int ZoomUsableHeight(bool bMovieOpen, int nFittedVideoH, int cy);

// The picture at a new zoom: centred when it fits, else the screen's centre kept in place.
struct ZoomPlacement {
  RECT rcImage;
  int nScrollX, nScrollY;  // pan positions (0 when centred)
};
ZoomPlacement ZoomPlace(int nImageW, int nImageH, int nZoom, int nOldZoom, const RECT& rcOld, int cx, int h);
// The pan: how far the picture moves for a mouse movement, clamped to the picture's edge.
// Returns the new scroll position; *pnMoved the distance the picture moved.
int ZoomPan(int nScroll, int nMove, int nScaled, int nArea, int* pnMoved);

// The panel: 11 buttons in creation order (close, next group, next item, previous item,
// previous group, zoom in, zoom out, fit, actual size, play/pause, mark).
enum ZoomButton {
  kZbClose, kZbNextGroup, kZbNextItem, kZbPrevItem, kZbPrevGroup, kZbZoomIn, kZbZoomOut, kZbFit, kZbActual,
  kZbPlay, kZbMark, kZbCount
};
// Window coordinates of each button from its size, the screen and the edges; nGapWidth is
// the width of the actual-size face (the free space before play/pause).
void ZoomPanelLayout(const SIZE aSize[kZbCount], int cx, int cy, int nEdgeX, int nEdgeY, RECT aOut[kZbCount]);

struct ZoomEnableInput {
  bool bBusy, bDisplayable, bMovie, bMarkable;
  int nZoom, nFit, nImageW, nImageH;
  int cx, nUsableH;
  DWORD dwMaxDecode;  // the image library's largest decodable size (pixels)
  bool bPrevGroup, bPrevItem, bNextItem, bNextGroup;  // the owner's answers
};
void ZoomButtonsEnabled(const ZoomEnableInput& in, bool aOut[kZbCount]);

// One fade step of 17 towards shown (0) or hidden (255).
int ZoomFadeIn(int nAlpha);
int ZoomFadeOut(int nAlpha);
enum ZoomCursor { kZcArrow, kZcClosedHand, kZcOpenHand };
ZoomCursor ZoomCursorFor(bool bDisplayable, int nZoom, int nFit, bool bLeftDown);
