// The music view: set-up, document updates, messages and rows.
#include "MusicView.h"

#include <Kitlib2/OwnMessage.h>
#include <Kitlib2/Profile.h>
#include <VxDocument/BrowserDocument.h>
#include <VxDocument/CommandObject.h>
#include <VxDocument/Document.h>
#include <VxDocument/VxDocDefs.h>
#include <VxGUIDB/Thumbnail.h>
#include <VxGUIDB/ThumbnailPage.h>
#include <VxResourceIds.h>

#include "AudioPlayer.h"
#include "LibraryCursor.h"
#include "MainWndMessages.h"
#include "MusicListRow.h"
#include "MusicListWnd.h"
#include "PropertyCatalog.h"

IMPLEMENT_DYNCREATE(CMusicView, CView)

BEGIN_MESSAGE_MAP(CMusicView, CView)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_KEEP_BEFORE_EXIT, &CMusicView::OnKeepBeforeExit)
  ON_WM_TIMER()
  ON_MESSAGE(UWM_HEADER_SORT, &CMusicView::OnSort)
  ON_MESSAGE(UWM_LIST_ITEMCHANGE, &CMusicView::OnListItemChange)
  ON_MESSAGE(UWM_LIST_ITEMPRESS, &CMusicView::OnListItemLButtonDown)
  ON_MESSAGE(UWM_LIST_ITEMDBLCLK, &CMusicView::OnListItemDClick)
  ON_MESSAGE(UWM_LIST_LBUTTONUP, &CMusicView::OnListLButtonUp)
  ON_MESSAGE(UWM_SKIN_STARTDRAG, &CMusicView::OnStartDrag)
  ON_MESSAGE(UWM_ROW_PLAY, &CMusicView::OnPlayBtn)
  ON_MESSAGE(UWM_ROW_STOP, &CMusicView::OnStopBtn)
  ON_MESSAGE(WM_BROWSER_MUSIC_STOP, &CMusicView::OnStopBtn)
  ON_MESSAGE(WM_BROWSER_RELOAD, &CMusicView::OnReload)
  ON_MESSAGE(WM_BROWSER_BEFORE_FOLDER_CHANGE, &CMusicView::OnPreFolderChange)
END_MESSAGE_MAP()

using namespace musicview;

CMusicView::CMusicView() : m_pList(nullptr), m_pPlayer(new CAudioPlayer), m_bPlaying(FALSE), m_bDragArmed(FALSE) {}

CMusicView::~CMusicView() {
  if (m_pList) {
    if (m_pList->GetSafeHwnd()) m_pList->DestroyWindow();
    delete m_pList;
  }
  delete m_pPlayer;  // stops and releases its graph
}

CBrowserDocument* CMusicView::GetBrowserDocument() const {
  CVxDocument* pDoc = dynamic_cast<CVxDocument*>(m_pDocument);
  return pDoc ? pDoc->GetBrowser() : nullptr;
}

BOOL CMusicView::IsMusicMode() const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc && pDoc->GetViewMode() == BROWSE_VIEW_MUSIC;
}

int CMusicView::RowCount() const { return m_pList ? m_pList->GetTotalCount() : 0; }

void CMusicView::ClearListSelection() {
  if (m_pList) m_pList->ClearSelection(TRUE, TRUE, FALSE);
}

// ----- Set-up -----

