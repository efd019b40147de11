// VxResource.dll as the modules see it: strings in code page 932, dialogs that can be
// created with the control ids their users drive, menus laid out as the frame expects,
// bitmaps at the sizes their painters assume.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "VxResourceIds.h"

namespace {

struct TableRow {
  char kind;  // S string, D dialog, B bitmap, I icon, M menu
  const char* name;
  int id;
};
const TableRow kAllResources[] = {
#include "resource_table.inc"
};

class VxResource : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExA("VxResource.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VxResourceTestParent";
    RegisterClassA(&wc);
    parent_ = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr, wc.hInstance, nullptr);
  }
  static void TearDownTestSuite() {
    if (parent_) DestroyWindow(parent_);
    if (module_) FreeLibrary(module_);
    parent_ = nullptr;
    module_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(module_ != nullptr) << "VxResource.dll did not load: " << GetLastError(); }

  static std::string Str(UINT id) {
    char buf[4096] = {};
    int n = LoadStringA(module_, id, buf, sizeof(buf));
    return std::string(buf, n > 0 ? n : 0);
  }

  static HMODULE module_;
  static HWND parent_;  // hidden owner of the dialogs under test
};
HMODULE VxResource::module_ = nullptr;
HWND VxResource::parent_ = nullptr;

std::string To932(const wchar_t* w) {
  char buf[4096] = {};
  WideCharToMultiByte(932, 0, w, -1, buf, sizeof(buf), nullptr, nullptr);
  return buf;
}

// The conversion letters of a printf format, "%%" skipped: "%s (%d / %d)" gives "sdd".
std::string Conversions(const std::string& f) {
  std::string out;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') continue;
    if (i + 1 < f.size() && f[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < f.size() && strchr("-+ #0123456789.lhI", f[j])) ++j;
    if (j < f.size()) out += f[j];
    i = j;
  }
  return out;
}

