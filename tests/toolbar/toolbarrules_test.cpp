// The toolbar row's decisions: which buttons exist, where they stand, what message 1925
// stores, what the 100 ms pass enables, the relay and the tools' small texts.
#include <gtest/gtest.h>

#include <VxResourceIds.h>

#include <MainWndMessages.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ToolbarRules.h"

namespace {
using namespace toolbarrules;

std::vector<int> Commands(const std::vector<ButtonPlan>& plans) {
  std::vector<int> out;
  for (const ButtonPlan& s : plans) out.push_back(s.command);
  return out;
}
std::vector<int> Groups(const std::vector<ButtonPlan>& plans) {
  std::vector<int> out;
  for (const ButtonPlan& s : plans) out.push_back(s.group);
  return out;
}
const ButtonPlan* Find(const std::vector<ButtonPlan>& plans, int command) {
  for (const ButtonPlan& s : plans)
    if (s.command == command) return &s;
  return nullptr;
}

Installed Everything() {
  Installed in;
  in.treePlugins = {"Card", "Disk"};
  in.toolPlugins = {"One"};
  in.ppcPlugins = {"P1", "P2"};
  in.locationPage = in.imageEditor = in.turnPicture = true;
  in.toolLibraries = ToolLibraryItems([](const char*) { return true; });
  return in;
}

TEST(ToolbarButtons, WhatIsInstalledDecidesTheRow) {
  // Nothing optional: the ten buttons that are always there.
  EXPECT_EQ(Commands(PlanButtons(Installed())),
            (std::vector<int>{ID_TB_FOLDER_UP, ID_TB_FOLDER_BACK, ID_TB_FOLDER_FORWARD, ID_TB_PERSON, ID_TB_SLIDESHOW,
                              ID_TB_MOVIE, ID_TB_DISC_DRIVES, ID_TB_REFRESH, ID_TB_LAUNCHER, ID_TB_MANUAL}));
  // Everything: seventeen, in creation order.
  EXPECT_EQ(Commands(PlanButtons(Everything())),
            (std::vector<int>{ID_TB_FOLDER_UP, ID_TB_FOLDER_BACK, ID_TB_FOLDER_FORWARD, ID_TB_FOLDER_TREE,
                              ID_TB_TOOL_PLUGIN, ID_TB_PERSON, ID_TB_LOCATION_PAGE, ID_TB_SLIDESHOW, ID_TB_IMAGE_TOOLS,
                              ID_TB_EDIT_IMAGE, ID_TB_PPC_PLUGIN, ID_TB_ROTATE, ID_TB_MOVIE, ID_TB_DISC_DRIVES,
                              ID_TB_REFRESH, ID_TB_LAUNCHER, ID_TB_MANUAL}));
  EXPECT_EQ(Groups(PlanButtons(Everything())), (std::vector<int>{0, 0, 0, 1, 2, 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4}));
  // The last button carries no label.
  EXPECT_EQ(PlanButtons(Installed()).back().labelId, 0);
}

TEST(ToolbarButtons, PluginListsOnlyFromTwoAndAtMostNine) {
  struct {
    size_t count;
    bool list;
    size_t items;
  } cases[] = {{1, false, 0}, {2, true, 2}, {9, true, 9}, {12, true, 9}};
  for (auto& c : cases) {
    Installed in;
    in.treePlugins.assign(c.count, std::string(300, 'T'));  // any title length
    in.toolPlugins.assign(c.count, "tool");
    std::vector<ButtonPlan> plans = PlanButtons(in);
    for (int command : {ID_TB_FOLDER_TREE, ID_TB_TOOL_PLUGIN}) {
      const ButtonPlan* b = Find(plans, command);
      ASSERT_TRUE(b) << c.count;
      EXPECT_EQ(b->attached == ATTACHED_ITEM_LIST, c.list) << c.count;
      EXPECT_EQ(b->items.size(), c.items) << c.count;
    }
    if (c.list) {
      const ButtonPlan* tree = Find(plans, ID_TB_FOLDER_TREE);
      EXPECT_EQ(tree->items[0].command, ID_TB_TREE_LIST + 1);
      EXPECT_EQ(tree->items[1].command, ID_TB_TREE_LIST + 2);
      EXPECT_EQ(tree->items[0].text.size(), 300u);
    }
  }
  // One conversion plug-in: the button takes files and has no list; two: a list, no files.
  Installed one;
  one.ppcPlugins = {"P"};
  const ButtonPlan* single = Find(PlanButtons(one), ID_TB_PPC_PLUGIN);
  ASSERT_TRUE(single);
  EXPECT_TRUE(single->acceptsFiles);
  EXPECT_EQ(single->attached, ATTACHED_NONE);
  std::vector<ButtonPlan> two = PlanButtons(Everything());
  EXPECT_FALSE(Find(two, ID_TB_PPC_PLUGIN)->acceptsFiles);
  EXPECT_EQ(Find(two, ID_TB_PPC_PLUGIN)->items.size(), 2u);
}

TEST(ToolbarButtons, ToolLibrariesInTheirOrder) {
  std::set<std::string> present = {"SplitClip.dll", "Rename.dll", "ScalePicture.dll"};
  std::vector<ListItem> items = ToolLibraryItems([&](const char* f) { return present.count(f) > 0; });
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].command, ID_TB_SCALE);
  EXPECT_EQ(items[1].command, ID_TB_RENAME);
  EXPECT_EQ(items[1].textId, IDS_RENAME_CAPTION);
  EXPECT_EQ(items[2].command, ID_TB_SPLIT_CLIP);
  EXPECT_STREQ(ToolLibraryFile(ID_TB_RENAME), "Rename.dll");
  EXPECT_EQ(ToolLibraryFile(ID_TB_REFRESH), nullptr);
  // A single library still gets the list.
  Installed in;
  in.toolLibraries = {items[1]};
  EXPECT_EQ(Find(PlanButtons(in), ID_TB_IMAGE_TOOLS)->items.size(), 1u);
}

