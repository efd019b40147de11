// The database file object: the face register (persons and their face pictures), the
// pictures classified or filed under names, and renames of files and folders.
#include <algorithm>
#include <cstring>
#include <new>

#include "engine.h"
#include "fwbridge.h"

namespace vxdb {

namespace {

// A text field of a fixed-size record: up to its first NUL, never past its end.
HRESULT RecordText(const char* p, size_t max, std::string& utf8) {
  size_t n = 0;
  while (n < max && p[n]) ++n;
  std::string ansi(p, n);
  return AnsiToUtf8(ansi.c_str(), utf8) ? S_OK : E_INVALIDARG;
}

// What a record is filed under: the identified person, else the camera's name tag for
// classified faces; the name (which may use the tag's bytes too) for picked pictures.
HRESULT FiledName(const VXDBRECORD& r, int kind, std::string& name, std::string& ident, std::string& tag) {
  if (kind == VXDB_KIND_PICKED) {
    if (FAILED(RecordText(r.szName, sizeof(r.szName) + sizeof(r.szTagName), name))) return E_INVALIDARG;
    return name.empty() ? E_INVALIDARG : S_OK;
  }
  if (FAILED(RecordText(r.szName, sizeof(r.szName), ident)) || FAILED(RecordText(r.szTagName, sizeof(r.szTagName), tag)))
    return E_INVALIDARG;
  name = ident.empty() && kind == VXDB_KIND_FACE ? tag : ident;
  return name.empty() ? E_INVALIDARG : S_OK;
}

int64_t PersonId(sqlite3* db, const std::string& nameKey) {
  Stmt st(db, "SELECT id FROM persons WHERE name_key = ?");
  return st.Bind(1, nameKey).Row() ? st.Int(0) : 0;
}

int64_t FreePersonId(sqlite3* db) {
  // The smallest id from 1 that no person holds, so that the id handed out before a
  // person's first face is the one that person then gets.
  Stmt st(db,
          "SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM persons WHERE id = 1) UNION ALL"
          " SELECT min(p.id + 1) FROM persons p WHERE NOT EXISTS (SELECT 1 FROM persons q WHERE q.id = p.id + 1)"
          " LIMIT 1");
  return st.Row() && !st.IsNull(0) ? st.Int(0) : 1;
}

HRESULT SetBirthdayOf(sqlite3* db, int64_t personId, int y, int m, int d) {
  Stmt st(db, "UPDATE persons SET birth_year = ?, birth_month = ?, birth_day = ? WHERE id = ?");
  if (y > 0)
    st.Bind(1, y).Bind(2, m).Bind(3, d);
  else
    st.BindNull(1).BindNull(2).BindNull(3);
  return st.Bind(4, personId).Run() ? S_OK : E_FAIL;
}

void BindRecordFields(Stmt& st, int first, const VXDBRECORD& r) {
  const int v[] = {r.nCandidate1,  r.nScore,       r.nCandidate2,    r.nCandidate3,     r.nFaceCount,
                   r.rcFace.left,  r.rcFace.top,   r.rcFace.right,   r.rcFace.bottom,   r.ptFace1.x,
                   r.ptFace1.y,    r.ptFace2.x,    r.ptFace2.y,      r.nFlag,           r.nFaceId};
  for (int i = 0; i < 15; ++i) st.Bind(first + i, v[i]);
  if (r.pTemplate && r.nTemplateSize > 0 && r.nTemplateSize <= (1 << 20))
    st.BindBlob(first + 15, r.pTemplate, r.nTemplateSize);
  else
    st.BindNull(first + 15);
}

struct RecordKey {
  std::string name, ident, tag;
  PathParts path;
};

HRESULT ParseRecord(const VXDBRECORD& r, int kind, RecordKey& k) {
  if (kind < 0 || kind > 15) return E_INVALIDARG;
  HRESULT hr = FiledName(r, kind, k.name, k.ident, k.tag);
  if (FAILED(hr)) return hr;
  size_t n = 0;
  while (n < sizeof(r.szPath) && r.szPath[n]) ++n;
  std::string path(r.szPath, n);
  return ParsePath(path.c_str(), k.path);
}

int64_t FindRecord(sqlite3* db, int kind, const std::string& nameKey, const std::string& pathKey) {
  Stmt st(db, "SELECT id FROM person_records WHERE kind = ? AND name_key = ? AND path_key = ? ORDER BY id LIMIT 1");
  return st.Bind(1, kind).Bind(2, nameKey).Bind(3, pathKey).Row() ? st.Int(0) : 0;
}

HRESULT AddRecordTo(sqlite3* db, const VXDBRECORD& r, int kind, int* added) {
  RecordKey k;
  HRESULT hr = ParseRecord(r, kind, k);
  if (FAILED(hr)) return hr;
  std::string nameKey = FoldUtf8(k.name);
  if (kind == VXDB_KIND_REGISTER) {
    int64_t pid = PersonId(db, nameKey);
    if (!pid) {
      Stmt st(db, "INSERT INTO persons(id, name, name_key) VALUES(?, ?, ?)");
      pid = FreePersonId(db);
      if (!st.Bind(1, pid).Bind(2, k.name).Bind(3, nameKey).Run()) return E_FAIL;
    }
    if (r.nBirthdayFlag && FAILED(SetBirthdayOf(db, pid, r.nBirthYear, r.nBirthMonth, r.nBirthDay))) return E_FAIL;
  }
  if (int64_t existing = FindRecord(db, kind, nameKey, k.path.key)) {
    // The same picture under the same name: refresh it instead of counting it twice.
    Stmt st(db,
            "UPDATE person_records SET cand1 = ?, score = ?, cand2 = ?, cand3 = ?, face_count = ?, rect_left = ?,"
            " rect_top = ?, rect_right = ?, rect_bottom = ?, pt1x = ?, pt1y = ?, pt2x = ?, pt2y = ?, flag = ?,"
            " face_id = ?, template = ? WHERE id = ?");
    BindRecordFields(st, 1, r);
    if (!st.Bind(17, existing).Run()) return E_FAIL;
    if (added) *added = 0;
    return S_FALSE;
  }
  Stmt st(db,
          "INSERT INTO person_records(kind, name, name_key, ident_name, tag_name, path, path_key, cand1, score, cand2,"
          " cand3, face_count, rect_left, rect_top, rect_right, rect_bottom, pt1x, pt1y, pt2x, pt2y, flag, face_id,"
          " template, created) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  st.Bind(1, kind).Bind(2, k.name).Bind(3, nameKey).Bind(4, k.ident).Bind(5, k.tag).Bind(6, k.path.path);
  st.Bind(7, k.path.key);
  BindRecordFields(st, 8, r);
  if (!st.Bind(24, NowUnix()).Run()) return E_FAIL;
  if (added) *added = 1;
  return S_OK;
}

HRESULT NameKey(LPCSTR name, std::string& utf8, std::string& key) {
  if (FAILED(ParseText(name, utf8, false))) return E_INVALIDARG;
  key = FoldUtf8(utf8);
  return S_OK;
}

class DBFile final : public IVxDBFile {
 public:
  DBFile() : refs_(1) {}

  ULONG Release() override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) {
      VxDBClose(0);
      delete this;
    }
    return static_cast<ULONG>(n);
  }

