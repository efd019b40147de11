// The export pane with real test plug-ins: its tiles and their faces, the export menu,
// a run without the browser, runs that end at once, later or with a failure, drops on
// a tile, and the movie limit on made movies.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <shlobj.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "ExportMenuWnd.h"
#include "FView_Export.h"
#include "MainWndMessages.h"
#include "dialogwatch.h"
#include "files.h"
#include "profileroot.h"
#include "tempfolder.h"
#include "uikit.h"

namespace {
using namespace testsupport;

std::string TestPluginFolder() { return ProgramFolder() + "\\testplugins\\"; }

struct PluginFolder {
  std::string path;
  explicit PluginFolder(std::initializer_list<const char*> names) {
    path = NewTempFolder("panes");
    for (const char* n : names)
      EXPECT_TRUE(::CopyFileA((TestPluginFolder() + n).c_str(), (path + "\\" + n).c_str(), FALSE)) << n;
  }
  ~PluginFolder() { RemoveTree(path); }
};

std::string LoadText(UINT id) {
  CString s;
  s.LoadString(id);
  return (LPCSTR)s;
}

// A pane in a window of its own, its plug-ins from the folder.
struct Pane {
  CFrameWnd* pHost = nullptr;
  CFView_Export* pView = nullptr;
  explicit Pane(const std::string& folder) {
    pHost = new CFrameWnd;
    pHost->Create(NULL, "export pane", WS_POPUP | WS_VISIBLE, CRect(40, 40, 40 + 66, 40 + 460));
    pView = new CFView_Export;
    pView->SetPluginFolder(folder.c_str());
    CRect rc;
    pHost->GetClientRect(&rc);
    pView->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, rc, pHost, AFX_IDW_PANE_FIRST);
    pView->OnInitialUpdate();
    PumpPending();
  }
  ~Pane() {
    pHost->DestroyWindow();
    PumpPending();
  }
  void Click(int position) {
    CExportMenuWnd* pTile = pView->GetTile(position);
    pTile->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    pTile->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  // What the plug-in behind a tile received.
  struct Calls {
    int calls, type, scope, files;
  };
};

// The module of a loaded test plug-in by its file name.
HMODULE Loaded(const std::string& folder, const char* name) {
  return ::GetModuleHandleA((folder + "\\" + name).c_str());
}

Pane::Calls PluginState(HMODULE h) {
  typedef void (*StateFn)(int*, int*, int*, int*, ICGBrowser**);
  StateFn fn = (StateFn)::GetProcAddress(h, "TestState");
  Pane::Calls c = {-1, -1, -1, -1};
  ICGBrowser* b;
  if (fn) fn(&c.calls, &c.type, &c.scope, &c.files, &b);
  return c;
}

// Presses a message box's or a dialog's OK, keeping its text.
uikit::DialogDriver::Step Answer(std::string* text) {
  return [text](HWND h) {
    if (text) *text = uikit::StaticTexts(h);
    uikit::Press(h, IDOK);
  };
}

TEST(ExportPane, TilesInOrderAndTheMenu) {
  ScopedProfileRoot profile("exportpane");
  PluginFolder dir({"peu_order30.peu", "peu_order10.peu", "peu_three.peu"});
  Pane pane(dir.path);
  ASSERT_EQ(4, pane.pView->GetEntryCount());
  std::vector<std::string> names;
  for (int k = 0; k < 4; ++k) {
    CExportMenuWnd* t = pane.pView->GetTile(k);
    names.push_back(t->GetName());
    CRect rc;
    t->GetWindowRect(&rc);
    pane.pView->ScreenToClient(&rc);
    EXPECT_EQ(CRect(1, 36 + 71 * k, 67, 36 + 71 * k + 80), rc) << k;
  }
  EXPECT_EQ((std::vector<std::string>{"Three 0", "Three 2", "Ten 0", "Thirty 0"}), names);
  // The profile keeps each export's entry index under its name.
  EXPECT_EQ(3, CMGetProfileInt("ExportMenu\\Thirty 0", "index", -1));
  EXPECT_EQ(1, CMGetProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 0));

  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, 1, "old");
  pane.pView->OnInitMenuPopup(&menu, 0, FALSE);
  ASSERT_EQ(4, menu.GetMenuItemCount());
  CString text;
  menu.GetMenuString(2, text, MF_BYPOSITION);
  EXPECT_EQ("&3 Ten 0", std::string(text));
  // The item runs the tile's command: the frame maps 29301 + n to 1124 + n.
  UINT id = menu.GetMenuItemID(2);
  EXPECT_EQ(pane.pView->GetTile(2)->GetDlgCtrlID(), (int)(id - ID_EXPORT_FIRST + CFView_Export::TILE_COMMAND_FIRST));
  EXPECT_EQ(0u, menu.GetMenuState(2, MF_BYPOSITION) & MF_GRAYED);
  pane.pView->EnableWindow(FALSE);
  pane.pView->OnInitMenuPopup(&menu, 0, FALSE);
  EXPECT_NE(0u, menu.GetMenuState(2, MF_BYPOSITION) & MF_GRAYED);
  menu.DestroyMenu();
}