TEST(ToolbarLayout, PlacesForWidths) {
  std::vector<int> none = Groups(PlanButtons(Installed()));
  std::vector<int> all = Groups(PlanButtons(Everything()));
  struct {
    const std::vector<int>* groups;
    int width;
    size_t index;
    RECT place;
  } cases[] = {
      {&none, 800, 0, {6, 4, 62, 60}},
      {&none, 800, 1, {73, 4, 111, 60}},
      {&none, 800, 2, {112, 4, 150, 60}},
      {&none, 800, 3, {181, 4, 237, 60}},    // person after the navigation group
      {&none, 800, 4, {248, 4, 304, 60}},    // new group: 11 further
      {&none, 800, 5, {315, 4, 371, 60}},    // and again
      {&none, 800, 6, {548, 4, 590, 60}},    // the last four from W - 252
      {&none, 800, 7, {594, 4, 636, 60}},
      {&none, 800, 8, {640, 4, 682, 60}},
      {&none, 800, 9, {686, 27, 784, 56}},   // the manual: 98 x 29, lower
      {&none, 252, 6, {0, 4, 42, 60}},
      {&none, 200, 1, {73, 4, 111, 60}},     // narrower than 252: the fixed places stay
      {&none, 200, 6, {-52, 4, -10, 60}},
      {&all, 800, 3, {181, 4, 237, 60}},
      {&all, 800, 13, {548, 4, 590, 60}},
      {&all, 800, 11, {675, 4, 731, 60}},    // same group: 4 further
      {&all, 800, 12, {742, 4, 798, 60}},    // no room: the row runs under the right four
  };
  for (auto& c : cases) {
    std::vector<RECT> places = LayoutButtons(*c.groups, c.width);
    ASSERT_LT(c.index, places.size());
    const RECT& r = places[c.index];
    EXPECT_EQ(std::vector<long>({r.left, r.top, r.right, r.bottom}),
              std::vector<long>({c.place.left, c.place.top, c.place.right, c.place.bottom}))
        << "width " << c.width << " index " << c.index;
  }
  // Separators: between groups, never before the last record.
  std::vector<RECT> places = LayoutButtons(none, 800);
  EXPECT_EQ(SeparatorXs(places, none), (std::vector<int>{150 + (181 - 150) / 2 + 2, 237 + (248 - 237) / 2 + 2,
                                                          304 + (315 - 304) / 2 + 2}));
  EXPECT_TRUE(SeparatorXs({}, {}).empty());
  // A list is centred under its button, 118 wide.
  POINT pt = ListOrigin({181, 4, 237, 60});
  EXPECT_EQ(pt.x, 181 - (118 - 56) / 2);
  EXPECT_EQ(pt.y, 60);
}

