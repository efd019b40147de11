// Marlo5.exe as its own processes: without its resource library, single-instance
// behaviour of a second and a third start, and a picture of the main window after start.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <TickCache.h>
#include <cardwatch/Programs.h>

#include <functional>
#include <string>
#include <vector>

#include <VxResourceIds.h>

#include "MainWndMessages.h"
#include "OwnMessages.h"
#include "SingleInstance.h"
#include "shelltest.h"
#include "uikit.h"
#include <card.h>
#include <files.h>
#include <otherwindows.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>

namespace {

// A program started by the test, ended by it when it is still there at the end.
struct Process {
  HANDLE hProcess = NULL;
  DWORD dwPid = 0;
  bool Start(const std::string& exe) {
    hProcess = testsupport::StartProgram("\"" + exe + "\"", exe.substr(0, exe.find_last_of('\\')));
    // A start that fails says why (it failed once under heavy load).
    if (!hProcess) fprintf(stderr, "CreateProcess %s: error %lu\n", exe.c_str(), ::GetLastError());
    dwPid = hProcess ? ::GetProcessId(hProcess) : 0;
    return hProcess != NULL;
  }
  bool Ended(DWORD ms = 0) const { return hProcess && ::WaitForSingleObject(hProcess, ms) == WAIT_OBJECT_0; }
  // The process's visible top-level windows of a class (nullptr for any).
  std::vector<HWND> Windows(const char* cls = nullptr) const { return testsupport::WindowsOf(dwPid, cls); }
  ~Process() {
    if (hProcess) testsupport::WaitForExit(hProcess, 0);
  }
};

std::string Program() { return testsupport::ProgramFolder() + "\\Marlo5.exe"; }

HWND FindMainWindowOf(DWORD pid) {
  for (HWND h : testsupport::WindowsOf(pid, nullptr, true))
    if (::GetPropA(h, MAINWND_PROPERTY)) return h;
  return NULL;
}

// Each test runs its programs under a profile root and a photo database of its own, with
// a mutex name of its own, and the first-start questions already answered.
class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    m_db = testsupport::NewTempFolder("glimora-program-db");
    ::SetEnvironmentVariableA("GLIMORA_DB_DIR", m_db.c_str());
    std::string mutex = "Glimora Test Mutex " + std::to_string(::GetCurrentProcessId());
    CMWriteProfileString("Settings", "Mutex", mutex.c_str());
    CMWriteProfileInt("VxClassify", "FirstClassify", 1);
    CMWriteProfileInt("Common", "First", 0);
  }
  void TearDown() override {
    ::SetEnvironmentVariableA("GLIMORA_DB_DIR", NULL);
    testsupport::RemoveTree(m_db);
  }

  // Starts the program and waits until its main window exists and start-up completed.
  HWND StartMain(Process& p) {
    if (!p.Start(Program())) return NULL;
    HWND hMain = NULL;
    testsupport::WaitUntil([&] { return (hMain = FindMainWindowOf(p.dwPid)) != NULL || p.Ended(); }, 30000);
    if (!hMain) return NULL;
    testsupport::WaitUntil([] { return CMGetProfileInt("ExeState0007", "Enable", 0) == 1; }, 30000);
    // Out of the way of tests that read the screen's pixels.
    ::ShowWindow(hMain, SW_MINIMIZE);
    return hMain;
  }
  static void Close(Process& p, HWND hMain) {
    // A card import the card watcher opened is closed first, and its modal loop let end
    // (the main window enabled again): a close inside it would pull the frame from under it.
    testsupport::WaitUntil([&p, hMain] {
      std::vector<HWND> boxes = p.Windows("#32770");
      for (HWND box : boxes) ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      return boxes.empty() && ::IsWindowEnabled(hMain);
    }, 15000);
    ::PostMessageA(hMain, WM_CLOSE, 0, 0);
    EXPECT_TRUE(p.Ended(20000)) << "the program did not end";
    EXPECT_EQ(ExitCode(p), 0u) << "the program did not end cleanly";
  }
  // A crash at the exit (a worker still running while what it uses goes) shows as an
  // exception code here.
  static DWORD ExitCode(const Process& p) {
    DWORD code = testsupport::kNoExitCode;
    if (p.Ended()) ::GetExitCodeProcess(p.hProcess, &code);
    return code;
  }

  shelltest::ProfileRoot m_root;
  std::string m_db;
};

