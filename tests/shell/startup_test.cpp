// The start-up checks against injected machines, the single-instance mutex rules against
// injected mutex states, and the command line.
#include <gtest/gtest.h>

#include <VxResourceIds.h>
#include <cardwatch/Programs.h>

#include <map>
#include <string>

#include "CommandLine.h"
#include "SingleInstance.h"
#include "StartupChecks.h"
#include "shelltest.h"

namespace {

// ---- An injected machine ---------------------------------------------------------------

struct Machine {
  bool bEditorRunning = false;
  bool bDataAccessKey = true;
  const char* pszDataAccess = "6.1.7601.17514";
  int nResources[3] = {80, 80, 80};
  int nYear = 2026;
  DWORD dwFreeKB = 10 * 1024 * 1024;
  int nDisplay[3] = {1280, 1024, 24};
  HRESULT hrAccount = S_OK;
  const char* pszFailedCall = "";
};
Machine g_machine;

StartupProbes MachineProbes() {
  StartupProbes p;
  p.IsMutexPresent = [](LPCSTR lpszName) -> BOOL {
    return g_machine.bEditorRunning && std::string(lpszName) == EDITOR_MUTEX_NAME;
  };
  p.ReadDataAccessVersion = [](CString& s) -> BOOL {
    if (!g_machine.bDataAccessKey) return FALSE;
    s = g_machine.pszDataAccess;
    return TRUE;
  };
  p.GetFreeResources = [](int* a, int* b, int* c) {
    *a = g_machine.nResources[0];
    *b = g_machine.nResources[1];
    *c = g_machine.nResources[2];
  };
  p.GetLocalYear = []() { return g_machine.nYear; };
  p.GetFreeDiskKB = [](LPCSTR) { return g_machine.dwFreeKB; };
  p.GetDisplayMode = [](int* w, int* h, int* b) {
    *w = g_machine.nDisplay[0];
    *h = g_machine.nDisplay[1];
    *b = g_machine.nDisplay[2];
  };
  p.CheckAccountGroups = [](CString* pCall, DWORD* pError) -> HRESULT {
    *pCall = g_machine.pszFailedCall;
    *pError = 5;
    return g_machine.hrAccount;
  };
  return p;
}

struct CheckCase {
  const char* name;
  void (*change)(Machine&);
  StartupCheck expected;
  UINT nMessage;
  UINT nMessage2;
  int nArgument;
};

const CheckCase kCheckCases[] = {
    {"fit machine", [](Machine&) {}, STARTUP_PASSED, 0, 0, 0},
    {"image editor runs", [](Machine& m) { m.bEditorRunning = true; }, STARTUP_EDITOR_RUNNING,
     IDS_SHELL_EDITOR_RUNNING, 0, 0},
    {"no data-access key tells why", [](Machine& m) { m.bDataAccessKey = false; }, STARTUP_DATA_ACCESS,
     IDS_SHELL_MDAC_TOO_OLD, IDS_SHELL_MDAC_INSTALL, 0},
    {"data access 2.1", [](Machine& m) { m.pszDataAccess = "2.1"; }, STARTUP_DATA_ACCESS, IDS_SHELL_MDAC_TOO_OLD,
     IDS_SHELL_MDAC_INSTALL, 0},
    {"data access 2.5", [](Machine& m) { m.pszDataAccess = "2.5"; }, STARTUP_PASSED, 0, 0, 0},
    {"GDI resources 29 %", [](Machine& m) { m.nResources[1] = 29; }, STARTUP_FREE_RESOURCES,
     IDS_SHELL_LOW_RESOURCES, 0, 30},
    {"all resources 30 %", [](Machine& m) { m.nResources[0] = m.nResources[1] = m.nResources[2] = 30; },
     STARTUP_PASSED, 0, 0, 0},
    {"year 1970", [](Machine& m) { m.nYear = 1970; }, STARTUP_CLOCK_YEAR, IDS_SHELL_BAD_CLOCK_YEAR, 0, 0},
    {"year 1971", [](Machine& m) { m.nYear = 1971; }, STARTUP_PASSED, 0, 0, 0},
    {"year 2037", [](Machine& m) { m.nYear = 2037; }, STARTUP_PASSED, 0, 0, 0},
    {"year 2038", [](Machine& m) { m.nYear = 2038; }, STARTUP_CLOCK_YEAR, IDS_SHELL_BAD_CLOCK_YEAR, 0, 0},
    {"204800 KB free", [](Machine& m) { m.dwFreeKB = 204800; }, STARTUP_DISK_SPACE, IDS_SHELL_LOW_DISK_SPACE, 0,
     200},
    {"204801 KB free", [](Machine& m) { m.dwFreeKB = 204801; }, STARTUP_PASSED, 0, 0, 0},
    {"display 1024 x 768 x 16", [](Machine& m) { m.nDisplay[0] = 1024, m.nDisplay[1] = 768, m.nDisplay[2] = 16; },
     STARTUP_PASSED, 0, 0, 0},
    {"display 1023 wide", [](Machine& m) { m.nDisplay[0] = 1023; }, STARTUP_DISPLAY, IDS_SHELL_DISPLAY_TOO_SMALL, 0, 0},
    {"display 767 high", [](Machine& m) { m.nDisplay[1] = 767; }, STARTUP_DISPLAY, IDS_SHELL_DISPLAY_TOO_SMALL, 0, 0},
    {"display 15 bits", [](Machine& m) { m.nDisplay[2] = 15; }, STARTUP_DISPLAY, IDS_SHELL_DISPLAY_TOO_SMALL, 0, 0},
    // The order: the first refusal wins.
    {"editor and old clock", [](Machine& m) { m.bEditorRunning = true, m.nYear = 1970; }, STARTUP_EDITOR_RUNNING,
     IDS_SHELL_EDITOR_RUNNING, 0, 0},
    {"clock and disk", [](Machine& m) { m.nYear = 2040, m.dwFreeKB = 1; }, STARTUP_CLOCK_YEAR,
     IDS_SHELL_BAD_CLOCK_YEAR, 0, 0},
};

TEST(StartupChecks, InjectedMachinesAreRefusedWithTheirMessagesInCheckOrder) {
  StartupProbes probes = MachineProbes();
  for (const CheckCase& c : kCheckCases) {
    SCOPED_TRACE(c.name);
    g_machine = Machine();
    c.change(g_machine);
    StartupRefusal refusal;
    EXPECT_EQ(FindEnvironmentRefusal(probes, "C:\\prog", &refusal), c.expected);
    EXPECT_EQ(refusal.nMessage, c.nMessage);
    EXPECT_EQ(refusal.nMessage2, c.nMessage2);
    EXPECT_EQ(refusal.nArgument, c.nArgument);
  }
  g_machine = Machine();
}

TEST(StartupChecks, GuestAccountsAndUnreadableTokensAreRefusedNamingTheCall) {
  StartupProbes probes = MachineProbes();
  g_machine = Machine();
  StartupRefusal refusal;
  EXPECT_EQ(FindAccountRefusal(probes, &refusal), STARTUP_PASSED);

  g_machine.hrAccount = E_FAIL;  // a member of Guests: no call failed
  EXPECT_EQ(FindAccountRefusal(probes, &refusal), STARTUP_ACCOUNT);
  EXPECT_EQ(refusal.nMessage, (UINT)IDS_SHELL_GUEST_REFUSED);
  EXPECT_TRUE(refusal.strFailedCall.IsEmpty());

  g_machine.pszFailedCall = "OpenProcessToken Error";
  StartupRefusal failed;
  EXPECT_EQ(FindAccountRefusal(probes, &failed), STARTUP_ACCOUNT);
  EXPECT_STREQ(failed.strFailedCall, "OpenProcessToken Error");
  EXPECT_EQ(failed.dwError, 5u);
  g_machine = Machine();
}

TEST(StartupChecks, ThisMachinesAccountMayRunTheProgram) {
  CString strCall;
  DWORD dwError = 0;
  EXPECT_EQ(SystemStartupProbes().CheckAccountGroups(&strCall, &dwError), S_OK) << (LPCSTR)strCall;
}

// What the user is told after the photo database opened: the file, where a damaged one
// was kept, and nothing at all when it opened as it was.
TEST(StartupChecks, ADamagedDatabaseIsReportedNamingTheFiles) {
  shelltest::ResourceScope resources;
  VXDBHEALTH health = {};
  lstrcpyA(health.szFile, "C:\\Data\\VxDatabase.db");
  lstrcpyA(health.szAside, "C:\\Data\\VxDatabase.damaged-2.db");
  health.dwSalvagedFiles = 1234;
  CString text;
  UINT box = 0;
  EXPECT_FALSE(FindDatabaseNotice(S_OK, health, &text, &box));

  struct Case {
    DWORD state;
    HRESULT hrOpen;
    UINT icon;
    bool namesAside;
  };
  const Case cases[] = {
      {VXDB_HEALTH_RENEWED, S_OK, MB_ICONEXCLAMATION, true},
      {VXDB_HEALTH_READONLY, S_OK, MB_ICONEXCLAMATION, false},
      {VXDB_HEALTH_UNAVAILABLE, E_FAIL, MB_ICONHAND, false},
      {VXDB_HEALTH_SOUND, E_FAIL, MB_ICONHAND, false},  // could not be opened at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    health.dwState = c.state;
    ASSERT_TRUE(FindDatabaseNotice(c.hrOpen, health, &text, &box));
    std::string shown = (LPCSTR)text;
    EXPECT_NE(shown.find(health.szFile), std::string::npos) << shown;
    EXPECT_EQ(shown.find(health.szAside) != std::string::npos, c.namesAside) << shown;
    if (c.namesAside) {
      EXPECT_NE(shown.find("1234"), std::string::npos) << shown;
    }
    EXPECT_EQ(box & MB_ICONMASK, c.icon);
  }

  // While the program runs: told once for each damage met since the last notice.
  health.dwState = VXDB_HEALTH_RENEWED;
  health.dwDamageCount = 2;
  EXPECT_FALSE(FindLaterDatabaseNotice(2, health, &text, &box));
  ASSERT_TRUE(FindLaterDatabaseNotice(1, health, &text, &box));
  EXPECT_NE(std::string((LPCSTR)text).find(health.szAside), std::string::npos);
  health.dwState = VXDB_HEALTH_SOUND;  // another folder chosen since: nothing to tell of it
  EXPECT_FALSE(FindLaterDatabaseNotice(1, health, &text, &box));
}

// ---- Mutex states ----------------------------------------------------------------------

// What exists: mutex name -> the error its creation reports.
std::map<std::string, DWORD> g_mutexes;
std::map<std::string, BOOL> g_denied;  // creations that fail with access denied

HANDLE FakeCreateMutex(LPCSTR lpszName, BOOL, DWORD* pdwError) {
  std::string name = lpszName;
  if (g_denied.count(name)) {
    *pdwError = ERROR_ACCESS_DENIED;
    return NULL;
  }
  *pdwError = g_mutexes.count(name) ? ERROR_ALREADY_EXISTS : 0;
  g_mutexes[name] = 1;
  return reinterpret_cast<HANDLE>(0x100 + g_mutexes.size());
}

struct MutexCase {
  const char* name;
  BOOL bWin98;
  std::vector<std::string> existing;
  std::vector<std::string> denied;
  InstanceResult expected;
};

TEST(SingleInstance, MutexStatesDecideWhoRunsAndWhoTellsTheUser) {
  const MutexCase kCases[] = {
      {"alone", FALSE, {}, {}, INSTANCE_TAKEN},
      {"movie-clip program runs", FALSE, {"Global\\Norvane ClipCarver Mutex"}, {}, INSTANCE_CLIP_EDITOR},
      {"movie-clip program of another session", FALSE, {}, {"Global\\Norvane ClipCarver Mutex"}, INSTANCE_CLIP_EDITOR},
      {"second start", FALSE, {"Global\\Norvane Marlo Application Mutex"}, {}, INSTANCE_OTHER_NOTIFY},
      {"first instance in another session", FALSE, {}, {"Global\\Norvane Marlo Application Mutex"},
       INSTANCE_OTHER_NOTIFY},
      {"third start while the second tells", FALSE,
       {"Global\\Norvane Marlo Application Mutex", "Global\\Norvane Marlo Application Mutex2"}, {},
       INSTANCE_OTHER_QUIET},
      {"Windows 98 alone", TRUE, {}, {}, INSTANCE_TAKEN},
      {"Windows 98 second start", TRUE, {"Norvane Marlo Application Mutex"}, {}, INSTANCE_OTHER_NOTIFY},
      {"Windows 98 third start", TRUE, {"Norvane Marlo Application Mutex", "Norvane Marlo Application Mutex2"}, {},
       INSTANCE_OTHER_QUIET},
      {"Windows 98 checks the movie-clip mutex globally", TRUE, {"Global\\Norvane ClipCarver Mutex"}, {},
       INSTANCE_CLIP_EDITOR},
  };
  for (const MutexCase& c : kCases) {
    SCOPED_TRACE(c.name);
    g_mutexes.clear();
    g_denied.clear();
    for (const std::string& n : c.existing) g_mutexes[n] = 1;
    for (const std::string& n : c.denied) g_denied[n] = TRUE;
    InstanceMutexProbes probes = {c.bWin98, &FakeCreateMutex};
    HANDLE hFirst, hInstance, hSecond;
    EXPECT_EQ(TakeInstanceMutexes(probes, cardwatch::kDefaultMainProgramMutex, &hFirst, &hInstance, &hSecond),
              c.expected);
    if (c.expected == INSTANCE_TAKEN) {
      EXPECT_NE(hFirst, nullptr);
      EXPECT_NE(hInstance, nullptr);
    }
  }
}

// ---- Command line ----------------------------------------------------------------------

TEST(CommandLine, AutoPlayDriveAndStartPath) {
  struct {
    std::vector<const char*> argv;
    const char* drive;
    const char* start;
  } kCases[] = {
      {{"Marlo5.exe"}, "", ""},
      {{"Marlo5.exe", "/AutoPlay", "E:"}, "E:", ""},
      {{"Marlo5.exe", "-autoplay", "F:\\"}, "F:\\", ""},
      {{"Marlo5.exe", "/AutoPlay"}, "", ""},
      {{"Marlo5.exe", "C:\\Photos"}, "", "C:\\Photos"},
      {{"Marlo5.exe", "Photos"}, "", ""},
      {{"Marlo5.exe", "-x", "C:\\Photos"}, "", ""},
      {{"Marlo5.exe", "C:\\Photos", "/AutoPlay", "E:"}, "E:", "C:\\Photos"},
  };
  for (const auto& c : kCases) {
    CommandLineArgs args = ParseCommandLine((int)c.argv.size(), c.argv.data());
    EXPECT_STREQ(args.strAutoPlayDrive, c.drive);
    EXPECT_STREQ(args.strStartPath, c.start);
  }
}

TEST(CommandLine, AutoImportSwitchAfterTheLastDot) {
  EXPECT_TRUE(HasAutoImportSwitch("\"C:\\Program Files\\Norvane\\Marlo5\\Marlo5.exe\" -AutoImport"));
  EXPECT_TRUE(HasAutoImportSwitch("Marlo5.exe /AutoPlay E: -AutoImport"));
  EXPECT_FALSE(HasAutoImportSwitch("\"C:\\Program Files\\Norvane\\Marlo5\\Marlo5.exe\""));
  EXPECT_FALSE(HasAutoImportSwitch("Marlo5.exe -AutoImportX.jpg"));
  EXPECT_FALSE(HasAutoImportSwitch("Marlo5.exe -AutoImport E:\\a.jpg"));  // searched after the last dot only
  EXPECT_FALSE(HasAutoImportSwitch(NULL));
}

}  // namespace
