// What the disk tree's folder commands do to the disk, the photo database and the profile,
// without the tree: new folder names, the foreign-content check before a delete, and the
// colours, database entries and changed-folder list that follow a rename.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace disktree {

// A new folder below parent: base, then "base (2)" ... "base (9999)". Only a taken name
// tries the next; any other failure ends with its error; all taken fails with
// ERROR_ALREADY_EXISTS.
struct NewFolderOutcome {
  HRESULT result = E_FAIL;
  std::string path;  // the folder made
  DWORD error = 0;   // the failure's system error
};
NewFolderOutcome MakeNewFolder(const std::string& parent, const std::string& base);

// Whether the folder (or a file) holds, at any depth, a content file of a device the
// program does not support; a file named ".cont" that is no content file is not one.
bool HasForeignContent(const std::string& path);
// The first of the folders that does, or -1.
int FirstForeignFolder(const std::vector<std::string>& folders);

// The profile section of the folder colours.
constexpr char kColourSection[] = "VazODA\\FolderIconColor";
// A folder's colour, -1 for none.
LONG ReadFolderColour(const std::string& path);
void StoreFolderColour(const std::string& path, COLORREF colour, bool remove);
// The paths that have a stored colour, as stored (one read for a whole level).
std::vector<std::string> ColouredFolders();
// Moves the stored colours of oldPath and of every folder below it to newPath.
void MoveFolderColours(const std::string& oldPath, const std::string& newPath);

// The changed-folder list names the one folder a command touched last.
void ResetChangedFolders(const std::string& path);

// The database entries and check marks follow a renamed or moved folder, at any depth.
HRESULT MoveFolderEntries(const std::string& oldPath, const std::string& newPath);
// Those of a deleted folder go, at any depth.
HRESULT ForgetFolderEntries(const std::string& path);

}  // namespace disktree
