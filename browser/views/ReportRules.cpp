#include "ReportRules.h"

#include <cmath>

static const VXREPORTCOLUMN kFileColumns[] = {{0, 170}, {1, 80},  {2, 70},  {3, 70},
                                              {4, 150}, {5, 130}, {6, 130}, {7, 60}};
static const VXREPORTCOLUMN kCameraColumns[] = {{0, 170}, {3, 70},  {11, 80}, {12, 80}, {13, 80}, {14, 80}, {15, 80},
                                                {16, 80}, {17, 80}, {18, 80}, {19, 50}, {20, 80}, {21, 80}};
static const VXREPORTCOLUMN kAudioColumns[] = {{27, 170}, {36, 100}, {28, 80}, {29, 80}, {30, 80},
                                               {31, 80},  {32, 80},  {33, 80}, {34, 80}, {35, 80}};

const int kReportTipKinds[5] = {0, 5, 3, 6, 4};

int ReportColumns(int nMode, const VXREPORTCOLUMN** ppColumns) {
  const VXREPORTCOLUMN* p = NULL;
  int n = 0;
  switch (nMode) {
    case 3: p = kFileColumns, n = (int)(sizeof(kFileColumns) / sizeof(*p)); break;
    case 4: p = kCameraColumns, n = (int)(sizeof(kCameraColumns) / sizeof(*p)); break;
    case 7: p = kAudioColumns, n = (int)(sizeof(kAudioColumns) / sizeof(*p)); break;
    default: break;
  }
  if (ppColumns) *ppColumns = p;
  return n;
}

BOOL ReportShowsTexts(int nMode) { return nMode == 3 || nMode == 4; }

UINT ReportStringID(int nMode, int nColumn) {
  if (nColumn < 1 || !ReportShowsTexts(nMode)) return 0;
  return (UINT)nColumn | (nMode == 3 ? 0x10000000u : 0x20000000u);
}

DWORD ReportRowID(const std::vector<DWORD>& ids, int nRow) {
  if (nRow < 0 || (size_t)nRow >= ids.size()) return 0xFFFFFFFFu;
  return ids[(size_t)nRow];
}

std::vector<size_t> ReportWorkOrder(const std::vector<DWORD>& ids, DWORD dwStart) {
  size_t first = 0;
  for (size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == dwStart) {
      first = i;
      break;
    }
  std::vector<size_t> order;
  order.reserve(ids.size());
  for (size_t i = first; i < ids.size(); ++i) order.push_back(i);
  for (size_t i = 0; i < first; ++i) order.push_back(i);
  return order;
}

BYTE ReportFadeByte(BYTE old, BYTE k) { return (BYTE)(k + (int)std::floor((old - k) / 2.0)); }

void ReportFadeBits(BYTE* pBits, size_t cb, COLORREF color) {
  // Storage order is blue, green, red; the colour's bytes are taken red, green, blue.
  const BYTE k[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
  for (size_t i = 0; i < cb; ++i) pBits[i] = ReportFadeByte(pBits[i], k[i % 3]);
}

CString ReportTipText(const CString* pNames, const CString* pValues, int nCount) {
  CString out;
  for (int i = 0; i < nCount; ++i) {
    if (i) out += "\n";
    out += pNames[i] + ": " + pValues[i];
  }
  return out;
}

CString ReportTipValue(int nKind, const CString& value, BOOL bScene, BOOL bAvchdMovie) {
  if (nKind == 0 && !bScene && value.GetLength() >= 5 && value.Right(5).CompareNoCase(".cont") == 0)
    return value.Left(value.GetLength() - 5);
  if (nKind == 6 && (bAvchdMovie || bScene)) return "-";
  return value;
}
