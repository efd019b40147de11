#include "CalendarDayView.h"

#include <VxDocument.h>
#include <VxGUIDB.h>
#include <VxProperty.h>
#include <VxResourceIds.h>
#include <shlwapi.h>

#include <algorithm>

#include "CalendarShared.h"
#include "DragDrop.h"
#include "ImgButton.h"
#include "LabelEdit.h"
#include "MainWndMessages.h"
#include "OwnMessages.h"
#include "RecDateFinder.h"
#include "ThumbToolTip.h"
#include "MovieCtrl.h"
#include "ZoomWndController.h"
#include "TransInternal.h"

namespace {

const COLORREF kBackColor = RGB(121, 147, 165);
const COLORREF kLabelColor = RGB(0, 54, 99);
const COLORREF kSelectColor = RGB(255, 193, 59);
const SIZE kDecodeSize = {calday::kPicture, calday::kPicture};
const UINT_PTR kScrollTimer = 1;
const int kTipKinds[] = {0, 5, 3, 6, 4, 25};

enum { kMovie = 0, kText = 1, kFavourite = 2, kRaw = 3, kCheckOn = 6, kCheckOff = 7, kBar = 8, kDigit = 9 };
enum { kSeparator = 19, kBlank = 28, kAvchd = 29, kAvchdEdited = 30 };
const int kDatePitch = 27;  // the date bar's characters, 24 pixels wide each

}  // namespace

CBitmapResourceContainer& CCalendarDayView::Bitmaps() {
  static CBitmapResourceContainer s_bitmaps;
  if (s_bitmaps.IsEmpty()) {
    const UINT ids[] = {IDB_BADGE_MOVIE, IDB_BADGE_TEXT, IDB_BADGE_FAVORITE, IDB_BADGE_RAW, 452, 453, IDB_CHECK_ON,
                        IDB_CHECK_OFF, IDB_CAL_BAR};
    for (int i = 0; i < (int)(sizeof(ids) / sizeof(ids[0])); i++) s_bitmaps.Add(i, ids[i]);
    for (int k = 0; k < 10; k++) s_bitmaps.Add(kDigit + k, IDB_CAL_DIGIT_0 + k);
    s_bitmaps.Add(kSeparator, IDB_CAL_SEPARATOR);
    for (int k = 0; k < 8; k++) s_bitmaps.Add(20 + k, IDB_CAL_BUTTON_PRESSED + k);
    s_bitmaps.Add(kBlank, IDB_CAL_BLANK);
    s_bitmaps.Add(kAvchd, IDB_BADGE_AVCHD);
    s_bitmaps.Add(kAvchdEdited, IDB_BADGE_AVCHD_EDITED);
  }
  return s_bitmaps;
}

IMPLEMENT_DYNCREATE(CCalendarDayView, CView)

BEGIN_MESSAGE_MAP(CCalendarDayView, CView)
  ON_BN_CLICKED(IDC_CAL_MONTH_BUTTON, &CCalendarDayView::OnChangeMonthMode)
  ON_BN_CLICKED(IDC_CAL_BACK, &CCalendarDayView::OnBackBtn)
  ON_BN_CLICKED(IDC_CAL_FORWARD, &CCalendarDayView::OnForwardBtn)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
  ON_WM_VSCROLL()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_TIMER()
  ON_WM_CONTEXTMENU()
  ON_MESSAGE(WM_LABEL_EDIT_END, &CCalendarDayView::OnFileNameChange)
  ON_MESSAGE(WM_CALENDAR_GET_THUMBNAILS, &CCalendarDayView::OnGetThumbnail)
  ON_MESSAGE(WM_CALENDAR_DECODED, &CCalendarDayView::OnDecodeThumbnail)
  ON_MESSAGE(WM_BROWSER_RELOAD, &CCalendarDayView::OnReload)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CCalendarDayView::OnToolTipText)
END_MESSAGE_MAP()

CCalendarDayView::CCalendarDayView()
    : m_pMonth(NULL),
      m_pDayIndicator(NULL),
      m_pBack(NULL),
      m_pForward(NULL),
      m_bCtrl(FALSE),
      m_bShift(FALSE),
      m_nAnchor(0),
      m_nCurrent(0),
      m_pZoom(NULL),
      m_pDropSource(new CDropSource),
      m_pFinder(new CRecDateFinder),
      m_nFirstRow(0),
      m_current{0, 0, 0},
      m_earliest{0, 0, 0},
      m_latest{0, 0, 0},
      m_pEdit(NULL),
      m_bBand(FALSE),
      m_ptBandAnchor((LONG)0x80000000, (LONG)0x80000000),
      m_ptBandCurrent((LONG)0x80000000, (LONG)0x80000000),
      m_pRenameTarget(NULL),
      m_nBandFlags(0),
      m_bPressed(FALSE),
      m_ptPress(-1, -1),
      m_bDragAllowed(FALSE),
      m_bPending(FALSE),
      m_pendingInfo{},
      m_nPendingIndex(-1),
      m_nPendingFlags(0),
      m_ptPending(0, 0),
      m_nZoomMessage(::RegisterWindowMessageA("VX3D_ZOOMMODE_WND")) {
  Bitmaps();
}

CCalendarDayView::~CCalendarDayView() {
  delete m_pFinder;
  delete m_pDropSource;
  if (m_pZoom) {
    if (HWND h = m_pZoom->GetWindow()) ::SendMessageA(h, WM_CLOSE, 0, 0);
    delete m_pZoom;
  }
  if (m_pEdit) {
    if (m_pEdit->GetSafeHwnd()) m_pEdit->DestroyWindow();
    delete m_pEdit;
  }
  calview::DestroyButtons({m_pMonth, m_pDayIndicator, m_pBack, m_pForward});
}





int CCalendarDayView::IndexOf(CThumbnail* p) const {
  auto it = std::find(m_dayList.begin(), m_dayList.end(), p);
  return p && it != m_dayList.end() ? int(it - m_dayList.begin()) : -1;
}

BOOL CCalendarDayView::IsDayMode() const {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  return pDoc && pDoc->GetViewMode() == BROWSE_VIEW_DAY;
}

CImgButton* CCalendarDayView::GetButton(UINT nID) const {
  switch (nID) {
    case IDC_CAL_MONTH_BUTTON: return m_pMonth;
    case IDC_CAL_DAY_INDICATOR: return m_pDayIndicator;
    case IDC_CAL_BACK: return m_pBack;
    case IDC_CAL_FORWARD: return m_pForward;
    default: return NULL;
  }
}

