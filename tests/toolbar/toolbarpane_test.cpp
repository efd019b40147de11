// The toolbar pane in a main window of the test's own that keeps what it is sent: the
// buttons of the program folder and their places, message 1925, the file-list request,
// the refresh, what follows a tool, and the item lists.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <RecordGate.h>
#include <VxBDCore.h>
#include <VxBDDisc.h>
#include <VxDatabase.h>
#include <MainWndMessages.h>
#include <VxDocument/VxDocDefs.h>
#include <VxResourceIds.h>
#include <Widgetkit.h>

#include <profileroot.h>
#include <dialogwatch.h>
#include <filedrop.h>
#include <otherwindows.h>
#include <program.h>
#include <files.h>
#include <pump.h>
#include <tempfolder.h>
#include <card.h>
#include <program.h>
#include <uikit.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "EntryEditDlg.h"
#include "FView_Toolbar.h"
#include "dialogtest.h"
#include "ui/ResourceDialog.h"
#include "SlideCollectDlg.h"
#include "SlideCollectRules.h"
#include "SlideShowScenario.h"
#include "LauncherListWnd.h"
#include "ToolButtonDropTarget.h"
#include "ToolItemListWnd.h"
#include "ToolbarRules.h"
#include "ui/ProgramFolder.h"

namespace {

struct Got {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::string data;  // a WM_COPYDATA's text, or the path block of 1656
};

// A window that keeps the messages it is sent or posted.
class CRecorder : public CWnd {
 public:
  std::vector<Got> m_got;
  std::vector<UINT> m_keep;
  // Set: the next hide is held back and done from another thread a moment later, as by a
  // window that hides late.
  bool m_holdHide = false;
  std::thread m_hider;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (message == WM_WINDOWPOSCHANGING && m_holdHide && (pos->flags & SWP_HIDEWINDOW)) {
      pos->flags &= ~SWP_HIDEWINDOW;
      m_holdHide = false;
      HWND h = m_hWnd;
      m_hider = std::thread([h] {
        ::Sleep(300);
        ::ShowWindow(h, SW_HIDE);
      });
    }
    if (std::find(m_keep.begin(), m_keep.end(), message) != m_keep.end()) {
      Got g = {message, wParam, lParam, ""};
      if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        g.data.assign((const char*)cds->lpData, cds->cbData);
        g.lParam = (LPARAM)cds->dwData;
      } else if (message == WM_BROWSER_RELOAD && lParam) {
        HGLOBAL h = (HGLOBAL)lParam;
        g.data = (const char*)::GlobalLock(h);
        g.lParam = (LPARAM)::GlobalSize(h);
        ::GlobalUnlock(h);
        ::GlobalFree(h);  // the receiver owns the block
      }
      m_got.push_back(g);
      return message == WM_COPYDATA ? TRUE : 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  void Make(const std::vector<UINT>& keep) {
    m_keep = keep;
    CreateEx(0, "STATIC", "recorder", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 800, 75, nullptr, nullptr);
  }
};

class ToolbarPane : public testing::Test {
 protected:
  void SetUp() override {
    m_main.Make({WM_BROWSER_MUSIC_STOP, WM_REFRESH_FOLDERS, WM_BROWSER_RELOAD, WM_BROWSER_EXPORT_REQUEST, WM_COPYDATA,
                 WM_SELECT_CLASSIFY_ROOTS});
    AfxGetApp()->m_pMainWnd = &m_main;
    m_pane = new CFView_Toolbar;
    ASSERT_TRUE(m_pane->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 75), &m_main, 1, NULL));
    m_pane->OnInitialUpdate();
    m_pane->SendMessage(WM_SIZE, 0, MAKELPARAM(800, 75));
  }
  void TearDown() override {
    if (m_pane) m_pane->DestroyWindow();
    AfxGetApp()->m_pMainWnd = m_pOldMain;
    m_main.DestroyWindow();
  }
  // Drops the files on the pane and runs a command on them, answering its message boxes
  // (Yes when asked): their texts. What the main window got starts afresh.
  std::vector<std::string> DropAndRun(const std::vector<std::string>& paths, const std::function<void()>& run);
  testsupport::ScopedProfileRoot m_root{"toolbar"};
  CWnd* m_pOldMain = AfxGetApp()->m_pMainWnd;
  CRecorder m_main;
  CFView_Toolbar* m_pane = nullptr;
};

TEST_F(ToolbarPane, ButtonsOfTheProgramFolderStandWhereTheRulesSay) {
  // Always there, whatever the folder holds.
  for (int id : {ID_TB_FOLDER_UP, ID_TB_FOLDER_BACK, ID_TB_FOLDER_FORWARD, ID_TB_PERSON, ID_TB_SLIDESHOW, ID_TB_MOVIE,
                 ID_TB_DISC_DRIVES, ID_TB_REFRESH, ID_TB_LAUNCHER, ID_TB_MANUAL})
    EXPECT_NE(m_pane->FindToolButton(id, TRUE), nullptr) << id;
  // Rename.dll is built beside the tests: the tools button lists it.
  CToolButtonInfo* pTools = m_pane->FindToolButton(ID_TB_IMAGE_TOOLS, TRUE);
  ASSERT_NE(pTools, nullptr);
  ASSERT_NE(pTools->pList, nullptr);
  EXPECT_EQ(m_pane->FindToolButton(ID_TB_TOOLS_LIST, FALSE), pTools);
  // TurnPicture.dll is built beside the tests as well: the rotation button stands.
  EXPECT_NE(m_pane->FindToolButton(ID_TB_ROTATE, TRUE), nullptr);
  // Not installed here: the editor, the place page.
  EXPECT_EQ(m_pane->FindToolButton(ID_TB_EDIT_IMAGE, TRUE), nullptr);
  EXPECT_EQ(m_pane->FindToolButton(ID_TB_LOCATION_PAGE, TRUE), nullptr);

  std::vector<int> groups;
  for (int i = 0; i < m_pane->GetButtonCount(); ++i) groups.push_back(m_pane->GetButton(i)->nGroup);
  std::vector<RECT> places = toolbarrules::LayoutButtons(groups, 800);
  for (int i = 0; i < m_pane->GetButtonCount(); ++i) {
    CRect rc;
    m_pane->GetButton(i)->pButton->GetWindowRect(&rc);
    m_pane->ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(places[i])) << i;
    EXPECT_EQ(m_pane->GetButton(i)->pButton->GetDlgCtrlID(), m_pane->GetButton(i)->nCommand);
  }
  // The last four at the right: the manual ends 28 pixels before the edge.
  CRect rcManual;
  m_pane->FindToolButton(ID_TB_MANUAL, TRUE)->pButton->GetWindowRect(&rcManual);
  m_pane->ScreenToClient(&rcManual);
  EXPECT_EQ(rcManual, CRect(686, 27, 784, 56));
  // Narrower: the fixed places stay.
  m_pane->MoveWindow(0, 0, 200, 75);
  CRect rcBack;
  m_pane->FindToolButton(ID_TB_FOLDER_BACK, TRUE)->pButton->GetWindowRect(&rcBack);
  m_pane->ScreenToClient(&rcBack);
  EXPECT_EQ(rcBack.left, 73);
}

TEST_F(ToolbarPane, StoredStatesFollowMessage1925) {
  m_pane->SendMessage(WM_TOOLBAR_BUTTON_STATES, 0x800, 0);
  EXPECT_FALSE(m_pane->FindToolButton(ID_TB_REFRESH, TRUE)->bStoredEnable);
  EXPECT_FALSE(m_pane->FindToolButton(ID_TB_SLIDESHOW, TRUE)->bStoredEnable);
  EXPECT_TRUE(m_pane->FindToolButton(ID_TB_LAUNCHER, TRUE)->bStoredEnable);
  m_pane->SendMessage(WM_TOOLBAR_BUTTON_STATES, 0xFFFFFFFF, (LPARAM)-1);
  for (int i = 0; i < m_pane->GetButtonCount(); ++i) EXPECT_TRUE(m_pane->GetButton(i)->bStoredEnable);
}

TEST_F(ToolbarPane, FileListRequestIsAnsweredOnce) {
  CRecorder requester;
  requester.Make({WM_COPYDATA});
  m_pane->SendMessage(WM_TOOLBAR_FILE_LIST_REQUEST, (WPARAM)requester.m_hWnd, 0);
  testsupport::WaitUntil([&] { return !m_main.m_got.empty(); });
  ASSERT_EQ(m_main.m_got.size(), 1u);
  EXPECT_EQ(m_main.m_got[0].message, (UINT)WM_BROWSER_EXPORT_REQUEST);
  EXPECT_EQ(m_main.m_got[0].wParam, (WPARAM)requester.m_hWnd);
  std::string text = "0|0|0|C:\\a.jpg|1|0||";
  COPYDATASTRUCT cds = {CDID_EXPORT_FILES, (DWORD)text.size() + 1, (PVOID)text.c_str()};
  m_pane->SendMessage(WM_COPYDATA, 0, (LPARAM)&cds);
  m_pane->SendMessage(WM_COPYDATA, 0, (LPARAM)&cds);  // no requester left: not forwarded
  ASSERT_EQ(requester.m_got.size(), 1u);
  EXPECT_EQ(requester.m_got[0].wParam, (WPARAM)m_pane->m_hWnd);
  EXPECT_EQ(requester.m_got[0].data, text + '\0');
  // A requester that is gone by the answer gets nothing and breaks nothing.
  m_pane->SendMessage(WM_TOOLBAR_FILE_LIST_REQUEST, (WPARAM)0x1234, 0);
  EXPECT_EQ(m_pane->SendMessage(WM_COPYDATA, 0, (LPARAM)&cds), 0);
  requester.DestroyWindow();
}

