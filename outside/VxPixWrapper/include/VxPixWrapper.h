// VxPixWrapper: the similar-image search.
//
// Each registered picture gets a 64-bit perceptual hash (the imaging engine's DCT hash of
// the picture turned upright; the embedded Exif thumbnail serves when the file has one),
// kept with the file in the photo database (VxDatabase). A search hashes the reference
// picture and lists the registered pictures whose hashes differ in at most
// PSW_DEFAULT_DISTANCE bits, nearest first (then by path). Resized, recompressed or lightly
// retouched copies land a few bits apart; unrelated pictures about 32.
//
// After a search the library memorises the result in the photo database (a result of kind
// VXDB_RESULT_SIMILAR; only the last search's is kept) and writes the search profile that
// the folder trees read (KitlibEx's CMTLxWriteSearchProfile): type 2, a name
// ("類似画像: <file name>"), the query text and the memorised result's id. The folder
// trees run that query again through PSWGetSimilarImageList.
//
// Query texts: "Similar," followed by the reference picture's path or its hash as
// "0x" and 16 hex digits, optionally "," and the largest distance (0..64); a path that
// holds "," is written in double quotes (a quote inside as two). After a hash and a
// distance a third value may name the reference picture, which then leads the results
// (the profile's query is "Similar,0x<hash>,10,\"<path>\"": it keeps working when the
// picture is gone). A bare path is taken as "Similar,<path>". The photo database's own
// queries understand the forms without the third value.
// A query holding VXDB_RESULT_MARKER names a memorised result instead and is answered
// with that list, which the database owns (never free it).
//
// Lists are metastore STRINGLISTs: the inputs are the caller's; the results are freed
// with FreeStringList (except a marker query's, see above). In a result list each text is
// a path and nData its distance in bits.
//
// Texts are in the ANSI code page (932). Results are HRESULT-style.
#pragma once

#include <windows.h>

#include <metastore.h>

#ifdef __cplusplus
#define PSW_EXTERN extern "C"
#else
#define PSW_EXTERN extern
#endif
#ifdef VXPIXWRAPPER_BUILD
#define PSW_API PSW_EXTERN __declspec(dllexport)
#else
#define PSW_API PSW_EXTERN __declspec(dllimport)
#endif

#define PSW_DEFAULT_DISTANCE 10
#define PSW_MAX_RESULTS 1000

// A file the search does not take: a folder, or not a still picture the imaging engine
// reads (JPEG, PNG, BMP, GIF, TIFF).
#define PSW_E_REFUSED ((HRESULT)0x80000001L)

// The search profile the library writes (KitlibEx's similar-image search settings).
#define PSW_PROFILE_TYPE 2

// Opens the photo database for the search (counted, as VxDBWInitDatabase); S_OK or the
// database's failure. PSWExitDatabase ends one use. Every other function opens the
// database on demand as well.
PSW_API HRESULT WINAPI PSWInitDatabase(void);
PSW_API HRESULT WINAPI PSWExitDatabase(void);

// Called once per file of a registration, after the file was handled, with its result:
//   S_OK      registered (hash stored)
//   S_FALSE   was registered already; the hash was made again
//   PSW_E_REFUSED  not a picture the search takes
//   other failures: HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), the picture could not be
//             decoded (the decoder's code), the database could not be written, E_INVALIDARG
//             for a null or empty path.
// Answer 1 to go on, 0 to stop the registration.
typedef int(CALLBACK* PSWREGISTPROC)(LPCSTR pszPath, HRESULT hrResult, void* pContext);

// Registers each path of the list in order (in one database batch). S_OK when every file
// was registered (or was already), S_FALSE when some were refused or failed,
// HRESULT_FROM_WIN32(ERROR_CANCELLED) when the callback stopped it, E_INVALIDARG for an
// empty list. pfn may be null.
PSW_API HRESULT WINAPI PSWRegistImageList(const STRINGLIST* pPaths, PSWREGISTPROC pfn, void* pContext);

// TRUE when the database holds a hash of the path.
PSW_API BOOL WINAPI PSWIsIndexed(LPCSTR pszPath);

// Searches the pictures similar to pszPath (which need not be registered itself; when
// it is, it comes first at distance 0), memorises the result and writes the search
// profile. ppResult, when not null, receives the result list (null when nothing was
// found; free it with FreeStringList). S_OK when something was found, S_FALSE when
// nothing was; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) for a missing picture that was
// never registered; PSW_E_REFUSED; E_INVALIDARG.
PSW_API HRESULT WINAPI PSWGetSimilarImageEx(LPCSTR pszPath, STRINGLIST** ppResult);

// Runs a query text (see above). S_OK with a list, VXDB_E_NOTFOUND when nothing matches,
// E_INVALIDARG for a query that does not parse, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
// when the reference picture is gone and was never registered.
PSW_API HRESULT WINAPI PSWGetSimilarImageList(LPCSTR pszQuery, STRINGLIST** ppResult);

// The list of registered pictures by folder (folder, number of pictures), modal over
// hwndOwner; the user may take the selected folders out of the search. IDOK when closed,
// -1 when the dialog could not be made.
PSW_API int WINAPI PSWOpenRegListDlg(HWND hwndOwner);
