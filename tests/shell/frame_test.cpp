// The main frame in this process, built by the document template as the program builds
// it: the pane tree, start-up completion, the status bar's messages, the relay to the
// browser window, folds by command and for the calendar, the strip's row, menus, and the
// placement and sizes it keeps in the profile.
#include <gtest/gtest.h>

#include <BrowserBaseView.h>
#include <BrowserSubView.h>
#include <CalendarMonthView.h>
#include <DynamicSplitterWnd.h>
#include <EnlargedImageView.h>
#include <IconView.h>
#include <Kitlib2/Kitlib2.h>
#include <VxDocument.h>
#include <VxGUITrans.h>
#include <VxResourceIds.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <memory>
#include <vector>
#include <thread>

#include <TickCache.h>
#include <dbt.h>

#include "BrowserContextMenu.h"
#include "FView_Export.h"
#include "FView_Folder.h"
#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MainFrameRules.h"
#include "PluginTreeCtrl.h"
#include "ToolbarRules.h"
#include "TreePluginManager.h"
#include "ui/ResourceDialog.h"
#include "MainWndMessages.h"
#include "ProgressMessageDlg.h"
#include "Marlo2View.h"
#include "shelltest.h"
#include "uikit.h"
#include <TickCache.h>
#include <VxBDDisc.h>
#include <card.h>
#include <dialogwatch.h>
#include <files.h>
#include <otherwindows.h>
#include <pump.h>
#include <tempfolder.h>

namespace {

// Messages the browser window got, recorded by subclassing it.
std::vector<std::pair<UINT, LPARAM>> g_browserGot;
WNDPROC g_browserProc = NULL;
// Only the relayed ones: the browser's controller also sends its window messages of its own.
LRESULT CALLBACK RecordBrowser(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT kRelayed[] = {WM_BROWSER_SORT, WM_BROWSER_MASK, WM_BROWSER_RELOAD, WM_BROWSER_THUMB_SIZE, 1600};
  if (std::find(std::begin(kRelayed), std::end(kRelayed), message) != std::end(kRelayed))
    g_browserGot.push_back({message, lParam});
  return ::CallWindowProcA(g_browserProc, hWnd, message, wParam, lParam);
}

// The frames of these tests never take the activation: other tests running meanwhile
// keep their foreground windows, menus and drags.
LRESULT CALLBACK NoActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) return 1;
  return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// The frame's card watcher opens the card import when it finds the prefix's card; the
// import is a modal dialog of its own, which this closes with Close whenever it shows.
class ImportCloser {
 public:
  ImportCloser() : m_thread([this] { Run(); }) {}
  ~ImportCloser() {
    m_stop = true;
    m_thread.join();
  }

 private:
  void Run() {
    while (!m_stop) {
      for (HWND box : testsupport::WindowsOf(::GetCurrentProcessId(), "#32770"))
        if (::GetDlgItem(box, IDC_IMPORT_LIST)) ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      ::Sleep(50);
    }
  }
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

class FrameTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_pImportCloser = new ImportCloser;
    s_hNoActivation = ::SetWindowsHookExA(WH_CBT, &NoActivation, NULL, ::GetCurrentThreadId());
    s_pRoot = new shelltest::ProfileRoot;
    s_strDb = testsupport::NewTempFolder("glimora-frame-db");
    ::SetEnvironmentVariableA("GLIMORA_DB_DIR", s_strDb.c_str());
    s_hOldResource = AfxGetResourceHandle();
    AfxSetResourceHandle(shelltest::ResourceDll());
    s_pTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVxDocument), RUNTIME_CLASS(CMainFrame),
                                         RUNTIME_CLASS(CMarlo2View));
    AfxGetApp()->AddDocTemplate(s_pTemplate);
  }
  static void TearDownTestSuite() {
    delete s_pImportCloser;
    s_pImportCloser = nullptr;
    if (s_hNoActivation) ::UnhookWindowsHookEx(s_hNoActivation);
    AfxSetResourceHandle(s_hOldResource);
    ::SetEnvironmentVariableA("GLIMORA_DB_DIR", NULL);
    testsupport::RemoveTree(s_strDb);
    delete s_pRoot;
  }

  // A frame as the program makes it, once every pane has reported ready.
  static CMainFrame* OpenFrame() {
    AfxGetApp()->m_pMainWnd = NULL;
    // The mode texts are keyed by the view code the browser keeps here.
    CMWriteProfileInt("DepthViewer", "Mode", 1);
    if (!s_pTemplate->OpenDocumentFile(NULL)) return NULL;
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetApp()->m_pMainWnd);
    if (!pFrame) return NULL;
    pFrame->GetWindowRect(&s_rcCreated);
    // Shown, but off the screen: other tests read the screen's pixels meanwhile.
    pFrame->ShowWindow(SW_SHOWNORMAL);
    pFrame->SetWindowPos(NULL, ::GetSystemMetrics(SM_CXSCREEN) + 100, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    testsupport::WaitUntil([pFrame] { return pFrame->IsStartupDone(); }, 10000);
    return pFrame;
  }
  static void CloseFrame(CMainFrame* pFrame) {
    HWND hWnd = pFrame->m_hWnd;
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    testsupport::WaitUntil([hWnd] { return !::IsWindow(hWnd); }, 5000);
    testsupport::DropQuit();
  }

  void SetUp() override {
    m_pFrame = OpenFrame();
    ASSERT_NE(m_pFrame, nullptr);
    ASSERT_TRUE(m_pFrame->IsStartupDone());
  }
  void TearDown() override {
    if (m_pFrame && ::IsWindow(m_pFrame->m_hWnd)) CloseFrame(m_pFrame);
  }
  // The browser's icon view on a folder once it lists that many pictures, else null.
  CIconView* ShowFolder(const std::string& folder, int nCount) {
    CIconView* pIcons = dynamic_cast<CIconView*>(m_pFrame->GetBrowserWindow());
    if (!pIcons) return nullptr;
    std::string text = "0|Explorer|1|" + folder + "\\||";
    COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)text.size() + 1, (void*)text.c_str()};
    pIcons->SendMessage(WM_COPYDATA, (WPARAM)m_pFrame->m_hWnd, (LPARAM)&cds);
    return testsupport::WaitUntil([&] { return pIcons->GetItemCount() == nCount; }, 10000) ? pIcons : nullptr;
  }

  static shelltest::ProfileRoot* s_pRoot;
  static std::string s_strDb;
  static HINSTANCE s_hOldResource;
  static CSingleDocTemplate* s_pTemplate;
  static CRect s_rcCreated;  // where the last frame was made
  static HHOOK s_hNoActivation;
  static ImportCloser* s_pImportCloser;
  CMainFrame* m_pFrame = nullptr;
};
CRect FrameTest::s_rcCreated;
HHOOK FrameTest::s_hNoActivation = NULL;
ImportCloser* FrameTest::s_pImportCloser = nullptr;
shelltest::ProfileRoot* FrameTest::s_pRoot = nullptr;
std::string FrameTest::s_strDb;
HINSTANCE FrameTest::s_hOldResource = NULL;
CSingleDocTemplate* FrameTest::s_pTemplate = nullptr;

int ColumnWidth(CSplitterWnd& splitter, int col) {
  int nCur, nMin;
  splitter.GetColumnInfo(col, nCur, nMin);
  return nCur;
}

TEST_F(FrameTest, BuildsTheWholePaneTree) {
  int nCur, nMin;
  m_pFrame->GetRowSplitter().GetRowInfo(0, nCur, nMin);
  EXPECT_EQ(nCur, 75);
  EXPECT_NE(m_pFrame->GetToolbarPane(), nullptr);
  EXPECT_NE(m_pFrame->GetFolderPane(), nullptr);
  EXPECT_NE(m_pFrame->GetExportPane(), nullptr);
  EXPECT_NE(dynamic_cast<CIconView*>(m_pFrame->GetBrowserWindow()), nullptr);
  EXPECT_NE(m_pFrame->GetSubView(), nullptr);
  EXPECT_EQ(ColumnWidth(m_pFrame->GetFolderSplitter(), 0), 175);
  EXPECT_GT(ColumnWidth(m_pFrame->GetExportSplitter(), 1), 0);
  // The strip over the base view, the icon view alone in the view splitter.
  EXPECT_EQ(m_pFrame->GetBrowserSplitter()->GetRowCount(), 2);
  m_pFrame->GetBrowserSplitter()->GetRowInfo(0, nCur, nMin);
  EXPECT_EQ(nCur, 36);
  EXPECT_EQ(m_pFrame->GetViewSplitter()->GetColumnCount(), 1);
  // The manager knows the panes by their indexes.
  CExternalToolManager& manager = m_pFrame->GetExternalToolManager();
  EXPECT_EQ(manager.GetToolWindow(TOOL_BROWSER), m_pFrame->GetBrowserWindow()->m_hWnd);
  EXPECT_EQ(manager.GetToolWindow(TOOL_FOLDER_PANE), m_pFrame->GetFolderPane()->m_hWnd);
  EXPECT_EQ(manager.GetToolWindow(TOOL_EXPORT_PANE), m_pFrame->GetExportPane()->m_hWnd);
  EXPECT_EQ(manager.GetToolWindow(TOOL_TOOLBAR_PANE), m_pFrame->GetToolbarPane()->m_hWnd);
  // Start-up took the panes' flags back and opened the help entry.
  EXPECT_EQ(CMGetProfileInt("ExeState", "VxFolder_Created", -1), 0);
  EXPECT_EQ(CMGetProfileInt("ExeState", "VxDepthViewer_Created", -1), 0);
  EXPECT_EQ(CMGetProfileInt("ExeState", "VxExport_Created", -1), 0);
  EXPECT_EQ(CMGetProfileInt("ExeState0007", "Enable", 0), 1);
}

