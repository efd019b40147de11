// A long list shown as a grid of cells through a small pool of item windows, one per
// visible cell, cloned from an item template onto a child canvas; bitmap scroll bars,
// single and multiple selection, rubber band, horizontal scrolling of the items' content
// by drawing origin, and drops through callbacks. The panel holds no item data: its owner
// fills each item window through the item callback.
//
// Sources by concern:
//   ScrollPanelWnd.cpp        creation, skin, layout, the pool of item windows, scrolling
//   ScrollPanelSelection.cpp  selection, item notifications, rubber band, keys, drops
#pragma once
#include <fw/fw.h>

#include <vector>

#include "BitmapScrollBar.h"
#include "ScrollPanelCanvas.h"
#include "ScrollPanelRules.h"
#include "SkinCtrlWnd.h"
#include "VxGUITransApi.h"

#define UWM_LIST_CURSEL 0x11AC      // wParam: item index, or -1
#define UWM_LIST_ITEMCHANGE 0x11AD  // wParam: pointer to the selection vector
#define UWM_LIST_ACTIVATE 0x11AE    // wParam: the anchor's item window
#define UWM_LIST_HSCROLL 0x11AF     // wParam: the new horizontal offset
#define UWM_LIST_BLANKCLICK 0x11B1  // wParam: pressed item index, or -1
#define UWM_LIST_PRESS 0x11B2       // wParam: the anchor's item window
#define UWM_LIST_HOVER 0x11B5       // wParam: pool position
#define UWM_LIST_LEAVE 0x11B6       // wParam: pool position
#define UWM_LIST_DBLCLK 0x11B7      // wParam: the item window

class CScrollPanelWnd;
typedef void (*ScrollPanelItemFn)(int index, int first, int last, CSkinCtrlWnd* pItem, void* pContext);
typedef DROPEFFECT (*ScrollPanelDragFn)(CScrollPanelWnd* pPanel, COleDataObject* pData, DWORD dwKeyState, CPoint pt,
                                        void* pContext);

