#include "BrowserBaseView.h"

#include <MainWndMessages.h>
#include <OwnMessages.h>
#include <VxResourceIds.h>

#include "CalendarViewLink.h"
#include "MusicView.h"
#include "TransInternal.h"
#include "ViewModeRules.h"

// Stands in for a calendar view whose class is not in the library: the base view's four
// windows then still exist and the mode switch works, showing an empty pane.
class CCalendarStandInView : public CView {
  DECLARE_DYNCREATE(CCalendarStandInView)
 protected:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(122, 142, 156));
  }
};
IMPLEMENT_DYNCREATE(CCalendarStandInView, CView)

// The wait notice while the calendar page is built: it paints its own text.
class CCalendarWaitDlg : public CDialog {
 public:
  CString m_strText;

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.SetBkMode(TRANSPARENT);
    CFont* pOld = dc.SelectObject(GetFont());
    dc.DrawText(m_strText, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (pOld) dc.SelectObject(pOld);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCalendarWaitDlg, CDialog)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// Collects every picture and movie of the folder's pages into the calendar page.
class CCalendarCollector : public CVxThread {
 public:
  CCalendarCollector(CBrowserBaseView* pView, CThumbnailPageList* pPages, CThumbnailPage* pCalendar)
      : CVxThread(NULL), m_pView(pView), m_pPages(pPages), m_pCalendar(pCalendar) {}

 protected:
  DWORD Run() override {
    volatile LONG* pCancel = CBrowserBaseView::GetCancelFlag();
    ::InterlockedExchange(pCancel, 0);
    Collect(pCancel);
    ::InterlockedExchange(&m_pView->m_lCollecting, 0);
    return 0;
  }

 private:
  void Collect(volatile LONG* pCancel) {
    if (!m_pPages || m_pPages->IsEmpty()) return;
    CCalendarCollectRule rule;
    for (POSITION pos = m_pPages->GetHeadPosition(); pos && !*pCancel;) {
      CThumbnailPage* pPage = m_pPages->GetNext(pos);
      if (pPage == m_pCalendar) continue;
      for (int i = 0; i < pPage->GetCount() && !*pCancel; ++i) {
        CThumbnail* pItem = pPage->GetAt(i);
        if (!pItem || !rule.Take(pItem->GetKindFlags(), pItem->IsFolder(), pItem->GetFilePath())) continue;
        CThumbnail* pCopy = new CThumbnail(*pItem);
        if (m_pCalendar->Add(pCopy) == 0)
          m_pView->m_owned.AddTail(pCopy);
        else
          delete pCopy;
      }
    }
    if (!*pCancel) m_pCalendar->Sort("td", true);
  }

  CBrowserBaseView* m_pView;
  CThumbnailPageList* m_pPages;
  CThumbnailPage* m_pCalendar;
};

int CBrowserBaseView::s_nCurrentCode = -1;
volatile LONG CBrowserBaseView::s_lCancel = 0;

IMPLEMENT_DYNCREATE(CBrowserBaseView, CView)

BEGIN_MESSAGE_MAP(CBrowserBaseView, CView)
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_KEEP_BEFORE_EXIT, &CBrowserBaseView::OnKeepBeforeExit)
  ON_WM_ERASEBKGND()
  ON_MESSAGE(WM_BROWSER_RELOAD, &CBrowserBaseView::OnReload)
  ON_MESSAGE(WM_CALENDAR_GET_THUMBNAILS, &CBrowserBaseView::OnGetThumbnails)
  ON_MESSAGE(WM_BROWSER_BEFORE_FOLDER_CHANGE, &CBrowserBaseView::OnPreFolderChange)
  ON_MESSAGE(WM_BROWSER_MUSIC_STOP, &CBrowserBaseView::OnMusicStop)
END_MESSAGE_MAP()

CBrowserBaseView::CBrowserBaseView()
    : m_pMusicView(NULL),
      m_pDayView(NULL),
      m_pMonthView(NULL),
      m_pThumbnailSide(NULL),
      m_lCollecting(0),
      m_bReloadAfterBuild(FALSE),
      m_bCsReady(FALSE) {}

CBrowserBaseView::~CBrowserBaseView() {
  while (!m_owned.IsEmpty()) delete m_owned.RemoveHead();
}

CBrowserDocument* CBrowserBaseView::GetBrowserDocument() const {
  CVxDocument* pDoc = dynamic_cast<CVxDocument*>(m_pDocument);
  return pDoc ? pDoc->GetBrowser() : NULL;
}

