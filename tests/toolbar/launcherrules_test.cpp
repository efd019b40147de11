// The launcher's decisions: which files a slot takes, labels, command lines, the target
// choice's flags and the row a drop goes to.
#include <gtest/gtest.h>

#include <VxResourceIds.h>

#include "LauncherRules.h"

namespace {

TEST(LauncherRules, ProgramNamesAndKeys) {
  struct {
    const char* path;
    bool program;
    bool shortcut;
  } cases[] = {
      {"C:\\a\\tool.exe", true, false},   {"C:\\a\\TOOL.EXE", true, false}, {"C:\\a\\Tool.Lnk", true, true},
      {"C:\\a\\notes.txt", false, false}, {"C:\\a.exe\\notes", false, false}, {"C:\\a\\tool.exe.txt", false, false},
      {"C:\\a\\exe", false, false},
  };
  for (auto& c : cases) {
    EXPECT_EQ(launcherrules::IsProgramName(c.path), c.program) << c.path;
    EXPECT_EQ(launcherrules::IsShortcutName(c.path), c.shortcut) << c.path;
  }
  EXPECT_EQ(launcherrules::PathKey(1), "Lanch1");
  EXPECT_EQ(launcherrules::LabelKey(10), "Lanch10Name");
}

TEST(LauncherRules, LabelsFromTheVersionBlock) {
  const std::string longName(200, 'x');
  // A double-byte character straddling the cut is left out whole.
  const std::string kanji = std::string(61, 'a') + "\x8a\xbf" + "bbbb";
  struct {
    const char* path;
    bool translation;
    std::string description;
    std::string label;
  } cases[] = {
      {"C:\\p\\viewer.exe", true, "Picture Viewer", "Picture Viewer"},
      {"C:\\p\\viewer.exe", true, "", "viewer.exe"},
      {"C:\\p\\viewer.exe", false, "", "viewer"},
      {"C:\\p\\a.exe", false, "", "a"},
      {"C:\\p\\viewer.exe", true, longName, std::string(62, 'x')},
      {"C:\\p\\viewer.exe", true, std::string(63, 'y'), std::string(63, 'y')},
      {"C:\\p\\viewer.exe", true, kanji, std::string(61, 'a')},
  };
  for (auto& c : cases)
    EXPECT_EQ(launcherrules::ProgramLabel(c.path, c.translation, c.description), c.label) << c.description;
}

TEST(LauncherRules, CommandLinesQuoteTheProgram) {
  struct {
    const char* program;
    const char* file;
    const char* line;
  } cases[] = {
      {"C:\\Program Files\\V\\view.exe", "C:\\p\\a b.jpg", "\"C:\\Program Files\\V\\view.exe\" \"C:\\p\\a b.jpg\""},
      {"C:\\V\\view.exe", "", "\"C:\\V\\view.exe\""},
      {"C:\\Raw\\RawShifter.exe", "C:\\p\\a.jpg", "\"C:\\Raw\\RawShifter.exe\" -w00001A2B \"C:\\p\\a.jpg\""},
      // Started alone it hears nothing of the main window.
      {"C:\\Raw\\RAWSHIFTER.EXE", "", "\"C:\\Raw\\RAWSHIFTER.EXE\""},
      {"C:\\Raw\\NotRawShifter.exe", "x", "\"C:\\Raw\\NotRawShifter.exe\" \"x\""},
  };
  for (auto& c : cases) EXPECT_EQ(launcherrules::CommandLine(c.program, c.file, 0x1A2B), c.line) << c.program;
}

TEST(LauncherRules, TargetChoicesAndDropRows) {
  struct {
    int choice;
    bool files;
    long flags;
  } cases[] = {{0, true, 0},           {1, true, (long)0x80000000L}, {2, true, 0x40000000L}, {3, true, 0x40000000L},
               {5, true, 0x20000001L}, {4, false, 0},                {6, false, 0},          {-1, false, 0}};
  for (auto& c : cases) {
    long flags = 12345;
    EXPECT_EQ(launcherrules::SelectionFlags(c.choice, &flags), c.files) << c.choice;
    if (c.files) { EXPECT_EQ(flags, c.flags) << c.choice; }
  }
  EXPECT_EQ(launcherrules::MenuCommands(false), (std::vector<int>{ID_LAUNCHER_REGISTER}));
  EXPECT_EQ(launcherrules::MenuCommands(true), (std::vector<int>{ID_LAUNCHER_REGISTER, ID_LAUNCHER_REMOVE}));
  EXPECT_EQ(launcherrules::DropRow({false, false, false}), 0);
  EXPECT_EQ(launcherrules::DropRow({false, true, true}), 1);
  EXPECT_EQ(launcherrules::DropRow({false, false, true}), 2);
}

}  // namespace
