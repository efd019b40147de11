// The main frame's decisions without windows: how its menu commands are routed (one table
// of command ranges and their target pane, and the tools popup commands the toolbar
// carries out; the commands the frame carries out itself are entries of its message map,
// MainFrameCommands.cpp), and which items of the main menu's popups are greyed, checked or
// removed for the state of the browser, the panes and the installed libraries.
#pragma once
#include <fw/fw.h>

#include <vector>

namespace routes {

// The pane a command range goes to.
enum Target {
  TARGET_NONE,       // no pane: only the flags' steps
  TARGET_FOLDER,     // into the folder pane's command routing
  TARGET_EXPORT,     // to the export pane as its tile's command
  TARGET_TOOL_LIST,  // to the toolbar as a pick from its conversion plug-in list
};

// Steps around the routing.
enum {
  CLOSE_COLLECTION = 0x01,    // the toolbar's slide collection closes first
  FOCUS_FOLDER = 0x02,        // the folder pane takes the focus first; the command is handled
  WHEN_FOLDER_ACTIVE = 0x04,  // routed only while the folder pane is the active view
  ONWARD = 0x08,              // then the framework routes it too (active view, document)
  NOT_IN_REPORT = 0x10,       // swallowed in report mode
};

struct Route {
  UINT nFirst;
  UINT nLast;
  Target pane;
  UINT nFlags;
};

// The first route whose range holds nID; null for commands the table does not route.
const Route* FindRoute(UINT nID);
// Every route, for the frame to register its ranges.
const Route* Routes(int* pnCount);

// The command a route hands its pane: the export pane's tile command, the toolbar list's
// item; the command itself for the folder pane.
UINT PaneCommand(const Route& route, UINT nID);

// Tools popup commands that the toolbar carries out.
struct ToolCommand {
  UINT nMenu;
  UINT nToolbar;
  BOOL bWithFrame;  // lParam the frame's window, else 0
};
const ToolCommand* FindToolCommand(UINT nID);
const ToolCommand* ToolCommands(int* pnCount);

}  // namespace routes

namespace menurules {

// The popups of the main menu, known by their index and first item.
enum Popup { POPUP_OTHER, POPUP_FILE, POPUP_EDIT, POPUP_VIEW, POPUP_TOOLS, POPUP_EXPORT, POPUP_GO };
Popup PopupOf(UINT nIndex, UINT nFirstItem);

// The string that holds the prompt of command nID: its own number, unless that number is
// already a message of another part of the program.
UINT PromptOf(UINT nID);

struct MenuState {
  bool music = false;           // the browser plays music
  bool changingFolder = false;  // the browser is changing its folder
  bool slideShow = false;       // the slide-show player runs
  bool statusBarShown = false;
  bool toolbarShown = false;   // the toolbar row is taller than 0
  bool folderShown = false;    // the folder column is wider than 0
  bool exportShown = false;    // the export column is wider than 0
  bool stripEnabled = false;   // the browser's strip takes input
  bool searchLibrary = false;  // the photo-database search library is installed
  bool similarSearch = false;  // the similar-image search is switched on
};

enum Action {
  ITEM_GREY,
  ITEM_ENABLE,
  ITEM_CHECK,
  ITEM_UNCHECK,
  ITEM_REMOVE,
  // the item, the first entry of the same text and a separator right after that entry
  ITEM_REMOVE_WITH_ENTRY,
};

struct ItemAction {
  UINT nID;
  Action action;
  bool operator==(const ItemAction& o) const { return nID == o.nID && action == o.action; }
};

// What to do to the popup's items, in order (a later action on an item wins).
std::vector<ItemAction> RulesFor(Popup popup, const MenuState& state);

}  // namespace menurules
