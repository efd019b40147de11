// The default GUI font rule.
#include "GuiFont.h"

BYTE VxGuiFontCharset() {
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  return lf.lfCharSet;
}

void VxSendFontToChildren(CWnd* pWnd, HFONT hFont) {
  if (!pWnd || !pWnd->GetSafeHwnd()) return;
  for (HWND h = ::GetWindow(pWnd->m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
    ::SendMessageA(h, WM_SETFONT, (WPARAM)hFont, TRUE);
}

void VxApplyGuiFontRule(CWnd* pWnd) {
  if (VxIsKnownCharset(VxGuiFontCharset())) return;
  VxSendFontToChildren(pWnd, (HFONT)::GetStockObject(DEFAULT_GUI_FONT));
}
