#include <cardwatch/Programs.h>

#include <cstdlib>

#include "MainWndMessages.h"

namespace cardwatch {

const char kMainWindowProperty[] = MAINWND_PROPERTY;
const char kCardViewerWindowProperty[] = " 6d2b8e47 ";
const char kDefaultMainProgramMutex[] = "Norvane Marlo Application Mutex";
const char kCardViewerMutex[] = "Norvane SD Glance LE Instance";
const char kMainProgramFile[] = "Marlo5.exe";
const char kCardViewerAppPathPrefix[] = "MarloLE";
const char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// ---- Mutexes -------------------------------------------------------------------------

CString InstanceMutexName(LPCSTR lpszName, BOOL bWin98) {
  return bWin98 ? CString(lpszName) : CString("Global\\") + lpszName;
}

BOOL IsMutexPresent(LPCSTR lpszFullName) {
  HANDLE h = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, lpszFullName);
  if (!h) return FALSE;
  CloseHandle(h);
  return TRUE;
}

BOOL IsMainProgramRunning(LPCSTR lpszMutexName, BOOL bWin98) {
  return IsMutexPresent(InstanceMutexName(lpszMutexName, bWin98)) && !IsCardViewerRunning(bWin98);
}

BOOL IsCardViewerRunning(BOOL bWin98) { return IsMutexPresent(InstanceMutexName(kCardViewerMutex, bWin98)); }

// ---- Windows -------------------------------------------------------------------------

HWND FindMainProgramWindow() { return FindWindowWithProperty(kMainWindowProperty); }

HWND FindCardViewerWindow() { return FindWindowWithProperty(kCardViewerWindowProperty); }

// ---- Command lines -------------------------------------------------------------------

CString DriveMaskToLetters(DWORD dwMask) {
  CString letters;
  for (int i = 0; i < 26; ++i) {
    if (dwMask & (1u << i)) {
      letters += (char)('a' + i);
      letters += ':';
    }
  }
  return letters;
}

CString QuoteProgramPath(LPCSTR lpszPath) { return CString("\"") + lpszPath + "\""; }

CString BuildMainProgramCommandLine(LPCSTR lpszProgramPath, DWORD dwMask) {
  CString line = QuoteProgramPath(lpszProgramPath);
  if (dwMask) line += " -AutoImport";
  return line;
}

CString BuildCardViewerCommandLine(LPCSTR lpszViewerPath, DWORD dwMask) {
  return QuoteProgramPath(lpszViewerPath) + " -AutoImport" + "/" + DriveMaskToLetters(dwMask);
}

CString GetModuleFolder(HMODULE hModule) {
  char path[MAX_PATH * 2] = "";
  DWORD n = GetModuleFileNameA(hModule, path, sizeof(path));
  if (n == 0 || n >= sizeof(path)) return CString();
  CString folder(path);
  int slash = folder.ReverseFind('\\');
  return slash >= 0 ? folder.Left(slash) : CString();
}

CString GetMainProgramPath(LPCSTR lpszFolder) { return CString(lpszFolder) + "\\" + kMainProgramFile; }

// ---- Starting and closing ------------------------------------------------------------

BOOL StartProgram(LPCSTR lpszProgramPath, LPCSTR lpszCommandLine) {
  if (!lpszProgramPath || !*lpszProgramPath) return FALSE;
  CString line(lpszCommandLine);
  CString folder(lpszProgramPath);
  int slash = folder.ReverseFind('\\');
  folder = slash > 0 ? folder.Left(slash) : CString();
  if (folder.GetLength() == 2 && folder[1] == ':') folder += '\\';

  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(lpszProgramPath, line.GetBuffer(line.GetLength() + 1), NULL, NULL, FALSE, 0, NULL,
                      folder.IsEmpty() ? NULL : (LPCSTR)folder, &si, &pi))
    return FALSE;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return TRUE;
}

