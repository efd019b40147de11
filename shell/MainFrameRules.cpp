// The main frame's decisions: its route tables and its menu item states.
#include "MainFrameRules.h"

#include <VxResourceIds.h>

#include "FView_Export.h"

namespace routes {
namespace {

// Order counts: the first range that holds a command decides.
const Route kRoutes[] = {
    {ID_FILE_NEW_FOLDER, ID_FILE_NEW_FOLDER, TARGET_FOLDER, FOCUS_FOLDER},
    {ID_VIEW_TREE_FIRST, ID_VIEW_TREE_LAST, TARGET_FOLDER, FOCUS_FOLDER},
    {ID_FILE_DELETE, ID_FILE_PROPERTIES, TARGET_FOLDER, CLOSE_COLLECTION | WHEN_FOLDER_ACTIVE},
    {ID_EDIT_CUT, ID_EDIT_CUT, TARGET_FOLDER, CLOSE_COLLECTION | WHEN_FOLDER_ACTIVE},
    {ID_EDIT_COPY, ID_EDIT_COPY, TARGET_FOLDER, WHEN_FOLDER_ACTIVE},
    {ID_EDIT_PASTE, ID_EDIT_PASTE, TARGET_FOLDER, WHEN_FOLDER_ACTIVE},
    {ID_FAVORITE_ADD, ID_FAVORITE_ADD, TARGET_FOLDER, WHEN_FOLDER_ACTIVE},
    {ID_EDIT_SELECT_ALL_FILES, ID_MARK_TOGGLE, TARGET_NONE, ONWARD},
    {ID_MARK_COPY_TO, ID_MARK_MOVE_TO, TARGET_NONE, CLOSE_COLLECTION | ONWARD},
    {ID_VIEW_MAP, ID_VIEW_SUBFOLDERS, TARGET_NONE, ONWARD},
    {ID_VIEWMODE_FILE_INFO, ID_VIEWMODE_CAMERA_INFO, TARGET_NONE, ONWARD | NOT_IN_REPORT},
    {ID_VIEWMODE_FIRST, ID_FILTER_LAST, TARGET_NONE, ONWARD},
    {ID_EXPORT_FIRST, ID_EXPORT_LAST, TARGET_EXPORT, 0},
    {ID_PPC_PLUGIN_FIRST, ID_PPC_PLUGIN_LAST, TARGET_TOOL_LIST, 0},
};

const ToolCommand kToolCommands[] = {
    {ID_FILE_IMPORT, ID_TB_FOLDER_TREE, TRUE},
    {ID_TOOLS_PLUGIN, ID_TB_TOOL_PLUGIN, TRUE},
    {ID_TOOLS_ROTATE, ID_TB_ROTATE, TRUE},
    {ID_TOOLS_EDIT_IMAGE, ID_TB_EDIT_IMAGE, TRUE},
    {ID_TOOLS_OPTIONS, ID_TB_OPTIONS, TRUE},
    {ID_TOOLS_SLIDESHOW_SETTINGS, ID_TB_SLIDESHOW_SETTINGS, TRUE},
    {ID_TOOLS_SCALE, ID_TB_SCALE, FALSE},
    {ID_TOOLS_CONVERT, ID_TB_CONVERT, FALSE},
    {ID_TOOLS_RENAME, ID_TB_RENAME, FALSE},
    {ID_TOOLS_DATE_IMPRINT, ID_TB_DATE_IMPRINT, FALSE},
    {ID_TOOLS_SPLIT_CLIP, ID_TB_SPLIT_CLIP, FALSE},
    {ID_TOOLS_FIX_SHOT_DATE, ID_TB_FIX_SHOT_DATE, FALSE},
    {ID_TOOLS_GUESS_PLACE, ID_TB_GUESS_PLACE, FALSE},
    {ID_TOOLS_MOVIE_CUT, ID_TB_MOVIE_CUT, FALSE},
    {ID_TOOLS_MOVIE_EDIT, ID_TB_MOVIE_EDIT, FALSE},
    {ID_TOOLS_MOVIE_PLAY, ID_TB_MOVIE_PLAY, FALSE},
    {ID_SLIDESHOW_OPEN_SCENARIO, ID_TB_OPEN_SCENARIO, TRUE},
    {ID_SLIDESHOW_NEW, ID_TB_NEW_SLIDE_COLLECTION, TRUE},
    {ID_TOOLS_WRITER_SETTINGS, ID_TB_WRITER_SETTINGS, TRUE},
    {ID_TOOLS_ENTRY_EDITOR, ID_TB_ENTRY_EDITOR, TRUE},
    {ID_TOOLS_FACE_CLASSIFY, ID_TB_FACE_CLASSIFY, TRUE},
    {ID_TOOLS_IMAGE_PICKER, ID_TB_IMAGE_PICKER, TRUE},
    {ID_TOOLS_SCENE_CUT, ID_TB_MOVIE_CUT, FALSE},
    {ID_HELP_PRODUCT_INFO, ID_TB_PRODUCT_INFO, TRUE},
    {ID_TB_LAUNCHER, ID_TB_LAUNCHER, FALSE},  // the launcher's window, for scripts
};

}  // namespace

const Route* FindRoute(UINT nID) {
  for (const Route& r : kRoutes)
    if (nID >= r.nFirst && nID <= r.nLast) return &r;
  return nullptr;
}

const Route* Routes(int* pnCount) {
  *pnCount = (int)(sizeof(kRoutes) / sizeof(kRoutes[0]));
  return kRoutes;
}

UINT PaneCommand(const Route& route, UINT nID) {
  switch (route.pane) {
    case TARGET_EXPORT: return nID - ID_EXPORT_FIRST + CFView_Export::TILE_COMMAND_FIRST;
    case TARGET_TOOL_LIST: return nID - ID_PPC_PLUGIN_FIRST + ID_TB_PPC_LIST + 1;
    default: return nID;
  }
}

const ToolCommand* FindToolCommand(UINT nID) {
  for (const ToolCommand& c : kToolCommands)
    if (c.nMenu == nID) return &c;
  return nullptr;
}

const ToolCommand* ToolCommands(int* pnCount) {
  *pnCount = (int)(sizeof(kToolCommands) / sizeof(kToolCommands[0]));
  return kToolCommands;
}

}  // namespace routes

