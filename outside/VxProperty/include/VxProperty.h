// VxProperty: file and camera properties, recording times, GPS, persons and focus
// areas of pictures and movies, and the member list of content-information (".cont")
// files.
//
// A property set is opened once per file (PrInitGetPropertyString) and then serves any
// number of property ids as texts (PrGetPropertyString) or times (PrGetPropertySysTime)
// until it is closed (PrExitGetPropertyString). Everything is read when the set opens:
// the file system's values, the Exif block of a still picture (through the imaging
// engine, headers only, no decoding), the header boxes of an MP4/MOV movie, or the text
// of a ".cont" file (format in VxContFile.h). A set belongs to one thread at a time;
// different sets may be used on different threads at once.
//
// Texts are in the ANSI code page (932). A value the file does not carry is the empty
// text "", never null. The handle is pointer-sized; 0 means failure. Closed or unknown
// handles are refused (E_HANDLE, "" or FALSE), never dereferenced.
//
// Property ids (PRID_*) and their texts:
//   0       maker                 Exif Make; .cont Maker
//   1       model                 Exif Model; .cont Model
//   2       recording date/time   "YYYY/MM/DD HH:MM:SS", the recording time (below)
//   3       exposure time         "1/250 秒", "2 秒", "0.5 秒"
//   4       aperture              "F5.6"
//   5       ISO speed             "400"
//   6       focal length          "35 mm", "4.5 mm"
//   7       flash                 "発光", "非発光", "発光禁止"
//   8       white balance         "オート", "マニュアル"
//   16      kind of file          "JPEG 画像", "PNG 画像", ..., "MP4 動画", "AVCHD 動画";
//                                 "" for kinds the shell should name
//   48      picture/frame size    "640 × 480", as shown (Exif orientation applied)
//   64      shooting mode         Exif ExposureProgram: "マニュアル", "プログラム",
//                                 "絞り優先", "シャッター優先", "ポートレート", "風景", ...
//   80      file size             "1.00 KB (1,024 バイト)" (below); a .cont: the clip's
//                                 total size
//   128     last written          long date and time of the system ("%s %s")
//   1792    companion files       a .cont file's members, "|"-separated file names in the
//                                 .cont file's folder; "" for any other file
//   2560    maker code            a .cont file's MakerCode (device tables of the program)
//   2816    model code            a .cont file's ModelCode
//   8192    recording length      movies and .cont: "H:MM:SS"
//   12288   recording mode        .cont RecMode ("HA", "XP", ...)
//   16384   bit rate              movies and .cont: "17.0 Mbps"
//   24576   movie exposure        .cont Exposure
//   0x40000 other scene           "1" when the camera's scene mode has no name here
//   0x70000 caption               Exif ImageDescription or UserComment; .cont Title
//   0x80000 scene                 Exif SceneCaptureType / ExposureProgram: "風景",
//                                 "ポートレート", "夜景"
//   0x90000 camera scene mode     Norvane maker note (tag PR_MN_SCENE_MODE): "スポーツ", ...
//   0xA0000 lighting              "フラッシュ" when the flash fired
//   0x1000000 faces               number of faces the camera found ("2"; "" when none)
//
// Recording time (id 2, PrGetPropertySysTime(2), PrGetAVCHDRecTime), local time, the
// first of: Exif DateTimeOriginal, Exif DateTimeDigitized (as the thumbnail library
// dates pictures; IFD0 DateTime is the time of the last edit and is not used); a movie's
// creation time (MP4/MOV "mvhd", stored in UTC; 0 means unset); a .cont file's
// RecordTime, else the last-write time of its first member; the file's last-write time.
//
// File-size text (id 80): "%s バイト (%s バイト)" below 1 KB, else "%.2f KB (%s バイト)",
// "%.2f MB (%s バイト)" or "%.2f GB (%s バイト)"; the value is cut (not rounded) to two
// decimals, so 1023.999 KB never shows as "1024.00 KB", and exact sizes show exactly
// (1024 bytes: "1.00 KB (1,024 バイト)"). Byte counts are grouped by three with ",".
//
// Norvane maker note tags read here (the maker-note format is the imaging engine's,
// imaging/exif.h; all other tags belong to the camera firmware):
//   PR_MN_FACE_COUNT   SHORT     faces found in the picture
//   PR_MN_FOCUS_AREA   SHORT[4]  focus area: column, columns, row, rows of the AF grid
//   PR_MN_PERSONS      UNDEFINED up to 3 names of 18 bytes each, UTF-8, NUL-padded
//   PR_MN_SCENE_MODE   SHORT     the camera's scene mode (table in PrSceneModeName)
#pragma once

#include <windows.h>

