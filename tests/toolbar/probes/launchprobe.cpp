// A program for the launcher's tests: appends its command line (one line) to the file
// named by GLIMORA_LAUNCH_LOG, then waits for its messages for 1 s (so that it is idle for
// input at once) and ends. Built with PROBE_NEVER_IDLE it never reads a message (a program
// busy at its start) and ends after a minute.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char log[MAX_PATH] = "";
  if (::GetEnvironmentVariableA("GLIMORA_LAUNCH_LOG", log, sizeof log)) {
    HANDLE h = ::CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
    if (h != INVALID_HANDLE_VALUE) {
      LPCSTR line = ::GetCommandLineA();
      DWORD n = 0;
      ::WriteFile(h, line, lstrlenA(line), &n, NULL);
      ::WriteFile(h, "\n", 1, &n, NULL);
      ::CloseHandle(h);
    }
  }
#ifdef PROBE_NEVER_IDLE
  ::Sleep(60000);
  return 0;
#endif
  ::SetTimer(NULL, 0, 1000, NULL);
  MSG msg;
  while (::GetMessageA(&msg, NULL, 0, 0) > 0 && msg.message != WM_TIMER) {
  }
  return 0;
}
