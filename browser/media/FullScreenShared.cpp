#include "FullScreenShared.h"

#include <VxGUIDB.h>
#include <imm.h>

bool DrawFullScreenOpening(CDC& dc, const CRect& rc, const BOOL* pbStop) {
  dc.FillSolidRect(&rc, RGB(0, 0, 0));
  const int dx = (rc.Width() / 2) / 20, dy = (rc.Height() / 2) / 20;
  CRect r(rc.CenterPoint(), rc.CenterPoint());
  HBRUSH hWhite = (HBRUSH)::GetStockObject(WHITE_BRUSH);
  for (int i = 0; i < 21; ++i) {
    if (pbStop && *pbStop) return false;
    dc.FillSolidRect(&r, RGB(0, 0, 0));
    ::FrameRect(dc.GetSafeHdc(), &r, hWhite);
    r.InflateRect(dx, dy);
    ::GdiFlush();
    ::Sleep(10);
  }
  dc.FillSolidRect(&rc, RGB(0, 0, 0));
  return true;
}

void SetTaskBarShown(bool bShown) {
  if (HWND hTray = ::FindWindowA("Shell_TrayWnd", NULL)) ::ShowWindow(hTray, bShown ? SW_SHOWNA : SW_HIDE);
}

BOOL CreatePanelButton(CWnd* pParent, CBitmapButton* pButton, int nIndex, LPCSTR pszCaption, UINT nNormal,
                       UINT nSelected, UINT nFocus) {
  CResourceChanger change;
  UINT nId = 12288 + nIndex;
  while (::GetDlgItem(pParent->GetSafeHwnd(), nId)) ++nId;
  if (!pButton->Create(pszCaption, WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 1, 1), pParent, nId)) return FALSE;
  pButton->LoadBitmaps(MAKEINTRESOURCEA(nNormal), MAKEINTRESOURCEA(nSelected), MAKEINTRESOURCEA(nFocus));
  pButton->SizeToContent();
  return TRUE;
}

void SetImeOpen(CWnd* pWnd, BOOL bOpen) {
  if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd())) return;
  if (HIMC hImc = ::ImmGetContext(pWnd->GetSafeHwnd())) {
    ::ImmSetOpenStatus(hImc, bOpen);
    ::ImmReleaseContext(pWnd->GetSafeHwnd(), hImc);
  }
}
