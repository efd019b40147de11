// CCalendarDayView: the pictures and movies of one recording day as a grid of thumbnails
// under a date bar, with buttons to the neighbouring recording days and to the month
// calendar. Selection and marks live in the browser document; the view asks for changes
// and repaints. The base view creates it by run-time class and shows it for the day mode.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "CalendarDayRules.h"
#include "VxGUITransApi.h"

class CThumbnail;
class CThumbnailPage;
class CBrowserDocument;
class CImgButton;
class CLabelEdit;
class CRecDateFinder;
class CDropSource;
class CZoomWndController;
class CBitmapResourceContainer;

class VXGUITRANS_API CCalendarDayView : public CView {
  DECLARE_DYNCREATE(CCalendarDayView)
 public:
  CCalendarDayView();
  ~CCalendarDayView() override;

  // One per visible cell, rebuilt by every paint.
  struct ViewInfo {
    RECT rcCell;
    RECT rcCheck;
    CThumbnail* pThumbnail;
  };

  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

  CRect GetThumbnailAreaRect() const;
  CRect GetDragSelectAreaRect() const;
  calday::Grid GetRowColumn(int width = 0, int height = 0) const;
  BOOL GetLabelRect(const ViewInfo& info, CRect* pRect) const;
  BOOL HitTestThumbnail(const ViewInfo& info, CPoint pt) const;
  CPoint ClientToVirtual(CPoint pt) const;
  CPoint VirtualToClient(CPoint pt) const;
  BOOL IsChecked(int index) const;
  int Reload();
  // Opens the name box on the item; FALSE when it is not shown or its path leaves no room.
  BOOL RenameFile(CThumbnail* pItem);

  // What is shown (for the tests' and the frame's questions).
  calday::Day GetCurrentDay() const { return m_current; }
  const std::vector<CThumbnail*>& GetDayList() const { return m_dayList; }
  const std::vector<ViewInfo>& GetViewInfo() const { return m_info; }
  int GetFirstRow() const { return m_nFirstRow; }
  CImgButton* GetButton(UINT nID) const;
  CLabelEdit* GetLabelEdit() const { return m_pEdit; }

  // Opens the zoom window on the item (null: the last selected, else the day's first).
  void ChangeZoomMode(CThumbnail* pItem);
  // The zoom window's questions and news (codes 15..37); 1 while none is open.
  LRESULT OnZoomModeMessage(WPARAM wParam, LPARAM lParam);
  BOOL HasZoomWindow() const { return m_pZoom != NULL; }

  afx_msg void OnChangeMonthMode();
  afx_msg void OnBackBtn();
  afx_msg void OnForwardBtn();

 protected:
  void OnDraw(CDC* pDC) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint pt);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pt);
  afx_msg LRESULT OnFileNameChange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetThumbnail(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDecodeThumbnail(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReload(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  int IndexOf(CThumbnail* p) const;
  BOOL IsDayMode() const;
  // The file name, or a content file's title.
  static CString LabelText(CThumbnail* p);

  int FindData(const calday::Day* pDay = NULL);
  void GetMaxMinDate(calday::Day* pEarliest, calday::Day* pLatest);
  void ShowHideScrollBar();
  void InitScrollInfo(int nCount);
  void SetFirstRow(int nRow);
  void ScrollToThumbnail(int nIndex);
  void EnableButton();
  void StepDay(bool bForward);
  // The selection's files to the clipboard (DROPEFFECT_COPY or DROPEFFECT_MOVE); 1 when written.
  int SelectFileToClipBoard(UINT nEffect);

  void ClickOnCheckBox(const ViewInfo& info);
  void ClickOnThumbnail(const ViewInfo& info, int nIndex, UINT nFlags, CPoint pt);
  void AreaSelect();
  // Drags the selection's files out (copy only) from the thumbnail under the press.
  void DragStart(CPoint pt);
  void ChangeSelect(int nDelta);
  void SelectOnly(int nIndex);
  void UnselectAll();
  void EndBand();

  void DrawDay(CDC* pDC);
  void DrawFrame(CDC* pDC);
  void DrawImage(CDC* pDC);
  void DrawIcon(CDC* pDC);
  void DrawCheckBox(CDC* pDC);
  void DrawSelect(CDC* pDC);
  void DrawSelectArea(CDC* pDC);

  static CBitmapResourceContainer& Bitmaps();

  CImgButton* m_pMonth;
  CImgButton* m_pDayIndicator;
  CImgButton* m_pBack;
  CImgButton* m_pForward;
  BOOL m_bCtrl, m_bShift;
  int m_nAnchor, m_nCurrent;
  std::vector<ViewInfo> m_info;
  CZoomWndController* m_pZoom;  // null while no zoom window is open
  CDropSource* m_pDropSource;
  CRecDateFinder* m_pFinder;
  int m_nFirstRow;
  calday::Day m_current, m_earliest, m_latest;
  CLabelEdit* m_pEdit;
  BOOL m_bBand;
  CPoint m_ptBandAnchor, m_ptBandCurrent;  // virtual coordinates
  CThumbnail* m_pRenameTarget;
  UINT m_nBandFlags;
  std::vector<bool> m_snapshot;
  std::vector<CThumbnail*> m_dayList;
  BOOL m_bPressed;
  CPoint m_ptPress;
  BOOL m_bDragAllowed;
  // A press on an already selected thumbnail acts on release (a drag keeps the selection).
  BOOL m_bPending;
  ViewInfo m_pendingInfo;
  int m_nPendingIndex;
  UINT m_nPendingFlags;
  CPoint m_ptPending;
  UINT m_nZoomMessage;  // "VX3D_ZOOMMODE_WND"
};
