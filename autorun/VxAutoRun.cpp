// The auto-run launcher. Its frame, tray icon and card watcher come with its own sources.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
