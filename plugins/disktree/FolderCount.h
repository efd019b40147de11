// What the folder properties page shows, worked out without windows: the number and size
// texts, a file's size on disk, and the count of a folder's files and folders.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace disktree {

// A count or size in the user's number format, without the decimals the format adds; "0"
// rather than nothing.
std::string NumberText(LONGLONG value);
// The size text: the unit's string with the short number (ShortSize) and the exact count.
std::string SizeText(LONGLONG bytes);
// The contents text: files and folders counted.
std::string ContentsText(LONGLONG files, LONGLONG folders);
// Whole clusters of the file's drive; 0 for a path on no drive letter. The setup
// interface's disk-space list answers first; where it answers nothing (removable
// drives under Wine) the size is rounded up to whole clusters.
LONGLONG SizeOnDisk(const std::string& path, LONGLONG size);
// The folder's path without trailing "\", a drive root as "X:".
std::string PropertiesPath(const std::string& path);
// The folder holding path, "X:\" for a drive's top level.
std::string LocationOf(const std::string& path);
// The first match's creation time as the page shows it; "" when there is none (the caller
// shows the missing-date text).
std::string CreatedText(const std::string& path);

struct FolderCount {
  LONGLONG files = 0;
  LONGLONG folders = 0;
  LONGLONG size = 0;
  LONGLONG onDisk = 0;
};

// Counts below folder into count. afterEntry runs after every entry and answers false to
// stop; folderDone runs when a folder's entries are done. False when stopped.
bool CountFolder(const std::string& folder, FolderCount* count, const std::function<bool()>& afterEntry,
                 const std::function<void()>& folderDone);

}  // namespace disktree
