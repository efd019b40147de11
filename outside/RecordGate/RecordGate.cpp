// RecordGate.dll: the file functions of the photo database, over VxDatabase's engine.
#include <RecordGate.h>

RECORDGATE_API HRESULT WINAPI VxDBWInitDatabase(void) { return VxDBOpen(); }
RECORDGATE_API HRESULT WINAPI VxDBWExitDatabase(int nMode) { return VxDBClose(nMode); }
RECORDGATE_API HRESULT WINAPI VxDBWBeginBatch(void) { return VxDBBeginBatch(); }
RECORDGATE_API HRESULT WINAPI VxDBWEndBatch(void) { return VxDBEndBatch(); }

RECORDGATE_API HRESULT WINAPI VxDBWEnrollFile(LPCSTR pszPath, DWORD dwFlags) { return VxDBEnrollFile(pszPath, dwFlags); }
RECORDGATE_API HRESULT WINAPI VxDBWUpdateFile(LPCSTR pszPath, const METADATA* pList) {
  return VxDBUpdateFile(pszPath, pList);
}
RECORDGATE_API HRESULT WINAPI VxDBWRegisterFile(LPCSTR pszPath, const METADATA* pList) {
  return VxDBRegisterFile(pszPath, pList);
}
RECORDGATE_API HRESULT WINAPI VxDBWRegisterFileEx(LPCSTR pszPath, const METADATA* pList,
                                                  const WIN32_FILE_ATTRIBUTE_DATA* pDisk) {
  return VxDBRegisterFileEx(pszPath, pList, pDisk);
}
RECORDGATE_API HRESULT WINAPI VxDBWDeleteFile(LPCSTR pszPath) { return VxDBDeleteFile(pszPath, FALSE); }
RECORDGATE_API HRESULT WINAPI VxDBWDeleteFileEx(LPCSTR pszPath, DWORD dwFlags) {
  return VxDBDeleteFile(pszPath, (dwFlags & VXDBW_DELETE_RECORDS) != 0);
}
RECORDGATE_API HRESULT WINAPI VxDBWIsEnrolled(LPCSTR pszPath) { return VxDBIsEnrolled(pszPath); }
RECORDGATE_API HRESULT WINAPI VxDBWReadFile(LPCSTR pszPath, METADATA** ppList) { return VxDBReadFile(pszPath, ppList); }

RECORDGATE_API HRESULT WINAPI VxDBWMoveFile(LPCSTR pszSource, LPCSTR pszTarget) {
  return VxDBMoveFile(pszSource, pszTarget, VXDB_MOVE_REPLACE);
}
RECORDGATE_API HRESULT WINAPI VxDBWMoveFileEx(LPCSTR pszSource, LPCSTR pszTarget, DWORD dwFlags) {
  return VxDBMoveFile(pszSource, pszTarget, dwFlags);
}
RECORDGATE_API HRESULT WINAPI VxDBWCopyFile(LPCSTR pszSource, LPCSTR pszTarget) { return VxDBCopyFile(pszSource, pszTarget); }
RECORDGATE_API HRESULT WINAPI VxDBWMoveFolder(LPCSTR pszOld, LPCSTR pszNew) { return VxDBMoveFolder(pszOld, pszNew); }
RECORDGATE_API HRESULT WINAPI VxDBWDeleteFolderEx(LPCSTR pszFolder) { return VxDBDeleteFolder(pszFolder); }

RECORDGATE_API HRESULT WINAPI VxDBWUnRegistSimilar(LPCSTR pszPath) { return VxDBClearSimilarHash(pszPath); }

RECORDGATE_API HRESULT WINAPI VxDBWGetReadTableDataCount(LPCSTR pszTable, int* pnCount) {
  return VxDBGetTableCount(pszTable, pnCount);
}
RECORDGATE_API HRESULT WINAPI VxDBWGetReadTableDataEx(LPCSTR pszTable, int nFirst, int nLast, METAIDXDATA** ppRows) {
  return VxDBReadTable(pszTable, nFirst, nLast, ppRows);
}

RECORDGATE_API HRESULT WINAPI VxDBWSetFavorite(LPCSTR pszPath, BOOL bFavorite) { return VxDBSetFavorite(pszPath, bFavorite); }
RECORDGATE_API HRESULT WINAPI VxDBWGetFavorite(LPCSTR pszPath, BOOL* pbFavorite) {
  return VxDBGetFavorite(pszPath, pbFavorite);
}
RECORDGATE_API HRESULT WINAPI VxDBWGetFolderFavorites(LPCSTR pszFolder, STRINGLIST** ppPaths) {
  return VxDBGetFolderFavorites(pszFolder, ppPaths);
}
RECORDGATE_API HRESULT WINAPI VxDBWSetPrintCount(LPCSTR pszPath, int nCount) { return VxDBSetPrintCount(pszPath, nCount); }
RECORDGATE_API HRESULT WINAPI VxDBWGetPrintCount(LPCSTR pszPath, int* pnCount) { return VxDBGetPrintCount(pszPath, pnCount); }
