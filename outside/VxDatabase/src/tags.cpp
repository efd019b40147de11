// Classification: groups of files by date, camera, scene, place, keyword, folder, face
// and person, as trees of tags whose queries list the files; and taking a file out of one.
#include <cstdio>
#include <ctime>
#include <map>

#include "engine.h"

namespace vxdb {

namespace {

char* HeapText(const std::string& utf8) {
  std::string a = Utf8ToAnsi(utf8);
  char* p = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, a.size() + 1));
  if (p) memcpy(p, a.c_str(), a.size() + 1);
  return p;
}

// A value inside a query: quoted, so that '|' and ',' in it stay part of it.
std::string Quote(const std::string& v) {
  std::string q = "\"";
  for (char c : v) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

class TagBuilder {
 public:
  explicit TagBuilder(int kind) : kind_(kind) {}
  ~TagBuilder() { VxDBFreeTags(head_); }
  VXDBTAG* Add(VXDBTAG** tail, const std::string& name, const std::string& query, int count) {
    VXDBTAG* t = static_cast<VXDBTAG*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(VXDBTAG)));
    if (!t) {
      failed_ = true;
      return nullptr;
    }
    t->nKind = kind_;
    t->nCount = count;
    t->pszName = HeapText(name);
    t->pszQuery = HeapText(query);
    while (*tail) tail = &(*tail)->pNext;
    *tail = t;
    if (!t->pszName || !t->pszQuery) failed_ = true;
    return t;
  }
  VXDBTAG** root() { return &head_; }
  VXDBTAG* Take() {
    VXDBTAG* h = head_;
    head_ = nullptr;
    return h;
  }
  bool failed() const { return failed_; }

 private:
  int kind_;
  VXDBTAG* head_ = nullptr;
  bool failed_ = false;
};

void DateTags(sqlite3* db, TagBuilder& b) {
  std::map<int, std::map<int, std::map<int, int>>> days;
  Stmt st(db, "SELECT shot_time FROM files WHERE shot_time IS NOT NULL");
  while (st.Row()) {
    time_t t = static_cast<time_t>(st.Int(0));
    struct tm* lt = localtime(&t);
    if (lt) ++days[lt->tm_year + 1900][lt->tm_mon + 1][lt->tm_mday];
  }
  char buf[32];
  for (auto& y : days) {
    int yc = 0;
    for (auto& m : y.second)
      for (auto& d : m.second) yc += d.second;
    snprintf(buf, sizeof(buf), "%04d", y.first);
    VXDBTAG* yt = b.Add(b.root(), buf, std::string("Date,") + buf, yc);
    if (!yt) return;
    for (auto& m : y.second) {
      int mc = 0;
      for (auto& d : m.second) mc += d.second;
      snprintf(buf, sizeof(buf), "%04d/%02d", y.first, m.first);
      VXDBTAG* mt = b.Add(&yt->pChild, buf, std::string("Date,") + buf, mc);
      if (!mt) return;
      for (auto& d : m.second) {
        snprintf(buf, sizeof(buf), "%04d/%02d/%02d", y.first, m.first, d.first);
        b.Add(&mt->pChild, buf, std::string("Date,") + buf, d.second);
      }
    }
  }
}

