// The disc-movie core's integrator as the card plug-in calls it: its operations by
// position, the result codes with a meaning of their own, the records it fills (only the
// fields at the offsets below are read by callers), the import job it makes and the sink
// the job writes each clip's companion files through. The core and the plug-in compile
// this one declaration.
#pragma once
#include <windows.h>

#include <cstddef>

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
  VXBD_RESERVED(100)
  // The player of one movie item at a time, addressed by the words 2 to 4 of its disc
  // reference (a card's scene: group, day key, clip), shown in a child of the owner (a
  // core without a player answers "no device").
  virtual long OpenItem(DWORD, DWORD, DWORD, HWND) { return VXBD_E_NODEVICE; }                // 101
  virtual long SetItemRect(RECT) { return VXBD_E_NODEVICE; }  // (-1, -1, 1, 1): whole owner // 102
  // Also lets the open item go (the disc player's close).
  virtual long RefreshDevices() = 0;                                                        // 103
  virtual long PlayItem() { return VXBD_E_NODEVICE; }                                       // 104
  VXBD_RESERVED(105)
  virtual long StopItem() { return VXBD_E_NODEVICE; }                                       // 106
  virtual long PauseItem() { return VXBD_E_NODEVICE; }                                      // 107
  virtual long SeekItem(LONGLONG, long*) { return VXBD_E_NODEVICE; }  // 100 ns               // 108
  virtual long GetItemPosition(LONGLONG*, long*) { return VXBD_E_NODEVICE; }                // 109
  VXBD_RESERVED(110)
  // With an item open: *pnValue the item's raw state (0 not ready, 1 stopped, 2 paused,
  // 3 playing).
  virtual long BeginRefresh(int* pnValue) = 0;                                              // 111
  VXBD_RESERVED(112) VXBD_RESERVED(113) VXBD_RESERVED(114) VXBD_RESERVED(115) VXBD_RESERVED(116)
  VXBD_RESERVED(117) VXBD_RESERVED(118) VXBD_RESERVED(119) VXBD_RESERVED(120) VXBD_RESERVED(121)
  VXBD_RESERVED(122)
  virtual long EndRefresh() = 0;                                                            // 123
  // Answers at once. With an item open: 1 while it still plays (or pauses), 0 once ended.
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
#define VXBD_E_LIST_UNREADABLE ((long)0x87030040)  // title list: the medium's title data can't be read
#define VXBD_TITLE_LIST_ALL ((DWORD)0x80000038)  // open title list: every title
#define VXBD_PART_NAME_PATH 1                    // part name: the stream's full path, not its name
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
  BYTE reserved0[16];
  LONGLONG llDuration;  // 100 ns; the open movie item's
  BYTE reserved1a[560];
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
static_assert(offsetof(VXBDPARTRECORD, llDuration) == 16, "item duration at 16");
static_assert(offsetof(VXBDPARTINFO, nWidth) == 12 && offsetof(VXBDPARTINFO, nHeight) == 16, "size at 12 and 16");


// ---- The import job (integrator position 65) and the sink it writes through --------------
// A job copies one title at a time into a folder: the title's streams by the verified copy,
// under a base name that is free for every stream and for the ".cont", ".tmb" and ".iis"
// the sink writes beside the first stream. Its wait answers 1 while it runs; then the result
// is 0, VXBD_E_DISK_FULL, or another failure, and a failed or aborted title leaves none of
// its files behind.
#define VXBD_E_DISK_FULL ((long)0x80070070)
#define VXBD_IMPORT_COPY 1        // set item: copy the title
#define VXBD_WAIT_RUNNING 1       // job wait: still running
#define VXBD_MAX_CLIP_FILES 32    // streams of one clip handed to the sink

struct IVxBDClipSink;

class IVxBDImportJob {
 public:
  virtual long QueryInterface(REFIID riid, void** ppv) = 0;                                    // 0
  virtual ULONG AddRef() = 0;                                                                  // 1
  virtual ULONG Release() = 0;                                                                 // 2
  virtual long Reset() = 0;                                                                    // 3
  // The job keeps the reference the caller added and releases it at the next sink or reset.
  virtual long SetSink(IVxBDClipSink* pSink) = 0;                                              // 4
  virtual long Reserved5() { return E_NOTIMPL; }                                               // 5
  virtual long SetItem(int hList, int nTitle, LPCWSTR pszFolder, int nMode) = 0;               // 6
  virtual long Reserved7() { return E_NOTIMPL; }                                               // 7
  virtual long Reserved8() { return E_NOTIMPL; }                                               // 8
  virtual long Reserved9() { return E_NOTIMPL; }                                               // 9
  virtual long Reserved10() { return E_NOTIMPL; }                                              // 10
  virtual long Start() = 0;                                                                    // 11
  virtual long Abort() = 0;                                                                    // 12
  virtual long GetProgress(double* pdPercent) = 0;                                             // 13
  virtual long Wait(int nMilliseconds, long* pnResult) = 0;                                    // 14

