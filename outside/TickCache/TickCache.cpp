// TickCache.dll: check marks of files, stored in the photo database.
#include <TickCache.h>
#include <VxDatabase.h>

TICKCACHE_API HRESULT WINAPI Mark_Init(void) { return VxDBOpen(); }
TICKCACHE_API HRESULT WINAPI Mark_Exit(void) { return VxDBClose(0); }

TICKCACHE_API HRESULT WINAPI Mark_SetCheck(LPCSTR pszPath, int nState) { return VxDBSetMark(pszPath, nState); }
TICKCACHE_API HRESULT WINAPI Mark_GetCheck(LPCSTR pszPath, int* pnState) { return VxDBGetMark(pszPath, pnState); }
TICKCACHE_API HRESULT WINAPI Mark_GetChecks(const LPCSTR* ppszPaths, int nCount, int* pnStates) {
  return VxDBGetMarkStates(ppszPaths, nCount, pnStates);
}
TICKCACHE_API HRESULT WINAPI Mark_GetCheckCount(int* pnCount) { return VxDBGetMarkCount(pnCount); }
TICKCACHE_API HRESULT WINAPI Mark_GetAllCheck(STRINGLIST** ppPaths) { return VxDBGetMarks(ppPaths); }

TICKCACHE_API HRESULT WINAPI Mark_MoveCheck(LPCSTR pszSource, LPCSTR pszTarget) {
  return VxDBMoveMark(pszSource, pszTarget, FALSE);
}
TICKCACHE_API HRESULT WINAPI Mark_CopyCheck(LPCSTR pszSource, LPCSTR pszTarget) {
  return VxDBMoveMark(pszSource, pszTarget, TRUE);
}
TICKCACHE_API HRESULT WINAPI Mark_MoveFolder(LPCSTR pszOld, LPCSTR pszNew) { return VxDBMoveMarkFolder(pszOld, pszNew); }

TICKCACHE_API HRESULT WINAPI Mark_DelAllCheckInFolder(LPCSTR pszFolder) {
  if (!pszFolder) return E_INVALIDARG;
  return VxDBDeleteMarks(pszFolder);
}

TICKCACHE_API HRESULT WINAPI Mark_DelAllCheckInDrive(int nDrive) {
  // Callers hold either the letter or the drive number (0 = A).
  if (nDrive >= 0 && nDrive < 26) nDrive += 'A';
  if (nDrive >= 'a' && nDrive <= 'z') nDrive -= 'a' - 'A';
  if (nDrive < 'A' || nDrive > 'Z') return E_INVALIDARG;
  char root[4] = {static_cast<char>(nDrive), ':', '\\', 0};
  return VxDBDeleteMarks(root);
}

TICKCACHE_API HRESULT WINAPI Mark_DeleteAll(void) { return VxDBDeleteMarks(nullptr); }