  BOOL Open() override {
    Session s;
    return SUCCEEDED(s.hr());
  }

  HRESULT Close() override { return Commit(); }

  HRESULT AddRecord(VXDBRECORD rec, int nKind, int* pnAdded) override {
    if (pnAdded) *pnAdded = 0;
    return WriteOp([&](sqlite3* db) { return AddRecordTo(db, rec, nKind, pnAdded); });
  }

  HRESULT Commit() override {
    Session s;
    return FAILED(s.hr()) ? s.hr() : Store::Get().Checkpoint();
  }

  HRESULT RenameFile(LPCSTR pszOld, LPCSTR pszNew) override {
    // A file's entries move with it; a name that is no file entry is taken as a folder.
    HRESULT hr = VxDBMoveFile(pszOld, pszNew, VXDB_MOVE_REPLACE);
    if (hr != VXDB_E_NOTFOUND && hr != E_INVALIDARG) return hr;
    HRESULT fhr = VxDBMoveFolder(pszOld, pszNew);
    if (fhr == S_FALSE) return VXDB_E_NOTFOUND;
    return SUCCEEDED(fhr) ? fhr : hr;
  }

  HRESULT DeletePictureRecords(LPCSTR pszPath, int nKind) override {
    PathParts p;
    HRESULT hr = ParsePath(pszPath, p);
    if (FAILED(hr)) return hr;
    return WriteOp([&](sqlite3* db) -> HRESULT {
      if (FAILED(DeleteRecordsOfPath(db, p.key, nKind))) return E_FAIL;
      return sqlite3_changes(db) ? S_OK : VXDB_E_NOTFOUND;
    });
  }

