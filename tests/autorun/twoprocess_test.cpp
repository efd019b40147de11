// VxAutoRun.exe as its own process: started from a program folder of the test's that
// holds a stand-in for the main program, it starts that stand-in with " -AutoImport"
// when a camera card comes into a drive, refuses a second instance, and ends on request.
#include <cardwatch/Programs.h>
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>

#include "MainFrame.h"
#include "test_support.h"

#include <functional>

namespace {

class Launcher {
 public:
  ~Launcher() {
    if (m_pi.hProcess) {
      TerminateProcess(m_pi.hProcess, 1);
      Close();
    }
  }
  bool Start(const std::string& exe) {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::string line = "\"" + exe + "\"";
    return CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != 0;
  }
  bool WaitForEnd(DWORD ms) {
    if (WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0) return false;
    Close();
    return true;
  }
  bool Running() const { return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }
  DWORD Pid() const { return m_pi.dwProcessId; }

 private:
  void Close() {
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
    m_pi = PROCESS_INFORMATION();
  }
  PROCESS_INFORMATION m_pi = {};
};

// The first top-level window of the process that passes the test.
HWND FindProcessWindow(DWORD pid, const std::function<bool(HWND)>& test) {
  struct Search {
    DWORD pid;
    const std::function<bool(HWND)>* test;
    HWND found;
  } s = {pid, &test, nullptr};
  EnumWindows(
      [](HWND h, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner != s->pid || !(*s->test)(h)) return TRUE;
        s->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// The launcher's frame (hidden, marked by its window property) in the given process.
HWND FindLauncherFrame(DWORD pid) {
  return FindProcessWindow(pid, [](HWND h) { return GetPropA(h, kLauncherWindowProperty) != nullptr; });
}

// A message box of that process, with the texts of its controls, one a line.
HWND FindMessageBox(DWORD pid, std::string* texts) {
  HWND hBox = FindProcessWindow(pid, [](HWND h) {
    char cls[16] = "";
    GetClassNameA(h, cls, sizeof(cls));
    return !strcmp(cls, "#32770");
  });
  if (hBox && texts) {
    texts->clear();
    EnumChildWindows(
        hBox,
        [](HWND h, LPARAM l) -> BOOL {
          char t[512] = "";
          GetWindowTextA(h, t, sizeof(t));
          *reinterpret_cast<std::string*>(l) += std::string(t) + "\n";
          return TRUE;
        },
        reinterpret_cast<LPARAM>(texts));
  }
  return hBox;
}

class LauncherProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyProgram("VxAutoRun.exe", m_folder.Win("VxAutoRun.exe")));
    ASSERT_TRUE(CopyProgram("autorun_standin.exe", m_folder.Win("Marlo5.exe")));
    // The resource library lies beside the launcher, as where it is installed; the other
    // libraries stay in the build's program folder.
    ASSERT_TRUE(CopyProgram("VxResource.dll", m_folder.Win("VxResource.dll")));
    char path[8192] = "";
    GetEnvironmentVariableA("PATH", path, sizeof(path));
    m_oldPath = path;
    SetEnvironmentVariableA("PATH", (ProgramFolder() + ";" + m_oldPath).c_str());
    SetEnvironmentVariableA("AUTORUN_STANDIN_LOG", Log().c_str());
    m_camera.MakeDirs({"DCIM\\100ABCDE"});
    m_empty.MakeDirs({"MISC"});
  }
  void TearDown() override {
    SetEnvironmentVariableA("PATH", m_oldPath.c_str());
    SetEnvironmentVariableA("AUTORUN_STANDIN_LOG", nullptr);
  }
  std::string Log() const { return m_folder.Win("started.log"); }
  std::string Exe() const { return m_folder.Win("VxAutoRun.exe"); }
  std::string CardDrive() const { return (LPCSTR)CMGetProfileString("CardTree", "CardDrive", "", CMPROFILE_PROGRAM); }

  testsupport::ScopedProfileRoot m_profile{"autorun"};
  TestFolder m_folder{"launcher"};
  TestFolder m_camera{"launcher-camera"};
  TestFolder m_empty{"launcher-empty"};
  std::string m_oldPath;
};

}  // namespace

