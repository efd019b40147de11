#include "VxSlideShowWnd.h"

#include <Kitlib2/Utility.h>
#include <OwnMessages.h>
#include <VxResourceIds.h>

#include "FullScreenShared.h"
#include "HoverBitmapButton.h"
#include "LibraryCursor.h"
#include "TransInternal.h"

IMPLEMENT_DYNAMIC(CVxSlideShowWnd, CFrameWnd)

namespace {
enum { kTimerIdle = 2, kTimerHide = 3, kTimerEnd = 4 };
char g_szHostModule[MAX_PATH] = "Marlo5.exe";

struct ButtonFaces {
  UINT caption, normal, selected, focus, message;
};
const ButtonFaces kFaces[kSbCount] = {
    {IDS_ZOOM_CLOSE, IDB_ZOOM_CLOSE, IDB_ZOOM_CLOSE_SELECTED, IDB_ZOOM_CLOSE_FOCUS, WM_CLOSE},
    {IDS_SLIDE_PAUSE, IDB_SLIDE_PAUSE, IDB_SLIDE_PAUSE_SELECTED, IDB_SLIDE_PAUSE_FOCUS, SSWM_PLAY_PAUSE},
    {IDS_SLIDE_SETTINGS, IDB_SLIDE_SETTINGS, IDB_SLIDE_SETTINGS_SELECTED, IDB_SLIDE_SETTINGS_FOCUS, SSWM_SETTINGS},
};

}  // namespace

BEGIN_MESSAGE_MAP(CVxSlideShowWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SHOWWINDOW()
  ON_WM_SETCURSOR()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_MESSAGE(WM_DISPLAYCHANGE, &CVxSlideShowWnd::OnDisplayChange)
  ON_MESSAGE(WM_IME_NOTIFY, &CVxSlideShowWnd::OnImeNotify)
  ON_MESSAGE(SSWM_PLAY_PAUSE, &CVxSlideShowWnd::OnPlayPause)
  ON_MESSAGE(SSWM_SETTINGS, &CVxSlideShowWnd::OnSettings)
  ON_MESSAGE(imgbutton::kTipRectMessage, &CVxSlideShowWnd::OnClearRect)
END_MESSAGE_MAP()

void CVxSlideShowWnd::SetHostModule(LPCSTR pszModule) {
  lstrcpynA(g_szHostModule, pszModule ? pszModule : "Marlo5.exe", MAX_PATH);
}

CVxSlideShowWnd::CVxSlideShowWnd()
    : m_bOpened(FALSE),
      m_bPlaying(FALSE),
      m_bButtonsOnTop(FALSE),
      m_bItemsSet(FALSE),
      m_bImeNotified(FALSE),
      m_ptLast(-1, -1),
      m_pOwner(NULL),
      m_loader("SlideRunnerWrapper.DLL", g_szHostModule),
      m_pPlayer(NULL),
      m_type(SLD_TYPE_0),
      m_quality(SLD_QUALITY_0),
      m_nRepeat(0),
      m_prevExecState(0),
      m_bSaverWasActive(FALSE),
      m_bRestarting(FALSE),
      m_hButtonCursor(NULL),
      m_hClosedHand(NULL),
      m_hOpenHand(NULL),
      m_hArrow(NULL),
      m_nPanelAlpha(0),
      m_bPlayLook(FALSE),
      m_uOwnerMsg(::RegisterWindowMessageA("VX3D_SLIDESHOW_WND")) {
  for (CHoverBitmapButton*& p : m_apButtons) p = NULL;
}

CVxSlideShowWnd::~CVxSlideShowWnd() {
  if (m_pOwner && ::IsWindow(m_pOwner->GetSafeHwnd())) {
    ::SetFocus(m_pOwner->GetSafeHwnd());
    SetImeOpen(m_pOwner, TRUE);
  }
  ReleasePlayer();  // also when the window never came to be
}

HRESULT CVxSlideShowWnd::SetItems(CWnd* pOwner, SLD_QUALITY quality, SLD_TYPE type,
                                  const std::vector<tagSLD_V_TYPE>* pSlides, const std::vector<tagSLD_A_TYPE>* pMusic,
                                  int nRepeat) {
  if (!pOwner || !pSlides || pSlides->empty()) return E_POINTER;
  if (GetSafeHwnd()) ReleasePlayer();
  m_bItemsSet = TRUE;
  m_pOwner = pOwner;
  m_quality = quality;
  m_type = type;
  m_nRepeat = nRepeat;
  m_slides = *pSlides;
  if (pMusic)
    m_music = *pMusic;
  else
    m_music.clear();
  return S_OK;
}

void CVxSlideShowWnd::ReleasePlayer() {
  if (m_pPlayer) {
    m_pPlayer->Close();
    m_pPlayer->Release();
    m_pPlayer = NULL;
  }
  m_bPlaying = FALSE;
  if (m_prevExecState) {
    ::SetThreadExecutionState(m_prevExecState);
    m_prevExecState = 0;
  }
  if (m_bSaverWasActive) {
    ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, NULL, SPIF_SENDCHANGE);
    m_bSaverWasActive = FALSE;
  }
}

