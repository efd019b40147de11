// CMovieCtrl: the movie playback controller that the browser controller makes at start and
// keeps in the document for the enlarged view. No playback back end is installed in this
// build: every Open fails, nothing is ever open or playing, and the back ends report
// themselves unusable.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CMovieCtrl {
 public:
  CMovieCtrl();
  virtual ~CMovieCtrl();

  // Closes the open movie first when the target changes.
  void SetTarget(CObject* pTarget, int nFlag);
  CObject* GetTarget() const { return m_pTarget; }

  HRESULT OpenQuickTime(const CString& strPath, RECT rcVideo, BOOL bRepeat);
  HRESULT OpenDirectShow(const CString& strPath, RECT rcVideo);
  HRESULT OpenAvchd(const CString& strPath, RECT rcVideo, int nFlag);
  HRESULT OpenDiscPlayer(RECT rcVideo, const DWORD adwDisc[3], int nFlag);
  void Close();
  BOOL IsOpen() const { return m_nBackEnd != 0; }
  BOOL IsPlaying() const { return FALSE; }
  void TogglePlay(int nFlag);
  void Stop();
  void Pause();
  void Seek(double dSeconds, int nFlag);
  BOOL GetPosition(double& dSeconds) const;
  double GetDuration() const { return m_dDuration; }
  void SetVideoRect(RECT rc, int nFlag);
  BOOL IsVideoRectEmpty() const { return ::IsRectEmpty(&m_rcVideo); }
  BOOL IsFullScreen() const { return FALSE; }
  void ToggleFullScreen(BOOL bFull);
  int GetDiscPlayerKind() const { return 0; }
  void RedrawVideo();
  void SetDiscControlLock(bool bLock) { m_bDiscLock = bLock; }
  BOOL IsQuickTimeUsable() const { return FALSE; }

  // Set by the enlarged view on the end-of-movie message, cleared after moving on.
  BOOL m_bGoNext;

 private:
  CObject* m_pTarget;
  int m_nTargetFlag;
  int m_nBackEnd;  // 0 none
  double m_dDuration;
  RECT m_rcVideo;
  bool m_bDiscLock;
};
