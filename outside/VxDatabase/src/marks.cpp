// Check marks of files: a mark belongs to a path, enrolled or not, until it is cleared.
#include "engine.h"

#include <vector>

using namespace vxdb;

namespace {

int64_t NextSeq(sqlite3* db) {
  Stmt st(db, "SELECT coalesce(max(seq), 0) + 1 FROM marks");
  return st.Row() ? st.Int(0) : 1;
}

}  // namespace

VXDB_API HRESULT WINAPI VxDBSetMark(LPCSTR pszPath, int nState) {
  PathParts p;
  HRESULT hr = ParsePath(pszPath, p);
  if (FAILED(hr)) return hr;
  return WriteOp([&](sqlite3* db) -> HRESULT {
    if (nState == 0) {
      Stmt st(db, "DELETE FROM marks WHERE path_key = ?");
      if (!st.Bind(1, p.key).Run()) return E_FAIL;
      return sqlite3_changes(db) ? S_OK : S_FALSE;
    }
    // A path marked again keeps its place in the order.
    Stmt up(db, "UPDATE marks SET state = ?, path = ? WHERE path_key = ?");
    if (!up.Bind(1, nState).Bind(2, p.path).Bind(3, p.key).Run()) return E_FAIL;
    if (sqlite3_changes(db)) return S_OK;
    Stmt st(db, "INSERT INTO marks(path_key, path, state, seq) VALUES(?, ?, ?, ?)");
    return st.Bind(1, p.key).Bind(2, p.path).Bind(3, nState).Bind(4, NextSeq(db)).Run() ? S_OK : E_FAIL;
  });
}

VXDB_API HRESULT WINAPI VxDBGetMark(LPCSTR pszPath, int* pnState) {
  if (!pnState) return E_INVALIDARG;
  *pnState = 0;
  PathParts p;
  HRESULT hr = ParsePath(pszPath, p);
  if (FAILED(hr)) return hr;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "SELECT state FROM marks WHERE path_key = ?");
    if (!st.Bind(1, p.key).Row()) return S_FALSE;
    *pnState = static_cast<int>(st.Int(0));
    return S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBGetMarkStates(const LPCSTR* ppszPaths, int nCount, int* pnStates) {
  if (nCount < 0 || (nCount > 0 && (!ppszPaths || !pnStates))) return E_INVALIDARG;
  std::vector<std::string> keys(static_cast<size_t>(nCount));
  for (int i = 0; i < nCount; ++i) {
    PathParts p;
    pnStates[i] = SUCCEEDED(ParsePath(ppszPaths[i], p)) ? 0 : -1;
    keys[static_cast<size_t>(i)] = p.key;
  }
  return ReadOp([&](sqlite3* db) -> HRESULT {
    // One read transaction for all: each lookup on its own takes and gives back the file's
    // locks, a round trip to the system each. Inside an open write it reads there.
    const bool own = sqlite3_get_autocommit(db) != 0;
    if (own && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) return E_FAIL;
    Stmt st(db, "SELECT state FROM marks WHERE path_key = ?");
    HRESULT hr = st.ok() ? S_OK : E_FAIL;
    for (int i = 0; i < nCount && SUCCEEDED(hr); ++i) {
      if (pnStates[i] < 0) continue;
      sqlite3_reset(st.get());
      int step = st.Bind(1, keys[static_cast<size_t>(i)]).Step();
      if (step == SQLITE_ROW)
        pnStates[i] = static_cast<int>(st.Int(0));
      else if (step != SQLITE_DONE)
        hr = E_FAIL;
    }
    sqlite3_reset(st.get());
    if (own) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return hr;
  });
}

VXDB_API HRESULT WINAPI VxDBGetMarkCount(int* pnCount) {
  if (!pnCount) return E_INVALIDARG;
  *pnCount = 0;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "SELECT count(*) FROM marks");
    if (!st.Row()) return E_FAIL;
    *pnCount = static_cast<int>(st.Int(0));
    return S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBGetMarks(STRINGLIST** ppPaths) {
  if (!ppPaths) return E_INVALIDARG;
  *ppPaths = nullptr;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "SELECT path, state FROM marks ORDER BY seq");
    return ListRows(st, ppPaths);
  });
}

VXDB_API HRESULT WINAPI VxDBDeleteMarks(LPCSTR pszFolder) {
  std::string folder, key;
  if (pszFolder) {
    HRESULT hr = ParseFolder(pszFolder, folder, key);
    if (FAILED(hr)) return hr;
  }
  return WriteOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db, "DELETE FROM marks WHERE ?1 = '' OR (path_key >= ?1 AND path_key < ?2)");
    if (!st.Bind(1, key).Bind(2, KeyRangeEnd(key)).Run()) return E_FAIL;
    return sqlite3_changes(db) ? S_OK : S_FALSE;
  });
}

VXDB_API HRESULT WINAPI VxDBMoveMark(LPCSTR pszSource, LPCSTR pszTarget, BOOL bCopy) {
  PathParts from, to;
  HRESULT hr = ParsePath(pszSource, from);
  if (SUCCEEDED(hr)) hr = ParsePath(pszTarget, to);
  if (FAILED(hr)) return hr;
  return WriteOp([&](sqlite3* db) -> HRESULT {
    int64_t state = 0;
    {
      Stmt st(db, "SELECT state FROM marks WHERE path_key = ?");
      if (!st.Bind(1, from.key).Row()) return S_FALSE;  // nothing to carry
      state = st.Int(0);
    }
    if (!bCopy) {
      Stmt del(db, "DELETE FROM marks WHERE path_key = ?");
      if (!del.Bind(1, from.key).Run()) return E_FAIL;
    }
    Stmt st(db, "INSERT OR REPLACE INTO marks(path_key, path, state, seq) VALUES(?, ?, ?, ?)");
    return st.Bind(1, to.key).Bind(2, to.path).Bind(3, state).Bind(4, NextSeq(db)).Run() ? S_OK : E_FAIL;
  });
}

VXDB_API HRESULT WINAPI VxDBMoveMarkFolder(LPCSTR pszOld, LPCSTR pszNew) {
  std::string oldF, oldK, newF, newK;
  HRESULT hr = ParseFolder(pszOld, oldF, oldK);
  if (SUCCEEDED(hr)) hr = ParseFolder(pszNew, newF, newK);
  if (FAILED(hr)) return hr;
  if (newK.compare(0, oldK.size(), oldK) == 0) return oldK == newK ? S_OK : E_INVALIDARG;
  return WriteOp([&](sqlite3* db) -> HRESULT {
    auto rows = RowsUnder(db, "SELECT path_key, path FROM marks WHERE path_key >= ? AND path_key < ?", oldK);
    for (const auto& r : rows) {
      PathParts to;
      if (FAILED(RebasePath(r.second, oldF, newF, to))) {
        Stmt del(db, "DELETE FROM marks WHERE path_key = ?");
        del.Bind(1, r.first).Run();
        continue;
      }
      Stmt st(db, "UPDATE OR REPLACE marks SET path_key = ?, path = ? WHERE path_key = ?");
      if (!st.Bind(1, to.key).Bind(2, to.path).Bind(3, r.first).Run()) return E_FAIL;
    }
    return rows.empty() ? S_FALSE : S_OK;
  });
}
