// CEnlargedImageView: the browser view that shows the focused picture or movie, enlarged. The main frame
// creates it by run-time class in its browser area; until the browser's controller is
// built the view only paints its background.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CEnlargedImageView : public CView {
  DECLARE_DYNCREATE(CEnlargedImageView)
 public:
  CEnlargedImageView();
  ~CEnlargedImageView() override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
