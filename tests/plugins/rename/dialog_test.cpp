// Rename.dll as the toolbar loads it: by name, its one export over a file list. The
// dialog is driven as a user would; message boxes are answered by a watcher.
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <gtest/gtest.h>

#include <ICGBrowser.h>
#include <RecordGate.h>
#include <TickCache.h>

#include <string>
#include <vector>

#include "files.h"
#include "picture.h"
#include "profileroot.h"
#include "pump.h"
#include "tempfolder.h"
#include "testmain.h"
#include "uikit.h"

namespace {

// The photo database and its check marks of the program's own: the tool moves them along.
std::string g_db;
testmain::StartUp ownDatabase(
    [] {
      g_db = testsupport::NewTempFolder("rename-db");
      return ::SetEnvironmentVariableA("GLIMORA_DB_DIR", g_db.c_str()) != FALSE;
    },
    [] {
      ::SetEnvironmentVariableA("GLIMORA_DB_DIR", nullptr);
      testsupport::RemoveTree(g_db);
    });

typedef int(WINAPI* RenameFn)(CGFileInfoList*);

// Answers the message boxes of this thread as they come, with the given buttons in turn
// (IDOK when none is left), and keeps their texts.
class BoxWatcher {
 public:
  explicit BoxWatcher(std::vector<int> answers = {}) : m_answers(std::move(answers)) {
    s_self = this;
    m_timer = ::SetTimer(nullptr, 0, 30, Tick);
  }
  ~BoxWatcher() {
    ::KillTimer(nullptr, m_timer);
    s_self = nullptr;
  }
  // Windows that are not message boxes and must be left alone.
  std::vector<HWND> keep;
  std::vector<std::string> texts;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (s_self) ::EnumThreadWindows(::GetCurrentThreadId(), Each, 0);
  }
  static BOOL CALLBACK Each(HWND h, LPARAM) {
    char cls[16] = {};
    ::GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(h) || !::IsWindowEnabled(h)) return TRUE;
    for (HWND k : s_self->keep)
      if (k == h) return TRUE;
    // Not the tool's dialog nor a progress window: a message box.
    if (::GetDlgItem(h, IDC_RENAME_DETAILS) || ::GetDlgItem(h, IDC_PROGRESS_BAR) ||
        ::GetDlgItem(h, IDC_PROGRESS_MESSAGE_TEXT))
      return TRUE;
    s_self->texts.push_back(uikit::StaticTexts(h));
    int answer = IDOK;
    if (!s_self->m_answers.empty()) {
      answer = s_self->m_answers.front();
      s_self->m_answers.erase(s_self->m_answers.begin());
    }
    if (::GetDlgItem(h, answer))
      ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), (LPARAM)::GetDlgItem(h, answer));
    else
      ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
  }
  static BoxWatcher* s_self;
  std::vector<int> m_answers;
  UINT_PTR m_timer;
};
BoxWatcher* BoxWatcher::s_self = nullptr;

CString Text(UINT id) {
  char buf[512] = {};
  ::LoadStringA(::GetModuleHandleA("VxResource.dll"), id, buf, sizeof buf);
  return buf;
}

std::string Preview(HWND hDlg, int row) {
  char buf[256] = {};
  LVITEMA item = {};
  item.iSubItem = 1;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  ::SendMessageA(::GetDlgItem(hDlg, IDC_RENAME_PREVIEW), LVM_GETITEMTEXTA, row, (LPARAM)&item);
  return buf;
}

bool OkEnabled(HWND hDlg) { return ::IsWindowEnabled(::GetDlgItem(hDlg, IDOK)) != FALSE; }

