// A module that exists for its resources (the resource tests load it).
#include <windows.h>

extern "C" __declspec(dllexport) int GuidbTestModule() { return 7; }