TEST_F(FrameTest, ScreenshotShowsTheWholePaneTree) {
  m_pFrame->ShowWindow(SW_SHOWNORMAL);
  m_pFrame->SetWindowPos(&CWnd::wndTop, 0, 0, 1100, 800, SWP_SHOWWINDOW);
  testsupport::WaitUntil([] { return false; }, 300);  // let it paint
  uikit::Picture picture(m_pFrame->m_hWnd);
  EXPECT_FALSE(picture.Save("marlo5-main").empty());
  // Points of the client area, as picture coordinates.
  CRect rcWindow, rcClient;
  m_pFrame->GetWindowRect(&rcWindow);
  m_pFrame->GetClientRect(&rcClient);
  CPoint origin(0, 0);
  m_pFrame->ClientToScreen(&origin);
  auto at = [&](int x, int y) { return picture.At(origin.x - rcWindow.left + x, origin.y - rcWindow.top + y); };
  // The toolbar row shows its background art, the middle piece stretched across.
  CBitmap middle;
  ASSERT_TRUE(middle.LoadBitmap(IDB_TB_BACK_MIDDLE));
  CDC mem;
  mem.CreateCompatibleDC(NULL);
  CBitmap* pOld = mem.SelectObject(&middle);
  CRect rcRow;
  m_pFrame->GetToolbarPane()->GetWindowRect(&rcRow);
  m_pFrame->ScreenToClient(&rcRow);
  COLORREF rowArt = mem.GetPixel(0, 30 - rcRow.top);
  mem.SelectObject(pOld);
  // Just before the right-aligned group: the gap whatever tools are installed.
  CRect rcDisc;
  CWnd* pDisc = m_pFrame->GetToolbarPane()->GetDlgItem(ID_TB_DISC_DRIVES);
  ASSERT_NE(pDisc, nullptr);
  pDisc->GetWindowRect(&rcDisc);
  m_pFrame->ScreenToClient(&rcDisc);
  EXPECT_EQ(at(rcDisc.left - 12, 30), rowArt);                                  // toolbar row
  EXPECT_EQ(at(60, 300), RGB(59, 79, 92));                                      // folder pane
  EXPECT_EQ(at(rcClient.Width() / 2, rcClient.Height() / 2), RGB(122, 142, 156));  // icon view
  EXPECT_EQ(at(rcClient.Width() - 30, 300), RGB(10, 58, 82));                  // export pane
  CRect rcStatus;
  m_pFrame->GetStatusBar().GetWindowRect(&rcStatus);
  EXPECT_EQ(rcStatus.bottom, rcWindow.top + origin.y - rcWindow.top + rcClient.bottom);
}

TEST_F(FrameTest, StatusBarShowsModeCountsAndProgress) {
  CMainStatusBar& bar = m_pFrame->GetStatusBar();
  ASSERT_EQ(bar.GetCount(), 4);
  // The disk tree opens its first folder at start, whose counts and finished loading may
  // already stand in the bar: start again from the mode text and no progress.
  m_pFrame->SetModeStatusText();
  bar.SendMessage(WM_STATUS_PROGRESS, 0, 0);
  CString strMode;
  strMode.LoadString(IDS_SHELL_MODE_THUMBNAILS);
  EXPECT_STREQ(bar.GetPaneText(2), strMode);
  EXPECT_EQ(bar.GetProgress(), 0);

  EXPECT_EQ(bar.SendMessage(WM_STATUS_PROGRESS, 0, 150), 1);
  EXPECT_EQ(bar.GetProgress(), 100);
  EXPECT_EQ(bar.SendMessage(WM_STATUS_PROGRESS, 0, 100), 0);  // unchanged: nothing to redraw
  m_pFrame->SendMessage(WM_STATUS_FILE_COUNT, 0, 37);         // through the frame
  EXPECT_EQ(bar.GetProgress(), 100);                          // the count does not end the progress
  m_pFrame->SendMessage(WM_STATUS_PROGRESS, 0, -5);
  EXPECT_EQ(bar.GetProgress(), -1);
  CString strCount;
  strCount.Format(IDS_STATUS_FILE_COUNT, 37);
  EXPECT_STREQ(bar.GetFileCountText(), strCount);

  EXPECT_EQ(CMTLSendOwnMessage(bar.m_hWnd, WM_STATUS_PANE_TEXT, 99, (LPARAM) "x"), 0);  // no such pane
  EXPECT_EQ(CMTLSendOwnMessage(bar.m_hWnd, WM_STATUS_PANE_TEXT, 1, (LPARAM) "マーク 3"), 1);
  EXPECT_STREQ(bar.GetPaneText(1), "マーク 3");
  // A text that no sender of this process marked is not read.
  EXPECT_EQ(bar.SendMessage(WM_STATUS_PANE_TEXT, 1, (LPARAM) "other"), 0);
  EXPECT_STREQ(bar.GetPaneText(1), "マーク 3");
  // Selection and mark counts come from the document (nothing selected or marked here).
  m_pFrame->SendMessage(WM_STATUS_SELECT_COUNT);
  CString strSelect;
  strSelect.Format(IDS_STATUS_SELECT_COUNT, 0);
  EXPECT_STREQ(bar.GetSelectText(), strSelect);
}

TEST_F(FrameTest, RelayedBrowserMessagesReachTheBrowserWindow) {
  HWND hBrowser = m_pFrame->GetBrowserWindow()->m_hWnd;
  g_browserGot.clear();
  g_browserProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hBrowser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordBrowser)));
  HWND hStrip = m_pFrame->GetSubView()->m_hWnd;
  struct {
    UINT message;
    LPARAM lParam;
  } kSent[] = {{WM_BROWSER_SORT, 15}, {WM_BROWSER_MASK, 3}, {WM_BROWSER_RELOAD, 0}, {WM_BROWSER_THUMB_SIZE, 2},
               {1600, 9}};
  for (const auto& s : kSent) m_pFrame->SendMessage(s.message, (WPARAM)hStrip, s.lParam);
  ::SetWindowLongPtrA(hBrowser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_browserProc));
  ASSERT_EQ(g_browserGot.size(), sizeof(kSent) / sizeof(kSent[0]));
  for (size_t i = 0; i < g_browserGot.size(); ++i) {
    EXPECT_EQ(g_browserGot[i].first, kSent[i].message);
    EXPECT_EQ(g_browserGot[i].second, kSent[i].lParam);
  }
}

TEST_F(FrameTest, FrameAnswersItsOwnMessagesAndIgnoresForeignRecords) {
  EXPECT_EQ((HRESULT)m_pFrame->SendMessage(WM_FOLDER_TYPE_QUERY, 0, 0), E_FAIL);  // the folder pane has no tree
  // A relay record is only ever one of the frame's own.
  EXPECT_EQ(m_pFrame->SendMessage(WM_RELAYED_MESSAGE, 0xDEADBEEF, 0), 0);
  // The export pane's text is kept; the same code from elsewhere is relayed instead.
  char text[] = "export text";
  COPYDATASTRUCT cds = {CDID_EXPORT_TEXT, sizeof(text), text};
  m_pFrame->SendMessage(WM_COPYDATA, (WPARAM)m_pFrame->GetExportPane()->m_hWnd, (LPARAM)&cds);
  EXPECT_STREQ(m_pFrame->m_strExportText, "export text");
  char other[] = "not it";
  COPYDATASTRUCT cds2 = {CDID_EXPORT_TEXT, sizeof(other), other};
  m_pFrame->SendMessage(WM_COPYDATA, (WPARAM)m_pFrame->GetFolderPane()->m_hWnd, (LPARAM)&cds2);
  EXPECT_STREQ(m_pFrame->m_strExportText, "export text");
  // A window reported with an index outside the list changes nothing.
  EXPECT_EQ((HRESULT)m_pFrame->SendMessage(WM_CHILD_WINDOW_CREATED, (WPARAM)m_pFrame->m_hWnd, 40), E_FAIL);
  EXPECT_EQ(m_pFrame->SendMessage(WM_CHILD_WINDOW_CREATED, 0x1234, 4), 1);
  // Answers are written only through the pointers of this process's own sends.
  BOOL bActive = TRUE;
  CMTLSendOwnMessage(m_pFrame->m_hWnd, WM_QUERY_SLIDE_COLLECT, (WPARAM)&bActive, 0);
  EXPECT_FALSE(bActive);
  bActive = TRUE;
  m_pFrame->SendMessage(WM_QUERY_SLIDE_COLLECT, (WPARAM)&bActive);
  EXPECT_TRUE(bActive);
  m_pFrame->PostMessage(WM_QUERY_ENTRY_EDITOR, 0x10);
  uikit::PumpPending();
}

