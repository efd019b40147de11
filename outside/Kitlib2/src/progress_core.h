// The progress window that runs a caller's worker on its own thread.
#pragma once
#include <windows.h>

#include <functional>

namespace kitlib {

// Message the worker posts to the progress window: wParam = a copy of a text that
// PostProgress made (NULL: text unchanged), lParam = percent done (0 to 100; below 0: bar
// unchanged). The window frees the copy; it touches no other value.
const UINT kProgressMessage = WM_USER + 260;  // 1284
const size_t kProgressTextMax = 1024;         // longer texts are cut

// Posts the status text (a copy, at most kProgressTextMax bytes; NULL keeps the text) and
// the percent to a progress window. False when the window is gone.
bool PostProgress(HWND window, const char* text, int percent);

// Runs `work` on a new thread while this thread shows a progress window over the active
// window (disabled meanwhile) and keeps dispatching messages. The window's handle is
// stored in *window for the run (the previous value is restored afterwards); Cancel
// (bit 0 of flags shows the button; Esc and closing the window count too) sets
// *cancel to 1 and lets the worker finish on its own terms. Answers the worker's result,
// or -1 when the thread could not start.
int RunProgressBar(const std::function<int()>& work, volatile LONG* cancel, HWND* window, const char* caption,
                   int flags);

}  // namespace kitlib
