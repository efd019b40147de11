// Registered files: enrol, update, read, move, copy and delete, one by one and by folder.
#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <metastore.h>

#include "dbtest.h"
#include <sqliterows.h>

using dbtest::DbTest;

namespace {

std::string Value(const char* path, const char* rec, const char* field) {
  METADATA* list = nullptr;
  if (FAILED(VxDBWReadFile(path, &list))) return "<unread>";
  LPCSTR v = MetaGetValue(list, rec, field);
  std::string out = v ? v : "<none>";
  FreeMetaDataList(list);
  return out;
}

// The import's order: delete any old entry, enrol, attach the list, free it.
void Register(const std::string& path, METADATA* list) {
  VxDBWDeleteFile(path.c_str());
  ASSERT_EQ(VxDBWEnrollFile(path.c_str(), 0), S_OK) << path;
  ASSERT_EQ(VxDBWUpdateFile(path.c_str(), list), S_OK) << path;
  VxDBWxFreeRegisterList(&list);
}

void RegisterKeyword(const std::string& path, const char* keyword) {
  METADATA* list = nullptr;
  VxDBWxCreateKeywordList(&list, keyword);
  Register(path, list);
}

}  // namespace

TEST_F(DbTest, RegisteredListsReadBack) {
  std::string path = data_ + "\\2010_05_01\\IMG_0001.JPG";
  dbtest::Touch(path, "jpeg bytes");
  Register(path, dbtest::FullList(1272700800, "海||夏休み", "Norvane", "NV-10", "夜景", "2010_05_01",
                                  (data_ + "\\2010_05_01\\").c_str(), "千代田区"));
  const struct {
    const char* rec;
    const char* field;
    std::string want;
  } cases[] = {
      {VXDB_REC_DATETIME, VXDB_FLD_SHOTTIME, "1272700800"},
      {VXDB_REC_DATETIME, VXDB_FLD_CREATETIME, "1272700920"},
      {VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS, "海||夏休み"},
      {VXDB_REC_MODEL, VXDB_FLD_MAKER, "Norvane"},
      {VXDB_REC_MODEL, VXDB_FLD_MODEL, "NV-10"},
      {VXDB_REC_SCENE, VXDB_FLD_SCENE1, "夜景"},
      {VXDB_REC_FOLDER, VXDB_FLD_FOLDERNAME, "2010_05_01"},
      {VXDB_REC_FOLDER, VXDB_FLD_FOLDERPATH, data_ + "\\2010_05_01\\"},
      {VXDB_REC_LOCATION, VXDB_FLD_CITY, "千代田区"},
      {VXDB_REC_LOCATION, VXDB_FLD_LATITUDE, "35/39/29"},
      {VXDB_REC_FACE, VXDB_FLD_FACE, "2"},
  };
  for (const auto& c : cases) EXPECT_EQ(Value(path.c_str(), c.rec, c.field), c.want) << c.rec << "." << c.field;

  // A later list replaces only the records it carries.
  METADATA* list = nullptr;
  VxDBWxCreateKeywordList(&list, "山");
  EXPECT_EQ(VxDBWUpdateFile(path.c_str(), list), S_OK);
  VxDBWxFreeRegisterList(&list);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(Value(path.c_str(), VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "山");
  EXPECT_EQ(Value(path.c_str(), VXDB_REC_MODEL, VXDB_FLD_MODEL), "NV-10");
  // A null list attaches nothing and is no error.
  EXPECT_EQ(VxDBWUpdateFile(path.c_str(), nullptr), S_OK);
}

namespace {

// The stored rows of one file (file row without id and enrolment time, its records and
// keywords), as one text.
std::string RowsOf(const std::string& dbFile, const std::string& path) {
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, dbFile.c_str(), -1, wide, MAX_PATH);
  sqlite3* db = nullptr;
  std::string rows;
  if (sqlite3_open16(wide, &db) == SQLITE_OK) {
    for (const char* sql : {"SELECT size, enroll_flags, shot_time, favorite, print_count, phash FROM files"
                            " WHERE name = ?1",
                            "SELECT m.rec, m.recno, m.seq, m.field, m.flag, m.value, m.value_key FROM meta m"
                            " JOIN files f ON f.id = m.file_id WHERE f.name = ?1 ORDER BY m.rec, m.recno, m.seq",
                            "SELECT k.keyword_key, k.keyword FROM keywords k JOIN files f ON f.id = k.file_id"
                            " WHERE f.name = ?1 ORDER BY k.keyword_key"}) {
      sqlite3_stmt* st = nullptr;
      sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
      const std::string name = path.substr(path.rfind('\\') + 1);
      sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
      rows += testsupport::StatementRows(st);
      rows += "--\n";
      sqlite3_finalize(st);
    }
  }
  sqlite3_close(db);
  return rows;
}

METADATA* Record(METADATA** list, const char* name, std::vector<std::pair<const char*, const char*>> fields,
                 int flag = 0) {
  METADATA* r = MetaAppendRecord(list, name);
  for (const auto& f : fields) MetaAddRecordField(r, f.first, flag, f.second);
  return r;
}

}  // namespace