TEST_F(ProgramTest, WithoutTheResourceLibraryOnlyTheFixedTextShows) {
  // The program folder again, without VxResource.dll.
  std::string folder = testsupport::NewTempFolder("glimora-nores");
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA((testsupport::ProgramFolder() + "\\*.dll").c_str(), &fd);
  // A library that did not come along (a full disk) would show later as another box or
  // none: each copy is checked here, where its error still says why.
  std::vector<std::string> uncopied;
  for (BOOL ok = hFind != INVALID_HANDLE_VALUE; ok; ok = ::FindNextFileA(hFind, &fd)) {
    if (lstrcmpiA(fd.cFileName, "VxResource.dll") == 0) continue;
    if (!::CopyFileA((testsupport::ProgramFolder() + "\\" + fd.cFileName).c_str(),
                     (folder + "\\" + fd.cFileName).c_str(), FALSE))
      uncopied.push_back(std::string(fd.cFileName) + ": error " + std::to_string(::GetLastError()));
  }
  if (hFind != INVALID_HANDLE_VALUE) ::FindClose(hFind);
  ASSERT_TRUE(uncopied.empty()) << testing::PrintToString(uncopied);
  std::string exe = folder + "\\Marlo5.exe";
  const BOOL copied = ::CopyFileA(Program().c_str(), exe.c_str(), FALSE);
  const DWORD copyError = copied ? 0 : ::GetLastError();
  ASSERT_TRUE(copied) << "error " << copyError;

  Process p;
  ASSERT_TRUE(p.Start(exe));
  std::vector<HWND> boxes;
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !(boxes = p.Windows("#32770")).empty() || p.Ended(); }, 20000));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(uikit::StaticTexts(boxes[0]), "There is no VxResource.dll.");
  EXPECT_EQ(p.Windows().size(), 1u);  // no splash, no main window
  ::PostMessageA(boxes[0], WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(p.Ended(10000));
  testsupport::WaitForExit(p.hProcess, 0);
  p.hProcess = NULL;
  testsupport::RemoveTree(folder);
}

TEST_F(ProgramTest, SecondStartBringsTheFirstForwardAndAThirdShowsNothing) {
  Process first;
  HWND hMain = StartMain(first);
  ASSERT_NE(hMain, nullptr);
  ASSERT_TRUE(testsupport::WaitUntil([hMain] { return ::IsIconic(hMain) != 0; }, 5000));

  Process second;
  ASSERT_TRUE(second.Start(Program()));
  std::vector<HWND> boxes;
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !(boxes = second.Windows("#32770")).empty() || second.Ended(); }, 20000));
  ASSERT_EQ(boxes.size(), 1u) << "the second start tells the user once";

  // A third start meanwhile ends by itself and shows nothing.
  Process third;
  ASSERT_TRUE(third.Start(Program()));
  EXPECT_TRUE(third.Ended(20000));
  EXPECT_TRUE(third.Windows().empty());

  ::PostMessageA(boxes[0], WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(second.Ended(10000));
  EXPECT_TRUE(testsupport::WaitUntil([hMain] { return !::IsIconic(hMain); }, 5000)) << "the first window was not restored";
  ::ShowWindow(hMain, SW_MINIMIZE);
  EXPECT_EQ(FindMainWindowOf(second.dwPid), nullptr);
  Close(first, hMain);
}

