// What every tool library the toolbar loads shares (TurnPicture, ScalePicture, ConvertKind,
// StampDay, NamePrompt, FixShotDate, GuessPlace, SplitClip): its texts from the resource
// library, the file list the toolbar hands it, the owner of its windows and "Tool1"
// "FirstPath", the file the browser selects after the run.
#pragma once
#include <fw/fw.h>

#include <ICGBrowser.h>

#include <string>
#include <vector>

namespace picturetool {

// A text of the resource library (the host's copy when it has one loaded, else the one
// beside this library); empty when there is none.
std::string Text(UINT id);
// The paths of a list the toolbar passes (null: none), empty paths left out.
std::vector<std::string> Paths(const CGFileInfoList* list);

// "FirstPath": read, emptied, written.
std::string FirstPath();
void ClearFirstPath();
void WriteFirstPath(const std::string& path);
// A run's first output: written only while "FirstPath" is still empty.
void WriteFirstOutput(const std::string& path);

// The window the tool's boxes and dialogs belong over: the given one, else this thread's
// active window, else none.
HWND OwnerWindow(HWND given = NULL);

}  // namespace picturetool
