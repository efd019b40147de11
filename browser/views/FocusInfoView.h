// CFocusInfoView: the information pane under the enlarged image. Each tab is the page of
// one property-page plug-in that declares itself supported; the view hands every page the
// selected file's path (and an AVCHD scene's three values) and relays the map request.
// CInfoToolTipCtrl, the movie bar's tooltip, lives here too.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class CPropertyPluginSet;

class CFocusInfoTabCtrl : public CTabCtrl {
 public:
  CFocusInfoTabCtrl();
  ~CFocusInfoTabCtrl() override;
  // Loads the plug-ins (from pszFolder; the program folder when null); call before Create.
  void LoadPlugins(LPCSTR pszFolder = NULL);
  void AddPages();
  BOOL AddPage(int nIndex, CDialog* pPage);
  // Selects an existing tab and shows its page; FALSE (nothing done) for any other index.
  BOOL SelectPage(int nIndex);
  void ShowCurrentPage();
  void SetPath(LPCSTR pszPath);
  void SetThumInfo(int a, int b, int c);
  void ResizePages(const CRect& rc);
  CRect GetDisplayRect() const;
  int GetPageCount() const { return (int)m_pages.GetSize(); }
  CDialog* GetPage(int n) const { return n >= 0 && n < m_pages.GetSize() ? m_pages[n] : NULL; }

 protected:
  afx_msg LRESULT OnSetPath(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnShowMap(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CPropertyPluginSet* m_pPlugins;
  CArray<CDialog*, CDialog*> m_pages;
};

class VXGUITRANS_API CFocusInfoView : public CView {
  DECLARE_DYNCREATE(CFocusInfoView)
 public:
  CFocusInfoView();
  ~CFocusInfoView() override;
  CFocusInfoTabCtrl& GetTabs() { return m_tabs; }
  // Some plug-in gave a page; without one the pane is painted plain.
  BOOL HasPages() const;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  // Where the plug-ins are looked for (tests); the program folder by default.
  static void SetPluginFolder(LPCSTR pszFolder);

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnNotifyTcnSelChange(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  CFocusInfoTabCtrl m_tabs;
};

// The tooltip of the movie bar: its timer 3 is swallowed.
class CInfoToolTipCtrl : public CToolTipCtrl {
 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()
};
