// ScorePlayWrapper.dll: the AVCHD scene player on the movie kit. The content object says
// which stream to play; the player shows it in a child of the owner, over its play range.
#include <windows.h>

#include <ScenePlayer.h>
#include <moviekit/moviekit.h>

#include <new>
#include <string>

namespace {

std::string ToAnsi(const WCHAR* psz) {
  char sz[MAX_PATH * 2] = {};
  ::WideCharToMultiByte(CP_ACP, 0, psz, -1, sz, sizeof(sz) - 1, NULL, NULL);
  return sz;
}

class ScenePlayer : public IScenePlayer {
 public:
  ~ScenePlayer() { Close(); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = NULL;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IScenePlayer)) return E_NOINTERFACE;
    *ppv = static_cast<IScenePlayer*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }

  HRESULT STDMETHODCALLTYPE SetOwner(HWND hOwner) override {
    if (!::IsWindow(hOwner)) return E_HANDLE;
    owner_ = hOwner;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetRect(const RECT* pRect) override {
    useRect_ = pRect != NULL;
    if (pRect) rect_ = *pRect;
    if (player_) player_->SetRect(Area());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetParam(const DWORD* pParam) override {
    if (!pParam) return E_POINTER;
    if (pParam[0] != 1 || (pParam[1] != kSceneRendererHalftone && pParam[1] != kSceneRendererColorOnColor))
      return E_INVALIDARG;
    renderer_ = pParam[1];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetContent(IUnknown* pContent, int nEntries, const SCENEQUALITY* pEntries) override {
    if (!pContent || nEntries < 0 || (nEntries > 0 && !pEntries)) return E_POINTER;
    if (!::IsWindow(owner_)) return E_UNEXPECTED;
    IClipFactsScene* pScene = NULL;
    HRESULT hr = pContent->QueryInterface(IID_IClipFactsScene, (void**)&pScene);
    if (FAILED(hr) || !pScene) return FAILED(hr) ? hr : E_NOINTERFACE;
    WCHAR szStream[MAX_PATH] = {};
    hr = pScene->GetStreamPath(szStream, MAX_PATH);
    pScene->Release();
    if (FAILED(hr)) return hr;
    Close();
    moviekit::Player* p = NULL;
    hr = moviekit::CreatePlayer(&p);
    if (FAILED(hr)) return hr;
    hr = p->Open(ToAnsi(szStream).c_str(), owner_, Area());
    if (FAILED(hr)) {
      p->Release();
      state_ = kSceneFailed;
      return hr;
    }
    player_ = p;
    for (int i = 0; i < nEntries && i < 5; ++i) quality_[i] = pEntries[i];
    player_->Pause();  // the first picture, still
    state_ = kSceneStopped;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* pll) override {
    if (!pll) return E_POINTER;
    if (!player_) return E_UNEXPECTED;
    *pll = LONGLONG(player_->Facts().durationSeconds * 10000000.0);
    return *pll > 0 ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE SetRange(LONGLONG llStart, LONGLONG llStop) override {
    if (!player_) return E_UNEXPECTED;
    // A stop beyond the scene (the largest value) plays to the end of the stream.
    const LONGLONG duration = LONGLONG(player_->Facts().durationSeconds * 10000000.0);
    return player_->SetRange(llStart / 1e7, llStop >= duration ? 0.0 : llStop / 1e7);
  }
  HRESULT STDMETHODCALLTYPE Close() override {
    if (player_) {
      player_->Close();
      player_->Release();
      player_ = NULL;
    }
    state_ = kSceneNone;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Play() override { return Do(&moviekit::Player::Play); }
  HRESULT STDMETHODCALLTYPE Pause() override { return Do(&moviekit::Player::Pause); }
  HRESULT STDMETHODCALLTYPE Stop() override { return Do(&moviekit::Player::Stop); }
  HRESULT STDMETHODCALLTYPE Seek(LONGLONG ll) override {
    if (!player_) return E_UNEXPECTED;
    return player_->Seek(ll > 0 ? ll / 1e7 : 0.0);
  }
  HRESULT STDMETHODCALLTYPE Repaint() override {
    if (!player_) return E_UNEXPECTED;
    player_->Repaint();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPosition(LONGLONG* pll) override {
    if (!pll) return E_POINTER;
    if (!player_) return E_UNEXPECTED;
    *pll = LONGLONG(player_->Status().positionSeconds * 10000000.0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetState(int* pnState, int* pnSecond) override {
    if (!pnState) return E_POINTER;
    if (pnSecond) *pnSecond = 0;
    if (!player_) {
      *pnState = state_;
      return S_OK;
    }
    switch (player_->Status().state) {
      case moviekit::PlayerState::Playing: *pnState = kScenePlaying; break;
      case moviekit::PlayerState::Paused: *pnState = kScenePaused; break;
      case moviekit::PlayerState::Stopped: *pnState = kSceneStopped; break;
      case moviekit::PlayerState::Ended: *pnState = kSceneEnded; break;
      default: *pnState = kSceneNone;
    }
    return S_OK;
  }
  moviekit::Player* Kit() const { return player_; }

 private:
  RECT Area() const {
    RECT rc = rect_;
    if (!useRect_ && ::IsWindow(owner_)) ::GetClientRect(owner_, &rc);
    return rc;
  }
  HRESULT Do(HRESULT (moviekit::Player::*f)()) {
    if (!player_) return E_UNEXPECTED;
    return (player_->*f)();
  }

  LONG refs_ = 1;
  HWND owner_ = NULL;
  RECT rect_ = {};
  bool useRect_ = false;
  DWORD renderer_ = kSceneRendererColorOnColor;
  SCENEQUALITY quality_[5] = {};
  int state_ = kSceneNone;
  moviekit::Player* player_ = NULL;
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllCreateInstance(REFCLSID clsid, REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  if (!IsEqualCLSID(clsid, CLSID_ScenePlayer)) return CLASS_E_CLASSNOTAVAILABLE;
  ScenePlayer* p = new (std::nothrow) ScenePlayer();
  if (!p) return E_OUTOFMEMORY;
  const HRESULT hr = p->QueryInterface(iid, ppv);
  p->Release();
  return hr;
}
