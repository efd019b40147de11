// The browser document over real pages: selection, marks, counts, the notices it sends,
// and the settings it keeps.
#include <gtest/gtest.h>

#include <functional>

#include <Kitlib2/Profile.h>

#include "doc_fixtures.h"

namespace {

// Two folders of generated files, shown as two pages of a document with two views.
class BrowserDocTest : public testing::Test {
 protected:
  CVxDocument* m_pDoc = nullptr;
  CBrowserDocument* m_pBrowser = nullptr;
  CRecordingView* m_pView1 = nullptr;
  CRecordingView* m_pView2 = nullptr;
  CThumbnailPage* m_pOne = nullptr;
  CThumbnailPage* m_pTwo = nullptr;
  std::string m_one, m_two;

  void SetUp() override {
    m_one = doctest::ScratchDir("one");
    m_two = doctest::ScratchDir("two");
    ASSERT_TRUE(doctest::CopyFixture("plain.jpg", m_one + "\\a.jpg"));
    ASSERT_TRUE(doctest::CopyFixture("exif_full.jpg", m_one + "\\b.jpg"));
    ASSERT_TRUE(doctest::CopyFixture("image.png", m_one + "\\c.png"));
    ASSERT_TRUE(doctest::CopyFixture("movie.mp4", m_one + "\\d.mp4"));
    ASSERT_TRUE(doctest::CopyFixture("tone.mp3", m_one + "\\e.mp3"));
    ASSERT_TRUE(CreateDirectoryA((m_one + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(doctest::CopyFixture("rose.jpg", m_two + "\\x.jpg"));
    ASSERT_TRUE(doctest::CopyFixture("movie.mov", m_two + "\\y.mp4"));

    m_pDoc = static_cast<CVxDocument*>(RUNTIME_CLASS(CVxDocument)->CreateObject());
    m_pDoc->m_bAutoDelete = FALSE;
    m_pBrowser = m_pDoc->GetBrowser();
    m_pView1 = new CRecordingView;
    m_pView2 = new CRecordingView;
    m_pDoc->AddView(m_pView1);
    m_pDoc->AddView(m_pView2);
    m_pBrowser->SetViewMode(BROWSE_VIEW_LARGEICON);
    m_pBrowser->SetFilterType(0);

    m_pOne = new CThumbnailPage(VXPAGE_FOLDER, 1);
    m_pTwo = new CThumbnailPage(VXPAGE_FOLDER, 2);
    ASSERT_EQ(m_pOne->Add(m_one.c_str(), TRUE, nullptr, 0), 0);
    ASSERT_EQ(m_pTwo->Add(m_two.c_str(), TRUE, nullptr, 0), 0);
    // By name: folder entries first, then the files.
    m_pOne->Sort("f", true);
    m_pTwo->Sort("f", true);
    m_pBrowser->GetPageList().AddPage(m_pOne);
    m_pBrowser->GetPageList().AddPage(m_pTwo);
    ClearSeen();
  }

  void TearDown() override {
    delete m_pView1;
    delete m_pView2;
    delete m_pDoc;
  }

  CThumbnail* Item(const char* name) {
    std::string path = (name[0] == 'x' || name[0] == 'y' ? m_two : m_one) + "\\" + name;
    return m_pBrowser->GetThumbnail(path.c_str());
  }
  void ClearSeen() {
    m_pView1->m_seen.clear();
    m_pView2->m_seen.clear();
  }
  std::vector<std::string> SelectedNames() {
    std::vector<std::string> v;
    const CThumbnailList& sel = m_pBrowser->GetSelectList();
    for (POSITION pos = sel.GetHeadPosition(); pos;) v.push_back((LPCSTR)sel.GetNext(pos)->GetFileName());
    return v;
  }
};

}  // namespace

TEST_F(BrowserDocTest, SelectionKeepsItsOrderAndTellsTheOtherViews) {
  ASSERT_NE(Item("a.jpg"), nullptr);
  EXPECT_TRUE(m_pBrowser->SelectItem(Item("c.png"), m_pView1));
  EXPECT_TRUE(m_pBrowser->SelectItem(Item("a.jpg"), m_pView1));
  EXPECT_FALSE(m_pBrowser->SelectItem(Item("c.png"), m_pView1));  // selected already
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"c.png", "a.jpg"}));
  EXPECT_EQ(m_pBrowser->GetLastSelectedItem(), Item("a.jpg"));
  EXPECT_TRUE(Item("c.png")->IsSelect());
  // The sender is left out; the other view hears each change.
  EXPECT_TRUE(m_pView1->m_seen.empty());
  ASSERT_EQ(m_pView2->m_seen.size(), 2u);
  EXPECT_EQ(m_pView2->m_seen[0].hint, VXHINT_SELECTION);
  EXPECT_FALSE(m_pView2->m_seen[0].command);

