// Turning the selection through the controller: the pictures turn losslessly, the user's
// rotate-tool settings are neither used nor changed, read-only files ask first, and Cancel
// while a question is open ends the run without a hang.
#include <gtest/gtest.h>
#include "turnsettings.h"

#include <VxResourceIds.h>
#include <shlwapi.h>

#include <atomic>
#include <thread>

#include "MainWndMessages.h"
#include "ctl_fixture.h"
#include <otherwindows.h>

namespace {
// The in-house box's answers for all remaining files.
const int kYesToAll = 10, kNoToAll = 11;

std::string ResString(UINT id) {
  CString s;
  CResourceLoader().LoadStringA(id, s);
  return (LPCSTR)s;
}

int OrientationOf(const std::string& path) {
  CThumbnail t(path.c_str());
  const VXEXIFDATA* ex = t.GetExifData();
  return ex ? ex->nOrientation : -1;
}

void SelectByName(BrowserHost& h, const std::vector<std::string>& names) {
  h.pView->UnSelectAll(FALSE);
  for (CThumbnail* p : h.pView->m_items)
    for (const std::string& n : names)
      if (lstrcmpiA(PathFindFileNameA(p->GetFilePath()), n.c_str()) == 0)
        h.pView->SelectItem(p->GetUniqueID(VXID_SLOT_VIEW), TRUE);
}

using testsupport::TurnSettings;

bool IsReadOnly(const std::string& p) {
  DWORD a = GetFileAttributesA(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}
}  // namespace

TEST(Rotate, TurnsLosslesslyAndLeavesTheToolSettings) {
  // Settings that would write "<name>_r.jpg" copies with turned pixels: not used.
  TurnSettings user(1, 1);
  BrowserHost h;
  std::string d = ctltest::Scratch("rot");
  ctltest::Copy("exif_nothumb.jpg", d + "\\a.jpg");  // orientation 1
  ctltest::Copy("exif_full.jpg", d + "\\b.jpg");     // orientation 6
  ctltest::Copy("movie.mp4", d + "\\m.mp4");
  h.ShowFolder(d);
  SelectByName(h, {"a.jpg", "b.jpg"});
  {
    // The command closes the slide collection first, then turns.
    BoxAnswers answers({});
    CSendCommandObject cmd(ID_ROTATE_RIGHT);
    h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &cmd);
    EXPECT_TRUE(answers.Seen().empty());
    std::vector<SeenMessage> closes = h.Seen(WM_CLOSE_SLIDE_COLLECT);
    ASSERT_EQ(1u, closes.size());
    EXPECT_EQ((WPARAM)h.view(), closes[0].wParam);
  }
  EXPECT_EQ(6, OrientationOf(d + "\\a.jpg"));
  EXPECT_EQ(3, OrientationOf(d + "\\b.jpg"));  // 6 turned once more clockwise: upside down
  EXPECT_FALSE(PathFileExistsA((d + "\\a_r.jpg").c_str()));
  EXPECT_EQ(1u, user.Value("Exif"));
  EXPECT_EQ(1u, user.Value("SaveMode"));

  // The browser action turns the other way, back to where they were.
  SendMessageA(h.view(), WM_BROWSER_ACTION, 0, VXACTION_ROTATE_LEFT);
  EXPECT_EQ(1, OrientationOf(d + "\\a.jpg"));
  EXPECT_EQ(6, OrientationOf(d + "\\b.jpg"));

  EXPECT_EQ(1, h.trans()->IsEnableRotate());

  // A movie alone is not turned: the notice says so.
  SelectByName(h, {"m.mp4"});
  EXPECT_EQ(0, h.trans()->IsEnableRotate());
  BoxAnswers answers({IDOK});
  EXPECT_EQ(1, h.trans()->SelItemRotation(9000));
  std::vector<std::string> seen = answers.Seen();
  ASSERT_EQ(1u, seen.size());
  EXPECT_NE(std::string::npos, seen[0].find(ResString(IDS_BROWSER_ROTATE_UNSUPPORTED))) << seen[0];
}

