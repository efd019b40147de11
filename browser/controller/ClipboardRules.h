// The decisions of cut, copy, paste and of dragging files out, without windows: which
// folders refuse them, where a paste goes, whether the destination has room, and the file
// and folder lists of a drag.
#pragma once
#include <fw/fw.h>

#include <string>
#include <vector>

// Print-order and disc-node folders, and the card's audio areas unless report mode allows
// them: copy, cut, paste and dragging do nothing there.
BOOL ClipIsRefusedFolder(UINT nFolderCode, BOOL bReportMode);

// Where a paste looks for its destination group.
enum VXPASTELOOK {
  VXPASTE_NOWHERE,     // a keyboard paste with several folders shown: no destination
  VXPASTE_AT_ORIGIN,   // the group at the document's (0, 0)
  VXPASTE_AT_MENU,     // the group under the context menu's point
};
// bKeyboard: Enter, or Ctrl with V or F7, is down. ptMenu: the screen point of the last
// context menu ((-1, -1) once it is emptied).
VXPASTELOOK ClipPasteLook(BOOL bKeyboard, POINT ptMenu, int nFolders);

// Whether the destination's drive has room: only fixed drives are checked.
enum VXPASTESPACE { VXSPACE_OK, VXSPACE_UNREADABLE, VXSPACE_LOW };
constexpr ULONGLONG kPasteMinFree = 104857600;  // 100 MiB
VXPASTESPACE ClipPasteSpace(UINT nDriveType, BOOL bRead, ULONGLONG ullFreeToUser);

// One dragged entry, in display order.
struct VXDRAGENTRY {
  std::string path;     // the entry's full path
  bool folder;          // a folder entry
  std::string members;  // a content file's member list ("a|b"), else empty
};
// The lists a drag offers: each entry's path, a content file's members after it (in its
// folder), and the folders the entries lie in (each with one final backslash, a new one
// each time the folder changes).
void ClipDragLists(const std::vector<VXDRAGENTRY>& entries, std::vector<std::string>* files,
                   std::vector<std::string>* folders);
