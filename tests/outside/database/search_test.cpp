// Searches, memorised results and classification.
#include <Kitlib2/CMDIB.h>

#include <algorithm>
#include <ctime>

#include <fuzz.h>
#include <program.h>
#include <sqlite3.h>

#include "dbtest.h"

using dbtest::DbTest;
using dbtest::Search;

namespace {

long Local(int y, int m, int d, int h = 12) {
  struct tm t = {};
  t.tm_year = y - 1900;
  t.tm_mon = m - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_isdst = -1;
  return static_cast<long>(mktime(&t));
}

class SearchTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    a_ = data_ + "\\2010_05_01\\A.JPG";
    b_ = data_ + "\\2010_05_01\\B.JPG";
    c_ = data_ + "\\2011_01_02\\sub\\C.JPG";
    Add(a_, dbtest::FullList(Local(2010, 5, 1), "海||夏", "Norvane", "NV-10", "夜景", "2010_05_01",
                             (data_ + "\\2010_05_01\\").c_str(), "千代田区"));
    Add(b_, dbtest::FullList(Local(2010, 5, 31, 23), "山", "Norvane", "NV-20", "人物", "2010_05_01",
                             (data_ + "\\2010_05_01\\").c_str(), "京都市"));
    Add(c_, dbtest::FullList(Local(2011, 1, 2), "海", "Other", "X|1", "夜景", "sub",
                             (data_ + "\\2011_01_02\\sub\\").c_str(), nullptr));
    VxDBWSetFavorite(b_.c_str(), TRUE);
    VxDBWSetPrintCount(c_.c_str(), 2);
  }
  void Add(const std::string& path, METADATA* list) {
    ASSERT_EQ(VxDBWRegisterFile(path.c_str(), list), S_OK);
    VxDBWxFreeRegisterList(&list);
  }
  std::string a_, b_, c_;
};

}  // namespace

TEST_F(SearchTest, QueriesFindTheirFiles) {
  std::string root = data_;
  const struct {
    std::string query;
    std::vector<std::string> want;
  } cases[] = {
      {"Keywords,海", {a_, c_}},
      {"keywords,夏|Keywords,海", {a_}},
      {"Keywords,海|%|", {a_, c_}},
      {"Keywords,海*", {a_, c_}},
      {"Maker,norvane", {a_, b_}},
      {"Maker,Norvane|Model,NV-2?", {b_}},
      {"Model,\"X|1\"", {c_}},
      {"Scene,夜景", {a_, c_}},
      {"Date,2010/05", {a_, b_}},
      {"Date,2010-05-31", {b_}},
      {"Date,2010/05/02,2011", {b_, c_}},
      {"Date,2012", {}},
      {"FolderName,2010_05_01", {a_, b_}},
      {"Folder," + root + "\\2011_01_02", {}},
      {"Path," + root + "\\2011_01_02", {c_}},
      {"City,京都市", {b_}},
      {"Location,東京*", {a_, b_}},
      {"Favorite,1", {b_}},
      {"Print,1", {c_}},
      {"Name,b.jpg", {b_}},
      {"ModelInfo.Model,NV-10", {a_}},
  };
  for (const auto& c : cases) {
    HRESULT hr = E_FAIL;
    EXPECT_EQ(Search(c.query.c_str(), &hr), c.want) << c.query;
    EXPECT_EQ(hr, c.want.empty() ? VXDB_E_NOTFOUND : S_OK) << c.query;
  }
  for (const char* bad : {"", "Keywords", "NoField,x", "Date,2010/13", "Date,yesterday", ",x"}) {
    HRESULT hr = S_OK;
    Search(bad, &hr);
    EXPECT_EQ(hr, E_INVALIDARG) << bad;
  }
  // "ポ" is 0x83 0x7C: its trail byte is the separator's code; the keyword stays whole.
  METADATA* list = nullptr;
  VxDBWxCreateKeywordList(&list, "スポーツ||夏");
  ASSERT_EQ(VxDBWUpdateFile(b_.c_str(), list), S_OK);
  VxDBWxFreeRegisterList(&list);
  EXPECT_EQ(Search("Keywords,スポーツ"), std::vector<std::string>{b_});
  EXPECT_EQ(VxDBWxCheckKeyword(b_.c_str(), "スポーツ"), S_OK);
  EXPECT_EQ(VxDBWxCheckKeyword(b_.c_str(), "ス"), S_FALSE);
  EXPECT_EQ(VxDBWxCheckKeyword(a_.c_str(), "夏"), S_OK);
  EXPECT_EQ(VxDBWxCheckKeyword(c_.c_str(), "夏"), S_FALSE);
}

