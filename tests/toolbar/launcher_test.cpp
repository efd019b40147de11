// The launcher: its entries in the profile, programs started with files (probes that note
// their command lines), the window driven by messages, drops onto its rows, and the
// options page that edits the slots.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <dialogwatch.h>
#include <filedrop.h>
#include <files.h>
#include <profileroot.h>
#include <program.h>
#include <pump.h>
#include <tempfolder.h>

#include <atomic>
#include <string>
#include <vector>

#include "LauncherListWnd.h"
#include "LauncherSettingDlg.h"
#include "picture.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t n; (n = text.find('\n', start)) != std::string::npos; start = n + 1) lines.push_back(text.substr(start, n - start));
  return lines;
}

HDROP MakeDrop(const std::vector<std::string>& paths) { return (HDROP)testsupport::MakeFileDrop(paths); }

bool MakeShortcut(const std::string& link, const std::string& target) {
  IShellLinkA* pLink = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&pLink))) return false;
  pLink->SetPath(target.c_str());
  IPersistFile* pFile = nullptr;
  bool ok = SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, (void**)&pFile));
  if (ok) {
    WCHAR w[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, w, MAX_PATH);
    ok = SUCCEEDED(pFile->Save(w, TRUE));
    pFile->Release();
  }
  pLink->Release();
  return ok;
}

// Answers every message box with the button given and keeps their texts.
class BoxAnswers {
 public:
  explicit BoxAnswers(int answer) : m_answer(answer) { Arm(); }
  ~BoxAnswers() { delete m_watch; }
  void Arm() {
    delete m_watch;
    m_watch = new testsupport::DialogWatch(
        nullptr,
        [](HWND box) {
          char text[8];
          return ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0;  // the box's text is in
        },
        [this](HWND box) {
          char text[512] = "";
          ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
          m_texts.push_back(text);
          ::PostMessageA(box, WM_COMMAND, m_answer, 0);
        },
        8000);
  }
  // Waits for the box being answered to go, then watches for the next one.
  void Next() { Arm(); }
  std::vector<std::string> m_texts;

 private:
  int m_answer;
  testsupport::DialogWatch* m_watch = nullptr;
};

CString Str(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}

class Launcher : public testing::Test {
 protected:
  void SetUp() override {
    ::CoInitialize(NULL);
    m_folder = testsupport::NewTempFolder("launcher");
    m_programs = m_folder + "\\with space";
    testsupport::MakeFolders(m_programs);
    m_probe = m_programs + "\\probe.exe";
    m_bare = m_programs + "\\bare_probe.exe";
    ::CopyFileA((testsupport::ProgramFolder() + "\\toolbar_launchprobe.exe").c_str(), m_probe.c_str(), FALSE);
    ::CopyFileA((testsupport::ProgramFolder() + "\\toolbar_launchprobe_bare.exe").c_str(), m_bare.c_str(), FALSE);
    // A program that a blank in the path would start instead.
    ::CopyFileA((testsupport::ProgramFolder() + "\\toolbar_launchprobe.exe").c_str(), (m_folder + "\\with.exe").c_str(),
                FALSE);
    m_log = m_folder + "\\starts.txt";
    ::SetEnvironmentVariableA("GLIMORA_LAUNCH_LOG", m_log.c_str());
  }
  void TearDown() override {
    ::SetEnvironmentVariableA("GLIMORA_LAUNCH_LOG", NULL);
    testsupport::RemoveTree(m_folder);
    ::CoUninitialize();
  }
  // The command lines noted once n programs have started.
  std::vector<std::string> Starts(size_t n) {
    testsupport::WaitUntil([&] { return Lines(testsupport::ReadWholeFile(m_log)).size() >= n; }, 10000);
    return Lines(testsupport::ReadWholeFile(m_log));
  }
  std::vector<CString> Files(int n) {
    std::vector<CString> files;
    for (int i = 0; i < n; ++i) files.push_back(("C:\\pics\\p " + std::to_string(i) + ".jpg").c_str());
    return files;
  }
  testsupport::ScopedProfileRoot m_root{"launcher"};
  std::string m_folder, m_programs, m_probe, m_bare, m_log;
};

