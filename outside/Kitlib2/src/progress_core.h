// The progress window that runs a caller's worker on its own thread.
#pragma once
#include <windows.h>

#include <functional>

namespace kitlib {

// Message the worker posts to the progress window: wParam = a text (LPCSTR, may be
// NULL: text unchanged), lParam = percent done (0 to 100; below 0: bar unchanged).
const UINT kProgressMessage = WM_USER + 260;  // 1284

// Runs `work` on a new thread while this thread shows a progress window over the active
// window (disabled meanwhile) and keeps dispatching messages. The window's handle is
// stored in *window for the run (the previous value is restored afterwards); Cancel
// (bit 0 of flags shows the button; Esc and closing the window count too) sets
// *cancel to 1 and lets the worker finish on its own terms. Answers the worker's result,
// or -1 when the thread could not start.
int RunProgressBar(const std::function<int()>& work, volatile LONG* cancel, HWND* window, const char* caption,
                   int flags);

}  // namespace kitlib
