// The browser strip: its tables and layout without windows, then the strip as the main
// frame makes it (over another view in the dynamic splitter): choices to the main window,
// the document's changes, and how it looks.
#include <gtest/gtest.h>

#include <BrowserSubView.h>
#include <DynamicSplitterWnd.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include <vector>

#include "uikit.h"

namespace {

TEST(SubViewTables, ComboEntriesAndIds) {
  const int sortIds[] = {19, 20, 15, 16, 17, 18, 13, 14, 11, 12};
  for (int i = 0; i < 10; i++) {
    EXPECT_EQ(subview::SortIdOfEntry(i), sortIds[i]);
    EXPECT_EQ(subview::EntryOfSortId(sortIds[i]), i);
    EXPECT_EQ(subview::SortStringOfEntry(i), 3050u + i);
  }
  EXPECT_EQ(subview::SortIdOfEntry(2), 15);  // the third entry
  EXPECT_EQ(subview::EntryOfSortId(21), -1);
  EXPECT_EQ(subview::EntryOfSortId(29), -1);
  EXPECT_EQ(subview::SortIdOfEntry(10), -1);
  EXPECT_EQ(subview::SortIdOfEntry(-1), -1);
  struct {
    int entry;
    UINT string;
    int id;
  } filters[] = {{0, 3071, 0}, {1, 3072, 3}, {2, 3073, 4}, {3, 3070, 6}};
  for (auto& f : filters) {
    EXPECT_EQ(subview::FilterStringOfEntry(f.entry), f.string);
    EXPECT_EQ(subview::FilterIdOfEntry(f.entry), f.id);
    EXPECT_EQ(subview::EntryOfFilterId(f.id), f.entry);
  }
  EXPECT_EQ(subview::EntryOfFilterId(5), -1);
  EXPECT_EQ(subview::FilterIdOfEntry(4), -1);
}

TEST(SubViewTables, ComboWidthsModeValuesAndTips) {
  struct {
    int widest, sort, filter;
  } widths[] = {{40, 114, 114}, {80, 114, 114}, {81, 206, 115}, {150, 206, 184}};
  for (auto& w : widths) {
    EXPECT_EQ(subview::SortComboWidth(w.widest), w.sort) << w.widest;
    EXPECT_EQ(subview::FilterComboWidth(w.widest), w.filter) << w.widest;
  }
  struct {
    int value, shown;
  } modes[] = {{1, 1}, {2, 1}, {5, 1}, {6, 1}, {10, 0}, {3, -1}, {11, -1}, {0, -1}};
  for (auto& m : modes) EXPECT_EQ(subview::ComboVisibilityOfModeValue(m.value), m.shown) << m.value;
  EXPECT_EQ(subview::TipOfCommandString("Large icons\nIcons"), CString("Icons"));
  EXPECT_EQ(subview::TipOfCommandString("Icons"), CString("Icons"));
  EXPECT_EQ(subview::TipOfCommandString(""), CString(""));
}

subview::LayoutInput Input(UINT mode, bool combos = true) {
  subview::LayoutInput in = {};
  in.viewMode = mode;
  in.cyStrip = 36;
  in.combosShown = combos;
  in.size[subview::kCaptionView] = {30, 12};
  in.size[subview::kToolbar] = {132, 32};
  in.size[subview::kSlider] = {167, 26};
  in.size[subview::kCaptionSort] = {40, 12};
  in.size[subview::kSortCombo] = {114, 20};
  in.size[subview::kCaptionFilter] = {50, 12};
  in.size[subview::kFilterCombo] = {120, 20};
  return in;
}

TEST(SubViewLayout, ItemsLeftToRightVerticallyCentred) {
  subview::Layout l = subview::LayOut(Input(1));
  EXPECT_FALSE(l.music);
  EXPECT_EQ(CRect(l.rect[subview::kCaptionView]), CRect(7, 12, 37, 24));
  EXPECT_EQ(CRect(l.rect[subview::kToolbar]), CRect(41, 2, 173, 34));
  EXPECT_EQ(CRect(l.rect[subview::kSlider]), CRect(180, 5, 347, 31));
  EXPECT_EQ(CRect(l.rect[subview::kCaptionSort]), CRect(354, 12, 394, 24));
  EXPECT_EQ(CRect(l.rect[subview::kSortCombo]), CRect(398, 8, 512, 28));
  EXPECT_EQ(CRect(l.rect[subview::kCaptionFilter]), CRect(519, 12, 569, 24));
  EXPECT_EQ(CRect(l.rect[subview::kFilterCombo]), CRect(573, 8, 693, 28));
  for (int i = 0; i < subview::kItems; i++) EXPECT_TRUE(l.shown[i]) << i;

  // View mode 16: no slider; the sort caption follows the toolbar directly.
  l = subview::LayOut(Input(16));
  EXPECT_FALSE(l.shown[subview::kSlider]);
  EXPECT_EQ(l.rect[subview::kCaptionSort].left, 173 + 7);

  // Music modes: the caption and the toolbar only.
  for (UINT mode : {256u, 512u}) {
    l = subview::LayOut(Input(mode));
    EXPECT_TRUE(l.music);
    EXPECT_TRUE(l.shown[subview::kCaptionView]);
    EXPECT_EQ(l.rect[subview::kToolbar].left, 30 + 11);
    for (auto item : {subview::kSlider, subview::kCaptionSort, subview::kSortCombo, subview::kCaptionFilter,
                      subview::kFilterCombo})
      EXPECT_FALSE(l.shown[item]) << item;
  }

  // A short strip: the sort combo gives up width first, then the filter combo, each down
  // to its least; with room to spare nothing changes.
  struct {
    int cxStrip;
    int sortWidth, filterWidth;
  } kShort[] = {
      {0, 114, 120},    {700, 114, 120}, {690, 104, 120}, {650, 72, 112},
      {600, 72, 72},    // the least: the combos end past the strip, as small as they get
  };
  for (const auto& c : kShort) {
    subview::LayoutInput in = Input(1);
    in.cxStrip = c.cxStrip;
    l = subview::LayOut(in);
    CRect sort(l.rect[subview::kSortCombo]), filter(l.rect[subview::kFilterCombo]);
    EXPECT_EQ(sort.Width(), c.sortWidth) << c.cxStrip;
    EXPECT_EQ(filter.Width(), c.filterWidth) << c.cxStrip;
    EXPECT_EQ(l.rect[subview::kCaptionFilter].left, sort.right + 7) << c.cxStrip;
    if (c.cxStrip >= 650) { EXPECT_LE(filter.right + 7, c.cxStrip) << c.cxStrip; }
  }

  // Combos hidden by a view-mode command: their captions go with them.
  l = subview::LayOut(Input(1, false));
  EXPECT_TRUE(l.shown[subview::kSlider]);
  EXPECT_FALSE(l.shown[subview::kSortCombo]);
  EXPECT_FALSE(l.shown[subview::kCaptionFilter]);
}

// A strip whose document state the test sets.
class CTestSubView : public CBrowserSubView {
  DECLARE_DYNCREATE(CTestSubView)
 public:
  static CSubViewBrowserState s_state;
  static int s_modeValue;
  CSubViewBrowserState ReadBrowserState() const override { return s_state; }
  int ViewModeValueOfHint(CObject* pHint) const override { return pHint ? s_modeValue : -1; }
  void Update(CView* pSender, LPARAM lHint, CObject* pHint) { OnUpdate(pSender, lHint, pHint); }
};
IMPLEMENT_DYNCREATE(CTestSubView, CBrowserSubView)
CSubViewBrowserState CTestSubView::s_state;
int CTestSubView::s_modeValue = -1;

class CBaseStandIn : public CView {
  DECLARE_DYNCREATE(CBaseStandIn)
 protected:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(40, 40, 40));
  }
};
IMPLEMENT_DYNCREATE(CBaseStandIn, CView)

