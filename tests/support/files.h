// Files and folders of test programs: the program folder, generated fixtures, and
// removing scratch trees.
#pragma once
#include <string>

namespace testsupport {

// The folder of the running program, with a trailing backslash.
std::string ProgramDir();
// A generated fixture: <program folder>testdata\<name>.
std::string FixturePath(const char* name);
// Deletes a folder with everything in it (read-only files too; no shell, no recycle bin).
void DeleteTree(const std::string& dir);

}  // namespace testsupport
