// CMainFrame: the frame of the single document template. It lays the user interface out
// as a tree of splitters (toolbar row; folder column, browser area and export column),
// keeps its placement and pane sizes in the profile, builds the main menu's popups to the
// state of the browser, routes menu commands by table to the pane that carries them out,
// relays application messages to the outside-program manager, runs the start-up, slide
// show, device and card timers, and closes down in order.
//
// Sources by concern: MainFrame.cpp (creation, layout, sizes, forwarders, the message
// map), MainFrameMenus.cpp (popups and prompts), MainFrameCommands.cpp (the frame's own
// commands and the routing of the others), MainFrameRules.cpp (the route tables and the
// menu item states, without windows),
// MainFrameMessages.cpp (window procedure, relay, private messages), MainFrameTimers.cpp
// (timers, devices, cards, calendar fold, keep-awake worker, slide show),
// MainFrameClose.cpp (closing and destruction).
#pragma once
#include <fw/fw.h>

#include <cardwatch/CardScan.h>

#include "MainFrameRules.h"
#include "ExternalToolManager.h"
#include "MainSplitterWnd.h"
#include "MainStatusBar.h"
#include "ProfileWatch.h"

class CDynamicSplitterWnd;
class CFView_Folder;
class CFView_Export;
class CFView_Toolbar;
class CVxDocument;
class CBrowserDocument;
class CBrowserSubView;

// Timers of the frame.
enum {
  MAINFRAME_TIMER_STARTUP = 53,
  MAINFRAME_TIMER_SLIDE_PLACEMENT = 54,
  MAINFRAME_TIMER_DEVICE = 55,
  MAINFRAME_TIMER_CARD = 56,
  MAINFRAME_TIMER_AUTO_IMPORT = 57,
  MAINFRAME_TIMER_CLOSE = 58,
};

// Sizes of the pane tree.
enum {
  MAINFRAME_TOOLBAR_HEIGHT = 75,
  MAINFRAME_FOLDER_WIDTH = 175,
  MAINFRAME_EXPORT_WIDTH = 84,
};

// The refresh key's discard takes only F5 key-downs (not the character "t", also 0x74).
BOOL IsF5KeyDown(const MSG& msg);

