// The standard controls: creation, owner-drawn items reflected from the parent, and the
// members that need more than one message.
#include <fw/ctrl.h>

#include <vector>

#include "ctrlutil.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CBitmapButton, CButton)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

void fwctl::ReadItemText(HWND hWnd, UINT msgLen, UINT msgText, int nIndex, CString& rString) {
  int n = (int)::SendMessageA(hWnd, msgLen, (WPARAM)nIndex, 0);
  if (n < 0) {
    rString.Empty();
    return;
  }
  std::vector<char> buffer((size_t)n + 1);
  int got = (int)::SendMessageA(hWnd, msgText, (WPARAM)nIndex, (LPARAM)buffer.data());
  rString = got > 0 ? CString(buffer.data(), std::min(got, n)) : CString();
}

// ===== CButton =====

BOOL CButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return AfxReflectDrawItem(this, message, lParam, pResult) ||
         CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ===== CBitmapButton =====

CBitmapButton::CBitmapButton() {}

CBitmap* AFXAPI AfxBitmapButtonFace(UINT nItemState, CBitmap* pNormal, CBitmap* pSel, CBitmap* pFocus,
                                    CBitmap* pDisabled) {
  if ((nItemState & ODS_SELECTED) && pSel) return pSel;
  if ((nItemState & ODS_FOCUS) && pFocus) return pFocus;
  if ((nItemState & ODS_DISABLED) && pDisabled) return pDisabled;
  return pNormal;
}

static CBitmap* Loaded(CBitmap& bitmap) { return bitmap.GetSafeHandle() ? &bitmap : NULL; }

BOOL CBitmapButton::LoadBitmaps(LPCSTR lpszBitmapResource, LPCSTR lpszBitmapResourceSel,
                                LPCSTR lpszBitmapResourceFocus, LPCSTR lpszBitmapResourceDisabled) {
  CBitmap* bitmaps[4] = {&m_bitmap, &m_bitmapSel, &m_bitmapFocus, &m_bitmapDisabled};
  LPCSTR names[4] = {lpszBitmapResource, lpszBitmapResourceSel, lpszBitmapResourceFocus,
                     lpszBitmapResourceDisabled};
  BOOL bAll = TRUE;
  for (int i = 0; i < 4; ++i) {
    bitmaps[i]->DeleteObject();
    if (names[i] && !bitmaps[i]->LoadBitmap(names[i])) bAll = FALSE;
  }
  return bAll && lpszBitmapResource != NULL;
}

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel, UINT nIDBitmapResourceFocus,
                                UINT nIDBitmapResourceDisabled) {
  auto name = [](UINT nID) { return nID ? MAKEINTRESOURCEA(nID) : (LPCSTR)NULL; };
  return LoadBitmaps(name(nIDBitmapResource), name(nIDBitmapResourceSel), name(nIDBitmapResourceFocus),
                     name(nIDBitmapResourceDisabled));
}

void CBitmapButton::SizeToContent() {
  BITMAP bm;
  if (!m_bitmap.GetSafeHandle() || !m_bitmap.GetObject(sizeof(bm), &bm)) return;
  SetWindowPos(NULL, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CBitmap* pBitmap = AfxBitmapButtonFace(lpDIS->itemState, Loaded(m_bitmap), Loaded(m_bitmapSel),
                                         Loaded(m_bitmapFocus), Loaded(m_bitmapDisabled));
  if (!pBitmap) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CDC memDC;
  if (!memDC.CreateCompatibleDC(pDC)) return;
  CBitmap* pOld = memDC.SelectObject(pBitmap);
  const RECT& rc = lpDIS->rcItem;
  pDC->BitBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(pOld);
}

// ===== CEdit =====

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("EDIT", NULL, dwStyle, rect, pParentWnd, nID);
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const {
  if (nMaxLength < (int)sizeof(WORD)) {
    // EM_GETLINE takes the size in the buffer's first word.
    char tmp[sizeof(WORD) + 1] = {};
    *(WORD*)tmp = (WORD)nMaxLength;
    int n = (int)SendMessage(EM_GETLINE, (WPARAM)nIndex, (LPARAM)tmp);
    if (n > nMaxLength) n = nMaxLength;
    memcpy(lpszBuffer, tmp, (size_t)std::max(n, 0));
    return n;
  }
  *(WORD*)lpszBuffer = (WORD)nMaxLength;
  return (int)SendMessage(EM_GETLINE, (WPARAM)nIndex, (LPARAM)lpszBuffer);
}

CPoint CEdit::PosFromChar(UINT nChar) const {
  LRESULT r = SendMessage(EM_POSFROMCHAR, nChar);
  return CPoint((short)LOWORD(r), (short)HIWORD(r));
}

// ===== CComboBox =====

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("COMBOBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  fwctl::ReadItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}

void CComboBox::SetDropHeight(int cyList) {
  RECT rcWnd;
  GetWindowRect(&rcWnd);
  // The field height of a drop-down combo is fixed; its window height sets the list's.
  int cySel = GetItemHeight(-1) + 2 * ::GetSystemMetrics(SM_CYEDGE);
  SetWindowPos(NULL, 0, 0, rcWnd.right - rcWnd.left, cySel + cyList, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return fwctl::ReflectOwnerDraw(this, message, lParam, pResult) ||
         CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ===== CListBox =====

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("LISTBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const {
  fwctl::ReadItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
  DWORD r = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
  bOutside = HIWORD(r) != 0;
  return LOWORD(r);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
int CListBox::VKeyToItem(UINT, UINT) { return -1; }
int CListBox::CharToItem(UINT, UINT) { return -1; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (fwctl::ReflectOwnerDraw(this, message, lParam, pResult)) return TRUE;
  if (message == WM_VKEYTOITEM || message == WM_CHARTOITEM) {
    UINT nKey = LOWORD(wParam), nIndex = HIWORD(wParam);
    int r = message == WM_VKEYTOITEM ? VKeyToItem(nKey, nIndex) : CharToItem(nKey, nIndex);
    if (pResult) *pResult = r;
    return TRUE;
  }
  return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ===== CStatic =====

BOOL CStatic::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return AfxReflectDrawItem(this, message, lParam, pResult) ||
         CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ===== CScrollBar =====

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("SCROLLBAR", NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
  return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}

int CScrollBar::GetScrollLimit() {
  SCROLLINFO si = {};
  if (!GetScrollInfo(&si, SIF_RANGE | SIF_PAGE)) return 0;
  return std::max(si.nMin, si.nMax - std::max((int)si.nPage - 1, 0));
}