TEST_F(FrameTest, FoldCommandsAndTheCalendarFold) {
  CMainSplitterWnd& folder = m_pFrame->GetFolderSplitter();
  int nFolder = ColumnWidth(folder, 0);
  ASSERT_GT(nFolder, 0);
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_FOLDER_PANE);
  EXPECT_EQ(ColumnWidth(folder, 0), 0);
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_FOLDER_PANE);
  EXPECT_EQ(ColumnWidth(folder, 0), nFolder);
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_EXPORT_PANE);
  EXPECT_EQ(ColumnWidth(m_pFrame->GetExportSplitter(), 1), 0);
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_EXPORT_PANE);
  EXPECT_GT(ColumnWidth(m_pFrame->GetExportSplitter(), 1), 0);
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR_PANE);
  int nCur, nMin;
  m_pFrame->GetRowSplitter().GetRowInfo(0, nCur, nMin);
  EXPECT_EQ(nCur, 0);
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR_PANE);
  m_pFrame->GetRowSplitter().GetRowInfo(0, nCur, nMin);
  EXPECT_EQ(nCur, 75);
  EXPECT_EQ(m_pFrame->GetRowSplitter().ToggleCollapse(), -1);  // the row splitter has no button

  // A calendar view folds the folder column and fixes the bar until another view comes.
  m_pFrame->SendMessage(WM_CALENDAR_FOLD, ID_VIEWMODE_MONTH);
  EXPECT_EQ(ColumnWidth(folder, 0), 0);
  EXPECT_TRUE(folder.IsFixed());
  EXPECT_TRUE(m_pFrame->m_bCalendarFold);
  m_pFrame->SendMessage(WM_CALENDAR_FOLD, ID_VIEWMODE_ZOOM);
  m_pFrame->SendMessage(WM_CALENDAR_FOLD, ID_VIEWMODE_DAY);
  EXPECT_EQ(ColumnWidth(folder, 0), 0);
  m_pFrame->SendMessage(WM_CALENDAR_FOLD, ID_VIEWMODE_LARGE_ICONS);
  EXPECT_EQ(ColumnWidth(folder, 0), nFolder);
  EXPECT_FALSE(folder.IsFixed());
  EXPECT_FALSE(m_pFrame->m_bCalendarFold);
}

TEST_F(FrameTest, ButtonClickFoldsAndAFixedSplitterNeverSplits) {
  CMainSplitterWnd& folder = m_pFrame->GetFolderSplitter();
  int nFolder = ColumnWidth(folder, 0);
  // A press and a release on the button without a move in between: a click.
  auto click = [&folder] {
    CRect rcZone;
    folder.GetBarButtonZone(&rcZone);
    LPARAM lPoint = MAKELPARAM(rcZone.CenterPoint().x, rcZone.CenterPoint().y);
    folder.SendMessage(WM_MOUSEMOVE, 0, lPoint);
    folder.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
    folder.SendMessage(WM_LBUTTONUP, 0, lPoint);
  };
  click();
  EXPECT_EQ(ColumnWidth(folder, 0), 0);
  click();
  EXPECT_EQ(ColumnWidth(folder, 0), nFolder);
  // The export splitter is fixed: keyboard splitting does nothing.
  EXPECT_TRUE(m_pFrame->GetExportSplitter().DoKeyboardSplit());
  EXPECT_FALSE(m_pFrame->GetExportSplitter().IsTracking());
}

// At the least window size both lists of the strip over the browser lie inside it.
TEST_F(FrameTest, StripListsFitAtTheLeastWindowSize) {
  m_pFrame->SetWindowPos(NULL, 0, 0, 1024, 768, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  testsupport::PumpPending();
  CBrowserSubView* pStrip = m_pFrame->GetSubView();
  ASSERT_NE(pStrip, nullptr);
  CRect rcStrip;
  pStrip->GetClientRect(&rcStrip);
  ASSERT_GT(rcStrip.Width(), 0);
  for (UINT nID : {IDC_SUBVIEW_SORT, IDC_SUBVIEW_FILTER}) {
    CWnd* pCombo = pStrip->GetCombo(nID);
    ASSERT_NE(pCombo, nullptr);
    EXPECT_TRUE(pCombo->IsWindowVisible()) << nID;
    CRect rc;
    pCombo->GetWindowRect(&rc);
    pStrip->ScreenToClient(&rc);
    EXPECT_GE(rc.left, 0) << nID;
    EXPECT_LE(rc.right, rcStrip.right) << nID << ": the strip is " << rcStrip.Width() << " wide";
  }
}

TEST_F(FrameTest, MusicListHidesTheStripsRowAndOtherModesBringItBack) {
  CDynamicSplitterWnd* pBrowser = m_pFrame->GetBrowserSplitter();
  m_pFrame->SendMessage(WM_VIEW_MODE_CHANGED, 12);
  EXPECT_EQ(pBrowser->GetRowCount(), 1);
  m_pFrame->SendMessage(WM_VIEW_MODE_CHANGED, 14);
  EXPECT_EQ(pBrowser->GetRowCount(), 1);
  m_pFrame->SendMessage(WM_VIEW_MODE_CHANGED, 2);
  EXPECT_EQ(pBrowser->GetRowCount(), 2);
  int nCur, nMin;
  pBrowser->GetRowInfo(0, nCur, nMin);
  EXPECT_EQ(nCur, 36);
}

TEST_F(FrameTest, MenusFollowTheBrowsersStateAndTheInstalledLibraries) {
  CMenu* pMenu = m_pFrame->GetMenu();
  ASSERT_NE(pMenu, nullptr);
  CMenu* pView = pMenu->GetSubMenu(2);
  CMenu* pTools = pMenu->GetSubMenu(3);
  m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pView->m_hMenu, MAKELPARAM(2, FALSE));
  m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pTools->m_hMenu, MAKELPARAM(3, FALSE));
  m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);

  // A plain folder: no similarity sort, no audio filter or sorts; the picture sorts stay.
  EXPECT_EQ(pView->GetMenuState(ID_SORT_SIMILARITY, MF_BYCOMMAND), (UINT)-1);
  EXPECT_EQ(pView->GetMenuState(ID_FILTER_AUDIO_ALL, MF_BYCOMMAND), (UINT)-1);
  EXPECT_EQ(pView->GetMenuState(ID_SORT_AUDIO_TITLE_ASC, MF_BYCOMMAND), (UINT)-1);
  EXPECT_EQ(pView->GetMenuState(ID_SORT_VOICE_NUMBER, MF_BYCOMMAND), (UINT)-1);
  EXPECT_NE(pView->GetMenuState(ID_SORT_NAME_ASC, MF_BYCOMMAND), (UINT)-1);
  EXPECT_NE(pView->GetMenuState(ID_FILTER_MOVIES, MF_BYCOMMAND), (UINT)-1);
  EXPECT_TRUE(pView->GetMenuState(ID_VIEW_FOLDER_PANE, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(pView->GetMenuState(ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);

  // Without the search library its item, its entry and the separator after go; without
  // the similar-image search its three items.
  EXPECT_EQ(pTools->GetMenuState(ID_TOOLS_DB_SEARCH, MF_BYCOMMAND), (UINT)-1);
  EXPECT_EQ(pTools->GetMenuState(ID_SIMILAR_SEARCH, MF_BYCOMMAND), (UINT)-1);
  for (int i = 1; i < pTools->GetMenuItemCount(); ++i) {
    BOOL bSep = pTools->GetMenuState(i, MF_BYPOSITION) & MF_SEPARATOR;
    BOOL bPrevSep = pTools->GetMenuState(i - 1, MF_BYPOSITION) & MF_SEPARATOR;
    EXPECT_FALSE(bSep && bPrevSep) << "two separators at " << i;
  }
  // Every item of the tools popup has an access key.
  for (int i = 0; i < pTools->GetMenuItemCount(); ++i) {
    if (pTools->GetMenuState(i, MF_BYPOSITION) & MF_SEPARATOR) continue;
    CString strText;
    pTools->GetMenuString(i, strText, MF_BYPOSITION);
    EXPECT_GE(strText.Find('&'), 0) << (LPCSTR)strText;
  }
}

TEST_F(FrameTest, PromptsOfPopupsAndItems) {
  CString strPrompt;
  m_pFrame->GetMessageString(AFX_IDS_IDLEMESSAGE, strPrompt);
  CString strIdle;
  strIdle.LoadString(AFX_IDS_IDLEMESSAGE);
  EXPECT_STREQ(strPrompt, strIdle);
  // The first export entry is the upload plug-in (the one ".peu" installed): its tooltip.
  m_pFrame->GetMessageString(ID_EXPORT_FIRST, strPrompt);
  CString strUpload;
  strUpload.LoadString(IDS_UPLOAD_DESCRIPTION);
  EXPECT_STREQ(strPrompt, strUpload);
  // The disk tree's context menu is tracked for this frame: each item's prompt is its own
  // (the short form after "\n" names the item), not a message of the browser that shares
  // its number.
  HMENU hTreeMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_DISKTREE_CONTEXT_MENU));
  ASSERT_TRUE(hTreeMenu);
  HMENU hItems = ::GetSubMenu(hTreeMenu, 0);
  for (int i = 0; hItems && i < ::GetMenuItemCount(hItems); ++i) {
    UINT nID = ::GetMenuItemID(hItems, i);
    if (nID == 0 || nID == (UINT)-1) continue;  // separators
    char szItem[256] = "";
    ::GetMenuStringA(hItems, i, szItem, sizeof szItem, MF_BYPOSITION);
    CString strLabel(szItem);
    int nAccel = strLabel.Find("(&");
    if (nAccel >= 0) strLabel = strLabel.Left(nAccel);
    m_pFrame->GetMessageString(nID, strPrompt);
    EXPECT_FALSE(strPrompt.IsEmpty()) << nID;
    CString strFull, strShort;
    strFull.LoadString(menurules::PromptOf(nID));
    AfxExtractSubString(strShort, strFull, 1);
    EXPECT_STREQ(strShort, strLabel) << nID;
  }
  ::DestroyMenu(hTreeMenu);
  EXPECT_EQ(ContextMenuPoint(CRect(40, 50, 400, 500), CPoint(-1, -1)), CPoint(40, 50));
  EXPECT_EQ(ContextMenuPoint(CRect(40, 50, 400, 500), CPoint(100, -1)), CPoint(100, -1));
}

