#include "FocusInfoView.h"

#include <KitlibEx/KitlibEx.h>
#include <VxDocument.h>
#include <VxGUIDB.h>
#include <VxResourceIds.h>

#include "MainWndMessages.h"
#include "OwnMessages.h"
#include "PropertyPluginSet.h"

#define VXCTRL_FOCUSTABS 0x11111111
#define VXTIMER_REFRESH 13

namespace {
// Without pages the pane shows the browser's own background, not an empty white tab box.
const COLORREF kEmptyColor = RGB(122, 142, 156);
}  // namespace

static CString s_strPluginFolder;

// ---- The tabs ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CFocusInfoTabCtrl, CTabCtrl)
  ON_MESSAGE(WM_FOCUSINFO_SET_PATH, &CFocusInfoTabCtrl::OnSetPath)
  ON_MESSAGE(WM_FOCUSINFO_SHOW_MAP, &CFocusInfoTabCtrl::OnShowMap)
END_MESSAGE_MAP()

CFocusInfoTabCtrl::CFocusInfoTabCtrl() : m_pPlugins(NULL) {}

CFocusInfoTabCtrl::~CFocusInfoTabCtrl() {
  for (int i = 0; i < m_pages.GetSize(); ++i) delete m_pages[i];
  m_pages.RemoveAll();
  delete m_pPlugins;
}

void CFocusInfoTabCtrl::LoadPlugins(LPCSTR pszFolder) {
  if (!m_pPlugins) m_pPlugins = new CPropertyPluginSet(pszFolder);
}

void CFocusInfoTabCtrl::AddPages() {
  if (!m_pPlugins) return;
  int index = 0;
  for (int i = 0; i < m_pPlugins->GetCount(); ++i) {
    CPropertyPlugin* p = m_pPlugins->GetAt(i);
    if (!p->IsSupported()) continue;
    CDialog* pPage = static_cast<CDialog*>(p->CreatePage());
    if (!pPage) continue;
    // A page may change the resource handle while it is made.
    HINSTANCE hKept = AfxGetResourceHandle();
    if (AddPage(index, pPage)) ++index;
    AfxSetResourceHandle(hKept);
  }
}

BOOL CFocusInfoTabCtrl::AddPage(int nIndex, CDialog* pPage) {
  if (!pPage || nIndex < 0 || nIndex > m_pages.GetSize()) return FALSE;
  m_pages.InsertAt(nIndex, pPage);
  if (!pPage->GetSafeHwnd()) pPage->Create(pPage->m_lpszTemplateName, this);
  if (pPage->GetSafeHwnd()) pPage->ModifyStyle(WS_CAPTION, 0);
  CString text;
  if (pPage->GetSafeHwnd()) pPage->GetWindowText(text);
  InsertItem(nIndex, text);
  return TRUE;
}

BOOL CFocusInfoTabCtrl::SelectPage(int nIndex) {
  // Only a tab that exists: an empty control or a short one has nothing to select.
  if (nIndex < 0 || nIndex >= GetItemCount()) return FALSE;
  SendMessage(TCM_SETCURSEL, (WPARAM)nIndex);
  ShowCurrentPage();
  return TRUE;
}

CRect CFocusInfoTabCtrl::GetDisplayRect() const {
  CRect rc;
  GetWindowRect(&rc);
  ScreenToClient(&rc);
  SendMessage(TCM_ADJUSTRECT, FALSE, (LPARAM)&rc);
  return rc;
}

void CFocusInfoTabCtrl::ShowCurrentPage() {
  int current = (int)SendMessage(TCM_GETCURSEL);
  CRect area = GetDisplayRect();
  for (int i = 0; i < m_pages.GetSize(); ++i) {
    CDialog* p = m_pages[i];
    if (!p->GetSafeHwnd()) continue;
    if (i == current) {
      CRect rc;
      p->GetClientRect(&rc);
      p->SetWindowPos(NULL, area.left, area.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOREDRAW);
      p->EnableWindow(TRUE);
      p->ShowWindow(SW_SHOW);
    } else {
      p->ShowWindow(SW_HIDE);
    }
  }
}

void CFocusInfoTabCtrl::SetPath(LPCSTR pszPath) {
  for (int i = 0; m_pPlugins && i < m_pPlugins->GetCount(); ++i) {
    CPropertyPlugin* p = m_pPlugins->GetAt(i);
    if (p->IsSupported()) p->SetInfo((DWORD_PTR)pszPath);
  }
}

void CFocusInfoTabCtrl::SetThumInfo(int a, int b, int c) {
  for (int i = 0; m_pPlugins && i < m_pPlugins->GetCount(); ++i) {
    CPropertyPlugin* p = m_pPlugins->GetAt(i);
    if (p->IsSupported()) p->SetThumInfo(a, b, c);
  }
}

void CFocusInfoTabCtrl::ResizePages(const CRect& rc) {
  for (int i = 0; i < m_pages.GetSize(); ++i)
    if (m_pages[i]->GetSafeHwnd()) m_pages[i]->MoveWindow(&rc, TRUE);
}

