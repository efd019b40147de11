// Property sheets and pages: the system's sheet run modally, each window tied to its object.
#include <fw/propsheet.h>
#include <fw/module.h>

#include <vector>

#include "sysdlg.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// ===== CPropertyPage =====

// The page's dialog procedure: the page's object takes the window at WM_INITDIALOG
// (lParam: the sheet's copy of the page record, whose lParam is the object).
static INT_PTR CALLBACK PageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  CPropertyPage* pPage = (CPropertyPage*)((LPPROPSHEETPAGEA)lParam)->lParam;
  return fwdlg::AttachAtInit(pPage, hWnd);
}

CPropertyPage::CPropertyPage() : m_bFirstSetActive(TRUE) {
  memset(&m_psp, 0, sizeof(m_psp));
  m_psp.dwSize = sizeof(m_psp);
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CPropertyPage() { Construct(nIDTemplate, nIDCaption); }

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption) : CPropertyPage() {
  Construct(lpszTemplateName, nIDCaption);
}

CPropertyPage::~CPropertyPage() {}

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption) { Construct(MAKEINTRESOURCEA(nIDTemplate), nIDCaption); }

void CPropertyPage::Construct(LPCSTR lpszTemplateName, UINT nIDCaption) {
  m_lpszTemplateName = lpszTemplateName;
  m_psp.pszTemplate = lpszTemplateName;
  if (nIDCaption && m_strCaption.LoadString(nIDCaption)) m_psp.dwFlags |= PSP_USETITLE;
}

PROPSHEETPAGEA CPropertyPage::PrepareSheetPage() {
  PROPSHEETPAGEA psp = m_psp;
  psp.dwSize = sizeof(psp);
  psp.dwFlags &= ~PSP_DLGINDIRECT;
  psp.hInstance = AfxFindResourceHandle(m_psp.pszTemplate, (LPCSTR)RT_DIALOG);
  psp.pfnDlgProc = PageDlgProc;
  psp.lParam = (LPARAM)this;
  if ((psp.dwFlags & PSP_USETITLE) && !psp.pszTitle) psp.pszTitle = m_strCaption;
  m_bFirstSetActive = TRUE;
  return psp;
}

CPropertySheet* CPropertyPage::GetSheet() const {
  return DYNAMIC_DOWNCAST(CPropertySheet, CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

void CPropertyPage::SetModified(BOOL bChanged) {
  HWND hSheet = ::GetParent(m_hWnd);
  if (hSheet) ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

void CPropertyPage::CancelToClose() { ::SendMessageA(::GetParent(m_hWnd), PSM_CANCELTOCLOSE, 0, 0); }

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(::GetParent(m_hWnd), PSM_QUERYSIBLINGS, wParam, lParam);
}

BOOL CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive) {
    m_bFirstSetActive = FALSE;  // OnInitDialog has just filled the controls
    return TRUE;
  }
  return UpdateData(FALSE);
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }
BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}
void CPropertyPage::OnReset() { OnCancel(); }
BOOL CPropertyPage::OnQueryCancel() { return TRUE; }
LRESULT CPropertyPage::OnWizardBack() { return 0; }
LRESULT CPropertyPage::OnWizardNext() { return 0; }
BOOL CPropertyPage::OnWizardFinish() { return TRUE; }
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

// The sheet's notifications (from the sheet, the page's parent) to the virtuals above;
// anything else takes the usual way.
BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = (NMHDR*)lParam;
  if (pNMHDR->hwndFrom != ::GetParent(m_hWnd)) return CDialog::OnNotify(wParam, lParam, pResult);
  LRESULT r;
  switch (pNMHDR->code) {
    case PSN_SETACTIVE:
      r = OnSetActive() ? 0 : -1;
      break;
    case PSN_KILLACTIVE:
      r = !OnKillActive();
      break;
    case PSN_APPLY:
      r = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
      break;
    case PSN_RESET:
      OnReset();
      r = 0;
      break;
    case PSN_QUERYCANCEL:
      r = !OnQueryCancel();
      break;
    case PSN_WIZBACK:
      r = OnWizardBack();
      break;
    case PSN_WIZNEXT:
      r = OnWizardNext();
      break;
    case PSN_WIZFINISH:
      r = !OnWizardFinish();
      break;
    default:
      return CDialog::OnNotify(wParam, lParam, pResult);
  }
  if (pResult) *pResult = r;
  return TRUE;
}

// ===== CPropertySheet =====