TEST_F(FrameTest, CardViewerSwitchWithoutAViewerKeepsMarksAndTheProgram) {
  // No card viewer is installed here: nothing may be given up for it.
  std::string marked = s_strDb + "\\viewer-marked.jpg";
  testsupport::WriteWholeFile(marked, "x");
  ASSERT_EQ(Mark_SetCheck(marked.c_str(), 1), S_OK);
  HWND hWnd = m_pFrame->m_hWnd;
  {
    uikit::DialogDriver yes([](HWND hDlg) { uikit::Press(hDlg, IDYES); }, 2000);
    m_pFrame->GetToolbarPane()->SendMessage(WM_COMMAND, ID_TB_CARD_VIEWER);
    testsupport::PumpPending();
    EXPECT_EQ(yes.Ran(), 0);  // not even asked
  }
  int nState = 0;
  EXPECT_EQ(Mark_GetCheck(marked.c_str(), &nState), S_OK);
  EXPECT_EQ(nState, 1);
  EXPECT_TRUE(::IsWindow(hWnd));
  Mark_SetCheck(marked.c_str(), 0);
  CMWriteProfileInt("DepthViewer", "AllMarkFileCount", 0);
}

TEST_F(FrameTest, MarkedFilesAskBeforeClosingUntilTheUserSaysNoMore) {
  // The browser publishes its mark count before the question: one file marked in the store.
  std::string marked = s_strDb + "\\marked.jpg";
  testsupport::WriteWholeFile(marked, "x");
  ASSERT_EQ(Mark_SetCheck(marked.c_str(), 1), S_OK);
  HWND hWnd = m_pFrame->m_hWnd;
  {
    uikit::DialogDriver no([](HWND hDlg) { uikit::Press(hDlg, IDNO); });
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(no.Ran(), 1);
  }
  EXPECT_TRUE(::IsWindow(hWnd));  // No keeps the program open
  {
    uikit::DialogDriver yes([](HWND hDlg) {
      uikit::Press(hDlg, IDC_YESNO_DONT_ASK);
      uikit::Press(hDlg, IDYES);
    });
    CloseFrame(m_pFrame);
    EXPECT_EQ(yes.Ran(), 1);
  }
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(CMGetProfileInt("", "CloseWarningMark", 0), 1);
  // Asked no more.
  m_pFrame = OpenFrame();
  ASSERT_NE(m_pFrame, nullptr);
  hWnd = m_pFrame->m_hWnd;
  CloseFrame(m_pFrame);
  EXPECT_FALSE(::IsWindow(hWnd));
  Mark_SetCheck(marked.c_str(), 0);
  CMWriteProfileInt("DepthViewer", "AllMarkFileCount", 0);
  CMWriteProfileInt("", "CloseWarningMark", 0);
}

// The text of the message box that show() brings up (answered with OK), waiting up to
// waitMs for it; "" when none came.
std::string MessageBoxText(const std::function<void()>& show, DWORD waitMs = 0) {
  std::string text;
  uikit::DialogDriver ok([&text](HWND hBox) {
    text = uikit::StaticTexts(hBox);
    uikit::Press(hBox, IDOK);
  });
  show();
  testsupport::WaitUntil([&ok] { return ok.Ran() == 1; }, waitMs);
  return text;
}

// A modal window of "another program" that ignores every request to close.
LRESULT CALLBACK StubbornProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE || message == WM_COMMAND) return 0;
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakeStubbornModal(HWND hOwner, const char* pszTitle) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = StubbornProc;
  wc.hInstance = ::GetModuleHandleA(NULL);
  wc.lpszClassName = "GlimoraStubbornModal";
  ::RegisterClassA(&wc);
  HWND hWnd = ::CreateWindowExA(WS_EX_DLGMODALFRAME, "GlimoraStubbornModal", pszTitle, WS_POPUP | WS_CAPTION,
                                ::GetSystemMetrics(SM_CXSCREEN) + 50, 0, 200, 100, hOwner, NULL, wc.hInstance, NULL);
  ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
  return hWnd;
}

TEST_F(FrameTest, SlideShowStatesRefuseTheCloseWithTheirMessages) {
  struct {
    const char* key;
    const char* section;
    UINT nText;
  } kCases[] = {
      {"SlideShowNotClose", "ExeState", IDS_SHELL_SLIDESHOW_OPEN},
      {"NowSaving", "SlideShow", IDS_SHELL_SLIDESHOW_SAVING},
  };
  HWND hWnd = m_pFrame->m_hWnd;
  CMWriteProfileInt("ExeState", "SlideShow_Created", 1);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.key);
    CMWriteProfileInt(c.section, c.key, 1);
    std::string text = MessageBoxText([this] { m_pFrame->SendMessage(WM_CLOSE); });
    CString strExpected;
    strExpected.LoadString(c.nText);
    EXPECT_NE(text.find((LPCSTR)strExpected), std::string::npos) << text;
    EXPECT_TRUE(::IsWindow(hWnd));
    CMWriteProfileInt(c.section, c.key, 0);
  }
  CMWriteProfileInt("ExeState", "SlideShow_Created", 0);
}

TEST_F(FrameTest, CloseHeldByAnotherProgramsDialogTellsWhoseAndStaysClosable) {
  HWND hWnd = m_pFrame->m_hWnd;
  HWND hModal = MakeStubbornModal(hWnd, "Stubborn Editor");
  ASSERT_TRUE(::IsWindow(hModal));
  EXPECT_EQ(m_pFrame->GetExternalToolManager().FindBlockingWindow(), hModal);
  // The close is put off while the dialog is asked to close, then given up with a word.
  std::string text = MessageBoxText([this] { m_pFrame->SendMessage(WM_CLOSE); }, 10000);
  EXPECT_NE(text.find("Stubborn Editor"), std::string::npos) << text;
  EXPECT_TRUE(::IsWindow(hWnd));
  // Once the dialog is gone, the program closes.
  ::DestroyWindow(hModal);
  CloseFrame(m_pFrame);
  EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(FrameTest, ManualThatCannotBeOpenedIsReported) {
  CMWriteProfileString("Common", "Manual", "no-such-manual.pdf");
  std::string text = MessageBoxText([this] { m_pFrame->SendMessage(WM_COMMAND, ID_HELP_MANUAL); });
  EXPECT_NE(text.find("no-such-manual.pdf"), std::string::npos) << text;
}

// The commands the toolbar and the export pane are sent, recorded by subclassing them
// (a pick from the toolbar's list is recorded as a command of its list base).
std::vector<std::pair<WPARAM, LPARAM>> g_toolbarCommands, g_exportCommands;
WNDPROC g_toolbarProc = NULL, g_exportProc = NULL;
LRESULT CALLBACK RecordToolbar(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_TOOL_LIST_SELECT) g_toolbarCommands.push_back({wParam, lParam});
  // The import button opens the card import, a modal dialog: recorded, not run.
  if (message == WM_COMMAND && LOWORD(wParam) == ID_TB_FOLDER_TREE) return 0;
  return ::CallWindowProcA(g_toolbarProc, hWnd, message, wParam, lParam);
}
LRESULT CALLBACK RecordExport(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) g_exportCommands.push_back({wParam, lParam});
  return ::CallWindowProcA(g_exportProc, hWnd, message, wParam, lParam);
}

