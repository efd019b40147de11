// Command routing through frame, active view, document and application; update-UI and
// automatic disabling; menus and prompts; documents and their views; closing.
#include <gtest/gtest.h>

#include "testwin.h"

using fwtest::Joined;
using fwtest::Log;

namespace {

int g_nDocs = 0;   // living documents
int g_nViews = 0;  // living views

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)
 public:
  CTestDoc() { ++g_nDocs; }
  ~CTestDoc() override { --g_nDocs; }

 protected:
  afx_msg void OnDoc() { Log("doc"); }
  afx_msg void OnGreyed() { Log("doc greyed"); }
  afx_msg void OnUpdateGreyed(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
  ON_COMMAND(ID_CMD_DOC, &CTestDoc::OnDoc)
  ON_COMMAND(ID_CMD_ALL, &CTestDoc::OnDoc)
  ON_COMMAND(ID_CMD_DOCFRAME, &CTestDoc::OnDoc)
  ON_COMMAND(ID_CMD_GREYED, &CTestDoc::OnGreyed)
  ON_UPDATE_COMMAND_UI(ID_CMD_GREYED, &CTestDoc::OnUpdateGreyed)
END_MESSAGE_MAP()

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)
 public:
  CTestView() { ++g_nViews; }
  ~CTestView() override { --g_nViews; }
  std::string m_name = "v";
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {
    std::string sender = pSender ? static_cast<CTestView*>(pSender)->m_name : "none";
    Log(m_name + " from " + sender + " " + std::to_string((long)lHint) + (pHint ? " obj" : ""));
  }

 protected:
  void OnDraw(CDC*) override {}
  afx_msg void OnView() { Log("view"); }
  afx_msg BOOL OnDecline(UINT) {
    Log("view declines");
    return FALSE;
  }
  afx_msg void OnRange(UINT nID) { Log("view range " + std::to_string(nID)); }
  afx_msg void OnUpdateOnly(CCmdUI*) {}
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
  ON_COMMAND(ID_CMD_VIEW, &CTestView::OnView)
  ON_COMMAND(ID_CMD_ALL, &CTestView::OnView)
  ON_COMMAND_EX(ID_CMD_DECLINE, &CTestView::OnDecline)
  ON_COMMAND_RANGE(ID_CMD_RANGE_FIRST, ID_CMD_RANGE_LAST, &CTestView::OnRange)
  ON_UPDATE_COMMAND_UI(ID_CMD_UPDATE_ONLY, &CTestView::OnUpdateOnly)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)
 public:
  CStatusBar m_wndStatusBar;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_CMD_VIEW};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 2)) return -1;
    return 0;
  }
  afx_msg void OnFrame() { Log("frame"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_CMD_FRAME, &CTestFrame::OnFrame)
  ON_COMMAND(ID_CMD_ALL, &CTestFrame::OnFrame)
  ON_COMMAND(ID_CMD_DOCFRAME, &CTestFrame::OnFrame)
  ON_COMMAND(ID_CMD_FRAMEAPP, &CTestFrame::OnFrame)
  ON_COMMAND(ID_CMD_DECLINE, &CTestFrame::OnFrame)
END_MESSAGE_MAP()

// Routes a range by hand, as a program's main frame does, and asks the framework to keep
// those commands enabled.
class CHandFrame : public CTestFrame {
  DECLARE_DYNCREATE(CHandFrame)
 public:
  CHandFrame() { AddHandRoutedCommands(ID_CMD_HAND_FIRST, ID_CMD_HAND_LAST); }
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nCode == CN_COMMAND && !pHandlerInfo && nID >= ID_CMD_HAND_FIRST && nID <= ID_CMD_HAND_LAST) {
      Log("hand " + std::to_string(nID));
      return TRUE;
    }
    return CTestFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
};
IMPLEMENT_DYNCREATE(CHandFrame, CTestFrame)

// The frame and its document for a test; closed like the user closes a frame.
struct OpenFrame {
  fwtest::ResourceScope res;
  CSingleDocTemplate tmpl;
  CDocument* pDoc = nullptr;
  CFrameWnd* pFrame = nullptr;

