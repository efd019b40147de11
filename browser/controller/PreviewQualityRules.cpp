#include "PreviewQualityRules.h"

#include <cwchar>

namespace {
struct Entry {
  LPCWSTR pszName;
  UINT nBitRate;
  UINT nLevel;
};
// From the highest bit rate down.
const Entry kDefaults[CPreviewQualityTable::kEntries] = {
    {L"FX", 24000000, 4}, {L"FH", 18000000, 4}, {L"HQ", 14000000, 4}, {L"SP", 10000000, 4}, {L"LP", 7000000, 4},
};

// A decimal number at the start of the text (after blanks); FALSE when no digit comes.
// Values past 32 bits are cut to the largest one, not wrapped.
BOOL ParseDecimal(const wchar_t* p, UINT* pn) {
  while (*p == L' ' || *p == L'\t') ++p;
  if (*p < L'0' || *p > L'9') return FALSE;
  unsigned long long n = 0;
  for (; *p >= L'0' && *p <= L'9'; ++p) {
    n = n * 10 + (unsigned)(*p - L'0');
    if (n > 0xFFFFFFFFull) n = 0xFFFFFFFFull;
  }
  *pn = (UINT)n;
  return TRUE;
}
}  // namespace

LPCWSTR CPreviewQualityTable::EntryName(int n) { return n >= 0 && n < kEntries ? kDefaults[n].pszName : L""; }

HRESULT CPreviewQualityTable::Read(LPCWSTR pszIni, UINT nCapacity, VXQUALITYPAIR* pPairs, UINT* pnCount) {
  if (nCapacity < kEntries) return E_INVALIDARG;
  if (!pPairs || !pnCount) return E_POINTER;
  for (int i = 0; i < kEntries; ++i) {
    wchar_t text[65], def[16];
    UINT level = kDefaults[i].nLevel, rate = kDefaults[i].nBitRate;
    if (pszIni) {
      swprintf(def, 16, L"%u", kDefaults[i].nLevel);
      ::GetPrivateProfileStringW(L"PreviewQualityOrg", kDefaults[i].pszName, def, text, 65, pszIni);
      if (!ParseDecimal(text, &level)) level = 0;
      swprintf(def, 16, L"%u", kDefaults[i].nBitRate);
      ::GetPrivateProfileStringW(L"MaxAvgBitrate", kDefaults[i].pszName, def, text, 65, pszIni);
      if (!ParseDecimal(text, &rate)) rate = 24000000;
    }
    pPairs[i].nBitRate = rate;
    pPairs[i].nValue = level;
  }
  *pnCount = kEntries;
  return S_OK;
}

UINT CPreviewQualityTable::FlagsOf(UINT nLevel, HRESULT* pResult) {
  static const UINT flags[] = {0x10010, 0x10040, 0x20040, 0x40040, 0x80040};
  if (pResult) *pResult = nLevel <= 4 ? 0 : 1;
  return nLevel <= 4 ? flags[nLevel] : 0x80040;
}

HRESULT CPreviewQualityTable::MapQuality(UINT nCount, const VXQUALITYPAIR* pIn, UINT nOutCount, VXQUALITYPAIR* pOut) {
  if (nCount != kEntries || nOutCount != kMapped) return E_INVALIDARG;
  if (!pIn || !pOut) return E_POINTER;
  HRESULT hr = 0;
  for (int i = 0; i < kMapped; ++i) {
    const VXQUALITYPAIR& in = pIn[kEntries - kMapped + i];
    pOut[i].nBitRate = in.nBitRate;
    pOut[i].nValue = FlagsOf(in.nValue, &hr);
  }
  return hr;
}