// The main window: keeps what the strip sends it.
class CStripFrame : public CFrameWnd {
 public:
  CDynamicSplitterWnd m_split;
  struct Sent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Sent> m_sent;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    CSize strip(545, 36), base(545, 200);
    if (!m_split.Create(this, RUNTIME_CLASS(CTestSubView), &strip, RUNTIME_CLASS(CBaseStandIn), &base, pContext,
                        false, AFX_IDW_PANE_FIRST))
      return FALSE;
    m_split.SetSplitterBarSize(0, 0);
    return TRUE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_BROWSER_SORT || message == WM_BROWSER_MASK || message == WM_BROWSER_THUMB_SIZE ||
        (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) >= ID_VIEWMODE_FIRST &&
         LOWORD(wParam) <= ID_VIEWMODE_LAST)) {
      m_sent.push_back({message, wParam, lParam});
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

struct StripFixture {
  CStripFrame* frame = nullptr;
  CTestSubView* strip = nullptr;
  explicit StripFixture(UINT viewMode = 1, int thumbMode = 2) {
    CTestSubView::s_state = CSubViewBrowserState();
    CTestSubView::s_state.nViewMode = viewMode;
    CTestSubView::s_state.nThumbMode = thumbMode;
    CTestSubView::s_modeValue = -1;
    frame = new CStripFrame;
    frame->Create(nullptr, "strip", WS_POPUP | WS_VISIBLE, CRect(0, 100, 1000, 340));
    AfxGetApp()->m_pMainWnd = frame;
    uikit::PumpPending();
    strip = static_cast<CTestSubView*>(frame->m_split.GetPane(0, 0));
  }
  ~StripFixture() {
    AfxGetApp()->m_pMainWnd = nullptr;
    frame->DestroyWindow();
    uikit::DropQuitLater();
  }
  void Choose(UINT comboId, int entry) {
    CSkinComboBox* pCombo = strip->GetCombo(comboId);
    pCombo->SetCurSel(entry);
    strip->SendMessage(WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), (LPARAM)pCombo->m_hWnd);
  }
};

