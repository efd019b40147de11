// The smaller common controls, and control creation shared by every control class.
#include <fw/cmnctrl.h>
#include <fw/module.h>

#include "ctrlutil.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CAnimateCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL fwctl::CreateControl(CWnd* pCtrl, DWORD dwICC, LPCSTR lpszClass, LPCSTR lpszText, DWORD dwExStyle,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (dwICC) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), dwICC};
    ::InitCommonControlsEx(&icc);
  }
  return pCtrl->CWnd::CreateEx(dwExStyle, lpszClass, lpszText, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

// ===== CTabCtrl =====

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return fwctl::CreateControl(this, ICC_TAB_CLASSES, WC_TABCONTROLA, NULL, 0, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, int nImage, LPARAM lParam) {
  TCITEMA item = {};
  item.mask = nMask;
  item.pszText = (LPSTR)lpszItem;
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(nItem, &item);
}

CSize CTabCtrl::SetItemSize(CSize size) {
  DWORD r = (DWORD)SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
  return CSize(LOWORD(r), HIWORD(r));
}

void CTabCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return AfxReflectDrawItem(this, message, lParam, pResult) ||
         CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ===== CSliderCtrl, CProgressCtrl, CSpinButtonCtrl, CAnimateCtrl =====

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return fwctl::CreateControl(this, ICC_BAR_CLASSES, TRACKBAR_CLASSA, NULL, 0, dwStyle, rect, pParentWnd, nID);
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return fwctl::CreateControl(this, ICC_PROGRESS_CLASS, PROGRESS_CLASSA, NULL, 0, dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
  PBRANGE range = {};
  SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
  nLower = range.iLow;
  nUpper = range.iHigh;
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return fwctl::CreateControl(this, ICC_UPDOWN_CLASS, UPDOWN_CLASSA, NULL, 0, dwStyle, rect, pParentWnd, nID);
}

BOOL CAnimateCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return fwctl::CreateControl(this, ICC_ANIMATE_CLASS, ANIMATE_CLASSA, NULL, 0, dwStyle, rect, pParentWnd, nID);
}

BOOL CAnimateCtrl::Open(UINT nID) {
  LPCSTR lpszName = MAKEINTRESOURCEA(nID);
  HINSTANCE hInst = AfxFindResourceHandle(lpszName, "AVI");
  return (BOOL)SendMessage(ACM_OPENA, (WPARAM)hInst, (LPARAM)lpszName);
}

// ===== CToolTipCtrl =====

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) { return CreateEx(pParentWnd, dwStyle, 0); }

BOOL CToolTipCtrl::CreateEx(CWnd* pParentWnd, DWORD dwStyle, DWORD dwStyleEx) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  return CWnd::CreateEx(dwStyleEx, TOOLTIPS_CLASSA, NULL, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), NULL, NULL);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
  memset(&ti, 0, sizeof(ti));
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  HWND hWnd = pWnd->GetSafeHwnd();
  if (nIDTool == 0) {
    // The window itself is the tool; its parent gets the notifications.
    HWND hParent = ::GetParent(hWnd);
    ti.hwnd = hParent ? hParent : hWnd;
    ti.uFlags = TTF_IDISHWND;
    ti.uId = (UINT_PTR)hWnd;
  } else {
    ti.hwnd = hWnd;
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool) ti.rect = *lpRectTool;
  ti.lpszText = (LPSTR)lpszText;
  return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  CString text;
  text.LoadString(nIDText);
  return AddTool(pWnd, (LPCSTR)text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  SendMessage(TTM_DELTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.rect = *lpRect;
  SendMessage(TTM_NEWTOOLRECTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = (LPSTR)lpszText;
  SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
  CString text;
  text.LoadString(nIDText);
  UpdateTipText((LPCSTR)text, pWnd, nIDTool);
}

BOOL CToolTipCtrl::GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  FillInToolInfo(ToolInfo, pWnd, nIDTool);
  ToolInfo.szText[0] = 0;
  ToolInfo.lpszText = ToolInfo.szText;
  return (BOOL)SendMessage(TTM_GETTOOLINFOA, 0, (LPARAM)&ToolInfo);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  char buffer[256] = "";
  ti.lpszText = buffer;
  SendMessage(TTM_GETTEXTA, sizeof(buffer), (LPARAM)&ti);
  str = buffer;
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFOA lpToolInfo) const {
  TTHITTESTINFOA hti = {};
  hti.hwnd = pWnd->GetSafeHwnd();
  hti.pt = pt;
  hti.ti.cbSize = TTTOOLINFOA_V2_SIZE;
  if (!SendMessage(TTM_HITTESTA, 0, (LPARAM)&hti)) return FALSE;
  if (lpToolInfo) memcpy(lpToolInfo, &hti.ti, TTTOOLINFOA_V2_SIZE);
  return TRUE;
}
