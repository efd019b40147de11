// The bridge's exports on the movie kit's player. It initialises itself on first use (a
// caller that trusts a state left by a crashed run still finds it working), and finalising
// twice is harmless. The end of play, and a failure, post the caller's status message to its
// window through a small relay window of the library's.
#include "MovBridge.h"

#include <moviekit/moviekit.h>

#include <cstddef>
#include <new>
#include <string>

#define QTAPI extern "C" __declspec(dllexport)

namespace {

const UINT kPlayerNotice = WM_APP + 7;
const char kRelayClass[] = "MovBridgeRelay";
HMODULE g_hModule = NULL;
bool g_bInitialized = false;

struct Movie {
  DWORD dwSize;
  DWORD reserved[7];
  DWORD dwWindow;  // byte 32: the movie window's handle
  std::string path;
  RECT rc;
  BOOL bLoop, bVideo, bParam, bFull;
  HWND hNotify;
  UINT uMessage;
  WPARAM wWord;
  LPARAM lWord;
  HWND hRelay;
  moviekit::Player* player;
};
static_assert(offsetof(Movie, dwWindow) == kQtMovieWindowOffset, "the window's place in the record");

void EnsureInitialized() {
  if (g_bInitialized) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    Movie* movie = (Movie*)::GetWindowLongPtrA(h, GWLP_USERDATA);
    if (m == kPlayerNotice && movie && movie->hNotify && movie->uMessage)
      ::PostMessageA(movie->hNotify, movie->uMessage, movie->wWord, movie->lWord);
    return ::DefWindowProcA(h, m, w, l);
  };
  wc.hInstance = g_hModule;
  wc.lpszClassName = kRelayClass;
  ::RegisterClassA(&wc);
  g_bInitialized = true;
}

Movie* Of(void* p) {
  EnsureInitialized();
  return static_cast<Movie*>(p);
}

}  // namespace

QTAPI BOOL WINAPI QtInitialize() {
  EnsureInitialized();
  return TRUE;
}

QTAPI BOOL WINAPI QtFinalize() {
#ifdef MOVBRIDGE_FAILING_FINALIZE
  return FALSE;
#else
  g_bInitialized = false;
  return TRUE;
#endif
}

QTAPI BOOL WINAPI QtWndInit(CString path, int left, int top, int right, int bottom, void** ppMovie) {
  EnsureInitialized();
  if (!ppMovie) return FALSE;
  *ppMovie = NULL;
  moviekit::MovieFacts facts;
  if (path.IsEmpty() || FAILED(moviekit::ReadFacts(path, &facts)) || !facts.hasVideo) return FALSE;
  Movie* m = new (std::nothrow) Movie();
  if (!m) return FALSE;
  m->dwSize = sizeof(Movie);
  m->path = (LPCSTR)path;
  ::SetRect(&m->rc, left, top, right, bottom);
  m->bLoop = FALSE;
  m->bVideo = TRUE;
  m->bParam = TRUE;
  *ppMovie = m;
  return TRUE;
}

QTAPI void WINAPI QtSetParam(void* movie, int, int, BOOL bParam, BOOL bLoop) {
  if (Movie* m = Of(movie)) {
    m->bParam = bParam;
    m->bLoop = bLoop;
    if (m->player) m->player->SetLoop(bLoop != FALSE);
  }
}

QTAPI void WINAPI QtEnableVideo(void* movie, BOOL bVideo) {
  if (Movie* m = Of(movie)) {
    m->bVideo = bVideo;
    if (m->player && ::IsWindow(m->player->Window())) ::ShowWindow(m->player->Window(), bVideo ? SW_SHOWNA : SW_HIDE);
  }
}

QTAPI void WINAPI QtSetStatusNotifyMsg(void* movie, HWND hWnd, UINT message, WPARAM w, LPARAM l) {
  if (Movie* m = Of(movie)) {
    m->hNotify = hWnd;
    m->uMessage = message;
    m->wWord = w;
    m->lWord = l;
  }
}