  CStringList paths;
  paths.AddTail("stale");
  EXPECT_EQ(m_pBrowser->GetSelectFilePath(paths), 2);
  EXPECT_EQ(paths.GetHead(), (m_one + "\\c.png").c_str());

  EXPECT_TRUE(m_pBrowser->UnSelectItem(Item("c.png")));
  EXPECT_FALSE(Item("c.png")->IsSelect());
  EXPECT_FALSE(m_pBrowser->UnSelectItem(Item("c.png")));
  EXPECT_EQ(m_pBrowser->GetSelectCount(), 1);
  m_pBrowser->SelectAll(0);
  EXPECT_EQ(m_pBrowser->GetSelectCount(), 0);
  EXPECT_EQ(m_pBrowser->GetLastSelectedItem(), nullptr);
  EXPECT_FALSE(Item("a.jpg")->IsSelect());
  EXPECT_FALSE(m_pBrowser->SelectItem(nullptr));
}

TEST_F(BrowserDocTest, SelectAllAndReverseTakeWhatIsShown) {
  // Stills only: sub-folder entries always count as shown.
  m_pBrowser->SetFilterType(0x200);
  m_pBrowser->SelectAll(1);
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"sub", "a.jpg", "b.jpg", "c.png", "x.jpg"}));
  // Reverse over the same items: the movie and the sound stay out.
  m_pBrowser->SelectAll(0);
  m_pBrowser->SelectItem(Item("a.jpg"));
  m_pBrowser->SelectItem(Item("d.mp4"));  // not shown under the filter: it goes
  m_pBrowser->SelectReverse();
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"sub", "b.jpg", "c.png", "x.jpg"}));
  EXPECT_FALSE(Item("d.mp4")->IsSelect());
  // A scope of its own (the day calendar's day).
  CThumbnailList day;
  day.AddTail(Item("b.jpg"));
  day.AddTail(Item("y.mp4"));
  m_pBrowser->SelectReverse(nullptr, day);
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"y.mp4"}));

  // The calendar modes select on the calendar page.
  CThumbnailPage* pCalendar = new CThumbnailPage(VXPAGE_CALENDAR, 3);
  CThumbnail copyA(*Item("a.jpg")), copyY(*Item("y.mp4"));
  pCalendar->Add(&copyA);
  pCalendar->Add(&copyY);
  m_pBrowser->GetPageList().AddPage(pCalendar);
  m_pBrowser->SetFilterType(0);
  m_pBrowser->SetViewMode(BROWSE_VIEW_MONTH);
  m_pBrowser->SelectAll(1);
  EXPECT_EQ(m_pBrowser->GetSelectCount(), 2);
  EXPECT_TRUE(copyA.IsSelect());
  EXPECT_FALSE(Item("a.jpg")->IsSelect());
  EXPECT_EQ(m_pBrowser->GetFileCount(), 2);
  m_pBrowser->SelectAll(0);
  EXPECT_TRUE(m_pBrowser->GetPageList().RemovePage(pCalendar, TRUE));
}

TEST_F(BrowserDocTest, ItemsThatGoLeaveTheSelection) {
  m_pBrowser->SelectItem(Item("a.jpg"));
  CThumbnail* pB = Item("b.jpg");
  m_pBrowser->SelectItem(pB);
  ASSERT_EQ(m_pOne->Remove(pB), 0);  // the page deletes it
  EXPECT_EQ(m_pBrowser->GetSelectCount(), 1);
  EXPECT_EQ(m_pBrowser->GetLastSelectedItem(), Item("a.jpg"));
  // Deleting the pages leaves an empty selection behind.
  m_pBrowser->DeleteAllPages();
  EXPECT_EQ(m_pBrowser->GetSelectCount(), 0);
  EXPECT_EQ(m_pBrowser->GetFolderCount(), 0);
  EXPECT_EQ(m_pBrowser->GetFileCount(), 0);
}

