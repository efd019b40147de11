// The texts of folder changes: what a tree's selection becomes, how the folder pane frames
// and pads it for the main window, and how a received one is read. Plain functions on
// code-page text, so a table test reaches them without windows.
#pragma once
#include <cstddef>
#include <functional>
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

// What tells a request from the last one: the paths of a folder request joined by "|";
// any other request as it stands.
std::string ComparableSelection(const std::string& request);

// "number|title" in front of a request.
std::string FrameChange(int treeNumber, const std::string& title, const std::string& request);

// The data block of a text: the text, its NUL and zeros up to the next multiple of four
// (four more when text and NUL fill one already).
std::vector<char> PaddedBlock(const std::string& text);

// A group name in a comma list: quoted when it holds a comma (or always, bQuoted); '"'
// and '|' become '_'.
std::string GroupName(const std::string& name, bool bQuoted = false);

// A group list (folder groups and the other listed kinds): the header names the item and
// each group with its colour (1..6, then again from 1), then "|2|" and one "path|group||"
// entry per file, groups counted from 1. bQuoted writes every name quoted, else only
// names that hold a comma. Without any file the entries read "|1||".
struct Group {
  std::string name;
  std::vector<std::string> files;
  bool bare = false;  // written bare even in a quoted list
};
// An item without groups lists its own files (pOwnFiles) as group 1. bEmptyAsOne: a list
// without any file reads "|1||" (folder groups) instead of nothing.
std::string GroupText(const std::string& itemName, const std::vector<Group>& groups, bool bQuoted,
                      const std::vector<std::string>* pOwnFiles = nullptr, bool bEmptyAsOne = true);

// ---- Saved searches and the other database lists -------------------------------------------
// The runs of a search's second query: five, the first as it stands, each next one with
// every "%" term doubled once more.
std::vector<std::string> WidenedQueries(const std::string& query);
// The value of the query's "Keywords," term, empty when it has none.
std::string KeywordOf(const std::string& query);
// A query naming a memorised result: its list belongs to the database.
bool IsMarkerQuery(const std::string& query);

// The disk as the re-check of saved searches sees it; tests put a table in its place.
struct FileProbe {
  std::function<bool(const std::string&)> drivePresent;  // the path's drive (or share) answers
  std::function<bool(const std::string&)> folderExists;
  std::function<bool(const std::string&)> fileExists;
};
FileProbe RealFiles();
// A result file the database may forget: missing while its drive is there and its folder
// exists. A card taken out or a drive unplugged keeps its files' marks and keywords.
bool IsGoneResult(const std::string& path, const FileProbe& probe);

// A print-order child's drive ("E:") and job (its file name without folder and
// extension); false for a path without a drive letter.
bool PrintOrderJob(const std::string& path, std::string* drive, std::string* job);

// A music folder's list: ',"id",1|' then ",2|" and "path|1||" per audio file, in byte
// order of the paths; empty without audio files.
std::string MusicText(int id, std::vector<std::string> audioFiles);

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

// The card tree is the pane's third tree. Leaving it lets the disc-movie core's drive go;
// entering it has the main window refresh its folders.
constexpr int kCardTreeNumber = 3;
enum class CardTreeSwitch { None, Leave, Enter };
inline CardTreeSwitch CardTreeSwitchOf(int previousTree, int newTree) {
  if (previousTree == kCardTreeNumber && newTree != kCardTreeNumber) return CardTreeSwitch::Leave;
  if (previousTree != kCardTreeNumber && newTree == kCardTreeNumber) return CardTreeSwitch::Enter;
  return CardTreeSwitch::None;
}

}  // namespace foldertext
