// The tool libraries beside the program: found by full path in the program folder (a
// bare name would let the search path pick another file of that name), bound by the
// names of their exports, and freed before the command goes on.
#pragma once
#include <fw/fw.h>

#include "ICGBrowser.h"

// The export of a tool that takes the whole file list ("Rename", "FixShotDate").
typedef int(WINAPI* PFN_TOOL_LIST)(CGFileInfoList* pList);

// Loads the library at lpszPath, calls its list export and frees it. The export's result,
// or -1 with the system error in *pdwError when the library or the export is missing
// (the library is freed again).
int CallListTool(LPCSTR lpszPath, LPCSTR lpszExport, CGFileInfoList* pList, DWORD* pdwError);