// Without the browser a type that takes files finds none: message 45001, the pane usable.
TEST(ExportPane, NoBrowserEndsWithTheEmptyFolderMessage) {
  ScopedProfileRoot profile("exportpane");
  PluginFolder dir({"peu_order10.peu"});
  Pane pane(dir.path);
  std::string text;
  {
    uikit::DialogDriver driver(Answer(&text));
    pane.Click(0);
    EXPECT_EQ(1, driver.Ran());
  }
  EXPECT_EQ(LoadText(IDS_EXPORT_NO_FILES), text);
  EXPECT_TRUE(pane.pView->IsWindowEnabled());
  EXPECT_EQ(0, PluginState(Loaded(dir.path, "peu_order10.peu")).calls);
}

// Types that run without files: the scope dialog, then the plug-in's window; the pane
// waits for the window to close (1526), a failure frees it at once, an exception too.
TEST(ExportPane, RunsAndTheirEnds) {
  ScopedProfileRoot profile("exportpane");
  PluginFolder dir({"peu_wait.peu", "peu_waitfail.peu", "peu_waitthrow.peu", "peu_done.peu"});
  Pane pane(dir.path);
  ASSERT_EQ(4, pane.pView->GetEntryCount());
  struct {
    const char* plugin;
    bool enabledAfter;
  } cases[] = {
      {"peu_done.peu", true}, {"peu_waitfail.peu", true}, {"peu_waitthrow.peu", true}, {"peu_wait.peu", false}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.plugin);
    int position = -1;
    for (int k = 0; k < pane.pView->GetEntryCount(); ++k) {
      std::string name = pane.pView->GetTile(k)->GetName();
      if ((std::string(c.plugin) == "peu_done.peu" && name == "Test 0") ||
          (std::string(c.plugin) == "peu_wait.peu" && name == "Wait 0") ||
          (std::string(c.plugin) == "peu_waitfail.peu" && name == "Fail 0") ||
          (std::string(c.plugin) == "peu_waitthrow.peu" && name == "Throw 0"))
        position = k;
    }
    ASSERT_GE(position, 0);
    {
      // The scope dialog, when it shows, is answered with OK.
      uikit::DialogDriver driver(Answer(nullptr), 3000);
      pane.Click(position);
    }
    uikit::WaitUntil([&] { return pane.pView->IsWindowEnabled() != FALSE; }, 500);
    EXPECT_EQ(c.enabledAfter, pane.pView->IsWindowEnabled() != FALSE);
    EXPECT_EQ(0, CMGetProfileInt("Common", "AutoRunCheckDisable", -1));
    Pane::Calls calls = PluginState(Loaded(dir.path, c.plugin));
    if (std::string(c.plugin) != "peu_waitthrow.peu") {
      EXPECT_EQ(1, calls.calls);
      EXPECT_EQ(0, calls.files);
    }
  }
  // The pane waits for peu_wait's window: a success report does not free it...
  pane.pView->SendMessage(WM_EXPORT_FINISHED, (WPARAM)pane.pView->m_hWnd, (LPARAM)(DWORD)0x80000000u);
  EXPECT_FALSE(pane.pView->IsWindowEnabled());
  // ...its window's closing does, and a repeated close only enables.
  pane.pView->SendMessage(WM_EXPORT_BUSY, 0, 0);
  EXPECT_TRUE(pane.pView->IsWindowEnabled());
  pane.pView->SendMessage(WM_EXPORT_BUSY, 0, 0);
  EXPECT_TRUE(pane.pView->IsWindowEnabled());
  // A report never runs a tile again.
  int before = PluginState(Loaded(dir.path, "peu_wait.peu")).calls;
  for (DWORD lParam : {0u, 1u, 2u, 3u, 0x80000003u}) {
    pane.pView->SendMessage(WM_EXPORT_FINISHED, (WPARAM)pane.pView->m_hWnd, (LPARAM)lParam);
    PumpPending();
  }
  EXPECT_EQ(before, PluginState(Loaded(dir.path, "peu_wait.peu")).calls);
  EXPECT_TRUE(pane.pView->IsWindowEnabled());
}

