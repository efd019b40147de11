// CListRowCtrl: one row of a column list, a child of the list's canvas. It draws a line of
// cells (text with an optional check box, icon and status image) in the colours of its
// look, hit-tests the cells and tells its notify window (the list) of presses and
// releases on them. The list clones a hidden template of it for every row slot and its
// owner fills each clone with the cells of one row.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "MusicListRules.h"
#include "SkinCtrlWnd.h"
#include "VxGUITransApi.h"

// Notices to the notify window (SendNotifyMessage, lParam the row's window).
#define UWM_ROW_CHECKCLICK 0x1276  // wParam: check flag after the press
#define UWM_ROW_CELLDOWN 0x128F    // wParam: cell
#define UWM_ROW_CELLRDOWN 0x1290   // wParam: cell
#define UWM_ROW_CELLRUP 0x1291     // wParam: cell
#define UWM_LIST_LBUTTONUP 0x1295  // wParam: cell

class VXGUITRANS_API CListRowCtrl : public CSkinCtrlWnd {
  DECLARE_DYNAMIC(CListRowCtrl)
 public:
  // Colour pairs by look.
  enum Look { kLookNormal = 0, kLookPressed, kLookHover, kLookDisabled, kLookCurrent, kLooks };
  enum { kCurrentLook = 9, kStatusTimer = 1, kStatusTimerMs = 300 };

  CListRowCtrl();
  ~CListRowCtrl() override;

  CSkinCtrlWnd* Clone(CWnd* pParent, UINT nID) override;
  virtual void CloneTo(CListRowCtrl* pTarget, CWnd* pParent, UINT nID);
  void OnDraw(CDC* pDC) override;
  virtual void InvalidateCheck();
  virtual void InvalidateBorders();
  virtual void Paint();

  // Cells: the owner supplies them in any order; the list shows them in header order.
  void SetSuppliedCells(const std::vector<CListRowCell>& cells) { m_supplied = m_cells = cells; }
  void SetCells(const std::vector<CListRowCell>& cells) { m_cells = cells; }
  std::vector<CListRowCell> GetCells() const { return m_supplied; }
  const std::vector<CListRowCell>& GetDisplayedCells() const { return m_cells; }
  void SetColumnOrder(const std::vector<int>& order);
  void RebuildCells() { m_cells = musiclist::CellsInOrder(m_supplied, m_order); }
  void SetFont(CFont* pFont);
  int HitTestCell(int x, int y) const;
  RECT* GetCellRect(RECT* pOut, int cell) const;
  CString GetCellText(int cell) const;
  int GetCellTextWidth(int cell) const;

  void SetColors(int look, COLORREF background, COLORREF text);
  COLORREF GetBackColor(int look) const { return look >= 0 && look < kLooks ? m_colors[look][0] : 0; }
  void SetGrid(BOOL bOn, COLORREF cr) { m_bGrid = bOn, m_crGrid = cr; }
  void SetContentWidth(int cx) { m_nContentWidth = cx; }
  int GetContentWidth() const { return m_nContentWidth; }
  void SetCurrentLook() { m_nCurrentLook = kCurrentLook; }
  void ClearCurrentLook() { m_nCurrentLook = 0; }
  BOOL HasCurrentLook() const { return m_nCurrentLook != 0; }
  void SetCurrentKeepsBackground(BOOL b) { m_bCurrentKeepsBack = b; }
  void SetForcedPressedLook(BOOL b) { m_bForcedPressed = b; }

  void SetChecked(BOOL b) { m_bChecked = b; }
  BOOL IsChecked() const { return m_bChecked; }
  void SetCheckImageList(int cell, CImageList* pList) { m_nCheckCell = cell, m_pCheckList = pList; }
  void EnableCheckBox(BOOL b) { m_bCheckEnabled = b; }
  void SetIconImageList(CImageList* pList) { m_pIconList = pList; }
  void SetStatusImageList(int cell, CImageList* pList) { m_nStatusCell = cell, m_pStatusList = pList; }
  void SetStatusCell(int cell) { m_nStatusCell = cell; }
  void StartStatusAnimation(int first, int last);
  void SetStatusFrame(int frame, BOOL bStop);
  int GetStatusFrame() const { return m_nFrame; }
  void SetCellHitTest(BOOL b) { m_bCellHitTest = b; }
  void EnableMouse(BOOL b) { m_bMouseEnabled = b; }
  BOOL IsMouseEnabled() const { return m_bMouseEnabled; }
  const RECT& GetCheckRect() const { return m_rcCheck; }

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  DECLARE_MESSAGE_MAP()

  // Drawing of one cell's content after its check box, icon and status image: the text
  // from x; the title cell of a music row puts its button first. Returns the extra width.
  virtual int DrawCellExtra(CDC* pDC, int cell, int x, int height);
  void Tell(UINT message, WPARAM wParam);
  bool InCheck(CPoint pt) const { return ::PtInRect(&m_rcCheck, pt) != FALSE; }

  std::vector<CListRowCell> m_cells;
  std::vector<CListRowCell> m_supplied;
  std::vector<int> m_order;
  BOOL m_bChecked;
  CImageList* m_pCheckList;
  int m_nCheckCell;
  RECT m_rcCheck;
  CImageList* m_pStatusList;
  int m_nStatusCell;
  RECT m_rcStatus;
  int m_nFirstFrame, m_nLastFrame, m_nFrame;
  COLORREF m_colors[kLooks][2];
  BOOL m_bGrid;
  COLORREF m_crGrid;
  CFont* m_pFont;
  CImageList* m_pIconList;
  int m_nCurrentLook;
  BOOL m_bCurrentKeepsBack;
  BOOL m_bForcedPressed;
  BOOL m_bCheckEnabled;
  BOOL m_bCellHitTest;
  int m_nContentWidth;
  BOOL m_bMouseEnabled;
};
