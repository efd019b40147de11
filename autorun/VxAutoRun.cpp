// VxAutoRun.exe: the tray launcher that watches for memory cards. The framework's
// WinMain runs the one application object.
#include "AutoRunApp.h"

CAutoRunApp theApp;