TEST_F(SearchTest, MemorisedResults) {
  int kw = 0, similar = 0;
  ASSERT_EQ(VxDBWxCreateSearchResult(VXDB_RESULT_SEARCH, "海の写真", "Keywords,海", &kw), S_OK);
  STRINGLIST* given = nullptr;
  StringListAppend(&given, b_.c_str(), 0);
  ASSERT_EQ(VxDBWxCreateSearchResultFromList(VXDB_RESULT_SIMILAR, "似た写真", given, &similar), S_OK);
  FreeStringList(given);

  STRINGLIST* list = nullptr;
  ASSERT_EQ(VxDBWxGetSearchResult(kw, &list), S_OK);
  EXPECT_EQ(dbtest::TakeTexts(list), (std::vector<std::string>{a_, c_}));
  ASSERT_EQ(VxDBWxGetSearchResultList(3, &list), S_OK);
  EXPECT_EQ(dbtest::TakeTexts(list), (std::vector<std::string>{"海の写真", "似た写真"}));

  // A marker query answers the memorised list itself; the database keeps it.
  std::string marker = std::string(VXDB_RESULT_MARKER) + "," + std::to_string(similar);
  ASSERT_EQ(VxDBWxSearch(marker.c_str(), &list), S_OK);
  EXPECT_EQ(dbtest::Texts(list), std::vector<std::string>{b_});
  // Asked again, it gives the same list: the first answer stays readable.
  STRINGLIST* again = nullptr;
  ASSERT_EQ(VxDBWxSearch(marker.c_str(), &again), S_OK);
  EXPECT_EQ(again, list);

  // Deleting the results of one kind leaves the lists of the other kind alone.
  std::string kwMarker = std::string(VXDB_RESULT_MARKER) + "," + std::to_string(kw);
  STRINGLIST* held = nullptr;
  ASSERT_EQ(VxDBWxSearch(kwMarker.c_str(), &held), S_OK);
  EXPECT_EQ(VxDBWxDeleteSearchResult(VXDB_RESULT_SIMILAR), S_OK);
  EXPECT_EQ(dbtest::Texts(held), (std::vector<std::string>{a_, c_}));
  EXPECT_EQ(VxDBWxGetSearchResult(similar, &list), VXDB_E_NOTFOUND);
  EXPECT_EQ(VxDBWxDeleteSearchResult(3), S_OK);
  EXPECT_EQ(VxDBWxDeleteSearchResult(3), S_FALSE);
  EXPECT_EQ(VxDBWxGetSearchResult(kw, &list), VXDB_E_NOTFOUND);
  EXPECT_EQ(VxDBWxCreateSearchResult(VXDB_RESULT_SEARCH, "x", nullptr, &kw), E_INVALIDARG);
}

TEST_F(SearchTest, ClassificationTags) {
  VXDBTAG* tags = nullptr;
  ASSERT_EQ(VxDBWxCreateClassifyTags(VXDB_CLASS_DATE, &tags), S_OK);
  ASSERT_NE(tags, nullptr);
  EXPECT_STREQ(tags->pszName, "2010");
  EXPECT_EQ(tags->nCount, 2);
  ASSERT_NE(tags->pChild, nullptr);
  EXPECT_STREQ(tags->pChild->pszName, "2010/05");
  ASSERT_NE(tags->pChild->pChild, nullptr);
  EXPECT_STREQ(tags->pChild->pChild->pszName, "2010/05/01");
  STRINGLIST* list = nullptr;
  ASSERT_EQ(VxDBWxGetClassifyResult(tags->pChild->pChild, &list), S_OK);
  EXPECT_EQ(dbtest::TakeTexts(list), std::vector<std::string>{a_});
  ASSERT_NE(tags->pNext, nullptr);
  EXPECT_STREQ(tags->pNext->pszName, "2011");
  VxDBWxFreeClassifyTags(tags);

  // Makers with their models; a model name holding "|" still finds its file.
  ASSERT_EQ(VxDBWxCreateClassifyTags(VXDB_CLASS_MODEL, &tags), S_OK);
  EXPECT_STREQ(tags->pszName, "Norvane");
  EXPECT_EQ(tags->nCount, 2);
  VXDBTAG* other = tags->pNext;
  ASSERT_NE(other, nullptr);
  ASSERT_NE(other->pChild, nullptr);
  EXPECT_STREQ(other->pChild->pszName, "X|1");
  ASSERT_EQ(VxDBWxGetClassifyResult(other->pChild, &list), S_OK);
  EXPECT_EQ(dbtest::TakeTexts(list), std::vector<std::string>{c_});
  VxDBWxFreeClassifyTags(tags);

  ASSERT_EQ(VxDBWxCreateClassifyTags(VXDB_CLASS_KEYWORD, &tags), S_OK);
  std::vector<std::string> names;
  for (VXDBTAG* t = tags; t; t = t->pNext) names.push_back(std::string(t->pszName) + ":" + std::to_string(t->nCount));
  VxDBWxFreeClassifyTags(tags);
  EXPECT_EQ(names.size(), 3u);
  EXPECT_NE(std::find(names.begin(), names.end(), "海:2"), names.end());

  EXPECT_EQ(VxDBWxCreateClassifyTags(99, &tags), E_INVALIDARG);
  EXPECT_EQ(VxDBWxGetClassifyResult(nullptr, &list), E_INVALIDARG);
}

