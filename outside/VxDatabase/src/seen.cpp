// What the browser read of the pictures it showed, kept for its next opening of the folder.
#include <cstring>

#include "engine.h"

using namespace vxdb;

VXDB_API HRESULT WINAPI VxDBPutSeenFiles(const VXDBSEENFILE* pFiles, int nCount) {
  if (nCount < 0 || (nCount > 0 && !pFiles)) return E_INVALIDARG;
  std::vector<PathParts> parts(static_cast<size_t>(nCount));
  for (int i = 0; i < nCount; ++i) {
    HRESULT hr = ParsePath(pFiles[i].pszPath, parts[i]);
    if (FAILED(hr)) return hr;
    const VXDBSEENFILE& f = pFiles[i];
    if (f.cbThumb > VXDB_SEEN_THUMB_MAX || (f.cbThumb && !f.pThumb) || f.cbFacts > VXDB_SEEN_THUMB_MAX ||
        (f.cbFacts && !f.pFacts))
      return E_INVALIDARG;
  }
  if (nCount == 0) return S_OK;
  return WriteOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db,
            "INSERT OR REPLACE INTO seen(folder_key, name_key, name, size, file_time, rec_time, width, height, bits,"
            " orientation, format, thumb_bytes, facts) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Stmt thumb(db, "INSERT OR REPLACE INTO seen_thumbs(folder_key, name_key, thumb) VALUES(?, ?, ?)");
    Stmt drop(db, "DELETE FROM seen_thumbs WHERE folder_key = ? AND name_key = ?");
    for (int i = 0; i < nCount; ++i) {
      const VXDBSEENFILE& f = pFiles[i];
      const PathParts& p = parts[static_cast<size_t>(i)];
      const std::string nameKey = p.key.substr(p.folderKey.size());
      st.Bind(1, p.folderKey).Bind(2, nameKey).Bind(3, p.name);
      st.Bind(4, static_cast<int64_t>(f.qwSize)).Bind(5, static_cast<int64_t>(f.qwWriteTime));
      st.Bind(6, static_cast<int64_t>(f.qwRecTime));
      st.Bind(7, f.nWidth).Bind(8, f.nHeight).Bind(9, f.nBitCount).Bind(10, f.nOrientation).Bind(11, f.nFormat);
      st.Bind(12, static_cast<int64_t>(f.cbThumb));
      // Trailing zeros (unused text) are left out; the reader gets them back as zeros.
      DWORD facts = f.cbFacts;
      while (facts > 0 && f.pFacts[facts - 1] == 0) --facts;
      if (facts)
        st.BindBlob(13, f.pFacts, static_cast<int>(facts));
      else
        st.BindNull(13);
      if (!st.Run()) return E_FAIL;
      sqlite3_reset(st.get());
      Stmt& t = f.cbThumb ? thumb : drop;
      t.Bind(1, p.folderKey).Bind(2, nameKey);
      if (f.cbThumb) t.BindBlob(3, f.pThumb, static_cast<int>(f.cbThumb));
      if (!t.Run()) return E_FAIL;
      sqlite3_reset(t.get());
    }
    return S_OK;
  });
}

VXDB_API HRESULT WINAPI VxDBReadSeenFolder(LPCSTR pszFolder, VXDBSEENPROC pfn, void* pContext) {
  if (!pfn || !pszFolder || !*pszFolder) return E_INVALIDARG;
  std::string folder = pszFolder;
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  // The folder's key as a file's in it has it.
  PathParts p;
  HRESULT hr = ParsePath((folder + "_").c_str(), p);
  if (FAILED(hr)) return hr;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db,
            "SELECT name, size, file_time, rec_time, width, height, bits, orientation, format, thumb_bytes, facts"
            " FROM seen WHERE folder_key = ?");
    st.Bind(1, p.folderKey);
    bool any = false;
    while (st.Row()) {
      any = true;
      std::string name = Utf8ToAnsi(st.Text(0));
      VXDBSEENFILE f = {};
      f.pszPath = name.c_str();
      f.qwSize = static_cast<ULONGLONG>(st.Int(1));
      f.qwWriteTime = static_cast<ULONGLONG>(st.Int(2));
      f.qwRecTime = static_cast<ULONGLONG>(st.Int(3));
      f.nWidth = static_cast<int>(st.Int(4));
      f.nHeight = static_cast<int>(st.Int(5));
      f.nBitCount = static_cast<int>(st.Int(6));
      f.nOrientation = static_cast<int>(st.Int(7));
      f.nFormat = static_cast<int>(st.Int(8));
      f.cbThumb = static_cast<DWORD>(st.Int(9));
      f.cbFacts = static_cast<DWORD>(st.Bytes(10));
      f.pFacts = f.cbFacts ? static_cast<const BYTE*>(st.Blob(10)) : nullptr;
      if (!pfn(&f, pContext)) break;
    }
    return any ? S_OK : S_FALSE;
  });
}

VXDB_API HRESULT WINAPI VxDBGetSeenThumbnail(LPCSTR pszPath, ULONGLONG qwSize, ULONGLONG qwWriteTime, BYTE** ppData,
                                             DWORD* pcbData) {
  if (!ppData || !pcbData) return E_INVALIDARG;
  *ppData = nullptr;
  *pcbData = 0;
  PathParts p;
  HRESULT hr = ParsePath(pszPath, p);
  if (FAILED(hr)) return hr;
  return ReadOp([&](sqlite3* db) -> HRESULT {
    Stmt st(db,
            "SELECT t.thumb FROM seen s JOIN seen_thumbs t ON t.folder_key = s.folder_key AND t.name_key = s.name_key"
            " WHERE s.folder_key = ? AND s.name_key = ? AND s.size = ? AND s.file_time = ?");
    st.Bind(1, p.folderKey).Bind(2, p.key.substr(p.folderKey.size()));
    st.Bind(3, static_cast<int64_t>(qwSize)).Bind(4, static_cast<int64_t>(qwWriteTime));
    if (!st.Row()) return VXDB_E_NOTFOUND;
    int n = st.Bytes(0);
    if (n <= 0 || n > VXDB_SEEN_THUMB_MAX) return VXDB_E_NOTFOUND;
    void* buf = HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(n));
    if (!buf) return E_OUTOFMEMORY;
    memcpy(buf, st.Blob(0), static_cast<size_t>(n));
    *ppData = static_cast<BYTE*>(buf);
    *pcbData = static_cast<DWORD>(n);
    return S_OK;
  });
}
