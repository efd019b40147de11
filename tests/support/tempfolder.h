// Scratch folders of the test programs.
#pragma once
#include <string>

namespace testsupport {

// A new empty folder below the temporary folder, named after tag, the process and a count.
std::string NewTempFolder(const std::string& tag);
// Deletes a folder with everything in it (read-only files too).
void RemoveTree(const std::string& folder);

}  // namespace testsupport
