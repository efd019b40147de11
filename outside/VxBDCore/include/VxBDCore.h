// VxBDCore: the disc-movie core. Its image list answers the scenes of a title that the
// integrator's title list holds, as the card tree's date nodes name them:
//   base    the drive's root ("E:\"), the drive the list's session opened
//   first   the title-list handle
//   second  the title's index in that list
//   image   0.. the title's parts whose stream is there, in play order
// Results are 0 on success, a negative HRESULT on failure.
#pragma once
#include <windows.h>

#include <cstddef>

#ifdef VXBDCORE_BUILD
#define VXBDCORE_API __declspec(dllexport)
#else
#define VXBDCORE_API __declspec(dllimport)
#endif

struct VXBDIMAGEINFO {
  DWORD dwSize;          // sizeof(VXBDIMAGEINFO)
  SYSTEMTIME stRecorded; // the scene's recording time (its file's write time, local)
  ULONGLONG ullBytes;    // the stream's size
  LONG nTree;            // the card tree of its stream (see VxBDListScenes); -1 on a disc
};

class IVxBDImageList {
 public:
  // The number of scenes; negative when the list, the title or the drive is not there.
  virtual long GetImageCount(LPCSTR pszBase, int nFirst, int nSecond) = 0;
  virtual long GetImageInfo(LPCSTR pszBase, int nFirst, int nSecond, long nImage, VXBDIMAGEINFO* pInfo) = 0;
  // The scene's stream path; E_NOT_SUFFICIENT_BUFFER when cch is too small.
  virtual long GetImagePath(LPCSTR pszBase, int nFirst, int nSecond, long nImage, LPWSTR pszPath, int cch) = 0;

 protected:
  ~IVxBDImageList() {}
};

// "No device": what the integrator answers while no card or disc drive is known to it.
#define VXBD_E_NODEVICE ((long)HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST))

// The integrator: the card plug-in calls it by position in its table, each operation with
// the object first and a 32-bit result (negative = failure). The named positions are those
// callers use; every other position is a placeholder so that the named ones sit where the
// callers look. Devices are the drive letters (device = drive number, 26 of them); a device
// the core cannot serve answers VXBD_E_NODEVICE.
#define VXBD_RESERVED(n) \
  virtual long Reserved##n() { return VXBD_E_NODEVICE; }