  explicit OpenFrame(CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass = RUNTIME_CLASS(CTestView))
      : tmpl(IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc), pFrameClass, pViewClass) {
    tmpl.LoadTemplate();
    pDoc = tmpl.OpenDocumentFile(nullptr, FALSE);
    if (pDoc) pFrame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    fwtest::PumpPending();
    fwtest::g_log.clear();
  }
  ~OpenFrame() {
    if (pFrame && ::IsWindow(pFrame->m_hWnd)) pFrame->SendMessage(WM_CLOSE);
    fwtest::DropQuit();
    theApp.m_pMainWnd = nullptr;
  }
};

TEST(Routing, ActiveViewThenDocumentThenFrameThenApplication) {
  OpenFrame open(RUNTIME_CLASS(CTestFrame));
  ASSERT_NE(open.pFrame, nullptr);
  ASSERT_NE(open.pFrame->GetActiveView(), nullptr);
  struct {
    UINT nID;
    const char* expected;
  } cases[] = {
      {ID_CMD_VIEW, "view"},
      {ID_CMD_DOC, "doc"},
      {ID_CMD_FRAME, "frame"},
      {ID_CMD_APP, "app"},
      {ID_CMD_ALL, "view"},
      {ID_CMD_DOCFRAME, "doc"},
      {ID_CMD_FRAMEAPP, "frame"},
      {ID_CMD_NONE, ""},
      {ID_CMD_DECLINE, "view declines|frame"},
      {ID_CMD_RANGE_FIRST + 3, "view range 30013"},
      {ID_CMD_GREYED, ""},  // its update handler disables it: a menu key can't run it
  };
  for (auto& c : cases) {
    open.pFrame->SendMessage(WM_COMMAND, c.nID, 0);
    EXPECT_EQ(Joined(), c.expected) << c.nID;
  }
  // Without an active view the document is out of the route.
  open.pFrame->SetActiveView(nullptr);
  open.pFrame->SendMessage(WM_COMMAND, ID_CMD_ALL, 0);
  EXPECT_EQ(Joined(), "frame");
}

// Remembers what an update did.
class CRecordCmdUI : public CCmdUI {
 public:
  int m_nEnabled = -1;
  void Enable(BOOL bOn) override {
    m_nEnabled = bOn ? 1 : 0;
    m_bEnableChanged = TRUE;
  }
};

int UpdateState(CCmdTarget* pTarget, UINT nID, BOOL bDisableIfNoHandler) {
  CRecordCmdUI state;
  state.m_nID = nID;
  state.DoUpdate(pTarget, bDisableIfNoHandler);
  return state.m_nEnabled;
}

TEST(Routing, CommandsWithoutHandlersAreDisabled) {
  OpenFrame open(RUNTIME_CLASS(CTestFrame));
  ASSERT_NE(open.pFrame, nullptr);
  struct {
    UINT nID;
    BOOL bAuto;
    int expected;  // 1 enabled, 0 disabled, -1 left alone
  } cases[] = {
      {ID_CMD_VIEW, TRUE, 1},        {ID_CMD_FRAME, TRUE, 1},        {ID_CMD_APP, TRUE, 1},
      {ID_CMD_NONE, TRUE, 0},        {ID_CMD_NONE, FALSE, -1},       {ID_CMD_GREYED, TRUE, 0},
      {ID_CMD_UPDATE_ONLY, TRUE, -1}, {ID_CMD_DECLINE, TRUE, 1},     {ID_CMD_RANGE_LAST, TRUE, 1},
      {ID_CMD_HAND_FIRST, TRUE, 0},
  };
  for (auto& c : cases) EXPECT_EQ(UpdateState(open.pFrame, c.nID, c.bAuto), c.expected) << c.nID;
}

TEST(Routing, HandRoutedRangesOfADerivedFrameStayEnabled) {
  OpenFrame open(RUNTIME_CLASS(CHandFrame));
  ASSERT_NE(open.pFrame, nullptr);
  EXPECT_EQ(UpdateState(open.pFrame, ID_CMD_HAND_FIRST + 4, TRUE), 1);
  EXPECT_EQ(UpdateState(open.pFrame, ID_CMD_HAND_LAST + 1, TRUE), 0);
  EXPECT_EQ(UpdateState(open.pFrame, ID_CMD_NONE, TRUE), 0);
  open.pFrame->SendMessage(WM_COMMAND, ID_CMD_HAND_FIRST + 4, 0);
  EXPECT_EQ(Joined(), "hand 29505");
  open.pFrame->SendMessage(WM_COMMAND, ID_CMD_VIEW, 0);
  EXPECT_EQ(Joined(), "view");
}

