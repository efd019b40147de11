// The document in a frame: the template's class record, commands routed from the frame
// to the document and sent on to views of two modules, and the menu states.
#include <gtest/gtest.h>

#include "doc_fixtures.h"
#include "peerview.h"

namespace {

// A frame with a recording view of this program (the active one) and one of the peer.
class CDocFrame : public CFrameWnd {
 public:
  CRecordingView* m_pOwn = nullptr;
  CView* m_pPeer = nullptr;

  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    CCreateContext own = *pContext;
    own.m_pNewViewClass = RUNTIME_CLASS(CRecordingView);
    m_pOwn = static_cast<CRecordingView*>(CreateView(&own, AFX_IDW_PANE_FIRST));
    m_pPeer = PeerCreateView(this, pContext->m_pCurrentDoc, AFX_IDW_PANE_FIRST + 1);
    return m_pOwn && m_pPeer;
  }
};

class CMenuState : public CCmdUI {
 public:
  BOOL m_bEnabled = FALSE;
  int m_nRadio = -1;
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetRadio(BOOL bOn) override { m_nRadio = bOn ? 1 : 0; }
};

struct DocInFrame {
  CVxDocument* pDoc = nullptr;
  CDocFrame* pFrame = nullptr;

  DocInFrame() {
    // As the main program's document template makes it: by its class record.
    CRuntimeClass* pClass = CRuntimeClass::FromName("CVxDocument");
    EXPECT_EQ(pClass, RUNTIME_CLASS(CVxDocument));
    pDoc = DYNAMIC_DOWNCAST(CVxDocument, pClass ? pClass->CreateObject() : nullptr);
    if (!pDoc) return;
    pDoc->OnNewDocument();
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    pFrame = new CDocFrame;
    if (!pFrame->Create(nullptr, "document", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, nullptr, 0,
                        &context)) {
      pFrame = nullptr;
      return;
    }
    pFrame->SetActiveView(pFrame->m_pOwn);
    PeerClear();
  }
  ~DocInFrame() {
    if (pFrame) pFrame->DestroyWindow();  // the last view takes the document along
    doctest::PumpPending();
  }
};

}  // namespace

TEST(Document, CommandsReachTheViewsOfBothModules) {
  DocInFrame f;
  ASSERT_NE(f.pFrame, nullptr);
  ASSERT_NE(f.pDoc->GetBrowser(), nullptr);
  struct {
    UINT command;
    UINT id;       // as the views get it
    UINT_PTR value;
  } cases[] = {
      {29547, 29547, 10}, {29542, 29542, 1},  {29562, 29562, 11}, {29710, 29568, 17},
      {29711, 29569, 18}, {29592, 29592, 3},  {29505, 29505, 0},  {ID_EDIT_PASTE, ID_EDIT_PASTE, 0},
      {29536, 29536, 0},  {29100, 29100, 0},
  };
  for (auto& c : cases) {
    f.pFrame->m_pOwn->m_seen.clear();
    PeerClear();
    f.pFrame->SendMessage(WM_COMMAND, c.command, 0);
    ASSERT_EQ(f.pFrame->m_pOwn->m_seen.size(), 1u) << c.command;
    const doctest::SeenHint& own = f.pFrame->m_pOwn->m_seen[0];
    EXPECT_TRUE(own.command);
    EXPECT_EQ(own.hint, VXHINT_COMMAND);
    EXPECT_EQ(own.id, c.id);
    EXPECT_EQ(own.value, c.value) << c.command;
    ASSERT_EQ(PeerSeenCount(), 1) << c.command;
    LPARAM hint;
    UINT id;
    UINT_PTR value;
    ASSERT_TRUE(PeerSeen(0, &hint, &id, &value));
    EXPECT_EQ(id, c.id);
    EXPECT_EQ(value, c.value);
  }
  // Commands that are not the browser's go nowhere.
  f.pFrame->m_pOwn->m_seen.clear();
  f.pFrame->SendMessage(WM_COMMAND, 29999, 0);
  f.pFrame->SendMessage(WM_COMMAND, 29560, 0);
  EXPECT_TRUE(f.pFrame->m_pOwn->m_seen.empty());
  EXPECT_TRUE(CVxDocument::IsBrowserCommand(29587));
  EXPECT_FALSE(CVxDocument::IsBrowserCommand(29588));
}

TEST(Document, MenuItemsShowTheCurrentChoice) {
  DocInFrame f;
  ASSERT_NE(f.pFrame, nullptr);
  CBrowserDocument* pBrowser = f.pDoc->GetBrowser();
  pBrowser->SetViewMode(BROWSE_VIEW_FOCUS);
  pBrowser->SetSortType(19);
  pBrowser->SetFilterType(0x1000);
  struct {
    UINT id;
    int radio;
  } cases[] = {
      {29545, 1}, {29541, 0}, {29564, 1}, {29583, 1}, {29562, 0}, {29710, 0}, {29593, 1}, {29594, 0},
  };
  for (auto& c : cases) {
    CMenuState ui;
    ui.m_nID = c.id;
    EXPECT_TRUE(f.pDoc->OnCmdMsg(c.id, (int)CN_UPDATE_COMMAND_UI, &ui, nullptr)) << c.id;
    EXPECT_TRUE(ui.m_bEnabled) << c.id;
    EXPECT_EQ(ui.m_nRadio, c.radio) << c.id;
  }
}
