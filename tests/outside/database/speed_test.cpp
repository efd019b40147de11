// The import's batch: ten thousand files registered with few commits (one per file would
// make the import many times slower, and each commit waits for the disk).
#include <windows.h>

#include <sqlite3.h>
#include <textkit/text.h>

#include <cstdio>

#include "dbtest.h"

using dbtest::DbTest;

namespace {

// Another connection's view of the commits: `data_version` changes each time a commit of
// another connection lands.
class CommitWatch {
 public:
  explicit CommitWatch(const std::string& file) {
    std::string utf8 = textkit::AnsiToUtf8(file);
    if (sqlite3_open_v2(utf8.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &st_, nullptr) != SQLITE_OK)
      ok_ = false;
    last_ = Version();
  }
  ~CommitWatch() {
    sqlite3_finalize(st_);
    sqlite3_close(db_);
  }
  bool ok() const { return ok_; }
  void Look() {
    long long now = Version();
    if (now != last_) ++commits_;
    last_ = now;
  }
  int commits() const { return commits_; }

 private:
  long long Version() {
    long long v = -1;
    if (ok_ && sqlite3_step(st_) == SQLITE_ROW) v = sqlite3_column_int64(st_, 0);
    sqlite3_reset(st_);
    return v;
  }
  sqlite3* db_ = nullptr;
  sqlite3_stmt* st_ = nullptr;
  bool ok_ = true;
  long long last_ = -1;
  int commits_ = 0;
};

}  // namespace

TEST_F(DbTest, TenThousandFilesInOneBatch) {
  constexpr int kFiles = 10000, kLookEvery = 50;
  CommitWatch watch(dir_ + "\\VxDatabase.db");
  ASSERT_TRUE(watch.ok());
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  ASSERT_EQ(VxDBWBeginBatch(), S_OK);
  for (int i = 0; i < kFiles; ++i) {
    dbtest::RegisterLikeImport(dbtest::PathOf("D:\\Pictures\\2010_05_01", i), i);
    if (i % kLookEvery == 0) watch.Look();
  }
  ASSERT_EQ(VxDBWEndBatch(), S_OK);
  QueryPerformanceCounter(&t1);
  watch.Look();
  double seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
  printf("registered %d files in %.3f s, %d commits seen\n", kFiles, seconds, watch.commits());
  RecordProperty("seconds", std::to_string(seconds));
  // The batch commits once a second (so that a crash loses little) and at its end: a commit
  // seen at every look means each file commits on its own. No time is asserted.
  EXPECT_GE(watch.commits(), 1);
  EXPECT_LT(watch.commits(), kFiles / kLookEvery / 4);
  int files = 0;
  VxDBGetFileCount(&files);
  EXPECT_EQ(files, kFiles);
  EXPECT_EQ(dbtest::Search("Keywords,海").size(), 5000u);
}
