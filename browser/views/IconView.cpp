// CIconView: life, hand-over to the controller, drawing and the input hooks.
#include "IconView.h"

#include "IconViewRules.h"
#include "ThumbToolTip.h"

#include "TransInternal.h"
#include "VxGUITrans.h"

IMPLEMENT_DYNCREATE(CIconView, CVxGUIIconView)

BEGIN_MESSAGE_MAP(CIconView, CVxGUIIconView)
  ON_WM_CONTEXTMENU()
  ON_WM_MOUSEWHEEL()
  ON_WM_SIZE()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {
const COLORREF kBackColor = RGB(122, 142, 156);

CVxGUITrans* NewController() {
  try {
    return new CVxGUITrans;
  } catch (...) {
    return NULL;
  }
}
}  // namespace

CIconView::CIconView() {
  m_nLeftMargin = 15;
  m_nTopMargin = 0;
  m_nHGap = 30;
  m_nVGap = 15;
  m_headerRecords.reserve(10);
  m_pTrans = NewController();
}

CIconView::~CIconView() {
  delete m_pTip;
  CVxGUITrans* p = m_pTrans;
  m_pTrans = NULL;
  m_bTransReady = FALSE;
  delete p;
  m_gdiObject.DeleteObject();
}

CVxDocument* CIconView::GetDocument() const { return dynamic_cast<CVxDocument*>(m_pDocument); }

CPoint CIconView::GetScrollPosition() const {
  CPoint pt = GetScrollPositionRaw();
  if (iconview::VersionCode() < 5 && m_dVertScale > 0) pt.y = int(pt.y * m_dVertScale);
  return pt;
}

namespace {
// The icon view's answers to the tooltips: the item under a point (the picture, label or
// check box of an item; its cell's margin is none) and an item's thumbnail.
class CIconViewTip : public CThumbToolTip {
 public:
  explicit CIconViewTip(CIconView* pView) : CThumbToolTip(pView), m_pView(pView) {}
  DWORD HitTest(CPoint pt) override {
    int part = iconview::kPartNone;
    DWORD id = m_pView->ItemAtPoint(pt, &part);
    return part == iconview::kPartNone || part == iconview::kPartItem ? VXID_NONE : id;
  }
  CThumbnail* GetThumbnail(DWORD id) override { return m_pView->GetThumbnail(id); }

 private:
  CIconView* m_pView;
};
}  // namespace

INT_PTR CIconView::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  return m_pTip ? m_pTip->OnToolHitTest(point, pTI) : -1;
}

void CIconView::OnInitialUpdate() {
  CVxGUIIconView::OnInitialUpdate();
  if (!m_pTip) m_pTip = new CIconViewTip(this);
  SetItemIdSlot(1);
  CWnd* main = AfxGetMainWnd();
  if (m_pTrans) {
    m_pTrans->SetManager(main ? main->GetSafeHwnd() : NULL);
    LRESULT r = 0;
    m_pTrans->OnTransfer(this, WM_INITDIALOG, 0, 0, &r);
    m_bTransReady = TRUE;
  }
  if (!m_brBack.GetSafeHandle()) m_brBack.CreateSolidBrush(kBackColor);
  ::SetClassLongPtrA(GetSafeHwnd(), GCLP_HBRBACKGROUND, LONG_PTR(m_brBack.GetSafeHandle()));
  CThumbnailItem::SetPlaceholderColor(RGB(255, 255, 255));
  CThumbnailItem::SetLabelColor(RGB(255, 255, 255), kBackColor, TRANSPARENT, 0, 7);
  CThumbnailItem::SetLabelColor(RGB(255, 255, 255), RGB(255, 146, 18), TRANSPARENT, 1, 7);
  CThumbnailItem::SetLabelColor(RGB(255, 255, 255), RGB(255, 214, 87), TRANSPARENT, 2, 7);
  Invalidate();
  UpdateWindow();
}

LRESULT CIconView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && m_pTip) {
    NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr && (pHdr->code == TTN_NEEDTEXTA || pHdr->code == TTN_NEEDTEXTW) &&
        (!m_pTrans || !m_pTrans->GetReportCtrl() || pHdr->hwndFrom != m_pTrans->GetReportCtrl()->GetSafeHwnd())) {
      CPoint pt;
      ::GetCursorPos(&pt);
      return m_pTip->OnToolTipText(pHdr, pt);
    }
  }
  if (message != WM_PAINT && message != WM_INITDIALOG && m_pTrans && m_bTransReady) {
    LRESULT result = 0;
    HWND self = GetSafeHwnd();
    if (m_pTrans->OnTransfer(this, message, wParam, lParam, &result) == 1) return result;
    if (!::IsWindow(self)) return 0;
  }
  return CVxGUIIconView::WindowProc(message, wParam, lParam);
}

