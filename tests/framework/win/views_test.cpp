// Scrolling views, form views and the status bar.
#include <gtest/gtest.h>

#include "testwin.h"

namespace {

TEST(ScrollBars, WhichBarsTheRangesAndThePositionKept) {
  struct {
    SIZE total, client;
    POINT current;
    BOOL bNeedH, bNeedV;
    SIZE range;
    POINT move;
  } cases[] = {
      {{500, 400}, {300, 300}, {0, 0}, TRUE, TRUE, {216, 116}, {0, 0}},
      {{200, 200}, {300, 300}, {40, 40}, FALSE, FALSE, {-100, -100}, {0, 0}},
      {{290, 400}, {300, 300}, {0, 0}, TRUE, TRUE, {6, 116}, {0, 0}},  // the vertical bar makes room short
      {{500, 300}, {300, 300}, {250, 50}, TRUE, TRUE, {216, 16}, {216, 16}},
      {{500, 200}, {300, 300}, {100, 0}, TRUE, FALSE, {200, -84}, {100, 0}},
  };
  for (auto& c : cases) {
    AFX_SCROLLBARSTATE s = AfxScrollBarState(c.total, c.client, SIZE{16, 16}, c.current, TRUE);
    EXPECT_EQ(s.bNeedH, c.bNeedH);
    EXPECT_EQ(s.bNeedV, c.bNeedV);
    EXPECT_EQ(s.sizeRange.cx, c.range.cx);
    EXPECT_EQ(s.sizeRange.cy, c.range.cy);
    EXPECT_EQ(s.ptMove.x, c.move.x);
    EXPECT_EQ(s.ptMove.y, c.move.y);
  }
}

TEST(ScrollBars, WheelNotchesScrollLinesUpToAPage) {
  struct {
    short zDelta;
    UINT nLines;
    int expected;
  } cases[] = {
      {-120, 3, 30}, {120, 3, -30}, {-40, 3, 10}, {120, 1, -10},  // one line up is one line, not a page
      {-120, 20, 100}, {120, 20, -100}, {-120, WHEEL_PAGESCROLL, 100}, {120, WHEEL_PAGESCROLL, -100},
  };
  for (auto& c : cases) EXPECT_EQ(AfxWheelScrollAmount(c.zDelta, c.nLines, 10, 100), c.expected) << c.zDelta;
}

class CDocScrollView : public CScrollView {
  DECLARE_DYNCREATE(CDocScrollView)
 public:
  CSize m_size = CSize(1000, 2000);
  void OnInitialUpdate() override { SetScrollSizes(MM_TEXT, m_size, CSize(100, 100), CSize(10, 20)); }

 protected:
  void OnDraw(CDC* pDC) override { pDC->FillSolidRect(0, 0, m_size.cx, m_size.cy, RGB(255, 0, 0)); }
};
IMPLEMENT_DYNCREATE(CDocScrollView, CScrollView)

class CViewFrame : public CFrameWnd {
 public:
  CRuntimeClass* m_pViewClass = nullptr;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    return CreateView(&context, AFX_IDW_PANE_FIRST) != nullptr;
  }
};

// A visible frame whose client (a view, no border) is cx by cy.
CViewFrame* MakeViewFrame(CRuntimeClass* pViewClass, int cx, int cy) {
  CViewFrame* pFrame = new CViewFrame;
  pFrame->m_pViewClass = pViewClass;
  CRect rc(0, 0, cx + 4, cy + 4);  // the view's client edge
  ::AdjustWindowRectEx(&rc, WS_POPUP, FALSE, 0);
  if (!pFrame->Create(nullptr, "views", WS_POPUP | WS_VISIBLE, CRect(40, 40, 40 + rc.Width(), 40 + rc.Height())))
    return nullptr;
  pFrame->InitialUpdateFrame(nullptr, TRUE);
  fwtest::PumpPending();
  return pFrame;
}

