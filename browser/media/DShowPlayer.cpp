#include "DShowPlayer.h"

#include "DShowRenderRules.h"
#include "MovieCtrlRules.h"

// The MPEG-4 decoder the camera's .asf movies need before the graph finds its own.
static const CLSID kAsfDecoder = {0x75838A0D, 0xB431, 0x4C31, {0x94, 0x87, 0xC5, 0xA9, 0x6D, 0xD3, 0x9E, 0xF4}};

CDShowPlayer::CDShowPlayer() : m_pEvent(NULL), m_pGraph(NULL), m_nState(0) {}
CDShowPlayer::~CDShowPlayer() {
  if (m_pEvent) m_pEvent->Release();
  if (m_pGraph) m_pGraph->Release();
}

template <class I>
HRESULT CDShowPlayer::Query(const IID& iid, I** pp) const {
  *pp = NULL;
  if (!m_pGraph) return E_FAIL;
  return m_pGraph->QueryInterface(iid, reinterpret_cast<void**>(pp));
}

HRESULT CDShowPlayer::CreateGraph() {
  if (!m_pGraph) {
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(&m_pGraph));
    if (FAILED(hr)) {
      if (m_pGraph) m_pGraph->Release();
      m_pGraph = NULL;
      Sleep(100);
      return hr;
    }
  }
  if (m_pEvent) return S_OK;
  HRESULT hr = m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pEvent));
  if (FAILED(hr)) {
    if (m_pEvent) m_pEvent->Release();
    m_pEvent = NULL;
    m_pGraph->Release();
    m_pGraph = NULL;
    Sleep(100);
    return hr;
  }
  m_nState = 0;
  return S_OK;
}

HRESULT CDShowPlayer::DestroyGraph() {
  if (!m_pGraph) return S_OK;
  if (m_nState != 0) {
    IMediaControl* pControl;
    if (SUCCEEDED(Query(IID_IMediaControl, &pControl))) {
      pControl->Stop();
      pControl->Release();
    }
    m_nState = 0;
  }
  IVideoWindow* pWindow;
  HRESULT hr = Query(IID_IVideoWindow, &pWindow);
  if (SUCCEEDED(hr)) {
    pWindow->put_Visible(OAFALSE);
    hr = pWindow->put_Owner(0);
    pWindow->Release();
  }
  if (m_pEvent) m_pEvent->Release();
  m_pEvent = NULL;
  m_pGraph->Release();
  m_pGraph = NULL;
  Sleep(100);
  return hr;
}

IBaseFilter* AddSoundRenderer(IGraphBuilder* pGraph) {
  IBaseFilter* pRenderer = NULL;
  if (FAILED(CoCreateInstance(CLSID_DSoundRender, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                              reinterpret_cast<void**>(&pRenderer))))
    return NULL;
  if (FAILED(pGraph->AddFilter(pRenderer, L"Default DirectSound Device"))) {
    pRenderer->Release();
    return NULL;
  }
  return pRenderer;
}

void DropSoundRendererIfUnused(IGraphBuilder* pGraph, IBaseFilter* pRenderer) {
  if (!pRenderer) return;
  bool bUsed = false;
  IEnumPins* pPins = NULL;
  if (SUCCEEDED(pRenderer->EnumPins(&pPins))) {
    IPin* pPin = NULL;
    while (!bUsed && pPins->Next(1, &pPin, NULL) == S_OK) {
      IPin* pPeer = NULL;
      if (SUCCEEDED(pPin->ConnectedTo(&pPeer)) && pPeer) {
        bUsed = true;
        pPeer->Release();
      }
      pPin->Release();
    }
    pPins->Release();
  }
  if (!bUsed) pGraph->RemoveFilter(pRenderer);
  pRenderer->Release();
}

