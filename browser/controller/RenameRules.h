// The decisions of renaming a thumbnail's file, without windows.
#pragma once
#include <fw/fw.h>

// Why a new name is refused.
enum VXRENAMECHECK {
  VXRENAME_OK,
  VXRENAME_SAME,     // the new path is the old one: nothing to do, nothing to say
  VXRENAME_REFUSED,  // a name Windows refuses, a hidden name, no folder, or a path too long
};
// The new path of a rename: the old path's folder (up to its last separator) and the new
// bare name. The name must be one Windows takes as it stands (no folder parts, no
// forbidden or control characters, no device name, no trailing dot or blank) and not
// begin with "."; the path must fit a MAX_PATH buffer with its terminator (259
// characters at most).
VXRENAMECHECK RenameCheckNewPath(LPCSTR pszOldPath, LPCSTR pszNewName, CString* pNewPath);

// The same folder, compared as Windows does: without regard to case and without one
// trailing backslash on either side.
BOOL RenameIsSameFolder(LPCSTR pszA, LPCSTR pszB);