TEST(ScrollView, PositionsAreClampedAndTheWheelScrolls) {
  CViewFrame* pFrame = MakeViewFrame(RUNTIME_CLASS(CDocScrollView), 300, 200);
  ASSERT_NE(pFrame, nullptr);
  CDocScrollView* pView = static_cast<CDocScrollView*>(pFrame->GetActiveView());
  ASSERT_NE(pView, nullptr);
  EXPECT_EQ(pView->GetTotalSize(), CSize(1000, 2000));
  EXPECT_TRUE(pView->GetStyle() & WS_VSCROLL);
  EXPECT_TRUE(pView->GetStyle() & WS_HSCROLL);
  CRect rcClient;
  pView->GetClientRect(&rcClient);
  pView->ScrollToPosition(CPoint(100, 500));
  EXPECT_EQ(pView->GetScrollPosition(), CPoint(100, 500));
  pView->ScrollToPosition(CPoint(5000, 5000));
  EXPECT_EQ(pView->GetScrollPosition(), CPoint(1000 - rcClient.Width(), 2000 - rcClient.Height()));
  pView->ScrollToPosition(CPoint(0, 100));
  EXPECT_TRUE(pView->OnScrollBy(CSize(0, -50)));
  EXPECT_EQ(pView->GetScrollPosition(), CPoint(0, 50));
  EXPECT_FALSE(pView->OnScrollBy(CSize(-10, 0)));  // already at the left edge
  UINT nLines = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
  pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(pView->GetScrollPosition().y, 50 + AfxWheelScrollAmount(-WHEEL_DELTA, nLines, 20, 100));
  // The bar's own messages.
  pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
  EXPECT_EQ(pView->GetScrollPosition().y, 0);
  pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(pView->GetScrollPosition().y, 100);
  pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
  EXPECT_EQ(pView->GetScrollPosition().y, 80);
  pFrame->DestroyWindow();
}

class CSmallDocView : public CDocScrollView {
  DECLARE_DYNCREATE(CSmallDocView)
 public:
  CSmallDocView() { m_size = CSize(100, 50); }
};
IMPLEMENT_DYNCREATE(CSmallDocView, CDocScrollView)

TEST(ScrollView, ASmallDocumentIsCentred) {
  CViewFrame* pFrame = MakeViewFrame(RUNTIME_CLASS(CSmallDocView), 300, 200);
  ASSERT_NE(pFrame, nullptr);
  CScrollView* pView = static_cast<CScrollView*>(pFrame->GetActiveView());
  EXPECT_FALSE(pView->GetStyle() & (WS_VSCROLL | WS_HSCROLL));
  CRect rc;
  pView->GetClientRect(&rc);
  EXPECT_EQ(pView->GetDeviceScrollPosition(), CPoint(-(rc.Width() - 100) / 2, -(rc.Height() - 50) / 2));
  // OnPrepareDC moves the document there: its red shows in the middle, not at the corner.
  pView->RedrawWindow();
  HDC hdc = ::GetDC(pView->m_hWnd);
  COLORREF centre = ::GetPixel(hdc, rc.Width() / 2, rc.Height() / 2);
  COLORREF corner = ::GetPixel(hdc, 2, 2);
  ::ReleaseDC(pView->m_hWnd, hdc);
  EXPECT_EQ(centre, RGB(255, 0, 0));
  EXPECT_NE(corner, RGB(255, 0, 0));
  pFrame->DestroyWindow();
}

class CTestForm : public CFormView {
  DECLARE_DYNCREATE(CTestForm)
 public:
  CTestForm() : CFormView(IDD_FORM) {}
  CString m_strEdit = "初期値";
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_FORM_EDIT, m_strEdit); }
};
IMPLEMENT_DYNCREATE(CTestForm, CFormView)

class CFormFrame : public CFrameWnd {
 public:
  CSplitterWnd m_wndSplitter;
  CSize m_sizeForm;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
    if (!m_wndSplitter.CreateStatic(this, 1, 2)) return FALSE;
    if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CTestForm), CSize(50, 50), nullptr)) return FALSE;
    // Right after creation the form knows its template's size.
    m_sizeForm = static_cast<CFormView*>(m_wndSplitter.GetPane(0, 0))->GetTotalSize();
    m_wndSplitter.SetColumnInfo(0, m_sizeForm.cx, 0);
    return m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CTestForm), CSize(50, 50), nullptr);
  }
};