class VXGUITRANS_API CScrollPanelWnd : public CWnd {
  DECLARE_DYNAMIC(CScrollPanelWnd)
 public:
  CScrollPanelWnd();
  ~CScrollPanelWnd() override;
  static HRESULT CreateInstance(UINT, CScrollPanelWnd** ppOut);

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);

  // Skin.
  virtual void SetHeaderCtrl(CSkinCtrlWnd* pTemplate);
  virtual void ShowScrollBars(BOOL bVert, BOOL bHorz);
  void SetVertScrollBarBitmaps(UINT part, UINT normal, UINT pressed, UINT hot, UINT disabled);
  void SetVertScrollBarBackground(UINT id);
  void SetHorzScrollBarBitmaps(UINT part, UINT normal, UINT pressed, UINT hot, UINT disabled);
  void SetHorzScrollBarBackground(UINT id);
  virtual void SetBackgroundBitmaps(const std::vector<HBITMAP>& bitmaps);
  virtual void SetBkColor(COLORREF color);
  virtual void SetPaintCallback(ScrollPanelPaintFn fn, void* pContext);
  virtual void SetHeaderMetrics(int left, int top, int right, int bottom);
  virtual void SetOwnerWnd(HWND hOwner) { m_hOwner = hOwner; }
  virtual void SetItemCallback(ScrollPanelItemFn fn, void* pContext);
  virtual void SetOwnStates(BOOL b) { m_bOwnStates = b; }
  virtual void SetSelectionFollowsScroll(BOOL b) { m_bFollowScroll = b; }
  virtual CSkinCtrlWnd* CreateItemWindow();
  virtual int CalcPanelHeight(BOOL bAll);

  // Flags.
  virtual void SetMultiSelect(BOOL b) { m_bMultiSelect = b; }
  virtual BOOL GetMultiSelect() const { return m_bMultiSelect; }
  virtual void SetToggleMode(BOOL b) { m_bToggle = b; }
  virtual void SetSingleMode(BOOL b) { m_bSingle = b; }
  virtual void SetSelectionEnabled(BOOL b) { m_bSelectable = b; }
  virtual BOOL GetToggleMode() const { return m_bToggle; }
  virtual BOOL GetSingleMode() const { return m_bSingle; }
  virtual BOOL GetSelectionEnabled() const { return m_bSelectable; }

  // Content and layout.
  virtual void SetCellFitMode(int rows, int columns);
  virtual BOOL SetCellGaps(int vertical, int horizontal);
  virtual void SetItemCount(int count, BOOL bRedraw);
  virtual void LayoutItems(int first, BOOL bRedraw, BOOL bRefill);
  virtual void Relayout(int first, BOOL bRedraw) { LayoutItems(first, bRedraw, bRedraw); }
  virtual void GetVisibleRange(int* pFirst, int* pLast) const;
  virtual void GetContentRect(RECT* prc) const;
  virtual void GetLastIndex(int* pLast) const { *pLast = GetTotalCount() - 1; }
  virtual void SetHorzExtent(int cx, BOOL bRedraw);
  virtual void Redraw() { RecalcLayout(TRUE, FALSE); }
  virtual int GetTotalCount() const;
  virtual int GetVisibleCount() const;
  virtual CSkinCtrlWnd* GetRowWnd(int pool) const;
  int FindItemIndex(HWND hItem) const;
  virtual int GetRowState(int index) const;
  virtual void CalcCellSize(SIZE* pSize);
  int GetRows() const { return m_nRows; }
  int GetColumns() const { return m_nColumns; }
  int GetCapacity() const { return m_nRows * m_nColumns; }
  int GetPoolSize() const { return (int)m_items.size(); }
  int GetHorzOffset() const { return m_nHorzOffset; }
  CBitmapScrollBar& VertBar() { return m_vbar; }
  CBitmapScrollBar& HorzBar() { return m_hbar; }

  // Selection.
  virtual BOOL SetSelection(const std::vector<int>& indices);
  virtual void GetSelection(std::vector<int>& out) const { out = m_selection; }
  virtual void SelectIndex(int index, BOOL bNotify);
  virtual void ToggleSelect(int index);
  virtual void SelectRange(int index, BOOL bKeep);
  virtual void ClearSelection(BOOL bRedrawItems, BOOL bResetAnchor, BOOL bNotify);
  virtual void ClearSelectionOnClick() { ClearSelection(TRUE, TRUE, FALSE); }
  virtual void ResetContent();
  virtual void OnDeleteItem(int index);
  int GetAnchor() const { return m_nAnchor; }

  // Drops.
  virtual DROPEFFECT OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint pt);
  virtual DROPEFFECT DefDragEnter(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
  virtual DROPEFFECT OnDragOver(COleDataObject* pData, DWORD dwKeyState, CPoint pt);
  virtual DROPEFFECT DefDragOver(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
  virtual void OnDragLeave();
  virtual void DefDragLeave() {}
  virtual DROPEFFECT OnDragScroll(DWORD dwKeyState, CPoint pt);
  virtual DROPEFFECT DefDragScroll(DWORD, CPoint) { return DROPEFFECT_NONE; }
  virtual BOOL OnDrop(COleDataObject* pData, DROPEFFECT effect, CPoint pt);
  virtual BOOL DefDrop(COleDataObject*, DROPEFFECT, CPoint) { return DROPEFFECT_NONE; }
  enum DragEvent { kDragEnter = 0, kDragOver, kDragLeave, kDragScroll, kDrop, kDragEvents };
  void SetDragCallback(int event, ScrollPanelDragFn fn, void* pContext);

  virtual void DeleteAllItemWindows();
  virtual void DeleteItemWindow(HWND hItem);

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short delta, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg LRESULT OnKeyAction(WPARAM action, LPARAM);
  afx_msg LRESULT OnItemStartDrag(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnItemRClick(WPARAM wParam, LPARAM lParam);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  DECLARE_MESSAGE_MAP()

  void CalcRows();
  void CalcColumns();
  void AssignItems(int first, int deleted);
  void ShiftItemWindows(int first);
  void UpdateVertBar(int first);
  void RecalcLayout(BOOL bRedraw, BOOL bRefill);
  void PlaceBarsAndCanvas();
  void ReplaceSelection(const std::vector<int>& sel, BOOL bNotify);
  void UpdateRubberBand(UINT keys);
  void ApplyRubberBand(int start, int end, UINT keys);
  void DrawRubberBand();
  void GetRubberBandRange(POINT* pUpper, POINT* pLower, int* pUpperFirst, int* pLowerFirst) const;
  void SetHorzOffset(int offset);
  void SetBarBitmaps(CBitmapScrollBar& bar, bool vertical, UINT part, UINT normal, UINT pressed, UINT hot,
                     UINT disabled);
  void Fill(int pool, int index);
  void ApplyStates();
  void Tell(UINT message, WPARAM wParam);
  CPoint CellOrigin() const;
  bool HorzBarInUse() const;

  HWND m_hOwner;
  CBitmapScrollBar m_vbar, m_hbar;
  CScrollPanelCanvas* m_pCanvas;
  std::vector<int> m_selection;
  std::vector<CSkinCtrlWnd*> m_items;
  BOOL m_bVertShown, m_bHorzShown;
  int m_nFirst, m_nLast;
  int m_nAnchor;
  int m_cxVBar, m_cyHBar;
  BOOL m_bVBarSized, m_bHBarSized;
  int m_nTop, m_nBottom, m_nLeft, m_nRight, m_nBorder;
  CSkinCtrlWnd* m_pTemplate;
  ScrollPanelItemFn m_pfnItem;
  void* m_pItemContext;
  int m_nRefreshFirst, m_nRefreshLast;
  BOOL m_bOwnStates;
  BOOL m_bFollowScroll;
  COLORREF m_crBack;
  UINT m_nNextId;
  int m_nContentWidth;
  int m_nHorzOffset;
  BOOL m_bClickConsumed;
  BOOL m_bToggle;
  BOOL m_bSingle;
  CBitmap m_bmBack;
  // Rubber band.
  CRect m_rcBand;
  std::vector<int> m_savedSelection;
  CPoint m_ptBandStart;
  int m_nBandStartFirst;
  CPoint m_ptBandNow;
  int m_nBandNowFirst;
  int m_nBandFrom, m_nBandTo;
  BOOL m_bBanding;
  int m_nReqRows, m_nReqColumns;
  int m_nReqVGap, m_nReqHGap;
  int m_nRows, m_nColumns;
  int m_nVGap, m_nHGap, m_nFitMargin;
  CSize m_szCell;
  BOOL m_bMultiSelect;
  BOOL m_bSelectable;
  ScrollPanelPaintFn m_pfnPaint;
  void* m_pPaintContext;
  ScrollPanelDragFn m_pfnDrag[kDragEvents];
  void* m_pDragContext[kDragEvents];
};
