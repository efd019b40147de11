// The browser strip: creation, layout, drawing and the user's choices.
#include "BrowserSubView.h"

#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>

#include "GuiFont.h"

namespace {

const COLORREF kViewBack = RGB(11, 73, 104);
const COLORREF kEraseBack = RGB(9, 70, 102);

// The strip's tool bar draws no frame of its own.
class CSubViewToolBar : public CToolBar {
 protected:
  afx_msg void OnNcPaint() {}
  afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {}
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSubViewToolBar, CToolBar)
  ON_WM_NCPAINT()
  ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

// The captions and the layout items they stand as, in the same order.
const UINT kCaptions[3] = {IDS_SUBVIEW_VIEW, IDS_SUBVIEW_SORT, IDS_SUBVIEW_FILTER};
const subview::Item kCaptionItems[3] = {subview::kCaptionView, subview::kCaptionSort, subview::kCaptionFilter};
const UINT kButtons[4] = {ID_VIEWMODE_LARGE_ICONS, ID_VIEWMODE_FOCUS, ID_VIEWMODE_ZOOM, ID_VIEWMODE_MONTH};
const int kButtonImages[4] = {0, 2, 3, 4};

SIZE SizeOf(CWnd* pWnd) {
  CRect rc;
  if (pWnd && pWnd->GetSafeHwnd()) pWnd->GetWindowRect(&rc);
  return SIZE{rc.Width(), rc.Height()};
}

}  // namespace

IMPLEMENT_DYNCREATE(CBrowserSubView, CView)

BEGIN_MESSAGE_MAP(CBrowserSubView, CView)
  // creation, layout and drawing
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR()
  // the user's choices
  ON_CBN_SELCHANGE(IDC_SUBVIEW_SORT, &CBrowserSubView::OnSortChange)
  ON_CBN_SELCHANGE(IDC_SUBVIEW_FILTER, &CBrowserSubView::OnFilterChange)
  ON_MESSAGE(WM_THUMBSLIDER_POSITION, &CBrowserSubView::OnSliderPosition)
  // the tool bar's prompts go on to the main window
  ON_MESSAGE(WM_SETMESSAGESTRING, &CBrowserSubView::OnToolbarPrompt)
  ON_MESSAGE(WM_POPMESSAGESTRING, &CBrowserSubView::OnToolbarPrompt)
END_MESSAGE_MAP()

CBrowserSubView::CBrowserSubView()
    : m_pToolBar(nullptr), m_pSlider(nullptr), m_bCombosShown(true), m_cxSortCombo(0), m_cxFilterCombo(0), m_layout() {
  for (int i = 0; i < subview::kFilterEntries; i++) m_filterIds.Add(subview::FilterStringOfEntry(i));
  for (int i = 0; i < subview::kSortEntries; i++) m_sortIds.Add(subview::SortStringOfEntry(i));
}

CBrowserSubView::~CBrowserSubView() {
  delete m_pToolBar;
  delete m_pSlider;
  for (auto& l : m_labels) delete l.second;
  for (auto& l : m_musicLabels) delete l.second;
  for (auto& c : m_combos) delete c.second;
}

CSkinComboBox* CBrowserSubView::GetCombo(UINT nID) const {
  auto it = m_combos.find(nID);
  return it == m_combos.end() ? nullptr : it->second;
}

// ----- creation -----

int CBrowserSubView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CView::OnCreate(lpcs) == -1) return -1;
  m_brBack.CreateSolidBrush(kEraseBack);
  m_brWhite.CreateStockObject(WHITE_BRUSH);
  CResourceChanger resources;
  return CreateControls() ? 0 : -1;
}

