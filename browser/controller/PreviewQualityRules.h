// CPreviewQualityTable: the preview quality the movie players use for AVCHD movies, by
// recording mode: a maximum average bit rate and a quality level 0..4 for each of five
// modes, built in and overridable by an ini file, and the players' flags of a level.
#pragma once
#include <fw/fw.h>

struct VXQUALITYPAIR {
  UINT nBitRate;  // bits per second
  UINT nValue;    // a quality level (Read) or the players' flags (MapQuality)
};

class CPreviewQualityTable {
 public:
  enum { kEntries = 5, kMapped = 3 };
  // The five pairs in entry order from the defaults and the ini file (wide path; a missing
  // file keeps the defaults). E_INVALIDARG below five places.
  static HRESULT Read(LPCWSTR pszIni, UINT nCapacity, VXQUALITYPAIR* pPairs, UINT* pnCount);
  // Entries 3, 4 and 5 as {bit rate, flags}. E_INVALIDARG unless 5 in and 3 out, E_POINTER
  // for a null pointer; else the last level's mapping (1 for a level outside 0..4).
  static HRESULT MapQuality(UINT nCount, const VXQUALITYPAIR* pIn, UINT nOutCount, VXQUALITYPAIR* pOut);
  // The players' flags of a level; *pnResult 1 for a level outside 0..4 (flags of 4).
  static UINT FlagsOf(UINT nLevel, HRESULT* pResult);
  // The recording-mode names, the ini keys.
  static LPCWSTR EntryName(int n);
};
