// A settings-dialog library for the loader's tests: records its calls; built once with
// DoModal and once without it (PROBE_NO_DOMODAL).
#include <windows.h>

static int g_calls[3];

extern "C" __declspec(dllexport) void WINAPI Initialize(HMODULE) { ++g_calls[0]; }
extern "C" __declspec(dllexport) void WINAPI Uninitialize() { ++g_calls[1]; }
#ifndef PROBE_NO_DOMODAL
extern "C" __declspec(dllexport) int WINAPI DoModal(void*, int nKind, int, int) {
  ++g_calls[2];
  return nKind == 397 ? 1 : 0;
}
#endif
extern "C" __declspec(dllexport) int ProbeCalls(int i) { return g_calls[i]; }