TEST_F(ToolbarPane, RefreshStopsMusicAndReloadsWithTheDiscFlush) {
  CMWriteProfileInt("VazODA\\FolderInfo", "OptDiscFlush", 5);
  m_pane->SendMessage(WM_COMMAND, ID_TB_REFRESH, 0);
  ASSERT_EQ(m_main.m_got.size(), 3u);
  EXPECT_EQ(m_main.m_got[0].message, (UINT)WM_BROWSER_MUSIC_STOP);
  EXPECT_EQ(m_main.m_got[1].message, (UINT)WM_REFRESH_FOLDERS);
  EXPECT_EQ(m_main.m_got[2].message, (UINT)WM_BROWSER_RELOAD);
  EXPECT_EQ(m_main.m_got[2].lParam, 0);
  EXPECT_EQ(CMGetProfileInt("VazODA\\FolderInfo", "OptDiscFlush", 9), 0);
}

TEST_F(ToolbarPane, FirstPathAfterAToolIsSentWhenItFitsAndThenEmptied) {
  struct {
    std::string source;
    std::string firstPath;
    bool folderChange;
    std::string block;
  } cases[] = {
      {"C:\\in\\a.jpg", "C:\\out\\b.jpg", true, "C:\\out\\b.jpg"},
      {"C:\\in\\a.jpg", "C:\\in\\b.jpg", false, "C:\\in\\b.jpg"},
      {"C:\\in\\a.jpg", "", false, ""},
      {"C:\\in\\a.jpg", "C:\\in\\" + std::string(300, 'x'), false, ""},  // too long for the block: not sent
      {"C:\\in\\a.jpg", "C:\\in\\" + std::string(250, 'x'), false, "C:\\in\\" + std::string(250, 'x')},
  };
  for (auto& c : cases) {
    m_main.m_got.clear();
    CMWriteProfileString("Tool1", "FirstPath", c.firstPath.c_str());
    m_pane->SendFirstPathToMainWnd(c.source.c_str(), NULL);
    std::vector<UINT> messages;
    for (const Got& g : m_main.m_got) messages.push_back(g.message);
    std::vector<UINT> expected = {WM_REFRESH_FOLDERS};
    if (c.folderChange) expected.push_back(WM_COPYDATA);
    expected.push_back(WM_BROWSER_RELOAD);
    ASSERT_EQ(messages, expected) << c.firstPath;
    // The text names the disk tree by the number its registry entry "Explorer" holds.
    const int explorer = CMGetProfileInt("ImportPlugin\\Explorer", "ID", 0);
    EXPECT_GT(explorer, 0);
    if (c.folderChange) {
      EXPECT_EQ(m_main.m_got[1].data.c_str(), std::to_string(explorer) + "|Explorer|1|C:\\out\\||");
    }
    const Got& reload = m_main.m_got.back();
    EXPECT_EQ(reload.data, c.block) << c.firstPath;
    if (!c.block.empty()) { EXPECT_EQ(reload.lParam, MAX_PATH); }
    EXPECT_STREQ(CMGetProfileString("Tool1", "FirstPath", "unset"), "");
  }
  // Without a source: the trees and the browser, nothing selected.
  m_main.m_got.clear();
  m_pane->SendFirstPathToMainWnd(NULL, NULL);
  ASSERT_EQ(m_main.m_got.size(), 2u);
  EXPECT_EQ(m_main.m_got[1].lParam, 0);
}

TEST_F(ToolbarPane, ToolsButtonOpensItsListUnderIt) {
  CToolButtonInfo* pTools = m_pane->FindToolButton(ID_TB_IMAGE_TOOLS, TRUE);
  ASSERT_NE(pTools, nullptr);
  EXPECT_FALSE(pTools->pList->IsWindowVisible());
  m_pane->SendMessage(WM_COMMAND, ID_TB_IMAGE_TOOLS, 0);
  EXPECT_TRUE(pTools->pList->IsWindowVisible());
  CRect rcList, rcButton;
  pTools->pList->GetClientRect(&rcList);
  pTools->pList->ClientToScreen(&rcList);
  pTools->pButton->GetWindowRect(&rcButton);
  EXPECT_EQ(rcList.Width(), 118 + 2);
  EXPECT_EQ(rcList.left, rcButton.left - (118 - rcButton.Width()) / 2);
  EXPECT_EQ(rcList.top, rcButton.bottom);
  pTools->pList->ShowWindow(SW_HIDE);
}

TEST_F(ToolbarPane, OutsideProgramRunsWithTheMainWindowHiddenAndItsNewFilesSelected) {
  std::string folder = testsupport::NewTempFolder("toolbar-runner");
  std::string source = folder + "\\clip.mts";
  testsupport::WriteWholeFile(source, "movie");
  testsupport::WriteWholeFile(folder + "\\other.jpg", "picture");
  m_main.ShowWindow(SW_SHOWNA);
  std::string window = std::to_string((INT_PTR)m_main.m_hWnd);
  struct {
    std::string actions;
    std::string firstNew;
    bool hidesLate = false;
  } cases[] = {
      {"post write " + folder + "\\clip_1.mts write " + folder + "\\clip_1.txt", folder + "\\clip_1.mts"},
      // The main window hides late: the wait for it takes nothing from the queue either.
      {"post", "", true},
      // It asks the main window something while it runs: answered, no deadlock.
      {"post send", ""},
      {"post sleep 200 die", ""},
      // Never says it is up: the notice ends by the process's end.
      {"sleep 100", ""},
  };
  // Queued before each run: it waits for the end of the run (a click or a command run in
  // its middle would find the program half way).
  const UINT kQueued = WM_APP + 77;
  m_main.m_keep.push_back(kQueued);
  auto queued = [&] {
    return std::count_if(m_main.m_got.begin(), m_main.m_got.end(), [&](const Got& g) { return g.message == kQueued; });
  };
  for (auto& c : cases) {
    m_main.m_got.clear();
    CMWriteProfileString("DepthViewer", "SelectFilePath", "");
    m_main.PostMessage(kQueued);
    m_main.m_holdHide = c.hidesLate;
    DWORD t0 = ::GetTickCount();
    EXPECT_TRUE(m_pane->StartToolAndWait("toolbar_toolprobe.exe", ("-w " + window + " " + c.actions).c_str(),
                                         source.c_str()))
        << c.actions;
    EXPECT_LT(::GetTickCount() - t0, 15000u) << c.actions;
    if (m_main.m_hider.joinable()) m_main.m_hider.join();
    EXPECT_FALSE(m_main.m_holdHide) << "the main window was never hidden";
    EXPECT_EQ(queued(), 0) << c.actions;
    EXPECT_TRUE(m_main.IsWindowEnabled());
    EXPECT_TRUE(m_main.IsWindowVisible());
    EXPECT_STREQ(CMGetProfileString("DepthViewer", "SelectFilePath", ""), c.firstNew.c_str()) << c.actions;
    const Got& reload = m_main.m_got.back();
    EXPECT_EQ(reload.message, (UINT)WM_BROWSER_RELOAD);
    EXPECT_EQ(reload.data, c.firstNew);
    if (c.actions.find("send") != std::string::npos) {
      bool asked = false;
      for (const Got& g : m_main.m_got) asked |= g.message == WM_COPYDATA && g.lParam == 1626;
      EXPECT_TRUE(asked);
    }
    testsupport::PumpPending();
    EXPECT_EQ(queued(), 1) << c.actions;
  }
  // Not there: the box, no start, the main window untouched.
  testsupport::DialogWatch watch(nullptr, [](HWND) { return true; },
                                 [](HWND box) { ::PostMessageA(box, WM_COMMAND, IDOK, 0); });
  EXPECT_FALSE(m_pane->StartToolAndWait("Core\\NoSuchProgram.exe", "", NULL));
  EXPECT_TRUE(watch.Acted());
  EXPECT_TRUE(m_main.IsWindowVisible());
  testsupport::RemoveTree(folder);
}