HGLOBAL MakeDrop(const std::vector<std::string>& paths) { return testsupport::MakeDropFiles(paths); }

TEST(ExportPane, DropsOnATile) {
  ScopedProfileRoot profile("exportpane");
  PluginFolder dir({"peu_filter1.peu", "peu_done.peu"});
  std::string files = NewTempFolder("drops");
  ASSERT_TRUE(WriteWholeFile(files + "\\a.tmb", "x"));
  ASSERT_TRUE(::CopyFileA(Fixture("plain.jpg").c_str(), (files + "\\b.jpg").c_str(), FALSE));
  ASSERT_TRUE(WriteWholeFile(files + "\\c.txt", "x"));
  Pane pane(dir.path);
  ASSERT_EQ(2, pane.pView->GetEntryCount());
  CExportMenuWnd* pPrint = pane.pView->GetTile(1);  // order 3, after "Test 0"
  ASSERT_EQ(std::string("Print 0"), pPrint->GetName());
  HMODULE hPrint = Loaded(dir.path, "peu_filter1.peu");

  // Only companion files: the empty-list message, no run, the pane usable.
  std::string text;
  {
    uikit::DialogDriver driver({Answer(&text), Answer(nullptr)}, 3000);
    pPrint->PostMessage(WM_DROPFILES, (WPARAM)MakeDrop({files + "\\a.tmb"}), 0);
    uikit::WaitUntil([&] { return driver.Ran() >= 1 && pane.pView->IsWindowEnabled(); }, 10000);
  }
  CString expected;
  expected.Format(LoadText(IDS_EXPORT_EMPTY_LIST).c_str(), "Print 0");
  EXPECT_EQ(std::string(expected), text);
  EXPECT_EQ(0, PluginState(hPrint).calls);
  EXPECT_TRUE(pane.pView->IsWindowEnabled());

  // A picture, a companion file and a text: the picture goes, after the removal message.
  {
    uikit::DialogDriver driver(Answer(&text), 3000);
    pPrint->PostMessage(WM_DROPFILES, (WPARAM)MakeDrop({files + "\\a.tmb", files + "\\b.jpg", files + "\\c.txt"}), 0);
    uikit::WaitUntil([&] { return PluginState(hPrint).calls == 1; }, 10000);
  }
  expected.Format(LoadText(IDS_EXPORT_SOME_REMOVED).c_str(), "Print 0");
  EXPECT_EQ(std::string(expected), text);
  Pane::Calls c = PluginState(hPrint);
  EXPECT_EQ(1, c.calls);
  EXPECT_EQ(1, c.files);
  // Its window is open: the pane waits.
  EXPECT_FALSE(pane.pView->IsWindowEnabled());
  pane.pView->SendMessage(WM_EXPORT_BUSY, 0, 0);
  RemoveTree(files);
}

