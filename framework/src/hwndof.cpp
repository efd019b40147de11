// _AfxHwndOf: the one place where the GDI family meets the window classes.
#include <fw/gdi.h>

#if __has_include(<fw/wnd.h>)
#include <fw/wnd.h>
HWND AFXAPI _AfxHwndOf(const CWnd* pWnd) { return pWnd ? pWnd->GetSafeHwnd() : NULL; }
#else
// Without the window classes no CWnd can exist: only NULL (the screen) arrives here.
HWND AFXAPI _AfxHwndOf(const CWnd*) { return NULL; }
#endif
