// Bringing a window of ours to the front while another program holds the foreground.
#pragma once
#include <windows.h>

namespace foreground {

// Makes window the foreground window. Its thread's input is joined to the foreground
// thread's for the call, as the system lets a thread of the foreground input take the
// foreground, but only when that thread answers within answerMs: joined to a thread that
// does not answer, the activation's messages to its windows would hang ours as well.
// Without the join the window is still asked to the front.
void BringToFront(HWND window, DWORD answerMs = 200);

}  // namespace foreground
