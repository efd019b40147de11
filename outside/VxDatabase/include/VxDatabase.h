// VxDatabase: the photo database.
//
// One SQLite file per user (default %APPDATA%\Norvane\Marlo5\VxDatabase.db; the folder
// can be moved with the environment variable GLIMORA_DB_DIR or VxDBSetFolder) holds every
// registered file with its metadata records, favourite and print marks, similar-image
// hash and thumbnail, the face register (persons and their face pictures), the pictures
// filed under names, memorised search results and the check marks of TickCache. Several
// threads and processes may use it at once; every write is a transaction of its own
// unless a batch is open. The schema carries its version (PRAGMA user_version): an older
// file is brought up to date when opened, a newer one is refused (VXDB_E_NEWER).
//
// Texts cross this interface in the ANSI code page (932); the file stores UTF-8.
// Paths compare without regard to case, as on Windows (upper-cased through Unicode, so
// full-width letters fold too; kana and kanji are untouched). A path may hold at most
// MAX_PATH - 1 characters.
//
// Results are HRESULT-style: S_OK (0), S_FALSE where told, E_INVALIDARG for a null,
// empty, over-long or undecodable argument, VXDB_E_NOTFOUND for an unknown path, name
// or id, E_FAIL when the database cannot be opened or written, E_OUTOFMEMORY.
//
// Callers normally use the wrappers: RecordGate (VxDBW...) and RecordGateEx (VxDBWx...).
// This header also defines the database file object that GetDBFileObject hands out.
#pragma once

#include <stddef.h>
#include <windows.h>

#include <metastore.h>

#ifdef __cplusplus
#define VXDB_EXTERN extern "C"
#else
#define VXDB_EXTERN extern
#endif
#ifdef VXDATABASE_BUILD
#define VXDB_API VXDB_EXTERN __declspec(dllexport)
#else
#define VXDB_API VXDB_EXTERN __declspec(dllimport)
#endif

#define VXDB_E_NOTFOUND ((HRESULT)0x8878000BL)  // nothing found / unknown path, name or id
#define VXDB_E_EXISTS ((HRESULT)0x800700B7L)    // the target path is registered already
#define VXDB_E_NEWER ((HRESULT)0x88780010L)     // the file was written by a newer schema

// The metadata records that the registration lists carry, and their fields.
#define VXDB_REC_DATETIME "DateTimeInfo"  // times in seconds since 1970, "-1" when unknown
#define VXDB_FLD_SHOTTIME "ShotTime"      //   capture time
#define VXDB_FLD_ACCESSTIME "AccessTime"  //   the file's last access
#define VXDB_FLD_CREATETIME "CreateTime"  //   the file's creation
#define VXDB_REC_KEYWORDS "KeywordsInfo"
#define VXDB_FLD_KEYWORDS "Keywords"      //   keywords joined by "|" (empty pieces are ignored)
#define VXDB_REC_MODEL "ModelInfo"
#define VXDB_FLD_MAKER "Maker"
#define VXDB_FLD_MODEL "Model"
#define VXDB_REC_SCENE "SceneInfo"
#define VXDB_FLD_SCENE1 "Scene"
#define VXDB_FLD_SCENE2 "Scene2"
#define VXDB_FLD_SCENE3 "Scene3"
#define VXDB_FLD_SCENE4 "Scene4"
#define VXDB_REC_FOLDER "FolderInfo"
#define VXDB_FLD_FOLDERNAME "FolderName"  //   "2010_05_01"
#define VXDB_FLD_FOLDERPATH "FolderPath"  //   "D:\Pictures\2010_05_01\"
#define VXDB_REC_LOCATION "Location"
#define VXDB_FLD_LOCKIND "Kind"
#define VXDB_FLD_AREA "Area"              //   the address texts, broadest first
#define VXDB_FLD_CITY "City"
#define VXDB_FLD_PLACE "Place"
#define VXDB_FLD_LATITUDE "Latitude"      //   "degrees/minutes/seconds"
#define VXDB_FLD_LONGITUDE "Longitude"
#define VXDB_FLD_LOCEXTRA "Extra"
#define VXDB_REC_FACE "FaceInfo"
#define VXDB_FLD_FACE "Face"

