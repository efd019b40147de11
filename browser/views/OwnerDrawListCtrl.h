// COwnerDrawListCtrl: a report-view list control drawn by its owner, with full-row
// selection, check boxes at the rows' left, and the browser's colours. CReportCtrl fills
// in the picture and the check state of a row.
#pragma once
#include <fw/fw.h>

class COwnerDrawListCtrl : public CListCtrl {
  DECLARE_DYNCREATE(COwnerDrawListCtrl)
 public:
  COwnerDrawListCtrl();
  ~COwnerDrawListCtrl() override;

  // Shortens text by cutting characters from its end and appending "..." so that it fits
  // cxMax pixels in the DC; the text itself when it fits.
  static CString FitText(CDC* pDC, const CString& text, int cxMax);
  static const COLORREF kBackColor;  // RGB(122, 142, 156)

 protected:
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  void PreSubclassWindow() override;
  // The picture of a row into the icon rectangle; nothing by default.
  virtual void DrawRowPicture(CDC* pDC, int nRow, const CRect& rcIcon);
  virtual BOOL IsRowChecked(int nRow) const;
  virtual void OnCheckClicked(int nRow);
  // The rectangle of a row's check box.
  CRect CheckRect(const CRect& rcRow) const;

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnSetTextColor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetTextBkColor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetBkColor(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  BOOL m_bFullRow;
  BOOL m_bCheckBoxes;
  int m_cxClient;
  COLORREF m_clrBack, m_clrTextBack, m_clrText;
};
