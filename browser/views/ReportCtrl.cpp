#include "ReportCtrl.h"

#include <VxGUIDB.h>
#include <VxResourceIds.h>

#include "PropertyCatalog.h"
#include "ReportRules.h"
#include "ThumbToolTip.h"
#include "TransInternal.h"
#include "VxGUIIconView.h"

// Fills the cached column texts of the list's entries at idle priority, the entry the user
// looks at first. It touches the entries only through their string cache and talks to the
// list only by posting redraws.
class CListInfoThread : public CVxThread {
 public:
  CListInfoThread(CVxGUITrans* pOwner, CReportCtrl* pList) : CVxThread(pOwner), m_pList(pList), m_lStart(-1) {}
  // Entries in list order with their view IDs; the caller stops the thread first.
  std::vector<CThumbnail*> m_entries;
  std::vector<DWORD> m_ids;
  void SetStart(DWORD id) { ::InterlockedExchange(&m_lStart, (LONG)id); }

 protected:
  DWORD Run() override {
    HWND hList = m_pList->GetSafeHwnd();
    if (!hList) return 0;
    const int mode = m_pList->GetMode();
    const int nCols = (int)m_pList->m_columns.size();
    if (nCols < 2) return 0;
    const BOOL bCamera = mode == 4;
    for (;;) {
      // Which entries still lack a text.
      std::vector<size_t> need;
      std::vector<DWORD> needIds;
      for (size_t i = 0; i < m_entries.size(); ++i) {
        if (IsAbort()) return 0;
        ::Sleep(0);
        CThumbnail* p = m_entries[i];
        if (bCamera && !((p->GetKindFlags() & 0x210) == 0x210 || (p->GetKindFlags() & 0x240) == 0x240)) continue;
        CString s;
        BOOL lacks = FALSE;
        for (int c = 1; c < nCols && !lacks; ++c) lacks = !p->GetStringData(ReportStringID(mode, c), s);
        if (lacks && p->IsValidPathWithoutBDCore()) need.push_back(i), needIds.push_back(m_ids[i]);
      }
      if (need.empty()) return 0;
      DWORD start = (DWORD)m_lStart;
      BOOL bRestart = FALSE;
      for (size_t k : ReportWorkOrder(needIds, start)) {
        if (IsAbort()) return 0;
        ::Sleep(0);
        CThumbnail* p = m_entries[need[k]];
        CPrProperty context;
        if (bCamera) context.Open(p->GetFilePath());
        for (int c = 1; c < nCols; ++c) {
          if (IsAbort()) return 0;
          if ((DWORD)m_lStart != start) {
            bRestart = TRUE;  // the user scrolled: begin again from the new start
            break;
          }
          CString text;
          if (CPropertyItem* pItem = m_pList->m_columns[(size_t)c]) pItem->GetValue(p, text, bCamera ? &context : NULL);
          p->SetStringData(ReportStringID(mode, c), text);
        }
        if (bRestart) break;
        DWORD row = p->GetUniqueID(VXID_SLOT_LIST);
        if (::IsWindow(hList) && row != VXID_NONE) ::PostMessageA(hList, LVM_REDRAWITEMS, row, row);
      }
    }
  }

 private:
  CReportCtrl* m_pList;
  volatile LONG m_lStart;
};

// The list's tooltips: the row under the cursor, with five lines of its entry.
class CReportTip : public CThumbToolTip {
 public:
  explicit CReportTip(CReportCtrl* pList) : CThumbToolTip(pList, kReportTipKinds, 5), m_pList(pList) {}
  DWORD HitTest(CPoint pt) override {
    int row = m_pList->CListCtrl::HitTest(pt);
    return row >= 0 ? (DWORD)row : VXID_NONE;
  }
  // The parent names the row's entry, as it does for the list's texts.
  CThumbnail* GetThumbnail(DWORD row) override {
    CWnd* pParent = m_pList->GetParent();
    if (!pParent) return NULL;
    NMLVDISPINFOA info = {};
    info.hdr.hwndFrom = m_pList->GetSafeHwnd();
    info.hdr.idFrom = (UINT_PTR)m_pList->GetDlgCtrlID();
    info.hdr.code = LVN_GETDISPINFOA;
    info.item.mask = LVIF_PARAM;
    info.item.iItem = (int)row;
    pParent->SendMessage(WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info);
    CThumbnail* p = reinterpret_cast<CThumbnail*>(info.item.lParam);
    return CThumbnail::CheckThumbnailPointer(p) ? p : NULL;
  }

