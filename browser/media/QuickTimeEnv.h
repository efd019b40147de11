// What the program knows of the movie bridge between runs: "PictLibs" values under the
// program's registry root, named for the running program ("QT_Initialized_Marlo5"): the
// version the bridge reported when initialised (present: initialised), whether it exports
// pictures, and the lowest version that counts as usable ("QT_Enabled_Ver", written by
// others). The marker file MovDecode.vcp in the program folder lets a run trust the stored
// state without initialising the bridge again.
#pragma once
#include <windows.h>

#include "VxGUITransApi.h"

enum { kQtStateWrite = 0, kQtStateDelete = 1, kQtStateTest = 2, kQtStateRead = 3 };
// A Win32 error code (0 success): write (*pa the version, *pb the exporter flag when
// given), delete both, test for the version's presence, read them; other codes give 12.
VXGUITRANS_API LONG AccessQuickTimeState(int nOp, DWORD* pa, DWORD* pb);
VXGUITRANS_API BOOL HasMovDecodeFile();
VXGUITRANS_API DWORD GetRequiredQuickTimeVersion();
// The stored version is at least the required one (none stored: not usable).
VXGUITRANS_API BOOL IsQuickTimeVersionUsable();
// The value's name for the running program: "QT_Initialized_<exe name>", bare without one.
VXGUITRANS_API CHAR* QuickTimeValueName(LPCSTR pszBase, LPCSTR pszExeName, CHAR* pszOut, int cch);
