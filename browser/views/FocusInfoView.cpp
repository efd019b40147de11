#include "FocusInfoView.h"

IMPLEMENT_DYNCREATE(CFocusInfoView, CView)

BEGIN_MESSAGE_MAP(CFocusInfoView, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CFocusInfoView::CFocusInfoView() {}
CFocusInfoView::~CFocusInfoView() {}

BOOL CFocusInfoView::OnEraseBkgnd(CDC*) { return TRUE; }  // OnDraw fills the whole client area

void CFocusInfoView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(236, 236, 236));
}