  int GetFiles(LPCSTR pszName, int nMode, CStringList* pPaths, int* pnOut) override {
    if (pnOut) *pnOut = nMode == 0 ? -1 : 0;
    std::string name, key;
    if (FAILED(NameKey(pszName, name, key)) || (nMode != 0 && nMode != 1)) return -1;
    std::vector<std::string> paths;
    int64_t pid = -1;
    HRESULT hr = ReadOp([&](sqlite3* db) -> HRESULT {
      if (nMode == 0) {
        if (int64_t id = PersonId(db, key)) pid = id;
        Stmt st(db, "SELECT path FROM person_records WHERE kind = 0 AND name_key = ? ORDER BY id");
        st.Bind(1, key);
        while (st.Row()) paths.push_back(Utf8ToAnsi(st.Text(0)));
      } else {
        Stmt st(db,
                "SELECT path FROM person_records WHERE kind IN (1, 3) AND name_key = ? GROUP BY path_key ORDER BY min(id)");
        st.Bind(1, key);
        while (st.Row()) paths.push_back(Utf8ToAnsi(st.Text(0)));
      }
      return S_OK;
    });
    if (FAILED(hr)) return -1;
    if (pPaths) FillStringList(pPaths, paths);
    if (pnOut) *pnOut = nMode == 0 ? static_cast<int>(pid) : static_cast<int>(paths.size());
    return static_cast<int>(paths.size());
  }

  HRESULT GetFaceRect(LPCSTR pszPath, LPCSTR pszName, RECT* prc) override {
    VXDBRECORD r;
    if (!prc) return E_INVALIDARG;
    HRESULT hr = ReadRecord(pszName, pszPath, &r);
    if (SUCCEEDED(hr)) *prc = r.rcFace;
    return hr;
  }

  HRESULT DeleteFace(LPCSTR pszName, LPCSTR pszPath, int nKind, int* pnFaceId) override {
    if (pnFaceId) *pnFaceId = -1;
    std::string name, key;
    PathParts p;
    if (FAILED(NameKey(pszName, name, key)) || FAILED(ParsePath(pszPath, p))) return E_INVALIDARG;
    return WriteOp([&](sqlite3* db) -> HRESULT {
      int64_t id = FindRecord(db, nKind, key, p.key);
      if (!id) return VXDB_E_NOTFOUND;
      int faceId = -1;
      {
        Stmt st(db, "SELECT face_id FROM person_records WHERE id = ?");
        if (st.Bind(1, id).Row() && !st.IsNull(0)) faceId = static_cast<int>(st.Int(0));
      }
      Stmt del(db, "DELETE FROM person_records WHERE id = ?");
      if (!del.Bind(1, id).Run()) return E_FAIL;
      if (pnFaceId) *pnFaceId = faceId;
      return S_OK;
    });
  }

  HRESULT RenamePerson(LPCSTR pszOld, LPCSTR pszNew) override {
    std::string oldName, oldKey, newName, newKey;
    if (FAILED(NameKey(pszOld, oldName, oldKey)) || FAILED(NameKey(pszNew, newName, newKey))) return E_INVALIDARG;
    return WriteOp([&](sqlite3* db) -> HRESULT {
      int64_t pid = PersonId(db, oldKey);
      if (!pid) return VXDB_E_NOTFOUND;
      int64_t other = PersonId(db, newKey);
      if (other && other != pid) return VXDB_E_EXISTS;
      Stmt st(db, "UPDATE persons SET name = ?, name_key = ? WHERE id = ?");
      if (!st.Bind(1, newName).Bind(2, newKey).Bind(3, pid).Run()) return E_FAIL;
      Stmt rs(db, "UPDATE person_records SET name = ?, name_key = ? WHERE name_key = ?");
      return rs.Bind(1, newName).Bind(2, newKey).Bind(3, oldKey).Run() ? S_OK : E_FAIL;
    });
  }