TEST_F(ProgramTest, MainWindowAfterStartIsMarkedAndHoldsItsPanes) {
  Process p;
  HWND hMain = StartMain(p);
  ASSERT_NE(hMain, nullptr);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(::GetPropA(hMain, MAINWND_PROPERTY)), 1u);
  // The splash is gone once start-up completed: the main window is the only one shown.
  EXPECT_TRUE(testsupport::WaitUntil([&] { return p.Windows().size() == 1; }, 5000));
  // The status bar and the pane tree's windows are its children.
  struct Count {
    int nStatus = 0, nChildren = 0;
  } count;
  ::EnumChildWindows(
      hMain,
      [](HWND h, LPARAM lp) -> BOOL {
        Count* c = reinterpret_cast<Count*>(lp);
        char cls[64] = "";
        ::GetClassNameA(h, cls, sizeof(cls));
        if (lstrcmpiA(cls, "msctls_statusbar32") == 0) c->nStatus++;
        c->nChildren++;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  EXPECT_EQ(count.nStatus, 1);
  EXPECT_GE(count.nChildren, 12);
  // File > Exit ends the program as the close box does.
  ::PostMessageA(hMain, WM_COMMAND, ID_APP_EXIT, 0);
  EXPECT_TRUE(p.Ended(20000)) << "File > Exit did not end the program";
  EXPECT_NE(CMGetProfileInt("", "WindowShowState", 0), 0);  // the placement was written at close
}

// The classes of the platform's own controls: messages from WM_USER up mean their own
// things there (pointers among them), which no program of ours answers for.
bool IsPlatformControl(HWND h) {
  static const char* const kClasses[] = {"msctls_statusbar32",
                                         "msctls_progress32",
                                         "msctls_trackbar32",
                                         "msctls_updown32",
                                         "msctls_hotkey32",
                                         "SysListView32",
                                         "SysTreeView32",
                                         "SysHeader32",
                                         "SysTabControl32",
                                         "SysDateTimePick32",
                                         "SysMonthCal32",
                                         "SysAnimate32",
                                         "SysLink",
                                         "SysPager",
                                         "SysIPAddress32",
                                         "ToolbarWindow32",
                                         "ReBarWindow32",
                                         "tooltips_class32",
                                         "ComboBoxEx32",
                                         "Button",
                                         "Static",
                                         "Edit",
                                         "ComboBox",
                                         "ComboLBox",
                                         "ListBox",
                                         "ScrollBar",
                                         "RichEdit20A",
                                         "RichEdit20W"};
  char cls[64] = "";
  ::GetClassNameA(h, cls, sizeof(cls));
  for (const char* c : kClasses)
    if (lstrcmpiA(cls, c) == 0) return true;
  return false;
}

// Every window of the process, hidden ones and children too.
std::vector<HWND> AllWindowsOf(DWORD pid) {
  std::vector<HWND> all;
  for (HWND top : testsupport::WindowsOf(pid, nullptr, true)) {
    all.push_back(top);
    ::EnumChildWindows(
        top,
        [](HWND h, LPARAM lp) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
  }
  return all;
}

std::string TextOf(HWND h) {
  char text[512] = "";
  DWORD_PTR n = 0;
  ::SendMessageTimeoutA(h, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &n);
  return text;
}

// Another program posts and sends each message of the table to every window of ours with
// values that are no pointers of the program's: an address far off, a small number, an
// address of this process. The program takes none of them for its own: it runs on and
// answers, and what it shows stays as it was. Done in the views that hold such windows
// (the icons, the calendar, the focus view with its information tabs, the music list); the
// hidden views' windows hear them too. The day view shows only for a day chosen in the
// month: the command alone leads to the month.
TEST_F(ProgramTest, PointerMessagesOfAnotherProgramChangeNothing) {
  Process p;
  HWND hMain = StartMain(p);
  ASSERT_NE(hMain, nullptr);
  char local[64] = "a text of another program";
  const WPARAM kValues[] = {static_cast<WPARAM>(0x343AF0F48ull), 1, reinterpret_cast<WPARAM>(local)};
  const struct {
    UINT command;  // 0: as the program starts
    int viewCode;
  } kViews[] = {{0, 0}, {ID_VIEWMODE_MONTH, 10}, {ID_VIEWMODE_FOCUS, 5}, {ID_VIEWMODE_MUSIC, 12}};
  for (const auto& view : kViews) {
    if (view.command) {
      ::PostMessageA(hMain, WM_COMMAND, view.command, 0);
      ASSERT_TRUE(testsupport::WaitUntil(
          [&] { return CMGetProfileInt("DepthViewer", "Mode", 0) == view.viewCode || p.Ended(); }, 20000))
          << "view " << view.viewCode << ", mode " << CMGetProfileInt("DepthViewer", "Mode", 0) << ", "
          << p.Windows("#32770").size() << " boxes";
    }
    ASSERT_TRUE(testsupport::SendToOther(hMain, WM_NULL, 0, 0, nullptr, 20000));
    HWND hStatus = ::FindWindowExA(hMain, nullptr, "msctls_statusbar32", nullptr);
    const std::string title = TextOf(hMain), status = hStatus ? TextOf(hStatus) : "";
    for (HWND h : AllWindowsOf(p.dwPid)) {
      // A control of the platform's hears only the program's own numbers (1522 up to
      // 4095), which no control uses.
      const bool control = IsPlatformControl(h);
      for (const ownmsg::Row& row : ownmsg::kRows) {
        if (control && (row.message < WM_USER + 0x100 || row.message >= 0x1000)) continue;
        // The values that are read through come in each parameter that carries one (the
        // other 0 or the same); the compared ones once.
        const bool read =
            row.trust == ownmsg::kOwnSend || row.trust == ownmsg::kPostedRecord || row.trust == ownmsg::kOwnRecord;
        for (WPARAM v : kValues) {
          const std::pair<WPARAM, LPARAM> shapes[] = {{v, 0}, {0, (LPARAM)v}, {v, (LPARAM)v}};
          for (const auto& shape : shapes) {
            const bool carries =
                ((row.params & ownmsg::kW) && shape.first) || ((row.params & ownmsg::kL) && shape.second);
            if (!carries || (!read && shape.first != (WPARAM)shape.second)) continue;
            // Sent without waiting for each answer (a round trip each would take minutes on
            // a busy machine); the window sees them sent from another thread all the same.
            ::PostMessageA(h, row.message, shape.first, shape.second);
            ::SendNotifyMessageA(h, row.message, shape.first, shape.second);
          }
          if (!read) break;
        }
      }
      DWORD_PTR answer = 0;  // the window's sends are handled before this one
      ::SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    }
    // The posts are handled once the program answers a send after them.
    ASSERT_TRUE(testsupport::SendToOther(hMain, WM_NULL, 0, 0, nullptr, 20000)) << "view " << view.viewCode;
    ASSERT_FALSE(p.Ended()) << "view " << view.viewCode;
    EXPECT_EQ(TextOf(hMain), title) << "view " << view.viewCode;
    if (hStatus) { EXPECT_EQ(TextOf(hStatus), status) << "view " << view.viewCode; }
    EXPECT_EQ(std::string(local), "a text of another program");
  }
  Close(p, hMain);
}

// Another program closes the main window while a dialog of ours is open over it, here the
// card import with a card in the drive: the dialog is closed first and the program ends
// cleanly (the frame and the dialog's plug-in are not taken from under the dialog's loop),
// also when that program enabled the main window first or sends the close.
TEST_F(ProgramTest, ACloseWhileTheImportDialogIsOpenClosesItFirst) {
  const std::string card = testsupport::NewTempFolder("glimora-program-card");
  ::CreateDirectoryA((card + "\\DCIM").c_str(), NULL);
  ::CreateDirectoryA((card + "\\DCIM\\100TEST").c_str(), NULL);
  ASSERT_TRUE(::CopyFileA(testsupport::Fixture("exif_full.jpg").c_str(),
                          (card + "\\DCIM\\100TEST\\IMG_0001.JPG").c_str(), FALSE));
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(card)), 0u);
  const struct {
    const char* name;
    bool enableFirst, send;
  } kCases[] = {
      {"posted", false, false}, {"posted, window enabled", true, false}, {"sent, window enabled", true, true}};
  for (const auto& c : kCases) {
    Process p;
    HWND hMain = StartMain(p);
    ASSERT_NE(hMain, nullptr) << c.name;
    auto importDialog = [&p]() -> HWND {
      for (HWND box : p.Windows("#32770"))
        if (::GetDlgItem(box, IDC_IMPORT_STATUS)) return box;
      return NULL;
    };
    // The card watcher may have opened it already; else the command does.
    if (!testsupport::WaitUntil([&] { return importDialog() != NULL; }, 3000))
      ::PostMessageA(hMain, WM_COMMAND, ID_FILE_IMPORT, 0);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return importDialog() != NULL || p.Ended(); }, 30000)) << c.name;
    ASSERT_NE(importDialog(), nullptr) << c.name;
    // The dialog is modal: the main window stays disabled under it whatever our timers do.
    ::Sleep(1200);
    EXPECT_FALSE(::IsWindowEnabled(hMain)) << c.name;
    if (c.enableFirst) ::EnableWindow(hMain, TRUE);
    if (c.send) {
      DWORD_PTR answer = 0;
      ::SendMessageTimeoutA(hMain, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer);
    } else {
      ::PostMessageA(hMain, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(p.Ended(20000)) << "the program did not end, " << c.name;
    EXPECT_EQ(ExitCode(p), 0u) << "the program did not end cleanly, " << c.name;
  }
  testsupport::RemoveCard('E');
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
  testsupport::RemoveTree(card);
}

