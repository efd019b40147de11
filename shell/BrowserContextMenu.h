// The main program's one export: the browser library looks it up by name in the main
// module and calls it to show the context menu of the thumbnail views.
#pragma once
#include <fw/fw.h>

extern "C" __declspec(dllexport) void WINAPI ShowBrowserContextMenu(CWnd* pWnd, CPoint point);

// Where a context menu opens: the point, or for a keyboard request (both coordinates
// negative) the window's top-left corner (screen coordinates).
CPoint ContextMenuPoint(const CRect& rcWindow, CPoint point);
