// The browser's view splitter as the main frame makes it: the icon view beside the enlarged
// view over the focus information. The map command in focus mode, with the map component
// in use: a folded enlarged view goes back to the thumbnails kept, an open one shows the map.
#include <gtest/gtest.h>

#include <DynamicSplitterWnd.h>
#include <EnlargedImageView.h>
#include <FocusInfoView.h>
#include <VxGUITrans.h>
#include <VxResourceIds.h>
#include <pump.h>

#include "iconview_host.h"

namespace {

class CFocusFrame : public CFrameWnd {
 public:
  CDynamicSplitterWnd m_split;
  CDynamicSplitterWnd* m_pDetail = nullptr;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    CSize icons(126, 500), enlarged(400, 500), focus(400, 200);
    if (!m_split.Create(this, RUNTIME_CLASS(CIconView), &icons, nullptr, nullptr, pContext, true, AFX_IDW_PANE_FIRST))
      return FALSE;
    m_pDetail = m_split.AddSubDivision(0, 1, RUNTIME_CLASS(CEnlargedImageView), &enlarged,
                                       RUNTIME_CLASS(CFocusInfoView), &focus, pContext, false);
    if (!m_pDetail) return FALSE;
    m_pDetail->SplitterWndSize(270, 200);
    m_split.HideColumn(1);
    return TRUE;
  }
};

// The splitter over a folder of pictures, every view made and updated as the frame does.
struct FocusHost {
  CVxDocument* pDoc = nullptr;
  CFocusFrame* pFrame = nullptr;
  CIconView* view = nullptr;
  CVxGUITrans* trans = nullptr;

  explicit FocusHost(const std::string& folder) {
    pDoc = DYNAMIC_DOWNCAST(CVxDocument, RUNTIME_CLASS(CVxDocument)->CreateObject());
    pDoc->OnNewDocument();
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    pFrame = new CFocusFrame;
    if (!pFrame->Create(nullptr, "focus", WS_POPUP | WS_VISIBLE, CRect(0, 0, 900, 600), nullptr, nullptr, 0,
                        &context)) {
      pFrame = nullptr;
      return;
    }
    view = static_cast<CIconView*>(pFrame->m_split.GetPane(0, 0));
    pFrame->SetActiveView(view);
    pFrame->InitialUpdateFrame(pDoc, TRUE);
    trans = view->GetController();
    CThumbnailPage* page = new CThumbnailPage(0, 1);
    page->SetGroupInfo(CThumbnailGroupInfo(2, (folder + "\\").c_str()));
    page->Add(folder.c_str(), FALSE, nullptr, 0);
    pDoc->GetBrowser()->GetPageList().AddPage(page);
    for (int i = 0; i < page->GetCount(); ++i) view->AddItem(page->GetAt(i));
    view->SortItems(nullptr, 0);
    view->Arrange(TRUE);
    uikit::PumpPending();
  }
  ~FocusHost() {
    CVxGUITrans::SetMapQuery(nullptr);
    if (trans) trans->OnModeChange(CGVIEW_LARGEICON);
    if (pFrame) pFrame->DestroyWindow();
    uikit::PumpPending();
  }
  void Map() {
    CSendCommandObject map(ID_VIEW_MAP);
    trans->OnUpdate(nullptr, VXHINT_COMMAND, &map);
    uikit::PumpPending();
  }
  int EnlargedHeight() const {
    int cur = 0, min = 0;
    pFrame->m_pDetail->GetRowInfo(0, cur, min);
    return cur;
  }
};

int MapInUse() { return 1; }

TEST(FocusMode, TheMapCommandWithAFoldedEnlargedViewGoesBackToTheThumbnailsKept) {
  std::string folder = FixtureFolder("focus-map", {"plain.jpg", "rose.jpg"});
  FocusHost h(folder);
  ASSERT_NE(h.trans, nullptr);
  CVxGUITrans::SetMapQuery(MapInUse);
  h.trans->OnModeChange(CGVIEW_SMALLICON);
  ASSERT_TRUE(h.trans->IsSmallIconMode());
  h.view->SelectItem(h.view->GetDisplayList().at(0), TRUE);
  h.trans->OnModeChange(CGVIEW_FOCUS);
  ASSERT_TRUE(h.trans->IsFocusMode());
  EXPECT_EQ(h.pFrame->m_split.GetHiddenColumn(), -1);

  // The enlarged view open: the map shows in the information below it, still in focus mode.
  ASSERT_GT(h.EnlargedHeight(), 0);
  h.Map();
  EXPECT_TRUE(h.trans->IsFocusMode());

  // Folded away by the user: the command goes back to the small icons kept.
  h.pFrame->m_pDetail->SetRowInfo(0, 0, 0);
  h.pFrame->m_pDetail->RecalcLayout();
  ASSERT_EQ(h.EnlargedHeight(), 0);
  h.Map();
  EXPECT_TRUE(h.trans->IsSmallIconMode());
  EXPECT_NE(h.pFrame->m_split.GetHiddenColumn(), -1);
}

}  // namespace
