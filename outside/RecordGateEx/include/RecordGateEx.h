// RecordGateEx: registration lists, searches, classification, similar-image hashes and
// thumbnails of the photo database (VxDBWx...).
//
// Registration lists: start with a null METADATA*, pass its address to the Create
// functions (each appends one record; the record and field names are in VxDatabase.h),
// hand the list to VxDBWUpdateFile, and free it with VxDBWxFreeRegisterList.
//
// Queries (VxDBWxSearch, VxDBWxCreateSearchResult, the classification tags) are terms
// joined by "|"; a file must meet every term. Empty terms and "%" terms are ignored.
// A term is a field, ",", a value (and for some fields ",", a second value). A value in
// double quotes may hold "|" and ","; "" inside quotes is one quote. Values compare
// without regard to case; "*" and "?" are wildcards.
//   Keywords,v          one of the file's keywords is v
//   Maker,v  Model,v    camera maker / model
//   Scene,v             any of the four scene texts
//   FolderName,v  FolderPath,v   the folder the file was registered in
//   Area,v  City,v  Place,v  Location,v (any of the three)
//   Face,v              the camera's face text
//   Person,v            classified or filed under the name v (alone: also files that
//                       are not enrolled)
//   Date,from[,to]      capture date: "2010", "2010/05", "2010/05/01" (also - or .)
//   Date,none           capture date unknown
//   Favorite,1 (or 0)   Print,1 (or 0)
//   Folder,path         files directly in the folder; Path,path: also in sub-folders
//   Name,v              file name
//   Similar,path-or-0xHASH[,distance]   similar-image hash within the distance (10)
//   Record.Field,v      any metadata field
// VXDB_RESULT_MARKER "," id names a memorised result (see VxDatabase.h).
#pragma once

#include <VxDatabase.h>

#ifdef RECORDGATEEX_BUILD
#define RECORDGATEEX_API VXDB_EXTERN __declspec(dllexport)
#else
#define RECORDGATEEX_API VXDB_EXTERN __declspec(dllimport)
#endif

// ---- Registration lists (no database access) -----------------------------------------
// Times are seconds since 1970 as 32-bit values; -1 (any negative) means unknown.
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateDateTimeInfoList(METADATA** ppList, long tShot, long tAccess, long tCreate);
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateKeywordList(METADATA** ppList, LPCSTR pszKeywords);
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateModelList(METADATA** ppList, LPCSTR pszMaker, LPCSTR pszModel);
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateSceneList(METADATA** ppList, LPCSTR pszScene1, LPCSTR pszScene2,
                                                      LPCSTR pszScene3, LPCSTR pszScene4);
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateFolderList(METADATA** ppList, LPCSTR pszFolderName, LPCSTR pszFolderPath);
// Latitude and longitude as degrees, minutes, seconds.
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateLocationList(METADATA** ppList, int nKind, LPCSTR pszArea, LPCSTR pszCity,
                                                         LPCSTR pszPlace, const int* pnLatitude3,
                                                         const int* pnLongitude3, int nExtra);
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateFaceList(METADATA** ppList, LPCSTR pszFace);
// Frees the list and sets *ppList to null.
RECORDGATEEX_API HRESULT WINAPI VxDBWxFreeRegisterList(METADATA** ppList);

// ---- Searches --------------------------------------------------------------------------
// The paths that meet the query (free with FreeStringList, except for a marker query);
// VXDB_E_NOTFOUND when none, E_INVALIDARG for a query that does not parse.
RECORDGATEEX_API HRESULT WINAPI VxDBWxSearch(LPCSTR pszQuery, STRINGLIST** ppPaths);
// S_OK when the file carries the keyword, S_FALSE when not.
RECORDGATEEX_API HRESULT WINAPI VxDBWxCheckKeyword(LPCSTR pszPath, LPCSTR pszKeyword);

