// The media neighbours: the movie controller's refusals, the zoom list, the slide show's
// settings and clean-up, the sound check that awaits nothing, the music view taking the
// browser's messages.
#include <gtest/gtest.h>

#include <profileroot.h>

#include <VxGUIDB.h>

#include "MainWndMessages.h"
#include "MovieCtrl.h"
#include "MusicView.h"
#include "SlideShowController.h"
#include "SoundCheckProcess.h"
#include "ZoomWndController.h"

TEST(Media, MovieOpensNeedATargetAndTheMissingBackEndsFail) {
  CMovieCtrl movie;
  RECT rc = {0, 0, 64, 48};
  DWORD disc[3] = {1, 2, 3};
  EXPECT_EQ(movie.OpenDirectShow("C:\\m.mp4", rc), E_FAIL);
  EXPECT_EQ(movie.OpenAvchd("C:\\m.mts", rc, 1), E_FAIL);
  CWnd a, b;  // any two windows: the target is only compared here
  movie.SetTarget(&a, 1);
  EXPECT_EQ(movie.GetTarget(), &a);
  EXPECT_EQ(movie.OpenQuickTime("C:\\m.mov", rc, FALSE), E_FAIL);
  EXPECT_TRUE(FAILED(movie.OpenDiscPlayer(rc, disc, 1)));  // no such scene (and no window)
  EXPECT_FALSE(movie.IsOpen());
  EXPECT_FALSE(movie.IsPlaying());
  EXPECT_TRUE(movie.IsQuickTimeUsable());  // the bridge lies beside the program
  EXPECT_FALSE(movie.IsFullScreen());
  EXPECT_FALSE(movie.ToggleFullScreen(TRUE));
  EXPECT_EQ(movie.GetDiscPlayerKind(), 2);  // a disc player was made for the try
  double pos = 5;
  EXPECT_FALSE(movie.GetPosition(pos));
  EXPECT_EQ(pos, 0);
  movie.SetTarget(&b, 0);
  EXPECT_EQ(movie.GetTarget(), &b);
}

