// A frame holding one view over a document: the set-up of the tests and benchmarks that
// drive a view without the main program's frame.
#pragma once
#include <fw/fw.h>

namespace testsupport {

class CViewFrame : public CFrameWnd {
 public:
  explicit CViewFrame(CRuntimeClass* pViewClass) : m_pViewClass(pViewClass) {}
  CView* GetView() const { return m_pView; }
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override;

 private:
  CRuntimeClass* m_pViewClass;
  CView* m_pView = nullptr;
};

// A new frame (it deletes itself when its window is destroyed) with a view of pViewClass
// over pDoc as its active view; NULL when the window cannot be made.
CViewFrame* CreateViewFrame(CDocument* pDoc, CRuntimeClass* pViewClass, LPCSTR lpszTitle, DWORD dwStyle,
                            const RECT& rc);

}  // namespace testsupport