LRESULT CCalendarDayView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == m_nZoomMessage && m_nZoomMessage) return OnZoomModeMessage(wParam, lParam);
  return CView::WindowProc(message, wParam, lParam);
}

// ----- Zoom window -----

void CCalendarDayView::ChangeZoomMode(CThumbnail* pItem) {
  delete m_pZoom;
  m_pZoom = new (std::nothrow) CZoomWndController();
  if (!m_pZoom) return;
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  CThumbnail* pTarget = pItem ? pItem : pDoc ? pDoc->GetLastSelectedItem() : NULL;
  if (!pTarget && !m_dayList.empty()) pTarget = m_dayList.front();
  if (!pTarget) {
    OnZoomModeMessage(15, 0);
    return;
  }
  CList<CThumbnail*, CThumbnail*> zoomable;
  for (CThumbnail* p : m_dayList)
    if (p->IsZoomPicture()) zoomable.AddTail(p);
  if (!zoomable.IsEmpty()) m_pZoom->AddItem(zoomable);
  HBITMAP hBackground = NULL;
  {
    CResourceChanger change;
    hBackground = ::LoadBitmapA(VxGetResourceLibrary(), MAKEINTRESOURCEA(IDB_ZOOM_BACKGROUND));
  }
  // The document holds the browser's movie player: the zoom window plays movies with it.
  CMovieCtrl* pMovie = pDoc ? static_cast<CMovieCtrl*>(pDoc->GetMoviePlayer()) : NULL;
  if (m_pZoom->Open(pTarget, this, hBackground, pMovie)) return;
  GuardedMessageBoxId(m_hWnd, IDS_BROWSER_ZOOM_FAILED, MB_ICONERROR);
  OnZoomModeMessage(15, 0);
}

LRESULT CCalendarDayView::OnZoomModeMessage(WPARAM wParam, LPARAM lParam) {
  if (!m_pZoom) return 1;
  CThumbnail* pCurrent = m_pZoom->m_items.GetCurrentItem();
  switch (wParam) {
    case 15: {
      UnselectAll();
      if (CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument))
        if (pCurrent) pDoc->SelectItem(pCurrent, this);
      m_pZoom->Destroy();
      delete m_pZoom;
      m_pZoom = NULL;
      Invalidate(FALSE);
      return 0;
    }
    case 17: return pCurrent ? pCurrent->GetMarkStatus(0) : 0;
    case 18:
      if (CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument))
        if (pCurrent) pDoc->SetMark(pCurrent, lParam >= 1 ? 1 : 0);
      return 1;
    case 20: return m_pZoom->HasPrevItem();
    case 21: return m_pZoom->HasNextItem();
    case 33: m_pZoom->ShowPrevGroup(); return 0;
    case 34: m_pZoom->ShowPrevItem(); return 0;
    case 35: m_pZoom->ShowNextItem(); return 0;
    case 36: m_pZoom->ShowNextGroup(); return 0;
    case 37: m_pZoom->ShowFirst(); return 0;
    default: return 0;
  }
}

// ----- Geometry -----

CRect CCalendarDayView::GetThumbnailAreaRect() const {
  CRect rc;
  GetClientRect(&rc);
  int bar = Bitmaps().GetHeight(kBar);
  return CRect(rc.left + 30, rc.top + bar + 45, rc.right - 30, rc.bottom - 91);
}

CRect CCalendarDayView::GetDragSelectAreaRect() const {
  CRect rc;
  GetClientRect(&rc);
  int bar = Bitmaps().GetHeight(kBar);
  return CRect(rc.left, rc.top + bar + 15, rc.right, rc.bottom - 61);
}

calday::Grid CCalendarDayView::GetRowColumn(int width, int height) const {
  CRect area = GetThumbnailAreaRect();
  return calday::GridOf(width ? width : area.Width(), height ? height : area.Height());
}

static bool IsContentFile(CThumbnail* p) {
  return lstrcmpiA(::PathFindExtensionA(p->GetFileName()), ".cont") == 0;
}

CString CCalendarDayView::LabelText(CThumbnail* p) {
  CString title;
  if (IsContentFile(p) && ReadContentTitle(p->GetFilePath(), &title) > 0) return title;
  return p->GetFileName();
}

BOOL CCalendarDayView::GetLabelRect(const ViewInfo& info, CRect* pRect) const {
  if (!info.pThumbnail) return FALSE;
  CString name = LabelText(info.pThumbnail);
  CClientDC dc(const_cast<CCalendarDayView*>(this));
  HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(dc.GetSafeHdc(), name, name.GetLength(), &size);
  ::SelectObject(dc.GetSafeHdc(), old);
  int cellWidth = info.rcCell.right - info.rcCell.left;
  int width = std::min<int>(size.cx, cellWidth);
  int left = info.rcCell.left + (cellWidth - width) / 2;
  pRect->SetRect(left, info.rcCell.bottom + 7, left + width, info.rcCell.bottom + 7 + size.cy);
  return TRUE;
}

BOOL CCalendarDayView::HitTestThumbnail(const ViewInfo& info, CPoint pt) const {
  CRect area = GetThumbnailAreaRect();
  if (!area.PtInRect(pt)) return FALSE;
  if (::PtInRect(&info.rcCell, pt)) return TRUE;
  CRect label;
  return GetLabelRect(info, &label) && label.PtInRect(pt);
}

CPoint CCalendarDayView::ClientToVirtual(CPoint pt) const {
  CRect area = GetThumbnailAreaRect();
  calday::Grid g = GetRowColumn();
  int rows = calday::VirtualRows((int)m_dayList.size(), g.columns);
  CPoint v(pt.x - area.left, m_nFirstRow * calday::kRowPitch + pt.y - area.top);
  v.x = std::min(std::max<int>(v.x, -30), g.columns * calday::kColumnPitch + 30);
  v.y = std::min(std::max<int>(v.y, -30), rows * calday::kRowPitch + 30);
  return v;
}

CPoint CCalendarDayView::VirtualToClient(CPoint pt) const {
  CRect area = GetThumbnailAreaRect();
  return CPoint(pt.x + area.left, pt.y - m_nFirstRow * calday::kRowPitch + area.top);
}

BOOL CCalendarDayView::IsChecked(int index) const {
  if (index < 0 || index >= (int)m_info.size() || !m_info[index].pThumbnail) return FALSE;
  return m_info[index].pThumbnail->GetMarkStatus(1) != 0;
}

