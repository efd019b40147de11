// The decisions of the similar-image commands and of the music-card program.
#include "SimilarRules.h"

#include <VxGUIDB/VxGUIDBDefs.h>
#include <VxResourceIds.h>

// The search library's code for a file it does not take.
static const HRESULT kSimilarRefused = (HRESULT)0x80000001L;

int SimilarRecordResult(VXSIMILARREPORT* pReport, LPCSTR pszPath, HRESULT hr) {
  if (!pReport || !pszPath) return 0;
  if (hr >= 0) {
    pReport->strRegistered = pszPath;
    ++pReport->nRegistered;
  } else if (hr == kSimilarRefused) {
    pReport->strRefused = pszPath;
    ++pReport->nRefused;
  } else {
    pReport->strFailed = pszPath;
    ++pReport->nFailed;
  }
  return 1;
}

std::vector<VXSIMILARMESSAGE> SimilarReportMessages(const VXSIMILARREPORT& r) {
  std::vector<VXSIMILARMESSAGE> out;
  auto add = [&](int n, LPCSTR path, UINT one, UINT several, UINT style) {
    if (n == 1) out.push_back({one, style, path, 0});
    if (n > 1) out.push_back({several, style, "", n});
  };
  add(r.nRefused, r.strRefused, IDS_BROWSER_SIMILAR_REFUSED, IDS_BROWSER_SIMILAR_REFUSED_N, MB_ICONEXCLAMATION);
  add(r.nFailed, r.strFailed, IDS_BROWSER_SIMILAR_FAILED, IDS_BROWSER_SIMILAR_FAILED_N, MB_ICONERROR);
  add(r.nRegistered, r.strRegistered, IDS_BROWSER_SIMILAR_DONE, IDS_BROWSER_SIMILAR_DONE_N, MB_ICONINFORMATION);
  return out;
}

CString SimilarMessageText(const VXSIMILARMESSAGE& msg, LPCSTR pszFormat, LPCSTR pszIndex) {
  CString text;
  if (!pszFormat) return text;
  bool bIndex = msg.nStringID == IDS_BROWSER_SIMILAR_DONE || msg.nStringID == IDS_BROWSER_SIMILAR_DONE_N;
  // Paths are put in by replacement, never read as a format (a path may hold '%').
  CString fmt = pszFormat;
  if (bIndex) {
    int at = fmt.Find("%s");
    if (at >= 0) fmt = fmt.Left(at) + (pszIndex ? pszIndex : "") + fmt.Mid(at + 2);
  }
  if (msg.nNumber > 0) {
    CString n;
    n.Format("%d", msg.nNumber);
    fmt.Replace("%d", n);
  } else {
    fmt.Replace("%s", msg.strPath);
  }
  return fmt;
}

HRESULT SimilarSearchGate(int nSelected, BOOL bHasThumbnail, UINT nKindFlags) {
  if (nSelected != 1) return 1;
  if (!bHasThumbnail || !(nKindFlags & VXKIND_STILL)) return E_INVALIDARG;
  return S_OK;
}

CString MelodeckExePath(LPCSTR pszFolder) {
  CString path = pszFolder ? pszFolder : "";
  if (path.IsEmpty()) return path;
  return path + "\\" + "SD-Melodeck.exe";
}

int MelodeckDriveNumber(LPCSTR pszPath) {
  if (!pszPath || !pszPath[0] || pszPath[1] != ':') return 0;
  char c = pszPath[0];
  if (c >= 'a' && c <= 'z') return c - 'a' + 1;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  return 0;
}

CString MelodeckCommandLine(LPCSTR pszTrackPath, DWORD dwTrack, UINT nKindFlags) {
  CString line;
  if (MelodeckDriveNumber(pszTrackPath) == 0) return line;
  bool card = (nKindFlags & VXKIND_CARDTRACK) != 0;
  long nTrack = (long)(dwTrack & 0xFF);
  long nSub = card && (nKindFlags & VXKIND_SUB_2) ? (long)(dwTrack >> 16) : 0;
  LPCSTR type = card && (nKindFlags & VXKIND_SUB_1) ? "audio" : "voice";
  char drive[2] = {pszTrackPath[0], 0};
  line.Format("-play -div %s -tk %ld -tkf %ld -type %s", drive, nTrack, nSub, type);
  return line;
}
