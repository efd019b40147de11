// CExternalToolManager: the list of the windows and outside programs of the running
// system (the four panes of the main window, the image editor, the slide-show player, the
// page tool and further programs). It starts programs with the main window's handle on
// their command line, passes application messages between them (the relay hub), watches
// them on a timer, runs the memory-card watcher thread and closes everything when the
// main window goes.
//
// Sources by concern: ExternalToolManager.cpp (the list, its state, starting programs),
// ToolManagerRelay.cpp (the relay hub), ToolManagerMonitor.cpp (the program monitor and
// the card watcher's start), ToolManagerClose.cpp (closing with the main window).
#pragma once
#include <fw/fw.h>
#include <textkit/records.h>

#include "CardWatcher.h"
#include "ProgressMessageDlg.h"
#include "RelayPlan.h"
#include "ToolList.h"

// One entry of the list.
class CToolProcess {
 public:
  CToolProcess();
  virtual ~CToolProcess();

  BOOL IsTracked() const { return (m_dwState & TRACKED) != 0; }
  // Stops tracking the process and closes its handles.
  void Untrack();

  enum { INITIAL_STATE = 4, TRACKED = 0x10000 };

  CString m_strPath;
  CString m_strName;
  int m_nLocation;
  int m_nFlags;
  HWND m_hWnd;             // reported by the program (message 1306); null until then
  DWORD m_dwLastStyle;
  STARTUPINFOA m_startup;  // prepared before each start (placement)
  PROCESS_INFORMATION m_process;
  DWORD m_dwState;
};

// Manager states.
enum {
  TOOLSTATE_IDLE = 1,
  TOOLSTATE_EDITOR = 2,
  TOOLSTATE_SLIDESHOW = 4,
  TOOLSTATE_PAGE_TOOL = 5,
};

// OpenTool types.
enum {
  OPENTOOL_CLOSE = 1,
  OPENTOOL_EDITOR_FILE = 2,
  OPENTOOL_SLIDESHOW = 3,
  OPENTOOL_EDITOR = 4,
  OPENTOOL_PAGE_TOOL = 5,
};

// Timers the manager runs on the main window.
enum {
  TOOLTIMER_MONITOR = 11,
  TOOLTIMER_CARD_WATCH = 15,
};

// The manager's state from which entries have windows (bit i: entry i); 0 when the
// pattern names no state.
int ToolStateFromWindows(DWORD dwWindowBits);

// The command line and the program file of an entry's start: "%s -w%08X %s" with the
// path in quotes; a path without a drive ("X:") is taken from the program folder.
void BuildToolCommandLine(LPCSTR lpszPath, LPCSTR lpszProgramFolder, HWND hMainWnd, LPCSTR lpszArgument,
                          CString* pstrProgram, CString* pstrCommandLine);

class CExternalToolManager {
 public:
  CExternalToolManager();
  ~CExternalToolManager();

  // ---- The list ---------------------------------------------------------------------------
  void SetMainWnd(HWND hWnd) { m_hMainWnd = hWnd; }
  HWND GetMainWnd() const { return m_hMainWnd; }
  // Reads the profile's list: the four panes always, then the programs up to the first
  // entry without a path.
  void LoadToolList();
  int GetToolCount() const { return (int)m_tools.GetSize(); }
  CToolProcess* GetTool(int nIndex) const;
  HRESULT SetToolWindow(int nIndex, HWND hWnd);
  HWND GetToolWindow(int nIndex) const;
  int GetState() const { return m_nState; }
  int GetRequestedState() const { return m_nRequestedState; }
  void UpdateState();
  BOOL IsForcedClose() const { return m_bForcedClose; }
  // Whether the display still suits the program after a display change (the system's
  // answer unless replaced).
  void SetDisplayCheck(BOOL (*pfnDisplayFit)()) { m_pfnDisplayFit = pfnDisplayFit; }

