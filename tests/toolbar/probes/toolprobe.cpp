// An outside program for the runner's tests. Arguments: "-w <main window>" and then what
// to do, in order: "post" (message 1147 to the window), "send" (a WM_COPYDATA sent to
// the window: answered only while its thread pumps sent messages), "write <path>" (a
// new file), "sleep <ms>", "die" (an abnormal end).
#include <windows.h>

#include <stdlib.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HWND hMain = NULL;
  for (int i = 1; i < __argc; ++i) {
    const char* a = __argv[i];
    if (!strcmp(a, "-w") && i + 1 < __argc) {
      hMain = (HWND)(INT_PTR)strtoll(__argv[++i], NULL, 10);
    } else if (!strcmp(a, "post")) {
      ::PostMessageA(hMain, 1147, 0, 0);
    } else if (!strcmp(a, "send")) {
      char text[] = "probe";
      COPYDATASTRUCT cds = {1626, sizeof text, text};
      ::SendMessageA(hMain, WM_COPYDATA, 0, (LPARAM)&cds);
    } else if (!strcmp(a, "write") && i + 1 < __argc) {
      HANDLE h = ::CreateFileA(__argv[++i], GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
      if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    } else if (!strcmp(a, "sleep") && i + 1 < __argc) {
      ::Sleep(atoi(__argv[++i]));
    } else if (!strcmp(a, "die")) {
      ::TerminateProcess(::GetCurrentProcess(), 0xC0000005);
    }
  }
  return 0;
}
