// The library a test plug-in needs beside it in its own folder.
#include <windows.h>
extern "C" __declspec(dllexport) int TestPluginDependency() { return 1; }