  // ---- Programs ---------------------------------------------------------------------------
  HRESULT OpenTool(int nType, LPCSTR lpszText);
  HRESULT Launch(int nIndex, LPCSTR lpszArgument);

  // ---- The relay hub ----------------------------------------------------------------------
  LRESULT OnRequest(const RelayRecord& record);
  // How the last folder-change text or program request read (a refused one changed nothing).
  textkit::RecordStatus GetLastTextStatus() const { return m_lastTextStatus; }
  // The application's file list from a relayed text: emptied and refilled, or kept as it
  // was when the text is refused.
  static textkit::RecordStatus RefillFileList(CObList& list, const COPYDATASTRUCT* pcds);

  // ---- Timers -----------------------------------------------------------------------------
  void StartTimers();
  void OnTimer(HWND hWnd, UINT_PTR nIDEvent);

  // ---- Placement --------------------------------------------------------------------------
  void SaveMainPlacement();
  // TRUE and the saved placement while the slide-show player's window exists (the frame
  // must not take its own then).
  BOOL GetSlidePlacement(WINDOWPLACEMENT* pPlacement) const;

  // The first enabled top-level modal window that belongs to an entry or the main window.
  HWND FindBlockingWindow() const;
  // What the user calls the program that shows a window: its entry's name (its file name
  // when the entry has none) when the window belongs to an entry's process, else the
  // window's caption.
  CString ProgramNameOfWindow(HWND hWnd) const;
  // Brings the main window to the foreground (from whatever thread has the input).
  void BringMainForward();

  // ---- Closing ----------------------------------------------------------------------------
  // Deletes the lock file and closes the programs that were started: WM_CLOSE, a wait of
  // up to dwRoundMs x nRounds, then WM_CLOSE every 200 ms and termination after 20 tries.
  void CloseAll(DWORD dwRoundMs = 1000, int nRounds = 60);

  // How the card watcher learns whether the browser shows a memory-card folder.
  void SetCardFolderQuery(BOOL (*pfn)(void*), void* pContext) {
    m_pfnShowsCardFolder = pfn;
    m_pCardFolderContext = pContext;
  }

  CProgressMessageDlg& GetProgressDialog() { return m_progress; }
  CCardWatcher& GetCardWatcher() { return m_cardWatcher; }

 private:
  // Relay steps.
  textkit::RecordStatus OnFolderChangeText(const COPYDATASTRUCT* pcds);
  textkit::RecordStatus OnProgramRequest(const COPYDATASTRUCT* pcds);
  void OpenEditorWithFiles(LPCSTR lpszData, BOOL bSelectedOnly);
  void RefillApplicationFileList(const COPYDATASTRUCT* pcds);
  BOOL CheckDisplayAfterChange();

  // Programs.
  void PlaceProgram(int nIndex);
  void ShowProgressDialog(UINT nText);
  void CloseProgressDialog();

  // Monitor (timer 11).
  void MonitorTools(HWND hTimerWnd);
  void OnToolWindowGone(int nIndex);

  CTypedPtrArray<CPtrArray, CToolProcess*> m_tools;
  int m_nState;
  int m_nRequestedState;
  BOOL m_bForcedClose;
  BOOL (*m_pfnDisplayFit)();
  HWND m_hMainWnd;
  WINDOWPLACEMENT m_savedPlacement;
  BOOL m_bPlacementSaved;
  CRect m_rcSavedWork;
  BOOL m_bWorkSaved;
  int m_nSavedShow;
  BOOL m_bNudgeSize;
  HWND m_hRequester;      // asked for a file list (1626)
  textkit::RecordStatus m_lastTextStatus = textkit::RecordStatus::Ok;
  volatile LONG m_nBusy;  // waited on at close
  CProgressMessageDlg m_progress;
  CCardWatcher m_cardWatcher;
  BOOL (*m_pfnShowsCardFolder)(void*);
  void* m_pCardFolderContext;
};