TEST_F(Launcher, EntriesTakeProgramsAndShortcutsByTheirTargets) {
  CLauncherListWnd launcher;
  std::string link = m_folder + "\\probe.lnk";
  ASSERT_TRUE(MakeShortcut(link, m_probe));
  std::string dead = m_folder + "\\dead.lnk";
  ASSERT_TRUE(MakeShortcut(dead, m_folder + "\\gone.exe"));
  std::string loop = m_folder + "\\loop.lnk";
  ASSERT_TRUE(MakeShortcut(loop, link));
  // Not a program inside: no version block to read.
  testsupport::WriteWholeFile(m_folder + "\\broken.exe", std::string(300, 'z'));
  testsupport::MakeFolders(m_folder + "\\folder.exe");
  testsupport::WriteWholeFile(m_folder + "\\notes.txt", "x");
  struct {
    std::string path;
    bool taken;
    std::string stored, label;
  } cases[] = {
      {m_probe, true, m_probe, "Launch Probe"},
      {m_bare, true, m_bare, "bare_probe"},
      {link, true, m_probe, "Launch Probe"},  // the target, labelled from it
      {dead, false},
      {loop, false},  // a shortcut to a shortcut
      {m_folder + "\\broken.exe", true, m_folder + "\\broken.exe", "broken"},
      {m_folder + "\\folder.exe", false},
      {m_folder + "\\notes.txt", false},
      {m_folder + "\\missing.exe", false},
      {"a.e", false},
  };
  for (auto& c : cases) {
    launcher.ClearLauncherEntry(1);
    EXPECT_EQ(launcher.SetLauncherEntry(1, c.path.c_str()), c.taken) << c.path;
    EXPECT_STREQ(launcher.GetLauncherPath(1), c.taken ? c.stored.c_str() : "") << c.path;
    EXPECT_STREQ(launcher.GetEntryLabel(1), c.taken ? c.label.c_str() : (LPCSTR)Str(IDS_LAUNCHER_EMPTY_SLOT)) << c.path;
  }
  EXPECT_FALSE(launcher.SetLauncherEntry(10, m_probe.c_str()));
  EXPECT_STREQ(launcher.GetLauncherPath(10), "");
  EXPECT_STREQ(launcher.GetLauncherPath(-1), "");
  // Slot 10 is the last the profile keeps.
  EXPECT_TRUE(launcher.SetLauncherEntry(9, m_probe.c_str()));
  EXPECT_STREQ(CMGetProfileString("", "Lanch10", ""), m_probe.c_str());

  // Making room for a program: 1 and 2 move down, 3 is lost; other files are refused.
  CMWriteProfileString("", "Lanch1", "C:\\one.exe");
  CMWriteProfileString("", "Lanch1Name", "one");
  CMWriteProfileString("", "Lanch2", "C:\\two.exe");
  CMWriteProfileString("", "Lanch2Name", "two");
  CMWriteProfileString("", "Lanch3", "C:\\three.exe");
  EXPECT_EQ(launcher.ShiftLauncherEntries((m_folder + "\\notes.txt").c_str()), -1);
  EXPECT_STREQ(launcher.GetLauncherPath(0), "C:\\one.exe");
  EXPECT_EQ(launcher.ShiftLauncherEntries(m_probe.c_str()), 1);
  EXPECT_STREQ(launcher.GetLauncherPath(0), "");
  EXPECT_STREQ(launcher.GetLauncherPath(1), "C:\\one.exe");
  EXPECT_STREQ(launcher.GetEntryLabel(1), "one");
  EXPECT_STREQ(launcher.GetLauncherPath(2), "C:\\two.exe");
  EXPECT_STREQ(launcher.GetEntryLabel(2), "two");
}

TEST_F(Launcher, StartsTheProgramQuotedWithEachFile) {
  CLauncherListWnd launcher;
  ASSERT_TRUE(launcher.SetLauncherEntry(0, m_probe.c_str()));
  std::vector<CString> files = Files(3);
  launcher.m_chooseFiles = [&](std::vector<CString>* p) {
    *p = files;
    return TRUE;
  };
  launcher.LaunchFromList(1);
  std::vector<std::string> starts = Starts(3);
  ASSERT_EQ(starts.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(starts[i], "\"" + m_probe + "\" \"" + (LPCSTR)files[i] + "\"");
  EXPECT_EQ(CMGetProfileInt("", Str(IDS_LAUNCHER_LAST_SLOT_KEY), -1), 0);

  // No files: the program alone.
  ::DeleteFileA(m_log.c_str());
  files.clear();
  launcher.RunLauncherEntry(1);
  starts = Starts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0], "\"" + m_probe + "\"");

  // Ten files ask once; No starts nothing.
  ::DeleteFileA(m_log.c_str());
  files = Files(10);
  {
    BoxAnswers boxes(IDNO);
    launcher.RunLauncherEntry(1);
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    CString expected;
    expected.Format(Str(IDS_LAUNCHER_ASK_MANY), 10, 10);
    EXPECT_STREQ(boxes.m_texts[0].c_str(), expected);
  }
  EXPECT_EQ(testsupport::ReadWholeFile(m_log), "");

  // A program that is gone: the box, and the profile as it was.
  CMWriteProfileString("", "Lanch2", (m_folder + "\\gone.exe").c_str());
  files = Files(1);
  {
    BoxAnswers boxes(IDOK);
    launcher.RunLauncherEntry(2);
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_STREQ(boxes.m_texts[0].c_str(), Str(IDS_LAUNCHER_START_FAILED));
  }
  EXPECT_STREQ(launcher.GetLauncherPath(1), (m_folder + "\\gone.exe").c_str());
}