class RenameTool : public testing::Test {
 protected:
  void SetUp() override {
    m_hLib = ::LoadLibraryA("Rename.dll");
    ASSERT_NE(m_hLib, nullptr);
    m_pfn = reinterpret_cast<RenameFn>(::GetProcAddress(m_hLib, "Rename"));
    ASSERT_NE(m_pfn, nullptr);
    ::LoadLibraryA("VxResource.dll");
    m_dir = testsupport::NewTempFolder("glimora-renamedlg");
  }
  void TearDown() override {
    testsupport::RemoveTree(m_dir);
    if (m_hLib) ::FreeLibrary(m_hLib);
  }
  void AddFile(const std::string& name, const std::string& content = "x") {
    std::string path = m_dir + "\\" + name;
    ASSERT_TRUE(testsupport::WriteWholeFile(path, content));
    CGFILEINFO info;
    info.path = path.c_str();
    m_list.AddTail(info);
  }
  bool Exists(const std::string& name) {
    return ::GetFileAttributesA((m_dir + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  HMODULE m_hLib = nullptr;
  RenameFn m_pfn = nullptr;
  std::string m_dir;
  CGFileInfoList m_list;
  testsupport::ScopedProfileRoot m_root{"rename"};
};

}  // namespace

TEST_F(RenameTool, PreviewThenOkRenamesAndKeepsTheSettings) {
  AddFile("DSC_0001.JPG", "one");
  AddFile("DSC_0002.JPG", "two");
  AddFile("notes.txt", "three");
  std::vector<std::string> shown;
  bool staleRightAfterTyping = false;
  uikit::DialogDriver driver([&](HWND h) {
    // The stored default base name, previewed 800 ms after opening.
    EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h); }, 5000));
    EXPECT_EQ(Preview(h, 0), "IMGA0001");
    EXPECT_EQ(::IsDlgButtonChecked(h, IDC_RENAME_BY_NAME), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(h, IDC_RENAME_OWN_NAME), BST_UNCHECKED);
    uikit::Picture(h).Save("rename_compact");
    ::SetDlgItemTextA(h, IDC_RENAME_BASE_NAME, "Trip");
    // The preview waits for typing to settle.
    staleRightAfterTyping = !OkEnabled(h) && Preview(h, 0) == "IMGA0001";
    EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h); }, 5000));
    uikit::Press(h, IDC_RENAME_DETAILS);
    ::SetDlgItemTextA(h, IDC_RENAME_START, "10");
    ::SetDlgItemTextA(h, IDC_RENAME_LENGTH, "3");
    uikit::Press(h, IDC_RENAME_NUMBER_BEFORE);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h) && Preview(h, 0) == "010Trip"; }, 5000));
    for (int i = 0; i < 3; ++i) shown.push_back(Preview(h, i));
    uikit::Picture(h).Save("rename_expanded");
    uikit::Press(h, IDOK);
  });
  EXPECT_EQ(m_pfn(&m_list), IDOK);
  EXPECT_TRUE(staleRightAfterTyping);
  EXPECT_EQ(shown, (std::vector<std::string>{"010Trip", "011Trip", "012Trip"}));
  EXPECT_EQ(testsupport::ReadWholeFile(m_dir + "\\010Trip.JPG"), "one");
  EXPECT_EQ(testsupport::ReadWholeFile(m_dir + "\\011Trip.JPG"), "two");
  EXPECT_EQ(testsupport::ReadWholeFile(m_dir + "\\012Trip.txt"), "three");
  EXPECT_EQ(CMGetProfileString("Tool1\\Rename", "Name", ""), "Trip");
  EXPECT_EQ(CMGetProfileInt("Tool1\\Rename", "Start", 0), 10);
  EXPECT_EQ(CMGetProfileInt("Tool1\\Rename", "Length", 0), 3);
  EXPECT_EQ(CMGetProfileInt("Tool1\\Rename", "Position", 1), 0);
}

// The marks and the database records go with the files to their new names: the renamed
// files stay marked and known, their old names are neither.
TEST_F(RenameTool, MarksAndRecordsFollowTheRenamedFiles) {
  AddFile("DSC_0001.JPG", "one");
  AddFile("DSC_0002.JPG", "two");
  const std::string a = m_dir + "\\DSC_0001.JPG", b = m_dir + "\\DSC_0002.JPG";
  ASSERT_EQ(Mark_SetCheck(a.c_str(), 1), S_OK);
  ASSERT_EQ(VxDBWEnrollFile(b.c_str(), 0), S_OK);
  uikit::DialogDriver driver([&](HWND h) {
    ::SetDlgItemTextA(h, IDC_RENAME_BASE_NAME, "Trip");
    EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h) && Preview(h, 0).find("Trip") == 0; }, 5000));
    uikit::Press(h, IDOK);
  });
  EXPECT_EQ(m_pfn(&m_list), IDOK);
  const std::string a2 = m_dir + "\\Trip0001.JPG", b2 = m_dir + "\\Trip0002.JPG";
  ASSERT_TRUE(Exists("Trip0001.JPG"));
  int state = -1;
  Mark_GetCheck(a2.c_str(), &state);
  EXPECT_EQ(state, 1);
  Mark_GetCheck(a.c_str(), &state);
  EXPECT_EQ(state, 0);
  int count = -1;
  EXPECT_EQ(Mark_GetCheckCount(&count), S_OK);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(VxDBWIsEnrolled(b2.c_str()), S_OK);
  EXPECT_NE(VxDBWIsEnrolled(b.c_str()), S_OK);
  Mark_SetCheck(a2.c_str(), 0);
}

TEST_F(RenameTool, CancelTouchesNothing) {
  AddFile("a.jpg");
  uikit::DialogDriver driver([&](HWND h) { uikit::Press(h, IDCANCEL); });
  EXPECT_EQ(m_pfn(&m_list), IDCANCEL);
  EXPECT_TRUE(Exists("a.jpg"));
  EXPECT_EQ(CMGetProfileString("Tool1\\Rename", "Name", "unset"), "unset");
}

