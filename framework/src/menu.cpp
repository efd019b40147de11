// CMenu: handle map, loading, strings and popup tracking.
#include <fw/menu.h>
#include <fw/module.h>

#include <cstring>
#include <vector>

#include <textkit/path.h>
#include <textkit/text.h>
#include "handlemap.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

void FwTempAttach(CMenu* p, void* h) { p->m_hMenu = static_cast<HMENU>(h); }
void FwTempDetach(CMenu* p) { p->m_hMenu = NULL; }

CMenu::~CMenu() { DestroyMenu(); }

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) { return fwmap::FromHandle<CMenu>(fwmap::kMenu, hMenu); }

void PASCAL CMenu::DeleteTempMap() { fwmap::DeleteTemporaries(fwmap::kMenu); }

BOOL CMenu::Attach(HMENU hMenu) { return fwmap::AttachOwner(fwmap::kMenu, m_hMenu, hMenu, this); }
HMENU CMenu::Detach() { return fwmap::DetachOwner(fwmap::kMenu, m_hMenu, this); }

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == NULL) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_MENU);
  return Attach(::LoadMenuA(hInst, lpszResourceName));
}

// The length Win32 reports for a NULL buffer is not reliable for double-byte text, so
// the buffer grows until the whole string fits.
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  std::vector<char> buffer(256);
  for (;;) {
    int n = ::GetMenuStringA(m_hMenu, nIDItem, buffer.data(), (int)buffer.size(), nFlags);
    if (n < (int)buffer.size() - 2 || buffer.size() >= 0x10000) {
      n = std::max(0, std::min(n, (int)buffer.size() - 1));
      rString = CString(buffer.data(), n);
      return n;
    }
    buffer.resize(buffer.size() * 4);
  }
}

// Win32's own truncation may leave the buffer without its NUL and cut a double-byte
// character in two: copy from the whole text instead.
int CMenu::GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const {
  if (lpString == NULL || nMaxCount <= 0) return 0;
  CString text;
  int nLength = GetMenuString(nIDItem, text, nFlags);
  LPCSTR p = text;
  int n = 0;
  while (n < nLength) {
    int nStep = textkit::CharLength(p + n);
    if (n + nStep > nMaxCount - 1) break;
    n += nStep;
  }
  memcpy(lpString, p, n);
  lpString[n] = '\0';
  return n;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, _AfxHwndOf(pWnd), lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
  return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, _AfxHwndOf(pWnd), lptpm);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