// Entering a file in one call stores what deleting, enrolling and attaching the list store:
// the shot time from the first date record, the keywords of every keyword record.
TEST_F(DbTest, OneCallEntersWhatEnrolAndUpdateEnter) {
  struct Case {
    const char* name;
    std::function<METADATA*()> list;
  } cases[] = {
      {"full", [] { return dbtest::FullList(1272700800, "海||夏休み||海", "Norvane", "NV-10", "夜景", "2010_05_01", "D:\\P\\", "千代田区"); }},
      {"no list", [] { return static_cast<METADATA*>(nullptr); }},
      {"unknown shot", [] { return dbtest::FullList(-1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
      {"two date records",
       [] {
         METADATA* l = nullptr;
         Record(&l, "datetimeinfo", {{"CreateTime", "5"}});
         Record(&l, VXDB_REC_DATETIME, {{"SHOTTIME", "7000"}, {VXDB_FLD_SHOTTIME, "8000"}});
         return l;
       }},
      {"a bad shot time", [] {
         METADATA* l = nullptr;
         Record(&l, VXDB_REC_DATETIME, {{VXDB_FLD_SHOTTIME, "12x"}});
         return l;
       }},
      {"keyword records",
       [] {
         METADATA* l = nullptr;
         Record(&l, VXDB_REC_KEYWORDS, {{VXDB_FLD_KEYWORDS, "Sea||||mountain"}});
         Record(&l, "KEYWORDSINFO", {{"keywords", "SEA||river"}});
         Record(&l, VXDB_REC_KEYWORDS, {{VXDB_FLD_KEYWORDS, "hidden"}}, 1);
         Record(&l, VXDB_REC_FACE, {});
         return l;
       }},
  };
  const std::string dbFile = dir_ + "\\VxDatabase.db";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string one = data_ + "\\one-" + c.name + ".jpg", parts = data_ + "\\parts-" + c.name + ".jpg";
    dbtest::Touch(one, "jpeg bytes");
    dbtest::Touch(parts, "jpeg bytes");
    // Each over an earlier entry with other records.
    RegisterKeyword(one, "stale");
    RegisterKeyword(parts, "stale");
    METADATA* list = c.list();
    EXPECT_EQ(VxDBWRegisterFile(one.c_str(), list), S_OK);
    Register(parts, list);
    const std::string rows = RowsOf(dbFile, one);
    EXPECT_EQ(rows, RowsOf(dbFile, parts));
    EXPECT_EQ(rows.find("stale"), std::string::npos);
  }
}

// The size and last write time an entry keeps: those the caller read (the import's copy
// read them), else the disk's.
TEST_F(DbTest, TheEntryKeepsTheSizeAndTimeTheCallerRead) {
  const std::string path = data_ + "\\stamp.jpg", dbFile = dir_ + "\\VxDatabase.db";
  dbtest::Touch(path, "jpeg bytes");
  WIN32_FILE_ATTRIBUTE_DATA disk = {};
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &disk));
  const long long diskTime =
      (static_cast<long long>(disk.ftLastWriteTime.dwHighDateTime) << 32) | disk.ftLastWriteTime.dwLowDateTime;
  WIN32_FILE_ATTRIBUTE_DATA read = disk;
  read.nFileSizeHigh = 1;
  read.nFileSizeLow = 5;
  read.ftLastWriteTime = {7, 0x01CAE8F0};
  struct Case {
    const char* name;
    const WIN32_FILE_ATTRIBUTE_DATA* given;
    long long size, time;
  } cases[] = {{"read by the caller", &read, (1ll << 32) + 5, (0x01CAE8F0ll << 32) + 7},
               {"read here", nullptr, 10, diskTime}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    METADATA* list = dbtest::ImportList(1);
    EXPECT_EQ(VxDBWRegisterFileEx(path.c_str(), list, c.given), S_OK);
    VxDBWxFreeRegisterList(&list);
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, dbFile.c_str(), -1, wide, MAX_PATH);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open16(wide, &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT size, file_time FROM files", -1, &st, nullptr);
    EXPECT_EQ(testsupport::StatementRows(st), std::to_string(c.size) + "|" + std::to_string(c.time) + "|\n");
    sqlite3_finalize(st);
    sqlite3_close(db);
  }
}