// Kinds of person records (the registration operation of the file object).
#define VXDB_KIND_REGISTER 0  // a face picture of a person of the face register
#define VXDB_KIND_FACE 1      // a picture classified under a person (identified face or name tag)
#define VXDB_KIND_PICKED 3    // a picture filed under a name by the user

// Classification kinds (VxDBCreateTags, VxDBRemoveFromClass).
#define VXDB_CLASS_DATE 1      // capture year > month > day
#define VXDB_CLASS_MODEL 2     // camera maker > model
#define VXDB_CLASS_SCENE 3     // scene
#define VXDB_CLASS_LOCATION 4  // area > city
#define VXDB_CLASS_KEYWORD 5   // keyword
#define VXDB_CLASS_FOLDER 6    // folder name at registration
#define VXDB_CLASS_FACE 7      // the camera's face text
#define VXDB_CLASS_PERSON 8    // person names of classified and picked pictures

// Kinds of memorised search results (bit masks for deleting several kinds at once).
#define VXDB_RESULT_SEARCH 1   // results of searches
#define VXDB_RESULT_SIMILAR 2  // results of similar-image searches

// A query naming a memorised result: VXDB_RESULT_MARKER "," id. Its answer is the
// memorised list itself, owned by the database: never free it. It stays valid, and the
// same query gives it again, until the result is deleted or the database closes.
#define VXDB_RESULT_MARKER "58C2A9E1-3D74-4b96-8E0F-C14B7A2D6E53"

// Move flags (VxDBMoveFile).
#define VXDB_MOVE_REPLACE 0x1  // an entry at the target is replaced (as the file on disk was)

#include <pshpack4.h>
// The person record (964 bytes with 32-bit pointers; the template pointer is widened
// on 64-bit). Zero it, then fill what the kind needs:
//  - kind 1 (classification): szName = identified person or "", szTagName = the name the
//    camera wrote, szPath, candidates, score, face count, template;
//  - kind 0 (face register): szName, szPath, face rectangle and points, face count,
//    nFlag 1, the face library's face id, and the birthday when nBirthdayFlag is 1;
//  - kind 3 (picked pictures): the name (bytes 0..63) and szPath.
// The database copies the template bytes; the caller keeps and frees its buffer.
typedef struct tagVXDBRECORD {
  char szName[32];          // 0
  char szTagName[32];       // 32
  char szPath[520];         // 64
  int nCandidate1;          // 584 best candidate person id
  int nScore;               // 588
  int nCandidate2;          // 592
  int nCandidate3;          // 596
  int nFaceCount;           // 600 faces found in the picture
  int nTemplateSize;        // 604
  RECT rcFace;              // 608 face rectangle in the 640 x 480 picture
  POINT ptFace1;            // 624
  POINT ptFace2;            // 632
  int nFlag;                // 640
  int nFaceId;              // 644 the face library's record number
  int nBirthdayFlag;        // 648
  short nBirthYear;         // 652
  short nBirthMonth;        // 654
  short nBirthDay;          // 656
  BYTE reserved[960 - 658]; // 658
  void* pTemplate;          // 960 face template, nTemplateSize bytes
} VXDBRECORD;
#include <poppack.h>

#ifdef __cplusplus
static_assert(offsetof(VXDBRECORD, szPath) == 64 && offsetof(VXDBRECORD, nCandidate1) == 584 &&
                  offsetof(VXDBRECORD, nFaceCount) == 600 && offsetof(VXDBRECORD, rcFace) == 608 &&
                  offsetof(VXDBRECORD, pTemplate) == 960 && sizeof(VXDBRECORD) == 960 + sizeof(void*),
              "the person record's layout is shared with its callers");
#endif

