// CFView_Toolbar: the toolbar pane across the top of the main window, a form view
// (template 7000) with a row of image buttons for the tools and the folder navigation.
// Which buttons exist follows what is installed beside the program; their enabled
// states follow the rest of the program on a 100 ms timer; their commands are routed
// by one table. The pane also relays the main window's messages and answers outside
// programs' file-list requests.
//
// Sources by concern: FView_Toolbar.cpp (creation, layout, painting, timers, window
// procedure), FView_ToolbarCommands.cpp (the command table and the commands of the
// plug-ins, navigation and settings), FView_ToolbarTools.cpp (the tool libraries and
// what follows a tool's run), FView_ToolbarSlides.cpp (the slide show's items),
// FView_ToolbarLauncher.cpp (the launcher button, the drop targets on the buttons and the
// lists opened by a drag), FView_ToolbarToolRuns.cpp (the picture tools, the date imprint,
// the shooting date, the place guess, the movie split and the conversion plug-ins),
// FView_ToolbarDrives.cpp (the disc drives and the card viewer), FView_ToolbarPersons.cpp
// (the person list: the entry editor, the face classification and the image picker). The decisions are in
// ToolbarRules and ToolRunRules.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "ICGBrowser.h"
#include "PpcPluginManager.h"
#include "SlideShowScenario.h"

class CSlideCollectDlg;
class CEntryEditDlg;
class CFaceClassifyRunner;
class CImagePickerDlg;
#include "ToolPluginManager.h"
#include "ToolbarRules.h"
#include "TreePluginManager.h"

class CBitmapButtonEx;
class CToolItemListWnd;
class CLauncherListWnd;
class CToolButtonDropTarget;
class CMainFrame;

// One button of the row.
class CToolButtonInfo {
 public:
  CToolButtonInfo() = default;
  ~CToolButtonInfo();
  int nCommand = 0;
  int nListBase = 0;
  int nLabelId = 0;
  CBitmapButtonEx* pButton = NULL;
  CToolItemListWnd* pList = NULL;  // an item list
  CLauncherListWnd* pLauncher = NULL;  // or the launcher's window
  int nClassKind = 1;
  int nAttachedKind = 0;
  CRect rcWide, rcNarrow;
  int nGroup = 0;
  BOOL bStoredEnable = TRUE;
};

// A message box of the tools: the text (formatted with lpszArg when given) under a caption.
int ShowToolBox(CWnd* pOwner, int nTextId, int nCaptionId, UINT nType, LPCSTR lpszArg = NULL);

class CFView_Toolbar : public CFormView {
  DECLARE_DYNCREATE(CFView_Toolbar)
 public:
  CFView_Toolbar();
  ~CFView_Toolbar() override;

  // Prepares the file, view and tools popups of the main menu for the toolbar's tools.
  void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
  static void ApplyMenuActions(CMenu* pPopup, const std::vector<toolbarrules::MenuAction>& actions);
  // A pending file list as "0|0|0|" + "path|1|0||" per file (the list is then gone);
  // 0 when there is none.
  BOOL TakePendingFileListText(CString& strText);
  // Closes the modeless slide-show collection dialog; its close result, 0 when none.
  int CloseSlideCollectDlg();
  void EnableUpButton(BOOL bEnable);
  void EnableForwardButton(BOOL bEnable);
  void EnableBackButton(BOOL bEnable);
  BOOL IsSlideCollectActive() const;
  BOOL IsEntryEditorActive() const;
  // The settings, slide records and music list a slide show starts with: from the
  // scenario being authored (bScenario) or the profile and the browser's files; negative
  // when the pictures could not be prepared.
  long BuildSlideShowItems(BOOL bScenario, SLD_QUALITY* pQuality, SLD_TYPE* pKind,
                           std::vector<tagSLD_V_TYPE>* pSlides, std::vector<tagSLD_A_TYPE>* pSounds, int* pnInterval,
                           int* pnRepeat);
  CSlideShowScenario& GetScenario() { return m_scenario; }
  // The slide-show list's commands (FView_ToolbarSlides.cpp).
  void OnSlideShowPlay();
  void OnSlideShowPlayAll();
  void OnSlideShowSettings();
  void OnOpenScenario();
  void OnNewSlideCollection();
  CSlideCollectDlg* GetSlideCollectDlg() const { return m_pSlideCollect; }

  void OnInitialUpdate() override;