 protected:
  ~IVxBDImportJob() {}
};

// What the job tells the sink of one clip, in this order: Begin, SetSourceFiles,
// SetClipInfo, SetStreamInfo, SetPrivateData (when the clip has maker data), SetThumbnail,
// SetStillTime, Commit, GetFileNames.
#pragma pack(push, 4)
struct VXBDCLIPSOURCES {
  WORD nFiles;                             // streams in playing order, at most VXBD_MAX_CLIP_FILES
  WORD wStillValue;                        // the still information's 16-bit value
  DWORD dwClipValue;                       // told to the content information with its flag
  WORD wMakerCode, wModelCode;
  LONGLONG llDuration;                     // 100-nanosecond units
  SYSTEMTIME stRecorded;                   // local time
  WCHAR szMakerText[64];                   // fallbacks when the device tables lack the codes
  WCHAR szModelText[64];
  WCHAR szThirdText[64];
  LPCWSTR apszFiles[VXBD_MAX_CLIP_FILES];  // full paths of the copied streams
};
struct VXBDCLIPINFO {  // eight values
  SYSTEMTIME stRecorded;
  LONGLONG llDuration;  // 100-nanosecond units
  LONG nWidth, nHeight;
  LONG nTvSystem;       // 0 NTSC, 1 PAL
  LONG nFrameRate;      // frames per 1000 seconds
  LONG nAspect;         // 0 4:3, 1 16:9
  LONG nBitRate;        // bits per second, 0 unknown
};
struct VXBDSTREAMINFO {  // five values
  LONG nStreams;
  LONG nVideoCodec, nAudioCodec, nAudioChannels, nAudioRate;
};
struct VXBDSTILLTIME {  // the date and time fields SetStillTime packs
  WORD wYear;
  BYTE bMonth, bDay, bHour, bMinute, bSecond, bZone;
};
#pragma pack(pop)
static_assert(sizeof(VXBDSTILLTIME) == 8, "still time of 8 bytes");

// {82927E0B-62CC-4B3C-BCBC-D2BA78996493}
static const IID IID_IVxBDClipSink = {0x82927E0B, 0x62CC, 0x4B3C, {0xBC, 0xBC, 0xD2, 0xBA, 0x78, 0x99, 0x64, 0x93}};
struct IVxBDClipSink : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Reserved3(void*, void*, void*) = 0;                             // 3
  virtual HRESULT STDMETHODCALLTYPE Reserved4(void*) = 0;                                           // 4
  virtual HRESULT STDMETHODCALLTYPE Begin() = 0;                                                    // 5
  virtual HRESULT STDMETHODCALLTYPE SetSourceFiles(const VXBDCLIPSOURCES* pRecord) = 0;             // 6
  virtual HRESULT STDMETHODCALLTYPE SetClipInfo(const VXBDCLIPINFO* pInfo) = 0;                     // 7
  virtual HRESULT STDMETHODCALLTYPE SetStreamInfo(const VXBDSTREAMINFO* pInfo) = 0;                 // 8
  virtual HRESULT STDMETHODCALLTYPE SetPrivateData(DWORD dwTag, const void* pData, DWORD cb) = 0;   // 9
  // A packed DIB (header, then pixels), 24 or 32 bits.
  virtual HRESULT STDMETHODCALLTYPE SetThumbnail(const BITMAPINFOHEADER* pDib) = 0;                 // 10
  virtual HRESULT STDMETHODCALLTYPE SetStillTime(const VXBDSTILLTIME* pTime, DWORD dwLow, DWORD dwHigh) = 0;  // 11
  virtual HRESULT STDMETHODCALLTYPE Commit(int* pnFiles) = 0;                                       // 12
  virtual HRESULT STDMETHODCALLTYPE GetFileNames(LPWSTR* ppszNames, int nCapacity) = 0;              // 13
};