int CVxSlideShowWnd::OnCreate(LPCREATESTRUCT lpcs) {
  SetImeOpen(m_pOwner, FALSE);
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  m_prevExecState = ::SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
  BOOL bSaver = FALSE;
  if (::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &bSaver, 0) && bSaver) {
    ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, NULL, SPIF_SENDCHANGE);
    m_bSaverWasActive = TRUE;
  }
  m_hButtonCursor = LibraryCursor(IDCUR_PANEL_BUTTON, IDC_HAND);
  m_hClosedHand = LibraryCursor(IDCUR_ZOOM_CLOSED_HAND, IDC_SIZEALL);
  m_hOpenHand = LibraryCursor(IDCUR_ZOOM_OPEN_HAND, IDC_HAND);
  m_hArrow = ::LoadCursor(NULL, IDC_ARROW);
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetFocus(m_hWnd);
  if (!m_pPlayer) m_loader.CreateInstance(CLSID_SlidePlayer, IID_ISlidePlayer, (void**)&m_pPlayer);
  CreatePanel();
  for (CHoverBitmapButton* p : m_apButtons)
    if (p) p->ShowWindow(SW_SHOW);
  if (m_pOwner) ::PostMessageA(m_pOwner->GetSafeHwnd(), m_uOwnerMsg, SSOWN_CREATED, 0);
  Invalidate();
  return 0;
}

void CVxSlideShowWnd::OnClose() {
  Stop();
  {
    CWaitCursor wait;
    for (CHoverBitmapButton* p : m_apButtons)
      if (p) p->EnableWindow(FALSE);
    UpdateWindow();
    if (m_pOwner && ::IsWindow(m_pOwner->GetSafeHwnd()))
      ::SendMessageA(m_pOwner->GetSafeHwnd(), m_uOwnerMsg, SSOWN_CLOSING, 0);
    SetTaskBarShown(true);
  }
  CFrameWnd::OnClose();
}

void CVxSlideShowWnd::OnDestroy() {
  m_bOpened = FALSE;
  {
    CWaitCursor wait;
    Stop();
    ShowWindow(SW_HIDE);
    ReleasePlayer();
  }
  CFrameWnd::OnDestroy();
  DestroyPanelButtons(m_apButtons, kSbCount);
  if (CWnd* pMain = AfxGetMainWnd()) {
    if (pMain != this && ::IsWindow(pMain->GetSafeHwnd())) {
      pMain->Invalidate();
      pMain->UpdateWindow();
    }
  }
}

void CVxSlideShowWnd::FillBlack() {
  CClientDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, RGB(0, 0, 0));
}

void CVxSlideShowWnd::OnPaint() {
  if (!m_bOpened) {
    m_bOpened = TRUE;
    {
      CPaintDC dc(this);
      CRect rc;
      GetClientRect(&rc);
      SetTaskBarShown(false);
      DrawFullScreenOpening(dc, rc, NULL);
    }
    if (m_bItemsSet) {
      m_bItemsSet = FALSE;
      if (FAILED(LoadPlayer())) {
        PostMessage(WM_CLOSE);
        return;
      }
      Play();
    }
    return;
  }
  if (!m_bButtonsOnTop) {
    m_bButtonsOnTop = TRUE;
    for (CHoverBitmapButton* p : m_apButtons)
      if (p) p->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  {
    CPaintDC dc(this);
    if (m_bRestarting) {
      CRect rc;
      GetClientRect(&rc);
      dc.FillSolidRect(&rc, RGB(0, 0, 0));
      return;
    }
  }
  // The player owns the picture: it draws again what was uncovered.
  if (m_pPlayer) m_pPlayer->Redraw();
}

HRESULT CVxSlideShowWnd::LoadPlayer() {
  if (!m_pPlayer || m_slides.empty()) return E_FAIL;
  CWaitCursor wait;
  const int nKind = SlideKindCode(m_type);
  const std::vector<SlidePlayerRecord> records = SlidePlayerRecords(m_slides, nKind);
  const std::vector<SlidePlayerMusic> music = SlidePlayerMusicList(m_music);
  const HRESULT hr = m_pPlayer->Load(m_hWnd, SlideQualityCode(m_quality), nKind, records.data(), (int)records.size(),
                                     music.empty() ? NULL : music.data(), (int)music.size(), m_nRepeat);
  if (FAILED(hr)) ShowError(IDS_SLIDE_LOAD_FAILED, hr);
  return hr;
}

void CVxSlideShowWnd::ShowError(UINT nFormat, HRESULT hr) {
  LPSTR pszSystem = NULL;
  ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                   (DWORD)hr, 1024, (LPSTR)&pszSystem, 0, NULL);
  CString text(pszSystem ? pszSystem : "");
  if (pszSystem) ::LocalFree(pszSystem);
  text.TrimRight("\r\n");
  if (text.IsEmpty()) text.Format("0x%08lX", (unsigned long)hr);
  GuardedMessageBoxId(m_hWnd, nFormat, MB_ICONEXCLAMATION, text);
}

