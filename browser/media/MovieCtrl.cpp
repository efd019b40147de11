#include "MovieCtrl.h"

// What every Open answers: the back end is not there.
static const HRESULT kNoBackEnd = HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);

CMovieCtrl::CMovieCtrl()
    : m_bGoNext(FALSE), m_pTarget(NULL), m_nTargetFlag(0), m_nBackEnd(0), m_dDuration(0), m_bDiscLock(false) {
  ::SetRectEmpty(&m_rcVideo);
}
CMovieCtrl::~CMovieCtrl() { Close(); }

void CMovieCtrl::SetTarget(CObject* pTarget, int nFlag) {
  if (pTarget == m_pTarget) return;
  Close();
  m_pTarget = pTarget;
  m_nTargetFlag = nFlag;
}

HRESULT CMovieCtrl::OpenQuickTime(const CString&, RECT rc, BOOL) {
  m_rcVideo = rc;
  return kNoBackEnd;
}
HRESULT CMovieCtrl::OpenDirectShow(const CString&, RECT rc) {
  m_rcVideo = rc;
  return kNoBackEnd;
}
HRESULT CMovieCtrl::OpenAvchd(const CString&, RECT rc, int) {
  m_rcVideo = rc;
  return kNoBackEnd;
}
HRESULT CMovieCtrl::OpenDiscPlayer(RECT rc, const DWORD*, int) {
  m_rcVideo = rc;
  return kNoBackEnd;
}

void CMovieCtrl::Close() {
  m_nBackEnd = 0;
  m_dDuration = 0;
}
void CMovieCtrl::TogglePlay(int) {}
void CMovieCtrl::Stop() {}
void CMovieCtrl::Pause() {}
void CMovieCtrl::Seek(double, int) {}
BOOL CMovieCtrl::GetPosition(double& dSeconds) const {
  dSeconds = 0;
  return IsOpen();
}
void CMovieCtrl::SetVideoRect(RECT rc, int) { m_rcVideo = rc; }
void CMovieCtrl::ToggleFullScreen(BOOL) {}
void CMovieCtrl::RedrawVideo() {}