BOOL CIconView::PreTranslateMessage(MSG* pMsg) {
  if (m_pTrans && m_pTrans->PreTranslateMessage(pMsg)) return TRUE;
  return CVxGUIIconView::PreTranslateMessage(pMsg);
}

void CIconView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
  if (m_pTrans) m_pTrans->OnUpdate(pSender, lHint, pHint);
}

void CIconView::NoticeVisibleRange() {
  LRESULT r = 0;
  if (m_pTrans && m_bTransReady) m_pTrans->OnMouseWheel(0, 0, &r);
}

// ---- Drawing --------------------------------------------------------------------------------------
UINT CIconView::ItemDrawFlags(DWORD id, BOOL bFocus) const {
  if (!m_bPicturesShown) return kDrawEdge;
  UINT flags = kDrawThumbnail | kDrawLabel | kDrawEdge | kDrawCheck | kDrawFavoriteDB;
  // The rename box stands over the label of the item under edit.
  if (id == m_rename.GetTargetID()) flags &= ~kDrawLabel;
  if (bFocus && id == m_model.Focus()) flags |= kDrawFocus;
  const CBrowserDocument* doc = GetBrowserDocument();
  if (doc && doc->GetFolderType().IsSDCardFolder()) flags = (flags & ~kDrawFavoriteDB) | kDrawFavoriteDPOF;
  CThumbnail* t = GetThumbnail(id);
  if (m_pTrans && t && m_pTrans->IsDPOFFavouriteWanted(t->GetPage()))
    flags |= kDrawFavoriteDB | kDrawFavoriteDPOF;
  return flags;
}

// The rows a paint draws, in document coordinates: an item whose top lies in [top, bottom]
// is in sight.
CIconView::SightRows CIconView::RowsInSight() const {
  CRect client;
  GetClientRect(&client);
  CPoint scroll = GetScrollPositionRaw();
  CIconViewItem measure;
  CRect whole;
  measure.GetBoundsRect(whole);
  return SightRows{scroll.y + client.top - whole.Height(), scroll.y + client.bottom};
}

void CIconView::OnDraw(CDC* pDC) {
  if (!m_bItemsShown && !m_bDrawEnabled) return;
  HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
  CRect client;
  GetClientRect(&client);
  CPoint scroll = GetScrollPositionRaw();
  BOOL focus = GetFocus() == this;
  const SightRows rows = RowsInSight();
  int before = 0;
  std::vector<DWORD> inSight;
  std::vector<CThumbnail*> pictures;
  for (DWORD id : m_model.Order()) {
    CThumbnailItem* item = FindItem(id);
    if (item->m_y < rows.top) {
      ++before;
      continue;
    }
    if (item->m_y > rows.bottom) break;
    inSight.push_back(id);
    if (CThumbnail* t = item->GetThumbnail()) pictures.push_back(t);
  }
  // The marks of the items in sight in one read of the store (item by item, each read takes
  // and gives back the database file's locks).
  CThumbnail::ReadMarkStatus(pictures.data(), int(pictures.size()));
  const int shown = int(inSight.size());
  if (shown) CThumbnailPage::SetDecodeStartPos(before);
  // The paint is in document coordinates (the viewport carries the scroll).
  for (DWORD id : inSight) FindItem(id)->Draw(pDC, ItemDrawFlags(id, focus));
  CThumbnailPage::SetDecodeCount(shown);
  m_nDecodeStart = shown ? before : 0;
  m_nDecodeCount = shown;
  const CBrowserDocument* doc = GetBrowserDocument();
  UINT mode = doc ? doc->GetViewMode() : BROWSE_VIEW_LARGEICON;
  if (mode == 1 || mode == 2 || mode == 16) m_headers.Draw(pDC, client, scroll.y);
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
}

void CIconView::InvalidateSelection(DWORD id) { InvalidateItem(id, 1, 3); }

void CIconView::RedrawPicture(DWORD id) {
  // A picture out of sight is drawn when it comes into sight. Its rectangles are not worked
  // out here: an item's first rectangles ask the database for its mark, which for a whole
  // folder's decoded pictures kept this thread from painting the ones in sight.
  CThumbnailItem* item = FindItem(id);
  if (!item) return;
  const SightRows rows = RowsInSight();
  if (item->m_y < rows.top || item->m_y > rows.bottom) return;
  CVxGUIIconView::RedrawPicture(id);
}

// ---- Items ---------------------------------------------------------------------------------------
CThumbnailItem* CIconView::AllockItem(CThumbnail* pThumbnail) {
  try {
    return new CIconViewItem(pThumbnail);
  } catch (...) {
    return NULL;
  }
}

void CIconView::Select(DWORD id, BOOL bSelect, BOOL bRedraw) { CVxGUIIconView::Select(id, bSelect, bRedraw); }