// Menu commands reach the pane or the toolbar command the route tables name.
TEST_F(FrameTest, MenuCommandsReachTheirPanes) {
  HWND hToolbar = m_pFrame->GetToolbarPane()->m_hWnd, hExport = m_pFrame->GetExportPane()->m_hWnd;
  g_toolbarProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordToolbar)));
  g_exportProc =
      reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hExport, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordExport)));
  LPARAM lFrame = (LPARAM)m_pFrame->m_hWnd;
  struct {
    UINT nID;
    std::vector<std::pair<WPARAM, LPARAM>> toolbar, exportPane;
  } kCases[] = {
      {ID_TOOLS_SCALE, {{ID_TB_SCALE, 0}}, {}},
      {ID_TOOLS_OPTIONS, {{ID_TB_OPTIONS, lFrame}}, {}},
      {ID_PPC_PLUGIN_FIRST + 2, {{ID_TB_PPC_LIST, ID_TB_PPC_LIST + 3}}, {}},
      {ID_EXPORT_FIRST + 1, {}, {{CFView_Export::TILE_COMMAND_FIRST + 1, lFrame}}},
      {ID_VIEW_FOLDER_PANE, {}, {}},
  };
  for (const auto& c : kCases) {
    g_toolbarCommands.clear();
    g_exportCommands.clear();
    // The toolbar opens the options dialog for its command, and the resize asks for its
    // files or says there are none: closed again at once.
    std::unique_ptr<uikit::DialogDriver> driver;
    if (c.nID == ID_TOOLS_OPTIONS || c.nID == ID_TOOLS_SCALE)
      driver.reset(new uikit::DialogDriver([](HWND h) { uikit::Press(h, IDCANCEL); }));
    m_pFrame->SendMessage(WM_COMMAND, c.nID);
    if (driver) { EXPECT_EQ(1, driver->Ran()) << c.nID; }
    EXPECT_EQ(g_toolbarCommands, c.toolbar) << c.nID;
    EXPECT_EQ(g_exportCommands, c.exportPane) << c.nID;
  }
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_FOLDER_PANE);  // unfolded again
  ::SetWindowLongPtrA(hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_toolbarProc));
  ::SetWindowLongPtrA(hExport, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_exportProc));

  // The frame's own commands stay usable in the menus; going up waits for a folder above.
  CMenu* pView = m_pFrame->GetMenu()->GetSubMenu(2);
  m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pView->m_hMenu, MAKELPARAM(2, FALSE));
  m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_FALSE(pView->GetMenuState(ID_VIEW_REFRESH, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(pView->GetMenuState(ID_VIEW_EXPORT_PANE, MF_BYCOMMAND) & MF_GRAYED);
}

// The export host reports to the main window; the frame hands the report to the pane,
// which a failure frees and a success leaves waiting for the plug-in's window.
TEST_F(FrameTest, ExportReportsReachTheExportPane) {
  CFView_Export* pExport = m_pFrame->GetExportPane();
  pExport->EnableWindow(FALSE);
  m_pFrame->SendMessage(WM_EXPORT_FINISHED, (WPARAM)pExport->m_hWnd, (LPARAM)(DWORD)0x80000000u);
  EXPECT_FALSE(pExport->IsWindowEnabled());
  m_pFrame->SendMessage(WM_EXPORT_FINISHED, (WPARAM)pExport->m_hWnd, 0);
  EXPECT_TRUE(pExport->IsWindowEnabled());
}

// Device changes start the follow-up timer (55); its runs refresh the trees and, the
// second time or after a removal, reload the browser.
TEST_F(FrameTest, DeviceChangesAndTheirFollowUpTimer) {
  ASSERT_EQ(Mark_Init(), S_OK);
  Mark_SetCheck("E:\\DCIM\\a.jpg", 1);
  Mark_SetCheck("C:\\b.jpg", 1);
  HWND hBrowser = m_pFrame->GetBrowserWindow()->m_hWnd;
  g_browserProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hBrowser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordBrowser)));
  auto reloads = [] {
    return std::count_if(g_browserGot.begin(), g_browserGot.end(),
                         [](const std::pair<UINT, LPARAM>& m) { return m.first == WM_BROWSER_RELOAD; });
  };
  auto volume = [](DWORD dwMask, WORD wFlags) {
    DEV_BROADCAST_VOLUME v = {};
    v.dbcv_size = sizeof(v);
    v.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    v.dbcv_unitmask = dwMask;
    v.dbcv_flags = wFlags;
    return v;
  };
  auto fire = [this] { m_pFrame->SendMessage(WM_TIMER, MAINFRAME_TIMER_DEVICE); };
  const DWORD kDriveE = 1u << 4;

  // A network volume changes nothing.
  m_pFrame->m_bDeviceFollowUp = TRUE;
  DEV_BROADCAST_VOLUME net = volume(kDriveE, DBTF_NET);
  m_pFrame->SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, (LPARAM)&net);
  EXPECT_TRUE(m_pFrame->m_bDeviceFollowUp);

  // An arrival: the first run refreshes only, the second reloads the browser.
  g_browserGot.clear();
  DEV_BROADCAST_VOLUME arrived = volume(kDriveE, 0);
  m_pFrame->SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, (LPARAM)&arrived);
  EXPECT_FALSE(m_pFrame->m_bDeviceFollowUp);
  fire();
  EXPECT_TRUE(m_pFrame->m_bDeviceFollowUp);
  EXPECT_EQ(reloads(), 0);
  fire();
  EXPECT_EQ(reloads(), 1);

  // A removal drops the drive's marks and reloads at the first run.
  DEV_BROADCAST_VOLUME removed = volume(kDriveE, 0);
  m_pFrame->SendMessage(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, (LPARAM)&removed);
  int nState = -1;
  Mark_GetCheck("E:\\DCIM\\a.jpg", &nState);
  EXPECT_EQ(nState, 0);
  Mark_GetCheck("C:\\b.jpg", &nState);
  EXPECT_EQ(nState, 1);
  fire();
  EXPECT_EQ(reloads(), 2);

  // While a calendar view folds the folder column the browser is left alone.
  m_pFrame->m_bCalendarFold = TRUE;
  fire();
  EXPECT_EQ(reloads(), 2);
  m_pFrame->m_bCalendarFold = FALSE;
  // And so while the export pane is disabled (a program holds the main window).
  m_pFrame->GetExportPane()->EnableWindow(FALSE);
  fire();
  EXPECT_EQ(reloads(), 2);
  m_pFrame->GetExportPane()->EnableWindow(TRUE);

  ::SetWindowLongPtrA(hBrowser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_browserProc));
  Mark_DeleteAll();
  Mark_Exit();
}

// Timer 57 after an automatic-import start opens the card import once, unless a calendar
// view is shown.
TEST_F(FrameTest, AutoImportTimerOpensTheImportOnce) {
  HWND hToolbar = m_pFrame->GetToolbarPane()->m_hWnd;
  g_toolbarProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordToolbar)));
  struct {
    BOOL calendar;
    size_t imports;
  } kCases[] = {{FALSE, 1}, {TRUE, 0}};
  for (const auto& c : kCases) {
    g_toolbarCommands.clear();
    m_pFrame->m_bCalendarFold = c.calendar;
    m_pFrame->SendMessage(WM_TIMER, MAINFRAME_TIMER_AUTO_IMPORT);
    testsupport::PumpPending();
    size_t n = std::count(g_toolbarCommands.begin(), g_toolbarCommands.end(),
                          std::make_pair((WPARAM)ID_TB_FOLDER_TREE, (LPARAM)m_pFrame->m_hWnd));
    EXPECT_EQ(n, c.imports) << c.calendar;
  }
  m_pFrame->m_bCalendarFold = FALSE;
  ::SetWindowLongPtrA(hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_toolbarProc));
}

// A card's arrival opens the card's folder tree unless the frame's zoom window is open;
// a window of that name elsewhere (another thread's, as another program's would be) is
// not the frame's.
TEST_F(FrameTest, OnlyTheFramesOwnZoomWindowHoldsTheCardsFolderTreeBack) {
  const char kZoomName[] = "6D1F3A27-94C0-4B58-A1E6-3C7B20F95D84";
  HWND hToolbar = m_pFrame->GetToolbarPane()->m_hWnd;
  g_toolbarProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordToolbar)));
  auto opened = [&] {
    g_toolbarCommands.clear();
    m_pFrame->SendMessage(WM_SHOW_EXPLORER_FOLDER);
    testsupport::PumpPending();
    return std::count(g_toolbarCommands.begin(), g_toolbarCommands.end(),
                      std::make_pair((WPARAM)ID_TB_FOLDER_TREE, (LPARAM)m_pFrame->m_hWnd));
  };
  EXPECT_EQ(opened(), 1);
  {
    std::atomic<HWND> elsewhere{nullptr};
    std::atomic<bool> done{false};
    std::thread other([&] {
      elsewhere = ::CreateWindowA("STATIC", kZoomName, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
      while (!done) {
        testsupport::PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      }
      ::DestroyWindow(elsewhere);
    });
    EXPECT_TRUE(testsupport::WaitUntil([&] { return elsewhere != nullptr; }, 10000));
    EXPECT_EQ(opened(), 1) << "another thread's window was taken for the zoom window";
    done = true;
    other.join();
  }
  HWND own = ::CreateWindowA("STATIC", kZoomName, WS_POPUP, 0, 0, 10, 10, m_pFrame->m_hWnd, nullptr, nullptr, nullptr);
  EXPECT_EQ(opened(), 0);
  ::DestroyWindow(own);
  ::SetWindowLongPtrA(hToolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_toolbarProc));
}

TEST_F(FrameTest, ProgressMessageTurnsIntoABarThatStopsAtItsTotal) {
  CProgressMessageDlg dlg;
  ASSERT_TRUE(dlg.CreateModeless(m_pFrame));
  dlg.SetText("お待ちください");
  CRect rcBefore, rcAfter;
  dlg.GetWindowRect(&rcBefore);
  dlg.SetRange(10);
  dlg.GetWindowRect(&rcAfter);
  EXPECT_EQ(rcAfter.Height(), rcBefore.Height() + 20);
  EXPECT_FALSE(dlg.GetDlgItem(IDC_PROGRESS_MESSAGE_TEXT)->IsWindowVisible());
  dlg.Step(4);
  EXPECT_EQ(dlg.GetPosition(), 4);
  dlg.Step(25);
  EXPECT_EQ(dlg.GetPosition(), 10);
  dlg.DestroyWindow();
}

TEST_F(FrameTest, ClassificationFlagLeftByAnEarlierRunDoesNotHoldTheClose) {
  CloseFrame(m_pFrame);
  CMWriteProfileInt("VxClassify", "Wait", 1);  // a run that ended without clearing it
  m_pFrame = OpenFrame();
  ASSERT_NE(m_pFrame, nullptr);
  EXPECT_EQ(CMGetProfileInt("VxClassify", "Wait", -1), 0);
  HWND hWnd = m_pFrame->m_hWnd;
  CloseFrame(m_pFrame);
  EXPECT_FALSE(::IsWindow(hWnd));
}

