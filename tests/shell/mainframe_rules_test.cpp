// The main menu's item states by the state of the browser, the panes and the libraries,
// and the routing tables of the frame's menu commands.
#include <gtest/gtest.h>

#include <VxResourceIds.h>

#include <map>
#include <set>

#include "MainFrameRules.h"
#include "FView_Export.h"

namespace {

using menurules::Action;
using menurules::MenuState;

// The last action on each item, as the popup ends up.
std::map<UINT, Action> Outcome(menurules::Popup popup, const MenuState& state) {
  std::map<UINT, Action> out;
  for (const auto& a : menurules::RulesFor(popup, state)) out[a.nID] = a.action;
  return out;
}

TEST(MenuRules, PopupsAreKnownByIndexAndFirstItem) {
  EXPECT_EQ(menurules::PopupOf(0, ID_FILE_IMPORT), menurules::POPUP_FILE);
  EXPECT_EQ(menurules::PopupOf(1, ID_EDIT_CUT), menurules::POPUP_EDIT);
  EXPECT_EQ(menurules::PopupOf(2, ID_VIEW_TOOLBAR_PANE), menurules::POPUP_VIEW);
  EXPECT_EQ(menurules::PopupOf(3, ID_TOOLS_PLUGIN), menurules::POPUP_TOOLS);
  EXPECT_EQ(menurules::PopupOf(4, ID_EXPORT_FIRST), menurules::POPUP_EXPORT);
  EXPECT_EQ(menurules::PopupOf(13, ID_GO_UP), menurules::POPUP_GO);
  // The right first item at another index (a context menu's popup) is not the main menu's.
  EXPECT_EQ(menurules::PopupOf(1, ID_FILE_IMPORT), menurules::POPUP_OTHER);
  EXPECT_EQ(menurules::PopupOf(0, ID_EDIT_CUT), menurules::POPUP_OTHER);
}

TEST(MenuRules, ItemsGreyCheckAndGoByState) {
  MenuState idle;
  idle.statusBarShown = idle.toolbarShown = idle.folderShown = idle.exportShown = true;
  idle.stripEnabled = idle.searchLibrary = idle.similarSearch = true;
  MenuState slide = idle, music = idle, changing = idle, stripOff = idle, bare = idle, folded = idle;
  slide.slideShow = true;
  music.music = true;
  changing.changingFolder = true;
  stripOff.stripEnabled = false;
  bare.searchLibrary = bare.similarSearch = false;
  folded.folderShown = folded.statusBarShown = false;

  const int kNone = -1;
  struct {
    const char* name;
    menurules::Popup popup;
    MenuState state;
    UINT nID;
    int expected;  // the item's last action, or kNone
  } kCases[] = {
      {"idle file popup leaves printing", menurules::POPUP_FILE, idle, ID_FILE_PRINT_PHOTOS, kNone},
      {"slide show greys printing", menurules::POPUP_FILE, slide, ID_FILE_PRINT_ORDER, menurules::ITEM_GREY},
      {"slide show greys printer setup", menurules::POPUP_FILE, slide, ID_FILE_PRINT_SETUP, menurules::ITEM_GREY},
      {"slide show leaves delete", menurules::POPUP_FILE, slide, ID_FILE_DELETE, kNone},
      {"music greys delete", menurules::POPUP_FILE, music, ID_FILE_DELETE, menurules::ITEM_GREY},
      {"music leaves properties", menurules::POPUP_FILE, music, ID_FILE_PROPERTIES, kNone},
      {"music leaves printing", menurules::POPUP_FILE, music, ID_FILE_PRINT_PHOTOS, kNone},
      {"changing folder greys properties", menurules::POPUP_FILE, changing, ID_FILE_PROPERTIES, menurules::ITEM_GREY},
      {"changing folder greys printing", menurules::POPUP_FILE, changing, ID_FILE_PRINT_DATE, menurules::ITEM_GREY},
      {"changing folder leaves import", menurules::POPUP_FILE, changing, ID_FILE_IMPORT, kNone},
      {"slide show greys copy to folder", menurules::POPUP_EDIT, slide, ID_EDIT_COPY_TO_FOLDER, menurules::ITEM_GREY},
      {"slide show leaves paste", menurules::POPUP_EDIT, slide, ID_EDIT_PASTE, kNone},
      {"music greys paste", menurules::POPUP_EDIT, music, ID_EDIT_PASTE, menurules::ITEM_GREY},
      {"changing folder greys marks", menurules::POPUP_EDIT, changing, ID_MARK_MOVE_TO, menurules::ITEM_GREY},
      {"music leaves move to folder", menurules::POPUP_EDIT, music, ID_EDIT_MOVE_TO_FOLDER, kNone},
      {"status bar shown is checked", menurules::POPUP_VIEW, idle, ID_VIEW_STATUS_BAR, menurules::ITEM_CHECK},
      {"status bar hidden is unchecked", menurules::POPUP_VIEW, folded, ID_VIEW_STATUS_BAR, menurules::ITEM_UNCHECK},
      {"folded folder pane is unchecked", menurules::POPUP_VIEW, folded, ID_VIEW_FOLDER_PANE, menurules::ITEM_UNCHECK},
      {"toolbar row toggle stays usable", menurules::POPUP_VIEW, idle, ID_VIEW_TOOLBAR_PANE, menurules::ITEM_ENABLE},
      {"enabled strip enables the modes", menurules::POPUP_VIEW, idle, ID_VIEWMODE_CAMERA_INFO, menurules::ITEM_ENABLE},
      {"disabled strip greys the sorts", menurules::POPUP_VIEW, stripOff, ID_SORT_NAME_ASC, menurules::ITEM_GREY},
      {"disabled strip greys voice sorts", menurules::POPUP_VIEW, stripOff, ID_SORT_VOICE_NUMBER, menurules::ITEM_GREY},
      {"disabled strip greys the audio filter", menurules::POPUP_VIEW, stripOff, ID_FILTER_AUDIO_ALL,
       menurules::ITEM_GREY},
      {"music greys the filters", menurules::POPUP_VIEW, music, ID_FILTER_MOVIES, menurules::ITEM_GREY},
      {"music greys the map", menurules::POPUP_VIEW, music, ID_VIEW_MAP, menurules::ITEM_GREY},
      {"the map stays otherwise", menurules::POPUP_VIEW, idle, ID_VIEW_MAP, kNone},
      {"the last audio sorts are not the strip's", menurules::POPUP_VIEW, stripOff, ID_SORT_AUDIO_TRACK, kNone},
      {"no search library: search and its entry go", menurules::POPUP_TOOLS, bare, ID_TOOLS_DB_SEARCH,
       menurules::ITEM_REMOVE_WITH_ENTRY},
      {"no similar search: its items go", menurules::POPUP_TOOLS, bare, ID_SIMILAR_LIST, menurules::ITEM_REMOVE},
      {"installed search stays", menurules::POPUP_TOOLS, idle, ID_TOOLS_DB_SEARCH, kNone},
      {"the export popup is the pane's", menurules::POPUP_EXPORT, music, ID_EXPORT_FIRST, kNone},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    auto outcome = Outcome(c.popup, c.state);
    auto it = outcome.find(c.nID);
    EXPECT_EQ(it == outcome.end() ? kNone : (int)it->second, c.expected);
  }
}

TEST(CommandRoutes, CommandsFindTheirPaneAndSteps) {
  struct {
    UINT nID;
    routes::Target pane;
    UINT nFlags;
    UINT nPaneID;
  } kCases[] = {
      {ID_FILE_NEW_FOLDER, routes::TARGET_FOLDER, routes::FOCUS_FOLDER, ID_FILE_NEW_FOLDER},
      {ID_VIEW_TREE_LAST, routes::TARGET_FOLDER, routes::FOCUS_FOLDER, ID_VIEW_TREE_LAST},
      {ID_FILE_RENAME, routes::TARGET_FOLDER, routes::CLOSE_COLLECTION | routes::WHEN_FOLDER_ACTIVE, ID_FILE_RENAME},
      {ID_EDIT_CUT, routes::TARGET_FOLDER, routes::CLOSE_COLLECTION | routes::WHEN_FOLDER_ACTIVE, ID_EDIT_CUT},
      {ID_EDIT_COPY, routes::TARGET_FOLDER, routes::WHEN_FOLDER_ACTIVE, ID_EDIT_COPY},
      {ID_MARK_CLEAR_ALL, routes::TARGET_NONE, routes::ONWARD, ID_MARK_CLEAR_ALL},
      {ID_MARK_COPY_TO, routes::TARGET_NONE, routes::CLOSE_COLLECTION | routes::ONWARD, ID_MARK_COPY_TO},
      {ID_VIEWMODE_FILE_INFO, routes::TARGET_NONE, routes::ONWARD | routes::NOT_IN_REPORT, ID_VIEWMODE_FILE_INFO},
      {ID_VIEWMODE_LARGE_ICONS, routes::TARGET_NONE, routes::ONWARD, ID_VIEWMODE_LARGE_ICONS},
      {ID_SORT_VOICE_NUMBER, routes::TARGET_NONE, routes::ONWARD, ID_SORT_VOICE_NUMBER},
      {ID_EXPORT_FIRST + 2, routes::TARGET_EXPORT, 0, CFView_Export::TILE_COMMAND_FIRST + 2},
      {ID_PPC_PLUGIN_FIRST, routes::TARGET_TOOL_LIST, 0, ID_TB_PPC_LIST + 1},
      {ID_PPC_PLUGIN_LAST, routes::TARGET_TOOL_LIST, 0, ID_TB_PPC_LIST + 10},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nID);
    const routes::Route* pRoute = routes::FindRoute(c.nID);
    ASSERT_NE(pRoute, nullptr);
    EXPECT_EQ(pRoute->pane, c.pane);
    EXPECT_EQ(pRoute->nFlags, c.nFlags);
    EXPECT_EQ(routes::PaneCommand(*pRoute, c.nID), c.nPaneID);
  }
  // The frame's own commands and the toolbar's are not the route table's.
  for (UINT nID : {ID_VIEW_REFRESH, ID_VIEW_FOLDER_PANE, ID_HELP_MANUAL, ID_TOOLS_SCALE, ID_APP_EXIT})
    EXPECT_EQ(routes::FindRoute(nID), nullptr) << nID;
}