TEST_F(SearchTest, TakingAFileOutOfAClass) {
  EXPECT_EQ(VxDBWxDeleteClassification(a_.c_str(), VXDB_CLASS_KEYWORD, "海"), S_OK);
  EXPECT_EQ(Search("Keywords,海"), std::vector<std::string>{c_});
  EXPECT_EQ(Search("Keywords,夏"), std::vector<std::string>{a_});  // the other keyword stays
  EXPECT_EQ(VxDBWxDeleteClassification(a_.c_str(), VXDB_CLASS_KEYWORD, "海"), VXDB_E_NOTFOUND);
  EXPECT_EQ(VxDBWxDeleteClassification(b_.c_str(), VXDB_CLASS_DATE, nullptr), S_OK);
  EXPECT_EQ(Search("Date,2010"), std::vector<std::string>{a_});
  EXPECT_EQ(Search("Date,none"), std::vector<std::string>{b_});
  EXPECT_EQ(VxDBWxDeleteClassification(c_.c_str(), VXDB_CLASS_MODEL, nullptr), S_OK);
  EXPECT_TRUE(Search("Maker,Other").empty());
  EXPECT_EQ(VxDBWIsEnrolled(c_.c_str()), S_OK);  // the file itself stays
  EXPECT_EQ(VxDBWxDeleteClassification(c_.c_str(), 42, nullptr), E_INVALIDARG);
}

TEST_F(SearchTest, SimilarHashes) {
  ASSERT_EQ(VxDBWxSetSimilarHash(a_.c_str(), 0xF0F0F0F0F0F0F0F0ull), S_OK);
  ASSERT_EQ(VxDBWxSetSimilarHash(b_.c_str(), 0xF0F0F0F0F0F0F0F1ull), S_OK);  // 1 bit away
  ASSERT_EQ(VxDBWxSetSimilarHash(c_.c_str(), 0x0F0F0F0F0F0F0F0Full), S_OK);  // 64 bits away
  STRINGLIST* list = nullptr;
  ASSERT_EQ(VxDBWxFindSimilar(0xF0F0F0F0F0F0F0F0ull, 8, 10, &list), S_OK);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(dbtest::Texts(list), (std::vector<std::string>{a_, b_}));
  EXPECT_EQ(list->pNext->nData, 1);
  FreeStringList(list);
  EXPECT_EQ(Search(("Similar," + a_).c_str()), (std::vector<std::string>{a_, b_}));
  EXPECT_EQ(VxDBWUnRegistSimilar(b_.c_str()), S_OK);
  EXPECT_EQ(Search(("Similar," + a_).c_str()), std::vector<std::string>{a_});
  ULONGLONG h = 0;
  EXPECT_EQ(VxDBWxGetSimilarHash(b_.c_str(), &h), VXDB_E_NOTFOUND);
}

