// A skinned strip of columns drawn from ten part images, with its own font, sizing
// cursors and a sort column. The scroll panel takes one as its item template and clones
// it for every visible cell, so each row of a list is such a strip. Over the music list it
// is the column header: columns are inserted, resized by dragging their dividers, fitted
// by a double-click there and clicked to sort, each told to the notify window.
//
// Sources by concern:
//   MusicListHeader.cpp         images, font, cloning, width, painting loop
//   MusicListHeaderColumns.cpp  columns, grab zones, mouse, one column's picture
#pragma once
#include <fw/fw.h>

#include <vector>

#include "MusicListHeaderRules.h"
#include "SkinCtrlWnd.h"
#include "VxGUITransApi.h"

// Notices to the notify window (SendNotifyMessage).
#define UWM_HDR_RESIZED 0x1226      // wParam: the new width
#define UWM_HDR_COLWIDTH 0x1228     // wParam: column, lParam: width; (-1, -1) when a pinned drag ends
#define UWM_HDR_RCLICK 0x1229       // wParam: key flags, lParam: pointer to the point
#define UWM_HDR_DBLCLK 0x122B       // wParam: key flags, lParam: pointer to the point
#define UWM_HDR_AUTOFIT 0x122C      // wParam: column whose divider was double-clicked
#define UWM_HDR_COLCLICK 0x122D     // wParam: column
#define UWM_HEADER_SORT 0x122E      // wParam: column, lParam: its sort direction
#define UWM_HDR_COLINSERTED 0x122F  // wParam: position

// One column: a row cell with the same id shows in it.
struct CMusicListColumn {
  int id;
  CString title;
  int width;     // 0 hides the column
  BOOL sortable;  // a click also asks for sorting
  int sortDir;    // 0 none, 1 or 2: the arrow drawn
  UINT format;    // DT_LEFT, DT_CENTER or DT_RIGHT, copied into the row cells
  int spare;
};

class VXGUITRANS_API CMusicListHeader : public CSkinCtrlWnd {
  DECLARE_DYNAMIC(CMusicListHeader)
 public:
  // Part images of a strip: the column face in the normal, pressed and sort looks, the
  // separator at a column's right edge, and the filler after the last column.
  enum Part { kFace = 0, kFacePressed, kFaceSort, kSeparator, kFiller, kParts = listheader::kPartImages };
  // Part images of a column header: body, left edge and right edge in the normal and
  // pressed looks, then the arrows of sort direction 2 and of direction 1, each normal and
  // pressed.
  enum HeaderPart {
    kBody = 0, kBodyPressed, kLeftEdge, kLeftEdgePressed, kRightEdge, kRightEdgePressed,
    kArrowDown, kArrowDownPressed, kArrowUp, kArrowUpPressed
  };
  // Looks of RenderHeaderImage.
  enum { kLookPressed = 2, kLookNoRightEdge = 16 };
  typedef CMusicListColumn Column;

  CMusicListHeader();
  ~CMusicListHeader() override;
  static HRESULT CreateInstance(UINT, CMusicListHeader** ppOut);

  BOOL SetImages(const std::vector<BITMAPINFO*>& images, const CSize* pCell, COLORREF key);
  BOOL SetImagesFromBitmaps(const std::vector<HBITMAP>& bitmaps, HBITMAP* pBackground, COLORREF key);
  BOOL LoadImages(const UINT ids[listheader::kPartImages], const UINT* pBackground, COLORREF key);
  BOOL LoadImagesByName(const LPCSTR names[listheader::kPartImages], LPCSTR background, COLORREF key);
  void SetFont(CFont* pFont);
  CFont* GetFont() { return m_pFont; }