#ifdef __cplusplus
#define VXPROP_EXTERN extern "C"
#else
#define VXPROP_EXTERN extern
#endif
#ifdef VXPROPERTY_BUILD
#define VXPROP_API VXPROP_EXTERN __declspec(dllexport)
#else
#define VXPROP_API VXPROP_EXTERN __declspec(dllimport)
#endif

typedef void* HPRPROPERTY;  // a property set; 0 = none

// Flags of PrInitGetPropertyString. Every property is served whatever the flags; the
// camera flag is what the import and the tools pass when they want the camera's data.
#define PR_INIT_DEFAULT 0x00000000
#define PR_INIT_CAMERA 0x40000001

// Property ids.
#define PRID_MAKER 0
#define PRID_MODEL 1
#define PRID_SHOT_DATE 2
#define PRID_EXPOSURE 3
#define PRID_APERTURE 4
#define PRID_ISO 5
#define PRID_FOCAL_LENGTH 6
#define PRID_FLASH 7
#define PRID_WHITE_BALANCE 8
#define PRID_FILE_KIND 16
#define PRID_IMAGE_SIZE 48
#define PRID_SHOT_MODE 64
#define PRID_FILE_SIZE 80
#define PRID_WRITE_TIME 128
#define PRID_MEMBERS 1792
#define PRID_MAKER_CODE 2560
#define PRID_MODEL_CODE 2816
#define PRID_DURATION 8192
#define PRID_REC_MODE 12288
#define PRID_BIT_RATE 16384
#define PRID_MOVIE_EXPOSURE 24576
#define PRID_SCENE_OTHER 0x40000
#define PRID_CAPTION 0x70000
#define PRID_SCENE 0x80000
#define PRID_SCENE_MODE 0x90000
#define PRID_LIGHTING 0xA0000
#define PRID_FACES 0x1000000

// Norvane maker-note tags (see above).
#define PR_MN_FACE_COUNT 0x0060
#define PR_MN_FOCUS_AREA 0x0061
#define PR_MN_PERSONS 0x0062
#define PR_MN_SCENE_MODE 0x0063

// Results besides the usual ones.
#define PR_E_NODATA ((HRESULT)0x80070490L)  // HRESULT_FROM_WIN32(ERROR_NOT_FOUND): the file carries no such value

// Person tags of a picture (PrGetPersonsStruct): 4 + 3 x 48 bytes.
#define PR_PERSON_NAME_BYTES 18
#define PR_PERSONS_MAX 3
typedef struct tagPRPERSON {
  char szName[PR_PERSON_NAME_BYTES];  // UTF-8, NUL-padded; not terminated when all 18 bytes are used
  BYTE reserved[30];                  // zero
} PRPERSON;
typedef struct tagPRPERSONS {
  int nCount;  // 0..3
  PRPERSON persons[PR_PERSONS_MAX];
} PRPERSONS;

// ---- Property sets ------------------------------------------------------------------------

// Opens the set of an existing file (not a folder): 0 when the path is null, empty,
// missing or a folder.
VXPROP_API HPRPROPERTY WINAPI PrInitGetPropertyString(LPCSTR pszPath, DWORD dwFlags);
// The same for a picture whose first cbHead bytes are at pHead (as a copy of it read
// them), without opening it: the set serves what PrInitGetPropertyString's would. 0 when
// those bytes don't tell all of it (the rest of the file, a movie, a clip): open the file.
VXPROP_API HPRPROPERTY WINAPI PrInitGetPropertyStringOfHead(LPCSTR pszPath, const void* pHead, DWORD cbHead,
                                                            DWORD dwFlags);
// The same with the file's attributes, size and times given (a copy that has just placed
// the file knows them): the disk is not looked at. pDisk null: as above.
VXPROP_API HPRPROPERTY WINAPI PrInitGetPropertyStringOfHeadEx(LPCSTR pszPath, const void* pHead, DWORD cbHead,
                                                              const WIN32_FILE_ATTRIBUTE_DATA* pDisk, DWORD dwFlags);
// The file's attributes, size and times as they were when the set was opened (a caller
// needs no second look at the disk). S_OK; E_INVALIDARG without a target; E_HANDLE.
VXPROP_API HRESULT WINAPI PrGetFileAttributeData(HPRPROPERTY hProp, WIN32_FILE_ATTRIBUTE_DATA* pData);
// The text of one property id; "" for an id the file does not carry and for a bad
// handle. The text lives until the set is closed.
VXPROP_API LPCSTR WINAPI PrGetPropertyString(HPRPROPERTY hProp, DWORD dwId);
// A property as a time (local): ids 2 (recording time) and 128 (last written).
// S_OK; E_INVALIDARG without a target; E_HANDLE for a bad handle; PR_E_NODATA for
// other ids.
VXPROP_API HRESULT WINAPI PrGetPropertySysTime(HPRPROPERTY hProp, DWORD dwId, SYSTEMTIME* pTime);
// The capture time of an open set, local time: Exif DateTimeOriginal or DateTimeDigitized,
// or a movie's creation time; PR_E_NODATA when the file carries none (its own times are
// not one); E_HANDLE, E_INVALIDARG.
VXPROP_API HRESULT WINAPI PrGetCaptureTime(HPRPROPERTY hProp, SYSTEMTIME* pTime);
// Closes the set; S_OK, or E_HANDLE when it was not open.
VXPROP_API HRESULT WINAPI PrExitGetPropertyString(HPRPROPERTY hProp);

