// CVxGUITrans: the view modes of the thumbnail side — small and large icons, the details
// list, focus mode — and the pipeline that switches between them (calendars, music, zoom
// and slide show hand over to their own windows).
#include <VxResourceIds.h>

#include "DynamicSplitterWnd.h"
#include "IconView.h"
#include "TransInternal.h"
#include "ViewModeRules.h"

namespace {
// Raises the selection-echo counter for a scope: the details list's selection notices are
// not echoed back to the document meanwhile.
struct EchoScope {
  explicit EchoScope(UINT& n) : m_n(n) { ++m_n; }
  ~EchoScope() {
    if (m_n > 0) --m_n;
  }
  UINT& m_n;
};
}  // namespace

BOOL CVxGUITrans::IsReportVisible() const {
  return m_pReportCtrl && m_pReportCtrl->GetSafeHwnd() && m_pReportCtrl->IsWindowVisible();
}

void CVxGUITrans::RepaintShownNow() {
  // The details list is a child of the host view: repainting the host alone leaves its rows.
  if (IsReportVisible()) m_pReportCtrl->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  if (HWND h = GetSafeHwnd()) {
    ::InvalidateRect(h, NULL, FALSE);
    ::UpdateWindow(h);
  }
}

CDynamicSplitterWnd* CVxGUITrans::GetViewSplitter() const {
  if (!m_pView || !m_pView->GetSafeHwnd()) return NULL;
  return dynamic_cast<CDynamicSplitterWnd*>(m_pView->GetParent());
}

void CVxGUITrans::OnModeChange(UINT nViewCode) {
  if (!OnModeChange_ValidFileCheck(nViewCode)) {
    if (CDocument* pDoc = GetDocument()) pDoc->UpdateAllViews(m_pView, VXHINT_VIEWMODE, NULL);
    return;
  }
  if (!OnModeChange_SameModeCheck(nViewCode)) return;
  if (nViewCode == CGVIEW_ZOOM && GetViewModeFlag() == BROWSE_VIEW_DAY) return;
  HWND hView = GetSafeHwnd();
  if (hView) ::SendMessageA(hView, WM_SETREDRAW, FALSE, 0);
  BOOL bDone = OnModeChange_Modify(nViewCode);
  if (bDone) OnModeChange_EnsureVisible();
  if (hView) {
    ::SendMessageA(hView, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hView, NULL, TRUE);
  }
  // Panes came and went while drawing was off: the whole thumbnail side paints anew.
  if (CDynamicSplitterWnd* pSplitter = GetViewSplitter())
    pSplitter->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  if (bDone && ModeRestartsDecoding(nViewCode, GetViewModeFlag())) DecodeThread_Start(1);
}

BOOL CVxGUITrans::OnModeChange_ValidFileCheck(UINT nViewCode) {
  if (!ModeNeedsFileCheck(nViewCode)) return TRUE;
  CBrowserDocument* pDoc = GetBrowserDocument();
  CThumbnail* pItem = pDoc ? pDoc->GetLastSelectedItem() : NULL;
  if (!pItem) {
    CIconView* pIcons = dynamic_cast<CIconView*>(m_pView);
    if (pIcons) pItem = pIcons->GetThumbnail(pIcons->FindFirstImageItem());
  }
  if (!pItem) return TRUE;
  int answer = CheckThumbnailFile(m_pView, pItem);
  if (answer == 5 || answer == 0) return TRUE;
  if (answer == IDOK) {
    if (GetSafeHwnd()) ::PostMessageA(GetSafeHwnd(), WM_BROWSER_RELOAD, 0, 0);
    CThumbnailPage* pFirst = pDoc ? pDoc->GetPageList().GetPageAt(0) : NULL;
    if (pItem->IsFolder() && !(pFirst && pFirst->IsVirtualFolder()) && m_hManager)
      ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
  }
  return FALSE;
}

BOOL CVxGUITrans::OnModeChange_SameModeCheck(UINT nViewCode) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  UINT current = pDoc ? CBrowserStatus::CViewMode::ToCgViewID(pDoc->GetViewMode()) : 0;
  VXSAMEMODE same = ModeSameCheck(current, IsFocusMode(), nViewCode);
  if (!same.bGoOn && same.fRatio >= 0) SetFocusSpliterHeight(same.fRatio);
  return same.bGoOn;
}