TEST_F(BrowserDocTest, CountsFollowTheFilterAndTheMode) {
  struct {
    BROWSE_VIEW_MODE mode;
    UINT mask;
    int files;
  } cases[] = {
      {BROWSE_VIEW_LARGEICON, 0, 7},     {BROWSE_VIEW_LARGEICON, 0x200, 4}, {BROWSE_VIEW_LARGEICON, 0x210, 3},
      {BROWSE_VIEW_SMALLICON, 0x1000, 2}, {BROWSE_VIEW_MUSIC, 0x210, 7},    {BROWSE_VIEW_AUDIOLIST, 0x200, 7},
      {BROWSE_VIEW_MONTH, 0x200, 4},  // without a calendar page: the folder's pages
  };
  for (auto& c : cases) {
    m_pBrowser->SetViewMode(c.mode);
    m_pBrowser->SetFilterType(c.mask);
    EXPECT_EQ(m_pBrowser->GetFileCount(), c.files) << c.mode << " " << c.mask;
  }
  EXPECT_EQ(m_pBrowser->GetFolderCount(), 2);
  std::string upper = m_one + "\\A.JPG";
  EXPECT_EQ(m_pBrowser->GetThumbnail(upper.c_str()), Item("a.jpg"));
  EXPECT_EQ(m_pBrowser->GetThumbnail("C:\\nowhere.jpg"), nullptr);
  EXPECT_EQ(m_pBrowser->GetThumbnail(""), nullptr);
}

TEST_F(BrowserDocTest, MarksGoToTheMarkStore) {
  m_pBrowser->ClearMark();
  EXPECT_EQ(m_pBrowser->GetMarkCount(), 0);
  EXPECT_EQ(m_pBrowser->SetMark(Item("a.jpg"), 1), S_OK);
  EXPECT_EQ(m_pBrowser->SetMark(Item("sub"), 1), S_FALSE);  // folders carry no mark
  EXPECT_EQ(m_pBrowser->GetMarkCount(), 1);
  m_pBrowser->SelectItem(Item("a.jpg"));
  m_pBrowser->SelectItem(Item("x.jpg"));
  m_pBrowser->SelectItem(Item("sub"));
  EXPECT_EQ(m_pBrowser->SetMarkSelectedAll(1), 1);  // a.jpg had it, sub can't
  EXPECT_EQ(m_pBrowser->GetMarkCount(), 2);
  EXPECT_TRUE(Item("x.jpg")->GetMarkStatus(1));
  EXPECT_EQ(m_pBrowser->SetMarkSelectedAll(0), 2);
  EXPECT_EQ(m_pBrowser->GetMarkCount(), 0);
  // Clearing reaches marks of folders that are not shown too.
  m_pBrowser->SetMark(Item("b.jpg"), 1);
  std::string elsewhere = doctest::ScratchDir("elsewhere") + "\\z.jpg";
  ASSERT_TRUE(doctest::CopyFixture("plain.jpg", elsewhere));
  CThumbnail other(elsewhere.c_str());
  ASSERT_EQ(other.SetMarkStatus(1), S_OK);
  EXPECT_EQ(m_pBrowser->GetMarkCount(), 2);
  m_pBrowser->ClearMark();
  EXPECT_EQ(m_pBrowser->GetMarkCount(), 0);
  EXPECT_EQ(Item("b.jpg")->GetMarkStatus(0), 0);
  EXPECT_EQ(other.GetMarkStatus(1), 0);
  EXPECT_EQ(m_pBrowser->SetMark(nullptr, 1), E_POINTER);
}