 private:
  CReportCtrl* m_pList;
};

IMPLEMENT_DYNCREATE(CReportCtrl, COwnerDrawListCtrl)

BEGIN_MESSAGE_MAP(CReportCtrl, COwnerDrawListCtrl)
  ON_WM_CREATE()
  ON_WM_MOUSEWHEEL()
  ON_WM_VSCROLL()
  ON_WM_CONTEXTMENU()
  ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, &CReportCtrl::OnGetDispInfo)
  ON_MESSAGE(LVM_DELETEITEM, &CReportCtrl::OnDeleteItem)
END_MESSAGE_MAP()

CReportCtrl::CReportCtrl() : m_pParent(NULL), m_nMode(0), m_pOwner(NULL), m_pWorker(NULL), m_pTip(NULL) {}

CReportCtrl::~CReportCtrl() {
  delete m_pTip;
  StopWorker();
  delete m_pWorker;
  FreeColumns();
}

void CReportCtrl::FreeColumns() {
  for (CPropertyItem* p : m_columns) delete p;
  m_columns.clear();
}

BOOL CReportCtrl::CreateList(CWnd* pParent, int nMode, CVxGUITrans* pOwner) {
  m_pParent = pParent;
  m_nMode = nMode;
  m_pOwner = pOwner;
  m_pWorker = new (std::nothrow) CListInfoThread(pOwner, this);
  if (!m_pWorker || !pParent) return FALSE;
  CRect rc;
  pParent->GetClientRect(&rc);
  DWORD style = WS_CHILD | WS_VSCROLL | WS_HSCROLL | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
                LVS_OWNERDRAWFIXED | LVS_OWNERDATA;
  return Create(style, rc, pParent, IDC_DETAILS_LIST);
}

int CReportCtrl::OnCreate(LPCREATESTRUCT lpcs) {
  if (COwnerDrawListCtrl::OnCreate(lpcs) == -1) return -1;
  SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  m_pTip = new CReportTip(this);
  // The small images set the row height: one 80 x 80 thumbnail a row.
  if (m_imlSmall.Create(80, 80, ILC_COLOR24, 1, 1)) SetImageList(&m_imlSmall, LVSIL_SMALL);
  // The state images make room for the check box left of the picture (drawn by DrawItem).
  if (m_imlState.Create(16, 16, ILC_COLOR24, 1, 1)) SetImageList(&m_imlState, LVSIL_STATE);
  return 0;
}

void CReportCtrl::SetMode(int nMode) {
  StopWorker();
  m_nMode = nMode;
  CHeaderCtrl* pHeader = GetHeaderCtrl();
  for (int n = pHeader ? pHeader->GetItemCount() : 0; n > 0; --n) DeleteColumn(0);
  FreeColumns();
  const VXREPORTCOLUMN* pCols = NULL;
  int count = ReportColumns(nMode, &pCols);
  for (int i = 0; i < count; ++i) {
    CPropertyItem* pItem = CreatePropertyItem(pCols[i].nKind);
    CString name;
    if (pItem) pItem->GetName(name);
    m_columns.push_back(pItem);
    InsertColumn(i, name, LVCFMT_LEFT, pCols[i].nWidth, i);
  }
}

CVxGUIIconView* CReportCtrl::GetIconView() const { return dynamic_cast<CVxGUIIconView*>(m_pParent); }

void CReportCtrl::SetItemIDs(const std::vector<DWORD>& ids) { m_ids = ids; }

