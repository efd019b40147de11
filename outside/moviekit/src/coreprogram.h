// The start-up and the main window of the programs in Core\ on the movie kit (the scene
// bench, the clip runner). moviekit.dll lies in the program folder above them, where the
// loader does not look, so they link it delay-loaded and bind it here.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolrules.h"

namespace movietools {

// Names the program folder above the running program as the place of moviekit.dll and
// binds every import of the kit at once, before the first call: a call bound on its way
// would pass through a helper that need not keep its floating-point arguments. S_OK, or
// HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) when the kit is not there; then no call of the
// kit may be made.
HRESULT LoadKitAbove();

// The program's arguments as the C runtime split them (ANSI), without its own name.
std::vector<std::string> ProgramArguments();

// A program's start: its arguments parsed into *args and the kit bound (LoadKitAbove).
// Without the kit, started() lets whoever waits for the program go on, a box with the
// program's caption says the kit is missing, and false is returned (the program ends).
bool StartOnKit(const char* caption, ToolArgs* args, const std::function<void()>& started);

// The program's main window: a window of its own class on the dialog colour, its client
// area clientWidth x clientHeight; its children take the system's message font (AddChild).
HWND CreateProgramWindow(HINSTANCE instance, const char* className, WNDPROC proc, const std::string& title, DWORD style,
                         int clientWidth, int clientHeight);
// A control in the program window, in the message font.
HWND AddChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width, int height,
              int id);
// Runs the thread's messages until WM_QUIT, Tab and Enter moving between the window's controls.
void RunMessages(HWND window);

}  // namespace movietools
