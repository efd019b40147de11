// A statement's result rows as text ("a|b|\n" per row, NULL for none), for comparing what
// two ways of storing left in a database.
#pragma once

#include <sqlite3.h>

#include <string>

namespace testsupport {

inline std::string StatementRows(sqlite3_stmt* st) {
  std::string rows;
  while (st && sqlite3_step(st) == SQLITE_ROW) {
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
      const unsigned char* t = sqlite3_column_text(st, c);
      rows += t ? reinterpret_cast<const char*>(t) : "NULL";
      rows += '|';
    }
    rows += '\n';
  }
  return rows;
}

}  // namespace testsupport
