// CVxZoomWnd: the panel of bitmap buttons, its layout, enabling, fades and the cursor.
#include <Kitlib2/Utility.h>
#include <VxGUIDB.h>
#include <VxResourceIds.h>

#include "FullScreenShared.h"
#include "HoverBitmapButton.h"
#include "MovieCtrl.h"
#include "VxZoomWnd.h"

namespace {
struct ButtonFaces {
  UINT caption, normal, selected, focus, message;
};
// In creation order (ZoomButton); each button posts its command to the window.
const ButtonFaces kFaces[kZbCount] = {
    {IDS_ZOOM_CLOSE, IDB_ZOOM_CLOSE, IDB_ZOOM_CLOSE_SELECTED, IDB_ZOOM_CLOSE_FOCUS, WM_CLOSE},
    {IDS_ZOOM_NEXT_GROUP, IDB_ZOOM_NEXT_GROUP, IDB_ZOOM_NEXT_GROUP_SELECTED, IDB_ZOOM_NEXT_GROUP_FOCUS, ZWM_NEXT_GROUP},
    {IDS_ZOOM_NEXT_ITEM, IDB_ZOOM_NEXT_ITEM, IDB_ZOOM_NEXT_ITEM_SELECTED, IDB_ZOOM_NEXT_ITEM_FOCUS, ZWM_NEXT_ITEM},
    {IDS_ZOOM_PREV_ITEM, IDB_ZOOM_PREV_ITEM, IDB_ZOOM_PREV_ITEM_SELECTED, IDB_ZOOM_PREV_ITEM_FOCUS, ZWM_PREV_ITEM},
    {IDS_ZOOM_PREV_GROUP, IDB_ZOOM_PREV_GROUP, IDB_ZOOM_PREV_GROUP_SELECTED, IDB_ZOOM_PREV_GROUP_FOCUS, ZWM_PREV_GROUP},
    {IDS_ZOOM_IN, IDB_ZOOM_IN, IDB_ZOOM_IN_SELECTED, IDB_ZOOM_IN_FOCUS, ZWM_ZOOM_IN},
    {IDS_ZOOM_OUT, IDB_ZOOM_OUT, IDB_ZOOM_OUT_SELECTED, IDB_ZOOM_OUT_FOCUS, ZWM_ZOOM_OUT},
    {IDS_ZOOM_FIT, IDB_ZOOM_FIT, IDB_ZOOM_FIT_SELECTED, IDB_ZOOM_FIT_FOCUS, ZWM_FIT},
    {IDS_ZOOM_ACTUAL, IDB_ZOOM_ACTUAL, IDB_ZOOM_ACTUAL_SELECTED, IDB_ZOOM_ACTUAL_FOCUS, ZWM_ACTUAL},
    {IDS_MOVIE_PLAY, IDB_ZOOM_PLAY, IDB_ZOOM_PLAY_SELECTED, IDB_ZOOM_PLAY_FOCUS, ZWM_PLAY},
    {IDS_ZOOM_MARK, IDB_ZOOM_UNMARKED, IDB_ZOOM_UNMARKED_SELECTED, IDB_ZOOM_UNMARKED_FOCUS, ZWM_MARK},
};
}  // namespace

void CVxZoomWnd::CreatePanel() {
  if (m_apButtons[0]) return;
  CResourceChanger change;
  for (int i = 0; i < kZbCount; ++i) {
    CHoverBitmapButton* p = new CHoverBitmapButton();
    CString caption;
    caption.LoadString(kFaces[i].caption);
    if (i == kZbPlay) {
      CString pause;
      pause.LoadString(IDS_MOVIE_PAUSE);
      caption += "/" + pause;
    }
    if (!CreatePanelButton(this, p, i, caption, kFaces[i].normal, kFaces[i].selected, kFaces[i].focus)) {
      delete p;
      continue;
    }
    p->SetCommandMessage(this, kFaces[i].message, 0, 0);
    p->SetBackgroundWnd(this);
    p->SetToolTipText(caption, TRUE);
    p->SetCursor(m_hButtonCursor);
    m_apButtons[i] = p;
  }
  LayoutPanel();
}

void CVxZoomWnd::LayoutPanel() {
  SIZE sizes[kZbCount];
  PanelButtonSizes(m_apButtons, kZbCount, sizes);
  RECT places[kZbCount];
  ZoomPanelLayout(sizes, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                  ::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE), places);
  PlacePanelButtons(m_apButtons, kZbCount, places);
}

void CVxZoomWnd::ShowPanel(int nShow) {
  const bool bItem = m_bDisplayable && !m_strPath.IsEmpty();
  for (int i = 0; i < kZbCount; ++i) {
    CHoverBitmapButton* p = m_apButtons[i];
    if (!p) continue;
    const bool bAlways = i <= kZbPrevGroup;
    int n = nShow;
    if (nShow != SW_HIDE && !bAlways && !bItem) n = SW_HIDE;
    if (i == kZbPlay && !m_bMovie) n = SW_HIDE;
    if (n == SW_HIDE) {  // WM_SETREDRAW TRUE would make it visible again
      p->ShowWindow(SW_HIDE);
      continue;
    }
    p->SendMessage(WM_SETREDRAW, FALSE);
    p->ShowWindow(n);
    p->SendMessage(WM_SETREDRAW, TRUE);
    p->Invalidate();
    p->UpdateWindow();
  }
}

