// The enlarged image view and the focus information in frames of their own: the selected
// picture upright and fitted, the same file kept, an unreadable one retried once, a movie
// with its picture and controls, a movie without a usable player; the focus information
// without plug-ins, painted plain.
#include <gtest/gtest.h>

#include <EnlargedImageView.h>
#include <FocusInfoView.h>
#include <ImgButton.h>
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <MovieCtrl.h>
#include <MovieCtrlBar.h>
#include <VxResourceIds.h>
#include <picture.h>
#include <pump.h>

#include "iconview_host.h"

namespace {

// A document whose one page holds the files of a folder, shown by one view in a frame.
template <class View>
struct Shown {
  CVxDocument* pDoc = nullptr;
  testsupport::CViewFrame* pFrame = nullptr;
  View* view = nullptr;
  CThumbnailPage* page = nullptr;

  explicit Shown(const std::string& folder, int cx = 400, int cy = 300) {
    pDoc = DYNAMIC_DOWNCAST(CVxDocument, RUNTIME_CLASS(CVxDocument)->CreateObject());
    pDoc->OnNewDocument();
    page = new CThumbnailPage(VXPAGE_FOLDER, 1);
    page->Add(folder.c_str(), FALSE, nullptr, 0);
    pDoc->GetBrowser()->GetPageList().AddPage(page);
    pFrame =
        testsupport::CreateViewFrame(pDoc, RUNTIME_CLASS(View), "shown", WS_POPUP | WS_VISIBLE, CRect(0, 0, cx, cy));
    if (!pFrame) return;
    view = static_cast<View*>(pFrame->GetView());
    view->OnInitialUpdate();
    uikit::PumpPending();
  }
  ~Shown() {
    if (pFrame) pFrame->DestroyWindow();
    uikit::PumpPending();
  }
  CThumbnail* Item(const char* name) const {
    for (int i = 0; i < page->GetCount(); ++i)
      if (page->GetAt(i)->GetFileName().CompareNoCase(name) == 0) return page->GetAt(i);
    return nullptr;
  }
  // Selects only this item, as a click in the icon view would (every view hears of it).
  void SelectOnly(const char* name) {
    pDoc->GetBrowser()->ClearSelect();
    pDoc->GetBrowser()->SelectItem(Item(name), nullptr);
    uikit::PumpPending();
  }
};

TEST(EnlargedView, ShowsTheSelectedPictureUprightAndFitted) {
  std::string folder = FixtureFolder("enlarged-show", {"exif_full.jpg", "plain.jpg", "rose.jpg"});
  Shown<CEnlargedImageView> s(folder);
  ASSERT_NE(s.view, nullptr);
  EXPECT_FALSE(s.view->HasPicture());

  s.SelectOnly("exif_full.jpg");
  ASSERT_TRUE(s.view->HasPicture());
  // 640 x 480 stored with orientation 6: shown 480 x 640, fitted to the 300 pixels' height.
  EXPECT_EQ(s.view->GetPictureSize().cx, 480);
  EXPECT_EQ(s.view->GetPictureSize().cy, 640);
  CRect client;
  s.view->GetClientRect(&client);
  EXPECT_EQ(s.view->GetBufferSize().cy, client.Height());
  EXPECT_EQ(s.view->GetBufferSize().cx, client.Height() * 480 / 640);
  EXPECT_EQ(s.pDoc->GetBrowser()->GetFocusItemID(), s.Item("exif_full.jpg")->GetUniqueID(VXID_SLOT_VIEW));

  // Another selection replaces it.
  s.SelectOnly("plain.jpg");
  ASSERT_TRUE(s.view->HasPicture());
  int cx = 0, cy = 0;
  s.Item("plain.jpg")->GetPropertySize(&cx, &cy);
  EXPECT_EQ(s.view->GetPictureSize().cx, cx);

  // Two selected: nothing.
  s.pDoc->GetBrowser()->SelectItem(s.Item("rose.jpg"), nullptr);
  uikit::PumpPending();
  EXPECT_FALSE(s.view->HasPicture());
  EXPECT_EQ(s.pDoc->GetBrowser()->GetFocusItemID(), VXID_NONE);
}

TEST(EnlargedView, TheSameFileIsNotLoadedAgain) {
  std::string folder = FixtureFolder("enlarged-same", {"plain.jpg", "rose.jpg"});
  Shown<CEnlargedImageView> s(folder);
  ASSERT_NE(s.view, nullptr);
  s.SelectOnly("plain.jpg");
  ASSERT_TRUE(s.view->HasPicture());
  // The bytes change behind the view, but not the file's time and size: it counts as the
  // same file, and a reload would fail.
  std::string path = folder + "\\plain.jpg";
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME created, accessed, written;
  ::GetFileTime(h, &created, &accessed, &written);
  std::string junk(::GetFileSize(h, NULL), 'x');
  DWORD n = 0;
  ::WriteFile(h, junk.data(), (DWORD)junk.size(), &n, NULL);
  ::SetFileTime(h, &created, &accessed, &written);
  ::CloseHandle(h);
  s.view->OnUpdate(nullptr, VXHINT_SELECTION, nullptr);
  EXPECT_TRUE(s.view->HasPicture());
  // Another file and back: now it is read again, and fails.
  s.SelectOnly("rose.jpg");
  ASSERT_TRUE(s.view->HasPicture());
  s.SelectOnly("plain.jpg");
  EXPECT_FALSE(s.view->HasPicture());
}

TEST(EnlargedView, AnUnreadablePictureIsTriedOnceMore) {
  // A picture cut after its first 200 bytes: a JPEG by its head, unreadable as a whole.
  std::string folder = testsupport::NewTempFolder("enlarged-retry");
  std::string head = testsupport::ReadWholeFile(testsupport::Fixture("exif_full.jpg")).substr(0, 200);
  testsupport::WriteWholeFile(folder + "\\not_image.jpg", head);
  Shown<CEnlargedImageView> s(folder);
  ASSERT_NE(s.view, nullptr);
  ASSERT_NE(s.Item("not_image.jpg"), nullptr);
  EXPECT_EQ(s.Item("not_image.jpg")->GetKindFlags() & VXKIND_STILL, (UINT)VXKIND_STILL);
  s.SelectOnly("not_image.jpg");
  EXPECT_FALSE(s.view->HasPicture());
  EXPECT_EQ(CMGetProfileInt(VXDOC_SECTION, "Wait", 0), 1);  // the retry is armed
  // After the retry (600 ms) the guard is down again and nothing is shown.
  EXPECT_TRUE(testsupport::WaitUntil([] { return CMGetProfileInt(VXDOC_SECTION, "Wait", 0) == 0; }, 3000));
  EXPECT_FALSE(s.view->HasPicture());
  EXPECT_TRUE(s.view->GetMessageText().IsEmpty());
}

// A retry that never runs (the view goes first) leaves no guard behind: the next picture
// that fails still gets its retry.
TEST(EnlargedView, ADroppedRetryLeavesNoGuard) {
  std::string folder = testsupport::NewTempFolder("enlarged-dropped");
  std::string head = testsupport::ReadWholeFile(testsupport::Fixture("exif_full.jpg")).substr(0, 200);
  testsupport::WriteWholeFile(folder + "\\broken.jpg", head);
  {
    Shown<CEnlargedImageView> s(folder);
    ASSERT_NE(s.view, nullptr);
    s.SelectOnly("broken.jpg");
    EXPECT_EQ(CMGetProfileInt(VXDOC_SECTION, "Wait", 0), 1);
  }
  EXPECT_EQ(CMGetProfileInt(VXDOC_SECTION, "Wait", 0), 0);
}

TEST(EnlargedView, AnApiMovieWithoutItsPlayerSaysSo) {
  std::string folder = FixtureFolder("enlarged-movie", {"movie.mov"});
  CMovieCtrl::SetBridgeLibrary("C:\\no-such-folder\\MovBridge.dll");
  CMovieCtrl movie;
  Shown<CEnlargedImageView> s(folder);
  ASSERT_NE(s.view, nullptr);
  s.pDoc->GetBrowser()->SetMoviePlayer(&movie);
  s.view->OnInitialUpdate();  // takes the document's movie controller
  s.SelectOnly("movie.mov");
  EXPECT_FALSE(s.view->HasPicture());
  EXPECT_FALSE(s.view->IsMovieLoaded());
  CResourceLoader res;
  CString want = res.LoadStringA(IDS_MOVIE_NEEDS_PLAYER) + res.LoadStringA(IDS_MOVIE_NEEDS_PLAYER_HINT);
  EXPECT_STREQ(s.view->GetMessageText(), want);
  // Nothing selected: the message goes.
  s.pDoc->GetBrowser()->SelectAll(FALSE, nullptr);
  uikit::PumpPending();
  EXPECT_TRUE(s.view->GetMessageText().IsEmpty());
  s.view->DestroyWindow();
  CMovieCtrl::SetBridgeLibrary(nullptr);
}

// A movie in the enlarged view: its first picture in the view (it stayed blank while the
// sound played), under it the skinned play and full-view buttons with their tooltips and
// the movie control bar over the movie's tenths of a second; the play button plays.
TEST(EnlargedView, AMovieShowsItsPictureAndTheSkinnedControls) {
  std::string folder = FixtureFolder("enlarged-mp4", {"movie.mp4"});
  CMovieCtrl movie;
  Shown<CEnlargedImageView> s(folder, 480, 360);
  ASSERT_NE(s.view, nullptr);
  s.pDoc->GetBrowser()->SetMoviePlayer(&movie);
  s.view->OnInitialUpdate();
  s.SelectOnly("movie.mp4");
  ASSERT_TRUE(s.view->IsMovieLoaded());

  std::vector<CImgButton*> buttons;
  CMovieCtrlBar* bar = nullptr;
  for (HWND h = ::GetWindow(s.view->GetSafeHwnd(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    CWnd* p = CWnd::FromHandlePermanent(h);
    if (CImgButton* b = DYNAMIC_DOWNCAST(CImgButton, p)) buttons.push_back(b);
    if (CMovieCtrlBar* m = DYNAMIC_DOWNCAST(CMovieCtrlBar, p)) bar = m;
  }
  ASSERT_EQ(buttons.size(), 2u);
  ASSERT_NE(bar, nullptr);
  CRect a, b;
  buttons[0]->GetWindowRect(&a);
  buttons[1]->GetWindowRect(&b);
  if (a.left > b.left) std::swap(buttons[0], buttons[1]);  // the play button is the left one
  CResourceLoader res;
  const CString tips[] = {res.LoadStringA(IDS_MOVIE_PLAY) + "/" + res.LoadStringA(IDS_MOVIE_PAUSE),
                          res.LoadStringA(IDS_ZOOM)};
  const UINT faces[] = {IDB_MOVIE_PLAY, IDB_MOVIE_ZOOM};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(buttons[i]->IsWindowVisible());
    EXPECT_TRUE(buttons[i]->IsWindowEnabled());
    CString text;
    buttons[i]->GetWindowText(text);
    EXPECT_STREQ(tips[i], text);
    // Sized to its normal picture, which is the resource library's.
    BITMAP bm = {};
    ASSERT_TRUE(buttons[i]->m_bitmap.GetSafeHandle());
    buttons[i]->m_bitmap.GetBitmap(&bm);
    CBitmapResourceContainer face;
    ASSERT_TRUE(face.Add(0, faces[i]));
    EXPECT_EQ(face.GetSize(0).cx, bm.bmWidth);
    EXPECT_EQ(face.GetSize(0).cy, bm.bmHeight);
    CRect rc;
    buttons[i]->GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), bm.bmWidth);
    EXPECT_TRUE(buttons[i]->m_bitmapDisabled.GetSafeHandle());
  }
  EXPECT_TRUE(bar->IsWindowVisible());
  EXPECT_TRUE(bar->IsWindowEnabled());
  EXPECT_EQ(bar->GetRangeMax(), 20);  // two seconds
  RECT channel;
  bar->GetChannelRect(&channel);
  CRect barClient;
  bar->GetClientRect(&barClient);
  EXPECT_EQ(channel.left, 6);
  EXPECT_EQ(channel.right, barClient.right - 6);