UINT MenuGreyed(HMENU hMenu, UINT nPos) { return ::GetMenuState(hMenu, nPos, MF_BYPOSITION) & MF_GRAYED; }

TEST(Routing, MenusAreUpdatedWhenTheyOpen) {
  for (CRuntimeClass* pClass : {RUNTIME_CLASS(CTestFrame), RUNTIME_CLASS(CHandFrame)}) {
    OpenFrame open(pClass);
    ASSERT_NE(open.pFrame, nullptr);
    HMENU hBar = ::GetMenu(open.pFrame->m_hWnd);
    ASSERT_NE(hBar, nullptr);
    HMENU hPopup = ::GetSubMenu(hBar, 0);
    open.pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, 0);
    BOOL bHand = pClass == RUNTIME_CLASS(CHandFrame);
    EXPECT_EQ(MenuGreyed(hPopup, 0), 0u);         // view
    EXPECT_EQ(MenuGreyed(hPopup, 1), MF_GRAYED);  // nobody
    EXPECT_EQ(MenuGreyed(hPopup, 3), MF_GRAYED);  // disabled by its update handler
    EXPECT_EQ(MenuGreyed(hPopup, 4), bHand ? 0u : MF_GRAYED);
    EXPECT_EQ(MenuGreyed(hPopup, 5), 0u);         // popups are never greyed for lack of a handler
  }
}

TEST(Routing, MenuPromptsGoToTheFirstPaneAndTheIdlePromptComesBack) {
  OpenFrame open(RUNTIME_CLASS(CTestFrame));
  ASSERT_NE(open.pFrame, nullptr);
  CTestFrame* pFrame = static_cast<CTestFrame*>(open.pFrame);
  EXPECT_EQ(pFrame->GetMessageBar(), &pFrame->m_wndStatusBar);
  pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_CMD_PROMPT, MF_HILITE), (LPARAM)::GetMenu(pFrame->m_hWnd));
  EXPECT_STREQ(pFrame->m_wndStatusBar.GetPaneText(0), "コマンドの説明");
  // A bar's prompt waits while the menu's shows.
  pFrame->SendMessage(WM_POPMESSAGESTRING, ID_CMD_VIEW);
  EXPECT_STREQ(pFrame->m_wndStatusBar.GetPaneText(0), "コマンドの説明");
  pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_STREQ(pFrame->m_wndStatusBar.GetPaneText(0), "レディ");
  pFrame->SendMessage(WM_POPMESSAGESTRING, ID_CMD_VIEW);
  EXPECT_STREQ(pFrame->m_wndStatusBar.GetPaneText(0), "ビューのコマンド");
  CString prompt;
  pFrame->GetMessageString(ID_CMD_PROMPT, prompt);
  EXPECT_STREQ(prompt, "コマンドの説明");
  pFrame->GetMessageString(ID_CMD_NONE, prompt);
  EXPECT_TRUE(prompt.IsEmpty());
  // The indicator pane shows its string.
  EXPECT_STREQ(pFrame->m_wndStatusBar.GetPaneText(1), "ビューのコマンド");
}

TEST(Documents, UpdateAllViewsSkipsTheSenderAndKeepsOrder) {
  CTestDoc* pDoc = new CTestDoc;
  CTestView* views[3];
  const char* names[] = {"a", "b", "c"};
  for (int i = 0; i < 3; i++) {
    views[i] = new CTestView;
    views[i]->m_name = names[i];
    pDoc->AddView(views[i]);
  }
  CTestView hintObject;  // any CObject
  fwtest::g_log.clear();
  pDoc->UpdateAllViews(views[1], 29536, &hintObject);
  EXPECT_EQ(Joined(), "a from b 29536 obj|c from b 29536 obj");
  pDoc->UpdateAllViews(nullptr);
  EXPECT_EQ(Joined(), "a from none 0|b from none 0|c from none 0");
  // Removing a view leaves the others; the last one gone closes the document.
  delete views[0];
  int n = 0;
  for (POSITION pos = pDoc->GetFirstViewPosition(); pos;) {
    pDoc->GetNextView(pos);
    n++;
  }
  EXPECT_EQ(n, 2);
  int docs = g_nDocs;
  delete views[1];
  delete views[2];
  EXPECT_EQ(g_nDocs, docs - 1);
}

