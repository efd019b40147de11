// The strip over the browser: view-mode buttons, the thumbnail-size slider and the sort
// and filter lists. Choices go to the main window as messages (WM_BROWSER_SORT,
// WM_BROWSER_MASK, WM_BROWSER_THUMB_SIZE; wParam = the strip's window); the strip follows
// the document's sort, filter, enable and view-mode changes.
#pragma once
#include <fw/fw.h>

#include <map>

#include "MainWndMessages.h"
#include "SkinComboBox.h"
#include "SubViewLabel.h"
#include "SubViewRules.h"
#include "ThumbSlider.h"
#include "VxGUITransApi.h"

// Document hints the strip follows.
enum {
  SUBVIEW_HINT_FILTER = 2,
  SUBVIEW_HINT_SORT = 4,
  SUBVIEW_HINT_ENABLE = 5,
  SUBVIEW_HINT_SELF = 6,
  SUBVIEW_HINT_DISABLE = 8,
};

// What the strip reads of the browser's state.
struct CSubViewBrowserState {
  int nSortID = -1;
  int nFilterID = -1;
  UINT nViewMode = 0;
  int nThumbMode = 0;
};

class VXGUITRANS_API CBrowserSubView : public CView {
  DECLARE_DYNCREATE(CBrowserSubView)
 public:
  CBrowserSubView();
  ~CBrowserSubView() override;

  CSkinComboBox* GetCombo(UINT nID) const;
  CThumbSlider* GetSlider() const { return m_pSlider; }
  CToolBar* GetToolBar() const { return m_pToolBar; }
  const subview::Layout& GetLayout() const { return m_layout; }
  bool AreCombosShown() const { return m_bCombosShown; }

  // The browser's state as the document holds it; a view without a browser document
  // reads the defaults.
  virtual CSubViewBrowserState ReadBrowserState() const;
  // A view-mode command carried by a hint object: its value, or -1 when it is none.
  virtual int ViewModeValueOfHint(CObject* pHint) const;

 protected:
  void OnDraw(CDC* pDC) override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  // creation and layout
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  // choices
  afx_msg void OnSortChange();
  afx_msg void OnFilterChange();
  afx_msg LRESULT OnSliderPosition(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnToolbarPrompt(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  bool CreateControls();
  void FillCombo(CSkinComboBox* pCombo, const UINT* ids, int count, int* pWidest);
  void RecalcLayout();
  void SendToMainWindow(UINT message, LPARAM lParam);

  CUIntArray m_filterIds;
  CUIntArray m_sortIds;
  CToolBar* m_pToolBar;
  CBitmap m_bmToolBar;
  std::map<UINT, CSubViewLabel*> m_labels;
  std::map<UINT, CSkinComboBox*> m_combos;
  std::map<UINT, CSubViewLabel*> m_musicLabels;
  CThumbSlider* m_pSlider;
  CBrush m_brBack;
  CBrush m_brWhite;
  bool m_bCombosShown;
  int m_cxSortCombo;  // the combos' widths for their widest entries
  int m_cxFilterCombo;
  subview::Layout m_layout;
};
