// Where the running test program is, and the fixtures generated beside it.
#pragma once
#include <string>

namespace testsupport {

// The test program's own file (C:\glimora-bin\<name>.exe).
std::string ProgramPath();
// Its folder, without a trailing backslash (C:\glimora-bin).
std::string ProgramFolder();
// A generated fixture: <program folder>\testdata\<name>.
std::string Fixture(const std::string& name);

}  // namespace testsupport
