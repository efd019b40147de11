// The browser library. Its controller, views and media windows are added by their own modules.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
