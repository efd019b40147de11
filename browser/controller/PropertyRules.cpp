#include "PropertyRules.h"

#include <VxResourceIds.h>

#include <cmath>
#include <utility>

static double CutToHundredths(double d) { return std::floor(d * 100.0 + 1e-9) / 100.0; }

VXSIZEVALUE FileSizeValue(ULONGLONG nBytes) {
  VXSIZEVALUE v = {VXSIZE_BYTES, (double)nBytes};
  if (nBytes >> 32) {
    v.unit = VXSIZE_GB_LARGE;
    v.dValue = CutToHundredths((double)(nBytes / 1024) / 1048576.0);
    return v;
  }
  double kb = (double)nBytes / 1024.0, mb = kb / 1024.0, gb = mb / 1024.0;
  if (gb >= 1)
    v.unit = VXSIZE_GB, v.dValue = CutToHundredths(gb);
  else if (mb >= 1)
    v.unit = VXSIZE_MB, v.dValue = CutToHundredths(mb);
  else if (kb >= 1)
    v.unit = VXSIZE_KB, v.dValue = CutToHundredths(kb);
  return v;
}

CString FileSizeGrouped(ULONGLONG nBytes) {
  char digits[32];
  int n = 0;
  do {
    digits[n++] = (char)('0' + nBytes % 10);
    nBytes /= 10;
  } while (nBytes);
  for (int i = 0; i < n / 2; ++i) std::swap(digits[i], digits[n - 1 - i]);
  digits[n] = 0;
  CString out;
  for (int i = 0; i < n; ++i) {
    if (i && (n - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

UINT QualityStringID(int nFlag) {
  static const UINT ids[] = {
      0, IDS_QUALITY_1, IDS_QUALITY_2, IDS_QUALITY_3, IDS_QUALITY_4, IDS_QUALITY_5, IDS_QUALITY_6, IDS_QUALITY_7};
  return nFlag >= 1 && nFlag <= 7 ? ids[nFlag] : 0;
}

BOOL PropertySamePath(LPCSTR pszOpen, LPCSTR pszAsked) {
  if (!pszOpen || !pszAsked || !*pszOpen) return FALSE;
  return ::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, pszOpen, -1, pszAsked, -1) == CSTR_EQUAL;
}