// A classification group: its display name, the query that lists its files and the
// number of files; children are the finer groups (months of a year, models of a maker).
typedef struct _tagVXDBTAG {
  struct _tagVXDBTAG* pNext;   // next group of the same level
  struct _tagVXDBTAG* pChild;  // first finer group
  int nKind;                   // VXDB_CLASS_*
  int nCount;
  char* pszName;
  char* pszQuery;
} VXDBTAG;

#ifdef __cplusplus
class CString;
class CStringList;

// The database file object. Its operations are called by position; the order is fixed.
// The object opens the database on demand: every operation works without Open.
struct IVxDBFile {
  virtual ULONG Release() = 0;                                                   // 0
  virtual BOOL Open() = 0;                                                       // 1 nonzero: ready
  virtual HRESULT Close() = 0;                                                   // 2 flush; object stays usable
  virtual HRESULT AddRecord(VXDBRECORD rec, int nKind, int* pnAdded) = 0;        // 3 *pnAdded 1 new, 0 known
  virtual HRESULT Commit() = 0;                                                  // 4 0: changes are durable
  virtual HRESULT RenameFile(LPCSTR pszOld, LPCSTR pszNew) = 0;                  // 5 a file or a folder
  virtual HRESULT DeletePictureRecords(LPCSTR pszPath, int nKind) = 0;           // 6 nKind -1: all kinds
  virtual int GetFiles(LPCSTR pszName, int nMode, CStringList* pPaths, int* pnOut) = 0;  // 7
  virtual HRESULT GetFaceRect(LPCSTR pszPath, LPCSTR pszName, RECT* prc) = 0;    // 8
  virtual HRESULT DeleteFace(LPCSTR pszName, LPCSTR pszPath, int nKind, int* pnFaceId) = 0;  // 9
  virtual HRESULT RenamePerson(LPCSTR pszOld, LPCSTR pszNew) = 0;                // 10
  virtual int GetRecordCount(int nKind) = 0;                                     // 11
  virtual HRESULT DeletePerson(LPCSTR pszName) = 0;                              // 12 0: gone (or unknown)
  virtual HRESULT GetNames(CStringList* pNames, int* pnCount, int nKind) = 0;    // 13
  virtual HRESULT GetNewPersonId(int* pnId) = 0;                                 // 14
  virtual HRESULT GetPersonName(int nId, CString* pName) = 0;                    // 15
  virtual HRESULT GetPersonId(LPCSTR pszName, int* pnId) = 0;                    // 16 *pnId untouched if none
  virtual HRESULT Refile(LPCSTR pszSource, LPCSTR pszName, LPCSTR pszPath) = 0;  // 17
  virtual HRESULT SetBirthday(LPCSTR pszName, int nYear, int nMonth, int nDay) = 0;  // 18 nYear 0: none
  virtual int GetPersonCount() = 0;                                              // 19
  virtual HRESULT GetBirthday(LPCSTR pszName, int* pnYear, int* pnMonth, int* pnDay) = 0;  // 20 <0: none
  virtual HRESULT UpdateRecord(VXDBRECORD rec, int nKind) = 0;                   // 21
  virtual HRESULT ReadRecord(LPCSTR pszName, LPCSTR pszPath, VXDBRECORD* pRec) = 0;  // 22
};
#else
typedef struct IVxDBFile IVxDBFile;
#endif

// A new file object (Release frees it), or null when the database cannot be opened.
VXDB_API IVxDBFile* WINAPI GetDBFileObject(void);

// ---- The engine that the wrappers forward to ------------------------------------------

// Where the database lives: a folder (created when missing), or null for the default.
// Takes effect at the next open. VxDBGetFile gives the database file's path.
VXDB_API HRESULT WINAPI VxDBSetFolder(LPCSTR pszFolder);
VXDB_API HRESULT WINAPI VxDBGetFile(LPSTR pszPath, UINT cchPath);