namespace {
void EndProcessesNamed(const char* name) {
  HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 pe = {};
  pe.dwSize = sizeof pe;
  for (BOOL more = ::Process32First(snap, &pe); more; more = ::Process32Next(snap, &pe)) {
    if (lstrcmpiA(pe.szExeFile, name) != 0) continue;
    HANDLE h = ::OpenProcess(PROCESS_TERMINATE, FALSE, pe.th32ProcessID);
    if (h) ::TerminateProcess(h, 0), ::CloseHandle(h);
  }
  ::CloseHandle(snap);
}
}  // namespace

// A program that never gets idle for input holds the launcher ten seconds, not until it
// ends (a minute here).
TEST_F(Launcher, AProgramNeverIdleHoldsTheStartTenSecondsAtMost) {
  std::string busy = m_programs + "\\busy.exe";
  ASSERT_TRUE(::CopyFileA((testsupport::ProgramFolder() + "\\toolbar_launchprobe_busy.exe").c_str(), busy.c_str(), FALSE));
  CLauncherListWnd launcher;
  ASSERT_TRUE(launcher.SetLauncherEntry(0, busy.c_str()));
  launcher.m_chooseFiles = [](std::vector<CString>* p) { return TRUE; };
  const DWORD start = ::GetTickCount();
  launcher.RunLauncherEntry(1);
  const DWORD elapsed = ::GetTickCount() - start;
  ASSERT_EQ(Starts(1).size(), 1u);
  EXPECT_GE(elapsed, 9000u) << "the start did not wait for the program at all";
  EXPECT_LT(elapsed, 40000u) << "the start waited for the program to end";
  EndProcessesNamed("busy.exe");
}

TEST_F(Launcher, EmptySlotAsksToRegisterFirst) {
  CLauncherListWnd launcher;
  int chosen = 0;
  launcher.m_chooseProgram = [&](CString* p) {
    ++chosen;
    *p = m_probe.c_str();
    return TRUE;
  };
  launcher.m_chooseFiles = [&](std::vector<CString>* p) {
    p->push_back("C:\\pics\\a.jpg");
    return TRUE;
  };
  {
    BoxAnswers boxes(IDNO);
    launcher.RunLauncherEntry(3);
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_STREQ(boxes.m_texts[0].c_str(), Str(IDS_LAUNCHER_ASK_REGISTER_EMPTY));
  }
  EXPECT_EQ(chosen, 0);
  {
    BoxAnswers boxes(IDYES);
    launcher.RunLauncherEntry(3);
  }
  EXPECT_EQ(chosen, 1);
  EXPECT_STREQ(launcher.GetLauncherPath(2), m_probe.c_str());
  std::vector<std::string> starts = Starts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0], "\"" + m_probe + "\" \"C:\\pics\\a.jpg\"");
}