TEST(ExportTile, FacesFollowTheMouseAndTheOwner) {
  ScopedProfileRoot profile("exportpane");
  PluginFolder dir({"peu_order10.peu", "peu_order30.peu", "peu_three.peu"});
  Pane pane(dir.path);
  ASSERT_EQ(4, pane.pView->GetEntryCount());
  CExportMenuWnd* t = pane.pView->GetTile(0);
  // Wherever an earlier test left the cursor, it is away from the tiles now.
  ::SetCursorPos(1000, 700);
  EXPECT_TRUE(uikit::WaitUntil([&] { return t->GetState() == 0; }, 10000));
  t->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(1, t->GetState());
  t->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(2, t->GetState());
  // The cursor is elsewhere: within a few checks the face is normal again.
  ::SetCursorPos(1000, 700);
  EXPECT_TRUE(uikit::WaitUntil([&] { return t->GetState() == 0; }, 10000));
  pane.pView->EnableWindow(FALSE);
  EXPECT_TRUE(uikit::WaitUntil([&] { return t->GetState() == 3; }, 10000));
  t->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(12, 12));
  EXPECT_EQ(3, t->GetState());
  pane.pView->EnableWindow(TRUE);
  EXPECT_TRUE(uikit::WaitUntil([&] { return t->GetState() == 0; }, 10000));

  // Three tiles, the third disabled: its grey face, the others' blue ones, names beneath.
  pane.pView->GetTile(2)->EnableWindow(FALSE);
  uikit::PumpPending();
  uikit::Picture shot(pane.pView->m_hWnd, uikit::Picture::kClient);
  shot.Save("export_pane_tiles");
  EXPECT_EQ(RGB(40, 90, 200), shot.At(30, 36 + 20));
  EXPECT_EQ(RGB(128, 128, 128), shot.At(30, 36 + 71 * 2 + 20));
  RECT nameBox = {0, 36 + 47, 66, 36 + 47 + 14};
  EXPECT_GT(shot.CountNear(nameBox, RGB(255, 255, 255), 60), 5);
}

TEST(ExportPane, MovieLimit) {
  EXPECT_FALSE(CFView_Export::IsMovieTooLong(Fixture("mjpeg_600.mov").c_str()));
  EXPECT_TRUE(CFView_Export::IsMovieTooLong(Fixture("mjpeg_601.mov").c_str()));
  EXPECT_FALSE(CFView_Export::IsMovieTooLong(Fixture("mjpeg_10.mov").c_str()));
  EXPECT_FALSE(CFView_Export::IsMovieTooLong(Fixture("movie.mp4").c_str()));
  // A file past the size limit is too long whatever it holds (sparse: no disk used).
  std::string dir = NewTempFolder("sparse");
  std::string big = dir + "\\big.mov";
  HANDLE h = ::CreateFileA(big.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  DWORD dw;
  ::DeviceIoControl(h, FSCTL_SET_SPARSE, NULL, 0, NULL, 0, &dw, NULL);
  LARGE_INTEGER at;
  at.QuadPart = 2097152001ll;
  ::SetFilePointerEx(h, at, NULL, FILE_BEGIN);
  ::SetEndOfFile(h);
  ::CloseHandle(h);
  EXPECT_TRUE(CFView_Export::IsMovieTooLong(big.c_str()));
  RemoveTree(dir);
}

}  // namespace

