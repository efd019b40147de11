#include "BrowserBaseView.h"



IMPLEMENT_DYNCREATE(CBrowserBaseView, CView)

BEGIN_MESSAGE_MAP(CBrowserBaseView, CView)
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CBrowserBaseView::CBrowserBaseView() : m_pThumbnailSide(NULL) {}
CBrowserBaseView::~CBrowserBaseView() {}

void CBrowserBaseView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  m_pThumbnailSide = GetWindow(GW_CHILD);
  if (m_pThumbnailSide) {
    CRect rc;
    GetClientRect(&rc);
    m_pThumbnailSide->MoveWindow(0, 0, rc.Width(), rc.Height());
  }
}

void CBrowserBaseView::OnDraw(CDC*) {}

BOOL CBrowserBaseView::OnEraseBkgnd(CDC*) { return TRUE; }  // the thumbnail side covers it all

void CBrowserBaseView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_pThumbnailSide && ::IsWindow(m_pThumbnailSide->m_hWnd)) m_pThumbnailSide->MoveWindow(0, 0, cx, cy);
}

void CBrowserBaseView::OnDestroy() {
  m_pThumbnailSide = NULL;
  CView::OnDestroy();
}
