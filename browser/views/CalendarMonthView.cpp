#include "CalendarMonthView.h"

#include <VxDocument.h>
#include <VxGUIDB.h>
#include <VxResourceIds.h>

#include <algorithm>

#include "CalendarShared.h"
#include "ImgButton.h"
#include "MainWndMessages.h"
#include "RecDateFinder.h"
#include "TransInternal.h"

namespace {

const COLORREF kBackColor = RGB(121, 147, 165);
const COLORREF kSelectColor = RGB(255, 193, 59);
const COLORREF kDigitMask = RGB(255, 0, 255);
const SIZE kDecodeSize = {160, 160};

enum { kBar = 8, kCellFace = 7, kDayDigit = 10, kSundayDigit = 20, kYearDigit = 30, kMonthDigit = 40 };
enum { kBlankMonth = 58, kBlankYear = 59, kBitmapCount = 60 };

bool IsDatedYear(int year) { return year >= 1971 && year <= 2037; }

}  // namespace

int CCalendarMonthView::s_nLastMode = -1;

CBitmapResourceContainer& CCalendarMonthView::Bitmaps() {
  static CBitmapResourceContainer s_bitmaps;
  if (s_bitmaps.IsEmpty()) {
    for (int j = 0; j < 7; j++) s_bitmaps.Add(j, IDB_CAL_WEEKDAY_SUN + j);
    s_bitmaps.Add(kCellFace, IDB_CAL_CELL);
    s_bitmaps.Add(kBar, IDB_CAL_BAR);
    for (int k = 0; k < 10; k++) {
      s_bitmaps.Add(kDayDigit + k, IDB_CAL_DAY_DIGIT_0 + k);
      s_bitmaps.Add(kSundayDigit + k, IDB_CAL_SUNDAY_DIGIT_0 + k);
      s_bitmaps.Add(kYearDigit + k, IDB_CAL_DIGIT_0 + k);
      s_bitmaps.Add(kMonthDigit + k, IDB_CAL_MONTH_DIGIT_0 + k);
    }
    for (int k = 0; k < 8; k++) s_bitmaps.Add(50 + k, IDB_CAL_PREV_DISABLED + k);
    s_bitmaps.Add(kBlankMonth, IDB_CAL_MONTH_BLANK);
    s_bitmaps.Add(kBlankYear, IDB_CAL_BLANK);
  }
  return s_bitmaps;
}

IMPLEMENT_DYNCREATE(CCalendarMonthView, CView)

BEGIN_MESSAGE_MAP(CCalendarMonthView, CView)
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_SIZE()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_KEYDOWN()
  ON_WM_CONTEXTMENU()
  ON_BN_CLICKED(IDC_CAL_PREV_MONTH, &CCalendarMonthView::OnPrevMonth)
  ON_BN_CLICKED(IDC_CAL_NEXT_MONTH, &CCalendarMonthView::OnNextMonth)
  ON_BN_CLICKED(IDC_CAL_DAY_BUTTON, &CCalendarMonthView::OnChangeDayMode)
  ON_MESSAGE(WM_CALENDAR_DECODED, &CCalendarMonthView::OnDecodeThumbnail)
  ON_MESSAGE(WM_BROWSER_RELOAD, &CCalendarMonthView::OnReload)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CCalendarMonthView::OnToolTipText)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &CCalendarMonthView::OnToolTipText)
END_MESSAGE_MAP()

