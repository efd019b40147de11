// TickCache: the check marks of files, kept across runs and shared by processes.
//
// A mark belongs to a path (compared without regard to case) until it is cleared, the
// file's folder or drive is cleared, or everything is; it lives in the photo database's
// file (VxDatabase.h tells where). Paths are in the ANSI code page. Results: S_OK,
// S_FALSE where nothing was there, E_INVALIDARG for a bad path, E_FAIL when the
// database cannot be opened.
#pragma once

#include <metastore.h>

#ifdef __cplusplus
#define TICKCACHE_EXTERN extern "C"
#else
#define TICKCACHE_EXTERN extern
#endif
#ifdef TICKCACHE_BUILD
#define TICKCACHE_API TICKCACHE_EXTERN __declspec(dllexport)
#else
#define TICKCACHE_API TICKCACHE_EXTERN __declspec(dllimport)
#endif

// Opening is counted like the photo database's; the other calls open on demand.
TICKCACHE_API HRESULT WINAPI Mark_Init(void);
TICKCACHE_API HRESULT WINAPI Mark_Exit(void);

// nState 0 clears the mark; any other value marks the file with that state.
TICKCACHE_API HRESULT WINAPI Mark_SetCheck(LPCSTR pszPath, int nState);
// The state (0: not marked; then S_FALSE).
TICKCACHE_API HRESULT WINAPI Mark_GetCheck(LPCSTR pszPath, int* pnState);
// The states of several files in one read of the store; -1 for a path that is not one.
TICKCACHE_API HRESULT WINAPI Mark_GetChecks(const LPCSTR* ppszPaths, int nCount, int* pnStates);
TICKCACHE_API HRESULT WINAPI Mark_GetCheckCount(int* pnCount);
// Every marked path in the order of marking (nData = state); free with FreeStringList.
TICKCACHE_API HRESULT WINAPI Mark_GetAllCheck(STRINGLIST** ppPaths);

// A file moved or was copied: its mark goes along (S_FALSE when it had none).
TICKCACHE_API HRESULT WINAPI Mark_MoveCheck(LPCSTR pszSource, LPCSTR pszTarget);
TICKCACHE_API HRESULT WINAPI Mark_CopyCheck(LPCSTR pszSource, LPCSTR pszTarget);
TICKCACHE_API HRESULT WINAPI Mark_MoveFolder(LPCSTR pszOldFolder, LPCSTR pszNewFolder);

// Clears the marks below a folder, of one drive ('E', 'e' or the drive number 4 for E),
// or all of them.
TICKCACHE_API HRESULT WINAPI Mark_DelAllCheckInFolder(LPCSTR pszFolder);
TICKCACHE_API HRESULT WINAPI Mark_DelAllCheckInDrive(int nDrive);
TICKCACHE_API HRESULT WINAPI Mark_DeleteAll(void);
