// Paths of the generated test fixtures and scratch copies of them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <program.h>

// A failing HRESULT (shown in hex when it is not).
#define EXPECT_FAILED(expr) EXPECT_LT(static_cast<long>(expr), 0L)

namespace imgtest {

// build/bin/testdata\<name>
using testsupport::Fixture;
// A fresh scratch folder for this test program (emptied at first use).
std::string ScratchDir();
// A copy of a fixture in the scratch folder under a new name.
std::string ScratchCopy(const char* fixture, const char* name);
std::vector<uint8_t> ReadAll(const std::string& path);
bool WriteAll(const std::string& path, const std::vector<uint8_t>& data);

}  // namespace imgtest