// ----------------------------------------------------------------------------- strings
TEST_F(VxResource, EveryResourceOfTheHeaderIsInTheLibrary) {
  for (const TableRow& r : kAllResources) {
    SCOPED_TRACE(r.name);
    switch (r.kind) {
      case 'S':
        EXPECT_FALSE(Str(r.id).empty());
        break;
      case 'D':
        EXPECT_TRUE(FindResourceA(module_, MAKEINTRESOURCEA(r.id), MAKEINTRESOURCEA(5)) != nullptr);
        break;
      case 'B':
        EXPECT_TRUE(FindResourceA(module_, MAKEINTRESOURCEA(r.id), MAKEINTRESOURCEA(2)) != nullptr);
        break;
      case 'I':
        EXPECT_TRUE(FindResourceA(module_, MAKEINTRESOURCEA(r.id), MAKEINTRESOURCEA(14)) != nullptr);
        break;
      case 'M':
        EXPECT_TRUE(FindResourceA(module_, MAKEINTRESOURCEA(r.id), MAKEINTRESOURCEA(4)) != nullptr);
        break;
      case 'C': {
        HCURSOR h = (HCURSOR)LoadImageA(module_, MAKEINTRESOURCEA(r.id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
        EXPECT_TRUE(h != nullptr);
        if (h) DestroyCursor(h);
        break;
      }
    }
  }
}

TEST_F(VxResource, StringsComeBackInCodePage932) {
  struct Case {
    UINT id;
    const wchar_t* text;
  };
  const Case cases[] = {
      {AFX_IDS_APP_TITLE, L"Glimora"},
      {IDS_UI_FONT_FACE, L"MS UI Gothic"},
      {IDS_UI_FONT_HEIGHT, L"12"},
      {IDS_SHELL_MDAC_TOO_OLD, L"Microsoft Data Access Components (MDAC) 2.5 以上が必要です。"},
      {IDS_STATUS_MARK_COUNT, L"マーク: %d"},
      {IDS_SORT_SHOT_DESC, L"撮影日時 (新しい順)"},
      {IDS_FILTER_MOVIES, L"動画"},
      {IDS_PATH_INVALID_CHARS, L"/:*?\"<>|"},
      {IDS_BROWSER_NO_SELECTION, L"ファイルが選択されていません。"},
      {IDS_PROP_MAKER, L"メーカー"},
      {IDS_SIZE_KB, L"%.2f KB (%s バイト)"},
      {IDS_CAL_DAY, L"日表示"},
      {IDS_PANES_REFRESHING, L"フォルダの情報を更新しています。\nしばらくお待ちください..."},
      {IDS_AUTORUN_START_FORMAT, L"%s を起動(&S)"},
      {ID_FILE_DELETE, L"選択したファイルを削除します\n削除"},
      {IDR_MAINFRAME, L"Glimora\n\nGlimora\n\n\nGlimora.Document\nGlimora Document"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(Str(c.id), To932(c.text));
  }
}

// Strings the modules format: the conversions must match the arguments they pass.
TEST_F(VxResource, FormatStringsTakeTheArgumentsTheirUsersPass) {
  struct Case {
    UINT id;
    const char* conversions;
  };
  const Case cases[] = {
      {IDS_SHELL_LOW_RESOURCES, "d"},       {IDS_SHELL_LOW_DISK_SPACE, "d"},
      {IDS_SHELL_ACCOUNT_ERROR, "sd"},      {IDS_SHELL_MDAC_TOO_OLD, ""},
      {IDS_SHELL_TREE_PROMPT_FORMAT, "s"},  {IDS_SHELL_PPC_PROMPT_FORMAT, "s"},
      {IDS_STATUS_FILE_COUNT, "d"},         {IDS_STATUS_SELECT_COUNT, "d"},
      {IDS_STATUS_MARK_COUNT, "d"},         {IDS_FILE_PROGRESS_FORMAT, "sdd"},
      {IDS_BROWSER_ROTATE_PROGRESS, "sdd"}, {IDS_BROWSER_ROTATE_READONLY, "s"},
      {IDS_BROWSER_FAVORITE_WARNING, "s"},  {IDS_BROWSER_CLASSIFY_DELETE_ONE, "s"},
      {IDS_BROWSER_CLASSIFY_DELETE_N, "d"}, {IDS_BROWSER_SIMILAR_REFUSED, "s"},
      {IDS_BROWSER_SIMILAR_REFUSED_N, "d"}, {IDS_BROWSER_SIMILAR_FAILED, "s"},
      {IDS_BROWSER_SIMILAR_FAILED_N, "d"},  {IDS_BROWSER_SIMILAR_DONE, "ss"},
      {IDS_BROWSER_SIMILAR_DONE_N, "sd"},   {IDS_BROWSER_DELETE_ONE, "s"},
      {IDS_BROWSER_FOLDER_MISSING, "s"},    {IDS_BROWSER_FILE_MISSING, "s"},
      {IDS_PROP_IMAGE_SIZE_FORMAT, "dd"},   {IDS_PROP_COLORS_FORMAT, "d"},
      {IDS_SIZE_BYTES, "ss"},               {IDS_SIZE_KB, "fs"},
      {IDS_SIZE_MB, "fs"},                  {IDS_SIZE_GB, "fs"},
      {IDS_CAL_TIP_COUNT, "d"},             {IDS_MOVIE_NEEDS_PLAYER, ""},
      {IDS_AUTORUN_START_FORMAT, "s"},      {IDS_AUTORUN_CLOSE_FORMAT, "s"},
      {IDS_PICTOOL_FAILED, "ss"},           {IDS_PICTOOL_OVERWRITE_ASK, "s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    std::string s = Str(c.id);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(Conversions(s), c.conversions) << s;
  }
  char buf[256];
  snprintf(buf, sizeof(buf), Str(IDS_SHELL_LOW_RESOURCES).c_str(), 30);
  EXPECT_NE(std::string(buf).find("30%"), std::string::npos);
}

// Tooltips split at "\n"; the splitter tips are whole strings.
TEST_F(VxResource, CommandPromptsCarryTheirTooltipAfterANewline) {
  for (UINT id : {ID_VIEWMODE_LARGE_ICONS, ID_VIEWMODE_FOCUS, ID_VIEWMODE_ZOOM, ID_VIEWMODE_MONTH, ID_EDIT_COPY, ID_GO_BACK}) {
    std::string s = Str(id);
    size_t nl = s.find('\n');
    ASSERT_NE(nl, std::string::npos) << id;
    EXPECT_GT(nl, 0u);
    EXPECT_GT(s.size(), nl + 1);
  }
  for (UINT id : {ID_VIEW_FOLDER_PANE, ID_VIEW_EXPORT_PANE}) EXPECT_EQ(Str(id).find('\n'), std::string::npos) << id;
}

// ----------------------------------------------------------------------------- dialogs
INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

struct ControlCase {
  int id;
  const char* cls;
  LONG type;  // the style's type bits (button, list or combo type), -1 to leave
  bool visible;
  LONG style = 0;  // further style bits the control must have
};
struct DialogCase {
  UINT id;
  bool child;  // a page or form: child style, no caption
  std::vector<ControlCase> controls;
};

const LONG kNoType = -1;

std::vector<DialogCase> DialogCases() {
  return {
      {IDD_ABOUT_AUTORUN, false, {{IDOK, "Button", BS_DEFPUSHBUTTON, true}}},
      {IDD_CLASSIFY_FOLDER,
       false,
       {{IDC_CLASSIFY_TITLE, "Static", kNoType, true},
        {IDC_CLASSIFY_FOLDER, "Edit", kNoType, true},
        {IDC_CLASSIFY_BROWSE, "Button", BS_PUSHBUTTON, true},
        {IDC_CLASSIFY_SUBFOLDERS, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_CLASSIFY_NO_SUBFOLDERS, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_CLASSIFY_DESKTOP, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_CLASSIFY_NO_DESKTOP, "Button", BS_AUTORADIOBUTTON, true},
        {IDOK, "Button", BS_DEFPUSHBUTTON, true},
        {IDCANCEL, "Button", BS_PUSHBUTTON, true}}},
      {IDD_AUTORUN_SETTING,
       true,
       {{IDC_AUTORUN_START, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_AUTORUN_VIEWER, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_AUTORUN_NONE, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_FIRST_CLASSIFY_OFF, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_FIRST_CLASSIFY_ON, "Button", BS_AUTORADIOBUTTON, true}}},
      {IDD_MUSIC_FOLDER,
       true,
       {{IDC_MUSIC_FOLDER, "Edit", kNoType, true, ES_READONLY}, {IDC_MUSIC_BROWSE, "Button", BS_PUSHBUTTON, true}}},
      {IDD_ABOUT,
       false,
       {{IDC_ABOUT_VERSION, "Static", kNoType, true},
        {IDC_ABOUT_COPYRIGHT, "Static", kNoType, true},
        {IDC_ABOUT_NOTICES, "Edit", kNoType, true, ES_READONLY | ES_MULTILINE | WS_VSCROLL},
        {IDC_ABOUT_MODULES, "SysListView32", LVS_REPORT, true},
        {IDC_ABOUT_VERSION_INFO, "Static", kNoType, true},
        {IDOK, "Button", BS_DEFPUSHBUTTON, true}}},
      {IDD_INFO_TEXT, false, {{IDOK, "Button", BS_DEFPUSHBUTTON, true}}},
      {IDD_DELETE_CONFIRM,
       false,
       {{IDC_DELETE_MESSAGE, "Static", kNoType, true},
        {IDC_DELETE_YES, "Button", BS_DEFPUSHBUTTON, true},
        {IDC_DELETE_NO, "Button", BS_PUSHBUTTON, true}}},
      {IDD_ROTATION_PROGRESS,
       false,
       {{IDC_ROTATION_TEXT, "Static", kNoType, true}, {IDC_ROTATION_PROGRESS, "msctls_progress32", kNoType, true}}},
      {IDD_FOLDER_PANE, true, {}},
      {IDD_EXPORT_PANE, true, {}},
      {IDD_TARGET_CHOICE,
       false,
       {{IDC_TARGET_GROUP, "Button", BS_GROUPBOX, true},
        {IDC_TARGET_MARKED, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_TARGET_SHOWN, "Button", BS_AUTORADIOBUTTON, true},
        {IDC_TARGET_SELECTED_ONLY, "Button", BS_AUTOCHECKBOX, true},
        {IDC_TARGET_SELECTED, "Button", BS_AUTORADIOBUTTON, false},
        {IDC_TARGET_ALL, "Button", BS_AUTORADIOBUTTON, false},
        {IDOK, "Button", BS_DEFPUSHBUTTON, true},
        {IDCANCEL, "Button", BS_PUSHBUTTON, true}}},
      {IDD_TOOLBAR_PANE, true, {}},
      {IDD_NOTICE, false, {}},
      {IDD_PROGRESS_MESSAGE, false, {{IDC_PROGRESS_MESSAGE_TEXT, "Static", kNoType, true}}},
      {IDD_YES_NO,
       false,
       {{IDC_YESNO_TEXT, "Static", kNoType, true},
        {IDC_YESNO_DONT_ASK, "Button", BS_AUTOCHECKBOX, true},
        {IDYES, "Button", BS_DEFPUSHBUTTON, true},
        {IDNO, "Button", BS_PUSHBUTTON, true}}},
      {IDD_PATH_INPUT,
       false,
       {{IDC_PATH_COMBO, "ComboBox", CBS_DROPDOWN, true},
        {IDOK, "Button", BS_DEFPUSHBUTTON, true},
        {IDCANCEL, "Button", BS_PUSHBUTTON, true}}},
      {IDD_PROGRESS,
       false,
       {{IDC_PROGRESS_TEXT, "Static", kNoType, true},
        {IDC_PROGRESS_BAR, "msctls_progress32", kNoType, true},
        {IDCANCEL, "Button", BS_PUSHBUTTON, true}}},
      {IDD_CALENDAR_WAIT, false, {}},
  };
}

LONG TypeBits(const char* cls, LONG style) {
  if (!strcmp(cls, "Button")) return style & BS_TYPEMASK;
  if (!strcmp(cls, "SysListView32")) return style & LVS_TYPEMASK;
  if (!strcmp(cls, "ComboBox")) return style & 3;
  return kNoType;
}

TEST_F(VxResource, DialogsCreateWithTheControlsTheirUsersDrive) {
  ASSERT_TRUE(parent_ != nullptr);
  for (const DialogCase& d : DialogCases()) {
    SCOPED_TRACE(d.id);
    HWND dlg = CreateDialogParamA(module_, MAKEINTRESOURCEA(d.id), parent_, PlainDialogProc, 0);
    ASSERT_TRUE(dlg != nullptr) << GetLastError();
    LONG style = GetWindowLongA(dlg, GWL_STYLE);
    EXPECT_EQ((style & WS_CHILD) != 0, d.child);
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, !d.child);

    LOGFONTA lf = {};
    HFONT font = (HFONT)SendMessageA(dlg, WM_GETFONT, 0, 0);
    ASSERT_TRUE(font != nullptr);
    GetObjectA(font, sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, "MS UI Gothic");

    for (const ControlCase& c : d.controls) {
      SCOPED_TRACE(c.id);
      HWND ctl = GetDlgItem(dlg, c.id);
      ASSERT_TRUE(ctl != nullptr);
      char cls[64] = {};
      GetClassNameA(ctl, cls, sizeof(cls));
      EXPECT_STREQ(cls, c.cls);
      LONG cs = GetWindowLongA(ctl, GWL_STYLE);
      if (c.type != kNoType) {
        EXPECT_EQ(TypeBits(cls, cs), c.type);
      }
      EXPECT_EQ((cs & WS_VISIBLE) != 0, c.visible);
      EXPECT_EQ(cs & c.style, c.style);
    }
    DestroyWindow(dlg);
  }
}

// The programs load the library plainly and make it their resource handle.
TEST(VxResourceModule, LoadsAsTheProgramsLoadIt) {
  HMODULE h = LoadLibraryA("VxResource.dll");
  ASSERT_TRUE(h != nullptr) << GetLastError();
  char buf[64] = {};
  EXPECT_GT(LoadStringA(h, AFX_IDS_APP_TITLE, buf, sizeof(buf)), 0);
  HWND dlg = CreateDialogParamA(h, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, PlainDialogProc, 0);
  EXPECT_TRUE(dlg != nullptr);
  if (dlg) DestroyWindow(dlg);
  char version[256] = {};
  DWORD handle = 0, size = GetFileVersionInfoSizeA("VxResource.dll", &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA("VxResource.dll", 0, size, info.data()));
  char* value = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041103a4\\OriginalFilename", (void**)&value, &len));
  lstrcpynA(version, value, sizeof(version));
  EXPECT_STREQ(version, "VxResource.dll");
  FreeLibrary(h);
}

// ----------------------------------------------------------------------------- menus
UINT FirstItem(HMENU m) { return GetMenuItemID(m, 0); }

int PositionOf(HMENU m, UINT id) {
  for (int i = 0; i < GetMenuItemCount(m); ++i)
    if (GetMenuItemID(m, i) == id) return i;
  return -1;
}

HMENU SubMenuHolding(HMENU m, UINT id) {
  for (int i = 0; i < GetMenuItemCount(m); ++i) {
    HMENU sub = GetSubMenu(m, i);
    if (sub && PositionOf(sub, id) >= 0) return sub;
  }
  return nullptr;
}

bool IsSeparator(HMENU m, int pos) {
  MENUITEMINFOA mii = {sizeof(mii), MIIM_FTYPE};
  return GetMenuItemInfoA(m, pos, TRUE, &mii) && (mii.fType & MFT_SEPARATOR);
}

std::string ItemText(HMENU m, int pos) {
  char buf[256] = {};
  GetMenuStringA(m, pos, buf, sizeof(buf), MF_BYPOSITION);
  return buf;
}

TEST_F(VxResource, MainMenuPopupsSitWhereTheFrameLooksForThem) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_TRUE(menu != nullptr);
  const UINT firsts[] = {ID_FILE_IMPORT, ID_EDIT_CUT, ID_VIEW_TOOLBAR_PANE, ID_TOOLS_PLUGIN, ID_EXPORT_FIRST, ID_HELP_MANUAL};
  ASSERT_EQ(GetMenuItemCount(menu), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(FirstItem(GetSubMenu(menu, i)), firsts[i]) << i;

  HMENU view = GetSubMenu(menu, 2);
  ASSERT_TRUE(GetSubMenu(view, 2) != nullptr);
  EXPECT_EQ(FirstItem(GetSubMenu(view, 2)), (UINT)ID_VIEW_TREE_FIRST);
  ASSERT_TRUE(GetSubMenu(view, 13) != nullptr);
  EXPECT_EQ(FirstItem(GetSubMenu(view, 13)), (UINT)ID_GO_UP);
  for (UINT id : {ID_VIEWMODE_LARGE_ICONS, ID_SORT_SHOT_ASC, ID_FILTER_PHOTOS}) EXPECT_TRUE(SubMenuHolding(view, id)) << id;
  EXPECT_EQ(FirstItem(SubMenuHolding(view, ID_SORT_SHOT_ASC)), (UINT)ID_SORT_SHOT_ASC);
  EXPECT_EQ(FirstItem(SubMenuHolding(view, ID_FILTER_PHOTOS)), (UINT)ID_FILTER_PHOTOS);
  // Without the map button the map item goes and the go sub-menu moves to 12.
  ASSERT_LT(PositionOf(view, ID_VIEW_MAP), 13);
  DeleteMenu(view, ID_VIEW_MAP, MF_BYCOMMAND);
  ASSERT_TRUE(GetSubMenu(view, 12) != nullptr);
  EXPECT_EQ(FirstItem(GetSubMenu(view, 12)), (UINT)ID_GO_UP);

  HMENU tools = GetSubMenu(menu, 3);
  EXPECT_TRUE(SubMenuHolding(tools, ID_SLIDESHOW_PLAY) != nullptr);
  DestroyMenu(menu);
}

// Without the search library the frame deletes item 29632, the first top-level entry of
// the tools popup with the same text, and a separator after it: nothing dangles.
TEST_F(VxResource, ToolsMenuStaysTidyWithoutTheSearchLibrary) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_MAINFRAME));
  HMENU tools = GetSubMenu(menu, 3);
  HMENU holder = SubMenuHolding(tools, ID_TOOLS_DB_SEARCH);
  ASSERT_TRUE(holder != nullptr);
  std::string text = ItemText(holder, PositionOf(holder, ID_TOOLS_DB_SEARCH));
  int p = -1;
  for (int i = 0; i < GetMenuItemCount(tools) && p < 0; ++i)
    if (!ItemText(tools, i).empty() && !lstrcmpiA(ItemText(tools, i).c_str(), text.c_str())) p = i;
  ASSERT_GE(p, 0);
  int before = GetMenuItemCount(tools);
  DeleteMenu(tools, ID_TOOLS_DB_SEARCH, MF_BYCOMMAND);
  DeleteMenu(tools, p, MF_BYPOSITION);
  if (IsSeparator(tools, p + 1)) DeleteMenu(tools, p + 1, MF_BYPOSITION);
  if (IsSeparator(tools, p)) DeleteMenu(tools, p, MF_BYPOSITION);
  EXPECT_EQ(GetMenuItemCount(tools), before - 2);
  for (int i = 0; i + 1 < GetMenuItemCount(tools); ++i) EXPECT_FALSE(IsSeparator(tools, i) && IsSeparator(tools, i + 1)) << i;
  EXPECT_FALSE(IsSeparator(tools, GetMenuItemCount(tools) - 1));
  DestroyMenu(menu);
}