TEST_F(RenameTool, RefusalsBeforeTheDialogShows) {
  BoxWatcher boxes;
  CGFileInfoList empty;
  EXPECT_EQ(m_pfn(&empty), IDCANCEL);
  // A folder that leaves no room for a name of four characters.
  CGFILEINFO deep;
  deep.path = ("C:\\" + std::string(240, 'd') + "\\abc.jpeg").c_str();
  CGFileInfoList tooDeep;
  tooDeep.AddTail(deep);
  EXPECT_EQ(m_pfn(&tooDeep), IDCANCEL);
  ASSERT_EQ(boxes.texts.size(), 2u);
  EXPECT_EQ(boxes.texts[0], (LPCSTR)Text(IDS_RENAME_NO_FILE));
  EXPECT_EQ(boxes.texts[1], (LPCSTR)Text(IDS_RENAME_PATH_TOO_LONG));
}

TEST_F(RenameTool, ForbiddenCharactersLeaveWithTheFocusAndNameClashesAreTold) {
  AddFile("a.jpg");
  AddFile("b.jpg");
  // Not in the list, but holding the second file's new name.
  ASSERT_TRUE(testsupport::WriteWholeFile(m_dir + "\\X0002.jpg", "stranger"));
  BoxWatcher boxes;
  std::string cleaned;
  uikit::DialogDriver driver([&](HWND h) {
    boxes.keep.push_back(h);
    ::SetFocus(::GetDlgItem(h, IDC_RENAME_BASE_NAME));
    ::SetDlgItemTextA(h, IDC_RENAME_BASE_NAME, "X/");
    ::SetFocus(::GetDlgItem(h, IDC_RENAME_PREVIEW));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return boxes.texts.size() >= 1; }, 5000));
    char buf[64] = {};
    ::GetDlgItemTextA(h, IDC_RENAME_BASE_NAME, buf, sizeof buf);
    cleaned = buf;
    EXPECT_TRUE(testsupport::WaitUntil([&] { return boxes.texts.size() >= 2 && OkEnabled(h); }, 5000));
    EXPECT_EQ(Preview(h, 0), "X0001");
    uikit::Press(h, IDOK);
  });
  EXPECT_EQ(m_pfn(&m_list), IDOK);
  EXPECT_EQ(cleaned, "X");
  ASSERT_GE(boxes.texts.size(), 2u);
  EXPECT_EQ(boxes.texts[0], (LPCSTR)Text(IDS_RENAME_BAD_CHARACTERS));
  EXPECT_EQ(boxes.texts[1], (LPCSTR)Text(IDS_RENAME_NAME_TAKEN));
  // The stranger's file is untouched; the second file keeps its name (its row kept it),
  // the first got its new one.
  EXPECT_EQ(testsupport::ReadWholeFile(m_dir + "\\X0002.jpg"), "stranger");
  EXPECT_TRUE(Exists("X0001.jpg"));
  EXPECT_TRUE(Exists("b.jpg"));
}

// Enter in the base name with a character Windows refuses: the name is cleaned and the
// user told once, the preview shows the clean names, and the next Enter renames.
TEST_F(RenameTool, EnterWithForbiddenCharactersCleansPreviewsAndRenamesOnTheNext) {
  AddFile("a.jpg", "one");
  BoxWatcher boxes;
  std::string preview;
  size_t toldBeforeConfirming = 0;
  uikit::DialogDriver driver([&](HWND h) {
    boxes.keep.push_back(h);
    const HWND edit = ::GetDlgItem(h, IDC_RENAME_BASE_NAME);
    ::SetFocus(edit);
    ::SetWindowTextA(edit, "Trip:");
    EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h); }, 5000));  // previewed as typed
    auto enter = [edit] {
      ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
      ::PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    };
    enter();
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !boxes.texts.empty() && OkEnabled(h); }, 5000));
    testsupport::WaitUntil([] { return false; }, 500);  // time for a second message, were there one
    preview = Preview(h, 0);
    toldBeforeConfirming = boxes.texts.size();
    ::SetFocus(edit);
    enter();
  });
  EXPECT_EQ(m_pfn(&m_list), IDOK);
  EXPECT_EQ(preview, "Trip0001");
  EXPECT_EQ(toldBeforeConfirming, 1u);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{(LPCSTR)Text(IDS_RENAME_BAD_CHARACTERS)});
  EXPECT_EQ(testsupport::ReadWholeFile(m_dir + "\\Trip0001.jpg"), "one");
}

