// CReportCtrl: the details list over the icon view in the file-, camera- and audio-
// information modes. A virtual list (owner data): it holds the row count and the row-to-ID
// array only; texts come from the thumbnails' cache, which its worker (CListInfoThread)
// fills at idle priority, the rows the user looks at first; pictures come from the
// thumbnail library at paint time. COwnerDrawListCtrl draws the rows.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "OwnerDrawListCtrl.h"

class CThumbnail;
class CVxGUITrans;
class CPropertyItem;
class CListInfoThread;
class CVxGUIIconView;
class CThumbToolTip;

class CReportCtrl : public COwnerDrawListCtrl {
  DECLARE_DYNCREATE(CReportCtrl)
 public:
  CReportCtrl();
  ~CReportCtrl() override;

  // Makes the worker, then the (hidden) list over the parent's client area.
  BOOL CreateList(CWnd* pParent, int nMode, CVxGUITrans* pOwner);
  // The columns of a view code (3, 4, 7; none for others); the worker stops first.
  void SetMode(int nMode);
  int GetMode() const { return m_nMode; }
  // The row-to-ID array from the icon view's display order; each entry's list ID becomes
  // its row and the row count follows.
  void RebuildIDs();
  void SetItemIDs(const std::vector<DWORD>& ids);
  // The view ID of a row; VXID_NONE for a negative row or one past the end.
  DWORD GetItemID(int nRow) const;
  CThumbnail* GetRowThumbnail(int nRow) const;
  int GetNextItem(int nStart, UINT nFlags) const;
  // The worker: started on the rows now shown; stopped and joined before rows can go.
  void StartWorker();
  void StopWorker();
  void SetStartID(DWORD dwID);
  // Stops the worker and empties the list (before the icon view's items go).
  void Clear();
  CPropertyItem* GetColumnItem(int nColumn) const;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

 protected:
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void DrawRowPicture(CDC* pDC, int nRow, const CRect& rcIcon) override;
  BOOL IsRowChecked(int nRow) const override;
  void OnCheckClicked(int nRow) override;
  CVxGUIIconView* GetIconView() const;

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnDeleteItem(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  friend class CListInfoThread;
  void FreeColumns();
  void NoteTopRow();

  CImageList m_imlSmall, m_imlState;
  std::vector<DWORD> m_ids;
  CWnd* m_pParent;
  int m_nMode;
  CVxGUITrans* m_pOwner;
  std::vector<CPropertyItem*> m_columns;  // owned, by column index
  CListInfoThread* m_pWorker;
  CThumbToolTip* m_pTip;
};
