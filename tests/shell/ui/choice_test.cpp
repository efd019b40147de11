// The choice, input and notice dialogs: what the target choice shows and answers, which
// paths the path input takes and offers, and the dialogs as they show.
#include <gtest/gtest.h>

#include <Kitlib2/Profile.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <ui/ChoiceDialogs.h>

#include <string>
#include <vector>

#include "shelltest.h"
#include "uikit.h"

namespace {

TEST(TargetChoice, PlanByKindAndCounts) {
  struct {
    int kind;
    unsigned selected, marked;
    bool dialog;
    int result;
    bool shown, shownDisabled, check;
    int height;
    UINT initial;
  } cases[] = {
      {0, 0, 0, true, -1, true, false, false, 95, IDC_TARGET_SHOWN},
      {0, 2, 3, true, -1, true, false, false, 95, IDC_TARGET_MARKED},
      {1, 2, 3, true, -1, false, false, false, 65, IDC_TARGET_MARKED},
      {1, 2, 0, false, 1, false, false, false, 0, 0},
      {1, 0, 3, false, 5, false, false, false, 0, 0},  // only marked files: no dialog, 5
      {1, 0, 0, false, -1, false, false, false, 0, 0},
      {2, 1, 0, true, -1, true, true, false, 95, IDC_TARGET_SHOWN},
      {2, 0, 0, false, -2, false, false, false, 0, 0},
      {3, 0, 0, true, -1, true, false, true, 180, IDC_TARGET_SHOWN},
      {7, 1, 1, false, -1, false, false, false, 0, 0},
  };
  for (auto& c : cases) {
    choice::TargetPlan p = choice::PlanTarget(c.kind, c.selected, c.marked);
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " selected " << c.selected << " marked " << c.marked);
    EXPECT_EQ(p.showDialog, c.dialog);
    if (!c.dialog) {
      EXPECT_EQ(p.result, c.result);
      continue;
    }
    EXPECT_EQ(p.showShown, c.shown);
    EXPECT_EQ(p.shownDisabled, c.shownDisabled);
    EXPECT_EQ(p.showCheck, c.check);
    EXPECT_EQ(p.groupHeight, c.height);
    EXPECT_EQ(p.initial, c.initial);
    EXPECT_EQ(p.markedDisabled, c.marked == 0);
  }
  EXPECT_TRUE(choice::PlanTarget(3, 0, 2).checkDisabled);
  EXPECT_FALSE(choice::PlanTarget(3, 0, 0).checkDisabled);
}

TEST(TargetChoice, AnswerOfTheCheckedControls) {
  struct {
    choice::TargetChecks checks;
    int result;
  } cases[] = {
      {{true, true, true, true, true}, 1},
      {{false, true, false, false, false}, 5},
      {{false, false, true, false, false}, 0},
      {{false, false, true, true, false}, 6},
      {{false, false, false, true, true}, 2},
      {{false, false, false, false, false}, -1},
  };
  for (auto& c : cases) EXPECT_EQ(choice::TargetResult(c.checks), c.result);
}

TEST(PathInput, AcceptedPaths) {
  const CString invalid = "/:*?\"<>|";
  struct {
    const char* path;
    bool accepted;
  } cases[] = {
      {"C:\\Photos", true},
      {"C:\\", true},
      {"e:\\DCIM\\100ABCDE", true},
      {"C:\\Photos\\\\2024", false},  // a doubled backslash
      {"\\Photos", false},            // starts with a backslash
      {"\\\\server\\share", false},
      {"C:Photos", false},            // relative to the drive's current folder
      {"Photos", false},
      {"C:", false},
      {"C:\\Pho*tos", false},
      {"C:\\a:b", false},
      {"1:\\x", false},
  };
  for (auto& c : cases) EXPECT_EQ(choice::IsAcceptablePath(c.path, invalid), c.accepted) << c.path;
}

