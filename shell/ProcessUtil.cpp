#include "ProcessUtil.h"

#include <VxResourceIds.h>
#include <cardwatch/Programs.h>

CString QuotedCommandLine(LPCSTR lpszPath, LPCSTR lpszArguments) {
  CString strLine = cardwatch::QuoteProgramPath(lpszPath);
  if (lpszArguments && *lpszArguments) {
    strLine += " ";
    strLine += lpszArguments;
  }
  return strLine;
}

BOOL StartProgram(LPCSTR lpszPath, LPCSTR lpszArguments, LPCSTR lpszFolder, BOOL bInheritHandles,
                  PROCESS_INFORMATION* pInfo, STARTUPINFOA* psi) {
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  if (!psi) psi = &si;
  CString strLine = QuotedCommandLine(lpszPath, lpszArguments);
  char* pszLine = strLine.GetBuffer(strLine.GetLength() + 1);
  BOOL bStarted = ::CreateProcessA(lpszPath, pszLine, NULL, NULL, bInheritHandles, NORMAL_PRIORITY_CLASS, NULL,
                                   lpszFolder && *lpszFolder ? lpszFolder : NULL, psi, pInfo);
  DWORD dwError = ::GetLastError();
  strLine.ReleaseBuffer();
  ::SetLastError(dwError);  // callers report why the start failed
  return bStarted;
}

namespace {

struct WindowSearch {
  DWORD dwProcessId;
  CStringArray ignored;
  HWND hFound;
};

BOOL CALLBACK MatchProcessWindow(HWND hWnd, LPARAM lParam) {
  WindowSearch* pSearch = reinterpret_cast<WindowSearch*>(lParam);
  DWORD dwProcessId = 0;
  ::GetWindowThreadProcessId(hWnd, &dwProcessId);
  if (dwProcessId != pSearch->dwProcessId) return TRUE;
  char szTitle[256] = "";
  ::GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
  for (INT_PTR i = 0; i < pSearch->ignored.GetSize(); ++i)
    if (!pSearch->ignored[i].IsEmpty() && strstr(szTitle, pSearch->ignored[i])) return TRUE;
  pSearch->hFound = hWnd;
  return FALSE;
}

void LoadIgnoredTitles(CStringArray& lines) {
  CString strTitles;
  strTitles.LoadString(IDS_SHELL_IGNORED_WINDOW_TITLES);
  int nPos = 0;
  for (CString strLine = strTitles.Tokenize("\n", nPos); nPos >= 0; strLine = strTitles.Tokenize("\n", nPos))
    lines.Add(strLine);
}

}  // namespace

HWND FindProcessWindow(DWORD dwProcessId, DWORD dwTimeoutMs) {
  WindowSearch search;
  search.dwProcessId = dwProcessId;
  search.hFound = NULL;
  LoadIgnoredTitles(search.ignored);
  DWORD dwStart = ::GetTickCount();
  for (;;) {
    ::EnumWindows(&MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.hFound || ::GetTickCount() - dwStart >= dwTimeoutMs) return search.hFound;
    ::Sleep(1);
  }
}