HRESULT CVxSlideShowWnd::Play() {
  if (!m_pPlayer) return E_FAIL;
  m_nPanelAlpha = 0;
  const HRESULT hr = m_pPlayer->Play();
  if (FAILED(hr)) {
    ShowError(IDS_SLIDE_PLAY_FAILED, hr);
    return hr;
  }
  m_bPlaying = TRUE;
  SetPlayButton(FALSE);
  HidePanel();
  if (!m_nRepeat) SetTimer(kTimerEnd, 1000, NULL);
  return hr;
}

HRESULT CVxSlideShowWnd::Stop() {
  if (!m_pPlayer) return E_FAIL;
  KillTimer(kTimerEnd);
  if (m_bPlaying) {
    const HRESULT hr = m_pPlayer->Stop();
    if (FAILED(hr)) return hr;
  }
  m_bPlaying = FALSE;
  if (m_bOpened) SetPlayButton(TRUE);
  if (GetSafeHwnd()) ShowPanelNow();
  return S_OK;
}

void CVxSlideShowWnd::Restart() {
  m_bRestarting = TRUE;
  Stop();
  if (CWnd* pMain = AfxGetMainWnd())
    if (pMain != this && ::IsWindow(pMain->GetSafeHwnd())) pMain->SendMessage(WM_COMMAND, ID_TOOLS_SLIDESHOW_SETTINGS);
  KillTimer(kTimerIdle);
  KillTimer(kTimerHide);
  if (m_bItemsSet) {
    m_bItemsSet = FALSE;
    if (!m_pPlayer) m_loader.CreateInstance(CLSID_SlidePlayer, IID_ISlidePlayer, (void**)&m_pPlayer);
    if (FAILED(LoadPlayer())) {
      m_bRestarting = FALSE;
      PostMessage(WM_CLOSE);
      return;
    }
  }
  HidePanel();
  m_bRestarting = FALSE;
  if (m_pPlayer) m_pPlayer->Redraw();
  ShowPanelNow();
}

LRESULT CVxSlideShowWnd::OnPlayPause(WPARAM, LPARAM) {
  CWaitCursor wait;
  if (m_bPlaying)
    Stop();
  else
    Play();
  return 0;
}

LRESULT CVxSlideShowWnd::OnSettings(WPARAM, LPARAM) {
  Restart();
  return 0;
}

// The rectangle to clear comes as a pointer: only from the buttons' own sends
// (OwnMessages.h), in lParam, or in wParam as older buttons send it.
LRESULT CVxSlideShowWnd::OnClearRect(WPARAM wParam, LPARAM lParam) {
  if (ownmsg::IsForeign(imgbutton::kTipRectMessage, wParam, lParam)) return 0;
  const RECT* pRect = (const RECT*)(lParam == 0 ? wParam : (wParam == 0 ? (WPARAM)lParam : 0));
  if (!pRect) return 0;
  const RECT rc = *pRect;
  {
    CClientDC dc(this);
    dc.FillSolidRect(&rc, RGB(0, 0, 0));
  }
  InvalidateRect(&rc, FALSE);
  UpdateWindow();
  return 0;
}

BOOL CVxSlideShowWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_SCREENSAVE) return TRUE;
  if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) {
    HandleKey((UINT)pMsg->wParam, (pMsg->lParam & 0x40000000) != 0, (pMsg->lParam & 0x20000000) != 0);
    return TRUE;
  }
  return CFrameWnd::PreTranslateMessage(pMsg);
}

void CVxSlideShowWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  HandleKey(nChar, (nFlags & 0x4000) != 0 || nRepCnt > 1, ::GetKeyState(VK_MENU) < 0);
}

void CVxSlideShowWnd::HandleKey(UINT nChar, BOOL bRepeat, BOOL bAlt) {
  if (!m_bOpened) return;
  if (bRepeat) {
    if (m_nPanelAlpha == 0) SetTimer(kTimerIdle, 2000, NULL);
    return;
  }
  KillTimer(kTimerIdle);
  KillTimer(kTimerHide);
  if (nChar == VK_ESCAPE) {
    PostMessage(WM_CLOSE);
    return;
  }
  if (nChar == VK_F4 && bAlt) {
    PostMessage(WM_CLOSE);
    if (m_pOwner)
      if (CWnd* pFrame = m_pOwner->GetParentFrame()) pFrame->PostMessage(WM_CLOSE);
    return;
  }
  UpdateCursor();
  AfterInput();
}

// After input: the panel comes when hidden, else its idle count starts again.
void CVxSlideShowWnd::AfterInput() {
  if (m_nPanelAlpha != 0)
    ShowPanelNow();
  else
    SetTimer(kTimerIdle, 2000, NULL);
}

void CVxSlideShowWnd::OnLButtonDown(UINT, CPoint) {
  if (!m_bOpened) return;
  UpdateCursor();
  KillTimer(kTimerIdle);
  KillTimer(kTimerHide);
  SetCapture();
}

void CVxSlideShowWnd::OnLButtonUp(UINT, CPoint) {
  if (!m_bOpened) return;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  KillTimer(kTimerIdle);
  KillTimer(kTimerHide);
  AfterInput();
}

void CVxSlideShowWnd::OnRButtonDown(UINT, CPoint) {
  if (!m_bOpened) return;
  UpdateCursor();
  KillTimer(kTimerIdle);
  KillTimer(kTimerHide);
  AfterInput();
}

void CVxSlideShowWnd::OnMouseMove(UINT, CPoint pt) {
  if (!m_bOpened || pt == m_ptLast) return;
  m_ptLast = pt;
  KillTimer(kTimerIdle);
  KillTimer(kTimerHide);
  AfterInput();
}

void CVxSlideShowWnd::OnTimer(UINT_PTR nId) {
  switch (nId) {
    case kTimerIdle: {
      HWND hCapture = ::GetCapture();
      if (!CursorOverButton() && !(hCapture && ::IsChild(m_hWnd, hCapture))) {
        KillTimer(kTimerIdle);
        SetTimer(kTimerHide, 50, NULL);
      }
      break;
    }
    case kTimerHide:
      if (CursorOverButton()) {
        KillTimer(kTimerHide);
        SetTimer(kTimerIdle, 2000, NULL);
      } else if (m_nPanelAlpha != 255) {
        m_nPanelAlpha = 255;
      } else {
        KillTimer(kTimerHide);
        HidePanel();
        if (m_pPlayer) m_pPlayer->Redraw();
      }
      break;
    case kTimerEnd: {
      KillTimer(kTimerEnd);
      int nState = 0;
      if (m_pPlayer && SUCCEEDED(m_pPlayer->GetState(&nState)) && nState == kSlideStateEnded) {
        Stop();
        KillTimer(kTimerIdle);
        KillTimer(kTimerHide);
        ShowPanelNow();
      } else if (m_bPlaying) {
        SetTimer(kTimerEnd, 1000, NULL);
      }
      break;
    }
    default: CFrameWnd::OnTimer(nId);
  }
}

BOOL CVxSlideShowWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (pWnd == this && nHitTest == HTCLIENT) {
    UpdateCursor();
    return TRUE;
  }
  return CFrameWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CVxSlideShowWnd::UpdateCursor() {
  HCURSOR h = m_hArrow;
  if (!m_bPlaying) h = ::GetKeyState(VK_LBUTTON) < 0 ? m_hClosedHand : m_hOpenHand;
  if (h && ::GetCursor() != h) ::SetCursor(h);
}

