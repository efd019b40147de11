// The exported engine: files, metadata, tables, marks, hashes, thumbnails, searches.
#include <cstdlib>
#include <cstring>

#include "engine.h"
#include "imaging/dib.h"

using namespace vxdb;

namespace {

// Runs f with the id of an enrolled path; VXDB_E_NOTFOUND when it is not enrolled.
template <class F>
HRESULT WithFile(LPCSTR pszPath, bool write, F f) {
  PathParts p;
  HRESULT hr = ParsePath(pszPath, p);
  if (FAILED(hr)) return hr;
  auto body = [&](sqlite3* db) -> HRESULT {
    int64_t id = FileId(db, p.key);
    return id ? f(db, id, p) : VXDB_E_NOTFOUND;
  };
  return write ? WriteOp(body) : ReadOp(body);
}

int64_t DiskWriteTime(const std::string& pathUtf8) {
  WIN32_FILE_ATTRIBUTE_DATA fa;
  if (!GetFileAttributesExW(Utf8ToWide(pathUtf8).c_str(), GetFileExInfoStandard, &fa)) return -1;
  return (static_cast<int64_t>(fa.ftLastWriteTime.dwHighDateTime) << 32) | fa.ftLastWriteTime.dwLowDateTime;
}

// Bytes a packed DIB needs; 0 when the header is not one we can trust or the
// block holds less than it claims (checked on reading as on writing).
DWORD DibSize(const BITMAPINFOHEADER* h, DWORD cb) {
  DWORD need = static_cast<DWORD>(imaging::PackedDibSize(h, cb));
  if (!need || h->biWidth > 8192 || h->biHeight > 8192 || h->biHeight < -8192) return 0;
  return need;
}

}  // namespace

// ---- Location and lifetime -------------------------------------------------------------

VXDB_API HRESULT WINAPI VxDBSetFolder(LPCSTR pszFolder) { return Store::Get().SetFolder(pszFolder); }

VXDB_API HRESULT WINAPI VxDBGetFile(LPSTR pszPath, UINT cchPath) {
  if (!pszPath || cchPath == 0) return E_INVALIDARG;
  Store::Get().Lock();
  std::string path = Utf8ToAnsi(Store::Get().FilePath());
  Store::Get().Unlock();
  if (path.empty()) return E_FAIL;
  if (path.size() + 1 > cchPath) return E_INVALIDARG;
  memcpy(pszPath, path.c_str(), path.size() + 1);
  return S_OK;
}

VXDB_API HRESULT WINAPI VxDBOpen(void) {
  Store::Get().Lock();
  HRESULT hr = Store::Get().AddUse();
  Store::Get().Unlock();
  return hr;
}

VXDB_API HRESULT WINAPI VxDBClose(int nMode) {
  Store::Get().Lock();
  HRESULT hr = Store::Get().EndUse(nMode);
  Store::Get().Unlock();
  return hr;
}

VXDB_API HRESULT WINAPI VxDBGetHealth(VXDBHEALTH* pHealth) {
  if (!pHealth) return E_INVALIDARG;
  *pHealth = Store::Get().Health();
  return S_OK;
}

VXDB_API HRESULT WINAPI VxDBBeginBatch(void) {
  Session s;
  return FAILED(s.hr()) ? s.hr() : Store::Get().BeginBatch();
}

VXDB_API HRESULT WINAPI VxDBEndBatch(void) {
  Session s;
  return FAILED(s.hr()) ? s.hr() : Store::Get().EndBatch();
}

// ---- Files ----------------------------------------------------------------------------------

VXDB_API HRESULT WINAPI VxDBEnrollFile(LPCSTR pszPath, DWORD dwFlags) {
  PathParts p;
  HRESULT hr = ParsePath(pszPath, p);
  if (FAILED(hr)) return hr;
  return WriteOp([&](sqlite3* db) { return EnrollParts(db, p, dwFlags, nullptr); });
}

VXDB_API HRESULT WINAPI VxDBUpdateFile(LPCSTR pszPath, const METADATA* pList) {
  return WithFile(pszPath, true, [&](sqlite3* db, int64_t id, const PathParts&) { return UpdateMeta(db, id, pList); });
}