// Groups by one field of a record (and, with field2, by a second field below it).
void FieldTags(sqlite3* db, TagBuilder& b, const char* rec, const char* field1, const char* q1, const char* field2,
               const char* q2) {
  std::string sql;
  if (field2) {
    sql =
        "SELECT min(a.value), a.value_key, min(b.value), b.value_key, count(DISTINCT a.file_id)"
        " FROM meta a JOIN meta b ON b.file_id = a.file_id AND b.rec = a.rec AND b.recno = a.recno AND b.field = ?3"
        " WHERE a.rec = ?1 AND a.field = ?2 AND a.flag = 0 AND a.value_key <> ''"
        " GROUP BY a.value_key, b.value_key ORDER BY a.value_key, b.value_key";
  } else {
    sql =
        "SELECT min(value), value_key, '', '', count(DISTINCT file_id) FROM meta"
        " WHERE rec = ?1 AND field = ?2 AND flag = 0 AND value_key <> '' GROUP BY value_key ORDER BY value_key";
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return;
  sqlite3_bind_text(st, 1, rec, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 2, field1, -1, SQLITE_STATIC);
  if (field2) sqlite3_bind_text(st, 3, field2, -1, SQLITE_STATIC);
  VXDBTAG* parent = nullptr;
  std::string parentKey;
  auto text = [st](int c) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c))); };
  while (sqlite3_step(st) == SQLITE_ROW) {
    std::string v1 = text(0), k1 = text(1), v2 = text(2);
    int count = sqlite3_column_int(st, 4);
    std::string query1 = std::string(q1) + "," + Quote(v1);
    if (!parent || k1 != parentKey) {
      parent = b.Add(b.root(), v1, query1, 0);
      parentKey = k1;
      if (!parent) break;
    }
    parent->nCount += count;
    if (field2 && !v2.empty()) b.Add(&parent->pChild, v2, query1 + "|" + q2 + "," + Quote(v2), count);
  }
  sqlite3_finalize(st);
}

void GroupTags(sqlite3* db, TagBuilder& b, const char* sql, const char* field) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return;
  while (sqlite3_step(st) == SQLITE_ROW) {
    std::string v = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    if (!b.Add(b.root(), v, std::string(field) + "," + Quote(v), sqlite3_column_int(st, 1))) break;
  }
  sqlite3_finalize(st);
}

HRESULT DeleteRecordsNamed(sqlite3* db, int64_t fileId, const char* rec) {
  Stmt st(db, "DELETE FROM meta WHERE file_id = ? AND rec = ?");
  if (!st.Bind(1, fileId).Bind(2, rec).Run()) return E_FAIL;
  return sqlite3_changes(db) > 0 ? S_OK : VXDB_E_NOTFOUND;
}

// Takes one keyword out of the file's keyword texts.
HRESULT RemoveKeyword(sqlite3* db, int64_t fileId, const std::string& keyword) {
  if (keyword.empty()) {
    HRESULT hr = DeleteRecordsNamed(db, fileId, VXDB_REC_KEYWORDS);
    RebuildKeywords(db, fileId);
    return hr;
  }
  std::string key = FoldUtf8(keyword);
  struct Row {
    int64_t recno, seq;
    std::string value;
  };
  std::vector<Row> rows;
  {
    Stmt st(db,
            "SELECT recno, seq, value FROM meta WHERE file_id = ? AND rec = '" VXDB_REC_KEYWORDS "'"
            " AND field = '" VXDB_FLD_KEYWORDS "'");
    st.Bind(1, fileId);
    while (st.Row()) rows.push_back({st.Int(0), st.Int(1), st.Text(2)});
  }
  bool removed = false;
  for (const Row& r : rows) {
    std::string kept;
    for (const std::string& piece : SplitPieces(r.value)) {
      if (FoldUtf8(piece) == key) {
        removed = true;
        continue;
      }
      if (!kept.empty()) kept += "||";
      kept += piece;
    }
    Stmt up(db,
            "UPDATE meta SET value = ?, value_key = ? WHERE file_id = ? AND rec = '" VXDB_REC_KEYWORDS "'"
            " AND recno = ? AND seq = ?");
    up.Bind(1, kept).Bind(2, FoldUtf8(kept)).Bind(3, fileId).Bind(4, r.recno).Bind(5, r.seq).Run();
  }
  RebuildKeywords(db, fileId);
  return removed ? S_OK : VXDB_E_NOTFOUND;
}

}  // namespace

}  // namespace vxdb

using namespace vxdb;

VXDB_API void WINAPI VxDBFreeTags(VXDBTAG* t) {
  while (t) {
    VXDBTAG* next = t->pNext;
    VxDBFreeTags(t->pChild);
    if (t->pszName) HeapFree(GetProcessHeap(), 0, t->pszName);
    if (t->pszQuery) HeapFree(GetProcessHeap(), 0, t->pszQuery);
    HeapFree(GetProcessHeap(), 0, t);
    t = next;
  }
}

