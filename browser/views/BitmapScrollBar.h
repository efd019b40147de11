// A scroll bar drawn from part bitmaps: a plain child window that keeps its own scroll
// information, paints double-buffered and tells its parent about the user's actions with
// WM_VSCROLL / WM_HSCROLL (lParam = its window), as a scroll-bar control would. SBS_VERT
// in its style makes it vertical.
#pragma once
#include <fw/fw.h>

#include "BitmapScrollBarRules.h"
#include "VxGUITransApi.h"

class VXGUITRANS_API CBitmapScrollBar : public CWnd {
  DECLARE_DYNAMIC(CBitmapScrollBar)
 public:
  enum { kNormal = 0, kPressed, kHot, kDisabled, kStates };
  enum Hover { kHoverNone = 0, kHoverThumb, kHoverFirst, kHoverSecond };

  CBitmapScrollBar();
  ~CBitmapScrollBar() override;
  static HRESULT CreateInstance(CBitmapScrollBar** ppOut);

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);

  // Part 0..6 (skinbar::Part); 0 = no image for that state.
  void SetPartBitmaps(UINT part, UINT normal, UINT pressed, UINT hot, UINT disabled);
  void SetPartBitmaps(UINT part, LPCSTR normal, LPCSTR pressed, LPCSTR hot, LPCSTR disabled);
  // Takes copies of the DIBs.
  void SetPartDIBs(UINT part, const BITMAPINFO* normal, const BITMAPINFO* pressed, const BITMAPINFO* hot,
                   const BITMAPINFO* disabled);
  void SetBackgroundBitmap(UINT id);
  void SetBackgroundBitmap(LPCSTR name);
  void SetBackgroundDIB(const BITMAPINFO* pbi);

  void SetScrollRange(int nMin, int nMax, BOOL bRedraw);
  void GetScrollRange(int* pMin, int* pMax) const;
  int GetScrollPos() const { return m_si.nPos; }
  int SetScrollPos(int nPos, BOOL bRedraw);
  BOOL SetScrollInfo(const SCROLLINFO* psi, BOOL bRedraw);
  BOOL GetScrollInfo(SCROLLINFO* psi) const;
  int GetScrollLimit() const;
  void ShowScrollBar(BOOL bShow);
  void EnableArrows(BOOL bFirst, BOOL bSecond);

  // Geometry, for the owner and the tests.
  int PartSize(UINT part) const { return part < skinbar::kParts ? m_nPartSize[part] : 0; }
  bool IsVertical() const;
  CRect ThumbRect() const;
  int GetActivePart() const { return m_nActive; }
  int GetHoverPart() const { return m_nHover; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnEnable(BOOL);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  DECLARE_MESSAGE_MAP()

 private:
  void FreePart(UINT part);
  void SetPartSize(UINT part);
  int Along(CPoint pt) const { return IsVertical() ? pt.y : pt.x; }
  int Length() const;
  int TrackStart() const { return m_nPartSize[skinbar::kFirstArrow]; }
  int TrackEnd() const { return Length() - m_nPartSize[skinbar::kSecondArrow]; }
  skinbar::Range Range() const { return {m_si.nMin, m_si.nMax, (int)m_si.nPage, m_si.nPos}; }
  skinbar::Thumb Thumb() const;
  CRect AlongRect(int start, int end) const;
  void Tell(UINT code, int pos = 0);
  void RepeatLoop();
  void DrawPart(CDC* pDC, UINT part, int state, const CRect& rc, bool stretch);
  void Repaint();
  void RepaintThumbChange(const CRect& before);

  BOOL m_bClicked;
  int m_nActive;
  int m_nHover;
  int m_nPartSize[skinbar::kParts];
  BITMAPINFO* m_pImages[skinbar::kParts][kStates];
  SCROLLINFO m_si;
  BOOL m_bSecondEnabled;
  BOOL m_bFirstEnabled;
  CPoint m_ptDragStart;
  CRect m_rcDragThumb;
  int m_nDragStartPos;
  int m_nDragAt;  // cursor along the bar during a drag
};
