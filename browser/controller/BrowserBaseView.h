// CBrowserBaseView: the lower pane of the main frame's browser area. The main frame builds
// the thumbnail side (a splitter holding the icon view and the enlarged-image and
// focus-information views) as its first child window; the base view keeps that window
// covering its client area.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CBrowserBaseView : public CView {
  DECLARE_DYNCREATE(CBrowserBaseView)
 public:
  CBrowserBaseView();
  ~CBrowserBaseView() override;

  // The thumbnail side: the first child window found at the initial update.
  CWnd* GetThumbnailSide() const { return m_pThumbnailSide; }

  void OnInitialUpdate() override;

 protected:
  void OnDraw(CDC* pDC) override;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  CWnd* m_pThumbnailSide;
};
