// Loaded at run time by the main program; its exports come with this plug-in's own sources.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
