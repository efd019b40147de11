// The outside-program manager against a small test program: the command line it gets
// (quoted path, the main window in upper-case hex), the report of its window, and the
// close sequence (WM_CLOSE, the wait, WM_CLOSE again and termination).
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>

#include <string>
#include <vector>

#include "ExternalToolManager.h"
#include "MainWndMessages.h"
#include <VxResourceIds.h>

#include "shelltest.h"
#include "uikit.h"
#include <files.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>

namespace {

// A main window that hands reported program windows to the manager and records what
// the manager tells it (a close is recorded, not carried out).
class CHostWnd : public CWnd {
 public:
  explicit CHostWnd(CExternalToolManager* pManager) : m_pManager(pManager) {
    CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPED, 0, 0, 100, 100, NULL, NULL);
  }
  ~CHostWnd() override {
    if (m_hWnd) DestroyWindow();
  }
  std::vector<UINT> m_got;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CLOSE || message == WM_REFRESH_FOLDERS || message == WM_BROWSER_RELOAD) {
      m_got.push_back(message);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }

 protected:
  afx_msg LRESULT OnChildWindowCreated(WPARAM wParam, LPARAM lParam) {
    return m_pManager->SetToolWindow((int)lParam, reinterpret_cast<HWND>(wParam));
  }
  DECLARE_MESSAGE_MAP()

 private:
  CExternalToolManager* m_pManager;
};
BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
  ON_MESSAGE(WM_CHILD_WINDOW_CREATED, &CHostWnd::OnChildWindowCreated)
END_MESSAGE_MAP()

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string text = testsupport::ReadWholeFile(path);
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The test program installed under a folder with a blank in its name, and a decoy that a
// command line without quotes would start instead.
class ToolManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    m_base = testsupport::NewTempFolder("glimora tools");
    m_tool = m_base + "\\sp ace\\tool.exe";
    m_decoy = m_base + "\\sp.exe";
    m_log = m_base + "\\tool.log";
    testsupport::MakeFolders(m_base + "\\sp ace");
    std::string source = testsupport::ProgramFolder() + "\\shell_testtool.exe";
    ASSERT_TRUE(::CopyFileA(source.c_str(), m_tool.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(source.c_str(), m_decoy.c_str(), FALSE));
    ::DeleteFileA(m_log.c_str());
    ::SetEnvironmentVariableA("GLIMORA_TOOL_LOG", m_log.c_str());
    CMWriteProfileString("ExeState0004", "ExePath", m_tool.c_str());
    CMWriteProfileString("ExeState0004", "Name", "tool");
    m_manager.LoadToolList();
    m_pHost = new CHostWnd(&m_manager);
    m_manager.SetMainWnd(m_pHost->m_hWnd);
  }
  void TearDown() override {
    delete m_pHost;
    ::SetEnvironmentVariableA("GLIMORA_TOOL_LOG", NULL);
    testsupport::RemoveTree(m_base);
  }

  // Starts entry 4 and waits for its window; the program's process (null on failure).
  HANDLE StartTool(const char* pszArgument) {
    if (FAILED(m_manager.Launch(TOOL_IMAGE_EDITOR, pszArgument))) return NULL;
    if (!testsupport::WaitUntil([this] { return m_manager.GetToolWindow(TOOL_IMAGE_EDITOR) != NULL; }, 10000))
      return NULL;
    DWORD dwPid = 0;
    ::GetWindowThreadProcessId(m_manager.GetToolWindow(TOOL_IMAGE_EDITOR), &dwPid);
    return ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, dwPid);
  }

  shelltest::ProfileRoot m_root;
  CExternalToolManager m_manager;
  CHostWnd* m_pHost = nullptr;
  std::string m_base, m_tool, m_decoy, m_log;
};

