// The profile's list of the system's windows and outside programs: sections
// "ExeState0000", "ExeState0001", ... with ExePath, Name, Location, Flag and Status.
// Entries 0 to 3 are the main window's panes; from 4 on they are programs that the
// outside-program manager starts.
#pragma once
#include <fw/fw.h>

// Fixed roles of the list indexes.
enum {
  TOOL_BROWSER = 0,
  TOOL_FOLDER_PANE = 1,
  TOOL_EXPORT_PANE = 2,
  TOOL_TOOLBAR_PANE = 3,
  TOOL_IMAGE_EDITOR = 4,
  TOOL_SLIDESHOW = 5,
  TOOL_PAGE_TOOL = 6,
  TOOL_GUIDE = 7,
  TOOL_PANE_COUNT = 4,
};

// Flag bits of an entry.
enum {
  TOOL_FLAG_CLOSES_MAIN = 0x4,  // the program's end closes the main program
  TOOL_FLAG_FIRST_START = 0x8,  // marked on the first start of the main program
};

struct ToolEntrySettings {
  CString strPath;
  CString strName;
  int nLocation;
  int nFlags;
  ToolEntrySettings() : nLocation(0), nFlags(0) {}
};

// "ExeState%04d".
CString ToolEntrySection(int nIndex);
// Reads entry nIndex; FALSE when its ExePath is empty (the list ends there).
BOOL ReadToolEntry(int nIndex, ToolEntrySettings* pEntry);