// A close waiting in the queue when start-up's step comes goes before the step (its
// folder trees take longer than the whole end); refused, the step goes on after it.
TEST_F(FrameTest, AClosePendingWhenStartupsStepComesGoesFirst) {
  static const struct {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool refused;
  } kCases[] = {
      {"a close", WM_CLOSE, 0, false},
      {"the window menu's close", WM_SYSCOMMAND, SC_CLOSE, false},
      {"a close that is refused", WM_CLOSE, 0, true},
  };
  CloseFrame(m_pFrame);
  m_pFrame = nullptr;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    CMWriteProfileInt("ExeState0007", "Enable", 0);
    AfxGetApp()->m_pMainWnd = NULL;
    ASSERT_NE(s_pTemplate->OpenDocumentFile(NULL), nullptr);
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetApp()->m_pMainWnd);
    ASSERT_NE(pFrame, nullptr);
    HWND hWnd = pFrame->m_hWnd;
    if (c.refused) CMWriteProfileInt("VxClassify", "Wait", 1);
    ::PostMessageA(hWnd, c.message, c.wParam, 0);
    ::SendMessageA(hWnd, WM_TIMER, MAINFRAME_TIMER_STARTUP, 0);
    EXPECT_FALSE(pFrame->IsStartupDone());
    EXPECT_EQ(CMGetProfileInt("ExeState0007", "Enable", 0), 0);
    if (c.refused) {
      EXPECT_TRUE(testsupport::WaitUntil([pFrame] { return pFrame->IsStartupDone(); }, 10000));
      EXPECT_EQ(CMGetProfileInt("ExeState0007", "Enable", 0), 1);
      CMWriteProfileInt("VxClassify", "Wait", 0);
      CloseFrame(pFrame);
    } else {
      EXPECT_TRUE(testsupport::WaitUntil([hWnd] { return !::IsWindow(hWnd); }, 5000));
      testsupport::DropQuit();
      EXPECT_EQ(CMGetProfileInt("ExeState0007", "Enable", 0), 0);
    }
    EXPECT_FALSE(::IsWindow(hWnd));
  }
}

TEST_F(FrameTest, PlacementAndPaneSizesAreWrittenAtCloseAndRestoredAtTheNextStart) {
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof(wp);
  m_pFrame->GetWindowPlacement(&wp);
  wp.showCmd = SW_SHOWNORMAL;
  wp.rcNormalPosition = CRect(20, 30, 1100, 850);
  m_pFrame->SetWindowPlacement(&wp);
  CMainSplitterWnd& folder = m_pFrame->GetFolderSplitter();
  folder.SetColumnInfo(0, 220, 30);
  m_pFrame->GetExportSplitter().RecalcLayout();
  folder.RecalcLayout();
  CloseFrame(m_pFrame);
  EXPECT_EQ(CMGetProfileInt("", "WindowShowState", 0), SW_SHOWNORMAL);
  EXPECT_EQ(CMGetProfileInt("", "WindowNormalPosLeft", 0), 20);
  EXPECT_EQ(CMGetProfileInt("", "WindowNormalPosTop", 0), 30);
  EXPECT_EQ(CMGetProfileInt("", "WindowNormalPosRight", 0), 1100);
  EXPECT_EQ(CMGetProfileInt("", "WindowNormalPosBottom", 0), 850);
  EXPECT_EQ(CMGetProfileInt("", "FolderViewColInfoIdealSize", 0), 220);
  EXPECT_EQ(CMGetProfileInt("", "ToolbarViewRowInfoIdealSize", 0), 75);
  EXPECT_EQ(CMGetProfileInt("", "StatusBarVisible", 0), 1);

  // A stored toolbar row of 40 comes back as 75.
  CMWriteProfileInt("", "ToolbarViewRowInfoIdealSize", 40);
  m_pFrame = OpenFrame();
  ASSERT_NE(m_pFrame, nullptr);
  CRect rcWork;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
  EXPECT_EQ(s_rcCreated, CRect(rcWork.left + 20, rcWork.top + 30, rcWork.left + 1100, rcWork.top + 850));
  EXPECT_EQ(ColumnWidth(m_pFrame->GetFolderSplitter(), 0), 220);
  int nCur, nMin;
  m_pFrame->GetRowSplitter().GetRowInfo(0, nCur, nMin);
  EXPECT_EQ(nCur, 75);
}

}  // namespace

// The view-mode commands switch the browser's windows: icons, the details list, focus mode
// with the enlarged picture, the calendar; each switch in a screenshot.
TEST_F(FrameTest, ViewModeCommandsSwitchTheBrowsersWindows) {
  std::string folder = testsupport::NewTempFolder("frame-modes");
  for (const char* name : {"exif_full.jpg", "plain.jpg", "rose.jpg", "people.jpg"})
    ::CopyFileA(testsupport::Fixture(name).c_str(), (folder + "\\" + name).c_str(), FALSE);
  m_pFrame->SetWindowPos(&CWnd::wndTop, 0, 0, 1100, 800, SWP_SHOWWINDOW);  // on the screen: its pictures are taken
  CIconView* pIcons = ShowFolder(folder, 4);
  ASSERT_NE(pIcons, nullptr);

  // The windows of the browser area, found among the frame's descendants.
  auto find = [&](CRuntimeClass* pClass) -> CWnd* {
    struct S {
      CRuntimeClass* c;
      HWND h;
    } s = {pClass, NULL};
    ::EnumChildWindows(
        m_pFrame->m_hWnd,
        [](HWND h, LPARAM l) -> BOOL {
          S* p = reinterpret_cast<S*>(l);
          CWnd* w = CWnd::FromHandlePermanent(h);
          if (w && w->IsKindOf(p->c)) p->h = h;
          return p->h == NULL;
        },
        (LPARAM)&s);
    return s.h ? CWnd::FromHandlePermanent(s.h) : nullptr;
  };
  CWnd* pEnlarged = find(RUNTIME_CLASS(CEnlargedImageView));
  CBrowserBaseView* pBase = dynamic_cast<CBrowserBaseView*>(find(RUNTIME_CLASS(CBrowserBaseView)));
  ASSERT_NE(pEnlarged, nullptr);
  ASSERT_NE(pBase, nullptr);
  HWND hList = ::GetDlgItem(pIcons->m_hWnd, IDC_DETAILS_LIST);
  ASSERT_TRUE(::IsWindow(hList));
  auto visible = [](HWND h) { return ::IsWindow(h) && ::IsWindowVisible(h); };
  struct {
    UINT nID;
    bool icons, list, enlarged, month;
    const char* shot;
  } kSteps[] = {
      {ID_VIEWMODE_SMALL_ICONS, true, false, false, false, "marlo5-mode-small"},
      {ID_VIEWMODE_FILE_INFO, true, true, false, false, "marlo5-mode-fileinfo"},
      {ID_VIEWMODE_CAMERA_INFO, true, true, false, false, "marlo5-mode-camerainfo"},
      {ID_VIEWMODE_FOCUS, true, false, true, false, "marlo5-mode-focus"},
      {ID_VIEWMODE_MONTH, false, false, false, true, "marlo5-mode-month"},
      {ID_VIEWMODE_LARGE_ICONS, true, false, false, false, "marlo5-mode-large"},
  };
  for (const auto& s : kSteps) {
    SCOPED_TRACE(s.shot);
    m_pFrame->SendMessage(WM_COMMAND, s.nID);
    testsupport::WaitUntil([] { return false; }, 300);  // let it paint
    EXPECT_EQ(visible(pIcons->m_hWnd), s.icons);
    EXPECT_EQ(visible(hList), s.list);
    EXPECT_EQ(visible(pEnlarged->m_hWnd), s.enlarged);
    EXPECT_EQ(visible(pBase->GetMonthView()->GetSafeHwnd()), s.month);
    uikit::Picture picture(m_pFrame->m_hWnd);
    EXPECT_FALSE(picture.Save(s.shot).empty());
    if (s.nID != ID_VIEWMODE_MONTH) continue;
    // A double click on the month's selected day opens that day.
    CCalendarMonthView* pMonth = dynamic_cast<CCalendarMonthView*>(pBase->GetMonthView());
    ASSERT_NE(pMonth, nullptr);
    ASSERT_GE(pMonth->GetSelected(), 0);
    RECT rc;
    pMonth->GetItemRect(pMonth->GetSelected(), &rc);
    pMonth->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    testsupport::WaitUntil([] { return false; }, 300);  // let it paint
    EXPECT_TRUE(visible(pBase->GetDayView()->GetSafeHwnd()));
    EXPECT_FALSE(visible(pBase->GetMonthView()->GetSafeHwnd()));
    uikit::Picture day(m_pFrame->m_hWnd);
    EXPECT_FALSE(day.Save("marlo5-mode-day").empty());
  }
  // Large icons again in force: the profile hands the mode to the next frame.
  EXPECT_EQ(m_pFrame->GetBrowserDocument()->GetViewMode(), BROWSE_VIEW_LARGEICON);
}

