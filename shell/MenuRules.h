// Which items of the main menu's popups are greyed, checked or removed for the state of
// the browser, the panes and the installed libraries: a plain function of that state.
#pragma once
#include <fw/fw.h>

#include <vector>

namespace menurules {

// The popups of the main menu, known by their index and first item.
enum Popup { POPUP_OTHER, POPUP_FILE, POPUP_EDIT, POPUP_VIEW, POPUP_TOOLS, POPUP_EXPORT, POPUP_GO };
Popup PopupOf(UINT nIndex, UINT nFirstItem);

struct MenuState {
  bool music = false;           // the browser plays music
  bool changingFolder = false;  // the browser is changing its folder
  bool slideShow = false;       // the slide-show player runs
  bool statusBarShown = false;
  bool toolbarShown = false;    // the toolbar row is taller than 0
  bool folderShown = false;     // the folder column is wider than 0
  bool exportShown = false;     // the export column is wider than 0
  bool stripEnabled = false;    // the browser's strip takes input
  bool searchLibrary = false;   // the photo-database search library is installed
  bool similarSearch = false;   // the similar-image search is switched on
};

enum Action {
  ITEM_GREY,
  ITEM_ENABLE,
  ITEM_CHECK,
  ITEM_UNCHECK,
  ITEM_REMOVE,
  // the item, the first entry of the same text and a separator right after that entry
  ITEM_REMOVE_WITH_ENTRY,
};

struct ItemAction {
  UINT nID;
  Action action;
  bool operator==(const ItemAction& o) const { return nID == o.nID && action == o.action; }
};

// What to do to the popup's items, in order (a later action on an item wins).
std::vector<ItemAction> RulesFor(Popup popup, const MenuState& state);

}  // namespace menurules
