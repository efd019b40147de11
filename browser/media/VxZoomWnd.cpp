#include "VxZoomWnd.h"

#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <imm.h>

#include "FullScreenShared.h"
#include "HoverBitmapButton.h"
#include "LibraryCursor.h"
#include "MovieCtrl.h"

IMPLEMENT_DYNAMIC(CVxZoomWnd, CFrameWnd)

namespace {
enum { kTimerFadeIn = 1, kTimerIdle = 2, kTimerFadeOut = 3, kTimerMovie = 4 };
int ScreenW() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenH() { return ::GetSystemMetrics(SM_CYSCREEN); }
// The profile's "Continue": after a movie ends, go on to the next item.
bool ContinueAfterMovie() { return CMGetProfileInt("Settings\\Device\\GMRPLAY", "Continue", 0) != 0; }
}  // namespace

BEGIN_MESSAGE_MAP(CVxZoomWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SETCURSOR()
  ON_WM_KEYDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_MESSAGE(ZWM_PREV_GROUP, &CVxZoomWnd::OnPrevGroup)
  ON_MESSAGE(ZWM_PREV_ITEM, &CVxZoomWnd::OnPrevItem)
  ON_MESSAGE(ZWM_NEXT_ITEM, &CVxZoomWnd::OnNextItem)
  ON_MESSAGE(ZWM_NEXT_GROUP, &CVxZoomWnd::OnNextGroup)
  ON_MESSAGE(ZWM_ZOOM_IN, &CVxZoomWnd::OnZoomIn)
  ON_MESSAGE(ZWM_ZOOM_OUT, &CVxZoomWnd::OnZoomOut)
  ON_MESSAGE(ZWM_ACTUAL, &CVxZoomWnd::OnActual)
  ON_MESSAGE(ZWM_FIT, &CVxZoomWnd::OnFit)
  ON_MESSAGE(ZWM_MARK, &CVxZoomWnd::OnMark)
  ON_MESSAGE(ZWM_PLAY, &CVxZoomWnd::OnPlay)
END_MESSAGE_MAP()

CVxZoomWnd::CVxZoomWnd()
    : m_bOpened(FALSE),
      m_bMovieBusy(FALSE),
      m_bWantAnimation(TRUE),
      m_bReady(TRUE),
      m_bChanging(FALSE),
      m_bMovieClosing(FALSE),
      m_ptLast(-1, -1),
      m_ptDrag(-1, -1),
      m_nImageW(0),
      m_nImageH(0),
      m_nZoom(0),
      m_bDisplayable(FALSE),
      m_bMarked(FALSE),
      m_bMarkable(TRUE),
      m_bMovie(FALSE),
      m_hArrow(NULL),
      m_hClosedHand(NULL),
      m_hOpenHand(NULL),
      m_hButtonCursor(NULL),
      m_hNoPicture(NULL),
      m_nAlpha(0),
      m_bFirstPaintDone(FALSE),
      m_bPanelDrawn(FALSE),
      m_pOwner(NULL),
      m_pMovie(NULL),
      m_dResume(0),
      m_bWasPlaying(TRUE),
      m_uOwnerMsg(::RegisterWindowMessageA("VX3D_ZOOMMODE_WND")) {
  ::SetRectEmpty(&m_rcImage);
  for (CHoverBitmapButton*& p : m_apButtons) p = NULL;
}

CVxZoomWnd::~CVxZoomWnd() {
  if (m_pOwner && ::IsWindow(m_pOwner->GetSafeHwnd())) {
    ::SetFocus(m_pOwner->GetSafeHwnd());
    SetImeOpen(m_pOwner, TRUE);
  }
}

LRESULT CVxZoomWnd::AskOwner(int nCode, LPARAM lParam) const {
  if (!m_pOwner || !::IsWindow(m_pOwner->GetSafeHwnd())) return 0;
  return ::SendMessageA(m_pOwner->GetSafeHwnd(), m_uOwnerMsg, (WPARAM)nCode, lParam);
}

void CVxZoomWnd::SetMovieCtrl(CMovieCtrl* pMovie) {
  m_pMovie = pMovie;
  if (m_pMovie && m_pMovie->IsOpen()) {
    m_pMovie->GetPosition(m_dResume);
    m_bWasPlaying = m_pMovie->IsPlaying();
  }
}

int CVxZoomWnd::OnCreate(LPCREATESTRUCT lpcs) {
  SetImeOpen(m_pOwner, FALSE);
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  m_hArrow = ::LoadCursor(NULL, IDC_ARROW);
  m_hOpenHand = LibraryCursor(IDCUR_ZOOM_OPEN_HAND, IDC_HAND);
  m_hClosedHand = LibraryCursor(IDCUR_ZOOM_CLOSED_HAND, IDC_SIZEALL);
  m_hButtonCursor = LibraryCursor(IDCUR_PANEL_BUTTON, IDC_HAND);
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetFocus(m_hWnd);
  CreatePanel();
  ApplyAlpha();
  ShowPanel(SW_SHOW);
  LoadItem(TRUE);
  UpdateNavButtons(FALSE);
  UpdateButtons(FALSE);
  if (m_pOwner) ::PostMessageA(m_pOwner->GetSafeHwnd(), m_uOwnerMsg, ZOWN_CREATED, 0);
  Invalidate();
  return 0;
}

void CVxZoomWnd::OnClose() {
  m_bMovieBusy = TRUE;
  for (CHoverBitmapButton* p : m_apButtons)
    if (p) p->EnableWindow(FALSE);
  AskOwner(ZOWN_CLOSING);
  SetTaskBarShown(true);
  CFrameWnd::OnClose();
}

void CVxZoomWnd::OnDestroy() {
  CFrameWnd::OnDestroy();
  DestroyPanelButtons(m_apButtons, kZbCount);
}

BOOL CVxZoomWnd::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(0, 0, 0));
  return TRUE;
}

