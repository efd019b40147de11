// CRowListWnd: what the launcher window and the toolbar's item lists share. A hidden
// popup of rows, each row a bitmap of the resource library with a label over it; it shows
// under its button, follows the mouse (hover, press), lights the row under a drag on its
// own timer, and hides itself when it loses the focus.
#pragma once
#include <fw/fw.h>

#include <vector>

class CRowListWnd : public CWnd {
 public:
  // One row: its key and label, and the bitmap ids of its faces.
  struct Row {
    int key = 0;
    CString label;
    BOOL enabled = TRUE;
    BOOL checkable = FALSE;
    BOOL checked = FALSE;
    UINT current = 0, normal = 0, hover = 0, other = 0, pressed = 0;  // other: alternative or disabled face
  };

  CRowListWnd();
  ~CRowListWnd() override;

  // The popup at (x, y) of the parent's client area, rows of w × h; border mode 1 draws
  // separators and a frame.
  BOOL Create(POINT pos, SIZE rowSize, CWnd* pParent, int nBorderMode, int nOwnerCode);
  void SetPosition(POINT pos) { m_pos = pos; }
  POINT GetPosition() const { return m_pos; }
  void SetTextColor(COLORREF clr) { m_clrText = clr; }
  void SetLineColor(COLORREF clr) { m_clrLine = clr; }
  void SetAlignment(int nAlignment) { m_nAlignment = nAlignment; }
  int GetRowCount() const { return (int)m_rows.size(); }
  const Row& GetRow(int i) const { return m_rows[i]; }
  int FindRow(int nKey) const;
  // The row whose rectangle (shifted down by dy) holds the client point; -1 for none.
  int RowAt(CPoint pt, int dy = 0) const;
  // Moves to the stored position, as seen from the parent, keeping size and z-order.
  void MoveToPosition();

  SIZE GetRowSize() const { return m_size; }
  void SetRowSize(SIZE size) { m_size = size; }
  // The widest and the tallest of the labels in their font.
  SIZE MeasureLabels();

  // Text colour of disabled rows.
  static const COLORREF kDisabledText = RGB(128, 162, 191);

 protected:
  void AppendRow(UINT nNormal, UINT nPressed, UINT nHover, UINT nOther, int nKey);
  // Sets a row's face; TRUE when it changed.
  BOOL SetFace(int i, UINT nFace);
  BOOL IsCursorInside() const;
  // Painting in parts: the rows' bitmaps (stretched or 1:1), separators and frame, the
  // labels' font, the shadow.
  void PaintRows(CDC& dc, BOOL bStretch);
  void PaintLines(CDC& dc);
  HFONT CreateLabelFont();
  void PaintShadow(CDC& dc);
  CRect RowRect(int i) const { return CRect(0, i * m_size.cy, m_size.cx, (i + 1) * m_size.cy); }
  UINT LabelFormat() const;

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnClose();
  // Timer 100: faces back to normal once the cursor has left; timer 101 (while a button
  // is held, as in a drag): the row under the cursor lit.
  void OnFaceTimer(UINT_PTR nIDEvent, BOOL bSkipDisabled);
  DECLARE_MESSAGE_MAP()

  int m_nAlignment;
  int m_nBorderMode;
  std::vector<Row> m_rows;
  POINT m_pos;
  SIZE m_size;
  CWnd* m_pParent;
  int m_nOwnerCode;
  HINSTANCE m_hResources;
  COLORREF m_clrText, m_clrLine;
};
