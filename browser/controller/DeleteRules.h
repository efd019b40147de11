// The decisions of file deletion, without windows.
#pragma once
#include <fw/fw.h>

#include <string>

// Which road a deletion takes in the folder shown.
enum VXDELETEROAD {
  VXDEL_NONE,      // nothing is deleted from such folders (print orders, disc nodes, card audio)
  VXDEL_CLASSIFY,  // only the classification entries go
  VXDEL_DISC,      // the card's disc-movie items through the disc-movie core
  VXDEL_BIN,       // the recycle bin
};
struct VXDELETEFOLDER {
  UINT nCode;          // the folder-type code
  BOOL bCalendar;      // a calendar mode is shown
  BOOL bReportMode;    // the card's audio areas may be worked on
  BOOL bDiscSelected;  // the selection holds disc-movie content
};
// The road, and whether the favourite-folder warning comes first.
VXDELETEROAD DeleteRoadOf(const VXDELETEFOLDER& folder, BOOL* pbFavoriteWarning);

// The shell's source list: every path NUL-terminated, then one more NUL.
std::string DeletePathBlock(const CStringList& paths);

// A content file's member list ("a|b||c") as full paths in its folder, appended to out;
// names that are not plain file names are left out. The number appended.
int DeleteAppendMembers(LPCSTR pszMembers, LPCSTR pszFolder, CStringList& out);

// A name found in a folder search that is the folder itself or its parent.
BOOL DeleteIsDotEntry(LPCSTR pszName);
