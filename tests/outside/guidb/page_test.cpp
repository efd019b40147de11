// CThumbnailPage: folder scans, stopping, counting, sorting, removing, card audio areas.
#include <VxGUIDB.h>
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <thread>

#include "guidb_fixtures.h"

using namespace guidbtest;

namespace {

struct Collect : IThumbnailPage_AddFolderCallback {
  std::vector<CThumbnail*> seen;
  CThumbnailPage* page = nullptr;
  bool itemWasInPage = true;
  long stopAt = -1;         // answer this code at this many items
  long stopCode = ERROR_CANCELLED;
  int callStopAt = -1;      // or ask the page to stop
  long OnAddThumbnail(CThumbnail* t) override {
    seen.push_back(t);
    if (page && (t->GetPage() != page || page->IndexOf(t) < 0)) itemWasInPage = false;
    if (callStopAt >= 0 && int(seen.size()) == callStopAt) page->Stop();
    if (stopAt >= 0 && long(seen.size()) == stopAt) return stopCode;
    return 0;
  }
};

std::vector<std::string> Names(const CThumbnailPage& page) {
  std::vector<std::string> v;
  for (int i = 0; i < page.GetCount(); ++i) v.push_back((LPCSTR)page.GetAt(i)->GetFileName());
  return v;
}

// A folder with one file of every kind, two sub-folders, hidden entries and a content
// group of a ".cont" with its stream, thumbnail and still information.
std::string MakeMixedFolder() {
  std::string d = ScratchDir("mixed");
  CopyFixture("exif_full.jpg", d + "\\a.jpg");
  CopyFixture("exif_nothumb.jpg", d + "\\b.JPG");
  CopyFixture("image.png", d + "\\c.png");
  CopyFixture("image.gif", d + "\\d.gif");
  CopyFixture("exif.tif", d + "\\e.tif");
  CopyFixture("movie.mp4", d + "\\f.mp4");
  CopyFixture("tone.mp3", d + "\\g.mp3");
  testsupport::WriteWholeFile(d + "\\h.txt", "notes");
  testsupport::WriteWholeFile(d + "\\i.nef", "not really raw");
  CopyFixture("plain.jpg", d + "\\hidden.jpg");
  SetFileAttributesA((d + "\\hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CopyFixture("plain.jpg", d + "\\system.jpg");
  SetFileAttributesA((d + "\\system.jpg").c_str(), FILE_ATTRIBUTE_SYSTEM);
  CreateDirectoryA((d + "\\sub1").c_str(), nullptr);
  CreateDirectoryA((d + "\\Sub2").c_str(), nullptr);
  CreateDirectoryA((d + "\\hiddendir").c_str(), nullptr);
  SetFileAttributesA((d + "\\hiddendir").c_str(), FILE_ATTRIBUTE_HIDDEN);
  testsupport::WriteWholeFile(d + "\\00001.cont", "content");
  CopyFixture("movie.mp4", d + "\\00001.MTS");
  CopyFixture("plain.jpg", d + "\\00001.tmb");
  testsupport::WriteWholeFile(d + "\\00001.iis", "still info");
  return d;
}

TEST(PageScan, ListsEveryVisibleEntryWithItsKind) {
  std::string d = MakeMixedFolder();
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  Collect cb;
  cb.page = &page;
  ASSERT_EQ(0, page.Add((d + "\\").c_str(), TRUE, &cb, 0));
  EXPECT_EQ(page.GetCount(), int(cb.seen.size()));
  EXPECT_TRUE(cb.itemWasInPage);

  std::map<std::string, UINT> kinds;
  for (int i = 0; i < page.GetCount(); ++i) kinds[(LPCSTR)page.GetAt(i)->GetFileName()] = page.GetAt(i)->GetKindFlags();
  const std::map<std::string, UINT> want = {
      {"a.jpg", VXTYPE_JPEG},     {"b.JPG", VXTYPE_JPEG},           {"c.png", VXTYPE_BITMAP},
      {"d.gif", VXTYPE_BITMAP},   {"e.tif", VXTYPE_TIFF},           {"f.mp4", VXTYPE_MOVIE_MP4},
      {"g.mp3", VXTYPE_SOUND},    {"h.txt", VXTYPE_OTHER},          {"i.nef", VXTYPE_RAW},
      {"sub1", VXTYPE_FOLDER},    {"Sub2", VXTYPE_FOLDER},          {"00001.cont", VXTYPE_AVCHD},
      {"00001.MTS", VXTYPE_AVCHD | VXKIND_COMPANION}, {"00001.tmb", VXTYPE_JPEG | VXKIND_COMPANION},
      {"00001.iis", VXTYPE_OTHER | VXKIND_COMPANION},
  };
  EXPECT_EQ(want, kinds);

  // Folder entries carry the type text "."; content members are not listed, the ".cont" is.
  for (int i = 0; i < page.GetCount(); ++i) {
    CThumbnail* t = page.GetAt(i);
    std::string name = (LPCSTR)t->GetFileName();
    SCOPED_TRACE(name);
    EXPECT_EQ(t->IsFolder(), std::string((LPCSTR)t->GetFileExt()) == ".");
    bool member = name.compare(0, 6, "00001.") == 0;
    EXPECT_EQ(!member || name == "00001.cont", t->IsListed() != FALSE);
    EXPECT_EQ(member, (t->GetListFlags() & VXLIST_COMPANION) != 0);
  }

  // Without sub-folders: the same files, no folder entries.
  CThumbnailPage files(VXPAGE_FOLDER, 2);
  ASSERT_EQ(0, files.Add(d.c_str(), FALSE, nullptr, 0));
  EXPECT_EQ(page.GetCount() - 2, files.GetCount());
  EXPECT_EQ(nullptr, files.Find((d + "\\sub1").c_str()));
  EXPECT_NE(nullptr, files.Find((d + "\\A.JPG").c_str()));  // paths compare without case
}

// Listed on another thread, added on this one: the same items, in the same order, with
// the same kinds and content groups as the scan in one step.
TEST(PageScan, ListedElsewhereAddsAsTheScanDoes) {
  std::string d = MakeMixedFolder();
  for (BOOL sub : {TRUE, FALSE}) {
    SCOPED_TRACE(sub);
    CThumbnailPage scanned(VXPAGE_FOLDER, 1), added(VXPAGE_FOLDER, 2);
    ASSERT_EQ(0, scanned.Add(d.c_str(), sub, nullptr, 0));
    std::vector<WIN32_FIND_DATAA> entries;
    long listed = -1;
    std::thread([&] { listed = CThumbnailPage::ListFolder((d + "\\").c_str(), sub, &entries); }).join();
    ASSERT_EQ(0, listed);
    Collect cb;
    cb.page = &added;
    ASSERT_EQ(0, added.AddListed(d.c_str(), entries, &cb));
    EXPECT_EQ(added.GetCount(), int(cb.seen.size()));
    EXPECT_TRUE(cb.itemWasInPage);
    ASSERT_EQ(Names(scanned), Names(added));
    for (int i = 0; i < scanned.GetCount(); ++i) {
      EXPECT_EQ(scanned.GetAt(i)->GetKindFlags(), added.GetAt(i)->GetKindFlags()) << i;
      EXPECT_EQ(scanned.GetAt(i)->GetListFlags(), added.GetAt(i)->GetListFlags()) << i;
      EXPECT_STREQ(scanned.GetAt(i)->GetFilePath(), added.GetAt(i)->GetFilePath()) << i;
    }
  }
  std::vector<WIN32_FIND_DATAA> none;
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND),
            CThumbnailPage::ListFolder((ScratchDir() + "\\nowhere").c_str(), TRUE, &none));
  EXPECT_EQ(E_INVALIDARG, CThumbnailPage::ListFolder("", TRUE, &none));
  EXPECT_EQ(E_INVALIDARG, CThumbnailPage::ListFolder(d.c_str(), TRUE, nullptr));
  EXPECT_TRUE(none.empty());
}

TEST(PageScan, CountsByKind) {
  std::string d = MakeMixedFolder();
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, page.Add(d.c_str(), TRUE, nullptr, 0));
  struct {
    UINT mask;
    int count;
  } cases[] = {{0, 13}, {VXKIND_STILL, 7}, {VXTYPE_JPEG, 3}, {VXTYPE_BITMAP, 2}, {VXKIND_MOVIE, 3},
               {VXKIND_SOUND, 1}, {VXKIND_FOLDER, 0}};
  for (auto& c : cases) EXPECT_EQ(c.count, page.Size(c.mask)) << std::hex << c.mask;
}