bool CBrowserSubView::CreateControls() {
  {
    CClientDC dc(this);
    for (UINT id : kCaptions) {
      CSubViewLabel* pLabel = new CSubViewLabel;
      pLabel->Load(id, &dc);
      m_labels[id] = pLabel;
    }
    CSubViewLabel* pMusic = new CSubViewLabel;
    pMusic->Load(IDS_SUBVIEW_VIEW, &dc);
    m_musicLabels[IDS_SUBVIEW_VIEW] = pMusic;
  }

  m_pToolBar = new CSubViewToolBar;
  if (!m_pToolBar->CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT,
                            WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_FLYBY, CRect(0, 0, 0, 0),
                            AFX_IDW_TOOLBAR))
    return false;
  m_pToolBar->SetSizes(CSize(33, 32), CSize(26, 26));
  if (m_bmToolBar.LoadBitmap(IDB_SUBVIEW_TOOLBAR)) m_pToolBar->SetBitmap((HBITMAP)m_bmToolBar.GetSafeHandle());
  m_pToolBar->SetButtons(kButtons, 4);
  for (int i = 0; i < 4; i++) m_pToolBar->SetButtonInfo(i, kButtons[i], TBBS_BUTTON, kButtonImages[i]);
  CSize bar = m_pToolBar->CalcFixedLayout(FALSE, TRUE);
  m_pToolBar->SetWindowPos(nullptr, 0, 0, bar.cx, bar.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (HWND hTips = (HWND)m_pToolBar->SendMessage(TB_GETTOOLTIPS)) {
    ::SendMessageA(hTips, TTM_SETMAXTIPWIDTH, 0, 80);
    RECT margins = {0, 0, 0, 0};
    ::SendMessageA(hTips, TTM_SETMARGIN, 0, (LPARAM)&margins);
  }

  CSkinComboBox* pSort = new CSkinComboBox;
  CSkinComboBox* pFilter = new CSkinComboBox;
  m_combos[IDC_SUBVIEW_SORT] = pSort;
  m_combos[IDC_SUBVIEW_FILTER] = pFilter;
  int widestSort = 0, widestFilter = 0;
  if (!pSort->CreateSkinned(CRect(0, 0, 114, 200), this, IDC_SUBVIEW_SORT) ||
      !pFilter->CreateSkinned(CRect(0, 0, 114, 200), this, IDC_SUBVIEW_FILTER))
    return false;
  FillCombo(pSort, m_sortIds.GetData(), (int)m_sortIds.GetSize(), &widestSort);
  FillCombo(pFilter, m_filterIds.GetData(), (int)m_filterIds.GetSize(), &widestFilter);
  // The closed height is the control's; the 200 pixels are the list's.
  int cyClosed = SizeOf(pSort).cy;
  m_cxSortCombo = subview::SortComboWidth(widestSort);
  m_cxFilterCombo = subview::FilterComboWidth(widestFilter);
  pSort->SetWindowPos(nullptr, 0, 0, m_cxSortCombo, cyClosed, SWP_NOMOVE | SWP_NOZORDER);
  pFilter->SetWindowPos(nullptr, 0, 0, m_cxFilterCombo, cyClosed, SWP_NOMOVE | SWP_NOZORDER);
  // A combo narrowed for a short strip still drops its list at full width.
  pSort->SendMessage(CB_SETDROPPEDWIDTH, m_cxSortCombo);
  pFilter->SendMessage(CB_SETDROPPEDWIDTH, m_cxFilterCombo);
  for (CSkinComboBox* p : {pSort, pFilter}) p->SendMessage(CB_SETMINVISIBLE, 200 / skincombo::kItemHeight);

  m_pSlider = new CThumbSlider;
  if (!m_pSlider->Create(this, CPoint(0, 0), IDC_THUMB_SLIDER)) return false;
  m_pSlider->SetPosition(ReadBrowserState().nThumbMode);

  RecalcLayout();
  pSort->SetCurSel(0);
  pFilter->SetCurSel(0);
  VxApplyGuiFontRule(this);
  return true;
}

