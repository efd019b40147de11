// The view-mode decisions of the browser base view and the controller's mode pipeline,
// without windows: which of the base view's windows a view code shows, what the mode
// pipeline does for a code, when a code counts as the mode already in force, and the
// focus splitter's row height. The views and the controller call them; tests call them
// directly.
#pragma once
#include <fw/fw.h>

#include <set>
#include <string>

// ---- The base view's windows ------------------------------------------------------------
enum VXBASEWINDOW {
  VXBASE_KEEP = 0,  // no window changes, the current code stays
  VXBASE_THUMBS,    // the thumbnail side (the browser splitter)
  VXBASE_MONTH,
  VXBASE_DAY,
  VXBASE_MUSIC,
};

// What ChangeView does for a code, given the current one (-1 at first).
struct VXVIEWCHANGE {
  BOOL bAct;                  // FALSE: the code is already current, nothing at all happens
  VXBASEWINDOW show;          // the one window shown (the other three hidden)
  BOOL bDeleteCalendarPage;   // leaving a calendar for the thumbnail side
  BOOL bClearCalendarFolder;  // entering the month view from anything but the day view
  BOOL bSetBrowseMode;        // the document's view mode follows (calendars and music)
  int nNewCurrent;            // the current code afterwards
};
VXVIEWCHANGE ViewChangePlan(int nCurrent, int nCode);

// ---- The controller's mode pipeline -------------------------------------------------------
enum VXMODESTEP {
  VXSTEP_REFUSE = 0,  // codes outside 1..14
  VXSTEP_SMALLICON,
  VXSTEP_LARGEICON,
  VXSTEP_DETAIL,
  VXSTEP_FOCUS,  // with the plan's ratio
  VXSTEP_ZOOM,
  VXSTEP_HIDEFOCUS,  // calendars: only the focus column goes
  VXSTEP_NONE,       // music: the common tail only
  VXSTEP_SLIDESHOW,
};
struct VXMODEPLAN {
  VXMODESTEP step;
  float fRatio;     // the focus splitter ratio of VXSTEP_FOCUS
  BOOL bTail;       // the common tail follows (browse flag, strip, arrange, focus item)
  BOOL bHideFocus;  // the tail hides the focus column first
};
VXMODEPLAN ModeModifyPlan(UINT nCode);

// Codes whose item must still exist on disk before the switch: 5, 6, 9 and 13.
BOOL ModeNeedsFileCheck(UINT nCode);

// The same-mode check. nCurrentCode is the view code of the browse mode in force
// (ToCgViewID). bGoOn FALSE: the pipeline stops; fRatio >= 0: the focus splitter is set to
// it before stopping.
struct VXSAMEMODE {
  BOOL bGoOn;
  float fRatio;
};
VXSAMEMODE ModeSameCheck(UINT nCurrentCode, BOOL bFocusMode, UINT nCode);

// Decoding restarts after a switch unless a slide show starts from the day calendar.
BOOL ModeRestartsDecoding(UINT nCode, UINT nBrowseFlag);

// Height of the enlarged-image row over the focus information in a column of cyClient
// pixels: ratio 0.6 keeps a strip of 192 pixels for the information (row at least 100);
// any other ratio takes that share of the height (at least 10).
int FocusRowHeight(int cyClient, float fRatio);
#define VXFOCUS_RATIO_ENLARGED 0.6f
#define VXFOCUS_RATIO_INFO_ONLY 0.0f
#define VXFOCUS_INFO_HEIGHT 192

// ---- The calendar page ----------------------------------------------------------------------
// The calendar takes still pictures and movies, never folder entries; each path once
// (compared byte for byte), however many pages hold it. Feed the entries in page order;
// Take answers whether this one joins the page.
class CCalendarCollectRule {
 public:
  BOOL Take(UINT nKind, BOOL bFolder, LPCSTR pszPath);

 private:
  std::set<std::string> m_seen;
};