// Each step blends the buttons over their backgrounds; fully faded out they are hidden, so
// that nothing unseen takes a click or stops the fade by being under the mouse.
void CVxZoomWnd::ApplyAlpha() {
  for (CHoverBitmapButton* p : m_apButtons)
    if (p) p->SetAlpha(BYTE(m_nAlpha < 0 ? 0 : m_nAlpha > 255 ? 255 : m_nAlpha));
  ShowPanel(m_nAlpha >= 255 ? SW_HIDE : SW_SHOWNA);
}

void CVxZoomWnd::ResetButtonBackgrounds() {
  for (CHoverBitmapButton* p : m_apButtons)
    if (p) p->ResetBackground();
}

void CVxZoomWnd::CaptureButtonBackgrounds() {
  ::GdiFlush();
  for (CHoverBitmapButton* p : m_apButtons)
    if (p) p->CaptureBackground();
}

void CVxZoomWnd::TakeFocus() {
  HWND hFocus = ::GetFocus();
  if (hFocus != m_hWnd && !::IsChild(m_hWnd, hFocus)) ::SetFocus(m_hWnd);
}

void CVxZoomWnd::UpdateNavButtons(BOOL bBusy) {
  if (!m_pOwner || !m_apButtons[0]) return;
  m_apButtons[kZbClose]->EnableWindow(!bBusy);
  static const struct {
    int button, code;
  } kNav[] = {{kZbPrevGroup, ZOWN_HAS_PREV_GROUP},
              {kZbPrevItem, ZOWN_HAS_PREV_ITEM},
              {kZbNextItem, ZOWN_HAS_NEXT_ITEM},
              {kZbNextGroup, ZOWN_HAS_NEXT_GROUP}};
  for (const auto& n : kNav)
    if (m_apButtons[n.button]) m_apButtons[n.button]->EnableWindow(!bBusy && AskOwner(n.code) != 0);
  TakeFocus();
}

void CVxZoomWnd::UpdateButtons(BOOL bBusy) {
  if (!m_apButtons[0]) return;
  ZoomEnableInput in = {};
  in.bBusy = bBusy != FALSE;
  in.bDisplayable = m_bDisplayable && !m_strPath.IsEmpty();
  in.bMovie = m_bMovie != FALSE;
  in.bMarkable = m_bMarkable != FALSE;
  in.nZoom = m_nZoom;
  in.nFit = FitZoom();
  in.nImageW = m_nImageW;
  in.nImageH = m_nImageH;
  in.cx = ::GetSystemMetrics(SM_CXSCREEN);
  in.nUsableH = UsableHeight();
  in.dwMaxDecode = CMTLGetMaxDecodeSize();
  bool enabled[kZbCount];
  ZoomButtonsEnabled(in, enabled);
  for (int i = kZbZoomIn; i < kZbCount; ++i)
    if (m_apButtons[i]) m_apButtons[i]->EnableWindow(enabled[i]);
  if (in.bDisplayable) SetMarkImage(AskOwner(ZOWN_MARK_STATE) != 0);
  TakeFocus();
}

void CVxZoomWnd::SetMarkImage(BOOL bMarked) {
  m_bMarked = bMarked;
  CHoverBitmapButton* p = m_apButtons[kZbMark];
  if (!p) return;
  CResourceChanger change;
  if (bMarked)
    p->LoadBitmaps(MAKEINTRESOURCEA(IDB_ZOOM_MARKED), MAKEINTRESOURCEA(IDB_ZOOM_MARKED_SELECTED),
                   MAKEINTRESOURCEA(IDB_ZOOM_MARKED_FOCUS));
  else
    p->LoadBitmaps(MAKEINTRESOURCEA(IDB_ZOOM_UNMARKED), MAKEINTRESOURCEA(IDB_ZOOM_UNMARKED_SELECTED),
                   MAKEINTRESOURCEA(IDB_ZOOM_UNMARKED_FOCUS));
  p->Invalidate();
}

void CVxZoomWnd::RearmPanel(bool bMouseMove) {
  if (!m_apButtons[0]) return;
  if (m_nAlpha > 0) {
    if (bMouseMove) KillTimer(3);
    SetTimer(1, 50, NULL);
  } else {
    SetTimer(2, 2000, NULL);
  }
}

bool CVxZoomWnd::AnyButtonUnder(POINT ptScreen) const {
  HWND h = ::WindowFromPoint(ptScreen);
  for (CHoverBitmapButton* p : m_apButtons)
    if (p && p->GetSafeHwnd() == h && ::IsWindowVisible(h)) return true;
  return false;
}

void CVxZoomWnd::UpdateCursor(bool bLeftDown) {
  HCURSOR h = m_hArrow;
  switch (ZoomCursorFor(m_bDisplayable && !m_strPath.IsEmpty(), m_nZoom, FitZoom(), bLeftDown)) {
    case kZcClosedHand: h = m_hClosedHand; break;
    case kZcOpenHand: h = m_hOpenHand; break;
    default: break;
  }
  if (h && ::GetCursor() != h) ::SetCursor(h);
}
