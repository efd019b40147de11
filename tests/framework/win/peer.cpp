// The second module of the window tests.
#include "peer.h"

IMPLEMENT_DYNCREATE(CPeerView, CView)

int CPeerView::s_nAlive = 0;

CPeerView::CPeerView() : m_lLastHint(0), m_nUpdates(0) { ++s_nAlive; }
CPeerView::~CPeerView() { --s_nAlive; }

void CPeerView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(0, 0, 200));
}

void CPeerView::OnUpdate(CView*, LPARAM lHint, CObject*) {
  m_lLastHint = lHint;
  m_nUpdates++;
}

IMPLEMENT_DYNCREATE(CPeerListView, CListView)

BOOL PeerAddView(CSplitterWnd* pSplitter, int row, int col, CDocument* pDoc) {
  CCreateContext context;
  context.m_pCurrentDoc = pDoc;
  if (!pSplitter->CreateView(row, col, RUNTIME_CLASS(CPeerView), CSize(120, 90), &context)) return FALSE;
  pSplitter->GetPane(row, col)->SendMessage(WM_INITIALUPDATE);
  pSplitter->RecalcLayout();
  return TRUE;
}

void PeerRetitle(CDocument* pDoc, const char* pszTitle, CSplitterWnd* pSplitter) {
  pDoc->SetTitle(pszTitle);
  pSplitter->RecalcLayout();
}
