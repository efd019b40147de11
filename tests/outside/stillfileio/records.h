// Still-information records of the test files, as a camera writes them.
#pragma once

#include <StillFileIo.h>

#include <cstring>

namespace stillrecords {

inline STILLRECORD Start(WORD value) {
  STILLSTART s = {0, {'S', 'T', 'I', 'L'}, STILL_VERSION, value, 0};
  STILLRECORD r;
  memcpy(&r, &s, sizeof r);
  return r;
}

inline STILLRECORD Time(DWORD ticks) {
  STILLTIME t = {STILL_KIND_TIME, ticks, 2026, 5, 5, 10, 20, 30, 9};
  STILLRECORD r;
  memcpy(&r, &t, sizeof r);
  return r;
}

}  // namespace stillrecords
