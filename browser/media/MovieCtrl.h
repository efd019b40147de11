// CMovieCtrl: plays one movie at a time inside a target window and hides which back end
// does the work: DirectShow for ordinary movie files, the AVCHD play control (the movie
// kit) for AVCHD scenes, the movie bridge (MovBridge.dll, on the movie kit) for the kinds
// once played with QuickTime, the disc player (the disc-movie core's player) for items
// addressed by a disc reference. The browser controller makes one at start and keeps it in
// the document for the views.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class CDShowPlayer;
class CAVCHDPlayCtrl;
class CMovBridgeApi;
class CBDPlayCtrl;

class VXGUITRANS_API CMovieCtrl {
 public:
  CMovieCtrl();
  virtual ~CMovieCtrl();

  // Closes the open movie first when the target changes.
  void SetTarget(CWnd* pTarget, BOOL bOption);
  CWnd* GetTarget() const { return m_pTarget; }

  HRESULT OpenQuickTime(const CString& strPath, RECT rcVideo, BOOL bLoop);
  HRESULT OpenDirectShow(const CString& strPath, RECT rcVideo);
  HRESULT OpenAvchd(const CString& strPath, RECT rcVideo, BOOL bUseRect);
  HRESULT OpenDiscPlayer(RECT rcVideo, const DWORD adwDisc[3], BOOL bUseRect);
  void Close();
  BOOL IsOpen() const { return m_bOpen; }
  BOOL IsPlaying();
  // Plays when stopped or paused, pauses when playing (remembering the position if asked).
  BOOL TogglePlay(BOOL bRemember);
  BOOL Pause();
  BOOL Stop();
  BOOL GetPosition(double& dSeconds);
  BOOL Seek(double dSeconds, BOOL bPauseFirst);
  double GetDuration() const { return m_dDuration; }
  void SetVideoRect(RECT rc, BOOL bUseRect);
  BOOL GetVideoSize(int* pWidth, int* pHeight) const;
  BOOL IsVideoRectEmpty() const { return ::IsRectEmpty(&m_rcVideo); }
  int FitVideoRect(int l, int t, int r, int b, RECT* pOut) const;
  BOOL ToggleFullScreen(BOOL bRestore);
  BOOL IsFullScreen();
  void RedrawVideo();
  BOOL IsVideoWindow(HWND hWnd) const;
  // 1 once an AVCHD play control exists, else 2 once a disc player exists, else 0.
  int GetDiscPlayerKind() const { return m_pAvchd ? 1 : (m_pDisc ? 2 : 0); }
  int SetDiscControlLock(BOOL bLock) {
    m_bDiscLock = bLock;
    return 0;
  }
  // The bridge's stored version is usable (asked once, then remembered).
  BOOL IsQuickTimeUsable() const;
  // The bridge library the controllers made from now on use (null: the one beside the
  // program); tests name a missing one to see the refusals.
  static void SetBridgeLibrary(LPCSTR pszPath);
  // The message the bridge posts to the target at the end of a movie.
  enum { kBridgeNotifyMessage = 1865 };

  static void FitAspect(int w, int h, RECT& rc);
  static void Fit16by9(const RECT& rcIn, RECT& rcOut);
  static void Fit4by3(const RECT& rcIn, RECT& rcOut);

  // Set when an AVCHD movie reports its end; the owners clear it when they move on.
  BOOL m_bGoNext;

 private:
  int Active() const;  // MovieBackEnd of MovieCtrlRules.h
  void InitBridge();
  double DShowPosition();

  CWnd* m_pTarget;
  BOOL m_bTargetOption;
  RECT m_rcVideo;
  CDShowPlayer* m_pDShow;
  double m_dDuration;
  BOOL m_bOpen;
  double m_dSavedPosition;
  BOOL m_bFullScreen;
  CAVCHDPlayCtrl* m_pAvchd;
  BOOL m_bDiscLock;
  CBDPlayCtrl* m_pDisc;
  CMovBridgeApi* m_pBridge;
  BOOL m_bBridgeInitializedHere;
  mutable int m_nQuickTimeUsable;  // -1 not asked yet
};