// ----- Creation, layout and scrolling -----

void CCalendarDayView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  ModifyStyle(0, WS_CLIPCHILDREN);
  EnableToolTips(TRUE);
  if (!m_pMonth) {
    const calview::ButtonPlan plans[] = {
        {&m_pMonth, IDC_CAL_MONTH_BUTTON, IDB_CAL_BUTTON, IDB_CAL_BUTTON_PRESSED, IDB_CAL_BUTTON_FOCUS,
         IDB_CAL_BUTTON_DISABLED, IDS_CAL_MONTH},
        {&m_pDayIndicator, IDC_CAL_DAY_INDICATOR, IDB_CAL_BUTTON_PRESSED, IDB_CAL_BUTTON_PRESSED,
         IDB_CAL_BUTTON_PRESSED, IDB_CAL_BUTTON_PRESSED, IDS_CAL_DAY},
        {&m_pBack, IDC_CAL_BACK, IDB_CAL_PREV, IDB_CAL_PREV_PRESSED, IDB_CAL_PREV_FOCUS, IDB_CAL_PREV_DISABLED, 0},
        {&m_pForward, IDC_CAL_FORWARD, IDB_CAL_NEXT, IDB_CAL_NEXT_PRESSED, IDB_CAL_NEXT_FOCUS, IDB_CAL_NEXT_DISABLED,
         0},
    };
    calview::MakeButtons(this, plans, 4, WS_CLIPSIBLINGS | WS_TABSTOP);
    if (m_pMonth) {
      m_pMonth->SetWindowPos(NULL, 50, 15, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      CRect rc;
      m_pMonth->GetWindowRect(&rc);
      if (m_pDayIndicator)
        m_pDayIndicator->SetWindowPos(NULL, 50 + rc.Width(), 15, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_pDayIndicator) m_pDayIndicator->EnableWindow(FALSE);  // it marks the view shown
  }
  CRect rc;
  GetClientRect(&rc);
  OnSize(SIZE_RESTORED, rc.Width(), rc.Height());
  EnableButton();
}

void CCalendarDayView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_pBack && m_pBack->GetSafeHwnd())
    m_pBack->SetWindowPos(NULL, cx - 500, cy - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_pForward && m_pForward->GetSafeHwnd())
    m_pForward->SetWindowPos(NULL, cx - 130, cy - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowHideScrollBar();
  InitScrollInfo((int)m_dayList.size());
  calday::Grid g = GetRowColumn();
  CThumbnailPage::SetDecodeCount(g.rows * g.columns);
}

void CCalendarDayView::ShowHideScrollBar() {
  calday::Grid g = GetRowColumn();
  ShowScrollBar(SB_VERT, g.FullRows() * g.columns < (int)m_dayList.size());
}

void CCalendarDayView::InitScrollInfo(int nCount) {
  calday::Grid g = GetRowColumn();
  SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS};
  si.nMin = 0;
  si.nMax = calday::VirtualRows(nCount, g.columns);
  si.nPage = g.FullRows() + 1;
  si.nPos = 0;
  SetScrollInfo(SB_VERT, &si, TRUE);
  m_nFirstRow = 0;
}

void CCalendarDayView::SetFirstRow(int nRow) {
  calday::Grid g = GetRowColumn();
  m_nFirstRow = nRow;
  CThumbnailPage::SetDecodeStartPos(nRow * g.columns);
  CThumbnailPage::SetDecodeCount(g.rows * g.columns);
  SetScrollPos(SB_VERT, nRow, TRUE);
  Invalidate(FALSE);
}

void CCalendarDayView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  calday::Grid g = GetRowColumn();
  int minPos = 0, maxPos = 0;
  GetScrollRange(SB_VERT, &minPos, &maxPos);
  int to = calday::ScrollTo((int)nSBCode, (int)nPos, m_nFirstRow, g.FullRows(), maxPos);
  if (to >= 0) SetFirstRow(to);
}

BOOL CCalendarDayView::OnMouseWheel(UINT, short zDelta, CPoint) {
  OnVScroll(zDelta <= 0 ? SB_LINEDOWN : SB_LINEUP, 0, NULL);
  return TRUE;
}

void CCalendarDayView::ScrollToThumbnail(int nIndex) {
  calday::Grid g = GetRowColumn();
  int to = calday::FirstRowShowing(nIndex, g.columns, m_nFirstRow, g.FullRows());
  if (to != m_nFirstRow) SetFirstRow(to);
}

void CCalendarDayView::OnDestroy() {
  KillTimer(kScrollTimer);
  CView::OnDestroy();
}

// ----- Drawing -----

BOOL CCalendarDayView::OnEraseBkgnd(CDC*) { return TRUE; }

void CCalendarDayView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  if (rc.IsRectEmpty()) return;
  CDC first, second;
  CBitmap bmpFirst, bmpSecond;
  if (!first.CreateCompatibleDC(pDC) || !second.CreateCompatibleDC(pDC) ||
      !bmpFirst.CreateCompatibleBitmap(pDC, rc.Width(), rc.Height()) ||
      !bmpSecond.CreateCompatibleBitmap(pDC, rc.Width(), rc.Height()))
    return;
  CBitmap* pOldFirst = first.SelectObject(&bmpFirst);
  CBitmap* pOldSecond = second.SelectObject(&bmpSecond);
  first.FillSolidRect(&rc, kBackColor);
  second.FillSolidRect(&rc, kBackColor);
  CBitmapResourceContainer& bitmaps = Bitmaps();
  bitmaps.StretchDraw(first.GetSafeHdc(), kBar,
                      CRect(rc.left + 17, rc.top + 15, rc.left + 17 + rc.Width() - 34, rc.top + 15 + bitmaps.GetHeight(kBar)));
  DrawDay(&first);
  DrawFrame(&second);
  DrawImage(&second);
  DrawIcon(&second);
  DrawCheckBox(&second);
  DrawSelect(&second);
  // Cells and labels are cut off at the thumbnail area.
  CRect area = GetThumbnailAreaRect();
  if (!area.IsRectEmpty()) first.BitBlt(area.left, area.top, area.Width(), area.Height(), &second, area.left, area.top, SRCCOPY);
  DrawSelectArea(&first);
  pDC->BitBlt(0, 0, rc.Width(), rc.Height(), &first, 0, 0, SRCCOPY);
  first.SelectObject(pOldFirst);
  second.SelectObject(pOldSecond);
  for (CImgButton* p : {m_pMonth, m_pDayIndicator, m_pBack, m_pForward})
    if (p && p->GetSafeHwnd()) p->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CCalendarDayView::DrawDay(CDC* pDC) {
  calday::Day day = m_current.Valid() ? m_current : calday::Day{2038, 1, 1};
  bool dated = m_current.Valid() && day.year >= 1971 && day.year <= 2037;
  SYSTEMTIME st = {(WORD)day.year, (WORD)day.month, 0, (WORD)day.day, 0, 0, 0, 0};
  char text[64] = "";
  if (!::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, NULL, text, sizeof(text)))
    wsprintfA(text, "%04d/%02d/%02d", day.year, day.month, day.day);
  std::vector<int> chars = calday::DateBitmaps(text, dated);
  if (chars.empty() || !m_pBack || !m_pForward || !m_pBack->GetSafeHwnd() || !m_pForward->GetSafeHwnd()) return;
  CRect back, forward;
  m_pBack->GetWindowRect(&back);
  m_pForward->GetWindowRect(&forward);
  ScreenToClient(&back);
  ScreenToClient(&forward);
  CBitmapResourceContainer& bitmaps = Bitmaps();
  SIZE character = {bitmaps.GetWidth(chars[0]), bitmaps.GetHeight(chars[0])};
  POINT at = calday::DateOrigin(back, forward, (int)chars.size(), character, kDatePitch);
  for (size_t i = 0; i < chars.size(); i++) bitmaps.Draw(pDC->GetSafeHdc(), chars[i], at.x + kDatePitch * (int)i, at.y);
}