  // The first picture stands in the video area: the test pattern's red and blue bars.
  RECT video;
  s.view->GetVideoRect(&video);
  const CRect area(video);
  int reds = 0, blues = 0;
  testsupport::WaitUntil(
      [&] {
        testsupport::Picture shot(s.view->GetSafeHwnd(), testsupport::Picture::kClient);
        reds = shot.CountNear(area, RGB(255, 0, 0), 60);
        blues = shot.CountNear(area, RGB(0, 0, 255), 60);
        return reds > area.Width() * area.Height() / 20 && blues > area.Width() * area.Height() / 20;
      },
      5000);
  EXPECT_GT(reds, area.Width() * area.Height() / 20);
  EXPECT_GT(blues, area.Width() * area.Height() / 20);

  // A click on the play button plays.
  EXPECT_FALSE(movie.IsPlaying());
  buttons[0]->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  buttons[0]->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  uikit::PumpPending();
  EXPECT_TRUE(movie.IsPlaying());
  s.view->DestroyWindow();
}

// A movie of the movie-playback bridge that does not open while the bridge is in use (the
// movie controller initialised it): the view says the movie cannot be played.
TEST(EnlargedView, AnApiMovieThatDoesNotOpenCannotBePlayed) {
  // A QuickTime movie whose picture is of a kind no decoder knows: its head reads, it
  // does not open.
  std::string folder = testsupport::NewTempFolder("enlarged-badmovie");
  std::string bytes = testsupport::ReadWholeFile(testsupport::Fixture("movie.mov"));
  size_t codec = bytes.find("avc1");
  ASSERT_NE(codec, std::string::npos);
  bytes.replace(codec, 4, "zzzz");
  testsupport::WriteWholeFile(folder + "\\broken.mov", bytes);
  CMovieCtrl movie;
  ASSERT_TRUE(movie.IsQuickTimeUsable());
  Shown<CEnlargedImageView> s(folder);
  ASSERT_NE(s.view, nullptr);
  s.pDoc->GetBrowser()->SetMoviePlayer(&movie);
  s.view->OnInitialUpdate();
  s.SelectOnly("broken.mov");
  EXPECT_FALSE(s.view->IsMovieLoaded());
  EXPECT_STREQ(s.view->GetMessageText(), CResourceLoader().LoadStringA(IDS_BROWSER_MOVIE_FAILED));
  s.view->DestroyWindow();
}

