#include "MovBridgeApi.h"

#include <MovBridge.h>

#include "QuickTimeState.h"

namespace {
char g_szLibrary[MAX_PATH];
}

CString CMovBridgeApi::LibraryPath() {
  // By full path: a MovBridge.dll elsewhere on the search path is not ours.
  return g_szLibrary[0] ? CString(g_szLibrary) : QuickTimeProgramFolder() + "\\MovBridge.dll";
}

void CMovBridgeApi::SetLibraryPath(LPCSTR pszPath) { lstrcpynA(g_szLibrary, pszPath ? pszPath : "", MAX_PATH); }

CMovBridgeApi::CMovBridgeApi(LPCSTR pszLibraryPath)
    : m_bInitialized(FALSE),
      m_hNotify(NULL),
      m_uMessage(0),
      m_wWord(0),
      m_lWord(0),
      m_bVideo(TRUE),
      m_bLoop(TRUE),
      m_bParam(TRUE),
      m_nState(kDisabled),
      m_bEnabled(FALSE),
      m_hModule(NULL),
      m_pMovie(NULL) {
  m_hModule = ::LoadLibraryA(pszLibraryPath ? CString(pszLibraryPath) : LibraryPath());
}

CMovBridgeApi::~CMovBridgeApi() {
  if ((m_hModule || m_bEnabled) && m_pMovie) Close();
  if (m_hModule) ::FreeLibrary(m_hModule);
}

FARPROC CMovBridgeApi::Bind(LPCSTR pszName) const { return m_hModule ? ::GetProcAddress(m_hModule, pszName) : NULL; }

BOOL CMovBridgeApi::Initialize() {
  if (!m_hModule) return FALSE;
  QtInitializeFn pfn = (QtInitializeFn)Bind("QtInitialize");
  if (!pfn) return FALSE;
  SetEnabled(pfn() != FALSE);
  if (m_bEnabled) m_bInitialized = TRUE;
  return m_bEnabled;
}

// Disabled whatever the library answers: a bridge that failed to finalise is not used again.
BOOL CMovBridgeApi::Finalize() {
  if (!IsUsable() || !m_bInitialized) return FALSE;
  SetEnabled(FALSE);
  QtFinalizeFn pfn = (QtFinalizeFn)Bind("QtFinalize");
  const BOOL b = pfn ? pfn() : FALSE;
  if (b) m_bInitialized = FALSE;
  return b;
}

void CMovBridgeApi::SetEnabled(BOOL bEnabled) {
  bEnabled = bEnabled != FALSE;
  if (bEnabled == m_bEnabled) return;
  m_bEnabled = bEnabled;
  m_nState = bEnabled ? kIdle : kDisabled;
}

void CMovBridgeApi::SetNotifyMessage(HWND hWnd, UINT uMessage, WPARAM w, LPARAM l) {
  if (!IsUsable()) return;
  m_hNotify = hWnd;
  m_uMessage = uMessage;
  m_wWord = w;
  m_lWord = l;
  if (IsOpen())
    if (QtSetStatusNotifyMsgFn pfn = (QtSetStatusNotifyMsgFn)Bind("QtSetStatusNotifyMsg")) pfn(m_pMovie, hWnd, uMessage, w, l);
}

void CMovBridgeApi::SetLoop(BOOL bLoop) {
  m_bLoop = bLoop;
  if (IsOpen())
    if (QtSetLoopFn pfn = (QtSetLoopFn)Bind("QtSetLoop")) pfn(m_pMovie, bLoop);
}

BOOL CMovBridgeApi::Open(const CString& strPath, int l, int t, int r, int b, CWnd* pParent) {
  if (!IsUsable()) return FALSE;
  if (m_pMovie) Close();
  QtWndInitFn pfnInit = (QtWndInitFn)Bind("QtWndInit");
  if (!pfnInit || !pfnInit(strPath, l, t, r, b, &m_pMovie)) return FALSE;
  QtSetParamFn pfnParam = (QtSetParamFn)Bind("QtSetParam");
  QtEnableVideoFn pfnVideo = (QtEnableVideoFn)Bind("QtEnableVideo");
  QtSetStatusNotifyMsgFn pfnNotify = (QtSetStatusNotifyMsgFn)Bind("QtSetStatusNotifyMsg");
  QtWndCreateFn pfnCreate = (QtWndCreateFn)Bind("QtWndCreate");
  if (!pfnParam || !pfnVideo || !pfnNotify || !pfnCreate) {
    Close();
    return FALSE;
  }
  pfnParam(m_pMovie, 0, 1, m_bParam, m_bLoop);
  pfnVideo(m_pMovie, m_bVideo);
  pfnNotify(m_pMovie, m_hNotify, m_uMessage, m_wWord, m_lWord);
  if (pfnCreate(m_pMovie, pParent) != 1) {
    Close();
    return FALSE;
  }
  m_strPath = strPath;
  m_nState = kPlaying;
  return TRUE;
}