  int GetRecordCount(int nKind) override {
    int n = -1;
    ReadOp([&](sqlite3* db) -> HRESULT {
      Stmt st(db, "SELECT count(*) FROM person_records WHERE ?1 < 0 OR kind = ?1");
      if (st.Bind(1, nKind).Row()) n = static_cast<int>(st.Int(0));
      return S_OK;
    });
    return n;
  }

  HRESULT DeletePerson(LPCSTR pszName) override {
    std::string name, key;
    if (FAILED(NameKey(pszName, name, key))) return E_INVALIDARG;
    return WriteOp([&](sqlite3* db) -> HRESULT {
      Stmt st(db, "DELETE FROM persons WHERE name_key = ?");
      if (!st.Bind(1, key).Run()) return E_FAIL;
      int gone = sqlite3_changes(db);
      Stmt rs(db, "DELETE FROM person_records WHERE kind = 0 AND name_key = ?");
      if (!rs.Bind(1, key).Run()) return E_FAIL;
      gone += sqlite3_changes(db);
      // A name that was never stored is gone already.
      return gone ? S_OK : S_FALSE;
    });
  }

  HRESULT GetNames(CStringList* pNames, int* pnCount, int nKind) override {
    if (pnCount) *pnCount = 0;
    std::vector<std::string> names;
    HRESULT hr = ReadOp([&](sqlite3* db) -> HRESULT {
      if (nKind == VXDB_KIND_REGISTER) {
        Stmt st(db, "SELECT name FROM persons ORDER BY id");
        while (st.Row()) names.push_back(Utf8ToAnsi(st.Text(0)));
      } else {
        Stmt st(db, "SELECT min(name) FROM person_records WHERE kind = ? GROUP BY name_key ORDER BY min(id)");
        st.Bind(1, nKind);
        while (st.Row()) names.push_back(Utf8ToAnsi(st.Text(0)));
      }
      return S_OK;
    });
    if (FAILED(hr)) return hr;
    if (pNames) FillStringList(pNames, names);
    if (pnCount) *pnCount = static_cast<int>(names.size());
    return S_OK;
  }

  HRESULT GetNewPersonId(int* pnId) override {
    if (!pnId) return E_INVALIDARG;
    return ReadOp([&](sqlite3* db) -> HRESULT {
      *pnId = static_cast<int>(FreePersonId(db));
      return S_OK;
    });
  }

  HRESULT GetPersonName(int nId, CString* pName) override {
    if (!pName) return E_INVALIDARG;
    std::string name;
    HRESULT hr = ReadOp([&](sqlite3* db) -> HRESULT {
      Stmt st(db, "SELECT name FROM persons WHERE id = ?");
      if (!st.Bind(1, nId).Row()) return VXDB_E_NOTFOUND;
      name = Utf8ToAnsi(st.Text(0));
      return S_OK;
    });
    SetString(pName, SUCCEEDED(hr) ? name : std::string());
    return hr;
  }

  HRESULT GetPersonId(LPCSTR pszName, int* pnId) override {
    std::string name, key;
    if (!pnId || FAILED(NameKey(pszName, name, key))) return E_INVALIDARG;
    return ReadOp([&](sqlite3* db) -> HRESULT {
      int64_t id = PersonId(db, key);
      if (!id) return VXDB_E_NOTFOUND;
      *pnId = static_cast<int>(id);
      return S_OK;
    });
  }