void CCalendarDayView::DrawFrame(CDC* pDC) {
  m_info.clear();
  if (m_dayList.empty()) return;
  calday::Grid g = GetRowColumn();
  int visible = std::min(g.rows * g.columns, (int)m_dayList.size() - m_nFirstRow * g.columns);
  CRect area = GetThumbnailAreaRect();
  for (int i = 0; i < visible; i++) {
    int row = i / g.columns, column = i % g.columns;
    ViewInfo info = {};
    info.rcCell = {area.left + column * calday::kColumnPitch, area.top + row * calday::kRowPitch, 0, 0};
    info.rcCell.right = info.rcCell.left + calday::kCell;
    info.rcCell.bottom = info.rcCell.top + calday::kCell;
    pDC->FillSolidRect(&info.rcCell, RGB(255, 255, 255));
    m_info.push_back(info);
  }
}

void CCalendarDayView::DrawImage(CDC* pDC) {
  calday::Grid g = GetRowColumn();
  size_t start = (size_t)(m_nFirstRow * g.columns);
  CThumbnailPage::SetDecodeStartPos((int)start);
  COLORREF oldText = pDC->SetTextColor(kLabelColor);
  pDC->SetBkColor(kBackColor);
  HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
  for (size_t k = 0; k < m_info.size() && start + k < m_dayList.size(); k++) {
    ViewInfo& info = m_info[k];
    CThumbnail* p = m_dayList[start + k];
    info.pThumbnail = p;
    if (p != m_pRenameTarget) {
      CRect label;
      if (GetLabelRect(info, &label)) {
        CString name = LabelText(p);
        pDC->DrawText(name, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      }
    }
    // The decoder writes the picture on its thread: read it under the item's lock.
    p->ThreadLock();
    if (BITMAPINFOHEADER* pbih = p->GetThumbnail(calday::kPicture, calday::kPicture)) {
      const BYTE* pBits = reinterpret_cast<const BYTE*>(pbih) + pbih->biSize;
      std::vector<BYTE> faded;
      if (p->IsCut() && pbih->biBitCount == 24) {
        // A cut item shows faded toward white.
        size_t cb = (size_t)(((pbih->biWidth * 3 + 3) & ~3) * std::abs(pbih->biHeight));
        faded.assign(pBits, pBits + cb);
        for (BYTE& b : faded) b = BYTE((b + 255) / 2);
        pBits = faded.data();
      }
      ::StretchDIBits(pDC->GetSafeHdc(), info.rcCell.left + calday::kPictureInset,
                      info.rcCell.top + calday::kPictureInset, calday::kPicture, calday::kPicture, 0, 0, pbih->biWidth,
                      std::abs(pbih->biHeight), pBits, reinterpret_cast<BITMAPINFO*>(pbih), DIB_RGB_COLORS, SRCCOPY);
    }
    p->ThreadUnlock();
  }
  CThumbnailPage::SetDecodeCount((int)m_info.size());
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
  pDC->SetTextColor(oldText);
}

// Whether the property library knows the AVCHD scene as edited.
static bool IsEditedScene(LPCSTR pszPath) {
  HPRPROPERTY h = ::PrInitGetPropertyString(pszPath, 0);
  if (!h) return false;
  int edited = 0;
  const bool ok = SUCCEEDED(::PrGetAVCHDEdit(h, &edited));
  ::PrExitGetPropertyString(h);
  return ok && edited != 0;
}

void CCalendarDayView::DrawIcon(CDC* pDC) {
  CBitmapResourceContainer& bitmaps = Bitmaps();
  HDC hdc = pDC->GetSafeHdc();
  for (const ViewInfo& info : m_info) {
    CThumbnail* p = info.pThumbnail;
    if (!p) continue;
    int x = info.rcCell.right - 26, y = info.rcCell.bottom - 26;
    const UINT kind = p->GetKindFlags();
    const bool edited = (kind & 0x1040) == 0x1040 && IsEditedScene(p->GetFilePath());
    const bool favourite = p->IsMyFavoriteFromDPOFFile() || p->IsMyFavoriteFromDB();
    const VXEXIFDATA* exif = p->GetExifData();
    for (const calday::Badge& b : calday::CellBadges(kind, edited, favourite, exif && exif->szTitle[0])) {
      x -= bitmaps.GetWidth(b.bitmap) + b.gap;
      bitmaps.Draw(hdc, b.bitmap, x, y);
    }
  }
}

void CCalendarDayView::DrawCheckBox(CDC* pDC) {
  CBitmapResourceContainer& bitmaps = Bitmaps();
  for (size_t i = 0; i < m_info.size(); i++) {
    int index = IsChecked((int)i) ? kCheckOn : kCheckOff;
    ViewInfo& info = m_info[i];
    SIZE size = bitmaps.GetSize(index);
    info.rcCheck = {info.rcCell.left + 5, info.rcCell.top + 5, info.rcCell.left + 5 + size.cx,
                    info.rcCell.top + 5 + size.cy};
    bitmaps.Draw(pDC->GetSafeHdc(), index, info.rcCheck.left, info.rcCheck.top);
  }
}

void CCalendarDayView::DrawSelect(CDC* pDC) {
  HBRUSH hBrush = ::CreateSolidBrush(kSelectColor);
  for (const ViewInfo& info : m_info) {
    if (!info.pThumbnail || !info.pThumbnail->IsSelect()) continue;
    RECT rc = info.rcCell;
    for (int k = 0; k < 3; k++) {
      ::FrameRect(pDC->GetSafeHdc(), &rc, hBrush);
      ::InflateRect(&rc, -1, -1);
    }
  }
  ::DeleteObject(hBrush);
}

void CCalendarDayView::DrawSelectArea(CDC* pDC) {
  if (!m_bBand) return;
  CRect band(VirtualToClient(m_ptBandAnchor), VirtualToClient(m_ptBandCurrent));
  band.NormalizeRect();
  band.IntersectRect(&band, GetDragSelectAreaRect());
  if (band.IsRectEmpty()) return;
  HPEN hPen = ::CreatePen(PS_DOT, 1, RGB(0, 0, 0));
  HGDIOBJ oldPen = ::SelectObject(pDC->GetSafeHdc(), hPen);
  HGDIOBJ oldBrush = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(HOLLOW_BRUSH));
  ::Rectangle(pDC->GetSafeHdc(), band.left, band.top, band.right, band.bottom);
  ::SelectObject(pDC->GetSafeHdc(), oldBrush);
  ::SelectObject(pDC->GetSafeHdc(), oldPen);
  ::DeleteObject(hPen);
}