TEST_F(VxResource, ContextMenuHoldsTheExportPlaceholderAndTheDetailModes) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_BROWSER_CONTEXT));
  ASSERT_TRUE(menu != nullptr);
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_TRUE(popup != nullptr);
  EXPECT_GE(PositionOf(popup, ID_EXPORT_FIRST), 0);
  MENUITEMINFOA mii = {sizeof(mii), MIIM_ID};
  for (UINT id : {ID_VIEWMODE_FILE_INFO, ID_VIEWMODE_CAMERA_INFO}) EXPECT_TRUE(GetMenuItemInfoA(popup, id, FALSE, &mii)) << id;
  DestroyMenu(menu);
}

void CollectCommands(HMENU m, std::vector<UINT>* ids) {
  for (int i = 0; i < GetMenuItemCount(m); ++i) {
    if (HMENU sub = GetSubMenu(m, i))
      CollectCommands(sub, ids);
    else if (!IsSeparator(m, i))
      ids->push_back(GetMenuItemID(m, i));
  }
}

TEST_F(VxResource, EveryMenuCommandHasAPrompt) {
  for (UINT menuId : {IDR_MAINFRAME, IDR_BROWSER_CONTEXT}) {
    HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(menuId));
    std::vector<UINT> ids;
    CollectCommands(menu, &ids);
    EXPECT_GT(ids.size(), 10u);
    for (UINT id : ids) EXPECT_FALSE(Str(id).empty()) << id;
    DestroyMenu(menu);
  }
}

