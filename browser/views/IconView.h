// CIconView: the browser view that shows the thumbnails of the shown folder. The main frame
// creates it by run-time class in its browser area; until the browser's controller is
// built the view only paints its background.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CIconView : public CView {
  DECLARE_DYNCREATE(CIconView)
 public:
  CIconView();
  ~CIconView() override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