VXDB_API HRESULT WINAPI VxDBCreateTags(int nKind, VXDBTAG** ppTags) {
  if (!ppTags) return E_INVALIDARG;
  *ppTags = nullptr;
  Session s;
  if (FAILED(s.hr())) return s.hr();
  sqlite3* db = s.db();
  TagBuilder b(nKind);
  switch (nKind) {
    case VXDB_CLASS_DATE:
      DateTags(db, b);
      break;
    case VXDB_CLASS_MODEL:
      FieldTags(db, b, VXDB_REC_MODEL, VXDB_FLD_MAKER, "Maker", VXDB_FLD_MODEL, "Model");
      break;
    case VXDB_CLASS_SCENE:
      FieldTags(db, b, VXDB_REC_SCENE, VXDB_FLD_SCENE1, "Scene", nullptr, nullptr);
      break;
    case VXDB_CLASS_LOCATION:
      FieldTags(db, b, VXDB_REC_LOCATION, VXDB_FLD_AREA, "Area", VXDB_FLD_CITY, "City");
      break;
    case VXDB_CLASS_FOLDER:
      FieldTags(db, b, VXDB_REC_FOLDER, VXDB_FLD_FOLDERNAME, "FolderName", nullptr, nullptr);
      break;
    case VXDB_CLASS_FACE:
      FieldTags(db, b, VXDB_REC_FACE, VXDB_FLD_FACE, "Face", nullptr, nullptr);
      break;
    case VXDB_CLASS_KEYWORD:
      GroupTags(db, b, "SELECT min(keyword), count(*) FROM keywords GROUP BY keyword_key ORDER BY keyword_key", "Keywords");
      break;
    case VXDB_CLASS_PERSON:
      GroupTags(db, b,
                "SELECT min(name), count(DISTINCT path_key) FROM person_records WHERE kind IN (1, 3) AND name_key <> ''"
                " GROUP BY name_key ORDER BY name_key",
                "Person");
      break;
    default:
      return E_INVALIDARG;
  }
  if (b.failed()) return E_OUTOFMEMORY;
  *ppTags = b.Take();
  return *ppTags ? S_OK : S_FALSE;
}

VXDB_API HRESULT WINAPI VxDBRemoveFromClass(LPCSTR pszPath, int nKind, LPCSTR pszValue) {
  PathParts p;
  HRESULT hr = ParsePath(pszPath, p);
  if (FAILED(hr)) return hr;
  std::string value;
  if (pszValue && !AnsiToUtf8(pszValue, value)) return E_INVALIDARG;
  return WriteOp([&](sqlite3* db) -> HRESULT {
    if (nKind == VXDB_CLASS_PERSON) {
      Stmt st(db, "DELETE FROM person_records WHERE path_key = ?1 AND kind IN (1, 3) AND (?2 = '' OR name_key = ?2)");
      if (!st.Bind(1, p.key).Bind(2, FoldUtf8(value)).Run()) return E_FAIL;
      return sqlite3_changes(db) > 0 ? S_OK : VXDB_E_NOTFOUND;
    }
    int64_t id = FileId(db, p.key);
    if (!id) return VXDB_E_NOTFOUND;
    switch (nKind) {
      case VXDB_CLASS_DATE: {
        Stmt st(db, "UPDATE files SET shot_time = NULL WHERE id = ?");
        st.Bind(1, id).Run();
        return DeleteRecordsNamed(db, id, VXDB_REC_DATETIME);
      }
      case VXDB_CLASS_MODEL:
        return DeleteRecordsNamed(db, id, VXDB_REC_MODEL);
      case VXDB_CLASS_SCENE:
        return DeleteRecordsNamed(db, id, VXDB_REC_SCENE);
      case VXDB_CLASS_LOCATION:
        return DeleteRecordsNamed(db, id, VXDB_REC_LOCATION);
      case VXDB_CLASS_FOLDER:
        return DeleteRecordsNamed(db, id, VXDB_REC_FOLDER);
      case VXDB_CLASS_FACE:
        return DeleteRecordsNamed(db, id, VXDB_REC_FACE);
      case VXDB_CLASS_KEYWORD:
        return RemoveKeyword(db, id, value);
      default:
        return E_INVALIDARG;
    }
  });
}
