// The bridge's stored state and the sound check over it, under a profile root of the
// test's own; the bridge library beside the test programs, and a missing one.
#include <gtest/gtest.h>

#include <Kitlib2/Profile.h>
#include <profileroot.h>
#include <program.h>

#include "MovBridgeApi.h"
#include "QuickTimeState.h"
#include "SoundCheckProcess.h"

namespace {

// A value as stored under the program root's "PictLibs".
bool Stored(const std::string& name, DWORD* value) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, CMGetKeyPosition() + "\\PictLibs", 0, KEY_READ, &h) != ERROR_SUCCESS)
    return false;
  DWORD cb = sizeof(*value);
  bool ok = RegQueryValueExA(h, name.c_str(), nullptr, nullptr, (BYTE*)value, &cb) == ERROR_SUCCESS;
  RegCloseKey(h);
  return ok;
}

void SetRequired(DWORD version) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, CMGetKeyPosition() + "\\PictLibs", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &h, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(h, "QT_Enabled_Ver", 0, REG_DWORD, (const BYTE*)&version, sizeof(version));
  RegCloseKey(h);
}

TEST(QuickTimeState, TheProgramsOwnValuesAndTheVersionTest) {
  testsupport::ScopedProfileRoot profile("qtstate");
  EXPECT_EQ(QuickTimeValueName("QT_Initialized", "Marlo5"), "QT_Initialized_Marlo5");
  EXPECT_EQ(QuickTimeValueName("QT_Initialized", ""), "QT_Initialized");
  const std::string program = "browser_soundcheck_tests";
  EXPECT_EQ(AccessQuickTimeState(kQtStateTest, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(IsQuickTimeVersionUsable());  // nothing initialised: nothing usable

  DWORD version = 0x07300000, exporter = 5;
  EXPECT_EQ(AccessQuickTimeState(kQtStateWrite, &version, &exporter), ERROR_SUCCESS);
  DWORD v = 0, e = 0;
  EXPECT_TRUE(Stored("QT_Initialized_" + program, &v));
  EXPECT_TRUE(Stored("QT_BmpExporter_" + program, &e));
  EXPECT_EQ(v, version);
  EXPECT_EQ(e, 1u);  // a flag
  EXPECT_EQ(AccessQuickTimeState(kQtStateTest, nullptr, nullptr), ERROR_SUCCESS);
  v = e = 99;
  EXPECT_EQ(AccessQuickTimeState(kQtStateRead, &v, &e), ERROR_SUCCESS);
  EXPECT_EQ(v, version);
  EXPECT_EQ(e, 1u);

  // Without a required version every stored one is usable; below it none is.
  EXPECT_EQ(GetRequiredQuickTimeVersion(), 0u);
  EXPECT_TRUE(IsQuickTimeVersionUsable());
  SetRequired(0x07400000);
  EXPECT_FALSE(IsQuickTimeVersionUsable());
  SetRequired(0x07300000);
  EXPECT_TRUE(IsQuickTimeVersionUsable());

  // Another operation touches nothing.
  EXPECT_EQ(AccessQuickTimeState(4, &v, &e), 12);
  EXPECT_EQ(AccessQuickTimeState(kQtStateDelete, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_FALSE(Stored("QT_Initialized_" + program, &v));
  EXPECT_FALSE(Stored("QT_BmpExporter_" + program, &e));
  EXPECT_FALSE(HasMovDecodeFile());
}

TEST(SoundCheck, ReadyOnlyWhenTheStateIsThereOrTheBridgeAnswers) {
  testsupport::ScopedProfileRoot profile("soundcheck");
  {
    // No state and no bridge library: not ready, nothing stored, nothing awaited.
    CMovBridgeApi::SetLibraryPath("C:\\no-such-folder\\MovBridge.dll");
    CSoundCheckProcess check(nullptr);
    EXPECT_FALSE(check.Check());
    EXPECT_FALSE(check.IsWaiting());
    EXPECT_EQ(AccessQuickTimeState(kQtStateTest, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(check.GetState(), -1);
    // The browser's notice: a nonzero lParam makes it ready, a zero one changes nothing.
    EXPECT_FALSE(check.SetAvailable((WPARAM)-1, 0));
    EXPECT_TRUE(check.SetAvailable((WPARAM)-1, 1));
    EXPECT_TRUE(check.SetAvailable((WPARAM)-1, 0));
    CMovBridgeApi::SetLibraryPath(nullptr);
  }
  {
    // No state, the bridge beside the program: it answers, so ready; what the check stored
    // is taken away again with its finalisation.
    CSoundCheckProcess check(nullptr);
    EXPECT_TRUE(check.Check());
    EXPECT_EQ(check.GetState(), -1);
    EXPECT_EQ(AccessQuickTimeState(kQtStateTest, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  }
  // The movie controller's state is there: ready at once, and the state stays as it was.
  DWORD version = 0x07300000, exporter = 0;
  ASSERT_EQ(AccessQuickTimeState(kQtStateWrite, &version, &exporter), ERROR_SUCCESS);
  CSoundCheckProcess check(nullptr);
  EXPECT_TRUE(check.Check());
  EXPECT_TRUE(check.IsReady());
  EXPECT_EQ(check.GetState(), -1);  // finalised without touching the library
  DWORD v = 0;
  EXPECT_EQ(AccessQuickTimeState(kQtStateRead, &v, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(v, version);
  EXPECT_EQ(CSoundCheckProcess::BridgePath(), CString((testsupport::ProgramFolder() + "\\MovBridge.dll").c_str()));
}

}  // namespace