void CMusicView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  if (m_pList) return;  // built once
  ModifyStyle(0, WS_CLIPCHILDREN);
  CRect rc;
  GetClientRect(&rc);
  m_pList = new CMusicListWnd;
  if (!m_pList->Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, this, kListId)) {
    delete m_pList;
    m_pList = nullptr;
    return;
  }
  m_pList->SetOwnerWnd(m_hWnd);
  const UINT header[listheader::kPartImages] = {
      IDB_MUSIC_HEADER_BODY, IDB_MUSIC_HEADER_BODY_PRESSED, IDB_MUSIC_HEADER_LEFT, IDB_MUSIC_HEADER_LEFT_PRESSED,
      IDB_MUSIC_HEADER_RIGHT, IDB_MUSIC_HEADER_RIGHT_PRESSED, IDB_MUSIC_HEADER_DOWN, IDB_MUSIC_HEADER_DOWN_PRESSED,
      IDB_MUSIC_HEADER_UP, IDB_MUSIC_HEADER_UP_PRESSED};
  m_pList->SetHeaderImages(header, nullptr, 0);
  // The house's skinned scroll bar.
  m_pList->SetVertScrollBarBitmaps(skinbar::kFirstArrow, IDB_SKIN_VSCROLL_UP, IDB_SKIN_VSCROLL_UP_PRESSED,
                                   IDB_SKIN_VSCROLL_UP_HOT, IDB_SKIN_VSCROLL_UP_DISABLED);
  m_pList->SetVertScrollBarBitmaps(skinbar::kSecondArrow, IDB_SKIN_VSCROLL_DOWN, IDB_SKIN_VSCROLL_DOWN_PRESSED,
                                   IDB_SKIN_VSCROLL_DOWN_HOT, IDB_SKIN_VSCROLL_DOWN_DISABLED);
  m_pList->SetVertScrollBarBitmaps(skinbar::kBody, IDB_SKIN_VSCROLL_BODY, IDB_SKIN_VSCROLL_BODY_PRESSED,
                                   IDB_SKIN_VSCROLL_BODY_HOT, 0);
  m_pList->SetVertScrollBarBitmaps(skinbar::kGrip, IDB_SKIN_VSCROLL_GRIP, IDB_SKIN_VSCROLL_GRIP_PRESSED,
                                   IDB_SKIN_VSCROLL_GRIP_HOT, 0);
  m_pList->SetVertScrollBarBackground(IDB_SKIN_VSCROLL_TRACK);
  m_pList->SetHorzScrollBarBitmaps(skinbar::kFirstArrow, IDB_SKIN_HSCROLL_LEFT, IDB_SKIN_HSCROLL_LEFT_PRESSED,
                                   IDB_SKIN_HSCROLL_LEFT_HOT, 0);
  m_pList->SetHorzScrollBarBitmaps(skinbar::kSecondArrow, IDB_SKIN_HSCROLL_RIGHT, IDB_SKIN_HSCROLL_RIGHT_PRESSED,
                                   IDB_SKIN_HSCROLL_RIGHT_HOT, 0);
  m_pList->SetHorzScrollBarBitmaps(skinbar::kBody, IDB_SKIN_HSCROLL_BODY, IDB_SKIN_HSCROLL_BODY_PRESSED,
                                   IDB_SKIN_HSCROLL_BODY_HOT, 0);

  m_pList->SetBkColor(RGB(255, 255, 255));
  m_pList->SetItemCallback(&CMusicView::OnListCallback, this);
  m_pList->SetMultiSelect(FALSE);
  m_pList->ShowScrollBars(TRUE, TRUE);
  m_pList->SetCellFitMode(-1, 1);
  m_pList->SetCellGaps(0, 0);
  m_pList->SetHorzExtent(300, FALSE);
  m_pList->SetItemCount(1, FALSE);
  m_pList->Relayout(0, TRUE);
  m_pList->SetHeaderCursors(::LoadCursor(nullptr, IDC_ARROW), LibraryCursor(IDCUR_MUSIC_DIVIDER, IDC_SIZEWE),
                            LibraryCursor(IDCUR_MUSIC_HIDDEN_COLUMN, IDC_SIZEWE));

  CClientDC dc(this);
  CString face;
  face.LoadString(IDS_UI_FONT_FACE);
  LOGFONTA lf = {};
  lf.lfHeight = -::MulDiv(9, dc.GetDeviceCaps(LOGPIXELSY), 72);
  lf.lfCharSet = DEFAULT_CHARSET;
  strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  m_rowFont.CreateFontIndirect(&lf);
  m_headerFont.CreateFontIndirect(&lf);

  CMusicListRow row;
  if (row.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), "", WS_CHILD,
                   CRect(0, 0, 200, 27), this, kTemplateId)) {
    row.SetNotifyWnd(GetParent() ? GetParent()->GetSafeHwnd() : nullptr);
    const COLORREF white = RGB(255, 255, 255), deep = RGB(0, 54, 99), light = RGB(126, 206, 244), black = 0;
    row.SetColors(CListRowCtrl::kLookNormal, white, deep);
    row.SetColors(CListRowCtrl::kLookPressed, light, black);
    row.SetColors(CListRowCtrl::kLookHover, light, black);
    row.SetColors(CListRowCtrl::kLookDisabled, white, deep);
    row.SetColors(CListRowCtrl::kLookCurrent, light, black);
    row.SetContentWidth(200);
    row.m_pOwnerView = this;
    row.SetFont(&m_rowFont);
    row.SetGrid(TRUE, RGB(157, 157, 157));
    row.SetDragEnable(TRUE);
    m_pList->SetHeaderCtrl(&row);
    row.DestroyWindow();
  }
  if (CMusicListHeader* h = m_pList->GetHeader()) {
    h->SetTextColor(RGB(0, 0, 0));
    h->SetFont(&m_headerFont);
    h->SetSeparator(TRUE, RGB(157, 157, 157));
  }
  for (int i = 0; i < kColumns; i++) {
    const ColumnDef& def = kColumnDefs[i];
    CMusicListColumn column = {def.id, "", ColumnWidth(i, CMGetProfileInt(kSection, def.widthKey, 0)),
                               TRUE, 1, def.format, 0};
    column.title.LoadString(def.titleId);
    m_pList->InsertColumn(i, &column, TRUE);
  }
  // Every column shows its arrow once sorted; none before.
  if (CMusicListHeader* h = m_pList->GetHeader())
    for (int i = 0; i < kColumns; i++) h->SetColumnSortDir(i, 0);
  m_pList->SetItemCount(0, FALSE);
}

