// CExportMenuWnd: one export type's tile in the export pane, 66 x 80: the plug-in's
// picture for its state, the export's name beneath, its description as tooltip. A click
// sends the tile's command to the pane; files dropped on it go to the pane as well.
#pragma once
#include <fw/fw.h>

#include "ExportPluginApi.h"
#include "ExportRules.h"
#include "PaneText.h"

class CExportMenuWnd : public CWnd {
 public:
  CExportMenuWnd();
  ~CExportMenuWnd() override;

  BOOL Create(POINT origin, const CExportPluginInfo& info, CWnd* pOwner, UINT nID);
  LPCSTR GetName() const { return m_szName; }
  int GetState() const { return m_nState; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

  enum { TIMER_CURSOR = 3500, TIMER_OWNER = 3501 };

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnDropFiles(HDROP hDropInfo);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void SetState(exporttile::State s);
  // The tile's own size beside the picture's: a handle the plug-in gave that is no
  // bitmap of this process draws a plain face.
  HBITMAP StateBitmap() const;

  char m_szName[EXPORTPLUGIN_TEXT_MAX];
  CString m_strDescription;
  HBITMAP m_bitmaps[4];  // the plug-in's; never deleted here
  CToolTipCtrl m_tooltip;
  CWnd* m_pOwner;
  UINT m_nID;
  exporttile::State m_nState;
  CPoint m_lastMouse;
  CPaneTextScope m_text;
};
