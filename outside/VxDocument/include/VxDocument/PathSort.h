// Sorting of path lists, the sort keys of the sort ids, and the report-mode switch.
#pragma once

#include <VxDocument/VxDocDefs.h>

// Asked once per path while the files are read (nIndex from 0 of nCount); answer FALSE to
// stop: the sort then leaves the list as it was.
typedef BOOL(CALLBACK* PATHSORTCALLBACK)(LPCSTR pszPath, int nIndex, int nCount, void* pContext);

class VXDOC_API CPathSort {
 public:
  // Orders the paths by the sort id as the browser orders items (VxSortKeyString; sort
  // id 10 leaves the order). Paths whose file is gone keep their order after the others.
  // S_OK; E_INVALIDARG for a sort id outside 10..30; E_ABORT when the callback stopped.
  static HRESULT Sort(CStringList& list, UINT nSortType, PATHSORTCALLBACK pfnCallback = NULL,
                      void* pContext = NULL);
};

// The key letters the thumbnail library sorts by for a sort id: the letter of
// "tdzefabcoo" at (id - 11) / 2, then "f" unless it is 'f' or 'o'; odd ids ascend. In the
// card's audio and voice areas 't' and 'd' become 'm' (track order). "" for id 10 and for
// ids outside 11..30 (ascending set from the id either way).
VXDOC_API CString VxSortKeyString(UINT nSortID, BOOL bSDAudioVoice, bool* pbAscending);

// Report mode is a product variant without the details list, in which the card's audio
// and voice areas are browsed as plain folders. This product has the details list: the
// answer is always FALSE.
VXDOC_API BOOL IsEnableReportMode();