TEST_F(DbTest, ThumbnailsAreDroppedWhenTheFileChanges) {
  std::string path = data_ + "\\t.jpg";
  dbtest::Touch(path, "one");
  ASSERT_EQ(VxDBWEnrollFile(path.c_str(), 0), S_OK);
  struct {
    BITMAPINFOHEADER h;
    BYTE bits[4 * 2 * 2];
  } dib = {};
  dib.h = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  dib.bits[0] = 0x7F;
  ASSERT_EQ(VxDBWxSetThumbnailData(path.c_str(), &dib.h, sizeof(dib)), S_OK);
  BITMAPINFOHEADER* got = nullptr;
  DWORD size = 0;
  ASSERT_EQ(VxDBWxGetThumbnailData(path.c_str(), &got, &size), S_OK);
  EXPECT_EQ(size, sizeof(dib));
  EXPECT_EQ(reinterpret_cast<BYTE*>(got)[sizeof(BITMAPINFOHEADER)], 0x7F);
  VxDBWxFreeThumbnailData(got);

  // A header that promises more bytes than it brings is refused.
  dib.h.biHeight = 200;
  EXPECT_EQ(VxDBWxSetThumbnailData(path.c_str(), &dib.h, sizeof(dib)), E_INVALIDARG);

  // The file is written again: the kept thumbnail no longer counts.
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULONGLONG t = ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) + 10000000ull * 60;
  FILETIME later = {static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(h, nullptr, nullptr, &later);
  CloseHandle(h);
  EXPECT_EQ(VxDBWxGetThumbnailData(path.c_str(), &got, &size), VXDB_E_NOTFOUND);
  EXPECT_EQ(got, nullptr);
}

// A kept thumbnail whose header claims more pixels than its blob holds (damage on
// disk, another writer) is no kept thumbnail: every read of it used to crash.
TEST_F(DbTest, DamagedKeptThumbnailsCountAsMissing) {
  using testsupport::Le16;
  using testsupport::Le32;
  std::string pic = data_ + "\\kept.jpg";
  ASSERT_TRUE(CopyFileA(testsupport::Fixture("plain.jpg").c_str(), pic.c_str(), FALSE));
  ASSERT_EQ(VxDBWEnrollFile(pic.c_str(), 0), S_OK);
  BITMAPINFOHEADER* dib = nullptr;
  DWORD size = 0;
  ASSERT_EQ(VxDBWxGetThumbnailDib(pic.c_str(), VXDBWX_THUMB_MAKE, 80, 60, &dib, &size), S_OK);
  const std::vector<uint8_t> good(reinterpret_cast<uint8_t*>(dib), reinterpret_cast<uint8_t*>(dib) + size);
  VxDBWxFreeThumbnailData(dib);

  const struct {
    const char* what;
    testsupport::ByteChange change;
  } kCases[] = {
      {"taller", {8, Le32(6000)}},
      {"wider", {4, Le32(6000)}},
      {"deeper", {14, Le16(32)}},
      {"header larger than the blob", {0, Le32(0x7FFFFFFF)}},
  };
  sqlite3* db = nullptr;
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, (dir_ + "\\VxDatabase.db").c_str(), -1, wide, MAX_PATH);
  ASSERT_EQ(sqlite3_open16(wide, &db), SQLITE_OK);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bad = testsupport::WithChanges(good, {c.change});
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "UPDATE thumbs SET dib = ?", -1, &st, nullptr), SQLITE_OK);
    sqlite3_bind_blob(st, 1, bad.data(), static_cast<int>(bad.size()), SQLITE_TRANSIENT);
    ASSERT_EQ(sqlite3_step(st), SQLITE_DONE);
    sqlite3_finalize(st);

    EXPECT_EQ(VxDBWxGetThumbnailData(pic.c_str(), &dib, &size), VXDB_E_NOTFOUND);
    EXPECT_EQ(dib, nullptr);
    EXPECT_EQ(VxDBWxGetThumbnailDib(pic.c_str(), VXDBWX_THUMB_KEPT, 80, 60, &dib, &size), VXDB_E_NOTFOUND);
    CCMDIB image;
    EXPECT_EQ(VxDBWxGetThumbnail(pic.c_str(), &image, nullptr), S_OK);
    // Made again from the picture and kept in place of the damaged one.
    ASSERT_EQ(VxDBWxGetThumbnailDib(pic.c_str(), VXDBWX_THUMB_KEPT, 80, 60, &dib, &size), S_OK);
    VxDBWxFreeThumbnailData(dib);
  }
  sqlite3_close(db);
}

// The import dialog's thumbnails of a card: a TIFF whose first directory lies past its end
// (the decoder seeks there and reads on) makes none, and the process goes on.
TEST_F(DbTest, ATiffThatPointsPastItsEndMakesNoThumbnail) {
  std::string pic = data_ + "\\IMG_0001.TIF";
  ASSERT_TRUE(CopyFileA(testsupport::Fixture("ifd_past_end.tif").c_str(), pic.c_str(), FALSE));
  BITMAPINFOHEADER* dib = nullptr;
  DWORD size = 0;
  EXPECT_TRUE(FAILED(VxDBWxGetThumbnailDib(pic.c_str(), VXDBWX_THUMB_MAKE, 80, 60, &dib, &size)));
  EXPECT_EQ(dib, nullptr);
  CCMDIB image;
  EXPECT_TRUE(FAILED(VxDBWxGetThumbnail(pic.c_str(), &image, nullptr)));
}