// Without a printer (the test prefix has none): print set-up shows what the system shows,
// then 45003; printing without the printing plug-in shows the system's text for the
// missing library and ends with E_FAIL.
TEST(ExportPane, PrintingWithoutAPrinterOrItsPlugin) {
  DWORD needed = 0, count = 0;
  ::EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, NULL, 2, NULL, 0, &needed, &count);
  ASSERT_EQ(needed, 0u) << "this prefix has a printer";
  ScopedProfileRoot profile("exportpane-print");
  PluginFolder dir({});
  Pane pane(dir.path);  // its printer defaults fail quietly

  // The system's warning comes from inside its hidden dialog: watched from outside.
  const std::string ours = LoadText(IDS_EXPORT_PRINT_SETUP_FAILED);
  std::string warning, failed;
  {
    testsupport::DialogWatch system(
        nullptr,
        [&](HWND h) {
          std::string t = uikit::StaticTexts(h);
          return ::IsWindowVisible(h) && !t.empty() && t.find(ours) == std::string::npos;
        },
        [&](HWND h) {
          warning = uikit::StaticTexts(h);
          ::PostMessageA(h, WM_COMMAND, IDOK, 0);
        },
        10000);
    testsupport::DialogWatch mine(
        nullptr, [&](HWND h) { return ::IsWindowVisible(h) && uikit::StaticTexts(h).find(ours) != std::string::npos; },
        [&](HWND h) {
          failed = uikit::StaticTexts(h);
          ::PostMessageA(h, WM_COMMAND, IDOK, 0);
        },
        10000);
    pane.pView->OnPrintSetup();
  }
  EXPECT_FALSE(warning.empty()) << "the system's own warning";
  EXPECT_FALSE(failed.empty()) << "then 45003";
  EXPECT_EQ("", std::string(CMGetProfileString("VxExport\\ExpPaperUI", "Printer", ""))) << "nothing chosen";

  ASSERT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((ProgramFolder() + "\\ExpPaperUI.peu").c_str()));
  std::vector<std::string> boxes;
  auto keep = [&boxes](HWND h) {
    boxes.push_back(uikit::StaticTexts(h));
    ::PostMessageA(h, WM_COMMAND, IDOK, 0);
  };
  long result = 0;
  {
    uikit::DialogDriver driver(std::vector<uikit::DialogDriver::Step>{keep, keep}, 10000);
    result = pane.pView->OnPrint(0);
  }
  EXPECT_EQ(E_FAIL, result);
  ASSERT_EQ(1u, boxes.size());
  char system[512] = "";
  ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, ERROR_MOD_NOT_FOUND, 0, system,
                   sizeof(system), NULL);
  std::string expected = system;
  while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
  EXPECT_NE(boxes[0].find(expected), std::string::npos) << boxes[0];
}

// The program's end asks the pane to unload its plug-ins with a send marked as its own;
// the same number posted or sent by anyone else leaves the running pane as it is.
TEST(ExportPane, OnlyTheProgramsOwnEndUnloadsThePlugins) {
  ScopedProfileRoot profile("exportpane");
  PluginFolder dir({"peu_order10.peu"});
  Pane pane(dir.path);
  ASSERT_EQ(1, pane.pView->GetEntryCount());
  ASSERT_NE(nullptr, Loaded(dir.path, "peu_order10.peu"));
  pane.pView->PostMessage(WM_KEEP_BEFORE_EXIT, 0, 0);
  PumpPending();
  pane.pView->SendMessage(WM_KEEP_BEFORE_EXIT, 0, 0);
  EXPECT_EQ(1, pane.pView->GetEntryCount());
  EXPECT_NE(nullptr, pane.pView->GetTile(0));
  EXPECT_NE(nullptr, Loaded(dir.path, "peu_order10.peu"));
  EXPECT_EQ(1, CMGetProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 0));

  CMTLSendOwnMessage(pane.pView->m_hWnd, WM_KEEP_BEFORE_EXIT, 0, 0);
  EXPECT_EQ(nullptr, Loaded(dir.path, "peu_order10.peu"));
  EXPECT_EQ(0, CMGetProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 1));
}