LRESULT CFocusInfoTabCtrl::OnSetPath(WPARAM wParam, LPARAM lParam) {
  if (ownmsg::IsForeign(WM_FOCUSINFO_SET_PATH, wParam, lParam)) return 0;
  SetPath(reinterpret_cast<LPCSTR>(lParam));
  return 0;
}

LRESULT CFocusInfoTabCtrl::OnShowMap(WPARAM wParam, LPARAM lParam) {
  for (int i = 0; m_pPlugins && i < m_pPlugins->GetCount(); ++i) {
    CPropertyPlugin* p = m_pPlugins->GetAt(i);
    if (p->IsSupported()) p->SendPageMessage(WM_FOCUSINFO_SHOW_MAP, wParam, lParam);
  }
  return 0;
}

// ---- The view ------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CFocusInfoView, CView)

BEGIN_MESSAGE_MAP(CFocusInfoView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_NOTIFY(TCN_SELCHANGE, VXCTRL_FOCUSTABS, &CFocusInfoView::OnNotifyTcnSelChange)
END_MESSAGE_MAP()

CFocusInfoView::CFocusInfoView() {}
CFocusInfoView::~CFocusInfoView() {}

void CFocusInfoView::SetPluginFolder(LPCSTR pszFolder) { s_strPluginFolder = pszFolder ? pszFolder : ""; }

int CFocusInfoView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CView::OnCreate(lpcs) == -1) return -1;
  m_tabs.LoadPlugins(s_strPluginFolder.IsEmpty() ? NULL : (LPCSTR)s_strPluginFolder);
  CRect rc;
  GetClientRect(&rc);
  if (m_tabs.Create(WS_CHILD, rc, this, VXCTRL_FOCUSTABS)) {
    m_tabs.ShowWindow(SW_SHOW);
    m_tabs.SendMessage(WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
    m_tabs.AddPages();
    m_tabs.SelectPage(0);
    if (m_tabs.GetItemCount() == 0) m_tabs.ShowWindow(SW_HIDE);
  }
  return 0;
}

void CFocusInfoView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (!m_tabs.GetSafeHwnd()) return;
  m_tabs.MoveWindow(0, 0, cx, cy, TRUE);
  CRect area;
  m_tabs.GetWindowRect(&area);
  ScreenToClient(&area);
  m_tabs.SendMessage(TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
  m_tabs.ResizePages(area);
}

BOOL CFocusInfoView::OnEraseBkgnd(CDC* pDC) {
  if (HasPages()) return FALSE;
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, kEmptyColor);
  return TRUE;
}

void CFocusInfoView::OnDraw(CDC* pDC) {
  if (HasPages()) return;
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, kEmptyColor);
}

BOOL CFocusInfoView::HasPages() const { return m_tabs.GetSafeHwnd() && m_tabs.GetItemCount() > 0; }

void CFocusInfoView::OnNotifyTcnSelChange(NMHDR*, LRESULT* pResult) {
  m_tabs.ShowCurrentPage();
  *pResult = 0;
}

void CFocusInfoView::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == VXTIMER_REFRESH) {
    KillTimer(VXTIMER_REFRESH);
    OnUpdate(NULL, VXHINT_SELECTION, NULL);
  }
  CView::OnTimer(nIDEvent);
}

void CFocusInfoView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  CSendCommandObject* pCmd = DYNAMIC_DOWNCAST(CSendCommandObject, pHint);
  UINT nCmd = pCmd ? pCmd->GetID() : 0;
  CVxDocument* pVx = dynamic_cast<CVxDocument*>(m_pDocument);
  CBrowserDocument* pDoc = pVx ? pVx->GetBrowser() : NULL;
  CThumbnail* pItem = pDoc ? pDoc->GetLastSelectedItem() : NULL;
  if (!m_tabs.GetSafeHwnd()) return;
  if (!pItem) {
    if (lHint == VXHINT_SELECTION) m_tabs.SetPath("");
    return;
  }
  BOOL bValid = pItem->IsValidPath();
  CString path = pItem->GetFilePath();
  if (path.GetLength() >= 520) path = path.Left(519);
  if (IsWindowVisible()) {
    if (!bValid) {
      m_tabs.SetPath("");
      return;
    }
    int a, b, c;
    if (pItem->GetAVCHDInfo(&a, &b, &c)) m_tabs.SetThumInfo(a, b, c);
    m_tabs.SetPath(path);
    if (nCmd == ID_VIEW_MAP) {
      if (CMTLxIsUsedOrbisMap())
        m_tabs.SelectPage(4);
      else
        m_tabs.SendMessage(WM_FOCUSINFO_SHOW_MAP, (WPARAM)m_hWnd, 0);
    }
  } else if (nCmd == ID_VIEW_MAP && bValid) {
    m_tabs.SetPath(path);
    m_tabs.SendMessage(WM_FOCUSINFO_SHOW_MAP, (WPARAM)m_hWnd, 0);
  }
}

// ---- The movie bar's tooltip -----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CInfoToolTipCtrl, CToolTipCtrl)
  ON_WM_TIMER()
END_MESSAGE_MAP()

void CInfoToolTipCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == 3) return;
  CToolTipCtrl::OnTimer(nIDEvent);
}
