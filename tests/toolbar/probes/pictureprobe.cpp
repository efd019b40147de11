// A picture tool for the runner's tests, under the three tools' export names. Its answers,
// one a call, come from TOOLRUN_PROBE_RESULTS ("1,1,2"; the last one repeats); each call
// is logged to TOOLRUN_PROBE_LOG as "<path>|<first>|<Single>" and writes "<path>.out".
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int g_calls = 0;

static int Answer() {
  char sz[256] = "";
  ::GetEnvironmentVariableA("TOOLRUN_PROBE_RESULTS", sz, sizeof sz);
  int n = 0, value = 0;
  for (char* p = strtok(sz, ","); p; p = strtok(NULL, ",")) {
    value = atoi(p);
    if (n++ == g_calls) break;
  }
  ++g_calls;
  return value;
}

static int Run(LPCSTR lpszPath, LPSTR lpszOutput, int nFirst) {
  char szLog[MAX_PATH] = "";
  ::GetEnvironmentVariableA("TOOLRUN_PROBE_LOG", szLog, sizeof szLog);
  if (FILE* f = fopen(szLog, "ab")) {
    fprintf(f, "%s|%d\n", lpszPath, nFirst);
    fclose(f);
  }
  int nAnswer = Answer();
  if (nAnswer != 2) {
    sprintf(lpszOutput, "%s.out", lpszPath);
    ::CopyFileA(lpszPath, lpszOutput, FALSE);
  }
  return nAnswer;
}

extern "C" {
#ifndef PROBE_NO_EXPORT
__declspec(dllexport) int WINAPI TurnPicture(LPCSTR p, LPSTR o, int f) { return Run(p, o, f); }
__declspec(dllexport) int WINAPI ScalePicture(LPCSTR p, LPSTR o, int f) { return Run(p, o, f); }
#endif
__declspec(dllexport) int WINAPI ConvertKind(LPCSTR p, LPSTR o, int f) { return Run(p, o, f); }
}