HWND CBrowserBaseView::GetMainWindow() const {
  CWnd* pMain = AfxGetMainWnd();
  if (pMain && pMain->GetSafeHwnd()) return pMain->GetSafeHwnd();
  return g_pTransController ? g_pTransController->GetManager() : NULL;
}

static BOOL IsShownWindow(CWnd* pWnd) { return pWnd && ::IsWindow(pWnd->m_hWnd) && pWnd->IsWindowVisible(); }
static BOOL IsLiveWindow(CWnd* pWnd) { return pWnd && ::IsWindow(pWnd->m_hWnd); }

CWnd* CBrowserBaseView::CreateSibling(CRuntimeClass* pClass, UINT nID, DWORD dwStyle) {
  if (!pClass) return NULL;
  CWnd* pWnd = static_cast<CWnd*>(pClass->CreateObject());
  if (!pWnd) return NULL;
  CCreateContext context;
  context.m_pCurrentDoc = m_pDocument;
  if (!pWnd->Create(NULL, NULL, dwStyle, CRect(0, 0, 100, 100), this, nID, &context)) return NULL;  // deletes itself
  return pWnd;
}

void CBrowserBaseView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  if (!m_bCsReady) {
    ::InitializeCriticalSection(&m_cs);
    m_bCsReady = TRUE;
  }
  m_pThumbnailSide = GetWindow(GW_CHILD);
  if (!m_pThumbnailSide) return;
  CRect rc;
  GetClientRect(&rc);
  m_pThumbnailSide->MoveWindow(0, 0, rc.Width(), rc.Height());
  if (m_pMonthView) return;  // a second initial update (a new document) keeps the views
  CRuntimeClass* pMonth = CRuntimeClass::FromName(VXCLASS_MONTH_VIEW);
  CRuntimeClass* pDay = CRuntimeClass::FromName(VXCLASS_DAY_VIEW);
  m_pMonthView = CreateSibling(pMonth ? pMonth : RUNTIME_CLASS(CCalendarStandInView), 2, WS_CHILD);
  if (m_pMonthView) m_pDayView = CreateSibling(pDay ? pDay : RUNTIME_CLASS(CCalendarStandInView), 1, WS_CHILD);
  if (m_pDayView) m_pMusicView = CreateSibling(RUNTIME_CLASS(CMusicView), 3, WS_CHILD | WS_BORDER);
  if (m_pMusicView) {
    // Made while the frame's initial update walks the windows: it may not reach this one.
    m_pMusicView->SendMessage(WM_INITIALUPDATE);
    for (CWnd* p : {m_pMonthView, m_pDayView, m_pMusicView}) p->MoveWindow(0, 0, rc.Width(), rc.Height());
    if (HWND hMain = GetMainWindow()) ::SendMessageA(hMain, WM_CHILD_WINDOW_CREATED, (WPARAM)m_hWnd, 7);
  }
}

void CBrowserBaseView::OnDraw(CDC*) {}

BOOL CBrowserBaseView::OnEraseBkgnd(CDC*) { return TRUE; }  // one of the four windows covers it all

void CBrowserBaseView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  for (CWnd* p : {m_pThumbnailSide, m_pMonthView, m_pDayView, m_pMusicView})
    if (IsLiveWindow(p)) p->MoveWindow(0, 0, cx, cy);
}

LRESULT CBrowserBaseView::OnKeepBeforeExit(WPARAM wParam, LPARAM lParam) {
  if (!CMTLIsOwnMessage(WM_KEEP_BEFORE_EXIT, wParam, lParam)) return 0;
  if (g_pTransController) g_pTransController->FinishMoviePlayers();
  return 0;
}

void CBrowserBaseView::OnDestroy() {
  DeleteThumbnailPage();
  m_pThumbnailSide = NULL;
  if (m_bCsReady) {
    ::DeleteCriticalSection(&m_cs);
    m_bCsReady = FALSE;
  }
  CView::OnDestroy();
}

void CBrowserBaseView::PumpWhileCollecting() {
  // The main window is disabled meanwhile; pumping keeps the views painting.
  ::EnterCriticalSection(&m_cs);
  MSG msg;
  while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  ::LeaveCriticalSection(&m_cs);
  ::Sleep(50);
}