TEST(CommandRoutes, ToolsPopupCommandsGoToTheToolbarOnce) {
  const routes::ToolCommand* pScale = routes::FindToolCommand(ID_TOOLS_SCALE);
  ASSERT_NE(pScale, nullptr);
  EXPECT_EQ(pScale->nToolbar, (UINT)ID_TB_SCALE);
  EXPECT_FALSE(pScale->bWithFrame);
  const routes::ToolCommand* pImport = routes::FindToolCommand(ID_FILE_IMPORT);
  ASSERT_NE(pImport, nullptr);
  EXPECT_EQ(pImport->nToolbar, (UINT)ID_TB_FOLDER_TREE);
  EXPECT_TRUE(pImport->bWithFrame);
  EXPECT_EQ(routes::FindToolCommand(ID_TOOLS_DB_SEARCH), nullptr);  // the frame's own
  // No menu command is in the tool table twice, nor also in the route table.
  int nCount = 0;
  const routes::ToolCommand* pTools = routes::ToolCommands(&nCount);
  std::set<UINT> seen;
  for (int i = 0; i < nCount; ++i) {
    EXPECT_TRUE(seen.insert(pTools[i].nMenu).second) << pTools[i].nMenu;
    EXPECT_EQ(routes::FindRoute(pTools[i].nMenu), nullptr) << pTools[i].nMenu;
  }
}

}  // namespace