VXDB_API HRESULT WINAPI VxDBRegisterFile(LPCSTR pszPath, const METADATA* pList) {
  return VxDBRegisterFileEx(pszPath, pList, nullptr);
}

VXDB_API HRESULT WINAPI VxDBRegisterFileEx(LPCSTR pszPath, const METADATA* pList,
                                           const WIN32_FILE_ATTRIBUTE_DATA* pDisk) {
  PathParts p;
  HRESULT hr = ParsePath(pszPath, p);
  if (FAILED(hr)) return hr;
  // A list that would be refused is refused before the old entry goes: inside a batch a
  // refusal is not rolled back.
  std::vector<RecordText> recs;
  hr = ConvertList(pList, recs);
  if (FAILED(hr)) return hr;
  const DiskInfo disk = pDisk ? DiskInfoOf(*pDisk) : StatFile(p.path);
  return WriteOp([&](sqlite3* db) { return EnterFile(db, p, recs, disk); });
}

VXDB_API HRESULT WINAPI VxDBDeleteFile(LPCSTR pszPath, BOOL bWithRecords) {
  PathParts p;
  HRESULT hr = ParsePath(pszPath, p);
  if (FAILED(hr)) return hr;
  return WriteOp([&](sqlite3* db) -> HRESULT {
    int64_t id = FileId(db, p.key);
    int gone = 0;
    if (id) {
      if (FAILED(DeleteById(db, id))) return E_FAIL;
      ++gone;
    }
    if (bWithRecords) {
      if (FAILED(DeleteRecordsOfPath(db, p.key, -1))) return E_FAIL;
      gone += sqlite3_changes(db);
    }
    return gone ? S_OK : VXDB_E_NOTFOUND;
  });
}

VXDB_API HRESULT WINAPI VxDBIsEnrolled(LPCSTR pszPath) {
  return WithFile(pszPath, false, [](sqlite3*, int64_t, const PathParts&) { return S_OK; });
}

