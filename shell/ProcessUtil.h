// Starting outside programs and finding their windows, with bounded waits: the user
// interface thread never waits without a limit for another program.
#pragma once
#include <fw/fw.h>

enum {
  PROGRAM_IDLE_WAIT_MS = 10000,    // a started program's first input idle
  PROCESS_WINDOW_WAIT_MS = 10000,  // a started program's first top-level window
};

// The command line of a program: its path in quotes, then the arguments (if any).
CString QuotedCommandLine(LPCSTR lpszPath, LPCSTR lpszArguments);

// Starts the program at lpszPath (also given as the application name, so that a path
// with blanks can never start another program); lpszFolder is the current folder (null:
// this process's). The caller closes both handles of *pInfo. psi: the start-up record
// (null: a default one). On failure the last error is the creation's.
BOOL StartProgram(LPCSTR lpszPath, LPCSTR lpszArguments, LPCSTR lpszFolder, BOOL bInheritHandles,
                  PROCESS_INFORMATION* pInfo, STARTUPINFOA* psi = NULL);

// The first top-level window of the process whose title holds none of the lines of
// string 51001 (the system's helper windows), looked for every millisecond up to
// dwTimeoutMs; null when none showed up in time.
HWND FindProcessWindow(DWORD dwProcessId, DWORD dwTimeoutMs);