  // The record whose command id (bByCommand) or list base id equals nKey; null when none.
  CToolButtonInfo* FindToolButton(int nKey, BOOL bByCommand);
  int GetButtonCount() const { return (int)m_buttons.size(); }
  CToolButtonInfo* GetButton(int i) const { return m_buttons[i]; }
  void HideButtonToolTip(CToolButtonInfo* pInfo);
  // Nonzero when no entry editor is left open: an open one closes when the user agrees.
  BOOL CloseEntryEditor();
  // Closes the entry editor; mode 0x10000 asks first (IDNO: the user kept it). 0 else.
  int CloseEntryEditorDlg(int nMode);
  // The target-choice dialog (preset for the classification when *pnChoice is 10): 1 with
  // the choice in *pnChoice, else the dialog's result.
  int ChooseFileTarget(int* pnChoice);
  // The person list's commands (FView_ToolbarPersons.cpp).
  void OnEntryEditorButton();
  void OnOpenEntryEditor();
  void OnFaceClassifyView();
  void OnImagePicker();
  CEntryEditDlg* GetEntryEditor() const { return m_pEntryEditor; }
  // Asks which files a tool takes: GetFileData flags, -1 when cancelled.
  long ShowToolSettingsDialog(int nTitleId);
  // After a tool: refresh the trees and the browser, the browser selecting the output
  // (or "Tool1" "FirstPath"); "FirstPath" is then emptied.
  void SendFirstPathToMainWnd(LPCSTR lpszSource, LPCSTR lpszOutput);
  // Tells the main window to show a folder, as the disk tree would. Returns 1.
  int SendExplorerFolderChange(LPCSTR lpszFolder);
  // Starts a program under the program folder and waits for its end with the main
  // window hidden and disabled; files it wrote beside the source are selected after.
  // TRUE when it started and ended.
  BOOL StartToolAndWait(LPCSTR lpszProgram, LPCSTR lpszArguments, LPCSTR lpszSource);
  // Keeps the system and the display awake while an outside program runs (a worker
  // thread that restarts the screen saver's idle count); FALSE stops it. Returns 1.
  int StartKeepAwake(BOOL bOn);
  // The system's text of an error code in a box.
  void FormatLastErrorText(DWORD dwError);

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnKeepBeforeExit(WPARAM, LPARAM);
  void CloseOwnDialogs();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  void OnDraw(CDC* pDC) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDropFiles(HDROP hDrop);
  afx_msg LRESULT OnSlideCollect(WPARAM wParam, LPARAM lParam);
  // Message 1864 (wParam the view code): the calendar views close the collection dialog;
  // an open one shows its music again, which may have gone meanwhile.
  afx_msg LRESULT OnViewModeChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCloseEditor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCloseImagePicker(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRelayedMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnToolListSelect(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnToolbarCommand(UINT nID);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  DECLARE_MESSAGE_MAP()

  // Layout and states (FView_Toolbar.cpp).
  void CreateButtons();
  void LayoutButtons();
  void UpdateButtonStates();
  CMainFrame* GetMainFrame() const;

  // Commands (FView_ToolbarCommands.cpp), routed by the table there.
 public:
  void OnFolderUp();
  void OnFolderBack();
  void OnFolderForward();
  void OnRefreshFolder();
  void OnOptions();
  void OnOpenManual();
  void OnLocationPage();
  void OnWriterSettings();
  void OnFolderTreeButton();
  void OnToolPluginButton();
  void OnPpcPluginButton();
  void OnListButton();
  // Tool libraries and outside programs (FView_ToolbarTools.cpp).
  void OnRename();
  void OnMovieProgram();
  // The launcher (FView_ToolbarLauncher.cpp): its window, or the dropped programs as entries.
  void OnLauncherButton();
  // A drag entered a button (message 1914): its list opens for the drop; -1 for no button.
  afx_msg LRESULT OnItemListDragEnter(WPARAM wParam, LPARAM lParam);
  // Message 1912: the page program (the external tools' entry 6) starts unless it runs.
  afx_msg LRESULT OnPageToolCheck(WPARAM wParam, LPARAM lParam);
  // Command 199: the launcher's window opens under its button until the cursor leaves.
  void OnShowLauncherList();
  // The button's list shown without the focus; timer 116 hides it once the cursor left.
  void ShowListForAWhile(CToolButtonInfo* pInfo);
  // The item list or the launcher's window under a button; null when none.
  CWnd* GetAttachedWindow(CToolButtonInfo* pInfo);
  // The first movie of the selection (the user confirms when there were others).
  BOOL PickFirstMovie(CString* pPath);
  // Picture tools, date imprint, shooting date, place guess and movie split
  // (FView_ToolbarToolRuns.cpp); the Run forms take the libraries' paths.
  void OnPictureTool();
  void RunPictureTool(int nCommand, LPCSTR lpszLibrary);
  void OnDateImprint();
  void RunDateImprint(LPCSTR lpszStampLibrary, LPCSTR lpszPromptLibrary);
  void OnUpdateShotDate();
  void RunShotDate(LPCSTR lpszLibrary);
  void OnGuessPlace();
  void RunGuessPlace(LPCSTR lpszLibrary);
  void OnSplitClip();
  void RunSplitClip(LPCSTR lpszLibrary);
  // The files a picture tool takes into pList: their count, -1 when the command ends.
  // pCounts gets the nine counters by extension.
  int CollectImageToolFiles(int nTitleId, CGFileInfoList* pList, BOOL bAcceptSpecial, int* pnFlagged, int* pCounts);
  // 0 without a movie, 1 only movies, 2 movies and other files.
  int CheckMovieSelection(CGFileInfoList* pList);
  // 1 when the disk is too full for a tool run (the user was told), else 0.
  int CheckDiskAndMemory();
  BOOL HasMakerNoteMark(LPCSTR lpszPath);
  BOOL IsExifUnconvertible(LPCSTR lpszPath);
  // The photo database follows a tool's output: a new thumbnail when written in place,
  // else the source's entry moved or copied.
  void UpdateDatabaseForToolOutput(LPCSTR lpszSource, LPCSTR lpszOutput);
  // A conversion plug-in (entry nIndex) on the files.
  void RunPpcPlugin(int nIndex);
  void RunPpcPlugin(CPpcPluginManager* pPlugins, int nIndex);
  // The disc-drive list and the switch to the card viewer (FView_ToolbarDrives.cpp).
  void OnDiscDriveButton();
  void OnDiscDriveItem();
  void OnSwitchToCardViewer();

 protected:
  void ShowButtonList(int nCommand);
  void StopMusic();
  // The month calendar and the music view refuse a command: its message, TRUE.
  BOOL RefusedByViewMode(int nMonthId, int nMusicId, UINT nIcon);
  // A slide-show command that the calendar view shown refuses: its message, TRUE.
  BOOL RefusedSlideCommand(int nCommand);
  void RunTreePlugin(int nIndex, BOOL bCalendarTest);
  // The pending list, or the target the user chooses and the browser's files; null
  // when cancelled.
  CGFileInfoList* TakeToolFiles(int nTitleId);
  // Takes out the files the support kind rejects: how many.
  int RemoveUnsupportedFiles(CGFileInfoList* pList, int nKind);
  // A pending list, or files of the kind in the browser; FALSE (the user told) otherwise.
  BOOL PassesTargetGate(int nKind, int nTitleId);
  // Handles up to ten messages of a progress window; TRUE when its Cancel was clicked.
  BOOL ProgressCancelled(CWnd* pProgress, BOOL* pbArmed);
  // The rows' size of an item list for its labels (at least 118 x 29).
  SIZE MeasureItemList(CToolItemListWnd* pList);
  // A new item list of the row's colours (hidden).
  CToolItemListWnd* MakeItemList(int nBase, const std::vector<toolbarrules::ListItem>& items);
  UINT m_nCurrentCommand;  // the command being routed, for handlers shared by buttons

  CToolPluginManager* m_pToolPlugins;
  CTreePluginManager* m_pTreePlugins;
  CTreePluginEntry* m_treeEntries[9];
  CToolPluginEntry* m_toolEntries[9];
  std::vector<CToolButtonInfo*> m_buttons;
  HWND m_hRequester;  // the window that asked for the file list (message 1556)
  CPpcPluginManager* m_pPpcPlugins;
  CGFileInfoList* m_pPendingFiles;
  int m_nLastToolState;
  BOOL m_bToolStateKnown;
  CWinThread* m_pKeepAwake;
  volatile LONG m_nKeepAwakeStop;
  HANDLE m_hKeepAwakeStop;
  static UINT KeepAwakeThreadProc(LPVOID pParam);
  // The drop targets on the buttons that take files, and the button whose list a drag
  // opened (timer 116 hides it once the drag has gone elsewhere).
  std::vector<CToolButtonDropTarget*> m_dropTargets;
  int m_nDragListButton = 0;
  void RegisterDropTargets();
  void RevokeDropTargets();
  void OnListHideTimer();

 public:
  // Takes the pending list (the caller deletes it); null when none.
  CGFileInfoList* TakePendingFiles();
  // The slide show being authored (opened scenario or new collection).
  CSlideShowScenario m_scenario;
  // The modeless collection dialog over m_scenario; null when none is open.
  CSlideCollectDlg* m_pSlideCollect = NULL;
  void OpenSlideCollectDlg();
  // The modeless person entry editor, the picker while it runs and the classification.
  CEntryEditDlg* m_pEntryEditor = NULL;
  CImagePickerDlg* m_pImagePicker = NULL;
  CFaceClassifyRunner* m_pFaceClassify = NULL;
};