TEST(FormView, SizeOfTheTemplateDataAndDialogKeys) {
  fwtest::ResourceScope res;
  CFormFrame* pFrame = new CFormFrame;
  ASSERT_TRUE(pFrame->Create(nullptr, "form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 620, 420)));
  fwtest::PumpPending();
  CTestForm* pForm = static_cast<CTestForm*>(pFrame->m_wndSplitter.GetPane(0, 0));
  CRect rcTemplate(0, 0, 160, 90);
  ::MapDialogRect(pForm->m_hWnd, &rcTemplate);
  EXPECT_EQ(pFrame->m_sizeForm, rcTemplate.Size());
  EXPECT_EQ(pForm->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_TRUE(pForm->GetStyle() & WS_CHILD);
  int cx, cxMin;
  pFrame->m_wndSplitter.GetColumnInfo(0, cx, cxMin);
  EXPECT_EQ(cx, rcTemplate.Width());
  // The splitter sent the initial update: the controls hold the members' values.
  CString text;
  pForm->GetDlgItemText(IDC_FORM_EDIT, text);
  EXPECT_STREQ(text, "初期値");
  // Tab in the form's edit goes to the next control through the form's pre-translation.
  CWnd* pEdit = pForm->GetDlgItem(IDC_FORM_EDIT);
  pFrame->SetForegroundWindow();
  pEdit->SetFocus();
  if (::GetFocus() == pEdit->m_hWnd) {
    MSG msg = {pEdit->m_hWnd, WM_KEYDOWN, VK_TAB, 1};
    EXPECT_TRUE(AfxPreTranslateMessage(&msg));
    EXPECT_EQ(::GetFocus(), pForm->GetDlgItem(IDC_TIP_BUTTON)->m_hWnd);
  }
  pFrame->DestroyWindow();
}

// A form whose template is missing or can't be made: creation fails, and the view
// deletes itself once, as views do.
int g_nBrokenForms = 0;
class CBrokenForm : public CFormView {
 public:
  explicit CBrokenForm(UINT nIDTemplate) : CFormView(nIDTemplate) { ++g_nBrokenForms; }
  ~CBrokenForm() override { --g_nBrokenForms; }
};

TEST(FormView, ATemplateThatFailsLeavesNoViewBehind) {
  fwtest::ResourceScope res;
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
  for (UINT nIDTemplate : {(UINT)IDD_FORM_BROKEN, 9999u}) {
    CBrokenForm* pForm = new CBrokenForm(nIDTemplate);
    EXPECT_FALSE(pForm->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 100, 100), &parent, 1));
    EXPECT_EQ(g_nBrokenForms, 0) << nIDTemplate;
    EXPECT_EQ(::GetWindow(parent.m_hWnd, GW_CHILD), nullptr) << nIDTemplate;
  }
  parent.DestroyWindow();
}

// A status bar with an owner-drawn pane.
class CDrawingStatusBar : public CStatusBar {
 public:
  std::vector<std::string> m_drawn;
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
    m_drawn.push_back(lpDIS->itemData ? (const char*)lpDIS->itemData : "");
  }
};

