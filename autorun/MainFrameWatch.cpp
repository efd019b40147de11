// The card watch: one scan a second and the auto-run rule.
#include "MainFrame.h"

#include "LauncherIds.h"

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == IDT_CARD_WATCH) {
    StopWatchTimer();
    if (cardwatch::RunAutoRunTick(*m_pEnv, m_scanner, *m_pScanEnv, m_dwDriveMask) == cardwatch::AUTORUN_TICK_END) {
      DestroyWindow();  // the launcher ends; nothing of this object may be used after it
      return;
    }
    StartWatchTimer();
  }
  CFrameWnd::OnTimer(nIDEvent);
}