class IVxBDIntegrator {
 public:
  VXBD_RESERVED(0) VXBD_RESERVED(1) VXBD_RESERVED(2) VXBD_RESERVED(3) VXBD_RESERVED(4)
  VXBD_RESERVED(5) VXBD_RESERVED(6) VXBD_RESERVED(7) VXBD_RESERVED(8) VXBD_RESERVED(9)
  virtual long ValidateSession(int hSession) = 0;                                           // 10
  VXBD_RESERVED(11)
  virtual long TestSessionAgain(int hSession) = 0;                                          // 12
  VXBD_RESERVED(13) VXBD_RESERVED(14) VXBD_RESERVED(15) VXBD_RESERVED(16)
  virtual long GetDeviceCount(int nKind, int* pnCount) = 0;                                 // 17
  virtual long LockDevice(int nDevice) = 0;                                                 // 18
  virtual long ReleaseDevice(int nDevice) = 0;                                              // 19
  VXBD_RESERVED(20) VXBD_RESERVED(21) VXBD_RESERVED(22) VXBD_RESERVED(23)
  virtual long OpenDisc(int nDevice, LPCWSTR pszRoot, int nMode, int* phSession) = 0;       // 24
  virtual long CloseSession(int hSession) = 0;                                              // 25
  virtual long GetDeviceInfo(int nDevice, void* pRecord) = 0;                               // 26
  virtual long GetMediumType(int nDrive, void* pRecord) = 0;                                // 27
  virtual long IsDeviceBusy(int nDrive) = 0;                                                // 28
  virtual long GetMediumFlags(int nDrive, void* pRecord) = 0;                               // 29
  VXBD_RESERVED(30) VXBD_RESERVED(31) VXBD_RESERVED(32) VXBD_RESERVED(33) VXBD_RESERVED(34)
  virtual long GetSessionDescriptor(int hSession, void* pRecord) = 0;                       // 35
  VXBD_RESERVED(36)
  virtual long OpenTitleList(int hSession, DWORD dwWhat, int* phList) = 0;                  // 37
  virtual long CloseTitleList(int hList) = 0;                                               // 38
  virtual long GetTitleListInfo(int hList, void* pRecord) = 0;                              // 39
  VXBD_RESERVED(40) VXBD_RESERVED(41) VXBD_RESERVED(42) VXBD_RESERVED(43) VXBD_RESERVED(44)
  VXBD_RESERVED(45) VXBD_RESERVED(46) VXBD_RESERVED(47) VXBD_RESERVED(48) VXBD_RESERVED(49)
  VXBD_RESERVED(50) VXBD_RESERVED(51) VXBD_RESERVED(52) VXBD_RESERVED(53) VXBD_RESERVED(54)
  VXBD_RESERVED(55) VXBD_RESERVED(56) VXBD_RESERVED(57) VXBD_RESERVED(58) VXBD_RESERVED(59)
  VXBD_RESERVED(60) VXBD_RESERVED(61) VXBD_RESERVED(62) VXBD_RESERVED(63) VXBD_RESERVED(64)
  virtual long CreateImportJob(void** ppJob) = 0;                                           // 65
  VXBD_RESERVED(66) VXBD_RESERVED(67)
  virtual long GetTitleInfo(int hList, int nTitle, void* pRecord) = 0;                      // 68
  VXBD_RESERVED(69) VXBD_RESERVED(70) VXBD_RESERVED(71) VXBD_RESERVED(72) VXBD_RESERVED(73)
  VXBD_RESERVED(74)
  virtual long DeleteTitle(int hList, int nTitle) = 0;                                      // 75
  VXBD_RESERVED(76) VXBD_RESERVED(77) VXBD_RESERVED(78) VXBD_RESERVED(79) VXBD_RESERVED(80)
  virtual long GetPartRecord(int hList, int nTitle, int nPart, void* pRecord) = 0;          // 81
  VXBD_RESERVED(82) VXBD_RESERVED(83)
  virtual long GetPartThumbnail(int hList, int nTitle, int nPart, void* pDib) = 0;          // 84
  VXBD_RESERVED(85) VXBD_RESERVED(86) VXBD_RESERVED(87) VXBD_RESERVED(88) VXBD_RESERVED(89)
  VXBD_RESERVED(90) VXBD_RESERVED(91) VXBD_RESERVED(92) VXBD_RESERVED(93) VXBD_RESERVED(94)
  VXBD_RESERVED(95) VXBD_RESERVED(96) VXBD_RESERVED(97) VXBD_RESERVED(98) VXBD_RESERVED(99)
  VXBD_RESERVED(100) VXBD_RESERVED(101) VXBD_RESERVED(102)
  virtual long RefreshDevices() = 0;                                                        // 103
  VXBD_RESERVED(104) VXBD_RESERVED(105) VXBD_RESERVED(106) VXBD_RESERVED(107) VXBD_RESERVED(108)
  VXBD_RESERVED(109) VXBD_RESERVED(110)
  virtual long BeginRefresh(int* pnValue) = 0;                                              // 111
  VXBD_RESERVED(112) VXBD_RESERVED(113) VXBD_RESERVED(114) VXBD_RESERVED(115) VXBD_RESERVED(116)
  VXBD_RESERVED(117) VXBD_RESERVED(118) VXBD_RESERVED(119) VXBD_RESERVED(120) VXBD_RESERVED(121)
  VXBD_RESERVED(122)
  virtual long EndRefresh() = 0;                                                            // 123
  virtual long Wait(int nMilliseconds, long* pnStatus) = 0;                                 // 124
  VXBD_RESERVED(125) VXBD_RESERVED(126)
  virtual long GetPartName(int hList, int nTitle, int nPart, int nFlags, LPWSTR pszName, int* pnLength) = 0;  // 127
  virtual long GetPartInfo(int hList, int nTitle, int nPart, void* pRecord) = 0;            // 128

 protected:
  ~IVxBDIntegrator() {}
};
#undef VXBD_RESERVED
#define VXBD_INTEGRATOR_POSITIONS 129

// ---- The integrator's records: only the fields at these offsets are read by callers -------
// Result codes with a meaning of their own.
#define VXBD_S_SESSION_OPEN ((long)0x7030003)    // open disc: that disc is open already
#define VXBD_S_LIST_OPEN ((long)0x7030002)       // open title list: that list is open already
#define VXBD_E_UNFINALISED ((long)0x87030055)    // open disc: the disc needs finalising
#define VXBD_TITLE_LIST_ALL ((DWORD)0x80000038)  // open title list: every title
#define VXBD_DEVICE_COUNT_ALL 7                  // device count: every kind
#define VXBD_OPEN_READ 1                         // open disc: for reading
#define VXBD_MEDIUM_TYPE_REWRITABLE 65542

enum VxBDDeviceKind { VXBD_DEVICE_OTHER = 1, VXBD_DEVICE_DISC = 2, VXBD_DEVICE_CARD = 3 };