void CBrowserBaseView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  // A folder change is about to delete the pages the collecting worker reads: it stops at
  // its next entry, and the change waits for it.
  if (lHint == VXHINT_DISABLE && m_bCsReady && m_lCollecting) {
    ::InterlockedExchange(&s_lCancel, 1);
    while (m_lCollecting) PumpWhileCollecting();
  }
  CSendCommandObject* pCmd = DYNAMIC_DOWNCAST(CSendCommandObject, pHint);
  if (!pCmd) return;
  if (lHint == VXHINT_CALENDAR) {
    AddThumbnailPage(FALSE);
    return;
  }
  UINT nID = pCmd->GetID();
  if (nID >= ID_VIEWMODE_FIRST && nID <= ID_VIEWMODE_LAST) {
    ChangeView((int)pCmd->GetValue());
    if (HWND hMain = GetMainWindow()) {
      CBrowserDocument* pDoc = GetBrowserDocument();
      ::SendNotifyMessageA(hMain, WM_STATUS_PROGRESS, (WPARAM)this, -1);
      ::SendNotifyMessageA(hMain, WM_STATUS_FILE_COUNT, (WPARAM)this, pDoc ? pDoc->GetFileCount() : 0);
    }
  } else if (nID == ID_VIEW_REFRESH) {
    OnReload(0, 0);
  }
}

void CBrowserBaseView::ShowOnly(CWnd* pShown) {
  for (CWnd* p : {m_pThumbnailSide, m_pMonthView, m_pDayView, m_pMusicView})
    if (IsLiveWindow(p)) p->ShowWindow(p == pShown ? SW_SHOW : SW_HIDE);
}

void CBrowserBaseView::ChangeView(int nCode) {
  VXVIEWCHANGE plan = ViewChangePlan(s_nCurrentCode, nCode);
  if (!plan.bAct) return;
  ::InterlockedExchange(&s_lCancel, 1);
  CBrowserDocument* pDoc = GetBrowserDocument();
  switch (plan.show) {
    case VXBASE_THUMBS: ShowOnly(m_pThumbnailSide); break;
    case VXBASE_MONTH: ShowOnly(m_pMonthView); break;
    case VXBASE_DAY: ShowOnly(m_pDayView); break;
    case VXBASE_MUSIC: ShowOnly(m_pMusicView); break;
    default: break;
  }
  if (plan.bDeleteCalendarPage) DeleteThumbnailPage();
  if (plan.bSetBrowseMode && pDoc) pDoc->SetViewMode(CBrowserStatus::CViewMode::ToBrowseID(nCode), this);
  s_nCurrentCode = plan.nNewCurrent;
  // In the month mode this asks the views (this one included) to build the calendar page.
  if (plan.bClearCalendarFolder && pDoc) pDoc->SetCalendarFolder(NULL);
  if (HWND hMain = GetMainWindow()) ::SendMessageA(hMain, WM_VIEW_MODE_CHANGED, (WPARAM)nCode, (LPARAM)this);
}

void CBrowserBaseView::ToolbarEnable(BOOL bEnable) {
  CVxPaneMessenger panes(this, GetParentFrame(), g_pTransController);
  panes.Send(3, WM_TOOLBAR_BUTTON_STATES, 0x3FFF, bEnable ? -1 : 0);
}

void CBrowserBaseView::AddThumbnailPage(BOOL bReload) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || !m_bCsReady) return;
  // Asked again from inside the pumping of a build (a reload posted meanwhile, by this
  // program or another): the running build's page must not go from under its worker.
  if (m_lCollecting) {
    m_bReloadAfterBuild = TRUE;
    return;
  }
  BOOL bDialog = !pDoc->GetPageList().IsEmpty();
  HWND hMain = GetMainWindow();
  if (hMain) ::EnableWindow(hMain, FALSE);
  ToolbarEnable(FALSE);
  DeleteThumbnailPage();

  CCalendarWaitDlg* pWait = NULL;
  if (bDialog) {
    CResourceChanger res;
    CResourceLoader strings;
    pWait = new CCalendarWaitDlg;
    pWait->m_strText = strings.LoadStringA(IDS_PLEASE_WAIT);
    if (pWait->Create(IDD_CALENDAR_WAIT, NULL)) {
      pWait->SetWindowText(strings.LoadStringA(IDS_BROWSER_CALENDAR_WAIT_TITLE));
      pWait->CenterWindow(CWnd::FromHandle(hMain));
      pWait->ShowWindow(SW_SHOWNA);
      pWait->UpdateWindow();
    } else {
      delete pWait;
      pWait = NULL;
    }
  }

  ICalendarViewLink* pMonth = dynamic_cast<ICalendarViewLink*>(m_pMonthView);
  if (!bReload) {
    if (pMonth) pMonth->InitView(TRUE, TRUE);
  } else {
    if (pMonth) pMonth->InitView(FALSE, TRUE);
    if (pDoc->GetFolderTypeFlag() != 512)
      if (ICGBrowser* p = GetCGBrowser()) p->Reload();
  }

  CThumbnailPageList& pages = pDoc->GetPageList();
  CThumbnailPage* pCalendar = new CThumbnailPage(VXPAGE_CALENDAR, (int)pages.GetCount());
  pages.AddPage(pCalendar);
  {
    CCalendarCollector worker(this, &pages, pCalendar);
    ::InterlockedExchange(&m_lCollecting, 1);
    if (worker.BeginThread()) {
      while (worker.IsActive()) PumpWhileCollecting();
      worker.EndThread();
    }
    ::InterlockedExchange(&m_lCollecting, 0);
  }
  ToolbarEnable(TRUE);
  if (hMain) ::EnableWindow(hMain, TRUE);
  if (pWait) {
    pWait->DestroyWindow();
    delete pWait;
  }
  if (hMain) {
    ::InvalidateRect(hMain, NULL, TRUE);
    ::SendMessageA(hMain, WM_STATUS_FILE_COUNT, (WPARAM)this, pDoc->GetFileCount());
  }
  if (m_bReloadAfterBuild) {
    m_bReloadAfterBuild = FALSE;
    PostMessage(WM_BROWSER_RELOAD, 0, 0);
  }
}

