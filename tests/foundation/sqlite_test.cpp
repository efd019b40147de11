// SQLite on a Windows path: committed rows survive a writer killed mid-transaction.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>

#include <program.h>
#include <tempfolder.h>

#include <string>

namespace {

std::string Utf8FromAnsi(const std::string& s) {
  wchar_t w[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w, MAX_PATH * 2);
  char u[MAX_PATH * 4] = {};
  WideCharToMultiByte(CP_UTF8, 0, w, -1, u, sizeof(u), nullptr, nullptr);
  return u;
}

sqlite3* Open(const std::string& ansiPath) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(Utf8FromAnsi(ansiPath).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
  return db;
}

int Count(sqlite3* db) {
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM files", -1, &st, nullptr);
  int n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
  sqlite3_finalize(st);
  return n;
}

}  // namespace

// Child: commits 100 rows, signals, then writes forever inside an open transaction.
int SqliteChildWriter(const char* path) {
  sqlite3* db = Open(path);
  if (!db) return 3;
  sqlite3_exec(db, "CREATE TABLE IF NOT EXISTS files(path TEXT PRIMARY KEY COLLATE NOCASE, size INTEGER)", nullptr,
               nullptr, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (int i = 0; i < 100; ++i) {
    std::string sql = "INSERT INTO files VALUES('C:\\写真\\IMG_" + std::to_string(i) + ".JPG', " + std::to_string(i) + ")";
    sqlite3_exec(db, Utf8FromAnsi(sql).c_str(), nullptr, nullptr, nullptr);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  HANDLE ev = OpenEventA(EVENT_MODIFY_STATE, FALSE, "GlimoraSmokeSqliteCommitted");
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (long i = 1000;; ++i) {
    std::string sql = "INSERT INTO files VALUES('C:\\pending\\" + std::to_string(i) + "', 0)";
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (i == 5000 && ev) SetEvent(ev);
  }
}

TEST(Sqlite, KilledWriterLosesNoCommittedRow) {
  std::string dir = testsupport::NewTempFolder("グリモラ試験");
  std::string path = dir + "\\smoke.db";

  HANDLE ev = CreateEventA(nullptr, TRUE, FALSE, "GlimoraSmokeSqliteCommitted");
  HANDLE child = testsupport::StartProgram("\"" + testsupport::ProgramPath() + "\" --sqlite-child \"" + path + "\"");
  ASSERT_NE(child, nullptr);
  // A writer that quits early ends the wait too; one that never signals is killed all the
  // same, since it writes for ever.
  HANDLE both[2] = {ev, child};
  DWORD waited = WaitForMultipleObjects(2, both, FALSE, 30000);
  TerminateProcess(child, 9);
  testsupport::WaitForExit(child, 10000);
  CloseHandle(ev);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "the writer never committed";

  sqlite3* db = Open(path);
  ASSERT_TRUE(db != nullptr);
  EXPECT_EQ(Count(db), 100);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok");
  sqlite3_finalize(st);
  // Paths compare without regard to case, as on Windows.
  sqlite3_prepare_v2(db, Utf8FromAnsi("SELECT size FROM files WHERE path = 'c:\\写真\\img_42.jpg'").c_str(), -1, &st, nullptr);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(st, 0), 42);
  sqlite3_finalize(st);
  sqlite3_close(db);
  testsupport::RemoveTree(dir);
}
