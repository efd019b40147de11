// The main program's command line: "/AutoPlay" or "-AutoPlay" with a drive, a start
// path, and " -AutoImport".
#pragma once
#include <fw/fw.h>

struct CommandLineArgs {
  CString strAutoPlayDrive;  // the argument after "/AutoPlay" or "-AutoPlay"
  CString strStartPath;      // the first argument when it holds a backslash
};

// argv[0] is the program; the arguments are walked from argv[1].
CommandLineArgs ParseCommandLine(int argc, const char* const* argv);

// " -AutoImport" after the last "." of the command line (the program file's extension,
// when no argument carries a dot).
BOOL HasAutoImportSwitch(LPCSTR lpszCommandLine);