// A close as soon as the window shows, while start-up and the panes' first work still
// run, ends the program as any other close does, and cleanly: a few times, the close
// landing a little later each time.
TEST_F(ProgramTest, ClosingWhileStartupRunsEndsTheProgramCleanly) {
  for (DWORD delayMs : {0, 50, 200}) {
    Process p;
    ASSERT_TRUE(p.Start(Program()));
    HWND hMain = NULL;
    ASSERT_TRUE(
        testsupport::WaitUntil([&] { return (hMain = FindMainWindowOf(p.dwPid)) != NULL || p.Ended(); }, 30000));
    ASSERT_NE(hMain, nullptr) << delayMs;
    ::Sleep(delayMs);
    ::PostMessageA(hMain, WM_CLOSE, 0, 0);
    EXPECT_TRUE(p.Ended(20000)) << "the close was lost, " << delayMs << " ms";
    EXPECT_EQ(ExitCode(p), 0u) << delayMs << " ms";
  }
}

// Closing the main window ends the process even when the close comes inside a loop of
// the platform's that drops the quit (Wine's keyboard move loop ends on WM_QUIT without
// posting it again): the process would live on without a window, holding the
// single-instance mutex and the database.
TEST_F(ProgramTest, ClosingInsideTheMoveLoopStillEndsTheProcess) {
  Process p;
  HWND hMain = StartMain(p);
  ASSERT_NE(hMain, nullptr);
  // A window of normal size: a maximized or minimized one has no move loop.
  ASSERT_TRUE(testsupport::WaitUntil(
      [hMain] {
        if (::IsIconic(hMain) || ::IsZoomed(hMain)) ::ShowWindow(hMain, SW_RESTORE);
        return !::IsIconic(hMain) && !::IsZoomed(hMain);
      },
      5000));
  // The move loop runs inside the window procedure until a key or a click ends it.
  ::PostMessageA(hMain, WM_SYSCOMMAND, SC_MOVE, 0);
  ::Sleep(500);
  ::PostMessageA(hMain, WM_CLOSE, 0, 0);
  EXPECT_TRUE(testsupport::WaitUntil([hMain] { return !::IsWindow(hMain); }, 20000)) << "the main window stayed";
  EXPECT_TRUE(p.Ended(20000)) << "the process outlived its main window";
}

