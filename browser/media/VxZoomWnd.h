// CVxZoomWnd: the browser's full-screen viewer. A borderless top-most frame over the whole
// primary screen shows one picture or movie on black: zoom and pan of pictures, steps
// through the items and groups (asked of the owner with VX3D_ZOOMMODE_WND), mark, play and
// pause. A panel of bitmap buttons along the bottom fades out after two seconds without
// input, each button blended over what lies under it. Decisions are in ZoomWndRules.h.
// The window deletes itself when destroyed.
//   VxZoomWnd.cpp       creation, painting, items, zoom, keys, mouse, closing
//   VxZoomWndPanel.cpp  the panel: buttons, layout, enabling, fades, cursor
#pragma once
#include <fw/fw.h>

#include <Kitlib2/CMDIB.h>

#include "HoverBitmapButton.h"
#include "ZoomWndRules.h"

class CMovieCtrl;

// The window's own commands (the panel's buttons post them, the keys send them).
enum {
  ZWM_PREV_GROUP = 1545, ZWM_PREV_ITEM = 1546, ZWM_NEXT_ITEM = 1547, ZWM_NEXT_GROUP = 1548, ZWM_ZOOM_IN = 1549,
  ZWM_ZOOM_OUT = 1550, ZWM_ACTUAL = 1551, ZWM_FIT = 1552, ZWM_MARK = 1553, ZWM_PLAY = 1563
};
// The owner protocol's codes.
enum {
  ZOWN_CREATED = 1, ZOWN_CLOSING = 15, ZOWN_MARK_STATE = 17, ZOWN_SET_MARK = 18, ZOWN_HAS_PREV_GROUP = 19,
  ZOWN_HAS_PREV_ITEM = 20, ZOWN_HAS_NEXT_ITEM = 21, ZOWN_HAS_NEXT_GROUP = 22, ZOWN_PREV_GROUP = 33,
  ZOWN_PREV_ITEM = 34, ZOWN_NEXT_ITEM = 35, ZOWN_NEXT_GROUP = 36, ZOWN_FIRST = 37
};

class CVxZoomWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CVxZoomWnd)
 public:
  CVxZoomWnd();
  ~CVxZoomWnd() override;

  void SetOwner(CWnd* pOwner) { m_pOwner = pOwner; }
  void SetNoPictureBitmap(HBITMAP hBitmap) { m_hNoPicture = hBitmap; }
  void SetMovieCtrl(CMovieCtrl* pMovie);
  BOOL SetImage(LPCSTR pszPath, BOOL bDisplayable, BOOL bMarkable, BOOL bMovie, BOOL bLoad);
  CString GetPath() const { return m_strPath; }
  int GetZoom() const { return m_nZoom; }
  const RECT& GetImageRect() const { return m_rcImage; }
  int GetPanelAlpha() const { return m_nAlpha; }
  CButton* GetButton(int n) const { return n >= 0 && n < kZbCount ? m_apButtons[n] : NULL; }
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // The controller's switches (see CZoomWndController).
  BOOL m_bOpened, m_bMovieBusy, m_bWantAnimation, m_bReady, m_bChanging, m_bMovieClosing;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnTimer(UINT_PTR nId);
  // Each command's handler: first its button must be enabled.
  LRESULT OnZoomCommand(UINT nMessage);
  afx_msg LRESULT OnPrevGroup(WPARAM, LPARAM);
  afx_msg LRESULT OnPrevItem(WPARAM, LPARAM);
  afx_msg LRESULT OnNextItem(WPARAM, LPARAM);
  afx_msg LRESULT OnNextGroup(WPARAM, LPARAM);
  afx_msg LRESULT OnZoomIn(WPARAM, LPARAM);
  afx_msg LRESULT OnZoomOut(WPARAM, LPARAM);
  afx_msg LRESULT OnActual(WPARAM, LPARAM);
  afx_msg LRESULT OnFit(WPARAM, LPARAM);
  afx_msg LRESULT OnMark(WPARAM, LPARAM);
  afx_msg LRESULT OnPlay(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  LRESULT AskOwner(int nCode, LPARAM lParam = 0) const;
  BOOL LoadItem(BOOL bResume);
  int SetZoom(int nPercent, BOOL bFlag);
  int FitZoom() const;
  int UsableHeight() const;
  void RunCommand(UINT nMessage);
  void Animate(CDC& dc);
  // Panel (VxZoomWndPanel.cpp).
  void CreatePanel();
  void LayoutPanel();
  void ShowPanel(int nShow);
  void ApplyAlpha();
  void ResetButtonBackgrounds();
  void CaptureButtonBackgrounds();
  void UpdateNavButtons(BOOL bBusy);
  void UpdateButtons(BOOL bBusy);
  void SetMarkImage(BOOL bMarked);
  void RearmPanel(bool bMouseMove);
  bool AnyButtonUnder(POINT ptScreen) const;
  void UpdateCursor(bool bLeftDown);
  void TakeFocus();

  CCMDIB m_source, m_scaled;
  CPoint m_ptLast, m_ptDrag;
  RECT m_rcImage;
  int m_nImageW, m_nImageH, m_nZoom;
  CString m_strPath;
  BOOL m_bDisplayable, m_bMarked, m_bMarkable, m_bMovie;
  HCURSOR m_hArrow, m_hClosedHand, m_hOpenHand, m_hButtonCursor;
  HBITMAP m_hNoPicture;
  int m_nAlpha;
  // The backgrounds the buttons blend over are taken from the first paint of an item or a
  // zoom, and whenever the panel was hidden meanwhile (a pan).
  BOOL m_bFirstPaintDone, m_bPanelDrawn;
  CHoverBitmapButton* m_apButtons[kZbCount];
  CWnd* m_pOwner;
  CMovieCtrl* m_pMovie;
  double m_dResume;
  BOOL m_bWasPlaying;
  UINT m_uOwnerMsg;
};
