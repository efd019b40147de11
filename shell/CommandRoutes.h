// How the main frame routes the menu commands that a pane or the toolbar carries out: one
// table of command ranges and their target pane, and the table of tools popup commands
// that the toolbar carries out. The commands the frame carries out itself are entries of
// its message map (MainFrameCommands.cpp).
#pragma once
#include <fw/fw.h>

namespace routes {

// The pane a command range goes to.
enum Target {
  TARGET_NONE,     // no pane: only the flags' steps
  TARGET_FOLDER,   // into the folder pane's command routing
  TARGET_EXPORT,   // to the export pane as its tile's command
  TARGET_TOOL_LIST,  // to the toolbar as a pick from its conversion plug-in list
};

// Steps around the routing.
enum {
  CLOSE_COLLECTION = 0x01,  // the toolbar's slide collection closes first
  FOCUS_FOLDER = 0x02,      // the folder pane takes the focus first; the command is handled
  WHEN_FOLDER_ACTIVE = 0x04,  // routed only while the folder pane is the active view
  ONWARD = 0x08,            // then the framework routes it too (active view, document)
  NOT_IN_REPORT = 0x10,     // swallowed in report mode
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
