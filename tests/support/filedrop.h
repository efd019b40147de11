// A shell drop of files as WM_DROPFILES and CF_HDROP carry it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// A movable global DROPFILES block with the ANSI paths; its receiver frees it.
HGLOBAL MakeFileDrop(const std::vector<std::string>& paths);

}  // namespace testsupport
