// Waiting in tests with short polls while this thread's messages keep flowing.
#pragma once
#include <windows.h>

#include <functional>

namespace testsupport {

// Translates and dispatches every message waiting for this thread.
void PumpPending();
// Polls until done() holds or timeoutMs passed, running pump between the polls (and
// waking as soon as a message comes); returns done().
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs,
               const std::function<void()>& pump = PumpPending);

}  // namespace testsupport