void CReportCtrl::RebuildIDs() {
  CVxGUIIconView* pIcons = GetIconView();
  StopWorker();
  m_ids.clear();
  if (pIcons) m_ids = pIcons->GetDisplayList();
  for (size_t row = 0; row < m_ids.size(); ++row)
    if (CThumbnail* p = pIcons->GetThumbnail(m_ids[row])) p->SetUniqueID((DWORD)row, VXID_SLOT_LIST);
  if (GetSafeHwnd()) SetItemCountEx((int)m_ids.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

DWORD CReportCtrl::GetItemID(int nRow) const { return ReportRowID(m_ids, nRow); }

CThumbnail* CReportCtrl::GetRowThumbnail(int nRow) const {
  DWORD id = GetItemID(nRow);
  CVxGUIIconView* pIcons = GetIconView();
  return id != VXID_NONE && pIcons ? pIcons->GetThumbnail(id) : NULL;
}

int CReportCtrl::GetNextItem(int nStart, UINT nFlags) const {
  int r = COwnerDrawListCtrl::GetNextItem(nStart, (int)nFlags);
  return r == nStart ? -1 : r;
}

CPropertyItem* CReportCtrl::GetColumnItem(int nColumn) const {
  return nColumn >= 0 && (size_t)nColumn < m_columns.size() ? m_columns[(size_t)nColumn] : NULL;
}

void CReportCtrl::StartWorker() {
  if (!m_pWorker || m_ids.empty() || !ReportShowsTexts(m_nMode)) return;
  StopWorker();
  m_pWorker->m_entries.clear();
  m_pWorker->m_ids.clear();
  for (DWORD id : m_ids)
    if (CThumbnail* p = GetIconView() ? GetIconView()->GetThumbnail(id) : NULL) {
      m_pWorker->m_entries.push_back(p);
      m_pWorker->m_ids.push_back(id);
    }
  if (m_pWorker->m_entries.empty()) return;
  NoteTopRow();
  m_pWorker->BeginThread(THREAD_PRIORITY_IDLE);
}

void CReportCtrl::StopWorker() {
  if (m_pWorker && m_pWorker->IsActive()) m_pWorker->EndThread();
}

void CReportCtrl::SetStartID(DWORD dwID) {
  if (m_pWorker) m_pWorker->SetStart(dwID);
}

void CReportCtrl::Clear() {
  StopWorker();
  if (m_pWorker) m_pWorker->m_entries.clear(), m_pWorker->m_ids.clear();
  m_ids.clear();
  if (GetSafeHwnd()) SetItemCountEx(0, 0);
}

void CReportCtrl::NoteTopRow() {
  if (GetSafeHwnd() && !m_ids.empty()) SetStartID(GetItemID(GetTopIndex()));
}

BOOL CReportCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  BOOL r = (BOOL)Default();
  if (GetItemCount() > 0) NoteTopRow();
  return r;
}

void CReportCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  Default();
  NoteTopRow();
  if (m_pParent) m_pParent->SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
}

void CReportCtrl::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    int last = -1;
    for (int r = GetNextItem(-1, LVNI_SELECTED); r != -1; r = GetNextItem(r, LVNI_SELECTED)) last = r;
    if (last == -1) return;
    CRect rc;
    GetItemRect(last, &rc, LVIR_BOUNDS);
    point = rc.CenterPoint();
    ClientToScreen(&point);
  }
  InvokeBrowserContextMenu(this, point);
}

void CReportCtrl::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  NMLVDISPINFOA* p = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
  if (p->item.mask & LVIF_PARAM) p->item.lParam = reinterpret_cast<LPARAM>(GetRowThumbnail(p->item.iItem));
  if (!(p->item.mask & LVIF_TEXT) || !p->item.pszText || p->item.cchTextMax <= 0) return;
  p->item.pszText[0] = 0;
  if (!ReportShowsTexts(m_nMode)) return;
  CThumbnail* pEntry = GetRowThumbnail(p->item.iItem);
  if (!pEntry) return;
  CString text;
  if (p->item.iSubItem == 0)
    text = pEntry->GetDisplayName();
  else
    pEntry->GetStringData(ReportStringID(m_nMode, p->item.iSubItem), text);
  lstrcpynA(p->item.pszText, text, p->item.cchTextMax);
}

