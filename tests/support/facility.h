// Skipping a test: only for a facility the machine lacks, named. A missing fixture is a
// fault of the set-up and fails its test (ASSERT); tools/test.sh lists the skips of a run
// with their reasons and fails the run for a skip without this mark.
#pragma once
#include <gtest/gtest.h>

namespace testsupport {

// Mounting small file systems below the prefix's drive needs root (tests/.../smalldisks.sh).
constexpr const char kMountFacility[] = "mounting file systems (root)";

}  // namespace testsupport

// Ends the test as skipped, naming the facility (a constant of this header).
#define SKIP_WITHOUT_FACILITY(facility, detail) \
  GTEST_SKIP() << "needs a facility the machine lacks: " << (facility) << ": " << (detail)
