#include "AVCHDPlayCtrl.h"

#include <moviekit/moviekit.h>

#include "MovieCtrlRules.h"
#include "TransInternal.h"

CAVCHDPlayCtrl::CAVCHDPlayCtrl()
    : m_llDuration(0), m_nDisplaySize(0), m_pPlayer(NULL), m_bOpen(false), m_pOwner(NULL), m_bUseRect(TRUE) {
  ::SetRectEmpty(&m_rcVideo);
}
CAVCHDPlayCtrl::~CAVCHDPlayCtrl() { Close(); }

void CAVCHDPlayCtrl::Trace(const char* pszStep, bool bFalse) {
  CString line;
  line.Format("------------------------------------->>>CAVCHDPlayCtrl(%s)--%s\n", bFalse ? "S_FALSE" : "FAILED",
              pszStep);
  ::OutputDebugStringA(line);
}

HRESULT CAVCHDPlayCtrl::Initialize() {
  if (m_pPlayer) {
    m_pPlayer->Close();
    m_pPlayer->Release();
    m_pPlayer = NULL;
  }
  m_bOpen = false;
  m_llDuration = 0;
  HRESULT hr = moviekit::CreatePlayer(&m_pPlayer);
  if (FAILED(hr)) {
    m_pPlayer = NULL;
    Trace("Initialize-2");
  }
  return hr;
}

HRESULT CAVCHDPlayCtrl::SetOwner(CWnd* pOwner, RECT rc, BOOL bUseRect) {
  m_pOwner = pOwner;
  m_rcVideo = rc;
  m_bUseRect = bUseRect;
  return S_OK;
}

// The rectangle the player shows in: the video rectangle, or the whole owner.
void CAVCHDPlayCtrl::GiveRect() {
  if (!m_pPlayer || !m_bOpen) return;
  RECT rc = m_rcVideo;
  if (m_bUseRect != 1 && GetOwnerWnd()) ::GetClientRect(GetOwnerWnd(), &rc);
  m_pPlayer->SetRect(rc);
}

HRESULT CAVCHDPlayCtrl::SetContFileName(const char* pszPath) {
  if (!m_pPlayer) {
    Trace("SetContFileName-1");
    return E_POINTER;
  }
  if (!pszPath) {
    Trace("SetContFileName-2");
    return E_INVALIDARG;
  }
  const HWND hOwner = GetOwnerWnd();
  if (!hOwner) {
    Trace("SetContFileName-8");
    return E_FAIL;
  }
  // A content file names its scene's files: the stream among them plays.
  std::string stream = pszPath;
  if (IsContentPath(pszPath)) {
    CStringList list;
    TransAppendContMembers(pszPath, list);
    std::vector<std::string> members;
    for (POSITION pos = list.GetHeadPosition(); pos;) members.push_back((LPCSTR)list.GetNext(pos));
    const int n = ContentSceneStream(members, [](const char* p) {
      const DWORD a = ::GetFileAttributesA(p);
      return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    });
    if (n < 0) {
      Trace("SetContFileName-6");
      return E_FAIL;
    }
    stream = members[n];
  }
  RECT rc = m_rcVideo;
  if (m_bUseRect != 1) ::GetClientRect(hOwner, &rc);
  HRESULT hr = m_pPlayer->Open(stream.c_str(), hOwner, rc);
  if (FAILED(hr)) {
    Trace("SetContFileName-6");
    return hr;
  }
  m_bOpen = true;
  ::ShowWindow(hOwner, SW_SHOW);
  m_llDuration = LONGLONG(m_pPlayer->Facts().durationSeconds * 10000000.0);
  if (m_llDuration <= 0) {
    Trace("SetContFileName-10");
    Close();
    return E_FAIL;
  }
  // Shown still at the start until play.
  m_pPlayer->Pause();
  return S_OK;
}

HRESULT CAVCHDPlayCtrl::Play() {
  if (!m_pPlayer || !m_bOpen) {
    Trace("Play-1");
    return E_FAIL;
  }
  return m_pPlayer->Play();
}
HRESULT CAVCHDPlayCtrl::Pause() {
  if (!m_pPlayer || !m_bOpen) {
    Trace("Pause-1");
    return E_FAIL;
  }
  return m_pPlayer->Pause();
}
HRESULT CAVCHDPlayCtrl::Stop() {
  if (!m_pPlayer || !m_bOpen) {
    Trace("Stop-1");
    return E_FAIL;
  }
  return m_pPlayer->Stop();
}

HRESULT CAVCHDPlayCtrl::Close() {
  if (m_pPlayer) {
    m_pPlayer->Close();
    m_pPlayer->Release();
    m_pPlayer = NULL;
  }
  m_bOpen = false;
  m_pOwner = NULL;
  return S_OK;
}

int CAVCHDPlayCtrl::GetPlayState() {
  if (!m_pPlayer || !m_bOpen) {
    Trace("GetPlayState-1");
    return kWrapNoState;
  }
  // The kit's states as the player's raw states: closed 0, stopped 1, playing 2, paused 3, ended 4.
  static const int kRaw[] = {0, 1, 3, 2, 4};
  const int nState = int(m_pPlayer->Status().state);
  return AvchdPlayState(nState >= 0 && nState < 5 ? kRaw[nState] : 5);
}

double CAVCHDPlayCtrl::GetCurrentPosition() {
  if (!m_pPlayer || !m_bOpen) {
    Trace("GetCurrentPosition-1");
    return 0.0;
  }
  const LONGLONG t = LONGLONG(m_pPlayer->Status().positionSeconds * 10000000.0);
  return t > 0 ? double(t) * 0.0000001 : 0.0;
}

HRESULT CAVCHDPlayCtrl::SetCurrentPosition(double dSeconds) {
  if (!m_pPlayer || !m_bOpen) {
    Trace("SetCurrentPosition-1");
    return E_FAIL;
  }
  if (AvchdSeekIsSameSecond(GetCurrentPosition(), dSeconds)) {
    Trace("SetCurrentPosition-2", true);
    return S_FALSE;
  }
  return m_pPlayer->Seek(double(AvchdSeekTarget(dSeconds, m_llDuration)) * 0.0000001);
}

HRESULT CAVCHDPlayCtrl::SetWindowPos(int l, int t, int r, int b, BOOL bUseRect) {
  ::SetRect(&m_rcVideo, l, t, r, b);
  m_bUseRect = bUseRect;
  if (!m_pPlayer || !m_bOpen) {
    Trace("SetWindowPos-1");
    return E_FAIL;
  }
  GiveRect();
  m_pPlayer->Repaint();
  return S_OK;
}

HRESULT CAVCHDPlayCtrl::SetDisplaySize(int nMode) {
  if (!m_pPlayer || !m_bOpen || !GetOwnerWnd()) {
    Trace("SetDisplaySize-1");
    return E_FAIL;
  }
  m_nDisplaySize = nMode;
  m_pPlayer->SetFullScreen(nMode == 3);
  if (nMode != 3) GiveRect();
  m_pPlayer->Repaint();
  return S_OK;
}

void CAVCHDPlayCtrl::Repaint() {
  if (m_pPlayer && m_bOpen) m_pPlayer->Repaint();
}

HWND CAVCHDPlayCtrl::GetVideoWnd() const { return m_pPlayer && m_bOpen ? m_pPlayer->Window() : NULL; }