TEST(ToolbarStates, Message1925Masks) {
  struct {
    int command;
    DWORD mask, values;
    BOOL before, after;
  } cases[] = {
      {ID_TB_REFRESH, 0x800, 0, TRUE, FALSE},
      {ID_TB_SLIDESHOW, 0x800, 0, TRUE, FALSE},       // 0x800 reaches 27530 too
      {ID_TB_SLIDESHOW, 0x100, 0x100, FALSE, TRUE},
      {ID_TB_SLIDESHOW, 0x800, 0x100, FALSE, TRUE},   // its values are 0x900
      {ID_TB_LAUNCHER, 0x800, 0, TRUE, TRUE},         // not in the mask: kept
      {ID_TB_DISC_DRIVES, 0x1000, 0x2000, FALSE, TRUE},
      {ID_TB_PERSON, 0x1000, 0x2000, TRUE, FALSE},
      {ID_TB_FOLDER_UP, 0xFFFFFFFF, 0, TRUE, TRUE},   // not a stored-state button
      {ID_TB_MANUAL, 0xFFFFFFFF, 0, FALSE, FALSE},
      {IDC_SUBVIEW_MODE, 0x20, 0xFFFFFFFF, FALSE, TRUE},
  };
  for (auto& c : cases)
    EXPECT_EQ(StoredStateAfter(c.command, c.before, c.mask, c.values), c.after) << c.command << " " << c.mask;
  int stored = 0;
  for (int id = 27500; id <= 27545; ++id) stored += IsStoredStateToolButton(id);
  EXPECT_EQ(stored, 16);
}

TEST(ToolbarStates, EnabledByManagerState) {
  Navigation nav = {TRUE, FALSE, TRUE};
  struct {
    int state;
    int command;
    BOOL stored, now;
    EnableChange change;
  } cases[] = {
      {1, ID_TB_FOLDER_UP, TRUE, FALSE, ENABLE_ON},
      {1, ID_TB_FOLDER_BACK, TRUE, TRUE, ENABLE_OFF},
      {1, ID_TB_FOLDER_FORWARD, FALSE, FALSE, ENABLE_ON},
      {1, ID_TB_REFRESH, FALSE, TRUE, ENABLE_OFF},      // the stored state rules
      {1, ID_TB_MANUAL, FALSE, FALSE, ENABLE_ON},       // others are enabled again
      {1, ID_TB_MANUAL, FALSE, TRUE, ENABLE_KEEP},
      {4, ID_TB_MANUAL, TRUE, TRUE, ENABLE_OFF},        // a slide show runs
      {4, ID_TB_LAUNCHER, TRUE, TRUE, ENABLE_OFF},
      {4, ID_TB_FOLDER_UP, TRUE, FALSE, ENABLE_KEEP},   // navigation stays as it is
      {4, ID_TB_REFRESH, FALSE, TRUE, ENABLE_OFF},      // and refresh follows its stored state
      {4, ID_TB_REFRESH, TRUE, FALSE, ENABLE_ON},
      {2, ID_TB_MANUAL, TRUE, FALSE, ENABLE_KEEP},
      {0, ID_TB_FOLDER_UP, TRUE, FALSE, ENABLE_KEEP},
  };
  for (auto& c : cases) EXPECT_EQ(EnableFor(c.state, c.command, c.stored, c.now, nav), c.change) << c.state << " " << c.command;
}

TEST(ToolbarRelay, WrappedMessages) {
  for (UINT m : {1524u, 1600u, 1723u, (UINT)WM_TOOLBAR_FILE_LIST_REQUEST, (UINT)WM_COPYDATA, (UINT)WM_DISPLAYCHANGE,
                 (UINT)WM_POWERBROADCAST, (UINT)WM_EXITSIZEMOVE})
    EXPECT_TRUE(IsRelayedMessage(m)) << m;
  for (UINT m : {1522u, 1523u, 1724u, (UINT)WM_TOOLBAR_BUTTON_STATES, (UINT)WM_COMMAND, (UINT)WM_PAINT})
    EXPECT_FALSE(IsRelayedMessage(m)) << m;
}

