// The main menu's item states for the state of the browser, the panes and the libraries.
#include "MenuRules.h"

#include <VxResourceIds.h>

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
