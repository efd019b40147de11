// The toolbar row's decisions, without windows: which buttons exist for what is
// installed, where they stand, which of them are enabled, what message 1925 stores, which
// messages go into the relay, and where an item list opens under its button.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace toolbarrules {

enum ButtonKind {
  BUTTON_PLAIN,  // CBitmapButtonEx21
  BUTTON_OWNED,  // CBitmapButtonEX3: owner pane and command id
};
enum AttachedKind { ATTACHED_NONE = 0, ATTACHED_ITEM_LIST = 1, ATTACHED_LAUNCHER = 2 };

struct ListItem {
  int command;
  int textId;            // 0 when text holds it
  std::string text;
};

struct ButtonPlan {
  int command;
  int listBase;          // what its list reports as its own, 0 without a list
  int labelId;           // 0: drawn without a label
  int tipId;
  UINT bitmaps[4];       // normal, selected, focused, disabled
  ButtonKind kind;
  int classKind;         // 1, or 2 for the launcher button
  int group;
  AttachedKind attached;
  bool acceptsFiles;     // WM_DROPFILES onto the button
  bool dropTarget;       // OLE drop target on the button
  std::vector<ListItem> items;
};

// What is installed beside the program.
struct Installed {
  std::vector<std::string> treePlugins;  // titles of the tree plug-ins that export OpenWindow
  std::vector<std::string> toolPlugins;  // titles of the tool plug-ins that export OpenWindow
  std::vector<std::string> ppcPlugins;   // names of the conversion plug-ins
  bool locationPage = false;             // "PinSpotPage.prp"
  bool imageEditor = false;              // "VxEdit.exe"
  bool turnPicture = false;              // "TurnPicture.dll"
  std::vector<ListItem> toolLibraries;   // ToolLibraryItems
};

// The most items a plug-in list takes.
const size_t kMaxPluginItems = 9;
// Width of an item list (and the launcher window) under its button.
const int kListWidth = 118;
const int kListRowHeight = 29;

// One item per tool library of the tools button that exists, in the button's order.
std::vector<ListItem> ToolLibraryItems(const std::function<bool(const char*)>& exists);
// The library file behind a tools-list command; null for another command.
const char* ToolLibraryFile(int command);

// The buttons in creation order.
std::vector<ButtonPlan> PlanButtons(const Installed& installed);

// Places of the buttons for the pane's client width; one rectangle per group entry.
std::vector<RECT> LayoutButtons(const std::vector<int>& groups, int width);
// Separators between groups: the x of each (the darker line sits at x - 1).
std::vector<int> SeparatorXs(const std::vector<RECT>& places, const std::vector<int>& groups);
// Top-left of an item list under its button, centred on it.
POINT ListOrigin(const RECT& button, int listWidth = kListWidth);
// The rows of an item list: wide enough for the widest label, tall enough for the
// tallest; never smaller than 118 x 29.
SIZE ItemListRowSize(SIZE widestLabel);

// Buttons whose enabled state message 1925 stores.
bool IsStoredStateToolButton(int command);
// The stored state after message 1925 (mask, values): the previous one when the mask
// leaves the button out.
BOOL StoredStateAfter(int command, BOOL stored, DWORD mask, DWORD values);

enum EnableChange { ENABLE_KEEP, ENABLE_ON, ENABLE_OFF };
struct Navigation {
  BOOL canUp, canBack, canForward;
};
// What the 100 ms pass does to one button in the external-program manager's state.
EnableChange EnableFor(int state, int command, BOOL stored, BOOL enabledNow, const Navigation& nav);

// Messages the pane wraps into the relay record instead of handling them.
bool IsRelayedMessage(UINT message);

// The label's left edge: the text's rectangle grows by its width over twice the
// text's length in wide characters (terminator included).
int LabelLeft(const RECT& text, int wideLength);

// A "FirstPath" that the 260-byte block can hold whole; anything longer is not sent.
bool FitsPathBlock(const std::string& path);

// GetFileData flags for a choice of the target dialog (1 or 3 the selection, 2 all
// files, 5 the marks); 0 for any other choice.
long TargetChoiceFlags(int choice);
// The same for the face classification, which takes choice 6 (the folder's pictures) as 1.
long ClassifyFlags(int choice);

// The page program's instance mutex ("Global\" only where sessions exist).
std::string PageToolMutexName(bool win98);

// The text of a folder change as the disk tree sends it: "<id>|Explorer|1|<folder>\||".
std::string FolderChangeText(int pluginId, const std::string& folder);
// Its WM_COPYDATA block: the text and its zero, padded with zeros to a multiple of 4.
std::string FolderChangeBlock(const std::string& text);

// Files a tool keeps: those the support check takes, in order; *pRemoved counts the rest.
std::vector<std::string> KeepSupported(const std::vector<std::string>& paths,
                                       const std::function<bool(const std::string&)>& supported, int* pRemoved);

// The first movie of a selection: the walk takes the first accepted file and stops at a
// rejected file after it or at an accepted file after a rejected one. index -1 when
// none; ask when the user is to confirm (more than one file, or a rejected one met).
struct MoviePick {
  int index;
  bool ask;
};
MoviePick PickFirstMovie(const std::vector<bool>& accepted);

// An outside movie program's relative path and its arguments for a command (the scene-cut
// editor 27901, its edit list 27902, the content player 27903); false for another command.
bool OutsideProgramCall(int command, const std::string& movie, unsigned long long mainWindow, std::string* program,
                        std::string* arguments);

// The message a slide-show command gives instead of running in a calendar view, or 0: play
// refuses the month (a day's pictures play), play all runs anywhere, the settings, opening
// a scenario and a new collection refuse both calendars.
int SlideCommandRefusal(int command, bool monthView, bool calendarView);
// What the toolbar does to a popup of the main menu (the tools menu, and the file menu's
// import item): items follow the state of their buttons, items of what is not installed
// go, and the conversion plug-ins get an item each in place of the first one's.
struct MenuButtons {
  std::vector<std::pair<int, bool>> buttons;  // each existing button: command, enabled
  std::vector<int> toolList;                  // the commands of the tools button's list
  bool imageEditor = false;                   // "VxEdit.exe"
  std::vector<std::string> ppcPlugins;        // names of the conversion plug-ins
  UINT firstItem = 0;                         // the popup's first item
};
enum MenuActionKind {
  MENU_ENABLE,     // the item (searched in sub-menus too) takes the state
  MENU_REMOVE,     // the item goes
  MENU_SUBMENU,    // the sub-menu whose first item is `id` takes the state, by position
  MENU_PPC_PLACE,  // the items ID_PPC_PLUGIN_FIRST..LAST go; the next MENU_PPC_ITEMs
                   // take the place of the last ID_PPC_PLUGIN_FIRST (searched from the end)
  MENU_PPC_ITEM,   // an item inserted there, in order
};
struct MenuAction {
  MenuActionKind kind;
  UINT id;
  bool enabled;
  std::string text;  // of an inserted item
};
std::vector<MenuAction> MenuActions(const MenuButtons& in);

// Where a button's tip goes while the button's list is open under it: above the button,
// or right of it when the work area ends above; never over the list.
POINT TipBesideList(const RECT& button, SIZE tip, const RECT& work);

// A change to this view (a view code) closes the slide-show collection dialog: the calendar
// views do, as their commands refuse the slide show's authoring.
bool ViewClosesSlideCollection(int viewCode);

}  // namespace toolbarrules
