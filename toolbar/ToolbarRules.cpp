#include "ToolbarRules.h"

#include <VxResourceIds.h>

#include <MainWndMessages.h>
#include <VxDocument/VxDocDefs.h>
#include <textkit/path.h>

#include <stdio.h>

#include <algorithm>

namespace toolbarrules {

namespace {

struct ToolLibrary {
  const char* file;
  int command;
  int textId;
};
const ToolLibrary kToolLibraries[] = {
    {"ScalePicture.dll", ID_TB_SCALE, IDS_TB_TOOL_SCALE},
    {"ConvertKind.dll", ID_TB_CONVERT, IDS_TB_TOOL_CONVERT},
    {"Rename.dll", ID_TB_RENAME, IDS_RENAME_CAPTION},
    {"NamePrompt.dll", ID_TB_DATE_IMPRINT, IDS_TB_TOOL_DATE_IMPRINT},
    {"FixShotDate.dll", ID_TB_FIX_SHOT_DATE, IDS_TB_TOOL_FIX_SHOT_DATE},
    {"GuessPlace.dll", ID_TB_GUESS_PLACE, IDS_TB_TOOL_GUESS_PLACE},
    {"SplitClip.dll", ID_TB_SPLIT_CLIP, IDS_TB_TOOL_SPLIT_CLIP},
};

ButtonPlan Button(int command, int label, int tip, UINT n, UINT s, UINT f, UINT d, ButtonKind kind, int group) {
  ButtonPlan b;
  b.command = command;
  b.listBase = 0;
  b.labelId = label;
  b.tipId = tip;
  b.bitmaps[0] = n;
  b.bitmaps[1] = s;
  b.bitmaps[2] = f;
  b.bitmaps[3] = d;
  b.kind = kind;
  b.classKind = 1;
  b.group = group;
  b.attached = ATTACHED_NONE;
  b.acceptsFiles = false;
  b.dropTarget = false;
  return b;
}

void AttachList(ButtonPlan& b, int base, std::vector<ListItem> items) {
  b.listBase = base;
  b.attached = ATTACHED_ITEM_LIST;
  b.items = std::move(items);
}

std::vector<ListItem> PluginItems(const std::vector<std::string>& titles, int base) {
  std::vector<ListItem> items;
  for (size_t i = 0; i < titles.size() && i < kMaxPluginItems; ++i) items.push_back({base + 1 + (int)i, 0, titles[i]});
  return items;
}

}  // namespace

std::vector<ListItem> ToolLibraryItems(const std::function<bool(const char*)>& exists) {
  std::vector<ListItem> items;
  for (const ToolLibrary& t : kToolLibraries)
    if (exists(t.file)) items.push_back({t.command, t.textId, std::string()});
  return items;
}

const char* ToolLibraryFile(int command) {
  for (const ToolLibrary& t : kToolLibraries)
    if (t.command == command) return t.file;
  return nullptr;
}

std::vector<ButtonPlan> PlanButtons(const Installed& in) {
  std::vector<ButtonPlan> out;
  out.push_back(Button(ID_TB_FOLDER_UP, IDS_TB_LABEL_UP, IDS_TB_TIP_UP, IDB_TB_UP, IDB_TB_UP_SELECTED, IDB_TB_UP_FOCUS,
                     IDB_TB_UP_DISABLED, BUTTON_PLAIN, 0));
  out.push_back(Button(ID_TB_FOLDER_BACK, IDS_TB_LABEL_BACK, IDS_TB_TIP_BACK, IDB_TB_BACK, IDB_TB_BACK_SELECTED,
                     IDB_TB_BACK_FOCUS, IDB_TB_BACK_DISABLED, BUTTON_PLAIN, 0));
  out.push_back(Button(ID_TB_FOLDER_FORWARD, IDS_TB_LABEL_FORWARD, IDS_TB_TIP_FORWARD, IDB_TB_FORWARD,
                     IDB_TB_FORWARD_SELECTED, IDB_TB_FORWARD_FOCUS, IDB_TB_FORWARD_DISABLED, BUTTON_PLAIN, 0));
  if (!in.treePlugins.empty()) {
    ButtonPlan b = Button(ID_TB_FOLDER_TREE, IDS_TB_LABEL_TREE, IDS_TB_TIP_TREE, IDB_TB_TREE, IDB_TB_TREE_SELECTED,
                        IDB_TB_TREE_FOCUS, IDB_TB_TREE_DISABLED, BUTTON_PLAIN, 1);
    if (in.treePlugins.size() >= 2) AttachList(b, ID_TB_TREE_LIST, PluginItems(in.treePlugins, ID_TB_TREE_LIST));
    out.push_back(b);
  }
  if (!in.toolPlugins.empty()) {
    ButtonPlan b = Button(ID_TB_TOOL_PLUGIN, IDS_TB_LABEL_PLUGIN, IDS_TB_TIP_PLUGIN, IDB_TB_PLUGIN,
                        IDB_TB_PLUGIN_SELECTED, IDB_TB_PLUGIN_FOCUS, IDB_TB_PLUGIN_DISABLED, BUTTON_OWNED, 2);
    b.acceptsFiles = b.dropTarget = true;
    if (in.toolPlugins.size() >= 2) AttachList(b, ID_TB_PLUGIN_LIST, PluginItems(in.toolPlugins, ID_TB_PLUGIN_LIST));
    out.push_back(b);
  }
  {
    ButtonPlan b = Button(ID_TB_PERSON, IDS_TB_LABEL_PERSON, IDS_TB_TIP_PERSON, IDB_TB_PERSON, IDB_TB_PERSON_SELECTED,
                        IDB_TB_PERSON_FOCUS, IDB_TB_PERSON_DISABLED, BUTTON_PLAIN, 2);
    AttachList(b, ID_TB_PERSON_EDITOR,
               {{ID_TB_PERSON_EDITOR, IDS_TB_PERSON_EDITOR, ""},
                {ID_TB_PERSON_CLASSIFY, IDS_TB_PERSON_CLASSIFY, ""},
                {ID_TB_PERSON_PICKER, IDS_TB_PERSON_PICKER, ""}});
    out.push_back(b);
  }
  if (in.locationPage)
    out.push_back(Button(ID_TB_LOCATION_PAGE, IDS_TB_LABEL_LOCATION, IDS_TB_TIP_LOCATION, IDB_TB_LOCATION,
                       IDB_TB_LOCATION_SELECTED, IDB_TB_LOCATION_FOCUS, IDB_TB_LOCATION_DISABLED, BUTTON_PLAIN, 2));
  {
    ButtonPlan b = Button(ID_TB_SLIDESHOW, IDS_TB_LABEL_SLIDESHOW, IDS_TB_TIP_SLIDESHOW, IDB_TB_SLIDESHOW,
                        IDB_TB_SLIDESHOW_SELECTED, IDB_TB_SLIDESHOW_FOCUS, IDB_TB_SLIDESHOW_DISABLED, BUTTON_PLAIN, 3);
    AttachList(b, ID_TB_SLIDE_PLAY,
               {{ID_TB_SLIDE_PLAY, IDS_TB_SLIDE_PLAY, ""},
                {ID_TB_SLIDE_NEW_COLLECTION, IDS_TB_SLIDE_NEW_COLLECTION, ""},
                {ID_TB_SLIDE_OPEN_SCENARIO, IDS_TB_SLIDE_OPEN_SCENARIO, ""}});
    out.push_back(b);
  }
  if (!in.toolLibraries.empty()) {
    ButtonPlan b = Button(ID_TB_IMAGE_TOOLS, IDS_TB_LABEL_TOOLS, IDS_TB_TIP_TOOLS, IDB_TB_TOOLS, IDB_TB_TOOLS_SELECTED,
                        IDB_TB_TOOLS_FOCUS, IDB_TB_TOOLS_DISABLED, BUTTON_PLAIN, 3);
    b.dropTarget = true;
    AttachList(b, ID_TB_TOOLS_LIST, in.toolLibraries);
    out.push_back(b);
  }
  if (in.imageEditor) {
    ButtonPlan b = Button(ID_TB_EDIT_IMAGE, IDS_TB_LABEL_EDIT, IDS_TB_TIP_EDIT, IDB_TB_EDIT, IDB_TB_EDIT_SELECTED,
                        IDB_TB_EDIT_FOCUS, IDB_TB_EDIT_DISABLED, BUTTON_OWNED, 3);
    b.acceptsFiles = b.dropTarget = true;
    out.push_back(b);
  }
  if (!in.ppcPlugins.empty()) {
    ButtonPlan b = Button(ID_TB_PPC_PLUGIN, IDS_TB_LABEL_PPC, IDS_TB_TIP_PPC, IDB_TB_PLUGIN, IDB_TB_PLUGIN_SELECTED,
                        IDB_TB_PLUGIN_FOCUS, IDB_TB_PLUGIN_DISABLED, BUTTON_OWNED, 3);
    b.dropTarget = true;
    if (in.ppcPlugins.size() == 1)
      b.acceptsFiles = true;
    else
      AttachList(b, ID_TB_PPC_LIST, PluginItems(in.ppcPlugins, ID_TB_PPC_LIST));
    out.push_back(b);
  }
  if (in.turnPicture) {
    ButtonPlan b = Button(ID_TB_ROTATE, IDS_BROWSER_ROTATE_CAPTION, IDS_TB_TIP_ROTATE, IDB_TB_ROTATE,
                        IDB_TB_ROTATE_SELECTED, IDB_TB_ROTATE_FOCUS, IDB_TB_ROTATE_DISABLED, BUTTON_OWNED, 3);
    b.acceptsFiles = b.dropTarget = true;
    out.push_back(b);
  }
  {
    ButtonPlan b = Button(ID_TB_MOVIE, IDS_TB_LABEL_MOVIE, IDS_TB_LABEL_MOVIE, IDB_TB_MOVIE, IDB_TB_MOVIE_SELECTED,
                        IDB_TB_MOVIE_FOCUS, IDB_TB_MOVIE_DISABLED, BUTTON_PLAIN, 4);
    AttachList(b, ID_TB_MOVIE_LIST, {{ID_TB_MOVIE_CUT, IDS_TB_MOVIE_CUT, ""}, {ID_TB_MOVIE_PLAY, IDS_TB_MOVIE_PLAY, ""}});
    out.push_back(b);
  }
  {
    // Its items are made from the drives at each press.
    ButtonPlan b = Button(ID_TB_DISC_DRIVES, IDS_TB_LABEL_DISC, IDS_TB_LABEL_DISC, IDB_TB_DISC, IDB_TB_DISC_SELECTED,
                        IDB_TB_DISC_FOCUS, IDB_TB_DISC_DISABLED, BUTTON_PLAIN, 4);
    b.listBase = ID_TB_DISC_LIST;
    out.push_back(b);
  }
  out.push_back(Button(ID_TB_REFRESH, IDS_TB_LABEL_REFRESH, IDS_TB_TIP_REFRESH, IDB_TB_REFRESH, IDB_TB_REFRESH_SELECTED,
                     IDB_TB_REFRESH_FOCUS, IDB_TB_REFRESH_DISABLED, BUTTON_PLAIN, 4));
  {
    ButtonPlan b = Button(ID_TB_LAUNCHER, IDS_OPTIONS_TAB_LAUNCHER, IDS_TB_TIP_LAUNCHER, IDB_TB_LAUNCHER,
                        IDB_TB_LAUNCHER_SELECTED, IDB_TB_LAUNCHER_FOCUS, IDB_TB_LAUNCHER_DISABLED, BUTTON_OWNED, 4);
    b.classKind = 2;
    b.listBase = ID_TB_LAUNCHER_LIST;
    b.attached = ATTACHED_LAUNCHER;
    b.dropTarget = true;
    out.push_back(b);
  }
  // The last button carries no label.
  out.push_back(Button(ID_TB_MANUAL, 0, IDS_TB_TIP_MANUAL, IDB_TB_MANUAL, IDB_TB_MANUAL_SELECTED, IDB_TB_MANUAL_FOCUS,
                     IDB_TB_MANUAL_DISABLED, BUTTON_PLAIN, 4));
  return out;
}

std::vector<RECT> LayoutButtons(const std::vector<int>& groups, int width) {
  const int n = (int)groups.size();
  std::vector<RECT> out;
  int x = 6;
  int previousGroup = 0;
  for (int i = 0; i < n; ++i) {
    if (i > 0) x += groups[i] != previousGroup ? 11 : 4;
    previousGroup = groups[i];
    // The navigation buttons keep their places; the last four stand at the right.
    if (i == 1) x = 73;
    if (i == 2) x = 112;
    if (i == 3) x = 181;
    if (i >= 4 && i == n - 4) x = width - 252;
    int w = 56, h = 56, y = 4;
    if (i == 1 || i == 2) {
      w = 38;
    } else if (i == n - 1) {
      w = 98;
      h = 29;
      y = 27;
    } else if (i >= n - 4 && i <= n - 2) {
      w = 42;
    }
    out.push_back({x, y, x + w, y + h});
    x += w;
  }
  return out;
}

std::vector<int> SeparatorXs(const std::vector<RECT>& places, const std::vector<int>& groups) {
  std::vector<int> xs;
  // The last record is never looked at: it always joins the group before it.
  for (size_t i = 1; i + 1 < places.size() && i < groups.size(); ++i) {
    if (groups[i] == groups[i - 1]) continue;
    int previousRight = places[i - 1].right;
    xs.push_back(previousRight + (places[i].left - previousRight) / 2 + 2);
  }
  return xs;
}

POINT ListOrigin(const RECT& button, int listWidth) {
  int width = button.right - button.left;
  return {button.left - (listWidth - width) / 2, button.bottom};
}

SIZE ItemListRowSize(SIZE widestLabel) {
  return {std::max<LONG>(kListWidth, widestLabel.cx), std::max<LONG>(kListRowHeight, widestLabel.cy)};
}

namespace {
struct StateBits {
  int command;
  DWORD mask;
  DWORD values;
};
const StateBits kStateBits[] = {
    {ID_TB_FOLDER_TREE, 0x1, 0x1},       {ID_TB_IMAGE_TOOLS, 0x2, 0x2},
    {ID_TB_EDIT_IMAGE, 0x4, 0x4},        {ID_TB_ROTATE, 0x8, 0x8},
    {ID_TB_TOOL_PLUGIN, 0x10, 0x10},     {IDC_SUBVIEW_MODE, 0x20, 0x20},
    {IDC_SUBVIEW_SORT, 0x40, 0x40},      {IDC_SUBVIEW_FILTER, 0x80, 0x80},
    {ID_TB_LAUNCHER, 0x100, 0x100},      {ID_TB_PPC_PLUGIN, 0x200, 0x200},
    {ID_TB_LOCATION_PAGE, 0x400, 0x400}, {ID_TB_REFRESH, 0x800, 0x800},
    {ID_TB_SLIDESHOW, 0x900, 0x900},     {ID_TB_PERSON, 0x1000, 0x1000},
    {ID_TB_MOVIE, 0x2000, 0x2000},       {ID_TB_DISC_DRIVES, 0x3000, 0x3000},
};
const StateBits* FindStateBits(int command) {
  for (const StateBits& s : kStateBits)
    if (s.command == command) return &s;
  return nullptr;
}
}  // namespace

bool IsStoredStateToolButton(int command) { return FindStateBits(command) != nullptr; }

BOOL StoredStateAfter(int command, BOOL stored, DWORD mask, DWORD values) {
  const StateBits* bits = FindStateBits(command);
  if (!bits || !(mask & bits->mask)) return stored;
  return (values & bits->values) != 0;
}

EnableChange EnableFor(int state, int command, BOOL stored, BOOL enabledNow, const Navigation& nav) {
  auto want = [](BOOL on) { return on ? ENABLE_ON : ENABLE_OFF; };
  if (state == 1) {
    if (command == ID_TB_FOLDER_UP) return want(nav.canUp);
    if (command == ID_TB_FOLDER_BACK) return want(nav.canBack);
    if (command == ID_TB_FOLDER_FORWARD) return want(nav.canForward);
    if (IsStoredStateToolButton(command)) return want(stored);
    return enabledNow ? ENABLE_KEEP : ENABLE_ON;
  }
  if (state == 4) {
    // A slide show runs: only the navigation and the refresh stay usable.
    bool spared = (command >= ID_TB_REFRESH && command <= IDC_SUBVIEW_FILTER) ||
                  (command >= ID_TB_FOLDER_UP && command <= ID_TB_FOLDER_FORWARD);
    if (!spared) return ENABLE_OFF;
    if (IsStoredStateToolButton(command)) return want(stored);
    return ENABLE_KEEP;
  }
  return ENABLE_KEEP;
}

bool IsRelayedMessage(UINT message) {
  return (message >= 1524 && message <= 1723) || message == WM_TOOLBAR_FILE_LIST_REQUEST || message == WM_COPYDATA ||
         message == WM_DISPLAYCHANGE || message == WM_POWERBROADCAST || message == WM_EXITSIZEMOVE;
}

int LabelLeft(const RECT& text, int wideLength) {
  int width = text.right - text.left;
  return text.left + width / (2 * (wideLength + 1));
}

bool FitsPathBlock(const std::string& path) { return path.size() < MAX_PATH; }

long TargetChoiceFlags(int choice) {
  switch (choice) {
    case 1:
    case 3:
      return (long)0x80000000L;
    case 2:
      return 0x40000000L;
    case 5:
      return 0x20000001L;
    default:
      return 0;
  }
}

std::string PageToolMutexName(bool win98) {
  const std::string name = "Norvane PageSmith Instance";
  return win98 ? name : "Global\\" + name;
}

long ClassifyFlags(int choice) { return choice == 6 ? 1 : TargetChoiceFlags(choice); }

std::string FolderChangeText(int pluginId, const std::string& folder) {
  return std::to_string(pluginId) + "|Explorer|1|" + textkit::WithTrailingSeparator(folder) + "||";
}

std::string FolderChangeBlock(const std::string& text) {
  std::string block = text;
  block.push_back('\0');
  while (block.size() % 4) block.push_back('\0');
  return block;
}

std::vector<std::string> KeepSupported(const std::vector<std::string>& paths,
                                       const std::function<bool(const std::string&)>& supported, int* pRemoved) {
  std::vector<std::string> kept;
  int removed = 0;
  for (const std::string& path : paths) {
    if (supported(path))
      kept.push_back(path);
    else
      ++removed;
  }
  if (pRemoved) *pRemoved = removed;
  return kept;
}

MoviePick PickFirstMovie(const std::vector<bool>& accepted) {
  MoviePick pick = {-1, false};
  bool rejectedMet = false;
  for (size_t i = 0; i < accepted.size(); ++i) {
    if (accepted[i]) {
      if (pick.index < 0) pick.index = (int)i;
      if (rejectedMet) break;
    } else {
      rejectedMet = true;
      if (pick.index >= 0) break;
    }
  }
  if (pick.index >= 0) pick.ask = accepted.size() > 1 || rejectedMet;
  return pick;
}

bool OutsideProgramCall(int command, const std::string& movie, unsigned long long mainWindow, std::string* program,
                        std::string* arguments) {
  char sz[64];
  if (command == ID_TB_MOVIE_CUT) {
    std::string folder = textkit::FolderPartOf(movie);
    // Drive and folder without the trailing backslash; a root's lone one is doubled so
    // that the closing quote is not escaped.
    std::string bare = textkit::WithoutTrailingSeparator(folder);
    if (bare.size() >= 1 && textkit::EndsWithSeparator(bare)) bare += "\\";
    snprintf(sz, sizeof sz, " -w %llu -m %d -f ", mainWindow, WM_TOOL_STARTED);
    *program = "Core\\CutBench.exe";
    *arguments = "-i -p -t -c \"" + movie + "\" -d" + sz + "\"" + bare + "\"";
    return true;
  }
  if (command == ID_TB_MOVIE_EDIT) {
    snprintf(sz, sizeof sz, " -w 0x%llX", mainWindow);
    *program = "Core\\CutBench.exe";
    *arguments = "-c \"" + movie + "\" -r" + sz;
    return true;
  }
  if (command == ID_TB_MOVIE_PLAY) {
    *program = "Core\\ClipRunner.exe";
    *arguments = "-c \"" + movie + "\" -m 0x40000300";
    return true;
  }
  return false;
}

int SlideCommandRefusal(int command, bool monthView, bool calendarView) {
  switch (command) {
    case ID_TB_SLIDE_PLAY: return monthView ? IDS_TB_CALENDAR_SLIDESHOW : 0;
    case ID_TB_SLIDESHOW_SETTINGS:
    case ID_SLIDE_SETTINGS:
    case ID_TB_OPEN_SCENARIO:
    case ID_TB_SLIDE_OPEN_SCENARIO:
    case ID_TB_NEW_SLIDE_COLLECTION:
    case ID_TB_SLIDE_NEW_COLLECTION: return calendarView ? IDS_TB_CALENDAR_SLIDESHOW : 0;
    default: return 0;
  }
}

std::vector<MenuAction> MenuActions(const MenuButtons& in) {
  std::vector<MenuAction> out;
  auto follow = [&out](std::initializer_list<UINT> ids, bool enabled) {
    for (UINT id : ids) out.push_back({MENU_ENABLE, id, enabled, std::string()});
  };
  auto has = [&in](int command) {
    return std::any_of(in.buttons.begin(), in.buttons.end(),
                       [command](const std::pair<int, bool>& b) { return b.first == command; });
  };
  // The tools list's items and the menu's.
  static const std::pair<int, UINT> kListItems[] = {
      {ID_TB_SCALE, ID_TOOLS_SCALE},
      {ID_TB_CONVERT, ID_TOOLS_CONVERT},
      {ID_TB_RENAME, ID_TOOLS_RENAME},
      {ID_TB_DATE_IMPRINT, ID_TOOLS_DATE_IMPRINT},
      {ID_TB_FIX_SHOT_DATE, ID_TOOLS_FIX_SHOT_DATE},
      {ID_TB_GUESS_PLACE, ID_TOOLS_GUESS_PLACE},
      {ID_TB_SPLIT_CLIP, ID_TOOLS_SPLIT_CLIP},
  };
  for (const std::pair<int, bool>& b : in.buttons) {
    const bool on = b.second;
    switch (b.first) {
      case ID_TB_FOLDER_TREE: follow({ID_FILE_IMPORT}, on); break;
      case ID_TB_IMAGE_TOOLS:
        for (const auto& item : kListItems) {
          const bool listed = std::find(in.toolList.begin(), in.toolList.end(), item.first) != in.toolList.end();
          out.push_back({listed ? MENU_ENABLE : MENU_REMOVE, item.second, on, std::string()});
        }
        for (UINT first : {ID_TOOLS_MOVIE_CUT, ID_TOOLS_MOVIE_EDIT, ID_TOOLS_MOVIE_PLAY})
          out.push_back({MENU_SUBMENU, first, on, std::string()});
        follow({ID_TOOLS_SCENE_CUT, ID_TOOLS_WRITER_SETTINGS}, on);
        break;
      case ID_TB_EDIT_IMAGE: follow({ID_TOOLS_EDIT_IMAGE}, on); break;
      case ID_TB_ROTATE: follow({ID_TOOLS_ROTATE}, on); break;
      case ID_TB_TOOL_PLUGIN: follow({ID_TOOLS_PLUGIN}, on); break;
      case ID_TB_REFRESH: follow({ID_VIEW_REFRESH}, on); break;
      case ID_TB_SLIDESHOW: follow({ID_SLIDESHOW_PLAY, ID_SLIDESHOW_NEW, ID_SLIDESHOW_OPEN_SCENARIO}, on); break;
      case ID_TB_PPC_PLUGIN:
        if (in.firstItem != ID_TOOLS_PLUGIN) break;
        out.push_back({MENU_PPC_PLACE, ID_PPC_PLUGIN_FIRST, on, std::string()});
        for (size_t i = 0; i < in.ppcPlugins.size() && ID_PPC_PLUGIN_FIRST + i <= ID_PPC_PLUGIN_LAST; ++i)
          out.push_back({MENU_PPC_ITEM, (UINT)(ID_PPC_PLUGIN_FIRST + i), on, in.ppcPlugins[i] + "..."});
        break;
      default: break;
    }
  }
  if (!has(ID_TB_IMAGE_TOOLS))
    for (const auto& item : kListItems) out.push_back({MENU_REMOVE, item.second, false, std::string()});
  if (!in.imageEditor) out.push_back({MENU_REMOVE, ID_TOOLS_EDIT_IMAGE, false, std::string()});
  if (!has(ID_TB_PPC_PLUGIN)) out.push_back({MENU_REMOVE, ID_PPC_PLUGIN_FIRST, false, std::string()});
  if (!has(ID_TB_LOCATION_PAGE)) out.push_back({MENU_REMOVE, ID_VIEW_MAP, false, std::string()});
  return out;
}

POINT TipBesideList(const RECT& button, SIZE tip, const RECT& work) {
  const int gap = 2;
  if (button.top - gap - tip.cy >= work.top)
    return {std::max((int)work.left, std::min((int)button.left, (int)work.right - (int)tip.cx)),
            button.top - gap - tip.cy};
  return {button.right + gap, button.top};
}

bool ViewClosesSlideCollection(int viewCode) { return viewCode == CGVIEW_MONTH || viewCode == CGVIEW_DAY; }

}  // namespace toolbarrules