LRESULT CVxSlideShowWnd::OnDisplayChange(WPARAM, LPARAM) {
  const int ex = ::GetSystemMetrics(SM_CXEDGE), ey = ::GetSystemMetrics(SM_CYEDGE);
  SetWindowPos(NULL, -ex, -ey, ::GetSystemMetrics(SM_CXSCREEN) + 2 * ex, ::GetSystemMetrics(SM_CYSCREEN) + 2 * ey,
               SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutPanel();
  m_bButtonsOnTop = FALSE;
  ResetButtons();
  return 0;
}

void CVxSlideShowWnd::OnShowWindow(BOOL bShow, UINT nStatus) {
  if (bShow) ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CFrameWnd::OnShowWindow(bShow, nStatus);
  if (bShow) {
    ResetButtons();
    Invalidate(FALSE);
  }
}

LRESULT CVxSlideShowWnd::OnImeNotify(WPARAM, LPARAM) {
  if (!m_bImeNotified) {
    m_bImeNotified = TRUE;
    ResetButtons();
  }
  return 0;
}

// ---- Panel --------------------------------------------------------------------------------

void CVxSlideShowWnd::CreatePanel() {
  if (m_apButtons[0]) return;
  CResourceChanger change;
  for (int i = 0; i < kSbCount; ++i) {
    CHoverBitmapButton* p = new CHoverBitmapButton();
    CString caption;
    caption.LoadString(kFaces[i].caption);
    if (!CreatePanelButton(this, p, i, caption, kFaces[i].normal, kFaces[i].selected, kFaces[i].focus)) {
      delete p;
      continue;
    }
    p->SetCommandMessage(this, kFaces[i].message, 0, 0);
    p->SetCursor(m_hButtonCursor);
    p->SetToolTipText(caption, TRUE);
    m_apButtons[i] = p;
  }
  m_bPlayLook = FALSE;
  LayoutPanel();
}

void CVxSlideShowWnd::LayoutPanel() {
  SIZE sizes[kSbCount];
  PanelButtonSizes(m_apButtons, kSbCount, sizes);
  RECT places[kSbCount];
  SlidePanelLayout(sizes, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                   ::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE), places);
  PlacePanelButtons(m_apButtons, kSbCount, places);
}

void CVxSlideShowWnd::ResetButtons() {
  for (CHoverBitmapButton* p : m_apButtons) {
    if (!p) continue;
    p->ResetBackground();
    p->Invalidate(FALSE);
  }
}

void CVxSlideShowWnd::SetPlayButton(BOOL bPlayLook) {
  CHoverBitmapButton* p = m_apButtons[kSbPlay];
  if (!p || m_bPlayLook == bPlayLook) return;
  m_bPlayLook = bPlayLook;
  CResourceChanger change;
  if (bPlayLook)
    p->LoadBitmaps(MAKEINTRESOURCEA(IDB_SLIDE_PLAY), MAKEINTRESOURCEA(IDB_SLIDE_PLAY_SELECTED),
                   MAKEINTRESOURCEA(IDB_SLIDE_PLAY_FOCUS));
  else
    p->LoadBitmaps(MAKEINTRESOURCEA(IDB_SLIDE_PAUSE), MAKEINTRESOURCEA(IDB_SLIDE_PAUSE_SELECTED),
                   MAKEINTRESOURCEA(IDB_SLIDE_PAUSE_FOCUS));
  CString caption;
  caption.LoadString(bPlayLook ? IDS_SLIDE_PLAY : IDS_SLIDE_PAUSE);
  p->SetWindowText(caption);
  p->SetToolTipText(caption, TRUE);
  p->Invalidate(FALSE);
}

void CVxSlideShowWnd::ShowPanelNow() {
  m_nPanelAlpha = 0;
  for (CHoverBitmapButton* p : m_apButtons) {
    if (!p) continue;
    p->ResetBackground();
    p->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    p->ShowWindow(SW_SHOW);
    p->Invalidate(FALSE);
    p->UpdateWindow();
  }
  SetTimer(kTimerIdle, 2000, NULL);
}

// The panel goes at once; where its buttons were turns black until the player draws again.
void CVxSlideShowWnd::HidePanel() {
  m_nPanelAlpha = 255;
  CClientDC dc(this);
  for (CHoverBitmapButton* p : m_apButtons) {
    if (!p || !p->IsWindowVisible()) continue;
    CRect rc;
    p->GetWindowRect(&rc);
    ScreenToClient(&rc);
    p->ShowWindow(SW_HIDE);
    dc.FillSolidRect(&rc, RGB(0, 0, 0));
  }
}

bool CVxSlideShowWnd::CursorOverButton() const {
  POINT pt;
  if (!::GetCursorPos(&pt)) return false;
  HWND h = ::WindowFromPoint(pt);
  for (CHoverBitmapButton* p : m_apButtons)
    if (p && p->GetSafeHwnd() == h && ::IsWindowVisible(h)) return true;
  return false;
}