TEST(PageScan, MissingFoldersAndBadArguments) {
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), page.Add((ScratchDir() + "\\nowhere\\").c_str(), TRUE, nullptr, 0));
  EXPECT_EQ(E_INVALIDARG, page.Add("", TRUE, nullptr, 0));
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), page.Add((ScratchDir() + "\\none.jpg").c_str(), 0));
  EXPECT_EQ(E_POINTER, page.Add(static_cast<CThumbnail*>(nullptr)));
  EXPECT_EQ(0, page.GetCount());
}

// "表" ends in the byte of a backslash, "ポ" in that of a "|".
TEST(PageScan, JapaneseNamesWhoseLastByteLooksLikeASeparator) {
  std::string d = ScratchDir("資料表");
  std::string file = d + "\\ポスター.jpg";
  ASSERT_TRUE(CopyFixture("plain.jpg", file));
  for (const std::string& p : {d, d + "\\", file}) EXPECT_TRUE(IsValidPath(p.c_str())) << p;

  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, page.Add((d + "\\").c_str(), FALSE, nullptr, 0));
  ASSERT_EQ(1, page.GetCount());
  EXPECT_STREQ("ポスター.jpg", page.GetAt(0)->GetFileName());
  EXPECT_EQ(page.GetAt(0), page.Find(file.c_str()));
  CThumbnail single;
  EXPECT_EQ(S_OK, single.SetPath(file.c_str()));

  CThumbnail folder((d + "\\").c_str());
  EXPECT_TRUE(folder.IsFolder());
  EXPECT_STREQ("資料表", folder.GetFileName());
  ASSERT_EQ(S_OK, folder.DecodeThumbnail());
  EXPECT_EQ(VXIMAGE_FOLDER, folder.GetDecodeImageType());  // previewed by the picture inside
}