namespace menurules {
namespace {

void Add(std::vector<ItemAction>& out, std::initializer_list<UINT> ids, Action action) {
  for (UINT nID : ids) out.push_back({nID, action});
}

void AddRange(std::vector<ItemAction>& out, UINT nFirst, UINT nLast, Action action) {
  for (UINT nID = nFirst; nID <= nLast; ++nID) out.push_back({nID, action});
}

Action CheckIf(bool b) { return b ? ITEM_CHECK : ITEM_UNCHECK; }

}  // namespace

UINT PromptOf(UINT nID) {
  // The disk tree's context menu (owned by this frame) shares numbers with the browser's
  // messages.
  static const UINT kPrompts[][2] = {
      {ID_DISKTREE_CTX_RENAME, IDS_DISKTREE_PROMPT_RENAME}, {ID_DISKTREE_CTX_DELETE, IDS_DISKTREE_PROMPT_DELETE},
      {ID_DISKTREE_CTX_PASTE, IDS_DISKTREE_PROMPT_PASTE},   {ID_DISKTREE_CTX_COLOR, IDS_DISKTREE_PROMPT_COLOR},
      {ID_DISKTREE_CTX_FAVORITE, IDS_DISKTREE_PROMPT_FAVORITE},
      {ID_DISKTREE_CTX_PROPERTIES, IDS_DISKTREE_PROMPT_PROPERTIES}};
  for (const auto& p : kPrompts)
    if (p[0] == nID) return p[1];
  return nID;
}

Popup PopupOf(UINT nIndex, UINT nFirstItem) {
  static const struct {
    UINT nIndex;
    UINT nFirst;
    Popup popup;
  } kPopups[] = {
      {0, ID_FILE_IMPORT, POPUP_FILE},   {1, ID_EDIT_CUT, POPUP_EDIT},       {2, ID_VIEW_TOOLBAR_PANE, POPUP_VIEW},
      {3, ID_TOOLS_PLUGIN, POPUP_TOOLS}, {4, ID_EXPORT_FIRST, POPUP_EXPORT}, {12, ID_GO_UP, POPUP_GO},
      {13, ID_GO_UP, POPUP_GO},
  };
  for (const auto& p : kPopups)
    if (p.nIndex == nIndex && p.nFirst == nFirstItem) return p.popup;
  return POPUP_OTHER;
}

std::vector<ItemAction> RulesFor(Popup popup, const MenuState& s) {
  std::vector<ItemAction> out;
  switch (popup) {
    case POPUP_FILE:
      if (s.slideShow || s.changingFolder)
        Add(out, {ID_FILE_PRINT_PHOTOS, ID_FILE_PRINT_INDEX, ID_FILE_PRINT_DATE, ID_FILE_PRINT_ORDER, ID_FILE_PRINT_SETUP},
            ITEM_GREY);
      if (s.music || s.changingFolder) Add(out, {ID_FILE_NEW_FOLDER, ID_FILE_DELETE, ID_FILE_RENAME}, ITEM_GREY);
      if (s.changingFolder) Add(out, {ID_FILE_PROPERTIES}, ITEM_GREY);
      break;
    case POPUP_EDIT:
      if (s.slideShow) Add(out, {ID_EDIT_COPY_TO_FOLDER, ID_EDIT_MOVE_TO_FOLDER}, ITEM_GREY);
      if (s.music || s.changingFolder)
        Add(out,
            {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL_FILES, ID_EDIT_UNSELECT_ALL,
             ID_EDIT_INVERT_SELECTION, ID_MARK_TOGGLE, ID_MARK_CLEAR_ALL, ID_MARK_COPY_TO, ID_MARK_MOVE_TO,
             ID_FAVORITE_ADD},
            ITEM_GREY);
      break;
    case POPUP_VIEW: {
      Add(out, {ID_VIEW_STATUS_BAR}, CheckIf(s.statusBarShown));
      Add(out, {ID_VIEW_TOOLBAR_PANE}, CheckIf(s.toolbarShown));
      Add(out, {ID_VIEW_FOLDER_PANE}, CheckIf(s.folderShown));
      Add(out, {ID_VIEW_EXPORT_PANE}, CheckIf(s.exportShown));
      Add(out, {ID_VIEW_TOOLBAR_PANE, ID_VIEW_EXPORT_PANE}, ITEM_ENABLE);
      // The mode, sort and filter items follow the strip.
      Action strip = s.stripEnabled && !s.music ? ITEM_ENABLE : ITEM_GREY;
      Add(out,
          {ID_VIEWMODE_LARGE_ICONS, ID_VIEWMODE_FOCUS, ID_VIEWMODE_ZOOM, ID_VIEWMODE_MONTH, ID_VIEWMODE_FILE_INFO,
           ID_VIEWMODE_CAMERA_INFO},
          strip);
      AddRange(out, ID_SORT_SIMILARITY, ID_SORT_AUDIO_ALBUM_ASC, strip);
      AddRange(out, ID_SORT_VOICE_DATE_ASC, ID_SORT_VOICE_NUMBER, strip);
      AddRange(out, ID_FILTER_FIRST, ID_FILTER_LAST, strip);
      if (s.music) Add(out, {ID_VIEW_MAP}, ITEM_GREY);
      break;
    }
    case POPUP_TOOLS:
      if (!s.searchLibrary) Add(out, {ID_TOOLS_DB_SEARCH}, ITEM_REMOVE_WITH_ENTRY);
      if (!s.similarSearch) Add(out, {ID_SIMILAR_SEARCH, ID_SIMILAR_REGISTER, ID_SIMILAR_LIST}, ITEM_REMOVE);
      break;
    default:
      break;
  }
  return out;
}

}  // namespace menurules