TEST_F(LauncherProcess, CardStartsTheMainProgramToImport) {
  CMWriteProfileInt("Settings", "AutoRun", 0, 0, CMPROFILE_COMMON);
  // A card that is in its drive before the launcher starts starts nothing; its letter
  // shows when the launcher's first scan is done.
  ScopedCard before('f', m_camera.Unix());
  ScopedCard drive('e', m_empty.Unix());

  Launcher launcher;
  ASSERT_TRUE(launcher.Start(Exe()));
  ASSERT_TRUE(WaitUntil([&] { return CardDrive() == "F"; }, 20000)) << "no first scan";
  ASSERT_TRUE(FindLauncherFrame(launcher.Pid()));

  drive.Insert(m_camera.Unix());
  ASSERT_TRUE(WaitUntil([&] { return !testsupport::ReadWholeFile(Log()).empty(); }, 10000)) << "main program not started";
  const std::string program = m_folder.Win("Marlo5.exe");
  EXPECT_EQ(program + "|\"" + program + "\" -AutoImport\n", testsupport::ReadWholeFile(Log()));
  EXPECT_EQ("E", CardDrive());

  // A second launcher says so and ends; the first goes on.
  Launcher second;
  ASSERT_TRUE(second.Start(Exe()));
  HMODULE hRes = LoadLibraryA("VxResource.dll");
  char expected[256] = "";
  LoadStringA(hRes, IDS_AUTORUN_ALREADY_RUNNING, expected, sizeof(expected));
  FreeLibrary(hRes);
  ASSERT_TRUE(*expected);
  std::string text;
  EXPECT_TRUE(WaitUntil(
      [&] { return FindMessageBox(second.Pid(), &text) && text.find(expected) != std::string::npos; }, 10000))
      << text;
  PostMessageA(FindMessageBox(second.Pid(), nullptr), WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(second.WaitForEnd(10000));
  EXPECT_TRUE(launcher.Running());

  // The tray menu's end command.
  drive.Remove();
  PostMessageA(FindLauncherFrame(launcher.Pid()), WM_COMMAND, ID_AUTORUN_EXIT, 0);
  EXPECT_TRUE(launcher.WaitForEnd(10000));
}

TEST_F(LauncherProcess, ProfileRequestEndsTheLauncher) {
  Launcher launcher;
  ASSERT_TRUE(launcher.Start(Exe()));
  ASSERT_TRUE(WaitUntil([&] { return FindLauncherFrame(launcher.Pid()) != nullptr; }, 20000));
  CMWriteProfileInt("Settings", "AutoRunEnd", 1, 0, CMPROFILE_COMMON);
  EXPECT_TRUE(launcher.WaitForEnd(10000));
  EXPECT_TRUE(testsupport::ReadWholeFile(Log()).empty());
}

// With the main program running, a new card starts nothing more (the main program's own
// watch imports it); the tray menu's close command reaches the main program.
TEST_F(LauncherProcess, RunningMainProgramIsLeftToImportAndCanBeClosed) {
  const std::string mutexName = "Glimora autorun stand-in " + std::to_string(GetCurrentProcessId());
  CMWriteProfileInt("Settings", "AutoRun", 0, 0, CMPROFILE_COMMON);
  CMWriteProfileString("Settings", "Mutex", mutexName.c_str(), CMPROFILE_PROGRAM);
  ScopedCard drive('e', m_empty.Unix());

  // The stand-in as the running main program.
  SetEnvironmentVariableA("AUTORUN_STANDIN_PROPERTY", cardwatch::kMainWindowProperty);
  SetEnvironmentVariableA("AUTORUN_STANDIN_MUTEX", ("Global\\" + mutexName).c_str());
  Launcher mainProgram;
  bool started = mainProgram.Start(m_folder.Win("Marlo5.exe"));
  SetEnvironmentVariableA("AUTORUN_STANDIN_PROPERTY", nullptr);
  SetEnvironmentVariableA("AUTORUN_STANDIN_MUTEX", nullptr);
  ASSERT_TRUE(started);
  ASSERT_TRUE(WaitUntil([] { return cardwatch::FindMainProgramWindow() != nullptr; }, 10000));
  const std::string startLine = testsupport::ReadWholeFile(Log());

  Launcher launcher;
  ASSERT_TRUE(launcher.Start(Exe()));
  ASSERT_TRUE(WaitUntil([&] { return FindLauncherFrame(launcher.Pid()) != nullptr; }, 20000));
  drive.Insert(m_camera.Unix());
  ASSERT_TRUE(WaitUntil([&] { return CardDrive() == "E"; }, 10000));
  EXPECT_FALSE(WaitUntil([&] { return testsupport::ReadWholeFile(Log()) != startLine; }, 500)) << testsupport::ReadWholeFile(Log());

  PostMessageA(FindLauncherFrame(launcher.Pid()), WM_COMMAND, ID_AUTORUN_CLOSE_MAIN, 0);
  EXPECT_TRUE(mainProgram.WaitForEnd(10000));
  PostMessageA(FindLauncherFrame(launcher.Pid()), WM_COMMAND, ID_AUTORUN_EXIT, 0);
  EXPECT_TRUE(launcher.WaitForEnd(10000));
}
