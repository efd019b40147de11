#include "DeleteRules.h"

#include <VxDocument/VxDocDefs.h>
#include <textkit/path.h>

VXDELETEROAD DeleteRoadOf(const VXDELETEFOLDER& f, BOOL* pbFavoriteWarning) {
  if (pbFavoriteWarning) *pbFavoriteWarning = FALSE;
  if (f.nCode == FOLDER_TYPE_SDCARD_PRINTORDER || f.nCode == FOLDER_TYPE_SDCARD_DISC) return VXDEL_NONE;
  if ((f.nCode == FOLDER_TYPE_SDCARD_AUDIO || f.nCode == FOLDER_TYPE_SDCARD_VOICE) && !f.bReportMode) return VXDEL_NONE;
  const UINT flag = f.nCode & ~0xFFu;
  if (!f.bCalendar) {
    if (flag == FOLDER_TYPE_CLASSIFY) return VXDEL_CLASSIFY;
    if (flag == FOLDER_TYPE_FAVORITE && pbFavoriteWarning) *pbFavoriteWarning = TRUE;
  }
  if (flag == FOLDER_TYPE_SDCARD && f.bDiscSelected) return VXDEL_DISC;
  return VXDEL_BIN;
}

std::string DeletePathBlock(const CStringList& paths) {
  std::string block;
  for (POSITION pos = paths.GetHeadPosition(); pos;) {
    const CString& p = paths.GetNext(pos);
    block.append((LPCSTR)p, p.GetLength());
    block.push_back('\0');
  }
  block.push_back('\0');
  return block;
}

int DeleteAppendMembers(LPCSTR pszMembers, LPCSTR pszFolder, CStringList& out) {
  if (!pszMembers || !pszFolder) return 0;
  int n = 0;
  CString folder(pszFolder);
  if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == '\\') folder.Delete(folder.GetLength() - 1);
  CString all(pszMembers);
  int start = 0;
  while (start <= all.GetLength()) {
    int bar = all.Find('|', start);
    if (bar < 0) bar = all.GetLength();
    CString name = all.Mid(start, bar - start);
    // A member name must stay in the content file's folder.
    if (textkit::IsValidFileName((LPCSTR)name)) {
      out.AddTail(folder + "\\" + name);
      ++n;
    }
    start = bar + 1;
  }
  return n;
}

BOOL DeleteIsDotEntry(LPCSTR pszName) { return pszName && (strcmp(pszName, ".") == 0 || strcmp(pszName, "..") == 0); }