CCalendarMonthView::CCalendarMonthView()
    : m_geo(calmonth::LayOut(7 * 120 + 188, 6 * 80 + 158)),
      m_earliest{-1, -1},
      m_latest{2038, 1},
      m_shown{0, 0},
      m_pNext(NULL),
      m_pPrev(NULL),
      m_pDay(NULL),
      m_pMonth(NULL),
      m_bShowThumbnails(FALSE),
      m_nFirstWeekday(0),
      m_nSelected(-1),
      m_pFinder(NULL),
      m_hDigits(NULL) {
  m_cells.fill({false, 0, -1});
  CBitmapResourceContainer& bitmaps = Bitmaps();
  InitView(TRUE, FALSE);
  SIZE digit = bitmaps.GetSize(kDayDigit);
  if (digit.cx > 0 && digit.cy > 0) {
    m_hDigits = ::ImageList_Create(digit.cx, digit.cy, ILC_COLOR24 | ILC_MASK, 20, 0);
    for (int k = 0; k < 20; k++) {
      // ImageList_AddMasked turns the mask colour of the bitmap black: add a copy.
      HBITMAP hCopy = (HBITMAP)::CopyImage(bitmaps.GetBitmap(kDayDigit + k), IMAGE_BITMAP, 0, 0, 0);
      if (m_hDigits && hCopy) ::ImageList_AddMasked(m_hDigits, hCopy, kDigitMask);
      if (hCopy) ::DeleteObject(hCopy);
    }
  }
}

CCalendarMonthView::~CCalendarMonthView() {
  calview::DestroyButtons({m_pNext, m_pPrev, m_pDay, m_pMonth});
  delete m_pFinder;
  if (m_hDigits) ::ImageList_Destroy(m_hDigits);
}





CThumbnail* CCalendarMonthView::CellThumbnail(int i) const {
  if (i < 0 || i >= calmonth::kCells) return NULL;
  int item = m_cells[i].item;
  return item >= 0 && item < (int)m_monthList.size() ? m_monthList[item] : NULL;
}

CImgButton* CCalendarMonthView::GetButton(UINT nID) const {
  switch (nID) {
    case IDC_CAL_PREV_MONTH: return m_pPrev;
    case IDC_CAL_NEXT_MONTH: return m_pNext;
    case IDC_CAL_DAY_BUTTON: return m_pDay;
    case IDC_CAL_MONTH_INDICATOR: return m_pMonth;
    default: return NULL;
  }
}

void CCalendarMonthView::InitView(BOOL bReset, BOOL bRedraw) {
  m_bShowThumbnails = FALSE;
  if (bReset) {
    m_shown = {0, 0};
    m_nFirstWeekday = 0;
    m_earliest = {-1, -1};
    m_latest = {2038, 1};
    m_cells.fill({false, 0, -1});
    m_monthList.clear();
    m_nSelected = -1;
  }
  if (bRedraw && GetSafeHwnd()) RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CCalendarMonthView::GetItemRect(int i, RECT* pRect) const { *pRect = calmonth::CellRect(m_geo, i); }

int CCalendarMonthView::GetHitIndex(CPoint pt) const { return calmonth::HitIndex(m_geo, pt); }

int CCalendarMonthView::FindCount(int year, int month) {
  if (!m_pFinder) return 0;
  return m_pFinder->Count(calview::PageThumbnails(m_pDocument), year, month, -1);
}

// ----- Creation and layout -----

void CCalendarMonthView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  ModifyStyle(0, WS_CLIPCHILDREN);
  if (!m_pFinder) m_pFinder = new CRecDateFinder;
  if (!m_pPrev) {
    const calview::ButtonPlan plans[] = {
        {&m_pPrev, IDC_CAL_PREV_MONTH, IDB_CAL_PREV, IDB_CAL_PREV_PRESSED, IDB_CAL_PREV_FOCUS, IDB_CAL_PREV_DISABLED, 0},
        {&m_pNext, IDC_CAL_NEXT_MONTH, IDB_CAL_NEXT, IDB_CAL_NEXT_PRESSED, IDB_CAL_NEXT_FOCUS, IDB_CAL_NEXT_DISABLED, 0},
        {&m_pDay, IDC_CAL_DAY_BUTTON, IDB_CAL_BUTTON, IDB_CAL_BUTTON_PRESSED, IDB_CAL_BUTTON_FOCUS,
         IDB_CAL_BUTTON_DISABLED, IDS_CAL_DAY},
        {&m_pMonth, IDC_CAL_MONTH_INDICATOR, IDB_CAL_INDICATOR, IDB_CAL_INDICATOR, IDB_CAL_INDICATOR,
         IDB_CAL_INDICATOR, IDS_CAL_MONTH},
    };
    calview::MakeButtons(this, plans, 4, 0);
    if (m_pMonth) m_pMonth->EnableWindow(FALSE);  // it marks the view shown
  }
  CRect rc;
  GetClientRect(&rc);
  OnSize(SIZE_RESTORED, rc.Width(), rc.Height());
  EnableButton();
  EnableToolTips(TRUE);
}

