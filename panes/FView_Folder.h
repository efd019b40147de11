// CFView_Folder: the folder pane at the left of the main window, a form view (template
// 6000) that stacks one section per folder-tree plug-in. What it does so far: it stands
// in its cell, reports at start-up that its windows exist (ExeState VxFolder_Created),
// refreshes under its please-wait notice, keeps the profile's Renewaling flag, and
// answers the frame's calls and messages for a pane whose plug-in host holds no trees.
#pragma once
#include <fw/fw.h>

#include "TreePluginManager.h"

class CNoticeDlg;

class CFView_Folder : public CFormView {
  DECLARE_DYNCREATE(CFView_Folder)
 public:
  CFView_Folder();
  ~CFView_Folder() override;

  CTreePluginManager& GetManager() { return m_manager; }
  BOOL IsInitialised() const { return m_bInitialised; }
  BOOL IsPaneActive() const { return m_bPaneActive; }

  // The please-wait notice (if none is shown), then the refresh of message 1828.
  void RefreshWithNotice(CWnd* pFrame, LPARAM lMode = 0);
  void RenewalTrees();
  void ReopenSelection(int nCount);

  // Navigation of the current tree.
  BOOL GoUp();
  BOOL GoBack();
  BOOL GoForward();
  void OpenFolderByPath();
  BOOL CanGoUp() const;
  BOOL CanGoBack() const;
  BOOL CanGoForward() const;

  // Menu states of the main menu's popup at nIndex (0 file, 1 edit, 2 view, 13 go).
  void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);

  void OnInitialUpdate() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnRefreshFolders(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFolderTypeQuery(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReload(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshTrees(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTreeFocusChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAccepted(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Refresh(LPARAM lMode);
  void DestroyNotice();

  CTreePluginManager m_manager;
  BOOL m_bInitialised;
  BOOL m_bPaneActive;
  CNoticeDlg* m_pNotice;
};