TEST_F(BrowserDocTest, StateChangesTellTheViews) {
  struct {
    const char* name;
    std::function<void()> act;
    std::vector<LPARAM> hints;  // what the other view hears
  } cases[] = {
      {"filter", [&] { m_pBrowser->SetFilterType(0x1000, m_pView1); }, {VXHINT_FILTER}},
      {"sort", [&] { m_pBrowser->SetSortType(19, m_pView1); }, {VXHINT_SORT}},
      {"new mode", [&] { m_pBrowser->SetViewMode(BROWSE_VIEW_FOCUS, m_pView1); }, {VXHINT_VIEWMODE}},
      {"same mode", [&] { m_pBrowser->SetViewMode(BROWSE_VIEW_FOCUS, m_pView1); }, {}},
      {"calendar outside the calendars", [&] { m_pBrowser->SetCalendarFolder(m_pView1); }, {}},
      {"view status", [&] { m_pBrowser->SetViewStatus(BROWSE_ST_CHGFOLDER, m_pView1); }, {}},
      {"marks", [&] { m_pBrowser->SetMark(Item("a.jpg"), 0); }, {}},
  };
  for (auto& c : cases) {
    ClearSeen();
    c.act();
    EXPECT_TRUE(m_pView1->m_seen.empty()) << c.name;
    std::vector<LPARAM> got;
    for (auto& s : m_pView2->m_seen) got.push_back(s.hint);
    EXPECT_EQ(got, c.hints) << c.name;
  }
  EXPECT_EQ(m_pBrowser->GetSortType(), 19u);
  EXPECT_EQ(m_pBrowser->GetBrowserStatus().GetFilterID(), 4);
  EXPECT_TRUE(m_pBrowser->GetBrowserStatus().IsChgFolder());
  m_pBrowser->ClearViewStatus(BROWSE_ST_CHGFOLDER);
  EXPECT_FALSE(m_pBrowser->GetBrowserStatus().IsChgFolder());

  // In a calendar mode the calendar notice carries a command object.
  m_pBrowser->SetViewMode(BROWSE_VIEW_DAY);
  ClearSeen();
  m_pBrowser->SetCalendarFolder(nullptr);
  ASSERT_EQ(m_pView1->m_seen.size(), 1u);
  EXPECT_EQ(m_pView1->m_seen[0].hint, VXHINT_CALENDAR);
  EXPECT_TRUE(m_pView1->m_seen[0].command);
  EXPECT_EQ(m_pView1->m_seen[0].id, (UINT)VXCMD_CALENDAR_FOLDER);

  // Slide show, decode size, context menu point, shared values.
  m_pBrowser->SetSlideShowMode(true);
  EXPECT_EQ(m_pBrowser->GetViewStatus(), (UINT)BROWSE_ST_SLIDESHOW);
  m_pBrowser->SetSlideShowMode(false);
  EXPECT_FALSE(m_pBrowser->IsSlideShowMode());
  EXPECT_EQ(m_pBrowser->GetDecodeImageSize(), CSize(160, 160));
  m_pBrowser->SetViewMode(BROWSE_VIEW_SMALLICON);
  EXPECT_EQ(m_pBrowser->GetDecodeImageSize(), CSize(80, 80));
  EXPECT_EQ(m_pBrowser->GetContextMenuPosition(), CPoint(-1, -1));
  m_pBrowser->SetContextMenuPosition(CPoint(10, 20));
  EXPECT_EQ(m_pBrowser->GetContextMenuPosition(), CPoint(10, 20));
  m_pBrowser->EmptyContextMenuPosition();
  EXPECT_EQ(m_pBrowser->GetContextMenuPosition(), CPoint(-1, -1));
  EXPECT_NE(m_pBrowser->GetClipboardObject(), nullptr);
  int player = 0;
  m_pBrowser->SetMoviePlayer(&player);
  EXPECT_EQ(m_pBrowser->GetMoviePlayer(), &player);
  EXPECT_EQ(m_pBrowser->GetFocusItemID(), VXID_NONE);
}

