// Where the outside-program manager passes a relayed application message: the routing
// decision alone, on the windows of the manager's entries, without sending anything.
#pragma once
#include <fw/fw.h>

#include <vector>

// A relayed message as the main frame's window procedure recorded it. lParam is passed on
// unchanged: the receivers never free it (for WM_COPYDATA it points to the sender's
// COPYDATASTRUCT, valid during the call only).
struct RelayRecord {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// What the manager knows when it routes.
struct RelayInput {
  UINT message;
  WPARAM wParam;
  BOOL bWParamIsWindow;         // wParam names an existing window (the sender)
  ULONG_PTR dwCopyData;         // WM_COPYDATA: the code (dwData)
  std::vector<HWND> entries;    // the entries' windows by list index (null: none)
  HWND hRequester;              // the window remembered for a 1626 reply (null: none)
};

struct RelayRoute {
  std::vector<int> sendTo;      // entries that get the message sent (same wParam and lParam)
  std::vector<int> postTo;      // entries that get the message posted
  BOOL bCheckDisplay;           // WM_DISPLAYCHANGE: the display may have become unfit
  BOOL bRememberRequester;      // 1626: wParam asked for a file list
  BOOL bRefillFileList;         // WM_COPYDATA: the application's file list is replaced
  std::vector<int> copyDataTo;  // WM_COPYDATA: entries that get a copy
  HWND hCopyDataReply;          // WM_COPYDATA 1626: the window that asked for it
  RelayRoute() : bCheckDisplay(FALSE), bRememberRequester(FALSE), bRefillFileList(FALSE), hCopyDataReply(NULL) {}
};

// The application messages from 1624 to 1723 that the browser window handles (sort,
// filter, reload, mode change, action, thumbnail size): they go to the browser, which no
// other entry window would pass them on to.
BOOL IsBrowserOwnMessage(UINT message);

RelayRoute PlanRelay(const RelayInput& in);

// The text of a WM_COPYDATA: cbData bounds it, a missing terminator is not read past.
CString CopyDataText(const COPYDATASTRUCT* pcds);
