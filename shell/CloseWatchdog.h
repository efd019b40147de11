// Closing the main window ends the process in every case. The frame's destruction posts
// the quit, but a loop nested inside the close may take it and drop it (Wine's window
// move and size loop ends on a quit without posting it again): the process would live on
// without a window, holding the single-instance mutex and the database. Started when the
// main window goes, the watchdog posts the quit again until the program's exit begins,
// and ends the process when the quit never arrives or the exit does not finish in time.
#pragma once
#include <windows.h>

class CCloseWatchdog {
 public:
  typedef void (*EndFn)(UINT nExitCode);
  // dwRepostMs between reposts, at most nReposts of them; dwExitMs for the exit itself.
  CCloseWatchdog(DWORD dwRepostMs = 1000, int nReposts = 10, DWORD dwExitMs = 30000, EndFn pfnEnd = EndProcess);
  ~CCloseWatchdog();  // stops the watch (the process is ending in order)
  CCloseWatchdog(const CCloseWatchdog&) = delete;
  CCloseWatchdog& operator=(const CCloseWatchdog&) = delete;

  // Watches the thread whose message loop must end (once; later calls do nothing).
  void Start(DWORD dwThreadId);
  // The quit arrived: the program's exit runs now.
  void ExitBegan();
  void Stop();
  int GetRepostCount() const { return m_nReposted; }

  static void EndProcess(UINT nExitCode);

 private:
  static DWORD WINAPI Watch(LPVOID pParam);
  DWORD m_dwRepostMs;
  int m_nReposts;
  DWORD m_dwExitMs;
  EndFn m_pfnEnd;
  DWORD m_dwThreadId;
  HANDLE m_hThread;
  HANDLE m_hExitBegan;
  HANDLE m_hStop;
  volatile LONG m_nReposted;
};