void CCalendarMonthView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  m_geo = calmonth::LayOut(cx, cy);
  CRect rc(0, 0, cx, cy);
  auto place = [](CImgButton* p, int x, int y) {
    if (p && p->GetSafeHwnd()) p->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(m_pPrev, rc.right - 449, rc.bottom - 67);
  place(m_pNext, rc.right - 149, rc.bottom - 67);
  place(m_pMonth, 50, 15);
  if (m_pMonth && m_pMonth->GetSafeHwnd()) {
    CRect rcMonth;
    m_pMonth->GetWindowRect(&rcMonth);
    ScreenToClient(&rcMonth);
    place(m_pDay, rcMonth.right + 1, rcMonth.top);
  }
}

// ----- Drawing -----

BOOL CCalendarMonthView::OnEraseBkgnd(CDC*) { return TRUE; }

void CCalendarMonthView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  if (rc.IsRectEmpty()) return;
  CDC mem;
  CBitmap bmp;
  if (!mem.CreateCompatibleDC(pDC) || !bmp.CreateCompatibleBitmap(pDC, rc.Width(), rc.Height())) return;
  CBitmap* pOld = mem.SelectObject(&bmp);
  mem.FillSolidRect(&rc, kBackColor);
  DrawDefault(&mem);
  for (int i = 0; i < calmonth::kCells; i++) DrawItem(&mem, i);
  DrawYear(&mem, m_shown.month, m_shown.year);
  DrawSelect(&mem);
  pDC->BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
  mem.SelectObject(pOld);
  for (CImgButton* p : {m_pNext, m_pPrev, m_pDay, m_pMonth})
    if (p && p->GetSafeHwnd()) p->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CCalendarMonthView::DrawDefault(CDC* pDC) {
  CBitmapResourceContainer& bitmaps = Bitmaps();
  CRect rc;
  GetClientRect(&rc);
  bitmaps.StretchDraw(pDC->GetSafeHdc(), kBar,
                      CRect(rc.left + 17, rc.top + 15, rc.left + 17 + rc.Width() - 34, rc.top + 15 + bitmaps.GetHeight(kBar)));
  for (int j = 0; j < 7; j++) {
    RECT cell = calmonth::CellRect(m_geo, j);
    int x = (cell.left + cell.right) / 2 - bitmaps.GetWidth(j) / 2;
    bitmaps.Draw(pDC->GetSafeHdc(), j, x, m_geo.originY + 60);
  }
}

void CCalendarMonthView::DrawItem(CDC* pDC, int i) {
  CRect rc = calmonth::CellRect(m_geo, i);
  const calmonth::Cell& cell = m_cells[i];
  if (cell.hasData && m_bShowThumbnails && CellThumbnail(i))
    DrawThumbnail(pDC, i, rc);
  else
    Bitmaps().StretchDraw(pDC->GetSafeHdc(), kCellFace, rc);
  if (cell.day <= 0 || !m_hDigits) return;
  int cx = 0, cy = 0;
  ::ImageList_GetIconSize(m_hDigits, &cx, &cy);
  int style = i % 7 == 0 ? 10 : 0;
  int y = rc.bottom - 1 - cy;
  ::ImageList_Draw(m_hDigits, cell.day % 10 + style, pDC->GetSafeHdc(), rc.right - 1 - cx, y, ILD_TRANSPARENT);
  if (cell.day >= 10)
    ::ImageList_Draw(m_hDigits, cell.day / 10 % 10 + style, pDC->GetSafeHdc(), rc.right - 2 * cx + 2, y,
                     ILD_TRANSPARENT);
}