TEST(BrowserSubView, ChoicesGoToTheMainWindow) {
  StripFixture f;
  ASSERT_NE(f.strip, nullptr);
  ASSERT_TRUE(f.strip->IsKindOf(RUNTIME_CLASS(CBrowserSubView)));
  CSkinComboBox* pSort = f.strip->GetCombo(IDC_SUBVIEW_SORT);
  CSkinComboBox* pFilter = f.strip->GetCombo(IDC_SUBVIEW_FILTER);
  ASSERT_NE(pSort, nullptr);
  ASSERT_NE(pFilter, nullptr);
  EXPECT_EQ(pSort->GetCount(), 10);
  EXPECT_EQ(pFilter->GetCount(), 4);
  EXPECT_EQ(pSort->GetCurSel(), 0);
  EXPECT_EQ(pFilter->GetCurSel(), 0);
  EXPECT_EQ(f.strip->GetSlider()->GetPosition(), 2);  // the browser's thumbnail mode

  struct {
    UINT combo;
    int entry;
    UINT message;
    LPARAM id;
  } cases[] = {{IDC_SUBVIEW_SORT, 2, WM_BROWSER_SORT, 15},
               {IDC_SUBVIEW_SORT, 9, WM_BROWSER_SORT, 12},
               {IDC_SUBVIEW_FILTER, 1, WM_BROWSER_MASK, 3},
               {IDC_SUBVIEW_FILTER, 3, WM_BROWSER_MASK, 6}};
  for (auto& c : cases) {
    f.frame->m_sent.clear();
    f.Choose(c.combo, c.entry);
    ASSERT_EQ(f.frame->m_sent.size(), 1u);
    EXPECT_EQ(f.frame->m_sent[0].message, c.message);
    EXPECT_EQ(f.frame->m_sent[0].wParam, (WPARAM)f.strip->m_hWnd);
    EXPECT_EQ(f.frame->m_sent[0].lParam, c.id);
  }

  // The slider's click becomes 1664 with the new position.
  f.frame->m_sent.clear();
  CThumbSlider* pSlider = f.strip->GetSlider();
  pSlider->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(125, 12));
  pSlider->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(125, 12));
  uikit::WaitUntil([&] { return !f.frame->m_sent.empty(); }, 1000);
  ASSERT_EQ(f.frame->m_sent.size(), 1u);
  EXPECT_EQ(f.frame->m_sent[0].message, (UINT)WM_BROWSER_THUMB_SIZE);
  EXPECT_EQ(f.frame->m_sent[0].lParam, 4);

  // A view-mode button is an ordinary command of the main window.
  f.frame->m_sent.clear();
  f.strip->SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEWMODE_ZOOM, BN_CLICKED), (LPARAM)f.strip->GetToolBar()->m_hWnd);
  ASSERT_EQ(f.frame->m_sent.size(), 1u);
  EXPECT_EQ(LOWORD(f.frame->m_sent[0].wParam), (UINT)ID_VIEWMODE_ZOOM);
}

