#include "PluginTreeRules.h"

#include <FolderTreePlugin.h>
#include <VxResourceIds.h>

#include <textkit/path.h>

namespace treerules {

FolderProbe RealFolders() {
  FolderProbe probe;
  probe.exists = [](const std::string& path) {
    DWORD attr = ::GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
  };
  probe.readable = [](const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((path + "\\*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::FindClose(h);
    return true;
  };
  return probe;
}

std::string PathToTest(int kind, const std::string& path) {
  if (kind == PLUGIN_ITEM_SEARCH || kind == PLUGIN_ITEM_GROUP || kind == PLUGIN_ITEM_DISC_DATE) return "";
  std::string trimmed = path;
  textkit::TrimTrailingSeparators(trimmed);
  if (trimmed.empty() || trimmed[0] == '\\') return "";
  if (trimmed.size() == 2 && trimmed[1] == ':') return "";
  return trimmed;
}

Selection JudgeSelection(bool byProgram, bool altArrow, int kind, const std::string& path, const FolderProbe& probe) {
  if (byProgram) return Selection::Allow;
  if (altArrow) return Selection::Veto;
  std::string folder = PathToTest(kind, path);
  if (folder.empty()) return Selection::Allow;
  if (folder.size() >= MAX_PATH) return Selection::TooLong;
  if (!probe.exists(folder)) return Selection::Missing;
  if (!probe.readable(folder)) return Selection::Unreadable;
  return Selection::Allow;
}

UINT SelectionText(Selection verdict) {
  switch (verdict) {
    case Selection::TooLong:
    case Selection::Unreadable: return IDS_FOLDER_UNUSABLE;
    case Selection::Missing: return IDS_TREE_FOLDER_GONE;
    default: return 0;
  }
}

RenameAnswer JudgeRenameAnswer(HRESULT hr) {
  switch (hr) {
    case S_OK: return {true, {}};
    case E_FAIL: return {false, {IDS_TREE_RENAME_REFUSED}};
    case E_ABORT: return {false, {IDS_TREE_RENAME_REFUSED, IDS_TREE_RENAME_BUSY}};
    case E_ACCESSDENIED: return {false, {IDS_TREE_RENAME_DENIED}};
    default: return {false, {}};
  }
}

int LabelLimit(const std::string& parentLabel, const std::string& treeTitle, const LabelTitles& titles) {
  if (!titles.personGroup.empty() && parentLabel.compare(0, titles.personGroup.size(), titles.personGroup) == 0)
    return 32;
  if (treeTitle == titles.diskTree) return 255;
  if (treeTitle == titles.classifyTree) return 64;
  return 0;
}

namespace {
// The keys of the folder commands; "clipboard" keys belong to an open label edit.
struct Shortcut {
  UINT key;
  bool ctrl;
  bool editKey;
  int command;
};
const Shortcut kShortcuts[] = {
    {VK_F2, false, false, PLUGIN_FOLDER_RENAME},    {'N', true, false, PLUGIN_FOLDER_OPEN},
    {VK_DELETE, false, true, PLUGIN_FOLDER_DELETE}, {'C', true, true, PLUGIN_FOLDER_COPY},
    {'X', true, true, PLUGIN_FOLDER_CUT},           {'V', true, true, PLUGIN_FOLDER_PASTE},
};
}  // namespace

int ShortcutCommand(UINT nKey, bool ctrl, bool editing) {
  for (const Shortcut& s : kShortcuts)
    if (s.key == nKey && s.ctrl == ctrl && !(editing && s.editKey)) return s.command;
  return -1;
}

bool ShortcutAllowed(bool hasMenu, bool positionExists, bool greyed) {
  if (!hasMenu) return false;
  return !positionExists || !greyed;
}

bool IsBlankLabel(const char* text) {
  if (!text) return true;
  for (; *text; ++text)
    if (*text != ' ') return false;
  return true;
}

RowColours RowColoursFor(bool selected, bool dropTarget, bool treeFocused, COLORREF buttonFace, COLORREF buttonText) {
  if (!selected || dropTarget || treeFocused) return {false, 0, 0};
  return {true, buttonText, buttonFace};
}

}  // namespace treerules