TEST(ToolCommandLine, QuotedPathMainWindowInUpperHexAndArgument) {
  CString strProgram, strLine;
  BuildToolCommandLine("C:\\Program Files\\Edit\\VxEdit.exe", "C:\\prog", reinterpret_cast<HWND>(0x1a2bc), "-b",
                       &strProgram, &strLine);
  EXPECT_STREQ(strProgram, "C:\\Program Files\\Edit\\VxEdit.exe");
  EXPECT_STREQ(strLine, "\"C:\\Program Files\\Edit\\VxEdit.exe\" -w0001A2BC -b");
  BuildToolCommandLine("Slide\\Player.exe", "C:\\Program Files\\Norvane\\Marlo5", reinterpret_cast<HWND>(0xF0),
                       "/sdg x", &strProgram, &strLine);
  EXPECT_STREQ(strProgram, "C:\\Program Files\\Norvane\\Marlo5\\Slide\\Player.exe");
  EXPECT_STREQ(strLine, "\"C:\\Program Files\\Norvane\\Marlo5\\Slide\\Player.exe\" -w000000F0 /sdg x");
}

TEST(ToolState, WindowPatternsGiveTheManagersState) {
  EXPECT_EQ(ToolStateFromWindows(0x8F), TOOLSTATE_IDLE);
  EXPECT_EQ(ToolStateFromWindows(0x9F), TOOLSTATE_EDITOR);
  EXPECT_EQ(ToolStateFromWindows(0x2F), TOOLSTATE_SLIDESHOW);
  EXPECT_EQ(ToolStateFromWindows(0x4F), TOOLSTATE_PAGE_TOOL);
  EXPECT_EQ(ToolStateFromWindows(0x0F), 0);
  EXPECT_EQ(ToolStateFromWindows(0x1F), 0);
}

TEST_F(ToolManagerTest, ListHoldsThePanesThenTheProgramsUpToTheFirstGap) {
  EXPECT_EQ(m_manager.GetToolCount(), 5);
  EXPECT_STREQ(m_manager.GetTool(TOOL_IMAGE_EDITOR)->m_strPath, m_tool.c_str());
  EXPECT_EQ(m_manager.SetToolWindow(5, m_pHost->m_hWnd), E_FAIL);  // no such entry
  EXPECT_EQ(m_manager.SetToolWindow(-1, m_pHost->m_hWnd), E_FAIL);
  EXPECT_EQ(m_manager.Launch(9, ""), E_FAIL);
}

TEST_F(ToolManagerTest, ProgramStartsWithItsQuotedPathAndTheMainWindowAndClosesAtTheEnd) {
  HANDLE hProcess = StartTool("4");
  ASSERT_NE(hProcess, nullptr);
  std::vector<std::string> lines = ReadLines(m_log);
  ASSERT_EQ(lines.size(), 1u) << "the decoy ran too";
  char szExpected[1024];
  sprintf(szExpected, "%s|\"%s\" -w%08X 4", m_tool.c_str(), m_tool.c_str(), (unsigned)(UINT_PTR)m_pHost->m_hWnd);
  EXPECT_STREQ(lines[0].c_str(), szExpected);

  // The lock file goes, the program gets WM_CLOSE and ends within the first rounds.
  std::string lock = testsupport::ProgramFolder() + "\\NORVANE_MARLO_PROCESS_MANAGEMENT.lock";
  testsupport::WriteWholeFile(lock, "x");
  DWORD dwStart = ::GetTickCount();
  m_manager.CloseAll(100, 50);
  EXPECT_LT(::GetTickCount() - dwStart, 4000u);
  EXPECT_EQ(::WaitForSingleObject(hProcess, 2000), WAIT_OBJECT_0);
  DWORD dwCode = 99;
  ::GetExitCodeProcess(hProcess, &dwCode);
  EXPECT_EQ(dwCode, 0u);
  EXPECT_EQ(::GetFileAttributesA(lock.c_str()), INVALID_FILE_ATTRIBUTES);
  ::CloseHandle(hProcess);
}