// Results of a card check.
enum { CARDCHECK_NONE = 0, CARDCHECK_CAME = 1, CARDCHECK_WENT = 2 };

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame();
  ~CMainFrame() override;

  // ---- Panes --------------------------------------------------------------------------
  CFView_Toolbar* GetToolbarPane() const;
  CFView_Folder* GetFolderPane() const;
  CFView_Export* GetExportPane() const;
  CWnd* GetBrowserWindow() const;       // the icon view
  CBrowserSubView* GetSubView() const;  // the strip over the browser
  CVxDocument* GetVxDocument() const;
  CBrowserDocument* GetBrowserDocument() const;
  CMainStatusBar& GetStatusBar() { return m_wndStatusBar; }
  CMainSplitterWnd& GetRowSplitter() { return m_wndRowSplitter; }
  CMainSplitterWnd& GetExportSplitter() { return m_wndExportSplitter; }
  CMainSplitterWnd& GetFolderSplitter() { return m_wndFolderSplitter; }
  CDynamicSplitterWnd* GetBrowserSplitter() const { return m_pBrowserSplitter; }
  CDynamicSplitterWnd* GetViewSplitter() const { return m_pViewSplitter; }
  BOOL IsStartupDone() const { return m_bStartupDone; }

  CExternalToolManager& GetExternalToolManager() { return m_toolManager; }
  HWND GetToolWindow(int nIndex) const { return m_toolManager.GetToolWindow(nIndex); }

  // ---- Sizes --------------------------------------------------------------------------
  void SaveSplitterSizes();
  void LoadSplitterSizes();
  // Status pane 29901: the mode text of profile DepthViewer\Mode.
  void SetModeStatusText();

  // ---- Forwarders the panes call ------------------------------------------------------
  void RefreshFolderPane();
  void EnableFolderUpButton(BOOL bEnable);
  void EnableFolderForwardButton(BOOL bEnable);
  void EnableFolderBackButton(BOOL bEnable);
  int ReleaseToolbarSlideCollect();
  BOOL CanFolderGoUp();
  BOOL CanFolderGoForward();
  BOOL CanFolderGoBack();
  BOOL IsSlideCollectActive();
  BOOL IsEntryEditorActive();
  // Asks the next options dialog to open on its slide-show page; the dialog takes (reads
  // and clears) the request.
  void RequestOptionsSlideShowPage() { m_bOptionsSlideShowPage = TRUE; }
  BOOL TakeOptionsSlideShowRequest() {
    BOOL b = m_bOptionsSlideShowPage;
    m_bOptionsSlideShowPage = FALSE;
    return b;
  }

  // ---- Operations ---------------------------------------------------------------------
  // Asks before closing while files are marked; IDYES to close.
  int ShowCloseWarning();
  HRESULT StartSlideShow(int nKind);
  // One pass of the card drives (timer 56): CARDCHECK_*, the drives in *pdwMask.
  int CheckCardDrive(DWORD* pdwMask);
  // Menu access keys of a popup (kinds of MenuAccessKeys.h).
  static void AssignMenuAccessKeys(CMenu* pPopup, int nKind);
  void AdaptViewMenuToFolder(CMenu* pPopup);

  // ---- Framework overrides ------------------------------------------------------------
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void GetMessageString(UINT nID, CString& rMessage) const override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Set once, in this order.
  BOOL m_bClientCreated;
  BOOL m_bPanesRegistered;
  BOOL m_bStartupDone;

  // The part of start-up's step taken next, and how often the step gave way to a close.
  enum StartupPart { STARTUP_WAIT_PANES, STARTUP_FOLDER_TREES, STARTUP_FINISH };
  int m_nStartupPart;
  int m_nStartupPutOffs;

  CString m_strExportText;
  BOOL m_bCalendarFold;
  int m_nSlideShowMode;
  BOOL m_bNormalStart;
  BOOL m_bDeviceFollowUp;
  BOOL m_bOptionsSlideShowPage = FALSE;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Creation and layout (MainFrame.cpp).
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
  // Menus and prompts (MainFrameMenus.cpp).
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  // Private messages (MainFrameMessages.cpp).
  afx_msg LRESULT OnChildWindowCreated(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRelayedMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCardChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCalendarFold(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnViewModeChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSettingsChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCloseSlideCollect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetSlideShowMode(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnQuerySlideCollect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnQueryEntryEditor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTreeFolderDeleted(WPARAM wParam, LPARAM lParam);
  // Timers and devices (MainFrameTimers.cpp).
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
  // Closing (MainFrameClose.cpp).
  afx_msg void OnClose();
  void PutOffClose();
  BOOL IsClosePending();
  BOOL PutOffStartupForClose();
  // What the frame keeps across runs and tells others at its end (the file object closed,
  // placement and pane sizes, outside programs closed); once, by the quick end or by the
  // destruction.
  void KeepBeforeExit();
  // WM_KEEP_BEFORE_EXIT to every window of the frame.
  void KeepPanesBeforeExit();
  afx_msg void OnDestroy();
  afx_msg void OnEnable(BOOL bEnable);
  // Menu commands the frame carries out itself (MainFrameCommands.cpp).
  afx_msg void OnUpdateFrameCommand(CCmdUI* pCmdUI);
  afx_msg void OnFilePrintPhotos();
  afx_msg void OnFilePrintSetupExport();
  afx_msg void OnViewToolbarPane();
  afx_msg void OnViewFolderPane();
  afx_msg void OnViewExportPane();
  afx_msg void OnViewRefresh();
  afx_msg void OnGoUp();
  afx_msg void OnGoBack();
  afx_msg void OnGoForward();
  afx_msg void OnGoOpenPath();
  afx_msg void OnUpdateGoUp(CCmdUI* pCmdUI);
  afx_msg void OnUpdateGoBack(CCmdUI* pCmdUI);
  afx_msg void OnUpdateGoForward(CCmdUI* pCmdUI);
  afx_msg void OnToolsDbSearch();
  afx_msg void OnSlideShowPlay(UINT nID);
  afx_msg void OnHelpManual();
  afx_msg void OnHelpMapSite();
  afx_msg void OnHelpSupportSite();
  afx_msg void OnHelpGuide();
  DECLARE_MESSAGE_MAP()

 private:
  // Relay (MainFrameMessages.cpp): handles the messages that reach the window procedure
  // first; TRUE with *pResult when done.
  BOOL HandleEarlyMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Records a message and hands it to the outside-program manager (WM_RELAYED_MESSAGE).
  LRESULT RelayRecorded(UINT message, WPARAM wParam, LPARAM lParam);
  // Routing helpers (MainFrameCommands.cpp).
  void RegisterRoutedCommands();
  // TRUE when the route's pane took the command.
  BOOL RouteToPane(const routes::Route& route, UINT nID, int nCode, void* pExtra);
  BOOL IsFolderPaneActive() const;
  BOOL FocusInFolderPane() const;
  void FocusFolderPane();
  void CloseSlideCollection();
  void SendToolbarCommand(UINT nID, BOOL bWithFrame);
  void DiscardPendingF5();
  // Timers (MainFrameTimers.cpp).
  void StartStartupWait();
  void OnStartupTimer();
  void OnDeviceTimer();
  void OnCardTimer();
  void PromptFirstClassify();
  void StartKeepAwake();
  void StopKeepAwake();
  static UINT AFX_CDECL KeepAwakeProc(LPVOID pParam);
  static BOOL ShowsCardFolder(void* pFrame);
  // Menus (MainFrameMenus.cpp).
  void SaveMessagePaneLayout();
  void RestoreMessagePaneLayout();
  // What the menu rules look at.
  menurules::MenuState CurrentMenuState();

  CMainSplitterWnd m_wndRowSplitter;
  CMainSplitterWnd m_wndExportSplitter;
  CMainSplitterWnd m_wndFolderSplitter;
  CDynamicSplitterWnd* m_pBrowserSplitter;
  CDynamicSplitterWnd* m_pViewSplitter;
  CDynamicSplitterWnd* m_pDetailSplitter;
  struct IVxDBFile* m_pDbFileObject;

  // The message pane's layout while a menu is open (width -1: nothing saved).
  UINT m_nSavedPaneId;
  UINT m_nSavedPaneStyle;
  int m_nSavedPaneWidth;
  BOOL m_bMenuTracking;

  HMODULE m_hWtsLibrary;
  BOOL m_bSessionNotify;

  CMainStatusBar m_wndStatusBar;
  CExternalToolManager m_toolManager;

  CWinThread* m_pKeepAwakeThread;
  HANDLE m_hStopKeepAwake;  // set: the keep-awake worker ends

  int m_nLastWidth;   // OnSize: width of the previous call
  int m_nLastLeft;    // OnSizing: left edge of the previous call
  HMENU m_hMasterViewMenu;  // menu 128 as loaded, for re-inserting view items

  // Card flags of the frame's own check (timer 56).
  cardwatch::CCardScanner m_cardScanner;
  // Start-up: the watch on the panes' flags.
  CProfileWatch m_startupWatch;
  // Closing: how many times a close was put off for a dialog (an outside program's or ours).
  int m_nCloseRetries;
  BOOL m_bKeptBeforeExit;
  // Calendar fold: whether a calendar view is shown, and whether the folder column was
  // shown before it.
  BOOL m_bCalendarActive;
  BOOL m_bFolderShownBefore;
};
