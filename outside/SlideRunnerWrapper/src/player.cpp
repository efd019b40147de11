// SlideRunnerWrapper.dll: the slide player. Draws the slides into the window it is given
// with GDI, driven by a timer of a hidden window of its own on the caller's thread: kind 0
// cuts at each slide's interval; kinds 1 to 4 are a fade through black, a cross-fade, a
// slide in from the right and a zoom into the slide's crop rectangle. Music plays in turn
// through the movie kit, as far as it plays the files.
#include <windows.h>

#include <SlidePlayer.h>
#include <imaging/decode.h>
#include <imaging/transform.h>
#include <moviekit/moviekit.h>

#include <string>
#include <vector>

#include "schedule.h"

namespace {

using sliderunner::ShowPoint;

const UINT kTickMs = 30;
const UINT kMusicEnd = WM_APP + 1;
const char kHelperClass[] = "SlideRunnerWrapperTimer";
HMODULE g_hModule = NULL;
LONG g_nObjects = 0;

std::string ToAnsi(const WCHAR* psz) {
  char sz[MAX_PATH * 2] = {};
  ::WideCharToMultiByte(CP_ACP, 0, psz, -1, sz, sizeof(sz) - 1, NULL, NULL);
  return sz;
}

class SlidePlayer final : public ISlidePlayer {
 public:
  SlidePlayer() { InterlockedIncrement(&g_nObjects); }
  ~SlidePlayer() {
    Close();
    InterlockedDecrement(&g_nObjects);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISlidePlayer)) {
      *ppv = static_cast<ISlidePlayer*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }

