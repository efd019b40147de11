// CThumbnail: file facts, recording dates, Exif, music, marks, the photo database's
// following of file operations, favourites, rotation.
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <TickCache.h>
#include <VxGUIDB.h>
#include <gtest/gtest.h>
#include <pump.h>
#include <imaging/exif.h>
#include <keptags.h>
#include <shlobj.h>

#include <memory>
#include <thread>

#include "guidb_fixtures.h"
#include "turnsettings.h"

using namespace guidbtest;

namespace {

SYSTEMTIME Sys(int y, int mo, int d, int h, int mi, int s) {
  SYSTEMTIME st = {};
  st.wYear = WORD(y), st.wMonth = WORD(mo), st.wDay = WORD(d), st.wHour = WORD(h), st.wMinute = WORD(mi), st.wSecond = WORD(s);
  return st;
}

std::string Fmt(const SYSTEMTIME& st) {
  char b[64];
  snprintf(b, sizeof(b), "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
  return b;
}

TEST(ItemFile, PathsNamesAndKinds) {
  std::string d = ScratchDir("item");
  CopyFixture("plain.jpg", d + "\\x.jpg");
  CThumbnail t;
  EXPECT_EQ(E_INVALIDARG, t.SetPath(""));
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), t.SetPath((d + "\\missing.jpg").c_str()));
  ASSERT_EQ(S_OK, t.SetPath((d + "\\x.jpg").c_str()));
  EXPECT_STREQ("x.jpg", t.GetFileName());
  EXPECT_STREQ(".jpg", t.GetFileExt());
  EXPECT_STREQ("x.jpg", t.GetDisplayName());
  EXPECT_EQ(d + "\\", std::string((LPCSTR)t.GetFolderPath()));
  EXPECT_EQ(UINT(VXTYPE_JPEG), t.GetKindFlags());
  EXPECT_TRUE(t.IsFile());
  EXPECT_TRUE(t.IsValidPath());
  char small[4];
  EXPECT_FALSE(t.GetFilePath(small, sizeof(small)));  // doesn't fit: nothing half-copied
  EXPECT_EQ('\0', small[0]);
  EXPECT_TRUE(t == (d + "\\X.JPG").c_str());

  // Renamed on disk: the item follows, its kind with it.
  ASSERT_TRUE(MoveFileA((d + "\\x.jpg").c_str(), (d + "\\y.png").c_str()));
  EXPECT_FALSE(t.IsValidPath());
  ASSERT_EQ(S_OK, t.SetFileName("y.png"));
  EXPECT_TRUE(t.IsValidPath());
  EXPECT_EQ(UINT(VXTYPE_BITMAP), t.GetKindFlags());
  // The names Windows refuses are refused here too: the text kit's one rule.
  for (const char* bad : {"a\\b.png", "CON.png", "a?.png", "y.png.", ""})
    EXPECT_EQ(E_INVALIDARG, t.SetFileName(bad)) << bad;
  EXPECT_STREQ("y.png", t.GetFileName());

  CThumbnail folder((d + "\\").c_str());
  EXPECT_TRUE(folder.IsFolder());
  EXPECT_STREQ(".", folder.GetFileExt());
  EXPECT_STREQ("item", folder.GetFileName());
  EXPECT_FALSE(folder.IsCheckable());
  EXPECT_FALSE(folder.IsFile());
}

HRESULT MakeShortcut(const std::string& lnk, const std::string& target) {
  IShellLinkW* link = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&link);
  if (FAILED(hr)) return hr;
  wchar_t w[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, w, MAX_PATH);
  link->SetPath(w);
  IPersistFile* file = nullptr;
  hr = link->QueryInterface(IID_IPersistFile, (void**)&file);
  if (SUCCEEDED(hr)) {
    MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, w, MAX_PATH);
    hr = file->Save(w, TRUE);
    file->Release();
  }
  link->Release();
  return hr;
}