// The opening: a white-framed rectangle growing from the centre in 21 steps. A movie being
// opened (or the window closing) cuts it short without marking the window opened.
void CVxZoomWnd::Animate(CDC& dc) {
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, RGB(0, 0, 0));
  SetTaskBarShown(false);
  if (DrawFullScreenOpening(dc, rc, &m_bMovieBusy)) m_bOpened = TRUE;
}

void CVxZoomWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  if (m_bWantAnimation && !m_bOpened) Animate(dc);
  if (!m_bReady) {
    if (m_bChanging) {
      ResetButtonBackgrounds();
      ShowPanel(SW_HIDE);
      m_bPanelDrawn = FALSE;
      dc.FillSolidRect(&rcClient, RGB(0, 0, 0));
    }
    return;
  }
  if (m_bDisplayable && m_bMovie) {
    dc.ExcludeClipRect(&m_rcImage);
    dc.FillSolidRect(&rcClient, RGB(0, 0, 0));
  } else if (m_bDisplayable && !m_strPath.IsEmpty() && !m_scaled.IsEmpty()) {
    // Off screen first, so the picture never flickers through black.
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height());
    CBitmap* pOld = mem.SelectObject(&bmp);
    mem.FillSolidRect(&rcClient, RGB(0, 0, 0));
    m_scaled.Draw(mem.GetSafeHdc(), m_rcImage);
    dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
  } else {
    dc.FillSolidRect(&rcClient, RGB(0, 0, 0));
    if (m_hNoPicture) {
      BITMAP bm = {};
      ::GetObject(m_hNoPicture, sizeof(bm), &bm);
      CDC mem;
      mem.CreateCompatibleDC(&dc);
      HGDIOBJ hOld = ::SelectObject(mem.GetSafeHdc(), m_hNoPicture);
      dc.BitBlt((rcClient.Width() - bm.bmWidth) / 2, (rcClient.Height() - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight,
                &mem, 0, 0, SRCCOPY);
      ::SelectObject(mem.GetSafeHdc(), hOld);
    }
  }
  // The window has no WS_CLIPCHILDREN: what it just drew lies under the buttons too, before
  // they paint again over it.
  if (!m_bFirstPaintDone || !m_bPanelDrawn) CaptureButtonBackgrounds();
  m_bFirstPaintDone = TRUE;
  if (!m_bPanelDrawn && m_nAlpha < 255) {
    ShowPanel(SW_SHOWNA);
    m_bPanelDrawn = TRUE;
  }
}