// The real movie tools of the program folder: SplitClip.dll on a dropped movie, and the
// scene bench in Core\ started and waited for as the scene-cut command starts it.
TEST_F(ToolbarPane, MovieToolsWriteTheirPartsBesideTheMovieAndTheFirstIsShown) {
  std::string folder = testsupport::NewTempFolder("toolbar-movietools");
  std::string movie = folder + "\\clip.mp4";
  ASSERT_TRUE(::CopyFileA(testsupport::Fixture("keys.mp4").c_str(), movie.c_str(), TRUE));
  // The split dialog is answered with OK: the key frame offered, at 1 s.
  DropAndRun({movie}, [&] { m_pane->RunSplitClip(ProgramFolderPath("SplitClip.dll")); });
  EXPECT_EQ(testsupport::FileNamesIn(folder), (std::vector<std::string>{"clip.mp4", "clip_1.mp4", "clip_2.mp4"}));
  ASSERT_FALSE(m_main.m_got.empty());
  EXPECT_EQ(m_main.m_got.back().message, (UINT)WM_BROWSER_RELOAD);
  EXPECT_EQ(m_main.m_got.back().data, folder + "\\clip_1.mp4");

  // The bench keeps the second from 2 s beside the movie: registered and selected.
  m_main.m_got.clear();
  std::string program, arguments;
  ASSERT_TRUE(
      toolbarrules::OutsideProgramCall(ID_TB_MOVIE_CUT, movie.c_str(), (UINT_PTR)m_main.m_hWnd, &program, &arguments));
  std::thread user([] {
    // The bench the pane started (the bench's own tests may have one open at the same
    // time). A program starting while the machine is busy can take its time.
    HWND bench = nullptr;
    for (DWORD since = ::GetTickCount(); !bench && ::GetTickCount() - since < 60000; ::Sleep(10))
      for (HWND w : testsupport::WindowsOfChildren("GlimoraCutBench")) {
        char title[128] = "";
        ::GetWindowTextA(w, title, sizeof title);
        if (::IsWindowVisible(w) && !lstrcmpA(title, "シーンカット - clip.mp4")) bench = w;
      }
    if (!bench) return;
    HWND start = ::GetDlgItem(bench, 104);  // the start's list
    if (testsupport::SendToOther(start, CB_SETCURSEL, 2, 0) &&
        testsupport::SendToOther(bench, WM_COMMAND, MAKEWPARAM(104, CBN_SELCHANGE), (LPARAM)start))
      testsupport::SendToOther(bench, WM_COMMAND, 107, 0);  // save
    ::PostMessageA(bench, WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(m_pane->StartToolAndWait(program.c_str(), arguments.c_str(), movie.c_str()));
  user.join();
  std::string kept = folder + "\\clip_3.mp4";
  EXPECT_EQ(testsupport::FileNamesIn(folder),
            (std::vector<std::string>{"clip.mp4", "clip_1.mp4", "clip_2.mp4", "clip_3.mp4"}));
  EXPECT_STREQ(CMGetProfileString("DepthViewer", "SelectFilePath", ""), kept.c_str());
  ASSERT_FALSE(m_main.m_got.empty());
  EXPECT_EQ(m_main.m_got.back().data, kept);
  EXPECT_TRUE(m_main.IsWindowVisible());
  testsupport::RemoveTree(folder);
}

TEST_F(ToolbarPane, LauncherButtonShowsTheLauncherOrTakesTheDroppedPrograms) {
  CToolButtonInfo* pInfo = m_pane->FindToolButton(ID_TB_LAUNCHER, TRUE);
  ASSERT_NE(pInfo, nullptr);
  ASSERT_NE(pInfo->pLauncher, nullptr);
  EXPECT_EQ(m_pane->GetAttachedWindow(pInfo), pInfo->pLauncher);
  m_pane->SendMessage(WM_COMMAND, ID_TB_LAUNCHER, 0);
  EXPECT_TRUE(pInfo->pLauncher->IsWindowVisible());
  CRect rcLauncher, rcButton;
  pInfo->pLauncher->GetWindowRect(&rcLauncher);
  pInfo->pButton->GetWindowRect(&rcButton);
  EXPECT_EQ(rcLauncher.TopLeft(), CPoint(rcButton.left - (118 - rcButton.Width()) / 2, rcButton.bottom));
  EXPECT_EQ(rcLauncher.Size(), CSize(120, 3 * 29 + 2));
  pInfo->pLauncher->ShowWindow(SW_HIDE);

  // Dropped on the button: each program becomes the first entry; other files pass.
  std::string first = testsupport::ProgramFolder() + "\\toolbar_toolprobe.exe";
  std::string second = testsupport::ProgramPath();
  CMWriteProfileString("", "Lanch1", "C:\\old.exe");
  m_pane->SendMessage(WM_DROPFILES, (WPARAM)testsupport::MakeFileDrop({first, "C:\\pics\\a.jpg", second}), 0);
  m_pane->SendMessage(WM_COMMAND, ID_TB_LAUNCHER, 0);
  EXPECT_FALSE(pInfo->pLauncher->IsWindowVisible());
  EXPECT_STREQ(pInfo->pLauncher->GetLauncherPath(0), second.c_str());
  EXPECT_STREQ(pInfo->pLauncher->GetLauncherPath(1), first.c_str());
  EXPECT_STREQ(pInfo->pLauncher->GetLauncherPath(2), "C:\\old.exe");
  EXPECT_EQ(m_pane->TakePendingFiles(), nullptr);
}

TEST_F(ToolbarPane, DragsOpenTheListsAndDropsReachTheButtons) {
  EXPECT_EQ(m_pane->SendMessage(WM_TOOLBAR_DRAG_ENTER, 12345, 0), -1);
  // Over a button with a list: it opens, and goes once the drag is elsewhere with the
  // button up.
  ::SetCursorPos(1270, 1010);
  CToolButtonInfo* pTools = m_pane->FindToolButton(ID_TB_IMAGE_TOOLS, TRUE);
  ASSERT_NE(pTools, nullptr);
  EXPECT_EQ(m_pane->SendMessage(WM_TOOLBAR_DRAG_ENTER, ID_TB_IMAGE_TOOLS, 0), 0);
  EXPECT_TRUE(pTools->pList->IsWindowVisible());
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !pTools->pList->IsWindowVisible(); }, 5000));

  // The OLE target on the launcher button: the drag opens the launcher, the drop hands
  // the files to the button, whose command takes the program.
  CToolButtonInfo* pLauncher = m_pane->FindToolButton(ID_TB_LAUNCHER, TRUE);
  CToolButtonDropTarget target(m_pane, ID_TB_LAUNCHER);
  COleDataSource* pSource = new COleDataSource;
  std::string program = testsupport::ProgramFolder() + "\\toolbar_toolprobe.exe";
  pSource->CacheGlobalData(CF_HDROP, testsupport::MakeFileDrop({program}));
  COleDataObject data;
  data.Attach(pSource->GetIDataObject(FALSE), FALSE);
  EXPECT_EQ(target.OnDragEnter(pLauncher->pButton, &data, 0, CPoint(5, 5)), (DROPEFFECT)DROPEFFECT_COPY);
  EXPECT_TRUE(pLauncher->pLauncher->IsWindowVisible());
  EXPECT_TRUE(target.OnDrop(pLauncher->pButton, &data, DROPEFFECT_COPY, CPoint(5, 5)));
  EXPECT_TRUE(testsupport::WaitUntil([&] { return pLauncher->pLauncher->GetLauncherPath(0) == program.c_str(); }));
  // Data without files is refused.
  COleDataSource* pText = new COleDataSource;
  pText->CacheGlobalData(CF_TEXT, ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4));
  COleDataObject text;
  text.Attach(pText->GetIDataObject(FALSE), FALSE);
  EXPECT_EQ(target.OnDragOver(pLauncher->pButton, &text, 0, CPoint(5, 5)), (DROPEFFECT)DROPEFFECT_NONE);
  EXPECT_FALSE(target.OnDrop(pLauncher->pButton, &text, DROPEFFECT_COPY, CPoint(5, 5)));
  data.Release();
  text.Release();
  pSource->InternalRelease();
  pText->InternalRelease();
}

}  // namespace

namespace {
std::vector<std::string> LogLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string text = testsupport::ReadWholeFile(path), line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  return lines;
}
}  // namespace

TEST_F(ToolbarPane, PictureToolRunsOnTheDroppedFilesUntilItSaysStop) {
  std::string folder = testsupport::NewTempFolder("toolbar-picture");
  std::vector<std::string> files = {folder + "\\a.jpg", folder + "\\b.png", folder + "\\c.jpg"};
  for (const std::string& f : files) testsupport::WriteWholeFile(f, "picture");
  std::string log = folder + "\\calls.log";
  ::SetEnvironmentVariableA("TOOLRUN_PROBE_LOG", log.c_str());
  std::string probe = testsupport::ProgramFolder() + "\\toolbar_pictureprobe.dll";
  struct {
    int command;
    const char* results;
    std::vector<std::string> calls;
    std::string selected;  // the output the browser is told to select; "" for no reload
  } cases[] = {
      {ID_TB_SCALE, "1", {files[0] + "|1", files[1] + "|0", files[2] + "|0"}, files[2] + ".out"},
      {ID_TB_SCALE, "1,2", {files[0] + "|1", files[1] + "|0"}, files[0] + ".out"},
      {ID_TB_ROTATE, "2", {files[0] + "|1"}, ""},
      // Done after the first file: its output is still shown.
      {ID_TB_CONVERT, "0", {files[0] + "|1"}, files[0] + ".out"},
  };
  CMWriteProfileInt("Tool1\\TurnPicture", "Rotation", 270);
  for (auto& c : cases) {
    ::DeleteFileA(log.c_str());
    ::SetEnvironmentVariableA("TOOLRUN_PROBE_RESULTS", c.results);
    m_main.m_got.clear();
    m_pane->SendMessage(WM_DROPFILES, (WPARAM)testsupport::MakeDropFiles(files), 0);
    m_pane->RunPictureTool(c.command, probe.c_str());
    EXPECT_EQ(LogLines(log), c.calls) << c.command << " " << c.results;
    std::string selected;
    bool reloaded = false;
    for (const Got& g : m_main.m_got)
      if (g.message == WM_BROWSER_RELOAD) {
        reloaded = true;
        selected = g.data;
      }
    EXPECT_EQ(reloaded, !c.selected.empty()) << c.results;
    EXPECT_EQ(selected, c.selected) << c.results;
    EXPECT_TRUE(m_main.IsWindowEnabled());
    EXPECT_EQ(m_pane->TakePendingFiles(), nullptr);  // the drop was used up
  }
  // The rotation's settings survive its run; the resize was told about the JPEGs.
  EXPECT_EQ(CMGetProfileInt("Tool1\\TurnPicture", "Rotation", 0), 270);
  EXPECT_EQ(CMGetProfileInt("Tool1\\TurnPicture", "PIM", -1), 0);
  EXPECT_EQ(CMGetProfileInt("Tool1\\ScalePicture", "Slider", -1), 1);
  EXPECT_EQ(CMGetProfileInt("Tool1\\ScalePicture", "Single", -1), 0);
  EXPECT_EQ(CMGetProfileInt("Tool1\\ConvertKind", "Single", -1), 0);

  // A library without the export: the system's text, nothing run, the window usable.
  ::DeleteFileA(log.c_str());
  std::string text;
  {
    uikit::DialogDriver driver([&](HWND h) {
      text = uikit::StaticTexts(h);
      uikit::Press(h, IDOK);
    });
    m_pane->SendMessage(WM_DROPFILES, (WPARAM)testsupport::MakeDropFiles(files), 0);
    m_pane->RunPictureTool(ID_TB_SCALE, (testsupport::ProgramFolder() + "\\toolbar_pictureprobe_noexport.dll").c_str());
    EXPECT_EQ(driver.Ran(), 1);
  }
  EXPECT_FALSE(text.empty());
  EXPECT_TRUE(LogLines(log).empty());
  EXPECT_TRUE(m_main.IsWindowEnabled());
  delete m_pane->TakePendingFiles();
  testsupport::RemoveTree(folder);
}

