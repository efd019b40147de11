#include "MovieCtrl.h"

#include <new>

#include "AVCHDPlayCtrl.h"
#include "BDPlayCtrl.h"
#include "DShowPlayer.h"
#include "MovBridgeApi.h"
#include "MovieCtrlRules.h"
#include "QuickTimeState.h"

// The AVCHD play control and the disc player answer alike: one set of steps serves both.
namespace {
template <class P>
BOOL ScenePlaying(P* p, BOOL& bGoNext) {
  const int n = p->GetPlayState();
  if (n == kWrapEnded) bGoNext = TRUE;
  return n == 2 || n == 3;
}
template <class P>
void SceneToggle(P* p, BOOL bRemember, BOOL bLock, double& dSaved) {
  const int n = p->GetPlayState();
  if (n == 0 || n == 1) {
    if (!bLock) p->Play();
  } else if (n == 2 || n == 3) {
    if (bRemember) dSaved = p->GetCurrentPosition();
    if (!bLock) p->Pause();
  }
}
template <class P>
void ScenePause(P* p) {
  const int n = p->GetPlayState();
  if ((n >= 0 && n <= 3) || n == kWrapEnded) p->Pause();
}
template <class P>
void SceneStop(P* p) {
  const int n = p->GetPlayState();
  if ((n >= 1 && n <= 3) || n == kWrapEnded) p->Stop();
}
template <class P>
BOOL SceneToggleFullScreen(P* p, BOOL bRestore, double dSaved) {
  if (p->GetDisplaySize() != 3) {
    p->SetDisplaySize(3);
    const int n = p->GetPlayState();
    if (n == 0 || n == 1) p->Play();
    return TRUE;
  }
  p->Stop();
  p->SetDisplaySize(4);
  if (p->GetPlayState() != 2 && bRestore && dSaved > 0) p->SetCurrentPosition(dSaved);
  return FALSE;
}
}  // namespace

CMovieCtrl::CMovieCtrl()
    : m_bGoNext(FALSE),
      m_pTarget(NULL),
      m_bTargetOption(FALSE),
      m_pDShow(NULL),
      m_dDuration(0),
      m_bOpen(FALSE),
      m_dSavedPosition(0),
      m_bFullScreen(FALSE),
      m_pAvchd(NULL),
      m_bDiscLock(FALSE),
      m_pDisc(NULL),
      m_pBridge(NULL),
      m_bBridgeInitializedHere(FALSE),
      m_nQuickTimeUsable(-1) {
  ::SetRectEmpty(&m_rcVideo);
  ::CoInitialize(NULL);
  InitBridge();
}

void CMovieCtrl::SetBridgeLibrary(LPCSTR pszPath) { CMovBridgeApi::SetLibraryPath(pszPath); }

// A state left by an earlier run, with the marker file, is trusted without initialising the
// bridge (which initialises itself on first use, should that run have crashed); otherwise the
// bridge is initialised here and what it reports is stored for the run.
void CMovieCtrl::InitBridge() {
  m_pBridge = new (std::nothrow) CMovBridgeApi();
  if (!m_pBridge) return;
  if (HasMovDecodeFile() && AccessQuickTimeState(kQtStateTest, NULL, NULL) == ERROR_SUCCESS) m_pBridge->SetEnabled(TRUE);
  if (m_pBridge->IsUsable()) return;
  m_bBridgeInitializedHere = m_pBridge->Initialize();
  if (m_bBridgeInitializedHere) {
    m_pBridge->SetEnabled(TRUE);
    DWORD dwVersion = m_pBridge->GetQuickTimeVersion(), dwExporter = m_pBridge->IsBmpExporter();
    AccessQuickTimeState(kQtStateWrite, &dwVersion, &dwExporter);
  } else {
    AccessQuickTimeState(kQtStateDelete, NULL, NULL);
  }
}

CMovieCtrl::~CMovieCtrl() {
  Close();
  if (m_pDShow) m_pDShow->DestroyGraph();
  delete m_pDShow;
  delete m_pAvchd;
  delete m_pDisc;
  if (m_bBridgeInitializedHere) {
    m_pBridge->Finalize();
    AccessQuickTimeState(kQtStateDelete, NULL, NULL);
  }
  delete m_pBridge;
  ::CoUninitialize();
}