void CMusicView::OnDraw(CDC*) {
  if (m_pList && m_pList->GetSafeHwnd()) m_pList->Redraw();
}

void CMusicView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_pList && m_pList->GetSafeHwnd())
    m_pList->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CMusicView::OnKeepBeforeExit(WPARAM wParam, LPARAM lParam) {
  if (!CMTLIsOwnMessage(WM_KEEP_BEFORE_EXIT, wParam, lParam)) return 0;
  StopMusic();
  KeepColumnWidths();
  return 0;
}

void CMusicView::KeepColumnWidths() {
  if (CMusicListHeader* h = m_pList ? m_pList->GetHeader() : nullptr)
    for (int i = 0; i < kColumns && i < h->GetColumnCount(); i++)
      CMWriteProfileInt(kSection, kColumnDefs[i].widthKey, h->GetColumnWidth(i));
}

void CMusicView::OnDestroy() {
  StopMusic();
  KeepColumnWidths();
  if (m_pList) {
    if (m_pList->GetSafeHwnd()) m_pList->DestroyWindow();
    delete m_pList;
    m_pList = nullptr;
  }
  CView::OnDestroy();
}

// ----- Document updates -----

void CMusicView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  if (lHint == VXHINT_REPAINT) Invalidate(FALSE);
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || !m_pList) return;
  if (lHint == VXHINT_ENABLE) {
    if (IsMusicMode()) {
      SortFromProfile(FALSE);
      ClearListSelection();
      m_pList->SetItemCount(pDoc->GetFileCount(), FALSE);
      m_pList->Relayout(0, TRUE);
      MSG msg;
      while (::PeekMessage(&msg, m_hWnd, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
      }
      return;
    }
    StopMusic();
    m_pList->SetItemCount(0, FALSE);
  }
  CSendCommandObject* pCmd = dynamic_cast<CSendCommandObject*>(pHint);
  if (!pCmd) return;
  switch (pCmd->GetID()) {
    case ID_VIEWMODE_LARGE_ICONS:
    case ID_VIEWMODE_SMALL_ICONS:
    case ID_VIEWMODE_FOCUS:
    case ID_VIEWMODE_MONTH:
    case ID_VIEWMODE_DAY:
      m_pList->SetItemCount(0, FALSE);
      Invalidate(FALSE);
      break;
  }
}

// ----- Rows -----

CThumbnail* CMusicView::GetThumbnail(int row) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return nullptr;
  CThumbnailPage* pPage = pDoc->GetPageList().GetPageAt(0);
  if (!pPage || pPage->GetGroupInfo().GetGroup() != 5) return nullptr;
  // The list counts the document's files; only the first page's are rows.
  if (!RowHasItem(row, pPage->GetCount())) return nullptr;
  return pPage->GetAt(row);
}

int CMusicView::GetIndex(LPCSTR pszPath) {
  if (!pszPath || !IsMusicMode()) return -1;
  for (int i = 0, n = RowCount(); i < n; i++) {
    CThumbnail* p = GetThumbnail(i);
    if (p && ShowsStop(p->GetFilePath(), pszPath, true)) return i;
  }
  return -1;
}

