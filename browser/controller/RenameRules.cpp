#include "RenameRules.h"

#include <textkit/path.h>
#include <textkit/text.h>

#include <string>

VXRENAMECHECK RenameCheckNewPath(LPCSTR pszOldPath, LPCSTR pszNewName, CString* pNewPath) {
  if (pNewPath) pNewPath->Empty();
  if (!pszOldPath || !pszNewName || !*pszNewName) return VXRENAME_REFUSED;
  // Everything the edit box refuses as typed is refused here too: names pasted or typed
  // into the details list reach this point without the box's filter.
  if (!textkit::IsValidFileName(pszNewName) || pszNewName[0] == '.') return VXRENAME_REFUSED;
  std::string folder = textkit::FolderPartOf(pszOldPath);
  if (folder.empty() || !textkit::EndsWithSeparator(folder)) return VXRENAME_REFUSED;
  std::string path = folder + pszNewName;
  // The path must fit a MAX_PATH buffer with its terminator, as the file functions and the
  // item's own record need.
  if (path.size() >= MAX_PATH) return VXRENAME_REFUSED;
  if (pNewPath) *pNewPath = path.c_str();
  return path == pszOldPath ? VXRENAME_SAME : VXRENAME_OK;
}

BOOL RenameIsSameFolder(LPCSTR pszA, LPCSTR pszB) {
  if (!pszA || !pszB) return FALSE;
  // One trailing separator goes, when it is a character of its own.
  auto trim = [](std::string s) {
    if (textkit::EndsWithSeparator(s)) s.pop_back();
    return s;
  };
  return textkit::EqualNoCase(trim(pszA), trim(pszB));
}