TEST(PathInput, CompletionsOfTheTypedText) {
  choice::FileSystem fs;
  fs.drives = [] { return std::vector<CString>{"C:\\", "E:\\"}; };
  fs.driveSearchable = [](const CString& root) { return root != "Q:\\"; };
  fs.folders = [](const CString& folder) {
    if (folder.CompareNoCase("C:\\") == 0) return std::vector<CString>{"Photos", "Program Files", "users"};
    if (folder == "C:\\Photos\\") return std::vector<CString>{"2023", "2024", "Album"};
    return std::vector<CString>{};
  };
  const CString invalid = "/:*?\"<>|";
  struct {
    const char* text;
    std::vector<CString> list;
  } cases[] = {
      {"", {"C:\\", "E:\\"}},
      {"C", {"C", "C:\\"}},
      {"Q", {"Q"}},
      {"C:", {"C:", "C:\\Photos", "C:\\Program Files", "C:\\users"}},
      {"C:\\P", {"C:\\P", "C:\\Photos", "C:\\Program Files"}},
      {"c:\\p", {"c:\\p", "c:\\Photos", "c:\\Program Files"}},
      {"C:\\Photos\\20", {"C:\\Photos\\20", "C:\\Photos\\2023", "C:\\Photos\\2024"}},
      {"C:\\Photos\\", {"C:\\Photos\\", "C:\\Photos\\2023", "C:\\Photos\\2024", "C:\\Photos\\Album"}},
      {"C:\\Pho|", {"C:\\Pho|"}},  // an invalid character: no completions
      {"C:\\\\P", {"C:\\\\P"}},
      {"\\P", {"\\P"}},
  };
  for (auto& c : cases) EXPECT_EQ(choice::Completions(c.text, invalid, fs), c.list) << c.text;
}

TEST(ChoiceDialogs, TargetChoiceWithoutDialogAndWithIt) {
  shelltest::ProfileRoot root;
  CMRemoveProfileKey("DepthViewer", "Mode");  // a root name may come back from an earlier process
  {
    CTargetChoiceDlg dlg;
    EXPECT_EQ(dlg.SetMode(1, 0), 1);  // DepthViewer\Mode unset
    uikit::DialogDriver none([](HWND h) { ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0); }, 500);
    EXPECT_EQ(dlg.DoModalWithCounts(0, 4), IDOK);
    EXPECT_EQ(none.Ran(), 0);  // no dialog
    EXPECT_EQ(dlg.GetChoice(), 5);
  }
  CMWriteProfileInt("DepthViewer", "Mode", 5);
  CTargetChoiceDlg dlg;
  EXPECT_EQ(dlg.SetMode(3, 0), 5);
  auto checkEnabled = [](HWND h) { return ::IsWindowEnabled(::GetDlgItem(h, IDC_TARGET_SELECTED_ONLY)) != FALSE; };
  std::vector<bool> enabled;
  uikit::DialogDriver driver([&](HWND h) {
    enabled.push_back(checkEnabled(h));  // marks: the marked files first, the box disabled
    uikit::Press(h, IDC_TARGET_SHOWN);
    enabled.push_back(checkEnabled(h));
    uikit::Press(h, IDC_TARGET_MARKED);
    enabled.push_back(checkEnabled(h));
    uikit::Press(h, IDC_TARGET_SHOWN);
    uikit::Picture pic(h);
    pic.Save("target_choice");
    uikit::Press(h, IDOK);
  });
  EXPECT_EQ(dlg.DoModalWithCounts(3, 2), IDOK);
  EXPECT_EQ(enabled, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(dlg.GetChoice(), 6);  // files of the view, selected only (checked at first)
  // Without marks the files of the view come first and the marked option is disabled.
  CTargetChoiceDlg plain;
  plain.SetMode(0, 0);
  bool markedEnabled = true, shownChecked = false;
  uikit::DialogDriver plainDriver([&](HWND h) {
    markedEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDC_TARGET_MARKED)) != FALSE;
    shownChecked = ::IsDlgButtonChecked(h, IDC_TARGET_SHOWN) == BST_CHECKED;
    uikit::Press(h, IDOK);
  });
  EXPECT_EQ(plain.DoModalWithCounts(2, 0), IDOK);
  EXPECT_FALSE(markedEnabled);
  EXPECT_TRUE(shownChecked);
  EXPECT_EQ(plain.GetChoice(), 0);
}

