// The processor time this thread has used: for bounds on work that must not grow out of
// hand, which hold on a busy machine where the time on the clock does not.
#pragma once
#include <windows.h>

#include <functional>

namespace testsupport {

// Milliseconds of processor time (user and kernel) the calling thread has used so far.
double ThreadCpuMillis();
// The processor time f takes on this thread, in milliseconds.
double CpuMillisOf(const std::function<void()>& f);

}  // namespace testsupport
