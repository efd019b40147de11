// Searches: the query language, its translation to SQL, and the classification groups.
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <set>

#include "engine.h"

namespace vxdb {

namespace {

bool SameAscii(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

// Splits at `sep` outside double quotes; quotes are removed and "" inside them is one quote.
std::vector<std::string> SplitQuoted(const std::string& s, char sep, bool keepEmpty) {
  std::vector<std::string> out;
  std::string cur;
  bool quoted = false, any = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      if (quoted && i + 1 < s.size() && s[i + 1] == '"') {
        cur += '"';
        ++i;
      } else {
        quoted = !quoted;
        any = true;
      }
    } else if (c == sep && !quoted) {
      if (keepEmpty || !cur.empty() || any) out.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += c;
    }
  }
  if (keepEmpty || !cur.empty() || any) out.push_back(cur);
  return out;
}

// A value for LIKE: '*' and '?' are the wildcards, everything else is literal.
bool ToLike(const std::string& folded, std::string& like) {
  bool wild = false;
  like.clear();
  for (char c : folded) {
    if (c == '*') {
      like += '%';
      wild = true;
    } else if (c == '?') {
      like += '_';
      wild = true;
    } else if (c == '%' || c == '_' || c == '!') {
      like += '!';
      like += c;
    } else {
      like += c;
    }
  }
  return wild;
}

struct FieldMap {
  const char* name;
  const char* rec;
  const char* fields[4];
};

const FieldMap kMetaFields[] = {
    {"Maker", VXDB_REC_MODEL, {VXDB_FLD_MAKER}},
    {"Model", VXDB_REC_MODEL, {VXDB_FLD_MODEL}},
    {"Scene", VXDB_REC_SCENE, {VXDB_FLD_SCENE1, VXDB_FLD_SCENE2, VXDB_FLD_SCENE3, VXDB_FLD_SCENE4}},
    {"FolderName", VXDB_REC_FOLDER, {VXDB_FLD_FOLDERNAME}},
    {"FolderPath", VXDB_REC_FOLDER, {VXDB_FLD_FOLDERPATH}},
    {"Area", VXDB_REC_LOCATION, {VXDB_FLD_AREA}},
    {"City", VXDB_REC_LOCATION, {VXDB_FLD_CITY}},
    {"Place", VXDB_REC_LOCATION, {VXDB_FLD_PLACE}},
    {"Location", VXDB_REC_LOCATION, {VXDB_FLD_AREA, VXDB_FLD_CITY, VXDB_FLD_PLACE}},
    {"Face", VXDB_REC_FACE, {VXDB_FLD_FACE}},
};

const FieldMap* FindMetaField(const std::string& field) {
  for (const FieldMap& m : kMetaFields)
    if (SameAscii(field, m.name)) return &m;
  return nullptr;
}

const char* const kPlainFields[] = {"Keywords", "Keyword", "Person", "Date", "Favorite", "Print",
                                    "Folder",   "Path",    "Name",   "Similar"};

bool KnownField(const std::string& field) {
  if (FindMetaField(field)) return true;
  for (const char* f : kPlainFields)
    if (SameAscii(field, f)) return true;
  // "Record.Field" names any metadata field.
  size_t dot = field.find('.');
  return dot != std::string::npos && dot > 0 && dot + 1 < field.size();
}

// The SQL condition of one term on files f, with its parameters.
struct Cond {
  std::string sql;
  std::vector<std::string> texts;  // bound in order as text...
  std::vector<int64_t> ints;       // ...unless the placeholder is ?I (numbers, in order)
};

void AddText(Cond& c, const std::string& s) {
  c.sql += "?";
  c.texts.push_back(s);
  c.ints.push_back(INT64_MIN);
}
void AddInt(Cond& c, int64_t v) {
  c.sql += "?";
  c.texts.emplace_back();
  c.ints.push_back(v);
}

// value_key = ? or value_key LIKE ? ESCAPE '!'
void AddMatch(Cond& c, const char* column, const std::string& value) {
  std::string like;
  std::string folded = FoldUtf8(value);
  if (ToLike(folded, like)) {
    c.sql += std::string(column) + " LIKE ";
    AddText(c, like);
    c.sql += " ESCAPE '!'";
  } else {
    c.sql += std::string(column) + " = ";
    AddText(c, folded);
  }
}

bool ParseHash(sqlite3* db, const std::string& v, uint64_t& hash) {
  if (v.size() > 2 && (v[0] == '0') && (v[1] == 'x' || v[1] == 'X')) {
    char* end = nullptr;
    hash = strtoull(v.c_str() + 2, &end, 16);
    return end && *end == 0;
  }
  PathParts p;
  std::string ansi = Utf8ToAnsi(v);
  if (FAILED(ParsePath(ansi.c_str(), p))) return false;
  Stmt st(db, "SELECT phash FROM files WHERE path_key = ? AND phash IS NOT NULL");
  if (!st.Bind(1, p.key).Row()) return false;
  hash = static_cast<uint64_t>(st.Int(0));
  return true;
}

bool BuildCond(sqlite3* db, const Term& t, Cond& c) {
  const std::string& f = t.field;
  if (const FieldMap* m = FindMetaField(f)) {
    c.sql = "f.id IN (SELECT file_id FROM meta WHERE rec = ";
    AddText(c, m->rec);
    c.sql += " AND field IN (";
    for (int i = 0; i < 4 && m->fields[i]; ++i) {
      if (i) c.sql += ", ";
      AddText(c, m->fields[i]);
    }
    c.sql += ") AND flag = 0 AND value_key <> '' AND ";
    AddMatch(c, "value_key", t.value);
    c.sql += ")";
    return true;
  }
  if (SameAscii(f, "Keywords") || SameAscii(f, "Keyword")) {
    c.sql = "f.id IN (SELECT file_id FROM keywords WHERE ";
    AddMatch(c, "keyword_key", t.value);
    c.sql += ")";
    return true;
  }
  if (SameAscii(f, "Person")) {
    c.sql = "f.path_key IN (SELECT path_key FROM person_records WHERE kind IN (1, 3) AND ";
    AddMatch(c, "name_key", t.value);
    c.sql += ")";
    return true;
  }
  if (SameAscii(f, "Date")) {
    if (SameAscii(t.value, "none")) {
      c.sql = "f.shot_time IS NULL";
      return true;
    }
    int64_t b, e;
    if (!ParseDateRange(t.value, t.value2, &b, &e)) return false;
    c.sql = "f.shot_time >= ";
    AddInt(c, b);
    c.sql += " AND f.shot_time < ";
    AddInt(c, e);
    return true;
  }
  if (SameAscii(f, "Favorite")) {
    c.sql = t.value == "0" ? "f.favorite = 0" : "f.favorite <> 0";
    return true;
  }
  if (SameAscii(f, "Print")) {
    c.sql = t.value == "0" ? "f.print_count = 0" : "f.print_count > 0";
    return true;
  }
  if (SameAscii(f, "Folder") || SameAscii(f, "Path")) {
    std::string folder, key;
    std::string ansi = Utf8ToAnsi(t.value);
    if (FAILED(ParseFolder(ansi.c_str(), folder, key))) return false;
    if (SameAscii(f, "Folder")) {
      c.sql = "f.folder_key = ";
      AddText(c, key);
    } else {
      c.sql = "f.path_key >= ";
      AddText(c, key);
      c.sql += " AND f.path_key < ";
      AddText(c, KeyRangeEnd(key));
    }
    return true;
  }
  if (SameAscii(f, "Name")) {
    std::string like;
    ToLike(FoldUtf8(t.value), like);
    c.sql = "f.path_key LIKE ";
    AddText(c, "%\\" + like);
    c.sql += " ESCAPE '!'";
    return true;
  }
  if (SameAscii(f, "Similar")) {
    uint64_t hash;
    if (!ParseHash(db, t.value, hash)) return false;
    int64_t dist = t.value2.empty() ? 10 : atoi(t.value2.c_str());
    c.sql = "f.phash IS NOT NULL AND hamming(f.phash, ";
    AddInt(c, static_cast<int64_t>(hash));
    c.sql += ") <= ";
    AddInt(c, dist);
    return true;
  }
  size_t dot = f.find('.');
  if (dot == std::string::npos) return false;
  c.sql = "f.id IN (SELECT file_id FROM meta WHERE rec = ";
  AddText(c, f.substr(0, dot));
  c.sql += " AND field = ";
  AddText(c, f.substr(dot + 1));
  c.sql += " AND ";
  AddMatch(c, "value_key", t.value);
  c.sql += ")";
  return true;
}

void BindCond(sqlite3_stmt* st, const Cond& c, int& index) {
  for (size_t i = 0; i < c.ints.size(); ++i) {
    if (c.ints[i] != INT64_MIN)
      sqlite3_bind_int64(st, index++, c.ints[i]);
    else
      sqlite3_bind_text(st, index++, c.texts[i].data(), static_cast<int>(c.texts[i].size()), SQLITE_TRANSIENT);
  }
}

int64_t LocalTime(int y, int m, int d) {
  struct tm t = {};
  t.tm_year = y - 1900;
  t.tm_mon = m - 1;
  t.tm_mday = d;
  t.tm_isdst = -1;
  return static_cast<int64_t>(mktime(&t));
}

// "YYYY", "YYYY/MM", "YYYY/MM/DD" (or '-', '.'; or "YYYYMMDD"): the first day and the
// first day after the period.
bool ParseDate(const std::string& s, int64_t* begin, int64_t* end) {
  int y = 0, m = 0, d = 0;
  std::string digits;
  for (char c : s)
    if (c >= '0' && c <= '9') digits += c;
  bool separated = digits.size() != s.size();
  if (separated) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
      if (c == '/' || c == '-' || c == '.') {
        parts.push_back(cur);
        cur.clear();
      } else if (c >= '0' && c <= '9') {
        cur += c;
      } else {
        return false;
      }
    }
    parts.push_back(cur);
    if (parts.empty() || parts.size() > 3) return false;
    for (auto& p : parts)
      if (p.empty() || p.size() > 4) return false;
    y = atoi(parts[0].c_str());
    if (parts.size() > 1) m = atoi(parts[1].c_str());
    if (parts.size() > 2) d = atoi(parts[2].c_str());
  } else if (digits.size() == 4 || digits.size() == 6 || digits.size() == 8) {
    y = atoi(digits.substr(0, 4).c_str());
    if (digits.size() >= 6) m = atoi(digits.substr(4, 2).c_str());
    if (digits.size() == 8) d = atoi(digits.substr(6, 2).c_str());
  } else {
    return false;
  }
  if (y < 1970 || y > 3000 || m < 0 || m > 12 || d < 0 || d > 31) return false;
  if (d && !m) return false;
  if (m == 0) {
    *begin = LocalTime(y, 1, 1);
    *end = LocalTime(y + 1, 1, 1);
  } else if (d == 0) {
    *begin = LocalTime(y, m, 1);
    *end = m == 12 ? LocalTime(y + 1, 1, 1) : LocalTime(y, m + 1, 1);
  } else {
    *begin = LocalTime(y, m, d);
    *end = LocalTime(y, m, d + 1);  // mktime carries into the next month
  }
  return *begin != -1 && *end != -1;
}

}  // namespace