TEST_F(DbTest, ThumbnailsAreMadeKeptAndScaled) {
  std::string pic = data_ + "\\写真.jpg", loose = data_ + "\\loose.jpg", sound = data_ + "\\tone.mp3";
  ASSERT_TRUE(CopyFileA(testsupport::Fixture("exif_full.jpg").c_str(), pic.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(testsupport::Fixture("plain.jpg").c_str(), loose.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(testsupport::Fixture("tone.mp3").c_str(), sound.c_str(), FALSE));
  ASSERT_EQ(VxDBWEnrollFile(pic.c_str(), 0), S_OK);

  auto size = [](LPCSTR path, int mode, int cx, int cy, HRESULT* hr) {
    BITMAPINFOHEADER* dib = nullptr;
    *hr = VxDBWxGetThumbnailDib(path, mode, cx, cy, &dib, nullptr);
    SIZE s = {dib ? dib->biWidth : 0, dib ? dib->biHeight : 0};
    VxDBWxFreeThumbnailData(dib);
    return s;
  };
  HRESULT hr;
  EXPECT_EQ(size(pic.c_str(), VXDBWX_THUMB_KEPT, 80, 60, &hr).cx, 0);
  EXPECT_EQ(hr, VXDB_E_NOTFOUND);
  SIZE made = size(pic.c_str(), VXDBWX_THUMB_MAKE, 160, 120, &hr);
  ASSERT_EQ(hr, S_OK);
  EXPECT_TRUE(made.cx <= 160 && made.cy <= 120 && (made.cx == 160 || made.cy == 120)) << made.cx << "x" << made.cy;
  // Kept now, and a smaller request is scaled from it.
  SIZE small = size(pic.c_str(), VXDBWX_THUMB_KEPT, 80, 60, &hr);
  EXPECT_EQ(hr, S_OK);
  EXPECT_TRUE(small.cx <= 80 && small.cy <= 60 && (small.cx == 80 || small.cy == 60));
  size(pic.c_str(), VXDBWX_THUMB_KEPT, 320, 240, &hr);
  EXPECT_EQ(hr, VXDB_E_NOTFOUND);  // too small to serve that
  // A file that is not enrolled gets a thumbnail, but none is kept.
  EXPECT_GT(size(loose.c_str(), VXDBWX_THUMB_MAKE, 80, 60, &hr).cx, 0);
  EXPECT_EQ(hr, S_OK);
  size(loose.c_str(), VXDBWX_THUMB_KEPT, 80, 60, &hr);
  EXPECT_EQ(hr, VXDB_E_NOTFOUND);
  size(sound.c_str(), VXDBWX_THUMB_MAKE, 80, 60, &hr);
  EXPECT_TRUE(FAILED(hr));
  size(pic.c_str(), 7, 80, 60, &hr);
  EXPECT_EQ(hr, E_INVALIDARG);

  // Into the image object, as the import dialog and the image picker ask for it.
  CCMDIB image;
  BOOL kept = FALSE;
  int fullWidth = -1;
  EXPECT_EQ(VxDBWxGetThumbnailEx(pic.c_str(), VXDBWX_THUMB_MAKE, SIZE{80, 60}, &image, &kept, &fullWidth, nullptr, nullptr),
            S_OK);
  EXPECT_TRUE(kept);
  EXPECT_TRUE(image.GetWidth() == 80 || image.GetHeight() == 60);
  EXPECT_EQ(VxDBWxGetThumbnailEx(loose.c_str(), VXDBWX_THUMB_MAKE, SIZE{80, 60}, &image, &kept, &fullWidth, nullptr,
                                 nullptr),
            S_OK);
  EXPECT_FALSE(kept);
  EXPECT_GT(fullWidth, 80);  // read from the picture itself
  EXPECT_LT(VxDBWxGetThumbnailEx(sound.c_str(), VXDBWX_THUMB_MAKE, SIZE{80, 60}, &image, nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(VxDBWxGetThumbnailEx(pic.c_str(), VXDBWX_THUMB_MAKE, SIZE{80, 60}, nullptr, nullptr, nullptr, nullptr, nullptr),
            E_INVALIDARG);
  // Renewing keeps the size the kept thumbnail had.
  EXPECT_EQ(VxDBWxGetThumbnail(pic.c_str(), &image, nullptr), S_OK);
  EXPECT_EQ(image.GetWidth(), made.cx);
  EXPECT_EQ(image.GetHeight(), made.cy);
}
