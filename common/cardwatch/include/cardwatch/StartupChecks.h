// Environment checks that the launcher and the main program make at start-up; each
// program shows its own messages.
#pragma once
#include <fw/fw.h>

namespace cardwatch {

// The data-access components' version text: its first three characters read as a
// decimal number must be at least 2.5 ("2.8", "6.1.7601" pass; "2.1", "" fail).
BOOL IsDataAccessVersionSufficient(LPCSTR lpszVersion);
// HKLM "Software\Microsoft\DataAccess": "FullInstallVer", else "Version". FALSE when the
// key or both values cannot be read.
BOOL ReadDataAccessVersion(CString& strVersion);
BOOL CheckDataAccessVersion();

// The clock's year from 1971 to 2037.
BOOL IsClockYearValid(int nYear);
BOOL CheckClockYear();

// More than 204800 KB free on the drive of the folder.
enum { MIN_FREE_DISK_KB = 204800 };
BOOL IsFreeDiskSpaceSufficient(DWORD dwFreeKB);
BOOL CheckFreeDiskSpace(LPCSTR lpszFolder);

// 0 when the process token holds the built-in Administrators group (or on Windows 98),
// 0x80070032 when it does not, 0x80010126 when the token or its groups cannot be read.
HRESULT CheckAdministrator();

}  // namespace cardwatch
