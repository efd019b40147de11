#include "ViewModeRules.h"

#include <VxDocument/VxDocDefs.h>

// The kind bits of still pictures and movies (the thumbnail library's VXKIND_STILL and VXKIND_MOVIE).
#define VXKIND_STILL_BIT 0x0200u
#define VXKIND_MOVIE_BIT 0x1000u

VXVIEWCHANGE ViewChangePlan(int nCurrent, int nCode) {
  VXVIEWCHANGE plan = {FALSE, VXBASE_KEEP, FALSE, FALSE, FALSE, nCurrent};
  if (nCode == nCurrent) return plan;
  plan.bAct = TRUE;
  switch (nCode) {
    case CGVIEW_SMALLICON:
    case CGVIEW_LARGEICON:
    case CGVIEW_FOCUS:
      plan.show = VXBASE_THUMBS;
      plan.bDeleteCalendarPage = nCurrent == CGVIEW_MONTH || nCurrent == CGVIEW_DAY;
      plan.nNewCurrent = nCode;
      break;
    case CGVIEW_MONTH:
      plan.show = VXBASE_MONTH;
      plan.bSetBrowseMode = TRUE;
      // Coming back from a day keeps the calendar where it was.
      plan.bClearCalendarFolder = nCurrent != CGVIEW_DAY;
      plan.nNewCurrent = nCode;
      break;
    case CGVIEW_DAY:
      plan.show = VXBASE_DAY;
      plan.bSetBrowseMode = TRUE;
      plan.nNewCurrent = nCode;
      break;
    case CGVIEW_MUSIC:
      plan.show = VXBASE_MUSIC;
      plan.bSetBrowseMode = TRUE;
      plan.nNewCurrent = nCode;
      break;
    default: break;
  }
  return plan;
}

VXMODEPLAN ModeModifyPlan(UINT nCode) {
  VXMODEPLAN plan = {VXSTEP_REFUSE, 0.0f, FALSE, FALSE};
  switch (nCode) {
    case CGVIEW_SMALLICON: plan.step = VXSTEP_SMALLICON; break;
    case CGVIEW_LARGEICON: plan.step = VXSTEP_LARGEICON; break;
    case CGVIEW_FILEINFO:
    case CGVIEW_CAMERAINFO:
    case CGVIEW_AUDIOINFO:
    case CGVIEW_AUDIOLIST: plan.step = VXSTEP_DETAIL; break;
    case CGVIEW_FOCUS:
      plan.step = VXSTEP_FOCUS;
      plan.fRatio = VXFOCUS_RATIO_ENLARGED;
      break;
    case CGVIEW_FOCUSINFO:
      plan.step = VXSTEP_FOCUS;
      plan.fRatio = VXFOCUS_RATIO_INFO_ONLY;
      break;
    case CGVIEW_ZOOM: plan.step = VXSTEP_ZOOM; return plan;
    case CGVIEW_MONTH:
    case CGVIEW_DAY: plan.step = VXSTEP_HIDEFOCUS; return plan;
    case CGVIEW_MUSIC: plan.step = VXSTEP_NONE; break;
    case CGVIEW_SLIDESHOW:
    case CGVIEW_SLIDESHOW_ALL: plan.step = VXSTEP_SLIDESHOW; return plan;
    default: return plan;
  }
  plan.bTail = TRUE;
  plan.bHideFocus = plan.step != VXSTEP_FOCUS;
  return plan;
}

BOOL ModeNeedsFileCheck(UINT nCode) {
  return nCode == CGVIEW_FOCUS || nCode == CGVIEW_ZOOM || nCode == CGVIEW_FOCUSINFO || nCode == CGVIEW_SLIDESHOW;
}

VXSAMEMODE ModeSameCheck(UINT nCurrentCode, BOOL bFocusMode, UINT nCode) {
  VXSAMEMODE r = {TRUE, -1.0f};
  // Large icons again re-applies the size class, so it never counts as the same.
  if (nCode == CGVIEW_LARGEICON) return r;
  BOOL bSame = nCurrentCode == nCode || (nCode == CGVIEW_FOCUSINFO && bFocusMode);
  if (!bSame) return r;
  r.bGoOn = FALSE;
  if (nCode == CGVIEW_FOCUS) r.fRatio = VXFOCUS_RATIO_ENLARGED;
  if (nCode == CGVIEW_FOCUSINFO) r.fRatio = VXFOCUS_RATIO_INFO_ONLY;
  return r;
}

BOOL ModeRestartsDecoding(UINT nCode, UINT nBrowseFlag) {
  return !(nCode == CGVIEW_SLIDESHOW && nBrowseFlag == BROWSE_VIEW_DAY);
}

int FocusRowHeight(int cyClient, float fRatio) {
  if (fRatio == VXFOCUS_RATIO_ENLARGED) {
    int cy = cyClient - VXFOCUS_INFO_HEIGHT;
    return cy < 100 ? 100 : cy;
  }
  int cy = (int)(cyClient * fRatio);
  return cy < 10 ? 10 : cy;
}

BOOL CCalendarCollectRule::Take(UINT nKind, BOOL bFolder, LPCSTR pszPath) {
  if (bFolder || !(nKind & (VXKIND_STILL_BIT | VXKIND_MOVIE_BIT)) || !pszPath) return FALSE;
  return m_seen.insert(pszPath).second;
}
