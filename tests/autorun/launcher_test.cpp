// The launcher's hidden frame in this process, with table answers for the programs and
// drives: tray window, watch timer, power and session notices, tray menu and commands.
#include <gtest/gtest.h>

#include "AboutDialog.h"
#include "LauncherIds.h"
#include "MainFrame.h"
#include "TrayMenu.h"
#include "fake_envs.h"
#include "test_support.h"

#include <VxResourceIds.h>
#include <dialogwatch.h>
#include <wtsapi32.h>

namespace {

// Whether the frame's watch timer runs: it is taken away to find out, and put back.
bool WatchTimerRuns(HWND hWnd) {
  if (!::KillTimer(hWnd, IDT_CARD_WATCH)) return false;
  ::SetTimer(hWnd, IDT_CARD_WATCH, CARD_WATCH_INTERVAL, nullptr);
  return true;
}

// Closes whatever menu is being tracked shortly after it opened.
void EndMenuSoon() {
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  });
}

struct MenuItem {
  UINT id;
  std::string text;
  bool operator==(const MenuItem& o) const { return id == o.id && text == o.text; }
};

std::ostream& operator<<(std::ostream& os, const MenuItem& m) { return os << m.id << " " << m.text; }

std::vector<MenuItem> Items(HMENU hMenu) {
  std::vector<MenuItem> items;
  for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
    char text[256] = "";
    GetMenuStringA(hMenu, i, text, sizeof(text), MF_BYPOSITION);
    items.push_back({GetMenuItemID(hMenu, i), text});
  }
  return items;
}

class LauncherFrame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_hResource = LoadLibraryA("VxResource.dll");
    AfxSetResourceHandle(s_hResource);
  }
  static void TearDownTestSuite() {
    AfxSetResourceHandle(GetModuleHandleA(nullptr));
    FreeLibrary(s_hResource);
  }

  void SetUp() override {
    ASSERT_TRUE(s_hResource);
    m_pFrame = new CMainFrame;
    m_pFrame->SetEnvironment(&m_env, &m_scanEnv);
    ASSERT_TRUE(m_pFrame->LoadFrame(IDR_MAINFRAME, 0xCF8000));
    m_hWnd = m_pFrame->GetSafeHwnd();
  }
  void TearDown() override {
    if (IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);  // the frame deletes itself
    testsupport::PumpPending();
  }

  // A tick of the watch now, as timer 1001 would run it.
  void Tick() { ::SendMessageA(m_hWnd, WM_TIMER, IDT_CARD_WATCH, 0); }

  static HINSTANCE s_hResource;
  FakeAutoRunEnv m_env;
  FakeScanEnv m_scanEnv;
  CMainFrame* m_pFrame = nullptr;
  HWND m_hWnd = nullptr;
};

HINSTANCE LauncherFrame::s_hResource = nullptr;

}  // namespace