TEST_F(Launcher, WindowRowsFollowTheMouseAndTakeDrops) {
  CWnd parent;
  parent.CreateEx(0, "STATIC", "parent", WS_POPUP, 100, 100, 400, 100, nullptr, nullptr);
  CLauncherListWnd launcher;
  ASSERT_TRUE(launcher.Create(CPoint(10, 20), CSize(118, 29), &parent, 1, ID_TB_LAUNCHER_LIST));
  ASSERT_EQ(launcher.GetRowCount(), 3);
  CRect rc;
  launcher.GetWindowRect(&rc);
  EXPECT_EQ(rc.Size(), CSize(120, 3 * 29 + 2));
  ASSERT_TRUE(launcher.SetLauncherEntry(1, m_probe.c_str()));
  launcher.ShowWindow(SW_SHOWNA);
  // Shown: at its place under the parent, the labels of the slots.
  launcher.GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(110, 120));
  EXPECT_STREQ(launcher.GetRow(0).label, Str(IDS_LAUNCHER_EMPTY_SLOT));
  EXPECT_STREQ(launcher.GetRow(1).label, "Launch Probe");
  launcher.UpdateWindow();  // paints without a fault
  // A label the profile holds at any length is cut for its row.
  CMWriteProfileString("", "Lanch3Name", std::string(200, 'w').c_str());
  launcher.ShowWindow(SW_HIDE);
  launcher.ShowWindow(SW_SHOWNA);
  EXPECT_STREQ(launcher.GetRow(2).label, std::string(62, 'w').c_str());

  launcher.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 35));
  EXPECT_EQ(launcher.GetRow(1).current, (UINT)IDB_TB_ITEM_HOT);
  EXPECT_EQ(launcher.GetRow(0).current, (UINT)IDB_TB_ITEM);
  launcher.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 35));
  EXPECT_EQ(launcher.GetRow(1).current, (UINT)IDB_TB_ITEM_PRESSED);

  // Documents dropped while row 2 is lit go to its program, one start each.
  launcher.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 35));
  launcher.SendMessage(WM_DROPFILES, (WPARAM)MakeDrop({"C:\\pics\\a.jpg", "C:\\pics\\b.jpg"}), 0);
  EXPECT_FALSE(launcher.IsWindowVisible());
  std::vector<std::string> starts = Starts(2);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[1], "\"" + m_probe + "\" \"C:\\pics\\b.jpg\"");
  EXPECT_EQ(CMGetProfileInt("", Str(IDS_LAUNCHER_LAST_SLOT_KEY), -1), 1);

  // A path longer than a file name can be is passed over, not cut into another file.
  ::DeleteFileA(m_log.c_str());
  launcher.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 35));
  launcher.SendMessage(WM_DROPFILES, (WPARAM)MakeDrop({"C:\\pics\\" + std::string(300, 'x') + ".jpg"}), 0);
  EXPECT_EQ(testsupport::ReadWholeFile(m_log), "");

  // The row menu's commands: remove asks first, register lets the user choose.
  launcher.m_chooseProgram = [&](CString* p) {
    *p = m_probe.c_str();
    return TRUE;
  };
  launcher.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(500, 500));  // no row: no menu
  {
    BoxAnswers boxes(IDYES);
    launcher.SendMessage(WM_COMMAND, ID_LAUNCHER_REGISTER, 0);  // the menu's row: the first
    EXPECT_EQ(boxes.m_texts.size(), 1u);
  }
  EXPECT_STREQ(launcher.GetLauncherPath(0), m_probe.c_str());
  {
    BoxAnswers boxes(IDYES);
    launcher.SendMessage(WM_COMMAND, ID_LAUNCHER_REMOVE, 0);
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_STREQ(boxes.m_texts[0].c_str(), Str(IDS_LAUNCHER_ASK_REMOVE));
  }
  EXPECT_STREQ(launcher.GetLauncherPath(0), "");

  // Nothing lit: slot 1, empty; five documents say once that they are no programs.
  launcher.ShowWindow(SW_SHOWNA);
  launcher.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(500, 500));
  {
    BoxAnswers boxes(IDOK);
    launcher.SendMessage(WM_DROPFILES,
                         (WPARAM)MakeDrop({"C:\\d\\1.txt", "C:\\d\\2.txt", "C:\\d\\3.txt", "C:\\d\\4.txt", "C:\\d\\5.txt"}), 0);
    testsupport::WaitUntil([] { return false; }, 300);  // a second box would come now
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_STREQ(boxes.m_texts[0].c_str(), Str(IDS_LAUNCHER_NOT_PROGRAM));
  }
  // A program dropped on slot 1 becomes its entry.
  launcher.SendMessage(WM_DROPFILES, (WPARAM)MakeDrop({m_bare}), 0);
  EXPECT_STREQ(launcher.GetLauncherPath(0), m_bare.c_str());
  // Ten files ask; No leaves everything.
  {
    BoxAnswers boxes(IDNO);
    std::vector<std::string> ten;
    for (int i = 0; i < 10; ++i) ten.push_back(m_probe);
    launcher.SendMessage(WM_DROPFILES, (WPARAM)MakeDrop(ten), 0);
    EXPECT_EQ(boxes.m_texts.size(), 1u);
  }
  EXPECT_STREQ(launcher.GetLauncherPath(0), m_bare.c_str());
  launcher.DestroyWindow();
  parent.DestroyWindow();
}

