#include <cardwatch/StartupChecks.h>

#include <Kitlib2/Kitlib2.h>

#include <cstdlib>
#include <vector>

namespace cardwatch {

BOOL IsDataAccessVersionSufficient(LPCSTR lpszVersion) {
  if (!lpszVersion) return FALSE;
  char head[4] = {};
  lstrcpynA(head, lpszVersion, sizeof(head));
  return atof(head) >= 2.5;
}

namespace {

BOOL ReadRegistryText(HKEY hKey, LPCSTR lpszName, CString& strValue) {
  char value[256];
  DWORD cb = sizeof(value) - 1, dwType = 0;
  if (RegQueryValueExA(hKey, lpszName, NULL, &dwType, reinterpret_cast<BYTE*>(value), &cb) != ERROR_SUCCESS ||
      dwType != REG_SZ)
    return FALSE;
  value[cb] = 0;
  strValue = value;
  return TRUE;
}

}  // namespace

BOOL ReadDataAccessVersion(CString& strVersion) {
  HKEY hKey;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DataAccess", 0, KEY_READ, &hKey) != ERROR_SUCCESS)
    return FALSE;
  BOOL bRead = ReadRegistryText(hKey, "FullInstallVer", strVersion) || ReadRegistryText(hKey, "Version", strVersion);
  RegCloseKey(hKey);
  return bRead;
}

BOOL CheckDataAccessVersion() {
  CString version;
  return ReadDataAccessVersion(version) && IsDataAccessVersionSufficient(version);
}

BOOL IsClockYearValid(int nYear) { return nYear >= 1971 && nYear <= 2037; }

BOOL CheckClockYear() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return IsClockYearValid(st.wYear);
}

BOOL IsFreeDiskSpaceSufficient(DWORD dwFreeKB) { return dwFreeKB > MIN_FREE_DISK_KB; }

BOOL CheckFreeDiskSpace(LPCSTR lpszFolder) { return IsFreeDiskSpaceSufficient(CMTLGetDiskSpace(lpszFolder)); }

HRESULT CheckAdministrator() {
  if (CMTLIsWin98(-1, -1, -1)) return S_OK;
  const HRESULT kUnreadable = (HRESULT)0x80010126;
  HANDLE hToken;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken)) return kUnreadable;
  DWORD cb = 0;
  GetTokenInformation(hToken, TokenGroups, NULL, 0, &cb);
  std::vector<BYTE> buf(cb ? cb : 1);
  BOOL bRead = cb && GetTokenInformation(hToken, TokenGroups, buf.data(), cb, &cb);
  CloseHandle(hToken);
  if (!bRead) return kUnreadable;

  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID pAdmins = NULL;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &pAdmins))
    return kUnreadable;
  const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buf.data());
  BOOL bAdmin = FALSE;
  for (DWORD i = 0; i < groups->GroupCount && !bAdmin; ++i) bAdmin = EqualSid(groups->Groups[i].Sid, pAdmins);
  FreeSid(pAdmins);
  return bAdmin ? S_OK : HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
}

}  // namespace cardwatch