  HRESULT Refile(LPCSTR pszSource, LPCSTR pszName, LPCSTR pszPath) override {
    std::string source, sourceKey, name;
    PathParts p;
    if (FAILED(ParseText(pszSource, source, true)) || FAILED(ParseText(pszName, name, true)) ||
        FAILED(ParsePath(pszPath, p)))
      return E_INVALIDARG;
    sourceKey = FoldUtf8(source);
    std::string nameKey = FoldUtf8(name);
    return WriteOp([&](sqlite3* db) -> HRESULT {
      struct Rec {
        int64_t id;
        int kind;
      };
      std::vector<Rec> recs;
      {
        Stmt st(db, "SELECT id, kind FROM person_records WHERE kind IN (1, 3) AND name_key = ? AND path_key = ?");
        st.Bind(1, sourceKey).Bind(2, p.key);
        while (st.Row()) recs.push_back({st.Int(0), static_cast<int>(st.Int(1))});
      }
      for (const Rec& r : recs) {
        // Empty name: the picture leaves the name; a copy already there: the old one goes.
        if (name.empty() || FindRecord(db, r.kind, nameKey, p.key)) {
          Stmt del(db, "DELETE FROM person_records WHERE id = ?");
          if (!del.Bind(1, r.id).Run()) return E_FAIL;
          continue;
        }
        Stmt up(db, "UPDATE person_records SET name = ?, name_key = ?, ident_name = ? WHERE id = ?");
        if (!up.Bind(1, name).Bind(2, nameKey).Bind(3, name).Bind(4, r.id).Run()) return E_FAIL;
      }
      if (recs.empty() && !name.empty() && !FindRecord(db, VXDB_KIND_PICKED, nameKey, p.key)) {
        // Nothing filed under the source: the picture is filed under the name now.
        VXDBRECORD r = {};
        std::string ansiName = Utf8ToAnsi(name);
        std::string ansiPath = Utf8ToAnsi(p.path);
        if (ansiName.size() >= sizeof(r.szName) + sizeof(r.szTagName)) return E_INVALIDARG;
        memcpy(r.szName, ansiName.c_str(), ansiName.size());
        memcpy(r.szPath, ansiPath.c_str(), ansiPath.size());
        return AddRecordTo(db, r, VXDB_KIND_PICKED, nullptr);
      }
      return S_OK;
    });
  }

  HRESULT SetBirthday(LPCSTR pszName, int nYear, int nMonth, int nDay) override {
    std::string name, key;
    if (FAILED(NameKey(pszName, name, key))) return E_INVALIDARG;
    if (nYear > 0 && (nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31)) return E_INVALIDARG;
    return WriteOp([&](sqlite3* db) -> HRESULT {
      int64_t pid = PersonId(db, key);
      return pid ? SetBirthdayOf(db, pid, nYear, nMonth, nDay) : VXDB_E_NOTFOUND;
    });
  }

  int GetPersonCount() override {
    int n = -1;
    ReadOp([&](sqlite3* db) -> HRESULT {
      Stmt st(db, "SELECT count(*) FROM persons");
      if (st.Row()) n = static_cast<int>(st.Int(0));
      return S_OK;
    });
    return n;
  }

  HRESULT GetBirthday(LPCSTR pszName, int* pnYear, int* pnMonth, int* pnDay) override {
    std::string name, key;
    if (FAILED(NameKey(pszName, name, key))) return E_INVALIDARG;
    return ReadOp([&](sqlite3* db) -> HRESULT {
      Stmt st(db, "SELECT birth_year, birth_month, birth_day FROM persons WHERE name_key = ? AND birth_year IS NOT NULL");
      if (!st.Bind(1, key).Row()) return VXDB_E_NOTFOUND;
      if (pnYear) *pnYear = static_cast<int>(st.Int(0));
      if (pnMonth) *pnMonth = static_cast<int>(st.Int(1));
      if (pnDay) *pnDay = static_cast<int>(st.Int(2));
      return S_OK;
    });
  }