TEST(ItemFile, ShortcutsFollowTheirTargets) {
  CoInitialize(nullptr);
  std::string d = ScratchDir("links");
  CreateDirectoryA((d + "\\target").c_str(), nullptr);
  CopyFixture("plain.jpg", d + "\\pic.jpg");
  ASSERT_EQ(S_OK, MakeShortcut(d + "\\folder.lnk", d + "\\target"));
  ASSERT_EQ(S_OK, MakeShortcut(d + "\\picture.lnk", d + "\\pic.jpg"));
  struct {
    const char* lnk;
    UINT kind;
    std::string target;
    BOOL folder;
  } cases[] = {{"\\folder.lnk", 8208, d + "\\target", TRUE},
               {"\\picture.lnk", VXTYPE_FILE_SHORTCUT | VXTYPE_JPEG, d + "\\pic.jpg", FALSE}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.lnk);
    CThumbnail t((d + c.lnk).c_str());
    EXPECT_EQ(c.kind, t.GetKindFlags());
    char buf[520];
    BOOL isFolder = -1;
    ASSERT_EQ(S_OK, t.GetLinkedFilePath(buf, sizeof(buf), &isFolder));
    EXPECT_TRUE(lstrcmpiA(c.target.c_str(), buf) == 0) << buf;
    EXPECT_EQ(c.folder, isFolder);
  }
  CThumbnail plain((d + "\\pic.jpg").c_str());
  char buf[520];
  ASSERT_EQ(S_OK, plain.GetLinkedFilePath(buf, sizeof(buf)));
  EXPECT_EQ(d + "\\pic.jpg", std::string(buf));
  CoUninitialize();
}

TEST(ItemFile, IdsCopiesAndLiveness) {
  DWORD first = CThumbnail::IssueUniqueID();
  EXPECT_EQ(first + 1, CThumbnail::IssueUniqueID());
  CThumbnail* a = new CThumbnail(Fixture("plain.jpg").c_str());
  CThumbnail b(*a);
  EXPECT_NE(a->GetUniqueID(VXID_SLOT_VIEW), b.GetUniqueID(VXID_SLOT_VIEW));
  EXPECT_TRUE(*a == b);
  EXPECT_EQ(a->GetKindFlags(), b.GetKindFlags());
  a->SetUniqueID(5, VXID_SLOT_LIST);
  EXPECT_EQ(5u, a->GetUniqueID(VXID_SLOT_LIST));
  EXPECT_EQ(a->GetUniqueID(VXID_SLOT_VIEW), a->GetUniqueID(-1));
  a->Cut(true);
  a->SetSelect(TRUE);
  EXPECT_TRUE(a->IsCut());
  EXPECT_TRUE(a->IsSelect());
  EXPECT_TRUE(CThumbnail::CheckThumbnailPointer(a));
  delete a;
  EXPECT_FALSE(CThumbnail::CheckThumbnailPointer(a));
  EXPECT_FALSE(CThumbnail::CheckThumbnailPointer(nullptr));
  EXPECT_TRUE(CThumbnail::CheckThumbnailPointer(&b));
}

