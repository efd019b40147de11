// CMainStatusBar: the main frame's status bar. Panes: 0 the frame's messages, 1 the
// number of marked files, 2 the number of selected files (at start the browser's mode),
// 3 the number of files in the folder, or while the browser reads a folder a progress
// bar with a caption and the count. It paints itself from the resource library's bitmaps
// on a dark background; the browser and the frame feed it with private messages.
#pragma once
#include <fw/fw.h>

class CVxDocument;

class CMainStatusBar : public CStatusBar {
 public:
  CMainStatusBar();
  ~CMainStatusBar() override;

  // The base creation, then the panes, their widths, icons, colours and first texts.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
              UINT nID = AFX_IDW_STATUS_BAR) override;

  int GetProgress() const { return m_nProgress; }
  const CString& GetSelectText() const { return m_strSelectText; }
  const CString& GetMarkText() const { return m_strMarkText; }
  const CString& GetFileCountText() const { return m_strFileCountText; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnPaneText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSelectCount(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMarkCount(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProgress(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFileCount(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // The document of the frame's active view; null without one.
  CVxDocument* GetActiveVxDocument();
  long GetBrowserFileCount();
  void ComputePaneWidths();
  void CreateTextFont();
  void DrawPaneText(CDC* pDC, int nPane, const CString& strText, int nLeftOffset, int nRightOffset, int nEraseLeft,
                    int nEraseRight);
  void DrawProgress(CDC* pDC);
  void RedrawPane(int nPane);
  // The selection or mark count of the browser in its pane.
  void ShowCount(int nPane, const CString& strFormat, CString& strText, BOOL bMarks);

  UINT m_nProgressPaneId;
  int m_nProgress;
  CString m_strSelectFormat;
  CString m_strMarkFormat;
  CString m_strFileCountFormat;
  CString m_strSelectText;
  CString m_strMarkText;
  CString m_strFileCountText;
  CString m_strProgressCaption;  // string 29900, loaded once
  CFont m_font;
};
