// The thread's one tooltip control, which CWnd::FilterToolTipMessage drives for the windows
// that enabled tooltips. Kept out of fw.h: few callers need the control itself.
#pragma once
#include <fw/fwdefs.h>

// The calling thread's tooltip control; null until a window of the thread needed it.
FW_API HWND AFXAPI AfxGetThreadToolTip();