void CMovieCtrl::FitAspect(int w, int h, RECT& rc) { MovieFitAspect(w, h, rc); }
void CMovieCtrl::Fit16by9(const RECT& rcIn, RECT& rcOut) { rcOut = MovieFit16by9(rcIn); }
void CMovieCtrl::Fit4by3(const RECT& rcIn, RECT& rcOut) { rcOut = MovieFit4by3(rcIn); }

void CMovieCtrl::SetTarget(CWnd* pTarget, BOOL bOption) {
  if (pTarget == m_pTarget) return;
  Close();
  m_pTarget = pTarget;
  m_bTargetOption = bOption;
}

int CMovieCtrl::Active() const {
  const bool bAvchd = m_pAvchd && ::IsWindow(m_pAvchd->GetOwnerWnd());
  const bool bDisc = m_pDisc && ::IsWindow(m_pDisc->GetOwnerWnd());
  return ActiveMovieBackEnd(m_pBridge && m_pBridge->IsOpen(), m_pDShow && m_pDShow->IsOpen(), bAvchd, bDisc);
}

BOOL CMovieCtrl::IsQuickTimeUsable() const {
  if (m_nQuickTimeUsable < 0) m_nQuickTimeUsable = IsQuickTimeVersionUsable() ? 1 : 0;
  return m_nQuickTimeUsable == 1;
}

