// The auto-run rule: what one tick of the launcher's card watch does with a scan's result.
#pragma once
#include <cardwatch/CardScan.h>

namespace cardwatch {

// Settings\AutoRun.
enum {
  AUTORUN_MAIN_PROGRAM = 0,  // start the main program to import
  AUTORUN_CARD_VIEWER = 1,   // notify or start the card viewer
  AUTORUN_WATCH_ONLY = 3,    // the default; any other value only watches too
};

// The one place of the setting: Settings\AutoRun under the common root, AUTORUN_WATCH_ONLY
// when absent. The launcher and the settings page both go through these.
int ReadAutoRunMode();
BOOL WriteAutoRunMode(int nMode);

// What a tick does besides the scan.
struct AutoRunDecision {
  WPARAM wViewerEvent;     // nonzero: post WM_CARD_EVENT with it to the running card viewer
  BOOL bStartMainProgram;  // with " -AutoImport" for the scan's drives
  BOOL bStartCardViewer;   // with the scan's drives
};

// The rule for mode nMode after a scan result nScan (CARDSCAN_*). The running states
// are only looked at when a scan reported something.
AutoRunDecision DecideAutoRun(int nMode, int nScan, BOOL bMainProgramRunning, BOOL bCardViewerRunning);

// Profile values and program operations of a tick.
class CAutoRunEnv {
 public:
  virtual ~CAutoRunEnv() {}
  virtual BOOL IsAutoRunEndRequested() = 0;    // Settings\AutoRunEnd = 1
  virtual BOOL IsCheckDisabled() = 0;          // Common\AutoRunCheckDisable nonzero
  virtual int GetAutoRunMode() = 0;            // Settings\AutoRun, default 3
  virtual BOOL IsMainProgramRunning() = 0;
  virtual BOOL IsCardViewerRunning() = 0;
  virtual HWND FindMainProgramWindow() = 0;
  virtual HWND FindCardViewerWindow() = 0;
  virtual CString FindCardViewerPath() = 0;
  virtual BOOL StartMainProgram(DWORD dwMask) = 0;
  virtual BOOL CloseMainProgram() = 0;
  virtual BOOL StartCardViewer(DWORD dwMask) = 0;
  virtual BOOL CloseCardViewer() = 0;
  virtual BOOL NotifyCardViewer(WPARAM wEvent) = 0;
};

// The real profile and programs; the main program is looked for in the given folder.
class CSystemAutoRunEnv : public CAutoRunEnv {
 public:
  explicit CSystemAutoRunEnv(LPCSTR lpszProgramFolder);
  BOOL IsAutoRunEndRequested() override;
  BOOL IsCheckDisabled() override;
  int GetAutoRunMode() override;
  BOOL IsMainProgramRunning() override;
  BOOL IsCardViewerRunning() override;
  HWND FindMainProgramWindow() override;
  HWND FindCardViewerWindow() override;
  CString FindCardViewerPath() override;
  BOOL StartMainProgram(DWORD dwMask) override;
  BOOL CloseMainProgram() override;
  BOOL StartCardViewer(DWORD dwMask) override;
  BOOL CloseCardViewer() override;
  BOOL NotifyCardViewer(WPARAM wEvent) override;

 private:
  CString m_strProgramFolder;
};

enum AutoRunTickResult {
  AUTORUN_TICK_CONTINUE,  // start the timer again
  AUTORUN_TICK_END,       // the launcher ends; the timer stays stopped
};

// One tick of the card watch: the end request, the scan (unless switched off), the rule.
// dwMask is the last event's drive mask, kept by a tick without an event.
AutoRunTickResult RunAutoRunTick(CAutoRunEnv& env, CCardScanner& scanner, CCardScanEnv& scanEnv,
                                 DWORD& dwMask);

// What power and session notices do to the watch timer.
enum WatchTimerAction { WATCH_TIMER_KEEP, WATCH_TIMER_STOP, WATCH_TIMER_START };
// WM_POWERBROADCAST: a coming suspend stops the watch, a resume or a refused suspend
// starts it again.
WatchTimerAction PowerEventTimerAction(WPARAM wEvent);
// WM_WTSSESSION_CHANGE: the console's disconnect stops the watch, its connect starts it.
WatchTimerAction SessionEventTimerAction(WPARAM wEvent);

}  // namespace cardwatch
