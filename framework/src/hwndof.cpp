// _AfxHwndOf belongs to the window classes (their wnd.cpp defines it). Until they are
// part of the build no CWnd can exist, so only NULL (the screen) can arrive here.
#include <fw/gdi.h>

#if !__has_include(<fw/wnd.h>)
HWND AFXAPI _AfxHwndOf(const CWnd*) { return NULL; }
#endif