std::string MakeManyFolder(int n) {
  std::string d = ScratchDir("many");
  char name[32];
  for (int i = 0; i < n; ++i) {
    snprintf(name, sizeof(name), "\\P%04d.JPG", i);
    CopyFixture("plain.jpg", d + name);
  }
  return d;
}

TEST(PageScan, AThousandFilesAndUniqueIdsAcrossPages) {
  std::string d = MakeManyFolder(1000);
  CThumbnailPage p1(VXPAGE_FOLDER, 1), p2(VXPAGE_FOLDER, 2);
  DWORD start = GetTickCount();
  ASSERT_EQ(0, p1.Add(d.c_str(), FALSE, nullptr, 0));
  DWORD took = GetTickCount() - start;
  ASSERT_EQ(0, p2.Add(d.c_str(), FALSE, nullptr, 0));
  ASSERT_EQ(1000, p1.GetCount());
  EXPECT_EQ("P0000.JPG", std::string((LPCSTR)p1.GetAt(0)->GetFileName()));
  EXPECT_EQ("P0999.JPG", std::string((LPCSTR)p1.GetAt(999)->GetFileName()));
  EXPECT_LT(took, 5000u) << "a scan reads directory entries only";
  std::set<DWORD> ids;
  for (CThumbnailPage* p : {&p1, &p2})
    for (int i = 0; i < p->GetCount(); ++i) {
      DWORD id = p->GetAt(i)->GetUniqueID(VXID_SLOT_VIEW);
      EXPECT_NE(VXID_NONE, id);
      EXPECT_EQ(VXID_NONE, p->GetAt(i)->GetUniqueID(VXID_SLOT_LIST));
      ids.insert(id);
    }
  EXPECT_EQ(2000u, ids.size());
}

