#include "BDPlayCtrl.h"

#include <Kitlib2/Profile.h>
#include <VxBDCore.h>
#include <process.h>

#include "MovieCtrlRules.h"

namespace {
const RECT kNoRect = {-1, -1, 1, 1};
}

CBDPlayCtrl::CBDPlayCtrl()
    : m_hThread(NULL),
      m_hStop(NULL),
      m_bRunning(FALSE),
      m_bLoop(FALSE),
      m_nState(-1),
      m_pPlayer(NULL),
      m_pOwner(NULL),
      m_nDisplaySize(0),
      m_llDuration(0),
      m_bItemOpen(FALSE),
      m_bUseRect(TRUE) {
  ::SetRectEmpty(&m_rcVideo);
}

CBDPlayCtrl::~CBDPlayCtrl() {
  Close();
  if (m_hStop) ::CloseHandle(m_hStop);
}

void CBDPlayCtrl::Pass() const {
  if (m_hStop)
    ::WaitForSingleObject(m_hStop, 1000);
  else
    ::Sleep(1000);
}

HRESULT CBDPlayCtrl::Initialize() {
  // The watcher of an earlier item (an open that failed) goes first.
  EndWatcher();
  m_pPlayer = NULL;
  if (IVxBDCoreObject* pCore = GetVxBDCoreObject()) {
    m_pPlayer = pCore->GetIntegrator();
    pCore->Release();
  }
  if (!m_pPlayer) return E_FAIL;
  m_bRunning = TRUE;
  if (!m_hStop) m_hStop = ::CreateEventA(NULL, TRUE, FALSE, NULL);
  if (m_hStop) ::ResetEvent(m_hStop);
  m_hThread = (HANDLE)_beginthreadex(NULL, 0, &CBDPlayCtrl::WatchThread, this, 0, NULL);
  if (!m_hThread) {
    m_bRunning = FALSE;
    return E_FAIL;
  }
  m_bLoop = CMGetProfileInt("Settings\\Device\\GMRPLAY", "Continue", 0) == 0;
  m_nState = -1;
  return S_OK;
}

HRESULT CBDPlayCtrl::SetOwner(CWnd* pOwner, RECT rc, BOOL bUseRect) {
  m_pOwner = pOwner;
  m_rcVideo = rc;
  m_bUseRect = bUseRect;
  return 0;
}

HRESULT CBDPlayCtrl::GiveRect(RECT rc) { return m_pPlayer->SetItemRect(m_bUseRect == 1 ? rc : kNoRect); }

HRESULT CBDPlayCtrl::OpenItem(DWORD w2, DWORD w3, DWORD w4) {
  if (!m_pPlayer) return E_FAIL;
  if (const HWND hOwner = GetOwnerWnd()) {
    ::ShowWindow(hOwner, SW_SHOW);
    if (!m_bItemOpen) {
      if (m_pPlayer->OpenItem(w2, w3, w4, hOwner) < 0) return E_FAIL;
      m_bItemOpen = TRUE;
    }
    if (GiveRect(m_rcVideo) < 0) return E_FAIL;
  }
  VXBDPARTRECORD record;
  HRESULT hr = m_pPlayer->GetPartRecord((int)w2, (int)w3, (int)w4, &record);
  if (FAILED(hr)) return hr;
  m_llDuration = record.llDuration;
  VXBDPARTINFO info;
  return m_pPlayer->GetPartInfo((int)w2, (int)w3, (int)w4, &info);
}

HRESULT CBDPlayCtrl::Play() {
  if (!m_pPlayer) return E_FAIL;
  const HRESULT hr = m_pPlayer->PlayItem();
  if (SUCCEEDED(hr)) m_nState = 2;
  return hr;
}

HRESULT CBDPlayCtrl::Pause() {
  if (!m_pPlayer) return E_FAIL;
  const HRESULT hr = m_pPlayer->PauseItem();
  if (SUCCEEDED(hr)) m_nState = 1;
  return hr;
}

HRESULT CBDPlayCtrl::Stop() { return m_pPlayer ? (HRESULT)m_pPlayer->StopItem() : E_FAIL; }