// Read-only files: one asks Yes/No; several ask with the for-all answers, which answer for
// the rest without asking again. A turned file keeps its read-only attribute.
TEST(Rotate, ReadOnlyFilesAsk) {
  struct Case {
    int files;
    std::vector<int> answers;
    size_t boxes;
    std::vector<bool> turned;
  } cases[] = {
      {1, {IDNO}, 1, {false}},
      {1, {IDYES}, 1, {true}},
      {3, {kNoToAll}, 1, {false, false, false}},
      {3, {kYesToAll}, 1, {true, true, true}},
      {3, {IDYES, IDNO, IDYES}, 3, {true, false, true}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n);
    BrowserHost h;
    std::string d = ctltest::Scratch(("rotro" + std::to_string(n++)).c_str());
    std::vector<std::string> names;
    for (int i = 0; i < c.files; ++i) {
      names.push_back(std::string(1, char('a' + i)) + ".jpg");
      std::string p = d + "\\" + names.back();
      ctltest::Copy("exif_nothumb.jpg", p);
      SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    h.ShowFolder(d);
    SelectByName(h, names);
    BoxAnswers answers(c.answers);
    EXPECT_EQ(1, h.trans()->SelItemRotation(9000));
    std::vector<std::string> seen = answers.Seen();
    EXPECT_EQ(c.boxes, seen.size());
    for (int i = 0; i < c.files; ++i) {
      std::string p = d + "\\" + names[i];
      EXPECT_EQ(c.turned[i] ? 6 : 1, OrientationOf(p)) << names[i];
      EXPECT_TRUE(IsReadOnly(p)) << names[i];
      SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
}

// A window of the test's own thread whose message takes a while: queued before a run, it
// keeps the progress dialog's modal loop busy while the worker already asks its question.
class SlowWindow {
 public:
  SlowWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RotateTestSlow";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowA("RotateTestSlow", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~SlowWindow() { DestroyWindow(hwnd_); }
  void QueueSlowMessage(DWORD ms) { PostMessageA(hwnd_, WM_APP, ms, 0); }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_APP) {
      Sleep((DWORD)wp);
      return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
  }
  HWND hwnd_ = nullptr;
};

// Cancel pressed while the read-only question is open: the run ends, nothing more turns,
// and the controller comes back. The progress dialog (the user's only way to cancel) is on
// screen whenever the question is, also when its modal loop was busy as the first question
// came. The user's side is bounded: a dialog that never shows fails the test, not hangs it.
TEST(Rotate, CancelWhileTheQuestionIsOpen) {
  for (DWORD busy : {0u, 1500u}) {
    SCOPED_TRACE(busy);
    BrowserHost h;
    std::string d = ctltest::Scratch(("rotcancel" + std::to_string(busy)).c_str());
    std::vector<std::string> names = {"a.jpg", "b.jpg", "c.jpg"};
    for (const std::string& n : names) {
      ctltest::Copy("exif_nothumb.jpg", d + "\\" + n);
      SetFileAttributesA((d + "\\" + n).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    h.ShowFolder(d);
    SelectByName(h, names);
    std::atomic<bool> stop{false}, cancelled{false}, progressShown{false};
    std::thread user([&] {
      const DWORD pid = GetCurrentProcessId();
      const ULONGLONG start = GetTickCount64();
      while (!stop) {
        HWND progress = nullptr, question = nullptr;
        for (HWND w : testsupport::WindowsOf(pid, "#32770", true)) {
          if (GetDlgItem(w, IDC_ROTATION_PROGRESS)) progress = w;
          else if (IsWindowVisible(w)) question = w;
        }
        const bool late = GetTickCount64() - start > 20000;
        if (progress && question && !cancelled && (IsWindowVisible(progress) || late)) {
          progressShown = IsWindowVisible(progress) != FALSE;
          // Cancel first, then answer the question as a user who changed their mind.
          PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
          Sleep(300);
          PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
          cancelled = true;
        } else if (question && cancelled) {
          PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        Sleep(30);
      }
    });
    SlowWindow slow;
    if (busy) slow.QueueSlowMessage(busy);
    EXPECT_EQ(1, h.trans()->SelItemRotation(9000));
    stop = true;
    user.join();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(progressShown);
    for (const std::string& n : names) {
      EXPECT_EQ(1, OrientationOf(d + "\\" + n)) << n;
      SetFileAttributesA((d + "\\" + n).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
}
