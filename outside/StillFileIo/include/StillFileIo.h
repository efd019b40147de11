// StillFileIo: the still-information file (".iis") of an imported clip, written beside
// its ".cont" and ".tmb". The library makes two objects through its DllCreateInstance: the
// still information (the records of one clip) and the still-file writer (which writes and
// reads them as a file).
//
// The file (this is its one definition; all numbers little-endian):
//   offset 0   the start record, 16 bytes: 32-bit 0, "STIL", 16-bit version 0x0101,
//              16-bit clip value, 32-bit 0
//   offset 16  records of 16 bytes each: 32-bit kind, 12 bytes of data
//              kind 1 (time): 32-bit duration in 45 kHz ticks, then the recording date
//              and time: 16-bit year, month, day, hour, minute, second, zone (one byte each)
//   the end    16 bytes: 32-bit 0xFFFFFFFF, 32-bit number of records before it (the start
//              record counted), 64-bit XXH3 of every byte before the end record
// At most 64 records; a file of any other shape is refused whole by the reader.
#pragma once
#include <objbase.h>

#include <cstdint>
#include <string>
#include <vector>

// {69866AE6-281B-48F1-AEB6-7FEEFAA28E55}
DEFINE_GUID(CLSID_StillFileWriter, 0x69866AE6, 0x281B, 0x48F1, 0xAE, 0xB6, 0x7F, 0xEE, 0xFA, 0xA2, 0x8E, 0x55);
// {F10C12D9-2C6C-4BF4-8C8D-AEF7FB019D41}
DEFINE_GUID(IID_IStillFileWriter, 0xF10C12D9, 0x2C6C, 0x4BF4, 0x8C, 0x8D, 0xAE, 0xF7, 0xFB, 0x01, 0x9D, 0x41);
// {BB8EE90E-6EB3-4356-BF45-829F358110BA}
DEFINE_GUID(CLSID_StillInfo, 0xBB8EE90E, 0x6EB3, 0x4356, 0xBF, 0x45, 0x82, 0x9F, 0x35, 0x81, 0x10, 0xBA);
// {5A140EBF-CBBE-4610-87B3-ED16EA755FB5}
DEFINE_GUID(IID_IStillInfo, 0x5A140EBF, 0xCBBE, 0x4610, 0x87, 0xB3, 0xED, 0x16, 0xEA, 0x75, 0x5F, 0xB5);

#pragma pack(push, 1)
struct STILLRECORD {
  DWORD dwKind;
  BYTE data[12];
};
struct STILLSTART {  // the first record
  DWORD dwZero;
  char tag[4];  // "STIL"
  WORD wVersion;
  WORD wClipValue;
  DWORD dwZero2;
};
struct STILLTIME {  // kind 1
  DWORD dwKind;
  DWORD dwTicks45k;
  WORD wYear;
  BYTE bMonth, bDay, bHour, bMinute, bSecond, bZone;
};
#pragma pack(pop)
static_assert(sizeof(STILLRECORD) == 16 && sizeof(STILLSTART) == 16 && sizeof(STILLTIME) == 16, "16-byte records");
#define STILL_VERSION 0x0101
#define STILL_KIND_TIME 1
#define STILL_MAX_RECORDS 64

struct IStillInfo : public IUnknown {
  // Forgets every record and takes the start record (its tag must be "STIL").
  virtual HRESULT STDMETHODCALLTYPE Start(const STILLRECORD* pStart) = 0;
  // Record nIndex (0 = the start record); E_INVALIDARG out of range.
  virtual HRESULT STDMETHODCALLTYPE GetRecord(int nIndex, STILLRECORD* pRecord) = 0;
  // Replaces record nIndex; nIndex equal to the count appends. E_UNEXPECTED before Start,
  // E_OUTOFMEMORY past STILL_MAX_RECORDS.
  virtual HRESULT STDMETHODCALLTYPE SetRecord(int nIndex, const STILLRECORD* pRecord) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCount(int* pnCount) = 0;
};

struct IStillFileWriter : public IUnknown {
  // Writes a new file through the verified write: never onto an existing one
  // (HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)); E_UNEXPECTED for information not started.
  virtual HRESULT STDMETHODCALLTYPE Write(LPCWSTR pszPath, IStillInfo* pInfo) = 0;
  // Reads a file into the information: HRESULT_FROM_WIN32(ERROR_INVALID_DATA) for a file
  // of another shape (the information is then left as it was).
  virtual HRESULT STDMETHODCALLTYPE Read(LPCWSTR pszPath, IStillInfo* pInfo) = 0;
};

#ifdef STILLFILEIO_BUILD
#define STILLFILEIO_API __declspec(dllexport)
#else
#define STILLFILEIO_API __declspec(dllimport)
#endif
extern "C" STILLFILEIO_API HRESULT WINAPI DllCreateInstance(REFCLSID rclsid, REFIID riid, void** ppv);

// The format without the objects (the library and its tests).
namespace stillfile {
std::string Serialize(const std::vector<STILLRECORD>& records);
// False for bytes of any other shape.
bool Parse(const std::string& bytes, std::vector<STILLRECORD>* records);
bool IsStartRecord(const STILLRECORD& r);
}  // namespace stillfile