TEST(PageScan, StopsWhenAskedAndKeepsWhatWasFound) {
  std::string d = MakeManyFolder(300);
  struct {
    const char* what;
    long stopAt;
    long stopCode;
    int callStopAt;
    long result;
    int count;
  } cases[] = {
      {"callback answers cancel", 10, ERROR_CANCELLED, -1, ERROR_CANCELLED, 10},
      {"callback answers another code", 3, 42, -1, 42, 3},
      {"Stop from inside the callback", -1, 0, 5, ERROR_CANCELLED, 5},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    CThumbnailPage page(VXPAGE_FOLDER, 1);
    Collect cb;
    cb.page = &page;
    cb.stopAt = c.stopAt;
    cb.stopCode = c.stopCode;
    cb.callStopAt = c.callStopAt;
    EXPECT_EQ(c.result, page.Add(d.c_str(), FALSE, &cb, 0));
    EXPECT_EQ(c.count, page.GetCount());
  }
}

TEST(PageScan, StopFromAnotherThread) {
  std::string d = MakeManyFolder(1000);
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  HANDLE first = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  struct Slow : IThumbnailPage_AddFolderCallback {
    HANDLE first;
    long OnAddThumbnail(CThumbnail*) override {
      SetEvent(first);
      Sleep(1);
      return 0;
    }
  } cb;
  cb.first = first;
  std::thread stopper([&] {
    WaitForSingleObject(first, 10000);
    page.Stop();
  });
  DWORD start = GetTickCount();
  long r = page.Add(d.c_str(), FALSE, &cb, 0);
  stopper.join();
  CloseHandle(first);
  EXPECT_EQ(ERROR_CANCELLED, r);
  EXPECT_LT(page.GetCount(), 1000);
  EXPECT_LT(GetTickCount() - start, 3000u);
}

// ---- Sorting ---------------------------------------------------------------------------
TEST(PageSort, OrdersByTheKeyLetters) {
  std::string d = ScratchDir("sort");
  testsupport::WriteWholeFile(d + "\\b.txt", std::string(300, 'x'));
  testsupport::WriteWholeFile(d + "\\A.png", std::string(100, 'x'));
  testsupport::WriteWholeFile(d + "\\c.jpg", std::string(200, 'x'));
  CreateDirectoryA((d + "\\zdir").c_str(), nullptr);
  SetWriteTime(d + "\\b.txt", 2020, 1, 1);
  SetWriteTime(d + "\\A.png", 2022, 1, 1);
  SetWriteTime(d + "\\c.jpg", 2021, 1, 1);
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, page.Add(d.c_str(), TRUE, nullptr, 0));
  struct {
    const char* keys;
    bool ascending;
    std::vector<std::string> want;
  } cases[] = {
      {"f", true, {"zdir", "A.png", "b.txt", "c.jpg"}},  {"f", false, {"zdir", "c.jpg", "b.txt", "A.png"}},
      {"zf", true, {"zdir", "A.png", "c.jpg", "b.txt"}}, {"zf", false, {"zdir", "b.txt", "c.jpg", "A.png"}},
      {"df", true, {"zdir", "b.txt", "c.jpg", "A.png"}}, {"ef", true, {"zdir", "c.jpg", "A.png", "b.txt"}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keys << (c.ascending ? " up" : " down"));
    ASSERT_EQ(0, page.Sort(c.keys, c.ascending));
    EXPECT_EQ(c.want, Names(page));
  }
  EXPECT_EQ(E_INVALIDARG, page.Sort("", true));
}

// ---- Removing ---------------------------------------------------------------------------
TEST(PageRemove, VanishedFilesAndSingleItems) {
  std::string d = ScratchDir("vanish");
  for (const char* n : {"\\1.jpg", "\\2.jpg", "\\3.jpg", "\\4.jpg"}) CopyFixture("plain.jpg", d + n);
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, page.Add(d.c_str(), FALSE, nullptr, 0));
  CThumbnail* two = page.GetAt(1);
  CThumbnail* four = page.GetAt(3);
  DeleteFileA((d + "\\2.jpg").c_str());
  DeleteFileA((d + "\\4.jpg").c_str());
  EXPECT_EQ(2, page.RemoveAllInvalidThumbnail());
  EXPECT_EQ((std::vector<std::string>{"1.jpg", "3.jpg"}), Names(page));
  EXPECT_FALSE(CThumbnail::CheckThumbnailPointer(two));  // the page deleted what it owned
  EXPECT_FALSE(CThumbnail::CheckThumbnailPointer(four));
  EXPECT_EQ(0, page.RemoveAllInvalidThumbnail());

  EXPECT_EQ(0, page.Remove((d + "\\1.JPG").c_str()));
  EXPECT_EQ((std::vector<std::string>{"3.jpg"}), Names(page));
  CThumbnail stranger((d + "\\3.jpg").c_str());
  EXPECT_EQ(E_INVALIDARG, page.Remove(&stranger));
  CThumbnail* three = page.GetAt(0);
  EXPECT_EQ(0, page.Remove(three));
  EXPECT_FALSE(CThumbnail::CheckThumbnailPointer(three));
  EXPECT_EQ(0, page.GetCount());
}