// The real rotation library on dropped pictures: its settings once, a turned copy of
// each, the browser told to select the last, the stored settings put back afterwards.
TEST_F(ToolbarPane, RotationLibraryTurnsTheDroppedPictures) {
  std::string folder = testsupport::NewTempFolder("toolbar-turn");
  std::vector<std::string> files = {folder + "\\a.jpg", folder + "\\b.jpg"};
  for (const std::string& f : files)
    ASSERT_TRUE(::CopyFileA(testsupport::Fixture("quadrants.jpg").c_str(), f.c_str(), FALSE));
  CMWriteProfileInt("Tool1\\TurnPicture", "SaveMode", 0);
  CMWriteProfileInt("Tool1\\TurnPicture", "Rotation", 90);
  CString caption;
  caption.LoadString(IDS_BROWSER_ROTATE_CAPTION);
  testsupport::DialogWatch settings(
      caption, [](HWND h) { return ::GetDlgItem(h, IDC_TURN_180) && ::IsWindowVisible(h); },
      [](HWND h) {
        ::SendMessageA(::GetDlgItem(h, IDC_TURN_180), BM_CLICK, 0, 0);
        ::PostMessageA(h, WM_COMMAND, IDOK, 0);
      },
      8000);
  m_main.m_got.clear();
  m_pane->SendMessage(WM_DROPFILES, (WPARAM)testsupport::MakeDropFiles(files), 0);
  m_pane->RunPictureTool(ID_TB_ROTATE, (testsupport::ProgramFolder() + "\\TurnPicture.dll").c_str());
  settings.Stop();
  EXPECT_TRUE(settings.Acted());
  EXPECT_EQ(testsupport::FileNamesIn(folder), (std::vector<std::string>{"a.jpg", "a_r.jpg", "b.jpg", "b_r.jpg"}));
  std::string selected;
  for (const Got& g : m_main.m_got)
    if (g.message == WM_BROWSER_RELOAD) selected = g.data;
  EXPECT_EQ(selected, folder + "\\b_r.jpg");
  // The run's choice (a half turn) stays with the run.
  EXPECT_EQ(CMGetProfileInt("Tool1\\TurnPicture", "Rotation", 0), 90);
  EXPECT_EQ(std::string(CMGetProfileString("Tool1", "FirstPath", "?")), "");
  EXPECT_TRUE(m_main.IsWindowEnabled());
  testsupport::RemoveTree(folder);
}

namespace {
// Answers every message box (Yes when it asks) and keeps its text; other dialogs, such
// as the progress windows, are left alone.
std::vector<uikit::DialogDriver::Step> AnswerBoxes(std::vector<std::string>* texts) {
  uikit::DialogDriver::Step step = [texts](HWND h) {
    int button = ::GetDlgItem(h, IDYES) ? IDYES : ::GetDlgItem(h, IDOK) ? IDOK : 0;
    if (!button) return;
    texts->push_back(uikit::StaticTexts(h));
    uikit::Press(h, button);
  };
  return std::vector<uikit::DialogDriver::Step>(16, step);
}

std::string Text(int id, const char* arg = nullptr) {
  CString s;
  if (arg)
    s.Format(id, arg);
  else
    s.LoadString(id);
  return (LPCSTR)s;
}

bool Shown(const std::vector<std::string>& texts, const std::string& text) {
  for (const std::string& t : texts)
    if (t.find(text) != std::string::npos) return true;
  return false;
}
}  // namespace

std::vector<std::string> ToolbarPane::DropAndRun(const std::vector<std::string>& paths,
                                                 const std::function<void()>& run) {
  m_main.m_got.clear();
  std::vector<std::string> texts;
  uikit::DialogDriver driver(AnswerBoxes(&texts));
  m_pane->SendMessage(WM_DROPFILES, (WPARAM)testsupport::MakeDropFiles(paths), 0);
  run();
  return texts;
}