void CBrowserBaseView::DeleteThumbnailPage() {
  // A build still running reads the page: it stops at its next entry first.
  if (m_bCsReady && m_lCollecting) {
    ::InterlockedExchange(&s_lCancel, 1);
    while (m_lCollecting) PumpWhileCollecting();
  }
  if (CBrowserDocument* pDoc = GetBrowserDocument()) {
    pDoc->SelectAll(FALSE);
    CThumbnailPage::DecodeStop();
    CThumbnailPageList& pages = pDoc->GetPageList();
    for (POSITION pos = pages.GetHeadPosition(); pos;) {
      POSITION at = pos;
      CThumbnailPage* pPage = pages.GetNext(pos);
      if (pPage->GetType() != VXPAGE_CALENDAR) continue;
      for (int i = 0; i < pPage->GetCount(); ++i)
        if (CThumbnail* p = pPage->GetAt(i)) p->IsValidPath();
      pages.RemoveAt(at);
      delete pPage;
    }
  }
  while (!m_owned.IsEmpty()) delete m_owned.RemoveHead();
}

LRESULT CBrowserBaseView::OnReload(WPARAM, LPARAM lParam) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return 0;
  if (m_lCollecting) {
    m_bReloadAfterBuild = TRUE;  // after the build that runs below on the stack
    return 0;
  }
  UINT mode = pDoc->GetViewMode();
  BOOL bCalendar = mode == BROWSE_VIEW_MONTH || mode == BROWSE_VIEW_DAY;
  if (lParam == 1 && bCalendar) return 0;
  if (!bCalendar && mode != BROWSE_VIEW_MUSIC) return 0;
  pDoc->SelectAll(FALSE);
  if (bCalendar) AddThumbnailPage(TRUE);
  for (CWnd* p : {m_pMonthView, m_pDayView, m_pMusicView})
    if (IsShownWindow(p)) p->SendMessage(WM_BROWSER_RELOAD, 0, 0);
  if (HWND hMain = GetMainWindow()) ::SendMessageA(hMain, WM_STATUS_MARK_COUNT, 0, 0);
  return 0;
}

void CBrowserBaseView::GetCalendarThumbnails(CList<CThumbnail*, CThumbnail*>* pList) {
  if (!pList || !GetSafeHwnd()) return;
  CMTLSendOwnMessage(GetSafeHwnd(), WM_CALENDAR_GET_THUMBNAILS, (WPARAM)pList, 0);
}

LRESULT CBrowserBaseView::OnGetThumbnails(WPARAM wParam, LPARAM) {
  // wParam is a list the calendars write into: taken only when the browser itself asks
  // (GetCalendarThumbnails); a message from elsewhere could name any address.
  if (ownmsg::IsForeign(WM_CALENDAR_GET_THUMBNAILS, wParam, 0)) return 0;
  for (CWnd* p : {m_pMonthView, m_pDayView})
    if (IsShownWindow(p)) p->SendMessage(WM_CALENDAR_GET_THUMBNAILS, wParam, 0);
  return 0;
}

LRESULT CBrowserBaseView::OnPreFolderChange(WPARAM, LPARAM) {
  if (IsShownWindow(m_pMusicView)) m_pMusicView->SendMessage(WM_BROWSER_BEFORE_FOLDER_CHANGE, 0, 0);
  return 0;
}

LRESULT CBrowserBaseView::OnMusicStop(WPARAM, LPARAM) {
  if (IsShownWindow(m_pMusicView)) m_pMusicView->SendMessage(WM_BROWSER_MUSIC_STOP, 0, 0);
  return 0;
}