TEST(BrowserSubView, FollowsTheDocument) {
  StripFixture f;
  CSkinComboBox* pSort = f.strip->GetCombo(IDC_SUBVIEW_SORT);
  CSkinComboBox* pFilter = f.strip->GetCombo(IDC_SUBVIEW_FILTER);
  struct {
    LPARAM hint;
    int sortId, filterId;
    int sortSel, filterSel;
  } cases[] = {
      {SUBVIEW_HINT_SORT, 11, 0, 8, 0},    // sort id 11 is the ninth entry
      {SUBVIEW_HINT_SORT, 21, 0, 8, 0},    // no entry for 21: left as it is
      {SUBVIEW_HINT_FILTER, 11, 4, 8, 2},  // filter id 4
      {SUBVIEW_HINT_FILTER, 11, 5, 8, 2},  // no entry for 5
      {SUBVIEW_HINT_SORT, 20, 6, 1, 2},    // a sort hint leaves the filter alone
  };
  for (auto& c : cases) {
    CTestSubView::s_state.nSortID = c.sortId;
    CTestSubView::s_state.nFilterID = c.filterId;
    f.strip->Update(nullptr, c.hint, nullptr);
    EXPECT_EQ(pSort->GetCurSel(), c.sortSel) << c.sortId;
    EXPECT_EQ(pFilter->GetCurSel(), c.filterSel) << c.filterId;
  }
  // Disable and enable.
  f.strip->Update(nullptr, SUBVIEW_HINT_DISABLE, nullptr);
  EXPECT_FALSE(f.strip->IsWindowEnabled());
  EXPECT_FALSE(pSort->IsWindowEnabled());
  EXPECT_EQ(pSort->GetState(), skincombo::kDisabled);
  f.strip->Update(nullptr, SUBVIEW_HINT_ENABLE, nullptr);
  EXPECT_TRUE(f.strip->IsWindowEnabled());
  EXPECT_TRUE(pSort->IsWindowEnabled());
  EXPECT_NE(pSort->GetState(), skincombo::kDisabled);

  // View-mode commands: 10 hides the combos, 1 shows them again, others leave them.
  CStringList command;  // any hint object: the test strip reads its value
  struct {
    int value;
    bool shown;
  } modes[] = {{10, false}, {3, false}, {1, true}, {10, false}, {6, true}};
  for (auto& m : modes) {
    CTestSubView::s_modeValue = m.value;
    f.strip->Update(nullptr, 0, &command);
    EXPECT_EQ(f.strip->AreCombosShown(), m.shown) << m.value;
    EXPECT_EQ(pSort->IsWindowVisible() != FALSE, m.shown) << m.value;
    EXPECT_EQ(pFilter->IsWindowVisible() != FALSE, m.shown) << m.value;
  }
}

TEST(BrowserSubView, ViewModesPlaceOrHideTheSlider) {
  {
    StripFixture f(16);
    EXPECT_FALSE(f.strip->GetSlider()->IsWindowVisible());
    const subview::Layout& l = f.strip->GetLayout();
    EXPECT_EQ(l.rect[subview::kCaptionSort].left, l.rect[subview::kToolbar].right + 7);
  }
  {
    StripFixture f(256);
    EXPECT_FALSE(f.strip->GetSlider()->IsWindowVisible());
    EXPECT_FALSE(f.strip->GetCombo(IDC_SUBVIEW_SORT)->IsWindowVisible());
    EXPECT_TRUE(f.strip->GetToolBar()->IsWindowVisible());
  }
}