bool ParseDateRange(const std::string& from, const std::string& to, int64_t* begin, int64_t* end) {
  int64_t b1, e1;
  if (!ParseDate(from, &b1, &e1)) return false;
  if (!to.empty()) {
    int64_t b2, e2;
    if (!ParseDate(to, &b2, &e2) || e2 < b1) return false;
    e1 = e2;
  }
  *begin = b1;
  *end = e1;
  return true;
}

bool ParseQuery(const std::string& query, std::vector<Term>& terms) {
  terms.clear();
  for (const std::string& raw : SplitQuoted(query, '|', false)) {
    std::string piece = raw;
    while (!piece.empty() && piece.front() == ' ') piece.erase(piece.begin());
    while (!piece.empty() && piece.back() == ' ') piece.pop_back();
    if (piece.empty() || piece.find_first_not_of('%') == std::string::npos) continue;
    std::vector<std::string> parts = SplitQuoted(raw, ',', true);
    if (parts.size() < 2) return false;
    Term t;
    t.field = parts[0];
    while (!t.field.empty() && t.field.front() == ' ') t.field.erase(t.field.begin());
    while (!t.field.empty() && t.field.back() == ' ') t.field.pop_back();
    t.value = parts[1];
    if (parts.size() > 2) t.value2 = parts[2];
    if (parts.size() > 3 || t.field.empty() || !KnownField(t.field)) return false;
    terms.push_back(std::move(t));
  }
  return true;
}

