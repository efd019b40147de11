// Whole files and the folders on the way to them, for test set-ups.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// Makes the folder and every folder on the way to it ("C:\a\b\c"); a trail byte 0x5C of a
// double-byte character is no separator.
void MakeFolders(const std::string& folder);
// Writes a whole file (replacing it), making its folders first; false when it fails.
bool WriteWholeFile(const std::string& path, const std::string& data);
// Sets the file's last-write time from a local date and time; false when it fails.
bool SetLocalWriteTime(const std::string& path, int year, int month, int day, int hour = 12);
// The whole file (read while others may write it); "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The names of a folder's files (hidden ones too, no folders), sorted.
std::vector<std::string> FileNamesIn(const std::string& folder);

// A WM_DROPFILES block of the paths (the receiver frees it).
HGLOBAL MakeDropFiles(const std::vector<std::string>& paths);

}  // namespace testsupport