TEST(ToolbarTools, TargetFlagsTextsAndFilter) {
  struct {
    int choice;
    long flags;
  } choices[] = {{1, (long)0x80000000L}, {3, (long)0x80000000L}, {2, 0x40000000L}, {5, 0x20000001L}, {4, 0}, {0, 0}};
  for (auto& c : choices) EXPECT_EQ(TargetChoiceFlags(c.choice), c.flags) << c.choice;
  // The classification takes the folder's pictures (6) as well.
  for (auto& c : choices) EXPECT_EQ(ClassifyFlags(c.choice), c.flags) << c.choice;
  EXPECT_EQ(ClassifyFlags(6), 1);
  EXPECT_EQ(PageToolMutexName(false), "Global\\Norvane PageSmith Instance");
  EXPECT_EQ(PageToolMutexName(true), "Norvane PageSmith Instance");

  EXPECT_EQ(FolderChangeText(0, "C:\\Pictures"), "0|Explorer|1|C:\\Pictures\\||");
  EXPECT_EQ(FolderChangeText(7, "C:\\"), "7|Explorer|1|C:\\||");
  std::string dbcs = "C:\\\x95\x5C";  // a trail byte 0x5C is no separator
  EXPECT_EQ(FolderChangeText(0, dbcs), "0|Explorer|1|" + dbcs + "\\||");
  // 25 characters and the zero, padded to 28.
  std::string text = FolderChangeText(0, "C:\\abcdef");
  ASSERT_EQ(text.size(), 25u);
  std::string block = FolderChangeBlock(text);
  EXPECT_EQ(block.size(), 28u);
  EXPECT_EQ(block.substr(25), std::string(3, '\0'));
  EXPECT_EQ(FolderChangeBlock("abc").size(), 4u);

  int removed = -1;
  std::vector<std::string> kept =
      KeepSupported({"a.jpg", "b.txt", "c.jpg"}, [](const std::string& p) { return p.find(".jpg") != std::string::npos; },
                    &removed);
  EXPECT_EQ(kept, (std::vector<std::string>{"a.jpg", "c.jpg"}));
  EXPECT_EQ(removed, 1);

  EXPECT_TRUE(FitsPathBlock(std::string(259, 'a')));
  EXPECT_FALSE(FitsPathBlock(std::string(260, 'a')));
  EXPECT_FALSE(FitsPathBlock(std::string(300, 'a')));
}

}  // namespace

namespace {
using namespace toolbarrules;

TEST(ToolbarMovies, FirstMovieOfTheSelection) {
  struct {
    std::vector<bool> accepted;
    int index;
    bool ask;
  } cases[] = {
      {{}, -1, false},
      {{false, false}, -1, false},
      {{true}, 0, false},
      {{true, true}, 0, true},           // more than one file: confirm
      {{false, true, true}, 1, true},    // the first accepted after a rejected one
      {{true, false, true}, 0, true},
  };
  for (auto& c : cases) {
    MoviePick pick = PickFirstMovie(c.accepted);
    EXPECT_EQ(pick.index, c.index) << c.accepted.size();
    EXPECT_EQ(pick.ask, c.ask) << c.accepted.size();
  }
}

TEST(ToolbarMovies, OutsideProgramCommandLines) {
  struct {
    int command;
    std::string movie;
    std::string program, arguments;
  } cases[] = {
      {ID_TB_MOVIE_CUT, "C:\\My Movies\\a.mts", "Core\\CutBench.exe",
       "-i -p -t -c \"C:\\My Movies\\a.mts\" -d -w 1234 -m 1147 -f \"C:\\My Movies\""},
      // A root folder keeps two backslashes before the closing quote.
      {ID_TB_MOVIE_CUT, "C:\\a.mts", "Core\\CutBench.exe", "-i -p -t -c \"C:\\a.mts\" -d -w 1234 -m 1147 -f \"C:\\\\\""},
      {ID_TB_MOVIE_EDIT, "C:\\b.mts", "Core\\CutBench.exe", "-c \"C:\\b.mts\" -r -w 0x4D2"},
      {ID_TB_MOVIE_PLAY, "C:\\b c\\d.mts", "Core\\ClipRunner.exe", "-c \"C:\\b c\\d.mts\" -m 0x40000300"},
  };
  for (auto& c : cases) {
    std::string program, arguments;
    ASSERT_TRUE(OutsideProgramCall(c.command, c.movie, 1234, &program, &arguments)) << c.movie;
    EXPECT_EQ(program, c.program);
    EXPECT_EQ(arguments, c.arguments);
  }
  std::string program, arguments;
  EXPECT_FALSE(OutsideProgramCall(ID_TB_REFRESH, "C:\\a.mts", 1, &program, &arguments));
}

}  // namespace