TEST_F(ToolManagerTest, ProgramThatIgnoresCloseIsEndedAfterTheTries) {
  HANDLE hProcess = StartTool("4 ignore-close");
  ASSERT_NE(hProcess, nullptr);
  m_manager.CloseAll(50, 2);
  EXPECT_EQ(::WaitForSingleObject(hProcess, 2000), WAIT_OBJECT_0);
  DWORD dwCode = 99;
  ::GetExitCodeProcess(hProcess, &dwCode);
  EXPECT_EQ(dwCode, 1u);  // terminated
  EXPECT_FALSE(m_manager.GetTool(TOOL_IMAGE_EDITOR)->IsTracked());
  ::CloseHandle(hProcess);
}

TEST_F(ToolManagerTest, CloseAllWithoutProgramsShowsTheNoticeAndDoesNotWait) {
  DWORD dwStart = ::GetTickCount();
  m_manager.CloseAll();
  EXPECT_LT(::GetTickCount() - dwStart, 1500u);
  EXPECT_EQ(m_manager.GetProgressDialog().m_hWnd, nullptr);
}

// An outside program asks for the image editor with a file list: the editor starts with
// "-b" and finds the names of the pictures it can open, as many as the count says.
TEST_F(ToolManagerTest, ProgramRequestOpensTheEditorWithTheNamesItCanRead) {
  // An earlier request left more names than this one writes.
  for (int n = 1; n <= 4; ++n) CMWriteProfileString("IPC", ("BgFileName_0" + std::to_string(n)).c_str(), "C:\\old.jpg");
  std::string plain = testsupport::Fixture("plain.jpg"), png = testsupport::Fixture("image.png");
  std::string broken = testsupport::Fixture("not_image.jpg"), other = testsupport::Fixture("rose.jpg");
  // A file list (folder type 0), then records: path, state (1 selected), reserved. The
  // unselected one is left out.
  std::string text =
      "A|tool.exe|1|0|0|0|" + plain + "|1|0||" + broken + "|1|0||" + other + "|0|0||" + png + "|1|0||";
  COPYDATASTRUCT cds = {CDID_PROGRAM_REQUEST, (DWORD)text.size() + 1, const_cast<char*>(text.c_str())};
  RelayRecord record = {WM_COPYDATA, reinterpret_cast<WPARAM>(m_pHost->m_hWnd), reinterpret_cast<LPARAM>(&cds)};
  ::SetEnvironmentVariableA("GLIMORA_TOOL_INDEX", "4");
  m_manager.OnRequest(record);
  ::SetEnvironmentVariableA("GLIMORA_TOOL_INDEX", NULL);
  ASSERT_TRUE(testsupport::WaitUntil([this] { return m_manager.GetToolWindow(TOOL_IMAGE_EDITOR) != NULL; }, 10000));
  std::vector<std::string> lines = ReadLines(m_log);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 3), " -b");
  EXPECT_EQ(CMGetProfileInt("IPC", "BgFileNum", -1), 2);
  EXPECT_STREQ(CMGetProfileString("IPC", "BgFileName_01"), plain.c_str());
  EXPECT_STREQ(CMGetProfileString("IPC", "BgFileName_02"), png.c_str());
  EXPECT_STREQ(CMGetProfileString("IPC", "BgFileName_03", "gone"), "gone");
  EXPECT_STREQ(CMGetProfileString("IPC", "BgFileName_04", "gone"), "gone");
  EXPECT_FALSE(m_pHost->IsWindowEnabled());  // the main window waits for the editor
  m_manager.CloseAll(100, 50);
}