QTAPI int WINAPI QtWndCreate(void* movie, CWnd* pParent) {
  Movie* m = Of(movie);
  if (!m || !pParent || !::IsWindow(pParent->GetSafeHwnd()) || m->player) return 0;
  moviekit::Player* p = NULL;
  if (FAILED(moviekit::CreatePlayer(&p)) || !p) return 0;
  if (FAILED(p->Open(m->path.c_str(), pParent->GetSafeHwnd(), m->rc))) {
    p->Release();
    return 0;
  }
  m->hRelay = ::CreateWindowExA(0, kRelayClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, g_hModule, NULL);
  if (m->hRelay) ::SetWindowLongPtrA(m->hRelay, GWLP_USERDATA, (LONG_PTR)m);
  p->SetNotify(m->hRelay, kPlayerNotice);
  p->SetLoop(m->bLoop != FALSE);
  m->player = p;
  m->dwWindow = (DWORD)(UINT_PTR)p->Window();  // window handles fit in 32 bits
  if (!m->bVideo) ::ShowWindow(p->Window(), SW_HIDE);
  p->Play();  // a new movie starts playing
  return 1;
}

QTAPI void WINAPI QtWndDestroy(void** ppMovie) {
  if (!ppMovie || !*ppMovie) return;
  Movie* m = static_cast<Movie*>(*ppMovie);
  if (m->player) {
    m->player->Close();
    m->player->Release();
  }
  if (m->hRelay) ::DestroyWindow(m->hRelay);
  delete m;
  *ppMovie = NULL;
}

QTAPI BOOL WINAPI QtIsMoviePlayNow(void* movie) {
  Movie* m = Of(movie);
  return m && m->player && m->player->Status().state == moviekit::PlayerState::Playing;
}

QTAPI void WINAPI QtWndPos(void* movie, int left, int top, int width, int height, BOOL) {
  Movie* m = Of(movie);
  if (!m) return;
  ::SetRect(&m->rc, left, top, left + width, top + height);
  if (m->player) m->player->SetRect(m->rc);
}

QTAPI void WINAPI QtMoviePlay(void* movie, BOOL bLoop) {
  Movie* m = Of(movie);
  if (!m || !m->player) return;
  m->bLoop = bLoop;
  m->player->SetLoop(bLoop != FALSE);
  m->player->Play();
}

QTAPI void WINAPI QtMoviePause(void* movie) {
  if (Movie* m = Of(movie))
    if (m->player) m->player->Pause();
}

QTAPI void WINAPI QtMovieStop(void* movie) {
  if (Movie* m = Of(movie))
    if (m->player) m->player->Stop();
}

QTAPI void WINAPI QtSetLoop(void* movie, BOOL bLoop) {
  if (Movie* m = Of(movie)) {
    m->bLoop = bLoop;
    if (m->player) m->player->SetLoop(bLoop != FALSE);
  }
}

QTAPI LONG WINAPI QtGetMovieDuration(void* movie) {
  Movie* m = Of(movie);
  return m && m->player ? LONG(m->player->Facts().durationSeconds * 1000.0 + 0.5) : 0;
}

QTAPI LONG WINAPI QtGetMovieCurrent(void* movie) {
  Movie* m = Of(movie);
  return m && m->player ? LONG(m->player->Status().positionSeconds * 1000.0 + 0.5) : 0;
}

QTAPI void WINAPI QtSetMovieCurrent(void* movie, LONG ms) {
  if (Movie* m = Of(movie))
    if (m->player) m->player->Seek(ms > 0 ? ms / 1000.0 : 0.0);
}

QTAPI void WINAPI QtBeginFullScreen(void* movie) {
  Movie* m = Of(movie);
  if (m && m->player && SUCCEEDED(m->player->SetFullScreen(true))) m->bFull = TRUE;
}

QTAPI void WINAPI QtEndFullScreen(void* movie) {
  Movie* m = Of(movie);
  if (m && m->player && SUCCEEDED(m->player->SetFullScreen(false))) m->bFull = FALSE;
}

QTAPI BOOL WINAPI QtIsFullScreen(void* movie) {
  Movie* m = Of(movie);
  return m && m->bFull;
}

#ifndef MOVBRIDGE_LACKING_EXPORT
QTAPI void WINAPI QtGetMovieVideoSize(void* movie, int* pWidth, int* pHeight) {
  Movie* m = Of(movie);
  if (!m || !m->player) return;
  if (pWidth) *pWidth = m->player->Facts().width;
  if (pHeight) *pHeight = m->player->Facts().height;
}
#endif

QTAPI DWORD WINAPI QtGetQuickTimeVersion() { return kQtBridgeVersion; }

QTAPI BOOL WINAPI QtIsBmpExporter() { return TRUE; }

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    g_hModule = hInstance;
    ::DisableThreadLibraryCalls(hInstance);
  } else if (dwReason == DLL_PROCESS_DETACH) {
    ::UnregisterClassA(kRelayClass, hInstance);
  }
  return TRUE;
}