void CBrowserSubView::FillCombo(CSkinComboBox* pCombo, const UINT* ids, int count, int* pWidest) {
  CClientDC dc(pCombo);
  CFont* pOld = dc.SelectObject(pCombo->GetFont());
  CResourceLoader strings;
  for (int i = 0; i < count; i++) {
    CString text = strings.LoadStringA(ids[i]);
    pCombo->AddString(text);
    *pWidest = std::max<int>(*pWidest, dc.GetTextExtent(text).cx);
  }
  if (pOld) dc.SelectObject(pOld);
}

// ----- layout and drawing -----

void CBrowserSubView::RecalcLayout() {
  if (!m_pToolBar || !m_pSlider) return;
  CRect rc;
  GetClientRect(&rc);
  subview::LayoutInput in = {};
  in.viewMode = ReadBrowserState().nViewMode;
  in.cxStrip = rc.Width();
  in.cyStrip = rc.Height();
  in.combosShown = m_bCombosShown;
  for (int i = 0; i < 3; i++) {
    CSubViewLabel* pLabel = m_labels[kCaptions[i]];
    in.size[kCaptionItems[i]] = SIZE{pLabel->cx, pLabel->cy};
  }
  in.size[subview::kToolbar] = SizeOf(m_pToolBar);
  in.size[subview::kSlider] = SIZE{thumbslider::kWidth, thumbslider::kHeight};
  // The combos' own widths: the layout narrows them when the strip is short of room.
  in.size[subview::kSortCombo] = SIZE{m_cxSortCombo, SizeOf(GetCombo(IDC_SUBVIEW_SORT)).cy};
  in.size[subview::kFilterCombo] = SIZE{m_cxFilterCombo, SizeOf(GetCombo(IDC_SUBVIEW_FILTER)).cy};
  m_layout = subview::LayOut(in);

  for (int i = 0; i < 3; i++) {
    const RECT& r = m_layout.rect[kCaptionItems[i]];
    m_labels[kCaptions[i]]->x = r.left;
    m_labels[kCaptions[i]]->y = r.top;
  }
  CSubViewLabel* pMusic = m_musicLabels[IDS_SUBVIEW_VIEW];
  pMusic->x = m_layout.rect[subview::kCaptionView].left;
  pMusic->y = m_layout.rect[subview::kCaptionView].top;

  auto place = [&](CWnd* pWnd, subview::Item item) {
    if (!pWnd || !pWnd->GetSafeHwnd()) return;
    if (m_layout.shown[item]) {
      const RECT& r = m_layout.rect[item];
      pWnd->SetWindowPos(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    bool visible = pWnd->IsWindowVisible() != FALSE;
    if (visible != m_layout.shown[item]) pWnd->ShowWindow(m_layout.shown[item] ? SW_SHOWNA : SW_HIDE);
  };
  place(m_pToolBar, subview::kToolbar);
  place(m_pSlider, subview::kSlider);
  place(GetCombo(IDC_SUBVIEW_SORT), subview::kSortCombo);
  place(GetCombo(IDC_SUBVIEW_FILTER), subview::kFilterCombo);
}

void CBrowserSubView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  RecalcLayout();
}

BOOL CBrowserSubView::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, kEraseBack);
  return TRUE;
}

void CBrowserSubView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, kViewBack);
  RecalcLayout();
  CStripTextStyle style(pDC);
  if (m_layout.music) {
    m_musicLabels[IDS_SUBVIEW_VIEW]->Draw(pDC);
    return;
  }
  for (int i = 0; i < 3; i++)
    if (m_layout.shown[kCaptionItems[i]]) m_labels[kCaptions[i]]->Draw(pDC);
}

HBRUSH CBrowserSubView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (pWnd && pWnd->GetDlgCtrlID() == IDC_SUBVIEW_WHITE_CHILD) return (HBRUSH)m_brWhite.GetSafeHandle();
  return CView::OnCtlColor(pDC, pWnd, nCtlColor);
}

// ----- the user's choices -----

void CBrowserSubView::SendToMainWindow(UINT message, LPARAM lParam) {
  if (CWnd* pMain = AfxGetMainWnd()) pMain->SendMessage(message, (WPARAM)m_hWnd, lParam);
}

