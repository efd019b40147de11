// The shooting-date, place and split tools in one, for the runner's tests: each call is
// logged to FILEPROBE_LOG ("<export>|<file names, comma-separated>") and answers
// FILEPROBE_RESULT.
#include <ICGBrowser.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

static std::string Env(const char* name) {
  char sz[512] = "";
  ::GetEnvironmentVariableA(name, sz, sizeof sz);
  return sz;
}

static std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

static int Log(const char* what, const std::string& names) {
  if (FILE* f = fopen(Env("FILEPROBE_LOG").c_str(), "ab")) {
    fprintf(f, "%s|%s\n", what, names.c_str());
    fclose(f);
  }
  return atoi(Env("FILEPROBE_RESULT").c_str());
}

static std::string Names(CGFileInfoList* pList) {
  std::string names;
  if (!pList) return "null";
  for (POSITION pos = pList->GetHeadPosition(); pos;) {
    if (!names.empty()) names += ",";
    names += NameOf((LPCSTR)pList->GetNext(pos).path);
  }
  return names;
}

extern "C" {
__declspec(dllexport) int WINAPI FixShotDate(CGFileInfoList* pList) { return Log("FixShotDate", Names(pList)); }
__declspec(dllexport) int WINAPI SplitClip(LPCSTR lpszMovie) { return Log("SplitClip", NameOf(lpszMovie)); }
__declspec(dllexport) long WINAPI OpenWindow(int, CWnd*, CGFileInfoList* pList) {
  return Log("OpenWindow", Names(pList));
}
__declspec(dllexport) long WINAPI OpenDropWindow(int, CWnd*, CGFileInfoList* pList) {
  return Log("OpenDropWindow", Names(pList));
}
}