TEST_F(ToolbarPane, DateImprintStampsDatedPicturesAndSaysWhatItLeftOut) {
  std::string folder = testsupport::NewTempFolder("toolbar-imprint");
  std::string photo = testsupport::Fixture("exif_full.jpg");
  for (const char* name : {"a.jpg", "b.jpg", "undated.jpg", "c.dvf", "r.jpg"})
    ::CopyFileA(photo.c_str(), (folder + "\\" + name).c_str(), FALSE);
  testsupport::WriteWholeFile(folder + "\\notes.txt", "text");
  ::SetFileAttributesA((folder + "\\r.jpg").c_str(), FILE_ATTRIBUTE_READONLY);
  std::string log = folder + "\\calls.log";
  ::SetEnvironmentVariableA("IMPRINT_PROBE_LOG", log.c_str());
  std::string probe = testsupport::ProgramFolder() + "\\toolbar_imprintprobe.dll";
  std::string first = Text(IDS_TB_IMPRINT_DEFAULT_NAME);
  struct {
    std::vector<std::string> files;
    const char* prompt;
    int failAt;
    const char* code;
    std::vector<std::string> calls;
    std::vector<int> messages;  // texts that must have been shown
    std::string selected;       // "" for no reload
    int single, readOnly;       // "Tool1\1" after the run; -1 when not written
  } cases[] = {
      {{"a.jpg", "undated.jpg"}, "", 0, "", {"prompt|a.jpg|" + first, "stamp|a.jpg|a_d.jpg|3"},
       {IDS_TB_SOME_FILES_LEFT_OUT}, "a_d.jpg", 0, 1},
      {{"undated.jpg"}, "", 0, "", {}, {IDS_TB_IMPRINT_UNDATED}, "", -1, -1},
      {{"undated.jpg", "notes.txt"}, "", 0, "", {}, {IDS_TB_IMPRINT_NOTHING}, "", -1, -1},
      // A ".dvf" is written as a bitmap.
      {{"c.dvf"}, "", 0, "", {"prompt|c.dvf|" + first, "stamp|c.dvf|c_d.bmp|3"}, {IDS_TB_IMPRINT_DVF_AS_BMP},
       "c_d.bmp", 1, 1},
      // A full disk at the second file: said, and the first file's output still shown.
      {{"a.jpg", "b.jpg", "r.jpg"}, "", 2, "80070070",
       {"prompt|a.jpg|" + first, "stamp|a.jpg|a_d.jpg|3", "prompt|b.jpg|", "stamp|b.jpg|b_d.jpg|3"},
       {IDS_BROWSER_DISK_FULL}, "a_d.jpg", 0, 3},
      // Cancelled at the first name: nothing done, nothing to show.
      {{"a.jpg", "b.jpg"}, "cancel", 0, "", {"prompt|a.jpg|" + first}, {}, "", 0, 1},
  };
  for (auto& c : cases) {
    ::DeleteFileA(log.c_str());
    for (const char* out : {"a_d.jpg", "b_d.jpg", "c_d.bmp"}) ::DeleteFileA((folder + "\\" + out).c_str());
    CMWriteProfileInt("Tool1\\1", "Single", -1);
    CMWriteProfileInt("Tool1\\1", "ReadOnly", -1);
    ::SetEnvironmentVariableA("IMPRINT_PROBE_PROMPT", c.prompt);
    ::SetEnvironmentVariableA("IMPRINT_PROBE_FAIL_AT", std::to_string(c.failAt).c_str());
    ::SetEnvironmentVariableA("IMPRINT_PROBE_CODE", c.code);
    std::vector<std::string> paths;
    for (const std::string& f : c.files) paths.push_back(folder + "\\" + f);
    std::vector<std::string> texts = DropAndRun(paths, [&] { m_pane->RunDateImprint(probe.c_str(), probe.c_str()); });
    std::string label = c.files[0] + " " + c.prompt + " " + c.code;
    EXPECT_EQ(LogLines(log), c.calls) << label;
    for (int id : c.messages) EXPECT_TRUE(Shown(texts, Text(id))) << label << " " << id;
    std::string selected;
    for (const Got& g : m_main.m_got)
      if (g.message == WM_BROWSER_RELOAD) selected = g.data.empty() ? "?" : g.data;
    EXPECT_EQ(selected, c.selected.empty() ? "" : folder + "\\" + c.selected) << label;
    EXPECT_EQ(CMGetProfileInt("Tool1\\1", "Single", -1), c.single) << label;
    EXPECT_EQ(CMGetProfileInt("Tool1\\1", "ReadOnly", -1), c.readOnly) << label;
    EXPECT_EQ(m_pane->TakePendingFiles(), nullptr);
  }
  ::SetFileAttributesA((folder + "\\r.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
  testsupport::RemoveTree(folder);
}

// The date imprint and the shooting date with the libraries installed beside the program:
// the name prompt and the date dialog confirmed as they come.
TEST_F(ToolbarPane, DateImprintAndShotDateWithTheInstalledLibraries) {
  std::string folder = testsupport::NewTempFolder("toolbar-real-tools");
  std::string a = folder + "\\a.jpg", b = folder + "\\b.jpg";
  ::CopyFileA(testsupport::Fixture("exif_full.jpg").c_str(), a.c_str(), FALSE);
  ::CopyFileA(testsupport::Fixture("exif_nothumb.jpg").c_str(), b.c_str(), FALSE);
  CMRemoveProfileKey("Tool1\\NamePrompt", "Suffix");
  CMWriteProfileInt("Tool1\\NamePrompt", "Corner", 0);
  m_main.m_got.clear();
  {
    // The name prompt comes after the (still hidden) progress window: answered from a
    // thread of its own.
    testsupport::DialogWatch prompt(
        Text(IDS_TB_TOOL_DATE_IMPRINT).c_str(), [](HWND h) { return ::GetDlgItem(h, IDOK) != NULL; },
        [](HWND h) { ::PostMessageA(h, WM_COMMAND, IDOK, 0); });
    m_pane->SendMessage(WM_DROPFILES, (WPARAM)testsupport::MakeDropFiles({a, b}), 0);
    m_pane->OnDateImprint();
    EXPECT_TRUE(prompt.Acted());
  }
  std::string last = folder + "\\b_date.jpg";
  EXPECT_NE(::GetFileAttributesA((folder + "\\a_date.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesA(last.c_str()), INVALID_FILE_ATTRIBUTES);
  std::string selected;
  for (const Got& g : m_main.m_got)
    if (g.message == WM_BROWSER_RELOAD) selected = g.data;
  EXPECT_EQ(selected, last);

  CMWriteProfileInt("Tool1\\FixShotDate", "Mode", 1);
  CMWriteProfileInt("Tool1\\FixShotDate", "Hours", 1);
  DropAndRun({a}, [&] { m_pane->OnUpdateShotDate(); });
  SYSTEMTIME st = {};
  EXPECT_EQ(CCMDIB::GetDateTimeOriginal(a.c_str(), &st), 0);
  EXPECT_EQ(st.wHour, 10);  // 09:12:05 an hour later
  selected.clear();
  for (const Got& g : m_main.m_got)
    if (g.message == WM_BROWSER_RELOAD) selected = g.data;
  EXPECT_EQ(selected, a);
  EXPECT_EQ(m_pane->TakePendingFiles(), nullptr);
  testsupport::RemoveTree(folder);
}

TEST_F(ToolbarPane, DatabaseFollowsAToolsOutput) {
  std::string dbDir = testsupport::NewTempFolder("toolbar-db");
  ::SetEnvironmentVariableA("GLIMORA_DB_DIR", dbDir.c_str());
  std::string folder = testsupport::NewTempFolder("toolbar-output");
  std::string photo = testsupport::Fixture("exif_full.jpg");
  auto enrolled = [](const std::string& path) { return VxDBWIsEnrolled(path.c_str()) == S_OK; };
  struct {
    const char* source;
    const char* output;
    bool sourceKept;  // the tool left its source on the disk
    bool sourceEnrolled, outputEnrolled;
  } cases[] = {
      {"a.jpg", "a_1.jpg", true, true, true},   // a copy: both entries
      {"b.jpg", "b_1.jpg", false, false, true},  // moved: the entry follows
      {"c.jpg", "c.jpg", true, true, true},      // in place: the entry stays
  };
  for (auto& c : cases) {
    std::string source = folder + "\\" + c.source, output = folder + "\\" + c.output;
    ::CopyFileA(photo.c_str(), source.c_str(), FALSE);
    ASSERT_EQ(VxDBWInitDatabase(), S_OK);
    ASSERT_TRUE(SUCCEEDED(VxDBWEnrollFile(source.c_str(), 0)));
    VxDBWExitDatabase(0);
    if (source != output) ::CopyFileA(source.c_str(), output.c_str(), FALSE);
    if (!c.sourceKept) ::DeleteFileA(source.c_str());
    m_pane->UpdateDatabaseForToolOutput(source.c_str(), output.c_str());
    ASSERT_EQ(VxDBWInitDatabase(), S_OK);
    EXPECT_EQ(enrolled(source), c.sourceEnrolled) << c.source;
    EXPECT_EQ(enrolled(output), c.outputEnrolled) << c.output;
    VxDBWExitDatabase(0);
  }
  // A drive that is not fixed is not the database's.
  m_pane->UpdateDatabaseForToolOutput((folder + "\\a.jpg").c_str(), "E:\\DCIM\\a_2.jpg");
  ASSERT_EQ(VxDBWInitDatabase(), S_OK);
  EXPECT_FALSE(enrolled("E:\\DCIM\\a_2.jpg"));
  VxDBWExitDatabase(-1);
  ::SetEnvironmentVariableA("GLIMORA_DB_DIR", nullptr);
  testsupport::RemoveTree(folder);
  testsupport::RemoveTree(dbDir);
}

TEST_F(ToolbarPane, DiscDriveListFollowsTheDrivesAtEveryPress) {
  auto coreDrives = [] {
    IVxBDCoreObject* core = GetVxBDCoreObject();
    VXBDDRIVEENTRY entries[26] = {};
    int n = 0;
    core->GetDriveList(entries, 26, &n);
    core->Release();
    return n;
  };
  CToolButtonInfo* pDisc = m_pane->FindToolButton(ID_TB_DISC_DRIVES, TRUE);
  ASSERT_NE(pDisc, nullptr);
  std::string disc = testsupport::NewTempFolder("toolbar-disc");
  testsupport::MakeFolders(disc + "\\BDMV");
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(disc)), 0u);
  int withDisc = coreDrives();
  ASSERT_GE(withDisc, 1);
  m_pane->SendMessage(WM_COMMAND, ID_TB_DISC_DRIVES, 0);
  ASSERT_NE(pDisc->pList, nullptr);
  EXPECT_EQ(pDisc->pList->GetItemCount(), withDisc);
  EXPECT_TRUE(pDisc->pList->IsWindowVisible());
  ASSERT_EQ(testsupport::RemoveDisc('D'), 0u);
  int without = coreDrives();
  // Pressed again: the list is made anew from the drives there now.
  m_pane->SendMessage(WM_COMMAND, ID_TB_DISC_DRIVES, 0);
  if (without == 0) {
    EXPECT_EQ(pDisc->pList, nullptr);
  } else {
    ASSERT_NE(pDisc->pList, nullptr);
    EXPECT_EQ(pDisc->pList->GetItemCount(), without);
    pDisc->pList->ShowWindow(SW_HIDE);
  }
  testsupport::RemoveTree(disc);
}

// An item of the list hands its drive to the core, which lets go of what it had open on a
// disc drive (a disc changed since is read anew) and of nothing else; the folders refresh.
TEST_F(ToolbarPane, DiscDriveItemHandsItsDriveToTheCoreAndRefreshes) {
  std::string disc = testsupport::NewTempFolder("toolbar-disc-item");
  ASSERT_TRUE(VxBDWriteTree(disc + "\\BDMV", {{{"00000"}, 0x0103, 0xAB12}}, true, true));
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(disc)), 0u);
  IVxBDCoreObject* object = GetVxBDCoreObject();
  IVxBDIntegrator* core = object->GetIntegrator();
  struct {
    char drive;
    bool sessionKept;
  } cases[] = {{'C', true}, {'E', true}, {'D', false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive);
    int session = -1;
    ASSERT_GE(core->OpenDisc('D' - 'A', L"D:\\", 1, &session), 0);
    m_main.m_got.clear();
    m_pane->SendMessage(WM_COMMAND, ID_TB_DISC_LIST + 1 + (c.drive - 'A'), 0);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return !m_main.m_got.empty(); }));
    EXPECT_EQ(m_main.m_got[0].message, (UINT)WM_REFRESH_FOLDERS);
    EXPECT_EQ(m_main.m_got[0].wParam, (WPARAM)m_pane->m_hWnd);
    EXPECT_EQ(core->ValidateSession(session) == 0, c.sessionKept);
    int again = -1;
    EXPECT_EQ(core->OpenDisc('D' - 'A', L"D:\\", 1, &again), c.sessionKept ? VXBD_S_SESSION_OPEN : 0);
  }
  object->ClearDriveSelection();
  object->Release();
  ASSERT_EQ(testsupport::RemoveDisc('D'), 0u);
  testsupport::RemoveTree(disc);
}

