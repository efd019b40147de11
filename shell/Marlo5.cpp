// The main program: its application object. WinMain comes from the framework.
#include "MainApp.h"

CMainApp theApp;