BOOL CVxZoomWnd::SetImage(LPCSTR pszPath, BOOL bDisplayable, BOOL bMarkable, BOOL bMovie, BOOL bLoad) {
  m_nImageW = m_nImageH = m_nZoom = 0;
  ::SetRectEmpty(&m_rcImage);
  m_strPath = pszPath ? pszPath : "";
  m_bMarkable = bMarkable;
  m_bDisplayable = bDisplayable;
  m_bMovie = bMovie;
  m_bFirstPaintDone = FALSE;
  ResetButtonBackgrounds();
  if (!m_bOpened || !m_hWnd) return TRUE;
  BOOL bLoaded = bLoad ? LoadItem(FALSE) : FALSE;
  UpdateNavButtons(FALSE);
  UpdateButtons(FALSE);
  Invalidate();
  UpdateWindow();
  return bLoaded;
}

BOOL CVxZoomWnd::LoadItem(BOOL bResume) {
  KillTimer(kTimerMovie);
  m_nImageW = m_nImageH = 0;
  m_source.Empty();
  m_scaled.Empty();
  if (m_bDisplayable && !m_strPath.IsEmpty()) {
    if (m_bMovie) {
      if (m_pMovie && m_pMovie->IsOpen()) {
        int w = 0, h = 0;
        m_pMovie->GetVideoSize(&w, &h);
        m_nImageW = w < ScreenW() ? w : ScreenW();
        m_nImageH = h < ScreenH() ? h : ScreenH();
        m_pMovie->Seek(m_dResume, !m_bWasPlaying);
        m_dResume = 0;
        if (m_bWasPlaying) m_pMovie->TogglePlay(FALSE);
        ::Sleep(10);
        m_pMovie->RedrawVideo();
        m_bWasPlaying = TRUE;
        SetTimer(kTimerMovie, 1000, NULL);
      } else {
        m_bDisplayable = FALSE;
      }
    } else if (m_source.Load(m_strPath, 0) >= 0 && !m_source.IsEmpty()) {
      int nOrientation = 1;
      CCMDIB::GetOrientationInfo(m_strPath, &nOrientation);
      if (nOrientation > 1) m_source.RotationFilter2(nOrientation, NULL);
      m_nImageW = m_source.GetWidth();
      m_nImageH = m_source.GetHeight();
    } else {
      m_bDisplayable = FALSE;
    }
  }
  SetZoom(0, bResume);
  return m_nImageW > 0;
}

int CVxZoomWnd::UsableHeight() const {
  if (!m_bMovie || !m_pMovie || !m_pMovie->IsOpen()) return ScreenH();
  RECT rc = {};
  m_pMovie->FitVideoRect(0, 0, ScreenW(), ScreenH(), &rc);
  return ZoomUsableHeight(true, rc.bottom - rc.top, ScreenH());
}

int CVxZoomWnd::FitZoom() const { return ZoomFitPercent(m_nImageW, m_nImageH, ScreenW(), UsableHeight()); }

int CVxZoomWnd::SetZoom(int nPercent, BOOL bFlag) {
  if (!m_bDisplayable || m_nImageW <= 0) m_nZoom = 0;
  const int fit = FitZoom();
  const int z0 = m_nZoom ? m_nZoom : fit;
  int z = nPercent ? nPercent : fit;
  z = z < kZoomMin ? kZoomMin : (z > kZoomMax ? kZoomMax : z);
  const int h = UsableHeight();
  ZoomPlacement place = ZoomPlace(m_nImageW, m_nImageH, z, z0, m_rcImage, ScreenW(), h);
  m_nZoom = z;
  m_rcImage = place.rcImage;
  m_scaled.Empty();
  if (m_bMovie && m_pMovie && m_pMovie->IsOpen()) {
    if (h != ScreenH()) ::OffsetRect(&m_rcImage, 0, 60);
    m_pMovie->SetVideoRect(m_rcImage, bFlag);
    ::Sleep(10);
    m_pMovie->RedrawVideo();
  } else if (!m_source.IsEmpty()) {
    SIZE sz = {m_rcImage.right - m_rcImage.left, m_rcImage.bottom - m_rcImage.top};
    m_source.ResizeFilter(sz, &m_scaled, 32);
  }
  return m_nZoom;
}

