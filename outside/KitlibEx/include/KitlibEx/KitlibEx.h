// The maker's card and shell services KitlibEx.dll.
#pragma once
#include <Kitlib2/KitDefs.h>
#include <KitlibEx/Kinds.h>

#include <shellapi.h>

#ifdef KITLIBEX_BUILD
#define KITLIBEX_API __declspec(dllexport)
#else
#define KITLIBEX_API __declspec(dllimport)
#endif

// ---- Memory cards ------------------------------------------------------------------

// Fills the buffer (at least 255 characters) with the letters of the removable drives
// that hold a medium, each followed by "," ("E,F,"); "" means no card. Answers the count.
KITLIBEX_API int CMTLxGetCardDrives(LPSTR lpszDrives);

// 0 for a picture folder of a card, judged by the path's last component: a DCF folder
// ("100ABCDE": 100 to 999 and five letters, digits or "_") or an IM folder at the root
// ("IM01ABCD"); 1 for every other folder (DCIM itself, MISC, SD_VIDEO's programmes, …).
KITLIBEX_API int CMTLxIsCardFolder(LPCSTR lpszPath);

// 0 for an SD-Video programme folder ("SD_VIDEO\PRG001", "SD_VIDEO\PRL00A"; number not
// 000), 1 otherwise.
KITLIBEX_API int CMTLxIsSDVideoFolder(LPCSTR lpszPath);

// Nonzero when the drive (1 = A:) is a removable drive on the SD bus, a slot for cards
// with a protected area (the system reports the bus; card readers on USB answer 0).
KITLIBEX_API int CMTLxIsSecuritySDCardDrive(int nDrive);

// ---- Print orders (DPOF) -----------------------------------------------------------

// Appends the full paths of the pictures the jobs of "<drive>\MISC\<job>.MRK" name
// ("E:", "AUTPRINT" or "AUTPLAY3"). Answers the number appended; 0 without the file.
KITLIBEX_API int CMTLxGetDPOFFileList(LPCSTR lpszDrive, LPCSTR lpszJob, CStringList& list);

// Takes the file out of every job of that print-order file (a job left without pictures
// goes) and rewrites the file. Answers the number of picture entries removed, 0 when the
// file named none, negative when the file could not be rewritten.
KITLIBEX_API int CMTLxDeleteDPOFFileJob(LPCSTR lpszDrive, LPCSTR lpszJob, LPCSTR lpszPath);

// ---- Support tests by kind (tables in <KitlibEx/Kinds.h>) ----------------------------

// Nonzero when the file exists and is of a kind the filter accepts. *pdwInfo (may be
// NULL) gets the information flags, also for rejected files.
KITLIBEX_API int CMTLxIsSupport(LPCSTR lpszPath, DWORD* pdwInfo, DWORD dwFilter);

// The same judged by the name alone (no disk access; no read-only flag).
KITLIBEX_API int CMTLxIsSupport0(LPCSTR lpszPath, DWORD* pdwInfo, DWORD dwFilter);

// Nonzero when the file exists and is of a media kind the file operations may move
// (any known kind but the companion files).
KITLIBEX_API int IsMoveSupport(LPCSTR lpszPath, DWORD* pdwInfo);

// The kind bit of a path (CMTLX_KIND_*), 0 for an unknown kind.
KITLIBEX_API DWORD CMTLxGetFileKind(LPCSTR lpszPath);

// The accepted kinds of a filter as text ("JPEG, TIFF, BMP"); "" for filter 0.
KITLIBEX_API CString CMTLxGetSupportString(DWORD dwFilter);

// ---- File operations ---------------------------------------------------------------

// What CMTLxFileOperation leaves in hNameMappings (with FOF_WANTMAPPINGHANDLE): three
// words; the two lists are NUL-separated and end with an empty string. The record and
// both lists come from malloc: free them (or call CMTLxFreeNameMapping).
struct CMTLX_NAMEMAPPING {
  LPSTR pszSources;  // the sources that were handled, in the order of the request
  LPSTR pszWritten;  // the paths written, pairing with pszSources
  INT_PTR nCount;    // the number of paths written
};