// The scene bench, started as the scene-cut command starts it, keeps a part beside the
// movie: the browser shows the new file and it alone is selected, not what was before.
TEST_F(FrameTest, APartTheSceneBenchKeepsIsShownAndSelectedAlone) {
  std::string folder = testsupport::NewTempFolder("frame-bench");
  for (const char* name : {"a.mp4", "b.mp4"})
    ASSERT_TRUE(::CopyFileA(testsupport::Fixture("keys.mp4").c_str(), (folder + "\\" + name).c_str(), FALSE));
  CIconView* pIcons = dynamic_cast<CIconView*>(m_pFrame->GetBrowserWindow());
  ASSERT_NE(pIcons, nullptr);
  m_pFrame->SendMessage(WM_COMMAND, ID_FILTER_ALL);
  std::string text = "0|Explorer|1|" + folder + "\\||";
  COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)text.size() + 1, (void*)text.c_str()};
  pIcons->SendMessage(WM_COPYDATA, (WPARAM)m_pFrame->m_hWnd, (LPARAM)&cds);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return pIcons->GetItemCount() == 2; }, 10000));
  CBrowserDocument* pBrowser = m_pFrame->GetBrowserDocument();
  ASSERT_NE(pBrowser, nullptr);
  CThumbnail* other = nullptr;
  CThumbnailPageList& pages = pBrowser->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos && !other;) {
    CThumbnailPage* page = pages.GetNext(pos);
    for (int i = 0; i < page->GetCount() && !other; ++i)
      if (!lstrcmpiA(page->GetAt(i)->GetFileName(), "b.mp4")) other = page->GetAt(i);
  }
  ASSERT_NE(other, nullptr);
  pBrowser->SelectItem(other, nullptr);

  std::string movie = folder + "\\a.mp4", program, arguments;
  ASSERT_TRUE(
      toolbarrules::OutsideProgramCall(ID_TB_MOVIE_CUT, movie, (UINT_PTR)m_pFrame->m_hWnd, &program, &arguments));
  std::thread user([] {
    // The bench the frame started; a program starting while the machine is busy can take
    // its time.
    HWND bench = nullptr;
    for (DWORD since = ::GetTickCount(); !bench && ::GetTickCount() - since < 60000; ::Sleep(10))
      for (HWND w : testsupport::WindowsOfChildren("GlimoraCutBench")) {
        char title[128] = "";
        ::GetWindowTextA(w, title, sizeof title);
        if (::IsWindowVisible(w) && !lstrcmpA(title, "シーンカット - a.mp4")) bench = w;
      }
    if (!bench) return;
    testsupport::SendToOther(bench, WM_COMMAND, 107, 0);  // save: the whole clip, as the marks stand
    ::PostMessageA(bench, WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(m_pFrame->GetToolbarPane()->StartToolAndWait(program.c_str(), arguments.c_str(), movie.c_str()));
  user.join();
  EXPECT_TRUE(m_pFrame->IsWindowVisible());
  CStringList selected;
  EXPECT_TRUE(testsupport::WaitUntil(
      [&] {
        selected.RemoveAll();
        return pIcons->GetItemCount() == 3 && pBrowser->GetSelectFilePath(selected) == 1;
      },
      10000))
      << pIcons->GetItemCount() << " " << selected.GetCount();
  if (selected.GetCount() == 1) { EXPECT_STREQ(selected.GetHead(), (folder + "\\a_1.mp4").c_str()); }
  testsupport::RemoveTree(folder);
}

// A date node of the card tree, chosen in the folder pane, shows its title's scenes in the
// browser: a card's movie folder whose scenes are the disc core's items.
TEST_F(FrameTest, ACardTreeDateNodeShowsItsScenes) {
  std::string card = testsupport::NewTempFolder("frame-moviecard");
  std::string bdmv = card + "\\PRIVATE\\AVCHD\\BDMV";
  testsupport::MakeFolders(bdmv);
  ASSERT_TRUE(VxBDWriteTree(bdmv, {{{"00000", "00001"}, 0x0103, 0xAB12}}, true, false));
  for (const char* clip : {"00000", "00001"}) {
    std::string stream = bdmv + "\\STREAM\\" + clip + ".MTS";
    ASSERT_TRUE(::CopyFileA(testsupport::Fixture("movie.mpg").c_str(), stream.c_str(), FALSE));
    testsupport::SetLocalWriteTime(stream, 2026, 11, 1, 10);
  }
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(card)), 0u);
  m_pFrame->SendMessage(WM_COMMAND, ID_FILTER_ALL);  // an earlier test may have left only pictures shown
  CFView_Folder* pane = m_pFrame->GetFolderPane();
  ASSERT_NE(pane, nullptr);
  pane->SelectTreeByTitle(LoadResourceText(IDS_TREE_TITLE_CARD), "", FALSE);
  CPluginTreeCtrl* tree = nullptr;
  CTreePluginManager& manager = pane->GetManager();
  for (int i = 0; i < manager.GetEntryCount(); ++i)
    if (manager.GetEntry(i)->m_strPath.Find("CardTree.psp") >= 0) tree = manager.GetEntry(i)->m_pTreeWnd;
  ASSERT_TRUE(tree && tree->GetSafeHwnd());
  // Drive E:, its movie titles, the one date node.
  auto child = [&](HTREEITEM parent, const CString& label) -> HTREEITEM {
    for (HTREEITEM i = parent ? tree->GetChildItem(parent) : tree->GetRootItem(); i; i = tree->GetNextSiblingItem(i))
      if (tree->GetItemText(i) == label) return i;
    return nullptr;
  };
  HTREEITEM date = nullptr;
  ASSERT_TRUE(testsupport::WaitUntil(
      [&] {
        HTREEITEM drive = child(nullptr, LoadResourceText(IDS_CARD_DRIVE_PREFIX) + "E" +
                                             LoadResourceText(IDS_CARD_DRIVE_SUFFIX));
        HTREEITEM titles = drive ? child(drive, LoadResourceText(IDS_CARD_DISC_TITLES)) : nullptr;
        date = titles ? tree->GetChildItem(titles) : nullptr;
        return date != nullptr;
      },
      10000));
  EXPECT_EQ(tree->GetItemText(date), CString("2026/11/01"));
  CIconView* pIcons = dynamic_cast<CIconView*>(m_pFrame->GetBrowserWindow());
  ASSERT_NE(pIcons, nullptr);
  tree->ClickItem(date, 0);
  bool shown = testsupport::WaitUntil([&] { return pIcons->GetItemCount() == 2; }, 10000);
  CVxDocument* pDoc = dynamic_cast<CVxDocument*>(m_pFrame->GetActiveDocument());
  ASSERT_NE(pDoc, nullptr);
  EXPECT_TRUE(shown) << pIcons->GetItemCount() << " pages " << pDoc->GetBrowser()->GetPageList().GetCount() << " filter "
                     << pDoc->GetBrowser()->GetFilterType() << " mode " << pDoc->GetBrowser()->GetViewMode() << " code "
                     << pDoc->GetBrowser()->GetFolderType().GetCode();
  EXPECT_EQ(pDoc->GetBrowser()->GetFolderType().GetCode(), FOLDER_TYPE_SDCARD_AVCHD);
  int discItems = 0;
  CThumbnailPageList& pages = pDoc->GetBrowser()->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;) {
    CThumbnailPage* page = pages.GetNext(pos);
    for (int i = 0; i < page->GetCount(); ++i) discItems += page->GetAt(i)->IsDiscContent() ? 1 : 0;
  }
  EXPECT_EQ(discItems, 2);

  // One scene deleted from there: the disc core's question, then its clip goes from the card.
  CThumbnail* first = nullptr;
  for (POSITION pos = pages.GetHeadPosition(); pos && !first;) {
    CThumbnailPage* page = pages.GetNext(pos);
    for (int i = 0; i < page->GetCount() && !first; ++i)
      if (!lstrcmpiA(page->GetAt(i)->GetFileName(), "00000.MTS")) first = page->GetAt(i);
  }
  ASSERT_NE(first, nullptr);
  pDoc->GetBrowser()->SelectItem(first, nullptr);
  std::string asked;
  {
    // Yes to the question once its text is in; the recycle bin's own dialog is closed.
    testsupport::DialogWatch watch(nullptr,
                                   [](HWND box) {
                                     char text[8] = "";
                                     return ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0 ||
                                            ::GetDlgItem(box, IDC_DELETE_YES) != nullptr;
                                   },
                                   [&](HWND box) {
                                     char text[512] = "";
                                     ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                                     asked = text;
                                     if (::GetDlgItem(box, IDYES))
                                       ::PostMessageA(box, WM_COMMAND, IDYES, 0);
                                     else
                                       ::PostMessageA(box, WM_CLOSE, 0, 0);
                                   });
    pIcons->SendMessage(WM_BROWSER_ACTION, 0, VXACTION_DELETE);
  }
  EXPECT_EQ(asked, std::string(LoadResourceText(IDS_BROWSER_DISC_DELETE)));
  EXPECT_EQ(::GetFileAttributesA((bdmv + "\\STREAM\\00000.MTS").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesA((bdmv + "\\STREAM\\00001.MTS").c_str()), INVALID_FILE_ATTRIBUTES);
  testsupport::RemoveCard('E');
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
}

// A folder shown from outside (as glimctl show-folder shows one) while the memory card's
// section is open: a double click on one of its sub-folders enters that sub-folder, and the
// browser stays there; the card's folder does not come back.
TEST_F(FrameTest, ASubFolderOfAFolderShownFromOutsideIsEnteredWhileTheCardSectionIsOpen) {
  std::string folder = testsupport::NewTempFolder("frame-outside");
  testsupport::MakeFolders(folder + "\\sub");
  ASSERT_TRUE(::CopyFileA(testsupport::Fixture("plain.jpg").c_str(), (folder + "\\plain.jpg").c_str(), FALSE));
  ASSERT_TRUE(::CopyFileA(testsupport::Fixture("rose.jpg").c_str(), (folder + "\\sub\\rose.jpg").c_str(), FALSE));
  m_pFrame->SendMessage(WM_COMMAND, ID_FILTER_ALL);
  CVxDocument* pDoc = dynamic_cast<CVxDocument*>(m_pFrame->GetActiveDocument());
  ASSERT_NE(pDoc, nullptr);
  BOOL oldSub = pDoc->GetBrowser()->IsSubFolderVisible();
  pDoc->GetBrowser()->SubFolderVisible(TRUE);
  CFView_Folder* pane = m_pFrame->GetFolderPane();
  ASSERT_NE(pane, nullptr);
  CIconView* pIcons = dynamic_cast<CIconView*>(m_pFrame->GetBrowserWindow());
  ASSERT_NE(pIcons, nullptr);
  CVxGUITrans* trans = pIcons->GetController();
  ASSERT_NE(trans, nullptr);
  pane->SelectTreeByTitle(LoadResourceText(IDS_TREE_TITLE_CARD), "", FALSE);
  testsupport::WaitUntil([&] { return trans->GetQueuedCommandCount() == 0; }, 10000);

  std::string text = "0|Explorer|1|" + folder + "\\||";
  COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)text.size() + 1, (void*)text.c_str()};
  m_pFrame->SendMessage(WM_COPYDATA, 0, (LPARAM)&cds);
  auto shown = [&]() {
    std::vector<std::string> names;
    for (DWORD id : pIcons->GetDisplayList()) names.push_back((LPCSTR)pIcons->GetThumbnail(id)->GetFileName());
    std::sort(names.begin(), names.end());
    return names;
  };
  ASSERT_TRUE(testsupport::WaitUntil([&] { return shown() == std::vector<std::string>{"plain.jpg", "sub"}; }, 10000));
  DWORD sub = VXID_NONE;
  for (DWORD id : pIcons->GetDisplayList())
    if (pIcons->GetThumbnail(id)->GetFileName() == "sub") sub = id;
  CRect rc;
  pIcons->GetItemRect(sub, rc, 1);
  fwtest::DoubleClickMouse(*pIcons, rc.CenterPoint() - pIcons->GetScrollPositionRaw());
  // Once the folder changes sent meanwhile have run, the browser is in the sub-folder.
  EXPECT_TRUE(testsupport::WaitUntil(
      [&] { return trans->GetQueuedCommandCount() == 0 && shown() == std::vector<std::string>{"rose.jpg"}; }, 10000));
  testsupport::PumpPending();
  EXPECT_EQ(shown(), std::vector<std::string>{"rose.jpg"});
  ASSERT_EQ(trans->GetFolderList().GetCount(), 1);
  EXPECT_EQ(std::string((LPCSTR)trans->GetFolderList().GetHead()), folder + "\\sub\\");
  pDoc->GetBrowser()->SubFolderVisible(oldSub);
}

