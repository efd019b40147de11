// VxDocument: common definitions — the export macro, the browse flags, view codes,
// view-status bits, folder-type codes and the document's hint numbers.
#pragma once

#include <fw/fw.h>

#ifdef VXDOCUMENT_BUILD
#define VXDOC_API __declspec(dllexport)
#else
#define VXDOC_API __declspec(dllimport)
#endif

// ---- Browse flags: the view mode the browsing state keeps ----------------------------
// One bit per mode. Commands carry view codes (below); CViewMode::ToBrowseID and
// ToCgViewID convert.
enum BROWSE_VIEW_MODE : UINT {
  BROWSE_VIEW_NONE = 0,
  BROWSE_VIEW_SMALLICON = 0x0001,   // view code 1
  BROWSE_VIEW_LARGEICON = 0x0002,   // view code 2
  BROWSE_VIEW_FILEINFO = 0x0004,    // view code 3: details list, file information
  BROWSE_VIEW_CAMERAINFO = 0x0008,  // view code 4: details list, camera information
  BROWSE_VIEW_FOCUS = 0x0010,       // view codes 5 and 9: enlarged picture (and information)
  BROWSE_VIEW_ZOOM = 0x0020,        // view code 6: the full-screen zoom window
  BROWSE_VIEW_AUDIOINFO = 0x0040,   // view code 7: details list, audio information
  BROWSE_VIEW_AUDIOLIST = 0x0080,   // view code 8: the card audio list
  BROWSE_VIEW_MONTH = 0x0100,       // view code 10: month calendar
  BROWSE_VIEW_DAY = 0x0200,         // view code 11: day calendar
  BROWSE_VIEW_MUSIC = 0x0400,       // view code 12: music list
  BROWSE_VIEW_SLIDESHOW = 0x0800,   // view codes 13 and 14: slide show
};

// ---- View codes: the value of a view-mode command (29541..29559) ---------------------
#define CGVIEW_SMALLICON 1
#define CGVIEW_LARGEICON 2
#define CGVIEW_FILEINFO 3
#define CGVIEW_CAMERAINFO 4
#define CGVIEW_FOCUS 5
#define CGVIEW_ZOOM 6
#define CGVIEW_AUDIOINFO 7
#define CGVIEW_AUDIOLIST 8
#define CGVIEW_FOCUSINFO 9  // focus mode with the information pane only
#define CGVIEW_MONTH 10
#define CGVIEW_DAY 11
#define CGVIEW_MUSIC 12
#define CGVIEW_SLIDESHOW 13
#define CGVIEW_SLIDESHOW_ALL 14

// ---- View status: what the browser is busy with (bits) -------------------------------
enum BROWSE_VIEW_ST : UINT {
  BROWSE_ST_NONE = 0,
  BROWSE_ST_CHGFOLDER = 0x0001,  // a folder change runs
  BROWSE_ST_RELOAD = 0x0002,     // the groups are reloaded
  BROWSE_ST_DRAGGING = 0x0004,   // a drag out of the browser runs
  BROWSE_ST_SLIDESHOW = 0x0010,  // the slide show runs (SetSlideShowMode)
};

// ---- Folder-type codes (CFolderType::GetCode) ---------------------------------------
// The high byte says where the folder came from, the low byte refines it. The flag
// (GetFolderTypeFlag) is the code without its low byte.
enum FOLDER_TYPE : UINT {
  FOLDER_TYPE_NONE = 0,                // nothing shown, or a source of no known kind
  FOLDER_TYPE_EXPLORER = 0x0100,       // 256: a folder of the disk tree
  FOLDER_TYPE_CLASSIFY = 0x0200,       // 512: a classification group of the photo database
  FOLDER_TYPE_FAVORITE = 0x0400,       // 1024: a favourite folder
  FOLDER_TYPE_SDCARD = 0x0800,         // 2048: a memory-card folder; low byte: the card
                                       // tree's folder number (1 drive, 2 pictures,
                                       // 3 video, 4 voice, 5 audio, 6 video titles,
                                       // 7 print orders, 10 mobile transfer)
  FOLDER_TYPE_SDCARD_VOICE = 0x0804,   // 2052: the card's voice area
  FOLDER_TYPE_SDCARD_AUDIO = 0x0805,   // 2053: the card's audio area
  FOLDER_TYPE_SDCARD_PRINTORDER = 0x0807,  // 2055: a print order's pictures (no file
                                           // operations: the list is the order's)
  FOLDER_TYPE_SDCARD_AVCHD = 0x0816,   // 2070: the scenes of a dated disc node on a card:
                                       // deleted through the disc-movie core only
  FOLDER_TYPE_SDCARD_DISC = 0x0817,    // 2071: the scenes of a dated disc node (AVCHD
                                       // images inside a disc structure: no file operations)
  FOLDER_TYPE_FINDRESULT = 0x1000,     // 4096: a search result; items keep the listed order
  FOLDER_TYPE_FINDRESULT_MARK = 0x1001,     // marked-files search
  FOLDER_TYPE_FINDRESULT_SIMILAR = 0x1002,  // similar-image search (sort id 29: similarity)
  FOLDER_TYPE_MUSIC = 0x2000,          // a folder of the music tree
};

// ---- Hints the document sends its views (UpdateAllViews) -----------------------------
// Browser commands travel as hint 0 with a CSendCommandObject; the document's own
// notices carry no object except the calendar notice.
#define VXHINT_COMMAND 0          // with a CSendCommandObject: a browser command
#define VXHINT_SELECTION 1        // the selection changed (no object)
#define VXHINT_FILTER 2           // the filter type was set (no object)
#define VXHINT_VIEWMODE 3         // the view mode changed (no object)
#define VXHINT_SORT 4             // the sort type was set (no object)
#define VXHINT_ENABLE 5           // sent by the browser: views may work again
#define VXHINT_CALENDAR 6         // with CSendCommandObject(VXCMD_CALENDAR_FOLDER): rebuild the calendar
#define VXHINT_REPAINT 7          // sent by the browser: repaint
#define VXHINT_DISABLE 8          // sent by the browser: a folder change begins

// The command id of the calendar notice (its parameter is the view that asked, or null).
#define VXCMD_CALENDAR_FOLDER 0

// ---- Messages the document sends the application's main window -----------------------
#define VXDOC_WM_REFRESH_FOLDERS 1540      // refresh the folder trees and the browser
#define VXDOC_WM_BROWSER_RELOAD 1656       // reload the shown folder
#define VXDOC_WM_STATUS_SELECT_COUNT 1860  // the selection count changed
#define VXDOC_WM_STATUS_MARK_COUNT 1861    // the mark count changed

// ---- Profile (section "DepthViewer") --------------------------------------------------
#define VXDOC_SECTION "DepthViewer"