void CMovBridgeApi::Close() {
  m_strPath.Empty();
  if (!m_pMovie) return;
  if (QtWndDestroyFn pfn = (QtWndDestroyFn)Bind("QtWndDestroy")) pfn(&m_pMovie);
  m_pMovie = NULL;  // a library without the export keeps nothing of ours alive
  if (m_bEnabled) m_nState = kIdle;
}

void CMovBridgeApi::CallMovie(LPCSTR pszName) {
  if (!IsOpen()) return;
  if (QtMovieFn pfn = (QtMovieFn)Bind(pszName)) pfn(m_pMovie);
}

void CMovBridgeApi::Play() {
  if (!IsOpen()) return;
  QtMoviePlayFn pfn = (QtMoviePlayFn)Bind("QtMoviePlay");
  if (!pfn) return;
  pfn(m_pMovie, m_bLoop);
  m_nState = kPlaying;
}

void CMovBridgeApi::Pause() {
  if (!IsOpen() || !Bind("QtMoviePause")) return;
  CallMovie("QtMoviePause");
  m_nState = kPaused;
}

void CMovBridgeApi::Stop() {
  if (!IsOpen() || !Bind("QtMovieStop")) return;
  CallMovie("QtMovieStop");
  m_nState = kStopped;
}

int CMovBridgeApi::GetState() {
  if (m_nState > kStopped && !IsPlayingNow()) m_nState = kStopped;
  return m_nState;
}

BOOL CMovBridgeApi::IsPlayingNow() {
  if (!IsOpen()) return FALSE;
  QtIsMoviePlayNowFn pfn = (QtIsMoviePlayNowFn)Bind("QtIsMoviePlayNow");
  return pfn && pfn(m_pMovie);
}

void CMovBridgeApi::SetWindowPos(int l, int t, int w, int h, BOOL bFlag) {
  if (!IsOpen()) return;
  if (QtWndPosFn pfn = (QtWndPosFn)Bind("QtWndPos")) pfn(m_pMovie, l, t, w, h, bFlag);
}

LONG CMovBridgeApi::GetDuration() {
  QtGetMovieTimeFn pfn = IsOpen() ? (QtGetMovieTimeFn)Bind("QtGetMovieDuration") : NULL;
  return pfn ? pfn(m_pMovie) : 0;
}

LONG CMovBridgeApi::GetCurrent() {
  QtGetMovieTimeFn pfn = IsOpen() ? (QtGetMovieTimeFn)Bind("QtGetMovieCurrent") : NULL;
  return pfn ? pfn(m_pMovie) : 0;
}

void CMovBridgeApi::SetCurrent(LONG ms) {
  if (!IsOpen()) return;
  if (QtSetMovieCurrentFn pfn = (QtSetMovieCurrentFn)Bind("QtSetMovieCurrent")) pfn(m_pMovie, ms);
}

void CMovBridgeApi::BeginFullScreen() { CallMovie("QtBeginFullScreen"); }
void CMovBridgeApi::EndFullScreen() { CallMovie("QtEndFullScreen"); }

BOOL CMovBridgeApi::IsFullScreen() {
  QtIsFullScreenFn pfn = IsOpen() ? (QtIsFullScreenFn)Bind("QtIsFullScreen") : NULL;
  return pfn && pfn(m_pMovie);
}

void CMovBridgeApi::GetVideoSize(int* pWidth, int* pHeight) {
  if (!IsOpen()) return;
  if (pWidth) *pWidth = 0;
  if (pHeight) *pHeight = 0;
  if (QtGetMovieVideoSizeFn pfn = (QtGetMovieVideoSizeFn)Bind("QtGetMovieVideoSize")) pfn(m_pMovie, pWidth, pHeight);
}

DWORD CMovBridgeApi::GetQuickTimeVersion() {
  QtGetQuickTimeVersionFn pfn = IsUsable() ? (QtGetQuickTimeVersionFn)Bind("QtGetQuickTimeVersion") : NULL;
  return pfn ? pfn() : 0;
}

BOOL CMovBridgeApi::IsBmpExporter() {
  QtIsBmpExporterFn pfn = IsUsable() ? (QtIsBmpExporterFn)Bind("QtIsBmpExporter") : NULL;
  return pfn && pfn();
}

HWND CMovBridgeApi::GetMovieWnd() const {
  if (!m_pMovie) return NULL;
  DWORD dw = 0;
  memcpy(&dw, static_cast<const BYTE*>(m_pMovie) + kQtMovieWindowOffset, sizeof(dw));
  return (HWND)(UINT_PTR)dw;
}
