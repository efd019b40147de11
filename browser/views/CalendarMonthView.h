// CCalendarMonthView: one month of the folder's recordings as 6 weeks x 7 days, a picture
// per recording day, the year and month in digit pictures, buttons to the neighbouring
// months with recordings and to the day calendar. The base view creates it by run-time
// class over the calendar page and shows it for the month mode.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "CalendarMonthRules.h"
#include "CalendarViewLink.h"
#include "VxGUITransApi.h"

class CThumbnail;
class CThumbnailPage;
class CBrowserDocument;
class CImgButton;
class CRecDateFinder;
class CBitmapResourceContainer;

class VXGUITRANS_API CCalendarMonthView : public CView, public ICalendarViewLink {
  DECLARE_DYNCREATE(CCalendarMonthView)
 public:
  CCalendarMonthView();
  ~CCalendarMonthView() override;

  void InitView(BOOL bReset, BOOL bRedraw) override;

  void GetItemRect(int i, RECT* pRect) const;
  int GetHitIndex(CPoint pt) const;
  static int GetMaxDay(int month, int year) { return calmonth::MaxDay(month, year); }
  int FindCount(int year, int month);

  // What is shown (for the tests' and the frame's questions).
  calmonth::Month GetShownMonth() const { return m_shown; }
  int GetSelected() const { return m_nSelected; }
  const calmonth::Cells& GetCells() const { return m_cells; }
  BOOL IsShowingThumbnails() const { return m_bShowThumbnails; }
  CImgButton* GetButton(UINT nID) const;

  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

  afx_msg void OnPrevMonth();
  afx_msg void OnNextMonth();
  afx_msg void OnChangeDayMode();

 protected:
  void OnDraw(CDC* pDC) override;

  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pt);
  afx_msg LRESULT OnDecodeThumbnail(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReload(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  CThumbnail* CellThumbnail(int i) const;

  int FindData();
  void InitCalendarInfo();
  void InitDate(calmonth::Month* pShown, calmonth::Month* pEarliest, calmonth::Month* pLatest);
  int FirstFindAndSelect(LPCSTR pszText);
  void Select(int i);
  void Reload();
  void EnableButton();
  void SetFileCountToStatusBar(int nCount);
  // 1: a file was gone and the reload was asked for; 2: cancelled; 0: all there.
  int CheckFiles(const std::vector<CThumbnail*>& items);
  void StepMonth(bool bForward);
  void StepSelection(int nStep);

  void DrawDefault(CDC* pDC);
  void DrawItem(CDC* pDC, int i);
  void DrawThumbnail(CDC* pDC, int i, const CRect& rc);
  void DrawSelect(CDC* pDC);
  void DrawYear(CDC* pDC, int month, int year);


  calmonth::Geometry m_geo;
  calmonth::Month m_earliest, m_latest, m_shown;
  CImgButton* m_pNext;
  CImgButton* m_pPrev;
  CImgButton* m_pDay;
  CImgButton* m_pMonth;
  BOOL m_bShowThumbnails;
  int m_nFirstWeekday;
  int m_nSelected;
  calmonth::Cells m_cells;
  CRecDateFinder* m_pFinder;
  std::vector<CThumbnail*> m_monthList;
  HIMAGELIST m_hDigits;  // day numbers: 0-9, then the Sunday column's 0-9

  static CBitmapResourceContainer& Bitmaps();
  static int s_nLastMode;
};
