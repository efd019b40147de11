// CToolItemListWnd: the drop-down list under a toolbar button, the launcher's twin: up to
// 26 rows, each a stretched bitmap with a label and, for a checkable row, a check mark.
// A click on an enabled row (or files dropped onto it) hides the list and sends the
// parent the row's command, then message 4357 with the list's owner code and the row.
#pragma once
#include <fw/fw.h>

#include "RowListWnd.h"

// SetItemState codes: enable or disable a row with its face, or only its state.
enum {
  TOOLLIST_ITEM_NORMAL = 1,
  TOOLLIST_ITEM_DISABLED = 2,
  TOOLLIST_ITEM_ENABLE_ONLY = 11,
  TOOLLIST_ITEM_DISABLE_ONLY = 12
};

class CToolItemListWnd : public CRowListWnd {
 public:
  CToolItemListWnd();

  // As the launcher's, without rows.
  BOOL Create(POINT pos, SIZE rowSize, CWnd* pParent, int nBorderMode, int nOwnerCode);
  void AddItem(UINT nNormal, UINT nPressed, UINT nHover, UINT nDisabled, int nKey);
  // The text (when given) of the row with the key; mode 1 makes it checkable, unchecked.
  void SetItemLabel(int nKey, LPCSTR lpszText, int nMode = 0);
  void SetItemState(int nKey, int nCode);
  // 1 for an enabled row, 2 for a disabled one.
  int IsItemEnabled(int nKey) const;
  // Checks the row with the key and unchecks every other.
  void CheckOnly(int nKey);
  void SetCheckColor(COLORREF clr) { m_clrCheck = clr; }
  int GetItemCount() const { return GetRowCount(); }
  int GetBaseId() const { return m_nOwnerCode; }
  // Sizes the window to its rows, moves it to the position and shows it; with bFocus it
  // takes the focus (and hides when it loses it), else a drag's timer hides it.
  void ShowAt(POINT ptClient, BOOL bFocus = TRUE);

  // Label colour of a row under the mouse or pressed; and the check mark's while it is.
  static const COLORREF kHotText = RGB(0, 54, 99);
  static const int kCheckMargin = 22;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnDropFiles(HDROP hDrop);
  DECLARE_MESSAGE_MAP()

 private:
  // A chosen row: a checkable row toggles; the parent hears the command and 4357.
  void Report(int i);

  int m_nCheckMargin;
  COLORREF m_clrCheck;
};
