// Decisions of the plug-in tree control that need no window: whether a selection may move
// to an item, what a plug-in's answer to a rename request means, which label is blank.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace treerules {

// The file system as the tree sees it; tests put a table in its place.
struct FolderProbe {
  std::function<bool(const std::string&)> exists;    // the path names a folder
  std::function<bool(const std::string&)> readable;  // "\*.*" under it finds an entry
};
FolderProbe RealFolders();

// The folder an item's selection is checked against: its path without trailing
// backslashes; empty when the item is not checked (kinds 1, 2 and 6, an empty path, one
// starting with a backslash, a bare drive).
std::string PathToTest(int kind, const std::string& path);

enum class Selection { Allow, Veto, TooLong, Missing, Unreadable };
// A change of selection made by the user (byProgram FALSE) onto an item.
Selection JudgeSelection(bool byProgram, bool altArrow, int kind, const std::string& path, const FolderProbe& probe);
// The string shown for a refusal (0: none).
UINT SelectionText(Selection verdict);

// The plug-in's answer to "may this item be renamed": allowed, or refused with the texts
// to show one under the other (none: a silent refusal).
struct RenameAnswer {
  bool allow;
  std::vector<UINT> texts;
};
RenameAnswer JudgeRenameAnswer(HRESULT hr);

// The titles a label's limit depends on (the resource library's texts).
struct LabelTitles {
  std::string personGroup;   // labels under a parent whose label begins with it: 32
  std::string diskTree;      // the disk tree's labels: 255
  std::string classifyTree;  // the classification tree's: 64
};
// The longest new label in bytes, 0 for no limit.
int LabelLimit(const std::string& parentLabel, const std::string& treeTitle, const LabelTitles& titles);

// The folder command (0..9) a key stands for in a tree, -1 for none. bEditing: a label is
// being edited (Delete and the clipboard keys are the edit's then).
int ShortcutCommand(UINT nKey, bool ctrl, bool editing);
// Whether the plug-in's folder menu lets a shortcut through: a greyed position, or no
// menu at all, suppresses it; a menu without that position lets it through.
bool ShortcutAllowed(bool hasMenu, bool positionExists, bool greyed);

// A new label that is not handed to the plug-in: empty or blanks only.
bool IsBlankLabel(const char* text);

// The colours of a row's label. The control draws a selected row of a tree without the
// focus in the light button face with the tree's own (white) text; such a row takes the
// system's button text instead, so that it stays readable. change false: as the control
// draws it.
struct RowColours {
  bool change;
  COLORREF text, back;
};
RowColours RowColoursFor(bool selected, bool dropTarget, bool treeFocused, COLORREF buttonFace, COLORREF buttonText);

}  // namespace treerules