void CBrowserSubView::OnSortChange() {
  int id = subview::SortIdOfEntry(GetCombo(IDC_SUBVIEW_SORT)->GetCurSel());
  if (id >= 0) SendToMainWindow(WM_BROWSER_SORT, id);
}

void CBrowserSubView::OnFilterChange() {
  int id = subview::FilterIdOfEntry(GetCombo(IDC_SUBVIEW_FILTER)->GetCurSel());
  if (id >= 0) SendToMainWindow(WM_BROWSER_MASK, id);
}

LRESULT CBrowserSubView::OnSliderPosition(WPARAM wParam, LPARAM) {
  SendToMainWindow(WM_BROWSER_THUMB_SIZE, (LPARAM)wParam);
  return 0;
}

LRESULT CBrowserSubView::OnToolbarPrompt(WPARAM wParam, LPARAM lParam) {
  CWnd* pMain = AfxGetMainWnd();
  return pMain ? pMain->SendMessage(GetCurrentMessage()->message, wParam, lParam) : 0;
}

// The view-mode buttons are ordinary commands: they take the main window's route.
BOOL CBrowserSubView::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (m_pToolBar && (HWND)lParam == m_pToolBar->GetSafeHwnd()) {
    if (CWnd* pMain = AfxGetMainWnd()) pMain->SendMessage(WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
    return TRUE;
  }
  return CView::OnCommand(wParam, lParam);
}

BOOL CBrowserSubView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = (NMHDR*)lParam;
  if ((pNMHDR->code == TTN_NEEDTEXTA || pNMHDR->code == TTN_NEEDTEXTW) && m_pToolBar &&
      pNMHDR->hwndFrom == (HWND)m_pToolBar->SendMessage(TB_GETTOOLTIPS)) {
    static char s_tip[256];
    static wchar_t s_wtip[256];
    CString tip = subview::TipOfCommandString(CResourceLoader().LoadStringA((UINT)pNMHDR->idFrom));
    lstrcpynA(s_tip, tip, sizeof(s_tip));
    if (pNMHDR->code == TTN_NEEDTEXTA) {
      ((NMTTDISPINFOA*)pNMHDR)->lpszText = s_tip;
    } else {
      ::MultiByteToWideChar(CP_ACP, 0, s_tip, -1, s_wtip, 256);
      ((NMTTDISPINFOW*)pNMHDR)->lpszText = s_wtip;
    }
    if (pResult) *pResult = 0;
    return TRUE;
  }
  return CView::OnNotify(wParam, lParam, pResult);
}

// ----- the document's changes -----

void CBrowserSubView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
  CSubViewBrowserState state = ReadBrowserState();
  switch (lHint) {
    case SUBVIEW_HINT_FILTER: {
      Invalidate(FALSE);
      int entry = subview::EntryOfFilterId(state.nFilterID);
      if (entry >= 0) GetCombo(IDC_SUBVIEW_FILTER)->SetCurSel(entry);
      break;
    }
    case SUBVIEW_HINT_SORT: {
      Invalidate(FALSE);
      int entry = subview::EntryOfSortId(state.nSortID);
      if (entry >= 0) GetCombo(IDC_SUBVIEW_SORT)->SetCurSel(entry);
      break;
    }
    case SUBVIEW_HINT_ENABLE:
    case SUBVIEW_HINT_DISABLE: {
      Invalidate(FALSE);
      BOOL enable = lHint == SUBVIEW_HINT_ENABLE;
      EnableWindow(enable);
      for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) ::EnableWindow(h, enable);
      break;
    }
    case SUBVIEW_HINT_SELF:
      if (pSender == this) return;
      break;
    default:
      break;
  }
  int value = ViewModeValueOfHint(pHint);
  if (value < 0) return;
  int shown = subview::ComboVisibilityOfModeValue(value);
  if (shown >= 0) m_bCombosShown = shown != 0;
  RecalcLayout();
  Invalidate();
}
