// The decisions of the similar-image commands and of handing card tracks to the
// music-card program, without windows.
#pragma once
#include <fw/fw.h>

#include <vector>

// What one registration came to, filled file by file by the search library's callback:
// the last path of each outcome and how many had it.
struct VXSIMILARREPORT {
  CString strRegistered;
  int nRegistered = 0;
  CString strRefused;
  int nRefused = 0;
  CString strFailed;
  int nFailed = 0;
};

// Records one file's result (0 or more registered, PSW_E_REFUSED refused, any other
// failure failed). 1 to go on; 0 with a null path or report.
int SimilarRecordResult(VXSIMILARREPORT* pReport, LPCSTR pszPath, HRESULT hr);

// One message of the report: the string, its icon, and either the path (nNumber 0) or
// the number of files. The "registered" strings also name the index (first).
struct VXSIMILARMESSAGE {
  UINT nStringID;
  UINT nStyle;
  CString strPath;
  int nNumber;
};
// The report's messages in the order they are shown: refused, failed, registered.
std::vector<VXSIMILARMESSAGE> SimilarReportMessages(const VXSIMILARREPORT& report);
// The text of one message from its format string; pszIndex names the index.
CString SimilarMessageText(const VXSIMILARMESSAGE& msg, LPCSTR pszFormat, LPCSTR pszIndex);

// Whether a search may start: S_OK; 1 unless exactly one item is selected; E_INVALIDARG
// when it has no thumbnail or is not a picture.
HRESULT SimilarSearchGate(int nSelected, BOOL bHasThumbnail, UINT nKindFlags);

// The music-card program under its folder as the registry names it; empty when the
// folder is.
CString MelodeckExePath(LPCSTR pszFolder);
// The program's command line for a track: the drive letter of the track's file, its track
// and sub-track numbers (sub-track only for a track that has one), audio or voice.
// Empty when the path has no drive letter.
CString MelodeckCommandLine(LPCSTR pszTrackPath, DWORD dwTrack, UINT nKindFlags);
// The drive number of a path for the protected-card test (A: 1 ... Z: 26); 0 without one.
int MelodeckDriveNumber(LPCSTR pszPath);
