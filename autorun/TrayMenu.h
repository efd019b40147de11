// What the tray menu offers and the record of the tray icon: plain decisions of the
// launcher's windows.
#pragma once
#include <fw/fw.h>

#include <vector>

namespace autorun {

enum TrayMenuSubject {
  TRAY_SUBJECT_NONE,         // the text stands as it is
  TRAY_SUBJECT_PROGRAM,      // formatted with the program title
  TRAY_SUBJECT_CARD_VIEWER,  // formatted with the card viewer's name
};

struct TrayMenuItem {
  UINT nID;      // command
  UINT nTextID;  // string of the resource library
  TrayMenuSubject subject;
};

// The items in menu order: close or start the main program (no start while the card
// viewer runs), the same for the card viewer when one is installed (no start while the
// main program runs), and the launcher's own end.
std::vector<TrayMenuItem> PlanTrayMenu(BOOL bMainProgramRunning, BOOL bCardViewerRunning, BOOL bCardViewerOffered);

// The tip text cut to at most nMaxBytes bytes without splitting a double-byte character.
CString TrimTipText(LPCSTR lpszTip, int nMaxBytes = 127);

// The record for Shell_NotifyIcon: the window, the icon's id, message, icon and tip.
void FillTrayIconData(NOTIFYICONDATAA& nid, HWND hWnd, HICON hIcon, LPCSTR lpszTip);

}  // namespace autorun
