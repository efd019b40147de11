// CFView_Toolbar: the toolbar pane across the top of the main window, a form view
// (template 7000) with the buttons of the tools and navigation commands. What it does so
// far: it stands in its row and answers the frame's calls and messages for a pane that
// has no buttons, tools or dialogs yet (no pending file list, no slide-show collection,
// no entry editor).
#pragma once
#include <fw/fw.h>

#include <vector>

#include "ICGBrowser.h"

class CFView_Toolbar : public CFormView {
  DECLARE_DYNCREATE(CFView_Toolbar)
 public:
  CFView_Toolbar();
  ~CFView_Toolbar() override;

  // Prepares the file, view and tools popups of the main menu for the toolbar's tools.
  void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
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
  // Fills the slide items and the music list for a slide show; negative on failure.
  long BuildSlideShowItems(SLD_TYPE type, std::vector<tagSLD_V_TYPE>* pSlides, std::vector<tagSLD_A_TYPE>* pSounds);

  void OnInitialUpdate() override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSlideCollect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCloseEditor(WPARAM wParam, LPARAM lParam);
  afx_msg void OnOptions();
  DECLARE_MESSAGE_MAP()
};
