#include "ClipboardRules.h"

#include <VxDocument/VxDocDefs.h>
#include <textkit/path.h>
#include <textkit/text.h>

BOOL ClipIsRefusedFolder(UINT nFolderCode, BOOL bReportMode) {
  if (nFolderCode == FOLDER_TYPE_SDCARD_PRINTORDER || nFolderCode == FOLDER_TYPE_SDCARD_DISC ||
      nFolderCode == FOLDER_TYPE_SDCARD_AVCHD)
    return TRUE;
  return (nFolderCode == FOLDER_TYPE_SDCARD_AUDIO || nFolderCode == FOLDER_TYPE_SDCARD_VOICE) && !bReportMode;
}

VXPASTELOOK ClipPasteLook(BOOL bKeyboard, POINT ptMenu, int nFolders) {
  if (bKeyboard || ptMenu.x < 0 || ptMenu.y < 0) return nFolders > 1 ? VXPASTE_NOWHERE : VXPASTE_AT_ORIGIN;
  return VXPASTE_AT_MENU;
}

VXPASTESPACE ClipPasteSpace(UINT nDriveType, BOOL bRead, ULONGLONG ullFreeToUser) {
  if (nDriveType != DRIVE_FIXED) return VXSPACE_OK;
  if (!bRead) return VXSPACE_UNREADABLE;
  return ullFreeToUser < kPasteMinFree ? VXSPACE_LOW : VXSPACE_OK;
}

void ClipDragLists(const std::vector<VXDRAGENTRY>& entries, std::vector<std::string>* files,
                   std::vector<std::string>* folders) {
  files->clear();
  folders->clear();
  for (const VXDRAGENTRY& e : entries) {
    std::string path = e.path;
    if (e.folder) textkit::TrimTrailingSeparators(path);
    const std::string folder = textkit::FolderPartOf(path);
    if (folders->empty() || !textkit::EqualNoCase(folders->back(), folder)) folders->push_back(folder);
    files->push_back(path);
    if (e.members.empty()) continue;
    // A member name must stay in the content file's folder.
    for (const std::string& name : textkit::Split(e.members, '|'))
      if (textkit::IsValidFileName(name)) files->push_back(textkit::Join(folder, name));
  }
}