void CCalendarMonthView::DrawThumbnail(CDC* pDC, int i, const CRect& rc) {
  CThumbnail* p = CellThumbnail(i);
  if (!p) return;
  int cx = m_geo.cx, cy = m_geo.cy;
  // The decoder writes the picture on its thread: read it under the item's lock.
  p->ThreadLock();
  if (p->ScaleImage(cx, cy, cx, cy) == S_OK) {
    if (BITMAPINFOHEADER* pbih = p->GetThumbnail(cx, cy)) {
      const BYTE* pBits = reinterpret_cast<const BYTE*>(pbih) + pbih->biSize;
      ::StretchDIBits(pDC->GetSafeHdc(), rc.left, rc.top, cx, cy, 0, 0, pbih->biWidth, std::abs(pbih->biHeight),
                      pBits, reinterpret_cast<BITMAPINFO*>(pbih), DIB_RGB_COLORS, SRCCOPY);
    }
  }
  p->ThreadUnlock();
}

void CCalendarMonthView::DrawSelect(CDC* pDC) {
  if (m_nSelected < 0 || m_nSelected >= calmonth::kCells || !m_bShowThumbnails) return;
  RECT rc = calmonth::CellRect(m_geo, m_nSelected);
  HBRUSH hBrush = ::CreateSolidBrush(kSelectColor);
  for (int k = 0; k < 3; k++) {
    ::FrameRect(pDC->GetSafeHdc(), &rc, hBrush);
    ::InflateRect(&rc, 1, 1);
  }
  ::DeleteObject(hBrush);
}

void CCalendarMonthView::DrawYear(CDC* pDC, int month, int year) {
  CBitmapResourceContainer& bitmaps = Bitmaps();
  HDC hdc = pDC->GetSafeHdc();
  CRect rc;
  GetClientRect(&rc);
  int w = bitmaps.GetWidth(kYearDigit), h = bitmaps.GetHeight(kYearDigit);
  int y = rc.bottom - h - 20;
  bool dated = IsDatedYear(year) && month >= 1 && month <= 12;
  int value = year;
  for (int k = 0; k < 4; k++, value /= 10)
    bitmaps.Draw(hdc, dated ? kYearDigit + value % 10 : kBlankYear, rc.right - 270 - k * w, y);
  int mw = bitmaps.GetWidth(kMonthDigit);
  if (!dated) {
    bitmaps.Draw(hdc, kBlankMonth, rc.right - 200, y);
    bitmaps.Draw(hdc, kBlankMonth, rc.right - 200 - mw, y);
    return;
  }
  bitmaps.Draw(hdc, kMonthDigit + month % 10, rc.right - 200, y);
  if (month >= 10) bitmaps.Draw(hdc, kMonthDigit + month / 10, rc.right - 200 - mw, y);
}

// ----- The month's data -----


LRESULT CCalendarMonthView::OnDecodeThumbnail(WPARAM, LPARAM) {
  Invalidate(FALSE);
  return 0;
}

int CCalendarMonthView::FindData() {
  m_monthList.clear();
  if (m_shown.year < 1 || !calview::CalendarPage(m_pDocument) || !m_pFinder) {
    if (m_shown.year == 0) {
      m_cells.fill({false, 0, -1});
      m_nFirstWeekday = 0;
    }
    return 0;
  }
  std::vector<CThumbnail*> page = calview::PageThumbnails(m_pDocument);
  int count = m_pFinder->Find(page.begin(), page.end(), &m_monthList, m_shown.year, m_shown.month, -1);
  if (!m_monthList.empty()) {
    CThumbnailPage::DecodeStop();
    CThumbnailPage::ClearDecodeThumbnailList();
    CThumbnailPage::SetDecodeTumbnailList(m_monthList);
    CThumbnailPage::SetDecodeStartPos(0);
    CThumbnailPage::SetDecodeCount((int)m_monthList.size());
    CThumbnailPage::DecodeStart(CSize(kDecodeSize), &calview::DecodeCallback, this);
  }
  InitCalendarInfo();
  EnableButton();
  return count;
}

