// A skinned strip of columns drawn from ten part images, with its own font, sizing
// cursors and a sort column. The scroll panel takes one as its item template and clones
// it for every visible cell, so each row of a list is such a strip.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "MusicListHeaderRules.h"
#include "SkinCtrlWnd.h"
#include "VxGUITransApi.h"

class VXGUITRANS_API CMusicListHeader : public CSkinCtrlWnd {
  DECLARE_DYNAMIC(CMusicListHeader)
 public:
  // Part images: the column face in the normal, pressed and sort looks, the separator at a
  // column's right edge, and the filler after the last column; the rest are free.
  enum Part { kFace = 0, kFacePressed, kFaceSort, kSeparator, kFiller, kParts = listheader::kPartImages };
  struct Column {
    int id;
    CString title;
    int width;
    int values[4];
  };

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

  CSkinCtrlWnd* Clone(CWnd* pParent, UINT nID) override;
  std::vector<BITMAPINFO*> GetItemList() override;
  void Relayout() override;
  void OnDraw(CDC* pDC) override;
  void SetOrigin(int x, int y) override;
  virtual void OnColumnsChanged() {}

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  DECLARE_MESSAGE_MAP()

  // One column's picture (or the filler's, column null) into a DC at (0, 0).
  virtual void RenderColumn(CDC* pDC, const Column* pColumn, int cx, int cy, bool sort, bool pressed);

 private:
  void FreeImages();

  int m_nMinWidth;
  std::vector<Column> m_columns;
  HCURSOR m_hCursors[3];
  int m_nSortColumn;
  BITMAPINFO* m_pImages[kParts];
  CFont* m_pFont;
  CRect m_rcDrawn;
};