BOOL CVxGUITrans::OnModeChange_Modify(UINT nViewCode) {
  VXMODEPLAN plan = ModeModifyPlan(nViewCode);
  switch (plan.step) {
    case VXSTEP_REFUSE: return FALSE;
    case VXSTEP_SMALLICON: GotoSmallIconMode(); break;
    case VXSTEP_LARGEICON: GotoLargeIconMode(); break;
    case VXSTEP_DETAIL: GotoDetailMode(); break;
    case VXSTEP_FOCUS: GotoFocusMode(plan.fRatio); break;
    case VXSTEP_HIDEFOCUS: HideFocusWnd(); break;
    case VXSTEP_ZOOM: GotoZoomMode(ZoomStartItem()); break;
    case VXSTEP_SLIDESHOW: GotoSlideShowMode(); break;
    case VXSTEP_NONE: break;
  }
  if (!plan.bTail) return TRUE;
  if (plan.bHideFocus) HideFocusWnd();
  SetViewModeFlag(CBrowserStatus::CViewMode::ToBrowseID(nViewCode), TRUE);
  // The details list shows the columns of the mode now in force, filled by its worker.
  if (plan.step == VXSTEP_DETAIL && m_pReportCtrl && m_pReportCtrl->GetSafeHwnd()) {
    m_pReportCtrl->SetMode((int)nViewCode);
    m_pReportCtrl->RebuildIDs();
    m_pReportCtrl->StartWorker();
  }
  if (m_pView) {
    // The strip over the base view shows the new mode's buttons.
    HWND hBase = GetBaseViewWindow();
    HWND hStrip = hBase ? ::GetWindow(hBase, GW_HWNDPREV) : NULL;
    CWnd* pBaseSplitter = hBase ? CWnd::FromHandle(::GetParent(hBase)) : NULL;
    if (pBaseSplitter)
      pBaseSplitter->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    else if (hStrip)
      ::RedrawWindow(hStrip, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  if (CIconView* pIcons = dynamic_cast<CIconView*>(m_pView)) pIcons->ClearLayoutKey();
  if (IVxItemView* pItems = GetItemView()) pItems->Arrange(TRUE);
  GotoFocusMode_SelectItem();
  return TRUE;
}

void CVxGUITrans::OnModeChange_EnsureVisible() {
  IVxItemView* pItems = GetItemView();
  CIconView* pIcons = dynamic_cast<CIconView*>(m_pView);
  if (m_pReportCtrl && m_pReportCtrl->GetSafeHwnd() && pIcons) {
    int row = m_pReportCtrl->GetNextItem(-1, LVNI_FOCUSED);
    DWORD id = m_pReportCtrl->GetItemID(row);
    if (id != VXID_NONE) pIcons->SetFocusItem(id);
  }
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (pItems && pDoc)
    if (CThumbnail* pLast = pDoc->GetLastSelectedItem())
      pItems->EnsureVisible(pLast->GetUniqueID(VXID_SLOT_VIEW), FALSE);
  if (IsFocusMode() && pItems && pItems->GetItemCount() == 0) SendToAllViews(VXHINT_SELECTION, NULL);
}

void CVxGUITrans::ShowIconSide(int nCell) {
  if (m_pReportCtrl && m_pReportCtrl->GetSafeHwnd()) {
    m_pReportCtrl->StopWorker();
    m_pReportCtrl->ShowWindow(SW_HIDE);
  }
  CIconView* pIcons = dynamic_cast<CIconView*>(m_pView);
  if (!pIcons) return;
  pIcons->SetItemsShown(TRUE);
  pIcons->EnableDrawing(TRUE);
  pIcons->SetThumbnailSize(CSize(nCell, nCell));
  // The scroll bars follow the layout's scroll sizes (Arrange), not the mode.
  pIcons->SetSelectMode(0);
  pIcons->SetFocus();
}

void CVxGUITrans::GotoSmallIconMode() { ShowIconSide(80); }

void CVxGUITrans::GotoLargeIconMode() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  ShowIconSide(TransThumbnailCell(FALSE, TRUE, pDoc ? pDoc->GetBrowserStatus().GetThumbMode() : 2));
}

void CVxGUITrans::GotoDetailMode() {
  if (!m_pReportCtrl || !m_pReportCtrl->GetSafeHwnd() || IsFileInfoMode() || IsCameraInfoMode()) return;
  CIconView* pIcons = dynamic_cast<CIconView*>(m_pView);
  CRect rc;
  if (m_pView) m_pView->GetClientRect(&rc);
  m_pReportCtrl->MoveWindow(&rc, FALSE);
  m_pReportCtrl->ShowWindow(SW_SHOW);
  if (pIcons) {
    pIcons->EnableDrawing(FALSE);
    pIcons->Invalidate();
    pIcons->SetScrollSizes(MM_TEXT, CSize(0, 0));
    pIcons->SetScrollRange(SB_VERT, 0, 0);
  }
  m_pReportCtrl->SetFocus();
  EchoScope echo(m_nSelectEcho);
  m_pReportCtrl->RebuildIDs();
  m_pReportCtrl->SetItemState(-1, 0, LVIS_SELECTED);
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (pDoc) {
    const CThumbnailList& sel = pDoc->GetSelectList();
    for (POSITION pos = sel.GetHeadPosition(); pos;) {
      DWORD row = sel.GetNext(pos)->GetUniqueID(VXID_SLOT_LIST);
      if (row != VXID_NONE) m_pReportCtrl->SetItemState((int)row, LVIS_SELECTED, LVIS_SELECTED);
    }
  }
  if (pIcons) {
    CThumbnail* pFocus = pIcons->GetThumbnail(pIcons->GetFocusItem());
    DWORD row = pFocus ? pFocus->GetUniqueID(VXID_SLOT_LIST) : VXID_NONE;
    if (row != VXID_NONE) m_pReportCtrl->SetItemState((int)row, LVIS_FOCUSED, LVIS_FOCUSED);
  }
  if (CThumbnail* pLast = pDoc ? pDoc->GetLastSelectedItem() : NULL) {
    DWORD row = pLast->GetUniqueID(VXID_SLOT_LIST);
    if (row != VXID_NONE) m_pReportCtrl->EnsureVisible((int)row, FALSE);
    m_pReportCtrl->Invalidate();
  }
}

void CVxGUITrans::SetFocusSpliterHeight(float fRatio) {
  CDynamicSplitterWnd* pSplitter = GetViewSplitter();
  CDynamicSplitterWnd* pNested = pSplitter ? pSplitter->GetSubDivision(1) : NULL;
  if (!pNested || !m_pView) return;
  CRect rc;
  m_pView->GetClientRect(&rc);
  pNested->SetRowInfo(0, FocusRowHeight(rc.Height(), fRatio), 0);
  pNested->RecalcLayout();
}

void CVxGUITrans::GotoFocusMode(float fRatio) {
  if (!m_pView) return;
  m_pView->ShowWindow(SW_HIDE);
  SetFocusSpliterHeight(fRatio);
  if (CDynamicSplitterWnd* pSplitter = GetViewSplitter()) {
    pSplitter->LockWindowUpdate();
    pSplitter->ShowColumn();
    pSplitter->RecalcLayout();
    pSplitter->UnlockWindowUpdate();
  }
  GotoSmallIconMode();
  MSG msg;
  while (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
  m_pView->ShowWindow(SW_SHOW);
}

void CVxGUITrans::HideFocusWnd() {
  if (CDynamicSplitterWnd* pSplitter = GetViewSplitter()) {
    if (pSplitter->GetHiddenColumn() == -1 && pSplitter->GetColumnCount() > 1) pSplitter->HideColumn(1);
    pSplitter->RecalcLayout();
  }
  if (IsReportVisible() && m_pView) {
    CRect rc;
    m_pView->GetClientRect(&rc);
    m_pReportCtrl->MoveWindow(&rc, FALSE);
  }
}

void CVxGUITrans::GotoFocusMode_SelectItem() {
  if (!IsFocusMode()) return;
  CBrowserDocument* pDoc = GetBrowserDocument();
  CIconView* pIcons = dynamic_cast<CIconView*>(m_pView);
  if (!pDoc || !pIcons) return;
  CThumbnail* pLast = pDoc->GetLastSelectedItem();
  DWORD id = pLast ? pLast->GetUniqueID(VXID_SLOT_VIEW) : VXID_NONE;
  {
    EchoScope echo(m_nSelectEcho);
    UnSelectAllThumbnail();
  }
  if (id == VXID_NONE || !pIcons->GetThumbnail(id)) id = pIcons->FindFirstImageItem();
  if (id == VXID_NONE || !pIcons->GetThumbnail(id) || pIcons->GetItemCount() == 0) return;
  pIcons->SetSelectMode(1);
  pIcons->SelectItem(id, TRUE);
}

void CVxGUITrans::FocusMode_RefreshSelectItem() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  CIconView* pIcons = dynamic_cast<CIconView*>(m_pView);
  if (!pDoc || !pIcons) return;
  BOOL bSelected = FALSE;
  if (m_pSelectKeeper && (!m_pSelectKeeper->strPage.IsEmpty() || !m_pSelectKeeper->strFile.IsEmpty())) {
    CThumbnailPageList& pages = pDoc->GetPageList();
    for (POSITION pos = pages.GetHeadPosition(); pos && !bSelected;) {
      CThumbnailPage* pPage = pages.GetNext(pos);
      if (pPage->GetName().CompareNoCase(m_pSelectKeeper->strPage) != 0) continue;
      for (int i = 0; i < pPage->GetCount(); ++i) {
        CThumbnail* p = pPage->GetAt(i);
        // The keeper holds a full path or a bare name: either matches.
        if (!p || (p->GetFileName().CompareNoCase(m_pSelectKeeper->strFile) != 0 &&
                   p->GetFilePath().CompareNoCase(m_pSelectKeeper->strFile) != 0))
          continue;
        DWORD id = p->GetUniqueID(VXID_SLOT_VIEW);
        if (pIcons->GetThumbnail(id)) {
          pIcons->SelectItem(id, TRUE);
          pIcons->EnsureVisible(id, FALSE);
          bSelected = TRUE;
        }
        break;
      }
    }
    m_pSelectKeeper->strPage.Empty();
    m_pSelectKeeper->strFile.Empty();
    if (bSelected) return;
  }
  if (!IsFocusMode() || pDoc->GetSelectCount() != 0) return;
  DWORD id = pIcons->FindFirstImageItem();
  if (id != VXID_NONE && pIcons->GetThumbnail(id)) {
    pIcons->SelectItem(id, TRUE);
    pIcons->EnsureVisible(id, FALSE);
  } else {
    SendToAllViews(VXHINT_SELECTION, NULL);
  }
}