// Opening is counted: VxDBOpen adds one use, VxDBClose(0) ends one, VxDBClose(-1) ends
// all; the database closes when none is left. Operations open it on demand as well.
VXDB_API HRESULT WINAPI VxDBOpen(void);
VXDB_API HRESULT WINAPI VxDBClose(int nMode);

// What opening found. A file SQLite cannot read (garbage in its header, cut short) is
// never replaced in place: it is moved aside under a name no earlier damage used
// ("VxDatabase.damaged.db", "VxDatabase.damaged-2.db", ...), a new file takes its place
// and the rows that SQLite's recovery can still read are carried into it. When the file
// cannot be moved (another program holds it, the folder is write-protected), what can be
// read of it is opened read-only; every write then fails with E_FAIL.
// A file that opens can still hold damaged pages: after a process ended without closing
// it (its log is left behind), opening checks every page first; and whenever a call
// meets a damaged page (the call fails), the file is checked when the call ends and,
// damaged, dealt with in the same way; the calls after it use the new file, and an open
// batch goes on in it (SQLite refuses to commit a transaction that met a damaged page: the
// batch's writes since its last commit are lost, as at a write's error).
#define VXDB_HEALTH_SOUND 0        // the file opened as it was
#define VXDB_HEALTH_RENEWED 1      // damaged: kept aside, a new file took its place
#define VXDB_HEALTH_READONLY 2     // damaged and could not be moved: read-only this session
#define VXDB_HEALTH_UNAVAILABLE 3  // damaged, neither moved nor readable: no database
typedef struct tagVXDBHEALTH {
  DWORD dwState;           // VXDB_HEALTH_*
  DWORD dwSalvagedFiles;   // RENEWED: registered files carried over from the damaged file
  char szFile[MAX_PATH];   // the database file
  char szAside[MAX_PATH];  // RENEWED: where the damaged file was kept
  DWORD dwDamageCount;     // damaged files this process has met: a notice is due when it grows
} VXDBHEALTH;
// The state of this process's last open of the current folder's file (SOUND before any).
// Answers at once, also while another thread's call is under way.
VXDB_API HRESULT WINAPI VxDBGetHealth(VXDBHEALTH* pHealth);

// A batch keeps one transaction open for many writes and commits it now and then
// (every ten thousand writes or every second) and at VxDBEndBatch; a process killed in
// a batch loses only the writes since the last commit. A write that fails with an error
// inside a batch (not a refusal such as E_INVALIDARG or VXDB_E_NOTFOUND) undoes the
// batch's writes since its last commit rather than leave itself half done. Batches nest.
VXDB_API HRESULT WINAPI VxDBBeginBatch(void);
VXDB_API HRESULT WINAPI VxDBEndBatch(void);

// Files.
VXDB_API HRESULT WINAPI VxDBEnrollFile(LPCSTR pszPath, DWORD dwFlags);
VXDB_API HRESULT WINAPI VxDBUpdateFile(LPCSTR pszPath, const METADATA* pList);
VXDB_API HRESULT WINAPI VxDBRegisterFile(LPCSTR pszPath, const METADATA* pList);  // delete + enroll + update
// The same with the file's size and last write time as the caller just read them (null:
// read here); the import has them from its copy.
VXDB_API HRESULT WINAPI VxDBRegisterFileEx(LPCSTR pszPath, const METADATA* pList,
                                           const WIN32_FILE_ATTRIBUTE_DATA* pDisk);
VXDB_API HRESULT WINAPI VxDBDeleteFile(LPCSTR pszPath, BOOL bWithRecords);
VXDB_API HRESULT WINAPI VxDBIsEnrolled(LPCSTR pszPath);  // S_OK yes, VXDB_E_NOTFOUND no
VXDB_API HRESULT WINAPI VxDBReadFile(LPCSTR pszPath, METADATA** ppList);
VXDB_API HRESULT WINAPI VxDBMoveFile(LPCSTR pszSource, LPCSTR pszTarget, DWORD dwFlags);
VXDB_API HRESULT WINAPI VxDBCopyFile(LPCSTR pszSource, LPCSTR pszTarget);
VXDB_API HRESULT WINAPI VxDBMoveFolder(LPCSTR pszOld, LPCSTR pszNew);
VXDB_API HRESULT WINAPI VxDBDeleteFolder(LPCSTR pszFolder);
VXDB_API HRESULT WINAPI VxDBGetFileCount(int* pnCount);
VXDB_API HRESULT WINAPI VxDBDeleteMetaData(LPCSTR pszPath, LPCSTR pszRecord, LPCSTR pszField, LPCSTR pszValue);

