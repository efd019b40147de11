// Scrolling views and form views.
#pragma once
#include <fw/docview.h>

// Scroll-bar decision of a scrolling view: which bars a document of sizeTotal needs in a
// client of sizeClient (the client with no bars shown; sizeSb: the room a bar takes), the
// scroll range per axis and the position to keep (ptCurrent pulled back to the range).
struct AFX_SCROLLBARSTATE {
  BOOL bNeedH;
  BOOL bNeedV;
  SIZE sizeRange;  // > 0: that much to scroll
  POINT ptMove;
};
FW_API AFX_SCROLLBARSTATE AFXAPI AfxScrollBarState(SIZE sizeTotal, SIZE sizeClient, SIZE sizeSb, POINT ptCurrent,
                                                   BOOL bInsideClient);
// Pixels one wheel notch of zDelta scrolls, given the system's lines per notch
// (WHEEL_PAGESCROLL: a page) and the view's line and page sizes.
FW_API int AFXAPI AfxWheelScrollAmount(short zDelta, UINT nLinesPerNotch, int nLine, int nPage);

class FW_API CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
 protected:
  CScrollView();

 public:
  ~CScrollView() override;

  static const SIZE sizeDefault;  // 0 x 0: a tenth of the total / of the page

  // Document size in logical units of nMapMode (MM_TEXT: pixels); page and line sizes
  // default to a tenth of the total and of the page.
  void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                      const SIZE& sizeLine = sizeDefault);
  CPoint GetScrollPosition() const;        // logical; negative while a small document is centred
  CPoint GetDeviceScrollPosition() const;
  void ScrollToPosition(POINT pt);         // logical
  void ScrollToDevicePosition(POINT ptDev);
  CSize GetTotalSize() const { return m_totalLog; }
  void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
  void CheckScrollBars(BOOL& bHasHorzBar, BOOL& bHasVertBar) const;
  void FillOutsideRect(CDC* pDC, CBrush* pBrush);
  void ResizeParentToFit(BOOL bShrinkOnly = TRUE);
  // A document smaller than the window is drawn in its middle (TRUE after construction).
  void SetCenter(BOOL bCenter) { m_bCenter = bCenter; }

  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL) override;
  BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE) override;
  BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;

 protected:
  void UpdateBars();
  // The bar's page and range, told to the bar only when they changed.
  void SetScrollPageAndRange(int nBar, int nPage, int nMax);
  BOOL GetTrueClientSize(CSize& size, CSize& sizeSb);
  void GetScrollBarSizes(CSize& sizeSb);
  BOOL DoMouseWheel(UINT fFlags, short zDelta, CPoint point);

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT fFlags, short zDelta, CPoint point);

  int m_nMapMode;
  CSize m_totalLog;
  CSize m_totalDev;
  CSize m_pageDev;
  CSize m_lineDev;
  BOOL m_bCenter;
  BOOL m_bInsideUpdate;

  DECLARE_MESSAGE_MAP()
};

// A view whose content is a dialog template (from the resource chain). Right after
// Create, GetTotalSize() is the template's size.
class FW_API CFormView : public CScrollView {
  DECLARE_DYNAMIC(CFormView)
 protected:
  explicit CFormView(LPCSTR lpszTemplateName);
  explicit CFormView(UINT nIDTemplate);

 public:
  ~CFormView() override;

  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwRequestedStyle, const RECT& rect,
              CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;  // dialog keys for the form's controls
  void OnInitialUpdate() override;               // controls get their data (UpdateData(FALSE))

  LPCSTR m_lpszTemplateName;

 protected:
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) override;
  BOOL SaveFocusControl();

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

  CCreateContext* m_pCreateContext;
  HWND m_hWndFocus;  // the control that had the focus last

  DECLARE_MESSAGE_MAP()
};
