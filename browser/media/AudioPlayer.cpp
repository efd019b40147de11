#include "AudioPlayer.h"

#include <process.h>

#include "AudioPlayerRules.h"
#include "DShowPlayer.h"

namespace {
// The AAC filters, found by their class ids.
const CLSID kAacSplitter = {0x8B1F2D6C, 0x94E0, 0x4A37, {0xB5, 0xC8, 0xE0, 0x6A, 0x3F, 0x7D, 0x91, 0x52}};
const CLSID kAacDecoder = {0xD0C47A95, 0x2E6F, 0x4813, {0x9B, 0x7D, 0x46, 0xA1, 0xE8, 0xC5, 0xF2, 0xB3}};

template <class T>
void ReleaseOf(T*& p) {
  if (p) p->Release();
  p = NULL;
}

HRESULT CreateFilter(const CLSID& clsid, IBaseFilter** pp) {
  return CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter, reinterpret_cast<void**>(pp));
}

HRESULT LoadSource(IBaseFilter* pFilter, LPCWSTR pszPath) {
  IFileSourceFilter* pSource = NULL;
  HRESULT hr = pFilter->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(&pSource));
  if (FAILED(hr)) return hr;
  hr = pSource->Load(pszPath, NULL);
  pSource->Release();
  return hr;
}

HRESULT ConnectByName(IGraphBuilder* pGraph, IBaseFilter* pFrom, LPCWSTR pszOut, IBaseFilter* pTo, LPCWSTR pszIn) {
  IPin *pOut = NULL, *pIn = NULL;
  HRESULT hr = FindPinByName(pFrom, pszOut, PINDIR_OUTPUT, &pOut);
  if (SUCCEEDED(hr)) hr = FindPinByName(pTo, pszIn, PINDIR_INPUT, &pIn);
  if (SUCCEEDED(hr)) hr = pGraph->Connect(pOut, pIn);
  ReleaseOf(pOut);
  ReleaseOf(pIn);
  return hr;
}
}  // namespace

HRESULT FindPinByName(IBaseFilter* pFilter, LPCWSTR pszName, PIN_DIRECTION dir, IPin** ppPin) {
  if (!pFilter || !pszName || !ppPin) return E_POINTER;
  *ppPin = NULL;
  IEnumPins* pEnum = NULL;
  HRESULT hr = pFilter->EnumPins(&pEnum);
  if (FAILED(hr)) return hr;
  IPin* pPin = NULL;
  while (pEnum->Next(1, &pPin, NULL) == S_OK) {
    PIN_INFO info = {};
    if (SUCCEEDED(pPin->QueryPinInfo(&info))) {
      if (info.pFilter) info.pFilter->Release();
      if (info.dir == dir && lstrcmpW(info.achName, pszName) == 0) {
        *ppPin = pPin;
        break;
      }
    }
    pPin->Release();
  }
  pEnum->Release();
  return *ppPin ? S_OK : VFW_E_NOT_FOUND;
}

CAudioPlayer::CAudioPlayer()
    : m_pGraph(NULL),
      m_pControl(NULL),
      m_pEvents(NULL),
      m_pAudio(NULL),
      m_pSeeking(NULL),
      m_hThread(NULL),
      m_hStarted(NULL),
      m_bStopRequest(FALSE),
      m_bEnded(FALSE),
      m_nMode(0),
      m_bComInit(FALSE),
      m_nState(kAudioOpened) {
  m_wszPath[0] = 0;
}

CAudioPlayer::~CAudioPlayer() { Close(); }

HRESULT CAudioPlayer::Open(const char* pszPath, int nMode) {
  Close();
  m_bStopRequest = FALSE;
  m_bEnded = FALSE;
  m_nMode = nMode;
  m_strPath = pszPath ? pszPath : "";
  m_wszPath[0] = 0;
  MultiByteToWideChar(CP_ACP, 0, m_strPath, -1, m_wszPath, MAX_PATH);
  m_wszPath[MAX_PATH - 1] = 0;
  HRESULT hr = CoInitialize(NULL);
  if (FAILED(hr)) return hr;
  m_bComInit = hr == S_OK;
  hr = CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                        reinterpret_cast<void**>(&m_pGraph));
  if (FAILED(hr)) return hr;
  if (FAILED(hr = m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pControl)))) return hr;
  if (FAILED(hr = m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pEvents)))) return hr;
  if (FAILED(hr = m_pGraph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m_pAudio)))) return hr;
  if (FAILED(hr = m_pGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_pSeeking)))) return hr;
  IBaseFilter* pSound = AddSoundRenderer(m_pGraph);
  if (nMode == 1) {
    hr = RenderAac();
  } else {
    hr = m_pGraph->RenderFile(m_wszPath, NULL);
    if (FAILED(hr)) hr = RenderAsf();
  }
  DropSoundRendererIfUnused(m_pGraph, pSound);
  if (SUCCEEDED(hr)) m_nState = kAudioOpened;
  return hr;
}

