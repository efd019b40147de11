#include <cardwatch/AutoRunRule.h>

#include <wtsapi32.h>

namespace cardwatch {

AutoRunDecision DecideAutoRun(int nMode, int nScan, BOOL bMainProgramRunning, BOOL bCardViewerRunning) {
  AutoRunDecision d = {0, FALSE, FALSE};
  const BOOL bNewCard = nScan == CARDSCAN_INSERTED;
  switch (nMode) {
    case AUTORUN_MAIN_PROGRAM:
      d.bStartMainProgram = bNewCard && !bMainProgramRunning && !bCardViewerRunning;
      break;
    case AUTORUN_CARD_VIEWER:
      if ((nScan == CARDSCAN_INSERTED || nScan == CARDSCAN_REMOVED) && bCardViewerRunning) d.wViewerEvent = nScan;
      d.bStartCardViewer = bNewCard && !bCardViewerRunning && !bMainProgramRunning;
      break;
    default:
      break;
  }
  return d;
}

AutoRunTickResult RunAutoRunTick(CAutoRunEnv& env, CCardScanner& scanner, CCardScanEnv& scanEnv, DWORD& dwMask) {
  if (env.IsAutoRunEndRequested()) return AUTORUN_TICK_END;
  int nScan = CARDSCAN_NOTHING;
  if (!env.IsCheckDisabled()) nScan = scanner.ScanCardDrives(scanEnv, dwMask);
  const int nMode = env.GetAutoRunMode();
  if (nScan == CARDSCAN_NOTHING || (nMode != AUTORUN_MAIN_PROGRAM && nMode != AUTORUN_CARD_VIEWER))
    return AUTORUN_TICK_CONTINUE;

  const AutoRunDecision d = DecideAutoRun(nMode, nScan, env.IsMainProgramRunning(), env.IsCardViewerRunning());
  if (d.wViewerEvent) env.NotifyCardViewer(d.wViewerEvent);
  // A program that cannot be started (none installed) is simply not started.
  if (d.bStartMainProgram) env.StartMainProgram(dwMask);
  if (d.bStartCardViewer) env.StartCardViewer(dwMask);
  return AUTORUN_TICK_CONTINUE;
}

WatchTimerAction PowerEventTimerAction(WPARAM wEvent) {
  switch (wEvent) {
    case PBT_APMQUERYSUSPEND:
    case PBT_APMSUSPEND:
      return WATCH_TIMER_STOP;
    case PBT_APMQUERYSUSPENDFAILED:
    case PBT_APMRESUMESUSPEND:
    // Newer systems announce a resume without user input only with this one.
    case PBT_APMRESUMEAUTOMATIC:
      return WATCH_TIMER_START;
    default:
      return WATCH_TIMER_KEEP;
  }
}

WatchTimerAction SessionEventTimerAction(WPARAM wEvent) {
  switch (wEvent) {
    case WTS_CONSOLE_DISCONNECT:
      return WATCH_TIMER_STOP;
    case WTS_CONSOLE_CONNECT:
      return WATCH_TIMER_START;
    default:
      return WATCH_TIMER_KEEP;
  }
}

}  // namespace cardwatch