TEST(BrowserSubView, Screenshot) {
  StripFixture f(1, 1);
  uikit::PumpPending();
  uikit::Picture pic(f.strip->m_hWnd);
  std::string path = pic.Save("browser_strip");
  EXPECT_FALSE(path.empty());
  EXPECT_EQ(pic.Width(), 1000);
  EXPECT_EQ(pic.Height(), 36);
  const subview::Layout& l = f.strip->GetLayout();
  // The strip's own blue at its left edge and right of the filter combo.
  EXPECT_EQ(pic.At(2, 2), RGB(11, 73, 104));
  EXPECT_EQ(pic.At(l.rect[subview::kFilterCombo].right + 20, 18), RGB(11, 73, 104));
  // White caption text in the first caption's box.
  EXPECT_GT(pic.Count(l.rect[subview::kCaptionView], RGB(255, 255, 255)), 0);
  // The sort combo's face (its dark blue) and the slider's light thumb at position 1.
  CRect combo = l.rect[subview::kSortCombo];
  EXPECT_GT(pic.Count(combo, RGB(3, 37, 56)), combo.Width() * combo.Height() / 4);
  CRect thumb = thumbslider::ThumbRect(1);
  thumb.OffsetRect(l.rect[subview::kSlider].left, l.rect[subview::kSlider].top);
  COLORREF face = pic.At(thumb.left + 4, thumb.top + 3);
  EXPECT_GT(GetRValue(face) + GetGValue(face) + GetBValue(face), 3 * 180);
}

}  // namespace

// The strip on the program's own document: the browser state it reads and the
// view-mode commands its hints carry.
namespace docstrip {

class CDocStripFrame : public CFrameWnd {
 public:
  CDynamicSplitterWnd m_split;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    CSize strip(545, 36), base(545, 200);
    return m_split.Create(this, RUNTIME_CLASS(CBrowserSubView), &strip, RUNTIME_CLASS(CBaseStandIn), &base, pContext,
                          false, AFX_IDW_PANE_FIRST);
  }
};

TEST(BrowserSubViewDocument, SortFilterAndViewModeCommandsOfTheDocument) {
  CVxDocument* pDoc = new CVxDocument;
  ASSERT_TRUE(pDoc->OnNewDocument());
  CBrowserStatus& status = pDoc->GetBrowser()->GetBrowserStatus();
  status.SetThumbMode(3);
  CCreateContext context;
  context.m_pCurrentDoc = pDoc;
  CDocStripFrame* pFrame = new CDocStripFrame;
  ASSERT_TRUE(pFrame->Create(nullptr, "doc strip", WS_POPUP | WS_VISIBLE, CRect(0, 400, 1000, 640), nullptr, 0, 0,
                             &context));
  uikit::PumpPending();
  CBrowserSubView* pStrip = DYNAMIC_DOWNCAST(CBrowserSubView, pFrame->m_split.GetPane(0, 0));
  ASSERT_NE(pStrip, nullptr);
  EXPECT_EQ(pStrip->GetSlider()->GetPosition(), 3);

  status.SetSortID(11);
  pDoc->UpdateAllViews(nullptr, SUBVIEW_HINT_SORT);
  EXPECT_EQ(pStrip->GetCombo(IDC_SUBVIEW_SORT)->GetCurSel(), 8);
  UINT mask = 0;
  ASSERT_TRUE(CBrowserStatus::MaskOfFilterID(4, &mask));
  status.SetThumbnailFilterID(mask);
  pDoc->UpdateAllViews(nullptr, SUBVIEW_HINT_FILTER);
  EXPECT_EQ(pStrip->GetCombo(IDC_SUBVIEW_FILTER)->GetCurSel(), 2);

  CSendCommandObject month(ID_VIEWMODE_MONTH);
  pDoc->UpdateAllViews(nullptr, 0, &month);
  EXPECT_FALSE(pStrip->AreCombosShown());
  CSendCommandObject icons(ID_VIEWMODE_SMALL_ICONS);
  pDoc->UpdateAllViews(nullptr, 0, &icons);
  EXPECT_TRUE(pStrip->AreCombosShown());
  CSendCommandObject sort(ID_SORT_NAME_ASC);  // not a view-mode command
  status.SetMode(BROWSE_VIEW_FOCUS);
  pDoc->UpdateAllViews(nullptr, 0, &sort);
  EXPECT_TRUE(pStrip->AreCombosShown());
  pStrip->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_FALSE(pStrip->GetSlider()->IsWindowVisible());  // focus mode: no slider
  pFrame->DestroyWindow();
  uikit::DropQuitLater();
}

}  // namespace docstrip