LRESULT CReportCtrl::OnDeleteItem(WPARAM wParam, LPARAM) {
  CVxGUIIconView* pIcons = GetIconView();
  CThumbnail* pEntry = GetRowThumbnail((int)wParam);
  StopWorker();
  if (pIcons && pEntry) pIcons->RemoveItem(pEntry);
  RebuildIDs();
  if (IsWindowVisible()) StartWorker();
  return 1;
}

BOOL CReportCtrl::IsRowChecked(int nRow) const {
  CThumbnail* p = GetRowThumbnail(nRow);
  return p && p->IsCheckable() && p->GetMarkStatus() != 0;
}

void CReportCtrl::OnCheckClicked(int nRow) {
  CThumbnail* pClicked = GetRowThumbnail(nRow);
  if (!pClicked || pClicked->IsFolder() || !pClicked->IsCheckable()) return;
  int state = ReportToggledCheck(IsRowChecked(nRow) ? 2 : 1);
  CVxDocument* pVx = m_pOwner ? m_pOwner->GetDocument() : NULL;
  CBrowserDocument* pDoc = pVx ? pVx->GetBrowser() : NULL;
  std::vector<int> rows(1, nRow);
  // A click on a selected row's box checks or clears every selected row with it.
  if (GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED)
    for (int r = GetNextItem(-1, LVNI_SELECTED); r != -1; r = GetNextItem(r, LVNI_SELECTED))
      if (r != nRow) rows.push_back(r);
  for (int r : rows) {
    CThumbnail* p = GetRowThumbnail(r);
    if (!p || p->IsFolder() || !p->IsCheckable()) continue;
    if (pDoc)
      pDoc->SetMark(p, state == 2);
    else
      p->SetMarkStatus(state == 2);
    RedrawItems(r, r);
    if (CVxGUIIconView* pIcons = GetIconView()) pIcons->RedrawItem(p->GetUniqueID(VXID_SLOT_VIEW));
  }
}

void CReportCtrl::DrawRowPicture(CDC* pDC, int nRow, const CRect& rcIcon) {
  CThumbnail* p = GetRowThumbnail(nRow);
  if (!p || rcIcon.IsRectEmpty()) return;
  const int cx = 80, cy = 80;
  p->ThreadLock();
  BITMAPINFOHEADER* pbih = p->GetThumbnail(cx, cy);
  if (pbih) {
    BYTE* pBits = reinterpret_cast<BYTE*>(pbih) + pbih->biSize;
    std::vector<BYTE> faded;
    if (p->IsCut()) {
      // A cut entry shows faded toward the list's background.
      size_t cb = (size_t)(((pbih->biWidth * 3 + 3) & ~3) * std::abs(pbih->biHeight));
      faded.assign(pBits, pBits + cb);
      ReportFadeBits(faded.data(), cb, kBackColor);
      pBits = faded.data();
    }
    ::StretchDIBits(pDC->GetSafeHdc(), rcIcon.left, rcIcon.top, cx, cy, 0, 0, pbih->biWidth, std::abs(pbih->biHeight),
                    pBits, reinterpret_cast<BITMAPINFO*>(pbih), DIB_RGB_COLORS, SRCCOPY);
  }
  p->ThreadUnlock();
}

void CReportCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS) { COwnerDrawListCtrl::DrawItem(lpDIS); }

INT_PTR CReportCtrl::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  return m_pTip ? m_pTip->OnToolHitTest(point, pTI) : -1;
}

LRESULT CReportCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && m_pTip) {
    NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
    // The list's own tips (of its header) answer themselves.
    if (pHdr && (pHdr->code == TTN_NEEDTEXTA || pHdr->code == TTN_NEEDTEXTW) &&
        pHdr->hwndFrom != (HWND)::SendMessageA(m_hWnd, LVM_GETTOOLTIPS, 0, 0)) {
      CPoint pt;
      ::GetCursorPos(&pt);
      return m_pTip->OnToolTipText(pHdr, pt);
    }
  }
  return COwnerDrawListCtrl::WindowProc(message, wParam, lParam);
}
