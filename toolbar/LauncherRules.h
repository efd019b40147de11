// The launcher's decisions, without windows: which files may be a slot's program, the
// label a program gets, the command line that starts it, which files the target choice
// asks the browser for, and which row takes a drop.
#pragma once
#include <string>
#include <vector>

namespace launcherrules {

// Rows of the launcher window; the profile keeps ten slots.
const int kRows = 3;
const int kSlots = 10;
// A label this long or longer is cut to kLabelCut bytes.
const size_t kLabelLimit = 64;
const size_t kLabelCut = 62;
// Files of one start above which the user is asked first.
const size_t kAskAbove = 9;

// Profile keys of a slot (1-based): its program path and its label.
std::string PathKey(int slot);
std::string LabelKey(int slot);

// A program a slot takes: a name ending in ".exe" or ".lnk" (any case) that is not a
// folder. A missing file counts as a folder.
bool IsProgramName(const std::string& path);
// A shortcut (".lnk"), which a slot keeps as its target.
bool IsShortcutName(const std::string& path);

// A program's label: its description when it has one; the file name when its version
// block has a translation but no description; the file name without its last four
// characters when there is no version block or no translation. Long labels are cut, never
// inside a double-byte character.
std::string ProgramLabel(const std::string& path, bool hasTranslation, const std::string& description);
std::string CutLabel(const std::string& label);

// The command line that starts a program with a file (empty file: the program alone). The
// program stands in quotes so that a blank in its path cannot start another program; the
// raw developer also hears the main window ("-w%08X" after the program).
std::string CommandLine(const std::string& program, const std::string& file, unsigned long long mainWindow);

// GetFileData flags for a choice of the target dialog; false when the choice asks for
// no files.
bool SelectionFlags(int choice, long* flags);

// The commands of a row's context menu: register, and remove when the slot is set.
std::vector<int> MenuCommands(bool slotSet);

// The row a drop goes to: the first highlighted one, else the first.
int DropRow(const std::vector<bool>& highlighted);

}  // namespace launcherrules
