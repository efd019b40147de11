#include "StartupChecks.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <cardwatch/Programs.h>
#include <cardwatch/StartupChecks.h>

#include <vector>

// ---- Probes of this machine ---------------------------------------------------------------

namespace {

void SystemGetFreeResources(int* pnSystem, int* pnGdi, int* pnUser) { CMTLGetFreeResource(pnSystem, pnGdi, pnUser); }

int SystemGetLocalYear() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return st.wYear;
}

DWORD SystemGetFreeDiskKB(LPCSTR lpszFolder) { return CMTLGetDiskSpace(lpszFolder); }

void SystemGetDisplayMode(int* pnWidth, int* pnHeight, int* pnBits) {
  DEVMODEA dm = {};
  dm.dmSize = sizeof(dm);
  if (::EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &dm)) {
    *pnWidth = (int)dm.dmPelsWidth;
    *pnHeight = (int)dm.dmPelsHeight;
    *pnBits = (int)dm.dmBitsPerPel;
    return;
  }
  HDC hdc = ::GetDC(NULL);
  *pnWidth = ::GetDeviceCaps(hdc, HORZRES);
  *pnHeight = ::GetDeviceCaps(hdc, VERTRES);
  *pnBits = ::GetDeviceCaps(hdc, BITSPIXEL) * ::GetDeviceCaps(hdc, PLANES);
  ::ReleaseDC(NULL, hdc);
}

HRESULT FailedCall(LPCSTR lpszCall, CString* pstrFailedCall, DWORD* pdwError) {
  if (pstrFailedCall) *pstrFailedCall = lpszCall;
  if (pdwError) *pdwError = ::GetLastError();
  return E_FAIL;
}

HRESULT SystemCheckAccountGroups(CString* pstrFailedCall, DWORD* pdwError) {
  if (CMTLIsWin98(-1, -1, -1)) return S_OK;
  HANDLE hToken = NULL;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken))
    return FailedCall("OpenProcessToken Error", pstrFailedCall, pdwError);
  DWORD cb = 0;
  ::GetTokenInformation(hToken, TokenGroups, NULL, 0, &cb);
  std::vector<BYTE> buf(cb ? cb : 1);
  if (!cb || !::GetTokenInformation(hToken, TokenGroups, buf.data(), cb, &cb)) {
    HRESULT hr = FailedCall("GetTokenInformation Error", pstrFailedCall, pdwError);
    ::CloseHandle(hToken);
    return hr;
  }
  ::CloseHandle(hToken);

  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID pAdmins = NULL, pGuests = NULL;
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &pAdmins))
    return FailedCall("AllocateAndInitializeSid Error", pstrFailedCall, pdwError);
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_GUESTS, 0, 0, 0, 0, 0, 0,
                                  &pGuests)) {
    HRESULT hr = FailedCall("AllocateAndInitializeSid Error2", pstrFailedCall, pdwError);
    ::FreeSid(pAdmins);
    return hr;
  }
  HRESULT hr = S_OK;
  const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buf.data());
  for (DWORD i = 0; i < groups->GroupCount && hr == S_OK; ++i) {
    if (!::EqualSid(groups->Groups[i].Sid, pGuests)) continue;
    char szName[256], szDomain[256];
    DWORD cchName = sizeof(szName), cchDomain = sizeof(szDomain);
    SID_NAME_USE use;
    if (!::LookupAccountSidA(NULL, groups->Groups[i].Sid, szName, &cchName, szDomain, &cchDomain, &use) &&
        ::GetLastError() != ERROR_NONE_MAPPED)
      hr = FailedCall("LookupAccountSid Error", pstrFailedCall, pdwError);
    else
      hr = E_FAIL;  // a Guests account
  }
  ::FreeSid(pGuests);
  ::FreeSid(pAdmins);
  return hr;
}

}  // namespace

const StartupProbes& SystemStartupProbes() {
  static const StartupProbes probes = {
      &cardwatch::IsMutexPresent, &cardwatch::ReadDataAccessVersion, &SystemGetFreeResources, &SystemGetLocalYear,
      &SystemGetFreeDiskKB,       &SystemGetDisplayMode,             &SystemCheckAccountGroups,
  };
  return probes;
}

// ---- Decisions ------------------------------------------------------------------------------

BOOL IsDisplayModeSufficient(int nWidth, int nHeight, int nBits) {
  return nWidth >= STARTUP_MIN_WIDTH && nHeight >= STARTUP_MIN_HEIGHT && nBits >= STARTUP_MIN_BITS;
}

namespace {

StartupCheck Refuse(StartupRefusal* pOut, StartupCheck check, UINT nMessage, UINT nBoxType, int nArgument = 0,
                    UINT nMessage2 = 0) {
  if (pOut) {
    pOut->check = check;
    pOut->nMessage = nMessage;
    pOut->nMessage2 = nMessage2;
    pOut->nArgument = nArgument;
    pOut->nBoxType = nBoxType;
  }
  return check;
}

const UINT kStopBox = MB_OK | MB_ICONHAND | MB_SYSTEMMODAL;

}  // namespace

