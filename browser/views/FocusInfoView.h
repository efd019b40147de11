// CFocusInfoView: the browser view that shows the focused file's information. The main frame
// creates it by run-time class in its browser area; until the browser's controller is
// built the view only paints its background.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CFocusInfoView : public CView {
  DECLARE_DYNCREATE(CFocusInfoView)
 public:
  CFocusInfoView();
  ~CFocusInfoView() override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