VXDB_API HRESULT WINAPI VxDBReadFile(LPCSTR pszPath, METADATA** ppList) {
  if (!ppList) return E_INVALIDARG;
  *ppList = nullptr;
  return WithFile(pszPath, false, [&](sqlite3* db, int64_t id, const PathParts&) -> HRESULT {
    Stmt st(db, "SELECT rec, recno, field, flag, value FROM meta WHERE file_id = ? ORDER BY rec, recno, seq");
    st.Bind(1, id);
    METADATA* head = nullptr;
    METADATA** tail = &head;
    METADATA* cur = nullptr;
    std::string curName;
    int64_t curNo = -1;
    bool ok = true;
    while (ok && st.Row()) {
      std::string rec = st.Text(0), field = st.Text(2);
      int64_t no = st.Int(1);
      if (!cur || rec != curName || no != curNo) {
        cur = MetaAppendRecord(tail, rec.c_str());
        if (!cur) {
          ok = false;
          break;
        }
        tail = &cur->pNext;
        curName = rec;
        curNo = no;
      }
      if (!field.empty())
        ok = MetaAddRecordField(cur, field.c_str(), static_cast<int>(st.Int(3)), Utf8ToAnsi(st.Text(4)).c_str()) != nullptr;
    }
    if (!ok) {
      FreeMetaDataList(head);
      return E_OUTOFMEMORY;
    }
    *ppList = head;
    return S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBMoveFile(LPCSTR pszSource, LPCSTR pszTarget, DWORD dwFlags) {
  PathParts from, to;
  HRESULT hr = ParsePath(pszSource, from);
  if (SUCCEEDED(hr)) hr = ParsePath(pszTarget, to);
  if (FAILED(hr)) return hr;
  return WriteOp([&](sqlite3* db) { return MovePath(db, from, to, dwFlags); });
}

VXDB_API HRESULT WINAPI VxDBCopyFile(LPCSTR pszSource, LPCSTR pszTarget) {
  PathParts from, to;
  HRESULT hr = ParsePath(pszSource, from);
  if (SUCCEEDED(hr)) hr = ParsePath(pszTarget, to);
  if (FAILED(hr)) return hr;
  if (from.key == to.key) return E_INVALIDARG;
  return WriteOp([&](sqlite3* db) -> HRESULT {
    int64_t src = FileId(db, from.key);
    if (!src) return VXDB_E_NOTFOUND;
    // The copy on disk replaced whatever the target was.
    int64_t old = FileId(db, to.key);
    if (old && FAILED(DeleteById(db, old))) return E_FAIL;
    int64_t dst = 0;
    if (FAILED(EnrollParts(db, to, 0, &dst))) return E_FAIL;
    {
      Stmt st(db, "UPDATE files SET shot_time = (SELECT shot_time FROM files WHERE id = ?1) WHERE id = ?2");
      if (!st.Bind(1, src).Bind(2, dst).Run()) return E_FAIL;
    }
    Stmt st(db,
            "INSERT INTO meta(file_id, rec, recno, seq, field, flag, value, value_key)"
            " SELECT ?2, rec, recno, seq, field, flag, value, value_key FROM meta WHERE file_id = ?1");
    if (!st.Bind(1, src).Bind(2, dst).Run()) return E_FAIL;
    RebuildKeywords(db, dst);
    // The copy's folder classification names its own folder when the source's named its.
    FollowFolder(db, dst, from.folderKey, to.folder);
    return S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBMoveFolder(LPCSTR pszOld, LPCSTR pszNew) {
  std::string oldF, oldK, newF, newK;
  HRESULT hr = ParseFolder(pszOld, oldF, oldK);
  if (SUCCEEDED(hr)) hr = ParseFolder(pszNew, newF, newK);
  if (FAILED(hr)) return hr;
  if (oldK == newK && oldF == newF) return S_OK;
  return WriteOp([&](sqlite3* db) { return MoveFolderKeys(db, oldF, oldK, newF, newK); });
}

VXDB_API HRESULT WINAPI VxDBDeleteFolder(LPCSTR pszFolder) {
  std::string folder, key;
  HRESULT hr = ParseFolder(pszFolder, folder, key);
  if (FAILED(hr)) return hr;
  return WriteOp([&](sqlite3* db) -> HRESULT {
    std::string end = KeyRangeEnd(key);
    Stmt f(db, "DELETE FROM files WHERE path_key >= ? AND path_key < ?");
    if (!f.Bind(1, key).Bind(2, end).Run()) return E_FAIL;
    int gone = sqlite3_changes(db);
    Stmt r(db, "DELETE FROM person_records WHERE path_key >= ? AND path_key < ?");
    if (!r.Bind(1, key).Bind(2, end).Run()) return E_FAIL;
    gone += sqlite3_changes(db);
    return gone ? S_OK : S_FALSE;
  });
}

VXDB_API HRESULT WINAPI VxDBGetFileCount(int* pnCount) {
  if (!pnCount) return E_INVALIDARG;
  *pnCount = 0;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "SELECT count(*) FROM files");
    if (!st.Row()) return E_FAIL;
    *pnCount = static_cast<int>(st.Int(0));
    return S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBDeleteMetaData(LPCSTR pszPath, LPCSTR pszRecord, LPCSTR pszField, LPCSTR pszValue) {
  std::string rec, field, value;
  if (FAILED(ParseText(pszRecord, rec, false))) return E_INVALIDARG;
  if (pszField && FAILED(ParseText(pszField, field, true))) return E_INVALIDARG;
  if (pszValue && FAILED(ParseText(pszValue, value, true))) return E_INVALIDARG;
  return WithFile(pszPath, true, [&](sqlite3* db, int64_t id, const PathParts&) -> HRESULT {
    // A field and value pick the records that hold that value; otherwise all of the name go.
    Stmt st(db,
            "DELETE FROM meta WHERE file_id = ?1 AND rec = ?2 AND (?3 = '' OR recno IN (SELECT recno FROM meta"
            " WHERE file_id = ?1 AND rec = ?2 AND field = ?3 AND value_key = ?4))");
    if (!st.Bind(1, id).Bind(2, rec).Bind(3, field).Bind(4, FoldUtf8(value)).Run()) return E_FAIL;
    if (sqlite3_changes(db) == 0) return VXDB_E_NOTFOUND;
    if (lstrcmpiA(rec.c_str(), VXDB_REC_KEYWORDS) == 0) RebuildKeywords(db, id);
    if (lstrcmpiA(rec.c_str(), VXDB_REC_DATETIME) == 0) {
      Stmt up(db, "UPDATE files SET shot_time = NULL WHERE id = ? AND NOT EXISTS (SELECT 1 FROM meta WHERE file_id = files.id"
                  " AND rec = '" VXDB_REC_DATETIME "')");
      up.Bind(1, id).Run();
    }
    return S_OK;
  });
}

// ---- Tables -------------------------------------------------------------------------------

VXDB_API HRESULT WINAPI VxDBGetTableCount(LPCSTR pszTable, int* pnCount) {
  if (pnCount) *pnCount = 0;
  std::string table;
  if (!pnCount || FAILED(ParseText(pszTable, table, false))) return E_INVALIDARG;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "SELECT count(*) FROM meta WHERE rec = ? AND seq = 0");
    if (!st.Bind(1, table).Row()) return E_FAIL;
    *pnCount = static_cast<int>(st.Int(0));
    return S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBReadTable(LPCSTR pszTable, int nFirst, int nLast, METAIDXDATA** ppRows) {
  if (ppRows) *ppRows = nullptr;
  std::string table;
  if (!ppRows || nFirst < 1 || nLast < nFirst || FAILED(ParseText(pszTable, table, false))) return E_INVALIDARG;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    struct RowKey {
      int64_t file, recno;
      std::string path;
    };
    std::vector<RowKey> keys;
    {
      Stmt st(db,
              "SELECT m.file_id, m.recno, f.path FROM meta m JOIN files f ON f.id = m.file_id WHERE m.rec = ?"
              " AND m.seq = 0 ORDER BY m.file_id, m.recno LIMIT ? OFFSET ?");
      st.Bind(1, table).Bind(2, nLast - nFirst + 1).Bind(3, nFirst - 1);
      while (st.Row()) keys.push_back({st.Int(0), st.Int(1), st.Text(2)});
    }
    METAIDXDATA* head = nullptr;
    METAIDXDATA** tail = &head;
    int index = nFirst;
    for (const RowKey& k : keys) {
      METAIDXDATA* row = MetaAppendRow(tail, index++, Utf8ToAnsi(k.path).c_str());
      if (!row) {
        FreeMetaIdxDataList(head);
        return E_OUTOFMEMORY;
      }
      tail = &row->pNext;
      Stmt st(db, "SELECT field, flag, value FROM meta WHERE file_id = ? AND rec = ? AND recno = ? ORDER BY seq");
      st.Bind(1, k.file).Bind(2, table).Bind(3, k.recno);
      while (st.Row()) {
        std::string field = st.Text(0);
        if (field.empty()) continue;
        if (!MetaAddRowField(row, field.c_str(), static_cast<int>(st.Int(1)), Utf8ToAnsi(st.Text(2)).c_str())) {
          FreeMetaIdxDataList(head);
          return E_OUTOFMEMORY;
        }
      }
    }
    *ppRows = head;
    return head ? S_OK : S_FALSE;
  });
}

// ---- Marks and hashes kept in the file's row ---------------------------------------------------

namespace {

// sql sets one column of the file's row: ?1 the value (null when absent), ?2 the id.
HRESULT SetFileValue(LPCSTR pszPath, const char* sql, const int64_t* value) {
  return WithFile(pszPath, true, [&](sqlite3* db, int64_t id, const PathParts&) -> HRESULT {
    Stmt st(db, sql);
    if (value)
      st.Bind(1, *value);
    else
      st.BindNull(1);
    return st.Bind(2, id).Run() ? S_OK : E_FAIL;
  });
}

// sql reads one column of the file's row (?1 the id); VXDB_E_NOTFOUND when it is null.
HRESULT GetFileValue(LPCSTR pszPath, const char* sql, int64_t* value) {
  return WithFile(pszPath, false, [&](sqlite3* db, int64_t id, const PathParts&) -> HRESULT {
    Stmt st(db, sql);
    if (!st.Bind(1, id).Row() || st.IsNull(0)) return VXDB_E_NOTFOUND;
    *value = st.Int(0);
    return S_OK;
  });
}

}  // namespace

VXDB_API HRESULT WINAPI VxDBSetFavorite(LPCSTR pszPath, BOOL bFavorite) {
  int64_t v = bFavorite ? 1 : 0;
  return SetFileValue(pszPath, "UPDATE files SET favorite = ?1 WHERE id = ?2", &v);
}

VXDB_API HRESULT WINAPI VxDBGetFavorite(LPCSTR pszPath, BOOL* pbFavorite) {
  if (!pbFavorite) return E_INVALIDARG;
  int64_t v = 0;
  HRESULT hr = GetFileValue(pszPath, "SELECT favorite FROM files WHERE id = ?1", &v);
  *pbFavorite = v != 0;
  return hr;
}

VXDB_API HRESULT WINAPI VxDBGetFolderFavorites(LPCSTR pszFolder, STRINGLIST** ppPaths) {
  if (!ppPaths) return E_INVALIDARG;
  *ppPaths = nullptr;
  std::string folder, key;
  HRESULT hr = ParseFolder(pszFolder, folder, key);
  if (FAILED(hr)) return hr;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "SELECT path, 0 FROM files WHERE folder_key = ? AND favorite <> 0");
    st.Bind(1, key);
    return ListRows(st, ppPaths);
  });
}

VXDB_API HRESULT WINAPI VxDBSetPrintCount(LPCSTR pszPath, int nCount) {
  if (nCount < 0) return E_INVALIDARG;
  int64_t v = nCount;
  return SetFileValue(pszPath, "UPDATE files SET print_count = ?1 WHERE id = ?2", &v);
}

VXDB_API HRESULT WINAPI VxDBGetPrintCount(LPCSTR pszPath, int* pnCount) {
  if (!pnCount) return E_INVALIDARG;
  int64_t v = 0;
  HRESULT hr = GetFileValue(pszPath, "SELECT print_count FROM files WHERE id = ?1", &v);
  *pnCount = static_cast<int>(v);
  return hr;
}

VXDB_API HRESULT WINAPI VxDBSetSimilarHash(LPCSTR pszPath, ULONGLONG qwHash) {
  int64_t v = static_cast<int64_t>(qwHash);
  return SetFileValue(pszPath, "UPDATE files SET phash = ?1 WHERE id = ?2", &v);
}

VXDB_API HRESULT WINAPI VxDBGetSimilarHash(LPCSTR pszPath, ULONGLONG* pqwHash) {
  if (!pqwHash) return E_INVALIDARG;
  int64_t v = 0;
  HRESULT hr = GetFileValue(pszPath, "SELECT phash FROM files WHERE id = ?1", &v);
  *pqwHash = static_cast<ULONGLONG>(v);
  return hr;
}

VXDB_API HRESULT WINAPI VxDBClearSimilarHash(LPCSTR pszPath) {
  return SetFileValue(pszPath, "UPDATE files SET phash = ?1 WHERE id = ?2", nullptr);
}

VXDB_API HRESULT WINAPI VxDBFindSimilar(ULONGLONG qwHash, int nMaxDistance, int nMaxCount, STRINGLIST** ppPaths) {
  if (!ppPaths || nMaxDistance < 0 || nMaxCount <= 0) return E_INVALIDARG;
  *ppPaths = nullptr;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db,
            "SELECT path, hamming(phash, ?1) AS d FROM files WHERE phash IS NOT NULL AND d <= ?2"
            " ORDER BY d, path_key LIMIT ?3");
    st.Bind(1, static_cast<int64_t>(qwHash)).Bind(2, nMaxDistance).Bind(3, nMaxCount);
    HRESULT hr = ListRows(st, ppPaths);
    return hr == S_FALSE ? VXDB_E_NOTFOUND : hr;
  });
}

