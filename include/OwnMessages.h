// The private messages our windows take whose wParam or lParam is a pointer or a handle,
// and how each receiver knows the value is this process's own. Any program can post or
// send any number with any values to our windows: a pointer from elsewhere names nothing
// here, and reading or writing through it ends the process.
#pragma once
#include <Kitlib2/OwnMessage.h>
#include <Kitlib2/ProgressBar.h>

#include "MainWndMessages.h"

namespace ownmsg {

// How a receiver trusts the value.
enum Trust {
  kOwnSend,       // read through only when a sender of this process marked the send (CMTLSendOwnMessage)
  kPostedRecord,  // a heap record posted with CMTLPostRecord: taken back from its list, then freed
  kOwnRecord,     // a record or item the receiver handed out itself: used only when it is that one
  kCompared,      // compared with the receiver's own windows or objects, or not used: never read through
  kAnyWindow,     // a window of any process (outside programs name theirs): answered by bounded sends only
};

// Which parameters carry the pointer or handle.
enum Params { kW = 1, kL = 2, kWL = 3 };

struct Row {
  UINT message;
  const char* name;
  int params;
  Trust trust;
  const char* receivers;  // and what the value is
};

// Numbers whose names belong to one library's windows are checked where they are defined
// (static_assert with Listed).
inline constexpr Row kRows[] = {
    {WM_RELAYED_MESSAGE, "WM_RELAYED_MESSAGE", kW, kOwnSend, "main frame, toolbar, browser: the relay record"},
    {WM_FOLDER_TYPE_QUERY, "WM_FOLDER_TYPE_QUERY", kL, kOwnSend, "main frame, folder pane: the query block"},
    {WM_BROWSER_FILE_INFO, "WM_BROWSER_FILE_INFO", kWL, kOwnSend, "browser: the answer and the map it clears"},
    {WM_STATUS_PANE_TEXT, "WM_STATUS_PANE_TEXT", kL, kOwnSend, "status bar: the pane's text"},
    {WM_FOCUSINFO_SET_PATH, "WM_FOCUSINFO_SET_PATH", kL, kOwnSend, "focus information's tabs: the path"},
    {WM_CALENDAR_GET_THUMBNAILS, "WM_CALENDAR_GET_THUMBNAILS", kW, kOwnSend, "browser, day view: the list they fill"},
    {WM_QUERY_SLIDE_COLLECT, "WM_QUERY_SLIDE_COLLECT", kW, kOwnSend, "main frame: the answer"},
    {WM_QUERY_ENTRY_EDITOR, "WM_QUERY_ENTRY_EDITOR", kW, kOwnSend, "main frame: the answer"},
    {WM_SETMESSAGESTRING, "WM_SETMESSAGESTRING", kL, kOwnSend, "main frame: the prompt's text"},
    {WM_FACE_REGISTER_FACE, "WM_FACE_REGISTER_FACE", kW, kOwnSend, "person entry editor: the chosen face"},
    {0x8064, "WM_LABEL_EDIT_END", kW, kOwnSend, "day view: the new name"},
    {1124, "imgbutton::kTipRectMessage", kWL, kOwnSend, "slide show window: the tip's rectangle"},

    {WM_CMTL_PROGRESS, "WM_CMTL_PROGRESS", kW, kPostedRecord, "progress window: a copy of the status text"},

    {WM_USER + 13, "WM_ROTATION_PROGRESS", kL, kOwnRecord, "rotation progress: its record of the file at work"},
    {WM_APP + 0x1A0, "WM_EDIT_AGAIN", kL, kOwnRecord, "folder tree: the item whose name it asked for again"},

    {WM_REFRESH_FOLDERS, "WM_REFRESH_FOLDERS", kWL, kCompared, "main frame, folder pane: the sender; lParam a mode"},
    {WM_BROWSER_NEXT_THUMBNAIL, "WM_BROWSER_NEXT_THUMBNAIL", kW, kCompared, "browser: the sender"},
    {WM_BROWSER_RELOAD, "WM_BROWSER_RELOAD", kWL, kCompared, "folder pane: the sender, one of its trees"},
    {WM_BROWSER_BEFORE_FOLDER_CHANGE, "WM_BROWSER_BEFORE_FOLDER_CHANGE", kW, kCompared, "browser views: the sender"},
    {WM_TREE_FOCUS_CHANGED, "WM_TREE_FOCUS_CHANGED", kL, kCompared, "folder pane: the window losing the focus"},
    {WM_OPEN_FOLDER, "WM_OPEN_FOLDER", kW, kCompared, "folder pane: one of its trees"},
    {WM_VIEW_MODE_CHANGED, "WM_VIEW_MODE_CHANGED", kL, kCompared, "toolbar: the main window"},
    {WM_SET_SLIDESHOW_MODE, "WM_SET_SLIDESHOW_MODE", kL, kCompared, "main frame: the browser"},
    {0x73E, "UWM_ROW_PLAY", kW, kCompared, "music view: one of its row windows"},
    {0x73F, "UWM_ROW_STOP", kW, kCompared, "music view: the row"},
    {0x11AD, "UWM_LIST_ITEMCHANGE", kWL, kCompared, "music view: the list's selection"},
    {0x11AE, "UWM_LIST_ACTIVATE", kWL, kCompared, "list owners: an item window"},
    {0x11B2, "UWM_LIST_PRESS", kWL, kCompared, "list owners: an item window"},
    {0x11B7, "UWM_LIST_DBLCLK", kWL, kCompared, "list owners: an item window"},
    {0x11F4, "UWM_SKIN_STARTDRAG", kWL, kCompared, "scroll panels, music view: the press point"},
    {0x11F5, "UWM_SKIN_RCLICK", kWL, kCompared, "scroll panels: the item window"},
    {0x1229, "UWM_HDR_RCLICK", kL, kCompared, "music list: the point"},
    {0x122B, "UWM_HDR_DBLCLK", kL, kCompared, "music list: the point"},
    {0x1276, "UWM_ROW_CHECKCLICK", kL, kCompared, "music list: one of its rows"},
    {0x128F, "UWM_ROW_CELLDOWN", kL, kCompared, "music list: one of its rows"},
    {0x1290, "UWM_ROW_CELLRDOWN", kL, kCompared, "music list: one of its rows"},
    {0x1292, "UWM_LIST_ITEMPRESS", kL, kCompared, "music view: the row window"},
    {0x1294, "UWM_LIST_ITEMDBLCLK", kL, kCompared, "music view: the row window"},
    {0x1295, "UWM_LIST_LBUTTONUP", kL, kCompared, "music list: one of its rows"},

    {WM_CHILD_WINDOW_CREATED, "WM_CHILD_WINDOW_CREATED", kW, kAnyWindow, "main frame: an outside program's window"},
    {WM_TOOLBAR_FILE_LIST_REQUEST, "WM_TOOLBAR_FILE_LIST_REQUEST", kW, kAnyWindow, "toolbar: who wants the file list"},
    {WM_EXPORT_TEXT_REQUEST, "WM_EXPORT_TEXT_REQUEST", kW, kAnyWindow, "main frame: who wants the export text"},
    {WM_EXPORT_FINISHED, "WM_EXPORT_FINISHED", kW, kAnyWindow, "main frame: the export pane, else relayed"},
    {WM_BROWSER_EXPORT_REQUEST, "WM_BROWSER_EXPORT_REQUEST", kW, kAnyWindow, "main frame, browser: who wants the list"},
};

// The row of a message; null for one that carries no pointer or handle.
constexpr const Row* RowOf(UINT message) {
  for (const Row& r : kRows)
    if (r.message == message) return &r;
  return nullptr;
}

// For the static_assert beside a number's own definition.
constexpr bool Listed(UINT message, Trust trust) { return RowOf(message) && RowOf(message)->trust == trust; }

constexpr bool EachMessageOnce() {
  for (const Row& a : kRows)
    if (RowOf(a.message) != &a) return false;
  return true;
}
static_assert(EachMessageOnce(), "a message has one row");

// True when a window must drop the message: its pointer is one only a marked send of this
// process may bring, it is not null, and no such send is under way.
inline bool IsForeign(UINT message, WPARAM wParam, LPARAM lParam) {
  const Row* r = RowOf(message);
  if (!r || r->trust != kOwnSend) return false;
  bool carries = ((r->params & kW) && wParam) || ((r->params & kL) && lParam);
  return carries && !CMTLIsOwnMessage(message, wParam, lParam);
}

}  // namespace ownmsg