TEST(Media, ZoomListNavigatesButOpensNoWindow) {
  std::vector<CThumbnail*> items;
  for (int i = 0; i < 5; ++i) items.push_back(new CThumbnail());
  CList<CThumbnail*, CThumbnail*> g1, g2;
  g1.AddTail(items[0]);
  g1.AddTail(items[1]);
  g2.AddTail(items[2]);
  CZoomWndController zoom;
  zoom.AddItem(g1);
  zoom.AddItem(g2);
  EXPECT_EQ(zoom.m_items.GetCurrentItem(), items[0]);
  EXPECT_FALSE(zoom.HasPrevItem());
  EXPECT_TRUE(zoom.HasNextItem());
  EXPECT_TRUE(zoom.HasNextGroup());
  zoom.ShowNextItem();
  // A group's last item has no next item (its group has none); the next group is there.
  EXPECT_EQ(zoom.m_items.GetCurrentItem(), items[1]);
  EXPECT_FALSE(zoom.HasNextItem());
  EXPECT_TRUE(zoom.HasNextGroup());
  EXPECT_TRUE(zoom.HasPrevItem());
  zoom.ShowNextItem();  // asked anyway: across into the second group
  EXPECT_EQ(zoom.m_items.GetCurrentItem(), items[2]);
  // The first item of a group has no previous item; the previous group is there.
  EXPECT_FALSE(zoom.HasPrevItem());
  EXPECT_FALSE(zoom.HasNextItem());
  EXPECT_TRUE(zoom.HasPrevGroup());
  zoom.ShowPrevItem();  // back to the first group's last item
  EXPECT_EQ(zoom.m_items.GetCurrentItem(), items[1]);
  zoom.ShowFirst();
  EXPECT_EQ(zoom.m_items.GetCurrentItem(), items[0]);
  // An item without a valid path: no window, and the list is cleared.
  EXPECT_EQ(zoom.Open(items[3], nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(zoom.GetWindow(), nullptr);
  EXPECT_TRUE(zoom.m_items.IsEmpty());
  EXPECT_EQ(zoom.GetCurrentPath(), "");
  for (CThumbnail* p : items) delete p;
}

TEST(Media, SlideShowKeepsSettingsAndDoesNotStart) {
  CSlideShowController show;
  std::vector<tagSLD_V_TYPE> slides(2);
  std::vector<tagSLD_A_TYPE> sounds(1);
  lstrcpyA(sounds[0].szPath, "C:\\bgm.mp3");
  EXPECT_EQ(show.GetParams(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), E_FAIL);
  std::vector<tagSLD_V_TYPE> none;
  EXPECT_EQ(show.SetParams(nullptr, SLD_QUALITY_0, SLD_TYPE_0, &none, &sounds, 0, 0), E_POINTER);
  EXPECT_EQ(show.SetParams(nullptr, (SLD_QUALITY)1, (SLD_TYPE)2, &slides, &sounds, 3, 4), S_OK);
  std::vector<tagSLD_A_TYPE> back;
  EXPECT_EQ(show.GetParams(nullptr, nullptr, nullptr, nullptr, &back, nullptr, nullptr), S_OK);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_STREQ(back[0].szPath, "C:\\bgm.mp3");
  EXPECT_EQ(show.Start(), E_FAIL);  // no slide file exists
}

TEST(Media, SlideShowCleanUpStaysInItsOwnFolder) {
  const CString folder = SlideShowTempFolder();
  ASSERT_FALSE(folder.IsEmpty());
  CreateDirectoryA(folder, nullptr);
  char szTemp[MAX_PATH];
  GetTempPathA(MAX_PATH, szTemp);
  const std::string victim = std::string(szTemp) + "slideshow_victim.txt";
  const std::string prepared = std::string((LPCSTR)folder) + "\\0001.bmp";
  for (const std::string& f : {victim, prepared}) {
    HANDLE h = CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  std::vector<tagSLD_V_TYPE> slides(2);
  lstrcpyA(slides[0].szPath, victim.c_str());
  lstrcpyA(slides[0].szPath2, victim.c_str());  // first prepared path: outside the folder
  lstrcpyA(slides[1].szPath, prepared.c_str());
  lstrcpyA(slides[1].szPath2, prepared.c_str());
  {
    CSlideShowController show;
    ASSERT_EQ(show.SetParams(nullptr, SLD_QUALITY_0, SLD_TYPE_0, &slides, nullptr, 1, 1), S_OK);
    show.Start();
    EXPECT_EQ(show.GetShowSlides().size(), 2u);
    show.Finish();
  }
  EXPECT_NE(GetFileAttributesA(victim.c_str()), INVALID_FILE_ATTRIBUTES);  // left alone
  EXPECT_EQ(GetFileAttributesA(prepared.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA(folder), INVALID_FILE_ATTRIBUTES);  // emptied, so removed
  DeleteFileA(victim.c_str());
}

TEST(Media, SoundCheckAwaitsNothing) {
  testsupport::ScopedProfileRoot profile("media-soundcheck");  // the check reads the stored state
  CSoundCheckProcess check(nullptr);
  EXPECT_TRUE(check.Check());  // the bridge lies beside the program
  EXPECT_FALSE(check.IsWaiting());
  EXPECT_TRUE(check.SetAvailable((WPARAM)0xFFFFFFFF, 1));
  EXPECT_TRUE(check.SetAvailable(5, 0));  // only the availability notice changes it
  EXPECT_TRUE(check.IsReady());
}

// Without a document or its list the view takes the browser's messages and does nothing.
TEST(Media, MusicViewTakesTheBrowsersMessages) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
  CMusicView* pView = static_cast<CMusicView*>(RUNTIME_CLASS(CMusicView)->CreateObject());
  ASSERT_NE(pView, nullptr);
  ASSERT_TRUE(pView->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 50, 50), &parent, 3, nullptr));
  EXPECT_EQ(pView->SendMessage(WM_BROWSER_RELOAD, 0, 0), 0);
  EXPECT_EQ(pView->SendMessage(WM_BROWSER_BEFORE_FOLDER_CHANGE, 0, 0), 0);
  EXPECT_EQ(pView->SendMessage(WM_BROWSER_MUSIC_STOP, 0, 0), 0);
  EXPECT_EQ(pView->GetList(), nullptr);
  EXPECT_FALSE(pView->IsPlaying());
  parent.DestroyWindow();
}