// Stopping the item and clearing the loop before the running flag makes the watcher leave
// within one pass without playing the item again.
void CBDPlayCtrl::EndWatcher() {
  if (!m_hThread) return;
  m_bLoop = FALSE;
  if (m_pPlayer) m_pPlayer->StopItem();
  m_bRunning = FALSE;
  if (m_hStop) ::SetEvent(m_hStop);  // no need to sit out the watcher's second
  ::WaitForSingleObject(m_hThread, INFINITE);
  ::CloseHandle(m_hThread);
  m_hThread = NULL;
}

HRESULT CBDPlayCtrl::Close() {
  EndWatcher();
  HRESULT hr = 0;
  if (m_bItemOpen && m_pPlayer) hr = m_pPlayer->RefreshDevices();  // lets the item go
  m_bItemOpen = FALSE;
  m_pPlayer = NULL;
  m_pOwner = NULL;
  return hr;
}

int CBDPlayCtrl::GetPlayState() {
  if (!m_pPlayer) return E_FAIL;
  if (m_nState == kStateEnded && !m_bLoop) return kStateEnded;
  int raw = 0;
  if (m_pPlayer->BeginRefresh(&raw) < 0) return kWrapNoState;
  return DiscPlayState(raw);
}

double CBDPlayCtrl::GetCurrentPosition() {
  if (!m_pPlayer) return -2147467259.0;
  LONGLONG t = 0;
  long n = 0;
  m_pPlayer->GetItemPosition(&t, &n);
  return t > 0 ? double(t) * 0.0000001 : 0.0;
}

HRESULT CBDPlayCtrl::SetCurrentPosition(double dSeconds) {
  if (!m_pPlayer) return E_FAIL;
  LONGLONG llNow = 0;
  long n = 0;
  m_pPlayer->GetItemPosition(&llNow, &n);
  const LONGLONG llTarget = AvchdSeekTarget(dSeconds, m_llDuration);
  if (AvchdSeekIsNoMove(llNow, llTarget)) return S_FALSE;
  return m_pPlayer->SeekItem(llTarget, &n);
}

HRESULT CBDPlayCtrl::SetWindowPos(int l, int t, int r, int b, BOOL bUseRect) {
  ::SetRect(&m_rcVideo, l, t, r, b);
  m_bUseRect = bUseRect;
  if (!m_pPlayer) return E_FAIL;
  return GiveRect(m_rcVideo);
}

HRESULT CBDPlayCtrl::SetDisplaySize(int nMode) {
  m_nDisplaySize = nMode;
  if (!m_pPlayer) return E_FAIL;
  RECT rc = m_rcVideo;
  if (nMode == 3 && GetOwnerWnd()) ::GetWindowRect(GetOwnerWnd(), &rc);
  return GiveRect(rc);
}

void CBDPlayCtrl::RedrawVideo() {
  const HWND hOwner = GetOwnerWnd();
  if (!hOwner || !::IsWindow(hOwner)) return;
  HWND hChild = ::GetWindow(hOwner, GW_CHILD);
  if (hChild && ::IsWindow(hChild)) {
    ::InvalidateRect(hChild, NULL, FALSE);
    ::UpdateWindow(hChild);
  }
}

unsigned __stdcall CBDPlayCtrl::WatchThread(void* pArg) {
  CBDPlayCtrl* self = static_cast<CBDPlayCtrl*>(pArg);
  if (!self) return 0;
  while (self->m_bRunning) {
    IVxBDIntegrator* p = self->m_pPlayer;
    if (!p) return (unsigned)E_ACCESSDENIED;
    int raw = 0;
    p->BeginRefresh(&raw);
    if (raw == 0 || raw == 1) {
      self->Pass();
      continue;
    }
    long r = 1;
    do {
      long out = 0;
      r = p->Wait(1, &out);
      if (r < 0 || out < 0) return (unsigned)(r < 0 ? r : out);
      if (!self->m_bRunning) break;
      if (r == 1) self->Pass();
    } while (r == 1);
    if (!self->m_bRunning) break;
    if (r == 0) {
      self->m_nState = kStateEnded;
      if (self->m_bLoop) {
        long hr = p->StopItem();
        if (hr >= 0) {
          hr = p->PlayItem();
          if (hr >= 0) self->m_nState = 2;
        }
        if (hr < 0) return (unsigned)hr;
      }
    }
  }
  return 0;
}
