// The launcher's hidden frame: it owns the tray icon, runs the card watch once a second
// and starts or closes the main program and the card viewer.
//
// Sources by concern: MainFrame.cpp (creation, commands, power and session notices),
// MainFrameWatch.cpp (the card watch), MainFrameTray.cpp (the tray menu).
#pragma once
#include <fw/fw.h>

#include <cardwatch/AutoRunRule.h>

#include "TrayIconWnd.h"

// The window property that marks the launcher's frame (value 1).
extern const char kLauncherWindowProperty[];

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame();
  ~CMainFrame() override;

  // Before the window exists: where the watch and the menu get their answers (the
  // system by default; the objects stay the caller's).
  void SetEnvironment(cardwatch::CAutoRunEnv* pEnv, cardwatch::CCardScanEnv* pScanEnv);

  // The tray menu for the current state of the programs.
  BOOL BuildTrayMenu(CMenu& menu);

  DWORD GetDriveMask() const { return m_dwDriveMask; }
  const cardwatch::CCardScanner& GetScanner() const { return m_scanner; }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  // MainFrame.cpp: life, commands, power and session notices.
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnExitLauncher();
  afx_msg void OnStartMainProgram();
  afx_msg void OnCloseMainProgram();
  afx_msg void OnStartCardViewer();
  afx_msg void OnCloseCardViewer();
  afx_msg UINT OnPowerBroadcast(UINT nPowerEvent, LPARAM lParam);
  afx_msg LRESULT OnSessionChange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
  // MainFrameWatch.cpp: the card watch.
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  // MainFrameTray.cpp: the tray menu.
  afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  DECLARE_MESSAGE_MAP()

 private:
  void StartWatchTimer();
  void StopWatchTimer();
  void ApplyTimerAction(cardwatch::WatchTimerAction action);

  CTrayIconWnd m_wndTray;
  CString m_strProgramTitle;  // string 57344
  CString m_strViewerName;    // string 217

  cardwatch::CCardScanner m_scanner;
  DWORD m_dwDriveMask;  // the drives of the last card event; 0 after the menu opened

  cardwatch::CSystemAutoRunEnv m_systemEnv;
  cardwatch::CSystemCardScanEnv m_systemScanEnv;
  cardwatch::CAutoRunEnv* m_pEnv;
  cardwatch::CCardScanEnv* m_pScanEnv;

  HMODULE m_hWtsApi;  // the system folder's Wtsapi32.dll, NULL when it is missing
  BOOL m_bSessionRegistered;
};
