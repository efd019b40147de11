// Status bars: the common status control (CStatusBarCtrl) and the frame's status bar
// (CStatusBar) with panes by command id.
#pragma once
#include <fw/ctrlbar.h>

// Pane styles (the low word goes to the control as SB_SETTEXT flags).
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS  // 0x0100
#define SBPS_POPOUT SBT_POPOUT        // 0x0200
#define SBPS_OWNERDRAW SBT_OWNERDRAW  // 0x1000
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000       // takes the room the others leave

class FW_API CStatusBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CStatusBarCtrl)
 public:
  CStatusBarCtrl() {}
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL SetText(LPCSTR lpszText, int nPane, int nType) {
    return (BOOL)SendMessage(SB_SETTEXTA, (WPARAM)(nPane | nType), (LPARAM)lpszText);
  }
  CString GetText(int nPane, int* pType = NULL) const;
  int GetTextLength(int nPane, int* pType = NULL) const;
  BOOL SetParts(int nParts, int* pWidths) { return (BOOL)SendMessage(SB_SETPARTS, nParts, (LPARAM)pWidths); }
  int GetParts(int nParts, int* pParts) const { return (int)SendMessage(SB_GETPARTS, nParts, (LPARAM)pParts); }
  BOOL GetBorders(int* pBorders) const { return (BOOL)SendMessage(SB_GETBORDERS, 0, (LPARAM)pBorders); }
  void SetMinHeight(int nMin) { SendMessage(SB_SETMINHEIGHT, nMin); }
  BOOL SetSimple(BOOL bSimple = TRUE) { return (BOOL)SendMessage(SB_SIMPLE, bSimple); }
  BOOL IsSimple() const { return (BOOL)SendMessage(SB_ISSIMPLE); }
  BOOL GetRect(int nPane, LPRECT lpRect) const { return (BOOL)SendMessage(SB_GETRECT, nPane, (LPARAM)lpRect); }
  BOOL SetIcon(int nPane, HICON hIcon) { return (BOOL)SendMessage(SB_SETICON, nPane, (LPARAM)hIcon); }
  HICON GetIcon(int nPane) const { return (HICON)SendMessage(SB_GETICON, nPane); }
  COLORREF SetBkColor(COLORREF cr) { return (COLORREF)SendMessage(SB_SETBKCOLOR, 0, (LPARAM)cr); }
  void SetTipText(int nPane, LPCSTR pszTipText) { SendMessage(SB_SETTIPTEXTA, nPane, (LPARAM)pszTipText); }

  // Owner-drawn panes (SBT_OWNERDRAW) are drawn here when the parent reflects WM_DRAWITEM.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// Widths of the panes of a status bar, as right edges: each pane its text width plus
// the pane border; stretching panes share what is left of cxClient.
FW_API void AFXAPI AfxStatusPaneRights(const int* pcxText, const UINT* pnStyle, int nCount, int cxClient,
                                       int cxFirstBorder, int cxGap, int* pRights);

class FW_API CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  CStatusBar();
  ~CStatusBar() override;

  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                      UINT nID = AFX_IDW_STATUS_BAR);
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
  // One pane per id; a pane's text and width come from the string with its id (a missing
  // string gives an empty pane). ID_SEPARATOR as the first id: a stretching pane without
  // borders that shows the frame's messages.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  int GetCount() const override { return m_nCount; }

  void GetPaneText(int nIndex, CString& rString) const;
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  CStatusBarCtrl& GetStatusBarCtrl() const { return *(CStatusBarCtrl*)this; }

  // Owner-drawn panes (SBPS_OWNERDRAW); itemData of the structure is the pane's text.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  // Lays the panes out again (after width or style changes) and sends pending texts.
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

  int m_nMinHeight;

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);

  struct Pane;
  Pane* m_pData;
  int m_nCount;

  DECLARE_MESSAGE_MAP()
};
