#include "viewframe.h"

namespace testsupport {

BOOL CViewFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  CCreateContext own = *pContext;
  own.m_pNewViewClass = m_pViewClass;
  m_pView = static_cast<CView*>(CreateView(&own, AFX_IDW_PANE_FIRST));
  return m_pView != nullptr;
}

CViewFrame* CreateViewFrame(CDocument* pDoc, CRuntimeClass* pViewClass, LPCSTR lpszTitle, DWORD dwStyle,
                            const RECT& rc) {
  CCreateContext context;
  context.m_pCurrentDoc = pDoc;
  CViewFrame* pFrame = new CViewFrame(pViewClass);
  if (!pFrame->Create(nullptr, lpszTitle, dwStyle, rc, nullptr, nullptr, 0, &context)) return nullptr;
  pFrame->SetActiveView(pFrame->GetView());
  return pFrame;
}

}  // namespace testsupport
