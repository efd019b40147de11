// The date imprint's two libraries in one, for the runner's tests. IsDateTime: every file
// but those named "undated...". NamePrompt: IMPRINT_PROBE_PROMPT "cancel" answers 2,
// "skip" gives no name, else "<title>_d<ext>". StampDayTimeImage: the call numbered
// IMPRINT_PROBE_FAIL_AT (from 1) answers IMPRINT_PROBE_CODE (hex); the others copy the
// file. Calls are logged to IMPRINT_PROBE_LOG.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

static int g_stamps = 0;

static std::string Env(const char* name) {
  char sz[512] = "";
  ::GetEnvironmentVariableA(name, sz, sizeof sz);
  return sz;
}

static void Log(const std::string& line) {
  if (FILE* f = fopen(Env("IMPRINT_PROBE_LOG").c_str(), "ab")) {
    fprintf(f, "%s\n", line.c_str());
    fclose(f);
  }
}

static std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

extern "C" {
__declspec(dllexport) int WINAPI IsDateTime(LPCSTR lpszPath) {
  return NameOf(lpszPath).compare(0, 7, "undated") == 0 ? 0 : 1;
}

__declspec(dllexport) int WINAPI NamePrompt(LPCSTR lpszSource, LPSTR lpszName, LPCSTR lpszDefault, int, int* pnOption) {
  Log(std::string("prompt|") + NameOf(lpszSource) + "|" + lpszDefault);
  std::string mode = Env("IMPRINT_PROBE_PROMPT");
  if (mode == "cancel") return 2;
  *pnOption = 3;
  if (mode == "skip") {
    lpszName[0] = 0;
    return 1;
  }
  std::string source = lpszSource;
  size_t dot = source.find_last_of('.');
  std::string name = source.substr(0, dot) + "_d" + source.substr(dot);
  strcpy(lpszName, name.c_str());
  return 1;
}

__declspec(dllexport) int WINAPI StampDayTimeImage(LPCSTR lpszSource, LPCSTR lpszOutput, int nOption) {
  ++g_stamps;
  Log(std::string("stamp|") + NameOf(lpszSource) + "|" + NameOf(lpszOutput) + "|" + std::to_string(nOption));
  if (atoi(Env("IMPRINT_PROBE_FAIL_AT").c_str()) == g_stamps)
    return (int)strtoul(Env("IMPRINT_PROBE_CODE").c_str(), NULL, 16);
  ::CopyFileA(lpszSource, lpszOutput, FALSE);
  return 0;
}
}