TEST(ChoiceDialogs, PathInputRefusesARelativePathAndTakesAFolder) {
  char windows[MAX_PATH];
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  CPathInputDlg dlg;
  std::vector<std::string> boxes;
  HWND hDialog = nullptr;
  std::vector<std::string> listed;
  auto refuse = [&](HWND box) {
    boxes.push_back(uikit::StaticTexts(box));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  };
  uikit::DialogDriver driver({
      [&](HWND h) {
        hDialog = h;
        HWND hCombo = ::GetDlgItem(h, IDC_PATH_COMBO);
        ::SetWindowTextA(hCombo, "C:");
        ::SendMessageA(hCombo, CB_SHOWDROPDOWN, TRUE, 0);
        int n = (int)::SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; i++) {
          char item[MAX_PATH] = {};
          ::SendMessageA(hCombo, CB_GETLBTEXT, i, (LPARAM)item);
          listed.push_back(item);
        }
        ::SendMessageA(hCombo, CB_SHOWDROPDOWN, FALSE, 0);
        ::SetWindowTextA(hCombo, "windows");  // relative
        uikit::Picture pic(h);
        pic.Save("path_input");
        ::PostMessageA(h, WM_COMMAND, IDOK, 0);
      },
      [&](HWND box) {
        refuse(box);
        ::SetWindowTextA(::GetDlgItem(hDialog, IDC_PATH_COMBO), "\\\\windows");
        ::PostMessageA(hDialog, WM_COMMAND, IDOK, 0);
      },
      [&](HWND box) {
        refuse(box);
        ::SetWindowTextA(::GetDlgItem(hDialog, IDC_PATH_COMBO), windows);
        ::PostMessageA(hDialog, WM_COMMAND, IDOK, 0);
      },
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  std::string notFound = (LPCSTR)CResourceLoader().LoadStringA(IDS_FOLDER_NOT_FOUND);
  EXPECT_EQ(boxes, (std::vector<std::string>{notFound, notFound}));
  EXPECT_EQ(dlg.m_strPath, CString(windows));
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(listed[0], "C:");  // the text itself, then the root's folders
  bool sawWindows = false;
  for (auto& item : listed) sawWindows |= lstrcmpiA(item.c_str(), windows) == 0;
  EXPECT_TRUE(sawWindows);
}

TEST(ChoiceDialogs, NoticeInfoAndYesNo) {
  CWnd host;
  host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr);
  CNoticeDlg notice;
  ASSERT_TRUE(notice.Create(&host));
  notice.SetText("フォルダを読み込んでいます…");
  notice.ShowWindow(SW_SHOW);
  uikit::Picture noticePic(notice.m_hWnd);
  noticePic.Save("notice");
  // Dark text pixels lie in the middle band of the client, none in the top corner.
  CRect client;
  notice.GetClientRect(&client);
  notice.ClientToScreen(&client);
  CRect window;
  notice.GetWindowRect(&window);
  client.OffsetRect(-window.left, -window.top);
  CRect middle(client.left, client.top + client.Height() / 3, client.right, client.top + 2 * client.Height() / 3);
  EXPECT_GT(noticePic.CountDark(middle), 20);
  EXPECT_EQ(noticePic.CountDark(CRect(client.left, client.top, client.left + 4, client.top + 4)), 0);
  notice.DestroyWindow();

  CInfoTextDlg info;
  info.SetText("カードの取り込みが終わりました。");
  uikit::DialogDriver infoDriver([](HWND h) {
    uikit::Picture pic(h);
    pic.Save("info_text");
    ::PostMessageA(h, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(info.DoModal(), IDOK);

  struct {
    bool tick;
    int answer;
    INT_PTR result;
    BOOL dontAsk;
  } cases[] = {{true, IDYES, IDYES, TRUE}, {false, IDYES, IDYES, FALSE}, {true, IDNO, IDNO, FALSE}};
  for (auto& c : cases) {
    CYesNoDlg yesNo;
    yesNo.m_strText = "選択したファイルを削除しますか?";
    std::string caption, text;
    uikit::DialogDriver driver([&](HWND h) {
      char buf[256] = {};
      ::GetWindowTextA(h, buf, sizeof(buf));
      caption = buf;
      ::GetDlgItemTextA(h, IDC_YESNO_TEXT, buf, sizeof(buf));
      text = buf;
      if (c.tick) uikit::Press(h, IDC_YESNO_DONT_ASK);
      if (c.tick && c.answer == IDYES) uikit::Picture(h).Save("yes_no");
      uikit::Press(h, c.answer);
    });
    EXPECT_EQ(yesNo.DoModal(), c.result);
    EXPECT_EQ(yesNo.m_bDontAsk, c.dontAsk);
    EXPECT_EQ(caption, std::string(CResourceLoader().LoadStringA(AFX_IDS_APP_TITLE)));
    EXPECT_EQ(text, "選択したファイルを削除しますか?");
  }
  host.DestroyWindow();
}

}  // namespace
