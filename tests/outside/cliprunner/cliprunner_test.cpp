// Core\ClipRunner.exe as the toolbar starts it: it plays the clip and tells the window that
// carries the main program's property that it is up; a clip it cannot play is a box.
#include <gtest/gtest.h>

#include <MainWndMessages.h>

#include <files.h>
#include <otherwindows.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>

#include <string>

using testsupport::Fixture;

namespace {

const int kStatusText = 104;  // the runner's position and state
// A program starting while the machine is busy can take its time; the waits end as soon
// as what they wait for comes.
const DWORD kStart = 60000;

std::string Runner() { return "\"" + testsupport::ProgramFolder() + "\\Core\\ClipRunner.exe\" "; }

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The main program's window as the runner looks for it: a top-level window with the property.
struct MainStandIn {
  testsupport::MessageKeeper keeper;
  MainStandIn() { SetPropA(keeper.Window(), MAINWND_PROPERTY, (HANDLE)1); }
  ~MainStandIn() { RemovePropA(keeper.Window(), MAINWND_PROPERTY); }
};

}  // namespace

TEST(ClipRunner, PlaysTheClipAndTellsTheMainWindow) {
  MainStandIn main;
  HANDLE process = testsupport::StartProgram(Runner() + "-c \"" + Fixture("keys.mp4") + "\" -m 0x40000300");
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(main.keeper.WaitFor(WM_TOOL_STARTED, kStart));
  HWND runner = testsupport::WaitForWindowOf(process, "GlimoraClipRunner", kStart);
  ASSERT_NE(runner, nullptr);
  // It plays: the position moves on until the end of the three seconds.
  HWND status = GetDlgItem(runner, kStatusText);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return TextOf(status).find("終わり") != std::string::npos; }, 15000))
      << TextOf(status);
  PostMessageA(runner, WM_CLOSE, 0, 0);
  EXPECT_EQ(testsupport::WaitForExit(process, 10000), 0u);
}

TEST(ClipRunner, AClipItCannotPlayIsABox) {
  MainStandIn main;
  std::string folder = testsupport::NewTempFolder("cliprunner");
  testsupport::WriteWholeFile(folder + "\\壊れ.mts", testsupport::ReadWholeFile(Fixture("garbage.mts")));
  for (std::string clip : {folder + "\\ない.mts", folder + "\\壊れ.mts"}) {
    SCOPED_TRACE(clip);
    main.keeper.got.clear();
    HANDLE process = testsupport::StartProgram(Runner() + "-c \"" + clip + "\" -m 0x40000300");
    ASSERT_NE(process, nullptr);
    // Told anyway, so that the main program does not wait for it.
    EXPECT_TRUE(main.keeper.WaitFor(WM_TOOL_STARTED, kStart));
    HWND box = testsupport::WaitForWindowOf(process, "#32770", kStart);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(testsupport::StaticTexts(box).find(clip), std::string::npos);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(testsupport::WaitForExit(process, 10000), 1u);
  }
  testsupport::RemoveTree(folder);
}
