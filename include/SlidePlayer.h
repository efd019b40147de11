// The slide player component (SlideRunnerWrapper.DLL beside the program): the browser's
// slide-show window loads it by path, makes the player with its export DllCreateInstance
// and hands it the pictures and music to show in the window.
#pragma once
#include <windows.h>
#include <unknwn.h>

// {2E6B8D41-F5A3-4C07-B9D2-8A1E63F0C57B}
static const GUID CLSID_SlidePlayer = {0x2E6B8D41, 0xF5A3, 0x4C07, {0xB9, 0xD2, 0x8A, 0x1E, 0x63, 0xF0, 0xC5, 0x7B}};
// {5A93C1E8-07D4-4B2F-86AE-C3F59D2B1E04}
static const GUID IID_ISlidePlayer = {0x5A93C1E8, 0x07D4, 0x4B2F, {0x86, 0xAE, 0xC3, 0xF5, 0x9D, 0x2B, 0x1E, 0x04}};

// One slide as the player takes it (552 bytes). The browser's slide record carries, after
// its two paths, the per-slide value of plain shows (the interval in ms, +520), the picture's
// width (+524) and height (+528), the crop rectangle (+532) and the orientation (+548).
#pragma pack(push, 4)
struct SlidePlayerRecord {
  LONG nWidth;
  LONG nHeight;
  LONG nOrientation;  // 1..8 as in Exif; 0 or out of range: upright
  RECT rcCrop;        // in the upright picture's pixels; empty: the whole picture
  WCHAR szPath[MAX_PATH];
  LONG nInterval;  // plain show (kind 0): ms this slide stays; 0: the player's own
};
#pragma pack(pop)
static_assert(sizeof(SlidePlayerRecord) == 552, "the player's record is 552 bytes");
struct SlidePlayerMusic {
  WCHAR szPath[MAX_PATH];
};

// The player's states (GetState).
enum { kSlideStateLoaded = 0, kSlideStateStopped = 1, kSlideStatePlaying = 2, kSlideStateEnded = 4 };

struct ISlidePlayer : public IUnknown {
  // Kind 0 cuts at each slide's interval; 1 to 4 are the player's effects. Quality 0 to 2.
  virtual HRESULT STDMETHODCALLTYPE Load(HWND hWnd, int nQuality, int nKind, const SlidePlayerRecord* pSlides,
                                         int nSlides, const SlidePlayerMusic* pMusic, int nMusic, int nRepeat) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual HRESULT STDMETHODCALLTYPE Play() = 0;
  virtual HRESULT STDMETHODCALLTYPE Pause() = 0;  // kept for the slot; the browser stops instead
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  virtual HRESULT STDMETHODCALLTYPE Redraw() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetState(int* pnState) = 0;
};

// The component library's one export.
typedef HRESULT(WINAPI* DllCreateInstanceFn)(REFCLSID clsid, REFIID iid, void** ppv);
