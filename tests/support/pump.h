// The one message pump of the tests: waiting with short polls while this thread's
// messages keep flowing.
#pragma once
#include <windows.h>

#include <functional>

namespace testsupport {

// Runs every message waiting for this thread: through the pre-translation when one is set
// (the framework's, in programs under its start-up), else translated and dispatched. A
// WM_QUIT is left in the queue for whoever waits for it.
void PumpPending();
// Polls until done() holds or timeoutMs passed, pumping between the polls (and waking as
// soon as a message comes); returns done().
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
// Removes a WM_QUIT that a destroyed main window left in the queue.
void DropQuit();

// The pre-translation PumpPending gives each message first (TRUE: handled, not dispatched).
typedef BOOL (*PreTranslateFn)(MSG* pMsg);
void SetPreTranslate(PreTranslateFn fn);

}  // namespace testsupport
