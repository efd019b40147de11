// RecordGate: the photo database's file functions (VxDBW...).
//
// Paths are in the ANSI code page and compare without regard to case. Results: S_OK,
// S_FALSE where told, E_INVALIDARG for a null, empty, over-long or undecodable argument,
// VXDB_E_NOTFOUND for a path the database does not hold, E_FAIL when it cannot be
// opened or written. Lists handed out are freed with metastore's Free functions.
#pragma once

#include <VxDatabase.h>

#ifdef RECORDGATE_BUILD
#define RECORDGATE_API VXDB_EXTERN __declspec(dllexport)
#else
#define RECORDGATE_API VXDB_EXTERN __declspec(dllimport)
#endif

// Opens the database (counted): 0 when it is ready. VxDBWExitDatabase(0) ends one use,
// VxDBWExitDatabase(-1) closes it whatever the count.
RECORDGATE_API HRESULT WINAPI VxDBWInitDatabase(void);
RECORDGATE_API HRESULT WINAPI VxDBWExitDatabase(int nMode);

// Many registrations in one transaction (committed every second and at the end);
// bracket loops over many files with these. They nest. See VxDBBeginBatch.
RECORDGATE_API HRESULT WINAPI VxDBWBeginBatch(void);
RECORDGATE_API HRESULT WINAPI VxDBWEndBatch(void);

// Enters the file (size and write time from the disk when it exists). A path that is
// enrolled already keeps its metadata and gives S_FALSE. dwFlags is stored with it.
RECORDGATE_API HRESULT WINAPI VxDBWEnrollFile(LPCSTR pszPath, DWORD dwFlags);
// Attaches a metadata list (RecordGateEx's registration lists): each record name in the
// list replaces the file's records of that name. A null list attaches nothing.
RECORDGATE_API HRESULT WINAPI VxDBWUpdateFile(LPCSTR pszPath, const METADATA* pList);
// Delete, enrol and update in one step.
RECORDGATE_API HRESULT WINAPI VxDBWRegisterFile(LPCSTR pszPath, const METADATA* pList);
// The same with the file's attributes as the caller just read them (null: read here).
RECORDGATE_API HRESULT WINAPI VxDBWRegisterFileEx(LPCSTR pszPath, const METADATA* pList,
                                                  const WIN32_FILE_ATTRIBUTE_DATA* pDisk);
// Removes the file's entry and metadata; its person records (faces, names) stay.
RECORDGATE_API HRESULT WINAPI VxDBWDeleteFile(LPCSTR pszPath);
// With VXDBW_DELETE_RECORDS the person records of the path go too (the file is gone).
#define VXDBW_DELETE_RECORDS 0x1
RECORDGATE_API HRESULT WINAPI VxDBWDeleteFileEx(LPCSTR pszPath, DWORD dwFlags);
// S_OK when the path is enrolled, VXDB_E_NOTFOUND when not.
RECORDGATE_API HRESULT WINAPI VxDBWIsEnrolled(LPCSTR pszPath);
// The file's metadata records (null when it has none); free with FreeMetaDataList.
RECORDGATE_API HRESULT WINAPI VxDBWReadFile(LPCSTR pszPath, METADATA** ppList);

// The file moved or was copied on disk: its entries follow. A target that is enrolled
// is replaced by VxDBWMoveFile and VxDBWCopyFile, and by VxDBWMoveFileEx with
// VXDB_MOVE_REPLACE (1); without it VxDBWMoveFileEx answers VXDB_E_EXISTS.
RECORDGATE_API HRESULT WINAPI VxDBWMoveFile(LPCSTR pszSource, LPCSTR pszTarget);
RECORDGATE_API HRESULT WINAPI VxDBWMoveFileEx(LPCSTR pszSource, LPCSTR pszTarget, DWORD dwFlags);
RECORDGATE_API HRESULT WINAPI VxDBWCopyFile(LPCSTR pszSource, LPCSTR pszTarget);
// A folder moved or was renamed: every entry below it follows. S_FALSE when none.
RECORDGATE_API HRESULT WINAPI VxDBWMoveFolder(LPCSTR pszOldFolder, LPCSTR pszNewFolder);
// A folder was deleted: every entry below it (sub-folders too) goes. S_FALSE when none.
RECORDGATE_API HRESULT WINAPI VxDBWDeleteFolderEx(LPCSTR pszFolder);

// The file leaves the similar-image search (its hash is dropped).
RECORDGATE_API HRESULT WINAPI VxDBWUnRegistSimilar(LPCSTR pszPath);

// A table is every metadata record of one name ("KeywordsInfo", ...): one row per
// record, numbered from 1 in a stable order. Rows nFirst..nLast (inclusive) come as a
// list of METAIDXDATA (free with FreeMetaIdxDataList); S_FALSE and null past the end.
RECORDGATE_API HRESULT WINAPI VxDBWGetReadTableDataCount(LPCSTR pszTable, int* pnCount);
RECORDGATE_API HRESULT WINAPI VxDBWGetReadTableDataEx(LPCSTR pszTable, int nFirst, int nLast, METAIDXDATA** ppRows);

// Favourite and print marks of a file.
RECORDGATE_API HRESULT WINAPI VxDBWSetFavorite(LPCSTR pszPath, BOOL bFavorite);
RECORDGATE_API HRESULT WINAPI VxDBWGetFavorite(LPCSTR pszPath, BOOL* pbFavorite);
// The favourites directly in a folder, in one read (S_FALSE and null when none).
RECORDGATE_API HRESULT WINAPI VxDBWGetFolderFavorites(LPCSTR pszFolder, STRINGLIST** ppPaths);
RECORDGATE_API HRESULT WINAPI VxDBWSetPrintCount(LPCSTR pszPath, int nCount);
RECORDGATE_API HRESULT WINAPI VxDBWGetPrintCount(LPCSTR pszPath, int* pnCount);