  HRESULT STDMETHODCALLTYPE Load(HWND hWnd, int nQuality, int nKind, const SlidePlayerRecord* pSlides, int nSlides,
                                 const SlidePlayerMusic* pMusic, int nMusic, int nRepeat) override {
    if (!::IsWindow(hWnd)) return E_HANDLE;
    if (!pSlides || nSlides <= 0 || nMusic < 0 || (nMusic > 0 && !pMusic)) return E_INVALIDARG;
    Close();
    target_ = hWnd;
    kind_ = nKind >= 1 && nKind <= 4 ? nKind : 0;
    quality_ = nQuality;
    repeat_ = nRepeat != 0;
    try {
      slides_.assign(pSlides, pSlides + nSlides);
      music_.clear();
      for (int i = 0; i < nMusic; ++i) music_.push_back(ToAnsi(pMusic[i].szPath));
      intervals_.assign(nSlides, 0);
      for (int i = 0; i < nSlides; ++i) intervals_[i] = pSlides[i].nInterval;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    helper_ = ::CreateWindowExA(0, kHelperClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, g_hModule, this);
    if (!helper_) return HRESULT_FROM_WIN32(::GetLastError());
    elapsedMs_ = 0;
    state_ = kSlideStateLoaded;
    cacheIndex_[0] = cacheIndex_[1] = -1;
    shown_ = ShowPoint();
    drawnSlide_ = -2;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Close() override {
    StopMusic();
    if (helper_) {
      ::KillTimer(helper_, 1);
      ::DestroyWindow(helper_);
      helper_ = NULL;
    }
    slides_.clear();
    music_.clear();
    for (imaging::Dib& d : cache_) d = imaging::Dib();
    cacheIndex_[0] = cacheIndex_[1] = -1;
    target_ = NULL;
    state_ = kSlideStateLoaded;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Play() override {
    if (!helper_ || slides_.empty()) return E_UNEXPECTED;
    if (state_ == kSlideStatePlaying) return S_OK;
    if (state_ == kSlideStateEnded) elapsedMs_ = 0;  // from the start again
    startTick_ = ::GetTickCount64() - elapsedMs_;
    state_ = kSlideStatePlaying;
    ::SetTimer(helper_, 1, kTickMs, NULL);
    StartMusic();
    Tick();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Pause() override { return Stop(); }

  HRESULT STDMETHODCALLTYPE Stop() override {
    if (!helper_) return E_UNEXPECTED;
    ::KillTimer(helper_, 1);
    if (state_ == kSlideStatePlaying) {
      elapsedMs_ = ::GetTickCount64() - startTick_;
      state_ = kSlideStateStopped;
    }
    StopMusic();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Redraw() override {
    if (!helper_) return E_UNEXPECTED;
    Draw(shown_);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetState(int* pnState) override {
    if (!pnState) return E_POINTER;
    *pnState = state_;
    return S_OK;
  }

  static LRESULT CALLBACK HelperProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTA*)lParam)->lpCreateParams);
      return TRUE;
    }
    SlidePlayer* self = (SlidePlayer*)::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    if (self && msg == WM_TIMER && wParam == 1) {
      self->Tick();
      return 0;
    }
    if (self && msg == kMusicEnd) {
      // Only the notice of the music playing now: one posted before a stop and a new start
      // would skip a file. An error notice (wParam) passes over the file too.
      if (lParam && (LPARAM)self->musicPlayer_ == lParam) self->NextMusic();
      return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
  }

 private:
  void Tick() {
    if (state_ != kSlideStatePlaying) return;
    const ShowPoint p = sliderunner::ShowAt(kind_, intervals_, repeat_, (long long)(::GetTickCount64() - startTick_));
    // A plain show draws only when its slide changes.
    const bool changed = p.slide != shown_.slide || p.previous != shown_.previous || p.progress != shown_.progress ||
                         (kind_ == 4 && p.along != shown_.along) ||
                         drawnSlide_ == -2;
    shown_ = p;
    if (changed) Draw(p);
    if (p.ended) {
      ::KillTimer(helper_, 1);
      state_ = kSlideStateEnded;
      StopMusic();
    }
  }

  // The slide's picture fitted to the window, upright; cached for the two slides in view.
  const imaging::Dib* Picture(int index, int cx, int cy) {
    if (index < 0 || index >= (int)slides_.size()) return NULL;
    for (int k = 0; k < 2; ++k)
      if (cacheIndex_[k] == index && cacheSize_.cx == cx && cacheSize_.cy == cy) return &cache_[k];
    if (cacheSize_.cx != cx || cacheSize_.cy != cy) cacheIndex_[0] = cacheIndex_[1] = -1;
    cacheSize_ = {cx, cy};
    const int k = cacheIndex_[0] == -1 ? 0 : (cacheIndex_[1] == -1 ? 1 : nextSlot_);
    nextSlot_ = 1 - k;
    const SlidePlayerRecord& r = slides_[index];
    imaging::DecodeOptions o;
    const bool turned = r.nOrientation >= 5 && r.nOrientation <= 8;
    // Zooming into the crop wants the picture at more than the screen's size.
    const int scale = kind_ == 4 ? 2 : 1;
    o.maxWidth = (turned ? cy : cx) * scale;
    o.maxHeight = (turned ? cx : cy) * scale;
    o.applyOrientation = false;  // the record says how it stands
    o.background = RGB(0, 0, 0);
    imaging::Dib stored;
    cacheIndex_[k] = index;
    cache_[k] = imaging::Dib();
    if (FAILED(imaging::DecodeFile(ToAnsi(r.szPath).c_str(), o, &stored))) return &cache_[k];  // empty: black
    if (r.nOrientation >= 2 && r.nOrientation <= 8)
      imaging::ApplyOrientation(stored, r.nOrientation, &cache_[k]);
    else
      cache_[k] = std::move(stored);
    return &cache_[k];
  }

  // Draws the picture of slide `index` into dc, in full (zoom t for kind 4), at an x offset.
  void DrawSlide(HDC dc, int index, int cx, int cy, double zoom, int dx) {
    const imaging::Dib* d = Picture(index, cx, cy);
    if (!d || d->Empty()) return;
    RECT src = {0, 0, d->Width(), d->Height()};
    if (kind_ == 4) {
      const SlidePlayerRecord& r = slides_[index];
      RECT crop = r.rcCrop;
      // The crop is in the upright picture's own pixels: bring it to the decoded size.
      if (r.nWidth > 0 && r.nHeight > 0) {
        const bool turned = r.nOrientation >= 5 && r.nOrientation <= 8;
        const int w = turned ? r.nHeight : r.nWidth, h = turned ? r.nWidth : r.nHeight;
        crop.left = LONG((long long)crop.left * d->Width() / w);
        crop.right = LONG((long long)crop.right * d->Width() / w);
        crop.top = LONG((long long)crop.top * d->Height() / h);
        crop.bottom = LONG((long long)crop.bottom * d->Height() / h);
      }
      src = sliderunner::ZoomSource(d->Width(), d->Height(), crop, zoom);
    }
    RECT dst = sliderunner::FitRect(src.right - src.left, src.bottom - src.top, cx, cy);
    ::OffsetRect(&dst, dx, 0);
    ::SetStretchBltMode(dc, quality_ > 0 ? HALFTONE : COLORONCOLOR);
    ::SetBrushOrgEx(dc, 0, 0, NULL);
    // DIB rows run bottom-up unless the block says otherwise.
    const int srcY = d->TopDown() ? src.top : d->Height() - src.bottom;
    ::StretchDIBits(dc, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, src.left, srcY,
                    src.right - src.left, src.bottom - src.top, d->Bits(), d->Info(), DIB_RGB_COLORS, SRCCOPY);
  }

  void Draw(const ShowPoint& p) {
    if (!::IsWindow(target_) || slides_.empty()) return;
    RECT rc;
    ::GetClientRect(target_, &rc);
    const int cx = rc.right, cy = rc.bottom;
    if (cx <= 0 || cy <= 0) return;
    HDC screen = ::GetDCEx(target_, NULL, DCX_CACHE | DCX_CLIPCHILDREN);
    if (!screen) return;
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::PatBlt(mem, 0, 0, cx, cy, BLACKNESS);
    const double t = p.progress;
    const bool inTransition = p.progress < 1.0;
    switch (kind_) {
      case 1:  // through black: out in the first half, in in the second
      case 2:  // cross-fade
        if (!inTransition) {
          DrawSlide(mem, p.slide, cx, cy, 1, 0);
        } else {
          double a = t;
          if (kind_ == 1) {
            const bool out = p.previous >= 0 && t < 0.5;
            if (out) DrawSlide(mem, p.previous, cx, cy, 1, 0);
            a = p.previous >= 0 ? (out ? 1 - 2 * t : 2 * t - 1) : t;
            if (!out) DrawSlide(mem, p.slide, cx, cy, 1, 0);
            Darken(mem, cx, cy, 1 - a);
          } else {
            if (p.previous >= 0) DrawSlide(mem, p.previous, cx, cy, 1, 0);
            BlendSlide(mem, screen, p.slide, cx, cy, a);
          }
        }
        break;
      case 3: {  // the new slide pushes in from the right
        const int shift = inTransition ? int(cx * (1 - t)) : 0;
        if (inTransition && p.previous >= 0) DrawSlide(mem, p.previous, cx, cy, 1, shift - cx);
        DrawSlide(mem, p.slide, cx, cy, 1, shift);
        break;
      }
      case 4:  // from the whole picture into its crop over the slide's time
        DrawSlide(mem, p.slide, cx, cy, p.along, 0);
        break;
      default: DrawSlide(mem, p.slide, cx, cy, 1, 0);
    }
    ::BitBlt(screen, 0, 0, cx, cy, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(target_, screen);
    drawnSlide_ = p.slide;
  }

  // Blends black over the whole picture: amount 0 leaves it, 1 is black.
  static void Darken(HDC dc, int cx, int cy, double amount) {
    if (amount <= 0) return;
    HDC black = ::CreateCompatibleDC(dc);
    HBITMAP b = ::CreateCompatibleBitmap(dc, 1, 1);
    HGDIOBJ old = ::SelectObject(black, b);
    ::PatBlt(black, 0, 0, 1, 1, BLACKNESS);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, BYTE(amount >= 1 ? 255 : amount * 255), 0};
    ::GdiAlphaBlend(dc, 0, 0, cx, cy, black, 0, 0, 1, 1, bf);
    ::SelectObject(black, old);
    ::DeleteObject(b);
    ::DeleteDC(black);
  }

  void BlendSlide(HDC dc, HDC like, int index, int cx, int cy, double a) {
    HDC layer = ::CreateCompatibleDC(like);
    HBITMAP b = ::CreateCompatibleBitmap(like, cx, cy);
    HGDIOBJ old = ::SelectObject(layer, b);
    ::PatBlt(layer, 0, 0, cx, cy, BLACKNESS);
    DrawSlide(layer, index, cx, cy, 1, 0);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, BYTE(a >= 1 ? 255 : a * 255), 0};
    ::GdiAlphaBlend(dc, 0, 0, cx, cy, layer, 0, 0, cx, cy, bf);
    ::SelectObject(layer, old);
    ::DeleteObject(b);
    ::DeleteDC(layer);
  }

  // Music: each file in turn through the movie kit; a file it cannot play is passed over.
  void StartMusic() {
    if (music_.empty() || musicPlayer_) return;
    for (size_t tried = 0; tried < music_.size(); ++tried) {
      if (OpenMusic(musicIndex_)) return;
      musicIndex_ = (musicIndex_ + 1) % music_.size();
    }
  }
  bool OpenMusic(size_t i) {
    moviekit::Player* p = NULL;
    if (FAILED(moviekit::CreatePlayer(&p)) || !p) return false;
    const RECT none = {0, 0, 0, 0};
    if (FAILED(p->Open(music_[i].c_str(), target_, none)) || FAILED(p->Play())) {
      p->Release();
      return false;
    }
    if (::IsWindow(p->Window())) {
      ::ShowWindow(p->Window(), SW_HIDE);
      // The hidden window names what plays (a spy, or a test, reads it).
      ::SetWindowTextA(p->Window(), music_[i].c_str());
    }
    p->SetNotify(helper_, kMusicEnd);
    musicPlayer_ = p;
    return true;
  }
  void NextMusic() {
    StopMusic();
    if (state_ != kSlideStatePlaying || music_.empty()) return;
    musicIndex_ = (musicIndex_ + 1) % music_.size();
    StartMusic();
  }
  void StopMusic() {
    if (!musicPlayer_) return;
    musicPlayer_->Close();
    musicPlayer_->Release();
    musicPlayer_ = NULL;
  }

  LONG refs_ = 1;
  HWND target_ = NULL;
  HWND helper_ = NULL;
  int kind_ = 0;
  int quality_ = 0;
  bool repeat_ = false;
  std::vector<SlidePlayerRecord> slides_;
  std::vector<int> intervals_;
  std::vector<std::string> music_;
  size_t musicIndex_ = 0;
  moviekit::Player* musicPlayer_ = NULL;
  int state_ = kSlideStateLoaded;
  ULONGLONG startTick_ = 0;
  ULONGLONG elapsedMs_ = 0;
  ShowPoint shown_;
  int drawnSlide_ = -2;
  imaging::Dib cache_[2];
  int cacheIndex_[2] = {-1, -1};
  SIZE cacheSize_ = {0, 0};
  int nextSlot_ = 0;
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllCreateInstance(REFCLSID clsid, REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  if (!IsEqualCLSID(clsid, CLSID_SlidePlayer)) return CLASS_E_CLASSNOTAVAILABLE;
  SlidePlayer* p = new (std::nothrow) SlidePlayer();
  if (!p) return E_OUTOFMEMORY;
  const HRESULT hr = p->QueryInterface(iid, ppv);
  p->Release();
  return hr;
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    g_hModule = hInstance;
    ::DisableThreadLibraryCalls(hInstance);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SlidePlayer::HelperProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kHelperClass;
    ::RegisterClassA(&wc);
  } else if (dwReason == DLL_PROCESS_DETACH) {
    ::UnregisterClassA(kHelperClass, hInstance);
  }
  return TRUE;
}