// ----- The day's data -----


LRESULT CCalendarDayView::OnDecodeThumbnail(WPARAM, LPARAM) {
  Invalidate(FALSE);
  return 0;
}

int CCalendarDayView::FindData(const calday::Day* pDay) {
  m_dayList.clear();
  if (!calview::CalendarPage(m_pDocument) || !m_pFinder) return 0;
  calday::Day day = pDay ? *pDay : m_current;
  if (!day.Valid()) return 0;
  std::vector<CThumbnail*> page = calview::PageThumbnails(m_pDocument);
  return m_pFinder->Find(page.begin(), page.end(), &m_dayList, day.year, day.month, day.day);
}

void CCalendarDayView::GetMaxMinDate(calday::Day* pEarliest, calday::Day* pLatest) {
  std::vector<calmonth::DatedItem> items;
  for (CThumbnail* p : calview::PageThumbnails(m_pDocument)) {
    SYSTEMTIME st = {};
    BOOL dated = p->GetRecDate(&st);
    items.push_back({p->GetKindFlags(), dated ? (int)st.wYear : 0, dated ? (int)st.wMonth : 0, dated ? (int)st.wDay : 0});
  }
  calday::FindDays(items, pEarliest, pLatest);
}

int CCalendarDayView::Reload() {
  UnselectAll();
  m_nAnchor = m_nCurrent = 0;
  int count = FindData();
  if (count == 0) {
    m_current = {0, 0, 0};
    OnChangeMonthMode();
    return -1;
  }
  GetMaxMinDate(&m_earliest, &m_latest);
  bool inside = m_current.Valid() && m_earliest.Valid() && !(m_current < m_earliest) && !(m_latest < m_current);
  if (!inside) m_current = m_latest;
  InitScrollInfo(count);
  ShowHideScrollBar();
  RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  calday::Grid g = GetRowColumn();
  CThumbnailPage::DecodeStop();
  CThumbnailPage::SetDecodeTumbnailList(m_dayList);
  CThumbnailPage::SetDecodeStartPos(0);
  CThumbnailPage::SetDecodeCount(g.rows * g.columns);
  CThumbnailPage::DecodeStart(CSize(kDecodeSize), &calview::DecodeCallback, this);
  EnableButton();
  if (IsDayMode())
    if (HWND hMain = calview::MainWindow()) {
      ::SendNotifyMessageA(hMain, WM_STATUS_PROGRESS, (WPARAM)this, -1);
      ::SendNotifyMessageA(hMain, WM_STATUS_FILE_COUNT, (WPARAM)this, count);
    }
  return count;
}

LRESULT CCalendarDayView::OnReload(WPARAM, LPARAM) {
  Reload();
  return 0;
}

void CCalendarDayView::EnableButton() {
  calday::Buttons b = calday::ButtonStates(m_current, m_earliest, m_latest);
  if (m_pBack && m_pBack->GetSafeHwnd()) m_pBack->EnableWindow(b.back);
  if (m_pForward && m_pForward->GetSafeHwnd()) m_pForward->EnableWindow(b.forward);
}

LRESULT CCalendarDayView::OnGetThumbnail(WPARAM wParam, LPARAM lParam) {
  if (ownmsg::IsForeign(WM_CALENDAR_GET_THUMBNAILS, wParam, lParam)) return E_INVALIDARG;
  CList<CThumbnail*, CThumbnail*>* pList = reinterpret_cast<CList<CThumbnail*, CThumbnail*>*>(wParam);
  if (!pList) return E_INVALIDARG;
  pList->RemoveAll();
  for (CThumbnail* p : m_dayList) pList->AddTail(p);
  return 0;
}

// ----- Commands -----

void CCalendarDayView::StepDay(bool bForward) {
  if (m_current.Valid() && calview::CalendarPage(m_pDocument) && m_pFinder) {
    std::vector<CThumbnail*> page = calview::PageThumbnails(m_pDocument);
    int y = m_current.year, m = m_current.month, d = m_current.day;
    int found = bForward ? CRecDateFinder::FindNextDay(page, &y, &m, &d) : CRecDateFinder::FindPrevDay(page, &y, &m, &d);
    if (found) {
      m_current = {y, m, d};
      Reload();
    }
  }
  SetFocus();
}

void CCalendarDayView::OnBackBtn() { StepDay(false); }

void CCalendarDayView::OnForwardBtn() { StepDay(true); }

void CCalendarDayView::OnChangeMonthMode() {
  CString text;
  if (m_current.Valid()) text.Format("%04d/%02d/%02d", m_current.year, m_current.month, m_current.day);
  CSendCommandObject object(ID_VIEWMODE_MONTH, m_current.Valid() ? const_cast<LPSTR>((LPCSTR)text) : NULL);
  if (m_pDocument) m_pDocument->UpdateAllViews(this, VXHINT_COMMAND, &object);
}