// A marked file renamed in the browser's name box keeps its mark under its new name: the
// status bar's count stays and the mark is seen on the file.
TEST_F(FrameTest, AMarkedFileRenamedInTheBrowserKeepsItsMark) {
  std::string folder = testsupport::NewTempFolder("frame-markrename");
  for (const char* n : {"a.jpg", "b.jpg"})
    ASSERT_TRUE(::CopyFileA(testsupport::Fixture("plain.jpg").c_str(), (folder + "\\" + n).c_str(), FALSE));
  CIconView* pIcons = ShowFolder(folder, 2);
  ASSERT_NE(pIcons, nullptr);
  CVxDocument* pDoc = dynamic_cast<CVxDocument*>(m_pFrame->GetActiveDocument());
  ASSERT_NE(pDoc, nullptr);
  DWORD a = VXID_NONE;
  for (DWORD id : pIcons->GetDisplayList())
    if (pIcons->GetThumbnail(id)->GetFileName() == "a.jpg") a = id;
  ASSERT_NE(a, VXID_NONE);
  int before = pDoc->GetBrowser()->GetMarkCount();
  ASSERT_EQ(pDoc->GetBrowser()->SetMark(pIcons->GetThumbnail(a), 1), S_OK);
  CRect rc;
  pIcons->GetItemRect(a, rc, 1);
  CPoint pt = rc.CenterPoint() - pIcons->GetScrollPositionRaw();
  pIcons->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  pIcons->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  pIcons->SendMessage(WM_KEYDOWN, VK_F2, 0);
  CWnd* edit = pIcons->GetDlgItem(IDC_RENAME_EDIT);
  ASSERT_NE(edit, nullptr);
  edit->SetWindowText("");
  for (char c : std::string("renamed")) edit->SendMessage(WM_CHAR, (unsigned char)c, 1);
  edit->SendMessage(WM_CHAR, VK_RETURN, 1);
  auto named = [&](const char* name) -> CThumbnail* {
    for (DWORD id : pIcons->GetDisplayList())
      if (pIcons->GetThumbnail(id)->GetFileName() == name) return pIcons->GetThumbnail(id);
    return nullptr;
  };
  ASSERT_TRUE(testsupport::WaitUntil([&] { return named("renamed.jpg") != nullptr; }, 10000));
  int state = -1;
  Mark_GetCheck((folder + "\\renamed.jpg").c_str(), &state);
  EXPECT_EQ(state, 1);
  Mark_GetCheck((folder + "\\a.jpg").c_str(), &state);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(pDoc->GetBrowser()->GetMarkCount(), before + 1);
  EXPECT_EQ(named("renamed.jpg")->GetMarkStatus(0), 1);
  Mark_SetCheck((folder + "\\renamed.jpg").c_str(), 0);
}

namespace {

// The month calendar refuses the toolbar's slide-show commands with their message, and
// nothing opens (the rule for each view is the toolbar's, tested there).
TEST_F(FrameTest, CalendarViewsRefuseTheToolbarsSlideShowCommands) {
  std::string folder = testsupport::NewTempFolder("frame-calendar-slides");
  ::CopyFileA(testsupport::Fixture("exif_full.jpg").c_str(), (folder + "\\exif_full.jpg").c_str(), FALSE);
  ASSERT_NE(ShowFolder(folder, 1), nullptr);
  CFView_Toolbar* pToolbar = m_pFrame->GetToolbarPane();
  ASSERT_NE(pToolbar, nullptr);
  CString strRefusal;
  strRefusal.LoadString(IDS_TB_CALENDAR_SLIDESHOW);
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEWMODE_MONTH);
  ASSERT_TRUE(m_pFrame->GetBrowserDocument()->GetBrowserStatus().IsMonthCalendarMode());
  for (UINT nID : {ID_TB_SLIDE_PLAY, ID_TB_SLIDESHOW_SETTINGS, ID_TB_SLIDE_OPEN_SCENARIO, ID_TB_SLIDE_NEW_COLLECTION}) {
    SCOPED_TRACE(nID);
    std::string said = MessageBoxText([&] { pToolbar->SendMessage(WM_COMMAND, nID); }, 3000);
    EXPECT_EQ(said, (LPCSTR)strRefusal);
    EXPECT_EQ(pToolbar->GetSlideCollectDlg(), nullptr);
  }
  m_pFrame->SendMessage(WM_COMMAND, ID_VIEWMODE_LARGE_ICONS);
  testsupport::RemoveTree(folder);
}

}  // namespace

namespace {

// Opens View from the menu bar by its access key, then Go inside it, as a user does with
// the keyboard (the system's own menu loop sends the popups' positions), and reads the
// state of a Go item while the menu is up; the menu is closed again. (UINT)-1 when the
// Go menu never showed.
UINT GoItemStateInTheMenuLoop(CMainFrame* pFrame, UINT nID) {
  HMENU hView = ::GetSubMenu(::GetMenu(pFrame->m_hWnd), 2);
  std::atomic<UINT> state{(UINT)-1};
  std::thread user([&] {
    const DWORD start = ::GetTickCount();
    auto popupOf = [](HMENU hMenu) {
      for (HWND w : testsupport::WindowsOf(::GetCurrentProcessId(), "#32768"))
        if (::IsWindowVisible(w) && (HMENU)::SendMessageA(w, MN_GETHMENU, 0, 0) == hMenu) return w;
      return (HWND)NULL;
    };
    HWND hViewPopup = NULL;
    while (!(hViewPopup = popupOf(hView)) && ::GetTickCount() - start < 10000) ::Sleep(20);
    HMENU hGo = NULL;
    for (int i = 0; hView && i < ::GetMenuItemCount(hView); ++i)
      if (HMENU h = ::GetSubMenu(hView, i))
        if (::GetMenuItemID(h, 0) == ID_GO_UP) hGo = h;
    if (hViewPopup && hGo) {
      ::PostMessageA(hViewPopup, WM_CHAR, 'g', 0);
      HWND hGoPopup = NULL;
      while (!(hGoPopup = popupOf(hGo)) && ::GetTickCount() - start < 10000) ::Sleep(20);
      if (hGoPopup) state = ::GetMenuState(hGo, nID, MF_BYCOMMAND);
    }
    ::EndMenu();
  });
  pFrame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 'v');
  user.join();
  testsupport::PumpPending();
  return state;
}

}  // namespace

// View ▸ Go ▸ open a folder by its path: usable while the disk tree is open, the first
// time the menu opens and after (the view menu loses the items of tools not installed,
// which moves Go up).
TEST_F(FrameTest, OpenFolderByPathIsUsableWhileTheDiskTreeIsOpen) {
  CFView_Folder* pFolder = m_pFrame->GetFolderPane();
  ASSERT_NE(pFolder, nullptr);
  CTreePluginManager& manager = pFolder->GetManager();
  CTreePluginEntry* pDisk = nullptr;
  for (int i = 0; i < manager.GetEntryCount(); ++i)
    if (manager.GetTitle(manager.GetEntry(i), manager.GetKind(manager.GetEntry(i))) ==
        LoadResourceText(IDS_TREE_TITLE_DISK))
      pDisk = manager.GetEntry(i);
  ASSERT_NE(pDisk, nullptr);
  // Opened here on the folder it shows: earlier tests of the shared frame may have chosen
  // another tree.
  if (!manager.IsActive(pDisk)) {
    CString open = CMGetProfileString("VazODA\\FolderInfo", "OpenFolder", "");
    if (open.IsEmpty()) open = testsupport::NewTempFolder("frame-gomenu").c_str();
    ASSERT_TRUE(pFolder->OpenFolderPath(open));
    testsupport::PumpPending();
  }
  ASSERT_TRUE(pDisk->m_pTreeWnd && manager.IsActive(pDisk)) << "the disk tree is open";
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const UINT state = GoItemStateInTheMenuLoop(m_pFrame, ID_GO_OPEN_PATH);
    ASSERT_NE(state, (UINT)-1) << "the Go menu did not open";
    EXPECT_FALSE(state & MF_GRAYED);
  }
}