void CVxZoomWnd::RunCommand(UINT nMessage) {
  const bool bHasItem = m_bDisplayable && !m_strPath.IsEmpty();
  const int fit = FitZoom();
  int target = -1;
  switch (nMessage) {
    case ZWM_PREV_GROUP: AskOwner(ZOWN_PREV_GROUP); return;
    case ZWM_PREV_ITEM: AskOwner(ZOWN_PREV_ITEM); return;
    case ZWM_NEXT_ITEM: AskOwner(ZOWN_NEXT_ITEM); return;
    case ZWM_NEXT_GROUP: AskOwner(ZOWN_NEXT_GROUP); return;
    case ZWM_MARK:
      if (AskOwner(ZOWN_SET_MARK, !m_bMarked)) SetMarkImage(!m_bMarked);
      return;
    case ZWM_PLAY:
      if (m_pMovie && m_pMovie->IsOpen()) m_pMovie->TogglePlay(FALSE);
      return;
    case ZWM_ZOOM_IN: target = ZoomStepIn(m_nZoom); break;
    case ZWM_ZOOM_OUT: target = ZoomStepOut(m_nZoom); break;
    case ZWM_ACTUAL: target = 100; break;
    case ZWM_FIT: target = fit; break;
  }
  if (!bHasItem || target < 0) return;
  if (m_bMovie && target > fit) target = fit;
  if (target == m_nZoom) return;
  ::LockWindowUpdate(m_hWnd);
  SetZoom(target, TRUE);
  ::LockWindowUpdate(NULL);
  m_bFirstPaintDone = FALSE;  // another picture under the panel
  ResetButtonBackgrounds();
  UpdateButtons(FALSE);
  RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

LRESULT CVxZoomWnd::OnPrevGroup(WPARAM, LPARAM) { return OnZoomCommand(ZWM_PREV_GROUP); }
LRESULT CVxZoomWnd::OnPrevItem(WPARAM, LPARAM) { return OnZoomCommand(ZWM_PREV_ITEM); }
LRESULT CVxZoomWnd::OnNextItem(WPARAM, LPARAM) { return OnZoomCommand(ZWM_NEXT_ITEM); }
LRESULT CVxZoomWnd::OnNextGroup(WPARAM, LPARAM) { return OnZoomCommand(ZWM_NEXT_GROUP); }
LRESULT CVxZoomWnd::OnZoomIn(WPARAM, LPARAM) { return OnZoomCommand(ZWM_ZOOM_IN); }
LRESULT CVxZoomWnd::OnZoomOut(WPARAM, LPARAM) { return OnZoomCommand(ZWM_ZOOM_OUT); }
LRESULT CVxZoomWnd::OnActual(WPARAM, LPARAM) { return OnZoomCommand(ZWM_ACTUAL); }
LRESULT CVxZoomWnd::OnFit(WPARAM, LPARAM) { return OnZoomCommand(ZWM_FIT); }
LRESULT CVxZoomWnd::OnMark(WPARAM, LPARAM) { return OnZoomCommand(ZWM_MARK); }
LRESULT CVxZoomWnd::OnPlay(WPARAM, LPARAM) { return OnZoomCommand(ZWM_PLAY); }

LRESULT CVxZoomWnd::OnZoomCommand(UINT nMessage) {
  static const struct {
    UINT msg;
    int button;
  } kButtons[] = {{ZWM_PREV_GROUP, kZbPrevGroup}, {ZWM_PREV_ITEM, kZbPrevItem}, {ZWM_NEXT_ITEM, kZbNextItem},
                  {ZWM_NEXT_GROUP, kZbNextGroup}, {ZWM_ZOOM_IN, kZbZoomIn},     {ZWM_ZOOM_OUT, kZbZoomOut},
                  {ZWM_ACTUAL, kZbActual},        {ZWM_FIT, kZbFit},            {ZWM_MARK, kZbMark},
                  {ZWM_PLAY, kZbPlay}};
  for (const auto& b : kButtons) {
    if (b.msg != nMessage) continue;
    CHoverBitmapButton* p = m_apButtons[b.button];
    if (!p || !p->IsWindowEnabled()) return 0;
    m_nAlpha = 0;
    ApplyAlpha();
    HCURSOR hOld = nMessage != ZWM_MARK ? ::SetCursor(::LoadCursor(NULL, IDC_WAIT)) : NULL;
    RunCommand(nMessage);
    if (hOld) ::SetCursor(hOld);
    return 0;
  }
  return 0;
}

void CVxZoomWnd::OnKeyDown(UINT nChar, UINT, UINT nFlags) {
  if (!m_bOpened) return;
  if (nFlags & 0x4000) {  // held down: only keep a shown panel from fading
    if (m_nAlpha == 0) SetTimer(kTimerIdle, 2000, NULL);
    return;
  }
  for (UINT_PTR t = kTimerFadeIn; t <= kTimerFadeOut; ++t) KillTimer(t);
  const bool bShift = ::GetKeyState(VK_SHIFT) < 0, bCtrl = ::GetKeyState(VK_CONTROL) < 0;
  switch (nChar) {
    case VK_ESCAPE:
      PostMessage(WM_CLOSE);
      return;
    case VK_LEFT:
      if (AskOwner(bShift ? ZOWN_HAS_PREV_GROUP : ZOWN_HAS_PREV_ITEM))
        SendMessage(bShift ? ZWM_PREV_GROUP : ZWM_PREV_ITEM);
      break;
    case VK_RIGHT:
      if (AskOwner(bShift ? ZOWN_HAS_NEXT_GROUP : ZOWN_HAS_NEXT_ITEM))
        SendMessage(bShift ? ZWM_NEXT_GROUP : ZWM_NEXT_ITEM);
      break;
    case 'A':
      if (bCtrl) SendMessage(ZWM_ACTUAL);
      break;
    case 'B':
      if (bCtrl) SendMessage(ZWM_FIT);
      break;
    case 'M':
      if (bCtrl) SendMessage(ZWM_MARK);
      break;
    case VK_ADD:
      SendMessage(ZWM_ZOOM_IN);
      break;
    case VK_SUBTRACT:
      SendMessage(ZWM_ZOOM_OUT);
      break;
    case VK_F4:
      if (::GetKeyState(VK_MENU) < 0) {
        PostMessage(WM_CLOSE);
        if (m_pOwner && m_pOwner->GetParentFrame()) m_pOwner->GetParentFrame()->PostMessage(WM_CLOSE);
        return;
      }
      break;
  }
  UpdateCursor(false);
  POINT pt;
  ::GetCursorPos(&pt);
  ::SetCursorPos(pt.x, pt.y);
  RearmPanel(false);
}

BOOL CVxZoomWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == 1865) {  // the bridge's end of a movie
    if (ContinueAfterMovie() && m_pMovie) {
      m_pMovie->m_bGoNext = FALSE;
      if (AskOwner(ZOWN_HAS_NEXT_ITEM)) AskOwner(ZOWN_NEXT_ITEM);
    }
  }
  if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) {
    const UINT k = (UINT)pMsg->wParam;
    if (::GetKeyState(VK_CONTROL) < 0 &&
        (k == '1' || k == '2' || k == '4' || k == VK_NUMPAD1 || k == VK_NUMPAD2 || k == VK_NUMPAD4)) {
      // A view change: leave full screen and let the main window take the key.
      SendMessage(WM_CLOSE);
      if (CWnd* pMain = AfxGetMainWnd()) pMain->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
      return TRUE;
    }
    OnKeyDown(k, LOWORD(pMsg->lParam), HIWORD(pMsg->lParam));
    return TRUE;
  }
  if (pMsg->message == WM_MOUSEMOVE && m_pMovie && m_pMovie->IsVideoWindow(pMsg->hwnd)) {
    POINT pt = {(short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam)};
    ::ClientToScreen(pMsg->hwnd, &pt);
    ScreenToClient(&pt);
    SendMessage(WM_MOUSEMOVE, pMsg->wParam, MAKELPARAM(pt.x, pt.y));
    return TRUE;
  }
  return CFrameWnd::PreTranslateMessage(pMsg);
}