HRESULT CAudioPlayer::RenderAac() {
  IBaseFilter *pSource = NULL, *pSplitter = NULL, *pDecoder = NULL;
  HRESULT hr = CreateFilter(CLSID_AsyncReader, &pSource);
  if (SUCCEEDED(hr)) hr = LoadSource(pSource, m_wszPath);
  if (SUCCEEDED(hr)) hr = CreateFilter(kAacSplitter, &pSplitter);
  if (SUCCEEDED(hr)) hr = CreateFilter(kAacDecoder, &pDecoder);
  if (SUCCEEDED(hr)) hr = m_pGraph->AddFilter(pSource, L"AsyncReader");
  if (SUCCEEDED(hr)) hr = m_pGraph->AddFilter(pSplitter, L"KTAACSplitterFilter");
  if (SUCCEEDED(hr)) hr = m_pGraph->AddFilter(pDecoder, L"KTAACDecoderFilter");
  if (SUCCEEDED(hr)) hr = ConnectByName(m_pGraph, pSource, L"Output", pSplitter, L"Input");
  if (SUCCEEDED(hr)) hr = ConnectByName(m_pGraph, pSplitter, L"Output", pDecoder, L"XForm In");
  if (SUCCEEDED(hr)) {
    IPin* pOut = NULL;
    hr = FindPinByName(pDecoder, L"XForm Out", PINDIR_OUTPUT, &pOut);
    if (SUCCEEDED(hr)) hr = m_pGraph->Render(pOut);
    ReleaseOf(pOut);
  }
  ReleaseOf(pSource);
  ReleaseOf(pSplitter);
  ReleaseOf(pDecoder);
  return hr;
}

HRESULT CAudioPlayer::RenderAsf() {
  IBaseFilter* pReader = NULL;
  HRESULT hr = CreateFilter(CLSID_WMAsfReader, &pReader);
  if (SUCCEEDED(hr)) hr = LoadSource(pReader, m_wszPath);
  if (SUCCEEDED(hr)) hr = m_pGraph->AddFilter(pReader, L"WMAsfReader");
  if (SUCCEEDED(hr)) {
    IPin* pOut = NULL;
    hr = FindPinByName(pReader, L"Raw Audio 0", PINDIR_OUTPUT, &pOut);
    if (SUCCEEDED(hr)) hr = m_pGraph->Render(pOut);
    ReleaseOf(pOut);
  }
  ReleaseOf(pReader);
  return hr;
}

unsigned __stdcall CAudioPlayer::CompletionThread(void* pParam) {
  CAudioPlayer* p = static_cast<CAudioPlayer*>(pParam);
  SetEvent(p->m_hStarted);
  for (;;) {
    long code = 0;
    const HRESULT hr = p->m_pEvents->WaitForCompletion(1000, &code);
    const AudioWaitStep step = AudioCompletionStep(hr, p->m_bStopRequest != FALSE);
    if (step == kAudioWaitFinished) {
      p->m_bEnded = TRUE;
      p->m_nState = kAudioFinished;
    }
    if (step != kAudioWaitAgain) break;
  }
  _endthreadex(0);
  return 0;
}