// ----------------------------------------------------------------------------- bitmaps
struct Bits {
  HBITMAP bmp = nullptr;
  DIBSECTION ds = {};
  ~Bits() {
    if (bmp) DeleteObject(bmp);
  }
  // BGR of a pixel counted from the top-left corner.
  COLORREF At(int x, int y) const {
    const BITMAP& b = ds.dsBm;
    const BYTE* row = (const BYTE*)b.bmBits + (b.bmHeight - 1 - y) * b.bmWidthBytes;
    return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
  }
};

bool LoadBits(HMODULE m, int id, Bits* out) {
  out->bmp = (HBITMAP)LoadImageA(m, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  return out->bmp && GetObjectA(out->bmp, sizeof(out->ds), &out->ds) == sizeof(DIBSECTION);
}

TEST_F(VxResource, BitmapsHaveTheSizesTheirPaintersAssume) {
  struct Case {
    int id, w, h;
  };
  const Case cases[] = {
      {IDB_STATUS_BACK, 1, 18},       {IDB_STATUS_SEPARATOR, 2, 16}, {IDB_STATUS_GRIP, 15, 18},
      {IDB_SUBVIEW_TOOLBAR, 156, 26}, {IDB_COMBO_FACE, 8, 20},       {IDB_COMBO_ARROW, 23, 20},
      {IDB_SLIDER_TRACK, 167, 26},    {IDB_SLIDER_THUMB, 9, 20},     {IDB_SPLITTER_LEFT, 12, 138},
      {IDB_GROUP_HEADER, 8, 19},      {IDB_TITLE_ACTIVE, 120, 17},   {IDB_MOVIE_PLAY, 39, 21},
      {IDB_MOVIE_ZOOM, 43, 21},       {IDB_CHECK_ON, 16, 16},        {IDB_CAL_DIGIT_0, 24, 32},
      {IDB_CAL_DAY_DIGIT_0, 12, 16},
      // A thumbnail's backing is its cell with the frame margin on each side, plus 8.
      {IDB_THUMB_BACK_30, 30 + 10 + 8, 30 + 10 + 8},     {IDB_THUMB_BACK_80, 80 + 10 + 8, 80 + 10 + 8},
      {IDB_THUMB_BACK_160, 160 + 16 + 8, 160 + 16 + 8},  {IDB_THUMB_BACK_223, 223 + 16 + 8, 223 + 16 + 8},
      {IDB_THUMB_BACK_303, 303 + 16 + 8, 303 + 16 + 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Bits b;
    ASSERT_TRUE(LoadBits(module_, c.id, &b));
    EXPECT_EQ(b.ds.dsBm.bmWidth, c.w);
    EXPECT_EQ(b.ds.dsBm.bmHeight, c.h);
    EXPECT_EQ(b.ds.dsBm.bmBitsPixel, 24);
  }
}

// Faces of one button, and the images of one image list or one text line, match in size.
TEST_F(VxResource, BitmapSetsShareOneSize) {
  const std::vector<std::vector<int>> sets = {
      {IDB_MOVIE_PLAY, IDB_MOVIE_PLAY_SELECTED, IDB_MOVIE_PLAY_FOCUS, IDB_MOVIE_PLAY_DISABLED},
      {IDB_MOVIE_ZOOM, IDB_MOVIE_ZOOM_SELECTED, IDB_MOVIE_ZOOM_FOCUS, IDB_MOVIE_ZOOM_DISABLED},
      {IDB_MOVIE_THUMB, IDB_MOVIE_THUMB_HOT, IDB_MOVIE_THUMB_PRESSED, IDB_MOVIE_THUMB_DISABLED},
      {IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_HOT, IDB_SLIDER_THUMB_PRESSED, IDB_SLIDER_THUMB_DISABLED},
      {IDB_COMBO_ARROW, IDB_COMBO_ARROW_HOT, IDB_COMBO_ARROW_PRESSED, IDB_COMBO_ARROW_DISABLED},
      {IDB_SPLITTER_LEFT, IDB_SPLITTER_LEFT_HOT, IDB_SPLITTER_RIGHT, IDB_SPLITTER_RIGHT_HOT},
      {IDB_CAL_BUTTON, IDB_CAL_BUTTON_PRESSED, IDB_CAL_BUTTON_FOCUS, IDB_CAL_BUTTON_DISABLED, IDB_CAL_INDICATOR},
      {IDB_CAL_PREV, IDB_CAL_PREV_PRESSED, IDB_CAL_PREV_FOCUS, IDB_CAL_PREV_DISABLED, IDB_CAL_NEXT, IDB_CAL_NEXT_PRESSED,
       IDB_CAL_NEXT_FOCUS, IDB_CAL_NEXT_DISABLED},
      {IDB_TITLE_ACTIVE, IDB_TITLE_ACTIVE_PRESSED, IDB_TITLE_ACTIVE_FOCUS, IDB_TITLE_ACTIVE_DISABLED, IDB_TITLE_INACTIVE,
       IDB_TITLE_INACTIVE_PRESSED, IDB_TITLE_INACTIVE_FOCUS, IDB_TITLE_INACTIVE_DISABLED},
      {IDB_CHECK_ON, IDB_CHECK_OFF},
  };
  auto range = [](int first, int count) {
    std::vector<int> v;
    for (int i = 0; i < count; ++i) v.push_back(first + i);
    return v;
  };
  std::vector<std::vector<int>> all = sets;
  std::vector<int> dayDigits = range(IDB_CAL_DAY_DIGIT_0, 10), sunday = range(IDB_CAL_SUNDAY_DIGIT_0, 10);
  dayDigits.insert(dayDigits.end(), sunday.begin(), sunday.end());
  all.push_back(dayDigits);
  std::vector<int> dateChars = range(IDB_CAL_DIGIT_0, 11);  // digits and the separator
  dateChars.push_back(IDB_CAL_BLANK);
  all.push_back(dateChars);
  std::vector<int> monthDigits = range(IDB_CAL_MONTH_DIGIT_0, 10);
  monthDigits.push_back(IDB_CAL_MONTH_BLANK);
  all.push_back(monthDigits);
  all.push_back(range(IDB_CAL_WEEKDAY_SUN, 7));

  for (const std::vector<int>& set : all) {
    Bits first;
    ASSERT_TRUE(LoadBits(module_, set[0], &first)) << set[0];
    for (int id : set) {
      Bits b;
      ASSERT_TRUE(LoadBits(module_, id, &b)) << id;
      EXPECT_EQ(b.ds.dsBm.bmWidth, first.ds.dsBm.bmWidth) << id;
      EXPECT_EQ(b.ds.dsBm.bmHeight, first.ds.dsBm.bmHeight) << id;
    }
  }
  // The day view advances 27 pixels per date character.
  Bits digit;
  ASSERT_TRUE(LoadBits(module_, IDB_CAL_DIGIT_0, &digit));
  EXPECT_LE(digit.ds.dsBm.bmWidth, 27);
}

// The month view's image list masks the day numbers with magenta.
TEST_F(VxResource, DayNumbersUseTheMagentaKey) {
  for (int id = IDB_CAL_DAY_DIGIT_0; id <= IDB_CAL_SUNDAY_DIGIT_9; ++id) {
    if (id > IDB_CAL_DAY_DIGIT_9 && id < IDB_CAL_SUNDAY_DIGIT_0) continue;
    Bits b;
    ASSERT_TRUE(LoadBits(module_, id, &b)) << id;
    EXPECT_EQ(b.At(0, 0), RGB(255, 0, 255)) << id;
    EXPECT_EQ(b.At(b.ds.dsBm.bmWidth - 1, b.ds.dsBm.bmHeight - 1), RGB(255, 0, 255)) << id;
    bool drawn = false;
    for (int y = 0; y < b.ds.dsBm.bmHeight; ++y)
      for (int x = 0; x < b.ds.dsBm.bmWidth; ++x) drawn |= b.At(x, y) != RGB(255, 0, 255) && b.At(x, y) != RGB(255, 255, 255);
    EXPECT_TRUE(drawn) << id;
  }
}

TEST_F(VxResource, IconsLoadAtTheSizesTheirUsersAskFor) {
  struct Case {
    int id, size;
  };
  for (Case c : {Case{IDI_TRAY, 16}, Case{IDI_STATUS_MARKS, 16}, Case{IDI_STATUS_SELECTION, 16}, Case{IDR_MAINFRAME, 32},
                 Case{IDR_MAINFRAME, 16}}) {
    HICON icon = (HICON)LoadImageA(module_, MAKEINTRESOURCEA(c.id), IMAGE_ICON, c.size, c.size, 0);
    ASSERT_TRUE(icon != nullptr) << c.id;
    ICONINFO ii = {};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    BITMAP bm = {};
    GetObjectA(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, c.size) << c.id;
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
    DestroyIcon(icon);
  }
}

// The splash picture is a file beside the program, not a resource.
TEST(Splash, PictureLiesInTheProgramsImageFolder) {
  HBITMAP bmp = (HBITMAP)LoadImageA(nullptr, "Image\\Splash10.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  ASSERT_TRUE(bmp != nullptr) << GetLastError();
  BITMAP bm = {};
  GetObjectA(bmp, sizeof(bm), &bm);
  EXPECT_GE(bm.bmWidth, 320);
  EXPECT_GE(bm.bmHeight, 200);
  DeleteObject(bmp);
}

}  // namespace
