// Folders on the clipboard for cut and copy: a file drop list, the shell's identifier-list
// array and the preferred drop effect, flushed so that they outlive the plug-in.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace disktree {

// The "Shell IDList Array" block of absolute identifier lists below the desktop.
std::string IdListArrayBlock(const std::vector<std::string>& absoluteLists);
// Puts the folders on the clipboard; *busy is set while the plug-in writes it (so its own
// clipboard notice clears no cut marks). False when nothing could be put there.
bool PutFoldersOnClipboard(const std::vector<std::string>& paths, DWORD effect, volatile bool* busy);
// The effect a paste asks for: the clipboard's "Preferred DropEffect", else a copy.
DWORD ClipboardDropEffect();

}  // namespace disktree