// The monitor timer: the main window is disabled while a program's window needs it, and
// when the image editor's window goes the main window hears of the file it saved.
TEST_F(ToolManagerTest, MonitorTimerFollowsTheProgramsThatNeedTheMainWindow) {
  auto tick = [this] { m_manager.OnTimer(m_pHost->m_hWnd, TOOLTIMER_MONITOR); };
  struct {
    const char* section;
    const char* key;
    BOOL enabled;
  } kCases[] = {
      {"VxExport", "MailModal", FALSE},
      {"ExeState", "ForceDisableMainWindow", FALSE},
      {"ExeState", "Unrelated", TRUE},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.key);
    m_pHost->EnableWindow(!c.enabled);
    CMWriteProfileInt(c.section, c.key, 1);
    tick();
    EXPECT_EQ(m_pHost->IsWindowEnabled(), c.enabled);
    CMWriteProfileInt(c.section, c.key, 0);
  }
  tick();
  EXPECT_TRUE(m_pHost->IsWindowEnabled());  // nothing holds it any more

  HANDLE hProcess = StartTool("4");
  ASSERT_NE(hProcess, nullptr);
  CMWriteProfileString("VxEdit\\IPC", "FileSaved", "C:\\saved.jpg");
  ::PostMessageA(m_manager.GetToolWindow(TOOL_IMAGE_EDITOR), WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(hProcess, 5000), WAIT_OBJECT_0);
  ::CloseHandle(hProcess);
  m_pHost->m_got.clear();
  tick();
  EXPECT_EQ(m_pHost->m_got, (std::vector<UINT>{WM_REFRESH_FOLDERS, WM_BROWSER_RELOAD}));
  EXPECT_EQ(m_manager.GetToolWindow(TOOL_IMAGE_EDITOR), nullptr);
  EXPECT_FALSE(m_manager.GetTool(TOOL_IMAGE_EDITOR)->IsTracked());
  m_pHost->KillTimer(TOOLTIMER_MONITOR);
}

// A display that no longer suits the program closes it, after telling the user.
TEST_F(ToolManagerTest, DisplayChangeToAnUnfitDisplayClosesTheProgram) {
  shelltest::ResourceScope resources;
  RelayRecord change = {WM_DISPLAYCHANGE, 16, MAKELPARAM(800, 600)};
  m_manager.SetDisplayCheck([]() -> BOOL { return TRUE; });
  m_manager.OnRequest(change);
  testsupport::PumpPending();
  EXPECT_FALSE(m_manager.IsForcedClose());
  EXPECT_TRUE(m_pHost->m_got.empty());

  m_manager.SetDisplayCheck([]() -> BOOL { return FALSE; });
  CMWriteProfileInt("PageSmith", "EndMessage", 1);
  std::string text;
  {
    uikit::DialogDriver ok([&text](HWND hBox) {
      text = uikit::StaticTexts(hBox);
      uikit::Press(hBox, IDOK);
    });
    m_manager.OnRequest(change);
    EXPECT_EQ(ok.Ran(), 1);
  }
  CString strExpected;
  strExpected.LoadString(IDS_SHELL_DISPLAY_CHANGED);
  EXPECT_NE(text.find((LPCSTR)strExpected), std::string::npos) << text;
  EXPECT_TRUE(m_manager.IsForcedClose());
  EXPECT_EQ(CMGetProfileInt("PageSmith", "EndMessage", -1), 0);
  testsupport::PumpPending();
  EXPECT_EQ(m_pHost->m_got, std::vector<UINT>{WM_CLOSE});
}

TEST_F(ToolManagerTest, OpenToolRefusesTypesAndStatesItDoesNotKnow) {
  EXPECT_EQ(m_manager.OpenTool(9, ""), E_INVALIDARG);
  EXPECT_EQ(m_manager.OpenTool(OPENTOOL_SLIDESHOW, ""), E_FAIL);  // no player in the list
  EXPECT_EQ(m_manager.OpenTool(OPENTOOL_PAGE_TOOL, ""), E_FAIL);
  EXPECT_EQ(m_manager.OpenTool(OPENTOOL_CLOSE, ""), E_FAIL);      // nothing runs
}

}  // namespace
