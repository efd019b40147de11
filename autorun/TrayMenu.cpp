#include "TrayMenu.h"

#include "LauncherIds.h"

#include <VxResourceIds.h>
#include <textkit/text.h>

namespace autorun {

std::vector<TrayMenuItem> PlanTrayMenu(BOOL bMainProgramRunning, BOOL bCardViewerRunning, BOOL bCardViewerOffered) {
  std::vector<TrayMenuItem> items;
  if (bMainProgramRunning)
    items.push_back({ID_AUTORUN_CLOSE_MAIN, IDS_AUTORUN_CLOSE_FORMAT, TRAY_SUBJECT_PROGRAM});
  else if (!bCardViewerRunning)
    items.push_back({ID_AUTORUN_START_MAIN, IDS_AUTORUN_START_FORMAT, TRAY_SUBJECT_PROGRAM});
  if (bCardViewerOffered) {
    if (bCardViewerRunning)
      items.push_back({ID_AUTORUN_CLOSE_VIEWER, IDS_AUTORUN_CLOSE_FORMAT, TRAY_SUBJECT_CARD_VIEWER});
    else if (!bMainProgramRunning)
      items.push_back({ID_AUTORUN_START_VIEWER, IDS_AUTORUN_START_FORMAT, TRAY_SUBJECT_CARD_VIEWER});
  }
  items.push_back({ID_AUTORUN_EXIT, IDS_AUTORUN_EXIT, TRAY_SUBJECT_NONE});
  return items;
}

CString TrimTipText(LPCSTR lpszTip, int nMaxBytes) {
  if (!lpszTip) return CString();
  return CString(lpszTip, textkit::WholeCharPrefix(lpszTip, nMaxBytes));
}

void FillTrayIconData(NOTIFYICONDATAA& nid, HWND hWnd, HICON hIcon, LPCSTR lpszTip) {
  ZeroMemory(&nid, sizeof(nid));
  // The Windows 2000 layout: every shell since knows it.
  nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
  nid.hWnd = hWnd;
  nid.uID = TRAY_ICON_UID;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = WM_TRAY_CALLBACK;
  nid.hIcon = hIcon;
  CString tip = TrimTipText(lpszTip, (int)sizeof(nid.szTip) - 1);
  lstrcpynA(nid.szTip, tip, sizeof(nid.szTip));
}

}  // namespace autorun
