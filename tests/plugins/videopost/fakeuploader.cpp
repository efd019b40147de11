// Stands in for the uploader in the plug-in's tests: it crashes (an access violation, no
// debugger) before it could report that it runs.
#include <windows.h>

static LONG WINAPI EndAtOnce(EXCEPTION_POINTERS* e) {
  TerminateProcess(GetCurrentProcess(), e->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

int main() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(EndAtOnce);
  *static_cast<volatile int*>(nullptr) = 1;
  return 0;
}
