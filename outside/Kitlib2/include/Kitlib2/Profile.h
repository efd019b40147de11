// The settings profile: sections and keys in the registry below HKEY_CURRENT_USER.
//
// A section is a backslash-separated path of keys below a root, a key is a value name
// in that section; "" as section means the root itself. A missing value is never an
// error: every read answers its default.
//
// Roots (the last argument of most functions):
//   0  the program root  "Software\Norvane\Marlo5" (or the "Position" under
//      [RegistryKey] of kitenv.ini in the program folder);
//   1  the common root   "Software\Norvane\VxCommon", shared with the launcher and the
//      maker's other programs.
// The environment variable GLIMORA_PROFILE_ROOT, when set, replaces "Software\Norvane"
// for both roots (tests use it to keep away from a user's real profile).
#pragma once
#include <Kitlib2/KitDefs.h>

#define CMPROFILE_PROGRAM 0
#define CMPROFILE_COMMON 1

// The stored integer (REG_DWORD, or a decimal REG_SZ), else nDefault.
KITLIB2_API int CMGetProfileInt(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault, int nRoot = CMPROFILE_PROGRAM);

// The stored text, else the default (NULL counts as "").
KITLIB2_API CString CMGetProfileString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault = NULL,
                                       int nRoot = CMPROFILE_PROGRAM);

// The same below an explicit root key path; nHive 0 reads HKEY_CURRENT_USER,
// any other value HKEY_LOCAL_MACHINE (the settings the installer left).
KITLIB2_API CString CMGetProfileStringEx(LPCSTR lpszRoot, LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault,
                                         int nHive = 0);

// Stores the integer as REG_DWORD, creating the section. bFlush nonzero writes the key
// through to disk at once. Nonzero on success.
KITLIB2_API BOOL CMWriteProfileInt(LPCSTR lpszSection, LPCSTR lpszKey, int nValue, int bFlush = 0,
                                   int nRoot = CMPROFILE_PROGRAM);

// Stores the text as REG_SZ, creating the section; a NULL text removes the value.
// Nonzero on success.
KITLIB2_API BOOL CMWriteProfileString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszValue,
                                      int nRoot = CMPROFILE_PROGRAM);

// Removes one value; nonzero when it was there and is gone.
KITLIB2_API BOOL CMRemoveProfileKey(LPCSTR lpszSection, LPCSTR lpszKey, int nRoot = CMPROFILE_PROGRAM);

// The program root's key path below HKEY_CURRENT_USER ("Software\Norvane\Marlo5").
KITLIB2_API CString CMGetKeyPosition();

// Copies the installer's settings (HKEY_LOCAL_MACHINE, program root path) into the
// user's program root, values and sub-keys. Nonzero when the source existed and was copied.
KITLIB2_API BOOL CMCopyProfileHklmToHkcu();
