// What the full-screen windows (zoom, slide show) share: the opening animation, the task
// bar they hide while they cover the screen, and the making and placing of their panel's
// bitmap buttons.
#pragma once
#include <fw/fw.h>

// A white frame growing from the centre of rc in 21 steps of 10 ms, on black; the screen
// is black afterwards. Stops early (returning false) as soon as *pbStop is set.
bool DrawFullScreenOpening(CDC& dc, const CRect& rc, const BOOL* pbStop);
void SetTaskBarShown(bool bShown);
// The owner's input method off while a full-screen window covers it, on again after.
void SetImeOpen(CWnd* pWnd, BOOL bOpen);

// Makes a panel button with the first free control id from 12288 + nIndex on, its three
// faces (resource library) and its size from them; FALSE when the window cannot be made.
BOOL CreatePanelButton(CWnd* pParent, CBitmapButton* pButton, int nIndex, LPCSTR pszCaption, UINT nNormal,
                       UINT nSelected, UINT nFocus);
// The buttons' sizes, and moving them to their places (null buttons are passed over).
template <class Button>
void PanelButtonSizes(Button* const* apButtons, int n, SIZE* pSizes) {
  for (int i = 0; i < n; ++i) {
    pSizes[i].cx = pSizes[i].cy = 0;
    if (!apButtons[i]) continue;
    CRect rc;
    apButtons[i]->GetWindowRect(&rc);
    pSizes[i].cx = rc.Width();
    pSizes[i].cy = rc.Height();
  }
}
template <class Button>
void PlacePanelButtons(Button* const* apButtons, int n, const RECT* pPlaces) {
  for (int i = 0; i < n; ++i)
    if (apButtons[i])
      apButtons[i]->SetWindowPos(NULL, pPlaces[i].left, pPlaces[i].top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
template <class Button>
void DestroyPanelButtons(Button** apButtons, int n) {
  for (int i = 0; i < n; ++i) {
    if (apButtons[i]) {
      apButtons[i]->DestroyWindow();
      delete apButtons[i];
    }
    apButtons[i] = NULL;
  }
}
