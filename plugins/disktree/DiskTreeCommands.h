// What the plug-in's export files share: the folder commands that more than one export runs.
#pragma once
#include <FolderTreePlugin.h>

namespace disktree {

// A new folder under the caret item, shown and made the caret. The folder menu's variant
// (menuVariant) also leaves only the new item selected, refreshes the tree and names the
// folder in the changed-folder list.
HRESULT NewFolderUnderCaret(CTreeCtrl* tree, bool menuVariant);
// Clears the cut mark of every visible item.
void ClearCutMarks(CTreeCtrl* tree);

}  // namespace disktree