HRESULT CAudioPlayer::Play() {
  if (!m_pControl) return E_NOINTERFACE;
  if (!m_pEvents) return E_NOINTERFACE;
  if (m_bEnded) {
    // Wine's graph answers every wait after its first end at once: a graph that has ended
    // is built again and plays on from where it was put.
    LONGLONG llPos = 0;
    m_pSeeking->GetCurrentPosition(&llPos);
    const CString strPath = m_strPath;
    HRESULT hr = Open(strPath, m_nMode);
    if (FAILED(hr)) return hr;
    LONGLONG llDuration = 0;
    if (SUCCEEDED(m_pSeeking->GetDuration(&llDuration)) && llPos > llDuration) llPos = llDuration;
    if (llPos > 0) m_pSeeking->SetPositions(&llPos, AM_SEEKING_AbsolutePositioning, NULL, AM_SEEKING_NoPositioning);
  }
  HRESULT hr = m_pControl->Run();
  if (FAILED(hr)) return hr;
  m_nState = kAudioRunning;
  EndCompletionThread();  // a second Play: the first thread ends before a new one waits
  if (m_hStarted) CloseHandle(m_hStarted);
  m_hStarted = CreateEventA(NULL, TRUE, FALSE, NULL);
  m_hThread = reinterpret_cast<HANDLE>(_beginthreadex(NULL, 0, CompletionThread, this, 0, NULL));
  if (!m_hThread) {
    CloseHandle(m_hStarted);
    m_hStarted = NULL;
    return E_FAIL;
  }
  WaitForSingleObject(m_hStarted, INFINITE);
  return hr;
}

// Once asked, the thread ends at its next wait result (at most a second).
void CAudioPlayer::EndCompletionThread() {
  if (!m_hThread) return;
  InterlockedExchange(&m_bStopRequest, TRUE);
  WaitForSingleObject(m_hThread, INFINITE);
  CloseHandle(m_hThread);
  m_hThread = NULL;
  InterlockedExchange(&m_bStopRequest, FALSE);
}

HRESULT CAudioPlayer::Stop() {
  if (!m_pControl) return E_NOINTERFACE;
  HRESULT hr = m_pControl->Stop();
  if (FAILED(hr)) return hr;
  EndCompletionThread();
  if (m_hStarted) CloseHandle(m_hStarted);
  m_hStarted = NULL;
  m_nState = kAudioStopped;
  return hr;
}

HRESULT CAudioPlayer::Close() {
  Stop();
  // A Stop the graph refused leaves the completion thread waiting on the events: it ends
  // before the interfaces it uses go.
  EndCompletionThread();
  ReleaseOf(m_pGraph);
  ReleaseOf(m_pControl);
  ReleaseOf(m_pEvents);
  ReleaseOf(m_pAudio);
  ReleaseOf(m_pSeeking);
  if (m_bComInit) CoUninitialize();
  m_bComInit = FALSE;
  return S_OK;
}

HRESULT CAudioPlayer::SetVolume(long lVolume) { return m_pAudio ? m_pAudio->put_Volume(lVolume) : E_FAIL; }

HRESULT CAudioPlayer::SetPosition(double dSeconds) {
  if (!m_pControl || !m_pSeeking) return E_NOINTERFACE;
  OAFilterState state = State_Stopped;
  if (m_pControl->GetState(100, &state) == VFW_S_STATE_INTERMEDIATE) state = State_Paused;
  LONGLONG llPos = LONGLONG(dSeconds * 1e7 + 0.5);
  return SeekGraphStopped(m_pControl, m_pSeeking, &llPos, FILTER_STATE(state));
}

namespace {
// A time of the graph (position or duration) in seconds; 0 when it can't be read.
HRESULT SecondsOf(IMediaSeeking* pSeeking, HRESULT (STDMETHODCALLTYPE IMediaSeeking::*read)(LONGLONG*),
                  double* pdSeconds) {
  if (!pdSeconds) return E_POINTER;
  *pdSeconds = 0;
  if (!pSeeking) return E_NOINTERFACE;
  LONGLONG llTime = 0;
  const HRESULT hr = (pSeeking->*read)(&llTime);
  if (SUCCEEDED(hr)) *pdSeconds = llTime / 1e7;
  return hr;
}
}  // namespace

HRESULT CAudioPlayer::GetPosition(double* pdSeconds) const {
  return SecondsOf(m_pSeeking, &IMediaSeeking::GetCurrentPosition, pdSeconds);
}

HRESULT CAudioPlayer::GetDuration(double* pdSeconds) const {
  return SecondsOf(m_pSeeking, &IMediaSeeking::GetDuration, pdSeconds);
}
