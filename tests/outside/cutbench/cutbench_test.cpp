// Core\CutBench.exe as the toolbar starts it: it tells the waiting window once it is up,
// keeps the marked part (key frame to key frame) beside the clip or in "-f", and refuses
// a clip it cannot read with a box and no file.
#include <gtest/gtest.h>

#include <files.h>
#include <otherwindows.h>
#include <program.h>
#include <tempfolder.h>

#include <moviekit/moviekit.h>

#include <string>
#include <vector>

using testsupport::Fixture;

namespace {

// The bench's controls, as a user finds them.
const int kStartList = 104, kEndList = 106, kSave = 107;
const UINT kAskedMessage = WM_APP + 47;

std::string Bench() { return "\"" + testsupport::ProgramFolder() + "\\Core\\CutBench.exe\" "; }

double Duration(const std::string& path) {
  moviekit::MovieFacts facts;
  return SUCCEEDED(moviekit::ReadFacts(path.c_str(), &facts)) ? facts.durationSeconds : -1;
}

void Choose(HWND bench, int list, int row) {
  HWND combo = GetDlgItem(bench, list);
  EXPECT_TRUE(testsupport::SendToOther(combo, CB_SETCURSEL, row, 0));
  EXPECT_TRUE(testsupport::SendToOther(bench, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), (LPARAM)combo));
}

void Save(HWND bench) { EXPECT_TRUE(testsupport::SendToOther(bench, WM_COMMAND, kSave, 0)) << "the bench did not answer"; }

class CutBenchRun : public testing::Test {
 protected:
  void SetUp() override {
    m_folder = testsupport::NewTempFolder("cutbench");
    m_clip = m_folder + "\\場面.mp4";
    ASSERT_TRUE(CopyFileA(Fixture("keys.mp4").c_str(), m_clip.c_str(), TRUE));
    m_out = m_folder + "\\out";
    testsupport::MakeFolders(m_out);
  }
  void TearDown() override {
    if (m_process) testsupport::WaitForExit(m_process, 1000);
    testsupport::RemoveTree(m_folder);
  }
  // Starts the bench and waits for its window (or its box) and its message: a program
  // starting while the machine is busy can take its time; the waits end as soon as they come.
  HWND Start(const std::string& arguments, UINT message, const char* windowClass) {
    m_process = testsupport::StartProgram(Bench() + arguments);
    EXPECT_NE(m_process, nullptr);
    if (!m_process) return nullptr;
    EXPECT_TRUE(m_keeper.WaitFor(message, 60000)) << arguments;
    return testsupport::WaitForWindowOf(m_process, windowClass, 60000);
  }
  DWORD Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = testsupport::WaitForExit(m_process, 10000);
    m_process = nullptr;
    return code;
  }
  testsupport::MessageKeeper m_keeper;
  std::string m_folder, m_clip, m_out;
  HANDLE m_process = nullptr;
};

}  // namespace

TEST_F(CutBenchRun, KeepsTheMarkedPartInTheFolderOfF) {
  std::string window = std::to_string((INT_PTR)m_keeper.Window());
  HWND bench = Start("-i -p -t -c \"" + m_clip + "\" -d -w " + window + " -m " + std::to_string(kAskedMessage) +
                         " -f \"" + m_out + "\"",
                     kAskedMessage, "GlimoraCutBench");
  ASSERT_NE(bench, nullptr);
  // From the key frame at 1 s to the one at 2 s (the end list starts at the second).
  Choose(bench, kStartList, 1);
  Choose(bench, kEndList, 1);
  Save(bench);
  // The whole clip next: a second file, numbered on.
  Choose(bench, kStartList, 0);
  LRESULT ends = 0;
  EXPECT_TRUE(testsupport::SendToOther(GetDlgItem(bench, kEndList), CB_GETCOUNT, 0, 0, &ends));
  Choose(bench, kEndList, (int)ends - 1);
  Save(bench);
  EXPECT_EQ(Close(bench), 0u);
  EXPECT_EQ(testsupport::FileNamesIn(m_out), (std::vector<std::string>{"場面_1.mp4", "場面_2.mp4"}));
  EXPECT_NEAR(Duration(m_out + "\\場面_1.mp4"), 1.0, 0.1);
  EXPECT_NEAR(Duration(m_out + "\\場面_2.mp4"), Duration(m_clip), 0.1);
  EXPECT_EQ(testsupport::FileNamesIn(m_folder), std::vector<std::string>{"場面.mp4"});
}

TEST_F(CutBenchRun, WithoutAFolderThePartGoesBesideTheClip) {
  char window[32];
  wsprintfA(window, "0x%X", (unsigned)(UINT_PTR)m_keeper.Window());
  // No "-m": the main program's WM_TOOL_STARTED.
  HWND bench = Start("-c \"" + m_clip + "\" -r -w " + window, 1147, "GlimoraCutBench");
  ASSERT_NE(bench, nullptr);
  Choose(bench, kStartList, 2);
  Save(bench);
  EXPECT_EQ(Close(bench), 0u);
  EXPECT_EQ(testsupport::FileNamesIn(m_folder), (std::vector<std::string>{"場面.mp4", "場面_1.mp4"}));
  EXPECT_NEAR(Duration(m_folder + "\\場面_1.mp4"), 1.0, 0.1);
}

TEST_F(CutBenchRun, AClipItCannotReadIsABoxAndNoFile) {
  testsupport::WriteWholeFile(m_folder + "\\壊れ.mts", testsupport::ReadWholeFile(Fixture("garbage.mts")));
  std::string window = std::to_string((INT_PTR)m_keeper.Window());
  for (std::string clip : {m_folder + "\\ない.mp4", m_folder + "\\壊れ.mts", std::string()}) {
    SCOPED_TRACE(clip);
    m_keeper.got.clear();
    std::string arguments =
        (clip.empty() ? "" : "-c \"" + clip + "\" ") + "-w " + window + " -m 1147 -f \"" + m_out + "\"";
    HWND box = Start(arguments, 1147, "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(testsupport::StaticTexts(box).find(clip), std::string::npos) << testsupport::StaticTexts(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(testsupport::WaitForExit(m_process, 10000), 1u);
    m_process = nullptr;
  }
  EXPECT_TRUE(testsupport::FileNamesIn(m_out).empty());
  EXPECT_EQ(testsupport::FileNamesIn(m_folder), (std::vector<std::string>{"壊れ.mts", "場面.mp4"}));
}
