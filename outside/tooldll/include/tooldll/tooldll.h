// Shared by the tool libraries the toolbar loads for one command (StampDay, NamePrompt,
// FixShotDate, GuessPlace).
#pragma once
#include <fw/fw.h>

#include <ICGBrowser.h>

#include <string>
#include <vector>

namespace tooldll {

// A text of the resource library (the host's copy when it has one loaded, else the one
// beside this library); empty when there is none.
std::string Text(UINT id);
// The paths of a list the toolbar passes (null: none), empty paths left out.
std::vector<std::string> Paths(const CGFileInfoList* list);
// The tool's first output, which the toolbar reads back after the call.
void WriteFirstPath(const std::string& path);
// The window the tool's dialog belongs over: the given one, else this thread's active
// window, else none.
HWND OwnerWindow(HWND given = NULL);

}  // namespace tooldll
