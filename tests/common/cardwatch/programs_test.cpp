// Finding, starting and closing programs: window properties, instance mutexes, command
// lines that reach the right program, and the card viewer's registration.
#include <cardwatch/Programs.h>
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>

#include "test_support.h"

using namespace cardwatch;

namespace {

struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : m_name(name) { SetEnvironmentVariableA(name, value.c_str()); }
  ~ScopedEnv() { SetEnvironmentVariableA(m_name, nullptr); }
  const char* m_name;
};

HWND MakeTopLevelWindow() {
  return CreateWindowA("STATIC", "autorun test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

// Lines the stand-ins wrote: "<program path>|<command line>" or "event:<n>".
std::vector<std::string> LogLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string text = testsupport::ReadWholeFile(path);
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  return lines;
}

}  // namespace

TEST(ProgramWindows, FoundByTheirProperty) {
  HWND hMain = MakeTopLevelWindow();
  HWND hViewer = MakeTopLevelWindow();
  ASSERT_TRUE(hMain && hViewer);
  EXPECT_EQ(nullptr, FindMainProgramWindow());
  SetPropA(hMain, kMainWindowProperty, (HANDLE)1);
  SetPropA(hViewer, kCardViewerWindowProperty, (HANDLE)1);
  EXPECT_EQ(hMain, FindMainProgramWindow());
  EXPECT_EQ(hViewer, FindCardViewerWindow());
  // A hidden window counts as well: the main program's frame may be minimised or hidden.
  EXPECT_FALSE(IsWindowVisible(hMain));
  DestroyWindow(hMain);
  EXPECT_EQ(nullptr, FindMainProgramWindow());
  EXPECT_FALSE(CloseMainProgram());
  DestroyWindow(hViewer);
  EXPECT_FALSE(NotifyCardViewer(1));
  EXPECT_FALSE(CloseCardViewer());
}

TEST(ProgramMutexes, RunningStateTable) {
  testsupport::ScopedProfileRoot profile("autorun");
  const std::string name = "Glimora autorun test " + std::to_string(GetCurrentProcessId());
  // The launcher looks for the mutex the main program takes when no name is configured.
  EXPECT_STREQ(kDefaultMainProgramMutex, GetMainProgramMutexName());
  EXPECT_STREQ("Norvane Marlo Application Mutex", kDefaultMainProgramMutex);
  CMWriteProfileString("Settings", "Mutex", name.c_str(), CMPROFILE_PROGRAM);
  EXPECT_STREQ(name.c_str(), GetMainProgramMutexName());

  EXPECT_FALSE(IsMainProgramRunning());
  EXPECT_FALSE(IsCardViewerRunning());
  HANDLE hLocal = CreateMutexA(nullptr, FALSE, name.c_str());
  EXPECT_FALSE(IsMainProgramRunning()) << "only the session-wide name counts";
  EXPECT_TRUE(IsMainProgramRunning(name.c_str(), TRUE));
  CloseHandle(hLocal);

  HANDLE hMain = CreateMutexA(nullptr, FALSE, ("Global\\" + name).c_str());
  EXPECT_TRUE(IsMainProgramRunning());
  HANDLE hViewer = CreateMutexA(nullptr, FALSE, "Global\\Norvane SD Glance LE Instance");
  EXPECT_TRUE(IsCardViewerRunning());
  EXPECT_FALSE(IsMainProgramRunning()) << "the card viewer's mutex hides the main program";
  CloseHandle(hViewer);
  CloseHandle(hMain);
  EXPECT_FALSE(IsMainProgramRunning());
}

TEST(StartProgram, MissingProgramIsReported) {
  EXPECT_FALSE(StartProgram("", "\"\""));
  EXPECT_FALSE(StartMainProgram("C:\\no such folder", 0));
}

// The main program in a folder whose name has a space, with a program at the first word
// of that path: only the main program may run.
TEST(StartProgram, PathWithSpacesRunsThatProgram) {
  TestFolder root("spaces");
  root.MakeDirs({"My Programs"});
  ASSERT_TRUE(CopyProgram("autorun_standin.exe", root.Win("My Programs\\Marlo5.exe")));
  ASSERT_TRUE(CopyProgram("autorun_standin.exe", root.Win("My.exe")));
  const std::string log = root.Win("started.log");
  ScopedEnv logEnv("AUTORUN_STANDIN_LOG", log);

  const std::string program = root.Win("My Programs\\Marlo5.exe");
  ASSERT_TRUE(StartMainProgram(root.Win("My Programs").c_str(), 1u << 4));
  ASSERT_TRUE(WaitUntil([&] { return !LogLines(log).empty(); }, 10000));
  Sleep(200);  // a wrongly started second program would have written by now
  std::vector<std::string> lines = LogLines(log);
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ(program + "|\"" + program + "\" -AutoImport", lines[0]);
}

