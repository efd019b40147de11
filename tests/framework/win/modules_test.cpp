// Two modules, one framework: a DLL's views in the program's splitter and document, the
// DLL calling virtual members of the program's objects, and a DLL's own application object.
#include <gtest/gtest.h>

#include "peer.h"
#include "testwin.h"

namespace {

class CPeerDoc : public CDocument {
 public:
  std::string m_titles;
  void SetTitle(LPCSTR lpszTitle) override {
    m_titles += lpszTitle;
    CDocument::SetTitle(lpszTitle);
  }
};

class CCountingSplitter : public CSplitterWnd {
 public:
  int m_nLayouts = 0;
  void RecalcLayout() override {
    m_nLayouts++;
    CSplitterWnd::RecalcLayout();
  }
};

class CPlainView : public CView {
  DECLARE_DYNCREATE(CPlainView)
 protected:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPlainView, CView)

class CPeerFrame : public CFrameWnd {
 public:
  CCountingSplitter m_wndSplitter;
  CPeerDoc* m_pDoc = nullptr;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
    CCreateContext context;
    context.m_pCurrentDoc = m_pDoc;
    return m_wndSplitter.CreateStatic(this, 1, 3) &&
           m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CPlainView), CSize(100, 0), &context);
  }
};

TEST(Modules, ADllsViewLivesInTheProgramsSplitterAndDocument) {
  CPeerDoc* pDoc = new CPeerDoc;
  CPeerFrame* pFrame = new CPeerFrame;
  pFrame->m_pDoc = pDoc;
  ASSERT_TRUE(pFrame->Create(nullptr, "peer", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 300)));
  CCountingSplitter& s = pFrame->m_wndSplitter;

  ASSERT_TRUE(PeerAddView(&s, 0, 1, pDoc));
  CWnd* pPane = s.GetPane(0, 1);
  ASSERT_NE(pPane, nullptr);
  EXPECT_TRUE(pPane->IsKindOf(RUNTIME_CLASS(CPeerView)));
  EXPECT_TRUE(pPane->IsKindOf(RUNTIME_CLASS(CView)));
  CPeerView* pPeer = static_cast<CPeerView*>(pPane);
  EXPECT_EQ(pPeer->GetDocument(), pDoc);
  EXPECT_EQ(CPeerView::s_nAlive, 1);

  // The program's document updates the DLL's view through its virtual OnUpdate.
  pDoc->UpdateAllViews(nullptr, 1534);
  EXPECT_EQ(pPeer->m_lLastHint, 1534);

  // The DLL calls virtual members of objects the program made.
  int nLayouts = s.m_nLayouts;
  PeerRetitle(pDoc, "ピア", &s);
  EXPECT_EQ(pDoc->m_titles, "ピア");
  EXPECT_EQ(s.m_nLayouts, nLayouts + 1);

  // A class record whose base is the framework's list view, made by name.
  CRuntimeClass* pListClass = CRuntimeClass::FromName("CPeerListView");
  ASSERT_NE(pListClass, nullptr);
  EXPECT_TRUE(pListClass->IsDerivedFrom(RUNTIME_CLASS(CListView)));
  ASSERT_TRUE(s.CreateView(0, 2, pListClass, CSize(100, 0), nullptr));
  char cls[32] = "";
  ::GetClassNameA(s.GetPane(0, 2)->m_hWnd, cls, sizeof(cls));
  EXPECT_STREQ(cls, "SysListView32");

  // The frame takes the views along; the DLL's view deletes itself in its own module.
  pFrame->DestroyWindow();
  EXPECT_EQ(CPeerView::s_nAlive, 0);
}

typedef CWinApp* (*GetAppFn)();
typedef const char* (*GetNameFn)();
typedef HINSTANCE (*GetHandleFn)();

TEST(Modules, ADllsApplicationObjectStaysWithTheDll) {
  // A failing initialisation fails the load.
  ::SetEnvironmentVariableA("GLIMFW_PEER_FAIL", "1");
  HMODULE hFailed = ::LoadLibraryA("fw_peerapp.tsp");
  ::SetEnvironmentVariableA("GLIMFW_PEER_FAIL", nullptr);
  EXPECT_EQ(hFailed, nullptr);
  EXPECT_EQ(AfxGetApp(), &theApp);

  HINSTANCE hResBefore = AfxGetResourceHandle();
  HMODULE hPeer = ::LoadLibraryA("fw_peerapp.tsp");
  ASSERT_NE(hPeer, nullptr);
  auto getApp = (GetAppFn)::GetProcAddress(hPeer, "PeerGetApp");
  auto getOwnApp = (GetAppFn)::GetProcAddress(hPeer, "PeerGetOwnApp");
  auto getName = (GetNameFn)::GetProcAddress(hPeer, "PeerGetAppName");
  auto getRes = (GetHandleFn)::GetProcAddress(hPeer, "PeerGetResourceHandle");
  ASSERT_TRUE(getApp && getOwnApp && getName && getRes);
  EXPECT_EQ(getApp(), &theApp);             // the program's object stays AfxGetApp()
  EXPECT_EQ(AfxGetApp(), &theApp);
  CWinApp* pPeerApp = getOwnApp();
  EXPECT_NE(pPeerApp, &theApp);
  EXPECT_EQ(AfxGetModuleApp(hPeer), pPeerApp);
  EXPECT_STREQ(getName(), "ピアアプリ");
  EXPECT_STREQ(AfxGetAppName(), "fwtest");
  EXPECT_EQ(getRes(), ::GetModuleHandleA("fw_win_res.dll"));  // its own resource handle
  EXPECT_EQ(AfxGetResourceHandle(), hResBefore);               // the program's unchanged
  ::FreeLibrary(hPeer);
  EXPECT_EQ(AfxGetModuleApp(hPeer), nullptr);
}

}  // namespace