// The end keeps on disk what the program keeps across runs, though its windows are not
// torn down: the window's placement, the panes' flags and tree states (sentinels written
// in their place while it runs), and the photo database closed, its write-ahead log folded
// in and removed.
TEST_F(ProgramTest, TheEndKeepsSettingsAndClosesTheDatabase) {
  Process p;
  HWND hMain = StartMain(p);
  ASSERT_NE(hMain, nullptr);
  // Another process's window: placed by messages, as the user would move it.
  // The frame may hold to a size of its own: the place counts.
  RECT rc = {};
  ASSERT_TRUE(testsupport::WaitUntil(
      [hMain, &rc] {
        if (::IsIconic(hMain) || ::IsZoomed(hMain)) ::ShowWindow(hMain, SW_RESTORE);
        ::MoveWindow(hMain, 40, 50, 900, 700, FALSE);
        ::GetWindowRect(hMain, &rc);
        return !::IsIconic(hMain) && !::IsZoomed(hMain) && rc.left == 40 && rc.top == 50;
      },
      5000));
  char disk[256] = "";
  ASSERT_GT(::LoadStringA(shelltest::ResourceDll(), IDS_TREE_TITLE_DISK, disk, sizeof disk), 0);
  const char kFolderInfo[] = "VxFolder\\FolderInfo";
  CMWriteProfileInt(kFolderInfo, disk, 99);
  CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 1);
  CMWriteProfileInt("ExportMenu", "Modal", 1);
  const std::string database = m_db + "\\VxDatabase.db";
  ASSERT_NE(::GetFileAttributesA((database + "-wal").c_str()), INVALID_FILE_ATTRIBUTES) << "the database is not open";
  Close(p, hMain);
  ASSERT_TRUE(p.Ended());

  const struct {
    const char* name;
    int value;
  } kPlacement[] = {{"WindowNormalPosLeft", (int)rc.left},
                    {"WindowNormalPosTop", (int)rc.top},
                    {"WindowNormalPosRight", (int)rc.right},
                    {"WindowNormalPosBottom", (int)rc.bottom}};
  for (const auto& c : kPlacement) EXPECT_EQ(CMGetProfileInt("", c.name, -1), c.value) << c.name;
  EXPECT_EQ(CMGetProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, -1), 0);
  EXPECT_EQ(CMGetProfileInt("ExportMenu", "Modal", -1), 0);
  const int tree = CMGetProfileInt(kFolderInfo, disk, -1);
  EXPECT_TRUE(tree >= 0 && tree <= 3) << "the disk tree's state: " << tree;
  EXPECT_NE(::GetFileAttributesA(database.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesA((database + "-wal").c_str()), INVALID_FILE_ATTRIBUTES) << "the database was not closed";
}

