// Helpers of the control classes (internal to GlimFW.dll).
#pragma once
#include <fw/wnd.h>

namespace fwctl {

// The four owner-drawn item messages of list and combo boxes, to the control's virtuals.
template <class T>
BOOL ReflectOwnerDraw(T* pCtrl, UINT message, LPARAM lParam, LRESULT* pResult) {
  LRESULT r = TRUE;
  switch (message) {
    case WM_DRAWITEM:
      pCtrl->DrawItem((LPDRAWITEMSTRUCT)lParam);
      break;
    case WM_MEASUREITEM:
      pCtrl->MeasureItem((LPMEASUREITEMSTRUCT)lParam);
      break;
    case WM_COMPAREITEM:
      r = pCtrl->CompareItem((LPCOMPAREITEMSTRUCT)lParam);
      break;
    case WM_DELETEITEM:
      pCtrl->DeleteItem((LPDELETEITEMSTRUCT)lParam);
      break;
    default:
      return FALSE;
  }
  if (pResult) *pResult = r;
  return TRUE;
}

// The text of item nIndex of a list or combo box, any length (msgLen / msgText: its
// length and text messages); empty for a bad index.
void ReadItemText(HWND hWnd, UINT msgLen, UINT msgText, int nIndex, CString& rString);

// A control window of a common-control class, wrapped as the caller's class.
template <class T>
T* Wrap(HWND hWnd) {
  return hWnd ? reinterpret_cast<T*>(CWnd::FromHandle(hWnd)) : nullptr;
}

// Creates pCtrl as a child window of lpszClass (WS_CHILD is added), registering the
// common-control classes of dwICC first (0 for the USER controls).
BOOL CreateControl(CWnd* pCtrl, DWORD dwICC, LPCSTR lpszClass, LPCSTR lpszText, DWORD dwExStyle, DWORD dwStyle,
                   const RECT& rect, CWnd* pParentWnd, UINT nID);

}  // namespace fwctl