TEST(PageRemove, TheCalendarPageDoesNotOwnItsItems) {
  std::string d = ScratchDir("calendar");
  CopyFixture("exif_full.jpg", d + "\\a.jpg");
  CopyFixture("exif_nothumb.jpg", d + "\\b.jpg");
  CThumbnailPage folder(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, folder.Add(d.c_str(), FALSE, nullptr, 0));
  std::vector<CThumbnail*> copies;
  {
    CThumbnailPage calendar(VXPAGE_CALENDAR, 2);
    EXPECT_FALSE(calendar.OwnsItems());
    for (int i = 0; i < folder.GetCount(); ++i) {
      CThumbnail* copy = new CThumbnail(*folder.GetAt(i));
      EXPECT_TRUE(*copy == *folder.GetAt(i));
      EXPECT_NE(copy->GetUniqueID(VXID_SLOT_VIEW), folder.GetAt(i)->GetUniqueID(VXID_SLOT_VIEW));
      EXPECT_EQ(0, calendar.Add(copy));
      EXPECT_EQ(&calendar, copy->GetPage());
      copies.push_back(copy);
    }
    EXPECT_EQ(E_INVALIDARG, calendar.Add(folder.GetAt(0)));  // it belongs to a page already
    EXPECT_EQ(0, calendar.Sort("td", true));
    EXPECT_EQ("b.jpg", std::string((LPCSTR)calendar.GetAt(0)->GetFileName()));  // 2025 before 2026
    // A copy destroyed while on the page leaves the page.
    delete copies.back();
    copies.pop_back();
    EXPECT_EQ(1, calendar.GetCount());
  }
  for (CThumbnail* c : copies) {
    EXPECT_TRUE(CThumbnail::CheckThumbnailPointer(c));
    EXPECT_EQ(nullptr, c->GetPage());
    delete c;
    EXPECT_FALSE(CThumbnail::CheckThumbnailPointer(c));
  }
}

// ---- Keys, virtual folders, single files -----------------------------------------------
TEST(PageKeys, GroupInfoAndVirtualFolders) {
  CThumbnailGroupInfo a(2, "C:\\Pics\\"), b(2, "c:\\pics\\"), c(3, "C:\\Pics\\"), none;
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == c);
  EXPECT_FALSE(none.IsValid());
  EXPECT_TRUE(a.IsValid());

  std::string d = ScratchDir("virtual");
  CopyFixture("plain.jpg", d + "\\v.jpg");
  CThumbnailPage folderPage(VXPAGE_FOLDER, 1), keyless(VXPAGE_VIRTUAL, 2), listed(VXPAGE_VIRTUAL, 3);
  folderPage.SetGroupInfo(CThumbnailGroupInfo(1, (d + "\\").c_str()));
  keyless.SetGroupInfo(CThumbnailGroupInfo(3, ""));
  keyless.SetName("Favourites");
  EXPECT_FALSE(folderPage.IsVirtualFolder());
  EXPECT_TRUE(keyless.IsVirtualFolder());
  EXPECT_TRUE(folderPage.GetGroupInfo().IsFolder());
  EXPECT_STREQ("Favourites", keyless.GetName());

  listed.SetGroupInfo(CThumbnailGroupInfo(1, (d + "\\").c_str()));
  EXPECT_FALSE(listed.IsVirtualFolder());
  CThumbnail* added = nullptr;
  ASSERT_EQ(0, listed.Add((d + "\\v.jpg").c_str(), 1, &added));
  ASSERT_NE(nullptr, added);
  EXPECT_TRUE(listed.IsVirtualFolder());
  EXPECT_EQ(added, listed.Find((d + "\\V.JPG").c_str(), VXTYPE_JPEG));
  EXPECT_EQ(nullptr, listed.Find((d + "\\v.jpg").c_str(), VXKIND_MOVIE));
}

