// Control bars: windows along a frame's edge (status bar, tool bars) that take their room
// in the frame's layout (WM_SIZEPARENT) and update their items at idle time.
#pragma once
#include <fw/frame.h>

// Bar styles (m_dwStyle).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

class FW_API CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 protected:
  CControlBar();

 public:
  ~CControlBar() override;

  // Size the bar wants: bStretch fills the frame's width (or height), bHorz along the top or bottom.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  // Updates the bar's items from their commands (pTarget routes them).
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  DWORD GetBarStyle() const { return m_dwStyle; }
  BOOL IsVisible() const { return (GetStyle() & WS_VISIBLE) != 0; }
  virtual int GetCount() const { return 0; }
  CFrameWnd* GetDockingFrame() const { return GetParentFrame(); }

  DWORD m_dwStyle;    // CBRS_*
  int m_cxLeftBorder, m_cxRightBorder, m_cyTopBorder, m_cyBottomBorder;
  BOOL m_bAutoDelete; // delete the object with its window

 protected:
  void PostNcDestroy() override;
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  DECLARE_MESSAGE_MAP()
};
