#include "EnlargedImageView.h"

IMPLEMENT_DYNCREATE(CEnlargedImageView, CView)

BEGIN_MESSAGE_MAP(CEnlargedImageView, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CEnlargedImageView::CEnlargedImageView() {}
CEnlargedImageView::~CEnlargedImageView() {}

BOOL CEnlargedImageView::OnEraseBkgnd(CDC*) { return TRUE; }  // OnDraw fills the whole client area

void CEnlargedImageView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(90, 105, 115));
}
