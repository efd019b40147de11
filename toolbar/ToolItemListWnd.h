// CToolItemListWnd: the drop-down list under a toolbar button. A hidden popup owned by
// the pane, one row of 29 pixels per item; a click on an enabled row hides the list and
// tells the pane (plug-in lists by message 4357 with the list's base, the others by the
// item's command). It hides itself when it loses activation.
#pragma once
#include <fw/fw.h>

#include <vector>

enum { TOOLLIST_ITEM_NORMAL = 1, TOOLLIST_ITEM_DISABLED = 2 };

class CToolItemListWnd : public CWnd {
 public:
  CToolItemListWnd();
  ~CToolItemListWnd() override;

  BOOL Create(CWnd* pOwner, int nBaseId);
  void AddItem(int nCommand, LPCSTR lpszText);
  void SetItemState(int nCommand, int nState);
  int GetItemCount() const { return (int)m_items.size(); }
  int GetBaseId() const { return m_nBaseId; }
  // Colours of the text, the hovered text and the frame; the value the rows leave free
  // at the left for the sign.
  void SetColors(COLORREF clrText, COLORREF clrHover, COLORREF clrFrame, int nIndent);
  // Shows the list with its top-left at a point of the owner's client area.
  void ShowAt(POINT ptClient);
  // The row under a client point, -1 outside every row.
  int HitTest(CPoint pt) const;
  int GetHover() const { return m_nHover; }

  // Whether a list base reports through message 4357 (the plug-in lists).
  static BOOL ReportsBySelectMessage(int nBaseId);

 protected:
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  DECLARE_MESSAGE_MAP()

 private:
  struct Item {
    int command;
    CString text;
    int state;
  };
  void Choose(int nIndex);

  CWnd* m_pOwner;
  int m_nBaseId;
  std::vector<Item> m_items;
  int m_nHover;
  COLORREF m_clrText, m_clrHover, m_clrFrame;
  int m_nIndent;
};