  HRESULT UpdateRecord(VXDBRECORD rec, int nKind) override {
    RecordKey k;
    HRESULT hr = ParseRecord(rec, nKind, k);
    if (FAILED(hr)) return hr;
    return WriteOp([&](sqlite3* db) -> HRESULT {
      std::string key = FoldUtf8(k.name);
      int64_t id = FindRecord(db, nKind, key, k.path.key);
      if (!id) return VXDB_E_NOTFOUND;
      Stmt st(db,
              "UPDATE person_records SET cand1 = ?, score = ?, cand2 = ?, cand3 = ?, face_count = ?, rect_left = ?,"
              " rect_top = ?, rect_right = ?, rect_bottom = ?, pt1x = ?, pt1y = ?, pt2x = ?, pt2y = ?, flag = ?,"
              " face_id = ?, template = coalesce(?, template), path = ? WHERE id = ?");
      BindRecordFields(st, 1, rec);
      if (!st.Bind(17, k.path.path).Bind(18, id).Run()) return E_FAIL;
      if (nKind == VXDB_KIND_REGISTER && rec.nBirthdayFlag) {
        int64_t pid = PersonId(db, key);
        if (pid && FAILED(SetBirthdayOf(db, pid, rec.nBirthYear, rec.nBirthMonth, rec.nBirthDay))) return E_FAIL;
      }
      return S_OK;
    });
  }

  HRESULT ReadRecord(LPCSTR pszName, LPCSTR pszPath, VXDBRECORD* pRec) override {
    if (!pRec) return E_INVALIDARG;
    memset(pRec, 0, sizeof(*pRec));
    std::string name, key;
    PathParts p;
    if (FAILED(NameKey(pszName, name, key)) || FAILED(ParsePath(pszPath, p))) return E_INVALIDARG;
    return ReadOp([&](sqlite3* db) -> HRESULT {
      // The face register first, then pictures classified or filed under the name.
      Stmt st(db,
              "SELECT r.name, r.tag_name, r.path, r.cand1, r.score, r.cand2, r.cand3, r.face_count, r.rect_left,"
              " r.rect_top, r.rect_right, r.rect_bottom, r.pt1x, r.pt1y, r.pt2x, r.pt2y, r.flag, r.face_id,"
              " length(r.template), p.birth_year, p.birth_month, p.birth_day, r.ident_name, r.kind"
              " FROM person_records r LEFT JOIN persons p ON p.name_key = r.name_key AND r.kind = 0"
              " WHERE r.name_key = ? AND r.path_key = ? ORDER BY r.kind, r.id LIMIT 1");
      if (!st.Bind(1, key).Bind(2, p.key).Row()) return VXDB_E_NOTFOUND;
      auto put = [](char* dst, size_t size, const std::string& utf8) {
        std::string a = Utf8ToAnsi(utf8);
        size_t n = std::min(a.size(), size - 1);
        memcpy(dst, a.data(), n);
        dst[n] = 0;
      };
      int kind = static_cast<int>(st.Int(23));
      put(pRec->szName, sizeof(pRec->szName), kind == VXDB_KIND_FACE ? st.Text(22) : st.Text(0));
      put(pRec->szTagName, sizeof(pRec->szTagName), st.Text(1));
      put(pRec->szPath, sizeof(pRec->szPath), st.Text(2));
      auto num = [&st](int col) { return static_cast<int>(st.Int(col)); };
      pRec->nCandidate1 = num(3);
      pRec->nScore = num(4);
      pRec->nCandidate2 = num(5);
      pRec->nCandidate3 = num(6);
      pRec->nFaceCount = num(7);
      pRec->rcFace = {num(8), num(9), num(10), num(11)};
      pRec->ptFace1 = {num(12), num(13)};
      pRec->ptFace2 = {num(14), num(15)};
      pRec->nFlag = num(16);
      pRec->nFaceId = num(17);
      pRec->nTemplateSize = 0;  // the template stays in the database
      if (!st.IsNull(19)) {
        pRec->nBirthdayFlag = 1;
        pRec->nBirthYear = static_cast<short>(st.Int(19));
        pRec->nBirthMonth = static_cast<short>(st.Int(20));
        pRec->nBirthDay = static_cast<short>(st.Int(21));
      }
      return S_OK;
    });
  }

 private:
  ~DBFile() = default;
  LONG refs_;
};

}  // namespace

}  // namespace vxdb

VXDB_API IVxDBFile* WINAPI GetDBFileObject(void) {
  if (FAILED(VxDBOpen())) return nullptr;
  vxdb::DBFile* f = new (std::nothrow) vxdb::DBFile();
  if (!f) VxDBClose(0);
  return f;
}