  void SetMinimumWidth(int cx) { m_nMinWidth = cx; }
  int GetMinimumWidth() const { return m_nMinWidth; }
  std::vector<Column>& Columns() { return m_columns; }
  void SetSortColumn(int column) { m_nSortColumn = column; }
  int GetSortColumn() const { return m_nSortColumn; }
  const BITMAPINFO* GetImage(int part) const { return part >= 0 && part < kParts ? m_pImages[part] : nullptr; }
  HCURSOR GetCursor(int i) const { return i >= 0 && i < 3 ? m_hCursors[i] : nullptr; }

  // Columns.
  int InsertColumn(int index, const CMusicListColumn* pColumn);
  CMusicListColumn* GetColumn(CMusicListColumn* pOut, int index) const;
  int GetColumnCount() const { return (int)m_columns.size(); }
  int GetColumnId(int index) const;
  int GetColumnWidth(int index) const;
  void SetColumnSortable(int index, BOOL bSortable);
  void SetColumnSortDir(int index, int dir);
  int SetColumnWidth(int index, int width);
  void AutoFitColumn(int index, int width);
  int ColumnFromPoint(int x, int y) const;
  // Rebuilds the grab zones.
  void RecalcLayout();
  void SetCursors(HCURSOR hArrow, HCURSOR hDivider, HCURSOR hHidden);
  void SetResizable(BOOL b);
  void SetLayoutWidth(int cx) { m_nLayoutWidth = cx; }
  int GetLayoutWidth() const { return m_nLayoutWidth; }
  void SetTextColor(COLORREF cr) { m_crText = cr; }
  void SetSeparator(BOOL bOn, COLORREF cr) { m_bSeparator = bOn, m_crSeparator = cr; }
  // Draws its columns as a column header (the header parts) rather than as a strip.
  void SetColumnHeaderLook(BOOL b) { m_bHeaderLook = b; }
  int GetHoverKind() const { return m_nHoverKind; }
  BOOL IsDragging() const { return m_bDragging; }
  const std::vector<listheader::Zone>& DividerZones() const { return m_dividers; }
  const std::vector<listheader::Zone>& HiddenZones() const { return m_hiddenZones; }
  // One header cell of that column, owned by the caller; null unless the strip has a
  // state, a DC and its first part image.
  CBitmap* RenderHeaderImage(CDC* pDC, CMusicListColumn column, int look, BOOL bNoSeparator);
  static void DrawPackedDib(CDC* pDC, const BITMAPINFO* pbi, int x, int y, int width);

  CSkinCtrlWnd* Clone(CWnd* pParent, UINT nID) override;
  std::vector<BITMAPINFO*> GetItemList() override;
  void Relayout() override;
  void OnDraw(CDC* pDC) override;
  void SetOrigin(int x, int y) override;
  virtual void OnColumnsChanged() {}

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  // One column's picture (or the filler's, column null) into a DC at (0, 0).
  virtual void RenderColumn(CDC* pDC, const Column* pColumn, int cx, int cy, bool sort, bool pressed);
  void RenderStripColumn(CDC* pDC, const Column* pColumn, int cx, int cy, bool sort, bool pressed);

 private:
  void FreeImages();
  void Tell(UINT message, WPARAM wParam, LPARAM lParam);
  std::vector<int> Widths() const;

  int m_nMinWidth;
  std::vector<Column> m_columns;
  HCURSOR m_hCursors[3];
  int m_nSortColumn;
  BITMAPINFO* m_pImages[kParts];
  CFont* m_pFont;
  CRect m_rcDrawn;
  // The column header.
  int m_nLayoutWidth;
  int m_nSavedLayoutWidth;
  BOOL m_bWidthPinned;
  std::vector<listheader::Zone> m_dividers, m_hiddenZones;
  int m_nHoverKind;
  BOOL m_bDragging;
  int m_nHotColumn;
  CPoint m_ptPress;
  int m_nPrevX;
  int m_nDragWidth;
  int m_nPressedColumn;
  COLORREF m_crText;
  BOOL m_bSuppressClick;
  BOOL m_bSeparator;
  COLORREF m_crSeparator;
  BOOL m_bResizable;
  BOOL m_bHeaderLook;
};