void CCalendarMonthView::InitCalendarInfo() {
  std::vector<int> days;
  for (CThumbnail* p : m_monthList) {
    SYSTEMTIME st = {};
    days.push_back(p && p->GetRecDate(&st) ? st.wDay : 0);
  }
  m_cells = calmonth::FillCells(m_shown.year, m_shown.month, days, &m_nFirstWeekday);
}

void CCalendarMonthView::InitDate(calmonth::Month* pShown, calmonth::Month* pEarliest, calmonth::Month* pLatest) {
  if (!calview::CalendarPage(m_pDocument)) return;
  std::vector<calmonth::DatedItem> items;
  for (CThumbnail* p : calview::PageThumbnails(m_pDocument)) {
    SYSTEMTIME st = {};
    BOOL dated = p->GetRecDate(&st);
    items.push_back({p->GetKindFlags(), dated ? (int)st.wYear : 0, dated ? (int)st.wMonth : 0, dated ? (int)st.wDay : 0});
  }
  calmonth::Month shown, earliest, latest;
  calmonth::FindMonths(items, &shown, &earliest, &latest);
  if (pShown) *pShown = shown;
  if (pEarliest) *pEarliest = earliest;
  if (pLatest) *pLatest = latest;
}

int CCalendarMonthView::FirstFindAndSelect(LPCSTR pszText) {
  int year = 0, month = 0, day = 1;
  bool bText = calmonth::ParseDateText(pszText, &year, &month, &day);
  if (bText) m_shown = {year, month};
  int count = FindData();
  int target = calmonth::kCells - 1;
  if (count == 0) {
    // The month found instead is the one whose files the status bar counts.
    InitDate(&m_shown, &m_earliest, &m_latest);
    count = FindData();
  } else if (bText) {
    target = m_nFirstWeekday + day - 1;
  }
  m_nSelected = calmonth::CorrectSelect(target, m_shown.year, m_cells);
  Select(m_nSelected);
  return count;
}

void CCalendarMonthView::Select(int i) {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  if (!pDoc) return;
  pDoc->SelectAll(FALSE);
  if (CThumbnail* p = CellThumbnail(i)) pDoc->SelectItem(p, this);
}

void CCalendarMonthView::Reload() {
  int count = FindData();
  if (count == 0) {
    InitDate(&m_shown, &m_earliest, &m_latest);
    count = FindData();
  }
  m_nSelected = calmonth::CorrectSelect(m_nSelected, m_shown.year, m_cells);
  Select(m_nSelected);
  m_bShowThumbnails = TRUE;
  Invalidate(FALSE);
  SetFileCountToStatusBar(count);
}

LRESULT CCalendarMonthView::OnReload(WPARAM, LPARAM lParam) {
  if (lParam == 1) return 0;
  InitDate(NULL, &m_earliest, &m_latest);
  Reload();
  return 0;
}

void CCalendarMonthView::SetFileCountToStatusBar(int nCount) {
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  if (!pDoc || pDoc->GetViewMode() != BROWSE_VIEW_MONTH) return;
  if (HWND hMain = calview::MainWindow()) {
    ::SendNotifyMessageA(hMain, WM_STATUS_PROGRESS, (WPARAM)this, -1);
    ::SendNotifyMessageA(hMain, WM_STATUS_FILE_COUNT, (WPARAM)this, nCount);
  }
}

void CCalendarMonthView::EnableButton() {
  calmonth::Buttons b = calmonth::ButtonStates(m_shown, m_earliest, m_latest, m_cells);
  if (m_pNext && m_pNext->GetSafeHwnd()) m_pNext->EnableWindow(b.next);
  if (m_pPrev && m_pPrev->GetSafeHwnd()) m_pPrev->EnableWindow(b.previous);
  if (m_pDay && m_pDay->GetSafeHwnd()) m_pDay->EnableWindow(b.day);
}