void CVxZoomWnd::OnLButtonDown(UINT, CPoint pt) {
  if (!m_bOpened) return;
  UpdateCursor(true);
  for (UINT_PTR t = kTimerFadeIn; t <= kTimerFadeOut; ++t) KillTimer(t);
  const int h = UsableHeight();
  const bool bFits = (m_rcImage.right - m_rcImage.left) <= ScreenW() && (m_rcImage.bottom - m_rcImage.top) <= h;
  if (!bFits && ::PtInRect(&m_rcImage, pt)) {
    m_nAlpha = 255;
    ApplyAlpha();
    ResetButtonBackgrounds();
    m_bPanelDrawn = FALSE;
    m_ptDrag = pt;
  } else if (!bFits) {
    m_nAlpha = 0;
    ApplyAlpha();
  } else {
    RearmPanel(false);
  }
  SetCapture();
}

void CVxZoomWnd::OnLButtonUp(UINT, CPoint) {
  if (!m_bOpened) return;
  ::ReleaseCapture();
  for (UINT_PTR t = kTimerFadeIn; t <= kTimerFadeOut; ++t) KillTimer(t);
  if (m_ptDrag.x != -1) {
    m_nAlpha = 0;
    ApplyAlpha();
    UpdateButtons(FALSE);
    m_bPanelDrawn = FALSE;
    Invalidate(FALSE);
  }
  m_ptDrag = CPoint(-1, -1);
  UpdateCursor(false);
  RearmPanel(false);
}

