// The disk tree's decisions without windows or disk: names, menus, selection texts, walks'
// components, drops, colours and slots. The plug-in's windows and shell calls sit around
// them; the tests call them by tables.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace disktree {

constexpr char kDesktopEntry[] = "**Desktop**";
// Paths of this many characters or more are refused by every command (never cut).
constexpr size_t kPathVeto = 260;
// Longest new path a rename may make.
constexpr size_t kMaxRenamedPath = 255;
// The first image slot of tinted folder icons.
constexpr int kFirstTintSlot = 1000;
// The least time between two steps of a drag's scrolling.
constexpr DWORD kDragScrollIntervalMs = 200;
// Longest wait for a busy browser before a delete or paste goes on anyway.
constexpr DWORD kBrowserBusyWaitMs = 10000;

bool IsDriveRoot(const std::string& path);
size_t CharCount(const std::string& text);
inline bool IsVetoedPath(const std::string& path) { return CharCount(path) >= kPathVeto; }

// ---- item building ------------------------------------------------------------------------
// What item building knows of one child folder before deciding to show it.
struct ChildFacts {
  ULONG attributes = 0;           // as the parent folder answers them
  std::string path;               // its item path
  bool desktopDirectory = false;  // the desktop directory (shown even when hidden)
  DWORD fileAttributes = INVALID_FILE_ATTRIBUTES;
  bool removableDrive = false;  // the path's drive is removable, network or optical
};
// Whether a child folder stays out of the tree.
bool SkipChild(const ChildFacts& c, bool excludeRemovable);
// The root ("C:\") of a drive item's label ("Local Disk (C:)"), or "" for other items.
std::string DriveRootOfLabel(const std::string& label);
// The class id of a parsing path "::{...}", or "" when it names a file-system path.
std::string ClassIdOfParsingPath(const std::string& path);

// ---- rename -------------------------------------------------------------------------------
enum class NameRefusal { None, Empty, NothingLeft, BadCharacter, TooLong, Reserved };
// Checks a new name for the folder at itemPath and, when it passes, leaves in *name the
// name to give (blanks and trailing dots cut).
NameRefusal CheckNewName(const std::string& itemPath, std::string* name);
// The string shown for a refusal (0: none).
UINT RefusalString(NameRefusal refusal);

// ---- folder menu --------------------------------------------------------------------------
struct MenuItemFacts {
  ULONG shellAttributes = 0;
  bool systemOrUnreadable = false;  // file attributes with the system bit, or unreadable
  bool driveRoot = false;
};
struct FolderMenuState {
  size_t selectedCount = 1;
  ULONG caretAttributes = 0;
  bool caretRenamable = false;
  std::vector<MenuItemFacts> selected;
  bool clipboardHasFiles = false;
  bool editOpen = false;
  bool clipboardHasText = false;
  bool favouritesKey = false;
  bool caretDriveRoot = false;
  bool caretAttributesReadable = true;
  bool caretVetoed = false;  // the caret's path is too long for any command
};
// Which commands of the folder menu are greyed, by command index 0 to 8 (new, rename, -,
// cut, copy, delete, paste, properties, favourites).
struct FolderMenuGrey {
  bool grey[9] = {};
};
// The cut/copy/delete mask over the selection: 1 copy, 2 move, 0x20 delete, 4 refused.
ULONG EditMask(const std::vector<MenuItemFacts>& items);
FolderMenuGrey GreyFolderMenu(const FolderMenuState& s);

// ---- selection texts and walks ------------------------------------------------------------
// The OpenFolder text of a selection: "**Desktop**" for the root, the path for the others
// (an item without a path is skipped), joined by "|".
struct SelectedItem {
  bool root = false;
  std::optional<std::string> path;
};
std::string SelectionText(const std::vector<SelectedItem>& items);
// The walk's components of a drive path: " (C:)" then the upper-cased folder names.
// Empty when the path has no drive.
std::vector<std::string> DriveWalkComponents(const std::string& path);
// Components of a path without a drive, split at real separators; the text after the last
// separator is not one.
std::vector<std::string> ShellPathComponents(const std::string& path);
// Whether a drive item's text names the drive of component 0: equal, or holding "X:".
bool DriveItemMatches(const std::string& itemText, const std::string& driveLabel);

// ---- new folder ---------------------------------------------------------------------------
constexpr int kMaxNewFolderNumber = 9999;
// The n-th name tried: base, then "base (2)" ... "base (9999)".
std::string NewFolderName(const std::string& base, int n);
// The message of a failed creation: a string id, or 0 for the system's own text.
UINT NewFolderErrorString(DWORD error);

// ---- drag and drop ------------------------------------------------------------------------
// The effect of dragging sources onto target (paths), with the keys held (MK_ flags).
DWORD DragEffect(const std::string& target, const std::vector<std::string>& sources, DWORD keyState);
// Whether target is one of the sources or lies below one.
bool IsInsideAny(const std::string& target, const std::vector<std::string>& sources);

// ---- colours ------------------------------------------------------------------------------
// Tints 32-bit pixels (blue, green, red, untouched fourth byte) by the colour's channels
// times each pixel's luminance.
void TintPixels(uint8_t* pixels, size_t count, COLORREF colour);
// The image slot of an item's tinted icon.
int TintSlot(int currentImage, int imageCount);
// The key a stored colour moves to when oldPath becomes newPath: the folder's own and its
// descendants' (by prefix); none for other keys.
std::optional<std::string> MovedColourKey(const std::string& key, const std::string& oldPath,
                                          const std::string& newPath);

// ---- commands -----------------------------------------------------------------------------
// What the host redoes after a command.
enum FollowUp : DWORD { kRefreshOtherTrees = 1, kReloadBrowser = 2, kOpenCaret = 4, kEditLabel = 8 };
// The follow-up of folder-menu command index (0 to 8) or context-menu command id after its
// body answered bodyResult: only a body that succeeded asks for one.
DWORD FolderMenuFollowUp(int index, HRESULT bodyResult);
DWORD ContextMenuFollowUp(UINT id, HRESULT bodyResult);
// The context-menu command of a folder-menu index, 0 for none.
UINT ContextCommandOfIndex(int index);
// Whether two folder paths name the same folder (case and one trailing "\" aside).
bool SameFolder(const std::string& a, const std::string& b);

// ---- properties ---------------------------------------------------------------------------
// The short form of a byte count ("1023", "1.50", "100") and its unit (0 bytes .. 4 terabytes).
std::string ShortSize(long long bytes, int* unit);
// A locale-formatted whole number without the fraction the locale added.
std::string CutLocaleFraction(const std::string& formatted, int fractionDigits, const std::string& decimalSeparator);

// ---- colour dialog ------------------------------------------------------------------------
// The standard-colour button: right of Cancel at Cancel's distance from OK, ending where the
// custom-colour button ends.
RECT StandardColourButtonRect(const RECT& ok, const RECT& cancel, const RECT& custom);
struct ButtonFont {
  BYTE charset;
  LONG height;
};
ButtonFont StandardColourButtonFont(const std::string& charsetName);

}  // namespace disktree