HRESULT CDShowPlayer::RenderFile(const char* pszPath) {
  if (!m_pGraph) return E_FAIL;
  if (!pszPath) return E_POINTER;
  if (!*pszPath) return E_FAIL;
  WCHAR wszPath[MAX_PATH] = {};
  if (!MultiByteToWideChar(CP_ACP, 0, pszPath, -1, wszPath, MAX_PATH)) return E_FAIL;
  if (IsAsfPath(pszPath)) {
    IBaseFilter* pDecoder = NULL;
    if (SUCCEEDED(CoCreateInstance(kAsfDecoder, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(&pDecoder)))) {
      m_pGraph->AddFilter(pDecoder, L"Microsoft MPEG-4 Video Decompressor (S)");
      pDecoder->Release();
    }
  }
  // First with the Video Renderer in the graph, not the VMR-9: Wine's VMR-9 presents through
  // Direct3D, that is OpenGL, whose pictures do not reach a child window on an X server like
  // Xvfb, and the movie played with its sound and a moving slider over a blank window. The
  // Video Renderer draws with GDI. When that fails, with the graph's own choice.
  return RenderWithFallback(
      m_pGraph,
      [&](IGraphBuilder* pGraph) {
        IBaseFilter* pRenderer = NULL;
        HRESULT hr = CoCreateInstance(CLSID_VideoRenderer, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                      reinterpret_cast<void**>(&pRenderer));
        if (FAILED(hr)) return hr;
        hr = pGraph->AddFilter(pRenderer, L"Video Renderer");
        IBaseFilter* pSound = AddSoundRenderer(pGraph);
        if (SUCCEEDED(hr)) hr = pGraph->RenderFile(wszPath, NULL);
        DropSoundRendererIfUnused(pGraph, pSound);
        pRenderer->Release();
        return hr;
      },
      [&](IGraphBuilder* pGraph) {
        IBaseFilter* pSound = AddSoundRenderer(pGraph);
        const HRESULT hr = pGraph->RenderFile(wszPath, NULL);
        DropSoundRendererIfUnused(pGraph, pSound);
        return hr;
      });
}

// Asks the graph for one interface, calls f with it and lets it go.
template <class I, class F>
HRESULT CDShowPlayer::Use(const IID& iid, F f) const {
  I* p;
  HRESULT hr = Query(iid, &p);
  if (FAILED(hr)) return hr;
  hr = f(p);
  p->Release();
  return hr;
}

// The state follows the command once the graph could be asked, whatever the command answers.
HRESULT CDShowPlayer::Run() {
  return Use<IMediaControl>(IID_IMediaControl, [this](IMediaControl* p) {
    m_nState = 2;
    return p->Run();
  });
}

HRESULT CDShowPlayer::Pause() {
  return Use<IMediaControl>(IID_IMediaControl, [this](IMediaControl* p) {
    m_nState = 1;
    return p->Pause();
  });
}

HRESULT CDShowPlayer::Stop() {
  IMediaControl* p;
  HRESULT hr = Query(IID_IMediaControl, &p);
  if (FAILED(hr)) return hr;
  p->Stop();
  p->Release();
  m_nState = 0;
  IMediaSeeking* pSeek;
  hr = Query(IID_IMediaSeeking, &pSeek);
  if (FAILED(hr)) return hr;
  LONGLONG zero = 0;
  pSeek->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, NULL, AM_SEEKING_NoPositioning);
  pSeek->Release();
  return hr;
}

HRESULT CDShowPlayer::SetOwner(HWND hOwner, long lStyle) {
  IVideoWindow* p;
  HRESULT hr = Query(IID_IVideoWindow, &p);
  if (FAILED(hr)) return hr;
  hr = p->put_Owner(reinterpret_cast<OAHWND>(hOwner));
  if (lStyle) hr = p->put_WindowStyle(lStyle);
  p->Release();
  return hr;
}

HRESULT CDShowPlayer::SetMessageDrain(HWND hDrain) {
  return Use<IVideoWindow>(IID_IVideoWindow,
                           [&](IVideoWindow* p) { return p->put_MessageDrain(reinterpret_cast<OAHWND>(hDrain)); });
}