TEST(FocusInfoView, WithoutPlugInsThereAreNoTabsAndTheMapRequestGoesNowhere) {
  std::string empty = testsupport::NewTempFolder("focusinfo-none");
  CFocusInfoView::SetPluginFolder(empty.c_str());
  std::string folder = FixtureFolder("focusinfo-files", {"plain.jpg"});
  {
    Shown<CFocusInfoView> s(folder);
    ASSERT_NE(s.view, nullptr);
    CFocusInfoTabCtrl& tabs = s.view->GetTabs();
    ASSERT_TRUE(tabs.GetSafeHwnd());
    EXPECT_EQ(tabs.GetItemCount(), 0);
    EXPECT_EQ(tabs.SendMessage(TCM_GETCURSEL), -1);
    s.SelectOnly("plain.jpg");
    CSendCommandObject map(ID_VIEW_MAP);
    s.view->OnUpdate(nullptr, VXHINT_COMMAND, &map);
    EXPECT_EQ(tabs.GetItemCount(), 0);
    EXPECT_EQ(tabs.SendMessage(TCM_GETCURSEL), -1);
    // No empty tab box: the pane is the browser's background, wall to wall.
    EXPECT_FALSE(s.view->HasPages());
    EXPECT_FALSE(tabs.IsWindowVisible());
    testsupport::Picture pane(s.view->GetSafeHwnd(), testsupport::Picture::kClient);
    RECT all = {0, 0, pane.Width(), pane.Height()};
    EXPECT_EQ(pane.Count(all, RGB(122, 142, 156)), pane.Width() * pane.Height());
  }
  CFocusInfoView::SetPluginFolder(nullptr);
}

}  // namespace

