// The property catalogue's decisions without windows: which unit a file size is written
// in and its value, the quality flag's string, and when a property set serves a path.
// CFileSizeText, CPrProperty and the property items call them; tests call them directly.
#pragma once
#include <fw/fw.h>

enum VXSIZEUNIT { VXSIZE_BYTES, VXSIZE_KB, VXSIZE_MB, VXSIZE_GB, VXSIZE_GB_LARGE };
struct VXSIZEVALUE {
  VXSIZEUNIT unit;
  double dValue;  // in the unit, cut (never rounded up) to two decimals
};
// The unit and value of a byte count. Values are truncated to two decimals, so 1024 bytes
// read 1.00 KB and nothing ever reads as the next unit too early.
VXSIZEVALUE FileSizeValue(ULONGLONG nBytes);
// The bytes grouped by three with ",": "1,024".
CString FileSizeGrouped(ULONGLONG nBytes);
// The string id naming a quality flag (1..7); 0 for any other value.
UINT QualityStringID(int nFlag);
// A property set open for one path serves another that names the same file: the same
// path in another letter case (the system's own case folding).
BOOL PropertySamePath(LPCSTR pszOpen, LPCSTR pszAsked);