TEST_F(LauncherFrame, HiddenWithTrayWindowAndWatchTimer) {
  EXPECT_FALSE(IsWindowVisible(m_hWnd));
  EXPECT_EQ((HANDLE)1, GetPropA(m_hWnd, kLauncherWindowProperty));
  EXPECT_EQ(0, GetWindowLongA(m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  HWND hTray = GetDlgItem(m_hWnd, IDC_TRAY_ICON_WND);
  ASSERT_TRUE(hTray);
  char cls[32] = "";
  GetClassNameA(hTray, cls, sizeof(cls));
  EXPECT_STRCASEEQ("Static", cls);
  EXPECT_FALSE(IsWindowVisible(hTray));
  EXPECT_TRUE(WatchTimerRuns(m_hWnd));
}

TEST_F(LauncherFrame, PowerAndSessionNoticesPauseTheWatch) {
  struct Step {
    UINT msg;
    WPARAM w;
    bool runs;
  };
  const Step steps[] = {
      {WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, false},
      {WM_POWERBROADCAST, PBT_APMQUERYSUSPENDFAILED, true},
      {WM_POWERBROADCAST, PBT_APMSUSPEND, false},
      {WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, false},
      {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, true},
      {WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT, false},
      {WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, false},
      {WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT, true},
      {WM_POWERBROADCAST, PBT_APMSUSPEND, false},
      {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::to_string(s.msg) + "/" + std::to_string(s.w));
    LRESULT r = ::SendMessageA(m_hWnd, s.msg, s.w, 0);
    if (s.msg == WM_POWERBROADCAST) {
      EXPECT_EQ(TRUE, r);
    }
    EXPECT_EQ(s.runs, WatchTimerRuns(m_hWnd));
  }
}

TEST_F(LauncherFrame, TrayMenuTable) {
  const std::string start = "Glimora を起動(&S)", close = "Glimora を終了(&C)";
  const std::string startViewer = "Marlo LE を起動(&S)", closeViewer = "Marlo LE を終了(&C)";
  const MenuItem exitItem = {ID_AUTORUN_EXIT, "自動起動を終了(&X)"};
  struct Row {
    const char* name;
    BOOL main, viewer;
    const char* viewerPath;
    std::vector<MenuItem> items;
  };
  const Row rows[] = {
      {"nothing runs, no viewer installed", FALSE, FALSE, "", {{ID_AUTORUN_START_MAIN, start}, exitItem}},
      {"nothing runs", FALSE, FALSE, "C:\\v.exe",
       {{ID_AUTORUN_START_MAIN, start}, {ID_AUTORUN_START_VIEWER, startViewer}, exitItem}},
      {"main program runs", TRUE, FALSE, "C:\\v.exe", {{ID_AUTORUN_CLOSE_MAIN, close}, exitItem}},
      {"main program runs, no viewer installed", TRUE, FALSE, "", {{ID_AUTORUN_CLOSE_MAIN, close}, exitItem}},
      {"viewer runs", FALSE, TRUE, "C:\\v.exe", {{ID_AUTORUN_CLOSE_VIEWER, closeViewer}, exitItem}},
      {"both run", TRUE, TRUE, "C:\\v.exe",
       {{ID_AUTORUN_CLOSE_MAIN, close}, {ID_AUTORUN_CLOSE_VIEWER, closeViewer}, exitItem}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    m_env.bMainRunning = r.main;
    m_env.bViewerRunning = r.viewer;
    m_env.viewerPath = r.viewerPath;
    CMenu menu;
    ASSERT_TRUE(m_pFrame->BuildTrayMenu(menu));
    EXPECT_EQ(r.items, Items(menu.m_hMenu));
    menu.DestroyMenu();
  }
}

TEST_F(LauncherFrame, MenuGreysProgramsThatShowADialog) {
  HWND hBusy = CreateWindowA("STATIC", "busy", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND hIdle = CreateWindowA("STATIC", "idle", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EnableWindow(hBusy, FALSE);
  m_env.viewerPath = "C:\\v.exe";
  m_env.bMainRunning = TRUE;
  m_env.hMainWnd = hBusy;
  m_env.hViewerWnd = hIdle;
  CMenu menu;
  ASSERT_TRUE(m_pFrame->BuildTrayMenu(menu));
  menu.AppendMenu(MF_STRING, ID_AUTORUN_START_VIEWER, "viewer");
  ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
  EXPECT_TRUE(GetMenuState(menu.m_hMenu, ID_AUTORUN_CLOSE_MAIN, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu.m_hMenu, ID_AUTORUN_START_VIEWER, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu.m_hMenu, ID_AUTORUN_EXIT, MF_BYCOMMAND) & MF_GRAYED);
  menu.DestroyMenu();
  DestroyWindow(hBusy);
  DestroyWindow(hIdle);
}

TEST_F(LauncherFrame, TickStartsTheMainProgramAndKeepsWatching) {
  m_env.nMode = cardwatch::AUTORUN_MAIN_PROGRAM;
  Tick();
  m_scanEnv.Insert('E', FakeDrive{DRIVE_REMOVABLE, false, false, true});
  Tick();
  EXPECT_EQ(std::vector<std::string>{"start-main:10"}, m_env.calls);
  EXPECT_EQ(1u << 4, m_pFrame->GetDriveMask());
  EXPECT_TRUE(WatchTimerRuns(m_hWnd));
}

// The shell's right click reaches the frame through the tray window; the menu clears the
// last card's drives, so that a program started from it imports nothing.
TEST_F(LauncherFrame, MenuFromTheTrayIconStartsWithoutImport) {
  Tick();
  m_scanEnv.Insert('E', FakeDrive{DRIVE_REMOVABLE, false, false, true});
  Tick();
  ASSERT_EQ(1u << 4, m_pFrame->GetDriveMask());

  HWND hTray = GetDlgItem(m_hWnd, IDC_TRAY_ICON_WND);
  ::PostMessageA(hTray, WM_TRAY_CALLBACK, TRAY_ICON_UID, WM_MOUSEMOVE);
  testsupport::PumpPending();
  EXPECT_EQ(1u << 4, m_pFrame->GetDriveMask());

  EndMenuSoon();
  ::PostMessageA(hTray, WM_TRAY_CALLBACK, TRAY_ICON_UID, WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return m_pFrame->GetDriveMask() == 0; }, 5000));
  ::SendMessageA(m_hWnd, WM_COMMAND, ID_AUTORUN_START_MAIN, 0);
  ::SendMessageA(m_hWnd, WM_COMMAND, ID_AUTORUN_START_VIEWER, 0);
  ::SendMessageA(m_hWnd, WM_COMMAND, ID_AUTORUN_CLOSE_MAIN, 0);
  ::SendMessageA(m_hWnd, WM_COMMAND, ID_AUTORUN_CLOSE_VIEWER, 0);
  EXPECT_EQ((std::vector<std::string>{"start-main:0", "start-viewer:0", "close-main:0", "close-viewer:0"}), m_env.calls);
}

TEST_F(LauncherFrame, DisabledFrameOpensNoMenu) {
  Tick();
  m_scanEnv.Insert('E', FakeDrive{DRIVE_REMOVABLE, false, false, true});
  Tick();
  ::EnableWindow(m_hWnd, FALSE);
  ::SendMessageA(m_hWnd, WM_TRAY_NOTIFY, TRAY_ICON_UID, WM_RBUTTONDOWN);
  EXPECT_EQ(1u << 4, m_pFrame->GetDriveMask());
}

TEST_F(LauncherFrame, EndRequestEndsTheLauncher) {
  m_scanEnv.Insert('E', FakeDrive{DRIVE_REMOVABLE, false, false, true});
  m_env.bEnd = TRUE;
  Tick();
  EXPECT_FALSE(IsWindow(m_hWnd));
  EXPECT_TRUE(m_scanEnv.mediaTests.empty());
}

TEST_F(LauncherFrame, ExitCommandEndsTheLauncher) {
  ::SendMessageA(m_hWnd, WM_COMMAND, ID_AUTORUN_EXIT, 0);
  EXPECT_FALSE(IsWindow(m_hWnd));
}

TEST(LauncherAbout, ShowsTheAboutBox) {
  HINSTANCE hRes = LoadLibraryA("VxResource.dll");
  ASSERT_TRUE(hRes);
  AfxSetResourceHandle(hRes);
  // Found among this program's windows, not as the active one: another program's window
  // may hold the activation.
  testsupport::DialogWatch watch(
      nullptr, [](HWND box) { return IsWindowVisible(box) && GetDlgItem(box, IDOK); },
      [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
  CAboutDialog dlg;
  EXPECT_EQ(IDOK, dlg.DoModal());
  watch.Stop();
  EXPECT_TRUE(watch.Acted());
  AfxSetResourceHandle(GetModuleHandleA(nullptr));
  FreeLibrary(hRes);
}

TEST(TrayIcon, TipTextKeepsWholeCharacters) {
  struct Row {
    std::string tip;
    size_t bytes;
  };
  const std::string kana = "あ";  // two bytes in code page 932
  std::string longKana, mixed = "a";
  for (int i = 0; i < 70; ++i) longKana += kana;
  mixed += longKana;
  const Row rows[] = {
      {"Glimora", 7},
      {std::string(130, 'x'), 127},
      {longKana, 126},
      {mixed, 127},
  };
  for (const Row& r : rows) {
    CString tip = autorun::TrimTipText(r.tip.c_str());
    EXPECT_EQ(r.bytes, (size_t)tip.GetLength());
    EXPECT_EQ(0, r.tip.compare(0, r.bytes, (LPCSTR)tip));
  }
  NOTIFYICONDATAA nid;
  autorun::FillTrayIconData(nid, (HWND)0x1234, nullptr, longKana.c_str());
  EXPECT_EQ(TRAY_ICON_UID, nid.uID);
  EXPECT_EQ((UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP), nid.uFlags);
  EXPECT_EQ((UINT)WM_TRAY_CALLBACK, nid.uCallbackMessage);
  EXPECT_EQ(126u, strlen(nid.szTip));
}
