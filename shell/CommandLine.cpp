#include "CommandLine.h"

CommandLineArgs ParseCommandLine(int argc, const char* const* argv) {
  CommandLineArgs args;
  for (int i = 1; i < argc; ++i) {
    CString strArg = argv[i];
    if (strArg.CompareNoCase("/AutoPlay") == 0 || strArg.CompareNoCase("-AutoPlay") == 0) {
      if (i + 1 < argc) args.strAutoPlayDrive = argv[++i];
    } else if (i == 1 && strArg.Find('\\') >= 0) {
      args.strStartPath = strArg;
    }
  }
  return args;
}

BOOL HasAutoImportSwitch(LPCSTR lpszCommandLine) {
  CString strLine = lpszCommandLine ? lpszCommandLine : "";
  int nDot = strLine.ReverseFind('.');
  return strLine.Find(" -AutoImport", nDot < 0 ? 0 : nDot) >= 0;
}
