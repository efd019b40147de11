#include "peerview.h"

#include <vector>

namespace {

struct Seen {
  LPARAM hint;
  UINT id;
  UINT_PTR value;
};
std::vector<Seen> g_seen;

class CPeerCommandView : public CView {
  DECLARE_DYNCREATE(CPeerCommandView)

 protected:
  void OnDraw(CDC*) override {}
  void OnUpdate(CView*, LPARAM lHint, CObject* pHint) override {
    CSendCommandObject* pCommand = DYNAMIC_DOWNCAST(CSendCommandObject, pHint);
    if (pCommand) g_seen.push_back(Seen{lHint, pCommand->GetID(), pCommand->GetValue()});
  }
};
IMPLEMENT_DYNCREATE(CPeerCommandView, CView)

}  // namespace

CView* PeerCreateView(CFrameWnd* pFrame, CDocument* pDoc, UINT nID) {
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CPeerCommandView);
  context.m_pCurrentDoc = pDoc;
  return static_cast<CView*>(pFrame->CreateView(&context, nID));
}

int PeerSeenCount() { return (int)g_seen.size(); }

BOOL PeerSeen(int i, LPARAM* pHint, UINT* pID, UINT_PTR* pValue) {
  if (i < 0 || i >= (int)g_seen.size()) return FALSE;
  *pHint = g_seen[i].hint;
  *pID = g_seen[i].id;
  *pValue = g_seen[i].value;
  return TRUE;
}

void PeerClear() { g_seen.clear(); }
