// The rename tool's decisions: the naming pattern, the dialog's field rules, what the
// preview shows for a file, and the engine's choices of names. Plain functions over
// 8-bit paths in the ANSI code page; the dialog and the engine call them, tests too.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace renamerules {

// The number part of a new name and where it goes.
struct NumberPattern {
  int start = 1;           // 0 to 1000
  int length = 4;          // digits, 1 to 9
  int step = 1;            // 1 to 1000
  std::string before;      // decoration before the number (at most one byte)
  std::string after;       // decoration after it
  int position = 1;        // 1: after the base name; 0: before it
};

// The number part of the file at list position k: decoration, zeros to the length, the
// number, decoration. With the number in front and no decoration after, the decoration
// before follows the number instead.
std::string NumberPart(const NumberPattern& pattern, int k);
// The new name of file k (without extension) for a base name.
std::string NewName(const std::string& base, const NumberPattern& pattern, int k);

// The decoration combo's items: item 0 ("none") and the parts of the list text split at "\".
std::vector<std::string> DecorationItems(const std::string& noneText, const std::string& list);
// The decorations of an item: before = up to its first blank, after = behind it (the whole
// text without a blank). Item 0 has none.
void SplitDecoration(const std::string& item, int index, std::string* before, std::string* after);

// A file's folder (up to and including its last "\"), name without extension, extension
// (from the last dot of the name on; "" without one).
struct PathParts {
  std::string folder, title, extension;
};
PathParts SplitPath(const std::string& path);

// The room for a new name in a path: 250 minus the folder and the extension. Below
// kMinimumRoom the dialog refuses the file.
int NameRoom(const std::string& path);
constexpr int kMinimumRoom = 4;
constexpr int kNameLimit = 64;

// The base-name field's text after a change: longer than limit bytes it is cut there,
// keeping a double-byte character whole. Returns whether it was cut.
bool CutBaseName(std::string* text, int limit = kNameLimit);
// Removes every \ / : * ? " < > | ; returns whether any was there.
bool RemoveForbidden(std::string* text);

// The number fields: the value to take and whether the edit must show it instead of what
// was typed. An empty or unreadable field reads as 0.
struct FieldValue {
  int value;
  bool rewrite;
};
FieldValue ClampStart(const std::string& typed);
FieldValue ClampLength(const std::string& typed);
FieldValue ClampStep(const std::string& typed);

// What the preview shows for one file, given what FindFirstFile found at the new path.
enum class PreviewRow {
  NewName,       // nothing there, or one of the listed files under that very name
  Clash,         // a file there whose name differs from the new one only in case (388): stop
  Foreign,       // a file of that name that is not listed (353): keep the old text
};
PreviewRow ClassifyPreview(const std::string& newFileName, const std::string* foundName, bool foundIsListed);

// More than this many files show the preview's progress window.
constexpr int kPreviewProgressAbove = 500;

// ---- the engine --------------------------------------------------------------------

// The temporary name of list position j under a run number: folder +
// "renameerror%05d-%d" + extension.
std::string TemporaryPath(const std::string& oldPath, int run, int j);
// The search pattern of a run number in a folder.
std::string RunPattern(const std::string& folder, int run);
// The first run number from 1 below 100000 whose pattern finds nothing in any of the
// folders (anyExists(pattern) asks the disk); 100000 when all are taken.
int ChooseRunNumber(const std::vector<std::string>& folders, const std::function<bool(const std::string&)>& anyExists);

// A new name (without extension) the engine may write with the file's extension: a plain
// name of the file's own folder. "..\x", "a:b", "." and ".." are refused.
bool IsAcceptableNewName(const std::string& newName, const std::string& extension);

// What the final move of a ".cont" file does, by the "ContName" setting. Unknown values
// act as 0.
enum class ContAction { Rename, RenameAndTitle, KeepNameSetTitle };
ContAction ContActionFor(int contName);

// The read-only question's answers as the engine keeps them.
enum class ReadOnlyAnswer { None, Yes, No, YesToAll, NoToAll };
// Whether a read-only file goes on, given the answer remembered for all files; ask is
// true when the question must be put first.
bool ReadOnlyNeedsQuestion(ReadOnlyAnswer remembered);
bool ReadOnlyGoesOn(ReadOnlyAnswer answer);

}  // namespace renamerules