// A document that can't be made new, in a frame with a view of it and in one without:
// neither the frame's views nor the document outlive the failure.
class CRefusingDoc : public CTestDoc {
  DECLARE_DYNCREATE(CRefusingDoc)
 public:
  BOOL OnNewDocument() override { return FALSE; }
};
IMPLEMENT_DYNCREATE(CRefusingDoc, CTestDoc)

TEST(Documents, ANewDocumentThatFailsLeavesNothingBehind) {
  fwtest::ResourceScope res;
  int nDocs = g_nDocs, nViews = g_nViews;
  for (CRuntimeClass* pViewClass : {RUNTIME_CLASS(CTestView), (CRuntimeClass*)nullptr}) {
    CSingleDocTemplate tmpl(IDR_TESTFRAME, RUNTIME_CLASS(CRefusingDoc), RUNTIME_CLASS(CTestFrame), pViewClass);
    tmpl.LoadTemplate();
    EXPECT_EQ(tmpl.OpenDocumentFile(nullptr, FALSE), nullptr);
    EXPECT_EQ(g_nDocs, nDocs) << (pViewClass ? "with a view" : "without views");
    EXPECT_EQ(g_nViews, nViews);
    EXPECT_EQ(tmpl.GetFirstDocPosition(), nullptr);
  }
  fwtest::PumpPending();
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

// A frame that builds its own client: the template's view is never made.
class CClientFrame : public CTestFrame {
  DECLARE_DYNCREATE(CClientFrame)
 public:
  CSplitterWnd m_wndSplitter;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    if (!m_wndSplitter.CreateStatic(this, 1, 2)) return FALSE;
    return m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CTestView), CSize(100, 0), pContext) &&
           m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CTestView), CSize(100, 0), pContext);
  }
};
IMPLEMENT_DYNCREATE(CClientFrame, CTestFrame)

class CNeverView : public CTestView {
  DECLARE_DYNCREATE(CNeverView)
 public:
  static int s_nMade;
  CNeverView() { ++s_nMade; }
};
int CNeverView::s_nMade = 0;
IMPLEMENT_DYNCREATE(CNeverView, CTestView)

TEST(Frames, OwnClientLayoutAndClosing) {
  int nDocs = g_nDocs, nViews = g_nViews;
  {
    OpenFrame open(RUNTIME_CLASS(CClientFrame), RUNTIME_CLASS(CNeverView));
    ASSERT_NE(open.pFrame, nullptr);
    CClientFrame* pFrame = static_cast<CClientFrame*>(open.pFrame);
    EXPECT_EQ(CNeverView::s_nMade, 0);
    EXPECT_EQ(g_nViews, nViews + 2);
    EXPECT_EQ(pFrame->m_wndSplitter.GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    // The documents' views are the splitter's panes.
    int n = 0;
    for (POSITION pos = open.pDoc->GetFirstViewPosition(); pos; n++) open.pDoc->GetNextView(pos);
    EXPECT_EQ(n, 2);
    // Status bar at the bottom, the splitter fills the rest.
    pFrame->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    pFrame->RecalcLayout();
    CRect rcClient, rcBar, rcSplit;
    pFrame->GetClientRect(&rcClient);
    pFrame->m_wndStatusBar.GetWindowRect(&rcBar);
    pFrame->ScreenToClient(&rcBar);
    pFrame->m_wndSplitter.GetWindowRect(&rcSplit);
    pFrame->ScreenToClient(&rcSplit);
    EXPECT_EQ(rcBar.bottom, rcClient.bottom);
    EXPECT_GT(rcBar.Height(), 10);
    EXPECT_EQ(rcSplit.top, 0);
    EXPECT_EQ(rcSplit.bottom, rcBar.top);
    EXPECT_EQ(rcSplit.Width(), rcClient.Width());
    // Hiding the bar gives its room to the client.
    pFrame->ShowControlBar(&pFrame->m_wndStatusBar, FALSE, FALSE);
    pFrame->m_wndSplitter.GetWindowRect(&rcSplit);
    pFrame->ScreenToClient(&rcSplit);
    EXPECT_EQ(rcSplit.bottom, rcClient.bottom);
    pFrame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR, 0);  // the framework's toggle
    EXPECT_TRUE(pFrame->m_wndStatusBar.IsVisible());
  }
  // Closing the frame closed the document; frame, views and document deleted themselves.
  EXPECT_EQ(g_nDocs, nDocs);
  EXPECT_EQ(g_nViews, nViews);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

}  // namespace