TEST_F(Launcher, SettingsPageEditsTheSlots) {
  CWnd parent;
  parent.CreateEx(0, "STATIC", "options", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr);
  std::string link = m_folder + "\\probe.lnk";
  ASSERT_TRUE(MakeShortcut(link, m_probe));
  CMWriteProfileString("", "Lanch2", m_bare.c_str());
  CLauncherSettingDlg page;
  std::string choice;
  page.m_launcher.m_chooseProgram = [&](CString* p) {
    *p = choice.c_str();
    return TRUE;
  };
  ASSERT_TRUE(page.Create(IDD_OPTIONS_LAUNCHER, &parent));
  auto text = [&](UINT id) {
    CString s;
    page.GetDlgItemText(id, s);
    return std::string(s);
  };
  EXPECT_EQ(text(IDC_LAUNCHER_PATH1), "");
  EXPECT_EQ(text(IDC_LAUNCHER_LABEL1), "");
  EXPECT_FALSE(page.GetDlgItem(IDC_LAUNCHER_CLEAR1)->IsWindowEnabled());
  EXPECT_EQ(text(IDC_LAUNCHER_PATH2), m_bare);
  EXPECT_EQ(text(IDC_LAUNCHER_LABEL2), "bare_probe");
  EXPECT_TRUE(page.GetDlgItem(IDC_LAUNCHER_CLEAR2)->IsWindowEnabled());

  // A shortcut: the profile keeps its target, the page shows it as chosen.
  choice = link;
  page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LAUNCHER_BROWSE1, BN_CLICKED), 0);
  EXPECT_EQ(text(IDC_LAUNCHER_PATH1), link);
  EXPECT_STREQ(CMGetProfileString("", "Lanch1", ""), m_probe.c_str());
  EXPECT_TRUE(page.GetDlgItem(IDC_LAUNCHER_CLEAR1)->IsWindowEnabled());

  // Not a program: the box, the slot unchanged.
  choice = m_folder + "\\notes.txt";
  testsupport::WriteWholeFile(choice, "x");
  {
    BoxAnswers boxes(IDOK);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LAUNCHER_BROWSE3, BN_CLICKED), 0);
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_STREQ(boxes.m_texts[0].c_str(), Str(IDS_LAUNCHER_NOT_PROGRAM));
  }
  EXPECT_EQ(text(IDC_LAUNCHER_PATH3), "");
  EXPECT_STREQ(CMGetProfileString("", "Lanch3", ""), "");

  // Clearing asks; No keeps, Yes empties the row and the profile.
  {
    BoxAnswers boxes(IDNO);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LAUNCHER_CLEAR2, BN_CLICKED), 0);
  }
  EXPECT_EQ(text(IDC_LAUNCHER_PATH2), m_bare);
  {
    BoxAnswers boxes(IDYES);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LAUNCHER_CLEAR2, BN_CLICKED), 0);
  }
  EXPECT_EQ(text(IDC_LAUNCHER_PATH2), "");
  EXPECT_EQ(text(IDC_LAUNCHER_LABEL2), "");
  EXPECT_FALSE(page.GetDlgItem(IDC_LAUNCHER_CLEAR2)->IsWindowEnabled());
  EXPECT_STREQ(CMGetProfileString("", "Lanch2", ""), "");
  page.DestroyWindow();
  parent.DestroyWindow();
}

}  // namespace

namespace {

// A screenshot in the test's own process: the labels of the slots over their rows, the
// separators and the shadow.
TEST_F(Launcher, Screenshot) {
  const COLORREF text = RGB(0, 0x36, 0x63);
  CWnd parent;
  parent.CreateEx(0, "STATIC", "parent", WS_POPUP, 100, 100, 400, 100, nullptr, nullptr);
  CLauncherListWnd launcher;
  ASSERT_TRUE(launcher.Create(CPoint(0, 0), CSize(118, 29), &parent, 1, ID_TB_LAUNCHER_LIST));
  launcher.SetTextColor(text);
  launcher.SetLineColor(text);
  launcher.SetAlignment(20);
  ASSERT_TRUE(launcher.SetLauncherEntry(0, m_probe.c_str()));
  launcher.ShowWindow(SW_SHOWNA);
  launcher.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(60, 40));
  {
    testsupport::Picture pic(launcher.m_hWnd, testsupport::Picture::kClient);
    pic.Save("toolbar-launcher");
    for (int i = 0; i < 3; ++i)
      EXPECT_GT(pic.CountDark(CRect(10, i * 29 + 4, 108, i * 29 + 24), 560), 10) << "the label of row " << i;
    EXPECT_GT(pic.Count(CRect(0, 28, 118, 29), text), 100) << "the separator";
    EXPECT_GT(pic.CountNear(CRect(119, 4, 120, 80), RGB(79, 109, 146), 10), 20) << "the shadow";
  }
  launcher.DestroyWindow();
  parent.DestroyWindow();
}

}  // namespace
