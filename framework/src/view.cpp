// Views: CView and the control views.
#include <fw/fw.h>

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE_VOID(WM_INITIALUPDATE, &CView::OnInitialUpdate)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(nullptr) {}

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AFX_WNDFRAMEORVIEW;
  // Views show a sunken edge instead of a plain border.
  if (cs.style & WS_BORDER) {
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
  }
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame && pFrame->GetActiveView() == this) pFrame->SetActiveView(nullptr);
  CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT) return nResult;
  // A click makes the view its frame's active view.
  if (CFrameWnd* pParentFrame = GetParentFrame()) {
    CView* pView = pParentFrame->GetActiveView();
    HWND hWndFocus = ::GetFocus();
    if (pView == this && m_hWnd != hWndFocus && !::IsChild(m_hWnd, hWndFocus))
      OnActivateView(TRUE, this, this);
    else
      pParentFrame->SetActiveView(this);
  }
  return nResult;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CView::IsSelected(const CObject*) const { return FALSE; }

BOOL CView::OnScroll(UINT, UINT, BOOL) { return FALSE; }

BOOL CView::OnScrollBy(CSize, BOOL) { return FALSE; }

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnActivateView(BOOL bActivate, CView*, CView*) {
  if (!bActivate) return;
  // The view takes the focus while its top-level window is the active one.
  CWnd* pTop = GetTopLevelParent();
  HWND hWndActive = ::GetActiveWindow();
  if (pTop && (hWndActive == pTop->m_hWnd || ::GetLastActivePopup(pTop->m_hWnd) == hWndActive)) SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

// ----- control views -----

IMPLEMENT_DYNCREATE(CCtrlView, CView)

BEGIN_MESSAGE_MAP(CCtrlView, CView)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CCtrlView::CCtrlView(LPCSTR lpszClass, DWORD dwStyle) : m_strClass(lpszClass), m_dwDefaultStyle(dwStyle) {}

BOOL CCtrlView::PreCreateWindow(CREATESTRUCT& cs) {
  cs.lpszClass = m_strClass.IsEmpty() ? nullptr : (LPCSTR)m_strClass;
  cs.style |= m_dwDefaultStyle;
  if (!cs.lpszClass) return CView::PreCreateWindow(cs);
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  LPCSTR lpszClass = cs.lpszClass;
  BOOL bResult = CView::PreCreateWindow(cs);
  cs.lpszClass = lpszClass;
  return bResult;
}

void CCtrlView::OnDraw(CDC*) {}

void CCtrlView::OnPaint() { Default(); }  // the control paints itself

IMPLEMENT_DYNCREATE(CListView, CCtrlView)

CListView::CListView() : CCtrlView(WC_LISTVIEWA, AFX_WS_DEFAULT_VIEW) {}

BOOL CListView::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= LVS_SHAREIMAGELISTS;
  return CCtrlView::PreCreateWindow(cs);
}

IMPLEMENT_DYNCREATE(CTreeView, CCtrlView)

CTreeView::CTreeView() : CCtrlView(WC_TREEVIEWA, AFX_WS_DEFAULT_VIEW) {}

BOOL CTreeView::PreCreateWindow(CREATESTRUCT& cs) { return CCtrlView::PreCreateWindow(cs); }
