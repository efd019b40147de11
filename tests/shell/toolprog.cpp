// A small outside program for the manager's tests. It is started as
//   "<path>" -wXXXXXXXX <index> [ignore-close]
// (or with another argument, the index from GLIMORA_TOOL_INDEX)
// appends its file and command line to the file named by GLIMORA_TOOL_LOG, shows a window, reports
// it to the main window (message 1306 with its index), and ends on WM_CLOSE unless told
// to ignore it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool g_bIgnoreClose = false;

LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (g_bIgnoreClose) return 0;
      ::DestroyWindow(hWnd);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(hWnd, message, wParam, lParam);
  }
}

// One line per start: this program's file, then its command line.
void Log(const char* line) {
  char path[MAX_PATH], self[MAX_PATH] = "";
  if (!::GetEnvironmentVariableA("GLIMORA_TOOL_LOG", path, sizeof(path))) return;
  ::GetModuleFileNameA(NULL, self, sizeof(self));
  if (FILE* f = fopen(path, "a")) {
    fprintf(f, "%s|%s\n", self, line);
    fclose(f);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  const char* line = ::GetCommandLineA();
  Log(line);
  HWND hMain = NULL;
  int nIndex = -1;
  if (const char* w = strstr(line, " -w")) {
    hMain = reinterpret_cast<HWND>(static_cast<UINT_PTR>(strtoul(w + 3, NULL, 16)));
    const char* rest = w + 3;
    while (*rest && *rest != ' ') ++rest;
    while (*rest == ' ') ++rest;
    // A start with the manager's own argument ("-b") reports the index the test names.
    char index[16];
    if (*rest >= '0' && *rest <= '9')
      nIndex = atoi(rest);
    else if (::GetEnvironmentVariableA("GLIMORA_TOOL_INDEX", index, sizeof(index)))
      nIndex = atoi(index);
    g_bIgnoreClose = strstr(rest, "ignore-close") != NULL;
  }
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = hInstance;
  wc.lpszClassName = "GlimoraTestTool";
  wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  ::RegisterClassA(&wc);
  // Shown off the screen and without the activation: other tests meanwhile keep theirs.
  HWND hWnd = ::CreateWindowA("GlimoraTestTool", "Glimora test tool", WS_OVERLAPPEDWINDOW,
                              ::GetSystemMetrics(SM_CXSCREEN) + 50, 10, 200, 100, NULL, NULL, hInstance, NULL);
  ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
  if (hMain && nIndex >= 0) ::PostMessageA(hMain, 1306, reinterpret_cast<WPARAM>(hWnd), nIndex);
  MSG msg;
  while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