HRESULT CMovieCtrl::OpenQuickTime(const CString& strPath, RECT rc, BOOL bLoop) {
  if (!m_pTarget) return E_FAIL;
  if (m_bOpen) Close();
  if (!m_pBridge || !m_pBridge->IsUsable() || !IsQuickTimeUsable()) return E_FAIL;
  m_pBridge->SetParamFlag(FALSE);
  m_pBridge->SetLoop(bLoop);
  m_pBridge->SetNotifyMessage(m_pTarget->GetSafeHwnd(), kBridgeNotifyMessage, 0, 0);
  if (!m_pBridge->Open(strPath, rc.left, rc.top, rc.right, rc.bottom, m_pTarget)) return E_FAIL;
  // The movie starts paused on its first picture, as the other back ends do.
  m_pBridge->Pause();
  int w = 0, h = 0;
  m_pBridge->GetVideoSize(&w, &h);
  FitAspect(w, h, rc);
  m_pBridge->SetWindowPos(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
  m_rcVideo = rc;
  m_dDuration = m_pBridge->GetDuration() / 1000.0;
  m_bOpen = TRUE;
  return S_OK;
}

HRESULT CMovieCtrl::OpenDirectShow(const CString& strPath, RECT rc) {
  if (!m_pTarget) return E_FAIL;
  if (m_bOpen) Close();
  if (!m_pDShow) m_pDShow = new (std::nothrow) CDShowPlayer();
  if (!m_pDShow) return E_FAIL;
  HRESULT hr = m_pDShow->CreateGraph();
  if (hr == S_OK) hr = m_pDShow->RenderFile(strPath);
  if (hr != S_OK) {
    m_pDShow->DestroyGraph();
    return hr;
  }
  const HWND hTarget = m_pTarget->GetSafeHwnd();
  m_pDShow->SetOwner(hTarget, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  m_pDShow->SetMessageDrain(hTarget);
  long w = 0, h = 0;
  m_pDShow->GetVideoSize(&w, &h);
  FitAspect(w, h, rc);
  m_pDShow->SetWindowPosition(rc.left, rc.top, rc.right, rc.bottom);
  m_pDShow->SetForeground();
  m_pDShow->Pause();
  m_rcVideo = rc;
  m_pDShow->SetTimeFormat(TIME_FORMAT_MEDIA_TIME);
  LONGLONG d = 0;
  m_pDShow->GetDuration(&d);
  m_dDuration = MediaTimeToSeconds(d);
  m_bOpen = TRUE;
  return S_OK;
}

HRESULT CMovieCtrl::OpenAvchd(const CString& strPath, RECT rc, BOOL bUseRect) {
  if (!m_pTarget) return E_FAIL;
  if (m_bOpen) Close();
  if (!m_pAvchd) m_pAvchd = new (std::nothrow) CAVCHDPlayCtrl();
  if (!m_pAvchd) return E_FAIL;
  HRESULT hr = m_pAvchd->Initialize();
  if (FAILED(hr)) return hr;
  const RECT r = MovieFit16by9(rc);
  m_pAvchd->SetOwner(m_pTarget, r, bUseRect);
  hr = m_pAvchd->SetContFileName(strPath);
  m_rcVideo = r;
  if (FAILED(hr)) return hr;
  m_dDuration = m_pAvchd->GetDuration();
  m_bOpen = TRUE;
  return hr;
}

HRESULT CMovieCtrl::OpenDiscPlayer(RECT rc, const DWORD adwDisc[3], BOOL bUseRect) {
  if (!m_pTarget || !adwDisc) return E_FAIL;
  if (m_bOpen) Close();
  if (!m_pDisc) m_pDisc = new (std::nothrow) CBDPlayCtrl();
  if (!m_pDisc) return E_FAIL;
  HRESULT hr = m_pDisc->Initialize();
  if (FAILED(hr)) return hr;
  const RECT r = MovieFit16by9(rc);
  m_pDisc->SetOwner(m_pTarget, r, bUseRect);
  m_rcVideo = r;
  hr = m_pDisc->OpenItem(adwDisc[0], adwDisc[1], adwDisc[2]);
  if (FAILED(hr)) return hr;
  m_dDuration = m_pDisc->GetDuration();
  m_bOpen = TRUE;
  return hr;
}

void CMovieCtrl::Close() {
  if (m_bOpen) {
    m_bOpen = FALSE;
    if (m_pDShow && m_pDShow->IsOpen()) {
      m_pDShow->Stop();
      m_pDShow->DestroyGraph();
    }
    if (m_pAvchd) {
      m_pAvchd->Stop();
      m_pAvchd->Close();
    }
    if (m_pBridge) m_pBridge->Close();
    if (m_pDisc) {
      m_pDisc->Stop();
      m_pDisc->Close();
    }
  }
  m_dDuration = 0;
  m_dSavedPosition = 0;
  ::SetRectEmpty(&m_rcVideo);
  m_bFullScreen = FALSE;
}

double CMovieCtrl::DShowPosition() {
  m_pDShow->SetTimeFormat(TIME_FORMAT_MEDIA_TIME);
  LONGLONG p = 0, s = 0;
  m_pDShow->GetPositions(&p, &s);
  return MediaTimeToSeconds(p);
}

BOOL CMovieCtrl::IsPlaying() {
  if (!m_bOpen) return FALSE;
  switch (Active()) {
    case kMovieBridge:
      return m_pBridge->GetState() == CMovBridgeApi::kPlaying;
    case kMovieDirectShow:
      return m_pDShow->GetState() == 2;
    case kMovieAvchd:
      return ScenePlaying(m_pAvchd, m_bGoNext);
    case kMovieDisc:
      return ScenePlaying(m_pDisc, m_bGoNext);
  }
  return FALSE;
}

BOOL CMovieCtrl::TogglePlay(BOOL bRemember) {
  if (!m_bOpen) return FALSE;
  switch (Active()) {
    case kMovieBridge:
      if (m_pBridge->GetState() == CMovBridgeApi::kPlaying) {
        if (bRemember) m_dSavedPosition = m_pBridge->GetCurrent() / 1000.0;
        m_pBridge->Pause();
      } else {
        m_pBridge->Play();
      }
      break;
    case kMovieDirectShow: {
      const int n = m_pDShow->GetState();
      if (n == 0 || n == 1) {
        m_pDShow->Run();
      } else if (n == 2) {
        if (bRemember) m_dSavedPosition = DShowPosition();
        m_pDShow->Pause();
      }
      break;
    }
    case kMovieAvchd:
      SceneToggle(m_pAvchd, bRemember, m_bDiscLock, m_dSavedPosition);
      break;
    case kMovieDisc:
      SceneToggle(m_pDisc, bRemember, m_bDiscLock, m_dSavedPosition);
      break;
  }
  return TRUE;
}

BOOL CMovieCtrl::Pause() {
  if (!m_bOpen) return FALSE;
  switch (Active()) {
    case kMovieBridge:
      m_pBridge->Pause();
      break;
    case kMovieDirectShow:
      if (m_pDShow->GetState() >= 0) m_pDShow->Pause();
      break;
    case kMovieAvchd:
      ScenePause(m_pAvchd);
      break;
    case kMovieDisc:
      ScenePause(m_pDisc);
      break;
  }
  return TRUE;
}

BOOL CMovieCtrl::Stop() {
  if (!m_bOpen) return FALSE;
  switch (Active()) {
    case kMovieBridge:
      m_pBridge->Stop();
      break;
    case kMovieDirectShow: {
      const int n = m_pDShow->GetState();
      if (n == 1 || n == 2) m_pDShow->Stop();
      break;
    }
    case kMovieAvchd:
      SceneStop(m_pAvchd);
      break;
    case kMovieDisc:
      SceneStop(m_pDisc);
      break;
  }
  return TRUE;
}

BOOL CMovieCtrl::GetPosition(double& dSeconds) {
  dSeconds = 0.0;
  if (!m_bOpen) return FALSE;
  switch (Active()) {
    case kMovieBridge:
      dSeconds = m_pBridge->GetCurrent() / 1000.0;
      break;
    case kMovieDirectShow:
      dSeconds = DShowPosition();
      break;
    case kMovieAvchd:
      dSeconds = m_pAvchd->GetCurrentPosition();
      if (!IsPlaying()) RedrawVideo();
      break;
    case kMovieDisc:
      dSeconds = m_pDisc->GetCurrentPosition();
      break;
  }
  return TRUE;
}

BOOL CMovieCtrl::Seek(double dSeconds, BOOL bPauseFirst) {
  if (!m_bOpen) return FALSE;
  switch (Active()) {
    case kMovieBridge:
      if (bPauseFirst) m_pBridge->Pause();
      m_pBridge->SetCurrent(LONG(dSeconds * 1000.0 + 0.5));
      break;
    case kMovieDirectShow: {
      if (bPauseFirst) m_pDShow->Pause();
      LONGLONG t = LONGLONG(dSeconds * 10000000.0);
      m_pDShow->SetTimeFormat(TIME_FORMAT_MEDIA_TIME);
      LONGLONG d = 0, p = 0, s = 0;
      m_pDShow->GetDuration(&d);
      m_pDShow->GetPositions(&p, &s);
      if (DShowSeekNeedsEndApproach(t, d, p)) {
        LONGLONG before = d - 10000000;
        m_pDShow->SetCurrentPosition(&before);
        if (m_pDShow->GetState() == 1) {
          m_pDShow->Run();
          ::Sleep(0);
          m_pDShow->Pause();
        }
      }
      m_pDShow->SetCurrentPosition(&t);
      break;
    }
    case kMovieAvchd:
      if (m_bDiscLock) break;
      m_pAvchd->SetCurrentPosition(dSeconds);
      if (bPauseFirst) m_pAvchd->Pause();
      break;
    case kMovieDisc:
      if (m_bDiscLock) break;
      m_pDisc->SetCurrentPosition(dSeconds);
      if (bPauseFirst) m_pDisc->Pause();
      break;
  }
  return TRUE;
}

void CMovieCtrl::SetVideoRect(RECT rc, BOOL bUseRect) {
  if (!m_bOpen) return;
  switch (Active()) {
    case kMovieBridge: {
      int w = 0, h = 0;
      m_pBridge->GetVideoSize(&w, &h);
      RECT fitted = rc;
      FitAspect(w, h, fitted);
      m_pBridge->SetWindowPos(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top, TRUE);
      break;
    }
    case kMovieDirectShow: {
      long w = 0, h = 0;
      m_pDShow->GetVideoSize(&w, &h);
      RECT fitted = rc;
      FitAspect(w, h, fitted);
      m_pDShow->SetWindowPosition(fitted.left, fitted.top, fitted.right, fitted.bottom);
      if (m_pDShow->GetState() != 2) {
        // A still picture repaints only when the position moves.
        m_pDShow->SetTimeFormat(TIME_FORMAT_MEDIA_TIME);
        LONGLONG p = 0, s = 0;
        m_pDShow->GetPositions(&p, &s);
        LONGLONG next = p + 1;
        m_pDShow->SetCurrentPosition(&next);
        m_pDShow->SetCurrentPosition(&p);
      }
      break;
    }
    case kMovieAvchd:
      m_pAvchd->SetWindowPos(rc.left, rc.top, rc.right, rc.bottom, bUseRect);
      break;
    case kMovieDisc:
      m_pDisc->SetWindowPos(rc.left, rc.top, rc.right, rc.bottom, bUseRect);
      break;
  }
  m_rcVideo = rc;
}

BOOL CMovieCtrl::GetVideoSize(int* pWidth, int* pHeight) const {
  if (!pWidth && !pHeight) return FALSE;
  if (pWidth) *pWidth = m_rcVideo.right - m_rcVideo.left;
  if (pHeight) *pHeight = m_rcVideo.bottom - m_rcVideo.top;
  return TRUE;
}

int CMovieCtrl::FitVideoRect(int l, int t, int r, int b, RECT* pOut) const {
  if (pOut) *pOut = MovieFitVideoRect(m_bOpen != FALSE, m_rcVideo, l, t, r, b);
  return 0;
}

BOOL CMovieCtrl::IsFullScreen() {
  if (!m_bOpen || !m_bFullScreen) return FALSE;
  switch (Active()) {
    case kMovieBridge:
      return m_pBridge->IsFullScreen();
    case kMovieDirectShow: {
      BOOL bFull = FALSE;
      return SUCCEEDED(m_pDShow->IsFullScreen(&bFull)) && bFull;
    }
    case kMovieAvchd:
      return m_pAvchd->GetDisplaySize() == 3;
    case kMovieDisc:
      return m_pDisc->GetDisplaySize() == 3;
  }
  return FALSE;
}

BOOL CMovieCtrl::ToggleFullScreen(BOOL bRestore) {
  if (!m_bOpen || ::IsRectEmpty(&m_rcVideo) || m_dDuration <= 0) return FALSE;
  switch (Active()) {
    case kMovieBridge:
      if (!m_pBridge->IsFullScreen()) {
        m_pBridge->BeginFullScreen();
        m_bFullScreen = TRUE;
        if (m_pBridge->GetState() != CMovBridgeApi::kPlaying) m_pBridge->Play();
      } else {
        m_pBridge->EndFullScreen();
        m_bFullScreen = FALSE;
        if (m_pBridge->GetState() != CMovBridgeApi::kPlaying && bRestore && m_dSavedPosition > 0)
          m_pBridge->SetCurrent(LONG(m_dSavedPosition * 1000.0 + 0.5));
      }
      break;
    case kMovieDirectShow: {
      BOOL bFull = FALSE;
      if (FAILED(m_pDShow->IsFullScreen(&bFull))) break;
      if (bFull) {
        const int s = m_pDShow->GetState();
        LONGLONG p = 0, stop = 0;
        m_pDShow->GetPositions(&p, &stop);
        m_pDShow->Stop();
        m_pDShow->SetFullScreen(FALSE);
        m_bFullScreen = FALSE;
        if (s == 1 || s == 2) {
          m_pDShow->SetCurrentPosition(&p);
          if (s == 2)
            m_pDShow->Run();
          else
            m_pDShow->Pause();
        }
        long w = 0, h = 0;
        m_pDShow->GetVideoSize(&w, &h);
        RECT fitted = m_rcVideo;
        FitAspect(w, h, fitted);
        m_pDShow->SetWindowPosition(fitted.left, fitted.top, fitted.right, fitted.bottom);
        if (m_pDShow->GetState() != 2) {
          if (bRestore && m_dSavedPosition > 0) {
            LONGLONG saved = LONGLONG(m_dSavedPosition * 10000000.0);
            m_pDShow->SetCurrentPosition(&saved);
          } else {
            m_pDShow->Pause();
          }
        }
      } else {
        m_pDShow->SetFullScreen(TRUE);
        m_bFullScreen = TRUE;
        const int s = m_pDShow->GetState();
        if (s == 0 || s == 1) m_pDShow->Run();
      }
      break;
    }
    case kMovieAvchd:
      m_bFullScreen = SceneToggleFullScreen(m_pAvchd, bRestore, m_dSavedPosition);
      break;
    case kMovieDisc:
      m_bFullScreen = SceneToggleFullScreen(m_pDisc, bRestore, m_dSavedPosition);
      break;
  }
  if (HWND hTray = ::FindWindowA("Shell_TrayWnd", NULL)) {
    ::ShowWindow(hTray, m_bFullScreen ? SW_HIDE : SW_SHOWNA);
    ::UpdateWindow(hTray);
  }
  m_dSavedPosition = 0;
  return TRUE;
}

void CMovieCtrl::RedrawVideo() {
  if (m_pAvchd && ::IsWindow(m_pAvchd->GetOwnerWnd())) m_pAvchd->Repaint();
  if (m_pDisc && ::IsWindow(m_pDisc->GetOwnerWnd())) m_pDisc->RedrawVideo();
}

BOOL CMovieCtrl::IsVideoWindow(HWND hWnd) const {
  switch (Active()) {
    case kMovieBridge:
      return m_pBridge->GetMovieWnd() == hWnd;
    case kMovieAvchd:
      return m_pAvchd->GetOwnerWnd() == hWnd;
    case kMovieDisc:
      return m_pDisc->GetOwnerWnd() == hWnd;
  }
  return FALSE;
}
