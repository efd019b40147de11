// CMarlo2View: the view class the document template names. The main frame builds its own
// client (the pane tree), so no CMarlo2View is ever made.
#pragma once
#include <fw/fw.h>

class CMarlo2View : public CView {
  DECLARE_DYNCREATE(CMarlo2View)
 protected:
  void OnDraw(CDC* pDC) override;
};