TEST(PageCard, AudioAreaTracks) {
  std::string card = ScratchDir("card");
  std::string audio = card + "\\SD_Audio", voice = card + "\\SD_Voice";
  CreateDirectoryA(audio.c_str(), nullptr);
  CreateDirectoryA(voice.c_str(), nullptr);
  for (const char* n : {"\\b.mp3", "\\a.mp3", "\\c.mp3"}) CopyFixture("tone.mp3", audio + n);
  testsupport::WriteWholeFile(audio + "\\readme.txt", "not a track");
  CopyFixture("tone.mp3", voice + "\\v1.mp3");

  CThumbnailPage page(VXPAGE_FOLDER, 1);
  Collect cb;
  ASSERT_EQ(0, page.Add_SDAudio(audio.c_str(), &cb));
  ASSERT_EQ(3, page.GetCount());
  EXPECT_EQ(3u, cb.seen.size());
  EXPECT_EQ((std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}), Names(page));
  for (int i = 0; i < 3; ++i) {
    CThumbnail* t = page.GetAt(i);
    EXPECT_EQ(UINT(VXTYPE_TRACK_AUDIO), t->GetKindFlags());
    EXPECT_EQ(VXFILE_CARDTRACK, t->GetFileKind());
    EXPECT_FALSE(t->IsCheckable());
    EXPECT_FALSE(t->IsFile());
    ASSERT_NE(nullptr, t->GetAudioTrackRecord());
    EXPECT_EQ(DWORD(i + 1), t->GetAudioTrackRecord()->dwTrack & 0xFF);
    EXPECT_TRUE(CThumbnailPage::IsValid_AudioInfo(t));
  }
  // A single file becomes the next track; the voice area's tracks lack the audio bit.
  CThumbnail* more = nullptr;
  ASSERT_EQ(0, page.Add_SDAudio((voice + "\\v1.mp3").c_str(), nullptr, &more));
  ASSERT_NE(nullptr, more);
  EXPECT_EQ(UINT(VXTYPE_TRACK_VOICE), more->GetKindFlags());
  EXPECT_EQ(4u, more->GetAudioTrackRecord()->dwTrack & 0xFF);
  ASSERT_EQ(0, page.Sort("mf", false));
  EXPECT_EQ("v1.mp3", std::string((LPCSTR)page.GetAt(0)->GetFileName()));
  DeleteFileA((audio + "\\a.mp3").c_str());
  EXPECT_FALSE(CThumbnailPage::IsValid_AudioInfo(page.Find((audio + "\\a.mp3").c_str())));
  CThumbnail plain((card + "\\SD_Voice\\v1.mp3").c_str());
  EXPECT_FALSE(CThumbnailPage::IsValid_AudioInfo(&plain));
}

TEST(PageAvchd, SceneImagesCarryTheirIndexes) {
  std::string d = ScratchDir("avchd");
  CopyFixture("plain.jpg", d + "\\scene.jpg");
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  Collect cb;
  ASSERT_EQ(0, page.AddAVCHD((d + "\\scene.jpg").c_str(), FALSE, &cb, 0, 2, 5, 7));
  ASSERT_EQ(1, page.GetCount());
  CThumbnail* t = page.GetAt(0);
  EXPECT_EQ(UINT(VXTYPE_AVCHD), t->GetKindFlags());
  int a, b, c;
  ASSERT_TRUE(t->GetAVCHDInfo(&a, &b, &c));
  EXPECT_EQ(2, a);
  EXPECT_EQ(5, b);
  EXPECT_EQ(7, c);
  DWORD params[4];
  t->GetPropertyParams(params);
  EXPECT_EQ(1u, params[0]);
  EXPECT_EQ(7u, params[3]);
  EXPECT_EQ(1u, cb.seen.size());
}

}  // namespace
