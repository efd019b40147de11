// CBDPlayCtrl: plays a movie item that the thumbnail library addresses by a disc reference
// (a card's scene) through the disc-movie core's player, in the movie controller's target
// window, with a watcher thread that notices the end once a second: it records it (state 9)
// and, with looping on, plays the item again. Its operations answer like the AVCHD play
// control's, so the movie controller treats both alike. One watcher per object: a new
// Initialize ends the old one first.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class IVxBDIntegrator;

class VXGUITRANS_API CBDPlayCtrl {
 public:
  enum { kStateEnded = 9 };
  CBDPlayCtrl();
  virtual ~CBDPlayCtrl();

  HRESULT Initialize();
  HRESULT SetOwner(CWnd* pOwner, RECT rc, BOOL bUseRect);
  HRESULT OpenItem(DWORD w2, DWORD w3, DWORD w4);
  HRESULT Play();
  HRESULT Pause();
  HRESULT Stop();
  HRESULT Close();
  int GetPlayState();
  double GetCurrentPosition();
  // S_FALSE without seeking when the player is at that very position.
  HRESULT SetCurrentPosition(double dSeconds);
  double GetDuration() const { return m_llDuration > 0 ? double(m_llDuration) * 0.0000001 : 0.0; }
  HRESULT SetWindowPos(int l, int t, int r, int b, BOOL bUseRect);
  HRESULT SetDisplaySize(int nMode);  // 3 full screen, 4 normal
  int GetDisplaySize() const { return m_nDisplaySize; }
  HWND GetOwnerWnd() const { return m_pOwner ? m_pOwner->GetSafeHwnd() : NULL; }
  void RedrawVideo();
  BOOL IsWatching() const { return m_hThread != NULL; }
  void SetLoop(BOOL bLoop) { m_bLoop = bLoop; }

 private:
  static unsigned __stdcall WatchThread(void* pArg);
  void EndWatcher();
  void Pass() const;  // a second between the watcher's looks, cut short by Close
  HRESULT GiveRect(RECT rc);

  HANDLE m_hThread;
  HANDLE m_hStop;
  volatile LONG m_bRunning;
  volatile LONG m_bLoop;
  volatile LONG m_nState;
  IVxBDIntegrator* volatile m_pPlayer;
  CWnd* m_pOwner;
  RECT m_rcVideo;
  int m_nDisplaySize;
  LONGLONG m_llDuration;
  BOOL m_bItemOpen;
  BOOL m_bUseRect;
};