void CCalendarDayView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  if (lHint == VXHINT_REPAINT) {
    Invalidate(FALSE);
    return;
  }
  CSendCommandObject* pCmd = DYNAMIC_DOWNCAST(CSendCommandObject, pHint);
  if (!pCmd) return;
  BOOL bDay = IsDayMode();
  if (lHint == VXHINT_CALENDAR) {
    if (bDay) {
      Reload();
      SetFocus();
    }
    return;
  }
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  switch (pCmd->GetID()) {
    case ID_ROTATE_RIGHT:
    case ID_ROTATE_LEFT:
    case ID_FILE_DELETE:
      if (bDay) Reload();
      break;
    case ID_FILE_RENAME:
      if (bDay && pDoc) RenameFile(pDoc->GetLastSelectedItem());
      break;
    case ID_EDIT_SELECT_ALL_FILES:
      if (bDay && pDoc) {
        UnselectAll();
        for (CThumbnail* p : m_dayList) pDoc->SelectItem(p, this);
      }
      break;
    case ID_EDIT_UNSELECT_ALL:
      if (bDay) UnselectAll();
      break;
    case ID_EDIT_INVERT_SELECTION:
      if (bDay && pDoc) pDoc->SelectReverse(this);
      break;
    case ID_VIEWMODE_LARGE_ICONS:
    case ID_VIEWMODE_SMALL_ICONS:
    case ID_VIEWMODE_FOCUS:
    case ID_VIEWMODE_MONTH:
      m_info.clear();
      break;
    case ID_VIEWMODE_ZOOM:
      if (bDay) ChangeZoomMode(NULL);
      break;
    case ID_EDIT_COPY:
      if (bDay) SelectFileToClipBoard(DROPEFFECT_COPY);
      break;
    case ID_EDIT_CUT:
      if (bDay && SelectFileToClipBoard(DROPEFFECT_MOVE))
        for (CThumbnail* p : calview::PageThumbnails(m_pDocument)) p->Cut(p->IsSelect() != FALSE);
      break;
    case ID_VIEWMODE_DAY: {
      calday::Day day = calday::ParseDayText(pCmd->GetParamText());
      m_current = day;
      Reload();
      SetFocus();
      break;
    }
    default: return;
  }
  Invalidate(FALSE);
}

int CCalendarDayView::SelectFileToClipBoard(UINT nEffect) {
  CWaitCursor wait;
  for (CThumbnail* p : m_dayList) p->Cut(false);
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  CExploreClipboardObject* pClip = pDoc ? pDoc->GetClipboardObject() : NULL;
  CStringList paths;
  if (!pClip || pDoc->GetSelectFilePath(paths) <= 0 || paths.IsEmpty()) return 0;
  if (pClip->Write(this, nEffect, CPoint(0, 0), paths) != S_OK) return 0;
  pClip->SetViewer(this);
  return 1;
}

// ----- Selection -----

void CCalendarDayView::UnselectAll() {
  if (CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument)) pDoc->SelectAll(FALSE, this);
}

void CCalendarDayView::SelectOnly(int nIndex) {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  if (!pDoc || nIndex < 0 || nIndex >= (int)m_dayList.size()) return;
  pDoc->SelectAll(FALSE, this);
  pDoc->SelectItem(m_dayList[nIndex], this);
}

void CCalendarDayView::ClickOnCheckBox(const ViewInfo& info) {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  CThumbnail* p = info.pThumbnail;
  if (!pDoc || !p) return;
  int state = p->GetMarkStatus(0) ? 0 : 1;
  if (p->IsSelect())
    pDoc->SetMarkSelectedAll(state);
  else
    pDoc->SetMark(p, state);
}

void CCalendarDayView::ClickOnThumbnail(const ViewInfo& info, int nIndex, UINT nFlags, CPoint pt) {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  calday::Grid g = GetRowColumn();
  int pos = m_nFirstRow * g.columns + nIndex;
  if (!pDoc || pos < 0 || pos >= (int)m_dayList.size()) return;
  CThumbnail* p = m_dayList[pos];
  if (nFlags & MK_CONTROL) {
    if (p->IsSelect())
      pDoc->UnSelectItem(p, this);
    else
      pDoc->SelectItem(p, this);
    m_nAnchor = m_nCurrent = pos;
  } else if (nFlags & MK_SHIFT) {
    m_nCurrent = pos;
    pDoc->SelectAll(FALSE, this);
    for (int i : calday::RangeSelect(std::min(m_nAnchor, (int)m_dayList.size() - 1), pos))
      pDoc->SelectItem(m_dayList[i], this);
  } else {
    CRect label;
    if (p->IsSelect() && GetLabelRect(info, &label) && label.PtInRect(pt)) m_pRenameTarget = p;
    SelectOnly(pos);
    m_nAnchor = m_nCurrent = pos;
  }
}

void CCalendarDayView::ChangeSelect(int nDelta) {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  if (!pDoc || m_dayList.empty()) return;
  int last = IndexOf(pDoc->GetLastSelectedItem());
  std::vector<int> order = calday::KeySelect(nDelta, ::GetKeyState(VK_SHIFT) < 0, (int)m_dayList.size(), last,
                                             &m_nAnchor, &m_nCurrent);
  pDoc->SelectAll(FALSE, this);
  for (int i : order) pDoc->SelectItem(m_dayList[i], this);
  ScrollToThumbnail(m_nCurrent);
}

void CCalendarDayView::AreaSelect() {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  calday::Grid g = GetRowColumn();
  if (!pDoc || g.columns <= 0) return;
  CRect band(m_ptBandAnchor, m_ptBandCurrent);
  band.NormalizeRect();
  for (size_t i = 0; i < m_dayList.size() && i < m_snapshot.size(); i++) {
    int row = (int)i / g.columns, column = (int)i % g.columns;
    CRect cell(column * calday::kColumnPitch, row * calday::kRowPitch, 0, 0);
    cell.right = cell.left + calday::kCell;
    cell.bottom = cell.top + calday::kCell;
    CRect meet;
    bool meets = meet.IntersectRect(&cell, &band) != FALSE;
    bool state = calday::BandState(m_snapshot[i], meets, m_nBandFlags);
    if ((m_nBandFlags & MK_SHIFT) && meets) m_snapshot[i] = false;
    if (state)
      pDoc->SelectItem(m_dayList[i], this);
    else
      pDoc->UnSelectItem(m_dayList[i], this);
  }
}