TEST_F(ToolbarPane, ShotDatePlaceAndSplitTakeTheDroppedFiles) {
  std::string folder = testsupport::NewTempFolder("toolbar-files");
  std::string photo = testsupport::Fixture("exif_full.jpg");
  ::CopyFileA(photo.c_str(), (folder + "\\dated.jpg").c_str(), FALSE);
  ::CopyFileA(testsupport::Fixture("plain.jpg").c_str(), (folder + "\\plain.jpg").c_str(), FALSE);
  for (const char* name : {"one.mp4", "two.avi", "notes.txt", "clip.mts"})
    testsupport::WriteWholeFile(folder + "\\" + name, "x");
  std::string log = folder + "\\calls.log";
  ::SetEnvironmentVariableA("FILEPROBE_LOG", log.c_str());
  std::string probe = testsupport::ProgramFolder() + "\\toolbar_fileprobe.dll";
  enum Tool { SHOT_DATE, PLACE, SPLIT };
  struct {
    Tool tool;
    std::vector<std::string> files;
    int result;
    int classify;
    std::vector<std::string> calls;
    std::vector<int> messages;
    std::string selected;  // the reload's path, "" for no reload, "-" for the refresh of 1540 and 1541
  } cases[] = {
      // Undated pictures leave without a word, other kinds are said.
      {SHOT_DATE, {"dated.jpg", "plain.jpg", "notes.txt"}, 1, -1, {"FixShotDate|dated.jpg"},
       {IDS_TB_SHOT_DATE_LEFT_OUT}, "dated.jpg"},
      {SHOT_DATE, {"dated.jpg"}, 1, 0, {"FixShotDate|dated.jpg"}, {}, "-"},
      {SHOT_DATE, {"dated.jpg"}, 0, -1, {"FixShotDate|dated.jpg"}, {}, ""},
      {SHOT_DATE, {"plain.jpg"}, 1, -1, {}, {IDS_TB_IMPRINT_UNDATED}, ""},
      {PLACE, {"dated.jpg", "plain.jpg"}, 0, -1, {"OpenDropWindow|dated.jpg,plain.jpg"}, {}, ""},
      // Two movies: the first one, after the question.
      {SPLIT, {"notes.txt", "one.mp4", "two.avi"}, 1, -1, {"SplitClip|one.mp4"}, {IDS_TB_FIRST_SELECTED_ONLY},
       "one.mp4"},
      {SPLIT, {"clip.mts", "notes.txt"}, 1, -1, {}, {}, ""},
  };
  for (auto& c : cases) {
    ::DeleteFileA(log.c_str());
    ::SetEnvironmentVariableA("FILEPROBE_RESULT", std::to_string(c.result).c_str());
    CMWriteProfileInt("VxFolder\\FolderInfo", "Classify", c.classify);
    std::vector<std::string> paths;
    for (const std::string& f : c.files) paths.push_back(folder + "\\" + f);
    std::vector<std::string> texts = DropAndRun(paths, [&] {
      if (c.tool == SHOT_DATE) m_pane->RunShotDate(probe.c_str());
      if (c.tool == PLACE) m_pane->RunGuessPlace(probe.c_str());
      if (c.tool == SPLIT) m_pane->RunSplitClip(probe.c_str());
    });
    std::string label = std::to_string(c.tool) + " " + c.files[0];
    EXPECT_EQ(LogLines(log), c.calls) << label;
    for (int id : c.messages) EXPECT_TRUE(Shown(texts, Text(id))) << label << " " << id;
    std::string selected;
    bool refreshed = false, classified = false;
    for (const Got& g : m_main.m_got) {
      if (g.message == WM_BROWSER_RELOAD) selected = g.data.empty() ? "?" : g.data;
      refreshed |= g.message == WM_REFRESH_FOLDERS;
      classified |= g.message == WM_SELECT_CLASSIFY_ROOTS;
    }
    if (c.selected == "-") {
      EXPECT_TRUE(refreshed && classified && selected.empty()) << label;
    } else {
      EXPECT_EQ(selected, c.selected.empty() ? "" : "?") << label;  // the tool wrote no "FirstPath"
      EXPECT_EQ(refreshed, !c.selected.empty()) << label;
    }
    EXPECT_EQ(m_pane->TakePendingFiles(), nullptr) << label;
  }
  // The place guess without a drop or a browser: told under its own caption.
  ::DeleteFileA(log.c_str());
  std::string caption;
  {
    uikit::DialogDriver driver([&](HWND h) {
      char sz[256] = "";
      ::GetWindowTextA(h, sz, sizeof sz);
      caption = sz;
      uikit::Press(h, IDOK);
    });
    m_pane->RunGuessPlace(probe.c_str());
  }
  EXPECT_EQ(caption, Text(IDS_TB_TOOL_GUESS_PLACE));
  EXPECT_TRUE(LogLines(log).empty());
  testsupport::RemoveTree(folder);
}

TEST_F(ToolbarPane, ConversionPluginRunsOnTheFilesOfItsKind) {
  std::string plugins = testsupport::NewTempFolder("toolbar-ppc");
  ASSERT_TRUE(::CopyFileA((testsupport::ProgramFolder() + "\\testplugins\\ppc_prio5.ppc").c_str(),
                          (plugins + "\\ppc_prio5.ppc").c_str(), FALSE));
  std::string folder = testsupport::NewTempFolder("toolbar-ppc-files");
  ::CopyFileA(testsupport::Fixture("plain.jpg").c_str(), (folder + "\\a.jpg").c_str(), FALSE);
  testsupport::WriteWholeFile(folder + "\\notes.txt", "x");
  {
    CPpcPluginManager manager(plugins.c_str());
    ASSERT_EQ(manager.GetCount(), 1);
    // One file of its kind among others: said, then run; its result is shown.
    std::vector<std::string> texts = DropAndRun({folder + "\\a.jpg", folder + "\\notes.txt"},
                                                [&] { m_pane->RunPpcPlugin(&manager, 0); });
    EXPECT_TRUE(Shown(texts, Text(IDS_EXPORT_SOME_REMOVED, Text(IDS_TB_LABEL_PPC).c_str())));
    std::string selected;
    for (const Got& g : m_main.m_got)
      if (g.message == WM_BROWSER_RELOAD) selected = g.data;
    EXPECT_EQ(selected, "second result");
    // Nothing of its kind: said, and the plug-in is not opened.
    texts = DropAndRun({folder + "\\notes.txt"}, [&] { m_pane->RunPpcPlugin(&manager, 0); });
    EXPECT_EQ(texts.size(), 1u);
    EXPECT_TRUE(m_main.m_got.empty());
    EXPECT_EQ(m_pane->TakePendingFiles(), nullptr);
  }
  testsupport::RemoveTree(folder);
  testsupport::RemoveTree(plugins);
}

// A new collection asks which files first (Cancel: nothing opens), then opens the
// collection dialog over the pane's scenario (no browser here: no pictures, the profile's
// settings); its closing message deletes it.
TEST_F(ToolbarPane, NewCollectionOpensTheDialogAndItsClosingDeletesIt) {
  {
    uikit::DialogDriver cancel([](HWND h) { uikit::Press(h, IDCANCEL); });
    m_pane->SendMessage(WM_COMMAND, ID_TB_SLIDE_NEW_COLLECTION, 0);
    EXPECT_EQ(cancel.Ran(), 1);
  }
  EXPECT_EQ(m_pane->GetSlideCollectDlg(), nullptr);
  {
    uikit::DialogDriver choose([](HWND h) { uikit::Press(h, IDOK); });
    m_pane->SendMessage(WM_COMMAND, ID_TB_SLIDE_NEW_COLLECTION, 0);
    EXPECT_EQ(choose.Ran(), 1);
  }
  CSlideCollectDlg* pDlg = m_pane->GetSlideCollectDlg();
  ASSERT_NE(pDlg, nullptr);
  EXPECT_TRUE(pDlg->IsCreated());
  EXPECT_TRUE(m_pane->IsSlideCollectActive());
  int kind = -1, interval = -1, repeat = -1;
  m_pane->GetScenario().GetShowInfo(&kind, &interval, &repeat, NULL);
  EXPECT_EQ(kind, 1);  // the profile's default effect
  EXPECT_EQ(interval, 3000);
  // A second command shows the same dialog.
  m_pane->SendMessage(WM_COMMAND, ID_TB_NEW_SLIDE_COLLECTION, 0);
  EXPECT_EQ(m_pane->GetSlideCollectDlg(), pDlg);
  m_pane->SendMessage(WM_TOOLBAR_SLIDE_COLLECT, 0, CSlideCollectDlg::kCloseUnsaved);
  EXPECT_EQ(m_pane->GetSlideCollectDlg(), nullptr);
  EXPECT_FALSE(m_pane->IsSlideCollectActive());
}

// The toolbar loads its libraries from the program folder: one of the same name in the
// current folder is never loaded (the writer's settings dialog is not installed here).
TEST_F(ToolbarPane, LibrariesInTheCurrentFolderAreNeverLoaded) {
  const std::string planted = testsupport::NewTempFolder("toolbar-planted");
  const std::string dialog = planted + "\\Core\\DiskScribeSetDlg.dll";
  ::CreateDirectoryA((planted + "\\Core").c_str(), NULL);
  ASSERT_TRUE(::CopyFileA((testsupport::ProgramFolder() + "\\toolbar_dlgprobe.dll").c_str(), dialog.c_str(), FALSE));
  ASSERT_EQ(::GetFileAttributesA(ProgramFolderPath("Core\\DiskScribeSetDlg.dll")), INVALID_FILE_ATTRIBUTES);
  // Held here, a load of that file by the pane would reach this module and count its calls.
  HMODULE held = ::LoadLibraryA(dialog.c_str());
  ASSERT_NE(held, nullptr);
  auto calls = reinterpret_cast<int (*)(int)>(::GetProcAddress(held, "ProbeCalls"));
  ASSERT_NE(calls, nullptr);
  char current[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, current);
  ASSERT_TRUE(::SetCurrentDirectoryA(planted.c_str()));
  m_pane->SendMessage(WM_COMMAND, ID_TB_WRITER_SETTINGS);
  ::SetCurrentDirectoryA(current);
  EXPECT_EQ(calls(0), 0) << "the planted dialog library was initialised";
  EXPECT_EQ(calls(2), 0) << "the planted dialog was shown";
  ::FreeLibrary(held);
  testsupport::RemoveTree(planted);
}

