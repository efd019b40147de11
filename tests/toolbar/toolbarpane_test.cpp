// The toolbar pane in a main window of the test's own that keeps what it is sent: the
// buttons of the program folder and their places, message 1925, the file-list request,
// the refresh, what follows a tool, and the item lists.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>
#include <Widgetkit.h>

#include <profileroot.h>
#include <dialogwatch.h>
#include <filedrop.h>
#include <program.h>
#include <files.h>
#include <pump.h>
#include <tempfolder.h>

#include <string>
#include <vector>

#include "FView_Toolbar.h"
#include "LauncherListWnd.h"
#include "ToolButtonDropTarget.h"
#include "ToolItemListWnd.h"

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
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
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
    m_main.Make({WM_BROWSER_MUSIC_STOP, WM_REFRESH_FOLDERS, WM_BROWSER_RELOAD, WM_BROWSER_EXPORT_REQUEST, WM_COPYDATA});
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
  // Not installed here: the editor, the rotation library, the place page.
  EXPECT_EQ(m_pane->FindToolButton(ID_TB_EDIT_IMAGE, TRUE), nullptr);
  EXPECT_EQ(m_pane->FindToolButton(ID_TB_ROTATE, TRUE), nullptr);
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
    if (c.folderChange) EXPECT_EQ(m_main.m_got[1].data.c_str(), std::string("0|Explorer|1|C:\\out\\||"));
    const Got& reload = m_main.m_got.back();
    EXPECT_EQ(reload.data, c.block) << c.firstPath;
    if (!c.block.empty()) EXPECT_EQ(reload.lParam, MAX_PATH);
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
  } cases[] = {
      {"post write " + folder + "\\clip_1.mts write " + folder + "\\clip_1.txt", folder + "\\clip_1.mts"},
      // It asks the main window something while it runs: answered, no deadlock.
      {"post send", ""},
      {"post sleep 200 die", ""},
      // Never says it is up: the notice ends by the process's end.
      {"sleep 100", ""},
  };
  for (auto& c : cases) {
    m_main.m_got.clear();
    CMWriteProfileString("DepthViewer", "SelectFilePath", "");
    DWORD t0 = ::GetTickCount();
    EXPECT_TRUE(m_pane->StartToolAndWait("toolbar_toolprobe.exe", ("-w " + window + " " + c.actions).c_str(),
                                         source.c_str()))
        << c.actions;
    EXPECT_LT(::GetTickCount() - t0, 15000u) << c.actions;
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
  }
  // Not there: the box, no start, the main window untouched.
  testsupport::DialogWatch watch(nullptr, [](HWND) { return true; },
                                 [](HWND box) { ::PostMessageA(box, WM_COMMAND, IDOK, 0); });
  EXPECT_FALSE(m_pane->StartToolAndWait("Core\\NoSuchProgram.exe", "", NULL));
  EXPECT_TRUE(watch.Acted());
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
