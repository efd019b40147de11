// Message, timer and icon ids of the launcher's own windows.
#pragma once

// From the tray-icon window to the frame: wParam and lParam of the shell's callback.
#define WM_TRAY_NOTIFY 1035
// The shell's callback message of the tray icon.
#define WM_TRAY_CALLBACK (WM_APP + 100)

// The card watch: one tick a second.
#define IDT_CARD_WATCH 1001
#define CARD_WATCH_INTERVAL 1000

// The icon's id within the tray-icon window.
#define TRAY_ICON_UID 4096
// Child id of the (hidden) tray-icon window.
#define IDC_TRAY_ICON_WND 0xFFFF
