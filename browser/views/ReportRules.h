// The details list's decisions without windows: the columns of each mode, where a row's
// texts are cached, the row-to-ID lookup, the order the worker fills rows in, the check box
// a click leaves, and the faded colours of cut entries. CReportCtrl calls them; tests call
// them directly.
#pragma once
#include <fw/fw.h>

#include <vector>

struct VXREPORTCOLUMN {
  int nKind;   // the property kind (the property catalogue)
  int nWidth;  // pixels
};
// The columns of a view code: 3 file information, 4 camera information, 7 audio
// information; none for any other code. The count; *ppColumns the first.
int ReportColumns(int nMode, const VXREPORTCOLUMN** ppColumns);

// The cache id of column n's text in the thumbnail: n | 0x10000000 in the file-information
// mode, n | 0x20000000 in the camera-information mode; 0 where the list answers no texts
// (column 0, the display name, is never cached).
UINT ReportStringID(int nMode, int nColumn);
// The list answers display texts only in the two information modes.
BOOL ReportShowsTexts(int nMode);

// The view ID of a row; VXID_NONE (-1) for a negative row or one past the end.
DWORD ReportRowID(const std::vector<DWORD>& ids, int nRow);

// The order the worker fills the entries that need work (given in list order by their view
// IDs): the entry of the start ID, those after it, then those before it. Without the start
// ID among them, list order. Indexes into the given list.
std::vector<size_t> ReportWorkOrder(const std::vector<DWORD>& ids, DWORD dwStart);

// The state image (1 unchecked, 2 checked) a click on the check box leaves.
inline int ReportToggledCheck(int nState) { return nState == 2 ? 1 : 2; }

// A cut entry's picture: each colour byte averaged with the list's background byte k,
// new = k + (old - k) / 2 rounded down. pBits holds cb bytes of 24-bit pixels in storage
// order (blue, green, red); the colour is an RGB value.
void ReportFadeBits(BYTE* pBits, size_t cb, COLORREF color);
// One byte of it.
BYTE ReportFadeByte(BYTE old, BYTE k);

// The texts of the tooltip: "%s: %s" lines for the property kinds 0, 5, 3, 6 and 4, joined
// by "\n". names and values come in that kind order.
CString ReportTipText(const CString* pNames, const CString* pValues, int nCount);
// The kinds the tooltip shows, in order.
extern const int kReportTipKinds[5];

// A tooltip line's value: the name of a ".cont" file without its extension (kind 0, not an
// AVCHD scene); "-" for the modification time (kind 6) of movies of the AVCHD family and of
// scenes.
CString ReportTipValue(int nKind, const CString& value, BOOL bScene, BOOL bAvchdMovie);