// A list with a text that does not convert is refused before the old entry goes, also in a
// batch, where a refusal is not rolled back.
TEST_F(DbTest, ARefusedRegistrationKeepsTheOldEntry) {
  std::string path = data_ + "\\kept.jpg";
  dbtest::Touch(path, "jpeg bytes");
  RegisterKeyword(path, "山");
  METADATA* bad = nullptr;
  METADATA* rec = MetaAppendRecord(&bad, VXDB_REC_KEYWORDS);
  ASSERT_TRUE(rec);
  MetaAppendField(&rec->pFields, VXDB_FLD_KEYWORDS, 0, "\x81");  // a lead byte alone
  for (bool batch : {false, true}) {
    SCOPED_TRACE(batch ? "in a batch" : "alone");
    if (batch) { ASSERT_EQ(VxDBWBeginBatch(), S_OK); }
    EXPECT_EQ(VxDBWRegisterFile(path.c_str(), bad), E_INVALIDARG);
    if (batch) { ASSERT_EQ(VxDBWEndBatch(), S_OK); }
    EXPECT_EQ(Value(path.c_str(), VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "山");
  }
  FreeMetaDataList(bad);
}

TEST_F(DbTest, EnrolAgainKeepsDeleteForgets) {
  std::string path = data_ + "\\a.jpg";
  RegisterKeyword(path, "k");
  EXPECT_EQ(VxDBWEnrollFile(path.c_str(), 0), S_FALSE);
  EXPECT_EQ(Value(path.c_str(), VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "k");
  EXPECT_EQ(VxDBWDeleteFile(path.c_str()), S_OK);
  EXPECT_EQ(VxDBWIsEnrolled(path.c_str()), VXDB_E_NOTFOUND);
  EXPECT_EQ(VxDBWDeleteFile(path.c_str()), VXDB_E_NOTFOUND);
  EXPECT_EQ(VxDBWEnrollFile(path.c_str(), 0), S_OK);
  METADATA* list = reinterpret_cast<METADATA*>(1);
  EXPECT_EQ(VxDBWReadFile(path.c_str(), &list), S_OK);
  EXPECT_EQ(list, nullptr);  // enrolled afresh: no records
  EXPECT_EQ(VxDBWUpdateFile((data_ + "\\never.jpg").c_str(), nullptr), VXDB_E_NOTFOUND);
}

TEST_F(DbTest, MoveFollowsAndGuardsTheTarget) {
  std::string a = data_ + "\\src\\A.JPG", b = data_ + "\\dst\\B.JPG", c = data_ + "\\dst\\C.JPG";
  Register(a, dbtest::FullList(1000000000, "a", nullptr, nullptr, nullptr, "src", (data_ + "\\src\\").c_str(), nullptr));
  RegisterKeyword(c, "c");

  EXPECT_EQ(VxDBWMoveFileEx(a.c_str(), b.c_str(), 1), S_OK);
  EXPECT_EQ(VxDBWIsEnrolled(a.c_str()), VXDB_E_NOTFOUND);
  EXPECT_EQ(Value(b.c_str(), VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "a");
  // The folder classification named the old folder, so it follows the file.
  EXPECT_EQ(Value(b.c_str(), VXDB_REC_FOLDER, VXDB_FLD_FOLDERNAME), "dst");
  EXPECT_EQ(Value(b.c_str(), VXDB_REC_FOLDER, VXDB_FLD_FOLDERPATH), data_ + "\\dst\\");

  // Onto an enrolled file: refused without the replace flag, replaced with it.
  EXPECT_EQ(VxDBWMoveFileEx(b.c_str(), c.c_str(), 0), VXDB_E_EXISTS);
  EXPECT_EQ(Value(c.c_str(), VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "c");
  EXPECT_EQ(VxDBWMoveFileEx(b.c_str(), c.c_str(), VXDB_MOVE_REPLACE), S_OK);
  EXPECT_EQ(Value(c.c_str(), VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "a");
  EXPECT_EQ(VxDBWMoveFile(b.c_str(), a.c_str()), VXDB_E_NOTFOUND);

  // Only the letter case changes: the entry keeps its data and takes the new spelling.
  std::string lower = data_ + "\\dst\\c.jpg";
  EXPECT_EQ(VxDBWMoveFileEx(c.c_str(), lower.c_str(), 0), S_OK);
  STRINGLIST* found = nullptr;
  ASSERT_EQ(VxDBWxSearch("Keywords,a", &found), S_OK);
  EXPECT_EQ(dbtest::TakeTexts(found), std::vector<std::string>{lower});
}

TEST_F(DbTest, RenameSwapThroughTemporaryNames) {
  // Two files swap names in two passes, as the rename tool does it.
  std::string a = data_ + "\\A.JPG", b = data_ + "\\B.JPG";
  std::string ta = data_ + "\\renameerror00001-0.JPG", tb = data_ + "\\renameerror00001-1.JPG";
  RegisterKeyword(a, "first");
  RegisterKeyword(b, "second");
  EXPECT_EQ(VxDBWMoveFileEx(a.c_str(), ta.c_str(), 1), S_OK);
  EXPECT_EQ(VxDBWMoveFileEx(b.c_str(), tb.c_str(), 1), S_OK);
  EXPECT_EQ(VxDBWMoveFileEx(ta.c_str(), b.c_str(), 1), S_OK);
  EXPECT_EQ(VxDBWMoveFileEx(tb.c_str(), a.c_str(), 1), S_OK);
  EXPECT_EQ(Value(a.c_str(), VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "second");
  EXPECT_EQ(Value(b.c_str(), VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "first");
}

TEST_F(DbTest, CopyCarriesMetadataToANewEntry) {
  std::string src = data_ + "\\in\\P.JPG", dst = data_ + "\\out\\P_stamp.JPG";
  dbtest::Touch(dst, "new content");
  Register(src, dbtest::FullList(1234567890, "旅行", "Norvane", "NV-1", nullptr, "in", (data_ + "\\in\\").c_str(),
                                 nullptr));
  ASSERT_EQ(VxDBWxSetSimilarHash(src.c_str(), 0x1234), S_OK);
  EXPECT_EQ(VxDBWCopyFile(src.c_str(), dst.c_str()), S_OK);
  EXPECT_EQ(Value(dst.c_str(), VXDB_REC_MODEL, VXDB_FLD_MODEL), "NV-1");
  EXPECT_EQ(Value(dst.c_str(), VXDB_REC_FOLDER, VXDB_FLD_FOLDERNAME), "out");
  EXPECT_EQ(Value(src.c_str(), VXDB_REC_FOLDER, VXDB_FLD_FOLDERNAME), "in");
  // The copy is another picture: no similar-image hash until it is hashed itself.
  ULONGLONG hash = 0;
  EXPECT_EQ(VxDBWxGetSimilarHash(dst.c_str(), &hash), VXDB_E_NOTFOUND);
  EXPECT_EQ(dbtest::Search("Keywords,旅行").size(), 2u);
  EXPECT_EQ(dbtest::Search("Date,2009").size(), 2u);
  EXPECT_EQ(VxDBWCopyFile(src.c_str(), src.c_str()), E_INVALIDARG);
  EXPECT_EQ(VxDBWCopyFile((data_ + "\\none.jpg").c_str(), dst.c_str()), VXDB_E_NOTFOUND);
}

TEST_F(DbTest, FolderDeleteAndMoveStayInsideTheFolder) {
  std::string in = data_ + "\\Photos\\a.jpg", sub = data_ + "\\Photos\\2010\\b.jpg";
  std::string sibling = data_ + "\\Photos2\\c.jpg", trail = data_ + "\\表示\\d.jpg";
  for (const std::string& p : {in, sub, sibling, trail}) RegisterKeyword(p, "k");

  EXPECT_EQ(VxDBWMoveFolder((data_ + "\\PHOTOS").c_str(), (data_ + "\\Album\\").c_str()), S_OK);
  EXPECT_EQ(VxDBWIsEnrolled((data_ + "\\Album\\a.jpg").c_str()), S_OK);
  EXPECT_EQ(VxDBWIsEnrolled((data_ + "\\Album\\2010\\b.jpg").c_str()), S_OK);
  EXPECT_EQ(VxDBWIsEnrolled(in.c_str()), VXDB_E_NOTFOUND);
  EXPECT_EQ(VxDBWIsEnrolled(sibling.c_str()), S_OK);
  // Only the letter case changes: the entries take the new spelling.
  EXPECT_EQ(VxDBWMoveFolder((data_ + "\\Album").c_str(), (data_ + "\\ALBUM").c_str()), S_OK);
  EXPECT_EQ(dbtest::Search(("Path," + data_ + "\\album").c_str()),
            (std::vector<std::string>{data_ + "\\ALBUM\\2010\\b.jpg", data_ + "\\ALBUM\\a.jpg"}));

  // "表" ends in the byte 0x5C; it names another folder than "表示" all the same.
  EXPECT_EQ(VxDBWDeleteFolderEx((data_ + "\\表").c_str()), S_FALSE);
  EXPECT_EQ(VxDBWIsEnrolled(trail.c_str()), S_OK);
  EXPECT_EQ(VxDBWDeleteFolderEx((data_ + "\\Album").c_str()), S_OK);
  EXPECT_EQ(VxDBWIsEnrolled((data_ + "\\Album\\2010\\b.jpg").c_str()), VXDB_E_NOTFOUND);
  EXPECT_EQ(VxDBWIsEnrolled(sibling.c_str()), S_OK);
  EXPECT_EQ(VxDBWIsEnrolled(trail.c_str()), S_OK);
  // A folder may not move into itself, and "\" alone names no folder.
  EXPECT_EQ(VxDBWMoveFolder((data_ + "\\Photos2").c_str(), (data_ + "\\Photos2\\x").c_str()), E_INVALIDARG);
  EXPECT_EQ(VxDBWDeleteFolderEx("\\"), E_INVALIDARG);
  EXPECT_EQ(VxDBWDeleteFolderEx(""), E_INVALIDARG);
}

TEST_F(DbTest, FolderFavouritesInOneRead) {
  std::string a = data_ + "\\Photos\\a.jpg", b = data_ + "\\Photos\\b.jpg", sub = data_ + "\\Photos\\2010\\c.jpg";
  std::string sibling = data_ + "\\Photos2\\d.jpg";
  for (const std::string& p : {a, b, sub, sibling}) {
    RegisterKeyword(p, "k");
    ASSERT_EQ(VxDBWSetFavorite(p.c_str(), p != b), S_OK);
  }
  // Only the folder's own favourites, whatever the letter case and the final backslash.
  for (std::string folder : {data_ + "\\Photos", data_ + "\\PHOTOS\\"}) {
    SCOPED_TRACE(folder);
    STRINGLIST* list = nullptr;
    ASSERT_EQ(VxDBWGetFolderFavorites(folder.c_str(), &list), S_OK);
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list->pszText, a.c_str());
    EXPECT_EQ(list->pNext, nullptr);
    FreeStringList(list);
  }
  STRINGLIST* list = reinterpret_cast<STRINGLIST*>(1);
  EXPECT_EQ(VxDBWGetFolderFavorites((data_ + "\\Empty").c_str(), &list), S_FALSE);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(VxDBWGetFolderFavorites("", &list), E_INVALIDARG);
  EXPECT_EQ(VxDBWGetFolderFavorites(a.c_str(), nullptr), E_INVALIDARG);
}

// What the browser read of the pictures it showed: a folder's rows in one read (its own
// files only, the record without its trailing zeros back as given), the thumbnail only while
// size and last-write time are those kept, and refusals that keep nothing.
TEST_F(DbTest, SeenFilesOfAFolder) {
  std::string a = data_ + "\\Seen\\a.jpg", b = data_ + "\\Seen\\B.JPG", sub = data_ + "\\Seen\\2010\\c.jpg";
  const BYTE thumb[] = {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9};
  const BYTE facts[] = {'N', 'V', 0, 7, 0, 0, 0};
  auto row = [&](const std::string& path, ULONGLONG size, ULONGLONG time) {
    VXDBSEENFILE f = {};
    f.pszPath = path.c_str();
    f.qwSize = size;
    f.qwWriteTime = time;
    f.qwRecTime = time + 1;
    f.nWidth = 640;
    f.nHeight = 480;
    f.pThumb = thumb;
    f.cbThumb = sizeof thumb;
    f.pFacts = facts;
    f.cbFacts = sizeof facts;
    return f;
  };
  VXDBSEENFILE rows[] = {row(a, 100, 5000), row(b, 200, 6000), row(sub, 300, 7000)};
  ASSERT_EQ(VxDBPutSeenFiles(rows, 3), S_OK);
  rows[0].qwSize = 101;  // kept again: the row is replaced
  ASSERT_EQ(VxDBPutSeenFiles(rows, 1), S_OK);

  struct Got {
    std::string name;
    ULONGLONG size, time, rec;
    DWORD thumb;
    std::string facts;
  };
  std::vector<Got> got;
  auto collect = [](const VXDBSEENFILE* f, void* c) -> BOOL {
    static_cast<std::vector<Got>*>(c)->push_back(Got{f->pszPath, f->qwSize, f->qwWriteTime, f->qwRecTime, f->cbThumb,
                                                     std::string(reinterpret_cast<const char*>(f->pFacts), f->cbFacts)});
    return TRUE;
  };
  ASSERT_EQ(VxDBReadSeenFolder((data_ + "\\SEEN").c_str(), collect, &got), S_OK);
  ASSERT_EQ(got.size(), 2u);
  std::sort(got.begin(), got.end(), [](const Got& x, const Got& y) { return x.name < y.name; });
  EXPECT_EQ(got[0].name, "B.JPG");
  EXPECT_EQ(got[1].name, "a.jpg");
  EXPECT_EQ(got[1].size, 101u);
  EXPECT_EQ(got[1].time, 5000u);
  EXPECT_EQ(got[1].rec, 5001u);
  EXPECT_EQ(got[1].thumb, sizeof thumb);
  EXPECT_EQ(got[1].facts, std::string("NV\0\7", 4));
  got.clear();
  EXPECT_EQ(VxDBReadSeenFolder((data_ + "\\Empty\\").c_str(), collect, &got), S_FALSE);

  const struct {
    ULONGLONG size, time;
    HRESULT hr;
  } asks[] = {{101, 5000, S_OK}, {100, 5000, VXDB_E_NOTFOUND}, {101, 5001, VXDB_E_NOTFOUND}};
  for (auto& c : asks) {
    BYTE* data = nullptr;
    DWORD n = 0;
    EXPECT_EQ(VxDBGetSeenThumbnail(a.c_str(), c.size, c.time, &data, &n), c.hr) << c.size << " " << c.time;
    if (c.hr == S_OK) { EXPECT_EQ(std::string(reinterpret_cast<char*>(data), n), std::string(reinterpret_cast<const char*>(thumb), sizeof thumb)); }
    VxDBFreeBuffer(data);
  }

  VXDBSEENFILE big = row(data_ + "\\Seen\\big.jpg", 1, 1);
  std::vector<BYTE> large(VXDB_SEEN_THUMB_MAX + 1);
  big.pThumb = large.data();
  big.cbThumb = DWORD(large.size());
  VXDBSEENFILE both[] = {row(data_ + "\\Seen\\ok.jpg", 1, 1), big};
  EXPECT_EQ(VxDBPutSeenFiles(both, 2), E_INVALIDARG);
  VXDBSEENFILE noPath = row("", 1, 1);
  EXPECT_EQ(VxDBPutSeenFiles(&noPath, 1), E_INVALIDARG);
  got.clear();
  ASSERT_EQ(VxDBReadSeenFolder((data_ + "\\Seen").c_str(), collect, &got), S_OK);
  EXPECT_EQ(got.size(), 2u);  // nothing of the refused calls
}

TEST_F(DbTest, PathsCompareAsWindowsDoes) {
  const struct {
    const char* stored;
    const char* asked;
    bool same;
  } cases[] = {
      {"C:\\写真\\IMG_0001.JPG", "c:\\写真\\img_0001.jpg", true},
      {"C:\\Photos\\ＡＢＣ.jpg", "C:\\photos\\ａｂｃ.JPG", true},      // full-width letters fold
      {"C:\\Photos\\αβ.jpg", "C:\\Photos\\ΑΒ.jpg", true},              // Greek too
      {"C:\\Photos\\あ.jpg", "C:\\Photos\\ア.jpg", false},              // kana never
      {"C:\\表示\\a.jpg", "C:\\表\\a.jpg", false},                      // trail byte 0x5C
      {"C:/Photos/x.jpg", "C:\\PHOTOS\\X.JPG", true},                  // either separator
      {"C:\\Photos\\x.jpg", "C:\\Photos\\x.jpeg", false},
  };
  for (const auto& c : cases) {
    VxDBWDeleteFolderEx("C:\\");
    ASSERT_EQ(VxDBWEnrollFile(c.stored, 0), S_OK) << c.stored;
    EXPECT_EQ(VxDBWIsEnrolled(c.asked) == S_OK, c.same) << c.stored << " / " << c.asked;
  }
}

TEST_F(DbTest, BadArgumentsAreErrors) {
  std::string longPath = "C:\\" + std::string(300, 'a') + ".jpg";
  std::string edge = "C:\\" + std::string(MAX_PATH - 1 - 7, 'b') + ".jpg";  // 259 characters
  std::string longJapanese = "C:\\";
  for (int i = 0; i < 243; ++i) longJapanese += "写";  // 250 characters, 493 bytes
  longJapanese += ".jpg";
  const char* badBytes = "C:\\bad\x81";  // a lead byte with nothing after it
  const char* folder = "C:\\Photos\\";
  struct Case {
    const char* path;
    HRESULT want;
  };
  const Case cases[] = {{nullptr, E_INVALIDARG},      {"", E_INVALIDARG},          {longPath.c_str(), E_INVALIDARG},
                        {badBytes, E_INVALIDARG},     {folder, E_INVALIDARG},      {edge.c_str(), S_OK},
                        {longJapanese.c_str(), S_OK}};
  for (const Case& c : cases) EXPECT_EQ(VxDBWEnrollFile(c.path, 0), c.want) << (c.path ? c.path : "(null)");

  METADATA* list = nullptr;
  EXPECT_EQ(VxDBWReadFile(nullptr, &list), E_INVALIDARG);
  EXPECT_EQ(VxDBWReadFile(edge.c_str(), nullptr), E_INVALIDARG);
  EXPECT_EQ(VxDBWMoveFile(nullptr, edge.c_str()), E_INVALIDARG);
  EXPECT_EQ(VxDBWMoveFile(edge.c_str(), longPath.c_str()), E_INVALIDARG);
  EXPECT_EQ(VxDBWCopyFile(edge.c_str(), nullptr), E_INVALIDARG);
  EXPECT_EQ(VxDBWDeleteFolderEx(nullptr), E_INVALIDARG);
  EXPECT_EQ(VxDBWMoveFolder(nullptr, "C:\\x"), E_INVALIDARG);
  EXPECT_EQ(VxDBWUnRegistSimilar("C:\\unknown.jpg"), VXDB_E_NOTFOUND);
  EXPECT_EQ(VxDBWxCreateKeywordList(nullptr, "k"), E_INVALIDARG);
  EXPECT_EQ(VxDBWxCreateKeywordList(&list, nullptr), E_INVALIDARG);
  EXPECT_EQ(VxDBWxFreeRegisterList(nullptr), E_INVALIDARG);

  // A list whose text is not valid in the code page is refused whole.
  VxDBWxCreateModelList(&list, "Norvane", "NV\x81");
  EXPECT_EQ(VxDBWUpdateFile(edge.c_str(), list), E_INVALIDARG);
  VxDBWxFreeRegisterList(&list);
  EXPECT_EQ(Value(edge.c_str(), VXDB_REC_MODEL, VXDB_FLD_MODEL), "<none>");
}

TEST(DbFile, OpensWhatItFindsOrSetsItAside) {
  VxDBWExitDatabase(-1);
  std::string dir = dbtest::NewTempFolder("open");
  ASSERT_EQ(VxDBSetFolder(dir.c_str()), S_OK);
  char file[MAX_PATH];
  ASSERT_EQ(VxDBGetFile(file, MAX_PATH), S_OK);
  EXPECT_EQ(std::string(file), dir + "\\VxDatabase.db");

  // Something that is no database: kept aside, a new database opens.
  dbtest::Touch(file, std::string(4096, 'x'));
  ASSERT_EQ(VxDBWInitDatabase(), S_OK);
  EXPECT_EQ(VxDBWEnrollFile("C:\\a.jpg", 0), S_OK);
  VxDBWExitDatabase(-1);
  EXPECT_NE(GetFileAttributesA((dir + "\\VxDatabase.damaged.db").c_str()), INVALID_FILE_ATTRIBUTES);

  // A database of a later schema is left alone.
  sqlite3* db = nullptr;
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH);
  ASSERT_EQ(sqlite3_open16(wide, &db), SQLITE_OK);
  sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(VxDBWInitDatabase(), VXDB_E_NEWER);
  EXPECT_EQ(VxDBWEnrollFile("C:\\b.jpg", 0), VXDB_E_NEWER);
  EXPECT_EQ(GetDBFileObject(), nullptr);
  VxDBWExitDatabase(-1);

  // A folder that cannot be made: every call fails cleanly.
  ASSERT_EQ(VxDBSetFolder((std::string(file) + "\\inside-a-file").c_str()), S_OK);
  EXPECT_EQ(VxDBWInitDatabase(), E_FAIL);
  EXPECT_EQ(VxDBWIsEnrolled("C:\\a.jpg"), E_FAIL);
  VxDBSetFolder(nullptr);
  dbtest::RemoveTree(dir);
}