struct VXBDDEVICEINFO {  // 26
  LONG nDrive;           // 0 = A:
  LONG nReserved;
  LONG nKind;            // VxBDDeviceKind
  BYTE reserved[52];
};
struct VXBDMEDIUMFLAGS {  // 29
  DWORD dwFlags;          // 0x40000 checked, 0x20000 writable
  BYTE bState;            // bit 0: needs checking
  BYTE reserved[11];
};
#define VXBD_MEDIUM_CHECKED 0x40000
#define VXBD_MEDIUM_WRITABLE 0x20000
struct VXBDMEDIUMTYPE {  // 27
  LONG nReserved;
  LONG nType;
  BYTE reserved[8];
};
struct VXBDSESSIONDESC {  // 35
  LONG nTvSystem;         // 0 NTSC, 1 PAL
  BYTE reserved[60];
};
struct VXBDLISTINFO {  // 39
  LONG reserved0[2];
  DWORD nTitles;
  BYTE reserved[52];
};
struct VXBDTITLEINFO {  // 68
  LONG nKind;           // 1 = a movie title
  LONG nReserved;
  LONG nParts;
  BYTE reserved0[12];
  ULONGLONG ullBytes;
  BYTE reserved1[552];
  SYSTEMTIME stRecorded;
  BYTE reserved2[36];
  WORD wMakerHigh;
  WORD wMakerLow;
  WORD wModel;          // the model code of the playlist's maker data
  WORD wPictureWidth;
  WORD wPictureHeight;
  WORD wTvSystem;
  BYTE reserved3[8];
};
struct VXBDPARTRECORD {  // 81
  BYTE reserved0[584];
  SYSTEMTIME stRecorded;
  BYTE reserved1[24];
};
struct VXBDPARTINFO {  // 128
  LONG reserved0[3];
  LONG nWidth;
  LONG nHeight;
  ULONGLONG ullBytes;
  BYTE reserved[36];
};
static_assert(offsetof(VXBDDEVICEINFO, nKind) == 8, "device kind at 8");
static_assert(offsetof(VXBDMEDIUMFLAGS, bState) == 4, "medium state at 4");
static_assert(offsetof(VXBDMEDIUMTYPE, nType) == 4, "medium type at 4");
static_assert(offsetof(VXBDLISTINFO, nTitles) == 8, "title count at 8");
static_assert(offsetof(VXBDTITLEINFO, nParts) == 8, "part count at 8");
static_assert(offsetof(VXBDTITLEINFO, ullBytes) == 24, "size at 24");
static_assert(offsetof(VXBDTITLEINFO, stRecorded) == 584, "recording time at 584");
static_assert(offsetof(VXBDTITLEINFO, wMakerHigh) == 636, "maker high word at 636");
static_assert(offsetof(VXBDTITLEINFO, wMakerLow) == 638, "maker low word at 638");
static_assert(offsetof(VXBDPARTRECORD, stRecorded) == 584, "part time at 584");
static_assert(offsetof(VXBDPARTINFO, nWidth) == 12 && offsetof(VXBDPARTINFO, nHeight) == 16, "size at 12 and 16");

// One disc drive of the drive list.
struct VXBDDRIVEENTRY {
  int nDrive;  // 0 for A:
  int nKind;
};

class IVxBDDiscEdit;  // VxBDEdit.h

// The core object: positions 0 to 6 in this order (callers reach them by position).
class IVxBDCoreObject {
 public:
  virtual void Release() = 0;                                                      // 0
  virtual IVxBDIntegrator* GetIntegrator() = 0;                                    // 1
  // The disc drives (at most cMax); 0 and *pnCount = 0 without any.
  virtual long GetDriveList(VXBDDRIVEENTRY* pEntries, int cMax, int* pnCount) = 0;  // 2
  // Leaving the card tree: the drive chosen for it is let go.
  virtual long ClearDriveSelection() = 0;                                          // 3
  virtual IVxBDImageList* GetImageList() = 0;                                      // 4
  virtual long SelectDrive(int nDrive) = 0;                                        // 5
  // The card editor: deleting the scenes of a card's movie tree.
  virtual IVxBDDiscEdit* GetDiscEdit() = 0;                                        // 6

 protected:
  ~IVxBDCoreObject() {}
};

// A new core object (release it); null when memory runs out.
extern "C" VXBDCORE_API IVxBDCoreObject* GetVxBDCoreObject();

// The tree reading itself, without the object (the DLL and tests use it).
#include <string>
#include <vector>
struct VxBDScene {
  std::string path;
  SYSTEMTIME recorded;
  ULONGLONG bytes;
};
// The scenes (STREAM\*.MTS, by name) of a card tree under a base folder: tree 0
// "PRIVATE\AVCHD\BDMV", 1 "AVCHD\BDMV"; day 0 every scene, n >= 1 the scenes of the n-th
// recording day (days ascending). FALSE when the tree or the day is not there.
BOOL VxBDListScenes(LPCSTR pszBase, int nTree, int nDay, std::vector<VxBDScene>* pScenes);
