#include "FramePlacement.h"

CRect ClampFramePlacement(const CRect& rcStored, const CRect& rcWork) {
  int nWorkWidth = rcWork.Width(), nWorkHeight = rcWork.Height();
  int top = std::max(0, (int)rcStored.top), left = std::max(0, (int)rcStored.left);
  int bottom = rcStored.bottom, right = rcStored.right;
  int nMinHeight = std::min(nWorkHeight, (int)FRAME_MIN_HEIGHT);
  if (bottom - top < nMinHeight) bottom = top + nMinHeight;
  if (right - left < FRAME_MIN_WIDTH) right = left + FRAME_MIN_WIDTH;
  if (top >= nWorkHeight) {
    int nHeight = bottom - top;
    bottom = nWorkHeight;
    top = std::max(0, bottom - nHeight);
  }
  if (left >= nWorkWidth) {
    int nWidth = right - left;
    right = nWorkWidth;
    left = std::max(0, right - nWidth);
  }
  return CRect(rcWork.left + left, rcWork.top + top, rcWork.left + right, rcWork.top + bottom);
}

int FrameShowCommand(int nStoredState) {
  return nStoredState == 1 || nStoredState == 2 ? SW_SHOWNORMAL : SW_SHOWMAXIMIZED;
}

void FrameTrackingLimits(const CRect& rcWork, BOOL bSlideShow, int nProposedMaxHeight, POINT* pMinTrack,
                         POINT* pMaxTrack) {
  pMaxTrack->x = rcWork.Width();
  pMaxTrack->y = rcWork.Height();
  pMinTrack->x = FRAME_MIN_WIDTH;
  int nMinHeight = std::min((int)rcWork.Height(), (int)FRAME_MIN_HEIGHT);
  if (bSlideShow) {
    nMinHeight = std::min(nMinHeight, (int)rcWork.Height() - SLIDE_STRIP_HEIGHT);
    if (nProposedMaxHeight < 700) nMinHeight += 49;
  }
  if (nMinHeight < 534) nMinHeight = 550;
  pMinTrack->y = nMinHeight;
}

void PlaceSlideStrip(const CRect& rcMain, const CRect& rcWork, BOOL bMaximized, CRect* pMainOut, CRect* pStripOut) {
  CRect rcFrame = rcMain;
  CRect rcStrip(rcFrame.left, rcFrame.bottom, rcFrame.right, rcFrame.bottom + SLIDE_STRIP_HEIGHT);
  if (bMaximized) {
    rcStrip.bottom = rcWork.bottom;
    rcStrip.top = rcWork.bottom - SLIDE_STRIP_HEIGHT;
  } else if (rcStrip.bottom > rcWork.bottom) {
    // Up first, as far as the work area allows; what is still missing comes off the height.
    int nOver = rcStrip.bottom - rcWork.bottom;
    int nUp = std::max(0, std::min(nOver, (int)(rcFrame.top - rcWork.top)));
    rcFrame.OffsetRect(0, -nUp);
    rcFrame.bottom -= nOver - nUp;
    rcStrip = CRect(rcFrame.left, rcFrame.bottom, rcFrame.right, rcFrame.bottom + SLIDE_STRIP_HEIGHT);
  }
  *pMainOut = rcFrame;
  *pStripOut = rcStrip;
}

int ShowCommandForMainState(BOOL bIconic, BOOL bZoomed, BOOL bNormal) {
  if (bIconic) return SW_SHOWMINIMIZED;
  if (bZoomed) return SW_SHOWMAXIMIZED;
  if (bNormal) return SW_SHOWNORMAL;
  return SW_SHOWDEFAULT;
}

int FitFolderColumn(int nFolder, int nBrowser, int nBelow, int nKeep) {
  if (nBrowser >= nBelow || nBrowser >= nFolder) return -1;
  return std::max(0, nFolder + nBrowser - nKeep);
}