// Tables (metadata records of one name across all files), read in pages of rows.
VXDB_API HRESULT WINAPI VxDBGetTableCount(LPCSTR pszTable, int* pnCount);
VXDB_API HRESULT WINAPI VxDBReadTable(LPCSTR pszTable, int nFirst, int nLast, METAIDXDATA** ppRows);

// Marks kept with the file.
VXDB_API HRESULT WINAPI VxDBSetFavorite(LPCSTR pszPath, BOOL bFavorite);
VXDB_API HRESULT WINAPI VxDBGetFavorite(LPCSTR pszPath, BOOL* pbFavorite);
// The favourites directly in a folder (not below it), in one read: S_FALSE and null when
// none. Free with FreeStringList.
VXDB_API HRESULT WINAPI VxDBGetFolderFavorites(LPCSTR pszFolder, STRINGLIST** ppPaths);
VXDB_API HRESULT WINAPI VxDBSetPrintCount(LPCSTR pszPath, int nCount);
VXDB_API HRESULT WINAPI VxDBGetPrintCount(LPCSTR pszPath, int* pnCount);

// Similar-image hash (64-bit perceptual hash filled by the similar-image search).
VXDB_API HRESULT WINAPI VxDBSetSimilarHash(LPCSTR pszPath, ULONGLONG qwHash);
VXDB_API HRESULT WINAPI VxDBGetSimilarHash(LPCSTR pszPath, ULONGLONG* pqwHash);  // VXDB_E_NOTFOUND: none
VXDB_API HRESULT WINAPI VxDBClearSimilarHash(LPCSTR pszPath);
VXDB_API HRESULT WINAPI VxDBFindSimilar(ULONGLONG qwHash, int nMaxDistance, int nMaxCount, STRINGLIST** ppPaths);

// Thumbnails: a packed DIB (BITMAPINFOHEADER, colours, bits) stored with the file's
// last-write time; a thumbnail older than the file on disk counts as missing.
VXDB_API HRESULT WINAPI VxDBSetThumbnail(LPCSTR pszPath, const BITMAPINFOHEADER* pDib, DWORD cbDib);
VXDB_API HRESULT WINAPI VxDBGetThumbnail(LPCSTR pszPath, BITMAPINFOHEADER** ppDib, DWORD* pcbDib);
VXDB_API void WINAPI VxDBFreeBuffer(void* p);
VXDB_API HRESULT WINAPI VxDBDeleteThumbnail(LPCSTR pszPath);

