// The ".snr" scenario file, our own layout; all integers little-endian, no padding:
//
//   offset  width  field
//   0       4      magic "GSNR"
//   4       2      version, 1 (files of another version are refused)
//   6       2      number of arrays, 0 to 2
//   8       44     the information record (SNRINFO)
//   52      ...    the arrays, each:
//                    2   data kind (SNR_DATA_PICTURES or SNR_DATA_AUDIO, each at most once)
//                    2   time unit
//                    4   option
//                    4   element count
//                    then per element: 4 element kind, 548 the element (SNRELEMENT, its path
//                    NUL-terminated within its 256 units)
//   end-8   8      XXH64 (seed 0) of every byte before it
//
// A file is written whole to a temporary name beside it and then moved into place, so a
// reader sees either the old file or the new one.
#pragma once
#include <ScenarioRecords.h>

#include <string>
#include <utility>
#include <vector>

namespace snr {

const WORD kVersion = 1;

struct Element {
  LONG lKind;
  SNRELEMENT data;
};

struct DataArray {
  WORD wDataKind;
  WORD wTimeUnit;
  int nOption;
  std::vector<Element> elements;
};

struct Scenario {
  SNRINFO info;
  std::vector<DataArray> arrays;
  Scenario();
  DataArray* Find(WORD wDataKind);
  DataArray& Get(WORD wDataKind);  // made when missing
};

bool IsDataKind(WORD wDataKind);

std::string Serialize(const Scenario& scenario);

// S_OK, or HRESULT_FROM_WIN32(ERROR_INVALID_DATA) for anything that is not a whole file
// of this layout (truncated, garbage, bad checksum, bytes after the checksum), or
// HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE) for another version. Never reads past size.
HRESULT Parse(const void* pData, size_t nSize, Scenario* pOut);

}  // namespace snr
