// Window placement rules of the main frame and of the outside programs placed beside it,
// decided on rectangles alone.
#pragma once
#include <fw/fw.h>

enum {
  FRAME_MIN_WIDTH = 1024,
  FRAME_MIN_HEIGHT = 768,
  SLIDE_STRIP_HEIGHT = 206,  // the slide-show player's strip below the main window
};

// The main window's rectangle (screen coordinates) from the stored normal position
// (top, left, bottom, right relative to the work area): negative edges become 0; too
// small sizes grow to 1024 x min(work height, 768); a rectangle starting outside the work
// area is moved back so that it ends at the work area's edge.
CRect ClampFramePlacement(const CRect& rcStored, const CRect& rcWork);

// The show command of a stored show state: 1 or 2 normal, anything else maximised.
int FrameShowCommand(int nStoredState);

// Minimum and maximum tracking sizes of the main window. bSlideShow: the slide-show
// player's strip is open below; nProposedMaxHeight: the system's maximised height.
void FrameTrackingLimits(const CRect& rcWork, BOOL bSlideShow, int nProposedMaxHeight, POINT* pMinTrack,
                         POINT* pMaxTrack);

// The slide-show player's strip below the main window and the main window moved or
// shortened so that both fit the work area. A maximised main window gets the strip at
// the work area's bottom.
void PlaceSlideStrip(const CRect& rcMain, const CRect& rcWork, BOOL bMaximized, CRect* pMainOut, CRect* pStripOut);

// The show command an outside program gets from the main window's state.
int ShowCommandForMainState(BOOL bIconic, BOOL bZoomed, BOOL bNormal);

// Folder column widths: the folder column gives way so that the browser column keeps
// nKeep pixels when it is narrower than nBelow and narrower than the folder column. The
// new folder width, or -1 when nothing changes.
int FitFolderColumn(int nFolder, int nBrowser, int nBelow, int nKeep);
