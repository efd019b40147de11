// The reference of the registration benchmarks: the rows the photo database wrote, read
// back and inserted bare (same schema, settings and SQLite build; prepared statements, one
// transaction) into a database of their own.
#pragma once

#include <windows.h>

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "benchcommon.h"

namespace bench {

struct Rows {
  std::vector<std::string> schema;  // tables, then indexes, as the database holds them
  struct Table {
    std::string insert;
    int columns = 0;
    std::vector<sqlite3_value*> values;  // row after row
  };
  std::vector<Table> tables;
  Rows() = default;
  Rows(const Rows&) = delete;
  Rows& operator=(const Rows&) = delete;
  ~Rows() { Clear(); }
  void Clear() {
    for (Table& t : tables)
      for (sqlite3_value* v : t.values) sqlite3_value_free(v);
    tables.clear();
  }
  size_t Count() const {
    size_t n = 0;
    for (const Table& t : tables) n += t.values.size() / t.columns;
    return n;
  }
};

inline std::string Utf8Of(const std::string& ansi) {
  WCHAR wide[MAX_PATH];
  char utf8[MAX_PATH * 3];
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH);
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

// The rows of the files whose id is above afterId and at most lastId (a file's own row and
// every row naming it by file_id), with the schema when rows->schema is still empty. False
// when unreadable.
inline bool ReadRows(const std::string& dbFile, Rows* rows, int64_t afterId = 0, int64_t lastId = INT64_MAX) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(Utf8Of(dbFile).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    fprintf(stderr, "bench: can't read %s\n", dbFile.c_str());
    return sqlite3_close(db), false;
  }
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL AND name NOT LIKE 'sqlite_%'"
                     " ORDER BY type = 'index', rowid",
                     -1, &st, nullptr);
  const bool schema = rows->schema.empty();
  std::vector<std::string> names;
  while (sqlite3_step(st) == SQLITE_ROW) {
    if (schema) rows->schema.push_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
    if (!strcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "table"))
      names.push_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
  }
  sqlite3_finalize(st);
  for (const std::string& name : names) {
    Rows::Table t;
    sqlite3_prepare_v2(db, ("SELECT * FROM \"" + name + "\"").c_str(), -1, &st, nullptr);
    t.columns = sqlite3_column_count(st);
    // Which column names the file, if any.
    std::string key;
    for (int c = 0; c < t.columns; ++c) {
      const char* column = sqlite3_column_name(st, c);
      if (!strcmp(column, "file_id") || (name == "files" && !strcmp(column, "id"))) key = column;
    }
    if (!key.empty()) {
      sqlite3_finalize(st);
      sqlite3_prepare_v2(db, ("SELECT * FROM \"" + name + "\" WHERE " + key + " > ? AND " + key + " <= ?").c_str(), -1,
                         &st, nullptr);
      sqlite3_bind_int64(st, 1, afterId);
      sqlite3_bind_int64(st, 2, lastId);
    }
    while (sqlite3_step(st) == SQLITE_ROW)
      for (int c = 0; c < t.columns; ++c) t.values.push_back(sqlite3_value_dup(sqlite3_column_value(st, c)));
    sqlite3_finalize(st);
    if (t.values.empty()) continue;
    t.insert = "INSERT INTO \"" + name + "\" VALUES(";
    for (int c = 0; c < t.columns; ++c) t.insert += c ? ",?" : "?";
    t.insert += ")";
    rows->tables.push_back(std::move(t));
  }
  sqlite3_close(db);
  return true;
}

// A database at file with the photo database's settings and the rows' schema. Like the
// database's batches, it leaves the log's copy into the file to the closing (not timed).
inline sqlite3* OpenBare(const std::string& file, const Rows& rows) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(Utf8Of(file).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=ON",
                             "PRAGMA temp_store=MEMORY", "PRAGMA cache_size=-32000", "PRAGMA wal_autocheckpoint=16000"})
    sqlite3_exec(db, pragma, nullptr, nullptr, nullptr);
  for (const std::string& sql : rows.schema) sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return db;
}

// The rows inserted in one transaction. Seconds, or negative on a failure.
inline double InsertBare(sqlite3* db, const Rows& rows) {
  const double start = Now();
  bool ok = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
  for (const Rows::Table& t : rows.tables) {
    sqlite3_stmt* st = nullptr;
    ok = ok && sqlite3_prepare_v2(db, t.insert.c_str(), -1, &st, nullptr) == SQLITE_OK;
    for (size_t v = 0; ok && v < t.values.size(); v += t.columns) {
      for (int c = 0; c < t.columns; ++c) sqlite3_bind_value(st, c + 1, t.values[v + c]);
      ok = sqlite3_step(st) == SQLITE_DONE;
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
  }
  ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  const double took = Now() - start;
  return ok ? took : -1;
}

}  // namespace bench