void CVxZoomWnd::OnLButtonDblClk(UINT, CPoint) {
  if (m_bOpened) PostMessage(WM_CLOSE);
}

void CVxZoomWnd::OnRButtonDown(UINT, CPoint) {
  if (!m_bOpened) return;
  UpdateCursor(false);
  for (UINT_PTR t = kTimerFadeIn; t <= kTimerFadeOut; ++t) KillTimer(t);
  RearmPanel(false);
}

void CVxZoomWnd::OnMouseMove(UINT nFlags, CPoint pt) {
  if (pt == m_ptLast) return;
  m_ptLast = pt;
  KillTimer(kTimerIdle);
  if ((nFlags & MK_LBUTTON) && m_ptDrag.x != -1) {
    int moved = 0;
    const int w = m_rcImage.right - m_rcImage.left, hh = m_rcImage.bottom - m_rcImage.top;
    int sx = -m_rcImage.left, sy = -m_rcImage.top;
    const int nx = ZoomPan(sx, pt.x - m_ptDrag.x, w, ScreenW(), &moved);
    ::OffsetRect(&m_rcImage, moved, 0);
    const int ny = ZoomPan(sy, pt.y - m_ptDrag.y, hh, UsableHeight(), &moved);
    ::OffsetRect(&m_rcImage, 0, moved);
    (void)nx;
    (void)ny;
    Invalidate(FALSE);
    m_ptDrag = pt;
    return;
  }
  RearmPanel(true);
}

BOOL CVxZoomWnd::OnSetCursor(CWnd*, UINT, UINT) {
  UpdateCursor(::GetKeyState(VK_LBUTTON) < 0);
  return TRUE;
}

void CVxZoomWnd::OnTimer(UINT_PTR nId) {
  switch (nId) {
    case kTimerFadeIn:
      if (m_nAlpha == 255) UpdateButtons(FALSE);
      if (m_nAlpha < 1) {
        m_nAlpha = 0;
        KillTimer(kTimerFadeIn);
        SetTimer(kTimerIdle, 2000, NULL);
      } else {
        m_nAlpha = ZoomFadeIn(m_nAlpha);
        ApplyAlpha();
      }
      break;
    case kTimerIdle: {
      if (!m_bDisplayable) break;
      POINT pt;
      ::GetCursorPos(&pt);
      HWND hCapture = ::GetCapture();
      if (!AnyButtonUnder(pt) && !(hCapture && ::IsChild(m_hWnd, hCapture))) {
        KillTimer(kTimerIdle);
        SetTimer(kTimerFadeOut, 50, NULL);
      }
      break;
    }
    case kTimerFadeOut: {
      bool bHover = false;
      POINT pt;
      ::GetCursorPos(&pt);
      bHover = AnyButtonUnder(pt);
      if (bHover) {
        KillTimer(kTimerFadeOut);
        SetTimer(kTimerIdle, 2000, NULL);
      } else if (m_nAlpha >= 255) {
        m_nAlpha = 255;
        KillTimer(kTimerFadeOut);
      } else {
        m_nAlpha = ZoomFadeOut(m_nAlpha);
        ApplyAlpha();
      }
      break;
    }
    case kTimerMovie:
      if (!m_pMovie) break;
      m_pMovie->IsPlaying();
      if (m_pMovie->m_bGoNext) {
        m_pMovie->m_bGoNext = FALSE;
        if (AskOwner(ZOWN_HAS_NEXT_ITEM)) {
          AskOwner(ZOWN_NEXT_ITEM);
        } else {
          m_pMovie->Stop();
          m_pMovie->Seek(0, FALSE);
          m_pMovie->Pause();
        }
      }
      break;
  }
}