HRESULT RunQuery(sqlite3* db, const std::string& query, std::vector<std::string>& paths) {
  paths.clear();
  std::vector<Term> terms;
  if (!ParseQuery(query, terms) || terms.empty()) return E_INVALIDARG;
  // Pictures filed under a name need not be enrolled: a name alone lists them all.
  if (terms.size() == 1 && SameAscii(terms[0].field, "Person")) {
    Cond c;
    c.sql = "SELECT min(path) FROM person_records WHERE kind IN (1, 3) AND ";
    AddMatch(c, "name_key", terms[0].value);
    c.sql += " GROUP BY path_key ORDER BY path_key";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, c.sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return E_FAIL;
    int index = 1;
    BindCond(st, c, index);
    while (sqlite3_step(st) == SQLITE_ROW) paths.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return paths.empty() ? VXDB_E_NOTFOUND : S_OK;
  }
  std::vector<Cond> conds(terms.size());
  std::string sql = "SELECT f.path FROM files f WHERE ";
  for (size_t i = 0; i < terms.size(); ++i) {
    if (!BuildCond(db, terms[i], conds[i])) return E_INVALIDARG;
    if (i) sql += " AND ";
    sql += "(" + conds[i].sql + ")";
  }
  sql += " ORDER BY f.path_key";
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return E_FAIL;
  int index = 1;
  for (const Cond& c : conds) BindCond(st, c, index);
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) paths.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) return E_FAIL;
  return paths.empty() ? VXDB_E_NOTFOUND : S_OK;
}

STRINGLIST* ToStringList(const std::vector<std::string>& utf8, const std::vector<LONG_PTR>* data) {
  STRINGLIST* head = nullptr;
  STRINGLIST** tail = &head;
  for (size_t i = 0; i < utf8.size(); ++i) {
    STRINGLIST* node = StringListAppend(tail, Utf8ToAnsi(utf8[i]).c_str(), data ? (*data)[i] : 0);
    if (!node) {
      FreeStringList(head);
      return nullptr;
    }
    tail = &node->pNext;
  }
  return head;
}

HRESULT ListRows(Stmt& st, STRINGLIST** out) {
  std::vector<std::string> texts;
  std::vector<LONG_PTR> data;
  while (st.Row()) {
    texts.push_back(st.Text(0));
    data.push_back(static_cast<LONG_PTR>(st.Int(1)));
  }
  if (texts.empty()) return S_FALSE;
  *out = ToStringList(texts, &data);
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace vxdb
