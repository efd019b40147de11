#include "cputime.h"

namespace testsupport {

double ThreadCpuMillis() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto ticks = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return double(ticks(kernel) + ticks(user)) / 10000.0;
}

double CpuMillisOf(const std::function<void()>& f) {
  double before = ThreadCpuMillis();
  f();
  return ThreadCpuMillis() - before;
}

}  // namespace testsupport
