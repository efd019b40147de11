// CMusicListWnd: the music view's track list, a scroll panel whose rows are CListRowCtrl
// windows under a column header (CMusicListHeader). The owner fills each visible row
// through the item callback; the list puts the row's cells into header order. Every
// private notice of the panel, its rows and its header passes through the list to one
// owner window. The list adds row selection by right click and the navigation keys.
//
// Sources by concern:
//   MusicListWnd.cpp       creation, header, columns, image lists, row filling, layout
//   MusicListWndInput.cpp  notices, commands, mouse and keys
#pragma once
#include <fw/fw.h>

#include <vector>

#include "ListRowCtrl.h"
#include "MusicListHeader.h"
#include "ScrollPanelWnd.h"
#include "VxGUITransApi.h"

#define UWM_LIST_ITEMPRESS 0x1292  // wParam: row, lParam: row window
#define UWM_LIST_ITEMCHECK 0x1293  // wParam: check flag, lParam: row
#define UWM_LIST_ITEMDBLCLK 0x1294  // wParam: row, lParam: row window

// Fills a row window for row `index`; the result goes back to the panel.
typedef int(CALLBACK* MusicListItemFn)(int index, int first, int last, CSkinCtrlWnd* pRow, void* pContext);

class VXGUITRANS_API CMusicListWnd : public CScrollPanelWnd {
  DECLARE_DYNAMIC(CMusicListWnd)
 public:
  enum { kHeaderId = 1, kHeaderHeight = 16 };
  CMusicListWnd();
  ~CMusicListWnd() override;
  static BOOL RegisterWindowClass(HINSTANCE hInstance);

  void SetOwnerWnd(HWND hOwner) override { m_hListOwner = hOwner; }
  HWND GetOwnerWnd() const { return m_hListOwner; }
  void SetItemCallback(MusicListItemFn fn, void* pContext);
  void SetHeaderCtrl(CSkinCtrlWnd* pTemplate) override;
  void SetCellFitMode(int rows, int columns) override;
  void SetHorzExtent(int cx, BOOL bRedraw) override { CScrollPanelWnd::SetHorzExtent(cx, bRedraw); }
  // Header invalidated, full layout with redraw and refill.
  virtual void RecalcLayout();

  // Header and columns.
  CMusicListHeader* GetHeader() const { return m_pHeader; }
  BOOL CreateHeader(const RECT& rect);
  int InsertColumn(int index, const CMusicListColumn* pColumn, BOOL bApply);
  BOOL SetHeaderImages(const std::vector<BITMAPINFO*>& images, const CSize* pCell, COLORREF key);
  BOOL SetHeaderImages(const std::vector<HBITMAP>& bitmaps, HBITMAP hBackground, COLORREF key);
  BOOL SetHeaderImages(const UINT ids[listheader::kPartImages], const UINT* pBackground, COLORREF key);
  BOOL SetHeaderImages(const LPCSTR names[listheader::kPartImages], LPCSTR background, COLORREF key);
  void SetHeaderCursors(HCURSOR hArrow, HCURSOR hDivider, HCURSOR hHidden);
  void SetHeaderResizable(BOOL b);
  BOOL IsPointInHeader(int x, int y) const;
  int ColumnFromPoint(int x) const;

  // Image lists (copied) and rows.
  void SetIconImageList(CImageList* pList);
  void SetStatusImageList(CImageList* pList);
  void SetCheckImageList(int cell, CImageList* pList);
  void SetStatusColumn(int cell);
  void SetRowCheck(int position, BOOL bCheck);
  void EnableCheckBoxes(BOOL b);
  void EnableRowMouse(BOOL b);
  void SetCurrentRow(int row);
  int GetCurrentRow() const;
  int GetRowWindowState(int position) const;
  int GetColumnTextWidth(int cell) const;
  void RedrawRow(int position);
  int RowFromPoint(int x, int y) const;
  BOOL ScrollToRow(int ignored, int row);
  void EnsureRowVisible(int row, BOOL bUnused = FALSE);
  CListRowCtrl* GetRow(int position) const { return dynamic_cast<CListRowCtrl*>(GetRowWnd(position)); }
  // Visible position of a row window, -1 when it is none of the visible rows.
  int PositionOf(HWND hRow) const;
  int GetFocusRow() const { return m_nFocusRow; }
  int GetAnchorRow() const { return m_nAnchorRow; }
  int GetHeaderWidth() const { return m_nHeaderWidth; }
  BOOL GetCellHitTest() const { return m_bCellHitTest; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg void OnSizing(UINT nSide, LPRECT lpRect);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT, UINT, UINT) {}
  afx_msg void OnEnable(BOOL bEnable);
  DECLARE_MESSAGE_MAP()

  // Messages the list acts on besides passing them on; TRUE with *pResult when handled
  // completely (not passed on, no default processing).
  BOOL OnListNotice(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  void OnRowRightPress(HWND hRow);
  BOOL HandleKey(UINT vk);
  static void FillRow(int index, int first, int last, CSkinCtrlWnd* pItem, void* pContext);
  std::vector<int> ColumnOrder() const;
  void LayoutHeader();
  BOOL HeaderImagesSet();
  template <class F>
  void ForEachRow(F f) {
    for (int i = 0; i < GetPoolSize(); i++)
      if (auto* p = dynamic_cast<CListRowCtrl*>(m_items[i])) f(p);
  }
  CListRowCtrl* Template() const { return dynamic_cast<CListRowCtrl*>(m_pTemplate); }

  CMusicListHeader* m_pHeader;
  CImageList* m_pIconList;
  CImageList* m_pCheckList;
  CImageList* m_pStatusList;
  int m_nCheckCell;
  int m_nStatusCell;
  int m_nHeaderWidth;
  MusicListItemFn m_pfnOwnerItem;
  void* m_pOwnerContext;
  HWND m_hListOwner;
  int m_nFocusRow;
  int m_nCurrentRow;
  int m_nAnchorRow;
  BOOL m_bCellHitTest;
};
