// A list tool for the runner's tests: "Rename" counts the files it was given and
// answers 1 when there were any.
#include <ICGBrowser.h>

static int g_files = -1;

extern "C" __declspec(dllexport) int WINAPI Rename(CGFileInfoList* pList) {
  g_files = pList ? (int)pList->GetCount() : -1;
  return g_files > 0 ? 1 : 2;
}
extern "C" __declspec(dllexport) int ProbeFiles() { return g_files; }