// ---- Recording dates ---------------------------------------------------------------------
TEST(ItemDates, ExifMovieHeaderAndFileTime) {
  std::string d = ScratchDir("dates");
  CopyFixture("plain.jpg", d + "\\nodate.jpg");
  SetWriteTime(d + "\\nodate.jpg", 2019, 7, 1, 8, 30);
  CopyFixture("exif_full.jpg", d + "\\old.jpg");
  imaging::ExifDateTime old;
  old.year = 1965, old.month = 4, old.day = 2, old.hour = 10;
  ASSERT_EQ(S_OK, imaging::WriteDateTime((d + "\\old.jpg").c_str(), old));
  CopyFixture("image.png", d + "\\future.png");
  SetWriteTime(d + "\\future.png", 2040, 2, 3, 4, 5);

  // The movie's header says 2024-05-06 07:08:09 UTC: shown in local time.
  SYSTEMTIME utc = Sys(2024, 5, 6, 7, 8, 9), movieLocal;
  FILETIME fu, fl;
  SystemTimeToFileTime(&utc, &fu);
  FileTimeToLocalFileTime(&fu, &fl);
  FileTimeToSystemTime(&fl, &movieLocal);

  struct {
    std::string path;
    SYSTEMTIME want;
  } cases[] = {
      {Fixture("exif_full.jpg"), Sys(2026, 3, 14, 9, 12, 5)},
      {Fixture("exif_nothumb.jpg"), Sys(2025, 12, 31, 23, 59, 58)},
      {Fixture("movie.mov"), movieLocal},
      {d + "\\nodate.jpg", Sys(2019, 7, 1, 8, 30, 0)},  // no Exif: the file's time
      {d + "\\old.jpg", Sys(1965, 4, 2, 10, 0, 0)},    // before 1971: the views call it undated
      {d + "\\future.png", Sys(2040, 2, 3, 4, 5, 0)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.path);
    CThumbnail t(c.path.c_str());
    SYSTEMTIME st;
    ASSERT_TRUE(t.GetRecDate(&st));
    st.wMilliseconds = 0;
    st.wDayOfWeek = 0;
    EXPECT_EQ(Fmt(c.want), Fmt(st));
    FILETIME ft;
    SystemTimeToFileTime(&c.want, &ft);
    EXPECT_EQ((ULONGLONG(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000000, t.GetRecTime() / 10000000);
  }

  // The calendar's order: by recording time, undated ones at the ends.
  CThumbnailPage page(VXPAGE_CALENDAR, 1);
  std::vector<std::unique_ptr<CThumbnail>> own;
  for (auto& c : cases) {
    own.emplace_back(new CThumbnail(c.path.c_str()));
    page.Add(own.back().get());
  }
  ASSERT_EQ(0, page.Sort("td", true));
  EXPECT_STREQ("old.jpg", page.GetAt(0)->GetFileName());
  EXPECT_STREQ("future.png", page.GetAt(5)->GetFileName());
}

// The date pass reads a picture once: its size, Exif data and thumbnail come with the date,
// so the picture is made even when the file is gone by then.
TEST(ItemDates, OneReadGivesDateSizeExifAndPicture) {
  std::string d = ScratchDir("onceread");
  std::string p = d + "\\once.jpg";
  CopyFixture("exif_full.jpg", p);
  CThumbnail t(p.c_str());
  ASSERT_EQ(S_OK, t.UpdateRecTime());
  ASSERT_TRUE(DeleteFileA(p.c_str()));
  SYSTEMTIME st;
  ASSERT_TRUE(t.GetRecDate(&st));
  EXPECT_EQ(2026, st.wYear);
  int cx = 0, cy = 0;
  EXPECT_TRUE(t.GetOriginalImageSize(&cx, &cy));
  EXPECT_EQ(480, cx);
  EXPECT_EQ(640, cy);
  ASSERT_NE(nullptr, t.GetExifData());
  EXPECT_STREQ("NV-D500", t.GetExifData()->szModel);
  t.SetDecodeSize(160, 160);
  ASSERT_EQ(S_OK, t.DecodeThumbnail(nullptr, nullptr));
  EXPECT_EQ(VXIMAGE_PICTURE, t.GetDecodeImageType());
  // The bytes serve once: cleared, the picture needs the file again.
  t.ClearImage(FALSE);
  t.DecodeThumbnail(nullptr, nullptr);
  EXPECT_NE(VXIMAGE_PICTURE, t.GetDecodeImageType());
}

// A head pass leaves its files open until it ends and then has them closed; outside a pass
// nothing stays open. A file can be taken alone only when no one else holds it.
TEST(ItemDates, AHeadPassClosesItsFilesWhenItEnds) {
  std::string d = ScratchDir("headpass");
  std::vector<std::string> paths;
  std::vector<std::unique_ptr<CThumbnail>> items;
  for (int i = 0; i < 3; ++i) {
    paths.push_back(d + "\\p" + std::to_string(i) + ".jpg");
    CopyFixture("exif_full.jpg", paths.back());
    items.emplace_back(new CThumbnail(paths.back().c_str()));
  }
  auto alone = [](const std::string& p) {
    HANDLE h = CreateFileA(p.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
  };
  CThumbnail::BeginHeadPass();
  for (auto& t : items) ASSERT_EQ(S_OK, t->UpdateRecTime());
  for (const std::string& p : paths) EXPECT_FALSE(alone(p)) << p << " was closed during the pass";
  CThumbnail::EndHeadPass();
  for (const std::string& p : paths) EXPECT_TRUE(testsupport::WaitUntil([&] { return alone(p); }, 5000)) << p;
  for (auto& t : items) {
    SYSTEMTIME st;
    ASSERT_TRUE(t->GetRecDate(&st));
    EXPECT_EQ(2026, st.wYear);
  }
  CThumbnail again(paths[0].c_str());
  ASSERT_EQ(S_OK, again.UpdateRecTime());
  EXPECT_TRUE(alone(paths[0]));
}

// ---- What the file holds -------------------------------------------------------------------
TEST(ItemInfo, ExifAndPictureSizes) {
  CThumbnail full(Fixture("exif_full.jpg").c_str());
  const VXEXIFDATA* ex = full.GetExifData();
  ASSERT_NE(nullptr, ex);
  EXPECT_STREQ("Norvane", ex->szMaker);
  EXPECT_STREQ("NV-D500", ex->szModel);
  EXPECT_EQ(6, ex->nOrientation);
  EXPECT_TRUE(ex->bHasDate);
  EXPECT_TRUE(ex->bHasThumbnail);
  EXPECT_TRUE(ex->bHasGps);
  EXPECT_NEAR(35.6586, ex->dLatitude, 1e-3);
  EXPECT_NEAR(139.7454, ex->dLongitude, 1e-3);

  CThumbnail sw(Fixture("exif_south_west.jpg").c_str());
  ASSERT_NE(nullptr, sw.GetExifData());
  EXPECT_LT(sw.GetExifData()->dLatitude, 0);
  EXPECT_LT(sw.GetExifData()->dLongitude, 0);

  struct {
    const char* file;
    int cx, cy;
    bool exif;
  } cases[] = {{"exif_full.jpg", 480, 640, true},  // orientation 6 shows it upright
               {"exif_nothumb.jpg", 640, 480, true},
               {"plain.jpg", 320, 240, false},
               {"image.png", 200, 150, false},
               {"exif.tif", 64, 96, true}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.file);
    CThumbnail t(Fixture(c.file).c_str());
    int cx = 0, cy = 0;
    EXPECT_TRUE(t.GetOriginalImageSize(&cx, &cy));
    EXPECT_EQ(c.cx, cx);
    EXPECT_EQ(c.cy, cy);
    EXPECT_EQ(c.exif, t.GetExifData() != nullptr);
    EXPECT_GT(t.GetBpp(), 0);
  }
  CThumbnail sound(Fixture("tone.mp3").c_str());
  int cx = 1, cy = 1;
  EXPECT_FALSE(sound.GetOriginalImageSize(&cx, &cy));
  EXPECT_EQ(0, cx);
  EXPECT_EQ(nullptr, sound.GetExifData());
  int q = full.GetQualityFlag();
  EXPECT_TRUE(q >= 1 && q <= 3) << q;
}

TEST(ItemInfo, MusicInformation) {
  CThumbnail tagged(Fixture("tagged.mp3").c_str());
  const CAudioTrackInfo* m = tagged.GetMusicInfo(0);
  ASSERT_NE(nullptr, m);
  EXPECT_STREQ("夜明けの歌", m->GetTitle());
  EXPECT_STREQ("Norvane", m->GetArtist());
  EXPECT_STREQ("テスト", m->GetAlbum());
  EXPECT_STREQ("3", m->GetTrack());
  EXPECT_GE(m->m_dwDurationMs, 2900u);
  EXPECT_LE(m->m_dwDurationMs, 3200u);
  EXPECT_EQ(0, strncmp(m->GetFormatText(), "MP3", 3));
  EXPECT_STREQ("0:03", m->GetTimeText());

  CThumbnail wav(Fixture("tone.wav").c_str());
  ASSERT_NE(nullptr, wav.GetMusicInfo());
  EXPECT_EQ(1000u, wav.GetMusicInfo()->m_dwDurationMs);
  EXPECT_STREQ("tone", wav.GetMusicInfo()->GetTitle());  // no tag: the file's base name
  EXPECT_STREQ("WAV 44.1kHz 16bit", wav.GetMusicInfo()->GetFormatText());

  CThumbnail picture(Fixture("plain.jpg").c_str());
  EXPECT_EQ(nullptr, picture.GetMusicInfo());
}

TEST(ItemInfo, CachedTextsAcrossThreads) {
  CThumbnail t(Fixture("plain.jpg").c_str());
  CString s;
  EXPECT_FALSE(t.GetStringData(0x10000001, s));
  std::thread writer([&] {
    for (UINT i = 1; i < 50; ++i) t.SetStringData(0x10000000 | i, std::to_string(i).c_str());
  });
  writer.join();
  ASSERT_TRUE(t.GetStringData(0x10000007, s));
  EXPECT_STREQ("7", s);
  t.ClearStringData();
  EXPECT_FALSE(t.GetStringData(0x10000007, s));
}

// ---- Marks, database, favourites -------------------------------------------------------------
TEST(ItemStores, MarksFollowTheStore) {
  UsePrivateStores();
  std::string d = ScratchDir("marks");
  CopyFixture("plain.jpg", d + "\\m.jpg");
  CThumbnail t((d + "\\m.jpg").c_str());
  EXPECT_EQ(0, t.GetMarkStatus(1));
  ASSERT_EQ(S_OK, t.SetMarkStatus(1));
  CThumbnail again((d + "\\M.JPG").c_str());
  EXPECT_EQ(1, again.GetMarkStatus(0));
  CStringList marked;
  EXPECT_GE(CThumbnail::GetAllCheckedImage(marked), 1);
  bool found = false;
  for (POSITION p = marked.GetHeadPosition(); p;)
    if (lstrcmpiA(marked.GetNext(p), (d + "\\m.jpg").c_str()) == 0) found = true;
  EXPECT_TRUE(found);
  ASSERT_EQ(S_OK, again.SetMarkStatus(0));
  EXPECT_EQ(1, t.GetMarkStatus(0));  // the item keeps what it read ...
  EXPECT_EQ(0, t.GetMarkStatus(1));  // ... until it asks the store again

  CThumbnail folder((d + "\\").c_str());
  EXPECT_EQ(E_INVALIDARG, folder.SetMarkStatus(1));
  EXPECT_EQ(0, folder.GetMarkStatus(1));
}

// The marks of a screenful of items in one read give what each item would read alone;
// an item that read its mark before keeps it, a folder has none.
TEST(ItemStores, MarksOfManyItemsReadTogether) {
  UsePrivateStores();
  std::string d = ScratchDir("marks-many");
  const char* names[] = {"one.jpg", "two.jpg", "none.jpg", "early.jpg"};
  for (const char* n : names) CopyFixture("plain.jpg", d + "\\" + n);
  CThumbnail one((d + "\\one.jpg").c_str()), two((d + "\\two.jpg").c_str()), none((d + "\\none.jpg").c_str()),
      early((d + "\\early.jpg").c_str()), folder((d + "\\").c_str());
  EXPECT_EQ(0, early.GetMarkStatus(0));
  ASSERT_EQ(S_OK, Mark_SetCheck((d + "\\ONE.JPG").c_str(), 1));
  ASSERT_EQ(S_OK, Mark_SetCheck((d + "\\two.jpg").c_str(), 2));
  ASSERT_EQ(S_OK, Mark_SetCheck((d + "\\early.jpg").c_str(), 1));
  CThumbnail* items[] = {&one, nullptr, &two, &none, &early, &folder};
  CThumbnail::ReadMarkStatus(items, 6);
  // Taken from the store now, the marks no longer follow it: what they read is what they show.
  for (const char* n : names) Mark_SetCheck((d + "\\" + n).c_str(), 0);
  EXPECT_EQ(1, one.GetMarkStatus(0));
  EXPECT_EQ(2, two.GetMarkStatus(0));
  EXPECT_EQ(0, none.GetMarkStatus(0));
  EXPECT_EQ(0, early.GetMarkStatus(0));
  EXPECT_EQ(0, folder.GetMarkStatus(0));
  CThumbnail::ReadMarkStatus(nullptr, 3);
  CThumbnail::ReadMarkStatus(items, 0);
}

TEST(ItemStores, DatabaseFollowsMovesCopiesAndDeletes) {
  UsePrivateStores();
  std::string d = ScratchDir("dbops");
  std::string a = d + "\\a.jpg", b = d + "\\b.jpg", c = d + "\\c.jpg";
  CopyFixture("plain.jpg", a);
  ASSERT_EQ(S_OK, VxDBWEnrollFile(a.c_str(), 0));
  ASSERT_EQ(S_OK, Mark_SetCheck(a.c_str(), 1));
  int state = -1;

  ASSERT_TRUE(MoveFileA(a.c_str(), b.c_str()));
  EXPECT_EQ(S_OK, CThumbnail::MoveFileFromDatabase(a.c_str(), b.c_str()));
  EXPECT_EQ(S_OK, VxDBWIsEnrolled(b.c_str()));
  EXPECT_NE(S_OK, VxDBWIsEnrolled(a.c_str()));
  Mark_GetCheck(b.c_str(), &state);
  EXPECT_EQ(1, state);
  Mark_GetCheck(a.c_str(), &state);
  EXPECT_EQ(0, state);

  ASSERT_TRUE(CopyFileA(b.c_str(), c.c_str(), FALSE));
  EXPECT_EQ(S_OK, CThumbnail::CopyFileFromDatabase(b.c_str(), c.c_str()));
  EXPECT_EQ(S_OK, VxDBWIsEnrolled(b.c_str()));
  EXPECT_EQ(S_OK, VxDBWIsEnrolled(c.c_str()));
  Mark_GetCheck(c.c_str(), &state);
  EXPECT_EQ(1, state);

  ASSERT_TRUE(DeleteFileA(c.c_str()));
  EXPECT_EQ(S_OK, CThumbnail::DeleteFileFromDatabase(c.c_str()));
  EXPECT_NE(S_OK, VxDBWIsEnrolled(c.c_str()));
  Mark_GetCheck(c.c_str(), &state);
  EXPECT_EQ(0, state);

  // Files the database never knew: nothing to follow, no failure.
  EXPECT_EQ(S_OK, CThumbnail::MoveFileFromDatabase((d + "\\x.jpg").c_str(), (d + "\\y.jpg").c_str()));
  EXPECT_EQ(S_OK, CThumbnail::DeleteFileFromDatabase((d + "\\x.jpg").c_str()));
  EXPECT_EQ(E_INVALIDARG, CThumbnail::CopyFileFromDatabase("", b.c_str()));
}

TEST(ItemStores, FavouritesWrittenBack) {
  UsePrivateStores();
  std::string d = ScratchDir("favs");
  std::string p = d + "\\f.jpg";
  CopyFixture("plain.jpg", p);
  CThumbnail t(p.c_str());
  t.SetMyFavorite(TRUE);
  CThumbnail other(p.c_str());
  EXPECT_EQ(S_OK, other.MyFavoriteExtract(0));
  EXPECT_TRUE(other.IsMyFavoriteFromDB());  // a change not yet written counts already
  ASSERT_EQ(S_OK, CThumbnail::UpdateFavoriteDataBase());
  BOOL fav = FALSE;
  ASSERT_EQ(S_OK, VxDBWGetFavorite(p.c_str(), &fav));  // enrolled on the way
  EXPECT_TRUE(fav);
  CThumbnail fresh(p.c_str());
  EXPECT_FALSE(fresh.IsMyFavoriteFromDB());
  fresh.MyFavoriteRenewal();
  EXPECT_TRUE(fresh.IsMyFavoriteFromDB());
  t.SetMyFavorite(FALSE);
  ASSERT_EQ(S_OK, CThumbnail::UpdateFavoriteDataBase());
  VxDBWGetFavorite(p.c_str(), &fav);
  EXPECT_FALSE(fav);
  EXPECT_EQ(S_OK, CThumbnail::UpdateFavoriteDataBase());  // nothing pending
}

// A folder's favourites come from one read of the database, taken again after a renewal
// (a change made elsewhere is seen then) and after the library's own writes.
TEST(ItemStores, FolderFavouritesReadTogether) {
  UsePrivateStores();
  std::string d = ScratchDir("folderfavs");
  std::string a = d + "\\a.jpg", b = d + "\\b.jpg";
  CopyFixture("plain.jpg", a);
  CopyFixture("plain.jpg", b);
  ASSERT_EQ(S_OK, CThumbnail::UpdateFavoriteDataBase());
  for (const std::string& p : {a, b}) ASSERT_EQ(S_OK, VxDBWEnrollFile(p.c_str(), 0));
  ASSERT_EQ(S_OK, VxDBWSetFavorite(a.c_str(), TRUE));
  CThumbnail ta(a.c_str()), tb(b.c_str());
  EXPECT_EQ(S_OK, ta.MyFavoriteExtract(0));
  EXPECT_TRUE(ta.IsMyFavoriteFromDB());
  EXPECT_EQ(S_OK, tb.MyFavoriteExtract(0));
  EXPECT_FALSE(tb.IsMyFavoriteFromDB());
  // Another program marks b: the folder's read stands until the renewal.
  ASSERT_EQ(S_OK, VxDBWSetFavorite(b.c_str(), TRUE));
  tb.MyFavoriteExtract(0);
  EXPECT_FALSE(tb.IsMyFavoriteFromDB());
  ASSERT_EQ(S_OK, CThumbnail::UpdateFavoriteDataBase());
  tb.MyFavoriteRenewal();
  EXPECT_TRUE(tb.IsMyFavoriteFromDB());
  // The library's own change is seen at once.
  ta.SetMyFavorite(FALSE);
  ASSERT_EQ(S_OK, CThumbnail::UpdateFavoriteDataBase());
  CThumbnail again(a.c_str());
  again.MyFavoriteExtract(0);
  EXPECT_FALSE(again.IsMyFavoriteFromDB());
}

TEST(ItemStores, KeywordsAndCommentOfAFile) {
  UsePrivateStores();
  std::string d = ScratchDir("keywords");
  std::string p = d + "\\k.jpg";
  CopyFixture("plain.jpg", p);
  CThumbnail t(p.c_str());
  char buf[64];
  EXPECT_FALSE(t.GetKeywords(buf, sizeof(buf)));
  METADATA* list = nullptr;
  ASSERT_EQ(S_OK, VxDBWxCreateKeywordList(&list, "海|夏休み"));
  ASSERT_EQ(S_OK, VxDBWRegisterFile(p.c_str(), list));
  VxDBWxFreeRegisterList(&list);
  ASSERT_TRUE(t.GetKeywords(buf, sizeof(buf)));
  EXPECT_STREQ("海|夏休み", buf);
  char tiny[4];
  EXPECT_FALSE(t.GetKeywords(tiny, sizeof(tiny)));
  EXPECT_FALSE(t.GetComment(buf, sizeof(buf)));  // no Exif title in this picture
}

// ---- Rotation ------------------------------------------------------------------------------------
using testsupport::TurnSettings;

int OrientationOf(const std::string& path) {
  imaging::Exif ex;
  return ex.Load(path.c_str()) ? ex.Orientation() : -1;
}

TEST(ItemRotation, ExifOrientationPixelsAndNewFiles) {
  std::string d = ScratchDir("turn");
  CopyFixture("exif_full.jpg", d + "\\o6.jpg");
  CopyFixture("exif_nothumb.jpg", d + "\\o1.jpg");
  CopyFixture("image.png", d + "\\p.png");
  CopyFixture("movie.mp4", d + "\\m.mp4");
  CopyFixture("plain.jpg", d + "\\busy.jpg");
  // Another program holds the file open without sharing: the write fails.
  HANDLE busy = CreateFileA((d + "\\busy.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, busy);
  char newPath[521];
  {
    TurnSettings lossless(0, 0);
    CThumbnail t((d + "\\o6.jpg").c_str());
    int cx, cy;
    ASSERT_TRUE(t.GetOriginalImageSize(&cx, &cy));
    ASSERT_EQ(480, cx);
    ASSERT_EQ(0, t.Rotation(9000, newPath));
    EXPECT_STREQ("", newPath);
    EXPECT_EQ(imaging::RotateOrientation(6, 90), OrientationOf(d + "\\o6.jpg"));
    ASSERT_TRUE(t.GetOriginalImageSize(&cx, &cy));  // read again after the change
    EXPECT_EQ(640, cx);
    EXPECT_EQ(imaging::RotateOrientation(6, 90), t.GetExifData()->nOrientation);
    ASSERT_EQ(0, t.Rotation(-9000, newPath));
    EXPECT_EQ(6, OrientationOf(d + "\\o6.jpg"));

    CThumbnail png((d + "\\p.png").c_str());  // no orientation to write: its pixels turn
    ASSERT_EQ(0, png.Rotation(9000, newPath));
    ASSERT_TRUE(png.GetOriginalImageSize(&cx, &cy));
    EXPECT_EQ(150, cx);
    EXPECT_EQ(200, cy);

    struct {
      const char* file;
      int angle;
      int result;
    } refused[] = {{"\\m.mp4", 9000, 50}, {"\\o1.jpg", 4500, 87}, {"\\busy.jpg", 9000, 29}};
    for (auto& r : refused) {
      CThumbnail x((d + r.file).c_str());
      EXPECT_EQ(r.result, x.Rotation(r.angle, newPath)) << r.file;
    }
    CloseHandle(busy);
    CThumbnail same((d + "\\o1.jpg").c_str());
    EXPECT_EQ(0, same.Rotation(36000, newPath));  // a whole turn does nothing
    EXPECT_EQ(1, OrientationOf(d + "\\o1.jpg"));
  }
  {
    TurnSettings pixels(1, 0);
    CThumbnail t((d + "\\o1.jpg").c_str());
    ASSERT_EQ(0, t.Rotation(9000, newPath));
    int cx, cy;
    ASSERT_TRUE(t.GetOriginalImageSize(&cx, &cy));
    EXPECT_EQ(480, cx);
    EXPECT_EQ(640, cy);
    int o = OrientationOf(d + "\\o1.jpg");
    EXPECT_TRUE(o == 1 || o == 0) << o;
  }
  {
    TurnSettings newFile(0, 1);
    CThumbnail t((d + "\\o6.jpg").c_str());
    ASSERT_EQ(0, t.Rotation(18000, newPath));
    EXPECT_EQ(d + "\\o6_r.jpg", std::string(newPath));
    EXPECT_EQ(6, OrientationOf(d + "\\o6.jpg"));
    EXPECT_EQ(imaging::RotateOrientation(6, 180), OrientationOf(newPath));
    ASSERT_EQ(0, t.Rotation(18000, newPath));
    EXPECT_EQ(d + "\\o6_r2.jpg", std::string(newPath));
  }
  {
    // The caller's settings win over the user's: the file is replaced, losslessly.
    TurnSettings user(1, 1);
    CThumbnail t((d + "\\o6.jpg").c_str());
    ASSERT_EQ(0, t.Rotation(9000, 0, 0, newPath));
    EXPECT_STREQ("", newPath);
    EXPECT_EQ(imaging::RotateOrientation(6, 90), OrientationOf(d + "\\o6.jpg"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((d + "\\o6_r3.jpg").c_str()));
  }
}

// Pixels turned into a new file keep what the picture says of itself (Exif with GPS, XMP,
// IPTC), as the picture tools' output keeps it.
TEST(ItemRotation, TurnedPixelsKeepEveryTag) {
  std::string d = ScratchDir("turntags");
  TurnSettings pixelsToNewFile(1, 1);
  for (const char* fixture : {"all_tags.jpg", "all_tags.png"}) {
    SCOPED_TRACE(fixture);
    CopyFixture(fixture, d + "\\" + fixture);
    CThumbnail t((d + "\\" + fixture).c_str());
    char newPath[521];
    ASSERT_EQ(0, t.Rotation(9000, newPath));
    EXPECT_EQ(imgtest::LostTags(d + "\\" + fixture, newPath), "");
  }
}

}  // namespace