TEST(ProgramWindows, CloseAndNotifyReachAnotherProcess) {
  TestFolder root("close");
  const std::string log = root.Win("events.log");
  ScopedEnv logEnv("AUTORUN_STANDIN_LOG", log);
  ScopedEnv propEnv("AUTORUN_STANDIN_PROPERTY", kCardViewerWindowProperty);
  const std::string program = ProgramFolder() + "\\autorun_standin.exe";
  ASSERT_TRUE(StartProgram(program.c_str(), QuoteProgramPath(program.c_str())));
  ASSERT_TRUE(WaitUntil([] { return FindCardViewerWindow() != nullptr; }, 10000));
  DWORD pid = 0;
  GetWindowThreadProcessId(FindCardViewerWindow(), &pid);
  HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, pid);

  EXPECT_TRUE(NotifyCardViewer(2));
  EXPECT_TRUE(CloseCardViewer());
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hProcess, 10000));
  CloseHandle(hProcess);
  std::vector<std::string> lines = LogLines(log);
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ("event:2", lines[1]);
}

// App Paths entries of card viewers: the newest version wins.
TEST(CardViewerPath, NewestRegisteredViewer) {
  const std::string key = "Software\\GlimoraTest\\autorun-apppaths-" + std::to_string(GetCurrentProcessId());
  TestFolder root("viewers");
  const std::string v9 = ProgramFolder() + "\\autorun_viewer_9.exe";
  const std::string v10 = ProgramFolder() + "\\autorun_viewer_10.exe";
  const std::string v110 = ProgramFolder() + "\\autorun_viewer_1_10.exe";
  ASSERT_STREQ("10.0.0.0", CMTLInspectFile(v10.c_str()));

  struct Entry {
    const char* subkey;
    std::string path;
  };
  const Entry entries[] = {
      {"MarloLE.exe", v9},
      {"MarloLE2.exe", "\"" + v10 + "\""},  // quoted, as some installers write it
      {"marlole3.exe", v110},
      {"Other.exe", v10},
  };
  for (const Entry& e : entries) {
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, (key + "\\" + e.subkey).c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &h, nullptr));
    RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)e.path.c_str(), (DWORD)e.path.size() + 1);
    RegCloseKey(h);
  }

  std::vector<CString> paths;
  ListAppPathPrograms(HKEY_CURRENT_USER, key.c_str(), kCardViewerAppPathPrefix, 0, paths);
  ASSERT_EQ(3u, paths.size());
  EXPECT_STREQ(v9.c_str(), paths[0]);
  EXPECT_STREQ(v10.c_str(), paths[1]);
  EXPECT_STREQ(v110.c_str(), paths[2]);
  EXPECT_STREQ(v10.c_str(), FindCardViewerPathIn(HKEY_CURRENT_USER, key.c_str()));

  // An entry whose program path cannot be read ends the list.
  HKEY h;
  RegOpenKeyExA(HKEY_CURRENT_USER, (key + "\\MarloLE2.exe").c_str(), 0, KEY_WRITE, &h);
  DWORD number = 5;
  RegSetValueExA(h, nullptr, 0, REG_DWORD, (const BYTE*)&number, sizeof(number));
  RegCloseKey(h);
  paths.clear();
  ListAppPathPrograms(HKEY_CURRENT_USER, key.c_str(), kCardViewerAppPathPrefix, 0, paths);
  EXPECT_EQ(1u, paths.size());
  EXPECT_STREQ(v9.c_str(), FindCardViewerPathIn(HKEY_CURRENT_USER, key.c_str()));

  RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
  EXPECT_STREQ("", FindCardViewerPathIn(HKEY_CURRENT_USER, key.c_str()));
}

// The machine-wide registration that the launcher and the main program read, and the
// card viewer started from it with the new drives.
TEST(CardViewerPath, InstalledViewerIsStartedWithTheDrives) {
  const std::string key = std::string(kAppPathsKey) + "\\MarloLE GlimoraTest.exe";
  const std::string viewer = ProgramFolder() + "\\autorun_viewer_10.exe";
  HKEY h;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr));
  RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)viewer.c_str(), (DWORD)viewer.size() + 1);
  RegCloseKey(h);

  EXPECT_STREQ(viewer.c_str(), FindCardViewerPath());
  TestFolder root("viewer-start");
  const std::string log = root.Win("viewer.log");
  {
    ScopedEnv logEnv("AUTORUN_STANDIN_LOG", log);
    ASSERT_TRUE(StartCardViewer((1u << 4) | (1u << 5)));
    EXPECT_TRUE(WaitUntil([&] { return !LogLines(log).empty(); }, 10000));
  }
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
  std::vector<std::string> lines = LogLines(log);
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ(viewer + "|\"" + viewer + "\" -AutoImport/e:f:", lines[0]);
  EXPECT_STREQ("", FindCardViewerPath());
  EXPECT_FALSE(StartCardViewer(1u << 4));
}
