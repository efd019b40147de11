// Registered files: enrolment, metadata records, moves, copies and deletions.
#include <cctype>
#include <cstdlib>

#include "engine.h"

namespace vxdb {

DiskInfo DiskInfoOf(const WIN32_FILE_ATTRIBUTE_DATA& fa) {
  DiskInfo d;
  d.size = (static_cast<int64_t>(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow;
  d.writeTime = (static_cast<int64_t>(fa.ftLastWriteTime.dwHighDateTime) << 32) | fa.ftLastWriteTime.dwLowDateTime;
  return d;
}

DiskInfo StatFile(const std::string& pathUtf8) {
  WIN32_FILE_ATTRIBUTE_DATA fa;
  return GetFileAttributesExW(Utf8ToWide(pathUtf8).c_str(), GetFileExInfoStandard, &fa) ? DiskInfoOf(fa) : DiskInfo();
}

namespace {

// Folded record names.
const char VXDB_REC_DATETIME_KEY[] = "DATETIMEINFO";
const char VXDB_REC_KEYWORDS_KEY[] = "KEYWORDSINFO";

// The last folder name of a folder path ending in '\' ("D:\Pictures\2010_05_01\" → "2010_05_01").
std::string LastFolderName(const std::string& folder) {
  std::string f = folder;
  while (!f.empty() && f.back() == '\\') f.pop_back();
  size_t slash = f.rfind('\\');
  return slash == std::string::npos ? f : f.substr(slash + 1);
}

bool SetField(sqlite3* db, int64_t fileId, const char* rec, const char* field, const std::string& value) {
  Stmt st(db, "UPDATE meta SET value = ?, value_key = ? WHERE file_id = ? AND rec = ? AND field = ?");
  return st.Bind(1, value).Bind(2, FoldUtf8(value)).Bind(3, fileId).Bind(4, rec).Bind(5, field).Run();
}

int64_t ParseTime(const std::string& s) {
  if (s.empty()) return -1;
  char* end = nullptr;
  long long v = strtoll(s.c_str(), &end, 10);
  return (end && *end == 0) ? v : -1;
}

void UpdateShotTime(sqlite3* db, int64_t fileId) {
  int64_t t = -1;
  {
    Stmt st(db,
            "SELECT value FROM meta WHERE file_id = ? AND rec = '" VXDB_REC_DATETIME "' AND field = '" VXDB_FLD_SHOTTIME "'"
            " ORDER BY recno LIMIT 1");
    if (st.Bind(1, fileId).Row()) t = ParseTime(st.Text(0));
  }
  Stmt up(db, "UPDATE files SET shot_time = ? WHERE id = ?");
  if (t >= 0)
    up.Bind(1, t);
  else
    up.BindNull(1);
  up.Bind(2, fileId).Run();
}

// Names as the meta table compares them (COLLATE NOCASE: ASCII letters only).
bool SameNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    unsigned char x = a[i], y = b[i];
    if (x != y && !(x < 0x80 && y < 0x80 && tolower(x) == tolower(y))) return false;
  }
  return i == a.size() && !b[i];
}

// The shot time a new file's records give (the first "ShotTime" of a date record), -1
// when none.
int64_t ShotTimeOf(const std::vector<RecordText>& recs) {
  for (const RecordText& r : recs) {
    if (!SameNoCase(r.name, VXDB_REC_DATETIME)) continue;
    for (const FieldText& f : r.fields)
      if (SameNoCase(f.name, VXDB_FLD_SHOTTIME)) return ParseTime(f.value);
  }
  return -1;
}

// ifNew: a path already enrolled is left as it is (S_FALSE) rather than refused.
HRESULT InsertFile(sqlite3* db, const PathParts& p, const DiskInfo& d, DWORD flags, int64_t shot, int64_t* id,
                   bool ifNew = false) {
  Stmt st(db, ifNew ? "INSERT INTO files(path, path_key, folder_key, name, size, file_time, enroll_time, enroll_flags,"
                      " shot_time) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(path_key) DO NOTHING"
                    : "INSERT INTO files(path, path_key, folder_key, name, size, file_time, enroll_time, enroll_flags,"
                      " shot_time) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
  st.BindRef(1, p.path).BindRef(2, p.key).BindRef(3, p.folderKey).BindRef(4, p.name).Bind(5, d.size);
  st.Bind(6, d.writeTime).Bind(7, NowUnix()).Bind(8, static_cast<int64_t>(flags));
  if (shot >= 0)
    st.Bind(9, shot);
  else
    st.BindNull(9);
  if (!st.Run()) return E_FAIL;
  if (ifNew && sqlite3_changes(db) == 0) return S_FALSE;
  if (id) *id = sqlite3_last_insert_rowid(db);
  return S_OK;
}

// Splits a file's keyword values into its keyword rows.
void InsertKeywords(sqlite3* db, int64_t fileId, const std::vector<std::string>& values) {
  Stmt ins(db, "INSERT OR IGNORE INTO keywords(file_id, keyword_key, keyword) VALUES(?, ?, ?)");
  std::string key;
  for (const std::string& v : values) {
    for (const std::string& k : SplitPieces(v)) {
      key = FoldUtf8(k);
      ins.Bind(1, fileId).BindRef(2, key).BindRef(3, k).Step();
      sqlite3_reset(ins.get());
    }
  }
}

// The records of a list into the meta table; fresh: the file has no records yet (a new
// entry), so nothing is deleted or read back.
HRESULT WriteMeta(sqlite3* db, int64_t fileId, const std::vector<RecordText>& recs, bool fresh);

}  // namespace

// The whole list in UTF-8 first, so that a bad text refuses the update before any write.
HRESULT ConvertList(const METADATA* list, std::vector<RecordText>& out) {
  for (const METADATA* r = list; r; r = r->pNext) {
    RecordText rt;
    if (!r->szName[0] || memchr(r->szName, 0, sizeof(r->szName)) == nullptr) return E_INVALIDARG;
    rt.name = r->szName;
    int guard = 0;
    for (const METAFIELD* f = r->pFields; f; f = f->pNext) {
      if (++guard > 100000) return E_INVALIDARG;  // a cycle, not a list
      if (memchr(f->szName, 0, sizeof(f->szName)) == nullptr) return E_INVALIDARG;
      FieldText ft;
      ft.name = f->szName;
      ft.flag = f->nFlag;
      if (f->pszValue && !AnsiToUtf8(f->pszValue, ft.value)) return E_INVALIDARG;
      rt.fields.push_back(std::move(ft));
    }
    out.push_back(std::move(rt));
  }
  return S_OK;
}

// A file that follows its folder keeps its folder classification in step with it.
void FollowFolder(sqlite3* db, int64_t fileId, const std::string& oldFolderKey, const std::string& newFolder) {
  std::string current;
  {
    Stmt st(db, "SELECT value_key FROM meta WHERE file_id = ? AND rec = '" VXDB_REC_FOLDER "' AND field = '" VXDB_FLD_FOLDERPATH "'");
    if (!st.Bind(1, fileId).Row()) return;
    current = st.Text(0);
  }
  if (current != oldFolderKey || FoldUtf8(newFolder) == oldFolderKey) return;
  SetField(db, fileId, VXDB_REC_FOLDER, VXDB_FLD_FOLDERPATH, newFolder);
  SetField(db, fileId, VXDB_REC_FOLDER, VXDB_FLD_FOLDERNAME, LastFolderName(newFolder));
}

int64_t FileId(sqlite3* db, const std::string& key) {
  Stmt st(db, "SELECT id FROM files WHERE path_key = ?");
  return st.Bind(1, key).Row() ? st.Int(0) : 0;
}

HRESULT EnrollParts(sqlite3* db, const PathParts& p, DWORD flags, int64_t* id) {
  int64_t existing = FileId(db, p.key);
  if (existing) {
    DiskInfo d = StatFile(p.path);
    // Enrolled already: refresh what the disk says and keep the metadata.
    Stmt st(db, "UPDATE files SET path = ?, name = ?, size = ?, file_time = ? WHERE id = ?");
    if (!st.Bind(1, p.path).Bind(2, p.name).Bind(3, d.size).Bind(4, d.writeTime).Bind(5, existing).Run()) return E_FAIL;
    if (id) *id = existing;
    return S_FALSE;
  }
  return InsertFile(db, p, StatFile(p.path), flags, -1, id);
}

HRESULT UpdateMeta(sqlite3* db, int64_t fileId, const METADATA* list) {
  std::vector<RecordText> recs;
  HRESULT hr = ConvertList(list, recs);
  return FAILED(hr) ? hr : WriteMeta(db, fileId, recs, false);
}

HRESULT EnterFile(sqlite3* db, const PathParts& p, const std::vector<RecordText>& recs, const DiskInfo& disk) {
  // Mostly a new path: the insert itself finds an earlier entry, which then goes first.
  const int64_t shot = ShotTimeOf(recs);
  int64_t id = 0;
  HRESULT hr = InsertFile(db, p, disk, 0, shot, &id, true);
  if (hr == S_FALSE) {
    if (FAILED(DeleteById(db, FileId(db, p.key)))) return E_FAIL;
    hr = InsertFile(db, p, disk, 0, shot, &id);
  }
  return FAILED(hr) ? hr : WriteMeta(db, id, recs, true);
}

namespace {

HRESULT WriteMeta(sqlite3* db, int64_t fileId, const std::vector<RecordText>& recs, bool fresh) {
  // Every record name in the list replaces the file's records of that name.
  bool hadMeta = false;
  if (!fresh) {
    Stmt st(db, "SELECT 1 FROM meta WHERE file_id = ? LIMIT 1");
    hadMeta = st.Bind(1, fileId).Row();
  }
  std::vector<std::string> keywordValues;  // of a fresh file
  std::vector<std::pair<std::string, int>> recno;  // a list holds a few records
  bool dates = false, keywords = false;
  Stmt ins(db,
           "INSERT INTO meta(file_id, rec, recno, seq, field, flag, value, value_key) VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
  std::string valueKey;
  for (const RecordText& r : recs) {
    std::string key = FoldUtf8(r.name);
    size_t k = 0;
    while (k < recno.size() && recno[k].first != key) ++k;
    if (k == recno.size()) {
      if (hadMeta) {
        Stmt del(db, "DELETE FROM meta WHERE file_id = ? AND rec = ?");
        if (!del.Bind(1, fileId).BindRef(2, r.name).Run()) return E_FAIL;
      }
      recno.emplace_back(key, 0);
    }
    int n = recno[k].second++;
    dates = dates || key == VXDB_REC_DATETIME_KEY;
    keywords = keywords || key == VXDB_REC_KEYWORDS_KEY;
    if (r.fields.empty()) {
      // A record without fields still says that the file has it.
      const int rc = ins.Bind(1, fileId)
                         .BindRef(2, r.name)
                         .Bind(3, n)
                         .Bind(4, 0)
                         .Bind(5, "")
                         .Bind(6, 0)
                         .Bind(7, "")
                         .Bind(8, "")
                         .Step();
      sqlite3_reset(ins.get());
      if (rc != SQLITE_DONE) return E_FAIL;
      continue;
    }
    int seq = 0;
    const bool keywordRecord = fresh && SameNoCase(r.name, VXDB_REC_KEYWORDS);
    for (const FieldText& f : r.fields) {
      valueKey = FoldUtf8(f.value);
      ins.Bind(1, fileId).BindRef(2, r.name).Bind(3, n).Bind(4, seq++).BindRef(5, f.name).Bind(6, f.flag);
      ins.BindRef(7, f.value).BindRef(8, valueKey);
      int rc = ins.Step();
      sqlite3_reset(ins.get());
      if (rc != SQLITE_DONE) return E_FAIL;
      if (keywordRecord && f.flag == 0 && SameNoCase(f.name, VXDB_FLD_KEYWORDS)) keywordValues.push_back(f.value);
    }
  }
  // A fresh file's shot time came with its row; its keywords are the list's.
  if (fresh) {
    InsertKeywords(db, fileId, keywordValues);
    return S_OK;
  }
  if (dates) UpdateShotTime(db, fileId);
  if (keywords) RebuildKeywords(db, fileId);
  return S_OK;
}

}  // namespace

void RebuildKeywords(sqlite3* db, int64_t fileId) {
  Stmt del(db, "DELETE FROM keywords WHERE file_id = ?");
  del.Bind(1, fileId).Run();
  std::vector<std::string> values;
  {
    Stmt st(db,
            "SELECT value FROM meta WHERE file_id = ? AND rec = '" VXDB_REC_KEYWORDS "' AND field = '" VXDB_FLD_KEYWORDS "'"
            " AND flag = 0");
    st.Bind(1, fileId);
    while (st.Row()) values.push_back(st.Text(0));
  }
  InsertKeywords(db, fileId, values);
}

HRESULT DeleteById(sqlite3* db, int64_t fileId) {
  Stmt st(db, "DELETE FROM files WHERE id = ?");
  return st.Bind(1, fileId).Run() ? S_OK : E_FAIL;
}

HRESULT DeleteRecordsOfPath(sqlite3* db, const std::string& key, int kind) {
  if (kind < 0) {
    Stmt st(db, "DELETE FROM person_records WHERE path_key = ?");
    return st.Bind(1, key).Run() ? S_OK : E_FAIL;
  }
  Stmt st(db, "DELETE FROM person_records WHERE path_key = ? AND kind = ?");
  return st.Bind(1, key).Bind(2, kind).Run() ? S_OK : E_FAIL;
}

HRESULT MovePath(sqlite3* db, const PathParts& from, const PathParts& to, DWORD flags) {
  int64_t src = FileId(db, from.key);
  int records = 0;
  {
    Stmt st(db, "SELECT count(*) FROM person_records WHERE path_key = ?");
    if (st.Bind(1, from.key).Row()) records = static_cast<int>(st.Int(0));
  }
  if (!src && !records) return VXDB_E_NOTFOUND;
  bool samePath = from.key == to.key;  // only the letter case changes
  if (!samePath) {
    int64_t dst = FileId(db, to.key);
    if (dst) {
      if (!(flags & VXDB_MOVE_REPLACE)) return VXDB_E_EXISTS;
      if (FAILED(DeleteById(db, dst))) return E_FAIL;
    }
    if (flags & VXDB_MOVE_REPLACE) DeleteRecordsOfPath(db, to.key, -1);
  }
  if (src) {
    Stmt st(db, "UPDATE files SET path = ?, path_key = ?, folder_key = ?, name = ? WHERE id = ?");
    if (!st.Bind(1, to.path).Bind(2, to.key).Bind(3, to.folderKey).Bind(4, to.name).Bind(5, src).Run()) return E_FAIL;
    FollowFolder(db, src, from.folderKey, to.folder);
  }
  Stmt pr(db, "UPDATE person_records SET path = ?, path_key = ? WHERE path_key = ?");
  if (!pr.Bind(1, to.path).Bind(2, to.key).Bind(3, from.key).Run()) return E_FAIL;
  return S_OK;
}

std::vector<std::pair<std::string, std::string>> RowsUnder(sqlite3* db, const char* sql, const std::string& folderKey) {
  std::vector<std::pair<std::string, std::string>> rows;
  Stmt st(db, sql);
  st.Bind(1, folderKey).Bind(2, KeyRangeEnd(folderKey));
  while (st.Row()) rows.emplace_back(st.Text(0), st.Text(1));
  return rows;
}

HRESULT MoveFolderKeys(sqlite3* db, const std::string& oldFolder, const std::string& oldKey, const std::string& newFolder,
                       const std::string& newKey) {
  // Into itself is refused; the same folder in other letter cases just takes the new spelling.
  if (newKey != oldKey && newKey.compare(0, oldKey.size(), oldKey) == 0) return E_INVALIDARG;
  auto files = RowsUnder(db, "SELECT id, path FROM files WHERE path_key >= ? AND path_key < ?", oldKey);
  for (const auto& r : files) {
    int64_t id = _atoi64(r.first.c_str());
    PathParts from, to;
    ParseWidePath(Utf8ToWide(r.second), from);
    if (FAILED(RebasePath(r.second, oldFolder, newFolder, to))) {
      // The new path would be too long: the entry cannot follow, so it goes.
      DeleteById(db, id);
      continue;
    }
    int64_t dst = FileId(db, to.key);
    if (dst && dst != id) DeleteById(db, dst);
    Stmt st(db, "UPDATE files SET path = ?, path_key = ?, folder_key = ?, name = ? WHERE id = ?");
    if (!st.Bind(1, to.path).Bind(2, to.key).Bind(3, to.folderKey).Bind(4, to.name).Bind(5, id).Run()) return E_FAIL;
    FollowFolder(db, id, from.folderKey, to.folder);
  }
  auto recs = RowsUnder(db, "SELECT id, path FROM person_records WHERE path_key >= ? AND path_key < ?", oldKey);
  for (const auto& r : recs) {
    PathParts to;
    if (FAILED(RebasePath(r.second, oldFolder, newFolder, to))) continue;
    Stmt st(db, "UPDATE person_records SET path = ?, path_key = ? WHERE id = ?");
    st.Bind(1, to.path).Bind(2, to.key).Bind(3, _atoi64(r.first.c_str())).Run();
  }
  return files.empty() && recs.empty() ? S_FALSE : S_OK;
}

}  // namespace vxdb