// The window of that control id among the window's descendants, or null.
HWND FindDescendant(HWND parent, int id) {
  struct Find {
    int id;
    HWND found;
  } find = {id, NULL};
  ::EnumChildWindows(
      parent,
      [](HWND h, LPARAM l) -> BOOL {
        Find* f = reinterpret_cast<Find*>(l);
        if (::GetDlgCtrlID(h) != f->id) return TRUE;
        f->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

// The switch to the card viewer gives up the marks and the instance mutex only for a viewer
// that starts: without a viewer nothing is asked or given up; a viewer that cannot start
// (an empty file under its name) gets them back, and the program stays.
TEST_F(ProgramTest, CardViewerSwitchKeepsMarksAndMutexUnlessTheViewerStarts) {
  const CString mutex = cardwatch::InstanceMutexName(CLIP_EDITOR_MUTEX, FALSE);
  const std::string marked = m_db + "\\marked.jpg",
                    viewerKey = std::string(cardwatch::kAppPathsKey) + "\\MarloLE GlimoraTest.exe";
  ASSERT_TRUE(testsupport::WriteWholeFile(marked, "x"));
  ASSERT_EQ(Mark_SetCheck(marked.c_str(), 1), S_OK);
  Process p;
  HWND hMain = StartMain(p);
  ASSERT_NE(hMain, nullptr);
  ASSERT_TRUE(cardwatch::IsMutexPresent(mutex));
  // The command has no button: it goes to the toolbar pane, the parent of the buttons.
  const HWND up = FindDescendant(hMain, ID_TB_FOLDER_UP);
  ASSERT_NE(up, nullptr);
  const HWND toolbar = ::GetParent(up);
  const std::string viewer = m_db + "\\viewer\\MarloLE.exe";
  ::CreateDirectoryA((m_db + "\\viewer").c_str(), NULL);
  ASSERT_TRUE(testsupport::WriteWholeFile(viewer, ""));
  for (bool registered : {false, true}) {
    if (registered) {
      HKEY h;
      ASSERT_EQ(
          ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, viewerKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr),
          ERROR_SUCCESS);
      ::RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)viewer.c_str(), (DWORD)viewer.size() + 1);
      ::RegCloseKey(h);
    }
    // A question about the marked file, should it come, answered Yes; none without a viewer.
    // Only questions count: a card in the drive may have the import dialog open beside them.
    int asked = 0;
    auto answer = [&] {
      for (HWND box : p.Windows("#32770")) {
        if (!::GetDlgItem(box, IDYES)) continue;
        ++asked;
        ::PostMessageA(box, WM_COMMAND, IDYES, 0);
      }
      return false;
    };
    ::PostMessageA(toolbar, WM_COMMAND, ID_TB_CARD_VIEWER, 0);
    testsupport::WaitUntil(answer, 3000);
    if (!registered) { EXPECT_EQ(asked, 0); }
    DWORD_PTR answered = 0;
    EXPECT_TRUE(::SendMessageTimeoutA(hMain, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, &answered)) << registered;
    EXPECT_FALSE(p.Ended()) << registered;
    int state = 0;
    EXPECT_EQ(Mark_GetCheck(marked.c_str(), &state), S_OK) << registered;
    EXPECT_EQ(state, 1) << registered;
    EXPECT_TRUE(cardwatch::IsMutexPresent(mutex)) << registered;
  }
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, viewerKey.c_str());
  Mark_SetCheck(marked.c_str(), 0);
  Close(p, hMain);
}

}  // namespace