namespace {
// The sheet whose window this thread's PropertySheet call is making.
thread_local CPropertySheet* t_pSheetInit = nullptr;

int CALLBACK SheetCallback(HWND hWnd, UINT uMsg, LPARAM) {
  if (uMsg == PSCB_INITIALIZED && t_pSheetInit && !t_pSheetInit->m_hWnd) t_pSheetInit->SubclassWindow(hWnd);
  return 0;
}
}  // namespace

CPropertySheet::CPropertySheet() : m_pParentWnd(NULL), m_nStartPage(0), m_hWndTop(NULL) {
  memset(&m_psh, 0, sizeof(m_psh));
  m_psh.dwSize = sizeof(m_psh);
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : CPropertySheet() {
  Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) : CPropertySheet() {
  Construct(pszCaption, pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet() {}

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  CString caption;
  caption.LoadString(nIDCaption);
  Construct((LPCSTR)caption, pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  m_strCaption = pszCaption ? pszCaption : "";
  m_pParentWnd = pParentWnd;
  m_nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  m_pages.Add(pPage);
  if (m_hWnd) {
    PROPSHEETPAGEA psp = pPage->PrepareSheetPage();
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&psp);
    if (hPage) SendMessage(PSM_ADDPAGE, 0, (LPARAM)hPage);
  }
}

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd) SendMessage(PSM_REMOVEPAGE, (WPARAM)nPage);
  m_pages.RemoveAt(nPage);
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
  for (int i = 0; i < GetPageCount(); ++i)
    if (GetPage(i) == pPage) return i;
  return -1;
}

int CPropertySheet::GetActiveIndex() const {
  if (!m_hWnd) return (int)m_nStartPage;
  HWND hTab = (HWND)SendMessage(PSM_GETTABCONTROL);
  return hTab ? (int)::SendMessageA(hTab, TCM_GETCURSEL, 0, 0) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
  int n = GetActiveIndex();
  return n >= 0 && n < GetPageCount() ? GetPage(n) : NULL;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (!m_hWnd) {
    m_nStartPage = (UINT)nPage;
    return TRUE;
  }
  return (BOOL)SendMessage(PSM_SETCURSEL, (WPARAM)nPage);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::SetTitle(LPCSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText;
  m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd) SendMessage(PSM_SETTITLEA, nStyle, (LPARAM)lpszText);
}

CTabCtrl* CPropertySheet::GetTabControl() const {
  HWND hTab = m_hWnd ? (HWND)SendMessage(PSM_GETTABCONTROL) : NULL;
  return hTab ? reinterpret_cast<CTabCtrl*>(CWnd::FromHandle(hTab)) : NULL;
}

INT_PTR CPropertySheet::DoModal() {
  if (m_hWnd || GetPageCount() == 0) return -1;
  std::vector<HPROPSHEETPAGE> pages;
  for (int i = 0; i < GetPageCount(); ++i) {
    PROPSHEETPAGEA psp = GetPage(i)->PrepareSheetPage();
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&psp);
    if (!hPage) {
      for (HPROPSHEETPAGE h : pages) ::DestroyPropertySheetPage(h);
      return -1;
    }
    pages.push_back(hPage);
  }
  // The caller's header, with what ties the sheet's window to this object.
  PROPSHEETHEADERA psh = m_psh;
  psh.dwSize = sizeof(psh);
  psh.dwFlags = (psh.dwFlags & ~(PSH_PROPSHEETPAGE | PSH_MODELESS)) | PSH_USECALLBACK;
  psh.pfnCallback = SheetCallback;
  psh.hInstance = AfxGetResourceHandle();
  if (!psh.pszCaption) psh.pszCaption = m_strCaption;
  psh.nPages = (UINT)pages.size();
  psh.nStartPage = m_nStartPage < psh.nPages ? m_nStartPage : 0;
  psh.phpage = pages.data();
  psh.hwndParent = fwdlg::BeginModal(m_pParentWnd, &m_hWndTop);
  CPropertySheet* pOuter = t_pSheetInit;
  t_pSheetInit = this;
  INT_PTR nResult = ::PropertySheetA(&psh);
  t_pSheetInit = pOuter;
  fwdlg::EndModal(this, &m_hWndTop);
  if (nResult < 0) return -1;
  return nResult > 0 ? IDOK : IDCANCEL;
}

void CPropertySheet::EndDialog(int nEndID) { PressButton(nEndID == IDOK ? PSBTN_OK : PSBTN_CANCEL); }