BOOL StartMainProgram(LPCSTR lpszFolder, DWORD dwMask) {
  CString path = GetMainProgramPath(lpszFolder);
  return StartProgram(path, BuildMainProgramCommandLine(path, dwMask));
}

namespace {

BOOL PostToWindow(HWND hWnd, UINT nMsg, WPARAM wParam) { return hWnd && PostMessageA(hWnd, nMsg, wParam, 0); }

}  // namespace

BOOL CloseMainProgram() { return PostToWindow(FindMainProgramWindow(), WM_CLOSE, 0); }

BOOL CloseCardViewer() { return PostToWindow(FindCardViewerWindow(), WM_CLOSE, 0); }

BOOL NotifyCardViewer(WPARAM wEvent) { return PostToWindow(FindCardViewerWindow(), WM_CARD_EVENT, wEvent); }

// ---- The card viewer's installation --------------------------------------------------

int CompareVersionTexts(LPCSTR lpszA, LPCSTR lpszB) {
  const bool bHasA = lpszA && *lpszA, bHasB = lpszB && *lpszB;
  if (!bHasA || !bHasB) return (int)bHasA - (int)bHasB;
  const char* a = lpszA;
  const char* b = lpszB;
  for (int part = 0; part < 4; ++part) {
    char* endA;
    char* endB;
    unsigned long va = strtoul(a, &endA, 10);
    unsigned long vb = strtoul(b, &endB, 10);
    if (va != vb) return va < vb ? -1 : 1;
    a = *endA == '.' ? endA + 1 : endA;
    b = *endB == '.' ? endB + 1 : endB;
  }
  return 0;
}

CString ChooseCardViewerPath(const std::vector<CardViewerCandidate>& candidates) {
  const CardViewerCandidate* best = NULL;
  for (const CardViewerCandidate& c : candidates) {
    if (!best || CompareVersionTexts(c.strVersion, best->strVersion) > 0) best = &c;
  }
  return best ? best->strPath : CString();
}

void ListAppPathPrograms(HKEY hHive, LPCSTR lpszKeyPath, LPCSTR lpszPrefix, REGSAM samView,
                         std::vector<CString>& paths) {
  HKEY hKey;
  if (RegOpenKeyExA(hHive, lpszKeyPath, 0, KEY_READ | samView, &hKey) != ERROR_SUCCESS) return;
  const size_t nPrefix = strlen(lpszPrefix);
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD cchName = sizeof(name);
    if (RegEnumKeyExA(hKey, i, name, &cchName, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
    if (cchName < nPrefix || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, (int)nPrefix, lpszPrefix,
                                            (int)nPrefix) != CSTR_EQUAL)
      continue;
    HKEY hSub;
    if (RegOpenKeyExA(hKey, name, 0, KEY_QUERY_VALUE | samView, &hSub) != ERROR_SUCCESS) break;
    char value[1025] = "";
    DWORD cbValue = 1024, dwType = 0;
    LONG rc = RegQueryValueExA(hSub, NULL, NULL, &dwType, reinterpret_cast<BYTE*>(value), &cbValue);
    RegCloseKey(hSub);
    if (rc != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ)) break;
    value[cbValue < sizeof(value) ? cbValue : sizeof(value) - 1] = 0;
    CString path(value);
    if (dwType == REG_EXPAND_SZ) {
      char expanded[MAX_PATH * 2];
      DWORD n = ExpandEnvironmentStringsA(value, expanded, sizeof(expanded));
      if (n > 0 && n <= sizeof(expanded)) path = expanded;
    }
    path.Trim();
    if (path.GetLength() >= 2 && path[0] == '"' && path[path.GetLength() - 1] == '"')
      path = path.Mid(1, path.GetLength() - 2);
    bool bKnown = false;
    for (const CString& p : paths) bKnown = bKnown || p.CompareNoCase(path) == 0;
    if (!bKnown) paths.push_back(path);
  }
  RegCloseKey(hKey);
}

}  // namespace cardwatch
