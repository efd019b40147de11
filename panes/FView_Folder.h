// CFView_Folder: the folder pane at the left of the main window, a form view (template
// 6000) that stacks one section per folder-tree plug-in: a title button over the
// plug-in's tree. Sections open and close like an accordion, hide and show from the View
// menu, and resize by dragging the gap between two open trees; a selection in a tree
// becomes a folder change that the pane sends to the main window.
//
// Sources by concern:
//   FView_Folder.cpp          life, painting, refresh, messages, menus and commands
//   FView_FolderSections.cpp  trees and title buttons, layout, splitter, hide/show, state
//   FView_FolderChanges.cpp   folder changes in (WM_COPYDATA) and out, the history
//   FView_FolderNavigation.cpp  up, go-to-folder, trees opened by title, the frame's buttons
#pragma once
#include <fw/fw.h>

#include <string>

#include "FolderHistoryRules.h"
#include "TreePluginManager.h"

class CNoticeDlg;
class CPluginTreeCtrl;
class CImageCheckButton;

class CFView_Folder : public CFormView {
  DECLARE_DYNCREATE(CFView_Folder)
 public:
  CFView_Folder();
  ~CFView_Folder() override;

  // The folder the next panes look for their plug-ins in (empty: the program folder).
  static void SetPluginFolder(LPCSTR lpszFolder);
  // The browser's window when the main window is no frame that registered one.
  static void SetBrowserView(HWND hWnd) { s_hBrowserView = hWnd; }
  // The file-system path of the shell's desktop folder (MAX_PATH characters), "" if none.
  static void GetDesktopFolderPath(char* pszPath);

  CTreePluginManager& GetManager() { return m_manager; }
  int GetButtonCount() const { return (int)m_buttons.GetSize(); }
  CImageCheckButton* GetButton(int n) const { return n >= 0 && n < m_buttons.GetSize() ? m_buttons[n] : NULL; }
  const CString& GetCurrentTitle() const { return m_strCurrentTitle; }

  // Sections.
  void Relayout();
  // Hides a shown tree or shows a hidden one (the n-th among the trees, from 0); FALSE
  // when hiding would leave no open tree (refused with a message box unless bQuiet).
  BOOL ToggleTree(int nTree, BOOL bQuiet = FALSE);
  void SaveTreeState();
  void SetButtonImages();
  BOOL IsInitialised() const { return m_bInitialised; }
  BOOL IsPaneActive() const { return m_bPaneActive; }

  // The please-wait notice (if none is shown), then the refresh of message 1828.
  void RefreshWithNotice(CWnd* pFrame, LPARAM lMode = 0);
  void RenewalTrees();
  // Sends the current tree's request again (bReset: even when it names the same folder).
  void ReopenSelection(BOOL bReset);

  // Navigation of the current tree.
  BOOL GoUp();
  BOOL GoBack();
  BOOL GoForward();
  // Go to a typed folder in the disk tree; FALSE when there is no disk tree.
  BOOL OpenFolderByPath();
  // What OK in the go-to-folder dialog does with the typed path.
  BOOL OpenFolderPath(LPCSTR lpszPath);
  // Makes the tree of that title current, opened, and shows the path (or query) in it.
  BOOL SelectTreeByTitle(LPCSTR lpszTitle, LPCSTR lpszPath, BOOL bFocus);
  BOOL SelectQueryByTitle(LPCSTR lpszTitle, LPCSTR lpszQuery, BOOL bFocus);
  // The first tree whose plug-in finds an item of that name: the item selected, opened and
  // shown in the browser. FALSE when no plug-in finds one.
  BOOL OpenTreeItemByName(LPCSTR lpszName);
  // The frame's back, forward and up buttons follow the history.
  void SetNavigationButtons();
  // A browser change waiting for its resend (empty: none).
  const std::string& GetPendingText() const { return m_strPendingText; }
  BOOL CanGoUp() const;
  // The browser shows a calendar: no folder history to move in.
  static BOOL BrowserShowsCalendar();
  // The browser's view code as the document stores it (5: focus mode).
  static int BrowserViewCode();
  BOOL CanGoBack() const;
  BOOL CanGoForward() const;