// ---- Thumbnails -----------------------------------------------------------------------------

VXDB_API HRESULT WINAPI VxDBSetThumbnail(LPCSTR pszPath, const BITMAPINFOHEADER* pDib, DWORD cbDib) {
  DWORD need = DibSize(pDib, cbDib);
  if (!need) return E_INVALIDARG;
  return WithFile(pszPath, true, [&](sqlite3* db, int64_t id, const PathParts& p) -> HRESULT {
    Stmt st(db, "INSERT OR REPLACE INTO thumbs(file_id, file_time, dib) VALUES(?, ?, ?)");
    return st.Bind(1, id).Bind(2, DiskWriteTime(p.path)).BindBlob(3, pDib, static_cast<int>(need)).Run() ? S_OK : E_FAIL;
  });
}

VXDB_API HRESULT WINAPI VxDBGetThumbnail(LPCSTR pszPath, BITMAPINFOHEADER** ppDib, DWORD* pcbDib) {
  if (!ppDib) return E_INVALIDARG;
  *ppDib = nullptr;
  if (pcbDib) *pcbDib = 0;
  return WithFile(pszPath, false, [&](sqlite3* db, int64_t id, const PathParts& p) -> HRESULT {
    Stmt st(db, "SELECT file_time, dib FROM thumbs WHERE file_id = ?");
    if (!st.Bind(1, id).Row()) return VXDB_E_NOTFOUND;
    int64_t now = DiskWriteTime(p.path);
    if (now != -1 && now != st.Int(0)) return VXDB_E_NOTFOUND;  // the file changed since
    int n = st.Bytes(1);
    // A damaged blob is no kept thumbnail.
    if (n <= 0 || !DibSize(static_cast<const BITMAPINFOHEADER*>(st.Blob(1)), static_cast<DWORD>(n)))
      return VXDB_E_NOTFOUND;
    void* buf = HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(n));
    if (!buf) return E_OUTOFMEMORY;
    memcpy(buf, st.Blob(1), static_cast<size_t>(n));
    *ppDib = static_cast<BITMAPINFOHEADER*>(buf);
    if (pcbDib) *pcbDib = static_cast<DWORD>(n);
    return S_OK;
  });
}