// ---- AVCHD clips --------------------------------------------------------------------------

// An AVCHD scene reached through the disc-movie core by three numbers (title list, title,
// scene as the thumbnail library keeps them, -1 for none). The disc-movie core names the
// scene's file (its stream, or a ".cont" file) through a resolver; without one (or when it
// answers no file) the set cannot open and 0 comes back. A stream's set holds what the movie
// kit reads of it: picture size, duration, bit rate.
typedef BOOL(CALLBACK* PRSCENERESOLVER)(int a, int b, int c, LPSTR pszContPath, UINT cchPath, void* pContext);
VXPROP_API HRESULT WINAPI PrSetAVCHDSceneResolver(PRSCENERESOLVER pfn, void* pContext);
VXPROP_API HPRPROPERTY WINAPI PrInitGetAVCHDPropertyString(int a, int b, int c);
// The recording time of the set's file (rules above; meant for .cont files, any file
// answers). S_OK, E_INVALIDARG, E_HANDLE.
VXPROP_API HRESULT WINAPI PrGetAVCHDRecTime(HPRPROPERTY hProp, SYSTEMTIME* pTime);
// *pnEdited = 1 when the clip was edited after recording (.cont Edited=1), else 0.
// S_OK, E_INVALIDARG, E_HANDLE.
VXPROP_API HRESULT WINAPI PrGetAVCHDEdit(HPRPROPERTY hProp, int* pnEdited);

// ---- Position, persons, focus -------------------------------------------------------------

// The GPS position of a picture as "%d/%d/%d" texts (degrees, minutes, rounded seconds).
// South and west are negative: the first non-zero part carries the sign ("-33/51/24",
// "0/-30/0"). pszAltitude gets the altitude in metres ("35.5", "-12.0") or "". Each
// buffer that is not null must hold PR_GPS_TEXT_MAX bytes.
// S_OK; PR_E_NODATA without a position; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
// E_INVALIDARG.
#define PR_GPS_TEXT_MAX 32
VXPROP_API HRESULT WINAPI PrGetGpsData(LPCSTR pszPath, LPSTR pszLatitude, LPSTR pszLongitude, LPSTR pszAltitude);
// The same of an open set, without reading the file again; E_HANDLE for a closed or
// unknown set.
VXPROP_API HRESULT WINAPI PrGetGpsDataOf(HPRPROPERTY hProp, LPSTR pszLatitude, LPSTR pszLongitude,
                                         LPSTR pszAltitude);

// The person names the camera tagged the picture with (maker note). Nonzero when it
// names at least one; the record is zeroed first and filled in the camera's order.
VXPROP_API BOOL WINAPI PrGetPersonsStruct(HPRPROPERTY hProp, PRPERSONS* pPersons);

// The focus area the camera used, as a cell of its AF grid. S_OK with the values;
// S_FALSE when the file carries none, with column 0 of 1 and row 0 of 1 (the whole
// picture), so that a caller dividing by the counts never divides by zero; E_HANDLE,
// E_INVALIDARG (a null output).
VXPROP_API HRESULT WINAPI PrGetFocusPoints(HPRPROPERTY hProp, int* pnColumn, int* pnColumns, int* pnRow, int* pnRows);

// ---- Property dialog ----------------------------------------------------------------------

// Shows the properties of a file (or, with an empty path, of the AVCHD scene a, b, c) in a
// modal dialog over hwndOwner. dwFlags 16: the browser is in focus mode (the dialog looks
// the same). d is kept for the thumbnail library's fourth value and not used.
// Returns IDOK when the dialog was closed, PR_DLG_NOTSHOWN when there was nothing to show
// (the file is gone or unreadable), -1 when the dialog could not be created.
#define PR_DLG_FOCUSMODE 16
#define PR_DLG_NOTSHOWN 3
VXPROP_API int WINAPI PrOpenProperty(LPCSTR pszPath, HWND hwndOwner, DWORD dwFlags, int a, int b, int c, int d);

// ---- Helpers --------------------------------------------------------------------------------

// The name of a camera scene-mode code (PR_MN_SCENE_MODE), or null when it has none.
VXPROP_API LPCSTR WINAPI PrSceneModeName(int nCode);