// What the browser read of a picture it showed: its facts and its embedded thumbnail's
// bytes, kept by path for any file, enrolled or not, so that a folder seen before opens
// without reading every file again. A row serves only while the file's size and last-write
// time are those it was read with (the caller compares them with the folder's listing).
typedef struct VXDBSEENFILE {
  LPCSTR pszPath;         // VxDBPutSeenFiles: the file; VxDBReadSeenFolder: its name alone
  ULONGLONG qwSize;       // bytes
  ULONGLONG qwWriteTime;  // last write, FILETIME units
  ULONGLONG qwRecTime;    // recording time, local FILETIME units (0: none)
  int nWidth, nHeight, nBitCount, nOrientation, nFormat;  // the picture as its head gave it
  const BYTE* pThumb;     // VxDBPutSeenFiles: the thumbnail's bytes (may be null); read: null
  DWORD cbThumb;          // its size (VxDBReadSeenFolder: of the kept one, 0 when none)
  const BYTE* pFacts;     // the caller's record of the file's metadata, kept as it is but for
  DWORD cbFacts;          // trailing zeros (read: valid during the callback only)
} VXDBSEENFILE;
// At most this many thumbnail bytes per file are kept.
#define VXDB_SEEN_THUMB_MAX 65536
// Keeps (replaces) the rows in one transaction; E_INVALIDARG for a bad path, or a thumbnail
// or record over the limit (nothing is kept then).
VXDB_API HRESULT WINAPI VxDBPutSeenFiles(const VXDBSEENFILE* pFiles, int nCount);
// Calls pfn for every row kept directly in the folder (not below it) until it answers
// FALSE; S_FALSE when there is none.
typedef BOOL(CALLBACK* VXDBSEENPROC)(const VXDBSEENFILE* pFile, void* pContext);
VXDB_API HRESULT WINAPI VxDBReadSeenFolder(LPCSTR pszFolder, VXDBSEENPROC pfn, void* pContext);
// The kept thumbnail's bytes when the row still has this size and last-write time, else
// VXDB_E_NOTFOUND. Free with VxDBFreeBuffer.
VXDB_API HRESULT WINAPI VxDBGetSeenThumbnail(LPCSTR pszPath, ULONGLONG qwSize, ULONGLONG qwWriteTime, BYTE** ppData,
                                             DWORD* pcbData);

// Searches (the query language is described in RecordGateEx.h).
VXDB_API HRESULT WINAPI VxDBSearch(LPCSTR pszQuery, STRINGLIST** ppPaths);
VXDB_API HRESULT WINAPI VxDBCheckKeyword(LPCSTR pszPath, LPCSTR pszKeyword);  // S_OK holds it, S_FALSE not

// Memorised search results.
VXDB_API HRESULT WINAPI VxDBSaveResult(int nKind, LPCSTR pszName, LPCSTR pszQuery, const STRINGLIST* pPaths, int* pnId);
VXDB_API HRESULT WINAPI VxDBLoadResult(int nId, STRINGLIST** ppPaths);
VXDB_API HRESULT WINAPI VxDBListResults(int nKinds, STRINGLIST** ppSets);  // text = name, nData = id
VXDB_API HRESULT WINAPI VxDBDeleteResults(int nKinds);
VXDB_API HRESULT WINAPI VxDBDeleteResult(int nId);

// Check marks of files (TickCache), kept by path whether the file is enrolled or not.
VXDB_API HRESULT WINAPI VxDBSetMark(LPCSTR pszPath, int nState);  // 0 clears
VXDB_API HRESULT WINAPI VxDBGetMark(LPCSTR pszPath, int* pnState);  // 0 when unmarked
// The states of several paths in one read; -1 for a path that can't be looked up.
VXDB_API HRESULT WINAPI VxDBGetMarkStates(const LPCSTR* ppszPaths, int nCount, int* pnStates);
VXDB_API HRESULT WINAPI VxDBGetMarkCount(int* pnCount);
VXDB_API HRESULT WINAPI VxDBGetMarks(STRINGLIST** ppPaths);       // in marking order; nData = state
VXDB_API HRESULT WINAPI VxDBDeleteMarks(LPCSTR pszFolder);         // below the folder; null: all
VXDB_API HRESULT WINAPI VxDBMoveMark(LPCSTR pszSource, LPCSTR pszTarget, BOOL bCopy);
VXDB_API HRESULT WINAPI VxDBMoveMarkFolder(LPCSTR pszOld, LPCSTR pszNew);

// Classification: the groups of one kind as a tree of tags.
VXDB_API HRESULT WINAPI VxDBCreateTags(int nKind, VXDBTAG** ppTags);
VXDB_API void WINAPI VxDBFreeTags(VXDBTAG* pTags);
VXDB_API HRESULT WINAPI VxDBRemoveFromClass(LPCSTR pszPath, int nKind, LPCSTR pszValue);
