// The list of folders the browser reads again after a tree changed them (a drop, a paste,
// a new folder, a rename): keys "0001" ... in the profile, with their count.
#pragma once

namespace dropop {

constexpr char kFolderNameSection[] = "VazODA\\FolderName";
// Keys "0001" ... "9999": the list never holds more.
constexpr int kMaxFolderNames = 9999;
// Empties the list. The count comes from the profile: anything past the last key the
// format can name, or below zero, is not a list this program wrote. Returns 1.
int ClearFolderNameList();
// Appends the path; the number of entries afterwards (a full list is left as it is).
int AppendFolderNameList(const char* path);

}  // namespace dropop