StartupCheck FindEnvironmentRefusal(const StartupProbes& probes, LPCSTR lpszProgramFolder, StartupRefusal* pOut) {
  if (probes.IsMutexPresent(EDITOR_MUTEX_NAME))
    return Refuse(pOut, STARTUP_EDITOR_RUNNING, IDS_SHELL_EDITOR_RUNNING, kStopBox);

  // A missing data-access key refuses like an old version, with its message: ending the
  // start silently would leave the user with nothing to go on.
  CString strVersion;
  if (!probes.ReadDataAccessVersion(strVersion) || !cardwatch::IsDataAccessVersionSufficient(strVersion))
    return Refuse(pOut, STARTUP_DATA_ACCESS, IDS_SHELL_MDAC_TOO_OLD, MB_OK, 0, IDS_SHELL_MDAC_INSTALL);

  int nSystem = 0, nGdi = 0, nUser = 0;
  probes.GetFreeResources(&nSystem, &nGdi, &nUser);
  if (nSystem < STARTUP_MIN_FREE_RESOURCES || nGdi < STARTUP_MIN_FREE_RESOURCES || nUser < STARTUP_MIN_FREE_RESOURCES)
    return Refuse(pOut, STARTUP_FREE_RESOURCES, IDS_SHELL_LOW_RESOURCES, kStopBox, STARTUP_MIN_FREE_RESOURCES);

  if (!cardwatch::IsClockYearValid(probes.GetLocalYear()))
    return Refuse(pOut, STARTUP_CLOCK_YEAR, IDS_SHELL_BAD_CLOCK_YEAR, kStopBox);

  if (!cardwatch::IsFreeDiskSpaceSufficient(probes.GetFreeDiskKB(lpszProgramFolder)))
    return Refuse(pOut, STARTUP_DISK_SPACE, IDS_SHELL_LOW_DISK_SPACE, kStopBox, cardwatch::MIN_FREE_DISK_KB / 1024);

  int nWidth = 0, nHeight = 0, nBits = 0;
  probes.GetDisplayMode(&nWidth, &nHeight, &nBits);
  if (!IsDisplayModeSufficient(nWidth, nHeight, nBits))
    return Refuse(pOut, STARTUP_DISPLAY, IDS_SHELL_DISPLAY_TOO_SMALL, MB_OK | MB_ICONHAND);
  return STARTUP_PASSED;
}

StartupCheck FindAccountRefusal(const StartupProbes& probes, StartupRefusal* pOut) {
  CString strCall;
  DWORD dwError = 0;
  if (SUCCEEDED(probes.CheckAccountGroups(&strCall, &dwError))) return STARTUP_PASSED;
  Refuse(pOut, STARTUP_ACCOUNT, IDS_SHELL_GUEST_REFUSED, MB_OK | MB_ICONHAND);
  if (pOut) {
    pOut->strFailedCall = strCall;
    pOut->dwError = dwError;
  }
  return STARTUP_ACCOUNT;
}

void ShowStartupRefusal(const StartupRefusal& refusal) {
  if (refusal.check == STARTUP_PASSED) return;
  if (!refusal.strFailedCall.IsEmpty()) {
    CString strCall;
    strCall.Format(IDS_SHELL_ACCOUNT_ERROR, (LPCSTR)refusal.strFailedCall, (int)refusal.dwError);
    AfxMessageBox(strCall, MB_OK | MB_ICONHAND);
  }
  CString strText;
  if (refusal.nArgument)
    strText.Format(refusal.nMessage, refusal.nArgument);
  else
    strText.LoadString(refusal.nMessage);
  if (refusal.nMessage2) {
    CString strMore;
    strMore.LoadString(refusal.nMessage2);
    strText += strMore;
  }
  AfxMessageBox(strText, refusal.nBoxType);
}

BOOL FindDatabaseNotice(HRESULT hrOpen, const VXDBHEALTH& health, CString* pText, UINT* pnBoxType) {
  *pnBoxType = MB_OK | MB_ICONEXCLAMATION;
  switch (health.dwState) {
    case VXDB_HEALTH_RENEWED:
      pText->Format(IDS_SHELL_DB_RENEWED, health.szFile, health.szAside, (int)health.dwSalvagedFiles);
      return TRUE;
    case VXDB_HEALTH_READONLY: pText->Format(IDS_SHELL_DB_READONLY, health.szFile); return TRUE;
    case VXDB_HEALTH_UNAVAILABLE:
      pText->Format(IDS_SHELL_DB_UNAVAILABLE, health.szFile);
      *pnBoxType = MB_OK | MB_ICONHAND;
      return TRUE;
    default: break;
  }
  if (SUCCEEDED(hrOpen)) return FALSE;
  pText->Format(IDS_SHELL_DB_OPEN_FAILED, health.szFile);
  *pnBoxType = MB_OK | MB_ICONHAND;
  return TRUE;
}

BOOL FindLaterDatabaseNotice(DWORD dwTold, const VXDBHEALTH& health, CString* pText, UINT* pnBoxType) {
  return health.dwDamageCount != dwTold && FindDatabaseNotice(S_OK, health, pText, pnBoxType);
}