void CIconView::SelectItems_End() {
  if (!GetSafeHwnd()) return;
  Invalidate();
  UpdateWindow();
}

void CIconView::SetItemCheck(DWORD id, BOOL bCheck) { CVxGUIIconView::SetItemCheck(id, bCheck); }

void CIconView::CheckItems(DWORD id) {
  CThumbnailItem* item = FindItem(id);
  if (!item) return;
  if (!m_model.IsSelected(id)) {
    SetItemCheck(id, !item->IsMarked());
    return;
  }
  BOOL mark = !item->IsMarked();
  CBrowserDocument* doc = GetBrowserDocument();
  CRect all;
  std::vector<DWORD> sel = m_model.Selection();
  for (DWORD s : sel) {
    CThumbnailItem* each = FindItem(s);
    if (!each || !each->GetThumbnail()) continue;
    if (doc)
      doc->SetMark(each->GetThumbnail(), mark);
    else
      each->GetThumbnail()->SetMarkStatus(mark ? 1 : 0);
    CRect rc;
    each->GetCheckRect(rc);
    all.UnionRect(&all, &rc);
  }
  if (GetSafeHwnd() && !all.IsRectEmpty()) {
    all.OffsetRect(-GetScrollPositionRaw());
    InvalidateRect(&all, FALSE);
  }
}

void CIconView::RemoveItem(CThumbnail* pThumbnail) {
  CReportCtrl* pList = m_pTrans ? m_pTrans->GetReportCtrl() : NULL;
  if (pList) pList->StopWorker();
  CVxGUIIconView::RemoveItem(pThumbnail);
  if (pList && pList->GetSafeHwnd()) {
    pList->RebuildIDs();
    // The rows not filled yet still get their texts.
    if (pList->IsWindowVisible()) pList->StartWorker();
  }
}

void CIconView::DeleteAllItems() {
  // The details list's worker holds the items: it ends before they go.
  if (CReportCtrl* pList = m_pTrans ? m_pTrans->GetReportCtrl() : NULL) pList->Clear();
  bool had = GetItemCount() > 0;
  // Within a change of folder the layout that ends it sets the bar: hiding it here, to show
  // it again for the next folder, costs two frame changes of the window (each one a good
  // part of the time this thread may keep others waiting).
  const CBrowserDocument* doc = GetBrowserDocument();
  const bool changing = doc && (doc->GetViewStatus() & BROWSE_ST_CHGFOLDER) != 0;
  if (GetSafeHwnd() && !changing) {
    SetScrollSizes(MM_TEXT, CSize(0, 0));
    SetScrollRange(SB_VERT, 0, 0, FALSE);
  }
  CVxGUIIconView::DeleteAllItems();
  m_headers.Clear();
  m_headerRecords.clear();
  if (had && m_pDocument) m_pDocument->UpdateAllViews(this, VXHINT_SELECTION, NULL);
}

void CIconView::OnAutoScrollEnd(CPoint) { NoticeVisibleRange(); }

// ---- Input hooks -----------------------------------------------------------------------------------
void CIconView::OnContextMenu(CWnd* pWnd, CPoint point) {
  CVxGUIIconView::OnContextMenu(pWnd, point);
  if (!m_bItemsShown) return;
  BandErase();
  CBrowserDocument* doc = GetBrowserDocument();
  if (doc) doc->SetContextMenuPosition(point);
  if (doc && doc->GetSelectCount() > 0 && point.x < 0 && point.y < 0) {
    CThumbnail* last = doc->GetLastSelectedItem();
    CThumbnailItem* item = last ? FindItem(last->GetUniqueID(m_nIdSlot)) : NULL;
    if (item) {
      CRect rc, client;
      item->GetBoundsRect(rc);
      GetClientRect(&client);
      CPoint c = rc.CenterPoint();
      c.y -= GetScrollPositionRaw().y;
      c.y = std::max(0L, std::min(c.y, LONG(client.bottom)));
      ClientToScreen(&c);
      point = c;
    }
  }
  InvokeBrowserContextMenu(this, point);
}

BOOL CIconView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  BOOL r = CVxGUIIconView::OnMouseWheel(nFlags, zDelta, pt);
  NoticeVisibleRange();
  return r;
}

void CIconView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CPoint before = GetScrollPositionRaw();
  CVxGUIIconView::OnKeyDown(nChar, nRepCnt, nFlags);
  if (::IsWindow(GetSafeHwnd()) && GetScrollPositionRaw() != before) NoticeVisibleRange();
}

void CIconView::OnSize(UINT nType, int cx, int cy) {
  ClearLayoutKey();
  CVxGUIIconView::OnSize(nType, cx, cy);
  LRESULT r = 0;
  if (m_pTrans && m_bTransReady) m_pTrans->OnSize(nType, MAKELPARAM(cx, cy), &r);
}