VXDB_API void WINAPI VxDBFreeBuffer(void* p) {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}

VXDB_API HRESULT WINAPI VxDBDeleteThumbnail(LPCSTR pszPath) {
  return WithFile(pszPath, true, [&](sqlite3* db, int64_t id, const PathParts&) -> HRESULT {
    Stmt st(db, "DELETE FROM thumbs WHERE file_id = ?");
    if (!st.Bind(1, id).Run()) return E_FAIL;
    return sqlite3_changes(db) ? S_OK : S_FALSE;
  });
}

// ---- Searches and memorised results ---------------------------------------------------------

namespace {

HRESULT LoadResultPaths(sqlite3* db, int id, std::vector<std::string>& paths) {
  {
    Stmt st(db, "SELECT 1 FROM result_sets WHERE id = ?");
    if (!st.Bind(1, id).Row()) return VXDB_E_NOTFOUND;
  }
  Stmt st(db, "SELECT path FROM result_files WHERE set_id = ? ORDER BY seq");
  st.Bind(1, id);
  while (st.Row()) paths.push_back(st.Text(0));
  return S_OK;
}

}  // namespace

VXDB_API HRESULT WINAPI VxDBSearch(LPCSTR pszQuery, STRINGLIST** ppPaths) {
  if (ppPaths) *ppPaths = nullptr;
  std::string query;
  if (!ppPaths || FAILED(ParseText(pszQuery, query, false))) return E_INVALIDARG;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    std::vector<std::string> paths;
    const size_t markerLen = strlen(VXDB_RESULT_MARKER);
    if (query.compare(0, markerLen, VXDB_RESULT_MARKER) == 0) {
      // A memorised result: the database keeps the list; the caller only reads it.
      size_t comma = query.find(',', markerLen);
      int id = comma == std::string::npos ? 0 : atoi(query.c_str() + comma + 1);
      HRESULT hr = LoadResultPaths(db, id, paths);
      if (FAILED(hr)) return hr;
      if (paths.empty()) return VXDB_E_NOTFOUND;
      STRINGLIST* list = ToStringList(paths);
      if (!list) return E_OUTOFMEMORY;
      *ppPaths = Store::Get().OwnedResult(id, list);
      return S_OK;
    }
    HRESULT hr = RunQuery(db, query, paths);
    if (FAILED(hr)) return hr;
    *ppPaths = ToStringList(paths);
    return *ppPaths ? S_OK : E_OUTOFMEMORY;
  });
}