int CCalendarMonthView::CheckFiles(const std::vector<CThumbnail*>& items) {
  for (CThumbnail* p : items) {
    int answer = CheckThumbnailFile(this, p);
    if (answer == 1) {
      if (HWND hMain = calview::MainWindow()) ::SendMessageA(hMain, WM_BROWSER_RELOAD, (WPARAM)this, 0);
      return 1;
    }
    if (answer == 2) return 2;
  }
  return 0;
}

// ----- Commands -----

void CCalendarMonthView::StepMonth(bool bForward) {
  CWaitCursor wait;
  std::vector<CThumbnail*> page = calview::PageThumbnails(m_pDocument);
  int last = 0;
  auto count = [&](int year, int month) { return m_pFinder ? m_pFinder->Count(page, year, month, -1) : 0; };
  m_shown = calmonth::StepMonth(m_shown, bForward, count, &last);
  FindData();
  m_nSelected = calmonth::CorrectSelect(calmonth::kCells - 1, m_shown.year, m_cells);
  Select(m_nSelected);
  Invalidate(FALSE);
  SetFocus();
  SetFileCountToStatusBar(last);
}

void CCalendarMonthView::OnPrevMonth() { StepMonth(false); }

void CCalendarMonthView::OnNextMonth() { StepMonth(true); }

void CCalendarMonthView::OnChangeDayMode() {
  if (m_nSelected < 0 || m_nSelected >= calmonth::kCells || !calview::CalendarPage(m_pDocument) || !m_pFinder) return;
  int day = m_cells[m_nSelected].day > 0 ? m_cells[m_nSelected].day : 1;
  std::vector<CThumbnail*> page = calview::PageThumbnails(m_pDocument), items;
  m_pFinder->Find(page.begin(), page.end(), &items, m_shown.year, m_shown.month, day);
  if (CheckFiles(items) != 0) return;
  CString text;
  text.Format("%04d/%02d/%02d", m_shown.year, m_shown.month, day);
  CSendCommandObject object(ID_VIEWMODE_DAY, const_cast<LPSTR>((LPCSTR)text));
  if (m_pDocument) m_pDocument->UpdateAllViews(NULL, VXHINT_COMMAND, &object);
}

void CCalendarMonthView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  CSendCommandObject* pCmd = DYNAMIC_DOWNCAST(CSendCommandObject, pHint);
  if (!pCmd) return;
  if (lHint == VXHINT_CALENDAR) {
    InitView(TRUE, FALSE);
    InitDate(&m_shown, &m_earliest, &m_latest);
    Reload();
    SetFocus();
  }
  UINT nID = pCmd->GetID();
  CBrowserDocument* pDoc = calview::BrowserDocument(m_pDocument);
  if (nID == ID_FILE_DELETE) {
    if (pDoc && pDoc->GetViewMode() == BROWSE_VIEW_MONTH) {
      InitView(TRUE, FALSE);
      InitDate(NULL, &m_earliest, &m_latest);
      Reload();
    }
    return;
  }
  if (!CSendCommandObject::IsViewModeID(nID)) return;
  if (!calmonth::ModeHintShows((int)pCmd->GetValue(), &s_nLastMode)) return;
  InitView(TRUE, FALSE);
  InitDate(NULL, &m_earliest, &m_latest);
  int count = FirstFindAndSelect(pCmd->GetParamText());
  for (CThumbnail* p : m_monthList)
    if (CheckThumbnailFile(this, p) == 1) {
      if (HWND hMain = calview::MainWindow()) ::SendMessageA(hMain, WM_BROWSER_RELOAD, (WPARAM)this, 0);
      return;
    }
  m_bShowThumbnails = TRUE;
  Invalidate(FALSE);
  SetFocus();
  SetFileCountToStatusBar(count);
}

// ----- Mouse and keys -----

