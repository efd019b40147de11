// The texts of folder changes: what a tree's selection becomes, how the folder pane frames
// and pads it for the main window, and how a received one is read. Plain functions on
// code-page text, so a table test reaches them without windows.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace foldertext {

// One selected item as the request builder sees it.
struct SelectedItem {
  bool hasRecord = true;  // false: the item carries no record and is skipped
  int kind = 0;           // 1..6 special, anything else a folder
  std::string path;       // a folder's path
  std::string kindText;   // the text a special kind built
};

// The path with exactly one trailing backslash (double-byte aware).
std::string WithOneBackslash(const std::string& path);

// The open-folder request of a selection: "|1|path\||path\||", "|1|||" for none; the last
// special item's text replaces what came before it.
std::string BuildRequest(const std::vector<SelectedItem>& items);

// "number|title" in front of a request.
std::string FrameChange(int treeNumber, const std::string& title, const std::string& request);

// The data block of a text: the text, its NUL and zeros up to the next multiple of four
// (four more when text and NUL fill one already).
std::vector<char> PaddedBlock(const std::string& text);

// A group name in a comma list: quoted when it holds a comma; '"' and '|' become '_'.
std::string GroupName(const std::string& name);

// A received folder change. ok is false for a text that is no folder change: no NUL within
// its length, fewer than three fields, a tree number or kind that is no number.
struct ReceivedChange {
  bool ok = false;
  int treeNumber = 0;
  std::string title;
  int kind = 0;
  std::string payload;
};
ReceivedChange ReadChange(const char* data, size_t cbData);

}  // namespace foldertext
