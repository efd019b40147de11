// Files of the program folder (the folder of the running program).
#pragma once
#include <fw/fw.h>

// "<program folder>\<name>".
CString ProgramFolderPath(LPCSTR lpszName);
// The file or folder "<program folder>\<name>" exists.
BOOL ProgramFileExists(LPCSTR lpszName);
// Loads a library of the program folder by its full path: a bare name would let the
// system's search path pick another file of that name.
HMODULE LoadProgramLibrary(LPCSTR lpszName);
// Loads a library of the system folder by its full path.
HMODULE LoadSystemLibrary(LPCSTR lpszName);
