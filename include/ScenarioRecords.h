// Records of slide-show scenario files (".snr"), shared by SignalKit.dll, which reads and
// writes them, and the toolbar's scenario client. The element reference carries a
// pointer, so it is pointer-sized here; the other records are byte-exact.
#pragma once
#include <windows.h>

#include <cstddef>

// Data kinds: the picture array (elements of kind SNR_KIND_PICTURE) and the audio array.
#define SNR_DATA_PICTURES 8192
#define SNR_DATA_AUDIO 4096
#define SNR_KIND_PICTURE 1
#define SNR_KIND_AUDIO 40

// Open modes: read an existing file; create a new one (refused when it exists); create or
// replace.
#define SNR_OPEN_READ 1
#define SNR_OPEN_CREATE 3
#define SNR_OPEN_REPLACE 7

#define SNR_TIME_SECONDS 1
#define SNR_TIME_MILLISECONDS 2
#define SNR_PATH_UNITS 256

typedef void* HSNR;

#pragma pack(push, 1)
struct SNRINFO {
  DWORD cbSize;       // 44
  WORD wTimeUnit;     // SNR_TIME_*
  LONGLONG llInterval;
  WORD wOne;          // 1; a record with another value is refused
  LONG lEffect;       // 1 to 5
  BYTE reserved[24];
};

struct SNRELEMENT {
  LONGLONG llStart;  // milliseconds
  LONGLONG llEnd;
  WCHAR szPath[SNR_PATH_UNITS];
  LONGLONG llSize;
  FILETIME ftWrite;
  LONG lExtra;       // the audio kind for audio elements, 0 for pictures
};
#pragma pack(pop)

struct SNRELEMENTREF {
  LONG lKind;        // SNR_KIND_*
  LONG cbElement;    // sizeof(SNRELEMENT)
  SNRELEMENT* pElement;
  LONG lReserved;
};

static_assert(sizeof(SNRINFO) == 44, "information record");
static_assert(offsetof(SNRINFO, wOne) == 14 && offsetof(SNRINFO, lEffect) == 16, "information record");
static_assert(sizeof(SNRELEMENT) == 548, "element");
static_assert(offsetof(SNRELEMENT, llSize) == 528 && offsetof(SNRELEMENT, lExtra) == 544, "element");
static_assert(offsetof(SNRELEMENTREF, pElement) == 8, "element reference");

// The library's exports, all stdcall and answering HRESULTs.
typedef HRESULT(WINAPI* PFN_Snr_Open)(LPCWSTR pszPath, int nMode, HSNR* phScenario, void* pParam);
typedef HRESULT(WINAPI* PFN_Snr_Close)(HSNR hScenario);
typedef HRESULT(WINAPI* PFN_Snr_GetInfoScenario)(HSNR hScenario, SNRINFO* pInfo);
typedef HRESULT(WINAPI* PFN_Snr_SetInfoScenario)(HSNR hScenario, const SNRINFO* pInfo);
typedef HRESULT(WINAPI* PFN_Snr_GetDataTimeType)(HSNR hScenario, WORD wDataKind, WORD* pwUnit);
typedef HRESULT(WINAPI* PFN_Snr_SetDataTimeType)(HSNR hScenario, WORD wDataKind, WORD wUnit);
typedef HRESULT(WINAPI* PFN_Snr_GetDataOption)(HSNR hScenario, WORD wDataKind, int* pnOption);
typedef HRESULT(WINAPI* PFN_Snr_SetDataOption)(HSNR hScenario, WORD wDataKind, int nOption);
typedef HRESULT(WINAPI* PFN_Snr_GetDataArray)(HSNR hScenario, WORD wDataKind, SNRELEMENTREF* pRefs, int nReserved,
                                              int* pnCount);
typedef HRESULT(WINAPI* PFN_Snr_AssignDataArray)(HSNR hScenario, WORD wDataKind, const SNRELEMENTREF* pRefs,
                                                 int nCount);