namespace {

// The test plug-ins copied into a folder of their own, with a file that is no library.
std::string PluginFolder() {
  std::string folder = testsupport::NewTempFolder("focusinfo-prp");
  std::string from = testsupport::ProgramFolder() + "\\testprp\\";
  for (const char* name : {"prp_five", "prp_one", "prp_three", "prp_nopriority", "prp_unsupported", "prp_noexports"})
    ::CopyFileA((from + name + ".prp").c_str(), (folder + "\\" + name + ".prp").c_str(), FALSE);
  testsupport::WriteWholeFile(folder + "\\bogus.prp", "not a library");
  return folder;
}

std::string TabText(CTabCtrl& tabs, int i) {
  char text[64] = "";
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  tabs.GetItem(i, &item);
  return text;
}

std::string PageText(CFocusInfoTabCtrl& tabs, int page, int id) {
  char text[600] = "";
  ::GetDlgItemTextA(tabs.GetPage(page)->GetSafeHwnd(), id, text, sizeof(text));
  return text;
}

TEST(FocusInfoView, PlugInPagesInPriorityOrderGetThePathAndTheMapRequest) {
  CFocusInfoView::SetPluginFolder(PluginFolder().c_str());
  std::string folder = FixtureFolder("focusinfo-pages", {"plain.jpg"});
  {
    Shown<CFocusInfoView> s(folder);
    ASSERT_NE(s.view, nullptr);
    CFocusInfoTabCtrl& tabs = s.view->GetTabs();
    // Supported pages only; no priority counts 0; the file that is no library and the
    // library without page exports are skipped.
    ASSERT_EQ(tabs.GetItemCount(), 4);
    EXPECT_TRUE(s.view->HasPages());
    EXPECT_TRUE(tabs.IsWindowVisible());
    EXPECT_EQ(TabText(tabs, 0), "Zero");
    EXPECT_EQ(TabText(tabs, 1), "One");
    EXPECT_EQ(TabText(tabs, 2), "Three");
    EXPECT_EQ(TabText(tabs, 3), "Five");
    EXPECT_EQ(tabs.SendMessage(TCM_GETCURSEL), 0);
    EXPECT_TRUE(tabs.GetPage(0)->IsWindowVisible());
    EXPECT_FALSE(tabs.GetPage(1)->IsWindowVisible());
    // Every page sits at the tab control's display area.
    CRect area, rc;
    tabs.GetClientRect(&area);
    tabs.SendMessage(TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
    tabs.GetPage(0)->GetWindowRect(&rc);
    tabs.ScreenToClient(&rc);
    EXPECT_EQ(rc.TopLeft(), area.TopLeft());

    s.SelectOnly("plain.jpg");
    std::string path = folder + "\\plain.jpg";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(PageText(tabs, i, 101), path) << i;
    // The map request reaches every page (the map component is not in use here), or, with
    // it, selects the fifth tab only if there is one.
    CSendCommandObject map(ID_VIEW_MAP);
    s.view->OnUpdate(nullptr, VXHINT_COMMAND, &map);
    if (!CMTLxIsUsedOrbisMap()) {
      for (int i = 0; i < 4; ++i) EXPECT_EQ(PageText(tabs, i, 103), "map") << i;
    } else {
      EXPECT_EQ(tabs.SendMessage(TCM_GETCURSEL), 0);
    }
    // A file that went away clears the pages.
    ::DeleteFileA(path.c_str());
    s.view->OnUpdate(nullptr, VXHINT_SELECTION, nullptr);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(PageText(tabs, i, 101), "") << i;
    // No selection: a refresh with hint 1 clears them too.
    s.pDoc->GetBrowser()->ClearSelect();
    s.view->OnUpdate(nullptr, VXHINT_SELECTION, nullptr);
    EXPECT_EQ(PageText(tabs, 0, 101), "");
  }
  CFocusInfoView::SetPluginFolder(nullptr);
}

}  // namespace