class CBarFrame : public CFrameWnd {
 public:
  CDrawingStatusBar m_wndStatusBar;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    static const UINT ids[] = {ID_SEPARATOR, ID_CMD_VIEW, 30040};
    return m_wndStatusBar.Create(this) && m_wndStatusBar.SetIndicators(ids, 3) ? 0 : -1;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(StatusBar, PanesWidthsStylesTextsAndOwnerDrawing) {
  int rights[3];
  const int cx[] = {0, 50, 80};
  const UINT styles[] = {SBPS_STRETCH | SBPS_NOBORDERS, SBPS_NORMAL, SBPS_NORMAL};
  AfxStatusPaneRights(cx, styles, 3, 398, 2, 2, rights);
  EXPECT_EQ(rights[0], 2 + 6 + 246);
  EXPECT_EQ(rights[1], rights[0] + 2 + 56);
  EXPECT_EQ(rights[2], 400);
  const UINT twoStretch[] = {SBPS_STRETCH, SBPS_STRETCH, SBPS_NORMAL};
  AfxStatusPaneRights(cx, twoStretch, 3, 398, 2, 2, rights);
  EXPECT_EQ(rights[0], 2 + 6 + 123);
  EXPECT_EQ(rights[2], 400);

  fwtest::ResourceScope res;
  CBarFrame* pFrame = new CBarFrame;
  ASSERT_TRUE(pFrame->Create(nullptr, "bar", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 200)));
  CDrawingStatusBar& bar = pFrame->m_wndStatusBar;
  EXPECT_EQ(bar.GetDlgCtrlID(), AFX_IDW_STATUS_BAR);
  EXPECT_EQ(bar.GetCount(), 3);
  EXPECT_EQ(bar.CommandToIndex(ID_CMD_VIEW), 1);
  EXPECT_EQ(bar.CommandToIndex(12345), -1);
  EXPECT_EQ(bar.GetItemID(2), 30040u);
  UINT nID, nStyle;
  int cxWidth;
  bar.GetPaneInfo(0, nID, nStyle, cxWidth);
  EXPECT_EQ(nID, 0u);
  EXPECT_EQ(nStyle, (UINT)(SBPS_STRETCH | SBPS_NOBORDERS));
  EXPECT_EQ(cxWidth, ::GetSystemMetrics(SM_CXSCREEN) / 4);  // the separator's default
  bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 0);
  bar.SetPaneInfo(1, ID_CMD_VIEW, SBPS_NORMAL, 110);
  bar.SetPaneInfo(2, 30040, SBPS_OWNERDRAW, 90);
  bar.GetPaneInfo(2, nID, nStyle, cxWidth);
  EXPECT_EQ(nStyle, (UINT)SBPS_OWNERDRAW);
  EXPECT_EQ(cxWidth, 90);
  // The control's parts follow the panes: the last one ends at the bar's right.
  int parts[3] = {};
  EXPECT_EQ(bar.GetStatusBarCtrl().GetParts(3, parts), 3);
  int borders[3] = {};
  bar.GetStatusBarCtrl().GetBorders(borders);
  CRect rcBar;
  bar.GetClientRect(&rcBar);
  EXPECT_EQ(parts[2], rcBar.right);
  EXPECT_EQ(parts[2] - parts[1], 90 + 6 + borders[2]);
  EXPECT_EQ(parts[1] - parts[0], 110 + 6 + borders[2]);
  // A stretching pane wider than the bar (a frame's menu prompt) pushes the others out.
  bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 16383);
  bar.GetStatusBarCtrl().GetParts(3, parts);
  EXPECT_GT(parts[0], rcBar.right);
  bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 0);
  CRect rcItem;
  bar.GetItemRect(1, &rcItem);
  EXPECT_GT(rcItem.Width(), 100);

  EXPECT_TRUE(bar.SetPaneText(2, "進行中"));
  EXPECT_STREQ(bar.GetPaneText(2), "進行中");
  bar.RedrawWindow();
  ASSERT_FALSE(bar.m_drawn.empty());
  EXPECT_EQ(bar.m_drawn.back(), "進行中");
  // The window text is the message pane's.
  bar.SetWindowText("メッセージ");
  EXPECT_STREQ(bar.GetPaneText(0), "メッセージ");
  CString text;
  bar.GetWindowText(text);
  EXPECT_STREQ(text, "メッセージ");
  // Colours and icons of the control.
  HICON hIcon = ::LoadIconA(nullptr, (LPCSTR)IDI_INFORMATION);
  EXPECT_TRUE(bar.GetStatusBarCtrl().SetIcon(1, hIcon));
  EXPECT_EQ(bar.GetStatusBarCtrl().GetIcon(1), hIcon);
  bar.GetStatusBarCtrl().SetBkColor(RGB(13, 62, 89));
  EXPECT_EQ(bar.GetStatusBarCtrl().SetBkColor(CLR_DEFAULT), RGB(13, 62, 89));
  pFrame->DestroyWindow();
}

}  // namespace