VXDB_API HRESULT WINAPI VxDBCheckKeyword(LPCSTR pszPath, LPCSTR pszKeyword) {
  std::string keyword;
  if (FAILED(ParseText(pszKeyword, keyword, false))) return E_INVALIDARG;
  return WithFile(pszPath, false, [&](sqlite3* db, int64_t id, const PathParts&) -> HRESULT {
    Stmt st(db, "SELECT 1 FROM keywords WHERE file_id = ? AND keyword_key = ?");
    return st.Bind(1, id).Bind(2, FoldUtf8(keyword)).Row() ? S_OK : S_FALSE;
  });
}

VXDB_API HRESULT WINAPI VxDBSaveResult(int nKind, LPCSTR pszName, LPCSTR pszQuery, const STRINGLIST* pPaths, int* pnId) {
  if (pnId) *pnId = 0;
  std::string name, query;
  if (nKind <= 0 || FAILED(ParseText(pszName, name, true))) return E_INVALIDARG;
  if (pszQuery && FAILED(ParseText(pszQuery, query, true))) return E_INVALIDARG;
  if (!pPaths && query.empty()) return E_INVALIDARG;
  std::vector<std::string> given;
  for (const STRINGLIST* s = pPaths; s; s = s->pNext) {
    std::string p;
    if (!s->pszText || !AnsiToUtf8(s->pszText, p)) return E_INVALIDARG;
    given.push_back(std::move(p));
  }
  return WriteOp([&](sqlite3* db) -> HRESULT {
    std::vector<std::string> paths = given;
    if (!pPaths) {
      HRESULT hr = RunQuery(db, query, paths);
      if (FAILED(hr) && hr != VXDB_E_NOTFOUND) return hr;
    }
    Stmt set(db, "INSERT INTO result_sets(kind, name, query, created) VALUES(?, ?, ?, ?)");
    if (!set.Bind(1, nKind).Bind(2, name).Bind(3, query).Bind(4, NowUnix()).Run()) return E_FAIL;
    int64_t id = sqlite3_last_insert_rowid(db);
    Stmt ins(db, "INSERT INTO result_files(set_id, seq, path) VALUES(?, ?, ?)");
    int seq = 0;
    for (const std::string& p : paths) {
      ins.Bind(1, id).Bind(2, seq++).Bind(3, p);
      int rc = ins.Step();
      sqlite3_reset(ins.get());
      if (rc != SQLITE_DONE) return E_FAIL;
    }
    if (pnId) *pnId = static_cast<int>(id);
    return S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBLoadResult(int nId, STRINGLIST** ppPaths) {
  if (!ppPaths) return E_INVALIDARG;
  *ppPaths = nullptr;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    std::vector<std::string> paths;
    HRESULT hr = LoadResultPaths(db, nId, paths);
    if (FAILED(hr)) return hr;
    if (paths.empty()) return S_FALSE;
    *ppPaths = ToStringList(paths);
    return *ppPaths ? S_OK : E_OUTOFMEMORY;
  });
}

VXDB_API HRESULT WINAPI VxDBListResults(int nKinds, STRINGLIST** ppSets) {
  if (!ppSets) return E_INVALIDARG;
  *ppSets = nullptr;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "SELECT name, id FROM result_sets WHERE (kind & ?) <> 0 ORDER BY id");
    st.Bind(1, nKinds);
    return ListRows(st, ppSets);
  });
}

VXDB_API HRESULT WINAPI VxDBDeleteResults(int nKinds) {
  return WriteOp([&](sqlite3* db) -> HRESULT {
    // Only the deleted results' lists go: callers may be reading those of other kinds.
    std::vector<int> ids;
    Stmt st(db, "DELETE FROM result_sets WHERE (kind & ?) <> 0 RETURNING id");
    st.Bind(1, nKinds);
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW) ids.push_back(static_cast<int>(st.Int(0)));
    if (rc != SQLITE_DONE) return E_FAIL;
    for (int id : ids) Store::Get().DropOwnedResults(id);
    return ids.empty() ? S_FALSE : S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBDeleteResult(int nId) {
  return WriteOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "DELETE FROM result_sets WHERE id = ?");
    if (!st.Bind(1, nId).Run()) return E_FAIL;
    if (!sqlite3_changes(db)) return VXDB_E_NOTFOUND;
    Store::Get().DropOwnedResults(nId);
    return S_OK;
  });
}