// Copies or moves (FO_COPY, FO_MOVE) the record's sources into pTo: one folder for
// every source, or with FOF_MULTIDESTFILES one full target per source. Each target is
// decided first: a name already taken (on disk or earlier in the same request) gets
// " (2)", " (3)", … before its extension, and a copy into its own folder becomes
// "name - コピー.ext"; nothing is overwritten and no platform question is asked. A move
// onto itself does nothing and reports the file where it is. FOF_ALLOWUNDO, FOF_SILENT,
// FOF_SIMPLEPROGRESS (with lpszProgressTitle) and FOF_NOERRORUI are honoured.
// FO_DELETE and FO_RENAME go to the shell with the caller's flags unchanged.
// Every target is checked on disk afterwards: it must exist with its source's size (a
// folder: as many files and bytes), and after a move the source must be gone. A target
// that fails the check is removed while its source is still whole (no cut copy under the
// real name, no duplicate of a move).
// Answers 0 when every target passed; a negative code on failure (E_INVALIDARG, E_ABORT
// when cancelled, HRESULT_FROM_WIN32 of the shell's error, CMTLX_E_NOT_DONE when the shell
// reported success for something that did not happen). The mapping, when asked for, lists
// the targets that passed, after a failure too; callers follow only those.
// FO_DELETE and FO_RENAME are checked too: deleted sources gone, a renamed one moved.
#define CMTLX_E_NOT_DONE ((int)HRESULT_FROM_WIN32(ERROR_WRITE_FAULT))
KITLIBEX_API int CMTLxFileOperation(LPSHFILEOPSTRUCTA lpFileOp);

// The same for the marked files' copy and move. The files' check marks are kept by the
// thumbnail library, which follows the written paths the mapping reports.
KITLIBEX_API int CMTLxFileMarkOperation(LPSHFILEOPSTRUCTA lpFileOp);

// Frees a CMTLX_NAMEMAPPING and its lists.
KITLIBEX_API void CMTLxFreeNameMapping(void* hNameMappings);

// ---- Message box -------------------------------------------------------------------

// Extra answer sets and answers of CMTLxMessageBox beyond the system's.
#define MB_CMTLX_YESALLNOALL 0x00000006L   // Yes, Yes to all, No, No to all
#define MB_CMTLX_YESALLNOALL2 0x00000007L  // the same four answers
#define IDCMTLX_YESTOALL 10
#define IDCMTLX_NOTOALL 11
// With a key: a "don't show this again" check box; once it was ticked, the box is not
// shown again and the answer given then comes back at once.
#define MB_CMTLX_DONTSHOWAGAIN 0x01000000L

// A message box with the system's button sets (MB_OK … MB_RETRYCANCEL), icons, default
// buttons and modality, plus the four-answer sets above. The remembered answers live in
// the profile section "MessageBox" (program root) under the key's name; answers IDOK,
// IDCANCEL, IDYES, IDNO, IDCMTLX_YESTOALL, IDCMTLX_NOTOALL, …; 0 when no box could be made.
KITLIBEX_API int CMTLxMessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType,
                                  LPCSTR lpszKey = NULL);

// ---- Folder browser ----------------------------------------------------------------

struct CMTLXBROWSEINFO {
  HWND hwndOwner;
  LPCSTR pszStartFolder;  // selected when the browser opens (may be NULL)
  LPSTR pszFolder;        // out: the chosen folder, MAX_PATH (260) characters
  LPCSTR pszTitle;        // the text above the tree
  UINT uFlags;            // CMTLX_BIF_NEWFOLDER: offer a "new folder" button and an edit box
};
#define CMTLX_BIF_NEWFOLDER 0x1

// The shell's folder browser. 1 when a folder was chosen (pszFolder holds it), 2 when
// the user cancelled, 0 when no browser could be shown or the choice is no folder on disk.
KITLIBEX_API int CMTLxBrowseForFolder(CMTLXBROWSEINFO* lpInfo);

// ---- Favourites --------------------------------------------------------------------

// The favourite folders: profile section "FavoPIN\FolderName" (program root),
// "NumOfFolder" = count and "0001", "0002", … = the folders.
#define CMTLX_E_FAVORITE_EXISTS ((HRESULT)0x81000010L)  // the folder is a favourite already
#define CMTLX_E_FAVORITE_FULL ((HRESULT)0x81000011L)    // the list holds its 100 folders
#define CMTLX_FAVORITE_MAX 100

// Adds a folder to the favourites: 0 on success, one of the two refusals above,
// E_INVALIDARG for a drive root or an empty path, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
// for a path that is no folder.
KITLIBEX_API HRESULT CMTLxAddFavorite(LPCSTR lpszFolder);

// ---- Similar-image search settings --------------------------------------------------

// The last similar-image search (profile section "dotSeek\SearchProfile", program root):
// a type (0 none, 1 a database query, 2 a similar-image search), its name, its query
// text and a value of the search's own. Get answers the type; out pointers may be NULL.
KITLIBEX_API int CMTLxGetSearchProfile(int* pnType, CString* pstrName, CString* pstrQuery, int* pnValue);
KITLIBEX_API BOOL CMTLxWriteSearchProfile(int nType, LPCSTR lpszName, LPCSTR lpszQuery, int nValue);

// ---- Map component -----------------------------------------------------------------

// Nonzero when the map component (MapBase.dll in the program folder) is installed.
KITLIBEX_API int CMTLxIsUsedOrbisMap();