TEST(ToolbarSlides, CalendarViewsRefuseTheCommandsThatNeedAFolder) {
  const int kNo = 0, kStop = IDS_TB_CALENDAR_SLIDESHOW;
  struct {
    int command;
    int month, day, folder;  // the refusal in the month calendar, the day calendar, a folder
  } cases[] = {
      {ID_TB_SLIDE_PLAY, kStop, kNo, kNo},  // a day's pictures play
      {ID_SLIDE_START, kNo, kNo, kNo},      // play all runs anywhere
      {ID_TB_SLIDESHOW_SETTINGS, kStop, kStop, kNo},
      {ID_SLIDE_SETTINGS, kStop, kStop, kNo},
      {ID_TB_OPEN_SCENARIO, kStop, kStop, kNo},
      {ID_TB_SLIDE_OPEN_SCENARIO, kStop, kStop, kNo},
      {ID_TB_NEW_SLIDE_COLLECTION, kStop, kStop, kNo},
      {ID_TB_SLIDE_NEW_COLLECTION, kStop, kStop, kNo},
      {ID_TB_REFRESH, kNo, kNo, kNo},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toolbarrules::SlideCommandRefusal(c.command, true, true), c.month) << c.command;
    EXPECT_EQ(toolbarrules::SlideCommandRefusal(c.command, false, true), c.day) << c.command;
    EXPECT_EQ(toolbarrules::SlideCommandRefusal(c.command, false, false), c.folder) << c.command;
  }
}

// Item lists grow for labels that the 118-pixel rows would cut, and stay centred under
// their button.
TEST(ToolbarLayout, ItemListsFitTheirLabels) {
  struct {
    SIZE label;
    SIZE rows;
  } cases[] = {
      {{0, 0}, {118, 29}},   {{60, 12}, {118, 29}},   {{118, 12}, {118, 29}},
      {{119, 12}, {119, 29}}, {{190, 12}, {190, 29}}, {{60, 31}, {118, 31}},
  };
  for (auto& c : cases) {
    SIZE rows = ItemListRowSize(c.label);
    EXPECT_EQ(rows.cx, c.rows.cx) << c.label.cx;
    EXPECT_EQ(rows.cy, c.rows.cy) << c.label.cy;
  }
  const RECT button = {181, 4, 237, 60};
  EXPECT_EQ(ListOrigin(button).x, 150);
  EXPECT_EQ(ListOrigin(button, 190).x, 114);
  EXPECT_EQ(ListOrigin(button, 190).y, 60);
}

namespace {

// The popup's items after the actions: removed, greyed and enabled ones, and the
// conversion plug-ins' items in their place.
struct MenuAfter {
  std::set<UINT> removed, greyed, enabled;
  std::vector<std::string> ppc;  // "id text", greyed ones with a "-" first
};
MenuAfter Apply(const std::vector<MenuAction>& actions) {
  MenuAfter m;
  for (const MenuAction& a : actions) switch (a.kind) {
      case MENU_ENABLE:
      case MENU_SUBMENU: (a.enabled ? m.enabled : m.greyed).insert(a.id); break;
      case MENU_REMOVE: m.removed.insert(a.id); break;
      case MENU_PPC_PLACE: m.ppc.push_back("place"); break;
      case MENU_PPC_ITEM: m.ppc.push_back((a.enabled ? "" : "-") + std::to_string(a.id) + " " + a.text); break;
    }
  return m;
}

}  // namespace

