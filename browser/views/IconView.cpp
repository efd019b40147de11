#include "IconView.h"

IMPLEMENT_DYNCREATE(CIconView, CView)

BEGIN_MESSAGE_MAP(CIconView, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CIconView::CIconView() {}
CIconView::~CIconView() {}

BOOL CIconView::OnEraseBkgnd(CDC*) { return TRUE; }  // OnDraw fills the whole client area

void CIconView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(122, 142, 156));
}