void CCalendarDayView::EndBand() {
  m_bBand = FALSE;
  m_ptBandAnchor = m_ptBandCurrent = CPoint((LONG)0x80000000, (LONG)0x80000000);
}

// ----- Mouse -----

void CCalendarDayView::OnLButtonDown(UINT nFlags, CPoint pt) {
  m_bPressed = TRUE;
  m_ptPress = pt;
  m_bPending = FALSE;
  EndBand();
  for (size_t i = 0; i < m_info.size(); i++) {
    const ViewInfo& info = m_info[i];
    if (::PtInRect(&info.rcCheck, pt)) {
      ClickOnCheckBox(info);
      Invalidate(FALSE);
      return;
    }
    if (!HitTestThumbnail(info, pt)) continue;
    if (info.pThumbnail && info.pThumbnail->IsSelect()) {
      m_bPending = TRUE;
      m_pendingInfo = info;
      m_nPendingIndex = (int)i;
      m_nPendingFlags = nFlags;
      m_ptPending = pt;
    } else {
      ClickOnThumbnail(info, (int)i, nFlags, pt);
      Invalidate(FALSE);
    }
    m_bDragAllowed = TRUE;
    return;
  }
  if (GetDragSelectAreaRect().PtInRect(pt)) {
    SetCapture();
    m_bBand = TRUE;
    m_ptBandAnchor = m_ptBandCurrent = ClientToVirtual(pt);
    SetTimer(kScrollTimer, 500, NULL);
    m_snapshot.clear();
    for (CThumbnail* p : m_dayList) m_snapshot.push_back(p->IsSelect() != FALSE);
  }
  m_nBandFlags = nFlags;
}

void CCalendarDayView::OnMouseMove(UINT nFlags, CPoint pt) {
  if (m_bBand) {
    m_ptBandCurrent = ClientToVirtual(pt);
    AreaSelect();
    Invalidate(FALSE);
  } else if (m_bPressed && m_bDragAllowed) {
    CRect still(m_ptPress.x - 2, m_ptPress.y - 2, m_ptPress.x + 2, m_ptPress.y + 2);
    if (!still.PtInRect(pt)) {
      m_bDragAllowed = FALSE;
      DragStart(pt);
    }
  }
  CView::OnMouseMove(nFlags, pt);
}

void CCalendarDayView::OnLButtonUp(UINT nFlags, CPoint pt) {
  m_ptPress = CPoint(-1, -1);
  if (GetCapture() == this) ::ReleaseCapture();
  if (m_bPressed) {
    m_bPressed = FALSE;
    m_bDragAllowed = FALSE;
    m_bCtrl = m_bShift = FALSE;
    if (m_bBand) {
      KillTimer(kScrollTimer);
      if (m_ptBandAnchor == m_ptBandCurrent) UnselectAll();
      EndBand();
      Invalidate(FALSE);
    } else {
      if (m_bPending) {
        ClickOnThumbnail(m_pendingInfo, m_nPendingIndex, m_nPendingFlags, m_ptPending);
        Invalidate(FALSE);
        m_bPending = FALSE;
      }
      if (m_pRenameTarget) RenameFile(m_pRenameTarget);
    }
  }
  CView::OnLButtonUp(nFlags, pt);
}

void CCalendarDayView::OnLButtonDblClk(UINT nFlags, CPoint pt) {
  for (const ViewInfo& info : m_info)
    if (HitTestThumbnail(info, pt) && info.pThumbnail) {
      ChangeZoomMode(info.pThumbnail);
      break;
    }
  CView::OnLButtonDblClk(nFlags, pt);
}

void CCalendarDayView::OnRButtonDown(UINT nFlags, CPoint pt) {
  bool onSelected = false;
  for (const ViewInfo& info : m_info)
    if (HitTestThumbnail(info, pt) && info.pThumbnail && info.pThumbnail->IsSelect()) onSelected = true;
  if (!onSelected) OnLButtonDown(nFlags, pt);
  CView::OnRButtonDown(nFlags, pt);
}

void CCalendarDayView::OnRButtonUp(UINT nFlags, CPoint pt) {
  OnLButtonUp(nFlags, pt);
  CView::OnRButtonUp(nFlags, pt);
}

void CCalendarDayView::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kScrollTimer) {
    CView::OnTimer(nIDEvent);
    return;
  }
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  CRect area = GetThumbnailAreaRect();
  if (pt.y >= area.top && pt.y <= area.bottom) return;
  OnVScroll(pt.y < area.top ? SB_LINEUP : SB_LINEDOWN, 0, NULL);
  OnMouseMove(0, pt);
}

void CCalendarDayView::OnContextMenu(CWnd*, CPoint pt) { InvokeBrowserContextMenu(this, pt); }

void CCalendarDayView::DragStart(CPoint) {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  const ViewInfo* pHit = NULL;
  for (const ViewInfo& info : m_info)
    if (HitTestThumbnail(info, m_ptPress) && info.pThumbnail) pHit = &info;
  if (!pDoc || !pHit || !m_pDropSource) return;
  CStringList files, folders;
  CVxGUITrans::DragListsOf(pDoc->GetSelectList(), &files, &folders);
  std::vector<std::string> fileList, folderList;
  for (POSITION pos = files.GetHeadPosition(); pos;) fileList.push_back((LPCSTR)files.GetNext(pos));
  for (POSITION pos = folders.GetHeadPosition(); pos;) folderList.push_back((LPCSTR)folders.GetNext(pos));
  if (fileList.empty()) return;
  // The press is over: the drag runs its own loop until the drop.
  m_bPressed = FALSE;
  m_bPending = FALSE;
  if (GetCapture() == this) ::ReleaseCapture();
  DragAcceptFiles(TRUE);
  RECT rcWindow;
  GetWindowRect(&rcWindow);
  m_pDropSource->m_noDrop.RemoveAll();
  m_pDropSource->m_noDrop.Add(rcWindow);
  m_pDropSource->m_hSource = m_hWnd;
  m_pDropSource->m_nState = CDropSource::kArmed;
  CBrowserDataSource source(fileList, folderList);
  source.OfferFormats();
  POINT cursor;
  ::GetCursorPos(&cursor);
  POINT cell = {pHit->rcCell.left, pHit->rcCell.top};
  ClientToScreen(&cell);
  POINT hot = {cursor.x - cell.x - 8, cursor.y - cell.y - 8};
  m_pDropSource->CreateDragImage(pHit->pThumbnail, &source, pDoc->GetDecodeImageSize(), hot, cursor);
  source.DoDragDrop(DROPEFFECT_COPY, NULL, m_pDropSource);
  m_pDropSource->EndDragImage();
  m_pDropSource->m_hSource = NULL;
  DragAcceptFiles(FALSE);
}

