#include "QuickTimeEnv.h"

#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <stdio.h>
#include <stdlib.h>

namespace {
CString ExeName() {
  char szPath[MAX_PATH] = {}, szName[_MAX_FNAME] = {};
  ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
  _splitpath(szPath, NULL, NULL, szName, NULL);
  return szName;
}

// The "PictLibs" key, created when missing.
LONG OpenEnvKey(HKEY* phKey) {
  HKEY hRoot = NULL;
  LONG e = ::RegCreateKeyExA(HKEY_CURRENT_USER, CMGetKeyPosition(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hRoot, NULL);
  if (e != ERROR_SUCCESS) return e;
  e = ::RegCreateKeyExA(hRoot, "PictLibs", 0, NULL, 0, KEY_ALL_ACCESS, NULL, phKey, NULL);
  ::RegCloseKey(hRoot);
  return e;
}

LONG ReadDword(HKEY hKey, LPCSTR pszName, DWORD* pValue) {
  DWORD cb = sizeof(DWORD), type = 0;
  *pValue = 0;
  const LONG e = ::RegQueryValueExA(hKey, pszName, NULL, &type, (LPBYTE)pValue, &cb);
  if (e == ERROR_SUCCESS && type != REG_DWORD) *pValue = 0;
  return e;
}
}  // namespace

CHAR* QuickTimeValueName(LPCSTR pszBase, LPCSTR pszExeName, CHAR* pszOut, int cch) {
  if (pszExeName && *pszExeName)
    _snprintf(pszOut, cch, "%s_%s", pszBase, pszExeName);
  else
    _snprintf(pszOut, cch, "%s", pszBase);
  pszOut[cch - 1] = 0;
  return pszOut;
}

LONG AccessQuickTimeState(int nOp, DWORD* pa, DWORD* pb) {
  HKEY hKey = NULL;
  LONG e = OpenEnvKey(&hKey);
  if (e != ERROR_SUCCESS) return e;
  const CString exe = ExeName();
  char szVersion[MAX_PATH], szExporter[MAX_PATH];
  QuickTimeValueName("QT_Initialized", exe, szVersion, MAX_PATH);
  QuickTimeValueName("QT_BmpExporter", exe, szExporter, MAX_PATH);
  switch (nOp) {
    case kQtStateWrite: {
      DWORD v = pa ? *pa : 0;
      e = ::RegSetValueExA(hKey, szVersion, 0, REG_DWORD, (const BYTE*)&v, sizeof(v));
      if (pb) {
        DWORD x = *pb ? 1 : 0;
        ::RegSetValueExA(hKey, szExporter, 0, REG_DWORD, (const BYTE*)&x, sizeof(x));
      }
      break;
    }
    case kQtStateDelete:
      e = ::RegDeleteValueA(hKey, szVersion);
      ::RegDeleteValueA(hKey, szExporter);
      break;
    case kQtStateTest: e = ::RegQueryValueExA(hKey, szVersion, NULL, NULL, NULL, NULL); break;
    case kQtStateRead: {
      DWORD v = 0;
      if (pa) {
        e = ReadDword(hKey, szVersion, &v);
        *pa = e == ERROR_SUCCESS ? v : 0;
      }
      if (pb) {
        e = ReadDword(hKey, szExporter, &v);
        *pb = e == ERROR_SUCCESS && v > 0 ? 1 : 0;
      }
      break;
    }
    default: e = ERROR_INVALID_ACCESS;  // 12
  }
  ::RegCloseKey(hKey);
  return e;
}

BOOL HasMovDecodeFile() {
  const CString folder = CMTLGetExeDir();
  if (folder.IsEmpty()) return FALSE;
  CString path = folder;
  if (path.Right(1) == "\\") path = path.Left(path.GetLength() - 1);
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(path + "\\MovDecode.vcp", &fd);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  ::FindClose(h);
  return TRUE;
}

DWORD GetRequiredQuickTimeVersion() {
  HKEY hKey = NULL;
  if (OpenEnvKey(&hKey) != ERROR_SUCCESS) return 0;
  DWORD v = 0;
  ReadDword(hKey, "QT_Enabled_Ver", &v);
  ::RegCloseKey(hKey);
  return v;
}

BOOL IsQuickTimeVersionUsable() {
  DWORD v = 0;
  if (AccessQuickTimeState(kQtStateRead, &v, NULL) != ERROR_SUCCESS) return FALSE;
  return v >= GetRequiredQuickTimeVersion();
}