namespace {

// The visible tooltips of this thread.
std::vector<HWND> VisibleTips() {
  std::vector<HWND> tips;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND h, LPARAM l) {
        char cls[64] = "";
        ::GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && ::IsWindowVisible(h))
          reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
      },
      (LPARAM)&tips);
  return tips;
}

}  // namespace

// A button's tip never covers the list the button opens under it, however the mouse came
// to the button, and it shows again on the next visit.
TEST_F(ToolbarPane, ButtonTipsLeaveTheirListsFree) {
  m_main.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  CToolButtonInfo* pInfo = m_pane->FindToolButton(ID_TB_PERSON, TRUE);
  ASSERT_NE(pInfo, nullptr);
  ASSERT_NE(pInfo->pList, nullptr);
  CRect rcButton;
  pInfo->pButton->GetWindowRect(&rcButton);
  auto hover = [&] {
    const CPoint at(rcButton.CenterPoint().x, rcButton.bottom - 3);
    ::SetCursorPos(at.x, at.y);
    CPoint client = at;
    pInfo->pButton->ScreenToClient(&client);
    pInfo->pButton->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    testsupport::PumpPending();
  };
  auto pumpFor = [](DWORD ms) { testsupport::WaitUntil([] { return false; }, ms); };
  hover();
  m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON);
  ASSERT_TRUE(pInfo->pList->IsWindowVisible());
  pumpFor(2000);  // longer than the tip's delay
  CRect rcList;
  pInfo->pList->GetWindowRect(&rcList);
  for (HWND tip : VisibleTips()) {
    CRect rcTip, common;
    ::GetWindowRect(tip, &rcTip);
    EXPECT_FALSE(common.IntersectRect(rcTip, rcList)) << "a tip over the list";
  }
  pInfo->pList->ShowWindow(SW_HIDE);
  ::SetCursorPos(rcButton.right + 200, rcButton.bottom + 300);
  testsupport::PumpPending();
  // The next visit shows the tip again.
  hover();
  EXPECT_TRUE(testsupport::WaitUntil([] { return !VisibleTips().empty(); }, 5000)) << "no tip on the next visit";
}

// The tools menu of the program's menu bar after the pane prepared it: the slide-show
// items follow their button, the conversion plug-ins' item goes without their button and
// stands for each plug-in with it, each time the menu opens.
TEST_F(ToolbarPane, ToolsMenuFollowsTheButtons) {
  CMenu bar;
  ASSERT_TRUE(bar.LoadMenu(IDR_MAINFRAME));
  auto toolsOf = [](CMenu& menu) -> CMenu* {
    for (int i = 0; i < menu.GetMenuItemCount(); ++i)
      if (CMenu* pSub = menu.GetSubMenu(i))
        if (pSub->GetMenuItemID(0) == ID_TOOLS_PLUGIN) return pSub;
    return nullptr;
  };
  CMenu* pTools = toolsOf(bar);
  ASSERT_NE(pTools, nullptr);
  auto greyed = [&](UINT id) { return (pTools->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
  auto present = [&](UINT id) { return pTools->GetMenuState(id, MF_BYCOMMAND) != (UINT)-1; };
  CToolButtonInfo* pSlides = m_pane->FindToolButton(ID_TB_SLIDESHOW, TRUE);
  ASSERT_NE(pSlides, nullptr);
  for (BOOL bEnabled : {FALSE, TRUE}) {
    pSlides->pButton->EnableWindow(bEnabled);
    m_pane->OnInitMenuPopup(pTools, 3, FALSE);
    for (UINT id : {ID_SLIDESHOW_PLAY, ID_SLIDESHOW_NEW, ID_SLIDESHOW_OPEN_SCENARIO})
      EXPECT_EQ(greyed(id), !bEnabled) << id;
  }
  // No conversion plug-in beside the tests: no button, and its item goes.
  EXPECT_EQ(m_pane->FindToolButton(ID_TB_PPC_PLUGIN, TRUE), nullptr);
  EXPECT_FALSE(present(ID_PPC_PLUGIN_FIRST));
  EXPECT_TRUE(present(ID_TOOLS_RENAME));  // Rename.dll is beside the tests
  EXPECT_FALSE(present(ID_TOOLS_EDIT_IMAGE));

  // With the button: an item per plug-in where the first one stood, made again each time.
  CMenu fresh;
  ASSERT_TRUE(fresh.LoadMenu(IDR_MAINFRAME));
  pTools = toolsOf(fresh);
  int place = -1;
  for (int i = 0; i < pTools->GetMenuItemCount(); ++i)
    if (pTools->GetMenuItemID(i) == ID_PPC_PLUGIN_FIRST) place = i;
  ASSERT_GE(place, 0);
  toolbarrules::MenuButtons in;
  in.buttons = {{ID_TB_IMAGE_TOOLS, true}, {ID_TB_PPC_PLUGIN, false}};
  in.toolList = {ID_TB_SCALE,         ID_TB_CONVERT,     ID_TB_RENAME,    ID_TB_DATE_IMPRINT,
                 ID_TB_FIX_SHOT_DATE, ID_TB_GUESS_PLACE, ID_TB_SPLIT_CLIP};
  in.imageEditor = true;
  in.ppcPlugins = {"Five", "Six"};
  in.firstItem = ID_TOOLS_PLUGIN;
  const int count = pTools->GetMenuItemCount();
  for (int round = 0; round < 2; ++round) {
    CFView_Toolbar::ApplyMenuActions(pTools, toolbarrules::MenuActions(in));
    EXPECT_EQ(pTools->GetMenuItemCount(), count + 1) << round;
    for (int i = 0; i < 2; ++i) {
      CString text;
      pTools->GetMenuString(place + i, text, MF_BYPOSITION);
      EXPECT_EQ(pTools->GetMenuItemID(place + i), (UINT)(ID_PPC_PLUGIN_FIRST + i)) << round;
      EXPECT_STREQ(text, i == 0 ? "Five..." : "Six...") << round;
      EXPECT_TRUE(greyed(ID_PPC_PLUGIN_FIRST + i)) << round;
    }
  }
}

// A change of the browser's view (message 1864) shows the collection's music again, which
// may be gone by then; the calendar views close the dialog.
TEST_F(ToolbarPane, ViewChangesRefreshOrCloseTheCollection) {
  const std::string folder = testsupport::NewTempFolder("toolbar-collection");
  const std::string song = folder + "\\song.mp3";
  auto openCollection = [&] {
    uikit::DialogDriver choose([](HWND h) { uikit::Press(h, IDOK); });
    m_pane->SendMessage(WM_COMMAND, ID_TB_SLIDE_NEW_COLLECTION, 0);
    return m_pane->GetSlideCollectDlg();
  };
  for (int calendar : {CGVIEW_MONTH, CGVIEW_DAY}) {
    ASSERT_TRUE(testsupport::WriteWholeFile(song, "ID3"));
    CSlideCollectDlg* pDlg = openCollection();
    ASSERT_NE(pDlg, nullptr);
    ASSERT_EQ(pDlg->AddDroppedFile(song.c_str(), TRUE), 1);
    auto label = [&] {
      char text[MAX_PATH] = "";
      ::GetDlgItemTextA(pDlg->m_hWnd, IDC_SLIDE_COLLECT_AUDIO, text, sizeof text);
      return std::string(text);
    };
    EXPECT_EQ(label(), song);
    m_pane->SendMessage(WM_VIEW_MODE_CHANGED, CGVIEW_MUSIC, (LPARAM)m_main.m_hWnd);
    EXPECT_EQ(label(), song) << "the song is still there";
    ASSERT_TRUE(::DeleteFileA(song.c_str()));
    m_pane->SendMessage(WM_VIEW_MODE_CHANGED, CGVIEW_LARGEICON, (LPARAM)m_main.m_hWnd);
    ASSERT_EQ(m_pane->GetSlideCollectDlg(), pDlg);
    EXPECT_EQ(label(), "");
    std::vector<std::string> audio;
    m_pane->GetScenario().GetAudio(&audio);
    EXPECT_EQ(audio, std::vector<std::string>(1));
    m_pane->SendMessage(WM_VIEW_MODE_CHANGED, calendar, (LPARAM)m_main.m_hWnd);
    EXPECT_EQ(m_pane->GetSlideCollectDlg(), nullptr) << calendar;
  }
  testsupport::RemoveTree(folder);
}

// An opened scenario loses the files that are gone and says which, ten at most, under its
// own heading; the collection dialog opens on what is left.
TEST_F(ToolbarPane, OpenedScenarioDropsAndListsItsMissingFiles) {
  std::string folder = testsupport::NewTempFolder("toolbar-scenario");
  std::string kept = folder + "\\kept.jpg", file = folder + "\\show.snr";
  ASSERT_TRUE(::CopyFileA(testsupport::Fixture("plain.jpg").c_str(), kept.c_str(), FALSE));
  std::vector<SlidePicture> pictures = {{kept, 320, 240}};
  std::vector<std::string> missing;
  for (int n = 1; n <= 11; ++n) {
    std::string gone = folder + "\\gone" + std::to_string(n) + ".jpg";
    pictures.push_back({gone, 320, 240});
    missing.push_back(gone);
  }
  std::vector<std::string> audio = {folder + "\\gone.mp3"};
  missing.push_back(audio[0]);
  {
    CSlideShowScenario saved;
    saved.SetPictures(&pictures);
    saved.SetAudio(&audio);
    saved.SetShowInfo(1, 3000, 1, 1);
    ASSERT_EQ(saved.SaveFile(file.c_str()), 1);
  }
  std::string shown;
  uikit::DialogDriver driver({[&](HWND h) {
                                ::SetDlgItemTextA(h, 0x480 /* edt1 */, file.c_str());
                                ::SetDlgItemTextA(h, 0x47c /* cmb13 */, file.c_str());
                                ::PostMessageA(h, WM_COMMAND, IDOK, 0);
                              },
                              [&](HWND h) {
                                shown = uikit::StaticTexts(h);
                                uikit::Press(h, IDOK);
                              }});
  m_pane->SendMessage(WM_COMMAND, ID_TB_SLIDE_OPEN_SCENARIO, 0);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return driver.Ran() == 2; }, 10000));
  EXPECT_EQ(shown, slideshow::MissingFilesText(Text(IDS_SLIDE_SCENARIO_MISSING), missing));
  EXPECT_EQ(shown.find(missing[10]), std::string::npos);  // past the tenth: "..."
  std::vector<SlidePicture> left;
  std::vector<std::string> audioLeft;
  m_pane->GetScenario().GetPictures(&left);
  m_pane->GetScenario().GetAudio(&audioLeft);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].path, kept);
  EXPECT_TRUE(audioLeft.empty());
  ASSERT_NE(m_pane->GetSlideCollectDlg(), nullptr);
  m_pane->SendMessage(WM_TOOLBAR_SLIDE_COLLECT, 0, CSlideCollectDlg::kCloseUnsaved);
  EXPECT_EQ(m_pane->GetSlideCollectDlg(), nullptr);
  testsupport::RemoveTree(folder);
}

