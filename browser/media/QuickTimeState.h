// What the program knows of the movie-playback bridge (MovBridge.dll) between runs: the
// version it reported when initialised and whether it exports pictures, kept under the
// environment key's "PictLibs" (the key's path comes from kitenv.ini in the program
// folder), with the name of the running program appended to each value's name.
#pragma once
#include <fw/fw.h>

#include "QuickTimeStateRules.h"
#include "VxGUITransApi.h"

enum QuickTimeStateOp { kQtStateWrite = 0, kQtStateDelete = 1, kQtStateTest = 2, kQtStateRead = 3 };

// 0 write (*a the version, b the exporter flag when given), 1 delete both values, 2 test
// that the version value exists, 3 read them into a and b; a Win32 error code, 0 success,
// 12 for another operation.
VXGUITRANS_API LONG AccessQuickTimeState(int op, DWORD* a, DWORD* b);
// MovDecode.vcp in the program folder.
VXGUITRANS_API BOOL HasMovDecodeFile();
// "QT_Enabled_Ver": the lowest usable version, 0 when missing.
VXGUITRANS_API DWORD GetRequiredQuickTimeVersion();
VXGUITRANS_API BOOL IsQuickTimeVersionUsable();
// The program folder (drive and folder of the running program, no trailing backslash).
VXGUITRANS_API CString QuickTimeProgramFolder();
