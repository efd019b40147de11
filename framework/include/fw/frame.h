// Frame windows: a top-level window holding bars and a client (a view or a tree of
// splitters), routing commands and showing menu prompts in its status bar.
#pragma once
#include <fw/docview.h>

class CControlBar;

// Frame styles (low word of the window style).
#define FWS_ADDTOTITLE 0x00008000L   // the title shows the active document's name
#define FWS_PREFIXTITLE 0x00004000L  // ... before the application's name
#define FWS_SNAPTOBARS 0x00002000L

class FW_API CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  static const CRect rectDefault;

  CFrameWnd();
  ~CFrameWnd() override;

  // Frames live on the heap and delete themselves (PostNcDestroy), also when Create or
  // LoadFrame fails: the caller must not delete the object after a failure.
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = NULL, LPCSTR lpszMenuName = NULL,
              DWORD dwExStyle = 0, CCreateContext* pContext = NULL);
  // Title (string nIDResource up to its first "\n"), menu and accelerators of nIDResource
  // from the resource chain; a missing menu leaves the frame without one.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
  BOOL LoadAccelTable(LPCSTR lpszResourceName);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL IsFrameWnd() const override;

  // Client: OnCreate runs OnCreateClient, which by default makes the context's view class
  // as the pane AFX_IDW_PANE_FIRST.
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

  // Active view: the one commands go to first.
  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  virtual CFrameWnd* GetActiveFrame() { return this; }

  // Bars take their room first, the pane AFX_IDW_PANE_FIRST gets the rest.
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  virtual void ActivateFrame(int nCmdShow = -1);
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
  void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
  CString GetTitle() const { return m_strTitle; }

  // Menu prompts and the status line.
  virtual CWnd* GetMessageBar();  // the status bar (AFX_IDW_STATUS_BAR)
  // The prompt of a command: string nID up to its first "\n"; empty when there is none.
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  void SetMessageText(LPCSTR lpszText);
  void SetMessageText(UINT nID);
  CControlBar* GetControlBar(UINT nID);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);

  // Commands the derived frame routes by hand in its own OnCmdMsg: they count as handled
  // when menus and bars ask whether to grey them.
  void AddHandRoutedCommands(UINT nFirstID, UINT nLastID);
  BOOL IsHandRoutedCommand(UINT nID) const;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

  BOOL m_bAutoMenuEnable;  // menu items without handlers are greyed
  UINT m_nIDHelp;
  CString m_strTitle;
  CRect m_rectBorder;      // room kept around the client
  HMENU m_hMenuDefault;
  HACCEL m_hAccelTable;
  UINT m_nIDTracking;      // the prompt being shown
  UINT m_nIDLastMessage;
  BOOL m_bHelpMode;

 protected:
  void PostNcDestroy() override;  // frames delete themselves

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnClose();  // the framework's close: documents first, then the window
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRecalcParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnQueryCenterWnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
  afx_msg BOOL OnBarCheck(UINT nID);

  CView* m_pViewActive;
  BOOL m_bInRecalcLayout;
  BOOL m_bTitleDirty;
  CDWordArray m_handRouted;  // pairs of first and last id

  DECLARE_MESSAGE_MAP()
};