TEST_F(BrowserDocTest, TheMainWindowGetsOneCountMessageAtATime) {
  CFrameWnd* pMain = new CFrameWnd;
  ASSERT_TRUE(pMain->Create(nullptr, "main", WS_OVERLAPPEDWINDOW));
  CWinApp& app = *AfxGetApp();
  app.m_pMainWnd = pMain;
  doctest::PumpPending();
  auto waiting = [&](UINT message) {
    int n = 0;
    MSG msg;
    while (PeekMessageA(&msg, pMain->m_hWnd, message, message, PM_REMOVE)) ++n;
    return n;
  };
  m_pBrowser->SelectItem(Item("a.jpg"));
  m_pBrowser->SelectItem(Item("b.jpg"));
  m_pBrowser->SelectAll(1);
  EXPECT_EQ(waiting(VXDOC_WM_STATUS_SELECT_COUNT), 1);
  m_pBrowser->SetMark(Item("a.jpg"), 1);
  m_pBrowser->SetMark(Item("a.jpg"), 0);
  EXPECT_EQ(waiting(VXDOC_WM_STATUS_MARK_COUNT), 1);
  EXPECT_TRUE(m_pBrowser->RenewalBrowser(1, 0));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, pMain->m_hWnd, VXDOC_WM_REFRESH_FOLDERS, VXDOC_WM_REFRESH_FOLDERS, PM_REMOVE));
  EXPECT_EQ(msg.wParam, (WPARAM)pMain->m_hWnd);
  app.m_pMainWnd = nullptr;
  pMain->DestroyWindow();
  EXPECT_FALSE(m_pBrowser->RenewalBrowser(0, 0));
}

// Other programs read DepthViewer\Mode as a view code: 1 for thumbnails of either size.
TEST(BrowserDocSettings, ModeIsWrittenAsTheViewCodeOtherProgramsRead) {
  CVxDocument* pDoc = static_cast<CVxDocument*>(RUNTIME_CLASS(CVxDocument)->CreateObject());
  CBrowserDocument* b = pDoc->GetBrowser();
  const struct {
    BROWSE_VIEW_MODE mode;
    int code;
  } cases[] = {{BROWSE_VIEW_FILEINFO, 3}, {BROWSE_VIEW_LARGEICON, 1}, {BROWSE_VIEW_CAMERAINFO, 4},
               {BROWSE_VIEW_SMALLICON, 1}, {BROWSE_VIEW_FOCUS, 5}, {BROWSE_VIEW_ZOOM, 6}};
  for (const auto& c : cases) {
    b->SetViewMode(c.mode);
    EXPECT_EQ(CMGetProfileInt("DepthViewer", "Mode", -1), c.code) << c.mode;
  }
  b->SetViewMode(BROWSE_VIEW_SMALLICON);
  delete pDoc;
  // The document itself still tells small from large icons at the next start.
  pDoc = static_cast<CVxDocument*>(RUNTIME_CLASS(CVxDocument)->CreateObject());
  EXPECT_EQ(pDoc->GetBrowser()->GetViewMode(), BROWSE_VIEW_SMALLICON);
  pDoc->GetBrowser()->SetViewMode(BROWSE_VIEW_LARGEICON);
  delete pDoc;
}

TEST(BrowserDocSettings, TheNextDocumentStartsWhereThisOneEnded) {
  {
    CVxDocument* pDoc = static_cast<CVxDocument*>(RUNTIME_CLASS(CVxDocument)->CreateObject());
    CBrowserDocument* b = pDoc->GetBrowser();
    b->SetViewMode(BROWSE_VIEW_CAMERAINFO);
    b->SetViewMode(BROWSE_VIEW_MONTH);  // a calendar is not where a start goes
    b->GetBrowserStatus().SetThumbMode(3);
    b->SetSortType(20);
    b->SetFilterType(0x210);
    b->SubFolderVisible(0);
    delete pDoc;
  }
  CVxDocument* pDoc = static_cast<CVxDocument*>(RUNTIME_CLASS(CVxDocument)->CreateObject());
  CBrowserDocument* b = pDoc->GetBrowser();
  EXPECT_EQ(b->GetViewMode(), BROWSE_VIEW_CAMERAINFO);
  EXPECT_EQ(b->GetBrowserStatus().GetThumbMode(), 3);
  EXPECT_EQ(b->GetSortType(), 20u);
  EXPECT_EQ(b->GetFilterType(), 0x210u);
  EXPECT_FALSE(b->IsSubFolderVisible());
  b->SubFolderVisible(1);
  b->SetViewMode(BROWSE_VIEW_LARGEICON);
  b->SetFilterType(0);
  b->SetSortType(11);
  delete pDoc;
}