HRESULT CDShowPlayer::SetWindowPosition(long l, long t, long r, long b) {
  IVideoWindow* p;
  HRESULT hr = Query(IID_IVideoWindow, &p);
  if (FAILED(hr)) return hr;
  hr = p->SetWindowPosition(l, t, r - l, b - t);
  p->Release();
  IBasicVideo* pVideo;
  HRESULT hr2 = Query(IID_IBasicVideo, &pVideo);
  if (FAILED(hr2)) return hr2;
  pVideo->SetDestinationPosition(0, 0, r - l, b - t);
  pVideo->Release();
  return hr;
}

HRESULT CDShowPlayer::SetForeground() {
  return Use<IVideoWindow>(IID_IVideoWindow, [](IVideoWindow* p) { return p->SetWindowForeground(OATRUE); });
}

HRESULT CDShowPlayer::GetVideoSize(long* pWidth, long* pHeight) {
  if (pWidth) *pWidth = 0;
  if (pHeight) *pHeight = 0;
  IBasicVideo* p;
  HRESULT hr = Query(IID_IBasicVideo, &p);
  if (FAILED(hr)) return hr;
  long w = 0, h = 0;
  hr = p->GetVideoSize(&w, &h);
  p->Release();
  if (FAILED(hr)) w = h = 0;
  if (pWidth) *pWidth = w;
  if (pHeight) *pHeight = h;
  return hr;
}

HRESULT CDShowPlayer::SetTimeFormat(GUID format) {
  return Use<IMediaSeeking>(IID_IMediaSeeking, [&](IMediaSeeking* p) { return p->SetTimeFormat(&format); });
}

HRESULT CDShowPlayer::GetDuration(LONGLONG* pDuration) {
  if (!pDuration) return E_POINTER;
  *pDuration = 0;
  IMediaSeeking* p;
  HRESULT hr = Query(IID_IMediaSeeking, &p);
  if (FAILED(hr)) return hr;
  hr = p->GetDuration(pDuration);
  p->Release();
  return hr;
}

HRESULT CDShowPlayer::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
  return Use<IMediaSeeking>(IID_IMediaSeeking, [&](IMediaSeeking* p) { return p->GetPositions(pCurrent, pStop); });
}

HRESULT SeekGraphStopped(IMediaControl* pControl, IMediaSeeking* pSeeking, LONGLONG* pPosition, FILTER_STATE resume) {
  if (!pControl || !pSeeking) return E_NOINTERFACE;
  if (resume != State_Stopped) pControl->Stop();
  const HRESULT hr = pSeeking->SetPositions(pPosition, AM_SEEKING_AbsolutePositioning, NULL, AM_SEEKING_NoPositioning);
  if (resume == State_Paused) pControl->Pause();
  if (resume == State_Running) pControl->Run();
  return hr;
}

HRESULT CDShowPlayer::SetCurrentPosition(LONGLONG* pPosition) {
  IMediaControl* pControl;
  HRESULT hr = Query(IID_IMediaControl, &pControl);
  if (FAILED(hr)) return hr;
  static const FILTER_STATE kStates[] = {State_Stopped, State_Paused, State_Running};
  hr = Use<IMediaSeeking>(IID_IMediaSeeking, [&](IMediaSeeking* p) {
    return SeekGraphStopped(pControl, p, pPosition, kStates[m_nState]);
  });
  pControl->Release();
  return hr;
}

HRESULT CDShowPlayer::SetFullScreen(BOOL bFull) {
  return Use<IVideoWindow>(IID_IVideoWindow,
                           [&](IVideoWindow* p) { return p->put_FullScreenMode(bFull ? OATRUE : OAFALSE); });
}

HRESULT CDShowPlayer::IsFullScreen(BOOL* pFull) {
  if (!pFull) return E_POINTER;
  IVideoWindow* p;
  HRESULT hr = Query(IID_IVideoWindow, &p);
  if (FAILED(hr)) return hr;
  long mode = OAFALSE;
  hr = p->get_FullScreenMode(&mode);
  p->Release();
  *pFull = mode != OAFALSE;
  return hr;
}