TEST_F(RenameTool, ReadOnlyFilesAskAndTheRunShowsItsProgress) {
  AddFile("r1.jpg", "1");
  AddFile("r2.jpg", "2");
  for (const char* n : {"r1.jpg", "r2.jpg"}) ::SetFileAttributesA((m_dir + "\\" + n).c_str(), FILE_ATTRIBUTE_READONLY);
  BoxWatcher boxes({10});  // yes to all
  bool progressSeen = false;
  uikit::DialogDriver driver(std::vector<uikit::DialogDriver::Step>{
      [&](HWND h) {
        boxes.keep.push_back(h);
        EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h); }, 5000));
        ::SetDlgItemTextA(h, IDC_RENAME_BASE_NAME, "R");
        EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h) && Preview(h, 0) == "R0001"; }, 5000));
        uikit::Press(h, IDOK);
      },
      [&](HWND progress) {
        // The run's progress window, over the rename dialog, without its Cancel button.
        boxes.keep.push_back(progress);
        progressSeen = !::IsWindowVisible(::GetDlgItem(progress, IDCANCEL));
        uikit::Picture(progress).Save("rename_progress");
      }});
  EXPECT_EQ(m_pfn(&m_list), IDOK);
  ASSERT_EQ(boxes.texts.size(), 1u);  // asked once, answered for both
  EXPECT_TRUE(Exists("R0001.jpg"));
  EXPECT_TRUE(Exists("R0002.jpg"));
  for (const char* n : {"R0001.jpg", "R0002.jpg"}) ::SetFileAttributesA((m_dir + "\\" + n).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(progressSeen);
}

TEST_F(RenameTool, LongPreviewsShowTheWaitWindow) {
  struct Case {
    int files;
    bool waitShown;
  } cases[] = {{500, false}, {501, true}};
  for (const Case& c : cases) {
    CGFileInfoList list;
    std::string folder = testsupport::NewTempFolder("glimora-renamemany");
    for (int i = 0; i < c.files; ++i) {
      std::string path = folder + "\\f" + std::to_string(i) + ".jpg";
      ASSERT_TRUE(testsupport::WriteWholeFile(path, ""));
      CGFILEINFO info;
      info.path = path.c_str();
      list.AddTail(info);
    }
    static int s_waits;
    s_waits = 0;
    HHOOK hook = ::SetWindowsHookExA(
        WH_CBT,
        [](int code, WPARAM w, LPARAM l) -> LRESULT {
          if (code == HCBT_CREATEWND) {
            // The wait window's text control is made as its child.
            if (::GetDlgCtrlID((HWND)w) == IDC_PROGRESS_MESSAGE_TEXT ||
                (((CBT_CREATEWNDA*)l)->lpcs->hMenu == (HMENU)(INT_PTR)IDC_PROGRESS_MESSAGE_TEXT))
              ++s_waits;
          }
          return ::CallNextHookEx(nullptr, code, w, l);
        },
        nullptr, ::GetCurrentThreadId());
    uikit::DialogDriver driver(
        [&](HWND h) {
          EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h); }, 20000));
          EXPECT_EQ(Preview(h, c.files - 1), "IMGA0" + std::to_string(c.files)) << c.files;
          uikit::Press(h, IDCANCEL);
        },
        30000);
    EXPECT_EQ(m_pfn(&list), IDCANCEL);
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(s_waits > 0, c.waitShown) << c.files;
    testsupport::RemoveTree(folder);
  }
}

TEST_F(RenameTool, EachFilesOwnNameTakesTheNumber) {
  AddFile("DSC_0001.JPG");
  AddFile("clip.mov");
  std::vector<std::string> shown;
  bool editDisabled = false;
  uikit::DialogDriver driver([&](HWND h) {
    EXPECT_TRUE(testsupport::WaitUntil([&] { return OkEnabled(h); }, 5000));
    uikit::Press(h, IDC_RENAME_OWN_NAME);
    // The preview follows at once, without the settling wait.
    shown = {Preview(h, 0), Preview(h, 1)};
    editDisabled = !::IsWindowEnabled(::GetDlgItem(h, IDC_RENAME_BASE_NAME));
    uikit::Press(h, IDOK);
  });
  EXPECT_EQ(m_pfn(&m_list), IDOK);
  EXPECT_EQ(shown, (std::vector<std::string>{"DSC_00010001", "clip0002"}));
  EXPECT_TRUE(editDisabled);
  EXPECT_TRUE(Exists("DSC_00010001.JPG"));
  EXPECT_TRUE(Exists("clip0002.mov"));
  EXPECT_EQ(CMGetProfileInt("Tool1\\Rename", "NameMode", 0), 1);
  EXPECT_EQ(CMGetProfileString("Tool1\\Rename", "Name", "unset"), "");
}