// The tools menu follows the toolbar's buttons: items of libraries the tools list lacks go,
// the slide-show items follow their button, the conversion plug-ins' item becomes one
// "name..." per plug-in with their button and goes without it.
TEST(ToolbarMenu, ToolsMenuFollowsTheButtons) {
  const std::vector<int> allTools = {ID_TB_SCALE,         ID_TB_CONVERT,     ID_TB_RENAME,    ID_TB_DATE_IMPRINT,
                                     ID_TB_FIX_SHOT_DATE, ID_TB_GUESS_PLACE, ID_TB_SPLIT_CLIP};
  const std::vector<UINT> toolItems = {ID_TOOLS_SCALE,        ID_TOOLS_CONVERT,       ID_TOOLS_RENAME,
                                       ID_TOOLS_DATE_IMPRINT, ID_TOOLS_FIX_SHOT_DATE, ID_TOOLS_GUESS_PLACE,
                                       ID_TOOLS_SPLIT_CLIP};
  const std::vector<UINT> slideItems = {ID_SLIDESHOW_PLAY, ID_SLIDESHOW_NEW, ID_SLIDESHOW_OPEN_SCENARIO};
  auto has = [](const std::set<UINT>& set, const std::vector<UINT>& ids) {
    return std::all_of(ids.begin(), ids.end(), [&set](UINT id) { return set.count(id) != 0; });
  };
  MenuButtons in;
  in.buttons = {{ID_TB_FOLDER_TREE, true}, {ID_TB_IMAGE_TOOLS, true}, {ID_TB_EDIT_IMAGE, true},   {ID_TB_ROTATE, false},
                {ID_TB_SLIDESHOW, true},   {ID_TB_PPC_PLUGIN, true},  {ID_TB_LOCATION_PAGE, true}};
  in.toolList = allTools;
  in.imageEditor = true;
  in.ppcPlugins = {"Five", "Six"};
  in.firstItem = ID_TOOLS_PLUGIN;

  MenuAfter m = Apply(MenuActions(in));
  EXPECT_TRUE(m.removed.empty());
  EXPECT_TRUE(has(m.enabled, toolItems));
  EXPECT_TRUE(has(m.enabled, slideItems));
  EXPECT_TRUE(has(m.enabled, {ID_TOOLS_MOVIE_CUT, ID_TOOLS_MOVIE_EDIT, ID_TOOLS_MOVIE_PLAY, ID_TOOLS_SCENE_CUT,
                              ID_TOOLS_WRITER_SETTINGS, ID_FILE_IMPORT, ID_TOOLS_EDIT_IMAGE}));
  EXPECT_TRUE(has(m.greyed, {ID_TOOLS_ROTATE}));
  EXPECT_EQ(m.ppc, (std::vector<std::string>{"place", std::to_string(ID_PPC_PLUGIN_FIRST) + " Five...",
                                             std::to_string(ID_PPC_PLUGIN_FIRST + 1) + " Six..."}));

  // Greyed buttons grey their items; the tools list without two libraries loses their items.
  in.buttons = {{ID_TB_IMAGE_TOOLS, false}, {ID_TB_SLIDESHOW, false}, {ID_TB_PPC_PLUGIN, false}};
  in.toolList = {ID_TB_CONVERT, ID_TB_RENAME, ID_TB_DATE_IMPRINT, ID_TB_FIX_SHOT_DATE, ID_TB_SPLIT_CLIP};
  in.ppcPlugins = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K"};
  m = Apply(MenuActions(in));
  EXPECT_TRUE(has(m.removed, {ID_TOOLS_SCALE, ID_TOOLS_GUESS_PLACE}));
  EXPECT_TRUE(has(m.greyed, {ID_TOOLS_CONVERT, ID_TOOLS_RENAME, ID_TOOLS_SPLIT_CLIP, ID_TOOLS_MOVIE_CUT}));
  EXPECT_TRUE(has(m.greyed, slideItems));
  ASSERT_EQ(m.ppc.size(), 11u);  // ten items at most
  EXPECT_EQ(m.ppc[10], "-" + std::to_string(ID_PPC_PLUGIN_LAST) + " J...");
  EXPECT_TRUE(has(m.removed, {ID_VIEW_MAP}));  // no place page

  // Without the tools button, the conversion button or the image editor their items go.
  in.buttons = {{ID_TB_SLIDESHOW, true}};
  in.imageEditor = false;
  m = Apply(MenuActions(in));
  EXPECT_TRUE(has(m.removed, toolItems));
  EXPECT_TRUE(has(m.removed, {ID_PPC_PLUGIN_FIRST, ID_TOOLS_EDIT_IMAGE}));
  EXPECT_TRUE(m.ppc.empty());

  // Another popup (the file menu) keeps its conversion item's place as it is.
  in.buttons = {{ID_TB_FOLDER_TREE, false}, {ID_TB_PPC_PLUGIN, true}};
  in.firstItem = ID_FILE_IMPORT;
  m = Apply(MenuActions(in));
  EXPECT_TRUE(m.ppc.empty());
  EXPECT_TRUE(has(m.greyed, {ID_FILE_IMPORT}));
}

// A tip that comes while its button's list is open stands above the button (inside the
// work area), or right of it when there is no room above.
TEST(ToolbarLayout, TipsStandBesideTheOpenList) {
  const RECT work = {0, 30, 1280, 1000};
  struct {
    RECT button;
    POINT at;
  } cases[] = {
      {{181, 60, 237, 116}, {181, 38}},     // above
      {{1240, 60, 1296, 116}, {1200, 38}},  // above, kept inside on the right
      {{181, 40, 237, 96}, {239, 40}},      // no room above: on the right
  };
  for (const auto& c : cases) {
    const POINT at = TipBesideList(c.button, SIZE{80, 20}, work);
    EXPECT_EQ(at.x, c.at.x) << c.button.left << "," << c.button.top;
    EXPECT_EQ(at.y, c.at.y) << c.button.left << "," << c.button.top;
  }
}