// ----- Keys -----

void CCalendarDayView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  m_bCtrl = ::GetKeyState(VK_CONTROL) < 0;
  m_bShift = ::GetKeyState(VK_SHIFT) < 0;
  calday::Grid g = GetRowColumn();
  switch (nChar) {
    case VK_PRIOR: OnVScroll(SB_PAGEUP, 0, NULL); break;
    case VK_NEXT: OnVScroll(SB_PAGEDOWN, 0, NULL); break;
    case VK_END:
      if (!m_dayList.empty()) {
        SelectOnly((int)m_dayList.size() - 1);
        int minPos = 0, maxPos = 0;
        GetScrollRange(SB_VERT, &minPos, &maxPos);
        OnVScroll(SB_THUMBPOSITION, maxPos, NULL);
      }
      break;
    case VK_HOME:
      if (!m_dayList.empty()) {
        SelectOnly(0);
        OnVScroll(SB_THUMBPOSITION, 0, NULL);
      }
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (m_bCtrl)
        StepDay(nChar == VK_RIGHT);
      else
        ChangeSelect(nChar == VK_RIGHT ? 1 : -1), Invalidate(FALSE);
      break;
    case VK_UP:
    case VK_DOWN:
      if (!m_bCtrl) ChangeSelect(nChar == VK_DOWN ? g.columns : -g.columns), Invalidate(FALSE);
      break;
    default: break;
  }
  CView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CCalendarDayView::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  m_bCtrl = m_bShift = FALSE;
  CView::OnKeyUp(nChar, nRepCnt, nFlags);
}

// ----- Renaming -----

BOOL CCalendarDayView::RenameFile(CThumbnail* pItem) {
  if (!pItem) return FALSE;
  int answer = CheckThumbnailFile(this, pItem);
  if (answer == 1) {
    if (HWND hMain = calview::MainWindow()) ::SendMessageA(hMain, WM_BROWSER_RELOAD, (WPARAM)this, 0);
    m_pRenameTarget = NULL;
    return FALSE;
  }
  if (answer == 2) return FALSE;
  int index = IndexOf(pItem);
  if (index < 0) return FALSE;
  ScrollToThumbnail(index);
  RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  const ViewInfo* pInfo = NULL;
  for (const ViewInfo& info : m_info)
    if (info.pThumbnail == pItem) pInfo = &info;
  CRect rc;
  if (!pInfo || !GetLabelRect(*pInfo, &rc)) {
    m_pRenameTarget = NULL;
    return FALSE;
  }
  rc.InflateRect(10, 0);
  CString path = pItem->GetFilePath(), name = pItem->GetFileName();
  int dot = name.ReverseFind('.');
  CString text = dot > 0 ? name.Left(dot) : name;
  if (IsContentFile(pItem)) text = LabelText(pItem);
  // A limit of 0 would let the box take any length: a path that leaves no room refuses.
  int limit = calday::RenameTextLimit(path.GetLength(), text.GetLength());
  if (limit == 0) {
    m_pRenameTarget = NULL;
    return FALSE;
  }
  if (!m_pEdit || !m_pEdit->GetSafeHwnd()) {
    delete m_pEdit;
    m_pEdit = new CLabelEdit;
    if (!m_pEdit->Create(this, text, limit, rc)) {
      delete m_pEdit;
      m_pEdit = NULL;
      m_pRenameTarget = NULL;
      return FALSE;
    }
    m_pEdit->SetFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
    m_pEdit->SetFocus();
  }
  m_pRenameTarget = pItem;
  return TRUE;
}

LRESULT CCalendarDayView::OnFileNameChange(WPARAM wParam, LPARAM lParam) {
  if (ownmsg::IsForeign(WM_LABEL_EDIT_END, wParam, lParam)) return 0;
  LPCSTR pszText = reinterpret_cast<LPCSTR>(wParam);
  CThumbnail* pItem = m_pRenameTarget;
  m_pRenameTarget = NULL;
  // The controller's rename checks the name and the folder and takes the photo database along.
  // A content file keeps its name: the text is its title.
  if (pszText && *pszText && pItem && IndexOf(pItem) >= 0) {
    if (IsContentFile(pItem))
      RenameContentTitle(pItem->GetFilePath(), pszText);
    else if (g_pTransController)
      g_pTransController->RenameThumbnail(pItem, calday::RenamedName(pszText, pItem->GetFileName()).c_str());
  }
  Invalidate(FALSE);
  return 0;
}

// ----- Tool tips -----

INT_PTR CCalendarDayView::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  for (size_t i = 0; i < m_info.size(); i++) {
    if (!HitTestThumbnail(m_info[i], point)) continue;
    if (pTI) {
      pTI->hwnd = m_hWnd;
      pTI->uId = (UINT_PTR)(i + 1);
      GetClientRect(&pTI->rect);
      pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return (INT_PTR)(i + 1);
  }
  return -1;
}

BOOL CCalendarDayView::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  UINT_PTR id = pNMHDR->idFrom;
  if (id < 1 || id > m_info.size() || !m_info[id - 1].pThumbnail) return FALSE;
  // The tip's lines: name, type, dimensions, date, size and title, from the property catalogue.
  class CDayTip : public CThumbToolTip {
   public:
    CDayTip() : CThumbToolTip(NULL, kTipKinds, 6) {}
    DWORD HitTest(CPoint) override { return (DWORD)-1; }
    CThumbnail* GetThumbnail(DWORD) override { return NULL; }
  };
  static const CDayTip s_builder;
  static CString s_strTip;  // handed over by pointer, so it outlives the notification
  if (FAILED(s_builder.BuildText(m_info[id - 1].pThumbnail, s_strTip))) s_strTip = m_info[id - 1].pThumbnail->GetFileName();
  ::SendMessageA(pNMHDR->hwndFrom, TTM_SETMAXTIPWIDTH, 0, 511);
  RECT margin = {4, 4, 4, 4};
  ::SendMessageA(pNMHDR->hwndFrom, TTM_SETMARGIN, 0, (LPARAM)&margin);
  reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->lpszText = const_cast<LPSTR>((LPCSTR)s_strTip);
  *pResult = 0;
  return TRUE;
}