  // Menu states of the main menu's popup at nIndex (0 file, 1 edit, 2 view, 13 go).
  void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);

  void OnInitialUpdate() override;
  // The document's command hints: a view-mode change re-evaluates the navigation buttons,
  // a settings change reaches every plug-in.
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnKeepBeforeExit(WPARAM, LPARAM);
  afx_msg LRESULT OnRefreshFolders(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFolderTypeQuery(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReload(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshTrees(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTreeFocusChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAccepted(WPARAM wParam, LPARAM lParam);
  afx_msg UINT OnPowerBroadcast(UINT nEvent, LPARAM lData);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyData);
  afx_msg LRESULT OnSelectClassifyRoots(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStoreHistoryBack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStoreHistoryForward(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGoBack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGoForward(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGoUp(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOpenFolder(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNavigationButtons(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Refresh(LPARAM lMode);
  void DestroyNotice();
  void CreateSections();
  void ReadTreeState();
  void DestroySections();
  // The tree number (from 1, among entries with a tree) of a tree window, 0 for none.
  int TreeNumberOf(HWND hTree, CTreePluginEntry** ppEntry) const;
  CTreePluginEntry* EntryByTitle(LPCSTR lpszTitle) const;
  // The entry removed by the manager loses its title button.
  void DropButtonOf(CTreePluginEntry* pEntry);
  BOOL SplitterAt(CPoint point, CTreePluginEntry** ppUpper, CTreePluginEntry** ppLower) const;
  void DrawBand(int y);
  // The heights of the dragged trees with the gap at y; FALSE when either gets too small.
  BOOL DragHeightsAt(int y, int* pnUpper, int* pnLower) const;
  void ForwardChange(const std::string& text);
  // A request from one of the pane's trees (nTree from 1), bounded by its block.
  void OnTreeRequest(int nTree, CTreePluginEntry* pEntry, const char* data, size_t cb);
  // The window of the n-th tree (from 1), null past the end.
  HWND TreeWindowAt(int nTree) const;
  CTreePluginEntry* CurrentEntry() const;
  // A command of the pane's own ranges (folder menu, plug-in window, tree shown, settings).
  void RunCommand(UINT nID);
  folderhistory::Entry HistoryEntryOf(CTreePluginEntry* pEntry);
  // Re-selects a history entry's items in its tree and sends its request; FALSE when the
  // tree or all its items are gone.
  BOOL OpenHistoryEntry(const folderhistory::Entry& entry);
  BOOL StepHistory(int nStep);
  // The entry's section shown, opened and its tree made, the pane laid out.
  void OpenSection(CTreePluginEntry* pEntry);
  // A request sent to the pane as if from the tree.
  void SendAsTree(CPluginTreeCtrl* pTree, const std::string& request);
  // The browser's window (the frame's first registered pane window), null without one.
  HWND BrowserView() const;

  CTreePluginManager m_manager;
  BOOL m_bInitialised;
  BOOL m_bPaneActive;
  CNoticeDlg* m_pNotice;
  CTypedPtrArray<CPtrArray, CImageCheckButton*> m_buttons;
  CFont m_titleFont;
  int m_nCurrentTree;
  HWND m_hCurrentTree;
  CString m_strCurrentTitle;
  // The section splitter's drag: the trees above and below, the band's line, -1 none.
  CTreePluginEntry* m_pDragUpper;
  CTreePluginEntry* m_pDragLower;
  int m_nDragLine;
  folderhistory::History m_history;
  BOOL m_bNavigating;
  std::string m_strPendingText;
  static HWND s_hBrowserView;
  // One-shot: the held browser text goes out.
  static const UINT_PTR kPendingTimer = 2005;
};