// Memorised results (kinds VXDB_RESULT_*): made from a query or from a list of paths.
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateSearchResult(int nKind, LPCSTR pszName, LPCSTR pszQuery, int* pnId);
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateSearchResultFromList(int nKind, LPCSTR pszName, const STRINGLIST* pPaths,
                                                                 int* pnId);
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetSearchResult(int nId, STRINGLIST** ppPaths);
// The memorised results of the given kinds: text = name, nData = id.
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetSearchResultList(int nKinds, STRINGLIST** ppSets);
// Deletes every memorised result of the kinds in the mask (3: all). S_FALSE when none.
RECORDGATEEX_API HRESULT WINAPI VxDBWxDeleteSearchResult(int nKinds);
RECORDGATEEX_API HRESULT WINAPI VxDBWxDeleteSearchResultById(int nId);

// ---- Classification ---------------------------------------------------------------------
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateClassifyTags(int nKind, VXDBTAG** ppTags);
RECORDGATEEX_API void WINAPI VxDBWxFreeClassifyTags(VXDBTAG* pTags);
// The files of one tag; VXDB_E_NOTFOUND (0x8878000B) when nothing is found.
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetClassifyResult(const VXDBTAG* pTag, STRINGLIST** ppPaths);
// Takes the file out of a classification: its records of that kind go (for keywords and
// persons only the value given; an empty value takes them all). The file stays.
RECORDGATEEX_API HRESULT WINAPI VxDBWxDeleteClassification(LPCSTR pszPath, int nKind, LPCSTR pszValue);

// ---- Similar-image hashes -----------------------------------------------------------------
RECORDGATEEX_API HRESULT WINAPI VxDBWxSetSimilarHash(LPCSTR pszPath, ULONGLONG qwHash);
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetSimilarHash(LPCSTR pszPath, ULONGLONG* pqwHash);
// Registered files within nMaxDistance bits of the hash, nearest first (nData = distance).
RECORDGATEEX_API HRESULT WINAPI VxDBWxFindSimilar(ULONGLONG qwHash, int nMaxDistance, int nMaxCount,
                                                  STRINGLIST** ppPaths);

// ---- Thumbnails ---------------------------------------------------------------------------
// A thumbnail of the file fitted into cx x cy (aspect kept, never enlarged), as a packed
// 24-bit DIB; free it with VxDBWxFreeThumbnailData. Modes:
//   0  the kept thumbnail only (VXDB_E_NOTFOUND when there is none or it is too small);
//   1  the kept one when it is large enough, else one made from the file and kept;
//   2  made anew from the file and kept (the file changed).
// A thumbnail is made from the embedded Exif thumbnail when the picture has one, else
// from the picture, or from a frame of a movie; it is kept only for an enrolled file.
// A file that gives no picture fails (callers then draw its icon).
#define VXDBWX_THUMB_KEPT 0
#define VXDBWX_THUMB_MAKE 1
#define VXDBWX_THUMB_RENEW 2
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetThumbnailDib(LPCSTR pszPath, int nMode, int cx, int cy, BITMAPINFOHEADER** ppDib,
                                                      DWORD* pcbDib);

#ifdef __cplusplus
class CCMDIB;
// The same into Kitlib2's image object. The optional outputs: whether the kept
// thumbnail served, and the full picture's width and height when it was read (0 when
// the kept thumbnail served); the fourth is reserved and set to 0.
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetThumbnailEx(LPCSTR pszPath, int nMode, SIZE size, CCMDIB* pImage,
                                                     BOOL* pbKept, int* pnFullWidth, int* pnFullHeight,
                                                     DWORD* pdwReserved);
// Renews the kept thumbnail from the file (the file changed) at the size it was kept
// (160 x 120 when none was) and hands it out; pReserved is unused.
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetThumbnail(LPCSTR pszPath, CCMDIB* pImage, void* pReserved);
#endif
// The kept thumbnail as it is, and keeping one made elsewhere. One older than the file
// on disk counts as missing.
RECORDGATEEX_API HRESULT WINAPI VxDBWxSetThumbnailData(LPCSTR pszPath, const BITMAPINFOHEADER* pDib, DWORD cbDib);
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetThumbnailData(LPCSTR pszPath, BITMAPINFOHEADER** ppDib, DWORD* pcbDib);
RECORDGATEEX_API void WINAPI VxDBWxFreeThumbnailData(BITMAPINFOHEADER* pDib);
RECORDGATEEX_API HRESULT WINAPI VxDBWxDeleteThumbnail(LPCSTR pszPath);