void CCalendarMonthView::OnLButtonDown(UINT nFlags, CPoint pt) {
  if (::PtInRect(&m_geo.grid, pt) || pt.x == m_geo.grid.right || pt.y == m_geo.grid.bottom) {
    int i = GetHitIndex(pt);
    if (i >= 0 && m_cells[i].hasData && i != m_nSelected) {
      m_nSelected = i;
      Select(i);
      Invalidate(FALSE);
    }
  }
  CView::OnLButtonDown(nFlags, pt);
}

void CCalendarMonthView::OnLButtonDblClk(UINT nFlags, CPoint pt) {
  int i = GetHitIndex(pt);
  if (i >= 0 && m_cells[i].hasData) OnChangeDayMode();
  CView::OnLButtonDblClk(nFlags, pt);
}

void CCalendarMonthView::StepSelection(int nStep) {
  int i = calmonth::StepSelect(m_nSelected, nStep, m_cells);
  if (i < 0) return;
  m_nSelected = i;
  Select(i);
  Invalidate(FALSE);
}

void CCalendarMonthView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
  auto usable = [](CImgButton* p) { return p && p->GetSafeHwnd() && p->IsWindowEnabled(); };
  switch (nChar) {
    case VK_END: {
      // From past either end, so the end cell itself is found.
      int saved = m_nSelected;
      m_nSelected = calmonth::kCells;
      StepSelection(-1);
      if (m_nSelected == calmonth::kCells) m_nSelected = saved;
      return;
    }
    case VK_HOME: {
      int saved = m_nSelected;
      m_nSelected = -1;
      StepSelection(1);
      if (m_nSelected == -1) m_nSelected = saved;
      return;
    }
    case VK_LEFT:
      if (ctrl) {
        if (usable(m_pPrev)) OnPrevMonth();
      } else if (!shift) {
        StepSelection(-1);
      }
      return;
    case VK_RIGHT:
      if (ctrl) {
        if (usable(m_pNext)) OnNextMonth();
      } else if (!shift) {
        StepSelection(1);
      }
      return;
    case VK_UP:
    case VK_DOWN:
      if (!ctrl && !shift) StepSelection(nChar == VK_UP ? -7 : 7);
      return;
    default: CView::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

void CCalendarMonthView::OnContextMenu(CWnd*, CPoint pt) { InvokeBrowserContextMenu(this, pt); }

// ----- Tool tips -----

INT_PTR CCalendarMonthView::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  for (int i = 0; i < calmonth::kCells; i++) {
    RECT rc = calmonth::CellRect(m_geo, i);
    if (!m_cells[i].hasData || !::PtInRect(&rc, point)) continue;
    if (pTI) {
      pTI->hwnd = m_hWnd;
      pTI->uId = (UINT_PTR)i;
      GetClientRect(&pTI->rect);
      pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return i;
  }
  return -1;
}

BOOL CCalendarMonthView::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  if (pNMHDR->hwndFrom == NULL || !calview::CalendarPage(m_pDocument) || !m_pFinder) return FALSE;
  UINT_PTR i = pNMHDR->idFrom;
  if (i >= (UINT_PTR)calmonth::kCells) return FALSE;
  static CString s_strTip;  // handed over by pointer, so it outlives the notification
  s_strTip.Empty();
  int day = m_cells[i].day > 0 ? m_cells[i].day : 1;
  int count = m_pFinder->Count(calview::PageThumbnails(m_pDocument), m_shown.year, m_shown.month, day);
  if (count > 0) s_strTip = CResourceLoader().Format(IDS_CAL_TIP_COUNT, count);
  if (pNMHDR->code == TTN_NEEDTEXTW) {
    static WCHAR s_wide[256];
    ::MultiByteToWideChar(CP_ACP, 0, s_strTip, -1, s_wide, 256);
    reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->lpszText = s_wide;
  } else {
    reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->lpszText = const_cast<LPSTR>((LPCSTR)s_strTip);
  }
  *pResult = 0;
  return TRUE;
}