namespace {

// The person list: its items wait while the entry editor is open; other commands ask
// before closing the editor (No keeps it); the editor's own closing deletes it; the
// picker's OK reloads the trees, its Cancel does not.
TEST_F(ToolbarPane, PersonListFollowsTheEntryEditorAndThePicker) {
  const std::string db = testsupport::NewTempFolder("glimora-toolbar-persons");
  ASSERT_EQ(VxDBSetFolder(db.c_str()), S_OK);
  CToolButtonInfo* pInfo = m_pane->FindToolButton(ID_TB_PERSON, TRUE);
  ASSERT_NE(pInfo, nullptr);
  ASSERT_NE(pInfo->pList, nullptr);
  auto states = [&] {
    std::vector<int> v;
    for (int id : {ID_TB_PERSON_EDITOR, ID_TB_PERSON_CLASSIFY, ID_TB_PERSON_PICKER})
      v.push_back(pInfo->pList->IsItemEnabled(id));
    return v;
  };
  m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON, 0);
  EXPECT_EQ(states(), (std::vector<int>{1, 1, 1}));
  EXPECT_TRUE(pInfo->pList->IsWindowVisible());

  m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON_EDITOR, 0);
  ASSERT_NE(m_pane->GetEntryEditor(), nullptr);
  EXPECT_TRUE(m_pane->IsEntryEditorActive());
  m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON, 0);
  EXPECT_EQ(states(), (std::vector<int>{2, 2, 2}));
  {
    dialogtest::Boxes boxes({IDNO});
    EXPECT_FALSE(m_pane->CloseEntryEditor());
    EXPECT_EQ(boxes.Ran(), 1);
    EXPECT_NE(m_pane->GetEntryEditor(), nullptr);
  }
  {
    dialogtest::Boxes boxes({IDYES});
    EXPECT_TRUE(m_pane->CloseEntryEditor());
    EXPECT_EQ(boxes.Ran(), 1);
    EXPECT_EQ(m_pane->GetEntryEditor(), nullptr);
  }
  testsupport::PumpPending();  // the closed editor's notice changes nothing now
  m_pane->SendMessage(WM_COMMAND, ID_TB_ENTRY_EDITOR, 0);
  ASSERT_NE(m_pane->GetEntryEditor(), nullptr);
  m_pane->GetEntryEditor()->SendMessage(WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return m_pane->GetEntryEditor() == nullptr; }));
  m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON, 0);
  EXPECT_EQ(states(), (std::vector<int>{1, 1, 1}));

  m_main.m_got.clear();
  {
    uikit::DialogDriver cancel([](HWND h) { uikit::Press(h, IDC_PICKER_CANCEL); });
    m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON_PICKER, 0);
    EXPECT_EQ(cancel.Ran(), 1);
  }
  EXPECT_TRUE(m_main.m_got.empty());
  {
    // No pictures ticked, the first name entry: OK asks nothing and files nothing.
    uikit::DialogDriver ok([](HWND h) { ::SendMessageA(h, WM_COMMAND, IDC_PICKER_OK, 0); });
    m_pane->SendMessage(WM_COMMAND, ID_TB_IMAGE_PICKER, 0);
    EXPECT_EQ(ok.Ran(), 1);
  }
  ASSERT_EQ(m_main.m_got.size(), 1u);
  EXPECT_EQ(m_main.m_got[0].message, (UINT)WM_REFRESH_FOLDERS);
  EXPECT_EQ(m_main.m_got[0].lParam, 1);
  // Message 27899 ends the running picker with its result.
  {
    uikit::DialogDriver end([&](HWND) { m_pane->SendMessage(WM_TOOLBAR_CLOSE_PICKER, IDOK, 0); });
    m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON_PICKER, 0);
    EXPECT_EQ(end.Ran(), 1);
  }
  EXPECT_EQ(m_main.m_got.size(), 2u);

  // An editor that closed itself is replaced even before its notice came.
  m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON_EDITOR, 0);
  ASSERT_NE(m_pane->GetEntryEditor(), nullptr);
  CEntryEditDlg* pFirst = m_pane->GetEntryEditor();
  pFirst->SendMessage(WM_COMMAND, IDCANCEL, 0);
  m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON_EDITOR, 0);
  ASSERT_NE(m_pane->GetEntryEditor(), nullptr);
  EXPECT_TRUE(m_pane->GetEntryEditor()->IsShown());
  testsupport::PumpPending();  // the first one's notice leaves the new editor open
  ASSERT_NE(m_pane->GetEntryEditor(), nullptr);
  EXPECT_TRUE(m_pane->IsEntryEditorActive());
  {
    dialogtest::Boxes boxes({IDYES});
    EXPECT_TRUE(m_pane->CloseEntryEditor());
  }
  VxDBClose(-1);
  VxDBSetFolder(NULL);
  testsupport::RemoveTree(db);
}

}  // namespace

namespace {

// The face classification: Cancel in the target choice does nothing; otherwise the count
// is told (no browser here: nothing classified) and the persons' group shown: the folder
// change, the classification's own text (no tree knows the group) and the reload.
TEST_F(ToolbarPane, FaceClassificationShowsThePersonsAfterItsCount) {
  const std::string db = testsupport::NewTempFolder("glimora-toolbar-classify");
  ASSERT_EQ(VxDBSetFolder(db.c_str()), S_OK);
  CMWriteProfileString("ImportPlugin\\Category", "Display", "Groups");
  {
    uikit::DialogDriver cancel([](HWND h) { uikit::Press(h, IDCANCEL); });
    m_pane->SendMessage(WM_COMMAND, ID_TB_PERSON_CLASSIFY, 0);
    EXPECT_EQ(cancel.Ran(), 1);
  }
  EXPECT_TRUE(m_main.m_got.empty());

  std::string told;
  {
    uikit::DialogDriver run({[](HWND h) { uikit::Press(h, IDOK); },
                             [&told](HWND h) {
                               told = uikit::StaticTexts(h);
                               uikit::Press(h, IDOK);
                             }});
    m_pane->SendMessage(WM_COMMAND, ID_TB_FACE_CLASSIFY, 0);
    EXPECT_EQ(run.Ran(), 2);
  }
  CString count;
  count.Format(LoadResourceText(IDS_CLASSIFY_COUNT), 0);
  EXPECT_NE(told.find((LPCSTR)count), std::string::npos) << told;
  ASSERT_EQ(m_main.m_got.size(), 3u);
  EXPECT_EQ(m_main.m_got[0].message, (UINT)WM_COPYDATA);
  EXPECT_EQ(m_main.m_got[0].lParam, CDID_CHANGE_FOLDER);
  EXPECT_EQ(std::string(m_main.m_got[0].data.c_str()), "|Groups|1|");
  EXPECT_EQ(std::string(m_main.m_got[1].data.c_str()), "1|Groups");
  EXPECT_EQ(m_main.m_got[2].message, (UINT)WM_REFRESH_FOLDERS);
  EXPECT_EQ(m_main.m_got[2].lParam, 1);
  VxDBClose(-1);
  VxDBSetFolder(NULL);
  testsupport::RemoveTree(db);
}

}  // namespace
