#include "RelayPlan.h"

#include "MainWndMessages.h"
#include "ToolList.h"

#ifndef WM_WTSSESSION_CHANGE
#define WM_WTSSESSION_CHANGE 0x02B1
#endif

BOOL IsBrowserOwnMessage(UINT message) {
  switch (message) {
    case WM_BROWSER_SORT:
    case WM_BROWSER_MASK:
    case WM_BROWSER_RELOAD:
    case WM_BROWSER_CHANGE_MODE:
    case WM_BROWSER_ACTION:
    case WM_BROWSER_THUMB_SIZE:
      return TRUE;
    default:
      return FALSE;
  }
}

namespace {

BOOL IsSystemBroadcast(UINT message) {
  return message == WM_DISPLAYCHANGE || message == WM_POWERBROADCAST || message == WM_WTSSESSION_CHANGE;
}

}  // namespace

RelayRoute PlanRelay(const RelayInput& in) {
  RelayRoute route;
  HWND hSender = in.bWParamIsWindow ? reinterpret_cast<HWND>(in.wParam) : NULL;
  const int nEntries = (int)in.entries.size();

  if (in.message == WM_COPYDATA) {
    // The file list the text carries replaces the application's, except for a folder
    // change coming from the folder pane (its list is the pane's own business).
    HWND hFolder = nEntries > TOOL_FOLDER_PANE ? in.entries[TOOL_FOLDER_PANE] : NULL;
    route.bRefillFileList = !(in.dwCopyData == CDID_CHANGE_FOLDER && hSender && hSender == hFolder);
    if (in.dwCopyData >= WM_APPMSG_FIRST && in.dwCopyData <= WM_APPMSG_LAST) {
      if (in.dwCopyData == CDID_EXPORT_FILES) {
        route.hCopyDataReply = in.hRequester;
      } else {
        for (int i = 0; i < nEntries; ++i)
          if (in.entries[i] && in.entries[i] != hSender) route.copyDataTo.push_back(i);
      }
    }
    return route;
  }

  if (IsSystemBroadcast(in.message)) {
    route.bCheckDisplay = in.message == WM_DISPLAYCHANGE;
    for (int i = 0; i < nEntries; ++i)
      if (in.entries[i]) route.postTo.push_back(i);
    return route;
  }

  if (!hSender || in.message < WM_APPMSG_FIRST || in.message > WM_APPMSG_LAST) return route;
  if (in.message == WM_BROWSER_EXPORT_REQUEST) {
    route.bRememberRequester = TRUE;
    return route;
  }
  if (in.message <= WM_APPMSG_BROADCAST_LAST) {
    for (int i = 0; i < nEntries; ++i)
      if (in.entries[i] && in.entries[i] != hSender) route.sendTo.push_back(i);
  } else if (IsBrowserOwnMessage(in.message) && nEntries > TOOL_BROWSER && in.entries[TOOL_BROWSER] &&
             in.entries[TOOL_BROWSER] != hSender) {
    route.sendTo.push_back(TOOL_BROWSER);
  }
  return route;
}

CString CopyDataText(const COPYDATASTRUCT* pcds) {
  if (!pcds || !pcds->lpData || pcds->cbData == 0) return CString();
  const char* p = static_cast<const char*>(pcds->lpData);
  int n = 0;
  while (n < (int)pcds->cbData && p[n]) ++n;
  CString strText;
  memcpy(strText.GetBuffer(n + 1), p, n);
  strText.ReleaseBuffer(n);
  return strText;
}