int CALLBACK CMusicView::OnListCallback(int row, int, int, CSkinCtrlWnd* pRowWnd, void* pContext) {
  CMusicView* self = static_cast<CMusicView*>(pContext);
  CMusicListRow* pRow = dynamic_cast<CMusicListRow*>(pRowWnd);
  if (!pRow || !self || !self->IsWindowVisible()) return 1;
  CBrowserDocument* pDoc = self->GetBrowserDocument();
  if (!pDoc || pDoc->GetFileCount() == 0) return 1;
  CThumbnail* pItem = self->GetThumbnail(row);
  if (!pItem) return 1;
  const CAudioTrackInfo* info = pItem->GetMusicInfo(0);
  DWORD high = 0, low = pItem->GetFileSize(&high);
  CFileSizeText size;
  size.Set(low, high);
  char sizeText[128];
  size.Format(sizeText, sizeof(sizeText));
  CString texts[kColumns] = {info ? info->GetTitle() : "", info ? info->GetTimeText() : "",
                             info ? info->GetFormatText() : "", sizeText};
  std::vector<CListRowCell> cells;
  for (int i = 0; i < kColumns; i++) cells.push_back({kColumnDefs[i].id, texts[i], 0, DT_LEFT, 0, 0, -1});
  pRow->SetSuppliedCells(cells);
  pRow->SetPlaying(ShowsStop(pItem->GetFilePath(), self->m_pPlayer->GetPath(), self->m_bPlaying != FALSE));
  pRow->SetColors(CListRowCtrl::kLookNormal, RowBackground(row), RGB(0, 54, 99));
  return 1;
}

// ----- Messages -----

void CMusicView::OnTimer(UINT_PTR id) {
  if (id == kEndTimer && m_pPlayer->GetState() == kAudioFinished) StopMusic();
}

LRESULT CMusicView::OnSort(WPARAM wParam, LPARAM lParam) {
  if (m_pList && m_pList->GetHeader()) Sort((int)wParam, OrderForClick((int)lParam), TRUE);
  return 0;
}

LRESULT CMusicView::OnListItemChange(WPARAM wParam, LPARAM) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return 0;
  pDoc->SelectAll(0, this);
  // Only the list's own vector; the pointer of a notice from elsewhere is not read.
  std::vector<int> sel;
  if (m_pList) m_pList->GetSelection(sel);
  if (wParam && !sel.empty())
    if (CThumbnail* p = GetThumbnail(sel.front())) pDoc->SelectItem(p, this);
  return 0;
}

LRESULT CMusicView::OnListItemLButtonDown(WPARAM wParam, LPARAM) {
  m_bDragArmed = TRUE;
  if (CBrowserDocument* pDoc = GetBrowserDocument()) {
    pDoc->SelectAll(0, this);
    if (CThumbnail* p = GetThumbnail((int)wParam)) pDoc->SelectItem(p, this);
  }
  return 0;
}

LRESULT CMusicView::OnListItemDClick(WPARAM wParam, LPARAM) {
  PlayMusic((int)wParam);
  return 0;
}

LRESULT CMusicView::OnListLButtonUp(WPARAM, LPARAM) {
  m_bDragArmed = FALSE;
  return 0;
}

LRESULT CMusicView::OnPlayBtn(WPARAM wParam, LPARAM) {
  int row = -1;
  if (m_pList) {
    // Only a row window of this list counts; the row object is not read otherwise.
    for (int i = 0; i < m_pList->GetVisibleCount(); i++)
      if ((WPARAM)m_pList->GetRowWnd(i) == wParam) {
        int first, last;
        m_pList->GetVisibleRange(&first, &last);
        row = first + i;
      }
    m_pList->SetFocus();
  }
  PlayMusic(row);
  return 0;
}

LRESULT CMusicView::OnStopBtn(WPARAM, LPARAM) {
  if (m_pList) m_pList->SetFocus();
  StopMusic();
  return 0;
}

LRESULT CMusicView::OnPreFolderChange(WPARAM, LPARAM) {
  if (m_pList) {
    m_pList->SetItemCount(0, FALSE);
    ClearListSelection();
    m_pList->Redraw();
  }
  return 0;
}

BOOL CMusicView::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5) {
    if (CWnd* pMain = AfxGetMainWnd()) pMain->SendMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, 0);
    return TRUE;
  }
  return CView::PreTranslateMessage(pMsg);
}
